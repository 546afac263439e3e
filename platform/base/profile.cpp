#include "platform/base/profile.h"

#include <cstring>

#include "platform/base/inifile.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"

namespace zyn::base {

namespace {

constexpr LONG kOk = static_cast<LONG>(ERROR_SUCCESS);

struct KeyCloser {
    HKEY h = nullptr;
    KeyCloser() = default;
    explicit KeyCloser(HKEY key) : h(key) {}
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;
    ~KeyCloser()
    {
        if (h)
            RegCloseKey(h);
    }
};

// Reads a value of the wanted type in the platform's caller layout.
bool QueryValue(HKEY key, LPCWSTR entry, DWORD wantedType, std::vector<uint8_t>& out)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size) != kOk || type != wantedType)
        return false;
    out.assign(size, 0);
    if (RegQueryValueExW(key, entry, nullptr, &type, out.data(), &size) != kOk || type != wantedType)
        return false;
    out.resize(size);
    return true;
}

} // namespace

std::wstring AppProfile::IniFileName() const
{
    if (!m_iniFile.empty())
        return m_iniFile;
    return m_application + L".INI";
}

std::wstring AppProfile::AppKeyPath() const
{
    return L"Software\\" + m_registryKey + L"\\" + m_application;
}

HKEY AppProfile::GetAppRegistryKey() const
{
    if (m_registryKey.empty() || m_application.empty())
        return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, AppKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != kOk)
        return nullptr;
    return key;
}

HKEY AppProfile::GetSectionKey(std::wstring_view section) const
{
    KeyCloser app(GetAppRegistryKey());
    if (!app.h)
        return nullptr;
    const std::wstring name(section);
    HKEY key = nullptr;
    if (RegCreateKeyExW(app.h, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
            nullptr) != kOk)
        return nullptr;
    return key;
}

HKEY AppProfile::OpenSectionForRead(LPCWSTR section) const
{
    if (m_registryKey.empty() || m_application.empty() || !section)
        return nullptr;
    const std::wstring path = AppKeyPath() + (*section ? L"\\" + std::wstring(section) : std::wstring());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != kOk)
        return nullptr;
    return key;
}

UINT AppProfile::GetProfileInt(LPCWSTR section, LPCWSTR entry, int nDefault) const
{
    if (!section || !entry)
        return static_cast<UINT>(nDefault);
    if (!UsesRegistry())
        return GetPrivateProfileIntW(section, entry, nDefault, IniFileName().c_str());
    KeyCloser key(OpenSectionForRead(section));
    std::vector<uint8_t> data;
    if (!key.h || !QueryValue(key.h, entry, REG_DWORD, data) || data.size() != 4)
        return static_cast<UINT>(nDefault);
    return static_cast<UINT>(data[0]) | static_cast<UINT>(data[1]) << 8 | static_cast<UINT>(data[2]) << 16 |
        static_cast<UINT>(data[3]) << 24;
}

bool AppProfile::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int nValue) const
{
    if (!section || !entry)
        return false;
    if (!UsesRegistry())
        return WritePrivateProfileStringW(section, entry, std::to_wstring(nValue).c_str(), IniFileName().c_str()) != FALSE;
    KeyCloser key(GetSectionKey(section));
    if (!key.h)
        return false;
    const auto v = static_cast<uint32_t>(nValue);
    const BYTE bytes[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
        static_cast<BYTE>(v >> 24)};
    return RegSetValueExW(key.h, entry, 0, REG_DWORD, bytes, 4) == kOk;
}

std::wstring AppProfile::GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR lpszDefault) const
{
    const std::wstring def = lpszDefault ? lpszDefault : L"";
    if (!section || !entry)
        return def;
    if (!UsesRegistry()) {
        // Grow the buffer until the value fits.
        std::vector<wchar_t> buf(256);
        while (true) {
            const DWORD n = GetPrivateProfileStringW(section, entry, def.c_str(), buf.data(),
                static_cast<DWORD>(buf.size()), IniFileName().c_str());
            if (n + 1 < buf.size())
                return std::wstring(buf.data(), n);
            buf.resize(buf.size() * 4);
        }
    }
    KeyCloser key(OpenSectionForRead(section));
    std::vector<uint8_t> data;
    if (!key.h || !QueryValue(key.h, entry, REG_SZ, data))
        return def;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

bool AppProfile::WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) const
{
    if (!section)
        return false;
    if (!UsesRegistry())
        return WritePrivateProfileStringW(section, entry, value, IniFileName().c_str()) != FALSE;
    if (!entry) {
        KeyCloser app(GetAppRegistryKey());
        if (!app.h)
            return false;
        const LONG e = RegDeleteTreeW(app.h, section);
        return e == kOk || e == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    KeyCloser key(GetSectionKey(section));
    if (!key.h)
        return false;
    if (!value) {
        const LONG e = RegDeleteValueW(key.h, entry);
        return e == kOk || e == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    const size_t bytes = (std::wcslen(value) + 1) * sizeof(wchar_t);
    return RegSetValueExW(key.h, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(bytes)) ==
        kOk;
}

std::optional<std::vector<uint8_t>> AppProfile::GetProfileBinary(LPCWSTR section, LPCWSTR entry) const
{
    if (!section || !entry)
        return std::nullopt;
    if (!UsesRegistry()) {
        const std::wstring text = GetProfileString(section, entry, L"");
        if (text.empty() || text.size() % 2 != 0)
            return std::nullopt;
        std::vector<uint8_t> out;
        out.reserve(text.size() / 2);
        for (size_t i = 0; i < text.size(); i += 2) {
            const wchar_t lo = text[i];
            const wchar_t hi = text[i + 1];
            if (lo < L'A' || lo > L'P' || hi < L'A' || hi > L'P')
                return std::nullopt;
            out.push_back(static_cast<uint8_t>(((hi - L'A') << 4) | (lo - L'A')));
        }
        return out;
    }
    KeyCloser key(OpenSectionForRead(section));
    std::vector<uint8_t> data;
    if (!key.h || !QueryValue(key.h, entry, REG_BINARY, data))
        return std::nullopt;
    return data;
}

bool AppProfile::WriteProfileBinary(LPCWSTR section, LPCWSTR entry, std::span<const uint8_t> data) const
{
    if (!section || !entry)
        return false;
    if (!UsesRegistry()) {
        std::wstring text;
        text.reserve(data.size() * 2);
        for (const uint8_t b : data) {
            text.push_back(static_cast<wchar_t>(L'A' + (b & 0x0F)));
            text.push_back(static_cast<wchar_t>(L'A' + (b >> 4)));
        }
        return WritePrivateProfileStringW(section, entry, text.c_str(), IniFileName().c_str()) != FALSE;
    }
    KeyCloser key(GetSectionKey(section));
    if (!key.h)
        return false;
    return RegSetValueExW(key.h, entry, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())) == kOk;
}

} // namespace zyn::base
