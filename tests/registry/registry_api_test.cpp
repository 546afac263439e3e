// The raw registry API over the SQLite store.
#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/base/lasterror.h"
#include "platform/base/registry_store_check.h"
#include "tests/registry/regtest.h"

using namespace zyn::test;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> v)
{
    std::vector<uint8_t> out;
    for (int b : v)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}

std::vector<uint8_t> Query(HKEY h, const wchar_t* name, DWORD* type = nullptr)
{
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(h, name, nullptr, type, nullptr, &size), 0);
    std::vector<uint8_t> out(size);
    EXPECT_EQ(RegQueryValueExW(h, name, nullptr, type, out.data(), &size), 0);
    out.resize(size);
    return out;
}

std::vector<uint8_t> WideBytes(const std::wstring& s)
{
    std::vector<uint8_t> out(s.size() * sizeof(wchar_t));
    std::memcpy(out.data(), s.data(), out.size());
    return out;
}

// The stored bytes of a value, read from the store file with SQLite directly.
std::vector<uint8_t> RawStored(const std::filesystem::path& file, const char* key, const char* value, int* type)
{
    sqlite3* db = nullptr;
    std::vector<uint8_t> out;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db,
                  "SELECT v.type, v.data FROM reg_values v JOIN reg_keys k ON v.key = k.id "
                  "WHERE k.name = ?1 AND v.name = ?2",
                  -1, &s, nullptr),
        SQLITE_OK);
    sqlite3_bind_text(s, 1, key, -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 2, value, -1, SQLITE_STATIC);
    if (sqlite3_step(s) == SQLITE_ROW) {
        *type = sqlite3_column_int(s, 0);
        const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s, 1));
        out.assign(p, p + sqlite3_column_bytes(s, 1));
    } else {
        *type = -1;
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

} // namespace

TEST_F(RegistryTest, EveryTypeSurvivesReopeningTheStore)
{
    const std::wstring text = L"Gr\u00FC\u00DFe \U0001F600";
    const std::wstring multi(L"one\0two\0\0", 9);
    const DWORD dword = 0x12345678;
    const uint64_t qword = 0x0102030405060708ULL;
    const auto binary = Bytes({0, 1, 2, 0xFF});
    const auto bigEndian = Bytes({0x12, 0x34, 0x56, 0x78});
    {
        KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Types"));
        ASSERT_EQ(RegSetValueExW(k.h, L"None", 0, REG_NONE, nullptr, 0), 0);
        ASSERT_EQ(SetString(k.h, L"Text", text), 0);
        ASSERT_EQ(SetString(k.h, L"Expand", L"%HOME%\\x", REG_EXPAND_SZ), 0);
        ASSERT_EQ(RegSetValueExW(k.h, L"Binary", 0, REG_BINARY, binary.data(), 4), 0);
        ASSERT_EQ(SetDword(k.h, L"Dword", dword), 0);
        ASSERT_EQ(RegSetValueExW(k.h, L"Big", 0, REG_DWORD_BIG_ENDIAN, bigEndian.data(), 4), 0);
        ASSERT_EQ(RegSetValueExW(k.h, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi.data()),
                      static_cast<DWORD>(multi.size() * sizeof(wchar_t))),
            0);
        ASSERT_EQ(RegSetValueExW(k.h, L"Qword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&qword), 8), 0);
        ASSERT_EQ(SetString(k.h, nullptr, L"default"), 0);
    }
    zyn::base::ResetRegistryStores();

    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Types", 0, KEY_READ, &k.h), 0);
    DWORD type = 0;
    EXPECT_TRUE(Query(k.h, L"None", &type).empty());
    EXPECT_EQ(type, REG_NONE);
    EXPECT_EQ(Query(k.h, L"Text", &type), WideBytes(text + L'\0'));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(GetString(k.h, L"Expand"), L"%HOME%\\x");
    EXPECT_EQ(Query(k.h, L"Binary", &type), binary);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Query(k.h, L"Dword", &type), Bytes({0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(Query(k.h, L"Big", &type), bigEndian);
    EXPECT_EQ(type, REG_DWORD_BIG_ENDIAN);
    EXPECT_EQ(Query(k.h, L"Multi", &type), WideBytes(multi));
    EXPECT_EQ(type, REG_MULTI_SZ);
    EXPECT_EQ(Query(k.h, L"Qword", &type), Bytes({8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(type, REG_QWORD);
    EXPECT_EQ(GetString(k.h, L""), L"default");

    // The file holds the Windows layouts: UTF-16LE strings with terminator, a surrogate
    // pair outside the BMP, little-endian DWORDs.
    int rawType = 0;
    EXPECT_EQ(RawStored(UserStore(), "Types", "Text", &rawType),
        Bytes({'G', 0, 'r', 0, 0xFC, 0, 0xDF, 0, 'e', 0, ' ', 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(rawType, 1);
    EXPECT_EQ(RawStored(UserStore(), "Types", "Multi", &rawType),
        Bytes({'o', 0, 'n', 0, 'e', 0, 0, 0, 't', 0, 'w', 0, 'o', 0, 0, 0, 0, 0}));
    EXPECT_EQ(rawType, 7);
    EXPECT_EQ(RawStored(UserStore(), "Types", "Dword", &rawType), Bytes({0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(RawStored(UserStore(), "Types", "", &rawType),
        Bytes({'d', 0, 'e', 0, 'f', 0, 'a', 0, 'u', 0, 'l', 0, 't', 0, 0, 0}));
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirSpelling)
{
    KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\\u00C4rger\\Mixed"));
    ASSERT_EQ(SetString(k.h, L"ValueName", L"v1"), 0);
    ASSERT_EQ(SetString(k.h, L"VALUENAME", L"v2"), 0); // same value
    ASSERT_EQ(SetString(k.h, L"\u0416\u0443\u043A", L"beetle"), 0);

    KeyGuard again;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\\u00E4RGER\\mixed", 0, KEY_READ, &again.h), 0);
    EXPECT_EQ(GetString(again.h, L"valuename"), L"v2");
    EXPECT_EQ(GetString(again.h, L"\u0436\u0423\u041A"), L"beetle");

    wchar_t name[64];
    DWORD cch = 64;
    ASSERT_EQ(RegEnumValueW(again.h, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_STREQ(name, L"ValueName");
    KeyGuard parent;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software", 0, KEY_READ, &parent.h), 0);
    cch = 64;
    ASSERT_EQ(RegEnumKeyExW(parent.h, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_STREQ(name, L"\u00C4rger");

    // Creating with another case opens the existing key.
    HKEY h = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"software\\\u00C4RGER", 0, nullptr, 0, KEY_READ, nullptr, &h,
                  &disposition),
        0);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(h);
}

TEST_F(RegistryTest, QueryValueSizeRules)
{
    KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Sizes"));
    ASSERT_EQ(SetString(k.h, L"s", L"abc\U0001F600"), 0);
    const DWORD needed = 5 * sizeof(wchar_t);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(k.h, L"s", nullptr, &type, nullptr, &size), 0);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExW(k.h, L"s", nullptr, nullptr, nullptr, nullptr), 0); // existence check

    wchar_t buf[8] = {L'x', L'x', L'x', L'x', L'x', L'x', L'x', L'x'};
    size = 2 * sizeof(wchar_t);
    type = 0;
    EXPECT_EQ(RegQueryValueExW(k.h, L"s", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size),
        static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, needed);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(buf[2], L'x'); // nothing written past the given size

    size = sizeof buf;
    EXPECT_EQ(RegQueryValueExW(k.h, L"s", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size), 0);
    EXPECT_EQ(size, needed);
    EXPECT_STREQ(buf, L"abc\U0001F600");

    EXPECT_EQ(RegQueryValueExW(k.h, L"s", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), nullptr),
        static_cast<LONG>(ERROR_INVALID_PARAMETER));
    size = sizeof buf;
    EXPECT_EQ(RegQueryValueExW(k.h, L"missing", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size),
        static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    // String data must be whole characters.
    EXPECT_EQ(RegSetValueExW(k.h, L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 5),
        static_cast<LONG>(ERROR_INVALID_PARAMETER));
    // Text that UTF-16 cannot carry is refused, not replaced.
    const wchar_t lone[2] = {static_cast<wchar_t>(0xD800), 0};
    EXPECT_EQ(RegSetValueExW(k.h, L"lone", 0, REG_SZ, reinterpret_cast<const BYTE*>(lone), sizeof lone),
        static_cast<LONG>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegSetValueExW(k.h, lone, 0, REG_BINARY, nullptr, 0), static_cast<LONG>(ERROR_INVALID_PARAMETER));
}

TEST_F(RegistryTest, EnumerationOrderAndBuffers)
{
    KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Enum"));
    for (const wchar_t* sub : {L"beta", L"Alpha", L"gamma", L"\u00C9clair"})
        KeyGuard(Create(k.h, sub));
    ASSERT_EQ(SetDword(k.h, L"zeta", 1), 0);
    ASSERT_EQ(SetDword(k.h, L"Eta", 2), 0);
    ASSERT_EQ(SetString(k.h, L"theta", L"a long string value"), 0);
    ASSERT_EQ(SetDword(k.h, L"ZETA", 3), 0); // keeps its first place

    std::vector<std::wstring> keys;
    wchar_t name[32];
    for (DWORD i = 0;; ++i) {
        DWORD cch = 32;
        const LONG e = RegEnumKeyExW(k.h, i, name, &cch, nullptr, nullptr, nullptr, nullptr);
        if (e == static_cast<LONG>(ERROR_NO_MORE_ITEMS))
            break;
        ASSERT_EQ(e, 0);
        EXPECT_EQ(cch, std::wcslen(name));
        keys.emplace_back(name);
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"\u00C9clair"}));

    std::vector<std::wstring> values;
    for (DWORD i = 0;; ++i) {
        DWORD cch = 32;
        DWORD type = 0, size = 0;
        const LONG e = RegEnumValueW(k.h, i, name, &cch, nullptr, &type, nullptr, &size);
        if (e == static_cast<LONG>(ERROR_NO_MORE_ITEMS))
            break;
        ASSERT_EQ(e, 0);
        values.emplace_back(name);
    }
    EXPECT_EQ(values, (std::vector<std::wstring>{L"zeta", L"Eta", L"theta"}));

    // A name buffer without room for the terminator, a short data buffer.
    DWORD cch = 4;
    EXPECT_EQ(RegEnumKeyExW(k.h, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), static_cast<LONG>(ERROR_MORE_DATA));
    cch = 5;
    EXPECT_EQ(RegEnumValueW(k.h, 2, name, &cch, nullptr, nullptr, nullptr, nullptr), static_cast<LONG>(ERROR_MORE_DATA));
    cch = 32;
    BYTE data[4];
    DWORD size = sizeof data;
    EXPECT_EQ(RegEnumValueW(k.h, 2, name, &cch, nullptr, nullptr, data, &size), static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, 20 * sizeof(wchar_t));

    DWORD subKeys = 0, maxSub = 0, valueCount = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(k.h, nullptr, nullptr, nullptr, &subKeys, &maxSub, nullptr, &valueCount, &maxName,
                  &maxData, nullptr, nullptr),
        0);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(maxSub, 6u);
    EXPECT_EQ(valueCount, 3u);
    EXPECT_EQ(maxName, 5u);
    EXPECT_EQ(maxData, 20 * sizeof(wchar_t));
}

TEST_F(RegistryTest, DeletingKeysAndTrees)
{
    KeyGuard root(Create(HKEY_CURRENT_USER, L"Software\\Tree"));
    KeyGuard(Create(root.h, L"a\\b\\c"));
    KeyGuard ab(Create(root.h, L"a\\b"));
    ASSERT_EQ(SetDword(ab.h, L"v", 1), 0);
    ASSERT_EQ(SetDword(root.h, L"top", 1), 0);

    EXPECT_EQ(RegDeleteKeyW(root.h, L"a"), static_cast<LONG>(ERROR_ACCESS_DENIED)); // has subkeys
    EXPECT_EQ(RegDeleteKeyW(root.h, L"a\\b\\c"), 0);
    EXPECT_EQ(RegDeleteKeyW(root.h, L"a\\b\\c"), static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    // The handle on a\b outlives the key.
    EXPECT_EQ(RegDeleteTreeW(root.h, L"a"), 0);
    EXPECT_EQ(GetString(ab.h, L"v"), L"<error 1018>");
    EXPECT_EQ(SetDword(ab.h, L"v", 2), static_cast<LONG>(ERROR_KEY_DELETED));
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(ab.h, L"x", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        static_cast<LONG>(ERROR_KEY_DELETED));
    EXPECT_EQ(RegOpenKeyExW(root.h, L"a", 0, KEY_READ, &h), static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    // Without a subkey, the tree below the handle goes and the key stays.
    KeyGuard(Create(root.h, L"p\\q"));
    EXPECT_EQ(RegDeleteTreeW(root.h, nullptr), 0);
    DWORD subKeys = 9, values = 9;
    ASSERT_EQ(RegQueryInfoKeyW(root.h, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                  nullptr, nullptr, nullptr),
        0);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);

    // Root keys cannot be deleted.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L""), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegDeleteTreeW(HKEY_USERS, L".DEFAULT"), static_cast<LONG>(ERROR_ACCESS_DENIED));
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites)
{
    KeyGuard(Create(HKEY_LOCAL_MACHINE, L"Software\\RO\\child"));
    KeyGuard ro;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\RO", 0, KEY_READ | KEY_WOW64_64KEY, &ro.h), 0);
    const auto denied = static_cast<LONG>(ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetDword(ro.h, L"v", 1), denied);
    EXPECT_EQ(RegDeleteValueW(ro.h, L"v"), denied);
    EXPECT_EQ(RegDeleteKeyW(ro.h, L"child"), denied);
    EXPECT_EQ(RegDeleteTreeW(ro.h, nullptr), denied);
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(ro.h, L"new", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), denied);
    // Opening an existing subkey through it is fine, and that handle has its own rights.
    ASSERT_EQ(RegCreateKeyExW(ro.h, L"child", 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), 0);
    EXPECT_EQ(SetDword(h, L"v", 1), 0);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(h, L"v", nullptr, nullptr, nullptr, &size), denied); // no KEY_QUERY_VALUE
    RegCloseKey(h);

    KeyGuard none;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\RO", 0, 0, &none.h), 0);
    EXPECT_EQ(RegQueryInfoKeyW(none.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr),
        denied);
}

TEST_F(RegistryTest, HandlesAndPredefinedKeys)
{
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\H", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), 0);
    EXPECT_GE(reinterpret_cast<uintptr_t>(h), 0x10000u);
    EXPECT_EQ(RegCloseKey(h), 0);
    EXPECT_EQ(RegCloseKey(h), static_cast<LONG>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SetDword(h, L"v", 1), static_cast<LONG>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), 0);
    EXPECT_EQ(reinterpret_cast<intptr_t>(HKEY_CURRENT_USER), static_cast<intptr_t>(static_cast<int32_t>(0x80000001u)));

    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"\\Software", 0, KEY_READ, &h), static_cast<LONG>(ERROR_BAD_PATHNAME));
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\\\H", 0, KEY_READ, &h), static_cast<LONG>(ERROR_BAD_PATHNAME));
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\H\\", 0, KEY_READ, &h), 0);
    RegCloseKey(h);

    // HKEY_USERS\.DEFAULT is the current user's hive; HKEY_CLASSES_ROOT is
    // HKEY_LOCAL_MACHINE\Software\Classes.
    KeyGuard users(Create(HKEY_USERS, L".DEFAULT\\Software\\H"));
    ASSERT_EQ(SetString(users.h, L"via", L"users"), 0);
    KeyGuard user;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\H", 0, KEY_READ, &user.h), 0);
    EXPECT_EQ(GetString(user.h, L"via"), L"users");
    EXPECT_EQ(RegOpenKeyExW(HKEY_USERS, L"S-1-5-18", 0, KEY_READ, &h), static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    KeyGuard cls(Create(HKEY_CLASSES_ROOT, L".zyn"));
    ASSERT_EQ(SetString(cls.h, nullptr, L"ZynFile"), 0);
    wchar_t buf[32];
    LONG cb = sizeof buf;
    ASSERT_EQ(RegQueryValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.zyn", buf, &cb), 0);
    EXPECT_STREQ(buf, L"ZynFile");
    EXPECT_EQ(cb, static_cast<LONG>(8 * sizeof(wchar_t)));
}

TEST_F(RegistryTest, LegacyForms)
{
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Legacy", &h), 0);
    EXPECT_EQ(RegSetValueW(h, L"sub", REG_SZ, L"text", 0), 0);
    EXPECT_EQ(RegSetValueW(h, L"sub", REG_DWORD, L"text", 0), static_cast<LONG>(ERROR_INVALID_PARAMETER));
    LONG cb = 0;
    ASSERT_EQ(RegQueryValueW(h, L"sub", nullptr, &cb), 0);
    EXPECT_EQ(cb, static_cast<LONG>(5 * sizeof(wchar_t)));
    // A key without default value reads as the empty string.
    wchar_t buf[8] = L"zz";
    cb = sizeof buf;
    ASSERT_EQ(RegQueryValueW(HKEY_CURRENT_USER, L"Software\\Legacy", buf, &cb), 0);
    EXPECT_STREQ(buf, L"");
    HKEY sub = nullptr;
    ASSERT_EQ(RegOpenKeyW(h, L"sub", &sub), 0);
    EXPECT_EQ(GetString(sub, nullptr), L"text");
    RegCloseKey(sub);
    RegCloseKey(h);
}

TEST_F(RegistryTest, GetValueFiltersExpandsAndTerminates)
{
    KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Get"));
    ::setenv("ZYN_REG_TEST_DIR", "/opt/zyn", 1);
    ASSERT_EQ(SetString(k.h, L"exp", L"%ZYN_REG_TEST_DIR%\\bin;%NO_SUCH_VARIABLE_XYZ%", REG_EXPAND_SZ), 0);
    ASSERT_EQ(SetDword(k.h, L"dw", 7), 0);
    const BYTE three[3] = {1, 2, 3};
    ASSERT_EQ(RegSetValueExW(k.h, L"short", 0, REG_DWORD, three, 3), 0);
    const wchar_t raw[3] = {L'a', L'b', L'c'}; // no terminator
    ASSERT_EQ(RegSetValueExW(k.h, L"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw), 0);

    wchar_t buf[64];
    DWORD size = sizeof buf, type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Get", L"exp", RRF_RT_REG_SZ, &type, buf, &size), 0);
    EXPECT_STREQ(buf, L"/opt/zyn\\bin;%NO_SUCH_VARIABLE_XYZ%");
    EXPECT_EQ(type, REG_SZ);
    size = sizeof buf;
    ASSERT_EQ(RegGetValueW(k.h, nullptr, L"exp", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, buf, &size), 0);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(buf[0], L'%');
    EXPECT_EQ(RegGetValueW(k.h, nullptr, L"exp", RRF_RT_REG_EXPAND_SZ, &type, buf, &size),
        static_cast<LONG>(ERROR_INVALID_PARAMETER));

    DWORD dw = 0;
    size = sizeof dw;
    ASSERT_EQ(RegGetValueW(k.h, nullptr, L"dw", RRF_RT_DWORD, nullptr, &dw, &size), 0);
    EXPECT_EQ(dw, 7u);
    size = sizeof buf;
    EXPECT_EQ(RegGetValueW(k.h, nullptr, L"dw", RRF_RT_REG_SZ, nullptr, buf, &size),
        static_cast<LONG>(ERROR_UNSUPPORTED_TYPE));
    size = sizeof dw;
    EXPECT_EQ(RegGetValueW(k.h, nullptr, L"short", RRF_RT_REG_DWORD, nullptr, &dw, &size),
        static_cast<LONG>(ERROR_DATATYPE_MISMATCH));

    // A terminator is added, and counted in the size.
    size = 0;
    ASSERT_EQ(RegGetValueW(k.h, nullptr, L"unterminated", RRF_RT_REG_SZ, nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, 4 * sizeof(wchar_t));
    DWORD small[2] = {0xAAAAAAAA, 0xAAAAAAAA};
    size = sizeof small;
    EXPECT_EQ(RegGetValueW(k.h, nullptr, L"unterminated", RRF_RT_REG_SZ | RRF_ZEROONFAILURE, nullptr, small, &size),
        static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(small[0], 0u);
    EXPECT_EQ(size, 4 * sizeof(wchar_t));
    size = sizeof buf;
    EXPECT_EQ(RegGetValueW(k.h, L"NoSuchKey", L"x", RRF_RT_ANY, nullptr, buf, &size),
        static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, TransactionsAreAllOrNothing)
{
    using namespace zyn::base;
    LONG e = 0;
    auto store = GetRegistryStore(RegHive::CurrentUser, e);
    ASSERT_TRUE(store);
    RegKeyId key = 0;
    bool created = false;
    const std::vector<std::wstring> path = {L"Software", L"Tx"};
    ASSERT_EQ(store->CreateKey(store->Root(), path, L"", key, created), 0);
    const BYTE one = 1;
    {
        RegistryStore::Transaction tx(*store);
        ASSERT_EQ(tx.Begin(), 0);
        ASSERT_EQ(store->SetValue(key, L"a", REG_BINARY, {&one, 1}), 0);
        ASSERT_EQ(store->CreateKey(key, std::vector<std::wstring>{L"child"}, L"", key, created), 0);
        // Not committed: rolled back here.
    }
    RegValueData v;
    EXPECT_EQ(store->GetValue(key, L"a", v), static_cast<LONG>(ERROR_KEY_DELETED)); // `key` is the rolled-back child
    RegKeyId txKey = 0;
    ASSERT_EQ(store->OpenKey(store->Root(), path, txKey), 0);
    EXPECT_EQ(store->GetValue(txKey, L"a", v), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    {
        RegistryStore::Transaction tx(*store);
        ASSERT_EQ(tx.Begin(), 0);
        ASSERT_EQ(store->SetValue(txKey, L"a", REG_BINARY, {&one, 1}), 0);
        ASSERT_EQ(tx.Commit(), 0);
    }
    EXPECT_EQ(store->GetValue(txKey, L"a", v), 0);
}

TEST_F(RegistryTest, CorruptStoreIsReportedAndLeftAlone)
{
    std::vector<uint8_t> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7 + 3);
    WriteBytes(UserStore(), garbage);

    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &h), static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
    EXPECT_TRUE(LogMentions(L"hkcu.sqlite3"));
    EXPECT_EQ(ReadBytes(UserStore()), garbage);
    EXPECT_FALSE(std::filesystem::exists(UserStore().string() + "-wal"));
    // The other hive is unaffected.
    KeyGuard lm(Create(HKEY_LOCAL_MACHINE, L"Software\\Fine"));
    EXPECT_TRUE(lm.h);

    // A database that is not a registry store is not taken over either.
    zyn::base::ResetRegistryStores();
    std::filesystem::remove(UserStore());
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(UserStore().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE other(x); INSERT INTO other VALUES(42);", nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
    }
    const auto foreign = ReadBytes(UserStore());
    m_log.clear();
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &h), static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
    EXPECT_TRUE(LogMentions(L"missing"));
    EXPECT_EQ(ReadBytes(UserStore()), foreign);
}

TEST_F(RegistryTest, DamagedPagesFailTheIntegrityCheck)
{
    {
        KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Damage"));
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(SetString(k.h, std::to_wstring(i).c_str(), std::wstring(100, L'x')), 0);
        ASSERT_EQ(RegFlushKey(k.h), 0);
    }
    zyn::base::ResetRegistryStores();
    // Scribble over the middle of the file, past the header page.
    auto bytes = ReadBytes(UserStore());
    ASSERT_GT(bytes.size(), 16384u);
    for (size_t i = 8192; i < 12288; ++i)
        bytes[i] = 0x5A;
    WriteBytes(UserStore(), bytes);
    std::filesystem::remove(UserStore().string() + "-wal");
    std::filesystem::remove(UserStore().string() + "-shm");

    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Damage", 0, KEY_READ, &h),
        static_cast<LONG>(ERROR_REGISTRY_CORRUPT));
    EXPECT_EQ(ReadBytes(UserStore()), bytes);
}

TEST_F(RegistryTest, ConcurrentWritersThroughTwoConnections)
{
    using namespace zyn::base;
    KeyGuard k(Create(HKEY_CURRENT_USER, L"Software\\Concurrent"));
    // A second, independent connection to the same file, as another process would have.
    LONG e = 0;
    auto other = RegistryStore::Open(UserStore(), e);
    ASSERT_TRUE(other) << e;
    RegKeyId key = 0;
    ASSERT_EQ(other->OpenKey(other->Root(), std::vector<std::wstring>{L"Software", L"Concurrent"}, key), 0);

    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i)
                if (SetDword(k.h, (L"api" + std::to_wstring(t) + L"_" + std::to_wstring(i)).c_str(), i) != 0)
                    ++failures;
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 40; i += 4) {
            RegistryStore::Transaction tx(*other);
            if (tx.Begin() != 0) {
                ++failures;
                continue;
            }
            for (int j = i; j < i + 4; ++j) {
                const DWORD v = static_cast<DWORD>(j);
                if (other->SetValue(key, L"other" + std::to_wstring(j), REG_DWORD,
                        {reinterpret_cast<const uint8_t*>(&v), 4}) != 0)
                    ++failures;
            }
            if (tx.Commit() != 0)
                ++failures;
        }
    });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(k.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                  nullptr, nullptr),
        0);
    EXPECT_EQ(values, 160u);
    // Each connection sees the other's writes.
    RegValueData v;
    EXPECT_EQ(other->GetValue(key, L"API2_39", v), 0);
    DWORD got = 0, size = sizeof got;
    EXPECT_EQ(RegQueryValueExW(k.h, L"OTHER39", nullptr, nullptr, reinterpret_cast<BYTE*>(&got), &size), 0);
    EXPECT_EQ(got, 39u);
}

TEST_F(RegistryTest, TreeDeletionEndsOnACycleOfParents)
{
    {
        KeyGuard(Create(HKEY_CURRENT_USER, L"Software\\Loop\\A\\B"));
    }
    zyn::base::ResetRegistryStores();
    // Damage the file: A's parent becomes its own child B. The row is summed again, as
    // damage that slips past every check at opening would leave it.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(UserStore().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(zyn::base::regstore::InstallRowSum(db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                  "UPDATE reg_keys SET parent = (SELECT id FROM reg_keys WHERE name = 'B') WHERE name = 'A';"
                  "UPDATE reg_keys SET crc = zyn_row_sum(parent, name, folded, class, modified) WHERE name = 'A'",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT id FROM reg_keys WHERE name = 'A'", -1, &s, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    const zyn::base::RegKeyId a = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    sqlite3_close(db);

    LONG e = 0;
    auto store = zyn::base::GetRegistryStore(zyn::base::RegHive::CurrentUser, e);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->DeleteTree(a, true), 0); // returns instead of walking the cycle forever
    EXPECT_EQ(store->CheckKey(a), static_cast<LONG>(ERROR_KEY_DELETED));
}
