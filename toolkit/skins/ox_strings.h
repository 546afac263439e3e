#pragma once
// The toolkit's bounded string functions: thin wrappers over the bounds-checked run-time
// functions (wcscpy_s, strncpy_s, _itow_s, wcstombs_s, _wsplitpath_s, ...), so toolkit
// code copies into fixed buffers without overrunning them.
//
// Every function reports an error through its result instead of ending the process: an
// errno_t (EINVAL for a null or zero-sized destination, a null source or a bad radix;
// ERANGE for a result that does not fit; STRUNCATE when _TRUNCATE cut it; EILSEQ for a
// character the narrow code page cannot hold), -1 from the formatting functions, a null
// pointer from those that allocate. Where the run-time empties the destination on an
// error, so do these; a zero-sized destination is never written. Wide text is the
// platform's wchar_t; narrow text is in the ANSI code page of the platform's user locale.
// Formatting goes through the platform's type-safe formatter (the Windows meaning of the
// conversions: %s in a wide format is a wide string).
#include <cstddef>

#include "platform/base/format.h"
#include "platform/base/tchar.h"
#include "platform/base/wintypes.h"

// ---- copying and concatenation -------------------------------------------------------
errno_t OXStrCopyW(wchar_t* dst, size_t size, const wchar_t* src);          // wcscpy_s
errno_t OXStrCopyExW(wchar_t* dst, size_t size, const wchar_t* src);        // wcscpy_s
errno_t OXStrNCopyW(wchar_t* dst, size_t size, const wchar_t* src, size_t count); // wcsncpy_s
errno_t OXStrCopyA(char* dst, size_t size, const char* src);                // strcpy_s
errno_t OXStrNCopyA(char* dst, size_t size, const char* src, size_t count); // strncpy_s
errno_t OXStrCatW(wchar_t* dst, size_t size, const wchar_t* src);           // wcscat_s
errno_t OXStrNCatW(wchar_t* dst, size_t size, const wchar_t* src, size_t count); // wcsncat_s

// ---- numbers to text (radix 2..36; a minus sign only in radix 10) -----------------------
errno_t OXIntToStrW(int value, wchar_t* dst, size_t size, int radix);       // _itow_s
errno_t OXIntToStrA(int value, char* dst, size_t size, int radix);          // _itoa_s
errno_t OXLongToStrW(LONG value, wchar_t* dst, size_t size, int radix);     // _ltow_s

// ---- formatting: the length written, or -1 (destination emptied) when the format is
// null, an argument does not suit its conversion, or the text does not fit -------------
namespace zyn::toolkit {
int FormatInto(wchar_t* dst, size_t size, const wchar_t* format, zyn::base::FormatArgs args);
int FormatInto(char* dst, size_t size, const char* format, zyn::base::FormatArgs args);
} // namespace zyn::toolkit

template <class... A>
int OXFormatStrW(wchar_t* dst, size_t size, const wchar_t* format, const A&... args)
{
    return zyn::base::WithFormatArgs(
        [&](zyn::base::FormatArgs packed) { return zyn::toolkit::FormatInto(dst, size, format, packed); }, args...);
}
template <class... A>
int OXFormatStrA(char* dst, size_t size, const char* format, const A&... args)
{
    return zyn::base::WithFormatArgs(
        [&](zyn::base::FormatArgs packed) { return zyn::toolkit::FormatInto(dst, size, format, packed); }, args...);
}

// ---- wide and narrow text ------------------------------------------------------------------
// wcstombs_s: at most `count` bytes (or _TRUNCATE: what fits) of src's narrow form into
// dst; *converted (when given) gets the bytes written with the terminator. dst null with
// size 0 asks for the size needed.
errno_t OXWideToMultiByte(size_t* converted, char* dst, size_t size, const wchar_t* src, size_t count);
// mbstowcs_s: at most `count` characters (or _TRUNCATE); the characters written with the
// terminator (the size needed when dst is null and size 0), or 0 on an error.
size_t OXMultiByteToWide(wchar_t* dst, size_t size, const char* src, size_t count);

// ---- tokens and paths --------------------------------------------------------------------
// wcstok_s: the next token of str (null: continue from *context), or null.
wchar_t* OXStrTokW(wchar_t* str, const wchar_t* delimiters, wchar_t** context);
// _wsplitpath_s: drive ("C:"), folder (up to the last '\' or '/'), name and extension
// (from the last '.' of the name); a null component with size 0 is not wanted. On an
// error every wanted component is emptied.
errno_t OXSplitPathW(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir, size_t dirSize,
    wchar_t* name, size_t nameSize, wchar_t* ext, size_t extSize);

// ---- allocating (the caller frees the result with delete[]) -----------------------------------
// _fcvt_s: the decimal digits of value rounded to `count` places after the point,
// without sign or point and without leading zeros; *decimal is where the point goes
// (the digits d1 d2 ... mean 0.d1d2... x 10^*decimal), *sign is non-zero for a negative
// value. The buffer is as long as the digits need. Null for a null out-parameter, a
// count outside 0..349, or a value that is not finite.
char* OXFloatToDigitsA(double value, int count, int* decimal, int* sign);
// _wgetenv_s: a copy of the variable's value, or null when it is not set.
wchar_t* OXGetEnvW(const wchar_t* name);
