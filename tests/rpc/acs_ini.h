#pragma once
// ACS.INI for the rpc tests: the file lives in the test process's private Windows
// directory; each test starts without it.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/base/inifile.h"

namespace zyn::rpctest {

inline void RemoveAcsIni()
{
    const char* dir = std::getenv("ZYN_WINDIR");
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(dir ? dir : ".") / "ACS.INI", ec);
}

inline void SetService(const wchar_t* key, const std::wstring& value)
{
    if (!WritePrivateProfileStringW(L"Service", key, value.c_str(), L"ACS.INI"))
        ADD_FAILURE() << "ACS.INI could not be written";
}

} // namespace zyn::rpctest
