#include "toolkit/skins/rect_tracker.h"

#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/user/messages.h"

namespace {

// A moved rectangle's top edge stops this far above the limit's bottom, so a strip of
// it stays in reach.
constexpr int kMoveBottomMargin = 10;

// Into lo..hi; lo wins when the range is empty.
LONG Within(LONG value, LONG lo, LONG hi) { return std::max(lo, std::min(value, hi)); }

} // namespace

COXRectTracker::~COXRectTracker() = default;

int COXRectTracker::HandleFromHitTest(int nHitTest)
{
    switch (nHitTest) {
    case HTLEFT: return hitLeft;
    case HTRIGHT: return hitRight;
    case HTTOP: return hitTop;
    case HTTOPLEFT: return hitTopLeft;
    case HTTOPRIGHT: return hitTopRight;
    case HTBOTTOM: return hitBottom;
    case HTBOTTOMLEFT: return hitBottomLeft;
    case HTBOTTOMRIGHT: return hitBottomRight;
    default: return hitMiddle;
    }
}

BOOL COXRectTracker::TrackFromHitTest(int nHitTest, CWnd* pWnd, CPoint point, CWnd* pWndClipTo, BOOL bAllowInvert)
{
    m_rectStart = m_rect;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(HandleFromHitTest(nHitTest), pWnd, point, pWndClipTo);
}

void COXRectTracker::AdjustRect(int nHandle, LPRECT lpRect)
{
    if (!lpRect)
        return;
    if (!m_rectLimit.IsRectNull()) {
        if (nHandle != hitMiddle) {
            // The part inside the limit. Each edge is brought into the limit on its own,
            // which is the intersection whenever the two overlap; a rectangle dragged
            // wholly outside stays at the limit's edge instead of collapsing to 0,0.
            lpRect->left = Within(lpRect->left, m_rectLimit.left, m_rectLimit.right);
            lpRect->right = Within(lpRect->right, m_rectLimit.left, m_rectLimit.right);
            lpRect->top = Within(lpRect->top, m_rectLimit.top, m_rectLimit.bottom);
            lpRect->bottom = Within(lpRect->bottom, m_rectLimit.top, m_rectLimit.bottom);
        } else {
            lpRect->left = Within(lpRect->left, m_rectLimit.left, m_rectLimit.right);
            lpRect->top = Within(lpRect->top, m_rectLimit.top, m_rectLimit.bottom - kMoveBottomMargin);
            lpRect->right = lpRect->left + m_rectStart.Width();
            lpRect->bottom = lpRect->top + m_rectStart.Height();
        }
    }
    CRectTracker::AdjustRect(nHandle, lpRect);
    if (m_nStyle & keepStartTopBottom) {
        lpRect->top = m_rectStart.top;
        lpRect->bottom = m_rectStart.bottom;
    }
    if (m_nStyle & keepStartLeftRight) {
        lpRect->left = m_rectStart.left;
        lpRect->right = m_rectStart.right;
    }
}

void COXRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    if (!lpRect || !pDC)
        return;
    CRect r(lpRect);
    r.NormalizeRect();
    if (pWndClipTo && pWnd)
        pWnd->MapWindowPoints(pWndClipTo, &r);
    const CSize size = m_bFinalErase ? CSize(0, 0) : CSize(2, 2);
    // Each frame is drawn from the last one, so an erase call has nothing to do until
    // the final one takes the last frame away.
    if (!m_bErase || m_bFinalErase)
        pDC->DrawDragRect(&r, size, &m_rectLast, m_sizeLast);
    m_rectLast = r;
    m_sizeLast = size;
}

void COXDragRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    COXRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
}
