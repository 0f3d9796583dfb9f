#pragma once
// The stages of the settings page's update: one image handed to the library per device, its status
// callback and what a stage's end records (the failure record and marker, the new version, the progress
// the firmware dialog shows). The page's timer steps decide which device and image a stage gets.

#include <QString>
#include <atomic>

#include "firmware/FirmwareImages.h"

// The run's outcome so far, for the end of the run: a stage failed / a stage succeeded.
extern std::atomic<bool> UpdateRunFailed;
extern std::atomic<bool> UpdateRunSucceeded;

// Marks the device's stage running and hands it the image; false when the library refused (the state is
// then failed, the record as it was). The MID text names the "MouseVer" value after a mouse's success.
bool StartUpdateStage(int deviceType, const FirmwareImage& image, const QString& cidText,
                      const QString& midText);
// The device's running stage has had no status for too long (FlashStageStalled).
bool UpdateStageStalled(int deviceType);
// The running stage ends without its final status (a stall time-out): failed, recorded, shown; its late
// statuses are dropped. False when its final status came first.
bool FailUpdateStage(int deviceType);
// A stage that could not start: shown as failed, nothing recorded.
void ShowUpdateStageRefused();

// Status callbacks of the update stages (library thread): each acts on its own device's running stage only.
void ReceiverUpgradeCallback(const unsigned char* status);
void MouseUpgradeCallback(const unsigned char* status);
// The stage last started for a device (210 or 211); 0 before any.
int UpdateStageOf(int deviceType);
