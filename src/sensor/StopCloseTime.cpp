#include "sensor/StopCloseTime.h"

#include <QSignalBlocker>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_StopCloseTime.h"

StopCloseTime::StopCloseTime(QWidget* parent)
    : QFrame(parent), ui(new Ui_StopCloseTime), PictureFolder(SensorStyles::LightPictureFolder()) {
    ui->setupUi(this);
    ui->StopClose->setStyleSheet(SensorStyles::ComboSheet(PictureFolder, false));
    SensorStyles::InstallPopupView(ui->StopClose);
    ui->StopClose->setMaxVisibleItems(15);
}

StopCloseTime::~StopCloseTime() {
    delete ui;
}

void StopCloseTime::SetSleepIndex(int index) {
    if (index < 0 || index >= int(kSleepCodes.size())) return;
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(index);
    RememberedIndex = index;
}

void StopCloseTime::SetItemText(int index, const QString& text) {
    ui->StopClose->setItemText(index, text);
}

void StopCloseTime::on_StopClose_activated(int index) {
    if (!UiLive || index < 0 || index >= int(kSleepCodes.size())) return;
    const int code = kSleepCodes[size_t(index)];
    if (ButtonPageRefreshing) return;
    if (SetSleepTime(code)) {
        RememberedIndex = index;
        return;
    }
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(RememberedIndex);
}
