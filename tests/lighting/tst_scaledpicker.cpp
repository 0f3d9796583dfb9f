// The screen colour picker on a real X display of 3840 x 2160 that the program scales by 2, as it does
// on such a screen: a picture of four coloured quarters covers the screen, the cursor stands on one of
// them, and a press on the colour board takes that quarter's colour. The test starts its own Xvfb; it
// skips only when Xvfb is not installed.
#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "OwnXvfb.h"
#include "lighting/ColorEditor.h"

namespace {

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

// Whether the screen shows the picture: each quarter's colour in the middle of that quarter.
bool PictureShown(QScreen* screen) {
    const QSize size = screen->geometry().size();
    for (const QPoint& middle : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
        const QPoint at(size.width() * middle.x() / 4, size.height() * middle.y() / 4);
        const QImage shot = screen->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
        if (shot.isNull() || shot.pixelColor(0, 0) != Quarters::At(size, at)) return false;
    }
    return true;
}

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
        QTRY_VERIFY(PictureShown(QGuiApplication::primaryScreen()));

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
    std::unique_ptr<OwnXvfb> server;
    if (OwnXvfb::Program().isEmpty()) {
        g_skipReason = "Xvfb is not installed";
    } else {
        server = std::make_unique<OwnXvfb>("3840x2160x24");
        if (server->Display() < 0) qFatal("Xvfb did not start");
        qputenv("DISPLAY", server->DisplayName());
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
