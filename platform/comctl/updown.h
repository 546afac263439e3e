#pragma once
// The up-down control ("msctls_updown32"): a pair of arrow buttons that move a position
// within a range, optionally shown as text in a buddy window.
//
// Position and range: the range runs from `lower` to `upper` and may be reversed (the
// default is lower 100, upper 0). The up arrow (the right one with UDS_HORZ) moves the
// position towards `upper`, the down arrow towards `lower`. Every position set is clamped
// into the range, and so is the position when a new range leaves it outside.
// UDM_SETRANGE/GETRANGE carry 16-bit limits (LOWORD upper, HIWORD lower); the 32-bit forms
// carry ints.
//
// A step (a press of an arrow, a repeat, an arrow key of the buddy with UDS_ARROWKEYS):
//   1. with UDS_SETBUDDYINT the position is first read back from the buddy's text, when
//      that text is a valid number inside the range;
//   2. the parent gets UDN_DELTAPOS (NMUPDOWN: the position and the proposed change, the
//      increment of the acceleration in effect, signed by the direction); a non-zero answer
//      vetoes the step;
//   3. the new position is position + change; past the end of the range it stops at the
//      end, or with UDS_WRAP goes to the other end;
//   4. when the position changed: the buddy's text is written (UDS_SETBUDDYINT) and the
//      parent gets WM_VSCROLL (WM_HSCROLL with UDS_HORZ) SB_THUMBPOSITION with the new
//      position (HIWORD of wParam, 16 bits) and the control as lParam.
// Releasing the button (or a key typed to the control itself) sends SB_ENDSCROLL the same
// way; an arrow key typed in the buddy steps alike but its release sends nothing.
//
// Auto-repeat: a held arrow steps at once, again after kRepeatDelayMs, then every
// kRepeatIntervalMs while the mouse stays over it (timers on the process clock). The
// increment is that of the last accelerator (UDM_SETACCEL; default {0 s, 1}, {2 s, 5},
// {5 s, 20}) whose seconds have passed since the press.
//
// Buddy: UDM_SETBUDDY, or with UDS_AUTOBUDDY the previous sibling in the z-order at
// creation. UDS_ALIGNRIGHT / UDS_ALIGNLEFT move the control to the buddy's right (left)
// edge, as high as the buddy, and shrink the buddy by the control's width (moving it right
// for ALIGNLEFT); a control created 0 pixels wide takes SM_CXVSCROLL. UDS_SETBUDDYINT
// writes the position with WM_SETTEXT: decimal with the user locale's thousands separator
// every three digits (none with UDS_NOTHOUSANDS), or with base 16 "0x" and at least four
// upper-case hex digits of the 32-bit value. UDS_ARROWKEYS subclasses the buddy: Up and
// Down step as the arrows do (UDS_HORZ too), with acceleration while the key is held.
//
// UDM_GETPOS / UDM_GETPOS32 with UDS_SETBUDDYINT and a buddy read the buddy's text: a
// valid number inside the range becomes the position; anything else is an error (HIWORD 1,
// or *pfError TRUE) and leaves the position. Without a buddy the position is answered
// without error.
//
// Painting: the two halves (the upper one h / 2 rows high; with UDS_HORZ the left one
// w / 2 columns wide) are DrawFrameControl DFC_SCROLL arrows: DFCS_PUSHED while held,
// DFCS_INACTIVE when the control is disabled, DFCS_HOT for the half under the mouse with
// UDS_HOTTRACK.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* UPDOWN_CLASSW = L"msctls_updown32";
inline constexpr const wchar_t* UPDOWN_CLASS = UPDOWN_CLASSW;
inline constexpr const char* UPDOWN_CLASSA = "msctls_updown32";

// ---- styles ----------------------------------------------------------------------------------------------
inline constexpr DWORD UDS_WRAP = 0x0001, UDS_SETBUDDYINT = 0x0002, UDS_ALIGNRIGHT = 0x0004,
                       UDS_ALIGNLEFT = 0x0008, UDS_AUTOBUDDY = 0x0010, UDS_ARROWKEYS = 0x0020, UDS_HORZ = 0x0040,
                       UDS_NOTHOUSANDS = 0x0080, UDS_HOTTRACK = 0x0100;

inline constexpr int UD_MAXVAL = 0x7FFF, UD_MINVAL = -UD_MAXVAL;

// ---- messages ----------------------------------------------------------------------------------------------
inline constexpr UINT UDM_SETRANGE = 0x0400 + 101, UDM_GETRANGE = 0x0400 + 102, UDM_SETPOS = 0x0400 + 103,
                      UDM_GETPOS = 0x0400 + 104, UDM_SETBUDDY = 0x0400 + 105, UDM_GETBUDDY = 0x0400 + 106,
                      UDM_SETACCEL = 0x0400 + 107, UDM_GETACCEL = 0x0400 + 108, UDM_SETBASE = 0x0400 + 109,
                      UDM_GETBASE = 0x0400 + 110, UDM_SETRANGE32 = 0x0400 + 111, UDM_GETRANGE32 = 0x0400 + 112,
                      UDM_SETPOS32 = 0x0400 + 113, UDM_GETPOS32 = 0x0400 + 114;

struct UDACCEL {
    UINT nSec;   // seconds since the press from which this increment applies
    UINT nInc;
};
using LPUDACCEL = UDACCEL*;

// ---- notifications --------------------------------------------------------------------------------------
inline constexpr UINT UDN_FIRST = 0u - 721u, UDN_LAST = 0u - 729u;
inline constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;
struct NMUPDOWN {
    NMHDR hdr;
    int iPos;    // the position before the step
    int iDelta;  // the proposed change
};
using LPNMUPDOWN = NMUPDOWN*;
using NM_UPDOWN = NMUPDOWN;

namespace zyn::comctl {

namespace updown {
inline constexpr UINT kRepeatDelayMs = 500;
inline constexpr UINT kRepeatIntervalMs = 100;
inline constexpr UINT_PTR kTimerRepeat = 1;
} // namespace updown

// Registers "msctls_updown32" as a system class (what InitCommonControlsEx does for
// ICC_UPDOWN_CLASS). FALSE when the window system refuses the class.
BOOL RegisterUpDownClass();

} // namespace zyn::comctl
