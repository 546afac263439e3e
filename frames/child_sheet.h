#pragma once
// CChildSheet: a property sheet that lives as a child window inside a view or dialog
// (Create(parent, WS_CHILD | WS_VISIBLE | WS_SYSMENU)) rather than as a dialog of its own.
//   - It is a control parent, so its parent's dialog manager tabs into the tab control and
//     the page's controls.
//   - It keeps one row of tabs unless asked for stacked tabs (UseStackedTabs, before the
//     window is made).
//   - Its tab control and pages follow its size: at initialisation it measures how much
//     of its client area the tab control leaves (its margins, each sheet its own); on
//     every later size change the tab control takes the client size less those margins
//     and every made page the tab control's size less 8 by 26 pixels, without moving.
//   - Of the keys it sees first, only Tab goes to the property sheet's own handling
//     (Ctrl+Tab changes the page); everything else is its parent's.
//   - Context help (WM_HELP) goes on to the parent.
#include "platform/afx/propsheet.h"

class CChildSheet : public CPropertySheet {
    DECLARE_DYNCREATE(CChildSheet)
public:
    CChildSheet();
    CChildSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage);
    CChildSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage);
    ~CChildSheet() override;

    // Several rows of tabs (taken when the window is made).
    void UseStackedTabs(bool bStacked) { m_bStackedTabs = bStacked; }
    // Adds a page that is not on the sheet yet (false when it is, or for a null page).
    bool SafeAddPage(CPropertyPage* pPage);
    // Removes a page that is on the sheet (false when it is not).
    bool SafeRemovePage(CPropertyPage* pPage);

    // The client area the tab control leaves, measured at initialisation.
    CSize GetTabMargins() const { return CSize(m_nTabMarginX, m_nTabMarginY); }
    bool IsInitialised() const { return m_bInitialised; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

protected:
    // Every page that has a window: width − 8 by height − 26, not moved.
    void ResizePages(int nWidth, int nHeight);

    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    bool m_bStackedTabs = false;
    bool m_bInitialised = false;
    int m_nTabMarginX = 0;
    int m_nTabMarginY = 0;
};
