#include "Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Paths.h"

namespace {
const char* const kUserFolders[] = {"/Log",           "/Device_Info",           "/Exception",
                                    "/usersetting",   "/usersetting/MainPage", "/usersetting/MacroPage",
                                    "/usersetting/SensorPage"};
constexpr qint64 kDaySeconds = 86400;
constexpr qint64 kMaxAgeDays = 7;
}  // namespace

void PrepareUserFolders() {
    const QString root = Paths::UserDataDir();
    for (const char* folder : kUserFolders) {
        const QString path = root + QLatin1String(folder);
        if (!QDir(path).exists()) QDir().mkpath(path);
    }
    QFile macroIni(root + QStringLiteral("/Macro.ini"));
    if (!macroIni.exists() && macroIni.open(QIODevice::WriteOnly | QIODevice::Text)) macroIni.close();
}

QString ScaleFactorForWidth(int desktopWidth) {
    if (desktopWidth <= 1920) return QString();
    return QString::number(desktopWidth / 1920);
}

void DeleteOldFiles(const QString& folder, const QDateTime& now) {
    const qint64 nowSeconds = now.toSecsSinceEpoch();
    const QFileInfoList entries = QDir(folder).entryInfoList();
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) continue;
        // A negative age (a file dated in the future) is not old.
        const qint64 age = nowSeconds - entry.lastModified().toSecsSinceEpoch();
        if (age >= 0 && age / kDaySeconds > kMaxAgeDays) QFile::remove(entry.absoluteFilePath());
    }
}
