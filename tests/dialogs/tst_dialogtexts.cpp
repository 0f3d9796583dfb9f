#include <QLabel>
#include <QtTest>

#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/WriteFail.h"

Q_DECLARE_METATYPE(const TextTable*)

// The installed language files hold every text the dialogs show, in both languages.
class TstDialogTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void installedTexts_data() {
        QTest::addColumn<const TextTable*>("table");
        QTest::addColumn<QString>("key");
        const QList<QPair<const TextTable*, QStringList>> keys = {
            {&MouseCommonTexts,
             {"OK", "Cancel", WriteFail::TextKey(WriteFail::Action::MacroSave),
              WriteFail::TextKey(WriteFail::Action::MacroExport),
              WriteFail::TextKey(WriteFail::Action::MacroImport),
              WriteFail::TextKey(WriteFail::Action::ProfileExport)}},
            {&MouseHomeTexts, {"ErrorDevice", "MakeMaro", "MaxThree", "Repair", "NewVerTips"}},
            {&MouseInfoTipsTexts,
             {"DialogUpdating", "DialogOffline", "TimeOut", "DialogNotTaken", "DialogMacroNoRoom",
              "DialogReceiverNotTaken"}},
            {&MouseKeyTexts,
             {"DialogKeepLeftKey", "DialogConfigError", "DialogEConfigMismatch", "DialogDebounceTips"}},
            {&MouseMacroTexts,
             {"DialogSameMacroName", "DialogMaxMacroKey", "DialogDeleteMacro", "DialogSelectMacroFirst",
              "DialogInputMacroName"}},
            {&MouseSettingsTexts, {"DialogRestore"}},
        };
        for (const auto& [table, names] : keys)
            for (const QString& key : names) QTest::newRow(qPrintable(key)) << table << key;
    }
    void installedTexts() {
        QFETCH(const TextTable*, table);
        QFETCH(QString, key);
        QVERIFY(!LanguageText(*table, 0, key).isEmpty());
        QVERIFY(!LanguageText(*table, 1, key).isEmpty());
    }

    void dialogFollowsTheLanguage() {
        MakeMacro d;
        QLabel* label = d.findChild<QLabel*>("label");
        QCOMPARE(label->text(), LanguageText(MouseHomeTexts, 0, "MakeMaro"));
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(label->text(), LanguageText(MouseHomeTexts, 1, "MakeMaro"));
        QVERIFY(label->text() != LanguageText(MouseHomeTexts, 0, "MakeMaro"));
    }
};

QTEST_MAIN(TstDialogTexts)
#include "tst_dialogtexts.moc"
