#pragma once
// The one printf-style formatter of the platform. Callers use variadic templates
// (CString::Format, FormatMessage, AfxFormatString…) that pack their arguments into
// FormatArg records, so the formatter knows each argument's real type. Conversions keep
// their Windows meaning: in a wide format %s is a wide string and %S a narrow one (the
// other way round in a narrow format), %hs/%ls are explicit, %ld is 32-bit, %I64d and
// %lld are 64-bit, %I32d 32-bit, %Id pointer-sized; FormatMessage-style inserts are %1
// to %99 with optional !printf-spec!. An argument whose kind does not fit its
// conversion (an integer for %s, a string for %d, a double for %x), or a conversion with
// no argument left, throws CInvalidArgException instead of reading garbage.

#include <cstdint>
#include <span>
#include <string>
#include <type_traits>

#include "platform/base/wintypes.h"

namespace zyn::base {

struct FormatArg {
    enum class Kind : uint8_t { Signed, Unsigned, Float, WideStr, NarrowStr, Pointer };
    Kind kind;
    uint8_t size = 0; // bytes of an integer argument
    union {
        int64_t i;
        uint64_t u;
        double d;
        const wchar_t* ws;
        const char* ns;
        const void* p;
    };

    FormatArg(bool v) : kind(Kind::Signed), size(sizeof(int)), i(v) {}
    FormatArg(char v) : kind(Kind::Signed), size(1), i(v) {}
    FormatArg(signed char v) : kind(Kind::Signed), size(1), i(v) {}
    FormatArg(unsigned char v) : kind(Kind::Unsigned), size(1), u(v) {}
    FormatArg(wchar_t v) : kind(Kind::Unsigned), size(2), u(static_cast<uint32_t>(v)) {}
    FormatArg(char16_t v) : kind(Kind::Unsigned), size(2), u(v) {}
    FormatArg(short v) : kind(Kind::Signed), size(2), i(v) {}
    FormatArg(unsigned short v) : kind(Kind::Unsigned), size(2), u(v) {}
    FormatArg(int v) : kind(Kind::Signed), size(4), i(v) {}
    FormatArg(unsigned v) : kind(Kind::Unsigned), size(4), u(v) {}
    FormatArg(int64_t v) : kind(Kind::Signed), size(8), i(v) {}
    FormatArg(uint64_t v) : kind(Kind::Unsigned), size(8), u(v) {}
    // int64_t is a distinct type from long long here; both are 64-bit.
    FormatArg(long long v) : kind(Kind::Signed), size(8), i(v) {}
    FormatArg(unsigned long long v) : kind(Kind::Unsigned), size(8), u(v) {}
    FormatArg(float v) : kind(Kind::Float), d(v) {}
    FormatArg(double v) : kind(Kind::Float), d(v) {}
    FormatArg(long double v) : kind(Kind::Float), d(static_cast<double>(v)) {}
    FormatArg(const wchar_t* v) : kind(Kind::WideStr), ws(v) {}
    FormatArg(wchar_t* v) : kind(Kind::WideStr), ws(v) {}
    FormatArg(const char* v) : kind(Kind::NarrowStr), ns(v) {}
    FormatArg(char* v) : kind(Kind::NarrowStr), ns(v) {}
    FormatArg(std::nullptr_t) : kind(Kind::Pointer), p(nullptr) {}
    FormatArg(const std::wstring& v) : kind(Kind::WideStr), ws(v.c_str()) {}
    FormatArg(const std::string& v) : kind(Kind::NarrowStr), ns(v.c_str()) {}
    template <class E>
        requires std::is_enum_v<E>
    FormatArg(E v) : FormatArg(static_cast<std::underlying_type_t<E>>(v))
    {
    }
    // Any other pointer (handles included) formats with %p or %x.
    template <class T>
        requires(!std::is_same_v<std::remove_cv_t<T>, char> && !std::is_same_v<std::remove_cv_t<T>, wchar_t>)
    FormatArg(T* v) : kind(Kind::Pointer), p(v)
    {
    }
    // CStringT and anything else that offers GetString().
    template <class S>
        requires requires(const S& s) { s.GetString(); }
    FormatArg(const S& s) : FormatArg(s.GetString())
    {
    }
};

using FormatArgs = std::span<const FormatArg>;

// printf-style formatting with Windows conversion semantics. Flags -+ #0, width and
// precision (also '*' from an integer argument), length modifiers hh h l ll L I I32 I64
// w z j t, conversions d i u o x X c C s S p e E f F g G a A and %%. Integer arguments
// are cut or extended to the conversion's width as a 64-bit Windows program reads
// them (%d: 32 bits; %hd: 16; %ld: 32; %lld, %I64d, %Id, %zd: 64); a signed argument
// widens by its sign. A string argument of the other width than the conversion names
// is converted, not misread; a null string prints "(null)". %p prints 16 upper-case
// hex digits. %n is refused. Text in the other character width converts through the
// ANSI code page.
std::wstring FormatPrintf(const wchar_t* fmt, FormatArgs args);
std::string FormatPrintf(const char* fmt, FormatArgs args);

// FormatMessage-style formatting: %1..%99 with optional !spec! (a printf spec without
// the '%', default !s!; each '*' in it takes the insert's next argument, so %1!*d!
// reads the width from argument 1 and the value from argument 2), %n line break
// (CR LF), %0 ends the output, %t %r %. %! %% %space escapes. An insert whose number
// has no argument is left in the output as it stands (it never reads past the
// arguments); a malformed !spec! or an argument of the wrong kind throws like
// FormatPrintf.
std::wstring FormatMessageText(const wchar_t* fmt, FormatArgs args);
std::string FormatMessageText(const char* fmt, FormatArgs args);

// Packs the arguments and calls `f(FormatArgs)`.
template <class F, class... A>
auto WithFormatArgs(F&& f, const A&... a)
{
    if constexpr (sizeof...(A) == 0) {
        return f(FormatArgs{});
    } else {
        const FormatArg args[] = {FormatArg(a)...};
        return f(FormatArgs(args, sizeof...(A)));
    }
}

template <class... A>
std::wstring Sprintf(const wchar_t* fmt, const A&... a)
{
    return WithFormatArgs([fmt](FormatArgs args) { return FormatPrintf(fmt, args); }, a...);
}
template <class... A>
std::string Sprintf(const char* fmt, const A&... a)
{
    return WithFormatArgs([fmt](FormatArgs args) { return FormatPrintf(fmt, args); }, a...);
}
template <class... A>
std::wstring FormatMessageString(const wchar_t* fmt, const A&... a)
{
    return WithFormatArgs([fmt](FormatArgs args) { return FormatMessageText(fmt, args); }, a...);
}
template <class... A>
std::string FormatMessageString(const char* fmt, const A&... a)
{
    return WithFormatArgs([fmt](FormatArgs args) { return FormatMessageText(fmt, args); }, a...);
}

} // namespace zyn::base
