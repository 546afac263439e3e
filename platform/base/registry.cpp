#include "platform/base/registry.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
#include "platform/base/registry_store.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace {

constexpr LONG kOk = static_cast<LONG>(ERROR_SUCCESS);
constexpr LONG Err(DWORD e) { return static_cast<LONG>(e); }

constexpr REGSAM kDelete = 0x00010000;
constexpr REGSAM kGenericRead = 0x80000000u;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;
// Rights that count as "opened for writing" for deleting subkeys.
constexpr REGSAM kWriteIntent = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | kDelete;

constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

struct OpenKey {
    std::shared_ptr<RegistryStore> store; // null for the HKEY_USERS root
    RegKeyId id = 0;
    REGSAM access = 0;
    bool usersRoot = false;
};

HandleTable<OpenKey>& Keys()
{
    static HandleTable<OpenKey> table(HandleKind::Key);
    return table;
}

void FirstUse()
{
    static std::once_flag once;
    std::call_once(once, [] { RegisterRegeditCommand(); });
}

REGSAM NormaliseAccess(REGSAM sam)
{
    REGSAM r = sam & (0x000F003Fu | KEY_WOW64_RES);
    if (sam & kGenericRead)
        r |= KEY_READ;
    if (sam & kGenericWrite)
        r |= KEY_WRITE;
    if (sam & kGenericExecute)
        r |= KEY_EXECUTE;
    if (sam & (kGenericAll | kMaximumAllowed))
        r |= KEY_ALL_ACCESS;
    return r & ~KEY_WOW64_RES;
}

uint32_t PredefinedValue(HKEY h)
{
    const auto v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h));
    const auto hi = static_cast<uint32_t>(v >> 32);
    const auto lo = static_cast<uint32_t>(v);
    // Accept both the sign-extended form and a value that went through a 32-bit DWORD.
    if ((hi == 0xFFFFFFFFu || hi == 0) && lo >= 0x80000000u && lo <= 0x80000006u)
        return lo;
    return 0;
}

LONG OpenRoot(RegHive hive, std::vector<std::wstring> path, OpenKey& out)
{
    LONG e = 0;
    auto store = GetRegistryStore(hive, e);
    if (!store)
        return e;
    RegKeyId id = store->Root();
    if (!path.empty()) {
        e = store->OpenKey(id, path, id);
        if (e == Err(ERROR_FILE_NOT_FOUND)) {
            bool created = false;
            e = store->CreateKey(store->Root(), path, L"", id, created);
        }
        if (e != kOk)
            return e;
    }
    out.store = std::move(store);
    out.id = id;
    out.access = KEY_ALL_ACCESS;
    out.usersRoot = false;
    return kOk;
}

// The open key behind a handle (predefined or from the table).
LONG Resolve(HKEY h, OpenKey& out)
{
    FirstUse();
    if (!h)
        return Err(ERROR_INVALID_HANDLE);
    switch (PredefinedValue(h)) {
    case 0x80000000u:
        return OpenRoot(RegHive::LocalMachine, {L"Software", L"Classes"}, out);
    case 0x80000001u:
        return OpenRoot(RegHive::CurrentUser, {}, out);
    case 0x80000002u:
        return OpenRoot(RegHive::LocalMachine, {}, out);
    case 0x80000003u:
        out = OpenKey{nullptr, 0, KEY_READ, true};
        return kOk;
    case 0x80000005u:
        return OpenRoot(RegHive::LocalMachine,
            {L"System", L"CurrentControlSet", L"Hardware Profiles", L"Current"}, out);
    case 0:
        break;
    default:
        return Err(ERROR_INVALID_HANDLE);
    }
    auto key = Keys().Get(h);
    if (!key)
        return Err(ERROR_INVALID_HANDLE);
    out = *key;
    return kOk;
}

// Names must be Unicode text to be stored (see ToStored).
bool ValidName(std::wstring_view name)
{
    for (const wchar_t c : name)
        if (!IsScalarValue(static_cast<uint32_t>(c)) || c == L'\0')
            return false;
    return true;
}

// Splits a subkey path at backslashes. A trailing backslash is allowed; a leading one
// or an empty name inside the path is not.
LONG SplitPath(LPCWSTR sub, std::vector<std::wstring>& out)
{
    out.clear();
    if (!sub || !*sub)
        return kOk;
    std::wstring_view rest(sub);
    if (rest.front() == L'\\')
        return Err(ERROR_BAD_PATHNAME);
    if (rest.back() == L'\\')
        rest.remove_suffix(1);
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = rest.size();
        const std::wstring_view part = rest.substr(start, end - start);
        if (part.empty())
            return Err(ERROR_BAD_PATHNAME);
        if (part.size() > kMaxKeyNameLength || !ValidName(part))
            return Err(ERROR_INVALID_PARAMETER);
        out.emplace_back(part);
        start = end + 1;
    }
    return kOk;
}

// From the HKEY_USERS root into its one subkey, ".DEFAULT" (the current user's hive).
LONG LeaveUsersRoot(OpenKey& key, std::vector<std::wstring>& path, DWORD missing)
{
    if (!key.usersRoot || path.empty())
        return kOk;
    if (!NamesEqual(path.front(), L".DEFAULT"))
        return Err(missing);
    const REGSAM access = key.access;
    const LONG e = OpenRoot(RegHive::CurrentUser, {}, key);
    if (e != kOk)
        return e;
    key.access = access;
    path.erase(path.begin());
    return kOk;
}

// The open key and the subkey path that opening and creating start from; `missing`
// answers a name under the HKEY_USERS root other than ".DEFAULT".
LONG ResolvePath(HKEY h, LPCWSTR sub, DWORD missing, OpenKey& key, std::vector<std::wstring>& path)
{
    LONG e = Resolve(h, key);
    if (e != kOk)
        return e;
    e = SplitPath(sub, path);
    if (e != kOk)
        return e;
    return LeaveUsersRoot(key, path, missing);
}

LONG AddHandle(OpenKey key, PHKEY out)
{
    const uint32_t value = Keys().Add(std::make_shared<OpenKey>(std::move(key)));
    if (value == 0)
        return Err(ERROR_NO_SYSTEM_RESOURCES);
    *out = MakeHandle<HKEY>(value);
    return kOk;
}

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Caller bytes (wchar_t arrays for string types) to the stored layout.
LONG ToStored(DWORD type, const BYTE* data, DWORD cb, std::vector<uint8_t>& out)
{
    out.clear();
    if (cb == 0)
        return kOk;
    if (!data)
        return Err(ERROR_INVALID_PARAMETER);
    if (!IsStringType(type)) {
        out.assign(data, data + cb);
        return kOk;
    }
    if (cb % sizeof(wchar_t) != 0)
        return Err(ERROR_INVALID_PARAMETER);
    std::wstring text(cb / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data, cb);
    // Characters that are not Unicode scalar values cannot be stored as UTF-16 without
    // changing them; refuse them rather than store something else.
    bool ok = true;
    out = ToUtf16LE(text, &ok);
    return ok ? kOk : Err(ERROR_INVALID_PARAMETER);
}

std::wstring StoredText(const std::vector<uint8_t>& stored)
{
    return FromUtf16LE(stored);
}

std::vector<uint8_t> TextBytes(std::wstring_view text)
{
    std::vector<uint8_t> out(text.size() * sizeof(wchar_t));
    if (!out.empty())
        std::memcpy(out.data(), text.data(), out.size());
    return out;
}

// Stored layout to caller bytes.
std::vector<uint8_t> ToCaller(DWORD type, const std::vector<uint8_t>& stored)
{
    if (!IsStringType(type))
        return stored;
    return TextBytes(StoredText(stored));
}

// Copies `bytes` into the caller's buffer with the Windows size rules: no buffer means
// a size query; a short buffer gets ERROR_MORE_DATA and the size needed.
LONG CopyOut(const std::vector<uint8_t>& bytes, LPBYTE data, LPDWORD cb)
{
    const auto size = static_cast<DWORD>(bytes.size());
    if (!data) {
        if (cb)
            *cb = size;
        return kOk;
    }
    if (*cb < size) {
        *cb = size;
        return Err(ERROR_MORE_DATA);
    }
    if (size)
        std::memcpy(data, bytes.data(), size);
    *cb = size;
    return kOk;
}

void WriteFileTime(FILETIME* ft, int64_t value)
{
    if (!ft)
        return;
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    std::memcpy(static_cast<void*>(ft), bytes, sizeof bytes);
}

// Copies a name into a character buffer of *cch characters (terminator included).
LONG CopyName(const std::wstring& name, LPWSTR buf, LPDWORD cch)
{
    if (name.size() + 1 > *cch)
        return Err(ERROR_MORE_DATA);
    std::memcpy(buf, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    *cch = static_cast<DWORD>(name.size());
    return kOk;
}

// Expands %NAME% references from the process environment; unknown names stay as written.
std::wstring ExpandEnvironment(std::wstring_view text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'%') {
            const size_t close = text.find(L'%', i + 1);
            if (close != std::wstring_view::npos && close > i + 1) {
                const std::wstring name(text.substr(i + 1, close - i - 1));
                const char* value = std::getenv(ToUtf8(name).c_str());
                if (!value)
                    value = std::getenv(ToUtf8(FoldName(name)).c_str());
                if (value) {
                    out += FromUtf8(value);
                    i = close + 1;
                    continue;
                }
            }
        }
        out.push_back(text[i]);
        ++i;
    }
    return out;
}

DWORD TypeFlag(DWORD type)
{
    switch (type) {
    case REG_NONE: return RRF_RT_REG_NONE;
    case REG_SZ: return RRF_RT_REG_SZ;
    case REG_EXPAND_SZ: return RRF_RT_REG_EXPAND_SZ;
    case REG_BINARY: return RRF_RT_REG_BINARY;
    case REG_DWORD: return RRF_RT_REG_DWORD;
    case REG_MULTI_SZ: return RRF_RT_REG_MULTI_SZ;
    case REG_QWORD: return RRF_RT_REG_QWORD;
    default: return 0;
    }
}

// Closes a handle this file opened for its own use.
struct KeyCloser {
    HKEY h = nullptr;
    ~KeyCloser()
    {
        if (h)
            RegCloseKey(h);
    }
};

// The open key behind a handle that must carry `right`.
LONG ResolveWith(HKEY h, REGSAM right, OpenKey& out)
{
    const LONG e = Resolve(h, out);
    if (e != kOk)
        return e;
    return (out.access & right) ? kOk : Err(ERROR_ACCESS_DENIED);
}

// A value of an open key; the HKEY_USERS root holds none.
LONG ReadValue(const OpenKey& key, LPCWSTR name, RegValueData& out)
{
    if (key.usersRoot)
        return Err(ERROR_FILE_NOT_FOUND);
    return key.store->GetValue(key.id, name ? name : L"", out);
}

// The key that a "subkey or the key itself" argument names: `h` when `sub` is null or
// empty, else the subkey opened (or created) with `sam`, which `owner` then closes.
LONG SubKeyOrSelf(HKEY h, LPCWSTR sub, REGSAM sam, bool create, KeyCloser& owner, HKEY& out)
{
    out = h;
    if (!sub || !*sub)
        return kOk;
    const LONG e = create ? RegCreateKeyExW(h, sub, 0, nullptr, 0, sam, nullptr, &owner.h, nullptr)
                          : RegOpenKeyExW(h, sub, 0, sam, &owner.h);
    if (e != kOk)
        return e;
    out = owner.h;
    return kOk;
}

} // namespace

} // namespace zyn::base

using namespace zyn::base;

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return Err(ERROR_INVALID_PARAMETER);
    *phkResult = nullptr;
    OpenKey key;
    std::vector<std::wstring> path;
    LONG e = ResolvePath(hKey, lpSubKey, ERROR_FILE_NOT_FOUND, key, path);
    if (e != kOk)
        return e;
    if (!key.usersRoot) {
        e = key.store->OpenKey(key.id, path, key.id);
        if (e != kOk)
            return e;
    }
    key.access = NormaliseAccess(samDesired);
    return AddHandle(std::move(key), phkResult);
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
    REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!phkResult || !lpSubKey)
        return Err(ERROR_INVALID_PARAMETER);
    *phkResult = nullptr;
    OpenKey key;
    std::vector<std::wstring> path;
    LONG e = ResolvePath(hKey, lpSubKey, ERROR_ACCESS_DENIED, key, path);
    if (e != kOk)
        return e;
    bool created = false;
    if (key.usersRoot) {
        // HKEY_USERS itself: nothing to create.
    } else if (!path.empty()) {
        RegKeyId existing = 0;
        e = key.store->OpenKey(key.id, path, existing);
        if (e == kOk) {
            key.id = existing;
        } else if (e == Err(ERROR_FILE_NOT_FOUND)) {
            if (!(key.access & KEY_CREATE_SUB_KEY))
                return Err(ERROR_ACCESS_DENIED);
            e = key.store->CreateKey(key.id, path, lpClass ? std::wstring_view(lpClass) : std::wstring_view(),
                key.id, created);
            if (e != kOk)
                return e;
        } else {
            return e;
        }
    } else {
        e = key.store->CheckKey(key.id);
        if (e != kOk)
            return e;
    }
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    key.access = NormaliseAccess(samDesired);
    return AddHandle(std::move(key), phkResult);
}

LONG RegCloseKey(HKEY hKey)
{
    if (!hKey)
        return Err(ERROR_INVALID_HANDLE);
    if (PredefinedValue(hKey))
        return kOk;
    return Keys().Remove(hKey) ? kOk : Err(ERROR_INVALID_HANDLE);
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
    LPDWORD lpcbData)
{
    if (lpReserved || (lpData && !lpcbData))
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    LONG e = ResolveWith(hKey, KEY_QUERY_VALUE, key);
    if (e != kOk)
        return e;
    RegValueData value;
    e = ReadValue(key, lpValueName, value);
    if (e != kOk)
        return e;
    if (lpType)
        *lpType = value.type;
    return CopyOut(ToCaller(value.type, value.data), lpData, lpcbData);
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    const std::wstring_view name = lpValueName ? lpValueName : L"";
    if (name.size() > kMaxValueNameLength || !ValidName(name))
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    LONG e = ResolveWith(hKey, KEY_SET_VALUE, key);
    if (e != kOk)
        return e;
    if (key.usersRoot)
        return Err(ERROR_ACCESS_DENIED);
    std::vector<uint8_t> stored;
    e = ToStored(dwType, lpData, cbData, stored);
    if (e != kOk)
        return e;
    return key.store->SetValue(key.id, name, dwType, stored);
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName)
{
    OpenKey key;
    const LONG e = ResolveWith(hKey, KEY_SET_VALUE, key);
    if (e != kOk)
        return e;
    if (key.usersRoot)
        return Err(ERROR_ACCESS_DENIED);
    return key.store->DeleteValue(key.id, lpValueName ? lpValueName : L"");
}

namespace {

// Resolves a key and a subkey path below it for the deleting functions.
LONG ResolveForDelete(HKEY hKey, LPCWSTR lpSubKey, OpenKey& key, RegKeyId& target)
{
    LONG e = Resolve(hKey, key);
    if (e != kOk)
        return e;
    std::vector<std::wstring> path;
    e = SplitPath(lpSubKey, path);
    if (e != kOk)
        return e;
    if (path.empty()) {
        if (key.usersRoot)
            return Err(ERROR_ACCESS_DENIED);
        target = key.id;
        return kOk;
    }
    if (!(key.access & kWriteIntent))
        return Err(ERROR_ACCESS_DENIED);
    e = LeaveUsersRoot(key, path, ERROR_FILE_NOT_FOUND);
    if (e != kOk)
        return e;
    if (key.usersRoot)
        return Err(ERROR_ACCESS_DENIED);
    return key.store->OpenKey(key.id, path, target);
}

} // namespace

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey)
{
    if (!lpSubKey)
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    RegKeyId target = 0;
    LONG e = ResolveForDelete(hKey, lpSubKey, key, target);
    if (e != kOk)
        return e;
    // Deleting the key of the handle itself needs DELETE on that handle.
    if (target == key.id && !*lpSubKey && !(key.access & kDelete))
        return Err(ERROR_ACCESS_DENIED);
    return key.store->DeleteKey(target);
}

LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved)
{
    return RegDeleteKeyW(hKey, lpSubKey);
}

LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey)
{
    OpenKey key;
    RegKeyId target = 0;
    LONG e = ResolveForDelete(hKey, lpSubKey, key, target);
    if (e != kOk)
        return e;
    const bool ownKey = !lpSubKey || !*lpSubKey;
    if (ownKey && !(key.access & kWriteIntent))
        return Err(ERROR_ACCESS_DENIED);
    return key.store->DeleteTree(target, !ownKey);
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
    LPDWORD lpcchClass, FILETIME* lpftLastWriteTime)
{
    if (!lpName || !lpcchName || lpReserved || (lpClass && !lpcchClass))
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    LONG e = ResolveWith(hKey, KEY_ENUMERATE_SUB_KEYS, key);
    if (e != kOk)
        return e;
    std::wstring name, className;
    int64_t lastWrite = 0;
    if (key.usersRoot) {
        if (dwIndex != 0)
            return Err(ERROR_NO_MORE_ITEMS);
        name = L".DEFAULT";
        lastWrite = RegistryNow();
    } else {
        e = key.store->EnumKey(key.id, dwIndex, name, className, lastWrite);
        if (e != kOk)
            return e;
    }
    if (name.size() + 1 > *lpcchName || (lpClass && className.size() + 1 > *lpcchClass))
        return Err(ERROR_MORE_DATA);
    CopyName(name, lpName, lpcchName);
    if (lpClass)
        CopyName(className, lpClass, lpcchClass);
    WriteFileTime(lpftLastWriteTime, lastWrite);
    return kOk;
}

LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName)
{
    DWORD cch = cchName;
    return RegEnumKeyExW(hKey, dwIndex, lpName, &cch, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
    LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData))
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    LONG e = ResolveWith(hKey, KEY_QUERY_VALUE, key);
    if (e != kOk)
        return e;
    if (key.usersRoot)
        return Err(ERROR_NO_MORE_ITEMS);
    RegValueData value;
    e = key.store->EnumValue(key.id, dwIndex, value);
    if (e != kOk)
        return e;
    e = CopyName(value.name, lpValueName, lpcchValueName);
    if (e != kOk)
        return e;
    if (lpType)
        *lpType = value.type;
    return CopyOut(ToCaller(value.type, value.data), lpData, lpcbData);
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
    LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime)
{
    if (lpReserved || (lpClass && !lpcchClass))
        return Err(ERROR_INVALID_PARAMETER);
    OpenKey key;
    LONG e = ResolveWith(hKey, KEY_QUERY_VALUE, key);
    if (e != kOk)
        return e;
    RegKeyInfo info;
    DWORD maxValueLen = 0;
    if (key.usersRoot) {
        info.subKeys = 1;
        info.maxSubKeyLen = 8; // ".DEFAULT"
        info.lastWriteTime = RegistryNow();
    } else {
        e = key.store->QueryInfo(key.id, info);
        if (e != kOk)
            return e;
        if (lpcbMaxValueLen) {
            std::vector<RegValueData> values;
            e = key.store->ListValues(key.id, values);
            if (e != kOk)
                return e;
            for (const auto& v : values) {
                const size_t size = IsStringType(v.type) ? StoredText(v.data).size() * sizeof(wchar_t) : v.data.size();
                maxValueLen = std::max(maxValueLen, static_cast<DWORD>(size));
            }
        }
    }
    if (lpClass) {
        if (info.className.size() + 1 > *lpcchClass) {
            *lpcchClass = static_cast<DWORD>(info.className.size());
            return Err(ERROR_MORE_DATA);
        }
        CopyName(info.className, lpClass, lpcchClass);
    } else if (lpcchClass) {
        *lpcchClass = static_cast<DWORD>(info.className.size());
    }
    if (lpcSubKeys)
        *lpcSubKeys = info.subKeys;
    if (lpcbMaxSubKeyLen)
        *lpcbMaxSubKeyLen = info.maxSubKeyLen;
    if (lpcbMaxClassLen)
        *lpcbMaxClassLen = info.maxClassLen;
    if (lpcValues)
        *lpcValues = info.values;
    if (lpcbMaxValueNameLen)
        *lpcbMaxValueNameLen = info.maxValueNameLen;
    if (lpcbMaxValueLen)
        *lpcbMaxValueLen = maxValueLen;
    if (lpcbSecurityDescriptor)
        *lpcbSecurityDescriptor = 0;
    WriteFileTime(lpftLastWriteTime, info.lastWriteTime);
    return kOk;
}

LONG RegFlushKey(HKEY hKey)
{
    OpenKey key;
    const LONG e = Resolve(hKey, key);
    if (e != kOk)
        return e;
    return key.usersRoot ? kOk : key.store->Flush();
}

LONG RegGetValueW(HKEY hkey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType, PVOID pvData,
    LPDWORD pcbData)
{
    if ((pvData && !pcbData) || (dwFlags & RRF_RT_ANY) == 0)
        return Err(ERROR_INVALID_PARAMETER);
    // Asking for REG_EXPAND_SZ data only makes sense without expansion.
    if ((dwFlags & RRF_RT_REG_EXPAND_SZ) && !(dwFlags & RRF_NOEXPAND) && (dwFlags & RRF_RT_ANY) != RRF_RT_ANY)
        return Err(ERROR_INVALID_PARAMETER);
    const DWORD bufferSize = pcbData ? *pcbData : 0;
    auto fail = [&](LONG code) {
        if ((dwFlags & RRF_ZEROONFAILURE) && pvData && bufferSize)
            std::memset(pvData, 0, bufferSize);
        return code;
    };

    KeyCloser sub;
    HKEY source = nullptr;
    LONG e = SubKeyOrSelf(hkey, lpSubKey, KEY_QUERY_VALUE, false, sub, source);
    if (e != kOk)
        return fail(e);
    OpenKey key;
    e = ResolveWith(source, KEY_QUERY_VALUE, key);
    if (e != kOk)
        return fail(e);
    RegValueData value;
    e = ReadValue(key, lpValue, value);
    if (e != kOk)
        return fail(e);

    DWORD type = value.type;
    std::vector<uint8_t> bytes;
    if (IsStringType(type)) {
        std::wstring text = StoredText(value.data);
        if (type == REG_EXPAND_SZ && !(dwFlags & RRF_NOEXPAND)) {
            const size_t end = text.find(L'\0');
            text = ExpandEnvironment(std::wstring_view(text).substr(0, end));
            type = REG_SZ;
        }
        // Strings come back terminated, lists with their final empty string.
        if (text.empty() || text.back() != L'\0')
            text.push_back(L'\0');
        if (type == REG_MULTI_SZ && text.size() >= 2 && text[text.size() - 2] != L'\0')
            text.push_back(L'\0');
        bytes = TextBytes(text);
    } else {
        bytes = std::move(value.data);
    }

    const DWORD wanted = dwFlags & RRF_RT_ANY;
    if (wanted != RRF_RT_ANY && !(TypeFlag(type) & wanted))
        return fail(Err(ERROR_UNSUPPORTED_TYPE));
    if ((type == REG_DWORD && bytes.size() != 4) || (type == REG_QWORD && bytes.size() != 8))
        if (wanted != RRF_RT_ANY)
            return fail(Err(ERROR_DATATYPE_MISMATCH));
    if (pdwType)
        *pdwType = type;
    e = CopyOut(bytes, static_cast<LPBYTE>(pvData), pcbData);
    if (e == Err(ERROR_MORE_DATA) && (dwFlags & RRF_ZEROONFAILURE) && bufferSize)
        std::memset(pvData, 0, bufferSize);
    return e;
}

LONG RegSetKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName, DWORD dwType, LPCVOID lpData, DWORD cbData)
{
    KeyCloser sub;
    HKEY target = nullptr;
    const LONG e = SubKeyOrSelf(hKey, lpSubKey, KEY_SET_VALUE, true, sub, target);
    if (e != kOk)
        return e;
    return RegSetValueExW(target, lpValueName, 0, dwType, static_cast<const BYTE*>(lpData), cbData);
}

LONG RegDeleteKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName)
{
    KeyCloser sub;
    HKEY target = nullptr;
    const LONG e = SubKeyOrSelf(hKey, lpSubKey, KEY_SET_VALUE, false, sub, target);
    if (e != kOk)
        return e;
    return RegDeleteValueW(target, lpValueName);
}

LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult)
{
    return RegOpenKeyExW(hKey, lpSubKey, 0, KEY_ALL_ACCESS, phkResult);
}

LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult)
{
    return RegCreateKeyExW(hKey, lpSubKey ? lpSubKey : L"", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
        nullptr, phkResult, nullptr);
}

LONG RegSetValueW(HKEY hKey, LPCWSTR lpSubKey, DWORD dwType, LPCWSTR lpData, DWORD cbData)
{
    if (dwType != REG_SZ || !lpData)
        return Err(ERROR_INVALID_PARAMETER);
    KeyCloser sub;
    HKEY target = nullptr;
    const LONG e = SubKeyOrSelf(hKey, lpSubKey, KEY_SET_VALUE, true, sub, target);
    if (e != kOk)
        return e;
    // The length comes from the string; cbData is ignored, as on Windows.
    const size_t chars = std::wcslen(lpData) + 1;
    return RegSetValueExW(target, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpData),
        static_cast<DWORD>(chars * sizeof(wchar_t)));
}

LONG RegQueryValueW(HKEY hKey, LPCWSTR lpSubKey, LPWSTR lpData, PLONG lpcbData)
{
    if (lpData && !lpcbData)
        return Err(ERROR_INVALID_PARAMETER);
    KeyCloser sub;
    HKEY source = nullptr;
    LONG e = SubKeyOrSelf(hKey, lpSubKey, KEY_QUERY_VALUE, false, sub, source);
    if (e != kOk)
        return e;
    OpenKey key;
    e = ResolveWith(source, KEY_QUERY_VALUE, key);
    if (e != kOk)
        return e;
    std::wstring text;
    RegValueData value;
    e = ReadValue(key, nullptr, value);
    if (e == kOk) {
        if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
            return Err(ERROR_INVALID_DATA);
        text = StoredText(value.data);
    } else if (e != Err(ERROR_FILE_NOT_FOUND)) {
        return e;
    }
    // An unset default value reads as the empty string.
    if (text.empty() || text.back() != L'\0')
        text.push_back(L'\0');
    DWORD cb = lpcbData ? static_cast<DWORD>(*lpcbData) : 0;
    e = CopyOut(TextBytes(text), reinterpret_cast<LPBYTE>(lpData), lpcbData ? &cb : nullptr);
    if (lpcbData)
        *lpcbData = static_cast<LONG>(cb);
    return e;
}
