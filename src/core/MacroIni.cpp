#include "core/MacroIni.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <vector>

#include "platform/Paths.h"

namespace {
QMutex MacroMutex;
MacroIni* Instance = nullptr;
QString TestPath;
std::vector<std::unique_ptr<MacroIni>>& Retired() {
    static std::vector<std::unique_ptr<MacroIni>> list;
    return list;
}
}  // namespace

MacroIni* MacroIni::GetInstance() {
    QMutexLocker lock(&MacroMutex);
    if (!Instance) {
        const QString path = TestPath.isEmpty() ? Paths::UserDataDir() + "/Macro.ini" : TestPath;
        Instance = new MacroIni(path);
    }
    return Instance;
}

void MacroIni::ResetForTest(const QString& path) {
    QMutexLocker lock(&MacroMutex);
    if (Instance) Retired().emplace_back(Instance);
    Instance = nullptr;
    TestPath = path;
}

MacroIni::MacroIni(const QString& path) : Path(path), Settings(new QSettings(path, QSettings::IniFormat)) {
    Settings->setIniCodec("UTF-8");
}

MacroIni::~MacroIni() = default;

QString MacroIni::GetValue(const QString& group, const QString& key) const {
    return Settings->value(group + "/" + key).toString();
}

QStringList MacroIni::GetStringList(const QString& group, const QString& key) const {
    return Settings->value(group + "/" + key).toStringList();
}

void MacroIni::SetValue(const QString& group, const QString& key, const QString& value) {
    Settings->setValue(group + "/" + key, value);
    Settings->sync();
}

void MacroIni::Remove(const QString& group, const QString& key) {
    Settings->remove(group + "/" + key);
    Settings->sync();
}
