#pragma once
// CZynOlePropSheet: the property sheet for COM property pages (CZynOlePropPage).
//
// COM pages are laid out for a 6 x 13 pixel base character, so when the sheet's window is
// made (OnInitDialog) the sheet rescales itself, its tab control, the active page and its
// standard buttons from the dialog font's base character to that one (FixRect), then
// centres itself. The active page's rescaled rectangle is kept as the page rectangle:
// the sheet's own machinery places pages in the tab control's display area, so after
// every tab change and every Apply Now the sheet posts itself kResizePageMessage, whose
// handler moves the active page back to the page rectangle.
//
// Apply Now runs the sheet's own apply (every page made gets PSN_APPLY) before the page
// is placed again. WM_HELP reaches the active page as a PSN_HELP notification from the
// sheet (ID 0), so F1 opens the COM page's help as the Help button does.
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/propsheet.h"

class CZynOlePropSheet : public CPropertySheet {
    DECLARE_DYNCREATE(CZynOlePropSheet)
public:
    // Posted to the sheet itself: move the active page to the page rectangle.
    static constexpr UINT kResizePageMessage = 0x046F;

    CZynOlePropSheet();
    explicit CZynOlePropSheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CZynOlePropSheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // The page rectangle in the sheet's client coordinates (empty before the window).
    const CRect& GetPageRect() const { return m_rectPage; }

    BOOL OnInitDialog() override;

protected:
    // Left and right become MulDiv(v, 6, bx), top and bottom MulDiv(v, 13, by), with bx
    // and by the pixels of 4 horizontal and 8 vertical dialog units of the sheet.
    void FixRect(CRect& rc) const;
    // The item's window rectangle (screen coordinates) rescaled, then moved there in the
    // sheet's client coordinates; nothing when the sheet has no such item.
    void FixDlgItem(UINT nID);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg LRESULT OnResizePage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnApplyNow();
    afx_msg LRESULT OnHelp(WPARAM wParam, LPARAM lParam);

    CRect m_rectPage{0, 0, 0, 0};

    DECLARE_MESSAGE_MAP()
};
