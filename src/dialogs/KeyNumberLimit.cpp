#include "dialogs/KeyNumberLimit.h"

#include "core/LanguageTables.h"
#include "ui_KeyNumberLimit.h"

KeyNumberLimit::KeyNumberLimit(QWidget* parent) : NoticeFrame(parent), ui(new Ui_KeyNumberLimit) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->LimitA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

KeyNumberLimit::~KeyNumberLimit() {
    delete ui;
}

void KeyNumberLimit::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseMacroTexts, index, "DialogMaxMacroKey"));
    ui->NewHong->setText(OkText(index));
}
