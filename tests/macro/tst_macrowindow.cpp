// The macro page in the device window's page stack.
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "Dialog.h"
#include "DeviceFlags.h"
#include "KeyCapture.h"
#include "LanguageLoader.h"
#include "MacroPageFixture.h"
#include "PostMsg.h"
#include "ui_Dialog.h"

using namespace MacroPageFixture;

class TestMacroWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadLanguageFiles(); }

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
};

QTEST_MAIN(TestMacroWindow)
#include "tst_macrowindow.moc"
