#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "FirmwareFixture.h"
#include "TestEnv.h"
#include "app/DialogMain.h"
#include "buttons/Buttoninterface.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "platform/Clock.h"
#include "platform/RegistryStore.h"
#include "sensor/SensorDPI.h"
#include "settings/FormSetting.h"

namespace {
bool g_trayAvailable = false;
bool FakeTray() {
    return g_trayAvailable;
}
QRect g_screenArea;
QRect FakeScreenArea() {
    return g_screenArea;
}

void SendMouse(QWidget* window, QEvent::Type type, const QPoint& local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

// Notices are about the device: they open over the device window.
void ShowDeviceWindow() {
    PostMsg::GetInstance()->EmitSigChangeMainDialog(DialogMain::DevicePageIndex);
}
}  // namespace

class TstDialogMain : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Not about firmware: an empty firmware folder, so no update is offered.
        FirmwareFixture::UseInstallation();
        const QString dir = TestEnv::FreshDir("dialogmain");
        RegistryStore::SetFilePath(dir + "/registry.ini");
        MacroIni::ResetForTest(dir + "/Macro.ini");
        DialogMain::TrayAvailable = &FakeTray;
        g_trayAvailable = false;
        DialogMain::ScreenArea = &FakeScreenArea;
        g_screenArea = QRect();
        MacroRecording = false;
        DeviceWindow.Leave();
        Clock::Set(&clock_);
    }
    void cleanup() { Clock::Set(nullptr); }

    void builtFramelessWithItsStack() {
        DialogMain window;
        QCOMPARE(window.windowTitle(), QString("Vorlant ZEMB"));
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(window.size(), QSize(1020, 700));
        QCOMPARE(window.minimumSize(), QSize(1020, 700));
        QCOMPARE(window.maximumSize(), QSize(1020, 700));
        QCOMPARE(window.findChild<QFrame*>("frame")->geometry(), QRect(0, 0, 1020, 700));
        QStackedWidget* stack = window.Stack();
        QCOMPARE(stack->objectName(), QString("stackedWidgetMain"));
        QCOMPARE(stack->geometry(), QRect(0, 0, 1020, 700));
        // The device window is made at its first use, behind the home page.
        QCOMPARE(stack->count(), 1);
        QVERIFY(!window.DeviceWindowMade());
        QWidget* device = window.EnsureDeviceWindow();
        QCOMPARE(window.EnsureDeviceWindow(), device);
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->widget(DialogMain::HomePageIndex)->objectName(), QString("DialogChange"));
        QCOMPARE(stack->widget(DialogMain::DevicePageIndex)->objectName(), QString("Dialog"));
        QCOMPARE(stack->widget(DialogMain::DevicePageIndex), device);
        QCOMPARE(stack->currentIndex(), 0);
        QVERIFY(!window.TrayIcon()->isVisible());
        QCOMPARE(window.TrayIcon()->toolTip(), QString("Vorlant ZEMB"));
        QVERIFY(!window.TrayIcon()->icon().isNull());
    }

    void constructionFillsTheTexts() {
        QSignalSpy sameA(PostMsg::GetInstance(), SIGNAL(SigLanguageSameA(int)));
        QSignalSpy sameB(PostMsg::GetInstance(), SIGNAL(SigLanguageSameB(int)));
        QSignalSpy all(PostMsg::GetInstance(), SIGNAL(SigAllLanguage(int)));
        DialogMain window;
        QCOMPARE(sameA.count(), 1);
        QCOMPARE(sameB.count(), 1);
        QCOMPARE(all.count(), 1);
        QCOMPARE(all.first().first().toInt(), 0);
    }

    void pagesSwitchThroughTheHub() {
        DialogMain window;
        QSignalSpy second(PostMsg::GetInstance(), SIGNAL(SigSecondPageChange()));
        QSignalSpy main(PostMsg::GetInstance(), SIGNAL(SigMainPageChange()));
        UiLive = false;
        PostMsg::GetInstance()->EmitSigChangeMainDialog(1);
        QCOMPARE(window.Stack()->currentIndex(), 1);
        QVERIFY(UiLive);
        QVERIFY(DeviceWindow.Shown());
        PostMsg::GetInstance()->EmitSigChangeMainDialog(0);
        QCOMPARE(window.Stack()->currentIndex(), 0);
        QVERIFY(!DeviceWindow.Shown());
        QCOMPARE(second.count(), 1);
        QCOMPARE(main.count(), 1);
        PostMsg::GetInstance()->EmitSigChangeMainDialog(7);
        QCOMPARE(window.Stack()->currentIndex(), 0);
    }

    void hidingFallsBackToMinimisingWithoutTray() {
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PostMsg::GetInstance()->EmitSigChangeSize(2);
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        QVERIFY(!window.TrayIcon()->isVisible());
        window.showNormal();
        QVERIFY(!window.isMinimized());
    }

    void hidingToTheTrayAndBack() {
        g_trayAvailable = true;
        DialogMain window;
        window.show();
        for (int round = 0; round < 3; ++round) {
            PostMsg::GetInstance()->EmitSigChangeSize(round == 1 ? 0 : 2);
            QVERIFY(!window.isVisible());
            QVERIFY(window.TrayIcon()->isVisible());
            QMenu* menu = window.TrayMenu();
            QVERIFY(menu);
            QCOMPARE(window.TrayIcon()->contextMenu(), menu);
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), 3);
            QCOMPARE(actions[0]->text(), QString("Open Vorlant ZEMB"));
            QVERIFY(actions[1]->isSeparator());
            QCOMPARE(actions[2]->text(), QString("Exit"));
            if (round == 0) emit window.TrayIcon()->activated(QSystemTrayIcon::Trigger);
            if (round == 1) emit window.TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
            if (round == 2) actions[0]->trigger();
            QVERIFY(window.isVisible());
            QVERIFY(!window.TrayIcon()->isVisible());
        }
        emit window.TrayIcon()->activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(window.isVisible());
    }

    // Library calls of hiding and restoring, filtered to the PC-driver status.
    // No tray, minimise, back from the task bar, a tray appears, hide to it, tray menu "Open".
    void backFromTheTrayAfterATaskBarRound() {
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.SlotChangeSize(2);
        QVERIFY(window.isMinimized());
        window.showNormal();
        QVERIFY(!window.isMinimized());
        QTRY_VERIFY(window.isActiveWindow());
        g_trayAvailable = true;
        window.SlotChangeSize(2);
        QVERIFY(!window.isVisible());
        QVERIFY(window.TrayIcon()->isVisible());
        window.TrayMenu()->actions().first()->trigger();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.isActiveWindow());
        QVERIFY(!window.TrayIcon()->isVisible());
    }

    void driverStatusOnHideAndRestore_data() {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("restore");  // a tray activation reason, or -1: back from the task bar
        QTest::addColumn<QStringList>("calls");
        const QString off = "UsbServer_SetPCDriverStatus(0)", on = "UsbServer_SetPCDriverStatus(1)";
        QTest::newRow("device window, click")
            << true << 1 << 0 << int(QSystemTrayIcon::Trigger) << QStringList{off, on};
        QTest::newRow("device window, double click")
            << true << 1 << 0 << int(QSystemTrayIcon::DoubleClick) << QStringList{off};
        QTest::newRow("home page, click") << true << 0 << 2 << int(QSystemTrayIcon::Trigger) << QStringList{};
        QTest::newRow("device window, no tray") << false << 1 << 0 << -1 << QStringList{off, on};
        QTest::newRow("home page, no tray") << false << 0 << 2 << -1 << QStringList{};
    }
    void driverStatusOnHideAndRestore() {
        QFETCH(bool, tray);
        QFETCH(int, page);
        QFETCH(int, code);
        QFETCH(int, restore);
        QFETCH(QStringList, calls);
        g_trayAvailable = tray;
        DialogMain window;
        if (page == DialogMain::DevicePageIndex) ShowDeviceWindow();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        HidSim::ClearCallLog();
        PostMsg::GetInstance()->EmitSigChangeSize(code);
        if (restore >= 0)
            emit window.TrayIcon()->activated(QSystemTrayIcon::ActivationReason(restore));
        else
            window.showNormal();
        QVERIFY(window.isVisible() && !window.isMinimized());
        QStringList seen;
        for (const QString& call : HidSim::CallLog())
            if (call.startsWith("UsbServer_SetPCDriverStatus")) seen.append(call);
        QCOMPARE(seen, calls);
    }

    void closingFromEitherPageEndsTheWindow_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("code");
        QTest::newRow("home page") << 0 << 3;
        QTest::newRow("device window") << 1 << 1;
    }
    void closingFromEitherPageEndsTheWindow() {
        QFETCH(int, page);
        QFETCH(int, code);
        DialogMain window;
        if (page == DialogMain::DevicePageIndex) ShowDeviceWindow();
        window.show();
        QSignalSpy finished(&window, &QDialog::finished);
        HidSim::ClearCallLog();
        PostMsg::GetInstance()->EmitSigChangeSize(code);
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
        QStringList expected{"StopUsbChanged()", "UsbServer_Exit()"};
        if (page == 1) expected.prepend("UsbServer_SetPCDriverStatus(0)");
        QCOMPARE(HidSim::CallLog(), expected);
    }

    void languageMovesFromTheRegistry_data() {
        QTest::addColumn<QVariant>("registry");
        QTest::addColumn<QString>("macroBefore");
        QTest::addColumn<QString>("macroAfter");
        QTest::addColumn<int>("language");
        QTest::newRow("1 moves") << QVariant(1) << QString() << "1" << 1;
        QTest::newRow("1 replaces 0") << QVariant(1) << "0"
                                      << "1" << 1;
        QTest::newRow("0 is dropped") << QVariant(0) << "1"
                                      << "1" << 1;
        QTest::newRow("none") << QVariant() << QString() << QString() << 0;
        QTest::newRow("out of range falls back") << QVariant(5) << QString() << "5" << 0;
    }
    void languageMovesFromTheRegistry() {
        QFETCH(QVariant, registry);
        QFETCH(QString, macroBefore);
        QFETCH(QString, macroAfter);
        QFETCH(int, language);
        RegistryStore store(RegistryStore::ProductKey());
        if (registry.isValid()) store.SetValue("LanguageIndex", registry);
        if (!macroBefore.isNull()) MacroIni::GetInstance()->SetValue("Language", "Language", macroBefore);

        DialogMain window;
        QVERIFY(!store.Contains("LanguageIndex"));
        QSettings onDisk(MacroIni::GetInstance()->FilePath(), QSettings::IniFormat);
        QCOMPARE(onDisk.value("Language/Language").toString(), macroAfter);
        QCOMPARE(CurrentLanguage.load(), language);
    }

    void trayTextsFollowTheLanguage() {
        g_trayAvailable = true;
        DialogMain window;
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        window.show();
        PostMsg::GetInstance()->EmitSigChangeSize(2);
        QCOMPARE(window.TrayMenu()->actions().first()->text(), QString::fromUtf8("Otevřít Vorlant ZEMB"));
        QCOMPARE(window.TrayMenu()->actions().last()->text(), QString::fromUtf8("Ukončit"));
    }

    // The toolkit's own dialogs speak the language chosen in either language box, and the program's own
    // texts stay as the language set them.
    void toolkitDialogsFollowTheLanguage_data() {
        QTest::addColumn<bool>("settingsPage");
        QTest::newRow("home page") << false;
        QTest::newRow("settings page") << true;
    }
    void toolkitDialogsFollowTheLanguage() {
        QFETCH(bool, settingsPage);
        DialogMain window;
        window.EnsureDeviceWindow();
        QComboBox* const boxes[] = {window.findChild<DialogChange*>()->findChild<QComboBox*>("comboBox"),
                                    window.findChild<FormSetting*>()->findChild<QComboBox*>("comboBox")};
        QComboBox* box = boxes[settingsPage ? 1 : 0];
        UiLive = false;  // the window not yet opened on a device: a swatch click only opens the dialog
        QToolButton* swatch = window.findChild<SensorDPI*>()->findChild<QToolButton*>("RedButtonA");
        swatch->click();
        QColorDialog* colours = window.findChild<SensorDPI*>()->findChild<QColorDialog*>();
        QVERIFY(colours);
        QPushButton* cancel = colours->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
        QCoreApplication::processEvents();
        QCOMPARE(cancel->text(), QString("Cancel"));
        // The program's own texts, as the pages' language routines leave them.
        const auto ownTexts = [&window] {
            QStringList texts;
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                if (qobject_cast<QColorDialog*>(widget->window())) continue;
                if (auto* label = qobject_cast<QLabel*>(widget))
                    texts << label->objectName() + ": " + label->text();
                if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    texts << button->objectName() + ": " + button->text();
            }
            return texts;
        };
        for (int language : {1, 0}) {
            box->setCurrentIndex(language);
            QMetaObject::invokeMethod(box, "activated", Q_ARG(int, language));
            const QStringList set = ownTexts();
            QVERIFY(set.contains("ImportData: " + LanguageText(MouseKeyTexts, language, "Import")));
            QCoreApplication::processEvents();
            QCOMPARE(cancel->text(), QString::fromUtf8(language == 1 ? "Zrušit" : "Cancel"));
            swatch->click();
            QCOMPARE(colours->windowTitle(), QString(language == 1 ? "Vybrat barvu" : "Select Color"));
            QCOMPARE(ownTexts(), set);
            for (QComboBox* other : boxes) QCOMPARE(other->currentIndex(), language);
        }
    }

    void offlineNoticesStackCentredOverTheWindow() {
        DialogMain window;
        window.move(100, 80);
        window.show();
        ShowDeviceWindow();
        QVector<QPoint> positions;
        int shown = 0;
        bool timeOutStayed = false;
        // The time-out notice asks for an offline notice; the device coming back closes the offline
        // notice only, the time-out notice waits for the user.
        QTimer::singleShot(0, [&] {
            QWidget* first = QApplication::activeModalWidget();
            QVERIFY(first);
            positions.append(first->pos());
            ++shown;
            QVERIFY(!DeviceOfflineShown);
            QVERIFY(!ReconnectRequested);
            QTimer::singleShot(0, [&] {
                QWidget* second = QApplication::activeModalWidget();
                QVERIFY(second && second != first);
                ++shown;
                PostMsg::GetInstance()->EmitSigCloseOffOnline();
            });
            PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
            timeOutStayed = first->isVisible();
            if (auto* dialog = qobject_cast<QDialog*>(first)) dialog->reject();
        });
        DeviceOfflineShown = false;
        ReconnectRequested = false;
        PostMsg::GetInstance()->EmitSigMouseOffLineo(1);
        QCOMPARE(shown, 2);
        QVERIFY(timeOutStayed);
        QCOMPARE(OfflineNoticeKind.load(), 0);
        QVERIFY(DeviceOfflineShown);
        QVERIFY(ReconnectRequested);
        QCOMPARE(positions.first(), QPoint(100 + (1020 - 300) / 2, 80 + (700 - 140) / 2 - 20));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Only the offline notice waits for the device; the others stay until the user closes them.
    void noticesThatWaitForTheUser_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        QTest::newRow("time-out") << int(NoticeTimeOut) << "TimeOut";
        QTest::newRow("change not taken") << int(NoticeNotTaken) << "DialogNotTaken";
        QTest::newRow("change not taken by the receiver")
            << int(NoticeReceiverNotTaken) << "DialogReceiverNotTaken";
    }
    void noticesThatWaitForTheUser() {
        QFETCH(int, kind);
        QFETCH(QString, key);
        DialogMain window;
        window.show();
        ShowDeviceWindow();
        bool stayed = false;
        QString text;
        QTimer::singleShot(0, [&] {
            QWidget* notice = QApplication::activeModalWidget();
            QVERIFY(notice);
            PostMsg::GetInstance()->EmitSigCloseOffOnline();
            stayed = notice->isVisible();
            text = notice->findChild<QLabel*>("label")->text();
            qobject_cast<QDialog*>(notice)->reject();
        });
        DeviceOfflineShown = false;
        ReconnectRequested = false;
        PostMsg::GetInstance()->EmitSigMouseOffLineo(kind);
        QVERIFY(stayed);
        QVERIFY(!DeviceOfflineShown);
        QVERIFY(!ReconnectRequested);
        QVERIFY(!text.isEmpty());
        QCOMPARE(text, LanguageText(MouseInfoTipsTexts, CurrentLanguage, key));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Once the home page is shown, every notice about the device closes and none opens: the home page's
    // message answers.
    void noNoticeOverTheHomePage_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("offline") << int(NoticeOffline);
        QTest::newRow("time-out") << int(NoticeTimeOut);
        QTest::newRow("change not taken") << int(NoticeNotTaken);
    }
    void noNoticeOverTheHomePage() {
        QFETCH(int, kind);
        DialogMain window;
        window.show();
        ShowDeviceWindow();
        bool closedByLeaving = false;
        QTimer::singleShot(0, [&] {
            QWidget* notice = QApplication::activeModalWidget();
            QVERIFY(notice);
            PostMsg::GetInstance()->EmitSigChangeMainDialog(DialogMain::HomePageIndex);
            closedByLeaving = !notice->isVisible();
            if (!closedByLeaving) qobject_cast<QDialog*>(notice)->reject();
        });
        PostMsg::GetInstance()->EmitSigMouseOffLineo(kind);
        QVERIFY(closedByLeaving);
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex));

        // A late request about the device that left.
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto* notice = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                notice->reject();
            }
        });
        DeviceOfflineShown = false;
        ReconnectRequested = false;
        PostMsg::GetInstance()->EmitSigMouseOffLineo(kind);
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(!DeviceOfflineShown);
        QVERIFY(!ReconnectRequested);
    }

    void keys() {
        DialogMain window;
        window.show();
        QSignalSpy enter(PostMsg::GetInstance(), SIGNAL(SigEnterKey()));
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(enter.count(), 2);
        QTest::keyClick(&window, Qt::Key_Escape);
        QTest::keyClick(&window, Qt::Key_F12);
        QVERIFY(window.isVisible());
        MacroRecording = true;
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(enter.count(), 2);
        MacroRecording = false;
        QVERIFY(HidSim::LoadDescription(R"({"devices": []})"));
        QTRY_VERIFY(FoundDevices.isEmpty());
        QTest::keyClick(&window, Qt::Key_Space);  // home page, no device found: nothing
        QVERIFY(window.isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        HidSim::LoadDefault();
    }

    void placedCentredBeforeTheFirstShow_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("full HD") << QRect(0, 0, 1920, 1080) << QPoint(450, 190);
        QTest::newRow("panel on top") << QRect(0, 40, 1280, 760) << QPoint(130, 70);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QPoint(2050, 162);
        QTest::newRow("smaller than the window") << QRect(0, 24, 800, 576) << QPoint(0, 24);
    }
    void placedCentredBeforeTheFirstShow() {
        QFETCH(QRect, area);
        QFETCH(QPoint, expected);
        g_screenArea = area;
        DialogMain window;
        QCOMPARE(window.pos(), expected);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.pos(), expected);

        // A dialog opened now is centred over the window, 20 pixels up.
        ShowDeviceWindow();
        QPoint notice;
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            QVERIFY(shown);
            notice = shown->pos();
            PostMsg::GetInstance()->EmitSigCloseOffOnline();
        });
        window.SlotMouseOffLine(0);
        QCOMPARE(notice, expected + QPoint((1020 - 300) / 2, (700 - 140) / 2 - 20));
        PostMsg::GetInstance()->EmitSigChangeMainDialog(DialogMain::HomePageIndex);

        // The first drag moves the window by the cursor's way, no further.
        SendMouse(&window, QEvent::MouseButtonPress, QPoint(300, 15), Qt::LeftButton, Qt::LeftButton);
        SendMouse(&window, QEvent::MouseMove, QPoint(305, 18), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), expected + QPoint(5, 3));
        SendMouse(&window, QEvent::MouseButtonRelease, QPoint(305, 18), Qt::LeftButton, Qt::NoButton);
    }

    void draggingWithTheLeftButtonOnly() {
        DialogMain window;
        window.move(200, 150);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        SendMouse(&window, QEvent::MouseButtonPress, QPoint(40, 20), Qt::RightButton, Qt::RightButton);
        SendMouse(&window, QEvent::MouseMove, QPoint(90, 60), Qt::NoButton, Qt::RightButton);
        QCOMPARE(window.pos(), start);
        SendMouse(&window, QEvent::MouseButtonRelease, QPoint(90, 60), Qt::RightButton, Qt::NoButton);

        SendMouse(&window, QEvent::MouseButtonPress, QPoint(40, 20), Qt::LeftButton, Qt::LeftButton);
        SendMouse(&window, QEvent::MouseMove, QPoint(90, 60), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), start + QPoint(50, 40));
        SendMouse(&window, QEvent::MouseButtonRelease, QPoint(50, 40), Qt::LeftButton, Qt::NoButton);
        const QPoint moved = window.pos();
        SendMouse(&window, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), moved);
    }

private:
    ManualClock clock_;
};

QTEST_MAIN(TstDialogMain)
#include "tst_dialogmain.moc"
