#include "archive/restore_batch.h"

#include <cwchar>

#include "archive/prepared_insert.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/odbc_driver.h"
#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"

namespace zyn::archive {

namespace {

void AppendTime(std::wstring& out, const TIMESTAMP_STRUCT& t)
{
    wchar_t buf[32];
    std::swprintf(buf, std::size(buf), L"%04d-%02u-%02u %02u:%02u:%02u", static_cast<int>(t.year),
        static_cast<unsigned>(t.month), static_cast<unsigned>(t.day), static_cast<unsigned>(t.hour),
        static_cast<unsigned>(t.minute), static_cast<unsigned>(t.second));
    out += buf;
}

} // namespace

std::wstring StoredKeyText(std::span<const KeyValue> values)
{
    std::wstring out;
    for (const KeyValue& v : values) {
        if (!out.empty())
            out += L'|';
        if (const auto* i = std::get_if<int64_t>(&v))
            out += std::to_wstring(*i);
        else if (const auto* t = std::get_if<TIMESTAMP_STRUCT>(&v))
            AppendTime(out, *t);
        else
            out += L"NULL";
    }
    return out;
}

RestoreTarget::~RestoreTarget() = default;

DatabaseRestoreTarget::DatabaseRestoreTarget(CZynDatabase& db, LPCWSTR lpszTable, std::vector<KeyColumn> columns)
    : m_db(db), m_strTable(lpszTable), m_columns(std::move(columns))
{
    if (!zyn::db::IsPlainIdentifier(lpszTable) || m_columns.empty())
        AfxThrowInvalidArgException(L"A restore target needs a plain table name and key columns.");
    for (const KeyColumn& c : m_columns) {
        if (!zyn::db::IsPlainIdentifier(c.name))
            AfxThrowInvalidArgException(L"A restore target's key columns must be plain names.");
    }
}

DatabaseRestoreTarget::~DatabaseRestoreTarget()
{
    Abandon();
}

CString DatabaseRestoreTarget::FormatLookup(CZynDatabase& db, LPCWSTR lpszTable, std::span<const KeyColumn> columns,
    std::span<const RowIdentity* const> keys)
{
    // The keys as a VALUES list joined with the table: the planner looks each one up in
    // the key index, and parses a list much faster than as many OR terms. A VALUES
    // list's columns are column1, column2, ... on both engines.
    const bool postgres = db.GetEngineType() == ZynEnginePostgreSQL;
    CString sql = L"SELECT ";
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c)
            sql += L", ";
        sql.AppendFormat(L"T.%s", columns[c].name);
    }
    sql.AppendFormat(L" FROM (VALUES ");
    for (size_t k = 0; k < keys.size(); ++k) {
        sql += k ? L", (" : L"(";
        const std::vector<KeyValue>& values = keys[k]->stored;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c)
                sql += L", ";
            const KeyValue v = c < values.size() ? values[c] : KeyValue{};
            if (const auto* i = std::get_if<int64_t>(&v))
                sql.AppendFormat(L"%I64d", *i);
            else if (const auto* t = std::get_if<TIMESTAMP_STRUCT>(&v))
                sql += CSQLStatement::FormatTimestamp(&db, *t);
            else if (postgres && columns[c].kind == KeyKind::Time)
                sql += L"CAST(NULL AS TIMESTAMP)"; // a column of NULLs alone would be text
            else
                sql += L"NULL";
        }
        sql += L")";
    }
    sql.AppendFormat(L") K JOIN %s T ON ", lpszTable);
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c)
            sql += L" AND ";
        const LPCWSTR name = columns[c].name;
        const int n = static_cast<int>(c + 1);
        if (columns[c].kind == KeyKind::Time)
            sql.AppendFormat(L"(T.%s = K.column%d OR (T.%s IS NULL AND K.column%d IS NULL))", name, n, name, n);
        else
            sql.AppendFormat(L"T.%s = K.column%d", name, n);
    }
    return sql;
}

void DatabaseRestoreTarget::FindStored(std::span<const RowIdentity* const> keys, std::vector<char>& found)
{
    found.assign(keys.size(), 0);
    if (keys.empty())
        return;
    std::unordered_set<std::wstring> present;
    if (!m_db.IsOpen() || !m_db.GetOdbcConnection())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"A restore's key look-up needs an open database.");
    // One statement run directly and read column by column: a record set would prepare
    // it, bind and copy every field, for a query run once per batch.
    RunDriverCall([&] {
        zyn::afx::odbc::Statement lookup(*m_db.GetOdbcConnection());
        if (m_db.GetQueryTimeout())
            lookup.SetQueryTimeout(m_db.GetQueryTimeout());
        lookup.ExecDirect(FormatLookup(m_db, m_strTable, m_columns, keys).Str());
        std::vector<KeyValue> values(m_columns.size());
        while (lookup.Fetch()) {
            for (size_t c = 0; c < m_columns.size(); ++c) {
                const auto column = static_cast<uint16_t>(c + 1);
                values[c] = std::monostate{};
                if (m_columns[c].kind == KeyKind::Integer) {
                    int64_t v = 0;
                    if (lookup.GetInt64(column, v))
                        values[c] = v;
                } else {
                    TIMESTAMP_STRUCT t{};
                    if (lookup.GetTimestamp(column, t)) {
                        t.fraction = 0;
                        values[c] = t;
                    }
                }
            }
            present.insert(StoredKeyText(values));
        }
        lookup.CloseCursor();
    });
    if (present.empty())
        return;
    for (size_t k = 0; k < keys.size(); ++k)
        found[k] = present.count(StoredKeyText(keys[k]->stored)) ? 1 : 0;
}

void DatabaseRestoreTarget::Begin()
{
    if (m_bBegun)
        return;
    m_bBegun = true;
    m_bOwnTransaction = !m_db.IsInTransaction() && m_db.CanTransact() && m_db.BeginTrans();
}

void DatabaseRestoreTarget::Commit()
{
    const bool own = m_bOwnTransaction;
    m_bBegun = false;
    m_bOwnTransaction = false;
    if (own)
        m_db.CommitTrans();
}

void DatabaseRestoreTarget::Abandon() noexcept
{
    const bool own = m_bOwnTransaction;
    m_bBegun = false;
    m_bOwnTransaction = false;
    if (!own || !m_db.IsInTransaction())
        return;
    try {
        m_db.CommitTrans();
    } catch (CException* e) {
        CLogger::LogError(CResult::DatabaseError, L"Archive", __LINE__,
            L"The rows of an interrupted restore's last batch could not be committed.", e);
        e->Delete();
    } catch (...) {
        CLogger::LogError(CResult::DatabaseError, L"Archive", __LINE__,
            L"The rows of an interrupted restore's last batch could not be committed.");
    }
}

bool DatabaseRestoreTarget::IsRowRefusal(CException* e) const
{
    const auto* db = dynamic_cast<CDBException*>(e);
    if (!db)
        return false;
    // Data exceptions and integrity violations: the row, not the connection.
    const CString& state = db->GetSQLState();
    if (state.GetLength() == 5 && (state.Left(2) == L"22" || state.Left(2) == L"23"))
        return true;
    // The SQLite driver reports its own codes under HY000: constraint (19), type
    // mismatch (20), value too big (18), parameter out of range (25); each ends only
    // the statement. Other codes (full disk, I/O) may end the transaction.
    if (m_db.GetEngine() == zyn::afx::DbEngine::sqlite) {
        switch (db->GetNativeError() & 0xFF) {
        case 18:
        case 19:
        case 20:
        case 25:
            return true;
        default:
            return false;
        }
    }
    return false;
}

bool RowInserter::Try(LONG nLine, const std::function<void()>& insert)
{
    try {
        insert();
        return true;
    } catch (CException* e) {
        if (!m_target.IsRowRefusal(e))
            throw;
        CString reason = L"the database refused the row: " + e->GetMessageText();
        reason.Replace(L"\n", L" ");
        reason.Replace(L"\r", L"");
        e->Delete();
        m_run.SkipLine(nLine, reason.GetString());
        return false;
    }
}

} // namespace zyn::archive
