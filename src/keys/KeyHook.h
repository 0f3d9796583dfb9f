#pragma once
#include <QtGlobal>
#include <functional>

#include "platform/KeyCapture.h"

// Receives (virtual key, down, repeat) for every key event a hook holder reports.
using KeyHookCallback = std::function<void(int, bool, bool)>;

// Process-wide state of one hook holder class.
struct KeyHookState {
    quintptr handle = 0;  // 0 while no hook is installed
    quint32 lastKey = 0;  // key of the previous handled event, 0 after a release
    bool down = false;    // the last handled event was a press
    bool repeat = false;  // the event's key equals the last key
    KeyHookCallback callback;
};

// One step of a holder's hook procedure. `systemKeysArePresses`: the system-key messages set and
// clear the down flag like ordinary ones (the macro holder); otherwise they leave it alone.
void KeyHookStep(KeyHookState& state, bool systemKeysArePresses, int code, quint32 message,
                 quint32 virtualKey);

// A hook holder. Each holder class has its own handle, key state and callback slot; the owner
// keeps one object and calls SetHook, assigns the callback, and later calls Unhook.
template <class Holder>
class KeyHookHolder {
public:
    // Installs the hook. While one is installed it stays the only one of this class.
    void SetHook() {
        if (State().handle == 0) State().handle = KeyCapture::SetHook(&HookProc);
    }
    // Removes the hook; harmless when none is installed.
    void Unhook() {
        if (State().handle == 0) return;
        KeyCapture::Unhook(State().handle);
        State().handle = 0;
    }
    // The callback slot; it keeps its binding until the next owner assigns its own.
    static KeyHookCallback& Callback() { return State().callback; }
    static bool IsInstalled() { return State().handle != 0; }

    static void HookProc(int code, quint32 message, quint32 virtualKey) {
        KeyHookStep(State(), Holder::SystemKeysArePresses, code, message, virtualKey);
    }
    static KeyHookState& State() {
        static KeyHookState state;
        return state;
    }
};

// Macro recording: system keys (Alt combinations, F10) are proper presses and releases.
class MacroKeyHook : public KeyHookHolder<MacroKeyHook> {
public:
    static constexpr bool SystemKeysArePresses = true;
};

// Single-key dialog.
class AddKeyHook : public KeyHookHolder<AddKeyHook> {
public:
    static constexpr bool SystemKeysArePresses = false;
};

// Key-combination dialog.
class GroupKeyHook : public KeyHookHolder<GroupKeyHook> {
public:
    static constexpr bool SystemKeysArePresses = false;
};
