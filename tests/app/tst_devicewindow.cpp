// The device window: its battery indicator and the macro page in its page stack.
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "FirmwareFixture.h"
#include "MacroPageFixture.h"
#include "app/Dialog.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "platform/KeyCapture.h"
#include "ui_Dialog.h"

using namespace MacroPageFixture;

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
};

QTEST_MAIN(TestDeviceWindow)
#include "tst_devicewindow.moc"
