#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Stand-ins for opening things outside the program: a web address in the browser and the desktop's
// mouse settings tool. Tests replace the openers.
namespace DesktopLinks {

// The address a link text names, or an empty URL: only http and https are accepted; a text without a
// scheme ("www.x.com") is read as http.
QUrl WebAddress(const QString& text);
// Opens WebAddress(text); false when the text names no web address or the opener fails.
bool OpenWebAddress(const QString& text);
// Starts the first installed mouse settings tool of the desktop; false when there is none.
bool OpenMouseSettings();

using UrlOpener = std::function<bool(const QUrl&)>;
// (program, arguments) -> started.
using ProgramStarter = std::function<bool(const QString&, const QStringList&)>;
// Tests: empty functions restore QDesktopServices and QProcess::startDetached.
void SetUrlOpener(UrlOpener opener);
void SetProgramStarter(ProgramStarter starter);

}  // namespace DesktopLinks
