#pragma once
#include <QString>

// The one rule for macro names: the name input shapes what the user types or pastes with it, and
// every place that turns a name into a file name checks it first.
namespace MacroName {

// The macro record's name field holds at most this many bytes of the local 8-bit encoding.
constexpr int kMaxBytes = 30;

// The longest leading part of `text` whose local 8-bit encoding has at most maxBytes bytes
// (a surrogate pair is never split).
QString CutToBytes(const QString& text, int maxBytes = kMaxBytes);

// `text` without the characters a name may never hold: "/", "\", NUL and control characters.
QString WithoutForbidden(const QString& text);

// Not empty or blank, none of the forbidden characters, not "." or "..", at most 30 bytes in the
// local 8-bit encoding, and representable in that encoding.
bool IsValid(const QString& name);

}  // namespace MacroName
