// COleDataSource.
#include "platform/afx/ole/oledatasource.h"

#include <cstring>

#include "platform/afx/ole/oledropsource.h"
#include "platform/afx/ole/global_copy.h"
#include "platform/afx/wnd.h"
#include "platform/base/globalmem.h"
#include "platform/base/memfile.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {

FORMATETC FormatFor(CLIPFORMAT cf, LPFORMATETC given, DWORD tymed)
{
    FORMATETC f = given ? *given : FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, tymed};
    f.cfFormat = cf;
    f.ptd = nullptr; // target devices are not kept
    return f;
}

} // namespace

COleDataSource::COleDataSource() = default;

COleDataSource::~COleDataSource() { Empty(); }

void COleDataSource::Empty()
{
    for (Entry& e : m_cache)
        ReleaseStgMedium(&e.medium);
    m_cache.clear();
}

void COleDataSource::Replace(Entry entry)
{
    for (Entry& e : m_cache) {
        if (e.format.cfFormat == entry.format.cfFormat && e.format.dwAspect == entry.format.dwAspect &&
            e.format.lindex == entry.format.lindex && (e.format.tymed & entry.format.tymed)) {
            ReleaseStgMedium(&e.medium);
            e = entry;
            return;
        }
    }
    m_cache.push_back(entry);
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc)
{
    if (!hGlobal)
        return;
    Entry e{};
    e.format = FormatFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    e.format.tymed = TYMED_HGLOBAL;
    e.medium.tymed = TYMED_HGLOBAL;
    e.medium.hGlobal = hGlobal;
    Replace(e);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    if (!lpStgMedium || lpStgMedium->tymed == TYMED_NULL)
        return;
    Entry e{};
    e.format = FormatFor(cfFormat, lpFormatEtc, lpStgMedium->tymed);
    e.format.tymed = lpStgMedium->tymed;
    e.medium = *lpStgMedium;
    // The cache owns the medium now.
    std::memset(lpStgMedium, 0, sizeof *lpStgMedium);
    Replace(e);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    Entry e{};
    e.format = FormatFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    e.delayed = true;
    Replace(e);
}

void COleDataSource::DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    Entry e{};
    e.format = FormatFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM);
    e.delayed = true;
    Replace(e);
}

BOOL COleDataSource::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium)
{
    if (lpFormatEtc->tymed & TYMED_HGLOBAL) {
        HGLOBAL h = nullptr;
        if (OnRenderGlobalData(lpFormatEtc, &h) && h) {
            lpStgMedium->tymed = TYMED_HGLOBAL;
            lpStgMedium->hGlobal = h;
            lpStgMedium->pUnkForRelease = nullptr;
            return TRUE;
        }
        CSharedFile file;
        if (OnRenderFileData(lpFormatEtc, &file)) {
            if (HGLOBAL block = file.Detach()) {
                lpStgMedium->tymed = TYMED_HGLOBAL;
                lpStgMedium->hGlobal = block;
                lpStgMedium->pUnkForRelease = nullptr;
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }
BOOL COleDataSource::OnRenderFileData(LPFORMATETC, CFile*) { return FALSE; }
BOOL COleDataSource::OnSetData(LPFORMATETC, LPSTGMEDIUM, BOOL) { return FALSE; }

COleDataSource::Entry* COleDataSource::Lookup(const FORMATETC& f, HRESULT* pHr)
{
    HRESULT why = DV_E_FORMATETC;
    for (Entry& e : m_cache) {
        if (e.format.cfFormat != f.cfFormat)
            continue;
        if (e.format.dwAspect != f.dwAspect) {
            why = DV_E_DVASPECT;
            continue;
        }
        if (f.lindex != -1 && e.format.lindex != f.lindex) {
            why = DV_E_LINDEX;
            continue;
        }
        if (!(e.format.tymed & f.tymed)) {
            why = DV_E_TYMED;
            continue;
        }
        *pHr = S_OK;
        return &e;
    }
    *pHr = why;
    return nullptr;
}

HRESULT COleDataSource::GetDataImpl(FORMATETC* f, STGMEDIUM* m)
{
    if (!f || !m)
        return E_INVALIDARG;
    std::memset(m, 0, sizeof *m);
    HRESULT hr;
    Entry* e = Lookup(*f, &hr);
    if (!e)
        return hr;
    if (e->delayed) {
        FORMATETC asked = e->format;
        asked.tymed &= f->tymed;
        if (!OnRenderData(&asked, m)) {
            std::memset(m, 0, sizeof *m);
            return DV_E_FORMATETC;
        }
        return S_OK;
    }
    const STGMEDIUM& have = e->medium;
    switch (have.tymed) {
    case TYMED_HGLOBAL:
        // Every consumer gets its own block, which it frees.
        m->hGlobal = zyn::ole::CopyGlobalBlock(have.hGlobal);
        if (!m->hGlobal)
            return E_OUTOFMEMORY;
        m->tymed = TYMED_HGLOBAL;
        return S_OK;
    case TYMED_ISTREAM: {
        IStream* clone = nullptr;
        if (FAILED(have.pstm->Clone(&clone)) || !clone)
            return E_OUTOFMEMORY;
        LARGE_INTEGER zero{};
        clone->Seek(zero, STREAM_SEEK_SET, nullptr);
        m->tymed = TYMED_ISTREAM;
        m->pstm = clone;
        return S_OK;
    }
    default:
        // Other media stay ours: the consumer's ReleaseStgMedium releases this source.
        *m = have;
        m->pUnkForRelease = &m_xDataObject;
        m_xDataObject.AddRef();
        return S_OK;
    }
}

HRESULT COleDataSource::GetDataHereImpl(FORMATETC* f, STGMEDIUM* m)
{
    if (!f || !m)
        return E_INVALIDARG;
    if (m->tymed != TYMED_HGLOBAL || !m->hGlobal)
        return DV_E_TYMED;
    FORMATETC asked = *f;
    asked.tymed = TYMED_HGLOBAL;
    STGMEDIUM own{};
    const HRESULT hr = GetDataImpl(&asked, &own);
    if (FAILED(hr))
        return hr;
    const SIZE_T n = GlobalSize(own.hGlobal);
    HRESULT result = S_OK;
    if (GlobalSize(m->hGlobal) < n) {
        result = STG_E_MEDIUMFULL;
    } else {
        void* dst = GlobalLock(m->hGlobal);
        const void* src = GlobalLock(own.hGlobal);
        if (dst && src)
            std::memcpy(dst, src, n);
        else
            result = E_HANDLE;
        if (dst)
            GlobalUnlock(m->hGlobal);
        if (src)
            GlobalUnlock(own.hGlobal);
    }
    ReleaseStgMedium(&own);
    return result;
}

HRESULT COleDataSource::EnumImpl(DWORD dir, IEnumFORMATETC** out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (dir != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    formats.reserve(m_cache.size());
    for (const Entry& e : m_cache)
        formats.push_back(e.format);
    *out = zyn::com::CreateFormatEnumerator(formats);
    return S_OK;
}

LPUNKNOWN COleDataSource::GetInterface(const void* piid)
{
    if (!piid)
        return nullptr;
    const IID& iid = *static_cast<const IID*>(piid);
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject))
        return &m_xDataObject;
    return nullptr;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    COleDropSource* source = pDropSource ? pDropSource : &defaultSource;
    // Where the input that started the drag happened (the cursor may be further by now).
    const DWORD pos = ::GetMessagePos();
    const POINT cursor{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
    if (lpRectStartDrag) {
        source->m_rectStartDrag = *lpRectStartDrag;
    } else {
        // A rectangle of the system's drag size around the cursor.
        const int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
        source->m_rectStartDrag = CRect(cursor.x - cx / 2, cursor.y - cy / 2, cursor.x - cx / 2 + cx, cursor.y - cy / 2 + cy);
    }
    // The window that holds the data: the one with the capture, else the one under that point.
    HWND hwnd = ::GetCapture();
    if (!hwnd)
        hwnd = ::WindowFromPoint(cursor);
    CWnd* pWnd = hwnd ? CWnd::FromHandle(hwnd) : nullptr;
    // The source may be released by a consumer during the drag: keep it alive until the end.
    InternalAddRef();
    DROPEFFECT result = DROPEFFECT_NONE;
    if (source->OnBeginDrag(pWnd)) {
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT hr = ::DoDragDrop(&m_xDataObject, &source->m_xDropSource, dwEffects, &effect);
        if (hr == DRAGDROP_S_DROP)
            result = effect;
    }
    InternalRelease();
    return result;
}

void COleDataSource::SetClipboard()
{
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        for (const Entry& e : m_cache) {
            STGMEDIUM m{};
            FORMATETC f = e.format;
            f.tymed = TYMED_HGLOBAL;
            if (SUCCEEDED(GetDataImpl(&f, &m)) && m.tymed == TYMED_HGLOBAL && !m.pUnkForRelease) {
                if (::SetClipboardData(e.format.cfFormat, m.hGlobal))
                    m.hGlobal = nullptr; // the clipboard owns it now
            }
            ReleaseStgMedium(&m);
        }
        ::CloseClipboard();
    }
    // The clipboard keeps copies; the source itself is handed over and let go.
    InternalRelease();
}

// ---- the interface ----------------------------------------------------------------------------------

HRESULT COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = m_outer->GetInterface(&riid);
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}
ULONG COleDataSource::XDataObject::AddRef() { return m_outer->ExternalAddRef(); }
ULONG COleDataSource::XDataObject::Release() { return m_outer->ExternalRelease(); }
HRESULT COleDataSource::XDataObject::GetData(FORMATETC* f, STGMEDIUM* m) { return m_outer->GetDataImpl(f, m); }
HRESULT COleDataSource::XDataObject::GetDataHere(FORMATETC* f, STGMEDIUM* m) { return m_outer->GetDataHereImpl(f, m); }
HRESULT COleDataSource::XDataObject::QueryGetData(FORMATETC* f)
{
    if (!f)
        return E_INVALIDARG;
    HRESULT hr;
    m_outer->Lookup(*f, &hr);
    return hr;
}
HRESULT COleDataSource::XDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (!out)
        return E_INVALIDARG;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}
HRESULT COleDataSource::XDataObject::SetData(FORMATETC* f, STGMEDIUM* m, BOOL fRelease)
{
    if (!f || !m)
        return E_INVALIDARG;
    return m_outer->OnSetData(f, m, fRelease) ? S_OK : E_NOTIMPL;
}
HRESULT COleDataSource::XDataObject::EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) { return m_outer->EnumImpl(dir, out); }
HRESULT COleDataSource::XDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT COleDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }
