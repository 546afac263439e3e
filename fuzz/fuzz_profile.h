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
    WriteBytes(path, data, size);
    std::free(const_cast<wchar_t*>(app.m_pszProfileName));
    app.m_pszProfileName = wcsdup(name.c_str());
    return path;
}

// One input as the profile of the process's application `name` (made on the first input
// and kept); the file goes with this object.
class ProfileInput {
public:
    ProfileInput(const wchar_t* name, const uint8_t* data, size_t size)
        : app(App(name)), m_path(UseInputAsProfile(app, name, data, size))
    {
    }
    ~ProfileInput()
    {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    ProfileInput(const ProfileInput&) = delete;
    ProfileInput& operator=(const ProfileInput&) = delete;
    CWinApp& app;

private:
    static CWinApp& App(const wchar_t* name)
    {
        static CWinApp* const app = new CWinApp(name);
        return *app;
    }
    std::filesystem::path m_path;
};

} // namespace zyn::fuzz
