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
        QTest::newRow("config") << "config" << "active configuration 0";
        QTest::newRow("config of a receiver") << "config receiver" << "error";
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(QString, replyStart);
        QVERIFY2(HidSim::RunCommand(command).startsWith(replyStart), qPrintable(HidSim::RunCommand(command)));
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
