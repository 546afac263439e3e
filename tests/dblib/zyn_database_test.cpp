// CZynDatabase on SQLite and PostgreSQL: engine types, the suite's statements with
// bracketed names, table look-ups with case differences, the duplicate-name check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/database/table_exists.h"
#include "platform/suite/utility/logger.h"
#include "tests/dblib/dblib_fixture.h"

using namespace zyn::test;

namespace {

class ZynDatabaseTest : public ZynDbTest {};

TEST_P(ZynDatabaseTest, EngineTypeComesFromTheDriver)
{
    EXPECT_EQ(ZDb().GetEngineType(), IsPostgres() ? ZynEnginePostgreSQL : ZynEngineSQLite);
    ZDb().Close();
    EXPECT_EQ(ZDb().GetEngineType(), ZynEngineUnknown);
    CZynDatabase viaOpen;
    ZYN_DB_OK(viaOpen.Open(nullptr, FALSE, FALSE, OdbcSetup::Instance().ConnectString(Engine()).c_str()));
    EXPECT_EQ(viaOpen.GetEngineType(), IsPostgres() ? ZynEnginePostgreSQL : ZynEngineSQLite);
}

// Parameters given as a plain array are bound (not taken as the log flag of the
// statement-only form): the rows carry them, the count of rows is returned, a mutable
// array binds too.
TEST_P(ZynDatabaseTest, ParametersInAPlainArrayAreBound)
{
    using zyn::afx::DbValue;
    const DbValue first[] = {int32_t{7}, CString(L"seven")};
    EXPECT_EQ(ZDb().ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM, EVENT_TEXT) VALUES (?, ?)", first), 1);
    DbValue second[] = {int32_t{8}, CString(L"eight")};
    EXPECT_EQ(ZDb().ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM, EVENT_TEXT) VALUES (?, ?)", second), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE SERIALNUM = 7 AND EVENT_TEXT = 'seven'"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE SERIALNUM = 8 AND EVENT_TEXT = 'eight'"), 1);
    const DbValue both[] = {int32_t{7}, int32_t{8}};
    EXPECT_EQ(ZDb().ExecuteSQL(L"DELETE FROM EVENTS WHERE SERIALNUM IN (?, ?)", both), 2);
}

TEST_P(ZynDatabaseTest, SuiteStatementsMapBracketsAndRaiseFailures)
{
    // Bracketed upper-case names reach the folded lower-case tables on PostgreSQL.
    ZYN_DB_OK(ZDb().ExecuteSQL(L"INSERT INTO [EVENTS] ([SERIALNUM], [EVENT_TEXT]) VALUES (1, 'a [b]')", false));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE EVENT_TEXT = 'a [b]'"), 1);

    const std::string logDir = zyn::base::ToUtf8(CLogger::GetLogDir().GetString());
    const std::string log = logDir + "/OrvanError.log";
    std::filesystem::remove(log);
    auto f = CatchDb([&] { ZDb().ExecuteSQL(L"DELETE FROM [NO_SUCH_TABLE]", false); });
    EXPECT_TRUE(f.thrown);
    EXPECT_FALSE(std::filesystem::exists(log)); // not logged when not asked
    f = CatchDb([&] { ZDb().ExecuteSQL(L"DELETE FROM [NO_SUCH_TABLE] WHERE X = 1", true); });
    EXPECT_TRUE(f.thrown);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    // Logged as run: brackets mapped (double quotes on SQLite, none on PostgreSQL).
    const std::string logged = IsPostgres() ? "DELETE FROM NO_SUCH_TABLE WHERE X = 1" : "DELETE FROM \"NO_SUCH_TABLE\" WHERE X = 1";
    EXPECT_NE(text.str().find(logged), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("20020001"), std::string::npos) << text.str();

    try {
        ZDb().ExecuteSQL(L"", false);
        ADD_FAILURE() << "an empty statement ran";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST_P(ZynDatabaseTest, TablesAreFoundWhateverTheCase)
{
    for (LPCWSTR name : {L"EVENTS", L"events", L"Events", L"[EVENTS]", L"EVENTS_LASTSERIALNUM", L"zyn_id_mapping"})
        EXPECT_TRUE(ZynTableExists(&ZDb(), name, 1)) << zyn::base::ToUtf8(name);
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"NO_SUCH_TABLE", 1));
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"EVENT", 1));   // no prefix match
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"EVENTS%", 1)); // no pattern
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"EVENT_", 1));
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"", 1));
    EXPECT_FALSE(ZynTableExists(&ZDb(), nullptr, 1));
    EXPECT_FALSE(ZynTableExists(nullptr, L"EVENTS", 1));

    // Views count only when asked for.
    Exec(L"CREATE VIEW V_OPEN_VISITS AS SELECT VISITID FROM VISIT WHERE TIMEOUT_UTC IS NULL");
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"V_OPEN_VISITS", ZYN_TABLE_TYPE_TABLE));
    EXPECT_TRUE(ZynTableExists(&ZDb(), L"v_open_visits", ZYN_TABLE_TYPE_VIEW));
    EXPECT_TRUE(ZynTableExists(&ZDb(), L"V_OPEN_VISITS", ZYN_TABLE_TYPE_TABLE | ZYN_TABLE_TYPE_VIEW));
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"EVENTS", ZYN_TABLE_TYPE_VIEW));

    // A closed database has no tables.
    ZDb().Close();
    EXPECT_FALSE(ZynTableExists(&ZDb(), L"EVENTS", 1));
}

TEST_P(ZynDatabaseTest, NameExistsComparesWithoutCaseAndTrailingBlanks)
{
    Exec(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, SOURCE_ZYN_DBID) VALUES (1, 'Board Meeting  ', 7)");
    Exec(L"INSERT INTO VISIT_EVENT (VISIT_EVENTID, NAME, SOURCE_ZYN_DBID) VALUES (2, 'O''Brien visit', 8)");
    EXPECT_TRUE(ZDb().NameExists(L"board meeting", L"VISIT_EVENT", L"NAME", nullptr, -9999));
    EXPECT_TRUE(ZDb().NameExists(L"BOARD MEETING ", L"VISIT_EVENT", L"NAME", nullptr, -9999));
    EXPECT_FALSE(ZDb().NameExists(L"board", L"VISIT_EVENT", L"NAME", nullptr, -9999));
    EXPECT_TRUE(ZDb().NameExists(L"o'brien VISIT", L"[VISIT_EVENT]", L"[NAME]", nullptr, -9999));
    EXPECT_FALSE(ZDb().NameExists(L"x' OR '1'='1", L"VISIT_EVENT", L"NAME", nullptr, -9999));
    // Within a segment (a column of the table standing for it).
    EXPECT_TRUE(ZDb().NameExists(L"Board Meeting", L"VISIT_EVENT", L"NAME", L"SOURCE_ZYN_DBID", 7));
    EXPECT_FALSE(ZDb().NameExists(L"Board Meeting", L"VISIT_EVENT", L"NAME", L"SOURCE_ZYN_DBID", 8));

    try {
        ZDb().NameExists(L"x", L"VISIT_EVENT; DROP TABLE VISIT", L"NAME", nullptr, -9999);
        ADD_FAILURE() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    auto f = CatchDb([&] { ZDb().NameExists(L"x", L"NO_SUCH_TABLE", L"NAME", nullptr, -9999); });
    EXPECT_TRUE(f.thrown);
}

ZYN_INSTANTIATE_ENGINES(ZynDatabaseTest);

} // namespace
