#pragma once
// Shared set-up of the device tests: the simulated default devices in a fresh state folder, a manual
// clock, and the device link's process-wide state back at its start values.
#include <QSignalSpy>
#include <QtTest>
#include <cstring>

#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "platform/Clock.h"
#include "platform/RegistryStore.h"

namespace DeviceFixture {

inline ManualClock& TestClock() {
    static ManualClock clock;
    return clock;
}

inline void ResetLinkState() {
    UiLive = false;
    DeviceWindow.Leave();
    WorkerRunEnable = false;
    OnlineNow = false;
    LastOnline = false;
    DeviceAnswered = false;
    DeviceOfflineShown = false;
    ReconnectRequested = false;
    ForceReread = false;
    DpiSendSuppressed = false;
    UpdateIdle = true;
    ResetApplyPending = false;
    SkipDongleQuery = false;
    FlashDataFromDevice = false;
    ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
    ButtonPageRefreshed = LightPageRefreshed = SensorPageRefreshed = false;
    UpdateStepRunning = false;
    SettingsWaitTimedOut = false;
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        CurrentDevice = DeviceAllInfo();
        CurrentDevicePath.clear();
    }
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        std::memset(&CurrentFlashData, 0, sizeof CurrentFlashData);
    }
    ReceiverRgb = DongleRGB{};
    FoundDevices.clear();
    FoundDevicesMirror.clear();
    DevicePageDevices.clear();
    SetDeviceInfoLoadName(QString());
    SetDeviceInfoSaveName(QString());
}

// Fresh simulated default devices, installed product table, test clock, a registry of its own.
inline void Init(const QString& productTable = QString()) {
    UsbServer_Exit();
    StopUsbChanged();
    HidSim::SetStateDir(TestEnv::FreshDir("sim"));
    HidSim::SetTiming(1, 1);
    HidSim::LoadDefault();
    HidSim::ClearCallLog();
    ConfigIni::ResetForTest(productTable);
    RegistryStore::SetFilePath(TestEnv::FreshDir("registry") + "/registry.ini");
    Clock::Set(&TestClock());
    ResetLinkState();
}

// Names of the built-in default devices.
inline QString ReceiverName() {
    return QStringLiteral("receiver");
}
inline QString MouseName() {
    return QStringLiteral("mouse");
}

// The default devices with extra fields for the receiver (JSON members, e.g. "\"infoZeros\": 9").
inline bool LoadDefaultWith(const QString& receiverExtra) {
    const QString json =
        QStringLiteral(
            "{\"devices\": [{\"name\": \"receiver\", \"kind\": \"receiver\", \"class\": 8, \"mid\": 6, "
            "\"version\": \"0x0105\", \"receiverId\": [18, 52, 86], \"longRange\": \"off\", \"mouse\": "
            "\"mouse\"%1},"
            "{\"name\": \"mouse\", \"kind\": \"mouse\", \"mid\": 6, \"version\": \"0x0112\", \"online\": "
            "true}]}")
            .arg(receiverExtra.isEmpty() ? QString() : ", " + receiverExtra);
    QString error;
    const bool ok = HidSim::LoadDescription(json.toUtf8(), &error);
    if (!ok) qWarning() << error;
    return ok;
}

// The home page's view of the default devices; the first entry is the 8K receiver.
inline DeviceAllInfo FindDefaultReceiver() {
    DeviceDiscovery::ScanHomeDevices();
    return FoundDevices.value(0);
}

// The state a finished connection leaves: the receiver chosen, its path known, the image read from
// the mouse, the library connected.
inline void ConnectWithImage(void (*callback)(const unsigned char*, int, const unsigned char*, int)) {
    const DeviceAllInfo device = FindDefaultReceiver();
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        CurrentDevice = device;
        CurrentDevicePath = device.Path;
    }
    const QByteArray flash = HidSim::Flash(MouseName());
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &CurrentFlashData);
    }
    FlashDataFromDevice = true;
    UsbServerC_Start(device.Path.constData(), device.Path.constData(), callback);
}

// A data callback that drops every message.
inline void IgnoreData(const unsigned char*, int, const unsigned char*, int) {}

// Whether an image went to the library since the call log was last cleared.
inline bool HandedOver() {
    return HidSim::CallLog().join('\n').contains("ProtocolDataUpdate");
}

// Offline notices (SigMouseOffLineo with 0) among the hub emissions a spy recorded.
inline int OfflineNotices(const QSignalSpy& spy) {
    int count = 0;
    for (const QList<QVariant>& arguments : spy)
        if (arguments.value(0).toInt() == 0) ++count;
    return count;
}

inline FlashDataMap LastHandedImage() {
    FlashDataMap image{};
    const QByteArray bytes = HidSim::LastImage();
    if (bytes.size() == int(sizeof image)) std::memcpy(&image, bytes.constData(), sizeof image);
    return image;
}

// The image the simulated mouse holds in its flash.
inline FlashDataMap MouseImage(const QString& mouse = MouseName()) {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(mouse);
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

inline FlashDataMap ImageNow() {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData;
}

}  // namespace DeviceFixture
