// The button page's encodings of assignments: key names and codes, key-combination and media-key
// records, DPI-lock values and device DPI indexes.
#include <cstring>

#include "buttons/Buttoninterface.h"
#include "core/SensorDefines.h"
#include "keys/KeyTables.h"

namespace {
constexpr int kEventDelayMs = 10;
constexpr int kMaxComboKeys = 3;

struct KeyName {
    const char* Name;
    int Code;
};

// Keyboard usages (kind 1) by name.
const KeyName kKeyNames[] = {
    {"Enter", 0x28},   {"Esc", 0x29},      {"BackSpace", 0x2A}, {"Tab", 0x2B},    {"Space", 0x2C},
    {"-", 0x2D},       {"=", 0x2E},        {"[", 0x2F},         {"]", 0x30},      {"\\", 0x31},
    {";", 0x33},       {"'", 0x34},        {"`", 0x35},         {",", 0x36},      {".", 0x37},
    {"/", 0x38},       {"CapsLock", 0x39}, {"Screen", 0x46},    {"Scroll", 0x47}, {"Pause", 0x48},
    {"Insert", 0x49},  {"Home", 0x4A},     {"PgUp", 0x4B},      {"Del", 0x4C},    {"End", 0x4D},
    {"PgDn", 0x4E},    {"→", 0x4F},        {"←", 0x50},         {"↓", 0x51},      {"↑", 0x52},
    {"NumLock", 0x53}, {"Num/", 0x54},     {"Num*", 0x55},      {"Num-", 0x56},   {"Num+", 0x57},
    {"Num0", 0x62},    {"Num.", 0x63},     {"APPs", 0x65},
};
// Left-hand modifier bits (kind 0) by name.
const KeyName kModifierNames[] = {{"Ctrl", 0x01}, {"Shift", 0x02}, {"Alt", 0x04}, {"Win", 0x08}};

// The key name of a keyboard usage; empty when the table has none.
QString UsageName(int code) {
    if (code >= 0x04 && code <= 0x1D) return QString(QChar('A' + code - 0x04));
    if (code >= 0x1E && code <= 0x26) return QString::number(code - 0x1E + 1);
    if (code == 0x27) return QStringLiteral("0");
    if (code >= 0x3A && code <= 0x45) return "F" + QString::number(code - 0x3A + 1);
    if (code >= 0x59 && code <= 0x61) return "Num" + QString::number(code - 0x59 + 1);
    if (code == 0x58) return QStringLiteral("Enter");
    for (const KeyName& key : kKeyNames)
        if (key.Code == code) return QString::fromUtf8(key.Name);
    return QString();
}

// Kind and code of a key name; an unknown name is kind 1, code 0.
void NameCode(const QString& name, int& kind, int& code) {
    for (const KeyName& key : kModifierNames) {
        if (name == QLatin1String(key.Name)) {
            kind = 0;
            code = key.Code;
            return;
        }
    }
    kind = 1;
    code = 0;
    for (int usage = 0x04; usage <= 0x65; ++usage) {
        if (usage != 0x58 && UsageName(usage) == name && !name.isEmpty()) {
            code = usage;
            return;
        }
    }
}

QString ModifierName(int code) {
    switch (code) {
        case 0x01:
        case 0x10:
            return QStringLiteral("Ctrl");
        case 0x02:
        case 0x20:
            return QStringLiteral("Shift");
        case 0x04:
        case 0x40:
            return QStringLiteral("Alt");
        case 0x08:
        case 0x80:
            return QStringLiteral("Win");
        default:
            return QString();
    }
}
}  // namespace

QString Buttoninterface::KeyCodeToName(int code, int kind) {
    if (code == 0) return QString();
    switch (code) {
        case 0x04:
        case 0x08:
        case 0x10:
        case 0x20:
        case 0x40:
            return kind == 0 ? ModifierName(code) : kind == 1 ? UsageName(code) : QString();
        case 0x01:
        case 0x02:
        case 0x80:
            return ModifierName(code);
        default:
            return UsageName(code);
    }
}

KeyActionRecord Buttoninterface::KeyNameToEvent(const QString& name, int k, int n, KeyActionRecord record) {
    int kind = 1;
    int code = 0;
    NameCode(name, kind, code);
    const int release = 2 * n - 1 - k;
    if (k < 0 || k >= n || release >= 6) return record;
    record.Events[k] = KeyEvent{0, uint8_t(kind), uint16_t(code), kEventDelayMs};
    record.Events[release] = KeyEvent{1, uint8_t(kind), uint16_t(code), kEventDelayMs};
    return record;
}

bool Buttoninterface::ComboTextToRecord(const QString& text, KeyActionRecord& record) {
    const QStringList names = SplitKeyCombination(text);
    if (names.isEmpty() || names.size() > kMaxComboKeys) return false;
    KeyActionRecord built;
    std::memset(&built, 0, sizeof built);
    const int n = names.size();
    for (int k = 0; k < n; ++k) built = KeyNameToEvent(names[k], k, n, built);
    built.EventCount = uint8_t(2 * n);
    record = built;
    return true;
}

KeyActionRecord Buttoninterface::MakeMediaRecord(int high, int low) {
    KeyActionRecord record;
    std::memset(&record, 0, sizeof record);
    const uint16_t usage = uint16_t(((high & 0xFF) << 8) | (low & 0xFF));
    record.EventCount = 2;
    record.Events[0] = KeyEvent{0, 2, usage, kEventDelayMs};
    record.Events[1] = KeyEvent{1, 2, usage, kEventDelayMs};
    return record;
}

QString Buttoninterface::DpiDefinePrefix() const {
    return "SENSOR_" + SensorName + "_DPI";
}

int Buttoninterface::DpiValueToIndex(int dpi) const {
    const QString prefix = DpiDefinePrefix();
    const int fallback = dpi / 50;
    bool sensorListed = false;
    for (const QString& name : SensorDefineNames) sensorListed = sensorListed || name.contains(prefix);
    if (!sensorListed) return fallback - 1;
    const int at = SensorDefineNames.indexOf(prefix + "_" + QString::number(dpi));
    return at >= 0 ? SensorDefineValues.value(at) : fallback;
}

int Buttoninterface::DpiIndexToValue(int index) const {
    const QString prefix = DpiDefinePrefix();
    bool sensorListed = false;
    for (int i = 0; i < SensorDefineNames.size(); ++i) {
        const QString& name = SensorDefineNames[i];
        if (!name.contains(prefix)) continue;
        sensorListed = true;
        if (SensorDefineValues.value(i) != index) continue;
        // The DPI is the number after the prefix and its "_".
        return SensorDefines::TableDpi(name.mid(name.indexOf(prefix) + prefix.size() + 1));
    }
    return sensorListed ? 0 : (index + 1) * 50;
}
