#pragma once
// The mouse light panel: effect, brightness and speed levels, colour (editor, presets, screen
// picker) and lights off while moving. The light page fills it; a user's change goes out through
// the senders.

#include <QFrame>
#include <QString>

class ColorEditor;
class Ui_MouseLight;

class MouseLight : public QFrame {
    Q_OBJECT
public:
    explicit MouseLight(QWidget* parent = nullptr);
    ~MouseLight() override;

    void SetSignalsBlocked(bool blocked);
    void SetSlidersEnabled(bool enabled);
    void SetLightMode(int index);
    void SetBrightnessSlider(int level);
    void SetSpeedSlider(int level);
    void SetBrightnessSpin(int level);
    void SetSpeedSpin(int level);
    void SetRGB(int red, int green, int blue);
    void SetMovingOffLight(bool on);

public slots:
    void SlotAllLanguage(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private slots:
    void on_LightMod_currentIndexChanged(int index);
    void on_horizontalLight_valueChanged(int value);
    void on_horizontalSpeed_valueChanged(int value);
    void on_horizontalLight_sliderMoved(int position);
    void on_horizontalSpeed_sliderMoved(int position);
    void on_RippeControl_clicked(bool checked);

private:
    void ApplyLayout(int index);
    bool ColourChanged(int red, int green, int blue);  // false: refused, the device's colour shown again

    Ui_MouseLight* ui;
    QString PictureFolder;
    ColorEditor* Editor;
};
