#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

// The product table "usersetting/Config.ini" of the installation folder, read-only.
// The file is read and decoded once, when the store is created; afterwards the store never
// changes, so any thread may read it.
class ConfigIni {
public:
    // The store, created on first call (guarded by a mutex).
    static ConfigIni* GetInstance();

    // Value of group/key; empty when missing. Keys of the Base64 set come back decoded.
    QString GetValue(const QString& group, const QString& key) const;
    // Value of group/key as a list (the INI's comma syntax); empty when missing. Each element
    // of a Base64 key is decoded on its own.
    QStringList GetStringList(const QString& group, const QString& key) const;
    // Names of the groups that hold at least one key.
    QStringList Groups() const { return GroupNames; }

    // Standard Base64 of UTF-8 text to text, with every line feed and then every space removed.
    static QString DecodeBase64(const QString& text);
    // Whether the product table stores this key in Base64.
    static bool IsBase64Key(const QString& key);

    // Tests: the next GetInstance reads `path` (empty: the installed table). Earlier instances
    // stay valid but keep their old values.
    static void ResetForTest(const QString& path = QString());

    QString FilePath() const { return Path; }

private:
    explicit ConfigIni(const QString& path);
    ConfigIni(const ConfigIni&) = delete;
    ConfigIni& operator=(const ConfigIni&) = delete;

    QString Path;
    QHash<QString, QString> Values;     // group/key -> value as text (decoded)
    QHash<QString, QStringList> Lists;  // group/key -> value as list (decoded)
    QStringList GroupNames;
};
