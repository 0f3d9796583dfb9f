#pragma once
#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

// The frame every small notice dialog shares: frameless window flags, the product-table text colours,
// the pictures of "Picture/WarningDialog/" and the font correction for the screen's logical DPI.
namespace DialogFrame {

// Qt::SubWindow | BypassWindowManagerHint | FramelessWindowHint | WindowSystemMenuHint |
// WindowMinimizeButtonHint.
constexpr Qt::WindowFlags kWindowFlags = Qt::SubWindow | Qt::BypassWindowManagerHint |
                                         Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint;

// The installation folder + "/Picture/WarningDialog/".
QString PicturePath();

// Window flags and style sheets: the label in "LabelColor", the confirm button (may be null) in "ButtonColor"
// with its pictures, the close button's pictures and the frame's background picture.
void Apply(QWidget* dialog, QFrame* frame, QLabel* label, QToolButton* confirm, QToolButton* close,
           const QString& picturePath);

// Scales the fonts of the dialog and its children by 96 / the screen's logical DPI, each widget once.
void ScaleFonts(QWidget* dialog);

}  // namespace DialogFrame
