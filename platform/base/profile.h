#pragma once
// The application profile behind CWinApp's profile functions: values under
// HKEY_CURRENT_USER "Software\<registry key>\<application>\<section>" once a registry
// key is set, otherwise entries of the application's INI file (by default
// "<application>.INI" in the Windows directory, see inifile.h).
//
// Types in the registry: integers are REG_DWORD, strings REG_SZ, binary data
// REG_BINARY; a value of another type reads as absent (the default is returned). In the
// INI file, integers are decimal text and binary data are two letters per byte, 'A'
// plus the low nibble then 'A' plus the high nibble, as the class library writes them.
//
// Reading never creates keys; writing creates the keys on the way.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::base {

class AppProfile {
public:
    // The company key ("Software\<key>"); empty switches back to the INI file.
    void SetRegistryKey(std::wstring_view key) { m_registryKey = key; }
    void SetApplicationName(std::wstring_view name) { m_application = name; }
    // The INI file of the fall-back (a name without folder lives in the Windows directory).
    void SetIniFileName(std::wstring_view file) { m_iniFile = file; }

    const std::wstring& RegistryKey() const { return m_registryKey; }
    const std::wstring& ApplicationName() const { return m_application; }
    std::wstring IniFileName() const;
    bool UsesRegistry() const { return !m_registryKey.empty(); }

    // HKCU\Software\<key>\<application>, created when missing, opened for reading and
    // writing; null without a registry key or application name, or on failure. The
    // caller closes it.
    HKEY GetAppRegistryKey() const;
    // The section's key below it, created when missing; the caller closes it.
    HKEY GetSectionKey(std::wstring_view section) const;

    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int nDefault) const;
    bool WriteProfileInt(LPCWSTR section, LPCWSTR entry, int nValue) const;
    std::wstring GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR lpszDefault = nullptr) const;
    // A null value deletes the entry; a null entry deletes the whole section.
    bool WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) const;
    // The bytes, or nullopt when the entry is absent or malformed.
    std::optional<std::vector<uint8_t>> GetProfileBinary(LPCWSTR section, LPCWSTR entry) const;
    bool WriteProfileBinary(LPCWSTR section, LPCWSTR entry, std::span<const uint8_t> data) const;

private:
    std::wstring AppKeyPath() const;
    // The section's key opened for reading, or null when it does not exist.
    HKEY OpenSectionForRead(LPCWSTR section) const;

    std::wstring m_registryKey;
    std::wstring m_application;
    std::wstring m_iniFile;
};

} // namespace zyn::base
