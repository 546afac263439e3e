#pragma once
// A pixel surface: what bitmaps own, what the desktop framebuffer is, and what every DC
// draws into. Two formats exist:
//   Bgrx32  32 bits a pixel, one uint32_t 0xXXRRGGBB (bytes B, G, R, X in memory); the
//           X (alpha) byte is left 0 by drawing and copied only by SRCCOPY-like blits
//           and by AlphaBlend sources written through a DIB section's bits.
//   Mono1   1 bit a pixel, most significant bit first, with a 2-entry colour table
//           (black and white for device bitmaps; a DIB section's own table otherwise).
// Rows are addressed top-down: Row(0) is the top row. The stride is in bytes and may be
// negative, so a bottom-up DIB section can share its memory with the surface.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

enum class PixelFormat : uint8_t { Bgrx32, Mono1 };

class Surface {
public:
    // The largest surface we allocate, in bytes (a 600-DPI page of A3 fits).
    static constexpr size_t kMaxBytes = size_t(768) << 20;

    // A zero-filled surface (black; index 0 for mono). Null for non-positive or
    // oversized dimensions.
    static std::shared_ptr<Surface> Create(int width, int height, PixelFormat format);
    // A surface over memory kept alive by `keepAlive`: `firstRow` is the top row and
    // `stride` the byte step to the next row down (negative for bottom-up memory).
    static std::shared_ptr<Surface> Wrap(int width, int height, PixelFormat format, uint8_t* firstRow,
        ptrdiff_t stride, std::shared_ptr<void> keepAlive);

    // Bytes of one row as allocated by Create (DWORD aligned).
    static size_t RowBytesFor(int width, PixelFormat format);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    ptrdiff_t Stride() const { return m_stride; }
    PixelFormat Format() const { return m_format; }
    bool IsMono() const { return m_format == PixelFormat::Mono1; }
    int BitsPerPixel() const { return IsMono() ? 1 : 32; }
    RECT Bounds() const { return RECT{0, 0, m_width, m_height}; }

    uint8_t* Row(int y) { return m_first + static_cast<ptrdiff_t>(y) * m_stride; }
    const uint8_t* Row(int y) const { return m_first + static_cast<ptrdiff_t>(y) * m_stride; }
    uint32_t* Row32(int y) { return reinterpret_cast<uint32_t*>(Row(y)); }
    const uint32_t* Row32(int y) const { return reinterpret_cast<const uint32_t*>(Row(y)); }

    // Raw pixel access (no bounds check): 0xXXRRGGBB for Bgrx32, 0 or 1 for Mono1.
    uint32_t GetRaw(int x, int y) const
    {
        if (IsMono())
            return (Row(y)[x >> 3] >> (7 - (x & 7))) & 1u;
        return Row32(y)[x];
    }
    void SetRaw(int x, int y, uint32_t v)
    {
        if (IsMono()) {
            uint8_t& b = Row(y)[x >> 3];
            const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
            b = (v & 1u) ? static_cast<uint8_t>(b | bit) : static_cast<uint8_t>(b & ~bit);
        } else {
            Row32(y)[x] = v;
        }
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // The colour table of a Mono1 surface (index 0 and 1), as COLORREF.
    COLORREF PaletteColor(int index) const { return m_palette[index & 1]; }
    void SetPalette(COLORREF c0, COLORREF c1)
    {
        m_palette[0] = c0 & 0xFFFFFFu;
        m_palette[1] = c1 & 0xFFFFFFu;
    }

    // Sets every pixel to `raw`.
    void Clear(uint32_t raw);

private:
    Surface(int w, int h, PixelFormat f, uint8_t* first, ptrdiff_t stride, std::shared_ptr<void> keep);

    int m_width;
    int m_height;
    PixelFormat m_format;
    uint8_t* m_first;
    ptrdiff_t m_stride;
    std::shared_ptr<void> m_keep;
    COLORREF m_palette[2] = {0x000000, 0xFFFFFF};
};

// ---- colour <-> pixel ------------------------------------------------------------------
// COLORREF (0x00BBGGRR) to a Bgrx32 pixel (0x00RRGGBB) and back.
constexpr uint32_t ColorToBgrx(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF BgrxToColor(uint32_t p)
{
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
// The 20 entries of the default palette, the one palette every DC has: the 16 colours
// of the classic VGA set (entries 0-7 and 12-19) and four more in the middle.
inline constexpr COLORREF kDefaultPalette[20] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, // black .. light grey
    0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0,                                         // the four extra
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, // dark grey .. white
};
// The colour a COLORREF names: PALETTEINDEX(n) (high byte 1) is entry n of the default
// palette (an index past its end names entry 0), PALETTERGB (high byte 2) and any other
// value are the low 24 bits.
constexpr COLORREF PlainColor(COLORREF c)
{
    if ((c >> 24) == 0x01) {
        const COLORREF index = c & 0xFFFFu;
        return index < 20 ? kDefaultPalette[index] : kDefaultPalette[0];
    }
    return c & 0xFFFFFFu;
}

// The colour-table index nearest to `c` (squared RGB distance; a tie picks index 1, so
// mid-grey 0x808080 maps to white on a black/white table).
uint32_t NearestMonoIndex(COLORREF c, COLORREF c0, COLORREF c1);

// A colour as a raw pixel of `s`: Bgrx32 packs it; Mono1 takes the nearest table entry.
uint32_t ColorToPixel(const Surface& s, COLORREF c);
// A raw pixel of `s` as a COLORREF (Mono1: the table entry).
COLORREF PixelToColor(const Surface& s, uint32_t raw);

// The blit conversion rules between colour and mono surfaces:
//   to mono:   a source pixel equal to the source DC's background colour gives 1, else 0;
//   from mono: 0 gives the destination DC's text colour, 1 its background colour.
constexpr uint32_t MonoFromColor(COLORREF pixel, COLORREF srcBk)
{
    return PlainColor(pixel) == PlainColor(srcBk) ? 1u : 0u;
}
constexpr COLORREF ColorFromMono(uint32_t bit, COLORREF dstText, COLORREF dstBk)
{
    return (bit & 1u) ? PlainColor(dstBk) : PlainColor(dstText);
}

} // namespace zyn::gdi
