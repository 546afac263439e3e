// The clipboard as a data object.
#include "platform/afx/ole/clipboard_object.h"

#include <cstring>
#include <vector>

#include "platform/afx/ole/global_copy.h"
#include "platform/base/globalmem.h"
#include "platform/user/clipboard.h"

namespace zyn::ole {
namespace {

class ClipboardDataObject final : public zyn::com::Object<IDataObject> {
public:
    HRESULT GetData(FORMATETC* f, STGMEDIUM* m) override
    {
        if (!f || !m)
            return E_INVALIDARG;
        std::memset(m, 0, sizeof *m);
        const HRESULT q = QueryGetData(f);
        if (q != S_OK)
            return q;
        if (!OpenClipboard(nullptr))
            return CLIPBRD_E_CANT_OPEN;
        HGLOBAL copy = nullptr;
        if (HANDLE h = GetClipboardData(f->cfFormat))
            copy = CopyGlobalBlock(h);
        CloseClipboard();
        if (!copy)
            return DV_E_FORMATETC;
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = copy;
        return S_OK;
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* f) override
    {
        if (!f)
            return E_INVALIDARG;
        if (f->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if (f->lindex != -1)
            return DV_E_LINDEX;
        if (!(f->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        return IsClipboardFormatAvailable(f->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) override
    {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        if (dir != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        if (OpenClipboard(nullptr)) {
            for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
                formats.push_back(FORMATETC{static_cast<CLIPFORMAT>(f), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
            CloseClipboard();
        }
        *out = zyn::com::CreateFormatEnumerator(formats);
        return S_OK;
    }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

} // namespace

IDataObject* CreateClipboardDataObject() { return new ClipboardDataObject; }

} // namespace zyn::ole
