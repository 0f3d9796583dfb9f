#pragma once
#include <QString>

// Stands for the current user's "Run" registry value: an XDG autostart entry
// (<config>/autostart/<name>.desktop) whose Exec line starts the program. An entry with Hidden=true is off.
namespace AutoStart {

// The entry file of an application name.
QString EntryPath(const QString& appName);
// Writes the entry (Exec quoted), whole or not at all; false when it cannot be written (a full disk too).
bool Enable(const QString& appName, const QString& executable);
// Removes the entry; a missing entry is success. False when it exists and cannot be removed.
bool Disable(const QString& appName);
// Whether an entry exists and is not hidden.
bool IsEnabled(const QString& appName);
// Exec text of an executable path: quoted, with backslash, quote, back-quote and dollar escaped.
QString ExecLine(const QString& executable);

// Tests: the autostart folder; an empty text restores the user's config folder.
void SetFolder(const QString& folder);

}  // namespace AutoStart
