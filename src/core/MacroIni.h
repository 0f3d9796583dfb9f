#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

// The user settings "Macro.ini" of the user data folder (language, auto start, notice choice).
// Every write reaches the disk before SetValue returns (the tray's exit ends the process without
// running destructors), or is taken back and reported by a false return. Used on the GUI thread.
class MacroIni {
public:
    // The store, created on first call (guarded by a mutex).
    static MacroIni* GetInstance();

    // Value of group/key; empty when missing.
    QString GetValue(const QString& group, const QString& key) const;
    QStringList GetStringList(const QString& group, const QString& key) const;
    // Stores the text and writes the file at once; false, with the old value kept, when the file could
    // not be written.
    bool SetValue(const QString& group, const QString& key, const QString& value);
    // Removes the key and writes the file at once; false, with the key kept, when it could not be written.
    bool Remove(const QString& group, const QString& key);

    // Tests: the next GetInstance opens `path` (empty: the user data folder's Macro.ini).
    // Earlier instances stay valid.
    static void ResetForTest(const QString& path = QString());

    QString FilePath() const { return Path; }
    ~MacroIni();

private:
    explicit MacroIni(const QString& path);
    void Open();
    bool Store(const QString& key, const QVariant& value);
    MacroIni(const MacroIni&) = delete;
    MacroIni& operator=(const MacroIni&) = delete;

    QString Path;
    std::unique_ptr<QSettings> Settings;
    bool Failed = false;  // the last write failed
};
