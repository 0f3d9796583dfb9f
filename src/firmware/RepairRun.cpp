#include "firmware/RepairRun.h"

#include <QMutex>
#include <QMutexLocker>

#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "firmware/BootDevices.h"
#include "firmware/FlashStage.h"
#include "firmware/UpgradeState.h"

namespace {
// The running plan, read on the library's thread.
struct RunData {
    QMutex Lock;
    RepairPlan Plan;
};

RunData& Run() {
    static RunData data;
    return data;
}

std::atomic<int> CurrentStage{0};

FailRecordEntry StageDevice() {
    FailRecordEntry device;
    device.Type = RepairStage == 0 ? kReceiverFirmware : kMouseFirmware;
    device.ReceiverClass = RepairReceiverClass;
    device.Cid = RepairCid;
    device.Mid = RepairMid;
    return device;
}

void RunEnded() {
    UpdateIdle = true;
    RepairUpgradeBusy = false;
}

void TellSucceeded() {
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigAutoRepair(0);
    hub->EmitSigUpDateButton(UpgradeFailRecord().isEmpty());
    hub->EmitSigProgress(0, 2);
}

void StageStatus(int what, int value);

// Starts the current stage with an image; false when the library refuses (the record as it was).
bool StartStage(const FirmwareImage& image) {
    const QString before = WriteUpgradeFailRecord(StageDevice());
    const int stage = StartFlashStage(image, StageStatus);
    CurrentStage = stage;
    if (stage) return true;
    RestoreUpgradeFailRecord(before);
    return false;
}

void StageStatus(int what, int value) {
    if (what == 1) {
        RepairUpgradeBusy = true;
        int shown = value;
        if (RepairMode == 2) shown = value / 2 + (RepairStage == 1 ? 50 : 0);
        PostMsg::GetInstance()->EmitSigAutoRepairProgress(shown);
        return;
    }
    if (value != 1) {
        EndRepairFailed(true);
        return;
    }
    RemoveUpgradeFailRecordOf(StageDevice());
    if (RepairStage == 0) {
        RepairStage = 1;
        RepairPlan plan;
        {
            QMutexLocker lock(&Run().Lock);
            plan = Run().Plan;
        }
        // The receiver works again: a mouse in boot mode behind it can be reached now.
        if (plan.MouseImage && (plan.MouseFollows || CountWaitingDevices(plan.MouseImage) > 0)) {
            RepairUpgradeBusy = false;
            if (StartStage(plan.MouseImage)) return;
            EndRepairFailed(false);
            return;
        }
    }
    TellSucceeded();
    RunEnded();
}

bool ListsReceiver(const QList<DeviceAllInfo>& found, int receiverClass, int mid) {
    for (const DeviceAllInfo& device : found)
        if (!device.IsUsb && MidOf(device) == mid &&
            DeviceProductTable::ReceiverClass(device.Type) == receiverClass)
            return true;
    return false;
}
}  // namespace

RepairReadiness PlanRepair(const QList<DeviceAllInfo>& found, RepairPlan* plan) {
    *plan = RepairPlan();
    const QList<InstalledImage> images = InstalledImages();
    const QList<WaitingDevice> waiting = FindWaitingDevices(images);
    if (waiting.isEmpty()) return RepairReadiness::NothingWaits;
    for (const WaitingDevice& device : waiting)
        if (device.Count > 1) return RepairReadiness::SeveralWaiting;

    const WaitingDevice& first = waiting.first();
    const QList<FailRecordEntry> records = UpgradeFailRecordEntries();
    plan->Section = first.Section;
    plan->Cid = first.Cid;
    plan->Mid = first.Mid;
    plan->FailedStage = !records.isEmpty() && records.first().Type == kReceiverFirmware ? 0 : 1;
    plan->MouseImage =
        first.Type == kMouseFirmware ? first.Image : RepairImageOf(images, kMouseFirmware, 0, first.Section);

    bool mouseWaits = false, mouseRecorded = false, mouseOnCable = false;
    for (const WaitingDevice& device : waiting)
        mouseWaits = mouseWaits || (device.Type == kMouseFirmware && device.Mid == first.Mid);
    int recordedClass = 0;
    for (const FailRecordEntry& entry : records) {
        if (entry.Type != kMouseFirmware || entry.Mid != first.Mid) continue;
        mouseRecorded = true;
        if (!recordedClass) recordedClass = entry.ReceiverClass;
    }
    for (const DeviceAllInfo& device : found)
        mouseOnCable = mouseOnCable || (device.IsUsb && MidOf(device) == first.Mid);

    if (first.Type == kReceiverFirmware) {
        plan->ReceiverClass = first.ReceiverClass;
        plan->ReceiverImage = first.Image;
        plan->MouseFollows = plan->MouseImage && (mouseWaits || mouseRecorded || mouseOnCable);
    } else {
        // A mouse left in boot mode by its upgrade: its listed receiver is flashed first, as the upgrade did.
        plan->ReceiverClass = recordedClass;
        if (recordedClass && ListsReceiver(found, recordedClass, first.Mid))
            plan->ReceiverImage = RepairImageOf(images, kReceiverFirmware, recordedClass, first.Section);
        plan->MouseFollows = true;
    }
    return RepairReadiness::Ready;
}

bool StartRepairRun(const RepairPlan& plan) {
    {
        QMutexLocker lock(&Run().Lock);
        Run().Plan = plan;
    }
    RepairReceiverClass = plan.ReceiverClass;
    RepairCid = plan.Cid;
    RepairMid = plan.Mid;
    RepairFailedStage = plan.FailedStage;
    RepairMode = plan.Mode();
    RepairStage = plan.ReceiverImage ? 0 : 1;
    const FirmwareImage image = plan.ReceiverImage ? plan.ReceiverImage : plan.MouseImage;
    return image && StartStage(image);
}

bool StartRepairReceiverOnly(int receiverClass, int cid, int mid) {
    RepairPlan plan;
    plan.ReceiverClass = receiverClass;
    plan.Cid = cid;
    plan.Mid = mid;
    plan.FailedStage = 0;
    plan.ReceiverImage = RepairFirmwareImage();
    return StartRepairRun(plan);
}

bool FailStalledRepairStage() {
    if (!FlashStageStalled(CurrentStage) || !CloseFlashStage(CurrentStage)) return false;
    EndRepairFailed(true);
    return true;
}

bool RepairStageOpen() {
    return FlashStageOpen(CurrentStage);
}

void EndRepairFailed(bool writeRecord) {
    PostMsg* hub = PostMsg::GetInstance();
    if (writeRecord) WriteUpgradeFailRecord(StageDevice());
    hub->EmitSigAutoRepair(1);
    hub->EmitSigUpDateButton(UpgradeFailRecord().isEmpty());
    hub->EmitSigProgress(0, 6);
    RunEnded();
}

int RepairStageId() {
    return CurrentStage;
}

void RepairUpgradeCallback(const unsigned char* status) {
    DeliverFlashStatus(CurrentStage, status);
}
