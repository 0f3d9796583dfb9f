#include "sensor/StraightLineB.h"

#include "device/DeviceCommand.h"
#include "ui_StraightLineB.h"

StraightLineB::StraightLineB(QWidget* parent) : TogglePanel(parent, &SetAngleSnap), ui(new Ui_StraightLineB) {
    ui->setupUi(this);
    Bind(ui->StraightLine_2, ui->label, nullptr, false);
}

StraightLineB::~StraightLineB() {
    delete ui;
}

void StraightLineB::on_StraightLine_2_clicked(bool checked) {
    Clicked(checked);
}
