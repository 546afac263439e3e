// COXSizeDockBar: hit testing and cursors of the splitters, tracking a splitter and the
// shrinking and growing of the bars beside it, and maximising one bar in its row.
#include "toolkit/docking/size_dock_bar.h"

#include "toolkit/docking/size_control_bar.h"

// filled below
COXSplitterRect* COXSizeDockBar::HitTest(CPoint /*point*/) const { return nullptr; }

// filled below
COXSplitterRect* COXSizeDockBar::SetHitCursor(CPoint /*point*/) { return nullptr; }

// filled below
void COXSizeDockBar::StartTracking(CPoint /*point*/) {}

// filled below
int COXSizeDockBar::ShrinkRowToLeft(int /*nPos*/, int /*nAmount*/, BOOL /*bApply*/, int* pnBars)
{
    if (pnBars)
        *pnBars = 0;
    return 0;
}

// filled below
int COXSizeDockBar::ShrinkRowToRight(int /*nPos*/, int /*nAmount*/, BOOL /*bApply*/, int* pnBars)
{
    if (pnBars)
        *pnBars = 0;
    return 0;
}

// filled below
int COXSizeDockBar::StartPosOfRow(int /*nPos*/) const { return 0; }

// filled below
int COXSizeDockBar::StartPosOfPreviousRow(int /*nPos*/) const { return 0; }

// filled below
BOOL COXSizeDockBar::IsRowSizeable(int /*nPos*/) const { return FALSE; }

// filled below
void COXSizeDockBar::ResizeBar(COXSizeControlBar* /*pBar*/, BOOL /*bMaximize*/) {}

// ---- messages ------------------------------------------------------------------------------------------------

// filled below
BOOL COXSizeDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

// filled below
void COXSizeDockBar::OnMouseMove(UINT nFlags, CPoint point) { CDockBar::OnMouseMove(nFlags, point); }

// filled below
void COXSizeDockBar::OnLButtonDown(UINT nFlags, CPoint point) { CWnd::OnLButtonDown(nFlags, point); }

void COXSizeDockBar::OnLButtonUp(UINT nFlags, CPoint point) { CDockBar::OnLButtonUp(nFlags, point); }
