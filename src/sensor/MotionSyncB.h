#pragma once
// Alternative form of the motion sync switch (switch on the right, no tips icon, nothing put back when a send
// fails).

#include "sensor/TogglePanel.h"

class Ui_MotionSyncB;

class MotionSyncB : public TogglePanel {
    Q_OBJECT
public:
    explicit MotionSyncB(QWidget* parent = nullptr);
    ~MotionSyncB() override;

private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    Ui_MotionSyncB* ui;
};
