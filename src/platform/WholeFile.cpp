#include "platform/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>

namespace WholeFile {

bool Write(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
    const QFileInfo target(path);
    if (path.isEmpty() || (target.exists() && !target.isFile())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | mode)) return false;
    // The save file keeps a failed flush to itself and would still commit: check both before.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Append(const QString& path, const QByteArray& bytes) {
    QFile old(path);
    if (!QFileInfo(path).isFile() || !old.open(QIODevice::ReadOnly)) return false;
    QByteArray content = old.readAll();
    if (old.error() != QFileDevice::NoError) return false;
    old.close();
    return Write(path, content.append(bytes));
}

void RemoveLeftovers(const QString& folder, const QString& targets) {
    // The save file's temporary: the target's name, a dot and six random letters.
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z]{6}$"));
    const QRegularExpression target(QRegularExpression::wildcardToRegularExpression(targets));
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = temporary.match(file.fileName());
        if (match.hasMatch() && !file.isSymLink() && target.match(match.captured(1)).hasMatch())
            QFile::remove(file.filePath());
    }
}

namespace {
// Whether the settings file holds `value` (invalid: no such key) and reads without error. A line the
// reader cannot take is dropped when the file is written, but its error stays with the object that met
// it and hides whether that write went through: only the file tells.
bool FileHolds(const QSettings& settings, const QString& key, const QVariant& value) {
    QSettings file(settings.fileName(), settings.format());
    file.setIniCodec(settings.iniCodec());
    file.allKeys();  // reads every group, so that a damaged line shows in the status
    if (file.status() != QSettings::NoError) return false;
    return value.isValid() ? file.contains(key) && file.value(key) == value : !file.contains(key);
}
}  // namespace

bool StoreSetting(QSettings& settings, const QString& key, const QVariant& value) {
    const bool had = settings.contains(key);
    const QVariant old = settings.value(key);
    if (value.isValid())
        settings.setValue(key, value);
    else if (had)
        settings.remove(key);
    else
        return true;
    settings.sync();
    const QSettings::Status status = settings.status();
    if (status == QSettings::NoError || (status == QSettings::FormatError && FileHolds(settings, key, value)))
        return true;
    if (had)
        settings.setValue(key, old);
    else
        settings.remove(key);
    return false;
}

}  // namespace WholeFile
