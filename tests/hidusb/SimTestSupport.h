#pragma once
// Shared helpers of the device library tests: a recording data callback, waiting, a fresh device set.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QVector>
#include <QtTest>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "TestEnv.h"
#include "hidusb/DeviceReplyRecords.h"
#include "hidusb/FlashDataMap.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"

namespace SimTest {

struct Message {
    int kind = -1;
    int sub3 = 0;
    int sub4 = 0;
    QByteArray header;
    QByteArray payload;
    std::thread::id thread;
};

// Collects every message delivered to Callback; an optional hook runs inside the callback.
class Recorder {
public:
    static Recorder& Get() {
        static Recorder r;
        return r;
    }
    static void Callback(const unsigned char* header, int headerLength, const unsigned char* payload,
                         int payloadLength) {
        Message m;
        m.header = QByteArray(reinterpret_cast<const char*>(header), headerLength);
        m.kind = headerLength > 1 ? header[1] : 0;
        m.sub3 = headerLength > 3 ? header[3] : 0;
        m.sub4 = headerLength > 4 ? header[4] : 0;
        m.payload = QByteArray(reinterpret_cast<const char*>(payload), payloadLength);
        m.thread = std::this_thread::get_id();
        std::function<void(const Message&)> hook;
        {
            std::lock_guard<std::mutex> lock(Get().mutex);
            Get().messages.append(m);
            hook = Get().hook;
        }
        if (hook) hook(m);
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex);
        messages.clear();
        hook = nullptr;
    }
    void SetHook(std::function<void(const Message&)> h) {
        std::lock_guard<std::mutex> lock(mutex);
        hook = std::move(h);
    }
    QVector<Message> All() {
        std::lock_guard<std::mutex> lock(mutex);
        return messages;
    }
    int Count(int kind) {
        int n = 0;
        for (const Message& m : All()) n += m.kind == kind;
        return n;
    }
    Message Last(int kind) {
        const QVector<Message> all = All();
        for (int i = all.size() - 1; i >= 0; --i)
            if (all[i].kind == kind) return all[i];
        return Message();
    }

    std::mutex mutex;
    QVector<Message> messages;
    std::function<void(const Message&)> hook;
};

// Processes events until pred holds or ms have passed.
inline bool WaitFor(const std::function<bool()>& pred, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

// Lets queued deliveries run for a while (to show that something does NOT arrive).
inline void Settle(int ms = 150) {
    WaitFor([] { return false; }, ms);
}

// A fresh state folder, the given device set (default when empty), no connection or registration.
inline void FreshDevices(const QString& stateName, const QByteArray& json = QByteArray()) {
    StopUsbChanged();
    UsbServer_Exit();
    HidSim::SetStateDir(TestEnv::FreshDir(stateName));
    HidSim::SetTiming(5, 20);
    if (json.isEmpty())
        HidSim::LoadDefault();
    else
        QVERIFY2(HidSim::LoadDescription(json), "description refused");
    Recorder::Get().Clear();
    HidSim::ClearCallLog();
}

inline QByteArray PathText(const QString& device) { return HidSim::PathOf(device).toLocal8Bit(); }

// Connects to a device with the recording callback.
inline bool Connect(const QByteArray& path) {
    return UsbServerC_Start(path.constData(), path.constData(), &Recorder::Callback);
}

// Reads the full dump through the current connection and parses it.
inline bool ReadImage(FlashDataMap* image) {
    const int before = Recorder::Get().Count(HIDUSB_MSG_DATA);
    if (!UsbServer_ReadAllFlashData()) return false;
    Message dump;
    if (!WaitFor([&] {
            for (const Message& m : Recorder::Get().All())
                if (m.kind == HIDUSB_MSG_DATA && m.payload.size() == HIDUSB_FLASH_SIZE) dump = m;
            return Recorder::Get().Count(HIDUSB_MSG_DATA) > before && dump.kind == HIDUSB_MSG_DATA;
        }))
        return false;
    return ProtocolDataParser(reinterpret_cast<const unsigned char*>(dump.payload.constData()), image);
}

}  // namespace SimTest
