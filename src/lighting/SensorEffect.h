#pragma once
// The DPI indicator light panel: off, steady or breathing, a brightness level for steady and a speed
// level for breathing. The light page fills it; a user's change goes out through the senders.

#include <QFrame>
#include <QString>

class Ui_SensorEffect;

class SensorEffect : public QFrame {
    Q_OBJECT
public:
    explicit SensorEffect(QWidget* parent = nullptr);
    ~SensorEffect() override;

    // Brightness level 1..10 as the byte the mouse stores, and back; a byte outside the table comes
    // back unchanged as the level.
    static int BrightnessByte(int level);
    static int BrightnessLevel(int byte);

    // Fill from image bytes 96..99 (mode, brightness, speed, enable); sends nothing.
    void Fill(int mode, int brightness, int speed, int enable);

    void SetMode(int index);
    void SetSpeed(int level);
    void SetBrightness(int level);
    void SetSlidersEnabled(bool enabled);
    void UnlockSliders();
    void SetModeItemText(int index, const QString& text);
    void SetTitleText(const QString& text);
    void SetSpeedText(const QString& text);
    void SetBrightnessText(const QString& text);

    int CurrentMode = 0;

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);

private:
    void ApplyVisibility(int index);
    bool GateOpen() const;

    Ui_SensorEffect* ui;
    QString PictureFolder;
};
