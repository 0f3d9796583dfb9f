#include "lighting/LampLight.h"

#include <QTabBar>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "lighting/LightState.h"
#include "ui_LampLight.h"

namespace {
// Levels are stored as level - 1. The values go in with the panel's signals blocked; the mode goes in
// unblocked, so that the panel lays itself out (the page's refreshing flag keeps it from sending).
template <typename Panel>
int FillLightPanel(Panel* panel, int brightness, int speed, int red, int green, int blue, int mode) {
    panel->SetSignalsBlocked(true);
    panel->SetBrightnessSlider(brightness + 1);
    panel->SetSpeedSlider(speed + 1);
    panel->SetBrightnessSpin(brightness + 1);
    panel->SetSpeedSpin(speed + 1);
    panel->SetRGB(red, green, blue);
    panel->SetSignalsBlocked(false);
    panel->SetLightMode(mode);
    return mode;
}
}  // namespace

LampLight::LampLight(QWidget* parent) : QWidget(parent), ui(new Ui_LampLight) {
    ui->setupUi(this);
    CurrentDongleLightBar = DongleLightBar{};
    CurrentDongleIndicatorLeds = DongleIndicatorLeds{};
    ui->tabWidget->setStyleSheet(
        "QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}");
    ui->tabWidget->tabBar()->hide();
    ui->FrameOneLed->hide();

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
    PostMsg::Connect(SIGNAL(SigUpDataLightLight(FlashDataMap)), this,
                     SLOT(SlotUpDataLightUILight(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetLight()));
    PostMsg::Connect(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigForm()), this, SLOT(SlotForm()));
    PostMsg::Connect(SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    PostMsg::Connect(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)));
    ui->tabWidget->setCurrentIndex(0);
}

LampLight::~LampLight() {
    delete ui;
}

void LampLight::wheelEvent(QWheelEvent*) {}

void LampLight::changeEvent(QEvent*) {}

void LampLight::Fill(const FlashDataMap& image, bool fromDevice) {
    ui->FrameMouseLight->SetSlidersEnabled(fromDevice);
    if (!fromDevice) LightPageRefreshing = true;

    const QByteArray path = CurrentDevicePathCopy();
    UsbFinderC_GetDongleRGBBarMode(path.constData(),
                                   reinterpret_cast<unsigned char*>(&CurrentDongleLightBar));
    UsbFinderC_GetDongleIndicatorLed(path.constData(),
                                     reinterpret_cast<unsigned char*>(&CurrentDongleIndicatorLeds));

    const DongleIndicatorLeds& leds = CurrentDongleIndicatorLeds;
    LastLed1Function = leds.Led1Function;
    LastLed2Function = leds.Led2Function;
    LastLed3Function = leds.Led3Function;
    ui->FrameThreeLed->SetLed1Function(leds.Led1Function);
    ui->FrameThreeLed->SetLed2Function(leds.Led2Function);
    ui->FrameThreeLed->SetLed3Function(leds.Led3Function);

    LightPageRefreshed = false;
    LightPageRefreshing = true;

    const DongleLightBar& bar = CurrentDongleLightBar;
    LastDongleLightBarBrightness = bar.Brightness + 1;
    LastDongleLightBarSpeed = bar.Speed + 1;
    LastDongleLightBarMode = FillLightPanel(ui->FrameReceiveLight, bar.Brightness, bar.Speed, bar.Red,
                                            bar.Green, bar.Blue, bar.Enable ? bar.Mode : 0);

    ui->frameEffect->SetSlidersEnabled(true);
    ui->frameEffect->UnlockSliders();
    ui->frameEffect->Fill(image.DpiLightMode, image.DpiLightBrightness, image.DpiLightSpeed,
                          image.DpiLightEnable);

    MouseLight* mouse = ui->FrameMouseLight;
    LastMouseLightMode = FillLightPanel(mouse, image.MouseLightBrightness, image.MouseLightSpeed,
                                        image.MouseLightRed, image.MouseLightGreen, image.MouseLightBlue,
                                        image.MouseLightEnable ? image.MouseLightMode : 0);
    mouse->SetMovingOffLight(image.MovingOffLight != 0);

    if (!fromDevice || !CurrentDeviceCopy().Online) ui->FrameOneLed->SelectOptionSilently(1);

    if (fromDevice) LightPageRefreshed = true;
    LightPageRefreshing = false;
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap) {
    Fill(DataMap, true);
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap) {
    Fill(DataMap, false);
}

void LampLight::SlotUpDataDPILed(FlashDataMap DataMap) {
    ui->frameEffect->Fill(DataMap.DpiLightMode, DataMap.DpiLightBrightness, DataMap.DpiLightSpeed,
                          DataMap.DpiLightEnable);
}

void LampLight::SlotFormResetLight() {
    LightPageRefreshing = true;
    ui->FrameMouseLight->SetLightMode(1);
    ui->FrameReceiveLight->SetLightMode(1);
    LastMouseLightMode = 1;
    ui->FrameMouseLight->SetBrightnessSlider(10);
    ui->FrameMouseLight->SetSpeedSlider(8);
    LastDongleLightBarMode = 1;
    ui->FrameReceiveLight->SetBrightnessSlider(10);
    LastDongleLightBarBrightness = 10;
    ui->FrameReceiveLight->SetSpeedSlider(8);
    LastDongleLightBarSpeed = 8;
    ui->FrameReceiveLight->SetSpeedSpin(8);
    ui->FrameReceiveLight->SetBrightnessSpin(10);
    ui->FrameMouseLight->SetBrightnessSpin(10);
    ui->FrameMouseLight->SetSpeedSpin(8);
    ui->FrameMouseLight->SetMovingOffLight(false);
    ui->FrameOneLed->hide();
    ui->FrameOneLed->SelectOptionSilently(1);
    ui->frameEffect->SetMode(0);
    ui->frameEffect->SetSpeed(3);
    ui->frameEffect->SetBrightness(5);
    ui->FrameThreeLed->SetLed1Function(0);
    ui->FrameThreeLed->SetLed2Function(0);
    ui->FrameThreeLed->SetLed3Function(0);
    LastLed1Function = LastLed2Function = LastLed3Function = 0;
    LightPageRefreshing = false;
}

void LampLight::HideIndicatorWhereNotOffered() {
    if (LightState::ReceiverIndicatorSetting() == "-1" || CurrentDeviceCopy().IsUsb) ui->FrameOneLed->hide();
}

void LampLight::SlotForm() {
    HideIndicatorWhereNotOffered();
}

void LampLight::SlotFormB() {
    HideIndicatorWhereNotOffered();
}

void LampLight::SlotRGBValue(DongleRGB* Rgb) {
    if (!Rgb || LightState::ReceiverIndicatorSetting() == "-1" || CurrentDeviceCopy().IsUsb) return;
    ui->FrameOneLed->hide();
    // The receiver already holds this mode: show it without writing it back.
    if (Rgb->Mode >= 1 && Rgb->Mode <= 3) ui->FrameOneLed->SelectOptionSilently(Rgb->Mode - 1);
}

void LampLight::SlotAllLanguage(int index) {
    for (int i = 0; i < 3; ++i)
        ui->frameEffect->SetModeItemText(i, LanguageText(MouseDpiEffectLabels, index, QString::number(i)));
    ui->frameEffect->SetTitleText(LanguageText(MouseLightTexts, index, "DPIEffect"));
    ui->frameEffect->SetSpeedText(LanguageText(MouseLightTexts, index, "Speed"));
    ui->frameEffect->SetBrightnessText(LanguageText(MouseLightTexts, index, "Brightness"));
}
