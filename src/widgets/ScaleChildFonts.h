#pragma once
#include <QString>
#include <QtGlobal>

class QWidget;

// Scales the fonts of a widget and its whole tree by factor (96 / logical DPI). Every widget ends at its
// size before the call times factor, each scaled once: a child that inherits its font follows its scaled
// parent and is not scaled again. The widget named keepName keeps its size (its children still scale);
// the font of a widget named "NoApear" also becomes the tool-tip font. Nothing happens for a null widget.
void ScaleChildFonts(QWidget* widget, qreal factor, const QString& keepName = QStringLiteral("Receive_2"));
