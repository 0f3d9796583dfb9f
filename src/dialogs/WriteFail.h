#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_WriteFail;

// Notice: a user's file could not be written (a full disk, a read-only folder); the text names the
// action that failed. Nothing of the file was changed.
class WriteFail : public NoticeFrame {
    Q_OBJECT
public:
    enum class Action { MacroCreate, MacroSave, MacroExport, MacroImport, ProfileExport };

    explicit WriteFail(Action action, QWidget* parent = nullptr);
    ~WriteFail() override;

    // The language key of an action's text (common texts).
    static const char* TextKey(Action action);

private:
    void FillTexts(int index) override;
    Action What;
    Ui_WriteFail* ui;
};
