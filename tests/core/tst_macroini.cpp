#include <QFile>
#include <QtTest>
#include <memory>

#include "SmallDisk.h"
#include "TestEnv.h"
#include "core/MacroIni.h"
#include "platform/Paths.h"

// The value of group/key as the file on the disk holds it (read past QSettings, whose objects
// in one process share unsaved changes).
static QString OnDisk(const QString& path, const QString& group, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    QString section;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('['))
            section = line.mid(1, line.indexOf(']') - 1);
        else if (section == group && line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    }
    return QString();
}

class TstMacroIni : public QObject {
    Q_OBJECT
    QString Path;

private slots:
    void init() {
        Path = TestEnv::FreshDir("macroini") + "/Macro.ini";
        QFile empty(Path);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        MacroIni::ResetForTest(Path);
    }
    void cleanupTestCase() { MacroIni::ResetForTest(); }

    void defaultFileIsInUserData() {
        MacroIni::ResetForTest();
        QCOMPARE(MacroIni::GetInstance()->FilePath(), Paths::UserDataDir() + "/Macro.ini");
    }

    void missingKeyReadsEmpty() {
        QCOMPARE(MacroIni::GetInstance()->GetValue("Language", "Language"), QString());
        QVERIFY(MacroIni::GetInstance()->GetStringList("Language", "Language").isEmpty());
    }

    // The tray's exit ends the process without destructors: a write must be on the disk
    // while the store still lives.
    void writeReachesDiskAtOnce() {
        MacroIni::GetInstance()->SetValue("Language", "Language", "1");
        QCOMPARE(OnDisk(Path, "Language", "Language"), QString("1"));
        MacroIni::GetInstance()->SetValue("FindNew", "IsShow", QString::fromUtf8("ano\xc5\xa1"));
        QCOMPARE(OnDisk(Path, "FindNew", "IsShow"), QString::fromUtf8("ano\xc5\xa1"));
        MacroIni::GetInstance()->Remove("Language", "Language");
        QCOMPARE(OnDisk(Path, "Language", "Language"), QString());
    }

    void roundTripAcrossNewInstance() {
        MacroIni* first = MacroIni::GetInstance();
        first->SetValue("Language", "Language", "1");
        first->SetValue("AutoStart", "Enable", "0");
        MacroIni::ResetForTest(Path);
        MacroIni* second = MacroIni::GetInstance();
        QVERIFY(second != first);
        QCOMPARE(second->GetValue("Language", "Language"), QString("1"));
        QCOMPARE(second->GetValue("AutoStart", "Enable"), QString("0"));
        QCOMPARE(first->GetValue("Language", "Language"), QString("1"));  // still usable
    }

    // A write the disk refused is reported, not kept in memory, and not stored by a later write.
    void refusedWriteIsReportedAndTakenBack_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("full folder") << false;
        QTest::newRow("read-only folder") << true;
    }
    void refusedWriteIsReportedAndTakenBack() {
        QFETCH(bool, readOnly);
        SmallDisk disk("macroini-disk", 64);
        SMALL_DISK_OR_SKIP(disk);
        const QString path = disk.Path() + "/Macro.ini";
        MacroIni::ResetForTest(path);
        MacroIni* ini = MacroIni::GetInstance();
        QVERIFY(ini->SetValue("Language", "Language", "0"));
        QVERIFY(ini->SetValue("AutoStart", "Enable", "1"));
        QVERIFY(readOnly ? disk.SetReadOnly(true) : disk.Fill());

        QVERIFY(!ini->SetValue("Language", "Language", "1"));
        QVERIFY(!ini->SetValue("FindNew", "IsShow", "0"));
        QVERIFY(!ini->Remove("AutoStart", "Enable"));
        QCOMPARE(ini->GetValue("Language", "Language"), QString("0"));
        QCOMPARE(ini->GetValue("FindNew", "IsShow"), QString());
        QCOMPARE(ini->GetValue("AutoStart", "Enable"), QString("1"));
        QCOMPARE(OnDisk(path, "Language", "Language"), QString("0"));

        if (readOnly)
            QVERIFY(disk.SetReadOnly(false));
        else
            disk.Free();
        QVERIFY(ini->SetValue("Sound", "Volume", "3"));
        QCOMPARE(OnDisk(path, "Language", "Language"), QString("0"));
        QCOMPARE(OnDisk(path, "FindNew", "IsShow"), QString());
        QCOMPARE(OnDisk(path, "AutoStart", "Enable"), QString("1"));
        QCOMPARE(OnDisk(path, "Sound", "Volume"), QString("3"));
        MacroIni::ResetForTest(Path);
    }

    // A line the reader cannot take costs no change of the user's: the value written is kept and the
    // file written whole, without that line; a write the disk refuses is still reported.
    void damagedLineCostsNoChange_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("full");
        const QByteArray firstLine("garbage\n[Language]\nLanguage=0\n");
        QTest::newRow("first line without =") << firstLine << false;
        QTest::newRow("line without = in a group") << QByteArray("[Language]\nLanguage=0\nbroken\n") << false;
        QTest::newRow("first line without =, full disk") << firstLine << true;
    }
    void damagedLineCostsNoChange() {
        QFETCH(QByteArray, content);
        QFETCH(bool, full);
        std::unique_ptr<SmallDisk> disk;
        QString path = Path;
        if (full) {
            disk = std::make_unique<SmallDisk>("macroini-damaged", 64);
            SMALL_DISK_OR_SKIP(*disk);
            path = disk->Path() + "/Macro.ini";
        }
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
        }
        MacroIni::ResetForTest(path);
        MacroIni* ini = MacroIni::GetInstance();
        QCOMPARE(ini->GetValue("Language", "Language"), QString("0"));
        if (full) QVERIFY(disk->Fill());

        QCOMPARE(ini->SetValue("AutoStart", "Enable", "1"), !full);
        const QString kept = full ? QString() : QString("1");
        QCOMPARE(ini->GetValue("AutoStart", "Enable"), kept);
        QCOMPARE(OnDisk(path, "AutoStart", "Enable"), kept);
        if (full) disk->Free();
        QVERIFY(ini->SetValue("FindNew", "IsShow", "1"));
        QCOMPARE(OnDisk(path, "FindNew", "IsShow"), QString("1"));
        QCOMPARE(OnDisk(path, "AutoStart", "Enable"), kept);
        QCOMPARE(OnDisk(path, "Language", "Language"), QString("0"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(!written.contains("garbage") && !written.contains("broken"));
        MacroIni::ResetForTest(Path);
    }
};

QTEST_GUILESS_MAIN(TstMacroIni)
#include "tst_macroini.moc"
