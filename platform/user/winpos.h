#pragma once
// Window geometry: positions, sizes, z-order, show state, placement, coordinate mapping,
// hit testing by point, and the monitors (laid out in platform/user/monitor.h).
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);     // screen coordinates
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);     // (0, 0, width, height) of the client area
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL BringWindowToTop(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);         // the previous visibility
BOOL ShowWindowAsync(HWND hWnd, int nCmdShow);
BOOL ShowOwnedPopups(HWND hWnd, BOOL fShow);
BOOL OpenIcon(HWND hWnd);
BOOL CloseWindow(HWND hWnd);                      // minimises
BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl);
BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl);

// Deferred positioning: the positions are checked when deferred and applied together.
HDWP BeginDeferWindowPos(int nNumWindows);
HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL EndDeferWindowPos(HDWP hWinPosInfo);

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu);
BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// Points or rectangles from one window's client coordinates to another's (null: the
// screen). The low word of the result is the horizontal offset, the high word the
// vertical one.
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
HWND WindowFromPoint(POINT Point);
HWND ChildWindowFromPoint(HWND hWndParent, POINT Point);
HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags);
HWND RealChildWindowFromPoint(HWND hwndParent, POINT ptParentClientCoords);

// Monitors of the current layout (platform/user/monitor.h). A point or rectangle on no
// monitor answers null (MONITOR_DEFAULTTONULL), the primary one (MONITOR_DEFAULTTOPRIMARY)
// or the nearest one (MONITOR_DEFAULTTONEAREST); a rectangle on several answers the one it
// overlaps most; a minimised window counts with its restored rectangle. A handle from an
// earlier layout fails with ERROR_INVALID_HANDLE. EnumDisplayMonitors reports each monitor
// meeting lprcClip with that part of it, in screen coordinates (an HDC is taken as the
// screen's).
HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags);
HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
HMONITOR MonitorFromRect(LPCRECT lprc, DWORD dwFlags);
BOOL GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi);
BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi);
BOOL EnumDisplayMonitors(HDC hdc, LPCRECT lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData);
