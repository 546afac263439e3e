#include "common/zyn_registry.h"

#include <cstring>

#include "platform/base/kernel_object.h"
#include "platform/base/lasterror.h"
#include "platform/base/process.h"

CZynRegistry::CZynRegistry(bool writable) { Open(HKEY_LOCAL_MACHINE, DefaultKey, writable); }

CZynRegistry::CZynRegistry(HKEY root, LPCWSTR key, bool writable) { Open(root, key, writable); }

CZynRegistry::~CZynRegistry() { Close(); }

bool CZynRegistry::Open(HKEY root, LPCWSTR key, bool writable)
{
    Close();
    HKEY h = nullptr;
    if (writable)
        m_lastResult = RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &h, nullptr);
    else
        m_lastResult = RegOpenKeyExW(root, key, 0, KEY_READ, &h);
    if (m_lastResult != ERROR_SUCCESS)
        return false;
    m_hKey = h;
    m_bWritable = writable;
    return true;
}

void CZynRegistry::Close()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
    m_hKey = nullptr;
    m_bWritable = false;
}

bool CZynRegistry::QueryRaw(LPCWSTR name, DWORD& type, std::vector<BYTE>& data)
{
    if (!m_hKey) {
        m_lastResult = ERROR_INVALID_HANDLE;
        return false;
    }
    DWORD size = 0;
    m_lastResult = RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &size);
    if (m_lastResult != ERROR_SUCCESS)
        return false;
    data.resize(size);
    // The value may grow between the two calls: ask again until it fits.
    for (;;) {
        DWORD got = static_cast<DWORD>(data.size());
        m_lastResult = RegQueryValueExW(m_hKey, name, nullptr, &type, data.empty() ? nullptr : data.data(), &got);
        if (m_lastResult == ERROR_MORE_DATA) {
            data.resize(got);
            continue;
        }
        if (m_lastResult != ERROR_SUCCESS)
            return false;
        data.resize(got);
        return true;
    }
}

bool CZynRegistry::GetString(LPCWSTR name, CString& value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(name, type, data))
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        m_lastResult = ERROR_INVALID_DATA;
        return false;
    }
    // String data comes in wchar_t units at the API; it ends with a terminator
    // (sometimes several, sometimes none): stop at the first.
    const size_t units = data.size() / sizeof(wchar_t);
    std::wstring text(units, L'\0');
    std::memcpy(text.data(), data.data(), units * sizeof(wchar_t));
    const auto nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    value = CString(text.c_str(), static_cast<int>(text.size()));
    return true;
}

bool CZynRegistry::SetString(LPCWSTR name, LPCWSTR value)
{
    if (!m_hKey || !m_bWritable) {
        m_lastResult = m_hKey ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
        return false;
    }
    const std::wstring text = value ? value : L"";
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    m_lastResult = RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    return m_lastResult == ERROR_SUCCESS;
}

bool CZynRegistry::GetDWORD(LPCWSTR name, DWORD& value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(name, type, data))
        return false;
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) {
        m_lastResult = ERROR_INVALID_DATA;
        return false;
    }
    value = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16) |
        (static_cast<DWORD>(data[3]) << 24);
    return true;
}

bool CZynRegistry::SetDWORD(LPCWSTR name, DWORD value)
{
    if (!m_hKey || !m_bWritable) {
        m_lastResult = m_hKey ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
        return false;
    }
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
        static_cast<BYTE>(value >> 24)};
    m_lastResult = RegSetValueExW(m_hKey, name, 0, REG_DWORD, bytes, 4);
    return m_lastResult == ERROR_SUCCESS;
}

bool CZynRegistry::GetBinary(LPCWSTR name, std::vector<BYTE>& value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(name, type, data))
        return false;
    if (type != REG_BINARY) {
        m_lastResult = ERROR_INVALID_DATA;
        return false;
    }
    value = std::move(data);
    return true;
}

bool CZynRegistry::SetBinary(LPCWSTR name, const BYTE* data, DWORD size)
{
    if (!m_hKey || !m_bWritable) {
        m_lastResult = m_hKey ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
        return false;
    }
    if (!data && size) {
        m_lastResult = ERROR_INVALID_PARAMETER;
        return false;
    }
    m_lastResult = RegSetValueExW(m_hKey, name, 0, REG_BINARY, data, size);
    return m_lastResult == ERROR_SUCCESS;
}

bool CZynRegistry::DeleteValue(LPCWSTR name)
{
    if (!m_hKey || !m_bWritable) {
        m_lastResult = m_hKey ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
        return false;
    }
    m_lastResult = RegDeleteValueW(m_hKey, name);
    return m_lastResult == ERROR_SUCCESS;
}

bool CZynRegistry::ImportRegFile(const wchar_t* path, bool wait)
{
    if (!path || !*path)
        return false;
    zyn::base::RegisterRegeditCommand();
    CString command;
    command.Format(L"regedit /s \"%s\"", path);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        command.ReleaseBuffer();
        return false;
    }
    command.ReleaseBuffer();
    // Waiting for the import itself, bounded by the two seconds the caller allows, so a
    // caller that reads the imported keys next finds them whenever the import is quick.
    if (wait)
        WaitForSingleObject(pi.hProcess, 2000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

bool CZynRegistry::KeyExists(HKEY root, const wchar_t* key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}
