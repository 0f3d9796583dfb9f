#pragma once
// Stands for the button page in tests below its layer: takes the device side's images as the page does
// (blocking, on the GUI thread), keeps the last one and sets the page's refresh flags.
#include <QObject>

#include "core/PostMsg.h"
#include "device/DeviceFlags.h"

class ButtonPageMarks : public QObject {
public:
    ButtonPageMarks() {
        connect(
            PostMsg::GetInstance(), &PostMsg::SigUpDataLightUIButton, this,
            [this](FlashDataMap image) {
                ButtonPageRefreshed = false;
                Image = image;
                ++Fills;
                ButtonPageRefreshed = true;
            },
            PostMsg::ConnectionType("SigUpDataLightUIButton"));
    }

    FlashDataMap Image{};
    int Fills = 0;
};
