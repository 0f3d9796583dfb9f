#include "platform/RegistryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

#include "platform/Paths.h"
#include "platform/WholeFile.h"

namespace {
QMutex& StoreMutex() {
    static QMutex mutex;
    return mutex;
}

QString& PathOverride() {
    static QString path;
    return path;
}

// QSettings would turn backslashes into group separators anyway; do it explicitly.
QString GroupOf(const QString& keyPath) {
    QString group = keyPath;
    group.replace('\\', '/');
    while (group.endsWith('/')) group.chop(1);
    return group;
}

// Caller holds StoreMutex.
QString CurrentPath() {
    if (!PathOverride().isEmpty()) return PathOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' +
           Paths::kProductName + QStringLiteral("/registry.ini");
}

QString SoftwareKey() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + Paths::kProductName;
}
}  // namespace

RegistryStore::RegistryStore(const QString& keyPath) : group_(GroupOf(keyPath)), keyPath_(keyPath) {}

QVariant RegistryStore::Value(const QString& name, const QVariant& defaultValue) const {
    QMutexLocker lock(&StoreMutex());
    QSettings settings(CurrentPath(), QSettings::IniFormat);
    return settings.value(group_ + '/' + name, defaultValue);
}

bool RegistryStore::Contains(const QString& name) const {
    QMutexLocker lock(&StoreMutex());
    QSettings settings(CurrentPath(), QSettings::IniFormat);
    return settings.contains(group_ + '/' + name);
}

bool RegistryStore::SetValue(const QString& name, const QVariant& value) {
    QMutexLocker lock(&StoreMutex());
    const QString path = CurrentPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    return WholeFile::StoreSetting(settings, group_ + '/' + name, value.isValid() ? value : QString());
}

bool RegistryStore::Remove(const QString& name) {
    QMutexLocker lock(&StoreMutex());
    QSettings settings(CurrentPath(), QSettings::IniFormat);
    return WholeFile::StoreSetting(settings, group_ + '/' + name, QVariant());
}

QString RegistryStore::ProductKey() {
    return SoftwareKey() + '\\' + Paths::kProductName + '\\' + Paths::kProductName;
}

QString RegistryStore::DriveTestKey() {
    return SoftwareKey() + '\\' + Paths::kProductName + QStringLiteral("\\Mouse Drive Test");
}

QString RegistryStore::RunKey() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

QString RegistryStore::FilePath() {
    QMutexLocker lock(&StoreMutex());
    return CurrentPath();
}

void RegistryStore::SetFilePath(const QString& path) {
    QMutexLocker lock(&StoreMutex());
    PathOverride() = path;
}
