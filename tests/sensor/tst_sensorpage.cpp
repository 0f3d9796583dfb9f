// The sensor page against the simulated mouse: fills from images delivered as the device thread
// delivers them, the defaults, the mouse's one-value reports, its own handlers and its language texts.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QThread>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <functional>

#include "DeviceFixture.h"
#include "HelperThread.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/Sensor.h"
#include "sensor/SensorDPI.h"

namespace {
using DeviceFixture::HandedOver;

void SetDevice(int type, bool usb, int driveIndex) {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    CurrentDevice.Type = uint8_t(type);
    CurrentDevice.IsUsb = usb;
    CurrentDevice.DriveIndex = driveIndex;
}

const char* const kRateButtons[] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                    "Button2000HZ", "Button4000HZ", "Button8000HZ"};

int CheckedRate(Sensor& page) {
    for (int i = 0; i < 7; ++i)
        if (page.findChild<QAbstractButton*>(kRateButtons[i])->isChecked()) return i;
    return -1;
}
}  // namespace

class TestSensorPage : public QObject {
    Q_OBJECT

private:
    QString mouse_;

    QComboBox* Mode(Sensor& p) { return p.findChild<QComboBox*>("ModelChoose"); }
    bool CordedHidden(Sensor& p) { return qobject_cast<QListView*>(Mode(p)->view())->isRowHidden(2); }
    void Deliver(const FlashDataMap& image) {
        RunOnHelperThread([image] { PostMsg::GetInstance()->EmitSigUpDataLightSensor(image); });
    }

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
    }

    void fill_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<int>("drive");
        QTest::addColumn<int>("rateCode");
        QTest::addColumn<int>("modeIndex");
        QTest::addColumn<int>("rate");  // checked rate button
        QTest::addColumn<int>("mode");  // ModelChoose entry
        QTest::addColumn<bool>("modeEnabled");
        QTest::addColumn<bool>("cordedHidden");
        QTest::addColumn<bool>("ripple");
        QTest::addColumn<bool>("angle");
        QTest::newRow("3395, 8K receiver, 1000 Hz")
            << 5 << false << 0 << 1 << 1 << 3 << 1 << true << true << true << false;
        QTest::newRow("3395, 8K receiver, 8000 Hz")
            << 5 << false << 0 << 64 << 1 << 6 << 2 << false << false << true << false;
        QTest::newRow("3395, 1K receiver, 8000 Hz")
            << 0 << false << 0 << 64 << 0 << 6 << 0 << true << true << true << false;
        QTest::newRow("3395 on its cable, 2000 Hz")
            << 3 << true << 0 << 16 << 1 << 3 << 2 << false << false << true << false;
        QTest::newRow("3950 has no sensor mode")
            << 5 << false << 1 << 2 << 1 << 2 << 0 << false << true << true << true;
    }

    void fill() {
        QFETCH(int, type);
        QFETCH(bool, usb);
        QFETCH(int, drive);
        QFETCH(int, rateCode);
        QFETCH(int, modeIndex);
        QFETCH(int, rate);
        QFETCH(int, mode);
        QFETCH(bool, modeEnabled);
        QFETCH(bool, cordedHidden);
        QFETCH(bool, ripple);
        QFETCH(bool, angle);
        Sensor page;
        SetDevice(type, usb, drive);
        FlashDataMap image = DeviceFixture::ImageNow();
        image.ReportRateCode = uint8_t(rateCode);
        image.SensorModeIndex = uint8_t(modeIndex);
        HidSim::ClearCallLog();
        QSignalSpy vis(PostMsg::GetInstance(), SIGNAL(SigtVis(int)));

        Deliver(image);

        QCOMPARE(CheckedRate(page), rate);
        QCOMPARE(Mode(page)->currentIndex(), mode);
        QCOMPARE(Mode(page)->isEnabled(), modeEnabled);
        if (modeEnabled) QCOMPARE(CordedHidden(page), cordedHidden);
        QCOMPARE(page.ConfirmedSensorMode, modeEnabled || mode == 2 ? mode : 0);
        QCOMPARE(!page.findChild<QWidget*>("frame")->isHidden(), ripple);
        QCOMPARE(!page.findChild<QWidget*>("frame_4")->isHidden(), angle);
        QVERIFY(!page.findChild<QWidget*>("frame_3")->isHidden());
        QVERIFY(SensorPageRefreshed);
        QVERIFY(!SensorPageRefreshing);
        QCOMPARE(vis.count(), 1);
        QVERIFY(!HandedOver());
    }

    void fillShowsTheMouseLevels() {
        QVERIFY(SendSensorDPI(2, 3200) && SetDpiLevelCount(5) && SetCurrentDpiLevel(2));
        QVERIFY(SetPerformanceMode(1) && SetPerformanceTime(30) && SetLod(2));
        Sensor page;
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        QSignalSpy open20k(PostMsg::GetInstance(), SIGNAL(Sig20KOpen(bool)));
        Deliver(DeviceFixture::ImageNow());
        auto* dpi = page.findChild<SensorDPI*>("frameDpi");
        QCOMPARE(dpi->CurrentLevel, 2);
        QCOMPARE(dpi->LevelValue(2), 3200);
        QCOMPARE(dpi->LevelCountIndex, 4);
        QVERIFY(!dpi->findChild<QWidget*>("GreenButton")->isHidden());
        QVERIFY(dpi->findChild<QWidget*>("PurpleButton")->isHidden());
        QCOMPARE(sensor.last().at(0).toInt(), 3200);
        QVERIFY(page.findChild<QCheckBox*>("Performance")->isChecked());
        QVERIFY(page.findChild<QComboBox*>("PerformanceOpen")->isEnabled());
        QCOMPARE(page.findChild<QComboBox*>("PerformanceOpen")->currentIndex(), 5);
        QCOMPARE(page.ConfirmedPerformanceTime, 5);
        QCOMPARE(open20k.last().at(0).toBool(), true);
        QCOMPARE(page.findChild<QComboBox*>("LOD")->currentText(), QString("2mm"));
    }

    void defaultsHandNothingOver() {
        Sensor page;
        HidSim::ClearCallLog();
        QSignalSpy sensor(PostMsg::GetInstance(), SIGNAL(SigAddSensor(int)));
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigFormReset(); });
        QVERIFY(!HandedOver());
        auto* dpi = page.findChild<SensorDPI*>("frameDpi");
        QCOMPARE(dpi->CurrentLevel, 1);
        QCOMPARE(dpi->LevelCountIndex, 5);
        QCOMPARE(sensor.last().at(0).toInt(), 1600);
        QCOMPARE(CheckedRate(page), 3);
        QCOMPARE(page.ConfirmedPerformanceTime, 2);
        QVERIFY(!page.findChild<QComboBox*>("PerformanceOpen")->isEnabled());
        QVERIFY(page.findChild<QToolButton*>("MotionSync_2")->isChecked());
        QVERIFY(!page.findChild<QToolButton*>("RippeControl_2")->isChecked());
        QVERIFY(!SensorPageRefreshing);
    }

    void reportedLevel() {
        Sensor page;
        Deliver(DeviceFixture::ImageNow());
        HidSim::ClearCallLog();
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigUpDataDPI(3); });
        auto* dpi = page.findChild<SensorDPI*>("frameDpi");
        QCOMPARE(dpi->CurrentLevel, 3);
        QVERIFY(dpi->findChild<QAbstractButton*>("YellowButton")->isChecked());
        QCOMPARE(dpi->findChild<QLabel*>("label_8")->pos(), QPoint(300, 154));
        QVERIFY(UiLive);
        QVERIFY(!HandedOver());
    }

    void reportedRateSwitchesCorded() {
        QVERIFY(SetSensorMode(1));
        Sensor page;
        Deliver(DeviceFixture::ImageNow());
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigUpDataReportRate(16); });
        QCOMPARE(CheckedRate(page), 4);
        QCOMPARE(Mode(page)->currentIndex(), 2);
        QVERIFY(!Mode(page)->isEnabled());
        HidSim::ClearCallLog();
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigUpDataReportRate(1); });
        QCOMPARE(Mode(page)->currentIndex(), 1);
        QVERIFY(Mode(page)->isEnabled());
        QVERIFY(CordedHidden(page));
        // Back from "Corded" the mode goes to the mouse again.
        QVERIFY(HandedOver());
        QCOMPARE(int(DeviceFixture::ImageNow().SensorModeIndex), 1);
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigUpDataReportRate(7); });
        QCOMPARE(CheckedRate(page), 3);
    }

    void sensorModeHandler_data() {
        QTest::addColumn<int>("mouse");  // 0 online, 1 asleep, 2 refusing
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("notices");
        QTest::newRow("online") << 0 << 1 << 1 << 0;
        QTest::newRow("asleep") << 1 << 0 << 0 << 1;
        QTest::newRow("refusing") << 2 << 0 << 0 << 0;
    }

    void sensorModeHandler() {
        QFETCH(int, mouse);
        QFETCH(int, shown);
        QFETCH(int, byte);
        QFETCH(int, notices);
        QVERIFY(SetReportRate(1) && SetSensorMode(0));
        Sensor page;
        Deliver(DeviceFixture::ImageNow());
        if (mouse == 1) QVERIFY(HidSim::Sleep(mouse_));
        if (mouse == 2) QVERIFY(HidSim::FailNext(mouse_, 1));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        Mode(page)->setCurrentIndex(1);
        QCOMPARE(Mode(page)->currentIndex(), shown);
        QCOMPARE(page.ConfirmedSensorMode, shown);
        QCOMPARE(int(DeviceFixture::ImageNow().SensorModeIndex), byte);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), notices);
    }

    void performanceHandlers_data() { sensorModeHandler_data(); }

    void performanceHandlers() {
        QFETCH(int, mouse);
        QFETCH(int, notices);
        QVERIFY(SetPerformanceMode(0) && SetPerformanceTime(6));
        Sensor page;
        Deliver(DeviceFixture::ImageNow());
        auto* box = page.findChild<QCheckBox*>("Performance");
        auto* time = page.findChild<QComboBox*>("PerformanceOpen");
        if (mouse == 1) QVERIFY(HidSim::Sleep(mouse_));
        if (mouse == 2) QVERIFY(HidSim::FailNext(mouse_, 2));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QSignalSpy vis(PostMsg::GetInstance(), SIGNAL(SigtVis(int)));
        box->click();
        const bool sent = mouse == 0;
        QCOMPARE(box->isChecked(), sent);
        QCOMPARE(time->isEnabled(), sent);
        QCOMPARE(int(DeviceFixture::ImageNow().PerformanceMode), sent ? 1 : 0);
        QCOMPARE(vis.count(), 1);
        time->setEnabled(true);
        time->setCurrentIndex(6);
        QCOMPARE(time->currentIndex(), sent ? 6 : 2);
        QCOMPARE(page.ConfirmedPerformanceTime, sent ? 6 : 2);
        QCOMPARE(int(DeviceFixture::ImageNow().PerformanceTimeCode), sent ? 60 : 6);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 2 * notices);
    }

    void languagePositions_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("modeX");
        QTest::addColumn<int>("performanceX");
        QTest::addColumn<int>("lodTipsX");
        QTest::newRow("English") << 0 << 203 << 630 << 50;
        QTest::newRow("Czech") << 1 << 205 << 600 << 50;
        QTest::newRow("index 6 moves nothing") << 6 << 205 << 600 << 50;
    }

    void languagePositions() {
        QFETCH(int, language);
        QFETCH(int, modeX);
        QFETCH(int, performanceX);
        QFETCH(int, lodTipsX);
        Sensor page;
        page.SlotAllLanguage(1);
        page.SlotAllLanguage(language);
        QCOMPARE(page.findChild<QLabel*>("label")->pos(), QPoint(modeX, 361));
        QCOMPARE(page.findChild<QLabel*>("label_2")->pos(), QPoint(performanceX, 361));
        QCOMPARE(page.findChild<QWidget*>("frameLOD")->findChild<QLabel*>("label_2")->x(), lodTipsX);
    }

    // The performance time box while performance mode is off: its text still reads against the box's
    // dark picture (at least 3 : 1, relative luminance as for text on screens).
    void disabledTimeBoxStaysReadable() {
        Sensor page;
        page.SlotAllLanguage(0);
        auto* time = page.findChild<QComboBox*>("PerformanceOpen");
        QVERIFY(!time->isEnabled());
        const QImage look = time->grab().toImage();
        const auto luminance = [](QColor c) {
            const auto linear = [](qreal v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
        };
        // Background: the box's colour beside the text; text: the pixel farthest from it, left of the arrow.
        const qreal background = luminance(look.pixelColor(3, look.height() / 2));
        qreal contrast = 1;
        for (int x = 3; x < look.width() - 30; ++x)
            for (int y = 3; y < look.height() - 3; ++y) {
                const qreal text = luminance(look.pixelColor(x, y));
                contrast = qMax(contrast, (qMax(text, background) + 0.05) / (qMin(text, background) + 0.05));
            }
        QVERIFY2(contrast >= 3.0, qPrintable(QString("contrast %1 : 1").arg(contrast)));
    }

    void languageTexts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("Czech") << 1;
    }

    void languageTexts() {
        QFETCH(int, language);
        Sensor page;
        page.SlotAllLanguage(language);
        for (const char* key : {"DPISetting", "ReportRate", "SensorSetting", "SensorMode", "SensorModeTips",
                                "LOD", "LODTips", "MotionSync", "MotionSyncTips", "Performance",
                                "PerformanceTips", "Ripple", "RippleTips", "Angle", "AngleTips"})
            QVERIFY2(!LanguageText(MouseSensorTexts, language, key).isEmpty(), key);
        QCOMPARE(page.findChild<QLabel*>("label_5")->text(),
                 LanguageText(MouseSensorTexts, language, "SensorSetting"));
        auto* time = page.findChild<QComboBox*>("PerformanceOpen");
        for (int i = 0; i < 8; ++i) QVERIFY(!time->itemText(i).isEmpty());
        QCOMPARE(time->itemText(7), LanguageText(MousePerformanceLabels, language, "90"));
        QVERIFY(time->itemText(7) != time->itemText(6));
        // The sensor modes, "Corded" among them, in the language.
        QComboBox* modes = Mode(page);
        for (int i = 0; i < modes->count(); ++i) {
            QVERIFY(!modes->itemText(i).isEmpty());
            QCOMPARE(modes->itemText(i), LanguageText(MouseSensorModeLabels, language, QString::number(i)));
        }
        QCOMPARE(modes->itemText(2) == "Corded", language == 0);
    }
};

QTEST_MAIN(TestSensorPage)
#include "tst_sensorpage.moc"
