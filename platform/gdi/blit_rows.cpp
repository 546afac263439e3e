// Unstretched blits and fills through the rop row kernels (see blit_rows.h).
#include "platform/gdi/blit_rows.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/gdi/rop_rows.h"

namespace zyn::gdi {

namespace {

// Bits [x0, x0 + n) of a mono row as words: `zero` for a 0 bit, `one` for a 1 bit.
// Whole bytes go eight pixels at a time.
void UnpackMono(const uint8_t* row, int x0, size_t n, uint32_t* out, uint32_t zero = 0u, uint32_t one = 1u)
{
    const uint32_t diff = zero ^ one;
    auto pick = [&](uint32_t bit) { return zero ^ (diff & (0u - bit)); };
    size_t i = 0, x = static_cast<size_t>(x0);
    for (; i < n && (x & 7); ++i, ++x)
        out[i] = pick((row[x >> 3] >> (7 - (x & 7))) & 1u);
    for (; i + 8 <= n; i += 8, x += 8) {
        const uint32_t b = row[x >> 3];
        for (unsigned k = 0; k < 8; ++k)
            out[i + k] = pick((b >> (7 - k)) & 1u);
    }
    for (; i < n; ++i, ++x)
        out[i] = pick((row[x >> 3] >> (7 - (x & 7))) & 1u);
}

// Words of 0 and 1 back into bits [x0, x0 + n) of a mono row.
void PackMono(uint8_t* row, int x0, size_t n, const uint32_t* in)
{
    auto put = [&](size_t x, uint32_t v) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = (v & 1u) ? static_cast<uint8_t>(row[x >> 3] | bit) : static_cast<uint8_t>(row[x >> 3] & ~bit);
    };
    size_t i = 0, x = static_cast<size_t>(x0);
    for (; i < n && (x & 7); ++i, ++x)
        put(x, in[i]);
    for (; i + 8 <= n; i += 8, x += 8) {
        uint32_t b = 0;
        for (unsigned k = 0; k < 8; ++k)
            b |= (in[i + k] & 1u) << (7 - k);
        row[x >> 3] = static_cast<uint8_t>(b);
    }
    for (; i < n; ++i, ++x)
        put(x, in[i]);
}

// Source pixels [sx, sx + n) of row sy converted for the destination; returns the
// row to read (the source itself when nothing converts).
const uint32_t* SourceRow(const Surface& src, int sx, int sy, size_t n, const Converter& conv, uint32_t* buf)
{
    if (!src.IsMono()) {
        const uint32_t* in = src.Row32(sy) + sx;
        switch (conv.kind) {
        case Converter::Kind::Same: return in;
        case Converter::Kind::ColorToMono: {
            const uint32_t bk = conv.srcBkRaw;
            for (size_t i = 0; i < n; ++i)
                buf[i] = (in[i] & 0xFFFFFFu) == bk ? 1u : 0u;
            return buf;
        }
        default:
            for (size_t i = 0; i < n; ++i)
                buf[i] = conv(in[i]);
            return buf;
        }
    }
    if (conv.kind == Converter::Kind::MonoToColor)
        UnpackMono(src.Row(sy), sx, n, buf, conv.fore, conv.back);
    else
        UnpackMono(src.Row(sy), sx, n, buf);
    return buf;
}

// Row buffers sized for the widest span of one call.
struct Buffers {
    explicit Buffers(size_t n) : s(n), p(n), d(n) {}
    std::vector<uint32_t> s, p, d;
};

// Runs the kernel over destination row y, pixels [x, x + n) (surface coordinates).
void CombineRow(Surface& d, int x, int y, size_t n, const uint32_t* srow, const BrushSampler& brush, bool usesP,
    uint8_t t, RopRowFn kernel, Buffers& buf)
{
    RopRow row;
    row.s = srow;
    row.n = n;
    row.table = t;
    if (usesP) {
        if (brush.IsSolid()) {
            row.pConst = brush.SolidPixel();
        } else {
            brush.Row(x, y, n, buf.p.data());
            row.p = buf.p.data();
        }
    }
    if (d.IsMono()) {
        UnpackMono(d.Row(y), x, n, buf.d.data());
        row.d = buf.d.data();
        row.mask = 1u;
        kernel(row);
        PackMono(d.Row(y), x, n, buf.d.data());
    } else {
        row.d = d.Row32(y) + x;
        row.mask = 0xFFFFFFu;
        kernel(row);
    }
}

} // namespace

void CombineColorRow(Surface& d, int x, int y, size_t n, const uint32_t* srow, const BrushSampler& brush, uint8_t t,
    uint32_t* pattern)
{
    RopRow row;
    row.s = srow;
    row.n = n;
    row.table = t;
    if (RopUsesPattern(t)) {
        if (brush.IsSolid()) {
            row.pConst = brush.SolidPixel();
        } else {
            brush.Row(x, y, n, pattern);
            row.p = pattern;
        }
    }
    row.d = d.Row32(y) + x;
    row.mask = 0xFFFFFFu;
    RopRowKernel(t)(row);
}

Converter MakeConverter(const Dc& dst, const Surface& src, COLORREF srcBk, bool absolute)
{
    Converter c;
    c.dst = dst.surface.get();
    c.src = &src;
    if (src.IsMono() && !dst.IsMono()) {
        c.kind = Converter::Kind::MonoToColor;
        c.fore = ColorToBgrx(PlainColor(dst.st.textColor));
        c.back = ColorToBgrx(PlainColor(dst.st.bkColor));
    } else if (!src.IsMono() && dst.IsMono()) {
        c.kind = absolute ? Converter::Kind::AbsoluteToMono : Converter::Kind::ColorToMono;
        c.srcBkRaw = ColorToBgrx(PlainColor(srcBk));
    }
    return c;
}

void BlitRows(Dc& dst, int xd, int yd, int wd, int hd, const Surface& src, int xs, int ys, uint8_t t,
    const Converter& conv, const BrushSampler& brush)
{
    if (!dst.surface)
        return;
    Surface& d = *dst.surface;
    const int dox = dst.origin.x, doy = dst.origin.y;
    const bool usesP = RopUsesPattern(t);
    if (usesP && brush.IsNull())
        return;
    // A plain copy between colour surfaces moves whole rows, alpha byte included.
    const bool copyRows = t == 0xCC && conv.kind == Converter::Kind::Same && !d.IsMono() && !src.IsMono();
    const RopRowFn kernel = RopRowKernel(t);
    std::optional<Buffers> buf;
    ForEachClipRect(dst, RECT{xd, yd, xd + wd, yd + hd}, [&](const RECT& r) {
        // The part of the span whose source lies inside the source surface.
        const int sx0 = r.left - dox - xd + xs;
        const int lo = std::max(0, -sx0);
        const int hi = std::min(r.right - r.left, src.Width() - sx0);
        if (hi <= lo)
            return;
        const int x = r.left + lo, sx = sx0 + lo;
        const size_t n = static_cast<size_t>(hi - lo);
        const int sy0 = r.top - doy - yd + ys;
        const int y0 = r.top + std::max(0, -sy0);
        const int y1 = r.top + std::min(r.bottom - r.top, src.Height() - sy0);
        if (copyRows) {
            if (y0 >= y1)
                return;
            // Whole rows of two top-down surfaces follow each other in memory: one move
            // for the lot lets the C library pick its copy for large blocks (a frame
            // flipped to the screen, a buffer saved whole).
            const ptrdiff_t bytes = static_cast<ptrdiff_t>(n) * 4;
            if (d.Stride() == bytes && src.Stride() == bytes) {
                std::memmove(d.Row32(y0) + x, src.Row32(y0 - r.top + sy0) + sx, n * 4 * static_cast<size_t>(y1 - y0));
                return;
            }
            for (int y = y0; y < y1; ++y)
                std::memmove(d.Row32(y) + x, src.Row32(y - r.top + sy0) + sx, n * 4);
            return;
        }
        if (!buf || buf->d.size() < n)
            buf.emplace(n);
        for (int y = y0; y < y1; ++y) {
            const uint32_t* srow = SourceRow(src, sx, y - r.top + sy0, n, conv, buf->s.data());
            CombineRow(d, x, y, n, srow, brush, usesP, t, kernel, *buf);
        }
    });
}

void MoveRowsWithin(Dc& dst, int xd, int yd, int wd, int hd, int xs, int ys)
{
    if (!dst.surface)
        return;
    Surface& d = *dst.surface;
    const int dox = dst.origin.x, doy = dst.origin.y;
    // Each clipped span, with where it reads from, both inside the surface.
    struct Span {
        int y, x, sy, sx;
        size_t n;
    };
    std::vector<Span> spans;
    ForEachClipRect(dst, RECT{xd, yd, xd + wd, yd + hd}, [&](const RECT& r) {
        const int sx0 = r.left - dox - xd + xs;
        const int lo = std::max({0, -sx0, -r.left});
        const int hi = std::min({static_cast<int>(r.right - r.left), d.Width() - sx0, d.Width() - static_cast<int>(r.left)});
        if (hi <= lo)
            return;
        const int sy0 = r.top - doy - yd + ys;
        const int y0 = r.top + std::max(0, -sy0);
        const int y1 = r.top + std::min(static_cast<int>(r.bottom - r.top), d.Height() - sy0);
        for (int y = std::max(y0, 0); y < std::min(y1, d.Height()); ++y)
            spans.push_back(Span{y, r.left + lo, y - r.top + sy0, sx0 + lo, static_cast<size_t>(hi - lo)});
    });
    // Moving down, the lowest row goes first; moving right, the rightmost span of a row.
    const int dy = spans.empty() ? 0 : spans.front().y - spans.front().sy;
    const int dx = spans.empty() ? 0 : spans.front().x - spans.front().sx;
    std::sort(spans.begin(), spans.end(), [dx, dy](const Span& a, const Span& b) {
        if (a.y != b.y)
            return dy > 0 ? a.y > b.y : a.y < b.y;
        return dx > 0 ? a.x > b.x : a.x < b.x;
    });
    for (const Span& sp : spans)
        std::memmove(d.Row32(sp.y) + sp.x, d.Row32(sp.sy) + sp.sx, sp.n * 4);
}

void FillRows(Dc& dc, const RECT& device, const BrushSampler& brush, uint8_t t)
{
    if (!dc.surface)
        return;
    t = RopWithoutSource(t);
    const bool usesP = RopUsesPattern(t);
    if (usesP && brush.IsNull())
        return;
    Surface& d = *dc.surface;
    const RopRowFn kernel = RopRowKernel(t);
    std::optional<Buffers> buf;
    ForEachClipRect(dc, device, [&](const RECT& r) {
        const size_t n = static_cast<size_t>(r.right - r.left);
        if (!buf || buf->d.size() < n)
            buf.emplace(n);
        for (int y = r.top; y < r.bottom; ++y)
            CombineRow(d, r.left, y, n, nullptr, brush, usesP, t, kernel, *buf);
    });
}

} // namespace zyn::gdi
