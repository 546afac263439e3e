#pragma once
// Keyboard accelerator tables (HACCEL) and their translation into WM_COMMAND.
//
// TranslateAccelerator matches WM_KEYDOWN / WM_SYSKEYDOWN against FVIRTKEY entries, with the
// SHIFT, CONTROL and ALT state of GetKeyState (ALT of a WM_SYSKEYDOWN from its context
// bit), and WM_CHAR / WM_SYSCHAR against character entries (ALT must match, SHIFT and
// CONTROL are the character's own business). A match sends WM_COMMAND (HIWORD(wParam) 1)
// to the window, or WM_SYSCOMMAND when the command is an item of the window's system menu
// and not of its menu bar. When the window has a menu bar (or system menu) holding the
// command as a disabled or grayed item, or the window is disabled, nothing is sent; the key
// still counts as translated, as on Windows.
#include <cstddef>
#include <cstdint>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr BYTE FVIRTKEY = 0x01, FNOINVERT = 0x02, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;

// From the module's RT_ACCELERATOR resource (8-byte entries, the last flagged 0x80).
HACCEL LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName);
inline HACCEL LoadAccelerators(HINSTANCE hInstance, LPCWSTR lpTableName)
{
    return LoadAcceleratorsW(hInstance, lpTableName);
}
// cAccel entries (at least 1) copied into a new table.
HACCEL CreateAcceleratorTableW(LPACCEL paccel, int cAccel);
inline HACCEL CreateAcceleratorTable(LPACCEL paccel, int cAccel) { return CreateAcceleratorTableW(paccel, cAccel); }
// lpAccelDst null: the number of entries; otherwise the number copied (at most cAccelEntries).
int CopyAcceleratorTableW(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries);
inline int CopyAcceleratorTable(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries)
{
    return CopyAcceleratorTableW(hAccelSrc, lpAccelDst, cAccelEntries);
}
BOOL DestroyAcceleratorTable(HACCEL hAccel);
int TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
inline int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    return TranslateAcceleratorW(hWnd, hAccTable, lpMsg);
}

namespace zyn::user {
// A table from resource bytes; null with ERROR_INVALID_DATA when they hold no entry or
// end inside one.
HACCEL AcceleratorsFromResource(const uint8_t* bytes, size_t size);
}
