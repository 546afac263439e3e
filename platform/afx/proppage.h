#pragma once
// CPropertyPage: a dialog that lives as one page of a property sheet (CPropertySheet, or
// any sheet of the property-sheet machinery in platform/comctl/prsht.h).
//
// The page describes itself in m_psp: its template (an ID or name, found through the
// resource chain when the sheet is built), its tab text (the caption string given to the
// constructor, else the template's caption), AfxDlgProc as its dialog procedure and
// itself as lParam. The sheet makes the page's window the first time the page is
// activated: the page's PSPCB_CREATE callback hooks the next window creation to the
// object, so the page's window runs through the message map from its first message, and
// WM_INITDIALOG reaches OnInitDialog (which loads the controls: UpdateData(FALSE)).
//
// The sheet talks to the page with WM_NOTIFY PSN_ codes, which OnNotify turns into the
// overridables (after the message map had its chance, and only for notifications from
// the sheet or the page itself):
//   PSN_SETACTIVE    OnSetActive: FALSE refuses the activation. The first activation after
//                    the window was made loads nothing (OnInitDialog just did); later ones
//                    load the controls again from the members (UpdateData(FALSE)).
//   PSN_KILLACTIVE   OnKillActive: UpdateData(TRUE); a failed validation (its box shown,
//                    the focus on the field) keeps the page active.
//   PSN_APPLY        OnApply: OnOK, then TRUE; FALSE answers PSNRET_INVALID_NOCHANGEPAGE
//                    and the sheet stays open on the active page.
//   PSN_RESET        OnReset: OnCancel.
//   PSN_QUERYCANCEL  OnQueryCancel: FALSE keeps the sheet open.
//   PSN_HELP         a WM_COMMAND ID_HELP to the page.
//   PSN_WIZBACK / PSN_WIZNEXT / PSN_WIZFINISH   OnWizardBack / OnWizardNext (0: the
//                    neighbour, -1: stay, or a page's template ID) / OnWizardFinish (FALSE
//                    keeps the wizard open).
// OnOK and OnCancel of a page never end a dialog: the sheet decides when it closes; they
// mark the page unmodified. SetModified tells the sheet (PSM_CHANGED / PSM_UNCHANGED),
// which enables Apply Now while any page is modified.
//
// Keys: a page leaves the dialog manager's work to its sheet (the sheet's
// PreTranslateMessage, or the dialog above a child sheet), so Tab moves through the
// sheet's and the page's controls alike.
//
// A page object destroyed while it is still on a CPropertySheet takes itself off that
// sheet first, so the sheet never calls a page that is gone.
#include <string>

#include "platform/afx/dialog.h"
#include "platform/base/cstring.h"
#include "platform/comctl/prsht.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // The template is given later (Construct).
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    ~CPropertyPage() override;
    // A page made with the default constructor names its template and caption.
    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

    // What the sheet builds the page from. pszTitle and the template point into the
    // object; a caller may change the flags (PSP_HASHELP...) before the sheet is made.
    PROPSHEETPAGE m_psp{};

    // ---- operations -------------------------------------------------------------------------------------------
    // The sheet the page is on (its parent window's object), or null.
    CPropertySheet* GetParentSheet() const;
    // Marks the page changed or not and tells the sheet (PSM_CHANGED / PSM_UNCHANGED).
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }
    // PSM_QUERYSIBLINGS through the sheet: the first non-zero answer of its pages (0: none).
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
    // PSM_CANCELTOCLOSE: the sheet's Cancel disabled, OK reads "Close".
    void CancelToClose();

    // ---- overridables (see the top of this file) --------------------------------------------------------------
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    void OnOK() override;
    void OnCancel() override;
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    // Tooltips only: the sheet (or the dialog holding a child sheet) runs the keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The sheet's page callback (m_psp.pfnCallback).
    static UINT PropPageCallback(HWND hWnd, UINT uMsg, PROPSHEETPAGE* ppsp);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    afx_msg LRESULT HandlePageInitDialog(WPARAM wParam, LPARAM lParam);

    CString m_strCaption;          // the tab text (PSP_USETITLE) when a caption was given
    BOOL m_bFirstSetActive = TRUE; // no activation since the window was made
    BOOL m_bModified = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption);
    // Hooks the next window creation to this object (the page's window is next).
    void ArmCreateHook();
    // Takes the creation hook away again when this page put it there.
    void ReleaseCreateHook();

    std::wstring m_templateName;   // a named template (m_lpszTemplateName points here)
    BOOL m_bOwnsCreateHook = FALSE;
    // The sheet object the page was last added to (the page leaves it when destroyed).
    CPropertySheet* m_pSheet = nullptr;

    friend class CPropertySheet;
};
