#include "KeyDialogStyle.h"

#include "ColorText.h"

namespace KeyDialogStyle {

QString InputStyle(const QString& widgetClass) {
    // The field is dark like the panel it sits on, so that the light text colours stay readable.
    return widgetClass + "{color: rgb(" + OptionColorText("LinEditColor") +
           ");background-color: #1B1D23;border: 1px solid #3A3F4B;border-radius: 3px;}";
}

QString CheckBoxStyle(const QString& picturePath) {
    return "QCheckBox{color: rgb(" + OptionColorText("LabelColor") +
           ");}QCheckBox::indicator:checked{image: url(" + picturePath +
           "CheckBoxCheck.png);}QCheckBox::indicator:unchecked{image: url(" + picturePath + "CheckBox.png);}";
}

}  // namespace KeyDialogStyle
