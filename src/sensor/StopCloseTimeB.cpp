#include "sensor/StopCloseTimeB.h"

#include <QSignalBlocker>

#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_StopCloseTimeB.h"

namespace {
struct SleepStep {
    int number;
    bool minutes;
    int code;
};
// By slider position 1 to 11.
const SleepStep kSteps[] = {{10, false, 1},  {30, false, 3},  {1, true, 6},    {5, true, 30},
                            {10, true, 60},  {15, true, 90},  {20, true, 120}, {25, true, 150},
                            {30, true, 180}, {35, true, 210}, {40, true, 240}};
constexpr int kStepCount = int(sizeof kSteps / sizeof kSteps[0]);
}  // namespace

StopCloseTimeB::StopCloseTimeB(QWidget* parent)
    : QFrame(parent), ui(new Ui_StopCloseTimeB), PictureFolder(SensorStyles::SensorPictureFolder()) {
    ui->setupUi(this);
    ui->spinBoxA->setStyleSheet(SensorStyles::NumberSheet("LinEditColorSecond", true));
    ui->StopClose->setStyleSheet(SensorStyles::ThinSliderSheet(PictureFolder));
}

StopCloseTimeB::~StopCloseTimeB() {
    delete ui;
}

void StopCloseTimeB::ShowPosition(int position) {
    if (position < 1 || position > kStepCount) return;
    const SleepStep& step = kSteps[position - 1];
    ui->spinBoxA->setSuffix(step.minutes ? MinutesSuffix : SecondsSuffix);
    ui->spinBoxA->setValue(step.number);
}

void StopCloseTimeB::SetSleepIndex(int index) {
    if (index < 0 || index >= kStepCount) return;
    {
        const QSignalBlocker blocker(ui->StopClose);
        ui->StopClose->setValue(index + 1);
    }
    ShowPosition(index + 1);
}

void StopCloseTimeB::SetItemText(int index, const QString& text) {
    if (index == 0)
        SecondsSuffix = QString(text).remove("10");
    else if (index == 5)
        MinutesSuffix = QString(text).remove("15");
    else
        return;
    ShowPosition(ui->StopClose->value());
}

void StopCloseTimeB::on_StopClose_sliderMoved(int position) {
    ShowPosition(position);
}

void StopCloseTimeB::on_StopClose_valueChanged(int value) {
    ShowPosition(value);
    if (!UiLive || LightPageRefreshing || value < 1 || value > kStepCount) return;
    SetSleepTime(kSteps[value - 1].code);
}
