#pragma once
// Input state: focus, activation, capture, enabling, the keyboard state, the cursor,
// mouse tracking and hooks.
//
// Focus, the active window and capture belong to a thread, as on Windows: GetFocus,
// GetActiveWindow and GetCapture answer for the calling thread. The foreground window
// is process-wide; keyboard input goes to the foreground window's thread.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"
#include "platform/user/vkeys.h"

// ---- focus, activation, capture ----------------------------------------------------------------------
HWND SetFocus(HWND hWnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hWnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hWnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetGUIThreadInfo(DWORD idThread, LPGUITHREADINFO pgui);

// ---- keyboard state --------------------------------------------------------------------------------------
// GetKeyState: the state as of the last key message the thread took from its queue (bit
// 15 down, bit 0 toggled); GetAsyncKeyState: the state now (bit 15 down, bit 0 pressed
// since the last call).
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);
BOOL GetKeyboardState(PBYTE lpKeyState);
BOOL SetKeyboardState(const BYTE* lpKeyState);
// US layout.
UINT MapVirtualKeyW(UINT uCode, UINT uMapType);
UINT MapVirtualKey(UINT uCode, UINT uMapType);
SHORT VkKeyScanW(WCHAR ch);
SHORT VkKeyScan(WCHAR ch);
int ToUnicode(UINT wVirtKey, UINT wScanCode, const BYTE* lpKeyState, LPWSTR pwszBuff, int cchBuff, UINT wFlags);
int GetKeyNameTextW(LONG lParam, LPWSTR lpString, int cchSize);
int GetKeyNameText(LONG lParam, LPWSTR lpString, int cchSize);
inline constexpr UINT MAPVK_VK_TO_VSC = 0, MAPVK_VSC_TO_VK = 1, MAPVK_VK_TO_CHAR = 2, MAPVK_VSC_TO_VK_EX = 3;

// ---- the cursor ---------------------------------------------------------------------------------------------
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
int ShowCursor(BOOL bShow);                       // the new display count
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int X, int Y);                  // moves the cursor; generates a mouse move
BOOL ClipCursor(const RECT* lpRect);
BOOL GetClipCursor(LPRECT lpRect);
BOOL GetPhysicalCursorPos(LPPOINT lpPoint);
UINT GetDoubleClickTime();                        // 500 ms unless set
BOOL SetDoubleClickTime(UINT uInterval);
BOOL SwapMouseButton(BOOL fSwap);
BOOL DragDetect(HWND hwnd, POINT pt);
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);
BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);
BOOL MessageBeep(UINT uType);
BOOL FlashWindow(HWND hWnd, BOOL bInvert);

// ---- hooks ------------------------------------------------------------------------------------------------
inline constexpr int WH_MSGFILTER = -1, WH_JOURNALRECORD = 0, WH_JOURNALPLAYBACK = 1, WH_KEYBOARD = 2,
                     WH_GETMESSAGE = 3, WH_CALLWNDPROC = 4, WH_CBT = 5, WH_SYSMSGFILTER = 6, WH_MOUSE = 7,
                     WH_DEBUG = 9, WH_SHELL = 10, WH_FOREGROUNDIDLE = 11, WH_CALLWNDPROCRET = 12,
                     WH_KEYBOARD_LL = 13, WH_MOUSE_LL = 14, WH_MIN = -1, WH_MAX = 14;
inline constexpr int HC_ACTION = 0, HC_GETNEXT = 1, HC_SKIP = 2, HC_NOREMOVE = 3, HC_NOREM = 3,
                     HC_SYSMODALON = 4, HC_SYSMODALOFF = 5;
inline constexpr int HCBT_MOVESIZE = 0, HCBT_MINMAX = 1, HCBT_QS = 2, HCBT_CREATEWND = 3, HCBT_DESTROYWND = 4,
                     HCBT_ACTIVATE = 5, HCBT_CLICKSKIPPED = 6, HCBT_KEYSKIPPED = 7, HCBT_SYSCOMMAND = 8,
                     HCBT_SETFOCUS = 9;
// WH_MSGFILTER codes: the modal loop that calls CallMsgFilter.
inline constexpr int MSGF_DIALOGBOX = 0, MSGF_MESSAGEBOX = 1, MSGF_MENU = 2, MSGF_MOVE = 3, MSGF_SIZE = 4,
                     MSGF_SCROLLBAR = 5, MSGF_NEXTWINDOW = 6, MSGF_MAX = 8, MSGF_USER = 4096;
inline constexpr DWORD LLKHF_EXTENDED = 0x01, LLKHF_INJECTED = 0x10, LLKHF_ALTDOWN = 0x20, LLKHF_UP = 0x80,
                       LLMHF_INJECTED = 0x01;

// dwThreadId 0 hooks every thread of the process; hMod is kept but not needed.
HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
BOOL UnhookWindowsHookEx(HHOOK hhk);
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
// Runs the WH_SYSMSGFILTER then WH_MSGFILTER hooks; TRUE when one of them took the message.
BOOL CallMsgFilterW(LPMSG lpMsg, int nCode);
BOOL CallMsgFilter(LPMSG lpMsg, int nCode);
