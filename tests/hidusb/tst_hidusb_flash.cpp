// Device library: the mouse's flash, its conversion to and from the settings image, persistence.
#include <QDir>
#include <QRandomGenerator>

#include "SimTestSupport.h"
#include "SmallDisk.h"

using namespace SimTest;

namespace {

// An image with every byte set (reserved ones included) and the given number of macros, each filled
// up to its last byte.
FlashDataMap FullImage(int fullMacros, int shortMacros, quint32 seed) {
    QRandomGenerator random(seed);
    FlashDataMap image;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&image);
    for (size_t i = 0; i < sizeof image; ++i) bytes[i] = uchar(random.bounded(1, 256));
    for (int b = 0; b < kDeviceButtonCount; ++b) {
        MacroRecord& macro = image.ButtonMacros[b];
        if (b < fullMacros) continue;  // random to the last byte: nothing to trim
        std::memset(&macro, 0, sizeof macro);
        if (b < fullMacros + shortMacros) {
            macro.NameLength = 3;
            std::memcpy(macro.Name, "abc", 3);
            macro.EventCount = 2;
            macro.Events[0] = KeyEvent{0, 1, 4, 50};
            macro.Events[1] = KeyEvent{1, 1, 4, 0};
        }
    }
    return image;
}

QByteArray Bytes(const FlashDataMap& image) {
    return QByteArray(reinterpret_cast<const char*>(&image), sizeof image);
}

}  // namespace

class TestHidUsbFlash : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FreshDevices("sim-flash");
        QVERIFY(Connect(PathText("receiver")));
    }

    void factoryImageKeepsTheLibrarysReservedBytes() {
        FlashDataMap image;
        QVERIFY(ReadImage(&image));
        QCOMPARE(int(image.Reserved03), 0x01);
        QCOMPARE(int(image.Reserved11[0]), 0xA0);
        QCOMPARE(int(image.Reserved9B), 0x3C);
        // A sender changes one field; the reserved bytes come back unchanged.
        image.KeyDebounceMs = 9;
        QVERIFY(ProtocolDataUpdate(&image));
        FlashDataMap again;
        QVERIFY(ReadImage(&again));
        QCOMPARE(Bytes(again), Bytes(image));
    }

    void roundTrip_data() {
        QTest::addColumn<int>("fullMacros");
        QTest::addColumn<int>("shortMacros");
        QTest::newRow("no macros") << 0 << 0;
        QTest::newRow("nine full macros") << 9 << 0;
        QTest::newRow("sixteen short macros") << 0 << 16;
        QTest::newRow("five full, eleven short") << 5 << 11;
    }
    void roundTrip() {
        QFETCH(int, fullMacros);
        QFETCH(int, shortMacros);
        const FlashDataMap image = FullImage(fullMacros, shortMacros, quint32(fullMacros * 31 + shortMacros));
        QVERIFY(ProtocolDataUpdate(&image));
        QCOMPARE(HidSim::LastImage(), Bytes(image));
        FlashDataMap back;
        QVERIFY(ReadImage(&back));
        QCOMPARE(Bytes(back), Bytes(image));
    }

    void imageThatCannotFitIsRefused_data() {
        QTest::addColumn<int>("fullMacros");
        QTest::newRow("sixteen full macros") << 16;
        QTest::newRow("ten full macros") << 10;
    }
    void imageThatCannotFitIsRefused() {
        QFETCH(int, fullMacros);
        const QByteArray before = HidSim::Flash("mouse");
        const FlashDataMap image = FullImage(fullMacros, 0, 7);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("settings image refused.*macros need"));
        QVERIFY(!ProtocolDataUpdate(&image));
        QCOMPARE(HidSim::Flash("mouse"), before);
        QVERIFY(HidSim::CallLog().last().contains("refused"));
    }

    void damagedDumpIsRefused() {
        QByteArray dump = HidSim::Flash("mouse");
        dump[100] = char(dump[100] ^ 0x55);
        FlashDataMap image;
        std::memset(&image, 0x77, sizeof image);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ProtocolDataParser"));
        QVERIFY(!ProtocolDataParser(reinterpret_cast<const unsigned char*>(dump.constData()), &image));
        QCOMPARE(int(reinterpret_cast<unsigned char*>(&image)[0]), 0x77);  // left untouched
    }

    void settingsSurviveARestart() {
        const FlashDataMap image = FullImage(3, 4, 99);
        QVERIFY(ProtocolDataUpdate(&image));
        QVERIFY(UsbServer_SetCurrentConfig(3));
        QVERIFY(QDir(HidSim::StateDir()).entryList(QDir::Files).contains("mouse.flash"));
        HidSim::Restart();
        Recorder::Get().Clear();
        QVERIFY(Connect(PathText("receiver")));
        FlashDataMap back;
        QVERIFY(ReadImage(&back));
        QCOMPARE(Bytes(back), Bytes(image));
        QCOMPARE(HidSim::ActiveConfig("mouse"), 3);
    }

    // The stored flash stays the last one stored whole: a restart brings those settings back.
    void fullDiskKeepsTheStoredFlash() {
        SmallDisk disk("sim-disk");
        SMALL_DISK_OR_SKIP(disk);
        HidSim::SetStateDir(disk.Path());
        const FlashDataMap stored = FullImage(2, 3, 11);
        QVERIFY(ProtocolDataUpdate(&stored));
        const QByteArray storedFlash = HidSim::Flash("mouse");
        QVERIFY(disk.Fill());
        const FlashDataMap later = FullImage(4, 1, 12);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("flash of mouse could not be stored"));
        QVERIFY(ProtocolDataUpdate(&later));
        QVERIFY(HidSim::Flash("mouse") != storedFlash);
        HidSim::Restart();
        QCOMPARE(HidSim::Flash("mouse"), storedFlash);
        QVERIFY(!disk.Files().join(' ').contains(".flash."));  // no temporary file left
    }

    void damagedStoredFlashFallsBackToFactory() {
        const QByteArray factory = HidSim::Flash("mouse");
        const FlashDataMap image = FullImage(1, 0, 5);
        QVERIFY(ProtocolDataUpdate(&image));
        QFile file(HidSim::StateDir() + "/mouse.flash");
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(2000);
        file.write("garbage");
        file.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged"));
        HidSim::Restart();
        QCOMPARE(HidSim::Flash("mouse"), factory);
    }
};

QTEST_GUILESS_MAIN(TestHidUsbFlash)
#include "tst_hidusb_flash.moc"
