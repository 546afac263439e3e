// CFrameWnd's control bars and docking: the bar list, the dock bars, docking, floating,
// showing, the bar menu commands, floating frames and the dock state.
#include <memory>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/miniframe.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/user/messages.h"
#include "platform/user/monitor.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

std::vector<CControlBar*> BarsOf(const CFrameWnd* pFrame)
{
    std::vector<CControlBar*> bars;
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos)
        bars.push_back(static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos)));
    return bars;
}

CDockBar* AsFloatingDockBar(CControlBar* pBar)
{
    if (!pBar || !pBar->IsDockBar())
        return nullptr;
    auto* pDock = static_cast<CDockBar*>(pBar);
    return pDock->m_bFloating ? pDock : nullptr;
}

} // namespace

// ---- the bar list -----------------------------------------------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (pBar && !m_listControlBars.Find(pBar))
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    if (POSITION pos = m_listControlBars.Find(pBar))
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    if (nID == 0)
        return nullptr;
    for (CControlBar* pBar : BarsOf(this)) {
        if (pBar && pBar->m_hWnd && static_cast<UINT>(static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd))) == nID)
            return pBar;
    }
    return nullptr;
}

// ---- dock bars ------------------------------------------------------------------------------------------------------

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    for (const AFX_DOCKBAR_SIDE& side : afxDockBarSides) {
        CControlBar* pExisting = GetControlBar(side.nID);
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) {
            if (pExisting)   // keeps its place in the order
                ::SetWindowPos(pExisting->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            continue;
        }
        if (!pExisting) {
            auto* pDock = new CDockBar;
            pDock->m_bAutoDelete = TRUE;   // owned by its window from here
            if (!pDock->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID))
                AfxThrowResourceException();   // PostNcDestroy deleted it
            pExisting = pDock;
        }
        // The sides are laid out after the frame's other bars, in the table's order: top
        // and bottom span the frame, left and right fill what they leave.
        ::SetWindowPos(pExisting->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CFrameWnd::DestroyDockBars()
{
    std::vector<HWND> windows;
    for (CControlBar* pBar : BarsOf(this)) {
        if (!pBar || !pBar->IsDockBar() || !pBar->m_hWnd)
            continue;
        if (static_cast<CDockBar*>(pBar)->m_bFloating) {
            if (const HWND hFrame = ::GetParent(pBar->m_hWnd); hFrame && hFrame != m_hWnd)
                windows.push_back(hFrame);
        } else {
            windows.push_back(pBar->m_hWnd);
        }
    }
    for (const HWND hWnd : windows) {
        if (::IsWindow(hWnd)) {
            if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
                pWnd->DestroyWindow();
            else
                ::DestroyWindow(hWnd);
        }
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar)
        *ppDockBar = nullptr;
    for (CControlBar* pBar : BarsOf(this)) {
        if (!pBar || !pBar->IsDockBar() || !pBar->m_hWnd || !pBar->IsWindowVisible())
            continue;
        auto* pDock = static_cast<CDockBar*>(pBar);
        if (!(pDock->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY))
            continue;
        if (pDock->m_bFloating && !(dwDockStyle & pDock->m_dwStyle & CBRS_FLOAT_MULTI))
            continue;
        CRect rectBar;
        pDock->GetWindowRect(&rectBar);
        // An empty side still catches a bar brought to its edge.
        if (rectBar.Width() == 0)
            ++rectBar.right;
        if (rectBar.Height() == 0)
            ++rectBar.bottom;
        CRect meet;
        if (meet.IntersectRect(&rectBar, &rect)) {
            if (ppDockBar)
                *ppDockBar = pDock;
            return pDock->m_dwStyle & dwDockStyle;
        }
    }
    return 0;
}

// ---- docking and floating -------------------------------------------------------------------------------------------

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    if (!pBar)
        return;
    CDockBar* pDockBar = nullptr;
    if (nDockBarID != 0) {
        CControlBar* pFound = GetControlBar(nDockBarID);
        if (pFound && pFound->IsDockBar())
            pDockBar = static_cast<CDockBar*>(pFound);
    }
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    if (!pDockBar) {
        for (const AFX_DOCKBAR_SIDE& side : afxDockBarSides) {
            if (!(side.dwStyle & pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
                continue;
            CControlBar* pFound = GetControlBar(side.nID);
            if (pFound && pFound->IsDockBar()) {
                pDockBar = static_cast<CDockBar*>(pFound);
                break;
            }
        }
    }
    if (!pDockBar) {
        ::SetLastError(ERROR_INVALID_PARAMETER);   // no side the bar may use
        return;
    }
    pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (!pDockBar) {
        // The side that kept the bar's place, else the first side it may dock to.
        const UINT nID = static_cast<UINT>(static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd)));
        CDockBar* pPossible = nullptr;
        for (const AFX_DOCKBAR_SIDE& side : afxDockBarSides) {
            CControlBar* pFound = GetControlBar(side.nID);
            if (!pFound || !pFound->IsDockBar())
                continue;
            auto* pDock = static_cast<CDockBar*>(pFound);
            if (nID && pDock->FindBar(reinterpret_cast<CControlBar*>(static_cast<UINT_PTR>(nID))) > 0) {
                pDockBar = pDock;
                break;
            }
            if (!pPossible && (side.dwStyle & pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
                pPossible = pDock;
        }
        if (!pDockBar)
            pDockBar = pPossible;
    }
    if (pDockBar)
        pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CObject* pObject = m_pFloatingFrameClass ? m_pFloatingFrameClass->CreateObject() : nullptr;
    if (!pObject) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!pObject->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        delete pObject;
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* pFrame = static_cast<CMiniDockFrameWnd*>(pObject);
    if (!pFrame->Create(this, dwStyle))
        return nullptr;   // a frame that failed deleted itself
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (CDockBar* pDock = pBar->m_pDockBar; pDock && pDock->m_bFloating && pDock->GetDockedCount() == 1 &&
                                            (dwStyle & pDock->m_dwStyle & CBRS_ALIGN_ANY)) {
        // Already alone in a floating frame of that orientation: the frame just moves.
        if (CFrameWnd* pFrame = pDock->GetParentFrame()) {
            pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pFrame->RecalcLayout(TRUE);
            pFrame->UpdateWindow();
        }
        return;
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        // A dynamic bar floats horizontally and wraps to its width.
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT)
            dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* pFrame = CreateFloatingFrame(dwStyle);
    if (!pFrame)
        return;
    pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->m_wndDockBar.DockControlBar(pBar);
    pFrame->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        pFrame->ShowWindow(SW_SHOWNA);
        pFrame->UpdateWindow();
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    if (bDelay) {
        pBar->DelayShow(bShow);
        if (pFrame)
            pFrame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
            SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->DelayShow(bShow);   // nothing is left pending
        if (pFrame && (bShow || !pBar->IsFloating()))
            pFrame->RecalcLayout(FALSE);
    }
    // A floating frame shows while it has a visible bar.
    if (pBar->IsFloating() && pFrame && pBar->m_pDockBar) {
        const int nVisible = pBar->m_pDockBar->GetDockedVisibleCount();
        if (nVisible > 0 && bShow) {
            if (bDelay)
                pFrame->m_nShowDelay = SW_SHOWNA;
            else {
                pFrame->m_nShowDelay = -1;
                pFrame->ShowWindow(SW_SHOWNA);
            }
        } else if (nVisible == 0) {
            if (bDelay)
                pFrame->m_nShowDelay = SW_HIDE;
            else {
                pFrame->m_nShowDelay = -1;
                pFrame->ShowWindow(SW_HIDE);
            }
        } else if (!bDelay) {
            pFrame->RecalcLayout(FALSE);
        }
    }
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
    if (!m_hWnd)
        return;
    std::vector<HWND> owned;
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != m_hWnd && ::GetWindow(h, GW_OWNER) == m_hWnd)
            owned.push_back(h);
    }
    for (const HWND h : owned) {
        if (::IsWindow(h))
            ::SendMessageW(h, WM_FLOATSTATUS, dwFlags, 0);
    }
}

// ---- the bar menu commands -----------------------------------------------------------------------------------------

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar || pBar->IsDockBar())
        return FALSE;   // not a bar of this frame: let the command go on
    ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    if (!pCmdUI)
        return;
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar && !pBar->IsDockBar()) {
        pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

// ---- the dock state -------------------------------------------------------------------------------------------------

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    for (CControlBar* pBar : BarsOf(this)) {
        if (!pBar || !pBar->m_hWnd)
            continue;
        auto pInfo = std::make_unique<CControlBarInfo>();
        pBar->GetBarInfo(pInfo.get());
        if (pInfo->m_nBarID == 0)
            continue;   // a bar without an ID cannot be found again
        pInfo->m_pBar = nullptr;
        state.m_arrBarInfo.Add(pInfo.release());
    }
}

void CFrameWnd::SetDockState(const CDockState& state)
{
    struct RestoreGuard {
        RestoreGuard() { ++zyn::afx::t_nDockStateRestore; }
        ~RestoreGuard() { --zyn::afx::t_nDockStateRestore; }
    };
    std::vector<CControlBarInfo*> infos;
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        if (auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]))
            infos.push_back(pInfo);
    }
    {
        RestoreGuard guard;
        // 1. Floating frames made again at their places; every other record finds its bar.
        for (CControlBarInfo* pInfo : infos) {
            pInfo->m_pBar = nullptr;
            if (pInfo->m_bDockBar && pInfo->m_bFloating) {
                CMiniDockFrameWnd* pFrame = CreateFloatingFrame(pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
                if (!pFrame)
                    continue;
                CRect rect(pInfo->m_pointPos, CSize(10, 10));
                pFrame->CalcWindowRect(&rect);
                pFrame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                pInfo->m_pBar = &pFrame->m_wndDockBar;
            } else {
                CControlBar* pBar = GetControlBar(pInfo->m_nBarID);
                // A record must find the same kind of bar; a floating dock bar is never
                // found by ID (its frame is made anew above).
                if (!pBar || (pBar->IsDockBar() != (pInfo->m_bDockBar != 0)) || AsFloatingDockBar(pBar))
                    continue;   // a bar this frame does not have: the record is skipped
                pInfo->m_pBar = pBar;
            }
            pInfo->m_pBar->m_nMRUWidth = pInfo->m_nMRUWidth;
        }
        // 2. The dock bars take their lists first, then each bar its place and visibility.
        for (CControlBarInfo* pInfo : infos) {
            if (pInfo->m_pBar && pInfo->m_bDockBar)
                pInfo->m_pBar->SetBarInfo(pInfo, this);
        }
        for (CControlBarInfo* pInfo : infos) {
            if (pInfo->m_pBar && !pInfo->m_bDockBar)
                pInfo->m_pBar->SetBarInfo(pInfo, this);
        }
        // 3. A floating frame with a visible bar shows.
        for (CControlBarInfo* pInfo : infos) {
            if (!pInfo->m_pBar || !pInfo->m_bFloating || !pInfo->m_bDockBar)
                continue;
            auto* pDock = static_cast<CDockBar*>(pInfo->m_pBar);
            if (pDock->GetDockedVisibleCount() > 0) {
                if (CFrameWnd* pFrame = pDock->GetParentFrame()) {
                    pFrame->RecalcLayout(TRUE);
                    // A place saved on a monitor that is gone (or a damaged one) would
                    // leave the bar where nobody can reach it: onto the nearest work area.
                    CRect placed;
                    pFrame->GetWindowRect(&placed);
                    const CRect reachable = zyn::user::KeepOnMonitors(placed);
                    if (reachable.TopLeft() != placed.TopLeft())
                        pFrame->SetWindowPos(nullptr, reachable.left, reachable.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                    pFrame->ShowWindow(SW_SHOWNA);
                }
            }
        }
    }
    for (CControlBarInfo* pInfo : infos)
        pInfo->m_pBar = nullptr;   // the records do not keep pointers into the frame
    // Floating frames left without bars (made for records whose bars are gone, or emptied
    // by the restore) are not kept.
    std::vector<HWND> empty;
    for (CControlBar* pBar : BarsOf(this)) {
        CDockBar* pDock = AsFloatingDockBar(pBar);
        if (pDock && pDock->m_hWnd && pDock->GetDockedCount() == 0) {
            if (const HWND hFrame = ::GetParent(pDock->m_hWnd); hFrame && hFrame != m_hWnd)
                empty.push_back(hFrame);
        }
    }
    for (const HWND hFrame : empty) {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(hFrame); pWnd && ::IsWindow(hFrame))
            pWnd->DestroyWindow();
    }
    DelayRecalcLayout();
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}

BOOL CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
    CDockState state;
    if (!state.LoadState(lpszProfileName))
        return FALSE;
    SetDockState(state);
    return TRUE;
}
