// The dockable MDI child: the dockable item, the title, closing and destruction.
#include <string>

#include "platform/afx/afxpriv.h"
#include "platform/afx/doc.h"
#include "platform/afx/menu.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/resource.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"
#include "toolkit/docking/mdi_size_dock.h"

IMPLEMENT_DYNCREATE(COXMDIChildWndSizeDock, CMDIChildWnd)

BEGIN_MESSAGE_MAP(COXMDIChildWndSizeDock, COXSizeDockFrameT<CMDIChildWnd>)
    ON_WM_MDIACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_CLOSE()
    ON_WM_CONTEXTMENU()
    ON_WM_PARENTNOTIFY()
    ON_WM_SYSCOMMAND()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_STYLECHANGING()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_SETTEXT, &COXMDIChildWndSizeDock::OnSetText)
END_MESSAGE_MAP()

COXMDIChildWndSizeDock::COXMDIChildWndSizeDock()
{
    if (!m_strMenuText.LoadString(IDS_ZYN_DOCK_MDICHILD))
        m_strMenuText = L"&Dock as a bar";
}

UINT COXMDIChildWndSizeDock::GetDockMessageID()
{
    static const UINT nID = ::RegisterWindowMessageW(L"_DOCK_MDICHILD_");
    return nID;
}

BOOL COXMDIChildWndSizeDock::IsDockableFrame() const { return GetSizeDockFrame() != nullptr; }

COXMDIFrameWndSizeDock* COXMDIChildWndSizeDock::GetSizeDockFrame() const
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(COXMDIFrameWndSizeDock)) ? static_cast<COXMDIFrameWndSizeDock*>(pFrame)
                                                                           : nullptr;
}

BOOL COXMDIChildWndSizeDock::MakeItDockable(BOOL bDockable)
{
    if (!IsDockableFrame())
        return FALSE;
    bDockable = bDockable ? TRUE : FALSE;
    if (m_bDockable == bDockable)
        return TRUE;
    BOOL bResult;
    if (bDockable) {
        bResult = m_wndViewBar.AttachMDIChild(this);
    } else {
        bResult = m_wndViewBar.DetachMDIChild(TRUE);
    }
    if (m_hWnd)
        RecalcLayout(TRUE);
    // The flag follows only a change that happened: a failed dock leaves an ordinary,
    // visible child, a failed undock a docked one.
    if (bResult)
        m_bDockable = bDockable;
    else if (bDockable && m_hWnd && !IsWindowVisible())
        ShowWindow(SW_SHOW);
    return bResult;
}

void COXMDIChildWndSizeDock::OnMakeItDockable() { MakeItDockable(!m_bDockable); }

CMDIChildWnd* COXMDIChildWndSizeDock::MDIGetActive(BOOL* pbMaximized) const
{
    if (COXMDIFrameWndSizeDock* pFrame = GetSizeDockFrame())
        return pFrame->MDIGetActive(pbMaximized);
    CMDIFrameWnd* pFrame = GetMDIFrame();
    CMDIChildWnd* pChild = pFrame ? pFrame->MDIGetActive(pbMaximized) : nullptr;
    return pChild && pChild->m_hWnd && ::IsWindow(pChild->m_hWnd) ? pChild : nullptr;
}

void COXMDIChildWndSizeDock::MDIActivate()
{
    if (COXMDIFrameWndSizeDock* pFrame = GetSizeDockFrame())
        pFrame->MDIActivate(this);
    else if (m_hWnd && ::GetParent(m_hWnd))
        ::SendMessageW(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void COXMDIChildWndSizeDock::MDIDestroy()
{
    if (m_hWnd && ::GetParent(m_hWnd))
        ::SendMessageW(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void COXMDIChildWndSizeDock::MDIMaximize()
{
    if (!m_bDockable && m_hWnd && ::GetParent(m_hWnd))
        ::SendMessageW(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void COXMDIChildWndSizeDock::MDIRestore()
{
    if (!m_bDockable && m_hWnd && ::GetParent(m_hWnd))
        ::SendMessageW(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL COXMDIChildWndSizeDock::UpdateClientEdge(LPRECT lpRect)
{
    BOOL bMax = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMax);
    return UpdateClientEdgeWith(pActive, bMax, lpRect);
}

void COXMDIChildWndSizeDock::OnAddContextMenuItems(HMENU hMenu)
{
    if (hMenu)
        ::AppendMenuW(hMenu, MF_STRING | (m_bDockable ? MF_CHECKED : MF_UNCHECKED), GetDockMessageID(), m_strMenuText);
}

void COXMDIChildWndSizeDock::OnAddSystemMenuItems(CMenu* pSysMenu)
{
    if (!pSysMenu || !pSysMenu->m_hMenu)
        return;
    ::AppendMenuW(pSysMenu->m_hMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(pSysMenu->m_hMenu, MF_STRING | (m_bDockable ? MF_CHECKED : MF_UNCHECKED), GetDockMessageID(),
        m_strMenuText);
}

// ---- overrides --------------------------------------------------------------------------------------------------

BOOL COXMDIChildWndSizeDock::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL COXMDIChildWndSizeDock::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && LOWORD(wParam) == (GetDockMessageID() & 0xFFFF)) {
        OnMakeItDockable();
        return TRUE;
    }
    return CMDIChildWnd::OnCommand(wParam, lParam);
}

BOOL COXMDIChildWndSizeDock::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    // Made hidden, then shown and activated the way this frame counts activation.
    const BOOL bVisible = (dwStyle & WS_VISIBLE) != 0;
    if (!CMDIChildWnd::Create(lpszClassName, lpszWindowName, dwStyle & ~(WS_VISIBLE | WS_MAXIMIZE), rect, pParentWnd,
            pContext))
        return FALSE;
    if (bVisible) {
        ::BringWindowToTop(m_hWnd);
        ShowWindow((dwStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
        if (CMDIFrameWnd* pFrame = GetMDIFrame())
            ::SendMessageW(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    if (GetStyle() & WS_SYSMENU)
        OnAddSystemMenuItems(GetSystemMenu(FALSE));
    return TRUE;
}

BOOL COXMDIChildWndSizeDock::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    m_bClosing = TRUE;
    if (m_wndViewBar.m_hWnd && !m_wndViewBar.IsBeingDestroyed())
        m_wndViewBar.DestroyWindow();
    CMDIFrameWnd* pFrame = GetMDIFrame();
    const HWND hFrame = pFrame ? pFrame->m_hWnd : nullptr;
    const DWORD dwFrameStyle = pFrame ? pFrame->GetStyle() : 0;
    if (pFrame) {
        pFrame->ModifyStyle(FWS_ADDTOTITLE, 0);
        pFrame->SetActiveView(nullptr, FALSE);
    }
    COXMDIFrameWndSizeDock* pSizeFrame = GetSizeDockFrame();
    if (pSizeFrame && pSizeFrame->GetActiveChild() == this)
        pSizeFrame->SetActiveChild(nullptr);
    MDIDestroy();   // this object is gone now
    if (hFrame && ::IsWindow(hFrame)) {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(hFrame); pWnd && pWnd->IsFrameWnd()) {
            pWnd->ModifyStyle(0, dwFrameStyle & FWS_ADDTOTITLE);
            static_cast<CFrameWnd*>(pWnd)->OnUpdateFrameTitle(TRUE);
        }
    }
    return TRUE;
}

BOOL COXMDIChildWndSizeDock::PreTranslateMessage(MSG* pMsg) { return PreTranslateMessageWith(MDIGetActive(), pMsg); }

void COXMDIChildWndSizeDock::ActivateFrame(int nCmdShow)
{
    BOOL bMax = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMax);
    if (m_bDockable) {
        // A docked child never shows: it is activated where it lives, as a bar.
        MDIActivate();
        return;
    }
    if (nCmdShow == -1 && !IsWindowVisible()) {
        if ((pActive && bMax) || (GetStyle() & WS_MAXIMIZE))
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (GetStyle() & WS_MINIMIZE)
            nCmdShow = SW_SHOWMINIMIZED;
    }
    if (nCmdShow != -1) {
        BringToTop(nCmdShow);
        ShowWindow(nCmdShow);
    }
    MDIActivate();
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
        ::SendMessageW(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
        if (!pFrame->IsWindowVisible())
            pFrame->ActivateFrame(-1);
    }
}

void COXMDIChildWndSizeDock::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    m_nIdleFlags &= ~idleTitle;
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle)
        return;
    CDocument* pDoc = GetActiveDocument();
    if (!pDoc)
        return;
    // The whole title, however long, with the window number when there is more than one.
    CString text = pDoc->GetTitle();
    if (m_nWindow > 0) {
        text += L":";
        text += std::to_wstring(m_nWindow).c_str();
    }
    AfxSetWindowText(m_hWnd, text);
    if (m_bDockable && m_wndViewBar.m_hWnd)
        m_wndViewBar.SetWindowText(text);
}

// ---- messages ---------------------------------------------------------------------------------------------------

void COXMDIChildWndSizeDock::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    // A client activation of an ordinary child ends the docked child's turn.
    if (bActivate && !m_bDockable)
        if (COXMDIFrameWndSizeDock* pFrame = GetSizeDockFrame(); pFrame && pFrame->GetActiveChild())
            pFrame->MDIActivate(this);
}

BOOL COXMDIChildWndSizeDock::OnNcActivate(BOOL bActive)
{
    // Only the child this frame counts as active draws an active caption.
    if (COXMDIFrameWndSizeDock* pFrame = GetSizeDockFrame(); pFrame && bActive && pFrame->MDIGetActive() != this)
        bActive = FALSE;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void COXMDIChildWndSizeDock::OnClose()
{
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc && !pDoc->CanCloseFrame(this)) {
        m_bClosing = FALSE;
        return;
    }
    if (pDoc && pDoc->m_bAutoDelete) {
        // The last frame of the document closes the document (and so this frame).
        bool bOther = false;
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos && !bOther;) {
            CFrameWnd* pFrame = zyn::sizedock::FrameOfView(pDoc->GetNextView(pos));
            bOther = pFrame && pFrame != this;
        }
        if (!bOther) {
            pDoc->OnCloseDocument();
            return;
        }
    }
    if (pDoc)
        pDoc->PreCloseFrame(this);
    DestroyWindow();
}

void COXMDIChildWndSizeDock::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    OnAddContextMenuItems(menu.m_hMenu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void COXMDIChildWndSizeDock::OnParentNotify(UINT message, LPARAM lParam)
{
    CMDIChildWnd::OnParentNotify(message, lParam);
    if (LOWORD(message) != WM_DESTROY)
        return;
    CWnd* pWnd = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CView)))
        return;
    if (GetActiveView() == pWnd)
        SetActiveView(nullptr, FALSE);
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->GetActiveView() == pWnd)
        pFrame->SetActiveView(nullptr, FALSE);
}

void COXMDIChildWndSizeDock::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFFF) == (GetDockMessageID() & 0xFFFF)) {
        OnMakeItDockable();
        return;
    }
    CMDIChildWnd::OnSysCommand(nID, lParam);
}

void COXMDIChildWndSizeDock::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
    Default();
    if (nHitTest == HTCAPTION && !(GetStyle() & WS_SYSMENU))
        OnContextMenu(this, point);
}

void COXMDIChildWndSizeDock::OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct)
{
    // A docked child stays hidden, whoever shows it.
    if (m_bDockable && nStyleType == GWL_STYLE && lpStyleStruct)
        lpStyleStruct->styleNew &= ~WS_VISIBLE;
    CMDIChildWnd::OnStyleChanging(nStyleType, lpStyleStruct);
}

void COXMDIChildWndSizeDock::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    if (m_bDockable && lpwndpos)
        lpwndpos->flags &= ~SWP_SHOWWINDOW;
    CMDIChildWnd::OnWindowPosChanging(lpwndpos);
}

LRESULT COXMDIChildWndSizeDock::OnSetText(WPARAM wParam, LPARAM lParam)
{
    if (m_bDockable && m_wndViewBar.m_hWnd && lParam)
        m_wndViewBar.SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
    return Default();
}
