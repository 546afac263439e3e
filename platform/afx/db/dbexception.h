#pragma once
// CDBException: every failure of the database classes. Thrown by pointer and freed with
// Delete(), like every exception of the class library.
//
// m_nRetCode is the ODBC return code of the failed call (SQL_ERROR, SQL_INVALID_HANDLE,
// SQL_SUCCESS_WITH_INFO for a warning we treat as an error such as truncation), or one of
// the AFX_SQL_ERROR_* codes when the class library itself refused the operation.
// m_strError holds the driver's message text (all diagnostic records, one per line);
// m_strStateNativeOrigin holds "State:%s,Native:%d,Origin:%s" per record, one per line.
// GetSQLState() gives the first record's SQLSTATE ("42S02", "23505", "01004"...), or the
// empty string for the class library's own codes.

#include "platform/afx/db/dbconst.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"

class CDBException : public CException {
    DECLARE_DYNAMIC(CDBException)
public:
    explicit CDBException(RETCODE nRetCode = SQL_ERROR);

    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    const CString& GetSQLState() const { return m_strSQLState; }
    LONG GetNativeError() const { return m_nNativeError; }
    // True when the first record's SQLSTATE starts with the given class ("23" for
    // integrity violations, "40" for serialisation failures...).
    bool IsStateClass(LPCWSTR lpszClass) const;

    RETCODE m_nRetCode;
    CString m_strError;
    CString m_strStateNativeOrigin;
    CString m_strSQLState;
    LONG m_nNativeError = 0;
};

// Throws a CDBException built from the values given. lpszError defaults to the text of
// the class library's code (for AFX_SQL_ERROR_*), or a generic text.
[[noreturn]] void AfxThrowDBException(RETCODE nRetCode, LPCWSTR lpszError = nullptr, LPCWSTR lpszSQLState = nullptr);
