#pragma once
// The on/off panels of the sensor page (ripple control, angle snapping, motion sync) and their
// alternative forms: one picture switch that sends its option at once through the option's sender.

#include <QFrame>
#include <QString>
#include <array>

class QLabel;
class QToolButton;

class TogglePanel : public QFrame {
public:
    // X of the tips icon for the language indexes 0 to 7; -1 leaves the icon where it is.
    using TipsPositions = std::array<int, 8>;
    using Sender = bool (*)(int);

    // Sets the switch without sending.
    void SetChecked(bool on);
    void SetText(const QString& text);
    // The tooltip of the tips icon, or of the caption where the form has no icon.
    void SetTips(const QString& text);

protected:
    TogglePanel(QWidget* parent, Sender sender);

    // Styles the form's widgets; tips may be null. With revertOnFail the switch goes back when the
    // sender fails.
    void Bind(QToolButton* toggle, QLabel* caption, QLabel* tips, bool revertOnFail);
    void SetTipsPos(int languageIndex, const TipsPositions& positions);
    void Clicked(bool checked);

    QString PictureFolder;

private:
    Sender sender_;
    QToolButton* toggle_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* tips_ = nullptr;
    bool revertOnFail_ = true;
};
