#pragma once
// Device-command senders: one function per settings field. Each checks that the current device
// answers, hands a copy of CurrentFlashData with its field written to the device, and writes the field
// into CurrentFlashData once the device took it.
// True when the device took the image; false, with CurrentFlashData unchanged, when it was offline
// (SigMouseOffLineo with NoticeOffline unless a page fills itself), when the device refused the image
// (SigMouseOffLineo with NoticeNotTaken, a macro included), when the arguments are out of
// range, or while the image did not come from the current device yet (a re-read is then requested).
// GUI thread.

#include "core/CurrentFlashData.h"
#include "device/DeviceFlags.h"

bool IsDeviceOnline();
// After the device refused an act (its call returned false): the offline notice when it no longer
// answers, else one notice that it did not take the change; nothing while a page fills itself.
void ReportRefused();
bool SetReportRate(int rateCode);
bool SetCurrentDpiLevel(int level);
bool SetDpiLevelCount(int count);
bool SetDpiLevelValue(int level, int code, int codeCopy, int rangeFlags);
bool SetDpiLevelColor(int level, int red, int green, int blue);
// Level record j := a, then level record i := b; CurrentDpiLevel := current; DpiLevelCount := current + 1.
bool ExchangeDpiLevels(const DpiLevelRecord& a, const DpiLevelRecord& b, int i, int j, int current);
bool SetLod(int lodCode);
bool SetKeyDebounce(int ms);
bool SetReleaseDebounce(int ms);
bool SetWheelDebounce(int ms);
bool SetMotionSync(int on);
bool SetSleepTime(int sleepCode);
bool SetAngleSnap(int on);
bool SetRippleControl(int on);
bool SetPerformanceMode(int on);
bool SetPerformanceTime(int timeCode);
bool SetSensorMode(int mode);
bool SetAngleTune(int degrees);
bool SetScan20K(int on);
bool SetDpiLightMode(int mode);  // 0 = off (mode kept)
bool SetDpiLightBrightness(int brightness);
bool SetDpiLightSpeed(int speed);
bool SetMouseLightMode(int mode);  // 0 = off (mode kept)
bool SetMouseLightColor(int red, int green, int blue);
bool SetMouseLightSpeed(int speed);
bool SetMouseLightBrightness(int brightness);
bool SetMovingOffLight(int on);
bool SetButtonKey(int button, int type, int param1, int param2);
bool SetButtonAction(int button, const ButtonKeyEntry& entry, const KeyActionRecord& action);
bool SetButtonMacro(int button, const ButtonKeyEntry& entry, const MacroRecord& macro);
// The caller already changed CurrentFlashData: test and send only. On false the caller puts its change
// back.
bool SendFlashData();
// Hands the image to the device without the online test (after a receiver call).
void UpdateFlashData();
