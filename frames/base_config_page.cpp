#include "frames/base_config_page.h"

#include <algorithm>
#include <cwctype>

#include "app/zyn_app.h"
#include "frames/cfg_message.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/propsheet.h"
#include "platform/base/tchar.h"
#include "platform/comctl/prsht.h"
#include "platform/comctl/tabctrl.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/exception_handler.h"
#include "platform/user/dialog.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(BaseConfigPage, CPropertyPage)

BEGIN_MESSAGE_MAP(BaseConfigPage, CPropertyPage)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BaseConfigPage::BaseConfigPage() : BaseConfigPage(IDD_ZYN_CONFIG_PAGE, 0) {}

BaseConfigPage::BaseConfigPage(UINT nIDTemplate, LONG nPageID) : CPropertyPage(nIDTemplate), m_nPageID(nPageID) {}

BaseConfigPage::~BaseConfigPage() = default;

ULONG BaseConfigPage::GetHelpID(int /*nControlID*/, CPoint& /*point*/) { return 0; }

void BaseConfigPage::SetUser(CAcsUser* pUser)
{
    if (pUser)
        m_pUser = pUser;
}

CAcsUser* BaseConfigPage::User() const { return m_pUser ? m_pUser : CZynApp::GetAppAcsUser(); }

CZynDatabase* BaseConfigPage::Database() const
{
    return m_pUser ? m_pUser->GetDatabase() : CZynApp::GetAppDatabase();
}

void BaseConfigPage::UpdateCfg(LONG /*lHint*/, const CfgMessage* /*pMsg*/) {}

void BaseConfigPage::UpdatePanelDrivers(CfgMessage& msg) { ZynDownload(msg, ZynDownloadPanelDrivers); }

void BaseConfigPage::DoDataExchange(CDataExchange* /*pDX*/) {}

// ---- reports ------------------------------------------------------------------------------------------------

int BaseConfigPage::HandleException(CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(static_cast<LPCWSTR>(nullptr), pException, bShow);
}

int BaseConfigPage::HandleException(const wchar_t* lpszText, CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(lpszText, pException, bShow);
}

int BaseConfigPage::HandleException(UINT nIDMessage, CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(nIDMessage, pException, bShow);
}

void BaseConfigPage::UpdateApp(CfgMessage& msg, int bAll) { ZynDownload(msg, bAll ? ZynDownloadAll : ZynDownloadApp); }

void BaseConfigPage::UpdateStatusBar(const wchar_t* lpszText)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->GetSafeHwnd())
        pMain->SendMessage(WM_ZYN_STATUSTEXT, 0, reinterpret_cast<LPARAM>(lpszText));
}

// ---- look ---------------------------------------------------------------------------------------------------

void BaseConfigPage::SetTitle(const wchar_t* lpszText)
{
    // The tab of this page is the one at the page's position on its sheet (the page ID is
    // the host's and says nothing about where the page stands).
    CWnd* pParent = GetParent();
    auto* pSheet = pParent ? DYNAMIC_DOWNCAST(CPropertySheet, pParent) : nullptr;
    if (!pSheet || !pSheet->GetSafeHwnd())
        return;
    const int index = pSheet->GetPageIndex(this);
    const auto hTab = reinterpret_cast<HWND>(pSheet->SendMessage(PSM_GETTABCONTROL, 0, 0));
    if (index < 0 || !hTab)
        return;
    CString text(lpszText ? lpszText : L"");
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.GetBuffer();
    item.cchTextMax = text.GetLength() + 1;
    ::SendMessageW(hTab, TCM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    text.ReleaseBuffer();
}

CRect BaseConfigPage::DialogUnits(int cx, int cy) const
{
    CRect r(0, 0, cx, cy);
    if (m_hWnd)
        ::MapDialogRect(m_hWnd, &r);
    return r;
}

int BaseConfigPage::GetSafePixelX(int nValue) const
{
    if (!m_hWnd)
        return nValue;
    return MulDiv(nValue, DialogUnits(4, 8).Width(), 6);
}

int BaseConfigPage::GetSafePixelY(int nValue) const
{
    if (!m_hWnd)
        return nValue;
    return MulDiv(nValue, DialogUnits(4, 8).Height(), 13);
}

void BaseConfigPage::EnableStaticControls(int bEnable)
{
    if (!m_hWnd)
        return;
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t name[257] = {};
        ::GetClassNameW(h, name, 257);
        std::wstring upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
        if (upper == L"STATIC")
            ::EnableWindow(h, bEnable ? TRUE : FALSE);
    }
}

// ---- the list-and-form layout ---------------------------------------------------------------------------------

void BaseConfigPage::EnableAutoResizeListAndForm(CWnd* pList, CWnd** ppForm)
{
    m_pList = pList;
    m_ppForm = ppForm;
    m_bAutoResize = true;
    ResizeListAndForm();
}

void BaseConfigPage::ResizeListAndForm()
{
    if (!m_hWnd)
        return;
    const CRect margins = DialogUnits(3, 4);
    const int mx = margins.Width();
    const int my = margins.Height();
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    const int height = std::max(0, H - 2 * my);
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;

    CWnd* pForm = m_ppForm ? *m_ppForm : nullptr;
    int formLeft = 0;
    const bool hasForm = pForm && pForm->GetSafeHwnd() && ::IsWindow(pForm->GetSafeHwnd());
    if (hasForm) {
        CRect r;
        pForm->GetWindowRect(&r);
        const int w = r.Width();
        formLeft = W - w - mx;
        pForm->SetWindowPos(nullptr, formLeft, my, w, height, kFlags);
    }
    if (m_pList && m_pList->GetSafeHwnd() && ::IsWindow(m_pList->GetSafeHwnd())) {
        const int width = hasForm ? formLeft - 2 * my : W - 2 * mx;
        m_pList->SetWindowPos(nullptr, mx, my, std::max(0, width), height, kFlags);
    }
}

void BaseConfigPage::OnSize(UINT nType, int cx, int cy)
{
    CPropertyPage::OnSize(nType, cx, cy);
    if (m_bAutoResize)
        ResizeListAndForm();
}
