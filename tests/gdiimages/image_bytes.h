#pragma once
// Hand-written image files for the tests: BMP files and packed DIBs, icon images, ICO
// files and icon-group resources, built byte by byte from the published layouts (never
// through the code under test).
#include <cstdint>
#include <functional>
#include <vector>

namespace zyn::test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Set32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Pixel source: for indexed depths the colour index, for 16 bits the raw 16-bit word,
// for 24/32 bits 0xAARRGGBB.
using PixelFn = std::function<uint32_t(int x, int y)>;

struct DibSpec {
    int width = 4;
    int height = 2;              // rows; the sign of biHeight comes from topDown
    bool topDown = false;
    int bpp = 24;
    std::vector<uint32_t> palette; // 0x00RRGGBB entries (indexed depths)
    uint32_t compression = 0;      // BI_RGB
    std::vector<uint32_t> masks;   // bit fields (appended after a 40-byte header)
    int rowsStored = -1;           // rows of pixel data written (default: height)
    uint32_t headerHeight = 0;     // override of biHeight (icons: double)
};

// A packed DIB: BITMAPINFOHEADER (40 bytes), masks, colour table, pixel rows.
inline Bytes PackedDib(const DibSpec& s, const PixelFn& px)
{
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(s.width));
    const int32_t h = s.headerHeight ? static_cast<int32_t>(s.headerHeight) : (s.topDown ? -s.height : s.height);
    Put32(b, static_cast<uint32_t>(h));
    Put16(b, 1);
    Put16(b, static_cast<uint32_t>(s.bpp));
    Put32(b, s.compression);
    Put32(b, 0);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<uint32_t>(s.palette.size()));
    Put32(b, 0);
    for (uint32_t m : s.masks)
        Put32(b, m);
    for (uint32_t c : s.palette)
        Put32(b, c & 0xFFFFFFu); // B, G, R, 0 in memory
    const size_t stride = ((static_cast<size_t>(s.width) * s.bpp + 31) / 32) * 4;
    const int rows = s.rowsStored >= 0 ? s.rowsStored : s.height;
    for (int scan = 0; scan < rows; ++scan) {
        const int y = s.topDown ? scan : s.height - 1 - scan;
        Bytes row(stride, 0);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = px(x, y);
            switch (s.bpp) {
            case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= static_cast<uint8_t>((v & 0xF) << (x % 2 ? 0 : 4)); break;
            case 8: row[x] = static_cast<uint8_t>(v); break;
            case 16: row[2 * x] = static_cast<uint8_t>(v); row[2 * x + 1] = static_cast<uint8_t>(v >> 8); break;
            case 24:
                row[3 * x] = static_cast<uint8_t>(v);
                row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(v >> 16);
                break;
            default:
                for (int k = 0; k < 4; ++k)
                    row[4 * x + k] = static_cast<uint8_t>(v >> (8 * k));
                break;
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// A BMP file: BITMAPFILEHEADER then the packed DIB, bfOffBits just past the table.
inline Bytes BmpFile(const DibSpec& s, const PixelFn& px)
{
    const Bytes dib = PackedDib(s, px);
    const uint32_t table = 40 + 4 * static_cast<uint32_t>(s.masks.size() + s.palette.size());
    Bytes b = {'B', 'M'};
    Put32(b, static_cast<uint32_t>(14 + dib.size()));
    Put16(b, 0);
    Put16(b, 0);
    Put32(b, 14 + table);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

// An icon image: a packed DIB of twice the height (colour rows, then a 1-bit AND mask).
inline Bytes IconDib(int w, int h, int bpp, const std::vector<uint32_t>& palette, const PixelFn& color,
    const std::function<int(int, int)>& mask)
{
    DibSpec s;
    s.width = w;
    s.height = h;
    s.bpp = bpp;
    s.palette = palette;
    s.headerHeight = static_cast<uint32_t>(2 * h);
    Bytes b = PackedDib(s, color);
    const size_t stride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    for (int scan = 0; scan < h; ++scan) {
        const int y = h - 1 - scan;
        Bytes row(stride, 0);
        for (int x = 0; x < w; ++x)
            row[x / 8] |= static_cast<uint8_t>((mask(x, y) & 1) << (7 - x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

struct IconEntrySpec {
    int width;
    int height;
    int bpp;
    Bytes image;
    uint16_t hotX = 0, hotY = 0; // cursors
};

// An ICO (type 1) or CUR (type 2) file.
inline Bytes IconFile(const std::vector<IconEntrySpec>& entries, int type = 1)
{
    Bytes b;
    Put16(b, 0);
    Put16(b, static_cast<uint32_t>(type));
    Put16(b, static_cast<uint32_t>(entries.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
    for (const auto& e : entries) {
        b.push_back(static_cast<uint8_t>(e.width == 256 ? 0 : e.width));
        b.push_back(static_cast<uint8_t>(e.height == 256 ? 0 : e.height));
        b.push_back(0);
        b.push_back(0);
        if (type == 2) {
            Put16(b, e.hotX);
            Put16(b, e.hotY);
        } else {
            Put16(b, 1);
            Put16(b, static_cast<uint32_t>(e.bpp));
        }
        Put32(b, static_cast<uint32_t>(e.image.size()));
        Put32(b, offset);
        offset += static_cast<uint32_t>(e.image.size());
    }
    for (const auto& e : entries)
        b.insert(b.end(), e.image.begin(), e.image.end());
    return b;
}

// An RT_GROUP_ICON resource naming RT_ICON images by id.
inline Bytes IconGroup(const std::vector<IconEntrySpec>& entries, const std::vector<uint16_t>& ids)
{
    Bytes b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        b.push_back(static_cast<uint8_t>(e.width));
        b.push_back(static_cast<uint8_t>(e.height));
        b.push_back(0);
        b.push_back(0);
        Put16(b, 1);
        Put16(b, static_cast<uint32_t>(e.bpp));
        Put32(b, static_cast<uint32_t>(e.image.size()));
        Put16(b, ids[i]);
    }
    return b;
}

// An RT_GROUP_CURSOR resource (heights stored doubled).
inline Bytes CursorGroup(const std::vector<IconEntrySpec>& entries, const std::vector<uint16_t>& ids)
{
    Bytes b;
    Put16(b, 0);
    Put16(b, 2);
    Put16(b, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        Put16(b, static_cast<uint32_t>(e.width));
        Put16(b, static_cast<uint32_t>(2 * e.height));
        Put16(b, 1);
        Put16(b, static_cast<uint32_t>(e.bpp));
        Put32(b, static_cast<uint32_t>(e.image.size() + 4));
        Put16(b, ids[i]);
    }
    return b;
}

} // namespace zyn::test
