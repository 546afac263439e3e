// COleDataObject.
#include "platform/afx/ole/oledataobject.h"

#include <cstring>
#include <memory>

#include "platform/afx/ole/clipboard_object.h"
#include "platform/afx/ole/global_copy.h"
#include "platform/base/globalmem.h"
#include "platform/base/memfile.h"
#include "platform/com/objbase.h"

namespace {

FORMATETC DefaultFormat(CLIPFORMAT cf, DWORD tymed)
{
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// The whole stream, from its start, into a new block.
HGLOBAL ReadStream(IStream* s)
{
    STATSTG st{};
    if (FAILED(s->Stat(&st, STATFLAG_NONAME)) || st.cbSize.QuadPart > 0x7FFFFFFFu)
        return nullptr;
    LARGE_INTEGER zero{};
    if (FAILED(s->Seek(zero, STREAM_SEEK_SET, nullptr)))
        return nullptr;
    const auto n = static_cast<ULONG>(st.cbSize.QuadPart);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!h)
        return nullptr;
    void* dst = GlobalLock(h);
    ULONG read = 0;
    const bool ok = dst && SUCCEEDED(s->Read(dst, n, &read)) && read == n;
    if (dst)
        GlobalUnlock(h);
    if (!ok) {
        GlobalFree(h);
        return nullptr;
    }
    return h;
}

} // namespace

COleDataObject::COleDataObject() = default;

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
    m_bClipboard = FALSE;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    m_bClipboard = FALSE;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
    m_bClipboard = FALSE;
}

BOOL COleDataObject::AttachClipboard()
{
    IDataObject* p = zyn::ole::CreateClipboardDataObject();
    if (!p)
        return FALSE;
    Attach(p, TRUE);
    m_bClipboard = TRUE;
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef)
{
    if (m_lpDataObject && bAddRef)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats()
{
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject && FAILED(m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator)))
        m_lpEnumerator = nullptr;
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc)
{
    if (!m_lpEnumerator || !lpFormatEtc)
        return FALSE;
    ULONG fetched = 0;
    FORMATETC f{};
    if (m_lpEnumerator->Next(1, &f, &fetched) != S_OK || fetched != 1)
        return FALSE;
    // Target devices are not handed on: this layer has no printers to describe.
    if (f.ptd)
        CoTaskMemFree(f.ptd);
    f.ptd = nullptr;
    *lpFormatEtc = f;
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC f = lpFormatEtc ? *lpFormatEtc : DefaultFormat(cfFormat, 0xFFFFFFFFu);
    f.cfFormat = cfFormat;
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    if (!lpStgMedium)
        return FALSE;
    std::memset(lpStgMedium, 0, sizeof *lpStgMedium);
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC f = lpFormatEtc ? *lpFormatEtc : DefaultFormat(cfFormat, 0xFFFFFFFFu);
    f.cfFormat = cfFormat;
    if (FAILED(m_lpDataObject->GetData(&f, lpStgMedium))) {
        std::memset(lpStgMedium, 0, sizeof *lpStgMedium);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    FORMATETC f = lpFormatEtc ? *lpFormatEtc : DefaultFormat(cfFormat, TYMED_HGLOBAL | TYMED_ISTREAM);
    f.tymed &= TYMED_HGLOBAL | TYMED_ISTREAM;
    if (!f.tymed)
        return nullptr;
    STGMEDIUM m{};
    if (!GetData(cfFormat, &m, &f))
        return nullptr;
    HGLOBAL out = nullptr;
    if (m.tymed == TYMED_HGLOBAL && m.hGlobal) {
        if (!m.pUnkForRelease) {
            out = m.hGlobal; // ours now
            m.hGlobal = nullptr;
            m.tymed = TYMED_NULL;
        } else {
            out = zyn::ole::CopyGlobalBlock(m.hGlobal); // the block stays its owner's
        }
    } else if (m.tymed == TYMED_ISTREAM && m.pstm) {
        out = ReadStream(m.pstm);
    }
    ReleaseStgMedium(&m);
    return out;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    HGLOBAL h = GetGlobalData(cfFormat, lpFormatEtc);
    if (!h)
        return nullptr;
    auto file = std::make_unique<CSharedFile>();
    file->SetHandle(h, FALSE);
    return file.release();
}
