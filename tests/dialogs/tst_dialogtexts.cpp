#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "dialogs/FileChooser.h"
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
              WriteFail::TextKey(WriteFail::Action::ProfileExport), "FileSave", "SelectFile", "File"}},
            {&MouseHomeTexts, {"ErrorDevice", "MakeMaro", "MaxThree", "Repair", "NewVerTips"}},
            {&MouseInfoTipsTexts,
             {"DialogUpdating", "DialogOffline", "TimeOut", "DialogNotTaken", "DialogReceiverNotTaken"}},
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

    // The file dialogs of the profile and macro export and import: title and filter in the language,
    // and a name to save under gets the filter's extension.
    void fileDialogsSpeakTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("save");
        QTest::newRow("English, save") << 0 << true;
        QTest::newRow("English, open") << 0 << false;
        QTest::newRow("Czech, save") << 1 << true;
        QTest::newRow("Czech, open") << 1 << false;
    }
    void fileDialogsSpeakTheLanguage() {
        QFETCH(int, language);
        QFETCH(bool, save);
        const int before = CurrentLanguage;
        CurrentLanguage = language;
        QString title, suffix;
        QStringList filters;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            dialog->reject();
        });
        poll.start(10);
        const QString path =
            save ? FileChooser::GetSaveFileName(nullptr, "FileSave", QDir::tempPath(), "File(*.bin)")
                 : FileChooser::GetOpenFileName(nullptr, "SelectFile", QDir::tempPath(), "File(*.bin)");
        CurrentLanguage = before;
        QVERIFY(path.isEmpty());
        const QString caption = save ? "FileSave" : "SelectFile";
        QCOMPARE(title, LanguageText(MouseCommonTexts, language, caption));
        QVERIFY(title != caption);
        QCOMPARE(filters, QStringList{LanguageText(MouseCommonTexts, language, "File") + " (*.bin)"});
        if (language == 1) QVERIFY(title != LanguageText(MouseCommonTexts, 0, caption));
        QCOMPARE(suffix, save ? QString("bin") : QString());
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
