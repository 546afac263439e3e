// CDockBar's row layout: places the docked bars row by row, wraps a bar that does not fit
// in the rest of its row (it would start past the side's end, or run past it even packed
// against the bars before it) into a row of its own, and answers the dock bar's size.
#include <algorithm>

#include "platform/afx/dockbar.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/frame.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

CSize CDockBar::MaxLayoutSize() const
{
    if (m_bFloating || !m_pDockSite || !m_pDockSite->m_hWnd)
        return CSize(32767, 32767);
    // The frame's client area less the top and bottom dock bars: what a side can span.
    CRect rect;
    m_pDockSite->GetClientRect(&rect);
    m_pDockSite->ClientToScreen(&rect);
    POSITION pos = m_pDockSite->m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* pBar = static_cast<CControlBar*>(m_pDockSite->m_listControlBars.GetNext(pos));
        if (!pBar || !pBar->IsDockBar() || pBar == this || !pBar->IsWindowVisible() ||
            static_cast<CDockBar*>(pBar)->m_bFloating)
            continue;
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        if (pBar->m_dwStyle & CBRS_ALIGN_TOP)
            rect.top = std::max(rect.top, rectBar.bottom);
        else if (pBar->m_dwStyle & CBRS_ALIGN_BOTTOM)
            rect.bottom = std::min(rect.bottom, rectBar.top);
    }
    return CSize(std::max(0, rect.Width()), std::max(0, rect.Height()));
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (m_arrBars.GetSize() <= 1)
        return sizeFixed;
    const CSize sizeMax = !m_rectLayout.IsRectEmpty() ? m_rectLayout.Size() : MaxLayoutSize();
    AFX_SIZEPARENTPARAMS layout{};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
    CPoint pt(-AFX_CX_BORDER2, -AFX_CY_BORDER2);
    int nWidth = 0;          // the thickness of the row so far
    BOOL bWrapped = FALSE;   // the bar at the next position starts a new row
    const UINT nDockID = static_cast<UINT>(GetDlgCtrlID());

    // The array may grow while it is walked (a wrapped bar gets a row end before it).
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        void* pVoid = m_arrBars[nPos];
        if (pBar && !pBar->m_hWnd)
            pBar = nullptr;   // a bar object whose window is gone takes no room
        if (pBar) {
            if (pBar->IsVisible()) {
                DWORD dwMode = 0;
                if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
                    dwMode = LM_HORZ | LM_MRUWIDTH;
                else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
                    dwMode = LM_HORZ | LM_HORZDOCK;
                else
                    dwMode = LM_VERTDOCK;
                const CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
                CRect rect(pt, sizeBar);
                CRect rectBar;
                pBar->GetWindowRect(&rectBar);
                ScreenToClient(&rectBar);
                BOOL bPlace = TRUE;
                if (bHorz) {
                    // A bar further along the row than the packed place keeps its place.
                    if (rectBar.left > rect.left && !m_bFloating)
                        rect.OffsetRect(rectBar.left - rect.left, 0);
                    // Running past the end: pulled back as far as the row allows.
                    if (rect.right > sizeMax.cx && !m_bFloating) {
                        const int x = std::max(sizeMax.cx - (rect.Width() - AFX_CX_BORDER2), static_cast<int>(pt.x));
                        rect.OffsetRect(x - rect.left, 0);
                    }
                    if (bWrapped) {
                        bWrapped = FALSE;
                        rect.OffsetRect(-(rect.left + AFX_CX_BORDER2), 0);
                    } else if ((rect.left >= sizeMax.cx - AFX_CX_BORDER2 ||
                                   (nWidth != 0 && rect.right > sizeMax.cx + AFX_CX_BORDER2)) &&
                               nPos > 0 && m_arrBars[nPos - 1] != nullptr && !m_bFloating) {
                        // Nothing of it would show, or it would run past the side even
                        // packed against the bars before it: it starts a row of its own.
                        m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                        pBar = nullptr;
                        pVoid = nullptr;
                        bWrapped = TRUE;
                        bPlace = FALSE;
                    }
                    if (bPlace) {
                        pt.x = rect.left + sizeBar.cx - AFX_CX_BORDER2;
                        nWidth = std::max(nWidth, static_cast<int>(sizeBar.cy));
                    }
                } else {
                    if (rectBar.top > rect.top && !m_bFloating)
                        rect.OffsetRect(0, rectBar.top - rect.top);
                    if (rect.bottom > sizeMax.cy && !m_bFloating) {
                        const int y = std::max(sizeMax.cy - (rect.Height() - AFX_CY_BORDER2), static_cast<int>(pt.y));
                        rect.OffsetRect(0, y - rect.top);
                    }
                    if (bWrapped) {
                        bWrapped = FALSE;
                        rect.OffsetRect(0, -(rect.top + AFX_CY_BORDER2));
                    } else if ((rect.top >= sizeMax.cy - AFX_CY_BORDER2 ||
                                   (nWidth != 0 && rect.bottom > sizeMax.cy + AFX_CY_BORDER2)) &&
                               nPos > 0 && m_arrBars[nPos - 1] != nullptr && !m_bFloating) {
                        m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                        pBar = nullptr;
                        pVoid = nullptr;
                        bWrapped = TRUE;
                        bPlace = FALSE;
                    }
                    if (bPlace) {
                        pt.y = rect.top + sizeBar.cy - AFX_CY_BORDER2;
                        nWidth = std::max(nWidth, static_cast<int>(sizeBar.cx));
                    }
                }
                if (bPlace) {
                    if (rect != rectBar)
                        AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
                    // Where the bar goes back to when it is docked again after floating.
                    if (!m_bLayoutQuery && !m_bFloating && pBar->m_pDockContext) {
                        pBar->m_pDockContext->m_rectMRUDockPos = rect;
                        pBar->m_pDockContext->m_uMRUDockID = nDockID;
                    }
                }
            }
            if (pBar)
                pBar->RecalcDelayShow(&layout);
        }
        if (!pBar && !pVoid && nWidth != 0) {
            // A row ends: the next one starts 2 pixels back over it.
            if (bHorz) {
                pt.y += nWidth - AFX_CY_BORDER2;
                sizeFixed.cx = std::max(sizeFixed.cx, pt.x);
                sizeFixed.cy = std::max(sizeFixed.cy, pt.y);
                pt.x = -AFX_CX_BORDER2;
            } else {
                pt.x += nWidth - AFX_CX_BORDER2;
                sizeFixed.cx = std::max(sizeFixed.cx, pt.x);
                sizeFixed.cy = std::max(sizeFixed.cy, pt.y);
                pt.y = -AFX_CY_BORDER2;
            }
            nWidth = 0;
        }
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    // The dock bar's own borders, where it is not stretched.
    CRect rectInside;
    CalcInsideRect(rectInside, bHorz);
    if ((!bStretch || !bHorz) && sizeFixed.cx != 0)
        sizeFixed.cx += rectInside.right - rectInside.left;
    if ((!bStretch || bHorz) && sizeFixed.cy != 0)
        sizeFixed.cy += rectInside.bottom - rectInside.top;
    return sizeFixed;
}
