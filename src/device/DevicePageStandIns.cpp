#include "device/DevicePageStandIns.h"

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"

DevicePageStandIns::DevicePageStandIns(QObject* parent) : QObject(parent) {
    PostMsg::Connect(SIGNAL(SigUpDataLightLight(FlashDataMap)), this,
                     SLOT(SlotUpDataLightUILight(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                     SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
}

DevicePageStandIns::~DevicePageStandIns() = default;

void DevicePageStandIns::SlotUpDataLightUILight(FlashDataMap DataMap) {
    LightPageRefreshed = false;
    LightPageRefreshing = true;
    LightImage = DataMap;
    ++LightFills;
    LightPageRefreshing = false;
    LightPageRefreshed = true;
}

void DevicePageStandIns::SlotUpDataSenSorUISensor(FlashDataMap DataMap) {
    SensorPageRefreshed = false;
    SensorPageRefreshing = true;
    SensorImage = DataMap;
    ++SensorFills;
    SensorPageRefreshing = false;
    SensorPageRefreshed = true;
}
