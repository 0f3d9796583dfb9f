#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_MakeMacro;

// Notice: No macro exists yet.
class MakeMacro : public NoticeFrame {
    Q_OBJECT
public:
    explicit MakeMacro(QWidget* parent = nullptr);
    ~MakeMacro() override;

private:
    void FillTexts(int index) override;
    Ui_MakeMacro* ui;
};
