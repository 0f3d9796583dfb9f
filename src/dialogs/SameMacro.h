#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_SameMacro;

// Notice: The macro name is taken.
class SameMacro : public NoticeFrame {
    Q_OBJECT
public:
    explicit SameMacro(QWidget* parent = nullptr);
    ~SameMacro() override;

private:
    void FillTexts(int index) override;
    Ui_SameMacro* ui;
};
