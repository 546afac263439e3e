// VisitEventSet on a real database: the purge statement (old visit events without open
// visits, NULLs in VISIT notwithstanding), deleting exactly what was archived, and the
// restore into VISIT_EVENT_RESTORED.
#include <gtest/gtest.h>

#include <memory>

#include "archive/visit_event_set.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

class VisitEventSetTest : public ArchVisTest {
protected:
    void InsertEvent(int32_t id, DbValue scheduledTimeout, DbValue name = T(L"event"), DbValue location = Null(),
        DbValue scheduledTimein = Null(), DbValue lastChangedUtc = Null(), DbValue emp = I(0))
    {
        Run(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, EMPID, LAST_CHANGED, LASTCHANGED_UTC, SOURCE_ZYN_DBID, "
            L"VISIT_EVENT_SIGN_IN_LOCATIONID, SCHEDULED_TIMEOUT, SCHEDULED_TIMEIN) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {I(id), name, emp, Ts(2008, 1, 1, 1, 1, 1), lastChangedUtc, I(3), location, scheduledTimeout,
                scheduledTimein});
    }
    // A visit of an event; open (not signed out) when timeOutUtc is NULL.
    void InsertVisit(int32_t id, DbValue eventId, DbValue timeOutUtc)
    {
        Run(L"INSERT INTO VISIT (VISITID, VISIT_EVENTID, TIMEOUT_UTC) VALUES (?, ?, ?)", {I(id), eventId, timeOutUtc});
    }

    static COleDateTime Cutoff() { return COleDateTime(2009, 1, 1, 0, 0, 0); }

    int RunPass(VisitEventSet& set, const std::wstring& path, const std::function<void()>& between = {})
    {
        CStdioFileUnicode file;
        OpenForWrite(file, path);
        set.PrepareForPurge();
        std::unique_ptr<CSQLStatement> stmt = set.BuildPurgeStatement(Cutoff(), CMultiFilterRecordset::LessThan);
        set.Open(AFX_DB_USE_DEFAULT_TYPE, stmt->GetSQL());
        int n = 0;
        while (!set.IsEOF()) {
            m_times.push_back(set.GetArchiveRecordTime());
            set.WriteArchiveRecord(file);
            set.Delete();
            ++n;
            set.MoveNext();
        }
        set.Close();
        file.FlushToDisk();
        file.Close();
        if (between)
            between();
        set.DeleteArchivedRows();
        m_deleted = set.GetDeletedRowCount();
        return n;
    }

    LONG Restore(const std::wstring& path)
    {
        VisitEventSet set(&ZDb(), true);
        CStdioFileUnicode file;
        OpenForRead(file, path);
        const LONG n = set.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0);
        m_skipped = set.GetSkippedLineCount();
        return n;
    }

    DbValue Restored(const wchar_t* column, int32_t id)
    {
        CString sql;
        sql.Format(L"SELECT %s FROM VISIT_EVENT_RESTORED WHERE VISIT_EVENTID = ?", column);
        return Value(sql, {I(id)});
    }
    int64_t Live(int32_t id)
    {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM VISIT_EVENT WHERE VISIT_EVENTID = %d", id);
        return Count(sql);
    }

    std::vector<COleDateTime> m_times;
    int64_t m_deleted = -1;
    LONG m_skipped = -1;
};

TEST_P(VisitEventSetTest, PurgesOldEventsWithoutOpenVisitsDespiteNullsInVisit)
{
    InsertEvent(1, Ts(2008, 6, 1, 12, 0, 0));  // old, its visit signed out: purged
    InsertEvent(2, Ts(2008, 6, 2, 12, 0, 0));  // old, no visits: purged
    InsertEvent(3, Ts(2008, 6, 3, 12, 0, 0));  // old, an open visit: stays
    InsertEvent(4, Ts(2009, 6, 1, 12, 0, 0));  // new: stays
    InsertEvent(5, Null());                    // no scheduled time-out: never purged
    InsertVisit(10, I(1), Ts(2008, 6, 1, 18, 0, 0));
    InsertVisit(11, I(3), Null());
    // Open visits without a visit event: their NULL VISIT_EVENTID must not make the
    // NOT IN condition unknown for every row.
    InsertVisit(12, Null(), Null());
    InsertVisit(13, Null(), Null());

    VisitEventSet set(&ZDb(), false);
    EXPECT_EQ(RunPass(set, FilePath(L"events.txt")), 2);
    EXPECT_EQ(m_deleted, 2);
    EXPECT_EQ(Live(1), 0);
    EXPECT_EQ(Live(2), 0);
    EXPECT_EQ(Live(3), 1);
    EXPECT_EQ(Live(4), 1);
    EXPECT_EQ(Live(5), 1);
    ASSERT_EQ(m_times.size(), 2u);
    for (const COleDateTime& t : m_times) {
        EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
        EXPECT_EQ(t.GetYear(), 2008);
    }
}

TEST_P(VisitEventSetTest, AnEventThatStartsToMatchDuringThePassIsNotDeleted)
{
    InsertEvent(1, Ts(2008, 6, 1, 12, 0, 0));
    InsertEvent(2, Ts(2010, 6, 1, 12, 0, 0)); // not selected
    InsertEvent(3, Ts(2008, 6, 3, 12, 0, 0));
    InsertVisit(30, I(3), Null()); // open: not selected
    VisitEventSet set(&ZDb(), false);
    const std::wstring path = FilePath(L"events.txt");
    EXPECT_EQ(RunPass(set, path,
                  [&] {
                      // Event 2 is moved before the cut-off and the visit of event 3 signs
                      // out: both now match the purge statement, neither was archived.
                      Run(L"UPDATE VISIT_EVENT SET SCHEDULED_TIMEOUT = ? WHERE VISIT_EVENTID = 2",
                          {Ts(2008, 1, 1, 0, 0, 0)});
                      Run(L"UPDATE VISIT SET TIMEOUT_UTC = ? WHERE VISITID = 30", {Ts(2008, 6, 3, 18, 0, 0)});
                  }),
        1);
    EXPECT_EQ(m_deleted, 1);
    EXPECT_EQ(Live(1), 0);
    EXPECT_EQ(Live(2), 1);
    EXPECT_EQ(Live(3), 1);
    EXPECT_EQ(ReadLines(path).size(), 1u);
}

TEST_P(VisitEventSetTest, AnEventThatGetsAnOpenVisitDuringThePassStays)
{
    InsertEvent(1, Ts(2008, 6, 1, 12, 0, 0));
    VisitEventSet set(&ZDb(), false);
    EXPECT_EQ(RunPass(set, FilePath(L"events.txt"), [&] { InsertVisit(40, I(1), Null()); }), 1);
    EXPECT_EQ(m_deleted, 0);
    EXPECT_EQ(Live(1), 1);
}

TEST_P(VisitEventSetTest, WriteThenRestoreKeepsTheFields)
{
    CString name = L"Board\tmeeting\r\nroom 2";
    name += static_cast<wchar_t>(0x20AC);
    InsertEvent(1, Ts(2008, 6, 1, 12, 0, 0), T(name), I(-1), Ts(2008, 6, 1, 8, 30, 0), Ts(2008, 5, 30, 23, 0, 59), I(77));
    InsertEvent(2, Ts(2008, 6, 2, 12, 0, 0), Null(), Null(), Null(), Null(), Null());
    VisitEventSet set(&ZDb(), false);
    const std::wstring path = FilePath(L"events.txt");
    EXPECT_EQ(RunPass(set, path), 2);
    for (const CString& line : ReadLines(path))
        EXPECT_EQ(Fields(line).size(), 9u);

    EXPECT_EQ(Restore(path), 2);
    EXPECT_EQ(m_skipped, 0);
    ExpectText(Restored(L"NAME", 1), name, "NAME");
    ExpectInt(Restored(L"EMPID", 1), 77, "EMPID");
    ExpectInt(Restored(L"SOURCE_ZYN_DBID", 1), 3, "SOURCE_ZYN_DBID");
    ExpectInt(Restored(L"VISIT_EVENT_SIGN_IN_LOCATIONID", 1), -1, "location");
    ExpectNull(Restored(L"LAST_CHANGED", 1), "LAST_CHANGED (local, not archived)");
    ExpectTime(Restored(L"LASTCHANGED_UTC", 1), 2008, 5, 30, 23, 0, 59, "LASTCHANGED_UTC");
    ExpectTime(Restored(L"SCHEDULED_TIMEIN", 1), 2008, 6, 1, 8, 30, 0, "SCHEDULED_TIMEIN");
    ExpectTime(Restored(L"SCHEDULED_TIMEOUT", 1), 2008, 6, 1, 12, 0, 0, "SCHEDULED_TIMEOUT");
    ExpectNull(Restored(L"NAME", 2), "NULL NAME");
    ExpectInt(Restored(L"EMPID", 2), 0, "NULL EMPID is written as 0");
    ExpectNull(Restored(L"SCHEDULED_TIMEIN", 2), "NULL SCHEDULED_TIMEIN");
    ExpectNull(Restored(L"LASTCHANGED_UTC", 2), "NULL LASTCHANGED_UTC");
}

TEST_P(VisitEventSetTest, RestoreMapsIdentifiersAndReadsShortLines)
{
    MapId(L"VISIT_EVENT_RESTORED", L"VISIT_EVENTID", 5, 500);
    MapId(L"VISIT_EVENT_RESTORED", L"VISIT_EVENT_SIGN_IN_LOCATIONID", 9, 900);
    const std::wstring path = FilePath(L"events.txt");
    WriteLines(path, {Line({L"5", L"6", L"", L"7", L"n", L"9", L"", L"Jul 05 1960 01:00:00AM", L"Jul 05 2008 01:00:00PM"}),
                         Line({L"6", L"1", L"", L"2"})});
    EXPECT_EQ(Restore(path), 2);
    ExpectInt(Restored(L"EMPID", 500), 6, "EMPID");
    ExpectInt(Restored(L"VISIT_EVENT_SIGN_IN_LOCATIONID", 500), 900, "mapped location");
    ExpectNull(Restored(L"SCHEDULED_TIMEOUT", 500), "1960 is outside the CTime years");
    ExpectTime(Restored(L"LASTCHANGED_UTC", 500), 2008, 7, 5, 13, 0, 0, "LASTCHANGED_UTC");
    // A line of four fields: the identifiers; NAME and the rest NULL.
    ExpectInt(Restored(L"SOURCE_ZYN_DBID", 6), 2, "SOURCE_ZYN_DBID");
    ExpectNull(Restored(L"NAME", 6), "NAME");
    ExpectNull(Restored(L"VISIT_EVENT_SIGN_IN_LOCATIONID", 6), "location");
    ExpectNull(Restored(L"SCHEDULED_TIMEOUT", 6), "SCHEDULED_TIMEOUT");
}

TEST_P(VisitEventSetTest, TheTimeFilterSelectsByScheduledTimeout)
{
    InsertEvent(1, Ts(2008, 6, 1, 12, 0, 0));
    InsertEvent(2, Ts(2010, 6, 1, 12, 0, 0));
    InsertEvent(3, Null());
    VisitEventSet set(&ZDb(), false);
    set.AddArchiveTimeFilter(Cutoff(), CMultiFilterRecordset::LessThan);
    set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr);
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_VISIT_EVENTID, 1);
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
}

ZYN_INSTANTIATE_ENGINES(VisitEventSetTest);

} // namespace
} // namespace zyn::test
