#pragma once
#include <QString>
#include <QStringList>

// Colour used when a colour list of the product table is unusable.
inline const char* const DefaultColorText = "255,255,255";

// The colour text "r,g,b" that the forms put into their style sheets (for example
// "QLabel{color: rgb(" + ColorText(list) + ");}"), from a list red, green, blue.
// A list with fewer than three elements, or one of whose first three is not a number from
// 0 to 255, gives `fallback`. Elements after the third are ignored.
QString ColorText(const QStringList& list, const QString& fallback = DefaultColorText);

// ColorText of the product table's "Option" colour key (for example "LabelColor").
QString OptionColorText(const QString& key, const QString& fallback = DefaultColorText);
