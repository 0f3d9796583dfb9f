#include "dialogs/LeftButtonOnly.h"

#include "core/LanguageTables.h"
#include "ui_LeftButtonOnly.h"

LeftButtonOnly::LeftButtonOnly(QWidget* parent) : FramedDialog(parent), ui(new Ui_LeftButtonOnly) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->ButtonOnly;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    BuildFrame(parts);
}

LeftButtonOnly::~LeftButtonOnly() {
    delete ui;
}

void LeftButtonOnly::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseKeyTexts, index, "DialogKeepLeftKey"));
}
