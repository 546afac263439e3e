#pragma once
// The archive tests' fixture: a fresh database of each engine with the suite's schema,
// open through a CZynDatabase, and archive files in the test's temporary folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/db/dbvalue.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/support/testenv.h"
#include "tests/db/db_test_util.h"
#include "tests/support/suite_db_fixture.h"

namespace zyn::test {

class ArchiveDbTest : public SuiteDbTest {
protected:
    // Runs a statement with parameters.
    void ExecParams(const wchar_t* sql, const std::vector<zyn::afx::DbValue>& params);
    // A mapping of the identifier mapping table.
    void AddMapping(const wchar_t* table, const wchar_t* column, int32_t oldId, int32_t newId);
};

// A fresh path in the test's temporary folder.
std::wstring TempFilePath(const std::wstring& name);
// Writes the lines through CStdioFileUnicode (a new file).
void WriteLines(const std::wstring& path, const std::vector<CString>& lines);
// Reads every line through CStdioFileUnicode.
std::vector<CString> ReadLines(const std::wstring& path);

// Opens an archive file for appending (created when missing) / for reading; fails the
// test when it cannot.
void OpenForAppend(CStdioFileUnicode& file, const std::wstring& path);
void OpenForRead(CStdioFileUnicode& file, const std::wstring& path);

TIMESTAMP_STRUCT Ts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
std::string U8(const CString& s);

// The text of the error log written since the mark was made.

// The restore callbacks of the tests: count the calls; stop after `stopAfter` calls
// (0: never).
struct ProgressLog {
    std::vector<LONG> counts;
    size_t stopAfter = 0;
};
bool RecordProgress(LONG nCount, void* pContext);

} // namespace zyn::test

#define ZYN_INSTANTIATE_ARCHIVE_ENGINES(Suite) ZYN_INSTANTIATE_ENGINES(Suite)
