#include "keys/KeyTables.h"

#include <QVector>

#include "core/LanguageTables.h"
#include "hidusb/FlashDataMap.h"

QString MouseButtonNames[MouseButtonCount];

namespace {

// One fixed name of the vocabulary.
struct KeyRow {
    QString name;
    int kind;
    int code;
    int virtualKey;  // 0: none
};

// Mouse-button bits in the order of MouseButtonNames.
constexpr int kMouseButtonBits[MouseButtonCount] = {0x01, 0x02, 0x04, 0x08, 0x10};

QVector<KeyRow> BuildRows() {
    QVector<KeyRow> rows;
    auto add = [&rows](const QString& name, int kind, int code, int vk) {
        rows.append({name, kind, code, vk});
    };
    for (int i = 0; i < 26; ++i) add(QString(QChar('A' + i)), KeyKindKeyboard, 0x04 + i, 0x41 + i);
    for (int i = 0; i < 9; ++i) add(QString(QChar('1' + i)), KeyKindKeyboard, 0x1E + i, 0x31 + i);
    add("0", KeyKindKeyboard, 0x27, 0x30);
    add("Enter", KeyKindKeyboard, 0x28, 0x0D);
    add("Esc", KeyKindKeyboard, 0x29, 0x1B);
    add("BackSpace", KeyKindKeyboard, 0x2A, 0x08);
    add("Tab", KeyKindKeyboard, 0x2B, 0x09);
    add("Space", KeyKindKeyboard, 0x2C, 0x20);
    add("-", KeyKindKeyboard, 0x2D, 0xBD);
    add("=", KeyKindKeyboard, 0x2E, 0xBB);
    add("[", KeyKindKeyboard, 0x2F, 0xDB);
    add("]", KeyKindKeyboard, 0x30, 0xDD);
    add("\\", KeyKindKeyboard, 0x31, 0xDC);
    add(";", KeyKindKeyboard, 0x33, 0xBA);
    add("'", KeyKindKeyboard, 0x34, 0xDE);
    add("`", KeyKindKeyboard, 0x35, 0xC0);
    add(",", KeyKindKeyboard, 0x36, 0xBC);
    add(".", KeyKindKeyboard, 0x37, 0xBE);
    add("/", KeyKindKeyboard, 0x38, 0xBF);
    add("CapsLock", KeyKindKeyboard, 0x39, 0x14);
    for (int i = 0; i < 12; ++i) add(QString("F%1").arg(i + 1), KeyKindKeyboard, 0x3A + i, 0x70 + i);
    add("Screen", KeyKindKeyboard, 0x46, 0x2C);
    add("Scroll", KeyKindKeyboard, 0x47, 0x91);
    add("Pause", KeyKindKeyboard, 0x48, 0x13);
    add("Insert", KeyKindKeyboard, 0x49, 0x2D);
    add("Home", KeyKindKeyboard, 0x4A, 0x24);
    add("PgUp", KeyKindKeyboard, 0x4B, 0x21);
    add("Del", KeyKindKeyboard, 0x4C, 0x2E);
    add("End", KeyKindKeyboard, 0x4D, 0x23);
    add("PgDn", KeyKindKeyboard, 0x4E, 0x22);
    add(QString(QChar(0x2192)), KeyKindKeyboard, 0x4F, 0x27);
    add(QString(QChar(0x2190)), KeyKindKeyboard, 0x50, 0x25);
    add(QString(QChar(0x2193)), KeyKindKeyboard, 0x51, 0x28);
    add(QString(QChar(0x2191)), KeyKindKeyboard, 0x52, 0x26);
    add("NumLock", KeyKindKeyboard, 0x53, 0x90);
    add("Num/", KeyKindKeyboard, 0x54, 0x6F);
    add("Num*", KeyKindKeyboard, 0x55, 0x6A);
    add("Num-", KeyKindKeyboard, 0x56, 0x6D);
    add("Num+", KeyKindKeyboard, 0x57, 0x6B);
    for (int i = 0; i < 9; ++i) add(QString("Num%1").arg(i + 1), KeyKindKeyboard, 0x59 + i, 0x61 + i);
    add("Num0", KeyKindKeyboard, 0x62, 0x60);
    add("Num.", KeyKindKeyboard, 0x63, 0x6E);
    add("APPs", KeyKindKeyboard, 0x65, 0x5D);
    // Keypad 5 with Num Lock off.
    add(QString(""), KeyKindKeyboard, 0x00, 0x0C);
    add("LCtrl", KeyKindModifier, 0x01, 0xA2);
    add("LShift", KeyKindModifier, 0x02, 0xA0);
    add("LAlt", KeyKindModifier, 0x04, 0xA4);
    add("LWin", KeyKindModifier, 0x08, 0x5B);
    add("RCtrl", KeyKindModifier, 0x10, 0xA3);
    add("RShift", KeyKindModifier, 0x20, 0xA1);
    add("RAlt", KeyKindModifier, 0x40, 0xA5);
    add("RWin", KeyKindModifier, 0x80, 0x5C);
    return rows;
}

const QVector<KeyRow>& Rows() {
    static const QVector<KeyRow> rows = BuildRows();
    return rows;
}

bool IsFunctionKey(const KeyRow& row) {
    return row.kind == KeyKindKeyboard && row.code >= 0x3A && row.code <= 0x45;
}

// "0x" and two upper-case hexadecimal digits.
QString CodeText(int code) {
    return "0x" + QString("%1").arg(code, 2, 16, QChar('0')).toUpper();
}

const KeyRow* FindByCode(int kind, int code) {
    for (const KeyRow& row : Rows())
        if (row.kind == kind && row.code == code) return &row;
    return nullptr;
}

QString NameOf(int kind, int code) {
    const KeyRow* row = FindByCode(kind, code);
    return row ? row->name : QString("");
}

// The kind and code that a name stands for, in the lookup order of the vocabulary.
bool LookUpName(const QString& name, int& kind, int& code) {
    for (const KeyRow& row : Rows()) {
        if (!IsFunctionKey(row) && row.name == name) {
            kind = row.kind;
            code = row.code;
            return true;
        }
    }
    for (int i = 0; i < MouseButtonCount; ++i) {
        if (MouseButtonNames[i] == name) {
            kind = KeyKindMouseButton;
            code = kMouseButtonBits[i];
            return true;
        }
    }
    for (const KeyRow& row : Rows()) {
        if (IsFunctionKey(row) && row.name == name) {
            kind = row.kind;
            code = row.code;
            return true;
        }
    }
    return false;
}

}  // namespace

void SetMouseButtonNames(int language) {
    // Insert-event commands of the buttons, in the order of MouseButtonNames.
    static const char* const commands[MouseButtonCount] = {"2", "3", "4", "6", "5"};
    for (int i = 0; i < MouseButtonCount; ++i)
        MouseButtonNames[i] = LanguageText(MouseInsertEventLabels, language, commands[i]);
}

QString KeyCodeTextToName(const QString& codeText, int kind) {
    if (kind == KeyKindMouseButton) {
        for (int i = 0; i < MouseButtonCount; ++i)
            if (CodeText(kMouseButtonBits[i]) == codeText) return MouseButtonNames[i];
        return QString("");
    }
    if (kind != KeyKindKeyboard && kind != KeyKindModifier) return QString("");
    for (const KeyRow& row : Rows())
        if (row.kind == kind && CodeText(row.code) == codeText) return row.name;
    return QString("");
}

QString KeyCodeToName(int code, int kind) {
    switch (code) {
        case 0x01:
        case 0x02:
        case 0x80:
            return NameOf(KeyKindModifier, code);
        case 0x04:
        case 0x08:
        case 0x10:
        case 0x20:
            if (kind == KeyKindModifier) return NameOf(KeyKindModifier, code);
            return kind == KeyKindKeyboard ? NameOf(KeyKindKeyboard, code) : QString("");
        case 0x40:
            return kind == KeyKindModifier ? NameOf(KeyKindModifier, code) : NameOf(KeyKindKeyboard, code);
        case 0x58:  // keypad Enter
            return NameOf(KeyKindKeyboard, 0x28);
        default:
            return NameOf(KeyKindKeyboard, code);
    }
}

QString MouseCodeToName(int buttonBit) {
    for (int i = 0; i < MouseButtonCount; ++i)
        if (kMouseButtonBits[i] == buttonBit) return MouseButtonNames[i];
    return QString("");
}

QStringList KeyNameToCode(const QString& name) {
    int kind = 0;
    int code = 0;
    if (!LookUpName(name, kind, code)) return {};
    return {CodeText(code), QString::number(kind)};
}

void KeyNameToKindAndCode(const QString& name, quint8& kind, quint16& code) {
    int foundKind = 0;
    int foundCode = 0;
    if (!LookUpName(name, foundKind, foundCode)) {
        kind = KeyKindKeyboard;
        return;
    }
    kind = static_cast<quint8>(foundKind);
    code = static_cast<quint16>(foundCode);
}

void KeyNameToEvent(const QString& name, int index, MacroRecord& record) {
    constexpr int eventCount = int(sizeof(record.Events) / sizeof(record.Events[0]));
    if (index < 0 || index >= eventCount) return;
    KeyEvent& event = record.Events[index];
    quint8 kind = event.Kind;
    quint16 code = event.Code;
    KeyNameToKindAndCode(name, kind, code);
    event.Kind = kind;
    event.Code = code;
}

std::optional<QString> VirtualKeyToName(int virtualKey, bool withModifiers) {
    for (const KeyRow& row : Rows()) {
        if (row.virtualKey != virtualKey) continue;
        if (row.kind == KeyKindModifier && !withModifiers) continue;
        return row.name;
    }
    return std::nullopt;
}

QStringList SplitKeyCombination(const QString& text) {
    static const QString keypadPlus = QStringLiteral("Num+");
    QStringList items;
    int i = 0;
    while (i < text.size()) {
        int end = text.indexOf('+', i);
        if (text.midRef(i).startsWith(keypadPlus))
            end = i + keypadPlus.size();
        else if (end < 0)
            end = text.size();
        items.append(text.mid(i, end - i));
        i = end;
        if (i < text.size() && text.at(i) == '+') {
            ++i;
            if (i == text.size()) items.append(QString());  // a trailing separator leaves an empty item
        }
    }
    return items;
}
