#pragma once
// State of the firmware update and repair flows shared by the GUI thread and the device library's
// upgrade status callbacks. Words that both sides touch are atomic.

#include <atomic>

// Update flow of the settings page.
extern std::atomic<int> UpgradeReceiverClass;  // 0, 1, 2, 4, 8
extern std::atomic<int> UpgradeMid;
extern std::atomic<int> UpgradeMode;        // 2: receiver then mouse; else 1
extern std::atomic<int> UpgradeDeviceType;  // 210 / 211: the stage handed to the library
// Stage outcome: 0 no device or several, 1 running, 2 succeeded, 3 failed, 4 no image, 5 finishing.
extern std::atomic<int> ReceiverUpgradeState;
extern std::atomic<int> MouseUpgradeState;

// Repair flow of the repair dialog.
extern std::atomic<bool> RepairUpgradeBusy;  // a stage reported progress and has not finished
extern std::atomic<int> RepairStage;         // 0 receiver, 1 mouse
extern std::atomic<int> RepairReceiverClass;
extern std::atomic<int> RepairCid;
extern std::atomic<int> RepairMid;
extern std::atomic<int> RepairFailedStage;
extern std::atomic<int> RepairMode;

// Stage outcome values.
enum UpgradeOutcome {
    StageNoDevice = 0,
    StageRunning = 1,
    StageSucceeded = 2,
    StageFailed = 3,
    StageNoImage = 4,
    // The library reported success and its callback is recording it; the stage is no longer running, so
    // the stall time-out cannot end it too.
    StageFinishing = 5
};

// The stage has not ended yet (running, or its success is being recorded).
inline bool StageUnderWay(int state) {
    return state == StageRunning || state == StageFinishing;
}
