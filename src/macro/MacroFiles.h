#pragma once
#include <QString>
#include <QVector>

#include "hidusb/FlashDataMap.h"

// The macro editor's data without widgets: the entries of an event list, the macro text file, the
// macro export file and the device's 592-byte macro record. GUI thread only (names of mouse buttons
// follow the current language).
namespace MacroFiles {

// A device macro record holds at most this many events.
constexpr int kMaxEvents = 70;
// Export blocks: tag, name, loop text.
constexpr int kTagBlockSize = 12;
constexpr int kNameBlockSize = 48;
constexpr int kLoopBlockSize = 12;
// An export file never holds more items than this (events and the delays between them).
constexpr int kMaxImportItems = 2 * kMaxEvents - 1;
// Longest event name an export file may carry.
constexpr int kMaxImportTextLength = 64;
inline const char* const kExportTag = "Zizov";

enum class EntryType { Press, Release, Delay };

// One item of the event list. An event keeps the kind and code of its key next to its display
// name, so the name may follow the language (mouse buttons) without losing the key.
struct MacroEntry {
    EntryType Type = EntryType::Delay;
    QString Text;  // display name of the key, or the delay text ("10ms")
    int Kind = 1;
    int Code = 0;

    bool IsDelay() const { return Type == EntryType::Delay; }
    bool IsRelease() const { return Type == EntryType::Release; }

    // An event of a display name; kind and code from EventCodeOf.
    static MacroEntry Event(const QString& name, bool press);
    // An event of a known kind and code (a mouse-button bit, a key read back from a file or record).
    static MacroEntry Event(const QString& name, bool press, int kind, int code);
    // A delay of ms milliseconds, rounded to whole milliseconds and never below 0: "10ms".
    static MacroEntry Delay(double ms);
    // A delay with the text as it stands.
    static MacroEntry DelayText(const QString& text);
};

bool operator==(const MacroEntry& a, const MacroEntry& b);

// Kind and code of a display name: the key vocabulary, then the mouse-button names of every
// language; a name outside both is the empty key (kind 1, code 0).
void EventCodeOf(const QString& name, int& kind, int& code);

// The delay in ms of a delay text: the text without every "ms" as a decimal number, 0 when it is not one.
quint32 DelayValue(const QString& text);

// Whether a repeat value is one a macro may carry: 1..250, 253, 254, 255.
bool IsValidRepeat(int value);

// --- the macro text file ---

struct MacroFileContent {
    bool HasFirstLine = false;  // false for an empty file: the loop options stay as they are
    int Repeat = 0;             // the first line's number, 0 when it is not one
    QVector<MacroEntry> Entries;
};

// Reads the lines of a macro file: the repeat value, then one entry per event or delay line.
MacroFileContent ParseMacroText(const QString& text);
// Reads a macro file; false when it is missing or cannot be opened.
bool ReadMacroFile(const QString& path, MacroFileContent& out);

// The file line of one entry, without its line end: "0x04 1 0" or "10ms".
QString EntryLine(const MacroEntry& entry);
// The whole file text: the repeat value, then one line per entry, each ending in a line feed.
QString MacroText(const QString& repeatText, const QVector<MacroEntry>& entries);
// Writes a whole macro file through a temporary file; the old file stays when writing fails.
bool WriteMacroFile(const QString& path, const QString& repeatText, const QVector<MacroEntry>& entries);
// Appends the entries' lines to an existing file, whole or not at all; false (nothing written) when it
// does not exist or cannot be written.
bool AppendMacroLines(const QString& path, const QVector<MacroEntry>& entries);
// Creates an empty file or empties an existing one.
bool ClearFile(const QString& path);

// The macro file names of a folder: "*.ini" files (no folders or links), by name ignoring case,
// each without its final ".ini"; names the name validator refuses are left out.
QStringList MacroNamesIn(const QString& folder);

// --- the export file ---

struct ExportContent {
    QString Name;
    int Repeat = 0;
    QVector<MacroEntry> Entries;
};

enum class ImportError {
    None,
    Unreadable,  // the file cannot be opened
    NotMacro,    // wrong tag or block sizes (a profile file, another file)
    Broken,      // a stream error, an impossible count, text or marker
    BadName,     // the name is not one a macro may carry
};

// The export name text: the name in UTF-8, cut to whole characters of at most 47 bytes.
QByteArray ExportNameBytes(const QString& name);
// Writes an export file; each item's icon comes from pictureFolder ("MacroDown.png", "MacroUp.png",
// "MacroTime.png"). Written whole or not at all; false when the file cannot be written.
bool WriteExport(const QString& path, const QString& name, const QString& repeatText,
                 const QVector<MacroEntry>& entries, const QString& pictureFolder);
// Reads and checks an export file; `out` is complete only for ImportError::None.
ImportError ReadExport(const QString& path, ExportContent& out);

// --- the device record ---

// The record of a named event list: the name cut to 30 bytes of the local 8-bit encoding; events
// from the items at even positions, delays from those at odd positions; at most 70 events.
MacroRecord EntriesToRecord(const QString& name, const QVector<MacroEntry>& entries);
// The name stored in a record, as a macro name that is safe as a file name: all 30 name bytes
// without NULs and forbidden characters; one the validator still refuses becomes
// "Macro" + (button + 1).
QString RecordName(const MacroRecord& record, int button);
// The events of a record (at most 70), with a delay between consecutive ones.
QVector<MacroEntry> RecordToEntries(const MacroRecord& record);

}  // namespace MacroFiles
