// CSQLStatement's text on every engine type, checked on recording databases where the
// engine does not exist here; FixupText and FormatTimestamp.
#include <gtest/gtest.h>

#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/sql_statement.h"
#include "tests/support/recording_database.h"

using zyn::test::RecordingDatabase;
using Op = CMultiFilterRecordset::ParamCompOperator;

namespace {

std::string U8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }

// The visit-event purge statement as the visit-event set builds it.
CSQLStatement VisitEventPurge(CZynDatabase* db, const COleDateTime& cutoff)
{
    CSQLStatement st(db);
    for (LPCWSTR c : {L"VISIT_EVENTID", L"NAME", L"EMPID", L"LAST_CHANGED", L"LASTCHANGED_UTC", L"SOURCE_ZYN_DBID",
             L"VISIT_EVENT_SIGN_IN_LOCATIONID", L"SCHEDULED_TIMEOUT", L"SCHEDULED_TIMEIN"})
        st.AddToSelect(L"VISIT_EVENT", c);
    CSQLStatement open(db);
    open.AddToSelect(L"VISIT", L"VISIT_EVENTID");
    open.AddToWhere(L"VISIT", L"TIMEOUT_UTC", CMultiFilterRecordset::IsNull, 0);
    st.AddWhereValuesInSubquery(L"VISIT_EVENT", L"VISIT_EVENTID", open, 0, FALSE);
    st.AddToWhere(L"VISIT_EVENT", L"SCHEDULED_TIMEOUT", cutoff, CMultiFilterRecordset::LessThan, 0, 0);
    return st;
}

template <class F>
bool ThrowsInvalidArg(F f)
{
    try {
        f();
    } catch (CInvalidArgException* e) {
        e->Delete();
        return true;
    }
    return false;
}

const COleDateTime kCutoff(2008, 7, 5, 15, 4, 5);

TEST(SqlStatement, VisitEventPurgeOnEveryEngine)
{
    const CString select = L"SELECT VISIT_EVENT.VISIT_EVENTID, VISIT_EVENT.NAME, VISIT_EVENT.EMPID, "
                           L"VISIT_EVENT.LAST_CHANGED, VISIT_EVENT.LASTCHANGED_UTC, VISIT_EVENT.SOURCE_ZYN_DBID, "
                           L"VISIT_EVENT.VISIT_EVENT_SIGN_IN_LOCATIONID, VISIT_EVENT.SCHEDULED_TIMEOUT, "
                           L"VISIT_EVENT.SCHEDULED_TIMEIN FROM VISIT_EVENT";
    // The sub-select of open visits leaves NULL event IDs out: one NULL would make NOT IN
    // match nothing.
    const CString where = L" WHERE (VISIT_EVENT.VISIT_EVENTID NOT IN (SELECT VISIT.VISIT_EVENTID FROM VISIT WHERE "
                          L"(VISIT.TIMEOUT_UTC IS NULL) AND VISIT.VISIT_EVENTID IS NOT NULL)) AND "
                          L"VISIT_EVENT.SCHEDULED_TIMEOUT < ";
    struct Case {
        ZynEngineType engine;
        LPCWSTR literal;
    };
    const Case cases[] = {
        {ZynEngineSQLite, L"'2008-07-05 15:04:05'"},
        {ZynEnginePostgreSQL, L"TIMESTAMP '2008-07-05 15:04:05.000'"},
        {ZynEngineSqlServer, L"CONVERT(DATETIME, '2008-07-05 15:04:05.000', 121)"},
        {ZynEngineOracle, L"TO_DATE('2008-07-05 15:04:05', 'YYYY-MM-DD HH24:MI:SS')"},
        {ZynEngineDB2, L"TIMESTAMP('2008-07-05 15:04:05.000000')"},
        {ZynEngineRepository, L"{ts '2008-07-05 15:04:05.000'}"},
    };
    for (const Case& c : cases) {
        RecordingDatabase db(c.engine);
        const CSQLStatement st = VisitEventPurge(&db, kCutoff);
        EXPECT_EQ(U8(st.FormatSelect()), U8(select + where + c.literal)) << "engine " << c.engine;
        EXPECT_EQ(U8(st.FormatDelete()), U8(L"DELETE FROM VISIT_EVENT" + where + c.literal)) << "engine " << c.engine;

        // The delete goes through ExecuteSQL unchanged (no brackets to map).
        db.ExecuteSQL(st.FormatDelete(), false);
        ASSERT_EQ(db.m_statements.size(), 1u);
        EXPECT_EQ(db.m_statements[0], st.FormatDelete());
    }
}

TEST(SqlStatement, VisitPurgeSelectsVisitsOfPurgedEvents)
{
    RecordingDatabase db(ZynEngineDB2);
    CSQLStatement st(&db);
    st.AddToSelect(L"VISIT", L"VISITID");
    st.AddToSelect(L"VISIT", L"VISIT_KEY");
    CSQLStatement events(&db);
    events.AddToSelect(L"VISIT_EVENT", L"VISIT_EVENTID");
    st.AddWhereValuesInSubquery(L"VISIT", L"VISIT_EVENTID", events, 0, FALSE);
    EXPECT_EQ(U8(st.FormatSelect()),
        "SELECT VISIT.VISITID, VISIT.VISIT_KEY FROM VISIT WHERE VISIT.VISIT_EVENTID NOT IN (SELECT "
        "VISIT_EVENT.VISIT_EVENTID FROM VISIT_EVENT WHERE VISIT_EVENT.VISIT_EVENTID IS NOT NULL)");
    // DB2's delete of the same rows.
    db.ExecuteSQL(st.FormatDelete(), false);
    EXPECT_EQ(U8(db.m_statements.at(0)),
        "DELETE FROM VISIT WHERE VISIT.VISIT_EVENTID NOT IN (SELECT VISIT_EVENT.VISIT_EVENTID FROM VISIT_EVENT "
        "WHERE VISIT_EVENT.VISIT_EVENTID IS NOT NULL)");

    // IN keeps the sub-select as it is.
    CSQLStatement in(&db);
    in.AddToSelect(L"VISIT", L"VISITID");
    in.AddWhereValuesInSubquery(L"VISIT", L"VISIT_EVENTID", events, 0, TRUE);
    EXPECT_EQ(U8(in.FormatWhere()), "VISIT.VISIT_EVENTID IN (SELECT VISIT_EVENT.VISIT_EVENTID FROM VISIT_EVENT)");
}

TEST(SqlStatement, ConditionsJoinLeftToRight)
{
    CSQLStatement st(nullptr);
    st.AddToSelect(L"EVENTS", L"SERIALNUM");
    st.AddToWhere(L"EVENTS", L"MACHINE", 5L, CMultiFilterRecordset::Equal);
    st.AddToWhere(L"EVENTS", L"EVENTTYPE", 3L, CMultiFilterRecordset::GreaterOrEqual, CSQLStatement::FilterAnd);
    st.AddToWhere(L"EVENTS", L"SEGMENTID", CMultiFilterRecordset::IsNotNull, CSQLStatement::FilterOr);
    st.AddToWhere(L"EVENTS", L"EVENT_TEXT", L"it's", CMultiFilterRecordset::Like);
    EXPECT_EQ(U8(st.FormatWhere()),
        "(((EVENTS.MACHINE = 5) AND EVENTS.EVENTTYPE >= 3) OR EVENTS.SEGMENTID IS NOT NULL) AND EVENTS.EVENT_TEXT "
        "LIKE 'it''s'");
    EXPECT_EQ(U8(st.FormatSelect()), "SELECT EVENTS.SERIALNUM FROM EVENTS WHERE " + U8(st.FormatWhere()));
}

TEST(SqlStatement, EveryOperatorAndTablesOfTheWhereJoinFrom)
{
    const std::pair<Op, const char*> ops[] = {{CMultiFilterRecordset::Equal, "="},
        {CMultiFilterRecordset::NotEqual, "<>"}, {CMultiFilterRecordset::LessThan, "<"},
        {CMultiFilterRecordset::LessOrEqual, "<="}, {CMultiFilterRecordset::GreaterThan, ">"},
        {CMultiFilterRecordset::GreaterOrEqual, ">="}, {CMultiFilterRecordset::Like, "LIKE"}};
    for (const auto& [op, text] : ops) {
        CSQLStatement st(nullptr);
        st.AddToSelect(L"EVENTS", L"SERIALNUM");
        st.AddToWhere(L"EVENTS_VIDEO", L"CAMERAID", -7L, op);
        EXPECT_EQ(U8(st.FormatSelect()),
            std::string("SELECT EVENTS.SERIALNUM FROM EVENTS, EVENTS_VIDEO WHERE EVENTS_VIDEO.CAMERAID ") + text + " -7");
        // Two tables: there is no single-table delete of them.
        EXPECT_TRUE(ThrowsInvalidArg([&] { st.FormatDelete(); }));
    }
    CSQLStatement nulls(nullptr);
    nulls.AddToSelect(nullptr, L"ID");
    nulls.AddToWhere(nullptr, L"A", CMultiFilterRecordset::IsNull);
    EXPECT_EQ(U8(nulls.FormatWhere()), "A IS NULL");
    EXPECT_TRUE(ThrowsInvalidArg([&] { nulls.FormatSelect(); })); // no table named
}

TEST(SqlStatement, TextLiteralsAreQuotedPerEngine)
{
    RecordingDatabase sqlServer(ZynEngineSqlServer);
    CSQLStatement st(&sqlServer);
    st.AddToSelect(L"VISIT_EVENT", L"NAME");
    st.AddToWhere(L"VISIT_EVENT", L"NAME", L"O'Brien'; DROP TABLE VISIT; --", CMultiFilterRecordset::Equal);
    EXPECT_EQ(U8(st.FormatWhere()), "VISIT_EVENT.NAME = N'O''Brien''; DROP TABLE VISIT; --'");

    RecordingDatabase oracle(ZynEngineOracle);
    CSQLStatement o(&oracle);
    o.AddToSelect(L"VISIT_EVENT", L"NAME");
    o.AddToWhere(L"VISIT_EVENT", L"NAME", L"\U0001F600'", CMultiFilterRecordset::Equal);
    EXPECT_EQ(U8(o.FormatWhere()), "VISIT_EVENT.NAME = '\xF0\x9F\x98\x80'''");
}

TEST(SqlStatement, SqliteTextBeyondAsciiTravelsAsCodePoints)
{
    // The SQLite driver narrows statement text to bytes: ASCII stays quoted, anything
    // beyond goes as char() of the code points.
    EXPECT_EQ(U8(CSQLStatement::TextLiteral(ZynEngineSQLite, L"it's")), "'it''s'");
    EXPECT_EQ(U8(CSQLStatement::TextLiteral(ZynEngineSQLite, L"caf\u00E9 \U0001F600")),
        "(char(99,97,102,233,32,128512))");
    const CString longText(std::wstring(150, L'\u00E9').c_str());
    const std::string lit = U8(CSQLStatement::TextLiteral(ZynEngineSQLite, longText));
    EXPECT_NE(lit.find(") || char("), std::string::npos) << "at most 100 characters per call";
    EXPECT_EQ(U8(CSQLStatement::TextLiteral(ZynEngineSqlServer, L"\u00E9")), "N'\xC3\xA9'");
}

TEST(SqlStatement, BadNamesOperatorsAndDatesAreRefused)
{
    CSQLStatement st(nullptr);
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.FormatSelect(); })); // nothing selected
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToSelect(L"VISIT; DROP TABLE VISIT", L"ID"); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToSelect(L"VISIT", L"ID)--"); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToSelect(L"VISIT", nullptr); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"ID", 1L, CMultiFilterRecordset::IsNull); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"ID", CMultiFilterRecordset::Equal); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"ID", 1L, static_cast<Op>(42)); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"ID", 1L, CMultiFilterRecordset::Equal, 2); }));
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"TIMEIN", invalid, CMultiFilterRecordset::Equal); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddToWhere(L"VISIT", L"TIMEIN", kCutoff, CMultiFilterRecordset::Equal, 0, 8); }));
    CSQLStatement two(nullptr);
    two.AddToSelect(L"VISIT", L"A");
    two.AddToSelect(L"VISIT", L"B");
    EXPECT_TRUE(ThrowsInvalidArg([&] { st.AddWhereValuesInSubquery(L"VISIT", L"ID", two); }));
    // Nothing of the refused calls was kept.
    EXPECT_TRUE(st.IsEmpty());
}

TEST(SqlStatement, DateOnlyComparesWithMidnight)
{
    RecordingDatabase db(ZynEngineSQLite);
    CSQLStatement st(&db);
    st.AddToSelect(L"VISIT", L"VISITID");
    st.AddToWhere(L"VISIT", L"LASTCHANGED_UTC", kCutoff, CMultiFilterRecordset::LessThan, 0, CSQLStatement::WhereDateOnly);
    EXPECT_EQ(U8(st.FormatWhere()), "VISIT.LASTCHANGED_UTC < '2008-07-05 00:00:00'");
}

TEST(SqlStatement, FormatTimestampForms)
{
    TIMESTAMP_STRUCT ts{2036, 12, 31, 23, 59, 58, 123456789};
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineSQLite, ts)), "'2036-12-31 23:59:58.123456789'");
    ts.fraction = 120000000;
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineSQLite, ts)), "'2036-12-31 23:59:58.120'");
    ts.fraction = 123456789;
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineDB2, ts)), "TIMESTAMP('2036-12-31 23:59:58.123456')");
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineOracle, ts)),
        "TO_DATE('2036-12-31 23:59:58', 'YYYY-MM-DD HH24:MI:SS')");

    // Invalid values give NULL, never a malformed literal.
    for (TIMESTAMP_STRUCT bad : {TIMESTAMP_STRUCT{}, TIMESTAMP_STRUCT{2009, 2, 29, 0, 0, 0, 0},
             TIMESTAMP_STRUCT{2008, 13, 1, 0, 0, 0, 0}, TIMESTAMP_STRUCT{2008, 1, 1, 24, 0, 0, 0}})
        EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineSQLite, bad)), "NULL");
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(ZynEngineSQLite, TIMESTAMP_STRUCT{2008, 2, 29, 0, 0, 0, 0})),
        "'2008-02-29 00:00:00'");

    RecordingDatabase pg(ZynEnginePostgreSQL);
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(&pg, null)), "NULL");
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(&pg, kCutoff)), "TIMESTAMP '2008-07-05 15:04:05.000'");
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(&pg, CTime(2008, 7, 5, 15, 4, 5))), "TIMESTAMP '2008-07-05 15:04:05.000'");
    EXPECT_EQ(U8(CSQLStatement::FormatTimestamp(static_cast<const CZynDatabase*>(nullptr), kCutoff)),
        "{ts '2008-07-05 15:04:05.000'}");
}

TEST(SqlStatement, FixupTextDoublesQuotes)
{
    EXPECT_EQ(U8(CSQLStatement::FixupText(L"")), "");
    EXPECT_EQ(U8(CSQLStatement::FixupText(nullptr)), "");
    EXPECT_EQ(U8(CSQLStatement::FixupText(L"'")), "''");
    EXPECT_EQ(U8(CSQLStatement::FixupText(L"a''b'")), "a''''b''");
    EXPECT_EQ(U8(CSQLStatement::FixupText(L"back\\slash \"dq\"")), "back\\slash \"dq\"");
}

// The history insert of the alarm-acknowledgement set on Oracle names the ID column and
// takes it from the table's sequence; brackets become the engine's quotes on the way.
TEST(SqlStatement, OracleSequenceInsertOnRecordingDatabase)
{
    RecordingDatabase oracle(ZynEngineOracle);
    TIMESTAMP_STRUCT ts{2009, 1, 1, 8, 30, 0, 0};
    CString values;
    values.Format(L"%d, %ld, %ld, %s, %d, '%s', ALARM_ACK_HISTORY_RESTORED_SEQ.nextval", 3, 77L, 9L,
        CSQLStatement::FormatTimestamp(&oracle, ts).GetString(), 2, CSQLStatement::FixupText(L"it's done").GetString());
    CString sql;
    sql.Format(L"INSERT INTO %s (%s) VALUES(%s)", L"[ALARM_ACK_HISTORY_RESTORED]",
        L"PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE, ALARM_ACK_HISTORYID", values.GetString());
    oracle.ExecuteSQL(sql, false);
    EXPECT_EQ(U8(oracle.m_statements.at(0)),
        "INSERT INTO \"ALARM_ACK_HISTORY_RESTORED\" (PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE, "
        "ALARM_ACK_HISTORYID) VALUES(3, 77, 9, TO_DATE('2009-01-01 08:30:00', 'YYYY-MM-DD HH24:MI:SS'), 2, 'it''s "
        "done', ALARM_ACK_HISTORY_RESTORED_SEQ.nextval)");
}

TEST(ZynDatabaseType, EngineNamesOfDrivers)
{
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"SQLite"), ZynEngineSQLite);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"PostgreSQL"), ZynEnginePostgreSQL);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"Microsoft SQL Server"), ZynEngineSqlServer);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"Oracle"), ZynEngineOracle);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"DB2/LINUXX8664"), ZynEngineDB2);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L"MySQL"), ZynEngineUnknown);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(L""), ZynEngineUnknown);
    EXPECT_EQ(CZynDatabase::EngineTypeFromDBMSName(nullptr), ZynEngineUnknown);
    // The codes the record sets test.
    EXPECT_EQ(static_cast<int>(ZynEngineSqlServer), 1);
    EXPECT_EQ(static_cast<int>(ZynEngineRepository), 2);
    EXPECT_EQ(static_cast<int>(ZynEngineOracle), 3);
    EXPECT_EQ(static_cast<int>(ZynEngineDB2), 4);
}

} // namespace
