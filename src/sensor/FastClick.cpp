#include "sensor/FastClick.h"

#include <QButtonGroup>
#include <QSignalBlocker>

#include "core/CurrentFlashData.h"
#include "device/DeviceCommand.h"
#include "sensor/SensorStyles.h"
#include "ui_FastClick.h"

FastClick::FastClick(QWidget* parent)
    : QFrame(parent), ui(new Ui_FastClick), PictureFolder(SensorStyles::AdvancedPictureFolder()) {
    ui->setupUi(this);
    SensorStyles::SetTitleMarker(ui->TitleButton, PictureFolder);
    for (QWidget* label :
         {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7})
        label->setStyleSheet(SensorStyles::CaptionSheet());
    const QString box = SensorStyles::CheckBoxSheet(PictureFolder, "CheckBoxCheck.png", "CheckBoxa.png");
    for (QWidget* check : {ui->ReUntilClick, ui->ReUntilClick_2, ui->ReUntilClick_3, ui->ReUntilClick_4})
        check->setStyleSheet(box);
    LeftGroup = new QButtonGroup(this);
    LeftGroup->setExclusive(true);
    LeftGroup->addButton(ui->ReUntilClick);
    LeftGroup->addButton(ui->ReUntilClick_2);
    RightGroup = new QButtonGroup(this);
    RightGroup->setExclusive(true);
    RightGroup->addButton(ui->ReUntilClick_3);
    RightGroup->addButton(ui->ReUntilClick_4);
}

FastClick::~FastClick() {
    delete ui;
}

void FastClick::ShowPair(QAbstractButton* onPress, QAbstractButton* atBottom, bool pressed) {
    const QSignalBlocker blockA(onPress);
    const QSignalBlocker blockB(atBottom);
    (pressed ? onPress : atBottom)->setChecked(true);
}

void FastClick::SetLeftPressTrigger(bool onPress) {
    ShowPair(ui->ReUntilClick, ui->ReUntilClick_2, onPress);
}

void FastClick::SetRightPressTrigger(bool onPress) {
    ShowPair(ui->ReUntilClick_3, ui->ReUntilClick_4, onPress);
}

void FastClick::SetText(int which, const QString& text) {
    switch (which) {
        case 0:
            ui->label->setText(text);
            break;
        case 1:
            ui->label_2->setText(text);
            break;
        case 2:
            ui->label_3->setText(text);
            break;
        case 3:
            ui->label_4->setText(text);
            ui->label_6->setText(text);
            break;
        case 4:
            ui->label_5->setText(text);
            ui->label_7->setText(text);
            break;
        default:
            break;
    }
}

// The bit changes under the lock but the lock is not held across the send; a refusal puts the old bit
// back and shows the pair as it was.
void FastClick::Choose(bool checked, int bit, bool onPress) {
    if (!checked || !UiLive) return;
    const auto setBit = [bit](bool on) {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        const bool was = (CurrentFlashData.TriggerFlags & bit) != 0;
        CurrentFlashData.TriggerFlags =
            uint8_t(on ? CurrentFlashData.TriggerFlags | bit : CurrentFlashData.TriggerFlags & ~bit);
        return was;
    };
    const bool wasOnPress = setBit(onPress);
    if (SendFlashData()) return;
    setBit(wasOnPress);
    if (bit == kTriggerLeftBit)
        SetLeftPressTrigger(wasOnPress);
    else
        SetRightPressTrigger(wasOnPress);
}

void FastClick::on_ReUntilClick_clicked(bool checked) {
    Choose(checked, kTriggerLeftBit, true);
}

void FastClick::on_ReUntilClick_2_clicked(bool checked) {
    Choose(checked, kTriggerLeftBit, false);
}

void FastClick::on_ReUntilClick_3_clicked(bool checked) {
    Choose(checked, kTriggerRightBit, true);
}

void FastClick::on_ReUntilClick_4_clicked(bool checked) {
    Choose(checked, kTriggerRightBit, false);
}
