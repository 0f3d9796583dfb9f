#include <QSettings>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "SmallDisk.h"
#include "TestEnv.h"
#include "platform/InstanceGuard.h"
#include "platform/RegistryStore.h"
#include "platform/ScreenMetrics.h"

class TstPlatform : public QObject {
    Q_OBJECT
private slots:
    void registryKeysAndFile() {
        QCOMPARE(RegistryStore::ProductKey(),
                 QString("HKEY_CURRENT_USER\\Software\\Vorlant ZEMB\\Vorlant ZEMB\\Vorlant ZEMB"));
        QCOMPARE(RegistryStore::DriveTestKey(),
                 QString("HKEY_CURRENT_USER\\Software\\Vorlant ZEMB\\Vorlant ZEMB\\Mouse Drive Test"));
        QVERIFY(RegistryStore::FilePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + "/"));
    }

    void registryValuesPersistPerKey() {
        const QString file = TestEnv::FreshDir("registry") + "/registry.ini";
        RegistryStore::SetFilePath(file);
        RegistryStore product(RegistryStore::ProductKey());
        RegistryStore driveTest(RegistryStore::DriveTestKey());
        QVERIFY(!product.Contains("LanguageIndex"));
        QCOMPARE(product.Value("LanguageIndex", 0).toInt(), 0);

        product.SetValue("LanguageIndex", 1);
        driveTest.SetValue("MouseVer356", "v1.05");
        driveTest.SetValue("UpdateFailInfo", "211,8,35,6");
        // Written at once: another reader of the file sees it without any sync on our side.
        QSettings raw(file, QSettings::IniFormat);
        QCOMPARE(raw.allKeys().size(), 3);

        QCOMPARE(RegistryStore(RegistryStore::ProductKey()).Value("LanguageIndex").toInt(), 1);
        QCOMPARE(driveTest.Value("MouseVer356").toString(), QString("v1.05"));
        QCOMPARE(driveTest.Value("UpdateFailInfo").toString(), QString("211,8,35,6"));
        QVERIFY(!driveTest.Contains("LanguageIndex"));

        product.Remove("LanguageIndex");
        product.Remove("NeverThere");
        QVERIFY(!product.Contains("LanguageIndex"));
        QVERIFY(driveTest.Contains("MouseVer356"));
        RegistryStore::SetFilePath(QString());
    }

    void registryWritesFromThreads() {
        RegistryStore::SetFilePath(TestEnv::FreshDir("registry-threads") + "/registry.ini");
        QVector<QThread*> threads;
        for (int t = 0; t < 4; ++t) {
            threads.append(QThread::create([t] {
                RegistryStore store(RegistryStore::DriveTestKey());
                for (int i = 0; i < 20; ++i) store.SetValue(QString("MouseVer%1_%2").arg(t).arg(i), i);
            }));
            threads.last()->start();
        }
        for (QThread* thread : threads) {
            QVERIFY(thread->wait(20000));
            delete thread;
        }
        RegistryStore store(RegistryStore::DriveTestKey());
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < 20; ++i)
                QCOMPARE(store.Value(QString("MouseVer%1_%2").arg(t).arg(i)).toInt(), i);
        RegistryStore::SetFilePath(QString());
    }

    // A write the disk refused is reported and taken back: a later write does not store it after all.
    void registryRefusedWriteIsReported_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("full folder") << false;
        QTest::newRow("read-only folder") << true;
    }
    void registryRefusedWriteIsReported() {
        QFETCH(bool, readOnly);
        SmallDisk disk("registry-disk", 64);
        SMALL_DISK_OR_SKIP(disk);
        const QString file = disk.Path() + "/registry.ini";
        RegistryStore::SetFilePath(file);
        RegistryStore run(RegistryStore::RunKey());
        QVERIFY(run.SetValue("Vorlant ZEMB", "\"/opt/vz/VorlantZEMB\""));
        QVERIFY(readOnly ? disk.SetReadOnly(true) : disk.Fill());

        QVERIFY(!run.SetValue("Other", "x"));
        QVERIFY(!run.Remove("Vorlant ZEMB"));
        QVERIFY(run.Remove("NeverThere"));  // nothing to write
        QVERIFY(!run.Contains("Other"));
        QVERIFY(run.Contains("Vorlant ZEMB"));

        if (readOnly)
            QVERIFY(disk.SetReadOnly(false));
        else
            disk.Free();
        RegistryStore driveTest(RegistryStore::DriveTestKey());
        QVERIFY(driveTest.SetValue("UpdateFailInfo", "211,8,35,6"));
        QSettings raw(file, QSettings::IniFormat);
        QCOMPARE(raw.allKeys().size(), 2);
        RegistryStore::SetFilePath(QString());
    }

    // A line the reader cannot take does not make the next write fail.
    void registryWriteOverADamagedLine() {
        const QString file = TestEnv::FreshDir("registry-damaged") + "/registry.ini";
        {
            QFile damaged(file);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("garbage\n");
        }
        RegistryStore::SetFilePath(file);
        RegistryStore driveTest(RegistryStore::DriveTestKey());
        QVERIFY(driveTest.SetValue("UpdateFailInfo", "211,8,35,6"));
        QCOMPARE(driveTest.Value("UpdateFailInfo").toString(), QString("211,8,35,6"));
        RegistryStore::SetFilePath(QString());
    }

    void guardIsKeyedByHomeOutsideASession() {
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray oldHome = qgetenv("HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString homeA = TestEnv::FreshDir("home-a");
        const QString homeB = TestEnv::FreshDir("home-b");
        qputenv("HOME", homeA.toUtf8());
        InstanceGuard first("Vorlant ZEMB home test");
        qputenv("HOME", homeB.toUtf8());
        InstanceGuard otherHome("Vorlant ZEMB home test");
        qputenv("HOME", homeA.toUtf8());
        InstanceGuard sameHome("Vorlant ZEMB home test");
        qputenv("HOME", oldHome);
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        QVERIFY(!first.AnotherInstanceRuns());
        QVERIFY(!otherHome.AnotherInstanceRuns());
        QVERIFY(sameHome.AnotherInstanceRuns());
        QVERIFY(first.LockFilePath() != otherHome.LockFilePath());
    }

    void screenOverrides() {
        ScreenMetrics::SetOverrides(3840, 120);
        QCOMPARE(ScreenMetrics::DesktopWidth(), 3840);
        QCOMPARE(ScreenMetrics::LogicalDpiX(), 120);
        QCOMPARE(ScreenMetrics::FontScaleFactor(), 0.8);
        ScreenMetrics::SetOverrides(0, 0);
        QVERIFY(ScreenMetrics::DesktopWidth() > 0);
        QVERIFY(ScreenMetrics::LogicalDpiX() > 0);
    }

    void guardIsExclusiveAndReleasedWithItsOwner() {
        InstanceGuard first("Vorlant ZEMB test guard");
        QVERIFY(!first.AnotherInstanceRuns());
        QVERIFY(first.Owns());
        QVERIFY(!first.AnotherInstanceRuns());  // asking again keeps the guard
        {
            InstanceGuard second("Vorlant ZEMB test guard");
            QVERIFY(second.AnotherInstanceRuns());
            QVERIFY(!second.Owns());
            InstanceGuard other("Another product");
            QVERIFY(!other.AnotherInstanceRuns());
        }
        InstanceGuard third("Vorlant ZEMB test guard");
        QVERIFY(third.AnotherInstanceRuns());
    }

    void guardTakesOverAStaleSegment() {
        // A segment whose owner is gone (in real life: a killed instance) does not block.
        QSharedMemory leftOver("Vorlant ZEMB stale test");
        QVERIFY(leftOver.create(1));
        InstanceGuard guard("Vorlant ZEMB stale test");
        QVERIFY(!guard.AnotherInstanceRuns());
        QVERIFY(guard.Owns());
    }
};

QTEST_MAIN(TstPlatform)
#include "tst_platform.moc"
