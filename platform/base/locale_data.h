#pragma once
// The built-in locale tables behind locale.h (internal to base).

#include <span>
#include <string_view>

#include "platform/base/wintypes.h"

namespace zyn::base {

struct LocaleItem {
    DWORD type; // LCTYPE
    std::wstring_view text;
};

struct LocaleData {
    LCID lcid;
    std::wstring_view posixLanguage; // "de"
    std::wstring_view posixCountry;  // "DE"
    UINT ansiCodePage;
    std::span<const LocaleItem> items;
    std::span<const LocaleItem> names; // shared weekday and month names, when not in items
    std::wstring_view era; // the gg picture
};

std::span<const LocaleData> BuiltinLocales();
// The locale an LCID names (the user locale for the default and neutral LCIDs), or null.
const LocaleData* FindLocale(LCID lcid);
// The item's text; empty view and false when the locale lacks it.
bool FindLocaleItem(const LocaleData& locale, DWORD type, std::wstring_view& text);

} // namespace zyn::base
