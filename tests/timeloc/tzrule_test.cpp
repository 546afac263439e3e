// POSIX zone rules and TZif files mapped to zone records.
#include <cstring>
#include <vector>

#include "platform/base/tzrule.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;
using zyn::base::TimeZoneFromPosixRule;
using zyn::base::TimeZoneFromTzif;

namespace {

std::wstring LocalOf(const TIME_ZONE_INFORMATION& tz, const SYSTEMTIME& utc)
{
    SYSTEMTIME local{};
    EXPECT_TRUE(SystemTimeToTzSpecificLocalTime(&tz, &utc, &local));
    return Fields(local);
}

void PutBE32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        v.push_back(static_cast<uint8_t>(x >> shift));
}

// A TZif file with no transitions and one type, in the given version, with a footer for
// versions 2+.
std::vector<uint8_t> MakeTzif(char version, int32_t utoff, const char* abbr, const char* footer)
{
    std::vector<uint8_t> out;
    const uint32_t charcnt = static_cast<uint32_t>(std::strlen(abbr) + 1);
    auto block = [&](int timeSize) {
        (void)timeSize;
        const char magic[] = "TZif";
        out.insert(out.end(), magic, magic + 4);
        out.push_back(static_cast<uint8_t>(version));
        out.insert(out.end(), 15, 0);
        for (uint32_t count : {0u, 0u, 0u, 0u, 1u, charcnt}) // isut, isstd, leap, time, type, char
            PutBE32(out, count);
        PutBE32(out, static_cast<uint32_t>(utoff));
        out.push_back(0); // isdst
        out.push_back(0); // abbreviation index
        out.insert(out.end(), abbr, abbr + charcnt);
    };
    block(4);
    if (version != 0) {
        block(8);
        out.push_back('\n');
        out.insert(out.end(), footer, footer + std::strlen(footer));
        out.push_back('\n');
    }
    return out;
}

} // namespace

class PosixRule : public TimeLocTest {};

TEST_F(PosixRule, NegativeSavingIsTurnedRound)
{
    // Ireland's rule: standard IST (+1) in summer, "daylight" GMT (+0) in winter.
    auto tz = TimeZoneFromPosixRule("IST-1GMT0,M10.5.0,M3.5.0/1");
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, 0);
    EXPECT_EQ(tz->DaylightBias, -60);
    EXPECT_STREQ(tz->StandardName, L"GMT");
    EXPECT_STREQ(tz->DaylightName, L"IST");
    EXPECT_EQ(tz->DaylightDate.wMonth, 3);
    EXPECT_EQ(tz->DaylightDate.wHour, 1);
    EXPECT_EQ(tz->StandardDate.wMonth, 10);
    EXPECT_EQ(tz->StandardDate.wHour, 2);
    EXPECT_EQ(LocalOf(*tz, St(2024, 7, 1, 12)), L"2024-07-01 13:00:00.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 1, 1, 12)), L"2024-01-01 12:00:00.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 3, 31, 1)), L"2024-03-31 02:00:00.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 10, 27, 0, 59)), L"2024-10-27 01:59:00.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 10, 27, 1, 0)), L"2024-10-27 01:00:00.000");
}

TEST_F(PosixRule, HoursPastMidnightReachTheNextDay)
{
    // Friday before the last Sunday of March: the fourth Thursday at 26:00.
    auto tz = TimeZoneFromPosixRule("IST-2IDT,M3.4.4/26,M10.5.0");
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->DaylightDate.wHour, 26);
    EXPECT_EQ(LocalOf(*tz, St(2024, 3, 28, 23, 59, 59)), L"2024-03-29 01:59:59.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 3, 29, 0, 0, 0)), L"2024-03-29 03:00:00.000");
}

TEST_F(PosixRule, NegativeTimesBorrowTheDayBefore)
{
    auto tz = TimeZoneFromPosixRule("<-02>2<-01>,M3.5.0/-1,M10.5.0/0");
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, 120);
    EXPECT_EQ(tz->DaylightDate.wDayOfWeek, 6);
    EXPECT_EQ(tz->DaylightDate.wHour, 23);
    EXPECT_EQ(LocalOf(*tz, St(2024, 3, 31, 0, 59, 59)), L"2024-03-30 22:59:59.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 3, 31, 1, 0, 0)), L"2024-03-31 00:00:00.000");
}

TEST_F(PosixRule, JulianDaysBecomeFixedDates)
{
    auto tz = TimeZoneFromPosixRule("XST-3XDT,J60/2,J300/2");
    ASSERT_TRUE(tz);
    EXPECT_NE(tz->DaylightDate.wYear, 0);
    EXPECT_EQ(tz->DaylightDate.wMonth, 3); // day 60 of a year without 29 February
    EXPECT_EQ(tz->DaylightDate.wDay, 1);
    EXPECT_EQ(tz->StandardDate.wMonth, 10);
    EXPECT_EQ(tz->StandardDate.wDay, 27);
    EXPECT_EQ(LocalOf(*tz, St(2024, 2, 29, 22, 59)), L"2024-03-01 01:59:00.000");
    EXPECT_EQ(LocalOf(*tz, St(2024, 2, 29, 23, 0)), L"2024-03-01 03:00:00.000");
    auto zeroBased = TimeZoneFromPosixRule("XST-3XDT,59,299");
    ASSERT_TRUE(zeroBased);
    EXPECT_EQ(zeroBased->DaylightDate.wMonth, 3);
    EXPECT_EQ(zeroBased->DaylightDate.wDay, 1);
}

TEST_F(PosixRule, SimpleForms)
{
    auto tz = TimeZoneFromPosixRule("<+0530>-5:30");
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, -330);
    EXPECT_STREQ(tz->StandardName, L"+0530");
    tz = TimeZoneFromPosixRule("EST5EDT"); // no dates: the common rule
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->DaylightDate.wMonth, 3);
    EXPECT_EQ(tz->DaylightDate.wDay, 2);
    EXPECT_EQ(tz->StandardDate.wMonth, 11);
    tz = TimeZoneFromPosixRule("EST5EDT,0/0,J365/25"); // daylight saving all year
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, 240);
    EXPECT_EQ(tz->DaylightDate.wMonth, 0);
    EXPECT_STREQ(tz->StandardName, L"EDT");
    tz = TimeZoneFromPosixRule("AAA-1BBB-3,M3.5.0,M10.5.0"); // explicit daylight offset
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->DaylightBias, -120);
}

TEST_F(PosixRule, MalformedRulesAreRejected)
{
    for (const char* bad : {"", "CET", "C-1", "CE-1", "CET-", "CET-1CEST,M13.5.0,M10.5.0", "CET-1CEST,M3.6.0,M10.5.0",
             "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,M3.5.0", "CET-1CEST,M3.5.0,", "<+03-3", "<+0$3>-3",
             "CET-1CEST,M3.5.0,M10.5.0/200", "CET-1CEST,M3.5.0,M10.5.0 x", "CET-25", "CET-1CEST,J0,J365",
             "CET-1CEST,366,J1", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG-1", "CET-1:60"})
        EXPECT_FALSE(TimeZoneFromPosixRule(bad)) << bad;
}

class TzifFile : public TimeLocTest {};

TEST_F(TzifFile, FooterRuleOfVersion2)
{
    const auto bytes = MakeTzif('2', 3600, "CET", "CET-1CEST,M3.5.0,M10.5.0/3");
    auto tz = TimeZoneFromTzif(bytes);
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, -60);
    EXPECT_EQ(tz->StandardDate.wHour, 3);
}

TEST_F(TzifFile, VersionOneAndEmptyFooterGiveAFixedOffset)
{
    auto tz = TimeZoneFromTzif(MakeTzif(0, 3 * 3600, "MSK", ""));
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, -180);
    EXPECT_STREQ(tz->StandardName, L"MSK");
    EXPECT_EQ(tz->DaylightDate.wMonth, 0);
    tz = TimeZoneFromTzif(MakeTzif('3', -4 * 3600, "XYZ", ""));
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->Bias, 240);
}

TEST_F(TzifFile, MalformedFilesAreRejected)
{
    const auto good = MakeTzif('2', 3600, "CET", "CET-1CEST,M3.5.0,M10.5.0/3");
    for (size_t n = 0; n < good.size(); ++n) // every truncation
        EXPECT_FALSE(TimeZoneFromTzif(std::span(good.data(), n))) << "length " << n;
    auto bad = good;
    bad[0] = 'X';
    EXPECT_FALSE(TimeZoneFromTzif(bad));
    bad = good;
    bad[4] = '1'; // no such version
    EXPECT_FALSE(TimeZoneFromTzif(bad));
    bad = good;
    bad[36 + 3] = 0; // no types
    EXPECT_FALSE(TimeZoneFromTzif(bad));
    bad = good;
    bad[32] = 0x7F; // an absurd transition count
    EXPECT_FALSE(TimeZoneFromTzif(bad));
    bad = good;
    bad.back() = 'x'; // footer without its closing newline
    EXPECT_FALSE(TimeZoneFromTzif(bad));
}

TEST_F(TzifFile, TestHookAcceptsRules)
{
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L"AEST-10AEDT,M10.1.0,M4.1.0/3"));
    EXPECT_EQ(zyn::base::CurrentTimeZone().Bias, -600);
    EXPECT_FALSE(zyn::base::SetTimeZoneForTests(L"Europe/Berlin\u00E9"));
}
