// CVisitSet on a real database: the purge pass (select, archive, delete exactly what was
// archived) and the restore into VISIT_RESTORED.
#include <gtest/gtest.h>

#include <memory>

#include "archive/visit_set.h"
#include "platform/base/testhooks_time.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/archvis/archvis_fixture.h"

namespace zyn::test {
namespace {

struct VisitRow {
    int32_t id = 0;
    DbValue emp = I(0);
    DbValue visitor = I(0);
    DbValue timeIn;
    DbValue timeOut;
    DbValue timeInUtc;
    DbValue timeOutUtc;
    DbValue schedIn;
    DbValue schedOut;
    DbValue purpose;
    DbValue lastChanged;
    DbValue lastChangedUtc;
    DbValue type;
    DbValue eventId;
    DbValue key;
};

class VisitSetTest : public ArchVisTest {
protected:
    void InsertVisit(const VisitRow& r, const wchar_t* table = L"VISIT")
    {
        CString sql;
        sql.Format(L"INSERT INTO %s (VISITID, EMPID, VISITORID, TIMEIN, TIMEOUT, TIMEIN_UTC, TIMEOUT_UTC, "
                   L"SCHEDULED_TIMEIN, SCHEDULED_TIMEOUT, PURPOSE, LASTCHANGED, LASTCHANGED_UTC, TYPE, VISIT_EVENTID, "
                   L"VISIT_KEY) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            table);
        Run(sql, {I(r.id), r.emp, r.visitor, r.timeIn, r.timeOut, r.timeInUtc, r.timeOutUtc, r.schedIn, r.schedOut,
                     r.purpose, r.lastChanged, r.lastChangedUtc, r.type, r.eventId, r.key});
    }
    void InsertVisitEvent(int32_t id)
    {
        Run(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME) VALUES (?, ?)", {I(id), T(L"event")});
    }

    // The purge pass over the visits: every selected row archived, then noted for deletion;
    // `between` runs after the last row and before the deletion. Returns the rows archived.
    int RunPass(CVisitSet& set, const std::wstring& path, const std::function<void()>& between = {})
    {
        CStdioFileUnicode file;
        OpenForWrite(file, path);
        set.PrepareForPurge();
        std::unique_ptr<CSQLStatement> stmt = set.BuildPurgeStatement();
        set.Open(AFX_DB_USE_DEFAULT_TYPE, stmt->GetSQL());
        int n = 0;
        while (!set.IsEOF()) {
            set.GetArchiveRecordTime();
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

    LONG Restore(const std::wstring& path, CVisitSet* pSet = nullptr)
    {
        CVisitSet own(&ZDb(), true);
        CVisitSet& set = pSet ? *pSet : own;
        CStdioFileUnicode file;
        OpenForRead(file, path);
        const LONG n = set.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0);
        m_skipped = set.GetSkippedLineCount();
        return n;
    }

    DbValue Restored(const wchar_t* column, int32_t visitId)
    {
        CString sql;
        sql.Format(L"SELECT %s FROM VISIT_RESTORED WHERE VISITID = ?", column);
        return Value(sql, {I(visitId)});
    }

    int64_t m_deleted = -1;
    LONG m_skipped = -1;
};

CString Awkward()
{
    CString s = L"to see\tthe\r\nboard; it's \"urgent\"\x1B";
    s += static_cast<wchar_t>(0x1F4BC);
    return s;
}

TEST_P(VisitSetTest, ArchivesVisitsWhoseEventIsGoneAndRestoresThem)
{
    InsertVisitEvent(500); // still there: its visits stay
    VisitRow a;
    a.id = 1;
    a.emp = I(-1);
    a.visitor = I(77);
    a.timeIn = Ts(2008, 7, 5, 10, 0, 0);
    a.timeInUtc = Ts(2008, 7, 5, 8, 0, 0);
    a.timeOutUtc = Ts(2008, 7, 5, 17, 30, 15);
    a.schedIn = Ts(2008, 7, 5, 7, 45, 0);
    a.schedOut = Ts(2008, 7, 5, 18, 0, 0);
    a.purpose = T(Awkward());
    a.lastChangedUtc = Ts(2008, 7, 6, 0, 0, 1);
    a.type = I(4);
    a.eventId = I(400);
    a.key = T(L"K-1\tline\nbreak");
    InsertVisit(a);
    VisitRow b; // NULL text, NULL dates, NULL type
    b.id = 2;
    b.emp = Null();
    b.visitor = Null();
    b.eventId = I(401);
    InsertVisit(b);
    VisitRow c; // belongs to an existing event
    c.id = 3;
    c.eventId = I(500);
    InsertVisit(c);

    CVisitSet set(&ZDb(), false);
    const std::wstring path = FilePath(L"visits.txt");
    EXPECT_EQ(RunPass(set, path), 2);
    EXPECT_EQ(m_deleted, 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT WHERE VISITID = 3"), 1);

    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 2u);
    for (const CString& line : lines)
        EXPECT_EQ(Fields(line).size(), 15u);

    EXPECT_EQ(Restore(path), 2);
    EXPECT_EQ(m_skipped, 0);
    ExpectInt(Restored(L"EMPID", 1), -1, "EMPID");
    ExpectInt(Restored(L"VISITORID", 1), 77, "VISITORID");
    ExpectNull(Restored(L"TIMEIN", 1), "TIMEIN (local, not archived)");
    ExpectTime(Restored(L"TIMEIN_UTC", 1), 2008, 7, 5, 8, 0, 0, "TIMEIN_UTC");
    ExpectTime(Restored(L"TIMEOUT_UTC", 1), 2008, 7, 5, 17, 30, 15, "TIMEOUT_UTC");
    ExpectTime(Restored(L"SCHEDULED_TIMEIN", 1), 2008, 7, 5, 7, 45, 0, "SCHEDULED_TIMEIN");
    ExpectTime(Restored(L"SCHEDULED_TIMEOUT", 1), 2008, 7, 5, 18, 0, 0, "SCHEDULED_TIMEOUT");
    ExpectTime(Restored(L"LASTCHANGED_UTC", 1), 2008, 7, 6, 0, 0, 1, "LASTCHANGED_UTC");
    ExpectText(Restored(L"PURPOSE", 1), Awkward(), "PURPOSE");
    ExpectText(Restored(L"VISIT_KEY", 1), L"K-1\tline\nbreak", "VISIT_KEY");
    ExpectInt(Restored(L"TYPE", 1), 4, "TYPE");
    ExpectInt(Restored(L"VISIT_EVENTID", 1), 400, "VISIT_EVENTID");

    ExpectInt(Restored(L"EMPID", 2), 0, "NULL EMPID is written as 0");
    ExpectNull(Restored(L"PURPOSE", 2), "PURPOSE");
    ExpectNull(Restored(L"VISIT_KEY", 2), "VISIT_KEY");
    ExpectNull(Restored(L"TIMEIN_UTC", 2), "TIMEIN_UTC");
    ExpectNull(Restored(L"LASTCHANGED_UTC", 2), "LASTCHANGED_UTC");
    ExpectInt(Restored(L"TYPE", 2), 0, "NULL TYPE is written as 0");
}

TEST_P(VisitSetTest, AVisitThatStartsToMatchAfterTheSelectIsNotDeleted)
{
    InsertVisitEvent(600);
    VisitRow gone;
    gone.id = 1;
    gone.eventId = I(601); // no such event: archived now
    InsertVisit(gone);
    VisitRow late;
    late.id = 2;
    late.eventId = I(600);
    InsertVisit(late);

    CVisitSet set(&ZDb(), false);
    const std::wstring path = FilePath(L"visits.txt");
    // Between the archive and the delete the visit event 600 goes: visit 2 now matches
    // the purge statement, but it was never written to the archive.
    EXPECT_EQ(RunPass(set, path, [&] { Run(L"DELETE FROM VISIT_EVENT WHERE VISIT_EVENTID = 600"); }), 1);
    EXPECT_EQ(m_deleted, 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT WHERE VISITID = 2"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT WHERE VISITID = 1"), 0);
    EXPECT_EQ(ReadLines(path).size(), 1u);
}

TEST_P(VisitSetTest, AVisitThatStopsMatchingBeforeTheDeleteStays)
{
    VisitRow r;
    r.id = 1;
    r.eventId = I(700);
    InsertVisit(r);
    CVisitSet set(&ZDb(), false);
    // The visit event appears again (re-imported) before the delete: the archived
    // visit is not deleted; the next pass archives it again if it goes.
    EXPECT_EQ(RunPass(set, FilePath(L"visits.txt"), [&] { InsertVisitEvent(700); }), 1);
    EXPECT_EQ(m_deleted, 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 1);
}

TEST_P(VisitSetTest, VisitsWithoutAVisitEventAreNeverPurged)
{
    VisitRow r;
    r.id = 1; // VISIT_EVENTID NULL
    InsertVisit(r);
    CVisitSet set(&ZDb(), false);
    // Also with VISIT_EVENT empty (where NOT IN alone would select it).
    EXPECT_EQ(RunPass(set, FilePath(L"visits.txt")), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 1);
}

TEST_P(VisitSetTest, DeletesByVisitIdWithoutTheRowKey)
{
    VisitRow r;
    r.id = 9;
    r.eventId = I(1);
    InsertVisit(r);
    CVisitSet set(&ZDb(), false);
    std::unique_ptr<CSQLStatement> stmt = set.BuildPurgeStatement();
    set.Open(AFX_DB_USE_DEFAULT_TYPE, stmt->GetSQL());
    ASSERT_FALSE(set.IsEOF());
    set.Delete();
    set.Delete(); // noted once
    EXPECT_EQ(set.GetPendingDeleteCount(), 1u);
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 1) << "Delete alone deletes nothing";
    EXPECT_EQ(set.DeleteArchivedRows(), 1);
    EXPECT_EQ(set.GetPendingDeleteCount(), 0u);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 0);
}

TEST_P(VisitSetTest, ManyArchivedVisitsAreDeletedInBatches)
{
    const int n = static_cast<int>(zyn::archive::ArchivedRowKeys::BatchSize) * 2 + 17;
    ZYN_DB_OK(ZDb().BeginTrans());
    for (int i = 1; i <= n; ++i)
        Run(L"INSERT INTO VISIT (VISITID, VISIT_EVENTID) VALUES (?, ?)", {I(i), I(i)});
    ZYN_DB_OK(ZDb().CommitTrans());
    CVisitSet set(&ZDb(), false);
    EXPECT_EQ(RunPass(set, FilePath(L"visits.txt")), n);
    EXPECT_EQ(m_deleted, n);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT"), 0);
}

TEST_P(VisitSetTest, IdentifiersGoThroughTheMappingWhenItHasThem)
{
    MapId(L"VISIT_RESTORED", L"VISITID", 10, 1010);
    MapId(L"VISIT_RESTORED", L"EMPID", 20, 2020);
    MapId(L"VISIT_RESTORED", L"VISIT_EVENTID", 40, 4040);
    const std::wstring path = FilePath(L"visits.txt");
    WriteLines(path, {Line({L"10", L"20", L"30", L"", L"", L"", L"", L"1", L"", L"", L"40", L"", L"", L"", L""}),
                         Line({L"11", L"21", L"31", L"", L"", L"", L"", L"1", L"", L"", L"", L"", L"", L"", L""})});
    EXPECT_EQ(Restore(path), 2);
    ExpectInt(Restored(L"EMPID", 1010), 2020, "mapped EMPID");
    ExpectInt(Restored(L"VISITORID", 1010), 30, "VISITORID without a mapping");
    ExpectInt(Restored(L"VISIT_EVENTID", 1010), 4040, "mapped VISIT_EVENTID");
    ExpectInt(Restored(L"EMPID", 11), 21, "no mapping: as read");
    ExpectNull(Restored(L"VISIT_EVENTID", 11), "empty VISIT_EVENTID");
}

TEST_P(VisitSetTest, ALongPurposeIsCutToTheColumnAndLogged)
{
    const CString purpose(L'p', 2100);
    CString line = Line({L"42", L"1", L"2", L"", L"", L"", L"", L"0", L"", L"", L"0", L"", L"", L"", L""});
    // Put the long text in field 6.
    std::vector<CString> f = Fields(line);
    f[5] = purpose;
    line.Empty();
    for (size_t i = 0; i < f.size(); ++i)
        line += (i ? L"\t" : L"") + f[i];
    const std::wstring path = FilePath(L"visits.txt");
    WriteLines(path, {line});
    ErrorLogMark mark;
    EXPECT_EQ(Restore(path), 1);
    const DbValue stored = Restored(L"PURPOSE", 42);
    ExpectText(stored, CString(L'p', 2000), "PURPOSE cut to 2000");
    const std::string log = mark.NewText();
    EXPECT_NE(log.find("Visit Restore - Trimmed PURPOSE for Visit 42."), std::string::npos) << log;
}

TEST_P(VisitSetTest, ShortAndOutOfRangeLinesRestoreWhatTheyHave)
{
    const std::wstring path = FilePath(L"visits.txt");
    WriteLines(path, {
                         // Ends after TYPE.
                         Line({L"1", L"2", L"3", L"", L"", L"why", L"", L"5"}),
                         // Years outside 1970..2036 restore NULL.
                         Line({L"2", L"0", L"0", L"", L"", L"", L"", L"0", L"", L"", L"0", L"Dec 31 1969 11:59:59PM",
                             L"Jan 01 2037 12:00:00AM", L"Jan 01 2036 12:00:00AM", L"k  "}),
                     });
    EXPECT_EQ(Restore(path), 2);
    ExpectText(Restored(L"PURPOSE", 1), L"why", "PURPOSE");
    ExpectInt(Restored(L"TYPE", 1), 5, "TYPE");
    ExpectNull(Restored(L"VISIT_EVENTID", 1), "VISIT_EVENTID");
    ExpectNull(Restored(L"VISIT_KEY", 1), "VISIT_KEY");
    ExpectNull(Restored(L"TIMEIN_UTC", 2), "1969");
    ExpectNull(Restored(L"TIMEOUT_UTC", 2), "2037");
    ExpectTime(Restored(L"LASTCHANGED_UTC", 2), 2036, 1, 1, 0, 0, 0, "2036");
    ExpectText(Restored(L"VISIT_KEY", 2), L"k", "VISIT_KEY trimmed");
}

TEST_P(VisitSetTest, ATableWithoutPurposeAndTypeStillWritesFifteenFields)
{
    Run(L"DROP TABLE VISIT");
    Run(L"CREATE TABLE VISIT (VISITROWID INTEGER PRIMARY KEY, VISITID INTEGER NOT NULL, EMPID INTEGER, VISITORID "
        L"INTEGER, TIMEIN TIMESTAMP, TIMEOUT TIMESTAMP, TIMEIN_UTC TIMESTAMP, TIMEOUT_UTC TIMESTAMP, SCHEDULED_TIMEIN "
        L"TIMESTAMP, SCHEDULED_TIMEOUT TIMESTAMP, LASTCHANGED TIMESTAMP, LASTCHANGED_UTC TIMESTAMP, VISIT_EVENTID "
        L"INTEGER, VISIT_KEY VARCHAR(255))");
    Run(L"INSERT INTO VISIT (VISITROWID, VISITID, EMPID, VISIT_EVENTID, VISIT_KEY) VALUES (1, 5, 6, 7, 'k')");
    CVisitSet set(&ZDb(), false);
    EXPECT_FALSE(set.HasPurposeColumn());
    EXPECT_FALSE(set.HasTypeColumn());
    const std::wstring path = FilePath(L"visits.txt");
    EXPECT_EQ(RunPass(set, path), 1);
    EXPECT_EQ(set.m_nFields, 14u) << "13 own fields and VISITROWID";
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<CString> f = Fields(lines[0]);
    ASSERT_EQ(f.size(), 15u);
    EXPECT_TRUE(f[5].IsEmpty());
    EXPECT_EQ(zyn::base::ToUtf8(f[7].GetString()), "0");
    EXPECT_EQ(zyn::base::ToUtf8(f[14].GetString()), "k");
}

TEST_P(VisitSetTest, MalformedLinesAreSkippedLoggedAndCounted)
{
    const std::wstring path = FilePath(L"visits.txt");
    WriteLines(path, {Line({L"1", L"0", L"0", L"", L"", L"", L"", L"0"}), L"garbage", L"",
                         Line({L"x", L"0", L"0", L"", L"", L"", L"", L"0"}), L"   ",
                         Line({L"2", L"0", L"0", L"", L"", L"", L"", L"0"})});
    ErrorLogMark mark;
    EXPECT_EQ(Restore(path), 2);
    EXPECT_EQ(m_skipped, 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_RESTORED"), 2);
    const std::string log = mark.NewText();
    EXPECT_NE(log.find("line 2"), std::string::npos) << log;
    EXPECT_NE(log.find("line 4"), std::string::npos) << log;
}

TEST_P(VisitSetTest, TheArchiveTimeIsLastChangedUtc)
{
    VisitRow r;
    r.id = 1;
    r.eventId = I(1);
    r.lastChangedUtc = Ts(2010, 3, 4, 5, 6, 7);
    InsertVisit(r);
    VisitRow n;
    n.id = 2;
    n.eventId = I(2);
    InsertVisit(n);
    CVisitSet set(&ZDb(), false);
    set.m_strSort = L"VISITID";
    set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr);
    ASSERT_FALSE(set.IsEOF());
    COleDateTime t = set.GetArchiveRecordTime();
    EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(t.GetYear(), 2010);
    EXPECT_EQ(t.GetSecond(), 7);
    set.MoveNext();
    EXPECT_EQ(set.GetArchiveRecordTime().GetStatus(), COleDateTime::null);
    set.Close();

    // The time filter selects by LASTCHANGED_UTC.
    CVisitSet filtered(&ZDb(), false);
    COleDateTime cutoff(2011, 1, 1, 0, 0, 0);
    filtered.AddArchiveTimeFilter(cutoff, CMultiFilterRecordset::LessThan);
    filtered.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr);
    ASSERT_FALSE(filtered.IsEOF());
    EXPECT_EQ(filtered.m_VISITID, 1);
    filtered.MoveNext();
    EXPECT_TRUE(filtered.IsEOF());
}

TEST_P(VisitSetTest, AUtcTimeInTheLocalSpringForwardHourIsKept)
{
    // 2008-03-30 02:30 does not exist as local time in Berlin; as a UTC value it does.
    ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L"Europe/Berlin"));
    VisitRow r;
    r.id = 1;
    r.eventId = I(1);
    r.timeInUtc = Ts(2008, 3, 30, 2, 30, 0);
    InsertVisit(r);
    CVisitSet set(&ZDb(), false);
    const std::wstring path = FilePath(L"visits.txt");
    EXPECT_EQ(RunPass(set, path), 1);
    EXPECT_EQ(Restore(path), 1);
    ExpectTime(Restored(L"TIMEIN_UTC", 1), 2008, 3, 30, 2, 30, 0, "TIMEIN_UTC");
}

TEST_P(VisitSetTest, FormatVisitorEventDeleteRemovesOnlyUnsharedEvents)
{
    EXPECT_EQ(zyn::base::ToUtf8(CVisitSet::FormatVisitorEventDelete(12).GetString()),
        "DELETE FROM VISIT_EVENT WHERE VISIT_EVENTID IN (SELECT VISIT.VISIT_EVENTID FROM VISIT WHERE VISIT.VISITORID = "
        "12 AND NOT EXISTS (SELECT innerVisit.VISITID FROM VISIT innerVisit where innerVisit.VISIT_EVENTID = "
        "VISIT.VISIT_EVENTID AND innerVisit.VISITID <> VISIT.VISITID))");
    InsertVisitEvent(1);
    InsertVisitEvent(2);
    VisitRow a;
    a.id = 1;
    a.visitor = I(12);
    a.eventId = I(1);
    InsertVisit(a);
    VisitRow b;
    b.id = 2;
    b.visitor = I(12);
    b.eventId = I(2);
    InsertVisit(b);
    VisitRow c; // another visitor shares event 2
    c.id = 3;
    c.visitor = I(13);
    c.eventId = I(2);
    InsertVisit(c);
    Run(CVisitSet::FormatVisitorEventDelete(12));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT WHERE VISIT_EVENTID = 1"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM VISIT_EVENT WHERE VISIT_EVENTID = 2"), 1);
}

ZYN_INSTANTIATE_ENGINES(VisitSetTest);

} // namespace
} // namespace zyn::test
