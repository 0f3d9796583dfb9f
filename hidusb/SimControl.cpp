// Control interface of the simulated devices (HidSimControl.h) and the local control socket.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QtDebug>
#include <atomic>
#include <cstring>

#include "SimFlash.h"
#include "SimHub.h"
#include "hidusb/FlashDataMap.h"
#include "hidusb/HidSimControl.h"

using Sim::Device;
using Sim::Hub;
using Sim::Kind;

namespace {

using Lock = std::lock_guard<std::mutex>;

std::atomic<bool> g_listening{false};

// Runs action on the named device under the library lock; false when there is no such device of the
// wanted kind (any kind when wanted is null) or the action says so.
template <typename Action>
bool WithDevice(const QString& name, const Kind* wanted, Action action) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    Device* d = hub.Find(name);
    if (!d || (wanted && d->kind != *wanted)) return false;
    return action(hub, *d);
}

const Kind kMouse = Kind::Mouse;
const Kind kReceiver = Kind::Receiver;

// Sets one settings byte of the mouse's flash and reports the change as the mouse itself would.
bool ChangeSetting(Hub& hub, Device& mouse, int offset, uint8_t value, uint8_t statusBits) {
    SimFlash::SetSettingByte(&mouse.flash, offset, value);
    hub.Save(mouse);
    hub.PostToMouseConnection(mouse, HIDUSB_MSG_STATUS_CHANGED, Sim::StatusPayload(statusBits));
    return true;
}

// Sets several settings bytes of the mouse's flash and reports them in one status change.
bool ChangeSettings(Hub& hub, Device& mouse, int offset, const QByteArray& bytes, uint8_t statusBits) {
    for (int i = 0; i < bytes.size(); ++i) SimFlash::SetSettingByte(&mouse.flash, offset + i, uint8_t(bytes[i]));
    hub.Save(mouse);
    hub.PostToMouseConnection(mouse, HIDUSB_MSG_STATUS_CHANGED, Sim::StatusPayload(statusBits));
    return true;
}

// The words as bytes (decimal or 0x hex); empty when a word is not a byte or the count differs.
QByteArray ByteWords(const QStringList& words, int count) {
    if (words.size() != count) return QByteArray();
    QByteArray out;
    for (const QString& word : words) {
        bool valid = false;
        const int value = word.toInt(&valid, 0);
        if (!valid || value < 0 || value > 255) return QByteArray();
        out.append(char(value));
    }
    return out;
}

QString LongRangeText(int mode) {
    return mode < 0 ? QString("no long range") : QString("long range %1").arg(mode ? "on" : "off");
}

QString Describe(Hub& hub, const Device& d) {
    QString line = QString("%1  %2  %3  %4/%5  CID %6 MID %7  %8  v%9.%10")
                       .arg(d.name, -10)
                       .arg(d.kind == Kind::Receiver ? QString("receiver-%1K").arg(d.receiverClass) : QString("mouse"), -11)
                       .arg(QString::fromStdString(d.path))
                       .arg(d.vid, d.pid)
                       .arg(d.cid)
                       .arg(d.mid)
                       .arg(QString::fromLocal8Bit(d.model))
                       .arg(d.version >> 8)
                       .arg(d.version & 0xFF, 2, 16, QChar('0'));
    QStringList state;
    if (d.kind == Kind::Receiver) {
        state << (d.plugged ? "plugged" : "unplugged");
        const Device* mouse = hub.PairedMouse(d);
        state << (mouse ? "mouse " + mouse->name : QString("no mouse"));
        state << LongRangeText(d.longRange);
    } else {
        state << (d.plugged ? "on its cable" : "wireless");
        state << (d.awake ? "awake" : "asleep");
        state << QString("battery %1%%2").arg(d.battery).arg(d.charging ? " charging" : "");
        if (!d.pairedWith.isEmpty()) state << "paired with " + d.pairedWith;
    }
    if (d.bootMode) state << "BOOT MODE";
    if (d.upgrading) state << "upgrading";
    // Faults armed with fail, fail-upgrade, stall-upgrade and fail-pairing.
    if (d.failNext > 0)
        state << (d.failNext == 1 ? QString("armed: next answer fails")
                                  : QString("armed: next %1 answers fail").arg(d.failNext));
    if (d.failUpgradeAt >= 0) state << QString("armed: next upgrade fails at %1%").arg(d.failUpgradeAt);
    if (d.stallUpgradeAt >= 0) state << QString("armed: next upgrade stalls at %1%").arg(d.stallUpgradeAt);
    if (d.failPairing) state << "armed: next pairing fails";
    return line + "  [" + state.join(", ") + "]";
}

QString ImageSummary(const QByteArray& bytes, bool hex) {
    if (bytes.size() != int(sizeof(FlashDataMap))) return "no image handed over yet";
    FlashDataMap m;
    std::memcpy(&m, bytes.constData(), sizeof m);
    QStringList out;
    out << QString("report rate code %1, DPI levels %2 (current %3)").arg(m.ReportRateCode).arg(m.DpiLevelCount).arg(m.CurrentDpiLevel);
    for (int i = 0; i < kDpiLevelMax; ++i)
        out << QString("  level %1: code %2 range 0x%3 colour %4,%5,%6")
                   .arg(i)
                   .arg(m.DpiLevels[i].DpiCode)
                   .arg(m.DpiLevels[i].DpiRangeFlags, 2, 16, QChar('0'))
                   .arg(m.DpiLevels[i].ColorR)
                   .arg(m.DpiLevels[i].ColorG)
                   .arg(m.DpiLevels[i].ColorB);
    out << QString("LOD %1, debounce %2/%3 ms, wheel %4 ms, sleep %5, motion sync %6, angle snap %7, ripple %8")
               .arg(m.LodCode).arg(m.KeyDebounceMs).arg(m.ReleaseDebounceMs).arg(m.WheelDebounceMs)
               .arg(m.SleepTimeCode).arg(m.MotionSyncEnable).arg(m.AngleSnap).arg(m.RippleControl);
    out << QString("trigger flags 0x%1 (left %2, right %3), angle %4 (tuning %5), 20K scanning %6, "
                   "moving-off light %7")
               .arg(m.TriggerFlags, 2, 16, QChar('0'))
               .arg(m.TriggerFlags & kTriggerLeftBit ? "on" : "off")
               .arg(m.TriggerFlags & kTriggerRightBit ? "on" : "off")
               .arg(int(m.AngleTune))
               .arg(m.AngleTuneEnable)
               .arg(m.Scan20K)
               .arg(m.MovingOffLight);
    out << QString("DPI light: mode %1 brightness %2 speed %3 enable %4").arg(m.DpiLightMode).arg(m.DpiLightBrightness)
               .arg(m.DpiLightSpeed).arg(m.DpiLightEnable);
    out << QString("mouse light: mode %1 colour %2,%3,%4 speed %5 brightness %6 enable %7").arg(m.MouseLightMode)
               .arg(m.MouseLightRed).arg(m.MouseLightGreen).arg(m.MouseLightBlue).arg(m.MouseLightSpeed)
               .arg(m.MouseLightBrightness).arg(m.MouseLightEnable);
    for (int b = 0; b < kDeviceButtonCount; ++b) {
        const MacroRecord& macro = m.ButtonMacros[b];
        out << QString("  button %1: type %2 (%3, %4), %5 key events, macro \"%6\" with %7 events")
                   .arg(b, 2)
                   .arg(m.ButtonKeys[b].Type)
                   .arg(m.ButtonKeys[b].Param1)
                   .arg(m.ButtonKeys[b].Param2)
                   .arg(m.ButtonActions[b].EventCount)
                   .arg(QString::fromLocal8Bit(macro.Name, qMin<int>(macro.NameLength, 30)))
                   .arg(macro.EventCount);
    }
    if (hex)
        for (int off = 0; off < bytes.size(); off += 32)
            out << QString("%1: %2").arg(off, 5, 10, QChar('0')).arg(QString::fromLatin1(bytes.mid(off, 32).toHex(' ')));
    return out.join('\n');
}

// Serves RunCommand on the local control socket from a thread of its own.
class ControlThread : public QThread {
public:
    explicit ControlThread(const QString& name) : name_(name) {}

protected:
    void run() override {
        QLocalServer server;
        server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!server.listen(name_)) {
            // A live server answers; a file left behind by a crash does not and is removed.
            QLocalSocket probe;
            probe.connectToServer(name_);
            if (probe.waitForConnected(300)) {
                qWarning("HIDUsb: control socket %s is in use by another program; control is off for this one",
                         qPrintable(name_));
                return;
            }
            QLocalServer::removeServer(name_);
            if (!server.listen(name_)) {
                qWarning("HIDUsb: control socket %s: %s", qPrintable(name_), qPrintable(server.errorString()));
                return;
            }
        }
        g_listening = true;
        QObject::connect(&server, &QLocalServer::newConnection, &server, [&server] {
            while (QLocalSocket* socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                    if (!socket->canReadLine()) return;
                    const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                    socket->write(HidSim::RunCommand(line).toUtf8() + "\n");
                    socket->disconnectFromServer();
                });
            }
        });
        exec();
        g_listening = false;
    }

private:
    QString name_;
};

ControlThread* g_control = nullptr;

void StopControl() {
    if (!g_control) return;
    g_control->quit();
    g_control->wait(2000);
}

// The default target of a command without a name: the first device of the wanted kind.
QString DefaultName(const Kind* wanted) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    for (auto& d : hub.devices)
        if (!wanted || d->kind == *wanted) return d->name;
    return QString();
}

}  // namespace

namespace Sim {

void StartControlServer() {
    const QString name = HidSim::ControlSocketName();
    if (name.isEmpty() || !QCoreApplication::instance() || g_control) return;
    g_control = new ControlThread(name);
    g_control->start();
    qAddPostRoutine(StopControl);
}

}  // namespace Sim

namespace HidSim {

bool LoadDescription(const QByteArray& json, QString* error) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    if (json.trimmed().isEmpty()) {
        if (error) *error = "empty description";
        return false;
    }
    return hub.Load(json, error);
}

void LoadDefault() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Load(QByteArray(), nullptr);
}

void Restart() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.Restart();
}

QString StateDir() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    return hub.stateDir;
}

void SetStateDir(const QString& dir) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.stateDir = dir;
}

void SetTiming(int upgradeStepMs, int pairMs) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.upgradeStepMs = qMax(0, upgradeStepMs);
    hub.pairMs = qMax(0, pairMs);
}

QStringList DeviceNames() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    QStringList names;
    for (auto& d : hub.devices) names << d->name;
    return names;
}

QString PathOf(const QString& name) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    Device* d = hub.Find(name);
    return d ? QString::fromStdString(d->path) : QString();
}

bool Plug(const QString& name) {
    return WithDevice(name, nullptr, [](Hub& hub, Device& d) {
        if (d.plugged) return true;
        d.plugged = true;
        if (d.kind == Kind::Mouse) d.awake = true;
        hub.Log(QString("(%1 plugged in)").arg(d.name));
        hub.NotifyHotPlug();
        return true;
    });
}

bool Unplug(const QString& name) {
    return WithDevice(name, nullptr, [](Hub& hub, Device& d) {
        if (!d.plugged) return true;
        d.plugged = false;
        ++d.unplugs;
        hub.Log(QString("(%1 unplugged)").arg(d.name));
        hub.NotifyHotPlug();
        return true;
    });
}

bool Wake(const QString& mouse) {
    return WithDevice(mouse, &kMouse, [](Hub& hub, Device& d) {
        if (d.awake) return true;
        d.awake = true;
        hub.Log(QString("(%1 wakes up)").arg(d.name));
        if (hub.pendingFullRead && hub.connOpen && hub.AnsweringMouse(hub.connPath.c_str()) == &d) {
            hub.pendingFullRead = false;
            hub.Post(hub.connPath, HIDUSB_MSG_DATA, 0, 0, d.flash);
        } else {
            hub.PostToMouseConnection(d, HIDUSB_MSG_STATUS_CHANGED, Sim::StatusPayload(0x04));
        }
        return true;
    });
}

bool Sleep(const QString& mouse) {
    return WithDevice(mouse, &kMouse, [](Hub& hub, Device& d) {
        d.awake = false;
        hub.Log(QString("(%1 falls asleep)").arg(d.name));
        return true;
    });
}

bool PressDpiButton(const QString& mouse) {
    return WithDevice(mouse, &kMouse, [](Hub& hub, Device& d) {
        const int count = qBound(1, int(SimFlash::SettingByte(d.flash, 1)), kDpiLevelMax);
        const int next = (SimFlash::SettingByte(d.flash, 2) + 1) % count;
        hub.Log(QString("(%1: DPI button, level %2)").arg(d.name).arg(next));
        return ChangeSetting(hub, d, 2, uint8_t(next), 0x01);
    });
}

bool SetReportRate(const QString& mouse, uint8_t code) {
    if (code != 1 && code != 2 && code != 4 && code != 8 && code != 16 && code != 32 && code != 64) return false;
    return WithDevice(mouse, &kMouse, [code](Hub& hub, Device& d) {
        hub.Log(QString("(%1: report rate code %2)").arg(d.name).arg(code));
        return ChangeSetting(hub, d, 0, code, 0x02);
    });
}

bool SetBattery(const QString& mouse, int percent, bool charging) {
    return WithDevice(mouse, &kMouse, [percent, charging](Hub& hub, Device& d) {
        d.battery = qBound(0, percent, 100);
        d.charging = charging;
        hub.Log(QString("(%1: battery %2%%3)").arg(d.name).arg(d.battery).arg(charging ? " charging" : ""));
        hub.PostToMouseConnection(d, HIDUSB_MSG_STATUS_CHANGED, Sim::StatusPayload(0x40));
        return true;
    });
}

bool FailNext(const QString& name, int k) {
    return WithDevice(name, nullptr, [k](Hub&, Device& d) {
        d.failNext = qMax(0, k);
        return true;
    });
}

bool FailUpgradeAt(const QString& name, int percent) {
    if (percent < 0 || percent > 100) return false;
    return WithDevice(name, nullptr, [percent](Hub&, Device& d) {
        d.failUpgradeAt = percent;
        return true;
    });
}

bool StallUpgradeAt(const QString& name, int percent) {
    if (percent < 0 || percent > 100) return false;
    return WithDevice(name, nullptr, [percent](Hub&, Device& d) {
        d.stallUpgradeAt = percent;
        return true;
    });
}

bool FailNextPairing(const QString& receiver) {
    return WithDevice(receiver, &kReceiver, [](Hub&, Device& d) {
        d.failPairing = true;
        return true;
    });
}

bool SetMouseLight(const QString& mouse, const QByteArray& bytes7) {
    if (bytes7.size() != 7) return false;
    return WithDevice(mouse, &kMouse, [&bytes7](Hub& hub, Device& d) {
        hub.Log(QString("(%1: light %2)").arg(d.name, QString::fromLatin1(bytes7.toHex(' '))));
        return ChangeSettings(hub, d, 100, bytes7, 0x20);
    });
}

bool SetDpiLight(const QString& mouse, const QByteArray& bytes4) {
    if (bytes4.size() != 4) return false;
    return WithDevice(mouse, &kMouse, [&bytes4](Hub& hub, Device& d) {
        hub.Log(QString("(%1: DPI light %2)").arg(d.name, QString::fromLatin1(bytes4.toHex(' '))));
        return ChangeSettings(hub, d, 96, bytes4, 0x08);
    });
}

QString ReceiverRecords(const QString& receiver) {
    QString text;
    WithDevice(receiver, &kReceiver, [&text](Hub&, Device& d) {
        const auto hex = [](const uint8_t* bytes, int n) {
            return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes), n).toHex(' '));
        };
        text = QString("indicator record: %1\nlight bar: %2\nindicator LEDs: %3").arg(hex(d.rgb, 10), hex(d.bar, 7), hex(d.leds, 3));
        return true;
    });
    return text;
}

bool SetReceiverIndicatorMode(const QString& receiver, uint8_t mode) {
    if (mode > 3) return false;
    return WithDevice(receiver, &kReceiver, [mode](Hub& hub, Device& d) {
        d.rgb[0] = mode;
        hub.Save(d);
        if (hub.connOpen && hub.connPath == d.path)
            hub.Post(d.path, HIDUSB_MSG_DONGLE_RGB, 0, 0, QByteArray(reinterpret_cast<const char*>(d.rgb), 10));
        return true;
    });
}

bool DropLongRange(const QString& receiver) {
    return WithDevice(receiver, &kReceiver, [](Hub& hub, Device& d) {
        if (d.longRange < 0) return false;
        d.longRange = 0;
        hub.Save(d);
        QByteArray payload(10, '\0');
        payload[0] = 0;
        if (hub.connOpen && hub.connPath == d.path) hub.Post(d.path, HIDUSB_MSG_LONG_RANGE, 0, 0, payload);
        return true;
    });
}

QByteArray Flash(const QString& mouse) {
    QByteArray out;
    WithDevice(mouse, &kMouse, [&out](Hub&, Device& d) {
        out = d.flash;
        return true;
    });
    return out;
}

bool IsBootMode(const QString& name) {
    return WithDevice(name, nullptr, [](Hub&, Device& d) { return d.bootMode; });
}

bool IsOnline(const QString& name) {
    return WithDevice(name, nullptr, [](Hub& hub, Device& d) {
        return d.kind == Kind::Mouse ? hub.AnsweringMouse(d.plugged ? d.path.c_str()
                                                                    : hub.ReceiverOf(d) ? hub.ReceiverOf(d)->path.c_str()
                                                                                        : nullptr) == &d
                                     : hub.AnsweringMouse(d.path.c_str()) != nullptr;
    });
}

uint16_t Version(const QString& name) {
    uint16_t v = 0;
    WithDevice(name, nullptr, [&v](Hub&, Device& d) {
        v = d.version;
        return true;
    });
    return v;
}

int ActiveConfig(const QString& mouse) {
    int config = -1;
    WithDevice(mouse, &kMouse, [&config](Hub&, Device& d) {
        config = d.config;
        return true;
    });
    return config;
}

int LongRangeMode(const QString& receiver) {
    int mode = -1;
    WithDevice(receiver, &kReceiver, [&mode](Hub&, Device& d) {
        mode = d.longRange;
        return true;
    });
    return mode;
}

QByteArray LastImage() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    return hub.lastImage;
}

QStringList CallLog() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    return hub.log;
}

void ClearCallLog() {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    hub.log.clear();
}

QByteArray BuildFirmwareImage(uint8_t deviceType, uint8_t cid, uint8_t mid, const QByteArray& model, uint32_t version,
                              const QByteArray& payload) {
    return SimFirmware::Build(deviceType, cid, mid, model, version, payload);
}

QString ControlSocketName() {
    const QByteArray env = qgetenv("VORLANT_SIM_CONTROL");
    if (env == "off" || env == "0") return QString();
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const QByteArray hash =
        QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return "vorlant-zemb-sim-" + QString::fromLatin1(hash);
}

bool ControlSocketListening() { return g_listening; }

namespace {

// A command of the control socket: its name, its arguments as the usage shows them, and what it does
// with the words of its line; a null answer means the arguments do not fit (an empty one is "").
struct Command {
    const char* name;
    const char* arguments;
    QString (*run)(const QStringList& words);
};

QString Ok(bool done) {
    return done ? QString("ok") : QString("error: no such device or not possible");
}

// The optional device name before a command's numeric arguments (the first device of the kind when
// there is none); rest gets the arguments after it.
QString Target(const QStringList& words, int numericArgs, const Kind* kind, QStringList* rest = nullptr) {
    QStringList args = words.mid(1);
    QString name;
    if (args.size() > numericArgs) name = args.takeFirst();
    if (rest) *rest = args;
    return name.isEmpty() ? DefaultName(kind) : name;
}

// The percent of "NAME PERCENT" handed to arm; null when the words do not fit.
QString ArmUpgrade(const QStringList& words, bool (*arm)(const QString&, int)) {
    if (words.size() != 3) return QString();
    bool valid = false;
    const int percent = words[2].toInt(&valid);
    return valid ? Ok(arm(words[1], percent)) : QString();
}

// The count light bytes after the optional mouse name handed to set; null when they are not bytes.
QString SetLight(const QStringList& words, int count, bool (*set)(const QString&, const QByteArray&)) {
    QStringList rest;
    const QString name = Target(words, count, &kMouse, &rest);
    const QByteArray bytes = ByteWords(rest, count);
    return bytes.isEmpty() ? QString() : Ok(set(name, bytes));
}

QString List(const QStringList&) {
    Hub& hub = Hub::Get();
    Lock lock(hub.m);
    QStringList out;
    for (auto& d : hub.devices) out << Describe(hub, *d);
    return out.isEmpty() ? QString("no devices") : out.join('\n');
}

QString Usage(const QStringList& = QStringList());

const Command kCommands[] = {
    {"list", "", List},
    {"plug", "NAME", [](const QStringList& w) { return w.size() == 2 ? Ok(HidSim::Plug(w[1])) : QString(); }},
    {"unplug", "NAME",
     [](const QStringList& w) { return w.size() == 2 ? Ok(HidSim::Unplug(w[1])) : QString(); }},
    {"wake", "[MOUSE]", [](const QStringList& w) { return Ok(HidSim::Wake(Target(w, 0, &kMouse))); }},
    {"sleep", "[MOUSE]", [](const QStringList& w) { return Ok(HidSim::Sleep(Target(w, 0, &kMouse))); }},
    {"dpi-button", "[MOUSE]",
     [](const QStringList& w) { return Ok(HidSim::PressDpiButton(Target(w, 0, &kMouse))); }},
    {"report-rate", "[MOUSE] CODE",
     [](const QStringList& w) {
         QStringList rest;
         const QString name = Target(w, 1, &kMouse, &rest);
         bool valid = false;
         const int code = rest.value(0).toInt(&valid);
         return valid ? Ok(HidSim::SetReportRate(name, uint8_t(code))) : QString();
     }},
    {"battery", "[MOUSE] PERCENT [charging]",
     [](const QStringList& w) {
         const bool charging = w.last() == "charging";
         QStringList args = w.mid(1);
         if (charging) args.removeLast();
         const QString name = args.size() > 1 ? args.takeFirst() : DefaultName(&kMouse);
         bool valid = false;
         const int percent = args.value(0).toInt(&valid);
         return valid ? Ok(HidSim::SetBattery(name, percent, charging)) : QString();
     }},
    {"fail", "NAME K",
     [](const QStringList& w) {
         return w.size() == 3 ? Ok(HidSim::FailNext(w[1], w[2].toInt())) : QString();
     }},
    {"fail-upgrade", "NAME PERCENT",
     [](const QStringList& w) { return ArmUpgrade(w, HidSim::FailUpgradeAt); }},
    {"stall-upgrade", "NAME PERCENT",
     [](const QStringList& w) { return ArmUpgrade(w, HidSim::StallUpgradeAt); }},
    {"fail-pairing", "[RECEIVER]",
     [](const QStringList& w) { return Ok(HidSim::FailNextPairing(Target(w, 0, &kReceiver))); }},
    {"image", "[hex]",
     [](const QStringList& w) { return ImageSummary(HidSim::LastImage(), w.value(1) == "hex"); }},
    {"config", "[MOUSE]",
     [](const QStringList& w) {
         const int config = HidSim::ActiveConfig(Target(w, 0, &kMouse));
         return config < 0 ? Ok(false) : "active configuration " + QString::number(config);
     }},
    {"log", "[N]",
     [](const QStringList& w) {
         const QStringList log = HidSim::CallLog();
         const int n = w.size() > 1 ? w[1].toInt() : 40;
         const QString text = log.mid(qMax(0, log.size() - n)).join('\n');
         return text.isNull() ? QString("") : text;
     }},
    {"light", "[MOUSE] MODE R G B SPEED BRIGHTNESS ENABLE",
     [](const QStringList& w) { return SetLight(w, 7, HidSim::SetMouseLight); }},
    {"dpi-light", "[MOUSE] MODE BRIGHTNESS SPEED ENABLE",
     [](const QStringList& w) { return SetLight(w, 4, HidSim::SetDpiLight); }},
    {"receiver", "[NAME]",
     [](const QStringList& w) {
         const QString text = HidSim::ReceiverRecords(Target(w, 0, &kReceiver));
         return text.isEmpty() ? Ok(false) : text;
     }},
    {"indicator", "RECEIVER MODE",
     [](const QStringList& w) {
         if (w.size() != 3) return QString();
         bool valid = false;
         const int mode = w[2].toInt(&valid);
         return valid && mode >= 0 && mode <= 3 ? Ok(HidSim::SetReceiverIndicatorMode(w[1], uint8_t(mode)))
                                                : QString();
     }},
    {"long-range", "[RECEIVER]",
     [](const QStringList& w) {
         if (w.size() > 2) return QString();
         int mode = 0;
         const bool found = WithDevice(Target(w, 0, &kReceiver), &kReceiver, [&mode](Hub&, Device& d) {
             mode = d.longRange;
             return true;
         });
         return found ? LongRangeText(mode) : Ok(false);
     }},
    {"drop-long-range", "[RECEIVER]",
     [](const QStringList& w) {
         return w.size() > 2 ? QString() : Ok(HidSim::DropLongRange(Target(w, 0, &kReceiver)));
     }},
    {"help", "", Usage},
};

QString Usage(const QStringList&) {
    QString text = "commands:";
    int lineStart = 0;
    for (const Command& c : kCommands) {
        const QString entry = QString(" %1%2%3").arg(c.name, *c.arguments ? " " : "", c.arguments);
        if (&c != kCommands) text += " |";
        if (text.size() + entry.size() - lineStart > 110) {
            text += "\n ";
            lineStart = text.size() - 1;
        }
        text += entry;
    }
    return text;
}

const Command* FindCommand(const QString& name) {
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

}  // namespace

QString CommandUsage() {
    return Usage();
}

QStringList CommandNames() {
    QStringList names;
    for (const Command& c : kCommands) names << c.name;
    return names;
}

bool IsCommand(const QString& word) {
    return FindCommand(word) != nullptr;
}

QString RunCommand(const QString& line) {
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) return Usage();
    const Command* command = FindCommand(words[0]);
    if (!command) return "error: unknown command " + words[0] + " (try help)";
    const QString answer = command->run(words);
    if (!answer.isNull()) return answer;
    return QString("error: %1 %2").arg(command->name, command->arguments).trimmed();
}

}  // namespace HidSim
