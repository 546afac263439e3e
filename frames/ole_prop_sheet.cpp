// CZynOlePropSheet: rescaling to the 6 x 13 base character, the page rectangle kept across
// tab changes and Apply Now, and help from F1.
#include "frames/ole_prop_sheet.h"

#include "frames/ole_prop_page.h"
#include "platform/afx/afxres.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CZynOlePropSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CZynOlePropSheet, CPropertySheet)
    ON_MESSAGE(CZynOlePropSheet::kResizePageMessage, &CZynOlePropSheet::OnResizePage)
    ON_COMMAND(ID_APPLY_NOW, &CZynOlePropSheet::OnApplyNow)
    ON_MESSAGE(WM_HELP, &CZynOlePropSheet::OnHelp)
END_MESSAGE_MAP()

CZynOlePropSheet::CZynOlePropSheet() = default;

CZynOlePropSheet::CZynOlePropSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

CZynOlePropSheet::CZynOlePropSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

void CZynOlePropSheet::FixRect(CRect& rc) const { CZynOlePropPage::RescaleToBaseCharacter(m_hWnd, rc); }

void CZynOlePropSheet::FixDlgItem(UINT nID)
{
    const HWND hItem = ::GetDlgItem(m_hWnd, static_cast<int>(nID));
    if (!hItem)
        return;
    CRect rc;
    ::GetWindowRect(hItem, &rc);
    FixRect(rc);
    ScreenToClient(&rc);
    ::MoveWindow(hItem, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

BOOL CZynOlePropSheet::OnInitDialog()
{
    CPropertySheet::OnInitDialog();
    CRect rc;
    GetWindowRect(&rc);
    ScreenToClient(&rc);
    FixRect(rc);
    MoveWindow(&rc);
    if (CTabCtrl* tab = GetTabControl()) {
        tab->GetWindowRect(&rc);
        ScreenToClient(&rc);
        FixRect(rc);
        tab->MoveWindow(&rc);
    }
    if (CPropertyPage* page = GetActivePage(); page && page->m_hWnd) {
        page->GetWindowRect(&rc);
        ScreenToClient(&rc);
        FixRect(rc);
        m_rectPage = rc;
        page->MoveWindow(&rc);
    }
    // The standard buttons: OK, Apply Now, Cancel, Help and the wizard's five.
    static constexpr UINT kButtons[] = {1, 0x3021, 2, 9, 0x3023, 0x3024, 0x3025, 0x3026, 0x3027};
    for (const UINT id : kButtons)
        FixDlgItem(id);
    CenterWindow();
    return TRUE;
}

BOOL CZynOlePropSheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr && hdr->code == TCN_SELCHANGE)
        PostMessage(kResizePageMessage);
    return CPropertySheet::OnNotify(wParam, lParam, pResult);
}

LRESULT CZynOlePropSheet::OnResizePage(WPARAM, LPARAM)
{
    // Before the window measured it there is no page rectangle to go to.
    if (m_rectPage.IsRectEmpty())
        return 0;
    if (CPropertyPage* page = GetActivePage(); page && page->m_hWnd)
        page->MoveWindow(&m_rectPage);
    return 0;
}

void CZynOlePropSheet::OnApplyNow()
{
    // The sheet's own Apply Now (every page applies), which this command's entry in the
    // map would otherwise keep from running; then the active page goes back in place.
    const HWND hWnd = m_hWnd;
    DefWindowProc(WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED),
        reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, ID_APPLY_NOW)));
    if (::IsWindow(hWnd) && FromHandlePermanent(hWnd) == this)
        PostMessage(kResizePageMessage);
}

LRESULT CZynOlePropSheet::OnHelp(WPARAM, LPARAM)
{
    CPropertyPage* page = GetActivePage();
    if (!page || !page->m_hWnd)
        return 0;
    NMHDR nm{};
    nm.hwndFrom = m_hWnd;
    nm.idFrom = 0;
    nm.code = PSN_HELP;
    return page->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
}
