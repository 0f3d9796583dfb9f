#pragma once
// Alternative form of the angle snapping switch (switch on the right, no tips icon, nothing put back when a
// send fails).

#include "sensor/TogglePanel.h"

class Ui_StraightLineB;

class StraightLineB : public TogglePanel {
    Q_OBJECT
public:
    explicit StraightLineB(QWidget* parent = nullptr);
    ~StraightLineB() override;

private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    Ui_StraightLineB* ui;
};
