#pragma once
#include <QtGlobal>

// Stands in for the screen device context: desktop width in physical pixels and logical DPI of the
// primary screen. "VORLANT_DESKTOP_WIDTH" and "VORLANT_LOGICAL_DPI" (or SetOverrides) replace them.
namespace ScreenMetrics {

// Needs a Gui application object; 0 when there is no screen.
int DesktopWidth();

// Usable before the application object exists: the override if any, else the width read through a
// short-lived QGuiApplication built from the same arguments.
int DesktopWidthBeforeApp(int argc, char** argv);

// Logical horizontal DPI of the primary screen; 96 when unknown.
int LogicalDpiX();

// 96 divided by the logical DPI: 1.0 at 96 DPI, 0.8 at 120 DPI.
qreal FontScaleFactor();

// Tests: values above 0 replace the screen's; 0 restores it.
void SetOverrides(int desktopWidth, int logicalDpi);

}  // namespace ScreenMetrics
