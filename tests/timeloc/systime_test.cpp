// The clock, FILETIME/SYSTEMTIME conversions and the zones of the tz database.
#include <cstdlib>
#include <string>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;

namespace {

uint64_t Ticks(const FILETIME& ft) { return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; }

FILETIME Ft(uint64_t ticks) { return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }

SYSTEMTIME ToLocal(const SYSTEMTIME& utc, const TIME_ZONE_INFORMATION* tz = nullptr)
{
    SYSTEMTIME local{};
    EXPECT_TRUE(SystemTimeToTzSpecificLocalTime(tz, &utc, &local)) << Fields(utc);
    return local;
}

SYSTEMTIME ToUtc(const SYSTEMTIME& local, const TIME_ZONE_INFORMATION* tz = nullptr)
{
    SYSTEMTIME utc{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(tz, &local, &utc)) << Fields(local);
    return utc;
}

// Restores an environment variable when the test ends.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : m_name(name)
    {
        if (const char* v = std::getenv(name))
            m_old = v;
    }
    ~EnvGuard()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

// ---- FILETIME <-> SYSTEMTIME -----------------------------------------------------------------

class FileTimeConversion : public TimeLocTest {};

TEST_F(FileTimeConversion, BoundsOfTheRange)
{
    struct Case {
        SYSTEMTIME st;
        uint64_t ticks;
        WORD dayOfWeek;
    };
    const Case cases[] = {
        {St(1601, 1, 1), 0, 1},                                                 // the epoch, a Monday
        {St(1970, 1, 1), kFileTime1970, 4},                                     // a Thursday
        {St(2036, 12, 31, 23, 59, 59), kFileTime1970 + 2114380799ull * 10'000'000, 3},
        {St(2038, 1, 19, 3, 14, 8), kFileTime1970 + 2147483648ull * 10'000'000, 2}, // past 32-bit time_t
        {St(9999, 12, 31, 23, 59, 59, 999), 2650467743999990000ull, 5},
    };
    for (const auto& c : cases) {
        FILETIME ft{};
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft)) << Fields(c.st);
        EXPECT_EQ(Ticks(ft), c.ticks) << Fields(c.st);
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(Fields(back), Fields(c.st));
        EXPECT_EQ(back.wDayOfWeek, c.dayOfWeek) << Fields(c.st);
    }
}

TEST_F(FileTimeConversion, SubMillisecondTicksAreDroppedNotRounded)
{
    SYSTEMTIME st{};
    const FILETIME ft = Ft(kFileTime1970 + 9'999);
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    EXPECT_EQ(Fields(st), L"1970-01-01 00:00:00.000");
}

TEST_F(FileTimeConversion, RejectsFieldsOutOfRange)
{
    const SYSTEMTIME bad[] = {St(1600, 12, 31), St(30828, 1, 1), St(2008, 2, 30), St(2007, 2, 29), St(2008, 13, 1),
        St(2008, 0, 1), St(2008, 1, 0), St(2008, 1, 1, 24), St(2008, 1, 1, 0, 60), St(2008, 1, 1, 0, 0, 60),
        St(2008, 1, 1, 0, 0, 0, 1000)};
    for (const auto& st : bad) {
        FILETIME ft{123, 456};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << Fields(st);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ft.dwLowDateTime, 123u) << "output untouched on failure";
    }
    const SYSTEMTIME leap = St(2008, 2, 29);
    FILETIME ft{};
    EXPECT_TRUE(SystemTimeToFileTime(&leap, &ft));
}

TEST_F(FileTimeConversion, RejectsFileTimesWithTheTopBitSet)
{
    const FILETIME ft = Ft(0x8000000000000000ull);
    SYSTEMTIME st{};
    EXPECT_FALSE(FileTimeToSystemTime(&ft, &st));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, nullptr));
}

TEST_F(FileTimeConversion, CompareFileTime)
{
    const FILETIME a = Ft(100), b = Ft(0x100000000ull), c = Ft(100);
    EXPECT_EQ(CompareFileTime(&a, &b), -1);
    EXPECT_EQ(CompareFileTime(&b, &a), 1);
    EXPECT_EQ(CompareFileTime(&a, &c), 0);
    EXPECT_EQ(CompareFileTime(&a, nullptr), 0);
}

// ---- the clock ----------------------------------------------------------------------------------

class Clock : public TimeLocTest {};

TEST_F(Clock, FrozenClockDrivesEveryReader)
{
    UseZone(L"Europe/Berlin");
    FreezeClockAt(1215263045); // 2008-07-05 13:04:05 UTC
    SYSTEMTIME st{};
    GetSystemTime(&st);
    EXPECT_EQ(Fields(st), L"2008-07-05 13:04:05.000");
    EXPECT_EQ(st.wDayOfWeek, 6);
    GetLocalTime(&st);
    EXPECT_EQ(Fields(st), L"2008-07-05 15:04:05.000");
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    EXPECT_EQ(Ticks(ft), Ticks(FtFromUnix(1215263045)));
    EXPECT_EQ(zyn::base::UnixTimeNow(), 1215263045);
}

TEST_F(Clock, RealClockMovesAndUnfreezes)
{
    FreezeClockAt(0);
    EXPECT_EQ(zyn::base::UnixTimeNow(), 0);
    ASSERT_TRUE(zyn::base::SetSystemTimeForTests(std::nullopt));
    EXPECT_GT(zyn::base::UnixTimeNow(), 1'600'000'000) << "the real clock is back";
    EXPECT_FALSE(zyn::base::SetSystemTimeForTests(Ft(0x8000000000000000ull)));
    EXPECT_GT(zyn::base::UnixTimeNow(), 1'600'000'000) << "a rejected value leaves the clock alone";
}

TEST_F(Clock, FrozenWallClockMovesWithVirtualTime)
{
    zyn::base::Clock::UseVirtual(5000);
    FreezeClockAt(1215263045);
    Sleep(1500); // virtual: returns at once, the process clock moves 1.5 s
    SYSTEMTIME st{};
    GetSystemTime(&st);
    EXPECT_EQ(Fields(st), L"2008-07-05 13:04:06.500");
    zyn::base::Clock::UseReal();
    EXPECT_EQ(zyn::base::UnixTimeNow(), 1215263045) << "back in real mode the wall clock stays where it was set";
    FreezeClockAt(1215263045); // set in real mode: Sleep does not move it
    Sleep(1);
    EXPECT_EQ(zyn::base::UnixTicksNow(), int64_t{1215263045} * 10'000'000);
}

// ---- zone records ----------------------------------------------------------------------------

class ZoneRules : public TimeLocTest {
protected:
    static TIME_ZONE_INFORMATION Zone(const wchar_t* name, DWORD* id = nullptr)
    {
        EXPECT_TRUE(zyn::base::SetTimeZoneForTests(name)) << "tz database zone missing";
        TIME_ZONE_INFORMATION tz{};
        const DWORD r = GetTimeZoneInformation(&tz);
        if (id)
            *id = r;
        return tz;
    }
    static void ExpectRule(const SYSTEMTIME& r, WORD month, WORD week, WORD weekday, WORD hour)
    {
        EXPECT_EQ(r.wYear, 0);
        EXPECT_EQ(r.wMonth, month);
        EXPECT_EQ(r.wDay, week);
        EXPECT_EQ(r.wDayOfWeek, weekday);
        EXPECT_EQ(r.wHour, hour);
        EXPECT_EQ(r.wMinute, 0);
    }
};

TEST_F(ZoneRules, EuropeBerlin)
{
    const auto tz = Zone(L"Europe/Berlin");
    EXPECT_EQ(tz.Bias, -60);
    EXPECT_EQ(tz.StandardBias, 0);
    EXPECT_EQ(tz.DaylightBias, -60);
    EXPECT_STREQ(tz.StandardName, L"CET");
    EXPECT_STREQ(tz.DaylightName, L"CEST");
    ExpectRule(tz.DaylightDate, 3, 5, 0, 2);  // last Sunday of March, 02:00
    ExpectRule(tz.StandardDate, 10, 5, 0, 3); // last Sunday of October, 03:00
    EXPECT_EQ(zyn::base::CurrentTimeZoneName(), L"Europe/Berlin");
}

TEST_F(ZoneRules, AmericaNewYork)
{
    const auto tz = Zone(L"America/New_York");
    EXPECT_EQ(tz.Bias, 300);
    EXPECT_EQ(tz.DaylightBias, -60);
    ExpectRule(tz.DaylightDate, 3, 2, 0, 2);
    ExpectRule(tz.StandardDate, 11, 1, 0, 2);
    EXPECT_STREQ(tz.StandardName, L"EST");
}

TEST_F(ZoneRules, AustraliaSydneySouthernHemisphere)
{
    const auto tz = Zone(L"Australia/Sydney");
    EXPECT_EQ(tz.Bias, -600);
    EXPECT_EQ(tz.DaylightBias, -60);
    ExpectRule(tz.DaylightDate, 10, 1, 0, 2);
    ExpectRule(tz.StandardDate, 4, 1, 0, 3);
}

TEST_F(ZoneRules, ZonesWithoutDaylightSaving)
{
    DWORD id = 99;
    auto tz = Zone(L"Asia/Kolkata", &id);
    EXPECT_EQ(tz.Bias, -330);
    EXPECT_EQ(tz.DaylightDate.wMonth, 0);
    EXPECT_EQ(id, TIME_ZONE_ID_UNKNOWN);
    EXPECT_STREQ(tz.StandardName, L"IST");
    tz = Zone(L"UTC", &id);
    EXPECT_EQ(tz.Bias, 0);
    EXPECT_EQ(id, TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(ToLocal(St(2024, 7, 15, 0, 0, 0)).wHour, 0);
    Zone(L"Asia/Kolkata");
    EXPECT_EQ(Fields(ToLocal(St(2024, 7, 15, 0, 0, 0))), L"2024-07-15 05:30:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 1, 1, 3, 0, 0))), L"2023-12-31 21:30:00.000");
}

TEST_F(ZoneRules, TimeZoneIdFollowsTheClock)
{
    FreezeClockAt(1215263045); // July
    DWORD id = 0;
    Zone(L"Europe/Berlin", &id);
    EXPECT_EQ(id, TIME_ZONE_ID_DAYLIGHT);
    Zone(L"Australia/Sydney", &id);
    EXPECT_EQ(id, TIME_ZONE_ID_STANDARD);
    FreezeClockAt(1199188800); // 2008-01-01 12:00 UTC
    Zone(L"Europe/Berlin", &id);
    EXPECT_EQ(id, TIME_ZONE_ID_STANDARD);
    Zone(L"Australia/Sydney", &id);
    EXPECT_EQ(id, TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
}

TEST_F(ZoneRules, UnknownZoneIsRefusedAndLeavesTheZoneAlone)
{
    UseZone(L"Europe/Berlin");
    EXPECT_FALSE(zyn::base::SetTimeZoneForTests(L"Nowhere/Atlantis"));
    EXPECT_FALSE(zyn::base::SetTimeZoneForTests(L"../../etc/passwd"));
    EXPECT_FALSE(zyn::base::SetTimeZoneForTests(L"Europe/../../../etc/hostname"));
    EXPECT_EQ(zyn::base::CurrentTimeZoneName(), L"Europe/Berlin");
}

TEST_F(ZoneRules, EnvironmentTzNamesTheZone)
{
    EnvGuard guard("TZ");
    ::setenv("TZ", ":America/New_York", 1);
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L""));
    EXPECT_EQ(zyn::base::CurrentTimeZoneName(), L"America/New_York");
    EXPECT_EQ(zyn::base::CurrentTimeZone().Bias, 300);

    ::setenv("TZ", "Asia/Kolkata", 1);
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L""));
    EXPECT_EQ(zyn::base::CurrentTimeZone().Bias, -330);

    ::setenv("TZ", "<+03>-3", 1); // a bare POSIX rule
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L""));
    EXPECT_EQ(zyn::base::CurrentTimeZone().Bias, -180);
    EXPECT_STREQ(zyn::base::CurrentTimeZone().StandardName, L"+03");

    ::setenv("TZ", "Nowhere/Atlantis", 1); // unusable: UTC, as the C library reads it
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L""));
    EXPECT_EQ(zyn::base::CurrentTimeZone().Bias, 0);
    EXPECT_EQ(zyn::base::CurrentTimeZoneName(), L"UTC");
}

// ---- conversions across the changes ------------------------------------------------------------

class ZoneConversion : public TimeLocTest {};

TEST_F(ZoneConversion, BerlinSpringForward)
{
    UseZone(L"Europe/Berlin");
    // 2024-03-31: 02:00 CET becomes 03:00 CEST (01:00 UTC).
    EXPECT_EQ(Fields(ToLocal(St(2024, 3, 31, 0, 59, 59, 500))), L"2024-03-31 01:59:59.500");
    EXPECT_EQ(Fields(ToLocal(St(2024, 3, 31, 1, 0, 0))), L"2024-03-31 03:00:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 3, 31, 1, 59, 59))), L"2024-03-31 00:59:59.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 3, 31, 3, 0, 0))), L"2024-03-31 01:00:00.000");
    // The skipped hour is read in standard time and lands after the change.
    const SYSTEMTIME utc = ToUtc(St(2024, 3, 31, 2, 30, 0));
    EXPECT_EQ(Fields(utc), L"2024-03-31 01:30:00.000");
    EXPECT_EQ(Fields(ToLocal(utc)), L"2024-03-31 03:30:00.000");
}

TEST_F(ZoneConversion, BerlinFallBack)
{
    UseZone(L"Europe/Berlin");
    // 2024-10-27: 03:00 CEST becomes 02:00 CET (01:00 UTC); 02:00-02:59 happens twice.
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 27, 0, 30, 0))), L"2024-10-27 02:30:00.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 27, 0, 59, 59))), L"2024-10-27 02:59:59.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 27, 1, 0, 0))), L"2024-10-27 02:00:00.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 27, 1, 30, 0))), L"2024-10-27 02:30:00.000");
    // The repeated hour is read as its first occurrence (daylight time).
    EXPECT_EQ(Fields(ToUtc(St(2024, 10, 27, 2, 30, 0))), L"2024-10-27 00:30:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 10, 27, 1, 59, 0))), L"2024-10-26 23:59:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 10, 27, 3, 0, 0))), L"2024-10-27 02:00:00.000");
}

TEST_F(ZoneConversion, NewYorkBothEdges)
{
    UseZone(L"America/New_York");
    EXPECT_EQ(Fields(ToLocal(St(2024, 1, 15, 17, 0, 0))), L"2024-01-15 12:00:00.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 7, 4, 16, 0, 0))), L"2024-07-04 12:00:00.000");
    // 2024-03-10 02:00 EST -> 03:00 EDT at 07:00 UTC.
    EXPECT_EQ(Fields(ToLocal(St(2024, 3, 10, 6, 59, 59))), L"2024-03-10 01:59:59.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 3, 10, 7, 0, 0))), L"2024-03-10 03:00:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 3, 10, 2, 30, 0))), L"2024-03-10 07:30:00.000");
    // 2024-11-03 02:00 EDT -> 01:00 EST at 06:00 UTC; 01:30 is first read as EDT.
    EXPECT_EQ(Fields(ToLocal(St(2024, 11, 3, 5, 30, 0))), L"2024-11-03 01:30:00.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 11, 3, 6, 30, 0))), L"2024-11-03 01:30:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 11, 3, 1, 30, 0))), L"2024-11-03 05:30:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 11, 3, 2, 0, 0))), L"2024-11-03 07:00:00.000");
}

TEST_F(ZoneConversion, SydneyAcrossTheNewYear)
{
    UseZone(L"Australia/Sydney");
    EXPECT_EQ(Fields(ToLocal(St(2023, 12, 31, 14, 0, 0))), L"2024-01-01 01:00:00.000"); // +11 in summer
    EXPECT_EQ(Fields(ToLocal(St(2024, 7, 15, 0, 0, 0))), L"2024-07-15 10:00:00.000");   // +10 in winter
    // 2024-04-07 03:00 AEDT -> 02:00 AEST at 16:00 UTC on the 6th.
    EXPECT_EQ(Fields(ToLocal(St(2024, 4, 6, 15, 59, 59))), L"2024-04-07 02:59:59.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 4, 6, 16, 0, 0))), L"2024-04-07 02:00:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 4, 7, 2, 30, 0))), L"2024-04-06 15:30:00.000"); // first occurrence
    // 2024-10-06 02:00 AEST -> 03:00 AEDT at 16:00 UTC on the 5th.
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 5, 15, 59, 59))), L"2024-10-06 01:59:59.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 10, 5, 16, 0, 0))), L"2024-10-06 03:00:00.000");
    EXPECT_EQ(Fields(ToUtc(St(2024, 10, 6, 2, 30, 0))), L"2024-10-05 16:30:00.000"); // skipped hour
}

TEST_F(ZoneConversion, ExplicitZoneRecordWinsOverTheCurrentZone)
{
    UseZone(L"Europe/Berlin");
    const TIME_ZONE_INFORMATION berlin = zyn::base::CurrentTimeZone();
    UseZone(L"America/New_York");
    EXPECT_EQ(Fields(ToLocal(St(2024, 7, 1, 12, 0, 0), &berlin)), L"2024-07-01 14:00:00.000");
    EXPECT_EQ(Fields(ToLocal(St(2024, 7, 1, 12, 0, 0))), L"2024-07-01 08:00:00.000");
    SYSTEMTIME out{};
    const SYSTEMTIME bad = St(2024, 2, 30);
    EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(&berlin, &bad, &out));
    EXPECT_FALSE(TzSpecificLocalTimeToSystemTime(&berlin, &bad, &out));
}

TEST_F(ZoneConversion, LocalFileTimeUsesTheBiasInEffectNow)
{
    UseZone(L"Europe/Berlin");
    FreezeClockAt(1199188800); // January: CET, +1 h
    const FILETIME july = FtFromUnix(1215263045);
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&july, &local));
    EXPECT_EQ(Ticks(local), Ticks(july) + 3600ull * 10'000'000) << "Windows applies today's bias";
    FILETIME back{};
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(Ticks(back), Ticks(july));

    FreezeClockAt(1215263045); // July: CEST, +2 h
    ASSERT_TRUE(FileTimeToLocalFileTime(&july, &local));
    EXPECT_EQ(Ticks(local), Ticks(july) + 7200ull * 10'000'000);

    const FILETIME epoch = Ft(0);
    EXPECT_FALSE(LocalFileTimeToFileTime(&epoch, &back)) << "before 1601 in UTC";
}
