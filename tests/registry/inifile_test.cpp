// INI files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/base/codepage.h"
#include "platform/base/inifile.h"
#include "platform/base/lasterror.h"
#include "tests/registry/regtest.h"

using namespace zyn::test;

namespace {

class IniTest : public RegistryTest {
protected:
    std::filesystem::path Acs() const { return WindowsDir() / "ACS.INI"; }
    std::string ReadText(const std::filesystem::path& p) const
    {
        const auto b = ReadBytes(p);
        return std::string(b.begin(), b.end());
    }
    std::wstring Get(const wchar_t* section, const wchar_t* key, const wchar_t* def = L"<default>")
    {
        wchar_t buf[256];
        GetPrivateProfileStringW(section, key, def, buf, 256, L"ACS.INI");
        return buf;
    }
    // A double-NUL list as separate strings.
    static std::vector<std::wstring> List(const wchar_t* buf)
    {
        std::vector<std::wstring> out;
        for (const wchar_t* p = buf; *p; p += std::wcslen(p) + 1)
            out.emplace_back(p);
        return out;
    }
};

} // namespace

TEST_F(IniTest, ReadsWithoutCaseTrimsAndStripsQuotes)
{
    WriteText(Acs(), "; settings\r\n"
                     "[DataBase]\r\n"
                     "  DSN =  AcsData  \r\n"
                     "User=\"  spaced  \"\r\n"
                     "Single='x'\r\n"
                     "Half=\"open\r\n"
                     "Empty=\r\n"
                     "[Polling]\r\n"
                     "DBCheckSeconds=30 ; not a comment here\r\n");
    EXPECT_EQ(Get(L"database", L"dsn"), L"AcsData");
    EXPECT_EQ(Get(L"DataBase", L"User"), L"  spaced  ");
    EXPECT_EQ(Get(L"DataBase", L"Single"), L"x");
    EXPECT_EQ(Get(L"DataBase", L"Half"), L"\"open");
    EXPECT_EQ(Get(L"DataBase", L"Empty"), L"");
    EXPECT_EQ(Get(L"DataBase", L"Missing", L"def  "), L"def");
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(L"Nowhere", L"DSN", nullptr), L"");
    EXPECT_EQ(Get(L"Polling", L"DBCheckSeconds"), L"30 ; not a comment here");
    // A file name that differs only in case finds the same file.
    wchar_t buf[32];
    GetPrivateProfileStringW(L"DataBase", L"DSN", L"", buf, 32, L"acs.ini");
    EXPECT_STREQ(buf, L"AcsData");
}

TEST_F(IniTest, IntegersTakeTheLeadingNumber)
{
    WriteText(Acs(), "[Service]\nPort=4006\nNeg=-17\nLead=42abc\nWord=abc\nEmpty=\nSpaced=  +8\n");
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"Port", 1, L"ACS.INI"), 4006u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(L"Service", L"Neg", 1, L"ACS.INI")), -17);
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"Lead", 1, L"ACS.INI"), 42u);
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"Word", 1, L"ACS.INI"), 0u);
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"Empty", 5, L"ACS.INI"), 5u);
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"Spaced", 5, L"ACS.INI"), 8u);
    EXPECT_EQ(GetPrivateProfileIntW(L"Service", L"UsePipes", 0, L"ACS.INI"), 0u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(L"Nope", L"x", -1, L"NOFILE.INI")), -1);
}

TEST_F(IniTest, BufferRulesAndEnumeration)
{
    WriteText(Acs(), "[One]\na=1\nbb=22\n[Two]\nlong=abcdefghij\n[one]\ndup=x\n");
    wchar_t buf[64];
    // Truncation of a value: nSize-1 characters and a terminator.
    EXPECT_EQ(GetPrivateProfileStringW(L"Two", L"long", L"", buf, 5, L"ACS.INI"), 4u);
    EXPECT_STREQ(buf, L"abcd");
    EXPECT_EQ(GetPrivateProfileStringW(L"Two", L"long", L"", buf, 1, L"ACS.INI"), 0u);
    EXPECT_STREQ(buf, L"");

    // Section names and keys as double-NUL lists; a repeated section is listed once and
    // read from its first occurrence.
    EXPECT_EQ(GetPrivateProfileSectionNamesW(buf, 64, L"ACS.INI"), 8u);
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"One", L"Two"}));
    EXPECT_EQ(GetPrivateProfileStringW(L"one", nullptr, L"", buf, 64, L"ACS.INI"), 5u);
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"a", L"bb"}));
    // Too small: the last name is cut, two terminators, nSize-2.
    EXPECT_EQ(GetPrivateProfileStringW(nullptr, nullptr, L"", buf, 7, L"ACS.INI"), 5u);
    EXPECT_EQ(std::wstring(buf, 7), std::wstring(L"One\0T\0\0", 7));
    EXPECT_EQ(GetPrivateProfileSectionW(L"One", buf, 64, L"ACS.INI"), 10u);
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"a=1", L"bb=22"}));
    EXPECT_EQ(GetPrivateProfileSectionW(L"One", buf, 7, L"ACS.INI"), 5u);
    EXPECT_EQ(std::wstring(buf, 7), std::wstring(L"a=1\0b\0\0", 7));
    // An empty list is two terminators.
    buf[0] = buf[1] = L'x';
    EXPECT_EQ(GetPrivateProfileSectionW(L"Missing", buf, 64, L"ACS.INI"), 0u);
    EXPECT_EQ(buf[0], L'\0');
    EXPECT_EQ(buf[1], L'\0');
}

TEST_F(IniTest, WritesKeepCommentsAndReplaceTheFileAtomically)
{
    WriteText(Acs(), "; ACS settings\r\n[DataBase]\r\n; the data source\r\nDSN=Old\r\nUser=sa\r\n\r\n"
                     "[Polling]\r\nDBCheckSeconds=60\r\n");
    const std::string original = ReadText(Acs());
    // Held open, the old file keeps its inode and shows whether it was rewritten in place.
    const int oldFd = ::open(Acs().c_str(), O_RDONLY);
    ASSERT_GE(oldFd, 0);
    struct stat before {};
    ASSERT_EQ(::fstat(oldFd, &before), 0);

    EXPECT_TRUE(WritePrivateProfileStringW(L"database", L"dsn", L"New", L"ACS.INI"));
    EXPECT_TRUE(WritePrivateProfileStringW(L"DataBase", L"Password", L"pw", L"ACS.INI"));
    EXPECT_TRUE(WritePrivateProfileStringW(L"Polling", L"DBCheckSeconds", nullptr, L"ACS.INI"));
    EXPECT_TRUE(WritePrivateProfileStringW(L"LogViewer", L"WindowPos", L"1", L"ACS.INI"));
    EXPECT_EQ(ReadText(Acs()), "; ACS settings\r\n[DataBase]\r\n; the data source\r\nDSN=New\r\nUser=sa\r\n"
                               "Password=pw\r\n\r\n[Polling]\r\n\r\n[LogViewer]\r\nWindowPos=1\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(Acs().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino); // replaced, not rewritten in place
    std::string old(original.size() + 16, '\0');
    const ssize_t n = ::pread(oldFd, old.data(), old.size(), 0);
    ::close(oldFd);
    EXPECT_EQ(old.substr(0, n > 0 ? static_cast<size_t>(n) : 0), original);
    EXPECT_EQ(after.st_mode & 0777, before.st_mode & 0777);
    // No temporary files left behind: the file and the writers' lock file only.
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(WindowsDir()))
        files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{".ACS.INI.lock", "ACS.INI"}));

    EXPECT_TRUE(WritePrivateProfileStringW(L"Polling", nullptr, nullptr, L"ACS.INI"));
    EXPECT_EQ(Get(L"Polling", nullptr, L""), L"");
    EXPECT_EQ(ReadText(Acs()).find("[Polling]"), std::string::npos);

    // Text that would not read back as written is refused and changes nothing.
    const std::string kept = ReadText(Acs());
    EXPECT_FALSE(WritePrivateProfileStringW(L"DataBase", L"DSN", L"a\r\n[Evil]\r\nx=1", L"ACS.INI"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(WritePrivateProfileStringW(L"DataBase", L"a=b", L"1", L"ACS.INI"));
    EXPECT_FALSE(WritePrivateProfileStringW(L"Data]Base", L"a", L"1", L"ACS.INI"));
    EXPECT_EQ(ReadText(Acs()), kept);

    // A new file in a folder that does not exist is an error, not a silent success.
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", (m_dir.wstring() + L"/no/such/dir/x.ini").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(IniTest, BrokenLinesAreSkippedAndKept)
{
    WriteText(Acs(), "stray line before sections\n"
                     "[Good]\n"
                     "no equals sign here\n"
                     "=no key\n"
                     "key=value\n"
                     "[Unclosed\n"
                     "hidden=1\n"
                     "[After]\n"
                     "key=after\n");
    EXPECT_EQ(Get(L"Good", L"key"), L"value");
    EXPECT_EQ(Get(L"After", L"key"), L"after");
    EXPECT_EQ(Get(L"Unclosed", L"hidden"), L"<default>");
    EXPECT_EQ(Get(L"Good", L"hidden"), L"<default>");
    wchar_t buf[64];
    GetPrivateProfileSectionNamesW(buf, 64, L"ACS.INI");
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"Good", L"After"}));

    ASSERT_TRUE(WritePrivateProfileStringW(L"Good", L"added", L"1", L"ACS.INI"));
    EXPECT_EQ(ReadText(Acs()), "stray line before sections\n"
                               "[Good]\n"
                               "no equals sign here\n"
                               "=no key\n"
                               "key=value\n"
                               "added=1\n"
                               "[Unclosed\n"
                               "hidden=1\n"
                               "[After]\n"
                               "key=after\n");
}

TEST_F(IniTest, SectionsWrittenWhole)
{
    WriteText(Acs(), "[A]\nx=1\n; note\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileSectionW(L"a", L"p=7\0q=8\0", L"ACS.INI"));
    EXPECT_EQ(ReadText(Acs()), "[A]\np=7\nq=8\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileSectionW(L"C", L"r=9\0", L"ACS.INI"));
    EXPECT_EQ(Get(L"C", L"r"), L"9");
    ASSERT_TRUE(WritePrivateProfileSectionW(L"A", nullptr, L"ACS.INI"));
    EXPECT_EQ(Get(L"A", L"p"), L"<default>");
    EXPECT_FALSE(WritePrivateProfileSectionW(L"A", L"[X]\0", L"ACS.INI"));
}

TEST_F(IniTest, StructsCarryAChecksum)
{
    const RECT rc = {10, -20, 300, 400};
    ASSERT_TRUE(WritePrivateProfileStructW(L"LogViewer", L"WindowPos", &rc, sizeof rc, L"ACS.INI"));
    EXPECT_EQ(Get(L"LogViewer", L"WindowPos"), L"0A000000ECFFFFFF2C01000090010000B1");
    RECT back = {};
    ASSERT_TRUE(GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &back, sizeof back, L"ACS.INI"));
    EXPECT_EQ(back.left, 10);
    EXPECT_EQ(back.top, -20);
    EXPECT_EQ(back.right, 300);
    EXPECT_EQ(back.bottom, 400);

    // Wrong size, wrong checksum, bad digits: FALSE and the buffer untouched.
    RECT untouched = {1, 2, 3, 4};
    EXPECT_FALSE(GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &untouched, 8, L"ACS.INI"));
    ASSERT_TRUE(WritePrivateProfileStringW(L"LogViewer", L"WindowPos", L"0A000000ECFFFFFF2C01000090010000B0", L"ACS.INI"));
    EXPECT_FALSE(GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &untouched, sizeof untouched, L"ACS.INI"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    ASSERT_TRUE(WritePrivateProfileStringW(L"LogViewer", L"WindowPos", L"0A000000ECFFFFFF2C0100009001000GAF", L"ACS.INI"));
    EXPECT_FALSE(GetPrivateProfileStructW(L"LogViewer", L"WindowPos", &untouched, sizeof untouched, L"ACS.INI"));
    EXPECT_EQ(untouched.left, 1);
    EXPECT_FALSE(GetPrivateProfileStructW(L"LogViewer", L"Missing", &untouched, sizeof untouched, L"ACS.INI"));
}

TEST_F(IniTest, EncodingsAreKept)
{
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
    // UTF-16LE with BOM stays UTF-16LE.
    const auto u16 = WindowsDir() / "u16.ini";
    WriteBytes(u16, {0xFF, 0xFE, '[', 0, 'S', 0, ']', 0, '\n', 0, 'k', 0, '=', 0, 0x3D, 0xD8, 0x00, 0xDE, '\n', 0});
    wchar_t buf[32];
    GetPrivateProfileStringW(L"S", L"k", L"", buf, 32, L"u16.ini");
    EXPECT_STREQ(buf, L"\U0001F600");
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"n", L"\u00E9", L"u16.ini"));
    EXPECT_EQ(ReadBytes(u16), (std::vector<uint8_t>{0xFF, 0xFE, '[', 0, 'S', 0, ']', 0, '\n', 0, 'k', 0, '=', 0, 0x3D,
                                  0xD8, 0x00, 0xDE, '\n', 0, 'n', 0, '=', 0, 0xE9, 0, '\n', 0}));

    // UTF-8 with BOM stays UTF-8.
    const auto u8 = WindowsDir() / "u8.ini";
    WriteText(u8, "\xEF\xBB\xBF[S]\nk=\xE2\x82\xAC\n");
    GetPrivateProfileStringW(L"S", L"k", L"", buf, 32, L"u8.ini");
    EXPECT_STREQ(buf, L"\u20AC");
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"\u00E9", L"u8.ini"));
    EXPECT_EQ(ReadText(u8), "\xEF\xBB\xBF[S]\nk=\xC3\xA9\n");

    // ANSI text in code page 1252.
    const auto ansi = WindowsDir() / "ansi.ini";
    WriteText(ansi, "[S]\nk=caf\xE9\n");
    GetPrivateProfileStringW(L"S", L"k", L"", buf, 32, L"ansi.ini");
    EXPECT_STREQ(buf, L"caf\u00E9");
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"e", L"\u20AC", L"ansi.ini"));
    EXPECT_EQ(ReadText(ansi), "[S]\nk=caf\xE9\ne=\x80\n");

    // A new file is ANSI, unless its text cannot be: then UTF-16LE with BOM.
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"plain", L"new1.ini"));
    EXPECT_EQ(ReadText(WindowsDir() / "new1.ini"), "[S]\r\nk=plain\r\n");
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"\u0416", L"new2.ini"));
    const auto bytes = ReadBytes(WindowsDir() / "new2.ini");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    GetPrivateProfileStringW(L"S", L"k", L"", buf, 32, L"new2.ini");
    EXPECT_STREQ(buf, L"\u0416");
}

TEST_F(IniTest, WinIniForms)
{
    ASSERT_TRUE(WriteProfileStringW(L"Windows", L"Device", L"PDF,winspool,Ne00:"));
    wchar_t buf[64];
    EXPECT_EQ(GetProfileStringW(L"windows", L"device", L"", buf, 64), 18u);
    EXPECT_STREQ(buf, L"PDF,winspool,Ne00:");
    EXPECT_TRUE(std::filesystem::exists(WindowsDir() / "win.ini"));
    ASSERT_TRUE(WriteProfileStringW(L"intl", L"iCountry", L"49"));
    EXPECT_EQ(GetProfileIntW(L"Intl", L"iCountry", 1), 49u);
    ASSERT_TRUE(WriteProfileSectionW(L"intl", L"sDecimal=,\0"));
    EXPECT_EQ(GetProfileSectionW(L"intl", buf, 64), 11u);
    EXPECT_STREQ(buf, L"sDecimal=,");
}
