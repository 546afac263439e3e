#include "platform/base/systime.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/datecalc.h"
#include "platform/base/lasterror.h"
#include "platform/base/testhooks_time.h"
#include "platform/base/tzrule.h"

namespace dc = zyn::base::datecalc;

namespace zyn::base {
namespace {

// FILETIME ticks of 1970-01-01.
constexpr int64_t kUnixEpochTicks = -dc::kFileTimeEpochDay * dc::kSecondsPerDay * dc::kTicksPerSecond;
// Seconds since 1970 of the SYSTEMTIME range 1601-01-01 .. 30827-12-31 23:59:59.
constexpr int64_t kMinSystemSeconds = dc::kFileTimeEpochDay * dc::kSecondsPerDay;
constexpr int64_t kMaxSystemSeconds = dc::DaysFromCivil(30828, 1, 1) * dc::kSecondsPerDay - 1;

// ---- the wall clock -----------------------------------------------------------------
// A frozen wall clock set while the process clock runs virtual moves on with it, so
// that a virtual Sleep advances GetSystemTime as it advances GetTickCount.
struct FrozenClock {
    bool frozen = false;
    int64_t fileTicks = 0;
    bool anchored = false;   // the process clock was virtual when the wall clock was set
    uint64_t anchorMs = 0;   // process-clock milliseconds at that moment
};
std::mutex g_clockMutex;
FrozenClock g_clock;

int64_t FileTicksNow()
{
    FrozenClock c;
    {
        std::lock_guard lock(g_clockMutex);
        c = g_clock;
    }
    if (c.frozen) {
        if (c.anchored && Clock::IsVirtual()) {
            const uint64_t nowMs = Clock::NowMs();
            if (nowMs > c.anchorMs)
                return c.fileTicks + static_cast<int64_t>(nowMs - c.anchorMs) * 10'000;
        }
        return c.fileTicks;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    return kUnixEpochTicks + ns / 100;
}

// ---- the zone -----------------------------------------------------------------------
struct Zone {
    TIME_ZONE_INFORMATION tz;
    std::wstring name;
};

std::mutex g_zoneMutex;
std::optional<Zone> g_zone; // loaded on first use

constexpr uintmax_t kMaxZoneFileSize = 1 << 20;

std::optional<TIME_ZONE_INFORMATION> ReadZoneFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxZoneFileSize || !std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return TimeZoneFromTzif(bytes);
}

std::filesystem::path ZoneDirectory()
{
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? std::filesystem::path(dir) : std::filesystem::path("/usr/share/zoneinfo");
}

// A zone of the database by name ("Europe/Berlin") or an absolute path to a TZif file.
std::optional<TIME_ZONE_INFORMATION> LoadNamedZone(std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    const std::filesystem::path rel(name);
    for (const auto& part : rel)
        if (part == "..")
            return std::nullopt;
    if (rel.is_absolute())
        return ReadZoneFile(rel);
    return ReadZoneFile(ZoneDirectory() / rel);
}

std::wstring Widen(std::string_view s)
{
    std::wstring w;
    for (const char c : s)
        w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return w;
}

// A zone name or POSIX rule, as TZ gives it (a leading ':' is dropped).
std::optional<Zone> LoadZoneSpec(std::string_view spec)
{
    if (!spec.empty() && spec.front() == ':')
        spec.remove_prefix(1);
    if (auto tz = LoadNamedZone(spec))
        return Zone{*tz, Widen(spec)};
    if (auto tz = TimeZoneFromPosixRule(spec))
        return Zone{*tz, Widen(spec)};
    return std::nullopt;
}

Zone Utc() { return Zone{FixedTimeZone(0, L"UTC"), L"UTC"}; }

Zone LoadZoneFromEnvironment()
{
    if (const char* tz = std::getenv("TZ")) {
        // TZ set but empty or unusable means UTC, as the C library reads it.
        if (auto zone = LoadZoneSpec(tz))
            return *zone;
        return Utc();
    }
    {
        std::ifstream in("/etc/timezone");
        std::string line;
        if (in && std::getline(in, line)) {
            while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
                line.pop_back();
            if (auto tz = LoadNamedZone(line))
                return Zone{*tz, Widen(line)};
        }
    }
    std::error_code ec;
    const auto target = std::filesystem::read_symlink("/etc/localtime", ec);
    if (!ec) {
        const std::string t = target.string();
        const auto at = t.find("zoneinfo/");
        if (at != std::string::npos) {
            const std::string name = t.substr(at + 9);
            if (auto tz = LoadNamedZone(name))
                return Zone{*tz, Widen(name)};
        }
    }
    if (auto tz = ReadZoneFile("/etc/localtime"))
        return Zone{*tz, L"localtime"};
    return Utc();
}

// Caller holds g_zoneMutex.
const Zone& ZoneLocked()
{
    if (!g_zone)
        g_zone = LoadZoneFromEnvironment();
    return *g_zone;
}

bool IsValidRuleDate(const SYSTEMTIME& d)
{
    if (d.wMonth < 1 || d.wMonth > 12 || d.wMinute > 59 || d.wSecond > 59)
        return false;
    if (d.wYear == 0)
        return d.wDay >= 1 && d.wDay <= 5 && d.wDayOfWeek <= 6 && d.wHour < 24 * 7;
    return d.wDay >= 1 && d.wDay <= 31 && d.wHour < 24 * 7;
}

// Seconds since 1970 of the local wall time at which a rule date falls in a year.
int64_t RuleDateInYear(const SYSTEMTIME& rule, int64_t year)
{
    int64_t day;
    const int dim = dc::DaysInMonth(year, rule.wMonth);
    if (rule.wYear != 0) {
        day = dc::DaysFromCivil(year, rule.wMonth, rule.wDay < dim ? rule.wDay : dim);
    } else {
        const int64_t first = dc::DaysFromCivil(year, rule.wMonth, 1);
        const int offset = static_cast<int>(dc::FloorMod(rule.wDayOfWeek - dc::WeekdayFromDays(first), 7));
        day = first + offset + (rule.wDay - 1) * 7;
        while (day >= first + dim)
            day -= 7;
    }
    return day * dc::kSecondsPerDay + rule.wHour * 3600 + rule.wMinute * 60 + rule.wSecond;
}

int64_t YearOfSeconds(int64_t seconds) { return dc::CivilFromDays(dc::FloorDiv(seconds, dc::kSecondsPerDay)).year; }

int64_t SecondsFromFileTicks(int64_t ticks, int64_t* remainderTicks = nullptr)
{
    const int64_t rel = ticks - kUnixEpochTicks;
    if (remainderTicks)
        *remainderTicks = dc::FloorMod(rel, dc::kTicksPerSecond);
    return dc::FloorDiv(rel, dc::kTicksPerSecond);
}

bool SystemTimeFromFileTicks(int64_t ticks, SYSTEMTIME& st)
{
    int64_t rem = 0;
    const int64_t seconds = SecondsFromFileTicks(ticks, &rem);
    if (!UnixSecondsToSystemTime(seconds, st))
        return false;
    st.wMilliseconds = static_cast<WORD>(rem / 10'000);
    return true;
}

} // namespace

// ---- shared helpers ---------------------------------------------------------------------

int64_t SystemTimeToUnixSeconds(const SYSTEMTIME& st)
{
    return dc::DaysFromCivil(st.wYear, st.wMonth, st.wDay) * dc::kSecondsPerDay + st.wHour * 3600
        + st.wMinute * 60 + st.wSecond;
}

bool UnixSecondsToSystemTime(int64_t seconds, SYSTEMTIME& st)
{
    if (seconds < kMinSystemSeconds || seconds > kMaxSystemSeconds)
        return false;
    const int64_t days = dc::FloorDiv(seconds, dc::kSecondsPerDay);
    const int64_t sod = seconds - days * dc::kSecondsPerDay;
    const auto civil = dc::CivilFromDays(days);
    st.wYear = static_cast<WORD>(civil.year);
    st.wMonth = static_cast<WORD>(civil.month);
    st.wDay = static_cast<WORD>(civil.day);
    st.wDayOfWeek = static_cast<WORD>(dc::WeekdayFromDays(days));
    st.wHour = static_cast<WORD>(sod / 3600);
    st.wMinute = static_cast<WORD>(sod / 60 % 60);
    st.wSecond = static_cast<WORD>(sod % 60);
    st.wMilliseconds = 0;
    return true;
}

bool IsValidSystemTime(const SYSTEMTIME& st)
{
    return st.wYear >= 1601 && st.wYear <= 30827 && dc::IsValidDate(st.wYear, st.wMonth, st.wDay) && st.wHour < 24
        && st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

int64_t UnixTimeNow() { return SecondsFromFileTicks(FileTicksNow()); }
int64_t UnixTicksNow() { return FileTicksNow() - kUnixEpochTicks; }

bool ZoneHasDaylight(const TIME_ZONE_INFORMATION& tz)
{
    return IsValidRuleDate(tz.DaylightDate) && IsValidRuleDate(tz.StandardDate) && tz.DaylightBias != tz.StandardBias;
}

bool IsDaylightAtUtc(const TIME_ZONE_INFORMATION& tz, int64_t utc)
{
    if (!ZoneHasDaylight(tz))
        return false;
    const int64_t standardShift = int64_t{tz.Bias + tz.StandardBias} * 60;
    const int64_t daylightShift = int64_t{tz.Bias + tz.DaylightBias} * 60;
    const int64_t year = YearOfSeconds(utc - standardShift);
    const int64_t start = RuleDateInYear(tz.DaylightDate, year) + standardShift;
    const int64_t end = RuleDateInYear(tz.StandardDate, year) + daylightShift;
    if (start < end)
        return utc >= start && utc < end;
    return !(utc >= end && utc < start); // southern hemisphere: daylight across the new year
}

int64_t LocalOffsetAtUtc(const TIME_ZONE_INFORMATION& tz, int64_t utc, bool* daylight)
{
    const bool dst = IsDaylightAtUtc(tz, utc);
    if (daylight)
        *daylight = dst;
    return -int64_t{tz.Bias + (dst ? tz.DaylightBias : tz.StandardBias)} * 60;
}

int64_t UtcFromLocal(const TIME_ZONE_INFORMATION& tz, int64_t local, int nDst, bool* daylight)
{
    const int64_t asStandard = local + int64_t{tz.Bias + tz.StandardBias} * 60;
    const int64_t asDaylight = local + int64_t{tz.Bias + tz.DaylightBias} * 60;
    bool dst = false;
    if (!ZoneHasDaylight(tz))
        dst = false;
    else if (nDst == 0)
        dst = false;
    else if (nDst > 0)
        dst = true;
    else {
        const bool standardFits = !IsDaylightAtUtc(tz, asStandard);
        const bool daylightFits = IsDaylightAtUtc(tz, asDaylight);
        if (standardFits != daylightFits)
            dst = daylightFits;
        else if (standardFits) // the wall time occurs twice: the first occurrence
            dst = asDaylight < asStandard;
        else // the wall time was skipped: the offset in effect before the change
            dst = IsDaylightAtUtc(tz, (asDaylight < asStandard ? asDaylight : asStandard) - 1);
    }
    if (daylight)
        *daylight = dst;
    return dst ? asDaylight : asStandard;
}

TIME_ZONE_INFORMATION CurrentTimeZone()
{
    std::lock_guard lock(g_zoneMutex);
    return ZoneLocked().tz;
}

std::wstring CurrentTimeZoneName()
{
    std::lock_guard lock(g_zoneMutex);
    return ZoneLocked().name;
}

// ---- test hooks ---------------------------------------------------------------------------

bool SetTimeZoneForTests(const std::wstring& ianaName)
{
    if (ianaName.empty()) {
        Zone zone = LoadZoneFromEnvironment();
        std::lock_guard lock(g_zoneMutex);
        g_zone = std::move(zone);
        return true;
    }
    std::string narrow;
    for (const wchar_t c : ianaName) {
        if (c <= 0 || c > 0x7E)
            return false;
        narrow.push_back(static_cast<char>(c));
    }
    auto zone = LoadZoneSpec(narrow);
    if (!zone)
        return false;
    std::lock_guard lock(g_zoneMutex);
    g_zone = std::move(zone);
    return true;
}

bool SetSystemTimeForTests(std::optional<FILETIME> now)
{
    FrozenClock c;
    if (now) {
        const uint64_t ticks = FileTimeToTicks(*now);
        if (ticks > static_cast<uint64_t>(INT64_MAX))
            return false;
        c.frozen = true;
        c.fileTicks = static_cast<int64_t>(ticks);
        c.anchored = Clock::IsVirtual();
        c.anchorMs = c.anchored ? Clock::NowMs() : 0;
    }
    std::lock_guard lock(g_clockMutex);
    g_clock = c;
    return true;
}

} // namespace zyn::base

using namespace zyn::base;

// ---- the Win32 surface ----------------------------------------------------------------------

void GetSystemTimeAsFileTime(LPFILETIME lpFileTime)
{
    if (lpFileTime)
        *lpFileTime = TicksToFileTime(static_cast<uint64_t>(FileTicksNow()));
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    if (!lpSystemTime)
        return;
    SystemTimeFromFileTicks(FileTicksNow(), *lpSystemTime);
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    if (!lpSystemTime)
        return;
    const int64_t ticks = FileTicksNow();
    const int64_t offset = LocalOffsetAtUtc(CurrentTimeZone(), SecondsFromFileTicks(ticks));
    SystemTimeFromFileTicks(ticks + offset * dc::kTicksPerSecond, *lpSystemTime);
}

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation)
{
    if (!lpTimeZoneInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    *lpTimeZoneInformation = CurrentTimeZone();
    if (!ZoneHasDaylight(*lpTimeZoneInformation))
        return TIME_ZONE_ID_UNKNOWN;
    return IsDaylightAtUtc(*lpTimeZoneInformation, UnixTimeNow()) ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (!lpSystemTime || !lpFileTime || !IsValidSystemTime(*lpSystemTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int64_t seconds = SystemTimeToUnixSeconds(*lpSystemTime);
    const int64_t ticks = kUnixEpochTicks + seconds * dc::kTicksPerSecond
        + int64_t{lpSystemTime->wMilliseconds} * 10'000;
    *lpFileTime = TicksToFileTime(static_cast<uint64_t>(ticks));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint64_t ticks = FileTimeToTicks(*lpFileTime);
    if (ticks > static_cast<uint64_t>(INT64_MAX) || !SystemTimeFromFileTicks(static_cast<int64_t>(ticks), *lpSystemTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

namespace {
BOOL ShiftFileTime(const FILETIME* in, LPFILETIME out, int64_t offsetSeconds)
{
    if (!in || !out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint64_t ticks = FileTimeToTicks(*in);
    const int64_t shift = offsetSeconds * dc::kTicksPerSecond;
    if (ticks > static_cast<uint64_t>(INT64_MAX) || (shift < 0 && static_cast<int64_t>(ticks) < -shift)
        || (shift > 0 && static_cast<int64_t>(ticks) > INT64_MAX - shift)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *out = TicksToFileTime(static_cast<uint64_t>(static_cast<int64_t>(ticks) + shift));
    return TRUE;
}
} // namespace

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime)
{
    return ShiftFileTime(lpFileTime, lpLocalFileTime, LocalOffsetAtUtc(CurrentTimeZone(), UnixTimeNow()));
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime)
{
    return ShiftFileTime(lpLocalFileTime, lpFileTime, -LocalOffsetAtUtc(CurrentTimeZone(), UnixTimeNow()));
}

BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* lpTimeZone, const SYSTEMTIME* lpUniversalTime,
    LPSYSTEMTIME lpLocalTime)
{
    if (!lpUniversalTime || !lpLocalTime || !IsValidSystemTime(*lpUniversalTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const TIME_ZONE_INFORMATION tz = lpTimeZone ? *lpTimeZone : CurrentTimeZone();
    const int64_t utc = SystemTimeToUnixSeconds(*lpUniversalTime);
    SYSTEMTIME local{};
    if (!UnixSecondsToSystemTime(utc + LocalOffsetAtUtc(tz, utc), local)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    local.wMilliseconds = lpUniversalTime->wMilliseconds;
    *lpLocalTime = local;
    return TRUE;
}

BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation,
    const SYSTEMTIME* lpLocalTime, LPSYSTEMTIME lpUniversalTime)
{
    if (!lpLocalTime || !lpUniversalTime || !IsValidSystemTime(*lpLocalTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const TIME_ZONE_INFORMATION tz = lpTimeZoneInformation ? *lpTimeZoneInformation : CurrentTimeZone();
    SYSTEMTIME utc{};
    if (!UnixSecondsToSystemTime(UtcFromLocal(tz, SystemTimeToUnixSeconds(*lpLocalTime)), utc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    utc.wMilliseconds = lpLocalTime->wMilliseconds;
    *lpUniversalTime = utc;
    return TRUE;
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    if (!lpFileTime1 || !lpFileTime2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const uint64_t a = FileTimeToTicks(*lpFileTime1);
    const uint64_t b = FileTimeToTicks(*lpFileTime2);
    return a < b ? -1 : a > b ? 1 : 0;
}
