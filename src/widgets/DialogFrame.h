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

// Style sheets of the frame's parts: the message label in "LabelColor"; a confirm-style button in
// "ButtonColor" with its picture and pressed picture; the close button's pictures; the frame's background.
QString LabelStyle();
QString ConfirmStyle(const QString& picturePath, const QString& picture = QStringLiteral("Confirm.png"),
                     const QString& pressed = QStringLiteral("ConfirmClick.png"));
QString CloseStyle(const QString& picturePath);
QString BackgroundStyle(const QString& frameName, const QString& picturePath);
// An input field of class widgetClass ("QLineEdit", "QSpinBox"): "LinEditColor" text on a dark field, so the
// light text colours stay readable.
QString InputStyle(const QString& widgetClass);
// The toolkit's own dialogs (the colour dialog) in the frame's colours: its dark background, labels in
// "LabelColor", input fields as InputStyle, push buttons in "ButtonColor" on the frame's red.
QString ToolkitDialogStyle();
// A check box in "LabelColor" with the tick pictures "CheckBoxCheck.png" and "CheckBox.png".
QString CheckBoxStyle(const QString& picturePath);

// Window flags and style sheets: the label in "LabelColor", the confirm button (may be null) in "ButtonColor"
// with its pictures, the close button's pictures (may be null) and the frame's background picture.
void Apply(QWidget* dialog, QFrame* frame, QLabel* label, QToolButton* confirm, QToolButton* close,
           const QString& picturePath);

// Scales the fonts of the dialog and its children by 96 / the screen's logical DPI, each widget once; the
// widget named keepName (if any) keeps its own size.
void ScaleFonts(QWidget* dialog, const QString& keepName = QString());

}  // namespace DialogFrame
