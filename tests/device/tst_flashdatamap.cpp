// Settings image layout, device records and the per-model cache file.
#include <QDataStream>
#include <QFile>
#include <QtTest>
#include <cstring>

#include "SmallDisk.h"
#include "TestEnv.h"
#include "core/DeviceAllInfo.h"
#include "device/DeviceInfoFile.h"
#include "hidusb/FlashDataMap.h"
#include "platform/Paths.h"

class TestFlashDataMap : public QObject {
    Q_OBJECT

private:
    static FlashDataMap Patterned() {
        FlashDataMap image;
        auto* bytes = reinterpret_cast<unsigned char*>(&image);
        for (size_t i = 0; i < sizeof image; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        return image;
    }

private slots:
    void layoutOffsets_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        FlashDataMap m{};
        const auto at = [&m](const void* field) {
            return int(reinterpret_cast<const char*>(field) - reinterpret_cast<const char*>(&m));
        };
        QTest::newRow("level 7 record") << at(&m.DpiLevels[7]) << 48 + 6 * 7;
        QTest::newRow("level 3 colour blue") << at(&m.DpiLevels[3].ColorB) << 48 + 18 + 5;
        QTest::newRow("button 15 entry") << at(&m.ButtonKeys[15]) << 152;
        QTest::newRow("button 15 action") << at(&m.ButtonActions[15]) << 156 + 52 * 15;
        QTest::newRow("button 1 action event 0 delay")
            << at(&m.ButtonActions[1].Events[0].DelayMs) << 156 + 52 + 4 + 4;
        QTest::newRow("button 15 macro") << at(&m.ButtonMacros[15]) << 9868;
        QTest::newRow("macro name") << at(&m.ButtonMacros[0].Name) << 989;
        QTest::newRow("last macro event end") << at(&m.ButtonMacros[15].Events[70]) << 10460;
    }

    void layoutOffsets() {
        QFETCH(int, offset);
        QFETCH(int, expected);
        QCOMPARE(offset, expected);
        QCOMPARE(int(sizeof(FlashDataMap)), 10460);
    }

    void angleTuneIsSigned() {
        FlashDataMap m{};
        m.AngleTune = -30;
        QCOMPARE(reinterpret_cast<const unsigned char*>(&m)[15], static_cast<unsigned char>(0xE2));
        QCOMPARE(int(m.AngleTune), -30);
    }

    void keyEventIsLittleEndian() {
        FlashDataMap m{};
        m.ButtonActions[0].Events[0].Code = 0x0183;
        m.ButtonActions[0].Events[0].DelayMs = 0x01020304;
        const auto* bytes = reinterpret_cast<const unsigned char*>(&m) + 156 + 4;
        QCOMPARE(int(bytes[2]), 0x83);
        QCOMPARE(int(bytes[3]), 0x01);
        QCOMPARE(int(bytes[4]), 0x04);
        QCOMPARE(int(bytes[7]), 0x01);
    }

    void defaultDeviceRecord() {
        const DeviceAllInfo info;
        QVERIFY(info.Path.isEmpty());
        QCOMPARE(info.Vid, QString("0"));
        QCOMPARE(info.Pid, QString("0"));
        QCOMPARE(int(info.CidMidWord), 0);
        QCOMPARE(int(info.Type), 0);
        QCOMPARE(info.DriveIndex, 0);
        QVERIFY(!info.Online);
        QVERIFY(!info.IsUsb);
        QVERIFY(info.Version.isEmpty() && info.MouseVersion.isEmpty());
        QVERIFY(info.ReceiverId.isEmpty());
    }

    void equalityIsByPath() {
        DeviceAllInfo a, b;
        a.Path = b.Path = "/dev/hidraw1";
        a.Pid = "6008";
        b.Online = true;
        QVERIFY(a == b);
        b.Path = "/dev/hidraw2";
        QVERIFY(a != b);
    }

    void typeIsUsb_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("usb");
        QTest::newRow("1K receiver") << 0 << false;
        QTest::newRow("4K receiver") << 1 << false;
        QTest::newRow("2K receiver") << 4 << false;
        QTest::newRow("8K receiver") << 5 << false;
        QTest::newRow("type 2") << 2 << true;
        QTest::newRow("type 3") << 3 << true;
        QTest::newRow("type 0x10") << 0x10 << true;
    }

    void typeIsUsb() {
        QFETCH(int, type);
        QFETCH(bool, usb);
        QCOMPARE(DeviceAllInfo::TypeIsUsb(quint8(type)), usb);
    }

    void versionText_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x010A") << 0x010A << "v1.0A";
        QTest::newRow("0x0203") << 0x0203 << "v2.03";
        QTest::newRow("0x00FF") << 0x00FF << "v0.FF";
        QTest::newRow("0x0112") << 0x0112 << "v1.12";
        QTest::newRow("0xFF00") << 0xFF00 << "v255.00";
    }

    void versionText() {
        QFETCH(int, word);
        QFETCH(QString, text);
        QCOMPARE(VersionText(quint16(word)), text);
    }

    void cacheFileName() {
        const QString path = DeviceInfoFilePath(0x1F0A);
        QCOMPARE(path, Paths::UserDataDir() + "/Device_Info/Device_CID0A_MID1F.bin");
        QVERIFY(DeviceInfoFilePath(0x0623).endsWith("/Device_CID23_MID06.bin"));
    }

    void cacheRoundTripKeepsEveryByte() {
        const QString file = TestEnv::FreshDir("cache") + "/Device_CID23_MID06.bin";
        const FlashDataMap image = Patterned();
        QVERIFY(WriteDeviceInfoFile(file, image));
        QCOMPARE(QFileInfo(file).size(), qint64(4 + 10460));
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.read(4), QByteArray::fromHex("000028DC"));
        raw.close();

        FlashDataMap back{};
        QVERIFY(ReadDeviceInfoFile(file, &back));
        QVERIFY(std::memcmp(&back, &image, sizeof image) == 0);
        QCOMPARE(back.Reserved03, image.Reserved03);
        QCOMPARE(back.Reserved9B, image.Reserved9B);
    }

    void badCacheFileLeavesImageUntouched_data() {
        QTest::addColumn<QByteArray>("contents");
        QByteArray shortBlock;
        QDataStream(&shortBlock, QIODevice::WriteOnly).writeBytes("abc", 3);
        QByteArray truncated = QByteArray::fromHex("000028DC") + QByteArray(100, 'x');
        QByteArray hugeLength = QByteArray::fromHex("7FFFFFFF") + QByteArray(10460, 'x');
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("wrong length") << shortBlock;
        QTest::newRow("truncated") << truncated;
        QTest::newRow("huge length") << hugeLength;
    }

    void badCacheFileLeavesImageUntouched() {
        QFETCH(QByteArray, contents);
        const QString file = TestEnv::FreshDir("bad") + "/Device_CID23_MID06.bin";
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(contents);
        out.close();
        const FlashDataMap before = Patterned();
        FlashDataMap image = before;
        QVERIFY(!ReadDeviceInfoFile(file, &image));
        QVERIFY(std::memcmp(&image, &before, sizeof image) == 0);
        QVERIFY(!ReadDeviceInfoFile(file + ".missing", &image));
    }

    void unwritableCacheKeepsOldFile() {
        const QString dir = TestEnv::FreshDir("ro");
        const QString file = dir + "/Device_CID23_MID06.bin";
        const FlashDataMap image = Patterned();
        QVERIFY(WriteDeviceInfoFile(file, image));
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        FlashDataMap other{};
        const bool written = WriteDeviceInfoFile(file, other);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (written) QSKIP("running with rights that ignore folder permissions");
        FlashDataMap back{};
        QVERIFY(ReadDeviceInfoFile(file, &back));
        QVERIFY(std::memcmp(&back, &image, sizeof image) == 0);
    }

    void fullDiskKeepsOldCache() {
        SmallDisk disk("cache-disk", 128);
        SMALL_DISK_OR_SKIP(disk);
        const QString file = disk.Path() + "/Device_CID23_MID06.bin";
        const FlashDataMap image = Patterned();
        QVERIFY(WriteDeviceInfoFile(file, image));
        QVERIFY(disk.Fill());
        FlashDataMap other{};
        QVERIFY(!WriteDeviceInfoFile(file, other));
        FlashDataMap back{};
        QVERIFY(ReadDeviceInfoFile(file, &back));
        QVERIFY(std::memcmp(&back, &image, sizeof image) == 0);
        QCOMPARE(disk.Files(), QStringList{"Device_CID23_MID06.bin"});
    }
};

QTEST_GUILESS_MAIN(TestFlashDataMap)
#include "tst_flashdatamap.moc"
