// The light page against the simulated default devices: its fills, its reset and the receiver's
// indicator mode, each delivered as the device link delivers them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include "DeviceFixture.h"
#include "HelperThread.h"
#include "ProductTables.h"
#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "hidusb/HIDUsb.h"
#include "lighting/LampLight.h"
#include "lighting/LightState.h"
#include "lighting/OneLed.h"

namespace {
void Ignore(const unsigned char*, int, const unsigned char*, int) {}

enum Road { FillA, FillB, Reset };

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(char(v));
    return out;
}

void SetOnline(bool online) {
    std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
    CurrentDevice.Online = online;
}
}  // namespace

class TestLightPage : public QObject {
    Q_OBJECT

private:
    LampLight* page_ = nullptr;

    template <typename T>
    T* Find(const char* name) {
        T* widget = page_->findChild<T*>(name);
        if (!widget) qFatal("no widget %s", name);
        return widget;
    }
    QColor SpinColour(const char* r, const char* g, const char* b) {
        return QColor(Find<QSpinBox>(r)->value(), Find<QSpinBox>(g)->value(), Find<QSpinBox>(b)->value());
    }

private slots:
    void init() {
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(Ignore);
        page_ = new LampLight;
        UiLive = true;
        HidSim::ClearCallLog();
    }
    void cleanup() {
        delete page_;
        page_ = nullptr;
        UsbServer_Exit();
    }

    void fill_data();
    void fill();
    void indicatorMode_data();
    void indicatorMode();
    void panelsOutOfSightStayHidden();
    void installedTexts_data();
    void installedTexts();
    void shortStatusListLeavesDescriptionsEmpty();
    void wheelStopsAtThePage();
};

void TestLightPage::fill_data() {
    QTest::addColumn<int>("road");
    // Image bytes 96..106 and 11.
    QTest::addColumn<QByteArray>("light");
    QTest::addColumn<int>("moving");
    // Receiver records as the receiver holds them; an empty bar means the reads fail and the
    // buffers keep what they held before (the second record then).
    QTest::addColumn<QByteArray>("bar");
    QTest::addColumn<QByteArray>("leds");
    QTest::addColumn<bool>("online");
    // Expected: mouse mode, brightness and speed sliders, spins, colour, moving toggle, sliders on.
    QTest::addColumn<QList<int>>("mouse");
    QTest::addColumn<QColor>("mouseColour");
    QTest::addColumn<bool>("movingOn");
    QTest::addColumn<bool>("slidersOn");
    // Expected DPI indicator: mode, speed slider and box, brightness slider and box.
    QTest::addColumn<QList<int>>("dpi");
    // Expected receiver bar: mode, brightness, speed; LED combos; ticked indicator option.
    QTest::addColumn<QList<int>>("receiver");
    QTest::addColumn<QList<int>>("ledCombos");
    QTest::addColumn<QList<int>>("lastLeds");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("refreshed");

    const QByteArray lit = Bytes({2, 128, 3, 1, 3, 10, 20, 30, 4, 6, 1});
    QTest::newRow("fill A, online") << int(FillA) << lit << 1 << Bytes({2, 1, 2, 3, 9, 0, 1})
                                    << Bytes({3, 0, 2}) << true << QList<int>{3, 7, 5} << QColor(10, 20, 30)
                                    << true << true << QList<int>{2, 3, 3, 5, 5} << QList<int>{2, 1, 10}
                                    << QList<int>{3, 0, 2} << QList<int>{3, 0, 2} << -1 << true;
    // Enable bytes 0 switch both lights off; bytes outside the tables show as the boxes take them.
    QTest::newRow("fill A, offline, lights off")
        << int(FillA) << Bytes({1, 100, 7, 0, 3, 0, 0, 0, 9, 0, 0}) << 0 << Bytes({3, 0, 0, 0, 0, 9, 0})
        << Bytes({0, 0, 0}) << false << QList<int>{0, 1, 10} << QColor(0, 0, 0) << false << true
        << QList<int>{0, 5, 7, 10, 10} << QList<int>{0, 10, 1} << QList<int>{0, 0, 0} << QList<int>{0, 0, 0}
        << 1 << true;
    QTest::newRow("fill B") << int(FillB) << lit << 1 << Bytes({2, 1, 2, 3, 9, 0, 1}) << Bytes({3, 0, 2})
                            << true << QList<int>{3, 7, 5} << QColor(10, 20, 30) << true << false
                            << QList<int>{2, 3, 3, 5, 5} << QList<int>{2, 1, 10} << QList<int>{3, 0, 2}
                            << QList<int>{3, 0, 2} << 1 << false;
    // The reads fail: the buffers keep an LED code 5, which no combo item carries.
    QTest::newRow("fill A, receiver silent")
        << int(FillA) << lit << 0 << QByteArray() << Bytes({5, 1, 1}) << true << QList<int>{3, 7, 5}
        << QColor(10, 20, 30) << false << true << QList<int>{2, 3, 3, 5, 5} << QList<int>{0, 1, 1}
        << QList<int>{-1, 1, 1} << QList<int>{5, 1, 1} << -1 << true;
    QTest::newRow("reset") << int(Reset) << lit << 1 << Bytes({2, 1, 2, 3, 9, 0, 1}) << Bytes({3, 0, 2})
                           << true << QList<int>{1, 10, 8} << QColor() << false << true
                           << QList<int>{0, 3, 3, 5, 5} << QList<int>{1, 10, 8} << QList<int>{0, 0, 0}
                           << QList<int>{0, 0, 0} << 1 << false;
}

void TestLightPage::fill() {
    QFETCH(int, road);
    QFETCH(QByteArray, light);
    QFETCH(int, moving);
    QFETCH(QByteArray, bar);
    QFETCH(QByteArray, leds);
    QFETCH(bool, online);

    const QByteArray path = CurrentDevicePathCopy();
    if (bar.isEmpty()) {
        std::memcpy(&CurrentDongleIndicatorLeds, leds.constData(), 3);
        QVERIFY(HidSim::FailNext(DeviceFixture::ReceiverName(), 2));
    } else {
        QVERIFY(UsbFinderC_SetDongleRGBBarMode(path.constData(),
                                               reinterpret_cast<const uchar*>(bar.constData())));
        QVERIFY(UsbFinderC_SetDongleIndicatorLed(path.constData(),
                                                 reinterpret_cast<const uchar*>(leds.constData())));
    }
    SetOnline(online);
    FlashDataMap image = DeviceFixture::ImageNow();
    std::memcpy(&image.DpiLightMode, light.constData(), 11);
    image.MovingOffLight = uint8_t(moving);
    const FlashDataMap before = DeviceFixture::ImageNow();
    HidSim::ClearCallLog();
    QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);

    PostMsg* hub = PostMsg::GetInstance();
    if (road == FillA) RunOnHelperThread([&] { hub->EmitSigUpDataLightLight(image); });
    if (road == FillB) hub->EmitSigUpDataLightUIA(image);
    if (road == Reset) RunOnHelperThread([&] { hub->EmitSigFormReset(); });

    QFETCH(QList<int>, mouse);
    QFETCH(QColor, mouseColour);
    QFETCH(bool, movingOn);
    QFETCH(bool, slidersOn);
    QCOMPARE(Find<QComboBox>("LightMod")->currentIndex(), mouse[0]);
    QCOMPARE(LastMouseLightMode, mouse[0]);
    QCOMPARE(Find<QSlider>("horizontalLight")->value(), mouse[1]);
    QCOMPARE(Find<QSpinBox>("LightSpinBox_2")->value(), mouse[1]);
    QCOMPARE(Find<QSlider>("horizontalSpeed")->value(), mouse[2]);
    QCOMPARE(Find<QSpinBox>("SpeedSpinBox_2")->value(), mouse[2]);
    if (mouseColour.isValid()) QCOMPARE(SpinColour("RSpinBox", "GSpinBox", "BSpinBox"), mouseColour);
    QCOMPARE(Find<QToolButton>("RippeControl")->isChecked(), movingOn);
    QCOMPARE(Find<QSlider>("horizontalLight")->isEnabled(), slidersOn);
    QCOMPARE(Find<QSlider>("horizontalSpeed")->isEnabled(), slidersOn);
    // Light off hides the sliders behind their grey bars.
    QCOMPARE(Find<QSlider>("horizontalLight")->isHidden(), mouse[0] == 0);

    QFETCH(QList<int>, dpi);
    QCOMPARE(Find<QComboBox>("Model")->currentIndex(), dpi[0]);
    QCOMPARE(Find<QSlider>("SpeedH")->value(), dpi[1]);
    QCOMPARE(Find<QSpinBox>("SpeedSpinBox")->value(), dpi[2]);
    QCOMPARE(Find<QSlider>("LightH")->value(), dpi[3]);
    QCOMPARE(Find<QSpinBox>("LightSpinBox")->value(), dpi[4]);

    QFETCH(QList<int>, receiver);
    QFETCH(QList<int>, ledCombos);
    QFETCH(QList<int>, lastLeds);
    QCOMPARE(Find<QComboBox>("LightMod_2")->currentIndex(), receiver[0]);
    QCOMPARE(LastDongleLightBarMode, receiver[0]);
    QCOMPARE(Find<QSlider>("horizontalLight_2")->value(), receiver[1]);
    QCOMPARE(Find<QSpinBox>("LightSpinBox_3")->value(), receiver[1]);
    QCOMPARE(LastDongleLightBarBrightness, receiver[1]);
    QCOMPARE(Find<QSlider>("horizontalSpeed_2")->value(), receiver[2]);
    QCOMPARE(LastDongleLightBarSpeed, receiver[2]);
    if (road != Reset && !bar.isEmpty())
        QCOMPARE(SpinColour("RSpinBox_2", "GSpinBox_2", "BSpinBox_2"),
                 QColor(uchar(bar[1]), uchar(bar[2]), uchar(bar[3])));
    QCOMPARE((QList<int>{Find<QComboBox>("LightMod_3")->currentIndex(),
                         Find<QComboBox>("LightMod_4")->currentIndex(),
                         Find<QComboBox>("LightMod_5")->currentIndex()}),
             ledCombos);
    QCOMPARE((QList<int>{LastLed1Function, LastLed2Function, LastLed3Function}), lastLeds);

    QFETCH(int, option);
    QFETCH(bool, refreshed);
    QCOMPARE(Find<OneLed>("FrameOneLed")->SelectedOption(), option);
    QCOMPARE(bool(LightPageRefreshed), refreshed);
    QVERIFY(!LightPageRefreshing);

    // A fill only reads: nothing reaches the mouse or the receiver, and no notice opens.
    const QString log = HidSim::CallLog().join('\n');
    QVERIFY2(!log.contains("ProtocolDataUpdate"), qPrintable(log));
    QVERIFY2(!log.contains("UsbFinderC_Set"), qPrintable(log));
    QCOMPARE(offline.count(), 0);
    const FlashDataMap after = DeviceFixture::ImageNow();
    QVERIFY(std::memcmp(&before, &after, sizeof before) == 0);
    if (road == Reset) QVERIFY2(!log.contains("UsbFinderC_Get"), qPrintable(log));
}

void TestLightPage::indicatorMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("adveanced");
    QTest::addColumn<bool>("isUsb");
    QTest::addColumn<int>("option");

    for (int mode = 0; mode <= 4; ++mode) {
        const int shown = mode >= 1 && mode <= 3 ? mode - 1 : 0;
        QTest::addRow("mode %d, offered", mode) << mode << "1,2" << false << shown;
        QTest::addRow("mode %d, not offered", mode) << mode << "1,-1" << false << 0;
        QTest::addRow("mode %d, no item 1", mode) << mode << "1" << false << 0;
        QTest::addRow("mode %d, on its cable", mode) << mode << "1,2" << true << 0;
    }
}

void TestLightPage::indicatorMode() {
    QFETCH(int, mode);
    QFETCH(QString, adveanced);
    QFETCH(bool, isUsb);
    QFETCH(int, option);

    QCOMPARE(CurrentDeviceCopy().DriveIndex, 0);
    ConfigIni::ResetForTest(ProductTables::Write("light", "Adveanced=" + adveanced));
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        CurrentDevice.IsUsb = isUsb;
    }
    Find<OneLed>("FrameOneLed")->SelectOptionSilently(0);
    ReceiverRgb.Mode = uint8_t(mode);
    HidSim::ClearCallLog();
    RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigRGBValue(&ReceiverRgb); });

    QCOMPARE(Find<OneLed>("FrameOneLed")->SelectedOption(), option);
    QVERIFY(Find<OneLed>("FrameOneLed")->isHidden());
    // The receiver reported this mode: nothing is written back.
    QVERIFY(!HidSim::CallLog().join('\n').contains("Set4KDongleRGB"));
}

void TestLightPage::panelsOutOfSightStayHidden() {
    const FlashDataMap image = DeviceFixture::ImageNow();
    PostMsg* hub = PostMsg::GetInstance();
    RunOnHelperThread([&] {
        hub->EmitSigUpDataLightLight(image);
        hub->EmitSigForm();
        hub->EmitSigFormReset();
    });
    hub->EmitSigUpDataLightUIA(image);
    hub->EmitSigFormB();
    QVERIFY(Find<QWidget>("FrameOneLed")->isHidden());
    QCOMPARE(Find<QTabWidget>("tabWidget")->currentIndex(), 0);
    QVERIFY(Find<QTabWidget>("tabWidget")->tabBar()->isHidden());
}

void TestLightPage::wheelStopsAtThePage() {
    QWidget parent;
    page_->setParent(&parent);
    struct Spy : QObject {
        int wheels = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Wheel) ++wheels;
            return false;
        }
    } spy;
    parent.installEventFilter(&spy);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(page_, &wheel);
    QCOMPARE(spy.wheels, 0);
    page_->setParent(nullptr);
}

void TestLightPage::installedTexts_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Czech") << 1;
}

// Every text the page shows comes from the installed language files, in both languages.
void TestLightPage::installedTexts() {
    QFETCH(int, language);
    LoadLanguageFiles();
    PostMsg::GetInstance()->EmitSigAllLanguage(language);
    const auto text = [language](const TextTable& table, const char* key) {
        const QString found = LanguageText(table, language, key);
        if (found.isEmpty()) qWarning("no text for %s", key);
        return found;
    };
    const auto label = [this](const char* name) { return Find<QLabel>(name)->text(); };
    QCOMPARE(label("label"), text(MouseLightTexts, "DPIEffect"));
    QCOMPARE(label("label_2"), text(MouseLightTexts, "Brightness"));
    QCOMPARE(label("label_3"), text(MouseLightTexts, "Speed"));
    QCOMPARE(label("label_4"), text(MouseLightTexts, "MovingOffLight"));
    QCOMPARE(label("label_6"), text(MouseLightTexts, "Preview"));
    QCOMPARE(label("label_8"), text(MouseLightTexts, "CustomColor"));
    QCOMPARE(label("label_13"), text(MouseLightTexts, "Preset"));
    QCOMPARE(label("label_9"), text(MouseLightTexts, "receiverLight"));
    QCOMPARE(label("label_16"), text(MouseLightTexts, "receiver"));
    QCOMPARE(label("label_28"), text(MouseLightTexts, "PreviewLightsTips"));
    QCOMPARE(label("label_49"), text(MouseLightTexts, "default"));
    QCOMPARE(label("label_35"), text(MouseStatusDescriptionLabels, "#42e81b"));
    QCOMPARE(label("label_38"), text(MouseStatusDescriptionLabels, "#f52c17"));
    QCOMPARE(label("label_29"), text(MouseReceiverLabels, "3"));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(Find<QComboBox>("LightMod")->itemText(i),
                 text(MouseLightModeLabels, QByteArray::number(i).constData()));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(Find<QComboBox>("Model")->itemText(i),
                 text(MouseDpiEffectLabels, QByteArray::number(i).constData()));
    for (int i = 0; i < 4; ++i) QVERIFY(!Find<QComboBox>("LightMod_5")->itemText(i).isEmpty());
    const TextPairs pairs = ReceiverStatusPairs(language);
    QCOMPARE(pairs.size(), 3);
    QCOMPARE(Find<QTextEdit>("textEdit_4")->toPlainText(), pairs[2].first + pairs[2].second);
    // The heading above the colour board reads as a custom colour, the one above the swatch as a preview.
    QVERIFY(label("label_6") != label("label_8"));
}

void TestLightPage::shortStatusListLeavesDescriptionsEmpty() {
    MouseReceiverStatusPairs = {TextPairs{{"A", "a"}}, TextPairs{}};
    PostMsg::GetInstance()->EmitSigAllLanguage(0);
    QCOMPARE(Find<QTextEdit>("textEdit_2")->toPlainText(), QString("Aa"));
    QCOMPARE(Find<QTextEdit>("textEdit_3")->toPlainText(), QString());
    PostMsg::GetInstance()->EmitSigAllLanguage(1);
    QCOMPARE(Find<QTextEdit>("textEdit_2")->toPlainText(), QString());
    QCOMPARE(Find<QTextEdit>("textEdit_4")->toPlainText(), QString());
}

QTEST_MAIN(TestLightPage)
#include "tst_lightpage.moc"
