#pragma once
// The motion sync switch.

#include "sensor/TogglePanel.h"

class Ui_MotionSync;

class MotionSync : public TogglePanel {
    Q_OBJECT
public:
    explicit MotionSync(QWidget* parent = nullptr);
    ~MotionSync() override;

    // Moves the tips icon for the language; indexes without a position leave it.
    void SetTipsPos(int languageIndex);

private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    Ui_MotionSync* ui;
};
