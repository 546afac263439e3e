// CTime and CTimeSpan.
#include "platform/base/ctime.h"
#include "platform/base/module.h"
#include "platform/base/oledatetime.h"
#include "platform/base/resource.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;

namespace {
constexpr int64_t kJuly5th = 1215263045; // 2008-07-05 13:04:05 UTC = 15:04:05 CEST
}

class CTimeTest : public TimeLocTest {};

TEST_F(CTimeTest, LocalFieldsRoundTripThroughTheZone)
{
    UseZone(L"Europe/Berlin");
    const CTime t(2008, 7, 5, 15, 4, 5);
    EXPECT_EQ(t.GetTime(), kJuly5th);
    EXPECT_EQ(t.GetYear(), 2008);
    EXPECT_EQ(t.GetMonth(), 7);
    EXPECT_EQ(t.GetDay(), 5);
    EXPECT_EQ(t.GetHour(), 15);
    EXPECT_EQ(t.GetMinute(), 4);
    EXPECT_EQ(t.GetSecond(), 5);
    EXPECT_EQ(t.GetDayOfWeek(), 7); // Saturday
    SYSTEMTIME st{};
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(Fields(st), L"2008-07-05 15:04:05.000");
    EXPECT_EQ(st.wDayOfWeek, 6);

    std::tm tm{};
    ASSERT_TRUE(t.GetLocalTm(&tm));
    EXPECT_EQ(tm.tm_isdst, 1);
    ASSERT_TRUE(t.GetGmtTm(&tm));
    EXPECT_EQ(tm.tm_hour, 13);
    EXPECT_EQ(tm.tm_isdst, 0);
    EXPECT_EQ(tm.tm_yday, 186);
    EXPECT_EQ(t.GetGmtTm(nullptr), nullptr);

    // Winter: one hour.
    EXPECT_EQ(CTime(2008, 1, 1, 13, 0, 0).GetTime(), 1199188800);
    // An explicit daylight flag overrides the rule.
    EXPECT_EQ(CTime(2008, 1, 1, 14, 0, 0, 1).GetTime(), 1199188800);
    EXPECT_EQ(CTime(2008, 7, 5, 14, 4, 5, 0).GetTime(), kJuly5th);
}

TEST_F(CTimeTest, AcceptedRange)
{
    EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 0);
    EXPECT_EQ(CTime(3000, 12, 31, 23, 59, 59).GetTime(), CTime::kMaxTime);
    ExpectInvalidArg([] { CTime(1969, 12, 31, 23, 59, 59); });
    ExpectInvalidArg([] { CTime(3001, 1, 1, 0, 0, 0); });
    UseZone(L"Europe/Berlin");
    ExpectInvalidArg([] { CTime(1970, 1, 1, 0, 30, 0); }); // 1969 in UTC
    UseZone(L"America/New_York");
    ExpectInvalidArg([] { CTime(3000, 12, 31, 23, 0, 0); }); // 3001 in UTC
    EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 5 * 3600);
}

TEST_F(CTimeTest, InvalidFieldsThrow)
{
    ExpectInvalidArg([] { CTime(2008, 2, 30, 0, 0, 0); });
    ExpectInvalidArg([] { CTime(2007, 2, 29, 0, 0, 0); });
    ExpectInvalidArg([] { CTime(2008, 13, 1, 0, 0, 0); });
    ExpectInvalidArg([] { CTime(2008, 0, 1, 0, 0, 0); });
    ExpectInvalidArg([] { CTime(2008, 1, 1, 24, 0, 0); });
    ExpectInvalidArg([] { CTime(2008, 1, 1, 0, -1, 0); });
    ExpectInvalidArg([] { CTime(2008, 1, 1, 0, 0, 60); });
    EXPECT_EQ(CTime(2008, 2, 29, 0, 0, 0).GetDay(), 29);
}

TEST_F(CTimeTest, OutOfRangeValuesReportNothing)
{
    const CTime before(int64_t{-1});
    std::tm tm{};
    EXPECT_EQ(before.GetLocalTm(&tm), nullptr);
    EXPECT_EQ(before.GetYear(), 0);
    EXPECT_EQ(before.GetHour(), -1);
    SYSTEMTIME st{};
    EXPECT_FALSE(before.GetAsSystemTime(st));
    ExpectInvalidArg([&] { before.Format(L"%Y"); });
    EXPECT_EQ(CTime(CTime::kMaxTime + 1).GetYear(), 0);
}

TEST_F(CTimeTest, FromSystemTimeFileTimeAndDosDate)
{
    UseZone(L"Europe/Berlin");
    EXPECT_EQ(CTime(St(2008, 7, 5, 15, 4, 5)).GetTime(), kJuly5th);
    EXPECT_EQ(CTime(SYSTEMTIME{}).GetTime(), 0) << "an unset SYSTEMTIME gives 0";
    ExpectInvalidArg([] { CTime(St(1950, 1, 1)); });

    FreezeClockAt(kJuly5th); // the bias of now (CEST) applies to a FILETIME
    EXPECT_EQ(CTime(FtFromUnix(kJuly5th)).GetTime(), kJuly5th);
    // With CET in effect now, the July time is shifted by one hour only and then read
    // back as summer time: it lands an hour early, as it does on Windows.
    FreezeClockAt(1199188800);
    EXPECT_EQ(CTime(FtFromUnix(kJuly5th)).GetTime(), kJuly5th - 3600);
    EXPECT_TRUE(CTime::IsValidFILETIME(FtFromUnix(0)));
    EXPECT_FALSE(CTime::IsValidFILETIME(FILETIME{0, 0x80000000u}));
    ExpectInvalidArg([] { CTime(FILETIME{0, 0x80000000u}); });

    // 2008-07-05 15:04:06 as MS-DOS words (two-second resolution).
    const WORD date = static_cast<WORD>(((2008 - 1980) << 9) | (7 << 5) | 5);
    const WORD time = static_cast<WORD>((15 << 11) | (4 << 5) | 3);
    EXPECT_EQ(CTime(date, time).GetTime(), kJuly5th + 1);
}

TEST_F(CTimeTest, CurrentTimeComesFromTheClock)
{
    FreezeClockAt(kJuly5th);
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), kJuly5th);
}

TEST_F(CTimeTest, ArithmeticAndComparison)
{
    const CTime a(kJuly5th);
    const CTimeSpan span(1, 2, 3, 4);
    const CTime b = a + span;
    EXPECT_EQ(b.GetTime(), kJuly5th + 93784);
    EXPECT_EQ((b - a).GetTotalSeconds(), 93784);
    EXPECT_EQ((a - b).GetTotalSeconds(), -93784);
    EXPECT_EQ((b - span), a);
    CTime c = a;
    c += span;
    EXPECT_EQ(c, b);
    c -= span;
    EXPECT_EQ(c, a);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b > a);
    EXPECT_TRUE(a <= a);
    EXPECT_TRUE(a != b);
}

class CTimeFormat : public TimeLocTest {};

TEST_F(CTimeFormat, EnglishNamesWhateverTheLocale)
{
    UseZone(L"Europe/Berlin");
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_DE_DE));
    const CTime t(2008, 10, 5, 15, 4, 5); // a Sunday, CEST
    EXPECT_EQ(CString(t.Format(L"%b %d %Y %I:%M:%S%p")), L"Oct 05 2008 03:04:05PM");
    EXPECT_EQ(CString(t.Format(L"%A %a %B %b")), L"Sunday Sun October Oct");
    EXPECT_EQ(CString(CTime(2008, 7, 5, 3, 4, 5).Format(L"%p %I")), L"AM 03");
    EXPECT_EQ(CString(CTime(2008, 7, 5, 0, 4, 5).Format(L"%I %p")), L"12 AM");
    EXPECT_EQ(CString(CTime(2008, 7, 5, 12, 4, 5).Format(L"%I %p")), L"12 PM");
}

TEST_F(CTimeFormat, EveryConversion)
{
    UseZone(L"Europe/Berlin");
    const CTime t(kJuly5th);
    EXPECT_EQ(CString(t.Format(L"%c")), L"07/05/08 15:04:05");
    EXPECT_EQ(CString(t.Format(L"%x|%X")), L"07/05/08|15:04:05");
    EXPECT_EQ(CString(t.Format(L"%#c")), L"Saturday, July 05, 2008 15:04:05");
    EXPECT_EQ(CString(t.Format(L"%#x")), L"Saturday, July 05, 2008");
    EXPECT_EQ(CString(t.Format(L"%d %H %I %j %m %M %S %w %y %Y")), L"05 15 03 187 07 04 05 6 08 2008");
    EXPECT_EQ(CString(t.Format(L"%#d %#H %#I %#j %#m %#M %#S %#y")), L"5 15 3 187 7 4 5 8");
    EXPECT_EQ(CString(t.Format(L"%U %W")), L"26 26");
    EXPECT_EQ(CString(CTime(2008, 10, 5, 12, 0, 0).Format(L"%U %W %j")), L"40 39 279");
    EXPECT_EQ(CString(t.Format(L"%Z %z")), L"CEST CEST");
    EXPECT_EQ(CString(CTime(2008, 1, 5, 12, 0, 0).Format(L"%Z")), L"CET");
    EXPECT_EQ(CString(t.Format(L"100%% at %H")), L"100% at 15");
    EXPECT_EQ(CString(t.Format(L"")), L"");
}

TEST_F(CTimeFormat, FormatGmt)
{
    UseZone(L"Europe/Berlin");
    const CTime t(kJuly5th);
    EXPECT_EQ(CString(t.FormatGmt(L"%Y-%m-%d %H:%M:%S %Z")), L"2008-07-05 13:04:05 UTC");
}

TEST_F(CTimeFormat, BadFormatsThrow)
{
    const CTime t(kJuly5th);
    ExpectInvalidArg([&] { t.Format(L"%Q"); });
    ExpectInvalidArg([&] { t.Format(L"50%"); });
    ExpectInvalidArg([&] { t.Format(L"%#"); });
    ExpectInvalidArg([&] { t.FormatGmt(static_cast<LPCWSTR>(nullptr)); });
}

TEST_F(CTimeFormat, FormatsFromStringResources)
{
    const HMODULE module = zyn::base::RegisterResourceModule(L"ZynTimeLocFormats");
    ASSERT_NE(module, nullptr);
    ASSERT_TRUE(zyn::base::AddStringTable(module, {{4101, L"%Y-%m-%d %H:%M"}, {4102, L"%D:%H:%M:%S"}}));
    ASSERT_TRUE(zyn::base::ResourceChain::AddToChain(module));
    const CTime t(kJuly5th);
    EXPECT_EQ(CString(t.Format(UINT{4101})), L"2008-07-05 13:04");
    EXPECT_EQ(CString(t.FormatGmt(UINT{4101})), L"2008-07-05 13:04");
    EXPECT_EQ(CString(CTimeSpan(1, 2, 3, 4).Format(UINT{4102})), L"1:02:03:04");
    EXPECT_EQ(CString(COleDateTimeSpan(1, 2, 3, 4).Format(UINT{4102})), L"1:02:03:04");
    ExpectInvalidArg([&] { t.Format(UINT{4199}); });
    zyn::base::ResourceChain::RemoveFromChain(module);
    zyn::base::UnregisterBuiltinModule(module);
}

class CTimeSpanTest : public TimeLocTest {};

TEST_F(CTimeSpanTest, Components)
{
    const CTimeSpan s(1, 2, 3, 4);
    EXPECT_EQ(s.GetTotalSeconds(), 93784);
    EXPECT_EQ(s.GetDays(), 1);
    EXPECT_EQ(s.GetHours(), 2);
    EXPECT_EQ(s.GetMinutes(), 3);
    EXPECT_EQ(s.GetSeconds(), 4);
    EXPECT_EQ(s.GetTotalHours(), 26);
    EXPECT_EQ(s.GetTotalMinutes(), 1563);
    const CTimeSpan n = -s;
    EXPECT_EQ(n.GetDays(), -1);
    EXPECT_EQ(n.GetHours(), -2);
    EXPECT_EQ(n.GetSeconds(), -4);
    EXPECT_EQ((s + n).GetTimeSpan(), 0);
    EXPECT_TRUE(n < s);
    const CTimeSpan large(100000, 0, 0, 0); // beyond 32-bit seconds
    EXPECT_EQ(large.GetTotalSeconds(), int64_t{8640000000});
}

TEST_F(CTimeSpanTest, Format)
{
    EXPECT_EQ(CString(CTimeSpan(1, 2, 3, 4).Format(L"%D days %H:%M:%S %%")), L"1 days 02:03:04 %");
    EXPECT_EQ(CString(CTimeSpan(0, 0, 0, -5).Format(L"%S")), L"-5");
    ExpectInvalidArg([] { CTimeSpan(1, 0, 0, 0).Format(L"%X"); });
    ExpectInvalidArg([] { CTimeSpan(1, 0, 0, 0).Format(L"%"); });
}
