#pragma once
// Shared set-up of the macro page tests: a fresh macro folder, test texts, scripted dialogs and
// helpers that show the event list as short texts.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "Child.h"
#include "LanguageFixture.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/QuestionDialog.h"
#include "keys/AddDelayTime.h"
#include "keys/KeyTables.h"
#include "keys/addKey.h"
#include "macro/Macro.h"
#include "platform/Paths.h"

namespace MacroPageFixture {

using ::Child;

inline QString MacroFolder() {
    return Paths::UserDataDir() + "/usersetting/MacroPage";
}

// An empty macro folder.
inline void FreshMacroFolder() {
    QDir(MacroFolder()).removeRecursively();
    QDir().mkpath(MacroFolder());
}

inline void WriteFile(const QString& name, const QByteArray& content) {
    QFile file(MacroFolder() + "/" + name);
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

inline QByteArray ReadFile(const QString& name) {
    QFile file(MacroFolder() + "/" + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void PutTexts() {
    for (const char* key :
         {"MacroSeond", "MacroExport", "Rename", "Delete", "NewMacro", "MacroImport", "MacroList"})
        LanguageFixture::Put(MouseMacroTexts, key);
    for (const char* key : {"0", "1", "2", "3", "4", "5", "6"})
        LanguageFixture::Put(MouseInsertEventLabels, key);
}

// Answers every dialog the page opens and notes which ones it opened.
struct DialogAnswers {
    QStringList Opened;
    QString Name;         // the name input's answer
    bool Confirm = true;  // the delete confirmation
    QString Key = "C";    // the single-key dialog
    bool KeyOk = true;
    int Delay = 300;  // the delay dialog
    bool DelayOk = true;

    int Answer(QDialog& dialog) {
        Opened << dialog.metaObject()->className();
        if (auto* input = qobject_cast<QuestionDialog*>(&dialog)) {
            input->MacroName = Name;
            return Name.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
        }
        if (auto* confirm = qobject_cast<DeleteConfirm*>(&dialog)) {
            confirm->Confirmed = Confirm;
            return Confirm ? QDialog::Accepted : QDialog::Rejected;
        }
        if (auto* key = qobject_cast<addKey*>(&dialog)) {
            key->OkFlag = KeyOk;
            key->KeyName = Key;
            return KeyOk ? QDialog::Accepted : QDialog::Rejected;
        }
        if (auto* delay = qobject_cast<AddDelayTime*>(&dialog)) {
            delay->OkFlag = DelayOk;
            delay->Delay = Delay;
            return QDialog::Rejected;
        }
        return QDialog::Rejected;
    }
};

// "+A" press, "-A" release, "10ms" delay.
inline QStringList Shown(const Macro& page) {
    QStringList items;
    for (const MacroFiles::MacroEntry& entry : page.Entries())
        items << (entry.IsDelay() ? entry.Text : (entry.IsRelease() ? "-" : "+") + entry.Text);
    return items;
}

// Fills the shown macro's event list from short texts.
inline void Fill(Macro& page, const QStringList& items) {
    for (const QString& item : items) {
        if (item.endsWith("ms"))
            page.AddDelayItem(item.chopped(2).toDouble());
        else
            page.AddKeyItem(item.mid(1), item.startsWith('+'));
    }
}

inline QListWidget* MacroList(const Macro& page) {
    return Child<QListWidget>(page, "listWidgetHong");
}
inline QListWidget* EventList(const Macro& page) {
    return Child<QListWidget>(page, "listWidgetKey");
}

inline QListWidgetItem* ItemNamed(const Macro& page, const QString& name) {
    const auto found = MacroList(page)->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// A left click on a macro of the list.
inline void Select(Macro& page, const QString& name) {
    QListWidgetItem* item = ItemNamed(page, name);
    QVERIFY2(item, qPrintable(name));
    const QModelIndex index = MacroList(page)->model()->index(MacroList(page)->row(item), 0);
    QMetaObject::invokeMethod(&page, "on_listWidgetHong_clicked", Q_ARG(QModelIndex, index));
}

inline void Invoke(Macro& page, const char* slot) {
    QVERIFY(QMetaObject::invokeMethod(&page, slot));
}

}  // namespace MacroPageFixture
