#include "sensor/SensorStyles.h"

#include <QComboBox>
#include <QListView>
#include <QWidget>

#include "platform/Paths.h"
#include "widgets/ColorText.h"

namespace SensorStyles {

QString SensorPictureFolder() {
    return Paths::InstallDir() + "/Picture/Sensor/";
}

QString LightPictureFolder() {
    return Paths::InstallDir() + "/Picture/Light/";
}

QString AdvancedPictureFolder() {
    return Paths::InstallDir() + "/Picture/Advanced/";
}

void SetTitleMarker(QWidget* button, const QString& folder) {
    button->setStyleSheet("#" + button->objectName() + "{border-image: url(" + folder + "Title.png);}");
}

QString CaptionSheet() {
    return "QLabel{color: rgb(" + OptionColorText("LabelColor") + ";);}";
}

QString TipsSheet(const QString& folder) {
    return "QLabel{border-image: url(" + folder + "Tips.png);}";
}

QString ComboSheet(const QString& folder, bool dimWhenDisabled) {
    const QString text = OptionColorText("ComboxTextColor");
    const QString select = OptionColorText("ComboxSelectColor");
    const QString button = OptionColorText("ComboxBackGroundColor");
    QString sheet = "QComboBox{border: 1px solid gray; color: rgb(" + text + "); border-image: url(" +
                    folder +
                    "ComboboxBack.png);}QComboBox::drop-down:button{border-radius:5px; background:rgb(" +
                    button + ");} QComboBox::down-arrow{image: url(" + folder +
                    "Menu.png); right: 8px; }QComboBox::down-arrow:on{ image: url(" + folder +
                    "MenuClicked.png);}QComboBox QAbstractItemView::item{height:25px;}QComboBox "
                    "QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: rgb(" +
                    text + "); border-image: url(" + folder +
                    "ComboboxTextBack.png);selection-background-color: rgb(" + select + "); }";
    if (dimWhenDisabled) sheet += "QComboBox:disabled{color: rgb(150, 150, 150);}";
    return sheet;
}

void InstallPopupView(QComboBox* combo) {
    const QString select = OptionColorText("ComboxSelectColor");
    auto* view = new QListView;
    view->setStyleSheet("QListView::item:selected{background-color: rgb(" + select +
                        ");}QListView::item:hover{background-color: rgb(" + select + ");}");
    combo->setView(view);
}

QString CheckBoxSheet(const QString& folder, const QString& checked, const QString& unchecked) {
    return "QCheckBox{color: rgb(" + OptionColorText("LabelColor") +
           ";);}QCheckBox:indicator::checked {image: url(" + folder + checked +
           ");}QCheckBox::indicator::unchecked {image: url(" + folder + unchecked + ");}";
}

QString IndicatorCheckBoxSheet(const QString& folder) {
    return CheckBoxSheet(folder, "LODCheck.png", "LOD.png");
}

QString ThinSliderSheet(const QString& folder) {
    return "QSlider::groove:horizontal{height:2px;background:rgba(0,0,0,120);}"
           "QSlider::handle:horizontal{width:5px;margin:-6px 0;border-image:url(" +
           folder + "HuaKuai.png);}QSlider::sub-page:horizontal{background:rgb(" +
           OptionColorText("SliderColor") + ");}QSlider::add-page:horizontal{background:rgb(255,255,255);}";
}

QString WideSliderSheet(const QString& folder) {
    return "QSlider::groove:horizontal{height:5px;border-radius:2px;background:rgb(255,255,255);}"
           "QSlider::handle:horizontal{width:6px;height:18px;margin:-7px 0;border-image:url(" +
           folder + "HuaKuai.png);}QSlider::sub-page:horizontal{border-radius:2px;background:rgb(" +
           OptionColorText("SliderColor") +
           ");}QSlider::add-page:horizontal{border-radius:2px;background:rgb(255,255,255);}";
}

QString NumberSheet(const QString& colourKey, bool bordered) {
    const QString colour = OptionColorText(colourKey);
    return "QSpinBox{background:transparent;border:" + QString(bordered ? "1px solid gray" : "0px") +
           ";color: rgb(" + colour + ");}QSpinBox:hover{color: rgb(" + colour + ");}";
}

}  // namespace SensorStyles
