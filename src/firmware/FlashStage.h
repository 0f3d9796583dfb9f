#pragma once
// One image handed to the device library's upgrade: a stage. The library reports through a plain status
// callback, so each stage gets a callback of its own (one of a ring of them, reused only after every other
// one): a status that comes after its stage has ended, late or twice, reaches no other stage. The first
// final status of a stage, or the caller's close (a stall time-out), ends it; whichever comes second does
// nothing.

#include <functional>

#include "firmware/FirmwareImages.h"
#include "hidusb/HIDUsb.h"

// A stage without any status for this long has stalled.
constexpr int kFlashStageStallMs = 30000;

// Runs on the library's thread: what 1 progress (value the percent), 2 finished (value 1 success).
using FlashStatusHandler = std::function<void(int what, int value)>;

// Hands the image to the library; the stage's id, or 0 when the library refused it (its handler then
// never runs). The image stays alive until the stage ends.
int StartFlashStage(const FirmwareImage& image, FlashStatusHandler handler);
// Ends the stage without a final status; true when this call ended it, false when it had ended already.
bool CloseFlashStage(int stage);
// The stage is still waiting for its final status.
bool FlashStageOpen(int stage);
// The stage is open and has had no status for kFlashStageStallMs since it started or since its last one.
bool FlashStageStalled(int stage);
// Delivers a status record to a stage as the library would (for tests and the named callbacks).
void DeliverFlashStatus(int stage, const unsigned char* status);
// The callback the library was handed for the stage (null for an unknown stage).
UpgradeStatusCallback FlashStageCallback(int stage);
