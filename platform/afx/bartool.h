#pragma once
// CToolBar: the class library's toolbar, a control bar whose window is the toolbar common
// control ("ToolbarWindow32", platform/comctl/toolbar.h). The control draws and clicks the
// buttons; the bar decides their size and rows, keeps them up to date in the idle pass and
// docks like every control bar.
//
// Making one: Create/CreateEx make the control a child with CCS_NOPARENTALIGN |
// CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE (the frame's layout places it, not the
// control) plus the TBSTYLE_ bits given; the CBRS_ bits stay in m_dwStyle. LoadToolBar reads
// a TOOLBAR resource (version 1: WORD version, width, height, count, then one WORD command
// per item, 0 for a separator), makes the buttons (SetButtons: images numbered in order,
// separators 6 pixels wide on a flat bar, 8 otherwise), sets the sizes (image = the
// resource's width x height, button = image + (7, 7)) and loads the bitmap of the same name
// (LoadBitmap: the bar owns it in m_hbmImageWell; the control copies the images and shows
// their light-grey pixels as the button face).
//
// Buttons are read and written as records (_GetButton/_SetButton). A record's "style" as
// the bar's members see it is MAKELONG(fsStyle, fsState) with the enabled bit turned round
// (TBBS_DISABLED), so a zeroed record is an enabled plain button. _SetButton replaces a
// button by deleting it and inserting the new record through DefWindowProc, i.e. straight
// to the control: neither this bar's nor a derived bar's TB_INSERTBUTTON/TB_DELETEBUTTON
// handlers see these internal edits.
//
// Layout (bartool_layout.cpp), in the control bar's scheme: CalcFixedLayout and
// CalcDynamicLayout read every button, set the wrap states on a copy (WrapToolBar for a
// width, SizeToolBar for a length), measure it (CalcSize) and add the margins
// (CalcInsideRect). Only a committing call (LM_COMMIT, made by Layout() whenever
// m_bDelayedButtonLayout is set: after buttons, sizes or orientation changed) writes the
// wrap states back to the control. The rules, with b the button size and w a separator's
// width (its iBitmap):
//   CalcSize: items run left to right from (0, 0); a button is b.cx wide (plus the drop-down
//     arrow width with TBSTYLE_EX_DRAWDDARROWS), a separator w; after an item with
//     TBSTATE_WRAP the next row starts b.cy lower, plus w (flat bar) or 2w/3 (others) after
//     a wrapping separator; a wrapping separator adds only to the height. Hidden items
//     count for nothing.
//   WrapToolBar(width): an item that would pass the width wraps the row at the last plain
//     separator (command 0) before it in the row, else at the item before it that is no
//     separator holding a window; the number of rows.
//   SizeToolBar(length, horizontal): the narrowest width that keeps the rows the length
//     gives; vertical: a binary search on the width for the height nearest the length.
//   Docked on a horizontal side a bar is one row (width 32767); on a vertical side one
//     column (width 0); floating and dynamic (CBRS_SIZE_DYNAMIC) it wraps to m_nMRUWidth.
//     CBRS_SIZE_FIXED keeps the wrap states the buttons have.
//
// The idle pass updates every button that is not a separator through the owner frame's
// routing with a CToolCmdUI (Enable: TBBS_DISABLED, also releasing a pressed button;
// SetCheck: 0, 1 checked, 2 indeterminate). With CBRS_TOOLTIPS the class library's tooltip
// asks for each button's text (TTN_NEEDTEXT, forwarded to the owner frame, whose answer is
// the line after the '\n' of the command's string); with CBRS_FLYBY the command under the
// mouse shows its prompt (the first line) on the frame's message line.
#include "platform/afx/afxres.h"
#include "platform/afx/ctrlbar.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/toolbarctrl.h"

class CMapStringToPtr;

// A button's style word: MAKELONG(fsStyle, fsState), with the enabled state turned round.
inline constexpr UINT TBBS_BUTTON = MAKELONG(TBSTYLE_BUTTON, 0), TBBS_SEPARATOR = MAKELONG(TBSTYLE_SEP, 0),
                      TBBS_CHECKBOX = MAKELONG(TBSTYLE_CHECK, 0), TBBS_GROUP = MAKELONG(TBSTYLE_GROUP, 0),
                      TBBS_CHECKGROUP = MAKELONG(TBSTYLE_CHECKGROUP, 0),
                      TBBS_DROPDOWN = MAKELONG(TBSTYLE_DROPDOWN, 0), TBBS_AUTOSIZE = MAKELONG(TBSTYLE_AUTOSIZE, 0),
                      TBBS_NOPREFIX = MAKELONG(TBSTYLE_NOPREFIX, 0);
inline constexpr UINT TBBS_CHECKED = MAKELONG(0, TBSTATE_CHECKED), TBBS_PRESSED = MAKELONG(0, TBSTATE_PRESSED),
                      TBBS_DISABLED = MAKELONG(0, TBSTATE_ENABLED), TBBS_INDETERMINATE = MAKELONG(0, TBSTATE_INDETERMINATE),
                      TBBS_HIDDEN = MAKELONG(0, TBSTATE_HIDDEN), TBBS_WRAPPED = MAKELONG(0, TBSTATE_WRAP),
                      TBBS_ELLIPSES = MAKELONG(0, TBSTATE_ELLIPSES), TBBS_MARKED = MAKELONG(0, TBSTATE_MARKED);

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    // Destroys the window, then frees the image well and the text map.
    ~CToolBar() override;

    // ---- creation ---------------------------------------------------------------------------------------
    using CControlBar::Create;
    using CControlBar::CreateEx;
    // CreateEx with the bar's current margins as borders and no control style.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
        UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle: TBSTYLE_ bits of the control; dwStyle: window styles and CBRS_ bits;
    // rcBorders: the margins (SetBorders). FALSE when the window cannot be made.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
        UINT nID = AFX_IDW_TOOLBAR);

    // ---- resources and images ---------------------------------------------------------------------------
    // Buttons, sizes and bitmap from the TOOLBAR resource and the bitmap of that name
    // (found through the resource chain). FALSE, leaving the bar as it was, when the resource
    // is missing or malformed (ERROR_RESOURCE_NAME_NOT_FOUND, ERROR_INVALID_DATA); FALSE
    // after the buttons were made when the bitmap cannot be had.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEW(nIDResource)); }
    // The image well from a bitmap resource cut at the image size; it replaces the previous
    // one in place (the buttons keep their image numbers).
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }
    // The same from a bitmap the bar takes over (it is deleted with the bar or when replaced;
    // on failure it stays the caller's).
    BOOL SetBitmap(HBITMAP hbmImageWell);
    // sizeButton must be at least 7 pixels wider and 6 taller than sizeImage; FALSE
    // (ERROR_INVALID_PARAMETER) and nothing changed otherwise. The image size cannot change
    // once images are loaded (FALSE, the control refuses it).
    BOOL SetSizes(SIZE sizeButton, SIZE sizeImage);
    // Makes the buttons cyHeight tall (at least the image height + 6), keeping the image
    // centred; FALSE when refused.
    BOOL SetHeight(int cyHeight);
    // Replaces the buttons: one per ID, ID_SEPARATOR making a separator; with lpIDArray null,
    // nIDCount blank buttons (SetButtonInfo gives them their commands). FALSE for a negative
    // count or when the control refuses a button.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    // ---- buttons ----------------------------------------------------------------------------------------------
    // The index of the first button with that command, -1 when none.
    int CommandToIndex(UINT nIDFind) const;
    // The command of the button at nIndex (0 for a separator, and for a bad index with
    // ERROR_INVALID_PARAMETER).
    UINT GetItemID(int nIndex) const;
    // The button's rectangle in the bar's client coordinates (empty for a bad index or a
    // hidden button). Virtual: the toolkit's bars lay buttons out their own way.
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    CString GetButtonText(int nIndex) const;
    void GetButtonText(int nIndex, CString& rString) const;
    // Texts go to the control's string pool once each (m_pStringMap remembers them); the
    // button size follows what the control makes of them. FALSE for a bad index or text.
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    // The control's own interface on the bar's window (its messages pass the bar's map).
    CToolBarCtrl& GetToolBarCtrl() const;

    // ---- layout --------------------------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    // The button under the point (client coordinates): its command, and pTI filled as a
    // callback tool of the bar's window over the button; child windows first; -1 for none
    // (separators and empty space).
    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // ---- data (read and written by derived bars) -----------------------------------------------------------
    HBITMAP m_hbmImageWell = nullptr;   // owned
    HINSTANCE m_hInstImageWell = nullptr;   // where the image well came from (null: SetBitmap)
    HRSRC m_hRsrcImageWell = nullptr;
    HRSRC m_hRsrcToolBar = nullptr;
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    BOOL m_bDelayedButtonLayout = TRUE;
    CMapStringToPtr* m_pStringMap = nullptr;   // text -> string-pool index; owned


protected:
    // The button record at nIndex, with TBSTATE_ENABLED turned round (zeroed, FALSE, for a
    // bad index).
    BOOL _GetButton(int nIndex, TBBUTTON* pButton) const;
    // Writes a record (enabled bit turned round) when it differs from the button's: the
    // button is deleted and the record inserted at its place through DefWindowProc, with the
    // window's WS_VISIBLE off meanwhile, then the old rectangle (or the whole bar when the
    // item changed kind or width) is redrawn.
    BOOL _SetButton(int nIndex, TBBUTTON* pButton);
    // Commits the layout for the bar's present side (LM_COMMIT) and clears the flag.
    void Layout();
    // The layout machinery (bartool_layout.cpp); all work on a copy of the records.
    virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
    virtual CSize CalcSize(TBBUTTON* pData, int nCount);
    virtual int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
    virtual void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
    // A button's width in the layout: the button width plus the drop-down arrow where the
    // control draws one.
    int ButtonWidth(const TBBUTTON& button) const;
    // The drop-down arrow's width: Marlett's down arrow at the height of a menu check mark,
    // as the toolbar control measures it.
    static int DropDownArrowWidth();
    BOOL AddReplaceBitmap(HBITMAP hbmImageWell);
    // m_sizeButton and m_sizeImage as the control has them now.
    void SyncSizes();

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonsChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);

private:
    mutable CToolBarCtrl m_ctrl;   // borrows m_hWnd for GetToolBarCtrl; never owns it

    DECLARE_MESSAGE_MAP()
};

// A toolbar button as a command user-interface element of the idle pass: m_pOther is the
// bar, m_nIndex the button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCTSTR lpszText) override;   // buttons keep their texts
};
