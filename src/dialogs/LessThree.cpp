#include "dialogs/LessThree.h"

#include "core/LanguageTables.h"
#include "ui_LessThree.h"

LessThree::LessThree(QWidget* parent) : NoticeFrame(parent), ui(new Ui_LessThree) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->LessThreeframe;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

LessThree::~LessThree() {
    delete ui;
}

void LessThree::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseKeyTexts, index, "DialogDebounceTips"));
    ui->NewHong->setText(OkText(index));
}
