#include "sensor/LongMode.h"

#include <QSignalBlocker>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "platform/DebugLog.h"
#include "sensor/SensorStyles.h"
#include "ui_LongMode.h"

LongMode::LongMode(QWidget* parent)
    : QFrame(parent), ui(new Ui_LongMode), PictureFolder(SensorStyles::AdvancedPictureFolder()) {
    ui->setupUi(this);
    SensorStyles::SetTitleMarker(ui->TitleButton_3, PictureFolder);
    ui->label_5->setStyleSheet(SensorStyles::CaptionSheet());
    ui->label_6->setStyleSheet(SensorStyles::CaptionSheet());
    ui->checkBox->setStyleSheet(
        SensorStyles::CheckBoxSheet(PictureFolder, "CheckBoxChecked.png", "CheckBox.png"));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

LongMode::~LongMode() {
    delete ui;
}

void LongMode::SetChecked(bool on) {
    const QSignalBlocker blocker(ui->checkBox);
    ui->checkBox->setChecked(on);
}

bool LongMode::IsChecked() const {
    return ui->checkBox->isChecked();
}

void LongMode::SlotAllLanguage(int index) {
    ui->label_5->setText(LanguageText(MouseAdvancedSettingsTexts, index, "LongDistance"));
    ui->label_6->setText(LanguageText(MouseAdvancedSettingsTexts, index, "LongDistanceTips"));
}

void LongMode::on_checkBox_toggled(bool checked) {
    if (!UiLive) return;
    const QByteArray path = CurrentDevicePathCopy();
    // The box shows the receiver's state again before the one notice opens.
    if (path.isEmpty() || !UsbFinderC_GetDeviceOnLine(path.constData())) {
        PutBack(checked);
        PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeOffline);
        return;
    }
    if (!UsbFinderC_SetLongRangeMode(path.constData(), checked)) {
        qCDebug(VzDebug) << "long-range mode not taken";
        PutBack(checked);
        PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeReceiverNotTaken);
    }
}

void LongMode::PutBack(bool checked) {
    const QSignalBlocker blocker(ui->checkBox);
    ui->checkBox->setChecked(!checked);
}
