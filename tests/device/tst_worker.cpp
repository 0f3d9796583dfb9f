// The device worker's decisions, driven with the simulated devices and the test clock.
#include <QSignalSpy>
#include <QtTest>

#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"

namespace {
// Runs the worker's thread once and waits for it; the pages' blocking deliveries need the thread.
class TestableWorker : public Worker {
public:
    void RunOnce() {
        start();
        while (!wait(5)) QCoreApplication::processEvents();
    }
};

bool Logged(const char* call) {
    return HidSim::CallLog().join('\n').contains(call);
}
}  // namespace

class TestWorker : public QObject {
    Q_OBJECT

private:
    TestableWorker* worker_ = nullptr;
    PostMsg* hub_ = nullptr;
    DeviceAllInfo receiver_;
    QString mouse_;

    // The tile click's part: choose the receiver, let the device window's callback find its path.
    void Choose() {
        hub_->EmitSigSelectMouseInfo(receiver_);
        DeviceUsbChangedCallback();
        DeviceWindow.Enter();
        WorkerRunEnable = true;
    }

    // The version report is answered after the full dump's handling has ended.
    void WaitForTheFullDump() {
        QTRY_VERIFY(FlashDataFromDevice);
        QTRY_VERIFY(!CurrentDeviceCopy().MouseVersion.isEmpty());
    }

private slots:
    void initTestCase() { hub_ = PostMsg::GetInstance(); }

    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        receiver_ = DeviceFixture::FindDefaultReceiver();
        QVERIFY(!receiver_.Path.isEmpty());
        worker_ = new TestableWorker;
        DeviceWorker = worker_;
        worker_->PollTimer()->stop();
        QFile::remove(DeviceInfoFilePath(0x0623));
        HidSim::ClearCallLog();
    }

    void cleanup() {
        UsbServer_Exit();
        Worker::ClearRunFlag();
        worker_->wait();
        delete worker_;
        DeviceWorker = nullptr;
    }

    void selectionMakesTheCurrentDevice() {
        SetCurrentDevicePath("/some/old/device");
        FlashDataFromDevice = true;
        hub_->EmitSigSelectMouseInfo(receiver_);
        QCOMPARE(CurrentDeviceCopy().Path, receiver_.Path);
        QCOMPARE(DeviceInfoLoadName(), DeviceInfoFilePath(0x0623));
        QVERIFY(CurrentDevicePathCopy().isEmpty());
        QVERIFY(!FlashDataFromDevice);
        DeviceUsbChangedCallback();
        QCOMPARE(CurrentDevicePathCopy(), receiver_.Path);
    }

    void runDoesNothingWhileDisabledOrInactive() {
        Choose();
        DeviceWindow.Leave();
        worker_->RunOnce();
        QVERIFY(!Logged("UsbServerC_Start"));
        QVERIFY(!WorkerRunEnable);
        QCOMPARE(bool(DeviceAnswered), bool(OnlineNow));

        DeviceWindow.Enter();
        WorkerRunEnable = false;
        worker_->RunOnce();
        QVERIFY(!Logged("UsbServerC_Start"));
    }

    void onlineConnection_data() {
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("suppressed");
        QTest::addColumn<int>("param");  // -1: no SigUpDataParam
        QTest::newRow("first connection") << false << false << 0;
        QTest::newRow("forced re-read") << true << false << 1;
        QTest::newRow("import under way") << false << true << -1;
        QTest::newRow("forced re-read during import") << true << true << 1;
    }

    void onlineConnection() {
        QFETCH(bool, force);
        QFETCH(bool, suppressed);
        QFETCH(int, param);
        Choose();
        ForceReread = force;
        DpiSendSuppressed = suppressed;
        QSignalSpy spy(hub_, SIGNAL(SigUpDataParam(int)));
        worker_->RunOnce();
        QCOMPARE(spy.count(), param < 0 ? 0 : 1);
        if (param >= 0) QCOMPARE(spy.first().at(0).toInt(), param);
        QVERIFY(!ForceReread);
        QVERIFY(CurrentDeviceCopy().Online);
        for (const char* call : {"UsbServerC_Start", "SetPCDriverStatus", "ReadAllFlashData"})
            QVERIFY2(Logged(call), call);
        QVERIFY(LastOnline);
        QVERIFY(DeviceAnswered);
        QVERIFY(!WorkerRunEnable);
        WaitForTheFullDump();
    }

    void offlineShowsTheCachedImage() {
        FlashDataMap cached{};
        cached.LodCode = 3;
        cached.Reserved9B = 0x42;
        QVERIFY(WriteDeviceInfoFile(DeviceInfoFilePath(0x0623), cached));
        QVERIFY(HidSim::Sleep(mouse_));
        Choose();
        QSignalSpy button(hub_, SIGNAL(SigUpDataLightUIButton(FlashDataMap)));
        QSignalSpy sensor(hub_, SIGNAL(SigUpDataLightSensor(FlashDataMap)));
        QSignalSpy form(hub_, SIGNAL(SigForm()));
        QSignalSpy reset(hub_, SIGNAL(SigFormReset()));
        QSignalSpy param(hub_, SIGNAL(SigUpDataParam(int)));
        worker_->RunOnce();
        QCOMPARE(button.count(), 1);
        QCOMPARE(sensor.count(), 1);
        QCOMPARE(form.count(), 1);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(param.count(), 0);
        const FlashDataMap shown = button.first().at(0).value<FlashDataMap>();
        QVERIFY(std::memcmp(&shown, &cached, sizeof cached) == 0);
        QVERIFY(DeviceOfflineShown);
        QVERIFY(!CurrentDeviceCopy().Online);
        QVERIFY(Logged("UsbServerC_Start"));
        QVERIFY(!FlashDataFromDevice);
        QVERIFY(!DeviceAnswered);
    }

    void offlineWithoutCacheShowsDefaults() {
        QVERIFY(HidSim::Sleep(mouse_));
        Choose();
        QSignalSpy reset(hub_, SIGNAL(SigFormReset()));
        QSignalSpy button(hub_, SIGNAL(SigUpDataLightUIButton(FlashDataMap)));
        worker_->RunOnce();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(button.count(), 0);
    }

    void sameDeviceAgainAfterHomePage() {
        Choose();
        worker_->RunOnce();
        WaitForTheFullDump();
        HidSim::ClearCallLog();
        // Back to the home page and the same tile again: due while online.
        DeviceWindow.Leave();
        hub_->EmitSigMainPageChange();
        Choose();
        worker_->RunOnce();
        QVERIFY(Logged("UsbServerC_Start"));

        // Offline now: OnlineNow stays false after the poll cleared it; nothing changed, nothing due.
        QVERIFY(HidSim::Sleep(mouse_));
        OnlineNow = false;
        DeviceWindow.Leave();
        hub_->EmitSigMainPageChange();
        HidSim::ClearCallLog();
        Choose();
        worker_->RunOnce();
        QVERIFY(!Logged("UsbServerC_Start"));
    }

    void reconnectRequestsAreLimited() {
        StatusChangeFlags flags{};
        flags.Reconnect = 1;
        flags.DpiLevel = 1;
        DeviceFixture::TestClock().Advance(5000);
        Worker::ReadChangedStatus(flags);
        QVERIFY(ReconnectRequested && ForceReread);
        ReconnectRequested = false;
        ForceReread = false;
        HidSim::ClearCallLog();

        DeviceFixture::TestClock().Advance(2000);
        Worker::ReadChangedStatus(flags);
        QVERIFY(!ReconnectRequested && !ForceReread);
        QVERIFY(Logged("ReadCurrentDPI"));

        DeviceFixture::TestClock().Advance(1001);
        Worker::ReadChangedStatus(flags);
        QVERIFY(ReconnectRequested && ForceReread);
    }

    void changedItemsAreRequested_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("call");
        QTest::newRow("DPI level") << 0 << "ReadCurrentDPI";
        QTest::newRow("report rate") << 1 << "ReadReportRate";
        QTest::newRow("DPI light") << 3 << "ReadDPILed";
        QTest::newRow("light bar") << 5 << "ReadLedBar";
        QTest::newRow("battery") << 6 << "ReadBatteryLevel";
    }

    void changedItemsAreRequested() {
        QFETCH(int, item);
        QFETCH(QString, call);
        Choose();
        worker_->RunOnce();
        WaitForTheFullDump();
        HidSim::ClearCallLog();
        StatusChangeFlags flags{};
        reinterpret_cast<uint8_t*>(&flags)[item] = 1;
        Worker::ReadChangedStatus(flags);
        const QString log = HidSim::CallLog().join('\n');
        QVERIFY2(log.contains(call), qPrintable(log));
        for (const char* other :
             {"ReadCurrentDPI", "ReadReportRate", "ReadDPILed", "ReadLedBar", "ReadBatteryLevel"})
            QCOMPARE(log.contains(other), call == other);
    }

    void pollDuringUpdateDoesNotAskTheDevice() {
        Choose();
        DeviceOfflineShown = true;
        UpdateIdle = false;
        OnlineNow = true;
        HidSim::ClearCallLog();
        worker_->SlotCheckOnline();
        QVERIFY(!Logged("GetDeviceOnLine"));
        QVERIFY(DeviceOfflineShown);
        QVERIFY(!worker_->isRunning());

        // A pending reconnect still starts the thread.
        ReconnectRequested = true;
        worker_->SlotCheckOnline();
        QVERIFY(!ReconnectRequested);
        QVERIFY(worker_->wait(5000));
        QVERIFY(Logged("UsbServerC_Start"));
        WaitForTheFullDump();
    }

    void reconnectWaitsForTheDevice() {
        QVERIFY(HidSim::Sleep(mouse_));
        Choose();
        worker_->RunOnce();
        QVERIFY(DeviceOfflineShown);
        ReconnectRequested = true;
        QSignalSpy closeNotice(hub_, SIGNAL(SigCloseOffOnline()));
        HidSim::ClearCallLog();

        worker_->SlotCheckOnline();
        QVERIFY(ReconnectRequested);
        QVERIFY(!Logged("UsbServerC_Start"));

        // The woken mouse answers the connection's pending full read first.
        QVERIFY(HidSim::Wake(mouse_));
        WaitForTheFullDump();
        HidSim::ClearCallLog();
        worker_->SlotCheckOnline();
        QCOMPARE(closeNotice.count(), 1);
        QVERIFY(!DeviceOfflineShown);
        QVERIFY(!ReconnectRequested);
        QTRY_VERIFY(worker_->isFinished());
        QCOMPARE(HidSim::CallLog().join('\n').count("UsbServerC_Start"), 1);
        QTRY_VERIFY(Logged("ReadVersion"));
        worker_->SlotCheckOnline();
        QVERIFY(worker_->wait(5000));
        QCOMPARE(HidSim::CallLog().join('\n').count("UsbServerC_Start"), 1);
    }

    void inactiveWindowKeepsOfflineOnlyForThe1KReceiver_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("kept");
        QTest::newRow("1K receiver") << 0 << true;
        QTest::newRow("8K receiver") << 5 << false;
    }

    void inactiveWindowKeepsOfflineOnlyForThe1KReceiver() {
        QFETCH(int, type);
        QFETCH(bool, kept);
        DeviceAllInfo device = receiver_;
        device.Type = quint8(type);
        hub_->EmitSigSelectMouseInfo(device);
        DeviceWindow.Leave();
        DeviceOfflineShown = true;
        worker_->SlotCheckOnline();
        QCOMPARE(bool(DeviceOfflineShown), kept);
    }

    void devicesGoneReturnsHome_data() {
        QTest::addColumn<bool>("updating");
        QTest::newRow("idle") << false;
        QTest::newRow("firmware update runs") << true;
    }

    void devicesGoneReturnsHome() {
        QFETCH(bool, updating);
        Choose();
        UpdateIdle = !updating;
        QSignalSpy change(hub_, SIGNAL(SigChangeMainDialog(int)));
        QVERIFY(HidSim::Unplug(DeviceFixture::ReceiverName()));
        DeviceUsbChangedCallback();
        QVERIFY(DevicePageDevices.isEmpty());
        QCOMPARE(change.count(), updating ? 0 : 1);
        if (!updating) {
            QCOMPARE(change.first().at(0).toInt(), 0);
            QVERIFY(CurrentDeviceCopy().Path.isEmpty());
        }
        QVERIFY(CurrentDevicePathCopy().isEmpty());
    }

    void switchesToTheCableMouseAndBack() {
        Choose();
        worker_->RunOnce();
        WaitForTheFullDump();
        QVERIFY(HidSim::Plug(mouse_));
        DeviceUsbChangedCallback();
        QVERIFY(worker_->wait(5000));
        const DeviceAllInfo current = CurrentDeviceCopy();
        QVERIFY(current.IsUsb);
        QVERIFY(current.Path != receiver_.Path);
        QCOMPARE(CurrentDevicePathCopy(), current.Path);
        WaitForTheFullDump();

        QSignalSpy change(hub_, SIGNAL(SigChangeMainDialog(int)));
        QVERIFY(HidSim::Unplug(mouse_));
        DeviceUsbChangedCallback();
        QCOMPARE(DevicePageDevices.size(), 1);
        QCOMPARE(change.count(), 1);
        QCOMPARE(change.first().at(0).toInt(), 0);
    }
};

QTEST_MAIN(TestWorker)
#include "tst_worker.moc"
