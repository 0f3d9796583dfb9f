#pragma once
// The ripple control switch.

#include "sensor/TogglePanel.h"

class Ui_RippeControl;

class RippeControl : public TogglePanel {
    Q_OBJECT
public:
    explicit RippeControl(QWidget* parent = nullptr);
    ~RippeControl() override;

    // Moves the tips icon for the language; indexes without a position leave it.
    void SetTipsPos(int languageIndex);

private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    Ui_RippeControl* ui;
};
