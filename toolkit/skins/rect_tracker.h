#pragma once
// COXRectTracker: the class library's rectangle tracker as the size dock bars drag their
// splitters with it. Tracking can start from a WM_NCHITTEST code (the sizing borders map
// to the matching handles, anything else moves the whole rectangle), can be kept inside
// a limit rectangle, and can be held to one axis by two style bits of its own. Its
// feedback frame is the halftone drag rectangle two pixels thick.
//
// COXDragRectTracker is the same tracker under the name the dragging code uses.
#include "platform/afx/tracker.h"

class COXRectTracker : public CRectTracker {
public:
    // Style bits beside CRectTracker's own.
    static constexpr UINT keepStartTopBottom = 0x100;  // moves only horizontally
    static constexpr UINT keepStartLeftRight = 0x200;  // moves only vertically

    COXRectTracker() = default;
    ~COXRectTracker() override;

    // Remembers m_rect as the start rectangle and bAllowInvert, and tracks the handle
    // for nHitTest (HTLEFT..HTBOTTOMRIGHT; any other code moves the rectangle). pWnd,
    // point and pWndClipTo as for CRectTracker::Track. TRUE when the drag was completed.
    BOOL TrackFromHitTest(int nHitTest, CWnd* pWnd, CPoint point, CWnd* pWndClipTo, BOOL bAllowInvert);
    // The tracker handle a WM_NCHITTEST code stands for.
    static int HandleFromHitTest(int nHitTest);

    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;
    // Keeps the rectangle in the limit rectangle (a resize is cut to it; a move keeps the
    // start size with the left edge in limit.left..limit.right and the top edge in
    // limit.top..limit.bottom - 10), then the base adjustment, then the axis locks.
    void AdjustRect(int nHandle, LPRECT lpRect) override;

    CRect m_rectLimit;   // all zero: no limit
    CRect m_rectStart;   // m_rect when tracking began
};

class COXDragRectTracker : public COXRectTracker {
public:
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;
};
