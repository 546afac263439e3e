#pragma once
// Narrow text: the ANSI code page of the platform user locale, and the conversion
// functions between narrow and wide text.
#include <string>
#include <string_view>

#include "platform/base/wintypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// The current ANSI code page (1252 by default; 65001 when the environment's locale
// is UTF-8 and the user locale says so; settable by tests through the locale).
UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT codePage);

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
    LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace zyn::base {
// Sets the ANSI code page (called when the user locale changes). Supported: 1252,
// 28591 (Latin-1), 65001 (UTF-8).
bool SetAnsiCodePage(UINT codePage);
std::wstring AnsiToWide(std::string_view text, UINT codePage = CP_ACP);
std::string WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP);
} // namespace zyn::base
