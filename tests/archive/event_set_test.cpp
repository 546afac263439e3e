// CLogEvents on a real database: write-then-restore round trips, the legacy line
// lengths, identifier mapping, progress, skipped lines, the single-event insert and
// serial numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <fstream>
#include <sstream>
#include <thread>

#include "archive/archive_line.h"
#include "archive/log_events.h"
#include "platform/base/ctime.h"
#include "platform/base/utf16.h"
#include "platform/suite/utility/logger.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;
using zyn::afx::DbValue;

namespace {

struct EventRow {
    int32_t serial = 1;
    int32_t machine = 10;
    int32_t empId = 20;
    DbValue calledStation = int32_t{5};
    DbValue issueCode = int32_t{6};
    DbValue segment = int32_t{300};
    CString text = L"plain";
    CString code = L"C1";
    DbValue timeUtc = Ts(2008, 7, 5, 15, 4, 5);
    int64_t card = 1234567890123;
};

size_t Occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::string ErrorLogText()
{
    std::ifstream log(zyn::base::ToUtf8(CLogger::GetLogPath(CLogger::ErrorLogName).GetString()));
    std::stringstream text;
    text << log.rdbuf();
    return text.str();
}

class EventSetTest : public ArchiveDbTest {
protected:
    void Insert(const EventRow& r, const wchar_t* table = L"EVENTS")
    {
        CString sql;
        sql.Format(L"INSERT INTO %s (SERIALNUM, EVENTIME, DEVID, INPUTDEVID, EVENTTYPE, EVENTID, EVENTDATA, CARDNUM, "
                   L"MACHINE, EMPID, INPUTARG, TRIGGER_EVENT, FUNCLIST, ASSETID, EVENT_PARAMID, CALLED_STATION, "
                   L"TRANSMITTERID, TRANSMITTER_INPUTID, ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, "
                   L"AREAID, USERID, EVENTCODE, SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) "
                   L"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            table);
        ExecParams(sql.GetString(),
            {r.serial, Ts(2008, 7, 5, 17, 4, 5), int32_t{1}, int32_t{2}, int32_t{3}, int32_t{4}, int32_t{44}, r.card,
                r.machine, r.empId, int32_t{7}, int32_t{8}, int32_t{9}, int32_t{11}, int32_t{12}, r.calledStation,
                int32_t{13}, int32_t{14}, r.issueCode, int32_t{15}, r.text, int32_t{16}, int32_t{17}, int32_t{18},
                int32_t{19}, r.code, r.segment, int32_t{21}, int32_t{22}, int32_t{23}, r.timeUtc});
    }

    // Writes every row of EVENTS (by serial number) to a new archive file.
    std::wstring WriteAll(bool bEventData = true)
    {
        const std::wstring path = TempFilePath(L"events.txt");
        CStdioFileUnicode file;
        OpenForAppend(file, path);
        CLogEvents set(ZDbPtr(), false, bEventData);
        set.m_strSort = L"SERIALNUM";
        set.Open();
        for (; !set.IsEOF(); set.MoveNext())
            set.WriteArchiveRecord(file);
        set.Close();
        file.Close();
        return path;
    }

    LONG Restore(const std::wstring& path, ZynArchiveProgressProc progress = nullptr, void* context = nullptr,
        LONG interval = 0, LONG* skipped = nullptr)
    {
        CStdioFileUnicode file;
        OpenForRead(file, path);
        CLogEvents set(ZDbPtr(), true, true);
        const LONG n = set.RestoreArchiveRecords(file, 0, progress, context, interval);
        if (skipped)
            *skipped = set.GetSkippedLineCount();
        EXPECT_FALSE(set.IsOpen());
        return n;
    }
};

} // namespace

TEST_P(EventSetTest, RoundTripKeepsTextNullsAndDefaults)
{
    EventRow a;
    a.serial = 1;
    a.text = L"tab\there\r\nnew line 'quoted' \x1B \U0001F600";
    a.code = L"code\twith\ttabs";
    Insert(a);
    EventRow b;
    b.serial = 2;
    b.calledStation = DbValue{};
    b.issueCode = DbValue{};
    b.segment = DbValue{};
    b.timeUtc = DbValue{};
    b.text = L"";
    b.code = L"";
    Insert(b);
    EventRow c;
    c.serial = 3;
    c.timeUtc = Ts(2040, 1, 1, 12, 0, 0); // written, but restores NULL
    Insert(c);
    ExecParams(L"UPDATE EVENTS SET EVENT_TEXT = NULL, EVENTCODE = NULL WHERE SERIALNUM = ?", {int32_t{2}});

    const std::wstring path = WriteAll();
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 3u);
    zyn::archive::ArchiveFields b2(lines[1]);
    ASSERT_EQ(b2.Count(), 32);
    EXPECT_EQ(U8(b2.Raw(2)), "");       // EVENTIME is not archived
    EXPECT_EQ(U8(b2.Raw(8)), "44");     // EVENTDATA bound
    EXPECT_EQ(U8(b2.Raw(17)), "-1");    // NULL CALLED_STATION
    EXPECT_EQ(U8(b2.Raw(20)), "-1");    // NULL ISSUECODE
    EXPECT_EQ(U8(b2.Raw(28)), "");      // NULL SEGMENTID
    EXPECT_EQ(U8(b2.Raw(32)), "");      // NULL EVENT_TIME_UTC
    EXPECT_EQ(U8(zyn::archive::ArchiveFields(lines[0]).Raw(32)), "Jul 05 2008 03:04:05PM");

    LONG skipped = -1;
    EXPECT_EQ(Restore(path, nullptr, nullptr, 0, &skipped), 3);
    EXPECT_EQ(skipped, 0);

    CLogEvents back(ZDbPtr(), true, true);
    back.m_strSort = L"SERIALNUM";
    back.Open();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_SERIALNUM, 1);
    EXPECT_TRUE(back.IsFieldNull(&back.m_EVENTIME));
    EXPECT_EQ(back.m_EVENTDATA, 44);
    EXPECT_EQ(back.m_CARDNUM, 1234567890123);
    EXPECT_EQ(U8(back.m_EVENT_TEXT), U8(a.text));
    EXPECT_EQ(U8(back.m_EVENTCODE), U8(a.code));
    EXPECT_EQ(back.m_SEGMENTID, 300);
    EXPECT_EQ(back.m_CALLED_STATION, 5);
    EXPECT_EQ(back.m_ALARMMASKGROUPID, 23);
    EXPECT_EQ(back.m_EVENT_TIME_UTC.year, 2008);
    EXPECT_EQ(back.m_EVENT_TIME_UTC.hour, 15);
    EXPECT_EQ(back.m_EVENT_TIME_UTC.second, 5);

    back.MoveNext();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_SERIALNUM, 2);
    EXPECT_EQ(back.m_CALLED_STATION, -1);
    EXPECT_EQ(back.m_ISSUECODE, -1);
    EXPECT_TRUE(back.IsFieldNull(&back.m_SEGMENTID));
    EXPECT_TRUE(back.IsFieldNull(&back.m_EVENT_TIME_UTC));
    EXPECT_TRUE(back.m_EVENT_TEXT.IsEmpty());

    back.MoveNext();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_SERIALNUM, 3);
    EXPECT_TRUE(back.IsFieldNull(&back.m_EVENT_TIME_UTC)); // 2040 lies outside 1970..2036
    back.MoveNext();
    EXPECT_TRUE(back.IsEOF());
    back.Close();

    // The archive time of a row is its UTC time.
    CLogEvents live(ZDbPtr());
    live.m_strSort = L"SERIALNUM";
    live.Open();
    const COleDateTime t = live.GetArchiveRecordTime();
    EXPECT_EQ(t.GetHour(), 15);
    live.MoveNext();
    EXPECT_EQ(live.GetArchiveRecordTime().GetStatus(), COleDateTime::null);
    live.Close();
}

TEST_P(EventSetTest, WithoutEventDataTheFieldIsZeroAndNotRestored)
{
    Insert(EventRow{});
    const std::wstring path = WriteAll(false);
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(U8(zyn::archive::ArchiveFields(lines[0]).Raw(8)), "0");
    CStdioFileUnicode file;
    OpenForRead(file, path);
    CLogEvents set(ZDbPtr(), true, false);
    EXPECT_EQ(set.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENTDATA IS NULL"), 1);
}

TEST_P(EventSetTest, EveryLegacyLineLengthRestores)
{
    const std::vector<CString> full = {L"1001", L"", L"1001", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11",
        L"12", L"13", L"14", L"15", L"16", L"17", L"18", L"19", L"20", L"21", L"text", L"23", L"24", L"25", L"26",
        L"code", L"28", L"29", L"30", L"31", L"Jul 05 2008 03:04:05PM"};
    std::vector<CString> lines;
    for (int n : {13, 14, 19, 20, 21, 26, 29, 30, 31, 32}) {
        CString line;
        for (int i = 0; i < n; ++i) {
            if (i)
                line += L"\t";
            line += i == 0 || i == 2 ? CString(std::to_wstring(n).c_str()) : full[static_cast<size_t>(i)];
        }
        lines.push_back(line);
    }
    const std::wstring path = TempFilePath(L"legacy.txt");
    WriteLines(path, lines);
    EXPECT_EQ(Restore(path), 10);

    // The 21-field line: texts empty, RECEIVERID to USERID 0, SEGMENTID NULL, the last
    // three integers 0 and EVENT_TIME_UTC NULL.
    CLogEvents back(ZDbPtr(), true, true);
    back.AddSerialNumFilter(21);
    back.Open();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_WRKSTATIONID, 21);
    EXPECT_TRUE(back.m_EVENT_TEXT.IsEmpty());
    EXPECT_TRUE(back.m_EVENTCODE.IsEmpty());
    EXPECT_EQ(back.m_RECEIVERID, 0);
    EXPECT_EQ(back.m_USERID, 0);
    EXPECT_TRUE(back.IsFieldNull(&back.m_SEGMENTID));
    EXPECT_EQ(back.m_ZYN_DBID, 0);
    EXPECT_EQ(back.m_AREAAPBID, 0);
    EXPECT_EQ(back.m_ALARMMASKGROUPID, 0);
    EXPECT_TRUE(back.IsFieldNull(&back.m_EVENT_TIME_UTC));
    back.Close();

    EXPECT_EQ(Count(L"SELECT CALLED_STATION FROM EVENTS_RESTORED WHERE SERIALNUM = 14"), -1);
    EXPECT_EQ(Count(L"SELECT ISSUECODE FROM EVENTS_RESTORED WHERE SERIALNUM = 19"), -1);
    EXPECT_EQ(Count(L"SELECT FUNCLIST FROM EVENTS_RESTORED WHERE SERIALNUM = 13"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE SERIALNUM = 26 AND EVENTCODE = ''"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE SERIALNUM = 29 AND EVENTCODE = 'code'"), 1);
    EXPECT_EQ(Count(L"SELECT SEGMENTID FROM EVENTS_RESTORED WHERE SERIALNUM = 29"), 28);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED WHERE EVENT_TIME_UTC IS NOT NULL"), 1);
}

TEST_P(EventSetTest, IdentifiersGoThroughTheMappingWhenItHasThem)
{
    EventRow r;
    r.machine = 10;
    r.empId = 20;
    Insert(r);
    AddMapping(L"EVENTS_RESTORED", L"MACHINE", 10, 110);
    AddMapping(L"EVENTS_RESTORED", L"SEGMENTID", 300, 333);
    AddMapping(L"EVENTS", L"EMPID", 20, 999);          // another table: not ours
    AddMapping(L"EVENTS_RESTORED", L"INPUTARG", 7, 70); // a column that is not mapped
    const std::wstring path = WriteAll();
    EXPECT_EQ(Restore(path), 1);
    EXPECT_EQ(Count(L"SELECT MACHINE FROM EVENTS_RESTORED"), 110);
    EXPECT_EQ(Count(L"SELECT SEGMENTID FROM EVENTS_RESTORED"), 333);
    EXPECT_EQ(Count(L"SELECT EMPID FROM EVENTS_RESTORED"), 20);
    EXPECT_EQ(Count(L"SELECT INPUTARG FROM EVENTS_RESTORED"), 7);
}

TEST_P(EventSetTest, ProgressStopsAfterExactlyOneInterval)
{
    for (int i = 1; i <= 10; ++i) {
        EventRow r;
        r.serial = i;
        Insert(r);
    }
    const std::wstring path = WriteAll();
    ProgressLog log;
    log.stopAfter = 1;
    EXPECT_EQ(Restore(path, RecordProgress, &log, 3), 3);
    EXPECT_EQ(log.counts, std::vector<LONG>{3});
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 3);

    // Run again, the restore takes up the other seven (the callback counts them).
    ProgressLog rest;
    EXPECT_EQ(Restore(path, RecordProgress, &rest, 4), 7);
    EXPECT_EQ(rest.counts, std::vector<LONG>{4});
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 10);

    ExecParams(L"DELETE FROM EVENTS_RESTORED", {});
    ProgressLog all;
    EXPECT_EQ(Restore(path, RecordProgress, &all, 4), 10);
    EXPECT_EQ(all.counts, (std::vector<LONG>{4, 8}));
}

TEST_P(EventSetTest, AFileOfEmptyLinesRestoresNothing)
{
    const std::wstring path = TempFilePath(L"empty.txt");
    WriteLines(path, {L"", L"   ", L"\t\t", L""});
    LONG skipped = -1;
    EXPECT_EQ(Restore(path, nullptr, nullptr, 0, &skipped), 0);
    EXPECT_EQ(skipped, 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 0);
}

TEST_P(EventSetTest, MalformedLinesAreSkippedLoggedAndCounted)
{
    EventRow second;
    second.serial = 2;
    Insert(EventRow{});
    Insert(second);
    const std::vector<CString> lines = ReadLines(WriteAll());
    ASSERT_EQ(lines.size(), 2u);
    const CString line = lines[0];
    const std::wstring path = TempFilePath(L"mixed.txt");
    WriteLines(path, {L"garbage", line, L"1\t2\t3", L"x" + line.Mid(1), L"\x01\x02\t7\t\t\t2\tnote\t", lines[1]});
    LONG skipped = -1;
    EXPECT_EQ(Restore(path, nullptr, nullptr, 0, &skipped), 2);
    EXPECT_EQ(skipped, 4);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 2);

    const std::string text = ErrorLogText();
    EXPECT_NE(text.find("line 3: skipped"), std::string::npos) << text;
    EXPECT_NE(text.find("2 row(s) restored, 0 found restored already, 4 line(s) skipped"), std::string::npos);
}

// A failure that is not the database refusing one row (here a broken trigger of the
// table) ends the restore: the rows inserted before it stay, the set is closed and the
// failure reaches the caller.
TEST_P(EventSetTest, ADatabaseFailureKeepsTheRowsBeforeItAndPasses)
{
    for (int32_t s = 1; s <= 4; ++s) {
        EventRow r;
        r.serial = s;
        Insert(r);
    }
    const std::wstring path = WriteAll();
    if (IsPostgres()) {
        ExecParams(L"CREATE FUNCTION ZYN_BROKEN() RETURNS TRIGGER LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION "
                   L"'the trigger is broken' USING ERRCODE = 'XX000'; END $$",
            {});
        ExecParams(L"CREATE TRIGGER ZYN_BROKEN BEFORE INSERT ON EVENTS_RESTORED FOR EACH ROW WHEN (NEW.SERIALNUM = "
                   L"3) EXECUTE FUNCTION ZYN_BROKEN()",
            {});
    } else {
        // abs() of the smallest integer fails while the statement runs ("integer overflow").
        ExecParams(L"CREATE TRIGGER ZYN_BROKEN BEFORE INSERT ON EVENTS_RESTORED WHEN NEW.SERIALNUM = 3 BEGIN "
                   L"SELECT abs(-9223372036854775805 - NEW.SERIALNUM); END",
            {});
    }
    CStdioFileUnicode file;
    OpenForRead(file, path);
    CLogEvents set(ZDbPtr(), true, true);
    const auto failure = CatchDb([&] { set.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0); });
    EXPECT_TRUE(failure.thrown);
    EXPECT_FALSE(set.IsOpen());
    EXPECT_FALSE(ZDb().IsInTransaction());
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_RESTORED"), 2);
    // Another connection sees them: they are committed.
    auto other = OpenAnother();
    int64_t n = -1;
    ASSERT_TRUE(other->QueryInt64(L"SELECT COUNT(*) FROM EVENTS_RESTORED", {}, n));
    EXPECT_EQ(n, 2);
    other->Close();
}

TEST_P(EventSetTest, DeleteWithoutThePurgeKeyIsRefused)
{
    Insert(EventRow{});
    CLogEvents set(ZDbPtr());
    set.Open();
    ASSERT_FALSE(set.IsEOF());
    const auto failure = CatchDb([&] { set.Delete(); });
    EXPECT_TRUE(failure.thrown);
    EXPECT_EQ(failure.code, AFX_SQL_ERROR_NO_KEY_COLUMNS);
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 1);
}

TEST_P(EventSetTest, InsertEventBindsItsText)
{
    CLogEvents set(ZDbPtr());
    const CString evil = L"O'Brien'); DELETE FROM EVENTS; --\t\\n";
    set.InsertEvent(77, 5, 1, 2, 3, 4, 5, 9000000000, 6, Ts(2015, 3, 4, 5, 6, 7), 8, 9, 10, 11, 12, -1, 13, 14, -1,
        15, evil.GetString(), 16, 17, 18, 19, L"it's", CLogEvents::NoSegment, 20, 21, 22);
    set.InsertEvent(78, 5, 1, 2, 3, 4, 5, 0, 6, Ts(2015, 3, 4, 5, 6, 7), 8, 9, 10, 11, 12, -1, 13, 14, -1, 15, nullptr,
        16, 17, 18, 19, nullptr, 42, 20, 21, 22);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 2);

    CLogEvents back(ZDbPtr(), false, true);
    back.AddSerialNumFilter(77);
    back.Open();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(U8(back.m_EVENT_TEXT), U8(evil));
    EXPECT_EQ(U8(back.m_EVENTCODE), "it's");
    EXPECT_TRUE(back.IsFieldNull(&back.m_SEGMENTID));
    EXPECT_TRUE(back.IsFieldNull(&back.m_EVENTIME));
    EXPECT_EQ(back.m_CARDNUM, 9000000000);
    EXPECT_EQ(back.m_EVENT_TIME_UTC.minute, 6);
    back.Close();
    EXPECT_EQ(Count(L"SELECT SEGMENTID FROM EVENTS WHERE SERIALNUM = 78"), 42);
}

TEST_P(EventSetTest, NextSerialNumberIsAtLeastNowAndAdvancesByTheCount)
{
    const std::string fallback = "CException in CLogEvents::GetNextSN(). Dropping back to old mechanism";
    const size_t fallbacksBefore = Occurrences(ErrorLogText(), fallback);
    CLogEvents set(ZDbPtr());
    const int64_t before = CTime::GetCurrentTime().GetTime();
    const LONG first = set.GetNextSN(5, 10);
    EXPECT_GE(first, before);
    const LONG second = set.GetNextSN(5, 1);
    EXPECT_GE(second, first + 10);
    const LONG third = set.GetNextSN(5, 1);
    EXPECT_GT(third, second);
    // Another machine has its own numbers.
    EXPECT_GE(set.GetNextSN(6, 1), before);
    // PostgreSQL answers through its stored procedure; SQLite has none, so every call
    // notes the fallback in the error log.
    const size_t fallbacks = Occurrences(ErrorLogText(), fallback) - fallbacksBefore;
    EXPECT_EQ(fallbacks, IsPostgres() ? 0u : 4u);
}

TEST_P(EventSetTest, ConcurrentPassesNeverShareSerialNumbers)
{
    constexpr int kThreads = 4;
    constexpr int kCalls = 15;
    constexpr LONG kCount = 3;
    std::vector<std::vector<LONG>> got(kThreads);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            try {
                auto db = OpenAnother();
                CLogEvents set(db.get());
                for (int i = 0; i < kCalls; ++i)
                    got[static_cast<size_t>(t)].push_back(set.GetNextSN(9, kCount));
                db->Close();
            } catch (CException* e) {
                e->Delete();
                ++failures;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    ASSERT_EQ(failures.load(), 0);
    std::vector<LONG> all;
    for (const auto& v : got)
        all.insert(all.end(), v.begin(), v.end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), static_cast<size_t>(kThreads * kCalls));
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(all[i], all[i - 1] + kCount) << "ranges overlap at " << i;
}

// A machine without a counter row starts above its events' serial numbers: through the
// stored procedure on PostgreSQL, through the fallback on SQLite.
TEST_P(EventSetTest, FallbackStartsAboveTheMachinesEvents)
{
    EventRow r;
    r.machine = 12;
    r.serial = 2100000000;
    Insert(r);
    // Machine 13 has a counter row that was never advanced (0): it counts as none.
    r.machine = 13;
    r.serial = 2100000100;
    Insert(r);
    ExecParams(L"INSERT INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (?, ?)", {int32_t{13}, int32_t{0}});
    CLogEvents set(ZDbPtr());
    EXPECT_EQ(set.GetNextSN(12, 2), 2100000001);
    EXPECT_EQ(set.GetNextSN(12, 1), 2100000003);
    EXPECT_EQ(set.GetNextSN(13, 1), 2100000101);
    // Another machine's events do not lift a machine that has none: it gets the time.
    const LONG fresh = set.GetNextSN(14, 1);
    EXPECT_GE(fresh, static_cast<LONG>(CTime::GetCurrentTime().GetTime()) - 5);
    EXPECT_LT(fresh, 2100000000);
}

ZYN_INSTANTIATE_ENGINES(EventSetTest);
