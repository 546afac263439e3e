#include "platform/base/codepage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <optional>
#include <utility>

#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

namespace {

std::atomic<UINT> g_ansiCodePage{1252};

constexpr UINT kOemCodePage = 437;

// Windows-1252, bytes 0x80..0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, both ways,
// so every byte round-trips.
constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code page 437, bytes 0x80..0xFF.
constexpr std::array<uint16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

enum class Kind { Cp1252, Latin1, Cp437, Utf8 };

std::optional<Kind> KindOf(UINT resolved)
{
    switch (resolved) {
    case 1252:
        return Kind::Cp1252;
    case 28591:
        return Kind::Latin1;
    case 437:
        return Kind::Cp437;
    case CP_UTF8:
        return Kind::Utf8;
    default:
        return std::nullopt;
    }
}

wchar_t DecodeByte(Kind kind, uint8_t b)
{
    if (b < 0x80)
        return static_cast<wchar_t>(b);
    switch (kind) {
    case Kind::Cp1252:
        return b < 0xA0 ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : static_cast<wchar_t>(b);
    case Kind::Cp437:
        return static_cast<wchar_t>(kCp437High[b - 0x80]);
    default:
        return static_cast<wchar_t>(b);
    }
}

// Reverse table of a high half: (code point, byte) sorted by code point.
template <size_t N>
struct Reverse {
    std::array<std::pair<uint16_t, uint8_t>, N> map{};
    explicit Reverse(const std::array<uint16_t, N>& high, uint8_t first)
    {
        for (size_t i = 0; i < N; ++i)
            map[i] = {high[i], static_cast<uint8_t>(first + i)};
        std::sort(map.begin(), map.end());
    }
    std::optional<uint8_t> Find(uint32_t cp) const
    {
        const auto it = std::lower_bound(map.begin(), map.end(), std::pair<uint16_t, uint8_t>{static_cast<uint16_t>(cp), 0},
            [](const auto& a, const auto& b) { return a.first < b.first; });
        if (cp <= 0xFFFF && it != map.end() && it->first == cp)
            return it->second;
        return std::nullopt;
    }
};

std::optional<uint8_t> EncodeChar(Kind kind, uint32_t cp)
{
    if (cp < 0x80)
        return static_cast<uint8_t>(cp);
    switch (kind) {
    case Kind::Latin1:
        if (cp <= 0xFF)
            return static_cast<uint8_t>(cp);
        return std::nullopt;
    case Kind::Cp1252: {
        if (cp >= 0xA0 && cp <= 0xFF)
            return static_cast<uint8_t>(cp);
        static const Reverse<32> rev(kCp1252High, 0x80);
        return rev.Find(cp);
    }
    case Kind::Cp437: {
        static const Reverse<128> rev(kCp437High, 0x80);
        return rev.Find(cp);
    }
    case Kind::Utf8:
        break;
    }
    return std::nullopt;
}

std::wstring Decode(Kind kind, std::string_view text, bool* ok)
{
    if (kind == Kind::Utf8)
        return zyn::base::FromUtf8(text, ok);
    if (ok)
        *ok = true;
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text)
        out.push_back(DecodeByte(kind, static_cast<uint8_t>(c)));
    return out;
}

// Encodes into a single-byte code page; `usedDefault` is set when a character had to
// be replaced by `defaultChar`.
std::string EncodeSingleByte(Kind kind, std::wstring_view text, char defaultChar, bool& usedDefault)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        if (const auto b = EncodeChar(kind, static_cast<uint32_t>(c))) {
            out.push_back(static_cast<char>(*b));
        } else {
            out.push_back(defaultChar);
            usedDefault = true;
        }
    }
    return out;
}

int Fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

} // namespace

UINT GetACP() { return g_ansiCodePage.load(std::memory_order_relaxed); }

UINT GetOEMCP() { return GetACP() == CP_UTF8 ? CP_UTF8 : kOemCodePage; }

BOOL IsValidCodePage(UINT codePage) { return KindOf(codePage).has_value() ? TRUE : FALSE; }

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst)
{
    if (src == nullptr || cbSrc == 0 || cbSrc < -1 || cchDst < 0 || (dst == nullptr && cchDst != 0)
        || (dst != nullptr && static_cast<const void*>(src) == static_cast<const void*>(dst)))
        return Fail(ERROR_INVALID_PARAMETER);
    const auto kind = KindOf(zyn::base::ResolveCodePage(codePage));
    if (!kind)
        return Fail(ERROR_INVALID_PARAMETER);
    if (*kind == Kind::Utf8) {
        if ((flags & ~MB_ERR_INVALID_CHARS) != 0)
            return Fail(ERROR_INVALID_FLAGS);
    } else {
        constexpr DWORD allowed = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
        if ((flags & ~allowed) != 0 || (flags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE))
            return Fail(ERROR_INVALID_FLAGS);
    }
    const size_t len = cbSrc == -1 ? std::strlen(src) + 1 : static_cast<size_t>(cbSrc);
    bool ok = true;
    const std::wstring wide = Decode(*kind, std::string_view(src, len), &ok);
    if (!ok && (flags & MB_ERR_INVALID_CHARS) != 0)
        return Fail(ERROR_NO_UNICODE_TRANSLATION);
    if (wide.size() > static_cast<size_t>(INT32_MAX))
        return Fail(ERROR_INVALID_PARAMETER);
    const int needed = static_cast<int>(wide.size());
    if (cchDst == 0)
        return needed;
    if (needed > cchDst)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(wide.begin(), wide.end(), dst);
    return needed;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
    LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    if (src == nullptr || cchSrc == 0 || cchSrc < -1 || cbDst < 0 || (dst == nullptr && cbDst != 0)
        || (dst != nullptr && static_cast<const void*>(src) == static_cast<const void*>(dst)))
        return Fail(ERROR_INVALID_PARAMETER);
    const auto kind = KindOf(zyn::base::ResolveCodePage(codePage));
    if (!kind)
        return Fail(ERROR_INVALID_PARAMETER);
    const size_t len = cchSrc == -1 ? std::wcslen(src) + 1 : static_cast<size_t>(cchSrc);
    const std::wstring_view text(src, len);
    std::string bytes;
    if (*kind == Kind::Utf8) {
        // UTF-8 can hold every character, so a default character makes no sense here.
        if (defaultChar != nullptr || usedDefaultChar != nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        if ((flags & ~WC_ERR_INVALID_CHARS) != 0)
            return Fail(ERROR_INVALID_FLAGS);
        bool ok = true;
        bytes = zyn::base::ToUtf8(text, &ok);
        if (!ok && (flags & WC_ERR_INVALID_CHARS) != 0)
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else {
        constexpr DWORD allowed = WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS;
        if ((flags & ~allowed) != 0)
            return Fail(ERROR_INVALID_FLAGS);
        bool used = false;
        const char fill = (defaultChar != nullptr && *defaultChar != '\0') ? *defaultChar : '?';
        bytes = EncodeSingleByte(*kind, text, fill, used);
        if (usedDefaultChar)
            *usedDefaultChar = used ? TRUE : FALSE;
    }
    if (bytes.size() > static_cast<size_t>(INT32_MAX))
        return Fail(ERROR_INVALID_PARAMETER);
    const int needed = static_cast<int>(bytes.size());
    if (cbDst == 0)
        return needed;
    if (needed > cbDst)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(dst, bytes.data(), bytes.size());
    return needed;
}

namespace zyn::base {

bool SetAnsiCodePage(UINT codePage)
{
    if (!KindOf(codePage))
        return false;
    g_ansiCodePage.store(codePage, std::memory_order_relaxed);
    return true;
}

UINT ResolveCodePage(UINT codePage)
{
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
        return GetACP();
    case CP_OEMCP:
        return GetOEMCP();
    default:
        return codePage;
    }
}

std::wstring AnsiToWide(std::string_view text, UINT codePage, bool* ok)
{
    auto kind = KindOf(ResolveCodePage(codePage));
    bool supported = kind.has_value();
    if (!kind)
        kind = KindOf(GetACP());
    bool good = true;
    std::wstring out = Decode(*kind, text, &good);
    if (ok)
        *ok = good && supported;
    return out;
}

std::string WideToAnsi(std::wstring_view text, UINT codePage, bool* ok)
{
    auto kind = KindOf(ResolveCodePage(codePage));
    bool supported = kind.has_value();
    if (!kind)
        kind = KindOf(GetACP());
    bool good = true;
    std::string out;
    if (*kind == Kind::Utf8) {
        out = ToUtf8(text, &good);
    } else {
        bool used = false;
        out = EncodeSingleByte(*kind, text, '?', used);
        good = !used;
    }
    if (ok)
        *ok = good && supported;
    return out;
}

} // namespace zyn::base
