#include "device/DeviceCommand.h"


#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "platform/DebugLog.h"

namespace {

bool PageFilling() {
    return ButtonPageRefreshing || LightPageRefreshing || SensorPageRefreshing;
}

bool OnlineOrNotice() {
    const QByteArray path = CurrentDevicePathCopy();
    if (!path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData())) return true;
    if (!PageFilling()) PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
    return false;
}

// The image may only go to the device it came from. Until the first full dump of the current device
// arrived, ask for one (the online poll reconnects with a forced re-read) and refuse.
bool ImageFromDevice() {
    if (FlashDataFromDevice) return true;
    qCDebug(VzDebug) << "settings image not read from this device yet; re-read requested";
    OnlineNow = true;
    ForceReread = true;
    ReconnectRequested = true;
    return false;
}

bool HandOver(const FlashDataMap& image) {
    if (ProtocolDataUpdate(&image)) return true;
    qCDebug(VzDebug) << "settings image not taken by the device";
    ReportRefused();
    return false;
}

// The common road: online test, the write on a copy, hand-over of the whole copy, and the same write
// on CurrentFlashData only once the device took it; a refused change leaves the image as it was.
template <class Write>
bool Send(Write write) {
    if (!OnlineOrNotice() || !ImageFromDevice()) return false;
    FlashDataMap image;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    write(image);
    if (!HandOver(image)) return false;
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    write(CurrentFlashData);
    return true;
}

bool ValidLevel(int level) {
    return level >= 0 && level < kDpiLevelMax;
}
bool ValidButton(int button) {
    return button >= 0 && button < kDeviceButtonCount;
}
uint8_t Byte(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

bool IsDeviceOnline() {
    return OnlineOrNotice();
}

void ReportRefused() {
    if (OnlineOrNotice() && !PageFilling()) PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeNotTaken);
}

bool SetReportRate(int rateCode) {
    return Send([&](FlashDataMap& m) { m.ReportRateCode = Byte(rateCode); });
}

bool SetCurrentDpiLevel(int level) {
    if (!ValidLevel(level)) return false;
    return Send([&](FlashDataMap& m) { m.CurrentDpiLevel = Byte(level); });
}

bool SetDpiLevelCount(int count) {
    if (count < 1 || count > kDpiLevelMax) return false;
    return Send([&](FlashDataMap& m) { m.DpiLevelCount = Byte(count); });
}

bool SetDpiLevelValue(int level, int code, int codeCopy, int rangeFlags) {
    if (!ValidLevel(level)) return false;
    return Send([&](FlashDataMap& m) {
        m.DpiLevels[level].DpiCode = Byte(code);
        m.DpiLevels[level].DpiCodeCopy = Byte(codeCopy);
        m.DpiLevels[level].DpiRangeFlags = Byte(rangeFlags);
    });
}

bool SetDpiLevelColor(int level, int red, int green, int blue) {
    if (!ValidLevel(level)) return false;
    return Send([&](FlashDataMap& m) {
        m.DpiLevels[level].ColorR = Byte(red);
        m.DpiLevels[level].ColorG = Byte(green);
        m.DpiLevels[level].ColorB = Byte(blue);
    });
}

bool ExchangeDpiLevels(const DpiLevelRecord& a, const DpiLevelRecord& b, int i, int j, int current) {
    if (!ValidLevel(i) || !ValidLevel(j) || !ValidLevel(current)) return false;
    return Send([&](FlashDataMap& m) {
        m.DpiLevels[j] = a;
        m.DpiLevels[i] = b;
        m.CurrentDpiLevel = Byte(current);
        m.DpiLevelCount = Byte(current + 1);
    });
}

bool SetLod(int lodCode) {
    return Send([&](FlashDataMap& m) { m.LodCode = Byte(lodCode); });
}

bool SetKeyDebounce(int ms) {
    return Send([&](FlashDataMap& m) { m.KeyDebounceMs = Byte(ms); });
}

bool SetReleaseDebounce(int ms) {
    return Send([&](FlashDataMap& m) { m.ReleaseDebounceMs = Byte(ms); });
}

bool SetWheelDebounce(int ms) {
    return Send([&](FlashDataMap& m) { m.WheelDebounceMs = Byte(ms); });
}

bool SetMotionSync(int on) {
    return Send([&](FlashDataMap& m) { m.MotionSyncEnable = Byte(on); });
}

bool SetSleepTime(int sleepCode) {
    return Send([&](FlashDataMap& m) { m.SleepTimeCode = Byte(sleepCode); });
}

bool SetAngleSnap(int on) {
    return Send([&](FlashDataMap& m) { m.AngleSnap = Byte(on); });
}

bool SetRippleControl(int on) {
    return Send([&](FlashDataMap& m) { m.RippleControl = Byte(on); });
}

bool SetPerformanceMode(int on) {
    return Send([&](FlashDataMap& m) { m.PerformanceMode = Byte(on); });
}

bool SetPerformanceTime(int timeCode) {
    return Send([&](FlashDataMap& m) { m.PerformanceTimeCode = Byte(timeCode); });
}

bool SetSensorMode(int mode) {
    return Send([&](FlashDataMap& m) { m.SensorModeIndex = Byte(mode); });
}

bool SetAngleTune(int degrees) {
    return Send([&](FlashDataMap& m) {
        m.AngleTuneEnable = 1;
        m.AngleTune = static_cast<int8_t>(Byte(degrees));
    });
}

bool SetScan20K(int on) {
    return Send([&](FlashDataMap& m) { m.Scan20K = Byte(on); });
}

bool SetDpiLightMode(int mode) {
    return Send([&](FlashDataMap& m) {
        if (Byte(mode) != 0) {
            m.DpiLightEnable = 1;
            m.DpiLightMode = Byte(mode);
        } else {
            m.DpiLightEnable = 0;
        }
    });
}

bool SetDpiLightBrightness(int brightness) {
    return Send([&](FlashDataMap& m) { m.DpiLightBrightness = Byte(brightness); });
}

bool SetDpiLightSpeed(int speed) {
    return Send([&](FlashDataMap& m) { m.DpiLightSpeed = Byte(speed); });
}

bool SetMouseLightMode(int mode) {
    return Send([&](FlashDataMap& m) {
        if (Byte(mode) != 0) {
            m.MouseLightEnable = 1;
            m.MouseLightMode = Byte(mode);
        } else {
            m.MouseLightEnable = 0;
        }
    });
}

bool SetMouseLightColor(int red, int green, int blue) {
    return Send([&](FlashDataMap& m) {
        m.MouseLightRed = Byte(red);
        m.MouseLightGreen = Byte(green);
        m.MouseLightBlue = Byte(blue);
    });
}

bool SetMouseLightSpeed(int speed) {
    return Send([&](FlashDataMap& m) { m.MouseLightSpeed = Byte(speed); });
}

bool SetMouseLightBrightness(int brightness) {
    return Send([&](FlashDataMap& m) { m.MouseLightBrightness = Byte(brightness); });
}

bool SetMovingOffLight(int on) {
    return Send([&](FlashDataMap& m) { m.MovingOffLight = Byte(on); });
}

bool SetButtonKey(int button, int type, int param1, int param2) {
    if (!ValidButton(button)) return false;
    return Send([&](FlashDataMap& m) {
        m.ButtonKeys[button] = ButtonKeyEntry{Byte(type), Byte(param1), Byte(param2)};
    });
}

bool SetButtonAction(int button, const ButtonKeyEntry& entry, const KeyActionRecord& action) {
    if (!ValidButton(button)) return false;
    return Send([&](FlashDataMap& m) {
        m.ButtonKeys[button] = entry;
        m.ButtonActions[button] = action;
    });
}

bool SetButtonMacro(int button, const ButtonKeyEntry& entry, const MacroRecord& macro) {
    if (!ValidButton(button)) return false;
    // The library's answer does not say whether the mouse had no room for the macro or refused it for
    // another reason: the notice says only that it did not take the change.
    return Send([&](FlashDataMap& m) {
        m.ButtonKeys[button] = entry;
        m.ButtonMacros[button] = macro;
    });
}

bool SendFlashData() {
    return Send([](FlashDataMap&) {});
}

void UpdateFlashData() {
    if (!FlashDataFromDevice) return;
    FlashDataMap image;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    ProtocolDataUpdate(&image);
}
