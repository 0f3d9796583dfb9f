#include "DialogFrame.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "ColorText.h"
#include "Paths.h"
#include "ScaleChildFonts.h"
#include "ScreenMetrics.h"

namespace DialogFrame {

QString PicturePath() {
    return Paths::InstallDir() + "/Picture/WarningDialog/";
}

void Apply(QWidget* dialog, QFrame* frame, QLabel* label, QToolButton* confirm, QToolButton* close,
           const QString& picturePath) {
    dialog->setWindowFlags(kWindowFlags);
    label->setStyleSheet("QLabel{color: rgb(" + OptionColorText("LabelColor") + ";);}");
    if (confirm) {
        confirm->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
            OptionColorText("ButtonColor") + ";);border-image: url(" + picturePath +
            "Confirm.png);}QToolButton:pressed{border-image: url(" + picturePath + "ConfirmClick.png); }");
    }
    close->setStyleSheet("QToolButton{border:0px;background-image: url(" + picturePath +
                         "Close.png);background-position:center;background-repeat:no-repeat;}"
                         "QToolButton:hover{background-image: url(" +
                         picturePath + "CloseHover.png);}QToolButton:pressed{background-image: url(" +
                         picturePath + "CloseClick.png);}");
    frame->setStyleSheet(
        "#" + frame->objectName() +
        "{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        picturePath + "BackGround.png);}");
}

void ScaleFonts(QWidget* dialog) {
    ScaleChildFonts(dialog, ScreenMetrics::FontScaleFactor(), QString());
}

}  // namespace DialogFrame
