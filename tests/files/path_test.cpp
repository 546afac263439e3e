// Path conversion and the Win32 file-system functions.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/lasterror.h"
#include "platform/base/path.h"
#include "tests/files/files_util.h"

using files_test::NativeDir;
using files_test::ReadNative;
using files_test::Win;
using files_test::WriteNative;
using zyn::base::FromNativePath;
using zyn::base::ToNativePath;

TEST(PathConversion, DriveLettersAndSeparators)
{
    EXPECT_EQ(ToNativePath(L"C:\\Temp\\a.txt"), "/Temp/a.txt");
    EXPECT_EQ(ToNativePath(L"d:\\x\\y\\"), "/x/y/");
    EXPECT_EQ(ToNativePath(L"C:rel\\b"), "rel/b");
    EXPECT_EQ(ToNativePath(L"C:"), "/");
    EXPECT_EQ(ToNativePath(L"..\\data\\x.ini"), "../data/x.ini");
    EXPECT_EQ(ToNativePath(L"/already/native"), "/already/native");
    EXPECT_EQ(ToNativePath(static_cast<LPCWSTR>(nullptr)), "");
    // A colon elsewhere is not a drive.
    EXPECT_EQ(ToNativePath(L"ab:c"), "ab:c");
    // Text beyond the BMP and accents survive as UTF-8.
    EXPECT_EQ(ToNativePath(L"C:\\d\u00e9j\u00e0\\\U0001F600.txt"), "/d\xC3\xA9j\xC3\xA0/\xF0\x9F\x98\x80.txt");
}

TEST(PathConversion, ReverseIsRootedWithoutDrive)
{
    EXPECT_EQ(FromNativePath("/tmp/a.txt"), L"/tmp/a.txt");
    EXPECT_EQ(FromNativePath("rel/x"), L"rel/x");
    EXPECT_EQ(FromNativePath("/d\xC3\xA9j\xC3\xA0/\xF0\x9F\x98\x80"), L"/d\u00e9j\u00e0/\U0001F600");
    const std::string round = "/a/b c/\xE2\x82\xAC.txt";
    EXPECT_EQ(ToNativePath(FromNativePath(round)), round);
    EXPECT_EQ(ToNativePath(L"C:\\Temp\\a.txt"), ToNativePath(FromNativePath(ToNativePath(L"C:\\Temp\\a.txt"))));
}

TEST(PathConversion, WildcardMatching)
{
    using zyn::base::MatchWildcard;
    EXPECT_TRUE(MatchWildcard(L"*.txt", L"a.txt"));
    EXPECT_TRUE(MatchWildcard(L"*.TXT", L"a.txt")) << "case is ignored";
    EXPECT_FALSE(MatchWildcard(L"*.txt", L"a.txt.bak"));
    EXPECT_TRUE(MatchWildcard(L"a?c", L"abc"));
    EXPECT_FALSE(MatchWildcard(L"a?c", L"ac"));
    EXPECT_TRUE(MatchWildcard(L"*.*", L"noext")) << "*.* matches names without a dot";
    EXPECT_TRUE(MatchWildcard(L"*", L""));
    EXPECT_TRUE(MatchWildcard(L"a*b*c", L"aXXbYYbZc"));
    EXPECT_FALSE(MatchWildcard(L"a*b*c", L"aXXbYY"));
    EXPECT_TRUE(MatchWildcard(L"**?", L"x"));
}

TEST(FullPath, ResolvesRelativeAndDots)
{
    const std::string dir = NativeDir("fullpath");
    char* cwd = ::getcwd(nullptr, 0);
    ASSERT_TRUE(cwd);
    ASSERT_EQ(::chdir(dir.c_str()), 0);
    WCHAR buf[MAX_PATH];
    LPWSTR part = nullptr;
    const DWORD n = GetFullPathNameW(L"sub\\..\\.\\x.txt", MAX_PATH, buf, &part);
    const std::wstring expected = Win(dir) + L"/x.txt";
    EXPECT_EQ(std::wstring(buf), expected);
    EXPECT_EQ(n, expected.size());
    ASSERT_TRUE(part);
    EXPECT_EQ(std::wstring(part), L"x.txt");
    // Too small: the size needed, terminator included.
    WCHAR small[4];
    EXPECT_EQ(GetFullPathNameW(L"x.txt", 4, small, nullptr), expected.size() + 1);
    EXPECT_EQ(::chdir(cwd), 0);
    ::free(cwd);

    EXPECT_GT(GetFullPathNameW(L"C:\\a\\..\\..\\b\\", MAX_PATH, buf, &part), 0u);
    EXPECT_EQ(std::wstring(buf), L"/b/");
    EXPECT_EQ(part, nullptr) << "no file part after a trailing separator";
    EXPECT_EQ(GetFullPathNameW(L"", MAX_PATH, buf, nullptr), 0u);
}

TEST(TempFiles, TempPathAndUniqueNames)
{
    WCHAR tmp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, tmp);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(tmp[n - 1], L'/') << "trailing separator";
    WCHAR tiny[2];
    EXPECT_EQ(GetTempPathW(2, tiny), n + 1);

    const std::string dir = NativeDir("tempnames");
    WCHAR name1[MAX_PATH], name2[MAX_PATH];
    const UINT u1 = GetTempFileNameW(Win(dir).c_str(), L"ZYNX", 0, name1);
    const UINT u2 = GetTempFileNameW(Win(dir).c_str(), L"ZYNX", 0, name2);
    ASSERT_NE(u1, 0u);
    ASSERT_NE(u2, 0u);
    EXPECT_NE(std::wstring(name1), std::wstring(name2));
    EXPECT_EQ(std::wstring(name1).substr(Win(dir).size() + 1, 3), L"ZYN") << "prefix cut to 3 characters";
    EXPECT_EQ(std::wstring(name1).substr(std::wstring(name1).size() - 4), L".TMP");
    EXPECT_EQ(::access(ToNativePath(name1).c_str(), F_OK), 0) << "the name is reserved by creating the file";

    // A given number only builds the name.
    EXPECT_EQ(GetTempFileNameW(Win(dir).c_str(), L"ab", 0x1A2B, name1), 0x1A2Bu);
    EXPECT_EQ(std::wstring(name1), Win(dir) + L"\\ab1A2B.TMP");
    EXPECT_NE(::access(ToNativePath(name1).c_str(), F_OK), 0);

    EXPECT_EQ(GetTempFileNameW((Win(dir) + L"\\missing").c_str(), L"x", 0, name1), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}

TEST(FileSystem, AttributesDirectoriesAndDeletion)
{
    const std::string dir = NativeDir("attrs");
    const std::wstring w = Win(dir);
    EXPECT_EQ(GetFileAttributesW((w + L"\\nope").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW((w + L"\\nodir\\nope").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(PathFileExistsW((w + L"\\nope").c_str()));

    ASSERT_TRUE(CreateDirectoryW((w + L"\\sub").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW((w + L"\\sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryW((w + L"\\no\\deeper").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW((w + L"\\sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);

    WriteNative(dir + "/sub/f.txt", "x");
    EXPECT_EQ(GetFileAttributesW((w + L"\\sub\\f.txt").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(PathFileExistsW((w + L"\\sub\\f.txt").c_str()));
    WriteNative(dir + "/.hidden", "x");
    EXPECT_EQ(GetFileAttributesW((w + L"\\.hidden").c_str()), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_FALSE(RemoveDirectoryW((w + L"\\sub").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(DeleteFileW((w + L"\\sub").c_str())) << "DeleteFile refuses folders";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(RemoveDirectoryW((w + L"\\sub\\f.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);

    // Read-only files report it and, as on Windows, are not deleted.
    ASSERT_TRUE(SetFileAttributesW((w + L"\\sub\\f.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW((w + L"\\sub\\f.txt").c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteFileW((w + L"\\sub\\f.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(SetFileAttributesW((w + L"\\sub\\f.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW((w + L"\\sub\\f.txt").c_str()));
    EXPECT_FALSE(DeleteFileW((w + L"\\sub\\f.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(RemoveDirectoryW((w + L"\\sub").c_str()));
}

TEST(FileSystem, MoveAndCopy)
{
    const std::string dir = NativeDir("move");
    const std::wstring w = Win(dir);
    WriteNative(dir + "/a", "alpha");
    WriteNative(dir + "/b", "beta");

    EXPECT_FALSE(MoveFileW((w + L"\\a").c_str(), (w + L"\\b").c_str())) << "MoveFile never replaces";
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadNative(dir + "/b"), "beta");
    EXPECT_TRUE(MoveFileExW((w + L"\\a").c_str(), (w + L"\\b").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(ReadNative(dir + "/b"), "alpha");
    EXPECT_FALSE(PathFileExistsW((w + L"\\a").c_str()));
    EXPECT_FALSE(MoveFileW((w + L"\\a").c_str(), (w + L"\\c").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    // Copy keeps the content and modification time; bFailIfExists protects the target.
    struct stat st {};
    ASSERT_EQ(::stat((dir + "/b").c_str(), &st), 0);
    EXPECT_TRUE(CopyFileW((w + L"\\b").c_str(), (w + L"\\c").c_str(), TRUE));
    EXPECT_EQ(ReadNative(dir + "/c"), "alpha");
    struct stat st2 {};
    ASSERT_EQ(::stat((dir + "/c").c_str(), &st2), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, st2.st_mtim.tv_sec);
    WriteNative(dir + "/c", "gamma");
    EXPECT_FALSE(CopyFileW((w + L"\\b").c_str(), (w + L"\\c").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadNative(dir + "/c"), "gamma");
    EXPECT_TRUE(CopyFileW((w + L"\\b").c_str(), (w + L"\\c").c_str(), FALSE));
    EXPECT_EQ(ReadNative(dir + "/c"), "alpha");
    EXPECT_FALSE(CopyFileW((w + L"\\none").c_str(), (w + L"\\d").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(PathFileExistsW((w + L"\\d").c_str()));

    // No temporary copies are left behind.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((w + L"\\*.~zc*").c_str(), &fd);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
}

namespace {

std::set<std::wstring> FindAll(const std::wstring& spec)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(spec.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(h));
    return names;
}

} // namespace

TEST(FindFiles, WildcardsAndEntries)
{
    const std::string dir = NativeDir("find");
    const std::wstring w = Win(dir);
    WriteNative(dir + "/a.txt", "12345");
    WriteNative(dir + "/b.TXT", "");
    WriteNative(dir + "/c.txt.bak", "");
    WriteNative(dir + "/noext", "");
    WriteNative(dir + "/\xC3\xA9t\xC3\xA9.txt", "");
    ASSERT_TRUE(CreateDirectoryW((w + L"\\sub").c_str(), nullptr));

    EXPECT_EQ(FindAll(w + L"\\*.txt"), (std::set<std::wstring>{L"a.txt", L"b.TXT", L"\u00e9t\u00e9.txt"}));
    EXPECT_EQ(FindAll(w + L"\\?.txt"), (std::set<std::wstring>{L"a.txt", L"b.TXT"}));
    EXPECT_EQ(FindAll(w + L"\\*.*"),
        (std::set<std::wstring>{L".", L"..", L"a.txt", L"b.TXT", L"c.txt.bak", L"noext", L"sub", L"\u00e9t\u00e9.txt"}));
    EXPECT_EQ(FindAll(w + L"\\A.TXT"), (std::set<std::wstring>{L"a.txt"})) << "exact names ignore case";

    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((w + L"\\a.txt").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fd.nFileSizeLow, 5u);
    EXPECT_EQ(fd.nFileSizeHigh, 0u);
    EXPECT_EQ(fd.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(fd.ftLastWriteTime.dwHighDateTime, 0u);
    FindClose(h);
    h = FindFirstFileW((w + L"\\su?").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fd.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    FindClose(h);

    EXPECT_EQ(FindFirstFileW((w + L"\\*.none").c_str(), &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileW((w + L"\\missing\\*").c_str(), &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FindFiles, StaleAndForeignHandlesFailCleanly)
{
    const std::string dir = NativeDir("findstale");
    WriteNative(dir + "/x", "");
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((Win(dir) + L"\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_GE(reinterpret_cast<uintptr_t>(h), 0x10000u);
    ASSERT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFileW(h, &fd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(FindClose(nullptr));
}
