#pragma once
// HIDUsb: the device library's C API. Plain exported functions with 8-bit path texts, one-byte bools
// and function-pointer callbacks; no initialisation call. Behind it run simulated receivers and mice
// (see HidSimControl.h for the test control interface and README "Simulated devices").
//
// Threads:
// - Data, pairing and upgrade-status callbacks run on the library's delivery thread, never on the
//   caller's thread. A request made anywhere (also inside a callback) is answered later from there.
// - Hot-plug callbacks run on the thread that called StartUsbChanged: once inside StartUsbChanged
//   before it returns, then on every arrival or removal (queued to that thread's event loop).
// - No library lock is held while a callback runs; every call may be made from inside a callback,
//   from any thread, also while the delivery thread waits for another thread.
// - UsbServerC_Start and UsbServer_Exit never wait for the delivery thread.
// - Path lists returned by the finding calls stay valid until the next enumeration of the same kind
//   on the same thread; the path texts themselves stay valid for the life of the process.

#ifdef __cplusplus
#include <cstdint>
#else
#include <stdbool.h>
#include <stdint.h>
#endif

#if defined(HIDUSB_BUILD)
#define HIDUSB_API __attribute__((visibility("default")))
#else
#define HIDUSB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Records defined by the program (src/device): the settings image and two reply records.
struct FlashDataMap;       // 10,460 bytes
struct BatteryStatus;      // 4 bytes: level in percent, charging flag, two unused bytes
struct StatusChangeFlags;  // 7 bytes: one byte per changed item

#pragma pack(push, 1)

// Identification of a device: low byte CID, high byte MID; type 0 1K, 1 4K, 4 2K, 5 8K receiver,
// any other value the mouse on its cable.
typedef struct UsbDeviceInfo {
    uint16_t CidMidWord;
    uint8_t Type;
} UsbDeviceInfo;

// Layout of the HID attribute record; the program reads only VersionWord.
typedef struct UsbDeviceAttribute {
    uint32_t Size;
    uint16_t VendorId;
    uint16_t ProductId;
    uint16_t VersionWord;  // major in the high byte, minor in the low byte
    uint16_t Unused;
} UsbDeviceAttribute;

// Link reply: byte 6 is 1 when the device (for a receiver: its mouse) answers; bytes 7..9 the
// receiver id (for a mouse on its cable: the id of the receiver it is paired with).
typedef struct UsbAddressReply {
    uint8_t ReportId;      // 0x07
    uint8_t LinkQuality;   // 0..100, 0 when offline
    uint8_t Channel;
    uint8_t Reserved[3];
    uint8_t Online;
    uint8_t ReceiverId[3];
} UsbAddressReply;

#pragma pack(pop)

// Hot-plug callback: something arrived or left.
typedef void (*UsbChangedCallback)(void);
// Data callback of a connection: header (byte 1 kind, bytes 3 and 4 sub-kinds) and payload.
typedef void (*UsbDataCallback)(const unsigned char* header, int headerLength, const unsigned char* payload,
                                int payloadLength);
// Upgrade status: 3 bytes; byte 0 = 7; byte 1 = 1 progress (byte 2 percent) or 2 finished
// (byte 2 = 1 success, else failure).
typedef void (*UpgradeStatusCallback)(const unsigned char* status);

// Message kinds delivered to UsbDataCallback (header byte 1).
enum {
    HIDUSB_MSG_BATTERY = 4,
    HIDUSB_MSG_PAIR_STATUS = 6,
    HIDUSB_MSG_DATA = 8,
    HIDUSB_MSG_CLEAR_DONE = 9,
    HIDUSB_MSG_STATUS_CHANGED = 10,
    HIDUSB_MSG_CONFIG = 14,
    HIDUSB_MSG_VERSION = 18,
    HIDUSB_MSG_DONGLE_RGB = 21,
    HIDUSB_MSG_LONG_RANGE = 23
};
enum { HIDUSB_HEADER_LENGTH = 5, HIDUSB_FLASH_SIZE = 6912, HIDUSB_FIRMWARE_HEADER_SIZE = 728 };

// ---- Finding ----
// Paths of the devices with this vendor and product id text (hexadecimal, e.g. "3A1B", "6008");
// *count is set to the number of paths in the returned list (0: the list may be null).
HIDUSB_API const char** UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count);
// The same; interfaceId and deviceId select the HID interface (the simulated devices have one).
HIDUSB_API const char** UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid, int interfaceId,
                                                             int deviceId, int* count);
// Fills the attribute record; false (record untouched) for an unknown path.
HIDUSB_API bool UsbFinderC_GetUsbDeviceAttribute(const char* path, UsbDeviceAttribute* attribute);
// The device's identification; zeros when it does not answer. flags: 0.
HIDUSB_API UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path, int flags);
// True while the device (for a receiver: the mouse behind it) answers.
HIDUSB_API bool UsbFinderC_GetDeviceOnLine(const char* path);
// Fills the link reply (also when offline); false for an unknown path (reply zeroed).
HIDUSB_API bool UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, UsbAddressReply* reply);
// Firmware version word of the mouse at path (through its receiver or on its cable); 0 when offline.
HIDUSB_API uint16_t UsbFinderC_GetVersion(const char* path);
// Firmware version word of the receiver at path; false when path names no receiver in normal mode.
HIDUSB_API bool UsbFinderC_GetSlaveVersion(const char* path, int* version);

// ---- Hot-plug ----
HIDUSB_API void StartUsbChanged(UsbChangedCallback callback, int intervalMs);
HIDUSB_API void StopUsbChanged(void);

// ---- Connection ----
// Binds callback to the device at path (the second path is accepted for compatibility and may be the
// same), replacing an earlier connection and callback. False when path names no device.
HIDUSB_API bool UsbServerC_Start(const char* path, const char* interfacePath, UsbDataCallback callback);
HIDUSB_API void UsbServer_Exit(void);
HIDUSB_API bool UsbServer_SetPCDriverStatus(unsigned char status);

// ---- Read requests on the current connection; answered later through the data callback ----
// Each returns true when the request was sent (a connection exists); an offline mouse never answers.
HIDUSB_API bool UsbServer_ReadAllFlashData(void);     // kind 8, sub 0/0, 6912 bytes
HIDUSB_API bool UsbServer_ReadReportRate(void);       // kind 8, sub 0/0, 1 byte
HIDUSB_API bool UsbServer_ReadCurrentDPI(void);       // kind 8, sub 0/4, 1 byte
HIDUSB_API bool UsbServer_ReadDPILed(void);           // kind 8, sub 0/0x4C, 8 bytes
HIDUSB_API bool UsbServer_ReadLedBar(void);           // kind 8, sub 0/0xA0, 9 bytes
HIDUSB_API bool UsbServer_ReadBatteryLevel(void);     // kind 4, 4 bytes
HIDUSB_API bool UsbServer_ReadConfig(void);           // kind 14, 1 byte
HIDUSB_API bool UsbServer_ReadVersion(void);          // kind 18, 2 bytes
HIDUSB_API bool UsbServer_ReadDonglePairStatus(void); // kind 6, 1 byte (0 idle, 1 pairing, 2 failed, 3 paired)

// ---- Record conversion ----
// Fills the image from a 6912-byte flash dump; false (image untouched) when the dump is not valid.
HIDUSB_API bool ProtocolDataParser(const unsigned char* flashDump, struct FlashDataMap* image);
// Hands the whole image to the device of the current connection. False, with a diagnostic and the
// flash left as it was, when there is no answering device or the image cannot fit the flash.
HIDUSB_API bool ProtocolDataUpdate(const struct FlashDataMap* image);
// Converts the 8-byte DPI-light report into image bytes 96..99 (4 bytes).
HIDUSB_API bool BufferToDPILed(const unsigned char* payload, int payloadLength, unsigned char* dpiLed);
// Converts the 9-byte light-bar report into image bytes 100..106 (7 bytes).
HIDUSB_API bool BufferToLedBar(const unsigned char* payload, int payloadLength, unsigned char* ledBar);
// Converts a battery report (kind 4) into the battery record.
HIDUSB_API bool GetDeviceBatteryStatus(const unsigned char* payload, int payloadLength, struct BatteryStatus* status);
// Converts a status-change report (kind 10) into the 7 flag bytes.
HIDUSB_API bool GetDeviceStatusChanged(const unsigned char* payload, int payloadLength, struct StatusChangeFlags* flags);

// ---- Settings (current connection unless a path is given) ----
HIDUSB_API bool UsbServer_SetCurrentConfig(unsigned char index);
HIDUSB_API bool UsbServer_SetBatteryOptimizeEnable(bool enable);
// Restores the mouse's factory settings, then sends kind 9.
HIDUSB_API bool UsbServer_SetClearSetting(void);
// Puts the receiver into pairing mode for mice of this CID; kind 6 messages report the progress.
HIDUSB_API bool UsbServer_EnterDonglePairOnlyCid(unsigned char cid);
HIDUSB_API bool UsbFinderC_SetLongRangeMode(const char* path, bool on);
// Writes 0 or 1 into *reply; leaves it untouched (the caller's 0x73) where there is no answer.
HIDUSB_API bool UsbFinderC_GetLongRangeMode(const char* path, unsigned char* reply);

// ---- Receiver lights: false and the record untouched where the receiver does not answer ----
HIDUSB_API bool UsbFinderC_Get4KDongleRGBValue(const char* path, unsigned char* record10);
HIDUSB_API bool UsbFinderC_Set4KDongleRGB(const char* path, const unsigned char* record10);
HIDUSB_API bool UsbFinderC_GetDongleRGBBarMode(const char* path, unsigned char* record7);
HIDUSB_API bool UsbFinderC_SetDongleRGBBarMode(const char* path, const unsigned char* record7);
HIDUSB_API bool UsbFinderC_GetDongleIndicatorLed(const char* path, unsigned char* record3);
HIDUSB_API bool UsbFinderC_SetDongleIndicatorLed(const char* path, const unsigned char* record3);

// ---- Firmware ----
// Sets *count (always) to the number of devices in boot mode that the image fits.
HIDUSB_API bool UsbUpgradeC_FindBootDevices(const unsigned char* image, int* count);
// Checks the image, takes what it needs of it and returns at once; progress and the final status
// arrive through callback on the library thread. False (no status follows) for a wrong image or
// when not exactly one device fits it. timeoutMs is accepted for compatibility.
HIDUSB_API bool UsbUpgrade_Start(const unsigned char* image, UpgradeStatusCallback callback, int timeoutMs);
// Writes the receiver id (3 bytes) into the mouse on its cable at path: the mouse is then paired with
// that receiver.
HIDUSB_API bool UsbFinderC_SetDongleIDToMouse(const char* path, const unsigned char* receiverId3);

#ifdef __cplusplus
}
#endif
