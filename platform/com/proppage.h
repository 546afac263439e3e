#pragma once
// Property pages as COM objects: IPropertyPage, the page a component offers to edit its
// objects, and IPropertyPageSite, the frame that shows it.
//
// A host creates the page (CoCreateInstance), gives it its site (SetPageSite) and the
// objects to edit (SetObjects), asks its title, size and help through GetPageInfo,
// activates it as a child of one of its windows (Activate, Show, Move), applies its
// changes (IsPageDirty, Apply) and takes it down in the reverse order (Deactivate,
// SetObjects(0, null), SetPageSite(null), Release). GetPageInfo fills a PROPPAGEINFO whose
// strings the page allocates with CoTaskMemAlloc and the host frees with CoTaskMemFree;
// the host sets cb to sizeof(PROPPAGEINFO) first, which is the size in this process (the
// record holds pointers, so it is larger than on a 32-bit platform).
#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

struct MSG; // the window system's message record (platform/user)

inline constexpr IID IID_IPropertyPageSite{0xB196B28C, 0xBAB4, 0x101A,
    {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyPage{0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

struct PROPPAGEINFO {
    ULONG cb;               // sizeof(PROPPAGEINFO), set by the caller
    LPOLESTR pszTitle;      // CoTaskMemAlloc'd; the caller frees it
    SIZE size;              // the page's size in pixels
    LPOLESTR pszDocString;  // CoTaskMemAlloc'd or null
    LPOLESTR pszHelpFile;   // CoTaskMemAlloc'd or null
    DWORD dwHelpContext;
};
using LPPROPPAGEINFO = PROPPAGEINFO*;

// OnStatusChange flags.
inline constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;
inline constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;
inline constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;

struct IPropertyPageSite : public IUnknown {
    // The page's state changed (PROPPAGESTATUS_*).
    virtual HRESULT OnStatusChange(DWORD dwFlags) = 0;
    virtual HRESULT GetLocaleID(LCID* pLocaleID) = 0;
    // The frame holding the page (E_NOTIMPL where there is none to offer).
    virtual HRESULT GetPageContainer(IUnknown** ppUnk) = 0;
    // A keystroke the page did not use; S_FALSE when the site did not use it either.
    virtual HRESULT TranslateAccelerator(MSG* pMsg) = 0;
};
using LPPROPERTYPAGESITE = IPropertyPageSite*;

struct IPropertyPage : public IUnknown {
    // The page keeps a reference to the site; null lets it go.
    virtual HRESULT SetPageSite(IPropertyPageSite* pPageSite) = 0;
    // Creates the page's window as a child of hWndParent in *pRect (parent client
    // coordinates).
    virtual HRESULT Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
    virtual HRESULT Deactivate() = 0;
    virtual HRESULT GetPageInfo(PROPPAGEINFO* pPageInfo) = 0;
    // The objects to edit; (0, null) lets the current ones go.
    virtual HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) = 0;
    virtual HRESULT Show(UINT nCmdShow) = 0;
    virtual HRESULT Move(LPCRECT pRect) = 0;
    // S_OK while the page holds changes not yet applied, S_FALSE when it holds none.
    virtual HRESULT IsPageDirty() = 0;
    virtual HRESULT Apply() = 0;
    virtual HRESULT Help(LPCOLESTR pszHelpDir) = 0;
    virtual HRESULT TranslateAccelerator(MSG* pMsg) = 0;
};
using LPPROPERTYPAGE = IPropertyPage*;

namespace zyn::com {
template <>
struct InterfaceId<IPropertyPageSite> {
    static constexpr const IID& value = IID_IPropertyPageSite;
};
template <>
struct InterfaceId<IPropertyPage> {
    static constexpr const IID& value = IID_IPropertyPage;
};
} // namespace zyn::com
