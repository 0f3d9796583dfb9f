#include "device/Worker.h"

#include <QDir>
#include <QTimer>

#include "core/ConfigIni.h"
#include "core/DeviceProductTable.h"
#include "core/PostMsg.h"
#include "device/DeviceDataCallback.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"

QTimer* OnlinePollTimer = nullptr;
bool (*Worker::RepairDialogVisible)() = nullptr;
bool (*Worker::UpdateAvailable)(int, const QString&, int) = nullptr;

namespace {
constexpr int kPollIntervalMs = 1300;
constexpr qint64 kReconnectLimitMs = 3000;

bool PathOnline(const QByteArray& path) {
    return !path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData());
}

void SetCurrentDevice(const DeviceAllInfo& info) {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    CurrentDevice = info;
}
}  // namespace

Worker::Worker(QObject*) : SeenLeaves(DeviceWindow.Leaves()) {
    RegisterDeviceMetaTypes();
    WorkerRunEnable = true;
    ReconnectTimer.Restart();
    SetCurrentDevicePath(QByteArray());
    OnlineNow = false;

    pollTimer_ = new QTimer(this);
    OnlinePollTimer = pollTimer_;
    connect(pollTimer_, SIGNAL(timeout()), this, SLOT(SlotCheckOnline()));
    pollTimer_->setInterval(kPollIntervalMs);
    pollTimer_->start();

    PostMsg::Connect(SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), this,
                     SLOT(SlotSelectMouseInfo(DeviceAllInfo)));

    BatteryTextEnabled = ConfigIni::GetInstance()->GetValue("Option", "ShowBatteryValue").toInt();
}

Worker::~Worker() {
    ClearRunFlag();
    wait();
    if (OnlinePollTimer == pollTimer_) OnlinePollTimer = nullptr;
}

void Worker::ClearRunFlag() {
    WorkerRunEnable = false;
}

void Worker::run() {
    if (!WorkerRunEnable) return;
    const QByteArray path = CurrentDevicePathCopy();
    if (!OnlineNow) OnlineNow = PathOnline(path);

    // The device window was left since the last connection: the next one counts as changed.
    if (DeviceWindow.Leaves() != SeenLeaves) {
        SeenLeaves = DeviceWindow.Leaves();
        LastOnline = false;
    }
    const DeviceAllInfo device = CurrentDeviceCopy();
    const bool due = DeviceWindow.Active() && (device.Path != LastPath || device.Type != LastType ||
                                               LastOnline != OnlineNow || ForceReread);
    if (due) {
        PostMsg* hub = PostMsg::GetInstance();
        const bool online = PathOnline(path);
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice.Online = online;
        }
        if (online) {
            if (SettingsWaitTimedOut) {
                // After a time-out no wait starts by itself; the re-read below still runs.
                ForceReread = false;
            } else if (ForceReread) {
                hub->EmitSigUpDataParam(1);
                ForceReread = false;
            } else if (!DpiSendSuppressed) {
                hub->EmitSigUpDataParam(0);
            }
        } else {
            DeviceOfflineShown = true;
            FlashDataMap cached{};
            if (ReadDeviceInfoFile(DeviceInfoLoadName(), &cached)) {
                hub->EmitSigUpDataLightUIButton(cached);
                hub->EmitSigUpDataLightLight(cached);
                hub->EmitSigUpDataLightSensor(cached);
                hub->EmitSigForm();
            } else {
                hub->EmitSigFormReset();
            }
            // The offline notice; the online poll closes it when the device answers.
            hub->EmitSigMouseOffLineo(0);
        }
        LastPath = device.Path;
        LastType = device.Type;
        UsbServerC_Start(path.constData(), path.constData(), DeviceDataCallback);
        qCDebug(VzDebug) << "OnlinA";
        UsbServer_SetPCDriverStatus(1);
        UsbServer_ReadAllFlashData();
        LastOnline = bool(OnlineNow);
        qCDebug(VzDebug) << "OnlinB";
    }
    DeviceAnswered = bool(OnlineNow);
    WorkerRunEnable = false;
}

void Worker::SlotCheckOnline() {
    if (DeviceOfflineShown) {
        if (!DeviceWindow.Active()) {
            if (CurrentDeviceCopy().Type != 0) DeviceOfflineShown = false;
        } else if (UpdateIdle) {
            OnlineNow = PathOnline(CurrentDevicePathCopy());
            LastOnline = false;
            if (!OnlineNow) return;
            PostMsg::GetInstance()->EmitSigCloseOffOnline();
            DeviceOfflineShown = false;
        }
    }
    if (OnlineNow && ReconnectRequested) {
        ReconnectRequested = false;
        WorkerRunEnable = true;
        start();
    }
}

void Worker::SlotSelectMouseInfo(DeviceAllInfo SelectInfo) {
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        // The path of another device must not stay in use; the hot-plug callback finds the new one.
        if (CurrentDevicePath != SelectInfo.Path) CurrentDevicePath.clear();
        CurrentDevice = SelectInfo;
    }
    FlashDataFromDevice = false;
    SettingsWaitTimedOut = false;
    SetDeviceInfoLoadName(DeviceInfoFilePath(SelectInfo.CidMidWord));
}

void Worker::StartDevice(DeviceAllInfo info) {
    if (PathOnline(info.Path)) {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        if (CurrentDevice.Path != info.Path) FlashDataFromDevice = false;
        CurrentDevice = info;
        CurrentDevicePath = info.Path;
    }
    WorkerRunEnable = true;
    start();
}

void Worker::ReadChangedStatus(const StatusChangeFlags& flags) {
    if (flags.DpiLevel) UsbServer_ReadCurrentDPI();
    if (flags.ReportRate) UsbServer_ReadReportRate();
    if (flags.Battery) UsbServer_ReadBatteryLevel();
    if (flags.LightBar) UsbServer_ReadLedBar();
    if (flags.DpiLight) UsbServer_ReadDPILed();
    if (flags.Reconnect && ReconnectTimer.ElapsedMs() > kReconnectLimitMs) {
        ReconnectTimer.Restart();
        ReconnectRequested = true;
        ForceReread = true;
    }
}

void Worker::FindDevices(const QStringList& vids, const QStringList& pids) {
    const QByteArray currentPath = CurrentDeviceCopy().Path;
    bool currentFound = false;
    for (const QString& vid : vids) {
        for (const QString& pid : pids) {
            int count = 5;
            const char** paths = UsbFinderC_FindHidDevicesByDeviceId(
                vid.toLocal8Bit().constData(), pid.toLocal8Bit().constData(), 1, 5, &count);
            for (int j = 0; paths && j < count; ++j) {
                DeviceAllInfo record = DeviceDiscovery::NewRecord(paths[j], vid, pid);
                if (currentPath.isEmpty()) {
                    DevicePageDevices.append(record);
                    continue;
                }
                const int result = MatchConfigDevice(record, paths[j]);
                if (result != 1) {
                    DevicePageDevices.append(record);
                    continue;
                }
                if (record.DriveIndex == CurrentDeviceCopy().DriveIndex) DevicePageDevices.append(record);
                if (record.Path == currentPath) {
                    SetCurrentDevicePath(QByteArray(paths[j]));
                    currentFound = true;
                }
            }
        }
    }
    if (!currentFound) SetCurrentDevicePath(QByteArray());
}

int Worker::MatchConfigDevice(DeviceAllInfo& info, const char* libraryPath) {
    const int result = DeviceDiscovery::MatchToProductTable(info);
    if (result != 1) return result;
    const DeviceAllInfo current = CurrentDeviceCopy();
    if (current.Path.isEmpty()) {
        info.Online = UsbFinderC_GetDeviceOnLine(libraryPath);
        return 1;
    }
    info.ReceiverId.clear();
    UsbAddressReply reply{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(libraryPath, &reply);
    DeviceDiscovery::ApplyLinkReply(info, reply);
    if (info.Path == current.Path) {
        DeviceAllInfo updated = info;
        if (!current.MouseVersion.isEmpty()) updated.MouseVersion = current.MouseVersion;
        if (!current.Version.isEmpty()) updated.Version = current.Version;
        SetCurrentDevice(updated);
    }
    return 1;
}

void DeviceUsbChangedCallback() {
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigSetver(4);
    const QStringList vids = DeviceProductTable::Vids();
    const QStringList pids = DeviceProductTable::EnumerationPids();

    DevicePageDevices.clear();
    if (DeviceWorker) DeviceWorker->FindDevices(vids, pids);

    if (DevicePageDevices.isEmpty()) {
        if (UpdateIdle) {
            SetCurrentDevice(DeviceAllInfo());
            SetCurrentDevicePath(QByteArray());
            FlashDataFromDevice = false;
            hub->EmitSigChangeMainDialog(0);
        }
    } else {
        int count = 0;
        const QList<DeviceAllInfo> entries = DevicePageDevices;
        for (const DeviceAllInfo& entry : entries) {
            const DeviceAllInfo current = CurrentDeviceCopy();
            if (!current.Path.isEmpty() && entry.IsUsb && entry.Online &&
                entry.DriveIndex == current.DriveIndex && !current.IsUsb && entry.ReceiverId.size() == 3 &&
                entry.ReceiverId == current.ReceiverId && DeviceWorker) {
                DeviceWorker->StartDevice(entry);
            }
            const QByteArray currentPath = CurrentDeviceCopy().Path;
            if (!currentPath.isEmpty() && entry.Path != currentPath) {
                ++count;
                if (count == entries.size() && UpdateIdle) hub->EmitSigChangeMainDialog(0);
            }
        }

        const DeviceAllInfo current = CurrentDeviceCopy();
        // While an update or repair runs, a device that leaves or comes back for its upgrade changes
        // neither the offer nor the version texts: the run's own status reports them.
        if (current.IsUsb && UpdateIdle) {
            QString receiverVersion;
            int receiverClass = 0;
            if (entries.size() == 2) {
                for (const DeviceAllInfo& entry : entries) {
                    if (!entry.ReceiverId.isEmpty() && !entry.IsUsb) {
                        receiverVersion = entry.Version;
                        receiverClass = DeviceProductTable::ReceiverClass(entry.Type);
                        break;
                    }
                }
            }
            if (QDir(Paths::InstallDir() + "/bin").exists() && Worker::UpdateAvailable) {
                ReceiverUpdateAvailable = Worker::UpdateAvailable(211, receiverVersion, receiverClass);
                MouseUpdateAvailable = Worker::UpdateAvailable(210, current.MouseVersion, receiverClass);
                hub->EmitSigLabelTextB(receiverVersion,
                                       ReceiverUpdateAvailable || MouseUpdateAvailable ? "true" : "");
            } else {
                hub->EmitSigLabelTextB(receiverVersion, "");
            }
        }
    }
    if (Worker::RepairDialogVisible && Worker::RepairDialogVisible() && !UpdateStepRunning)
        hub->EmitSigCheckUpdate();
}
