#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_GroupMaxThree;

// Notice: A key combination has at most three keys.
class GroupMaxThree : public NoticeFrame {
    Q_OBJECT
public:
    explicit GroupMaxThree(QWidget* parent = nullptr);
    ~GroupMaxThree() override;

private:
    void FillTexts(int index) override;
    Ui_GroupMaxThree* ui;
};
