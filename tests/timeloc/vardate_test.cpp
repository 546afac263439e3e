// VarDateFromStr: date and time text in the user's locale.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/base/oledatetime.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;

namespace {
constexpr double kJuly5th = 39634.0;
constexpr double Time(int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; }

::testing::AssertionResult Parses(const wchar_t* text, LCID lcid, double expected, ULONG flags = 0)
{
    DATE out = -12345;
    const HRESULT hr = VarDateFromStr(text, lcid, flags, &out);
    if (hr != S_OK)
        return ::testing::AssertionFailure() << "hr " << std::hex << hr;
    if (std::fabs(out - expected) > 1e-9)
        return ::testing::AssertionFailure() << "got " << out << ", expected " << expected;
    return ::testing::AssertionSuccess();
}

HRESULT Result(const wchar_t* text, LCID lcid = LANG_USER_DEFAULT)
{
    DATE out = -12345;
    const HRESULT hr = VarDateFromStr(text, lcid, 0, &out);
    if (FAILED(hr)) {
        EXPECT_EQ(out, -12345) << "output untouched on failure";
    }
    return hr;
}
} // namespace

class VarDate : public TimeLocTest {};

TEST_F(VarDate, EnglishMonthNameAndMarkerUnderGerman)
{
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_DE_DE));
    // The archive text form "%b %d %Y %I:%M:%S%p" reads back under any locale.
    EXPECT_TRUE(Parses(L"Jul 05 2008 03:04:05PM", LANG_USER_DEFAULT, kJuly5th + Time(15, 4, 5)));
    EXPECT_TRUE(Parses(L"Oct 05 2008 03:04:05AM", LANG_USER_DEFAULT, kJuly5th + 92 + Time(3, 4, 5)));
    EXPECT_TRUE(Parses(L"Dec 31 2008 12:00:00AM", LCID_DE_DE, kJuly5th + 179));
    EXPECT_TRUE(Parses(L"Mar 05 2008 12:30:00PM", LCID_FR_FR, 39512.0 + Time(12, 30, 0)));
}

TEST_F(VarDate, NumericDatesInLocaleOrder)
{
    EXPECT_TRUE(Parses(L"05.07.2008 15:04", LCID_DE_DE, kJuly5th + Time(15, 4, 0)));
    EXPECT_TRUE(Parses(L"7/5/2008", LCID_EN_US, kJuly5th));
    EXPECT_TRUE(Parses(L"5/7/2008", LCID_EN_GB, kJuly5th));
    EXPECT_TRUE(Parses(L"5-7-2008 9:05", LCID_NL_NL, kJuly5th + Time(9, 5, 0)));
    EXPECT_TRUE(Parses(L"2008-07-05 15:04:05", LCID_EN_US, kJuly5th + Time(15, 4, 5))) << "a leading year";
    EXPECT_TRUE(Parses(L"2008/7/5", LCID_DE_DE, kJuly5th));
    EXPECT_TRUE(Parses(L"13/5/2008", LCID_EN_US, 39581.0)) << "no 13th month: day first";
    EXPECT_TRUE(Parses(L"7/5/08", LCID_EN_US, kJuly5th)) << "two-digit years up to 29 are 20xx";
    EXPECT_TRUE(Parses(L"7/5/35", LCID_EN_US, 12970.0)) << "from 30 they are 19xx";
    EXPECT_TRUE(Parses(L"  7 / 5 / 2008  ", LCID_EN_US, kJuly5th));
}

TEST_F(VarDate, MonthAndDayNames)
{
    EXPECT_TRUE(Parses(L"Saturday, July 05, 2008", LCID_EN_US, kJuly5th)) << "the long date form";
    EXPECT_TRUE(Parses(L"Samstag, 5. Juli 2008", LCID_DE_DE, kJuly5th));
    EXPECT_TRUE(Parses(L"5 M\u00C4RZ 2008", LCID_DE_DE, 39512.0)) << "case-insensitive beyond ASCII";
    EXPECT_TRUE(Parses(L"5 Mrz 2008", LCID_DE_DE, 39512.0));
    EXPECT_TRUE(Parses(L"samedi 5 juil. 2008", LCID_FR_FR, kJuly5th));
    EXPECT_TRUE(Parses(L"5 juillet 2008 15:04", LCID_FR_FR, kJuly5th + Time(15, 4, 0)));
    EXPECT_TRUE(Parses(L"5 mei 2008", LCID_NL_NL, 39573.0));
    EXPECT_TRUE(Parses(L"2008 Jul 5", LCID_EN_US, kJuly5th));
    EXPECT_TRUE(Parses(L"July 2008", LCID_EN_US, 39630.0)) << "month and year: the first";
}

TEST_F(VarDate, TimesAlone)
{
    EXPECT_TRUE(Parses(L"15:04", LCID_DE_DE, Time(15, 4, 0)));
    EXPECT_TRUE(Parses(L"3:04:05 PM", LCID_EN_US, Time(15, 4, 5)));
    EXPECT_TRUE(Parses(L"3 PM", LCID_EN_US, Time(15, 0, 0)));
    EXPECT_TRUE(Parses(L"3pm", LCID_EN_US, Time(15, 0, 0)));
    EXPECT_TRUE(Parses(L"12:00 AM", LCID_EN_US, 0.0));
    EXPECT_TRUE(Parses(L"12:30 PM", LCID_EN_US, Time(12, 30, 0)));
    EXPECT_TRUE(Parses(L"0:00:01", LCID_EN_US, Time(0, 0, 1)));
}

TEST_F(VarDate, OnePartOnly)
{
    EXPECT_TRUE(Parses(L"7/5/2008 3:04 PM", LCID_EN_US, kJuly5th, VAR_DATEVALUEONLY));
    EXPECT_TRUE(Parses(L"7/5/2008 3:04 PM", LCID_EN_US, Time(15, 4, 0), VAR_TIMEVALUEONLY));
    EXPECT_TRUE(Parses(L"7/5/2008", LCID_EN_US, 0.0, VAR_TIMEVALUEONLY));
}

TEST_F(VarDate, GarbageIsATypeMismatch)
{
    for (const wchar_t* bad : {L"garbage", L"", L"   ", L"7/5/2008 xyz", L"25:00", L"7/5/2008 13:00 PM", L"31/31/2008",
             L"3 PM PM", L"1:2:3:4", L"12", L"7/5/2008 PM", L"Jul Aug 2008", L"5 Jul 2008 2009 1", L"1/2/3/4",
             L"7/5/2008 12:60", L"12:", L"7#5#2008", L"123456789012", L"Monday", L"2008-07-05T15:04:05"})
        EXPECT_EQ(Result(bad, LCID_EN_US), DISP_E_TYPEMISMATCH) << "\"" << bad << "\"";
}

TEST_F(VarDate, YearsOutsideTheRangeOverflow)
{
    EXPECT_EQ(Result(L"1/1/10000", LCID_EN_US), DISP_E_OVERFLOW);
    EXPECT_EQ(Result(L"1/1/0099", LCID_EN_US), DISP_E_OVERFLOW);
    EXPECT_TRUE(Parses(L"1/1/0100", LCID_EN_US, -657434.0));
}

TEST_F(VarDate, BadArguments)
{
    DATE out = 0;
    EXPECT_EQ(VarDateFromStr(nullptr, LCID_EN_US, 0, &out), E_INVALIDARG);
    EXPECT_EQ(VarDateFromStr(L"7/5/2008", LCID_EN_US, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(VarDateFromStr(L"7/5/2008", 0x0411, 0, &out), E_INVALIDARG);
}

TEST_F(VarDate, MissingYearIsThisYear)
{
    UseZone(L"Europe/Berlin");
    FreezeClockAt(1215263045); // 2008
    EXPECT_TRUE(Parses(L"7/5", LCID_EN_US, kJuly5th));
    EXPECT_TRUE(Parses(L"5. Juli", LCID_DE_DE, kJuly5th));
}

TEST_F(VarDate, FormattedDatesParseBack)
{
    const double samples[] = {kJuly5th + Time(15, 4, 5), kJuly5th, Time(9, 5, 7), 36526.0 + Time(0, 0, 1),
        -1.25, 2958465.0 + Time(23, 59, 59)};
    for (const LCID lcid : {LCID_EN_US, LCID_EN_GB, LCID_DE_DE, LCID_FR_FR, LCID_NL_NL}) {
        for (const double dt : samples) {
            const CString text = COleDateTime(dt).Format(0, lcid);
            EXPECT_TRUE(Parses(text.GetString(), lcid, dt)) << "lcid " << lcid << " text \"" << text.GetString() << "\"";
        }
    }
}

// The locale's words are built once per locale; the user locale a call resolves to is
// the one set at that moment, so a change takes effect at once and a change back too.
TEST_F(VarDate, WordsFollowTheUserLocaleAsItChanges)
{
    constexpr double kMay7th = 39575.0;
    struct Step {
        LCID locale;
        const wchar_t* text;
        double expected; // < 0: not a date in that locale
    };
    const Step steps[] = {
        {LCID_DE_DE, L"5. Juli 2008", kJuly5th},
        {LCID_DE_DE, L"05/07/2008", kJuly5th},     // day first
        {LCID_FR_FR, L"5. Juli 2008", -1},          // no French (or English) month
        {LCID_FR_FR, L"5 juillet 2008", kJuly5th},
        {LCID_EN_US, L"05/07/2008", kMay7th},      // month first
        {LCID_EN_US, L"5 juillet 2008", -1},
        {LCID_EN_US, L"3:04 PM", Time(15, 4, 0)},
        {LCID_DE_DE, L"3:04 nachm.", -1},           // German has no AM/PM words of its own here
        {LCID_DE_DE, L"5. Juli 2008", kJuly5th},   // and back again
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(s.locale));
        if (s.expected < 0)
            EXPECT_EQ(Result(s.text), DISP_E_TYPEMISMATCH) << s.locale << " \"" << s.text << "\"";
        else
            EXPECT_TRUE(Parses(s.text, LANG_USER_DEFAULT, s.expected)) << s.locale << " \"" << s.text << "\"";
    }
}

// Threads that parse at the same time, the first of them building the word tables,
// all get the right dates.
TEST_F(VarDate, ParsesAlikeOnManyThreadsAtOnce)
{
    struct Case {
        const wchar_t* text;
        LCID lcid;
        double expected;
    };
    const Case cases[] = {
        {L"Samstag, 5. Juli 2008", LCID_DE_DE, kJuly5th},
        {L"samedi 5 juil. 2008 15:04", LCID_FR_FR, kJuly5th + Time(15, 4, 0)},
        {L"5 juli 2008", LCID_NL_NL, kJuly5th},
        {L"Saturday, July 05, 2008 3:04:05 PM", LCID_EN_US, kJuly5th + Time(15, 4, 5)},
        {L"5/7/2008", LCID_EN_GB, kJuly5th},
    };
    constexpr int kThreads = 8;
    constexpr int kRounds = 300;
    std::atomic<int> wrong{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            for (int r = 0; r < kRounds; ++r) {
                const Case& c = cases[static_cast<size_t>(t + r) % std::size(cases)];
                DATE out = 0;
                if (VarDateFromStr(c.text, c.lcid, 0, &out) != S_OK || std::fabs(out - c.expected) > 1e-9)
                    ++wrong;
            }
        });
    }
    go = true;
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
}

// The parser tells which parts the text gave; what it completes from today shows.
TEST_F(VarDate, TellsWhichPartsTheTextGave)
{
    struct Case {
        const wchar_t* text;
        LCID lcid;
        bool year, month, day, time;
    };
    const Case cases[] = {
        {L"Jan 02", LCID_EN_US, false, true, true, false},
        {L"1 2", LCID_EN_US, false, true, true, false},
        {L"2. Januar", LCID_DE_DE, false, true, true, false},
        {L"July 2008", LCID_EN_US, true, true, false, false},
        {L"7/2008", LCID_EN_US, true, true, false, false},
        {L"15:04", LCID_DE_DE, false, false, false, true},
        {L"3 PM", LCID_EN_US, false, false, false, true},
        {L"2008-07-05", LCID_DE_DE, true, true, true, false},
        {L"7/5/08 3:04 PM", LCID_EN_US, true, true, true, true},
        {L"Jul 05 2008 03:04:05PM", LCID_FR_FR, true, true, true, true},
    };
    for (const Case& c : cases) {
        DATE out = 0;
        zyn::base::VariantDateParts named;
        named.year = named.month = named.day = named.time = true; // all overwritten
        ASSERT_EQ(zyn::base::ParseVariantDate(c.text, c.lcid, 0, out, &named), S_OK) << c.text;
        EXPECT_EQ(named.year, c.year) << c.text;
        EXPECT_EQ(named.month, c.month) << c.text;
        EXPECT_EQ(named.day, c.day) << c.text;
        EXPECT_EQ(named.time, c.time) << c.text;
    }
}
