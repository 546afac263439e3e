#pragma once
// Narrow text: the ANSI code page of the platform user locale, and the conversion
// functions between narrow and wide text. Wide text is wchar_t code points, so the
// wide counts of MultiByteToWideChar / WideCharToMultiByte are in code points (a
// character outside the BMP is one unit here, two in UTF-16).
//
// Supported code pages: 1252 (Western, the default ANSI code page), 28591 (Latin-1),
// 437 (the OEM code page) and 65001 (UTF-8).
#include <string>
#include <string_view>

#include "platform/base/wintypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_MACCP = 2;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_UTF7 = 65000;
inline constexpr UINT CP_UTF8 = 65001;

inline constexpr DWORD MB_PRECOMPOSED = 0x01;
inline constexpr DWORD MB_COMPOSITE = 0x02;
inline constexpr DWORD MB_USEGLYPHCHARS = 0x04;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

inline constexpr DWORD WC_DISCARDNS = 0x10;
inline constexpr DWORD WC_SEPCHARS = 0x20;
inline constexpr DWORD WC_DEFAULTCHAR = 0x40;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
inline constexpr DWORD WC_COMPOSITECHECK = 0x200;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// The current ANSI code page (1252 by default; settable through the user locale).
UINT GetACP();
// The OEM code page: 437, or 65001 while the ANSI code page is UTF-8.
UINT GetOEMCP();
BOOL IsValidCodePage(UINT codePage);

// Windows semantics: a source count of -1 means NUL-terminated, and the terminator is
// converted and counted too; a destination size of 0 asks for the size needed; a
// destination too small fails with ERROR_INSUFFICIENT_BUFFER (and writes nothing);
// MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS make ill-formed input fail with
// ERROR_NO_UNICODE_TRANSLATION instead of turning into U+FFFD. Characters that the
// target single-byte code page cannot hold become the default character ('?' unless
// given), and *usedDefaultChar says so. No best-fit mapping is done: a character
// becomes either itself or the default character.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
    LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace zyn::base {
// Sets the ANSI code page (called when the user locale changes). Supported: 1252,
// 28591 (Latin-1), 437 and 65001 (UTF-8); false (and no change) for any other.
bool SetAnsiCodePage(UINT codePage);

// The code page that CP_ACP / CP_OEMCP / CP_THREAD_ACP stand for; other values are
// returned as they are.
UINT ResolveCodePage(UINT codePage);

// Whole-string conversions that never fail: ill-formed UTF-8 becomes U+FFFD and
// characters the code page cannot hold become '?'. `ok`, when given, is set to false
// when that happened or when the code page is not supported (the ANSI code page is
// used then).
std::wstring AnsiToWide(std::string_view text, UINT codePage = CP_ACP, bool* ok = nullptr);
std::string WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP, bool* ok = nullptr);
} // namespace zyn::base
