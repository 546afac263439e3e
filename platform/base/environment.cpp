#include "platform/base/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

extern char** environ;

namespace zyn::base {
namespace {

// Serialises our reads and writes of the C environment (getenv is not safe against a
// concurrent setenv).
std::mutex& EnvMutex()
{
    static std::mutex m;
    return m;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

struct Variable {
    std::string name; // the spelling in the environment
    std::string value;
};

// Exact name first, then without regard to ASCII case. Caller holds EnvMutex().
std::optional<Variable> FindLocked(const std::string& name)
{
    if (const char* v = ::getenv(name.c_str()))
        return Variable{name, v};
    for (char** e = environ; e && *e; ++e) {
        const std::string_view entry(*e);
        const size_t eq = entry.find('=');
        if (eq != std::string_view::npos && EqualNoCase(entry.substr(0, eq), name))
            return Variable{std::string(entry.substr(0, eq)), std::string(entry.substr(eq + 1))};
    }
    return std::nullopt;
}

std::optional<std::string> Env(const char* name)
{
    std::lock_guard lock(EnvMutex());
    const char* v = ::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
}

DWORD ErrorFromErrno(int e)
{
    switch (e) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
        return ERROR_INVALID_NAME;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

// Copies text with the "length, or size needed with terminator" convention.
DWORD CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size)
{
    if (text.size() < size) {
        text.copy(buffer, text.size());
        buffer[text.size()] = L'\0';
        return static_cast<DWORD>(text.size());
    }
    return static_cast<DWORD>(std::min<size_t>(text.size() + 1, UINT32_MAX));
}

bool ValidName(LPCWSTR name)
{
    return name && *name && std::wstring_view(name).find(L'=') == std::wstring_view::npos;
}

std::wstring ExpandLocked(std::wstring_view src)
{
    std::wstring out;
    out.reserve(src.size());
    size_t i = 0;
    while (i < src.size()) {
        const size_t open = src.find(L'%', i);
        if (open == std::wstring_view::npos) {
            out.append(src.substr(i));
            break;
        }
        out.append(src.substr(i, open - i));
        const size_t close = src.find(L'%', open + 1);
        if (close == std::wstring_view::npos) {
            out.append(src.substr(open));
            break;
        }
        const std::wstring_view name = src.substr(open + 1, close - open - 1);
        std::optional<Variable> var;
        if (!name.empty())
            var = FindLocked(ToUtf8(name));
        if (var)
            out += FromUtf8(var->value);
        else
            out.append(src.substr(open, close - open + 1));
        i = close + 1;
    }
    return out;
}

UINT CopyDirectory(const std::filesystem::path& dir, std::error_code ec, LPWSTR buffer, UINT size)
{
    if (ec) {
        SetLastError(ErrorFromErrno(ec.value()));
        return 0;
    }
    if (!buffer && size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return CopyOut(FromUtf8(dir.string()), buffer, size);
}

} // namespace

std::filesystem::path SettingsDirectory(const char* variable, const std::filesystem::path& fallback)
{
    std::error_code ec;
    if (const auto v = Env(variable); v && !v->empty())
        return std::filesystem::absolute(*v, ec).lexically_normal();
    if (const auto x = Env("XDG_CONFIG_HOME"); x && !x->empty() && (*x)[0] == '/')
        return std::filesystem::path(*x) / "zyn";
    std::optional<std::string> home = Env("HOME");
    if (!home || home->empty()) {
        home.reset();
        struct passwd pw {};
        struct passwd* result = nullptr;
        std::vector<char> buf(16384);
        if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &result) == 0 && result && result->pw_dir &&
            *result->pw_dir)
            home = result->pw_dir;
    }
    return home ? std::filesystem::path(*home) / ".config" / "zyn" : fallback;
}

std::filesystem::path WindowsDirectory(std::error_code& ec)
{
    ec.clear();
    const std::filesystem::path dir = SettingsDirectory("ZYN_WINDIR", "/tmp/.config/zyn");
    std::filesystem::create_directories(dir, ec);
    return dir;
}

std::filesystem::path WindowsDirectory()
{
    std::error_code ec;
    auto dir = WindowsDirectory(ec);
    if (ec)
        throw std::filesystem::filesystem_error("cannot create the Windows directory", dir, ec);
    return dir;
}

} // namespace zyn::base

using namespace zyn::base;

namespace {

// Hands a name back in the caller's buffer of *size characters. A short buffer gets
// `shortError` and *size set to the characters needed, terminator included; on success
// *size is the name's length, plus one when `countTerminator`.
BOOL NameOut(const std::wstring& name, LPWSTR buffer, LPDWORD size, DWORD shortError, bool countTerminator)
{
    if (*size <= name.size()) {
        *size = static_cast<DWORD>(name.size() + 1);
        SetLastError(shortError);
        return FALSE;
    }
    if (!buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    name.copy(buffer, name.size());
    buffer[name.size()] = L'\0';
    *size = static_cast<DWORD>(name.size() + (countTerminator ? 1 : 0));
    return TRUE;
}

} // namespace

BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize)
{
    if (!nSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    std::string shortName(host);
    if (const size_t dot = shortName.find('.'); dot != std::string::npos)
        shortName.resize(dot);
    for (char& c : shortName)
        c = UpperAscii(c);
    // The length on success leaves the terminator out, as Windows does here.
    return NameOut(FromUtf8(shortName), lpBuffer, nSize, ERROR_BUFFER_OVERFLOW, false);
}

BOOL GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer)
{
    if (!pcbBuffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string login;
    struct passwd pw {};
    struct passwd* result = nullptr;
    std::vector<char> buf(16384);
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &result) == 0 && result && result->pw_name)
        login = result->pw_name;
    else if (const auto u = Env("USER"); u && !u->empty())
        login = *u;
    else if (const auto l = Env("LOGNAME"); l && !l->empty())
        login = *l;
    else
        login = std::to_string(::geteuid()); // an account without a name: its number
    // The length on success counts the terminator, as Windows does here.
    return NameOut(FromUtf8(login), lpBuffer, pcbBuffer, ERROR_INSUFFICIENT_BUFFER, true);
}

DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize)
{
    if (!ValidName(lpName) || (!lpBuffer && nSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::optional<Variable> var;
    {
        std::lock_guard lock(EnvMutex());
        var = FindLocked(ToUtf8(lpName));
    }
    if (!var) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::wstring value = FromUtf8(var->value);
    if (value.empty()) {
        if (nSize)
            lpBuffer[0] = L'\0';
        SetLastError(ERROR_SUCCESS);
        return 0;
    }
    return CopyOut(value, lpBuffer, nSize);
}

BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue)
{
    if (!ValidName(lpName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(EnvMutex());
    const std::string wanted = ToUtf8(lpName);
    const auto existing = FindLocked(wanted);
    const std::string name = existing ? existing->name : wanted;
    const int rc = lpValue ? ::setenv(name.c_str(), ToUtf8(lpValue).c_str(), 1) : ::unsetenv(name.c_str());
    if (rc != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

DWORD ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize)
{
    if (!lpSrc || (!lpDst && nSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring out;
    {
        std::lock_guard lock(EnvMutex());
        out = ExpandLocked(lpSrc);
    }
    if (out.size() >= UINT32_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const auto needed = static_cast<DWORD>(out.size() + 1);
    if (needed > nSize) {
        if (nSize)
            lpDst[0] = L'\0';
        return needed;
    }
    out.copy(lpDst, out.size());
    lpDst[out.size()] = L'\0';
    return needed;
}

UINT GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize)
{
    std::error_code ec;
    const auto dir = WindowsDirectory(ec);
    return CopyDirectory(dir, ec, lpBuffer, uSize);
}

UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize)
{
    std::error_code ec;
    auto dir = WindowsDirectory(ec);
    if (!ec) {
        dir /= "system32";
        std::filesystem::create_directories(dir, ec);
    }
    return CopyDirectory(dir, ec, lpBuffer, uSize);
}
