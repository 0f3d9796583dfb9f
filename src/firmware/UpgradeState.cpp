#include "firmware/UpgradeState.h"

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
