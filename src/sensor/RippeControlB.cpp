#include "sensor/RippeControlB.h"

#include "device/DeviceCommand.h"
#include "ui_RippeControlB.h"

RippeControlB::RippeControlB(QWidget* parent)
    : TogglePanel(parent, &SetRippleControl), ui(new Ui_RippeControlB) {
    ui->setupUi(this);
    Bind(ui->RippeControl_2, ui->label, nullptr, false);
}

RippeControlB::~RippeControlB() {
    delete ui;
}

void RippeControlB::on_RippeControl_2_clicked(bool checked) {
    Clicked(checked);
}
