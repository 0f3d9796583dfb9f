#include "sensor/KFPS20.h"

#include <QSignalBlocker>

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/SensorStyles.h"
#include "ui_KFPS20.h"

KFPS20::KFPS20(QWidget* parent)
    : QFrame(parent), ui(new Ui_KFPS20), PictureFolder(SensorStyles::AdvancedPictureFolder()) {
    ui->setupUi(this);
    SensorStyles::SetTitleMarker(ui->TitleButton_2, PictureFolder);
    ui->label_3->setStyleSheet(SensorStyles::CaptionSheet());
    ui->KFPS->setStyleSheet(
        "#KFPS{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: url(" +
        PictureFolder + "Close.png);}#KFPS:checked {background-image: url(" + PictureFolder + "Open.png);}");
    ui->Error_2->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

KFPS20::~KFPS20() {
    delete ui;
}

void KFPS20::SetChecked(bool on) {
    ui->KFPS->setChecked(on);
}

void KFPS20::SetTipsPos(int x, int y) {
    ui->Error_2->move(x, y);
}

void KFPS20::SlotAllLanguage(int index) {
    ui->label_3->setText(LanguageText(MouseAdvancedSettingsTexts, index, "scanningTitle"));
    ui->Error_2->setToolTip(LanguageText(MouseAdvancedSettingsTexts, index, "scanningTips"));
}

void KFPS20::on_KFPS_clicked(bool checked) {
    if (SetScan20K(checked ? 1 : 0)) return;
    const QSignalBlocker blocker(ui->KFPS);
    ui->KFPS->setChecked(!checked);
}
