#pragma once
// Windows-style paths over the Linux file system, and the Win32 file-system functions.
//
// Path convention. The system's code builds Windows paths ("C:\Temp\a.txt",
// "..\data\x.ini"); the file system underneath is a single Linux tree. A wide path
// becomes a native one (UTF-8) by
//   - turning every backslash into '/',
//   - dropping a leading drive letter "X:", so that "C:\Temp\a.txt" is "/Temp/a.txt",
//     "C:relative\b" is "relative/b" and a bare "C:" is the root "/".
// Every drive therefore names the one root. The reverse, FromNativePath, keeps the native
// form ("/tmp/a.txt"), so every path the API returns (current, temporary, Windows and
// module folders) reads the same way and can be handed to native code as it is; Windows
// code that appends "\name" to it still gets a path that ToNativePath maps correctly.
//
// The functions below keep their Win32 contracts: BOOL/DWORD results, SetLastError with
// Win32 codes (lasterror.h), and the buffer-size conventions (a result that does not
// fit returns the size needed, terminator included).

#include <string>
#include <string_view>

#include "platform/base/wintypes.h"

#include "platform/base/systime.h"

namespace zyn::base {

std::string ToNativePath(LPCWSTR path);
std::string ToNativePath(std::wstring_view path);
std::wstring FromNativePath(std::string_view nativePath);

// The Win32 error for an errno value from a file-system call.
DWORD Win32ErrorFromErrno(int err);

// The absolute, normalised Windows form of a path (see GetFullPathNameW); empty when
// the path is empty or the current directory cannot be read.
std::wstring FullPath(std::wstring_view path);
// The native form of FullPath.
std::string FullNativePath(std::wstring_view path);

// Matches a file name against a pattern with '*' (any run) and '?' (one character),
// ignoring case as the Windows file system does. "*.*" matches every name, with or
// without a dot.
bool MatchWildcard(std::wstring_view pattern, std::wstring_view name);

} // namespace zyn::base

// ---- attributes -----------------------------------------------------------------------
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;   // names starting with '.'
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x00000040;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;   // a plain file with no other attribute
inline constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;

// Attributes of a file or directory; INVALID_FILE_ATTRIBUTES and the last error when it
// does not exist. A file is read-only when its owner may not write it.
DWORD GetFileAttributesW(LPCWSTR lpFileName);
DWORD GetFileAttributes(LPCWSTR lpFileName);
// Only FILE_ATTRIBUTE_READONLY has an effect (it clears or restores the write bits);
// the other attributes are accepted and ignored.
BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes);
BOOL SetFileAttributes(LPCWSTR lpFileName, DWORD dwFileAttributes);

// ---- directories and files ----------------------------------------------------------
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL CreateDirectory(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
// Removes an empty directory (ERROR_DIR_NOT_EMPTY otherwise).
BOOL RemoveDirectoryW(LPCWSTR lpPathName);
BOOL RemoveDirectory(LPCWSTR lpPathName);
// Deletes a file; a directory is refused with ERROR_ACCESS_DENIED.
BOOL DeleteFileW(LPCWSTR lpFileName);
BOOL DeleteFile(LPCWSTR lpFileName);

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
inline constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

// Renames a file or directory; fails with ERROR_ALREADY_EXISTS when the target exists.
// A file moves across file systems (copied, then the source deleted).
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
BOOL MoveFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
// MOVEFILE_REPLACE_EXISTING replaces a target file atomically; MOVEFILE_COPY_ALLOWED
// lets a file cross file systems; MOVEFILE_WRITE_THROUGH returns only once the move is
// on disk.
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
BOOL MoveFileEx(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
// Copies a file with its permissions and modification time. The copy is written beside
// the target and renamed over it at the end, so a failed copy leaves any old target
// intact. bFailIfExists: ERROR_FILE_EXISTS when the target exists.
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL CopyFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);

// ---- temporary files and full paths --------------------------------------------------
// The temporary folder ($TMPDIR, else /tmp) in Windows form, with a trailing backslash.
DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);
DWORD GetTempPath(DWORD nBufferLength, LPWSTR lpBuffer);
// "<path>\<up to 3 prefix characters><hex number>.TMP". With uUnique 0 a number is
// chosen and the (empty) file created so that the name stays reserved; otherwise the
// name is only built. lpTempFileName must hold MAX_PATH characters. Returns the number.
UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName);
UINT GetTempFileName(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName);
// The absolute, normalised form ("." and ".." resolved lexically) of a path, relative
// paths taken from the current directory. *lpFilePart (when asked) points at the last
// component in lpBuffer, or is null when the path ends with a separator.
DWORD GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart);
DWORD GetFullPathName(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart);
DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
DWORD GetCurrentDirectory(DWORD nBufferLength, LPWSTR lpBuffer);
BOOL SetCurrentDirectoryW(LPCWSTR lpPathName);
BOOL SetCurrentDirectory(LPCWSTR lpPathName);
BOOL PathFileExistsW(LPCWSTR pszPath);
BOOL PathFileExists(LPCWSTR pszPath);

// ---- directory search -----------------------------------------------------------------
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
using WIN32_FIND_DATA = WIN32_FIND_DATAW;
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
using LPWIN32_FIND_DATA = WIN32_FIND_DATAW*;

// Searches "<directory>\<pattern>" where the pattern's last component may hold '*' and
// '?'. The directory is read once, when the search starts. "." and ".." are reported
// when the pattern matches them, as Windows does. No match: INVALID_HANDLE_VALUE with
// ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND when the directory does not exist).
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
HANDLE FindFirstFile(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
// FALSE with ERROR_NO_MORE_FILES after the last entry.
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

namespace zyn::base::fs {
// FILETIME from a Unix time in seconds and nanoseconds, and back to whole seconds.
FILETIME ToFileTime(int64_t unixSeconds, int64_t nanoseconds);
int64_t ToUnixSeconds(const FILETIME& ft);
} // namespace zyn::base::fs
