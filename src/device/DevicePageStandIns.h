#pragma once
// Minimal receivers for the device pages that do not exist yet (button and sensor pages): they
// take the image copies the device link emits and set the refreshing and refreshed flags as the real
// pages will, and the button page's part creates the one Worker. The real pages replace this class.

#include <QObject>

#include "hidusb/FlashDataMap.h"

class DevicePageStandIns : public QObject {
    Q_OBJECT
public:
    explicit DevicePageStandIns(QObject* parent = nullptr);
    ~DevicePageStandIns() override;

    // The last image each page was filled with, and how often it was filled or reset.
    FlashDataMap ButtonImage{};
    FlashDataMap SensorImage{};
    int ButtonFills = 0;
    int SensorFills = 0;
    int Resets = 0;

public slots:
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotFormReset();

private:
    bool ownsWorker_ = false;
};
