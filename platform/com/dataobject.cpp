// The format enumerator and ReleaseStgMedium.
#include <atomic>
#include <vector>

#include "platform/base/globalmem.h"
#include "platform/com/dataobject.h"
#include "platform/com/objbase.h"

namespace zyn::com {
namespace {

std::atomic<BOOL (*)(HGDIOBJ)> g_deleteGdiObject{nullptr};

class FormatEnumerator final : public Object<IEnumFORMATETC> {
public:
    FormatEnumerator(std::vector<FORMATETC> formats, size_t pos) : m_formats(std::move(formats)), m_pos(pos) {}

    HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* fetched) override
    {
        if (fetched)
            *fetched = 0;
        if (!rgelt || (celt > 1 && !fetched))
            return E_INVALIDARG; // more than one record needs the count back
        ULONG n = 0;
        while (n < celt && m_pos < m_formats.size())
            rgelt[n++] = m_formats[m_pos++];
        if (fetched)
            *fetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG celt) override
    {
        const size_t left = m_formats.size() - m_pos;
        if (celt > left) {
            m_pos = m_formats.size();
            return S_FALSE;
        }
        m_pos += celt;
        return S_OK;
    }
    HRESULT Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC** out) override
    {
        if (!out)
            return E_INVALIDARG;
        *out = new FormatEnumerator(m_formats, m_pos);
        return S_OK;
    }

private:
    std::vector<FORMATETC> m_formats;
    size_t m_pos = 0;
};

} // namespace

IEnumFORMATETC* CreateFormatEnumerator(std::span<const FORMATETC> formats)
{
    std::vector<FORMATETC> copy(formats.begin(), formats.end());
    for (auto& f : copy)
        f.ptd = nullptr;
    return new FormatEnumerator(std::move(copy), 0);
}

// The drawing layer sits beside COM, not below it; it tells us how to free a GDI object.
void SetGdiObjectDeleter(BOOL (*deleteObject)(HGDIOBJ)) { g_deleteGdiObject.store(deleteObject); }

} // namespace zyn::com

void ReleaseStgMedium(LPSTGMEDIUM pmedium)
{
    if (!pmedium)
        return;
    if (pmedium->pUnkForRelease) {
        pmedium->pUnkForRelease->Release();
    } else {
        switch (pmedium->tymed) {
        case TYMED_HGLOBAL:
        case TYMED_MFPICT:
            if (pmedium->hGlobal)
                GlobalFree(pmedium->hGlobal);
            break;
        case TYMED_FILE:
            CoTaskMemFree(pmedium->lpszFileName);
            break;
        case TYMED_ISTREAM:
            if (pmedium->pstm)
                pmedium->pstm->Release();
            break;
        case TYMED_ISTORAGE:
            if (pmedium->pstg)
                pmedium->pstg->Release();
            break;
        case TYMED_GDI:
            if (pmedium->hBitmap) {
                if (auto del = zyn::com::g_deleteGdiObject.load())
                    del(pmedium->hBitmap);
            }
            break;
        default: break; // TYMED_NULL; enhanced metafiles do not exist here
        }
    }
    pmedium->tymed = TYMED_NULL;
    pmedium->hGlobal = nullptr;
    pmedium->pUnkForRelease = nullptr;
}
