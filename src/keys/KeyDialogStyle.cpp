#include "KeyDialogStyle.h"

#include "ColorText.h"

namespace KeyDialogStyle {

QString InputStyle(const QString& widgetClass) {
    return widgetClass + "{color: rgb(" + OptionColorText("LinEditColor") + ");}";
}

QString CheckBoxStyle(const QString& picturePath) {
    return "QCheckBox{color: rgb(" + OptionColorText("LabelColor") +
           ");}QCheckBox::indicator:checked{image: url(" + picturePath +
           "CheckBoxCheck.png);}QCheckBox::indicator:unchecked{image: url(" + picturePath + "CheckBox.png);}";
}

}  // namespace KeyDialogStyle
