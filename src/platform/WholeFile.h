#pragma once
#include <QIODevice>
#include <QString>
#include <QVariant>

class QSettings;

// Writers of the user's files: a file is written whole or not at all. The bytes go to a temporary file
// beside the target; every write is checked and the buffer flushed before the temporary file replaces
// the target. When any step fails the target stays as it was and no new file is left behind.
namespace WholeFile {

// Writes `bytes` as the whole new content of `path` (`mode` may add QIODevice::Text). False when any
// step fails, or when `path` exists and is not a regular file (a device, a FIFO, a folder).
bool Write(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::NotOpen);

// Appends `bytes` to the existing file `path`: its old content and the new bytes are written as a
// new file. False, without any change, when `path` is missing, unreadable or cannot be written.
bool Append(const QString& path, const QByteArray& bytes);

// Removes what a writer killed halfway left in `folder` beside the files whose names match `targets`
// (a wildcard such as "*.ini"): the temporary "<file name>.XXXXXX" (six letters) in which the new content
// waited to replace its file. Folders, links and every other name stay. Call it where no write of that
// folder runs at the same time.
void RemoveLeftovers(const QString& folder, const QString& targets);

// Sets `key` to `value` (an invalid value removes it) and syncs the settings object to its file. When
// the file could not be written, the object takes the change back (or a later sync would store it after
// all) and false is returned; the object's status then stays failed, so a caller keeping the object
// opens a new one. A line of the file that the reader cannot take is dropped when the file is written;
// it does not fail the write.
bool StoreSetting(QSettings& settings, const QString& key, const QVariant& value);

}  // namespace WholeFile
