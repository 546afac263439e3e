#pragma once
// Shared fixture of the registry tests: every test gets its own registry folder and
// Windows directory, and the registry log is captured instead of printed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/registry.h"
#include "platform/base/registry_store.h"
#include "tests/support/testenv.h"

namespace zyn::test {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_dir = std::filesystem::path(TempRoot()) / ("case" + std::to_string(++counter));
        std::filesystem::create_directories(m_dir / "registry");
        std::filesystem::create_directories(m_dir / "windows");
        ::setenv("ZYN_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        ::setenv("ZYN_WINDIR", (m_dir / "windows").c_str(), 1);
        zyn::base::ResetRegistryStores();
        zyn::base::SetRegistryLogHook([this](const std::wstring& m) { m_log.push_back(m); });
    }
    void TearDown() override
    {
        zyn::base::SetRegistryLogHook(nullptr);
        zyn::base::ResetRegistryStores();
    }

    std::filesystem::path RegistryDir() const { return m_dir / "registry"; }
    std::filesystem::path WindowsDir() const { return m_dir / "windows"; }
    std::filesystem::path UserStore() const { return RegistryDir() / "hkcu.sqlite3"; }
    std::filesystem::path MachineStore() const { return RegistryDir() / "hklm.sqlite3"; }

    static std::vector<uint8_t> ReadBytes(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static void WriteText(const std::filesystem::path& p, const std::string& text)
    {
        WriteBytes(p, std::vector<uint8_t>(text.begin(), text.end()));
    }
    bool LogMentions(const std::wstring& part) const
    {
        for (const auto& m : m_log)
            if (m.find(part) != std::wstring::npos)
                return true;
        return false;
    }

    // A key opened with full access (test helper; closed by the caller).
    static HKEY Create(HKEY root, const wchar_t* path)
    {
        HKEY h = nullptr;
        EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), 0);
        return h;
    }
    static LONG SetString(HKEY h, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        return RegSetValueExW(h, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static LONG SetDword(HKEY h, const wchar_t* name, DWORD v)
    {
        return RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }
    // The string a value holds (without its terminator), or "<error N>".
    static std::wstring GetString(HKEY h, const wchar_t* name)
    {
        DWORD type = 0, size = 0;
        LONG e = RegQueryValueExW(h, name, nullptr, &type, nullptr, &size);
        if (e != 0)
            return L"<error " + std::to_wstring(e) + L">";
        std::wstring buf(size / sizeof(wchar_t), L'\0');
        e = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
        if (e != 0)
            return L"<error " + std::to_wstring(e) + L">";
        buf.resize(size / sizeof(wchar_t));
        while (!buf.empty() && buf.back() == L'\0')
            buf.pop_back();
        return buf;
    }

    std::filesystem::path m_dir;
    std::vector<std::wstring> m_log;
};

// Closes a key at the end of a scope.
struct KeyGuard {
    HKEY h = nullptr;
    explicit KeyGuard(HKEY key = nullptr) : h(key) {}
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    ~KeyGuard()
    {
        if (h)
            RegCloseKey(h);
    }
};

} // namespace zyn::test
