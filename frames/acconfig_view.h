#pragma once
// CZynAcConfigView: the form view of every configuration screen. It hosts a child sheet of
// the host's configuration pages (acconfig_sheet.h) above a row of buttons (Add, Modify,
// Delete; OK, Cancel, Clear in their places while an edit is open; Exit; an optional Help
// 57670), a multi-select check box and a status text, and runs the form-state machine:
//
//   viewing (0) ──Add/Modify/Delete──► adding (2) / modifying (3) / deleting (4)
//        ▲                                   │
//        └──── OK that succeeds, Cancel, Escape, a Yes to the close question ◄┘
//
// Entering an edit locks the form: the sheet's tabs are disabled (mouse and Ctrl+Tab),
// Add/Modify/Delete hide and OK/Cancel (and Clear, not while deleting) show, the document
// is marked modified, and the active page is asked through its SetState, which may refuse
// (a barred server type): the view then cancels. OK runs the active page's ValidateData
// and then Add or Modify (Delete without validation); only their success returns to
// viewing, a failure keeps the edit open as it is. Buttons are enabled by the idle pass
// from the active page's CanAdd/CanModify/CanDelete/CanClear/CanClose/CanMultipleSelect
// (no page: all disabled); a page whose ShowButtons is 0 never shows Add, Modify and
// Delete. Closing while an edit is open asks the operator (message 11196, Yes: the edit is
// cancelled and the screen closes; No: nothing closes and nothing is lost).
//
// Pages talk to the view with posted messages: WM_ZYN_UPDATEBUTTONS (2224) updates the
// buttons and status, WM_ZYN_MENUMESSAGE (2062) presses a button (2 Cancel, 10012 Add,
// 10013 Modify, 10014 Delete; the edits only while viewing). The main window hands the
// view an object to show with WM_ZYN_SHOWOBJECT (2081, lParam a CZynAcObject): while
// viewing, the first page whose ShowObject takes it becomes the active page.
//
// Keys: the view's accelerator table (10129, from the resource module that holds it:
// Insert, F2 and Delete press Add, Modify and Delete) comes first; the Delete key is left
// to the focused control while the Delete button cannot be pressed (disabled or hidden),
// so it deletes text in a page's edit during an edit. Every key the table does not take
// goes on to the form view's dialog keys (Tab through view → sheet → page, Enter for OK,
// Escape for Cancel, mnemonics). Tooltips show the buttons' purposes (12598–12606) for
// the buttons the template has.
//
// The host derives its view, overrides AddPages to add heap pages to GetSheet() (the sheet
// owns them) and registers the view with the application. The view fits its frame around
// the sheet when it makes it; on every resize the button row stays below the sheet (never
// above the sheet's created height), Exit at the right edge, and with AutoResizeSheet (the
// default) the sheet fills the room above the row, never smaller than it was made.
#include <memory>

#include "frames/acconfig_sheet.h"
#include "frames/base_config_view.h"
#include "frames/cfg_form_state.h"
#include "platform/afx/ctlwrap_button.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/suite/controls/check_box.h"

class CZynAcConfigPage;
class CZynAcObject;

class CZynAcConfigView : public BaseConfigView {
    DECLARE_DYNCREATE(CZynAcConfigView)
public:
    // The standard view template (10011).
    CZynAcConfigView();
    explicit CZynAcConfigView(UINT nIDTemplate);
    ~CZynAcConfigView() override;

    // ---- overridables, in the suite's order -------------------------------------------------------------
    // Makes the sheet (once) with the host's pages and its window; FALSE when AddPages
    // added nothing (0) or the window failed: there is no sheet then (its pages deleted).
    virtual int CreateSheet();
    // The host adds its pages to GetSheet(); non-zero when it did. The base adds none.
    virtual int AddPages();
    // Enters a state (see the top of this file); the active page's answer (TRUE without a
    // sheet).
    virtual int SetState(AcCfgFormState state);
    // The active page's ValidateData, then its Add / Modify; its Delete alone; Apply is
    // ValidateData then Modify. FALSE without an active page or when a step fails.
    virtual int Add();
    virtual int Modify();
    virtual int Delete();
    virtual int Apply();
    // Locks (tabs disabled, OK/Cancel/Clear shown) or unlocks the form.
    virtual void LockForm(int bLock);
    virtual void UpdateStatusText();
    virtual void UpdateButtons();
    // An object to show (WM_ZYN_SHOWOBJECT): while viewing, the first page that shows it
    // becomes active; TRUE when one did.
    virtual int ShowObject(const CZynAcObject& object);

    int CanClose() override;
    void UpdateCfg(LONG lHint, const CfgMessage* pMsg) override;
    ULONG GetHelpID(int nControlID, CPoint& point) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnInitialUpdate() override;

    // ---- state and settings --------------------------------------------------------------------------------
    CZynAcConfigSheet* GetSheet() const { return m_pSheet.get(); }
    AcCfgFormState GetState() const { return m_state; }
    int GetAllowMultipleSelect() const { return m_bAllowMultiSelect; }
    // Shows and enables the multi-select box, or hides and disables it and moves the status
    // text to start 10 pixels right of the Help (else the Delete) button.
    void AllowMultipleSelect(int bAllow);
    void SetInitPos(int x, int y) { m_ptInit = CPoint(x, y); }
    CPoint GetInitPos() const { return m_ptInit; }
    void AutoResizeSheet(int bAuto) { m_bAutoResizeSheet = bAuto; }
    // Rescales the sheet once, at the next size, from the dialog font to a 6 x 13 base.
    void FixDoubleByteLayout(int bFix) { m_bFixDoubleByteLayout = bFix; }
    CSize GetCreatedSheetSize() const { return CSize(m_nSheetWidth, m_nSheetHeight); }
    // The view's tooltips (to look at them).
    CToolTipCtrl& GetToolTips() { return m_toolTip; }

    // ---- the application's operator -------------------------------------------------------------------------
    bool SegmentsInUse() const;
    bool AllSegmentsUser() const;
    bool UseSegmentColumn() const;
    CString SegmentName(LONG lSegmentID) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The status text (null: empty).
    void SetStatusCtl(const wchar_t* lpszText);
    CZynAcConfigPage* ActivePage() const;

    afx_msg void OnDestroy();
    afx_msg void OnBtnAdd();
    afx_msg void OnBtnModify();
    afx_msg void OnBtnDelete();
    afx_msg void OnBtnClear();
    afx_msg void OnBtnExit();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnCancel();
    afx_msg void OnOK();
    afx_msg void OnMultiselect();
    afx_msg void OnHelp();
    afx_msg void OnUpdateBtnAdd(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBtnModify(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBtnDelete(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBtnClear(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBtnExit(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMultiselect(CCmdUI* pCmdUI);
    // Not in the map: OK and Cancel are enabled whenever shown.
    afx_msg void OnUpdateCancel(CCmdUI* pCmdUI);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnZynUpdateButtons(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnZynMenuMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnZynShowObject(WPARAM wParam, LPARAM lParam);

    CCheckBox m_chkMultiSelect;
    CStatic m_stStatus;
    CButton m_btnExit;
    CButton m_btnOK;
    CButton m_btnCancel;
    CButton m_btnClear;
    CButton m_btnDelete;
    CButton m_btnModify;
    CButton m_btnAdd;
    CButton m_btnHelp;
    int m_nSheetWidth = 0;
    int m_nSheetHeight = 0;
    std::unique_ptr<CZynAcConfigSheet> m_pSheet;
    AcCfgFormState m_state = AcCfgStateView;
    int m_bAllowMultiSelect = 0;
    CPoint m_ptInit{-1, -1};
    int m_bAutoResizeSheet = 1;
    int m_bFixDoubleByteLayout = 0;
    HACCEL m_hAccel = nullptr;
    CToolTipCtrl m_toolTip;

    DECLARE_MESSAGE_MAP()

private:
    // SetState, the multi-select box hidden in an edit, and a cancel when the page refused.
    int SetEditState(AcCfgFormState state);
    // The active page's check then operation.
    int ValidateThen(int (CZynAcConfigPage::*operation)());
    void LoadAccelerators();
    void AddToolTips();
    // Pixels of 4 x 8 dialog units of a window.
    static CSize DialogBaseOf(HWND hWnd);
};
