#pragma once
// CStringT: the class library's string, wide (CString, CStringW) and narrow (CStringA).
// The wide string holds wchar_t code points; lengths are in wchar_t units. Byte formats
// never use GetLength() for sizes: they go through the UTF-16 codec (utf16.h).
// Narrow text converts through the platform's ANSI code page (codepage.h).
//
// Class-library semantics: Mid/Left/Right/Insert/Delete clamp their arguments; Find
// and friends return -1 when nothing is found; GetAt may read the terminator position,
// and GetAt/SetAt out of range, negative lengths and null sources with a length throw
// CInvalidArgException. Trim uses white space as iswspace classifies it (the C locale
// for narrow strings); MakeUpper/MakeLower/CompareNoCase map case by code point
// (charcase.h), never through the C library locale.

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/format.h"
#include "platform/base/wintypes.h"

template <class C>
class CStringT {
public:
    using XCHAR = C;
    using PXSTR = C*;
    using PCXSTR = const C*;
    using YCHAR = std::conditional_t<std::is_same_v<C, wchar_t>, char, wchar_t>;
    using PCYSTR = const YCHAR*;
    using StringType = std::basic_string<C>;

    CStringT() = default;
    CStringT(const CStringT&) = default;
    CStringT(CStringT&&) noexcept = default;
    CStringT(PCXSTR psz);                       // null is the empty string; a resource ID throws
    CStringT(PCXSTR pch, int nLength);
    CStringT(PCYSTR psz);                       // converts through the ANSI code page / UTF-16
    CStringT(PCYSTR pch, int nLength);
    CStringT(const CStringT<YCHAR>& other);
    explicit CStringT(C ch, int nRepeat = 1);
    explicit CStringT(const StringType& s) : m_str(s) {}
    explicit CStringT(StringType&& s) : m_str(std::move(s)) {}
    explicit CStringT(std::basic_string_view<C> s) : m_str(s) {}
    ~CStringT() = default;

    CStringT& operator=(const CStringT&) = default;
    CStringT& operator=(CStringT&&) noexcept = default;
    CStringT& operator=(PCXSTR psz);
    CStringT& operator=(PCYSTR psz);
    CStringT& operator=(C ch);
    CStringT& operator=(const CStringT<YCHAR>& other);

    CStringT& operator+=(const CStringT& s);
    CStringT& operator+=(PCXSTR psz);
    CStringT& operator+=(PCYSTR psz);
    CStringT& operator+=(C ch);

    // ---- access ----
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    PCXSTR GetString() const { return m_str.c_str(); }
    operator PCXSTR() const { return m_str.c_str(); }
    C GetAt(int i) const;              // out of range throws CInvalidArgException
    void SetAt(int i, C ch);           // out of range throws CInvalidArgException
    C operator[](int i) const { return GetAt(i); }
    const StringType& Str() const { return m_str; }
    StringType& Str() { return m_str; }
    void SetString(PCXSTR psz);
    void SetString(PCXSTR pch, int nLength);
    void Append(PCXSTR psz);
    void Append(PCXSTR pch, int nLength);
    void Append(const CStringT& s) { m_str += s.m_str; }
    void AppendChar(C ch) { m_str.push_back(ch); }

    // ---- buffer ----
    // GetBuffer hands out the string's own storage with room for at least nMinLength
    // characters and a terminator; ReleaseBuffer(-1) takes the length from the first
    // terminator found in that room.
    PXSTR GetBuffer();
    PXSTR GetBuffer(int nMinBufferLength);
    PXSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra();
    PXSTR LockBuffer() { return GetBuffer(); }
    void UnlockBuffer() {}
    void Truncate(int nNewLength);

    // ---- comparison ----
    int Compare(PCXSTR psz) const;
    int CompareNoCase(PCXSTR psz) const;
    // Ordinal comparisons (code point order; -1, 0, 1). CompareNoCase folds each
    // character to lower case by code point (ASCII only for narrow strings).
    // Collate orders text as people read it (see charcase.h: CompareWordSort).
    int Collate(PCXSTR psz) const;
    int CollateNoCase(PCXSTR psz) const;

    // ---- extraction ----
    CStringT Mid(int iFirst) const;
    CStringT Mid(int iFirst, int nCount) const;
    CStringT Left(int nCount) const;
    CStringT Right(int nCount) const;
    CStringT SpanIncluding(PCXSTR pszCharSet) const;
    CStringT SpanExcluding(PCXSTR pszCharSet) const;
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const;

    // ---- modification ----
    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();
    int Replace(C chOld, C chNew);
    int Replace(PCXSTR pszOld, PCXSTR pszNew);
    int Remove(C ch);
    int Insert(int iIndex, C ch);
    int Insert(int iIndex, PCXSTR psz);
    int Delete(int iIndex, int nCount = 1);
    CStringT& Trim();
    CStringT& Trim(C chTarget);
    CStringT& Trim(PCXSTR pszTargets);
    CStringT& TrimLeft();
    CStringT& TrimLeft(C chTarget);
    CStringT& TrimLeft(PCXSTR pszTargets);
    CStringT& TrimRight();
    CStringT& TrimRight(C chTarget);
    CStringT& TrimRight(PCXSTR pszTargets);

    // ---- searching ----
    int Find(C ch, int iStart = 0) const;
    int Find(PCXSTR pszSub, int iStart = 0) const;
    int ReverseFind(C ch) const;
    int FindOneOf(PCXSTR pszCharSet) const;

    // ---- formatting (type-safe; see format.h) ----
    template <class... A>
    void Format(PCXSTR pszFormat, const A&... args)
    {
        FormatV(pszFormat, Pack(args...));
    }
    template <class... A>
    void Format(UINT nFormatID, const A&... args)
    {
        CStringT fmt;
        fmt.LoadString(nFormatID);
        FormatV(fmt.GetString(), Pack(args...));
    }
    template <class... A>
    void AppendFormat(PCXSTR pszFormat, const A&... args)
    {
        AppendFormatV(pszFormat, Pack(args...));
    }
    template <class... A>
    void FormatMessage(PCXSTR pszFormat, const A&... args)
    {
        FormatMessageV(pszFormat, Pack(args...));
    }
    template <class... A>
    void FormatMessage(UINT nFormatID, const A&... args)
    {
        CStringT fmt;
        fmt.LoadString(nFormatID);
        FormatMessageV(fmt.GetString(), Pack(args...));
    }
    void FormatV(PCXSTR pszFormat, zyn::base::FormatArgs args);
    void AppendFormatV(PCXSTR pszFormat, zyn::base::FormatArgs args);
    void FormatMessageV(PCXSTR pszFormat, zyn::base::FormatArgs args);

    // ---- resources ----
    // Loads a string resource from the resource chain (or one module); false and an
    // empty string when it is not found.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Hash of the text, for CMap keys.
    size_t Hash() const { return std::hash<StringType>{}(m_str); }

private:
    template <class... A>
    struct Packed {
        zyn::base::FormatArg args[sizeof...(A) == 0 ? 1 : sizeof...(A)];
        operator zyn::base::FormatArgs() const { return zyn::base::FormatArgs(args, sizeof...(A)); }
    };
    template <class... A>
    static Packed<A...> Pack(const A&... a)
    {
        if constexpr (sizeof...(A) == 0)
            return Packed<>{{zyn::base::FormatArg(0)}};
        else
            return Packed<A...>{{zyn::base::FormatArg(a)...}};
    }

    StringType m_str;
};

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
using CString = CStringW;

// ---- free operators ----
template <class C>
CStringT<C> operator+(const CStringT<C>& a, const CStringT<C>& b)
{
    CStringT<C> r(a);
    r += b;
    return r;
}
template <class C>
CStringT<C> operator+(const CStringT<C>& a, const C* b)
{
    CStringT<C> r(a);
    r += b;
    return r;
}
template <class C>
CStringT<C> operator+(const C* a, const CStringT<C>& b)
{
    CStringT<C> r(a);
    r += b;
    return r;
}
template <class C>
CStringT<C> operator+(const CStringT<C>& a, C b)
{
    CStringT<C> r(a);
    r += b;
    return r;
}
template <class C>
CStringT<C> operator+(C a, const CStringT<C>& b)
{
    CStringT<C> r(a);
    r += b;
    return r;
}

template <class C>
bool operator==(const CStringT<C>& a, const CStringT<C>& b) { return a.Str() == b.Str(); }
template <class C>
bool operator==(const CStringT<C>& a, const C* b) { return a.Compare(b) == 0; }
template <class C>
bool operator==(const C* a, const CStringT<C>& b) { return b.Compare(a) == 0; }
template <class C>
std::strong_ordering operator<=>(const CStringT<C>& a, const CStringT<C>& b)
{
    const int c = a.Compare(b.GetString());
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}
template <class C>
std::strong_ordering operator<=>(const CStringT<C>& a, const C* b)
{
    const int c = a.Compare(b);
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

template <class C>
struct std::hash<CStringT<C>> {
    size_t operator()(const CStringT<C>& s) const { return s.Hash(); }
};
