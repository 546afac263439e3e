#pragma once
// What several common controls share: the CCS_ placement styles of bars, the CCM_
// messages every control answers, the generic NM_ notification codes with the structures
// they carry, and custom drawing (NM_CUSTOMDRAW).
//
// Custom drawing: before a control paints, its parent receives WM_NOTIFY NM_CUSTOMDRAW
// with an NMCUSTOMDRAW whose dwDrawStage is CDDS_PREPAINT. The answer decides the rest:
// CDRF_SKIPDEFAULT leaves the painting to the parent, CDRF_NOTIFYITEMDRAW asks for a
// CDDS_ITEMPREPAINT per part of the control (dwItemSpec names the part; its answer may
// skip that part's default painting or ask for CDDS_ITEMPOSTPAINT after it), and
// CDRF_NOTIFYPOSTPAINT asks for CDDS_POSTPAINT when everything is drawn.
#include "platform/base/wintypes.h"
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
                      NM_SETFOCUS = NM_FIRST - 7, NM_KILLFOCUS = NM_FIRST - 8, NM_CUSTOMDRAW = NM_FIRST - 12,
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

// ---- custom drawing --------------------------------------------------------------------------------------
inline constexpr DWORD CDDS_PREPAINT = 0x00000001, CDDS_POSTPAINT = 0x00000002, CDDS_PREERASE = 0x00000003,
                       CDDS_POSTERASE = 0x00000004, CDDS_ITEM = 0x00010000,
                       CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
                       CDDS_ITEMPREERASE = CDDS_ITEM | CDDS_PREERASE, CDDS_ITEMPOSTERASE = CDDS_ITEM | CDDS_POSTERASE,
                       CDDS_SUBITEM = 0x00020000;
inline constexpr LRESULT CDRF_DODEFAULT = 0x00, CDRF_NEWFONT = 0x02, CDRF_SKIPDEFAULT = 0x04, CDRF_DOERASE = 0x08,
                         CDRF_NOTIFYPOSTPAINT = 0x10, CDRF_NOTIFYITEMDRAW = 0x20, CDRF_NOTIFYSUBITEMDRAW = 0x20,
                         CDRF_NOTIFYPOSTERASE = 0x40, CDRF_SKIPPOSTPAINT = 0x100;
inline constexpr UINT CDIS_SELECTED = 0x0001, CDIS_GRAYED = 0x0002, CDIS_DISABLED = 0x0004, CDIS_CHECKED = 0x0008,
                      CDIS_FOCUS = 0x0010, CDIS_DEFAULT = 0x0020, CDIS_HOT = 0x0040, CDIS_MARKED = 0x0080,
                      CDIS_INDETERMINATE = 0x0100, CDIS_SHOWKEYBOARDCUES = 0x0200,
                      CDIS_NEARHOT = 0x0400, CDIS_OTHERSIDEHOT = 0x0800, CDIS_DROPHILITED = 0x1000;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;              // the item's rectangle (the client area for the whole control)
    DWORD_PTR dwItemSpec; // which item (the control's own codes)
    UINT uItemState;      // CDIS_*
    LPARAM lItemlParam;
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;
using NMCUSTOMDRAWINFO = NMCUSTOMDRAW;

namespace zyn::comctl {

// Sends WM_NOTIFY with `hdr` (its hwndFrom, idFrom and code filled in from `ctl`) to the
// control's parent (the owner of a top-level control); the parent's answer, 0 without one.
LRESULT SendNotify(HWND ctl, UINT code, NMHDR& hdr);

// Asks the control's notify window (as SendNotify finds it) with WM_NOTIFYFORMAT
// (NF_QUERY or NF_REQUERY as `query`) which form of notifications it takes: true for the
// narrow one (NFR_ANSI). A control asks when it is created and again on NF_REQUERY.
bool NotifyWindowWantsAnsi(HWND ctl, LPARAM query);

// One custom-draw conversation of a paint: the answer to CDDS_PREPAINT decides which of
// the later stages are sent.
class CustomDraw {
public:
    CustomDraw(HWND ctl, HDC hdc, const RECT& client, UINT state);
    // CDDS_PREPAINT; false when the parent asked to skip the default painting.
    bool PrePaint();
    // CDDS_ITEMPREPAINT for one item (only when the parent asked for item notifications);
    // false when the parent drew the item itself.
    bool ItemPrePaint(DWORD_PTR item, const RECT& rc, UINT state);
    // CDDS_ITEMPOSTPAINT when the item's pre-paint answer asked for it.
    void ItemPostPaint(DWORD_PTR item, const RECT& rc, UINT state);
    // CDDS_POSTPAINT when the pre-paint answer asked for it.
    void PostPaint();

private:
    LRESULT Send(DWORD stage, DWORD_PTR item, const RECT& rc, UINT state);

    HWND m_ctl;
    HDC m_hdc;
    RECT m_client;
    UINT m_state;
    LRESULT m_pre = CDRF_DODEFAULT;
    LRESULT m_item = CDRF_DODEFAULT;
};

} // namespace zyn::comctl
