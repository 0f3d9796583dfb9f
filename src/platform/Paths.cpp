#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& InstallOverride() {
    static QString dir;
    return dir;
}
}  // namespace

namespace Paths {

QString InstallDir() {
    if (!InstallOverride().isEmpty()) return InstallOverride();
    const QString env = qEnvironmentVariable("VORLANT_INSTALL_DIR");
    if (!env.isEmpty()) return env;
    return QCoreApplication::applicationDirPath();
}

void SetInstallDir(const QString& dir) { InstallOverride() = dir; }

QString UserDataDir() { return QDir::homePath() + "/AppData/Local/" + kProductName; }

}  // namespace Paths
