#pragma once
// The whole configuration of one mouse as one packed record of 10,460 bytes. This is the program's
// side of the device protocol: the device library fills it from the flash dump and takes it back
// whole after every change, and the same bytes are stored in the cache and profile files.
// Plain C++ only (no Qt): a header of the device library, which takes and fills this record.
// Multi-byte integers are little-endian (the byte order of every supported host).

#include <cstddef>
#include <cstdint>
#include <type_traits>

#pragma pack(push, 1)

// One DPI level (6 bytes).
struct DpiLevelRecord {
    uint8_t DpiCode;        // low 8 bits of the sensor's DPI register value
    uint8_t DpiCodeCopy;    // always written equal to DpiCode; never read
    uint8_t DpiRangeFlags;  // 0x00 normal, 0x11/0x22 doubled, 0x33 quadrupled; bits 8..9 of the register in
                            // bits 2..3 and 6..7
    uint8_t ColorR;
    uint8_t ColorG;
    uint8_t ColorB;
};

// The function a device button carries (3 bytes).
//  Type 0 disabled, 1 mouse button (Param1 mask), 2 DPI function, 3 horizontal scroll, 4 rapid fire
//  (Param1 interval, Param2 count), 5 key sequence, 6 macro (Param1 button, Param2 repeat), 7 report-rate
//  switch, 8 light toggle, 9 profile switch, 10 DPI lock, 11 vertical scroll.
struct ButtonKeyEntry {
    uint8_t Type;
    uint8_t Param1;
    uint8_t Param2;
};

// One key event of a key sequence or macro (8 bytes).
struct KeyEvent {
    uint8_t State;  // 0 press, 1 release
    uint8_t Kind;   // 0 modifier mask, 1 keyboard usage, 2 consumer usage, 4 mouse-button mask
    uint16_t Code;
    uint32_t DelayMs;  // pause after this event
};

// Key sequence of one button (52 bytes): a media key when the first event's Kind is 2, else a key
// combination whose first EventCount/2 events are the presses.
struct KeyActionRecord {
    uint8_t EventCount;  // 0..6
    uint8_t Zero[3];
    KeyEvent Events[6];
};

// Macro of one button (592 bytes).
struct MacroRecord {
    uint8_t NameLength;  // at most 30
    char Name[30];       // local 8-bit code page, NUL-padded
    uint8_t EventCount;  // 0..70
    KeyEvent Events[70];
};

constexpr int kDeviceButtonCount = 16;
constexpr int kDpiLevelMax = 8;

// Trigger-point bits of TriggerFlags: set = the button triggers at the press point.
constexpr uint8_t kTriggerLeftBit = 0x01;
constexpr uint8_t kTriggerRightBit = 0x02;

struct FlashDataMap {
    uint8_t ReportRateCode;   // 8 = 125 Hz, 4 = 250, 2 = 500, 1 = 1000, 16 = 2000, 32 = 4000, 64 = 8000
    uint8_t DpiLevelCount;    // 1..8
    uint8_t CurrentDpiLevel;  // 0..7
    uint8_t Reserved03;
    uint8_t TriggerFlags;   // kTriggerLeftBit, kTriggerRightBit
    uint8_t LodCode;        // 1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm
    uint8_t KeyDebounceMs;  // 0..30
    uint8_t MotionSyncEnable;
    uint8_t SleepTimeCode;  // units of 10 s
    uint8_t AngleSnap;
    uint8_t RippleControl;
    uint8_t MovingOffLight;
    uint8_t PerformanceMode;
    uint8_t PerformanceTimeCode;
    uint8_t SensorModeIndex;  // 0..2
    int8_t AngleTune;         // degrees, -30..30
    uint8_t AngleTuneEnable;  // set to 1 whenever AngleTune is written
    uint8_t Reserved11[25];
    uint8_t Scan20K;            // only 1 counts as on
    uint8_t WheelDebounceMs;    // 10..100
    uint8_t ReleaseDebounceMs;  // 0..30
    uint8_t Reserved2D[3];
    DpiLevelRecord DpiLevels[kDpiLevelMax];
    uint8_t DpiLightMode;  // bytes 96..99 are filled as a block by BufferToDPILed
    uint8_t DpiLightBrightness;
    uint8_t DpiLightSpeed;
    uint8_t DpiLightEnable;
    uint8_t MouseLightMode;  // bytes 100..106 are filled as a block by BufferToLedBar
    uint8_t MouseLightRed;
    uint8_t MouseLightGreen;
    uint8_t MouseLightBlue;
    uint8_t MouseLightSpeed;       // level - 1
    uint8_t MouseLightBrightness;  // level - 1
    uint8_t MouseLightEnable;
    ButtonKeyEntry ButtonKeys[kDeviceButtonCount];
    uint8_t Reserved9B;
    KeyActionRecord ButtonActions[kDeviceButtonCount];
    MacroRecord ButtonMacros[kDeviceButtonCount];
};

#pragma pack(pop)

static_assert(sizeof(DpiLevelRecord) == 6, "DpiLevelRecord layout");
static_assert(sizeof(ButtonKeyEntry) == 3, "ButtonKeyEntry layout");
static_assert(sizeof(KeyEvent) == 8, "KeyEvent layout");
static_assert(offsetof(KeyEvent, Code) == 2 && offsetof(KeyEvent, DelayMs) == 4, "KeyEvent layout");
static_assert(sizeof(KeyActionRecord) == 52 && offsetof(KeyActionRecord, Events) == 4,
              "KeyActionRecord layout");
static_assert(sizeof(MacroRecord) == 592, "MacroRecord layout");
static_assert(offsetof(MacroRecord, Name) == 1 && offsetof(MacroRecord, EventCount) == 31 &&
                  offsetof(MacroRecord, Events) == 32,
              "MacroRecord layout");

static_assert(sizeof(FlashDataMap) == 10460, "FlashDataMap must be exactly 10,460 bytes");
static_assert(std::is_trivially_copyable<FlashDataMap>::value && std::is_standard_layout<FlashDataMap>::value,
              "FlashDataMap is copied byte by byte");
static_assert(offsetof(FlashDataMap, Reserved03) == 3, "layout");
static_assert(offsetof(FlashDataMap, TriggerFlags) == 4, "layout");
static_assert(offsetof(FlashDataMap, SleepTimeCode) == 8, "layout");
static_assert(offsetof(FlashDataMap, PerformanceTimeCode) == 13, "layout");
static_assert(offsetof(FlashDataMap, AngleTune) == 15, "layout");
static_assert(offsetof(FlashDataMap, AngleTuneEnable) == 16, "layout");
static_assert(offsetof(FlashDataMap, Reserved11) == 17, "layout");
static_assert(offsetof(FlashDataMap, Scan20K) == 42, "layout");
static_assert(offsetof(FlashDataMap, WheelDebounceMs) == 43, "layout");
static_assert(offsetof(FlashDataMap, ReleaseDebounceMs) == 44, "layout");
static_assert(offsetof(FlashDataMap, Reserved2D) == 45, "layout");
static_assert(offsetof(FlashDataMap, DpiLevels) == 48, "layout");
static_assert(offsetof(FlashDataMap, DpiLightMode) == 96, "layout");
static_assert(offsetof(FlashDataMap, DpiLightEnable) == 99, "layout");
static_assert(offsetof(FlashDataMap, MouseLightMode) == 100, "layout");
static_assert(offsetof(FlashDataMap, MouseLightEnable) == 106, "layout");
static_assert(offsetof(FlashDataMap, ButtonKeys) == 107, "layout");
static_assert(offsetof(FlashDataMap, Reserved9B) == 155, "layout");
static_assert(offsetof(FlashDataMap, ButtonActions) == 156, "layout");
static_assert(offsetof(FlashDataMap, ButtonMacros) == 988, "layout");
