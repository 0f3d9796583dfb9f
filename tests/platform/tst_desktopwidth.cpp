// Start-up reads the desktop width before the application object exists: from the X server, without
// building an application object of its own, when the toolkit will run on X, and the same width Qt's
// primary screen then reports; through a probe application when the toolkit may take another platform.
#include <QGuiApplication>
#include <QtTest>
#include <memory>

#include "OwnXvfb.h"
#include "platform/ScreenMetrics.h"

namespace {
int ApplicationsBuilt = 0;
void CountApplication() {
    ++ApplicationsBuilt;
}

QProcessEnvironment Environment(const QStringList& assignments) {
    QProcessEnvironment environment;
    for (const QString& assignment : assignments)
        environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
    return environment;
}
}  // namespace

class TestDesktopWidth : public QObject {
    Q_OBJECT
    std::unique_ptr<OwnXvfb> xvfb_;
    QTemporaryDir runtime_;

private slots:
    // The choice of path needs no server.
    void platformChoice_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("xcb");
        QTest::addColumn<QByteArray>("display");
        const QStringList none;
        QTest::newRow("nothing asked") << none << none << true << QByteArray();
        QTest::newRow("X session") << none << QStringList{"XDG_SESSION_TYPE=x11"} << true << QByteArray();
        QTest::newRow("Wayland session")
            << none << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << false
            << QByteArray();
        QTest::newRow("Wayland session without its socket named")
            << none << QStringList{"XDG_SESSION_TYPE=wayland"} << false << QByteArray();
        QTest::newRow("Wayland socket outside a Wayland session")
            << none << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << true << QByteArray();
        QTest::newRow("Wayland session, xcb asked")
            << none << QStringList{"XDG_SESSION_TYPE=wayland", "QT_QPA_PLATFORM=xcb"} << true << QByteArray();
        QTest::newRow("Wayland session, -platform xcb")
            << QStringList{"-platform", "xcb"} << QStringList{"XDG_SESSION_TYPE=wayland"} << true << QByteArray();
        QTest::newRow("Wayland session, --platform xcb with options")
            << QStringList{"--platform", "XCB:nograb"} << QStringList{"XDG_SESSION_TYPE=wayland"} << true
            << QByteArray();
        QTest::newRow("Wayland asked") << none << QStringList{"QT_QPA_PLATFORM=wayland"} << false << QByteArray();
        QTest::newRow("Wayland before xcb asked")
            << none << QStringList{"QT_QPA_PLATFORM=wayland;xcb"} << false << QByteArray();
        QTest::newRow("xcb before Wayland asked")
            << none << QStringList{"QT_QPA_PLATFORM=xcb;wayland"} << true << QByteArray();
        QTest::newRow("offscreen asked") << none << QStringList{"QT_QPA_PLATFORM=offscreen"} << false
                                         << QByteArray();
        QTest::newRow("-platform replaces QT_QPA_PLATFORM")
            << QStringList{"-platform", "offscreen"} << QStringList{"QT_QPA_PLATFORM=xcb"} << false << QByteArray();
        QTest::newRow("--platform replaces QT_QPA_PLATFORM")
            << QStringList{"--platform", "wayland"} << QStringList{"QT_QPA_PLATFORM=xcb"} << false << QByteArray();
        QTest::newRow("the last -platform counts")
            << QStringList{"-platform", "offscreen", "-platform", "xcb"} << none << true << QByteArray();
        QTest::newRow("-platform without a name") << QStringList{"-platform"} << none << true << QByteArray();
        QTest::newRow("-display") << QStringList{"-display", ":7"} << none << true << QByteArray(":7");
        QTest::newRow("--display") << QStringList{"x", "--display", "host:3.0"} << none << true
                                   << QByteArray("host:3.0");
        QTest::newRow("-display does not choose X")
            << QStringList{"-display", ":7"} << QStringList{"XDG_SESSION_TYPE=wayland"} << false
            << QByteArray(":7");
    }
    void platformChoice() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(bool, xcb);
        QFETCH(QByteArray, display);
        QList<QByteArray> argv{"VorlantZEMB"};
        for (const QString& argument : arguments) argv << argument.toLocal8Bit();
        const ScreenMetrics::XcbChoice choice = ScreenMetrics::ChoosePlatform(argv, Environment(environment));
        QCOMPARE(choice.xcb, xcb);
        QCOMPARE(choice.display, display);
    }

    // Through a server: X read directly, or a probe application where another platform may be taken (no
    // Wayland compositor here, so the probe falls back to xcb and finds the same width).
    void widthBeforeTheApplication_data() {
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<bool>("displayArgument");
        QTest::addColumn<int>("probes");
        QTest::newRow("X, DISPLAY") << QByteArray() << false << 0;
        QTest::newRow("X, -display") << QByteArray() << true << 0;
        QTest::newRow("Wayland session") << QByteArray("wayland") << false << 1;
    }
    void widthBeforeTheApplication() {
        QFETCH(QByteArray, sessionType);
        QFETCH(bool, displayArgument);
        QFETCH(int, probes);
        if (OwnXvfb::Program().isEmpty()) QSKIP("Xvfb is not installed (tools/setup.sh)");
        if (!xvfb_) xvfb_ = std::make_unique<OwnXvfb>("2560x1440x24");
        QVERIFY2(xvfb_->Display() >= 0, "Xvfb did not start");
        qunsetenv("QT_QPA_PLATFORM");
        qunsetenv("VORLANT_DESKTOP_WIDTH");
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        qputenv("XDG_SESSION_TYPE", sessionType);
        QByteArray display = xvfb_->DisplayName();
        QByteArray option = "-display";
        if (displayArgument)
            qputenv("DISPLAY", ":99999");  // no server: only the argument leads to it
        else
            qputenv("DISPLAY", display);
        char name[] = "tst_desktopwidth";
        char* argv[] = {name, option.data(), display.data(), nullptr};
        const int argc = displayArgument ? 3 : 1;
        if (!displayArgument) argv[1] = nullptr;

        static bool counting = false;
        if (!counting) qAddPreRoutine(CountApplication);
        counting = true;
        const int before = ApplicationsBuilt;
        QCOMPARE(ScreenMetrics::DesktopWidthBeforeApp(argc, argv), 2560);
        QCOMPARE(ApplicationsBuilt - before, probes);

        // The toolkit's own screen, once, shows the same width.
        if (displayArgument || probes) return;
        int count = argc;
        QGuiApplication app(count, argv);
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        QCOMPARE(ScreenMetrics::DesktopWidth(), 2560);
    }
};

QTEST_APPLESS_MAIN(TestDesktopWidth)
#include "tst_desktopwidth.moc"
