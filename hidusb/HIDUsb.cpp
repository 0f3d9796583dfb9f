// Device library entry points: the C API of HIDUsb.h over the simulated devices of SimHub.
#include "hidusb/HIDUsb.h"

#include <QMap>
#include <QThread>
#include <QtDebug>
#include <cstddef>
#include <cstring>
#include <map>

#include "SimFlash.h"
#include "SimHub.h"
#include "hidusb/DeviceReplyRecords.h"
#include "hidusb/FlashDataMap.h"

static_assert(sizeof(UsbDeviceInfo) == 3, "UsbDeviceInfo layout");
static_assert(sizeof(UsbDeviceAttribute) == 12 && offsetof(UsbDeviceAttribute, VersionWord) == 8,
              "UsbDeviceAttribute layout");
static_assert(sizeof(UsbAddressReply) == 10 && offsetof(UsbAddressReply, Online) == 6 &&
                  offsetof(UsbAddressReply, ReceiverId) == 7,
              "UsbAddressReply layout");
static_assert(HIDUSB_FLASH_SIZE == SimFlash::kSize, "flash size");

using Sim::Device;
using Sim::Hub;
using Sim::Kind;

namespace {

using Lock = std::lock_guard<std::mutex>;

QString PathArg(const char* path) { return path ? QString("\"%1\"").arg(QString::fromLocal8Bit(path)) : "null"; }

// Path lists: one per enumeration kind and thread; the texts themselves are interned for good.
const char** Enumerate(const char* call, const char* vid, const char* pid, int* count) {
    thread_local std::map<std::string, std::vector<const char*>> lists;
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    const QString v = QString::fromLatin1(vid ? vid : "").toUpper();
    const QString p = QString::fromLatin1(pid ? pid : "").toUpper();
    std::vector<const char*>& list = lists[std::string(call) + "|" + v.toStdString() + "|" + p.toStdString()];
    list.clear();
    for (auto& d : hub.devices)
        if (d->plugged && !d->bootMode && d->vid == v && d->pid == p) list.push_back(hub.Intern(d->path));
    hub.Log(QString("%1(\"%2\", \"%3\") -> %4").arg(call, v, p).arg(list.size()));
    if (count) *count = int(list.size());
    return list.empty() ? nullptr : list.data();
}

// A read request on the current connection, answered later from the delivery thread.
bool Request(const char* call, std::function<void(Hub&, Device& mouse)> answer) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("%1()").arg(call));
    if (!hub.connOpen) return false;
    Device* via = hub.At(hub.connPath.c_str());
    if (hub.ConsumeFailure(via)) return true;
    Device* mouse = hub.AnsweringMouse(hub.connPath.c_str());
    if (!mouse) {
        hub.Log("  (no answer: the mouse does not answer)");
        return true;
    }
    if (mouse != via && hub.ConsumeFailure(mouse)) return true;
    answer(hub, *mouse);
    return true;
}

Device* AnsweringMouseOfConnection(Hub& hub) {
    return hub.connOpen ? hub.AnsweringMouse(hub.connPath.c_str()) : nullptr;
}

// Receiver record calls: false and the caller's record untouched where the receiver does not answer.
bool ReceiverRecord(const char* call, const char* path, uint8_t* (*field)(Device&), int size, unsigned char* out,
                    const unsigned char* in, bool (*valid)(const unsigned char*) = nullptr) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("%1(%2%3)").arg(call, PathArg(path),
                                    in ? ", " + QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(in), size).toHex(' '))
                                       : QString()));
    Device* r = hub.ReceiverAt(path);
    if (!r || (!out && !in) || hub.ConsumeFailure(r)) return false;
    if (out) {
        std::memcpy(out, field(*r), size_t(size));
        return true;
    }
    if (valid && !valid(in)) {
        hub.Log("  (refused: value out of range)");
        return false;
    }
    std::memcpy(field(*r), in, size_t(size));
    hub.Save(*r);
    return true;
}

uint8_t* RgbOf(Device& d) { return d.rgb; }
uint8_t* BarOf(Device& d) { return d.bar; }
uint8_t* LedsOf(Device& d) { return d.leds; }
bool RgbValid(const unsigned char* r) { return r[0] <= 3; }
bool BarValid(const unsigned char* b) { return b[0] <= 6 && b[4] <= 9 && b[5] <= 9 && b[6] <= 1; }
bool LedsValid(const unsigned char* l) { return l[0] <= 3 && l[1] <= 3 && l[2] <= 3; }

bool Fits(const Device& d, const SimFirmware::Info& info) {
    const bool kindOk = info.type == SimFirmware::kTypeMouse ? d.kind == Kind::Mouse : d.kind == Kind::Receiver;
    return kindOk && d.cid == info.cid && d.mid == info.mid && (d.model.isEmpty() || d.model == info.model);
}

// One flash under way: the device (by its Device::upgradeRun) and the link it runs over.
struct FlashRun {
    uint64_t id = 0;
    bool viaCable = false;  // a receiver or a mouse on its cable; else a mouse through its receiver
    std::string link;       // the device whose plug carries the flash
    uint64_t linkUnplugs = 0;
    bool ended = false;
};

enum class FlashStep { Go, Over, CutOff };

// At each step of a flash (hub.m held): goes on while the link holds. A receiver or a mouse on its cable
// unplugged, or the receiver a wireless mouse is flashed through unplugged, cuts the flash off, also when
// it was plugged in again before this step: the upgrade fails and the device stays in boot mode.
FlashStep CheckFlash(Hub& hub, FlashRun& run, Device** flashed) {
    if (run.ended) return FlashStep::Over;
    Device* d = nullptr;
    for (auto& device : hub.devices)
        if (device->upgradeRun == run.id) d = device.get();
    if (!d) {  // the device set was replaced
        run.ended = true;
        return FlashStep::Over;
    }
    *flashed = d;
    const Device* link = run.viaCable ? d : hub.ReceiverOf(*d);
    if (link && link->plugged && link->name.toStdString() == run.link && link->unplugs == run.linkUnplugs)
        return FlashStep::Go;
    run.ended = true;
    d->upgrading = false;
    hub.Save(*d);
    hub.Log(QString("(%1: upgrade cut off, boot mode)").arg(d->name));
    return FlashStep::CutOff;
}

}  // namespace

extern "C" {

const char** UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count) {
    return Enumerate("UsbFinderC_FindHidDevicesByDefaultDeviceId", vid, pid, count);
}

const char** UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid, int, int, int* count) {
    return Enumerate("UsbFinderC_FindHidDevicesByDeviceId", vid, pid, count);
}

bool UsbFinderC_GetUsbDeviceAttribute(const char* path, UsbDeviceAttribute* attribute) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_GetUsbDeviceAttribute(%1)").arg(PathArg(path)));
    Device* d = hub.At(path);
    if (!d || !attribute) return false;
    attribute->Size = sizeof(UsbDeviceAttribute);
    attribute->VendorId = uint16_t(d->vid.toUInt(nullptr, 16));
    attribute->ProductId = uint16_t(d->pid.toUInt(nullptr, 16));
    attribute->VersionWord = d->version;
    attribute->Unused = 0;
    return true;
}

UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path, int flags) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_GetDeviceInfo(%1, %2)").arg(PathArg(path)).arg(flags));
    UsbDeviceInfo info{0, 0};
    Device* d = hub.At(path);
    if (!d) return info;
    if (d->infoZeros > 0) {
        --d->infoZeros;
        return info;
    }
    info.CidMidWord = uint16_t(d->cid | (d->mid << 8));
    info.Type = Sim::TypeByte(*d);
    return info;
}

bool UsbFinderC_GetDeviceOnLine(const char* path) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    const bool online = hub.AnsweringMouse(path) != nullptr;
    hub.Log(QString("UsbFinderC_GetDeviceOnLine(%1) -> %2").arg(PathArg(path)).arg(online));
    return online;
}

bool UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, UsbAddressReply* reply) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_GetDeviceOnLineWithUsbAddress(%1)").arg(PathArg(path)));
    if (!reply) return false;
    std::memset(reply, 0, sizeof *reply);
    Device* d = hub.At(path);
    if (!d) return false;
    const bool online = hub.AnsweringMouse(path) != nullptr;
    reply->ReportId = 0x07;
    reply->LinkQuality = online ? 100 : 0;
    reply->Online = online ? 1 : 0;
    const Device* receiver = d->kind == Kind::Receiver ? (hub.PairedMouse(*d) ? d : nullptr) : hub.ReceiverOf(*d);
    if (receiver) std::memcpy(reply->ReceiverId, receiver->id, 3);
    return true;
}

uint16_t UsbFinderC_GetVersion(const char* path) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    Device* mouse = hub.AnsweringMouse(path);
    const uint16_t version = mouse ? mouse->version : 0;
    hub.Log(QString("UsbFinderC_GetVersion(%1) -> 0x%2").arg(PathArg(path)).arg(version, 4, 16, QChar('0')));
    return version;
}

bool UsbFinderC_GetSlaveVersion(const char* path, int* version) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_GetSlaveVersion(%1)").arg(PathArg(path)));
    Device* r = hub.ReceiverAt(path);
    if (!r || !version) return false;
    *version = r->version;
    return true;
}

void StartUsbChanged(UsbChangedCallback callback, int intervalMs) {
    Hub& hub = Hub::Get();
    {
        Lock lock(hub.m);
        hub.Log(QString("StartUsbChanged(%1)").arg(intervalMs));
        ++hub.hotPlugGeneration;
        hub.hotPlugPending = false;
        hub.hotPlug = callback;
        if (!hub.notifier || hub.notifier->thread() != QThread::currentThread()) {
            if (hub.notifier) hub.notifier->deleteLater();
            hub.notifier = new QObject;
        }
    }
    if (callback) callback();
}

void StopUsbChanged(void) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log("StopUsbChanged()");
    ++hub.hotPlugGeneration;
    hub.hotPlug = nullptr;
    hub.hotPlugPending = false;
}

bool UsbServerC_Start(const char* path, const char* interfacePath, UsbDataCallback callback) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbServerC_Start(%1, %2)").arg(PathArg(path), PathArg(interfacePath)));
    if (!path) return false;
    if (hub.connPath != path) hub.pendingFullRead = false;
    hub.connOpen = true;
    hub.connPath = path;
    hub.connCallback = callback;
    return hub.At(path) != nullptr;
}

void UsbServer_Exit(void) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log("UsbServer_Exit()");
    hub.connOpen = false;
    hub.connCallback = nullptr;
    hub.connPath.clear();
    hub.pendingFullRead = false;
}

bool UsbServer_SetPCDriverStatus(unsigned char status) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbServer_SetPCDriverStatus(%1)").arg(status));
    Device* mouse = AnsweringMouseOfConnection(hub);
    if (!mouse) return false;
    mouse->pcDriver = status;
    return true;
}

bool UsbServer_ReadAllFlashData(void) {
    Hub& hub = Hub::Get();
    {
        Lock lock(hub.m);
        // A mouse asleep behind its receiver sends its dump when it wakes.
        Device* via = hub.connOpen ? hub.ReceiverAt(hub.connPath.c_str()) : nullptr;
        Device* mouse = via ? hub.PairedMouse(*via) : nullptr;
        if (mouse && !mouse->awake && !mouse->bootMode && !mouse->plugged) hub.pendingFullRead = true;
    }
    return Request("UsbServer_ReadAllFlashData",
                   [](Hub& h, Device& m) { h.Post(h.connPath, HIDUSB_MSG_DATA, 0, 0, m.flash); });
}

bool UsbServer_ReadReportRate(void) {
    return Request("UsbServer_ReadReportRate", [](Hub& h, Device& m) {
        h.Post(h.connPath, HIDUSB_MSG_DATA, 0, 0, QByteArray(1, char(SimFlash::SettingByte(m.flash, 0))));
    });
}

bool UsbServer_ReadCurrentDPI(void) {
    return Request("UsbServer_ReadCurrentDPI", [](Hub& h, Device& m) {
        h.Post(h.connPath, HIDUSB_MSG_DATA, 0, 4, QByteArray(1, char(SimFlash::SettingByte(m.flash, 2))));
    });
}

bool UsbServer_ReadDPILed(void) {
    return Request("UsbServer_ReadDPILed", [](Hub& h, Device& m) {
        QByteArray p(8, '\0');
        p[0] = char(SimFlash::SettingByte(m.flash, 99));  // enable
        p[1] = char(SimFlash::SettingByte(m.flash, 96));  // mode
        p[2] = char(SimFlash::SettingByte(m.flash, 97));  // brightness
        p[3] = char(SimFlash::SettingByte(m.flash, 98));  // speed
        h.Post(h.connPath, HIDUSB_MSG_DATA, 0, 0x4C, p);
    });
}

bool UsbServer_ReadLedBar(void) {
    return Request("UsbServer_ReadLedBar", [](Hub& h, Device& m) {
        QByteArray p(9, '\0');
        p[0] = char(SimFlash::SettingByte(m.flash, 106));  // enable
        for (int i = 0; i < 6; ++i) p[1 + i] = char(SimFlash::SettingByte(m.flash, 100 + i));  // mode, rgb, speed, brightness
        p[7] = char(SimFlash::SettingByte(m.flash, 11));  // light off while moving
        h.Post(h.connPath, HIDUSB_MSG_DATA, 0, 0xA0, p);
    });
}

bool UsbServer_ReadBatteryLevel(void) {
    return Request("UsbServer_ReadBatteryLevel", [](Hub& h, Device& m) {
        QByteArray p(4, '\0');
        p[0] = char(m.charging ? (m.battery >= 100 ? 2 : 1) : 0);
        p[1] = char(m.battery);
        const int mv = 3300 + m.battery * 9;
        p[2] = char(mv & 0xFF);
        p[3] = char(mv >> 8);
        h.Post(h.connPath, HIDUSB_MSG_BATTERY, 0, 0, p);
    });
}

bool UsbServer_ReadConfig(void) {
    return Request("UsbServer_ReadConfig", [](Hub& h, Device& m) {
        h.Post(h.connPath, HIDUSB_MSG_CONFIG, 0, 0, QByteArray(1, char(m.config)));
    });
}

bool UsbServer_ReadVersion(void) {
    return Request("UsbServer_ReadVersion", [](Hub& h, Device& m) {
        QByteArray p(2, '\0');
        p[0] = char(m.version & 0xFF);
        p[1] = char(m.version >> 8);
        h.Post(h.connPath, HIDUSB_MSG_VERSION, 0, 0, p);
    });
}

bool UsbServer_ReadDonglePairStatus(void) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log("UsbServer_ReadDonglePairStatus()");
    Device* r = hub.connOpen ? hub.ReceiverAt(hub.connPath.c_str()) : nullptr;
    if (!r) return false;
    if (!hub.ConsumeFailure(r))
        hub.Post(hub.connPath, HIDUSB_MSG_PAIR_STATUS, 0, 0, QByteArray(1, char(r->pairStatus)));
    return true;
}

bool ProtocolDataParser(const unsigned char* flashDump, FlashDataMap* image) {
    QString error;
    const bool ok = image && SimFlash::Decode(flashDump, image, &error);
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("ProtocolDataParser() -> %1").arg(ok ? "ok" : error));
    if (!ok) qWarning("HIDUsb: ProtocolDataParser: %s", qPrintable(image ? error : QString("no image")));
    return ok;
}

bool ProtocolDataUpdate(const FlashDataMap* image) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    if (!image) {
        hub.Log("ProtocolDataUpdate(null) -> refused");
        return false;
    }
    hub.lastImage = QByteArray(reinterpret_cast<const char*>(image), int(sizeof(FlashDataMap)));
    Device* mouse = AnsweringMouseOfConnection(hub);
    if (!mouse) {
        hub.Log("ProtocolDataUpdate() -> no answering mouse");
        return false;
    }
    if (hub.ConsumeFailure(mouse)) return false;
    QByteArray flash;
    QString error;
    if (!SimFlash::Encode(*image, &flash, &error)) {
        hub.Log("ProtocolDataUpdate() -> refused: " + error);
        qWarning("HIDUsb: settings image refused, flash left unchanged: %s", qPrintable(error));
        return false;
    }
    mouse->flash = flash;
    hub.Save(*mouse);
    hub.Log("ProtocolDataUpdate() -> stored");
    return true;
}

bool BufferToDPILed(const unsigned char* payload, int payloadLength, unsigned char* dpiLed) {
    if (!payload || !dpiLed || payloadLength < 4) return false;
    dpiLed[0] = payload[1];  // mode
    dpiLed[1] = payload[2];  // brightness
    dpiLed[2] = payload[3];  // speed
    dpiLed[3] = payload[0];  // enable
    return true;
}

bool BufferToLedBar(const unsigned char* payload, int payloadLength, unsigned char* ledBar) {
    if (!payload || !ledBar || payloadLength < 7) return false;
    for (int i = 0; i < 6; ++i) ledBar[i] = payload[1 + i];  // mode, red, green, blue, speed, brightness
    ledBar[6] = payload[0];                                   // enable
    return true;
}

bool GetDeviceBatteryStatus(const unsigned char* payload, int payloadLength, BatteryStatus* status) {
    if (!payload || !status || payloadLength < 2) return false;
    status->Level = payload[1];
    status->Charging = payload[0] == 1 ? 1 : 0;
    status->Unused[0] = status->Unused[1] = 0;
    return true;
}

bool GetDeviceStatusChanged(const unsigned char* payload, int payloadLength, StatusChangeFlags* flags) {
    if (!payload || !flags || payloadLength < 1) return false;
    const uint8_t bits = payload[0];
    flags->DpiLevel = bits & 0x01;
    flags->ReportRate = (bits >> 1) & 1;
    flags->Reconnect = (bits >> 2) & 1;
    flags->DpiLight = (bits >> 3) & 1;
    flags->Unused4 = 0;
    flags->LightBar = (bits >> 5) & 1;
    flags->Battery = (bits >> 6) & 1;
    return true;
}

bool UsbServer_SetCurrentConfig(unsigned char index) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbServer_SetCurrentConfig(%1)").arg(index));
    Device* mouse = AnsweringMouseOfConnection(hub);
    if (!mouse || index > 3 || hub.ConsumeFailure(mouse)) return false;
    mouse->config = index;
    hub.Save(*mouse);
    return true;
}

bool UsbServer_SetBatteryOptimizeEnable(bool enable) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbServer_SetBatteryOptimizeEnable(%1)").arg(enable));
    Device* mouse = AnsweringMouseOfConnection(hub);
    if (!mouse) return false;
    mouse->batteryOptimize = enable;
    return true;
}

bool UsbServer_SetClearSetting(void) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log("UsbServer_SetClearSetting()");
    Device* mouse = AnsweringMouseOfConnection(hub);
    if (!mouse || hub.ConsumeFailure(mouse)) return false;
    mouse->flash = SimFlash::Factory(mouse->buttons);
    mouse->config = 0;
    hub.Save(*mouse);
    hub.Post(hub.connPath, HIDUSB_MSG_CLEAR_DONE, 0, 0, QByteArray(1, '\1'));
    return true;
}

bool UsbServer_EnterDonglePairOnlyCid(unsigned char cid) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbServer_EnterDonglePairOnlyCid(%1)").arg(cid));
    if (!hub.connOpen) return false;
    const std::string path = hub.connPath;
    Device* r = hub.ReceiverAt(path.c_str());
    if (!r) {
        hub.Post(path, HIDUSB_MSG_PAIR_STATUS, 0, 0, QByteArray(1, '\2'));
        return false;
    }
    r->pairStatus = 1;
    hub.Post(path, HIDUSB_MSG_PAIR_STATUS, 0, 0, QByteArray(1, '\1'));
    const QString name = r->name;
    hub.Schedule(hub.pairMs, [&hub, name, cid] {
        Lock inner(hub.m);
        Device* receiver = hub.Find(name);
        if (!receiver || receiver->pairStatus != 1) return;
        Device* mouse = nullptr;
        if (!receiver->failPairing) {
            Device* own = hub.PairedMouse(*receiver);
            if (own && own->cid == cid && !own->bootMode && !own->plugged) mouse = own;
            for (auto& d : hub.devices)
                if (!mouse && d->kind == Kind::Mouse && d->cid == cid && !d->bootMode && !d->plugged &&
                    d->pairedWith.isEmpty())
                    mouse = d.get();
        }
        receiver->failPairing = false;
        if (mouse) {
            for (auto& d : hub.devices)
                if (d->kind == Kind::Mouse && d->pairedWith == name) d->pairedWith.clear();
            mouse->pairedWith = name;
            mouse->awake = true;
            if (!receiver->id[0] && !receiver->id[1] && !receiver->id[2]) {
                const uint h = qHash(name);
                receiver->id[0] = uint8_t(h | 1), receiver->id[1] = uint8_t(h >> 8), receiver->id[2] = uint8_t(h >> 16);
            }
            hub.Save(*mouse);
        }
        receiver->pairStatus = mouse ? 3 : 2;
        hub.Log(QString("(%1: pairing %2)").arg(name, mouse ? "succeeded with " + mouse->name : QString("failed")));
        if (receiver->plugged && !receiver->bootMode)
            hub.Post(receiver->path, HIDUSB_MSG_PAIR_STATUS, 0, 0, QByteArray(1, char(receiver->pairStatus)));
    });
    return true;
}

bool UsbFinderC_SetLongRangeMode(const char* path, bool on) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_SetLongRangeMode(%1, %2)").arg(PathArg(path)).arg(on));
    Device* r = hub.ReceiverAt(path);
    if (!r || r->longRange < 0 || hub.ConsumeFailure(r)) return false;
    r->longRange = on ? 1 : 0;
    hub.Save(*r);
    return true;
}

bool UsbFinderC_GetLongRangeMode(const char* path, unsigned char* reply) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_GetLongRangeMode(%1)").arg(PathArg(path)));
    Device* r = hub.ReceiverAt(path);
    if (!r || !reply || r->longRange < 0 || hub.ConsumeFailure(r)) return false;
    *reply = uint8_t(r->longRange);
    return true;
}

bool UsbFinderC_Get4KDongleRGBValue(const char* path, unsigned char* record10) {
    return ReceiverRecord("UsbFinderC_Get4KDongleRGBValue", path, RgbOf, 10, record10, nullptr);
}
bool UsbFinderC_Set4KDongleRGB(const char* path, const unsigned char* record10) {
    return ReceiverRecord("UsbFinderC_Set4KDongleRGB", path, RgbOf, 10, nullptr, record10, RgbValid);
}
bool UsbFinderC_GetDongleRGBBarMode(const char* path, unsigned char* record7) {
    return ReceiverRecord("UsbFinderC_GetDongleRGBBarMode", path, BarOf, 7, record7, nullptr);
}
bool UsbFinderC_SetDongleRGBBarMode(const char* path, const unsigned char* record7) {
    return ReceiverRecord("UsbFinderC_SetDongleRGBBarMode", path, BarOf, 7, nullptr, record7, BarValid);
}
bool UsbFinderC_GetDongleIndicatorLed(const char* path, unsigned char* record3) {
    return ReceiverRecord("UsbFinderC_GetDongleIndicatorLed", path, LedsOf, 3, record3, nullptr);
}
bool UsbFinderC_SetDongleIndicatorLed(const char* path, const unsigned char* record3) {
    return ReceiverRecord("UsbFinderC_SetDongleIndicatorLed", path, LedsOf, 3, nullptr, record3, LedsValid);
}

bool UsbUpgradeC_FindBootDevices(const unsigned char* image, int* count) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    if (count) *count = 0;
    SimFirmware::Info info;
    QString error;
    if (!SimFirmware::Parse(image, &info, &error)) {
        hub.Log("UsbUpgradeC_FindBootDevices() -> 0: " + error);
        return false;
    }
    int n = 0;
    for (auto& d : hub.devices)
        if (d->bootMode && hub.Reachable(*d) && Fits(*d, info)) ++n;
    if (count) *count = n;
    hub.Log(QString("UsbUpgradeC_FindBootDevices(%1) -> %2").arg(QString::fromLocal8Bit(info.model)).arg(n));
    return count != nullptr;
}

bool UsbUpgrade_Start(const unsigned char* image, UpgradeStatusCallback callback, int timeoutMs) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    SimFirmware::Info info;
    QString error;
    auto refuse = [&hub](const QString& why) {
        hub.Log("UsbUpgrade_Start() -> refused: " + why);
        qWarning("HIDUsb: firmware upgrade refused: %s", qPrintable(why));
        return false;
    };
    if (!SimFirmware::Parse(image, &info, &error)) return refuse(error);
    if (!callback) return refuse("no status callback");
    // A device waiting in boot mode comes first; else the one answering device the image fits.
    std::vector<Device*> boot, normal;
    for (auto& d : hub.devices) {
        if (!Fits(*d, info)) continue;
        if (d->bootMode && hub.Reachable(*d)) boot.push_back(d.get());
        const Device* receiver = hub.ReceiverOf(*d);
        const bool answering = d->kind == Kind::Receiver
                                   ? d->plugged && !d->bootMode
                                   : !d->bootMode && (d->plugged || (receiver && hub.AnsweringMouse(receiver->path.c_str()) == d.get()));
        if (answering) normal.push_back(d.get());
    }
    const std::vector<Device*>& candidates = boot.empty() ? normal : boot;
    if (candidates.size() != 1)
        return refuse(QString("%1 devices fit the image %2").arg(candidates.size()).arg(QString::fromLocal8Bit(info.model)));
    Device* target = candidates.front();
    if (target->upgrading) return refuse(target->name + " is already being upgraded");
    if (hub.ConsumeFailure(target)) return refuse(target->name + " fails this start");
    target->upgrading = true;
    const int stallAt = target->stallUpgradeAt;
    target->stallUpgradeAt = -1;
    const int failAt = stallAt >= 0 ? stallAt : target->failUpgradeAt;
    if (stallAt < 0) target->failUpgradeAt = -1;
    hub.Log(QString("UsbUpgrade_Start(%1 v%2.%3, %4) -> %5")
                .arg(QString::fromLocal8Bit(info.model))
                .arg(info.version >> 8)
                .arg(info.version & 0xFF, 2, 16, QChar('0'))
                .arg(timeoutMs)
                .arg(target->name));

    // The device leaves for its boot loader at once and stays there, also in its stored state, until the
    // upgrade completes: a program that ends in the middle leaves it in boot mode.
    static uint64_t runs = 0;
    auto run = std::make_shared<FlashRun>();
    run->id = ++runs;
    target->upgradeRun = run->id;
    run->viaCable = target->kind == Kind::Receiver || target->plugged;
    if (const Device* link = run->viaCable ? target : hub.ReceiverOf(*target)) {
        run->link = link->name.toStdString();
        run->linkUnplugs = link->unplugs;
    }
    const bool wasBoot = target->bootMode;
    target->bootMode = true;
    hub.Save(*target);
    if (!wasBoot) hub.NotifyHotPlug();

    std::vector<int> steps;
    for (int p = 0; p <= 100; p += 10) {
        if (failAt >= 0 && p > failAt) break;
        steps.push_back(p);
    }
    if (failAt >= 0 && steps.back() != failAt) steps.push_back(failAt);
    const uint16_t newVersion = SimFirmware::VersionWord(info.version);
    const auto report = [callback](uint8_t what, uint8_t value) {
        const unsigned char status[3] = {7, what, value};
        callback(status);
    };
    int delay = 0;
    for (int p : steps) {
        hub.Schedule(delay, [&hub, run, report, p] {
            FlashStep step;
            {
                Lock inner(hub.m);
                Device* d = nullptr;
                step = CheckFlash(hub, *run, &d);
            }
            if (step == FlashStep::CutOff) report(2, 0);
            if (step == FlashStep::Go) report(1, uint8_t(p));
        });
        delay += hub.upgradeStepMs;
    }
    const bool success = failAt < 0;
    const bool silent = stallAt >= 0;
    hub.Schedule(delay, [&hub, run, report, newVersion, success, silent] {
        FlashStep step;
        {
            Lock inner(hub.m);
            Device* d = nullptr;
            step = CheckFlash(hub, *run, &d);
            if (step == FlashStep::Go) {
                run->ended = true;
                d->upgrading = false;
                if (success) {
                    d->version = newVersion;
                    d->bootMode = false;
                }
                hub.Save(*d);
                hub.Log(QString("(%1: upgrade %2)")
                            .arg(d->name, silent ? "went silent, boot mode" : success ? "succeeded" : "failed, boot mode"));
                if (success) hub.NotifyHotPlug();
            }
        }
        if (step == FlashStep::CutOff) report(2, 0);
        if (step == FlashStep::Go && !silent) report(2, success ? 1 : 0);
    });
    return true;
}

bool UsbFinderC_SetDongleIDToMouse(const char* path, const unsigned char* receiverId3) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Log(QString("UsbFinderC_SetDongleIDToMouse(%1)").arg(PathArg(path)));
    Device* mouse = hub.At(path);
    if (!mouse || mouse->kind != Kind::Mouse || !receiverId3 || hub.ConsumeFailure(mouse)) return false;
    for (auto& d : hub.devices) {
        if (d->kind == Kind::Receiver && std::memcmp(d->id, receiverId3, 3) == 0) {
            for (auto& other : hub.devices)
                if (other->kind == Kind::Mouse && other->pairedWith == d->name) other->pairedWith.clear();
            mouse->pairedWith = d->name;
            hub.Save(*mouse);
            return true;
        }
    }
    return false;
}

}  // extern "C"
