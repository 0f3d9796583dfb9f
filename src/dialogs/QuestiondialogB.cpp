#include "dialogs/QuestiondialogB.h"

#include "core/LanguageTables.h"
#include "ui_QuestiondialogB.h"

QuestiondialogB::QuestiondialogB(QWidget* parent) : FramedDialog(parent), ui(new Ui_QuestiondialogB) {
    ui->setupUi(this);
    setFixedSize(width(), height());
    Parts parts;
    parts.Frame = ui->QuestionB;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    BuildFrame(parts);
}

QuestiondialogB::~QuestiondialogB() {
    delete ui;
}

void QuestiondialogB::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "ErrorDevice"));
}
