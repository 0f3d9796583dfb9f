#include "sensor/MotionSyncB.h"

#include "device/DeviceCommand.h"
#include "ui_MotionSyncB.h"

MotionSyncB::MotionSyncB(QWidget* parent) : TogglePanel(parent, &SetMotionSync), ui(new Ui_MotionSyncB) {
    ui->setupUi(this);
    Bind(ui->MotionSync_2, ui->label, nullptr, false);
}

MotionSyncB::~MotionSyncB() {
    delete ui;
}

void MotionSyncB::on_MotionSync_2_clicked(bool checked) {
    Clicked(checked);
}
