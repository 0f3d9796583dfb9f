#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QtTest>

#include "SmallDisk.h"
#include "TestEnv.h"
#include "platform/WholeFile.h"

namespace {
QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
// What a name in the folder is.
constexpr int kFile = 0;
constexpr int kFolder = 1;
constexpr int kLink = 2;
void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}
}  // namespace

class TstWholeFile : public QObject {
    Q_OBJECT
    QString dir;
private slots:
    void init() { dir = TestEnv::FreshDir("whole"); }

    void writeReplacesAndAppendExtends() {
        const QString path = dir + "/a.ini";
        QVERIFY(WholeFile::Write(path, "first\n"));
        QCOMPARE(Content(path), QByteArray("first\n"));
        QVERIFY(WholeFile::Write(path, "second\n"));
        QCOMPARE(Content(path), QByteArray("second\n"));
        QVERIFY(WholeFile::Append(path, "third\n"));
        QCOMPARE(Content(path), QByteArray("second\nthird\n"));
        QVERIFY(WholeFile::Write(path, QByteArray()));
        QCOMPARE(QFileInfo(path).size(), qint64(0));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"a.ini"});
    }

    void appendNeedsAnExistingFile() {
        QVERIFY(!WholeFile::Append(dir + "/none.ini", "x\n"));
        QVERIFY(!QFileInfo::exists(dir + "/none.ini"));
    }

    // A FIFO would block the writer for good; a device or a folder is not a file to replace.
    void targetsThatAreNoRegularFileAreRefused() {
        const QString fifo = dir + "/fifo";
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!WholeFile::Write(fifo, "x"));
        QVERIFY(!WholeFile::Append(fifo, "x"));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(!WholeFile::Write(dir, "x"));
        if (QFileInfo::exists("/dev/full") && !QFileInfo("/dev/full").isFile()) {
            QVERIFY(!WholeFile::Write("/dev/full", "x"));
            QVERIFY(!QFileInfo("/dev/full").isFile());
        }
    }

    void fullDiskKeepsTheOldFile_data() {
        QTest::addColumn<bool>("append");
        QTest::addColumn<int>("newBytes");
        QTest::addColumn<int>("leaveBytes");
        // Below the file buffer a failed write shows only at the flush; above it, the file is cut.
        QTest::newRow("small write, no room") << false << 100 << 0;
        QTest::newRow("large write, cut midway") << false << 60000 << 8192;
        QTest::newRow("small append, no room") << true << 100 << 0;
        QTest::newRow("large append, cut midway") << true << 60000 << 8192;
    }
    void fullDiskKeepsTheOldFile() {
        QFETCH(bool, append);
        QFETCH(int, newBytes);
        QFETCH(int, leaveBytes);
        SmallDisk disk("whole-disk");
        SMALL_DISK_OR_SKIP(disk);
        const QString path = disk.Path() + "/user.ini";
        const QByteArray old(3000, 'o');
        Put(path, old);
        QVERIFY(disk.Fill(leaveBytes));
        const QByteArray bytes(newBytes, 'n');
        QVERIFY(!(append ? WholeFile::Append(path, bytes) : WholeFile::Write(path, bytes)));
        QCOMPARE(Content(path), old);
        QCOMPARE(disk.Files(), QStringList{"user.ini"});  // no temporary file left
    }

    void fullDiskLeavesNoNewFile() {
        SmallDisk disk("whole-disk");
        SMALL_DISK_OR_SKIP(disk);
        QVERIFY(disk.Fill());
        QVERIFY(!WholeFile::Write(disk.Path() + "/new.bin", QByteArray(500, 'n')));
        QCOMPARE(disk.Files(), QStringList());
    }

    // What a write killed between placing its temporary file and renaming it leaves goes; a name of
    // another shape, a folder or a link stays.
    void leftoversGo_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("removed");
        QTest::newRow("temporary of a file") << "a.ini.GQrTMP" << kFile << true;
        QTest::newRow("temporary of a new file") << "new.ini.obzfzN" << kFile << true;
        QTest::newRow("three letters") << "a.ini.bak" << kFile << false;
        QTest::newRow("seven letters") << "a.ini.GQrTMPx" << kFile << false;
        QTest::newRow("a digit") << "a.ini.GQ1TMP" << kFile << false;
        QTest::newRow("another kind of file") << "a.txt.GQrTMP" << kFile << false;
        QTest::newRow("folder") << "b.ini.GQrTMP" << kFolder << false;
        QTest::newRow("link") << "c.ini.GQrTMP" << kLink << false;
    }
    void leftoversGo() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, removed);
        Put(dir + "/a.ini", "kept\n");
        const QString path = dir + "/" + name;
        if (kind == kFolder)
            QVERIFY(QDir(dir).mkdir(name));
        else if (kind == kLink)
            QVERIFY(QFile::link(dir + "/a.ini", path));
        else
            Put(path, "left\n");
        WholeFile::RemoveLeftovers(dir, "*.ini");
        QCOMPARE(QFileInfo::exists(path) || QFileInfo(path).isSymLink(), !removed);
        QCOMPARE(Content(dir + "/a.ini"), QByteArray("kept\n"));
    }
};

QTEST_GUILESS_MAIN(TstWholeFile)
#include "tst_wholefile.moc"
