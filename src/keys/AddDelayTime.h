#pragma once
#include "dialogs/FramedDialog.h"

class Ui_AddDelayTime;

// Asks for a delay of the macro event list, 10 to 65535 ms. Every way of closing ends the modal
// run rejected; the opener reads OkFlag and Delay.
class AddDelayTime : public FramedDialog {
    Q_OBJECT
public:
    explicit AddDelayTime(QWidget* parent = nullptr);
    ~AddDelayTime() override;

    bool OkFlag = false;
    int Delay = 0;  // milliseconds, when confirmed

protected:
    void FillTexts(int index) override;

private slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

private:
    Ui_AddDelayTime* ui;
};
