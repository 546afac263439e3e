#pragma once
// Byte builders of the shortcut-bar tests, written from the documented layouts rather than
// with the code under test: UTF-16LE text with its zero unit, little-endian 32-bit fields,
// image records, and image-list streams (the "ZIML" layout of platform/gdi/imagelist.h).
#include <cstdint>
#include <string>
#include <vector>

namespace shbtest {

using Bytes = std::vector<uint8_t>;

inline void Append32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Text of Basic Multilingual Plane characters (and surrogate pairs given as two units).
inline Bytes Utf16Z(const std::u16string& units)
{
    Bytes b;
    for (char16_t u : units) {
        b.push_back(static_cast<uint8_t>(u & 0xFF));
        b.push_back(static_cast<uint8_t>(u >> 8));
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}

inline Bytes Utf16Z(const std::wstring& text)
{
    std::u16string units;
    for (wchar_t c : text) {
        const auto cp = static_cast<uint32_t>(c);
        if (cp >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    return Utf16Z(units);
}

// An image record with reserved 0.
inline void AppendRecord(Bytes& b, uint32_t kind, const Bytes& stream)
{
    Append32(b, 0);
    Append32(b, kind);
    Append32(b, static_cast<uint32_t>(stream.size()));
    b.insert(b.end(), stream.begin(), stream.end());
}

// An image-list stream as the platform writes one: count images of cx x cy, growth 1, no
// background colour, 15 overlay slots all -1 (none); pixels as 0x00RRGGBB (stored B, G, R, 0), image after image; with ILC_MASK
// (flags bit 0) the mask rows of every image follow its pixels, (cx + 7) / 8 bytes a row.
inline Bytes ZimlStream(int cx, int cy, uint32_t flags, const std::vector<uint32_t>& pixels,
    const Bytes& maskRows = {}, int count = 1)
{
    Bytes b{'Z', 'I', 'M', 'L', 1, 0, 28, 0};
    Append32(b, static_cast<uint32_t>(cx));
    Append32(b, static_cast<uint32_t>(cy));
    Append32(b, flags);
    Append32(b, static_cast<uint32_t>(count));
    Append32(b, 1);
    Append32(b, 0xFFFFFFFF);
    Append32(b, 15);
    for (int i = 0; i < 15; ++i)
        Append32(b, 0xFFFFFFFF);
    const size_t perImage = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    const size_t maskPerImage = static_cast<size_t>((cx + 7) / 8) * static_cast<size_t>(cy);
    for (int i = 0; i < count; ++i) {
        b.push_back(0);
        for (size_t p = 0; p < perImage; ++p)
            Append32(b, pixels.at(static_cast<size_t>(i) * perImage + p));
        if (flags & 1)
            for (size_t m = 0; m < maskPerImage; ++m)
                b.push_back(maskRows.at(static_cast<size_t>(i) * maskPerImage + m));
    }
    return b;
}

} // namespace shbtest
