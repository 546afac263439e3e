#pragma once
// Window classes, window creation and destruction, the window tree, window data (longs,
// extra bytes, properties, text) and enumeration.
//
// Every call that takes an HWND fails cleanly for a null, stale or foreign value: it
// returns 0/FALSE/null with ERROR_INVALID_WINDOW_HANDLE. Windows belong to the thread
// that created them; DestroyWindow from another thread fails with ERROR_ACCESS_DENIED.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

// ---- classes ---------------------------------------------------------------------------------------
// A class is found by name (case-insensitive) or atom, searching the module's own classes
// first, then the global classes (CS_GLOBALCLASS), then the system classes, so a module's
// own registration of a system class name wins for that module. Atoms are 0xC000 and up,
// from the one atom table shared with RegisterWindowMessage and RegisterClipboardFormat.
ATOM RegisterClassW(const WNDCLASSW* lpWndClass);
ATOM RegisterClass(const WNDCLASSW* lpWndClass);
ATOM RegisterClassExW(const WNDCLASSEXW* lpWndClass);
ATOM RegisterClassEx(const WNDCLASSEXW* lpWndClass);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);
BOOL UnregisterClass(LPCWSTR lpClassName, HINSTANCE hInstance);
BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass);
BOOL GetClassInfo(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass);
BOOL GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx);
BOOL GetClassInfoEx(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx);
int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
int GetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
ULONG_PTR GetClassLongPtrW(HWND hWnd, int nIndex);
ULONG_PTR GetClassLongPtr(HWND hWnd, int nIndex);
ULONG_PTR SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
ULONG_PTR SetClassLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
DWORD GetClassLongW(HWND hWnd, int nIndex);
DWORD GetClassLong(HWND hWnd, int nIndex);
DWORD SetClassLongW(HWND hWnd, int nIndex, LONG dwNewLong);
DWORD SetClassLong(HWND hWnd, int nIndex, LONG dwNewLong);
WORD GetClassWord(HWND hWnd, int nIndex);

// ---- creation and destruction ---------------------------------------------------------------------------
HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
HWND CreateWindowEx(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
HWND CreateWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
    HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
HWND CreateWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
    HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);

// ---- the tree ---------------------------------------------------------------------------------------------
HWND GetDesktopWindow();
HWND GetParent(HWND hWnd);               // the parent of a child, the owner of a popup
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetAncestor(HWND hwnd, UINT gaFlags);
HWND GetWindow(HWND hWnd, UINT uCmd);
HWND GetTopWindow(HWND hWnd);
HWND GetNextWindow(HWND hWnd, UINT wCmd);
HWND GetLastActivePopup(HWND hWnd);
BOOL IsChild(HWND hWndParent, HWND hWnd);
DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);
BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);
BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam);
HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName);
HWND FindWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName);
HWND FindWindowExW(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass, LPCWSTR lpszWindow);
HWND FindWindowEx(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass, LPCWSTR lpszWindow);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);

// ---- window data ----------------------------------------------------------------------------------------------
// GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT (the owner of a top-level window),
// GWLP_ID, GWL_STYLE, GWL_EXSTYLE (both send WM_STYLECHANGING / WM_STYLECHANGED),
// GWLP_USERDATA, or a byte offset into the extra bytes (ERROR_INVALID_INDEX beyond them).
LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex);
LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG GetWindowLongW(HWND hWnd, int nIndex);
LONG GetWindowLong(HWND hWnd, int nIndex);
LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);
LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);
WORD GetWindowWord(HWND hWnd, int nIndex);
WORD SetWindowWord(HWND hWnd, int nIndex, WORD wNewWord);
LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Properties: names are case-insensitive strings or atoms (MAKEINTATOM).
BOOL SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData);
BOOL SetProp(HWND hWnd, LPCWSTR lpString, HANDLE hData);
HANDLE GetPropW(HWND hWnd, LPCWSTR lpString);
HANDLE GetProp(HWND hWnd, LPCWSTR lpString);
HANDLE RemovePropW(HWND hWnd, LPCWSTR lpString);
HANDLE RemoveProp(HWND hWnd, LPCWSTR lpString);
int EnumPropsExW(HWND hWnd, PROPENUMPROCEXW lpEnumFunc, LPARAM lParam);

// Text goes through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH; DefWindowProc keeps it.
BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
BOOL SetWindowText(HWND hWnd, LPCWSTR lpString);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);
int GetWindowTextLength(HWND hWnd);
// The text kept by the window itself, without messages.
int InternalGetWindowText(HWND hWnd, LPWSTR pString, int cchMaxCount);

// ---- state ---------------------------------------------------------------------------------------------------
BOOL IsWindowVisible(HWND hWnd);          // the window and every ancestor have WS_VISIBLE
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable); // the previous disabled state; WM_CANCELMODE, WM_ENABLE
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);
BOOL IsWindowUnicode(HWND hWnd);
BOOL GetWindowInfo(HWND hwnd, PWINDOWINFO pwi);

// ---- the menu slot -------------------------------------------------------------------------------------------
// A top-level window's menu bar (drawn in its non-client area by the menu layer's hooks,
// see platform/user/user_hooks.h). SetMenu recalculates the frame (WM_NCCALCSIZE).
HMENU GetMenu(HWND hWnd);
BOOL SetMenu(HWND hWnd, HMENU hMenu);
BOOL DrawMenuBar(HWND hWnd);

inline LPWSTR MAKEINTATOM(ATOM a) { return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(a)); }
