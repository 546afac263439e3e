#pragma once
// The process environment with Windows calling conventions: computer and user names,
// environment variables, the current directory, the Windows and system directories.
//
// Buffer rules, as on Windows: a call that fits returns the length without the
// terminator; one whose buffer is too small returns the size needed including the
// terminator and leaves the buffer alone (GetComputerNameW and GetUserNameW instead
// return FALSE and write the needed size back). ExpandEnvironmentStringsW always
// returns the size including the terminator.
//
// Environment variable names are matched as on Windows: the exact name first, then
// without regard to ASCII case ("Path" finds PATH); setting a variable that exists
// under another case keeps that spelling.

#include <filesystem>
#include <system_error>

#include "platform/base/wintypes.h"

inline constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;
inline constexpr DWORD UNLEN = 256;

// The host name up to its first dot, in upper case. The whole short name is kept even
// beyond MAX_COMPUTERNAME_LENGTH, so it always equals the stored server names. Too
// small a buffer: FALSE, ERROR_BUFFER_OVERFLOW, *nSize = the size needed with the
// terminator. Success: *nSize = the length without it.
BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize);
inline BOOL GetComputerName(LPWSTR lpBuffer, LPDWORD nSize) { return GetComputerNameW(lpBuffer, nSize); }

// The login name of the effective user. *pcbBuffer counts characters with the
// terminator, on success and when the buffer is too small (ERROR_INSUFFICIENT_BUFFER).
BOOL GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer);
inline BOOL GetUserName(LPWSTR lpBuffer, LPDWORD pcbBuffer) { return GetUserNameW(lpBuffer, pcbBuffer); }

// Missing: 0 and ERROR_ENVVAR_NOT_FOUND. Present but empty: 0 and ERROR_SUCCESS.
DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
inline DWORD GetEnvironmentVariable(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize)
{
    return GetEnvironmentVariableW(lpName, lpBuffer, nSize);
}
// A null value deletes the variable. Names must be non-empty and free of '='.
BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue);
inline BOOL SetEnvironmentVariable(LPCWSTR lpName, LPCWSTR lpValue) { return SetEnvironmentVariableW(lpName, lpValue); }

// Replaces each %NAME% by its value; an unknown variable, and a '%' without a partner,
// stay as written. Too small a buffer gets "" (when it has room for one character).
DWORD ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize);
inline DWORD ExpandEnvironmentStrings(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize)
{
    return ExpandEnvironmentStringsW(lpSrc, lpDst, nSize);
}

// GetCurrentDirectoryW/SetCurrentDirectoryW live with the path functions (path.h),
// since they convert between Windows and native paths.

// The Windows directory (see zyn::base::WindowsDirectory), created when missing; 0 and
// the cause when it cannot be.
UINT GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize);
inline UINT GetWindowsDirectory(LPWSTR lpBuffer, UINT uSize) { return GetWindowsDirectoryW(lpBuffer, uSize); }
// "system32" in the Windows directory, created when missing.
UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize);
inline UINT GetSystemDirectory(LPWSTR lpBuffer, UINT uSize) { return GetSystemDirectoryW(lpBuffer, uSize); }

namespace zyn::base {

// The folder of one kind of settings (the Windows directory, the registry stores):
// $<variable> when set (made absolute), else $XDG_CONFIG_HOME/zyn (an absolute
// XDG_CONFIG_HOME only; a relative one is invalid and ignored, as the XDG rules say),
// else <home>/.config/zyn with the home from $HOME or else the account database, and
// `fallback` when no home is known. Read at every call, so tests can point it
// elsewhere; nothing is created.
std::filesystem::path SettingsDirectory(const char* variable, const std::filesystem::path& fallback);

// The Windows directory: SettingsDirectory("ZYN_WINDIR"), falling back to
// /tmp/.config/zyn. It is created when missing; `ec` reports a failure, and the path is
// returned either way.
std::filesystem::path WindowsDirectory(std::error_code& ec);
// As above; throws std::filesystem::filesystem_error when the folder cannot be made.
std::filesystem::path WindowsDirectory();

} // namespace zyn::base
