#include "sensor/DebouncetimeB.h"

#include <QSignalBlocker>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_DebouncetimeB.h"

DebouncetimeB::DebouncetimeB(QWidget* parent)
    : QFrame(parent), ui(new Ui_DebouncetimeB), PictureFolder(SensorStyles::SensorPictureFolder()) {
    ui->setupUi(this);
    ui->spinBoxA->setStyleSheet(SensorStyles::NumberSheet("LinEditColorSecond", true));
    ui->Debunce->setStyleSheet(SensorStyles::ThinSliderSheet(PictureFolder));
}

DebouncetimeB::~DebouncetimeB() {
    delete ui;
}

void DebouncetimeB::SetDebounce(int value) {
    const QSignalBlocker blocker(ui->Debunce);
    ui->Debunce->setValue(value);
    ui->spinBoxA->setValue(value);
}

void DebouncetimeB::SetItemText(int /*index*/, const QString& text) {
    ui->spinBoxA->setSuffix(text);
}

void DebouncetimeB::on_Debunce_sliderMoved(int position) {
    ui->spinBoxA->setValue(position);
}

void DebouncetimeB::on_Debunce_valueChanged(int value) {
    ui->spinBoxA->setValue(value);
    if (UiLive) SetKeyDebounce(value);
}
