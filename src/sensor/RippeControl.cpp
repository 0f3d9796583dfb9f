#include "sensor/RippeControl.h"

#include "device/DeviceCommand.h"
#include "ui_RippeControl.h"

namespace {
const TogglePanel::TipsPositions kTipsX = {175, 170, 187, 190, 175, 175, -1, 175};
}

RippeControl::RippeControl(QWidget* parent)
    : TogglePanel(parent, &SetRippleControl), ui(new Ui_RippeControl) {
    ui->setupUi(this);
    Bind(ui->RippeControl_2, ui->label, ui->label_2, true);
}

RippeControl::~RippeControl() {
    delete ui;
}

void RippeControl::SetTipsPos(int languageIndex) {
    TogglePanel::SetTipsPos(languageIndex, kTipsX);
}

void RippeControl::on_RippeControl_2_clicked(bool checked) {
    Clicked(checked);
}
