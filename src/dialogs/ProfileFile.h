#pragma once
#include <QString>

#include "hidusb/FlashDataMap.h"

// Result of the last profile read: 0 accepted, 1 not readable or not a profile, 2 made for another
// product (other sensor or more DPI levels than the model has); the macro import sets 3 for a macro file
// it cannot use. GUI thread only.
extern int ImportResult;

namespace ProfileFile {

constexpr int kTagBlockSize = 12;
constexpr int kSensorBlockSize = 12;
constexpr int kImageBlockSize = static_cast<int>(sizeof(FlashDataMap));
inline const char* const kTag = "Zizov";

// Reads a profile file (three data-stream byte blocks: tag, sensor, image) and tests it against the
// product's sensor name and its highest DPI level count. Returns 0, 1 or 2 as ImportResult; `out`
// is written only when the result is 0. Blocks of any other length, texts without their zero byte,
// a short or over-long stream are result 1.
int Read(const QString& path, const QString& sensor, int dpiMaxGrade, FlashDataMap& out);

// Writes a profile file the way the button page's export does (tests and the export share it), whole or
// not at all: false, with no new file left behind and an old one unchanged, when the sensor name and its
// zero byte do not fit their block or any step of the write fails.
bool Write(const QString& path, const QString& sensor, const FlashDataMap& image);

}  // namespace ProfileFile
