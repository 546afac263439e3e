#pragma once
// CRectTracker: a rectangle the user moves or resizes with the mouse, as the class
// library offers it for selections, OLE items and the toolkit's splitters.
//
// m_rect is in the client coordinates of the window the tracker serves. Draw paints the
// tracker in its style (outline, hatching, resize handles); HitTest tells which of the
// nine handles (four corners, four sides, the middle) lies under a point. Track and
// TrackRubberBand run the one modal loop with the mouse captured by that window: every
// mouse move computes a new rectangle from the handle being dragged, lets AdjustRect
// correct it (minimum size, inversion, and whatever a derived class adds), and redraws
// the feedback frame through DrawTrackerRect. The left button going up commits the
// rectangle (TRUE); Escape, the right button, a lost capture or a loop that ends as a
// cancel restore the rectangle as it was (FALSE).
//
// The feedback frame is drawn by inversion (the halftone drag rectangle) on a DC of the
// clip window (or of the tracked window when there is none) that does not clip its
// children, so it runs over them. While tracking, window updates of the clip window are
// locked (LockWindowUpdate) when no other window holds the lock, so nothing repaints
// under an inverted frame; unlocking repaints the clip window. Each drawing call goes
// last-to-this (the previous frame is taken away in the same call), so the default
// erase call draws nothing and the final erase call removes the last frame; an override
// that draws by plain inversion undoes its frame in the erase calls instead.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CDC;
class CWnd;

class CRectTracker {
public:
    // m_nStyle bits.
    enum StyleFlags {
        solidLine = 1,        // a solid outline
        dottedLine = 2,       // a dotted outline
        hatchedBorder = 4,    // a hatched band of the handle size around the rectangle
        resizeInside = 8,     // resize handles inside the rectangle
        resizeOutside = 16,   // resize handles outside the rectangle
        hatchInside = 32,     // the inside hatched
    };
    // Handles, as HitTest answers and TrackHandle takes them.
    enum TrackerHit {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker();
    CRectTracker(LPCRECT lpSrcRect, UINT nStyle);
    virtual ~CRectTracker();
    CRectTracker(const CRectTracker&) = default;
    CRectTracker& operator=(const CRectTracker&) = default;

    UINT m_nStyle = 0;
    CRect m_rect;        // client coordinates of the tracked window; may be inverted
    CSize m_sizeMin;     // enforced while inverting is not allowed
    int m_nHandleSize;   // side of a resize handle, and width of the hatched border

    // Paints the tracker in its style (the rectangle normalised).
    void Draw(CDC* pDC) const;
    // The normalised rectangle with the band that outside handles or a hatched border
    // take around it.
    void GetTrueRect(LPRECT lpTrueRect) const;
    // For WM_SETCURSOR: when nHitTest is HTCLIENT and the cursor lies on the tracker,
    // sets the cursor for the handle under it (sizing arrows, the four-way arrow in the
    // middle) and answers TRUE.
    BOOL SetCursor(CWnd* pWnd, UINT nHitTest) const;
    // Tracks from a mouse-down at `point` (pWnd's client coordinates) on the handle under
    // it. FALSE at once when nothing of the tracker is there. TRUE when the left button
    // came up (the new rectangle is in m_rect), FALSE when the user cancelled.
    BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = nullptr);
    // Drags a new rectangle from `point` (its bottom-right corner follows the mouse). TRUE
    // when the drag ended with the left button and the rectangle is not empty (m_rect
    // holds it as dragged: with inversion allowed, NormalizeRect gives the selection).
    BOOL TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert = TRUE);
    // The handle under a point (client coordinates), in terms of m_rect: on an inverted
    // rectangle the handle drawn at the top left is the one that moves m_rect's right or
    // bottom edges. hitNothing when the point misses the tracker.
    int HitTest(CPoint point) const;
    // Maps a handle of the normalised rectangle to the handle of m_rect (and back: it is
    // its own inverse): swapped left for right when m_rect is inverted horizontally, top
    // for bottom when it is inverted vertically.
    int NormalizeHit(int nHandle) const;

    // Draws the feedback frame for lpRect (pWnd's client coordinates) into pDC, the DC of
    // pWndClipTo when given (the rectangle is mapped into its client coordinates), else
    // of pWnd. The base draws the halftone drag rectangle one pixel thick from the last
    // frame to this one, nothing in the erase calls, and takes the last frame away in the
    // final erase call.
    virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
    // Corrects the rectangle a mouse move produced for handle nHandle. The base keeps a
    // resized rectangle at least m_sizeMin large, and so from inverting, unless inverting
    // is allowed; a move (hitMiddle) is left alone.
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    // Called after m_rect changed during tracking (the feedback frame is off the screen
    // then); the base does nothing.
    virtual void OnChangedRect(const CRect& rectOld);
    // Which handles Draw paints and HitTest finds (bit n for handle n): the corners
    // always; the top and bottom side handles when the rectangle is at least three
    // handles wide, the left and right ones when it is at least three handles high.
    virtual UINT GetHandleMask() const;

protected:
    BOOL m_bAllowInvert = FALSE;
    CRect m_rectLast;       // the frame drawn last, in the drawing DC's coordinates
    CSize m_sizeLast;       // its thickness (0: nothing is drawn)
    BOOL m_bErase = FALSE;  // DrawTrackerRect is called to take a frame away
    BOOL m_bFinalErase = FALSE; // ... for the last time in this tracking

    // Runs the tracking loop for one handle (hitTopLeft..hitMiddle). FALSE at once for
    // another handle, a window that is not valid, or when some window holds the capture.
    BOOL TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo);
    // A handle's square around the normalised rectangle (empty when the style has no
    // resize handles or nHandle is not a handle 0..7).
    void GetHandleRect(int nHandle, CRect* pHandleRect) const;

private:
    void Construct();
    // TrackRubberBand tracks with the minimum size off: a rubber band starts empty.
    bool m_bRubberBand = false;
};
