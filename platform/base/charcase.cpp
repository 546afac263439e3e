#include "platform/base/charcase.h"

#include <algorithm>

namespace zyn::base {

namespace {

constexpr bool Odd(uint32_t c) { return (c & 1u) != 0; }
constexpr bool Even(uint32_t c) { return (c & 1u) == 0; }
constexpr bool In(uint32_t c, uint32_t lo, uint32_t hi) { return c >= lo && c <= hi; }

// Upper-case counterpart of a lower-case letter, or the character itself.
constexpr uint32_t Upper(uint32_t c)
{
    if (c < 0x80)
        return In(c, 'a', 'z') ? c - 32 : c;
    if (c <= 0xFF) {
        if (In(c, 0xE0, 0xFE) && c != 0xF7)
            return c - 32;
        if (c == 0xFF)
            return 0x178;
        return c;
    }
    if (c <= 0x17F) { // Latin Extended-A (dotted/dotless i and long s left alone)
        if ((In(c, 0x100, 0x12F) || In(c, 0x132, 0x137) || In(c, 0x14A, 0x177)) && Odd(c))
            return c - 1;
        if ((In(c, 0x139, 0x148) || In(c, 0x179, 0x17E)) && Even(c))
            return c - 1;
        return c;
    }
    if (In(c, 0x370, 0x3FF)) { // Greek
        if (In(c, 0x3B1, 0x3CB) && c != 0x3C2)
            return c - 32;
        if (c == 0x3C2) // final sigma
            return 0x3A3;
        if (c == 0x3AC)
            return 0x386;
        if (In(c, 0x3AD, 0x3AF))
            return c - 37;
        if (c == 0x3CC)
            return 0x38C;
        if (In(c, 0x3CD, 0x3CE))
            return c - 63;
        return c;
    }
    if (In(c, 0x400, 0x52F)) { // Cyrillic and its supplement
        if (In(c, 0x430, 0x44F))
            return c - 32;
        if (In(c, 0x450, 0x45F))
            return c - 80;
        if ((In(c, 0x460, 0x481) || In(c, 0x48A, 0x4BF) || In(c, 0x4D0, 0x52F)) && Odd(c))
            return c - 1;
        if (c == 0x4CF)
            return 0x4C0;
        if (In(c, 0x4C1, 0x4CE) && Even(c))
            return c - 1;
        return c;
    }
    return c;
}

// Lower-case counterpart of an upper-case letter, or the character itself.
constexpr uint32_t Lower(uint32_t c)
{
    if (c < 0x80)
        return In(c, 'A', 'Z') ? c + 32 : c;
    if (c <= 0xFF)
        return (In(c, 0xC0, 0xDE) && c != 0xD7) ? c + 32 : c;
    if (c <= 0x17F) {
        if (c == 0x178)
            return 0xFF;
        if ((In(c, 0x100, 0x12F) || In(c, 0x132, 0x137) || In(c, 0x14A, 0x177)) && Even(c))
            return c + 1;
        if ((In(c, 0x139, 0x148) || In(c, 0x179, 0x17E)) && Odd(c))
            return c + 1;
        return c;
    }
    if (In(c, 0x370, 0x3FF)) {
        if (In(c, 0x391, 0x3AB) && c != 0x3A2)
            return c + 32;
        if (c == 0x386)
            return 0x3AC;
        if (In(c, 0x388, 0x38A))
            return c + 37;
        if (c == 0x38C)
            return 0x3CC;
        if (In(c, 0x38E, 0x38F))
            return c + 63;
        return c;
    }
    if (In(c, 0x400, 0x52F)) {
        if (In(c, 0x410, 0x42F))
            return c + 32;
        if (In(c, 0x400, 0x40F))
            return c + 80;
        if ((In(c, 0x460, 0x481) || In(c, 0x48A, 0x4BF) || In(c, 0x4D0, 0x52F)) && Even(c))
            return c + 1;
        if (c == 0x4C0)
            return 0x4CF;
        if (In(c, 0x4C1, 0x4CE) && Odd(c))
            return c + 1;
        return c;
    }
    return c;
}

static_assert(Upper(U'a') == U'A' && Lower(U'A') == U'a');
static_assert(Upper(0xE9) == 0xC9 && Lower(0xC9) == 0xE9);
static_assert(Upper(0xFF) == 0x178 && Lower(0x178) == 0xFF);
static_assert(Upper(0x3C9) == 0x3A9 && Lower(0x3A9) == 0x3C9);
static_assert(Upper(0x44F) == 0x42F && Lower(0x401) == 0x451);

} // namespace

wchar_t ToUpperChar(wchar_t c) { return static_cast<wchar_t>(Upper(static_cast<uint32_t>(c))); }
wchar_t ToLowerChar(wchar_t c) { return static_cast<wchar_t>(Lower(static_cast<uint32_t>(c))); }
char ToUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char ToLowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsSpaceChar(wchar_t c)
{
    const auto v = static_cast<uint32_t>(c);
    return In(v, 0x09, 0x0D) || v == 0x20 || v == 0x85 || v == 0xA0 || v == 0x1680 || In(v, 0x2000, 0x200A)
        || v == 0x2028 || v == 0x2029 || v == 0x202F || v == 0x205F || v == 0x3000;
}

bool IsSpaceChar(char c) { return (c >= 0x09 && c <= 0x0D) || c == ' '; }

bool IsDigitChar(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsAlphaChar(wchar_t c)
{
    const auto v = static_cast<uint32_t>(c);
    if (v < 0x80)
        return In(v, 'A', 'Z') || In(v, 'a', 'z');
    if (v <= 0xFF)
        return v == 0xAA || v == 0xB5 || v == 0xBA || (v >= 0xC0 && v != 0xD7 && v != 0xF7);
    if (Upper(v) != v || Lower(v) != v)
        return true;
    return In(v, 0x100, 0x24F)                                   // Latin Extended-A/B
        || In(v, 0x250, 0x2AF)                                   // IPA extensions
        || (In(v, 0x386, 0x3FF) && v != 0x387 && v != 0x3F6)     // Greek
        || In(v, 0x370, 0x373) || In(v, 0x376, 0x377) || In(v, 0x37B, 0x37D) || v == 0x37F
        || In(v, 0x400, 0x481) || In(v, 0x48A, 0x52F)            // Cyrillic
        || In(v, 0x531, 0x556) || In(v, 0x561, 0x587)            // Armenian
        || In(v, 0x5D0, 0x5EA)                                   // Hebrew
        || In(v, 0x620, 0x64A) || In(v, 0x671, 0x6D3)            // Arabic
        || In(v, 0x1E00, 0x1FFF)                                 // Latin and Greek extended
        || In(v, 0x3041, 0x3096) || In(v, 0x30A1, 0x30FA)        // kana
        || In(v, 0x3400, 0x4DBF) || In(v, 0x4E00, 0x9FFF)        // CJK ideographs
        || In(v, 0xAC00, 0xD7A3)                                 // Hangul syllables
        || In(v, 0xF900, 0xFAFF)                                 // CJK compatibility
        || In(v, 0xFF21, 0xFF3A) || In(v, 0xFF41, 0xFF5A);       // full-width Latin
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const uint32_t x = Lower(static_cast<uint32_t>(a[i]));
        const uint32_t y = Lower(static_cast<uint32_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(ToLowerChar(a[i]));
        const auto y = static_cast<unsigned char>(ToLowerChar(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// ---- word-sort comparison ------------------------------------------------------------

namespace {

// Base letters of U+00C0..U+00FF and U+0100..U+017F ('.' = the character itself).
constexpr char kLatin1Base[] = "AAAAAA.CEEEEIIII.NOOOOO.OUUUUY..aaaaaa.ceeeeiiii.nooooo.ouuuuy.y";
constexpr char kLatinABase[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof(kLatin1Base) == 65 && sizeof(kLatinABase) == 129);

wchar_t BaseLetter(wchar_t c)
{
    const auto v = static_cast<uint32_t>(c);
    char b = '.';
    if (v >= 0xC0 && v <= 0xFF)
        b = kLatin1Base[v - 0xC0];
    else if (v >= 0x100 && v <= 0x17F)
        b = kLatinABase[v - 0x100];
    return b == '.' ? c : static_cast<wchar_t>(b);
}

// Primary weight: symbols and punctuation, then digits, then letters by base letter.
uint64_t Primary(wchar_t c)
{
    if (IsDigitChar(c))
        return (uint64_t{2} << 32) | static_cast<uint32_t>(c);
    if (IsAlphaChar(c))
        return (uint64_t{3} << 32) | Lower(static_cast<uint32_t>(BaseLetter(c)));
    return (uint64_t{1} << 32) | static_cast<uint32_t>(c);
}

int Sign(int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

} // namespace

int CompareWordSort(std::wstring_view a, std::wstring_view b, bool ignoreCase)
{
    const size_t na = a.size();
    const size_t nb = b.size();
    const size_t n = std::min(na, nb);
    for (size_t i = 0; i < n; ++i) {
        const uint64_t pa = Primary(a[i]);
        const uint64_t pb = Primary(b[i]);
        if (pa != pb)
            return pa < pb ? -1 : 1;
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    // Same letters: accents decide, then (unless ignored) case, lower first.
    for (size_t i = 0; i < n; ++i) {
        const auto la = static_cast<int64_t>(Lower(static_cast<uint32_t>(a[i])));
        const auto lb = static_cast<int64_t>(Lower(static_cast<uint32_t>(b[i])));
        const int d = Sign(la - lb);
        if (d != 0)
            return d;
    }
    if (!ignoreCase) {
        for (size_t i = 0; i < n; ++i) {
            const bool ua = Lower(static_cast<uint32_t>(a[i])) != static_cast<uint32_t>(a[i]);
            const bool ub = Lower(static_cast<uint32_t>(b[i])) != static_cast<uint32_t>(b[i]);
            if (ua != ub)
                return ua ? 1 : -1;
        }
    }
    return 0;
}

} // namespace zyn::base
