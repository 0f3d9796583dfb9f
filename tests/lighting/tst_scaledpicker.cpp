// The screen colour picker on a real X display of 3840 x 2160 that the program scales by 2, as it does
// on such a screen: a picture of four coloured quarters covers the screen, the cursor stands on one of
// them, and a press on the colour board takes that quarter's colour. The test starts its own Xvfb; it
// skips only when Xvfb is not installed.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <string>

#include "lighting/ColorEditor.h"

namespace {

// An Xvfb of its own: the display number it chose, or -1 when it did not start.
class OwnXvfb {
public:
    OwnXvfb(const QString& program, const char* screen) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const QByteArray path = QFile::encodeName(program);
            execl(path.constData(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                  "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid_ > 0) display_ = ReadDisplay(fds[0]);
        close(fds[0]);
    }
    ~OwnXvfb() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    OwnXvfb(const OwnXvfb&) = delete;
    OwnXvfb& operator=(const OwnXvfb&) = delete;

    int Display() const { return display_; }

private:
    // Xvfb writes the display number and a line end once it takes connections.
    static int ReadDisplay(int fd) {
        std::string text;
        pollfd wait{fd, POLLIN, 0};
        while (text.find('\n') == std::string::npos && poll(&wait, 1, 10000) > 0) {
            char c[16];
            const ssize_t n = read(fd, c, sizeof c);
            if (n <= 0) break;
            text.append(c, size_t(n));
        }
        return text.find('\n') == std::string::npos ? -1 : std::stoi(text);
    }

    pid_t pid_ = -1;
    int display_ = -1;
};

// The picture: four quarters of the screen in four colours.
class Quarters : public QWidget {
public:
    static QColor At(const QSize& screen, const QPoint& at) {
        const bool right = at.x() >= screen.width() / 2;
        const bool lower = at.y() >= screen.height() / 2;
        if (!lower) return right ? QColor(0, 200, 0) : QColor(200, 0, 0);
        return right ? QColor(250, 200, 0) : QColor(0, 0, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int w = width() / 2, h = height() / 2;
        for (const QPoint& corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            painter.fillRect(QRect(corner, QSize(w, h)), At(size(), corner));
    }
};

QString g_skipReason;

}  // namespace

class TestScaledPicker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!g_skipReason.isEmpty()) QSKIP(qPrintable(g_skipReason));
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1920, 1080));
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    }

    void pickTakesThePixelUnderTheCursor_data() {
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("upper left") << QPoint(400, 300);
        QTest::newRow("upper right") << QPoint(1000, 200);
        QTest::newRow("lower left") << QPoint(700, 900);
        QTest::newRow("lower right") << QPoint(1500, 800);
    }
    void pickTakesThePixelUnderTheCursor() {
        QFETCH(QPoint, cursor);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        Quarters picture;
        picture.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        picture.setGeometry(screen);
        picture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picture));
        QTest::qWait(200);

        QFrame panel;
        QLabel board(&panel), swatch(&panel);
        board.setGeometry(10, 10, 100, 60);
        ColorEditor::Widgets widgets{};
        for (int c = 0; c < 3; ++c) {
            widgets.Spins[c] = new QSpinBox(&panel);
            widgets.Spins[c]->setRange(0, 255);
            widgets.Add[c] = new QToolButton(&panel);
            widgets.Reduce[c] = new QToolButton(&panel);
        }
        for (QToolButton*& preset : widgets.Presets) preset = new QToolButton(&panel);
        widgets.Swatch = &swatch;
        widgets.Board = &board;
        ColorEditor editor(&panel, widgets, QString(), nullptr);

        QCursor::setPos(cursor);
        QTRY_COMPARE(QCursor::pos(), cursor);
        QMouseEvent press(QEvent::MouseButtonPress, board.geometry().center(), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        editor.HandlePress(&press);
        QCOMPARE(QColor(editor.Value(0), editor.Value(1), editor.Value(2)),
                 Quarters::At(screen.size(), cursor));
    }
};

int main(int argc, char** argv) {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    std::unique_ptr<OwnXvfb> server;
    if (xvfb.isEmpty()) {
        g_skipReason = "Xvfb is not installed";
    } else {
        server = std::make_unique<OwnXvfb>(xvfb, "3840x2160x24");
        if (server->Display() < 0) qFatal("Xvfb did not start");
        qputenv("DISPLAY", ":" + QByteArray::number(server->Display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_SCALE_FACTOR", "2");
        // As the program starts: the toolkit's own high-DPI scaling off, the scale factor set.
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, false);
        QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
    }
    QApplication app(argc, argv);
    TestScaledPicker test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scaledpicker.moc"
