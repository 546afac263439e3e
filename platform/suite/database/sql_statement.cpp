#include "platform/suite/database/sql_statement.h"

#include <algorithm>

#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"

namespace {

[[noreturn]] void ThrowBadName(LPCWSTR what, LPCWSTR name)
{
    CString msg;
    msg.Format(L"CSQLStatement: %s \"%s\" is not a plain name", what, name ? name : L"(null)");
    AfxThrowInvalidArgException(msg);
}

void CheckOperator(int op, bool hasValue)
{
    if (!CMultiFilterRecordset::OperatorText(op) || CMultiFilterRecordset::OperatorTakesValue(op) != hasValue) {
        CString msg;
        msg.Format(L"CSQLStatement: operator %d cannot be used %s a value", op, hasValue ? L"with" : L"without");
        AfxThrowInvalidArgException(msg);
    }
}

bool SystemTimeOf(const COleDateTime& value, SYSTEMTIME& st)
{
    return value.GetStatus() == COleDateTime::valid && value.GetAsSystemTime(st);
}

TIMESTAMP_STRUCT TimestampOf(const SYSTEMTIME& st)
{
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(st.wYear);
    ts.month = st.wMonth;
    ts.day = st.wDay;
    ts.hour = st.wHour;
    ts.minute = st.wMinute;
    ts.second = st.wSecond;
    return ts;
}

bool ValidTimestamp(const TIMESTAMP_STRUCT& ts)
{
    static constexpr int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (ts.year < 1 || ts.year > 9999 || ts.month < 1 || ts.month > 12 || ts.day < 1 || ts.hour > 23 ||
        ts.minute > 59 || ts.second > 59 || ts.fraction > 999999999u)
        return false;
    if (ts.day > days[ts.month - 1])
        return false;
    if (ts.month == 2 && ts.day == 29)
        return (ts.year % 4 == 0 && ts.year % 100 != 0) || ts.year % 400 == 0;
    return true;
}

} // namespace

CSQLStatement::CSQLStatement(CZynDatabase* pDatabase) : m_pDatabase(pDatabase) {}

ZynEngineType CSQLStatement::GetEngineType() const
{
    return m_pDatabase ? m_pDatabase->GetEngineType() : ZynEngineUnknown;
}

CString CSQLStatement::Qualified(LPCWSTR lpszTable, LPCWSTR lpszColumn)
{
    if (!zyn::db::IsPlainIdentifier(lpszColumn))
        ThrowBadName(L"column", lpszColumn);
    if (!lpszTable || !*lpszTable)
        return CString(lpszColumn);
    if (!zyn::db::IsPlainIdentifier(lpszTable))
        ThrowBadName(L"table", lpszTable);
    return CString(lpszTable) + L"." + lpszColumn;
}

void CSQLStatement::NoteTable(LPCWSTR lpszTable)
{
    if (!lpszTable || !*lpszTable)
        return;
    const CString t(lpszTable);
    const bool known = std::any_of(m_tables.begin(), m_tables.end(), [&](const CString& x) { return x.CompareNoCase(t) == 0; });
    if (!known)
        m_tables.push_back(t);
}

void CSQLStatement::AddToSelect(LPCWSTR lpszTable, LPCWSTR lpszColumn)
{
    m_columns.push_back(Qualified(lpszTable, lpszColumn));
    NoteTable(lpszTable);
}

void CSQLStatement::AddCondition(const CString& condition, int nFilterType, LPCWSTR lpszTable)
{
    if (nFilterType != FilterAnd && nFilterType != FilterOr) {
        CString msg;
        msg.Format(L"CSQLStatement: filter type %d is not 0 (AND) or 1 (OR)", nFilterType);
        AfxThrowInvalidArgException(msg);
    }
    NoteTable(lpszTable);
    if (m_where.IsEmpty()) {
        m_where = condition;
        return;
    }
    m_where = L"(" + m_where + (nFilterType == FilterOr ? L") OR " : L") AND ") + condition;
}

void CSQLStatement::AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, ParamCompOperator op, int nFilterType)
{
    CheckOperator(op, false);
    AddCondition(Qualified(lpszTable, lpszColumn) + L" " + CMultiFilterRecordset::OperatorText(op), nFilterType,
        lpszTable);
}

void CSQLStatement::AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, LONG nValue, ParamCompOperator op, int nFilterType)
{
    CheckOperator(op, true);
    CString cond;
    cond.Format(L"%s %s %ld", Qualified(lpszTable, lpszColumn).GetString(), CMultiFilterRecordset::OperatorText(op),
        nValue);
    AddCondition(cond, nFilterType, lpszTable);
}

void CSQLStatement::AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, LPCWSTR lpszValue, ParamCompOperator op,
    int nFilterType)
{
    CheckOperator(op, true);
    if (!lpszValue)
        AfxThrowInvalidArgException(L"CSQLStatement: null text; use IsNull for NULL");
    CString cond;
    cond.Format(L"%s %s %s", Qualified(lpszTable, lpszColumn).GetString(), CMultiFilterRecordset::OperatorText(op),
        TextLiteral(GetEngineType(), lpszValue).GetString());
    AddCondition(cond, nFilterType, lpszTable);
}

void CSQLStatement::AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, const COleDateTime& value, ParamCompOperator op,
    int nFilterType, DWORD dwWhereFlags)
{
    CheckOperator(op, true);
    SYSTEMTIME st{};
    if (!SystemTimeOf(value, st)) {
        CString msg;
        msg.Format(L"CSQLStatement: the date-time for %s is not valid", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    if (dwWhereFlags & ~static_cast<DWORD>(WhereDateOnly)) {
        CString msg;
        msg.Format(L"CSQLStatement: unknown where flags 0x%X", dwWhereFlags);
        AfxThrowInvalidArgException(msg);
    }
    TIMESTAMP_STRUCT ts = TimestampOf(st);
    if (dwWhereFlags & WhereDateOnly)
        ts.hour = ts.minute = ts.second = 0;
    CString cond;
    cond.Format(L"%s %s %s", Qualified(lpszTable, lpszColumn).GetString(), CMultiFilterRecordset::OperatorText(op),
        FormatTimestamp(GetEngineType(), ts).GetString());
    AddCondition(cond, nFilterType, lpszTable);
}

void CSQLStatement::AddWhereValuesInSubquery(LPCWSTR lpszTable, LPCWSTR lpszColumn, const CSQLStatement& subStatement,
    int nFilterType, BOOL bIn)
{
    if (subStatement.m_columns.size() != 1)
        AfxThrowInvalidArgException(L"CSQLStatement: a sub-select for IN must select exactly one column");
    CString sub;
    if (bIn) {
        sub = subStatement.FormatSelect();
    } else {
        // One NULL among the sub-select's values makes "x NOT IN (...)" unknown for every
        // row, so nothing would match: leave NULLs out.
        CSQLStatement copy(subStatement);
        copy.AddCondition(copy.m_columns.front() + L" IS NOT NULL", FilterAnd, nullptr);
        sub = copy.FormatSelect();
    }
    CString cond;
    cond.Format(L"%s %s (%s)", Qualified(lpszTable, lpszColumn).GetString(), bIn ? L"IN" : L"NOT IN", sub.GetString());
    AddCondition(cond, nFilterType, lpszTable);
}

CString CSQLStatement::FormatWhere() const { return m_where; }

CString CSQLStatement::FormatSelect() const
{
    if (m_columns.empty())
        AfxThrowInvalidArgException(L"CSQLStatement: nothing is selected");
    if (m_tables.empty())
        AfxThrowInvalidArgException(L"CSQLStatement: the statement names no table");
    CString sql = L"SELECT ";
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (i)
            sql += L", ";
        sql += m_columns[i];
    }
    sql += L" FROM ";
    for (size_t i = 0; i < m_tables.size(); ++i) {
        if (i)
            sql += L", ";
        sql += m_tables[i];
    }
    if (!m_where.IsEmpty())
        sql += L" WHERE " + m_where;
    return sql;
}

CString CSQLStatement::FormatDelete() const
{
    if (m_tables.size() != 1)
        AfxThrowInvalidArgException(L"CSQLStatement: a DELETE must name exactly one table");
    CString sql = L"DELETE FROM " + m_tables.front();
    if (!m_where.IsEmpty())
        sql += L" WHERE " + m_where;
    return sql;
}

void CSQLStatement::Reset()
{
    m_columns.clear();
    m_tables.clear();
    m_where.Empty();
}

CString CSQLStatement::FormatTimestamp(ZynEngineType engine, const TIMESTAMP_STRUCT& ts)
{
    if (!ValidTimestamp(ts))
        return L"NULL";
    const unsigned ms = ts.fraction / 1000000u;
    CString date;
    date.Format(L"%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(ts.year), static_cast<int>(ts.month),
        static_cast<int>(ts.day), static_cast<int>(ts.hour), static_cast<int>(ts.minute), static_cast<int>(ts.second));
    CString out;
    switch (engine) {
    case ZynEngineSQLite:
        // The text the database layer binds timestamps as (SQLite keeps times as
        // text): whole seconds, the fraction only when there is one, at least three
        // digits of it; so a literal and a bound value of the same time are equal.
        if (ts.fraction) {
            CString frac;
            frac.Format(L"%09u", ts.fraction);
            while (frac.GetLength() > 3 && frac[frac.GetLength() - 1] == L'0')
                frac.Truncate(frac.GetLength() - 1);
            out.Format(L"'%s.%s'", date.GetString(), frac.GetString());
        } else {
            out.Format(L"'%s'", date.GetString());
        }
        break;
    case ZynEnginePostgreSQL:
        out.Format(L"TIMESTAMP '%s.%03u'", date.GetString(), ms);
        break;
    case ZynEngineSqlServer:
        out.Format(L"CONVERT(DATETIME, '%s.%03u', 121)", date.GetString(), ms);
        break;
    case ZynEngineOracle:
        out.Format(L"TO_DATE('%s', 'YYYY-MM-DD HH24:MI:SS')", date.GetString());
        break;
    case ZynEngineDB2:
        out.Format(L"TIMESTAMP('%s.%06u')", date.GetString(), ts.fraction / 1000u);
        break;
    default:
        out.Format(L"{ts '%s.%03u'}", date.GetString(), ms);
        break;
    }
    return out;
}

CString CSQLStatement::FormatTimestamp(const CZynDatabase* pDatabase, const TIMESTAMP_STRUCT& value)
{
    return FormatTimestamp(pDatabase ? pDatabase->GetEngineType() : ZynEngineUnknown, value);
}

CString CSQLStatement::FormatTimestamp(const CZynDatabase* pDatabase, const COleDateTime& value)
{
    SYSTEMTIME st{};
    if (!SystemTimeOf(value, st))
        return L"NULL";
    return FormatTimestamp(pDatabase, TimestampOf(st));
}

CString CSQLStatement::FormatTimestamp(const CZynDatabase* pDatabase, const CTime& value)
{
    SYSTEMTIME st{};
    if (!value.GetAsSystemTime(st))
        return L"NULL";
    return FormatTimestamp(pDatabase, TimestampOf(st));
}

CString CSQLStatement::TextLiteral(ZynEngineType engine, LPCWSTR lpszText)
{
    const std::wstring_view text(lpszText ? lpszText : L"");
    const bool ascii = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
    if (engine != ZynEngineSQLite || ascii) {
        CString out;
        out.Format(L"%s'%s'", engine == ZynEngineSqlServer ? L"N" : L"", FixupText(lpszText).GetString());
        return out;
    }
    // The SQLite driver narrows statement text to bytes, which garbles every character
    // above ASCII; char() of the code points carries the text whole. SQLite takes at most
    // 100 arguments per call, so longer text is joined from several calls.
    CString out;
    for (size_t i = 0; i < text.size(); i += 100) {
        if (i)
            out += L" || ";
        out += L"char(";
        for (size_t j = i; j < std::min(text.size(), i + 100); ++j) {
            CString code;
            code.Format(L"%s%u", j == i ? L"" : L",", static_cast<UINT>(text[j]));
            out += code;
        }
        out += L")";
    }
    return L"(" + out + L")";
}

CString CSQLStatement::FixupText(LPCWSTR lpszText)
{
    CString out(lpszText ? lpszText : L"");
    out.Replace(L"'", L"''");
    return out;
}
