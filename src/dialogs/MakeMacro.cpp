#include "dialogs/MakeMacro.h"

#include "core/LanguageTables.h"
#include "ui_MakeMacro.h"

MakeMacro::MakeMacro(QWidget* parent) : NoticeFrame(parent), ui(new Ui_MakeMacro) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->MakeMacroA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

MakeMacro::~MakeMacro() {
    delete ui;
}

void MakeMacro::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "MakeMaro"));
    ui->NewHong->setText(OkText(index));
}
