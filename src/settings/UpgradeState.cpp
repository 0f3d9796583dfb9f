#include "settings/UpgradeState.h"

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
}

QString UpgradeFailRecord() {
    return RegistryStore(RegistryStore::DriveTestKey()).Value(kFailRecord).toString();
}

void WriteUpgradeFailRecord(int type, int receiverClass, int cid, int mid) {
    RegistryStore(RegistryStore::DriveTestKey())
        .SetValue(kFailRecord, QStringList{QString::number(type), QString::number(receiverClass),
                                           QString::number(cid), QString::number(mid)}
                                   .join(','));
}

bool RemoveUpgradeFailRecord(int type, int cid, int mid) {
    RegistryStore store(RegistryStore::DriveTestKey());
    const QStringList parts = store.Value(kFailRecord).toString().split(',');
    if (parts.size() == 4 && parts[0].toInt() == type && parts[2].toInt() == cid && parts[3].toInt() == mid)
        store.Remove(kFailRecord);
    return store.Value(kFailRecord).toString().isEmpty();
}
