#include "core/MacroIni.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <vector>

#include "platform/Paths.h"
#include "platform/WholeFile.h"

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

MacroIni::MacroIni(const QString& path) : Path(path) {
    Open();
}

MacroIni::~MacroIni() = default;

QString MacroIni::GetValue(const QString& group, const QString& key) const {
    return Settings->value(group + "/" + key).toString();
}

QStringList MacroIni::GetStringList(const QString& group, const QString& key) const {
    return Settings->value(group + "/" + key).toStringList();
}

bool MacroIni::SetValue(const QString& group, const QString& key, const QString& value) {
    return Store(group + "/" + key, value);
}

bool MacroIni::Remove(const QString& group, const QString& key) {
    return Store(group + "/" + key, QVariant());
}

bool MacroIni::Store(const QString& key, const QVariant& value) {
    // A failed object keeps its error status: the next write goes through a fresh one.
    if (Failed) Open();
    Failed = !WholeFile::StoreSetting(*Settings, key, value);
    return !Failed;
}

void MacroIni::Open() {
    Settings.reset(new QSettings(Path, QSettings::IniFormat));
    Settings->setIniCodec("UTF-8");
}
