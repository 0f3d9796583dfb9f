// The DPI level panel filled as the sensor page fills it, driven by the user against the simulated mouse.
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "DeviceFixture.h"
#include "DialogLook.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/Sensor.h"
#include "sensor/SensorDPI.h"
#include "sensor/SensorHeader.h"
#include "widgets/MySlider.h"

namespace {
using DeviceFixture::HandedOver;

const char* const kLevelNames[] = {"BlueButton",  "BrightRedButton", "RedButton",       "YellowButton",
                                   "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};
const int kAnchorX[] = {27, 118, 209, 300, 391, 483, 573, 664};

QByteArray Record(const FlashDataMap& image, int level) {
    return QByteArray(reinterpret_cast<const char*>(&image.DpiLevels[level]), 6);
}

void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
}  // namespace

class TestSensorDpi : public QObject {
    Q_OBJECT

private:
    QString mouse_;

    QToolButton* Level(SensorDPI& p, int i) { return p.findChild<QToolButton*>(kLevelNames[i]); }
    QToolButton* Swatch(SensorDPI& p, int i) {
        return p.findChild<QToolButton*>(QString(kLevelNames[i]) + "A");
    }
    QSlider* Slider(SensorDPI& p) { return p.findChild<QSlider*>("horizontalSliderC"); }
    QSpinBox* Number(SensorDPI& p) { return p.findChild<QSpinBox*>("spinBoxA"); }
    QLabel* Marker(SensorDPI& p) { return p.findChild<QLabel*>("label_8"); }

    // Sends the levels to the mouse and fills the panel from them as the sensor page does.
    void Fill(SensorDPI& p, const QVector<int>& values, int count, int current, const QString& range) {
        QString min, max;
        LoadDpiRangeItems(range.split(','), &min, &max);
        for (int i = 0; i < values.size(); ++i) QVERIFY(SendSensorDPI(i, values[i]));
        QVERIFY(SetDpiLevelCount(count) && SetCurrentDpiLevel(current));
        SensorPageRefreshing = true;
        p.EnableSlider();
        p.ClearLevelCountItems();
        p.BlockSliderSignals(true);
        p.BlockLevelCountSignals(true);
        for (int i = 0; i < 8; ++i) {
            p.SetLevelColor(i, QString("#%1%2%3")
                                   .arg(i * 30, 2, 16, QChar('0'))
                                   .arg(10, 2, 16, QChar('0'))
                                   .arg(20, 2, 16, QChar('0')));
            p.InsertLevelCountItem(i, QString::number(i + 1));
        }
        p.BlockLevelCountSignals(false);
        p.SetSelectedSwatch(current);
        p.SetSliderMaximum(max.toInt());
        p.SetSliderMinimum(min.toInt());
        for (int i = 0; i < values.size(); ++i) p.SetLevelText(i, QString::number(values[i]));
        p.SetSliderValue(values[current]);
        p.SetSpinValue(values[current]);
        p.ShowLevels(count - 1);
        p.SetLevelCountIndex(count - 1);
        p.MoveLevelMarker(current + 1);
        p.SetCurrentLevel(current);
        p.BlockSliderSignals(false);
        SensorPageRefreshing = false;
    }

    const QVector<int> kValues = {400, 800, 1600, 3200, 6400, 12800, 20000, 26000};
    const QString kRange = "50,26000,50,0";

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        SensorCapabilityLists lists;
        ParseSensorHeader(&lists);
        CurrentSensorModel = "3395";
        UiLive = true;
    }

    void currentLevelLayout_data() {
        QTest::addColumn<int>("level");
        for (int i = 0; i < 8; ++i) QTest::newRow(kLevelNames[i]) << i;
    }

    void currentLevelLayout() {
        QFETCH(int, level);
        SensorDPI p;
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        HidSim::ClearCallLog();
        Fill(p, kValues, 8, level, kRange);
        QVERIFY(Level(p, level)->isChecked());
        for (int i = 0; i < 8; ++i) {
            const bool current = i == level;
            QCOMPARE(Level(p, i)->size(), current ? QSize(68, 70) : QSize(54, 56));
            QCOMPARE(Swatch(p, i)->size(), current ? QSize(66, 14) : QSize(50, 12));
            QVERIFY(Swatch(p, i)->styleSheet().contains(current ? "MaxB.png" : "MinB.png"));
            QVERIFY(Level(p, i)->styleSheet().contains(current ? "MaxA.png" : "MinA.png"));
        }
        QCOMPARE(Swatch(p, level)->styleSheet().contains(
                     QString("background-color:rgb(%1,10,20)").arg(level * 30)),
                 true);
        QCOMPARE(Slider(p)->value(), kValues[level]);
        QCOMPARE(Number(p)->value(), kValues[level]);
        QCOMPARE(Marker(p)->pos(), QPoint(kAnchorX[level], 154));
        QCOMPARE(p.CurrentLevel, level);
        QCOMPARE(sensor.last().at(0).toInt(), kValues[level]);
        // Filling hands nothing beyond the test's own sends to the mouse.
        QCOMPARE(HidSim::CallLog().join('\n').count("ProtocolDataUpdate"), 8 + 2);
    }

    void hostOperationsOutsideTheLevelsChangeNothing() {
        SensorDPI p;
        Fill(p, kValues, 8, 2, kRange);
        p.MoveLevelMarker(0);
        p.MoveLevelMarker(9);
        QCOMPARE(p.CurrentLevel, 2);
        QCOMPARE(Marker(p)->pos(), QPoint(kAnchorX[2], 154));
        p.SetLevelText(8, "9");
        p.ShowLevels(8);
        QVERIFY(!Level(p, 7)->isHidden());
        p.SetLevelColor(1, "#00ff7F");
        QCOMPARE(p.LevelColors[1], QString("0,255,127"));
    }

    void markerDrop_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<int>("level");  // -1: nothing handed over
        QTest::addColumn<int>("markerX");
        // Level 0 current, its anchor at x 27; the press lands 15 px into the marker.
        QTest::newRow("click without moving") << 8 << 42 << -1 << 27;
        QTest::newRow("one level right") << 8 << 27 + 95 << 1 << kAnchorX[1];
        QTest::newRow("between windows") << 8 << 27 + 145 << -1 << 27;
        QTest::newRow("two levels right") << 8 << 27 + 190 << 2 << kAnchorX[2];
        QTest::newRow("seven levels right") << 8 << 27 + 650 << 7 << kAnchorX[7];
        QTest::newRow("beyond three shown levels") << 3 << 282 << 0 << 27;
        QTest::newRow("past the right edge") << 8 << 710 << -1 << 27;
    }

    void markerDrop() {
        QFETCH(int, count);
        QFETCH(int, releaseX);
        QFETCH(int, level);
        QFETCH(int, markerX);
        SensorDPI p;
        Fill(p, kValues, count, 0, kRange);
        HidSim::ClearCallLog();
        const QPoint press(42, 169);
        SendMouse(&p, QEvent::MouseButtonPress, press, Qt::LeftButton);
        QVERIFY(p.MarkerDragging);
        SendMouse(&p, QEvent::MouseMove, QPoint(releaseX, 169), Qt::LeftButton);
        SendMouse(&p, QEvent::MouseButtonRelease, QPoint(releaseX, 169), Qt::NoButton);
        QVERIFY(!p.MarkerDragging);
        QCOMPARE(HandedOver(), level >= 0);
        if (level >= 0) QCOMPARE(int(DeviceFixture::LastHandedImage().CurrentDpiLevel), level);
        QCOMPARE(Marker(p)->pos(), QPoint(markerX, 154));
        QCOMPARE(p.CurrentLevel, level >= 0 ? level : 0);
    }

    void markerDropAsleepNoticesOnce() {
        SensorDPI p;
        Fill(p, kValues, 8, 0, kRange);
        SendMouse(&p, QEvent::MouseButtonPress, QPoint(42, 169), Qt::LeftButton);
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        SendMouse(&p, QEvent::MouseMove, QPoint(122, 169), Qt::LeftButton);
        SendMouse(&p, QEvent::MouseButtonRelease, QPoint(122, 169), Qt::NoButton);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 1);
        QCOMPARE(Marker(p)->pos(), QPoint(27, 154));
        QCOMPARE(p.CurrentLevel, 0);
        QVERIFY(Level(p, 0)->isChecked());
    }

    // A mouse that keeps refusing: the drop asks once, gets one notice, and the panel keeps level 0.
    void markerDropRefusedKeepsTheLevel() {
        SensorDPI p;
        Fill(p, kValues, 8, 0, kRange);
        QVERIFY(HidSim::FailNext(mouse_, 5));
        QSignalSpy notices(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        SendMouse(&p, QEvent::MouseButtonPress, QPoint(42, 169), Qt::LeftButton);
        SendMouse(&p, QEvent::MouseMove, QPoint(122, 169), Qt::LeftButton);
        SendMouse(&p, QEvent::MouseButtonRelease, QPoint(122, 169), Qt::NoButton);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(Marker(p)->pos(), QPoint(27, 154));
        QCOMPARE(p.CurrentLevel, 0);
        QVERIFY(Level(p, 0)->isChecked());
        QVERIFY(!Level(p, 1)->isChecked());
        QCOMPARE(int(DeviceFixture::ImageNow().CurrentDpiLevel), 0);
        QCOMPARE(int(DeviceFixture::MouseImage().CurrentDpiLevel), 0);
    }

    void snap_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("shown");
        QTest::newRow("first segment") << 1234 << 1200;
        QTest::newRow("gap") << 4100 << 4200;
        QTest::newRow("second segment") << 5050 << 5000;
        QTest::newRow("top") << 8000 << 8000;
    }

    void snap() {
        QFETCH(int, value);
        QFETCH(int, shown);
        SensorDPI p;
        Fill(p, {400, 800, 1600, 3200, 4200, 5000, 6000, 8000}, 8, 1, "100,4000,50,4200,8000,100,22");
        Slider(p)->setValue(value);
        QCOMPARE(Number(p)->value(), shown);
        QCOMPARE(Level(p, 1)->text(), QString::number(shown));
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[1]), shown);
    }

    void steps_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("sent");
        QTest::newRow("up in segment 1") << 1200 << true << 1250 << true;
        QTest::newRow("up at the top of segment 1") << 4000 << true << 4200 << true;
        QTest::newRow("up at the top") << 8000 << true << 8000 << false;
        QTest::newRow("down in segment 1") << 1200 << false << 1150 << true;
        QTest::newRow("down in segment 2") << 5000 << false << 4900 << true;
        QTest::newRow("down at the bottom") << 100 << false << 100 << false;
    }

    void steps() {
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, shown);
        QFETCH(bool, sent);
        SensorDPI p;
        Fill(p, {400, start, 1600, 3200, 4200, 5000, 6000, 8000}, 8, 1, "100,4000,50,4200,8000,100,22");
        HidSim::ClearCallLog();
        p.findChild<QToolButton*>(up ? "AddLevelA" : "ReduceLevelA")->click();
        QCOMPARE(Number(p)->value(), shown);
        QCOMPARE(HandedOver(), sent);
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[1]), shown);
    }

    void zeroStepNeverDivides() {
        SensorDPI p;
        Fill(p, kValues, 8, 1, kRange);
        QString min, max;
        LoadDpiRangeItems(QString("50,26000,0,0").split(','), &min, &max);
        Slider(p)->setValue(1234);
        QCOMPARE(Number(p)->value(), 1234);
        p.findChild<QToolButton*>("AddLevelA")->click();
        QCOMPARE(Number(p)->value(), 1234);
    }

    void loweringTheCountMovesTheCurrentLevel() {
        SensorDPI p;
        Fill(p, kValues, 8, 6, kRange);
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString colour2 = p.LevelColors[2];
        const QString colour6 = p.LevelColors[6];
        p.findChild<QComboBox*>("ChooseEvent")->setCurrentIndex(2);
        const FlashDataMap after = DeviceFixture::ImageNow();
        QCOMPARE(Record(after, 2), Record(before, 6));
        QCOMPARE(Record(after, 6), Record(before, 2));
        QCOMPARE(int(after.DpiLevelCount), 3);
        QCOMPARE(int(after.CurrentDpiLevel), 2);
        QCOMPARE(Level(p, 2)->text(), QString("20000"));
        QCOMPARE(Level(p, 6)->text(), QString("1600"));
        QCOMPARE(p.LevelColors[2], colour6);
        QCOMPARE(p.LevelColors[6], colour2);
        QCOMPARE(p.CurrentLevel, 2);
        QVERIFY(Level(p, 2)->isChecked());
        QVERIFY(Level(p, 3)->isHidden());
        QCOMPARE(Slider(p)->value(), 20000);
        QCOMPARE(Marker(p)->pos(), QPoint(kAnchorX[2], 154));
        QCOMPARE(DeviceFixture::LastHandedImage().DpiLevelCount, after.DpiLevelCount);
    }

    void loweringTheCountBelowTheCurrentLevelKeepsLevels() {
        SensorDPI p;
        Fill(p, kValues, 8, 1, kRange);
        const FlashDataMap before = DeviceFixture::ImageNow();
        p.findChild<QComboBox*>("ChooseEvent")->setCurrentIndex(3);
        const FlashDataMap after = DeviceFixture::ImageNow();
        QCOMPARE(int(after.DpiLevelCount), 4);
        QCOMPARE(int(after.CurrentDpiLevel), 1);
        for (int i = 0; i < 8; ++i) QCOMPARE(Record(after, i), Record(before, i));
        QVERIFY(Level(p, 4)->isHidden());
        QVERIFY(!Level(p, 3)->isHidden());
    }

    void countChangeRefused_data() {
        QTest::addColumn<bool>("asleep");
        QTest::addColumn<int>("current");
        QTest::newRow("asleep") << true << 6;
        QTest::newRow("refused with exchange") << false << 6;
        QTest::newRow("refused count only") << false << 1;
    }

    void countChangeRefused() {
        QFETCH(bool, asleep);
        QFETCH(int, current);
        SensorDPI p;
        Fill(p, kValues, 8, current, kRange);
        const FlashDataMap before = DeviceFixture::ImageNow();
        QVERIFY(asleep ? HidSim::Sleep(mouse_) : HidSim::FailNext(mouse_, 1));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        auto* count = p.findChild<QComboBox*>("ChooseEvent");
        count->setCurrentIndex(2);
        QCOMPARE(count->currentIndex(), 7);
        QCOMPARE(p.LevelCountIndex, 7);
        QCOMPARE(p.CurrentLevel, current);
        QVERIFY(!Level(p, 7)->isHidden());
        QCOMPARE(Level(p, current)->text(), QString::number(kValues[current]));
        QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), asleep ? 1 : 0);
    }

    void switchToAnEqualValueThenChange() {
        SensorDPI p;
        Fill(p, {1600, 1600, 1600, 3200, 6400, 12800, 20000, 26000}, 8, 0, kRange);
        Level(p, 1)->click();
        QCOMPARE(int(DeviceFixture::ImageNow().CurrentDpiLevel), 1);
        QCOMPARE(p.CurrentLevel, 1);
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        Slider(p)->setValue(3200);
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[1]), 3200);
        QCOMPARE(Level(p, 1)->text(), QString("3200"));
        QCOMPARE(sensor.count(), 1);
    }

    void levelSwitchRefused_data() {
        QTest::addColumn<bool>("asleep");
        QTest::newRow("asleep") << true;
        QTest::newRow("refused") << false;
    }

    void levelSwitchRefused() {
        QFETCH(bool, asleep);
        SensorDPI p;
        Fill(p, kValues, 8, 2, kRange);
        QVERIFY(asleep ? HidSim::Sleep(mouse_) : HidSim::FailNext(mouse_, 1));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        Level(p, 5)->click();
        QVERIFY(Level(p, 2)->isChecked());
        QCOMPARE(p.CurrentLevel, 2);
        QCOMPARE(Slider(p)->value(), kValues[2]);
        QCOMPARE(Marker(p)->pos(), QPoint(kAnchorX[2], 154));
        QCOMPARE(int(DeviceFixture::ImageNow().CurrentDpiLevel), 2);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), asleep ? 1 : 0);
    }

    void sliderChangeAsleepLocksTheSlider() {
        SensorDPI p;
        Fill(p, kValues, 8, 2, kRange);
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        Slider(p)->setValue(5000);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 1);
        QVERIFY(!Slider(p)->isEnabled());
        QCOMPARE(Slider(p)->value(), 1600);
        QCOMPARE(Level(p, 2)->text(), QString("1600"));
        p.EnableSlider();
        QVERIFY(Slider(p)->isEnabled());
    }

    void sliderChangeRefusedPutsTheValueBack() {
        SensorDPI p;
        Fill(p, kValues, 8, 2, kRange);
        const FlashDataMap before = DeviceFixture::ImageNow();
        QVERIFY(HidSim::FailNext(mouse_, 1));
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        Slider(p)->setValue(5000);
        QCOMPARE(Slider(p)->value(), 1600);
        QCOMPARE(Number(p)->value(), 1600);
        QCOMPARE(Level(p, 2)->text(), QString("1600"));
        QCOMPARE(sensor.count(), 0);
        QCOMPARE(Record(DeviceFixture::ImageNow(), 2), Record(before, 2));
    }

    // A click on the DPI slider: on its handle, which it does not move, it changes and writes nothing;
    // on the groove the handle jumps there with one write.
    void sliderClick_data() {
        QTest::addColumn<int>("offset");  // from the handle's centre
        QTest::addColumn<bool>("onHandle");
        QTest::newRow("handle centre") << 0 << true;
        QTest::newRow("handle left edge") << -2 << true;
        QTest::newRow("handle right edge") << 2 << true;
        QTest::newRow("groove right of the handle") << 200 << false;
        QTest::newRow("groove left of the handle") << -60 << false;
    }
    void sliderClick() {
        QFETCH(int, offset);
        QFETCH(bool, onHandle);
        SensorDPI p;
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        Fill(p, {400, 800, 5450, 3200, 6400, 12800, 20000, 26000}, 8, 2, kRange);
        auto* slider = qobject_cast<MySlider*>(Slider(p));
        QVERIFY(slider);
        const QPoint at = slider->HandleRect().center() + QPoint(offset, 0);
        QCOMPARE(slider->HandleRect().contains(at), onHandle);
        HidSim::ClearCallLog();
        QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, at);
        const int writes = HidSim::CallLog().filter("ProtocolDataUpdate").size();
        const int shown = Number(p)->value();
        QCOMPARE(Level(p, 2)->text(), QString::number(shown));
        QCOMPARE(slider->value(), shown);
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[2]), shown);
        if (onHandle) {
            QCOMPARE(shown, 5450);
            QCOMPARE(writes, 0);
        } else {
            QVERIFY(offset > 0 ? shown > 5450 : shown < 5450);
            QCOMPARE(writes, 1);
        }
    }

    void sliderGates_data() {
        QTest::addColumn<bool>("suppressed");
        QTest::addColumn<bool>("filling");
        QTest::newRow("import or restore") << true << false;
        QTest::newRow("page filling") << false << true;
    }

    void sliderGates() {
        QFETCH(bool, suppressed);
        QFETCH(bool, filling);
        SensorDPI p;
        Fill(p, kValues, 8, 2, kRange);
        DpiSendSuppressed = suppressed;
        SensorPageRefreshing = filling;
        HidSim::ClearCallLog();
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        Slider(p)->setValue(5000);
        QCOMPARE(Level(p, 2)->text(), QString("5000"));
        QCOMPARE(Number(p)->value(), 5000);
        QVERIFY(!HandedOver());
        QCOMPARE(sensor.count(), 0);
    }

    void colour_data() {
        QTest::addColumn<int>("mouse");  // 0 online, 1 asleep, 2 refusing
        QTest::newRow("online") << 0;
        QTest::newRow("asleep") << 1;
        QTest::newRow("refusing") << 2;
    }

    void colourWithoutSelectedSwatchSendsNothing() {
        SensorDPI p;
        Fill(p, kValues, 8, 3, kRange);
        const QString before = p.LevelColors[3];
        HidSim::ClearCallLog();
        p.SetColor(QColor(1, 2, 3));
        QCOMPARE(p.LevelColors[3], before);
        QVERIFY(!HandedOver());
    }

    // A swatch click opens the colour dialog on that level's colour, in the dark look of the program's
    // dialogs.
    void colourDialogOpensOnTheLevelsColour_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("onPage");  // the panel on the sensor page, under its style sheets
        for (int level : {0, 3, 7}) QTest::newRow(kLevelNames[level]) << level << false;
        for (int level : {0, 7})
            QTest::newRow(qPrintable(QString(kLevelNames[level]) + " on the page")) << level << true;
    }
    void colourDialogOpensOnTheLevelsColour() {
        QFETCH(int, level);
        QFETCH(bool, onPage);
        SensorDPI alone;
        const std::unique_ptr<Sensor> page(onPage ? new Sensor : nullptr);
        SensorDPI& p = page ? *page->findChild<SensorDPI*>("frameDpi") : alone;
        Fill(p, kValues, 8, 3, kRange);
        Swatch(p, level)->click();
        QColorDialog* dialog = p.findChild<QColorDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->currentColor(), QColor(level * 30, 10, 20));
        const QImage look = dialog->grab().toImage();
        QVERIFY2(look.pixelColor(2, look.height() - 2).lightness() < 80, "the dialog is not dark");
        for (QLabel* label : dialog->findChildren<QLabel*>())
            QVERIFY(label->palette().color(QPalette::WindowText).lightness() > 150);
        const QString fault = DialogLook::ButtonBoxFault(dialog);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void colour() {
        QFETCH(int, mouse);
        SensorDPI p;
        Fill(p, kValues, 8, 3, kRange);
        const QString before = p.LevelColors[3];
        // A click on the swatch selects it and opens the colour dialog.
        Swatch(p, 3)->click();
        QVERIFY(Swatch(p, 3)->isChecked());
        if (mouse == 1) QVERIFY(HidSim::Sleep(mouse_));
        if (mouse == 2) QVERIFY(HidSim::FailNext(mouse_, 1));
        p.SetColor(QColor(1, 2, 3));
        const FlashDataMap image = DeviceFixture::ImageNow();
        if (mouse == 0) {
            QCOMPARE(p.LevelColors[3], QString("1,2,3"));
            QCOMPARE(Record(image, 3).mid(3), QByteArray::fromHex("010203"));
        } else {
            QCOMPARE(p.LevelColors[3], before);
            QVERIFY(Record(image, 3).mid(3) != QByteArray::fromHex("010203"));
        }
        QVERIFY(Swatch(p, 3)->styleSheet().contains("background-color:rgb(" + p.LevelColors[3] + ")"));
    }
};

QTEST_MAIN(TestSensorDpi)
#include "tst_sensordpi.moc"
