#include "lighting/SensorEffect.h"

#include <QSignalBlocker>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "lighting/LightState.h"
#include "ui_SensorEffect.h"

namespace {
const int kBrightnessBytes[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};
}

SensorEffect::SensorEffect(QWidget* parent) : QFrame(parent), ui(new Ui_SensorEffect) {
    ui->setupUi(this);
    PictureFolder = LightState::PictureFolder("Sensor");
    ui->TitleButton_3->setStyleSheet("#TitleButton_3{border-image: url(" + PictureFolder + "Title.png);}");
    for (QWidget* label : {static_cast<QWidget*>(ui->label), static_cast<QWidget*>(ui->label_15),
                           static_cast<QWidget*>(ui->label_14)})
        label->setStyleSheet(LightState::LabelSheet());
    LightState::StyleCombo(ui->Model, PictureFolder);
    ui->SpeedH->setStyleSheet(LightState::SliderSheet(PictureFolder));
    ui->LightH->setStyleSheet(LightState::SliderSheet(PictureFolder));
    ui->SpeedSpinBox->setStyleSheet(LightState::LevelBoxSheet());
    ui->LightSpinBox->setStyleSheet(LightState::LevelBoxSheet());
}

SensorEffect::~SensorEffect() {
    delete ui;
}

int SensorEffect::BrightnessByte(int level) {
    return kBrightnessBytes[qBound(1, level, 10) - 1];
}

int SensorEffect::BrightnessLevel(int byte) {
    for (int i = 0; i < 10; ++i)
        if (kBrightnessBytes[i] == byte) return i + 1;
    return byte;
}

void SensorEffect::Fill(int mode, int brightness, int speed, int enable) {
    if (enable == 0)
        SetMode(0);
    else if (mode == 1 || mode == 2)
        SetMode(mode);
    SetSpeed(speed);
    SetBrightness(BrightnessLevel(brightness));
}

void SensorEffect::SetMode(int index) {
    {
        const QSignalBlocker block(ui->Model);
        ui->Model->setCurrentIndex(index);
        CurrentMode = index;
    }
    const QSignalBlocker speed(ui->SpeedH), light(ui->LightH);
    ApplyVisibility(index);
}

void SensorEffect::SetSpeed(int level) {
    {
        const QSignalBlocker block(ui->SpeedH);
        ui->SpeedH->setValue(level);
    }
    ui->SpeedSpinBox->setValue(level);
}

void SensorEffect::SetBrightness(int level) {
    {
        const QSignalBlocker block(ui->LightH);
        ui->LightH->setValue(level);
    }
    ui->LightSpinBox->setValue(level);
}

void SensorEffect::SetSlidersEnabled(bool enabled) {
    ui->SpeedH->setEnabled(enabled);
    ui->LightH->setEnabled(enabled);
}

void SensorEffect::UnlockSliders() {
    SetSlidersEnabled(true);
    ui->SpeedH->blockSignals(false);
    ui->LightH->blockSignals(false);
}

void SensorEffect::SetModeItemText(int index, const QString& text) {
    ui->Model->setItemText(index, text);
}

void SensorEffect::SetTitleText(const QString& text) {
    ui->label->setText(text);
}

void SensorEffect::SetSpeedText(const QString& text) {
    ui->label_14->setText(text);
}

void SensorEffect::SetBrightnessText(const QString& text) {
    ui->label_15->setText(text);
}

bool SensorEffect::GateOpen() const {
    return UiLive && !SensorPageRefreshing;
}

void SensorEffect::ApplyVisibility(int index) {
    if (index < 0 || index > 2) return;
    const bool speed = index == 2;
    const bool light = index == 1;
    ui->SpeedH->setVisible(speed);
    ui->SpeedSpinBox->setVisible(speed);
    ui->line->setVisible(!speed);
    ui->LightH->setVisible(light);
    ui->LightSpinBox->setVisible(light);
    ui->line_2->setVisible(!light);
}

void SensorEffect::on_Model_currentIndexChanged(int index) {
    if (GateOpen()) {
        if (!SetDpiLightMode(index)) {
            SetMode(CurrentMode);
            return;
        }
        CurrentMode = index;
    }
    ApplyVisibility(index);
}

void SensorEffect::on_SpeedH_valueChanged(int value) {
    LightState::LevelReleased(ui->SpeedH, ui->SpeedSpinBox, value, GateOpen(),
                              [](int level) { return SetDpiLightSpeed(level); });
}

void SensorEffect::on_LightH_valueChanged(int value) {
    LightState::LevelReleased(ui->LightH, ui->LightSpinBox, value, GateOpen(),
                              [](int level) { return SetDpiLightBrightness(BrightnessByte(level)); });
}

void SensorEffect::on_SpeedH_sliderMoved(int position) {
    LightState::LevelMoved(ui->SpeedH, ui->SpeedSpinBox, position);
}

void SensorEffect::on_LightH_sliderMoved(int position) {
    LightState::LevelMoved(ui->LightH, ui->LightSpinBox, position);
}
