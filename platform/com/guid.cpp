// GUID text forms.
#include <cwchar>

#include "platform/com/guid.h"
#include "platform/com/objbase.h"

namespace zyn::com {
namespace {

constexpr wchar_t kHex[] = L"0123456789ABCDEF";

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at text[pos].
bool ReadHex(const wchar_t* text, size_t pos, int digits, uint32_t& out)
{
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = HexValue(text[pos + static_cast<size_t>(i)]);
        if (d < 0)
            return false;
        v = (v << 4) | static_cast<uint32_t>(d);
    }
    out = v;
    return true;
}

void WriteHex(wchar_t* out, uint32_t v, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = kHex[v & 0xF];
        v >>= 4;
    }
}

HRESULT StringFromGuidAlloc(REFGUID g, LPOLESTR* out)
{
    if (!out)
        return E_INVALIDARG;
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(wchar_t)));
    if (!*out)
        return E_OUTOFMEMORY;
    StringFromGUID2(g, *out, 39);
    return S_OK;
}

} // namespace

bool ParseBracedGuid(const wchar_t* text, GUID& out)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 characters, exactly.
    if (!text || std::wcslen(text) != 38 || text[0] != L'{' || text[37] != L'}' || text[9] != L'-' ||
        text[14] != L'-' || text[19] != L'-' || text[24] != L'-')
        return false;
    GUID g{};
    uint32_t v = 0;
    if (!ReadHex(text, 1, 8, v))
        return false;
    g.Data1 = v;
    if (!ReadHex(text, 10, 4, v))
        return false;
    g.Data2 = static_cast<uint16_t>(v);
    if (!ReadHex(text, 15, 4, v))
        return false;
    g.Data3 = static_cast<uint16_t>(v);
    static constexpr size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, kBytePos[i], 2, v))
            return false;
        g.Data4[i] = static_cast<uint8_t>(v);
    }
    out = g;
    return true;
}

} // namespace zyn::com

int StringFromGUID2(REFGUID g, LPOLESTR lpsz, int cchMax)
{
    if (!lpsz || cchMax < 39)
        return 0;
    using zyn::com::WriteHex;
    lpsz[0] = L'{';
    WriteHex(lpsz + 1, g.Data1, 8);
    lpsz[9] = L'-';
    WriteHex(lpsz + 10, g.Data2, 4);
    lpsz[14] = L'-';
    WriteHex(lpsz + 15, g.Data3, 4);
    lpsz[19] = L'-';
    WriteHex(lpsz + 20, g.Data4[0], 2);
    WriteHex(lpsz + 22, g.Data4[1], 2);
    lpsz[24] = L'-';
    for (int i = 2; i < 8; ++i)
        WriteHex(lpsz + 25 + (i - 2) * 2, g.Data4[i], 2);
    lpsz[37] = L'}';
    lpsz[38] = L'\0';
    return 39;
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) { return zyn::com::StringFromGuidAlloc(rclsid, lplpsz); }
HRESULT StringFromIID(REFIID riid, LPOLESTR* lplpsz) { return zyn::com::StringFromGuidAlloc(riid, lplpsz); }

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    *pclsid = CLSID_NULL;
    if (!lpsz)
        return S_OK;
    GUID g;
    if (zyn::com::ParseBracedGuid(lpsz, g)) {
        *pclsid = g;
        return S_OK;
    }
    // Not a GUID: a ProgID names the class as well.
    if (lpsz[0] != L'{' && SUCCEEDED(CLSIDFromProgID(lpsz, pclsid)))
        return S_OK;
    *pclsid = CLSID_NULL;
    return CO_E_CLASSSTRING;
}

HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid)
{
    if (!lpiid)
        return E_INVALIDARG;
    *lpiid = IID_NULL;
    if (!lpsz)
        return S_OK;
    GUID g;
    if (!zyn::com::ParseBracedGuid(lpsz, g))
        return CO_E_IIDSTRING;
    *lpiid = g;
    return S_OK;
}
