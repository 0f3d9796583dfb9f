#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include "keys/KeyHook.h"
#include "platform/KeyCapture.h"

namespace {

struct Report {
    int key;
    bool down;
    bool repeat;
    bool operator==(const Report& other) const {
        return key == other.key && down == other.down && repeat == other.repeat;
    }
};

using Reports = QVector<Report>;

char* toString(const Reports& reports) {
    QStringList parts;
    for (const Report& r : reports)
        parts << QString("(0x%1, %2, %3)").arg(r.key, 0, 16).arg(r.down).arg(r.repeat);
    return QTest::toString(parts.join(' '));
}

// The holder classes behind one interface, so one table drives all three.
struct HolderOps {
    std::function<void()> setHook;
    std::function<void()> unhook;
    std::function<KeyHookCallback&()> callback;
    std::function<KeyHookState&()> state;
};

template <class Holder>
HolderOps OpsOf() {
    auto holder = std::make_shared<Holder>();
    return {[holder] { holder->SetHook(); }, [holder] { holder->Unhook(); },
            []() -> KeyHookCallback& { return Holder::Callback(); },
            []() -> KeyHookState& { return Holder::State(); }};
}

HolderOps HolderByName(const QString& name) {
    if (name == "macro") return OpsOf<MacroKeyHook>();
    if (name == "addKey") return OpsOf<AddKeyHook>();
    return OpsOf<GroupKeyHook>();
}

void ResetState(KeyHookState& state) {
    state.lastKey = 0;
    state.down = false;
    state.repeat = false;
}

constexpr quint32 VK_A = 0x41, VK_B = 0x42, VK_X = 0x58, VK_LALT = 0xA4;

}  // namespace

Q_DECLARE_METATYPE(Reports)

class TestKeyHook : public QObject {
    Q_OBJECT

private slots:
    void init() {
        KeyCapture::SetForegroundTest([] { return true; });
    }
    void cleanup() {
        MacroKeyHook().Unhook();
        AddKeyHook().Unhook();
        GroupKeyHook().Unhook();
        KeyCapture::SetForegroundTest(nullptr);
        QCOMPARE(KeyCapture::HookCount(), 0);
    }

    void sequences_data();
    void sequences();
    void foreignKeysAreNotReported();
    void unhookTwiceIsHarmless();
    void secondSetHookKeepsOneHook();
    void holdersKeepSeparateState();
    void callbackMayUnhook();
    void notInstalledReportsNothing();

    void virtualKeyOfEvent_data();
    void virtualKeyOfEvent();
    void messageOfEvent_data();
    void messageOfEvent();

    void realKeyPressReachesHolder();
    void windowKeyEventReportedOnce();
    void autoRepeatReleaseDropped();
    void shortcutKeysReported();
    void inactiveProgramReportsNothing();
};

void TestKeyHook::sequences_data() {
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QVector<quint32>>("events");  // pairs: virtual key, message
    QTest::addColumn<Reports>("reports");
    using KeyCapture::KeyDown;
    using KeyCapture::KeyUp;
    using KeyCapture::SysKeyDown;
    using KeyCapture::SysKeyUp;
    for (const QString holder : {"macro", "addKey", "group"}) {
        QTest::addRow("%s press release", qPrintable(holder))
            << holder << QVector<quint32>{VK_A, KeyDown, VK_A, KeyUp}
            << Reports{{0x41, true, false}, {0x41, false, false}};
        QTest::addRow("%s held", qPrintable(holder))
            << holder << QVector<quint32>{VK_A, KeyDown, VK_A, KeyDown, VK_A, KeyDown, VK_A, KeyUp}
            << Reports{{0x41, true, false}, {0x41, true, true}, {0x41, true, true}, {0x41, false, false}};
        QTest::addRow("%s overlapping", qPrintable(holder))
            << holder << QVector<quint32>{VK_A, KeyDown, VK_B, KeyDown, VK_A, KeyUp}
            << Reports{{0x41, true, false}, {0x42, true, false}, {0x41, false, false}};
    }
    // Alt+X: the dialog holders keep the down flag of the previous event; the macro holder
    // sees proper presses and releases.
    const QVector<quint32> altX{VK_LALT, SysKeyDown, VK_X, SysKeyDown, VK_X, SysKeyUp, VK_LALT, KeyUp};
    QTest::newRow("macro alt+x") << "macro" << altX
                                 << Reports{{0xA4, true, false},
                                            {0x58, true, false},
                                            {0x58, false, true},
                                            {0xA4, false, false}};
    for (const QString holder : {"addKey", "group"})
        QTest::addRow("%s alt+x", qPrintable(holder))
            << holder << altX
            << Reports{{0xA4, false, false}, {0x58, false, false}, {0x58, false, true}, {0xA4, false, false}};
    QTest::newRow("group F10 after a press keeps down")
        << "group" << QVector<quint32>{VK_A, KeyDown, 0x79, SysKeyDown}
        << Reports{{0x41, true, false}, {0x79, true, false}};
}

void TestKeyHook::sequences() {
    QFETCH(QString, holder);
    QFETCH(QVector<quint32>, events);
    QFETCH(Reports, reports);
    HolderOps ops = HolderByName(holder);
    ResetState(ops.state());
    ops.setHook();
    Reports seen;
    ops.callback() = [&seen](int key, bool down, bool repeat) { seen.append({key, down, repeat}); };
    for (int i = 0; i + 1 < events.size(); i += 2) KeyCapture::Inject(events[i], events[i + 1]);
    QCOMPARE(seen, reports);
    ops.unhook();
}

void TestKeyHook::foreignKeysAreNotReported() {
    GroupKeyHook hook;
    ResetState(GroupKeyHook::State());
    hook.SetHook();
    int calls = 0;
    GroupKeyHook::Callback() = [&calls](int, bool, bool) { ++calls; };
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    QCOMPARE(calls, 1);
    KeyCapture::SetForegroundTest([] { return false; });
    KeyCapture::Inject(VK_B, KeyCapture::KeyDown);
    KeyCapture::Inject(VK_B, KeyCapture::KeyUp);
    QCOMPARE(calls, 1);
    QCOMPARE(GroupKeyHook::State().lastKey, VK_A);
    QVERIFY(GroupKeyHook::State().down);
}

void TestKeyHook::unhookTwiceIsHarmless() {
    AddKeyHook hook;
    hook.Unhook();
    QCOMPARE(KeyCapture::HookCount(), 0);
    hook.SetHook();
    QVERIFY(AddKeyHook::IsInstalled());
    hook.Unhook();
    hook.Unhook();
    QVERIFY(!AddKeyHook::IsInstalled());
    QCOMPARE(KeyCapture::HookCount(), 0);
}

// A second SetHook of a class must not leave an earlier hook behind for good.
void TestKeyHook::secondSetHookKeepsOneHook() {
    AddKeyHook first;
    AddKeyHook second;
    first.SetHook();
    second.SetHook();
    QCOMPARE(KeyCapture::HookCount(), 1);
    int calls = 0;
    AddKeyHook::Callback() = [&calls](int, bool, bool) { ++calls; };
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    QCOMPARE(calls, 1);
    second.Unhook();
    QCOMPARE(KeyCapture::HookCount(), 0);
}

void TestKeyHook::holdersKeepSeparateState() {
    ResetState(AddKeyHook::State());
    ResetState(GroupKeyHook::State());
    AddKeyHook addHook;
    GroupKeyHook groupHook;
    addHook.SetHook();
    groupHook.SetHook();
    Reports addSeen, groupSeen;
    AddKeyHook::Callback() = [&](int k, bool d, bool r) { addSeen.append({k, d, r}); };
    GroupKeyHook::Callback() = [&](int k, bool d, bool r) { groupSeen.append({k, d, r}); };
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    groupHook.Unhook();
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    QCOMPARE(groupSeen, (Reports{{0x41, true, false}}));
    QCOMPARE(addSeen, (Reports{{0x41, true, false}, {0x41, true, true}}));
    QCOMPARE(GroupKeyHook::State().lastKey, VK_A);
}

// The macro page removes its hook from inside its callback when the event limit is reached.
void TestKeyHook::callbackMayUnhook() {
    MacroKeyHook macroHook;
    AddKeyHook addHook;
    addHook.SetHook();
    macroHook.SetHook();
    int macroCalls = 0, addCalls = 0;
    MacroKeyHook::Callback() = [&](int, bool, bool) {
        ++macroCalls;
        macroHook.Unhook();
    };
    AddKeyHook::Callback() = [&](int, bool, bool) { ++addCalls; };
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    KeyCapture::Inject(VK_A, KeyCapture::KeyUp);
    QCOMPARE(macroCalls, 1);
    QCOMPARE(addCalls, 2);
}

void TestKeyHook::notInstalledReportsNothing() {
    int calls = 0;
    GroupKeyHook::Callback() = [&calls](int, bool, bool) { ++calls; };
    KeyCapture::Inject(VK_A, KeyCapture::KeyDown);
    QCOMPARE(calls, 0);
}

void TestKeyHook::virtualKeyOfEvent_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("nativeVirtualKey");
    QTest::addColumn<int>("vk");
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("A") << int(Qt::Key_A) << 0 << 0u << 0x41;
    QTest::newRow("shifted A") << int(Qt::Key_A) << int(Qt::ShiftModifier) << 0u << 0x41;
    QTest::newRow("7") << int(Qt::Key_7) << 0 << 0u << 0x37;
    QTest::newRow("shifted 1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 0u << 0x31;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 0u << 0x70;
    QTest::newRow("F12") << int(Qt::Key_F12) << 0 << 0u << 0x7B;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << 0u << 0x1B;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << 0u << 0x0D;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << 0u << 0x0D;
    QTest::newRow("Backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 0u << 0x09;
    QTest::newRow("Print") << int(Qt::Key_Print) << 0 << 0u << 0x2C;
    QTest::newRow("Menu") << int(Qt::Key_Menu) << 0 << 0u << 0x5D;
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << 0u << 0x25;
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << 0u << 0xBD;
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << keypad << 0u << 0x6D;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << keypad << 0u << 0x65;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << keypad << 0u << 0x60;
    QTest::newRow("keypad period") << int(Qt::Key_Period) << keypad << 0u << 0x6E;
    QTest::newRow("keypad 5 num lock off") << int(Qt::Key_Clear) << keypad << 0u << 0x0C;
    QTest::newRow("keypad 1 num lock off") << int(Qt::Key_End) << keypad << 0u << 0x23;
    QTest::newRow("left shift") << int(Qt::Key_Shift) << 0 << 0xFFE1u << 0xA0;
    QTest::newRow("right shift") << int(Qt::Key_Shift) << 0 << 0xFFE2u << 0xA1;
    QTest::newRow("shift, side unknown") << int(Qt::Key_Shift) << 0 << 0u << 0xA0;
    QTest::newRow("right ctrl") << int(Qt::Key_Control) << 0 << 0xFFE4u << 0xA3;
    QTest::newRow("left alt") << int(Qt::Key_Alt) << 0 << 0xFFE9u << 0xA4;
    QTest::newRow("right alt") << int(Qt::Key_Alt) << 0 << 0xFFEAu << 0xA5;
    QTest::newRow("AltGr") << int(Qt::Key_AltGr) << 0 << 0u << 0xA5;
    QTest::newRow("left super") << int(Qt::Key_Super_L) << 0 << 0u << 0x5B;
    QTest::newRow("right super") << int(Qt::Key_Super_R) << 0 << 0u << 0x5C;
    QTest::newRow("volume up") << int(Qt::Key_VolumeUp) << 0 << 0u << 0xAF;
    QTest::newRow("unknown") << int(Qt::Key_Eject) << 0 << 0u << 0xFF;
}

void TestKeyHook::virtualKeyOfEvent() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, nativeVirtualKey);
    QFETCH(int, vk);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), 0, nativeVirtualKey, 0);
    QCOMPARE(int(KeyCapture::VirtualKeyOf(event)), vk);
}

void TestKeyHook::messageOfEvent_data() {
    QTest::addColumn<bool>("press");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("message");
    const int alt = Qt::AltModifier;
    QTest::newRow("A down") << true << int(Qt::Key_A) << 0 << KeyCapture::KeyDown;
    QTest::newRow("A up") << false << int(Qt::Key_A) << 0 << KeyCapture::KeyUp;
    QTest::newRow("alt down") << true << int(Qt::Key_Alt) << 0 << KeyCapture::SysKeyDown;
    QTest::newRow("alt down, alt set") << true << int(Qt::Key_Alt) << alt << KeyCapture::SysKeyDown;
    QTest::newRow("alt up") << false << int(Qt::Key_Alt) << alt << KeyCapture::KeyUp;
    QTest::newRow("alt+X down") << true << int(Qt::Key_X) << alt << KeyCapture::SysKeyDown;
    QTest::newRow("alt+X up") << false << int(Qt::Key_X) << alt << KeyCapture::SysKeyUp;
    QTest::newRow("ctrl+alt+X") << true << int(Qt::Key_X) << int(alt | Qt::ControlModifier)
                                << KeyCapture::KeyDown;
    QTest::newRow("F10 down") << true << int(Qt::Key_F10) << 0 << KeyCapture::SysKeyDown;
    QTest::newRow("F10 up") << false << int(Qt::Key_F10) << 0 << KeyCapture::SysKeyUp;
    QTest::newRow("F4") << true << int(Qt::Key_F4) << 0 << KeyCapture::KeyDown;
}

void TestKeyHook::messageOfEvent() {
    QFETCH(bool, press);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, message);
    const QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key,
                          Qt::KeyboardModifiers(modifiers));
    QCOMPARE(KeyCapture::MessageOf(event), message);
}

// A key typed into a widget reaches the holder once per press and once per release, and still
// reaches the widget.
void TestKeyHook::realKeyPressReachesHolder() {
    KeyCapture::SetForegroundTest(nullptr);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    ResetState(AddKeyHook::State());
    ResetState(GroupKeyHook::State());
    AddKeyHook addHook;
    addHook.SetHook();
    Reports seen;
    AddKeyHook::Callback() = [&seen](int k, bool d, bool r) { seen.append({k, d, r}); };
    int groupCalls = 0;
    GroupKeyHook::Callback() = [&groupCalls](int, bool, bool) { ++groupCalls; };

    QTest::keyClick(edit, Qt::Key_A);
    // Esc propagates from the edit to its window: still one report each.
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(seen, (Reports{{0x41, true, false},
                            {0x41, false, false},
                            {0x1B, true, false},
                            {0x1B, false, false},
                            {0xA4, false, false},
                            {0x58, false, false},
                            {0x58, false, true},
                            {0xA4, false, false}}));
    QCOMPARE(edit->text(), QString("ax"));
    QCOMPARE(groupCalls, 0);
}

void TestKeyHook::windowKeyEventReportedOnce() {
    KeyCapture::SetForegroundTest(nullptr);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    GroupKeyHook hook;
    ResetState(GroupKeyHook::State());
    hook.SetHook();
    Reports seen;
    GroupKeyHook::Callback() = [&seen](int k, bool d, bool r) { seen.append({k, d, r}); };
    QTest::keyClick(window.windowHandle(), Qt::Key_B);
    QTest::keyClick(window.windowHandle(), Qt::Key_B);
    QCOMPARE(seen,
             (Reports{{0x42, true, false}, {0x42, false, false}, {0x42, true, false}, {0x42, false, false}}));
    QCOMPARE(edit->text(), QString("bb"));
}

// X11 repeats a held key as release + press pairs marked auto-repeat; only the presses count.
void TestKeyHook::autoRepeatReleaseDropped() {
    QWidget widget;
    MacroKeyHook hook;
    ResetState(MacroKeyHook::State());
    hook.SetHook();
    Reports seen;
    MacroKeyHook::Callback() = [&seen](int k, bool d, bool r) { seen.append({k, d, r}); };
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &repeatRelease);
    QApplication::sendEvent(&widget, &repeatPress);
    QApplication::sendEvent(&widget, &release);
    QCOMPARE(seen, (Reports{{0x41, true, false}, {0x41, true, true}, {0x41, false, false}}));
}

// A key that a shortcut takes never arrives as KeyPress; it is still reported once, as are keys
// that pass through the shortcut override to the widget.
void TestKeyHook::shortcutKeysReported() {
    KeyCapture::SetForegroundTest(nullptr);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    int shortcuts = 0;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F5), &window);
    connect(shortcut, &QShortcut::activated, [&shortcuts] { ++shortcuts; });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    AddKeyHook hook;
    ResetState(AddKeyHook::State());
    hook.SetHook();
    Reports seen;
    AddKeyHook::Callback() = [&seen](int k, bool d, bool r) { seen.append({k, d, r}); };
    QTest::keyClick(edit, Qt::Key_F5);
    QCOMPARE(shortcuts, 1);
    QTest::keyClick(window.windowHandle(), Qt::Key_F5);
    QCOMPARE(shortcuts, 2);
    QTest::keyClick(window.windowHandle(), Qt::Key_C);
    QTest::keyClick(edit, Qt::Key_D);
    QCOMPARE(seen, (Reports{{0x74, true, false},
                            {0x74, false, false},
                            {0x74, true, false},
                            {0x74, false, false},
                            {0x43, true, false},
                            {0x43, false, false},
                            {0x44, true, false},
                            {0x44, false, false}}));
    QCOMPARE(edit->text(), QString("cd"));
}

void TestKeyHook::inactiveProgramReportsNothing() {
    KeyCapture::SetForegroundTest(nullptr);
    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    AddKeyHook hook;
    hook.SetHook();
    int calls = 0;
    AddKeyHook::Callback() = [&calls](int, bool, bool) { ++calls; };
    QTest::keyClick(&window, Qt::Key_A);
    QCOMPARE(calls, 2);
    calls = 0;
    // Leave the program without an active window.
    window.hide();
    QTRY_VERIFY(!QApplication::activeWindow());
    QTest::keyClick(&window, Qt::Key_A);
    QCOMPARE(calls, 0);
}

QTEST_MAIN(TestKeyHook)
#include "tst_keyhook.moc"
