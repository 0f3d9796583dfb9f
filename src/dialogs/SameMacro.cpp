#include "dialogs/SameMacro.h"

#include "core/LanguageTables.h"
#include "ui_SameMacro.h"

SameMacro::SameMacro(QWidget* parent) : NoticeFrame(parent), ui(new Ui_SameMacro) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->SameMacroA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

SameMacro::~SameMacro() {
    delete ui;
}

void SameMacro::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseMacroTexts, index, "DialogSameMacroName"));
    ui->NewHong->setText(OkText(index));
}
