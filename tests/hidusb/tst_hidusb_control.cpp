// Device library control: text commands, the local control socket and the vzsim tool.
#include <QLocalSocket>
#include <QProcess>
#include <atomic>

#include "SimTestSupport.h"

using namespace SimTest;

namespace {
std::atomic<int> g_hotPlugs{0};
void OnHotPlug() { ++g_hotPlugs; }
}  // namespace

class TestHidUsbControl : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FreshDevices("sim-control");
        StartUsbChanged(&OnHotPlug, 600);
        g_hotPlugs = 0;
    }

    void commands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("replyStart");
        QTest::newRow("list") << "list" << "receiver";
        QTest::newRow("unknown") << "jump" << "error";
        QTest::newRow("no such device") << "unplug nobody" << "error";
        QTest::newRow("bad battery") << "battery mouse lots" << "error";
        QTest::newRow("battery") << "battery 40 charging" << "ok";
        QTest::newRow("fail upgrade") << "fail-upgrade receiver 50" << "ok";
        QTest::newRow("image before any") << "image" << "no image";
        QTest::newRow("light, a byte too many") << "light 1 2 3 4 5 6 7 8 9" << "error";
        QTest::newRow("light, not a byte") << "light 1 2 3 4 5 6 256" << "error";
        QTest::newRow("dpi light, too few") << "dpi-light 1 2" << "error";
        QTest::newRow("indicator out of range") << "indicator receiver 4" << "error";
        QTest::newRow("receiver records") << "receiver" << "indicator record: 02 ";
        QTest::newRow("receiver records of a mouse") << "receiver mouse" << "error";
        QTest::newRow("config") << "config" << "active configuration 0";
        QTest::newRow("config of a receiver") << "config receiver" << "error";
        QTest::newRow("long range") << "long-range" << "long range off";
        QTest::newRow("long range of a mouse") << "long-range mouse" << "error";
        QTest::newRow("long range, extra word") << "long-range receiver on" << "error";
        QTest::newRow("drop long range of a mouse") << "drop-long-range mouse" << "error";
        QTest::newRow("drop long range of nobody") << "drop-long-range nobody" << "error";
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(QString, replyStart);
        QVERIFY2(HidSim::RunCommand(command).startsWith(replyStart), qPrintable(HidSim::RunCommand(command)));
    }

    // Every command the socket knows is listed in the usage with its arguments, known to the tool, and
    // answered by the socket: with too many words it names its own arguments, not "unknown command".
    void everyCommandIsListedAndDispatched() {
        const QStringList names = HidSim::CommandNames();
        QVERIFY(names.size() >= 22);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        const QString usage = HidSim::CommandUsage();
        QCOMPARE(HidSim::RunCommand("help"), usage);
        QStringList listed;
        for (const QString& entry : usage.mid(usage.indexOf(':') + 1).split('|'))
            listed << entry.simplified().section(' ', 0, 0);
        QCOMPARE(listed, names);
        for (const QString& name : names) {
            QVERIFY2(HidSim::IsCommand(name), qPrintable(name));
            const QString answer = HidSim::RunCommand(name + " nobody 1 2 3 4 5 6 7 8 9");
            QVERIFY2(!answer.contains("unknown command"), qPrintable(name + ": " + answer));
        }
        QVERIFY(!HidSim::IsCommand("jump"));
        QVERIFY(HidSim::RunCommand("jump").startsWith("error: unknown command jump"));
        QCOMPARE(HidSim::RunCommand("plug"), QString("error: plug NAME"));
    }

    // Faults armed by a command show in the list, on the device they are armed on.
    void armedFaultsShowInTheList_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fail") << "fail mouse 3" << "mouse" << "armed: next 3 answers fail";
        QTest::newRow("fail once") << "fail receiver 1" << "receiver" << "armed: next answer fails";
        QTest::newRow("fail-upgrade") << "fail-upgrade receiver 40" << "receiver" << "armed: next upgrade fails at 40%";
        QTest::newRow("stall-upgrade") << "stall-upgrade mouse 30" << "mouse" << "armed: next upgrade stalls at 30%";
        QTest::newRow("fail-pairing") << "fail-pairing" << "receiver" << "armed: next pairing fails";
    }
    void armedFaultsShowInTheList() {
        QFETCH(QString, command);
        QFETCH(QString, device);
        QFETCH(QString, shown);
        const auto lineOf = [](const QString& name) {
            for (const QString& line : HidSim::RunCommand("list").split('\n'))
                if (line.startsWith(name + ' ')) return line;
            return QString();
        };
        QVERIFY(!HidSim::RunCommand("list").contains("armed"));
        QCOMPARE(HidSim::RunCommand(command), QString("ok"));
        QVERIFY2(lineOf(device).contains(shown), qPrintable(lineOf(device)));
        QCOMPARE(HidSim::RunCommand("list").count("armed"), 1);
    }

    void commandsDriveTheDevices() {
        QVERIFY(Connect(PathText("receiver")));
        QCOMPARE(HidSim::RunCommand("sleep"), QString("ok"));
        QVERIFY(!UsbFinderC_GetDeviceOnLine(PathText("receiver")));
        QCOMPARE(HidSim::RunCommand("wake mouse"), QString("ok"));
        QVERIFY(UsbFinderC_GetDeviceOnLine(PathText("receiver")));
        QCOMPARE(HidSim::RunCommand("dpi-button"), QString("ok"));
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_STATUS_CHANGED) == 2; }));
        QCOMPARE(HidSim::RunCommand("unplug receiver"), QString("ok"));
        QVERIFY(WaitFor([] { return g_hotPlugs == 1; }));
        FlashDataMap image;
        std::memset(&image, 0, sizeof image);
        image.ReportRateCode = 16;
        ProtocolDataUpdate(&image);
        QVERIFY(HidSim::RunCommand("image").startsWith("report rate code 16"));
        QVERIFY(HidSim::RunCommand("list").contains("unplugged"));
    }

    // The mouse changes its lights by itself: its flash holds the new bytes and it reports the change
    // with the matching status bit.
    void lightCommandsChangeTheMouse_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("statusByte");
        QTest::newRow("light") << "light mouse 3 10 20 0x1e 4 6 1" << 100
                               << QByteArray("\x03\x0a\x14\x1e\x04\x06\x01", 7) << 5;
        QTest::newRow("dpi light") << "dpi-light 2 128 3 1" << 96 << QByteArray("\x02\x80\x03\x01", 4) << 3;
    }
    void lightCommandsChangeTheMouse() {
        QFETCH(QString, command);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(int, statusByte);
        QVERIFY(Connect(PathText("receiver")));
        const int before = Recorder::Get().Count(HIDUSB_MSG_STATUS_CHANGED);
        QCOMPARE(HidSim::RunCommand(command), QString("ok"));
        QVERIFY(WaitFor([before] { return Recorder::Get().Count(HIDUSB_MSG_STATUS_CHANGED) == before + 1; }));
        FlashDataMap image{};
        const QByteArray flash = HidSim::Flash("mouse");
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&image) + offset, bytes.size()), bytes);
        StatusChangeFlags flags{};
        const QByteArray payload = Recorder::Get().Last(HIDUSB_MSG_STATUS_CHANGED).payload;
        QVERIFY(GetDeviceStatusChanged(reinterpret_cast<const unsigned char*>(payload.constData()),
                                       payload.size(), &flags));
        const QByteArray flagBytes(reinterpret_cast<const char*>(&flags), sizeof flags);
        for (int i = 0; i < flagBytes.size(); ++i) QCOMPARE(flagBytes[i] != 0, i == statusByte);
    }

    // The printed state follows the program's switch, and a drop reaches the connection as the
    // receiver's own report.
    void longRangeCommands() {
        const QByteArray path = PathText("receiver");
        QVERIFY(UsbFinderC_SetLongRangeMode(path, true));
        QCOMPARE(HidSim::RunCommand("long-range receiver"), QString("long range on"));
        QVERIFY(Connect(path));
        QCOMPARE(HidSim::RunCommand("drop-long-range"), QString("ok"));
        QVERIFY(WaitFor([] { return Recorder::Get().Count(HIDUSB_MSG_LONG_RANGE) == 1; }));
        QCOMPARE(HidSim::LongRangeMode("receiver"), 0);
        QCOMPARE(HidSim::RunCommand("long-range"), QString("long range off"));
    }

    void receiverWithoutLongRange() {
        FreshDevices("sim-control-no-long-range", R"({"devices": [
            {"name": "plain", "kind": "receiver", "class": 4, "mid": 6, "longRange": "none", "mouse": "m"},
            {"name": "m", "kind": "mouse", "mid": 6}]})");
        QCOMPARE(HidSim::RunCommand("long-range plain"), QString("no long range"));
        QVERIFY(HidSim::RunCommand("drop-long-range plain").startsWith("error"));
        QCOMPARE(HidSim::LongRangeMode("plain"), -1);
    }

    // The image summary shows the advanced page's bytes; the angle is signed.
    void imageShowsTheAdvancedFields_data() {
        QTest::addColumn<int>("trigger");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("scan");
        QTest::addColumn<int>("movingOff");
        QTest::addColumn<QString>("line");
        QTest::newRow("both triggers, -30")
            << 0x03 << 0xE2 << 1 << 1
            << "trigger flags 0x03 (left on, right on), angle -30 (tuning 1), "
               "20K scanning 1, moving-off light 1";
        QTest::newRow("right only, +30") << 0x02 << 0x1E << 2 << 0
                                         << "trigger flags 0x02 (left off, right on), angle 30 (tuning 1), "
                                            "20K scanning 2, moving-off light 0";
        QTest::newRow("unknown bit, 0") << 0x10 << 0x00 << 0 << 7
                                        << "trigger flags 0x10 (left off, right off), angle 0 (tuning 1), "
                                           "20K scanning 0, moving-off light 7";
    }
    void imageShowsTheAdvancedFields() {
        QFETCH(int, trigger);
        QFETCH(int, angle);
        QFETCH(int, scan);
        QFETCH(int, movingOff);
        QFETCH(QString, line);
        QVERIFY(Connect(PathText("receiver")));
        FlashDataMap image;
        std::memset(&image, 0, sizeof image);
        image.TriggerFlags = uint8_t(trigger);
        image.AngleTune = int8_t(uint8_t(angle));
        image.AngleTuneEnable = 1;
        image.Scan20K = uint8_t(scan);
        image.MovingOffLight = uint8_t(movingOff);
        ProtocolDataUpdate(&image);
        const QStringList lines = HidSim::RunCommand("image").split('\n');
        QVERIFY2(lines.contains(line), qPrintable(lines.join('\n')));
    }

    void indicatorCommandReachesTheReceiver() {
        QCOMPARE(HidSim::RunCommand("indicator receiver 3"), QString("ok"));
        unsigned char record[10] = {};
        QVERIFY(UsbFinderC_Get4KDongleRGBValue(PathText("receiver"), record));
        QCOMPARE(int(record[0]), 3);
        QVERIFY(HidSim::RunCommand("receiver receiver").startsWith("indicator record: 03 "));
    }

    void socketAndToolReachTheRunningLibrary() {
        if (!HidSim::ControlSocketListening()) QVERIFY(WaitFor([] { return HidSim::ControlSocketListening(); }));
        QLocalSocket socket;
        socket.connectToServer(HidSim::ControlSocketName());
        QVERIFY(socket.waitForConnected(2000));
        socket.write("unplug receiver\n");
        QVERIFY(WaitFor([&] { return socket.bytesAvailable() > 0 || socket.waitForReadyRead(10); }));
        QCOMPARE(socket.readAll().trimmed(), QByteArray("ok"));
        QVERIFY(WaitFor([] { return g_hotPlugs == 1; }));
        // The command-line tool finds the same socket through the same HOME.
        QProcess tool;
        tool.start(QCoreApplication::applicationDirPath() + "/vzsim", {"plug", "receiver"});
        QVERIFY(WaitFor([&] { return tool.state() == QProcess::NotRunning || tool.waitForFinished(10); }, 10000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(tool.readAllStandardOutput().trimmed(), QByteArray("ok"));
        QVERIFY(WaitFor([] { return g_hotPlugs == 2; }));
        int count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", "6008", &count);
        QCOMPARE(count, 1);
    }

    // Help and unknown commands need no running program: help goes to stdout with exit 0, an unknown
    // command and the usage to stderr with exit 2.
    void toolAnswersHelpAndUnknownCommands_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("--help") << QStringList{"--help"} << 0;
        QTest::newRow("-h") << QStringList{"-h"} << 0;
        QTest::newRow("help") << QStringList{"help"} << 0;
        QTest::newRow("nothing") << QStringList{} << 0;
        QTest::newRow("unknown command") << QStringList{"frobnicate", "mouse"} << 2;
        QTest::newRow("unknown option") << QStringList{"--version"} << 2;
    }
    void toolAnswersHelpAndUnknownCommands() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLANT_SIM_CONTROL", "vorlant-zemb-sim-nobody-listens");
        tool.setProcessEnvironment(env);
        tool.start(QCoreApplication::applicationDirPath() + "/vzsim", args);
        QVERIFY(tool.waitForFinished(10000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), exitCode);
        const QByteArray out = tool.readAllStandardOutput();
        const QByteArray err = tool.readAllStandardError();
        const QByteArray usage = HidSim::CommandUsage().toUtf8();
        QVERIFY(usage.contains("stall-upgrade NAME PERCENT"));
        QCOMPARE(out.contains(usage), exitCode == 0);
        QCOMPARE(err.contains(usage), exitCode != 0);
        if (exitCode != 0) {
            QVERIFY(out.isEmpty());
            QVERIFY(err.startsWith("vzsim: unknown command " + args.first().toUtf8()));
        }
    }

    void socketNamesArePerHome() {
        const QByteArray home = qgetenv("HOME");
        const QString mine = HidSim::ControlSocketName();
        qputenv("HOME", home + "-other");
        const QString other = HidSim::ControlSocketName();
        qputenv("VORLANT_SIM_CONTROL", "off");
        const QString off = HidSim::ControlSocketName();
        qunsetenv("VORLANT_SIM_CONTROL");
        qputenv("HOME", home);
        QVERIFY(mine != other);
        QVERIFY(off.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHidUsbControl)
#include "tst_hidusb_control.moc"
