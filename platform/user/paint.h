#pragma once
// Painting: update regions, WM_PAINT, window DCs clipped to the visible region, scrolling
// window contents, and printing a window into any DC.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);  // client coordinates; null: all
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
// Every RDW_ flag; a null window is the desktop.
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);
BOOL UpdateWindow(HWND hWnd);
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// GetDC(hwnd) / ReleaseDC are gdi's; they reach the window system through its hooks.
HDC GetWindowDC(HWND hWnd);
HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags);  // hrgnClip in screen coordinates
HWND WindowFromDC(HDC hDC);
BOOL LockWindowUpdate(HWND hWndLock);
int ExcludeUpdateRgn(HDC hDC, HWND hWnd);
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect);
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
    LPRECT prcUpdate, UINT flags);
BOOL ScrollDC(HDC hDC, int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip, HRGN hrgnUpdate,
    LPRECT lprcUpdate);
// Sends WM_PRINT with PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN
// (nFlags PW_CLIENTONLY: the client area only).
inline constexpr UINT PW_CLIENTONLY = 0x1;
BOOL PrintWindow(HWND hwnd, HDC hdcBlt, UINT nFlags);
int GetWindowRgn(HWND hWnd, HRGN hRgn);
