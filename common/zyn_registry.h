#pragma once
// CZynRegistry: one open registry key, by default HKLM "SOFTWARE\Orvan\Tessora",
// read-only or writable, with string, DWORD and binary values.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/registry.h"

class CZynRegistry {
public:
    static constexpr const wchar_t* DefaultKey = L"SOFTWARE\\Orvan\\Tessora";

    // Opens the default key under HKLM (creating it when writable).
    explicit CZynRegistry(bool writable = false);
    CZynRegistry(HKEY root, LPCWSTR key, bool writable);
    ~CZynRegistry();
    CZynRegistry(const CZynRegistry&) = delete;
    CZynRegistry& operator=(const CZynRegistry&) = delete;

    // Opens another key; a writable open creates missing keys. False when it cannot.
    bool Open(HKEY root, LPCWSTR key, bool writable);
    void Close();
    bool IsOpen() const { return m_hKey != nullptr; }
    bool IsWritable() const { return m_bWritable; }
    // The Win32 result of the last operation (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND...).
    LONG GetLastResult() const { return m_lastResult; }

    bool GetString(LPCWSTR name, CString& value);
    bool SetString(LPCWSTR name, LPCWSTR value);
    bool GetDWORD(LPCWSTR name, DWORD& value);
    bool SetDWORD(LPCWSTR name, DWORD value);
    bool GetBinary(LPCWSTR name, std::vector<BYTE>& value);
    bool SetBinary(LPCWSTR name, const BYTE* data, DWORD size);
    bool DeleteValue(LPCWSTR name);

    // Starts "regedit /s" with the quoted path; with `wait`, waits for the import to end
    // (at most 2000 ms). False when the import cannot be started.
    static bool ImportRegFile(const wchar_t* path, bool wait);
    // True when the key can be opened for reading under the root.
    static bool KeyExists(HKEY root, const wchar_t* key);

private:
    bool QueryRaw(LPCWSTR name, DWORD& type, std::vector<BYTE>& data);

    HKEY m_hKey = nullptr;
    bool m_bWritable = false;
    LONG m_lastResult = 0;
};
