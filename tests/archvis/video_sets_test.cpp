// The event-video and continuous-video archive sets on a real database: the passes,
// the join set's delete of the archived clip alone, the locale-independent clip times,
// and the restores.
#include <gtest/gtest.h>

#include "archive/continuous_video_set.h"
#include "archive/video_event_sets.h"
#include "platform/base/testhooks_time.h"
#include "platform/base/utf16.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

constexpr LCID kEnUs = 0x0409;
constexpr LCID kDeDe = 0x0407;

class VideoSetsTest : public ArchVisTest {
protected:
    void TearDown() override
    {
        zyn::base::SetUserLocaleForTests(0);
        ArchVisTest::TearDown();
    }

    void InsertClip(const wchar_t* table, int32_t serial, int32_t machine, DbValue startUtc, DbValue file = Null(),
        DbValue endUtc = Null(), DbValue server = I(1), DbValue camera = I(2), DbValue location = I(3))
    {
        CString sql;
        sql.Format(L"INSERT INTO %s (SERIALNUM, MACHINE, VIDEOSERVERID, CAMERAID, STARTTIME, ENDTIME, START_TIME_UTC, "
                   L"END_TIME_UTC, ARCHIVELOCATIONID, ARCHIVEFILE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            table);
        Run(sql, {I(serial), I(machine), server, camera, Ts(2008, 1, 1, 0, 0, 0), Ts(2008, 1, 1, 0, 0, 1), startUtc,
                     endUtc, location, file});
    }
    void InsertEvent(int32_t serial, int32_t machine, int32_t type)
    {
        Run(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE) VALUES (?, ?, ?)", {I(serial), I(machine), I(type)});
    }
    void InsertContinuous(int32_t id, DbValue startUtc, DbValue file = Null(), DbValue endUtc = Null())
    {
        Run(L"INSERT INTO CONTINUOUS_VIDEO (CONTINUOUS_VIDEOID, VIDEOSERVERID, CAMERAID, STARTTIME, ENDTIME, "
            L"ARCHIVELOCATIONID, ARCHIVEFILE, START_TIME_UTC, END_TIME_UTC) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {I(id), I(4), I(5), Ts(2008, 1, 1, 0, 0, 0), Ts(2008, 1, 1, 0, 0, 1), I(6), file, startUtc, endUtc});
    }

    static COleDateTime Cutoff() { return COleDateTime(2009, 1, 1, 0, 0, 0); }

    // The generic pass: time filter, Open, per row time, write, Delete.
    int RunPass(CZynArchiveSet& set, const std::wstring& path)
    {
        CStdioFileUnicode file;
        OpenForWrite(file, path);
        set.AddArchiveTimeFilter(Cutoff(), CMultiFilterRecordset::LessThan);
        set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0);
        int n = 0;
        while (!set.IsEOF()) {
            set.GetArchiveRecordTime();
            set.WriteArchiveRecord(file);
            set.Delete();
            ++n;
            set.MoveNext();
        }
        set.Close();
        file.Close();
        return n;
    }

    LONG Restore(CZynArchiveSet& set, const std::wstring& path)
    {
        CStdioFileUnicode file;
        OpenForRead(file, path);
        const LONG n = set.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0);
        m_skipped = set.GetSkippedLineCount();
        return n;
    }

    DbValue RestoredClip(const wchar_t* column, int32_t serial)
    {
        CString sql;
        sql.Format(L"SELECT %s FROM EVENTS_VIDEO_RESTORED WHERE SERIALNUM = ?", column);
        return Value(sql, {I(serial)});
    }
    DbValue RestoredContinuous(const wchar_t* column, int32_t id)
    {
        CString sql;
        sql.Format(L"SELECT %s FROM CONTINUOUS_VIDEO_RESTORED WHERE CONTINUOUS_VIDEOID = ?", column);
        return Value(sql, {I(id)});
    }

    LONG m_skipped = -1;
};

TEST_P(VideoSetsTest, EventVideoRoundTrip)
{
    CString path_text = L"\\\\srv\\clips\\a\tb\nc.avi";
    path_text += static_cast<wchar_t>(0x1F3A5);
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 15, 4, 5), T(path_text), Ts(2008, 7, 5, 15, 5, 0), I(-1));
    InsertClip(L"EVENTS_VIDEO", 2, 10, Ts(2008, 7, 6, 0, 0, 0), Null(), Null(), Null(), Null(), Null());
    InsertClip(L"EVENTS_VIDEO", 3, 10, Ts(2009, 7, 6, 0, 0, 0)); // after the cut-off
    MapId(L"EVENTS_VIDEO_RESTORED", L"CAMERAID", 2, 20);
    MapId(L"EVENTS_VIDEO_RESTORED", L"SERIALNUM", 1, 999); // SERIALNUM is not mapped

    CVideoEventArchiveSet set(&ZDb(), false);
    set.PrepareForPurge();
    const std::wstring path = FilePath(L"video.txt");
    EXPECT_EQ(RunPass(set, path), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1);

    CVideoEventArchiveSet restored(&ZDb(), true);
    EXPECT_EQ(Restore(restored, path), 2);
    EXPECT_EQ(m_skipped, 0);
    ExpectInt(RestoredClip(L"MACHINE", 1), 10, "MACHINE");
    ExpectInt(RestoredClip(L"VIDEOSERVERID", 1), -1, "VIDEOSERVERID");
    ExpectInt(RestoredClip(L"CAMERAID", 1), 20, "mapped CAMERAID");
    ExpectInt(RestoredClip(L"ARCHIVELOCATIONID", 1), 3, "ARCHIVELOCATIONID");
    ExpectText(RestoredClip(L"ARCHIVEFILE", 1), path_text, "ARCHIVEFILE");
    ExpectNull(RestoredClip(L"STARTTIME", 1), "STARTTIME (local, not archived)");
    ExpectTime(RestoredClip(L"START_TIME_UTC", 1), 2008, 7, 5, 15, 4, 5, "START_TIME_UTC");
    ExpectTime(RestoredClip(L"END_TIME_UTC", 1), 2008, 7, 5, 15, 5, 0, "END_TIME_UTC");
    ExpectInt(RestoredClip(L"CAMERAID", 2), 0, "NULL CAMERAID is written as 0");
    ExpectNull(RestoredClip(L"ARCHIVEFILE", 2), "NULL ARCHIVEFILE");
    ExpectNull(RestoredClip(L"END_TIME_UTC", 2), "NULL END_TIME_UTC");
}

TEST_P(VideoSetsTest, TheJoinSetReadsClipsOfTheTypeAndDeletesOnlyTheArchivedOne)
{
    InsertEvent(1, 10, 5);
    InsertEvent(2, 10, 6);
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 15, 0, 0)); // archived
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2009, 7, 5, 15, 0, 0)); // a newer clip of the same event
    InsertClip(L"EVENTS_VIDEO", 2, 10, Ts(2008, 7, 5, 15, 0, 0)); // an event of another type
    InsertClip(L"EVENTS_VIDEO", 1, 11, Ts(2008, 7, 5, 15, 0, 0)); // no event on machine 11

    CVideoEventEventTypeArchiveSet set(&ZDb(), false);
    set.PrepareForPurge();
    set.AddEventTypeFilter(5, CMultiFilterRecordset::Equal);
    set.AddJoinCondition();
    const std::wstring path = FilePath(L"video.txt");
    EXPECT_EQ(RunPass(set, path), 1);
    EXPECT_EQ(set.m_nFields, 14u) << "13 fields and EVENTVIDEOROWID";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO WHERE SERIALNUM = 1 AND MACHINE = 10"), 1);
    ExpectTime(Value(L"SELECT START_TIME_UTC FROM EVENTS_VIDEO WHERE SERIALNUM = 1 AND MACHINE = 10"), 2009, 7, 5, 15,
        0, 0, "the event's newer clip stays");
    EXPECT_EQ(ReadLines(path).size(), 1u);
    // The line is the ten fields of the clip; the EVENTS columns are not archived.
    EXPECT_EQ(Fields(ReadLines(path)[0]).size(), 10u);
}

TEST_P(VideoSetsTest, TheJoinSetWithoutTheRowKeyRefusesToDelete)
{
    InsertEvent(1, 10, 5);
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 15, 0, 0));
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 16, 0, 0));
    CVideoEventEventTypeArchiveSet set(&ZDb(), false);
    set.AddEventTypeFilter(5, CMultiFilterRecordset::Equal);
    set.AddJoinCondition();
    set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0);
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_EVENTS_EVENTTYPE, 5);
    EXPECT_EQ(set.m_EVENTS_SERIALNUM, 1);
    EXPECT_EQ(set.m_EVENTS_MACHINE, 10);
    const DbFailure f = CatchDb([&] { set.Delete(); });
    EXPECT_TRUE(f.thrown);
    EXPECT_EQ(f.code, AFX_SQL_ERROR_NO_KEY_COLUMNS);
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 2);
}

TEST_P(VideoSetsTest, TheJoinSetOverTheRestoredTableDeletesThere)
{
    InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 15, 0, 0));
    InsertClip(L"EVENTS_VIDEO_RESTORED", 1, 10, Ts(2008, 7, 5, 15, 0, 0));
    InsertClip(L"EVENTS_VIDEO_RESTORED", 1, 10, Ts(2008, 8, 5, 15, 0, 0));
    CVideoEventEventTypeArchiveSet set(&ZDb(), true);
    EXPECT_EQ(set.m_nFields, 10u);
    EXPECT_EQ(zyn::base::ToUtf8(set.GetDefaultSQL().GetString()), "[EVENTS_VIDEO_RESTORED]");
    set.PrepareForPurge();
    set.m_strSort = L"START_TIME_UTC";
    set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0);
    ASSERT_FALSE(set.IsEOF());
    ZYN_DB_OK(set.Delete());
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO_RESTORED"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_VIDEO"), 1) << "the live table is not touched";
}

TEST_P(VideoSetsTest, ClipTimesAreTheSameTextUnderEveryLocaleAndRestoreAlike)
{
    std::vector<CString> lines;
    for (LCID lcid : {kEnUs, kDeDe}) {
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(lcid));
        Run(L"DELETE FROM EVENTS_VIDEO");
        InsertClip(L"EVENTS_VIDEO", 1, 10, Ts(2008, 7, 5, 15, 4, 5), T(L"f.avi"), Ts(2008, 11, 12, 1, 2, 3));
        CVideoEventArchiveSet set(&ZDb(), false);
        set.PrepareForPurge();
        const std::wstring path = FilePath(L"video.txt");
        EXPECT_EQ(RunPass(set, path), 1);
        const std::vector<CString> read = ReadLines(path);
        ASSERT_EQ(read.size(), 1u);
        lines.push_back(read[0]);
    }
    EXPECT_EQ(zyn::base::ToUtf8(lines[0].GetString()), zyn::base::ToUtf8(lines[1].GetString()));

    // Restored in the other locale: the same values.
    for (LCID lcid : {kDeDe, kEnUs}) {
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(lcid));
        Run(L"DELETE FROM EVENTS_VIDEO_RESTORED");
        const std::wstring path = FilePath(L"video.txt");
        WriteLines(path, {lines[0]});
        CVideoEventArchiveSet restored(&ZDb(), true);
        EXPECT_EQ(Restore(restored, path), 1);
        ExpectTime(RestoredClip(L"START_TIME_UTC", 1), 2008, 7, 5, 15, 4, 5, "START_TIME_UTC");
        ExpectTime(RestoredClip(L"END_TIME_UTC", 1), 2008, 11, 12, 1, 2, 3, "END_TIME_UTC");
    }
}

TEST_P(VideoSetsTest, OldLocaleFormattedLinesStillRestore)
{
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(kDeDe));
    const std::wstring path = FilePath(L"video.txt");
    WriteLines(path, {Line({L"7", L"1", L"2", L"3", L"", L"", L"4", L"old.avi ", L"05.07.2008 15:04:05 ",
                         L"05.07.2008 15:05:05\r"})});
    CVideoEventArchiveSet restored(&ZDb(), true);
    EXPECT_EQ(Restore(restored, path), 1);
    ExpectTime(RestoredClip(L"START_TIME_UTC", 7), 2008, 7, 5, 15, 4, 5, "START_TIME_UTC");
    ExpectTime(RestoredClip(L"END_TIME_UTC", 7), 2008, 7, 5, 15, 5, 5, "END_TIME_UTC");
    ExpectText(RestoredClip(L"ARCHIVEFILE", 7), L"old.avi", "ARCHIVEFILE without its trailing blank");
}

TEST_P(VideoSetsTest, ContinuousVideoRoundTrip)
{
    InsertContinuous(1, Ts(2008, 7, 5, 15, 4, 5), T(L"Rec 01\\Cam 02\\a\tb.avi"), Ts(2008, 7, 5, 16, 0, 0));
    InsertContinuous(2, Ts(1965, 3, 1, 0, 0, 0)); // a timestamp before 1970 is kept
    InsertContinuous(3, Ts(2010, 1, 1, 0, 0, 0)); // after the cut-off
    MapId(L"CONTINUOUS_VIDEO_RESTORED", L"VIDEOSERVERID", 4, 40);
    MapId(L"CONTINUOUS_VIDEO_RESTORED", L"CONTINUOUS_VIDEOID", 1, 100); // not mapped

    CContinuousVideoArchiveSet set(&ZDb(), false);
    EXPECT_EQ(zyn::base::ToUtf8(set.GetDefaultSQL().GetString()), "CONTINUOUS_VIDEO");
    set.PrepareForPurge();
    const std::wstring path = FilePath(L"continuous.txt");
    EXPECT_EQ(RunPass(set, path), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 2u);
    for (const CString& line : lines) {
        const std::vector<CString> f = Fields(line);
        ASSERT_EQ(f.size(), 9u);
        EXPECT_TRUE(f[3].IsEmpty() && f[4].IsEmpty()) << "STARTTIME and ENDTIME are not archived";
    }

    CContinuousVideoArchiveSet restored(&ZDb(), true);
    EXPECT_EQ(Restore(restored, path), 2);
    ExpectInt(RestoredContinuous(L"VIDEOSERVERID", 1), 40, "mapped VIDEOSERVERID");
    ExpectInt(RestoredContinuous(L"CAMERAID", 1), 5, "CAMERAID");
    ExpectInt(RestoredContinuous(L"ARCHIVELOCATIONID", 1), 6, "ARCHIVELOCATIONID");
    ExpectText(RestoredContinuous(L"ARCHIVEFILE", 1), L"Rec 01\\Cam 02\\a\tb.avi", "ARCHIVEFILE");
    ExpectNull(RestoredContinuous(L"STARTTIME", 1), "STARTTIME");
    ExpectNull(RestoredContinuous(L"ENDTIME", 1), "ENDTIME");
    ExpectTime(RestoredContinuous(L"START_TIME_UTC", 1), 2008, 7, 5, 15, 4, 5, "START_TIME_UTC");
    ExpectTime(RestoredContinuous(L"END_TIME_UTC", 1), 2008, 7, 5, 16, 0, 0, "END_TIME_UTC");
    ExpectTime(RestoredContinuous(L"START_TIME_UTC", 2), 1965, 3, 1, 0, 0, 0, "1965");
    ExpectNull(RestoredContinuous(L"END_TIME_UTC", 2), "NULL END_TIME_UTC");
}

TEST_P(VideoSetsTest, ContinuousVideoTimeAndClipFolder)
{
    InsertContinuous(1, Null());
    CContinuousVideoArchiveSet set(&ZDb(), false);
    set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0);
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.GetArchiveRecordTime().GetStatus(), COleDateTime::invalid);
    set.Close();
    EXPECT_EQ(zyn::base::ToUtf8(
                  CContinuousVideoArchiveSet::FormatClipFolder(3, 12, TIMESTAMP_STRUCT{2008, 7, 5, 0, 0, 0, 0}).GetString()),
        "Rec 03\\Cam 12\\YearMonth 200807\\Day 05");
    EXPECT_EQ(zyn::base::ToUtf8(
                  CContinuousVideoArchiveSet::FormatClipFolder(1, 2, TIMESTAMP_STRUCT{2009, 1, 1, 0, 0, 0, 0}).GetString()),
        "Rec 01\\Cam 02\\YearMonth 200901\\Day 01");
}

ZYN_INSTANTIATE_ENGINES(VideoSetsTest);

} // namespace
} // namespace zyn::test
