// COXSizeControlBar's commands: the context menu, hiding and showing (with the bar's
// tab), docking switched off and on, floating as an MDI child, and the active bar.
#include "platform/afx/dockcont.h"
#include "platform/afx/mdi.h"
#include "platform/afx/menu.h"
#include "platform/afx/winthread.h"
#include "platform/base/cstring.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "resources/resource.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/dock_util.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

// The menu's texts are strings of the common resource module with the commands' IDs.
static_assert(IDS_ZYN_DOCK_FLOAT_AS_MDI == ID_OX_FLOAT_AS_MDI && IDS_ZYN_DOCK_ALLOW_DOCKING == IDS_OX_ALLOW_DOCKING &&
              IDS_ZYN_DOCK_HIDE == IDS_OX_HIDE_BAR && IDS_ZYN_DOCK_DRAG_PROMPT == ID_OX_DRAG_PROMPT);

namespace {

// A string of the resource chain, or our wording when no module holds it.
CString LoadText(UINT nID, const wchar_t* fallback)
{
    CString text;
    if (!text.LoadString(nID) || text.IsEmpty())
        text = fallback;
    return text;
}

// The MDI float window a bar floats in, or null.
COXMDIFloatWnd* MDIFloatOf(const COXSizeControlBar* pBar)
{
    if (!pBar->m_hWnd || !pBar->IsFloating())
        return nullptr;
    CFrameWnd* pFrame = pBar->GetParentFrame();
    return pFrame ? OXGetDockingSeam().AsMDIFloatWnd(pFrame) : nullptr;
}

} // namespace

// ---- the context menu ------------------------------------------------------------------------------------------------

void COXSizeControlBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (!(m_dwSizeDockStyle & SZBARF_CONTEXT_MENU)) {
        CControlBar::OnContextMenu(pWnd, point);
        return;
    }
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the bar's corner.
        CRect rect;
        GetWindowRect(&rect);
        point = rect.TopLeft();
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    AppendContextMenuItems(menu.m_hMenu);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void COXSizeControlBar::AppendContextMenuItems(HMENU hMenu)
{
    if (!hMenu)
        return;
    const COXMDIFloatWnd* pFloat = MDIFloatOf(this);
    if ((m_dwSizeDockStyle & SZBARF_FLOAT_AS_MDI) && m_pDockContext) {
        ::AppendMenuW(hMenu, MF_STRING | (pFloat ? MF_CHECKED : MF_UNCHECKED), ID_OX_FLOAT_AS_MDI,
            LoadText(ID_OX_FLOAT_AS_MDI, L"Float as a &document window"));
    }
    if (!pFloat && ((m_dwDockStyle | m_dwSavedDockStyle) & CBRS_ALIGN_ANY)) {
        ::AppendMenuW(hMenu, MF_STRING | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED),
            ID_OX_ALLOW_DOCKING, LoadText(IDS_OX_ALLOW_DOCKING, L"&Allow docking"));
    }
    ::AppendMenuW(hMenu, MF_STRING, ID_OX_HIDE_BAR, LoadText(IDS_OX_HIDE_BAR, L"&Hide"));
}

LRESULT COXSizeControlBar::OnAddContextMenuItems(WPARAM /*wParam*/, LPARAM lParam)
{
    AppendContextMenuItems(reinterpret_cast<HMENU>(lParam));
    return 1;
}

LRESULT COXSizeControlBar::OnBarFloated(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)))
        static_cast<COXSizableMiniDockFrameWnd*>(pFrame)->GetContainedBarType();
    return 1;
}

// ---- the commands -----------------------------------------------------------------------------------------------------

void COXSizeControlBar::OnHide()
{
    if (COXMDIFloatWnd* pFloat = MDIFloatOf(this)) {
        OXGetDockingSeam().MDIFloatShowControlBar(pFloat, this, FALSE);
        CFrameWnd* pTop = GetTopLevelFrame();
        if (pTop && pTop->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
            if (const HWND hClient = static_cast<CMDIFrameWnd*>(pTop)->m_hWndMDIClient)
                ::SendMessageW(hClient, WM_MDIREFRESHMENU, 0, 0);
        }
        return;
    }
    if (CFrameWnd* pFrame = GetOwningFrame())
        pFrame->ShowControlBar(this, FALSE, FALSE);
}

void COXSizeControlBar::OnToggleAllowDocking()
{
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwSavedDockStyle = m_dwDockStyle & CBRS_ALIGN_ANY;
        if (!IsFloating() && m_pDockContext)
            m_pDockContext->ToggleDocking();
        EnableDocking(0);
    } else {
        EnableDocking(m_dwSavedDockStyle);
    }
}

void COXSizeControlBar::OnFloatAsMDI()
{
    COXDockingSeam& seam = OXGetDockingSeam();
    COXMDIFrameWndSizeDock* pFrame = seam.AsMDIFrameWndSizeDock(AfxGetMainWnd());
    if (!pFrame)
        return;
    const CPoint point = m_pDockContext ? m_pDockContext->m_ptMRUFloatPos : CPoint(0, 0);
    if (MDIFloatOf(this))
        seam.UnFloatInMDIChild(pFrame, this, point, CBRS_ALIGN_TOP);
    else
        seam.FloatControlBarInMDIChild(pFrame, this, point, CBRS_ALIGN_TOP, TRUE);
}

// ---- showing and hiding with the tab --------------------------------------------------------------------------------

void COXSizeControlBar::ShowBar(BOOL bShow)
{
    bShow = bShow ? TRUE : FALSE;
    if (!m_hWnd || IsVisible() == bShow)
        return;
    CFrameWnd* pFrame = GetOwningFrame();
    COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar);
    COXDockTabCtrl* pTabs = pDock && pDock->m_wndDockTabCtrl.m_hWnd ? &pDock->m_wndDockTabCtrl : nullptr;
    if (bShow) {
        if (const int nTab = pTabs ? pTabs->FindTab(this) : -1; nTab != -1) {
            pTabs->SetCurSel(nTab);
            pTabs->ShowSelectedTab();
            return;
        }
        if (pFrame)
            pFrame->ShowControlBar(this, TRUE, FALSE);
        if (pTabs && m_nSavedTabIndex != -1 && pDock->GetVisibleSizeControlBarCount(this) > 1) {
            if (const int nTab = pTabs->FindTab(this); nTab != -1)
                pTabs->SetCurSel(nTab);
            else
                pTabs->InsertTab(this, m_nSavedTabIndex, TRUE);
        }
        return;
    }
    if (pFrame)
        pFrame->ShowControlBar(this, FALSE, FALSE);
    if (pTabs && pTabs->GetItemCount() > 0) {
        m_nSavedTabIndex = pTabs->FindTab(this);
        pTabs->RemoveTab(this);
    }
}

// ---- the active bar -----------------------------------------------------------------------------------------------

void COXSizeControlBar::SetActive(BOOL bActive, BOOL bDeactivateOthers)
{
    m_bActive = bActive ? TRUE : FALSE;
    if (!m_hWnd)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (IsFloating() && pFrame)
        pFrame = pFrame->GetTopLevelFrame();
    if (m_bActive) {
        // The focus goes into the bar: the bar itself, else its first child, that child's
        // first child and so on, until a window of the bar takes it.
        auto focusInside = [this] {
            CWnd* pFocus = CWnd::GetFocus();
            return pFocus && (pFocus == this || IsChild(pFocus));
        };
        if (!focusInside()) {
            CWnd* pTarget = this;
            while (pTarget) {
                pTarget->SetFocus();
                if (focusInside())
                    break;
                pTarget = pTarget->GetWindow(GW_CHILD);
            }
        }
    }
    COXDockingSeam& seam = OXGetDockingSeam();
    if (bDeactivateOthers && pFrame) {
        POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
        while (pos) {
            auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
            if (pBar == this || !pBar || !pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)))
                continue;
            auto* pSizeBar = static_cast<COXSizeControlBar*>(pBar);
            if (pSizeBar->IsActive() && !seam.AsSizeViewBar(pSizeBar))
                pSizeBar->SetActive(FALSE, FALSE);
        }
    }
    if (m_bActive && pFrame) {
        if (COXMDIFrameWndSizeDock* pMDI = seam.AsMDIFrameWndSizeDock(pFrame))
            seam.SetActiveSizeBar(pMDI, this);
    }
    // The gripper shows the new state.
    RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
