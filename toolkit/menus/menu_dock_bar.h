#pragma once
// COXMenuDockBar<TDockBar>: the dock bar that menu-bar frames make on each side they
// enable. It lays its bars out as TDockBar (COXSizeDockBar) does, except that a menu bar
// set to take an entire row (COXMenuBar::SetTakeEntireRow) gets a row of its own (a
// column on the left and right sides) as long as the whole side; the bars that shared its
// row are pushed into rows before and after it.
//
// How: when a layout pass reaches the dock bar (WM_SIZEPARENT, before the size dock bar
// shares each row's length among its size bars) and again in CalcFixedLayout, a row end is
// put in the bar array directly before each visible menu bar taking an entire row when a
// visible bar stands earlier in its row, and directly after it when one follows; hidden
// bars and placeholders (bars that left their place) never break a row and are stepped
// over when looking for the neighbours. While the base lays the rows out, those menu bars
// have their row-layout flag set (their own layout then answers the whole row in every
// mode); the base places every row by its own rules (rows as thick as their thickest bar,
// splitters beside rows of size bars, wrapping), so the dock bar grows by exactly the rows
// split off and nothing overlaps. Last, a menu bar still shorter than the side is
// stretched to it, and the flags are cleared.
//
// A floating menu bar laid out by its most recently used width (CBRS_SIZE_DYNAMIC with
// CBRS_FLOATING) is left to the base. The menu-bar frames get this class through the
// frames' dock-bar factory, which menu_dock_bar.cpp installs.
#include <vector>

#include "platform/afx/afxpriv.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_array.h"
#include "platform/base/exception.h"
#include "toolkit/docking/size_dock_bar.h"

class COXMenuBar;

namespace oxmenudock {

// Whether the menu bar takes a row of its own in a dock bar's layout now: a visible
// window, set to take an entire row, and not a floating bar sized by its last width.
bool TakesOwnRow(const COXMenuBar* pBar);
// The menu bars of a bar array (row ends, placeholders and windowless bars left out) that
// take a row of their own now.
std::vector<COXMenuBar*> RowTakingMenuBars(const CPtrArray& arrBars);
// Puts row ends into arrBars so that each of those menu bars shares its row with no
// visible bar; answers how many were put in.
int BreakMenuBarRows(CPtrArray& arrBars, const std::vector<COXMenuBar*>& menuBars);
// Sets or clears the bars' row-layout flag.
void SetRowLayout(const std::vector<COXMenuBar*>& menuBars, bool bRowLayout);
// Stretches each of the menu bars that is shorter than the side to the side's length:
// from -cxBorder2 to sizeMax.cx + cxBorder2 in its row on a horizontal side, from
// -cyBorder2 to sizeMax.cy in its column on a vertical one. A move goes through the
// layout's deferred batch when there is one, else at once.
void StretchMenuBars(const CDockBar& dock, const std::vector<COXMenuBar*>& menuBars, CSize sizeMax, BOOL bHorz,
    AFX_SIZEPARENTPARAMS* pLayout);

} // namespace oxmenudock

template <class TDockBar>
class COXMenuDockBar : public TDockBar {
public:
    // Throws CNotSupportedException when TDockBar does not make a CDockBar.
    COXMenuDockBar()
    {
        if (!this->IsKindOf(RUNTIME_CLASS(CDockBar)))
            AfxThrowNotSupportedException();
    }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    // The rows are split before the frame's layout pass reaches the base, whose sizing
    // of size bars would otherwise share a row's length with the menu bar still in it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The room the side has: the layout rectangle of the pass; outside a pass a docked
    // side's room in its frame, a floating one's its frame's client area.
    CSize LayoutRoom() const;
};

extern template class COXMenuDockBar<COXSizeDockBar>;
