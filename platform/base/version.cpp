// The reported operating-system version.
#include "platform/base/version.h"

#include <cstring>

#include "platform/base/lasterror.h"

namespace {

constexpr DWORD kMajor = 6, kMinor = 1, kBuild = 7601;
constexpr wchar_t kServicePack[] = L"Service Pack 1";

} // namespace

DWORD GetVersion() { return kMajor | (kMinor << 8) | (kBuild << 16); }

BOOL GetVersionExW(LPOSVERSIONINFOW info)
{
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = info->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOW) && size != sizeof(OSVERSIONINFOEXW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::memcpy(info->szCSDVersion, kServicePack, sizeof kServicePack);
    if (size == sizeof(OSVERSIONINFOEXW)) {
        auto* ex = reinterpret_cast<LPOSVERSIONINFOEXW>(info);
        ex->wServicePackMajor = 1;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = VER_SUITE_SINGLEUSERTS;
        ex->wProductType = VER_NT_WORKSTATION;
        ex->wReserved = 0;
    }
    return TRUE;
}

BOOL GetVersionEx(LPOSVERSIONINFOW info) { return GetVersionExW(info); }
