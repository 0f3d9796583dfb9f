#include "platform/ScreenMetrics.h"

#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <vector>

#ifdef VZ_HAVE_XCB
#include <xcb/randr.h>
#include <xcb/xcb.h>
#endif

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

#ifdef VZ_HAVE_XCB
// An xcb reply, freed with free() as xcb asks.
struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The width of the CRTC of the primary output, else of the first CRTC that shows something, as Qt's
// primary screen; 0 without RandR.
int RandrPrimaryWidth(xcb_connection_t* c, xcb_window_t root) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_randr_id);
    if (!ext || !ext->present) return 0;
    Reply<xcb_randr_query_version_reply_t> version{
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 3), nullptr)};
    if (!version || (version->major_version == 1 && version->minor_version < 3)) return 0;
    const auto crtcWidth = [c](xcb_randr_crtc_t crtc) {
        if (crtc == XCB_NONE) return 0;
        Reply<xcb_randr_get_crtc_info_reply_t> info{
            xcb_randr_get_crtc_info_reply(c, xcb_randr_get_crtc_info(c, crtc, XCB_CURRENT_TIME), nullptr)};
        return info ? int(info->width) : 0;
    };
    Reply<xcb_randr_get_output_primary_reply_t> primary{
        xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, root), nullptr)};
    if (primary && primary->output != XCB_NONE) {
        Reply<xcb_randr_get_output_info_reply_t> output{xcb_randr_get_output_info_reply(
            c, xcb_randr_get_output_info(c, primary->output, XCB_CURRENT_TIME), nullptr)};
        if (output)
            if (const int width = crtcWidth(output->crtc)) return width;
    }
    Reply<xcb_randr_get_screen_resources_current_reply_t> resources{xcb_randr_get_screen_resources_current_reply(
        c, xcb_randr_get_screen_resources_current(c, root), nullptr)};
    if (!resources) return 0;
    const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_crtcs_length(resources.get());
    for (int i = 0; i < count; ++i)
        if (const int width = crtcWidth(crtcs[i])) return width;
    return 0;
}
#endif

// The primary screen's width read from the X server directly, as the xcb platform would see it; 0 when
// the program will not run on X or the server cannot be reached.
int XcbDesktopWidth(int argc, char** argv) {
#ifdef VZ_HAVE_XCB
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i) arguments << QByteArray(argv[i]);
    const ScreenMetrics::XcbChoice choice =
        ScreenMetrics::ChoosePlatform(arguments, QProcessEnvironment::systemEnvironment());
    if (!choice.xcb) return 0;
    const char* display = choice.display.isEmpty() ? nullptr : choice.display.constData();
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    int width = 0;
    if (!xcb_connection_has_error(c)) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
        if (it.rem) {
            width = RandrPrimaryWidth(c, it.data->root);
            if (width <= 0) width = it.data->width_in_pixels;
        }
    }
    xcb_disconnect(c);
    return width;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return 0;
#endif
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

XcbChoice ChoosePlatform(const QList<QByteArray>& arguments, const QProcessEnvironment& environment) {
    // Debian's toolkit is built with xcb as its default platform.
    QByteArray platform = "xcb";
    if (environment.value("XDG_SESSION_TYPE") == "wayland") platform = "wayland;xcb";
    const QByteArray asked = environment.value("QT_QPA_PLATFORM").toLocal8Bit();
    if (!asked.isEmpty()) platform = asked;
    XcbChoice choice;
    for (int i = 1; i < arguments.size(); ++i) {
        QByteArray option = arguments[i];
        if (option.startsWith("--")) option.remove(0, 1);
        if (i + 1 >= arguments.size()) break;
        if (option == "-platform")
            platform = arguments[++i];
        else if (option == "-display")
            choice.display = arguments[++i];
    }
    // "name:options;next": the first name is tried first; Wayland may well load where it is asked for.
    const QByteArray first = platform.split(';').first().split(':').first().trimmed().toLower();
    choice.xcb = first == "xcb";
    return choice;
}

int DesktopWidthBeforeApp(int argc, char** argv) {
    if (const int set = WidthOverride()) return set;
    if (QGuiApplication::instance()) return DesktopWidth();
    if (const int width = XcbDesktopWidth(argc, argv)) return width;
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
