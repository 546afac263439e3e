// The Win32 file-system functions over the native tree: attributes, directories,
// deleting, moving and copying files, temporary names and directory searches.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/fs_internal.h"
#include "platform/base/lasterror.h"
#include "platform/base/path.h"

namespace zyn::base::fs {

namespace {

class FileToken : public FsObject {};

class FindState : public FsObject {
public:
    std::string dir;                 // native folder, with a trailing '/'
    std::vector<std::string> names;  // matching entries, in order
    size_t next = 0;
};

bool IsHiddenName(const std::string& name)
{
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

void FillTimes(const struct statx& sx, FileInfo& info)
{
    info.accessed = ToFileTime(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    info.modified = ToFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    info.accessedUnix = sx.stx_atime.tv_sec;
    info.modifiedUnix = sx.stx_mtime.tv_sec;
    if (sx.stx_mask & STATX_BTIME) {
        info.created = ToFileTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
        info.createdUnix = sx.stx_btime.tv_sec;
    } else {
        info.created = info.modified;
        info.createdUnix = info.modifiedUnix;
    }
}

void FillInfo(const struct statx& sx, const std::string& name, FileInfo& info)
{
    info = FileInfo{};
    const bool dir = S_ISDIR(sx.stx_mode);
    if (dir)
        info.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(sx.stx_mode & S_IWUSR))
        info.attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHiddenName(name))
        info.attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!dir && !S_ISREG(sx.stx_mode))
        info.attributes |= FILE_ATTRIBUTE_DEVICE;
    if (info.attributes == 0)
        info.attributes = FILE_ATTRIBUTE_NORMAL;
    info.size = dir ? 0 : sx.stx_size;
    FillTimes(sx, info);
}

constexpr unsigned kStatxMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;

} // namespace

HandleTable<FsObject>& Handles()
{
    static HandleTable<FsObject> table(HandleKind::Misc);
    return table;
}

HANDLE NewFileToken()
{
    const uint32_t v = Handles().Add(std::make_shared<FileToken>());
    return v ? MakeHandle<HANDLE>(v) : nullptr;
}

void ReleaseFileToken(HANDLE h)
{
    auto obj = Handles().Get(h);
    if (obj && dynamic_cast<FileToken*>(obj.get()))
        Handles().Remove(h);
}

bool QueryFileInfo(const std::string& nativePath, FileInfo& info)
{
    struct statx sx {};
    if (::statx(AT_FDCWD, nativePath.c_str(), 0, kStatxMask, &sx) != 0)
        return false;
    FillInfo(sx, BaseName(nativePath), info);
    return true;
}

bool QueryFileInfo(int fd, const std::string& nativeName, FileInfo& info)
{
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, kStatxMask, &sx) != 0)
        return false;
    FillInfo(sx, BaseName(nativeName), info);
    return true;
}

std::string BaseName(const std::string& nativePath)
{
    size_t end = nativePath.size();
    while (end > 1 && nativePath[end - 1] == '/')
        --end;
    if (end == 0)
        return std::string();
    if (end == 1 && nativePath[0] == '/')
        return "/";
    const size_t slash = nativePath.rfind('/', end - 1);
    if (slash == std::string::npos)
        return nativePath.substr(0, end);
    return nativePath.substr(slash + 1, end - slash - 1);
}

std::string DirName(const std::string& nativePath)
{
    size_t end = nativePath.size();
    while (end > 1 && nativePath[end - 1] == '/')
        --end;
    const size_t slash = end == 0 ? std::string::npos : nativePath.rfind('/', end - 1);
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return nativePath.substr(0, slash);
}

DWORD PathError(int err, const std::string& nativePath)
{
    if (err == ENOTDIR)
        return ERROR_PATH_NOT_FOUND;
    if (err == ENOENT) {
        struct stat st {};
        const std::string parent = DirName(nativePath);
        if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return ERROR_PATH_NOT_FOUND;
        return ERROR_FILE_NOT_FOUND;
    }
    return Win32ErrorFromErrno(err);
}

} // namespace zyn::base::fs

using namespace zyn::base;
using namespace zyn::base::fs;

namespace {

bool BadName(LPCWSTR p)
{
    if (!p || !*p) {
        SetLastError(p ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return true;
    }
    return false;
}

BOOL Fail(DWORD err)
{
    SetLastError(err);
    return FALSE;
}

// Writes all of a buffer, retrying after interruptions and short writes.
bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

bool SyncDirectoryOf(const std::string& native)
{
    const int d = ::open(DirName(native).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d < 0)
        return false;
    const bool ok = ::fsync(d) == 0;
    ::close(d);
    return ok;
}

// Renames, refusing to replace an existing target unless asked.
int RenameNative(const std::string& from, const std::string& to, bool replace)
{
    if (replace)
        return ::rename(from.c_str(), to.c_str());
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // File systems without RENAME_NOREPLACE: check, then rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

// Copies src to dst through a temporary sibling renamed over dst at the end. Returns a
// Win32 error code (ERROR_SUCCESS when done).
DWORD CopyNative(const std::string& src, const std::string& dst, bool failIfExists)
{
    const int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return PathError(errno, src);
    struct stat st {};
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(in);
        return ERROR_ACCESS_DENIED;
    }
    struct stat dstSt {};
    if (::stat(dst.c_str(), &dstSt) == 0) {
        if (failIfExists) {
            ::close(in);
            return ERROR_FILE_EXISTS;
        }
        if (S_ISDIR(dstSt.st_mode) || !(dstSt.st_mode & S_IWUSR)) {
            ::close(in);
            return ERROR_ACCESS_DENIED;
        }
    }
    std::string tmpl = dst + ".~zcXXXXXX";
    const int out = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (out < 0) {
        const DWORD e = PathError(errno, dst);
        ::close(in);
        return e;
    }
    DWORD result = ERROR_SUCCESS;
    std::vector<char> buf(1 << 16);
    for (;;) {
        const ssize_t r = ::read(in, buf.data(), buf.size());
        if (r < 0) {
            if (errno == EINTR)
                continue;
            result = ERROR_READ_FAULT;
            break;
        }
        if (r == 0)
            break;
        if (!WriteAll(out, buf.data(), static_cast<size_t>(r))) {
            result = Win32ErrorFromErrno(errno);
            break;
        }
    }
    ::close(in);
    if (result == ERROR_SUCCESS) {
        ::fchmod(out, st.st_mode & 07777);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out, times);
    }
    if (::close(out) != 0 && result == ERROR_SUCCESS)
        result = Win32ErrorFromErrno(errno);
    if (result == ERROR_SUCCESS && RenameNative(tmpl, dst, !failIfExists) != 0)
        result = errno == EEXIST ? ERROR_FILE_EXISTS : PathError(errno, dst);
    if (result != ERROR_SUCCESS)
        ::unlink(tmpl.c_str());
    return result;
}

void FillFindData(const FileInfo& info, const std::string& name, WIN32_FIND_DATAW& fd)
{
    std::memset(&fd, 0, sizeof fd);
    fd.dwFileAttributes = info.attributes;
    fd.ftCreationTime = info.created;
    fd.ftLastAccessTime = info.accessed;
    fd.ftLastWriteTime = info.modified;
    fd.nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
    fd.nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFFu);
    const std::wstring w = FromNativePath(name);
    const size_t n = std::min<size_t>(w.size(), MAX_PATH - 1);
    w.copy(fd.cFileName, n);
    fd.cFileName[n] = L'\0';
}

// Reports the next entry of a search that still exists; false when none is left.
bool NextEntry(FindState& st, WIN32_FIND_DATAW& fd)
{
    while (st.next < st.names.size()) {
        const std::string& name = st.names[st.next++];
        FileInfo info;
        if (QueryFileInfo(st.dir + name, info)) {
            if (name == "." || name == "..")
                info.attributes &= ~FILE_ATTRIBUTE_HIDDEN;
            FillFindData(info, name, fd);
            return true;
        }
    }
    return false;
}

} // namespace

// ---- attributes ------------------------------------------------------------------------

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    if (BadName(lpFileName))
        return INVALID_FILE_ATTRIBUTES;
    const std::string native = ToNativePath(lpFileName);
    FileInfo info;
    if (!QueryFileInfo(native, info)) {
        SetLastError(PathError(errno, native));
        return INVALID_FILE_ATTRIBUTES;
    }
    return info.attributes;
}
DWORD GetFileAttributes(LPCWSTR lpFileName) { return GetFileAttributesW(lpFileName); }

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes)
{
    if (BadName(lpFileName))
        return FALSE;
    const std::string native = ToNativePath(lpFileName);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0)
        return Fail(PathError(errno, native));
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else if (!(mode & S_IWUSR)) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode |= (S_IWUSR | S_IWGRP | S_IWOTH) & ~mask;
        mode |= S_IWUSR;
    }
    if (mode != (st.st_mode & 07777) && ::chmod(native.c_str(), mode) != 0)
        return Fail(PathError(errno, native));
    return TRUE;
}
BOOL SetFileAttributes(LPCWSTR lpFileName, DWORD dwFileAttributes)
{
    return SetFileAttributesW(lpFileName, dwFileAttributes);
}

BOOL PathFileExistsW(LPCWSTR pszPath)
{
    if (BadName(pszPath))
        return FALSE;
    const std::string native = ToNativePath(pszPath);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0)
        return Fail(PathError(errno, native));
    return TRUE;
}
BOOL PathFileExists(LPCWSTR pszPath) { return PathFileExistsW(pszPath); }

// ---- directories and files -----------------------------------------------------------

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    if (BadName(lpPathName))
        return FALSE;
    const std::string native = ToNativePath(lpPathName);
    if (::mkdir(native.c_str(), 0777) != 0)
        return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : errno == ENOENT ? ERROR_PATH_NOT_FOUND
                                                                              : PathError(errno, native));
    return TRUE;
}
BOOL CreateDirectory(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES sa) { return CreateDirectoryW(lpPathName, sa); }

BOOL RemoveDirectoryW(LPCWSTR lpPathName)
{
    if (BadName(lpPathName))
        return FALSE;
    const std::string native = ToNativePath(lpPathName);
    if (::rmdir(native.c_str()) != 0) {
        const int err = errno;
        if (err == ENOTEMPTY || err == EEXIST)
            return Fail(ERROR_DIR_NOT_EMPTY);
        if (err == ENOTDIR) {
            struct stat st {};
            if (::stat(native.c_str(), &st) == 0)
                return Fail(ERROR_DIRECTORY);
        }
        return Fail(PathError(err, native));
    }
    return TRUE;
}
BOOL RemoveDirectory(LPCWSTR lpPathName) { return RemoveDirectoryW(lpPathName); }

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    if (BadName(lpFileName))
        return FALSE;
    const std::string native = ToNativePath(lpFileName);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0)
        return Fail(PathError(errno, native));
    // As on Windows, folders and read-only files are not deleted.
    if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)))
        return Fail(ERROR_ACCESS_DENIED);
    if (::unlink(native.c_str()) != 0)
        return Fail(PathError(errno, native));
    return TRUE;
}
BOOL DeleteFile(LPCWSTR lpFileName) { return DeleteFileW(lpFileName); }

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    if (BadName(lpExistingFileName))
        return FALSE;
    if (!lpNewFileName || !*lpNewFileName)
        return Fail(ERROR_INVALID_PARAMETER); // delayed deletion at reboot has no meaning here
    const std::string from = ToNativePath(lpExistingFileName);
    const std::string to = ToNativePath(lpNewFileName);
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0)
        return Fail(PathError(errno, from));
    if (replace) {
        struct stat dst {};
        if (::stat(to.c_str(), &dst) == 0 && S_ISDIR(dst.st_mode))
            return Fail(ERROR_ACCESS_DENIED);
    }
    if (RenameNative(from, to, replace) != 0) {
        const int err = errno;
        if (err == EEXIST)
            return Fail(ERROR_ALREADY_EXISTS);
        if (err != EXDEV)
            return Fail(PathError(err, to));
        if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || !S_ISREG(st.st_mode))
            return Fail(ERROR_NOT_SAME_DEVICE);
        const DWORD e = CopyNative(from, to, !replace);
        if (e != ERROR_SUCCESS)
            return Fail(e == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : e);
        if (::unlink(from.c_str()) != 0)
            return Fail(PathError(errno, from));
    }
    if ((dwFlags & MOVEFILE_WRITE_THROUGH) && !SyncDirectoryOf(to))
        return Fail(Win32ErrorFromErrno(errno));
    return TRUE;
}
BOOL MoveFileEx(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    return MoveFileExW(lpExistingFileName, lpNewFileName, dwFlags);
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
    return MoveFileExW(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}
BOOL MoveFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) { return MoveFileW(lpExistingFileName, lpNewFileName); }

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
    if (BadName(lpExistingFileName) || BadName(lpNewFileName))
        return FALSE;
    const DWORD e = CopyNative(ToNativePath(lpExistingFileName), ToNativePath(lpNewFileName), bFailIfExists != FALSE);
    if (e != ERROR_SUCCESS)
        return Fail(e);
    return TRUE;
}
BOOL CopyFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
    return CopyFileW(lpExistingFileName, lpNewFileName, bFailIfExists);
}

// ---- temporary names -----------------------------------------------------------------

UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName)
{
    if (!lpPathName || !lpTempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring base(lpPathName);
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    if (lpPrefixString)
        base.append(lpPrefixString, std::min<size_t>(std::wcslen(lpPrefixString), 3));
    auto build = [&](UINT n) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"%X.TMP", n);
        return base + hex;
    };
    auto put = [&](const std::wstring& name) {
        if (name.size() >= static_cast<size_t>(MAX_PATH))
            return false;
        name.copy(lpTempFileName, name.size());
        lpTempFileName[name.size()] = L'\0';
        return true;
    };
    if (uUnique != 0) {
        const UINT n = uUnique & 0xFFFF;
        if (!put(build(n))) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        return n;
    }
    // Start somewhere unlikely to clash with other processes, then walk the 16-bit range.
    UINT start = static_cast<UINT>((::getpid() * 7919u) ^ static_cast<UINT>(std::time(nullptr))) & 0xFFFF;
    for (UINT i = 0; i < 0xFFFF; ++i) {
        const UINT n = ((start + i) % 0xFFFF) + 1; // 1..0xFFFF
        const std::wstring name = build(n);
        if (name.size() >= static_cast<size_t>(MAX_PATH)) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        const std::string native = ToNativePath(name);
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            put(name);
            return n;
        }
        if (errno != EEXIST) {
            const int err = errno;
            SetLastError(err == ENOENT || err == ENOTDIR ? ERROR_DIRECTORY : Win32ErrorFromErrno(err));
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
UINT GetTempFileName(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName)
{
    return GetTempFileNameW(lpPathName, lpPrefixString, uUnique, lpTempFileName);
}

// ---- directory search -------------------------------------------------------------------

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData)
{
    if (!lpFileName || !lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::wstring spec(lpFileName);
    const size_t sep = spec.find_last_of(L"\\/");
    const bool driveOnly = sep == std::wstring::npos && spec.size() >= 2 && spec[1] == L':';
    std::wstring dirPart = sep == std::wstring::npos ? (driveOnly ? spec.substr(0, 2) : std::wstring())
                                                     : spec.substr(0, sep + 1);
    std::wstring pattern = sep == std::wstring::npos ? (driveOnly ? spec.substr(2) : spec) : spec.substr(sep + 1);
    if (pattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string dir = dirPart.empty() ? std::string("./") : ToNativePath(dirPart);
    if (dir.empty() || dir.back() != '/')
        dir += '/';

    auto st = std::make_shared<FindState>();
    st->dir = dir;
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        const int err = errno;
        SetLastError(err == ENOENT || err == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(err));
        return INVALID_HANDLE_VALUE;
    }
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        const std::wstring wname = FromNativePath(name);
        if (MatchWildcard(pattern, wname))
            st->names.push_back(name);
    }
    ::closedir(d);
    std::sort(st->names.begin(), st->names.end(), [](const std::string& a, const std::string& b) {
        const bool aDot = a == "." || a == "..", bDot = b == "." || b == "..";
        if (aDot != bDot)
            return aDot;
        return a < b;
    });
    if (!NextEntry(*st, *lpFindFileData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const uint32_t v = Handles().Add(st);
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return INVALID_HANDLE_VALUE;
    }
    return MakeHandle<HANDLE>(v);
}
HANDLE FindFirstFile(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData)
{
    return FindFirstFileW(lpFileName, lpFindFileData);
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData)
{
    auto obj = Handles().Get(hFindFile);
    auto* st = dynamic_cast<FindState*>(obj.get());
    if (!st)
        return Fail(ERROR_INVALID_HANDLE);
    if (!lpFindFileData)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!NextEntry(*st, *lpFindFileData))
        return Fail(ERROR_NO_MORE_FILES);
    return TRUE;
}
BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData)
{
    return FindNextFileW(hFindFile, lpFindFileData);
}

BOOL FindClose(HANDLE hFindFile)
{
    auto obj = Handles().Get(hFindFile);
    if (!dynamic_cast<FindState*>(obj.get()) || !Handles().Remove(hFindFile))
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
