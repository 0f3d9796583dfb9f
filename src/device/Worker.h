#pragma once
// The device thread: connects the device window to the chosen device, and the GUI-thread parts
// around it (online poll, device choice, the device window's hot-plug callback).

#include <QByteArray>
#include <QStringList>
#include <QThread>

#include "core/DeviceAllInfo.h"
#include "hidusb/HIDUsb.h"

class QTimer;

class Worker : public QThread {
    Q_OBJECT
public:
    explicit Worker(QObject* parent = nullptr);
    ~Worker() override;

    // GUI thread: makes info the current device when it answers, then starts the thread.
    void StartDevice(DeviceAllInfo info);
    static void ClearRunFlag();
    // Library thread: asks for the values the mouse reports as changed; honours a reconnect
    // request at most once per 3000 ms.
    static void ReadChangedStatus(const StatusChangeFlags& flags);

    // The device window's enumeration into DevicePageDevices; re-finds the current device.
    void FindDevices(const QStringList& vids, const QStringList& pids);
    // 0 no answer (or no product section), 1 matched, 2 CID matched but no MID, 3 CID did not match.
    int MatchConfigDevice(DeviceAllInfo& info, const char* libraryPath);

    // Stand-ins for the settings page's firmware services until it exists: whether the repair dialog
    // is visible, and whether an image with another version exists (kind, version, receiver class).
    static bool (*RepairDialogVisible)();
    static bool (*UpdateAvailable)(int kind, const QString& version, int receiverClass);

    QTimer* PollTimer() const { return pollTimer_; }

public slots:
    void SlotCheckOnline();
    void SlotSelectMouseInfo(DeviceAllInfo SelectInfo);

protected:
    void run() override;

private:
    QByteArray LastPath;
    int LastType = 0;
    unsigned SeenLeaves;  // the device window's leaves at the last connection
    QTimer* pollTimer_ = nullptr;
};

// The one online-poll timer of the worker (1300 ms).
extern QTimer* OnlinePollTimer;

// The device window's hot-plug callback (GUI thread).
void DeviceUsbChangedCallback();
