#pragma once
// The raw registry API over HKEY, backed by the registry store (registry_store.h).
//
// Predefined keys: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are the roots of their
// store files; HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes;
// HKEY_CURRENT_CONFIG is HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware
// Profiles\Current; HKEY_USERS holds one subkey, ".DEFAULT", which is
// HKEY_CURRENT_USER. Opened keys are handles of kind Key in the handle table.
//
// Data buffers are in the units of this platform's wide strings: for REG_SZ,
// REG_EXPAND_SZ and REG_MULTI_SZ, the bytes a caller passes and receives are wchar_t
// arrays (sizeof(wchar_t) bytes per character, sizes in bytes of those), converted to
// and from the UTF-16LE layout that the store keeps. Sizes of string data must be a
// whole number of characters. Other types are passed through byte for byte.
//
// Sizes follow Windows: a null data pointer asks for the size; a buffer too small
// fails with ERROR_MORE_DATA and the size needed (nothing is written into it). Name
// buffers of the enumeration functions count characters with the terminator; when a
// name does not fit, ERROR_MORE_DATA leaves the count as it was (use RegQueryInfoKeyW
// for the longest name). Subkeys enumerate in the order of their case-folded names,
// values in the order they were created (registry_store.h).
//
// Access: a key opened without KEY_SET_VALUE refuses value writes, one opened without
// KEY_CREATE_SUB_KEY refuses to create subkeys, and deleting a subkey needs a handle
// opened for writing (any of KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE), all with
// ERROR_ACCESS_DENIED. A key deleted while open fails later calls with
// ERROR_KEY_DELETED. KEY_WOW64_32KEY and KEY_WOW64_64KEY are accepted and ignored:
// there is one view. REG_OPTION_VOLATILE keys are kept like any other key.

#include "platform/base/wintypes.h"

struct FILETIME; // written as two little-endian DWORDs (low, high)

// ---- predefined keys (sign-extended, as on 64-bit Windows) --------------------------------
inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(0x80000000u)));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(0x80000001u)));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(0x80000002u)));
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(0x80000003u)));
inline const HKEY HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(0x80000005u)));

// ---- value types ----------------------------------------------------------------------------
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;
inline constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

// ---- access rights ------------------------------------------------------------------------------
// The standard and generic rights (DELETE, GENERIC_READ, ...) belong to the kernel
// object headers; the numbers are honoured here: GENERIC_READ means KEY_READ,
// GENERIC_WRITE KEY_WRITE, GENERIC_ALL and MAXIMUM_ALLOWED KEY_ALL_ACCESS.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
inline constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
inline constexpr REGSAM KEY_WOW64_RES = 0x0300;
inline constexpr REGSAM KEY_READ = 0x00020019;      // READ_CONTROL | QUERY_VALUE | ENUMERATE_SUB_KEYS | NOTIFY
inline constexpr REGSAM KEY_WRITE = 0x00020006;     // READ_CONTROL | SET_VALUE | CREATE_SUB_KEY
inline constexpr REGSAM KEY_EXECUTE = KEY_READ;
inline constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F; // standard rights without SYNCHRONIZE, all key rights

// ---- options, dispositions and RegGetValue flags --------------------------------------------
inline constexpr DWORD REG_OPTION_RESERVED = 0x0;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
inline constexpr DWORD REG_OPTION_VOLATILE = 0x1;
inline constexpr DWORD REG_OPTION_CREATE_LINK = 0x2;
inline constexpr DWORD REG_OPTION_BACKUP_RESTORE = 0x4;
inline constexpr DWORD REG_OPTION_OPEN_LINK = 0x8;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

inline constexpr DWORD RRF_RT_REG_NONE = 0x00000001;
inline constexpr DWORD RRF_RT_REG_SZ = 0x00000002;
inline constexpr DWORD RRF_RT_REG_EXPAND_SZ = 0x00000004;
inline constexpr DWORD RRF_RT_REG_BINARY = 0x00000008;
inline constexpr DWORD RRF_RT_REG_DWORD = 0x00000010;
inline constexpr DWORD RRF_RT_REG_MULTI_SZ = 0x00000020;
inline constexpr DWORD RRF_RT_REG_QWORD = 0x00000040;
inline constexpr DWORD RRF_RT_DWORD = RRF_RT_REG_BINARY | RRF_RT_REG_DWORD;
inline constexpr DWORD RRF_RT_QWORD = RRF_RT_REG_BINARY | RRF_RT_REG_QWORD;
inline constexpr DWORD RRF_RT_ANY = 0x0000FFFF;
inline constexpr DWORD RRF_SUBKEY_WOW6464KEY = 0x00010000;
inline constexpr DWORD RRF_SUBKEY_WOW6432KEY = 0x00020000;
inline constexpr DWORD RRF_NOEXPAND = 0x10000000;
inline constexpr DWORD RRF_ZEROONFAILURE = 0x20000000;

// ---- functions (LONG results are Win32 error codes) ------------------------------------------
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
    REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult, LPDWORD lpdwDisposition);
LONG RegCloseKey(HKEY hKey);
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
    LPDWORD lpcbData);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved);
LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
    LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
    LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
    LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime);
LONG RegFlushKey(HKEY hKey);
LONG RegGetValueW(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType, PVOID pvData,
    LPDWORD pcbData);
LONG RegSetKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName, DWORD dwType, LPCVOID lpData, DWORD cbData);
LONG RegDeleteKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName);

// Legacy forms: full access, and the default value of a subkey as a string.
LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegSetValueW(HKEY hKey, LPCWSTR lpSubKey, DWORD dwType, LPCWSTR lpData, DWORD cbData);
LONG RegQueryValueW(HKEY hKey, LPCWSTR lpSubKey, LPWSTR lpData, PLONG lpcbData);

// The unsuffixed names, as real functions.
inline LONG RegOpenKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult)
{
    return RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}
inline LONG RegCreateKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
    REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    return RegCreateKeyExW(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes, phkResult,
        lpdwDisposition);
}
inline LONG RegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
    LPDWORD lpcbData)
{
    return RegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
    DWORD cbData)
{
    return RegSetValueExW(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}
inline LONG RegDeleteValue(HKEY hKey, LPCWSTR lpValueName) { return RegDeleteValueW(hKey, lpValueName); }
inline LONG RegDeleteKey(HKEY hKey, LPCWSTR lpSubKey) { return RegDeleteKeyW(hKey, lpSubKey); }
inline LONG RegDeleteKeyEx(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved)
{
    return RegDeleteKeyExW(hKey, lpSubKey, samDesired, Reserved);
}
inline LONG RegDeleteTree(HKEY hKey, LPCWSTR lpSubKey) { return RegDeleteTreeW(hKey, lpSubKey); }
inline LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
    LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime)
{
    return RegEnumKeyExW(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass, lpftLastWriteTime);
}
inline LONG RegEnumKey(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName)
{
    return RegEnumKeyW(hKey, dwIndex, lpName, cchName);
}
inline LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
    LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    return RegEnumValueW(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegQueryInfoKey(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
    LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime)
{
    return RegQueryInfoKeyW(hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen, lpcbMaxClassLen,
        lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen, lpcbSecurityDescriptor, lpftLastWriteTime);
}
inline LONG RegGetValue(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType, PVOID pvData,
    LPDWORD pcbData)
{
    return RegGetValueW(hkey, lpSubKey, lpValue, dwFlags, pdwType, pvData, pcbData);
}
inline LONG RegSetKeyValue(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName, DWORD dwType, LPCVOID lpData,
    DWORD cbData)
{
    return RegSetKeyValueW(hKey, lpSubKey, lpValueName, dwType, lpData, cbData);
}
inline LONG RegDeleteKeyValue(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName)
{
    return RegDeleteKeyValueW(hKey, lpSubKey, lpValueName);
}
inline LONG RegOpenKey(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) { return RegOpenKeyW(hKey, lpSubKey, phkResult); }
inline LONG RegCreateKey(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult)
{
    return RegCreateKeyW(hKey, lpSubKey, phkResult);
}
inline LONG RegSetValue(HKEY hKey, LPCWSTR lpSubKey, DWORD dwType, LPCWSTR lpData, DWORD cbData)
{
    return RegSetValueW(hKey, lpSubKey, dwType, lpData, cbData);
}
inline LONG RegQueryValue(HKEY hKey, LPCWSTR lpSubKey, LPWSTR lpData, PLONG lpcbData)
{
    return RegQueryValueW(hKey, lpSubKey, lpData, lpcbData);
}

namespace zyn::base {
// Registers the built-in "regedit" command (regfile.h); called by the registry at its
// first use and safe to call any number of times.
void RegisterRegeditCommand();
} // namespace zyn::base
