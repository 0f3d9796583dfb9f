// Device library: finding, answers to requests, status changes, receiver records, pairing, reset.
#include "SimTestSupport.h"

using namespace SimTest;

class TestHidUsbMessages : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshDevices("sim-messages"); }

    void defaultDevicesAreFound() {
        int count = 5;
        const char** paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
        QCOMPARE(count, 1);
        const QByteArray path = paths[0];
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(path, 0);
        QCOMPARE(int(info.CidMidWord), 0x0623);  // CID 0x23, MID 6
        QCOMPARE(int(info.Type), 5);             // 8K receiver
        QVERIFY(UsbFinderC_GetDeviceOnLine(path));
        UsbDeviceAttribute attribute;
        std::memset(&attribute, 0, sizeof attribute);
        QVERIFY(UsbFinderC_GetUsbDeviceAttribute(path, &attribute));
        QCOMPARE(int(attribute.VersionWord), 0x0105);
        UsbAddressReply reply;
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(path, &reply));
        QCOMPARE(int(reply.Online), 1);
        QVERIFY(reply.ReceiverId[0] || reply.ReceiverId[1] || reply.ReceiverId[2]);
        QCOMPARE(int(UsbFinderC_GetVersion(path)), 0x0112);
        count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "5001", &count);
        QCOMPARE(count, 0);  // the mouse is not on its cable
    }

    void describedDevices() {
        FreshDevices("sim-messages-described", R"({"devices": [
            {"name": "r1", "kind": "receiver", "class": 1, "receiverId": [1,1,1], "mouse": "m1"},
            {"name": "r2", "kind": "receiver", "class": 2, "receiverId": [2,2,2]},
            {"name": "r4", "kind": "receiver", "class": 4, "mid": 7, "receiverId": [4,4,4], "mouse": "m4", "longRange": "none"},
            {"name": "m1", "kind": "mouse", "online": false},
            {"name": "m4", "kind": "mouse", "mid": 7},
            {"name": "cable", "kind": "mouse", "cable": true},
            {"name": "alien", "kind": "mouse", "cable": true, "pid": "5001", "mid": 9},
            {"name": "slow", "kind": "receiver", "class": 8, "infoZeros": 3},
            {"name": "boot", "kind": "receiver", "class": 8, "bootMode": true}
        ]})");
        struct Expect { const char* pid; int count; };
        for (const Expect& e : {Expect{"6001", 1}, Expect{"6002", 1}, Expect{"6004", 1}, Expect{"6008", 1}, Expect{"5001", 2}}) {
            int count = 5;
            UsbFinderC_FindHidDevicesByDeviceId("3A1B", e.pid, 1, 5, &count);
            QVERIFY2(count == e.count, e.pid);
        }
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("r1"), 0).Type), 0);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("r2"), 0).Type), 4);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("r4"), 0).Type), 1);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("r4"), 0).CidMidWord), 0x0723);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("cable"), 0).Type), 2);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("alien"), 0).CidMidWord), 0x0923);
        // Asleep behind its receiver: offline; a receiver without a mouse reports the id bytes 0, 0, 0.
        QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("r1")));
        UsbAddressReply reply;
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(PathText("r2"), &reply));
        QCOMPARE(int(reply.ReceiverId[0] | reply.ReceiverId[1] | reply.ReceiverId[2]), 0);
        // Zeros three times, then the identification.
        for (int i = 0; i < 3; ++i) QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("slow"), 0).CidMidWord), 0);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(PathText("slow"), 0).CidMidWord), 0x0623);
        QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("boot")));
        // No long range on r4: the caller's 0x73 stays.
        unsigned char longRange = 0x73;
        QVERIFY(!UsbFinderC_GetLongRangeMode(PathText("r4"), &longRange));
        QCOMPARE(int(longRange), 0x73);
        QVERIFY(!UsbFinderC_SetLongRangeMode(PathText("r4"), true));
    }

    void badDescriptionIsRefused_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("{devices: [");
        QTest::newRow("no list") << QByteArray(R"({"device": []})");
        QTest::newRow("bad class") << QByteArray(R"({"devices": [{"name": "r", "kind": "receiver", "class": 3}]})");
        QTest::newRow("unknown mouse") << QByteArray(R"({"devices": [{"name": "r", "kind": "receiver", "mouse": "x"}]})");
        QTest::newRow("twice") << QByteArray(R"({"devices": [{"name": "a"}, {"name": "a"}]})");
    }
    void badDescriptionIsRefused() {
        QFETCH(QByteArray, json);
        QString error;
        QVERIFY(!HidSim::LoadDescription(json, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(HidSim::DeviceNames(), QStringList({"receiver", "mouse"}));
    }

    void requestAnswers_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("sub3");
        QTest::addColumn<int>("sub4");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("firstByte");  // -1: not checked
        QTest::newRow("all flash") << "flash" << 8 << 0 << 0 << 6912 << int('V');
        QTest::newRow("report rate") << "rate" << 8 << 0 << 0 << 1 << 1;
        QTest::newRow("current dpi") << "dpi" << 8 << 0 << 4 << 1 << 1;
        QTest::newRow("dpi light") << "dpiled" << 8 << 0 << 0x4C << 8 << 1;
        QTest::newRow("light bar") << "ledbar" << 8 << 0 << 0xA0 << 9 << 1;
        QTest::newRow("battery") << "battery" << 4 << 0 << 0 << 4 << 0;
        QTest::newRow("config") << "config" << 14 << 0 << 0 << 1 << 0;
        QTest::newRow("version") << "version" << 18 << 0 << 0 << 2 << 0x12;
        QTest::newRow("pair status") << "pair" << 6 << 0 << 0 << 1 << 0;
    }
    void requestAnswers() {
        QFETCH(QString, request);
        QFETCH(int, kind);
        QFETCH(int, sub3);
        QFETCH(int, sub4);
        QFETCH(int, length);
        QFETCH(int, firstByte);
        QVERIFY(Connect(PathText("receiver")));
        const QMap<QString, bool (*)()> calls = {
            {"flash", UsbServer_ReadAllFlashData}, {"rate", UsbServer_ReadReportRate},
            {"dpi", UsbServer_ReadCurrentDPI},     {"dpiled", UsbServer_ReadDPILed},
            {"ledbar", UsbServer_ReadLedBar},      {"battery", UsbServer_ReadBatteryLevel},
            {"config", UsbServer_ReadConfig},      {"version", UsbServer_ReadVersion},
            {"pair", UsbServer_ReadDonglePairStatus}};
        QVERIFY(calls.value(request)());
        QVERIFY(WaitFor([] { return !Recorder::Get().All().isEmpty(); }));
        Settle(30);
        const QVector<Message> all = Recorder::Get().All();
        QCOMPARE(all.size(), 1);
        const Message& m = all.first();
        QCOMPARE(m.header.size(), int(HIDUSB_HEADER_LENGTH));
        QCOMPARE(m.kind, kind);
        QCOMPARE(m.sub3, sub3);
        QCOMPARE(m.sub4, sub4);
        QCOMPARE(m.payload.size(), length);
        if (firstByte >= 0) QCOMPARE(int(uchar(m.payload.at(0))), firstByte);
    }

    void reportsConvertIntoTheImage() {
        QVERIFY(Connect(PathText("receiver")));
        FlashDataMap image;
        QVERIFY(ReadImage(&image));
        UsbServer_ReadDPILed();
        UsbServer_ReadLedBar();
        UsbServer_ReadBatteryLevel();
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 4; }));
        const QVector<Message> all = Recorder::Get().All();
        const unsigned char* dpiLed = reinterpret_cast<const unsigned char*>(all[1].payload.constData());
        const unsigned char* ledBar = reinterpret_cast<const unsigned char*>(all[2].payload.constData());
        unsigned char four[4], seven[7];
        QVERIFY(BufferToDPILed(dpiLed, 8, four));
        QVERIFY(BufferToLedBar(ledBar, 9, seven));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(four), 4), QByteArray(reinterpret_cast<char*>(&image.DpiLightMode), 4));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(seven), 7), QByteArray(reinterpret_cast<char*>(&image.MouseLightMode), 7));
        BatteryStatus battery{};
        QVERIFY(GetDeviceBatteryStatus(reinterpret_cast<const unsigned char*>(all[3].payload.constData()), 4, &battery));
        QCOMPARE(int(battery.Level), 85);
        QCOMPARE(int(battery.Charging), 0);
        QVERIFY(!BufferToDPILed(dpiLed, 2, four));  // too short: refused
    }

    void mouseReportsItsOwnChanges_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("flagIndex");
        QTest::newRow("dpi button") << "dpi" << 0;
        QTest::newRow("report rate") << "rate" << 1;
        QTest::newRow("wake") << "wake" << 2;
        QTest::newRow("battery") << "battery" << 6;
    }
    void mouseReportsItsOwnChanges() {
        QFETCH(QString, action);
        QFETCH(int, flagIndex);
        QVERIFY(Connect(PathText("receiver")));
        if (action == "dpi") QVERIFY(HidSim::PressDpiButton("mouse"));
        if (action == "rate") QVERIFY(HidSim::SetReportRate("mouse", 64));
        if (action == "battery") QVERIFY(HidSim::SetBattery("mouse", 20, true));
        if (action == "wake") {
            QVERIFY(HidSim::Sleep("mouse"));
            QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("receiver")));
            QVERIFY(HidSim::Wake("mouse"));
        }
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_STATUS_CHANGED) == 1; }));
        const Message m = Recorder::Get().Last(HIDUSB_MSG_STATUS_CHANGED);
        StatusChangeFlags flags;
        QVERIFY(GetDeviceStatusChanged(reinterpret_cast<const unsigned char*>(m.payload.constData()), m.payload.size(), &flags));
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&flags);
        for (int i = 0; i < 7; ++i) QCOMPARE(int(bytes[i] != 0), int(i == flagIndex));
        // The changed value is what the next answer carries.
        Recorder::Get().Clear();
        if (action == "dpi") UsbServer_ReadCurrentDPI();
        if (action == "rate") UsbServer_ReadReportRate();
        if (action == "battery") UsbServer_ReadBatteryLevel();
        if (action == "wake") UsbServer_ReadReportRate();
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 1; }));
        const QByteArray p = Recorder::Get().All().first().payload;
        if (action == "dpi") QCOMPARE(int(p[0]), 2);
        if (action == "rate") QCOMPARE(int(p[0]), 64);
        if (action == "battery") QCOMPARE(int(p[1]), 20);
    }

    void asleepMouseAnswersWhenItWakes() {
        QVERIFY(HidSim::Sleep("mouse"));
        QVERIFY(Connect(PathText("receiver")));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(UsbServer_ReadReportRate());
        Settle();
        QVERIFY(Recorder::Get().All().isEmpty());
        QVERIFY(HidSim::Wake("mouse"));
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 1; }));
        QCOMPARE(Recorder::Get().All().first().payload.size(), 6912);  // the dump asked for earlier
    }

    void asleepMouseWakesByItself() {
        FreshDevices("sim-messages-wake", R"({"devices": [
            {"name": "r", "kind": "receiver", "mouse": "m", "receiverId": [9,9,9]},
            {"name": "m", "kind": "mouse", "online": false, "wakeAfterMs": 100}]})");
        QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("r")));
        QVERIFY(WaitFor([] { return UsbFinderC_GetDeviceOnLine(PathText("r")); }));
    }

    void failedAnswers() {
        QVERIFY(Connect(PathText("receiver")));
        QVERIFY(HidSim::FailNext("mouse", 2));
        UsbServer_ReadReportRate();
        UsbServer_ReadReportRate();
        UsbServer_ReadCurrentDPI();
        QVERIFY(WaitFor([] { return Recorder::Get().All().size() == 1; }));
        Settle(50);
        QCOMPARE(Recorder::Get().All().size(), 1);
        QCOMPARE(Recorder::Get().All().first().sub4, 4);
        // Receiver writes fail too and leave the receiver's record as it was.
        unsigned char bar[7], original[7];
        QVERIFY(UsbFinderC_GetDongleRGBBarMode(PathText("receiver"), original));
        std::memcpy(bar, original, 7);
        bar[0] = 3;
        QVERIFY(HidSim::FailNext("receiver", 1));
        QVERIFY(!UsbFinderC_SetDongleRGBBarMode(PathText("receiver"), bar));
        unsigned char now[7];
        QVERIFY(UsbFinderC_GetDongleRGBBarMode(PathText("receiver"), now));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(now), 7), QByteArray(reinterpret_cast<char*>(original), 7));
        QVERIFY(UsbFinderC_SetDongleRGBBarMode(PathText("receiver"), bar));
    }

    void receiverRecords_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("good");
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("indicator") << 10 << QByteArray::fromHex("03010203040506070809") << QByteArray::fromHex("04000000000000000000");
        QTest::newRow("light bar") << 7 << QByteArray::fromHex("06102030040501") << QByteArray::fromHex("07000000000000");
        QTest::newRow("indicator leds") << 3 << QByteArray::fromHex("030201") << QByteArray::fromHex("000400");
    }
    void receiverRecords() {
        QFETCH(int, size);
        QFETCH(QByteArray, good);
        QFETCH(QByteArray, bad);
        const QByteArray path = PathText("receiver");
        auto get = [&](unsigned char* out) {
            return size == 10 ? UsbFinderC_Get4KDongleRGBValue(path, out)
                 : size == 7  ? UsbFinderC_GetDongleRGBBarMode(path, out)
                              : UsbFinderC_GetDongleIndicatorLed(path, out);
        };
        auto set = [&](const QByteArray& in, const char* where) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(in.constData());
            return size == 10 ? UsbFinderC_Set4KDongleRGB(where, p)
                 : size == 7  ? UsbFinderC_SetDongleRGBBarMode(where, p)
                              : UsbFinderC_SetDongleIndicatorLed(where, p);
        };
        QVERIFY(set(good, path));
        unsigned char out[10] = {};
        QVERIFY(get(out));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(out), size), good);
        QVERIFY(!set(bad, path));  // out of range: refused, record kept
        QVERIFY(get(out));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(out), size), good);
        // No receiver at the path: false and the caller's buffer untouched.
        unsigned char untouched[10];
        std::memset(untouched, 0xEE, sizeof untouched);
        const bool answered = size == 10 ? UsbFinderC_Get4KDongleRGBValue("/no/such/path", untouched)
                                         : UsbFinderC_GetDongleIndicatorLed("/no/such/path", untouched);
        QVERIFY(!answered);
        QCOMPARE(int(untouched[0]), 0xEE);
    }

    void longRangeMode() {
        const QByteArray path = PathText("receiver");
        unsigned char reply = 0x73;
        QVERIFY(UsbFinderC_GetLongRangeMode(path, &reply));
        QCOMPARE(int(reply), 0);
        QVERIFY(UsbFinderC_SetLongRangeMode(path, true));
        reply = 0x73;
        QVERIFY(UsbFinderC_GetLongRangeMode(path, &reply));
        QCOMPARE(int(reply), 1);
        // The receiver drops long range by itself: kind 23 with 10 bytes.
        QVERIFY(Connect(path));
        QVERIFY(HidSim::DropLongRange("receiver"));
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_LONG_RANGE) == 1; }));
        QCOMPARE(Recorder::Get().Last(HIDUSB_MSG_LONG_RANGE).payload.size(), 10);
        QCOMPARE(HidSim::LongRangeMode("receiver"), 0);
        QVERIFY(HidSim::SetReceiverIndicatorMode("receiver", 3));
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_DONGLE_RGB) == 1; }));
    }

    void pairing_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("cid");
        QTest::addColumn<int>("result");
        QTest::newRow("paired") << "" << 35 << 3;
        QTest::newRow("refused by the receiver") << "fail" << 35 << 2;
        QTest::newRow("no mouse of that CID") << "" << 36 << 2;
        QTest::newRow("on a cable mouse") << "cable" << 35 << 2;
    }
    void pairing() {
        QFETCH(QString, setup);
        QFETCH(int, cid);
        QFETCH(int, result);
        if (setup == "fail") QVERIFY(HidSim::FailNextPairing("receiver"));
        if (setup == "cable") {
            QVERIFY(HidSim::Plug("mouse"));
            QVERIFY(Connect(PathText("mouse")));
        } else {
            QVERIFY(Connect(PathText("receiver")));
        }
        UsbServer_EnterDonglePairOnlyCid(uchar(cid));
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_PAIR_STATUS) >= 1; }));
        QVERIFY(WaitFor([&] { return uchar(Recorder::Get().Last(HIDUSB_MSG_PAIR_STATUS).payload.leftJustified(1, 0).at(0)) == result; }));
        if (setup != "cable") {
            QCOMPARE(int(Recorder::Get().All().first().payload.at(0)), 1);  // in progress first
            QVERIFY(UsbServer_ReadDonglePairStatus());
            QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_PAIR_STATUS) == 3; }));
            QCOMPARE(int(Recorder::Get().Last(HIDUSB_MSG_PAIR_STATUS).payload.at(0)), result);
        }
    }

    void pairingAnUnpairedMouse() {
        FreshDevices("sim-messages-pair", R"({"devices": [
            {"name": "r", "kind": "receiver"}, {"name": "m", "kind": "mouse"}]})");
        QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("r")));
        QVERIFY(Connect(PathText("r")));
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(35));
        QVERIFY(WaitFor([] { return Recorder::Get().Last(HIDUSB_MSG_PAIR_STATUS).payload.leftJustified(1, 0).at(0) == 3; }));
        QVERIFY(UsbFinderC_GetDeviceOnLine(PathText("r")));
        UsbAddressReply reply;
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(PathText("r"), &reply));
        QVERIFY(reply.ReceiverId[0] || reply.ReceiverId[1] || reply.ReceiverId[2]);
    }

    void clearSettingRestoresFactoryThenReportsDone() {
        QVERIFY(Connect(PathText("receiver")));
        const QByteArray factory = HidSim::Flash("mouse");
        FlashDataMap image;
        QVERIFY(ReadImage(&image));
        image.ReportRateCode = 64;
        image.ButtonKeys[3] = ButtonKeyEntry{6, 3, 2};
        image.ButtonMacros[3].NameLength = 1;
        image.ButtonMacros[3].Name[0] = 'x';
        QVERIFY(ProtocolDataUpdate(&image));
        QVERIFY(HidSim::Flash("mouse") != factory);
        Recorder::Get().Clear();
        QVERIFY(UsbServer_SetClearSetting());
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_CLEAR_DONE) == 1; }));
        QCOMPARE(HidSim::Flash("mouse"), factory);
        FlashDataMap cleared;
        QVERIFY(ReadImage(&cleared));
        QCOMPARE(int(cleared.ReportRateCode), 1);
        QCOMPARE(int(cleared.ButtonMacros[3].NameLength), 0);
    }

    void configurationSwitch() {
        QVERIFY(Connect(PathText("receiver")));
        QVERIFY(UsbServer_SetCurrentConfig(2));
        QVERIFY(!UsbServer_SetCurrentConfig(4));
        UsbServer_ReadConfig();
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_CONFIG) == 1; }));
        QCOMPARE(int(Recorder::Get().Last(HIDUSB_MSG_CONFIG).payload.at(0)), 2);
    }

    void noConnectionNoAnswer() {
        QVERIFY(!UsbServer_ReadAllFlashData());
        FlashDataMap image;
        std::memset(&image, 0, sizeof image);
        QVERIFY(!ProtocolDataUpdate(&image));
        QCOMPARE(HidSim::LastImage().size(), int(sizeof image));  // still recorded as handed over
        UsbServer_Exit();  // safe without a connection
        StopUsbChanged();
    }
};

QTEST_GUILESS_MAIN(TestHidUsbMessages)
#include "tst_hidusb_messages.moc"
