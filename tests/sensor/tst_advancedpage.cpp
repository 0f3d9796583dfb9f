// The advanced page against the simulated receiver and mouse: fills from images as the device thread and
// the settings-update wait deliver them, the long-range panel on every reported event, the reset, the
// tips positions by language and long range, its texts and the mode selector.
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "Child.h"
#include "DeviceFixture.h"
#include "HelperThread.h"
#include "LanguageFixture.h"
#include "ProductTables.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "sensor/Advanced.h"
#include "sensor/AngleMove.h"
#include "sensor/CurvePlotWidget.h"
#include "sensor/LongMode.h"
#include "sensor/RotatableWidget.h"
#include "sensor/StopCloseTime.h"

namespace {
using DeviceFixture::HandedOver;

void SetDevice(int driveIndex, bool usb) {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    CurrentDevice.DriveIndex = driveIndex;
    CurrentDevice.IsUsb = usb;
}

bool LongRangeCalled() {
    return HidSim::CallLog().join('\n').contains("UsbFinderC_SetLongRangeMode");
}

QWidget* LongPanel(Advanced& page) {
    return Child<QWidget>(page, "FrameLongMode");
}
QCheckBox* LongBox(Advanced& page) {
    return Child<QCheckBox>(*LongPanel(page), "checkBox");
}
}  // namespace

class TestAdvancedPage : public QObject {
    Q_OBJECT

private:
    QString mouse_;

private slots:
    void init() {
        DeviceFixture::Init();
        QVERIFY(DeviceFixture::LoadDefaultWith(QString()));
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
        CurrentLanguage = 0;
        ConfirmedAngle = 0;
    }

    void cleanup() { CurrentLanguage = 0; }

    void fill_data() {
        QTest::addColumn<bool>("fromDeviceThread");
        QTest::addColumn<int>("angleByte");
        QTest::addColumn<int>("sleepCode");
        QTest::addColumn<int>("scan");
        QTest::addColumn<int>("trigger");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("pictureAngle");
        QTest::addColumn<int>("sleepItem");
        QTest::addColumn<bool>("scanOn");
        QTest::addColumn<bool>("leftPress");
        QTest::addColumn<bool>("rightPress");
        // The page shows sleep item 6 before each fill.
        QTest::newRow("-30, 3 min, 20K on, both at bottom")
            << true << 0xE2 << 18 << 1 << 0x00 << -30 << 330 << 4 << true << false << false;
        QTest::newRow("30, unknown code 5, 20K byte 2, left press")
            << false << 0x1E << 5 << 2 << 0x01 << 30 << 30 << 6 << false << true << false;
        QTest::newRow("0, code 0, right press")
            << true << 0 << 0 << 1 << 0x02 << 0 << 0 << 6 << true << false << true;
        QTest::newRow("15 min, both press")
            << false << 0 << 90 << 2 << 0x03 << 0 << 0 << 7 << false << true << true;
        QTest::newRow("0x10 is no trigger bit")
            << true << 0x1E << 18 << 0 << 0x10 << 30 << 30 << 4 << false << false << false;
    }

    void fill() {
        QFETCH(bool, fromDeviceThread);
        QFETCH(int, angleByte);
        QFETCH(int, sleepCode);
        QFETCH(int, scan);
        QFETCH(int, trigger);
        QFETCH(int, angle);
        QFETCH(int, pictureAngle);
        QFETCH(int, sleepItem);
        QFETCH(bool, scanOn);
        QFETCH(bool, leftPress);
        QFETCH(bool, rightPress);
        Advanced page;
        Child<StopCloseTime>(page, "frameClose")->SetSleepIndex(6);
        auto* slider = Child<QSlider>(page, "AngleSet");
        slider->setEnabled(false);  // locked by an earlier refused send
        FlashDataMap image = DeviceFixture::ImageNow();
        image.AngleTune = int8_t(uint8_t(angleByte));
        image.SleepTimeCode = uint8_t(sleepCode);
        image.Scan20K = uint8_t(scan);
        image.TriggerFlags = uint8_t(trigger);
        QSignalSpy layout(PostMsg::GetInstance(), SIGNAL(SigtVis(int)));
        HidSim::ClearCallLog();
        if (fromDeviceThread)
            RunOnHelperThread([image] { PostMsg::GetInstance()->EmitSigUpDataLightSensor(image); });
        else
            PostMsg::GetInstance()->EmitSigUpDataSensorUIB(image);

        QCOMPARE(slider->value(), angle);
        QCOMPARE(Child<QLabel>(page, "Keydown_6")->text(), AngleText(angle));
        QCOMPARE(Child<RotatableWidget>(page, "widget_2")->GetAngle(), pictureAngle);
        QCOMPARE(ConfirmedAngle, angle);
        QCOMPARE(Child<QComboBox>(page, "StopClose")->currentIndex(), sleepItem);
        QCOMPARE(Child<QToolButton>(page, "KFPS")->isChecked(), scanOn);
        QCOMPARE(Child<QCheckBox>(page, "ReUntilClick")->isChecked(), leftPress);
        QCOMPARE(Child<QCheckBox>(page, "ReUntilClick_2")->isChecked(), !leftPress);
        QCOMPARE(Child<QCheckBox>(page, "ReUntilClick_3")->isChecked(), rightPress);
        QCOMPARE(Child<QCheckBox>(page, "ReUntilClick_4")->isChecked(), !rightPress);
        // Only the device's own image unlocks a slider locked by a refused send.
        QCOMPARE(slider->isEnabled(), fromDeviceThread);
        QCOMPARE(layout.count(), 1);
        QVERIFY(!HandedOver());
    }

    void longRange_data() {
        QTest::addColumn<QString>("table");  // "" the installed one, else a Drive1 line of a test table
        QTest::addColumn<int>("drive");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<bool>("asleep");
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("boxOn");
        // Before each event the box shows the opposite of a reported state (unchecked otherwise).
        const QString none;
        QTest::newRow("Drive1 receiver, form") << none << 0 << false << false << "form" << true << false;
        QTest::newRow("Drive1 receiver, formB") << none << 0 << false << false << "formB" << true << false;
        QTest::newRow("Drive1 receiver, reported on") << none << 0 << false << false << "on" << true << true;
        QTest::newRow("Drive1 receiver, reported off")
            << none << 0 << false << false << "off" << true << false;
        QTest::newRow("Drive1 receiver, reset") << none << 0 << false << false << "reset" << true << false;
        QTest::newRow("Drive1 cable, form") << none << 0 << true << false << "form" << false << false;
        QTest::newRow("Drive1 cable, formB") << none << 0 << true << false << "formB" << false << false;
        QTest::newRow("Drive1 cable, reported on") << none << 0 << true << false << "on" << true << true;
        QTest::newRow("Drive1 mouse asleep, reported on")
            << none << 0 << false << true << "on" << true << true;
        QTest::newRow("Drive1 mouse asleep, reported off")
            << none << 0 << false << true << "off" << true << false;
        QTest::newRow("Drive2, form") << none << 1 << false << false << "form" << false << false;
        QTest::newRow("Drive2, reported on") << none << 1 << false << false << "on" << false << false;
        QTest::newRow("Drive2, reset") << none << 1 << false << false << "reset" << true << false;
        QTest::newRow("no item 0, form") << "Adveanced=" << 0 << false << false << "form" << false << false;
        QTest::newRow("no Adveanced, reported on") << "" << 0 << false << false << "on" << false << false;
        QTest::newRow("empty item 0, reported on")
            << "Adveanced=,1" << 0 << false << false << "on" << false << false;
        QTest::newRow("item 0 is 1, form")
            << "Adveanced=1,0" << 0 << false << false << "form" << true << false;
    }

    void longRange() {
        QFETCH(QString, table);
        QFETCH(int, drive);
        QFETCH(bool, usb);
        QFETCH(bool, asleep);
        QFETCH(QString, event);
        QFETCH(bool, shown);
        QFETCH(bool, boxOn);
        if (!table.isNull()) ConfigIni::ResetForTest(ProductTables::Write("longrange", table));
        SetDevice(drive, usb);
        Advanced page;
        LongPanel(page)->findChild<QCheckBox*>("checkBox")->setChecked(event == "off");
        if (asleep) QVERIFY(HidSim::Sleep(mouse_));
        const int before = HidSim::LongRangeMode(DeviceFixture::ReceiverName());
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim::ClearCallLog();
        PostMsg* hub = PostMsg::GetInstance();
        if (event == "form") RunOnHelperThread([hub] { hub->EmitSigForm(); });
        if (event == "formB") hub->EmitSigFormB();
        if (event == "on") RunOnHelperThread([hub] { hub->EmitSigLongRangeMode(true); });
        if (event == "off") RunOnHelperThread([hub] { hub->EmitSigLongRangeMode(false); });
        if (event == "reset") RunOnHelperThread([hub] { hub->EmitSigFormReset(); });

        QCOMPARE(page.LongRangeOffered(), shown);
        QCOMPARE(!LongPanel(page)->isHidden(), shown);
        QCOMPARE(LongBox(page)->isChecked(), boxOn);
        QVERIFY2(!LongRangeCalled(), qPrintable(HidSim::CallLog().join('\n')));
        QCOMPARE(HidSim::LongRangeMode(DeviceFixture::ReceiverName()), before);
        QCOMPARE(offline.count(), 0);
    }

    void resetShowsDefaultsAndKeepsTriggerAndPicture() {
        Advanced page;
        FlashDataMap image = DeviceFixture::ImageNow();
        image.AngleTune = 20;
        image.SleepTimeCode = 90;
        image.Scan20K = 1;
        image.TriggerFlags = 0x03;
        page.SlotUpDataSenSorUISensor(image);
        Child<QSlider>(page, "AngleSet")->setEnabled(false);
        HidSim::ClearCallLog();
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigFormReset(); });
        QCOMPARE(Child<QComboBox>(page, "StopClose")->currentIndex(), 2);
        QVERIFY(page.LongRangeOffered());
        QVERIFY(!Child<QToolButton>(page, "KFPS")->isChecked());
        QCOMPARE(Child<QSlider>(page, "AngleSet")->value(), 0);
        QCOMPARE(ConfirmedAngle, 0);
        QCOMPARE(Child<QLabel>(page, "Keydown_6")->text(), QString("0°"));
        QCOMPARE(Child<RotatableWidget>(page, "widget_2")->GetAngle(), 20);
        QVERIFY(!Child<QSlider>(page, "AngleSet")->isEnabled());
        QVERIFY(Child<QCheckBox>(page, "ReUntilClick")->isChecked());
        QVERIFY(Child<QCheckBox>(page, "ReUntilClick_3")->isChecked());
        QVERIFY(!HandedOver());
    }

    void tipsPositions_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("cable");  // a mouse on its cable: no long range
        QTest::addColumn<QPoint>("sleepTips");
        QTest::addColumn<QPoint>("scanTips");
        QTest::addColumn<QPoint>("angleTipsByLanguage");
        QTest::addColumn<QPoint>("angleTipsByLayout");
        QTest::addColumn<QPoint>("sensitivityTips");
        QTest::addColumn<QPoint>("anglePanel");
        QTest::newRow("English, long range")
            << 0 << false << QPoint(225, 53) << QPoint(300, 6) << QPoint(230, 6) << QPoint(230, 6)
            << QPoint(280, 54) << QPoint(0, 263);
        QTest::newRow("English, none") << 0 << true << QPoint(225, 53) << QPoint(300, 6) << QPoint(230, 6)
                                       << QPoint(230, 6) << QPoint(280, 54) << QPoint(0, 160);
        QTest::newRow("Czech, long range")
            << 1 << false << QPoint(315, 53) << QPoint(400, 6) << QPoint(270, 6) << QPoint(230, 6)
            << QPoint(290, 54) << QPoint(0, 263);
        QTest::newRow("Czech, none") << 1 << true << QPoint(315, 53) << QPoint(400, 6) << QPoint(270, 6)
                                     << QPoint(170, 6) << QPoint(290, 54) << QPoint(0, 160);
    }

    void tipsPositions() {
        QFETCH(int, language);
        QFETCH(bool, cable);
        QFETCH(QPoint, sleepTips);
        QFETCH(QPoint, scanTips);
        QFETCH(QPoint, angleTipsByLanguage);
        QFETCH(QPoint, angleTipsByLayout);
        QFETCH(QPoint, sensitivityTips);
        QFETCH(QPoint, anglePanel);
        SetDevice(0, cable);
        Advanced page;
        CurrentLanguage = language;
        PostMsg::GetInstance()->EmitSigAllLanguage(language);
        QCOMPARE(Child<QLabel>(page, "Error")->pos(), sleepTips);
        QCOMPARE(Child<QLabel>(page, "Error_2")->pos(), scanTips);
        QCOMPARE(Child<QLabel>(page, "Error_3")->pos(), angleTipsByLanguage);
        QCOMPARE(Child<QLabel>(page, "Error_4")->pos(), sensitivityTips);

        PostMsg::GetInstance()->EmitSigFormB();  // decides long range, then lays out
        QCOMPARE(page.LongRangeOffered(), !cable);
        QCOMPARE(Child<QLabel>(page, "Error_3")->pos(), angleTipsByLayout);
        QCOMPARE(Child<QWidget>(page, "FrameAngle")->pos(), anglePanel);
        if (!cable) QCOMPARE(LongPanel(page)->pos(), QPoint(0, 160));
        QVERIFY(Child<QWidget>(page, "FrameFPS")->isHidden());
        QVERIFY(Child<QWidget>(page, "FrameAngle")->isHidden());
        QCOMPARE(Child<QWidget>(page, "frameClose")->pos(), QPoint(68, 85));
        QCOMPARE(Child<QTabWidget>(page, "AdvancedTab")->currentIndex(), 0);
    }

    void triggerButtonNames_data() {
        QTest::addColumn<QStringList>("filed");  // labels of "0x0100" in file order
        QTest::addColumn<QString>("shown");
        QTest::newRow("five labels: the fourth latest") << QStringList{"a", "b", "c", "d", "e"} << "b";
        QTest::newRow("four labels: the earliest") << QStringList{"a", "b", "c", "d"} << "a";
        QTest::newRow("two labels: the earliest") << QStringList{"a", "b"} << "a";
        QTest::newRow("none") << QStringList{} << "";
    }

    void triggerButtonNames() {
        QFETCH(QStringList, filed);
        QFETCH(QString, shown);
        const auto saved = MouseKeyOptionLabelLists;
        MouseKeyOptionLabelLists = QVector<QMap<QString, QStringList>>(LanguageCount);
        if (!filed.isEmpty()) MouseKeyOptionLabelLists[1]["0x0100"] = filed;
        MouseKeyOptionLabelLists[1]["0x0200"] = QStringList{"right"};
        Advanced page;
        page.SlotAllLanguage(1);
        QWidget* panel = Child<QWidget>(page, "FrameFastClick");
        const QString left = Child<QLabel>(*panel, "label_2")->text();
        const QString right = Child<QLabel>(*panel, "label_3")->text();
        const QString single = KeyOptionLabel(1, "0x0100", 0);
        MouseKeyOptionLabelLists = saved;
        QCOMPARE(left, shown);
        QCOMPARE(right, QString("right"));
        QCOMPARE(single, filed.isEmpty() ? QString() : filed.last());
    }

    void languageTexts() {
        const auto saved = MouseAdvancedSettingsTexts;
        const auto savedModes = MouseDpiModeLabels;
        const auto savedSleep = MousePerformanceLabels;
        for (const char* key : {"dpiModeTipsX", "dpiModeTipsY", "SleepTime", "QuickTrigger", "Presstrigger",
                                "BottomTrigger", "scanningTitle", "LongDistance", "AngularMode"})
            LanguageFixture::Put(MouseAdvancedSettingsTexts, key);
        MouseAdvancedSettingsTexts[1]["dpiSensitivityTips"] = "one\ntwo\nthree";
        for (const char* key : {"0", "1", "2", "3"}) LanguageFixture::Put(MouseDpiModeLabels, key);
        for (const char* key : {"1", "90"}) LanguageFixture::Put(MousePerformanceLabels, key);
        Advanced page;
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        const auto text = [&page](const char* panel, const char* name) {
            return Child<QLabel>(*Child<QWidget>(page, panel), name)->text();
        };
        const QString tips = Child<QLabel>(page, "Error_4")->toolTip();
        const QStringList modes = {text("tab_2", "label_8"), text("tab_2", "label_9"),
                                   text("tab_2", "label_10"), text("tab_2", "label_11")};
        auto* list = Child<QComboBox>(page, "StopClose");
        const QStringList items = {list->itemText(0), list->itemText(3), list->itemText(7)};
        const QStringList trigger = {text("FrameFastClick", "label"), text("FrameFastClick", "label_4"),
                                     text("FrameFastClick", "label_6"), text("FrameFastClick", "label_5"),
                                     text("FrameFastClick", "label_7")};
        const QStringList panels = {text("FrameFPS", "label_3"), text("FrameLongMode", "label_5"),
                                    text("FrameAngle", "label_7"), text("tab", "label")};
        const QStringList axes = {CurveAxisTitleX, CurveAxisTitleY};
        MouseAdvancedSettingsTexts = saved;
        MouseDpiModeLabels = savedModes;
        MousePerformanceLabels = savedSleep;

        using LanguageFixture::Text;
        QCOMPARE(tips, QString("one<br>two<br>three"));
        QCOMPARE(modes, (QStringList{Text("1", 1), Text("2", 1), Text("3", 1), Text("0", 1)}));
        QCOMPARE(items, (QStringList{Text("1", 1), QString(), Text("90", 1)}));
        QCOMPARE(trigger,
                 (QStringList{Text("QuickTrigger", 1), Text("Presstrigger", 1), Text("Presstrigger", 1),
                              Text("BottomTrigger", 1), Text("BottomTrigger", 1)}));
        QCOMPARE(panels, (QStringList{Text("scanningTitle", 1), Text("LongDistance", 1),
                                      Text("AngularMode", 1), Text("SleepTime", 1)}));
        QCOMPARE(axes, (QStringList{Text("dpiModeTipsX", 1), Text("dpiModeTipsY", 1)}));
    }

    void modeSelector() {
        Advanced page;
        auto* on = Child<QCheckBox>(page, "checkBox_2");
        const auto modes = page.findChildren<QCheckBox*>(QRegularExpression("^checkBox_[3-6]$"));
        QCOMPARE(modes.size(), 4);
        for (QCheckBox* box : modes) QVERIFY(!box->isEnabled());
        QVERIFY(
            Child<QLabel>(*Child<QWidget>(page, "tab_2"), "label_9")->styleSheet().contains("115,115,115"));
        for (CurvePlotWidget* plot : page.findChildren<CurvePlotWidget*>()) QCOMPARE(plot->EditFlag, 0);

        on->click();
        for (QCheckBox* box : modes) QVERIFY(box->isEnabled());
        QVERIFY(
            !Child<QLabel>(*Child<QWidget>(page, "tab_2"), "label_9")->styleSheet().contains("115,115,115"));
        auto* tabs = Child<QTabWidget>(page, "ModeTab");
        QCOMPARE(tabs->currentIndex(), 0);
        Child<QCheckBox>(page, "checkBox_5")->click();
        QCOMPARE(tabs->currentIndex(), 2);
        QVERIFY(!Child<QCheckBox>(page, "checkBox_3")->isChecked());
        Child<QCheckBox>(page, "checkBox_5")->click();  // the exclusive group keeps one mode
        QVERIFY(Child<QCheckBox>(page, "checkBox_5")->isChecked());
        Child<QCheckBox>(page, "checkBox_6")->click();
        QCOMPARE(tabs->currentIndex(), 3);

        on->click();
        for (QCheckBox* box : modes) QVERIFY(!box->isEnabled());
        QCOMPARE(Child<QTabWidget>(page, "AdvancedTab")->currentIndex(), 0);
    }
};

QTEST_MAIN(TestAdvancedPage)
#include "tst_advancedpage.moc"
