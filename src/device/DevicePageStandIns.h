#pragma once
// Receiver of the sensor page's image copies for programs without the sensor page (tests of the
// device link): it sets the refreshing and refreshed flags as the page does.

#include <QObject>

#include "hidusb/FlashDataMap.h"

class DevicePageStandIns : public QObject {
    Q_OBJECT
public:
    explicit DevicePageStandIns(QObject* parent = nullptr);
    ~DevicePageStandIns() override;

    // The last image the page was filled with, and how often it was filled.
    FlashDataMap SensorImage{};
    int SensorFills = 0;

public slots:
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
};
