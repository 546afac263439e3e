// COleDateTime and COleDateTimeSpan.
#include <array>
#include <limits>

#include "platform/base/oledatetime.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;

namespace {
constexpr double kJuly5th = 39634.0; // 2008-07-05 in days since 1899-12-30
constexpr double Time(int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; }
} // namespace

class OleDateTime : public TimeLocTest {};

TEST_F(OleDateTime, FieldsToDateAroundTheEpoch)
{
    struct Case {
        int y, mo, d, h, mi, s;
        double dt;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},
        {1899, 12, 30, 12, 0, 0, 0.5},
        {1899, 12, 29, 6, 0, 0, -1.25}, // the day counts back, the time forward
        {1899, 12, 29, 18, 0, 0, -1.75},
        {1899, 12, 28, 0, 0, 0, -2.0},
        {1900, 1, 1, 0, 0, 0, 2.0},
        {2008, 7, 5, 15, 4, 5, kJuly5th + Time(15, 4, 5)},
        {100, 1, 1, 0, 0, 0, -657434.0},
        {9999, 12, 31, 23, 59, 59, 2958465.0 + Time(23, 59, 59)},
    };
    for (const auto& c : cases) {
        const COleDateTime dt(c.y, c.mo, c.d, c.h, c.mi, c.s);
        ASSERT_EQ(dt.GetStatus(), COleDateTime::valid) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_DOUBLE_EQ(dt.m_dt, c.dt) << c.y << "-" << c.mo << "-" << c.d;
        const COleDateTime back(c.dt);
        EXPECT_EQ(back.GetYear(), c.y);
        EXPECT_EQ(back.GetMonth(), c.mo);
        EXPECT_EQ(back.GetDay(), c.d);
        EXPECT_EQ(back.GetHour(), c.h);
        EXPECT_EQ(back.GetMinute(), c.mi);
        EXPECT_EQ(back.GetSecond(), c.s);
    }
    EXPECT_EQ(COleDateTime(-1.25).GetDayOfWeek(), 6); // 1899-12-29 was a Friday
    EXPECT_EQ(COleDateTime(kJuly5th).GetDayOfWeek(), 7);
    EXPECT_EQ(COleDateTime(kJuly5th).GetDayOfYear(), 187);
}

TEST_F(OleDateTime, InvalidFieldsSetInvalidStatus)
{
    COleDateTime dt(kJuly5th);
    EXPECT_EQ(dt.SetDateTime(2008, 2, 30, 0, 0, 0), COleDateTime::invalid);
    EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
    EXPECT_DOUBLE_EQ(dt.m_dt, kJuly5th) << "the value stays";
    EXPECT_EQ(dt.GetYear(), COleDateTime::error);
    SYSTEMTIME st{};
    EXPECT_FALSE(dt.GetAsSystemTime(st));
    for (auto fields : {std::array{99, 12, 31, 0, 0, 0}, std::array{10000, 1, 1, 0, 0, 0}, std::array{2008, 0, 1, 0, 0, 0},
             std::array{2008, 13, 1, 0, 0, 0}, std::array{2007, 2, 29, 0, 0, 0}, std::array{2008, 1, 1, 24, 0, 0},
             std::array{2008, 1, 1, 0, 60, 0}, std::array{2008, 1, 1, 0, 0, -1}})
        EXPECT_EQ(COleDateTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]).GetStatus(),
            COleDateTime::invalid)
            << fields[0] << "-" << fields[1] << "-" << fields[2];
    EXPECT_EQ(dt.SetDate(2008, 2, 29), COleDateTime::valid);
    EXPECT_EQ(dt.SetTime(15, 4, 5), 0);
    EXPECT_DOUBLE_EQ(dt.m_dt, Time(15, 4, 5));
    EXPECT_EQ(COleDateTime(2958466.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-657435.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(std::numeric_limits<double>::quiet_NaN()).GetStatus(), COleDateTime::invalid);
}

TEST_F(OleDateTime, RoundsToTheNearestSecond)
{
    EXPECT_EQ(COleDateTime(kJuly5th + Time(15, 4, 5) + 0.4 / 86400).GetSecond(), 5);
    EXPECT_EQ(COleDateTime(kJuly5th + Time(15, 4, 5) + 0.6 / 86400).GetSecond(), 6);
    const COleDateTime late(kJuly5th + Time(23, 59, 59) + 0.6 / 86400);
    EXPECT_EQ(late.GetDay(), 6);
    EXPECT_EQ(late.GetHour(), 0);
    // Before the epoch the fraction still rounds forward in time.
    const COleDateTime early(-1.0 - Time(6, 0, 0) - 0.6 / 86400);
    EXPECT_EQ(early.GetHour(), 6);
    EXPECT_EQ(early.GetSecond(), 1);
}

TEST_F(OleDateTime, ArithmeticAcrossTheEpoch)
{
    // 1899-12-29 06:00 + 12 h = 1899-12-29 18:00, stored as -1.75.
    EXPECT_DOUBLE_EQ((COleDateTime(-1.25) + COleDateTimeSpan(0.5)).m_dt, -1.75);
    // 1899-12-29 18:00 + 6 h = 1899-12-30 00:00.
    EXPECT_DOUBLE_EQ((COleDateTime(-1.75) + COleDateTimeSpan(0.25)).m_dt, 0.0);
    // 1899-12-30 06:00 - 12 h = 1899-12-29 18:00.
    EXPECT_DOUBLE_EQ((COleDateTime(0.25) - COleDateTimeSpan(0.5)).m_dt, -1.75);
    EXPECT_DOUBLE_EQ((COleDateTime(-1.75) - COleDateTime(-1.25)).m_span, 0.5);
    EXPECT_DOUBLE_EQ((COleDateTime(0.25) - COleDateTime(-1.75)).m_span, 0.5);
    COleDateTime dt(-2.5);
    dt += COleDateTimeSpan(1, 12, 0, 0);
    EXPECT_DOUBLE_EQ(dt.m_dt, 0.0);
    dt -= COleDateTimeSpan(3.0);
    EXPECT_DOUBLE_EQ(dt.m_dt, -3.0);
}

TEST_F(OleDateTime, ComparisonsFollowTime)
{
    EXPECT_TRUE(COleDateTime(-1.25) < COleDateTime(-1.75)) << "06:00 comes before 18:00";
    EXPECT_TRUE(COleDateTime(-1.75) > COleDateTime(-1.25));
    EXPECT_TRUE(COleDateTime(-0.5) == COleDateTime(0.5)) << "the same instant";
    EXPECT_TRUE(COleDateTime(-2.0) <= COleDateTime(-1.9));
    COleDateTime invalid(kJuly5th);
    invalid.SetStatus(COleDateTime::invalid);
    COleDateTime null1, null2;
    null1.SetStatus(COleDateTime::null);
    null2.SetStatus(COleDateTime::null);
    EXPECT_FALSE(invalid == COleDateTime(kJuly5th));
    EXPECT_FALSE(invalid < COleDateTime(kJuly5th + 1));
    EXPECT_FALSE(invalid == invalid);
    EXPECT_TRUE(null1 == null2);
}

TEST_F(OleDateTime, StatusPropagates)
{
    COleDateTime valid(kJuly5th), invalid(kJuly5th), null;
    invalid.SetStatus(COleDateTime::invalid);
    null.SetStatus(COleDateTime::null);
    COleDateTimeSpan span(1.0), badSpan(1.0), nullSpan;
    badSpan.SetStatus(COleDateTimeSpan::invalid);
    nullSpan.SetStatus(COleDateTimeSpan::null);

    EXPECT_EQ((valid + span).GetStatus(), COleDateTime::valid);
    EXPECT_EQ((invalid + span).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((valid + badSpan).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((null + span).GetStatus(), COleDateTime::null);
    EXPECT_EQ((invalid + nullSpan).GetStatus(), COleDateTime::null) << "null wins over invalid";
    EXPECT_EQ((valid - invalid).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((null - valid).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((span + badSpan).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((nullSpan - badSpan).GetStatus(), COleDateTimeSpan::null);
    // Leaving the range makes the result invalid.
    EXPECT_EQ((COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((COleDateTime(100, 1, 1, 0, 0, 0) - COleDateTimeSpan(0, 0, 0, 1)).GetStatus(), COleDateTime::invalid);
}

TEST_F(OleDateTime, ConstructionFromClockTypes)
{
    UseZone(L"Europe/Berlin");
    EXPECT_DOUBLE_EQ(COleDateTime(int64_t{1215263045}).m_dt, kJuly5th + Time(15, 4, 5)) << "time_t reads as local";
    EXPECT_EQ(COleDateTime(int64_t{-1}).GetStatus(), COleDateTime::invalid);
    EXPECT_DOUBLE_EQ(COleDateTime(St(2008, 7, 5, 15, 4, 5, 999)).m_dt, kJuly5th + Time(15, 4, 5));
    EXPECT_EQ(COleDateTime(St(2008, 2, 30)).GetStatus(), COleDateTime::invalid);
    FreezeClockAt(1215263045);
    EXPECT_DOUBLE_EQ(COleDateTime(FtFromUnix(1215263045)).m_dt, kJuly5th + Time(15, 4, 5));
    EXPECT_DOUBLE_EQ(COleDateTime::GetCurrentTime().m_dt, kJuly5th + Time(15, 4, 5));
    const WORD date = static_cast<WORD>(((2008 - 1980) << 9) | (7 << 5) | 5);
    const WORD time = static_cast<WORD>((15 << 11) | (4 << 5) | 2);
    EXPECT_DOUBLE_EQ(COleDateTime(date, time).m_dt, kJuly5th + Time(15, 4, 4));
    SYSTEMTIME st{};
    ASSERT_TRUE(COleDateTime(-1.25).GetAsSystemTime(st));
    EXPECT_EQ(Fields(st), L"1899-12-29 06:00:00.000");
    EXPECT_EQ(st.wDayOfWeek, 5);
}

class OleDateTimeFormat : public TimeLocTest {};

TEST_F(OleDateTimeFormat, LocaleFormLeavesOutZeroParts)
{
    const COleDateTime both(kJuly5th + Time(15, 4, 5));
    EXPECT_EQ(CString(both.Format()), L"7/5/2008 3:04:05 PM");
    EXPECT_EQ(CString(COleDateTime(kJuly5th).Format()), L"7/5/2008");
    EXPECT_EQ(CString(COleDateTime(0.5).Format()), L"12:00:00 PM");
    EXPECT_EQ(CString(COleDateTime(0.0).Format()), L"12:00:00 AM");
    EXPECT_EQ(CString(COleDateTime(-1.25).Format()), L"12/29/1899 6:00:00 AM");
    EXPECT_EQ(CString(both.Format(VAR_DATEVALUEONLY)), L"7/5/2008");
    EXPECT_EQ(CString(both.Format(VAR_TIMEVALUEONLY)), L"3:04:05 PM");
    EXPECT_EQ(CString(both.Format(0, LCID_DE_DE)), L"05.07.2008 15:04:05");
    EXPECT_EQ(CString(both.Format(0, LCID_EN_GB)), L"05/07/2008 15:04:05");
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_NL_NL));
    EXPECT_EQ(CString(both.Format()), L"5-7-2008 15:04:05");

    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(CString(null.Format()), L"");
    EXPECT_EQ(CString(COleDateTime(2008, 2, 30, 0, 0, 0).Format()), L"Invalid DateTime");
    EXPECT_EQ(CString(COleDateTime(2008, 2, 30, 0, 0, 0).Format(L"%Y")), L"Invalid DateTime");
}

TEST_F(OleDateTimeFormat, StrftimeCodes)
{
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_FR_FR));
    const COleDateTime dt(kJuly5th + Time(15, 4, 5));
    EXPECT_EQ(CString(dt.Format(L"%b %d %Y %I:%M:%S%p")), L"Jul 05 2008 03:04:05PM");
    EXPECT_EQ(CString(dt.Format(L"%A, %B %#d")), L"Saturday, July 5");
    EXPECT_EQ(CString(COleDateTime(-1.25).Format(L"%Y-%m-%d %H:%M %a")), L"1899-12-29 06:00 Fri");
    EXPECT_EQ(CString(COleDateTime(100, 3, 1, 0, 0, 0).Format(L"%Y %j")), L"0100 060");
    ExpectInvalidArg([&] { dt.Format(L"%Q"); });
}

TEST_F(OleDateTimeFormat, ParseDateTime)
{
    COleDateTime dt;
    EXPECT_TRUE(dt.ParseDateTime(L"7/5/2008 3:04:05 PM"));
    EXPECT_EQ(dt.GetStatus(), COleDateTime::valid);
    EXPECT_DOUBLE_EQ(dt.m_dt, kJuly5th + Time(15, 4, 5));
    EXPECT_TRUE(dt.ParseDateTime(L"7/5/2008 3:04:05 PM", VAR_DATEVALUEONLY));
    EXPECT_DOUBLE_EQ(dt.m_dt, kJuly5th);
    EXPECT_TRUE(dt.ParseDateTime(L"05.07.2008", 0, LCID_DE_DE));
    EXPECT_DOUBLE_EQ(dt.m_dt, kJuly5th);
    EXPECT_FALSE(dt.ParseDateTime(L"garbage"));
    EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid);
    EXPECT_DOUBLE_EQ(dt.m_dt, 0.0);
    EXPECT_FALSE(dt.ParseDateTime(L"1/1/10000"));
    EXPECT_DOUBLE_EQ(dt.m_dt, -1.0);
    EXPECT_FALSE(dt.ParseDateTime(nullptr));
}

class OleDateTimeSpanTest : public TimeLocTest {};

TEST_F(OleDateTimeSpanTest, ComponentsRoundToTheSecond)
{
    const COleDateTimeSpan s(1, 2, 3, 4);
    EXPECT_EQ(s.GetDays(), 1);
    EXPECT_EQ(s.GetHours(), 2);
    EXPECT_EQ(s.GetMinutes(), 3);
    EXPECT_EQ(s.GetSeconds(), 4);
    EXPECT_DOUBLE_EQ(s.GetTotalDays(), 1);
    EXPECT_DOUBLE_EQ(s.GetTotalHours(), 26);
    EXPECT_DOUBLE_EQ(s.GetTotalMinutes(), 1563);
    EXPECT_DOUBLE_EQ(s.GetTotalSeconds(), 93784);
    const COleDateTimeSpan n = -s;
    EXPECT_EQ(n.GetDays(), -1);
    EXPECT_EQ(n.GetHours(), -2);
    EXPECT_EQ(n.GetMinutes(), -3);
    EXPECT_EQ(n.GetSeconds(), -4);
    // 1 h 59 min 59.6 s rounds up to 2 h.
    const COleDateTimeSpan nearly((2 * 3600 - 0.4) / 86400.0);
    EXPECT_EQ(nearly.GetHours(), 2);
    EXPECT_EQ(nearly.GetMinutes(), 0);
    EXPECT_EQ(nearly.GetSeconds(), 0);
}

TEST_F(OleDateTimeSpanTest, ArithmeticAndStatus)
{
    COleDateTimeSpan s(1.5);
    s += COleDateTimeSpan(0.5);
    EXPECT_DOUBLE_EQ(s.m_span, 2.0);
    EXPECT_DOUBLE_EQ((s * 2.0).m_span, 4.0);
    EXPECT_DOUBLE_EQ((s / 4.0).m_span, 0.5);
    EXPECT_EQ((s / 0.0).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_TRUE(COleDateTimeSpan(1.0) < COleDateTimeSpan(2.0));
    EXPECT_TRUE(COleDateTimeSpan(1.0) == COleDateTimeSpan(1.0));
    EXPECT_EQ(COleDateTimeSpan(1e7).GetStatus(), COleDateTimeSpan::invalid);
    s.SetDateTimeSpan(0, 36, 0, 0);
    EXPECT_EQ(s.GetStatus(), COleDateTimeSpan::valid);
    EXPECT_DOUBLE_EQ(s.m_span, 1.5);
}

TEST_F(OleDateTimeSpanTest, Format)
{
    EXPECT_EQ(CString(COleDateTimeSpan(1, 2, 3, 4).Format(L"%D:%H:%M:%S")), L"1:02:03:04");
    COleDateTimeSpan s;
    s.SetStatus(COleDateTimeSpan::null);
    EXPECT_EQ(CString(s.Format(L"%D")), L"");
    s.SetStatus(COleDateTimeSpan::invalid);
    EXPECT_EQ(CString(s.Format(L"%D")), L"Invalid DateTimeSpan");
}
