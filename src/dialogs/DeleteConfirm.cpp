#include "dialogs/DeleteConfirm.h"

#include "core/LanguageTables.h"
#include "ui_DeleteConfirm.h"

DeleteConfirm::DeleteConfirm(QWidget* parent) : FramedDialog(parent), ui(new Ui_DeleteConfirm) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->DeleteConfirmA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

DeleteConfirm::~DeleteConfirm() {
    delete ui;
}

void DeleteConfirm::reject() {
    Confirmed = false;
    FramedDialog::reject();
}

void DeleteConfirm::on_NewHong_clicked() {
    Confirmed = true;
    accept();
}

void DeleteConfirm::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseMacroTexts, index, "DialogDeleteMacro"));
    ui->NewHong->setText(OkText(index));
}
