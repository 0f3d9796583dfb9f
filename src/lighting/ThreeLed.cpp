#include "lighting/ThreeLed.h"

#include <QSignalBlocker>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "lighting/LightState.h"
#include "ui_ThreeLed.h"

namespace {
// Receiver label key of combo item 0..3.
const char* const kItemKeys[4] = {"0", "3", "2", "1"};
}  // namespace

ThreeLed::ThreeLed(QWidget* parent) : QFrame(parent), ui(new Ui_ThreeLed) {
    ui->setupUi(this);
    ui->label_36->hide();
    PictureFolder = LightState::PictureFolder("Light");
    ui->TitleButton_6->setStyleSheet("#TitleButton_6{border-image: url(" + PictureFolder + "Title.png);}");
    for (QComboBox* combo : {ui->LightMod_3, ui->LightMod_4, ui->LightMod_5})
        LightState::StyleCombo(combo, PictureFolder);
    const auto picture = [this](const char* name) {
        return "QLabel{background-image: url(" + PictureFolder + name + ");}";
    };
    ui->label_5->setStyleSheet(picture("Mode1.png"));
    ui->label_30->setStyleSheet(picture("Mode2.png"));
    ui->label_32->setStyleSheet(picture("Mode2.png"));
    ui->label_34->setStyleSheet(picture("Mode3.png"));
    for (QWidget* label : {ui->label_17, ui->label_25, ui->label_26, ui->label_27, ui->label_28, ui->label_29,
                           ui->label_31, ui->label_33})
        label->setStyleSheet(LightState::LabelSheet());
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

ThreeLed::~ThreeLed() {
    delete ui;
}

void ThreeLed::SetSilently(QComboBox* combo, int code) {
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(code >= 0 && code < combo->count() ? code : -1);
}

void ThreeLed::SetLed1Function(int code) {
    SetSilently(ui->LightMod_3, code);
}

void ThreeLed::SetLed2Function(int code) {
    SetSilently(ui->LightMod_4, code);
}

void ThreeLed::SetLed3Function(int code) {
    SetSilently(ui->LightMod_5, code);
}

void ThreeLed::FunctionChanged(QComboBox* combo, uint8_t DongleIndicatorLeds::*field, int* last, int index) {
    if (!UiLive || LightPageRefreshing) return;
    CurrentDongleIndicatorLeds.*field = static_cast<uint8_t>(index);
    const QByteArray path = CurrentDevicePathCopy();
    const bool accepted = UsbFinderC_SetDongleIndicatorLed(
        path.constData(), reinterpret_cast<const unsigned char*>(&CurrentDongleIndicatorLeds));
    IsDeviceOnline();
    if (!accepted) {
        CurrentDongleIndicatorLeds.*field = static_cast<uint8_t>(*last);
        SetSilently(combo, *last);
        return;
    }
    UpdateFlashData();
    *last = index;
}

void ThreeLed::on_LightMod_3_currentIndexChanged(int index) {
    FunctionChanged(ui->LightMod_3, &DongleIndicatorLeds::Led1Function, &LastLed1Function, index);
}

void ThreeLed::on_LightMod_4_currentIndexChanged(int index) {
    FunctionChanged(ui->LightMod_4, &DongleIndicatorLeds::Led2Function, &LastLed2Function, index);
}

void ThreeLed::on_LightMod_5_currentIndexChanged(int index) {
    FunctionChanged(ui->LightMod_5, &DongleIndicatorLeds::Led3Function, &LastLed3Function, index);
}

void ThreeLed::SlotAllLanguage(int index) {
    const auto status = [index](const char* key) {
        return LanguageMap(MouseStatusDescriptionLabels, index).value(key);
    };
    ui->label_35->setText(status("#42e81b"));
    ui->label_37->setText(status("#f5b020"));
    ui->label_38->setText(status("#f52c17"));
    for (QComboBox* combo : {ui->LightMod_3, ui->LightMod_4, ui->LightMod_5})
        for (int i = 0; i < 4; ++i)
            combo->setItemText(i, LanguageText(MouseReceiverLabels, index, kItemKeys[i]));
    ui->label_17->setText(LanguageText(MouseLightTexts, index, "receiver"));
    ui->label_28->setText(LanguageText(MouseLightTexts, index, "PreviewLightsTips"));
    ui->label_29->setText(LanguageText(MouseReceiverLabels, index, "3"));
    ui->label_31->setText(LanguageText(MouseReceiverLabels, index, "2"));
    ui->label_33->setText(LanguageText(MouseReceiverLabels, index, "1"));
    ui->label_49->setText(LanguageText(MouseLightTexts, index, "default"));
}
