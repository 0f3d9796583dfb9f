#pragma once
// The light page of the device window: the DPI indicator light and the mouse light, and the
// receiver's light bar, indicator LEDs and indicator mode, which it keeps filled but never shows.
// The page fills its panels from the hub's device data; the panels send the user's changes.

#include <QWidget>
#include <memory>

#include "hidusb/DeviceReplyRecords.h"
#include "hidusb/FlashDataMap.h"

class Ui_LampLight;
class Ui_LightMouseTab;
class Ui_LightReceiverTab;
class Ui_LightLedsTab;

class LampLight : public QWidget {
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
    ~LampLight() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    void SlotFormResetLight();
    void SlotUpDataDPILed(FlashDataMap DataMap);
    void SlotForm();
    void SlotFormB();
    void SlotRGBValue(DongleRGB* Rgb);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Fill(const FlashDataMap& image, bool fromDevice);
    void HideIndicatorWhereNotOffered();

    Ui_LampLight* ui;
    std::unique_ptr<Ui_LightMouseTab> mouseTab_;
    std::unique_ptr<Ui_LightReceiverTab> receiverTab_;
    std::unique_ptr<Ui_LightLedsTab> ledsTab_;
};
