#include "core/DeviceAllInfo.h"

DeviceAllInfo CurrentDevice;
QByteArray CurrentDevicePath;
QList<DeviceAllInfo> FoundDevices;
QList<DeviceAllInfo> FoundDevicesMirror;
QList<DeviceAllInfo> DevicePageDevices;
DeviceAllInfo PairTargetDevice;
DongleRGB ReceiverRgb{};
QStringList WirelessPids;
QStringList Wireless2Pids;
QStringList Wireless4Pids;
QStringList Wireless8Pids;
BatteryStatus BatteryReply{};
StatusChangeFlags StatusChangeReply{};

QString VersionText(quint16 word) {
    return QStringLiteral("v%1.%2").arg(word >> 8).arg(QString::number(word & 0xFF, 16).toUpper(), 2,
                                                       QLatin1Char('0'));
}

void RegisterDeviceMetaTypes() {
    qRegisterMetaType<DeviceAllInfo>("DeviceAllInfo");
    qRegisterMetaType<FlashDataMap>("FlashDataMap");
}

std::mutex& CurrentDeviceMutex() {
    static std::mutex mutex;
    return mutex;
}

DeviceAllInfo CurrentDeviceCopy() {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    return CurrentDevice;
}

QByteArray CurrentDevicePathCopy() {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    return CurrentDevicePath;
}

void SetCurrentDevicePath(const QByteArray& path) {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    CurrentDevicePath = path;
}
