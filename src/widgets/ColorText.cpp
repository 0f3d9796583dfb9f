#include "widgets/ColorText.h"

#include "core/ConfigIni.h"

QString ColorText(const QStringList& list, const QString& fallback) {
    if (list.size() < 3) return fallback;
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = list.at(i).trimmed().toInt(&ok, 10);
        if (!ok || value < 0 || value > 255) return fallback;
        parts << QString::number(value);
    }
    return parts.join(',');
}

QString OptionColorText(const QString& key, const QString& fallback) {
    return ColorText(ConfigIni::GetInstance()->GetStringList("Option", key), fallback);
}
