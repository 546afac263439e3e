#pragma once
// COXDockTabCtrl: the tab strip a size dock bar (COXSizeDockBar) embeds when several size
// bars are docked at one place: one tab per bar (its window text, the bar as the item's
// parameter), the selected tab's bar shown and the others hidden. The dock bar inserts and
// removes tabs as bars are docked into the strip and dragged out of it; the strip lives at
// the bottom of the dock bar, 28 pixels high while it holds a tab.
//
// Dragging a tab 4 pixels or more (on either axis) hands the mouse to that tab's bar: the
// bar captures it and its own live drag carries it away (a size bar's, or a cool
// toolbar's through the docking seam).
//
// What the strip needs of its dock bar beyond the class library's dock bar (how many
// size bars it holds, the first of them, the strip's height and place) it asks through
// a COXDockTabHost; the one in place by default asks the dock bar itself.
#include <map>
#include <string>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "toolkit/docking/skinned_tab_ctrl.h"

class CControlBar;
class COXSizeControlBar;
class COXSizeDockBar;

// The dock bar's side of the tab strip. Each member answers for pDockBar, never null.
class COXDockTabHost {
public:
    COXDockTabHost() = default;
    COXDockTabHost(const COXDockTabHost&) = delete;
    COXDockTabHost& operator=(const COXDockTabHost&) = delete;
    virtual ~COXDockTabHost() = default;

    // COXSizeDockBar::GetSizeControlBarCount.
    virtual int GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude);
    // COXSizeDockBar::GetFirstDockedSizeControlBar.
    virtual COXSizeControlBar* GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude);
    // COXSizeDockBar::GetTabHeight.
    virtual int GetTabHeight(COXSizeDockBar* pDockBar);
    // COXSizeDockBar::PositionTabCtrl.
    virtual void PositionTabCtrl(COXSizeDockBar* pDockBar);
};

class COXDockTabCtrl : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COXDockTabCtrl)
public:
    // A press must move this far (on either axis) to drag a tab out.
    static constexpr int kDragThreshold = 4;
    // The bottom band of the dock bar in which the tab strip takes a dragged bar.
    static constexpr int kHitBand = 48;

    explicit COXDockTabCtrl(COXSizeDockBar* pDockBar);
    ~COXDockTabCtrl() override;

    // Gives pBar a tab at nIndex (tabbing every other visible size bar of the dock bar
    // first) and selects it; with bShowSelectedTab FALSE the bars of the other tabs are
    // hidden, else ShowSelectedTab.
    void InsertTab(CControlBar* pBar, int nIndex, BOOL bShowSelectedTab);
    // Removes pBar's tab; with one size bar left that bar loses its tab too.
    void RemoveTab(CControlBar* pBar);
    // Shows the selected tab's bar, hides the others and sizes the shown one.
    void ShowSelectedTab();
    // The tab of pBar, -1 when none.
    int FindTab(CControlBar* pBar);
    // The bar of a tab, null for an index out of range.
    CControlBar* GetBar(int nIndex);
    // -1 when the screen point is outside the dock bar's bottom kHitBand pixels, else the
    // tab under it, or 0 over no tab.
    int HitTestTabControl(CPoint point, CControlBar* pBar);
    // Moves a dragged tab from nFrom to nTo once the screen point passes nTo's centre.
    void RepositionTabs(int nFrom, int nTo, CPoint point);
    // The whole text of a tab; empty for an index out of range.
    std::wstring GetTabText(int nIndex) const;

    // Puts a host in place of the dock bar's own answers (null puts the dock bar's back);
    // the caller keeps it alive while it is in place.
    void SetHost(COXDockTabHost* pHost);
    COXDockTabHost* GetHost() const { return m_pHost; }

    CFont m_font;                                   // 8-point "MS Sans Serif"
    COXSizeControlBar* m_pLastSelectedBar = nullptr;   // the bar a horizontal dock bar showed last
    COXSizeDockBar* m_pDockBar;                     // the owner
    CPoint m_ptPress;                               // the left press, client coordinates
    BOOL m_bPressPending = FALSE;                   // a press here that may still drag a tab out

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    // The second press of a double click may start a drag as well.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    // Shows or hides a bar through its frame (delayed to the next layout pass).
    static void ShowBar(CControlBar* pBar, BOOL bShow);
    // Inserts pBar's tab (its whole window text) at nIndex, or at the end for an index
    // out of range; the index it got, -1 on failure.
    int InsertBarTab(CControlBar* pBar, int nIndex);
    // A tab's parameter as it is stored, whether or not its bar still exists.
    CControlBar* GetTabParam(int nIndex) const;
    // Whether the bar of a tab is still the object of the window it had when tabbed.
    BOOL IsBarAlive(CControlBar* pBar) const;
    // Deletes the tabs of bars destroyed since they were tabbed.
    void DropDeadTabs();

    COXDockTabHost* m_pHost;
    // The window of each tabbed bar, taken when its tab was made: a bar destroyed while
    // tabbed leaves a tab whose parameter must not be followed.
    std::map<CControlBar*, HWND> m_barWindows;

    DECLARE_MESSAGE_MAP()
};
