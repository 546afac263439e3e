#pragma once
// The platform's user locale: locale identifiers, GetLocaleInfo, date and time
// formatting by picture (GetDateFormat, GetTimeFormat) and the automation library's
// date parser (VarDateFromStr).
//
// Built-in locales: en-US 1033 (the default), en-GB 2057, de-DE 1031, fr-FR 1036,
// nl-NL 1043 and the invariant locale 127, with the classic Windows data. The user
// locale is taken at first use from LC_ALL, LC_TIME or LANG ("de_DE.UTF-8"; a language
// without a built-in country takes that language's first locale, anything else
// en-US), and tests can set it (testhooks_time.h). The system and thread locales are
// the user locale. Setting the locale sets the ANSI code page to the locale's.
// Nothing here calls setlocale or reads the C library's locale.

#include <string>
#include <string_view>

#include "platform/base/langid.h"
#include "platform/base/oledate.h"
#include "platform/base/systime.h"
#include "platform/base/wintypes.h"

using LCTYPE = DWORD;

inline constexpr LCID LCID_EN_US = 1033;
inline constexpr LCID LCID_EN_GB = 2057;
inline constexpr LCID LCID_DE_DE = 1031;
inline constexpr LCID LCID_FR_FR = 1036;
inline constexpr LCID LCID_NL_NL = 1043;

// ---- GetLocaleInfo items and flags -----------------------------------------------------
inline constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000u;
inline constexpr LCTYPE LOCALE_USE_CP_ACP = 0x40000000u;
inline constexpr LCTYPE LOCALE_RETURN_NUMBER = 0x20000000u;

inline constexpr LCTYPE LOCALE_ILANGUAGE = 0x01;
inline constexpr LCTYPE LOCALE_SLANGUAGE = 0x02;
inline constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x03;
inline constexpr LCTYPE LOCALE_SNATIVELANGNAME = 0x04;
inline constexpr LCTYPE LOCALE_ICOUNTRY = 0x05;
inline constexpr LCTYPE LOCALE_SCOUNTRY = 0x06;
inline constexpr LCTYPE LOCALE_SABBREVCTRYNAME = 0x07;
inline constexpr LCTYPE LOCALE_SNATIVECTRYNAME = 0x08;
inline constexpr LCTYPE LOCALE_IDEFAULTLANGUAGE = 0x09;
inline constexpr LCTYPE LOCALE_IDEFAULTCOUNTRY = 0x0A;
inline constexpr LCTYPE LOCALE_IDEFAULTCODEPAGE = 0x0B;
inline constexpr LCTYPE LOCALE_SLIST = 0x0C;
inline constexpr LCTYPE LOCALE_IMEASURE = 0x0D;
inline constexpr LCTYPE LOCALE_SDECIMAL = 0x0E;
inline constexpr LCTYPE LOCALE_STHOUSAND = 0x0F;
inline constexpr LCTYPE LOCALE_SGROUPING = 0x10;
inline constexpr LCTYPE LOCALE_IDIGITS = 0x11;
inline constexpr LCTYPE LOCALE_ILZERO = 0x12;
inline constexpr LCTYPE LOCALE_SNATIVEDIGITS = 0x13;
inline constexpr LCTYPE LOCALE_SCURRENCY = 0x14;
inline constexpr LCTYPE LOCALE_SINTLSYMBOL = 0x15;
inline constexpr LCTYPE LOCALE_SMONDECIMALSEP = 0x16;
inline constexpr LCTYPE LOCALE_SMONTHOUSANDSEP = 0x17;
inline constexpr LCTYPE LOCALE_SMONGROUPING = 0x18;
inline constexpr LCTYPE LOCALE_ICURRDIGITS = 0x19;
inline constexpr LCTYPE LOCALE_IINTLCURRDIGITS = 0x1A;
inline constexpr LCTYPE LOCALE_ICURRENCY = 0x1B;
inline constexpr LCTYPE LOCALE_INEGCURR = 0x1C;
inline constexpr LCTYPE LOCALE_SDATE = 0x1D;
inline constexpr LCTYPE LOCALE_STIME = 0x1E;
inline constexpr LCTYPE LOCALE_SSHORTDATE = 0x1F;
inline constexpr LCTYPE LOCALE_SLONGDATE = 0x20;
inline constexpr LCTYPE LOCALE_IDATE = 0x21;
inline constexpr LCTYPE LOCALE_ILDATE = 0x22;
inline constexpr LCTYPE LOCALE_ITIME = 0x23;
inline constexpr LCTYPE LOCALE_ICENTURY = 0x24;
inline constexpr LCTYPE LOCALE_ITLZERO = 0x25;
inline constexpr LCTYPE LOCALE_IDAYLZERO = 0x26;
inline constexpr LCTYPE LOCALE_IMONLZERO = 0x27;
inline constexpr LCTYPE LOCALE_S1159 = 0x28;
inline constexpr LCTYPE LOCALE_S2359 = 0x29;
inline constexpr LCTYPE LOCALE_SDAYNAME1 = 0x2A; // Monday; ..7 is Sunday
inline constexpr LCTYPE LOCALE_SDAYNAME2 = 0x2B;
inline constexpr LCTYPE LOCALE_SDAYNAME3 = 0x2C;
inline constexpr LCTYPE LOCALE_SDAYNAME4 = 0x2D;
inline constexpr LCTYPE LOCALE_SDAYNAME5 = 0x2E;
inline constexpr LCTYPE LOCALE_SDAYNAME6 = 0x2F;
inline constexpr LCTYPE LOCALE_SDAYNAME7 = 0x30;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x31;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME2 = 0x32;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME3 = 0x33;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME4 = 0x34;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME5 = 0x35;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME6 = 0x36;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME7 = 0x37;
inline constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x38;
inline constexpr LCTYPE LOCALE_SMONTHNAME2 = 0x39;
inline constexpr LCTYPE LOCALE_SMONTHNAME3 = 0x3A;
inline constexpr LCTYPE LOCALE_SMONTHNAME4 = 0x3B;
inline constexpr LCTYPE LOCALE_SMONTHNAME5 = 0x3C;
inline constexpr LCTYPE LOCALE_SMONTHNAME6 = 0x3D;
inline constexpr LCTYPE LOCALE_SMONTHNAME7 = 0x3E;
inline constexpr LCTYPE LOCALE_SMONTHNAME8 = 0x3F;
inline constexpr LCTYPE LOCALE_SMONTHNAME9 = 0x40;
inline constexpr LCTYPE LOCALE_SMONTHNAME10 = 0x41;
inline constexpr LCTYPE LOCALE_SMONTHNAME11 = 0x42;
inline constexpr LCTYPE LOCALE_SMONTHNAME12 = 0x43;
inline constexpr LCTYPE LOCALE_SMONTHNAME13 = 0x100E;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x44;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME2 = 0x45;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME3 = 0x46;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME4 = 0x47;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME5 = 0x48;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME6 = 0x49;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME7 = 0x4A;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME8 = 0x4B;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME9 = 0x4C;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME10 = 0x4D;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME11 = 0x4E;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME12 = 0x4F;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME13 = 0x100F;
inline constexpr LCTYPE LOCALE_SPOSITIVESIGN = 0x50;
inline constexpr LCTYPE LOCALE_SNEGATIVESIGN = 0x51;
inline constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x59;
inline constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x5A;
inline constexpr LCTYPE LOCALE_SNAME = 0x5C;
inline constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
inline constexpr LCTYPE LOCALE_SENGCOUNTRY = 0x1002;
inline constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;
inline constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;
inline constexpr LCTYPE LOCALE_ITIMEMARKPOSN = 0x1005;
inline constexpr LCTYPE LOCALE_SYEARMONTH = 0x1006;
inline constexpr LCTYPE LOCALE_ICALENDARTYPE = 0x1009;
inline constexpr LCTYPE LOCALE_IOPTIONALCALENDAR = 0x100B;
inline constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;
inline constexpr LCTYPE LOCALE_IFIRSTWEEKOFYEAR = 0x100D;
inline constexpr LCTYPE LOCALE_INEGNUMBER = 0x1010;
inline constexpr LCTYPE LOCALE_IDEFAULTMACCODEPAGE = 0x1011;

// ---- date and time formatting flags ------------------------------------------------------
inline constexpr DWORD DATE_SHORTDATE = 0x01;
inline constexpr DWORD DATE_LONGDATE = 0x02;
inline constexpr DWORD DATE_USE_ALT_CALENDAR = 0x04;
inline constexpr DWORD DATE_YEARMONTH = 0x08;
inline constexpr DWORD DATE_LTRREADING = 0x10;
inline constexpr DWORD DATE_RTLREADING = 0x20;
inline constexpr DWORD TIME_NOMINUTESORSECONDS = 0x01;
inline constexpr DWORD TIME_NOSECONDS = 0x02;
inline constexpr DWORD TIME_NOTIMEMARKER = 0x04;
inline constexpr DWORD TIME_FORCE24HOURFORMAT = 0x08;

inline constexpr DWORD LCID_INSTALLED = 0x01;
inline constexpr DWORD LCID_SUPPORTED = 0x02;

// ---- automation date conversion ------------------------------------------------------------
inline constexpr ULONG VAR_TIMEVALUEONLY = 0x01;
inline constexpr ULONG VAR_DATEVALUEONLY = 0x02;
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000Au);

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();
LCID GetThreadLocale();
BOOL IsValidLocale(LCID Locale, DWORD dwFlags);

// The item's text (or, with LOCALE_RETURN_NUMBER, its value as a DWORD stored in the
// buffer: cchData counts sizeof(DWORD) / sizeof(WCHAR) = 1 element). Returns the
// characters written including the terminator, or with cchData 0 the size needed; 0 on
// failure (ERROR_INVALID_PARAMETER for an unknown locale or item,
// ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_FLAGS for a number asked of a text item).
int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);
int GetLocaleInfo(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);

// Format pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, gg; h hh H HH m mm s ss t tt;
// 'quoted text'; '' is a quote. Other characters are copied. A null time is now (local).
// Same return convention as GetLocaleInfoW; ERROR_INVALID_FLAGS for a picture given with
// DATE_SHORTDATE / DATE_LONGDATE / DATE_YEARMONTH or for conflicting flags,
// ERROR_INVALID_PARAMETER for an invalid date or time.
int GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr,
    int cchDate);
int GetDateFormat(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr,
    int cchDate);
int GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr,
    int cchTime);
int GetTimeFormat(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr,
    int cchTime);

// Parses date and/or time text: numeric dates with / - . (or the locale's separator) in
// the locale's order (another order when that gives no valid date; a leading year of
// three or four digits means year-month-day), month names and abbreviations of the
// locale or English, weekday names (ignored), times h:mm[:ss] with or without the
// locale's or the English AM/PM marker. Two-digit years 00-29 are 20xx, 30-99 19xx. No
// date means 1899-12-30; no time midnight. VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY drop
// the other part. S_OK; DISP_E_TYPEMISMATCH for text that is no date;
// DISP_E_OVERFLOW for a year outside 100..9999; E_INVALIDARG for null pointers.
HRESULT VarDateFromStr(LPCOLESTR strIn, LCID lcid, ULONG dwFlags, DATE* pdateOut);

namespace zyn::base {

// The item's text in the locale, or nothing for an unknown locale or item.
bool GetLocaleString(LCID lcid, LCTYPE item, std::wstring& out);
// The locale's ANSI code page.
UINT LocaleAnsiCodePage(LCID lcid);

// Picture formatting behind GetDateFormatW / GetTimeFormatW; ERROR_SUCCESS or the
// error code.
DWORD FormatDatePicture(LCID lcid, DWORD flags, const SYSTEMTIME& date, const wchar_t* picture, std::wstring& out);
DWORD FormatTimePicture(LCID lcid, DWORD flags, const SYSTEMTIME& time, const wchar_t* picture, std::wstring& out);

// The text of an automation date in the locale's short date and time formats, as the
// automation library converts a date to a string: a zero time (midnight) is left out,
// and so is the date 1899-12-30; VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY keep one part.
// False for a date outside the range.
bool FormatVariantDate(DATE date, ULONG flags, LCID lcid, std::wstring& out);

// Which parts of a date and time the text itself gave. VarDateFromStr completes the
// rest: a missing year with the current year (of the local date now), a missing day with
// the 1st, a missing date with 1899-12-30, a missing time with midnight. Callers that must
// not depend on today (archive files) refuse text that leaves a part out.
struct VariantDateParts {
    bool year = false;
    bool month = false;
    bool day = false;
    bool time = false;
};

// VarDateFromStr's parser; `named` (when given) receives the parts the text gave, on
// success.
HRESULT ParseVariantDate(std::wstring_view text, LCID lcid, ULONG flags, DATE& out,
    VariantDateParts* named = nullptr);

} // namespace zyn::base
