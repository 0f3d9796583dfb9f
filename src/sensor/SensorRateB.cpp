#include "sensor/SensorRateB.h"

#include <QButtonGroup>

#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/ReportRates.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorRateB.h"

SensorRateB::SensorRateB(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorRateB),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      RateButtonGroup(new QButtonGroup(this)) {
    ui->setupUi(this);
    RateButtonGroup->setExclusive(true);
    for (int i = 0; i < 6; ++i) RateButtonGroup->addButton(Box(i));
    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    for (int i = 0; i < int(kReportRates.size()); ++i)
        Box(i)->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
}

SensorRateB::~SensorRateB() {
    delete ui;
}

QCheckBox* SensorRateB::Box(int index) const {
    QCheckBox* const boxes[] = {ui->Button125HZ,  ui->Button250HZ,  ui->Button500HZ, ui->Button1000HZ,
                                ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ};
    return boxes[index];
}

void SensorRateB::SetRate(int index) {
    if (index < 0 || index >= int(kReportRates.size())) return;
    Box(index)->setChecked(true);
}

void SensorRateB::ShowRates(int mode) {
    std::array<bool, 3> shown{};
    if (!HighRatesShown(mode, &shown)) return;
    for (int i = 0; i < 3; ++i) Box(4 + i)->setVisible(shown[size_t(i)]);
}

void SensorRateB::SetTitleText(const QString& text) {
    ui->label->setText(text);
}

void SensorRateB::RateClicked(int index, bool checked) {
    if (!checked || !UiLive) return;
    const ReportRateRow& row = kReportRates[size_t(index)];
    if (SetReportRate(row.code)) PostMsg::GetInstance()->EmitSigHideModel(row.highRate);
}

void SensorRateB::on_Button125HZ_clicked(bool checked) {
    RateClicked(0, checked);
}
void SensorRateB::on_Button250HZ_clicked(bool checked) {
    RateClicked(1, checked);
}
void SensorRateB::on_Button500HZ_clicked(bool checked) {
    RateClicked(2, checked);
}
void SensorRateB::on_Button1000HZ_clicked(bool checked) {
    RateClicked(3, checked);
}
void SensorRateB::on_Button2000HZ_clicked(bool checked) {
    RateClicked(4, checked);
}
void SensorRateB::on_Button4000HZ_clicked(bool checked) {
    RateClicked(5, checked);
}
void SensorRateB::on_Button8000HZ_clicked(bool checked) {
    RateClicked(6, checked);
}
