#include "lighting/ColorEditor.h"

#include <QCursor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "core/DeviceAllInfo.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "platform/ScreenMetrics.h"

const int ColorEditor::kPresetColours[kPresetCount][3] = {
    {255, 0, 0},     {0, 255, 255},  {0, 255, 0},    {255, 0, 255},   {255, 255, 0},
    {255, 80, 0},    {0, 0, 255},    {227, 0, 127},  {46, 166, 223},  {96, 25, 133},
    {255, 255, 255}, {139, 178, 36}, {255, 155, 51}, {208, 113, 173},
};

namespace {
QString PictureRule(const QString& name, const QString& folder, const QString& picture) {
    return "#" + name + "{background-image: url(" + folder + picture +
           ");border:0px;background-position:center;background-repeat:no-repeat;}";
}
}  // namespace

ColorEditor::ColorEditor(QFrame* panel, const Widgets& widgets, const QString& folder, ColourChanged changed)
    : QObject(panel), panel_(panel), w_(widgets), changed_(std::move(changed)) {
    for (int c = 0; c < 3; ++c) {
        QSpinBox* spin = w_.Spins[c];
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int) { ChannelChanged(); });
        connect(w_.Add[c], &QToolButton::clicked, this, [this, c] { Step(c, +1); });
        connect(w_.Reduce[c], &QToolButton::clicked, this, [this, c] { Step(c, -1); });
        w_.Add[c]->setStyleSheet(PictureRule(w_.Add[c]->objectName(), folder, "Add.png"));
        w_.Reduce[c]->setStyleSheet(PictureRule(w_.Reduce[c]->objectName(), folder, "Reduce.png"));
    }
    for (int p = 0; p < kPresetCount; ++p) {
        QToolButton* button = w_.Presets[p];
        connect(button, &QToolButton::clicked, this, [this, p] { ApplyPreset(p); });
        button->setStyleSheet("#" + button->objectName() +
                              "{border:0px;background-position:center;background-repeat:no-repeat;"
                              "background-image: url(" +
                              folder + "Color" + QChar('A' + p) + ".png);}");
    }
    w_.Board->setStyleSheet(
        "#" + w_.Board->objectName() +
        "{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" + folder +
        "ColorBoard.png);}");
    w_.Swatch->setStyleSheet(PictureRule(w_.Swatch->objectName(), folder, "PreviewColor.png"));
}

QString ColorEditor::SwatchSheet(int red, int green, int blue) {
    return QString("QLabel{background-color: rgb(%1,%2,%3);border: 2px solid  rgb(220,220,220);}")
        .arg(red)
        .arg(green)
        .arg(blue);
}

bool ColorEditor::OfflineRuleStops() {
    if (!UiLive) return false;
    const QByteArray path = CurrentDevicePathCopy();
    if (!path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData())) return false;
    if (LightPageRefreshing) return false;
    PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
    return true;
}

void ColorEditor::SetRGB(int red, int green, int blue) {
    w_.Spins[0]->setValue(red);
    w_.Spins[1]->setValue(green);
    w_.Spins[2]->setValue(blue);
    w_.Swatch->setStyleSheet(SwatchSheet(red, green, blue));
}

void ColorEditor::SetRGBSilently(int red, int green, int blue) {
    const QSignalBlocker r(w_.Spins[0]), g(w_.Spins[1]), b(w_.Spins[2]);
    SetRGB(red, green, blue);
}

int ColorEditor::Value(int channel) const {
    return w_.Spins[channel]->value();
}

QList<QWidget*> ColorEditor::EditorWidgets() const {
    QList<QWidget*> all{w_.Board, w_.Swatch};
    for (int c = 0; c < 3; ++c) all << w_.Spins[c] << w_.Add[c] << w_.Reduce[c];
    for (QToolButton* preset : w_.Presets) all << preset;
    return all;
}

// A typed value: the spin shows it already; the swatch follows once the panel took it (a refused value
// was put back by the panel).
void ColorEditor::ChannelChanged() {
    if (offering_) return;
    const int red = Value(0), green = Value(1), blue = Value(2);
    if (!changed_ || changed_(red, green, blue)) w_.Swatch->setStyleSheet(SwatchSheet(red, green, blue));
}

bool ColorEditor::Offer(int channel, int value) {
    int rgb[3] = {Value(0), Value(1), Value(2)};
    rgb[channel] = value;
    return ApplyColour(rgb);
}

bool ColorEditor::ApplyColour(const int rgb[3]) {
    int next[3];
    bool same = true;
    for (int c = 0; c < 3; ++c) {
        next[c] = qBound(w_.Spins[c]->minimum(), rgb[c], w_.Spins[c]->maximum());
        same = same && next[c] == Value(c);
    }
    if (same) return true;
    if (changed_ && !changed_(next[0], next[1], next[2])) return false;
    {
        const QScopedValueRollback<bool> taken(offering_, true);
        for (int c = 0; c < 3; ++c) w_.Spins[c]->setValue(next[c]);
    }
    w_.Swatch->setStyleSheet(SwatchSheet(next[0], next[1], next[2]));
    return true;
}

void ColorEditor::Step(int channel, int delta) {
    if (OfflineRuleStops()) return;
    Offer(channel, w_.Spins[channel]->value() + delta);
}

void ColorEditor::ApplyPreset(int preset) {
    if (!OfflineRuleStops() && ApplyColour(kPresetColours[preset])) return;
    // Not taken: the preset's own button goes back as well.
    QToolButton* button = w_.Presets[preset];
    const QSignalBlocker block(button);
    button->setChecked(!button->isChecked());
}

void ColorEditor::HandlePress(QMouseEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return;
    const QPoint at = event->pos();
    const bool inSpins = w_.Spins[0]->geometry().contains(at) || w_.Spins[1]->geometry().contains(at) ||
                         w_.Spins[2]->geometry().contains(at);
    if (!inSpins) {
        for (QSpinBox* spin : w_.Spins) spin->clearFocus();
        panel_->setFocus(Qt::OtherFocusReason);
    }
    for (QWidget* box : w_.LevelBoxes) {
        if (!box->geometry().contains(at) && box->hasFocus()) {
            box->clearFocus();
            panel_->setFocus(Qt::OtherFocusReason);
        }
    }
    // A board hidden by the mode is not there to be picked from.
    if (w_.Board->isHidden() || !w_.Board->geometry().contains(at)) return;
    if (OfflineRuleStops()) return;
    // The cursor and the grab share the toolkit's coordinates, whatever the screen's scale factor.
    const QPoint cursor = QCursor::pos();
    const QImage image = ScreenMetrics::GrabDesktop(cursor.x(), cursor.y(), 2, 2).toImage();
    if (image.isNull() || !image.valid(0, 0)) return;
    const QColor colour = image.pixelColor(0, 0);
    const int rgb[3] = {colour.red(), colour.green(), colour.blue()};
    ApplyColour(rgb);
}
