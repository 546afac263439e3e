// CPropertyPage: construction, the creation hook, the PSN_ notifications and the page's
// operations on its sheet.
#include "platform/afx/proppage.h"

#include <utility>

#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/propsheet.h"
#include "platform/base/resource.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
    ON_MESSAGE(WM_INITDIALOG, &CPropertyPage::HandlePageInitDialog)
END_MESSAGE_MAP()

// ---- construction ---------------------------------------------------------------------------------------------------

CPropertyPage::CPropertyPage() { CommonConstruct(nullptr, 0); }

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate)
{
    CommonConstruct(m_lpszTemplateName, nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CDialog(lpszTemplateName)
{
    CommonConstruct(m_lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage()
{
    ReleaseCreateHook();
    if (CPropertySheet* pSheet = std::exchange(m_pSheet, nullptr); pSheet && pSheet->GetPageIndex(this) >= 0)
        pSheet->RemovePage(this);
    // A page still showing goes with its object while the page's parts exist.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    m_nIDHelp = nIDTemplate;
    CommonConstruct(MAKEINTRESOURCEW(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption)
{
    if (lpszTemplateName && IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
    CommonConstruct(lpszTemplateName, nIDCaption);
}

void CPropertyPage::CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName) && lpszTemplateName != m_lpszTemplateName) {
        // Our own copy: the caller's text may be a temporary.
        m_templateName = lpszTemplateName;
        m_lpszTemplateName = m_templateName.c_str();
    } else {
        m_lpszTemplateName = lpszTemplateName;
    }
    m_psp = PROPSHEETPAGE{};
    m_psp.dwSize = sizeof(PROPSHEETPAGE);
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.pszTemplate = m_lpszTemplateName;
    if (m_lpszTemplateName)
        m_psp.hInstance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    m_psp.pfnDlgProc = &AfxDlgProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.pfnCallback = &CPropertyPage::PropPageCallback;
    m_strCaption.Empty();
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
        m_psp.pszTitle = m_strCaption.GetString();
        m_psp.dwFlags |= PSP_USETITLE;
    }
    m_bFirstSetActive = TRUE;
}

// ---- creation ------------------------------------------------------------------------------------------------------

UINT CPropertyPage::PropPageCallback(HWND, UINT uMsg, PROPSHEETPAGE* ppsp)
{
    if (uMsg == PSPCB_CREATE && ppsp) {
        auto* pPage = reinterpret_cast<CPropertyPage*>(ppsp->lParam);
        // A page object already showing elsewhere cannot take a second window.
        if (!pPage || pPage->m_hWnd)
            return FALSE;
        pPage->ArmCreateHook();
    }
    return TRUE;
}

void CPropertyPage::ArmCreateHook()
{
    // The hook may be in place already (the sheet's own creation is still running): then
    // whoever put it there takes it away.
    m_bOwnsCreateHook = AfxGetThreadState()->m_hHookOldCbtFilter == nullptr;
    AfxHookWindowCreate(this);
}

void CPropertyPage::ReleaseCreateHook()
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    // A window that was never made leaves the hook armed with this page: disarm it.
    if (state->m_pWndInit == this)
        state->m_pWndInit = nullptr;
    if (!m_bOwnsCreateHook)
        return;
    m_bOwnsCreateHook = FALSE;
    if (!state->m_pWndInit)
        AfxUnhookWindowCreate();
}

LRESULT CPropertyPage::HandlePageInitDialog(WPARAM wParam, LPARAM lParam)
{
    ReleaseCreateHook();
    m_bFirstSetActive = TRUE;
    m_bModified = FALSE;
    return HandleInitDialog(wParam, lParam);
}

void CPropertyPage::PostNcDestroy()
{
    // A page whose window failed during its creation may still hold the hook.
    ReleaseCreateHook();
    CDialog::PostNcDestroy();
}

// ---- the sheet's notifications -----------------------------------------------------------------------------------

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!hdr || !m_hWnd || (hdr->hwndFrom != ::GetParent(m_hWnd) && hdr->hwndFrom != m_hWnd))
        return FALSE;
    LRESULT result = 0;
    switch (hdr->code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        result = OnQueryCancel() ? FALSE : TRUE;
        break;
    case PSN_WIZBACK:
        result = OnWizardBack();
        break;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        break;
    case PSN_WIZFINISH:
        result = OnWizardFinish() ? FALSE : TRUE;
        break;
    case PSN_HELP:
        SendMessage(WM_COMMAND, ID_HELP, 0);
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = result;
    // The sheet reads the answer the dialog-procedure way too.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive()
{
    // OnInitDialog loaded the controls for the first activation; later ones show what the
    // members hold now.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::OnOK() { m_bModified = FALSE; }

void CPropertyPage::OnCancel() { m_bModified = FALSE; }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

LRESULT CPropertyPage::OnWizardBack() { return 0; }

LRESULT CPropertyPage::OnWizardNext() { return 0; }

BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    // Tooltips; the keys are the sheet's (or, for a child sheet, its dialog's).
    return CWnd::PreTranslateMessage(pMsg);
}

// ---- operations -------------------------------------------------------------------------------------------------

CPropertySheet* CPropertyPage::GetParentSheet() const
{
    if (!m_hWnd)
        return nullptr;
    return DYNAMIC_DOWNCAST(CPropertySheet, CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged;
    if (!m_hWnd)
        return;
    if (const HWND hSheet = ::GetParent(m_hWnd))
        ::SendMessageW(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    const HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return hSheet ? ::SendMessageW(hSheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

void CPropertyPage::CancelToClose()
{
    if (const HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr)
        ::SendMessageW(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}
