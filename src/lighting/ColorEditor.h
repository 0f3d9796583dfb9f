#pragma once
// The colour editor of the light panels: three channel spin boxes with plus and minus buttons, 14
// preset colours, the colour swatch and the screen colour picker on the colour board. The panel
// that owns the widgets decides what a colour change sends.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QMouseEvent;
class QSpinBox;
class QToolButton;
class QWidget;

class ColorEditor : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QSpinBox* Spins[3];          // red, green, blue
        QToolButton* Add[3];         // plus per channel
        QToolButton* Reduce[3];      // minus per channel
        QToolButton* Presets[14];    // A..N
        QLabel* Swatch;              // the preview
        QLabel* Board;               // the picker's target
        QList<QWidget*> LevelBoxes;  // read-only boxes that lose the focus on a press elsewhere
    };
    // What the panel does with a new colour: red, green, blue as the spins are to hold them. False when
    // the colour was refused; the panel has then shown the colour the device keeps.
    using ColourChanged = std::function<bool(int red, int green, int blue)>;

    ColorEditor(QFrame* panel, const Widgets& widgets, const QString& pictureFolder, ColourChanged changed);

    static constexpr int kPresetCount = 14;
    static const int kPresetColours[kPresetCount][3];

    // "QLabel{background-color: rgb(r,g,b);border: 2px solid  rgb(220,220,220);}".
    static QString SwatchSheet(int red, int green, int blue);
    // True when a button action must stop: the device is offline while the page is not filling
    // (the offline notice was then asked for). Without UiLive nothing is tested.
    static bool OfflineRuleStops();

    // Spins to red, green, blue (their signals as the caller left them), then the swatch.
    void SetRGB(int red, int green, int blue);
    // The same with the spins' signals blocked.
    void SetRGBSilently(int red, int green, int blue);
    int Value(int channel) const;
    // The widgets of the editor other than the board's heading labels.
    QList<QWidget*> EditorWidgets() const;
    // Focus release and the screen colour picker for a press on the panel.
    void HandlePress(QMouseEvent* event);

private:
    void ChannelChanged();
    void Step(int channel, int delta);
    void ApplyPreset(int preset);
    // One act, one write: the whole new colour (channels clamped to the spins' range) is offered to the
    // panel once and shown only when taken; an unchanged colour offers nothing. False when refused.
    bool ApplyColour(const int rgb[3]);
    // The colour with one channel changed, as ApplyColour.
    bool Offer(int channel, int value);

    QFrame* panel_;
    Widgets w_;
    ColourChanged changed_;
    bool offering_ = false;  // a spin shows an offered value that was already taken
};
