// INI files under harder use: lines nobody edited keep their bytes whatever they hold,
// writers in two processes lose nothing, and reading stays linear in the file's size.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/codepage.h"
#include "platform/base/inifile.h"
#include "platform/base/lasterror.h"
#include "tests/registry/regtest.h"
#include "tests/support/timing.h"

using namespace zyn::test;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// UTF-16LE bytes of ASCII text, each unit given as one char (test data only).
Bytes U16(std::string_view ascii)
{
    Bytes out;
    for (const char c : ascii) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

constexpr const wchar_t* kName = L"bytes.ini"; // in the Windows directory

class IniWriteTest : public RegistryTest {
protected:
    std::filesystem::path File() const { return WindowsDir() / "bytes.ini"; }
};

struct KeepCase {
    const char* name;
    Bytes before;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value; // null deletes the key
    Bytes after;          // worked out by hand from `before` and the edit
};

} // namespace

TEST_F(IniWriteTest, LinesNobodyEditedKeepTheirBytes)
{
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
    const Bytes u16Bom = {0xFF, 0xFE};
    const Bytes u8Bom = {0xEF, 0xBB, 0xBF};
    const std::vector<KeepCase> cases = {
        {"UTF-8: invalid sequences and an encoded surrogate stay, LF ends",
            B("\xEF\xBB\xBF; caf\xC3\x28 \xFF\xFE\n[S]\nold=\xED\xA0\x80x\nk=1\n[T]\nz=\xC0\xAF\n"), L"S", L"k", L"2",
            B("\xEF\xBB\xBF; caf\xC3\x28 \xFF\xFE\n[S]\nold=\xED\xA0\x80x\nk=2\n[T]\nz=\xC0\xAF\n")},
        {"UTF-8: a key added between lines holding bad bytes, CR ends",
            B("\xEF\xBB\xBF[S]\ra=\x80\x80\rb=\xF8\x88\x80\x80\x80\r"), L"S", L"c", L"\u00E9",
            B("\xEF\xBB\xBF[S]\ra=\x80\x80\rb=\xF8\x88\x80\x80\x80\rc=\xC3\xA9\r")},
        {"UTF-16LE: lone surrogates stay, CR LF ends",
            Cat({u16Bom, U16("[S]\r\na="), {0x00, 0xD8}, U16("x\r\n;"), {0x00, 0xDC}, U16("\r\nk=1\r\n")}), L"S", L"k",
            L"22", Cat({u16Bom, U16("[S]\r\na="), {0x00, 0xD8}, U16("x\r\n;"), {0x00, 0xDC}, U16("\r\nk=22\r\n")})},
        {"UTF-16LE: an odd trailing byte stays at the end",
            Cat({u16Bom, U16("[S]\r\nk=1\r\n"), {0x41}}), L"S", L"n", L"2",
            Cat({u16Bom, U16("[S]\r\nk=1\r\nn=2\r\n"), {0x41}})},
        {"UTF-16LE: an odd byte after a last line without line end",
            Cat({u16Bom, U16("[S]\nk=1"), {0x7F}}), L"S", L"k", L"3", Cat({u16Bom, U16("[S]\nk=3"), {0x7F}})},
        {"ANSI: mixed line ends, each line keeps its own",
            B("[S]\r\na=1\nb=2\rc=3\r\n[T]\nx=\x81\x8D\n"), L"S", L"b", L"9",
            B("[S]\r\na=1\nb=9\rc=3\r\n[T]\nx=\x81\x8D\n")},
        {"ANSI: a key added after a last line without line end takes the file's first line end",
            B("[S]\nk=caf\xE9"), L"S", L"n", L"2", B("[S]\nk=caf\xE9\nn=2\n")},
        {"ANSI: a deleted key takes only its own line", B("[S]\r\na=1\nb=2\rc=3"), L"S", L"b", nullptr,
            B("[S]\r\na=1\nc=3")},
        {"ANSI: a new section after mixed line ends", B("x\ny\r\n[S]\r\nk=1"), L"New", L"k", L"v",
            B("x\ny\r\n[S]\r\nk=1\n\n[New]\nk=v\n")},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(File(), c.before);
        ASSERT_TRUE(WritePrivateProfileStringW(c.section, c.key, c.value, kName));
        EXPECT_EQ(ReadBytes(File()), c.after);
    }

    // A value that reads back unchanged writes nothing at all.
    const Bytes odd = Cat({u16Bom, U16("[S]\r\nk=1\r\n"), {0x00, 0xD8}, {0x41}});
    WriteBytes(File(), odd);
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"1", kName));
    EXPECT_EQ(ReadBytes(File()), odd);
    // The UTF-8 form of an unedited line reads as U+FFFD but is never written that way.
    WriteBytes(File(), Cat({u8Bom, B("[S]\nk=\xFF\n")}));
    wchar_t buf[16];
    GetPrivateProfileStringW(L"S", L"k", L"", buf, 16, kName);
    EXPECT_STREQ(buf, L"\uFFFD");
}

TEST_F(IniWriteTest, TwoProcessesWritingOneFileLoseNothing)
{
    constexpr int kPerProcess = 300;
    WriteBytes(File(), B("[Shared]\r\nseed=1\r\n"));
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The child only writes; it reports through its exit status.
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) {
                const std::wstring key = L"p" + std::to_wstring(p) + L"_" + std::to_wstring(i);
                if (!WritePrivateProfileStringW(L"Shared", key.c_str(), std::to_wstring(i).c_str(), kName))
                    ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "a write reported failure";
    }
    int missing = 0;
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kPerProcess; ++i) {
            const std::wstring key = L"p" + std::to_wstring(p) + L"_" + std::to_wstring(i);
            wchar_t buf[16];
            GetPrivateProfileStringW(L"Shared", key.c_str(), L"<lost>", buf, 16, kName);
            if (std::wstring(buf) != std::to_wstring(i))
                ++missing;
        }
    }
    EXPECT_EQ(missing, 0) << "of " << 2 * kPerProcess << " keys";
    EXPECT_EQ(GetPrivateProfileIntW(L"Shared", L"seed", 0, kName), 1u);
}

namespace {

// Seconds to list the section names of a file of n sections and the keys of a section
// of n keys (best of three), checking what the lists hold.
double TimeReads(const std::filesystem::path& folder, const wchar_t* name, int n)
{
    std::string text;
    text.reserve(static_cast<size_t>(n) * 40);
    for (int i = 0; i < n; ++i)
        text += "[Sec" + std::to_string(i) + "]\r\nk=v\r\n";
    text += "[Keys]\r\n";
    for (int i = 0; i < n; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    {
        std::ofstream out(folder / std::filesystem::path(name), std::ios::binary | std::ios::trunc);
        out << text;
    }
    // Names: "Sec" + up to 6 digits + NUL each, then the list's own NUL.
    std::vector<wchar_t> buf(static_cast<size_t>(n + 1) * 12 + 2);
    return BestSeconds([&] {
        const DWORD names = GetPrivateProfileSectionNamesW(buf.data(), static_cast<DWORD>(buf.size()), name);
        EXPECT_LT(names, buf.size() - 2);
        EXPECT_EQ(std::wstring(buf.data()), L"Sec0");
        const DWORD keys =
            GetPrivateProfileStringW(L"keys", nullptr, L"", buf.data(), static_cast<DWORD>(buf.size()), name);
        EXPECT_LT(keys, buf.size() - 2);
        // The last key of the list, found from the end.
        const std::wstring list(buf.data(), keys);
        const size_t lastStart = list.rfind(L'\0', list.size() - 2);
        EXPECT_EQ(list.substr(lastStart + 1, list.size() - lastStart - 2), L"key" + std::to_wstring(n - 1));
    });
}

} // namespace

TEST_F(IniWriteTest, ReadingManySectionsAndKeysIsLinear)
{
    const double small = TimeReads(WindowsDir(), L"small.ini", 10'000);
    const double large = TimeReads(WindowsDir(), L"large.ini", 100'000);
    // Ten times the input: about ten times the time when linear, a hundred times when
    // quadratic (100,000 sections once took more than ten minutes).
    EXPECT_LT(large, 60.0);
    EXPECT_LT(large / std::max(small, 1e-3), 40.0) << "10k: " << small << " s, 100k: " << large << " s";
}
