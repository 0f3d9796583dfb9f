#include "sensor/DebouncetimeC.h"

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_DebouncetimeC.h"

DebouncetimeC::DebouncetimeC(QWidget* parent)
    : QFrame(parent), ui(new Ui_DebouncetimeC), PictureFolder(SensorStyles::SensorPictureFolder()) {
    ui->setupUi(this);
    ui->spinBoxA->setStyleSheet(SensorStyles::NumberSheet("LinEditColorSecond", true));
    const QString button =
        "{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(";
    ui->AddLevelA->setStyleSheet("QToolButton" + button + PictureFolder + "Add.png);}");
    ui->ReduceLevelA->setStyleSheet("QToolButton" + button + PictureFolder + "Reduce.png);}");
}

DebouncetimeC::~DebouncetimeC() {
    delete ui;
}

void DebouncetimeC::SetDebounce(int value) {
    ui->spinBoxA->setValue(value);
}

void DebouncetimeC::SetItemText(int /*index*/, const QString& text) {
    ui->spinBoxA->setSuffix(text);
}

void DebouncetimeC::on_AddLevelA_clicked() {
    if (ui->spinBoxA->value() == 20) return;
    ui->spinBoxA->setValue(ui->spinBoxA->value() + 1);
    if (UiLive) SetKeyDebounce(ui->spinBoxA->value());
}

void DebouncetimeC::on_ReduceLevelA_clicked() {
    if (ui->spinBoxA->value() == 1) return;
    ui->spinBoxA->setValue(ui->spinBoxA->value() - 1);
    if (UiLive) SetKeyDebounce(ui->spinBoxA->value());
}
