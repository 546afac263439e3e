// CRectTracker's tracking: the modal loop, the rectangle each mouse move gives, the
// feedback frame and the base adjustment.
#include "platform/afx/tracker.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/paint.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

// The side of a resize handle when nobody sets one.
constexpr int kDefaultHandleSize = 6;

// The edges a handle moves.
struct Edges {
    bool left, top, right, bottom;
};

Edges EdgesOf(int nHandle)
{
    switch (nHandle) {
    case CRectTracker::hitTopLeft: return {true, true, false, false};
    case CRectTracker::hitTopRight: return {false, true, true, false};
    case CRectTracker::hitBottomRight: return {false, false, true, true};
    case CRectTracker::hitBottomLeft: return {true, false, false, true};
    case CRectTracker::hitTop: return {false, true, false, false};
    case CRectTracker::hitRight: return {false, false, true, false};
    case CRectTracker::hitBottom: return {false, false, false, true};
    case CRectTracker::hitLeft: return {true, false, false, false};
    case CRectTracker::hitMiddle: return {true, true, true, true};
    default: return {false, false, false, false};
    }
}

// Keeps one axis of a resized rectangle at least `minimum` long, moving the edge the
// handle drags (so the other edge stays where the user left it).
void KeepMinimum(LONG& lo, LONG& hi, bool movesLo, bool movesHi, int minimum)
{
    if (hi - lo >= minimum)
        return;
    if (movesHi)
        hi = lo + minimum;
    else if (movesLo)
        lo = hi - minimum;
}

} // namespace

// ---- construction ---------------------------------------------------------------------------------------------

CRectTracker::CRectTracker() { Construct(); }

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle)
{
    Construct();
    if (lpSrcRect)
        m_rect = *lpSrcRect;
    m_nStyle = nStyle;
}

CRectTracker::~CRectTracker() = default;

void CRectTracker::Construct()
{
    m_nHandleSize = kDefaultHandleSize;
    // Two handles: the corner handles of a minimal rectangle touch but do not overlap.
    m_sizeMin = CSize(kDefaultHandleSize * 2, kDefaultHandleSize * 2);
}

// ---- tracking ---------------------------------------------------------------------------------------------------

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    const int nHandle = HitTest(point);
    if (nHandle < 0)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(nHandle, pWnd, point, pWndClipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert)
{
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    m_bAllowInvert = bAllowInvert;
    m_bRubberBand = true;
    const BOOL tracked = TrackHandle(hitBottomRight, pWnd, point, nullptr);
    m_bRubberBand = false;
    if (!tracked)
        return FALSE;
    CRect selection(m_rect);
    selection.NormalizeRect();
    return !selection.IsRectEmpty();
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo)
{
    if (nHandle < hitTopLeft || nHandle > hitMiddle || !pWnd || !::IsWindow(pWnd->m_hWnd) ||
        (pWndClipTo && !::IsWindow(pWndClipTo->m_hWnd))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Somebody else is dragging already (a menu, a scroll bar, another tracker).
    if (::GetCapture())
        return FALSE;

    const HWND hWnd = pWnd->m_hWnd;
    const HWND hWndClip = pWndClipTo ? pWndClipTo->m_hWnd : hWnd;
    // Frames drawn by inversion must go over a finished picture.
    ::UpdateWindow(hWnd);
    if (hWndClip != hWnd)
        ::UpdateWindow(hWndClip);

    const CRect rectSave = m_rect;
    const Edges edges = EdgesOf(nHandle);
    const CPoint offsetTopLeft(m_rect.left - point.x, m_rect.top - point.y);
    const CPoint offsetBottomRight(m_rect.right - point.x, m_rect.bottom - point.y);
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bErase = m_bFinalErase = FALSE;

    // Nothing else repaints the clip window while a frame is inverted over it; when
    // another window holds the lock we draw all the same.
    const BOOL locked = ::LockWindowUpdate(hWndClip);
    const HDC hdc = ::GetDCEx(hWndClip, nullptr, DCX_CACHE | (locked ? DCX_LOCKWINDOWUPDATE : 0));
    if (!hdc) {
        if (locked)
            ::LockWindowUpdate(nullptr);
        return FALSE;
    }
    CDC dc;
    dc.Attach(hdc);
    ::SetCapture(hWnd);

    bool drawn = false;
    CRect drawnRect;
    auto erase = [&](bool final) {
        if (!drawn)
            return;
        m_bErase = TRUE;
        m_bFinalErase = final ? TRUE : FALSE;
        DrawTrackerRect(&drawnRect, pWndClipTo, &dc, pWnd);
        drawn = false;
    };
    auto draw = [&] {
        m_bErase = m_bFinalErase = FALSE;
        DrawTrackerRect(&m_rect, pWndClipTo, &dc, pWnd);
        drawnRect = m_rect;
        drawn = true;
    };
    // The rectangle for a mouse position: the dragged edges keep their distance from the
    // mouse, the others stay where they were when tracking began.
    auto follow = [&](CPoint pt) {
        CRect r = rectSave;
        if (nHandle == hitMiddle) {
            r.left = pt.x + offsetTopLeft.x;
            r.top = pt.y + offsetTopLeft.y;
            r.right = r.left + rectSave.Width();
            r.bottom = r.top + rectSave.Height();
        } else {
            if (edges.left)
                r.left = pt.x + offsetTopLeft.x;
            if (edges.top)
                r.top = pt.y + offsetTopLeft.y;
            if (edges.right)
                r.right = pt.x + offsetBottomRight.x;
            if (edges.bottom)
                r.bottom = pt.y + offsetBottomRight.y;
        }
        AdjustRect(nHandle, &r);
        return r;
    };

    bool done = false;
    bool committed = false;
    zyn::user::ModalLoopParams params;
    params.owner = hWnd;
    params.done = [&] { return done || ::GetCapture() != hWnd; };
    params.preTranslate = [&](MSG& m) {
        switch (m.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt = m.pt;
            ::ScreenToClient(hWnd, &pt);
            const CRect rectOld = m_rect;
            m_rect = follow(pt);
            const bool changed = m_rect != rectOld;
            if (m.message == WM_LBUTTONUP) {
                erase(true);
                if (changed)
                    OnChangedRect(rectOld);
                committed = done = true;
            } else if (changed) {
                erase(false);
                OnChangedRect(rectOld);
                draw();
            } else if (!drawn) {
                draw();
            }
            return true;
        }
        case WM_RBUTTONDOWN:
            done = true;
            return true;
        case WM_KEYDOWN:
            if (m.wParam == static_cast<WPARAM>(VK_ESCAPE))
                done = true;
            return true; // the drag owns the keyboard
        case WM_KEYUP:
        case WM_CHAR:
            return true;
        default:
            return false;
        }
    };
    zyn::user::RunModalLoop(params);

    // A window destroyed during the drag took its DC and frame with it (and its object
    // may be gone too): nothing is left to erase.
    if (!::IsWindow(hWnd) || !::IsWindow(hWndClip))
        drawn = false;
    if (!committed) {
        erase(true);
        const CRect rectOld = m_rect;
        m_rect = rectSave;
        if (rectOld != rectSave)
            OnChangedRect(rectOld);
    }
    m_bErase = m_bFinalErase = FALSE;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    dc.Detach();
    ::ReleaseDC(hWndClip, hdc);
    if (locked)
        ::LockWindowUpdate(nullptr);
    return committed ? TRUE : FALSE;
}

// ---- the overridables -----------------------------------------------------------------------------------------

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    if (!lpRect || !pDC)
        return;
    CRect r(lpRect);
    r.NormalizeRect();
    if (pWndClipTo && pWnd)
        pWnd->MapWindowPoints(pWndClipTo, &r);
    const CSize size = m_bFinalErase ? CSize(0, 0) : CSize(1, 1);
    if (!m_bErase || m_bFinalErase)
        pDC->DrawDragRect(&r, size, &m_rectLast, m_sizeLast);
    m_rectLast = r;
    m_sizeLast = size;
}

void CRectTracker::AdjustRect(int nHandle, LPRECT lpRect)
{
    if (!lpRect || nHandle < hitTopLeft || nHandle >= hitMiddle)
        return;
    if (m_bAllowInvert)
        return; // the rectangle passes through zero size: no minimum can hold
    const Edges edges = EdgesOf(nHandle);
    // A rubber band starts empty; it only may not turn inside out.
    const CSize minimum = m_bRubberBand ? CSize(0, 0) : m_sizeMin;
    KeepMinimum(lpRect->left, lpRect->right, edges.left, edges.right, minimum.cx);
    KeepMinimum(lpRect->top, lpRect->bottom, edges.top, edges.bottom, minimum.cy);
}

void CRectTracker::OnChangedRect(const CRect& /*rectOld*/) {}
