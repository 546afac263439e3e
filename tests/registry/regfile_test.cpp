// Import of .reg files.
#include <cstring>

#include "platform/base/codepage.h"
#include "platform/base/kernel_object.h"
#include "platform/base/lasterror.h"
#include "platform/base/process.h"
#include "platform/base/regfile.h"
#include "tests/registry/regtest.h"

using namespace zyn::test;
using zyn::base::RegFileError;

namespace {

// UTF-16LE with a byte-order mark, encoded here without the codec under test.
std::vector<uint8_t> Utf16File(const std::wstring& text)
{
    std::vector<uint8_t> out = {0xFF, 0xFE};
    for (const wchar_t c : text) {
        auto cp = static_cast<uint32_t>(c);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            const uint32_t hi = 0xD800 + (cp >> 10), lo = 0xDC00 + (cp & 0x3FF);
            out.insert(out.end(), {static_cast<uint8_t>(hi), static_cast<uint8_t>(hi >> 8), static_cast<uint8_t>(lo),
                                      static_cast<uint8_t>(lo >> 8)});
        } else {
            out.push_back(static_cast<uint8_t>(cp));
            out.push_back(static_cast<uint8_t>(cp >> 8));
        }
    }
    return out;
}

class RegFileTest : public RegistryTest {
protected:
    LONG Import(const std::vector<uint8_t>& bytes, RegFileError& error)
    {
        const auto file = m_dir / "import.reg";
        WriteBytes(file, bytes);
        return zyn::base::ImportRegFile(file, error);
    }
    LONG Import(const std::string& text, RegFileError& error)
    {
        return Import(std::vector<uint8_t>(text.begin(), text.end()), error);
    }
    std::vector<uint8_t> Raw(HKEY h, const wchar_t* name, DWORD* type)
    {
        DWORD size = 0;
        if (RegQueryValueExW(h, name, nullptr, type, nullptr, &size) != 0)
            return {0xEE};
        std::vector<uint8_t> out(size);
        RegQueryValueExW(h, name, nullptr, type, out.data(), &size);
        return out;
    }
    static std::vector<uint8_t> Wide(const std::wstring& s)
    {
        std::vector<uint8_t> out(s.size() * sizeof(wchar_t));
        std::memcpy(out.data(), s.data(), out.size());
        return out;
    }
    bool KeyExists(HKEY root, const wchar_t* path)
    {
        HKEY h = nullptr;
        if (RegOpenKeyExW(root, path, 0, KEY_READ, &h) != 0)
            return false;
        RegCloseKey(h);
        return true;
    }
};

} // namespace

TEST_F(RegFileTest, Version5Utf16WithEveryForm)
{
    KeyGuard old(Create(HKEY_CURRENT_USER, L"Software\\Imp\\Old\\Deep"));
    KeyGuard imp(Create(HKEY_CURRENT_USER, L"Software\\Imp"));
    ASSERT_EQ(SetDword(imp.h, L"gone", 1), 0);

    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n"
        L"\r\n"
        L"; a comment\r\n"
        L"[-HKEY_CURRENT_USER\\Software\\Imp\\Old]\r\n"
        L"\r\n"
        L"[HKEY_CURRENT_USER\\Software\\Imp]\r\n"
        L"@=\"default \\\"quoted\\\" C:\\\\dir\"\r\n"
        L"\"Smile\"=\"\U0001F600\"\r\n"
        L"\"Count\"=dword:0000002a\r\n"
        L"\"gone\"=-\r\n"
        L"\"Bin\"=hex:01,02,\\\r\n"
        L"  03,ff\r\n"
        L"\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
        L"\"List\"=hex(7):61,00,00,00,62,00,63,00,00,00,\\\r\n"
        L"  00,00\r\n"
        L"\"Big\"=hex(b):08,07,06,05,04,03,02,01\r\n"
        L"\"Nothing\"=hex(0):\r\n"
        L"\r\n"
        L"[HKEY_USERS\\.DEFAULT\\Software\\Imp\\Child] ; trailing comment\r\n"
        L"\"x\"=\"y\"\r\n";
    RegFileError error;
    ASSERT_EQ(Import(Utf16File(text), error), 0) << std::string(error.Text().begin(), error.Text().end());

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Imp\\Old"));
    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Imp", 0, KEY_READ, &k.h), 0);
    EXPECT_EQ(GetString(k.h, nullptr), L"default \"quoted\" C:\\dir");
    EXPECT_EQ(GetString(k.h, L"Smile"), L"\U0001F600");
    DWORD type = 0;
    const DWORD count = 42;
    EXPECT_EQ(Raw(k.h, L"Count", &type), std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(&count),
                                             reinterpret_cast<const uint8_t*>(&count) + 4));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(Raw(k.h, L"gone", &type), std::vector<uint8_t>{0xEE});
    EXPECT_EQ(Raw(k.h, L"Bin", &type), (std::vector<uint8_t>{1, 2, 3, 0xFF}));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Raw(k.h, L"Path", &type), Wide(std::wstring(L"%A%\0", 4)));
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(Raw(k.h, L"List", &type), Wide(std::wstring(L"a\0bc\0\0", 6)));
    EXPECT_EQ(type, REG_MULTI_SZ);
    EXPECT_EQ(Raw(k.h, L"Big", &type), (std::vector<uint8_t>{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(type, REG_QWORD);
    EXPECT_TRUE(Raw(k.h, L"Nothing", &type).empty());
    EXPECT_EQ(type, REG_NONE);
    KeyGuard child;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Imp\\Child", 0, KEY_READ, &child.h), 0);
    EXPECT_EQ(GetString(child.h, L"x"), L"y");
}

TEST_F(RegFileTest, Regedit4NarrowTextThroughTheAnsiCodePage)
{
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
    // "caf\xE9" is "café" in code page 1252; hex(2)/hex(7) data are narrow strings.
    const std::string text =
        "REGEDIT4\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvan\\Tessora]\n"
        "\"InstalledProductName\"=\"caf\xE9\"\n"
        "\"Exp\"=hex(2):25,54,4d,50,25,5c,78,00\n"
        "\"Multi\"=hex(7):61,62,00,e9,00,00\n"
        "\"Flag\"=dword:1\n";
    RegFileError error;
    ASSERT_EQ(Import(text, error), 0);
    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvan\\Tessora", 0, KEY_READ, &k.h), 0);
    EXPECT_EQ(GetString(k.h, L"InstalledProductName"), L"caf\u00E9");
    DWORD type = 0;
    EXPECT_EQ(Raw(k.h, L"Exp", &type), Wide(std::wstring(L"%TMP%\\x\0", 8)));
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(Raw(k.h, L"Multi", &type), Wide(std::wstring(L"ab\0\u00E9\0\0", 6)));
    EXPECT_EQ(Raw(k.h, L"Flag", &type), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(RegFileTest, Version5Utf8AndClassesRoot)
{
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
        "[HKEY_CLASSES_ROOT\\.zyn]\n"
        "@=\"Zyn.Document \xE2\x82\xAC\"\n";
    RegFileError error;
    ASSERT_EQ(Import(text, error), 0);
    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.zyn", 0, KEY_READ, &k.h), 0);
    EXPECT_EQ(GetString(k.h, nullptr), L"Zyn.Document \u20AC");
}

TEST_F(RegFileTest, MalformedFileNamesTheLineAndChangesNothing)
{
    KeyGuard keep(Create(HKEY_CURRENT_USER, L"Software\\Keep"));
    ASSERT_EQ(SetString(keep.h, L"v", L"before"), 0);

    const std::string text =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Keep]\n"
        "\"v\"=\"after\"\n"
        "[HKEY_CURRENT_USER\\Software\\New]\n"
        "\"n\"=dword:00000001\n"
        "\"bad\"=dword:xyz\n"
        "\"n2\"=dword:00000002\n";
    RegFileError error;
    EXPECT_NE(Import(text, error), 0);
    EXPECT_EQ(error.line, 7);
    EXPECT_NE(error.message.find(L"dword"), std::wstring::npos);
    EXPECT_TRUE(LogMentions(L"line 7"));
    EXPECT_EQ(GetString(keep.h, L"v"), L"before");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\New"));
}

TEST_F(RegFileTest, ParseErrorsAndTheirLines)
{
    const std::string header = "Windows Registry Editor Version 5.00\n";
    struct Case {
        std::string body;
        int line;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {"[HKEY_CURRENT_USER\\Software\\X\n", 2, L"']'"},
        {"\"v\"=\"x\"\n", 2, L"before any [key]"},
        {"[HKEY_NOWHERE\\X]\n", 2, L"unknown root"},
        {"[HKEY_USERS\\S-1-5-18\\X]\n", 2, L".DEFAULT"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=\"C:\\dir\"\n", 3, L"escape"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=\"open\n", 3, L"quote"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,zz\n", 3, L"zz"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n 02,,03\n", 4, L"empty byte"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,\\\n", 3, L"continuation"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n", 3, L"dword"},
        {"[HKEY_CURRENT_USER\\A]\n\"v\" \"x\"\n", 3, L"'='"},
        {"[HKEY_CURRENT_USER\\A]\nv=1\n", 3, L"unrecognised"},
        {"[-HKEY_CURRENT_USER]\n", 2, L"root"},
        {"[-HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n", 3, L"deleted"},
        {"[HKEY_CURRENT_USER\\A\\\\B]\n", 2, L"empty key name"},
    };
    for (const auto& c : cases) {
        const std::string text = header + c.body;
        std::vector<zyn::base::RegFileOp> ops;
        RegFileError error;
        EXPECT_FALSE(zyn::base::ParseRegFile({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, ops, error))
            << c.body;
        EXPECT_EQ(error.line, c.line) << c.body;
        EXPECT_NE(error.message.find(c.mentions), std::wstring::npos)
            << c.body << " -> " << std::string(error.message.begin(), error.message.end());
        EXPECT_TRUE(ops.empty());
    }
    std::vector<zyn::base::RegFileOp> ops;
    RegFileError error;
    const std::string noHeader = "[HKEY_CURRENT_USER\\A]\n";
    EXPECT_FALSE(zyn::base::ParseRegFile({reinterpret_cast<const uint8_t*>(noHeader.data()), noHeader.size()}, ops, error));
    EXPECT_EQ(error.line, 1);
    EXPECT_FALSE(zyn::base::ParseRegFile({}, ops, error));
}

TEST_F(RegFileTest, RegeditCommand)
{
    const auto file = m_dir / "cmd.reg";
    WriteText(file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Report Runtime\\DatabaseOptions\\OuterJoin]\r\n"
                    "\"Enabled\"=dword:00000001\r\n");
    const std::wstring path = std::wstring(file.wstring());
    EXPECT_EQ(zyn::base::RunRegeditCommand({L"regedit", L"/s", path}), 0u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Report Runtime\\DatabaseOptions\\OuterJoin"));
    EXPECT_EQ(zyn::base::RunRegeditCommand({L"/s", L"\"" + path + L"\""}), 0u);

    EXPECT_EQ(zyn::base::RunRegeditCommand({L"/s", (m_dir / "missing.reg").wstring()}), 1u);
    EXPECT_TRUE(LogMentions(L"missing.reg"));
    EXPECT_EQ(zyn::base::RunRegeditCommand({L"/s"}), 2u);
    EXPECT_EQ(zyn::base::RunRegeditCommand({L"/e", path}), 2u);
}

TEST_F(RegFileTest, RegeditThroughCreateProcess)
{
    const wchar_t* key = L"Software\\Report Runtime\\DatabaseOptions\\OuterJoin";
    // The registry's first use registers the command (here: the existence check that
    // precedes an import).
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
    const auto file = m_dir / "outer join.reg";
    WriteText(file, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Report Runtime\\DatabaseOptions\\OuterJoin]\r\n"
                    "\"Mode\"=dword:00000002\r\n");
    auto run = [](std::wstring commandLine) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return static_cast<DWORD>(0xBAD);
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0xBAD;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    };
    EXPECT_EQ(run(L"regedit /s \"" + file.wstring() + L"\""), 0u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key));

    const auto bad = m_dir / "bad.reg";
    WriteText(bad, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"v\"=dword:zz\r\n");
    EXPECT_EQ(run(L"C:\\Windows\\REGEDIT.EXE /s \"" + bad.wstring() + L"\""), 1u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Other"));
}
