#include "dialogs/RePair.h"

#include "core/LanguageTables.h"
#include "ui_RePair.h"

RePair::RePair(QWidget* parent) : FramedDialog(parent), ui(new Ui_RePair) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->RePairA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->OK, ui->Cancel};
    BuildFrame(parts);
}

RePair::~RePair() {
    delete ui;
}

void RePair::reject() {
    Confirmed = false;
    FramedDialog::reject();
}

void RePair::on_OK_clicked() {
    Confirmed = true;
    accept();
}

void RePair::on_Cancel_clicked() {
    reject();
}

void RePair::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "Repair"));
    ui->OK->setText(OkText(index));
    ui->Cancel->setText(CancelText(index));
}
