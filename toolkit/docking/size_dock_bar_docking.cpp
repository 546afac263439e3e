// COXSizeDockBar: where a bar is inserted and placed, live docking of a dragged bar, the
// row queries, and the tab strip of bars sharing one place.
#include <algorithm>
#include <cstdlib>

#include "platform/afx/frame.h"
#include "platform/afx/winthread.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/docking/size_dock_bar_helpers.h"

using namespace oxdock;

namespace {

// The frame's dock bars in the order a dragged bar tries them, with their sides.
struct DockSide {
    UINT nID;
    DWORD dwAlign;
};
constexpr DockSide kLiveDockOrder[] = {
    {0xE81C, CBRS_ALIGN_LEFT},
    {0xE81D, CBRS_ALIGN_RIGHT},
    {0xE81B, CBRS_ALIGN_TOP},
    {0xE81E, CBRS_ALIGN_BOTTOM},
};
// The second pass grows every dock bar by this much on each side, and keeps the left and
// right ones off the bottom dock bar's corner.
constexpr int kNearMargin = 20;
constexpr int kSideBottomCut = 28;
// A size bar dropped this close to the side's leading edge lands at its start.
constexpr int kEdgeSnapFrom = 11, kEdgeSnapTo = 3;

} // namespace

// ---- row queries -------------------------------------------------------------------------------------------------

int COXSizeDockBar::TestInsertPosition(CControlBar* /*pBar*/, CRect rect)
{
    ScreenToClient(&rect);
    const CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
    const BOOL bHorz = IsBarHorizontal();
    int nInsertAfter = 0;
    int nRowWidth = 0;
    int nTotal = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = VisibleBarAt(m_arrBars, i)) {
            const CRect rectBar = RectIn(this, pBar);
            nRowWidth = std::max(nRowWidth, bHorz ? rectBar.Height() : rectBar.Width() - 1);
            nInsertAfter = i;
        } else if (!m_arrBars[i]) {
            nTotal += nRowWidth - AFX_CY_BORDER2;
            nRowWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotal)
                return i == 0 ? 0 : nInsertAfter + 1;
            nInsertAfter = i;
        }
    }
    return nInsertAfter + 1;
}

int COXSizeDockBar::BarsOnThisRow(CControlBar* pBar, CRect rect)
{
    const int nPos = TestInsertPosition(pBar, rect);
    if (nPos <= 0 || nPos >= m_arrBars.GetSize())
        return 0;
    int nCount = 0;
    for (int i = StartPosOfRow(nPos); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        CControlBar* pOther = LiveBarAt(m_arrBars, i);
        nCount += pOther && pOther != pBar;
    }
    return nCount;
}

CPoint COXSizeDockBar::GetInsertionPoint(CControlBar* pBar, CRect rect)
{
    const CPoint pt(rect.left - 5, rect.top);
    const BOOL bHorz = IsBarHorizontal();
    const BOOL bMenuBar = OXIsMenuBar(pBar);
    // A menu bar keeps a row of its own: a bar aimed at its row goes just past it.
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pOther = LiveBarAt(m_arrBars, i);
        if (!pOther || pOther == pBar || !(bMenuBar || OXIsMenuBar(pOther)))
            continue;
        const CRect r = RectIn(this, pOther);
        if (!bHorz && r.left <= pt.x && pt.x <= r.right)
            return CPoint(r.right + 2, pt.y);
        if (bHorz && r.top <= pt.y && pt.y <= r.bottom)
            return CPoint(pt.x, r.bottom + 2);
    }
    return pt;
}

int COXSizeDockBar::GetXCoord(CControlBar* pBar, int y, int x)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    int nResult = rectClient.left - 2;
    const BOOL bSizeBar = IsSizeable(pBar);
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pOther = VisibleBarAt(m_arrBars, i);
        if (!pOther || pOther == pBar)
            continue;
        const CRect r = RectIn(this, pOther);
        if (r.top != y)
            continue;
        if (x < r.left)
            break;
        nResult = std::max(nResult, static_cast<int>(r.right + (bSizeBar && IsSizeable(pOther) ? kSplitterSize : 0) - 2));
    }
    return nResult;
}

int COXSizeDockBar::GetYCoord(CControlBar* pBar, int x, int y)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    int nResult = rectClient.top;
    const BOOL bSizeBar = IsSizeable(pBar);
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pOther = VisibleBarAt(m_arrBars, i);
        if (!pOther || pOther == pBar)
            continue;
        const CRect r = RectIn(this, pOther);
        if (r.left != x)
            continue;
        if (y < r.top)
            break;
        nResult =
            std::max(nResult, static_cast<int>(r.bottom + (bSizeBar && IsSizeable(pOther) ? kSplitterSize : 0) - 2));
    }
    return nResult;
}

int COXSizeDockBar::GetSizeControlBarCount(CControlBar* pExclude) const
{
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        nCount += pBar && pBar != pExclude && IsSizeable(pBar);
    }
    return nCount;
}

COXSizeControlBar* COXSizeDockBar::GetFirstDockedSizeControlBar(CControlBar* pExclude) const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && pBar != pExclude && IsSizeable(pBar))
            return static_cast<COXSizeControlBar*>(pBar);
    }
    return nullptr;
}

CControlBar* COXSizeDockBar::GetFirstDockedCoolToolBar(CControlBar* pExclude) const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && pBar != pExclude && OXIsCoolToolBar(pBar))
            return pBar;
    }
    return nullptr;
}

int COXSizeDockBar::GetVisibleSizeControlBarCount(CControlBar* pBar) const
{
    if (!pBar || !pBar->m_hWnd)
        return 1;
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const BOOL bHorz = IsBarHorizontal();
    int nCount = 1;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pOther = VisibleBarAt(m_arrBars, i);
        if (!pOther || pOther == pBar || !IsSizeable(pOther))
            continue;
        CRect r;
        pOther->GetWindowRect(&r);
        // Stacked at pBar's place: across the side on a horizontal one, in the same
        // column (give or take a border) on a vertical one.
        if (bHorz ? r.left == rectBar.left : std::abs(r.left - rectBar.left) < 5)
            ++nCount;
    }
    return nCount;
}

// ---- the tab strip ---------------------------------------------------------------------------------------------

int COXSizeDockBar::GetTabHeight() const
{
    return m_wndDockTabCtrl.m_hWnd && m_wndDockTabCtrl.GetItemCount() > 0 ? kTabHeight : 0;
}

void COXSizeDockBar::PositionTabCtrl()
{
    if (!m_hWnd || !m_wndDockTabCtrl.m_hWnd)
        return;
    CRect rect;
    GetClientRect(&rect);
    const int nHeight = GetTabHeight();
    m_wndDockTabCtrl.SetWindowPos(nullptr, rect.left, rect.bottom - nHeight, rect.Width(), nHeight,
        SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndDockTabCtrl.Invalidate(TRUE);
}

void COXSizeDockBar::TabAllDockedControlBars(COXSizeControlBar* pBar) { m_wndDockTabCtrl.InsertTab(pBar, 0, FALSE); }

// ---- docking -------------------------------------------------------------------------------------------------------

COXSizeDockBar* COXSizeDockBar::GetAppropriateDockBar(CPoint ptScreen, CControlBar* pBar)
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pBar || !pMain || !pMain->m_hWnd || !pMain->IsFrameWnd())
        return nullptr;
    auto* pFrame = static_cast<CFrameWnd*>(pMain);
    const BOOL bSizeBar = IsSizeable(pBar);
    const BOOL bCoolBar = OXIsCoolToolBar(pBar);
    for (int nPass = 0; nPass < 2; ++nPass) {
        for (const DockSide& side : kLiveDockOrder) {
            // A side the frame has no size dock bar for is passed over.
            auto* pDock = DYNAMIC_DOWNCAST(COXSizeDockBar, pFrame->GetControlBar(side.nID));
            if (!pDock || !pDock->m_hWnd)
                continue;
            CRect rect;
            pDock->GetWindowRect(&rect);
            if (nPass == 1) {
                rect.InflateRect(kNearMargin, kNearMargin);
                if (side.dwAlign & CBRS_ORIENT_VERT)
                    rect.bottom -= kSideBottomCut;
            }
            if (!rect.PtInRect(ptScreen))
                continue;
            if (!(pBar->m_dwDockStyle & side.dwAlign))
                continue;
            // Size bars and cool toolbars never share a dock bar while dragged live.
            if (bSizeBar && pDock->GetFirstDockedCoolToolBar(pBar))
                continue;
            if (bCoolBar && pDock->GetFirstDockedSizeControlBar(pBar))
                continue;
            // Over a tab strip only its band takes the bar.
            if (pDock->GetTabHeight() > 0 && pDock->m_wndDockTabCtrl.HitTestTabControl(ptScreen, pBar) == -1)
                continue;
            return pDock;
        }
    }
    return nullptr;
}

void COXSizeDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd || pBar == this)
        return;
    CDockBar* pOld = pBar->m_pDockBar;
    const BOOL bSizeBar = IsSizeable(pBar);

    // Tabs first: the bar leaves the tab strip it had elsewhere, and joins, moves in or
    // leaves this one by where its rectangle's corner lies.
    if (pOld && pOld != this) {
        if (auto* pOldSize = DYNAMIC_DOWNCAST(COXSizeDockBar, pOld);
            pOldSize && pOldSize->m_wndDockTabCtrl.m_hWnd && pOldSize->m_wndDockTabCtrl.FindTab(pBar) != -1)
            pOldSize->m_wndDockTabCtrl.RemoveTab(pBar);
    }
    BOOL bTabbed = FALSE;
    if (lpRect && bSizeBar && m_wndDockTabCtrl.m_hWnd) {
        const CPoint ptCorner(lpRect->left, lpRect->top);
        const int nOwnTab = m_wndDockTabCtrl.FindTab(pBar);
        const int nHit = m_wndDockTabCtrl.HitTestTabControl(ptCorner, pBar);
        if (nHit == -1) {
            if (nOwnTab != -1)
                m_wndDockTabCtrl.RemoveTab(pBar);
        } else if (nOwnTab != -1) {
            if (nOwnTab != nHit)
                m_wndDockTabCtrl.RepositionTabs(nOwnTab, nHit, ptCorner);
        } else if (GetTabHeight() > 0 || GetVisibleSizeControlBarCount(pBar) >= 2) {
            m_wndDockTabCtrl.InsertTab(pBar, nHit, TRUE);
            bTabbed = TRUE;
        }
    }

    CRect rectWindow;
    pBar->GetWindowRect(&rectWindow);
    if (pOld == this && (!lpRect || rectWindow == CRect(lpRect)))
        return;

    // What the bar takes on from this side, and what this side takes from the bar.
    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        CString text;
        pBar->GetWindowText(text);   // the whole text, however long
        SetWindowText(text);
    }
    DWORD dwBarStyle = (pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwBarStyle |= CBRS_FLOATING;
    else
        dwBarStyle &= ~CBRS_FLOATING;
    pBar->SetBarStyle(dwBarStyle);
    // Hidden while it changes dock bars, so it does not flash in the old one.
    BOOL bShow = FALSE;
    if (pOld != this && pBar->IsWindowVisible()) {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }

    int nPos = -1;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        CRect rectClient;
        GetClientRect(&rectClient);
        CPoint ptIns = GetInsertionPoint(pBar, rect);
        if (ptIns.x >= rectClient.left - kEdgeSnapFrom && ptIns.x <= rectClient.left - kEdgeSnapTo)
            ptIns.x = rectClient.left - 2;
        if (ptIns.y >= rectClient.top - kEdgeSnapFrom && ptIns.y <= rectClient.top - kEdgeSnapTo)
            ptIns.y = rectClient.top - 2;
        nPos = Insert(pBar, rect, ptIns);

        const CRect rectCur = RectIn(this, pBar);
        const BOOL bArriving = bSizeBar && pOld != this && !bTabbed;
        const int nFloatWidth = bSizeBar ? static_cast<COXSizeControlBar*>(pBar)->m_sizeFloat.cx : 0;
        int x, y, cx, cy;
        if (IsBarHorizontal()) {
            y = rectCur.top;
            cx = rect.Width();
            cy = bArriving ? nFloatWidth : rectCur.Height();
            x = GetXCoord(pBar, y, rect.left);
            if (!bSizeBar) {
                const int xMin = x;
                x = std::max(xMin, static_cast<int>(rect.left));
                if (x + cx > rectClient.right)
                    x = rectClient.right - cx;
                x = std::max(x, xMin);
            }
        } else {
            x = rectCur.left;
            cx = bArriving ? nFloatWidth : rectCur.Width();
            cy = rect.Height();
            y = GetYCoord(pBar, x, rect.top);
            if (!bSizeBar) {
                const int yMin = y;
                y = std::max(yMin, static_cast<int>(rect.top));
                if (y + cy > rectClient.bottom - GetTabHeight())
                    y = rectClient.bottom - GetTabHeight() - cy;
                y = std::max(y, yMin);
            }
        }
        if (pBar->GetParent() != this)
            pBar->SetParent(this);
        pBar->SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    } else {
        AppendRow(pBar);
    }
    FinishDocking(pBar, pOld, nPos, bShow);
}

BOOL COXSizeDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    return CDockBar::RemoveControlBar(pBar, nPosExclude, nAddPlaceHolder);
}
