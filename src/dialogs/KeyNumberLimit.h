#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_KeyNumberLimit;

// Notice: A macro holds at most 70 events.
class KeyNumberLimit : public NoticeFrame {
    Q_OBJECT
public:
    explicit KeyNumberLimit(QWidget* parent = nullptr);
    ~KeyNumberLimit() override;

private:
    void FillTexts(int index) override;
    Ui_KeyNumberLimit* ui;
};
