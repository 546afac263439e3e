#pragma once
// What several common controls share: the CCS_ styles of the bar-like controls (toolbar,
// status bar, header), the NM_ notifications every control may send, and the custom-draw
// protocol (NM_CUSTOMDRAW with NMCUSTOMDRAW), at their documented values.
//
// Custom draw, as the controls run it: a paint sends CDDS_PREPAINT for the whole control;
// the answer decides what follows. CDRF_SKIPDEFAULT: the control draws nothing of its own;
// CDRF_NOTIFYITEMDRAW: each item is announced with CDDS_ITEMPREPAINT (and, when that
// answer asks with CDRF_NOTIFYPOSTPAINT, CDDS_ITEMPOSTPAINT after it is drawn);
// CDRF_NOTIFYPOSTPAINT: CDDS_POSTPAINT after everything; CDRF_NEWFONT from an item
// answer: the font the handler selected into the DC is used for that item. Erasing is
// announced the same way (CDDS_PREERASE / CDDS_POSTERASE) by controls that offer it.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

// ---- bar styles (CCS_) ------------------------------------------------------------------------------------
inline constexpr DWORD CCS_TOP = 0x0001, CCS_NOMOVEY = 0x0002, CCS_BOTTOM = 0x0003, CCS_NORESIZE = 0x0004,
                       CCS_NOPARENTALIGN = 0x0008, CCS_ADJUSTABLE = 0x0020, CCS_NODIVIDER = 0x0040,
                       CCS_VERT = 0x0080, CCS_LEFT = CCS_VERT | CCS_TOP, CCS_RIGHT = CCS_VERT | CCS_BOTTOM,
                       CCS_NOMOVEX = CCS_VERT | CCS_NOMOVEY;

// ---- generic notifications (WM_NOTIFY codes) -----------------------------------------------------------
inline constexpr UINT NM_FIRST = 0u;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1, NM_CLICK = NM_FIRST - 2, NM_DBLCLK = NM_FIRST - 3,
                      NM_RETURN = NM_FIRST - 4, NM_RCLICK = NM_FIRST - 5, NM_RDBLCLK = NM_FIRST - 6,
                      NM_SETFOCUS = NM_FIRST - 7, NM_KILLFOCUS = NM_FIRST - 8, NM_CUSTOMDRAW = NM_FIRST - 12,
                      NM_HOVER = NM_FIRST - 13, NM_NCHITTEST = NM_FIRST - 14, NM_KEYDOWN = NM_FIRST - 15,
                      NM_RELEASEDCAPTURE = NM_FIRST - 16, NM_SETCURSOR = NM_FIRST - 17, NM_CHAR = NM_FIRST - 18,
                      NM_TOOLTIPSCREATED = NM_FIRST - 19, NM_LDOWN = NM_FIRST - 20, NM_RDOWN = NM_FIRST - 21;

// NM_CLICK, NM_RCLICK, NM_DBLCLK, NM_LDOWN... of item controls: the item (for a toolbar its
// command ID, -1 for none), its data and the point in the control's client coordinates.
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

// NM_TOOLTIPSCREATED: the tooltip a control made for itself.
struct NMTOOLTIPSCREATED {
    NMHDR hdr;
    HWND hwndToolTips;
};

// ---- custom draw ---------------------------------------------------------------------------------------------
inline constexpr DWORD CDDS_PREPAINT = 0x00000001, CDDS_POSTPAINT = 0x00000002, CDDS_PREERASE = 0x00000003,
                       CDDS_POSTERASE = 0x00000004, CDDS_ITEM = 0x00010000,
                       CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
                       CDDS_ITEMPREERASE = CDDS_ITEM | CDDS_PREERASE,
                       CDDS_ITEMPOSTERASE = CDDS_ITEM | CDDS_POSTERASE, CDDS_SUBITEM = 0x00020000;
inline constexpr LRESULT CDRF_DODEFAULT = 0x000, CDRF_NEWFONT = 0x002, CDRF_SKIPDEFAULT = 0x004,
                         CDRF_DOERASE = 0x008, CDRF_SKIPPOSTPAINT = 0x100, CDRF_NOTIFYPOSTPAINT = 0x010,
                         CDRF_NOTIFYITEMDRAW = 0x020, CDRF_NOTIFYSUBITEMDRAW = 0x020,
                         CDRF_NOTIFYPOSTERASE = 0x040;
inline constexpr UINT CDIS_SELECTED = 0x0001, CDIS_GRAYED = 0x0002, CDIS_DISABLED = 0x0004,
                      CDIS_CHECKED = 0x0008, CDIS_FOCUS = 0x0010, CDIS_DEFAULT = 0x0020, CDIS_HOT = 0x0040,
                      CDIS_MARKED = 0x0080, CDIS_INDETERMINATE = 0x0100, CDIS_SHOWKEYBOARDCUES = 0x0200,
                      CDIS_NEARHOT = 0x0400, CDIS_OTHERSIDEHOT = 0x0800, CDIS_DROPHILITED = 0x1000;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;
