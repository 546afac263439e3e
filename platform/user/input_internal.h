#pragma once
// Process-wide input state, guarded by the user lock.
#include "platform/base/wintypes.h"

namespace zyn::user {

struct InputState {
    HWND foreground = nullptr;
    HWND capture = nullptr;
    DWORD captureThread = 0;
    POINT cursor{0, 0};
    bool clipOn = false;
    RECT clip{};
    HCURSOR cursorHandle = nullptr;
    int showCount = 0;
    UINT doubleClickTime = 500;
    bool swapButtons = false;
    BYTE asyncKeys[256] = {};       // bit 0x80 down, 0x01 toggled
    BYTE asyncPressed[256] = {};    // pressed since the last GetAsyncKeyState
    uint64_t nextEventId = 1;
};

// With LockUser held.
InputState& Input();

} // namespace zyn::user
