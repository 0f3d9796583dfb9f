#pragma once
#include <QObject>

class QColor;
class QColorDialog;
class QWidget;

// A DPI panel's level colour dialog: the toolkit's colour dialog (never the desktop's own) in the dark
// style of the program's dialogs, as a window of the panel. It is made at its first opening and kept for
// the next ones; each colour chosen in it comes as ColorChosen.
class LevelColorDialog : public QObject {
    Q_OBJECT
public:
    explicit LevelColorDialog(QWidget* panel);

    // Shows the dialog on `colour` and brings it to the front.
    void Open(const QColor& colour);

signals:
    void ColorChosen(const QColor& colour);

private:
    QWidget* panel_;
    QColorDialog* dialog_ = nullptr;
};
