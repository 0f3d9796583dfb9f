// The data callback fed with the simulated library's messages.
#include <QSignalSpy>
#include <QtTest>

#include "DeviceFixture.h"
#include "ProductTables.h"
#include "core/CurrentFlashData.h"
#include "core/PostMsg.h"
#include "device/DeviceDataCallback.h"
#include "device/DeviceInfoFile.h"

namespace {
void Ignore(const unsigned char*, int, const unsigned char*, int) {}

// Delivers one message as the library does: on a thread of its own.
void Feed(int kind, int sub3, int sub4, const QByteArray& payload) {
    const unsigned char header[5] = {0, static_cast<unsigned char>(kind), 0, static_cast<unsigned char>(sub3),
                                     static_cast<unsigned char>(sub4)};
    QThread* thread = QThread::create([&] {
        DeviceDataCallback(header, 5, reinterpret_cast<const unsigned char*>(payload.constData()),
                           payload.size());
    });
    thread->start();
    while (!thread->wait(5)) QCoreApplication::processEvents();
    delete thread;
}

QByteArray Bytes(const FlashDataMap& image, int offset, int length) {
    return QByteArray(reinterpret_cast<const char*>(&image) + offset, length);
}

bool Logged(const char* call) {
    return HidSim::CallLog().join('\n').contains(call);
}
}  // namespace

class TestDeviceDataCallback : public QObject {
    Q_OBJECT

private:
    QString mouse_;
    PostMsg* hub_ = nullptr;

    void Start(const QString& table = QString()) {
        DeviceFixture::Init(table);
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(Ignore);
        FlashDataFromDevice = false;
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        std::memset(&CurrentFlashData, 0, sizeof CurrentFlashData);
    }

private slots:
    void initTestCase() { hub_ = PostMsg::GetInstance(); }
    void init() { Start(); }

    void fullDumpFillsImageAndPages() {
        QSignalSpy button(hub_, SIGNAL(SigUpDataLightUIButton(FlashDataMap)));
        QSignalSpy light(hub_, SIGNAL(SigUpDataLightLight(FlashDataMap)));
        QSignalSpy sensor(hub_, SIGNAL(SigUpDataLightSensor(FlashDataMap)));
        QSignalSpy form(hub_, SIGNAL(SigForm()));
        QSignalSpy isUsb(hub_, SIGNAL(SigIsUsb(bool, bool)));
        ButtonPageRefreshed = LightPageRefreshed = SensorPageRefreshed = true;
        WorkerRunEnable = true;
        HidSim::ClearCallLog();

        const QByteArray flash = HidSim::Flash(mouse_);
        Feed(8, 0, 0, flash);

        FlashDataMap expected{};
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &expected));
        const FlashDataMap image = DeviceFixture::ImageNow();
        QCOMPARE(Bytes(image, 0, sizeof image), Bytes(expected, 0, sizeof expected));
        QVERIFY(FlashDataFromDevice);
        QCOMPARE(button.count(), 1);
        QCOMPARE(light.count(), 1);
        QCOMPARE(sensor.count(), 1);
        QCOMPARE(form.count(), 1);
        QCOMPARE(isUsb.count(), 1);
        QCOMPARE(isUsb.first().at(0).toBool(), false);
        const FlashDataMap sent = button.first().at(0).value<FlashDataMap>();
        QCOMPARE(Bytes(sent, 0, sizeof sent), Bytes(expected, 0, sizeof expected));
        // No page connected: the refreshed flags stay cleared.
        QVERIFY(!ButtonPageRefreshed && !LightPageRefreshed && !SensorPageRefreshed);
        QVERIFY(DeviceAnswered);
        QVERIFY(!WorkerRunEnable);
        QCOMPARE(DeviceInfoSaveName(), DeviceInfoFilePath(0x0623));
        for (const char* call :
             {"ReadDPILed", "ReadBatteryLevel", "ReadVersion", "ReadConfig", "ProtocolDataUpdate"})
            QVERIFY2(Logged(call), call);
    }

    void oneValueReports_data() {
        QTest::addColumn<int>("sub4");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("report rate") << 0 << 0 << QByteArray(SIGNAL(SigUpDataReportRate(int)));
        QTest::newRow("current DPI level") << 4 << 2 << QByteArray(SIGNAL(SigUpDataDPI(int)));
    }

    void oneValueReports() {
        QFETCH(int, sub4);
        QFETCH(int, offset);
        QFETCH(QByteArray, signal);
        Feed(8, 0, 0, HidSim::Flash(mouse_));
        HidSim::ClearCallLog();
        QSignalSpy spy(hub_, signal.constData());
        Feed(8, 0, sub4, QByteArray(1, char(5)));
        QCOMPARE(int(Bytes(DeviceFixture::ImageNow(), offset, 1).at(0)), 5);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toInt(), 5);
        QVERIFY(Logged("ProtocolDataUpdate"));
        QCOMPARE(int(Bytes(DeviceFixture::LastHandedImage(), offset, 1).at(0)), 5);
    }

    void lightReportsWriteTheirBlockOnly_data() {
        QTest::addColumn<int>("sub4");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("DPI light") << 0x4C << 8 << 96 << 4
                                   << QByteArray(SIGNAL(SigUpDataDPILed(FlashDataMap)));
        QTest::newRow("light bar") << 0xA0 << 9 << 100 << 7
                                   << QByteArray(SIGNAL(SigUpDataLightLight(FlashDataMap)));
    }

    void lightReportsWriteTheirBlockOnly() {
        QFETCH(int, sub4);
        QFETCH(int, length);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(QByteArray, signal);
        Feed(8, 0, 0, HidSim::Flash(mouse_));
        const FlashDataMap before = DeviceFixture::ImageNow();
        QByteArray payload(length, 0);
        for (int i = 0; i < length; ++i) payload[i] = char(i + 1);
        QByteArray expectedBlock(width, 0);
        if (sub4 == 0x4C)
            BufferToDPILed(reinterpret_cast<const unsigned char*>(payload.constData()), length,
                           reinterpret_cast<unsigned char*>(expectedBlock.data()));
        else
            BufferToLedBar(reinterpret_cast<const unsigned char*>(payload.constData()), length,
                           reinterpret_cast<unsigned char*>(expectedBlock.data()));
        HidSim::ClearCallLog();
        QSignalSpy spy(hub_, signal.constData());

        Feed(8, 0, sub4, payload);

        const FlashDataMap after = DeviceFixture::ImageNow();
        QCOMPARE(Bytes(after, offset, width), expectedBlock);
        QCOMPARE(Bytes(after, 0, offset), Bytes(before, 0, offset));
        QCOMPARE(Bytes(after, offset + width, int(sizeof after) - offset - width),
                 Bytes(before, offset + width, int(sizeof before) - offset - width));
        QCOMPARE(spy.count(), 1);
        QVERIFY(!Logged("ProtocolDataUpdate"));
    }

    void ignoredMessages_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("sub3");
        QTest::addColumn<int>("sub4");
        QTest::addColumn<int>("length");
        QTest::newRow("dump with sub-kind 3 not 0") << 8 << 1 << 0 << 6912;
        QTest::newRow("two-byte data") << 8 << 0 << 0 << 2;
        QTest::newRow("DPI light of 7 bytes") << 8 << 0 << 0x4C << 7;
        QTest::newRow("unknown sub-kind") << 8 << 0 << 0x33 << 1;
        QTest::newRow("pairing kind") << 6 << 0 << 0 << 1;
        QTest::newRow("unknown kind") << 99 << 0 << 0 << 4;
        QTest::newRow("long range of 9 bytes") << 23 << 0 << 0 << 9;
        QTest::newRow("battery of 1 byte") << 4 << 0 << 0 << 1;
        QTest::newRow("empty battery") << 4 << 0 << 0 << 0;
    }

    void ignoredMessages() {
        QFETCH(int, kind);
        QFETCH(int, sub3);
        QFETCH(int, sub4);
        QFETCH(int, length);
        const FlashDataMap before = DeviceFixture::ImageNow();
        HidSim::ClearCallLog();
        QSignalSpy any(hub_, SIGNAL(SigUpDataLightUIButton(FlashDataMap)));
        QSignalSpy longRange(hub_, SIGNAL(SigLongRangeMode(bool)));
        QSignalSpy rate(hub_, SIGNAL(SigUpDataReportRate(int)));
        QSignalSpy battery(hub_, SIGNAL(SigBattery(bool, int, bool)));
        Feed(kind, sub3, sub4, QByteArray(length, char(1)));
        QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
        QCOMPARE(any.count() + longRange.count() + rate.count() + battery.count(), 0);
        QVERIFY(!Logged("ProtocolDataUpdate"));
    }

    void shortOrMissingHeaderIsSafe() {
        const unsigned char one[1] = {8};
        QThread* thread = QThread::create([&] {
            DeviceDataCallback(one, 1, nullptr, 0);
            DeviceDataCallback(nullptr, 0, nullptr, 6912);
        });
        thread->start();
        QVERIFY(thread->wait(5000));
        delete thread;
        QVERIFY(!FlashDataFromDevice);
    }

    void configReport() {
        QSignalSpy spy(hub_, SIGNAL(SigUpDataConfigUI(int, int, bool)));
        Feed(14, 0, 0, QByteArray(1, char(2)));
        Feed(14, 0, 0, QByteArray(3, char(2)));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0), QVariantList({4, 2, true}));
        QCOMPARE(spy.at(1), QVariantList({0, 0, false}));
    }

    void receiverNotices() {
        QSignalSpy rgb(hub_, SIGNAL(SigRGBValue(DongleRGB*)));
        QSignalSpy longRange(hub_, SIGNAL(SigLongRangeMode(bool)));
        Feed(21, 0, 0, QByteArray(3, char(9)));
        Feed(23, 0, 0, QByteArray(10, char(0)));
        QCOMPARE(rgb.count(), 1);
        QCOMPARE(longRange.count(), 1);
        QCOMPARE(longRange.first().at(0).toBool(), false);
    }

    void batteryReport() {
        QVERIFY(HidSim::SetBattery(mouse_, 77, true));
        BatteryTextEnabled = 1;
        QSignalSpy spy(hub_, SIGNAL(SigBattery(bool, int, bool)));
        const QByteArray payload = QByteArray::fromHex("4d01");  // answered as the library reports it
        Feed(4, 0, 0, payload);
        QCOMPARE(spy.count(), 1);
        BatteryStatus expected{};
        GetDeviceBatteryStatus(reinterpret_cast<const unsigned char*>(payload.constData()), payload.size(),
                               &expected);
        QCOMPARE(spy.first(), QVariantList({expected.Charging > 0, int(expected.Level), true}));
    }

    void versionRoad() {
        QSignalSpy setver(hub_, SIGNAL(SigSetver(int)));
        Feed(18, 0, 0, QByteArray(2, 0));
        const QString expected = VersionText(HidSim::Version(mouse_));
        QCOMPARE(CurrentDeviceCopy().MouseVersion, expected);
        QCOMPARE(setver.count(), 1);
        QCOMPARE(setver.first().at(0).toInt(), 0);
        QCOMPARE(RegistryStore(RegistryStore::DriveTestKey()).Value("MouseVer356").toString(), expected);
    }

    // A mouse that stops answering before its version is read leaves the known version in place.
    void versionWithoutAnswerKeepsTheKnownVersion() {
        RegistryStore registry(RegistryStore::DriveTestKey());
        registry.SetValue("MouseVer356", "v1.12");
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice.MouseVersion = "v1.12";
        }
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy setver(hub_, SIGNAL(SigSetver(int)));
        Feed(18, 0, 0, QByteArray(2, 0));
        QCOMPARE(CurrentDeviceCopy().MouseVersion, QString("v1.12"));
        QCOMPARE(registry.Value("MouseVer356").toString(), QString("v1.12"));
        QCOMPARE(setver.count(), 0);
    }

    void resetCycleKeepsKeySequenceButtons() {
        Start(ProductTables::Write("reset",
                                   "KeyParam3=0x05,0x00,0x00\nKeyParam1=0x01,0x01,0x00\nAdveanced=-1,0\n"));
        // An image with every button record in use.
        QByteArray flash = HidSim::Flash(mouse_);
        Feed(8, 0, 0, flash);
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            for (int b = 0; b < kDeviceButtonCount; ++b) {
                CurrentFlashData.ButtonActions[b].EventCount = 2;
                CurrentFlashData.ButtonMacros[b].EventCount = 1;
            }
        }
        const FlashDataMap filled = DeviceFixture::ImageNow();
        QVERIFY(ProtocolDataUpdate(&filled));
        HidSim::ClearCallLog();
        QSignalSpy longRange(hub_, SIGNAL(SigLongRangeMode(bool)));
        QSignalSpy rgb(hub_, SIGNAL(SigRGBValue(DongleRGB*)));

        Feed(9, 0, 0, QByteArray());

        QVERIFY(Logged("SetBatteryOptimizeEnable"));
        QVERIFY(Logged("ReadAllFlashData"));
        QVERIFY(!Logged("SetLongRangeMode"));
        QVERIFY(!Logged("Set4KDongleRGB"));
        QCOMPARE(longRange.count() + rgb.count(), 0);
        QVERIFY(ResetApplyPending && SkipDongleQuery);

        HidSim::ClearCallLog();
        Feed(8, 0, 0, HidSim::Flash(mouse_));
        const FlashDataMap image = DeviceFixture::LastHandedImage();
        for (int b = 0; b < kDeviceButtonCount; ++b) {
            QCOMPARE(int(image.ButtonActions[b].EventCount), b == 2 ? 2 : 0);
            QCOMPARE(int(image.ButtonMacros[b].EventCount), 0);
        }
        QVERIFY(!Logged("Get4KDongleRGBValue"));
        QVERIFY(!Logged("GetLongRangeMode"));
        QVERIFY(!ResetApplyPending && !SkipDongleQuery);
    }

    void resetCycleAppliesReceiverDefaults() {
        Start(ProductTables::Write("reset2", "Adveanced=1,2\n"));
        QSignalSpy longRange(hub_, SIGNAL(SigLongRangeMode(bool)));
        QSignalSpy rgb(hub_, SIGNAL(SigRGBValue(DongleRGB*)));
        Feed(9, 0, 0, QByteArray());
        QCOMPARE(int(ReceiverRgb.Mode), 2);
        QCOMPARE(rgb.count(), 1);
        QCOMPARE(longRange.count(), 1);
        QCOMPARE(longRange.first().at(0).toBool(), true);
        QCOMPARE(HidSim::LongRangeMode(DeviceFixture::ReceiverName()), 1);
    }

    void resetWithoutKeyParamListsClearsAll() {
        Start(ProductTables::Write("reset3", "KeyParam3=\n"));
        Feed(8, 0, 0, HidSim::Flash(mouse_));
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.ButtonActions[2].EventCount = 2;
        }
        const FlashDataMap filled = DeviceFixture::ImageNow();
        QVERIFY(ProtocolDataUpdate(&filled));
        Feed(9, 0, 0, QByteArray());
        Feed(8, 0, 0, HidSim::Flash(mouse_));
        QCOMPARE(int(DeviceFixture::ImageNow().ButtonActions[2].EventCount), 0);
    }
};

QTEST_MAIN(TestDeviceDataCallback)
#include "tst_devicedatacallback.moc"
