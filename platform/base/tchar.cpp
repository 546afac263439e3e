#include "platform/base/tchar.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <locale.h>
#include <string_view>

#include "platform/base/charcase.h"

using zyn::base::IsAlphaChar;
using zyn::base::IsDigitChar;
using zyn::base::IsSpaceChar;
using zyn::base::ToLowerChar;
using zyn::base::ToUpperChar;

namespace {

errno_t Err(errno_t e)
{
    errno = e;
    return e;
}

// Empties the destination (when there is room for a terminator) and reports e.
errno_t Fail(wchar_t* dst, size_t size, errno_t e)
{
    if (dst && size > 0)
        dst[0] = L'\0';
    return Err(e);
}

template <class Ch>
size_t BoundedLength(const Ch* s, size_t max)
{
    size_t n = 0;
    while (n < max && s[n] != Ch{})
        ++n;
    return n;
}

// ---- integers from text ----------------------------------------------------------

int DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z')
        return c - L'A' + 10;
    return 99;
}

struct Parsed {
    uint64_t magnitude = 0;
    bool negative = false;
    bool overflow = false; // the magnitude exceeded `limit`
};

// strtol-style parsing: white space, sign, base prefix, digits. `limit` is the
// largest magnitude the caller can hold (for the sign found).
Parsed ParseInteger(const wchar_t* s, wchar_t** end, int base, uint64_t limitPos, uint64_t limitNeg)
{
    Parsed r;
    if (end)
        *end = const_cast<wchar_t*>(s);
    if (s == nullptr || base < 0 || base == 1 || base > 36) {
        errno = EINVAL;
        return r;
    }
    const wchar_t* p = s;
    while (IsSpaceChar(*p))
        ++p;
    if (*p == L'+' || *p == L'-') {
        r.negative = *p == L'-';
        ++p;
    }
    const wchar_t* digitsStart = p;
    if ((base == 0 || base == 16) && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && DigitValue(p[2]) < 16) {
        p += 2;
        base = 16;
        digitsStart = p;
    } else if (base == 0) {
        base = p[0] == L'0' ? 8 : 10;
    }
    const uint64_t limit = r.negative ? limitNeg : limitPos;
    const auto b = static_cast<uint64_t>(base);
    while (DigitValue(*p) < base) {
        const auto d = static_cast<uint64_t>(DigitValue(*p));
        if (!r.overflow) {
            if (r.magnitude > (limit - d) / b)
                r.overflow = true;
            else
                r.magnitude = r.magnitude * b + d;
        }
        ++p;
    }
    if (p == digitsStart) {
        r = Parsed{}; // nothing converted: *end stays at s
        return r;
    }
    if (end)
        *end = const_cast<wchar_t*>(p);
    if (r.overflow)
        errno = ERANGE;
    return r;
}

int64_t SignedResult(const Parsed& r, uint64_t maxPos, uint64_t maxNeg)
{
    if (r.overflow)
        return r.negative ? -static_cast<int64_t>(maxNeg - 1) - 1 : static_cast<int64_t>(maxPos);
    if (r.negative)
        return r.magnitude == maxNeg ? -static_cast<int64_t>(maxNeg - 1) - 1 : -static_cast<int64_t>(r.magnitude);
    return static_cast<int64_t>(r.magnitude);
}

// ---- integers to text --------------------------------------------------------------

errno_t ToText(uint64_t magnitude, bool negative, wchar_t* buf, size_t size, int radix)
{
    if (buf == nullptr || size == 0)
        return Err(EINVAL);
    if (radix < 2 || radix > 36)
        return Fail(buf, size, EINVAL);
    wchar_t digits[72];
    size_t n = 0;
    do {
        const auto d = static_cast<int>(magnitude % static_cast<uint64_t>(radix));
        digits[n++] = static_cast<wchar_t>(d < 10 ? L'0' + d : L'a' + d - 10);
        magnitude /= static_cast<uint64_t>(radix);
    } while (magnitude != 0);
    const size_t need = n + (negative ? 1 : 0) + 1;
    if (need > size)
        return Fail(buf, size, ERANGE);
    size_t k = 0;
    if (negative)
        buf[k++] = L'-';
    while (n > 0)
        buf[k++] = digits[--n];
    buf[k] = L'\0';
    return 0;
}

errno_t SignedToText(int64_t value, uint64_t asUnsigned, wchar_t* buf, size_t size, int radix)
{
    if (radix == 10 && value < 0)
        return ToText(static_cast<uint64_t>(0) - static_cast<uint64_t>(value), true, buf, size, radix);
    return ToText(radix == 10 ? static_cast<uint64_t>(value) : asUnsigned, false, buf, size, radix);
}

template <class F>
LPWSTR MapString(LPWSTR psz, F map)
{
    const auto v = reinterpret_cast<uintptr_t>(psz);
    if (v <= 0x10FFFF) // a single character carried in the pointer
        return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(static_cast<uint32_t>(map(static_cast<wchar_t>(v)))));
    for (wchar_t* p = psz; *p; ++p)
        *p = map(*p);
    return psz;
}

} // namespace

// ---- copying --------------------------------------------------------------------------

errno_t wcscpy_s(wchar_t* dst, size_t size, const wchar_t* src)
{
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    if (src == nullptr)
        return Fail(dst, size, EINVAL);
    const size_t n = std::wcslen(src);
    if (n + 1 > size)
        return Fail(dst, size, ERANGE);
    std::wmemmove(dst, src, n + 1);
    return 0;
}

errno_t wcsncpy_s(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    if (dst == nullptr && size == 0 && count == 0)
        return 0;
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    if (src == nullptr) {
        dst[0] = L'\0';
        return count == 0 ? 0 : Err(EINVAL);
    }
    size_t n = count == _TRUNCATE ? std::wcslen(src) : BoundedLength(src, count);
    errno_t result = 0;
    if (n + 1 > size) {
        if (count != _TRUNCATE)
            return Fail(dst, size, ERANGE);
        n = size - 1;
        result = STRUNCATE;
    }
    std::wmemmove(dst, src, n);
    dst[n] = L'\0';
    return result;
}

errno_t wcscat_s(wchar_t* dst, size_t size, const wchar_t* src)
{
    // A count no string reaches: the whole source, and no truncation.
    return wcsncat_s(dst, size, src, _TRUNCATE - 1);
}

errno_t wcsncat_s(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    if (src == nullptr)
        return Fail(dst, size, EINVAL);
    const size_t have = BoundedLength(dst, size);
    if (have == size) // not terminated within its buffer
        return Fail(dst, size, EINVAL);
    size_t n = count == _TRUNCATE ? std::wcslen(src) : BoundedLength(src, count);
    errno_t result = 0;
    if (have + n + 1 > size) {
        if (count != _TRUNCATE)
            return Fail(dst, size, ERANGE);
        n = size - 1 - have;
        result = STRUNCATE;
    }
    std::wmemmove(dst + have, src, n);
    dst[have + n] = L'\0';
    return result;
}

// ---- comparison -------------------------------------------------------------------------

namespace {

// The case-blind comparisons, wide and narrow: at most `count` characters of each string
// (all of them for SIZE_MAX); _NLSCMPERROR, with errno EINVAL, for a null string.
template <class Ch>
int CompareNoCaseChecked(const Ch* a, const Ch* b, size_t count)
{
    if (count == 0)
        return 0;
    if (a == nullptr || b == nullptr) {
        errno = EINVAL;
        return _NLSCMPERROR;
    }
    using View = std::basic_string_view<Ch>;
    return zyn::base::CompareNoCase(View(a, BoundedLength(a, count)), View(b, BoundedLength(b, count)));
}

} // namespace

int _wcsicmp(const wchar_t* a, const wchar_t* b) { return CompareNoCaseChecked(a, b, SIZE_MAX); }
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count) { return CompareNoCaseChecked(a, b, count); }
int _stricmp(const char* a, const char* b) { return CompareNoCaseChecked(a, b, SIZE_MAX); }
int _strnicmp(const char* a, const char* b, size_t count) { return CompareNoCaseChecked(a, b, count); }

// ---- case -----------------------------------------------------------------------------

namespace {

// Maps a string in place within its buffer of `size` characters; a string that is not
// terminated within it is emptied and refused.
template <class Map>
errno_t MapCase(wchar_t* str, size_t size, Map map)
{
    if (str == nullptr || size == 0)
        return Err(EINVAL);
    const size_t n = BoundedLength(str, size);
    if (n == size)
        return Fail(str, size, EINVAL);
    for (size_t i = 0; i < n; ++i)
        str[i] = map(str[i]);
    return 0;
}

} // namespace

errno_t _wcsupr_s(wchar_t* str, size_t size) { return MapCase(str, size, [](wchar_t c) { return ToUpperChar(c); }); }
errno_t _wcslwr_s(wchar_t* str, size_t size) { return MapCase(str, size, [](wchar_t c) { return ToLowerChar(c); }); }

// ---- numbers from text -------------------------------------------------------------------

LONG _wcstol(const wchar_t* s, wchar_t** end, int base)
{
    const Parsed r = ParseInteger(s, end, base, 0x7FFFFFFFu, 0x80000000u);
    return static_cast<LONG>(SignedResult(r, 0x7FFFFFFFu, 0x80000000u));
}

ULONG _wcstoul(const wchar_t* s, wchar_t** end, int base)
{
    const Parsed r = ParseInteger(s, end, base, 0xFFFFFFFFu, 0xFFFFFFFFu);
    if (r.overflow)
        return 0xFFFFFFFFu;
    const auto v = static_cast<ULONG>(r.magnitude);
    return r.negative ? static_cast<ULONG>(0u - v) : v;
}

int64_t _wcstoi64(const wchar_t* s, wchar_t** end, int base)
{
    constexpr uint64_t maxPos = 0x7FFFFFFFFFFFFFFFull;
    constexpr uint64_t maxNeg = 0x8000000000000000ull;
    return SignedResult(ParseInteger(s, end, base, maxPos, maxNeg), maxPos, maxNeg);
}

uint64_t _wcstoui64(const wchar_t* s, wchar_t** end, int base)
{
    const Parsed r = ParseInteger(s, end, base, ~uint64_t{0}, ~uint64_t{0});
    if (r.overflow)
        return ~uint64_t{0};
    return r.negative ? uint64_t{0} - r.magnitude : r.magnitude;
}

int _wtoi(const wchar_t* s) { return static_cast<int>(_wcstol(s, nullptr, 10)); }
LONG _wtol(const wchar_t* s) { return _wcstol(s, nullptr, 10); }
int64_t _wtoi64(const wchar_t* s) { return _wcstoi64(s, nullptr, 10); }

double _wcstod(const wchar_t* s, wchar_t** end)
{
    if (s == nullptr) {
        if (end)
            *end = nullptr;
        errno = EINVAL;
        return 0.0;
    }
    // The C locale, whatever the process locale says, so '.' is the decimal point.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return ::wcstod_l(s, end, cLocale);
}

double _wtof(const wchar_t* s) { return _wcstod(s, nullptr); }

// ---- numbers to text ----------------------------------------------------------------------

errno_t _itow_s(int value, wchar_t* buf, size_t size, int radix)
{
    return SignedToText(value, static_cast<uint32_t>(value), buf, size, radix);
}

errno_t _ltow_s(LONG value, wchar_t* buf, size_t size, int radix)
{
    return SignedToText(value, static_cast<uint32_t>(value), buf, size, radix);
}

errno_t _ultow_s(ULONG value, wchar_t* buf, size_t size, int radix) { return ToText(value, false, buf, size, radix); }

errno_t _i64tow_s(int64_t value, wchar_t* buf, size_t size, int radix)
{
    return SignedToText(value, static_cast<uint64_t>(value), buf, size, radix);
}

errno_t _ui64tow_s(uint64_t value, wchar_t* buf, size_t size, int radix) { return ToText(value, false, buf, size, radix); }

// ---- Win32 string functions --------------------------------------------------------------

int lstrlenW(LPCWSTR s) { return s ? static_cast<int>(std::wcslen(s)) : 0; }
int lstrlen(LPCWSTR s) { return lstrlenW(s); }

LPWSTR lstrcpynW(LPWSTR dst, LPCWSTR src, int iMaxLength)
{
    if (dst == nullptr)
        return nullptr;
    if (iMaxLength <= 0)
        return dst;
    const size_t n = src ? BoundedLength(src, static_cast<size_t>(iMaxLength - 1)) : 0;
    if (n > 0)
        std::wmemmove(dst, src, n);
    dst[n] = L'\0';
    return dst;
}

LPWSTR lstrcpyn(LPWSTR dst, LPCWSTR src, int iMaxLength) { return lstrcpynW(dst, src, iMaxLength); }

namespace {

int WordCompare(LPCWSTR a, LPCWSTR b, bool ignoreCase)
{
    if (a == nullptr || b == nullptr)
        return a == b ? 0 : (a == nullptr ? -1 : 1);
    return zyn::base::CompareWordSort(a, b, ignoreCase);
}

} // namespace

int lstrcmpW(LPCWSTR a, LPCWSTR b) { return WordCompare(a, b, false); }
int lstrcmp(LPCWSTR a, LPCWSTR b) { return WordCompare(a, b, false); }
int lstrcmpiW(LPCWSTR a, LPCWSTR b) { return WordCompare(a, b, true); }
int lstrcmpi(LPCWSTR a, LPCWSTR b) { return WordCompare(a, b, true); }

LPWSTR CharUpperW(LPWSTR psz) { return MapString(psz, [](wchar_t c) { return ToUpperChar(c); }); }
LPWSTR CharLowerW(LPWSTR psz) { return MapString(psz, [](wchar_t c) { return ToLowerChar(c); }); }
LPWSTR CharUpper(LPWSTR psz) { return CharUpperW(psz); }
LPWSTR CharLower(LPWSTR psz) { return CharLowerW(psz); }

DWORD CharUpperBuffW(LPWSTR psz, DWORD cch)
{
    if (psz == nullptr)
        return 0;
    for (DWORD i = 0; i < cch; ++i)
        psz[i] = ToUpperChar(psz[i]);
    return cch;
}

DWORD CharLowerBuffW(LPWSTR psz, DWORD cch)
{
    if (psz == nullptr)
        return 0;
    for (DWORD i = 0; i < cch; ++i)
        psz[i] = ToLowerChar(psz[i]);
    return cch;
}

BOOL IsCharAlphaW(WCHAR ch) { return IsAlphaChar(ch) ? TRUE : FALSE; }
BOOL IsCharAlphaNumericW(WCHAR ch) { return (IsAlphaChar(ch) || IsDigitChar(ch)) ? TRUE : FALSE; }
BOOL IsCharUpperW(WCHAR ch) { return ToLowerChar(ch) != ch ? TRUE : FALSE; }
BOOL IsCharLowerW(WCHAR ch) { return (ToUpperChar(ch) != ch || ch == 0xDF) ? TRUE : FALSE; }
BOOL IsCharAlpha(WCHAR ch) { return IsCharAlphaW(ch); }
BOOL IsCharAlphaNumeric(WCHAR ch) { return IsCharAlphaNumericW(ch); }

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
    int64_t q = product / nDenominator;
    const int64_t r = product % nDenominator;
    // Round half away from zero: |2r| >= |d| moves the quotient away from zero.
    const uint64_t twiceR = 2 * static_cast<uint64_t>(r < 0 ? -r : r);
    const uint64_t absD = static_cast<uint64_t>(nDenominator < 0 ? -static_cast<int64_t>(nDenominator) : nDenominator);
    if (twiceR >= absD)
        q += ((product < 0) != (nDenominator < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return static_cast<int>(q);
}

// ---- character classes ---------------------------------------------------------------------

int _istspace_w(wchar_t c) { return IsSpaceChar(c) ? 1 : 0; }
int _istdigit_w(wchar_t c) { return IsDigitChar(c) ? 1 : 0; }
int _istalpha_w(wchar_t c) { return IsAlphaChar(c) ? 1 : 0; }
int _istalnum_w(wchar_t c) { return (IsAlphaChar(c) || IsDigitChar(c)) ? 1 : 0; }
int _istupper_w(wchar_t c) { return IsCharUpperW(c); }
int _istlower_w(wchar_t c) { return IsCharLowerW(c); }
int _istxdigit_w(wchar_t c) { return DigitValue(c) < 16 ? 1 : 0; }
wchar_t _towupper_w(wchar_t c) { return ToUpperChar(c); }
wchar_t _towlower_w(wchar_t c) { return ToLowerChar(c); }

namespace zyn::base {

int CopyFormatted(wchar_t* buf, size_t size, const std::wstring& text, size_t count)
{
    if (buf == nullptr || size == 0) {
        errno = EINVAL;
        return -1;
    }
    const size_t len = text.size();
    if (count != _TRUNCATE && count < size) {
        const size_t n = std::min(len, count);
        std::wmemcpy(buf, text.data(), n);
        buf[n] = L'\0';
        return n == len ? static_cast<int>(len) : -1;
    }
    if (len < size) {
        std::wmemcpy(buf, text.data(), len);
        buf[len] = L'\0';
        return static_cast<int>(len);
    }
    if (count == _TRUNCATE) {
        std::wmemcpy(buf, text.data(), size - 1);
        buf[size - 1] = L'\0';
        return -1;
    }
    buf[0] = L'\0';
    errno = ERANGE;
    return -1;
}

} // namespace zyn::base
