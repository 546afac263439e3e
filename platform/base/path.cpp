// Path conversion between the Windows form and the native tree, full paths, the
// current and temporary directories, and wildcard matching.
#include "platform/base/path.h"

#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace {

bool HasDrive(std::wstring_view p)
{
    return p.size() >= 2 && p[1] == L':' && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z'));
}

// Copies a result into a caller's buffer with the Win32 size convention.
DWORD CopyOut(const std::wstring& s, DWORD nBufferLength, LPWSTR lpBuffer)
{
    if (s.size() + 1 > nBufferLength || !lpBuffer)
        return static_cast<DWORD>(s.size() + 1);
    s.copy(lpBuffer, s.size());
    lpBuffer[s.size()] = L'\0';
    return static_cast<DWORD>(s.size());
}

std::string CurrentDirectory()
{
    std::vector<char> buf(256);
    for (;;) {
        if (::getcwd(buf.data(), buf.size()))
            return std::string(buf.data());
        if (errno != ERANGE || buf.size() > (1u << 20))
            return std::string();
        buf.resize(buf.size() * 2);
    }
}

// Lexical normalisation of an absolute native path: "." dropped, ".." takes one
// component off (never above the root), repeated separators collapsed.
std::string Normalise(const std::string& abs)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < abs.size()) {
        while (i < abs.size() && abs[i] == '/')
            ++i;
        const size_t start = i;
        while (i < abs.size() && abs[i] != '/')
            ++i;
        if (i == start)
            break;
        std::string part = abs.substr(start, i - start);
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string out;
    for (const auto& p : parts) {
        out += '/';
        out += p;
    }
    if (out.empty())
        out = "/";
    else if (abs.back() == '/')
        out += '/';
    return out;
}

} // namespace

std::string ToNativePath(std::wstring_view path)
{
    bool driveOnly = false;
    if (HasDrive(path)) {
        driveOnly = path.size() == 2;
        path.remove_prefix(2);
    }
    if (driveOnly)
        return "/";
    std::wstring w(path);
    for (auto& c : w)
        if (c == L'\\')
            c = L'/';
    return ToUtf8(w);
}

std::string ToNativePath(LPCWSTR path)
{
    return path ? ToNativePath(std::wstring_view(path)) : std::string();
}

std::wstring FromNativePath(std::string_view nativePath)
{
    return FromUtf8(nativePath);
}

DWORD Win32ErrorFromErrno(int err)
{
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EAGAIN:
    case ENOLCK:
    case EDEADLK: return ERROR_LOCK_VIOLATION;
    case ESPIPE: return ERROR_SEEK;
    case ELOOP: return ERROR_BAD_PATHNAME;
    case EILSEQ: return ERROR_NO_UNICODE_TRANSLATION;
    case EIO:
    default: return ERROR_WRITE_FAULT;
    }
}

std::string FullNativePath(std::wstring_view path)
{
    if (path.empty())
        return std::string();
    std::string native = ToNativePath(path);
    if (native.empty() || native[0] != '/') {
        std::string cwd = CurrentDirectory();
        if (cwd.empty())
            return std::string();
        native = cwd + "/" + native;
    }
    return Normalise(native);
}

std::wstring FullPath(std::wstring_view path)
{
    const std::string native = FullNativePath(path);
    return native.empty() ? std::wstring() : FromNativePath(native);
}

bool MatchWildcard(std::wstring_view pattern, std::wstring_view name)
{
    // "*.*" is the classic "every file" pattern, names without a dot included.
    if (pattern == L"*.*")
        pattern = L"*";
    auto fold = [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); };
    // Iterative matcher with one back-tracking point for the last '*'.
    size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

namespace fs {

namespace {
// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDelta = 11644473600LL;
} // namespace

FILETIME ToFileTime(int64_t unixSeconds, int64_t nanoseconds)
{
    const int64_t ticks = (unixSeconds + kEpochDelta) * 10000000LL + nanoseconds / 100;
    const auto u = static_cast<uint64_t>(ticks < 0 ? 0 : ticks);
    return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}

int64_t ToUnixSeconds(const FILETIME& ft)
{
    const uint64_t u = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<int64_t>(u / 10000000ULL) - kEpochDelta;
}

} // namespace fs

} // namespace zyn::base

using zyn::base::CopyOut;

DWORD GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart)
{
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    const std::wstring full = zyn::base::FullPath(lpFileName);
    if (full.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const DWORD r = CopyOut(full, nBufferLength, lpBuffer);
    if (lpFilePart) {
        *lpFilePart = nullptr;
        if (r < nBufferLength && lpBuffer && full.back() != L'\\' && full.back() != L'/') {
            const size_t slash = full.find_last_of(L"\\/");
            *lpFilePart = lpBuffer + (slash == std::wstring::npos ? 0 : slash + 1);
        }
    }
    return r;
}
DWORD GetFullPathName(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart)
{
    return GetFullPathNameW(lpFileName, nBufferLength, lpBuffer, lpFilePart);
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    const std::string cwd = zyn::base::CurrentDirectory();
    if (cwd.empty()) {
        SetLastError(zyn::base::Win32ErrorFromErrno(errno));
        return 0;
    }
    return CopyOut(zyn::base::FromNativePath(cwd), nBufferLength, lpBuffer);
}
DWORD GetCurrentDirectory(DWORD nBufferLength, LPWSTR lpBuffer) { return GetCurrentDirectoryW(nBufferLength, lpBuffer); }

BOOL SetCurrentDirectoryW(LPCWSTR lpPathName)
{
    if (!lpPathName || !*lpPathName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (::chdir(zyn::base::ToNativePath(lpPathName).c_str()) != 0) {
        const int err = errno;
        SetLastError(err == ENOENT ? ERROR_PATH_NOT_FOUND : err == ENOTDIR ? ERROR_DIRECTORY
                                                                             : zyn::base::Win32ErrorFromErrno(err));
        return FALSE;
    }
    return TRUE;
}
BOOL SetCurrentDirectory(LPCWSTR lpPathName) { return SetCurrentDirectoryW(lpPathName); }

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    std::string dir;
    if (const char* t = std::getenv("TMPDIR"); t && *t == '/')
        dir = t;
    else
        dir = "/tmp";
    if (dir.back() != '/')
        dir += '/';
    return CopyOut(zyn::base::FromNativePath(dir), nBufferLength, lpBuffer);
}
DWORD GetTempPath(DWORD nBufferLength, LPWSTR lpBuffer) { return GetTempPathW(nBufferLength, lpBuffer); }
