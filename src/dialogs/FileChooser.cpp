#include "dialogs/FileChooser.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "core/LanguageTables.h"
#include "dialogs/ModalRunner.h"

namespace FileChooser {
namespace {
Script& CurrentScript() {
    static Script script;
    return script;
}

// A key of the common texts in the current language; a key without a text shows as it is.
QString Shown(const QString& key) {
    const QString text = LanguageText(MouseCommonTexts, CurrentLanguage, key);
    return text.isEmpty() ? key : text;
}

// "File(*.bin)" shows as the language's word for "File" and " (*.bin)".
QString ShownFilter(const QString& filter) {
    const int open = filter.indexOf('(');
    if (open <= 0) return filter;
    return Shown(filter.left(open).trimmed()) + " " + filter.mid(open);
}

// The extension of the filter's first pattern ("bin" of "File(*.bin)"); empty without one.
QString Suffix(const QString& filter) {
    const QRegularExpressionMatch match = QRegularExpression("\\(\\*\\.(\\w+)").match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

// The path with the filter's extension when its file name has none (a name ending in a dot included).
QString WithSuffix(const QString& path, const QString& filter) {
    const QString suffix = Suffix(filter);
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || suffix.isEmpty() || !QFileInfo(name).suffix().isEmpty()) return path;
    return path + (name.endsWith('.') ? suffix : "." + suffix);
}

// The replace question of the file dialog, for a file the dialog did not ask about.
bool ConfirmReplace(QWidget* parent, const QString& caption, const QString& path) {
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?");
    QMessageBox box(QMessageBox::Warning, Shown(caption), question.arg(QFileInfo(path).fileName()),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return ModalRunner::Run(box) == QMessageBox::Yes;
}

QString Ask(QWidget* parent, Mode mode, const QString& caption, const QString& folder,
            const QString& filter) {
    QString start = folder;
    for (;;) {
        // Copy: the script may replace itself while it runs.
        const Script script = CurrentScript();
        QString path;
        if (script) {
            path = script(mode, caption, filter);
        } else {
            QFileDialog dialog(parent, Shown(caption), start, ShownFilter(filter));
            dialog.setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            dialog.setFileMode(mode == Mode::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
            // The dialog adds the extension itself, so that it asks before replacing the file meant.
            if (mode == Mode::Save) dialog.setDefaultSuffix(Suffix(filter));
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                path = dialog.selectedFiles().first();
        }
        if (mode == Mode::Open) return path;
        // The dialog asked about the name it answered; a name completed here ("profile." to
        // "profile.bin") may name another file, which is replaced only when the user says so.
        const QString completed = WithSuffix(path, filter);
        if (completed == path || !QFileInfo::exists(completed) || ConfirmReplace(parent, caption, completed))
            return completed;
        start = completed;  // back to the dialog, with the completed name chosen
    }
}
}  // namespace

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    return Ask(parent, Mode::Save, caption, folder, filter);
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    return Ask(parent, Mode::Open, caption, folder, filter);
}

void SetScript(Script script) {
    CurrentScript() = std::move(script);
}

}  // namespace FileChooser
