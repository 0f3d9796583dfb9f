#include "dialogs/UpDateWarning.h"

#include "ui_UpDateWarning.h"

UpDateWarning::UpDateWarning(QWidget* parent) : NoticeFrame(parent), ui(new Ui_UpDateWarning) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->WarningFrame;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

UpDateWarning::~UpDateWarning() {
    delete ui;
}

void UpDateWarning::SetText(const QString& text) {
    ui->label->setText(text);
}

// The message is the opener's; only the confirm text follows the language.
void UpDateWarning::FillTexts(int index) {
    ui->NewHong->setText(OkText(index));
    // Setting a button's text resets its shortcut: bind Return again.
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
}
