#include "platform/ScreenMetrics.h"

#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <atomic>
#include <vector>

namespace {
std::atomic<int> g_widthOverride{0};
std::atomic<int> g_dpiOverride{0};
QMutex g_grabMutex;
ScreenMetrics::GrabFunction g_grabOverride;

int EnvInt(const char* name) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}

int WidthOverride() {
    const int set = g_widthOverride.load();
    return set > 0 ? set : EnvInt("VORLANT_DESKTOP_WIDTH");
}
}  // namespace

namespace ScreenMetrics {

int DesktopWidth() {
    if (const int set = WidthOverride()) return set;
    if (!QGuiApplication::instance()) return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 0;
    return qRound(screen->geometry().width() * screen->devicePixelRatio());
}

int DesktopWidthBeforeApp(int argc, char** argv) {
    if (const int set = WidthOverride()) return set;
    if (QGuiApplication::instance()) return DesktopWidth();
    // The probe gets its own copy of the arguments: the application object may rearrange them.
    std::vector<char*> args(argv, argv + argc);
    args.push_back(nullptr);
    int count = argc;
    QGuiApplication probe(count, args.data());
    return DesktopWidth();
}

int LogicalDpiX() {
    const int set = g_dpiOverride.load();
    if (set > 0) return set;
    if (const int env = EnvInt("VORLANT_LOGICAL_DPI")) return env;
    if (QGuiApplication::instance()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int dpi = qRound(screen->logicalDotsPerInchX());
            if (dpi > 0) return dpi;
        }
    }
    return 96;
}

qreal FontScaleFactor() {
    return 96.0 / LogicalDpiX();
}

void SetOverrides(int desktopWidth, int logicalDpi) {
    g_widthOverride.store(qMax(0, desktopWidth));
    g_dpiOverride.store(qMax(0, logicalDpi));
}

QPixmap GrabDesktop(int x, int y, int w, int h) {
    GrabFunction grab;
    {
        QMutexLocker lock(&g_grabMutex);
        grab = g_grabOverride;
    }
    if (grab) return grab(x, y, w, h);
    if (!QGuiApplication::instance()) return QPixmap();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return QPixmap();
    return screen->grabWindow(0, x, y, w, h);
}

void SetGrabOverride(GrabFunction grab) {
    QMutexLocker lock(&g_grabMutex);
    g_grabOverride = std::move(grab);
}

}  // namespace ScreenMetrics
