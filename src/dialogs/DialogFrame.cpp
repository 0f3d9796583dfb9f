#include "DialogFrame.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "ColorText.h"
#include "LanguageTables.h"
#include "Paths.h"
#include "PostMsg.h"
#include "ScaleChildFonts.h"
#include "ScreenMetrics.h"

DialogFrame::DialogFrame(QWidget* parent) : QDialog(parent) {}

QString DialogFrame::PictureFolder() { return Paths::InstallDir() + "/Picture/WarningDialog/"; }

QString DialogFrame::LabelStyle() { return "QLabel{color: rgb(" + OptionColorText("LabelColor") + ");}"; }

QString DialogFrame::ConfirmStyle(const QString& picture, const QString& pressed) {
    const QString path = PictureFolder();
    return "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
           OptionColorText("ButtonColor") + ");border-image: url(" + path + picture +
           ");}QToolButton:pressed{border-image: url(" + path + pressed + "); }";
}

QString DialogFrame::CloseStyle() {
    const QString path = PictureFolder();
    return "QToolButton{border:0px;background-image: url(" + path +
           "Close.png);background-position:center;background-repeat:no-repeat;}QToolButton:hover{background-image: "
           "url(" +
           path + "CloseHover.png);}QToolButton:pressed{background-image: url(" + path + "CloseClick.png);}";
}

QString DialogFrame::BackgroundStyle(const QString& frameName) {
    return "#" + frameName +
           "{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
           PictureFolder() + "BackGround.png);}";
}

qreal DialogFrame::FontFactor(int logicalDpi) { return logicalDpi > 0 ? 96.0 / logicalDpi : 1.0; }

QString DialogFrame::OkText(int index) { return LanguageText(MouseCommonTexts, index, "OK"); }

QString DialogFrame::CancelText(int index) { return LanguageText(MouseCommonTexts, index, "Cancel"); }

void DialogFrame::BuildFrame(const Parts& parts) {
    PicturePath = PictureFolder();
    // Frameless top-level window without title bar. (The window-manager bypass hint is left out: on X11
    // it makes an unmanaged window that never gets the keyboard focus.)
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    if (parts.Label) parts.Label->setStyleSheet(LabelStyle());
    for (QToolButton* button : parts.Confirms)
        button->setStyleSheet(ConfirmStyle(parts.ConfirmPicture, parts.ConfirmPressedPicture));
    if (parts.Close) parts.Close->setStyleSheet(CloseStyle());
    if (parts.Frame) parts.Frame->setStyleSheet(BackgroundStyle(parts.Frame->objectName()));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    FillTexts(LanguageSetting());
    // "Receive_2" names no widget of a dialog: every font is scaled.
    ScaleChildFonts(this, FontFactor(ScreenMetrics::LogicalDpiX()),
                    parts.KeepFontName.isEmpty() ? QStringLiteral("Receive_2") : parts.KeepFontName);
}

void DialogFrame::SlotAllLanguage(int index) { FillTexts(index); }

void DialogFrame::on_CloseButton_clicked() { reject(); }
