// COXSkinnedTabCtrl: a tab control painted by the tab skin.
#include "toolkit/docking/skinned_tab_ctrl.h"

IMPLEMENT_DYNAMIC(COXSkinnedTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedTabCtrl, CTabCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COXSkinnedTabCtrl::COXSkinnedTabCtrl() = default;

COXSkinnedTabCtrl::~COXSkinnedTabCtrl()
{
    // The window goes while the embedded arrows are still whole, so they see their own
    // WM_DESTROY and give back their use of the class's hover hook.
    if (m_hWnd)
        DestroyWindow();
}

COXTabSkin* COXSkinnedTabCtrl::GetTabSkin() { return m_skin.Get(); }

void COXSkinnedTabCtrl::InsetClientArea(NCCALCSIZE_PARAMS* lpncsp, int nOffset)
{
    RECT& r = lpncsp->rgrc[0];
    if (r.right - r.left > 2 * nOffset) {
        r.left += nOffset;
        r.right -= nOffset;
    } else {
        r.right = r.left;
    }
    if (r.bottom - r.top > 2 * nOffset) {
        r.top += nOffset;
        r.bottom -= nOffset;
    } else {
        r.bottom = r.top;
    }
}

void COXSkinnedTabCtrl::OnPaint()
{
    // The skin makes the paint DC (or lets the control's own painting make it).
    GetTabSkin()->OnPaintTabCtrl(this);
}
