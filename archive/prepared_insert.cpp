#include "archive/prepared_insert.h"

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/odbc_driver.h"
#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"

namespace zyn::archive {

namespace odbc = zyn::afx::odbc;

namespace {

// A driver failure as the database classes report it.
[[noreturn]] void ThrowDatabaseError(const odbc::Error& err)
{
    auto* e = new CDBException(err.retCode);
    for (const odbc::Diagnostic& r : err.records) {
        if (!e->m_strError.IsEmpty())
            e->m_strError += L"\n";
        e->m_strError += CString(r.message.c_str());
        CString line;
        line.Format(L"State:%S,Native:%d\n", r.state.c_str(), static_cast<int>(r.native));
        e->m_strStateNativeOrigin += line;
    }
    if (!err.records.empty()) {
        e->m_strSQLState = CString(std::wstring(err.records.front().state.begin(), err.records.front().state.end()).c_str());
        e->m_nNativeError = err.records.front().native;
    }
    if (e->m_strError.IsEmpty())
        e->m_strError = CString(std::wstring(err.function.begin(), err.function.end()).c_str()) +
                        L" failed without a diagnostic.";
    e->SetDetail(e->m_strError);
    throw e;
}

template <typename F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (const odbc::Error& err) {
        ThrowDatabaseError(err);
    }
}

} // namespace

void RunDriverCall(const std::function<void()>& f)
{
    Guarded(f);
}

PreparedInsert::PreparedInsert(CDatabase& db, LPCWSTR lpszTable, const std::vector<LPCWSTR>& columns)
    : m_nColumns(columns.size())
{
    if (!zyn::db::IsPlainIdentifier(lpszTable) || columns.empty())
        AfxThrowInvalidArgException(L"A prepared insert needs a plain table name and columns.");
    if (!db.IsOpen() || !db.GetOdbcConnection())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"A prepared insert needs an open database.");
    CString sql = L"INSERT INTO ";
    sql += lpszTable;
    sql += L" (";
    CString values;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (!zyn::db::IsPlainIdentifier(columns[i]))
            AfxThrowInvalidArgException(L"A prepared insert's columns must be plain names.");
        sql += i ? L", " : L"";
        sql += columns[i];
        values += i ? L", ?" : L"?";
    }
    sql += L") VALUES (" + values + L")";
    Guarded([&] {
        m_statement = std::make_unique<odbc::Statement>(*db.GetOdbcConnection());
        if (db.GetQueryTimeout())
            m_statement->SetQueryTimeout(db.GetQueryTimeout());
        m_statement->Prepare(sql.Str());
    });
}

PreparedInsert::~PreparedInsert() = default;

odbc::Param& PreparedInsert::Next(int kind)
{
    // The statement's own parameter list, kept from row to row, so that a row allocates
    // nothing (a text reuses the storage of the one before it).
    std::vector<odbc::Param>& params = m_statement->Params();
    if (m_nNext >= params.size())
        params.emplace_back();
    odbc::Param& p = params[m_nNext++];
    p.kind = static_cast<odbc::Kind>(kind);
    p.direction = odbc::Direction::Input;
    return p;
}

void PreparedInsert::Int(int32_t value)
{
    Next(static_cast<int>(odbc::Kind::Int32)).value = value;
}

void PreparedInsert::BigInt(int64_t value)
{
    Next(static_cast<int>(odbc::Kind::Int64)).value = value;
}

void PreparedInsert::Text(const CString& value)
{
    odbc::Param& p = Next(static_cast<int>(odbc::Kind::Text));
    if (auto* text = std::get_if<std::wstring>(&p.value))
        text->assign(value.Str());
    else
        p.value = value.Str();
}

void PreparedInsert::Time(const TIMESTAMP_STRUCT& value)
{
    Next(static_cast<int>(odbc::Kind::Timestamp)).value = value;
}

void PreparedInsert::NullInt()
{
    Next(static_cast<int>(odbc::Kind::Int32)).value = odbc::Null{};
}

void PreparedInsert::NullTime()
{
    Next(static_cast<int>(odbc::Kind::Timestamp)).value = odbc::Null{};
}

void PreparedInsert::Execute()
{
    const size_t given = m_nNext;
    m_nNext = 0;
    if (given != m_nColumns)
        AfxThrowInvalidArgException(L"A prepared insert was given another number of values than it has columns.");
    Guarded([&] { m_statement->Execute(); });
}

} // namespace zyn::archive
