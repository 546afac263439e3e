// CFile and CStdioFile.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <memory>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/lasterror.h"
#include "platform/base/stdiofile.h"
#include "tests/files/files_util.h"

using files_test::NativeDir;
using files_test::ReadNative;
using files_test::Win;
using files_test::WriteNative;

namespace {

// Runs f, expecting a CFileException with the cause; frees the exception.
template <class F>
void ExpectFileError(int cause, F f)
{
    try {
        f();
        ADD_FAILURE() << "no CFileException";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, cause);
        e->Delete();
    }
}

} // namespace

TEST(CFile, OpenErrorsCarryTheirCause)
{
    const std::string dir = NativeDir("cfile_errors");
    const std::wstring w = Win(dir);
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open((w + L"\\missing.bin").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_lOsError, ENOENT);
    EXPECT_EQ(e.m_strFileName, CString((w + L"\\missing.bin").c_str()));
    EXPECT_EQ(f.m_hFile, CFile::hFileNull);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(f.Open((w + L"\\nodir\\x.bin").c_str(), CFile::modeCreate | CFile::modeWrite, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);

    EXPECT_FALSE(f.Open(w.c_str(), CFile::modeRead, &e)) << "a folder is not a file";
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);

    EXPECT_FALSE(f.Open((w + L"\\x").c_str(), CFile::modeWrite | CFile::modeReadWrite | CFile::modeCreate, &e));
    EXPECT_EQ(e.m_cause, CFileException::genericException);

    // The opening constructor throws.
    ExpectFileError(CFileException::fileNotFound, [&] { CFile g((w + L"\\missing.bin").c_str(), CFile::modeRead); });
    // Without an exception object, Open just fails.
    EXPECT_FALSE(f.Open((w + L"\\missing.bin").c_str(), CFile::modeRead));
}

TEST(CFile, ReadWriteSeekAndLength)
{
    const std::string dir = NativeDir("cfile_rw");
    const std::wstring path = Win(dir) + L"\\data.bin";
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        EXPECT_NE(f.m_hFile, CFile::hFileNull);
        EXPECT_EQ(f.GetLength(), 0u);
        f.Write("hello world", 11);
        EXPECT_EQ(f.GetPosition(), 11u);
        EXPECT_EQ(f.Seek(-5, CFile::current), 6u);
        char buf[16] = {};
        EXPECT_EQ(f.Read(buf, sizeof buf), 5u) << "short read at the end";
        EXPECT_STREQ(buf, "world");
        EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
        f.SeekToBegin();
        EXPECT_EQ(f.Read(buf, 5), 5u);
        EXPECT_EQ(f.SeekToEnd(), 11u);
        // Seeking past the end is allowed; writing there fills the gap with zeros.
        EXPECT_EQ(f.Seek(2, CFile::end), 13u);
        f.Write("!", 1);
        EXPECT_EQ(f.GetLength(), 14u);
        ExpectFileError(CFileException::badSeek, [&] { f.Seek(-100, CFile::begin); });
        EXPECT_EQ(f.GetPosition(), 14u) << "a failed seek does not move";
        f.SetLength(5);
        EXPECT_EQ(f.GetLength(), 5u);
        EXPECT_EQ(f.GetPosition(), 5u) << "SetLength leaves the position at the new end";
        f.SetLength(8);
        f.FlushToDisk();
        f.Close();
        EXPECT_EQ(f.m_hFile, CFile::hFileNull);
        EXPECT_TRUE(f.GetFilePath().IsEmpty()) << "Close forgets the name";
        ExpectFileError(CFileException::invalidFile, [&] { f.Write("x", 1); });
    }
    const std::string bytes = ReadNative(zyn::base::ToNativePath(path));
    EXPECT_EQ(bytes, std::string("hello\0\0\0", 8));
}

TEST(CFile, NamesAndStatus)
{
    const std::string dir = NativeDir("cfile_names");
    const std::wstring w = Win(dir);
    CFile f((w + L"\\sub\\..\\report.final.txt").c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(f.GetFilePath(), CString((w + L"/report.final.txt").c_str())) << "the full, normalised path";
    EXPECT_EQ(f.GetFileName(), CString(L"report.final.txt"));
    EXPECT_EQ(f.GetFileTitle(), CString(L"report.final"));
    f.Write("abc", 3);

    CFileStatus st;
    ASSERT_TRUE(f.GetStatus(st));
    EXPECT_EQ(st.m_size, 3u);
    EXPECT_EQ(st.m_attribute, 0) << "a normal file has no attribute bits";
    EXPECT_EQ(std::wstring(st.m_szFullName), w + L"/report.final.txt");
    f.Close();

    CFileStatus st2;
    ASSERT_TRUE(CFile::GetStatus((w + L"/report.final.txt").c_str(), st2));
    EXPECT_EQ(st2.m_size, 3u);
    EXPECT_EQ(st2.m_mtime, st.m_mtime);
    EXPECT_GT(st2.m_mtime.GetYear(), 2000);
    ASSERT_TRUE(CFile::GetStatus(w.c_str(), st2));
    EXPECT_EQ(st2.m_attribute, CFile::directory);
    EXPECT_FALSE(CFile::GetStatus((w + L"\\none").c_str(), st2));

    // A path too long for m_szFullName is refused rather than cut.
    std::wstring longName = w + L"\\" + std::wstring(200, L'n');
    std::wstring deep = longName + L"\\" + std::wstring(100, L'm');
    ASSERT_EQ(::mkdir(zyn::base::ToNativePath(longName).c_str(), 0777), 0);
    files_test::WriteNative(zyn::base::ToNativePath(deep), "z");
    EXPECT_FALSE(CFile::GetStatus(deep.c_str(), st2));
}

TEST(CFile, RenameAndRemove)
{
    const std::string dir = NativeDir("cfile_rename");
    const std::wstring w = Win(dir);
    WriteNative(dir + "/a", "1");
    WriteNative(dir + "/b", "2");
    ExpectFileError(CFileException::accessDenied, [&] { CFile::Rename((w + L"\\a").c_str(), (w + L"\\b").c_str()); });
    CFile::Rename((w + L"\\a").c_str(), (w + L"\\c").c_str());
    EXPECT_EQ(ReadNative(dir + "/c"), "1");
    ExpectFileError(CFileException::fileNotFound, [&] { CFile::Rename((w + L"\\a").c_str(), (w + L"\\d").c_str()); });
    CFile::Remove((w + L"\\c").c_str());
    ExpectFileError(CFileException::fileNotFound, [&] { CFile::Remove((w + L"\\c").c_str()); });
    ExpectFileError(CFileException::badPath, [&] { CFile::Remove((w + L"\\none\\c").c_str()); });
}

TEST(CFile, ShareModesBetweenOpenFiles)
{
    const std::string dir = NativeDir("cfile_share");
    const std::wstring path = Win(dir) + L"\\s.bin";
    WriteNative(dir + "/s.bin", "keep me");
    {
        // The default share mode is exclusive.
        CFile first(path.c_str(), CFile::modeRead);
        CFile second;
        CFileException e;
        EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead, &e));
        EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
        // A refused truncating open must not have truncated anything.
        EXPECT_FALSE(second.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone, &e));
        EXPECT_EQ(ReadNative(dir + "/s.bin"), "keep me");
    }
    {
        CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
        CFile other;
        EXPECT_TRUE(other.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
        other.Close();
        CFileException e;
        EXPECT_FALSE(other.Open(path.c_str(), CFile::modeWrite | CFile::shareDenyNone, &e));
        EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
    }
    {
        CFile a(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
        CFile b(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
        std::unique_ptr<CFile> c(a.Duplicate());
        EXPECT_EQ(c->GetLength(), 7u);
        EXPECT_NE(c->m_hFile, a.m_hFile);
    }
    // Everything closed: an exclusive open works again.
    CFile again(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
}

TEST(CFile, HandleIsNotADescriptor)
{
    const std::string dir = NativeDir("cfile_handle");
    CFile f((Win(dir) + L"\\h").c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_GE(reinterpret_cast<uintptr_t>(f.m_hFile), 0x10000u);
    WIN32_FIND_DATAW fd;
    EXPECT_FALSE(FindNextFileW(f.m_hFile, &fd)) << "a file handle is no search handle";
    EXPECT_FALSE(FindClose(f.m_hFile));
    EXPECT_NE(f.m_hFile, CFile::hFileNull);
}

TEST(CFileException, ErrnoMapping)
{
    EXPECT_EQ(CFileException::OsErrorToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::OsErrorToException(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::OsErrorToException(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToException(EIO), CFileException::hardIO);
    EXPECT_EQ(CFileException::OsErrorToException(EBADF), CFileException::invalidFile);
    EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
    CFileException::ThrowOsError(0); // no error: nothing thrown
    ExpectFileError(CFileException::diskFull, [] { CFileException::ThrowOsError(ENOSPC, L"x"); });
}

// ---- CStdioFile --------------------------------------------------------------------------

TEST(CStdioFile, TextModeLineEnds)
{
    const std::string dir = NativeDir("stdio_text");
    const std::wstring path = Win(dir) + L"\\t.txt";
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"first\nsecond\n");
        f.WriteString(L"no end");
        f.Close();
    }
    EXPECT_EQ(ReadNative(dir + "/t.txt"), "first\r\nsecond\r\nno end");

    WriteNative(dir + "/in.txt", "a\r\nb\n\r\nlone\rcr\r\n\nlast");
    CStdioFile f((Win(dir) + L"\\in.txt").c_str(), CFile::modeRead);
    CString s;
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"a"));
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"b"));
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"")) << "an empty line still counts";
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"lone\rcr")) << "a lone CR stays";
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L""));
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"last"));
    EXPECT_FALSE(f.ReadString(s));
    EXPECT_TRUE(s.IsEmpty());

    // The buffer form keeps the line end, translated.
    f.SeekToBegin();
    WCHAR buf[8];
    ASSERT_TRUE(f.ReadString(buf, 8));
    EXPECT_STREQ(buf, L"a\n");
    ASSERT_TRUE(f.ReadString(buf, 2));
    EXPECT_STREQ(buf, L"b") << "nMax - 1 characters at most";
    ASSERT_TRUE(f.ReadString(buf, 8));
    EXPECT_STREQ(buf, L"\n");
    // Raw Read in text mode translates too.
    f.SeekToBegin();
    char raw[5] = {};
    EXPECT_EQ(f.Read(raw, 4), 4u);
    EXPECT_EQ(std::string(raw, 4), "a\nb\n");
}

TEST(CStdioFile, TextModeUsesTheAnsiCodePage)
{
    const std::string dir = NativeDir("stdio_acp");
    const UINT saved = GetACP();
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
    {
        CStdioFile f((Win(dir) + L"\\w.txt").c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.WriteString(L"caf\u00e9 \u20ac\n");
        // A character 1252 cannot hold is refused, not replaced.
        try {
            f.WriteString(L"\u4e2d");
            ADD_FAILURE() << "no exception";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_lOsError, EILSEQ);
            e->Delete();
        }
        f.SeekToBegin();
        CString s;
        ASSERT_TRUE(f.ReadString(s));
        EXPECT_EQ(s, CString(L"caf\u00e9 \u20ac"));
        f.Close();
    }
    EXPECT_EQ(ReadNative(dir + "/w.txt"), "caf\xE9 \x80\r\n");

    ASSERT_TRUE(zyn::base::SetAnsiCodePage(65001));
    {
        CStdioFile f((Win(dir) + L"\\u.txt").c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.WriteString(L"\u4e2d\U0001F600\n");
        f.SeekToBegin();
        WCHAR buf[8];
        ASSERT_TRUE(f.ReadString(buf, 8));
        EXPECT_EQ(std::wstring(buf), L"\u4e2d\U0001F600\n");
        f.Close();
    }
    EXPECT_EQ(ReadNative(dir + "/u.txt"), "\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n");
    zyn::base::SetAnsiCodePage(saved);
}

TEST(CStdioFile, BinaryModeIsUtf16)
{
    const std::string dir = NativeDir("stdio_bin");
    const std::wstring path = Win(dir) + L"\\b.txt";
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        f.WriteString(L"A\n\U0001F600\n");
    } // the destructor writes the buffer out
    EXPECT_EQ(ReadNative(dir + "/b.txt"), std::string("A\0\n\0\x3D\xD8\x00\xDE\n\0", 10));
    CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeBinary);
    CString s;
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"A"));
    ASSERT_TRUE(f.ReadString(s));
    EXPECT_EQ(s, CString(L"\U0001F600"));
    EXPECT_FALSE(f.ReadString(s));
}

TEST(CStdioFile, AppendModesAndPositions)
{
    const std::string dir = NativeDir("stdio_append");
    const std::wstring path = Win(dir) + L"\\log.txt";
    WriteNative(dir + "/log.txt", "one\r\n");
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        f.SeekToBegin();
        f.WriteString(L"two\n"); // appended, as the class library does for this mode
        EXPECT_EQ(f.GetLength(), 10u);
        f.Close();
    }
    EXPECT_EQ(ReadNative(dir + "/log.txt"), "one\r\ntwo\r\n");
    {
        CStdioFile f(path.c_str(), CFile::modeReadWrite);
        CString s;
        ASSERT_TRUE(f.ReadString(s));
        EXPECT_EQ(f.GetPosition(), 5u) << "the position counts what was consumed, not what was buffered";
        f.Seek(0, CFile::current);
        f.WriteString(L"TWO");
        f.Close();
    }
    EXPECT_EQ(ReadNative(dir + "/log.txt"), "one\r\nTWO\r\n");
    ExpectFileError(CFileException::fileNotFound,
        [&] { CStdioFile g((Win(dir) + L"\\none.txt").c_str(), CFile::modeRead); });
}
