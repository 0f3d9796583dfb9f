#include <QDataStream>
#include <QFile>
#include <QtTest>
#include <cstring>

#include "PipeFixture.h"
#include "SmallDisk.h"
#include "TestEnv.h"
#include "dialogs/ProfileFile.h"

namespace {
// One block as the data stream writes it: 32-bit big-endian length, then the bytes.
QByteArray Block(const QByteArray& bytes) {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.writeBytes(bytes.constData(), static_cast<uint>(bytes.size()));
    return out;
}
QByteArray Padded(const QByteArray& text, int size) {
    return text + QByteArray(size - text.size(), '\0');
}
QByteArray Image(int dpiLevels, char fill = 'x') {
    QByteArray image(10460, fill);
    image[1] = static_cast<char>(dpiLevels);
    return image;
}
QByteArray GoodFile(int dpiLevels = 5) {
    return Block(Padded("Zizov", 12)) + Block(Padded("3395", 12)) + Block(Image(dpiLevels));
}
}  // namespace

class TstProfileFile : public QObject {
    Q_OBJECT
    QString dir;
private slots:
    void initTestCase() { dir = TestEnv::FreshDir("profiles"); }

    void read_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        const QByteArray tag = Block(Padded("Zizov", 12));
        const QByteArray sensor = Block(Padded("3395", 12));
        QTest::newRow("good") << GoodFile() << 0;
        QTest::newRow("levels equal the maximum") << GoodFile(8) << 0;
        QTest::newRow("tag with any tail bytes")
            << Block(QByteArray("Zizov\0abcdef", 12)) + sensor + Block(Image(3)) << 0;
        QTest::newRow("tag in other case") << Block(Padded("zizov", 12)) + sensor + Block(Image(3)) << 1;
        QTest::newRow("wrong tag") << Block(Padded("Other", 12)) + sensor + Block(Image(3)) << 1;
        QTest::newRow("tag without zero byte") << Block("Zizov1234567") + sensor + Block(Image(3)) << 1;
        QTest::newRow("other sensor") << tag + Block(Padded("3950", 12)) + Block(Image(3)) << 2;
        QTest::newRow("sensor without zero byte") << tag + Block("339512345678") + Block(Image(3)) << 1;
        QTest::newRow("too many DPI levels") << GoodFile(9) << 2;
        QTest::newRow("short tag block") << Block(Padded("Zizov", 8)) + sensor + Block(Image(3)) << 1;
        QTest::newRow("long sensor block") << tag + Block(Padded("3395", 13)) + Block(Image(3)) << 1;
        QTest::newRow("short image block") << tag + sensor + Block(Image(3).left(10459)) << 1;
        QTest::newRow("long image block") << tag + sensor + Block(Image(3) + "x") << 1;
        QTest::newRow("truncated stream") << GoodFile().left(5000) << 1;
        QTest::newRow("trailing bytes") << GoodFile() + "junk" << 1;
        QTest::newRow("huge length") << QByteArray("\xff\xff\xff\xf0", 4) + GoodFile() << 1;
        QTest::newRow("empty file") << QByteArray() << 1;
    }
    void read() {
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        const QString path = dir + "/profile.bin";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();

        FlashDataMap out;
        std::memset(&out, 0x55, sizeof out);
        QCOMPARE(ProfileFile::Read(path, "3395", 8, out), result);
        const QByteArray after(reinterpret_cast<const char*>(&out), sizeof out);
        if (result == 0)
            QCOMPARE(after.mid(2), QByteArray(10458, 'x'));
        else
            QCOMPARE(after, QByteArray(10460, 0x55));  // nothing of a refused file is taken
    }

    void missingFileIsUnreadable() {
        FlashDataMap out{};
        QCOMPARE(ProfileFile::Read(dir + "/none.bin", "3395", 8, out), 1);
    }

    // A pipe chosen as the profile is refused at once instead of blocking on open.
    void pipeIsUnreadable() {
        const QString fifo = dir + "/pipe.bin";
        QVERIFY(PipeFixture::Make(fifo));
        FlashDataMap out{};
        bool returned = false;
        QCOMPARE(PipeFixture::RunReleasing(
                     fifo, [&] { return ProfileFile::Read(fifo, "3395", 8, out); }, &returned),
                 1);
        QVERIFY(returned);
    }

    void missingMaximumRefusesEveryLevel() {
        const QString path = dir + "/p.bin";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(GoodFile(1));
        f.close();
        FlashDataMap out{};
        QCOMPARE(ProfileFile::Read(path, "3395", 0, out), 2);
    }

    void writtenFileReadsBack() {
        FlashDataMap image;
        std::memset(&image, 7, sizeof image);
        image.DpiLevelCount = 4;
        const QString path = dir + "/written.bin";
        QVERIFY(ProfileFile::Write(path, "3395", image));
        QCOMPARE(QFileInfo(path).size(), qint64(10496));
        FlashDataMap out{};
        QCOMPARE(ProfileFile::Read(path, "3395", 8, out), 0);
        QVERIFY(std::memcmp(&out, &image, sizeof image) == 0);
    }

    // The file is smaller than the file buffer: a full disk shows only when the buffer goes out.
    void writeOnAFullDiskFails() {
        if (!QFileInfo::exists("/dev/full")) QSKIP("no /dev/full here");
        if (QFileInfo("/dev/full").isFile()) QSKIP("/dev/full is a plain file here, not the full device");
        FlashDataMap image{};
        QVERIFY(!ProfileFile::Write("/dev/full", "3395", image));
        QVERIFY(!QFileInfo("/dev/full").isFile());  // the device is written to, never replaced
    }

    // A write that cannot succeed leaves an existing file as it was.
    void refusedWriteKeepsTheOldFile_data() {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<bool>("written");
        QTest::newRow("eleven bytes") << "ABCDEFGHIJK" << true;
        QTest::newRow("twelve bytes") << "ABCDEFGHIJKL" << false;
        QTest::newRow("two-byte letters") << QString::fromUtf8("čččččč") << false;
    }
    void refusedWriteKeepsTheOldFile() {
        QFETCH(QString, sensor);
        QFETCH(bool, written);
        const QString path = dir + "/kept.bin";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("old");
        old.close();
        FlashDataMap image{};
        QCOMPARE(ProfileFile::Write(path, sensor, image), written);
        QCOMPARE(QFileInfo(path).size(), written ? qint64(10496) : qint64(3));
        FlashDataMap out{};
        QCOMPARE(ProfileFile::Read(path, sensor, 8, out), written ? 0 : 1);
    }

    void failedWriteLeavesNoNewFileAndKeepsAnOldOne_data() {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("over an old profile") << true;
    }
    void failedWriteLeavesNoNewFileAndKeepsAnOldOne() {
        QFETCH(bool, existing);
        SmallDisk disk("profile-disk");
        SMALL_DISK_OR_SKIP(disk);
        const QString path = disk.Path() + "/profile.ini";
        if (existing) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(GoodFile(3));
        }
        QVERIFY(disk.Fill());
        FlashDataMap image{};
        QVERIFY(!ProfileFile::Write(path, "3395", image));
        QCOMPARE(disk.Files(), existing ? QStringList{"profile.ini"} : QStringList());
        if (existing) {
            FlashDataMap out{};
            QCOMPARE(ProfileFile::Read(path, "3395", 8, out), 0);
            QCOMPARE(int(out.DpiLevelCount), 3);
        }
    }
};

QTEST_GUILESS_MAIN(TstProfileFile)
#include "tst_profilefile.moc"
