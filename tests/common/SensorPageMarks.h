#pragma once
// Stands for the sensor page in tests below its layer: takes the device side's images as the page does
// (blocking, on the GUI thread), keeps the last one and sets the page's refresh flags.
#include <QObject>

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"

class SensorPageMarks : public QObject {
public:
    SensorPageMarks() {
        connect(
            PostMsg::GetInstance(), &PostMsg::SigUpDataLightSensor, this,
            [this](FlashDataMap image) {
                SensorPageRefreshed = false;
                SensorPageRefreshing = true;
                SensorImage = image;
                ++SensorFills;
                SensorPageRefreshing = false;
                SensorPageRefreshed = true;
            },
            PostMsg::ConnectionType("SigUpDataLightSensor"));
    }

    FlashDataMap SensorImage{};
    int SensorFills = 0;
};
