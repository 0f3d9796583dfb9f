#include "platform/DesktopLinks.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {
DesktopLinks::UrlOpener& Opener() {
    static DesktopLinks::UrlOpener opener;
    return opener;
}
DesktopLinks::ProgramStarter& Starter() {
    static DesktopLinks::ProgramStarter starter;
    return starter;
}

struct MouseTool {
    const char* Program;
    QStringList Arguments;
};

bool Start(const QString& program, const QStringList& arguments) {
    if (Starter()) return Starter()(program, arguments);
    const QString found = QStandardPaths::findExecutable(program);
    return !found.isEmpty() && QProcess::startDetached(found, arguments);
}
}  // namespace

namespace DesktopLinks {

QUrl WebAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return QUrl();
    QUrl url = QUrl::fromUserInput(trimmed);
    // fromUserInput takes "mailto:", "file:" and the like as they are; only the web schemes open.
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty()) return QUrl();
    return url;
}

bool OpenWebAddress(const QString& text) {
    const QUrl url = WebAddress(text);
    if (url.isEmpty()) return false;
    return Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
}

bool OpenMouseSettings() {
    const MouseTool tools[] = {
        {"gnome-control-center", {"mouse"}}, {"kcmshell5", {"kcm_mouse"}}, {"systemsettings", {"kcm_mouse"}},
        {"xfce4-mouse-settings", {}},        {"lxqt-config-input", {}},    {"mate-mouse-properties", {}},
        {"cinnamon-settings", {"mouse"}},
    };
    for (const MouseTool& tool : tools) {
        if (Start(QString::fromLatin1(tool.Program), tool.Arguments)) return true;
    }
    return false;
}

void SetUrlOpener(UrlOpener opener) {
    Opener() = std::move(opener);
}
void SetProgramStarter(ProgramStarter starter) {
    Starter() = std::move(starter);
}

}  // namespace DesktopLinks
