#include <QSignalSpy>
#include <QtTest>

#include "widgets/MyButton.h"
#include "widgets/MyConmboBox.h"
#include "widgets/MyLineEdit.h"
#include "widgets/MySlider.h"
#include "widgets/MyToolButton.h"
#include "widgets/mytoolButtonEnter.h"

namespace {

// Counts the events of one type that reach it.
class Parent : public QWidget {
public:
    int Type = 0;
    int Count = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == Type) ++Count;
        return QWidget::event(e);
    }
};

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos = {5, 5}) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

class TstCustomWidgets : public QObject {
    Q_OBJECT
private slots:
    void sliderJumpsToPress_data() {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("value");
        QTest::newRow("left end") << 0 << 100 << 200 << 0 << 0;
        QTest::newRow("quarter") << 0 << 100 << 200 << 50 << 25;
        QTest::newRow("right end truncates") << 0 << 100 << 200 << 199 << 99;
        QTest::newRow("DPI range") << 100 << 26000 << 300 << 150 << 13050;
        QTest::newRow("toward zero when negative") << -50 << 50 << 200 << 1 << -49;
        QTest::newRow("on the handle") << 0 << 100 << 200 << 3 << 0;
    }
    void sliderJumpsToPress() {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, width);
        QFETCH(int, x);
        QFETCH(int, value);
        Parent parent;
        parent.Type = MySlider::kPressEventType;
        MySlider slider(&parent);
        slider.setOrientation(Qt::Horizontal);
        slider.setRange(minimum, maximum);
        slider.setGeometry(0, 0, width, 20);
        SendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, {x, 10});
        QCOMPARE(slider.value(), value);
        QCOMPARE(parent.Count, 1);
        QCOMPARE(MySlider::kPressEventType, 1001);
    }

    void toolButtonActsOnPress() {
        MyToolButton button;
        button.setCheckable(true);
        QSignalSpy clicked(&button, &QToolButton::clicked);

        SendMouse(&button, QEvent::MouseButtonPress, Qt::RightButton);
        SendMouse(&button, QEvent::MouseButtonRelease, Qt::RightButton);
        QVERIFY(!button.isChecked());
        QCOMPARE(clicked.count(), 0);

        // A left double click: press, release, double click, release.
        SendMouse(&button, QEvent::MouseButtonPress, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(button.isChecked());
        SendMouse(&button, QEvent::MouseButtonRelease, Qt::LeftButton);
        SendMouse(&button, QEvent::MouseButtonDblClick, Qt::LeftButton);
        SendMouse(&button, QEvent::MouseButtonRelease, Qt::LeftButton);
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked.at(0).at(0).toBool(), false);
        QCOMPARE(clicked.at(1).at(0).toBool(), true);
        QVERIFY(button.isChecked());
    }

    void tileNumber_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tile");
        QTest::newRow("btn3") << "btn3" << 3;
        QTest::newRow("btn12") << "btn12" << 12;
        QTest::newRow("no number") << "btnx" << 0;
        QTest::newRow("no name") << "" << 0;
        QTest::newRow("every btn removed") << "btnbtn7" << 7;
        QTest::newRow("case-sensitive") << "Btn4" << 0;
    }
    void tileNumber() {
        QFETCH(QString, name);
        QFETCH(int, tile);
        QCOMPARE(mytoolButtonEnter::TileNumber(name), tile);
    }

    void enteringRefreshesTileEveryTime() {
        QList<int> refreshed;
        mytoolButtonEnter::SetTileRefresher([&](int tile) {
            refreshed << tile;
            return true;
        });
        mytoolButtonEnter button;
        button.setObjectName("btn3");
        QEvent enter(QEvent::Enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &enter);
        QCoreApplication::sendEvent(&button, &leave);
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(refreshed, QList<int>({3, 3}));
        mytoolButtonEnter::SetTileRefresher(nullptr);
        QCoreApplication::sendEvent(&button, &enter);  // no refresher installed: nothing happens
        QCOMPARE(refreshed.size(), 2);
    }

    void lineEditIgnoresKeys() {
        MyLineEdit edit;
        edit.setText("Ctrl+A");
        QTest::keyClicks(&edit, "xyz");
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString("Ctrl+A"));
    }

    void buttonShowsHandWhileHovered() {
        MyButton button;
        QEvent enter(QEvent::Enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
    }

    void comboBoxPaintsCentredLabel() {
        // The label sits in the middle of the field: the dark text is no further from the left edge
        // than from the right one would be for a plain combo box.
        MyConmboBox box;
        box.addItems({"800", "1600"});
        box.resize(200, 30);
        box.setStyleSheet("QComboBox{background:white;color:black;border:0px;}");
        const QImage centred = box.grab().toImage();
        int leftMost = box.width();
        int rightMost = -1;
        for (int y = 0; y < centred.height(); ++y) {
            for (int x = 0; x < centred.width(); ++x) {
                if (qGray(centred.pixel(x, y)) < 128) {
                    leftMost = qMin(leftMost, x);
                    rightMost = qMax(rightMost, x);
                }
            }
        }
        QVERIFY2(rightMost >= 0, "no text painted");
        const int middle = (leftMost + rightMost) / 2;
        QVERIFY2(middle > 50 && middle < 150, qPrintable(QString("text centre at %1").arg(middle)));
        box.setEditable(true);
        QVERIFY(!box.grab().isNull());
    }

    // A press remembers the item shown before the list opened; a later choice does not change it.
    void comboBoxRemembersPressIndex() {
        MyConmboBox box;
        box.addItems({"a", "b", "c"});
        box.resize(120, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.PressIndex, 0);
        box.setCurrentIndex(2);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(box.PressIndex, 2);
        box.hidePopup();
        box.setCurrentIndex(1);
        QCOMPARE(box.PressIndex, 2);
    }

    // A slider whose change opened a notice from inside the press on its groove: the notice took the
    // release, and the slider makes that one step only, not one after another towards the pointer.
    void sliderStopsSteppingAfterANotice() {
        QSlider slider(Qt::Horizontal);
        slider.setRange(1, 10);
        slider.setPageStep(1);
        slider.setValue(10);
        slider.resize(200, 20);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QList<int> values;
        connect(&slider, &QSlider::valueChanged, &slider, [&](int value) {
            values << value;
            StopSteppingAfterPress(&slider);
        });
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
        QCOMPARE(values, QList<int>{9});
        // A slider still stepping makes its next step 500 ms after the press, before this timer fires.
        bool later = false;
        QTimer::singleShot(800, &slider, [&later] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(values, QList<int>{9});
        QVERIFY(slider.isEnabled());
    }
};

QTEST_MAIN(TstCustomWidgets)
#include "tst_customwidgets.moc"
