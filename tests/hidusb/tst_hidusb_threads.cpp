// Device library thread rules: where callbacks run, calls from inside callbacks, no waiting on the
// delivery thread.
#include <QSemaphore>
#include <atomic>

#include "SimTestSupport.h"

using namespace SimTest;

namespace {

std::atomic<int> g_hotPlugCalls{0};
std::atomic<int> g_otherHotPlugCalls{0};
std::atomic<QThread*> g_hotPlugThread{nullptr};

void HotPlug() {
    g_hotPlugThread = QThread::currentThread();
    ++g_hotPlugCalls;
    // Calls from inside the hot-plug callback work as well.
    int count = 0;
    UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
}

void OtherHotPlug() { ++g_otherHotPlugCalls; }

// Receives on the GUI thread what the data callback hands over with a blocking queued call.
class GuiSide : public QObject {
public:
    int onlineSeen = -1;
    bool updateResult = false;
    unsigned char bar[7] = {};
    void Handle(const QByteArray& dump) {
        // Library calls on the GUI thread while the delivery thread waits for this slot.
        onlineSeen = UsbFinderC_GetDeviceOnLine(PathText("receiver").constData());
        FlashDataMap image;
        ProtocolDataParser(reinterpret_cast<const unsigned char*>(dump.constData()), &image);
        updateResult = ProtocolDataUpdate(&image);
        UsbFinderC_GetDongleRGBBarMode(PathText("receiver").constData(), bar);
        UsbServer_ReadBatteryLevel();
    }
};

}  // namespace

class TestHidUsbThreads : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FreshDevices("sim-threads");
        g_hotPlugCalls = 0;
        g_otherHotPlugCalls = 0;
        g_hotPlugThread = nullptr;
    }

    void dataCallbackNeverOnTheCallingThread() {
        QVERIFY(Connect(PathText("receiver")));
        UsbServer_ReadReportRate();
        // A request from another thread (the device thread) too.
        std::thread::id deviceThread;
        std::thread t([&deviceThread] {
            deviceThread = std::this_thread::get_id();
            UsbServer_ReadCurrentDPI();
        });
        t.join();
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 2; }));
        for (const Message& m : Recorder::Get().All()) {
            QVERIFY(m.thread != std::this_thread::get_id());
            QVERIFY(m.thread != deviceThread);
        }
    }

    void hotPlugOnceInsideStartThenOnChanges() {
        StartUsbChanged(&HotPlug, 600);
        QCOMPARE(g_hotPlugCalls.load(), 1);  // synchronously, before StartUsbChanged returned
        QCOMPARE(g_hotPlugThread, QThread::currentThread());
        QVERIFY(HidSim::Unplug("receiver"));
        QCOMPARE(g_hotPlugCalls.load(), 1);  // queued to this thread, not called from the control call
        QVERIFY(WaitFor([] { return g_hotPlugCalls == 2; }));
        QCOMPARE(g_hotPlugThread, QThread::currentThread());
        QVERIFY(HidSim::Plug("receiver"));
        QVERIFY(WaitFor([] { return g_hotPlugCalls == 3; }));
        // A later registration replaces the earlier one; after StopUsbChanged nothing comes.
        StartUsbChanged(&OtherHotPlug, 600);
        QCOMPARE(g_otherHotPlugCalls.load(), 1);
        QVERIFY(HidSim::Unplug("receiver"));
        QVERIFY(WaitFor([] { return g_otherHotPlugCalls == 2; }));
        QCOMPARE(g_hotPlugCalls.load(), 3);
        StopUsbChanged();
        QVERIFY(HidSim::Plug("receiver"));
        Settle();
        QCOMPARE(g_otherHotPlugCalls.load(), 2);
    }

    void hotPlugOnTheRegisteringThread() {
        // Registered from a thread with its own event loop: notifications arrive on that thread.
        QThread worker;
        worker.start();
        QObject* anchor = new QObject;
        anchor->moveToThread(&worker);
        QMetaObject::invokeMethod(anchor, [] { StartUsbChanged(&HotPlug, 600); }, Qt::BlockingQueuedConnection);
        QCOMPARE(g_hotPlugCalls.load(), 1);
        QCOMPARE(g_hotPlugThread, &worker);
        QVERIFY(HidSim::Unplug("receiver"));
        QVERIFY(WaitFor([] { return g_hotPlugCalls == 2; }));
        QCOMPARE(g_hotPlugThread, &worker);
        StopUsbChanged();
        anchor->deleteLater();
        worker.quit();
        worker.wait();
    }

    void callsFromInsideTheDataCallback() {
        QVERIFY(Connect(PathText("receiver")));
        const QByteArray path = PathText("receiver");
        std::atomic<bool> insideDone{false};
        Recorder::Get().SetHook([path, &insideDone](const Message& m) {
            if (m.kind != HIDUSB_MSG_DATA || m.payload.size() != HIDUSB_FLASH_SIZE) return;
            FlashDataMap image;
            ProtocolDataParser(reinterpret_cast<const unsigned char*>(m.payload.constData()), &image);
            UsbServer_ReadDPILed();
            UsbServer_ReadBatteryLevel();
            UsbServer_ReadVersion();
            UsbServer_ReadConfig();
            unsigned char rgb[10];
            UsbFinderC_Get4KDongleRGBValue(path.constData(), rgb);
            unsigned char longRange = 0x73;
            UsbFinderC_GetLongRangeMode(path.constData(), &longRange);
            UsbFinderC_GetVersion(path.constData());
            ProtocolDataUpdate(&image);
            UsbServerC_Start(path.constData(), path.constData(), &Recorder::Callback);
            insideDone = true;  // every call returned before the answers arrived
        });
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 5; }));
        QVERIFY(insideDone);
        const QVector<Message> all = Recorder::Get().All();
        QCOMPARE(all[1].sub4, 0x4C);
        QCOMPARE(all[2].kind, int(HIDUSB_MSG_BATTERY));
        QCOMPARE(all[3].kind, int(HIDUSB_MSG_VERSION));
        QCOMPARE(all[4].kind, int(HIDUSB_MSG_CONFIG));
        for (const Message& m : all) QCOMPARE(m.thread, all[0].thread);  // answered later from the delivery thread
    }

    void guiThreadCallsWhileTheCallbackWaits() {
        GuiSide gui;
        QVERIFY(Connect(PathText("receiver")));
        Recorder::Get().SetHook([&gui](const Message& m) {
            if (m.payload.size() != HIDUSB_FLASH_SIZE) return;
            const QByteArray dump = m.payload;
            QMetaObject::invokeMethod(&gui, [&gui, dump] { gui.Handle(dump); }, Qt::BlockingQueuedConnection);
        });
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_BATTERY) == 1; }));
        QCOMPARE(gui.onlineSeen, 1);
        QVERIFY(gui.updateResult);
        QCOMPARE(int(gui.bar[6]), 1);
    }

    void exitAndStartNeverWaitForTheDeliveryThread() {
        QSemaphore release;
        std::atomic<int> blocked{0};
        Recorder::Get().SetHook([&](const Message&) {
            ++blocked;
            release.acquire();
        });
        // UsbServer_Exit while the delivery thread sits in a callback: returns at once, and the
        // answer still queued for the closed connection is dropped.
        QVERIFY(Connect(PathText("receiver")));
        UsbServer_ReadReportRate();
        QVERIFY(WaitFor([&] { return blocked == 1; }));
        UsbServer_ReadConfig();
        QElapsedTimer timer;
        timer.start();
        UsbServer_Exit();
        QVERIFY(timer.elapsed() < 500);
        release.release();
        Settle();
        QCOMPARE(Recorder::Get().All().size(), 1);
        // UsbServerC_Start likewise; the new connection gets its answers afterwards.
        QVERIFY(Connect(PathText("receiver")));
        UsbServer_ReadReportRate();
        QVERIFY(WaitFor([&] { return blocked == 2; }));
        timer.restart();
        QVERIFY(Connect(PathText("receiver")));
        UsbServer_ReadCurrentDPI();
        int count = 0;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
        QVERIFY(timer.elapsed() < 500);
        QCOMPARE(Recorder::Get().All().size(), 2);
        Recorder::Get().SetHook(nullptr);
        release.release();
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 3; }));
        QCOMPARE(Recorder::Get().All().last().sub4, 4);
    }

    void pathListsStayValid() {
        int count = 5;
        const char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
        QCOMPARE(count, 1);
        const char* kept = paths[0];
        const QByteArray text = kept;
        for (const char* pid : {"5001", "6001", "6002", "6004", "6008"}) {
            int n = 5;
            UsbFinderC_FindHidDevicesByDeviceId("3A1B", pid, 1, 5, &n);
        }
        QVERIFY(HidSim::Unplug("receiver"));
        count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
        QCOMPARE(count, 0);
        QCOMPARE(QByteArray(kept), text);  // the text itself lives on
    }
};

QTEST_GUILESS_MAIN(TestHidUsbThreads)
#include "tst_hidusb_threads.moc"
