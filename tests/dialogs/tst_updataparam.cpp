#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <cstring>

#include "ButtonPageMarks.h"
#include "LanguageFixture.h"
#include "SensorPageMarks.h"
#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/PostMsg.h"
#include "device/DeviceDataCallback.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceFlags.h"
#include "device/DeviceInfoFile.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/UpDataParam.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "lighting/LampLight.h"
#include "platform/Clock.h"

namespace {
FlashDataMap Filled(uint8_t byte, uint8_t levels) {
    FlashDataMap image;
    std::memset(&image, byte, sizeof image);
    image.DpiLevelCount = levels;
    return image;
}
bool Same(const FlashDataMap& a, const FlashDataMap& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
FlashDataMap ImageNow() {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    return CurrentFlashData;
}
void SetImage(const FlashDataMap& image) {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    CurrentFlashData = image;
}
void SetPagesRefreshed(bool button, bool light, bool sensor) {
    ButtonPageRefreshed = button;
    LightPageRefreshed = light;
    SensorPageRefreshed = sensor;
}
}  // namespace

class TstUpDataParam : public QObject {
    Q_OBJECT
    ManualClock clock;
    QStringList events;  // hub signals in the order they came
    FlashDataMap refilled{};
    QString dir;
    // A notice asked for while this wait is still on screen.
    QPointer<UpDataParam> watched;
    int noticesOverTheWait = 0;

    // The wait on screen, as its openers run it, and watched for notices that open over it.
    void Show(UpDataParam& d) {
        d.show();
        watched = &d;
    }

    void RunTimer(UpDataParam& d) {
        QVERIFY(QMetaObject::invokeMethod(&d, "onTimeupDestroy", Qt::DirectConnection));
    }

    // The default simulated receiver with its mouse, chosen and connected.
    void Connect() {
        DeviceDiscovery::ScanHomeDevices();
        QVERIFY(!FoundDevices.isEmpty());
        const DeviceAllInfo device = FoundDevices.first();
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = device;
            CurrentDevicePath = device.Path;
        }
        SetDeviceInfoLoadName(DeviceInfoFilePath(device.CidMidWord));
        SetDeviceInfoSaveName(DeviceInfoFilePath(device.CidMidWord));
        QVERIFY(UsbServerC_Start(device.Path.constData(), device.Path.constData(), DeviceDataCallback));
        OnlineNow = true;
        const QByteArray flash = HidSim::Flash("mouse");
        FlashDataMap image{};
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image));
        SetImage(image);
    }

private slots:
    void initTestCase() {
        RegisterDeviceMetaTypes();
        LanguageFixture::Put(MouseInfoTipsTexts, "DialogUpdating");
        LanguageFixture::Put(MouseKeyTexts, "DialogConfigError");
        LanguageFixture::Put(MouseKeyTexts, "DialogEConfigMismatch");
        PostMsg* hub = PostMsg::GetInstance();
        connect(hub, &PostMsg::SigSetver, this, [this](int i) { events << QString("Setver %1").arg(i); });
        connect(hub, &PostMsg::SigMouseOffLineo, this, [this](int i) {
            events << QString("Offline %1").arg(i);
            if (watched && watched->isVisible()) ++noticesOverTheWait;
        });
        connect(hub, &PostMsg::SigUpDataLightUIA, this, [this](FlashDataMap m) {
            events << "LightA";
            refilled = m;
        });
        connect(hub, &PostMsg::SigUpDataSensorUIB, this, [this](FlashDataMap) { events << "SensorB"; });
        connect(hub, &PostMsg::SigUpDataButtonUIC, this, [this](FlashDataMap) { events << "ButtonC"; });
        connect(hub, &PostMsg::SigFormB, this, [this] { events << "FormB"; });
        Clock::Set(&clock);
    }
    void init() {
        UsbServer_Exit();
        HidSim::SetStateDir(TestEnv::FreshDir("sim"));
        HidSim::LoadDefault();
        ConfigIni::ResetForTest();
        dir = TestEnv::FreshDir("files");
        QDir().mkpath(QDir::homePath() + "/AppData/Local/Vorlant ZEMB/Device_Info");
        SetDeviceInfoLoadName(dir + "/cache.bin");
        SetDeviceInfoSaveName(dir + "/cache.bin");
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = DeviceAllInfo();
        }
        SetImage(Filled(0x11, 3));
        SetPagesRefreshed(false, false, false);
        DeviceAnswered = false;
        OnlineNow = false;
        ImportResult = 0;
        events.clear();
        watched = nullptr;
        noticesOverTheWait = 0;
    }
    void cleanupTestCase() {
        UsbServer_Exit();
        Clock::Set(nullptr);
    }

    void startTimerIsSingleShot2500() {
        UpDataParam d;
        QCOMPARE(d.findChild<QLabel*>("label")->text(), LanguageFixture::Text("DialogUpdating", 0));
        d.StartTimer();
        QTimer* timer = d.findChild<QTimer*>();
        QVERIFY(timer && timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 2500);
    }

    void normalWait_data() {
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<qint64>("waited");
        QTest::newRow("pages already refreshed") << true << QStringList{"Setver 4"} << qint64(0);
        QTest::newRow("one page missing")
            << false << QStringList{"Setver 4", "Offline 1"} << qint64(12 * 500);
    }
    void normalWait() {
        QFETCH(bool, allPages);
        QFETCH(QStringList, expected);
        QFETCH(qint64, waited);
        DeviceAnswered = true;
        SetPagesRefreshed(true, allPages, true);
        UpDataParam d;
        const qint64 start = Clock::ElapsedMs();
        RunTimer(d);
        QCOMPARE(events, expected);
        QCOMPARE(Clock::ElapsedMs() - start, waited);
        // A success clears the three marks; a failure leaves them.
        QCOMPARE(ButtonPageRefreshed.load(), !allPages);
    }

    // The device window left while a wait runs ends the wait for good, with no notice, also when the
    // window was shown again before the wait looked.
    void waitEndsWhenTheWindowWasLeftMeanwhile() {
        DeviceAnswered = true;
        SetPagesRefreshed(true, false, true);  // a page missing: the wait would end in the time-out notice
        DeviceWindow.Enter();
        UpDataParam d;
        d.StartTimer();
        QMetaObject::invokeMethod(
            this,
            [] {
                DeviceWindow.Leave();
                PostMsg::GetInstance()->EmitSigMainPageChange();
                DeviceWindow.Enter();
            },
            Qt::QueuedConnection);
        const qint64 start = Clock::ElapsedMs();
        RunTimer(d);
        QCOMPARE(events, QStringList{"Setver 4"});
        QVERIFY(Clock::ElapsedMs() - start < 12 * 500);
        QVERIFY(!d.findChild<QTimer*>()->isActive());
        DeviceWindow.Leave();
    }

    void normalWaitCreatesTheMissingCacheOnly() {
        DeviceAnswered = true;
        SetPagesRefreshed(true, true, true);
        OnlineNow = true;
        UpDataParam first;
        RunTimer(first);
        FlashDataMap cached{};
        QVERIFY(ReadDeviceInfoFile(dir + "/cache.bin", &cached));
        QVERIFY(Same(cached, Filled(0x11, 3)));

        SetImage(Filled(0x22, 4));
        SetPagesRefreshed(true, true, true);
        UpDataParam second;
        RunTimer(second);
        QVERIFY(ReadDeviceInfoFile(dir + "/cache.bin", &cached));
        QVERIFY(Same(cached, Filled(0x11, 3)));  // an existing cache is not rewritten here
    }

    void noAnswer_data() {
        QTest::addColumn<bool>("cache");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("cached image")
            << true << QStringList{"Setver 4", "LightA", "SensorB", "ButtonC", "FormB", "Offline 0"};
        QTest::newRow("no cache") << false << QStringList{"Setver 4", "Offline 0"};
    }
    void noAnswer() {
        QFETCH(bool, cache);
        QFETCH(QStringList, expected);
        if (cache) QVERIFY(WriteDeviceInfoFile(dir + "/cache.bin", Filled(0x33, 2)));
        SetPagesRefreshed(true, true, true);  // never looked at without an answer
        UpDataParam d;
        Show(d);
        RunTimer(d);
        QCOMPARE(events, expected);
        QCOMPARE(noticesOverTheWait, 0);
        if (cache) QVERIFY(Same(refilled, Filled(0x33, 2)));
    }

    void forcedWait_data() {
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<qint64>("waited");
        QTest::newRow("refreshed") << true << QStringList{"Setver 4"} << qint64(2000);
        QTest::newRow("time-out") << false << QStringList{"Setver 4", "Offline 0"} << qint64(12 * 500 + 2000);
    }
    void forcedWait() {
        QFETCH(bool, allPages);
        QFETCH(QStringList, expected);
        QFETCH(qint64, waited);
        DeviceAnswered = true;
        SetPagesRefreshed(allPages, true, true);
        UpDataParam d;
        d.ForcedMode = true;
        const qint64 start = Clock::ElapsedMs();
        RunTimer(d);
        QCOMPARE(events, expected);
        QCOMPARE(Clock::ElapsedMs() - start, waited);
        QCOMPARE(ButtonPageRefreshed.load(), allPages);  // the forced wait leaves the marks
        QVERIFY(!d.ForcedMode);

        // The reused instance's next wait is a normal one: a time-out asks for code 1.
        events.clear();
        SetPagesRefreshed(false, false, false);
        RunTimer(d);
        QCOMPARE(events, (QStringList{"Setver 4", "Offline 1"}));
    }

    void importAcceptedReachesTheSimulatedMouse() {
        Connect();
        const FlashDataMap profile = [] {
            FlashDataMap image = ImageNow();
            image.ReportRateCode = 2;
            image.DpiLevelCount = 8;
            image.KeyDebounceMs = 7;
            return image;
        }();
        QVERIFY(ProfileFile::Write(dir + "/p.bin", "3395", profile));
        UpDataParam d;
        d.ImportMode = true;
        d.ProfilePath = dir + "/p.bin";
        const qint64 start = Clock::ElapsedMs();
        RunTimer(d);
        QCOMPARE(ImportResult, 0);
        QVERIFY(!d.ImportMode);
        QVERIFY(Same(ImageNow(), profile));
        QCOMPARE(HidSim::LastImage(), QByteArray(reinterpret_cast<const char*>(&profile), sizeof profile));
        QCOMPARE(events, (QStringList{"Setver 4", "LightA", "SensorB", "ButtonC", "FormB"}));
        QVERIFY(Same(refilled, profile));
        QCOMPARE(Clock::ElapsedMs() - start, qint64(5 * 500));
    }

    void importNotTakenByTheDevice() {
        Connect();
        const FlashDataMap before = ImageNow();
        QVERIFY(ProfileFile::Write(dir + "/p.bin", "3395", Filled(0x55, 2)));  // full macros: cannot fit
        UpDataParam d;
        d.ImportMode = true;
        d.ProfilePath = dir + "/p.bin";
        Show(d);
        RunTimer(d);
        QCOMPARE(ImportResult, 0);
        QVERIFY(Same(ImageNow(), before));
        // The mouse answers and refused the image: not an offline event, and the wait is gone first.
        QCOMPARE(events, (QStringList{"Setver 4", "Offline 2"}));
        QCOMPARE(noticesOverTheWait, 0);
    }

    // An import's wait speaks the language of the window like every other wait.
    void importWaitInTheLanguage() {
        const int language = CurrentLanguage;
        CurrentLanguage = 1;
        ImportInProgress = 1;
        UpDataParam d;
        const QString shown = d.findChild<QLabel*>("label")->text();
        ImportInProgress = 0;
        CurrentLanguage = language;
        QCOMPARE(shown, LanguageFixture::Text("DialogUpdating", 1));
    }

    void importRefused_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("key");
        QTest::newRow("empty file") << QByteArray() << "" << 1 << "DialogConfigError";
        QTest::newRow("other sensor") << QByteArray() << "3950" << 2 << "DialogEConfigMismatch";
        QTest::newRow("truncated") << QByteArray("cut") << "3395" << 1 << "DialogConfigError";
    }
    void importRefused() {
        QFETCH(QByteArray, content);
        QFETCH(QString, sensor);
        QFETCH(int, result);
        QFETCH(QString, key);
        Connect();
        const QString path = dir + "/p.bin";
        if (!sensor.isEmpty()) QVERIFY(ProfileFile::Write(path, sensor, Filled(0x44, 2)));
        QFile file(path);
        if (sensor.isEmpty() || !content.isEmpty()) {
            QVERIFY(file.open(QIODevice::ReadWrite |
                              (content.isEmpty() ? QIODevice::Truncate : QIODevice::ReadWrite)));
            if (!content.isEmpty()) file.resize(5000);
            file.close();
        }
        const FlashDataMap before = ImageNow();
        HidSim::ClearCallLog();
        UpDataParam d;
        d.ImportMode = true;
        d.ProfilePath = path;
        Show(d);
        QString shown;
        bool overTheWait = true;
        ScopedModalScript script([&](QDialog& notice) {
            shown = notice.findChild<QLabel*>("label")->text();
            overTheWait = d.isVisible();
            return 0;
        });
        RunTimer(d);
        QCOMPARE(ImportResult, result);
        QCOMPARE(shown, LanguageFixture::Text(key, 0));
        // The wait is gone before the notice opens.
        QVERIFY(!overTheWait);
        QVERIFY(Same(ImageNow(), before));
        QVERIFY(!HidSim::CallLog().join(' ').contains("ProtocolDataUpdate"));
        QCOMPARE(events, QStringList{"Setver 4"});
        QVERIFY(!d.ImportMode);
    }

    // The full road: the simulated mouse's dump fills the pages, whose marks end the wait at once.
    void normalWaitAfterARealDump() {
        SensorPageMarks pages;
        LampLight light;
        ButtonPageMarks buttons;
        Connect();
        QVERIFY(UsbServer_ReadAllFlashData());
        QTRY_VERIFY(DeviceAnswered && ButtonPageRefreshed && LightPageRefreshed && SensorPageRefreshed);
        QTest::qWait(100);  // the dump's follow-up reports
        events.clear();
        UpDataParam d;
        RunTimer(d);
        QCOMPARE(events, QStringList{"Setver 4"});
        QVERIFY(!ButtonPageRefreshed && !LightPageRefreshed && !SensorPageRefreshed);
        FlashDataMap cached{};
        QVERIFY(ReadDeviceInfoFile(DeviceInfoSaveName(), &cached));
        QVERIFY(Same(cached, ImageNow()));
    }

    void escapeDoesNotEndTheWait() {
        UpDataParam d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        d.close();
        QVERIFY(d.isVisible());
        RunTimer(d);  // no answer: closes itself
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TstUpDataParam)
#include "tst_updataparam.moc"
