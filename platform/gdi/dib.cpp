#include "platform/gdi/dib.h"

#include <bit>
#include <cstring>

#include "platform/base/lasterror.h"

namespace zyn::gdi {

namespace {

RGBQUAD Quad(BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; }
COLORREF QuadColor(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

struct Channel {
    DWORD mask = 0;
    int shift = 0;
    uint32_t max = 0;
};

Channel ChannelOf(DWORD mask)
{
    Channel c;
    c.mask = mask;
    if (!mask)
        return c;
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    return c;
}

bool Contiguous(DWORD mask)
{
    if (!mask)
        return false;
    const DWORD m = mask >> std::countr_zero(mask);
    return (m & (m + 1)) == 0;
}

BYTE Extract(uint32_t v, const Channel& c)
{
    if (!c.max)
        return 0;
    const uint32_t x = (v & c.mask) >> c.shift;
    return static_cast<BYTE>((x * 255 + c.max / 2) / c.max);
}

uint32_t Insert(BYTE v, const Channel& c)
{
    if (!c.max)
        return 0;
    const uint32_t x = (static_cast<uint32_t>(v) * c.max + 127) / 255;
    return (x << c.shift) & c.mask;
}

bool StandardMasks32(const DibFormat& f)
{
    return f.masks[0] == 0xFF0000u && f.masks[1] == 0xFF00u && f.masks[2] == 0xFFu;
}

} // namespace

size_t DibStride(int width, int bpp)
{
    return ((static_cast<size_t>(width) * static_cast<size_t>(bpp) + 31) / 32) * 4;
}

std::vector<RGBQUAD> DefaultColorTable(int bpp)
{
    std::vector<RGBQUAD> t;
    if (bpp == 1) {
        t = {Quad(0, 0, 0), Quad(255, 255, 255)};
    } else if (bpp == 4) {
        t = {Quad(0, 0, 0), Quad(128, 0, 0), Quad(0, 128, 0), Quad(128, 128, 0), Quad(0, 0, 128), Quad(128, 0, 128),
            Quad(0, 128, 128), Quad(128, 128, 128), Quad(192, 192, 192), Quad(255, 0, 0), Quad(0, 255, 0),
            Quad(255, 255, 0), Quad(0, 0, 255), Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
    } else if (bpp == 8) {
        // The 20 static colours first (10 low, 10 high), then a 6x6x6 cube, then greys.
        t = {Quad(0, 0, 0), Quad(128, 0, 0), Quad(0, 128, 0), Quad(128, 128, 0), Quad(0, 0, 128), Quad(128, 0, 128),
            Quad(0, 128, 128), Quad(192, 192, 192), Quad(192, 220, 192), Quad(166, 202, 240)};
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    t.push_back(Quad(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51)));
        for (int i = 1; t.size() < 246; ++i)
            t.push_back(Quad(static_cast<BYTE>(i * 9), static_cast<BYTE>(i * 9), static_cast<BYTE>(i * 9)));
        const RGBQUAD high[10] = {Quad(255, 251, 240), Quad(160, 160, 164), Quad(128, 128, 128), Quad(255, 0, 0),
            Quad(0, 255, 0), Quad(255, 255, 0), Quad(0, 0, 255), Quad(255, 0, 255), Quad(0, 255, 255),
            Quad(255, 255, 255)};
        t.insert(t.end(), high, high + 10);
    }
    return t;
}

std::optional<DibFormat> ParseDib(const BITMAPINFO* bmi, UINT usage, bool needColors)
{
    auto fail = [] {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    };
    if (!bmi)
        return fail();
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 124 || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT32_MIN || h.biPlanes != 1)
        return fail();
    DibFormat f;
    f.width = h.biWidth;
    f.height = h.biHeight > 0 ? h.biHeight : -h.biHeight;
    f.bottomUp = h.biHeight > 0;
    f.bpp = h.biBitCount;
    f.compression = h.biCompression;
    switch (f.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail();
    }
    if (f.compression != BI_RGB && !(f.compression == BI_BITFIELDS && (f.bpp == 16 || f.bpp == 32)))
        return fail();
    f.stride = DibStride(f.width, f.bpp);
    if (f.stride > Surface::kMaxBytes / static_cast<size_t>(f.height))
        return fail();
    const auto* after = reinterpret_cast<const uint8_t*>(bmi) + h.biSize;
    if (f.compression == BI_BITFIELDS) {
        const auto* m = h.biSize >= 52 ? reinterpret_cast<const uint8_t*>(bmi) + 40 : after;
        std::memcpy(f.masks, m, sizeof f.masks);
        for (DWORD mask : f.masks)
            if (!Contiguous(mask))
                return fail();
    } else if (f.bpp == 16) {
        f.masks[0] = 0x7C00;
        f.masks[1] = 0x03E0;
        f.masks[2] = 0x001F;
    } else if (f.bpp == 32) {
        f.masks[0] = 0xFF0000;
        f.masks[1] = 0x00FF00;
        f.masks[2] = 0x0000FF;
    }
    if (f.bpp <= 8) {
        const size_t full = size_t(1) << f.bpp;
        if (h.biClrUsed > full)
            return fail();
        const size_t n = h.biClrUsed ? h.biClrUsed : full;
        f.colors.assign(full, RGBQUAD{0, 0, 0, 0});
        if (needColors) {
            if (usage == DIB_RGB_COLORS) {
                std::memcpy(f.colors.data(), after, n * sizeof(RGBQUAD));
            } else if (usage == DIB_PAL_COLORS) {
                const std::vector<RGBQUAD> pal = DefaultColorTable(8);
                for (size_t i = 0; i < n; ++i) {
                    WORD idx;
                    std::memcpy(&idx, after + i * 2, 2);
                    f.colors[i] = pal[idx % pal.size()];
                }
            } else {
                return fail();
            }
        } else {
            f.colors = DefaultColorTable(f.bpp);
        }
        for (auto& q : f.colors)
            q.rgbReserved = 0;
    }
    return f;
}

uint32_t DibFormat::NearestIndex(COLORREF c) const
{
    uint32_t best = 0;
    int bestD = INT32_MAX;
    for (size_t i = 0; i < colors.size(); ++i) {
        const int dr = int(colors[i].rgbRed) - int(GetRValue(c));
        const int dg = int(colors[i].rgbGreen) - int(GetGValue(c));
        const int db = int(colors[i].rgbBlue) - int(GetBValue(c));
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = static_cast<uint32_t>(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

COLORREF DibFormat::Pixel(const uint8_t* row, int x) const
{
    switch (bpp) {
    case 1: return QuadColor(colors[(row[x >> 3] >> (7 - (x & 7))) & 1]);
    case 4: return QuadColor(colors[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]);
    case 8: return QuadColor(colors[row[x]]);
    case 16: {
        const uint32_t v = row[2 * x] | (uint32_t(row[2 * x + 1]) << 8);
        return RGB(Extract(v, ChannelOf(masks[0])), Extract(v, ChannelOf(masks[1])), Extract(v, ChannelOf(masks[2])));
    }
    case 24: return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 32: {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        if (StandardMasks32(*this))
            return BgrxToColor(v & 0xFFFFFFu);
        return RGB(Extract(v, ChannelOf(masks[0])), Extract(v, ChannelOf(masks[1])), Extract(v, ChannelOf(masks[2])));
    }
    default: return 0;
    }
}

void DibFormat::SetPixel(uint8_t* row, int x, COLORREF c) const
{
    c = PlainColor(c);
    switch (bpp) {
    case 1: {
        const uint8_t m = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = NearestIndex(c) ? static_cast<uint8_t>(row[x >> 3] | m) : static_cast<uint8_t>(row[x >> 3] & ~m);
        break;
    }
    case 4: {
        const uint8_t i = static_cast<uint8_t>(NearestIndex(c));
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | i) : static_cast<uint8_t>((b & 0x0F) | (i << 4));
        break;
    }
    case 8: row[x] = static_cast<uint8_t>(NearestIndex(c)); break;
    case 16: {
        const uint32_t v = Insert(GetRValue(c), ChannelOf(masks[0])) | Insert(GetGValue(c), ChannelOf(masks[1])) |
            Insert(GetBValue(c), ChannelOf(masks[2]));
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
    }
    case 24:
        row[3 * x] = GetBValue(c);
        row[3 * x + 1] = GetGValue(c);
        row[3 * x + 2] = GetRValue(c);
        break;
    case 32: {
        const uint32_t v = StandardMasks32(*this) ? ColorToBgrx(c)
                                                  : Insert(GetRValue(c), ChannelOf(masks[0])) |
                Insert(GetGValue(c), ChannelOf(masks[1])) | Insert(GetBValue(c), ChannelOf(masks[2]));
        std::memcpy(row + 4 * x, &v, 4);
        break;
    }
    default: break;
    }
}

void DibToSurface(const DibFormat& fmt, const uint8_t* bits, int startScan, int lines, Surface& dst)
{
    const int w = std::min(fmt.width, dst.Width());
    const bool raw32 = fmt.bpp == 32 && StandardMasks32(fmt) && !dst.IsMono();
    for (int i = 0; i < lines; ++i) {
        const int scan = startScan + i;
        if (scan < 0 || scan >= fmt.height)
            continue;
        const int y = fmt.RowOfScan(scan);
        if (y >= dst.Height())
            continue;
        const uint8_t* src = bits + static_cast<size_t>(i) * fmt.stride;
        if (raw32) {
            std::memcpy(dst.Row(y), src, static_cast<size_t>(w) * 4); // keeps the alpha byte
            continue;
        }
        if (dst.IsMono() && fmt.bpp == 1) {
            // Map the two table colours once.
            const uint32_t v0 = ColorToPixel(dst, QuadColor(fmt.colors[0]));
            const uint32_t v1 = ColorToPixel(dst, QuadColor(fmt.colors[1]));
            for (int x = 0; x < w; ++x)
                dst.SetRaw(x, y, ((src[x >> 3] >> (7 - (x & 7))) & 1) ? v1 : v0);
            continue;
        }
        for (int x = 0; x < w; ++x)
            dst.SetRaw(x, y, ColorToPixel(dst, fmt.Pixel(src, x)));
    }
}

void SurfaceToDib(const Surface& src, const DibFormat& fmt, uint8_t* bits, int startScan, int lines)
{
    const int w = std::min(fmt.width, src.Width());
    const bool raw32 = fmt.bpp == 32 && StandardMasks32(fmt) && !src.IsMono();
    COLORREF lastColor = CLR_INVALID;
    uint32_t lastIndex = 0;
    for (int i = 0; i < lines; ++i) {
        const int scan = startScan + i;
        if (scan < 0 || scan >= fmt.height)
            continue;
        const int y = fmt.RowOfScan(scan);
        if (y >= src.Height())
            continue;
        uint8_t* dst = bits + static_cast<size_t>(i) * fmt.stride;
        if (raw32) {
            std::memcpy(dst, src.Row(y), static_cast<size_t>(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const COLORREF c = PixelToColor(src, src.GetRaw(x, y));
            if (fmt.bpp == 8) { // the common palette case, with a one-entry cache
                if (c != lastColor) {
                    lastColor = c;
                    lastIndex = fmt.NearestIndex(c);
                }
                dst[x] = static_cast<uint8_t>(lastIndex);
                continue;
            }
            fmt.SetPixel(dst, x, c);
        }
    }
}

std::shared_ptr<Surface> SurfaceFromDib(const DibFormat& fmt, const uint8_t* bits, int startScan, int lines)
{
    auto s = Surface::Create(fmt.width, fmt.height, PixelFormat::Bgrx32);
    if (!s) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    DibToSurface(fmt, bits, startScan, lines, *s);
    return s;
}

} // namespace zyn::gdi
