#include "sensor/SensorRate.h"

#include <QButtonGroup>

#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/ReportRates.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorRate.h"
#include "widgets/ColorText.h"

SensorRate::SensorRate(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorRate),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      RateButtonGroup(new QButtonGroup(this)) {
    ui->setupUi(this);
    RateButtonGroup->setExclusive(true);
    const QString buttonColour = OptionColorText("ButtonColor");
    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    for (int i = 0; i < int(kReportRates.size()); ++i) {
        RateButtonGroup->addButton(Button(i));
        Button(i)->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
            buttonColour + ";);padding-left:0px;background-image: url(" + PictureFolder +
            "ReportRate.png);}QToolButton:checked{padding-left:0px;background-image: url(" + PictureFolder +
            "ReportRateClick.png); }");
    }
}

SensorRate::~SensorRate() {
    delete ui;
}

QAbstractButton* SensorRate::Button(int index) const {
    QAbstractButton* const buttons[] = {ui->Button125HZ,  ui->Button250HZ,  ui->Button500HZ, ui->Button1000HZ,
                                        ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ};
    return buttons[index];
}

void SensorRate::SetRate(int index) {
    if (index < 0 || index >= int(kReportRates.size())) return;
    CurrentRateIndex = index;
    Button(index)->setChecked(true);
    PostMsg::GetInstance()->EmitSigAddReport(kReportRates[size_t(index)].hz);
}

void SensorRate::ShowRates(int mode) {
    std::array<bool, 3> shown{};
    if (!HighRatesShown(mode, &shown)) return;
    for (int i = 0; i < 3; ++i) Button(4 + i)->setVisible(shown[size_t(i)]);
}

void SensorRate::SetTitleText(const QString& text) {
    ui->label->setText(text);
}

void SensorRate::RateClicked(int index, bool checked) {
    if (!checked || !UiLive) return;
    const ReportRateRow& row = kReportRates[size_t(index)];
    if (SetReportRate(row.code)) {
        PostMsg::GetInstance()->EmitSigAddReport(row.hz);
        CurrentRateIndex = index;
        PostMsg::GetInstance()->EmitSigHideModel(row.highRate);
    } else {
        SetRate(CurrentRateIndex);
    }
}

void SensorRate::on_Button125HZ_clicked(bool checked) {
    RateClicked(0, checked);
}
void SensorRate::on_Button250HZ_clicked(bool checked) {
    RateClicked(1, checked);
}
void SensorRate::on_Button500HZ_clicked(bool checked) {
    RateClicked(2, checked);
}
void SensorRate::on_Button1000HZ_clicked(bool checked) {
    RateClicked(3, checked);
}
void SensorRate::on_Button2000HZ_clicked(bool checked) {
    RateClicked(4, checked);
}
void SensorRate::on_Button4000HZ_clicked(bool checked) {
    RateClicked(5, checked);
}
void SensorRate::on_Button8000HZ_clicked(bool checked) {
    RateClicked(6, checked);
}
