// CDatabase on SQLite and PostgreSQL: opening, statements, errors, transactions,
// identifier quoting and catalogue look-ups.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <thread>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"
#include "tests/db/db_test_util.h"

using namespace zyn::test;
using zyn::afx::DbEngine;
using zyn::afx::DbValue;

namespace {

class DatabaseTest : public OdbcTest {};

int64_t Count(CDatabase& db, const wchar_t* sql)
{
    int64_t n = -1;
    EXPECT_TRUE(db.QueryInt64(sql, {}, n));
    return n;
}

TEST_P(DatabaseTest, OpensThroughDsnAndConnectionString)
{
    EXPECT_TRUE(Db().IsOpen());
    EXPECT_EQ(Db().GetEngine(), IsPostgres() ? DbEngine::postgresql : DbEngine::sqlite);
    EXPECT_FALSE(Db().GetDriverName().IsEmpty());
    EXPECT_EQ(Db().GetConnect().Left(5), CString(L"ODBC;"));

    CDatabase direct;
    ZYN_DB_OK(direct.OpenEx(OdbcSetup::Instance().DriverConnectString(Engine()).c_str()));
    EXPECT_EQ(direct.GetEngine(), Db().GetEngine());
    // Both connections see the same database.
    Exec(L"CREATE TABLE T_SHARED (A INTEGER)");
    Exec(L"INSERT INTO T_SHARED VALUES (42)");
    EXPECT_EQ(Count(direct, L"SELECT A FROM T_SHARED"), 42);
    direct.Close();
    EXPECT_FALSE(direct.IsOpen());
}

TEST_P(DatabaseTest, AddsStreamingAndConcurrencyOptions)
{
    const CString cs = Db().GetConnect();
    if (IsPostgres()) {
        EXPECT_NE(cs.Find(L"UseDeclareFetch=1"), -1) << zyn::base::ToUtf8(cs.GetString());
        EXPECT_NE(cs.Find(L"MaxLongVarcharSize="), -1);
    } else {
        DbValue mode;
        ASSERT_TRUE(Db().QueryValue(L"PRAGMA journal_mode", {}, mode));
        ASSERT_TRUE(std::holds_alternative<CString>(mode));
        EXPECT_EQ(std::get<CString>(mode).CompareNoCase(L"wal"), 0);
    }
}

TEST_P(DatabaseTest, ExecuteSqlErrorsCarrySqlState)
{
    auto f = CatchDb([&] { Db().ExecuteSQL(L"SELECT * FROM NO_SUCH_TABLE"); });
    ASSERT_TRUE(f.thrown);
    EXPECT_EQ(f.code, SQL_ERROR);
    EXPECT_EQ(f.state.size(), 5u);
    if (IsPostgres()) {
        EXPECT_EQ(f.state, "42P01");
    }
    std::string lower = f.message;
    for (auto& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("no_such_table"), std::string::npos) << f.message;

    Exec(L"CREATE TABLE T_KEY (ID INTEGER NOT NULL PRIMARY KEY)");
    Exec(L"INSERT INTO T_KEY VALUES (1)");
    auto dup = CatchDb([&] { Db().ExecuteSQL(L"INSERT INTO T_KEY VALUES (1)"); });
    ASSERT_TRUE(dup.thrown);
    if (IsPostgres()) {
        EXPECT_EQ(dup.state, "23505");
    }
    EXPECT_FALSE(dup.message.empty());

    // The class library's own refusals carry their code and no SQLSTATE.
    auto empty = CatchDb([&] { Db().ExecuteSQL(L""); });
    ASSERT_TRUE(empty.thrown);
    EXPECT_EQ(empty.code, AFX_SQL_ERROR_INCORRECT_ODBC);
}

TEST_P(DatabaseTest, OpenFailureThrowsWithDriverText)
{
    CDatabase db;
    auto f = CatchDb([&] { db.OpenEx(L"ODBC;DSN=NO_SUCH_DSN_ANYWHERE;"); });
    ASSERT_TRUE(f.thrown);
    EXPECT_EQ(f.state, "IM002");
    EXPECT_FALSE(db.IsOpen());
    auto none = CatchDb([&] { db.OpenEx(L"ODBC;"); });
    ASSERT_TRUE(none.thrown);
    EXPECT_EQ(none.code, AFX_SQL_ERROR_CONNECT_FAIL);
}

TEST_P(DatabaseTest, TransactionsCommitAndRollBack)
{
    Exec(L"CREATE TABLE T_TX (A INTEGER)");
    ASSERT_TRUE(Db().CanTransact());
    ASSERT_TRUE(Db().BeginTrans());
    EXPECT_FALSE(Db().BeginTrans()) << "a second BeginTrans while one is pending";
    Exec(L"INSERT INTO T_TX VALUES (1)");
    ASSERT_TRUE(Db().Rollback());
    EXPECT_EQ(Count(Db(), L"SELECT COUNT(*) FROM T_TX"), 0);

    ASSERT_TRUE(Db().BeginTrans());
    Exec(L"INSERT INTO T_TX VALUES (2)");
    ASSERT_TRUE(Db().CommitTrans());
    EXPECT_FALSE(Db().CommitTrans()) << "nothing pending";
    EXPECT_EQ(Count(Db(), L"SELECT COUNT(*) FROM T_TX"), 1);

    // Autocommit again: a second connection sees the next insert at once.
    Exec(L"INSERT INTO T_TX VALUES (3)");
    CDatabase other;
    ZYN_DB_OK(other.OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str()));
    EXPECT_EQ(Count(other, L"SELECT COUNT(*) FROM T_TX"), 2);

    // Closing with a pending transaction rolls it back.
    ASSERT_TRUE(Db().BeginTrans());
    Exec(L"INSERT INTO T_TX VALUES (4)");
    ZYN_DB_OK(Db().Close());
    EXPECT_EQ(Count(other, L"SELECT COUNT(*) FROM T_TX"), 2);
}

TEST_P(DatabaseTest, ParametersAreBoundNotSpliced)
{
    Exec(L"CREATE TABLE T_P (ID INTEGER, NAME VARCHAR(100), BIG BIGINT, AT TIMESTAMP)");
    const CString tricky = L"O'Brien; DROP TABLE T_P; --\t\u00e9\U0001F600";
    TIMESTAMP_STRUCT ts{2024, 2, 29, 23, 59, 58, 0};
    std::vector<DbValue> params{int32_t{1}, tricky, int64_t{9007199254740993LL}, ts};
    int64_t rows = 0;
    ZYN_DB_OK(rows = Db().ExecuteSQL(L"INSERT INTO T_P (ID, NAME, BIG, AT) VALUES (?, ?, ?, ?)", params));
    EXPECT_EQ(rows, 1);
    DbValue name, big, at;
    std::vector<DbValue> key{int32_t{1}};
    ASSERT_TRUE(Db().QueryValue(L"SELECT NAME FROM T_P WHERE ID = ?", key, name));
    EXPECT_EQ(std::get<CString>(name), tricky);
    ASSERT_TRUE(Db().QueryValue(L"SELECT BIG FROM T_P WHERE ID = ?", key, big));
    EXPECT_EQ(std::get<int64_t>(big), 9007199254740993LL);
    ASSERT_TRUE(Db().QueryValue(L"SELECT AT FROM T_P WHERE ID = ?", key, at));
    ASSERT_TRUE(std::holds_alternative<TIMESTAMP_STRUCT>(at));
    EXPECT_EQ(std::get<TIMESTAMP_STRUCT>(at).day, 29);
    EXPECT_EQ(std::get<TIMESTAMP_STRUCT>(at).second, 58);
    // A NULL parameter.
    std::vector<DbValue> withNull{int32_t{2}, DbValue{}};
    ZYN_DB_OK(Db().ExecuteSQL(L"INSERT INTO T_P (ID, NAME) VALUES (?, ?)", withNull));
    EXPECT_EQ(Count(Db(), L"SELECT COUNT(*) FROM T_P WHERE NAME IS NULL"), 1);
    EXPECT_EQ(Db().GetRowsAffected(), 1);
    ZYN_DB_OK(Db().ExecuteSQL(L"UPDATE T_P SET BIG = 5"));
    EXPECT_EQ(Db().GetRowsAffected(), 2);
    // QueryValue gives a computed column as the engine describes it; QueryInt64 as an
    // integer on every engine.
    int64_t n = 0;
    EXPECT_TRUE(Db().QueryInt64(L"SELECT MAX(ID) FROM T_P", {}, n));
    EXPECT_EQ(n, 2);
    EXPECT_FALSE(Db().QueryInt64(L"SELECT MAX(ID) FROM T_P WHERE ID > 10", {}, n)) << "NULL";
    EXPECT_FALSE(Db().QueryInt64(L"SELECT ID FROM T_P WHERE ID > 10", {}, n)) << "no row";
}

TEST_P(DatabaseTest, BracketsBecomeTheEngineQuoting)
{
    Exec(L"CREATE TABLE EVENTS_Q (SERIALNUM INTEGER, NOTE VARCHAR(20))");
    const CString sql = Db().ReplaceBrackets(L"INSERT INTO [EVENTS_Q] ([SERIALNUM], [NOTE]) VALUES (1, '[kept]')");
    if (IsPostgres()) {
        EXPECT_EQ(sql, CString(L"INSERT INTO EVENTS_Q (SERIALNUM, NOTE) VALUES (1, '[kept]')"));
    } else {
        EXPECT_EQ(sql, CString(L"INSERT INTO \"EVENTS_Q\" (\"SERIALNUM\", \"NOTE\") VALUES (1, '[kept]')"));
    }
    Exec(sql);
    DbValue v;
    ASSERT_TRUE(Db().QueryValue(Db().ReplaceBrackets(L"SELECT [NOTE] FROM [EVENTS_Q]"), {}, v));
    EXPECT_EQ(std::get<CString>(v), CString(L"[kept]"));
}

TEST_P(DatabaseTest, CatalogueLookupsFoldNamesAndIgnoreCase)
{
    Exec(L"CREATE TABLE ARCHIVE_CONFIG (TRANS_TYPE INTEGER NOT NULL, DEFAULT_PATH VARCHAR(255), DAYS_OLD INTEGER DEFAULT 30)");
    Exec(L"CREATE TABLE ARCHIVEXCONFIG (OTHER INTEGER)"); // '_' must not match as a wildcard
    EXPECT_TRUE(Db().TableExists(L"ARCHIVE_CONFIG"));
    EXPECT_TRUE(Db().TableExists(L"archive_config"));
    EXPECT_FALSE(Db().TableExists(L"ARCHIVE_CONFIGS"));
    auto tables = Db().GetTables(L"ARCHIVE_CONFIG");
    ASSERT_EQ(tables.size(), 1u);
    if (IsPostgres()) {
        EXPECT_EQ(tables[0].name, CString(L"archive_config")) << "PostgreSQL stores unquoted names in lower case";
    }

    auto cols = Db().GetColumns(L"ARCHIVE_CONFIG");
    ASSERT_EQ(cols.size(), 3u);
    const auto* path = zyn::afx::FindColumn(cols, L"DEFAULT_PATH");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->columnSize, 255);
    EXPECT_EQ(path->sqlType, SQL_WVARCHAR) << "wide text on every engine";
    const auto* type = zyn::afx::FindColumn(cols, L"trans_type");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->sqlType, SQL_INTEGER);
    EXPECT_EQ(type->nullable, SQL_NO_NULLS);
    EXPECT_EQ(type->ordinal, 1);
    const auto* days = zyn::afx::FindColumn(cols, L"Days_Old");
    ASSERT_NE(days, nullptr);
    EXPECT_TRUE(days->hasDefault);
    EXPECT_NE(days->defaultValue.Find(L"30"), -1);

    auto one = Db().GetColumns(L"archive_config", L"DEFAULT_PATH");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(Db().GetColumns(L"NO_SUCH_TABLE").empty());
}

TEST_P(DatabaseTest, ConcurrentWritersWaitInsteadOfFailing)
{
    Exec(L"CREATE TABLE T_LOCK (ID INTEGER, A INTEGER)");
    Exec(L"INSERT INTO T_LOCK VALUES (1, 0)");
    ASSERT_TRUE(Db().BeginTrans());
    Exec(L"UPDATE T_LOCK SET A = A + 1 WHERE ID = 1");
    std::atomic<bool> done{false};
    std::string failure;
    std::thread writer([&] {
        try {
            CDatabase other;
            other.OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str());
            other.ExecuteSQL(L"UPDATE T_LOCK SET A = A + 10 WHERE ID = 1");
            other.Close();
        } catch (CException* e) {
            failure = DescribeDbException(e);
            e->Delete();
        }
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the second writer should wait for the first";
    ASSERT_TRUE(Db().CommitTrans());
    writer.join();
    EXPECT_EQ(failure, "");
    EXPECT_EQ(Count(Db(), L"SELECT A FROM T_LOCK"), 11) << "both updates applied, one after the other";
}

TEST_P(DatabaseTest, ReadThenWriteTransactionSurvivesAConcurrentCommit)
{
    // The purge pattern: select, then delete what was read, in one transaction, while
    // other connections keep writing.
    Exec(L"CREATE TABLE T_PURGE (ID INTEGER)");
    Exec(L"INSERT INTO T_PURGE VALUES (1)");
    Exec(L"INSERT INTO T_PURGE VALUES (2)");
    ASSERT_TRUE(Db().BeginTrans());
    int64_t first = 0;
    ASSERT_TRUE(Db().QueryInt64(L"SELECT MIN(ID) FROM T_PURGE", {}, first));
    std::string failure;
    std::thread writer([&] {
        try {
            CDatabase other;
            other.OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str());
            other.ExecuteSQL(L"INSERT INTO T_PURGE VALUES (3)");
        } catch (CException* e) {
            failure = DescribeDbException(e);
            e->Delete();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<DbValue> p{first};
    ZYN_DB_OK(Db().ExecuteSQL(L"DELETE FROM T_PURGE WHERE ID = ?", p));
    ZYN_DB_OK(Db().CommitTrans());
    writer.join();
    EXPECT_EQ(failure, "");
    EXPECT_EQ(Count(Db(), L"SELECT COUNT(*) FROM T_PURGE"), 2);
    EXPECT_EQ(Count(Db(), L"SELECT MIN(ID) FROM T_PURGE"), 2);
}

TEST_P(DatabaseTest, QueryTimeoutEndsALongStatement)
{
    if (!IsPostgres())
        GTEST_SKIP() << "SQLite has no sleeping statement to time out";
    Db().SetQueryTimeout(1);
    const auto start = std::chrono::steady_clock::now();
    auto f = CatchDb([&] { Db().ExecuteSQL(L"SELECT pg_sleep(20)"); });
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(f.thrown);
    EXPECT_LT(took, std::chrono::seconds(10));
    EXPECT_FALSE(f.state.empty());
    Db().SetQueryTimeout(0);
    ZYN_DB_OK(Db().ExecuteSQL(L"SELECT 1"));
}

ZYN_INSTANTIATE_ENGINES(DatabaseTest);

// The system's fixed data source names resolve through odbc.ini without regard to case.
TEST(OdbcDataSources, SystemNamesResolve)
{
    auto& setup = OdbcSetup::Instance();
    if (!setup.HaveSqlite())
        GTEST_SKIP() << "the SQLite3 ODBC driver was not found";
    setup.ResetDatabase(DbEngineKind::sqlite);
    for (const wchar_t* cs : {L"ODBC;DSN=ORVAN", L"ODBC;DSN=Orvan;", L"ODBC;DSN=orvan;", L"ODBC;DSN=LocalSourceControl"}) {
        CDatabase db;
        ZYN_DB_OK(db.OpenEx(cs, CDatabase::noOdbcDialog));
        EXPECT_EQ(db.GetEngine(), DbEngine::sqlite) << zyn::base::ToUtf8(cs);
    }
    CDatabase db;
    ZYN_DB_OK(db.Open(L"ORVAN", FALSE, TRUE));
    EXPECT_FALSE(db.CanUpdate()) << "opened read-only";
}

} // namespace
