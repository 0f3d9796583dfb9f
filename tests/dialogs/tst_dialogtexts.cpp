#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "TestEnv.h"
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
             {"OK", "Cancel", WriteFail::TextKey(WriteFail::Action::MacroCreate),
              WriteFail::TextKey(WriteFail::Action::MacroSave),
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

    // A name to save under that ends up naming an existing file asks the file dialog's replace question,
    // whichever extension the name was given; "No" goes back to choosing, "Yes" takes the file.
    void savingOverAFileAsksFirst_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("asked");
        QTest::newRow("profile, no extension") << "File(*.bin)"
                                               << "profile"
                                               << "profile.bin" << true;
        QTest::newRow("profile, ending in a dot") << "File(*.bin)"
                                                  << "profile."
                                                  << "profile.bin" << true;
        QTest::newRow("profile, whole name") << "File(*.bin)"
                                             << "profile.bin"
                                             << "profile.bin" << true;
        QTest::newRow("profile, other case") << "File(*.bin)"
                                             << "profile.BIN"
                                             << "profile.BIN" << false;
        QTest::newRow("new name ending in a dot") << "File(*.bin)"
                                                  << "fresh."
                                                  << "fresh.bin" << false;
        QTest::newRow("macro, no extension") << "File(*.ini)"
                                             << "macro"
                                             << "macro.ini" << true;
        QTest::newRow("macro, ending in a dot") << "File(*.ini)"
                                                << "macro."
                                                << "macro.ini" << true;
    }
    void savingOverAFileAsksFirst() {
        QFETCH(QString, filter);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(bool, asked);
        const QString dir = TestEnv::FreshDir("replace");
        for (const char* name : {"profile.bin", "macro.ini"}) {
            QFile file(dir + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList questions;
        bool typeNext = true;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                if (!typeNext || !name) return;
                typeNext = false;
                name->setText(typed);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                questions << box->text();
                typeNext = true;
                box->button(questions.size() == 1 ? QMessageBox::No : QMessageBox::Yes)->click();
            }
        });
        poll.start(10);
        const QString path = FileChooser::GetSaveFileName(nullptr, "FileSave", dir, filter);
        QCOMPARE(path, dir + "/" + saved);
        const QString question =
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(saved);
        QCOMPARE(questions, asked ? QStringList({question, question}) : QStringList());
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
