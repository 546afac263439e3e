#include "tests/archive/archive_fixture.h"

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/utf16.h"
#include "platform/suite/utility/logger.h"
#include "tests/support/testenv.h"

namespace zyn::test {

void ArchiveDbTest::ExecParams(const wchar_t* sql, const std::vector<zyn::afx::DbValue>& params)
{
    try {
        m_db->ExecuteSQL(sql, params);
    } catch (CException* e) {
        ADD_FAILURE() << "SQL failed: " << zyn::base::ToUtf8(sql) << ": " << DescribeDbException(e);
        e->Delete();
    }
}

void ArchiveDbTest::AddMapping(const wchar_t* table, const wchar_t* column, int32_t oldId, int32_t newId)
{
    ExecParams(L"INSERT INTO ZYN_ID_MAPPING (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID) VALUES (?, ?, ?, ?)",
        {CString(table), CString(column), oldId, newId});
}

std::wstring TempFilePath(const std::wstring& name)
{
    static std::atomic<int> counter{0};
    const std::filesystem::path dir = std::filesystem::path(TempRoot()) / "archive";
    std::filesystem::create_directories(dir);
    const std::wstring file = std::to_wstring(++counter) + L"-" + name;
    return (dir / file).wstring();
}

void OpenForAppend(CStdioFileUnicode& file, const std::wstring& path)
{
    CFileException error;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, &error))
        << "cannot open " << zyn::base::ToUtf8(path.c_str());
    file.SeekToEnd();
}

void OpenForRead(CStdioFileUnicode& file, const std::wstring& path)
{
    CFileException error;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead, &error)) << "cannot open " << zyn::base::ToUtf8(path.c_str());
}

void WriteLines(const std::wstring& path, const std::vector<CString>& lines)
{
    CStdioFileUnicode file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    for (const CString& line : lines)
        file.WriteString(line.GetString());
    file.Close();
}

std::vector<CString> ReadLines(const std::wstring& path)
{
    std::vector<CString> lines;
    CStdioFileUnicode file;
    if (!file.Open(path.c_str(), CFile::modeRead)) {
        ADD_FAILURE() << "cannot read " << zyn::base::ToUtf8(path.c_str());
        return lines;
    }
    CString line;
    while (file.ReadString(line))
        lines.push_back(line);
    return lines;
}

TIMESTAMP_STRUCT Ts(int year, int month, int day, int hour, int minute, int second)
{
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(year);
    ts.month = static_cast<uint16_t>(month);
    ts.day = static_cast<uint16_t>(day);
    ts.hour = static_cast<uint16_t>(hour);
    ts.minute = static_cast<uint16_t>(minute);
    ts.second = static_cast<uint16_t>(second);
    return ts;
}

std::string U8(const CString& s)
{
    return zyn::base::ToUtf8(s.GetString());
}

bool RecordProgress(LONG nCount, void* pContext)
{
    auto* log = static_cast<ProgressLog*>(pContext);
    log->counts.push_back(nCount);
    return log->stopAfter == 0 || log->counts.size() < log->stopAfter;
}

} // namespace zyn::test
