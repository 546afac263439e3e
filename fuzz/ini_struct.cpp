// Fuzz target: structures kept in INI files (GetPrivateProfileStruct). The first byte is
// the structure size asked for, the rest is the INI file. A read succeeds exactly when
// the key's value is two hex digits per byte plus a checksum byte (the sum of the bytes)
// and fills the structure with those bytes and nothing past it; otherwise it fails and
// leaves the structure as it was. A structure written reads back the same, and the write
// leaves the other keys of the file as they read before.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_env.h"
#include "platform/base/inifile.h"

namespace {

constexpr uint8_t kFill = 0xA5;
constexpr size_t kGuard = 8;

int Hex(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The bytes a value stands for, when it is a sound structure of `size` bytes.
std::optional<std::vector<uint8_t>> Decode(const std::wstring& value, size_t size)
{
    if (value.size() != 2 * (size + 1))
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < value.size(); i += 2) {
        const int hi = Hex(value[i]), lo = Hex(value[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += bytes[i];
    if ((sum & 0xFF) != bytes.back())
        return std::nullopt;
    bytes.pop_back();
    return bytes;
}

std::wstring Get(const wchar_t* section, const wchar_t* key, const std::wstring& file)
{
    std::wstring buf(70000, L'\0');
    const DWORD n = GetPrivateProfileStringW(section, key, L"\x01missing", buf.data(),
        static_cast<DWORD>(buf.size()), file.c_str());
    buf.resize(n);
    return buf;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zyn::fuzz::FuzzRoot();
    if (size == 0)
        return 0;
    const size_t structSize = data[0];
    const auto path = zyn::fuzz::WriteScratch("struct.ini", data + 1, size - 1);
    const std::wstring file = path.wstring();

    // What the plain string reader sees is the reference for the structure reader.
    const std::wstring value = Get(L"S", L"K", file);
    const auto want = value == L"\x01missing" ? std::nullopt : Decode(value, structSize);
    std::vector<uint8_t> buf(structSize + kGuard, kFill);
    const BOOL ok = GetPrivateProfileStructW(L"S", L"K", buf.data(), static_cast<UINT>(structSize), file.c_str());
    // The string reader takes the quotes off a quoted value; the structure reader reads
    // the value as written (a structure is never written quoted). With quotes in the file
    // only a structure the string reader would refuse is certain to be refused.
    const bool quotes = std::find_if(data + 1, data + size, [](uint8_t c) { return c == '"' || c == '\''; }) != data + size;
    if (ok ? !want : (want && !quotes))
        std::abort();
    for (size_t i = 0; i < buf.size(); ++i) {
        const uint8_t expected = (ok && i < structSize) ? (*want)[i] : kFill;
        if (buf[i] != expected)
            std::abort();
    }

    // A structure written reads back; the other keys of the section are as they were.
    const std::wstring other = Get(L"S", L"Other", file);
    std::vector<uint8_t> written(structSize + 1); // never empty: a null structure deletes the key
    for (size_t i = 0; i < structSize; ++i)
        written[i] = static_cast<uint8_t>(data[(i % size)] * 31 + i);
    if (!WritePrivateProfileStructW(L"S", L"K", written.data(), static_cast<UINT>(structSize), file.c_str()))
        std::abort();
    std::vector<uint8_t> back(structSize + kGuard, kFill);
    if (!GetPrivateProfileStructW(L"S", L"K", back.data(), static_cast<UINT>(structSize), file.c_str()) ||
        !std::equal(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(structSize), back.begin()) || Get(L"S", L"Other", file) != other)
        std::abort();
    return 0;
}
