#pragma once
// Constants of the database classes: the ODBC values that callers pass or read back
// (SQL types, fetch orientations, parameter directions, return codes) and the class
// library's own error codes. The ODBC values are defined here as constants so that code
// using the database classes never includes the ODBC headers, whose Windows types clash
// with ours: only the driver layer (odbc_driver.cpp) includes them, and it never
// includes this header.

#include <cstdint>

#include "platform/base/wintypes.h"

using RETCODE = int16_t;
using SQLRETURN = int16_t;
using HENV = void*;
using HDBC = void*;
using HSTMT = void*;

// Return codes.
inline constexpr RETCODE SQL_SUCCESS = 0;
inline constexpr RETCODE SQL_SUCCESS_WITH_INFO = 1;
inline constexpr RETCODE SQL_NO_DATA = 100;
inline constexpr RETCODE SQL_NO_DATA_FOUND = 100;
inline constexpr RETCODE SQL_ERROR = -1;
inline constexpr RETCODE SQL_INVALID_HANDLE = -2;
inline constexpr RETCODE SQL_STILL_EXECUTING = 2;
inline constexpr RETCODE SQL_NEED_DATA = 99;

// SQL data types (as reported by catalogue functions and SQLDescribeCol).
inline constexpr int16_t SQL_UNKNOWN_TYPE = 0;
inline constexpr int16_t SQL_CHAR = 1;
inline constexpr int16_t SQL_NUMERIC = 2;
inline constexpr int16_t SQL_DECIMAL = 3;
inline constexpr int16_t SQL_INTEGER = 4;
inline constexpr int16_t SQL_SMALLINT = 5;
inline constexpr int16_t SQL_FLOAT = 6;
inline constexpr int16_t SQL_REAL = 7;
inline constexpr int16_t SQL_DOUBLE = 8;
inline constexpr int16_t SQL_DATETIME = 9;
inline constexpr int16_t SQL_DATE = 9;
inline constexpr int16_t SQL_TIME = 10;
inline constexpr int16_t SQL_TIMESTAMP = 11;
inline constexpr int16_t SQL_VARCHAR = 12;
inline constexpr int16_t SQL_TYPE_DATE = 91;
inline constexpr int16_t SQL_TYPE_TIME = 92;
inline constexpr int16_t SQL_TYPE_TIMESTAMP = 93;
inline constexpr int16_t SQL_LONGVARCHAR = -1;
inline constexpr int16_t SQL_BINARY = -2;
inline constexpr int16_t SQL_VARBINARY = -3;
inline constexpr int16_t SQL_LONGVARBINARY = -4;
inline constexpr int16_t SQL_BIGINT = -5;
inline constexpr int16_t SQL_TINYINT = -6;
inline constexpr int16_t SQL_BIT = -7;
inline constexpr int16_t SQL_WCHAR = -8;
inline constexpr int16_t SQL_WVARCHAR = -9;
inline constexpr int16_t SQL_WLONGVARCHAR = -10;
inline constexpr int16_t SQL_GUID = -11;

// Nullability.
inline constexpr int16_t SQL_NO_NULLS = 0;
inline constexpr int16_t SQL_NULLABLE = 1;
inline constexpr int16_t SQL_NULLABLE_UNKNOWN = 2;

// Fetch orientations (CRecordset::Move).
inline constexpr WORD SQL_FETCH_NEXT = 1;
inline constexpr WORD SQL_FETCH_FIRST = 2;
inline constexpr WORD SQL_FETCH_LAST = 3;
inline constexpr WORD SQL_FETCH_PRIOR = 4;
inline constexpr WORD SQL_FETCH_ABSOLUTE = 5;
inline constexpr WORD SQL_FETCH_RELATIVE = 6;

// Parameter directions (CFieldExchange::SetFieldType).
inline constexpr int16_t SQL_PARAM_TYPE_UNKNOWN = 0;
inline constexpr int16_t SQL_PARAM_INPUT = 1;
inline constexpr int16_t SQL_PARAM_INPUT_OUTPUT = 2;
inline constexpr int16_t SQL_RESULT_COL = 3;
inline constexpr int16_t SQL_PARAM_OUTPUT = 4;
inline constexpr int16_t SQL_RETURN_VALUE = 5;

// CRecordset::Open: the set's own default open type (GetDefaultOpenType-less sets: snapshot).
inline constexpr UINT AFX_DB_USE_DEFAULT_TYPE = 0xFFFFFFFF;

// CDBException::m_nRetCode values raised by the database classes themselves (no driver
// diagnostic behind them).
inline constexpr RETCODE AFX_SQL_ERROR = 1000;
inline constexpr RETCODE AFX_SQL_ERROR_CONNECT_FAIL = AFX_SQL_ERROR + 1;
inline constexpr RETCODE AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY = AFX_SQL_ERROR + 2;
inline constexpr RETCODE AFX_SQL_ERROR_EMPTY_COLUMN_LIST = AFX_SQL_ERROR + 3;
inline constexpr RETCODE AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH = AFX_SQL_ERROR + 4;
inline constexpr RETCODE AFX_SQL_ERROR_ILLEGAL_MODE = AFX_SQL_ERROR + 5;
inline constexpr RETCODE AFX_SQL_ERROR_MULTIPLE_ROWS_AFFECTED = AFX_SQL_ERROR + 6;
inline constexpr RETCODE AFX_SQL_ERROR_NO_CURRENT_RECORD = AFX_SQL_ERROR + 7;
inline constexpr RETCODE AFX_SQL_ERROR_NO_ROWS_AFFECTED = AFX_SQL_ERROR + 8;
inline constexpr RETCODE AFX_SQL_ERROR_RECORDSET_READONLY = AFX_SQL_ERROR + 9;
inline constexpr RETCODE AFX_SQL_ERROR_SQL_NO_TOTAL = AFX_SQL_ERROR + 10;
inline constexpr RETCODE AFX_SQL_ERROR_ODBC_LOAD_FAILED = AFX_SQL_ERROR + 11;
inline constexpr RETCODE AFX_SQL_ERROR_DYNASET_NOT_SUPPORTED = AFX_SQL_ERROR + 12;
inline constexpr RETCODE AFX_SQL_ERROR_SNAPSHOT_NOT_SUPPORTED = AFX_SQL_ERROR + 13;
inline constexpr RETCODE AFX_SQL_ERROR_API_CONFORMANCE = AFX_SQL_ERROR + 14;
inline constexpr RETCODE AFX_SQL_ERROR_SQL_CONFORMANCE = AFX_SQL_ERROR + 15;
inline constexpr RETCODE AFX_SQL_ERROR_NO_AUTOCOMMIT = AFX_SQL_ERROR + 16;
inline constexpr RETCODE AFX_SQL_ERROR_NO_POSITIONED_UPDATES = AFX_SQL_ERROR + 17;
inline constexpr RETCODE AFX_SQL_ERROR_LOCK_MODE_NOT_SUPPORTED = AFX_SQL_ERROR + 18;
inline constexpr RETCODE AFX_SQL_ERROR_DATA_TRUNCATED = AFX_SQL_ERROR + 19;
inline constexpr RETCODE AFX_SQL_ERROR_ROW_FETCH = AFX_SQL_ERROR + 20;
inline constexpr RETCODE AFX_SQL_ERROR_INCORRECT_ODBC = AFX_SQL_ERROR + 21;
inline constexpr RETCODE AFX_SQL_ERROR_UPDATE_DELETE_FAILED = AFX_SQL_ERROR + 22;
inline constexpr RETCODE AFX_SQL_ERROR_DYNAMIC_CURSOR_NOT_SUPPORTED = AFX_SQL_ERROR + 23;
inline constexpr RETCODE AFX_SQL_ERROR_FIELD_NOT_FOUND = AFX_SQL_ERROR + 24;
inline constexpr RETCODE AFX_SQL_ERROR_BOOKMARKS_NOT_SUPPORTED = AFX_SQL_ERROR + 25;
inline constexpr RETCODE AFX_SQL_ERROR_BOOKMARKS_NOT_ENABLED = AFX_SQL_ERROR + 26;
// Ours: a key column needed by a searched UPDATE or DELETE is missing or NULL.
inline constexpr RETCODE AFX_SQL_ERROR_NO_KEY_COLUMNS = AFX_SQL_ERROR + 27;
inline constexpr RETCODE AFX_SQL_ERROR_MAX = AFX_SQL_ERROR + 28;
