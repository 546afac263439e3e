#pragma once
// CDockContext: moves a control bar with the mouse between the sides of its frame and
// floating frames, and resizes a floating dynamic bar, remembering where the bar was
// docked and floated last (the MRU fields) so that ToggleDocking can send it back.
//
// A drag (StartDrag, from a left press on the bar or on its floating frame's caption)
// works out four outlines in screen coordinates: the bar docked horizontally
// (m_rectDragHorz) and vertically (m_rectDragVert), and the floating frame of either
// orientation (m_rectFrameDragHorz/Vert, the bar's floating size grown by the mini
// frame's borders). A docked outline as long as the frame's client area less 16 pixels
// (or longer) is cut to a third of that area. All four are shifted so the press point lies inside
// them, then follow the mouse. After every move CanDock asks the frame which dock bar
// the outline of the bar's orientation touches (the other orientation's when none):
// over a dock bar the outline is drawn 1 pixel thick, inverted; floating, the frame
// outline is drawn in the halftone pattern as thick as a sizing border less one. Holding
// Ctrl forces floating, Shift floats in the other orientation. Drawing goes to the
// desktop window's DC while the desktop is locked against updates, so nothing repaints
// under the outline.
//
// Track runs the drag on the one modal loop with the mouse captured by the bar. Releasing
// the left button docks the bar into the dock bar under the outline (at the outline's
// place) or floats it where the frame outline is; a release where the press was changes
// nothing. Escape, the right button, a lost capture or a loop cancelled from outside end
// the drag with nothing changed; the outline is erased either way and the desktop lock and
// DC are always given back.
//
// StartResize tracks a sizing border of a floating frame holding a dynamic bar: each move
// asks the bar for its layout at the new length (CalcDynamicLayout with LM_LENGTHY for the
// top and bottom borders), and the release commits that width (LM_COMMIT) and re-floats
// the bar in a frame of the new size.
#include <memory>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CControlBar;
class CDC;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    CDockContext(const CDockContext&) = default;
    CDockContext& operator=(const CDockContext&) = default;
    virtual ~CDockContext();

    // ---- operations (virtual: the toolkit's context replaces them) --------------------------------------------
    virtual void StartDrag(CPoint pt);
    virtual void StartResize(int nHitTest, CPoint pt);
    virtual void ToggleDocking();

    // ---- the steps of a drag ---------------------------------------------------------------------------------
    void Move(CPoint pt);
    void EndDrag();
    void Stretch(CPoint pt);
    void EndResize();
    void OnKey(int nChar, BOOL bDown);
    // Locks the desktop and takes its DC; clears the outline state.
    void InitLoop();
    // Erases the outline, releases the capture, the lock and the DC.
    void CancelLoop();
    BOOL Track();
    void DrawFocusRect(BOOL bRemoveRect = FALSE);
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The side the outline would dock to now (CBRS_ALIGN_* of the dock bar), 0 to float.
    DWORD CanDock();
    CDockBar* GetDockBar(DWORD dwOverDockStyle);

    // ---- state ---------------------------------------------------------------------------------------------
    CPoint m_ptLast;              // the last mouse point (screen)
    CRect m_rectLast;             // the outline drawn last, its thickness and pattern
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    CRect m_rectDragHorz;         // the bar docked horizontally / vertically (screen)
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;    // the floating frame of either orientation (screen)
    CRect m_rectFrameDragVert;

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;      // the bar's dock style when the drag began
    DWORD m_dwOverDockStyle = 0;  // the side under the outline, 0 floating
    DWORD m_dwStyle = 0;          // the bar's alignment bits when the drag began
    BOOL m_bFlip = FALSE;         // Shift: float in the other orientation
    BOOL m_bForceFrame = FALSE;   // Ctrl: never dock
    CDC* m_pDC = nullptr;         // the desktop's DC while tracking (owned then)
    BOOL m_bDragging = FALSE;     // a drag (TRUE) or a resize (FALSE) is tracked
    int m_nHitTest = 0;           // the border a resize tracks

    // Where the bar was docked and floated last.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;       // in the MRU dock bar's client coordinates
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{-1, -1};

    // Resizing.
    CRect m_rectRequestedSize;
    CRect m_rectActualSize;
    CRect m_rectActualFrameSize;
    CRect m_rectFrameBorders;

protected:
    // Screen rectangle of the frame's client area left after every bar (where a docked
    // bar's outline may reach).
    CRect ClientAreaOnScreen() const;

    BOOL m_bLocked = FALSE;       // this drag holds the desktop's update lock
    std::shared_ptr<CDC> m_dcOwner;   // m_pDC's owner: releases the desktop DC
    CPoint m_ptStart;             // the press point
};
