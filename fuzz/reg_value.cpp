// Fuzz target: registry value bytes as the store holds them (any type, any length, any
// UTF-16 in string values), read back through RegQueryValueEx and RegGetValue with
// buffers of every size around the one needed and arbitrary RRF_ flags. Checks the size
// rules (a null buffer asks for the size; a short one fails with ERROR_MORE_DATA and
// the size needed, writing nothing), that nothing is written past the buffer, that
// RegGetValue's strings come back terminated and its lists with their final empty
// string, its type restrictions, and RRF_ZEROONFAILURE. The input: the type, two flag
// bytes, a buffer slack, then the stored data.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_env.h"
#include "platform/base/lasterror.h"
#include "platform/base/regfile.h"
#include "platform/base/registry.h"
#include "platform/base/utf16.h"

namespace {

constexpr uint8_t kFill = 0xA5;
constexpr size_t kGuard = 16;

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

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

std::vector<uint8_t> WideBytes(const std::wstring& text)
{
    std::vector<uint8_t> out(text.size() * sizeof(wchar_t));
    if (!out.empty())
        std::memcpy(out.data(), text.data(), out.size());
    return out;
}

// A buffer of `size` bytes followed by a guard, all filled with kFill.
struct Buffer {
    explicit Buffer(size_t size) : bytes(size + kGuard, kFill), size(size) {}
    BYTE* data() { return bytes.data(); }
    bool GuardIntact() const
    {
        for (size_t i = size; i < bytes.size(); ++i)
            if (bytes[i] != kFill)
                return false;
        return true;
    }
    bool Untouched() const
    {
        for (uint8_t b : bytes)
            if (b != kFill)
                return false;
        return true;
    }
    bool Zeroed() const
    {
        for (size_t i = 0; i < size; ++i)
            if (bytes[i] != 0)
                return false;
        return GuardIntact();
    }
    std::vector<uint8_t> bytes;
    size_t size;
};

void CheckQuery(HKEY key, DWORD type, const std::vector<uint8_t>& expected)
{
    DWORD gotType = 0, cb = 0xFFFFFFFF;
    if (RegQueryValueExW(key, L"v", nullptr, &gotType, nullptr, &cb) != ERROR_SUCCESS || gotType != type ||
        cb != expected.size())
        std::abort();
    for (size_t size : {expected.size(), expected.size() + 3, expected.size() ? expected.size() - 1 : 0}) {
        Buffer buf(size);
        cb = static_cast<DWORD>(size);
        const LONG e = RegQueryValueExW(key, L"v", nullptr, nullptr, buf.data(), &cb);
        if (size >= expected.size()) {
            if (e != ERROR_SUCCESS || cb != expected.size() || !buf.GuardIntact() ||
                !std::equal(expected.begin(), expected.end(), buf.bytes.begin()))
                std::abort();
        } else if (e != static_cast<LONG>(ERROR_MORE_DATA) || cb != expected.size() || !buf.Untouched()) {
            std::abort();
        }
    }
}

void CheckGet(DWORD flags, int slack, DWORD type, const std::wstring& text, const std::vector<uint8_t>& raw)
{
    const DWORD wanted = flags & RRF_RT_ANY;
    const bool expands = type == REG_EXPAND_SZ && !(flags & RRF_NOEXPAND);
    DWORD cb = 0;
    DWORD gotType = 0;
    const LONG sizeQuery = RegGetValueW(HKEY_CURRENT_USER, L"Software\\ZynFuzz", L"v", flags, &gotType, nullptr, &cb);
    LONG expectedError = ERROR_SUCCESS;
    if (wanted == 0 || ((flags & RRF_RT_REG_EXPAND_SZ) && !(flags & RRF_NOEXPAND) && wanted != RRF_RT_ANY))
        expectedError = ERROR_INVALID_PARAMETER;
    else if (wanted != RRF_RT_ANY && !(TypeFlag(expands ? REG_SZ : type) & wanted))
        expectedError = ERROR_UNSUPPORTED_TYPE;
    else if (wanted != RRF_RT_ANY &&
        ((type == REG_DWORD && raw.size() != 4) || (type == REG_QWORD && raw.size() != 8)))
        expectedError = ERROR_DATATYPE_MISMATCH;
    if (sizeQuery != expectedError)
        std::abort();
    if (expectedError != ERROR_SUCCESS) {
        // A failure with RRF_ZEROONFAILURE clears the caller's buffer, and only it. Flags
        // that make no sense are refused before anything is touched.
        Buffer buf(8);
        DWORD size = 8;
        const bool zeroes = (flags & RRF_ZEROONFAILURE) && expectedError != ERROR_INVALID_PARAMETER;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\ZynFuzz", L"v", flags, nullptr, buf.data(), &size) !=
                expectedError ||
            !(zeroes ? buf.Zeroed() : buf.Untouched()))
            std::abort();
        return;
    }
    if (gotType != (expands ? REG_SZ : type))
        std::abort();
    std::vector<uint8_t> expected;
    if (IsString(type) && !expands) {
        // Terminated; a list ends with an empty string.
        std::wstring t = text;
        if (t.empty() || t.back() != L'\0')
            t.push_back(L'\0');
        if (type == REG_MULTI_SZ && t.size() >= 2 && t[t.size() - 2] != L'\0')
            t.push_back(L'\0');
        expected = WideBytes(t);
    } else if (!IsString(type)) {
        expected = raw;
    }
    if (!expands && cb != expected.size())
        std::abort();
    const size_t size = static_cast<size_t>(std::max(0, static_cast<int>(cb) + slack));
    Buffer buf(size);
    DWORD got = static_cast<DWORD>(size);
    const LONG e = RegGetValueW(HKEY_CURRENT_USER, L"Software\\ZynFuzz", L"v", flags, nullptr, buf.data(), &got);
    if (size < cb) {
        if (e != static_cast<LONG>(ERROR_MORE_DATA) || got != cb ||
            !((flags & RRF_ZEROONFAILURE) ? buf.Zeroed() : buf.Untouched()))
            std::abort();
        return;
    }
    if (e != ERROR_SUCCESS || got != cb || !buf.GuardIntact())
        std::abort();
    if (expands) {
        // The expansion depends on the environment; it still ends in a terminator.
        if (got < sizeof(wchar_t) || got % sizeof(wchar_t) != 0)
            std::abort();
        wchar_t last;
        std::memcpy(&last, buf.data() + got - sizeof(wchar_t), sizeof last);
        if (last != L'\0')
            std::abort();
    } else if (!std::equal(expected.begin(), expected.end(), buf.bytes.begin())) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zyn::fuzz::FuzzRoot();
    if (size < 4)
        return 0;
    // The usual types mostly, now and then one no caller knows.
    const DWORD type = data[0] < 0xF0 ? data[0] % 12u : 0x100u + data[0];
    // Low byte: the RRF_RT_ bits and RRF_NOEXPAND; high byte: RRF_ZEROONFAILURE, any type.
    DWORD flags = data[1] & 0x7F;
    if (data[1] & 0x80)
        flags |= RRF_NOEXPAND;
    if (data[2] & 1)
        flags |= RRF_ZEROONFAILURE;
    if (data[2] & 2)
        flags |= RRF_RT_ANY;
    const int slack = static_cast<int8_t>(data[3]) % 9;
    const std::vector<uint8_t> stored(data + 4, data + size);

    // The bytes go into the store as they are, the way a .reg import writes them.
    zyn::base::RegFileOp op;
    op.kind = zyn::base::RegFileOp::Kind::SetValue;
    op.hive = zyn::base::RegHive::CurrentUser;
    op.path = {L"Software", L"ZynFuzz"};
    op.keyText = L"HKEY_CURRENT_USER\\Software\\ZynFuzz";
    op.valueName = L"v";
    op.type = type;
    op.data = stored;
    op.line = 1;
    zyn::base::RegFileError error;
    if (zyn::base::ApplyRegFileOps({op}, error) != ERROR_SUCCESS)
        std::abort();

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ZynFuzz", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        std::abort();
    // String values reach the caller as wide characters, other values byte for byte.
    const std::wstring text = IsString(type) ? zyn::base::FromUtf16LE(stored) : std::wstring();
    const std::vector<uint8_t> callerBytes = IsString(type) ? WideBytes(text) : stored;
    CheckQuery(key, type, callerBytes);
    CheckGet(flags, slack, type, text, stored);

    // What the caller read can be written back through the API and reads the same.
    if (RegSetValueExW(key, L"v", 0, type, callerBytes.data(), static_cast<DWORD>(callerBytes.size())) !=
        ERROR_SUCCESS)
        std::abort();
    CheckQuery(key, type, callerBytes);
    if (RegDeleteValueW(key, L"v") != ERROR_SUCCESS || RegCloseKey(key) != ERROR_SUCCESS)
        std::abort();
    return 0;
}
