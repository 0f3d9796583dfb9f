#include "sensor/LevelColorDialog.h"

#include <QColorDialog>

#include "widgets/DialogFrame.h"

LevelColorDialog::LevelColorDialog(QWidget* panel) : QObject(panel), panel_(panel) {}

void LevelColorDialog::Open(const QColor& colour) {
    if (!dialog_) {
        // Made without a parent: a button box hands the style it has to the OK and Cancel buttons it
        // makes, and under a page with a style sheet they would keep that page's style, which the
        // dialog's sheet does not replace (they would stay in the toolkit's own look).
        dialog_ = new QColorDialog;
        dialog_->setOption(QColorDialog::DontUseNativeDialog);
        dialog_->setStyleSheet(DialogFrame::ToolkitDialogStyle());
        dialog_->setParent(panel_, dialog_->windowFlags());
        connect(dialog_, &QColorDialog::colorSelected, this, &LevelColorDialog::ColorChosen);
    }
    // The toolkit names the dialog once, when it is made; its name follows the language in use.
    dialog_->setWindowTitle(QColorDialog::tr("Select Color"));
    dialog_->setCurrentColor(colour);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}
