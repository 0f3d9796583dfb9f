// Start-up reads the desktop width before the application object exists: from the X server, without
// building an application object of its own, and the same width Qt's primary screen then reports.
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include "platform/ScreenMetrics.h"

namespace {
int ApplicationsBuilt = 0;
void CountApplication() {
    ++ApplicationsBuilt;
}
}  // namespace

class TestDesktopWidth : public QObject {
    Q_OBJECT
    QProcess xvfb_;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed (tools/setup.sh)");
        QString display;
        for (int n = 140; n < 200 && display.isEmpty(); ++n) {
            if (QFile::exists(QString("/tmp/.X%1-lock").arg(n))) continue;
            const QString socket = QString("/tmp/.X11-unix/X%1").arg(n);
            xvfb_.start("Xvfb", {":" + QString::number(n), "-screen", "0", "2560x1440x24", "-nolisten", "tcp"});
            if (!xvfb_.waitForStarted(5000)) break;
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 10000 && xvfb_.state() == QProcess::Running && !QFile::exists(socket))
                QThread::msleep(20);
            if (xvfb_.state() == QProcess::Running && QFile::exists(socket)) {
                display = ":" + QString::number(n);
            } else {
                xvfb_.kill();
                xvfb_.waitForFinished();
            }
        }
        QVERIFY2(!display.isEmpty(), "Xvfb did not start");
        qputenv("DISPLAY", display.toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("VORLANT_DESKTOP_WIDTH");
        qAddPreRoutine(CountApplication);
    }

    void cleanupTestCase() {
        if (xvfb_.state() == QProcess::NotRunning) return;
        xvfb_.terminate();
        xvfb_.waitForFinished();
    }

    void widthWithoutAnApplication() {
        char name[] = "tst_desktopwidth";
        char* argv[] = {name, nullptr};
        QCOMPARE(ScreenMetrics::DesktopWidthBeforeApp(1, argv), 2560);
        QCOMPARE(ApplicationsBuilt, 0);

        int argc = 1;
        QGuiApplication app(argc, argv);
        QCOMPARE(ApplicationsBuilt, 1);
        QCOMPARE(ScreenMetrics::DesktopWidth(), 2560);
    }
};

QTEST_APPLESS_MAIN(TestDesktopWidth)
#include "tst_desktopwidth.moc"
