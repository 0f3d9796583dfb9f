// The live panels of the sensor page against the simulated mouse: report rate, the on/off switches
// and the lift-off distance list, with their alternative forms of the switches.
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/MotionSync.h"
#include "sensor/MotionSyncB.h"
#include "sensor/RippeControl.h"
#include "sensor/RippeControlB.h"
#include "sensor/SensorLOD.h"
#include "sensor/SensorRate.h"
#include "sensor/StraightLine.h"
#include "sensor/StraightLineB.h"

namespace {
using DeviceFixture::HandedOver;

enum class Mouse { Online, Asleep, Refusing };

int ByteAt(const FlashDataMap& image, int offset) {
    return reinterpret_cast<const unsigned char*>(&image)[offset];
}

// The mouse's own flash, read back as a settings image.
FlashDataMap FlashImage(const QString& mouse) {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(mouse);
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

struct ToggleCase {
    const char* name;
    std::function<TogglePanel*()> make;
    const char* toggle;
    int offset;
    bool putsBack;
};

const QVector<ToggleCase>& Toggles() {
    static const QVector<ToggleCase> cases = {
        {"ripple", [] { return new RippeControl; }, "RippeControl_2", 10, true},
        {"angle snap", [] { return new StraightLine; }, "StraightLine_2", 9, true},
        {"motion sync", [] { return new MotionSync; }, "MotionSync_2", 7, true},
        {"ripple B", [] { return new RippeControlB; }, "RippeControl_2", 10, false},
        {"angle snap B", [] { return new StraightLineB; }, "StraightLine_2", 9, false},
        {"motion sync B", [] { return new MotionSyncB; }, "MotionSync_2", 7, false},
    };
    return cases;
}

QAbstractButton* RateButton(SensorRate& panel, int index) {
    static const char* const names[] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                        "Button2000HZ", "Button4000HZ", "Button8000HZ"};
    return panel.findChild<QAbstractButton*>(names[index]);
}
}  // namespace

Q_DECLARE_METATYPE(Mouse)

class TestSensorPanels : public QObject {
    Q_OBJECT

private:
    QString mouse_;

    void PutMouse(Mouse state) {
        if (state == Mouse::Asleep) QVERIFY(HidSim::Sleep(mouse_));
        if (state == Mouse::Refusing) QVERIFY(HidSim::FailNext(mouse_, 1));
    }

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
    }

    void toggleClick_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<bool>("on");
        QTest::addColumn<Mouse>("mouse");
        for (int i = 0; i < Toggles().size(); ++i) {
            for (bool on : {true, false}) {
                const QByteArray name = QByteArray(Toggles()[i].name) + (on ? " on" : " off");
                QTest::newRow(name + ", online") << i << on << Mouse::Online;
                QTest::newRow(name + ", asleep") << i << on << Mouse::Asleep;
                QTest::newRow(name + ", refusing") << i << on << Mouse::Refusing;
            }
        }
    }

    void toggleClick() {
        QFETCH(int, panel);
        QFETCH(bool, on);
        QFETCH(Mouse, mouse);
        const ToggleCase& c = Toggles()[panel];
        std::unique_ptr<TogglePanel> widget(c.make());
        auto* toggle = widget->findChild<QToolButton*>(c.toggle);
        QVERIFY(toggle);
        // The device and the switch start at the opposite state.
        QVERIFY(SetRippleControl(!on) && SetAngleSnap(!on) && SetMotionSync(!on));
        widget->SetChecked(!on);
        PutMouse(mouse);
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));

        toggle->click();

        const bool sent = mouse == Mouse::Online;
        QCOMPARE(ByteAt(DeviceFixture::ImageNow(), c.offset), sent == on ? 1 : 0);
        QCOMPARE(ByteAt(FlashImage(mouse_), c.offset), sent == on ? 1 : 0);
        QCOMPARE(toggle->isChecked(), sent || !c.putsBack ? on : !on);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), mouse == Mouse::Asleep ? 1 : 0);
    }

    void toggleTwiceAsleepNoticesTwice() {
        MotionSync panel;
        auto* toggle = panel.findChild<QToolButton*>("MotionSync_2");
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        toggle->click();
        QVERIFY(!toggle->isChecked());
        toggle->click();
        QVERIFY(!toggle->isChecked());
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 2);
    }

    void toggleWithoutLiveWindowSendsNothing() {
        UiLive = false;
        for (const ToggleCase& c : Toggles()) {
            std::unique_ptr<TogglePanel> widget(c.make());
            HidSim::ClearCallLog();
            widget->findChild<QToolButton*>(c.toggle)->click();
            QVERIFY2(!HandedOver(), c.name);
            QVERIFY2(widget->findChild<QToolButton*>(c.toggle)->isChecked(), c.name);
        }
    }

    void toggleSettersNeverSend() {
        for (const ToggleCase& c : Toggles()) {
            std::unique_ptr<TogglePanel> widget(c.make());
            HidSim::ClearCallLog();
            widget->SetChecked(true);
            QVERIFY(widget->findChild<QToolButton*>(c.toggle)->isChecked());
            widget->SetChecked(false);
            widget->SetText("Caption");
            widget->SetTips("Tips");
            QVERIFY2(!HandedOver(), c.name);
        }
    }

    void tipsPositions_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("rippleX");
        QTest::addColumn<int>("angleX");
        QTest::addColumn<int>("syncX");
        QTest::newRow("English") << 0 << 175 << 170 << 160;
        QTest::newRow("Czech") << 1 << 170 << 170 << 170;
        QTest::newRow("index 3") << 3 << 190 << 190 << 190;
        QTest::newRow("index 6 stays") << 6 << 180 << 180 << 180;
        QTest::newRow("index 9 stays") << 9 << 180 << 180 << 180;
    }

    void tipsPositions() {
        QFETCH(int, language);
        QFETCH(int, rippleX);
        QFETCH(int, angleX);
        QFETCH(int, syncX);
        RippeControl ripple;
        StraightLine angle;
        MotionSync sync;
        ripple.SetTipsPos(language);
        angle.SetTipsPos(language);
        sync.SetTipsPos(language);
        QCOMPARE(ripple.findChild<QLabel*>("label_2")->pos(), QPoint(rippleX, 3));
        QCOMPARE(angle.findChild<QLabel*>("label_2")->pos(), QPoint(angleX, 3));
        QCOMPARE(sync.findChild<QLabel*>("label_2")->pos(), QPoint(syncX, 3));
    }

    void rateClickOnline_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("high");
        QTest::newRow("125") << 0 << 8 << 125 << 0;
        QTest::newRow("250") << 1 << 4 << 250 << 0;
        QTest::newRow("500") << 2 << 2 << 500 << 0;
        QTest::newRow("1000 again") << 3 << 1 << 1000 << 0;
        QTest::newRow("2000") << 4 << 16 << 2000 << 1;
        QTest::newRow("4000") << 5 << 32 << 4000 << 1;
        QTest::newRow("8000") << 6 << 64 << 8000 << 1;
    }

    void rateClickOnline() {
        QFETCH(int, index);
        QFETCH(int, code);
        QFETCH(int, hz);
        QFETCH(int, high);
        SensorRate panel;
        panel.SetRate(3);
        HidSim::ClearCallLog();
        QSignalSpy report(PostMsg::GetInstance(), SIGNAL(SigAddReport(int)));
        QSignalSpy hide(PostMsg::GetInstance(), SIGNAL(SigHideModel(int)));

        RateButton(panel, index)->click();

        QCOMPARE(ByteAt(DeviceFixture::LastHandedImage(), 0), code);
        QCOMPARE(ByteAt(DeviceFixture::ImageNow(), 0), code);
        QCOMPARE(report.count(), 1);
        QCOMPARE(report.first().at(0).toInt(), hz);
        QCOMPARE(hide.count(), 1);
        QCOMPARE(hide.first().at(0).toInt(), high);
        QCOMPARE(panel.CurrentRateIndex, index);
        QVERIFY(RateButton(panel, index)->isChecked());
    }

    void rateClickFailed_data() {
        QTest::addColumn<Mouse>("mouse");
        QTest::addColumn<int>("notices");
        QTest::newRow("asleep") << Mouse::Asleep << 1;
        QTest::newRow("refusing") << Mouse::Refusing << 0;
    }

    void rateClickFailed() {
        QFETCH(Mouse, mouse);
        QFETCH(int, notices);
        QVERIFY(SetReportRate(4));
        SensorRate panel;
        panel.SetRate(1);
        PutMouse(mouse);
        QSignalSpy report(PostMsg::GetInstance(), SIGNAL(SigAddReport(int)));
        QSignalSpy hide(PostMsg::GetInstance(), SIGNAL(SigHideModel(int)));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));

        RateButton(panel, 6)->click();

        QVERIFY(RateButton(panel, 1)->isChecked());
        QVERIFY(!RateButton(panel, 6)->isChecked());
        QCOMPARE(panel.CurrentRateIndex, 1);
        QCOMPARE(ByteAt(DeviceFixture::ImageNow(), 0), 4);
        QCOMPARE(report.count(), 1);
        QCOMPARE(report.first().at(0).toInt(), 250);
        QCOMPARE(hide.count(), 0);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), notices);
    }

    void rateWithoutLiveWindowSendsNothing() {
        UiLive = false;
        SensorRate panel;
        panel.SetRate(3);
        HidSim::ClearCallLog();
        QSignalSpy hide(PostMsg::GetInstance(), SIGNAL(SigHideModel(int)));
        RateButton(panel, 4)->click();
        QVERIFY(!HandedOver());
        QCOMPARE(hide.count(), 0);
        QVERIFY(RateButton(panel, 4)->isChecked());
    }

    void showRates_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("shown2000");
        QTest::addColumn<bool>("shown4000");
        QTest::addColumn<bool>("shown8000");
        QTest::newRow("mode 0") << 0 << false << false << false;
        QTest::newRow("mode 1") << 1 << true << true << false;
        QTest::newRow("mode 2") << 2 << true << false << false;
        QTest::newRow("mode 3") << 3 << true << true << true;
        QTest::newRow("mode 7 keeps mode 2") << 7 << true << false << false;
    }

    void showRates() {
        QFETCH(int, mode);
        QFETCH(bool, shown2000);
        QFETCH(bool, shown4000);
        QFETCH(bool, shown8000);
        SensorRate panel;
        panel.ShowRates(2);
        panel.ShowRates(mode);
        for (int i = 0; i < 4; ++i) QVERIFY(!RateButton(panel, i)->isHidden());
        QCOMPARE(!RateButton(panel, 4)->isHidden(), shown2000);
        QCOMPARE(!RateButton(panel, 5)->isHidden(), shown4000);
        QCOMPARE(!RateButton(panel, 6)->isHidden(), shown8000);
    }

    void setRateShowsWithoutSending() {
        SensorRate panel;
        HidSim::ClearCallLog();
        QSignalSpy report(PostMsg::GetInstance(), SIGNAL(SigAddReport(int)));
        panel.SetRate(6);
        QVERIFY(RateButton(panel, 6)->isChecked());
        QCOMPARE(report.count(), 1);
        QCOMPARE(report.first().at(0).toInt(), 8000);
        panel.SetRate(9);
        QCOMPARE(panel.CurrentRateIndex, 6);
        QVERIFY(RateButton(panel, 6)->isChecked());
        QCOMPARE(report.count(), 1);
        QVERIFY(!HandedOver());
    }

    void lodSetter_data() {
        QTest::addColumn<bool>("shortLod");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("announced");  // empty: nothing announced
        QTest::newRow("two, 1 mm") << false << 0 << "1mm"
                                   << "1mm";
        QTest::newRow("two, 2 mm") << false << 1 << "2mm"
                                   << "2mm";
        QTest::newRow("two, 0.7 mm has no entry") << false << 2 << "2mm"
                                                  << "";
        QTest::newRow("two, code 0") << false << -1 << "2mm"
                                     << "";
        QTest::newRow("three, 0.7 mm") << true << 2 << "0.7mm"
                                       << "0.7mm";
        QTest::newRow("three, 1 mm") << true << 0 << "1mm"
                                     << "1mm";
        QTest::newRow("three, 2 mm") << true << 1 << "2mm"
                                     << "2mm";
        QTest::newRow("three, 4") << true << 4 << "2mm"
                                  << "";
    }

    void lodSetter() {
        QFETCH(bool, shortLod);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QFETCH(QString, announced);
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        if (shortLod) panel.AddShortLod();
        panel.SetLod(1);
        HidSim::ClearCallLog();
        QSignalSpy lod(PostMsg::GetInstance(), SIGNAL(SigAddLOD(QString)));

        panel.SetLod(value);

        QCOMPARE(list->currentText(), shown);
        QCOMPARE(lod.count(), announced.isEmpty() ? 0 : 1);
        if (!announced.isEmpty()) QCOMPARE(lod.first().at(0).toString(), announced);
        QVERIFY(!HandedOver());
    }

    void lodPick_data() {
        QTest::addColumn<bool>("shortLod");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        QTest::newRow("two, 2 mm") << false << 1 << 2;
        QTest::newRow("two, 1 mm") << false << 0 << 1;
        QTest::newRow("three, 0.7 mm") << true << 0 << 3;
        QTest::newRow("three, 1 mm") << true << 1 << 1;
        QTest::newRow("three, 2 mm") << true << 2 << 2;
    }

    void lodPick() {
        QFETCH(bool, shortLod);
        QFETCH(int, index);
        QFETCH(int, code);
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        if (shortLod) panel.AddShortLod();
        // Start on an entry other than the pick.
        panel.SetLod(code == 2 ? 0 : 1);
        QSignalSpy lod(PostMsg::GetInstance(), SIGNAL(SigAddLOD(QString)));

        list->setCurrentIndex(index);

        QCOMPARE(ByteAt(DeviceFixture::LastHandedImage(), 5), code);
        QCOMPARE(ByteAt(DeviceFixture::ImageNow(), 5), code);
        QCOMPARE(lod.count(), 1);
        QCOMPARE(lod.first().at(0).toString(), list->itemText(index));
    }

    void lodPickFailed_data() {
        QTest::addColumn<Mouse>("mouse");
        QTest::newRow("asleep") << Mouse::Asleep;
        QTest::newRow("refusing") << Mouse::Refusing;
    }

    void lodPickFailed() {
        QFETCH(Mouse, mouse);
        QVERIFY(SetLod(3));
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        panel.AddShortLod();
        panel.SetLod(2);
        PutMouse(mouse);
        QSignalSpy lod(PostMsg::GetInstance(), SIGNAL(SigAddLOD(QString)));

        list->setCurrentIndex(2);

        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(list->currentText(), QString("0.7mm"));
        QCOMPARE(ByteAt(DeviceFixture::ImageNow(), 5), 3);
        QCOMPARE(lod.count(), 0);
    }

    void lodPickFailedWithoutEntryShowsThePreviousEntry() {
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        panel.SetLod(1);
        panel.SetLod(2);  // no entry in a list of two
        QCOMPARE(list->currentText(), QString("2mm"));
        QVERIFY(HidSim::Sleep(mouse_));
        list->setCurrentIndex(0);
        QCOMPARE(list->currentText(), QString("2mm"));
    }

    void lodPickGated_data() {
        QTest::addColumn<bool>("live");
        QTest::addColumn<bool>("refreshing");
        QTest::newRow("no live window") << false << false;
        QTest::newRow("page filling") << true << true;
    }

    void lodPickGated() {
        QFETCH(bool, live);
        QFETCH(bool, refreshing);
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        panel.SetLod(0);
        UiLive = live;
        SensorPageRefreshing = refreshing;
        HidSim::ClearCallLog();
        list->setCurrentIndex(1);
        QVERIFY(!HandedOver());
        QCOMPARE(list->currentIndex(), 1);
    }

    void lodShortEntryAddedAndRemovedOnce() {
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        panel.RemoveShortLod();
        QCOMPARE(list->count(), 2);
        panel.AddShortLod();
        panel.AddShortLod();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(0), QString("0.7mm"));
        panel.SetLod(2);
        HidSim::ClearCallLog();
        panel.RemoveShortLod();
        panel.RemoveShortLod();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QString("1mm"));
        // Removing the shown entry sends nothing.
        QVERIFY(!HandedOver());
    }

    void lodTipsAndEnable() {
        SensorLOD panel;
        auto* list = panel.findChild<QComboBox*>("LOD");
        QVERIFY(!list->isEnabled());
        panel.SetEnabled(true);
        QVERIFY(list->isEnabled());
        panel.SetTipsPos(4);
        QCOMPARE(panel.findChild<QLabel*>("label_2")->pos(), QPoint(50, 1));
    }
};

QTEST_MAIN(TestSensorPanels)
#include "tst_sensorpanels.moc"
