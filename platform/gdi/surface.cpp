#include "platform/gdi/surface.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zyn::gdi {

size_t Surface::RowBytesFor(int width, PixelFormat format)
{
    if (width <= 0)
        return 0;
    if (format == PixelFormat::Mono1)
        return ((static_cast<size_t>(width) + 31) / 32) * 4;
    return static_cast<size_t>(width) * 4;
}

Surface::Surface(int w, int h, PixelFormat f, uint8_t* first, ptrdiff_t stride, std::shared_ptr<void> keep)
    : m_width(w), m_height(h), m_format(f), m_first(first), m_stride(stride), m_keep(std::move(keep))
{
}

std::shared_ptr<Surface> Surface::Create(int width, int height, PixelFormat format)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const size_t row = RowBytesFor(width, format);
    if (row > kMaxBytes / static_cast<size_t>(height))
        return nullptr;
    const size_t bytes = row * static_cast<size_t>(height);
    std::shared_ptr<uint8_t[]> mem(new (std::nothrow) uint8_t[bytes]());
    if (!mem)
        return nullptr;
    uint8_t* first = mem.get();
    return std::shared_ptr<Surface>(
        new Surface(width, height, format, first, static_cast<ptrdiff_t>(row), std::shared_ptr<void>(mem, first)));
}

std::shared_ptr<Surface> Surface::Wrap(int width, int height, PixelFormat format, uint8_t* firstRow, ptrdiff_t stride,
    std::shared_ptr<void> keepAlive)
{
    if (width <= 0 || height <= 0 || !firstRow)
        return nullptr;
    const size_t need = RowBytesFor(width, format);
    const size_t have = static_cast<size_t>(stride < 0 ? -stride : stride);
    if (have < need)
        return nullptr;
    return std::shared_ptr<Surface>(new Surface(width, height, format, firstRow, stride, std::move(keepAlive)));
}

void Surface::Clear(uint32_t raw)
{
    for (int y = 0; y < m_height; ++y) {
        if (IsMono()) {
            std::memset(Row(y), (raw & 1u) ? 0xFF : 0x00, RowBytesFor(m_width, m_format));
        } else {
            uint32_t* row = Row32(y);
            std::fill(row, row + m_width, raw);
        }
    }
}

uint32_t NearestMonoIndex(COLORREF c, COLORREF c0, COLORREF c1)
{
    auto dist = [](COLORREF a, COLORREF b) {
        const int dr = int(GetRValue(a)) - int(GetRValue(b));
        const int dg = int(GetGValue(a)) - int(GetGValue(b));
        const int db = int(GetBValue(a)) - int(GetBValue(b));
        return dr * dr + dg * dg + db * db;
    };
    const COLORREF p = PlainColor(c);
    return dist(p, c1) <= dist(p, c0) ? 1u : 0u;
}

uint32_t ColorToPixel(const Surface& s, COLORREF c)
{
    if (s.IsMono())
        return NearestMonoIndex(c, s.PaletteColor(0), s.PaletteColor(1));
    return ColorToBgrx(PlainColor(c));
}

COLORREF PixelToColor(const Surface& s, uint32_t raw)
{
    if (s.IsMono())
        return s.PaletteColor(static_cast<int>(raw & 1u));
    return BgrxToColor(raw & 0xFFFFFFu);
}

} // namespace zyn::gdi
