#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/zyn_acobject.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "platform/suite/utility/sysinfo.h"
#include "tests/support/testenv.h"

namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
CString Wide(const fs::path& p) { return CString(zyn::base::FromUtf8(p.string()).c_str()); }
} // namespace

TEST(StdioFileUnicode, WritesUtf16WithMarkAndReadsLinesBack)
{
    const fs::path path = fs::path(zyn::test::TempRoot()) / "lines.txt";
    {
        CStdioFileUnicode f;
        ASSERT_TRUE(f.Open(Wide(path), CFile::modeCreate | CFile::modeWrite));
        f.WriteString(L"first\tfield");
        f.WriteString(L"");
        f.WriteString(L"smile \U0001F600 end");
        f.WriteString(L"\u0A0A\u010A\u0A00 LF bytes that are no line end");
        f.Close();
    }
    const auto bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 'f');
    EXPECT_EQ(bytes[3], 0);

    CStdioFileUnicode f;
    ASSERT_TRUE(f.Open(Wide(path), CFile::modeRead));
    EXPECT_EQ(f.GetEncoding(), CStdioFileUnicode::Encoding::Utf16LE);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"first\tfield"));
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"smile \U0001F600 end"));
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"\u0A0A\u010A\u0A00 LF bytes that are no line end"));
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_FALSE(f.ReadString(line)) << "end of file stays reported";
}

TEST(StdioFileUnicode, AppendsWithoutASecondMarkAndReadsUtf8)
{
    const fs::path path = fs::path(zyn::test::TempRoot()) / "append.txt";
    for (int i = 0; i < 2; ++i) {
        CStdioFileUnicode f;
        ASSERT_TRUE(f.Open(Wide(path), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
        f.SeekToEnd();
        f.WriteString(i == 0 ? L"one" : L"two");
        f.Close();
    }
    const auto bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 2u + 2 * (3 + 2) * 2) << "one mark, two lines of three characters plus CR LF";

    const fs::path utf8 = fs::path(zyn::test::TempRoot()) / "utf8.txt";
    {
        std::ofstream out(utf8, std::ios::binary);
        out << "caf\xC3\xA9\r\nline two\nlast-no-newline";
    }
    CStdioFileUnicode f;
    ASSERT_TRUE(f.Open(Wide(utf8), CFile::modeRead));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"caf\u00E9"));
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"line two"));
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, CString(L"last-no-newline"));
    EXPECT_FALSE(f.ReadString(line));
}

TEST(StdioFileUnicode, ManyLinesCrossTheBuffer)
{
    const fs::path path = fs::path(zyn::test::TempRoot()) / "many.txt";
    {
        CStdioFileUnicode f;
        ASSERT_TRUE(f.Open(Wide(path), CFile::modeCreate | CFile::modeWrite));
        CString line;
        for (int i = 0; i < 20000; ++i) {
            line.Format(L"%d\tline number %d", i, i);
            f.WriteString(line);
        }
        f.Close();
    }
    CStdioFileUnicode f;
    ASSERT_TRUE(f.Open(Wide(path), CFile::modeRead));
    CString line, expected;
    int count = 0;
    while (f.ReadString(line)) {
        expected.Format(L"%d\tline number %d", count, count);
        ASSERT_EQ(line, expected);
        ++count;
    }
    EXPECT_EQ(count, 20000);
    EXPECT_EQ(f.GetMalformedLineCount(), 0u);

    // A file that is no regular file takes many lines too, sent on without an error.
    CStdioFileUnicode sink;
    ASSERT_TRUE(sink.Open(L"/dev/null", CFile::modeWrite));
    for (int i = 0; i < 20000; ++i)
        sink.WriteString(L"a line of the sink, long enough to pass a megabyte in all");
    EXPECT_NO_THROW(sink.Close());
}

TEST(StdioFileUnicode, MissingFileFailsCleanly)
{
    CStdioFileUnicode f;
    CFileException e;
    const CString missing = Wide(fs::path(zyn::test::TempRoot()) / "missing.txt");
    EXPECT_FALSE(f.Open(missing, CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(L"/nonexistent/folder/file.txt", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);
}

TEST(Logger, WritesErrorLinesWithCodeSourceAndLine)
{
    const CString dir = CLogger::GetLogDir();
    EXPECT_FALSE(dir.IsEmpty());
    ASSERT_TRUE(CLogger::LogError(CResult::GeneralError, L"src/LogEvent.cpp", 385, L"first\nmessage"));
    CInvalidArgException* e = new CInvalidArgException();
    e->SetDetail(L"bad index");
    ASSERT_TRUE(CLogger::LogError(CResult::DatabaseError, L"LogEvent", 12, L"second", e));
    e->Delete();
    ASSERT_TRUE(CLogger::LogDebug(L"timing 12 ms"));

    std::ifstream in(zyn::base::ToUtf8(CLogger::GetLogPath(CLogger::ErrorLogName).GetString()));
    std::string l1, l2;
    ASSERT_TRUE(std::getline(in, l1));
    ASSERT_TRUE(std::getline(in, l2));
    EXPECT_NE(l1.find("0x20010001 LogEvent.cpp(385): first message"), std::string::npos) << l1;
    EXPECT_NE(l2.find("0x20020001 LogEvent(12): second [CInvalidArgException: bad index]"), std::string::npos) << l2;
    std::ifstream diag(zyn::base::ToUtf8(CLogger::GetLogPath(CLogger::DiagnosticsLogName).GetString()));
    std::string d;
    ASSERT_TRUE(std::getline(diag, d));
    EXPECT_NE(d.find("timing 12 ms"), std::string::npos);
}

TEST(SysInfo, ComputerNameIsUpperCaseShortName)
{
    CString name;
    ASSERT_TRUE(SysInfo::GetComputerNameW(name, false, false));
    EXPECT_FALSE(name.IsEmpty());
    EXPECT_EQ(name.Find(L'.'), -1);
    CString upper(name);
    upper.MakeUpper();
    EXPECT_EQ(name, upper);
}

TEST(AcObject, NameTrimmedAndQmxTypes)
{
    CZynAcObject o(static_cast<ZynAcObjectType>(12), 42, -9999, L"Front door   ");
    EXPECT_EQ(o.GetName(), CString(L"Front door"));
    EXPECT_EQ(o.GetID(), 42);
    EXPECT_TRUE(o.IsKindOf(RUNTIME_CLASS(CZynAcObject)));
    EXPECT_TRUE(ZynIsQMXPanelType(75));
    EXPECT_TRUE(ZynIsQMXPanelType(76));
    EXPECT_FALSE(ZynIsQMXPanelType(74));
    EXPECT_FALSE(ZynIsQMXPanelType(-1));
}

// The CR that ends a line is a whole character of the file's encoding. A UTF-16 file
// that ends in an odd byte has a last unit 0x0D41 (bytes 41 0D) and then a stray 00:
// that pair is no CR, the character stays and the stray byte reads as U+FFFD.
TEST(StdioFileUnicode, OddLastByteOfUtf16IsNoLineEnd)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"odd byte after a character", {0xFF, 0xFE, 'x', 0, '\r', 0, '\n', 0, 0x41, 0x0D, 0x00},
            {L"x", L"\u0D41\uFFFD"}},
        {"real CR then an odd byte", {0xFF, 0xFE, 'a', 0, '\r', 0, 0x42}, {L"a\r\uFFFD"}},
        {"real CR at the end", {0xFF, 0xFE, 'a', 0, '\r', 0}, {L"a"}},
    };
    for (const Case& c : cases) {
        const fs::path path = fs::path(zyn::test::TempRoot()) / "odd.txt";
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        }
        CStdioFileUnicode f;
        ASSERT_TRUE(f.Open(Wide(path), CFile::modeRead)) << c.name;
        std::vector<std::wstring> lines;
        CString line;
        while (f.ReadString(line))
            lines.emplace_back(line.GetString(), static_cast<size_t>(line.GetLength()));
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(f.GetMalformedLineCount(), 1u - (c.lines.back() == L"a")) << c.name;
    }
}

TEST(StdioFileUnicode, EndWithWholeLineCutsOnlyATornLine)
{
    using Tail = CStdioFileUnicode::Tail;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        ULONGLONG maxTorn;
        Tail tail;
        std::vector<uint8_t> after;
    };
    const std::vector<uint8_t> whole16 = {0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0};
    const auto plus = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Case cases[] = {
        {"whole UTF-16", whole16, 64, Tail::Whole, whole16},
        {"UTF-16 torn after an odd byte", plus(whole16, {'b'}), 64, Tail::Mended, whole16},
        {"UTF-16 torn after a whole unit", plus(whole16, {'b', 0, 'c'}), 64, Tail::Mended, whole16},
        {"UTF-16 torn inside the LF", plus(whole16, {'b', 0, '\r', 0, '\n'}), 64, Tail::Mended, whole16},
        {"UTF-16 missing only the LF", plus(whole16, {'b', 0, '\r', 0}), 64, Tail::Mended,
            plus(whole16, {'b', 0, '\r', 0, '\n', 0})},
        {"UTF-16 first line torn", {0xFF, 0xFE, 'x', 0, 'y'}, 64, Tail::Mended, {0xFF, 0xFE}},
        {"UTF-16 lines shifted after a tear", plus(whole16, {'b', 'c', 0, '\r', 0, '\n', 0}), 64, Tail::Shifted,
            plus(whole16, {'b', 'c', 0, '\r', 0, '\n', 0})},
        {"UTF-16 torn part longer than a line", plus(whole16, {'b', 0, 'c', 0, 'd'}), 4, Tail::TooLong,
            plus(whole16, {'b', 0, 'c', 0, 'd'})},
        {"UTF-8 torn", {'a', '\r', '\n', 'b', 'c'}, 64, Tail::Mended, {'a', '\r', '\n'}},
        {"UTF-8 with a mark, first line torn", {0xEF, 0xBB, 0xBF, 'x'}, 64, Tail::Mended, {0xEF, 0xBB, 0xBF}},
    };
    for (const Case& c : cases) {
        const fs::path path = fs::path(zyn::test::TempRoot()) / "tail.txt";
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        }
        CStdioFileUnicode f;
        // Write-only, as a pass opens its file.
        ASSERT_TRUE(f.Open(Wide(path), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite)) << c.name;
        f.SeekToEnd();
        EXPECT_EQ(f.EndWithWholeLine(c.maxTorn), c.tail) << c.name;
        if (c.tail != Tail::Shifted && c.tail != Tail::TooLong)
            f.WriteString(L"z");
        f.Close();
        std::vector<uint8_t> expected = c.after;
        if (c.tail != Tail::Shifted && c.tail != Tail::TooLong) {
            const bool utf16 = c.bytes.size() >= 2 && c.bytes[0] == 0xFF && c.bytes[1] == 0xFE;
            expected = plus(expected, utf16 ? std::vector<uint8_t>{'z', 0, '\r', 0, '\n', 0}
                                            : std::vector<uint8_t>{'z', '\r', '\n'});
        }
        EXPECT_EQ(ReadBytes(path), expected) << c.name;
    }
}
