// The installed texts and pictures of the macro page.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "keys/KeyTables.h"
#include "macro/Macro.h"
#include "platform/Paths.h"

class TestMacroTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void installedTexts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("Czech") << 1;
    }
    void installedTexts() {
        QFETCH(int, language);
        for (const char* key : {"MacroList",
                                "KeyList",
                                "NewMacro",
                                "randomDelay",
                                "Delete",
                                "Modify",
                                "StartRecord",
                                "StopRecord",
                                "AutoDelay",
                                "DefaultDelay",
                                "UntilThisReleased",
                                "UntilAnyPressed",
                                "UntilThisPressed",
                                "CycleTimes",
                                "InsertEvent",
                                "Delay",
                                "MacroSeond",
                                "MacroExport",
                                "Rename",
                                "MacroImport",
                                "DialogMacroFileError"})
            QVERIFY2(!LanguageText(MouseMacroTexts, language, key).isEmpty(), key);
        for (int command = 0; command <= 6; ++command)
            QVERIFY(!LanguageText(MouseInsertEventLabels, language, QString::number(command)).isEmpty());
        for (int value = 0; value <= 9; ++value)
            QVERIFY(!LanguageText(MouseRandomDelayLabels, language, QString::number(value)).isEmpty());
        QVERIFY(!LanguageText(MouseCommonTexts, language, "Save").isEmpty());
    }

    void pageShowsTexts() {
        Macro page;
        page.SlotAllLanguage(1);
        QCOMPARE(page.findChild<QToolButton*>("Save")->text(), LanguageText(MouseCommonTexts, 1, "Save"));
        QCOMPARE(page.findChild<QPushButton*>("StartRecord")->text(),
                 LanguageText(MouseMacroTexts, 1, "StartRecord"));
        auto* chooser = page.findChild<QComboBox*>("ChooseEvent");
        QCOMPARE(chooser->count(), 9);
        QCOMPARE(chooser->itemText(0), QString());
        QCOMPARE(chooser->itemText(3), LanguageText(MouseMacroTexts, 1, "Delay"));
        QCOMPARE(chooser->itemText(8), LanguageText(MouseInsertEventLabels, 1, "6"));
        QCOMPARE(MouseButtonNames[3], LanguageText(MouseInsertEventLabels, 1, "6"));
        QCOMPARE(page.MacroLabelPrefix, LanguageText(MouseMacroTexts, 1, "MacroSeond"));
        // No mouse-button name may be mistaken for a key.
        for (int language = 0; language < LanguageCount; ++language) {
            SetMouseButtonNames(language);
            for (int i = 0; i < MouseButtonCount; ++i)
                QCOMPARE(KeyNameToCode(MouseButtonNames[i]).value(1), QString("4"));
        }
    }

    void pictures() {
        const QString folder = Paths::InstallDir() + "/Picture/Macro/";
        for (const char* name :
             {"Up.png", "Down.png", "ComboboxBack.png", "Menu.png", "MenuClicked.png", "ComboboxTextBack.png",
              "CheckBoxCheck.png", "CheckBox.png", "Button.png", "ButtonHover.png", "ButtonClick.png",
              "Record.png", "RecordHover.png", "Stop.png", "StopHover.png", "MacroDown.png", "MacroUp.png",
              "MacroTime.png"})
            QVERIFY2(!QImage(folder + name).isNull(), name);
    }
};

QTEST_MAIN(TestMacroTexts)
#include "tst_macrotexts.moc"
