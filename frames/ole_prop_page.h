#pragma once
// CZynOlePropPage: a class-library property page that shows the property page of a COM
// component (an object implementing IPropertyPage) inside an ordinary property sheet.
//
// The page creates the COM page from its class ID, becomes its site (the nested
// IPropertyPageSite part, counted on the page's own reference count), hands it the one
// object to edit and takes its title for the tab and its help context. When the page's
// window is made (OnInitDialog) the COM page is activated inside it, modal, at the page's
// size rescaled to a 6 x 13 pixel base character (the size the COM page was designed
// for) and shown. OK and Apply reach the COM page's Apply; a page that still reports
// changes afterwards keeps the sheet open. Help (PSN_HELP) opens the COM page's help
// context through the application (CZynApp::CallHelp with kind 1); without a CZynApp the
// notification is left unhandled.
//
// The COM page is taken down in the order a page expects: Deactivate while it is active
// (when the page's window goes, since the COM page's window lives inside it),
// SetObjects(0, null), SetPageSite(null), then Release (when the object goes). A
// construction that fails after the COM page was made takes it down the same way before
// throwing, so nothing stays referenced. A default-constructed page (dynamic creation)
// has no COM page and behaves as a plain property page.
//
// COM failures are thrown as COleException with the failing HRESULT (from the
// constructor, or from OnInitDialog, where the window procedure reports them).
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/proppage.h"
#include "platform/com/proppage.h"

// The page's own dispatch interface (an empty dispatch map: it knows no names).
inline constexpr IID IID_IZynOlePropPage{0xE92ED540, 0x54AC, 0x4E46, {0xA4, 0x83, 0x33, 0xD8, 0x25, 0xDF, 0x2D, 0x63}};

class CZynOlePropPage : public CPropertyPage {
    DECLARE_DYNCREATE(CZynOlePropPage)
public:
    // No COM page: a plain page on the template.
    CZynOlePropPage();
    // Creates the COM page of clsid (in-process) and gives it pObject to edit (not
    // reference-counted here: the caller keeps it alive as long as the page). Throws
    // COleException when any step fails, with nothing left held (E_POINTER for a null
    // object, before anything is made).
    CZynOlePropPage(REFCLSID clsid, IUnknown* pObject);
    ~CZynOlePropPage() override;

    // Sent to the sheet (PSM_SETWIZBUTTONS) at each activation; 0 until set.
    void SetWizardButtons(DWORD dwFlags) { m_dwWizardButtons = dwFlags; }
    DWORD GetWizardButtons() const { return m_dwWizardButtons; }
    // The COM page (null for a default-constructed page or after it was taken down).
    IPropertyPage* GetComPage() const { return m_pPropPage; }
    const CLSID& GetClassID() const { return m_clsid; }
    IUnknown* GetEditedObject() const { return m_pObject; }
    // The help context the COM page reported.
    DWORD GetHelpContext() const { return m_dwHelpContext; }
    // Whether the COM page is activated in the page's window now.
    bool IsComPageActive() const { return m_bComActive; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The base's apply (which ends in OnOK, so the COM page applies); FALSE while the COM
    // page still reports changes.
    BOOL OnApply() override;
    BOOL OnSetActive() override;

    // The rectangle rescaled from the dialog units of hWnd to the 6 x 13 base character:
    // left and right MulDiv(v, 6, bx), top and bottom MulDiv(v, 13, by), with bx and by
    // the pixels of 4 horizontal and 8 vertical dialog units. Unchanged when hWnd has no
    // dialog units.
    static void RescaleToBaseCharacter(HWND hWnd, CRect& rc);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnDestroy();

    BEGIN_INTERFACE_PART(PropertyPageSite, IPropertyPageSite)
        HRESULT OnStatusChange(DWORD dwFlags) override;
        HRESULT GetLocaleID(LCID* pLocaleID) override;
        HRESULT GetPageContainer(IUnknown** ppUnk) override;
        HRESULT TranslateAccelerator(MSG* pMsg) override;
    END_INTERFACE_PART(PropertyPageSite)

    DECLARE_INTERFACE_MAP()
    DECLARE_DISPATCH_MAP()
    DECLARE_MESSAGE_MAP()

private:
    // Title and help context from the COM page; throws on failure (the caller cleans up).
    void TakePageInfo();
    // Deactivate when active, then SetObjects(0, null), SetPageSite(null), Release.
    void ReleaseComPage();
    // Takes the COM page down and throws hr.
    [[noreturn]] void FailConstruction(HRESULT hr);

    IPropertyPage* m_pPropPage = nullptr;
    IUnknown* m_pObject = nullptr;
    CLSID m_clsid = CLSID_NULL;
    DWORD m_dwWizardButtons = 0;
    DWORD m_dwHelpContext = 0;
    bool m_bSited = false;     // SetPageSite(site) succeeded: the COM page holds the site
    bool m_bComActive = false; // Activate succeeded and Deactivate has not run
};
