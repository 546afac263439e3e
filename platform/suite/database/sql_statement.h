#pragma once
// CSQLStatement: a SELECT built piece by piece (columns, WHERE conditions, sub-selects)
// whose text suits the engine of its database, and the DELETE of the same rows.
//
// Names are written as given (unquoted upper case, table-qualified: "VISIT.VISITID").
// Values of WHERE conditions are written as literals (the text runs through Open(sql)
// and ExecuteSQL, which take no parameters): integers in decimal, text quoted with its
// quotes doubled (N'...' on SQL Server), date-times as the engine's literal
// (FormatTimestamp). Conditions join the ones before them with AND (filter type 0) or
// OR (filter type 1), left to right: "((a AND b) OR c)".
//
// A NOT IN sub-select never yields NULL: the sub-select's column gets "IS NOT NULL",
// because one NULL would make NOT IN false for every row.

#include <cstdint>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"
#include "platform/base/sqldate.h"
#include "platform/suite/database/multi_filter_recordset.h"
#include "platform/suite/database/zyn_database.h"

class CSQLStatement {
public:
    using ParamCompOperator = CMultiFilterRecordset::ParamCompOperator;
    enum FilterType : int { FilterAnd = 0, FilterOr = 1 };
    // Flags of the date-time AddToWhere.
    enum WhereFlags : DWORD {
        WhereDateTime = 0,  // compare the date and time
        WhereDateOnly = 1,  // compare with midnight of the value's date
    };

    explicit CSQLStatement(CZynDatabase* pDatabase = nullptr);

    CZynDatabase* GetDatabase() const { return m_pDatabase; }
    ZynEngineType GetEngineType() const;

    // One more column of the select list ("TABLE.COLUMN"; the table joins FROM).
    void AddToSelect(LPCWSTR lpszTable, LPCWSTR lpszColumn);
    // A condition without a value: op IsNull or IsNotNull.
    void AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, ParamCompOperator op, int nFilterType = FilterAnd);
    void AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, LONG nValue, ParamCompOperator op,
        int nFilterType = FilterAnd);
    void AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, LPCWSTR lpszValue, ParamCompOperator op,
        int nFilterType = FilterAnd);
    // An invalid date-time raises CInvalidArgException.
    void AddToWhere(LPCWSTR lpszTable, LPCWSTR lpszColumn, const COleDateTime& value, ParamCompOperator op,
        int nFilterType = FilterAnd, DWORD dwWhereFlags = WhereDateTime);
    // "TABLE.COLUMN IN (sub-select)" (bIn) or "NOT IN" (copies the sub-statement, which
    // must select exactly one column).
    void AddWhereValuesInSubquery(LPCWSTR lpszTable, LPCWSTR lpszColumn, const CSQLStatement& subStatement,
        int nFilterType = FilterAnd, BOOL bIn = TRUE);

    // "SELECT cols FROM tables [WHERE ...]". CInvalidArgException when nothing is selected
    // or no table is named.
    CString FormatSelect() const;
    CString GetSQL() const { return FormatSelect(); }
    // "DELETE FROM table [WHERE ...]": the rows FormatSelect selects. The statement must
    // name exactly one table, else CInvalidArgException.
    CString FormatDelete() const;
    // The WHERE condition alone (empty when none).
    CString FormatWhere() const;

    bool IsEmpty() const { return m_columns.empty() && m_where.IsEmpty(); }
    void Reset();

    // An engine date-time literal; "NULL" for an invalid or null value.
    //  SQLite      '2008-07-05 15:04:05'       (the text bound timestamps are stored as;
    //                                           a fraction only when there is one: '...05.120')
    //  PostgreSQL  TIMESTAMP '2008-07-05 15:04:05.000'
    //  SQL Server  CONVERT(DATETIME, '2008-07-05 15:04:05.000', 121)
    //  Oracle      TO_DATE('2008-07-05 15:04:05', 'YYYY-MM-DD HH24:MI:SS')
    //  DB2         TIMESTAMP('2008-07-05 15:04:05.000000')
    //  others      {ts '2008-07-05 15:04:05.000'}
    static CString FormatTimestamp(const CZynDatabase* pDatabase, const COleDateTime& value);
    static CString FormatTimestamp(const CZynDatabase* pDatabase, const TIMESTAMP_STRUCT& value);
    static CString FormatTimestamp(const CZynDatabase* pDatabase, const CTime& value);
    static CString FormatTimestamp(ZynEngineType engine, const TIMESTAMP_STRUCT& value);
    // A text literal for the engine: quoted with quotes doubled (N'...' on SQL Server);
    // on SQLite, text beyond ASCII as char() of its code points, since that driver
    // narrows statement text to bytes.
    static CString TextLiteral(ZynEngineType engine, LPCWSTR lpszText);
    // Text safe between single quotes: every quote doubled.
    static CString FixupText(LPCWSTR lpszText);

private:
    void AddCondition(const CString& condition, int nFilterType, LPCWSTR lpszTable);
    void NoteTable(LPCWSTR lpszTable);
    static CString Qualified(LPCWSTR lpszTable, LPCWSTR lpszColumn);

    CZynDatabase* m_pDatabase;
    std::vector<CString> m_columns;
    std::vector<CString> m_tables;
    CString m_where;
};
