#include "platform/KeyCapture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QVector>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace KeyCapture {
namespace {

struct Hook {
    quintptr handle;
    HookProc proc;
};

QVector<Hook>& Hooks() {
    static QVector<Hook> hooks;
    return hooks;
}

quintptr g_nextHandle = 1;
std::function<bool()> g_foregroundTest;

// Sees every key event of the program. One key event passes the application filters once per
// receiver on its way (the window, then the focus widget and the parents it propagates to); only
// the first sighting is reported.
class KeyCaptureFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool continuation = IsContinuation(receiver, key);
        lastEvent_ = key;
        lastType_ = type;
        lastKey_ = key->key();
        lastReceiver_ = receiver;
        if (continuation) return false;
        // A press first comes as a shortcut override; when a shortcut takes the key, no KeyPress
        // follows. Report the press at the override and not again at its KeyPress.
        if (type == QEvent::ShortcutOverride) {
            pendingPress_ = key->key();
        } else if (type == QEvent::KeyPress) {
            const bool reported = pendingPress_ == key->key();
            pendingPress_ = Qt::Key_unknown;
            if (reported) return false;
        } else {
            pendingPress_ = Qt::Key_unknown;
            // X11 repeats a held key as release + press pairs; Windows sends only the presses.
            if (key->isAutoRepeat()) return false;
        }
        Inject(VirtualKeyOf(*key), MessageOf(*key));
        return false;
    }

private:
    bool IsContinuation(QObject* receiver, const QKeyEvent* key) const {
        if (key != lastEvent_ || key->type() != lastType_ || key->key() != lastKey_ || !lastReceiver_)
            return false;
        if (!receiver->isWidgetType()) return false;
        if (qobject_cast<QWindow*>(lastReceiver_.data())) return true;  // from the window to its focus widget
        return lastReceiver_->isWidgetType() &&
               static_cast<QWidget*>(lastReceiver_.data())->parentWidget() == receiver;
    }

    const QEvent* lastEvent_ = nullptr;
    QEvent::Type lastType_ = QEvent::None;
    int lastKey_ = 0;
    QPointer<QObject> lastReceiver_;
    int pendingPress_ = Qt::Key_unknown;  // key of a reported override whose KeyPress may follow
};

void EnsureFilter() {
    static QPointer<KeyCaptureFilter> filter;
    if (filter || !QCoreApplication::instance()) return;
    filter = new KeyCaptureFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

bool IsNativeKeyboardPlatform() {
    const QString platform = QGuiApplication::platformName();
    return platform == "xcb" || platform.startsWith("wayland");
}

// Virtual key of a key position on the X keyboard (evdev code + 8), for the number row, the
// punctuation keys and the letters, so that other layouts report the keys as Windows does.
quint32 VirtualKeyOfPosition(quint32 scanCode) {
    static const struct {
        quint8 scan;
        quint8 vk;
    } table[] = {
        {10, 0x31}, {11, 0x32}, {12, 0x33}, {13, 0x34}, {14, 0x35}, {15, 0x36}, {16, 0x37}, {17, 0x38},
        {18, 0x39}, {19, 0x30}, {20, 0xBD}, {21, 0xBB}, {34, 0xDB}, {35, 0xDD}, {51, 0xDC}, {47, 0xBA},
        {48, 0xDE}, {49, 0xC0}, {59, 0xBC}, {60, 0xBE}, {61, 0xBF}, {94, 0xE2}, {24, 'Q'},  {25, 'W'},
        {26, 'E'},  {27, 'R'},  {28, 'T'},  {29, 'Y'},  {30, 'U'},  {31, 'I'},  {32, 'O'},  {33, 'P'},
        {38, 'A'},  {39, 'S'},  {40, 'D'},  {41, 'F'},  {42, 'G'},  {43, 'H'},  {44, 'J'},  {45, 'K'},
        {46, 'L'},  {52, 'Z'},  {53, 'X'},  {54, 'C'},  {55, 'V'},  {56, 'B'},  {57, 'N'},  {58, 'M'},
    };
    for (const auto& row : table)
        if (row.scan == scanCode) return row.vk;
    return 0;
}

// Whether a modifier key event comes from the right-hand key (X keysym, else X key code).
bool IsRightHand(const QKeyEvent& event) {
    switch (event.nativeVirtualKey()) {
        case 0xFFE2:  // Shift_R
        case 0xFFE4:  // Control_R
        case 0xFFE8:  // Meta_R
        case 0xFFEA:  // Alt_R
        case 0xFFEC:  // Super_R
            return true;
        case 0:
            break;
        default:
            return false;
    }
    if (!IsNativeKeyboardPlatform()) return false;
    const quint32 scan = event.nativeScanCode();
    return scan == 62 || scan == 105 || scan == 108 || scan == 134;
}

quint32 KeypadVirtualKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Slash:
            return 0x6F;
        case Qt::Key_Asterisk:
            return 0x6A;
        case Qt::Key_Minus:
            return 0x6D;
        case Qt::Key_Plus:
            return 0x6B;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return 0x6E;
        case Qt::Key_Enter:
        case Qt::Key_Return:
            return 0x0D;
        case Qt::Key_Clear:
            return 0x0C;
        default:
            return 0;  // Num Lock off: the navigation keys, as on the main block
    }
}

quint32 KeyVirtualKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x30 + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    static const struct {
        int key;
        quint8 vk;
    } table[] = {
        {Qt::Key_Backspace, 0x08},
        {Qt::Key_Tab, 0x09},
        {Qt::Key_Backtab, 0x09},
        {Qt::Key_Clear, 0x0C},
        {Qt::Key_Return, 0x0D},
        {Qt::Key_Enter, 0x0D},
        {Qt::Key_Pause, 0x13},
        {Qt::Key_CapsLock, 0x14},
        {Qt::Key_Escape, 0x1B},
        {Qt::Key_Space, 0x20},
        {Qt::Key_PageUp, 0x21},
        {Qt::Key_PageDown, 0x22},
        {Qt::Key_End, 0x23},
        {Qt::Key_Home, 0x24},
        {Qt::Key_Left, 0x25},
        {Qt::Key_Up, 0x26},
        {Qt::Key_Right, 0x27},
        {Qt::Key_Down, 0x28},
        {Qt::Key_Print, 0x2C},
        {Qt::Key_SysReq, 0x2C},
        {Qt::Key_Insert, 0x2D},
        {Qt::Key_Delete, 0x2E},
        {Qt::Key_Help, 0x2F},
        {Qt::Key_Super_L, 0x5B},
        {Qt::Key_Super_R, 0x5C},
        {Qt::Key_Menu, 0x5D},
        {Qt::Key_Sleep, 0x5F},
        {Qt::Key_NumLock, 0x90},
        {Qt::Key_ScrollLock, 0x91},
        {Qt::Key_Back, 0xA6},
        {Qt::Key_Forward, 0xA7},
        {Qt::Key_Refresh, 0xA8},
        {Qt::Key_Stop, 0xA9},
        {Qt::Key_Search, 0xAA},
        {Qt::Key_Favorites, 0xAB},
        {Qt::Key_HomePage, 0xAC},
        {Qt::Key_VolumeMute, 0xAD},
        {Qt::Key_VolumeDown, 0xAE},
        {Qt::Key_VolumeUp, 0xAF},
        {Qt::Key_MediaNext, 0xB0},
        {Qt::Key_MediaPrevious, 0xB1},
        {Qt::Key_MediaStop, 0xB2},
        {Qt::Key_MediaPlay, 0xB3},
        {Qt::Key_MediaPause, 0xB3},
        {Qt::Key_MediaTogglePlayPause, 0xB3},
        {Qt::Key_LaunchMail, 0xB4},
        {Qt::Key_LaunchMedia, 0xB5},
        {Qt::Key_Launch0, 0xB6},
        {Qt::Key_Launch1, 0xB7},
        {Qt::Key_Calculator, 0xB7},
        // Punctuation, unshifted and shifted as on the US layout.
        {Qt::Key_Semicolon, 0xBA},
        {Qt::Key_Colon, 0xBA},
        {Qt::Key_Equal, 0xBB},
        {Qt::Key_Plus, 0xBB},
        {Qt::Key_Comma, 0xBC},
        {Qt::Key_Less, 0xBC},
        {Qt::Key_Minus, 0xBD},
        {Qt::Key_Underscore, 0xBD},
        {Qt::Key_Period, 0xBE},
        {Qt::Key_Greater, 0xBE},
        {Qt::Key_Slash, 0xBF},
        {Qt::Key_Question, 0xBF},
        {Qt::Key_QuoteLeft, 0xC0},
        {Qt::Key_AsciiTilde, 0xC0},
        {Qt::Key_BracketLeft, 0xDB},
        {Qt::Key_BraceLeft, 0xDB},
        {Qt::Key_Backslash, 0xDC},
        {Qt::Key_Bar, 0xDC},
        {Qt::Key_BracketRight, 0xDD},
        {Qt::Key_BraceRight, 0xDD},
        {Qt::Key_Apostrophe, 0xDE},
        {Qt::Key_QuoteDbl, 0xDE},
        {Qt::Key_Exclam, '1'},
        {Qt::Key_At, '2'},
        {Qt::Key_NumberSign, '3'},
        {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'},
        {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'},
        {Qt::Key_ParenLeft, '9'},
        {Qt::Key_ParenRight, '0'},
    };
    for (const auto& row : table)
        if (row.key == key) return row.vk;
    if (key == Qt::Key_Asterisk) return '8';
    return 0;
}

}  // namespace

quintptr SetHook(HookProc proc) {
    EnsureFilter();
    const quintptr handle = g_nextHandle++;
    Hooks().append({handle, proc});
    return handle;
}

bool Unhook(quintptr handle) {
    QVector<Hook>& hooks = Hooks();
    for (int i = 0; i < hooks.size(); ++i) {
        if (hooks[i].handle == handle) {
            hooks.remove(i);
            return true;
        }
    }
    return false;
}

int HookCount() {
    return Hooks().size();
}

bool IsForeground() {
    if (g_foregroundTest) return g_foregroundTest();
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return false;
    // A widget program is in front while one of its windows is the active window.
    if (qobject_cast<const QApplication*>(app)) return QApplication::activeWindow() != nullptr;
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void SetForegroundTest(std::function<bool()> test) {
    g_foregroundTest = std::move(test);
}

void Inject(quint32 virtualKey, quint32 message) {
    // A procedure may remove hooks (its own or others) or open a modal dialog while it runs.
    const QVector<Hook> hooks = Hooks();
    for (int i = hooks.size() - 1; i >= 0; --i) {
        const bool stillInstalled = std::any_of(Hooks().cbegin(), Hooks().cend(), [&](const Hook& hook) {
            return hook.handle == hooks[i].handle;
        });
        if (stillInstalled) hooks[i].proc(ActionCode, message, virtualKey);
    }
}

quint32 VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool right = IsRightHand(event);
    switch (key) {
        case Qt::Key_Shift:
            return right ? 0xA1 : 0xA0;
        case Qt::Key_Control:
            return right ? 0xA3 : 0xA2;
        case Qt::Key_Alt:
            return right ? 0xA5 : 0xA4;
        case Qt::Key_AltGr:
            return 0xA5;
        case Qt::Key_Meta:
            return right ? 0x5C : 0x5B;
        default:
            break;
    }
    if (event.modifiers() & Qt::KeypadModifier) {
        if (const quint32 vk = KeypadVirtualKey(key)) return vk;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (IsNativeKeyboardPlatform()) {
        if (const quint32 vk = VirtualKeyOfPosition(event.nativeScanCode())) return vk;
    }
    if (const quint32 vk = KeyVirtualKey(key)) return vk;
    return UnknownVirtualKey;
}

quint32 MessageOf(const QKeyEvent& event) {
    const bool press = event.type() != QEvent::KeyRelease;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    bool system = false;
    if (!(modifiers & Qt::ControlModifier) && !(modifiers & Qt::GroupSwitchModifier)) {
        if (event.key() == Qt::Key_Alt)
            system = press;  // releasing Alt itself is an ordinary key-up
        else
            system = (modifiers & Qt::AltModifier) || event.key() == Qt::Key_F10;
    }
    if (press) return system ? SysKeyDown : KeyDown;
    return system ? SysKeyUp : KeyUp;
}

}  // namespace KeyCapture
