#include <sys/mman.h>
#include <sys/resource.h>

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "TestEnv.h"
#include "platform/CrashHandler.h"

namespace {

// Child mode: install the filter, then die the way VZ_CRASH asks ("segv", "segv-thread", "abrt", "fpe",
// "ill", "bus").
[[noreturn]] void CrashNow(const QByteArray& how) {
    if (how.startsWith("segv")) {
        // A real fault: write to a page that may not be written.
        void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        *static_cast<volatile int*>(page) = 1;
    } else if (how == "abrt") {
        std::abort();
    } else if (how == "ill") {
        __builtin_trap();
    } else if (how == "fpe") {
        raise(SIGFPE);
    } else if (how == "bus") {
        raise(SIGBUS);
    }
    std::_Exit(3);
}

int CrashChild(const QByteArray& how) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    CrashHandler handler;
    handler.SetCrashFilter();
    if (how.endsWith("-thread")) {
        std::thread worker([how] { CrashNow(how); });
        worker.join();
    }
    CrashNow(how);
}

}  // namespace

class TstCrashDump : public QObject {
    Q_OBJECT
private slots:
    void fileNameFromLocalSeconds_data() {
        QTest::addColumn<qlonglong>("seconds");
        QTest::addColumn<QString>("name");
        QTest::newRow("epoch") << 0LL << "1970_01_01_00_00_00.dmp";
        QTest::newRow("example") << 1709647629LL << "2024_03_05_14_07_09.dmp";
        QTest::newRow("leap day") << 951868799LL << "2000_02_29_23_59_59.dmp";
        QTest::newRow("year end") << 946598400LL << "1999_12_31_00_00_00.dmp";
        QTest::newRow("past 32 bits") << 2147483648LL << "2038_01_19_03_14_08.dmp";
    }
    void fileNameFromLocalSeconds() {
        QFETCH(qlonglong, seconds);
        QFETCH(QString, name);
        char out[64];
        CrashDump::FormatName(seconds, out, sizeof(out));
        QCOMPARE(QString::fromLatin1(out), name);
    }

    void crashLeavesDump_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("signalName");
        QTest::newRow("fault on the GUI thread") << "segv" << SIGSEGV << "SIGSEGV";
        QTest::newRow("fault on another thread") << "segv-thread" << SIGSEGV << "SIGSEGV";
        QTest::newRow("abort") << "abrt" << SIGABRT << "SIGABRT";
        QTest::newRow("illegal instruction") << "ill" << SIGILL << "SIGILL";
        QTest::newRow("arithmetic") << "fpe" << SIGFPE << "SIGFPE";
        QTest::newRow("bus error") << "bus" << SIGBUS << "SIGBUS";
    }
    void crashLeavesDump() {
        QFETCH(QString, how);
        QFETCH(int, signal);
        QFETCH(QString, signalName);

        // A fresh home without the Exception folder: the filter creates it.
        const QString home = TestEnv::FreshDir("crash-" + how);
        const QString userData = home + "/AppData/Local/Vorlant ZEMB";
        QVERIFY(QDir().mkpath(userData));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.insert("VZ_CRASH", how);
        // Under the sanitizers our handler must own the fatal signals as it does in the program.
        env.insert("ASAN_OPTIONS",
                   "detect_leaks=0:allow_user_segv_handler=1:handle_segv=0:handle_sigbus=0:"
                   "handle_abort=0:handle_sigill=0:handle_sigfpe=0");
        child.setProcessEnvironment(env);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(30000));
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), signal);

        const QStringList dumps = QDir(userData + "/Exception").entryList(QDir::Files);
        QCOMPARE(dumps.size(), 1);
        const QString name = dumps.first();
        QVERIFY2(
            QRegularExpression("^\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.dmp$").match(name).hasMatch(),
            qPrintable(name));
        const QDateTime stamp = QDateTime::fromString(name.left(19), "yyyy_MM_dd_hh_mm_ss");
        QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after, qPrintable(name));

        QFile file(userData + "/Exception/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString report = QString::fromLocal8Bit(file.readAll());
        QVERIFY2(report.contains(QString("signal: %1 (%2)").arg(signal).arg(signalName)), qPrintable(report));
        const int trace = report.indexOf("backtrace:\n");
        QVERIFY(trace > 0);
        QVERIFY2(report.mid(trace).count('\n') >= 3, qPrintable(report));  // a few frames
    }

    void unwritableFolderStillEndsTheProcess() {
        // "Exception" is a file here: no dump can be written, the process still dies of its signal.
        const QString home = TestEnv::FreshDir("crash-unwritable");
        const QString userData = home + "/AppData/Local/Vorlant ZEMB";
        QVERIFY(QDir().mkpath(userData));
        QFile blocker(userData + "/Exception");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.insert("VZ_CRASH", "abrt");
        env.insert("ASAN_OPTIONS", "detect_leaks=0:handle_abort=0");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), int(SIGABRT));
        QVERIFY(QFileInfo(userData + "/Exception").isFile());
    }
};

int main(int argc, char** argv) {
    const QByteArray how = qgetenv("VZ_CRASH");
    if (!how.isEmpty()) return CrashChild(how);
    QCoreApplication app(argc, argv);
    TstCrashDump test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashdump.moc"
