// The advanced page's panels against the simulated receiver and mouse: what each control sends when the
// mouse answers, sleeps or refuses, or before the window is live; the turned picture's angle; the
// trigger-point texts.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <cstring>
#include <functional>

#include "Child.h"
#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/Advanced.h"
#include "sensor/AngleMove.h"
#include "sensor/FastClick.h"
#include "sensor/RotatableWidget.h"

namespace {

// The settings the mouse itself holds.
FlashDataMap MouseImage() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(DeviceFixture::MouseName());
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

int TriggerShown(Advanced& page) {
    return (Child<QCheckBox>(page, "ReUntilClick")->isChecked() ? 0x01 : 0) |
           (Child<QCheckBox>(page, "ReUntilClick_3")->isChecked() ? 0x02 : 0);
}

// One control of the page: how the user changes it, and where its value stands on the device, in
// CurrentFlashData and on screen.
struct Control {
    std::function<void(Advanced&)> Change;
    std::function<int()> OnDevice;
    std::function<int()> InImage;
    std::function<int(Advanced&)> Shown;
    int Before;
    int After;
    bool OnReceiver;  // refused by the receiver rather than the mouse
};

const QMap<QString, Control>& Controls() {
    static const QMap<QString, Control> controls = {
        {"right on press",
         {[](Advanced& p) { Child<QCheckBox>(p, "ReUntilClick_3")->click(); },
          [] { return int(MouseImage().TriggerFlags); },
          [] { return int(DeviceFixture::ImageNow().TriggerFlags); }, TriggerShown, 0x01, 0x03, false}},
        {"left at bottom",
         {[](Advanced& p) { Child<QCheckBox>(p, "ReUntilClick_2")->click(); },
          [] { return int(MouseImage().TriggerFlags); },
          [] { return int(DeviceFixture::ImageNow().TriggerFlags); }, TriggerShown, 0x01, 0x00, false}},
        {"angle release",
         {[](Advanced& p) {
              auto* slider = Child<QSlider>(p, "AngleSet");
              slider->setSliderDown(true);
              slider->setSliderPosition(-30);
              slider->setSliderDown(false);
          },
          [] { return int(MouseImage().AngleTune); }, [] { return int(DeviceFixture::ImageNow().AngleTune); },
          [](Advanced& p) { return Child<QSlider>(p, "AngleSet")->value(); }, 10, -30, false}},
        {"20K click",
         {[](Advanced& p) { Child<QToolButton>(p, "KFPS")->click(); },
          [] { return int(MouseImage().Scan20K); }, [] { return int(DeviceFixture::ImageNow().Scan20K); },
          [](Advanced& p) { return int(Child<QToolButton>(p, "KFPS")->isChecked()); }, 0, 1, false}},
        {"long-range toggle",
         {[](Advanced& p) { Child<QCheckBox>(p, "checkBox")->click(); },
          [] { return HidSim::LongRangeMode(DeviceFixture::ReceiverName()); },
          [] { return HidSim::LongRangeMode(DeviceFixture::ReceiverName()); },
          [](Advanced& p) { return int(Child<QCheckBox>(p, "checkBox")->isChecked()); }, 0, 1, true}},
    };
    return controls;
}

}  // namespace

class TestAdvancedPanels : public QObject {
    Q_OBJECT

private slots:
    void init() {
        DeviceFixture::Init();
        QVERIFY(DeviceFixture::LoadDefaultWith(QString()));
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
        ConfirmedAngle = 0;
    }

    void send_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<bool>("shownNew");
        QTest::addColumn<int>("notices");
        for (const QString& control : Controls().keys()) {
            const auto row = [&control](const char* condition) -> QTestData& {
                return QTest::newRow(qPrintable(control + ", " + condition)) << control << QString(condition);
            };
            row("online") << true << true << 0;
            row("mouse asleep") << false << false << 1;
            row("refused once") << false << false << 0;
            // The 20K switch does not wait for a live window; the others only move on screen.
            const bool scan = control == "20K click";
            row("not live") << scan << true << 0;
        }
    }

    void send() {
        QFETCH(QString, control);
        QFETCH(QString, condition);
        QFETCH(bool, sent);
        QFETCH(bool, shownNew);
        QFETCH(int, notices);
        const Control& c = Controls()[control];
        // The device and the page start from the Before state of every control.
        QVERIFY(SetAngleTune(10));
        QVERIFY(SetScan20K(0));
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData.TriggerFlags = 0x01;
        }
        QVERIFY(SendFlashData());
        QVERIFY(UsbFinderC_SetLongRangeMode(CurrentDevicePathCopy().constData(), false));
        Advanced page;
        page.SlotUpDataSenSorUISensor(DeviceFixture::ImageNow());
        QCOMPARE(ConfirmedAngle, 10);
        QCOMPARE(c.Shown(page), c.Before);

        if (condition == "mouse asleep") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        if (condition == "refused once")
            QVERIFY(HidSim::FailNext(
                c.OnReceiver ? DeviceFixture::ReceiverName() : DeviceFixture::MouseName(), 1));
        if (condition == "not live") UiLive = false;
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        c.Change(page);

        const int expected = sent ? c.After : c.Before;
        QCOMPARE(c.OnDevice(), expected);
        QCOMPARE(c.InImage(), expected);
        QCOMPARE(c.Shown(page), shownNew ? c.After : c.Before);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), notices);
        if (control == "angle release") {
            const int angle = shownNew ? c.After : c.Before;
            QCOMPARE(Child<QLabel>(page, "Keydown_6")->text(), AngleText(angle));
            QCOMPARE(Child<RotatableWidget>(page, "widget_2")->GetAngle(), (angle + 360) % 360);
            QCOMPARE(ConfirmedAngle, expected);
            // A refused angle locks the slider until the device's own image arrives.
            QCOMPARE(Child<QSlider>(page, "AngleSet")->isEnabled(), shownNew);
            if (sent) QCOMPARE(int(DeviceFixture::LastHandedImage().AngleTuneEnable), 1);
            if (sent) QCOMPARE(uint8_t(DeviceFixture::LastHandedImage().AngleTune), uint8_t(0xE2));
        }
    }

    // A long-range change that the receiver does not take, because it refuses or has no long-range mode
    // at all: one notice that the receiver (not the mouse) did not take it, and the box shows the
    // receiver's state again.
    void longRangeRefusedByTheReceiver_data() {
        QTest::addColumn<bool>("withoutMode");
        QTest::newRow("receiver refusing") << false;
        QTest::newRow("receiver without long range") << true;
    }
    void longRangeRefusedByTheReceiver() {
        QFETCH(bool, withoutMode);
        const QString receiver = DeviceFixture::ReceiverName();
        if (withoutMode) {
            QVERIFY(DeviceFixture::LoadDefaultWith("\"longRange\": \"none\""));
            DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        } else {
            QVERIFY(HidSim::FailNext(receiver, 3));
        }
        const int before = HidSim::LongRangeMode(receiver);
        QCOMPARE(before, withoutMode ? -1 : 0);
        Advanced page;
        auto* box = Child<QCheckBox>(page, "checkBox");
        QSignalSpy notices(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        box->click();
        QCOMPARE(notices.count(), 1);
        QCOMPARE(notices.at(0).at(0).toInt(), int(NoticeReceiverNotTaken));
        QVERIFY(!box->isChecked());
        QCOMPARE(HidSim::LongRangeMode(receiver), before);
    }

    void lockedSliderGoesBackToConfirmedAngle() {
        Advanced page;
        page.SlotUpDataSenSorUISensor(DeviceFixture::ImageNow());
        ConfirmedAngle = 12;
        auto* slider = Child<QSlider>(page, "AngleSet");
        slider->setEnabled(false);
        HidSim::ClearCallLog();
        slider->setValue(-20);
        QCOMPARE(slider->value(), 12);
        QCOMPARE(Child<QLabel>(page, "Keydown_6")->text(), QString("12°"));
        QVERIFY(!DeviceFixture::HandedOver());
        FlashDataMap image = DeviceFixture::ImageNow();
        page.SlotUpDataSenSorUIB(image);
        QVERIFY(!slider->isEnabled());
        page.SlotUpDataSenSorUISensor(image);
        QVERIFY(slider->isEnabled());
    }

    void sensorPageFillingSendsNoAngle() {
        Advanced page;
        page.SlotUpDataSenSorUISensor(DeviceFixture::ImageNow());
        const int before = int(DeviceFixture::ImageNow().AngleTune);
        SensorPageRefreshing = true;
        HidSim::ClearCallLog();
        Child<QSlider>(page, "AngleSet")->setValue(25);
        SensorPageRefreshing = false;
        QVERIFY(!DeviceFixture::HandedOver());
        QCOMPARE(int(DeviceFixture::ImageNow().AngleTune), before);
        QCOMPARE(Child<QLabel>(page, "Keydown_6")->text(), QString("25°"));
    }

    void pictureAngle_data() {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("stored");
        QTest::newRow("-30") << -30 << 330;
        QTest::newRow("360") << 360 << 0;
        QTest::newRow("-360") << -360 << 0;
        QTest::newRow("725") << 725 << 5;
    }

    void pictureAngle() {
        QFETCH(int, degrees);
        QFETCH(int, stored);
        RotatableWidget widget;
        widget.SetAngle(degrees);
        QCOMPARE(widget.GetAngle(), stored);
    }

    void sizeHintFollowsTheTurn_data() {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QSize>("hint");
        // The unturned hint is 40 x 20.
        QTest::newRow("0") << 0 << QSize(40, 20);
        QTest::newRow("90") << 90 << QSize(20, 40);
        QTest::newRow("180") << 180 << QSize(40, 20);
        QTest::newRow("270") << 270 << QSize(20, 40);
        QTest::newRow("30: bounding box") << 30 << QSize(45, 37);  // 34.64 + 10, 20 + 17.32
        QTest::newRow("-45 as 315") << -45 << QSize(42, 42);       // 42.43 both ways
    }

    void sizeHintFollowsTheTurn() {
        QFETCH(int, degrees);
        QFETCH(QSize, hint);
        RotatableWidget widget;
        auto* layout = new QHBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* inner = new QWidget;
        inner->setFixedSize(40, 20);
        layout->addWidget(inner);
        widget.SetAngle(degrees);
        QCOMPARE(widget.sizeHint(), hint);
        QCOMPARE(widget.minimumSizeHint(), hint);
    }

    void triggerTexts() {
        FastClick panel;
        panel.SetText(3, "press");
        panel.SetText(4, "bottom");
        panel.SetText(5, "dropped");
        panel.SetText(-1, "dropped");
        QStringList texts;
        for (const char* name : {"label", "label_2", "label_3", "label_4", "label_5", "label_6", "label_7"})
            texts << Child<QLabel>(panel, name)->text();
        QVERIFY(!texts.contains("dropped"));
        QCOMPARE(texts.mid(3), (QStringList{"press", "bottom", "press", "bottom"}));
    }
};

QTEST_MAIN(TestAdvancedPanels)
#include "tst_advancedpanels.moc"
