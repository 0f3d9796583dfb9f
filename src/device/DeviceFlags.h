#pragma once
// Process-wide state that links the GUI thread, the device thread and the library's data thread.
// Every flag is atomic; each writer stores a whole value.

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <mutex>

class Worker;

// Device connection and thread control.
extern std::atomic<bool> UiLive;              // device window shown at least once; panels inert while false
extern std::atomic<bool> WorkerRunEnable;     // Worker::run returns at once while false
extern std::atomic<bool> OnlineNow;           // last online answer for the current device
extern std::atomic<bool> LastOnline;          // online state of the last connection
extern std::atomic<bool> DeviceAnswered;      // the current device delivered data
extern std::atomic<bool> DeviceOfflineShown;  // offline state shown; the online poll watches the device
extern std::atomic<bool> ReconnectRequested;  // the online poll restarts the device thread
extern std::atomic<bool> ForceReread;         // the next connection is a forced re-read
extern std::atomic<bool> DpiSendSuppressed;   // a profile import or restore runs
extern std::atomic<int> ImportInProgress;     // 1 while a profile import's wait dialog runs
extern std::atomic<bool> UpdateIdle;          // no firmware update or repair runs
extern std::atomic<bool> ResetApplyPending;   // the next full dump clears the button records
extern std::atomic<bool> SkipDongleQuery;     // the next full dump skips the receiver queries
extern std::atomic<int> BatteryTextEnabled;   // Option/ShowBatteryValue

// The device window: shown by the top-level window for a chosen device until it shows the home page
// again. The one record of it for every page and thread. Pairing started in it pauses the device
// thread's work there until pairing ends.
class DeviceWindowState {
public:
    void Enter();
    void Leave();
    bool Shown() const;
    // Counts the leaves: work started in the window compares the count to learn that the window was
    // left meanwhile, also when it was shown again since.
    unsigned Leaves() const;
    void Pause();  // only while shown
    void Resume();
    // Shown and not paused: only then does the device thread connect and its online poll watch.
    bool Active() const;

private:
    std::atomic<unsigned> state_{0};  // leaves * 2, + 1 while shown
    std::atomic<bool> paused_{false};
};
extern DeviceWindowState DeviceWindow;

// Set by a full dump of the current device; cleared whenever the current device changes. Until it is
// set, CurrentFlashData did not come from the current device and the senders refuse to send it.
extern std::atomic<bool> FlashDataFromDevice;

// Page refresh flags.
extern std::atomic<bool> ButtonPageRefreshing;
extern std::atomic<bool> LightPageRefreshing;
extern std::atomic<bool> SensorPageRefreshing;
extern std::atomic<bool> ButtonPageRefreshed;
extern std::atomic<bool> LightPageRefreshed;
extern std::atomic<bool> SensorPageRefreshed;

// Firmware update state shared with the device link.
extern std::atomic<bool> MouseUpdateAvailable;
extern std::atomic<bool> ReceiverUpdateAvailable;
extern std::atomic<bool> UpdateStepRunning;
extern std::atomic<bool> RepairRunning;

// Other shared state.
extern Worker* DeviceWorker;  // GUI thread only; created by the button page
extern std::atomic<bool> MacroRecording;
extern std::atomic<bool> PairCurrentDevice;
// What the notice of SigMouseOffLineo says.
enum NoticeKind {
    NoticeOffline = 0,   // the mouse does not answer; it closes when the mouse is back
    NoticeTimeOut = 1,   // the settings update timed out
    NoticeNotTaken = 2,  // the mouse refused a change
    // the receiver refused a change of its own (the long-range mode)
    NoticeReceiverNotTaken = 4,
};
extern std::atomic<int> OfflineNoticeKind;  // a NoticeKind
// The last settings-update wait timed out; no wait starts by itself until the user opens a page or
// comes back to the device.
extern std::atomic<bool> SettingsWaitTimedOut;

// Elapsed-time counter on the program clock, safe to use from any thread.
class ElapsedCounter {
public:
    void Restart();
    qint64 ElapsedMs() const;

private:
    std::atomic<qint64> start_{0};
};
extern ElapsedCounter ReconnectTimer;  // the 3000 ms reconnect limit

// Cache file names of the current device (full paths); guarded by their own lock.
QString DeviceInfoLoadName();
void SetDeviceInfoLoadName(const QString& name);
QString DeviceInfoSaveName();
void SetDeviceInfoSaveName(const QString& name);
