// COXSizeDockBar: where a bar is inserted and placed, live docking of a dragged bar, the
// row queries, and the tab strip of bars sharing one place.
#include "toolkit/docking/size_dock_bar.h"

#include "toolkit/docking/size_control_bar.h"

// filled below: the class library's docking until then.
void COXSizeDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) { CDockBar::DockControlBar(pBar, lpRect); }

BOOL COXSizeDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    return CDockBar::RemoveControlBar(pBar, nPosExclude, nAddPlaceHolder);
}

// filled below
COXSizeDockBar* COXSizeDockBar::GetAppropriateDockBar(CPoint /*ptScreen*/, CControlBar* /*pBar*/) { return nullptr; }

// filled below
int COXSizeDockBar::TestInsertPosition(CControlBar* /*pBar*/, CRect /*rect*/) { return 0; }

// filled below
int COXSizeDockBar::BarsOnThisRow(CControlBar* /*pBar*/, CRect /*rect*/) { return 0; }

// filled below
CPoint COXSizeDockBar::GetInsertionPoint(CControlBar* /*pBar*/, CRect rect) { return CPoint(rect.left - 5, rect.top); }

// filled below
int COXSizeDockBar::GetXCoord(CControlBar* /*pBar*/, int /*y*/, int x) { return x; }

// filled below
int COXSizeDockBar::GetYCoord(CControlBar* /*pBar*/, int /*x*/, int y) { return y; }

// filled below
int COXSizeDockBar::GetTabHeight() const { return 0; }

// filled below
void COXSizeDockBar::PositionTabCtrl() {}

// filled below
void COXSizeDockBar::TabAllDockedControlBars(COXSizeControlBar* /*pBar*/) {}

// filled below
int COXSizeDockBar::GetSizeControlBarCount(CControlBar* /*pExclude*/) const { return 0; }

// filled below
COXSizeControlBar* COXSizeDockBar::GetFirstDockedSizeControlBar(CControlBar* /*pExclude*/) const { return nullptr; }

// filled below
CControlBar* COXSizeDockBar::GetFirstDockedCoolToolBar(CControlBar* /*pExclude*/) const { return nullptr; }

// filled below
int COXSizeDockBar::GetVisibleSizeControlBarCount(CControlBar* /*pBar*/) const { return 1; }
