#include "settings/UpgradeState.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include "platform/RegistryStore.h"

std::atomic<int> UpgradeReceiverClass{0};
std::atomic<int> UpgradeMid{0};
std::atomic<int> UpgradeMode{1};
std::atomic<int> UpgradeDeviceType{0};
std::atomic<int> ReceiverUpgradeState{0};
std::atomic<int> MouseUpgradeState{0};

std::atomic<bool> RepairUpgradeBusy{false};
std::atomic<int> RepairStage{0};
std::atomic<int> RepairReceiverClass{0};
std::atomic<int> RepairCid{0};
std::atomic<int> RepairMid{0};
std::atomic<int> RepairFailedStage{0};
std::atomic<int> RepairMode{1};

UpDateRepair* RepairDialog = nullptr;
QString WiredModeText;

namespace {
const char* const kFailRecord = "UpdateFailInfo";

// The record a running stage replaced, and the device that stage names.
struct StageRecord {
    QMutex Lock;
    QString Replaced;
    int Type = 0;
    int Cid = 0;
    int Mid = 0;
};

StageRecord& Stage() {
    static StageRecord record;
    return record;
}

bool Names(const QString& record, int type, int cid, int mid) {
    const QStringList parts = record.split(',');
    return parts.size() == 4 && parts[0].toInt() == type && parts[2].toInt() == cid &&
           parts[3].toInt() == mid;
}
}  // namespace

QString UpgradeFailRecord() {
    return RegistryStore(RegistryStore::DriveTestKey()).Value(kFailRecord).toString();
}

void WriteUpgradeFailRecord(int type, int receiverClass, int cid, int mid) {
    RegistryStore(RegistryStore::DriveTestKey())
        .SetValue(kFailRecord, QStringList{QString::number(type), QString::number(receiverClass),
                                           QString::number(cid), QString::number(mid)}
                                   .join(','));
}

void RemoveUpgradeFailRecord() {
    RegistryStore(RegistryStore::DriveTestKey()).Remove(kFailRecord);
}

void BeginStageFailRecord(int type, int receiverClass, int cid, int mid) {
    QMutexLocker lock(&Stage().Lock);
    Stage().Replaced = UpgradeFailRecord();
    Stage().Type = type;
    Stage().Cid = cid;
    Stage().Mid = mid;
    WriteUpgradeFailRecord(type, receiverClass, cid, mid);
}

void EndStageFailRecord(bool succeeded) {
    QMutexLocker lock(&Stage().Lock);
    StageRecord& stage = Stage();
    RegistryStore store(RegistryStore::DriveTestKey());
    // A success repairs an earlier failure of the same device; a refused start leaves it as it was.
    const bool keep =
        !stage.Replaced.isEmpty() && !(succeeded && Names(stage.Replaced, stage.Type, stage.Cid, stage.Mid));
    if (keep)
        store.SetValue(kFailRecord, stage.Replaced);
    else
        store.Remove(kFailRecord);
    stage.Replaced.clear();
}
