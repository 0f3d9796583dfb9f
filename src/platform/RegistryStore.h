#pragma once
#include <QString>
#include <QVariant>

// Stands in for the current user's registry: values live in an INI file under the user's config folder
// ("<config>/Vorlant ZEMB/registry.ini"), grouped by the same "HKEY_CURRENT_USER\..." key paths.
// Every write reaches the disk at once or is taken back: SetValue and Remove return false when the file
// could not be written. Reads and writes are safe from any thread.
class RegistryStore {
public:
    explicit RegistryStore(const QString& keyPath);

    QVariant Value(const QString& name, const QVariant& defaultValue = QVariant()) const;
    bool Contains(const QString& name) const;
    bool SetValue(const QString& name, const QVariant& value);
    bool Remove(const QString& name);

    const QString& KeyPath() const { return keyPath_; }

    // "HKEY_CURRENT_USER\Software\Vorlant ZEMB\Vorlant ZEMB\Vorlant ZEMB" (the old language choice).
    static QString ProductKey();
    // "HKEY_CURRENT_USER\Software\Vorlant ZEMB\Vorlant ZEMB\Mouse Drive Test" ("UpdateFailInfo",
    // "MouseVer...").
    static QString DriveTestKey();
    // "HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run".
    static QString RunKey();

    // The backing file; SetFilePath overrides it (tests), an empty text restores the default.
    static QString FilePath();
    static void SetFilePath(const QString& path);

private:
    QString group_;
    QString keyPath_;
};
