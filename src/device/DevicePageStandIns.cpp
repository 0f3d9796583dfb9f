#include "device/DevicePageStandIns.h"

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"

DevicePageStandIns::DevicePageStandIns(QObject* parent) : QObject(parent) {
    if (!DeviceWorker) {
        DeviceWorker = new Worker;
        ownsWorker_ = true;
    }
    PostMsg::Connect(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                     SLOT(SlotUpDataButtonUIButton(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                     SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
}

DevicePageStandIns::~DevicePageStandIns() {
    if (ownsWorker_) {
        Worker::ClearRunFlag();
        DeviceWorker->wait();
        delete DeviceWorker;
        DeviceWorker = nullptr;
    }
}

void DevicePageStandIns::SlotUpDataButtonUIButton(FlashDataMap DataMap) {
    ButtonPageRefreshed = false;
    ButtonPageRefreshing = true;
    ButtonImage = DataMap;
    ++ButtonFills;
    ButtonPageRefreshing = false;
    ButtonPageRefreshed = true;
}

void DevicePageStandIns::SlotUpDataSenSorUISensor(FlashDataMap DataMap) {
    SensorPageRefreshed = false;
    SensorPageRefreshing = true;
    SensorImage = DataMap;
    ++SensorFills;
    SensorPageRefreshing = false;
    SensorPageRefreshed = true;
}

void DevicePageStandIns::SlotFormReset() {
    ++Resets;
}
