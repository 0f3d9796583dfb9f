#include "keys/AddDelayTime.h"

#include "core/LanguageTables.h"
#include "ui_AddDelayTime.h"
#include "widgets/DialogFrame.h"

AddDelayTime::AddDelayTime(QWidget* parent) : FramedDialog(parent), ui(new Ui_AddDelayTime) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->AddDelayTimeA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong, ui->NewHong_2};
    BuildFrame(parts);
    ui->spinBox->setStyleSheet(DialogFrame::InputStyle("QSpinBox"));
    ui->spinBox->setFocus();
}

AddDelayTime::~AddDelayTime() {
    delete ui;
}

void AddDelayTime::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "EnterDelay"));
    ui->NewHong->setText(OkText(index));
    ui->NewHong_2->setText(CancelText(index));
}

void AddDelayTime::on_NewHong_clicked() {
    ui->spinBox->interpretText();
    OkFlag = true;
    Delay = ui->spinBox->value();
    close();
}

void AddDelayTime::on_NewHong_2_clicked() {
    OkFlag = false;
    close();
}
