#include "dialogs/ContainReset.h"

#include "core/LanguageTables.h"
#include "ui_ContainReset.h"

ContainReset::ContainReset(QWidget* parent) : FramedDialog(parent), ui(new Ui_ContainReset) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->ContainResetA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->OK, ui->Cancel};
    BuildFrame(parts);
}

ContainReset::~ContainReset() {
    delete ui;
}

void ContainReset::SetText(const QString& text) {
    ui->label->setText(text);
}

void ContainReset::reject() {
    Confirmed = false;
    FramedDialog::reject();
}

void ContainReset::on_OK_clicked() {
    Confirmed = true;
    accept();
}

void ContainReset::on_Cancel_clicked() {
    reject();
}

void ContainReset::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseSettingsTexts, index, "DialogRestore"));
    ui->OK->setText(OkText(index));
    // Setting a button's text resets its shortcut: bind Return again.
    ui->OK->setShortcut(QKeySequence(Qt::Key_Return));
    ui->Cancel->setText(CancelText(index));
}
