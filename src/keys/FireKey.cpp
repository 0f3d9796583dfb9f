#include "keys/FireKey.h"

#include "core/LanguageTables.h"
#include "ui_FireKey.h"
#include "widgets/DialogFrame.h"

FireKey::FireKey(QWidget* parent) : FramedDialog(parent), ui(new Ui_FireKey) {
    ui->setupUi(this);
    Parts parts;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong, ui->NewHong_2};
    BuildFrame(parts);
    ui->label_2->setStyleSheet(DialogFrame::LabelStyle());
    ui->label_3->setStyleSheet(DialogFrame::LabelStyle());
    const QString spinStyle = DialogFrame::InputStyle("QSpinBox");
    ui->Count->setStyleSheet(spinStyle);
    ui->Time->setStyleSheet(spinStyle);
    // This dialog is larger than the frame's picture: stretch it over the whole frame.
    ui->FireKeyA->setStyleSheet("#FireKeyA{border:0px;border-image: url(" + PicturePath +
                                "BackGround.png);}");
}

FireKey::~FireKey() {
    delete ui;
}

void FireKey::SetTime(int value) {
    ui->Time->setValue(value);
}

void FireKey::SetCount(int value) {
    ui->Count->setValue(value);
}

void FireKey::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseKeyTexts, index, "DialogFireKeyTimes"));
    ui->label_2->setText(LanguageText(MouseKeyTexts, index, "DialogFireKeyInterval"));
    ui->label_3->setText(LanguageText(MouseKeyTexts, index, "DialogFireKeyTips"));
    ui->NewHong->setText(OkText(index));
    ui->NewHong_2->setText(CancelText(index));
}

void FireKey::on_NewHong_clicked() {
    // Text still being typed counts as what the boxes show; out of range it falls back.
    ui->Time->interpretText();
    ui->Count->interpretText();
    OkFlag = true;
    Interval = ui->Time->value();
    Count = ui->Count->value();
    close();
}

void FireKey::on_NewHong_2_clicked() {
    OkFlag = false;
    close();
}
