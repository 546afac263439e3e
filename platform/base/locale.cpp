#include "platform/base/locale.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/datecalc.h"
#include "platform/base/lasterror.h"
#include "platform/base/locale_data.h"
#include "platform/base/testhooks_time.h"

namespace dc = zyn::base::datecalc;

namespace zyn::base {
namespace {

constexpr LANGID kLangCustomDefault = 0x0C00;
constexpr LANGID kLangCustomUnspecified = 0x1000;

std::mutex g_localeMutex;
LCID g_userLcid = 0; // 0 until first use

const LocaleData* FindExact(LCID lcid)
{
    const LANGID lang = LANGIDFROMLCID(lcid);
    for (const auto& loc : BuiltinLocales())
        if (LANGIDFROMLCID(loc.lcid) == lang)
            return &loc;
    if (SUBLANGID(lang) == SUBLANG_NEUTRAL && PRIMARYLANGID(lang) != LANG_NEUTRAL)
        for (const auto& loc : BuiltinLocales())
            if (PRIMARYLANGID(LANGIDFROMLCID(loc.lcid)) == PRIMARYLANGID(lang))
                return &loc;
    return nullptr;
}

// "de_DE.UTF-8", "de_DE@euro", "de", "C", "POSIX" -> a built-in locale.
LCID LcidFromPosixName(std::string_view name)
{
    const auto stop = name.find_first_of(".@");
    if (stop != std::string_view::npos)
        name = name.substr(0, stop);
    const auto underscore = name.find('_');
    const std::string_view language = name.substr(0, underscore);
    const std::string_view country = underscore == std::string_view::npos ? std::string_view{} : name.substr(underscore + 1);
    auto equals = [](std::wstring_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            char c = b[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            wchar_t w = a[i];
            if (w >= L'A' && w <= L'Z')
                w = static_cast<wchar_t>(w - L'A' + L'a');
            if (w != static_cast<wchar_t>(c))
                return false;
        }
        return true;
    };
    if (language.empty())
        return LCID_EN_US;
    for (const auto& loc : BuiltinLocales())
        if (!loc.posixLanguage.empty() && equals(loc.posixLanguage, language) && equals(loc.posixCountry, country))
            return loc.lcid;
    for (const auto& loc : BuiltinLocales())
        if (!loc.posixLanguage.empty() && equals(loc.posixLanguage, language))
            return loc.lcid;
    return LCID_EN_US;
}

LCID LcidFromEnvironment()
{
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return LcidFromPosixName(value);
    }
    return LCID_EN_US;
}

LCID UserLcid()
{
    LCID lcid;
    bool initialised = false;
    {
        std::lock_guard lock(g_localeMutex);
        if (g_userLcid == 0) {
            g_userLcid = LcidFromEnvironment();
            initialised = true;
        }
        lcid = g_userLcid;
    }
    // Outside the lock: the code-page side may ask for the locale in turn.
    if (initialised)
        SetAnsiCodePage(LocaleAnsiCodePage(lcid));
    return lcid;
}

std::wstring_view Item(const LocaleData& loc, LCTYPE type)
{
    std::wstring_view text;
    FindLocaleItem(loc, type, text);
    return text;
}

bool IsNumericItem(LCTYPE type, bool& hex)
{
    hex = type == LOCALE_ILANGUAGE || type == LOCALE_IDEFAULTLANGUAGE;
    switch (type) {
    case LOCALE_ILANGUAGE:
    case LOCALE_IDEFAULTLANGUAGE:
    case LOCALE_ICOUNTRY:
    case LOCALE_IDEFAULTCOUNTRY:
    case LOCALE_IDEFAULTCODEPAGE:
    case LOCALE_IDEFAULTANSICODEPAGE:
    case LOCALE_IDEFAULTMACCODEPAGE:
    case LOCALE_IMEASURE:
    case LOCALE_IDIGITS:
    case LOCALE_ILZERO:
    case LOCALE_INEGNUMBER:
    case LOCALE_ICURRDIGITS:
    case LOCALE_IINTLCURRDIGITS:
    case LOCALE_ICURRENCY:
    case LOCALE_INEGCURR:
    case LOCALE_IDATE:
    case LOCALE_ILDATE:
    case LOCALE_ITIME:
    case LOCALE_ITIMEMARKPOSN:
    case LOCALE_ICENTURY:
    case LOCALE_ITLZERO:
    case LOCALE_IDAYLZERO:
    case LOCALE_IMONLZERO:
    case LOCALE_ICALENDARTYPE:
    case LOCALE_IOPTIONALCALENDAR:
    case LOCALE_IFIRSTDAYOFWEEK:
    case LOCALE_IFIRSTWEEKOFYEAR: return true;
    default: return false;
    }
}

DWORD ParseNumber(std::wstring_view text, bool hex)
{
    DWORD v = 0;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9')
            v = v * (hex ? 16 : 10) + static_cast<DWORD>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f')
            v = v * 16 + static_cast<DWORD>(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F')
            v = v * 16 + static_cast<DWORD>(c - L'A' + 10);
    }
    return v;
}

// Copies text and its terminator out under the Win32 buffer rules.
int CopyOut(std::wstring_view text, LPWSTR buffer, int cch)
{
    const int need = static_cast<int>(text.size()) + 1;
    if (cch == 0)
        return need;
    if (cch < need) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return need;
}

void AppendNumber(std::wstring& out, int64_t value, int width)
{
    std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    while (static_cast<int>(digits.size()) < width)
        digits.insert(digits.begin(), L'0');
    if (value < 0)
        out.push_back(L'-');
    out += digits;
}

enum class PictureKind { Date, Time };

// Expands a date or time picture. For the time, flags remove minutes, seconds or the
// marker together with the separator that led to them.
void ExpandPicture(const LocaleData& loc, PictureKind kind, DWORD flags, const SYSTEMTIME& st, std::wstring_view picture,
    std::wstring& out)
{
    out.clear();
    size_t lastElementEnd = 0;
    bool anyElement = false;
    bool skipLiterals = false; // a leading element was removed: drop its separator too
    const int weekday = dc::WeekdayFromDays(dc::DaysFromCivil(st.wYear, st.wMonth, st.wDay));
    for (size_t i = 0; i < picture.size();) {
        const wchar_t c = picture[i];
        if (c == L'\'') {
            ++i;
            std::wstring literal;
            if (i < picture.size() && picture[i] == L'\'') { // '' outside quotes: one quote
                literal.push_back(L'\'');
                ++i;
            } else {
                while (i < picture.size()) {
                    if (picture[i] == L'\'') {
                        if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                            literal.push_back(L'\'');
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    literal.push_back(picture[i++]);
                }
            }
            if (!skipLiterals)
                out += literal;
            continue;
        }
        const bool isElement = kind == PictureKind::Date ? (c == L'd' || c == L'M' || c == L'y' || c == L'g')
                                                         : (c == L'h' || c == L'H' || c == L'm' || c == L's' || c == L't');
        if (!isElement) {
            if (!skipLiterals)
                out.push_back(c);
            ++i;
            continue;
        }
        size_t count = 0;
        while (i < picture.size() && picture[i] == c) {
            ++count;
            ++i;
        }
        if (kind == PictureKind::Time) {
            const bool removed = (c == L'm' && (flags & TIME_NOMINUTESORSECONDS))
                || (c == L's' && (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS)))
                || (c == L't' && (flags & TIME_NOTIMEMARKER));
            if (removed) {
                out.resize(lastElementEnd);
                skipLiterals = !anyElement;
                continue;
            }
        }
        skipLiterals = false;
        switch (c) {
        case L'd':
            if (count <= 2)
                AppendNumber(out, st.wDay, static_cast<int>(count));
            else
                out += Item(loc, (count == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + (weekday + 6) % 7);
            break;
        case L'M':
            if (count <= 2)
                AppendNumber(out, st.wMonth, static_cast<int>(count));
            else
                out += Item(loc, (count == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + st.wMonth - 1);
            break;
        case L'y':
            if (count <= 2)
                AppendNumber(out, st.wYear % 100, static_cast<int>(count));
            else
                AppendNumber(out, st.wYear, 4);
            break;
        case L'g': out += loc.era; break;
        case L'h':
        case L'H': {
            const bool twelve = c == L'h' && !(flags & TIME_FORCE24HOURFORMAT);
            const int hour = twelve ? (st.wHour % 12 == 0 ? 12 : st.wHour % 12) : st.wHour;
            AppendNumber(out, hour, count >= 2 ? 2 : 1);
            break;
        }
        case L'm': AppendNumber(out, st.wMinute, count >= 2 ? 2 : 1); break;
        case L's': AppendNumber(out, st.wSecond, count >= 2 ? 2 : 1); break;
        case L't': {
            const std::wstring_view marker = Item(loc, st.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
            out += count == 1 ? marker.substr(0, 1) : marker;
            break;
        }
        default: break;
        }
        anyElement = true;
        lastElementEnd = out.size();
    }
}

bool IsValidPictureDate(const SYSTEMTIME& st)
{
    return st.wYear >= 1 && st.wYear <= 30827 && dc::IsValidDate(st.wYear, st.wMonth, st.wDay);
}

bool IsValidPictureTime(const SYSTEMTIME& st)
{
    return st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

} // namespace

const LocaleData* FindLocale(LCID lcid)
{
    const LANGID lang = LANGIDFROMLCID(lcid);
    if (lang == LANG_NEUTRAL || lang == LANG_USER_DEFAULT || lang == LANG_SYSTEM_DEFAULT || lang == kLangCustomDefault
        || lang == kLangCustomUnspecified)
        return FindExact(UserLcid());
    return FindExact(lcid);
}

bool GetLocaleString(LCID lcid, LCTYPE item, std::wstring& out)
{
    const LocaleData* loc = FindLocale(lcid);
    std::wstring_view text;
    if (!loc || !FindLocaleItem(*loc, item, text))
        return false;
    out.assign(text);
    return true;
}

UINT LocaleAnsiCodePage(LCID lcid)
{
    const LocaleData* loc = FindLocale(lcid);
    return loc ? loc->ansiCodePage : 1252;
}

DWORD FormatDatePicture(LCID lcid, DWORD flags, const SYSTEMTIME& date, const wchar_t* picture, std::wstring& out)
{
    constexpr DWORD kKnown = DATE_SHORTDATE | DATE_LONGDATE | DATE_USE_ALT_CALENDAR | DATE_YEARMONTH | DATE_LTRREADING
        | DATE_RTLREADING | LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;
    const DWORD kinds = flags & (DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH);
    if ((flags & ~kKnown) || (kinds & (kinds - 1)) || ((flags & DATE_LTRREADING) && (flags & DATE_RTLREADING))
        || (picture && kinds))
        return ERROR_INVALID_FLAGS;
    const LocaleData* loc = FindLocale(lcid);
    if (!loc || !IsValidPictureDate(date))
        return ERROR_INVALID_PARAMETER;
    std::wstring_view pic = picture ? std::wstring_view(picture)
        : Item(*loc, (flags & DATE_LONGDATE) ? LOCALE_SLONGDATE : (flags & DATE_YEARMONTH) ? LOCALE_SYEARMONTH : LOCALE_SSHORTDATE);
    ExpandPicture(*loc, PictureKind::Date, flags, date, pic, out);
    return ERROR_SUCCESS;
}

DWORD FormatTimePicture(LCID lcid, DWORD flags, const SYSTEMTIME& time, const wchar_t* picture, std::wstring& out)
{
    constexpr DWORD kKnown = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT
        | LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP;
    if ((flags & ~kKnown) || (picture && (flags & LOCALE_NOUSEROVERRIDE)))
        return ERROR_INVALID_FLAGS;
    const LocaleData* loc = FindLocale(lcid);
    if (!loc || !IsValidPictureTime(time))
        return ERROR_INVALID_PARAMETER;
    const std::wstring_view pic = picture ? std::wstring_view(picture) : Item(*loc, LOCALE_STIMEFORMAT);
    ExpandPicture(*loc, PictureKind::Time, flags, time, pic, out);
    return ERROR_SUCCESS;
}

bool FormatVariantDate(DATE date, ULONG flags, LCID lcid, std::wstring& out)
{
    OleDateFields f;
    if (!OleDateToFields(date, f))
        return false;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wDayOfWeek = static_cast<WORD>(f.dayOfWeek);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    bool withDate = true;
    bool withTime = true;
    if (flags & VAR_TIMEVALUEONLY)
        withDate = false;
    else if (flags & VAR_DATEVALUEONLY)
        withTime = false;
    else {
        withTime = f.hour != 0 || f.minute != 0 || f.second != 0;
        withDate = !(f.year == 1899 && f.month == 12 && f.day == 30);
        if (!withDate && !withTime)
            withTime = true;
    }
    out.clear();
    std::wstring part;
    if (withDate) {
        if (FormatDatePicture(lcid, 0, st, nullptr, part) != ERROR_SUCCESS)
            return false;
        out += part;
    }
    if (withTime) {
        if (FormatTimePicture(lcid, 0, st, nullptr, part) != ERROR_SUCCESS)
            return false;
        if (!out.empty())
            out.push_back(L' ');
        out += part;
    }
    return true;
}

bool SetUserLocaleForTests(LCID lcid)
{
    LCID chosen;
    if (lcid == 0)
        chosen = LcidFromEnvironment();
    else {
        const LocaleData* loc = FindExact(lcid);
        if (!loc || LANGIDFROMLCID(lcid) == LANG_USER_DEFAULT || LANGIDFROMLCID(lcid) == LANG_SYSTEM_DEFAULT)
            return false;
        chosen = loc->lcid;
    }
    {
        std::lock_guard lock(g_localeMutex);
        g_userLcid = chosen;
    }
    SetAnsiCodePage(LocaleAnsiCodePage(chosen));
    return true;
}

} // namespace zyn::base

using namespace zyn::base;

LCID GetUserDefaultLCID() { return UserLcid(); }
LCID GetSystemDefaultLCID() { return UserLcid(); }
LANGID GetUserDefaultLangID() { return LANGIDFROMLCID(UserLcid()); }
LANGID GetSystemDefaultLangID() { return LANGIDFROMLCID(UserLcid()); }
LCID GetThreadLocale() { return UserLcid(); }

BOOL IsValidLocale(LCID Locale, DWORD dwFlags)
{
    if (dwFlags != LCID_INSTALLED && dwFlags != LCID_SUPPORTED)
        return FALSE;
    return FindExact(Locale) != nullptr;
}

int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    if (cchData < 0 || (cchData > 0 && !lpLCData)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool asNumber = (LCType & LOCALE_RETURN_NUMBER) != 0;
    const LCTYPE item = LCType & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);
    const LocaleData* loc = FindLocale(Locale);
    std::wstring_view text;
    if (!loc || !FindLocaleItem(*loc, item, text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!asNumber)
        return CopyOut(text, lpLCData, cchData);
    bool hex = false;
    if (!IsNumericItem(item, hex)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    constexpr int kUnits = static_cast<int>(sizeof(DWORD) / sizeof(WCHAR));
    if (cchData == 0)
        return kUnits;
    if (cchData < kUnits) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const DWORD value = ParseNumber(text, hex);
    std::memcpy(lpLCData, &value, sizeof value);
    return kUnits;
}

int GetLocaleInfo(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    return GetLocaleInfoW(Locale, LCType, lpLCData, cchData);
}

int GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr, int cchDate)
{
    if (cchDate < 0 || (cchDate > 0 && !lpDateStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME now;
    if (!lpDate) {
        GetLocalTime(&now);
        lpDate = &now;
    }
    std::wstring out;
    const DWORD error = FormatDatePicture(Locale, dwFlags, *lpDate, lpFormat, out);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return CopyOut(out, lpDateStr, cchDate);
}

int GetDateFormat(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr, int cchDate)
{
    return GetDateFormatW(Locale, dwFlags, lpDate, lpFormat, lpDateStr, cchDate);
}

int GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr, int cchTime)
{
    if (cchTime < 0 || (cchTime > 0 && !lpTimeStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME now;
    if (!lpTime) {
        GetLocalTime(&now);
        lpTime = &now;
    }
    std::wstring out;
    const DWORD error = FormatTimePicture(Locale, dwFlags, *lpTime, lpFormat, out);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return CopyOut(out, lpTimeStr, cchTime);
}

int GetTimeFormat(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr, int cchTime)
{
    return GetTimeFormatW(Locale, dwFlags, lpTime, lpFormat, lpTimeStr, cchTime);
}

HRESULT VarDateFromStr(LPCOLESTR strIn, LCID lcid, ULONG dwFlags, DATE* pdateOut)
{
    if (!strIn || !pdateOut)
        return E_INVALIDARG;
    DATE result = 0;
    const HRESULT hr = ParseVariantDate(strIn, lcid, dwFlags, result);
    if (SUCCEEDED(hr))
        *pdateOut = result;
    return hr;
}
