// The schema files on both engines, the script splitter, and creating a database file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/database/schema_loader.h"
#include "tests/dblib/dblib_fixture.h"
#include "tests/support/testenv.h"

using namespace zyn::test;

namespace {

std::string U8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }

class SchemaTest : public ZynDbTest {};

// Every table and column the archive sets, the serial numbers, the mapping, the counters
// and the audit records use.
const std::map<std::string, std::vector<std::string>>& ExpectedTables()
{
    static const std::map<std::string, std::vector<std::string>> tables{
        {"EVENTS", {"EVTROWID", "SERIALNUM", "EVENTIME", "DEVID", "INPUTDEVID", "EVENTTYPE", "EVENTID", "EVENTDATA",
                       "CARDNUM", "MACHINE", "EMPID", "INPUTARG", "TRIGGER_EVENT", "FUNCLIST", "ASSETID",
                       "EVENT_PARAMID", "CALLED_STATION", "TRANSMITTERID", "TRANSMITTER_INPUTID", "ISSUECODE",
                       "WRKSTATIONID", "EVENT_TEXT", "RECEIVERID", "LINENUM", "AREAID", "USERID", "EVENTCODE",
                       "SEGMENTID", "ZYN_DBID", "AREAAPBID", "ALARMMASKGROUPID", "EVENT_TIME_UTC"}},
        {"EVENTS_LASTSERIALNUM", {"DEVICEID", "SERIALNUM"}},
        {"ALARMSACK", {"USERID", "ACKNOTE", "STATUS", "SALARMID", "SPANELID", "SSERIALNUM", "LPANELID", "LSERIALNUM",
                          "ACKTIME", "IN_PROGRESS_USERID", "IN_PROGRESS_ACKTIME", "FORWARDED_USERID", "SOURCE_STATION",
                          "DESTINATION_STATION", "ACK_TIME_UTC", "IN_PROGRESS_ACKTIME_UTC", "FORWARDED_TIME_UTC"}},
        {"ALARM_ACK_HISTORY",
            {"ALARM_ACK_HISTORYID", "PANELID", "SERIALNUM", "USERID", "ACKTIME_UTC", "ACKSTATUS", "ACKNOTE"}},
        {"VISIT", {"VISITROWID", "VISITID", "EMPID", "VISITORID", "TIMEIN", "TIMEOUT", "TIMEIN_UTC", "TIMEOUT_UTC",
                      "SCHEDULED_TIMEIN", "SCHEDULED_TIMEOUT", "PURPOSE", "LASTCHANGED", "LASTCHANGED_UTC", "TYPE",
                      "VISIT_EVENTID", "VISIT_KEY"}},
        {"VISIT_EVENT", {"VISIT_EVENTID", "NAME", "EMPID", "LAST_CHANGED", "LASTCHANGED_UTC", "SOURCE_ZYN_DBID",
                            "VISIT_EVENT_SIGN_IN_LOCATIONID", "SCHEDULED_TIMEOUT", "SCHEDULED_TIMEIN"}},
        {"EVENTS_VIDEO", {"EVENTVIDEOROWID", "SERIALNUM", "MACHINE", "VIDEOSERVERID", "CAMERAID", "STARTTIME", "ENDTIME",
                             "START_TIME_UTC", "END_TIME_UTC", "ARCHIVELOCATIONID", "ARCHIVEFILE"}},
        {"CONTINUOUS_VIDEO", {"CONTINUOUS_VIDEOID", "VIDEOSERVERID", "CAMERAID", "STARTTIME", "ENDTIME",
                                 "ARCHIVELOCATIONID", "ARCHIVEFILE", "START_TIME_UTC", "END_TIME_UTC"}},
        {"ARCHIVE_CONFIG", {"TRANS_TYPE", "DEST_TYPE", "DAYS_OLD", "DEFAULT_PATH"}},
        {"ARCHIVE_DETAIL", {"AD_TIMESTAMP", "FILEPATH", "AD_WORKSTATION", "DATEFIRST", "DATELAST", "EVENTCOUNT",
                               "AD_USER", "EVENTTYPE", "ID", "VERSION", "DELETE_TIME", "DELETE_USER", "DELETE_NOTE",
                               "ARCHIVE_STATUS"}},
        {"USER_TRANSACTION", {"ID", "TRANS_TIME_UTC", "USERID", "OPERATION", "OBJECT_TYPE", "TRANS_TEXT", "PARAM1",
                                 "PARAM2", "PARAM3"}},
        {"ZYN_ID_MAPPING", {"TABLE_NAME", "COLUMN_NAME", "OLD_ID", "NEW_ID"}},
        {"ZYN_NEXT_ID", {"TABLE_NAME", "COLUMN_NAME", "FILTER_TEXT", "LAST_ID"}},
    };
    return tables;
}

TEST_P(SchemaTest, EveryTableAndItsTwinHasItsColumns)
{
    const std::set<std::string> twins{
        "EVENTS", "ALARMSACK", "ALARM_ACK_HISTORY", "VISIT", "VISIT_EVENT", "EVENTS_VIDEO", "CONTINUOUS_VIDEO"};
    for (const auto& [table, columns] : ExpectedTables()) {
        std::vector<std::string> names{table};
        if (twins.count(table))
            names.push_back(table + "_RESTORED");
        for (const std::string& name : names) {
            const std::wstring w = zyn::base::FromUtf8(name);
            ASSERT_TRUE(ZDb().HasTable(w.c_str())) << name;
            const auto cols = ZDb().GetColumns(w.c_str());
            ASSERT_EQ(cols.size(), columns.size()) << name;
            for (size_t i = 0; i < cols.size(); ++i) {
                CString upper = cols[i].name;
                upper.MakeUpper();
                EXPECT_EQ(U8(upper), columns[i]) << name << " column " << i + 1;
            }
        }
    }
}

TEST_P(SchemaTest, SizesAndKeysAsTheSetsNeedThem)
{
    auto size = [&](LPCWSTR table, LPCWSTR column) {
        for (const auto& c : ZDb().GetColumns(table))
            if (c.name.CompareNoCase(column) == 0)
                return c.columnSize;
        return -1;
    };
    EXPECT_EQ(size(L"ALARMSACK", L"ACKNOTE"), 32000);
    EXPECT_EQ(size(L"ALARM_ACK_HISTORY_RESTORED", L"ACKNOTE"), 32000);
    EXPECT_EQ(size(L"EVENTS", L"EVENT_TEXT"), 2000);
    EXPECT_EQ(size(L"EVENTS", L"EVENTCODE"), 255);
    EXPECT_EQ(size(L"VISIT_RESTORED", L"PURPOSE"), 2000);

    // Live acknowledgements are keyed by panel and serial number; their twin takes any
    // number of restores of the same rows.
    Exec(L"INSERT INTO ALARMSACK (SPANELID, SSERIALNUM) VALUES (1, 2)");
    auto dup = CatchDb([&] { ZDb().ExecuteSQL(L"INSERT INTO ALARMSACK (SPANELID, SSERIALNUM) VALUES (1, 2)"); });
    EXPECT_TRUE(dup.thrown);
    Exec(L"INSERT INTO ALARMSACK_RESTORED (SPANELID, SSERIALNUM) VALUES (1, 2)");
    Exec(L"INSERT INTO ALARMSACK_RESTORED (SPANELID, SSERIALNUM) VALUES (1, 2)");
    // Row IDs are given by the database.
    Exec(L"INSERT INTO EVENTS (SERIALNUM) VALUES (1)");
    Exec(L"INSERT INTO EVENTS (SERIALNUM) VALUES (1)");
    EXPECT_EQ(Count(L"SELECT COUNT(DISTINCT EVTROWID) FROM EVENTS"), 2);
    Exec(L"INSERT INTO ALARM_ACK_HISTORY (PANELID) VALUES (1)");
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARM_ACK_HISTORY WHERE ALARM_ACK_HISTORYID IS NOT NULL"), 1);
    // Over-long text is refused on SQLite as on the larger engines.
    const std::wstring longText(256, L'x');
    std::vector<zyn::afx::DbValue> p{zyn::afx::DbValue(CString(longText))};
    auto tooLong = CatchDb([&] { ZDb().ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM, EVENTCODE) VALUES (9, ?)", p); });
    EXPECT_TRUE(tooLong.thrown);
}

TEST_P(SchemaTest, LoadingTwiceFailsWholeAndChangesNothing)
{
    Exec(L"INSERT INTO EVENTS (SERIALNUM) VALUES (1)");
    auto f = CatchDb([&] { zyn::db::LoadSchema(ZDb()); });
    ASSERT_TRUE(f.thrown);
    EXPECT_NE(f.message.find("statement 1"), std::string::npos) << f.message;
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 1);
}

ZYN_INSTANTIATE_ENGINES(SchemaTest);

TEST(SchemaScript, SplitsAtTheSemicolonsThatEndStatements)
{
    const CString script = L"-- a comment; not a statement\n"
                           L"CREATE TABLE A (X VARCHAR(10) DEFAULT ';');\n"
                           L"/* block; /* nested; */ still; */ INSERT INTO A VALUES ('it''s; ok');\n"
                           L"CREATE FUNCTION F() RETURNS INT LANGUAGE plpgsql AS $$ BEGIN RETURN 1; END $$;\n"
                           L"CREATE FUNCTION G() RETURNS INT AS $body$ SELECT 1; $body$ LANGUAGE sql;\n"
                           L"SELECT \"odd;name\" FROM A WHERE X = $1;\n"
                           L"  ;  -- empty statements and trailing comments drop out\n"
                           L"SELECT 2";
    const auto st = zyn::db::SplitSqlScript(script);
    ASSERT_EQ(st.size(), 6u);
    EXPECT_EQ(U8(st[0]), "-- a comment; not a statement\nCREATE TABLE A (X VARCHAR(10) DEFAULT ';')");
    EXPECT_EQ(U8(st[1]), "/* block; /* nested; */ still; */ INSERT INTO A VALUES ('it''s; ok')");
    EXPECT_EQ(U8(st[2]), "CREATE FUNCTION F() RETURNS INT LANGUAGE plpgsql AS $$ BEGIN RETURN 1; END $$");
    EXPECT_EQ(U8(st[3]), "CREATE FUNCTION G() RETURNS INT AS $body$ SELECT 1; $body$ LANGUAGE sql");
    EXPECT_EQ(U8(st[4]), "SELECT \"odd;name\" FROM A WHERE X = $1");
    EXPECT_EQ(U8(st[5]), "-- empty statements and trailing comments drop out\nSELECT 2");
}

// SQL whitespace is ASCII: a no-break space is text that the database will judge, never
// trimmed into an empty statement.
TEST(SchemaScript, OnlySqlWhitespaceIsTrimmed)
{
    const auto st = zyn::db::SplitSqlScript(L"SELECT 1;\t\t\u00A0;\u00A0SELECT 2\u00A0 ;\v\f ;");
    ASSERT_EQ(st.size(), 3u);
    EXPECT_EQ(st[0], CString(L"SELECT 1"));
    EXPECT_EQ(st[1], CString(L"\u00A0"));
    EXPECT_EQ(st[2], CString(L"\u00A0SELECT 2\u00A0"));
}

TEST(SchemaScript, UnclosedQuotesAndCommentsNameTheirLine)
{
    const std::pair<LPCWSTR, const char*> bad[] = {
        {L"SELECT 1;\nSELECT 'open", "line 2"},
        {L"SELECT 1;\n\n/* open", "line 3"},
        {L"SELECT \"open", "line 1"},
        {L"CREATE FUNCTION F() AS $x$ body $y$;", "line 1"},
    };
    for (const auto& [text, line] : bad) {
        try {
            zyn::db::SplitSqlScript(text);
            ADD_FAILURE() << "accepted: " << zyn::base::ToUtf8(text);
        } catch (CInvalidArgException* e) {
            const std::string msg = U8(e->GetMessageText());
            EXPECT_NE(msg.find(line), std::string::npos) << msg;
            e->Delete();
        }
    }
}

TEST(SchemaScript, SchemaFilesSplitCleanly)
{
    const auto sqlite = zyn::db::SplitSqlScript(zyn::db::ReadScriptFile(zyn::db::SchemaFile(zyn::db::SchemaEngine::SQLite)));
    const auto pg = zyn::db::SplitSqlScript(zyn::db::ReadScriptFile(zyn::db::SchemaFile(zyn::db::SchemaEngine::PostgreSQL)));
    EXPECT_GT(sqlite.size(), 20u);
    // The same tables and indexes, plus the procedure on PostgreSQL.
    EXPECT_EQ(pg.size(), sqlite.size() + 1);
    EXPECT_NE(U8(pg.back()).find("CREATE FUNCTION NEXTSERIALNUM"), std::string::npos);
}

TEST(SchemaScript, MissingAndBadFilesAreReported)
{
    const std::string dir = TempRoot() + "/schema-bad";
    std::filesystem::create_directories(dir);
    const std::wstring missing = zyn::base::FromUtf8(dir + "/missing.sql");
    try {
        zyn::db::ReadScriptFile(missing.c_str());
        ADD_FAILURE() << "read a missing file";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
    const std::string badPath = dir + "/bad.sql";
    std::ofstream(badPath, std::ios::binary) << "SELECT '\xC3\x28';";
    const std::wstring bad = zyn::base::FromUtf8(badPath);
    try {
        zyn::db::ReadScriptFile(bad.c_str());
        ADD_FAILURE() << "read bad UTF-8";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    const std::string bomPath = dir + "/bom.sql";
    std::ofstream(bomPath, std::ios::binary) << "\xEF\xBB\xBFSELECT 1;";
    EXPECT_EQ(U8(zyn::db::ReadScriptFile(zyn::base::FromUtf8(bomPath).c_str())), "SELECT 1;");
}

TEST(SchemaFileDatabase, CreatesAFreshSqliteFileInWalMode)
{
    if (!OdbcSetup::Instance().HaveSqlite())
        GTEST_SKIP() << "the SQLite3 ODBC driver was not found";
    const std::string path = TempRoot() + "/created.db";
    std::filesystem::remove(path);
    const std::wstring w = zyn::base::FromUtf8(path);
    int n = 0;
    ZYN_DB_OK(n = zyn::db::CreateDatabase(w.c_str(), zyn::db::SchemaEngine::SQLite));
    EXPECT_GT(n, 20);

    CZynDatabase db;
    ZYN_DB_OK(db.OpenEx(zyn::db::SqliteConnectString(w.c_str())));
    zyn::afx::DbValue mode;
    ZYN_DB_OK(db.QueryValue(L"PRAGMA journal_mode", {}, mode));
    ASSERT_TRUE(std::holds_alternative<CString>(mode));
    EXPECT_EQ(std::get<CString>(mode).CompareNoCase(L"wal"), 0);
    EXPECT_TRUE(db.HasTable(L"EVENTS_RESTORED"));
    db.ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM) VALUES (1)");
    db.Close();

    // An existing file is left alone unless replacing is asked for.
    try {
        zyn::db::CreateDatabase(w.c_str(), zyn::db::SchemaEngine::SQLite);
        ADD_FAILURE() << "replaced an existing database";
    } catch (CFileException* e) {
        EXPECT_NE(U8(e->GetMessageText()).find("exists already"), std::string::npos);
        e->Delete();
    }
    ZYN_DB_OK(db.OpenEx(zyn::db::SqliteConnectString(w.c_str())));
    int64_t rows = 0;
    ZYN_DB_OK(db.QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, rows));
    EXPECT_EQ(rows, 1);
    db.Close();
    ZYN_DB_OK(zyn::db::CreateDatabase(w.c_str(), zyn::db::SchemaEngine::SQLite, true));
    ZYN_DB_OK(db.OpenEx(zyn::db::SqliteConnectString(w.c_str())));
    ZYN_DB_OK(db.QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, rows));
    EXPECT_EQ(rows, 0);
    db.Close();

    try {
        zyn::db::SqliteConnectString(L"a;Driver=evil");
        ADD_FAILURE() << "accepted a path that breaks the connection string";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

} // namespace
