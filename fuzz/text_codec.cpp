// Decodes arbitrary bytes as UTF-8, UTF-16LE and each supported code page, and checks
// that what decodes cleanly encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/codepage.h"
#include "platform/base/utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zyn::base;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    bool ok = false;
    const std::wstring fromUtf8 = FromUtf8(bytes, &ok);
    if (ok && ToUtf8(fromUtf8) != bytes)
        std::abort();
    bool encOk = false;
    if (FromUtf8(ToUtf8(fromUtf8, &encOk)) != fromUtf8 || !encOk)
        std::abort();

    const std::wstring fromUtf16 = FromUtf16LE(std::span<const uint8_t>(data, size), &ok);
    if (ok) {
        const auto back = ToUtf16LE(fromUtf16);
        if (back.size() != size || !std::equal(back.begin(), back.end(), data))
            std::abort();
    }
    if (Utf16Length(fromUtf16) != ToUtf16(fromUtf16).size())
        std::abort();

    for (const UINT cp : {1252u, 28591u, 437u, 65001u}) {
        const std::wstring wide = AnsiToWide(bytes, cp);
        if (cp != 65001u && WideToAnsi(wide, cp) != bytes)
            std::abort(); // every single-byte page round-trips every byte
        if (size > 0 && size < 4096) {
            const int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(size), nullptr, 0);
            if (n != static_cast<int>(wide.size()))
                std::abort();
            const int m = WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
            if (wide.size() > 0 && m <= 0)
                std::abort();
        }
    }
    return 0;
}
