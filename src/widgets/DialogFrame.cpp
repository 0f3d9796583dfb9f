#include "widgets/DialogFrame.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "platform/Paths.h"
#include "platform/ScreenMetrics.h"
#include "widgets/ColorText.h"
#include "widgets/ScaleChildFonts.h"

namespace DialogFrame {

QString PicturePath() {
    return Paths::InstallDir() + "/Picture/WarningDialog/";
}

QString LabelStyle() {
    return "QLabel{color: rgb(" + OptionColorText("LabelColor") + ";);}";
}

QString ConfirmStyle(const QString& picturePath, const QString& picture, const QString& pressed) {
    return "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
           OptionColorText("ButtonColor") + ";);border-image: url(" + picturePath + picture +
           ");}QToolButton:pressed{border-image: url(" + picturePath + pressed + "); }";
}

QString CloseStyle(const QString& picturePath) {
    return "QToolButton{border:0px;background-image: url(" + picturePath +
           "Close.png);background-position:center;background-repeat:no-repeat;}"
           "QToolButton:hover{background-image: url(" +
           picturePath + "CloseHover.png);}QToolButton:pressed{background-image: url(" + picturePath +
           "CloseClick.png);}";
}

QString BackgroundStyle(const QString& frameName, const QString& picturePath) {
    return "#" + frameName +
           "{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
           picturePath + "BackGround.png);}";
}

QString InputStyle(const QString& widgetClass) {
    return widgetClass + "{color: rgb(" + OptionColorText("LinEditColor") +
           ");background-color: #1B1D23;border: 1px solid #3A3F4B;border-radius: 3px;}";
}

QString ToolkitDialogStyle() {
    const QString button = OptionColorText("ButtonColor");
    return "QDialog{background-color: #262A33;}QLabel{color: rgb(" + OptionColorText("LabelColor") + ");}" +
           InputStyle("QSpinBox") + InputStyle("QLineEdit") + "QPushButton{color: rgb(" + button +
           ");background-color: #E8442E;border: 0px;border-radius: 3px;padding: 4px 12px;min-width: 60px;}"
           "QPushButton:hover{background-color: #F0604C;}QPushButton:pressed{background-color: #B8321F;}";
}

QString CheckBoxStyle(const QString& picturePath) {
    return "QCheckBox{color: rgb(" + OptionColorText("LabelColor") +
           ");}QCheckBox::indicator:checked{image: url(" + picturePath +
           "CheckBoxCheck.png);}QCheckBox::indicator:unchecked{image: url(" + picturePath + "CheckBox.png);}";
}

void Apply(QWidget* dialog, QFrame* frame, QLabel* label, QToolButton* confirm, QToolButton* close,
           const QString& picturePath) {
    dialog->setWindowFlags(kWindowFlags);
    label->setStyleSheet(LabelStyle());
    if (confirm) confirm->setStyleSheet(ConfirmStyle(picturePath));
    if (close) close->setStyleSheet(CloseStyle(picturePath));
    frame->setStyleSheet(BackgroundStyle(frame->objectName(), picturePath));
}

void ScaleFonts(QWidget* dialog, const QString& keepName) {
    ScaleChildFonts(dialog, ScreenMetrics::FontScaleFactor(), keepName);
}

}  // namespace DialogFrame
