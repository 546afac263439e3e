// CZynOlePropPage: making and siting the COM page, activating it in the page's window,
// applying, help, and taking it down again.
#include "frames/ole_prop_page.h"

#include <string_view>
#include <utility>

#include "app/zyn_app.h"
#include "platform/base/locale.h"
#include "platform/base/tchar.h"
#include "platform/com/objbase.h"
#include "platform/user/dialog.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CZynOlePropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CZynOlePropPage, CPropertyPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(CZynOlePropPage, CPropertyPage)
    INTERFACE_PART(CZynOlePropPage, IID_IPropertyPageSite, PropertyPageSite)
    INTERFACE_PART(CZynOlePropPage, IID_IZynOlePropPage, Dispatch)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(CZynOlePropPage, CPropertyPage)
END_DISPATCH_MAP()

namespace {

// The blocks and strings GetPageInfo hands out, freed whatever happens after the call.
class PageInfoBlock {
public:
    explicit PageInfoBlock(IMalloc* malloc) : m_malloc(malloc)
    {
        m_info = static_cast<PROPPAGEINFO*>(m_malloc->Alloc(sizeof(PROPPAGEINFO)));
        if (m_info) {
            // A page that fails, or fills only part of the record, leaves no stray
            // pointers for us to free.
            *m_info = PROPPAGEINFO{};
            m_info->cb = sizeof(PROPPAGEINFO);
        }
    }
    PageInfoBlock(const PageInfoBlock&) = delete;
    PageInfoBlock& operator=(const PageInfoBlock&) = delete;
    ~PageInfoBlock()
    {
        if (!m_info)
            return;
        CoTaskMemFree(m_info->pszTitle);
        CoTaskMemFree(m_info->pszDocString);
        CoTaskMemFree(m_info->pszHelpFile);
        m_malloc->Free(m_info);
    }
    PROPPAGEINFO* get() const { return m_info; }

private:
    IMalloc* m_malloc;
    PROPPAGEINFO* m_info = nullptr;
};

} // namespace

// ---- construction -------------------------------------------------------------------------------------------

CZynOlePropPage::CZynOlePropPage() : CPropertyPage(IDD_ZYN_OLE_PROPPAGE) {}

CZynOlePropPage::CZynOlePropPage(REFCLSID clsid, IUnknown* pObject)
    : CPropertyPage(IDD_ZYN_OLE_PROPPAGE), m_pObject(pObject), m_clsid(clsid)
{
    EnableAutomation();
    // A COM page is handed the object at once and may read it there.
    if (!pObject)
        AfxThrowOleException(E_POINTER);
    void* pv = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IPropertyPage, &pv);
    if (FAILED(hr) || !pv)
        AfxThrowOleException(FAILED(hr) ? hr : E_NOINTERFACE);
    m_pPropPage = static_cast<IPropertyPage*>(pv);

    // A page that failed to take the site may have kept it all the same: it is unsited
    // on the way out either way.
    m_bSited = true;
    hr = m_pPropPage->SetPageSite(&m_xPropertyPageSite);
    if (FAILED(hr))
        FailConstruction(hr);
    IUnknown* objects[1] = {m_pObject};
    hr = m_pPropPage->SetObjects(1, objects);
    if (FAILED(hr))
        FailConstruction(hr);
    try {
        TakePageInfo();
    } catch (COleException* e) {
        const SCODE sc = e->m_sc;
        e->Delete();
        FailConstruction(sc);
    }
}

void CZynOlePropPage::TakePageInfo()
{
    IMalloc* malloc = nullptr;
    if (FAILED(CoGetMalloc(1, &malloc)) || !malloc)
        AfxThrowOleException(E_FAIL);
    HRESULT hr = S_OK;
    {
        PageInfoBlock info(malloc);
        if (!info.get()) {
            hr = E_OUTOFMEMORY;
        } else {
            hr = m_pPropPage->GetPageInfo(info.get());
            if (SUCCEEDED(hr)) {
                m_dwHelpContext = info.get()->dwHelpContext;
                m_strCaption = info.get()->pszTitle ? info.get()->pszTitle : L"";
                // A page without a title keeps the template's caption on its tab.
                if (!m_strCaption.IsEmpty()) {
                    m_psp.pszTitle = m_strCaption.GetString();
                    m_psp.dwFlags |= PSP_USETITLE;
                }
            }
        }
    }
    malloc->Release();
    if (FAILED(hr))
        AfxThrowOleException(hr);
}

[[noreturn]] void CZynOlePropPage::FailConstruction(HRESULT hr)
{
    ReleaseComPage();
    AfxThrowOleException(hr);
}

CZynOlePropPage::~CZynOlePropPage() { ReleaseComPage(); }

void CZynOlePropPage::ReleaseComPage()
{
    IPropertyPage* const page = std::exchange(m_pPropPage, nullptr);
    if (!page)
        return;
    if (std::exchange(m_bComActive, false))
        page->Deactivate();
    page->SetObjects(0, nullptr);
    if (std::exchange(m_bSited, false))
        page->SetPageSite(nullptr);
    page->Release();
}

// ---- the page's window ----------------------------------------------------------------------------------------

void CZynOlePropPage::RescaleToBaseCharacter(HWND hWnd, CRect& rc)
{
    RECT units{0, 0, 4, 8};
    if (!hWnd || !::MapDialogRect(hWnd, &units) || units.right <= 0 || units.bottom <= 0)
        return;
    rc.left = MulDiv(rc.left, 6, units.right);
    rc.right = MulDiv(rc.right, 6, units.right);
    rc.top = MulDiv(rc.top, 13, units.bottom);
    rc.bottom = MulDiv(rc.bottom, 13, units.bottom);
}

BOOL CZynOlePropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CRect rc;
    GetWindowRect(&rc);
    ScreenToClient(&rc);
    RescaleToBaseCharacter(m_hWnd, rc);
    SetWindowPos(nullptr, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_pPropPage) {
        HRESULT hr = m_pPropPage->Activate(m_hWnd, &rc, TRUE);
        if (FAILED(hr))
            AfxThrowOleException(hr);
        m_bComActive = true;
        hr = m_pPropPage->Show(SW_SHOW);
        if (FAILED(hr))
            AfxThrowOleException(hr);
    }
    // The keyboard moves into a COM page made of a dialog as into any control parent.
    if (const HWND hChild = ::GetWindow(m_hWnd, GW_CHILD)) {
        wchar_t cls[16] = {};
        if (::GetClassNameW(hChild, cls, 16) && std::wstring_view(cls) == L"#32770")
            CWnd::ModifyStyleEx(hChild, 0, WS_EX_CONTROLPARENT, 0);
    }
    return TRUE;
}

void CZynOlePropPage::OnDestroy()
{
    // The COM page's window is a child of ours and goes with it: the COM page is told
    // first, so a later activation starts from an inactive page.
    if (m_pPropPage && std::exchange(m_bComActive, false))
        m_pPropPage->Deactivate();
    CPropertyPage::OnDestroy();
}

void CZynOlePropPage::DoDataExchange(CDataExchange*) {}

BOOL CZynOlePropPage::OnSetActive()
{
    if (const HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr) {
        ::PostMessageW(hSheet, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(m_dwWizardButtons));
        ::PostMessageW(hSheet, DM_SETDEFID, IDOK, 0);
    }
    return CPropertyPage::OnSetActive();
}

void CZynOlePropPage::OnOK()
{
    if (m_pPropPage)
        m_pPropPage->Apply();
    CPropertyPage::OnOK();
}

BOOL CZynOlePropPage::OnApply()
{
    const BOOL applied = CPropertyPage::OnApply();
    if (!m_pPropPage)
        return applied;
    // S_OK: changes are still pending (the COM page refused them), so the sheet stays.
    return m_pPropPage->IsPageDirty() != S_OK;
}

BOOL CZynOlePropPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!hdr || !m_hWnd || (hdr->hwndFrom != m_hWnd && hdr->hwndFrom != ::GetParent(m_hWnd)))
        return FALSE;
    if (hdr->code == PSN_HELP) {
        CZynApp* app = CZynApp::GetApp();
        if (!app)
            return FALSE;
        app->CallHelp(m_dwHelpContext, 1);
        if (pResult)
            *pResult = 0;
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

// ---- the site -------------------------------------------------------------------------------------------------

HRESULT CZynOlePropPage::XPropertyPageSite::QueryInterface(REFIID riid, void** ppvObj)
{
    METHOD_PROLOGUE(CZynOlePropPage, PropertyPageSite)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&riid, ppvObj));
}

ULONG CZynOlePropPage::XPropertyPageSite::AddRef()
{
    METHOD_PROLOGUE(CZynOlePropPage, PropertyPageSite)
    return pThis->ExternalAddRef();
}

ULONG CZynOlePropPage::XPropertyPageSite::Release()
{
    METHOD_PROLOGUE(CZynOlePropPage, PropertyPageSite)
    return pThis->ExternalRelease();
}

HRESULT CZynOlePropPage::XPropertyPageSite::OnStatusChange(DWORD) { return S_OK; }

HRESULT CZynOlePropPage::XPropertyPageSite::GetLocaleID(LCID* pLocaleID)
{
    if (!pLocaleID)
        return E_POINTER;
    *pLocaleID = GetThreadLocale();
    return S_OK;
}

HRESULT CZynOlePropPage::XPropertyPageSite::GetPageContainer(IUnknown** ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    return E_NOTIMPL;
}

HRESULT CZynOlePropPage::XPropertyPageSite::TranslateAccelerator(MSG*) { return E_NOTIMPL; }
