#pragma once
// COXSizeDockBar: the toolkit's dock bar, one per side of a size-dock frame. It keeps the
// class library's bar array and rows (entry 0 null, a null ends a row, an entry below
// 0x10000 a placeholder ID) and adds what makes docked COXSizeControlBars sizeable:
//
// - Layout (size_dock_bar.cpp): each row's length is shared among its sizeable bars in
//   proportion to their lengths (AdjustRowSizes); an 8-pixel splitter lies between two
//   sizeable bars of a row and beside each row holding one; every CalcFixedLayout
//   rebuilds the splitter list. The sizing passes run on WM_SIZEPARENT when the dock bar's
//   length or its bars (CheckSumBars) changed; bars shown again get their room back from
//   the others of their row.
// - Splitters (size_dock_bar_splitters.cpp): dragging one with a COXRectTracker shrinks
//   the bars on one side nearest first and grows the nearest on the other; a row
//   splitter changes the row's width. ResizeBar maximises one bar in its row (the others
//   keep 21 pixels) and restores the saved sizes.
// - Docking and tabs (size_dock_bar_docking.cpp): where a bar is inserted and placed,
//   live docking of a dragged bar (GetAppropriateDockBar), and the tab strip
//   (COXDockTabCtrl, 28 pixels high when it shows) for several bars sharing one place.
//
// Sizeable means a COXSizeControlBar; the layout pass leaves a size tool bar out of that
// (it is laid out like a plain toolbar). Horizontal means the dock bar's style has
// CBRS_ALIGN_TOP or CBRS_ALIGN_BOTTOM. Length runs along the dock bar, width across it.
// Background, non-client area and splitters are painted by the dock-bar skin.
//
// DockControlBar and RemoveControlBar hide CDockBar's (not virtual there): live docking
// calls these, a drop at the end of an outline drag reaches the base's through the frame.
#include <memory>
#include <vector>

#include "platform/afx/dockbar.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_array.h"
#include "toolkit/docking/dock_tab_ctrl.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/splitter_rect.h"

class COXSizeControlBar;

// One row of a dock bar's bars, measured by GetRowSizeInfo (the lengths and widths of
// the bars' window rectangles; negative ones count as 0).
struct OXROWSIZEINFO {
    int nSizeableLength = 0;     // the row's COXSizeControlBars (size tool bars included)
    int nFixedLength = 0;        // the other bars, plus 8 per splitter between two sizeable bars
    int nMaxWidth = 0;           // the widest bar
    int nMaxFixedWidth = 0;      // the widest bar that is not a size bar
    int nSizeableCount = 0;
    int nBarCount = 0;
    int nTotalLength = 0;        // sizeable + fixed
    int nMaxMinTrackHeight = 0;  // the largest ptMinTrackSize.y the bars answer to WM_GETMINMAXINFO
    int nMaxMinTrackWidth = 0;   // the largest ptMinTrackSize.x
};

class COXSizeDockBar : public CDockBar {
    DECLARE_DYNAMIC(COXSizeDockBar)
public:
    // The strip of a splitter, across its row or between two bars.
    static constexpr int kSplitterSize = 8;
    // The tab strip's height while it shows.
    static constexpr int kTabHeight = 28;
    // A maximised row leaves its other bars this long.
    static constexpr int kMinimizedLength = 21;
    // The tab strip's control ID.
    static constexpr UINT kTabCtrlID = 3000;

    COXSizeDockBar();
    ~COXSizeDockBar() override;

    // ---- layout (size_dock_bar.cpp) -------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    BOOL IsBarHorizontal() const;
    // Whether pBar is a COXSizeControlBar.
    static BOOL IsSizeable(const CControlBar* pBar);
    // Resizes without moving or changing the z-order.
    static void SetWindowSize(CWnd* pWnd, CSize size);
    // The bar at position 1 of any dock bar's array (a floating frame's single bar), null
    // when the array has fewer than two entries or that entry is a row end or placeholder.
    static CControlBar* GetFirstControlBar(const CDockBar* pDockBar)
    {
        return pDockBar && pDockBar->m_arrBars.GetSize() >= 2 ? pDockBar->GetDockedControlBar(1) : nullptr;
    }
    CControlBar* GetFirstControlBar() const { return GetFirstControlBar(this); }
    // Whether pBar was docked here but hidden at the last WM_SIZEPARENT.
    BOOL WasBarHidden(CControlBar* pBar) const;
    // Throws the invalid-argument exception for an index out of range.
    COXSplitterRect* GetSplitter(int nIndex) const;
    int GetSplitterCount() const { return static_cast<int>(m_arrSplitters.size()); }
    void GetRowSizeInfo(int nPos, OXROWSIZEINFO* pInfo, const CPtrArray& arrBars) const;
    // Shares nLength among the sizeable bars of the row of arrBars starting at nPos; TRUE
    // when the row's end was reached, FALSE when the row has no sizeable bar.
    BOOL AdjustRowSizes(int nPos, int nLength, CPtrArray& arrBars);
    BOOL AdjustAllRowSizes(int nLength);
    // Every row's sizeable bars get equal shares of the row (no window moves).
    void TileDockedBars();
    void TileDockedBarsRow(int nPos);
    // A number that changes when the visible bars or the sizeable bars' places change.
    int CheckSumBars() const;
    // Makes room in its row for a bar just docked, taken from the others in proportion.
    void AdjustForNewBar(CControlBar* pBar);
    void AddSplitterRect(int nType, int left, int top, int right, int bottom, int nIndex);
    // Every splitter of type nType from position nStart on gets its far edge at nSize
    // (bottom for type 1, right for type 2).
    void SetSplitterSizeInRange(int nStart, int nType, int nSize);
    void DeleteSplitterRects();

    // ---- splitters and bar resizing (size_dock_bar_splitters.cpp) ---------------------------------------------
    // The splitter under a client point, searched from the last; null when none.
    COXSplitterRect* HitTest(CPoint point) const;
    // Sets the cursor for the splitter under the point and answers it.
    COXSplitterRect* SetHitCursor(CPoint point);
    void StartTracking(CPoint point);
    // Takes up to nAmount of length from the sizeable bars from nPos towards the row's
    // start (ShrinkRowToLeft) or end (ShrinkRowToRight, then the row's free space), nearest
    // first; a negative amount grows the nearest one. Answers what was (or would be) taken;
    // *pnBars the number of sizeable bars walked over.
    int ShrinkRowToLeft(int nPos, int nAmount, BOOL bApply, int* pnBars = nullptr);
    int ShrinkRowToRight(int nPos, int nAmount, BOOL bApply, int* pnBars = nullptr);
    int StartPosOfRow(int nPos) const;
    int StartPosOfPreviousRow(int nPos) const;
    BOOL IsRowSizeable(int nPos) const;
    // Maximises pBar in its row, or restores the row's saved sizes.
    void ResizeBar(COXSizeControlBar* pBar, BOOL bMaximize);

    // ---- docking and tabs (size_dock_bar_docking.cpp) ----------------------------------------------------------
    // Docks pBar here at the screen rectangle lpRect, or without one at the end of a new row.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // As CDockBar::RemoveControlBar.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    // The main frame's dock bar that should take pBar at the screen point, or null.
    static COXSizeDockBar* GetAppropriateDockBar(CPoint ptScreen, CControlBar* pBar);
    // The array position a bar with that screen rectangle would go to.
    int TestInsertPosition(CControlBar* pBar, CRect rect);
    // How many other bars share the row a bar with that screen rectangle would go to.
    int BarsOnThisRow(CControlBar* pBar, CRect rect);
    // Client coordinates.
    CPoint GetInsertionPoint(CControlBar* pBar, CRect rect);
    int GetXCoord(CControlBar* pBar, int y, int x);
    int GetYCoord(CControlBar* pBar, int x, int y);
    // 0, or kTabHeight while the tab strip holds a tab.
    int GetTabHeight() const;
    void PositionTabCtrl();
    void TabAllDockedControlBars(COXSizeControlBar* pBar);
    int GetSizeControlBarCount(CControlBar* pExclude) const;
    COXSizeControlBar* GetFirstDockedSizeControlBar(CControlBar* pExclude) const;
    CControlBar* GetFirstDockedCoolToolBar(CControlBar* pExclude) const;
    // 1 plus the other visible size bars stacked at pBar's place.
    int GetVisibleSizeControlBarCount(CControlBar* pBar) const;

    // ---- painting ----------------------------------------------------------------------------------------------
    // The current skin's dock-bar skin, or the dock bar's own Classic one.
    COXDockbarSkin* GetDockbarSkin();

    // ---- data -----------------------------------------------------------------------------------------------------
    std::vector<std::unique_ptr<COXSplitterRect>> m_arrSplitters;   // rebuilt by every CalcFixedLayout
    COXSplitterRect* m_pSplitCapture = nullptr;   // the splitter being dragged
    int m_nReserved = 0;                           // never read
    HCURSOR m_hcurRowSplit = nullptr;              // loaded on first need
    HCURSOR m_hcurBarSplit = nullptr;
    int m_nLastWidth = 65535;                      // the layout room at the last WM_SIZEPARENT,
    int m_nLastHeight = 65535;                     // the height net of the tab strip
    int m_nCheckSum = 0;                           // CheckSumBars at the last sizing pass (0: look again)
    CPtrArray m_arrHiddenBars;                     // docked but hidden at the last WM_SIZEPARENT
    COXDockTabCtrl m_wndDockTabCtrl{this};

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);

private:
    COXElementSkinLookup<COXDockbarSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};
