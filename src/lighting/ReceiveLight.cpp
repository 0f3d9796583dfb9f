#include "lighting/ReceiveLight.h"

#include <QSignalBlocker>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "lighting/ColorEditor.h"
#include "lighting/LightState.h"
#include "ui_ReceiveLight.h"

namespace {
// Per mode: grey bar for brightness, grey bar for speed, colour editor, brightness, speed.
struct BarLayout {
    bool Line3;
    bool Line4;
    bool Colour;
    bool Brightness;
    bool Speed;
};
const BarLayout kBarLayouts[7] = {
    {true, true, false, false, false}, {false, false, false, true, true}, {false, false, true, true, true},
    {false, true, true, true, false},  {false, false, false, true, true}, {false, false, false, true, true},
    {false, true, false, true, false},
};

bool SendGate() {
    return UiLive && !LightPageRefreshing;
}
}  // namespace

ReceiveLight::ReceiveLight(QWidget* parent) : QFrame(parent), ui(new Ui_ReceiveLight) {
    ui->setupUi(this);
    PictureFolder = LightState::PictureFolder("Light");
    ui->line_3->hide();
    ui->line_4->hide();
    ui->TitleButton_5->setStyleSheet("#TitleButton_5{border-image: url(" + PictureFolder + "Title.png);}");
    LightState::StyleCombo(ui->LightMod_2, PictureFolder);
    for (QWidget* label : {ui->label_9, ui->label_14, ui->label_15, ui->label_23, ui->label_20, ui->label_21,
                           ui->label_22, ui->label_18, ui->label_19})
        label->setStyleSheet(LightState::LabelSheet());
    ui->SpeedSpinBox_3->setStyleSheet(LightState::LevelBoxSheet());
    ui->LightSpinBox_3->setStyleSheet(LightState::LevelBoxSheet());
    for (QWidget* spin : {ui->RSpinBox_2, ui->GSpinBox_2, ui->BSpinBox_2})
        spin->setStyleSheet(LightState::ChannelSpinSheet());
    ui->horizontalLight_2->setStyleSheet(LightState::SliderSheet(PictureFolder));
    ui->horizontalSpeed_2->setStyleSheet(LightState::SliderSheet(PictureFolder));

    ColorEditor::Widgets w{
        {ui->RSpinBox_2, ui->GSpinBox_2, ui->BSpinBox_2},
        {ui->AddR_2, ui->AddG_2, ui->AddB_2},
        {ui->ReduceR_2, ui->ReduceG_2, ui->ReduceB_2},
        {ui->toolButtonColorA_2, ui->toolButtonColorB_2, ui->toolButtonColorC_2, ui->toolButtonColorD_2,
         ui->toolButtonColorE_2, ui->toolButtonColorF_2, ui->toolButtonColorG_2, ui->toolButtonColorH_2,
         ui->toolButtonColorI_2, ui->toolButtonColorJ_2, ui->toolButtonColorK_2, ui->toolButtonColorL_2,
         ui->toolButtonColorM_2, ui->toolButtonColorN_2},
        ui->labelPreView_2,
        ui->label_24,
        {ui->LightSpinBox_3, ui->SpeedSpinBox_3}};
    Editor = new ColorEditor(this, w, PictureFolder,
                             [this](int r, int g, int b) { return ColourChanged(r, g, b); });

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

ReceiveLight::~ReceiveLight() {
    delete ui;
}

void ReceiveLight::SetSignalsBlocked(bool blocked) {
    for (QObject* o : std::initializer_list<QObject*>{ui->horizontalLight_2, ui->horizontalSpeed_2,
                                                      ui->RSpinBox_2, ui->GSpinBox_2, ui->BSpinBox_2})
        o->blockSignals(blocked);
}

void ReceiveLight::SetLightMode(int index) {
    ui->LightMod_2->setCurrentIndex(index);
}

void ReceiveLight::SetBrightnessSlider(int level) {
    ui->horizontalLight_2->setValue(level);
}

void ReceiveLight::SetBrightnessSpin(int level) {
    ui->LightSpinBox_3->setValue(level);
}

void ReceiveLight::SetSpeedSlider(int level) {
    ui->horizontalSpeed_2->setValue(level);
}

void ReceiveLight::SetSpeedSpin(int level) {
    ui->SpeedSpinBox_3->setValue(level);
}

void ReceiveLight::SetRGB(int red, int green, int blue) {
    Editor->SetRGB(red, green, blue);
}

bool ReceiveLight::Write(const DongleLightBar& before) {
    const QByteArray path = CurrentDevicePathCopy();
    if (UsbFinderC_SetDongleRGBBarMode(path.constData(),
                                       reinterpret_cast<const unsigned char*>(&CurrentDongleLightBar))) {
        UpdateFlashData();
        return true;
    }
    CurrentDongleLightBar = before;
    return false;
}

void ReceiveLight::ApplyLayout(int index) {
    if (index < 0 || index > 6) return;
    const BarLayout& layout = kBarLayouts[index];
    ui->line_3->setVisible(layout.Line3);
    ui->line_4->setVisible(layout.Line4);
    for (QWidget* widget : Editor->EditorWidgets()) widget->setVisible(layout.Colour);
    for (QWidget* widget :
         {ui->label_23, ui->label_18, ui->label_19, ui->label_20, ui->label_21, ui->label_22})
        widget->setVisible(layout.Colour);
    ui->horizontalLight_2->setVisible(layout.Brightness);
    ui->LightSpinBox_3->setVisible(layout.Brightness);
    ui->horizontalSpeed_2->setVisible(layout.Speed);
    ui->SpeedSpinBox_3->setVisible(layout.Speed);
}

void ReceiveLight::on_LightMod_2_currentIndexChanged(int index) {
    if (SendGate()) {
        const DongleLightBar before = CurrentDongleLightBar;
        CurrentDongleLightBar.Mode = static_cast<uint8_t>(index);
        CurrentDongleLightBar.Enable = index != 0 ? 1 : 0;
        if (!Write(before)) {
            const QSignalBlocker block(ui->LightMod_2);
            ui->LightMod_2->setCurrentIndex(LastDongleLightBarMode);
            return;
        }
        LastDongleLightBarMode = index;
    }
    ApplyLayout(index);
}

void ReceiveLight::LevelChanged(QSlider* slider, QSpinBox* box, uint8_t DongleLightBar::*field, int* last,
                                int value) {
    box->setValue(value);
    if (!SendGate()) return;
    const DongleLightBar before = CurrentDongleLightBar;
    CurrentDongleLightBar.*field = static_cast<uint8_t>(value - 1);
    if (Write(before)) {
        *last = value;
        return;
    }
    const QSignalBlocker block(slider);
    slider->setValue(*last);
    box->setValue(*last);
}

void ReceiveLight::on_horizontalLight_2_sliderMoved(int position) {
    ui->LightSpinBox_3->setValue(position);
}

void ReceiveLight::on_horizontalLight_2_valueChanged(int value) {
    LevelChanged(ui->horizontalLight_2, ui->LightSpinBox_3, &DongleLightBar::Brightness,
                 &LastDongleLightBarBrightness, value);
}

void ReceiveLight::on_horizontalSpeed_2_sliderMoved(int position) {
    ui->SpeedSpinBox_3->setValue(position);
}

void ReceiveLight::on_horizontalSpeed_2_valueChanged(int value) {
    LevelChanged(ui->horizontalSpeed_2, ui->SpeedSpinBox_3, &DongleLightBar::Speed, &LastDongleLightBarSpeed,
                 value);
}

bool ReceiveLight::ColourChanged(int red, int green, int blue) {
    if (!UiLive) return true;
    const DongleLightBar before = CurrentDongleLightBar;
    CurrentDongleLightBar.Red = static_cast<uint8_t>(red);
    CurrentDongleLightBar.Green = static_cast<uint8_t>(green);
    CurrentDongleLightBar.Blue = static_cast<uint8_t>(blue);
    if (Write(before)) return true;
    Editor->SetRGBSilently(before.Red, before.Green, before.Blue);
    return false;
}

void ReceiveLight::mousePressEvent(QMouseEvent* event) {
    Editor->HandlePress(event);
}

void ReceiveLight::SlotAllLanguage(int index) {
    const auto text = [index](const char* key) { return LanguageText(MouseLightTexts, index, key); };
    for (int i = 0; i < 7; ++i)
        ui->LightMod_2->setItemText(i, LanguageText(MouseLightModeLabels, index, QString::number(i)));
    ui->label_9->setText(text("receiverLight"));
    ui->label_14->setText(text("Brightness"));
    ui->label_15->setText(text("Speed"));
    ui->label_22->setText(text("Preset"));
    ui->label_23->setText(text("Preview"));
    ui->label_18->setText(text("CustomColor"));
}
