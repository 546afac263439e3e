// BSTR strings on the task allocator: [32-bit byte count][characters][terminator], the
// pointer handed out addressing the first character.
#include <cstring>
#include <cwchar>
#include <limits>

#include "platform/com/objbase.h"
#include "platform/com/oleauto.h"

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);
// The byte count must fit its 32-bit prefix.
constexpr UINT kMaxUnits = (std::numeric_limits<uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1;

char* BlockOf(BSTR s) { return reinterpret_cast<char*>(s) - kPrefix; }

BSTR Allocate(const OLECHAR* pch, UINT cch)
{
    if (cch > kMaxUnits)
        return nullptr;
    const size_t bytes = static_cast<size_t>(cch) * sizeof(OLECHAR);
    auto* block = static_cast<char*>(CoTaskMemAlloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const auto byteCount = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteCount, kPrefix);
    auto* text = reinterpret_cast<OLECHAR*>(block + kPrefix);
    if (pch)
        std::memcpy(text, pch, bytes);
    else
        std::memset(text, 0, bytes);
    text[cch] = L'\0';
    return text;
}

} // namespace

BSTR SysAllocString(const OLECHAR* psz)
{
    if (!psz)
        return nullptr;
    const size_t n = std::wcslen(psz);
    if (n > kMaxUnits)
        return nullptr;
    return Allocate(psz, static_cast<UINT>(n));
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch) { return Allocate(pch, cch); }

void SysFreeString(BSTR bstrString)
{
    // The task allocator ignores a pointer that is no live block of its own, so a string
    // freed twice or never allocated here does no harm.
    if (bstrString)
        CoTaskMemFree(BlockOf(bstrString));
}

UINT SysStringByteLen(BSTR bstr)
{
    if (!bstr)
        return 0;
    uint32_t bytes = 0;
    std::memcpy(&bytes, BlockOf(bstr), kPrefix);
    return bytes;
}

UINT SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / sizeof(OLECHAR); }

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len)
{
    if (!pbstr)
        return FALSE;
    // The new copy first: psz may point into the old string.
    BSTR fresh = Allocate(psz, len);
    if (!fresh)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    if (!pbstr)
        return FALSE;
    if (!psz) {
        SysFreeString(*pbstr);
        *pbstr = nullptr;
        return TRUE;
    }
    const size_t n = std::wcslen(psz);
    if (n > kMaxUnits)
        return FALSE;
    return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(n));
}

void zyn::com::ClearExcepInfo(EXCEPINFO& info)
{
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
}
