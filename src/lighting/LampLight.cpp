#include "lighting/LampLight.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStyle>
#include <QTabBar>

#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "lighting/LightState.h"
#include "ui_LampLight.h"
#include "ui_LightLedsTab.h"
#include "ui_LightMouseTab.h"
#include "ui_LightReceiverTab.h"

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

LampLight::LampLight(QWidget* parent)
    : QWidget(parent),
      ui(new Ui_LampLight),
      mouseTab_(new Ui_LightMouseTab),
      receiverTab_(new Ui_LightReceiverTab),
      ledsTab_(new Ui_LightLedsTab) {
    ui->setupUi(this);
    // Each tab is in the tab widget before its panels are made in it: they are styled once, where they
    // stay, not once more when the tab moves in.
    const auto addTab = [this](const QString& title, auto& form) {
        auto* tab = new QWidget;
        ui->tabWidget->addTab(tab, title);
        form.setupUi(tab);
        // The widgets with a font of their own are restyled once, as moving the tab in would have done:
        // their fonts settle against their sheets before the page's fonts are scaled.
        QEvent change(QEvent::StyleChange);
        QList<QWidget*> tree = tab->findChildren<QWidget*>();
        tree.prepend(tab);
        for (QWidget* w : tree) {
            if (!w->testAttribute(Qt::WA_SetFont)) continue;
            w->style()->polish(w);
            QCoreApplication::sendEvent(w, &change);
        }
    };
    addTab(QStringLiteral("Light"), *mouseTab_);
    addTab(QStringLiteral("Receiver"), *receiverTab_);
    addTab(QStringLiteral("LEDs"), *ledsTab_);
    CurrentDongleLightBar = DongleLightBar{};
    CurrentDongleIndicatorLeds = DongleIndicatorLeds{};
    ui->tabWidget->setStyleSheet(
        "QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}");
    ui->tabWidget->tabBar()->hide();
    mouseTab_->FrameOneLed->hide();

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
    mouseTab_->FrameMouseLight->SetSlidersEnabled(fromDevice);
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
    ledsTab_->FrameThreeLed->SetLed1Function(leds.Led1Function);
    ledsTab_->FrameThreeLed->SetLed2Function(leds.Led2Function);
    ledsTab_->FrameThreeLed->SetLed3Function(leds.Led3Function);

    LightPageRefreshed = false;
    LightPageRefreshing = true;

    const DongleLightBar& bar = CurrentDongleLightBar;
    LastDongleLightBarBrightness = bar.Brightness + 1;
    LastDongleLightBarSpeed = bar.Speed + 1;
    LastDongleLightBarMode = FillLightPanel(receiverTab_->FrameReceiveLight, bar.Brightness, bar.Speed,
                                            bar.Red, bar.Green, bar.Blue, bar.Enable ? bar.Mode : 0);

    mouseTab_->frameEffect->SetSlidersEnabled(true);
    mouseTab_->frameEffect->UnlockSliders();
    mouseTab_->frameEffect->Fill(image.DpiLightMode, image.DpiLightBrightness, image.DpiLightSpeed,
                                 image.DpiLightEnable);

    MouseLight* mouse = mouseTab_->FrameMouseLight;
    LastMouseLightMode = FillLightPanel(mouse, image.MouseLightBrightness, image.MouseLightSpeed,
                                        image.MouseLightRed, image.MouseLightGreen, image.MouseLightBlue,
                                        image.MouseLightEnable ? image.MouseLightMode : 0);
    mouse->SetMovingOffLight(image.MovingOffLight != 0);

    if (!fromDevice || !CurrentDeviceCopy().Online) mouseTab_->FrameOneLed->SelectOptionSilently(1);

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
    mouseTab_->frameEffect->Fill(DataMap.DpiLightMode, DataMap.DpiLightBrightness, DataMap.DpiLightSpeed,
                                 DataMap.DpiLightEnable);
}

void LampLight::SlotFormResetLight() {
    LightPageRefreshing = true;
    mouseTab_->FrameMouseLight->SetLightMode(1);
    receiverTab_->FrameReceiveLight->SetLightMode(1);
    LastMouseLightMode = 1;
    mouseTab_->FrameMouseLight->SetBrightnessSlider(10);
    mouseTab_->FrameMouseLight->SetSpeedSlider(8);
    LastDongleLightBarMode = 1;
    receiverTab_->FrameReceiveLight->SetBrightnessSlider(10);
    LastDongleLightBarBrightness = 10;
    receiverTab_->FrameReceiveLight->SetSpeedSlider(8);
    LastDongleLightBarSpeed = 8;
    receiverTab_->FrameReceiveLight->SetSpeedSpin(8);
    receiverTab_->FrameReceiveLight->SetBrightnessSpin(10);
    mouseTab_->FrameMouseLight->SetBrightnessSpin(10);
    mouseTab_->FrameMouseLight->SetSpeedSpin(8);
    mouseTab_->FrameMouseLight->SetMovingOffLight(false);
    mouseTab_->FrameOneLed->hide();
    mouseTab_->FrameOneLed->SelectOptionSilently(1);
    mouseTab_->frameEffect->SetMode(0);
    mouseTab_->frameEffect->SetSpeed(3);
    mouseTab_->frameEffect->SetBrightness(5);
    ledsTab_->FrameThreeLed->SetLed1Function(0);
    ledsTab_->FrameThreeLed->SetLed2Function(0);
    ledsTab_->FrameThreeLed->SetLed3Function(0);
    LastLed1Function = LastLed2Function = LastLed3Function = 0;
    LightPageRefreshing = false;
}

void LampLight::HideIndicatorWhereNotOffered() {
    if (LightState::ReceiverIndicatorSetting() == "-1" || CurrentDeviceCopy().IsUsb)
        mouseTab_->FrameOneLed->hide();
}

void LampLight::SlotForm() {
    HideIndicatorWhereNotOffered();
}

void LampLight::SlotFormB() {
    HideIndicatorWhereNotOffered();
}

void LampLight::SlotRGBValue(DongleRGB* Rgb) {
    if (!Rgb || LightState::ReceiverIndicatorSetting() == "-1" || CurrentDeviceCopy().IsUsb) return;
    mouseTab_->FrameOneLed->hide();
    // The receiver already holds this mode: show it without writing it back.
    if (Rgb->Mode >= 1 && Rgb->Mode <= 3) mouseTab_->FrameOneLed->SelectOptionSilently(Rgb->Mode - 1);
}

void LampLight::SlotAllLanguage(int index) {
    for (int i = 0; i < 3; ++i)
        mouseTab_->frameEffect->SetModeItemText(
            i, LanguageText(MouseDpiEffectLabels, index, QString::number(i)));
    mouseTab_->frameEffect->SetTitleText(LanguageText(MouseLightTexts, index, "DPIEffect"));
    mouseTab_->frameEffect->SetSpeedText(LanguageText(MouseLightTexts, index, "Speed"));
    mouseTab_->frameEffect->SetBrightnessText(LanguageText(MouseLightTexts, index, "Brightness"));
}
