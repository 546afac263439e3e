// A bar floating as an MDI child: the child holds a floating dock bar as a mini dock
// frame does.
#include "platform/afx/afxpriv.h"
#include "platform/afx/afxres.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/winapp.h"
#include "platform/user/mdiclient.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/mdi_size_dock.h"

IMPLEMENT_DYNCREATE(COXMDIFloatWnd, COXMDIChildWndSizeDock)

BEGIN_MESSAGE_MAP(COXMDIFloatWnd, COXMDIChildWndSizeDock)
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

COXMDIFloatWnd::COXMDIFloatWnd() = default;

BOOL COXMDIFloatWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = pApp ? pApp->m_pMainWnd : nullptr;
    CMDIFrameWnd* pFrame = pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pMain)
                                                                               : nullptr;
    if (!pFrame && pParent && pParent->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParent);
    // No layout while the dock bar does not exist yet.
    m_bInRecalcLayout = TRUE;
    // Registered when missing (AfxRegisterWndClass finds a class it made before).
    const CString strClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr);
    if (!COXMDIChildWndSizeDock::Create(strClass, nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
            rectDefault, pFrame, nullptr))
        return FALSE;   // the failed window deleted this object
    DWORD dwDockStyle = (dwBarStyle & CBRS_ORIENT_VERT) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dwDockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
    if (!pParent || !m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        DestroyWindow();
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

CControlBar* COXMDIFloatWnd::GetFirstControlBar() const
{
    return m_wndDockBar.m_arrBars.GetSize() >= 2 ? m_wndDockBar.GetDockedControlBar(1) : nullptr;
}

BOOL COXMDIFloatWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!COXMDIChildWndSizeDock::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

void COXMDIFloatWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    COXMDIChildWndSizeDock::RecalcLayout(bNotify);
    zyn::afx::FollowDockBarTitle(this, &m_wndDockBar);
}

void COXMDIFloatWnd::OnAddContextMenuItems(HMENU /*hMenu*/) {}
void COXMDIFloatWnd::OnAddSystemMenuItems(CMenu* /*pSysMenu*/) {}

void COXMDIFloatWnd::OnSize(UINT nType, int cx, int cy)
{
    // The bar's borders hide under the window's edges.
    COXSizeControlBar::TrackFloatingSize(GetFirstControlBar(), m_wndDockBar.m_dwStyle, cx, cy);
    COXMDIChildWndSizeDock::OnSize(nType, cx, cy);
}

void COXMDIFloatWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    COXMDIChildWndSizeDock::OnWindowPosChanged(lpwndpos);
    if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)
        return;
    // Where the window is: where the bar floats again next time.
    CControlBar* pBar = GetFirstControlBar();
    if (pBar && pBar->m_pDockContext && m_hWnd) {
        CRect rect;
        GetWindowRect(&rect);
        pBar->m_pDockContext->m_ptMRUFloatPos = rect.TopLeft();
    }
}

void COXMDIFloatWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    if (bShow && nStatus == 0)
        SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    COXMDIChildWndSizeDock::OnShowWindow(bShow, nStatus);
}

void COXMDIFloatWnd::OnClose()
{
    CControlBar* pBar = GetFirstControlBar();
    const bool bSingleSizeBar = !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && pBar && pBar->m_hWnd &&
                                pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar));
    if (!bSingleSizeBar) {
        // Several bars, or one that is no size bar: they hide, as in a mini dock frame.
        m_wndDockBar.ShowAll(FALSE);
        if (m_wndDockBar.GetDockedVisibleCount() == 0 && IsWindowVisible())
            ShowWindow(SW_HIDE);
        return;
    }
    auto* pSizeBar = static_cast<COXSizeControlBar*>(pBar);
    if (pSizeBar->GetSizeDockStyle() & SZBARF_DESTROY_ON_CLOSE) {
        // The bar is taken before the window goes (and the bar's window with it), then
        // deleted once, even a bar that would delete itself with its window.
        pSizeBar->m_bAutoDelete = FALSE;
        COXMDIChildWndSizeDock::OnClose();
        delete pSizeBar;
        return;
    }
    pSizeBar->OnHide();
}
