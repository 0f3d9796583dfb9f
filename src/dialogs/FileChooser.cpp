#include "dialogs/FileChooser.h"

#include <QFileDialog>

namespace FileChooser {
namespace {
Script& CurrentScript() {
    static Script script;
    return script;
}
}  // namespace

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    const Script script = CurrentScript();
    if (script) return script(Mode::Save, caption, filter);
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
    const Script script = CurrentScript();
    if (script) return script(Mode::Open, caption, filter);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void SetScript(Script script) {
    CurrentScript() = std::move(script);
}

}  // namespace FileChooser
