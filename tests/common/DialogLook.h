#pragma once
// The look of a toolkit dialog drawn under one of the program's style sheets.
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QPushButton>
#include <QString>

namespace DialogLook {

// The fill of a push button, sampled left of its text.
inline QColor ButtonFill(QPushButton* button) {
    const QImage look = button->grab().toImage();
    return look.pixelColor(2, look.height() / 2);
}

// Empty when the buttons of the dialog's button box (OK, Cancel) are filled as its other push buttons
// are ("Pick Screen Color", "Add to Custom Colors") and stand out from the dialog; else what is wrong.
inline QString ButtonBoxFault(QColorDialog* dialog) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    if (!box || box->buttons().isEmpty()) return "no button box";
    QPushButton* other = nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->parentWidget() != box) other = button;
    if (!other) return "no push button outside the button box";
    const QColor fill = ButtonFill(other);
    const QImage whole = dialog->grab().toImage();
    if (fill == whole.pixelColor(2, whole.height() - 2)) return "the buttons are not filled";
    for (QAbstractButton* button : box->buttons()) {
        auto* push = qobject_cast<QPushButton*>(button);
        if (!push) return "a button box button is no push button";
        const QColor got = ButtonFill(push);
        if (got != fill)
            return QString("%1 is filled %2, the other buttons %3")
                .arg(push->text(), got.name(), fill.name());
    }
    return QString();
}

}  // namespace DialogLook
