#pragma once
// One device the device library found, and the process-wide device records.

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>
#include <mutex>

#include "hidusb/DeviceReplyRecords.h"
#include "hidusb/FlashDataMap.h"

// Receiver type bytes; any other value is the mouse on its cable.
constexpr quint8 kTypeReceiver1K = 0;
constexpr quint8 kTypeReceiver4K = 1;
constexpr quint8 kTypeReceiver2K = 4;
constexpr quint8 kTypeReceiver8K = 5;

class DeviceAllInfo {
public:
    QByteArray Path;             // HID path as the library returned it
    QString Vid = "0";           // product-table vendor-id text it was found with
    QString Pid = "0";           // product-table product-id text it was found with
    quint16 CidMidWord = 0;      // low byte CID, high byte MID
    quint8 Type = 0;             // see kTypeReceiver*
    qint32 DriveIndex = 0;       // 0-based product-table section; DeviceTotal when unmatched
    bool Online = false;         // answers (for a receiver: the mouse behind it)
    bool IsUsb = false;          // the mouse itself on its cable
    QString Version;             // firmware of the found HID device
    QString MouseVersion;        // firmware of the mouse, read over the link
    QVector<quint8> ReceiverId;  // three receiver-id bytes of the last link reply

    // Two records name the same device when their paths are equal.
    bool operator==(const DeviceAllInfo& other) const { return Path == other.Path; }
    bool operator!=(const DeviceAllInfo& other) const { return !(*this == other); }

    // Mouse on its cable: Type AND 0xFA non-zero.
    static bool TypeIsUsb(quint8 type) { return (type & 0xFA) != 0; }
};

// The model and maker numbers of a device: the high and the low byte of its CidMidWord.
inline int MidOf(const DeviceAllInfo& device) {
    return device.CidMidWord >> 8;
}
inline int CidOf(const DeviceAllInfo& device) {
    return device.CidMidWord & 0xFF;
}

// "v" + high byte in decimal + "." + low byte as two upper-case hex digits (0x010A -> "v1.0A").
QString VersionText(quint16 word);

Q_DECLARE_METATYPE(DeviceAllInfo)
Q_DECLARE_METATYPE(FlashDataMap)

// Registers DeviceAllInfo and FlashDataMap for queued signals; safe to call more than once.
void RegisterDeviceMetaTypes();

// ---- Process-wide device records ----
// CurrentDevice and CurrentDevicePath are written from the GUI thread, the device thread and the
// library's data thread: guard them with CurrentDeviceMutex(), or use the copy helpers below.
extern DeviceAllInfo CurrentDevice;
// Our own copy of the current device's path; empty while no device is chosen.
extern QByteArray CurrentDevicePath;
std::mutex& CurrentDeviceMutex();
DeviceAllInfo CurrentDeviceCopy();
QByteArray CurrentDevicePathCopy();
void SetCurrentDevicePath(const QByteArray& path);

// GUI thread only.
extern QList<DeviceAllInfo> FoundDevices;
extern QList<DeviceAllInfo> FoundDevicesMirror;
extern QList<DeviceAllInfo> DevicePageDevices;
extern DeviceAllInfo PairTargetDevice;
extern DongleRGB ReceiverRgb;
extern QStringList WirelessPids;
extern QStringList Wireless2Pids;
extern QStringList Wireless4Pids;
extern QStringList Wireless8Pids;

// Reply buffers of the device library, each read right after its call.
extern BatteryStatus BatteryReply;
extern StatusChangeFlags StatusChangeReply;
