#pragma once
// CZynAcConfigSheet: the child sheet of a configuration view (acconfig_view.h), holding
// the host's configuration pages (acconfig_page.h).
//   - It owns its pages: the host gives it heap pages (AddPage / SafeAddPage) and the sheet
//     deletes every page still on it, last first, when its window is destroyed, or when
//     the sheet object goes without its window ever having been made (a failed build).
//     A page taken off with SafeRemovePage is the host's again.
//   - The form state, Cancel, Clear and the selection count go to the active page (when it
//     has a window); configuration messages go to every page that has a window, the
//     multi-select mode to every page, made or not.
//   - Pages are found by their page ID (the first in page order with that ID).
//   - While an edit is open the view disables the tabs (EnableTabs / DisableTabs): the tab
//     control is disabled and Ctrl+Tab, Ctrl+Page Up and Ctrl+Page Down are swallowed, so
//     neither mouse nor keyboard leaves the page. Ctrl is read as it was when the key was
//     pressed (GetKeyState), so keys typed ahead while the program was busy are judged by
//     what the operator held, not by the keyboard's state when the message is taken.
#include "frames/cfg_form_state.h"
#include "frames/child_sheet.h"

class CfgMessage;
class CZynAcConfigPage;

class CZynAcConfigSheet : public CChildSheet {
    DECLARE_DYNCREATE(CZynAcConfigSheet)
public:
    CZynAcConfigSheet();
    CZynAcConfigSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage);
    // Deletes the pages still on the sheet (its window first, when it still has one).
    ~CZynAcConfigSheet() override;

    // A page as a configuration page (null for a page of another kind); an index outside
    // the pages throws CInvalidArgException as the property sheet's own access does.
    CZynAcConfigPage* GetPage(int nPage) const;
    CZynAcConfigPage* GetActivePage() const;

    // The tab control enabled or not (nothing without one).
    void EnableTabs(int bEnable);
    void DisableTabs(int bDisable) { EnableTabs(!bDisable); }
    bool TabsEnabled() const { return m_bTabsEnabled != FALSE; }

    // The active page's operations (a page with a window); FALSE / nothing without one.
    int SetState(AcCfgFormState state);
    int Clear();
    int GetSelectedCount(LONG& first, LONG& second);
    void Cancel();
    // Every page with a window, in page order.
    void UpdateCfg(LONG lHint, const CfgMessage* pMsg);
    // Every page, in page order.
    void MultipleSelect(int bMultiple);

    // By page ID: the page (null), its index (-1), its activation (FALSE when none), the
    // active page's ID (-1 without one).
    CZynAcConfigPage* GetPageByID(LONG lID) const;
    int GetPageIndexByID(LONG lID) const;
    int SetActivePageByID(LONG lID);
    LONG GetActivePageID() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    // Takes every page off the sheet and deletes it, last first.
    void DeletePages();

    int m_bTabsEnabled = TRUE;
};
