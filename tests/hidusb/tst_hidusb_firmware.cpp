// Device library: firmware images, upgrade with progress, failure into boot mode and repair.
#include <atomic>

#include "SimTestSupport.h"

using namespace SimTest;

namespace {

struct Status {
    int kind, what, value;
    std::thread::id thread;
};

std::mutex g_mutex;
QVector<Status> g_statuses;
std::atomic<int> g_hotPlugs{0};
QByteArray g_chainedImage;  // started from inside the status callback when set
QString g_unplugName;       // unplugged from inside the status callback at g_unplugAt percent
int g_unplugAt = -1;
bool g_replug = false;  // plugged in again at once, before the flash's next step

void OnStatus(const unsigned char* s) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_statuses.append(Status{s[0], s[1], s[2], std::this_thread::get_id()});
    }
    if (s[1] == 1 && s[2] == g_unplugAt && !g_unplugName.isEmpty()) {
        HidSim::Unplug(g_unplugName);
        if (g_replug) HidSim::Plug(g_unplugName);
    }
    if (s[1] == 2 && !g_chainedImage.isEmpty()) {
        const QByteArray next = g_chainedImage;
        g_chainedImage.clear();
        UsbUpgrade_Start(reinterpret_cast<const unsigned char*>(next.constData()), &OnStatus, 10000);
    }
}

void OnHotPlug() { ++g_hotPlugs; }

QVector<Status> Statuses() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_statuses;
}

int Finished() {
    int n = 0;
    for (const Status& s : Statuses()) n += s.what == 2;
    return n;
}

const uchar* Data(const QByteArray& image) { return reinterpret_cast<const uchar*>(image.constData()); }

QByteArray ReceiverImage(uint32_t version = 0x0106) { return HidSim::BuildFirmwareImage(211, 35, 6, "ZEMB_D8", version); }
QByteArray MouseImage(uint32_t version = 0x0113) { return HidSim::BuildFirmwareImage(210, 35, 6, "ZEMB_M6", version); }

int Listed(const char* pid) {
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId("3A1B", pid, &count);
    return count;
}

}  // namespace

class TestHidUsbFirmware : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FreshDevices("sim-firmware");
        std::lock_guard<std::mutex> lock(g_mutex);
        g_statuses.clear();
        g_hotPlugs = 0;
        g_chainedImage.clear();
        g_unplugName.clear();
        g_unplugAt = -1;
        g_replug = false;
    }

    void findBootDevicesAlwaysWritesTheCount() {
        int count = 5;
        QVERIFY(!UsbUpgradeC_FindBootDevices(nullptr, &count));
        QCOMPARE(count, 0);
        count = 5;
        QVERIFY(UsbUpgradeC_FindBootDevices(Data(ReceiverImage()), &count));
        QCOMPARE(count, 0);  // nothing in boot mode
    }

    void upgradeSucceeds_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("version");
        QTest::newRow("receiver") << "receiver" << ReceiverImage() << 0x0106;
        QTest::newRow("mouse through its receiver") << "mouse" << MouseImage() << 0x0113;
    }
    void upgradeSucceeds() {
        QFETCH(QString, device);
        QFETCH(QByteArray, image);
        QFETCH(int, version);
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(WaitFor([] { return Finished() == 1; }));
        const QVector<Status> all = Statuses();
        QCOMPARE(all.size(), 12);  // 0, 10, ..., 100 and the final status
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(all[i].kind, 7);
            QCOMPARE(all[i].what, 1);
            QCOMPARE(all[i].value, i * 10);
            QVERIFY(all[i].thread != std::this_thread::get_id());
        }
        QCOMPARE(all.last().value, 1);
        QCOMPARE(int(HidSim::Version(device)), version);
        if (device == "mouse") QCOMPARE(int(UsbFinderC_GetVersion(PathText("receiver"))), version);
    }

    void failureLeavesBootModeUntilRepaired_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QByteArray>("pid");
        QTest::newRow("receiver at 40 %") << "receiver" << ReceiverImage() << QByteArray("6008");
        QTest::newRow("mouse on its cable at 35 %") << "mouse" << MouseImage() << QByteArray("5001");
    }
    void failureLeavesBootModeUntilRepaired() {
        QFETCH(QString, device);
        QFETCH(QByteArray, image);
        QFETCH(QByteArray, pid);
        const int failAt = device == "receiver" ? 40 : 35;
        if (device == "mouse") QVERIFY(HidSim::Plug("mouse"));
        StartUsbChanged(&OnHotPlug, 600);
        g_hotPlugs = 0;
        QCOMPARE(Listed(pid), 1);
        const uint16_t before = HidSim::Version(device);
        QVERIFY(HidSim::FailUpgradeAt(device, failAt));
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(WaitFor([] { return Finished() == 1; }));
        const QVector<Status> all = Statuses();
        QCOMPARE(all[all.size() - 2].value, failAt);  // last progress
        QCOMPARE(all.last().what, 2);
        QVERIFY(all.last().value != 1);
        QVERIFY(HidSim::IsBootMode(device));
        QCOMPARE(HidSim::Version(device), before);
        QCOMPARE(Listed(pid), 0);  // gone from the normal list
        QVERIFY(WaitFor([] { return g_hotPlugs == 1; }));
        int count = 5;
        QVERIFY(UsbUpgradeC_FindBootDevices(Data(image), &count));
        QCOMPARE(count, 1);
        // Boot mode survives a restart, as on a real device.
        HidSim::Restart();
        QVERIFY(HidSim::IsBootMode(device));
        if (device == "mouse") QVERIFY(HidSim::Plug("mouse"));  // the cable is not part of the stored state
        StartUsbChanged(&OnHotPlug, 600);
        g_hotPlugs = 0;
        // Repair: a later upgrade succeeds and brings the device back.
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(WaitFor([] { return Finished() == 2; }));
        QCOMPARE(Statuses().last().value, 1);
        QVERIFY(!HidSim::IsBootMode(device));
        QCOMPARE(Listed(pid), 1);
        QVERIFY(WaitFor([] { return g_hotPlugs == 1; }));
        count = 5;
        UsbUpgradeC_FindBootDevices(Data(image), &count);
        QCOMPARE(count, 0);
    }

    void deviceRoads_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<QString>("link");  // the device whose unplugging cuts the flash off
        QTest::newRow("receiver") << "receiver" << ReceiverImage() << false << "receiver";
        QTest::newRow("mouse through its receiver") << "mouse" << MouseImage() << false << "receiver";
        QTest::newRow("mouse on its cable") << "mouse" << MouseImage() << true << "mouse";
    }

    // Ends a test whose device waits in boot mode: a repair flashes it back.
    void RepairSucceeds(const QString& device, const QByteArray& image, int finishedBefore) {
        int count = 5;
        QVERIFY(UsbUpgradeC_FindBootDevices(Data(image), &count));
        QCOMPARE(count, 1);
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(WaitFor([&] { return Finished() == finishedBefore + 1; }));
        const QVector<Status> all = Statuses();
        QCOMPARE(all.last().value, 1);
        QVERIFY(!HidSim::IsBootMode(device));
        QCOMPARE(int(HidSim::Version(device)), device == "receiver" ? 0x0106 : 0x0113);
        // The repair's steps follow the earlier end directly: nothing of the earlier flash came after it.
        int lastFinal = -1;
        for (int i = 0; i < all.size() - 1; ++i)
            if (all[i].what == 2) lastFinal = i;
        if (lastFinal >= 0) {
            QCOMPARE(all[lastFinal + 1].what, 1);
            QCOMPARE(all[lastFinal + 1].value, 0);
        }
    }

    // A flash puts the device into boot mode when it starts and keeps it there, in its stored state too:
    // a program that ends in the middle (the simulation restarted, its steps dropped) leaves it waiting.
    void flashCutOffByTheProgramsEndLeavesBootMode_data() { deviceRoads_data(); }
    void flashCutOffByTheProgramsEndLeavesBootMode() {
        QFETCH(QString, device);
        QFETCH(QByteArray, image);
        QFETCH(bool, cable);
        if (cable) QVERIFY(HidSim::Plug("mouse"));
        const uint16_t before = HidSim::Version(device);
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(HidSim::IsBootMode(device));
        if (device == "receiver") QCOMPARE(Listed("6008"), 0);
        if (cable) QCOMPARE(Listed("5001"), 0);
        HidSim::Restart();
        QVERIFY(HidSim::IsBootMode(device));
        QCOMPARE(HidSim::Version(device), before);
        QCOMPARE(Finished(), 0);
        RepairSucceeds(device, image, 0);
    }

    // Unplugging the link a flash runs over fails the upgrade (reported as a failure) and leaves the device
    // in boot mode; no step of the flash follows, also when the link is plugged in again before the next.
    void unplugDuringTheFlashFailsIt_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("replug");
        for (const bool replug : {false, true}) {
            const char* again = replug ? ", plugged in again at once" : "";
            QTest::addRow("receiver%s", again) << "receiver" << ReceiverImage() << false << "receiver" << replug;
            QTest::addRow("mouse through its receiver%s", again) << "mouse" << MouseImage() << false << "receiver"
                                                                 << replug;
            QTest::addRow("mouse on its cable%s", again) << "mouse" << MouseImage() << true << "mouse" << replug;
        }
    }
    void unplugDuringTheFlashFailsIt() {
        QFETCH(QString, device);
        QFETCH(QByteArray, image);
        QFETCH(bool, cable);
        QFETCH(QString, link);
        QFETCH(bool, replug);
        if (cable) QVERIFY(HidSim::Plug("mouse"));
        const uint16_t before = HidSim::Version(device);
        g_unplugName = link;
        g_unplugAt = 30;
        g_replug = replug;
        QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        QVERIFY(WaitFor([] { return Finished() == 1; }));
        const QVector<Status> all = Statuses();
        QCOMPARE(all.last().what, 2);
        QVERIFY(all.last().value != 1);
        QCOMPARE(all[all.size() - 2].what, 1);
        QCOMPARE(all[all.size() - 2].value, 30);
        QVERIFY(HidSim::IsBootMode(device));
        QCOMPARE(HidSim::Version(device), before);
        g_unplugName.clear();
        QVERIFY(HidSim::Plug(link));
        if (cable) QVERIFY(HidSim::Unplug("mouse"));  // the repair goes through the receiver
        RepairSucceeds(device, image, 1);
    }

    void wrongImageIsRefused_data() {
        QTest::addColumn<QByteArray>("image");
        QByteArray corrupt = ReceiverImage();
        corrupt[0x30] = char(corrupt[0x30] ^ 1);
        QByteArray badMagic = ReceiverImage();
        badMagic[0] = 'X';
        QTest::newRow("checksum") << corrupt;
        QTest::newRow("magic") << badMagic;
        QTest::newRow("other CID") << HidSim::BuildFirmwareImage(211, 36, 6, "ZEMB_D8", 0x0106);
        QTest::newRow("other model name") << HidSim::BuildFirmwareImage(211, 35, 6, "ZEMB_D4", 0x0106);
        QTest::newRow("other MID") << HidSim::BuildFirmwareImage(210, 35, 7, "ZEMB_M6", 0x0113);
    }
    void wrongImageIsRefused() {
        QFETCH(QByteArray, image);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("firmware upgrade refused"));
        QVERIFY(!UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        Settle(50);
        QVERIFY(Statuses().isEmpty());
        QCOMPARE(int(HidSim::Version("receiver")), 0x0105);
    }

    void twoFittingDevicesAreRefused() {
        FreshDevices("sim-firmware-two", R"({"devices": [
            {"name": "a", "kind": "receiver", "class": 8}, {"name": "b", "kind": "receiver", "class": 8}]})");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("2 devices fit"));
        QVERIFY(!UsbUpgrade_Start(Data(ReceiverImage()), &OnStatus, 10000));
    }

    void nextStageStartsFromInsideTheStatusCallback() {
        g_chainedImage = MouseImage();
        QVERIFY(UsbUpgrade_Start(Data(ReceiverImage()), &OnStatus, 10000));
        QVERIFY(WaitFor([] { return Finished() == 2; }));
        QCOMPARE(int(HidSim::Version("receiver")), 0x0106);
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
    }

    void sampleImagesFitTheDefaultDevices() {
        const QString dir = QCoreApplication::applicationDirPath() + "/bin";
        for (const QString& name : {QString("ZEMB_M6_v1.13.bin"), QString("ZEMB_D8_v1.06.bin")}) {
            QFile file(dir + "/" + name);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray image = file.readAll();
            QVERIFY(UsbUpgrade_Start(Data(image), &OnStatus, 10000));
        }
        QVERIFY(WaitFor([] { return Finished() == 2; }));
        QCOMPARE(int(HidSim::Version("receiver")), 0x0106);
        QCOMPARE(int(HidSim::Version("mouse")), 0x0113);
    }
};

QTEST_GUILESS_MAIN(TestHidUsbFirmware)
#include "tst_hidusb_firmware.moc"
