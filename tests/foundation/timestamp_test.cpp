#include <gtest/gtest.h>

#include "common/zyn_timestamp.h"
#include "platform/base/locale.h"
#include "platform/base/testhooks_time.h"

namespace {
TIMESTAMP_STRUCT Ts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    TIMESTAMP_STRUCT t{};
    t.year = static_cast<int16_t>(y);
    t.month = static_cast<uint16_t>(mo);
    t.day = static_cast<uint16_t>(d);
    t.hour = static_cast<uint16_t>(h);
    t.minute = static_cast<uint16_t>(mi);
    t.second = static_cast<uint16_t>(s);
    return t;
}

struct LocaleGuard {
    explicit LocaleGuard(LCID lcid) { zyn::base::SetUserLocaleForTests(lcid); }
    ~LocaleGuard() { zyn::base::SetUserLocaleForTests(1033); }
};
} // namespace

TEST(ZynTimestamp, TimeBoundsAre1970To2036)
{
    zyn::base::SetTimeZoneForTests(L"UTC");
    CTime out(static_cast<int64_t>(12345));
    EXPECT_FALSE(ZynTimestampToTime(Ts(1969, 12, 31, 23, 59, 59), out));
    EXPECT_EQ(out.GetTime(), 12345) << "left unchanged on failure";
    EXPECT_TRUE(ZynTimestampToTime(Ts(1970, 1, 1, 0, 0, 0), out));
    EXPECT_EQ(out.GetTime(), 0);
    EXPECT_TRUE(ZynTimestampToTime(Ts(2036, 12, 31, 23, 59, 59), out));
    EXPECT_EQ(out.GetYear(), 2036);
    EXPECT_FALSE(ZynTimestampToTime(Ts(2037, 1, 1), out));
    EXPECT_FALSE(ZynTimestampToTime(Ts(2020, 2, 30), out)) << "not a date";
    zyn::base::SetTimeZoneForTests(L"");
}

TEST(ZynTimestamp, OleConversions)
{
    COleDateTime dt;
    EXPECT_TRUE(ZynTimestampToOleDateTime(Ts(2008, 7, 5, 15, 4, 5), dt));
    EXPECT_EQ(dt, COleDateTime(2008, 7, 5, 15, 4, 5));
    EXPECT_FALSE(ZynTimestampToOleDateTime(Ts(2008, 13, 5), dt));
    EXPECT_FALSE(ZynTimestampToOleDateTime(Ts(0, 0, 0), dt));

    const TIMESTAMP_STRUCT ts = ZynOleDateTimeToTimestamp(COleDateTime(1999, 12, 31, 23, 59, 58));
    EXPECT_EQ(ts.year, 1999);
    EXPECT_EQ(ts.second, 58);
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    const TIMESTAMP_STRUCT zero = ZynOleDateTimeToTimestamp(invalid);
    EXPECT_EQ(zero.year, 0);
    EXPECT_EQ(zero.month, 0);
    EXPECT_EQ(zero.fraction, 0u);
}

TEST(ZynTimestamp, ArchiveTextIsEnglishInEveryLocale)
{
    LocaleGuard german(1031);
    EXPECT_EQ(ZynFormatArchiveTime(COleDateTime(2008, 7, 5, 15, 4, 5)), CString(L"Jul 05 2008 03:04:05PM"));
    EXPECT_EQ(ZynFormatArchiveTime(COleDateTime(2008, 12, 1, 0, 0, 0)), CString(L"Dec 01 2008 12:00:00AM"));
    TIMESTAMP_STRUCT ts{};
    ASSERT_TRUE(ZynTextToTimestamp(L"Jul 05 2008 03:04:05PM", ts));
    EXPECT_EQ(ts.year, 2008);
    EXPECT_EQ(ts.month, 7);
    EXPECT_EQ(ts.day, 5);
    EXPECT_EQ(ts.hour, 15);
    EXPECT_EQ(ts.minute, 4);
    EXPECT_EQ(ts.second, 5);
    ASSERT_TRUE(ZynTextToTimestamp(L"Dec 01 2008 12:00:00AM", ts));
    EXPECT_EQ(ts.hour, 0);
    // The user's locale second: a German date.
    ASSERT_TRUE(ZynTextToTimestamp(L"05.07.2008 15:04:05", ts));
    EXPECT_EQ(ts.month, 7);
    EXPECT_EQ(ts.day, 5);
    EXPECT_EQ(ts.hour, 15);
}

TEST(ZynTimestamp, TextThatDoesNotParse)
{
    TIMESTAMP_STRUCT ts{};
    EXPECT_FALSE(ZynTextToTimestamp(L"", ts));
    EXPECT_FALSE(ZynTextToTimestamp(L"   ", ts));
    EXPECT_FALSE(ZynTextToTimestamp(L"not a date", ts));
    EXPECT_FALSE(ZynTextToTimestamp(L"Jul 35 2008 03:04:05PM", ts));
    EXPECT_FALSE(ZynTextToTimestamp(L"Jul 05 2008 13:04:05PM", ts));
    EXPECT_TRUE(ZynTextToTimestamp(L"2008-07-05 15:04:05.250", ts));
    EXPECT_EQ(ts.fraction, 250000000u);
}

TEST(ZynTimestamp, FormatUsesTheLocale)
{
    LocaleGuard us(1033);
    CString out = L"stale";
    EXPECT_FALSE(ZynFormatTimestamp(Ts(2008, 2, 30), out, 0, ZYN_TIME_WITH_SECONDS, L" ", 0, false));
    EXPECT_TRUE(out.IsEmpty());
    ASSERT_TRUE(ZynFormatTimestamp(Ts(2008, 7, 5, 15, 4, 5), out, 0, ZYN_TIME_WITH_SECONDS, L" ", 0, false));
    EXPECT_EQ(out, CString(L"7/5/2008 3:04:05 PM"));
    ASSERT_TRUE(ZynFormatTimestamp(Ts(2008, 7, 5, 15, 4, 5), out, 0, ZYN_TIME_WITH_SECONDS, L" | ", 1, false));
    EXPECT_EQ(out, CString(L"3:04:05 PM | 7/5/2008"));
}

// An archive date field is a whole date or malformed: the locale fallback no longer
// completes a partial date with the current year. The wall clock is frozen at two
// different days; neither shows in any result.
TEST(ZynTimestamp, PartialDatesAreMalformedWhateverTheDay)
{
    struct Complete {
        LCID locale;
        const wchar_t* text;
        TIMESTAMP_STRUCT expected;
    };
    const Complete complete[] = {
        {1033, L"1/2/2009 10:30 AM", Ts(2009, 1, 2, 10, 30)},
        {1031, L"02.01.2009 10:30", Ts(2009, 1, 2, 10, 30)},
        {1036, L"2 janvier 2009", Ts(2009, 1, 2)},
        {1031, L"Jan 02 2009 10:30:00AM", Ts(2009, 1, 2, 10, 30)},
    };
    const std::pair<LCID, const wchar_t*> partial[] = {
        {1033, L"Jan 02"}, {1033, L"1 2"}, {1033, L"1/2"}, {1033, L"January 2008"}, {1033, L"1/2008"},
        {1033, L"10:30"}, {1033, L"Jan 02 10:30:00AM"}, {1031, L"02.01."}, {1031, L"2. Januar 10:30"},
        {1031, L"Januar 2009"}, {1036, L"2 janvier"}, {1036, L"samedi"},
    };
    // 2008-07-05 12:00 and 2031-06-15 12:00 UTC.
    for (const int64_t now : {int64_t{1215259200}, int64_t{1939291200}}) {
        FILETIME ft{};
        const uint64_t ticks = static_cast<uint64_t>(now + 11644473600) * 10000000u;
        ft.dwLowDateTime = static_cast<DWORD>(ticks);
        ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
        ASSERT_TRUE(zyn::base::SetSystemTimeForTests(ft));
        for (const Complete& c : complete) {
            LocaleGuard locale(c.locale);
            TIMESTAMP_STRUCT ts{};
            ASSERT_TRUE(ZynTextToTimestamp(c.text, ts)) << c.locale << " \"" << c.text << "\"";
            EXPECT_EQ(ts.year, c.expected.year) << c.text;
            EXPECT_EQ(ts.month, c.expected.month) << c.text;
            EXPECT_EQ(ts.day, c.expected.day) << c.text;
            EXPECT_EQ(ts.hour, c.expected.hour) << c.text;
            EXPECT_EQ(ts.minute, c.expected.minute) << c.text;
        }
        for (const auto& [locale, text] : partial) {
            LocaleGuard guard(locale);
            TIMESTAMP_STRUCT ts{};
            EXPECT_FALSE(ZynTextToTimestamp(text, ts)) << locale << " \"" << text << "\" gave " << ts.year << "-"
                                                       << ts.month << "-" << ts.day;
        }
    }
    // VarDateFromStr itself keeps completing with the current year, as documented:
    // 2031-01-02 is day 47850 of the automation calendar.
    DATE date = 0;
    ASSERT_EQ(VarDateFromStr(L"Jan 02", 1033, 0, &date), S_OK);
    EXPECT_EQ(date, 47850.0);
    zyn::base::SetSystemTimeForTests(std::nullopt);
}
