#include "device/DevicePageStandIns.h"

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"

DevicePageStandIns::DevicePageStandIns(QObject* parent) : QObject(parent) {
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                     SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
}

DevicePageStandIns::~DevicePageStandIns() = default;

void DevicePageStandIns::SlotUpDataSenSorUISensor(FlashDataMap DataMap) {
    SensorPageRefreshed = false;
    SensorPageRefreshing = true;
    SensorImage = DataMap;
    ++SensorFills;
    SensorPageRefreshing = false;
    SensorPageRefreshed = true;
}
