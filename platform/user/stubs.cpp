// Entry points not written yet: they fail cleanly.
#include "platform/base/lasterror.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/input.h"
#include "platform/user/scrollbar.h"
#include "platform/user/msgbox.h"
#include "platform/user/clipboard.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/thread_state.h"
#include "platform/user/user_hooks.h"

BOOL TranslateMessage(const MSG* lpMsg) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ValidateRect(HWND hWnd, const RECT* lpRect) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ValidateRgn(HWND hWnd, HRGN hRgn) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL UpdateWindow(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HDC GetWindowDC(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND WindowFromDC(HDC hDC) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL LockWindowUpdate(HWND hWndLock) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int ExcludeUpdateRgn(HDC hDC, HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate, LPRECT prcUpdate, UINT flags) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ScrollDC(HDC hDC, int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip, HRGN hrgnUpdate, LPRECT lprcUpdate) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL PrintWindow(HWND hwnd, HDC hdcBlt, UINT nFlags) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetWindowRgn(HWND hWnd, HRGN hRgn) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND SetFocus(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND GetFocus() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND SetActiveWindow(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL SetForegroundWindow(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND GetForegroundWindow() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND SetCapture(HWND hWnd) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ReleaseCapture() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND GetCapture() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
SHORT GetKeyState(int nVirtKey) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
SHORT GetAsyncKeyState(int vKey) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetKeyboardState(PBYTE lpKeyState) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL SetKeyboardState(const BYTE* lpKeyState) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
UINT MapVirtualKeyW(UINT uCode, UINT uMapType) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
UINT MapVirtualKey(UINT uCode, UINT uMapType) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
SHORT VkKeyScanW(WCHAR ch) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
SHORT VkKeyScan(WCHAR ch) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int ToUnicode(UINT wVirtKey, UINT wScanCode, const BYTE* lpKeyState, LPWSTR pwszBuff, int cchBuff, UINT wFlags) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetKeyNameTextW(LONG lParam, LPWSTR lpString, int cchSize) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetKeyNameText(LONG lParam, LPWSTR lpString, int cchSize) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HCURSOR SetCursor(HCURSOR hCursor) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HCURSOR GetCursor() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetCursorPos(LPPOINT lpPoint) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ClipCursor(const RECT* lpRect) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetClipCursor(LPRECT lpRect) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetPhysicalCursorPos(LPPOINT lpPoint) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL SetDoubleClickTime(UINT uInterval) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL SwapMouseButton(BOOL fSwap) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL DragDetect(HWND hwnd, POINT pt) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL MessageBeep(UINT uType) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetScrollPos(HWND hWnd, int nBar) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int MessageBoxExW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int MessageBoxEx(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL OpenClipboard(HWND hWndNewOwner) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL CloseClipboard() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL EmptyClipboard() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HANDLE GetClipboardData(UINT uFormat) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
BOOL IsClipboardFormatAvailable(UINT format) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
UINT EnumClipboardFormats(UINT format) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int CountClipboardFormats() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
UINT RegisterClipboardFormatW(LPCWSTR lpszFormat) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
UINT RegisterClipboardFormat(LPCWSTR lpszFormat) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetClipboardFormatNameW(UINT format, LPWSTR lpszFormatName, int cchMaxCount) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
int GetClipboardFormatName(UINT format, LPWSTR lpszFormatName, int cchMaxCount) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND GetClipboardOwner() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
HWND GetOpenClipboardWindow() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
DWORD GetClipboardSequenceNumber() { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; }
namespace zyn::user { void InjectMouseMove(int x, int y) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectMouseButton(MouseButton button, bool down) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectClick(int x, int y, MouseButton button) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectMouseWheel(int delta, bool horizontal) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectKey(int vk, bool down) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectKeyPress(int vk) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectChar(wchar_t ch) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void InjectText(const std::wstring& text) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { bool SnapshotDesktopPng(const std::string& path) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return false; } }
namespace zyn::user { void SetScriptedMode(bool on) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { void QueueIdleAction(std::function<void()> action) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }
namespace zyn::user { ScrollBarLayout LayoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& st) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; } }
namespace zyn::user { ScrollPart ScrollBarPartFromPoint(const ScrollBarLayout& layout, POINT pt) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); return {}; } }
namespace zyn::user { void DrawScrollBar(HDC hdc, const RECT& bar, bool vertical, const ScrollBarState& st, ScrollPart pressed, bool enabled) { SetLastError(ERROR_CALL_NOT_IMPLEMENTED); } }

#include "platform/user/queue_internal.h"
#include "platform/user/wnd_internal.h"
namespace zyn::user {
RECT DefaultClientRect(const Window&, const RECT& window) { return window; }
int FrameThickness(DWORD, DWORD) { return 0; }
LRESULT NcHitTest(HWND, POINT) { return 1; }
void NcPaint(HWND, const Region*) {}
void NcDrawInto(HWND, HDC) {}
NcLayout ComputeNcLayout(HWND) { return {}; }
bool TrackCaptionButton(HWND, int) { return false; }
void MoveSizeLoop(HWND, WPARAM, POINT) {}
Region VisibleRegion(const Window*, bool, bool, bool) { return {}; }
void InvalidateScreenRegion(Window*, const Region&, UINT) {}
void InvalidateExposed(const Region&, Window*) {}
void ReleaseWindowDcs(Window&) {}
HWND FindPaintWindow(DWORD, HWND) { return nullptr; }
void SendNcPaintAndErase(HWND, bool) {}
void PaintIntoDc(HWND, HDC) {}
void ErasePendingNow() {}
void WindowGoingAway(HWND, bool) {}
bool ActivateWindowImpl(HWND, WORD, bool) { return false; }
HCURSOR SystemCursorForHitTest(int) { return nullptr; }
bool TakeInputMessage(ThreadQueue&, MSG*, HWND, UINT, UINT, bool) { return false; }
bool TakeHoverMessage(ThreadQueue&, MSG*, HWND, UINT, UINT, bool) { return false; }
void TrackScrollBar(HWND, int, POINT) {}
RECT MenuBarRect(HWND) { return {}; }
void ResetInputState() {}
void ResetClipboard() {}
void ResetModalState() {}
}
HWND GetActiveWindow() { return nullptr; }
