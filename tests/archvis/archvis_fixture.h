#pragma once
// The fixture of the archive-set tests: a fresh database of each engine with the
// suite's schema, open through a CZynDatabase, and helpers for rows, archive files and
// the identifier mapping.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/afx/db/dbvalue.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"
#include "tests/support/testenv.h"
#include "tests/db/db_test_util.h"
#include "tests/support/suite_db_fixture.h"

class CStdioFileUnicode;

namespace zyn::test {

using zyn::afx::DbValue;

inline DbValue Null() { return DbValue(); }
inline DbValue I(int32_t v) { return DbValue(v); }
inline DbValue T(const wchar_t* v) { return DbValue(CString(v)); }
inline DbValue T(const CString& v) { return DbValue(v); }
inline DbValue Ts(int y, int mo, int d, int h, int mi, int s)
{
    return DbValue(TIMESTAMP_STRUCT{static_cast<int16_t>(y), static_cast<uint16_t>(mo), static_cast<uint16_t>(d),
        static_cast<uint16_t>(h), static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0});
}
bool SameTime(const TIMESTAMP_STRUCT& a, const TIMESTAMP_STRUCT& b);
std::string Show(const DbValue& v);

class ArchVisTest : public SuiteDbTest {
protected:
    // Runs a statement with bound parameters; fails the test on a database error.
    void Run(const wchar_t* sql, const std::vector<DbValue>& params = {});
    // The first column of the first row (NULL when there is none).
    DbValue Value(const wchar_t* sql, const std::vector<DbValue>& params = {});
    // The identifier mapping of restored rows: old -> new for (table, column).
    void MapId(const wchar_t* table, const wchar_t* column, int32_t oldId, int32_t newId);

    // A path for an archive file of this test.
    std::wstring FilePath(const wchar_t* name) const;
    static void OpenForWrite(CStdioFileUnicode& file, const std::wstring& path);
    static void OpenForRead(CStdioFileUnicode& file, const std::wstring& path);
    static void WriteLines(const std::wstring& path, const std::vector<CString>& lines);
    static std::vector<CString> ReadLines(const std::wstring& path);
};

// A line from fields joined with tabs.
CString Line(const std::vector<const wchar_t*>& fields);
// Splits a line at its tabs.
std::vector<CString> Fields(const CString& line);

// Expectations on a DbValue.
void ExpectInt(const DbValue& v, int64_t expected, const char* what);
void ExpectText(const DbValue& v, const CString& expected, const char* what);
void ExpectTime(const DbValue& v, int y, int mo, int d, int h, int mi, int s, const char* what);
void ExpectNull(const DbValue& v, const char* what);

} // namespace zyn::test
