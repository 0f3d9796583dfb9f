#pragma once
// The repair of an interrupted upgrade: what waits in boot mode decides what is flashed. A receiver in boot
// mode is flashed first; its mouse follows when it waits in boot mode too (it can be reached only once its
// receiver works again), when the record says it may, or when it is on its cable. The stages run through
// the library's upgrade with a status callback each; their end is told through the hub.

#include <QList>
#include <QString>

#include "firmware/FailRecord.h"
#include "firmware/FirmwareImages.h"

struct RepairPlan {
    QString Section;
    int ReceiverClass = 0;
    int Cid = 0;
    int Mid = 0;
    FirmwareImage ReceiverImage;  // flashed first; null: the mouse alone
    FirmwareImage MouseImage;     // flashed after the receiver when MouseFollows, or alone
    bool MouseFollows = false;
    int FailedStage = 1;  // 0 when the record names the receiver first

    // 2 when a receiver stage and a mouse stage run (the bar halves), else 1.
    int Mode() const { return ReceiverImage && MouseImage && MouseFollows ? 2 : 1; }
};

enum class RepairReadiness {
    Ready,           // the plan can start
    SeveralWaiting,  // two devices of one model wait in boot mode: the library cannot tell them apart
    NothingWaits     // nothing in boot mode that the installation holds an image for
};

// Looks at what waits in boot mode, the failure record and the listed devices (`found`); fills the plan.
RepairReadiness PlanRepair(const QList<DeviceAllInfo>& found, RepairPlan* plan);

// Starts the plan's first stage (GUI thread); false when there is no image or the library refused it (the
// run is then over, nothing told).
bool StartRepairRun(const RepairPlan& plan);
// Flashes a receiver in normal mode with the image of the last FindRepairFirmware, as one stage.
bool StartRepairReceiverOnly(int receiverClass, int cid, int mid);
// Ends the running stage when it has stalled (FlashStageStalled): failed and told. False otherwise.
bool FailStalledRepairStage();
// A stage is waiting for its final status.
bool RepairStageOpen();
// The run ends without a success: failure told, the stage's device recorded when `writeRecord`, the
// device polling free again.
void EndRepairFailed(bool writeRecord);
// The stage last started (for tests: its own callback is FlashStageCallback of it).
int RepairStageId();

// Status callback of the repair stages (library thread): acts on the running repair stage.
void RepairUpgradeCallback(const unsigned char* status);
