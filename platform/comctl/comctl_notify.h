#pragma once
// What every common control shares with its parent: the generic WM_NOTIFY codes (NM_*)
// and custom draw (NM_CUSTOMDRAW with NMCUSTOMDRAW, its draw stages and answers).
//
// Custom draw, as a control runs it: one CDDS_PREPAINT for the paint; an answer with
// CDRF_NOTIFYITEMDRAW asks for CDDS_ITEMPREPAINT before each item (and CDDS_ITEMPOSTPAINT
// after it when that answer has CDRF_NOTIFYPOSTPAINT); CDRF_SKIPDEFAULT means the parent
// drew the item itself; CDRF_NEWFONT means it selected a font into the DC (or changed the
// colours) for the control to use; CDRF_NOTIFYPOSTPAINT on CDDS_PREPAINT asks for one
// CDDS_POSTPAINT at the end.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

// ---- generic notification codes -----------------------------------------------------------------------
inline constexpr UINT NM_FIRST = 0u, NM_LAST = 0u - 99u;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1, NM_CLICK = NM_FIRST - 2, NM_DBLCLK = NM_FIRST - 3,
                      NM_RETURN = NM_FIRST - 4, NM_RCLICK = NM_FIRST - 5, NM_RDBLCLK = NM_FIRST - 6,
                      NM_SETFOCUS = NM_FIRST - 7, NM_KILLFOCUS = NM_FIRST - 8, NM_CUSTOMDRAW = NM_FIRST - 12,
                      NM_HOVER = NM_FIRST - 13, NM_NCHITTEST = NM_FIRST - 14, NM_KEYDOWN = NM_FIRST - 15,
                      NM_RELEASEDCAPTURE = NM_FIRST - 16, NM_SETCURSOR = NM_FIRST - 17, NM_CHAR = NM_FIRST - 18;

// ---- custom draw ------------------------------------------------------------------------------------------
inline constexpr DWORD CDDS_PREPAINT = 0x00000001, CDDS_POSTPAINT = 0x00000002, CDDS_PREERASE = 0x00000003,
                       CDDS_POSTERASE = 0x00000004, CDDS_ITEM = 0x00010000, CDDS_ITEMPREPAINT = CDDS_ITEM | 0x1,
                       CDDS_ITEMPOSTPAINT = CDDS_ITEM | 0x2, CDDS_ITEMPREERASE = CDDS_ITEM | 0x3,
                       CDDS_ITEMPOSTERASE = CDDS_ITEM | 0x4, CDDS_SUBITEM = 0x00020000;
inline constexpr LRESULT CDRF_DODEFAULT = 0x00, CDRF_NEWFONT = 0x02, CDRF_SKIPDEFAULT = 0x04, CDRF_DOERASE = 0x08,
                         CDRF_NOTIFYPOSTPAINT = 0x10, CDRF_NOTIFYITEMDRAW = 0x20, CDRF_NOTIFYSUBITEMDRAW = 0x20,
                         CDRF_NOTIFYPOSTERASE = 0x40, CDRF_SKIPPOSTPAINT = 0x100;
inline constexpr UINT CDIS_SELECTED = 0x0001, CDIS_GRAYED = 0x0002, CDIS_DISABLED = 0x0004, CDIS_CHECKED = 0x0008,
                      CDIS_FOCUS = 0x0010, CDIS_DEFAULT = 0x0020, CDIS_HOT = 0x0040, CDIS_MARKED = 0x0080,
                      CDIS_INDETERMINATE = 0x0100, CDIS_SHOWKEYBOARDCUES = 0x0200;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;               // the whole control (stages without CDDS_ITEM) or the item
    DWORD_PTR dwItemSpec;  // the item's index
    UINT uItemState;       // CDIS_*
    LPARAM lItemlParam;    // the item's application value
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;
