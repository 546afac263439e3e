#include "platform/afx/db/dbexception.h"

#include <algorithm>
#include <cwchar>

#include "platform/afx/db/db_internal.h"

IMPLEMENT_DYNAMIC(CDBException, CException)

namespace {

LPCWSTR OwnMessage(RETCODE code)
{
    switch (code) {
    case AFX_SQL_ERROR_CONNECT_FAIL:
        return L"Connecting to the data source failed.";
    case AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY:
        return L"The record set only moves forward.";
    case AFX_SQL_ERROR_EMPTY_COLUMN_LIST:
        return L"The record set binds no columns.";
    case AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH:
        return L"The bound fields do not match the columns of the result.";
    case AFX_SQL_ERROR_ILLEGAL_MODE:
        return L"The operation is not allowed in the record set's current mode.";
    case AFX_SQL_ERROR_MULTIPLE_ROWS_AFFECTED:
        return L"The statement changed more than one row.";
    case AFX_SQL_ERROR_NO_CURRENT_RECORD:
        return L"There is no current record.";
    case AFX_SQL_ERROR_NO_ROWS_AFFECTED:
        return L"The statement changed no row.";
    case AFX_SQL_ERROR_RECORDSET_READONLY:
        return L"The record set is read-only.";
    case AFX_SQL_ERROR_DATA_TRUNCATED:
        return L"Data would be truncated.";
    case AFX_SQL_ERROR_FIELD_NOT_FOUND:
        return L"The field is not bound in this record set.";
    case AFX_SQL_ERROR_NO_KEY_COLUMNS:
        return L"The record set has no usable key columns for a searched update or delete.";
    case AFX_SQL_ERROR_INCORRECT_ODBC:
        return L"The record set was used incorrectly.";
    default:
        return code >= AFX_SQL_ERROR && code < AFX_SQL_ERROR_MAX ? L"The database operation failed."
                                                               : L"The ODBC call failed.";
    }
}

// "[unixODBC][SQLite]message" -> "[unixODBC][SQLite]"
CString OriginOf(const std::wstring& message)
{
    size_t i = 0;
    while (i < message.size() && message[i] == L'[') {
        const size_t close = message.find(L']', i);
        if (close == std::wstring::npos)
            break;
        i = close + 1;
    }
    return CString(message.substr(0, i));
}

} // namespace

CDBException::CDBException(RETCODE nRetCode) : m_nRetCode(nRetCode) {}

BOOL CDBException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    CString text = m_strError;
    if (!m_strSQLState.IsEmpty())
        text = L"[" + m_strSQLState + L"] " + m_strError;
    const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), nMaxError - 1);
    std::wmemcpy(lpszError, text.GetString(), n);
    lpszError[n] = 0;
    return TRUE;
}

bool CDBException::IsStateClass(LPCWSTR lpszClass) const
{
    const size_t n = lpszClass ? std::wcslen(lpszClass) : 0;
    return n && static_cast<size_t>(m_strSQLState.GetLength()) >= n &&
        std::wcsncmp(m_strSQLState.GetString(), lpszClass, n) == 0;
}

void AfxThrowDBException(RETCODE nRetCode, LPCWSTR lpszError, LPCWSTR lpszSQLState)
{
    auto* e = new CDBException(nRetCode);
    e->m_strError = lpszError && *lpszError ? lpszError : OwnMessage(nRetCode);
    if (lpszSQLState)
        e->m_strSQLState = lpszSQLState;
    e->m_strStateNativeOrigin.Format(L"State:%s,Native:%d,Origin:%s\n", e->m_strSQLState.GetString(), 0, L"[Database classes]");
    e->SetDetail(e->m_strError);
    throw e;
}

namespace zyn::afx::dbi {

void ThrowFromDriver(const odbc::Error& err)
{
    auto* e = new CDBException(err.retCode);
    for (const auto& r : err.records) {
        if (!e->m_strError.IsEmpty())
            e->m_strError += L"\n";
        e->m_strError += CString(r.message);
        CString line;
        line.Format(L"State:%S,Native:%d,Origin:%s\n", r.state.c_str(), r.native, OriginOf(r.message).GetString());
        e->m_strStateNativeOrigin += line;
    }
    if (!err.records.empty()) {
        e->m_strSQLState = CString(err.records.front().state.c_str());
        e->m_nNativeError = err.records.front().native;
    }
    if (e->m_strError.IsEmpty()) {
        e->m_strError = CString(err.function.c_str());
        e->m_strError += L" failed without a diagnostic.";
    }
    e->SetDetail(e->m_strError);
    throw e;
}

bool SameName(const CString& a, const CString& b) { return a.CompareNoCase(b.GetString()) == 0; }

CString BareColumnName(const CString& name)
{
    const std::wstring& s = name.Str();
    // The last dot outside brackets or quotes.
    size_t start = 0;
    bool inBracket = false, inQuote = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (inBracket) {
            inBracket = c != L']';
        } else if (inQuote) {
            inQuote = c != L'"';
        } else if (c == L'[') {
            inBracket = true;
        } else if (c == L'"') {
            inQuote = true;
        } else if (c == L'.') {
            start = i + 1;
        }
    }
    std::wstring r;
    for (size_t i = start; i < s.size(); ++i)
        if (s[i] != L'[' && s[i] != L']' && s[i] != L'"')
            r.push_back(s[i]);
    while (!r.empty() && r.back() == L' ')
        r.pop_back();
    size_t lead = 0;
    while (lead < r.size() && r[lead] == L' ')
        ++lead;
    return CString(r.substr(lead));
}

} // namespace zyn::afx::dbi
