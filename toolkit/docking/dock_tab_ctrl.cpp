// COXDockTabCtrl: the tabs of the bars sharing one place in a size dock bar.
#include "toolkit/docking/dock_tab_ctrl.h"

#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

IMPLEMENT_DYNAMIC(COXDockTabCtrl, COXSkinnedTabCtrl)

BEGIN_MESSAGE_MAP(COXDockTabCtrl, COXSkinnedTabCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, &COXDockTabCtrl::OnSelChange)
    ON_WM_CREATE()
END_MESSAGE_MAP()

COXDockTabCtrl::COXDockTabCtrl(COXSizeDockBar* pDockBar) : m_pDockBar(pDockBar) {}

COXDockTabCtrl::~COXDockTabCtrl() = default;

// filled below
void COXDockTabCtrl::InsertTab(CControlBar* /*pBar*/, int /*nIndex*/, BOOL /*bShowSelectedTab*/) {}

// filled below
void COXDockTabCtrl::RemoveTab(CControlBar* /*pBar*/) {}

// filled below
void COXDockTabCtrl::ShowSelectedTab() {}

// filled below
int COXDockTabCtrl::FindTab(CControlBar* /*pBar*/) { return -1; }

// filled below
CControlBar* COXDockTabCtrl::GetBar(int /*nIndex*/) { return nullptr; }

// filled below
int COXDockTabCtrl::HitTestTabControl(CPoint /*point*/, CControlBar* /*pBar*/) { return -1; }

// filled below
void COXDockTabCtrl::RepositionTabs(int /*nFrom*/, int /*nTo*/, CPoint /*point*/) {}

// filled below
void COXDockTabCtrl::OnLButtonDown(UINT nFlags, CPoint point) { COXSkinnedTabCtrl::OnLButtonDown(nFlags, point); }

// filled below
void COXDockTabCtrl::OnMouseMove(UINT nFlags, CPoint point) { COXSkinnedTabCtrl::OnMouseMove(nFlags, point); }

// filled below
void COXDockTabCtrl::OnSelChange(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    if (pResult)
        *pResult = 0;
}

// filled below
int COXDockTabCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) { return COXSkinnedTabCtrl::OnCreate(lpCreateStruct); }
