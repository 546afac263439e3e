#include "frames/child_sheet.h"

#include <algorithm>

#include "platform/afx/afxres.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CChildSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CChildSheet, CPropertySheet)
    ON_WM_HELPINFO()
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CChildSheet::CChildSheet() : CPropertySheet(L"", nullptr, 0) {}

CChildSheet::CChildSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

CChildSheet::CChildSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

CChildSheet::~CChildSheet() = default;

bool CChildSheet::SafeAddPage(CPropertyPage* pPage)
{
    if (!pPage || GetPageIndex(pPage) >= 0)
        return false;
    AddPage(pPage);
    return true;
}

bool CChildSheet::SafeRemovePage(CPropertyPage* pPage)
{
    if (GetPageIndex(pPage) < 0)
        return false;
    RemovePage(pPage);
    return true;
}

int CChildSheet::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    EnableStackedTabs(m_bStackedTabs ? TRUE : FALSE);
    return CPropertySheet::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CChildSheet::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    const HWND hTab = ::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL);
    if (hTab && !m_bStackedTabs)
        CWnd::ModifyStyle(hTab, TCS_MULTILINE, 0, 0);
    const BOOL result = CPropertySheet::OnInitDialog();
    m_bInitialised = true;
    if (hTab && ::IsWindow(hTab)) {
        CRect client, tab;
        GetClientRect(&client);
        ::GetWindowRect(hTab, &tab);
        ScreenToClient(&tab);
        m_nTabMarginX = client.Width() - tab.Width();
        m_nTabMarginY = client.Height() - tab.Height();
    }
    return result;
}

void CChildSheet::OnSize(UINT nType, int cx, int cy)
{
    CPropertySheet::OnSize(nType, cx, cy);
    if (!m_hWnd || !m_bInitialised)
        return;
    const HWND hTab = ::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL);
    if (!hTab)
        return;
    const int width = std::max(0, cx - m_nTabMarginX);
    const int height = std::max(0, cy - m_nTabMarginY);
    ::SetWindowPos(hTab, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizePages(width, height);
}

void CChildSheet::ResizePages(int nWidth, int nHeight)
{
    const int width = std::max(0, nWidth - 8);
    const int height = std::max(0, nHeight - 26);
    // The tab control's display area, in the sheet's client coordinates: a page never
    // reaches past it (a tab row taller than the 26 pixels allowed for would otherwise
    // lay the page over the control's bottom border).
    CRect display(0, 0, 0, 0);
    if (const HWND hTab = ::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL)) {
        ::GetClientRect(hTab, &display);
        ::SendMessageW(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        ::MapWindowPoints(hTab, m_hWnd, reinterpret_cast<POINT*>(&display), 2);
    }
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pPage = GetPage(i);
        if (!pPage || !pPage->GetSafeHwnd())
            continue;
        CRect at;
        pPage->GetWindowRect(&at);
        ScreenToClient(&at);
        const int cx = display.IsRectEmpty() ? width : std::min(width, std::max<int>(0, display.right - at.left));
        const int cy = display.IsRectEmpty() ? height : std::min(height, std::max<int>(0, display.bottom - at.top));
        pPage->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CChildSheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB)
        return CPropertySheet::PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CChildSheet::OnHelpInfo(HELPINFO* pHelpInfo)
{
    if (CWnd* pParent = GetParent()) {
        pParent->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(pHelpInfo));
        return TRUE;
    }
    return CPropertySheet::OnHelpInfo(pHelpInfo);
}
