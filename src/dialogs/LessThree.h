#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_LessThree;

// Notice: A very short debounce time was chosen.
class LessThree : public NoticeFrame {
    Q_OBJECT
public:
    explicit LessThree(QWidget* parent = nullptr);
    ~LessThree() override;

private:
    void FillTexts(int index) override;
    Ui_LessThree* ui;
};
