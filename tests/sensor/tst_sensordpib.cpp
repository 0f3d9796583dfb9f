// The eight-slider DPI panel against the simulated mouse: snapping, level-count trade, colours, and
// host setters that only show.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
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
#include "sensor/SensorDPIB.h"
#include "sensor/SensorHeader.h"

namespace {
using DeviceFixture::HandedOver;

QByteArray Record(const FlashDataMap& image, int level) {
    return QByteArray(reinterpret_cast<const char*>(&image.DpiLevels[level]), 6);
}

const char* const kRows = "ABCDEFGH";
}  // namespace

class TestSensorDpiB : public QObject {
    Q_OBJECT

private:
    QSlider* Slider(SensorDPIB& p, int i) {
        return p.findChild<QSlider*>(QString("horizontalSlider") + kRows[i]);
    }
    QSpinBox* Number(SensorDPIB& p, int i) { return p.findChild<QSpinBox*>(QString("spinBox") + kRows[i]); }
    QCheckBox* Box(SensorDPIB& p, int i) { return p.findChild<QCheckBox*>(QString("M") + kRows[i]); }

    void Fill(SensorDPIB& p, int current) {
        for (int i = 0; i < 8; ++i) {
            p.InsertLevelCountItem(i, QString::number(i + 1));
            p.SetLevelValue(i, QString::number(400 * (i + 1)));
            p.SetLevelColor(i, QString("#%1%1%1").arg(i * 10, 2, 10, QChar('0')));
        }
        p.RestyleAllSwatches();
        p.SetLevelCountIndex(7);
        p.SetCurrentLevelIndex(current);
        p.SetCurrentLevel(current);
    }

private slots:
    void init() {
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        SensorCapabilityLists lists;
        ParseSensorHeader(&lists);
        CurrentSensorModel = "3395";
        QString min, max;
        LoadDpiRangeItems(QString("100,2000,50,2200,10000,100,0").split(','), &min, &max);
        UiLive = true;
    }

    void hostSettersSendNothing() {
        SensorDPIB p;
        HidSim::ClearCallLog();
        Fill(p, 6);
        p.SetSliderValue(3000, 2);
        p.SetPresetSwatchColors();
        p.ShowLevels(3);
        QVERIFY(!HandedOver());
        QCOMPARE(Slider(p, 2)->value(), 3000);
        QCOMPARE(Number(p, 1)->value(), 800);
        QVERIFY(Box(p, 6)->isChecked());
        QVERIFY(Slider(p, 4)->isHidden());
        QVERIFY(!Slider(p, 3)->isHidden());
    }

    void snap_data() {
        QTest::addColumn<int>("released");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("pageStep");
        QTest::newRow("segment 1") << 1234 << 1200 << 50;
        QTest::newRow("gap") << 2100 << 2200 << 100;
        QTest::newRow("segment 2") << 2350 << 2300 << 100;
    }

    void snap() {
        QFETCH(int, released);
        QFETCH(int, shown);
        QFETCH(int, pageStep);
        SensorDPIB p;
        Fill(p, 0);
        Slider(p, 3)->setValue(released);
        QCOMPARE(Number(p, 3)->value(), shown);
        QCOMPARE(Slider(p, 3)->pageStep(), pageStep);
        QCOMPARE(Slider(p, 3)->value(), released);
        // Every user release is sent.
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[3]), shown);
    }

    void countTrade() {
        SensorDPIB p;
        Fill(p, 6);
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString colour2 = p.LevelColors[2];
        const QString colour6 = p.LevelColors[6];
        p.findChild<QComboBox*>("ChooseEvent")->setCurrentIndex(2);
        QCOMPARE(p.CurrentLevel, 2);
        QVERIFY(Box(p, 2)->isChecked());
        QCOMPARE(Number(p, 2)->value(), 2800);
        QCOMPARE(Number(p, 6)->value(), 1200);
        QCOMPARE(p.LevelColors[2], colour6);
        QCOMPARE(p.LevelColors[6], colour2);
        QVERIFY(Slider(p, 3)->isHidden());
        const FlashDataMap after = DeviceFixture::ImageNow();
        QCOMPARE(Record(after, 2), Record(before, 6));
        QCOMPARE(Record(after, 6), Record(before, 2));
        QCOMPARE(int(after.CurrentDpiLevel), 2);
        QCOMPARE(int(after.DpiLevelCount), 3);
    }

    void colour() {
        SensorDPIB p;
        p.SetColor(QColor(5, 200, 0));
        QCOMPARE(p.LevelColors[0], QString("#05c800"));
        QCOMPARE(Record(DeviceFixture::ImageNow(), 0).mid(3), QByteArray::fromHex("05c800"));
        QVERIFY(p.findChild<QToolButton*>("BlueButtonA")->styleSheet().contains("#05c800"));
        UiLive = false;
        HidSim::ClearCallLog();
        p.findChild<QToolButton*>("RedButtonA")->click();
        p.SetColor(QColor(1, 2, 3));
        QCOMPARE(p.LevelColors[2], QString("#010203"));
        QVERIFY(!HandedOver());
    }

    void colourDialogOpensOnTheLevelsColour_data() {
        QTest::addColumn<bool>("onPage");  // the panel where the sensor page holds its DPI panel
        QTest::newRow("alone") << false;
        QTest::newRow("on the page") << true;
    }
    void colourDialogOpensOnTheLevelsColour() {
        QFETCH(bool, onPage);
        const std::unique_ptr<Sensor> page(onPage ? new Sensor : nullptr);
        SensorDPIB p(page ? page->findChild<SensorDPI*>("frameDpi")->parentWidget() : nullptr);
        Fill(p, 0);
        p.findChild<QToolButton*>("RedButtonA")->click();
        QColorDialog* dialog = p.findChild<QColorDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->currentColor(), QColor("#202020"));
        const QImage look = dialog->grab().toImage();
        QVERIFY2(look.pixelColor(2, look.height() - 2).lightness() < 80, "the dialog is not dark");
        const QString fault = DialogLook::ButtonBoxFault(dialog);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // The colour dialog is made at the first swatch click and serves the next ones; a colour chosen in it
    // goes to the level of the last click, handed to the mouse once.
    void colourDialogIsMadeOnceAndServesEachLevel() {
        SensorDPIB p;
        Fill(p, 0);
        QVERIFY(!p.findChild<QColorDialog*>());
        p.findChild<QToolButton*>("RedButtonA")->click();
        QColorDialog* dialog = p.findChild<QColorDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->reject();
        p.findChild<QToolButton*>("GreenButtonA")->click();
        QCOMPARE(p.findChildren<QColorDialog*>(), QList<QColorDialog*>{dialog});
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->currentColor(), QColor("#404040"));
        HidSim::ClearCallLog();
        dialog->setCurrentColor(QColor(5, 200, 0));
        dialog->accept();
        QCOMPARE(p.LevelColors[4], QString("#05c800"));
        QCOMPARE(p.LevelColors[2], QString("#202020"));
        QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), 1);
    }

    void sliderOfflineShowsTheValueAndNotices() {
        SensorDPIB p;
        Fill(p, 0);
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        Slider(p, 1)->setValue(1234);
        QCOMPARE(Number(p, 1)->value(), 1234);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 1);
    }
};

QTEST_MAIN(TestSensorDpiB)
#include "tst_sensordpib.moc"
