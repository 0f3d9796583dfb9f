// Every control that sends, on every page of the real device window, with a mouse that refuses several
// times in a row and with a mouse asleep: one user act gets one notice, the page shows again what the
// mouse holds, and neither the settings image nor the mouse's flash changes.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <cstring>
#include <functional>

#include "Child.h"
#include "DeviceFixture.h"
#include "HelperThread.h"
#include "MacroPageFixture.h"
#include "RoadFixture.h"
#include "TestEnv.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "buttons/Buttoninterface.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/FileChooser.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/UpDataParam.h"
#include "home/DialogChange.h"
#include "lighting/LampLight.h"
#include "sensor/Advanced.h"
#include "sensor/Sensor.h"
#include "sensor/SensorDPI.h"
#include "sensor/SensorHeader.h"
#include "settings/FormSetting.h"
#include "widgets/MyConmboBox.h"
#include "widgets/MySlider.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;

// The next item of a combo box, as a user picks it.
void NextItem(QWidget* page, const char* name) {
    auto* combo = Child<QComboBox>(page, name);
    combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
}

// A slider released at a value other than its own.
void ReleaseSlider(QWidget* page, const char* name) {
    auto* slider = Child<QAbstractSlider>(page, name);
    slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->maximum());
}

void Click(QWidget* page, const char* name) {
    Child<QAbstractButton>(page, name)->click();
}

void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// The level marker of the DPI panel dragged one level to the right of the current one.
void DragMarker(QWidget* page) {
    auto* panel = page->findChild<SensorDPI*>();
    const QPoint at = Child<QLabel>(panel, "label_8")->pos() + QPoint(15, 15);
    SendMouse(panel, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(panel, QEvent::MouseMove, at + QPoint(95, 0), Qt::LeftButton);
    SendMouse(panel, QEvent::MouseButtonRelease, at + QPoint(95, 0), Qt::NoButton);
}

// The colour swatch of another level than the current one: it selects that level, and once the level
// is taken it opens the level's colour dialog; a level not taken leaves the dialog shut.
void ClickSwatch(QWidget* page) {
    auto* panel = page->findChild<SensorDPI*>();
    Click(panel, "RedButtonA");
    for (QColorDialog* dialog : panel->findChildren<QColorDialog*>()) QVERIFY(!dialog->isVisible());
}

// The DPI slider's handle taken, moved and let go, as a drag does; the box follows the handle while the
// mouse answers.
void DragDpiSlider(QWidget* page, int to) {
    auto* slider = Child<QAbstractSlider>(page, "horizontalSliderC");
    slider->setSliderDown(true);
    slider->setSliderPosition(to);
    slider->setSliderDown(false);
}

// The current level's value dragged to a point between two steps, taken by the mouse: the handle stands
// off the step that the box and the level show.
void DragCurrentLevel(QWidget* page) {
    DragDpiSlider(page, 4637);
    QCOMPARE(Child<QSpinBox>(page, "spinBoxA")->value(), 4600);
}

// A drag of the DPI slider's handle by the pointer, through the window as the window system delivers it.
void DragDpiHandle(QWidget* page) {
    auto* slider = Child<MySlider>(page, "horizontalSliderC");
    QWidget* window = page->window();
    const QPoint windowAt = window->pos();
    const QPoint from = slider->mapTo(window, slider->HandleRect().center());
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window->windowHandle(), from + QPoint(40 * step, 10 * step));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, from + QPoint(160, 40));
    QCOMPARE(window->pos(), windowAt);
}

enum Page { ButtonPage, SensorPage, AdvancedPage, LightPage, SettingsPage };

// The profile chooser of the button page, picked as a user picks it.
void PickProfile(QWidget* page) {
    auto* combo = Child<MyConmboBox>(page, "ProjectChoose");
    combo->PressIndex = combo->currentIndex();
    const int next = (combo->currentIndex() + 1) % combo->count();
    combo->setCurrentIndex(next);
    emit combo->activated(next);
}

// An item of a combo box that acts on activation, picked as a user picks it.
void ActivateNext(QWidget* page, const char* name) {
    auto* combo = Child<QComboBox>(page, name);
    const int next = (combo->currentIndex() + 1) % combo->count();
    combo->setCurrentIndex(next);
    emit combo->activated(next);
}

// A row of the button page selected, as a click on it does: the chooser opens on the row's function.
void SelectRow(QWidget* page) {
    Click(page, "RightKey");
}

// A chooser entry of the button page clicked after the entry that opens its list.
std::function<void(QWidget*)> ClickIn(const char* list, const char* entry) {
    return [list, entry](QWidget* p) {
        Click(p, list);
        Click(p, entry);
    };
}

// The macro of the page's macro list clicked after the entry that opens the list.
void ClickMacro(QWidget* page) {
    Click(page, "DPI_10");
    for (QToolButton* button : page->findChildren<QToolButton*>())
        if (button->text() == "Fire" && !button->isHidden()) return button->click();
    qFatal("no macro button");
}

struct Control {
    const char* Name;
    Page On;
    std::function<void(QWidget*)> Act;
    std::function<void(QWidget*)> Prepare = [](QWidget*) {};
    int Refused = NoticeNotTaken;  // the notice of a refusing mouse
    bool ByReceiver = false;       // the receiver refuses the act, not the mouse
    QStringList Asks = {};         // what opens before the notice while the mouse answers
};

// A profile of this mouse that differs from what it holds, chosen in the import's file dialog.
void ChooseProfile(QWidget*) {
    FlashDataMap image = DeviceFixture::ImageNow();
    image.KeyDebounceMs = image.KeyDebounceMs == 8 ? 9 : 8;
    const QString path = TestEnv::FreshDir("profile") + "/profile.bin";
    if (!ProfileFile::Write(path, "3395", image)) qFatal("no profile written");
    FileChooser::SetScript([path](FileChooser::Mode, const QString&, const QString&) { return path; });
}

const QList<Control>& Controls() {
    static const QList<Control> controls{
        {"key debounce", ButtonPage, [](QWidget* p) { NextItem(p, "Debunce"); }},
        {"profile", ButtonPage, PickProfile},
        {"release debounce", ButtonPage, [](QWidget* p) { NextItem(p, "DebunceRelease"); }},
        {"wheel debounce", ButtonPage, [](QWidget* p) { NextItem(p, "WheelDebunce"); }},
        {"button: back button", ButtonPage, [](QWidget* p) { Click(p, "BackKey_2"); }, SelectRow},
        {"button: disabled", ButtonPage, [](QWidget* p) { Click(p, "DPI_5"); }, SelectRow},
        {"button: media key", ButtonPage, ClickIn("DPI_12", "BackMusic_2"), SelectRow},
        {"button: DPI lock", ButtonPage, ClickIn("DPI_4", "VolumeUp_12"), SelectRow},
        {"button: light toggle", ButtonPage, ClickIn("DPI_9", "VolumeUp_5"), SelectRow},
        {"button: macro", ButtonPage, ClickMacro, SelectRow},
        {"DPI level button", SensorPage, [](QWidget* p) { Click(p, "GreenButton"); }},
        {"DPI level marker", SensorPage, DragMarker},
        {"DPI level swatch", SensorPage, ClickSwatch},
        {"DPI level colour", SensorPage,
         [](QWidget* p) { p->findChild<SensorDPI*>()->SetColor(QColor(1, 2, 3)); }},
        {"DPI value slider", SensorPage, [](QWidget* p) { ReleaseSlider(p, "horizontalSliderC"); }},
        {"DPI level count", SensorPage,
         [](QWidget* p) { Child<QComboBox>(p, "ChooseEvent")->setCurrentIndex(2); }},
        {"report rate", SensorPage, [](QWidget* p) { Click(p, "Button125HZ"); }},
        {"lift-off distance", SensorPage, [](QWidget* p) { NextItem(p, "LOD"); }},
        {"motion sync", SensorPage, [](QWidget* p) { Click(p, "MotionSync_2"); }},
        {"ripple control", SensorPage, [](QWidget* p) { Click(p, "RippeControl_2"); }},
        {"sensor mode", SensorPage,
         [](QWidget* p) { Child<QComboBox>(p, "ModelChoose")->setCurrentIndex(1); }},
        {"full performance", SensorPage, [](QWidget* p) { Click(p, "Performance"); }},
        {"DPI level button after a drag", SensorPage, [](QWidget* p) { Click(p, "RedButton"); },
         DragCurrentLevel},
        {"DPI level marker after a drag", SensorPage, DragMarker, DragCurrentLevel},
        {"DPI level swatch after a drag", SensorPage, ClickSwatch, DragCurrentLevel},
        {"DPI value slider dragged", SensorPage, [](QWidget* p) { DragDpiSlider(p, 900); }},
        {"DPI value slider dragged by the pointer", SensorPage, DragDpiHandle},
        {"sleep time", AdvancedPage, [](QWidget* p) { ActivateNext(p, "StopClose"); }},
        {"angle tuning", AdvancedPage, [](QWidget* p) { ReleaseSlider(p, "AngleSet"); }},
        {"20K scanning", AdvancedPage, [](QWidget* p) { Click(p, "KFPS"); }},
        {"long range", AdvancedPage,
         [](QWidget* p) {
             auto* frame = Child<QWidget>(p, "FrameLongMode");
             QVERIFY(frame->isVisible());
             Click(frame, "checkBox");
         },
         [](QWidget*) {}, NoticeReceiverNotTaken, true},
        {"trigger point", AdvancedPage, [](QWidget* p) { Click(p, "ReUntilClick_3"); }},
        {"DPI light mode", LightPage, [](QWidget* p) { NextItem(p, "Model"); }},
        {"DPI light brightness", LightPage, [](QWidget* p) { ReleaseSlider(p, "LightH"); }},
        {"DPI light speed", LightPage, [](QWidget* p) { ReleaseSlider(p, "SpeedH"); }},
        {"mouse light mode", LightPage,
         [](QWidget* p) { Child<QComboBox>(p, "LightMod")->setCurrentIndex(2); }},
        {"mouse light off", LightPage,
         [](QWidget* p) { Child<QComboBox>(p, "LightMod")->setCurrentIndex(0); }},
        {"mouse light brightness", LightPage, [](QWidget* p) { ReleaseSlider(p, "horizontalLight"); }},
        {"mouse light speed", LightPage, [](QWidget* p) { ReleaseSlider(p, "horizontalSpeed"); }},
        {"mouse light red typed", LightPage,
         [](QWidget* p) { Child<QSpinBox>(p, "RSpinBox")->setValue(77); }},
        {"mouse light green plus", LightPage, [](QWidget* p) { Click(p, "AddG"); }},
        {"mouse light preset", LightPage, [](QWidget* p) { Click(p, "toolButtonColorC"); }},
        {"lights off while moving", LightPage, [](QWidget* p) { Click(p, "RippeControl"); }},
        // A colour that sets every channel, the profile import and the restore of the defaults.
        {"mouse light preset over every channel", LightPage, [](QWidget* p) { Click(p, "toolButtonColorK"); },
         [](QWidget* p) { Click(p, "toolButtonColorG"); }},
        {"profile import", ButtonPage, [](QWidget* p) { Click(p, "ImportData"); }, ChooseProfile,
         NoticeNotTaken, false, {"UpDataParam"}},
        {"restore defaults", SettingsPage, [](QWidget* p) { Click(p, "Reset"); }, [](QWidget*) {},
         NoticeNotTaken, false, {"ContainReset"}},
    };
    return controls;
}

// The pictures and colours a style sheet gives.
QString Look(const QString& sheet) {
    QStringList parts;
    QRegularExpressionMatchIterator it =
        QRegularExpression("(url\\([^)]*\\)|rgb\\([^)]*\\))").globalMatch(sheet);
    while (it.hasNext()) parts << it.next().captured(1);
    return parts.join(' ');
}

// What a page shows: every named control's value, checked state, text, place, look and visibility.
QStringList Shown(QWidget* page) {
    QStringList shown;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        QString value;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            // A button styled by pictures shows its check only through a ":checked" rule.
            const QString sheet = b->styleSheet();
            const bool checkShown =
                sheet.isEmpty() || sheet.contains(":checked") || !qobject_cast<QToolButton*>(b);
            value = QString("%1 %2 %3").arg(checkShown && b->isChecked()).arg(b->text(), Look(sheet));
        } else if (auto* c = qobject_cast<QComboBox*>(w))
            value = QString::number(c->currentIndex());
        else if (auto* s = qobject_cast<QAbstractSlider*>(w))
            value = QString::number(s->value());
        else if (auto* s = qobject_cast<QSpinBox*>(w))
            value = QString::number(s->value());
        else if (auto* l = qobject_cast<QLabel*>(w))
            value = QString("%1,%2 %3").arg(l->x()).arg(l->y()).arg(l->styleSheet());
        else
            continue;
        shown << QString("%1: %2%3").arg(w->objectName(), value, w->isHidden() ? " hidden" : "");
    }
    // A raised panel moves its widgets in the list of children.
    shown.sort();
    return shown;
}

// What the receiver holds: its records and its long-range mode.
QString ReceiverState() {
    return HidSim::ReceiverRecords(DeviceFixture::ReceiverName()) + " long range " +
           QString::number(HidSim::LongRangeMode(DeviceFixture::ReceiverName()));
}

bool SameImage(const FlashDataMap& a, const FlashDataMap& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class TstRefusedActs : public QObject {
    Q_OBJECT

private:
    QStringList waits_;
    // Notices that opened while a settings wait was still on screen.
    int noticesOverAWait_ = 0;
    DialogMain* window_ = nullptr;

    Dialog* DeviceWindow() { return window_->findChild<Dialog*>(); }

    QWidget* Open(Page page) {
        const char* button[] = {"ButtonMain", "SensorButton", "Advanced", "LightsButton", "FormSetting"};
        DeviceWindow()->findChild<QToolButton*>(button[page])->click();
        switch (page) {
            case ButtonPage:
                return window_->findChild<Buttoninterface*>();
            case SensorPage:
                return window_->findChild<Sensor*>();
            case AdvancedPage:
                return window_->findChild<Advanced*>();
            case LightPage:
                return window_->findChild<LampLight*>();
            case SettingsPage:
                return window_->findChild<FormSetting*>();
        }
        return nullptr;
    }

    // Whatever the last row left behind: the mouse awake and answering, no reconnect pending, and the
    // pages filled again from the mouse's settings, as after a read (a refused slider stays locked until
    // then).
    void Settle() {
        HidSim::FailNext(DeviceFixture::MouseName(), 0);
        HidSim::FailNext(DeviceFixture::ReceiverName(), 0);
        HidSim::Wake(DeviceFixture::MouseName());
        QTest::qWait(50);
        DeviceOfflineShown = false;
        ReconnectRequested = false;
        ForceReread = false;
        FileChooser::SetScript(nullptr);
        const FlashDataMap image = DeviceFixture::ImageNow();
        RunOnHelperThread([image] {
            PostMsg* hub = PostMsg::GetInstance();
            hub->EmitSigUpDataLightUIButton(image);
            hub->EmitSigUpDataLightSensor(image);
            hub->EmitSigUpDataSensorUIB(image);
            hub->EmitSigUpDataLightLight(image);
        });
        waits_.clear();
        noticesOverAWait_ = 0;
    }

private slots:
    void initTestCase() {
        RoadFixture::BeginDefaultRoad(&waits_);
        MacroPageFixture::FreshMacroFolder();
        MacroPageFixture::WriteFile("Fire.ini", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        // Notices are counted, not shown; a restore is confirmed.
        ModalRunner::SetScript([this](QDialog& dialog) {
            waits_.append(dialog.objectName());
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (qobject_cast<UpDataParam*>(widget) && widget->isVisible() && widget != &dialog)
                    ++noticesOverAWait_;
            if (dialog.objectName() == "ContainReset") {
                dialog.findChild<QToolButton*>("OK")->click();
                return int(QDialog::Accepted);
            }
            return dialog.objectName() == "UpDataParam" ? dialog.exec() : int(QDialog::Rejected);
        });
        window_ = new DialogMain;
        window_->show();
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs);
        TileButtons.first()->click();
        QTRY_VERIFY_WITH_TIMEOUT(waits_.contains("UpDataParam"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!DeviceWindow()->WaitDialog()->isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
        // The rows wake the mouse themselves; the online poll would read the settings again.
        DeviceWorker->PollTimer()->stop();
        QVERIFY(UiLive);
    }

    void cleanupTestCase() {
        delete window_;
        RoadFixture::EndRoad();
    }

    void init() { Settle(); }

    void oneActOneAnswer_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<bool>("asleep");
        for (int c = 0; c < Controls().size(); ++c) {
            QTest::addRow("%s, mouse refusing", Controls()[c].Name) << c << false;
            QTest::addRow("%s, mouse asleep", Controls()[c].Name) << c << true;
        }
    }

    void oneActOneAnswer() {
        QFETCH(int, control);
        QFETCH(bool, asleep);
        const Control& c = Controls()[control];
        QWidget* page = Open(c.On);
        QVERIFY(page);
        QVERIFY(page->isVisible());
        c.Prepare(page);
        const QStringList shownBefore = Shown(page);
        const FlashDataMap imageBefore = DeviceFixture::ImageNow();
        const QByteArray flashBefore = HidSim::Flash(DeviceFixture::MouseName());
        const QString receiverBefore = ReceiverState();
        QVERIFY(SameImage(imageBefore, DeviceFixture::MouseImage()));
        if (asleep)
            QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        else
            QVERIFY(HidSim::FailNext(
                c.ByReceiver ? DeviceFixture::ReceiverName() : DeviceFixture::MouseName(), 5));
        QSignalSpy notices(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        waits_.clear();
        HidSim::ClearCallLog();

        c.Act(page);
        QCoreApplication::processEvents();

        QCOMPARE(waits_, (asleep ? QStringList() : c.Asks) + QStringList{"MouseOffLine"});
        QCOMPARE(noticesOverAWait_, 0);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(notices.at(0).at(0).toInt(), asleep ? int(NoticeOffline) : c.Refused);
        // A refused act is not tried again; an asleep mouse gets nothing.
        QCOMPARE(HidSim::CallLog().filter("fails this answer").size(), asleep ? 0 : 1);
        QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), 0);
        const QStringList shownAfter = Shown(page);
        for (int i = 0; i < qMax(shownBefore.size(), shownAfter.size()); ++i)
            if (shownBefore.value(i) != shownAfter.value(i))
                qWarning() << shownBefore.value(i) << "->" << shownAfter.value(i);
        QCOMPARE(shownAfter, shownBefore);
        QVERIFY(SameImage(DeviceFixture::ImageNow(), imageBefore));
        QCOMPARE(HidSim::Flash(DeviceFixture::MouseName()), flashBefore);
        QCOMPARE(ReceiverState(), receiverBefore);
    }

    // The DPI slider locked by a change made while the mouse slept: a press on it is still the slider's.
    // While the mouse sleeps each drag gets one notice and leaves the window where it is; once the mouse
    // answers again the press unlocks the slider and its drag is written.
    void lockedDpiSliderKeepsItsPresses() {
        QWidget* page = Open(SensorPage);
        auto* slider = Child<MySlider>(page, "horizontalSliderC");
        const FlashDataMap imageBefore = DeviceFixture::ImageNow();
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        QSignalSpy notices(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        ReleaseSlider(page, "horizontalSliderC");
        QVERIFY(!slider->isEnabled());
        QCOMPARE(notices.count(), 1);
        const QStringList shownLocked = Shown(page);

        for (int drag = 2; drag <= 3; ++drag) {
            DragDpiHandle(page);
            QCOMPARE(notices.count(), drag);
            QCOMPARE(notices.last().at(0).toInt(), int(NoticeOffline));
            QCOMPARE(Shown(page), shownLocked);
        }
        QVERIFY(SameImage(DeviceFixture::ImageNow(), imageBefore));

        QVERIFY(HidSim::Wake(DeviceFixture::MouseName()));
        QTRY_VERIFY(HidSim::IsOnline(DeviceFixture::MouseName()));
        HidSim::ClearCallLog();
        DragDpiHandle(page);
        QVERIFY(slider->isEnabled());
        QCOMPARE(notices.count(), 3);
        QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), 1);
        const int level = int(DeviceFixture::ImageNow().CurrentDpiLevel);
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[level]),
                 Child<QSpinBox>(page, "spinBoxA")->value());
        QVERIFY(!SameImage(DeviceFixture::ImageNow(), imageBefore));
    }

    // A light slider pressed on its groove while the mouse sleeps: the notice takes the release. Once the
    // mouse answers again and the page is filled from it, the slider does not go on stepping towards the
    // pointer and writing each step.
    void lightSliderPressedWhileAsleepWritesNothingLater_data() {
        QTest::addColumn<QString>("slider");
        QTest::newRow("mouse light brightness") << "horizontalLight";
        QTest::newRow("DPI light brightness") << "LightH";
    }

    void lightSliderPressedWhileAsleepWritesNothingLater() {
        QFETCH(QString, slider);
        QWidget* page = Open(LightPage);
        auto* control = Child<QSlider>(page, slider.toLatin1().constData());
        const FlashDataMap imageBefore = DeviceFixture::ImageNow();
        const int valueBefore = control->value();
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        QSignalSpy notices(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        // On the groove, away from the handle.
        const int x = valueBefore > control->minimum() ? 2 : control->width() - 2;
        QWidget* window = page->window();
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          control->mapTo(window, QPoint(x, control->height() / 2)));
        QCOMPARE(notices.count(), 1);
        QCOMPARE(control->value(), valueBefore);

        QVERIFY(HidSim::Wake(DeviceFixture::MouseName()));
        QTRY_VERIFY(HidSim::IsOnline(DeviceFixture::MouseName()));
        HidSim::ClearCallLog();
        RunOnHelperThread([imageBefore] { PostMsg::GetInstance()->EmitSigUpDataLightLight(imageBefore); });
        QTRY_VERIFY(control->isEnabled());
        // A slider still stepping makes a step every 50 ms, before this timer fires.
        bool later = false;
        QTimer::singleShot(800, control, [&later] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(HidSim::CallLog().filter("ProtocolDataUpdate").size(), 0);
        QCOMPARE(control->value(), valueBefore);
        QVERIFY(SameImage(DeviceFixture::ImageNow(), imageBefore));
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                            control->mapTo(window, QPoint(x, control->height() / 2)));
    }
};

QTEST_MAIN(TstRefusedActs)
#include "tst_refusedacts.moc"
