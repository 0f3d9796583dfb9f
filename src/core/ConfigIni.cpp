#include "core/ConfigIni.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <memory>
#include <vector>

#include "platform/Paths.h"

namespace {
QMutex ConfigMutex;
ConfigIni* Instance = nullptr;
QString TestPath;
// Instances replaced by ResetForTest; kept so that pointers held elsewhere stay valid.
std::vector<std::unique_ptr<ConfigIni>>& Retired() {
    static std::vector<std::unique_ptr<ConfigIni>> list;
    return list;
}
}  // namespace

ConfigIni* ConfigIni::GetInstance() {
    QMutexLocker lock(&ConfigMutex);
    if (!Instance) {
        const QString path = TestPath.isEmpty() ? Paths::InstallDir() + "/usersetting/Config.ini" : TestPath;
        Instance = new ConfigIni(path);
    }
    return Instance;
}

void ConfigIni::ResetForTest(const QString& path) {
    QMutexLocker lock(&ConfigMutex);
    if (Instance) Retired().emplace_back(Instance);
    Instance = nullptr;
    TestPath = path;
}

ConfigIni::ConfigIni(const QString& path) : Path(path) {
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF8");
    GroupNames = settings.childGroups();
    const QStringList keys = settings.allKeys();
    for (const QString& fullKey : keys) {
        const QVariant raw = settings.value(fullKey);
        QString text = raw.toString();
        QStringList list = raw.toStringList();
        if (IsBase64Key(fullKey.section('/', -1))) {
            text = DecodeBase64(text);
            for (QString& item : list) item = DecodeBase64(item);
        }
        Values.insert(fullKey, text);
        Lists.insert(fullKey, list);
    }
}

QString ConfigIni::GetValue(const QString& group, const QString& key) const {
    return Values.value(group + "/" + key);
}

QStringList ConfigIni::GetStringList(const QString& group, const QString& key) const {
    return Lists.value(group + "/" + key);
}

QString ConfigIni::DecodeBase64(const QString& text) {
    QString decoded = QString::fromUtf8(QByteArray::fromBase64(text.toUtf8()));
    decoded.remove('\n');
    decoded.remove(' ');
    return decoded;
}

bool ConfigIni::IsBase64Key(const QString& key) {
    static const QStringList base64Keys = {
        "MM",  "DM",      "D2M",          "D4M",           "D8M",           "Sensor",       "CID",
        "VID", "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"};
    return base64Keys.contains(key);
}
