// The statements the sets give engines that do not run here (SQL Server, Oracle, DB2),
// recorded by a database double.

#include <gtest/gtest.h>

#include "archive/alarm_ack_event_type_join_set.h"
#include "archive/alarm_ack_history_set.h"
#include "archive/alarm_ack_rec_set.h"
#include "archive/log_events.h"
#include "tests/archive/archive_fixture.h"
#include "tests/support/recording_database.h"

using zyn::test::RecordingDatabase;
using zyn::test::Ts;
using zyn::test::U8;

namespace {

std::vector<std::string> Recorded(const RecordingDatabase& db)
{
    std::vector<std::string> out;
    for (const CString& s : db.m_statements)
        out.push_back(U8(s));
    return out;
}

void FillHistory(CAlarmAckHistorySet& set, const TIMESTAMP_STRUCT& time)
{
    set.m_PANELID = 4;
    set.m_SERIALNUM = 5;
    set.m_USERID = 7;
    set.m_ACKTIME_UTC = time;
    set.m_ACKSTATUS = 2;
    set.m_ACKNOTE = L"it's done";
}

} // namespace

TEST(ArchiveEngineSql, OracleHistoryInsertTakesTheIdFromTheTablesSequence)
{
    RecordingDatabase db(ZynEngineOracle);
    CAlarmAckHistorySet live(&db, false);
    FillHistory(live, Ts(2010, 1, 2, 3, 4, 5));
    live.InsertHistory();
    CAlarmAckHistorySet restored(&db, true);
    FillHistory(restored, Ts(1970, 12, 31, 23, 0, 0));
    restored.InsertHistory();
    EXPECT_EQ(Recorded(db),
        (std::vector<std::string>{
            "INSERT INTO \"ALARM_ACK_HISTORY\" (PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE, "
            "ALARM_ACK_HISTORYID) VALUES(4, 5, 7, TO_DATE('2010-01-02 03:04:05', 'YYYY-MM-DD HH24:MI:SS'), 2, "
            "'it''s done', ALARM_ACK_HISTORY_SEQ.nextval)",
            "INSERT INTO \"ALARM_ACK_HISTORY_RESTORED\" (PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, "
            "ACKNOTE, ALARM_ACK_HISTORYID) VALUES(4, 5, 7, NULL, 2, 'it''s done', "
            "ALARM_ACK_HISTORY_RESTORED_SEQ.nextval)"}));
}

TEST(ArchiveEngineSql, OtherEnginesInsertHistoryWithoutASequence)
{
    for (ZynEngineType engine : {ZynEngineSqlServer, ZynEngineDB2}) {
        RecordingDatabase db(engine);
        CAlarmAckHistorySet set(&db, false);
        FillHistory(set, Ts(2010, 1, 2, 3, 4, 5));
        set.InsertHistory();
        ASSERT_EQ(db.m_statements.size(), 1u);
        const std::string sql = U8(db.m_statements[0]);
        EXPECT_EQ(sql.find("ALARM_ACK_HISTORYID"), std::string::npos) << sql;
        EXPECT_NE(sql.find("'it''s done')"), std::string::npos) << sql;
    }
}

TEST(ArchiveEngineSql, HistorySetRefusesAddNew)
{
    RecordingDatabase db(ZynEngineDB2);
    CAlarmAckHistorySet set(&db, false);
    const auto failure = zyn::test::CatchDb([&] { set.AddNew(); });
    EXPECT_TRUE(failure.thrown);
    EXPECT_EQ(failure.code, 1009);
}

TEST(ArchiveEngineSql, AcknowledgementDeleteIsKeyedOnEveryEngineAndTakesItsHistory)
{
    for (ZynEngineType engine : {ZynEngineDB2, ZynEngineSqlServer, ZynEngineOracle, ZynEngineRepository}) {
        SCOPED_TRACE(static_cast<int>(engine));
        RecordingDatabase db(engine);
        LAcsAlarmAckRecSet live(&db, false);
        live.m_SPANELID = 4;
        live.m_SSERIALNUM = 5;
        live.Delete();
        LAcsAlarmAckRecSet restored(&db, true);
        restored.m_SPANELID = -1;
        restored.m_SSERIALNUM = 2147483647;
        restored.Delete();
        EXPECT_EQ(Recorded(db), (std::vector<std::string>{"DELETE FROM ALARMSACK WHERE SPANELID = 4 AND SSERIALNUM = 5",
                                    "DELETE FROM ALARM_ACK_HISTORY WHERE PANELID = 4 AND SERIALNUM = 5",
                                    "DELETE FROM ALARMSACK_RESTORED WHERE SPANELID = -1 AND SSERIALNUM = 2147483647",
                                    "DELETE FROM ALARM_ACK_HISTORY_RESTORED WHERE PANELID = -1 AND SERIALNUM = "
                                    "2147483647"}));
    }
}

TEST(ArchiveEngineSql, JoinSetDeletesFromTheLiveTable)
{
    RecordingDatabase db(ZynEngineDB2);
    LAcsAlarmAckEventTypeJoinSet join(&db);
    join.m_SPANELID = 8;
    join.m_SSERIALNUM = 9;
    join.Delete();
    EXPECT_EQ(Recorded(db), (std::vector<std::string>{"DELETE FROM ALARMSACK WHERE SPANELID = 8 AND SSERIALNUM = 9",
                                "DELETE FROM ALARM_ACK_HISTORY WHERE PANELID = 8 AND SERIALNUM = 9"}));
    EXPECT_EQ(U8(join.GetDefaultSQL()), "[ALARMSACK], [EVENTS]");
    EXPECT_EQ(U8(join.GetDefaultConnect()), "ODBC;DSN=Orvan;");
    join.m_strFilter = L"X = 1";
    join.AddJoinCondition();
    EXPECT_EQ(U8(join.m_strFilter),
        "X = 1 AND ALARMSACK.SSERIALNUM=EVENTS.SERIALNUM AND ALARMSACK.SPANELID=EVENTS.MACHINE");
}

TEST(ArchiveEngineSql, EventInsertOnTextEnginesEscapesItsLiterals)
{
    RecordingDatabase db(ZynEngineOracle);
    CLogEvents set(&db);
    set.InsertEvent(77, 5, 1, 2, 3, 4, 5, 9000000000, 6, Ts(2015, 3, 4, 5, 6, 7), 8, 9, 10, 11, 12, -1, 13, 14, -1, 15,
        L"O'Brien'); DROP TABLE EVENTS; --", 16, 17, 18, 19, L"c'd", CLogEvents::NoSegment, 20, 21, 22);
    ASSERT_EQ(db.m_statements.size(), 1u);
    EXPECT_EQ(U8(db.m_statements[0]),
        "INSERT INTO EVENTS (SERIALNUM, DEVID, INPUTDEVID, EVENTTYPE, EVENTID, EVENTDATA, CARDNUM, MACHINE, EMPID, "
        "INPUTARG, TRIGGER_EVENT, FUNCLIST, ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, "
        "TRANSMITTER_INPUTID, ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, EVENTCODE, "
        "SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC)  VALUES (77, 1, 2, 3, 4, 5, 9000000000, 5, "
        "6, 10, 8, 9, 11, 12, -1, 13, 14, -1, 15, 'O''Brien''); DROP TABLE EVENTS; --', 16, 17, 18, 19, 'c''d', "
        "NULL, 20, 21, 22, TO_DATE('2015-03-04 05:06:07', 'YYYY-MM-DD HH24:MI:SS'))");
}

TEST(ArchiveEngineSql, NextSerialNumberWithoutCounterTableOnTheRepositoryIsAtLeastNow)
{
    // The repository has no serial counters and the double no connection: every path
    // fails, is logged, and the answer is the current time.
    RecordingDatabase db(ZynEngineRepository);
    CLogEvents set(&db);
    const int64_t before = CTime::GetCurrentTime().GetTime();
    EXPECT_GE(set.GetNextSN(3, 1), before);
}
