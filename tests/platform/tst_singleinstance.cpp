#include <sys/ipc.h>
#include <sys/shm.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSharedMemory>
#include <QtTest>

#include "TestEnv.h"
#include "platform/InstanceGuard.h"

// Starts the real program in child processes that share one session (runtime folder) and one HOME.
class TstSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        program_ = QCoreApplication::applicationDirPath() + "/VorlantZEMB";
        QVERIFY(QFileInfo(program_).isExecutable());
    }

    void init() {
        home_ = TestEnv::FreshDir("child-home");
        runtime_ = TestEnv::FreshDir("child-run");
        RemoveSegment();
    }

    void cleanup() {
        for (QProcess* child : children_) {
            if (child->state() != QProcess::NotRunning) {
                child->kill();
                child->waitForFinished(5000);
            }
            delete child;
        }
        children_.clear();
        RemoveSegment();
    }

    // The user gets the notice; the terminal hears of it only among the debug tags.
    void secondStartShowsTheNoticeAndEndsWithZero_data() {
        QTest::addColumn<QString>("loggingRules");
        QTest::addColumn<bool>("told");
        QTest::newRow("default") << QString() << false;
        QTest::newRow("debug tags on") << "vorlant.debug=true" << true;
    }
    void secondStartShowsTheNoticeAndEndsWithZero() {
        QFETCH(QString, loggingRules);
        QFETCH(bool, told);
        QProcess* first = Start();
        QVERIFY(WaitUntilHoldingGuard(first));
        QVERIFY(QFileInfo::exists(home_ + "/AppData/Local/Vorlant ZEMB/Macro.ini"));

        QProcess* second = Start(200, loggingRules);
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        const QString output = QString::fromUtf8(second->readAllStandardError());
        QVERIFY2(output.contains("notice shown: true Vorlant ZEMB is already running."), qPrintable(output));
        QVERIFY2(output.contains("another instance is running") == told, qPrintable(output));
        QVERIFY2(second->readAllStandardOutput().isEmpty(), "nothing on standard output");
        QCOMPARE(first->state(), QProcess::Running);
    }

    void segmentOfAKilledInstanceDoesNotBlock() {
        QProcess* first = Start();
        QVERIFY(WaitUntilHoldingGuard(first));
        first->kill();  // no clean-up of any kind, as in a crash
        QVERIFY(first->waitForFinished(10000));
        QVERIFY2(SegmentExists(), "a killed instance leaves its segment behind");

        QProcess* next = Start(200);
        QVERIFY(WaitUntilHoldingGuard(next));
        QVERIFY(!next->waitForFinished(1000));  // runs its window instead of the notice
        QVERIFY(!QString::fromUtf8(next->readAllStandardError()).contains("notice shown"));

        QProcess* third = Start(200);
        QVERIFY(third->waitForFinished(20000));
        QCOMPARE(third->exitCode(), 0);
        QVERIFY(QString::fromUtf8(third->readAllStandardError()).contains("notice shown: true"));
    }

private:
    QProcess* Start(int noticeAutoCloseMs = -1, const QString& loggingRules = QString()) {
        auto* child = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_LOGGING_RULES");
        if (!loggingRules.isEmpty()) env.insert("QT_LOGGING_RULES", loggingRules);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home_);
        env.insert("XDG_CONFIG_HOME", home_ + "/.config");
        env.insert("XDG_RUNTIME_DIR", runtime_);
        if (noticeAutoCloseMs >= 0)
            env.insert("VORLANT_NOTICE_AUTOCLOSE_MS", QString::number(noticeAutoCloseMs));
        child->setProcessEnvironment(env);
        child->start(program_, QStringList());
        children_.append(child);
        return child;
    }

    // True once the child has opened the guard's lock file (it takes the lock right after opening it).
    bool WaitUntilHoldingGuard(QProcess* child) {
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime_.toUtf8());
        const QString lockFile = InstanceGuard("Vorlant ZEMB").LockFilePath();
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        if (!child->waitForStarted(10000)) return false;
        const QString fdDir = QString("/proc/%1/fd").arg(child->processId());
        for (int i = 0; i < 400 && child->state() == QProcess::Running; ++i) {
            for (const QFileInfo& fd : QDir(fdDir).entryInfoList(QDir::Files | QDir::System)) {
                if (fd.symLinkTarget() == lockFile) return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    static bool SegmentExists() {
        QSharedMemory probe("Vorlant ZEMB");
        const key_t key = ftok(QFile::encodeName(probe.nativeKey()).constData(), 'Q');
        return key != -1 && shmget(key, 0, 0400) != -1;
    }

    // Drops a segment left by a killed child (detaching the last attachment removes it).
    static void RemoveSegment() {
        QSharedMemory probe("Vorlant ZEMB");
        if (probe.attach()) probe.detach();
    }

    QString program_;
    QString home_;
    QString runtime_;
    QList<QProcess*> children_;
};

QTEST_MAIN(TstSingleInstance)
#include "tst_singleinstance.moc"
