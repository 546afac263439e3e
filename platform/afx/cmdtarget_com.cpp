// The COM side of CCmdTarget: QueryInterface through the interface maps, the built-in
// IDispatch part over the dispatch maps, and COleException.
#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/wnd.h"
#include "platform/base/namefold.h"

IMPLEMENT_DYNAMIC(COleException, CException)

// ---- interface maps ------------------------------------------------------------------------------------

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap()
{
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
    static const AFX_INTERFACEMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const { return GetThisInterfaceMap(); }

LPUNKNOWN CCmdTarget::GetInterface(const void* iid)
{
    if (!iid)
        return nullptr;
    const IID& wanted = *static_cast<const IID*>(iid);
    const bool identity = IsEqualIID(wanted, IID_IUnknown);
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* e = map->pEntry; e->piid; ++e) {
            IUnknown* part = e->pfnGetPart(this);
            // The dispatch part exists in every target but answers only once enabled.
            if (part == &m_xDispatch && !m_bAutomation)
                continue;
            // IUnknown is the first part of the most derived map, whoever asks: the
            // identity of the object must not depend on the interface asked through.
            if (identity || IsEqualIID(wanted, *e->piid))
                return part;
        }
    }
    if (m_bAutomation && (identity || IsEqualIID(wanted, IID_IDispatch)))
        return &m_xDispatch;
    return nullptr;
}

DWORD CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (!ppvObj)
        return static_cast<DWORD>(E_POINTER);
    *ppvObj = nullptr;
    if (!iid)
        return static_cast<DWORD>(E_POINTER);
    IUnknown* part = GetInterface(iid);
    if (!part)
        return static_cast<DWORD>(E_NOINTERFACE);
    CountAsComObject();
    InternalAddRef();
    *ppvObj = part;
    return static_cast<DWORD>(S_OK);
}

void CCmdTarget::CountAsComObject()
{
    if (!m_comLive)
        m_comLive.emplace();
}

// ---- automation -----------------------------------------------------------------------------------------

void CCmdTarget::EnableAutomation()
{
    m_bAutomation = true;
    CountAsComObject();
}

LPDISPATCH CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!m_bAutomation)
        return nullptr;
    if (bAddRef)
        InternalAddRef();
    return &m_xDispatch;
}

CCmdTarget* CCmdTarget::FromIDispatch(LPDISPATCH lpDispatch)
{
    auto* part = dynamic_cast<XDispatch*>(lpDispatch);
    return part ? static_cast<CCmdTarget*>(part->OuterTarget()) : nullptr;
}

const AFX_DISPMAP* CCmdTarget::GetThisDispatchMap()
{
    static const AFX_DISPMAP_ENTRY entries[] = {{nullptr, DISPID_UNKNOWN, nullptr}};
    static const AFX_DISPMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const { return GetThisDispatchMap(); }

const AFX_DISPMAP_ENTRY* CCmdTarget::FindDispatchEntry(DISPID id) const
{
    for (const AFX_DISPMAP* map = GetDispatchMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e->lpszName; ++e)
            if (e->lDispID == id)
                return e;
    return nullptr;
}

HRESULT CCmdTarget::XDispatch::QueryInterface(REFIID riid, void** ppvObj)
{
    METHOD_PROLOGUE(CCmdTarget, Dispatch)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&riid, ppvObj));
}

ULONG CCmdTarget::XDispatch::AddRef()
{
    METHOD_PROLOGUE(CCmdTarget, Dispatch)
    return pThis->ExternalAddRef();
}

ULONG CCmdTarget::XDispatch::Release()
{
    METHOD_PROLOGUE(CCmdTarget, Dispatch)
    return pThis->ExternalRelease();
}

HRESULT CCmdTarget::XDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_INVALIDARG;
    *pctinfo = 0; // no type information
    return S_OK;
}

HRESULT CCmdTarget::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (!ppTInfo)
        return E_INVALIDARG;
    *ppTInfo = nullptr;
    return DISP_E_BADINDEX; // there are none, so every index is out of range
}

HRESULT CCmdTarget::XDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    if (!rgDispId || !rgszNames || cNames == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    METHOD_PROLOGUE(CCmdTarget, Dispatch)
    if (rgszNames[0]) {
        for (const AFX_DISPMAP* map = pThis->GetDispatchMap(); map && rgDispId[0] == DISPID_UNKNOWN;
             map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e->lpszName; ++e) {
                if (zyn::base::NamesEqual(e->lpszName, rgszNames[0])) {
                    rgDispId[0] = e->lDispID;
                    break;
                }
            }
        }
    }
    // Members take positional arguments only, so any parameter name is unknown.
    return rgDispId[0] != DISPID_UNKNOWN && cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT CCmdTarget::XDispatch::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
    VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (puArgErr)
        *puArgErr = 0;
    if (pExcepInfo)
        *pExcepInfo = EXCEPINFO{};
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!pDispParams || (pDispParams->cArgs && !pDispParams->rgvarg) || pDispParams->cNamedArgs > pDispParams->cArgs)
        return E_INVALIDARG;
    // The one named argument allowed is the value of a property assignment.
    const bool put = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (pDispParams->cNamedArgs > 1 ||
        (pDispParams->cNamedArgs == 1 &&
            (!put || !pDispParams->rgdispidNamedArgs || pDispParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
        return DISP_E_NONAMEDARGS;
    METHOD_PROLOGUE(CCmdTarget, Dispatch)
    const AFX_DISPMAP_ENTRY* entry = pThis->FindDispatchEntry(dispIdMember);
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;
    if (pVarResult)
        VariantInit(pVarResult);
    // A member may be released by what it calls: keep the target alive for the call.
    pThis->InternalAddRef();
    HRESULT hr = S_OK;
    try {
        hr = entry->pfnInvoke(pThis, wFlags, pDispParams, pVarResult);
    } catch (CException* e) {
        // A member's class-library exception becomes the caller's exception record.
        const SCODE sc = COleException::Process(e);
        if (pExcepInfo) {
            pExcepInfo->scode = sc;
            pExcepInfo->bstrDescription = SysAllocString(e->GetMessageText().GetString());
        }
        e->Delete();
        if (pVarResult)
            VariantClear(pVarResult);
        hr = DISP_E_EXCEPTION;
    }
    pThis->InternalRelease();
    return hr;
}

// ---- windows ---------------------------------------------------------------------------------------------

// A window object is often a member or on the stack, so its last COM reference must not
// delete it: it destroys the window, and an object that deletes itself does so in
// PostNcDestroy as after any destruction.
void CWnd::OnFinalRelease()
{
    if (m_hWnd)
        DestroyWindow();
    else
        PostNcDestroy();
}

// ---- COleException ----------------------------------------------------------------------------------------

SCODE COleException::Process(const CException* pAnyException)
{
    if (!pAnyException)
        return E_FAIL;
    if (const auto* ole = dynamic_cast<const COleException*>(pAnyException))
        return ole->m_sc;
    if (dynamic_cast<const CMemoryException*>(pAnyException))
        return E_OUTOFMEMORY;
    if (dynamic_cast<const CNotSupportedException*>(pAnyException))
        return E_NOTIMPL;
    return E_FAIL;
}

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    struct Known {
        SCODE sc;
        const wchar_t* text;
    };
    static const Known known[] = {
        {E_FAIL, L"Unspecified error"},
        {E_NOTIMPL, L"Not implemented"},
        {E_OUTOFMEMORY, L"Out of memory"},
        {E_INVALIDARG, L"One or more arguments are invalid"},
        {E_NOINTERFACE, L"No such interface supported"},
        {E_POINTER, L"Invalid pointer"},
        {CLASS_E_NOAGGREGATION, L"Class does not support aggregation"},
        {REGDB_E_CLASSNOTREG, L"Class not registered"},
        {CO_E_CLASSSTRING, L"Invalid class string"},
        {CO_E_NOTINITIALIZED, L"CoInitialize has not been called"},
        {DISP_E_UNKNOWNNAME, L"Unknown name"},
        {DISP_E_MEMBERNOTFOUND, L"Member not found"},
        {DISP_E_EXCEPTION, L"Exception occurred"},
    };
    CString text = GetDetail();
    if (text.IsEmpty()) {
        for (const Known& k : known)
            if (k.sc == m_sc)
                text = k.text;
    }
    if (text.IsEmpty()) {
        wchar_t buf[32];
        std::swprintf(buf, 32, L"OLE error 0x%08X", static_cast<unsigned>(m_sc));
        text = buf;
    }
    const UINT n = std::min<UINT>(static_cast<UINT>(text.GetLength()), nMaxError - 1);
    std::wmemcpy(lpszError, text.GetString(), n);
    lpszError[n] = L'\0';
    return TRUE;
}

void AfxThrowOleException(SCODE sc) { throw new COleException(sc); }
