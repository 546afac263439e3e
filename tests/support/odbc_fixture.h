#pragma once
// The ODBC test fixture shared by the data tests.
//
// Once per test process it writes, under the process's temporary folder, an
// odbcinst.ini naming the SQLite3 and PostgreSQL ODBC drivers by their library paths
// (found at run time) and an odbc.ini with these data sources, and points ODBCSYSINI
// and ODBCINI at them (so the machine's own ODBC configuration plays no part):
//   ZYN_SQLITE          the test's SQLite database file
//   ZYN_PG              the PostgreSQL test database, in a schema private to this process
//   ORVAN, LocalSourceControl
//                       the system's fixed data source names; they point at the engine
//                       chosen with PointSystemDsnsAt (SQLite at first). unixODBC matches
//                       data source names without regard to case, so "Orvan" finds ORVAN.
// PostgreSQL comes from the environment that scripts/pg-start prints: ZYN_PG_HOST,
// ZYN_PG_PORT, ZYN_PG_DB, ZYN_PG_USER (ZYN_PG_PASSWORD optional), or ZYN_PG_DSN
// ("Server=...;Port=...;Database=...;UID=...;PWD=..."). Without them the PostgreSQL
// cases skip with a message saying so.
//
// OdbcTest is a test fixture parametrised by engine: SetUp gives each test a fresh
// database (SQLite: a new file; PostgreSQL: the private schema dropped and created) and
// an open CDatabase on it. Instantiate suites with ZYN_INSTANTIATE_ENGINES(Suite); the
// case names end in "/SQLite" or "/PostgreSQL" (CTest labels db and pg).

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#include "platform/afx/db/database.h"
#include "platform/base/exception.h"

namespace zyn::test {

enum class DbEngineKind { sqlite, postgresql };

class OdbcSetup {
public:
    static OdbcSetup& Instance();

    const std::string& SqliteDriver() const { return m_sqliteDriver; }
    const std::string& PostgresDriver() const { return m_pgDriver; }
    const std::string& SqliteFile() const { return m_sqliteFile; }
    const std::string& OdbcIniPath() const { return m_odbcIni; }
    bool HaveSqlite() const { return !m_sqliteDriver.empty(); }
    bool HavePostgres() const { return m_pgReason.empty(); }
    // Why PostgreSQL cases skip ("" when they run).
    const std::string& PostgresSkipReason() const { return m_pgReason; }
    // The schema this process's PostgreSQL tables live in.
    const std::string& PostgresSchema() const { return m_pgSchema; }

    // "ODBC;DSN=ZYN_SQLITE;" / "ODBC;DSN=ZYN_PG;"
    std::wstring ConnectString(DbEngineKind engine) const;
    // A DSN-less connection string of the engine's test database.
    std::wstring DriverConnectString(DbEngineKind engine) const;
    // Rewrites odbc.ini so that ORVAN and LocalSourceControl name the engine's
    // test database.
    void PointSystemDsnsAt(DbEngineKind engine);
    // A fresh, empty test database of the engine.
    void ResetDatabase(DbEngineKind engine);
    // Removes the test database (OdbcTest does so after each PostgreSQL case).
    void DropDatabase(DbEngineKind engine);

private:
    OdbcSetup();
    void WriteIniFiles();

    std::string m_dir;
    std::string m_sqliteDriver;
    std::string m_pgDriver;
    std::string m_sqliteFile;
    std::string m_odbcIni;
    std::string m_pgReason;
    std::string m_pgHost, m_pgPort, m_pgDb, m_pgUser, m_pgPassword, m_pgSchema;
    DbEngineKind m_system = DbEngineKind::sqlite;
};

class OdbcTest : public ::testing::TestWithParam<DbEngineKind> {
protected:
    void SetUp() override;
    void TearDown() override;

    DbEngineKind Engine() const { return GetParam(); }
    bool IsPostgres() const { return GetParam() == DbEngineKind::postgresql; }
    CDatabase& Db() { return *m_db; }
    // Runs SQL, failing the test (not throwing) with the database's message on error.
    void Exec(const wchar_t* sql);

    std::unique_ptr<CDatabase> m_db;
};

std::string EngineParamName(const ::testing::TestParamInfo<DbEngineKind>& info);

// The process's resident memory in bytes (from /proc/self/statm).
size_t ResidentBytes();
// Bytes of heap in use by the whole process (drivers included): the sanitizer's count
// of live allocations under AddressSanitizer (whose quarantine keeps freed memory
// resident), else the C library's.
size_t LiveHeapBytes();

// The text of a thrown CDBException (SQLSTATE and message), for failure messages.
std::string DescribeDbException(const CException* e);

} // namespace zyn::test

#define ZYN_INSTANTIATE_ENGINES(Suite)                                                              \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                        \
        ::testing::Values(::zyn::test::DbEngineKind::sqlite, ::zyn::test::DbEngineKind::postgresql), \
        ::zyn::test::EngineParamName)
