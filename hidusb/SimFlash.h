#pragma once
// The simulated mouse's 6912-byte flash and its conversion to and from the 10,460-byte settings image.
//
// Flash layout (little-endian):
//   0x000   4  magic "VZMF"
//   0x004   1  layout version (1)
//   0x005   1  zero
//   0x006   2  bytes used in the macro area
//   0x008   4  CRC-32 of bytes 0x010..0x1AFF
//   0x00C   4  zero
//   0x010 156  image bytes 0..155 verbatim (settings, DPI levels, lights, button entries, reserved bytes)
//   0x0AC 832  image bytes 156..987 verbatim (the sixteen key-action records)
//   0x3EC 5908 macro area: one entry per non-empty macro record, in button order:
//              button index (1 byte), length n (2 bytes, 1..592), the record's first n bytes
//              (the record without its trailing zero bytes); then 0xFF or the end of the area.
// Every byte of the image is kept, so a round trip is exact; macros that do not fit are refused.
#include <QByteArray>
#include <QString>

struct FlashDataMap;

namespace SimFlash {

constexpr int kSize = 6912;
constexpr int kSettingsOffset = 0x10;
constexpr int kActionsOffset = 0xAC;
constexpr int kMacroOffset = 0x3EC;
constexpr int kMacroArea = kSize - kMacroOffset;

// Factory settings of a mouse with this many buttons.
QByteArray Factory(int buttonCount);

// Converts an image to flash; false with a reason (and *flash untouched) when it cannot fit.
bool Encode(const FlashDataMap& image, QByteArray* flash, QString* error);

// Converts a flash dump to an image; false with a reason (and *image untouched) when the dump is not
// an intact flash of this layout.
bool Decode(const unsigned char* flash, FlashDataMap* image, QString* error);

// Checks a stored flash (length, magic, checksum).
bool IsValid(const QByteArray& flash);

// Reads and writes one byte of the settings (image offset < 156), keeping the checksum right.
unsigned char SettingByte(const QByteArray& flash, int imageOffset);
void SetSettingByte(QByteArray* flash, int imageOffset, unsigned char value);

}  // namespace SimFlash
