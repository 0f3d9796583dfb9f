#pragma once
// Alternative form of the ripple control switch (switch on the right, no tips icon, nothing put back when a
// send fails).

#include "sensor/TogglePanel.h"

class Ui_RippeControlB;

class RippeControlB : public TogglePanel {
    Q_OBJECT
public:
    explicit RippeControlB(QWidget* parent = nullptr);
    ~RippeControlB() override;

private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    Ui_RippeControlB* ui;
};
