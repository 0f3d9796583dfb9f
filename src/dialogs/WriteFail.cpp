#include "dialogs/WriteFail.h"

#include "core/LanguageTables.h"
#include "ui_WriteFail.h"

WriteFail::WriteFail(Action action, QWidget* parent)
    : NoticeFrame(parent), What(action), ui(new Ui_WriteFail) {
    ui->setupUi(this);
    Parts parts;
    parts.Frame = ui->WriteFailA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    BuildFrame(parts);
}

WriteFail::~WriteFail() {
    delete ui;
}

const char* WriteFail::TextKey(Action action) {
    switch (action) {
        case Action::MacroCreate:
            return "DialogMacroCreateFailed";
        case Action::MacroSave:
            return "DialogMacroSaveFailed";
        case Action::MacroExport:
            return "DialogMacroExportFailed";
        case Action::MacroImport:
            return "DialogMacroImportFailed";
        case Action::ProfileExport:
            return "DialogProfileExportFailed";
    }
    return "DialogMacroSaveFailed";
}

void WriteFail::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseCommonTexts, index, TextKey(What)));
    ui->NewHong->setText(OkText(index));
}
