#pragma once
#include "dialogs/FramedDialog.h"

class Ui_FireKey;

// Asks for the two values of a rapid-fire button: the interval between shots (10 to 255) and the
// number of shots per press (0 to 3; 0 fires while the button is held). Every way of closing ends
// the modal run rejected; the opener reads OkFlag, Interval and Count.
class FireKey : public FramedDialog {
    Q_OBJECT
public:
    explicit FireKey(QWidget* parent = nullptr);
    ~FireKey() override;

    bool OkFlag = false;
    int Interval = 10;  // the "Time" box when confirmed
    int Count = 3;      // the "Count" box when confirmed

    // Presets; the boxes clamp to their ranges.
    void SetTime(int value);
    void SetCount(int value);

protected:
    void FillTexts(int index) override;

private slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

private:
    Ui_FireKey* ui;
};
