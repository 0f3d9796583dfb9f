#include "sensor/TogglePanel.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"

TogglePanel::TogglePanel(QWidget* parent, Sender sender)
    : QFrame(parent), PictureFolder(SensorStyles::SensorPictureFolder()), sender_(sender) {}

void TogglePanel::Bind(QToolButton* toggle, QLabel* caption, QLabel* tips, bool revertOnFail) {
    toggle_ = toggle;
    caption_ = caption;
    tips_ = tips;
    revertOnFail_ = revertOnFail;
    const QString id = "#" + toggle->objectName();
    caption->setStyleSheet(SensorStyles::CaptionSheet());
    toggle->setStyleSheet(
        id +
        "{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:"
        "no-repeat;background-image: url(" +
        PictureFolder + "Close.png);}" + id + ":checked {background-image: url(" + PictureFolder +
        "Open.png);}");
    if (tips) tips->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
}

void TogglePanel::SetChecked(bool on) {
    toggle_->setChecked(on);
}

void TogglePanel::SetText(const QString& text) {
    caption_->setText(text);
}

void TogglePanel::SetTips(const QString& text) {
    (tips_ ? tips_ : caption_)->setToolTip(text);
}

void TogglePanel::SetTipsPos(int languageIndex, const TipsPositions& positions) {
    if (!tips_ || languageIndex < 0 || languageIndex >= int(positions.size())) return;
    const int x = positions[size_t(languageIndex)];
    if (x >= 0) tips_->move(x, 3);
}

void TogglePanel::Clicked(bool checked) {
    if (!UiLive) return;
    if (sender_(checked ? 1 : 0) || !revertOnFail_) return;
    const QSignalBlocker blocker(toggle_);
    toggle_->setChecked(!checked);
}
