// The view bar that carries a docked MDI child's view, and the wrapper that holds the view
// while the bar is docked.
#include "platform/afx/afxstate.h"
#include "platform/afx/doc.h"
#include "platform/afx/menu.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/gdi/icon.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/mdi_size_dock.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"

IMPLEMENT_DYNAMIC(COXSizeViewBar, COXSizeControlBar)

namespace zyn::sizedock {

CFrameWnd* FrameOfView(CWnd* pView)
{
    if (!pView || !pView->m_hWnd)
        return nullptr;
    for (HWND h = ::GetParent(pView->m_hWnd); h; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (!pWnd)
            continue;
        if (pWnd->IsKindOf(RUNTIME_CLASS(COXSizeViewBar))) {
            COXMDIChildWndSizeDock* pChild = static_cast<COXSizeViewBar*>(pWnd)->GetChild();
            return pChild && pChild->m_hWnd && ::IsWindow(pChild->m_hWnd) ? pChild : nullptr;
        }
        if (pWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}

} // namespace zyn::sizedock

namespace {

constexpr const wchar_t* kWrapperClass = L"MDIChildWndDockWrapper";

bool Alive(const CWnd* pWnd) { return pWnd && pWnd->m_hWnd && ::IsWindow(pWnd->m_hWnd); }

} // namespace

// ==== the wrapper ==============================================================================================

BEGIN_MESSAGE_MAP(COXSizeBarWrapper, CWnd)
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_CLOSE()
    ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BOOL COXSizeBarWrapper::Create(COXSizeViewBar* pBar)
{
    if (!Alive(pBar))
        return FALSE;
    WNDCLASSW wc{};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), kWrapperClass, &wc)) {
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWrapperClass;
        if (!AfxRegisterClass(&wc))
            return FALSE;
    }
    m_pBar = pBar;
    CRect rect;
    pBar->GetClientRect(&rect);
    CString text;
    pBar->GetWindowText(text);
    if (!CWnd::Create(kWrapperClass, text, WS_CHILD | WS_VISIBLE, rect, pBar, 0))
        return FALSE;
    SendMessage(WM_NCACTIVATE, TRUE);
    return TRUE;
}

void COXSizeBarWrapper::WrapView(COXSizeViewBar* pBar, CView* pView)
{
    if (!m_hWnd && !Create(pBar))
        AfxThrowMemoryException();
    m_pBar = pBar;
    m_pView = pView;
    if (Alive(pView))
        pView->SetParent(this);
    CRect rect;
    pBar->GetClientRect(&rect);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    UpdateWindow();
}

void COXSizeBarWrapper::UnwrapView()
{
    if (Alive(m_pView) && Alive(m_pBar))
        m_pView->SetParent(m_pBar);
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

LRESULT COXSizeBarWrapper::OnNcHitTest(CPoint point)
{
    const LRESULT hit = Default();
    if ((hit == HTCLIENT || hit == HTCAPTION) && Alive(m_pBar))
        return m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    return hit;
}

void COXSizeBarWrapper::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!Alive(m_pBar))
        return;
    ClientToScreen(&point);
    m_pBar->ScreenToClient(&point);
    m_pBar->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void COXSizeBarWrapper::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (Alive(m_pBar))
        m_pBar->SendMessage(WM_LBUTTONDBLCLK, nFlags, MAKELPARAM(point.x, point.y));
}

int COXSizeBarWrapper::OnMouseActivate(CWnd* /*pDesktopWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    const int nResult = static_cast<int>(Default());
    if (nResult != MA_NOACTIVATE && nResult != MA_NOACTIVATEANDEAT && Alive(m_pBar))
        m_pBar->SendMessage(WM_OX_ACTIVATEVIEWBAR, TRUE, COXSizeViewBar::fromWrapper);
    return nResult;
}

BOOL COXSizeBarWrapper::OnNcActivate(BOOL bActive)
{
    if (bActive && Alive(m_pBar)) {
        COXMDIChildWndSizeDock* pChild = m_pBar->GetChild();
        if (Alive(pChild) && pChild->MDIGetActive() != pChild)
            return FALSE;
    }
    return static_cast<BOOL>(Default());
}

void COXSizeBarWrapper::OnClose()
{
    m_bBeingDestroyed = TRUE;
    if (Alive(m_pBar) && !m_pBar->IsBeingDestroyed() && !m_pBar->QueryCloseView()) {
        m_bBeingDestroyed = FALSE;
        return;
    }
    Default();
}

void COXSizeBarWrapper::OnDestroy()
{
    m_bBeingDestroyed = TRUE;
    CWnd::OnDestroy();
    if (Alive(m_pBar) && !m_pBar->IsBeingDestroyed() && !m_pBar->IsFloating())
        UnwrapView();
}

void COXSizeBarWrapper::OnNcDestroy()
{
    m_bBeingDestroyed = TRUE;
    COXSizeViewBar* pBar = m_pBar;
    CWnd::OnNcDestroy();
    if (Alive(pBar) && !pBar->IsBeingDestroyed())
        pBar->DestroyWindow();
    m_bBeingDestroyed = FALSE;   // the object stays for the next docking period
}

// ==== the view bar ==============================================================================================

BEGIN_MESSAGE_MAP(COXSizeViewBar, COXSizeControlBar)
    ON_WM_NCACTIVATE()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_SETTEXT, &COXSizeViewBar::OnSetText)
    ON_MESSAGE(WM_OX_ADDCONTEXTMENUITEMS, &COXSizeViewBar::OnAddContextMenuItems)
    ON_MESSAGE(WM_OX_ACTIVATEVIEWBAR, &COXSizeViewBar::OnActivateViewBar)
END_MESSAGE_MAP()

COXSizeViewBar::COXSizeViewBar(int nStyle) : COXSizeControlBar(nStyle) {}

BOOL COXSizeViewBar::AttachMDIChild(COXMDIChildWndSizeDock* pChild)
{
    if (!Alive(pChild))
        return FALSE;
    m_pChild = pChild;
    m_pView = pChild->GetActiveView();
    if (!Alive(m_pView))
        return FALSE;
    const bool bCreated = !m_hWnd;
    if (bCreated) {
        CMDIFrameWnd* pFrame = pChild->GetMDIFrame();
        if (!pFrame || !Create(pFrame, L"", kViewBarID, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM))
            return FALSE;
        EnableDocking(pChild->GetDockSides());
        ShowWindow(SW_HIDE);
    }
    CString text;
    pChild->GetWindowText(text);
    SetWindowText(text);
    m_pView->SetParent(this);

    COXMDIFrameWndSizeDock* pSizeFrame = pChild->GetSizeDockFrame();
    BOOL bMax = FALSE;
    if (pChild->MDIGetActive(&bMax) == pChild) {
        m_bChildMaximized = bMax;
        if (bMax && pSizeFrame) {
            // The next child takes the client (maximised); this one leaves it restored.
            pSizeFrame->MDINext();
            pChild->ShowWindow(SW_HIDE);
            pChild->MDIRestore();
            pChild->ShowWindow(SW_HIDE);
        }
        pChild->m_bDockable = TRUE;
        pChild->MDIActivate();
        pChild->m_bDockable = FALSE;
    } else {
        m_bChildMaximized = FALSE;
    }
    pChild->ShowWindow(SW_HIDE);

    CFrameWnd* pFrame = GetDockingFrame() ? GetDockingFrame() : pChild->GetMDIFrame();
    if (!bCreated) {
        if (CFrameWnd* pSite = m_pDockSite ? m_pDockSite : pFrame) {
            pSite->ShowControlBar(this, !IsVisible(), TRUE);
            pSite->RecalcLayout(TRUE);
        }
    } else {
        ShowWindow(SW_SHOWNA);
        static constexpr struct {
            DWORD align;
            UINT id;
        } kOrder[] = {{CBRS_ALIGN_TOP, 0xE81B}, {CBRS_ALIGN_BOTTOM, 0xE81E}, {CBRS_ALIGN_LEFT, 0xE81C},
            {CBRS_ALIGN_RIGHT, 0xE81D}};
        for (const auto& side : kOrder) {
            if (pChild->GetDockSides() & side.align) {
                if (CFrameWnd* pSite = pChild->GetMDIFrame())
                    pSite->DockControlBar(this, side.id, nullptr);
                break;
            }
        }
        // The view goes into its place now: nothing else tells the bar it was docked
        // while the child counted as docked.
        if (CFrameWnd* pSite = pChild->GetMDIFrame())
            pSite->RecalcLayout(TRUE);
    }
    // The bar tells the view its new size while the child still counts as docked.
    CRect rect;
    GetWindowRect(&rect);
    pChild->m_bDockable = TRUE;
    OnSizedOrDocked(rect.Width(), rect.Height(), IsFloating(), 2);
    pChild->m_bDockable = FALSE;
    if (CMDIFrameWnd* pMDI = pChild->GetMDIFrame())
        ::SendMessageW(pMDI->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    return TRUE;
}

void COXSizeViewBar::OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags)
{
    COXSizeControlBar::OnSizedOrDocked(cx, cy, bFloating, flags);
    if (!Alive(m_pChild) || !m_pChild->IsDockable() || !Alive(m_pView))
        return;
    CWnd* pTarget = this;
    if (bFloating) {
        m_wrapper.UnwrapView();
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->RecalcLayout(TRUE);
    } else {
        m_wrapper.WrapView(this, m_pView);
        pTarget = &m_wrapper;
    }
    CRect rect;
    pTarget->GetClientRect(&rect);
    m_pView->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_pChild->MDIGetActive() == m_pChild)
        m_pView->SetFocus();
}

BOOL COXSizeViewBar::DetachMDIChild(BOOL bShowChild)
{
    COXMDIChildWndSizeDock* pChild = m_pChild;
    if (!Alive(pChild) || !pChild->IsDockable() || !pChild->IsDockableFrame())
        return FALSE;
    if (!IsFloating() && m_wrapper.m_hWnd && !m_wrapper.IsBeingDestroyed())
        m_wrapper.UnwrapView();
    if (Alive(m_pView)) {
        m_pView->SetParent(pChild);
        if (CMDIFrameWnd* pFrame = pChild->GetMDIFrame())
            pFrame->SetActiveView(nullptr, FALSE);
        pChild->SetActiveView(m_pView, FALSE);
    }
    CFrameWnd* pSite = m_pDockSite ? m_pDockSite : pChild->GetMDIFrame();
    if (bShowChild && m_hWnd && pSite) {
        pSite->ShowControlBar(this, !IsVisible(), FALSE);
        pSite->RecalcLayout(TRUE);
    }
    COXMDIFrameWndSizeDock* pSizeFrame = pChild->GetSizeDockFrame();
    if (pChild->MDIGetActive() == pChild) {
        pChild->m_bDockable = FALSE;
        if (bShowChild)
            pChild->ShowWindow(SW_SHOW);   // shown first: the client activates what it shows
        pChild->MDIActivate();
        if (m_bChildMaximized || (pSizeFrame && pSizeFrame->IsFrontChildMaximized()))
            pChild->MDIMaximize();
        pChild->m_bDockable = TRUE;
        if (Alive(m_pView)) {
            CRect rect;
            pChild->GetClientRect(&rect);
            m_pView->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (bShowChild)
        pChild->ShowWindow(SW_SHOW);
    if (CMDIFrameWnd* pMDI = pChild->GetMDIFrame())
        ::SendMessageW(pMDI->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    return TRUE;
}

BOOL COXSizeViewBar::QueryCloseView()
{
    if (!m_hWnd || !Alive(m_pView) || !Alive(m_pChild) || !m_pView->GetDocument())
        return TRUE;
    return m_pView->GetDocument()->CanCloseFrame(m_pChild);
}

int COXSizeViewBar::OnToolHitTest(CPoint /*point*/, TOOLINFO* /*pTI*/) const { return -1; }

void COXSizeViewBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    COXSizeControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL COXSizeViewBar::OnNcActivate(BOOL /*bActive*/) { return static_cast<BOOL>(Default()); }

void COXSizeViewBar::OnDestroy()
{
    m_bBeingDestroyed = TRUE;
    COXSizeControlBar::OnDestroy();
    if (Alive(m_pChild) && m_pChild->IsDockable())
        DetachMDIChild(FALSE);
}

void COXSizeViewBar::OnNcDestroy()
{
    m_bBeingDestroyed = TRUE;
    COXMDIChildWndSizeDock* pChild = m_pChild;
    COXSizeControlBar::OnNcDestroy();
    if (m_wrapper.m_hWnd && !m_wrapper.IsBeingDestroyed())
        m_wrapper.DestroyWindow();
    if (Alive(pChild)) {
        if (!pChild->IsBeingDestroyed() && pChild->IsDockable()) {
            pChild->PostMessage(WM_CLOSE);
        } else if (CMDIFrameWnd* pFrame = pChild->GetMDIFrame()) {
            pFrame->SetActiveView(nullptr, FALSE);
        }
    }
    m_bBeingDestroyed = FALSE;   // the object lives on with its child
}

void COXSizeViewBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (!(GetSizeDockStyle() & SZBARF_CONTEXT_MENU)) {
        Default();
        return;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    SendMessage(WM_OX_ADDCONTEXTMENUITEMS, 0, reinterpret_cast<LPARAM>(menu.m_hMenu));
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    (void)pWnd;
}

LRESULT COXSizeViewBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    if (lParam) {
        const auto* text = reinterpret_cast<LPCTSTR>(lParam);
        if (IsFloating()) {
            if (CFrameWnd* pFloat = GetDockingFrame(); pFloat && pFloat != m_pDockSite)
                pFloat->SetWindowText(text);
        } else if (m_wrapper.m_hWnd) {
            m_wrapper.SetWindowText(text);
        }
    }
    return DefWindowProc(WM_SETTEXT, wParam, lParam);
}

LRESULT COXSizeViewBar::OnAddContextMenuItems(WPARAM /*wParam*/, LPARAM lParam)
{
    if (Alive(m_pChild))
        m_pChild->OnAddContextMenuItems(reinterpret_cast<HMENU>(lParam));
    return TRUE;
}

LRESULT COXSizeViewBar::OnActivateViewBar(WPARAM wParam, LPARAM lParam)
{
    // Moving the focus activates windows, which may ask again: one pass at a time.
    if (m_bInActivate)
        return TRUE;
    struct Guard {
        BOOL& flag;
        explicit Guard(BOOL& f) : flag(f) { flag = TRUE; }
        ~Guard() { flag = FALSE; }
    } guard(m_bInActivate);
    const BOOL bActive = wParam != 0;
    if (Alive(m_pChild) && m_pChild->IsDockable()) {
        if (lParam == fromFrame) {
            CFrameWnd* pFloat = IsFloating() ? GetDockingFrame() : nullptr;
            if (pFloat && pFloat->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd))) {
                pFloat->SendMessage(WM_NCACTIVATE, FALSE);
                pFloat->SendMessage(WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE);
            } else if (!IsFloating() && m_wrapper.m_hWnd) {
                m_wrapper.SendMessage(WM_NCACTIVATE, bActive);
            }
        } else {
            COXMDIFrameWndSizeDock* pFrame = m_pChild->GetSizeDockFrame();
            if (bActive && pFrame && pFrame->MDIGetActive() != m_pChild)
                pFrame->MDIActivate(m_pChild);
            const HWND hFocus = ::GetFocus();
            if (bActive && Alive(m_pView) && hFocus != m_pView->m_hWnd && !::IsChild(m_pView->m_hWnd, hFocus))
                m_pView->SetFocus();
        }
    }
    SetActive(bActive, FALSE);
    return TRUE;
}
