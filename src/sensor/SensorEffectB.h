#pragma once
// Alternative form of the DPI-light panel: check boxes for steady, breathing and off, a speed slider
// and a brightness slider. Every user change sends at once; a failed send puts nothing back.

#include <QFrame>
#include <QString>

class QButtonGroup;
class Ui_SensorEffectB;

class SensorEffectB : public QFrame {
    Q_OBJECT
public:
    explicit SensorEffectB(QWidget* parent = nullptr);
    ~SensorEffectB() override;

    // The setters show values without sending.
    void SetMode(int code);  // 0 off, 1 steady, 2 breathing
    void SetModeText(int code, const QString& text);
    void SetTitle(const QString& text);
    void SetSpeedTitle(const QString& text);
    void SetBrightnessTitle(const QString& text);
    void SetSpeed(int speed);
    void SetBrightness(int level);
    void SetSlidersEnabled(bool enabled);

    // DpiLightBrightness byte of a brightness level 1 to 10; 0 outside.
    static int BrightnessByte(int level);

private slots:
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);
    void on_MM3_clicked(bool checked);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_sliderMoved(int position);
    void on_SpeedH_valueChanged(int value);
    void on_LightH_valueChanged(int value);

private:
    void ShowEffect(int code);
    void EffectClicked(int code, bool checked);

    Ui_SensorEffectB* ui;
    QString PictureFolder;
    QButtonGroup* group_;
};
