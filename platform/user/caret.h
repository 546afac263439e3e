#pragma once
// The caret: the blinking mark where typed text goes. Each thread has at most one caret,
// owned by one of its windows; creating a new one destroys the old. It is drawn by
// inverting its rectangle in the owner's client area (a solid caret inverts the pixels, a
// gray one inverts through a half-tone pattern, a bitmap caret XORs the bitmap), so
// drawing it twice restores the screen.
//
// A caret starts hidden: ShowCaret makes it appear. HideCaret and ShowCaret count, so each
// HideCaret needs its own ShowCaret. While shown it blinks on the process clock
// (GetCaretBlinkTime, 530 ms by default; INFINITE: no blinking), on a WM_SYSTIMER that
// DefWindowProc handles. BeginPaint hides the caret of the window it paints and EndPaint
// shows it again, and destroying the owner destroys the caret.
#include "platform/base/wintypes.h"

// hBitmap: null for a solid caret, (HBITMAP)1 for a gray one, or a bitmap whose size
// replaces nWidth/nHeight. A zero width or height takes the window border's thickness.
// Fails (ERROR_ACCESS_DENIED) for a window of another thread.
BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
BOOL DestroyCaret();
// hWnd null: the calling thread's caret, whichever window owns it; otherwise it must be
// the caret's owner (ERROR_ACCESS_DENIED).
BOOL ShowCaret(HWND hWnd);
BOOL HideCaret(HWND hWnd);
// Client coordinates of the owner.
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(LPPOINT lpPoint);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT uMSeconds);
