// The alarm-acknowledgement sets on a real database: acknowledgements with their
// history written, restored and deleted together; the join set of one event type.

#include <gtest/gtest.h>

#include "archive/alarm_ack_archive_line.h"
#include "archive/alarm_ack_event_type_join_set.h"
#include "archive/alarm_ack_history_set.h"
#include "archive/alarm_ack_rec_set.h"
#include "archive/purge_driver.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;
using zyn::afx::DbValue;

namespace {

struct Ack {
    int32_t panel = 4;
    int32_t serial = 5;
    int32_t user = 7;
    int32_t status = 2;
    CString note = L"note\twith\r\ntabs and 'quotes'";
    DbValue inProgressUser = DbValue{};
    DbValue ackTimeUtc = Ts(2010, 1, 2, 3, 4, 5);
    DbValue inProgressTimeUtc = DbValue{};
};

class AlarmAckTest : public ArchiveDbTest {
protected:
    void InsertAck(const Ack& a, const wchar_t* table = L"ALARMSACK")
    {
        CString sql;
        sql.Format(L"INSERT INTO %s (USERID, ACKNOTE, STATUS, SALARMID, SPANELID, SSERIALNUM, LPANELID, LSERIALNUM, "
                   L"ACKTIME, IN_PROGRESS_USERID, IN_PROGRESS_ACKTIME, FORWARDED_USERID, SOURCE_STATION, "
                   L"DESTINATION_STATION, ACK_TIME_UTC, IN_PROGRESS_ACKTIME_UTC, FORWARDED_TIME_UTC) VALUES "
                   L"(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            table);
        ExecParams(sql.GetString(), {a.user, a.note, a.status, int32_t{33}, a.panel, a.serial, int32_t{40},
                                        int32_t{41}, Ts(2010, 1, 2, 5, 4, 5), a.inProgressUser, DbValue{},
                                        int32_t{50}, int32_t{51}, int32_t{52}, a.ackTimeUtc, a.inProgressTimeUtc,
                                        Ts(2011, 2, 3, 4, 5, 6)});
    }
    void InsertHistory(int32_t panel, int32_t serial, int32_t user, DbValue time, int32_t status, const CString& note)
    {
        ExecParams(L"INSERT INTO ALARM_ACK_HISTORY (PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE) "
                   L"VALUES (?, ?, ?, ?, ?, ?)",
            {panel, serial, user, time, status, note});
    }
    void InsertEvent(int32_t machine, int32_t serial, int32_t type)
    {
        ExecParams(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE, EVENT_TIME_UTC) VALUES (?, ?, ?, ?)",
            {serial, machine, type, Ts(2010, 1, 1)});
    }

    std::wstring WriteAll()
    {
        const std::wstring path = TempFilePath(L"acks.txt");
        CStdioFileUnicode file;
        OpenForAppend(file, path);
        LAcsAlarmAckRecSet set(ZDbPtr());
        set.m_strSort = L"SSERIALNUM";
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
        LAcsAlarmAckRecSet set(ZDbPtr(), true);
        const LONG n = set.RestoreArchiveRecords(file, 0, progress, context, interval);
        if (skipped)
            *skipped = set.GetSkippedLineCount();
        return n;
    }
};

} // namespace

TEST_P(AlarmAckTest, AcknowledgementWithTwoHistoryRowsRoundTrips)
{
    Ack a;
    a.inProgressUser = int32_t{9};
    a.inProgressTimeUtc = Ts(2010, 1, 2, 2, 0, 0);
    InsertAck(a);
    InsertHistory(4, 5, 9, Ts(2010, 1, 2, 2, 0, 0), 3, L"first\tnote");
    InsertHistory(4, 5, 7, Ts(1970, 6, 1, 12, 0, 0), 2, L"second\nnote");
    InsertHistory(4, 6, 7, Ts(2010, 1, 2), 2, L"another acknowledgement's");

    const std::wstring path = WriteAll();
    const std::vector<CString> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 3u);
    zyn::archive::ArchiveFields ack(lines[0]);
    ASSERT_EQ(ack.Count(), 14);
    // USERID, STATUS, SALARMID, SPANELID, SSERIALNUM, LPANELID as inserted above, each in
    // its own place.
    const char* const firstSix[] = {"7", "2", "33", "4", "5", "40"};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(U8(ack.Raw(i)), firstSix[i - 1]) << "field " << i;
    EXPECT_EQ(U8(ack.Raw(7)), "41");
    EXPECT_TRUE(ack.IsEmpty(8));
    EXPECT_EQ(U8(ack.Raw(10)), "9");
    EXPECT_TRUE(ack.IsEmpty(11));
    EXPECT_EQ(U8(ack.Raw(12)), "Jan 02 2010 03:04:05AM");
    EXPECT_EQ(U8(ack.Raw(14)), "Feb 03 2011 04:05:06AM");
    zyn::archive::ArchiveFields h(lines[1]);
    ASSERT_EQ(h.Count(), 7);
    EXPECT_EQ(U8(h.Raw(1)), "\x01\x02");
    EXPECT_EQ(U8(h.Raw(2)), "9");
    EXPECT_EQ(lines[2].Right(1), L"\t");

    LONG skipped = -1;
    EXPECT_EQ(Restore(path, nullptr, nullptr, 0, &skipped), 1);
    EXPECT_EQ(skipped, 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK_RESTORED"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 2);

    LAcsAlarmAckRecSet back(ZDbPtr(), true);
    back.Open();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(U8(back.m_ACKNOTE), U8(a.note));
    EXPECT_EQ(back.m_SPANELID, 4);
    EXPECT_EQ(back.m_LSERIALNUM, 41);
    EXPECT_EQ(back.m_IN_PROGRESS_USERID, 9);
    EXPECT_TRUE(back.IsFieldNull(&back.m_ACKTIME));
    EXPECT_TRUE(back.IsFieldNull(&back.m_FORWARDED_USERID)); // not archived
    EXPECT_EQ(back.m_ACK_TIME_UTC.second, 5);
    EXPECT_EQ(back.m_FORWARDED_TIME_UTC.year, 2011);
    back.Close();

    CAlarmAckHistorySet hist(ZDbPtr(), true);
    hist.m_strSort = L"ALARM_ACK_HISTORYID";
    hist.Open();
    ASSERT_FALSE(hist.IsEOF());
    EXPECT_EQ(hist.m_PANELID, 4);
    EXPECT_EQ(hist.m_SERIALNUM, 5);
    EXPECT_EQ(U8(hist.m_ACKNOTE), "first\tnote");
    EXPECT_EQ(hist.m_ACKTIME_UTC.hour, 2);
    hist.MoveNext();
    ASSERT_FALSE(hist.IsEOF());
    EXPECT_EQ(U8(hist.m_ACKNOTE), "second\nnote");
    EXPECT_TRUE(hist.IsFieldNull(&hist.m_ACKTIME_UTC)); // 1970 is before 1971
    hist.Close();
}

TEST_P(AlarmAckTest, AcknowledgementWithoutHistoryGetsItsHistoryMade)
{
    Ack plain; // user 7, not in progress
    plain.serial = 1;
    InsertAck(plain);
    Ack inProgress;
    inProgress.serial = 2;
    inProgress.status = 3;
    inProgress.user = 8;
    inProgress.inProgressUser = int32_t{9};
    inProgress.inProgressTimeUtc = Ts(2010, 5, 5, 5, 5, 5);
    InsertAck(inProgress);
    Ack nobody;
    nobody.serial = 3;
    nobody.user = 0;
    InsertAck(nobody);

    const std::wstring path = WriteAll();
    ASSERT_EQ(ReadLines(path).size(), 3u);
    EXPECT_EQ(Restore(path), 3);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 1"), 1);
    EXPECT_EQ(Count(L"SELECT USERID FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 1"), 7);
    EXPECT_EQ(Count(L"SELECT ACKSTATUS FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 1"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 2"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 2 AND USERID = 9 AND "
                    L"ACKSTATUS = 3 AND ACKNOTE IS NOT NULL"),
        1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 2 AND USERID = 8"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED WHERE SERIALNUM = 3"), 0);
}

TEST_P(AlarmAckTest, RestoreMapsIdentifiersOfAcknowledgementsAndHistory)
{
    InsertAck(Ack{});
    InsertHistory(4, 5, 7, Ts(2010, 1, 2), 2, L"n");
    AddMapping(L"ALARMSACK_RESTORED", L"USERID", 7, 70);
    AddMapping(L"ALARMSACK_RESTORED", L"SPANELID", 4, 44);
    const std::wstring path = WriteAll();
    EXPECT_EQ(Restore(path), 1);
    EXPECT_EQ(Count(L"SELECT USERID FROM ALARMSACK_RESTORED"), 70);
    EXPECT_EQ(Count(L"SELECT SPANELID FROM ALARMSACK_RESTORED"), 44);
    EXPECT_EQ(Count(L"SELECT SSERIALNUM FROM ALARMSACK_RESTORED"), 5);
    EXPECT_EQ(Count(L"SELECT USERID FROM ALARM_ACK_HISTORY_RESTORED"), 70);
    EXPECT_EQ(Count(L"SELECT PANELID FROM ALARM_ACK_HISTORY_RESTORED"), 44);
}

TEST_P(AlarmAckTest, StrayAndMalformedLinesAreSkippedWithTheirHistory)
{
    InsertAck(Ack{});
    InsertHistory(4, 5, 7, Ts(2010, 1, 2), 2, L"n");
    Ack other;
    other.serial = 6;
    InsertAck(other);
    const std::vector<CString> good = ReadLines(WriteAll());
    ASSERT_EQ(good.size(), 3u);
    const std::wstring path = TempFilePath(L"stray.txt");
    WriteLines(path, {good[1], L"", good[0], good[1], L"1\t2\t3", good[1], good[1], L"\x01\x02\tbad", good[2]});
    LONG skipped = -1;
    EXPECT_EQ(Restore(path, nullptr, nullptr, 0, &skipped), 2);
    // The stray history line, the short acknowledgement and its two history lines, and
    // the short history line.
    EXPECT_EQ(skipped, 5);
    // One history row for the first acknowledgement; the second (no history lines of
    // its own) gets the row made from it.
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 2);
}

TEST_P(AlarmAckTest, ProgressStopsAfterExactlyOneIntervalWithTheHistoryOfTheLast)
{
    for (int32_t s = 1; s <= 5; ++s) {
        Ack a;
        a.serial = s;
        InsertAck(a);
        InsertHistory(4, s, 7, Ts(2010, 1, 2), 2, L"h");
    }
    const std::wstring path = WriteAll();
    ProgressLog log;
    log.stopAfter = 1;
    EXPECT_EQ(Restore(path, RecordProgress, &log, 2), 2);
    EXPECT_EQ(log.counts, std::vector<LONG>{2});
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK_RESTORED"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 2);

    // Run again, the restore takes up the other three, each with its history.
    ProgressLog rest;
    EXPECT_EQ(Restore(path, RecordProgress, &rest, 2), 3);
    EXPECT_EQ(rest.counts, std::vector<LONG>{2});
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK_RESTORED"), 5);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY_RESTORED"), 5);

    ExecParams(L"DELETE FROM ALARMSACK_RESTORED", {});
    ProgressLog all;
    EXPECT_EQ(Restore(path, RecordProgress, &all, 2), 5);
    EXPECT_EQ(all.counts, (std::vector<LONG>{2, 4}));
}

TEST_P(AlarmAckTest, AFileOfEmptyLinesRestoresNothing)
{
    const std::wstring path = TempFilePath(L"empty.txt");
    WriteLines(path, {L"", L"", L""});
    EXPECT_EQ(Restore(path), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK_RESTORED"), 0);
}

TEST_P(AlarmAckTest, DeleteRemovesTheAcknowledgementAndTheHistoryWrittenWithIt)
{
    Ack a;
    InsertAck(a);
    Ack other;
    other.serial = 6;
    InsertAck(other);
    InsertHistory(4, 5, 7, Ts(2010, 1, 2), 2, L"archived");
    InsertHistory(4, 6, 7, Ts(2010, 1, 2), 2, L"other acknowledgement");

    const std::wstring path = TempFilePath(L"delete.txt");
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    LAcsAlarmAckRecSet set(ZDbPtr());
    set.AddKeyFilter(4, 5);
    set.Open();
    ASSERT_FALSE(set.IsEOF());
    set.WriteArchiveRecord(file);
    // A history row that arrives after the write did not go into the file: it stays.
    InsertHistory(4, 5, 8, Ts(2010, 1, 3), 3, L"late");
    set.Delete();
    set.Close();
    file.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE SSERIALNUM = 5"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY WHERE SERIALNUM = 5"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY WHERE SERIALNUM = 6"), 1);

    // Deleting without writing (the destination that only deletes) takes all history.
    LAcsAlarmAckRecSet again(ZDbPtr());
    again.AddKeyFilter(4, 6);
    again.Open();
    ASSERT_FALSE(again.IsEOF());
    again.Delete();
    again.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY WHERE SERIALNUM = 6"), 0);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY WHERE SERIALNUM = 5"), 1);
}

TEST_P(AlarmAckTest, JoinSetPurgesTheAcknowledgementsOfOneEventType)
{
    InsertEvent(4, 1, 100);
    InsertEvent(4, 2, 200);
    InsertEvent(4, 3, 100);
    for (int32_t s = 1; s <= 3; ++s) {
        Ack a;
        a.serial = s;
        InsertAck(a);
        InsertHistory(4, s, 7, Ts(2010, 1, 2), 2, L"h");
    }
    Ack recent;
    recent.serial = 3;
    recent.panel = 5;
    recent.ackTimeUtc = Ts(2030, 1, 1);
    InsertAck(recent);
    InsertEvent(5, 3, 100);

    LAcsAlarmAckEventTypeJoinSet join(ZDbPtr());
    std::vector<zyn::archive::PurgeStep> steps(1);
    steps[0].set = &join;
    steps[0].prepare = [](CZynArchiveSet& s) {
        auto& j = static_cast<LAcsAlarmAckEventTypeJoinSet&>(s);
        j.AddEventTypeFilter(100);
        j.AddJoinCondition();
    };
    const std::wstring path = TempFilePath(L"join.txt");
    CStdioFileUnicode file;
    OpenForAppend(file, path);
    const auto result = zyn::archive::RunPurgePass(ZDb(), COleDateTime(2020, 1, 1, 0, 0, 0), steps, &file);
    file.Close();
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(ReadLines(path).size(), 4u);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK"), 2);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE SSERIALNUM = 2"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE SPANELID = 5"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 4); // the events are not this set's
    EXPECT_FALSE(join.CanUpdate());
}

TEST_P(AlarmAckTest, KeyedQueryFindsOneAcknowledgement)
{
    InsertAck(Ack{});
    Ack other;
    other.serial = 9;
    InsertAck(other);
    LAcsAlarmAckRecSet set(ZDbPtr());
    set.AddFilterLong(L"STATUS", 99); // the keyed query clears the filters
    ASSERT_TRUE(set.OpenByKey(4, 9));
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_SSERIALNUM, 9);
    EXPECT_EQ(U8(set.m_ACKNOTE), U8(other.note));
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
    set.Close();
}

TEST_P(AlarmAckTest, ForwardingFillsTheKeyOfANewAcknowledgement)
{
    LAcsAlarmAckRecSet set(ZDbPtr());
    set.m_strFilter = L"1=0";
    set.Open();
    set.AddNew();
    set.SetForwarding(3, 4, 5, 6, Ts(2012, 1, 1, 1, 1, 1), 7, 8);
    EXPECT_TRUE(set.SetAckTimeUtc(Ts(2012, 2, 2)));
    EXPECT_FALSE(set.SetAckTimeUtc(Ts(2040, 1, 1)));
    EXPECT_FALSE(set.SetInProgressAckTimeUtc(Ts(1960, 1, 1)));
    set.SetLinkedEvent(10, 11);
    set.Update();
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE USERID = 0 AND STATUS = 0 AND SALARMID = 3 AND "
                    L"SPANELID = 4 AND SSERIALNUM = 5 AND FORWARDED_USERID = 6 AND SOURCE_STATION = 7 AND "
                    L"DESTINATION_STATION = 8 AND LPANELID = 10 AND LSERIALNUM = 11 AND "
                    L"IN_PROGRESS_ACKTIME_UTC IS NULL"),
        1);

    // On a fetched row only the NULL key columns are filled.
    LAcsAlarmAckRecSet edit(ZDbPtr());
    edit.Open();
    ASSERT_FALSE(edit.IsEOF());
    edit.Edit();
    edit.SetForwarding(30, 40, 50, 60, Ts(2013, 1, 1), 70, 80);
    edit.Update();
    edit.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE SALARMID = 3 AND SPANELID = 4 AND FORWARDED_USERID = 60 "
                    L"AND DESTINATION_STATION = 80"),
        1);
}

ZYN_INSTANTIATE_ENGINES(AlarmAckTest);
