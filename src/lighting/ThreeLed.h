#pragma once
// The receiver indicator LED panel: a function code 0..3 for each of the receiver's three LEDs,
// written to the receiver as the DongleIndicatorLeds record.

#include <QFrame>
#include <QString>

#include "hidusb/DeviceReplyRecords.h"

class QComboBox;
class Ui_ThreeLed;

class ThreeLed : public QFrame {
    Q_OBJECT
public:
    explicit ThreeLed(QWidget* parent = nullptr);
    ~ThreeLed() override;

    void SetLed1Function(int code);
    void SetLed2Function(int code);
    void SetLed3Function(int code);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_LightMod_3_currentIndexChanged(int index);
    void on_LightMod_4_currentIndexChanged(int index);
    void on_LightMod_5_currentIndexChanged(int index);

private:
    void SetSilently(QComboBox* combo, int code);
    void FunctionChanged(QComboBox* combo, uint8_t DongleIndicatorLeds::*field, int* last, int index);

    Ui_ThreeLed* ui;
    QString PictureFolder;
};
