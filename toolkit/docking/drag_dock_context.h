#pragma once
// COXDragDockContext: the drag context of every size control bar. It replaces the class
// library's outline drag (StartDrag) and double-click toggle (ToggleDocking); resizing a
// floating bar stays the base's.
//
// A drag, from StartDrag to the release:
// 1. The message line shows the drag prompt (ID_OX_DRAG_PROMPT) when the bar may dock on
//    all four sides, and waiting paints are done so the outline is drawn on a finished
//    screen.
// 2. Six rectangles are measured in screen coordinates: two strips as wide (high) as the
//    frame's client area with the side dock bars, at the bar's top (left) and as thick as
//    its docked size, which choose the side; the bar's own outlines docked horizontally
//    and vertically (a third of the client area when the docked length is within 16
//    pixels of it); and the floating frame's outline (the floating size grown by the
//    mini frame's borders). Each is shifted sideways to hold the press point.
// 3. The desktop is locked and its DC taken; Track runs the loop with the mouse captured
//    by the bar. Each move shifts the outlines (the strips along one axis only) and asks
//    CanDock: a strip meeting a side's dock bar chooses that side, and the bar docks only
//    when its own outline meets it too; a row already holding n bars shows an outline
//    1/(n + 1) of the strip long. The outline is drawn in the halftone pattern over a kept
//    copy of the screen (COXDragOutline), so it shows over any background: 1 pixel wide
//    when docking, the frame's sizing border less one when floating. The floating
//    outline stays on the screen of the frame (its work area). Ctrl forces floating
//    (redrawn at once). Over the tab band of a dock bar (its bottom 48 pixels) that
//    holds a size bar shown, the outline is that bar's place instead: a drop there shares
//    it as a tab.
// 4. Escape, the right button, a lost capture or a WM_QUIT (posted again) cancel; the
//    release ends: CancelDrag erases the outline and gives back capture, lock and DC and
//    the message line its idle prompt; a release where the press was changes nothing;
//    otherwise the bar is docked into the side's dock bar at the outline (the dock bar's
//    row sizes adjusted) or floated where the floating outline was shown, the bar told WM_OX_BARFLOATED
//    and its floating frame marked OX_FLOATED_BY_DRAG.
//
// A bar floating as an MDI child is never dragged or toggled here: that window moves like
// any MDI child.
#include <memory>

#include "platform/afx/dockcont.h"
#include "platform/afx/gdi/geometry.h"
#include "toolkit/docking/drag_outline.h"

class CDockBar;
class CFrameWnd;
class COXSizeControlBar;
class COXSizeDockBar;

class COXDragDockContext : public CDockContext {
public:
    explicit COXDragDockContext(CControlBar* pBar);
    COXDragDockContext(const COXDragDockContext&) = default;
    COXDragDockContext& operator=(const COXDragDockContext&) = default;
    ~COXDragDockContext() override;

    void StartDrag(CPoint pt) override;
    // Nothing for a bar floating as an MDI child; else the class library's toggle.
    void ToggleDocking() override;

    // ---- the steps of a drag (they hide the base's) --------------------------------------------------------
    // The modal loop; TRUE when it ended with a drop.
    BOOL Track();
    void Move(CPoint pt);
    void OnKey(int nChar, BOOL bDown);
    void EndDrag();
    void CancelDrag();
    void DrawFocusRect(BOOL bRemoveRect = FALSE);
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The side the outline docks to now, 0 to float; fills m_rectDock and m_pTargetDockBar.
    DWORD CanDock();
    // The dock bar whose tab band the mouse is over, when it holds a size bar shown (that
    // bar in *ppShared); null otherwise, or when the dragged bar is no size bar.
    COXSizeDockBar* TabDropTarget(COXSizeControlBar** ppShared = nullptr) const;
    // The dock bar of the side under m_rectDock, null when floating.
    CDockBar* GetDockBar();

    // ---- state (the press point is the base's m_ptStart) ---------------------------------------------------
    CRect m_rectDock;                  // the docking outline: the row strip, or the bar's shortened outline
    CRect m_rectHorzStrip;             // the client area's width (side dock bars included), the bar's docked height
    CRect m_rectVertStrip;             // the client area's height, the bar's docked width
    CDockBar* m_pTargetDockBar = nullptr;   // found by the last CanDock
    std::shared_ptr<COXDragOutline> m_outline;   // the outline shown, with what it covers

protected:
    // Gives back the desktop DC and lock taken by StartDrag; the capture is not touched.
    void ReleaseDesktop();
    // The application's main window, when it is a frame.
    static CFrameWnd* GetMainFrame();
    // The floating outline moved, when it has to be, into the work area of the frame's
    // screen.
    CRect FloatOutline() const;
};
