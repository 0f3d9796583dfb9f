#pragma once
// The angle snapping switch.

#include "sensor/TogglePanel.h"

class Ui_StraightLine;

class StraightLine : public TogglePanel {
    Q_OBJECT
public:
    explicit StraightLine(QWidget* parent = nullptr);
    ~StraightLine() override;

    // Moves the tips icon for the language; indexes without a position leave it.
    void SetTipsPos(int languageIndex);

private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    Ui_StraightLine* ui;
};
