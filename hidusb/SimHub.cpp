#include "SimHub.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaObject>
#include <QSaveFile>
#include <QThread>
#include <QtDebug>
#include <cstring>

#include "SimFlash.h"

namespace Sim {

namespace {

constexpr int kLogLimit = 2000;

QString DefaultPid(Kind kind, int receiverClass) {
    if (kind == Kind::Mouse) return "5001";
    switch (receiverClass) {
        case 1: return "6001";
        case 2: return "6002";
        case 4: return "6004";
        default: return "6008";
    }
}

QByteArray DefaultModel(Kind kind, int mid, int receiverClass) {
    if (kind == Kind::Mouse) return "ZEMB_M" + QByteArray::number(mid);
    QByteArray name = "ZEMB_D" + QByteArray::number(receiverClass);
    if (mid != 6) name += "_" + QByteArray::number(mid);
    return name;
}

// A stored file is replaced whole or not at all; the save file would commit after a failed flush.
bool StoreWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString SafeFileName(const QString& name) {
    QString out;
    for (QChar c : name) out += (c.isLetterOrNumber() || c == '-' || c == '_') ? c : QChar('_');
    return out.isEmpty() ? QString("device") : out;
}

QByteArray BytesToHex(const uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n).toHex();
}

void HexToBytes(const QJsonValue& v, uint8_t* p, int n) {
    const QByteArray b = QByteArray::fromHex(v.toString().toLatin1());
    if (b.size() == n) std::memcpy(p, b.constData(), size_t(n));
}

int IntOf(const QJsonValue& v, int fallback) {
    if (v.isDouble()) return v.toInt(fallback);
    if (v.isString()) {
        bool ok = false;
        const int x = v.toString().toInt(&ok, 0);
        return ok ? x : fallback;
    }
    return fallback;
}

const char* kDefaultDescription = R"({
  "devices": [
    { "name": "receiver", "kind": "receiver", "class": 8, "mid": 6, "version": "0x0105",
      "receiverId": [18, 52, 86], "longRange": "off", "mouse": "mouse" },
    { "name": "mouse", "kind": "mouse", "mid": 6, "version": "0x0112", "online": true, "battery": 85 }
  ]
})";

}  // namespace

uint8_t TypeByte(const Device& d) {
    if (d.kind == Kind::Mouse) return d.cableType;
    switch (d.receiverClass) {
        case 1: return 0;
        case 2: return 4;
        case 4: return 1;
        default: return 5;
    }
}

QByteArray StatusPayload(uint8_t bits) { return QByteArray(1, char(bits)); }

Hub& Hub::Get() {
    static Hub* hub = [] {
        Hub* h = new Hub;
        StartControlServer();
        return h;
    }();
    return *hub;
}

Hub::Hub() {
    const QByteArray stateEnv = qgetenv("VORLANT_SIM_STATE");
    stateDir = stateEnv.isEmpty() ? QDir::homePath() + "/.local/share/VorlantZEMB-sim" : QString::fromLocal8Bit(stateEnv);
    QByteArray json;
    const QByteArray file = qgetenv("VORLANT_SIM_DEVICES");
    if (!file.isEmpty()) {
        QFile f(QString::fromLocal8Bit(file));
        if (f.open(QIODevice::ReadOnly)) {
            json = f.readAll();
        } else {
            qWarning("HIDUsb: cannot read the device description %s; using the default devices", file.constData());
        }
    }
    std::lock_guard<std::mutex> lock(m);
    QString error;
    if (!Load(json, &error)) {
        qWarning("HIDUsb: device description refused (%s); using the default devices", qPrintable(error));
        Load(QByteArray(), nullptr);
    }
    thread_ = std::thread([this] { Run(); });
    thread_.detach();
}

void Hub::Run() {
    std::unique_lock<std::mutex> lock(m);
    for (;;) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto due = queue_.top().due;
        if (std::chrono::steady_clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        Task task = queue_.top();
        queue_.pop();
        if (task.epoch != epoch_) continue;
        lock.unlock();
        task.fn();
        lock.lock();
    }
}

void Hub::Schedule(int delayMs, std::function<void()> fn) {
    queue_.push(Task{std::chrono::steady_clock::now() + std::chrono::milliseconds(qMax(0, delayMs)), ++seq_, epoch_,
                     std::move(fn)});
    wake_.notify_one();
}

void Hub::Log(const QString& line) {
    log.append(line);
    if (log.size() > kLogLimit) log.erase(log.begin(), log.begin() + (log.size() - kLogLimit));
}

Device* Hub::Find(const QString& name) {
    for (auto& d : devices)
        if (d->name == name) return d.get();
    return nullptr;
}

Device* Hub::At(const char* path) {
    if (!path) return nullptr;
    for (auto& d : devices)
        if (d->plugged && !d->bootMode && d->path == path) return d.get();
    return nullptr;
}

Device* Hub::ReceiverAt(const char* path) {
    Device* d = At(path);
    return d && d->kind == Kind::Receiver ? d : nullptr;
}

Device* Hub::PairedMouse(const Device& receiver) {
    for (auto& d : devices)
        if (d->kind == Kind::Mouse && d->pairedWith == receiver.name) return d.get();
    return nullptr;
}

Device* Hub::ReceiverOf(const Device& mouse) {
    if (mouse.pairedWith.isEmpty()) return nullptr;
    Device* r = Find(mouse.pairedWith);
    return r && r->kind == Kind::Receiver ? r : nullptr;
}

Device* Hub::AnsweringMouse(const char* path) {
    Device* d = At(path);
    if (!d) return nullptr;
    if (d->kind == Kind::Mouse) return d;
    Device* mouse = PairedMouse(*d);
    // A mouse on its cable talks over the cable, not through the receiver.
    if (mouse && !mouse->bootMode && mouse->awake && !mouse->plugged) return mouse;
    return nullptr;
}

bool Hub::Reachable(const Device& d) const {
    if (d.kind == Kind::Receiver || d.plugged) return d.plugged;
    for (auto& r : devices)
        if (r->kind == Kind::Receiver && r->name == d.pairedWith) return r->plugged && !r->bootMode;
    return false;
}

bool Hub::ConsumeFailure(Device* d) {
    if (!d || d->failNext <= 0) return false;
    --d->failNext;
    Log(QString("  (%1 fails this answer)").arg(d->name));
    return true;
}

const char* Hub::Intern(const std::string& text) { return interned_.insert(text).first->c_str(); }

void Hub::Post(const std::string& fromPath, uint8_t kind, uint8_t sub1, uint8_t sub2, const QByteArray& payload,
               int delayMs) {
    QByteArray h(HIDUSB_HEADER_LENGTH, '\0');
    h[0] = char(0xA1);
    h[1] = char(kind);
    h[2] = char(messageCounter_++);
    h[3] = char(sub1);
    h[4] = char(sub2);
    Schedule(delayMs, [this, fromPath, h, payload] {
        UsbDataCallback cb = nullptr;
        {
            std::lock_guard<std::mutex> lock(m);
            if (connOpen && connCallback && connPath == fromPath) cb = connCallback;
        }
        if (cb)
            cb(reinterpret_cast<const unsigned char*>(h.constData()), h.size(),
               reinterpret_cast<const unsigned char*>(payload.constData()), payload.size());
    });
}

void Hub::PostToMouseConnection(const Device& mouse, uint8_t kind, const QByteArray& payload) {
    if (connOpen && AnsweringMouse(connPath.c_str()) == &mouse) Post(connPath, kind, 0, 0, payload);
}

void Hub::NotifyHotPlug() {
    if (!hotPlug || !notifier || hotPlugPending) return;
    hotPlugPending = true;
    const uint64_t generation = hotPlugGeneration;
    QMetaObject::invokeMethod(
        notifier,
        [this, generation] {
            UsbChangedCallback cb = nullptr;
            {
                std::lock_guard<std::mutex> lock(m);
                if (generation != hotPlugGeneration) return;
                hotPlugPending = false;
                cb = hotPlug;
                Log("(hot-plug notification)");
            }
            if (cb) cb();
        },
        Qt::QueuedConnection);
}

bool Hub::Load(const QByteArray& json, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json.isEmpty() ? QByteArray(kDefaultDescription) : json, &parseError);
    if (doc.isNull()) return fail("JSON: " + parseError.errorString());
    if (!doc.isObject() || !doc.object().value("devices").isArray()) return fail("no \"devices\" list");
    const QJsonArray list = doc.object().value("devices").toArray();
    std::vector<std::unique_ptr<Device>> loaded;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        auto d = std::make_unique<Device>();
        d->name = o.value("name").toString();
        if (d->name.isEmpty() || d->name.contains(' ')) return fail("a device without a valid name");
        for (auto& other : loaded)
            if (other->name == d->name) return fail("two devices named " + d->name);
        const QString kind = o.value("kind").toString("mouse");
        if (kind != "mouse" && kind != "receiver") return fail(d->name + ": kind must be mouse or receiver");
        d->kind = kind == "receiver" ? Kind::Receiver : Kind::Mouse;
        d->receiverClass = IntOf(o.value("class"), 8);
        if (d->kind == Kind::Receiver && d->receiverClass != 1 && d->receiverClass != 2 && d->receiverClass != 4 &&
            d->receiverClass != 8)
            return fail(d->name + ": class must be 1, 2, 4 or 8");
        d->vid = o.value("vid").toString("3A1B").toUpper();
        d->pid = o.value("pid").toString(DefaultPid(d->kind, d->receiverClass)).toUpper();
        d->cid = uint8_t(IntOf(o.value("cid"), 35));
        d->mid = uint8_t(IntOf(o.value("mid"), 6));
        d->model = o.contains("model") ? o.value("model").toString().toLocal8Bit()
                                       : DefaultModel(d->kind, d->mid, d->receiverClass);
        d->version = uint16_t(IntOf(o.value("version"), 0x0100));
        d->plugged = o.value("plugged").toBool(d->kind == Kind::Receiver ? true : o.value("cable").toBool(false));
        d->bootMode = o.value("bootMode").toBool(false);
        d->infoZeros = IntOf(o.value("infoZeros"), 0);
        const QJsonArray id = o.value("receiverId").toArray();
        for (int i = 0; i < 3 && i < id.size(); ++i) d->id[i] = uint8_t(id.at(i).toInt());
        const QString lr = o.value("longRange").toString("off");
        d->longRange = lr == "on" ? 1 : lr == "none" ? -1 : 0;
        d->rgb[0] = 2;
        d->bar[0] = 1, d->bar[1] = 255, d->bar[4] = 4, d->bar[5] = 9, d->bar[6] = 1;
        d->leds[0] = 1, d->leds[1] = 2, d->leds[2] = 3;
        d->awake = o.value("online").toBool(true);
        d->wakeAfterMs = IntOf(o.value("wakeAfterMs"), 0);
        d->battery = qBound(0, IntOf(o.value("battery"), 85), 100);
        d->charging = o.value("charging").toBool(false);
        d->cableType = uint8_t(IntOf(o.value("cableType"), 2));
        if (d->kind == Kind::Mouse && (d->cableType & 0xFA) == 0)
            return fail(d->name + ": cableType must not be a receiver type (0, 1, 4, 5)");
        d->buttons = IntOf(o.value("buttons"), d->mid == 7 ? 6 : 8);
        d->flash = SimFlash::Factory(d->buttons);
        d->path = "/sim/hid/" + d->vid.toStdString() + "-" + d->pid.toStdString() + "/" + d->name.toStdString();
        loaded.push_back(std::move(d));
    }
    // Pairing: a receiver names its mouse.
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        const QString mouse = o.value("mouse").toString();
        if (mouse.isEmpty()) continue;
        Device* found = nullptr;
        for (auto& d : loaded)
            if (d->name == mouse && d->kind == Kind::Mouse) found = d.get();
        if (!found) return fail(o.value("name").toString() + ": no mouse named " + mouse);
        found->pairedWith = o.value("name").toString();
    }
    devices = std::move(loaded);
    description = json;
    pendingFullRead = false;
    for (auto& d : devices) LoadState(*d);
    ScheduleWakes();
    NotifyHotPlug();
    return true;
}

void Hub::ScheduleWakes() {
    for (auto& d : devices) {
        if (d->kind != Kind::Mouse || d->awake || d->wakeAfterMs <= 0) continue;
        const QString name = d->name;
        Schedule(d->wakeAfterMs, [this, name] {
            std::lock_guard<std::mutex> lock(m);
            Device* mouse = Find(name);
            if (!mouse || mouse->awake) return;
            mouse->awake = true;
            Log(QString("(%1 wakes up)").arg(name));
            if (pendingFullRead && AnsweringMouse(connPath.c_str()) == mouse) {
                pendingFullRead = false;
                Post(connPath, HIDUSB_MSG_DATA, 0, 0, mouse->flash);
            } else {
                PostToMouseConnection(*mouse, HIDUSB_MSG_STATUS_CHANGED, StatusPayload(0x04));
            }
        });
    }
}

bool Hub::Save(const Device& d) {
    if (!QDir().mkpath(stateDir)) return false;
    const QString base = stateDir + "/" + SafeFileName(d.name);
    QJsonObject o;
    o["version"] = int(d.version);
    o["bootMode"] = d.bootMode;
    if (d.kind == Kind::Receiver) {
        o["longRange"] = d.longRange;
        o["rgb"] = QString::fromLatin1(BytesToHex(d.rgb, 10));
        o["bar"] = QString::fromLatin1(BytesToHex(d.bar, 7));
        o["leds"] = QString::fromLatin1(BytesToHex(d.leds, 3));
    } else {
        o["pairedWith"] = d.pairedWith;
        o["config"] = d.config;
        if (!StoreWhole(base + ".flash", d.flash)) {
            qWarning("HIDUsb: the flash of %s could not be stored", qPrintable(d.name));
            return false;
        }
    }
    if (StoreWhole(base + ".json", QJsonDocument(o).toJson())) return true;
    qWarning("HIDUsb: the state of %s could not be stored", qPrintable(d.name));
    return false;
}

void Hub::LoadState(Device& d) {
    const QString base = stateDir + "/" + SafeFileName(d.name);
    QFile state(base + ".json");
    if (state.open(QIODevice::ReadOnly)) {
        const QJsonObject o = QJsonDocument::fromJson(state.readAll()).object();
        d.version = uint16_t(IntOf(o.value("version"), d.version));
        d.bootMode = o.value("bootMode").toBool(d.bootMode);
        if (d.kind == Kind::Receiver) {
            if (d.longRange >= 0) d.longRange = IntOf(o.value("longRange"), d.longRange) > 0 ? 1 : 0;
            HexToBytes(o.value("rgb"), d.rgb, 10);
            HexToBytes(o.value("bar"), d.bar, 7);
            HexToBytes(o.value("leds"), d.leds, 3);
        } else {
            if (o.contains("pairedWith")) d.pairedWith = o.value("pairedWith").toString();
            d.config = qBound(0, IntOf(o.value("config"), 0), 3);
        }
    }
    if (d.kind == Kind::Mouse) {
        QFile flash(base + ".flash");
        if (flash.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = flash.readAll();
            if (SimFlash::IsValid(bytes))
                d.flash = bytes;
            else
                qWarning("HIDUsb: stored flash of %s is damaged; using factory settings", qPrintable(d.name));
        }
    }
}

void Hub::Restart() {
    ++epoch_;
    while (!queue_.empty()) queue_.pop();
    connOpen = false;
    connCallback = nullptr;
    connPath.clear();
    ++hotPlugGeneration;
    hotPlug = nullptr;
    hotPlugPending = false;
    const QByteArray json = description;
    Load(json, nullptr);
}

}  // namespace Sim
