// CPropertySheet: the pages, making the window (modal and modeless), the sheet's keys
// and the end of a run.
#include "platform/afx/propsheet.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/winthread.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

namespace {
// The sheet whose window this thread is making (its template callback needs it).
thread_local CPropertySheet* t_sheetCreating = nullptr;

constexpr DWORD kDefaultModelessStyle = DS_MODALFRAME | DS_3DLOOK | DS_CONTEXTHELP | DS_SETFONT | WS_POPUP |
    WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
} // namespace

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CPropertySheet::HandleInitDialog)
END_MESSAGE_MAP()

// ---- construction -------------------------------------------------------------------------------------------------

CPropertySheet::CPropertySheet() { CommonConstruct(nullptr, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet()
{
    m_tabCtrl.m_hWnd = nullptr; // borrowed, never ours to destroy
    for (CPropertyPage* p : m_pages)
        if (p->m_pSheet == this)
            p->m_pSheet = nullptr;
    // A sheet still open goes with its object while the sheet's parts exist.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption.Empty();
    if (nIDCaption != 0)
        m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption ? pszCaption : L"";
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    m_psh = PROPSHEETHEADER{};
    m_psh.dwSize = sizeof(PROPSHEETHEADER);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
}

// ---- pages ----------------------------------------------------------------------------------------------------------

int CPropertySheet::GetPageCount() const { return static_cast<int>(m_pages.size()); }

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    if (nPage < 0 || nPage >= GetPageCount())
        AfxThrowInvalidArgException(
            (L"page " + std::to_wstring(nPage) + L" of a sheet of " + std::to_wstring(GetPageCount()) + L" pages")
                .c_str());
    return m_pages[static_cast<size_t>(nPage)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return pPage && it != m_pages.end() ? static_cast<int>(it - m_pages.begin()) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd) {
        const int i = GetActiveIndex();
        return i >= 0 && i < GetPageCount() ? m_pages[static_cast<size_t>(i)] : nullptr;
    }
    const auto hPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (CPropertyPage* p : m_pages)
        if (hPage && p->m_hWnd == hPage)
            return p;
    return nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return static_cast<int>(m_psh.nStartPage);
    if (CPropertyPage* p = GetActivePage())
        return GetPageIndex(p);
    const auto hTab = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    return hTab ? static_cast<int>(::SendMessageW(hTab, TCM_GETCURSEL, 0, 0)) : -1;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd)
        return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        AfxThrowInvalidArgException(L"a null page added to a property sheet");
    if (GetPageIndex(pPage) >= 0)
        AfxThrowInvalidArgException(L"a page added twice to a property sheet");
    m_pages.push_back(pPage);
    pPage->m_pSheet = this;
    if (!m_hWnd)
        return;
    const PROPSHEETPAGE psp = PageStructure(pPage);
    const HPROPSHEETPAGE hPage = ::CreatePropertySheetPageW(&psp);
    if (!hPage || !::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage))) {
        if (hPage)
            ::DestroyPropertySheetPage(hPage);
        m_pages.erase(std::find(m_pages.begin(), m_pages.end(), pPage));
        if (pPage->m_pSheet == this)
            pPage->m_pSheet = nullptr;
        AfxThrowResourceException();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    const int nPage = GetPageIndex(pPage);
    if (nPage < 0)
        AfxThrowInvalidArgException(L"a page removed from a property sheet it is not on");
    RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        AfxThrowInvalidArgException(
            (L"page " + std::to_wstring(nPage) + L" removed from a sheet of " + std::to_wstring(GetPageCount()) +
                L" pages").c_str());
    // The sheet destroys the page's window; the object stays the caller's.
    CPropertyPage* const pPage = m_pages[static_cast<size_t>(nPage)];
    if (m_hWnd)
        ::SendMessageW(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
    // (The page may have been taken off meanwhile, by a handler of the removal.)
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    if (it == m_pages.end())
        return;
    nPage = static_cast<int>(it - m_pages.begin());
    m_pages.erase(it);
    if (pPage->m_pSheet == this)
        pPage->m_pSheet = nullptr;
    if (!m_hWnd && !(m_psh.dwFlags & PSH_USEPSTARTPAGE)) {
        // The start page stays the same page where it can.
        if (m_psh.nStartPage > static_cast<UINT>(nPage))
            --m_psh.nStartPage;
        if (m_psh.nStartPage >= m_pages.size())
            m_psh.nStartPage = 0;
    }
}

PROPSHEETPAGE CPropertySheet::PageStructure(CPropertyPage* pPage)
{
    PROPSHEETPAGE psp = pPage->m_psp;
    // The resource chain may have changed since the page was made.
    if (!(psp.dwFlags & PSP_DLGINDIRECT) && psp.pszTemplate) {
        if (const HINSTANCE hInst = AfxFindResourceHandle(psp.pszTemplate, RT_DIALOG))
            psp.hInstance = hInst;
    }
    if ((psp.dwFlags & PSP_USETITLE) && !pPage->m_strCaption.IsEmpty())
        psp.pszTitle = pPage->m_strCaption.GetString();
    return psp;
}

void CPropertySheet::BuildPropPageArray()
{
    m_pageArray.clear();
    m_pageArray.reserve(m_pages.size());
    for (CPropertyPage* p : m_pages)
        m_pageArray.push_back(PageStructure(p));
    m_psh.dwSize = sizeof(PROPSHEETHEADER);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.nPages = static_cast<UINT>(m_pageArray.size());
    m_psh.ppsp = m_pageArray.data();
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;
    m_psh.pszCaption = m_strCaption.GetString();
    if (!(m_psh.dwFlags & PSH_USEPSTARTPAGE) && m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;
}

// ---- the sheet ------------------------------------------------------------------------------------------------------

CTabCtrl* CPropertySheet::GetTabControl() const
{
    m_tabCtrl.m_hWnd = m_hWnd ? reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0)) : nullptr;
    return m_tabCtrl.m_hWnd ? &m_tabCtrl : nullptr;
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText ? lpszText : L"";
    if (m_hWnd) {
        ::SendMessageW(m_hWnd, PSM_SETTITLEW, nStyle, reinterpret_cast<LPARAM>(m_strCaption.GetString()));
        return;
    }
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
}

void CPropertySheet::SetTitle(UINT nIDText, UINT nStyle)
{
    CString text;
    text.LoadString(nIDText);
    SetTitle(text.GetString(), nStyle);
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(dwFlags));
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, PSM_SETFINISHTEXTW, 0, reinterpret_cast<LPARAM>(lpszText));
}

BOOL CPropertySheet::PressButton(int nButton)
{
    if (!m_hWnd)
        return FALSE;
    ::SendMessageW(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
    return TRUE;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    if (m_nFlags & WF_CONTINUEMODAL)
        EndModalLoop(nEndID);
    else if (m_hWnd)
        DestroyWindow();
}

// ---- making the window ---------------------------------------------------------------------------------------------

int CPropertySheet::SheetCallback(HWND, UINT uMsg, LPARAM lParam)
{
    if (uMsg == PSCB_PRECREATE && lParam && t_sheetCreating)
        t_sheetCreating->AdjustTemplate(reinterpret_cast<void*>(lParam));
    return 0;
}

void CPropertySheet::AdjustTemplate(void* lpTemplate) const
{
    // The classic layout starts with the style and the extended style; the extended one
    // has them at 12 and 8, after its version, signature and help ID.
    auto* b = static_cast<uint8_t*>(lpTemplate);
    WORD head[2];
    std::memcpy(head, b, sizeof head);
    const bool extended = head[0] == 1 && head[1] == 0xFFFF;
    uint8_t* const pStyle = b + (extended ? 12 : 0);
    uint8_t* const pExStyle = b + (extended ? 8 : 4);
    DWORD style = 0, exStyle = 0;
    std::memcpy(&style, pStyle, sizeof style);
    std::memcpy(&exStyle, pExStyle, sizeof exStyle);
    if (m_bModeless) {
        style = m_dwStyle | (style & DS_SETFONT);
        exStyle = m_dwExStyle;
    } else {
        style &= ~WS_VISIBLE; // DoModal shows it once the owner is disabled
    }
    std::memcpy(pStyle, &style, sizeof style);
    std::memcpy(pExStyle, &exStyle, sizeof exStyle);
}

BOOL CPropertySheet::MakeWindow(HWND hWndParent)
{
    if (m_pages.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_psh.hwndParent = hWndParent;
    m_psh.dwFlags |= PSH_MODELESS;
    BuildPropPageArray();
    CPropertySheet* const outer = std::exchange(t_sheetCreating, this);
    AfxHookWindowCreate(this);
    const HWND hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
    const DWORD err = ::GetLastError();
    AfxUnhookWindowCreate();
    t_sheetCreating = outer;
    // (On failure the object may be gone with a window destroyed while it was made.)
    ::SetLastError(err);
    return hWnd != nullptr;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwStyle == static_cast<DWORD>(-1))
        dwStyle = kDefaultModelessStyle;
    CWnd* pParent = pParentWnd ? pParentWnd : m_pParentWnd;
    if (!(dwStyle & WS_CHILD) && !pParent)
        pParent = AfxGetMainWnd();
    if ((dwStyle & WS_CHILD) && !zyn::afx::SafeHwndOf(pParent)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_dwStyle = dwStyle;
    m_dwExStyle = dwExStyle;
    m_bModeless = TRUE;
    return MakeWindow(zyn::afx::SafeHwndOf(pParent));
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    m_bModeless = FALSE;
    m_nModalResult = -1;
    // The owner: the parent's top-level window (or the main window), disabled while the
    // sheet runs, as is a top-level window above it.
    HWND hWndTop = nullptr;
    const HWND hOwner = zyn::afx::SafeHwndOf(GetSafeOwner(m_pParentWnd, &hWndTop));
    const bool bEnableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (bEnableOwner)
        ::EnableWindow(hOwner, FALSE);
    INT_PTR nResult = -1;
    DWORD err = 0;
    if (MakeWindow(hOwner)) {
        const HWND hWnd = m_hWnd;
        if (::IsWindow(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        nResult = ::IsWindow(hWnd) ? RunModalLoop(0) : IDCANCEL;
        // A loop that ended without a button (it ran dry, WM_QUIT) is a cancel.
        if (nResult == -1)
            nResult = IDCANCEL;
        if (bEnableOwner && ::IsWindow(hOwner))
            ::EnableWindow(hOwner, TRUE);
        if (::IsWindow(hWnd)) {
            if (hOwner && ::GetActiveWindow() == hWnd)
                ::SetActiveWindow(hOwner);
            ::DestroyWindow(hWnd);
        }
    } else {
        err = ::GetLastError();
        if (bEnableOwner && ::IsWindow(hOwner))
            ::EnableWindow(hOwner, TRUE);
    }
    if (hWndTop && ::IsWindow(hWndTop))
        ::EnableWindow(hWndTop, TRUE);
    if (hOwner && ::IsWindow(hOwner) && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hOwner);
    if (err)
        ::SetLastError(err);
    return nResult;
}

// ---- messages -------------------------------------------------------------------------------------------------------

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog()
{
    if (!m_bStacked) {
        if (const HWND hTab = ::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL))
            CWnd::ModifyStyle(hTab, TCS_MULTILINE, 0, 0);
    }
    // The machinery builds the tabs, lays the sheet out and makes the first page.
    return static_cast<BOOL>(Default());
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE; // tooltips
    if (!m_hWnd || !pMsg->hwnd || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    const UINT m = pMsg->message;
    if (m == WM_KEYDOWN && (::GetKeyState(VK_CONTROL) & 0x8000) &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT)) {
        if (::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)))
            return TRUE;
    }
    // A child sheet is one of its parent's controls: the parent's dialog manager runs the
    // other keys through it.
    if (GetStyle() & WS_CHILD)
        return FALSE;
    if ((m < WM_KEYFIRST || m > WM_KEYLAST) && (m < WM_MOUSEFIRST || m > WM_MOUSELAST))
        return FALSE;
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheet::ContinueModal()
{
    return CWnd::ContinueModal() && m_hWnd && ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The map first (a derived sheet may take a button over), then the machinery.
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    const UINT nID = LOWORD(wParam);
    const HWND hWnd = m_hWnd;
    Default();
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd) != this)
        return TRUE;
    const bool ended = !::SendMessageW(hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
    if ((nID == IDOK || nID == IDCANCEL || nID == ID_WIZFINISH) && ended) {
        const int result = nID == IDCANCEL ? IDCANCEL : (nID == ID_WIZFINISH ? ID_WIZFINISH : IDOK);
        m_nModalResult = result;
        if (m_nFlags & WF_CONTINUEMODAL)
            EndModalLoop(result);
        else if (m_bModeless && !(GetStyle() & WS_CHILD))
            DestroyWindow(); // a modeless sheet that OK or Cancel ended has nothing left to show
    }
    return TRUE;
}
