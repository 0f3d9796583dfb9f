#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
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
    if (settings.status() == QSettings::NoError) return true;
    if (had)
        settings.setValue(key, old);
    else
        settings.remove(key);
    return false;
}

}  // namespace WholeFile
