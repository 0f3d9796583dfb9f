#include "sensor/SensorEffectB.h"

#include <QButtonGroup>
#include <QSignalBlocker>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorEffectB.h"
#include "widgets/ColorText.h"

namespace {
bool SendAllowed() {
    return UiLive && !SensorPageRefreshing;
}
}  // namespace

SensorEffectB::SensorEffectB(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorEffectB),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      group_(new QButtonGroup(this)) {
    ui->setupUi(this);
    group_->setExclusive(true);
    group_->addButton(ui->MM1);
    group_->addButton(ui->MM2);
    group_->addButton(ui->MM3);
    const QString caption = SensorStyles::CaptionSheet();
    ui->label->setStyleSheet(caption);
    ui->label_14->setStyleSheet(caption);
    ui->label_15->setStyleSheet(caption);
    for (QWidget* box : {ui->MM1, ui->MM2, ui->MM3})
        box->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
    const QString slider = SensorStyles::WideSliderSheet(PictureFolder);
    ui->SpeedH->setStyleSheet(slider);
    ui->LightH->setStyleSheet(slider);
    ui->SpeedSpinBox->setStyleSheet(SensorStyles::NumberSheet("LabelColor", false));
    ui->LightSpinBox->setStyleSheet(SensorStyles::NumberSheet("LabelColor", false));
}

SensorEffectB::~SensorEffectB() {
    delete ui;
}

int SensorEffectB::BrightnessByte(int level) {
    static const int kBytes[] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};
    return level >= 1 && level <= 10 ? kBytes[level - 1] : 0;
}

void SensorEffectB::ShowEffect(int code) {
    const bool speed = code == 2;
    const bool brightness = code == 1;
    ui->SpeedH->setVisible(speed);
    ui->SpeedSpinBox->setVisible(speed);
    ui->line->setVisible(!speed);
    ui->LightH->setVisible(brightness);
    ui->LightSpinBox->setVisible(brightness);
    ui->line_2->setVisible(!brightness);
}

void SensorEffectB::SetMode(int code) {
    if (code < 0 || code > 2) return;
    const QSignalBlocker speed(ui->SpeedH);
    const QSignalBlocker light(ui->LightH);
    (code == 0 ? ui->MM3 : code == 1 ? ui->MM1 : ui->MM2)->setChecked(true);
    ShowEffect(code);
}

void SensorEffectB::SetModeText(int code, const QString& text) {
    if (code < 0 || code > 2) return;
    (code == 0 ? ui->MM3 : code == 1 ? ui->MM1 : ui->MM2)->setText(text);
}

void SensorEffectB::SetTitle(const QString& text) {
    ui->label->setText(text);
}

void SensorEffectB::SetSpeedTitle(const QString& text) {
    ui->label_14->setText(text);
}

void SensorEffectB::SetBrightnessTitle(const QString& text) {
    ui->label_15->setText(text);
}

void SensorEffectB::SetSpeed(int speed) {
    const QSignalBlocker blocker(ui->SpeedH);
    ui->SpeedH->setValue(speed);
    ui->SpeedSpinBox->setValue(ui->SpeedH->value());
}

void SensorEffectB::SetBrightness(int level) {
    const QSignalBlocker blocker(ui->LightH);
    ui->LightH->setValue(level);
    ui->LightSpinBox->setValue(ui->LightH->value());
}

void SensorEffectB::SetSlidersEnabled(bool enabled) {
    ui->SpeedH->setEnabled(enabled);
    ui->LightH->setEnabled(enabled);
}

void SensorEffectB::EffectClicked(int code, bool checked) {
    if (!checked) return;
    ShowEffect(code);
    if (SendAllowed()) SetDpiLightMode(code);
}

void SensorEffectB::on_MM1_clicked(bool checked) {
    EffectClicked(1, checked);
}
void SensorEffectB::on_MM2_clicked(bool checked) {
    EffectClicked(2, checked);
}
void SensorEffectB::on_MM3_clicked(bool checked) {
    EffectClicked(0, checked);
}

void SensorEffectB::on_SpeedH_sliderMoved(int position) {
    ui->SpeedSpinBox->setValue(position);
}

void SensorEffectB::on_LightH_sliderMoved(int position) {
    ui->LightSpinBox->setValue(position);
}

void SensorEffectB::on_SpeedH_valueChanged(int value) {
    ui->SpeedSpinBox->setValue(value);
    if (SendAllowed()) SetDpiLightSpeed(value);
}

void SensorEffectB::on_LightH_valueChanged(int value) {
    ui->LightSpinBox->setValue(value);
    if (SendAllowed()) SetDpiLightBrightness(BrightnessByte(value));
}
