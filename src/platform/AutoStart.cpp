#include "platform/AutoStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/WholeFile.h"

namespace {
QString& FolderOverride() {
    static QString folder;
    return folder;
}

QString Folder() {
    if (!FolderOverride().isEmpty()) return FolderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart";
}
}  // namespace

namespace AutoStart {

QString EntryPath(const QString& appName) {
    return Folder() + "/" + appName + ".desktop";
}

QString ExecLine(const QString& executable) {
    QString quoted;
    for (const QChar c : executable) {
        if (c == '\\' || c == '"' || c == '`' || c == '$') quoted += '\\';
        quoted += c;
    }
    return "\"" + quoted + "\"";
}

bool Enable(const QString& appName, const QString& executable) {
    if (!QDir().mkpath(Folder())) return false;
    const QString text = "[Desktop Entry]\nType=Application\nName=" + appName +
                         "\nExec=" + ExecLine(executable) + "\nX-GNOME-Autostart-enabled=true\n";
    return WholeFile::Write(EntryPath(appName), text.toUtf8(), QIODevice::Text);
}

bool Disable(const QString& appName) {
    const QString path = EntryPath(appName);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return true;
    return QFile::remove(path);
}

bool IsEnabled(const QString& appName) {
    QFile file(EntryPath(appName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    return !QString::fromUtf8(file.readAll()).contains(QLatin1String("\nHidden=true"));
}

void SetFolder(const QString& folder) {
    FolderOverride() = folder;
}

}  // namespace AutoStart
