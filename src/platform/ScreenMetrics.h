#pragma once
#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QtGlobal>
#include <functional>

// Stands in for the screen device context: desktop width in physical pixels and logical DPI of the
// primary screen. "VORLANT_DESKTOP_WIDTH" and "VORLANT_LOGICAL_DPI" (or SetOverrides) replace them.
namespace ScreenMetrics {

// Needs a Gui application object; 0 when there is no screen.
int DesktopWidth();

// Usable before the application object exists: the override if any, else, when the toolkit will run
// on X, the width read from the X server (its primary output), else through a short-lived
// QGuiApplication built from the same arguments and environment.
int DesktopWidthBeforeApp(int argc, char** argv);

// Whether the toolkit's application object will take the xcb platform, decided as it decides:
// XDG_SESSION_TYPE=wayland puts Wayland first, QT_QPA_PLATFORM replaces that, and -platform (or
// --platform) replaces both; the first platform of a ";" list is the one tried first. WAYLAND_DISPLAY
// alone leaves the toolkit on xcb. display is the X display the xcb platform connects to (-display or
// --display), empty for DISPLAY.
struct XcbChoice {
    bool xcb = false;
    QByteArray display;
};
XcbChoice ChoosePlatform(const QList<QByteArray>& arguments, const QProcessEnvironment& environment);

// Logical horizontal DPI of the primary screen; 96 when unknown.
int LogicalDpiX();

// 96 divided by the logical DPI: 1.0 at 96 DPI, 0.8 at 120 DPI.
qreal FontScaleFactor();

// Tests: values above 0 replace the screen's; 0 restores it.
void SetOverrides(int desktopWidth, int logicalDpi);

// A w x h picture of the desktop at x, y (QScreen::grabWindow of the primary screen). The position
// and size are the toolkit's device-independent ones, as QCursor::pos gives them: the screen scales
// them to its pixels itself. A null picture when there is no screen.
QPixmap GrabDesktop(int x, int y, int w, int h);
// Tests: replaces the grab; an empty function restores it.
using GrabFunction = std::function<QPixmap(int x, int y, int w, int h)>;
void SetGrabOverride(GrabFunction grab);

}  // namespace ScreenMetrics
