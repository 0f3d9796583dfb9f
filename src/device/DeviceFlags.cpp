#include "device/DeviceFlags.h"

#include "platform/Clock.h"

std::atomic<bool> UiLive{false};
std::atomic<int> DevicePageActive{0};
std::atomic<bool> WorkerRunEnable{false};
std::atomic<bool> OnlineNow{false};
std::atomic<bool> LastOnline{false};
std::atomic<bool> DeviceAnswered{false};
std::atomic<bool> DeviceOfflineShown{false};
std::atomic<bool> ReconnectRequested{false};
std::atomic<bool> ForceReread{false};
std::atomic<bool> DpiSendSuppressed{false};
std::atomic<int> ImportInProgress{0};
std::atomic<bool> UpdateIdle{true};
std::atomic<bool> ResetApplyPending{false};
std::atomic<bool> SkipDongleQuery{false};
std::atomic<int> BatteryTextEnabled{0};
std::atomic<bool> FlashDataFromDevice{false};

std::atomic<bool> ButtonPageRefreshing{false};
std::atomic<bool> LightPageRefreshing{false};
std::atomic<bool> SensorPageRefreshing{false};
std::atomic<bool> ButtonPageRefreshed{false};
std::atomic<bool> LightPageRefreshed{false};
std::atomic<bool> SensorPageRefreshed{false};

std::atomic<bool> MouseUpdateAvailable{false};
std::atomic<bool> ReceiverUpdateAvailable{false};
std::atomic<bool> UpdateStepRunning{false};
std::atomic<bool> RepairRunning{false};

Worker* DeviceWorker = nullptr;
std::atomic<bool> MacroRecording{false};
std::atomic<bool> PairCurrentDevice{false};
std::atomic<int> OfflineNoticeKind{0};
std::atomic<bool> SettingsWaitTimedOut{false};

ElapsedCounter ReconnectTimer;

void ElapsedCounter::Restart() {
    start_ = Clock::ElapsedMs();
}

qint64 ElapsedCounter::ElapsedMs() const {
    return Clock::ElapsedMs() - start_;
}

namespace {
std::mutex& NamesMutex() {
    static std::mutex mutex;
    return mutex;
}
QString& LoadName() {
    static QString name;
    return name;
}
QString& SaveName() {
    static QString name;
    return name;
}
}  // namespace

QString DeviceInfoLoadName() {
    std::lock_guard<std::mutex> lock(NamesMutex());
    return LoadName();
}

void SetDeviceInfoLoadName(const QString& name) {
    std::lock_guard<std::mutex> lock(NamesMutex());
    LoadName() = name;
}

QString DeviceInfoSaveName() {
    std::lock_guard<std::mutex> lock(NamesMutex());
    return SaveName();
}

void SetDeviceInfoSaveName(const QString& name) {
    std::lock_guard<std::mutex> lock(NamesMutex());
    SaveName() = name;
}
