#pragma once
// Character classes and simple case mapping by code point, independent of any C
// library locale. Case mapping covers ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic (one character to one character; characters without a single-character
// counterpart, such as U+00DF, stay as they are). Narrow text is treated as in the C
// locale: only ASCII letters change case.

#include <cstdint>
#include <string_view>

namespace zyn::base {

wchar_t ToUpperChar(wchar_t c);
wchar_t ToLowerChar(wchar_t c);
char ToUpperChar(char c);
char ToLowerChar(char c);

// White space as iswspace classifies it: TAB..CR, space, and the Unicode space
// separators (U+0085, U+00A0, U+1680, U+2000..U+200A, U+2028, U+2029, U+202F,
// U+205F, U+3000). Narrow: TAB..CR and space.
bool IsSpaceChar(wchar_t c);
bool IsSpaceChar(char c);

// Letters of the scripts the platform knows (Latin, Greek, Cyrillic, Armenian, Hebrew,
// Arabic, the CJK ideographs, kana and Hangul), digits 0-9.
bool IsAlphaChar(wchar_t c);
bool IsDigitChar(wchar_t c);

// Ordinal comparison after folding each character to lower case (as the C run-time's
// case-insensitive comparisons fold): <0, 0, >0.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
int CompareNoCase(std::string_view a, std::string_view b);

// Word-sort order, as the user locale sorts text for people: symbols and punctuation,
// then digits, then letters by base letter; equal that far, accents decide, then case
// (lower before upper) unless ignored. -1, 0 or 1.
int CompareWordSort(std::wstring_view a, std::wstring_view b, bool ignoreCase);

} // namespace zyn::base
