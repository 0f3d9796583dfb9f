#include "dialogs/GroupMaxThree.h"

#include "core/LanguageTables.h"
#include "ui_GroupMaxThree.h"

GroupMaxThree::GroupMaxThree(QWidget* parent) : NoticeFrame(parent), ui(new Ui_GroupMaxThree) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->MaxThree;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

GroupMaxThree::~GroupMaxThree() {
    delete ui;
}

void GroupMaxThree::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "MaxThree"));
    ui->NewHong->setText(OkText(index));
}
