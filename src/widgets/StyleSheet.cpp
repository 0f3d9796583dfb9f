#include "widgets/StyleSheet.h"

#include <QStyle>
#include <QVariant>
#include <QWidget>

bool SetStyleSheetIfChanged(QWidget* widget, const QString& sheet) {
    if (!widget || widget->styleSheet() == sheet) return false;
    widget->setStyleSheet(sheet);
    return true;
}

void SetLook(QWidget* widget, bool alt) {
    const QString look = alt ? QStringLiteral("alt") : QString();
    if (!widget || widget->property("look").toString() == look) return;
    widget->setProperty("look", look);
    // A widget not polished yet takes the look when it is.
    if (!widget->testAttribute(Qt::WA_WState_Polished)) return;
    QStyle* style = widget->style();
    style->unpolish(widget);
    style->polish(widget);
    widget->update();
}
