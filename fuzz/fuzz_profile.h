#pragma once
// The application's profile for a fuzz input: targets that load saved layouts read them
// from the program's INI file, so the input becomes that file.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_env.h"
#include "platform/afx/winapp.h"

namespace zyn::fuzz {

// Points `app`'s profile at a fresh INI file of the fuzz folder holding exactly the input:
// a file of its own per input, so nothing read before can stand in for it. Returns the
// file's path, for the target to remove when it is done.
inline std::filesystem::path UseInputAsProfile(CWinApp& app, const wchar_t* stem, const uint8_t* data, size_t size)
{
    static unsigned serial = 0;
    const std::wstring name = stem + std::to_wstring(++serial) + L".INI";
    const auto path = FuzzRoot() / "windows" / std::filesystem::path(name);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::free(const_cast<wchar_t*>(app.m_pszProfileName));
    app.m_pszProfileName = wcsdup(name.c_str());
    return path;
}

} // namespace zyn::fuzz
