#pragma once
// The progress common control ("msctls_progress32"): a bar filled in proportion to a
// position within a range.
//
// Values: the range is 0 .. 100 and the position 0 at creation, the step 10. Every
// position (PBM_SETPOS, PBM_DELTAPOS) is clamped into the range, and a new range clamps
// the position; these messages answer the previous position. PBM_STEPIT adds the step;
// a position that passes the maximum starts over at the minimum (and one that falls below
// the minimum, with a negative step, at the maximum). PBM_SETRANGE takes two unsigned
// 16-bit halves, PBM_SETRANGE32 two signed 32-bit values; both answer the previous range
// as MAKELONG(low 16 bits of the minimum, low 16 bits of the maximum), and refuse (0, the
// range unchanged) a maximum below the minimum. An empty range (minimum = maximum) fills
// nothing.
//
// Look (classic): the control gives itself WS_EX_STATICEDGE (a one-pixel sunken frame)
// when it is made. The client area is filled with the background colour (PBM_SETBKCOLOR,
// else COLOR_3DFACE); one pixel inside it, the filled extent is
//     inner length * (position - minimum) / (maximum - minimum), rounded down,
// from the left (PBS_VERTICAL: from the bottom), in the bar colour (PBM_SETBARCOLOR, else
// COLOR_HIGHLIGHT). PBS_SMOOTH fills exactly that extent. Otherwise it is drawn as blocks
// of 2/3 of the inner thickness (at least 1 pixel), 2 pixels apart, starting at the inner
// edge; every block that starts inside the filled extent is drawn whole (cut only at the
// inner edge). With PBS_MARQUEE and PBM_SETMARQUEE(TRUE, ms) a run of five blocks crosses
// the bar instead of the position: it starts at the inner edge and moves one block
// further every ms milliseconds (30 when 0 is given) on a window timer of the process
// clock; once its first block has passed the far edge it enters again with one block
// showing (its first block four pitches before the edge).
#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"

inline constexpr const wchar_t* PROGRESS_CLASSW = L"msctls_progress32";
inline constexpr const wchar_t* PROGRESS_CLASS = PROGRESS_CLASSW;
inline constexpr const char* PROGRESS_CLASSA = "msctls_progress32";

inline constexpr DWORD PBS_SMOOTH = 0x01, PBS_VERTICAL = 0x04, PBS_MARQUEE = 0x08, PBS_SMOOTHREVERSE = 0x10;

inline constexpr UINT PBM_SETRANGE = 0x0400 + 1, PBM_SETPOS = 0x0400 + 2, PBM_DELTAPOS = 0x0400 + 3,
                      PBM_SETSTEP = 0x0400 + 4, PBM_STEPIT = 0x0400 + 5, PBM_SETRANGE32 = 0x0400 + 6,
                      PBM_GETRANGE = 0x0400 + 7, PBM_GETPOS = 0x0400 + 8, PBM_SETBARCOLOR = 0x0400 + 9,
                      PBM_SETMARQUEE = 0x0400 + 10, PBM_GETSTEP = 0x0400 + 13, PBM_GETBKCOLOR = 0x0400 + 14,
                      PBM_GETBARCOLOR = 0x0400 + 15, PBM_SETSTATE = 0x0400 + 16, PBM_GETSTATE = 0x0400 + 17,
                      PBM_SETBKCOLOR = CCM_SETBKCOLOR;

inline constexpr int PBST_NORMAL = 0x0001, PBST_ERROR = 0x0002, PBST_PAUSED = 0x0003;

// PBM_GETRANGE's optional out structure.
struct PBRANGE {
    int iLow;
    int iHigh;
};
using PPBRANGE = PBRANGE*;

namespace zyn::comctl {

// Registers "msctls_progress32" as a system class (ICC_PROGRESS_CLASS). FALSE when the
// window system refuses the class.
BOOL RegisterProgressClass();

} // namespace zyn::comctl
