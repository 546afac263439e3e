#pragma once
// CDatabase: one ODBC connection (unixODBC's wide API; text crosses as UTF-16).
//
// Open / OpenEx accept the class library's "ODBC;DSN=...;..." form or a bare ODBC
// connection string ("DSN=...", "Driver=...;Database=..."); a data source name resolves
// through the odbc.ini that ODBCINI names. What the connection adds by itself:
// - PostgreSQL (psqlODBC): UseDeclareFetch=1 and Fetch=256, so large selects stream
//   through a server cursor, 256 rows at a time, instead of being buffered whole (a
//   block of rows with 32000-character notes stays within a few megabytes);
//   MaxLongVarcharSize and MaxVarcharSize raised so the sizes the driver reports for
//   text columns do not cut values for code that sizes buffers by them (our own reads
//   take text in pieces, whole, whatever the reported size); the caller's values win.
// - SQLite (SQLite3 ODBC driver): StepAPI=1 (rows are stepped, not materialised per
//   statement), JournalMode=WAL and a busy time-out (Timeout=100000 ms) so concurrent
//   passes wait instead of failing with "database is locked"; the caller's values win.
// Failures raise CDBException (SQLSTATE and the driver's text); Open never prompts.
//
// Identifiers: SQL text of the system writes unquoted upper-case names and may bracket
// them ("[EVENTS]"). ReplaceBrackets maps brackets to the engine's quoting: removed on
// PostgreSQL (a quoted "EVENTS" would not match the folded, lower-case events), the
// driver's identifier quote elsewhere. Catalogue look-ups fold the names they are given
// as the engine folds unquoted names and compare results without regard to case; on
// PostgreSQL they search the current schema (the first of the search path).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/afx/db/dbcatalog.h"
#include "platform/afx/db/dbconst.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/cstring.h"
#include "platform/base/object.h"

class CRecordset;

namespace zyn::afx {
enum class DbEngine { unknown, sqlite, postgresql };
namespace odbc {
class Connection;
}
} // namespace zyn::afx

class CDatabase : public CObject {
    DECLARE_DYNAMIC(CDatabase)
public:
    enum DbOpenOptions {
        openExclusive = 0x0001,   // accepted, not enforced (ODBC has no exclusive open)
        openReadOnly = 0x0002,
        useCursorLib = 0x0004,    // accepted, no effect (no cursor library here)
        noOdbcDialog = 0x0008,    // always the case: we never prompt
        forceOdbcDialog = 0x0010, // refused: there is no dialog
    };

    CDatabase();
    ~CDatabase() override;

    // lpszDSN names a data source (may be null or empty when lpszConnect has one);
    // lpszConnect is "ODBC;" followed by further attributes. Returns TRUE; failures throw.
    virtual BOOL Open(LPCWSTR lpszDSN, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE,
        LPCWSTR lpszConnect = L"ODBC;", BOOL bUseCursorLib = TRUE);
    virtual BOOL OpenEx(LPCWSTR lpszConnectString, DWORD dwOptions = 0);
    // Closes the open record sets of this database, rolls back a pending transaction and
    // disconnects. Safe to call when closed.
    virtual void Close();

    BOOL IsOpen() const;
    // "ODBC;" followed by the connection string the driver completed.
    const CString& GetConnect() const { return m_strConnect; }
    CString GetDatabaseName() const;
    // The driver's file name ("psqlodbcw.so", "libsqlite3odbc.so"), its DBMS name
    // ("PostgreSQL", "SQLite") and the engine we recognised from them.
    CString GetDriverName() const;
    CString GetDBMSName() const;
    zyn::afx::DbEngine GetEngine() const { return m_engine; }

    BOOL CanUpdate() const;
    BOOL CanTransact() const;

    // Runs one statement; failures throw. Any rows it returns are discarded.
    void ExecuteSQL(LPCWSTR lpszSQL);
    // Runs one statement with '?' parameters bound in order; returns the number of rows
    // it affected (-1 when the driver does not tell).
    int64_t ExecuteSQL(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params);
    // Runs a query and stores the first column of its first row; false when it returns
    // no row (out is then NULL). Integers come back as int64_t, text as CString, times
    // as TIMESTAMP_STRUCT, other numbers as double.
    // SQLite describes computed columns (COUNT(*), MAX(x)) as text, so QueryValue gives
    // them as CString there; QueryInt64 asks the driver for an integer whatever the
    // column's type. It returns false when there is no row or the value is NULL.
    bool QueryValue(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params, zyn::afx::DbValue& out);
    bool QueryInt64(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params, int64_t& out);
    // Rows affected by the last ExecuteSQL (-1 when unknown).
    int64_t GetRowsAffected() const { return m_nRowsAffected; }

    // Manual-commit mode until CommitTrans or Rollback; FALSE when the driver cannot
    // transact or a transaction is already pending. Commit and rollback failures throw
    // (a failed commit is rolled back). On SQLite BeginTrans takes the write lock at
    // once (BEGIN IMMEDIATE, waiting up to the busy time-out), so a transaction that
    // reads and then writes cannot fail half-way because another connection committed;
    // other writers wait for it, so keep such transactions short (commit in batches).
    BOOL BeginTrans();
    BOOL CommitTrans();
    BOOL Rollback();
    bool IsInTransaction() const { return m_bTransactionPending; }

    // Seconds; 0 means no limit. The login time-out applies to the next Open; the query
    // time-out to statements created afterwards.
    void SetLoginTimeout(DWORD dwSeconds) { m_dwLoginTimeout = dwSeconds; }
    void SetQueryTimeout(DWORD dwSeconds) { m_dwQueryTimeout = dwSeconds; }
    DWORD GetQueryTimeout() const { return m_dwQueryTimeout; }

    // Brackets around identifiers become the engine's quoting (see above). Text inside
    // single-quoted literals is left alone.
    void ReplaceBrackets(CString& strSQL) const;
    CString ReplaceBrackets(LPCWSTR lpszSQL) const;
    // An identifier as the engine stores it when written unquoted: lower case on
    // PostgreSQL, unchanged elsewhere.
    CString FoldIdentifier(LPCWSTR lpszName) const;

    // Catalogue look-ups (SQLTables / SQLColumns). Names are exact, not patterns ('_'
    // and '%' match themselves); they are folded per engine and results are matched
    // without regard to case. A null table type means tables and views.
    std::vector<zyn::afx::DbTableInfo> GetTables(LPCWSTR lpszTableName = nullptr, LPCWSTR lpszTableType = nullptr);
    std::vector<zyn::afx::DbColumnInfo> GetColumns(LPCWSTR lpszTableName, LPCWSTR lpszColumnName = nullptr);
    bool TableExists(LPCWSTR lpszTableName);

    // The driver-layer connection (std types only; see odbc_driver.h). Null when closed.
    zyn::afx::odbc::Connection* GetOdbcConnection() const { return m_pConnection.get(); }

    // The connection handle (SQLHDBC), opaque to code outside the driver layer.
    HDBC m_hdbc = nullptr;
    // The quote that replaces brackets; 0: brackets are removed.
    WCHAR m_chIDQuote = 0;

protected:
    CString m_strConnect;
    bool m_bTransactionPending = false;
    bool m_bUpdatable = false;
    bool m_bCanTransact = false;
    zyn::afx::DbEngine m_engine = zyn::afx::DbEngine::unknown;
    DWORD m_dwLoginTimeout = 15;
    DWORD m_dwQueryTimeout = 0;
    int64_t m_nRowsAffected = -1;
    // PostgreSQL: the schema unqualified names resolve to, which catalogue look-ups
    // search (a table of the same name in another schema is a different table).
    CString m_strCatalogSchema;

private:
    friend class CRecordset;
    void ThrowIfClosed() const;
    void AttachRecordset(CRecordset* prs);
    void DetachRecordset(CRecordset* prs);

    std::unique_ptr<zyn::afx::odbc::Connection> m_pConnection;
    std::vector<CRecordset*> m_recordsets;
};
