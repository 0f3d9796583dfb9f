#include "buttons/SensorDefines.h"

#include <QFile>

namespace SensorDefines {
namespace {
const char* const kFeatureLists[] = {"SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL",
                                     "SUPPORT_RIPPLE",          "SUPPORT_FIXLINE",
                                     "SUPPORT_MOTION_SYNC",     "SUPPORT_MOUSEPAD_CAL"};

bool IsFeatureList(const QString& word) {
    for (const char* keyword : kFeatureLists)
        if (word.contains(QLatin1String(keyword))) return true;
    return false;
}

QStringList TabParts(const QString& word) {
    return word.split('\t', Qt::SkipEmptyParts);
}
}  // namespace

int NumberValue(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const int value = trimmed.contains("0x") ? trimmed.toInt(&ok, 16) : trimmed.toInt(&ok, 10);
    return ok ? value : 0;
}

void Read(const QString& path, QStringList& names, QVector<int>& values) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    while (!file.atEnd()) {
        const QStringList words = QString::fromUtf8(file.readLine()).split(' ', Qt::SkipEmptyParts);
        if (words.size() == 2) {
            if (IsFeatureList(words[1]) || words[0] != QLatin1String("#define")) continue;
            const QStringList parts = TabParts(words[1]);
            // The value keeps its line end unless it stands on an unfinished last line.
            if (parts.size() < 2 || !parts[1].contains('\n')) continue;
            names << parts[0];
            values << NumberValue(QString(parts[1]).remove('\n'));
        } else if (words.size() == 3) {
            if (!words[2].contains("//") && !words[2].contains('\n')) continue;
            const QStringList parts = TabParts(words[1]);
            if (parts.size() == 2) {
                names << parts[0];
                values << NumberValue(parts[1]);
            } else if (parts.size() == 1) {
                names << parts[0];
                values << NumberValue(words[2]);
            }
        }
    }
}

}  // namespace SensorDefines
