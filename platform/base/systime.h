#pragma once
// The Win32 clock and time-zone API: SYSTEMTIME, FILETIME (100 ns ticks since
// 1601-01-01 UTC) and TIME_ZONE_INFORMATION.
//
// The wall clock is the real clock unless a test froze it (testhooks_time.h). The zone
// comes from the tz database: the name in TZ (":Europe/Berlin" or "Europe/Berlin"; a
// POSIX rule such as "CET-1CEST,M3.5.0,M10.5.0/3" is accepted too), else
// /etc/timezone, else the /etc/localtime link. Its TZif file's POSIX rule is mapped to
// one TIME_ZONE_INFORMATION, which then governs every year, as a classic Windows zone
// record does. Nothing here reads the C library's notion of the local zone.
//
// Local wall times that do not exist (the hour skipped when daylight saving starts)
// are read in standard time, so they land after the change; wall times that occur
// twice (the hour repeated when it ends) are read in daylight time, the first
// occurrence.

#include <string>

#include "platform/base/wintypes.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1..12
    WORD wDayOfWeek; // 0 = Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;
using PSYSTEMTIME = SYSTEMTIME*;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;
using PFILETIME = FILETIME*;

// StandardDate / DaylightDate: with wYear 0 the "day-of-week occurrence" form: the
// change happens in month wMonth on the wDay-th (1..5, 5 = last) weekday wDayOfWeek of
// the month, at wHour:wMinute:wSecond local time (DaylightDate in standard time,
// StandardDate in daylight time). wHour may exceed 23 to reach into the following days.
// With wYear non-zero the fixed form: wMonth/wDay every year. wMonth 0: no daylight
// saving.
struct TIME_ZONE_INFORMATION {
    LONG Bias; // minutes west of UTC: UTC = local + Bias
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias; // usually -60
};
using LPTIME_ZONE_INFORMATION = TIME_ZONE_INFORMATION*;
using PTIME_ZONE_INFORMATION = TIME_ZONE_INFORMATION*;

inline constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
inline constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
inline constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
inline constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFFu;

void GetSystemTime(LPSYSTEMTIME lpSystemTime);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTimeAsFileTime(LPFILETIME lpFileTime);

// Fills the current zone; TIME_ZONE_ID_UNKNOWN for a zone without daylight saving,
// else whether daylight saving is in effect now. TIME_ZONE_ID_INVALID for a null
// pointer (last error ERROR_INVALID_PARAMETER).
DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation);

// Fails (FALSE, ERROR_INVALID_PARAMETER) for fields out of range: year 1601..30827,
// month 1..12, a day the month has, hour < 24, minute and second < 60, ms < 1000.
// wDayOfWeek is ignored.
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
// Fails for values with the top bit set; computes wDayOfWeek.
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
// As on Windows, these two use the bias in effect now, not the one at the given time.
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);
// Use the rule of the given zone (the current zone for null) at the given date.
BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* lpTimeZone, const SYSTEMTIME* lpUniversalTime,
    LPSYSTEMTIME lpLocalTime);
BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation,
    const SYSTEMTIME* lpLocalTime, LPSYSTEMTIME lpUniversalTime);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);

namespace zyn::base {

// FILETIME as one 64-bit tick count and back.
constexpr uint64_t FileTimeToTicks(const FILETIME& ft)
{
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
constexpr FILETIME TicksToFileTime(uint64_t ticks)
{
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

// Seconds since 1970-01-01 00:00 of the SYSTEMTIME's fields (no validation, ms ignored).
int64_t SystemTimeToUnixSeconds(const SYSTEMTIME& st);
// The SYSTEMTIME of seconds since 1970 (wDayOfWeek set, ms 0); false when the year
// falls outside 1601..30827.
bool UnixSecondsToSystemTime(int64_t seconds, SYSTEMTIME& st);
bool IsValidSystemTime(const SYSTEMTIME& st);

// The current wall clock in seconds and 100 ns ticks since 1970 (UTC).
int64_t UnixTimeNow();
int64_t UnixTicksNow();

// Zone arithmetic on the given record (the current zone's when null), all in seconds
// since 1970: whether daylight saving is in effect at a UTC instant; the offset to add
// to UTC to get local time; and the UTC instant of a local wall time (nDst < 0: decide
// by the rule as described at the top; 0: standard; > 0: daylight).
bool IsDaylightAtUtc(const TIME_ZONE_INFORMATION& tz, int64_t utcSeconds);
int64_t LocalOffsetAtUtc(const TIME_ZONE_INFORMATION& tz, int64_t utcSeconds, bool* daylight = nullptr);
int64_t UtcFromLocal(const TIME_ZONE_INFORMATION& tz, int64_t localSeconds, int nDst = -1, bool* daylight = nullptr);
bool ZoneHasDaylight(const TIME_ZONE_INFORMATION& tz);
// A copy of the current zone's record.
TIME_ZONE_INFORMATION CurrentTimeZone();
// The tz database name of the current zone ("Europe/Berlin"), or the rule text when
// the zone came from a POSIX rule, or "UTC" when nothing was found.
std::wstring CurrentTimeZoneName();

} // namespace zyn::base
