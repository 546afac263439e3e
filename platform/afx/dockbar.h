#pragma once
// CDockBar: the bar that holds docked bars on one side of a frame (IDs 0xE81B top,
// 0xE81C left, 0xE81D right, 0xE81E bottom) or inside a floating frame (0xE81F).
//
// m_arrBars lists the docked bars in rows: entry 0 is always null, a null entry ends a
// row, and an entry below 0x10000 is a placeholder, the control ID of a bar that left
// (floated or hid) and may come back to that place. Everything else is a CControlBar*.
// The array always ends with a null once it holds a bar.
//
// Layout (CalcFixedLayout) walks the rows: each visible bar is asked for its docked size
// (CalcDynamicLayout(-1, LM_HORZ|LM_HORZDOCK) on a horizontal side, LM_VERTDOCK on a
// vertical one, LM_HORZ|LM_MRUWIDTH for a dynamic bar while floating) and placed from
// (-2, -2), each bar 2 pixels back over the previous one's border; a bar keeps a place
// further along the row than that (so bars keep the gaps the user left), is pulled back
// so it ends inside the side's length, and starts a row of its own (a null is inserted
// before it) when it would begin past the side's end. A row is as thick as its thickest
// bar; the next one starts 2 pixels back over it. Docking also fills each bar's dock
// context with its place (most recently used dock rectangle and dock bar ID).
//
// DockControlBar, RemoveControlBar and the other array operations are deliberately not
// virtual: a dock bar derived by the toolkit hides them with its own, and the drop at the
// end of a drag reaches this class's routine through the frame.
#include "platform/afx/ctrlbar.h"
#include "platform/base/coll_array.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    using CControlBar::Create;
    // Creates the dock bar as a child of pParentWnd; the CBRS_* bits of dwStyle stay in
    // m_dwStyle only (the window keeps none of them).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // ---- the bar array ------------------------------------------------------------------------------------
    // The bar at nPos, or null for a row end, a placeholder or a position out of range.
    CControlBar* GetDockedControlBar(int nPos) const;
    // Bars (not placeholders) docked, and those of them that are visible.
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // Entries of the array, placeholders and row ends included.
    int GetBarCount() const { return static_cast<int>(m_arrBars.GetSize()); }
    // Where pBar (a CControlBar* or a placeholder ID) stands; -1 when absent. nPosExclude
    // is skipped.
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    // Shows or hides every docked bar through the docking frame (no delay).
    void ShowAll(BOOL bShow);

    // ---- docking ---------------------------------------------------------------------------------------------
    // Docks pBar here: at the place a screen rectangle names (the row under its top or
    // left edge, ordered by its leading edge), or without one at the end of a new row.
    // The bar is reparented, takes this side's alignment, CBRS_BORDER_ANY and CBRS_FLOATING
    // as this dock bar has it, leaves its old dock bar (which keeps a placeholder when this
    // one floats and the old one does not) and the frame gets a delayed layout.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes pBar out of the array (nPosExclude: a position not to remove, the bar's new
    // one), leaving its ID as a placeholder when nAddPlaceHolder is 1; a row left empty
    // goes too. A floating dock bar left without bars destroys its frame, and one left
    // without visible bars hides it; a docked one asks for a delayed layout. FALSE when
    // the bar was not here.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    // Removes the placeholder of pBar's ID.
    void RemovePlaceHolder(CControlBar* pBar);
    // Docks pBar back where its placeholder stands (same row and order, the window at
    // lpRect, screen, when given); without a placeholder, as DockControlBar.
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Where a bar with the screen rectangle rect goes: the array position it is inserted
    // at (a new row at the end when it is past every row). Inserts it (and a row end
    // when it starts a new row).
    int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);

    // ---- overrides ------------------------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    void DrawGripper(CDC* pDC, const CRect& rect) override;
    BOOL IsDockBar() const override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

    BOOL m_bFloating;
    CPtrArray m_arrBars;          // see above
    BOOL m_bLayoutQuery = FALSE;  // the current layout only measures
    CRect m_rectLayout;           // the room of the current layout pass (empty outside one)

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcPaint();
    afx_msg void OnDestroy();

protected:
    // Drops the entry of a bar whose window is going away, with nothing else changed.
    void ForgetBar(CControlBar* pBar);
    // Removes empty rows (a null after a null) and makes the array end with a null.
    void TidyRows();
    // Docks pBar at the end of a new row, reparented here and off the edge by the border
    // convention (the layout places it).
    void AppendRow(CControlBar* pBar);
    // The end of a docking, once pBar has its new entry at nPos: the bar belongs here and
    // leaves pOld (its old entry here when pOld is this one; the old dock bar keeps a
    // placeholder when this one floats and it does not), the rows are tidied, the bar is
    // shown again when bShow, its placeholder goes and the frame gets a delayed layout.
    void FinishDocking(CControlBar* pBar, CDockBar* pOld, int nPos, BOOL bShow);
    // The room a layout has when not called from a layout pass: the frame's client area
    // less the docked top and bottom bars.
    CSize MaxLayoutSize() const;

    BOOL m_bDestroying = FALSE;

    friend class CControlBar;

    DECLARE_MESSAGE_MAP()
};

// The dock bar IDs in the order EnableDocking creates (and lays out) them, with their sides.
struct AFX_DOCKBAR_SIDE {
    UINT nID;
    DWORD dwStyle;
};
inline constexpr AFX_DOCKBAR_SIDE afxDockBarSides[4] = {
    {0xE81B, CBRS_ALIGN_TOP},
    {0xE81E, CBRS_ALIGN_BOTTOM},
    {0xE81C, CBRS_ALIGN_LEFT},
    {0xE81D, CBRS_ALIGN_RIGHT},
};

namespace zyn::afx {
// Set while a frame applies a dock state: a floating frame emptied meanwhile hides rather
// than destroying itself (records may still point at its dock bar); the restore destroys
// the empty ones when it is done.
extern thread_local int t_nDockStateRestore;
} // namespace zyn::afx
