// Leaving the device window through the real top-level window against the simulated devices: a macro
// recording ends and the navigation works again whatever the way out; nothing about the device that
// left stays open or opens over the home page; a device opened after another shows none of its values.
#include <QApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QPointer>
#include <QSlider>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "MacroPageFixture.h"
#include "RoadFixture.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "buttons/Buttoninterface.h"
#include "core/DeviceAllInfo.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/FileChooser.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/UpDataParam.h"
#include "firmware/UpgradeState.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "home/PreVier.h"
#include "keys/KeyHook.h"
#include "platform/KeyCapture.h"
#include "sensor/Sensor.h"
#include "sensor/SensorDPI.h"
#include "settings/UpDateRepair.h"
#include "ui_Buttoninterface.h"
#include "ui_Dialog.h"
#include "ui_PreVier.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;
// A dialog still open after this long was left open: it is closed so that the road can end.
constexpr int kLeftOpenMs = 8000;

using DeviceFixture::MouseImage;

// The default receiver and mouse (the mouse's firmware has an update in the test's bin folder), and a
// 4K receiver of the second model whose mouse sleeps and never wakes.
const char* const kTwoReceivers = R"({"devices": [
    {"name": "receiver", "kind": "receiver", "class": 8, "mid": 6, "version": "0x0105",
     "receiverId": [18, 52, 86], "mouse": "mouse"},
    {"name": "mouse", "kind": "mouse", "mid": 6, "version": "0x0112", "battery": 85},
    {"name": "rx4", "kind": "receiver", "class": 4, "mid": 7, "version": "0x0103",
     "receiverId": [1, 2, 3], "mouse": "m7"},
    {"name": "m7", "kind": "mouse", "mid": 7, "online": false, "battery": 40}]})";

// One modal run: the dialog's object name and whether the home page was shown when it opened.
struct ModalRun {
    QString Name;
    bool OverHome;
};
}  // namespace

class TstLeaveDevice : public QObject {
    Q_OBJECT

private:
    QStringList waits_;

    static Dialog* Device(DialogMain& window) { return window.findChild<Dialog*>(); }

    static bool HomeShown(DialogMain& window) {
        return window.Stack()->currentIndex() == DialogMain::HomePageIndex;
    }

    // Clicks the first tile and waits until its settings were read.
    void ReadSettings(DialogMain& window) {
        QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), 1, kWaitMs);
        waits_.clear();
        FlashDataFromDevice = false;
        TileButtons.first()->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::DevicePageIndex));
        QTRY_VERIFY_WITH_TIMEOUT(waits_.contains("UpDataParam"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!Device(window)->WaitDialog()->isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
    }

    // Nothing of the device is under way any more: no wait's timer runs, the device thread has ended,
    // and the online poll has ticked twice, with what its ticks started done.
    static bool Settled() {
        QPointer<QTimer> poll = OnlinePollTimer;
        int ticks = 0;
        QMetaObject::Connection counting;
        if (poll) counting = QObject::connect(poll.data(), &QTimer::timeout, [&ticks] { ++ticks; });
        const auto waitTimerRuns = [] {
            for (QWidget* widget : QApplication::allWidgets())
                if (qobject_cast<UpDataParam*>(widget))
                    for (const QTimer* timer : widget->findChildren<QTimer*>())
                        if (timer->isActive()) return true;
            return false;
        };
        const bool settled = QTest::qWaitFor(
            [&] {
                return (!poll || ticks >= 2) && !waitTimerRuns() &&
                       (!DeviceWorker || DeviceWorker->isFinished());
            },
            kWaitMs);
        QObject::disconnect(counting);
        return settled;
    }

private slots:
    void init() { RoadFixture::BeginDefaultRoad(&waits_); }

    void cleanup() {
        FileChooser::SetScript(nullptr);
        KeyCapture::SetForegroundTest(nullptr);
        if (RepairDialog) RepairDialog->hide();
        RoadFixture::EndRoad();
    }

    // Start a recording, leave the device window, open the device again: the recorded events stay,
    // unsaved, as after Stop, and every navigation button shows its page.
    void leavingEndsTheRecording_data() {
        QTest::addColumn<bool>("unplug");
        QTest::newRow("back arrow") << false;
        QTest::newRow("receiver unplugged and plugged") << true;
    }
    void leavingEndsTheRecording() {
        QFETCH(bool, unplug);
        MacroPageFixture::FreshMacroFolder();
        MacroPageFixture::WriteFile("M.ini", "1\n");
        KeyCapture::SetForegroundTest([] { return true; });
        DialogMain window;
        window.show();
        ReadSettings(window);
        Ui::Dialog* form = Device(window)->Form();
        form->MacroButton->click();
        auto* page = window.findChild<Macro*>();
        QVERIFY(page && page->isVisible());
        MacroPageFixture::Select(*page, "M");
        MacroPageFixture::Invoke(*page, "on_StartRecord_clicked");
        QVERIFY(MacroRecording);
        QVERIFY(!form->PreButton->isEnabled());
        KeyCapture::Inject(0x41, KeyCapture::KeyDown);
        KeyCapture::Inject(0x41, KeyCapture::KeyUp);

        if (unplug) {
            QVERIFY(HidSim::Unplug("receiver"));
            QTRY_VERIFY_WITH_TIMEOUT(HomeShown(window), kWaitMs);
            QVERIFY(HidSim::Plug("receiver"));
        } else {
            form->UpArrow->click();
            QVERIFY(HomeShown(window));
        }
        QVERIFY(!MacroRecording);
        QVERIFY(!MacroKeyHook::IsInstalled());
        ReadSettings(window);

        const QStringList events = MacroPageFixture::Shown(*page);
        QCOMPARE(events.size(), 3);
        QCOMPARE(events.first(), QString("+A"));
        QCOMPARE(events.last(), QString("-A"));
        QVERIFY(MacroPageFixture::Child<QToolButton>(*page, "Save")->isEnabled());
        QCOMPARE(MacroPageFixture::ReadFile("M.ini"), QByteArray("1\n"));

        const struct {
            QToolButton* Button;
            int Index;
        } navigation[] = {
            {form->ButtonMain, Dialog::ButtonsIndex}, {form->SensorButton, Dialog::SensorIndex},
            {form->MacroButton, Dialog::MacroIndex},  {form->LightsButton, Dialog::LightsIndex},
            {form->Advanced, Dialog::AdvancedIndex},  {form->FormSetting, Dialog::SettingsIndex},
            {form->PreButton, Dialog::SummaryIndex},
        };
        for (const auto& nav : navigation) {
            nav.Button->click();
            QCOMPARE(form->stackedWidgetDialog->currentIndex(), nav.Index);
        }
    }

    // A row's chooser, opened down to its media list, is closed when the page is left whichever way:
    // back on the page, no row is selected and the debounce panel shows. Hiding the window to the tray
    // leaves no page: back from the tray, the chooser and its row are as they were.
    void chooserClosesOnlyWhenThePageIsLeft_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("closed");
        QTest::newRow("another page") << "page" << true;
        QTest::newRow("back arrow") << "back" << true;
        QTest::newRow("receiver unplugged and plugged") << "unplug" << true;
        QTest::newRow("hidden to the tray and back") << "tray" << false;
        QTest::newRow("receiver unplugged and plugged while in the tray") << "tray unplug" << true;
    }
    void chooserClosesOnlyWhenThePageIsLeft() {
        QFETCH(QString, way);
        QFETCH(bool, closed);
        DialogMain::TrayAvailable = [] { return true; };
        DialogMain window;
        window.show();
        ReadSettings(window);
        Ui::Dialog* form = Device(window)->Form();
        form->ButtonMain->click();
        auto* page = window.findChild<Buttoninterface*>();
        QVERIFY(page && page->isVisible());
        page->RowButton(2)->click();
        page->ui->DPI_12->click();
        QCOMPARE(page->ui->stackedWidget->currentWidget(), page->ui->page_2);
        QCOMPARE(page->ui->stackedWidget_2->currentWidget(), page->ui->page_3);
        const int selected = page->SelectedDeviceButton();
        QVERIFY(selected >= 0);

        const auto unplugAndPlug = [&] {
            QVERIFY(HidSim::Unplug("receiver"));
            QTRY_VERIFY_WITH_TIMEOUT(HomeShown(window), kWaitMs);
            QVERIFY(HidSim::Plug("receiver"));
        };
        if (way == "page") {
            form->SensorButton->click();
            form->ButtonMain->click();
        } else if (way == "back") {
            form->UpArrow->click();
            QVERIFY(HomeShown(window));
        } else if (way == "unplug") {
            unplugAndPlug();
        } else {
            form->MinButton->click();
            QVERIFY(!window.isVisible() && window.TrayIcon()->isVisible());
            if (way == "tray unplug") unplugAndPlug();
            emit window.TrayIcon()->activated(QSystemTrayIcon::Trigger);
            QVERIFY(window.isVisible());
        }
        if (HomeShown(window)) {
            ReadSettings(window);
            form->ButtonMain->click();
        }
        QVERIFY(page->isVisible());
        if (closed) {
            QCOMPARE(page->ui->stackedWidget->currentWidget(), page->ui->page);
            QCOMPARE(page->ui->stackedWidget_2->currentWidget(), page->ui->page_9);
            QCOMPARE(page->SelectedDeviceButton(), -1);
        } else {
            QCOMPARE(page->ui->stackedWidget->currentWidget(), page->ui->page_2);
            QCOMPARE(page->ui->stackedWidget_2->currentWidget(), page->ui->page_3);
            QCOMPARE(page->SelectedDeviceButton(), selected);
        }
    }

    // The receiver leaves in the middle of something that would answer with a notice or a wait: the
    // home page is the one answer; what was open for the device closes, and nothing opens afterwards.
    void nothingOutlivesTheDevice_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("DPI slider dragged") << "slider";
        QTest::newRow("profile import") << "import";
        QTest::newRow("receiver gone while the profile file is chosen") << "chooser";
        QTest::newRow("settings wait timing out") << "wait";
        QTest::newRow("offline notice open") << "offline";
    }
    void nothingOutlivesTheDevice() {
        QFETCH(QString, road);
        const auto unplugSoon = [] { QTimer::singleShot(200, [] { HidSim::Unplug("receiver"); }); };
        QList<ModalRun> runs;
        bool leftOpen = false;
        std::function<void(QDialog&)> onOpen = [](QDialog&) {};
        DialogMain window;
        ModalRunner::SetScript([&](QDialog& dialog) {
            runs.append({dialog.objectName(), HomeShown(window)});
            waits_.append(dialog.objectName());
            onOpen(dialog);
            QTimer::singleShot(kLeftOpenMs, &dialog, [&dialog, &leftOpen] {
                if (!dialog.isVisible()) return;
                leftOpen = true;
                dialog.done(QDialog::Rejected);
            });
            return dialog.exec();
        });
        window.show();

        if (road == "slider") {
            ReadSettings(window);
            Device(window)->Form()->SensorButton->click();
            auto* slider = window.findChild<Sensor*>()
                               ->findChild<SensorDPI*>("frameDpi")
                               ->findChild<QSlider*>("horizontalSliderC");
            QVERIFY(slider && slider->isVisible());
            slider->setSliderDown(true);
            slider->setSliderPosition(slider->value() == 2000 ? 2400 : 2000);
            // The receiver goes; before the program has noticed, the drag ends elsewhere.
            QVERIFY(HidSim::Unplug("receiver"));
            slider->setSliderDown(false);
            slider->setValue(slider->value() == 3000 ? 3200 : 3000);
        } else if (road == "import") {
            ReadSettings(window);
            Device(window)->Form()->ButtonMain->click();
            const QString path = TestEnv::FreshDir("profile") + "/p.bin";
            QVERIFY(ProfileFile::Write(path, "3395", MouseImage()));
            FileChooser::SetScript(
                [path](FileChooser::Mode, const QString&, const QString&) { return path; });
            onOpen = [&](QDialog& dialog) {
                if (auto* wait = qobject_cast<UpDataParam*>(&dialog); wait && wait->ImportMode) unplugSoon();
            };
            window.findChild<Buttoninterface*>()->ui->ImportData->click();
        } else if (road == "chooser") {
            ReadSettings(window);
            Device(window)->Form()->ButtonMain->click();
            const QString path = TestEnv::FreshDir("profile") + "/p.bin";
            QVERIFY(ProfileFile::Write(path, "3395", MouseImage()));
            FileChooser::SetScript([path, &window](FileChooser::Mode, const QString&, const QString&) {
                HidSim::Unplug("receiver");
                if (!QTest::qWaitFor([&window] { return HomeShown(window); }, kWaitMs))
                    qWarning("still open");
                return path;
            });
            window.findChild<Buttoninterface*>()->ui->ImportData->click();
        } else if (road == "wait") {
            QVERIFY(HidSim::FailNext("mouse", 1000));
            onOpen = [&](QDialog& dialog) {
                if (qobject_cast<UpDataParam*>(&dialog)) unplugSoon();
            };
            QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), 1, kWaitMs);
            TileButtons.first()->click();
        } else {
            QVERIFY(HidSim::Sleep("mouse"));
            onOpen = [&](QDialog& dialog) {
                if (qobject_cast<MouseOffLine*>(&dialog)) unplugSoon();
            };
            QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), 1, kWaitMs);
            TileButtons.first()->click();
        }

        QTRY_VERIFY_WITH_TIMEOUT(HomeShown(window) && !HidSim::IsOnline("receiver"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 1500);
        // Late answers of the device thread, the wait's timer and the online poll have come and gone.
        QVERIFY(Settled());
        QStringList overHome;
        for (const ModalRun& run : runs)
            if (run.OverHome) overHome << run.Name;
        QCOMPARE(overHome, QStringList());
        QVERIFY(!leftOpen);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(HomeShown(window));
    }

    // The mouse is put on its cable while the device's settings are being read: the read that follows
    // joins the wait that runs, and no dialog is run again while it already runs.
    void mouseOnItsCableDuringTheWait() {
        QStringList again;
        bool plugged = false;
        DialogMain window;
        ModalRunner::SetScript([&](QDialog& dialog) {
            if (dialog.isVisible()) again << dialog.objectName();
            waits_.append(dialog.objectName());
            if (qobject_cast<UpDataParam*>(&dialog) && !plugged) {
                plugged = true;
                QTimer::singleShot(300, [] { HidSim::Plug("mouse"); });
            }
            return dialog.exec();
        });
        window.show();
        ReadSettings(window);
        QVERIFY(plugged);
        QVERIFY(Settled());
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), kWaitMs);
        QCOMPARE(again, QStringList());
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::DevicePageIndex));
    }

    // Opening a device prints the program's debug tags only when QT_LOGGING_RULES asks for them.
    void debugTagsOnlyWhenAskedFor_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<bool>("printed");
        QTest::newRow("no rules") << QString() << false;
        QTest::newRow("vorlant.debug=true") << "vorlant.debug=true" << true;
    }
    void debugTagsOnlyWhenAskedFor() {
        QFETCH(QString, rules);
        QFETCH(bool, printed);
        static QStringList tags;
        tags.clear();
        QLoggingCategory::setFilterRules(rules);
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (type == QtDebugMsg && context.category && QByteArray(context.category) == "vorlant")
                    tags << text;
            });
        {
            DialogMain window;
            window.show();
            ReadSettings(window);
            window.hide();
        }
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules(QString());
        for (const char* tag : {"Start", "OnlinA", "OnlinB", "q", "w t1"})
            QVERIFY2(tags.contains(tag) == printed, qPrintable(tag + (": " + tags.join('|'))));
    }

    // The first device (an update for its mouse, "Profile 1", 85 %), then the second, whose mouse
    // sleeps: the summary and the battery show nothing of the first.
    void aDeviceOpenedAfterAnotherShowsNoneOfItsValues() {
        FirmwareFixture::PutPair(0x0105, 0x0113);
        QVERIFY(HidSim::LoadDescription(kTwoReceivers));
        QStringList notices;
        ModalRunner::SetScript([&](QDialog& dialog) {
            waits_.append(dialog.objectName());
            // The sleeping mouse never comes back: its offline notice is answered at once.
            if (qobject_cast<MouseOffLine*>(&dialog)) {
                notices << dialog.objectName();
                return int(QDialog::Rejected);
            }
            return dialog.exec();
        });
        DialogMain window;
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), 2, kWaitMs);
        // The tile of the receiver of the model with this MID.
        const auto tileOf = [](int mid) -> mytoolButtonEnter* {
            for (int i = 0; i < FoundDevices.size(); ++i) {
                if (FoundDevices[i].CidMidWord >> 8 != mid) continue;
                for (mytoolButtonEnter* tile : TileButtons)
                    if (tile->objectName() == "btn" + QString::number(i)) return tile;
            }
            return nullptr;
        };
        window.EnsureDeviceWindow();  // made at its first use; its forms are looked up before the first click
        Ui::PreVier* summary = window.findChild<PreVier*>()->Form();
        Ui::Dialog* form = Device(window)->Form();

        tileOf(6)->click();
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!summary->MouseUp->isHidden(), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(summary->ConfigValue->text(), QString("Profile 1"), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(form->label_2->text(), QString("85%"), kWaitMs);
        QCOMPARE(summary->MouseValue->text(), QString("v1.12"));
        QTRY_VERIFY_WITH_TIMEOUT(!Device(window)->WaitDialog()->isVisible(), kWaitMs);
        if (RepairDialog) RepairDialog->hide();
        form->UpArrow->click();
        QVERIFY(HomeShown(window));

        QTRY_COMPARE_WITH_TIMEOUT(TileButtons.size(), 2, kWaitMs);
        tileOf(7)->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::DevicePageIndex));
        QTRY_COMPARE_WITH_TIMEOUT(notices, QStringList{"MouseOffLine"}, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(DeviceWorker->isFinished(), kWaitMs);
        QVERIFY(!FlashDataFromDevice);
        QCoreApplication::processEvents();

        // The receiver's own version, no update marks; nothing the sleeping mouse did not report.
        QCOMPARE(summary->DongleValue->text(), QString("v1.03"));
        QVERIFY(summary->DongleUp->isHidden());
        QVERIFY(summary->MouseUp->isHidden());
        QCOMPARE(summary->MouseValue->text(), QString());
        QCOMPARE(summary->ConfigValue->text(), QString());
        QCOMPARE(form->label_2->text(), QString());
        QCOMPARE(form->progressBar->value(), 0);
        QVERIFY(form->label->isHidden());
    }
};

QTEST_MAIN(TstLeaveDevice)
#include "tst_leavedevice.moc"
