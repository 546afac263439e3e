#pragma once
// What several common controls share: the CCS_ placement styles of bars, the CCM_
// messages every control answers, the generic NM_ notification codes with the structures
// they carry, and custom drawing (NM_CUSTOMDRAW, platform/user/custom_draw.h).
#include "platform/base/wintypes.h"
#include "platform/user/custom_draw.h"
#include "platform/user/user_types.h"

// ---- placement styles of bars (status bars, toolbars, headers) -----------------------------------------
inline constexpr DWORD CCS_TOP = 0x0001, CCS_NOMOVEY = 0x0002, CCS_BOTTOM = 0x0003, CCS_NORESIZE = 0x0004,
                       CCS_NOPARENTALIGN = 0x0008, CCS_ADJUSTABLE = 0x0020, CCS_NODIVIDER = 0x0040,
                       CCS_VERT = 0x0080, CCS_LEFT = CCS_VERT | CCS_TOP, CCS_RIGHT = CCS_VERT | CCS_BOTTOM,
                       CCS_NOMOVEX = CCS_VERT | CCS_NOMOVEY;

// ---- messages every common control answers --------------------------------------------------------------
inline constexpr UINT CCM_FIRST = 0x2000, CCM_SETBKCOLOR = CCM_FIRST + 1, CCM_SETCOLORSCHEME = CCM_FIRST + 2,
                      CCM_GETCOLORSCHEME = CCM_FIRST + 3, CCM_GETDROPTARGET = CCM_FIRST + 4,
                      CCM_SETUNICODEFORMAT = CCM_FIRST + 5, CCM_GETUNICODEFORMAT = CCM_FIRST + 6,
                      CCM_SETVERSION = CCM_FIRST + 7, CCM_GETVERSION = CCM_FIRST + 8;

// ---- generic notifications (WM_NOTIFY codes) -------------------------------------------------------------
inline constexpr UINT NM_FIRST = 0u;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1, NM_CLICK = NM_FIRST - 2, NM_DBLCLK = NM_FIRST - 3,
                      NM_RETURN = NM_FIRST - 4, NM_RCLICK = NM_FIRST - 5, NM_RDBLCLK = NM_FIRST - 6,
                      NM_SETFOCUS = NM_FIRST - 7, NM_KILLFOCUS = NM_FIRST - 8,
                      NM_HOVER = NM_FIRST - 13, NM_NCHITTEST = NM_FIRST - 14, NM_KEYDOWN = NM_FIRST - 15,
                      NM_RELEASEDCAPTURE = NM_FIRST - 16, NM_SETCURSOR = NM_FIRST - 17, NM_CHAR = NM_FIRST - 18,
                      NM_TOOLTIPSCREATED = NM_FIRST - 19, NM_LDOWN = NM_FIRST - 20, NM_RDOWN = NM_FIRST - 21;

// NM_CLICK, NM_DBLCLK, NM_RCLICK, NM_RDBLCLK of controls made of items (a status bar's
// parts): the item under the mouse and the point in the control's client coordinates.
struct NMMOUSE {
    NMHDR hdr;
    DWORD_PTR dwItemSpec;
    DWORD_PTR dwItemData;
    POINT pt;
    LPARAM dwHitInfo;
};
using LPNMMOUSE = NMMOUSE*;
using NMCLICK = NMMOUSE;
using LPNMCLICK = NMMOUSE*;

// NM_TOOLTIPSCREATED: a control made its own tooltip window.
struct NMTOOLTIPSCREATED {
    NMHDR hdr;
    HWND hwndToolTips;
};

// Image indices of items (list views, toolbars, tabs): asked of the parent, or none.
inline constexpr int I_IMAGECALLBACK = -1, I_IMAGENONE = -2;

namespace zyn::comctl {

// Custom drawing lives with the window system, whose buttons take part in it too.
using user::CustomDraw;
using user::SendNotify;
using user::NotifyWindowWantsAnsi;

} // namespace zyn::comctl
