#pragma once
// COXStatusBar: the toolkit's status bar, a CStatusBar whose panes can each carry a mouse
// cursor, a bitmap, a text colour, a font, a tooltip and a progress indicator, and which
// paints through the status-bar element skin of the current skin (statusbar_skin.h).
//
// Panes. The base keeps the pane records (ID, style, width, text); this class keeps what it
// adds per pane in m_panes, sized with the base's panes by SetIndicators. Everything a pane
// owns (its bitmap, its font, its progress control) is destroyed when it is replaced, when
// SetIndicators makes new panes, and with the bar. A pane index outside the table raises
// CInvalidArgException from every operation below that takes one, except the drawing ones
// (DrawItem, DrawStatusBmp, CalcInsideBorder), which draw or find nothing for it.
//
// Drawing. WM_PAINT goes whole to the skin's OnPaintStatusbar. Classic lets the control
// paint and adds the pane bitmaps; a pane with its own colour or font is owner-drawn
// (SBT_OWNERDRAW), so the control hands it back to DrawItem. XP and 2003 paint everything
// themselves and call DrawItem for every pane but the lock indicators. DrawItem draws the
// pane's text 2 pixels in, centred vertically, in the pane's colour and font; a pane with
// SBPS_DISABLED shows nothing.
//
// Progress panes. SetUpBar gives a pane a progress indicator: a progress control, a child
// of the bar with the pane index as its ID, filling the pane's inside (its left part left
// for the percentage text, as wide as "999%" in the pane's font, when the percentage is
// shown). SetBarProgress sets the control's range and position and the pane's text to the
// percentage, clamped to 0..100 (status_bar_geometry.h). A pane whose style has
// OXSBPS_PROGRESS has its control moved with it whenever the panes are laid out; the host
// sets that bit (SetPaneStyle or SetPaneInfo).
//
// Events. A pane's cursor shows over it (WM_SETCURSOR); a double click on a pane sends the
// parent OXWM_STATUSBAR_DBLCLK with the pane's ID; tooltips, once ActivatePaneTips turned
// them on, show each pane's tip text (a progress control's tip is its pane's).
#include <memory>
#include <vector>

#include "platform/afx/barstat.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/progressctrl.h"
#include "toolkit/skins/statusbar_skin.h"

// A pane whose progress control UpdateAllPanes moves with the pane.
inline constexpr UINT OXSBPS_PROGRESS = 0x02000000;
// Sent to the bar's parent on a double click on a pane: wParam the pane's ID, lParam 0.
inline constexpr UINT OXWM_STATUSBAR_DBLCLK = 0x8000 + 206;

class COXStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(COXStatusBar)
public:
    // Where a pane bitmap is placed in the pane (status_bar_geometry.h has the rules).
    enum EOrientation {
        Stretch = 1,        // over the whole inside
        Left = 2,           // left, centred vertically
        Centre = 3,         // centred both ways
        Right = 4,          // right, centred vertically
        LeftCropped = 5,    // as Left, cut instead of shrunk when too large
        CentreCropped = 6,
        RightCropped = 7,
    };

    class CBmpInfo : public CObject {
    public:
        UINT m_nBitmapID = 0;
        std::unique_ptr<CBitmap> m_pBitmap;
        int m_nWidth = 0;
        int m_nHeight = 0;
        EOrientation m_eOrientation = Left;
        COLORREF m_clrTransparent = 0;
    };

    class CEvolInfo : public CObject {
    public:
        CEvolInfo() = default;
        // Destroys the progress control's window.
        ~CEvolInfo() override;
        CEvolInfo(const CEvolInfo&) = delete;
        CEvolInfo& operator=(const CEvolInfo&) = delete;

        CProgressCtrl m_progress;
        int m_nPercent = 0;        // the percentage last shown
        CRect m_rectProgress;      // where the control was last put, in the bar's client
        BOOL m_bShowPercent = FALSE;
        BOOL m_bCreated = FALSE;
    };

    COXStatusBar();
    // Destroys the window, then every pane's bitmap, font and progress indicator.
    ~COXStatusBar() override;

    // ---- panes ----------------------------------------------------------------------------------
    // New panes, each without cursor, bitmap, font, tip or progress and with the BTNTEXT
    // colour; what the old panes owned is destroyed. A count the base refuses (below 0,
    // above 256) changes nothing.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    // The base's checks of the index, and a changed stretch or progress bit lays the panes
    // out again through this class's UpdateAllPanes.
    void SetPaneStyle(int nIndex, UINT nStyle);
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    // The base's layout, then the progress controls of OXSBPS_PROGRESS panes, then the
    // texts waiting to be shown.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    // ---- what a pane carries ----------------------------------------------------------------------
    // 0 clears the cursor; otherwise the cursor resource from the module of the resource
    // chain that holds it. FALSE (the pane keeps its cursor) when it cannot be loaded.
    BOOL SetPaneCursor(int nIndex, UINT nCursorID);
    // A copy of the font (from its LOGFONT) makes the pane owner-drawn; null goes back to
    // the bar's font (owner-drawn only while the pane has its own colour). FALSE, with no
    // font, when the copy cannot be made.
    BOOL SetPaneFont(int nIndex, CFont* pFont);
    // The base's SetPaneText with the pane's colour: a colour other than BTNTEXT makes a
    // pane without its own font owner-drawn, BTNTEXT makes it the control's again. (The
    // three-argument form is the base's and keeps the colour.)
    using CStatusBar::SetPaneText;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, COLORREF clrText, BOOL bUpdate = TRUE);
    // bitmapID 0 removes the pane's bitmap. Otherwise loads the bitmap resource, empties the
    // pane's text and lays the panes out; bUpdate repaints the bar. FALSE when the bitmap
    // cannot be loaded (the pane is left without one) or the orientation is not 1..7
    // (nothing changes).
    BOOL SetPaneBitmap(int nIndex, UINT nBitmapID, EOrientation eOrientation = Left,
        COLORREF clrTransparent = RGB(255, 0, 255), BOOL bUpdate = TRUE);
    BOOL ActivatePaneTips(BOOL bActivate = TRUE);
    BOOL SetPaneTip(int nIndex, LPCTSTR lpszText);
    BOOL DeletePaneTip(int nIndex);

    HCURSOR GetPaneCursor(int nIndex) const;
    CFont* GetPaneFont(int nIndex) const;
    COLORREF GetPaneTextColor(int nIndex) const;
    CString GetPaneTip(int nIndex) const;
    // The pane's bitmap information, or null.
    const CBmpInfo* GetPaneBitmapInfo(int nIndex) const;
    // The pane's progress indicator, or null.
    CEvolInfo* GetPaneProgress(int nIndex) const;

    // ---- progress panes ---------------------------------------------------------------------------
    // A new progress indicator for the pane (the old one and its control destroyed), its
    // control made and reset to 0 of 100. The second argument has no effect. FALSE when the
    // control cannot be made yet (the pane has no room: it is made at the next layout or
    // SetBarProgress).
    BOOL SetUpBar(int nIndex, int nUnused = 0, BOOL bShowPercent = TRUE);
    // Range 0..dwRange and the position; the pane's text becomes the clamped percentage
    // when it is shown. Nothing for a pane without progress indicator.
    void SetBarProgress(int nIndex, int nUnused, DWORD dwRange, DWORD dwPosition);
    // bRemove: destroys the indicator and empties the pane's text; otherwise 0 of 100.
    void ResetBar(int nIndex, BOOL bRemove = FALSE);

    // ---- drawing (called by the skins) ------------------------------------------------------------
    // One pane's text (the pane index is the item ID).
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The pane's bitmap inside the pane, its transparent colour letting the pane show.
    void DrawStatusBmp(CDC* pDC, int nIndex, UINT nStyle);
    // The pane's inside (see status_bar_geometry.h); FALSE for a pane without room.
    BOOL CalcInsideBorder(int nIndex, CRect& rect, BOOL bProgress) const;
    // The pane under a client point, or -1 (between panes, outside the bar).
    int PaneFromPoint(CPoint point) const;
    // The control's borders: horizontal, vertical, between panes.
    void GetBorders(int borders[3]) const;

    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    struct PaneExtras {
        HCURSOR cursor = nullptr;              // shared (a loaded resource): not destroyed
        std::unique_ptr<CBmpInfo> bitmap;
        COLORREF textColour = 0;
        std::unique_ptr<CEvolInfo> progress;
        std::unique_ptr<CFont> font;
        CString tip;
    };

    // The pane's extras; CInvalidArgException for an index outside the panes.
    PaneExtras& Pane(int nIndex);
    const PaneExtras& Pane(int nIndex) const;
    void CheckIndex(int nIndex) const;
    // Makes the pane's progress control when it has none (its result is the created flag).
    BOOL CreateEvolutionPane(int nIndex, CEvolInfo& info);
    // The width of "999%" in the pane's font, the room the percentage text takes.
    int PercentTextWidth(int nIndex);
    // Sets SBT_OWNERDRAW on the pane when it has its own font or colour, clears it otherwise.
    void SyncOwnerDraw(int nIndex);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    std::vector<PaneExtras> m_panes;
    CDC m_dcMem;   // compatible with the screen; the source of the pane bitmaps
    COXElementSkinLookup<COXStatusbarSkin> m_skin;

    friend class COXStatusbarSkinClassic;
    friend class COXStatusbarSkinXP;

    DECLARE_MESSAGE_MAP()
};

namespace zyn::toolkit::statusbar {

// Draws the srcWidth by srcHeight top-left part of bitmap scaled into dest (logical
// coordinates of target), the pixels of the transparent colour letting the target show
// through. sourceDc, when given, is the memory DC the bitmap is selected into for the
// copy (the bar keeps one); otherwise one is made for the call.
void DrawTransparentBitmap(CDC& target, const RECT& dest, CBitmap& bitmap, int srcWidth, int srcHeight,
    COLORREF transparent, CDC* sourceDc = nullptr);

} // namespace zyn::toolkit::statusbar
