#pragma once
#include "dialogs/FramedDialog.h"

class Ui_QuestiondialogB;

// Notice: Identical devices are attached.
class QuestiondialogB : public FramedDialog {
    Q_OBJECT
public:
    explicit QuestiondialogB(QWidget* parent = nullptr);
    ~QuestiondialogB() override;

private:
    void FillTexts(int index) override;
    Ui_QuestiondialogB* ui;
};
