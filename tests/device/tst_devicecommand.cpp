// Device-command senders against the simulated mouse.
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "DeviceFixture.h"
#include "core/CurrentFlashData.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"

namespace {
void Ignore(const unsigned char*, int, const unsigned char*, int) {}

struct SenderCase {
    const char* name;
    std::function<bool()> send;
    int offset;
    QByteArray bytes;
};

const QVector<SenderCase>& Cases() {
    static const QVector<SenderCase> cases = {
        {"report rate", [] { return SetReportRate(64); }, 0, QByteArray::fromHex("40")},
        {"current level", [] { return SetCurrentDpiLevel(3); }, 2, QByteArray::fromHex("03")},
        {"level value", [] { return SetDpiLevelValue(2, 0x3F, 0x3F, 0x33); }, 48 + 12,
         QByteArray::fromHex("3f3f33")},
        {"level colour", [] { return SetDpiLevelColor(7, 1, 2, 3); }, 48 + 42 + 3,
         QByteArray::fromHex("010203")},
        {"lod", [] { return SetLod(3); }, 5, QByteArray::fromHex("03")},
        {"key debounce", [] { return SetKeyDebounce(30); }, 6, QByteArray::fromHex("1e")},
        {"motion sync", [] { return SetMotionSync(1); }, 7, QByteArray::fromHex("01")},
        {"sleep", [] { return SetSleepTime(240); }, 8, QByteArray::fromHex("f0")},
        {"angle snap", [] { return SetAngleSnap(1); }, 9, QByteArray::fromHex("01")},
        {"ripple", [] { return SetRippleControl(1); }, 10, QByteArray::fromHex("01")},
        {"moving off", [] { return SetMovingOffLight(1); }, 11, QByteArray::fromHex("01")},
        {"performance", [] { return SetPerformanceMode(1); }, 12, QByteArray::fromHex("01")},
        {"performance time", [] { return SetPerformanceTime(210); }, 13, QByteArray::fromHex("d2")},
        {"sensor mode", [] { return SetSensorMode(2); }, 14, QByteArray::fromHex("02")},
        {"angle -30", [] { return SetAngleTune(-30); }, 15, QByteArray::fromHex("e201")},
        {"20K", [] { return SetScan20K(1); }, 42, QByteArray::fromHex("01")},
        {"wheel debounce", [] { return SetWheelDebounce(100); }, 43, QByteArray::fromHex("64")},
        {"release debounce", [] { return SetReleaseDebounce(12); }, 44, QByteArray::fromHex("0c")},
        {"dpi light brightness", [] { return SetDpiLightBrightness(230); }, 97, QByteArray::fromHex("e6")},
        {"dpi light speed", [] { return SetDpiLightSpeed(5); }, 98, QByteArray::fromHex("05")},
        {"mouse light colour", [] { return SetMouseLightColor(255, 128, 1); }, 101,
         QByteArray::fromHex("ff8001")},
        {"mouse light speed", [] { return SetMouseLightSpeed(9); }, 104, QByteArray::fromHex("09")},
        {"mouse light brightness", [] { return SetMouseLightBrightness(4); }, 105, QByteArray::fromHex("04")},
        {"button key 15", [] { return SetButtonKey(15, 4, 200, 3); }, 152, QByteArray::fromHex("04c803")},
        {"button key 0", [] { return SetButtonKey(0, 1, 2, 0); }, 107, QByteArray::fromHex("010200")},
    };
    return cases;
}

QByteArray Bytes(const FlashDataMap& image, int offset, int length) {
    return QByteArray(reinterpret_cast<const char*>(&image) + offset, length);
}
}  // namespace

class TestDeviceCommand : public QObject {
    Q_OBJECT

private:
    QString mouse_;

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(Ignore);
    }

    void senderWritesItsField_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < Cases().size(); ++i) QTest::newRow(Cases()[i].name) << i;
    }

    void senderWritesItsField() {
        QFETCH(int, index);
        const SenderCase& c = Cases()[index];
        const FlashDataMap before = DeviceFixture::ImageNow();
        QVERIFY(c.send());
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(Bytes(handed, c.offset, c.bytes.size()), c.bytes);
        QCOMPARE(Bytes(DeviceFixture::ImageNow(), c.offset, c.bytes.size()), c.bytes);
        // Everything else, reserved bytes included, goes back as it came.
        FlashDataMap expected = before;
        std::memcpy(reinterpret_cast<char*>(&expected) + c.offset, c.bytes.constData(),
                    size_t(c.bytes.size()));
        QCOMPARE(Bytes(handed, 0, sizeof handed), Bytes(expected, 0, sizeof expected));
    }

    // A hand-over the device refuses while it stays online leaves the image as it was.
    void everySenderRefusedKeepsTheImage_data() { senderWritesItsField_data(); }

    void everySenderRefusedKeepsTheImage() {
        QFETCH(int, index);
        const SenderCase& c = Cases()[index];
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QByteArray flash = HidSim::Flash(mouse_);
        QVERIFY(HidSim::FailNext(mouse_, 1));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QVERIFY(!c.send());
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Bytes(now, 0, sizeof now), Bytes(before, 0, sizeof before));
        QCOMPARE(HidSim::Flash(mouse_), flash);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 0);
        // The next send goes through.
        QVERIFY(c.send());
        QCOMPARE(Bytes(DeviceFixture::ImageNow(), c.offset, c.bytes.size()), c.bytes);
    }

    void modeZeroKeepsTheMode() {
        QVERIFY(SetDpiLightMode(2));
        QVERIFY(SetDpiLightMode(0));
        FlashDataMap image = DeviceFixture::LastHandedImage();
        QCOMPARE(int(image.DpiLightEnable), 0);
        QCOMPARE(int(image.DpiLightMode), 2);
        QVERIFY(SetMouseLightMode(5));
        QVERIFY(SetMouseLightMode(0));
        image = DeviceFixture::LastHandedImage();
        QCOMPARE(int(image.MouseLightEnable), 0);
        QCOMPARE(int(image.MouseLightMode), 5);
        QVERIFY(SetMouseLightMode(3));
        QCOMPARE(int(DeviceFixture::LastHandedImage().MouseLightEnable), 1);
        QCOMPARE(int(DeviceFixture::LastHandedImage().MouseLightMode), 3);
    }

    void macroForLastButton() {
        MacroRecord macro{};
        macro.NameLength = 3;
        std::memcpy(macro.Name, "abc", 3);
        macro.EventCount = 70;
        macro.Events[69] = KeyEvent{1, 1, 0x04, 500};
        QVERIFY(SetButtonMacro(15, ButtonKeyEntry{6, 15, 254}, macro));
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(Bytes(handed, 152, 3), QByteArray::fromHex("060ffe"));
        QCOMPARE(Bytes(handed, 9868, 592), QByteArray(reinterpret_cast<const char*>(&macro), 592));
    }

    void actionForButton() {
        KeyActionRecord action{};
        action.EventCount = 2;
        action.Events[0] = KeyEvent{0, 2, 0xCD, 0};
        action.Events[1] = KeyEvent{1, 2, 0xCD, 0};
        QVERIFY(SetButtonAction(4, ButtonKeyEntry{5, 0, 0}, action));
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(Bytes(handed, 107 + 12, 3), QByteArray::fromHex("050000"));
        QCOMPARE(Bytes(handed, 156 + 4 * 52, 52), QByteArray(reinterpret_cast<const char*>(&action), 52));
    }

    void exchangeLevels_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::newRow("distinct") << 1 << 4;
        QTest::newRow("same index ends with B") << 3 << 3;
    }

    void exchangeLevels() {
        QFETCH(int, i);
        QFETCH(int, j);
        const DpiLevelRecord a{1, 1, 0, 10, 11, 12};
        const DpiLevelRecord b{2, 2, 0x11, 20, 21, 22};
        QVERIFY(ExchangeDpiLevels(a, b, i, j, 5));
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(Bytes(handed, 48 + 6 * i, 6), QByteArray(reinterpret_cast<const char*>(&b), 6));
        if (i != j) QCOMPARE(Bytes(handed, 48 + 6 * j, 6), QByteArray(reinterpret_cast<const char*>(&a), 6));
        QCOMPARE(int(handed.CurrentDpiLevel), 5);
        QCOMPARE(int(handed.DpiLevelCount), 6);
    }

    void outOfRangeIsRefused_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("button 16") << 0;
        QTest::newRow("button -1") << 1;
        QTest::newRow("level 8 value") << 2;
        QTest::newRow("level 8 colour") << 3;
        QTest::newRow("current level 8") << 4;
        QTest::newRow("exchange j 8") << 5;
        QTest::newRow("macro button 16") << 6;
    }

    void outOfRangeIsRefused() {
        QFETCH(int, which);
        HidSim::ClearCallLog();
        const FlashDataMap before = DeviceFixture::ImageNow();
        bool sent = true;
        switch (which) {
            case 0:
                sent = SetButtonKey(16, 1, 1, 0);
                break;
            case 1:
                sent = SetButtonKey(-1, 1, 1, 0);
                break;
            case 2:
                sent = SetDpiLevelValue(8, 1, 1, 0);
                break;
            case 3:
                sent = SetDpiLevelColor(8, 1, 1, 1);
                break;
            case 4:
                sent = SetCurrentDpiLevel(8);
                break;
            case 5:
                sent = ExchangeDpiLevels(DpiLevelRecord{}, DpiLevelRecord{}, 0, 8, 0);
                break;
            case 6:
                sent = SetButtonMacro(16, ButtonKeyEntry{}, MacroRecord{});
                break;
        }
        QVERIFY(!sent);
        QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
        QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
    }

    void offlineWritesNothing_data() {
        QTest::addColumn<int>("filling");  // 0 none, 1 button, 2 light, 3 sensor page
        QTest::addColumn<int>("notices");
        QTest::newRow("no page filling") << 0 << 1;
        QTest::newRow("button page filling") << 1 << 0;
        QTest::newRow("light page filling") << 2 << 0;
        QTest::newRow("sensor page filling") << 3 << 0;
    }

    void offlineWritesNothing() {
        QFETCH(int, filling);
        QFETCH(int, notices);
        QVERIFY(HidSim::Sleep(mouse_));
        ButtonPageRefreshing = filling == 1;
        LightPageRefreshing = filling == 2;
        SensorPageRefreshing = filling == 3;
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim::ClearCallLog();
        const FlashDataMap before = DeviceFixture::ImageNow();

        QVERIFY(!SetReportRate(1));
        QVERIFY(!IsDeviceOnline());
        QVERIFY(!SendFlashData());

        QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
        QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
        QCOMPARE(offline.count(), 3 * notices);
        if (notices) QCOMPARE(offline.first().at(0).toInt(), 0);
    }

    void onlineCheckSendsNothing() {
        HidSim::ClearCallLog();
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QVERIFY(IsDeviceOnline());
        QCOMPARE(offline.count(), 0);
        QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
    }

    void imageNotFromThisDeviceIsNeverSent() {
        FlashDataFromDevice = false;
        HidSim::ClearCallLog();
        const QByteArray flash = HidSim::Flash(mouse_);
        QVERIFY(!SetReportRate(8));
        QVERIFY(!SendFlashData());
        UpdateFlashData();
        QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
        QCOMPARE(HidSim::Flash(mouse_), flash);
        QVERIFY(ForceReread);
        QVERIFY(ReconnectRequested);
    }

    void reservedBytesSurviveManySends() {
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.Reserved03 = 0xA5;
            CurrentFlashData.Reserved11[24] = 0x5A;
            CurrentFlashData.Reserved9B = 0x77;
        }
        for (int i = 0; i < 20; ++i) QVERIFY(SetKeyDebounce(i));
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(int(handed.Reserved03), 0xA5);
        QCOMPARE(int(handed.Reserved11[24]), 0x5A);
        QCOMPARE(int(handed.Reserved9B), 0x77);
    }

    // A refused hand-over changes nothing: the next sender carries none of it and succeeds.
    void refusedHandOverChangesNothing_data() {
        QTest::addColumn<bool>("macro");  // refused for want of room, else a mouse that fails once
        QTest::newRow("macro without room") << true;
        QTest::newRow("field not taken") << false;
    }

    void refusedHandOverChangesNothing() {
        QFETCH(bool, macro);
        MacroRecord full{};
        full.NameLength = 1;
        full.Name[0] = 'm';
        full.EventCount = 70;
        for (KeyEvent& event : full.Events) event = KeyEvent{1, 1, 0x04, 0x01020304};
        int refusedButton = -1;
        if (macro) {
            for (int b = 0; b < kDeviceButtonCount && refusedButton < 0; ++b) {
                const FlashDataMap before = DeviceFixture::ImageNow();
                QSignalSpy notices(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
                if (SetButtonMacro(b, ButtonKeyEntry{6, uint8_t(b), 0}, full)) {
                    QCOMPARE(notices.count(), 0);
                    continue;
                }
                refusedButton = b;
                QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
                QCOMPARE(notices.count(), 1);
                // The library's answer does not tell want of room from another refusal.
                QCOMPARE(notices.first().at(0).toInt(), int(NoticeNotTaken));
            }
            QVERIFY(refusedButton > 0);
        } else {
            const FlashDataMap before = DeviceFixture::ImageNow();
            QSignalSpy notices(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
            QVERIFY(HidSim::FailNext(mouse_, 1));
            QVERIFY(!SetLod(3));
            QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
            QCOMPARE(notices.count(), 1);
            QCOMPARE(notices.first().at(0).toInt(), int(NoticeNotTaken));
        }

        QVERIFY(SetReportRate(64));
        QVERIFY(SetLod(3));
        const QByteArray flash = HidSim::Flash(mouse_);
        FlashDataMap stored{};
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &stored));
        QCOMPARE(int(stored.ReportRateCode), 64);
        QCOMPARE(int(stored.LodCode), 3);
        QCOMPARE(int(DeviceFixture::ImageNow().LodCode), 3);
        if (macro) {
            QCOMPARE(int(DeviceFixture::ImageNow().ButtonMacros[refusedButton].EventCount), 0);
            QCOMPARE(int(stored.ButtonMacros[refusedButton].EventCount), 0);
            QCOMPARE(int(stored.ButtonMacros[refusedButton - 1].EventCount), 70);
        }
    }

    void refusalByAMouseGoneOfflineIsTheOfflineNotice() {
        // The mouse fell asleep before its call was refused.
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy notices(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        ReportRefused();
        QCOMPARE(notices.count(), 1);
        QCOMPARE(notices.first().at(0).toInt(), int(NoticeOffline));
    }

    void sentChangeReachesTheFlashAndSurvivesRestart() {
        QVERIFY(SetLod(2));
        QVERIFY(SetDpiLevelColor(0, 9, 8, 7));
        HidSim::Restart();
        const QByteArray flash = HidSim::Flash(mouse_);
        FlashDataMap parsed{};
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &parsed));
        QCOMPARE(int(parsed.LodCode), 2);
        QCOMPARE(int(parsed.DpiLevels[0].ColorR), 9);
        QCOMPARE(int(parsed.DpiLevels[0].ColorB), 7);
    }
};

QTEST_MAIN(TestDeviceCommand)
#include "tst_devicecommand.moc"
