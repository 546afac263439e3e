#pragma once
// Case folding for names that Windows compares without case (registry keys and values,
// INI sections and keys). The fold is ours and fixed: it never depends on the C
// library's locale, so the same name folds the same way in every process, and a folded
// name stored in a file stays valid. It maps lower case to upper case for ASCII,
// Latin-1, Latin Extended-A, Latin Extended Additional, Greek, Cyrillic, Armenian and
// the full-width Latin letters; every other code point folds to itself.

#include <string>
#include <string_view>

namespace zyn::base {

wchar_t FoldNameChar(wchar_t c);
std::wstring FoldName(std::wstring_view name);
// True when the two names are equal without case.
bool NamesEqual(std::wstring_view a, std::wstring_view b);

} // namespace zyn::base
