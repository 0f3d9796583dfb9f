#pragma once
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

struct MacroRecord;

// The key vocabulary: every key and mouse button has one display name; macro files store a code
// text and a kind, device events a kind and a numeric code, and key capture a Windows virtual key.
// Every conversion goes through the display name. GUI thread only.

// Kinds of a key event.
constexpr int KeyKindModifier = 0;     // code: one bit of the HID boot keyboard modifier byte
constexpr int KeyKindKeyboard = 1;     // code: usage of the HID Keyboard/Keypad page
constexpr int KeyKindConsumer = 2;     // code: usage of the HID Consumer page (media keys)
constexpr int KeyKindMouseButton = 4;  // code: one mouse-button bit

// Names of the mouse buttons in the order left (0x01), right (0x02), middle (0x04),
// back (0x08), forward (0x10). Empty until the macro page's language pass sets them.
constexpr int MouseButtonCount = 5;
extern QString MouseButtonNames[MouseButtonCount];

// Sets MouseButtonNames from the mouse insert-event labels of `language`:
// "2" left, "3" right, "4" middle, "5" forward, "6" back.
void SetMouseButtonNames(int language);

// Display name of a stored code text ("0x2B") of the given kind; the empty name when the text is
// not one of the kind's codes (texts are compared exactly) or the kind is not 0, 1 or 4.
QString KeyCodeTextToName(const QString& codeText, int kind);

// Display name of a numeric code of a device event. The kind only separates modifier bits from
// keyboard usages where they share a number; mouse buttons go through MouseCodeToName.
QString KeyCodeToName(int code, int kind);

// Display name of one mouse-button bit; the empty name for anything else.
QString MouseCodeToName(int buttonBit);

// The stored code text and kind digit of a display name ("0x2B", "1"), or an empty list when
// the name is not in the vocabulary. Compared exactly; the empty name gives ("0x00", "1").
QStringList KeyNameToCode(const QString& name);

// Kind and code of a key event for a display name, in the lookup order of KeyNameToCode.
// A name outside the vocabulary sets the kind to 1 and leaves the code alone.
void KeyNameToKindAndCode(const QString& name, quint8& kind, quint16& code);

// Writes the Kind and Code of event `index` of a macro record from a display name, as
// KeyNameToKindAndCode; State and DelayMs stay. An index outside the record changes nothing.
// The macro page's conversion (Macro::KeyNameToEvent) is this function.
void KeyNameToEvent(const QString& name, int index, MacroRecord& record);

// Display name of a Windows virtual-key code as key capture reports it, or no name.
// Without modifiers the eight modifier keys give no name. 0x0C gives the empty name.
std::optional<QString> VirtualKeyToName(int virtualKey, bool withModifiers);

// The items of a key-combination text such as "Ctrl+Num++A": split at "+", where the "+" of the
// key name "Num+" belongs to the name. The empty text has no items.
QStringList SplitKeyCombination(const QString& text);
