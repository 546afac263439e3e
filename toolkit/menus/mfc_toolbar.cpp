#include "toolkit/menus/mfc_toolbar.h"

IMPLEMENT_DYNAMIC(CMFCToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CMFCToolBar, CToolBar)
END_MESSAGE_MAP()

CMFCToolBar::~CMFCToolBar() = default;

BOOL CMFCToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    // The bar is docked where it belongs afterwards; until then it sits at the top.
    dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    return CToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID);
}

void CMFCToolBar::SetBarStyle(DWORD dwStyle)
{
    if (m_hWnd)
        EnableToolTips((dwStyle & CBRS_TOOLTIPS) != 0);
    CControlBar::SetBarStyle(dwStyle);
}
