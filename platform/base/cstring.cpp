// CStringT members (LoadString lives with the resource code).
#include "platform/base/cstring.h"

#include <algorithm>
#include <cstdint>

#include "platform/base/charcase.h"
#include "platform/base/codepage.h"
#include "platform/base/exception.h"

namespace {

using zyn::base::FormatArgs;



// Narrow <-> wide through the ANSI code page.
std::wstring Convert(std::string_view s, std::wstring*) { return zyn::base::AnsiToWide(s, CP_ACP); }
std::string Convert(std::wstring_view s, std::string*) { return zyn::base::WideToAnsi(s, CP_ACP); }

template <class To, class From>
std::basic_string<To> ConvertTo(std::basic_string_view<From> s)
{
    return Convert(s, static_cast<std::basic_string<To>*>(nullptr));
}

template <class C>
bool InSet(C ch, std::basic_string_view<C> set)
{
    return set.find(ch) != std::basic_string_view<C>::npos;
}

// The length a count clamped to [0, max] gives, computed without int overflow.
int Clamp(int64_t v, int64_t max) { return static_cast<int>(std::clamp<int64_t>(v, 0, max)); }

[[noreturn]] void BadArg(const wchar_t* what) { AfxThrowInvalidArgException(what); }

// Text given by pointer: null is the empty string. A value below 0x10000 is a resource
// ID (MAKEINTRESOURCE) or a small integer, never text; reading through it would crash.
template <class C>
std::basic_string_view<C> View(const C* p)
{
    if (p == nullptr)
        return {};
    if (IS_INTRESOURCE(p))
        BadArg(L"CString: a resource ID or small integer was given where text is expected");
    return std::basic_string_view<C>(p);
}

// A counted source: same check, the length comes from the caller.
template <class C>
const C* Checked(const C* p)
{
    if (p != nullptr && IS_INTRESOURCE(p))
        BadArg(L"CString: a resource ID or small integer was given where text is expected");
    return p;
}

} // namespace

// ---- construction and assignment ------------------------------------------------

template <class C>
CStringT<C>::CStringT(PCXSTR psz) : m_str(View(psz))
{
}

template <class C>
CStringT<C>::CStringT(PCXSTR pch, int nLength)
{
    if (nLength < 0)
        BadArg(L"CString: negative length");
    if (nLength > 0 && pch == nullptr)
        BadArg(L"CString: null source with a length");
    if (nLength > 0)
        m_str.assign(Checked(pch), static_cast<size_t>(nLength));
}

template <class C>
CStringT<C>::CStringT(PCYSTR psz) : m_str(ConvertTo<C>(View(psz)))
{
}

template <class C>
CStringT<C>::CStringT(PCYSTR pch, int nLength)
{
    if (nLength < 0)
        BadArg(L"CString: negative length");
    if (nLength > 0 && pch == nullptr)
        BadArg(L"CString: null source with a length");
    if (nLength > 0)
        m_str = ConvertTo<C>(std::basic_string_view<YCHAR>(Checked(pch), static_cast<size_t>(nLength)));
}

template <class C>
CStringT<C>::CStringT(const CStringT<YCHAR>& other) : m_str(ConvertTo<C>(std::basic_string_view<YCHAR>(other.Str())))
{
}

template <class C>
CStringT<C>::CStringT(C ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

template <class C>
CStringT<C>& CStringT<C>::operator=(PCXSTR psz)
{
    // psz may point into this string's own text.
    StringType copy(View(psz));
    m_str.swap(copy);
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator=(PCYSTR psz)
{
    m_str = ConvertTo<C>(View(psz));
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator=(C ch)
{
    m_str.assign(1, ch);
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator=(const CStringT<YCHAR>& other)
{
    m_str = ConvertTo<C>(std::basic_string_view<YCHAR>(other.Str()));
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator+=(const CStringT& s)
{
    m_str += s.m_str;
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator+=(PCXSTR psz)
{
    Append(psz);
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator+=(PCYSTR psz)
{
    m_str += ConvertTo<C>(View(psz));
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::operator+=(C ch)
{
    m_str.push_back(ch);
    return *this;
}

// ---- access -----------------------------------------------------------------

template <class C>
C CStringT<C>::GetAt(int i) const
{
    // Reading the terminator position is allowed, as in the class library.
    if (i < 0 || i > GetLength())
        BadArg(L"CString::GetAt: index out of range");
    return m_str.c_str()[i];
}

template <class C>
void CStringT<C>::SetAt(int i, C ch)
{
    if (i < 0 || i >= GetLength())
        BadArg(L"CString::SetAt: index out of range");
    m_str[static_cast<size_t>(i)] = ch;
}

template <class C>
void CStringT<C>::SetString(PCXSTR psz)
{
    *this = psz;
}

template <class C>
void CStringT<C>::SetString(PCXSTR pch, int nLength)
{
    if (nLength < 0)
        BadArg(L"CString::SetString: negative length");
    if (nLength > 0 && pch == nullptr)
        BadArg(L"CString::SetString: null source with a length");
    StringType copy;
    if (nLength > 0)
        copy.assign(Checked(pch), static_cast<size_t>(nLength));
    m_str.swap(copy);
}

template <class C>
void CStringT<C>::Append(PCXSTR psz)
{
    m_str.append(StringType(View(psz))); // the copy makes self-append safe
}

template <class C>
void CStringT<C>::Append(PCXSTR pch, int nLength)
{
    if (nLength < 0)
        BadArg(L"CString::Append: negative length");
    if (nLength == 0)
        return;
    if (Checked(pch) == nullptr)
        BadArg(L"CString::Append: null source with a length");
    // Stops at a terminator within the first nLength characters.
    size_t n = 0;
    while (n < static_cast<size_t>(nLength) && pch[n] != C(0))
        ++n;
    m_str.append(StringType(pch, n));
}

// ---- buffer -----------------------------------------------------------------

template <class C>
typename CStringT<C>::PXSTR CStringT<C>::GetBuffer()
{
    return m_str.data();
}

template <class C>
typename CStringT<C>::PXSTR CStringT<C>::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        BadArg(L"CString::GetBuffer: negative length");
    if (static_cast<size_t>(nMinBufferLength) > m_str.size())
        m_str.resize(static_cast<size_t>(nMinBufferLength), C(0));
    return m_str.data();
}

template <class C>
typename CStringT<C>::PXSTR CStringT<C>::GetBufferSetLength(int nLength)
{
    if (nLength < 0)
        BadArg(L"CString::GetBufferSetLength: negative length");
    m_str.resize(static_cast<size_t>(nLength), C(0));
    return m_str.data();
}

template <class C>
void CStringT<C>::ReleaseBuffer(int nNewLength)
{
    if (nNewLength == -1) {
        // The text ends at the first terminator within the buffer handed out.
        const C* end = std::char_traits<C>::find(m_str.data(), m_str.size(), C(0));
        if (end)
            m_str.resize(static_cast<size_t>(end - m_str.data()));
        return;
    }
    if (nNewLength < 0 || static_cast<size_t>(nNewLength) > m_str.size())
        BadArg(L"CString::ReleaseBuffer: length outside the buffer");
    m_str.resize(static_cast<size_t>(nNewLength));
}

template <class C>
void CStringT<C>::Preallocate(int nLength)
{
    if (nLength < 0)
        BadArg(L"CString::Preallocate: negative length");
    m_str.reserve(static_cast<size_t>(nLength));
}

template <class C>
void CStringT<C>::FreeExtra()
{
    m_str.shrink_to_fit();
}

template <class C>
void CStringT<C>::Truncate(int nNewLength)
{
    if (nNewLength < 0)
        BadArg(L"CString::Truncate: negative length");
    if (nNewLength < GetLength())
        m_str.resize(static_cast<size_t>(nNewLength));
}

// ---- comparison -------------------------------------------------------------

template <class C>
int CStringT<C>::Compare(PCXSTR psz) const
{
    const int c = std::basic_string_view<C>(m_str).compare(View(psz));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

template <class C>
int CStringT<C>::CompareNoCase(PCXSTR psz) const
{
    return zyn::base::CompareNoCase(std::basic_string_view<C>(m_str), View(psz));
}

namespace {

int CollateText(std::wstring_view a, std::wstring_view b, bool ignoreCase)
{
    return zyn::base::CompareWordSort(a, b, ignoreCase);
}

// Narrow text collates through its wide form.
int CollateText(std::string_view a, std::string_view b, bool ignoreCase)
{
    return zyn::base::CompareWordSort(zyn::base::AnsiToWide(a), zyn::base::AnsiToWide(b), ignoreCase);
}

} // namespace

template <class C>
int CStringT<C>::Collate(PCXSTR psz) const
{
    return CollateText(std::basic_string_view<C>(m_str), View(psz), false);
}

template <class C>
int CStringT<C>::CollateNoCase(PCXSTR psz) const
{
    return CollateText(std::basic_string_view<C>(m_str), View(psz), true);
}

// ---- extraction -------------------------------------------------------------

template <class C>
CStringT<C> CStringT<C>::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength());
}

template <class C>
CStringT<C> CStringT<C>::Mid(int iFirst, int nCount) const
{
    const int64_t len = GetLength();
    const int first = Clamp(iFirst, len);
    const int count = Clamp(std::min<int64_t>(std::max(nCount, 0), len - first), len);
    return CStringT(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

template <class C>
CStringT<C> CStringT<C>::Left(int nCount) const
{
    return CStringT(m_str.substr(0, static_cast<size_t>(Clamp(nCount, GetLength()))));
}

template <class C>
CStringT<C> CStringT<C>::Right(int nCount) const
{
    const int n = Clamp(nCount, GetLength());
    return CStringT(m_str.substr(m_str.size() - static_cast<size_t>(n)));
}

template <class C>
CStringT<C> CStringT<C>::SpanIncluding(PCXSTR pszCharSet) const
{
    const auto set = View(pszCharSet);
    size_t n = 0;
    while (n < m_str.size() && m_str[n] != C(0) && InSet(m_str[n], set))
        ++n;
    return CStringT(m_str.substr(0, n));
}

template <class C>
CStringT<C> CStringT<C>::SpanExcluding(PCXSTR pszCharSet) const
{
    const auto set = View(pszCharSet);
    size_t n = 0;
    while (n < m_str.size() && m_str[n] != C(0) && !InSet(m_str[n], set))
        ++n;
    return CStringT(m_str.substr(0, n));
}

template <class C>
CStringT<C> CStringT<C>::Tokenize(PCXSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        BadArg(L"CString::Tokenize: negative start");
    const auto delims = View(pszTokens);
    const size_t len = m_str.size();
    size_t pos = static_cast<size_t>(iStart);
    if (delims.empty()) {
        // No delimiters: the rest is one token. The position moves past the end so a
        // tokenizing loop ends on the next call instead of returning the rest forever.
        if (pos < len) {
            iStart = static_cast<int>(len + 1);
            return CStringT(m_str.substr(pos));
        }
    } else if (pos < len) {
        while (pos < len && InSet(m_str[pos], delims))
            ++pos;
        if (pos < len) {
            size_t end = pos;
            while (end < len && !InSet(m_str[end], delims))
                ++end;
            // Past the delimiter that ended the token (MFC's arithmetic: this may be
            // one beyond the length, which the next call treats as the end).
            iStart = static_cast<int>(end + 1);
            return CStringT(m_str.substr(pos, end - pos));
        }
    }
    iStart = -1;
    return CStringT();
}

// ---- modification -----------------------------------------------------------

template <class C>
CStringT<C>& CStringT<C>::MakeUpper()
{
    for (auto& ch : m_str)
        ch = zyn::base::ToUpperChar(ch);
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::MakeLower()
{
    for (auto& ch : m_str)
        ch = zyn::base::ToLowerChar(ch);
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

template <class C>
int CStringT<C>::Replace(C chOld, C chNew)
{
    if (chOld == chNew)
        return 0;
    int n = 0;
    for (auto& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++n;
        }
    }
    return n;
}

template <class C>
int CStringT<C>::Replace(PCXSTR pszOld, PCXSTR pszNew)
{
    const StringType from(View(pszOld));
    if (from.empty())
        return 0;
    const StringType to(View(pszNew)); // copies: either may point into this string
    StringType out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        const size_t hit = m_str.find(from, pos);
        if (hit == StringType::npos)
            break;
        out.append(m_str, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n == 0)
        return 0;
    out.append(m_str, pos, StringType::npos);
    m_str.swap(out);
    return n;
}

template <class C>
int CStringT<C>::Remove(C ch)
{
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

template <class C>
int CStringT<C>::Insert(int iIndex, C ch)
{
    const int at = Clamp(iIndex, GetLength());
    m_str.insert(static_cast<size_t>(at), 1, ch);
    return GetLength();
}

template <class C>
int CStringT<C>::Insert(int iIndex, PCXSTR psz)
{
    const int at = Clamp(iIndex, GetLength());
    m_str.insert(static_cast<size_t>(at), StringType(View(psz)));
    return GetLength();
}

template <class C>
int CStringT<C>::Delete(int iIndex, int nCount)
{
    const int64_t len = GetLength();
    const int at = Clamp(iIndex, len);
    const int count = Clamp(std::min<int64_t>(nCount, len - at), len);
    if (count > 0)
        m_str.erase(static_cast<size_t>(at), static_cast<size_t>(count));
    return GetLength();
}

namespace {

template <class S, class Pred>
void TrimLeftIf(S& s, Pred pred)
{
    size_t n = 0;
    while (n < s.size() && pred(s[n]))
        ++n;
    s.erase(0, n);
}

template <class S, class Pred>
void TrimRightIf(S& s, Pred pred)
{
    size_t n = s.size();
    while (n > 0 && pred(s[n - 1]))
        --n;
    s.resize(n);
}

} // namespace

template <class C>
CStringT<C>& CStringT<C>::Trim()
{
    TrimRight();
    return TrimLeft();
}

template <class C>
CStringT<C>& CStringT<C>::Trim(C chTarget)
{
    TrimRight(chTarget);
    return TrimLeft(chTarget);
}

template <class C>
CStringT<C>& CStringT<C>::Trim(PCXSTR pszTargets)
{
    TrimRight(pszTargets);
    return TrimLeft(pszTargets);
}

template <class C>
CStringT<C>& CStringT<C>::TrimLeft()
{
    TrimLeftIf(m_str, [](C ch) { return zyn::base::IsSpaceChar(ch); });
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::TrimLeft(C chTarget)
{
    TrimLeftIf(m_str, [chTarget](C ch) { return ch == chTarget; });
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::TrimLeft(PCXSTR pszTargets)
{
    const StringType set(View(pszTargets));
    if (!set.empty())
        TrimLeftIf(m_str, [&set](C ch) { return InSet(ch, std::basic_string_view<C>(set)); });
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::TrimRight()
{
    TrimRightIf(m_str, [](C ch) { return zyn::base::IsSpaceChar(ch); });
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::TrimRight(C chTarget)
{
    TrimRightIf(m_str, [chTarget](C ch) { return ch == chTarget; });
    return *this;
}

template <class C>
CStringT<C>& CStringT<C>::TrimRight(PCXSTR pszTargets)
{
    const StringType set(View(pszTargets));
    if (!set.empty())
        TrimRightIf(m_str, [&set](C ch) { return InSet(ch, std::basic_string_view<C>(set)); });
    return *this;
}

// ---- searching --------------------------------------------------------------

template <class C>
int CStringT<C>::Find(C ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    const size_t hit = m_str.find(ch, static_cast<size_t>(iStart));
    return hit == StringType::npos ? -1 : static_cast<int>(hit);
}

template <class C>
int CStringT<C>::Find(PCXSTR pszSub, int iStart) const
{
    if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    const size_t hit = m_str.find(View(pszSub), static_cast<size_t>(iStart));
    return hit == StringType::npos ? -1 : static_cast<int>(hit);
}

template <class C>
int CStringT<C>::ReverseFind(C ch) const
{
    const size_t hit = m_str.rfind(ch);
    return hit == StringType::npos ? -1 : static_cast<int>(hit);
}

template <class C>
int CStringT<C>::FindOneOf(PCXSTR pszCharSet) const
{
    const auto set = View(pszCharSet);
    if (set.empty())
        return -1;
    const size_t hit = m_str.find_first_of(set.data(), 0, set.size());
    return hit == StringType::npos ? -1 : static_cast<int>(hit);
}

// ---- formatting -------------------------------------------------------------

template <class C>
void CStringT<C>::FormatV(PCXSTR pszFormat, FormatArgs args)
{
    if (pszFormat == nullptr)
        BadArg(L"CString::Format: null format");
    m_str = zyn::base::FormatPrintf(pszFormat, args);
}

template <class C>
void CStringT<C>::AppendFormatV(PCXSTR pszFormat, FormatArgs args)
{
    if (pszFormat == nullptr)
        BadArg(L"CString::AppendFormat: null format");
    m_str += zyn::base::FormatPrintf(pszFormat, args);
}

template <class C>
void CStringT<C>::FormatMessageV(PCXSTR pszFormat, FormatArgs args)
{
    if (pszFormat == nullptr)
        BadArg(L"CString::FormatMessage: null format");
    m_str = zyn::base::FormatMessageText(pszFormat, args);
}

template class CStringT<wchar_t>;
template class CStringT<char>;
