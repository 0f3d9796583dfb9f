#pragma once
#include <QtGlobal>
#include <functional>

class QKeyEvent;

// Stands for the low-level keyboard hook. An application-wide event filter turns every key event
// of this program into a Windows-style report (virtual-key code, key message) and hands it to each
// installed hook procedure, newest first. Nothing is swallowed: the key event always goes on to
// its widget, and keys taken by shortcuts are reported too. Reports come only while this program is the
// active one, and a key held down gives presses and one release (X11 auto-repeat releases are dropped). GUI
// thread only.
namespace KeyCapture {

// Key messages, with the values of the Windows messages.
constexpr quint32 KeyDown = 0x100;
constexpr quint32 KeyUp = 0x101;
constexpr quint32 SysKeyDown = 0x104;
constexpr quint32 SysKeyUp = 0x105;

// Code argument of a normal report.
constexpr int ActionCode = 0;

// Virtual key reported for a key that has no virtual-key code of its own.
constexpr quint32 UnknownVirtualKey = 0xFF;

// A hook procedure: (code, message, virtual key). It cannot stop the key.
using HookProc = void (*)(int code, quint32 message, quint32 virtualKey);

// Installs a procedure; returns its handle (never 0). Installs the event filter on first use.
quintptr SetHook(HookProc proc);
// Removes a procedure; false when the handle is not installed.
bool Unhook(quintptr handle);
// Number of installed procedures (tests).
int HookCount();

// True while a window of this program has the keyboard (the program is active) and the caller
// runs on the GUI thread.
bool IsForeground();
// Replaces the foreground test (tests); an empty function restores the real one.
void SetForegroundTest(std::function<bool()> test);

// Hands one report to every installed procedure, as the event filter does (also used by tests).
void Inject(quint32 virtualKey, quint32 message);

// The Windows virtual-key code of a Qt key event: left and right modifiers kept, keypad keys
// told apart; UnknownVirtualKey when there is none.
quint32 VirtualKeyOf(const QKeyEvent& event);

// The key message of a Qt key event (a shortcut override counts as a press): system messages for Alt, for
// keys pressed while Alt is held without Ctrl, and for F10, as Windows sends them.
quint32 MessageOf(const QKeyEvent& event);

}  // namespace KeyCapture
