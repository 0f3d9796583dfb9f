#pragma once
#include <QString>

class QWidget;

// Sets the widget's style sheet unless it already has that text: a new sheet restyles the widget and
// every widget inside it. Returns whether the sheet changed.
bool SetStyleSheetIfChanged(QWidget* widget, const QString& sheet);

// For a widget that shows one of two looks from one style sheet, a rule for each, the second picked by
// the selector [look="alt"]: SetLook switches the look by restyling the widget alone, not the widgets
// inside it as a new sheet would.
void SetLook(QWidget* widget, bool alt);
