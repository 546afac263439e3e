#pragma once
// The operating-system version the platform reports: an NT 6.1 system, build 7601,
// "Service Pack 1", a workstation.
#include "platform/base/wintypes.h"

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize;     // the caller sets sizeof(OSVERSIONINFOW) or sizeof(OSVERSIONINFOEXW)
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
struct OSVERSIONINFOEXW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};
using OSVERSIONINFO = OSVERSIONINFOW;
using OSVERSIONINFOEX = OSVERSIONINFOEXW;
using LPOSVERSIONINFOW = OSVERSIONINFOW*;
using LPOSVERSIONINFO = OSVERSIONINFOW*;
using LPOSVERSIONINFOEXW = OSVERSIONINFOEXW*;

inline constexpr DWORD VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2;
inline constexpr BYTE VER_NT_WORKSTATION = 1, VER_NT_DOMAIN_CONTROLLER = 2, VER_NT_SERVER = 3;
inline constexpr WORD VER_SUITE_SINGLEUSERTS = 0x0100;

// Major version in the low byte, minor in the next, build in the high word (high bit
// clear: an NT system): 0x1DB10106.
DWORD GetVersion();
// Fills an OSVERSIONINFOW or OSVERSIONINFOEXW according to dwOSVersionInfoSize; any other
// size fails with ERROR_INSUFFICIENT_BUFFER.
BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation);
BOOL GetVersionEx(LPOSVERSIONINFOW lpVersionInformation);
