#pragma once
#include <QString>

// Style sheets the key-entry dialogs add to the dialog frame.
namespace KeyDialogStyle {

// An input field of class `widgetClass` ("QLineEdit", "QSpinBox"): "LinEditColor" text on a dark field.
QString InputStyle(const QString& widgetClass);

// A check box in the label colour with the tick pictures "CheckBoxCheck.png" and "CheckBox.png".
QString CheckBoxStyle(const QString& picturePath);

}  // namespace KeyDialogStyle
