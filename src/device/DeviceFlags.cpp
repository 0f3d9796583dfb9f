#include "device/DeviceFlags.h"

#include "platform/Clock.h"

std::atomic<bool> UiLive{false};
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
DeviceWindowState DeviceWindow;

void DeviceWindowState::Enter() {
    state_ |= 1u;
}

void DeviceWindowState::Leave() {
    unsigned state = state_;
    while (!state_.compare_exchange_weak(state, ((state >> 1) + 1) << 1)) {
    }
    paused_ = false;
}

bool DeviceWindowState::Shown() const {
    return state_ & 1u;
}

unsigned DeviceWindowState::Leaves() const {
    return state_ >> 1;
}

void DeviceWindowState::Pause() {
    if (Shown()) paused_ = true;
}

void DeviceWindowState::Resume() {
    paused_ = false;
}

bool DeviceWindowState::Active() const {
    return Shown() && !paused_;
}

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
