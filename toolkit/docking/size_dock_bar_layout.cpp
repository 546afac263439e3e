// COXSizeDockBar's row layout: places the docked bars row by row with a splitter between
// two sizeable bars and beside each row holding one, wraps a bar that no longer fits (a
// plain bar also when it would run past the side's end), and answers the dock bar's size.
#include <algorithm>

#include "platform/afx/dockcont.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/docking/size_dock_bar_helpers.h"

using namespace oxdock;

namespace {

// The sizeable visible bars of the row starting at nPos.
int CountSizeableInRow(const CPtrArray& arrBars, INT_PTR nPos)
{
    int n = 0;
    for (; nPos < arrBars.GetSize() && arrBars[nPos]; ++nPos) {
        CControlBar* pBar = VisibleBarAt(arrBars, nPos);
        n += pBar && IsLayoutSizeable(pBar);
    }
    return n;
}

} // namespace

CSize COXSizeDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (m_arrBars.GetSize() <= 1)
        return sizeFixed;

    const BOOL bHorzBar = IsBarHorizontal();
    // Row splitters stand before each row on the right and bottom sides, after it on the
    // left and top ones.
    const BOOL bSplitterBefore = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
    const BOOL bSplitterAfter = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP)) != 0;
    const CSize sizeMax = !m_rectLayout.IsRectEmpty() ? m_rectLayout.Size() : MaxLayoutSize();
    const int nMaxLength = bHorzBar ? sizeMax.cx : sizeMax.cy;
    const int nBorder = bHorzBar ? AFX_CX_BORDER2 : AFX_CY_BORDER2;

    AFX_SIZEPARENTPARAMS layout{};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
    DeleteSplitterRects();

    CPoint pt(-AFX_CX_BORDER2, -AFX_CY_BORDER2);
    // Along and across the side, whatever its orientation.
    LONG& ptAlong = bHorzBar ? pt.x : pt.y;
    LONG& ptAcross = bHorzBar ? pt.y : pt.x;
    int nRowWidth = 0;
    BOOL bNewRow = TRUE;
    BOOL bPrevSizeable = FALSE;
    BOOL bRowSplitterWanted = FALSE;
    BOOL bWrapped = FALSE;
    int nFirstOfRow = 0;
    int nLastRowEnd = -1;
    int nSplitterStart = 0;
    int nNextRowCount = 0;
    const UINT nDockID = static_cast<UINT>(GetDlgCtrlID());

    // Bars wrapping to a new row insert row ends, so the array may grow during the walk.
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        void* pVoid = m_arrBars[nPos];
        if (!pVoid) {
            nNextRowCount = CountSizeableInRow(m_arrBars, nPos + 1);
            if (!bNewRow) {
                // The row ends: the next one starts 2 pixels back over it, and the splitters
                // between its bars reach across it.
                ptAcross += nRowWidth - (bHorzBar ? AFX_CY_BORDER2 : AFX_CX_BORDER2);
                sizeFixed.cx = std::max(sizeFixed.cx, pt.x);
                sizeFixed.cy = std::max(sizeFixed.cy, pt.y);
                ptAlong = -nBorder;
                SetSplitterSizeInRange(nSplitterStart, bHorzBar ? COXSplitterRect::typeVertical
                                                                : COXSplitterRect::typeHorizontal,
                    ptAcross);
                nLastRowEnd = nPos;
            }
            nSplitterStart = GetSplitterCount();
            nRowWidth = 0;
            bNewRow = TRUE;
            bPrevSizeable = FALSE;
            continue;
        }
        CControlBar* pBar = LiveBarAt(m_arrBars, nPos);
        if (!pBar)
            continue;
        if (!pBar->IsVisible()) {
            // A delayed hide still has to reach the window.
            pBar->RecalcDelayShow(&layout);
            continue;
        }
        const BOOL bSizeable = IsLayoutSizeable(pBar);

        if (bNewRow) {
            bNewRow = FALSE;
            nFirstOfRow = nPos;
            if (bSplitterBefore)
                bRowSplitterWanted = IsRowSizeable(nPos) && !IsSizeToolBar(pBar);
            if (bRowSplitterWanted) {
                if (bHorzBar)
                    AddSplitterRect(COXSplitterRect::typeHorizontal, pt.x, pt.y, 0, pt.y + kSplitterSize, nPos);
                else
                    AddSplitterRect(COXSplitterRect::typeVertical, pt.x, pt.y, pt.x + kSplitterSize, 0, nPos);
                ptAcross += kSplitterSize;
                bRowSplitterWanted = FALSE;
            }
        }
        if (bPrevSizeable && bSizeable) {
            if (bHorzBar)
                AddSplitterRect(COXSplitterRect::typeVertical, pt.x, pt.y, pt.x + kSplitterSize, 0, nPos);
            else
                AddSplitterRect(COXSplitterRect::typeHorizontal, pt.x, pt.y, 0, pt.y + kSplitterSize, nPos);
            ptAlong += kSplitterSize;
        }
        if (bSizeable)
            bRowSplitterWanted = TRUE;   // on the left and top sides it stands after the row

        DWORD dwMode;
        if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_bFloating || (pBar->m_dwStyle & CBRS_FLOATING)))
            dwMode = LM_HORZ | LM_MRUWIDTH;
        else if (bHorzBar)
            dwMode = LM_HORZ | LM_HORZDOCK;
        else
            dwMode = LM_VERTDOCK;
        const CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
        CRect rect(pt, sizeBar);
        const CRect rectBar = RectIn(this, pBar);
        const int nBarLength = bHorzBar ? sizeBar.cx : sizeBar.cy;
        const int nBarWidth = bHorzBar ? sizeBar.cy : sizeBar.cx;
        // Along the side: the start of the target and of the window as it stands.
        auto targetStart = [&]() { return bHorzBar ? rect.left : rect.top; };
        auto moveAlong = [&](int nTo) {
            if (bHorzBar)
                rect.OffsetRect(nTo - rect.left, 0);
            else
                rect.OffsetRect(0, nTo - rect.top);
        };
        const int nCurStart = bHorzBar ? rectBar.left : rectBar.top;
        const int nCurEnd = bHorzBar ? rectBar.right : rectBar.bottom;

        if (!bSizeable) {
            // A plain bar keeps a place further along the row than the packed one when it
            // follows no sizeable bar and the next row shares nothing in proportion.
            if (nCurStart > targetStart() && !m_bFloating && !bPrevSizeable && nNextRowCount == 0)
                moveAlong(nCurStart);
            if ((bHorzBar ? rect.right : rect.bottom) > nMaxLength && !m_bFloating)
                moveAlong(std::max(nMaxLength - (nBarLength - nBorder), static_cast<int>(ptAlong)));
            const int nTargetEnd = bHorzBar ? rect.right : rect.bottom;
            if (bWrapped) {
                bWrapped = FALSE;
                moveAlong(-nBorder);
            } else if (targetStart() >= nMaxLength - nBorder && nPos > 0 && m_arrBars[nPos - 1] != nullptr) {
                // Nothing of it would show: it starts a row of its own in the next pass and
                // is placed at the start of this one meanwhile.
                m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                bWrapped = TRUE;
                continue;
            } else if (nRowWidth != 0 && nTargetEnd > nMaxLength + nBorder && m_arrBars[nPos - 1] != nullptr &&
                       !m_bFloating) {
                // It would run past the side even packed against the bars before it: it
                // starts a row of its own at once (the row end inserted is taken as one in
                // this pass, so it never lies over the bars of the row it leaves).
                m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                bWrapped = TRUE; // at the new row's start, wherever its window stood
                --nPos;
                continue;
            }
        } else if (bWrapped) {
            bWrapped = FALSE;
            moveAlong(-nBorder);
        } else if (!(targetStart() < nMaxLength - nBorder && nCurEnd > 0 && nCurEnd > nCurStart)) {
            // The row overflows.
            bWrapped = TRUE;
            if (nPos == nFirstOfRow) {
                // At its row's start: the row is closed after it and both rows are shared
                // out again; the bar is looked at once more. A bar alone in its row needs
                // no new row end (an empty row would be added at every pass).
                if (nPos + 1 >= m_arrBars.GetSize() || m_arrBars[nPos + 1] != nullptr) {
                    m_arrBars.InsertAt(nPos + 1, static_cast<void*>(nullptr));
                    AdjustRowSizes(nPos + 2, nMaxLength, m_arrBars);
                }
                AdjustRowSizes(nPos, nMaxLength, m_arrBars);
                --nPos;
            } else {
                m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                AdjustRowSizes(nPos + 1, nMaxLength, m_arrBars);
            }
            continue;
        }

        if (rect != rectBar)
            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
        ptAlong = targetStart() + nBarLength - nBorder;
        nRowWidth = std::max(nRowWidth, nBarWidth);
        // Where the bar goes back to when it is docked again after floating.
        if (pBar->m_pDockContext && !m_bFloating) {
            pBar->m_pDockContext->m_rectMRUDockPos = rect;
            pBar->m_pDockContext->m_uMRUDockID = nDockID;
        }
        pBar->RecalcDelayShow(&layout);
        bPrevSizeable = bSizeable;
    }

    // The row splitter after the last row of a left or top side.
    if (nLastRowEnd >= 0 && bRowSplitterWanted && bSplitterAfter) {
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            AddSplitterRect(COXSplitterRect::typeHorizontal, pt.x, pt.y, 0, pt.y + kSplitterSize, nLastRowEnd);
            sizeFixed.cy += kSplitterSize;
        } else {
            AddSplitterRect(COXSplitterRect::typeVertical, pt.x, pt.y, pt.x + kSplitterSize, 0, nLastRowEnd);
            sizeFixed.cx += kSplitterSize - 1;
        }
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);

    // Row splitters reach across the whole side.
    for (const auto& splitter : m_arrSplitters) {
        if (bHorzBar && splitter->m_nType == COXSplitterRect::typeHorizontal)
            splitter->m_rect.right = sizeFixed.cx;
        else if (!bHorzBar && splitter->m_nType == COXSplitterRect::typeVertical)
            splitter->m_rect.bottom = sizeFixed.cy;
    }

    CRect rectInside;
    CalcInsideRect(rectInside, bHorz);
    if ((!bStretch || !bHorz) && sizeFixed.cx != 0)
        sizeFixed.cx += rectInside.right - rectInside.left;
    if ((!bStretch || bHorz) && sizeFixed.cy != 0)
        sizeFixed.cy += rectInside.bottom - rectInside.top;
    sizeFixed.cy += GetTabHeight();
    return sizeFixed;
}
