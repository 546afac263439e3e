// The MDI size-dock frame: floating as MDI children, the frame's own active child, and the
// MDI routines run with it.
#include <algorithm>
#include <vector>

#include "platform/afx/afxpriv.h"
#include "platform/afx/afxres.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/ole/afxole.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/user/mdiclient.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/mdi_size_dock.h"

IMPLEMENT_DYNCREATE(COXMDIFrameWndSizeDock, CMDIFrameWnd)

namespace zyn::sizedock {
// Installs the MDI unit's answers to the docking seam (once, unless a stand-in is in).
void InstallMDISeam();
} // namespace zyn::sizedock

BEGIN_MESSAGE_MAP(COXMDIFrameWndSizeDock, COXSizeDockFrameT<CMDIFrameWnd>)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_COMMANDHELP, &COXMDIFrameWndSizeDock::OnCommandHelp)
    ON_WM_CLOSE()
    ON_WM_ACTIVATE()
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &COXMDIFrameWndSizeDock::OnBarCheck)
    ON_COMMAND(ID_WINDOW_NEW, &COXMDIFrameWndSizeDock::OnWindowNew)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, &COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, &COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, &COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, &COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, &COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

COXMDIFrameWndSizeDock::COXMDIFrameWndSizeDock() { zyn::sizedock::InstallMDISeam(); }

// ---- floating ---------------------------------------------------------------------------------------------------

void COXMDIFrameWndSizeDock::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (CDockBar* pDock = pBar->m_pDockSite ? pBar->m_pDockBar : nullptr;
        pDock && pDock->m_bFloating && pDock->GetDockedCount() == 1 && (dwStyle & pDock->m_dwStyle & CBRS_ALIGN_ANY)) {
        if (CFrameWnd* pFloat = pDock->GetParentFrame()) {
            pFloat->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pFloat->RecalcLayout(TRUE);
            pFloat->UpdateWindow();
        }
        return;
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT)
            dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* pFloat = CreateFloatingFrame(dwStyle);
    if (!pFloat)
        AfxThrowResourceException();
    pFloat->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFloat->m_wndDockBar.DockControlBar(pBar);
    pFloat->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        pFloat->ShowWindow(SW_SHOWNA);
        pFloat->UpdateWindow();
    }
}

void COXMDIFrameWndSizeDock::FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bShow)
{
    if (!pBar || !pBar->m_hWnd || !m_hWndMDIClient)
        return;
    // In the client's coordinates, the whole window (its borders and caption too) kept
    // inside the client; a window larger than the client keeps its left and top edges in.
    ::ScreenToClient(m_hWndMDIClient, &point);
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    const auto inside = [&](const CWnd* pWnd) {
        CRect outer;
        pWnd->GetWindowRect(&outer);
        return CPoint(std::max(std::min(point.x, client.right - outer.Width()), client.left),
            std::max(std::min(point.y, client.bottom - outer.Height()), client.top));
    };

    if (CDockBar* pDock = pBar->m_pDockBar; pDock && pDock->m_bFloating && pDock->GetDockedCount() == 1 &&
                                            (pDock->m_dwStyle & CBRS_ALIGN_ANY) == (dwStyle & CBRS_ALIGN_ANY)) {
        CFrameWnd* pFrame = pDock->GetParentFrame();
        if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(COXMDIFloatWnd))) {
            const CPoint at = inside(pFrame);
            pFrame->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
    }
    auto* pFloat = static_cast<COXMDIFloatWnd*>(RUNTIME_CLASS(COXMDIFloatWnd)->CreateObject());
    if (!pFloat || !pFloat->Create(this, dwStyle))
        AfxThrowResourceException();   // a window that failed deleted its object
    const CPoint at = inside(pFloat);
    pFloat->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFloat->GetDockBar().DockControlBar(pBar);
    pFloat->RecalcLayout(TRUE);
    if (bShow) {
        pFloat->ShowWindow(SW_SHOWNA);
        pFloat->UpdateWindow();
    }
    ::SendMessageW(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

void COXMDIFrameWndSizeDock::UnFloatInMDIChild(CControlBar* pBar, CPoint /*point*/, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CFrameWnd* pOld = pBar->GetParentFrame();
    CRect rect;
    if (pOld)
        pOld->GetWindowRect(&rect);
    CMiniDockFrameWnd* pFloat = CreateFloatingFrame(dwStyle);
    if (!pFloat)
        AfxThrowResourceException();
    pFloat->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFloat->m_wndDockBar.DockControlBar(pBar);
    pFloat->RecalcLayout(TRUE);
    pFloat->ShowWindow(SW_SHOWNA);
    pFloat->UpdateWindow();
    if (m_hWndMDIClient)
        ::SendMessageW(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

void COXMDIFrameWndSizeDock::ArrangeFloatingBars(DWORD dwOrient)
{
    CObArray arr;
    GetFloatingBars(arr);
    ArrangeWindows(arr, dwOrient);
    // The mark a drag-float leaves on a frame is spent once it has been packed.
    for (INT_PTR i = arr.GetSize() - 1; i >= 0; --i) {
        auto* pWnd = static_cast<CWnd*>(arr[i]);
        if (pWnd && pWnd->m_hWnd)
            ::SetWindowLongW(pWnd->m_hWnd, GWL_STYLE, ::GetWindowLongW(pWnd->m_hWnd, GWL_STYLE) & ~0x0001);
    }
}

void COXMDIFrameWndSizeDock::ArrangeWindows(CObArray& arr, DWORD dwOrient)
{
    if (CWnd* pClient = m_hWndMDIClient ? CWnd::FromHandle(m_hWndMDIClient) : nullptr)
        zyn::sizedock::ArrangeWindows(*pClient, arr, dwOrient);
}

// ---- the active child -------------------------------------------------------------------------------------------

CMDIChildWnd* COXMDIFrameWndSizeDock::MDIGetActive(BOOL* pbMaximized) const
{
    if (m_pActiveDockChild) {
        if (pbMaximized)
            *pbMaximized = FALSE;
        if (m_pActiveDockChild->m_hWnd && ::IsWindow(m_pActiveDockChild->m_hWnd))
            return m_pActiveDockChild;
        return nullptr;
    }
    CMDIChildWnd* pChild = CMDIFrameWnd::MDIGetActive(pbMaximized);
    if (pChild && (!pChild->m_hWnd || !::IsWindow(pChild->m_hWnd)))
        return nullptr;
    return pChild;
}

void COXMDIFrameWndSizeDock::MDIActivate(CWnd* pWnd)
{
    if (IsDockable(pWnd)) {
        m_pActiveDockChild = static_cast<COXMDIChildWndSizeDock*>(pWnd);
    } else {
        m_pActiveDockChild = nullptr;
        CMDIFrameWnd::MDIActivate(pWnd);
    }
    HookActivation();
}

void COXMDIFrameWndSizeDock::MDIMaximize(CWnd* pWnd)
{
    if (!IsDockable(pWnd))
        CMDIFrameWnd::MDIMaximize(pWnd);
}

void COXMDIFrameWndSizeDock::MDIRestore(CWnd* pWnd)
{
    if (!IsDockable(pWnd))
        CMDIFrameWnd::MDIRestore(pWnd);
}

BOOL COXMDIFrameWndSizeDock::IsDockable(const CWnd* pWnd)
{
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXMDIChildWndSizeDock)) &&
           static_cast<const COXMDIChildWndSizeDock*>(pWnd)->IsDockable();
}

BOOL COXMDIFrameWndSizeDock::IsFrontChildMaximized() const
{
    BOOL bMax = FALSE;
    return CMDIFrameWnd::MDIGetActive(&bMax) && bMax;
}

void COXMDIFrameWndSizeDock::SetActiveChild(CWnd* pWnd)
{
    m_pActiveDockChild = pWnd && pWnd->m_hWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXMDIChildWndSizeDock))
                             ? static_cast<COXMDIChildWndSizeDock*>(pWnd)
                             : nullptr;
}

CWnd* COXMDIFrameWndSizeDock::GetActiveChild()
{
    if (m_pActiveDockChild && (!m_pActiveDockChild->m_hWnd || !::IsWindow(m_pActiveDockChild->m_hWnd)))
        m_pActiveDockChild = nullptr;
    return m_pActiveDockChild;
}

BOOL COXMDIFrameWndSizeDock::IsChild(const CWnd* pWnd) const
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
        CFrameWnd* pParent = pWnd->GetParentFrame();
        if (pParent && pParent->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
            return TRUE;   // a view floating with its docked child counts as this frame's
    }
    return m_hWnd && ::IsChild(m_hWnd, pWnd->m_hWnd);
}

void COXMDIFrameWndSizeDock::HookActivation()
{
    if (!m_hWnd || !m_hWndMDIClient)
        return;
    CMDIChildWnd* pActive = MDIGetActive();
    // Only the active child's caption is drawn active.
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    for (const HWND h : children) {
        CWnd* pWnd = ::IsWindow(h) ? CWnd::FromHandlePermanent(h) : nullptr;
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXMDIChildWndSizeDock)))
            pWnd->SendMessage(WM_NCACTIVATE, pWnd == pActive, 0);
    }
    if (CView* pView = GetActiveView(); pView && pView->m_hWnd) {
        // A view floating with its docked child is lent to this frame while it is made active.
        CFrameWnd* pParent = pView->GetParentFrame();
        const bool bLend = pParent && pParent->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) && pView->IsWindowVisible();
        const HWND hOldParent = bLend ? ::GetParent(pView->m_hWnd) : nullptr;
        if (bLend) {
            pView->ModifyStyle(WS_VISIBLE, 0);
            pView->SetParent(this);
        }
        SetActiveView(pView, TRUE);
        if (bLend) {
            ::SetParent(pView->m_hWnd, hOldParent);
            pView->ModifyStyle(0, WS_VISIBLE);
        }
    }
    OnUpdateFrameTitle(TRUE);
}

void COXMDIFrameWndSizeDock::UndockAllViews()
{
    if (!m_hWndMDIClient)
        return;
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    for (const HWND h : children) {
        CWnd* pWnd = ::IsWindow(h) ? CWnd::FromHandlePermanent(h) : nullptr;
        if (!IsDockable(pWnd))
            continue;
        auto* pChild = static_cast<COXMDIChildWndSizeDock*>(pWnd);
        if (pChild->GetViewBar().m_hWnd)
            pChild->GetViewBar().DetachMDIChild(FALSE);
    }
}

// ---- messages and overrides -------------------------------------------------------------------------------------------

void COXMDIFrameWndSizeDock::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    if (m_pActiveSizeBar && m_pActiveSizeBar->m_hWnd && !m_bInActivate) {
        m_bInActivate = TRUE;
        if (nState == WA_ACTIVE)
            m_pActiveSizeBar->SetActive(TRUE, TRUE);
        else if (nState == WA_INACTIVE)
            m_pActiveSizeBar->SetActive(FALSE, FALSE);
        m_bInActivate = FALSE;
    }
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

void COXMDIFrameWndSizeDock::OnClose()
{
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pApp->SaveAllModified()) {
            m_bClosing = FALSE;
            return;
        }
        for (POSITION tp = pApp->GetFirstDocTemplatePosition(); tp;) {
            CDocTemplate* pTemplate = pApp->GetNextDocTemplate(tp);
            for (POSITION dp = pTemplate ? pTemplate->GetFirstDocPosition() : nullptr; dp;)
                if (CDocument* pDoc = pTemplate->GetNextDoc(dp))
                    pDoc->SetModifiedFlag(FALSE);
        }
        pApp->HideApplication();
        UndockAllViews();
        pApp->CloseAllDocuments(FALSE);
        if (!AfxOleCanExitApp()) {
            // Something still uses the application: it stays, closing cleared.
            m_bClosing = FALSE;
            return;
        }
        if (!pApp->m_pMainWnd) {
            AfxPostQuitMessage(0);
            return;
        }
    }
    DestroyWindow();
}

BOOL COXMDIFrameWndSizeDock::OnBarCheck(UINT nID)
{
    if (!CFrameWnd::OnBarCheck(nID))
        return FALSE;
    CControlBar* pBar = GetControlBar(nID);
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) && pBar->m_pDockSite && pBar->m_pDockBar &&
        !pBar->IsVisible() && MDIGetActive() == pBar->GetParentFrame())
        MDINext();   // the bar floated as the active child: the next one takes over
    if (m_hWndMDIClient)
        ::SendMessageW(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    return TRUE;
}

void COXMDIFrameWndSizeDock::OnDestroy()
{
    zyn::sizedock::OnDestroyFrame(*this);
    m_pActiveDockChild = nullptr;
    m_pActiveSizeBar = nullptr;
    CMDIFrameWnd::OnDestroy();
}

BOOL COXMDIFrameWndSizeDock::DestroyWindow()
{
    SetActiveView(nullptr, FALSE);
    return CMDIFrameWnd::DestroyWindow();
}

BOOL COXMDIFrameWndSizeDock::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (OnCmdMsgWith(MDIGetActive(), nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // No one took it: a view lent by a floating docked child is not kept as this frame's.
    if (nCode == CN_COMMAND && !pHandlerInfo && GetActiveView() && GetActiveView()->GetParentFrame() != this)
        SetActiveView(nullptr, FALSE);
    return FALSE;
}

BOOL COXMDIFrameWndSizeDock::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return OnCommandWith(MDIGetActive(), wParam, lParam);
}

LRESULT COXMDIFrameWndSizeDock::OnCommandHelp(WPARAM wParam, LPARAM lParam)
{
    return OnCommandHelpWith(MDIGetActive(), wParam, lParam);
}

BOOL COXMDIFrameWndSizeDock::PreTranslateMessage(MSG* pMsg) { return PreTranslateMessageWith(MDIGetActive(), pMsg); }

LRESULT COXMDIFrameWndSizeDock::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // With a docked child active the client's title merge has nothing to merge.
    if (message == WM_SETTEXT && IsDockable(GetActiveChild()))
        return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
    return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

CFrameWnd* COXMDIFrameWndSizeDock::GetActiveFrame() { return GetActiveFrameWith(MDIGetActive()); }

void COXMDIFrameWndSizeDock::OnUpdateFrameTitle(BOOL bAddToTitle) { OnUpdateFrameTitleWith(MDIGetActive(), bAddToTitle); }

void COXMDIFrameWndSizeDock::OnUpdateFrameMenu(HMENU hMenuAlt) { OnUpdateFrameMenuWith(MDIGetActive(), hMenuAlt); }

void COXMDIFrameWndSizeDock::OnWindowNew()
{
    if (OnWindowNewWith(MDIGetActive()))
        HookActivation();
}

void COXMDIFrameWndSizeDock::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { OnUpdateMDIWindowCmdWith(MDIGetActive(), pCmdUI); }
