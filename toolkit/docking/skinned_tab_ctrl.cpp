// COXSkinnedTabCtrl: a tab control painted by the tab skin.
#include "toolkit/docking/skinned_tab_ctrl.h"

IMPLEMENT_DYNAMIC(COXSkinnedTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedTabCtrl, CTabCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COXSkinnedTabCtrl::COXSkinnedTabCtrl() = default;

COXSkinnedTabCtrl::~COXSkinnedTabCtrl() = default;

COXTabSkin* COXSkinnedTabCtrl::GetTabSkin() { return m_skin.Get(); }

// filled below: the tab skin paints.
void COXSkinnedTabCtrl::OnPaint() { Default(); }
