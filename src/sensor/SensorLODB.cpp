#include "sensor/SensorLODB.h"

#include <QButtonGroup>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorLODB.h"

SensorLODB::SensorLODB(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorLODB),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      group_(new QButtonGroup(this)) {
    ui->setupUi(this);
    group_->setExclusive(true);
    group_->addButton(ui->MM0);
    group_->addButton(ui->MM1);
    group_->addButton(ui->MM2);
    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->MM1->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
    ui->MM2->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
    ui->MM0->hide();
}

SensorLODB::~SensorLODB() {
    delete ui;
}

void SensorLODB::AddShortLod() {
    ui->MM0->show();
    ui->MM0->move(80, 0);
    ui->MM1->move(165, 0);
    ui->MM2->move(250, 0);
}

void SensorLODB::RemoveShortLod() {
    ui->MM0->hide();
    ui->MM1->move(80, 0);
    ui->MM2->move(165, 0);
}

void SensorLODB::SetEnabled(bool on) {
    ui->MM1->setEnabled(on);
    ui->MM2->setEnabled(on);
}

void SensorLODB::SetLod(int value) {
    if (value == 2 && !ui->MM0->isHidden()) ui->MM0->setChecked(true);
    if (value == 0) ui->MM1->setChecked(true);
    if (value == 1) ui->MM2->setChecked(true);
}

void SensorLODB::SetText(const QString& text) {
    ui->label->setText(text);
}

void SensorLODB::SetTips(const QString& text) {
    ui->label->setToolTip(text);
}

void SensorLODB::Send(int code) {
    if (!UiLive || SensorPageRefreshing) return;
    ::SetLod(code);
}

void SensorLODB::on_MM1_clicked(bool) {
    Send(1);
}
void SensorLODB::on_MM2_clicked(bool) {
    Send(2);
}
void SensorLODB::on_MM0_clicked(bool) {
    Send(3);
}
