#pragma once
// CMFCToolBar: the toolkit's thin base of its toolbars on the class library's CToolBar.
// It adds nothing but two rules: a toolbar is always created aligned at the top (the
// frame docks it where it belongs afterwards), and setting the bar style also switches
// the bar's tooltips by CBRS_TOOLTIPS, even when the style word does not change.
#include "platform/afx/bartool.h"

class CMFCToolBar : public CToolBar {
    DECLARE_DYNAMIC(CMFCToolBar)
public:
    CMFCToolBar() = default;
    ~CMFCToolBar() override;

    // CToolBar::CreateEx with the alignment bits of dwStyle replaced by CBRS_ALIGN_TOP.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
        UINT nID = AFX_IDW_TOOLBAR) override;
    // Tooltips on or off by CBRS_TOOLTIPS; a changed style is stored and reported to
    // OnBarStyleChange(old, new). Hides CControlBar::SetBarStyle (not virtual).
    void SetBarStyle(DWORD dwStyle);

    DECLARE_MESSAGE_MAP()
};
