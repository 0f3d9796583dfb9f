#include "lighting/OneLed.h"

#include <QButtonGroup>
#include <QSignalBlocker>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "lighting/LightState.h"
#include "ui_OneLed.h"

OneLed::OneLed(QWidget* parent) : QFrame(parent), ui(new Ui_OneLed) {
    ui->setupUi(this);
    Group = new QButtonGroup(this);
    Group->setExclusive(true);
    PictureFolder = LightState::PictureFolder("Light");
    const QString label = LightState::Color("LabelColor");
    ui->TitleButton_7->setStyleSheet("#TitleButton_7{border-image: url(" + PictureFolder + "Title.png);}");
    for (int i = 0; i < 3; ++i) {
        Box(i)->setStyleSheet("QCheckBox{color: rgb(" + label +
                              ";);}QCheckBox:indicator::checked {image: url(" + PictureFolder +
                              "CheckBoxCheck.png);}QCheckBox::indicator::unchecked {image: url(" +
                              PictureFolder + "CheckBox2.png);}");
    }
    for (QWidget* edit : {static_cast<QWidget*>(ui->textEdit_2), static_cast<QWidget*>(ui->textEdit_3),
                          static_cast<QWidget*>(ui->textEdit_4)})
        edit->setStyleSheet("#" + edit->objectName() +
                            "{border: transparent;background-color: transparent;color: rgb(" + label +
                            ";);}");
    ui->label_16->setStyleSheet(LightState::LabelSheet());
    for (int i = 0; i < 3; ++i) Group->addButton(Box(i));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

OneLed::~OneLed() {
    delete ui;
}

QCheckBox* OneLed::Box(int index) const {
    switch (index) {
        case 0:
            return ui->ReUntil;
        case 1:
            return ui->ReUntil_2;
        case 2:
            return ui->ReUntil_3;
        default:
            return nullptr;
    }
}

void OneLed::SelectOptionSilently(int index) {
    if (!Box(index)) return;
    const QSignalBlocker a(ui->ReUntil), b(ui->ReUntil_2), c(ui->ReUntil_3);
    Box(index)->setChecked(true);
    selected_ = index;
}

void OneLed::SelectOption(int index) {
    if (!Box(index)) return;
    Box(index)->setChecked(true);
}

void OneLed::PutBack(int index) {
    const QSignalBlocker a(ui->ReUntil), b(ui->ReUntil_2), c(ui->ReUntil_3);
    if (Box(selected_)) {
        Box(selected_)->setChecked(true);
    } else {
        // No earlier option: leave none ticked.
        Group->setExclusive(false);
        Box(index)->setChecked(false);
        Group->setExclusive(true);
    }
}

void OneLed::Toggled(int index, bool checked) {
    // The box losing its tick follows the one gaining it.
    if (!checked) return;
    if (!UiLive || LightPageRefreshing) {
        selected_ = index;
        return;
    }
    const QByteArray path = CurrentDevicePathCopy();
    if (path.isEmpty() || !UsbFinderC_GetDeviceOnLine(path.constData())) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        PutBack(index);
        return;
    }
    const uint8_t before = ReceiverRgb.Mode;
    ReceiverRgb.Mode = static_cast<uint8_t>(index + 1);
    if (!UsbFinderC_Set4KDongleRGB(path.constData(), reinterpret_cast<const unsigned char*>(&ReceiverRgb))) {
        ReceiverRgb.Mode = before;
        PutBack(index);
        return;
    }
    selected_ = index;
}

void OneLed::on_ReUntil_toggled(bool checked) {
    Toggled(0, checked);
}

void OneLed::on_ReUntil_2_toggled(bool checked) {
    Toggled(1, checked);
}

void OneLed::on_ReUntil_3_toggled(bool checked) {
    Toggled(2, checked);
}

void OneLed::SlotAllLanguage(int index) {
    ui->label_16->setText(LanguageText(MouseLightTexts, index, "receiver"));
    const TextPairs pairs = ReceiverStatusPairs(index);
    QTextEdit* edits[3] = {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4};
    for (int i = 0; i < 3; ++i) {
        const auto pair = pairs.value(i);
        edits[i]->setText(pair.first + pair.second);
    }
}
