// COXSizeDockBar: hit testing and cursors of the splitters, tracking a splitter and the
// shrinking and growing of the bars beside it, and maximising one bar in its row.
#include <algorithm>

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/docking/size_dock_bar_helpers.h"
#include "toolkit/skins/rect_tracker.h"

using namespace oxdock;

namespace {

// The splitter cursors of the resource chain (shared, never destroyed), else the system's
// sizing arrows.
HCURSOR LoadSplitCursor(UINT nID, LPCWSTR lpszFallback)
{
    LPCWSTR lpszName = MAKEINTRESOURCE(nID);
    HCURSOR hCursor = nullptr;
    if (HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_GROUP_CURSOR))
        hCursor = ::LoadCursorW(hInst, lpszName);
    return hCursor ? hCursor : ::LoadCursorW(nullptr, lpszFallback);
}

// A splitter may be dragged up to this far when no limit applies (further than any row).
constexpr int kMeasureAll = 16000;

} // namespace

COXSplitterRect* COXSizeDockBar::HitTest(CPoint point) const
{
    for (int i = GetSplitterCount() - 1; i >= 0; --i) {
        COXSplitterRect* pSplitter = m_arrSplitters[static_cast<size_t>(i)].get();
        if (pSplitter->m_rect.PtInRect(point))
            return pSplitter;
    }
    return nullptr;
}

COXSplitterRect* COXSizeDockBar::SetHitCursor(CPoint point)
{
    COXSplitterRect* pSplitter = HitTest(point);
    HCURSOR hCursor;
    if (!pSplitter) {
        hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    } else if (pSplitter->m_nType == COXSplitterRect::typeVertical) {
        if (!m_hcurBarSplit)
            m_hcurBarSplit = LoadSplitCursor(AFX_IDC_HSPLITBAR, IDC_SIZEWE);
        hCursor = m_hcurBarSplit;
    } else {
        if (!m_hcurRowSplit)
            m_hcurRowSplit = LoadSplitCursor(AFX_IDC_VSPLITBAR, IDC_SIZENS);
        hCursor = m_hcurRowSplit;
    }
    ::SetCursor(hCursor);
    return pSplitter;
}

int COXSizeDockBar::StartPosOfRow(int nPos) const
{
    if (nPos < 1)
        return 0;
    int i = std::min(nPos, static_cast<int>(m_arrBars.GetSize()) - 1);
    if (i >= 0 && !m_arrBars[i])
        --i;
    for (; i >= 0; --i) {
        if (!m_arrBars[i])
            return i + 1;
    }
    return 0;
}

int COXSizeDockBar::StartPosOfPreviousRow(int nPos) const
{
    return nPos < m_arrBars.GetSize() - 1 ? StartPosOfRow(nPos - 1) : StartPosOfRow(nPos);
}

BOOL COXSizeDockBar::IsRowSizeable(int nPos) const
{
    for (int i = std::max(0, nPos); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        if (AsSizeBar(VisibleBarAt(m_arrBars, i)))
            return TRUE;
    }
    return FALSE;
}

int COXSizeDockBar::ShrinkRowToRight(int nPos, int nAmount, BOOL bApply, int* pnBars)
{
    const BOOL bHorz = IsBarHorizontal();
    int nRemaining = nAmount;
    int nCount = 0;
    CControlBar* pLast = nullptr;
    BOOL bRowEnd = TRUE;
    for (int i = std::max(0, nPos); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        CControlBar* pBar = VisibleBarAt(m_arrBars, i);
        if (!pBar)
            continue;
        pLast = pBar;
        COXSizeControlBar* pSizeBar = AsSizeBar(pBar);
        if (!pSizeBar)
            continue;
        ++nCount;
        LONG& nLength = DockedLength(pSizeBar, bHorz);
        if (nLength >= nRemaining) {
            // A negative amount lands here at the first bar: it grows.
            if (bApply)
                nLength -= nRemaining;
            nRemaining = 0;
            bRowEnd = FALSE;
            break;
        }
        nRemaining -= nLength;
        if (bApply)
            nLength = 0;
    }
    if (bRowEnd && nRemaining >= 1 && pLast) {
        // The room left free after the row's last bar.
        const CRect rect = RectIn(this, pLast);
        const int nFree = std::max(0, bHorz ? m_nLastWidth - rect.right : m_nLastHeight - rect.bottom);
        nRemaining -= std::min(nFree, nRemaining);
    }
    if (pnBars)
        *pnBars = nCount;
    return nAmount - nRemaining;
}

int COXSizeDockBar::ShrinkRowToLeft(int nPos, int nAmount, BOOL bApply, int* pnBars)
{
    const BOOL bHorz = IsBarHorizontal();
    int nRemaining = nAmount;
    int nCount = 0;
    for (int i = std::min(nPos, static_cast<int>(m_arrBars.GetSize()) - 1); i >= 0 && m_arrBars[i]; --i) {
        COXSizeControlBar* pSizeBar = AsSizeBar(VisibleBarAt(m_arrBars, i));
        if (!pSizeBar)
            continue;
        ++nCount;
        LONG& nLength = DockedLength(pSizeBar, bHorz);
        if (nLength >= nRemaining) {
            if (bApply)
                nLength -= nRemaining;
            nRemaining = 0;
            break;
        }
        nRemaining -= nLength;
        if (bApply)
            nLength = 0;
    }
    if (pnBars)
        *pnBars = nCount;
    return nAmount - nRemaining;
}

void COXSizeDockBar::StartTracking(CPoint point)
{
    if (!m_pSplitCapture)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (!pFrame)
        return;
    // The splitter list is rebuilt by any layout pass: take what is needed now.
    const int nType = m_pSplitCapture->m_nType;
    const int nIndex = m_pSplitCapture->m_nIndex;
    const CRect rectSplitter = m_pSplitCapture->m_rect;
    const BOOL bHorz = IsBarHorizontal();
    const BOOL bVertical = nType == COXSplitterRect::typeVertical;

    COXRectTracker tracker;
    CRect rect = rectSplitter;
    if (bVertical)
        rect.DeflateRect(2, 0);
    else
        rect.DeflateRect(0, 2);
    rect.IntersectRect(&rect, CRect(0, 0, m_nLastWidth, m_nLastHeight));
    tracker.m_rect = rect;
    tracker.m_nStyle |= bVertical ? COXRectTracker::keepStartTopBottom : COXRectTracker::keepStartLeftRight;

    CRect limit;
    pFrame->GetClientRect(&limit);
    pFrame->ClientToScreen(&limit);
    ScreenToClient(&limit);

    // A row splitter crosses the side; a bar splitter lies between two bars of a row.
    const BOOL bRowSplitter = bHorz ? !bVertical : bVertical;
    const BOOL bAfterRow = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP)) != 0;
    int nRowStart = 0;
    OXROWSIZEINFO info;
    if (bRowSplitter) {
        nRowStart = bAfterRow ? StartPosOfPreviousRow(nIndex) : nIndex;
        GetRowSizeInfo(nRowStart, &info, m_arrBars);
        const int W = info.nMaxWidth, F = info.nMaxFixedWidth;
        const int Th = info.nMaxMinTrackHeight, Tw = info.nMaxMinTrackWidth;
        // The row never gets narrower than its widest fixed bar, nor than the largest
        // minimum its bars ask for. The tracker keeps a moved rectangle's top 10 pixels
        // above the limit's bottom; the far sides measure from the splitter.
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            limit.top = std::max(limit.top, static_cast<LONG>(rect.top - (W - F)));
            if (Th > 0)
                limit.top = std::max(limit.top, static_cast<LONG>(rect.top + Th - W));
        } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
            limit.bottom = std::min(limit.bottom, static_cast<LONG>(rect.top + W - F));
            if (Th > 0)
                limit.bottom = std::min(limit.bottom, static_cast<LONG>(rect.top + W - Th + 10));
        } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
            limit.left = std::max(limit.left, static_cast<LONG>(rect.left - (W - F)));
            if (Tw > 0)
                limit.left = std::max(limit.left, static_cast<LONG>(rect.left + Tw - W));
        } else if (m_dwStyle & CBRS_ALIGN_RIGHT) {
            limit.right = std::min(limit.right, static_cast<LONG>(rect.left + W - F));
            if (Tw > 0)
                limit.right = std::min(limit.right, static_cast<LONG>(rect.left + W - Tw));
        }
    } else {
        int nBarsRight = 0, nBarsLeft = 0;
        int nRight = ShrinkRowToRight(nIndex, kMeasureAll, FALSE, &nBarsRight);
        int nLeft = ShrinkRowToLeft(nIndex - 1, kMeasureAll, FALSE, &nBarsLeft);
        if (nBarsRight + nBarsLeft < 2)
            nRight = nLeft = 0;   // no size bar to share with: the splitter stays
        if (bHorz) {
            limit.left = std::max(limit.left, static_cast<LONG>(rect.left - nLeft));
            limit.right = std::min(limit.right, static_cast<LONG>(rect.left + nRight));
        } else {
            limit.top = std::max(limit.top, static_cast<LONG>(rect.top - nLeft));
            limit.bottom = std::min(limit.bottom, static_cast<LONG>(rect.top + nRight));
        }
    }
    tracker.m_rectLimit = limit;
    if (!tracker.TrackFromHitTest(HTCAPTION, this, point, pFrame, FALSE))
        return;

    int nDelta = bVertical ? tracker.m_rect.left - tracker.m_rectStart.left : tracker.m_rect.top - tracker.m_rectStart.top;
    if (nDelta == 0)
        return;
    if (!bRowSplitter) {
        if (nDelta >= 0) {
            const int nMoved = ShrinkRowToRight(nIndex, nDelta, TRUE);
            ShrinkRowToLeft(nIndex - 1, -nMoved, TRUE);
        } else {
            const int nMoved = ShrinkRowToLeft(nIndex - 1, -nDelta, TRUE);
            ShrinkRowToRight(nIndex, -nMoved, TRUE);
        }
    } else {
        if (bAfterRow)
            nDelta = -nDelta;
        const int nNewWidth = std::max(info.nMaxFixedWidth, info.nMaxWidth - nDelta);
        for (int i = nRowStart; i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
            if (COXSizeControlBar* pSizeBar = AsSizeBar(VisibleBarAt(m_arrBars, i)))
                DockedWidth(pSizeBar, bHorz) = nNewWidth;
        }
    }
    Invalidate(TRUE);
    pFrame->RecalcLayout(TRUE);
}

void COXSizeDockBar::ResizeBar(COXSizeControlBar* pBar, BOOL bMaximize)
{
    if (!pBar || !pBar->m_hWnd || FindBar(pBar) <= 0)
        return;
    const BOOL bHorz = IsBarHorizontal();
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const int nRowStart = StartPosOfRow(TestInsertPosition(pBar, rectBar));

    // The sizes before the first maximise are kept while another bar of the row takes over.
    BOOL bFirst = TRUE;
    for (int i = nRowStart; bMaximize && i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        COXSizeControlBar* pOther = AsSizeBar(VisibleBarAt(m_arrBars, i));
        if (pOther && pOther != pBar && pOther->IsMaximized())
            bFirst = FALSE;
    }
    int nGain = 0;
    for (int i = nRowStart; i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        COXSizeControlBar* pOther = AsSizeBar(VisibleBarAt(m_arrBars, i));
        if (!pOther || pOther == pBar)
            continue;
        CSize& size = DockedSize(pOther, bHorz);
        if (!bMaximize) {
            size = pOther->m_sizeBeforeMaximize;
        } else {
            if (bFirst)
                pOther->m_sizeBeforeMaximize = size;
            LONG& nLength = DockedLength(pOther, bHorz);
            nGain += nLength - kMinimizedLength;
            nLength = kMinimizedLength;
        }
        if (pOther->IsMaximized())
            pOther->SetMaximized(FALSE);
    }
    CSize& size = DockedSize(pBar, bHorz);
    if (!bMaximize) {
        size = pBar->m_sizeBeforeMaximize;
    } else {
        if (bFirst)
            pBar->m_sizeBeforeMaximize = size;
        DockedLength(pBar, bHorz) += nGain;
    }
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout(TRUE);
    pBar->SetMaximized(bMaximize);
}

// ---- messages ------------------------------------------------------------------------------------------------

BOOL COXSizeDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // The cursor was set by the mouse move over the splitters.
    if (nHitTest == HTCLIENT && pWnd == this)
        return TRUE;
    return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void COXSizeDockBar::OnMouseMove(UINT nFlags, CPoint point)
{
    SetHitCursor(point);
    CDockBar::OnMouseMove(nFlags, point);
}

void COXSizeDockBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_pSplitCapture) {
        m_pSplitCapture = SetHitCursor(point);
        if (m_pSplitCapture) {
            StartTracking(point);
            m_pSplitCapture = nullptr;
            return;
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void COXSizeDockBar::OnLButtonUp(UINT nFlags, CPoint point) { CDockBar::OnLButtonUp(nFlags, point); }
