// The up-down control's numbers as text: what UDS_SETBUDDYINT writes into the buddy and
// how the buddy's text is read back.
#include <cstdint>
#include <cwctype>

#include "platform/base/locale.h"
#include "platform/comctl/updown_state.h"

namespace zyn::comctl::detail {

namespace {

std::wstring ThousandsSeparator()
{
    wchar_t buf[8] = {};
    const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8);
    return n > 1 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x00A0; }

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace

std::wstring FormatPosition(int pos, int base, bool thousands)
{
    if (base == 16) {
        static const wchar_t kHex[] = L"0123456789ABCDEF";
        uint32_t v = static_cast<uint32_t>(pos);
        std::wstring digits;
        do {
            digits.insert(digits.begin(), kHex[v & 0xF]);
            v >>= 4;
        } while (v != 0);
        while (digits.size() < 4)
            digits.insert(digits.begin(), L'0');
        return L"0x" + digits;
    }
    // Magnitude in 64 bits, so INT_MIN has one.
    uint64_t mag = pos < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(pos)) : static_cast<uint64_t>(pos);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + mag % 10));
        mag /= 10;
    } while (mag != 0);
    std::wstring out;
    const std::wstring sep = thousands ? ThousandsSeparator() : std::wstring();
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && !sep.empty() && (digits.size() - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return pos < 0 ? L"-" + out : out;
}

std::optional<int> ParsePosition(std::wstring_view text, int base)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    if (base == 16) {
        if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
            text.remove_prefix(2);
        if (text.empty() || text.size() > 8)
            return std::nullopt;
        uint32_t v = 0;
        for (wchar_t c : text) {
            const int d = HexDigit(c);
            if (d < 0)
                return std::nullopt;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        return static_cast<int>(v);
    }
    bool negative = false;
    if (text.front() == L'-' || text.front() == L'+') {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    const std::wstring sep = ThousandsSeparator();
    int64_t v = 0;
    bool digit = false;       // a digit was read
    bool lastDigit = false;   // the character before was a digit
    for (size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            v = v * 10 + (c - L'0');
            if (v > int64_t(2147483648))
                return std::nullopt;
            digit = lastDigit = true;
            ++i;
            continue;
        }
        // A separator only between digits.
        if (!sep.empty() && lastDigit && text.substr(i, sep.size()) == sep && i + sep.size() < text.size() &&
            text[i + sep.size()] >= L'0' && text[i + sep.size()] <= L'9') {
            i += sep.size();
            lastDigit = false;
            continue;
        }
        return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace zyn::comctl::detail
