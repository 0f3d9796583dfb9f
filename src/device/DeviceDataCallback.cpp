#include "device/DeviceDataCallback.h"

#include <QVector>
#include <cstring>

#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"
#include "hidusb/HIDUsb.h"
#include "platform/RegistryStore.h"

namespace {

FlashDataMap ImageCopy() {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData;
}

void HandOverImage() {
    const FlashDataMap image = ImageCopy();
    ProtocolDataUpdate(&image);
}

// Button records that a settings reset keeps: those whose factory assignment is a key sequence.
QVector<int> KeptActionButtons(int driveIndex) {
    QVector<int> kept;
    for (int i = 0; i < kDeviceButtonCount; ++i) {
        if (DeviceProductTable::ListItem(driveIndex, QStringLiteral("KeyParam%1").arg(i + 1), 0) == "0x05")
            kept << i;
    }
    return kept;
}

void ClearButtonRecords(FlashDataMap& image, const QVector<int>& kept) {
    for (int i = 0; i < kDeviceButtonCount; ++i) {
        if (!kept.contains(i)) std::memset(&image.ButtonActions[i], 0, sizeof image.ButtonActions[i]);
        std::memset(&image.ButtonMacros[i], 0, sizeof image.ButtonMacros[i]);
    }
}

void FullDump(const unsigned char* payload) {
    FlashDataMap image{};
    if (!ProtocolDataParser(payload, &image)) return;
    const DeviceAllInfo device = CurrentDeviceCopy();
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        CurrentFlashData = image;
    }
    FlashDataFromDevice = true;
    SetDeviceInfoSaveName(DeviceInfoFilePath(device.CidMidWord));

    UsbServer_ReadDPILed();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadVersion();
    UsbServer_ReadConfig();

    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigIsUsb(device.IsUsb, true);

    if (!SkipDongleQuery) {
        if (!device.IsUsb) {
            DongleRGB rgb = ReceiverRgb;
            UsbFinderC_Get4KDongleRGBValue(device.Path.constData(), reinterpret_cast<unsigned char*>(&rgb));
            ReceiverRgb = rgb;
            if (ReceiverRgb.Mode != 0) hub->EmitSigRGBValue(&ReceiverRgb);
        }
        unsigned char longRange = kLongRangeNoAnswer;
        UsbFinderC_GetLongRangeMode(device.Path.constData(), &longRange);
        if (longRange != kLongRangeNoAnswer && longRange != 0) hub->EmitSigLongRangeMode(true);
    }
    SkipDongleQuery = false;

    if (ResetApplyPending) {
        const QVector<int> kept = KeptActionButtons(device.DriveIndex);
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            ClearButtonRecords(CurrentFlashData, kept);
        }
        ResetApplyPending = false;
    }
    HandOverImage();

    LightPageRefreshed = false;
    SensorPageRefreshed = false;
    ButtonPageRefreshed = false;
    hub->EmitSigUpDataLightUIButton(ImageCopy());
    hub->EmitSigUpDataLightLight(ImageCopy());
    hub->EmitSigUpDataLightSensor(ImageCopy());
    hub->EmitSigForm();

    DeviceAnswered = true;
    WorkerRunEnable = false;
}

void DataMessage(int sub4, const unsigned char* payload, int length) {
    PostMsg* hub = PostMsg::GetInstance();
    if (sub4 == 0 && length == HIDUSB_FLASH_SIZE) {
        FullDump(payload);
    } else if (sub4 == 0 && length == 1) {
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.ReportRateCode = payload[0];
        }
        hub->EmitSigUpDataReportRate(payload[0]);
        if (FlashDataFromDevice) HandOverImage();
    } else if (sub4 == 4 && length == 1) {
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.CurrentDpiLevel = payload[0];
        }
        hub->EmitSigUpDataDPI(payload[0]);
        if (FlashDataFromDevice) HandOverImage();
    } else if (sub4 == 0x4C && length == 8) {
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            BufferToDPILed(payload, length, &CurrentFlashData.DpiLightMode);
        }
        hub->EmitSigUpDataDPILed(ImageCopy());
    } else if (sub4 == 0xA0 && length == 9) {
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            BufferToLedBar(payload, length, &CurrentFlashData.MouseLightMode);
        }
        hub->EmitSigUpDataLightLight(ImageCopy());
    }
}

void ResetCycle() {
    UsbServer_SetBatteryOptimizeEnable(true);
    const DeviceAllInfo device = CurrentDeviceCopy();
    const QString longRange = DeviceProductTable::ListItem(device.DriveIndex, "Adveanced", 0);
    const QString indicator = DeviceProductTable::ListItem(device.DriveIndex, "Adveanced", 1);
    PostMsg* hub = PostMsg::GetInstance();

    if (indicator.toInt() > 0 && !device.IsUsb) {
        ReceiverRgb.Mode = static_cast<uint8_t>(indicator.toInt());
        UsbFinderC_Set4KDongleRGB(device.Path.constData(),
                                  reinterpret_cast<const unsigned char*>(&ReceiverRgb));
        if (ReceiverRgb.Mode != 0) hub->EmitSigRGBValue(&ReceiverRgb);
    }
    if (!longRange.isEmpty() && (longRange.toInt() == 0 || longRange.toInt() == 1)) {
        const bool on = longRange.toInt() == 1;
        UsbFinderC_SetLongRangeMode(device.Path.constData(), on);
        hub->EmitSigLongRangeMode(on);
    }
    ResetApplyPending = true;
    SkipDongleQuery = true;
    UsbServer_ReadAllFlashData();
}

void VersionRoad() {
    QByteArray path;
    int driveIndex = 0;
    QString version;
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        path = CurrentDevice.Path;
        driveIndex = CurrentDevice.DriveIndex;
    }
    // 0 is the library's "no answer" (the mouse went to sleep): keep the version we know.
    const quint16 word = UsbFinderC_GetVersion(path.constData());
    if (word == 0) return;
    version = VersionText(word);
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        if (CurrentDevice.Path == path) CurrentDevice.MouseVersion = version;
    }
    PostMsg::GetInstance()->EmitSigSetver(0);
    RegistryStore(RegistryStore::DriveTestKey())
        .SetValue("MouseVer" + DeviceProductTable::CidText() + DeviceProductTable::MidText(driveIndex),
                  version);
}

}  // namespace

void DeviceDataCallback(const unsigned char* header, int headerLength, const unsigned char* payload,
                        int payloadLength) {
    const auto headerByte = [&](int i) { return header && headerLength > i ? int(header[i]) : 0; };
    if (!payload || payloadLength < 0) payloadLength = 0;
    const int kind = headerByte(1);
    PostMsg* hub = PostMsg::GetInstance();

    switch (kind) {
        case HIDUSB_MSG_BATTERY: {
            BatteryStatus status{};
            // A report the library cannot read carries no level; showing 0 % would be wrong.
            if (!GetDeviceBatteryStatus(payload, payloadLength, &status)) break;
            BatteryReply = status;
            hub->EmitSigBattery(status.Charging > 0, status.Level, BatteryTextEnabled == 1);
            break;
        }
        case HIDUSB_MSG_DATA:
            if (headerByte(3) == 0) DataMessage(headerByte(4), payload, payloadLength);
            break;
        case HIDUSB_MSG_CLEAR_DONE:
            ResetCycle();
            break;
        case HIDUSB_MSG_STATUS_CHANGED: {
            StatusChangeFlags flags{};
            GetDeviceStatusChanged(payload, payloadLength, &flags);
            StatusChangeReply = flags;
            Worker::ReadChangedStatus(flags);
            break;
        }
        case HIDUSB_MSG_CONFIG:
            if (payloadLength == 1)
                hub->EmitSigUpDataConfigUI(4, payload[0], true);
            else
                hub->EmitSigUpDataConfigUI(0, 0, false);
            break;
        case HIDUSB_MSG_VERSION:
            VersionRoad();
            break;
        case HIDUSB_MSG_DONGLE_RGB:
            hub->EmitSigRGBValue(&ReceiverRgb);
            break;
        case HIDUSB_MSG_LONG_RANGE:
            if (payloadLength == 10) hub->EmitSigLongRangeMode(false);
            break;
        default:
            break;
    }
}
