// The sleep-time panel as the advanced page drives it, and its slider form, against the simulated mouse.
#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/StopCloseTime.h"
#include "sensor/StopCloseTimeB.h"

namespace {
using DeviceFixture::HandedOver;

// A pick by the user: the list changes and reports the activation.
void Pick(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}
}  // namespace

class TestSleepPanel : public QObject {
    Q_OBJECT

private:
    QString mouse_;

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
    }

    void pickSendsItsCode_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        const int codes[] = {1, 3, 6, 12, 18, 30, 60, 90};
        for (int i = 0; i < 8; ++i) QTest::newRow(qPrintable(QString::number(codes[i]))) << i << codes[i];
    }

    void pickSendsItsCode() {
        QFETCH(int, index);
        QFETCH(int, code);
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        panel.SetSleepIndex(index == 2 ? 3 : 2);
        Pick(list, index);
        QCOMPARE(int(DeviceFixture::LastHandedImage().SleepTimeCode), code);
        QCOMPARE(int(DeviceFixture::ImageNow().SleepTimeCode), code);
        QCOMPARE(list->currentIndex(), index);
    }

    void currentEntryPickedAgainSendsAgain() {
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        panel.SetSleepIndex(3);
        HidSim::ClearCallLog();
        Pick(list, 3);
        QVERIFY(HandedOver());
        QCOMPARE(int(DeviceFixture::ImageNow().SleepTimeCode), 12);
    }

    void failedPickShowsTheRememberedEntry_data() {
        QTest::addColumn<bool>("asleep");
        QTest::addColumn<int>("notices");
        QTest::newRow("asleep") << true << 1;
        QTest::newRow("refusing") << false << 0;
    }

    void failedPickShowsTheRememberedEntry() {
        QFETCH(bool, asleep);
        QFETCH(int, notices);
        QVERIFY(SetSleepTime(30));
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        panel.SetSleepIndex(5);
        QVERIFY(asleep ? HidSim::Sleep(mouse_) : HidSim::FailNext(mouse_, 1));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        Pick(list, 1);
        QCOMPARE(list->currentIndex(), 5);
        QCOMPARE(int(DeviceFixture::ImageNow().SleepTimeCode), 30);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), notices);
    }

    void failedPickBeforeAnyIndexShowsTheFirst() {
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        QVERIFY(HidSim::Sleep(mouse_));
        Pick(list, 4);
        QCOMPARE(list->currentIndex(), 0);
    }

    void gatedPickSendsNothing_data() {
        QTest::addColumn<bool>("live");
        QTest::addColumn<bool>("buttonPageFilling");
        QTest::newRow("no live window") << false << false;
        QTest::newRow("button page filling") << true << true;
    }

    void gatedPickSendsNothing() {
        QFETCH(bool, live);
        QFETCH(bool, buttonPageFilling);
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        panel.SetSleepIndex(2);
        UiLive = live;
        ButtonPageRefreshing = buttonPageFilling;
        HidSim::ClearCallLog();
        Pick(list, 6);
        QVERIFY(!HandedOver());
        QCOMPARE(list->currentIndex(), 6);
    }

    void settersNeverSend() {
        StopCloseTime panel;
        auto* list = panel.findChild<QComboBox*>("StopClose");
        HidSim::ClearCallLog();
        panel.SetItemText(7, "15 min");
        panel.SetSleepIndex(7);
        panel.SetSleepIndex(9);
        QCOMPARE(list->currentIndex(), 7);
        QCOMPARE(list->currentText(), QString("15 min"));
        QVERIFY(!HandedOver());
    }

    void sliderDragShowsReleaseSends() {
        StopCloseTimeB panel;
        auto* slider = panel.findChild<QSlider*>("StopClose");
        auto* number = panel.findChild<QSpinBox*>("spinBoxA");
        panel.SetItemText(0, "10 s");
        panel.SetItemText(5, "15 min");
        HidSim::ClearCallLog();
        slider->setSliderDown(true);
        slider->setSliderPosition(4);
        QCOMPARE(number->value(), 5);
        QCOMPARE(number->suffix(), QString(" min"));
        QVERIFY(!HandedOver());
        slider->setSliderDown(false);
        QCOMPARE(int(DeviceFixture::LastHandedImage().SleepTimeCode), 30);
        QCOMPARE(int(DeviceFixture::ImageNow().SleepTimeCode), 30);
    }

    void sliderFormSuffixes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("10 s") << 0 << 10 << " s";
        QTest::newRow("30 s") << 1 << 30 << " s";
        QTest::newRow("1 min") << 2 << 1 << " min";
        QTest::newRow("15 min") << 5 << 15 << " min";
        QTest::newRow("40 min") << 10 << 40 << " min";
    }

    void sliderFormSuffixes() {
        QFETCH(int, index);
        QFETCH(int, number);
        QFETCH(QString, suffix);
        StopCloseTimeB panel;
        auto* number_ = panel.findChild<QSpinBox*>("spinBoxA");
        HidSim::ClearCallLog();
        panel.SetSleepIndex(index);
        panel.SetItemText(0, "10 s");
        panel.SetItemText(5, "15 min");
        panel.SetItemText(3, "ignored");
        QCOMPARE(number_->value(), number);
        QCOMPARE(number_->suffix(), suffix);
        QVERIFY(!HandedOver());
    }

    void sliderFormGated_data() {
        QTest::addColumn<bool>("live");
        QTest::addColumn<bool>("lightPageFilling");
        QTest::newRow("no live window") << false << false;
        QTest::newRow("light page filling") << true << true;
    }

    void sliderFormGated() {
        QFETCH(bool, live);
        QFETCH(bool, lightPageFilling);
        StopCloseTimeB panel;
        auto* slider = panel.findChild<QSlider*>("StopClose");
        UiLive = live;
        LightPageRefreshing = lightPageFilling;
        HidSim::ClearCallLog();
        slider->setValue(11);
        QCOMPARE(panel.findChild<QSpinBox*>("spinBoxA")->value(), 40);
        QVERIFY(!HandedOver());
    }
};

QTEST_MAIN(TestSleepPanel)
#include "tst_sleeppanel.moc"
