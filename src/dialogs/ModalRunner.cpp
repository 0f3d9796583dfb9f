#include "dialogs/ModalRunner.h"

#include <QDialog>
#include <QWidget>

namespace {
ModalRunner::Script& CurrentScript() {
    static ModalRunner::Script script;
    return script;
}
}  // namespace

QPoint ModalRunner::CentredPosition(const QPoint& refTopLeft, const QSize& refSize, const QSize& dialogSize,
                                    int dx, int dy) {
    const int x = refTopLeft.x() + (refSize.width() - dialogSize.width()) / 2 + dx;
    const int y = refTopLeft.y() + (refSize.height() - dialogSize.height()) / 2 + dy;
    return QPoint(x, y);
}

void ModalRunner::Place(QDialog& dialog, const QWidget* reference, int dx, int dy, const QSize& asSize) {
    if (!reference) return;
    const QSize size = asSize.isValid() ? asSize : dialog.size();
    dialog.move(CentredPosition(reference->mapToGlobal(QPoint(0, 0)), reference->size(), size, dx, dy));
}

int ModalRunner::Run(QDialog& dialog) {
    // Copy: the script may replace itself while it runs.
    const Script script = CurrentScript();
    if (script) return script(dialog);
    return dialog.exec();
}

int ModalRunner::RunOver(QDialog& dialog, const QWidget* reference, int dx, int dy, const QSize& asSize) {
    Place(dialog, reference, dx, dy, asSize);
    return Run(dialog);
}

void ModalRunner::SetScript(Script script) {
    CurrentScript() = std::move(script);
}

bool ModalRunner::HasScript() {
    return static_cast<bool>(CurrentScript());
}
