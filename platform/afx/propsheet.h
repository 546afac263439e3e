#pragma once
// CPropertySheet: the class library's window object over a property sheet of the
// machinery in platform/comctl/prsht.h, holding CPropertyPage pages.
//
// The pages are the caller's objects (the sheet never deletes one); AddPage and
// RemovePage work before and after the window exists. BuildPropPageArray turns the pages
// into m_psh's array of PROPSHEETPAGE structures when the window is made, so a page
// object may be changed (its caption, PSP_HASHELP) until then.
//
// Making the window: the sheet hooks the next window creation to itself and calls
// PropertySheet modeless; its PSCB_PRECREATE callback gives the sheet's template the
// style asked for. The window is a "#32770" dialog whose WM_INITDIALOG reaches
// OnInitDialog; the base's OnInitDialog applies EnableStackedTabs (without it the tab
// control keeps one row) and then lets the machinery build the tabs, lay the sheet out
// and make the first page (Default()).
//   DoModal    the owner (the parent's top-level window, else the main window) is
//              disabled, the sheet shown and run on the one modal loop (messages go
//              through the window objects' PreTranslateMessage, so the sheet's keys work)
//              until OK, Cancel or Finish ends it; then the owner is enabled and the window
//              destroyed. IDOK (OK), ID_WIZFINISH (Finish), IDCANCEL (Cancel, the close
//              box, Escape, or a loop that ran dry), -1 when the sheet could not be made.
//   Create     modeless. dwStyle -1 takes DS_MODALFRAME | DS_3DLOOK | DS_CONTEXTHELP |
//              DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU; a top-level
//              modeless sheet destroys its window when OK or Cancel ends it. With WS_CHILD
//              (for example 0x50080000, WS_CHILD | WS_VISIBLE | WS_SYSMENU) the sheet is a
//              child window of pParentWnd at (0, 0) with no buttons and no margins: the tab
//              control and the page fill it, and it is a control parent, so the parent's
//              dialog manager moves the focus through it into the page's controls.
// PreTranslateMessage gives the sheet Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and
// Ctrl+PageUp (page changes); a top-level sheet then runs every other key through its
// dialog manager (PSM_ISDIALOGMESSAGE), while a child sheet leaves them to its parent's.
#include <vector>

#include "platform/afx/proppage.h"
#include "platform/afx/tabctrl.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/comctl/prsht.h"

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;
    // A sheet made with the default constructor takes its caption, parent and first page.
    void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    PROPSHEETHEADER m_psh{};

    // ---- pages ------------------------------------------------------------------------------------------------
    int GetPageCount() const;
    // A page by index; an index outside the pages throws CInvalidArgException.
    CPropertyPage* GetPage(int nPage) const;
    // -1 when the page is not on the sheet.
    int GetPageIndex(CPropertyPage* pPage) const;
    // The active page: the one shown (null once OK or Cancel ended a modeless sheet);
    // before the window exists, the page the sheet will start on.
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // With the window: the sheet's answer to PSM_SETCURSEL (FALSE when the active page
    // keeps the focus or the new page refuses). Before: the start page (FALSE outside the
    // pages).
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    // Adds a page at the end (a tab of its own when the window exists). A null page or one
    // on the sheet already throws CInvalidArgException; a page whose template cannot be
    // read throws CResourceException and is not added.
    void AddPage(CPropertyPage* pPage);
    // Takes a page off the sheet (its window, if made, is destroyed; the object stays the
    // caller's). A page not on the sheet or an index outside the pages throws
    // CInvalidArgException.
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);

    // ---- the sheet --------------------------------------------------------------------------------------------
    // The sheet's tab control (null before the window exists). The object is the sheet's
    // own and stays valid as long as the sheet.
    CTabCtrl* GetTabControl() const;
    // Several rows of tabs (the default) or one row that scrolls; before the window is made.
    void EnableStackedTabs(BOOL bStacked) { m_bStacked = bStacked; }
    // The caption (nStyle PSH_PROPTITLE: "Properties for " before it).
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    void SetTitle(UINT nIDText, UINT nStyle = 0);
    void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
    void SetWizardButtons(DWORD dwFlags);
    void SetFinishText(LPCTSTR lpszText);
    // PSM_PRESSBUTTON (PSBTN_*); FALSE without a window.
    BOOL PressButton(int nButton);
    // Ends a modal run with nEndID, or destroys a modeless sheet.
    void EndDialog(int nEndID);

    // ---- making the window ------------------------------------------------------------------------------------
    virtual INT_PTR DoModal();
    // FALSE when the object holds a window already, a child style has no parent, or the
    // sheet could not be made (the last error says why).
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    // Fills m_psh's page array from the pages.
    void BuildPropPageArray();

    // ---- overridables -------------------------------------------------------------------------------------------
    // Applies EnableStackedTabs, then the machinery's initialisation; its answer.
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ContinueModal() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;   // not owned
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bStacked = TRUE;
    BOOL m_bModeless = FALSE;
    DWORD m_dwStyle = 0;                   // the window style Create asked for
    DWORD m_dwExStyle = 0;

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    // PropertySheet modeless with this object hooked to the sheet's window.
    BOOL MakeWindow(HWND hWndParent);
    // The page's structure as the sheet is to get it (resource module, title).
    static PROPSHEETPAGE PageStructure(CPropertyPage* pPage);
    // The PSCB_PRECREATE callback: the style of the sheet's template.
    static int SheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam);
    void AdjustTemplate(void* lpTemplate) const;

    std::vector<PROPSHEETPAGE> m_pageArray; // BuildPropPageArray's structures
    mutable CTabCtrl m_tabCtrl;             // borrows the tab control's handle (never attached)
    BOOL m_bRunningModal = FALSE;
};
