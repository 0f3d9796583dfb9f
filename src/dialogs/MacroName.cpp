#include "dialogs/MacroName.h"

namespace MacroName {
namespace {
bool IsForbidden(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control;
}
}  // namespace

QString CutToBytes(const QString& text, int maxBytes) {
    if (text.toLocal8Bit().size() <= maxBytes) return text;
    int end = 0;
    while (end < text.size()) {
        const int next = (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? end + 2 : end + 1;
        if (text.left(next).toLocal8Bit().size() > maxBytes) break;
        end = next;
    }
    return text.left(end);
}

QString WithoutForbidden(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        if (!IsForbidden(c)) result.append(c);
    return result;
}

bool IsValid(const QString& name) {
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    if (WithoutForbidden(name) != name) return false;
    const QByteArray bytes = name.toLocal8Bit();
    return bytes.size() <= kMaxBytes && QString::fromLocal8Bit(bytes) == name;
}

}  // namespace MacroName
