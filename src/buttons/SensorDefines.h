#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The button page's reading of the sensor header: the names and values of its define lines in file
// order (names may repeat). The six feature-list lines, include guards, a last line without a line end
// and lines that fit no define form add nothing; a missing file adds nothing.
namespace SensorDefines {
void Read(const QString& path, QStringList& names, QVector<int>& values);
// A header value: hexadecimal when it contains "0x", else decimal; white space around it is ignored;
// anything that is no number gives 0.
int NumberValue(const QString& text);
}  // namespace SensorDefines
