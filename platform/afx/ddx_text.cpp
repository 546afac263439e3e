// DDX_Text: numbers and strings between members and a control's text (rules in ddx.h).
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/user/winuser.h"
#include "platform/afx/afxres.h"
#include "platform/afx/ddx.h"
#include "platform/afx/ddx_internal.h"

namespace {

using zyn::afx::detail::FailWithPrompt;
using zyn::afx::detail::SetWindowTextIfChanged;
using zyn::afx::detail::WindowTextOf;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trimmed(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A decimal integer: an optional sign and at least one digit, blanks around. Its
// magnitude and sign, or nullopt when the text is not such a number. A magnitude too
// large for 64 bits counts as out of range (flagged, not wrapped).
struct ParsedInt {
    bool negative = false;
    bool tooLarge = false;
    uint64_t magnitude = 0;
};

std::optional<ParsedInt> ParseInt(std::wstring_view text)
{
    std::wstring_view s = Trimmed(text);
    ParsedInt r;
    if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) {
        r.negative = s.front() == L'-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    for (const wchar_t c : s) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const auto digit = static_cast<uint64_t>(c - L'0');
        if (r.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            r.tooLarge = true;
        else
            r.magnitude = r.magnitude * 10 + digit;
    }
    return r;
}

// A real number: [sign] digits [. digits] [e [sign] digits] (at least one digit before
// the exponent), blanks around. Finite values only.
std::optional<double> ParseReal(std::wstring_view text)
{
    const std::wstring_view s = Trimmed(text);
    size_t i = 0;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        if (i < s.size() && (s[i] == L'-' || s[i] == L'+'))
            ++i;
        size_t expDigits = 0;
        while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    // The syntax is checked; the conversion (in the C locale: '.' is the point) reads it.
    const std::wstring copy(s);
    const double v = std::wcstod(copy.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

CString Decimal(int64_t v)
{
    CString s;
    s.Format(L"%I64d", v);
    return s;
}

CString UDecimal(uint64_t v)
{
    CString s;
    s.Format(L"%I64u", v);
    return s;
}

// Saving a signed integer of [lo, hi] from the control.
template <class T>
void SaveSigned(CDataExchange* pDX, HWND hWndCtrl, T& value)
{
    constexpr int64_t lo = std::numeric_limits<T>::min();
    constexpr int64_t hi = std::numeric_limits<T>::max();
    const CString text = WindowTextOf(hWndCtrl);
    const auto parsed = ParseInt(text.GetString());
    if (!parsed)
        FailWithPrompt(pDX, AFX_IDP_PARSE_INT);
    const uint64_t limit = parsed->negative ? static_cast<uint64_t>(hi) + 1 : static_cast<uint64_t>(hi);
    if (parsed->tooLarge || parsed->magnitude > limit)
        FailWithPrompt(pDX, AFX_IDP_PARSE_INT_RANGE, Decimal(lo).GetString(), Decimal(hi).GetString());
    pDX->RememberValue(value);
    value = parsed->negative ? static_cast<T>(-static_cast<int64_t>(parsed->magnitude - 1) - 1)
                             : static_cast<T>(parsed->magnitude);
}

// Saving an unsigned integer of [0, hi] from the control.
template <class T>
void SaveUnsigned(CDataExchange* pDX, HWND hWndCtrl, T& value, UINT nIDNegative)
{
    constexpr uint64_t hi = std::numeric_limits<T>::max();
    const CString text = WindowTextOf(hWndCtrl);
    const auto parsed = ParseInt(text.GetString());
    if (!parsed)
        FailWithPrompt(pDX, AFX_IDP_PARSE_INT);
    // "-0" is zero, not a negative number.
    if (parsed->negative && (parsed->tooLarge || parsed->magnitude != 0))
        FailWithPrompt(pDX, nIDNegative);
    if (parsed->tooLarge || parsed->magnitude > hi) {
        if (nIDNegative == AFX_IDP_PARSE_BYTE)
            FailWithPrompt(pDX, AFX_IDP_PARSE_BYTE);
        FailWithPrompt(pDX, AFX_IDP_PARSE_INT_RANGE, L"0", UDecimal(hi).GetString());
    }
    pDX->RememberValue(value);
    value = static_cast<T>(parsed->magnitude);
}

template <class T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value)
{
    const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        SaveSigned(pDX, hWndCtrl, value);
    else
        SetWindowTextIfChanged(hWndCtrl, Decimal(value).GetString());
}

template <class T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, UINT nIDNegative)
{
    const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        SaveUnsigned(pDX, hWndCtrl, value, nIDNegative);
    else
        SetWindowTextIfChanged(hWndCtrl, UDecimal(value).GetString());
}

template <class T>
void TextReal(CDataExchange* pDX, int nIDC, T& value, int significant)
{
    const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format(L"%.*g", significant, static_cast<double>(value));
        SetWindowTextIfChanged(hWndCtrl, text.GetString());
        return;
    }
    const CString text = WindowTextOf(hWndCtrl);
    const auto parsed = ParseReal(text.GetString());
    // A double that a float cannot hold is refused, never turned into infinity.
    if (!parsed || std::fabs(*parsed) > static_cast<double>(std::numeric_limits<T>::max()))
        FailWithPrompt(pDX, AFX_IDP_PARSE_REAL);
    pDX->RememberValue(value);
    value = static_cast<T>(*parsed);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { TextUnsigned(pDX, nIDC, value, AFX_IDP_PARSE_BYTE); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { TextSigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextSigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextUnsigned(pDX, nIDC, value, AFX_IDP_PARSE_UINT); }
void DDX_Text(CDataExchange* pDX, int nIDC, LONGLONG& value) { TextSigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, ULONGLONG& value)
{
    TextUnsigned(pDX, nIDC, value, AFX_IDP_PARSE_UINT);
}
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextReal(pDX, nIDC, value, DBL_DIG); }

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = WindowTextOf(hWndCtrl);
    } else {
        SetWindowTextIfChanged(hWndCtrl, value.GetString());
    }
}
