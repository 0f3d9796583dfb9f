#include "core/SensorDefines.h"

#include <QFile>

namespace SensorDefines {
namespace {
const char* const kFeatureLists[FeatureListCount] = {"SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL",
                                                     "SUPPORT_RIPPLE",          "SUPPORT_FIXLINE",
                                                     "SUPPORT_MOTION_SYNC",     "SUPPORT_MOUSEPAD_CAL"};

int FeatureListOf(const QString& word) {
    for (int k = 0; k < FeatureListCount; ++k)
        if (word.contains(QLatin1String(kFeatureLists[k]))) return k;
    return -1;
}

QStringList TabParts(const QString& word) {
    return word.split('\t', Qt::SkipEmptyParts);
}

// A DPI table entry whose number (after its last "_DPI_") is no DPI a register holds: 0, negative, or
// too large, however many digits it has.
bool DamagedDpiEntry(const QString& name) {
    const int at = name.lastIndexOf(QLatin1String("_DPI_"));
    if (at < 0) return false;
    bool isNumber = false;
    return TableDpi(name.mid(at + 5), &isNumber) == 0 && isNumber;
}

Line DefineLine(const QString& name, const QString& valueText) {
    Line line;
    if (DamagedDpiEntry(name)) {
        qWarning("driver_sensor.h: damaged line ignored: %s", qPrintable(name));
        return line;
    }
    line.kind = Line::Define;
    line.name = name;
    line.value = NumberValue(valueText);
    return line;
}
}  // namespace

int NumberValue(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const int value = trimmed.contains("0x") ? trimmed.toInt(&ok, 16) : trimmed.toInt(&ok, 10);
    return ok ? value : 0;
}

int TableDpi(const QString& text, bool* isNumber) {
    const QString number = text.trimmed();
    int digitsFrom = number.startsWith('-') || number.startsWith('+') ? 1 : 0;
    bool digits = number.size() > digitsFrom;
    for (int i = digitsFrom; i < number.size() && digits; ++i) digits = number[i].isDigit();
    if (isNumber) *isNumber = digits;
    if (!digits) return 0;
    bool ok = false;
    const qlonglong dpi = number.toLongLong(&ok, 10);
    return ok && dpi >= 1 && dpi <= kMostTableDpi ? int(dpi) : 0;
}

Line ParseLine(const QString& text) {
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    if (words.size() == 2) {
        const QStringList parts = TabParts(words[1]);
        const int feature = FeatureListOf(words[1]);
        if (feature >= 0) {
            Line line;
            if (parts.size() < 2) return line;
            line.kind = Line::Feature;
            line.feature = feature;
            line.models = QString(parts[1]).remove('\n');
            return line;
        }
        // The value keeps its line end unless it stands on an unfinished last line.
        if (words[0] != QLatin1String("#define") || parts.size() < 2 || !parts[1].contains('\n')) return {};
        return DefineLine(parts[0], QString(parts[1]).remove('\n'));
    }
    if (words.size() == 3) {
        if (!words[2].contains("//") && !words[2].contains('\n')) return {};
        const QStringList parts = TabParts(words[1]);
        if (parts.size() == 2) return DefineLine(parts[0], parts[1]);
        if (parts.size() == 1) return DefineLine(parts[0], words[2]);
    }
    return {};
}

void Read(const QString& path, QStringList& names, QVector<int>& values) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    while (!file.atEnd()) {
        const Line line = ParseLine(QString::fromUtf8(file.readLine()));
        if (line.kind != Line::Define) continue;
        names << line.name;
        values << line.value;
    }
}

}  // namespace SensorDefines
