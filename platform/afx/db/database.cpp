#include "platform/afx/db/database.h"

#include <algorithm>

#include "platform/afx/db/db_internal.h"
#include "platform/afx/db/recordset.h"

IMPLEMENT_DYNAMIC(CDatabase, CObject)

using zyn::afx::DbEngine;
using zyn::afx::dbi::Guard;
namespace odbc = zyn::afx::odbc;

namespace {

DbEngine ToEngine(odbc::Engine e)
{
    switch (e) {
    case odbc::Engine::sqlite:
        return DbEngine::sqlite;
    case odbc::Engine::postgresql:
        return DbEngine::postgresql;
    default:
        return DbEngine::unknown;
    }
}

// "ODBC;DSN=x;..." -> "DSN=x;...": the class library's prefix is not part of an ODBC
// connection string.
std::wstring StripOdbcPrefix(const CString& s)
{
    std::wstring r = s.Str();
    size_t i = 0;
    while (i < r.size() && r[i] == L' ')
        ++i;
    if (r.size() - i >= 4) {
        std::wstring head = r.substr(i, 4);
        for (auto& c : head)
            c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        if (head == L"ODBC" && (r.size() == i + 4 || r[i + 4] == L';'))
            i += r.size() == i + 4 ? 4 : 5;
    }
    r = r.substr(i);
    while (!r.empty() && (r.back() == L' '))
        r.pop_back();
    return r;
}

odbc::Param ToParam(const zyn::afx::DbValue& v)
{
    odbc::Param p;
    std::visit(
        [&p](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                p.kind = odbc::Kind::Text;
                p.value = odbc::Null{};
            } else if constexpr (std::is_same_v<T, int32_t>) {
                p.kind = odbc::Kind::Int32;
                p.value = x;
            } else if constexpr (std::is_same_v<T, int64_t>) {
                p.kind = odbc::Kind::Int64;
                p.value = x;
            } else if constexpr (std::is_same_v<T, double>) {
                p.kind = odbc::Kind::Double;
                p.value = x;
            } else if constexpr (std::is_same_v<T, CString>) {
                p.kind = odbc::Kind::Text;
                p.value = x.Str();
            } else if constexpr (std::is_same_v<T, TIMESTAMP_STRUCT>) {
                p.kind = odbc::Kind::Timestamp;
                p.value = x;
            } else {
                p.kind = odbc::Kind::Binary;
                p.value = x;
            }
        },
        v);
    return p;
}

zyn::afx::DbValue FromValue(odbc::Value v)
{
    return std::visit(
        [](auto& x) -> zyn::afx::DbValue {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, odbc::Null>)
                return std::monostate{};
            else if constexpr (std::is_same_v<T, int32_t> || std::is_same_v<T, int64_t>)
                return static_cast<int64_t>(x);
            else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>)
                return static_cast<double>(x);
            else if constexpr (std::is_same_v<T, std::wstring>)
                return CString(std::move(x));
            else if constexpr (std::is_same_v<T, TIMESTAMP_STRUCT>)
                return x;
            else
                return std::move(x);
        },
        v);
}

} // namespace

CDatabase::CDatabase() = default;

CDatabase::~CDatabase()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

BOOL CDatabase::Open(LPCWSTR lpszDSN, BOOL bExclusive, BOOL bReadOnly, LPCWSTR lpszConnect, BOOL bUseCursorLib)
{
    CString connect = lpszConnect ? lpszConnect : L"ODBC;";
    CString rest(StripOdbcPrefix(connect));
    CString full = L"ODBC;";
    if (lpszDSN && *lpszDSN) {
        full += L"DSN=";
        full += lpszDSN;
        full += L";";
    }
    full += rest;
    DWORD options = noOdbcDialog;
    if (bExclusive)
        options |= openExclusive;
    if (bReadOnly)
        options |= openReadOnly;
    if (bUseCursorLib)
        options |= useCursorLib;
    return OpenEx(full, options);
}

BOOL CDatabase::OpenEx(LPCWSTR lpszConnectString, DWORD dwOptions)
{
    if (dwOptions & forceOdbcDialog)
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"The data source dialog is not available.");
    Close();
    const std::wstring cs = StripOdbcPrefix(lpszConnectString ? lpszConnectString : L"");
    if (cs.empty())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"No data source or connection string was given.");
    const bool readOnly = (dwOptions & openReadOnly) != 0;
    Guard([&] {
        auto conn = std::make_unique<odbc::Connection>();
        const odbc::Engine guess = odbc::EngineOfConnectionString(cs);
        conn->Connect(odbc::CompleteConnectionString(cs, guess), readOnly, m_dwLoginTimeout);
        if (guess == odbc::Engine::unknown && conn->GetEngine() != odbc::Engine::unknown) {
            // The engine showed only once connected: connect again with its options.
            const std::wstring completed = odbc::CompleteConnectionString(cs, conn->GetEngine());
            if (completed != cs) {
                conn->Disconnect();
                conn->Connect(completed, readOnly, m_dwLoginTimeout);
            }
        }
        m_engine = ToEngine(conn->GetEngine());
        m_strConnect = L"ODBC;";
        m_strConnect += CString(conn->OutConnectionString());
        m_chIDQuote = 0;
        if (m_engine != DbEngine::postgresql) {
            const std::wstring q = conn->IdentifierQuote();
            if (!q.empty() && q[0] != L' ')
                m_chIDQuote = q[0];
        }
        m_bUpdatable = !readOnly && !conn->DataSourceReadOnly();
        m_bCanTransact = conn->CanTransact();
        m_strCatalogSchema.Empty();
        if (m_engine == DbEngine::postgresql) {
            odbc::Statement st(*conn);
            st.ExecDirect(L"SELECT current_schema()");
            std::wstring schema;
            if (st.Fetch() && st.GetText(1, schema))
                m_strCatalogSchema = CString(std::move(schema));
            st.CloseCursor();
        }
        m_hdbc = conn->Handle();
        m_pConnection = std::move(conn);
    });
    return TRUE;
}

void CDatabase::Close()
{
    // Record sets first: their statements belong to this connection.
    while (!m_recordsets.empty()) {
        CRecordset* prs = m_recordsets.back();
        prs->DetachFromDatabase();
        if (!m_recordsets.empty() && m_recordsets.back() == prs)
            m_recordsets.pop_back();
    }
    if (!m_pConnection)
        return;
    auto conn = std::move(m_pConnection);
    m_hdbc = nullptr;
    const bool pending = m_bTransactionPending;
    m_bTransactionPending = false;
    m_strConnect.Empty();
    m_strCatalogSchema.Empty();
    m_engine = DbEngine::unknown;
    Guard([&] {
        if (pending)
            conn->EndTransaction(false);
        conn->Disconnect();
    });
}

BOOL CDatabase::IsOpen() const { return m_pConnection && m_pConnection->IsConnected(); }

void CDatabase::ThrowIfClosed() const
{
    if (!IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"The database is not open.");
}

CString CDatabase::GetDatabaseName() const
{
    ThrowIfClosed();
    return Guard([&] { return CString(m_pConnection->DatabaseName()); });
}

CString CDatabase::GetDriverName() const
{
    ThrowIfClosed();
    return Guard([&] { return CString(m_pConnection->DriverName()); });
}

CString CDatabase::GetDBMSName() const
{
    ThrowIfClosed();
    return Guard([&] { return CString(m_pConnection->DbmsName()); });
}

BOOL CDatabase::CanUpdate() const { return IsOpen() && m_bUpdatable; }
BOOL CDatabase::CanTransact() const { return IsOpen() && m_bCanTransact; }

void CDatabase::ExecuteSQL(LPCWSTR lpszSQL) { ExecuteSQL(lpszSQL, {}); }

int64_t CDatabase::ExecuteSQL(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params)
{
    ThrowIfClosed();
    if (!lpszSQL || !*lpszSQL)
        AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"ExecuteSQL was given no statement.");
    m_nRowsAffected = -1;
    return Guard([&] {
        odbc::Statement st(*m_pConnection);
        if (m_dwQueryTimeout)
            st.SetQueryTimeout(m_dwQueryTimeout);
        std::vector<odbc::Param> ps;
        ps.reserve(params.size());
        for (const auto& v : params)
            ps.push_back(ToParam(v));
        st.SetParams(std::move(ps));
        const bool data = st.ExecDirect(lpszSQL);
        int64_t rows = data ? st.RowCount() : 0;
        if (data && st.NumResultCols() > 0)
            rows = -1;
        st.CloseCursor();
        m_nRowsAffected = rows;
        return rows;
    });
}

bool CDatabase::QueryValue(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params, zyn::afx::DbValue& out)
{
    ThrowIfClosed();
    out = std::monostate{};
    return Guard([&] {
        odbc::Statement st(*m_pConnection);
        if (m_dwQueryTimeout)
            st.SetQueryTimeout(m_dwQueryTimeout);
        std::vector<odbc::Param> ps;
        for (const auto& v : params)
            ps.push_back(ToParam(v));
        st.SetParams(std::move(ps));
        if (!st.ExecDirect(lpszSQL) || st.NumResultCols() == 0 || !st.Fetch()) {
            st.CloseCursor();
            return false;
        }
        const odbc::ColumnDesc d = st.Describe(1);
        out = FromValue(st.GetValue(1, d.sqlType));
        st.CloseCursor();
        return true;
    });
}

bool CDatabase::QueryInt64(LPCWSTR lpszSQL, std::span<const zyn::afx::DbValue> params, int64_t& out)
{
    ThrowIfClosed();
    return Guard([&] {
        odbc::Statement st(*m_pConnection);
        if (m_dwQueryTimeout)
            st.SetQueryTimeout(m_dwQueryTimeout);
        std::vector<odbc::Param> ps;
        for (const auto& v : params)
            ps.push_back(ToParam(v));
        st.SetParams(std::move(ps));
        bool have = false;
        if (st.ExecDirect(lpszSQL) && st.NumResultCols() > 0 && st.Fetch())
            have = st.GetInt64(1, out);
        st.CloseCursor();
        return have;
    });
}

BOOL CDatabase::BeginTrans()
{
    ThrowIfClosed();
    if (!m_bCanTransact || m_bTransactionPending)
        return FALSE;
    Guard([&] { m_pConnection->BeginTransaction(); });
    m_bTransactionPending = true;
    return TRUE;
}

BOOL CDatabase::CommitTrans()
{
    ThrowIfClosed();
    if (!m_bTransactionPending)
        return FALSE;
    m_bTransactionPending = false;
    try {
        Guard([&] { m_pConnection->EndTransaction(true); });
    } catch (CDBException*) {
        // The commit failed: roll back so nothing stays half-open; the commit's own
        // error is the one reported.
        try {
            Guard([&] { m_pConnection->EndTransaction(false); });
        } catch (CDBException* e2) {
            e2->Delete();
        }
        throw;
    }
    return TRUE;
}

BOOL CDatabase::Rollback()
{
    ThrowIfClosed();
    if (!m_bTransactionPending)
        return FALSE;
    m_bTransactionPending = false;
    Guard([&] { m_pConnection->EndTransaction(false); });
    return TRUE;
}

void CDatabase::ReplaceBrackets(CString& strSQL) const
{
    std::wstring& s = strSQL.Str();
    std::wstring out;
    out.reserve(s.size());
    bool inLiteral = false;
    for (wchar_t c : s) {
        if (inLiteral) {
            out.push_back(c);
            if (c == L'\'')
                inLiteral = false;
            continue;
        }
        if (c == L'\'') {
            inLiteral = true;
            out.push_back(c);
        } else if (c == L'[' || c == L']') {
            if (m_chIDQuote)
                out.push_back(m_chIDQuote);
        } else {
            out.push_back(c);
        }
    }
    s = std::move(out);
}

CString CDatabase::ReplaceBrackets(LPCWSTR lpszSQL) const
{
    CString s = lpszSQL ? lpszSQL : L"";
    ReplaceBrackets(s);
    return s;
}

CString CDatabase::FoldIdentifier(LPCWSTR lpszName) const
{
    CString s = lpszName ? lpszName : L"";
    if (m_engine == DbEngine::postgresql) {
        for (auto& c : s.Str())
            if (c >= L'A' && c <= L'Z')
                c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return s;
}

namespace {

// An exact name as a catalogue pattern: '_' and '%' escaped.
std::wstring AsPattern(const std::wstring& name, const std::wstring& escape)
{
    std::wstring r;
    for (wchar_t c : name) {
        if (c == L'_' || c == L'%' || (!escape.empty() && c == escape[0]))
            r += escape;
        r.push_back(c);
    }
    return r;
}

std::wstring TextOr(odbc::Statement& st, uint16_t col)
{
    std::wstring s;
    if (!st.GetText(col, s))
        s.clear();
    return s;
}

} // namespace

std::vector<zyn::afx::DbTableInfo> CDatabase::GetTables(LPCWSTR lpszTableName, LPCWSTR lpszTableType)
{
    ThrowIfClosed();
    std::vector<zyn::afx::DbTableInfo> out;
    Guard([&] {
        odbc::Statement st(*m_pConnection);
        const std::wstring escape = m_pConnection->SearchPatternEscape();
        std::wstring pattern;
        const std::wstring* pPattern = nullptr;
        if (lpszTableName && *lpszTableName && !escape.empty() && escape[0] != L' ') {
            pattern = AsPattern(FoldIdentifier(lpszTableName).Str(), escape);
            pPattern = &pattern;
        }
        const std::wstring types = lpszTableType && *lpszTableType ? lpszTableType : L"TABLE,VIEW";
        std::wstring schema;
        if (!m_strCatalogSchema.IsEmpty() && !escape.empty() && escape[0] != L' ')
            schema = AsPattern(m_strCatalogSchema.Str(), escape);
        st.Tables(schema.empty() ? nullptr : &schema, pPattern, &types);
        while (st.Fetch()) {
            zyn::afx::DbTableInfo t;
            t.catalog = CString(TextOr(st, 1));
            t.schema = CString(TextOr(st, 2));
            t.name = CString(TextOr(st, 3));
            t.type = CString(TextOr(st, 4));
            if (lpszTableName && *lpszTableName && t.name.CompareNoCase(lpszTableName) != 0)
                continue;
            out.push_back(std::move(t));
        }
        st.CloseCursor();
    });
    return out;
}

std::vector<zyn::afx::DbColumnInfo> CDatabase::GetColumns(LPCWSTR lpszTableName, LPCWSTR lpszColumnName)
{
    ThrowIfClosed();
    if (!lpszTableName || !*lpszTableName)
        AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"GetColumns needs a table name.");
    std::vector<zyn::afx::DbColumnInfo> out;
    Guard([&] {
        odbc::Statement st(*m_pConnection);
        const std::wstring escape = m_pConnection->SearchPatternEscape();
        const bool canEscape = !escape.empty() && escape[0] != L' ';
        std::wstring table = canEscape ? AsPattern(FoldIdentifier(lpszTableName).Str(), escape) : FoldIdentifier(lpszTableName).Str();
        std::wstring column;
        const std::wstring* pColumn = nullptr;
        if (lpszColumnName && *lpszColumnName && canEscape) {
            column = AsPattern(FoldIdentifier(lpszColumnName).Str(), escape);
            pColumn = &column;
        }
        std::wstring schema;
        if (!m_strCatalogSchema.IsEmpty() && canEscape)
            schema = AsPattern(m_strCatalogSchema.Str(), escape);
        st.Columns(schema.empty() ? nullptr : &schema, &table, pColumn);
        const int16_t ncols = st.NumResultCols();
        while (st.Fetch()) {
            zyn::afx::DbColumnInfo c;
            c.table = CString(TextOr(st, 3));
            c.name = CString(TextOr(st, 4));
            int32_t v = 0;
            c.sqlType = st.GetInt32(5, v) ? static_cast<int16_t>(v) : 0;
            if (m_engine == DbEngine::sqlite)
                c.sqlType = odbc::WideTextType(c.sqlType);
            c.typeName = CString(TextOr(st, 6));
            c.columnSize = st.GetInt32(7, v) ? v : 0;
            c.decimalDigits = st.GetInt32(9, v) ? static_cast<int16_t>(v) : 0;
            c.nullable = st.GetInt32(11, v) ? static_cast<int16_t>(v) : SQL_NULLABLE_UNKNOWN;
            if (ncols >= 13) {
                std::wstring def;
                c.hasDefault = st.GetText(13, def);
                c.defaultValue = CString(std::move(def));
            }
            if (ncols >= 17)
                c.ordinal = st.GetInt32(17, v) ? v : 0;
            if (c.table.CompareNoCase(lpszTableName) != 0)
                continue;
            if (lpszColumnName && *lpszColumnName && c.name.CompareNoCase(lpszColumnName) != 0)
                continue;
            out.push_back(std::move(c));
        }
        st.CloseCursor();
    });
    return out;
}

bool CDatabase::TableExists(LPCWSTR lpszTableName) { return !GetTables(lpszTableName).empty(); }

void CDatabase::AttachRecordset(CRecordset* prs)
{
    if (std::find(m_recordsets.begin(), m_recordsets.end(), prs) == m_recordsets.end())
        m_recordsets.push_back(prs);
}

void CDatabase::DetachRecordset(CRecordset* prs) { std::erase(m_recordsets, prs); }

namespace zyn::afx {

const DbTableInfo* FindTable(const std::vector<DbTableInfo>& tables, LPCWSTR name)
{
    for (const auto& t : tables)
        if (name && t.name.CompareNoCase(name) == 0)
            return &t;
    return nullptr;
}

const DbColumnInfo* FindColumn(const std::vector<DbColumnInfo>& columns, LPCWSTR name)
{
    for (const auto& c : columns)
        if (name && c.name.CompareNoCase(name) == 0)
            return &c;
    return nullptr;
}

} // namespace zyn::afx
