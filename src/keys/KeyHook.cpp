#include "keys/KeyHook.h"

void KeyHookStep(KeyHookState& state, bool systemKeysArePresses, int code, quint32 message,
                 quint32 virtualKey) {
    // Keys typed into another program are not ours.
    if (!KeyCapture::IsForeground()) return;
    if (code == KeyCapture::ActionCode) {
        if (virtualKey == state.lastKey) {
            state.repeat = true;
        } else {
            state.repeat = false;
            state.lastKey = virtualKey;
        }
        switch (message) {
            case KeyCapture::KeyDown:
                state.down = true;
                break;
            case KeyCapture::KeyUp:
                state.down = false;
                state.lastKey = 0;
                state.repeat = false;
                break;
            case KeyCapture::SysKeyDown:
                if (systemKeysArePresses) state.down = true;
                break;
            case KeyCapture::SysKeyUp:
                if (systemKeysArePresses) state.down = false;
                break;
            default:
                break;
        }
    }
    if (state.callback) {
        // The callback may replace the slot (another owner) while it runs.
        const KeyHookCallback callback = state.callback;
        callback(static_cast<int>(virtualKey), state.down, state.repeat);
    }
}
