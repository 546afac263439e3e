#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/environment.h"
#include "platform/base/lasterror.h"
#include "platform/base/path.h"
#include "platform/base/registry_store.h"
#include "tests/support/testenv.h"

namespace {

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(Environment, ComputerNameIsTheUpperCaseShortHostName)
{
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, HOST_NAME_MAX), 0);
    std::string expected(host);
    expected = expected.substr(0, expected.find('.'));
    for (char& c : expected)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::wstring want = Widen(expected);

    wchar_t small[1] = {L'#'};
    DWORD size = 1;
    SetLastError(0);
    EXPECT_FALSE(GetComputerNameW(small, &size));
    EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
    EXPECT_EQ(size, want.size() + 1) << "the size needed, terminator included";
    EXPECT_EQ(small[0], L'#');

    size = static_cast<DWORD>(want.size()); // one short
    std::wstring buf(want.size() + 1, L'#');
    EXPECT_FALSE(GetComputerNameW(buf.data(), &size));
    EXPECT_EQ(size, want.size() + 1);

    EXPECT_TRUE(GetComputerNameW(buf.data(), &size));
    EXPECT_EQ(size, want.size()) << "on success, the length without terminator";
    EXPECT_EQ(std::wstring(buf.c_str()), want);
}

TEST(Environment, UserName)
{
    const passwd* pw = ::getpwuid(::geteuid());
    ASSERT_NE(pw, nullptr);
    const std::wstring want = Widen(pw->pw_name);
    DWORD size = 1;
    wchar_t one[1];
    EXPECT_FALSE(GetUserNameW(one, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, want.size() + 1);
    std::wstring buf(size, L'#');
    EXPECT_TRUE(GetUserNameW(buf.data(), &size));
    EXPECT_EQ(size, want.size() + 1) << "counts the terminator";
    EXPECT_EQ(std::wstring(buf.c_str()), want);
}

TEST(Environment, VariablesFollowWindowsReturnRules)
{
    ScopedEnv a("ZYN_T_VALUE", "h\xC3\xA9llo");
    ScopedEnv b("ZYN_T_EMPTY", "");
    ScopedEnv c("ZYN_T_MISSING", nullptr);

    wchar_t buf[16] = {};
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_VALUE", buf, 16), 5u);
    EXPECT_EQ(std::wstring(buf), L"h\u00E9llo");
    // Too small: the size needed with the terminator, buffer untouched.
    wchar_t small[5] = {L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_VALUE", small, 5), 6u);
    EXPECT_EQ(small[0], L'#');
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_VALUE", nullptr, 0), 6u);

    // Names match without regard to case.
    EXPECT_EQ(GetEnvironmentVariableW(L"zyn_t_value", buf, 16), 5u);

    SetLastError(123);
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_EMPTY", buf, 16), 0u);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "present but empty";
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_MISSING", buf, 16), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);

    // Setting under another case keeps the existing spelling; null deletes.
    ASSERT_TRUE(SetEnvironmentVariableW(L"Zyn_T_Value", L"new"));
    EXPECT_STREQ(std::getenv("ZYN_T_VALUE"), "new");
    EXPECT_EQ(std::getenv("Zyn_T_Value"), nullptr);
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZYN_T_MISSING", L"\U0001F600"));
    EXPECT_STREQ(std::getenv("ZYN_T_MISSING"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(GetEnvironmentVariableW(L"ZYN_T_MISSING", buf, 16), 1u);
    EXPECT_EQ(buf[0], L'\U0001F600');
    ASSERT_TRUE(SetEnvironmentVariableW(L"zyn_t_missing", nullptr));
    EXPECT_EQ(std::getenv("ZYN_T_MISSING"), nullptr);

    EXPECT_FALSE(SetEnvironmentVariableW(L"A=B", L"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetEnvironmentVariableW(L"", L"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Environment, ExpandEnvironmentStrings)
{
    ScopedEnv root("ZYN_T_ROOT", "/opt/zyn");
    ScopedEnv unknown("ZYN_T_UNKNOWN", nullptr);
    const wchar_t* src = L"%ZYN_T_ROOT%\\bin;%zyn_t_unknown%;100% sure;%%;%ZYN_T_ROOT";
    const std::wstring want = L"/opt/zyn\\bin;%zyn_t_unknown%;100% sure;%%;%ZYN_T_ROOT";

    wchar_t buf[128];
    EXPECT_EQ(ExpandEnvironmentStringsW(src, buf, 128), want.size() + 1) << "the size counts the terminator";
    EXPECT_EQ(std::wstring(buf), want);

    const DWORD needed = ExpandEnvironmentStringsW(src, nullptr, 0);
    EXPECT_EQ(needed, want.size() + 1);
    EXPECT_EQ(ExpandEnvironmentStringsW(src, buf, needed - 1), needed);
    EXPECT_EQ(buf[0], L'\0');
    EXPECT_EQ(ExpandEnvironmentStringsW(src, buf, needed), needed);
    EXPECT_EQ(std::wstring(buf), want);

    EXPECT_EQ(ExpandEnvironmentStringsW(L"%ZYN_T_ROOT%%ZYN_T_ROOT%", buf, 128), 17u);
    EXPECT_EQ(std::wstring(buf), L"/opt/zyn/opt/zyn");
}

TEST(Environment, WindowsDirectoryHonoursZynWindir)
{
    const std::filesystem::path root(zyn::test::TempRoot());
    const std::filesystem::path dir = root / "winroot" / "deeper";
    ScopedEnv w("ZYN_WINDIR", dir.c_str());

    wchar_t buf[PATH_MAX];
    const UINT n = GetWindowsDirectoryW(buf, PATH_MAX);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(std::wstring(buf, n), dir.wstring());
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << "created on demand";
    EXPECT_EQ(zyn::base::WindowsDirectory(), dir);

    EXPECT_EQ(GetWindowsDirectoryW(buf, n), n + 1) << "too small: the size with the terminator";
    EXPECT_EQ(GetWindowsDirectoryW(nullptr, 0), n + 1);

    const UINT s = GetSystemDirectoryW(buf, PATH_MAX);
    EXPECT_EQ(std::wstring(buf, s), (dir / "system32").wstring());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "system32"));

    // Without ZYN_WINDIR: $XDG_CONFIG_HOME/zyn, else $HOME/.config/zyn.
    ScopedEnv none("ZYN_WINDIR", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", (root / "xdg").c_str());
    EXPECT_EQ(zyn::base::WindowsDirectory(), root / "xdg" / "zyn");
    ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", (root / "home2").c_str());
    EXPECT_EQ(zyn::base::WindowsDirectory(), root / "home2" / ".config" / "zyn");
    EXPECT_TRUE(std::filesystem::is_directory(root / "home2" / ".config" / "zyn"));
}

TEST(Environment, WindowsAndRegistryFoldersFollowOneRule)
{
    // The account's home as the user database gives it, for the rows without HOME.
    std::string accountHome;
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir)
        accountHome = pw->pw_dir;
    const std::filesystem::path root(zyn::test::TempRoot());
    const std::filesystem::path cwd = std::filesystem::current_path();
    struct Row {
        const char* name;
        const char* own;  // ZYN_WINDIR / ZYN_REGISTRY_DIR
        const char* xdg;  // XDG_CONFIG_HOME
        const char* home; // HOME
        std::filesystem::path expected;
    };
    const std::string own = (root / "own/./x").string(), xdg = (root / "cfg").string(),
                      home = (root / "h").string();
    // Without any home the caller's fallback: "/fallback" here, none for the registry.
    const std::filesystem::path accountFolder =
        accountHome.empty() ? std::filesystem::path() : std::filesystem::path(accountHome) / ".config" / "zyn";
    const std::vector<Row> rows = {
        {"own variable first", own.c_str(), xdg.c_str(), home.c_str(), root / "own" / "x"},
        {"own variable made absolute", "rel/dir", xdg.c_str(), home.c_str(), cwd / "rel" / "dir"},
        {"then XDG_CONFIG_HOME", nullptr, xdg.c_str(), home.c_str(), root / "cfg" / "zyn"},
        {"a relative XDG_CONFIG_HOME is ignored", nullptr, "relative", home.c_str(), root / "h" / ".config" / "zyn"},
        {"an empty own variable is ignored", "", nullptr, home.c_str(), root / "h" / ".config" / "zyn"},
        {"then the account's home", nullptr, nullptr, nullptr, accountFolder},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScopedEnv x("XDG_CONFIG_HOME", r.xdg);
        ScopedEnv h("HOME", r.home);
        ScopedEnv w("ZYN_WINDIR", r.own);
        ScopedEnv g("ZYN_REGISTRY_DIR", r.own);
        EXPECT_EQ(zyn::base::SettingsDirectory("ZYN_WINDIR", "/fallback"),
            r.expected.empty() ? std::filesystem::path("/fallback") : r.expected);
        EXPECT_EQ(zyn::base::RegistryDirectory(), r.expected);
        if (r.expected.string().rfind(root.string(), 0) == 0) {
            std::error_code ec;
            EXPECT_EQ(zyn::base::WindowsDirectory(ec), r.expected);
            EXPECT_FALSE(ec);
        }
    }
}

TEST(Environment, WindowsDirectoryThatCannotBeMadeIsAnError)
{
    const std::filesystem::path file = std::filesystem::path(zyn::test::TempRoot()) / "plainfile";
    { std::FILE* f = std::fopen(file.c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
    ScopedEnv w("ZYN_WINDIR", (file / "sub").c_str());
    wchar_t buf[PATH_MAX];
    SetLastError(0);
    EXPECT_EQ(GetWindowsDirectoryW(buf, PATH_MAX), 0u);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_THROW(zyn::base::WindowsDirectory(), std::filesystem::filesystem_error);
}

TEST(Environment, CurrentDirectory)
{
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path target = std::filesystem::canonical(zyn::test::TempRoot());
    ASSERT_TRUE(SetCurrentDirectoryW(target.wstring().c_str()));
    wchar_t buf[PATH_MAX];
    const DWORD n = GetCurrentDirectoryW(PATH_MAX, buf);
    EXPECT_EQ(std::wstring(buf, n), target.wstring());
    EXPECT_EQ(GetCurrentDirectoryW(0, nullptr), n + 1);
    EXPECT_EQ(GetCurrentDirectoryW(n, buf), n + 1);

    EXPECT_FALSE(SetCurrentDirectoryW(L"/nonexistent/zyn/dir"));
    EXPECT_TRUE(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND) << GetLastError();
    EXPECT_EQ(std::filesystem::current_path(), target) << "a failed change leaves the directory";
    std::filesystem::current_path(before);
}
