#pragma once
// The trackbar common control ("msctls_trackbar32"): a thumb that slides along a channel
// over a range of whole positions, with tic marks, an optional selection range and up to
// two buddy windows.
//
// Position: TBM_SETPOS and the range messages clamp the position into [min, max]; nothing
// is sent to the parent for them. The user moves the thumb with the mouse and the keys,
// and each move reaches the parent as WM_HSCROLL (WM_VSCROLL for TBS_VERT) with the code
// in the low word of wParam, the position in the high word for TB_THUMBTRACK and
// TB_THUMBPOSITION (0 otherwise), and the trackbar's window in lParam:
//   keys      Left/Up TB_LINEUP, Right/Down TB_LINEDOWN (by the line size, 1 by default),
//             PageUp TB_PAGEUP, PageDown TB_PAGEDOWN (by the page size), Home TB_TOP,
//             End TB_BOTTOM; the key's release sends TB_ENDTRACK. A horizontal trackbar
//             with TBS_DOWNISLEFT swaps Up/Down and PageUp/PageDown, so "down" moves left.
//   thumb     pressing the thumb captures the mouse; every move that changes the position
//             sends TB_THUMBTRACK, the release TB_THUMBPOSITION (after a TB_THUMBTRACK)
//             and TB_ENDTRACK.
//   channel   pressing beside the thumb sends TB_PAGEUP (before it) or TB_PAGEDOWN
//             (after it) at once, again after 400 ms and then every 50 ms while the
//             button is held and the thumb has not reached the pointer; the release
//             sends TB_ENDTRACK.
// Every mouse operation ends with NM_RELEASEDCAPTURE to the parent. Positions grow to
// the right and downward; TBS_REVERSED is only a label for the application to read.
// The page size is a fifth of the range (at least 1) until the application sets one.
// TBM_SETRANGE and TBM_SETSEL read their two 16-bit halves as signed numbers, so
// MAKELONG(-10, 10) is the range -10 .. 10; the *MIN/*MAX/*START/*END forms take 32 bits.
//
// Tics: the first and last positions always have one (unless TBS_NOTICKS); the others
// are the application's (TBM_SETTIC) or, with TBS_AUTOTICKS, one every TBM_SETTICFREQ
// positions from the minimum (replacing the application's). TBM_GETNUMTICS counts the
// first and last; TBM_GETTIC, TBM_GETTICPOS and TBM_GETPTICS index the others, sorted.
// Tics outside a new range are dropped. Automatic tics are made only while there are at
// most 65536 of them (a denser set could not be told apart on any screen, and would
// cost memory without bound); TBM_SETTIC refuses a position outside the range, and a
// tic beyond that count.
//
// Buddies (TBM_SETBUDDY: TRUE left of a horizontal trackbar or above a vertical one,
// FALSE right or below) are moved beside the control, centred on it, when set and
// whenever the control moves; they are siblings the caller owns. With TBS_TOOLTIPS the
// control makes (and destroys with itself) a tooltip that shows the position beside the
// thumb, on the side TBM_SETTIPSIDE names, while the thumb is dragged.
//
// Geometry (horizontal; a vertical trackbar is the same with x and y exchanged, and
// TBS_LEFT is TBS_TOP). With client width W and height H:
//   tic band   5 pixels (a 2-pixel gap and 3-pixel tics) on each side that has tics:
//              TBS_BOTH both, TBS_TOP above, else below; none with TBS_NOTICKS;
//   thumb      length L across the channel: TBM_SETTHUMBLENGTH's value with
//              TBS_FIXEDLENGTH (20 until set), else min(20, H - 4 - tic bands), at least
//              4; breadth B = L / 2 + 1 along it; its top is 2 + the upper tic band;
//   channel    from x0 = 2 + B / 2 to W - 2 - B / 2 (exclusive); 4 pixels thick
//              (L / 2 - 1 with TBS_ENABLESELRANGE, at least 4), centred on the thumb;
//   positions  the thumb's centre column for position p is x0 + (p - min) * S / (max -
//              min), rounded down, where S = channel width - 1 (x0 when max <= min); a
//              drag takes the position nearest the pointer (halves round up);
//   thumb rect from (centre - B / 2, top) to (centre - B / 2 + B, top + L);
//   tics       at the same columns, 1 pixel wide, 3 long, 2 pixels off the thumb.
// TBM_GETCHANNELRECT of a vertical trackbar answers its rectangle with x and y exchanged
// (as if horizontal), as the platform always has; TBM_GETTHUMBRECT answers the real one.
//
// Painting (classic): the parent's WM_CTLCOLORSTATIC brush behind everything; the channel
// a sunken edge (EDGE_SUNKEN) filled with COLOR_WINDOW for TBS_ENABLESELRANGE, the
// selection inside it in COLOR_HIGHLIGHT; tics in COLOR_BTNTEXT; the thumb a raised
// rectangle (TBS_BOTH) or a pentagon pointing at the tics (highlight and face on its lit
// sides, dark shadow and shadow on the others), face COLOR_3DFACE; the focus rectangle
// round the client area while the control has the focus. NM_CUSTOMDRAW goes to the
// parent first, with the items TBCD_TICS, TBCD_CHANNEL and TBCD_THUMB in that order.
#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"

inline constexpr const wchar_t* TRACKBAR_CLASSW = L"msctls_trackbar32";
inline constexpr const wchar_t* TRACKBAR_CLASS = TRACKBAR_CLASSW;
inline constexpr const char* TRACKBAR_CLASSA = "msctls_trackbar32";

// ---- styles -----------------------------------------------------------------------------------------------
inline constexpr DWORD TBS_AUTOTICKS = 0x0001, TBS_VERT = 0x0002, TBS_HORZ = 0x0000, TBS_TOP = 0x0004,
                       TBS_BOTTOM = 0x0000, TBS_LEFT = 0x0004, TBS_RIGHT = 0x0000, TBS_BOTH = 0x0008,
                       TBS_NOTICKS = 0x0010, TBS_ENABLESELRANGE = 0x0020, TBS_FIXEDLENGTH = 0x0040,
                       TBS_NOTHUMB = 0x0080, TBS_TOOLTIPS = 0x0100, TBS_REVERSED = 0x0200,
                       TBS_DOWNISLEFT = 0x0400, TBS_NOTIFYBEFOREMOVE = 0x0800, TBS_TRANSPARENTBKGND = 0x1000;

// ---- messages ---------------------------------------------------------------------------------------------
inline constexpr UINT TBM_GETPOS = 0x0400, TBM_GETRANGEMIN = 0x0400 + 1, TBM_GETRANGEMAX = 0x0400 + 2,
                      TBM_GETTIC = 0x0400 + 3, TBM_SETTIC = 0x0400 + 4, TBM_SETPOS = 0x0400 + 5,
                      TBM_SETRANGE = 0x0400 + 6, TBM_SETRANGEMIN = 0x0400 + 7, TBM_SETRANGEMAX = 0x0400 + 8,
                      TBM_CLEARTICS = 0x0400 + 9, TBM_SETSEL = 0x0400 + 10, TBM_SETSELSTART = 0x0400 + 11,
                      TBM_SETSELEND = 0x0400 + 12, TBM_GETPTICS = 0x0400 + 14, TBM_GETTICPOS = 0x0400 + 15,
                      TBM_GETNUMTICS = 0x0400 + 16, TBM_GETSELSTART = 0x0400 + 17, TBM_GETSELEND = 0x0400 + 18,
                      TBM_CLEARSEL = 0x0400 + 19, TBM_SETTICFREQ = 0x0400 + 20, TBM_SETPAGESIZE = 0x0400 + 21,
                      TBM_GETPAGESIZE = 0x0400 + 22, TBM_SETLINESIZE = 0x0400 + 23, TBM_GETLINESIZE = 0x0400 + 24,
                      TBM_GETTHUMBRECT = 0x0400 + 25, TBM_GETCHANNELRECT = 0x0400 + 26,
                      TBM_SETTHUMBLENGTH = 0x0400 + 27, TBM_GETTHUMBLENGTH = 0x0400 + 28,
                      TBM_SETTOOLTIPS = 0x0400 + 29, TBM_GETTOOLTIPS = 0x0400 + 30, TBM_SETTIPSIDE = 0x0400 + 31,
                      TBM_SETBUDDY = 0x0400 + 32, TBM_GETBUDDY = 0x0400 + 33, TBM_SETPOSNOTIFY = 0x0400 + 34,
                      TBM_SETUNICODEFORMAT = CCM_SETUNICODEFORMAT, TBM_GETUNICODEFORMAT = CCM_GETUNICODEFORMAT;

// TBM_SETTIPSIDE: where the position tip shows (horizontal: top or bottom; vertical: left
// or right of the thumb).
inline constexpr int TBTS_TOP = 0, TBTS_LEFT = 1, TBTS_BOTTOM = 2, TBTS_RIGHT = 3;

// ---- WM_HSCROLL / WM_VSCROLL codes ------------------------------------------------------------------------
inline constexpr WORD TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4,
                      TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8;

// ---- custom-draw items (NMCUSTOMDRAW::dwItemSpec) ------------------------------------------------------------
inline constexpr DWORD_PTR TBCD_TICS = 0x0001, TBCD_THUMB = 0x0002, TBCD_CHANNEL = 0x0003;

namespace zyn::comctl {

// Registers "msctls_trackbar32" as a system class (ICC_BAR_CLASSES). FALSE when the window
// system refuses the class.
BOOL RegisterTrackbarClass();

} // namespace zyn::comctl
