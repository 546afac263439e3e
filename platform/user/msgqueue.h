#pragma once
// Messages: per-thread queues, sending and posting, the message loop, timers and waiting.
//
// Each thread gets its queue on first use. SendMessage to a window of another thread
// queues the message there and waits; while it waits, the sender answers messages sent
// to its own windows, so two threads sending to each other cannot deadlock. A send to a
// window whose thread has ended fails (0, ERROR_INVALID_WINDOW_HANDLE).
//
// GetMessage/PeekMessage look, in order, at: sent messages (always answered, never
// returned), posted messages, WM_QUIT (when nothing matching is posted), input, then a
// synthesised WM_PAINT for a window of the thread with an update region, then a
// synthesised WM_TIMER for a due timer. Timers run on the process clock
// (platform/base/clock.h), so tests on the virtual clock see them only when time moves.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr UINT PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002;
inline constexpr UINT QS_KEY = 0x0001, QS_MOUSEMOVE = 0x0002, QS_MOUSEBUTTON = 0x0004, QS_POSTMESSAGE = 0x0008,
                      QS_TIMER = 0x0010, QS_PAINT = 0x0020, QS_SENDMESSAGE = 0x0040, QS_HOTKEY = 0x0080,
                      QS_ALLPOSTMESSAGE = 0x0100, QS_RAWINPUT = 0x0400, QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON,
                      QS_INPUT = QS_MOUSE | QS_KEY | QS_RAWINPUT,
                      QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY,
                      QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;
inline constexpr UINT PM_QS_INPUT = QS_INPUT << 16, PM_QS_POSTMESSAGE = (QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER) << 16,
                      PM_QS_PAINT = QS_PAINT << 16, PM_QS_SENDMESSAGE = QS_SENDMESSAGE << 16;
inline constexpr DWORD MWMO_WAITALL = 0x1, MWMO_ALERTABLE = 0x2, MWMO_INPUTAVAILABLE = 0x4;
inline constexpr UINT SMTO_NORMAL = 0x0, SMTO_BLOCK = 0x1, SMTO_ABORTIFHUNG = 0x2, SMTO_NOTIMEOUTIFNOTHUNG = 0x8,
                      SMTO_ERRORONEXIT = 0x20;
inline constexpr DWORD ISMEX_NOSEND = 0x0, ISMEX_SEND = 0x1, ISMEX_NOTIFY = 0x2, ISMEX_CALLBACK = 0x4,
                       ISMEX_REPLIED = 0x8;
inline constexpr UINT USER_TIMER_MINIMUM = 0x0000000A, USER_TIMER_MAXIMUM = 0x7FFFFFFF;

using PDWORD_PTR = DWORD_PTR*;

// ---- sending and posting -------------------------------------------------------------------------
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// 0 with ERROR_TIMEOUT when the receiver did not answer in time (the message is then
// dropped if it was not started, or its answer discarded).
LRESULT SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
    PDWORD_PTR lpdwResult);
LRESULT SendMessageTimeout(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
    PDWORD_PTR lpdwResult);
BOOL SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL SendNotifyMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL SendMessageCallbackW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC lpResultCallBack,
    ULONG_PTR dwData);
BOOL SendMessageCallback(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC lpResultCallBack,
    ULONG_PTR dwData);
// A null window posts to the calling thread (as PostThreadMessage); HWND_BROADCAST posts
// to every top-level window.
BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int nExitCode);
BOOL InSendMessage();
DWORD InSendMessageEx(LPVOID lpReserved);
BOOL ReplyMessage(LRESULT lResult);
// 0xC000..0xFFFF; the same string gives the same number for the life of the process.
UINT RegisterWindowMessageW(LPCWSTR lpString);
UINT RegisterWindowMessage(LPCWSTR lpString);

// ---- the message loop ---------------------------------------------------------------------------------
// A null hWnd takes messages of any window of the thread and thread messages;
// (HWND)-1 takes only thread messages; a window takes its own and its descendants'.
BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
LRESULT DispatchMessageW(const MSG* lpMsg);
LRESULT DispatchMessage(const MSG* lpMsg);
// Posts WM_CHAR / WM_SYSCHAR for key-down messages that make characters (US layout).
BOOL TranslateMessage(const MSG* lpMsg);
BOOL WaitMessage();
DWORD GetQueueStatus(UINT flags);
BOOL GetInputState();
DWORD GetMessagePos();
LONG GetMessageTime();
LPARAM GetMessageExtraInfo();
DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
    DWORD dwWakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask,
    DWORD dwFlags);

// ---- timers -------------------------------------------------------------------------------------------------
// The window must belong to the calling thread. Without a window the timer belongs to the
// thread and gets a fresh ID. Elapse is clamped to USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
