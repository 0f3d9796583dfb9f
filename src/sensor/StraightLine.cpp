#include "sensor/StraightLine.h"

#include "device/DeviceCommand.h"
#include "ui_StraightLine.h"

namespace {
const TogglePanel::TipsPositions kTipsX = {170, 170, 187, 190, 175, 175, -1, 175};
}

StraightLine::StraightLine(QWidget* parent) : TogglePanel(parent, &SetAngleSnap), ui(new Ui_StraightLine) {
    ui->setupUi(this);
    Bind(ui->StraightLine_2, ui->label, ui->label_2, true);
}

StraightLine::~StraightLine() {
    delete ui;
}

void StraightLine::SetTipsPos(int languageIndex) {
    TogglePanel::SetTipsPos(languageIndex, kTipsX);
}

void StraightLine::on_StraightLine_2_clicked(bool checked) {
    Clicked(checked);
}
