#pragma once
#include "dialogs/FramedDialog.h"

class Ui_LeftButtonOnly;

// Notice: The left-click function must stay on a button.
class LeftButtonOnly : public FramedDialog {
    Q_OBJECT
public:
    explicit LeftButtonOnly(QWidget* parent = nullptr);
    ~LeftButtonOnly() override;

private:
    void FillTexts(int index) override;
    Ui_LeftButtonOnly* ui;
};
