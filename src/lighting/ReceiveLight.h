#pragma once
// The receiver light-bar panel: mode, brightness and speed levels and colour of the receiver's light
// bar, written to the receiver as the DongleLightBar record.

#include <QFrame>
#include <QString>

#include "hidusb/DeviceReplyRecords.h"

class ColorEditor;
class QSlider;
class QSpinBox;
class Ui_ReceiveLight;

class ReceiveLight : public QFrame {
    Q_OBJECT
public:
    explicit ReceiveLight(QWidget* parent = nullptr);
    ~ReceiveLight() override;

    void SetSignalsBlocked(bool blocked);
    void SetLightMode(int index);
    void SetBrightnessSlider(int level);
    void SetBrightnessSpin(int level);
    void SetSpeedSlider(int level);
    void SetSpeedSpin(int level);
    void SetRGB(int red, int green, int blue);

public slots:
    void SlotAllLanguage(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private slots:
    void on_LightMod_2_currentIndexChanged(int index);
    void on_horizontalLight_2_sliderMoved(int position);
    void on_horizontalLight_2_valueChanged(int value);
    void on_horizontalSpeed_2_sliderMoved(int position);
    void on_horizontalSpeed_2_valueChanged(int value);

private:
    // Writes CurrentDongleLightBar; on refusal puts back the whole record as it was before the change.
    bool Write(const DongleLightBar& before);
    void LevelChanged(QSlider* slider, QSpinBox* box, uint8_t DongleLightBar::*field, int* last, int value);
    bool ColourChanged(int red, int green, int blue);  // false: refused, the device's colour shown again
    void ApplyLayout(int index);

    Ui_ReceiveLight* ui;
    QString PictureFolder;
    ColorEditor* Editor;
};
