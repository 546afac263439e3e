// The visit, visit-event and video archive lines on their own: what is written, what is
// read back, which lines are refused, and the clip times whatever the locale.
#include <gtest/gtest.h>

#include "archive/video_archive_lines.h"
#include "archive/visit_archive_lines.h"
#include "platform/base/testhooks_time.h"
#include "platform/base/utf16.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

using namespace zyn::archive;

constexpr LCID kEnUs = 0x0409;
constexpr LCID kDeDe = 0x0407;

TIMESTAMP_STRUCT TS(int y, int mo, int d, int h, int mi, int s)
{
    return {static_cast<int16_t>(y), static_cast<uint16_t>(mo), static_cast<uint16_t>(d), static_cast<uint16_t>(h),
        static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0};
}

std::string U8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }

// A text with every character the escape must carry: tab, line breaks, the escape
// character itself, a character outside the Basic Multilingual Plane.
CString AwkwardText()
{
    CString s = L"a\tb\r\nc\nd\x1B[e ";
    s += static_cast<wchar_t>(0x1F600);
    s += L" end";
    return s;
}

TEST(VisitLines, WriteThenReadKeepsEveryArchivedField)
{
    VisitArchiveRow row;
    row.visitId = 42;
    row.empId = -1;
    row.visitorId = 2147483647;
    row.timeIn = TS(2008, 7, 5, 8, 0, 0); // local: not archived
    row.purpose = AwkwardText();
    row.type = 3;
    row.scheduledTimeIn = TS(2008, 7, 5, 9, 0, 0);
    row.visitEventId = 7;
    row.timeInUtc = TS(2008, 7, 5, 0, 30, 5);
    row.lastChangedUtc = TS(2008, 7, 5, 23, 59, 59);
    row.visitKey = L"key\twith tab";

    ArchiveLineWriter w;
    FormatVisitArchiveLine(row, w);
    EXPECT_EQ(w.Count(), VisitLineFieldCount);
    EXPECT_EQ(w.Line().Find(L'\n'), -1);
    EXPECT_EQ(w.Line().Find(L'\r'), -1);
    const std::vector<CString> f = Fields(w.Line());
    ASSERT_EQ(f.size(), 15u);
    EXPECT_EQ(U8(f[0]), "42");
    EXPECT_EQ(U8(f[1]), "-1");
    EXPECT_TRUE(f[3].IsEmpty()); // TIMEIN
    EXPECT_EQ(U8(f[7]), "3");
    EXPECT_EQ(U8(f[8]), "Jul 05 2008 09:00:00AM");
    EXPECT_TRUE(f[9].IsEmpty()); // SCHEDULED_TIMEOUT NULL
    EXPECT_EQ(U8(f[11]), "Jul 05 2008 12:30:05AM");
    EXPECT_TRUE(f[12].IsEmpty()); // TIMEOUT_UTC NULL
    EXPECT_EQ(U8(f[13]), "Jul 05 2008 11:59:59PM");

    VisitArchiveRow back;
    CString reason;
    ASSERT_TRUE(ParseVisitArchiveLine(ArchiveFields(w.Line()), back, reason)) << U8(reason);
    EXPECT_EQ(back.visitId, 42);
    EXPECT_EQ(back.empId, -1);
    EXPECT_EQ(back.visitorId, 2147483647);
    EXPECT_FALSE(back.timeIn);
    ASSERT_TRUE(back.purpose);
    EXPECT_EQ(U8(*back.purpose), U8(AwkwardText()));
    EXPECT_EQ(back.type, 3);
    ASSERT_TRUE(back.scheduledTimeIn);
    EXPECT_TRUE(SameTime(*back.scheduledTimeIn, TS(2008, 7, 5, 9, 0, 0)));
    EXPECT_FALSE(back.scheduledTimeOut);
    ASSERT_TRUE(back.visitEventId);
    EXPECT_EQ(*back.visitEventId, 7);
    ASSERT_TRUE(back.timeInUtc);
    EXPECT_TRUE(SameTime(*back.timeInUtc, TS(2008, 7, 5, 0, 30, 5)));
    EXPECT_FALSE(back.timeOutUtc);
    ASSERT_TRUE(back.visitKey);
    EXPECT_EQ(U8(*back.visitKey), "key\twith tab");
}

TEST(VisitLines, ShortLinesReadTheirFieldsAndLeaveTheRestNull)
{
    VisitArchiveRow row;
    CString reason;
    // Ends after TYPE (field 8).
    ASSERT_TRUE(ParseVisitArchiveLine(ArchiveFields(Line({L"5", L"6", L"7", L"", L"", L"p", L"", L"2"})), row, reason));
    EXPECT_EQ(row.visitId, 5);
    EXPECT_EQ(row.type, 2);
    EXPECT_FALSE(row.visitEventId);
    EXPECT_FALSE(row.lastChangedUtc);
    EXPECT_FALSE(row.visitKey);

    VisitEventArchiveRow ev;
    ASSERT_TRUE(ParseVisitEventArchiveLine(ArchiveFields(Line({L"9", L"8", L"", L"3"})), ev, reason));
    EXPECT_EQ(ev.visitEventId, 9);
    EXPECT_EQ(ev.empId, 8);
    EXPECT_EQ(ev.sourceZynDbId, 3);
    EXPECT_FALSE(ev.name);
    EXPECT_FALSE(ev.signInLocationId);
}

TEST(VisitLines, DatesOutsideTheCTimeYearsReadAsNull)
{
    VisitArchiveRow row;
    CString reason;
    const CString line = Line({L"1", L"0", L"0", L"", L"", L"", L"", L"0", L"Jan 01 1969 10:00:00AM",
        L"Jan 01 2037 10:00:00AM", L"0", L"Jan 01 1970 10:00:00AM", L"Dec 31 2036 11:00:00PM", L"not a date", L""});
    ASSERT_TRUE(ParseVisitArchiveLine(ArchiveFields(line), row, reason));
    EXPECT_FALSE(row.scheduledTimeIn);
    EXPECT_FALSE(row.scheduledTimeOut);
    EXPECT_TRUE(row.timeInUtc);
    EXPECT_TRUE(row.timeOutUtc);
    EXPECT_FALSE(row.lastChangedUtc);
    ASSERT_TRUE(row.visitEventId); // "0" is a number, not empty
    EXPECT_EQ(*row.visitEventId, 0);
}

TEST(VisitLines, RefusedLinesGiveTheirReason)
{
    VisitArchiveRow row;
    VisitEventArchiveRow ev;
    CString reason;
    EXPECT_FALSE(ParseVisitArchiveLine(ArchiveFields(Line({L"1", L"2", L"3", L"", L"", L"", L""})), row, reason));
    EXPECT_NE(U8(reason).find("at least 8"), std::string::npos) << U8(reason);
    EXPECT_FALSE(ParseVisitArchiveLine(ArchiveFields(Line({L"x", L"2", L"3", L"", L"", L"", L"", L"0"})), row, reason));
    EXPECT_NE(U8(reason).find("VISITID"), std::string::npos) << U8(reason);
    EXPECT_FALSE(ParseVisitArchiveLine(ArchiveFields(Line({L"1", L"2", L"3", L"", L"", L"", L"", L"zero"})), row, reason));
    EXPECT_NE(U8(reason).find("TYPE"), std::string::npos) << U8(reason);
    // An event line (32 fields) is not a visit.
    std::vector<const wchar_t*> many(32, L"1");
    EXPECT_FALSE(ParseVisitArchiveLine(ArchiveFields(Line(many)), row, reason));
    EXPECT_FALSE(ParseVisitEventArchiveLine(ArchiveFields(Line({L"1", L"2", L""})), ev, reason));
    EXPECT_FALSE(ParseVisitEventArchiveLine(ArchiveFields(Line({L"1", L"2", L"", L"3", L"n", L"loc"})), ev, reason));
    EXPECT_NE(U8(reason).find("VISIT_EVENT_SIGN_IN_LOCATIONID"), std::string::npos) << U8(reason);
}

TEST(VisitEventLines, NameIsEscapedAndComesBack)
{
    VisitEventArchiveRow row;
    row.visitEventId = 3;
    row.name = AwkwardText();
    row.scheduledTimeOut = TS(2009, 1, 2, 13, 4, 5);
    ArchiveLineWriter w;
    FormatVisitEventArchiveLine(row, w);
    EXPECT_EQ(w.Count(), VisitEventLineFieldCount);
    const std::vector<CString> f = Fields(w.Line());
    ASSERT_EQ(f.size(), 9u);
    EXPECT_EQ(U8(f[5]), "0"); // sign-in location NULL is written as 0
    EXPECT_EQ(U8(f[7]), "Jan 02 2009 01:04:05PM");
    VisitEventArchiveRow back;
    CString reason;
    ASSERT_TRUE(ParseVisitEventArchiveLine(ArchiveFields(w.Line()), back, reason));
    ASSERT_TRUE(back.name);
    EXPECT_EQ(U8(*back.name), U8(AwkwardText()));
}

class VideoLines : public ::testing::Test {
protected:
    void TearDown() override { zyn::base::SetUserLocaleForTests(0); }
};

TEST_F(VideoLines, ClipTimesAreWrittenAlikeInEveryLocale)
{
    VideoEventArchiveRow row;
    row.serialNum = 100;
    row.machine = 2;
    row.archiveFile = L"D:\\clips\\a\tb.avi";
    row.startTimeUtc = TS(2008, 7, 5, 15, 4, 5);
    row.endTimeUtc = TS(2008, 12, 11, 1, 2, 3);

    CString lines[2];
    const LCID locales[2] = {kEnUs, kDeDe};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(locales[i]));
        ArchiveLineWriter w;
        FormatVideoEventArchiveLine(row, w);
        lines[i] = w.Line();
    }
    EXPECT_EQ(U8(lines[0]), U8(lines[1]));
    const std::vector<CString> f = Fields(lines[0]);
    ASSERT_EQ(f.size(), 10u);
    EXPECT_EQ(U8(f[8]), "Jul 05 2008 03:04:05PM");
    EXPECT_EQ(U8(f[9]), "Dec 11 2008 01:02:03AM");

    // Read back in either locale: the same times.
    for (LCID lcid : locales) {
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(lcid));
        VideoEventArchiveRow back;
        CString reason;
        ASSERT_TRUE(ParseVideoEventArchiveLine(ArchiveFields(lines[0]), back, reason)) << U8(reason);
        ASSERT_TRUE(back.startTimeUtc);
        EXPECT_TRUE(SameTime(*back.startTimeUtc, TS(2008, 7, 5, 15, 4, 5)));
        ASSERT_TRUE(back.endTimeUtc);
        EXPECT_TRUE(SameTime(*back.endTimeUtc, TS(2008, 12, 11, 1, 2, 3)));
        ASSERT_TRUE(back.archiveFile);
        EXPECT_EQ(U8(*back.archiveFile), "D:\\clips\\a\tb.avi");
    }
}

TEST_F(VideoLines, OldLocaleFormattedLinesStillRead)
{
    ContinuousVideoArchiveRow row;
    CString reason;
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(kEnUs));
    ASSERT_TRUE(ParseContinuousVideoArchiveLine(
        ArchiveFields(Line({L"1", L"2", L"3", L"", L"", L"4", L"f", L"7/5/2008 3:04:05 PM", L"12/11/2008 1:02:03 AM"})),
        row, reason));
    ASSERT_TRUE(row.startTimeUtc && row.endTimeUtc);
    EXPECT_TRUE(SameTime(*row.startTimeUtc, TS(2008, 7, 5, 15, 4, 5)));
    EXPECT_TRUE(SameTime(*row.endTimeUtc, TS(2008, 12, 11, 1, 2, 3)));

    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(kDeDe));
    ASSERT_TRUE(ParseContinuousVideoArchiveLine(
        ArchiveFields(Line({L"1", L"2", L"3", L"", L"", L"4", L"f", L"05.07.2008 15:04:05", L"11.12.2008 01:02:03"})),
        row, reason));
    ASSERT_TRUE(row.startTimeUtc && row.endTimeUtc);
    EXPECT_TRUE(SameTime(*row.startTimeUtc, TS(2008, 7, 5, 15, 4, 5)));
    EXPECT_TRUE(SameTime(*row.endTimeUtc, TS(2008, 12, 11, 1, 2, 3)));
}

TEST_F(VideoLines, ClipTimesAreNotLimitedToTheCTimeYears)
{
    ContinuousVideoArchiveRow row;
    row.continuousVideoId = 1;
    row.startTimeUtc = TS(1960, 2, 29, 12, 0, 0);
    row.endTimeUtc = TS(2040, 1, 1, 0, 0, 0);
    ArchiveLineWriter w;
    FormatContinuousVideoArchiveLine(row, w);
    ContinuousVideoArchiveRow back;
    CString reason;
    ASSERT_TRUE(ParseContinuousVideoArchiveLine(ArchiveFields(w.Line()), back, reason));
    ASSERT_TRUE(back.startTimeUtc && back.endTimeUtc);
    EXPECT_TRUE(SameTime(*back.startTimeUtc, TS(1960, 2, 29, 12, 0, 0)));
    EXPECT_TRUE(SameTime(*back.endTimeUtc, TS(2040, 1, 1, 0, 0, 0)));
}

TEST_F(VideoLines, TrailingBlanksOfTheLastFieldsAreDropped)
{
    VideoEventArchiveRow row;
    CString reason;
    ASSERT_TRUE(ParseVideoEventArchiveLine(ArchiveFields(Line({L"1", L"2", L"3", L"4", L"", L"", L"5", L"path \r",
                                                   L"Jul 05 2008 03:04:05PM \r", L"Jul 05 2008 03:05:05PM\r"})),
        row, reason));
    ASSERT_TRUE(row.archiveFile);
    EXPECT_EQ(U8(*row.archiveFile), "path");
    ASSERT_TRUE(row.startTimeUtc && row.endTimeUtc);
    EXPECT_TRUE(SameTime(*row.startTimeUtc, TS(2008, 7, 5, 15, 4, 5)));
    EXPECT_TRUE(SameTime(*row.endTimeUtc, TS(2008, 7, 5, 15, 5, 5)));
}

TEST_F(VideoLines, RefusedLines)
{
    VideoEventArchiveRow ev;
    ContinuousVideoArchiveRow cv;
    CString reason;
    EXPECT_FALSE(ParseVideoEventArchiveLine(ArchiveFields(Line({L"1", L"2", L"3", L"4", L"", L""})), ev, reason));
    EXPECT_FALSE(ParseVideoEventArchiveLine(
        ArchiveFields(Line({L"1", L"2", L"3", L"4", L"", L"", L"file.avi", L"", L""})), ev, reason));
    EXPECT_NE(U8(reason).find("ARCHIVELOCATIONID"), std::string::npos) << U8(reason);
    std::vector<const wchar_t*> eleven(11, L"1");
    EXPECT_FALSE(ParseVideoEventArchiveLine(ArchiveFields(Line(eleven)), ev, reason));
    EXPECT_FALSE(ParseContinuousVideoArchiveLine(ArchiveFields(Line({L"1", L"2", L"3", L"", L""})), cv, reason));
    std::vector<const wchar_t*> ten(10, L"1");
    EXPECT_FALSE(ParseContinuousVideoArchiveLine(ArchiveFields(Line(ten)), cv, reason));
    EXPECT_FALSE(ParseContinuousVideoArchiveLine(ArchiveFields(Line({L"", L"2", L"3", L"", L"", L"4"})), cv, reason));
    EXPECT_NE(U8(reason).find("CONTINUOUS_VIDEOID"), std::string::npos) << U8(reason);
}

} // namespace
} // namespace zyn::test
