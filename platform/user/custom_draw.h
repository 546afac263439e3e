#pragma once
// Custom drawing (NM_CUSTOMDRAW), shared by the standard controls that take part in it
// (push buttons, check boxes and radio buttons) and by the common controls.
//
// Before a control paints, its parent receives WM_NOTIFY NM_CUSTOMDRAW with an
// NMCUSTOMDRAW whose dwDrawStage is CDDS_PREPAINT. The answer decides the rest:
// CDRF_SKIPDEFAULT leaves the painting to the parent, CDRF_NOTIFYITEMDRAW asks for a
// CDDS_ITEMPREPAINT per part of the control (dwItemSpec names the part; its answer may
// skip that part's default painting or ask for CDDS_ITEMPOSTPAINT after it), and
// CDRF_NOTIFYPOSTPAINT asks for CDDS_POSTPAINT when everything is drawn.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

// The notification code (NM_FIRST - 12).
inline constexpr UINT NM_CUSTOMDRAW = 0u - 12u;

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

namespace zyn::user {

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

} // namespace zyn::user
