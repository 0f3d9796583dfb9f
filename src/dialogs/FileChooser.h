#pragma once
#include <QString>
#include <functional>

class QWidget;

// The one way a page asks the user for a file. Production shows the file dialog; a test installs a
// script that answers instead. An empty answer means the user cancelled. The caption ("FileSave",
// "SelectFile") and the name of the filter ("File" of "File(*.bin)") are keys of the common texts:
// the dialog shows them in the current language. A name to save under that has no extension gets the
// filter's one, whether the dialog or a script gave it; when the name so completed is that of an existing
// file, the dialog's replace question comes first (through ModalRunner), and "No" goes back to choosing.
namespace FileChooser {

enum class Mode { Save, Open };

// Receives the request (the caption and the filter as the page asked) and returns the chosen path.
using Script = std::function<QString(Mode mode, const QString& caption, const QString& filter)>;

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);

// Installs a script (tests); an empty one restores the file dialogs. GUI thread only.
void SetScript(Script script);

}  // namespace FileChooser

// Installs a file chooser script for one scope (tests).
class ScopedFileChooserScript {
public:
    explicit ScopedFileChooserScript(FileChooser::Script script) {
        FileChooser::SetScript(std::move(script));
    }
    ~ScopedFileChooserScript() { FileChooser::SetScript(nullptr); }
    ScopedFileChooserScript(const ScopedFileChooserScript&) = delete;
    ScopedFileChooserScript& operator=(const ScopedFileChooserScript&) = delete;
};
