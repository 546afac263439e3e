#pragma once
// CStatusBar: the class library's status bar, a control bar whose window is the status-bar
// common control ("msctls_statusbar32", platform/comctl/statusbar.h), divided into panes.
// A frame keeps one (ID AFX_IDW_STATUS_BAR) along its bottom: pane 0 is its message line,
// the others usually show indicators (the lock keys).
//
// Panes: SetIndicators makes one pane per ID. A pane with an ID takes the ID's string
// (through the resource chain) as its text and that text's extent in the bar's font as
// its width; an ID_SEPARATOR pane has no text and a quarter of the screen's width, and as
// pane 0 it stretches (SBPS_STRETCH) and has no border (SBPS_NOBORDERS). The panes are kept
// in m_pData as AFX_STATUSPANE records (ID, style, width, text, flags), which derived bars
// read through _GetPanePtr.
//
// Geometry (UpdateAllPanes): inside the bar (CalcInsideRect: the margins, and the size grip
// when it shows) with the control's borders {h, v, spacing} (SB_GETBORDERS), every pane
// takes its width + 6 (CX_PANE_BORDER: its frame and text margins) and the spacing follows
// it; the room left over (inner width + spacing - the sum of (width + 6 + spacing)) goes to
// the stretchy panes, each taking an equal share of what is left when its turn comes
// (integer division, so a later pane may get a pixel more); the right edges start at h.
// The bar is as tall as the control wants its client area (the font's line height + 8, or
// the SB_SETMINHEIGHT value + 4 when that is more) plus its top and bottom margins, and it
// spans its side.
//
// Styles: SBPS_NORMAL, SBPS_NOBORDERS, SBPS_POPOUT and SBPS_OWNERDRAW are the control's
// SBT_ drawing types; SBPS_DISABLED shows no text (the text is kept), SBPS_STRETCH takes the
// spare room. An owner-drawn pane comes back as DrawItem (through the parent's reflection)
// with itemData the pane's text.
//
// Texts: SetPaneText(bUpdate = FALSE) only stores the text and marks the pane (SBPF_UPDATE);
// the next UpdateAllPanes(…, TRUE) or paint shows it. WM_SETTEXT/WM_GETTEXT address the
// pane whose ID is 0 (the message line). In the idle pass every pane is updated through the
// owner frame's routing with a CStatusCmdUI (Enable: SBPS_DISABLED; SetCheck: SBPS_POPOUT;
// SetText: the pane's text); panes nobody handles stay as they are.
#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/ctrlbar.h"
#include "platform/afx/statusbarctrl.h"
#include "platform/base/cstring.h"

// Pane styles.
inline constexpr UINT SBPS_NORMAL = 0x0000, SBPS_NOBORDERS = SBT_NOBORDERS, SBPS_POPOUT = SBT_POPOUT,
                      SBPS_OWNERDRAW = SBT_OWNERDRAW, SBPS_DISABLED = 0x04000000, SBPS_STRETCH = 0x08000000;
// AFX_STATUSPANE::nFlags: the text waits to be shown.
inline constexpr UINT SBPF_UPDATE = 0x0001;

struct AFX_STATUSPANE {
    UINT nID;        // ID_SEPARATOR: a pane reached by index only
    UINT nStyle;     // SBPS_*
    int cxText;      // the width of the pane's text area
    CString strText;
    UINT nFlags;     // SBPF_*
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    // Destroys the window, then the panes.
    ~CStatusBar() override;

    // ---- creation ---------------------------------------------------------------------------------------
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
        UINT nID = AFX_IDW_STATUS_BAR);
    // dwCtrlStyle: SBARS_ bits; a parent with a sizing border also gets the size grip
    // (SBARS_SIZEGRIP). A bar along the bottom draws no border of its own (the frame's edge
    // is one).
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    // ---- panes ---------------------------------------------------------------------------------------------
    // Replaces the panes (lpIDArray null: nIDCount panes without ID or text). FALSE for a
    // count below 0 or above 256 (nothing changed), or, after all panes are made, when an
    // ID has no string (ERROR_RESOURCE_NAME_NOT_FOUND; that pane is left empty).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int CommandToIndex(UINT nIDFind) const;
    // ID_SEPARATOR for a bad index (ERROR_INVALID_PARAMETER).
    UINT GetItemID(int nIndex) const;
    // The pane's part rectangle in the bar's client coordinates (empty for a bad index).
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    // A width below 0 keeps the pane's width.
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const;
    // lpszNewText null empties the text; FALSE for a bad index.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    // Not virtual: the toolkit's bar has one of its own that its SetPaneStyle and
    // SetPaneInfo call.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    // The control's own interface on the bar's window (its messages pass the bar's map).
    CStatusBarCtrl& GetStatusBarCtrl() const;

    // ---- overrides ------------------------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // The control bar's inside rectangle, less the size grip's strip when it shows.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Draws an SBPS_OWNERDRAW pane; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    int m_nMinHeight = 0;   // SB_SETMINHEIGHT's value
    int m_cxSizeBox = 0;    // the size grip's width while it shows, else 0
    BOOL m_bHideSizeBox = FALSE;

protected:
    // The pane record at nIndex; null for a bad index.
    AFX_STATUSPANE* _GetPanePtr(int nIndex) const;
    // Makes nElements empty panes in place of the old ones (their texts freed).
    BOOL AllocElements(int nElements, int cbElement);
    // The text of the pane whose ID is 0 (the message line), -1 when there is none.
    int MessagePane() const;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

private:
    void DestroyPanes();
    mutable CStatusBarCtrl m_ctrl;   // borrows m_hWnd for GetStatusBarCtrl; never owns it

    DECLARE_MESSAGE_MAP()
};

// A status-bar pane as a command user-interface element of the idle pass: m_pOther is the
// bar, m_nIndex the pane.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCTSTR lpszText) override;
};
