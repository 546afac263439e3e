#pragma once
// Rows of the ODBC catalogue look-ups (CDatabase::GetTables / GetColumns). Names are as
// the engine stores them (PostgreSQL: lower case for unquoted names); compare them with
// CompareNoCase, or use the Find helpers, which do.

#include <vector>

#include "platform/base/cstring.h"

namespace zyn::afx {

struct DbTableInfo {
    CString catalog;
    CString schema;
    CString name;
    CString type; // "TABLE", "VIEW", "SYSTEM TABLE"...
};

struct DbColumnInfo {
    CString table;
    CString name;
    // SQL_INTEGER, SQL_WVARCHAR... (the ODBC DATA_TYPE). Text columns carry the wide
    // types (SQL_WCHAR, SQL_WVARCHAR, SQL_WLONGVARCHAR) on every engine: the connection
    // is Unicode. PostgreSQL's TEXT is SQL_WLONGVARCHAR, SQLite's TEXT SQL_WLONGVARCHAR.
    int16_t sqlType = 0;
    CString typeName;         // the engine's own type name ("int4", "VARCHAR(10)"...)
    // Characters for text, digits for numbers; 0 when unknown or unlimited (SQLite's
    // TEXT). PostgreSQL's TEXT reports the driver's MaxLongVarcharSize.
    int32_t columnSize = 0;
    int16_t decimalDigits = 0;
    int16_t nullable = 2;     // SQL_NO_NULLS, SQL_NULLABLE, SQL_NULLABLE_UNKNOWN
    int32_t ordinal = 0;      // 1-based position in the table
    CString defaultValue;     // the column's default as SQL text; empty when none
    bool hasDefault = false;
};

// Case-insensitive searches in look-up results; null when absent.
const DbTableInfo* FindTable(const std::vector<DbTableInfo>& tables, LPCWSTR name);
const DbColumnInfo* FindColumn(const std::vector<DbColumnInfo>& columns, LPCWSTR name);

} // namespace zyn::afx
