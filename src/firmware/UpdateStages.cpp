#include "firmware/UpdateStages.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "firmware/FailRecord.h"
#include "firmware/FlashStage.h"
#include "firmware/UpgradeState.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"

std::atomic<bool> UpdateRunFailed{false};
std::atomic<bool> UpdateRunSucceeded{false};

namespace {
// What a running stage reads on the library's thread: fixed when the stage starts.
struct StageData {
    QMutex Lock;
    FirmwareImage Image;
    QString CidText;
    QString MidText;
};

StageData& Stage() {
    static StageData data;
    return data;
}

std::atomic<int> ReceiverStage{0};
std::atomic<int> MouseStage{0};

std::atomic<int>& StateOf(int deviceType) {
    return deviceType == kMouseFirmware ? MouseUpgradeState : ReceiverUpgradeState;
}
std::atomic<int>& StageIdOf(int deviceType) {
    return deviceType == kMouseFirmware ? MouseStage : ReceiverStage;
}

int ProgressValue(int percent, bool mouseStage) {
    if (UpgradeMode != 2) return percent;
    return percent / 2 + (mouseStage ? 50 : 0);
}

// A failed stage: the marker file, no update offered any more, the failure record.
void RecordStageFailure() {
    const QString folder = Paths::UserDataDir() + "/Exception";
    QDir().mkpath(folder);
    QFile log(folder + "/UpDateLog.txt");
    if (log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) log.close();
    MouseUpdateAvailable = false;
    ReceiverUpdateAvailable = false;
    WriteUpgradeFailRecord(UpgradeDeviceType, UpgradeReceiverClass, UpgradeCid, UpgradeMid);
}

void StageStatus(int deviceType, int what, int value) {
    PostMsg* hub = PostMsg::GetInstance();
    std::atomic<int>& state = StateOf(deviceType);
    const bool mouse = deviceType == kMouseFirmware;
    if (what == 1) {
        if (state == StageRunning) hub->EmitSigProgress(ProgressValue(value, mouse), 0);
        return;
    }
    // Whichever ends the stage first claims it (running -> finishing or failed, one compare-exchange):
    // the stall time-out on the GUI thread then finds it no longer running and does nothing.
    int running = StageRunning;
    if (!state.compare_exchange_strong(running, value == 1 ? StageFinishing : StageFailed)) return;
    if (value != 1) {
        UpdateRunFailed = true;
        RecordStageFailure();
        hub->EmitSigProgress(0, 1);
        return;
    }
    FirmwareImage image;
    QString cidText, midText;
    {
        QMutexLocker lock(&Stage().Lock);
        image = Stage().Image;
        cidText = Stage().CidText;
        midText = Stage().MidText;
    }
    FirmwareHeader header;
    const QString version =
        image && ReadFirmwareHeader(*image, &header) ? FirmwareVersionText(header.Version) : QString();
    // The record, the texts and the progress first: the GUI thread goes on to the next stage as soon as
    // it sees the stage succeeded.
    UpdateRunSucceeded = true;
    FailRecordEntry device;
    device.Type = deviceType;
    device.ReceiverClass = UpgradeReceiverClass;
    device.Cid = UpgradeCid;
    device.Mid = UpgradeMid;
    RemoveUpgradeFailRecordOf(device);
    if (!mouse) {
        if (UpgradeMode == 1) hub->EmitSigProgress(0, 2);
        hub->EmitSigLabelText(0, version);
    } else {
        RegistryStore(RegistryStore::DriveTestKey()).SetValue("MouseVer" + cidText + midText, version);
        hub->EmitSigProgress(0, 2);
        hub->EmitSigLabelText(1, version);
    }
    state = StageSucceeded;
}

void Deliver(int deviceType, const unsigned char* status) {
    DeliverFlashStatus(StageIdOf(deviceType), status);
}
}  // namespace

void ReceiverUpgradeCallback(const unsigned char* status) {
    Deliver(kReceiverFirmware, status);
}

void MouseUpgradeCallback(const unsigned char* status) {
    Deliver(kMouseFirmware, status);
}

int UpdateStageOf(int deviceType) {
    return StageIdOf(deviceType);
}

bool StartUpdateStage(int deviceType, const FirmwareImage& image, const QString& cidText,
                      const QString& midText) {
    if (!image) return false;
    {
        QMutexLocker lock(&Stage().Lock);
        Stage().Image = image;
        Stage().CidText = cidText;
        Stage().MidText = midText;
    }
    UpgradeDeviceType = deviceType;
    // Running before the start, so that an early final status is kept.
    StateOf(deviceType) = StageRunning;
    // The device may be in boot mode from now on until its stage succeeds.
    const QString before = WriteUpgradeFailRecord(deviceType, UpgradeReceiverClass, UpgradeCid, UpgradeMid);
    const int stage =
        StartFlashStage(image, [deviceType](int what, int value) { StageStatus(deviceType, what, value); });
    StageIdOf(deviceType) = stage;
    if (stage) return true;
    RestoreUpgradeFailRecord(before);
    int running = StageRunning;
    StateOf(deviceType).compare_exchange_strong(running, StageFailed);
    return false;
}

bool UpdateStageStalled(int deviceType) {
    return FlashStageStalled(StageIdOf(deviceType));
}

bool FailUpdateStage(int deviceType) {
    int running = StageRunning;
    if (!StateOf(deviceType).compare_exchange_strong(running, StageFailed)) return false;
    CloseFlashStage(StageIdOf(deviceType));
    UpdateRunFailed = true;
    RecordStageFailure();
    PostMsg::GetInstance()->EmitSigProgress(0, 1);
    return true;
}

void ShowUpdateStageRefused() {
    UpdateRunFailed = true;
    PostMsg::GetInstance()->EmitSigProgress(0, 1);
}
