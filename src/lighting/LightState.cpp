#include "lighting/LightState.h"

#include <QComboBox>
#include <QListView>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "device/DeviceCommand.h"
#include "platform/Paths.h"
#include "widgets/ColorText.h"
#include "widgets/MySlider.h"

DongleLightBar CurrentDongleLightBar{};
DongleIndicatorLeds CurrentDongleIndicatorLeds{};

int LastMouseLightMode = 0;
int LastDongleLightBarMode = 0;
int LastDongleLightBarBrightness = 0;
int LastDongleLightBarSpeed = 0;
int LastLed1Function = 0;
int LastLed2Function = 0;
int LastLed3Function = 0;

namespace LightState {

QString ReceiverIndicatorSetting() {
    const QString item = DeviceProductTable::ListItem(CurrentDeviceCopy().DriveIndex, "Adveanced", 1);
    return item.isEmpty() ? QStringLiteral("-1") : item;
}

QString PictureFolder(const QString& name) {
    return Paths::InstallDir() + "/Picture/" + name + "/";
}

QString Color(const char* key) {
    return OptionColorText(QString::fromLatin1(key));
}

QString ComboSheet(const QString& folder) {
    const QString text = Color("ComboxTextColor");
    return "QComboBox{border: 1px solid gray; color: rgb(" + text + "); border-image: url(" + folder +
           "ComboboxBack.png);}QComboBox::drop-down:button{border-radius:5px; background:rgb(" +
           Color("ComboxBackGroundColor") + ");} QComboBox::down-arrow{image: url(" + folder +
           "Menu.png); right: 8px; }QComboBox::down-arrow:on{ image: url(" + folder +
           "MenuClicked.png);}QComboBox QAbstractItemView::item{height:25px;}QComboBox QAbstractItemView "
           "{outline: 0px solid gray; border: 1px  solid gray;color: rgb(" +
           text + "); border-image: url(" + folder +
           "ComboboxTextBack.png);selection-background-color: rgb(" + Color("ComboxSelectColor") + "); }";
}

QString ComboViewSheet() {
    const QString select = Color("ComboxSelectColor");
    return "QListView::item:selected{background-color: rgb(" + select +
           ");}QListView::item:hover{background-color: rgb(" + select + ");}";
}

void StyleCombo(QComboBox* combo, const QString& folder) {
    combo->setStyleSheet(ComboSheet(folder));
    auto* view = new QListView(combo);
    view->setStyleSheet(ComboViewSheet());
    combo->setView(view);
    combo->setMaxVisibleItems(5);
}

QString ChannelSpinSheet() {
    const QString edit = Color("LinEditColorSecond");
    return "QSpinBox{background-color: rgb(0,0,0);color: rgb(" + edit +
           ";);border: 1px  solid gray;}QSpinBox:hover{background-color: transparent;color: rgb(" + edit +
           ";);border: 1px  solid gray;}";
}

QString SliderSheet(const QString& folder) {
    return "QSlider::groove:horizontal { border-radius: 2px;  height: 5px;background:#ffffff}"
           "QSlider:handle:horizontal{ border-radius: 2px;width:  6px;height: 18px;  margin-top: -9px;"
           "margin-left: 0px; margin-bottom: -9px;margin-right: 0px; border-image: url(" +
           folder + "HuaKuai.png);} QSlider:sub-page:horizontal{border-radius: 2px;background-color: rgb(" +
           Color("SliderColor") +
           ";);}QSlider:add-page:horizontal{border-radius: 2px;background-color: rgb(255, 255, 255);}";
}

QString LabelSheet() {
    return "QLabel{color: rgb(" + Color("LabelColor") + ";);}";
}

QString LevelBoxSheet() {
    return "QSpinBox{color: rgb(" + Color("LabelColor") + ";);background-color: transparent;border: 0px;}";
}

void LevelReleased(QSlider* slider, QSpinBox* box, int value, bool gateOpen,
                   const std::function<bool(int)>& send) {
    if (!slider->isEnabled()) {
        const QSignalBlocker block(slider);
        slider->setValue(box->value());
        return;
    }
    if (!gateOpen) return;
    if (send(value)) {
        box->setValue(value);
        return;
    }
    StopSteppingAfterPress(slider);
    const QSignalBlocker block(slider);
    slider->setEnabled(false);
    slider->setValue(box->value());
}

void LevelMoved(QSlider* slider, QSpinBox* box, int position) {
    if (!slider->isEnabled()) return;
    slider->setEnabled(false);
    if (!IsDeviceOnline()) {
        const QSignalBlocker block(slider);
        slider->setValue(box->value());
        return;
    }
    slider->setEnabled(true);
    box->setValue(position);
}

}  // namespace LightState
