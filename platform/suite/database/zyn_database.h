#pragma once
// CZynDatabase: the suite's database connection. A CDatabase that knows which engine it
// talks to, runs the suite's own statements with bracketed names mapped to the engine's
// quoting, and answers the catalogue questions the record sets ask.
//
// Engine type codes. 1 to 4 are the codes the suite has always used for the engines of
// larger installations; the record sets branch on them (3: Oracle sequences for history
// IDs, 4: DB2's keyed deletes, 2: the schema repository, which has no serial counters).
// 10 and 11 are ours for the two engines this platform runs on. The type is detected
// from the driver after Open; a test double may set it without a connection.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/cstring.h"

enum ZynEngineType : int {
    ZynEngineUnknown = 0,
    ZynEngineSqlServer = 1,
    ZynEngineRepository = 2,
    ZynEngineOracle = 3,
    ZynEngineDB2 = 4,
    ZynEngineSQLite = 10,
    ZynEnginePostgreSQL = 11,
};

class CZynDatabase : public CDatabase {
    DECLARE_DYNAMIC(CZynDatabase)
public:
    CZynDatabase();
    ~CZynDatabase() override;

    // As CDatabase; afterwards the engine type is known (ZynEngineUnknown for a driver
    // we do not recognise).
    BOOL Open(LPCWSTR lpszDSN, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE, LPCWSTR lpszConnect = L"ODBC;",
        BOOL bUseCursorLib = TRUE) override;
    BOOL OpenEx(LPCWSTR lpszConnectString, DWORD dwOptions = 0) override;
    void Close() override;

    ZynEngineType GetEngineType() const { return m_nEngineType; }
    // The engine type of any open database: a CZynDatabase's own, else from the driver
    // (a record set opened without a database opens a plain CDatabase of its own).
    static ZynEngineType EngineTypeOf(const CDatabase* pDatabase);
    // HasTable of a CZynDatabase, the catalogue of any other open database; false for a
    // null or closed one.
    static bool TableExistsIn(CDatabase* pDatabase, LPCWSTR lpszTable);
    // The engine type a DBMS name stands for ("PostgreSQL", "SQLite", "Microsoft SQL
    // Server", "Oracle", "DB2/LINUXX8664"...); ZynEngineUnknown when none.
    static ZynEngineType EngineTypeFromDBMSName(LPCWSTR lpszDBMSName);

    using CDatabase::ExecuteSQL;
    // Runs one statement of the suite's own text: brackets become the engine's quoting
    // first. A failure raises CDBException; with bLogError it is also written to
    // "OrvanError.log" (with the statement) before it is raised.
    virtual void ExecuteSQL(LPCWSTR lpszSQL, bool bLogError);
    // Parameters in a plain array bind here. Without this form the array would decay to a
    // pointer and reach the form above as bLogError = true: the statement would run
    // without its parameters (failing on its markers, or worse, succeeding without them).
    template <size_t N>
    int64_t ExecuteSQL(LPCWSTR lpszSQL, const zyn::afx::DbValue (&params)[N])
    {
        return CDatabase::ExecuteSQL(lpszSQL, std::span<const zyn::afx::DbValue>(params, N));
    }

    // True when a table (nTypes bit 1) or view (bit 2) of that name exists; the name is
    // folded as the engine folds unquoted names and compared without regard to case.
    virtual bool HasTable(LPCWSTR lpszTable, int nTypes = 1);

    // Duplicate-name check of the configuration pages: true when a row of lpszTable has
    // lpszColumn equal to lpszName, compared without regard to case and trailing blanks;
    // with a segment column, only rows of that segment count. Table and column names
    // must be plain identifiers (letters, digits, '_', optionally bracketed or
    // table-qualified), else CInvalidArgException. Database failures raise CDBException.
    virtual bool NameExists(LPCWSTR lpszName, LPCWSTR lpszTable, LPCWSTR lpszColumn, LPCWSTR lpszSegmentColumn,
        LONG nSegmentID);

protected:
    // For test doubles and hosts that know better than detection.
    void SetEngineType(ZynEngineType type) { m_nEngineType = type; }

private:
    void DetectEngine();

    ZynEngineType m_nEngineType = ZynEngineUnknown;
};
