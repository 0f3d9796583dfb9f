// The alternative panel forms that no page builds: what each user action hands to the simulated
// mouse, behind which gates, and that their setters only show.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "Child.h"
#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/DebouncetimeB.h"
#include "sensor/DebouncetimeC.h"
#include "sensor/SensorEffectB.h"
#include "sensor/SensorLODB.h"
#include "sensor/SensorRateB.h"

namespace {
using DeviceFixture::HandedOver;

int ByteAt(const FlashDataMap& image, int offset) {
    return reinterpret_cast<const unsigned char*>(&image)[offset];
}

// Releases a tracking-off slider at a value, as a drag that ends there.
void Release(QSlider* slider, int value) {
    slider->setSliderDown(true);
    slider->setSliderPosition(value);
    slider->setSliderDown(false);
}

enum class Gate { Open, NoLiveWindow, SensorPageFilling };

struct ActionCase {
    const char* name;
    std::function<QWidget*()> make;
    std::function<void(QWidget*)> act;
    bool testsPageFlag;  // the form also waits while the sensor page fills itself
    int offset;          // -1: the action sends nothing
    int value;
};

const QVector<ActionCase>& Actions() {
    static const QVector<ActionCase> cases = {
        {"debounce slider released at 12", [] { return new DebouncetimeB; },
         [](QWidget* p) { Release(Child<QSlider>(p, "Debunce"), 12); }, false, 6, 12},
        {"debounce plus from 0", [] { return new DebouncetimeC; },
         [](QWidget* p) { Child<QToolButton>(p, "AddLevelA")->click(); }, false, 6, 1},
        {"debounce minus from 0", [] { return new DebouncetimeC; },
         [](QWidget* p) { Child<QToolButton>(p, "ReduceLevelA")->click(); }, false, 6, 0},
        {"debounce plus at 20",
         [] {
             auto* p = new DebouncetimeC;
             p->SetDebounce(20);
             return p;
         },
         [](QWidget* p) { Child<QToolButton>(p, "AddLevelA")->click(); }, false, -1, 0},
        {"debounce minus at 1",
         [] {
             auto* p = new DebouncetimeC;
             p->SetDebounce(1);
             return p;
         },
         [](QWidget* p) { Child<QToolButton>(p, "ReduceLevelA")->click(); }, false, -1, 0},
        {"breathing", [] { return new SensorEffectB; },
         [](QWidget* p) { Child<QCheckBox>(p, "MM2")->click(); }, true, 96, 2},
        {"off keeps the mode", [] { return new SensorEffectB; },
         [](QWidget* p) { Child<QCheckBox>(p, "MM3")->click(); }, true, 99, 0},
        {"brightness released at 5", [] { return new SensorEffectB; },
         [](QWidget* p) { Release(Child<QSlider>(p, "LightH"), 5); }, true, 97, 128},
        {"speed released at 3", [] { return new SensorEffectB; },
         [](QWidget* p) { Release(Child<QSlider>(p, "SpeedH"), 3); }, true, 98, 3},
        {"effect setters", [] { return new SensorEffectB; },
         [](QWidget* p) {
             auto* e = static_cast<SensorEffectB*>(p);
             e->SetMode(2);
             e->SetSpeed(4);
             e->SetBrightness(9);
         },
         true, -1, 0},
        {"lod box 2 mm", [] { return new SensorLODB; },
         [](QWidget* p) { Child<QCheckBox>(p, "MM2")->click(); }, true, 5, 2},
        {"rate box 500", [] { return new SensorRateB; },
         [](QWidget* p) { Child<QCheckBox>(p, "Button500HZ")->click(); }, false, 0, 2},
    };
    return cases;
}
}  // namespace

Q_DECLARE_METATYPE(Gate)

class TestAlternativePanels : public QObject {
    Q_OBJECT

private:
    QString mouse_;

private slots:
    void init() {
        DeviceFixture::Init();
        mouse_ = DeviceFixture::MouseName();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        UiLive = true;
        // Known values, none of which any action below sends.
        QVERIFY(SetKeyDebounce(7) && SetDpiLightMode(1) && SetDpiLightBrightness(60) && SetDpiLightSpeed(1));
        QVERIFY(SetLod(1) && SetReportRate(8));
    }

    void action_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<Gate>("gate");
        for (int i = 0; i < Actions().size(); ++i) {
            const QByteArray name = Actions()[i].name;
            QTest::newRow(name) << i << Gate::Open;
            QTest::newRow(name + ", no live window") << i << Gate::NoLiveWindow;
            QTest::newRow(name + ", sensor page filling") << i << Gate::SensorPageFilling;
        }
    }

    void action() {
        QFETCH(int, index);
        QFETCH(Gate, gate);
        const ActionCase& c = Actions()[index];
        std::unique_ptr<QWidget> panel(c.make());
        UiLive = gate != Gate::NoLiveWindow;
        SensorPageRefreshing = gate == Gate::SensorPageFilling;
        const FlashDataMap before = DeviceFixture::ImageNow();
        HidSim::ClearCallLog();

        c.act(panel.get());

        const bool sends = c.offset >= 0 && gate != Gate::NoLiveWindow &&
                           !(gate == Gate::SensorPageFilling && c.testsPageFlag);
        QCOMPARE(HandedOver(), sends);
        if (sends) {
            QCOMPARE(ByteAt(DeviceFixture::LastHandedImage(), c.offset), c.value);
            QCOMPARE(ByteAt(DeviceFixture::ImageNow(), c.offset), c.value);
        } else {
            QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
        }
    }

    void failedSendPutsNothingBack() {
        QVERIFY(HidSim::Sleep(mouse_));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        DebouncetimeC debounce;
        Child<QToolButton>(&debounce, "AddLevelA")->click();
        QCOMPARE(Child<QSpinBox>(&debounce, "spinBoxA")->value(), 1);
        SensorEffectB effect;
        Child<QCheckBox>(&effect, "MM2")->click();
        QVERIFY(Child<QCheckBox>(&effect, "MM2")->isChecked());
        SensorRateB rate;
        Child<QCheckBox>(&rate, "Button8000HZ")->click();
        QVERIFY(Child<QCheckBox>(&rate, "Button8000HZ")->isChecked());
        QCOMPARE(DeviceFixture::OfflineNotices(offline), 3);
        QCOMPARE(int(DeviceFixture::ImageNow().KeyDebounceMs), 7);
    }

    void debounceSliderDragShowsOnly() {
        DebouncetimeB panel;
        auto* slider = Child<QSlider>(&panel, "Debunce");
        HidSim::ClearCallLog();
        slider->setSliderDown(true);
        slider->setSliderPosition(15);
        QCOMPARE(Child<QSpinBox>(&panel, "spinBoxA")->value(), 15);
        QVERIFY(!HandedOver());
        panel.SetItemText(0, " ms");
        panel.SetDebounce(4);
        QCOMPARE(Child<QSpinBox>(&panel, "spinBoxA")->text(), QString("4 ms"));
        QVERIFY(!HandedOver());
    }

    void effectVisibility_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("speedShown");
        QTest::addColumn<bool>("brightnessShown");
        QTest::newRow("steady") << "MM1" << false << true;
        QTest::newRow("breathing") << "MM2" << true << false;
        QTest::newRow("off") << "MM3" << false << false;
    }

    void effectVisibility() {
        QFETCH(QString, box);
        QFETCH(bool, speedShown);
        QFETCH(bool, brightnessShown);
        SensorEffectB panel;
        Child<QCheckBox>(&panel, qPrintable(box))->click();
        QCOMPARE(!Child<QSlider>(&panel, "SpeedH")->isHidden(), speedShown);
        QCOMPARE(!Child<QSpinBox>(&panel, "SpeedSpinBox")->isHidden(), speedShown);
        QCOMPARE(!Child<QWidget>(&panel, "line")->isHidden(), !speedShown);
        QCOMPARE(!Child<QSlider>(&panel, "LightH")->isHidden(), brightnessShown);
        QCOMPARE(!Child<QSpinBox>(&panel, "LightSpinBox")->isHidden(), brightnessShown);
        QCOMPARE(!Child<QWidget>(&panel, "line_2")->isHidden(), !brightnessShown);
        // The checked effect clicked again stays checked and sends again.
        HidSim::ClearCallLog();
        Child<QCheckBox>(&panel, qPrintable(box))->click();
        QVERIFY(Child<QCheckBox>(&panel, qPrintable(box))->isChecked());
        QVERIFY(HandedOver());
    }

    void brightnessBytes_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("byte");
        QTest::newRow("1") << 1 << 16;
        QTest::newRow("5") << 5 << 128;
        QTest::newRow("10") << 10 << 255;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("11") << 11 << 0;
    }

    void brightnessBytes() {
        QFETCH(int, level);
        QFETCH(int, byte);
        QCOMPARE(SensorEffectB::BrightnessByte(level), byte);
    }

    void rateFormEightThousandStandsApart() {
        SensorRateB panel;
        Child<QCheckBox>(&panel, "Button1000HZ")->click();
        QSignalSpy hide(PostMsg::GetInstance(), SIGNAL(SigHideModel(int)));
        QSignalSpy report(PostMsg::GetInstance(), SIGNAL(SigAddReport(int)));
        Child<QCheckBox>(&panel, "Button8000HZ")->click();
        QVERIFY(Child<QCheckBox>(&panel, "Button1000HZ")->isChecked());
        QVERIFY(Child<QCheckBox>(&panel, "Button8000HZ")->isChecked());
        QCOMPARE(int(DeviceFixture::ImageNow().ReportRateCode), 64);
        QCOMPARE(hide.count(), 1);
        QCOMPARE(hide.first().at(0).toInt(), 1);
        QCOMPARE(report.count(), 0);
        // Unchecking a box sends nothing.
        HidSim::ClearCallLog();
        Child<QCheckBox>(&panel, "Button8000HZ")->click();
        QVERIFY(!HandedOver());
    }

    void lodFormShortDistance() {
        SensorLODB panel;
        auto* shortBox = Child<QCheckBox>(&panel, "MM0");
        panel.SetLod(2);
        QVERIFY(!shortBox->isChecked());
        panel.AddShortLod();
        QVERIFY(!shortBox->isHidden());
        QCOMPARE(Child<QCheckBox>(&panel, "MM2")->pos(), QPoint(250, 0));
        panel.SetLod(2);
        QVERIFY(shortBox->isChecked());
        shortBox->click();
        QCOMPARE(int(DeviceFixture::ImageNow().LodCode), 3);
        panel.RemoveShortLod();
        QVERIFY(shortBox->isHidden());
        QCOMPARE(Child<QCheckBox>(&panel, "MM1")->pos(), QPoint(80, 0));
    }
};

QTEST_MAIN(TestAlternativePanels)
#include "tst_alternativepanels.moc"
