#include "app/Startup.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QMessageBox>
#include <QPixmapCache>
#include <QTimer>

#include "app/DialogMain.h"
#include "dialogs/ExeIsRun.h"
#include "platform/DebugLog.h"
#include "platform/InstanceGuard.h"
#include "platform/Paths.h"
#include "platform/ScreenMetrics.h"

namespace {
const char* const kUserFolders[] = {"/Log",
                                    "/Device_Info",
                                    "/Exception",
                                    "/usersetting",
                                    "/usersetting/MainPage",
                                    "/usersetting/MacroPage",
                                    "/usersetting/SensorPage"};
constexpr qint64 kDaySeconds = 86400;
constexpr qint64 kMaxAgeDays = 7;
constexpr int kPictureCacheKb = 40 * 1024;
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

QString UnreadableInstallFolder(const QString& installDir) {
    if (installDir.isEmpty()) return QDir::currentPath();
    const QFileInfo install(installDir);
    if (!install.isDir() || !install.isReadable()) return installDir;
    const QDir dir(install.absoluteFilePath());
    const QString language = dir.filePath(QStringLiteral("Language"));
    for (const char* name : {"en.json", "cs.json"}) {
        QFile file(language + '/' + QLatin1String(name));
        QJsonParseError error{};
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) ||
            !QJsonDocument::fromJson(file.readAll(), &error).isObject())
            return language;
    }
    const QString picture = dir.filePath(QStringLiteral("Picture"));
    const QFileInfo pictureInfo(picture);
    if (!pictureInfo.isDir() || !pictureInfo.isReadable() ||
        QDir(picture).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        return picture;
    return QString();
}

namespace {
// Tests set "VORLANT_NOTICE_AUTOCLOSE_MS" to have the already-running notice (or the message box of a
// broken installation) report its text and close itself after that many milliseconds, as a click on OK
// would.
void ArmNoticeAutoClose(QDialog* notice) {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VORLANT_NOTICE_AUTOCLOSE_MS", &ok);
    if (!ok || ms < 0) return;
    QTimer::singleShot(ms, notice, [notice] {
        const QLabel* label = notice->findChild<QLabel*>(QStringLiteral("label"));
        if (!label) label = notice->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        qInfo().noquote() << "notice shown:" << notice->isVisible() << (label ? label->text() : QString());
        notice->accept();
    });
}

void ShowPlainMessageBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(Paths::kProductName), text, QMessageBox::Ok);
    ArmNoticeAutoClose(&box);
    box.exec();
}

MessageBoxShower Shower = nullptr;
}  // namespace

void SetMessageBoxShower(MessageBoxShower shower) {
    Shower = shower;
}

int CheckInstallation() {
    const QString folder = UnreadableInstallFolder(Paths::InstallDir());
    if (folder.isEmpty()) return 0;
    // The language files may be what is missing: the text is plain English.
    const QString text = QStringLiteral(
                             "%1 cannot start: its language files or pictures could not be read "
                             "from the folder\n%2\nPlease reinstall the program.")
                             .arg(QString::fromUtf8(Paths::kProductName), QDir::toNativeSeparators(folder));
    qWarning().noquote() << text;
    (Shower ? Shower : ShowPlainMessageBox)(text);
    return 1;
}

int RunApplication(int argc, char** argv) {
    PrepareUserFolders();

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, false);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
    const QString scale = ScaleFactorForWidth(ScreenMetrics::DesktopWidthBeforeApp(argc, argv));
    if (!scale.isEmpty()) qputenv("QT_SCALE_FACTOR", scale.toLatin1());

    const QString userData = Paths::UserDataDir();
    DeleteOldFiles(userData + QStringLiteral("/Log"));
    DeleteOldFiles(userData + QStringLiteral("/Exception"));

    QApplication app(argc, argv);
    if (const int status = CheckInstallation()) return status;
    const qreal fontScale = ScreenMetrics::FontScaleFactor();

    // Held until the process ends, so a later start sees it.
    static InstanceGuard guard(QString::fromUtf8(Paths::kProductName));
    if (guard.AnotherInstanceRuns()) {
        qCDebug(VzDebug) << "another instance is running";
        ExeIsRun notice(nullptr);
        ArmNoticeAutoClose(&notice);
        notice.exec();
        return 0;
    }

    // The style sheets name about 130 pictures, several of them window-sized: with Qt's default cache
    // of 10 MB the later ones push the first ones out, and the next sheet naming them decodes them again.
    QPixmapCache::setCacheLimit(qMax(QPixmapCache::cacheLimit(), kPictureCacheKb));

    // Lives until the process ends, like the event loop it serves.
    auto* window = new DialogMain(nullptr);
    window->ScaleFonts(fontScale);
    window->show();
    return app.exec();
}
