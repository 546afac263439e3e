#include "platform/afx/db/recordset.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <optional>

#include "platform/afx/db/database.h"
#include "platform/afx/db/db_internal.h"
#include "platform/afx/db/field_kinds.h"
#include "platform/base/afxcoll.h"

IMPLEMENT_DYNAMIC(CRecordset, CObject)

using zyn::afx::FieldRef;
using zyn::afx::dbi::BareColumnName;
using zyn::afx::dbi::Guard;
using zyn::afx::dbi::SameName;
namespace odbc = zyn::afx::odbc;
namespace fields = zyn::afx::fields;

namespace zyn::afx {

// Everything a record set keeps while open; the members of CRecordset are the class
// library's public face.
class RecordsetState {
public:
    struct Field {
        FieldRef ref;
        bool isParam = false;
        bool isNull = false;
        bool dirty = false;
        std::optional<odbc::Value> snap; // value at AddNew / Edit / SetFieldNull
        odbc::Value saved;                // the current row's value, for CancelUpdate
        bool savedNull = false;
        int16_t nullable = SQL_NULLABLE_UNKNOWN;
    };

    std::vector<Field> columns;
    std::vector<Field> params;
    bool bound = false;

    std::unique_ptr<odbc::Statement> select;
    std::vector<odbc::ColumnDesc> resultCols;
    std::vector<odbc::Value> extra; // result columns beyond the bound ones
    std::map<std::wstring, std::unique_ptr<odbc::Statement>> modify;

    CString openSql;  // what Open was given
    bool open = false;
    bool attached = false; // listed by m_pDatabase, which closes the set when it closes
    bool isCall = false;
    bool hasOutput = false;
    bool outputsCopied = false;
    bool direct = false;
    // PostgreSQL calls with output parameters run as a SELECT of the function (see
    // RewriteCallForPostgres); sendParams lists the parameters bound to it, in order,
    // and outputColumns the parameters that take the result row's columns, in order.
    bool selectCall = false;
    std::vector<size_t> sendParams;
    std::vector<size_t> outputColumns;

    LONG current = -1; // 0-based index of the current row
    LONG count = 0;    // rows seen
    bool bof = true;
    bool eof = true;
    bool deleted = false;

    // Statement texts built for this open (cleared by Requery).
    CString insertSql, updateSql, deleteSql;
    std::vector<size_t> insertFields, updateFields;
    CString builtForTable;

    void CheckStatementCache(const CString& table)
    {
        if (builtForTable == table)
            return;
        insertSql.Empty();
        updateSql.Empty();
        deleteSql.Empty();
        insertFields.clear();
        updateFields.clear();
        builtForTable = table;
    }

    std::vector<size_t> keyIndex;
    CString keyError;
    std::vector<odbc::Value> keyValues;
    std::vector<odbc::Param> deleteParams; // Delete's, kept for its storage
};

} // namespace zyn::afx

using zyn::afx::RecordsetState;
using Field = RecordsetState::Field;

namespace {

// A parameter of the member: its kind, direction and value, and for output text and
// bytes the buffer the driver fills.
odbc::Param ToParam(const Field& fld, bool isNull)
{
    const FieldRef& f = fld.ref;
    odbc::Param p;
    p.kind = fields::DriverKind(f.kind);
    switch (f.fieldType) {
    case CFieldExchange::outputParam:
        p.direction = odbc::Direction::Output;
        break;
    case CFieldExchange::inoutParam:
        p.direction = odbc::Direction::InputOutput;
        break;
    default:
        p.direction = odbc::Direction::Input;
        break;
    }
    p.value = p.direction == odbc::Direction::Output ? odbc::Value(odbc::Null{}) : fields::SendValue(f, isNull);
    p.sqlType = f.columnType;
    if (p.direction != odbc::Direction::Input)
        p.columnSize = fields::OutputColumnSize(f);
    return p;
}

std::wstring Trimmed(const std::wstring& s);

// ---- SQL text --------------------------------------------------------------------

bool IsWordChar(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) || c == L'_'; }

bool MatchWordAt(const std::wstring& s, size_t i, const wchar_t* word)
{
    const size_t n = std::wcslen(word);
    if (i + n > s.size())
        return false;
    if (i > 0 && IsWordChar(s[i - 1]))
        return false;
    for (size_t k = 0; k < n; ++k)
        if (std::towupper(static_cast<wint_t>(s[i + k])) != static_cast<wint_t>(word[k]))
            return false;
    return i + n == s.size() || !IsWordChar(s[i + n]);
}

// Position of a keyword (one word, or two separated by blanks: "ORDER BY") at nesting
// depth 0, outside quotes and brackets; npos when absent.
size_t FindTopLevel(const std::wstring& s, const wchar_t* first, const wchar_t* second = nullptr, size_t from = 0)
{
    int depth = 0;
    wchar_t quote = 0;
    for (size_t i = from; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L'[') {
            quote = L']';
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
        } else if (depth == 0 && MatchWordAt(s, i, first)) {
            if (!second)
                return i;
            size_t j = i + std::wcslen(first);
            while (j < s.size() && std::iswspace(static_cast<wint_t>(s[j])))
                ++j;
            if (MatchWordAt(s, j, second))
                return i;
        }
    }
    return std::wstring::npos;
}

std::wstring Trimmed(const std::wstring& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::iswspace(static_cast<wint_t>(s[b])))
        ++b;
    while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// The first table after the top-level FROM of a select ("" when it is a sub-select).
std::wstring FirstTableOfSelect(const std::wstring& s)
{
    size_t from = FindTopLevel(s, L"FROM");
    if (from == std::wstring::npos)
        return {};
    size_t i = from + 4;
    while (i < s.size() && std::iswspace(static_cast<wint_t>(s[i])))
        ++i;
    if (i >= s.size() || s[i] == L'(')
        return {};
    size_t j = i;
    wchar_t quote = 0;
    while (j < s.size()) {
        const wchar_t c = s[j];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'[') {
            quote = L']';
        } else if (c == L'"') {
            quote = L'"';
        } else if (std::iswspace(static_cast<wint_t>(c)) || c == L',' || c == L')' || c == L';') {
            break;
        }
        ++j;
    }
    return s.substr(i, j - i);
}

// The first entry of a table list "[A], [B]".
std::wstring FirstOfList(const std::wstring& s)
{
    wchar_t quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'[') {
            quote = L']';
        } else if (c == L'"') {
            quote = L'"';
        } else if (c == L',') {
            return Trimmed(s.substr(0, i));
        }
    }
    return Trimmed(s);
}

// Adds the filter and the sort to a full select.
std::wstring AddFilterAndSort(std::wstring sql, const std::wstring& filter, const std::wstring& sort)
{
    size_t tail = sql.size();
    for (auto [a, b] : {std::pair<const wchar_t*, const wchar_t*>{L"GROUP", L"BY"}, {L"HAVING", nullptr},
             {L"ORDER", L"BY"}, {L"LIMIT", nullptr}}) {
        const size_t p = FindTopLevel(sql, a, b);
        if (p != std::wstring::npos)
            tail = std::min(tail, p);
    }
    if (!filter.empty()) {
        const size_t where = FindTopLevel(sql, L"WHERE");
        if (where != std::wstring::npos && where < tail) {
            const std::wstring cond = Trimmed(sql.substr(where + 5, tail - where - 5));
            const std::wstring rebuilt = L"WHERE (" + cond + L") AND (" + filter + L") ";
            sql.replace(where, tail - where, rebuilt);
        } else {
            sql.insert(tail, (tail == sql.size() ? L" WHERE " : L"WHERE ") + filter + (tail == sql.size() ? L"" : L" "));
        }
    }
    if (!sort.empty()) {
        const size_t order = FindTopLevel(sql, L"ORDER", L"BY");
        const size_t limit = FindTopLevel(sql, L"LIMIT");
        if (order != std::wstring::npos) {
            const size_t at = limit == std::wstring::npos ? sql.size() : limit;
            std::wstring keys = Trimmed(sql.substr(order, at - order));
            sql.replace(order, at - order, keys + L", " + sort + (at == sql.size() ? L"" : L" "));
        } else if (limit != std::wstring::npos) {
            sql.insert(limit, L"ORDER BY " + sort + L" ");
        } else {
            sql += L" ORDER BY " + sort;
        }
    }
    return sql;
}

// Qualifier and column of a bound name, without brackets or quotes.
std::pair<CString, CString> SplitName(const CString& name)
{
    const CString column = BareColumnName(name);
    const std::wstring& s = name.Str();
    // Everything before the last top-level dot.
    size_t dot = std::wstring::npos;
    wchar_t quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'[') {
            quote = L']';
        } else if (c == L'"') {
            quote = L'"';
        } else if (c == L'.') {
            dot = i;
        }
    }
    CString qualifier = dot == std::wstring::npos ? CString() : BareColumnName(CString(s.substr(0, dot)));
    return {qualifier, column};
}

// Splits "a, f(b, c), ?" at its top-level commas.
std::vector<std::wstring> SplitArguments(const std::wstring& s)
{
    std::vector<std::wstring> out;
    int depth = 0;
    wchar_t quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
        } else if (c == L',' && depth == 0) {
            out.push_back(Trimmed(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    const std::wstring last = Trimmed(s.substr(start));
    if (!last.empty() || !out.empty())
        out.push_back(last);
    return out;
}

size_t CountMarkers(const std::wstring& s)
{
    size_t n = 0;
    wchar_t quote = 0;
    for (wchar_t c : s) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L'?') {
            ++n;
        }
    }
    return n;
}

struct CallRewrite {
    std::wstring sql;
    std::vector<size_t> sendParams;
    std::vector<size_t> outputColumns;
};

// "{? = CALL f(?, ?)}" -> "SELECT f(?, ?)", the return value taking the one column;
// "{CALL f(?, ?, ?)}" with output parameters -> "SELECT * FROM f(<inputs>)", the OUT
// and INOUT parameters taking the columns in order. PostgreSQL returns function
// results, OUT parameters included, as a row; psqlODBC's own translation of the call
// escape fails for some forms (a return value with a single argument).
std::optional<CallRewrite> RewriteCallForPostgres(const std::wstring& call, const std::vector<int16_t>& paramTypes)
{
    std::wstring s = Trimmed(call);
    if (s.size() < 2 || s.front() != L'{' || s.back() != L'}')
        return std::nullopt;
    s = Trimmed(s.substr(1, s.size() - 2));
    bool returnForm = false;
    if (!s.empty() && s[0] == L'?') {
        size_t i = 1;
        while (i < s.size() && std::iswspace(static_cast<wint_t>(s[i])))
            ++i;
        if (i >= s.size() || s[i] != L'=')
            return std::nullopt;
        returnForm = true;
        s = Trimmed(s.substr(i + 1));
    }
    if (!MatchWordAt(s, 0, L"CALL"))
        return std::nullopt;
    s = Trimmed(s.substr(4));
    const size_t open = s.find(L'(');
    std::wstring name = Trimmed(open == std::wstring::npos ? s : s.substr(0, open));
    std::vector<std::wstring> args;
    if (open != std::wstring::npos) {
        const size_t close = s.rfind(L')');
        if (close == std::wstring::npos || close < open || !Trimmed(s.substr(close + 1)).empty())
            return std::nullopt;
        args = SplitArguments(s.substr(open + 1, close - open - 1));
    }
    if (name.empty())
        return std::nullopt;

    CallRewrite r;
    size_t next = 0;
    if (returnForm) {
        if (paramTypes.empty() || paramTypes[0] == CFieldExchange::param)
            return std::nullopt;
        r.outputColumns.push_back(next++);
    }
    std::wstring kept;
    for (const auto& a : args) {
        const size_t markers = CountMarkers(a);
        if (a == L"?") {
            if (next >= paramTypes.size())
                return std::nullopt;
            const size_t k = next++;
            const int16_t t = paramTypes[k];
            if (t == CFieldExchange::outputParam) {
                if (returnForm)
                    return std::nullopt; // a return value and OUT parameters: not one column
                r.outputColumns.push_back(k);
                continue;
            }
            if (t == CFieldExchange::inoutParam) {
                if (returnForm)
                    return std::nullopt;
                r.outputColumns.push_back(k);
            }
            r.sendParams.push_back(k);
        } else {
            for (size_t m = 0; m < markers; ++m) {
                if (next >= paramTypes.size() || paramTypes[next] != CFieldExchange::param)
                    return std::nullopt;
                r.sendParams.push_back(next++);
            }
        }
        if (!kept.empty())
            kept += L", ";
        kept += a;
    }
    if (next != paramTypes.size())
        return std::nullopt;
    r.sql = returnForm ? L"SELECT " + name + L"(" + kept + L")" : L"SELECT * FROM " + name + L"(" + kept + L")";
    return r;
}

} // namespace

// ---- CRecordset ------------------------------------------------------------------

CRecordset::CRecordset(CDatabase* pDatabase) : m_pDatabase(pDatabase), m_pState(std::make_unique<RecordsetState>()) {}

CRecordset::~CRecordset()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

CString CRecordset::GetDefaultConnect() { return L"ODBC;"; }
CString CRecordset::GetDefaultSQL() { return CString(); }
void CRecordset::DoFieldExchange(CFieldExchange*) {}
void CRecordset::DoParamExchange(CFieldExchange*) {}
CString CRecordset::GetKeyColumns() { return m_strKeyColumns; }

namespace zyn::afx {

// The record set's machinery, with access to its protected members.
struct RecordsetOps {
    static void Learn(CRecordset& rs)
    {
        RecordsetState& st = *rs.m_pState;
        CFieldExchange fx(CFieldExchange::BindFieldToColumn, &rs);
        rs.DoFieldExchange(&fx);
        if (fx.m_params.empty()) {
            fx.SetFieldType(CFieldExchange::param);
            rs.DoParamExchange(&fx);
        }
        // SetParamNull marks hold across Requery for parameters still bound.
        std::vector<const void*> nullParams;
        for (const auto& p : st.params)
            if (p.isNull)
                nullParams.push_back(p.ref.value);
        st.columns.clear();
        st.params.clear();
        for (const auto& f : fx.m_columns)
            st.columns.push_back(Field{f, false, false, false, std::nullopt, SQL_NULLABLE_UNKNOWN});
        for (const auto& f : fx.m_params) {
            const bool wasNull = std::find(nullParams.begin(), nullParams.end(), f.value) != nullParams.end();
            st.params.push_back(Field{f, true, wasNull, false, std::nullopt, SQL_NULLABLE_UNKNOWN});
        }
        st.bound = true;
    }
};

} // namespace zyn::afx

BOOL CRecordset::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    if (IsOpen())
        Close();
    if (nOpenType == AFX_DB_USE_DEFAULT_TYPE)
        nOpenType = snapshot;
    if (nOpenType > dynamic)
        AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"Unknown open type.");
    m_nOpenType = nOpenType;
    m_dwOptions = dwOptions;
    m_nEditMode = noMode;

    if (!m_pDatabase) {
        m_pOwnDatabase = std::make_unique<CDatabase>();
        m_pDatabase = m_pOwnDatabase.get();
    }
    try {
        if (!m_pDatabase->IsOpen())
            m_pDatabase->OpenEx(GetDefaultConnect(), CDatabase::noOdbcDialog);
        m_pDatabase->AttachRecordset(this);
        m_pState->attached = true;
        m_pState->openSql = lpszSQL ? lpszSQL : L"";
        Requery();
    } catch (CException*) {
        try {
            Close();
        } catch (CException* e2) {
            e2->Delete();
        }
        throw;
    }
    return TRUE;
}

BOOL CRecordset::Requery()
{
    if (!m_pState->attached)
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"The record set is not open.");
    if (!m_pDatabase || !m_pDatabase->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"The record set has no open database.");
    RecordsetState& st = *m_pState;
    m_nEditMode = noMode;
    st.select.reset();
    st.open = false;
    m_hstmt = nullptr;

    zyn::afx::RecordsetOps::Learn(*this);
    if (m_nFields != 0 && m_nFields != st.columns.size()) {
        CString msg;
        msg.Format(L"DoFieldExchange bound %d columns; m_nFields is %u.", static_cast<int>(st.columns.size()), m_nFields);
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH, msg);
    }
    if (m_nParams != 0 && m_nParams != st.params.size()) {
        CString msg;
        msg.Format(L"%d parameters were bound; m_nParams is %u.", static_cast<int>(st.params.size()), m_nParams);
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH, msg);
    }

    // The statement.
    std::wstring base = Trimmed((st.openSql.IsEmpty() ? GetDefaultSQL() : st.openSql).Str());
    if (base.empty())
        AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"The record set has no SQL and no table.");
    const std::wstring filter = Trimmed(m_strFilter.Str());
    const std::wstring sort = Trimmed(m_strSort.Str());
    std::wstring sql;
    st.isCall = base[0] == L'{';
    std::wstring table;
    st.selectCall = false;
    st.sendParams.clear();
    st.outputColumns.clear();
    for (size_t i = 0; i < st.params.size(); ++i)
        st.sendParams.push_back(i);
    const bool anyOutput = std::any_of(st.params.begin(), st.params.end(), [](const Field& f) {
        return f.ref.fieldType == CFieldExchange::outputParam || f.ref.fieldType == CFieldExchange::inoutParam;
    });
    if (st.isCall) {
        sql = base;
        if (anyOutput && st.columns.empty() && m_pDatabase->GetEngine() == zyn::afx::DbEngine::postgresql) {
            std::vector<int16_t> types;
            for (const auto& f : st.params)
                types.push_back(f.ref.fieldType);
            if (auto r = RewriteCallForPostgres(base, types)) {
                sql = r->sql;
                st.selectCall = true;
                st.sendParams = std::move(r->sendParams);
                st.outputColumns = std::move(r->outputColumns);
            }
        }
    } else if (MatchWordAt(base, 0, L"SELECT")) {
        sql = AddFilterAndSort(base, filter, sort);
        table = FirstTableOfSelect(base);
    } else {
        sql = L"SELECT ";
        if (st.columns.empty()) {
            sql += L"*";
        } else {
            for (size_t i = 0; i < st.columns.size(); ++i) {
                if (i)
                    sql += L", ";
                sql += st.columns[i].ref.name ? st.columns[i].ref.name : L"";
            }
        }
        sql += L" FROM " + base;
        if (!filter.empty())
            sql += L" WHERE " + filter;
        if (!sort.empty())
            sql += L" ORDER BY " + sort;
        table = FirstOfList(base);
    }
    m_strSQL = CString(std::move(sql));
    m_pDatabase->ReplaceBrackets(m_strSQL);
    m_strTableName = CString(table);

    // Key columns for searched UPDATE and DELETE.
    st.keyIndex.clear();
    st.keyError.Empty();
    st.keyValues.clear();
    st.insertSql.Empty();
    st.updateSql.Empty();
    st.deleteSql.Empty();
    st.insertFields.clear();
    st.updateFields.clear();
    {
        const CString keys = GetKeyColumns();
        const CString tableBare = BareColumnName(m_strTableName);
        int pos = 0;
        for (;;) {
            CString token = keys.Tokenize(L",", pos);
            if (pos < 0)
                break;
            token.Trim();
            if (token.IsEmpty())
                continue;
            auto [kq, kc] = SplitName(token);
            std::optional<size_t> found, preferred;
            for (size_t i = 0; i < st.columns.size(); ++i) {
                auto [q, c] = SplitName(CString(st.columns[i].ref.name ? st.columns[i].ref.name : L""));
                if (!SameName(c, kc))
                    continue;
                if (!kq.IsEmpty()) {
                    if (q.IsEmpty() || SameName(q, kq)) {
                        found = i;
                        break;
                    }
                    continue;
                }
                if (!found)
                    found = i;
                if (!preferred && (q.IsEmpty() || SameName(q, tableBare)))
                    preferred = i;
            }
            if (preferred)
                found = preferred;
            if (!found) {
                st.keyError.Format(L"The key column %s is not bound in the record set.", token.GetString());
                st.keyIndex.clear();
                break;
            }
            st.keyIndex.push_back(*found);
        }
    }

    // Run it.
    st.hasOutput = std::any_of(st.params.begin(), st.params.end(), [](const Field& f) {
        return f.ref.fieldType == CFieldExchange::outputParam || f.ref.fieldType == CFieldExchange::inoutParam;
    });
    st.outputsCopied = false;
    st.direct = (m_dwOptions & executeDirect) != 0;
    Guard([&] {
        st.select = std::make_unique<odbc::Statement>(*m_pDatabase->GetOdbcConnection());
        if (m_pDatabase->GetQueryTimeout())
            st.select->SetQueryTimeout(m_pDatabase->GetQueryTimeout());
        if (!st.direct)
            st.select->Prepare(m_strSQL.Str());
    });
    m_hstmt = st.select->Handle();
    st.open = true;
    st.count = 0;
    RunStatement(true);
    return TRUE;
}

void CRecordset::RunStatement(bool bFetchFirst)
{
    RecordsetState& st = *m_pState;
    st.current = -1;
    st.bof = false;
    st.eof = false;
    st.deleted = false;
    st.outputsCopied = false;
    Guard([&] {
        std::vector<odbc::Param> ps;
        ps.reserve(st.sendParams.size());
        for (size_t k : st.sendParams) {
            odbc::Param p = ToParam(st.params[k], st.params[k].isNull);
            if (st.selectCall)
                p.direction = odbc::Direction::Input;
            ps.push_back(std::move(p));
        }
        st.select->SetParams(std::move(ps));
        if (st.direct)
            st.select->ExecDirect(m_strSQL.Str());
        else
            st.select->Execute();
        const int16_t n = st.select->NumResultCols();
        st.resultCols.clear();
        for (int16_t c = 1; c <= n; ++c)
            st.resultCols.push_back(st.select->Describe(static_cast<uint16_t>(c)));
    });
    if (st.selectCall) {
        // The function's row carries the output parameters.
        st.outputsCopied = true;
        Guard([&] {
            const bool row = st.select->Fetch();
            for (size_t j = 0; j < st.outputColumns.size(); ++j) {
                Field& f = st.params[st.outputColumns[j]];
                bool has = false;
                if (row) {
                    if (j >= st.resultCols.size())
                        AfxThrowDBException(AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH,
                            L"The function returns fewer columns than the call has output parameters.");
                    has = fields::Read(*st.select, static_cast<uint16_t>(j + 1), st.resultCols[j].sqlType, f.ref);
                }
                f.isNull = !has;
                if (!has)
                    fields::SetNeutral(f.ref);
            }
            st.select->CloseCursor();
        });
        st.bof = st.eof = true;
        return;
    }
    if (st.resultCols.size() < st.columns.size()) {
        CString msg;
        msg.Format(L"The statement returns %d columns; %d are bound.", static_cast<int>(st.resultCols.size()),
            static_cast<int>(st.columns.size()));
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH, msg);
    }
    for (size_t i = 0; i < st.columns.size(); ++i) {
        st.columns[i].nullable = st.resultCols[i].nullable;
        st.columns[i].isNull = false;
        st.columns[i].dirty = false;
        st.columns[i].snap.reset();
    }
    st.extra.assign(st.resultCols.size() - st.columns.size(), odbc::Value(odbc::Null{}));
    if (st.resultCols.empty()) {
        // A call without a result set: its output parameters are in.
        CopyOutputs();
        st.bof = st.eof = true;
        return;
    }
    if (st.isCall && st.hasOutput && st.columns.empty()) {
        Guard([&] { st.select->CloseCursor(); });
        CopyOutputs();
        st.bof = st.eof = true;
        return;
    }
    if (bFetchFirst)
        FetchNext();
}

void CRecordset::CopyOutputs()
{
    RecordsetState& st = *m_pState;
    if (!st.hasOutput || st.outputsCopied || !st.select)
        return;
    st.outputsCopied = true;
    auto& ps = st.select->Params();
    for (size_t i = 0; i < st.params.size() && i < ps.size(); ++i) {
        Field& f = st.params[i];
        if (f.ref.fieldType != CFieldExchange::outputParam && f.ref.fieldType != CFieldExchange::inoutParam)
            continue;
        if (std::holds_alternative<odbc::Null>(ps[i].value)) {
            f.isNull = true;
            fields::SetNeutral(f.ref);
        } else {
            f.isNull = false;
            fields::Store(f.ref, ps[i].value);
        }
    }
}

bool CRecordset::FetchNext()
{
    RecordsetState& st = *m_pState;
    const bool got = Guard([&] {
        if (!st.select->Fetch())
            return false;
        for (size_t i = 0; i < st.columns.size(); ++i) {
            Field& f = st.columns[i];
            const bool has = fields::Read(*st.select, static_cast<uint16_t>(i + 1), st.resultCols[i].sqlType, f.ref);
            f.isNull = !has;
            if (!has)
                fields::SetNeutral(f.ref);
            f.dirty = false;
            f.snap.reset();
        }
        for (size_t j = 0; j < st.extra.size(); ++j) {
            const size_t col = st.columns.size() + j;
            st.extra[j] = st.select->GetValue(static_cast<uint16_t>(col + 1), st.resultCols[col].sqlType);
        }
        return true;
    });
    if (!got) {
        st.eof = true;
        if (st.current < 0)
            st.bof = true;
        if (st.hasOutput) {
            Guard([&] { st.select->CloseCursor(); });
            CopyOutputs();
        }
        return false;
    }
    ++st.current;
    st.count = std::max(st.count, st.current + 1);
    st.bof = false;
    st.eof = false;
    st.deleted = false;
    st.keyValues.clear();
    for (size_t k : st.keyIndex)
        st.keyValues.push_back(fields::SendValue(st.columns[k].ref, st.columns[k].isNull));
    return true;
}

void CRecordset::Close()
{
    RecordsetState& st = *m_pState;
    m_nEditMode = noMode;
    std::optional<CDBException*> failure;
    if (st.select && st.open && st.hasOutput && !st.outputsCopied) {
        try {
            Guard([&] { st.select->CloseCursor(); });
            CopyOutputs();
        } catch (CDBException* e) {
            failure = e;
        }
    }
    st.select.reset();
    st.modify.clear();
    st.open = false;
    st.resultCols.clear();
    st.extra.clear();
    st.current = -1;
    st.count = 0;
    st.bof = st.eof = true;
    st.deleted = false;
    m_hstmt = nullptr;
    // Only while listed: a database that closed the set may be gone by now.
    if (m_pDatabase && st.attached)
        m_pDatabase->DetachRecordset(this);
    st.attached = false;
    if (m_pOwnDatabase) {
        CDatabase* own = m_pOwnDatabase.get();
        if (m_pDatabase == own)
            m_pDatabase = nullptr;
        try {
            own->Close();
        } catch (CDBException* e) {
            if (!failure)
                failure = e;
            else
                e->Delete();
        }
        m_pOwnDatabase.reset();
    }
    if (failure)
        throw *failure;
}

void CRecordset::DetachFromDatabase()
{
    try {
        Close();
    } catch (CException* e) {
        // The connection is going away: the statement is freed regardless.
        e->Delete();
    }
}

void CRecordset::ThrowIfNotOpen() const
{
    if (!IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"The record set is not open.");
}

void CRecordset::Move(LONG nRows, WORD wFetchType)
{
    ThrowIfNotOpen();
    RecordsetState& st = *m_pState;
    if (m_nEditMode != noMode)
        CancelUpdate();
    const bool forward = m_nOpenType == forwardOnly;
    const LONG here = st.eof ? st.count : st.current;
    LONG target = here;
    switch (wFetchType) {
    case SQL_FETCH_NEXT:
        target = here + 1;
        break;
    case SQL_FETCH_PRIOR:
        target = here - 1;
        break;
    case SQL_FETCH_FIRST:
        if (st.current == 0 && !st.eof && !st.bof && !st.deleted)
            return;
        target = 0;
        break;
    case SQL_FETCH_RELATIVE:
        if (nRows == 0)
            return;
        target = here + nRows;
        break;
    case SQL_FETCH_ABSOLUTE:
        if (nRows < 0)
            AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"Positions from the end are not supported.");
        target = nRows - 1;
        break;
    case SQL_FETCH_LAST: {
        if (forward)
            AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY);
        while (!st.eof && FetchNext()) {
        }
        if (st.count == 0)
            return;
        // The cursor is spent: run again and stop on the last row.
        const LONG last = st.count - 1;
        Restart();
        while (st.current < last && FetchNext()) {
        }
        return;
    }
    default:
        AfxThrowDBException(AFX_SQL_ERROR_INCORRECT_ODBC, L"Unknown fetch type.");
    }
    if (st.eof && target >= st.count)
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD, L"The record set is already past its last row.");
    if (target <= st.current || st.eof) {
        if (forward)
            AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY);
        Restart();
        if (target < 0) {
            st.bof = true;
            return;
        }
    }
    if (target < 0) {
        st.bof = true;
        return;
    }
    while (st.current < target) {
        if (!FetchNext())
            return;
    }
}

void CRecordset::Restart()
{
    RecordsetState& st = *m_pState;
    // Prepared again: the SQLite driver resumes an executed statement where its cursor
    // stood instead of starting over.
    Guard([&] {
        st.select->CloseCursor();
        if (!st.direct)
            st.select->Prepare(m_strSQL.Str());
    });
    RunStatement(false);
}

void CRecordset::AddNew()
{
    ThrowIfNotOpen();
    if (!CanAppend())
        AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_READONLY);
    if (m_nEditMode != noMode)
        CancelUpdate();
    for (Field& f : m_pState->columns) {
        f.saved = fields::Snapshot(f.ref);
        f.savedNull = f.isNull;
        fields::SetPseudoNull(f.ref);
        f.isNull = true;
        f.dirty = false;
        f.snap = fields::Snapshot(f.ref);
    }
    m_nEditMode = addnew;
}

void CRecordset::Edit()
{
    ThrowIfNotOpen();
    if (!CanUpdate())
        AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_READONLY);
    RecordsetState& st = *m_pState;
    if (st.bof || st.eof || st.deleted || st.current < 0)
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    if (m_nEditMode != noMode)
        CancelUpdate();
    for (Field& f : st.columns) {
        f.snap = fields::Snapshot(f.ref);
        f.saved = *f.snap;
        f.savedNull = f.isNull;
        f.dirty = false;
    }
    m_nEditMode = edit;
}

void CRecordset::CancelUpdate()
{
    // The members return to the current row as it was before AddNew or Edit.
    if (m_nEditMode != noMode) {
        for (Field& f : m_pState->columns) {
            fields::Restore(f.ref, f.saved);
            f.isNull = f.savedNull;
        }
    }
    for (Field& f : m_pState->columns) {
        f.dirty = false;
        f.snap.reset();
        f.saved = odbc::Null{};
    }
    m_nEditMode = noMode;
}

bool CRecordset::FieldChanged(const void* field) const
{
    const auto* f = static_cast<const Field*>(field);
    return m_nEditMode != noMode && !f->isParam && f->snap && !fields::Holds(f->ref, *f->snap);
}

CString CRecordset::TargetTable() const
{
    if (m_strTableName.IsEmpty())
        AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_READONLY, L"The record set has no table to change.");
    return m_pDatabase->ReplaceBrackets(m_strTableName.GetString());
}

void CRecordset::RequireKeys() const
{
    const RecordsetState& st = *m_pState;
    if (!st.keyError.IsEmpty())
        AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS, st.keyError);
    if (st.keyIndex.empty())
        AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS,
            L"The record set names no key columns (GetKeyColumns) for a searched update or delete.");
    for (size_t k = 0; k < st.keyIndex.size(); ++k) {
        if (k >= st.keyValues.size() || std::holds_alternative<odbc::Null>(st.keyValues[k])) {
            CString msg;
            msg.Format(L"The key column %s of the current row is NULL.",
                st.columns[st.keyIndex[k]].ref.name ? st.columns[st.keyIndex[k]].ref.name : L"");
            AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS, msg);
        }
    }
}

int64_t CRecordset::ExecuteChange(const CString& sql, std::vector<odbc::Param>& params)
{
    RecordsetState& st = *m_pState;
    return Guard([&] {
        auto it = st.modify.find(sql.Str());
        if (it == st.modify.end()) {
            if (st.modify.size() >= 8)
                st.modify.clear();
            auto stmt = std::make_unique<odbc::Statement>(*m_pDatabase->GetOdbcConnection());
            if (m_pDatabase->GetQueryTimeout())
                stmt->SetQueryTimeout(m_pDatabase->GetQueryTimeout());
            stmt->Prepare(sql.Str());
            it = st.modify.emplace(sql.Str(), std::move(stmt)).first;
        }
        odbc::Statement& s = *it->second;
        s.Params().swap(params);
        params.clear();
        const bool data = s.Execute();
        const int64_t rows = data ? s.RowCount() : 0;
        s.CloseCursor();
        return rows;
    });
}

namespace {

void CheckRowCount(int64_t rows)
{
    if (rows == 0)
        AfxThrowDBException(AFX_SQL_ERROR_NO_ROWS_AFFECTED);
    if (rows > 1) {
        CString msg;
        msg.Format(L"The statement changed %I64d rows; the key columns do not identify one row.", rows);
        AfxThrowDBException(AFX_SQL_ERROR_MULTIPLE_ROWS_AFFECTED, msg);
    }
}

} // namespace

BOOL CRecordset::Update()
{
    ThrowIfNotOpen();
    if (m_nEditMode == noMode)
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"Update needs AddNew or Edit first.");
    RecordsetState& st = *m_pState;
    // Each field's state, decided once: dirty when marked or changed; NULL when marked
    // NULL and not changed since.
    std::vector<size_t> dirty;
    std::vector<char> nullNow(st.columns.size());
    for (size_t i = 0; i < st.columns.size(); ++i) {
        const Field& f = st.columns[i];
        const bool changed = FieldChanged(&f);
        nullNow[i] = changed ? false : f.isNull;
        if (f.dirty || changed)
            dirty.push_back(i);
    }
    if (dirty.empty()) {
        CancelUpdate();
        return FALSE;
    }
    std::vector<odbc::Param> params;
    params.reserve(dirty.size() + st.keyIndex.size());
    for (size_t i : dirty) {
        odbc::Param p = ToParam(st.columns[i], nullNow[i] != 0);
        p.direction = odbc::Direction::Input;
        params.push_back(std::move(p));
    }
    const bool adding = m_nEditMode == addnew;
    if (!adding)
        RequireKeys();
    st.CheckStatementCache(m_strTableName);
    // The statement text depends only on which fields are written: built once per set.
    CString& sql = adding ? st.insertSql : st.updateSql;
    std::vector<size_t>& builtFor = adding ? st.insertFields : st.updateFields;
    if (sql.IsEmpty() || builtFor != dirty) {
        const CString table = TargetTable();
        auto column = [&](const Field& f) {
            return m_pDatabase->ReplaceBrackets(L"[" + BareColumnName(CString(f.ref.name ? f.ref.name : L"")) + L"]");
        };
        if (adding) {
            sql = L"INSERT INTO " + table + L" (";
            CString values;
            for (size_t k = 0; k < dirty.size(); ++k) {
                if (k) {
                    sql += L", ";
                    values += L", ";
                }
                sql += column(st.columns[dirty[k]]);
                values += L"?";
            }
            sql += L") VALUES (" + values + L")";
        } else {
            sql = L"UPDATE " + table + L" SET ";
            for (size_t k = 0; k < dirty.size(); ++k) {
                if (k)
                    sql += L", ";
                sql += column(st.columns[dirty[k]]) + L" = ?";
            }
            sql += KeyCondition();
        }
        builtFor = dirty;
    }
    if (!adding)
        AppendKeyParams(params);
    const int64_t rows = ExecuteChange(sql, params);
    CheckRowCount(rows);
    for (size_t i = 0; i < st.columns.size(); ++i) {
        Field& f = st.columns[i];
        f.isNull = nullNow[i] != 0;
        f.dirty = false;
        f.snap.reset();
        f.saved = odbc::Null{};
    }
    m_nEditMode = noMode;
    if (!adding) {
        // A changed key is the row's key from now on.
        st.keyValues.clear();
        for (size_t k : st.keyIndex)
            st.keyValues.push_back(fields::SendValue(st.columns[k].ref, st.columns[k].isNull));
    }
    return TRUE;
}

CString CRecordset::KeyCondition() const
{
    const RecordsetState& st = *m_pState;
    CString sql = L" WHERE ";
    for (size_t k = 0; k < st.keyIndex.size(); ++k) {
        const Field& f = st.columns[st.keyIndex[k]];
        if (k)
            sql += L" AND ";
        sql += m_pDatabase->ReplaceBrackets(L"[" + BareColumnName(CString(f.ref.name ? f.ref.name : L"")) + L"]");
        sql += L" = ?";
    }
    return sql;
}

void CRecordset::AppendKeyParams(std::vector<odbc::Param>& params) const
{
    const RecordsetState& st = *m_pState;
    for (size_t k = 0; k < st.keyIndex.size(); ++k) {
        odbc::Param p = ToParam(st.columns[st.keyIndex[k]], false);
        p.direction = odbc::Direction::Input;
        p.value = st.keyValues[k];
        params.push_back(std::move(p));
    }
}

void CRecordset::Delete()
{
    ThrowIfNotOpen();
    if (!CanUpdate())
        AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_READONLY);
    if (m_nEditMode != noMode)
        AfxThrowDBException(AFX_SQL_ERROR_ILLEGAL_MODE, L"Delete during AddNew or Edit.");
    RecordsetState& st = *m_pState;
    if (st.bof || st.eof || st.deleted || st.current < 0)
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    RequireKeys();
    st.CheckStatementCache(m_strTableName);
    if (st.deleteSql.IsEmpty())
        st.deleteSql = L"DELETE FROM " + TargetTable() + KeyCondition();
    // The list is kept from row to row: a pass deleting row after row allocates none.
    std::vector<odbc::Param>& params = st.deleteParams;
    params.clear();
    AppendKeyParams(params);
    CheckRowCount(ExecuteChange(st.deleteSql, params));
    st.deleted = true;
}

BOOL CRecordset::IsOpen() const { return m_pState->open; }
BOOL CRecordset::IsBOF() const { return m_pState->bof; }
BOOL CRecordset::IsEOF() const { return m_pState->eof; }
BOOL CRecordset::IsDeleted() const { return m_pState->deleted; }
LONG CRecordset::GetRecordCount() const { return m_pState->count; }
LONG CRecordset::GetCurrentIndex() const { return m_pState->eof ? -1 : m_pState->current; }

BOOL CRecordset::CanUpdate() const
{
    return IsOpen() && !(m_dwOptions & (readOnly | appendOnly)) && m_pDatabase && m_pDatabase->CanUpdate()
        && !m_strTableName.IsEmpty() && !m_pState->isCall;
}

BOOL CRecordset::CanAppend() const
{
    return IsOpen() && !(m_dwOptions & readOnly) && m_pDatabase && m_pDatabase->CanUpdate()
        && !m_strTableName.IsEmpty() && !m_pState->isCall;
}

BOOL CRecordset::CanScroll() const { return IsOpen() && m_nOpenType != forwardOnly; }
BOOL CRecordset::CanTransact() const { return m_pDatabase && m_pDatabase->CanTransact(); }

void* CRecordset::FindField(const void* pv) const
{
    RecordsetState& st = *m_pState;
    if (!st.bound)
        zyn::afx::RecordsetOps::Learn(const_cast<CRecordset&>(*this));
    for (Field& f : st.columns)
        if (f.ref.value == pv)
            return &f;
    for (Field& f : st.params)
        if (f.ref.value == pv)
            return &f;
    AfxThrowDBException(AFX_SQL_ERROR_FIELD_NOT_FOUND);
}

BOOL CRecordset::IsFieldNull(const void* pv) const
{
    auto effective = [&](const Field& f) { return FieldChanged(&f) ? false : f.isNull; };
    if (!pv) {
        if (!m_pState->bound)
            zyn::afx::RecordsetOps::Learn(const_cast<CRecordset&>(*this));
        for (const Field& f : m_pState->columns)
            if (!effective(f))
                return FALSE;
        return TRUE;
    }
    return effective(*static_cast<Field*>(FindField(pv))) ? TRUE : FALSE;
}

void CRecordset::SetFieldNull(void* pv, BOOL bNull)
{
    auto apply = [&](Field& f) {
        f.isNull = bNull != FALSE;
        if (bNull)
            fields::SetPseudoNull(f.ref);
        if (!f.isParam && m_nEditMode != noMode) {
            f.dirty = true;
            f.snap = fields::Snapshot(f.ref);
        }
    };
    if (!pv) {
        if (!m_pState->bound)
            zyn::afx::RecordsetOps::Learn(*this);
        for (Field& f : m_pState->columns)
            apply(f);
        return;
    }
    apply(*static_cast<Field*>(FindField(pv)));
}

BOOL CRecordset::IsFieldDirty(const void* pv) const
{
    auto effective = [&](const Field& f) { return f.dirty || FieldChanged(&f); };
    if (!pv) {
        for (const Field& f : m_pState->columns)
            if (effective(f))
                return TRUE;
        return FALSE;
    }
    return effective(*static_cast<Field*>(FindField(pv))) ? TRUE : FALSE;
}

void CRecordset::SetFieldDirty(void* pv, BOOL bDirty)
{
    auto apply = [&](Field& f) {
        if (f.isParam)
            return;
        if (bDirty) {
            f.dirty = true;
            if (FieldChanged(&f))
                f.isNull = false;
        } else {
            // Not dirty: whatever the member holds now is not to be written.
            if (FieldChanged(&f))
                f.isNull = false;
            f.dirty = false;
            if (m_nEditMode != noMode)
                f.snap = fields::Snapshot(f.ref);
        }
    };
    if (!pv) {
        if (!m_pState->bound)
            zyn::afx::RecordsetOps::Learn(*this);
        for (Field& f : m_pState->columns)
            apply(f);
        return;
    }
    apply(*static_cast<Field*>(FindField(pv)));
}

BOOL CRecordset::IsFieldNullable(const void* pv) const
{
    const auto* f = static_cast<Field*>(FindField(pv));
    return f->nullable != SQL_NO_NULLS;
}

void CRecordset::SetParamNull(int nIndex, BOOL bNull)
{
    RecordsetState& st = *m_pState;
    if (!st.bound)
        zyn::afx::RecordsetOps::Learn(*this);
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= st.params.size())
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_NOT_FOUND, L"No such parameter.");
    st.params[static_cast<size_t>(nIndex)].isNull = bNull != FALSE;
}

short CRecordset::GetODBCFieldCount() const
{
    ThrowIfNotOpen();
    return static_cast<short>(m_pState->resultCols.size());
}

void CRecordset::GetODBCFieldInfo(short nIndex, CODBCFieldInfo& info) const
{
    ThrowIfNotOpen();
    const auto& cols = m_pState->resultCols;
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= cols.size())
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_NOT_FOUND, L"No such result column.");
    const auto& d = cols[static_cast<size_t>(nIndex)];
    info.m_strName = CString(d.name);
    info.m_nSQLType = d.sqlType;
    info.m_nPrecision = d.size;
    info.m_nScale = d.decimalDigits;
    info.m_nNullability = d.nullable;
}

short CRecordset::IndexOfColumn(LPCWSTR lpszName) const
{
    ThrowIfNotOpen();
    const RecordsetState& st = *m_pState;
    const CString want = BareColumnName(CString(lpszName ? lpszName : L""));
    for (size_t i = 0; i < st.resultCols.size(); ++i)
        if (SameName(CString(st.resultCols[i].name), want))
            return static_cast<short>(i);
    for (size_t i = 0; i < st.columns.size(); ++i)
        if (SameName(BareColumnName(CString(st.columns[i].ref.name ? st.columns[i].ref.name : L"")), want))
            return static_cast<short>(i);
    CString msg;
    msg.Format(L"The result has no column %s.", lpszName ? lpszName : L"");
    AfxThrowDBException(AFX_SQL_ERROR_FIELD_NOT_FOUND, msg);
}

void CRecordset::GetODBCFieldInfo(LPCWSTR lpszName, CODBCFieldInfo& info) const
{
    GetODBCFieldInfo(IndexOfColumn(lpszName), info);
}

void CRecordset::GetFieldValue(short nIndex, CDBVariant& var, short)
{
    ThrowIfNotOpen();
    RecordsetState& st = *m_pState;
    if (st.bof || st.eof || st.current < 0)
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= st.resultCols.size())
        AfxThrowDBException(AFX_SQL_ERROR_FIELD_NOT_FOUND, L"No such result column.");
    const size_t i = static_cast<size_t>(nIndex);
    if (i < st.columns.size()) {
        const Field& f = st.columns[i];
        if (FieldChanged(&f) ? false : f.isNull) {
            var.Clear();
            return;
        }
        fields::ToVariant(f.ref, var);
        return;
    }
    const odbc::Value& v = st.extra[i - st.columns.size()];
    std::visit(
        [&var](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, odbc::Null>) {
                var.Clear();
            } else if constexpr (std::is_same_v<T, int32_t>) {
                var.SetLong(x);
            } else if constexpr (std::is_same_v<T, int64_t>) {
                var.SetBigInt(x);
            } else if constexpr (std::is_same_v<T, double>) {
                var.SetDouble(x);
            } else if constexpr (std::is_same_v<T, float>) {
                var.SetSingle(x);
            } else if constexpr (std::is_same_v<T, std::wstring>) {
                var.SetString(CString(x));
            } else if constexpr (std::is_same_v<T, TIMESTAMP_STRUCT>) {
                var.SetDate(x);
            } else {
                CByteArray a;
                a.SetSize(static_cast<INT_PTR>(x.size()));
                if (!x.empty())
                    std::memcpy(a.GetData(), x.data(), x.size());
                var.SetBinary(a);
            }
        },
        v);
}

void CRecordset::GetFieldValue(LPCWSTR lpszName, CDBVariant& var, short nFieldType)
{
    GetFieldValue(IndexOfColumn(lpszName), var, nFieldType);
}

void CRecordset::GetFieldValue(short nIndex, CString& strValue)
{
    CDBVariant v;
    GetFieldValue(nIndex, v);
    switch (v.m_dwType) {
    case DBVT_NULL:
        strValue.Empty();
        break;
    case DBVT_BOOL:
        strValue.Format(L"%d", v.m_boolVal ? 1 : 0);
        break;
    case DBVT_UCHAR:
        strValue.Format(L"%d", int{v.m_chVal});
        break;
    case DBVT_SHORT:
        strValue.Format(L"%d", int{v.m_iVal});
        break;
    case DBVT_LONG:
        strValue.Format(L"%d", v.m_lVal);
        break;
    case DBVT_BIGINT:
        strValue.Format(L"%I64d", v.m_llVal);
        break;
    case DBVT_SINGLE:
        strValue.Format(L"%.9g", static_cast<double>(v.m_fltVal));
        break;
    case DBVT_DOUBLE:
        strValue.Format(L"%.17g", v.m_dblVal);
        break;
    case DBVT_DATE: {
        const TIMESTAMP_STRUCT& t = *v.m_pdate;
        strValue.Format(L"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        break;
    }
    case DBVT_BINARY: {
        strValue.Empty();
        for (INT_PTR i = 0; i < v.m_pbinary->GetSize(); ++i)
            strValue.AppendFormat(L"%02X", v.m_pbinary->GetAt(i));
        break;
    }
    default:
        strValue = *v.m_pstring;
        break;
    }
}

void CRecordset::GetFieldValue(LPCWSTR lpszName, CString& strValue) { GetFieldValue(IndexOfColumn(lpszName), strValue); }
