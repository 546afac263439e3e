#pragma once
// The multiple-document interface of the window system: the "MDICLIENT" window class
// that holds a frame's document windows, and the default procedures of the frame
// (DefFrameProc) and of its children (DefMDIChildProc).
//
// The client keeps its children in creation order; child k has the control ID
// idFirstChild + k and is listed as "&k+1 Title" at the end of the window menu. When the
// active child is maximised, the frame's menu bar carries the child's system menu (an
// HBMMENU_SYSTEM item in front) and its minimise, restore and close buttons (at the right
// end); the buttons' commands reach the child as WM_SYSCOMMAND through DefFrameProc.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

struct CLIENTCREATESTRUCT {
    HANDLE hWindowMenu;   // the popup that lists the children (may be null)
    UINT idFirstChild;    // control ID of the first child
};
using LPCLIENTCREATESTRUCT = CLIENTCREATESTRUCT*;

struct MDICREATESTRUCTW {
    LPCWSTR szClass;
    LPCWSTR szTitle;
    HANDLE hOwner;        // the instance
    int x, y, cx, cy;     // CW_USEDEFAULT: the client places the child
    DWORD style;          // only WS_MINIMIZE, WS_MAXIMIZE and the scroll bars, unless MDIS_ALLCHILDSTYLES
    LPARAM lParam;
};
using MDICREATESTRUCT = MDICREATESTRUCTW;
using LPMDICREATESTRUCTW = MDICREATESTRUCTW*;
using LPMDICREATESTRUCT = MDICREATESTRUCTW*;

inline constexpr UINT MDITILE_VERTICAL = 0x0000, MDITILE_HORIZONTAL = 0x0001, MDITILE_SKIPDISABLED = 0x0002;
inline constexpr DWORD MDIS_ALLCHILDSTYLES = 0x0001;

// Frame and child default procedures. hWndMDIClient may be null (then DefWindowProc).
LRESULT DefFrameProcW(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT DefFrameProc(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProcW(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The document-window keys of a client's active child, for a message about to be
// dispatched: Ctrl+F4 closes it, Ctrl+F6 / Ctrl+Tab activate the next child and with
// Shift the previous one (WM_SYSCOMMAND to the child, lParam the key). TRUE when the
// message was such a key and was handled; only WM_KEYDOWN and WM_SYSKEYDOWN count.
BOOL TranslateMDISysAccel(HWND hWndClient, MSG* lpMsg);
// Creates a child through the client (WM_MDICREATE).
HWND CreateMDIWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y, int nWidth,
    int nHeight, HWND hWndParent, HINSTANCE hInstance, LPARAM lParam);

namespace zyn::user {
// Registers the "MDICLIENT" system class unless it is registered; TRUE when it exists.
BOOL EnsureMdiClientClass();
// The children of a client in creation order (for tests and the window menu).
size_t MdiChildCount(HWND hWndClient);
} // namespace zyn::user
