#include "tests/archvis/archvis_fixture.h"

#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "platform/base/file.h"
#include "platform/base/utf16.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "tests/support/testenv.h"

namespace zyn::test {

bool SameTime(const TIMESTAMP_STRUCT& a, const TIMESTAMP_STRUCT& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
        a.second == b.second;
}

std::string Show(const DbValue& v)
{
    std::ostringstream os;
    if (std::holds_alternative<std::monostate>(v))
        os << "NULL";
    else if (auto p = std::get_if<int32_t>(&v))
        os << *p;
    else if (auto p64 = std::get_if<int64_t>(&v))
        os << *p64;
    else if (auto pd = std::get_if<double>(&v))
        os << *pd;
    else if (auto ps = std::get_if<CString>(&v))
        os << '"' << zyn::base::ToUtf8(ps->GetString()) << '"';
    else if (auto pt = std::get_if<TIMESTAMP_STRUCT>(&v))
        os << pt->year << '-' << pt->month << '-' << pt->day << ' ' << pt->hour << ':' << pt->minute << ':'
           << pt->second;
    else
        os << "(bytes)";
    return os.str();
}

void ArchVisTest::Run(const wchar_t* sql, const std::vector<DbValue>& params)
{
    try {
        m_db->ExecuteSQL(sql, std::span<const DbValue>(params));
    } catch (CException* e) {
        ADD_FAILURE() << "statement failed: " << zyn::base::ToUtf8(sql) << ": " << DescribeDbException(e);
        e->Delete();
    }
}

DbValue ArchVisTest::Value(const wchar_t* sql, const std::vector<DbValue>& params)
{
    DbValue out;
    try {
        m_db->QueryValue(sql, std::span<const DbValue>(params), out);
    } catch (CException* e) {
        ADD_FAILURE() << "query failed: " << zyn::base::ToUtf8(sql) << ": " << DescribeDbException(e);
        e->Delete();
    }
    return out;
}

void ArchVisTest::MapId(const wchar_t* table, const wchar_t* column, int32_t oldId, int32_t newId)
{
    Run(L"INSERT INTO ZYN_ID_MAPPING (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID) VALUES (?, ?, ?, ?)",
        {T(table), T(column), I(oldId), I(newId)});
}

std::wstring ArchVisTest::FilePath(const wchar_t* name) const
{
    static std::atomic<int> serial{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string stem = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : stem)
        if (c == '/')
            c = '_';
    return zyn::base::FromUtf8(TempRoot()) + L"/" + zyn::base::FromUtf8(stem) + L"_" + std::to_wstring(++serial) +
        L"_" + name;
}

void ArchVisTest::OpenForWrite(CStdioFileUnicode& file, const std::wstring& path)
{
    if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite))
        throw std::runtime_error("cannot create the archive file");
}

void ArchVisTest::OpenForRead(CStdioFileUnicode& file, const std::wstring& path)
{
    if (!file.Open(path.c_str(), CFile::modeRead))
        throw std::runtime_error("cannot open the archive file");
}

void ArchVisTest::WriteLines(const std::wstring& path, const std::vector<CString>& lines)
{
    CStdioFileUnicode file;
    OpenForWrite(file, path);
    for (const CString& line : lines)
        file.WriteString(line.GetString());
    file.Close();
}

std::vector<CString> ArchVisTest::ReadLines(const std::wstring& path)
{
    std::vector<CString> lines;
    CStdioFileUnicode file;
    OpenForRead(file, path);
    CString line;
    while (file.ReadString(line))
        lines.push_back(line);
    file.Close();
    return lines;
}

CString Line(const std::vector<const wchar_t*>& fields)
{
    CString line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += L"\t";
        line += fields[i];
    }
    return line;
}

std::vector<CString> Fields(const CString& line)
{
    std::vector<CString> out;
    int start = 0;
    for (int i = 0; i <= line.GetLength(); ++i) {
        if (i == line.GetLength() || line[i] == L'\t') {
            out.push_back(line.Mid(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

void ExpectInt(const DbValue& v, int64_t expected, const char* what)
{
    if (auto p = std::get_if<int64_t>(&v))
        EXPECT_EQ(*p, expected) << what;
    else if (auto p32 = std::get_if<int32_t>(&v))
        EXPECT_EQ(*p32, expected) << what;
    else if (auto ps = std::get_if<CString>(&v))
        EXPECT_EQ(zyn::base::ToUtf8(ps->GetString()), std::to_string(expected)) << what;
    else
        ADD_FAILURE() << what << ": expected " << expected << ", got " << Show(v);
}

void ExpectText(const DbValue& v, const CString& expected, const char* what)
{
    if (auto ps = std::get_if<CString>(&v))
        EXPECT_EQ(zyn::base::ToUtf8(ps->GetString()), zyn::base::ToUtf8(expected.GetString())) << what;
    else
        ADD_FAILURE() << what << ": expected text, got " << Show(v);
}

void ExpectTime(const DbValue& v, int y, int mo, int d, int h, int mi, int s, const char* what)
{
    const TIMESTAMP_STRUCT want{static_cast<int16_t>(y), static_cast<uint16_t>(mo), static_cast<uint16_t>(d),
        static_cast<uint16_t>(h), static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0};
    if (auto pt = std::get_if<TIMESTAMP_STRUCT>(&v))
        EXPECT_TRUE(SameTime(*pt, want)) << what << ": got " << Show(v) << ", want " << Show(DbValue(want));
    else
        ADD_FAILURE() << what << ": expected a time, got " << Show(v);
}

void ExpectNull(const DbValue& v, const char* what)
{
    EXPECT_TRUE(std::holds_alternative<std::monostate>(v)) << what << ": expected NULL, got " << Show(v);
}

} // namespace zyn::test
