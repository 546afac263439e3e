#pragma once
// The C run-time string helpers of the Windows-style API with their wide names: the
// `_tcs*` / `_t*` names (TCHAR is wchar_t) forward inline to real wide functions.
// The secure forms validate their arguments and report errors through their errno_t
// result (EINVAL, ERANGE, STRUNCATE), emptying the destination where Windows does,
// instead of ending the process. Case mapping and character classes are the
// platform's own (charcase.h), independent of the C library locale.
//
// The printf-style helpers (swprintf_s, _stprintf_s, _snwprintf_s…) format through
// the platform's type-safe formatter (format.h), never through vswprintf.

#include <cstddef>
#include <cwchar>
#include <string>

#include "platform/base/format.h"
#include "platform/base/wintypes.h"

using errno_t = int;
inline constexpr errno_t STRUNCATE = 80;
inline constexpr size_t _TRUNCATE = static_cast<size_t>(-1);
inline constexpr int _NLSCMPERROR = 0x7FFFFFFF;

// ---- copying and concatenation ---------------------------------------------------
errno_t wcscpy_s(wchar_t* dst, size_t sizeInWords, const wchar_t* src);
errno_t wcsncpy_s(wchar_t* dst, size_t sizeInWords, const wchar_t* src, size_t count);
errno_t wcscat_s(wchar_t* dst, size_t sizeInWords, const wchar_t* src);
errno_t wcsncat_s(wchar_t* dst, size_t sizeInWords, const wchar_t* src, size_t count);

// ---- comparison (case-insensitive forms fold by code point; a null argument gives
// _NLSCMPERROR) -------------------------------------------------------------------
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);

// ---- case -----------------------------------------------------------------------
errno_t _wcsupr_s(wchar_t* str, size_t sizeInWords);
errno_t _wcslwr_s(wchar_t* str, size_t sizeInWords);

// ---- numbers from text (leading white space, an optional sign; out-of-range values
// saturate) -----------------------------------------------------------------------
int _wtoi(const wchar_t* s);
LONG _wtol(const wchar_t* s);
int64_t _wtoi64(const wchar_t* s);
double _wtof(const wchar_t* s);
// base 0 detects 0x (hex) and 0 (octal); *end points after the last digit used, or at
// s when nothing was converted. LONG and ULONG are 32-bit.
LONG _wcstol(const wchar_t* s, wchar_t** end, int base);
ULONG _wcstoul(const wchar_t* s, wchar_t** end, int base);
int64_t _wcstoi64(const wchar_t* s, wchar_t** end, int base);
uint64_t _wcstoui64(const wchar_t* s, wchar_t** end, int base);
double _wcstod(const wchar_t* s, wchar_t** end); // always with '.' as decimal point

// ---- numbers to text (radix 2..36; a negative value gets '-' only in radix 10) -------
errno_t _itow_s(int value, wchar_t* buf, size_t sizeInWords, int radix);
errno_t _ltow_s(LONG value, wchar_t* buf, size_t sizeInWords, int radix);
errno_t _ultow_s(ULONG value, wchar_t* buf, size_t sizeInWords, int radix);
errno_t _i64tow_s(int64_t value, wchar_t* buf, size_t sizeInWords, int radix);
errno_t _ui64tow_s(uint64_t value, wchar_t* buf, size_t sizeInWords, int radix);

// ---- Win32 string functions ---------------------------------------------------------
int lstrlenW(LPCWSTR s);
int lstrlen(LPCWSTR s);
LPWSTR lstrcpynW(LPWSTR dst, LPCWSTR src, int iMaxLength);
LPWSTR lstrcpyn(LPWSTR dst, LPCWSTR src, int iMaxLength);
// Word-sort comparisons as the user locale orders text: letters compare by base
// letter first, then accents, then case (lower before upper); -1, 0 or 1.
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmp(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);
int lstrcmpi(LPCWSTR a, LPCWSTR b);
// A pointer value up to U+10FFFF is a single character (the result carries the mapped
// character the same way); anything else is a string converted in place.
LPWSTR CharUpperW(LPWSTR psz);
LPWSTR CharLowerW(LPWSTR psz);
LPWSTR CharUpper(LPWSTR psz);
LPWSTR CharLower(LPWSTR psz);
DWORD CharUpperBuffW(LPWSTR psz, DWORD cch);
DWORD CharLowerBuffW(LPWSTR psz, DWORD cch);
BOOL IsCharAlphaW(WCHAR ch);
BOOL IsCharAlphaNumericW(WCHAR ch);
BOOL IsCharUpperW(WCHAR ch);
BOOL IsCharLowerW(WCHAR ch);
BOOL IsCharAlpha(WCHAR ch);
BOOL IsCharAlphaNumeric(WCHAR ch);
// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0 or the
// result does not fit an int.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

// ---- character classes ----------------------------------------------------------------
int _istspace_w(wchar_t c);
int _istdigit_w(wchar_t c);
int _istalpha_w(wchar_t c);
int _istalnum_w(wchar_t c);
int _istupper_w(wchar_t c);
int _istlower_w(wchar_t c);
int _istxdigit_w(wchar_t c);
wchar_t _towupper_w(wchar_t c);
wchar_t _towlower_w(wchar_t c);

// ---- printf-style into a caller's buffer -------------------------------------------------
namespace zyn::base {
// Copies formatted text into buf (size in characters, terminator included) as the
// secure printf family does: it fits: the length; count below size limits the text to
// count characters (-1 when that cut it); count _TRUNCATE keeps what fits (-1 when
// cut); otherwise text too long for the buffer leaves it empty and gives -1.
int CopyFormatted(wchar_t* buf, size_t size, const std::wstring& text, size_t count);
} // namespace zyn::base

template <class... A>
int swprintf_s(wchar_t* buf, size_t sizeInWords, const wchar_t* fmt, const A&... args)
{
    return zyn::base::CopyFormatted(buf, sizeInWords, zyn::base::Sprintf(fmt, args...), sizeInWords);
}
template <size_t N, class... A>
int swprintf_s(wchar_t (&buf)[N], const wchar_t* fmt, const A&... args)
{
    return swprintf_s(buf, N, fmt, args...);
}
// count _TRUNCATE: keep what fits and return -1.
template <class... A>
int _snwprintf_s(wchar_t* buf, size_t sizeInWords, size_t count, const wchar_t* fmt, const A&... args)
{
    return zyn::base::CopyFormatted(buf, sizeInWords, zyn::base::Sprintf(fmt, args...), count);
}
template <size_t N, class... A>
int _snwprintf_s(wchar_t (&buf)[N], size_t count, const wchar_t* fmt, const A&... args)
{
    return _snwprintf_s(buf, N, count, fmt, args...);
}
// The unsized legacy form only for arrays, whose size is known.
template <size_t N, class... A>
int _stprintf(wchar_t (&buf)[N], const wchar_t* fmt, const A&... args)
{
    return swprintf_s(buf, N, fmt, args...);
}
template <class... A>
int _stprintf_s(wchar_t* buf, size_t sizeInWords, const wchar_t* fmt, const A&... args)
{
    return swprintf_s(buf, sizeInWords, fmt, args...);
}
template <size_t N, class... A>
int _stprintf_s(wchar_t (&buf)[N], const wchar_t* fmt, const A&... args)
{
    return swprintf_s(buf, N, fmt, args...);
}
template <class... A>
int _sntprintf_s(wchar_t* buf, size_t sizeInWords, size_t count, const wchar_t* fmt, const A&... args)
{
    return _snwprintf_s(buf, sizeInWords, count, fmt, args...);
}
template <size_t N, class... A>
int _sntprintf_s(wchar_t (&buf)[N], size_t count, const wchar_t* fmt, const A&... args)
{
    return _snwprintf_s(buf, N, count, fmt, args...);
}

// ---- the TCHAR names -----------------------------------------------------------------
inline size_t _tcslen(const wchar_t* s) { return s ? std::wcslen(s) : 0; }
inline errno_t _tcscpy_s(wchar_t* dst, size_t size, const wchar_t* src) { return wcscpy_s(dst, size, src); }
template <size_t N>
errno_t _tcscpy_s(wchar_t (&dst)[N], const wchar_t* src)
{
    return wcscpy_s(dst, N, src);
}
template <size_t N>
errno_t wcscpy_s(wchar_t (&dst)[N], const wchar_t* src)
{
    return wcscpy_s(dst, N, src);
}
inline errno_t _tcsncpy_s(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    return wcsncpy_s(dst, size, src, count);
}
template <size_t N>
errno_t _tcsncpy_s(wchar_t (&dst)[N], const wchar_t* src, size_t count)
{
    return wcsncpy_s(dst, N, src, count);
}
inline errno_t _tcscat_s(wchar_t* dst, size_t size, const wchar_t* src) { return wcscat_s(dst, size, src); }
template <size_t N>
errno_t _tcscat_s(wchar_t (&dst)[N], const wchar_t* src)
{
    return wcscat_s(dst, N, src);
}
template <size_t N>
errno_t wcscat_s(wchar_t (&dst)[N], const wchar_t* src)
{
    return wcscat_s(dst, N, src);
}
inline errno_t _tcsncat_s(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    return wcsncat_s(dst, size, src, count);
}
inline int _tcscmp(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b); }
inline int _tcsncmp(const wchar_t* a, const wchar_t* b, size_t n) { return std::wcsncmp(a, b, n); }
inline int _tcsicmp(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }
inline int _tcsnicmp(const wchar_t* a, const wchar_t* b, size_t n) { return _wcsnicmp(a, b, n); }
inline const wchar_t* _tcschr(const wchar_t* s, wchar_t c) { return std::wcschr(s, c); }
inline wchar_t* _tcschr(wchar_t* s, wchar_t c) { return std::wcschr(s, c); }
inline const wchar_t* _tcsrchr(const wchar_t* s, wchar_t c) { return std::wcsrchr(s, c); }
inline wchar_t* _tcsrchr(wchar_t* s, wchar_t c) { return std::wcsrchr(s, c); }
inline const wchar_t* _tcsstr(const wchar_t* s, const wchar_t* sub) { return std::wcsstr(s, sub); }
inline wchar_t* _tcsstr(wchar_t* s, const wchar_t* sub) { return std::wcsstr(s, sub); }
inline const wchar_t* _tcspbrk(const wchar_t* s, const wchar_t* set) { return std::wcspbrk(s, set); }
inline wchar_t* _tcspbrk(wchar_t* s, const wchar_t* set) { return std::wcspbrk(s, set); }
inline size_t _tcsspn(const wchar_t* s, const wchar_t* set) { return std::wcsspn(s, set); }
inline size_t _tcscspn(const wchar_t* s, const wchar_t* set) { return std::wcscspn(s, set); }
inline errno_t _tcsupr_s(wchar_t* s, size_t size) { return _wcsupr_s(s, size); }
inline errno_t _tcslwr_s(wchar_t* s, size_t size) { return _wcslwr_s(s, size); }
template <size_t N>
errno_t _tcsupr_s(wchar_t (&s)[N])
{
    return _wcsupr_s(s, N);
}
template <size_t N>
errno_t _tcslwr_s(wchar_t (&s)[N])
{
    return _wcslwr_s(s, N);
}
inline int _ttoi(const wchar_t* s) { return _wtoi(s); }
inline int _tstoi(const wchar_t* s) { return _wtoi(s); }
inline LONG _ttol(const wchar_t* s) { return _wtol(s); }
inline int64_t _ttoi64(const wchar_t* s) { return _wtoi64(s); }
inline double _ttof(const wchar_t* s) { return _wtof(s); }
inline double _tstof(const wchar_t* s) { return _wtof(s); }
inline LONG _tcstol(const wchar_t* s, wchar_t** end, int base) { return _wcstol(s, end, base); }
inline ULONG _tcstoul(const wchar_t* s, wchar_t** end, int base) { return _wcstoul(s, end, base); }
inline int64_t _tcstoi64(const wchar_t* s, wchar_t** end, int base) { return _wcstoi64(s, end, base); }
inline uint64_t _tcstoui64(const wchar_t* s, wchar_t** end, int base) { return _wcstoui64(s, end, base); }
inline double _tcstod(const wchar_t* s, wchar_t** end) { return _wcstod(s, end); }
inline errno_t _itot_s(int value, wchar_t* buf, size_t size, int radix) { return _itow_s(value, buf, size, radix); }
template <size_t N>
errno_t _itot_s(int value, wchar_t (&buf)[N], int radix)
{
    return _itow_s(value, buf, N, radix);
}
template <size_t N>
errno_t _itow_s(int value, wchar_t (&buf)[N], int radix)
{
    return _itow_s(value, buf, N, radix);
}
inline errno_t _ltot_s(LONG value, wchar_t* buf, size_t size, int radix) { return _ltow_s(value, buf, size, radix); }
template <size_t N>
errno_t _ltow_s(LONG value, wchar_t (&buf)[N], int radix)
{
    return _ltow_s(value, buf, N, radix);
}
inline errno_t _ultot_s(ULONG value, wchar_t* buf, size_t size, int radix) { return _ultow_s(value, buf, size, radix); }
inline errno_t _i64tot_s(int64_t value, wchar_t* buf, size_t size, int radix) { return _i64tow_s(value, buf, size, radix); }
inline errno_t _ui64tot_s(uint64_t value, wchar_t* buf, size_t size, int radix)
{
    return _ui64tow_s(value, buf, size, radix);
}
inline int _istspace(wchar_t c) { return _istspace_w(c); }
inline int _istdigit(wchar_t c) { return _istdigit_w(c); }
inline int _istalpha(wchar_t c) { return _istalpha_w(c); }
inline int _istalnum(wchar_t c) { return _istalnum_w(c); }
inline int _istupper(wchar_t c) { return _istupper_w(c); }
inline int _istlower(wchar_t c) { return _istlower_w(c); }
inline int _istxdigit(wchar_t c) { return _istxdigit_w(c); }
inline wchar_t _totupper(wchar_t c) { return _towupper_w(c); }
inline wchar_t _totlower(wchar_t c) { return _towlower_w(c); }
