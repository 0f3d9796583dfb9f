#pragma once
// The simulated devices and the library state behind HIDUsb.h. One process-wide instance, created on
// first use and never destroyed (its delivery thread may be inside a callback at exit).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <queue>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "SimFirmware.h"
#include "hidusb/HIDUsb.h"

namespace Sim {

enum class Kind { Receiver, Mouse };

struct Device {
    QString name;
    Kind kind = Kind::Mouse;
    QString vid;
    QString pid;
    uint8_t cid = 0;
    uint8_t mid = 0;
    QByteArray model;
    uint16_t version = 0;
    bool plugged = true;  // receiver present; mouse on its cable
    uint64_t unplugs = 0;  // times it was unplugged: a flash over it is cut even if plugged in again
    bool bootMode = false;
    int infoZeros = 0;
    int failNext = 0;
    int failUpgradeAt = -1;
    int stallUpgradeAt = -1;  // the next upgrade goes silent after this percent
    bool upgrading = false;
    uint64_t upgradeRun = 0;  // the last flash started on it
    std::string path;  // "/sim/hid/<VID>-<PID>/<name>"
    // Receiver
    int receiverClass = 8;
    uint8_t id[3] = {0, 0, 0};
    int longRange = 0;  // -1 none, 0 off, 1 on
    uint8_t rgb[10] = {};
    uint8_t bar[7] = {};
    uint8_t leds[3] = {};
    int pairStatus = 0;  // 0 idle, 1 pairing, 2 failed, 3 paired
    bool failPairing = false;
    // Mouse
    QString pairedWith;  // receiver name
    bool awake = true;
    int wakeAfterMs = 0;
    int battery = 85;
    bool charging = false;
    uint8_t cableType = 2;
    int buttons = 8;
    QByteArray flash;
    int config = 0;
    bool batteryOptimize = true;
    uint8_t pcDriver = 0;
};

// Type byte of the device as UsbFinderC_GetDeviceInfo reports it.
uint8_t TypeByte(const Device& d);

class Hub {
public:
    static Hub& Get();

    std::mutex m;  // guards everything below; never held while a callback runs

    // Devices
    std::vector<std::unique_ptr<Device>> devices;
    QByteArray description;  // JSON text of the current set; empty: the built-in default
    QString stateDir;
    int upgradeStepMs = 300;
    int pairMs = 2500;

    // Connection
    std::string connPath;
    bool connOpen = false;
    UsbDataCallback connCallback = nullptr;
    bool pendingFullRead = false;

    // Hot-plug registration
    UsbChangedCallback hotPlug = nullptr;
    QObject* notifier = nullptr;
    uint64_t hotPlugGeneration = 0;
    bool hotPlugPending = false;

    QByteArray lastImage;
    QStringList log;

    // All below expect m to be held.
    void Log(const QString& line);
    Device* Find(const QString& name);
    Device* At(const char* path);           // present device (normal mode) at path
    Device* ReceiverAt(const char* path);   // present receiver at path
    Device* PairedMouse(const Device& receiver);
    Device* ReceiverOf(const Device& mouse);
    Device* AnsweringMouse(const char* path);  // the mouse that answers through path
    bool ConsumeFailure(Device* d);
    bool Reachable(const Device& d) const;
    const char* Intern(const std::string& text);

    void Post(const std::string& fromPath, uint8_t kind, uint8_t sub1, uint8_t sub2, const QByteArray& payload,
              int delayMs = 0);
    void PostToMouseConnection(const Device& mouse, uint8_t kind, const QByteArray& payload);
    void Schedule(int delayMs, std::function<void()> fn);
    void NotifyHotPlug();

    bool Load(const QByteArray& json, QString* error);  // empty json: default set
    // Stores a device's state (and a mouse's flash), each file whole or not at all; false when one failed.
    bool Save(const Device& d);
    void ScheduleWakes();
    void Restart();

private:
    Hub();
    void Run();
    void LoadState(Device& d);

    struct Task {
        std::chrono::steady_clock::time_point due;
        uint64_t seq;
        uint64_t epoch;
        std::function<void()> fn;
    };
    struct Later {
        bool operator()(const Task& a, const Task& b) const {
            return a.due > b.due || (a.due == b.due && a.seq > b.seq);
        }
    };
    std::priority_queue<Task, std::vector<Task>, Later> queue_;
    std::condition_variable wake_;
    uint64_t seq_ = 0;
    uint64_t epoch_ = 0;
    uint8_t messageCounter_ = 0;
    std::set<std::string> interned_;
    std::thread thread_;
};

// Helpers shared by the C API and the control interface.
QByteArray StatusPayload(uint8_t bits);
void StartControlServer();

}  // namespace Sim
