#include "dialogs/InportFail.h"

#include "core/LanguageTables.h"
#include "dialogs/ProfileFile.h"
#include "ui_InportFail.h"

InportFail::InportFail(QWidget* parent) : NoticeFrame(parent), ui(new Ui_InportFail) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->InportFailA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

InportFail::~InportFail() {
    delete ui;
}

void InportFail::FillTexts(int index) {
    if (ImportResult == 1)
        ui->label->setText(LanguageText(MouseKeyTexts, index, "DialogConfigError"));
    else if (ImportResult == 2)
        ui->label->setText(LanguageText(MouseKeyTexts, index, "DialogEConfigMismatch"));
    else if (ImportResult == 3)
        ui->label->setText(LanguageText(MouseMacroTexts, index, "DialogMacroFileError"));
    ui->NewHong->setText(OkText(index));
}
