#include "lighting/MouseLight.h"

#include <QSignalBlocker>

#include "core/CurrentFlashData.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "lighting/ColorEditor.h"
#include "lighting/LightState.h"
#include "ui_MouseLight.h"

namespace {
// Per mode: colour editor, brightness, speed shown.
struct ModeLayout {
    bool Colour;
    bool Brightness;
    bool Speed;
};
const ModeLayout kModeLayouts[7] = {
    {false, false, false}, {false, true, true}, {true, true, true},   {true, true, false},
    {false, true, true},   {false, true, true}, {false, true, false},
};

bool SendGate() {
    return UiLive && !LightPageRefreshing;
}
}  // namespace

MouseLight::MouseLight(QWidget* parent) : QFrame(parent), ui(new Ui_MouseLight) {
    ui->setupUi(this);
    PictureFolder = LightState::PictureFolder("Light");
    ui->line->hide();
    ui->line_2->hide();
    ui->TitleButton_4->setStyleSheet("#TitleButton_4{border-image: url(" + PictureFolder + "Title.png);}");

    ColorEditor::Widgets w{
        {ui->RSpinBox, ui->GSpinBox, ui->BSpinBox},
        {ui->AddR, ui->AddG, ui->AddB},
        {ui->ReduceR, ui->ReduceG, ui->ReduceB},
        {ui->toolButtonColorA, ui->toolButtonColorB, ui->toolButtonColorC, ui->toolButtonColorD,
         ui->toolButtonColorE, ui->toolButtonColorF, ui->toolButtonColorG, ui->toolButtonColorH,
         ui->toolButtonColorI, ui->toolButtonColorJ, ui->toolButtonColorK, ui->toolButtonColorL,
         ui->toolButtonColorM, ui->toolButtonColorN},
        ui->labelPreView,
        ui->label_7,
        {ui->LightSpinBox_2, ui->SpeedSpinBox_2}};
    Editor = new ColorEditor(this, w, PictureFolder,
                             [this](int r, int g, int b) { return ColourChanged(r, g, b); });

    // Lay out for the first item without sending it: a panel built while the window is live must not
    // switch the mouse's light off.
    ApplyLayout(ui->LightMod->currentIndex());

    LightState::StyleCombo(ui->LightMod, PictureFolder);
    for (QWidget* label :
         {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_6, ui->label_8, ui->label_13})
        label->setStyleSheet(LightState::LabelSheet());
    ui->LightSpinBox_2->setStyleSheet(LightState::LevelBoxSheet());
    ui->SpeedSpinBox_2->setStyleSheet(LightState::LevelBoxSheet());
    for (QWidget* spin : {ui->RSpinBox, ui->GSpinBox, ui->BSpinBox})
        spin->setStyleSheet(LightState::ChannelSpinSheet());
    ui->horizontalLight->setStyleSheet(LightState::SliderSheet(PictureFolder));
    ui->horizontalSpeed->setStyleSheet(LightState::SliderSheet(PictureFolder));
    ui->RippeControl->setStyleSheet(
        "#RippeControl{color: rgb(255, 255, "
        "255);border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: url(" +
        PictureFolder + "Close.png);}#RippeControl:checked {background-image: url(" + PictureFolder +
        "Open.png);}");

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

MouseLight::~MouseLight() {
    delete ui;
}

void MouseLight::SetSignalsBlocked(bool blocked) {
    for (QObject* o : std::initializer_list<QObject*>{ui->horizontalLight, ui->horizontalSpeed, ui->RSpinBox,
                                                      ui->GSpinBox, ui->BSpinBox})
        o->blockSignals(blocked);
}

void MouseLight::SetSlidersEnabled(bool enabled) {
    ui->horizontalLight->setEnabled(enabled);
    ui->horizontalSpeed->setEnabled(enabled);
}

void MouseLight::SetLightMode(int index) {
    ui->LightMod->setCurrentIndex(index);
}

void MouseLight::SetBrightnessSlider(int level) {
    ui->horizontalLight->setValue(level);
}

void MouseLight::SetSpeedSlider(int level) {
    ui->horizontalSpeed->setValue(level);
}

void MouseLight::SetBrightnessSpin(int level) {
    ui->LightSpinBox_2->setValue(level);
}

void MouseLight::SetSpeedSpin(int level) {
    ui->SpeedSpinBox_2->setValue(level);
}

void MouseLight::SetRGB(int red, int green, int blue) {
    Editor->SetRGB(red, green, blue);
}

void MouseLight::SetMovingOffLight(bool on) {
    ui->RippeControl->setChecked(on);
}

void MouseLight::ApplyLayout(int index) {
    if (index < 0 || index > 6) return;
    const ModeLayout& layout = kModeLayouts[index];
    for (QWidget* widget : Editor->EditorWidgets()) widget->setVisible(layout.Colour);
    for (QWidget* widget : {ui->label_6, ui->label_8, ui->label_11, ui->label_10, ui->label_12, ui->label_13})
        widget->setVisible(layout.Colour);
    ui->horizontalLight->setVisible(layout.Brightness);
    ui->LightSpinBox_2->setVisible(layout.Brightness);
    ui->line->setVisible(!layout.Brightness);
    ui->horizontalSpeed->setVisible(layout.Speed);
    ui->SpeedSpinBox_2->setVisible(layout.Speed);
    ui->line_2->setVisible(!layout.Speed);
}

void MouseLight::on_LightMod_currentIndexChanged(int index) {
    if (SendGate()) {
        if (!SetMouseLightMode(index)) {
            const QSignalBlocker block(ui->LightMod);
            ui->LightMod->setCurrentIndex(LastMouseLightMode);
            return;
        }
        LastMouseLightMode = index;
        if (index == 0) {
            ui->RippeControl->setChecked(false);
            if (!::SetMovingOffLight(0)) {
                const QSignalBlocker block(ui->RippeControl);
                ui->RippeControl->setChecked(true);
            }
        }
    }
    ApplyLayout(index);
}

void MouseLight::on_horizontalLight_valueChanged(int value) {
    LightState::LevelReleased(ui->horizontalLight, ui->LightSpinBox_2, value, SendGate(),
                              [](int level) { return SetMouseLightBrightness(level - 1); });
}

void MouseLight::on_horizontalSpeed_valueChanged(int value) {
    LightState::LevelReleased(ui->horizontalSpeed, ui->SpeedSpinBox_2, value, SendGate(),
                              [](int level) { return SetMouseLightSpeed(level - 1); });
}

void MouseLight::on_horizontalLight_sliderMoved(int position) {
    LightState::LevelMoved(ui->horizontalLight, ui->LightSpinBox_2, position);
}

void MouseLight::on_horizontalSpeed_sliderMoved(int position) {
    LightState::LevelMoved(ui->horizontalSpeed, ui->SpeedSpinBox_2, position);
}

bool MouseLight::ColourChanged(int red, int green, int blue) {
    if (!UiLive || SetMouseLightColor(red, green, blue)) return true;
    // Refused: show the colour the image still holds.
    FlashDataMap image;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        image = CurrentFlashData;
    }
    Editor->SetRGBSilently(image.MouseLightRed, image.MouseLightGreen, image.MouseLightBlue);
    return false;
}

void MouseLight::on_RippeControl_clicked(bool checked) {
    if (!SendGate()) return;
    if (::SetMovingOffLight(checked ? 1 : 0)) return;
    const QSignalBlocker block(ui->RippeControl);
    ui->RippeControl->setChecked(!checked);
}

void MouseLight::mousePressEvent(QMouseEvent* event) {
    Editor->HandlePress(event);
}

void MouseLight::SlotAllLanguage(int index) {
    const auto text = [index](const char* key) { return LanguageText(MouseLightTexts, index, key); };
    ui->label->setText(text("LightMode"));
    ui->label_2->setText(text("Brightness"));
    ui->label_3->setText(text("Speed"));
    ui->label_4->setText(text("MovingOffLight"));
    ui->label_13->setText(text("Preset"));
    ui->label_6->setText(text("Preview"));
    ui->label_8->setText(text("CustomColor"));
    for (int i = 0; i < 7; ++i)
        ui->LightMod->setItemText(i, LanguageText(MouseLightModeLabels, index, QString::number(i)));
    ui->label_11->setText("R:");
    ui->label_10->setText("G:");
    ui->label_12->setText("B:");
}
