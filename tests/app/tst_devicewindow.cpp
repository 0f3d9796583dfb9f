// The device window: its battery indicator and the macro page in its page stack.
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "MacroPageFixture.h"
#include "app/Dialog.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDataParam.h"
#include "platform/KeyCapture.h"
#include "platform/Paths.h"
#include "ui_Dialog.h"

using namespace MacroPageFixture;

namespace {
// Counts the events of one type that reach the widgets it filters.
class EventCounter : public QObject {
public:
    EventCounter(QEvent::Type type, int* count) : type_(type), count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) ++*count_;
        return false;
    }

private:
    QEvent::Type type_;
    int* count_;
};
}  // namespace

class TestDeviceWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Not about firmware: an empty firmware folder, so no update is offered.
        FirmwareFixture::UseInstallation();
        LoadLanguageFiles();
    }

    void recordingLocksNavigation() {
        FreshMacroFolder();
        WriteFile("M.ini", "1\n");
        KeyCapture::SetForegroundTest([] { return true; });
        Dialog window;
        auto* page = qobject_cast<Macro*>(window.Form()->stackedWidgetDialog->widget(3));
        QVERIFY(page);
        QCOMPARE(page->objectName(), QString("Macro"));
        QToolButton* nav = window.Form()->MacroButton;

        Select(*page, "M");
        Invoke(*page, "on_StartRecord_clicked");
        QVERIFY(!nav->isEnabled());
        KeyCapture::Inject(0x41, KeyCapture::KeyDown);
        // Leaving the device window ends the recording and frees the navigation.
        PostMsg::GetInstance()->EmitSigSetMacroPage();
        QVERIFY(nav->isEnabled());
        QVERIFY(!MacroRecording);
        QVERIFY(!MacroKeyHook::IsInstalled());
        QCOMPARE(Shown(*page), QStringList({"+A"}));
        KeyCapture::SetForegroundTest(nullptr);
    }

    // A mouse that is online but does not answer: one wait, one time-out notice, and no new wait
    // until the user opens a page.
    void settingsTimeOutWaitsForTheUser() {
        DeviceFixture::Init();
        const DeviceAllInfo receiver = DeviceFixture::FindDefaultReceiver();
        Dialog window;
        QVERIFY(DeviceWorker);
        DeviceWorker->PollTimer()->stop();
        QStringList ran;
        ScopedModalScript script([&](QDialog& d) {
            ran << d.objectName();
            // The wait's timer, at once; its waits run on the test clock.
            if (qobject_cast<UpDataParam*>(&d))
                QMetaObject::invokeMethod(&d, "onTimeupDestroy", Qt::DirectConnection);
            return int(QDialog::Accepted);
        });
        QList<int> notices;
        QObject context;
        connect(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo, &context,
                [&](int kind) { notices << kind; });

        PostMsg::GetInstance()->EmitSigSelectMouseInfo(receiver);
        DeviceUsbChangedCallback();
        DeviceWindow.Enter();
        QVERIFY(HidSim::FailNext(DeviceFixture::MouseName(), 50));
        const auto poll = [] {
            DeviceFixture::TestClock().Advance(1300);
            DeviceWorker->SlotCheckOnline();
            while (!DeviceWorker->wait(5)) QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        };
        DeviceWorker->StartDevice(receiver);
        while (!DeviceWorker->wait(5)) QCoreApplication::processEvents();
        QTRY_COMPARE(ran, QStringList{"UpDataParam"});
        QCOMPARE(notices, QList<int>{NoticeTimeOut});

        // Polls start no wait by themselves, whatever asks for a reconnect in between (the notice of an
        // offline state, the mouse's reconnect report).
        for (int i = 0; i < 8; ++i) {
            DeviceOfflineShown = i % 2 == 0;
            ReconnectRequested = true;
            ForceReread = i % 3 == 0;
            poll();
        }
        QCOMPARE(ran, QStringList{"UpDataParam"});
        QCOMPARE(notices, QList<int>{NoticeTimeOut});

        // Opening a page is the user's go for one new wait.
        window.Form()->SensorButton->click();
        poll();
        QTRY_COMPARE(ran, (QStringList{"UpDataParam", "UpDataParam"}));
        for (int i = 0; i < 4; ++i) poll();
        QCOMPARE(ran.size(), 2);
        QCOMPARE(notices, (QList<int>{NoticeTimeOut, NoticeTimeOut}));

        // So is coming back to the device from the home page.
        DeviceWindow.Leave();
        PostMsg::GetInstance()->EmitSigMainPageChange();
        PostMsg::GetInstance()->EmitSigSelectMouseInfo(receiver);
        DeviceWindow.Enter();
        WorkerRunEnable = true;
        DeviceWorker->start();
        while (!DeviceWorker->wait(5)) QCoreApplication::processEvents();
        QTRY_COMPARE(ran.size(), 3);
        for (int i = 0; i < 4; ++i) poll();
        QCOMPARE(ran.size(), 3);
        UsbServer_Exit();
    }

    void batteryIndicator_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("withPercent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("colour");
        QTest::newRow("15 is red") << 15 << true << "15%"
                                   << "rgb(152, 43, 34)";
        QTest::newRow("16 is green") << 16 << false << "16"
                                     << "rgb(0, 255, 153)";
        QTest::newRow("above the range") << 140 << true << "140%"
                                         << "rgb(0, 255, 153)";
    }

    void batteryIndicator() {
        QFETCH(int, level);
        QFETCH(bool, withPercent);
        QFETCH(QString, text);
        QFETCH(QString, colour);
        Dialog window;
        Ui::Dialog* form = window.Form();
        const int before = form->progressBar->value();
        window.SlotBattery(true, level, withPercent);
        QCOMPARE(form->label_2->text(), text);
        QVERIFY(form->progressBar->styleSheet().contains(colour));
        QVERIFY(!form->label->isHidden());
        QCOMPARE(form->progressBar->value(), level <= 100 ? level : before);
        window.SlotBattery(false, level, withPercent);
        QVERIFY(form->label->isHidden());
    }

    // A page change shows the summary page's background or the other one, and restyles none of the
    // pages inside the background frame.
    void pageChangeRestylesTheBackgroundOnly() {
        Dialog window;
        Ui::Dialog* form = window.Form();
        const QString folder = Paths::InstallDir() + "/Picture/Dialog/";
        const auto look = [](QWidget* frame) {
            QImage image(frame->size(), QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            frame->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            return image;
        };
        const auto picture = [&](const QString& name) {
            QFrame frame;
            frame.setStyleSheet("QFrame{border-image: url(" + folder + name + ");}");
            frame.resize(form->frame_2->size());
            return look(&frame);
        };
        const QImage summary = picture("BackGround2.png"), other = picture("BackGround.png");
        QVERIFY(summary != other);
        QCOMPARE(look(form->frame_2), summary);

        int restyled = 0;
        EventCounter counter(QEvent::StyleChange, &restyled);
        for (int i = 0; i < form->stackedWidgetDialog->count(); ++i)
            for (QWidget* widget : form->stackedWidgetDialog->widget(i)->findChildren<QWidget*>())
                widget->installEventFilter(&counter);
        const struct {
            QToolButton* button;
            const QImage* background;
        } clicks[] = {{form->SensorButton, &other},   {form->MacroButton, &other}, {form->PreButton, &summary},
                      {form->ButtonMain, &other},     {form->Advanced, &other},    {form->FormSetting, &other},
                      {form->PreButton, &summary}};
        for (const auto& click : clicks) {
            click.button->click();
            QCOMPARE(look(form->frame_2), *click.background);
        }
        QCOMPARE(restyled, 0);
    }
};

QTEST_MAIN(TestDeviceWindow)
#include "tst_devicewindow.moc"
