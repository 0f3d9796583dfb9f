#include "device/DeviceDiscovery.h"

#include "core/ConfigIni.h"
#include "core/DeviceProductTable.h"

UsbAddressReply HomeLinkReply{};
UsbAddressReply WorkerLinkReply{};

namespace DeviceDiscovery {

namespace {

// Replaces the entry in FoundDevices and the same device in the mirror (found by its path: after the
// grid removed receivers, the two lists no longer share indexes).
void ReplaceFound(int index, const DeviceAllInfo& info) {
    const QByteArray oldPath = FoundDevices.at(index).Path;
    FoundDevices.replace(index, info);
    for (int i = 0; i < FoundDevicesMirror.size(); ++i) {
        if (FoundDevicesMirror.at(i).Path == oldPath) {
            FoundDevicesMirror.replace(i, info);
            break;
        }
    }
}

bool ReadLink(DeviceAllInfo& info, UsbAddressReply& reply) {
    reply = UsbAddressReply{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(info.Path.constData(), &reply);
    ApplyLinkReply(info, reply);
    return true;
}

}  // namespace

DeviceAllInfo NewRecord(const char* path, const QString& vid, const QString& pid) {
    DeviceAllInfo info;
    info.Path = QByteArray(path);
    info.Vid = vid;
    info.Pid = pid;
    UsbDeviceAttribute attribute{};
    UsbFinderC_GetUsbDeviceAttribute(path, &attribute);
    info.Version = VersionText(attribute.VersionWord);
    info.Online = false;
    return info;
}

int MatchToProductTable(DeviceAllInfo& info) {
    const int total = DeviceProductTable::DeviceTotal();
    if (total <= 0) return 0;

    UsbDeviceInfo answer{};
    bool answered = false;
    for (int call = 1; call <= kIdentifyCalls; ++call) {
        answer = UsbFinderC_GetDeviceInfo(info.Path.constData(), 0);
        if ((answer.CidMidWord & 0xFF) != 0 || (answer.CidMidWord >> 8) != 0) {
            answered = call < kIdentifyCalls;
            break;
        }
    }
    info.IsUsb = DeviceAllInfo::TypeIsUsb(answer.Type);
    info.DriveIndex = total;
    if (!answered) return 0;

    const int cid = answer.CidMidWord & 0xFF;
    const int mid = answer.CidMidWord >> 8;
    if (cid != DeviceProductTable::CidText().toInt()) return 3;
    for (int n = 0; n < total; ++n) {
        const QString midText = DeviceProductTable::MidText(n);
        if (!midText.isEmpty() && midText.toInt() == mid) {
            info.CidMidWord = answer.CidMidWord;
            info.Type = answer.Type;
            info.DriveIndex = n;
            return 1;
        }
    }
    return 2;
}

void ApplyLinkReply(DeviceAllInfo& info, const UsbAddressReply& reply) {
    info.Online = reply.Online == 1;
    info.ReceiverId = {reply.ReceiverId[0], reply.ReceiverId[1], reply.ReceiverId[2]};
}

bool MatchHomeDevice(DeviceAllInfo& info) {
    const int result = MatchToProductTable(info);
    if (result == 1) info.Online = UsbFinderC_GetDeviceOnLine(info.Path.constData());
    return result != 0 || DeviceProductTable::DeviceTotal() > 0;
}

void FindHomeDevices(const QStringList& vids, const QStringList& pids) {
    for (const QString& vid : vids) {
        for (const QString& pid : pids) {
            int count = 5;
            const char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(
                vid.toLocal8Bit().constData(), pid.toLocal8Bit().constData(), &count);
            for (int j = 0; paths && j < count; ++j) {
                DeviceAllInfo record = NewRecord(paths[j], vid, pid);
                if (MatchHomeDevice(record)) {
                    FoundDevices.append(record);
                    FoundDevicesMirror.append(record);
                }
            }
        }
    }
}

void ScanHomeDevices() {
    const QStringList vids = DeviceProductTable::Vids();
    FoundDevices.clear();
    FoundDevicesMirror.clear();
    ConfigIni* table = ConfigIni::GetInstance();
    WirelessPids = table->GetStringList("Option", "Wireless_PID");
    Wireless2Pids = table->GetStringList("Option", "Wireless2_PID");
    Wireless4Pids = table->GetStringList("Option", "Wireless4_PID");
    Wireless8Pids = table->GetStringList("Option", "Wireless8_PID");
    FindHomeDevices(vids, DeviceProductTable::EnumerationPids());
}

bool RefreshDeviceLinkState(int index) {
    if (index < 0 || index >= FoundDevices.size()) return false;
    DeviceAllInfo info = FoundDevices.at(index);
    info.Online = false;
    ReadLink(info, HomeLinkReply);
    ReplaceFound(index, info);
    const int zeros = int(info.ReceiverId.count(0));
    return zeros < 3;
}

bool RefreshDeviceEntry(int index) {
    if (index < 0 || index >= FoundDevices.size()) return false;
    DeviceAllInfo info = FoundDevices.at(index);
    info.Online = false;
    ReadLink(info, HomeLinkReply);
    const UsbAddressReply reply = HomeLinkReply;
    MatchHomeDevice(info);
    ApplyLinkReply(info, reply);
    ReplaceFound(index, info);
    return true;
}

}  // namespace DeviceDiscovery
