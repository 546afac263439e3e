#pragma once
// What the rest of the window system tells the caret: painting starts and ends, a window
// goes away, the blink timer fires, tests reset.
#include "platform/base/wintypes.h"

namespace zyn::user {

// BeginPaint / EndPaint of `hwnd`: the caret hides while its owner paints.
void CaretBeginPaint(HWND hwnd);
void CaretEndPaint(HWND hwnd);
// DestroyWindow: the caret of the calling thread goes with its owner.
void CaretWindowGoingAway(HWND hwnd);
// DefWindowProc's WM_SYSTIMER.
void CaretOnSysTimer(HWND hwnd, UINT_PTR id);
// The calling thread's caret for GetGUIThreadInfo: false when it has none.
bool CaretInfo(HWND* owner, RECT* rect, bool* blinking);
// Forgets the calling thread's caret and restores the default blink time (tests).
void ResetCarets();

} // namespace zyn::user
