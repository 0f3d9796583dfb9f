#include "sensor/MotionSync.h"

#include "device/DeviceCommand.h"
#include "ui_MotionSync.h"

namespace {
const TogglePanel::TipsPositions kTipsX = {160, 170, 190, 190, 175, 175, -1, 175};
}

MotionSync::MotionSync(QWidget* parent) : TogglePanel(parent, &SetMotionSync), ui(new Ui_MotionSync) {
    ui->setupUi(this);
    Bind(ui->MotionSync_2, ui->label, ui->label_2, true);
}

MotionSync::~MotionSync() {
    delete ui;
}

void MotionSync::SetTipsPos(int languageIndex) {
    TogglePanel::SetTipsPos(languageIndex, kTipsX);
}

void MotionSync::on_MotionSync_2_clicked(bool checked) {
    Clicked(checked);
}
