#include "platform/base/namefold.h"

namespace zyn::base {

namespace {

// Blocks of alternating upper/lower pairs; whether the lower letter sits at the odd or
// the even code point depends on the block.
bool InAlternating(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

} // namespace

wchar_t FoldNameChar(wchar_t wc)
{
    const auto c = static_cast<char32_t>(wc);
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') ? static_cast<wchar_t>(c - 0x20) : wc;
    // Latin-1: à..þ except ÷; ÿ maps to Ÿ in Latin Extended-A.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<wchar_t>(c - 0x20);
    if (c == 0xFF)
        return static_cast<wchar_t>(0x178);
    if (c < 0x100)
        return wc;
    // Latin Extended-A: pairs (even upper, odd lower) except the runs that start odd.
    if (InAlternating(c, 0x100, 0x137) || InAlternating(c, 0x14A, 0x177))
        return (c & 1) ? static_cast<wchar_t>(c - 1) : wc;
    if (InAlternating(c, 0x139, 0x148) || InAlternating(c, 0x179, 0x17E))
        return (c & 1) ? wc : static_cast<wchar_t>(c - 1);
    // Greek.
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return static_cast<wchar_t>(c - 0x20);
    if (c == 0x3C2) // final sigma folds with sigma
        return static_cast<wchar_t>(0x3A3);
    if (c == 0x3AC)
        return static_cast<wchar_t>(0x386);
    if (c >= 0x3AD && c <= 0x3AF)
        return static_cast<wchar_t>(c - 0x25);
    if (c == 0x3CC)
        return static_cast<wchar_t>(0x38C);
    if (c == 0x3CD || c == 0x3CE)
        return static_cast<wchar_t>(c - 0x3F);
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    if (InAlternating(c, 0x460, 0x481) || InAlternating(c, 0x48A, 0x4BF) || InAlternating(c, 0x4D0, 0x52F))
        return (c & 1) ? static_cast<wchar_t>(c - 1) : wc;
    if (InAlternating(c, 0x4C1, 0x4CE))
        return (c & 1) ? wc : static_cast<wchar_t>(c - 1);
    // Armenian.
    if (c >= 0x561 && c <= 0x586)
        return static_cast<wchar_t>(c - 0x30);
    // Latin Extended Additional and the Vietnamese block.
    if (InAlternating(c, 0x1E00, 0x1E95) || InAlternating(c, 0x1EA0, 0x1EFF))
        return (c & 1) ? static_cast<wchar_t>(c - 1) : wc;
    // Full-width Latin.
    if (c >= 0xFF41 && c <= 0xFF5A)
        return static_cast<wchar_t>(c - 0x20);
    return wc;
}

std::wstring FoldName(std::wstring_view name)
{
    std::wstring out(name);
    for (auto& ch : out)
        ch = FoldNameChar(ch);
    return out;
}

bool NamesEqual(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldNameChar(a[i]) != FoldNameChar(b[i]))
            return false;
    return true;
}

} // namespace zyn::base
