// The light page's controls against the simulated default devices: what each change sends, and what
// a control shows when the mouse is asleep, when the device refuses once and before the window is
// live. Then the colour editor and the screen colour picker.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "Child.h"
#include "DeviceFixture.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "hidusb/HIDUsb.h"
#include "lighting/ColorEditor.h"
#include "lighting/LampLight.h"
#include "lighting/LightState.h"
#include "lighting/OneLed.h"
#include "platform/ScreenMetrics.h"

namespace {
void Ignore(const unsigned char*, int, const unsigned char*, int) {}

enum Condition { Online, Asleep, RefusedOnce, NotLive };
enum Side { Mouse, Receiver };

FlashDataMap MouseFlash() {
    FlashDataMap image{};
    const QByteArray flash = HidSim::Flash(DeviceFixture::MouseName());
    ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &image);
    return image;
}

QByteArray ReceiverRecord(bool (*get)(const char*, unsigned char*), int size) {
    QByteArray record(size, '\0');
    get(CurrentDevicePathCopy().constData(), reinterpret_cast<unsigned char*>(record.data()));
    return record;
}
QByteArray Bar() {
    return ReceiverRecord(UsbFinderC_GetDongleRGBBarMode, 7);
}
QByteArray Leds() {
    return ReceiverRecord(UsbFinderC_GetDongleIndicatorLed, 3);
}
QByteArray Rgb() {
    return ReceiverRecord(UsbFinderC_Get4KDongleRGBValue, 10);
}

// One user control: the change it makes, whether the device holds the new value, whether the
// control shows the new value (a mouse slider's level box follows only while the window is live)
// and whether it shows the value from before.
struct Control {
    const char* Name;
    Side Talks;
    std::function<void(QWidget*)> Change;
    std::function<bool()> DeviceHasNew;
    std::function<bool(QWidget*)> ShowsNew;
    std::function<bool(QWidget*)> ShowsOld;
};

int Index(QWidget* page, const char* name) {
    return Child<QComboBox>(page, name)->currentIndex();
}
int Value(QWidget* page, const char* name) {
    return page->findChild<QSpinBox*>(name) ? Child<QSpinBox>(page, name)->value()
                                            : Child<QSlider>(page, name)->value();
}

const QList<Control>& Controls() {
    static const QList<Control> controls{
        {"DPI light mode", Mouse, [](QWidget* p) { Child<QComboBox>(p, "Model")->setCurrentIndex(1); },
         [] { return MouseFlash().DpiLightMode == 1 && MouseFlash().DpiLightEnable == 1; },
         [](QWidget* p) { return Index(p, "Model") == 1; },
         [](QWidget* p) { return Index(p, "Model") == 2; }},
        {"DPI light brightness", Mouse, [](QWidget* p) { Child<QSlider>(p, "LightH")->setValue(7); },
         [] { return MouseFlash().DpiLightBrightness == 180; },
         [](QWidget* p) { return Value(p, "LightH") == 7 && (Value(p, "LightSpinBox") == 7 || !UiLive); },
         [](QWidget* p) { return Value(p, "LightH") == 5 && Value(p, "LightSpinBox") == 5; }},
        {"DPI light speed", Mouse, [](QWidget* p) { Child<QSlider>(p, "SpeedH")->setValue(4); },
         [] { return MouseFlash().DpiLightSpeed == 4; },
         [](QWidget* p) { return Value(p, "SpeedH") == 4 && (Value(p, "SpeedSpinBox") == 4 || !UiLive); },
         [](QWidget* p) { return Value(p, "SpeedH") == 3 && Value(p, "SpeedSpinBox") == 3; }},
        {"mouse light mode", Mouse, [](QWidget* p) { Child<QComboBox>(p, "LightMod")->setCurrentIndex(2); },
         [] { return MouseFlash().MouseLightMode == 2 && MouseFlash().MouseLightEnable == 1; },
         [](QWidget* p) { return Index(p, "LightMod") == 2; },
         [](QWidget* p) { return Index(p, "LightMod") == 3; }},
        {"mouse light off", Mouse, [](QWidget* p) { Child<QComboBox>(p, "LightMod")->setCurrentIndex(0); },
         [] { return MouseFlash().MouseLightEnable == 0 && MouseFlash().MovingOffLight == 0; },
         [](QWidget* p) {
             return Index(p, "LightMod") == 0 && Child<QSlider>(p, "horizontalLight")->isHidden();
         },
         [](QWidget* p) {
             return Index(p, "LightMod") == 3 && Child<QToolButton>(p, "RippeControl")->isChecked() &&
                    !Child<QSlider>(p, "horizontalLight")->isHidden();
         }},
        {"mouse light brightness", Mouse,
         [](QWidget* p) { Child<QSlider>(p, "horizontalLight")->setValue(3); },
         [] { return MouseFlash().MouseLightBrightness == 2; },
         [](QWidget* p) {
             return Value(p, "horizontalLight") == 3 && (Value(p, "LightSpinBox_2") == 3 || !UiLive);
         },
         [](QWidget* p) { return Value(p, "horizontalLight") == 7 && Value(p, "LightSpinBox_2") == 7; }},
        {"mouse light speed", Mouse, [](QWidget* p) { Child<QSlider>(p, "horizontalSpeed")->setValue(9); },
         [] { return MouseFlash().MouseLightSpeed == 8; },
         [](QWidget* p) {
             return Value(p, "horizontalSpeed") == 9 && (Value(p, "SpeedSpinBox_2") == 9 || !UiLive);
         },
         [](QWidget* p) { return Value(p, "horizontalSpeed") == 5 && Value(p, "SpeedSpinBox_2") == 5; }},
        {"mouse light red", Mouse, [](QWidget* p) { Child<QSpinBox>(p, "RSpinBox")->setValue(200); },
         [] { return MouseFlash().MouseLightRed == 200; },
         [](QWidget* p) { return Value(p, "RSpinBox") == 200; },
         [](QWidget* p) { return Value(p, "RSpinBox") == DeviceFixture::ImageNow().MouseLightRed; }},
        {"lights off while moving", Mouse, [](QWidget* p) { Child<QToolButton>(p, "RippeControl")->click(); },
         [] { return MouseFlash().MovingOffLight == 0; },
         [](QWidget* p) { return !Child<QToolButton>(p, "RippeControl")->isChecked(); },
         [](QWidget* p) { return Child<QToolButton>(p, "RippeControl")->isChecked(); }},
        {"receiver bar mode", Receiver,
         [](QWidget* p) { Child<QComboBox>(p, "LightMod_2")->setCurrentIndex(3); },
         [] { return uchar(Bar().at(0)) == 3 && uchar(Bar().at(6)) == 1; },
         [](QWidget* p) { return Index(p, "LightMod_2") == 3; },
         [](QWidget* p) { return Index(p, "LightMod_2") == 1 && CurrentDongleLightBar.Mode == 1; }},
        {"receiver bar brightness", Receiver,
         [](QWidget* p) { Child<QSlider>(p, "horizontalLight_2")->setValue(4); },
         [] { return uchar(Bar().at(5)) == 3; },
         [](QWidget* p) { return Value(p, "horizontalLight_2") == 4 && Value(p, "LightSpinBox_3") == 4; },
         [](QWidget* p) {
             return Value(p, "horizontalLight_2") == 10 && Value(p, "LightSpinBox_3") == 10 &&
                    CurrentDongleLightBar.Brightness == 9;
         }},
        {"receiver bar green", Receiver, [](QWidget* p) { Child<QSpinBox>(p, "GSpinBox_2")->setValue(77); },
         [] { return uchar(Bar().at(2)) == 77; }, [](QWidget* p) { return Value(p, "GSpinBox_2") == 77; },
         [](QWidget* p) { return Value(p, "GSpinBox_2") == 0 && CurrentDongleLightBar.Green == 0; }},
        {"receiver LED 2", Receiver,
         [](QWidget* p) { Child<QComboBox>(p, "LightMod_4")->setCurrentIndex(1); },
         [] { return uchar(Leds().at(1)) == 1; }, [](QWidget* p) { return Index(p, "LightMod_4") == 1; },
         [](QWidget* p) {
             return Index(p, "LightMod_4") == 2 && CurrentDongleIndicatorLeds.Led2Function == 2;
         }},
        {"receiver indicator", Receiver, [](QWidget* p) { Child<QCheckBox>(p, "ReUntil_3")->click(); },
         [] { return uchar(Rgb().at(0)) == 3; },
         [](QWidget* p) { return Child<OneLed>(p, "FrameOneLed")->SelectedOption() == 2; },
         [](QWidget* p) {
             return Child<QCheckBox>(p, "ReUntil_2")->isChecked() &&
                    !Child<QCheckBox>(p, "ReUntil_3")->isChecked() && ReceiverRgb.Mode == 2;
         }},
    };
    return controls;
}
}  // namespace

class TestLightPanels : public QObject {
    Q_OBJECT

private:
    LampLight* page_ = nullptr;

private slots:
    void init() {
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(Ignore);
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            FlashDataMap& m = CurrentFlashData;
            m.DpiLightMode = 2, m.DpiLightBrightness = 128, m.DpiLightSpeed = 3, m.DpiLightEnable = 1;
            m.MouseLightMode = 3, m.MouseLightRed = 10, m.MouseLightGreen = 20, m.MouseLightBlue = 30;
            m.MouseLightSpeed = 4, m.MouseLightBrightness = 6, m.MouseLightEnable = 1, m.MovingOffLight = 1;
        }
        const FlashDataMap image = DeviceFixture::ImageNow();
        QVERIFY(ProtocolDataUpdate(&image));
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice.Online = true;
        }
        UsbFinderC_Get4KDongleRGBValue(CurrentDevicePathCopy().constData(),
                                       reinterpret_cast<unsigned char*>(&ReceiverRgb));
        page_ = new LampLight;
        page_->SlotUpDataLightUILight(image);
        page_->findChild<OneLed*>("FrameOneLed")->SelectOptionSilently(ReceiverRgb.Mode - 1);
        HidSim::ClearCallLog();
    }
    void cleanup() {
        delete page_;
        page_ = nullptr;
        ScreenMetrics::SetGrabOverride(nullptr);
        ScreenMetrics::SetOverrides(0, 0);
        UsbServer_Exit();
    }

    void send_data();
    void send();
    void plusAndMinusStopAtTheEnds_data();
    void plusAndMinusStopAtTheEnds();
    void presetSendsTheWholeColourOnce_data();
    void presetSendsTheWholeColourOnce();
    void colourActRefusedShowsTheMouseColour_data();
    void colourActRefusedShowsTheMouseColour();
    void typingSendsOncePerKeystroke();
    void pickerGrabsAtTheCursor();
    void channelBoxesShareOneFont_data();
    void channelBoxesShareOneFont();
    void pickerActsOnlyOnAShownBoard_data();
    void pickerActsOnlyOnAShownBoard();
    void ledRefusedRestoresOnlyItsByte();
    void pageBuiltWhileLiveSendsNothing();
};

void TestLightPanels::send_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("condition");
    for (int c = 0; c < Controls().size(); ++c) {
        const char* name = Controls()[c].Name;
        QTest::addRow("%s, online", name) << c << int(Online);
        QTest::addRow("%s, mouse asleep", name) << c << int(Asleep);
        QTest::addRow("%s, refused once", name) << c << int(RefusedOnce);
        QTest::addRow("%s, window not live", name) << c << int(NotLive);
    }
}

void TestLightPanels::send() {
    QFETCH(int, control);
    QFETCH(int, condition);
    const Control& c = Controls()[control];
    UiLive = condition != NotLive;
    if (condition == Asleep) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
    if (condition == RefusedOnce)
        QVERIFY(HidSim::FailNext(
            c.Talks == Mouse ? DeviceFixture::MouseName() : DeviceFixture::ReceiverName(), 1));
    const FlashDataMap imageBefore = DeviceFixture::ImageNow();
    QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);

    c.Change(page_);

    // The receiver's records do not need the mouse; the indicator and the LEDs ask for it.
    const bool receiverWithoutMouse = c.Talks == Receiver && QByteArray(c.Name) != "receiver indicator";
    const bool reaches = condition == Online || (condition == Asleep && receiverWithoutMouse);
    QCOMPARE(c.DeviceHasNew(), reaches);
    if (reaches || condition == NotLive)
        QVERIFY(c.ShowsNew(page_));
    else
        QVERIFY(c.ShowsOld(page_));
    const bool asksForMouse = c.Talks == Mouse || QByteArray(c.Name) == "receiver indicator" ||
                              QByteArray(c.Name) == "receiver LED 2";
    // A mouse that refuses the image while it answers gets the not-taken notice, not the offline one.
    const bool refusedByMouse = condition == RefusedOnce && c.Talks == Mouse;
    QCOMPARE(offline.count(), (condition == Asleep && asksForMouse) || refusedByMouse ? 1 : 0);
    if (refusedByMouse) QCOMPARE(offline.at(0).at(0).toInt(), int(NoticeNotTaken));
    const FlashDataMap imageAfter = DeviceFixture::ImageNow();
    if (condition == Asleep || condition == NotLive || refusedByMouse)
        QVERIFY(std::memcmp(&imageBefore, &imageAfter, sizeof imageBefore) == 0);
    if (condition == NotLive) QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
    const FlashDataMap handed = DeviceFixture::LastHandedImage();
    if (condition == Online && c.Talks == Mouse)
        QVERIFY(std::memcmp(&imageAfter, &handed, sizeof handed) == 0);
}

void TestLightPanels::plusAndMinusStopAtTheEnds_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("plus") << "AddG"
                          << "GSpinBox" << 254 << 255;
    QTest::newRow("plus at 255") << "AddG"
                                 << "GSpinBox" << 255 << 255;
    QTest::newRow("minus") << "ReduceB"
                           << "BSpinBox" << 1 << 0;
    QTest::newRow("minus at 0") << "ReduceB"
                                << "BSpinBox" << 0 << 0;
}

void TestLightPanels::plusAndMinusStopAtTheEnds() {
    QFETCH(QString, button);
    QFETCH(QString, spin);
    QFETCH(int, start);
    QFETCH(int, expected);
    UiLive = true;
    QSpinBox* box = page_->findChild<QSpinBox*>(spin);
    box->setValue(start);
    HidSim::ClearCallLog();
    page_->findChild<QToolButton*>(button)->click();
    QCOMPARE(box->value(), expected);
    QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), start == expected ? 0 : 1);
    const FlashDataMap flash = MouseFlash();
    QCOMPARE(int(spin == "GSpinBox" ? flash.MouseLightGreen : flash.MouseLightBlue), expected);
}

void TestLightPanels::presetSendsTheWholeColourOnce_data() {
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QColor>("start");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("writes");
    QTest::newRow("blue to A") << "toolButtonColorA" << QColor(0, 0, 255) << QColor(255, 0, 0) << 1;
    QTest::newRow("red to B") << "toolButtonColorB" << QColor(255, 0, 0) << QColor(0, 255, 255) << 1;
    QTest::newRow("equal") << "toolButtonColorA" << QColor(255, 0, 0) << QColor(255, 0, 0) << 0;
    QTest::newRow("black to K") << "toolButtonColorK" << QColor(0, 0, 0) << QColor(255, 255, 255) << 1;
}

// One click, one write of the whole colour: the mouse is never handed a colour between the old and
// the new one, and the spins and the swatch show the new one.
void TestLightPanels::presetSendsTheWholeColourOnce() {
    QFETCH(QString, preset);
    QFETCH(QColor, start);
    QFETCH(QColor, colour);
    QFETCH(int, writes);
    UiLive = false;
    page_->findChild<QSpinBox*>("RSpinBox")->setValue(start.red());
    page_->findChild<QSpinBox*>("GSpinBox")->setValue(start.green());
    page_->findChild<QSpinBox*>("BSpinBox")->setValue(start.blue());
    UiLive = true;
    QVERIFY(SetMouseLightColor(start.red(), start.green(), start.blue()));
    // Each hand-over is seen as the mouse receives it, whichever spin moves first.
    QList<QColor> seen;
    QObject probe;
    const auto record = [&seen] {
        const FlashDataMap last = DeviceFixture::LastHandedImage();
        seen << QColor(last.MouseLightRed, last.MouseLightGreen, last.MouseLightBlue);
    };
    for (const char* name : {"RSpinBox", "GSpinBox", "BSpinBox"})
        connect(page_->findChild<QSpinBox*>(name), QOverload<int>::of(&QSpinBox::valueChanged), &probe,
                record);
    HidSim::ClearCallLog();
    page_->findChild<QToolButton*>(preset)->click();
    QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), writes);
    for (const QColor& handed : seen) QCOMPARE(handed, colour);
    const FlashDataMap flash = MouseFlash();
    QCOMPARE(QColor(flash.MouseLightRed, flash.MouseLightGreen, flash.MouseLightBlue), colour);
    QCOMPARE(QColor(page_->findChild<QSpinBox*>("RSpinBox")->value(),
                    page_->findChild<QSpinBox*>("GSpinBox")->value(),
                    page_->findChild<QSpinBox*>("BSpinBox")->value()),
             colour);
    QCOMPARE(page_->findChild<QLabel*>("labelPreView")->styleSheet(),
             ColorEditor::SwatchSheet(colour.red(), colour.green(), colour.blue()));
}

namespace {
// Records the style sheets a widget takes on.
class StyleProbe : public QObject {
public:
    explicit StyleProbe(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    QStringList Seen;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched_ && event->type() == QEvent::StyleChange) Seen << watched_->styleSheet();
        return false;
    }

private:
    QWidget* watched_;
};
}  // namespace

void TestLightPanels::colourActRefusedShowsTheMouseColour_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("preset C over blue") << "toolButtonColorC";
    QTest::newRow("preset K over blue") << "toolButtonColorK";
    QTest::newRow("plus on green") << "AddG";
}

// A mouse that refuses several times in a row: one act, one notice, and neither the spins nor the swatch
// show any colour but the one the mouse keeps.
void TestLightPanels::colourActRefusedShowsTheMouseColour() {
    QFETCH(QString, button);
    UiLive = true;
    QVERIFY(SetMouseLightColor(0, 0, 255));
    page_->SlotUpDataLightUILight(DeviceFixture::ImageNow());
    const FlashDataMap before = DeviceFixture::ImageNow();
    QVERIFY(HidSim::FailNext(DeviceFixture::MouseName(), 3));
    QLabel* swatch = page_->findChild<QLabel*>("labelPreView");
    StyleProbe probe(swatch);
    QList<int> spinValues;
    QObject context;
    for (const char* name : {"RSpinBox", "GSpinBox", "BSpinBox"})
        connect(page_->findChild<QSpinBox*>(name), QOverload<int>::of(&QSpinBox::valueChanged), &context,
                [&spinValues](int value) { spinValues << value; });
    QSignalSpy notices(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);

    page_->findChild<QToolButton*>(button)->click();

    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toInt(), int(NoticeNotTaken));
    QCOMPARE(spinValues, QList<int>{});
    const QString blue = ColorEditor::SwatchSheet(0, 0, 255);
    for (const QString& sheet : probe.Seen) QCOMPARE(sheet, blue);
    QCOMPARE(swatch->styleSheet(), blue);
    QCOMPARE(page_->findChild<QSpinBox*>("GSpinBox")->value(), 0);
    QCOMPARE(page_->findChild<QSpinBox*>("BSpinBox")->value(), 255);
    QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
    const FlashDataMap flash = MouseFlash();
    QCOMPARE(QColor(flash.MouseLightRed, flash.MouseLightGreen, flash.MouseLightBlue), QColor(0, 0, 255));
}

void TestLightPanels::typingSendsOncePerKeystroke() {
    UiLive = true;
    QSpinBox* red = page_->findChild<QSpinBox*>("RSpinBox");
    QList<int> handed;
    QObject probe;
    connect(red, QOverload<int>::of(&QSpinBox::valueChanged), &probe,
            [&handed] { handed << DeviceFixture::LastHandedImage().MouseLightRed; });
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, "128");
    QCOMPARE(handed, (QList<int>{1, 12, 128}));
    QCOMPARE(int(MouseFlash().MouseLightRed), 128);
}

void TestLightPanels::pickerGrabsAtTheCursor() {
    UiLive = true;
    page_->findChild<QComboBox*>("LightMod")->setCurrentIndex(2);  // shows the colour board
    QPoint grabbedAt(-1, -1);
    // A desktop of twice as many pixels as the toolkit's coordinates (a 4K screen scaled by 2): the
    // grab still goes where the cursor stands, in the toolkit's coordinates.
    ScreenMetrics::SetOverrides(2 * QGuiApplication::primaryScreen()->geometry().width(), 0);
    ScreenMetrics::SetGrabOverride([&grabbedAt](int x, int y, int w, int h) {
        grabbedAt = QPoint(x, y);
        QPixmap pixmap(w, h);
        pixmap.fill(QColor(12, 34, 56));
        return pixmap;
    });
    QCursor::setPos(100, 200);
    if (QCursor::pos() != QPoint(100, 200)) QSKIP("this platform does not move the cursor");
    QWidget* panel = page_->findChild<QWidget*>("FrameMouseLight");
    QLabel* board = page_->findChild<QLabel*>("label_7");
    HidSim::ClearCallLog();
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, board->geometry().bottomRight());
    QCOMPARE(grabbedAt, QPoint(100, 200));
    // The picked colour goes to the mouse whole, in one write.
    QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), 1);
    const FlashDataMap flash = MouseFlash();
    QCOMPARE(QColor(flash.MouseLightRed, flash.MouseLightGreen, flash.MouseLightBlue), QColor(12, 34, 56));
}

void TestLightPanels::channelBoxesShareOneFont_data() {
    QTest::addColumn<QString>("suffix");
    QTest::newRow("mouse light") << "";
    QTest::newRow("receiver light bar") << "_2";
}

// The red, green and blue boxes of a colour editor write their numbers alike.
void TestLightPanels::channelBoxesShareOneFont() {
    QFETCH(QString, suffix);
    const QFont red = page_->findChild<QSpinBox*>("RSpinBox" + suffix)->font();
    for (const char* box : {"GSpinBox", "BSpinBox"})
        QCOMPARE(page_->findChild<QSpinBox*>(box + suffix)->font(), red);
}

void TestLightPanels::pickerActsOnlyOnAShownBoard_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("nullGrab");
    QTest::newRow("board hidden") << 1 << false;
    QTest::newRow("no pixel") << 2 << true;
}

void TestLightPanels::pickerActsOnlyOnAShownBoard() {
    QFETCH(int, mode);
    QFETCH(bool, nullGrab);
    UiLive = true;
    page_->findChild<QComboBox*>("LightMod")->setCurrentIndex(mode);
    int grabs = 0;
    ScreenMetrics::SetGrabOverride([&grabs, nullGrab](int, int, int w, int h) {
        ++grabs;
        if (nullGrab) return QPixmap();
        QPixmap pixmap(w, h);
        pixmap.fill(Qt::white);
        return pixmap;
    });
    const QColor before(10, 20, 30);
    HidSim::ClearCallLog();
    QWidget* panel = page_->findChild<QWidget*>("FrameMouseLight");
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier,
                      page_->findChild<QLabel*>("label_7")->geometry().center());
    QCOMPARE(grabs, nullGrab ? 1 : 0);
    QCOMPARE(QColor(page_->findChild<QSpinBox*>("RSpinBox")->value(),
                    page_->findChild<QSpinBox*>("GSpinBox")->value(),
                    page_->findChild<QSpinBox*>("BSpinBox")->value()),
             before);
    QVERIFY(!HidSim::CallLog().join('\n').contains("ProtocolDataUpdate"));
}

void TestLightPanels::ledRefusedRestoresOnlyItsByte() {
    UiLive = true;
    const QByteArray before = Leds();
    QVERIFY(HidSim::FailNext(DeviceFixture::ReceiverName(), 1));
    page_->findChild<QComboBox*>("LightMod_4")->setCurrentIndex(0);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&CurrentDongleIndicatorLeds), 3), before);
    QCOMPARE(Leds(), before);
    QCOMPARE(page_->findChild<QComboBox*>("LightMod_4")->currentIndex(), int(uchar(before[1])));
}

void TestLightPanels::pageBuiltWhileLiveSendsNothing() {
    UiLive = true;
    HidSim::ClearCallLog();
    LampLight second;
    QVERIFY(second.findChild<QSlider*>("horizontalLight")->isHidden());
    const QString log = HidSim::CallLog().join('\n');
    QVERIFY2(!log.contains("ProtocolDataUpdate") && !log.contains("UsbFinderC_Set"), qPrintable(log));
}

QTEST_MAIN(TestLightPanels)
#include "tst_lightpanels.moc"
