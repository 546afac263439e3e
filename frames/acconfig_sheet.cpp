#include "frames/acconfig_sheet.h"

#include "frames/acconfig_page.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/comctl/prsht.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CZynAcConfigSheet, CChildSheet)

BEGIN_MESSAGE_MAP(CZynAcConfigSheet, CChildSheet)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CZynAcConfigSheet::CZynAcConfigSheet() : CChildSheet(L"", nullptr, 0) {}

CZynAcConfigSheet::CZynAcConfigSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CChildSheet(pszCaption, pParentWnd, iSelectPage)
{
}

CZynAcConfigSheet::~CZynAcConfigSheet()
{
    // A window still there goes first (its WM_DESTROY deletes the pages); pages of a
    // sheet whose window was never made, or failed, are deleted here.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
    DeletePages();
}

void CZynAcConfigSheet::DeletePages()
{
    for (int i = CPropertySheet::GetPageCount(); i-- > 0;) {
        CPropertyPage* pPage = CPropertySheet::GetPage(i);
        RemovePage(i);
        delete pPage;
    }
}

void CZynAcConfigSheet::OnDestroy()
{
    DeletePages();
    CChildSheet::OnDestroy();
}

CZynAcConfigPage* CZynAcConfigSheet::GetPage(int nPage) const
{
    return DYNAMIC_DOWNCAST(CZynAcConfigPage, CPropertySheet::GetPage(nPage));
}

CZynAcConfigPage* CZynAcConfigSheet::GetActivePage() const
{
    return DYNAMIC_DOWNCAST(CZynAcConfigPage, CPropertySheet::GetActivePage());
}

void CZynAcConfigSheet::EnableTabs(int bEnable)
{
    if (CTabCtrl* pTab = GetTabControl()) {
        pTab->EnableWindow(bEnable ? TRUE : FALSE);
        m_bTabsEnabled = bEnable ? TRUE : FALSE;
    }
}

namespace {
CZynAcConfigPage* MadePage(CZynAcConfigPage* pPage) { return pPage && pPage->GetSafeHwnd() ? pPage : nullptr; }
} // namespace

int CZynAcConfigSheet::SetState(AcCfgFormState state)
{
    CZynAcConfigPage* pPage = MadePage(GetActivePage());
    return pPage ? pPage->SetState(state) : FALSE;
}

int CZynAcConfigSheet::Clear()
{
    CZynAcConfigPage* pPage = MadePage(GetActivePage());
    return pPage ? pPage->Clear() : FALSE;
}

int CZynAcConfigSheet::GetSelectedCount(LONG& first, LONG& second)
{
    CZynAcConfigPage* pPage = MadePage(GetActivePage());
    return pPage ? pPage->GetSelectedCount(first, second) : FALSE;
}

void CZynAcConfigSheet::Cancel()
{
    if (CZynAcConfigPage* pPage = MadePage(GetActivePage()))
        pPage->Cancel();
}

void CZynAcConfigSheet::UpdateCfg(LONG lHint, const CfgMessage* pMsg)
{
    for (int i = 0; i < CPropertySheet::GetPageCount(); ++i) {
        if (CZynAcConfigPage* pPage = MadePage(GetPage(i)))
            pPage->UpdateCfg(lHint, pMsg);
    }
}

void CZynAcConfigSheet::MultipleSelect(int bMultiple)
{
    for (int i = 0; i < CPropertySheet::GetPageCount(); ++i) {
        if (CZynAcConfigPage* pPage = GetPage(i))
            pPage->MultipleSelect(bMultiple);
    }
}

int CZynAcConfigSheet::GetPageIndexByID(LONG lID) const
{
    for (int i = 0; i < CPropertySheet::GetPageCount(); ++i) {
        const CZynAcConfigPage* pPage = GetPage(i);
        if (pPage && pPage->GetID() == lID)
            return i;
    }
    return -1;
}

CZynAcConfigPage* CZynAcConfigSheet::GetPageByID(LONG lID) const
{
    const int i = GetPageIndexByID(lID);
    return i < 0 ? nullptr : GetPage(i);
}

int CZynAcConfigSheet::SetActivePageByID(LONG lID)
{
    const int i = GetPageIndexByID(lID);
    return i < 0 ? FALSE : SetActivePage(i);
}

LONG CZynAcConfigSheet::GetActivePageID() const
{
    const CZynAcConfigPage* pPage = GetActivePage();
    return pPage ? pPage->GetID() : -1;
}

BOOL CZynAcConfigSheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT) &&
        (::GetKeyState(VK_CONTROL) & 0x8000))
        return m_bTabsEnabled ? FALSE : TRUE;
    return CChildSheet::PreTranslateMessage(pMsg);
}
