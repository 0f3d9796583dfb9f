#pragma once
// Minimal receivers for the device pages that do not exist yet (light and sensor pages): they take the
// image copies the device link emits and set the refreshing and refreshed flags as the real pages will.
// The real pages replace this class.

#include <QObject>

#include "hidusb/FlashDataMap.h"

class DevicePageStandIns : public QObject {
    Q_OBJECT
public:
    explicit DevicePageStandIns(QObject* parent = nullptr);
    ~DevicePageStandIns() override;

    // The last image each page was filled with, and how often it was filled.
    FlashDataMap LightImage{};
    FlashDataMap SensorImage{};
    int LightFills = 0;
    int SensorFills = 0;

public slots:
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
};
