#pragma once
// The strftime conversions of CTime::Format and COleDateTime::Format, done here with the
// C locale's English names whatever the user locale is:
//   %a %A %b %B   abbreviated / full weekday and month names
//   %c %x %X      "%m/%d/%y %H:%M:%S", "%m/%d/%y", "%H:%M:%S"; with # the long forms
//                 "Saturday, July 05, 2008 15:04:05" and "Saturday, July 05, 2008"
//   %d %H %I %j %m %M %S %U %w %W %y %Y   numbers (# drops leading zeros)
//   %p            AM / PM
//   %z %Z         the zone name (empty when none is known)
//   %%            a percent sign
// An unknown conversion or a lone % at the end is an error, reported as nullopt.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace zyn::base {

// tm must carry consistent tm_wday and tm_yday.
std::optional<std::wstring> FormatTm(std::wstring_view format, const std::tm& tm, std::wstring_view zoneName);

// Fills a struct tm from calendar fields (tm_wday, tm_yday computed).
std::tm MakeTm(int64_t year, int month, int day, int hour, int minute, int second, int isdst);

// English names: weekday 0 = Sunday, month 1..12.
std::wstring_view EnglishDayName(int weekday, bool abbreviated);
std::wstring_view EnglishMonthName(int month, bool abbreviated);

} // namespace zyn::base
