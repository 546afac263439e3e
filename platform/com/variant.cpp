// VARIANT values: what each known type owns, clearing and copying.
#include "platform/com/oleauto.h"

namespace {

bool KnownType(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I4:
    case VT_BOOL:
    case VT_ERROR:
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return true;
    default:
        return false;
    }
}

} // namespace

void VariantInit(VARIANTARG* pvarg)
{
    if (pvarg)
        pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    if (!KnownType(pvarg->vt))
        return DISP_E_BADVARTYPE;
    switch (pvarg->vt) {
    case VT_BSTR:
        SysFreeString(pvarg->bstrVal);
        break;
    case VT_UNKNOWN:
        if (pvarg->punkVal)
            pvarg->punkVal->Release();
        break;
    case VT_DISPATCH:
        if (pvarg->pdispVal)
            pvarg->pdispVal->Release();
        break;
    default:
        break;
    }
    pvarg->vt = VT_EMPTY;
    pvarg->punkVal = nullptr; // no stale pointer for a careless reader
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    if (!KnownType(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    // The copy is made before the destination is cleared: the source may be reachable
    // only through the destination (a string or object the destination owns).
    VARIANT copy = *pvargSrc;
    if (copy.vt == VT_BSTR && copy.bstrVal) {
        copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
        if (!copy.bstrVal) {
            const HRESULT hr = VariantClear(pvargDest);
            return FAILED(hr) ? hr : E_OUTOFMEMORY;
        }
    } else if (copy.vt == VT_UNKNOWN && copy.punkVal) {
        copy.punkVal->AddRef();
    } else if (copy.vt == VT_DISPATCH && copy.pdispVal) {
        copy.pdispVal->AddRef();
    }
    const HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&copy); // gives back what was just taken
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}
