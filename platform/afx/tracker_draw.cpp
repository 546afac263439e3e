// CRectTracker's geometry and painting: handles, hit testing, the cursor, Draw.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/tracker.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"

namespace {

CRect Normalised(const CRect& r)
{
    CRect n(r);
    n.NormalizeRect();
    return n;
}

} // namespace

UINT CRectTracker::GetHandleMask() const
{
    const CRect r = Normalised(m_rect);
    UINT mask = 0x0F; // the corners
    if (r.Width() >= 3 * m_nHandleSize)
        mask |= (1u << hitTop) | (1u << hitBottom);
    if (r.Height() >= 3 * m_nHandleSize)
        mask |= (1u << hitLeft) | (1u << hitRight);
    return mask;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const
{
    if (!pHandleRect)
        return;
    pHandleRect->SetRectEmpty();
    if (nHandle < hitTopLeft || nHandle >= hitMiddle || !(m_nStyle & (resizeInside | resizeOutside)))
        return;
    const CRect r = Normalised(m_rect);
    const int s = m_nHandleSize;
    const bool outside = (m_nStyle & resizeOutside) != 0;
    // The three places a handle can take along each axis.
    const int leftX = outside ? r.left - s : r.left;
    const int rightX = outside ? r.right : r.right - s;
    const int midX = (r.left + r.right) / 2 - s / 2;
    const int topY = outside ? r.top - s : r.top;
    const int bottomY = outside ? r.bottom : r.bottom - s;
    const int midY = (r.top + r.bottom) / 2 - s / 2;
    int x = 0, y = 0;
    switch (nHandle) {
    case hitTopLeft: x = leftX, y = topY; break;
    case hitTopRight: x = rightX, y = topY; break;
    case hitBottomRight: x = rightX, y = bottomY; break;
    case hitBottomLeft: x = leftX, y = bottomY; break;
    case hitTop: x = midX, y = topY; break;
    case hitRight: x = rightX, y = midY; break;
    case hitBottom: x = midX, y = bottomY; break;
    case hitLeft: x = leftX, y = midY; break;
    default: return;
    }
    pHandleRect->SetRect(x, y, x + s, y + s);
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const
{
    if (!lpTrueRect)
        return;
    CRect r = Normalised(m_rect);
    if (m_nStyle & (resizeOutside | hatchedBorder))
        r.InflateRect(m_nHandleSize, m_nHandleSize);
    *lpTrueRect = r;
}

int CRectTracker::NormalizeHit(int nHandle) const
{
    if (nHandle < hitTopLeft || nHandle >= hitMiddle)
        return nHandle;
    static constexpr int kMirrorX[8] = {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight, hitTop, hitLeft,
        hitBottom, hitRight};
    static constexpr int kMirrorY[8] = {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft, hitBottom, hitRight,
        hitTop, hitLeft};
    if (m_rect.Width() < 0)
        nHandle = kMirrorX[nHandle];
    if (m_rect.Height() < 0)
        nHandle = kMirrorY[nHandle];
    return nHandle;
}

int CRectTracker::HitTest(CPoint point) const
{
    if (m_nStyle & (resizeInside | resizeOutside)) {
        const UINT mask = GetHandleMask();
        // Corners first: where a small rectangle's handles overlap, the corner wins.
        for (int h = hitTopLeft; h < hitMiddle; ++h) {
            if (!(mask & (1u << h)))
                continue;
            CRect handle;
            GetHandleRect(h, &handle);
            if (handle.PtInRect(point))
                return NormalizeHit(h);
        }
    }
    CRect body = Normalised(m_rect);
    if (m_nStyle & hatchedBorder)
        body.InflateRect(m_nHandleSize, m_nHandleSize);
    return body.PtInRect(point) ? hitMiddle : hitNothing;
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (nHitTest != HTCLIENT || !pWnd || !pWnd->m_hWnd)
        return FALSE;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return FALSE;
    pWnd->ScreenToClient(&pt);
    const int hit = HitTest(pt);
    if (hit == hitNothing)
        return FALSE;
    // The arrows follow the handle as drawn, not the m_rect edge it moves.
    LPCWSTR cursor = IDC_SIZEALL;
    switch (NormalizeHit(hit)) {
    case hitTopLeft:
    case hitBottomRight: cursor = IDC_SIZENWSE; break;
    case hitTopRight:
    case hitBottomLeft: cursor = IDC_SIZENESW; break;
    case hitTop:
    case hitBottom: cursor = IDC_SIZENS; break;
    case hitLeft:
    case hitRight: cursor = IDC_SIZEWE; break;
    default: break;
    }
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return TRUE;
}

void CRectTracker::Draw(CDC* pDC) const
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    const CRect r = Normalised(m_rect);
    CPen outline;
    CBrush hatch;
    const int penStyle = (m_nStyle & dottedLine) ? PS_DOT : PS_SOLID;
    if ((m_nStyle & (solidLine | dottedLine)) && !outline.CreatePen(penStyle, 1, RGB(0, 0, 0)))
        return;
    if ((m_nStyle & (hatchInside | hatchedBorder)) && !hatch.CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0)))
        return;
    const int saved = pDC->SaveDC();
    if (saved == 0)
        return;
    pDC->SetBkMode(TRANSPARENT);
    if (m_nStyle & hatchInside) {
        // Inside the outline.
        const CRect inside(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        pDC->FillRect(inside, &hatch);
    }
    if (m_nStyle & hatchedBorder) {
        CRect outer(r);
        outer.InflateRect(m_nHandleSize, m_nHandleSize);
        // Four bands: top and bottom full width, left and right between them.
        pDC->FillRect(CRect(outer.left, outer.top, outer.right, r.top), &hatch);
        pDC->FillRect(CRect(outer.left, r.bottom, outer.right, outer.bottom), &hatch);
        pDC->FillRect(CRect(outer.left, r.top, r.left, r.bottom), &hatch);
        pDC->FillRect(CRect(r.right, r.top, outer.right, r.bottom), &hatch);
    }
    if (m_nStyle & (solidLine | dottedLine)) {
        pDC->SelectObject(&outline);
        pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(r);
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        const UINT mask = GetHandleMask();
        for (int h = hitTopLeft; h < hitMiddle; ++h) {
            if (!(mask & (1u << h)))
                continue;
            CRect handle;
            GetHandleRect(h, &handle);
            pDC->FillSolidRect(handle, RGB(0, 0, 0));
        }
    }
    pDC->RestoreDC(saved);
}
