// Raster operations between surfaces: PatBlt, BitBlt, StretchBlt, MaskBlt,
// TransparentBlt, AlphaBlend, StretchDIBits and SetDIBitsToDevice.
//
// Stretching maps destination pixel i of n to source pixel floor((2i+1) * m / (2n)) of m
// (the source pixel under the destination pixel's centre). A negative width or height
// mirrors: the rectangle then covers x+w+1 .. x (inclusive), so (w-1, -w) mirrors [0, w).
// When shrinking, BLACKONWHITE ANDs and WHITEONBLACK ORs the source pixels that fall into
// one destination pixel, HALFTONE averages them, COLORONCOLOR keeps the centre sample.
//
// Unstretched blits without a mask run a row at a time through the rop kernels
// (blit_rows.h); the per-pixel engine here does the rest, with the same results.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/blit_rows.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {

struct Span {
    int first;  // first source index (after mirroring)
    int count;  // source pixels folded into this destination pixel (>= 1)
    int centre; // the centre sample
};

// Destination index -> source run, for n destination and m source pixels; only indices
// [i0, i1) are mapped (out[i - i0]), so huge extents cost nothing beyond what is visible.
std::vector<Span> MapAxis(int n, int m, bool mirror, int i0, int i1)
{
    std::vector<Span> out(static_cast<size_t>(std::max(0, i1 - i0)));
    for (int i = i0; i < i1; ++i) {
        const int64_t a = static_cast<int64_t>(i) * m / n;
        int64_t b = static_cast<int64_t>(i + 1) * m / n;
        if (b <= a)
            b = a + 1;
        const int c = static_cast<int>(((2 * static_cast<int64_t>(i) + 1) * m) / (2 * static_cast<int64_t>(n)));
        Span s{static_cast<int>(a), static_cast<int>(b - a), c};
        if (mirror) {
            s.first = m - static_cast<int>(b);
            s.centre = m - 1 - c;
        }
        out[static_cast<size_t>(i - i0)] = s;
    }
    return out;
}

// The destination rectangle (device coordinates) cut to the visible clip box, as index
// ranges relative to (xd, yd); false when nothing is visible.
bool VisibleRange(Dc& dc, int xd, int yd, int wd, int hd, int& i0, int& i1, int& j0, int& j1)
{
    const RECT box = dc.Clip().Box();
    const int64_t l = std::max<int64_t>(xd, int64_t(box.left) - dc.origin.x);
    const int64_t r = std::min<int64_t>(int64_t(xd) + wd, int64_t(box.right) - dc.origin.x);
    const int64_t t = std::max<int64_t>(yd, int64_t(box.top) - dc.origin.y);
    const int64_t b = std::min<int64_t>(int64_t(yd) + hd, int64_t(box.bottom) - dc.origin.y);
    if (l >= r || t >= b)
        return false;
    i0 = static_cast<int>(l - xd);
    i1 = static_cast<int>(r - xd);
    j0 = static_cast<int>(t - yd);
    j1 = static_cast<int>(b - yd);
    return true;
}

// Turns a signed extent into a start and a positive size, recording the mirror. Both
// are saturated so that x + w stays far inside the int range.
void Normalise(int& x, int& w, bool& mirror)
{
    int64_t x64 = x, w64 = w;
    if (w64 < 0) {
        x64 = x64 + w64 + 1;
        w64 = -w64;
        mirror = !mirror;
    }
    x = ClampCoord(x64);
    w = static_cast<int>(std::min<int64_t>(w64, 2 * int64_t(kCoordLimit)));
}

uint32_t Fold(const Surface& src, const Converter& conv, int x0, int nx, int y0, int ny, int mode, bool mono)
{
    if (mode == HALFTONE && !mono) {
        uint32_t r = 0, g = 0, b = 0, n = 0;
        for (int y = y0; y < y0 + ny; ++y)
            for (int x = x0; x < x0 + nx; ++x) {
                const uint32_t v = conv(src.GetRaw(x, y));
                r += (v >> 16) & 0xFF;
                g += (v >> 8) & 0xFF;
                b += v & 0xFF;
                ++n;
            }
        return (((r + n / 2) / n) << 16) | (((g + n / 2) / n) << 8) | ((b + n / 2) / n);
    }
    const bool andMode = mode == BLACKONWHITE || (mode == HALFTONE && mono);
    uint32_t acc = andMode ? 0xFFFFFFFFu : 0u;
    for (int y = y0; y < y0 + ny; ++y)
        for (int x = x0; x < x0 + nx; ++x) {
            const uint32_t v = conv(src.GetRaw(x, y));
            acc = andMode ? (acc & v) : (acc | v);
        }
    return acc;
}

// A private copy of part of a surface (same format and table), for blits whose source
// and destination share memory.
std::shared_ptr<Surface> CopyOf(const Surface& s, const RECT& r)
{
    auto t = Surface::Create(r.right - r.left, r.bottom - r.top, s.Format());
    if (!t)
        return nullptr;
    t->SetPalette(s.PaletteColor(0), s.PaletteColor(1));
    for (int y = r.top; y < r.bottom; ++y) {
        if (!s.IsMono()) {
            std::memcpy(t->Row32(y - r.top), s.Row32(y) + r.left, static_cast<size_t>(r.right - r.left) * 4);
            continue;
        }
        for (int x = r.left; x < r.right; ++x)
            t->SetRaw(x - r.left, y - r.top, s.GetRaw(x, y));
    }
    return t;
}

} // namespace

// The blit engine. Destination in device coordinates of `dst`, source in surface
// coordinates of `src` (null when the rop does not read it). `mask` (Mono1, surface
// coordinates at xm, ym) selects per pixel between `rop` (mask bit 1) and `backRop`.
bool BlitCore(Dc& dst, int xd, int yd, int wd, int hd, const Surface* src, int xs, int ys, int ws, int hs, uint8_t t,
    COLORREF srcBk, bool absolute, const Surface* mask = nullptr, int xm = 0, int ym = 0, uint8_t backT = 0)
{
    if (!dst.surface)
        return true;
    bool mirrorX = false, mirrorY = false;
    Normalise(xd, wd, mirrorX);
    Normalise(yd, hd, mirrorY);
    Normalise(xs, ws, mirrorX);
    Normalise(ys, hs, mirrorY);
    if (wd == 0 || hd == 0)
        return true;
    const bool usesS = RopUsesSource(t) || (mask && RopUsesSource(backT));
    if (usesS && (!src || ws == 0 || hs == 0))
        return false;
    Surface& d = *dst.surface;
    const uint32_t pmask = d.IsMono() ? 1u : 0xFFFFFFu;
    BrushSampler brush(dst, dst.Brush());
    const bool usesP = RopUsesPattern(t) || (mask && RopUsesPattern(backT));
    if (!usesS) {
        if (!mask) {
            FillDeviceRectWith(dst, RECT{xd, yd, xd + wd, yd + hd}, brush, t);
            return true;
        }
    }

    const bool oneToOne = usesS && ws == wd && hs == hd && !mirrorX && !mirrorY;
    // A plain copy within one colour surface (scrolling) moves its rows in place.
    if (oneToOne && t == 0xCC && !mask && src == dst.surface.get() && !d.IsMono() &&
        MakeConverter(dst, *src, srcBk, absolute).kind == Converter::Kind::Same) {
        MoveRowsWithin(dst, xd, yd, wd, hd, xs, ys);
        return true;
    }
    // Other sources that share the destination's memory are read from a copy.
    std::shared_ptr<Surface> copy;
    if (usesS && src == dst.surface.get()) {
        RECT r{std::max(xs, 0), std::max(ys, 0), std::min(xs + ws, src->Width()), std::min(ys + hs, src->Height())};
        if (r.left < r.right && r.top < r.bottom) {
            copy = CopyOf(*src, r);
            if (!copy) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return false;
            }
            xs -= r.left;
            ys -= r.top;
            src = copy.get();
        }
    }

    const int dox = dst.origin.x, doy = dst.origin.y;

    // Unstretched, unmasked blits go a row at a time through the rop kernels.
    if (oneToOne && !mask && (!usesP || brush.RowReady())) {
        BlitRows(dst, xd, yd, wd, hd, *src, xs, ys, t, MakeConverter(dst, *src, srcBk, absolute), brush);
        return true;
    }

    Converter conv;
    std::vector<Span> cols, rows;
    const int mode = dst.st.stretchMode;
    int i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    if (!VisibleRange(dst, xd, yd, wd, hd, i0, i1, j0, j1))
        return true;
    if (usesS) {
        conv = MakeConverter(dst, *src, srcBk, absolute);
        cols = MapAxis(wd, ws, mirrorX, i0, i1);
        rows = MapAxis(hd, hs, mirrorY, j0, j1);
    }
    const bool shrink = usesS && (ws > wd || hs > hd) && mode != COLORONCOLOR;
    const bool copyAlpha = t == 0xCC && !d.IsMono() && src && !src->IsMono() && !mask;

    auto perPixel = [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            const int j = y - doy - yd;
            int sy = 0, ny = 1;
            if (usesS) {
                const Span& rs = rows[static_cast<size_t>(j - j0)];
                sy = ys + (shrink ? rs.first : rs.centre);
                ny = shrink ? rs.count : 1;
                if (sy < 0 || sy + ny > src->Height())
                    continue;
            }
            for (int x = r.left; x < r.right; ++x) {
                const int i = x - dox - xd;
                uint8_t op = t;
                if (mask) {
                    const int mx = xm + i, my = ym + j;
                    op = mask->GetRaw(mx, my) ? t : backT;
                }
                uint32_t s = 0;
                if (usesS) {
                    const Span& cs = cols[static_cast<size_t>(i - i0)];
                    const int sx = xs + (shrink ? cs.first : cs.centre);
                    const int nx = shrink ? cs.count : 1;
                    if (sx < 0 || sx + nx > src->Width())
                        continue;
                    if (shrink && (nx > 1 || ny > 1))
                        s = Fold(*src, conv, sx, nx, sy, ny, mode, d.IsMono());
                    else
                        s = conv(src->GetRaw(sx, sy));
                }
                uint32_t p = 0;
                if (usesP && RopUsesPattern(op) && !brush.At(x, y, p))
                    continue;
                if (d.IsMono()) {
                    d.SetRaw(x, y, EvalRop3(op, p, s, d.GetRaw(x, y)) & 1u);
                } else {
                    uint32_t& px = d.Row32(y)[x];
                    px = copyAlpha ? s : (EvalRop3(op, p, s, px) & pmask);
                }
            }
        }
    };
    // Stretched by picking pixels (no folding), unmasked, onto a colour surface: each
    // row's source pixels are picked through the column map once and combined by the
    // row kernel. A clip rectangle reaching source columns outside the source goes
    // pixel by pixel, which leaves those pixels alone.
    if (usesS && !shrink && !mask && !d.IsMono() && (!usesP || brush.RowReady())) {
        std::vector<int> sxs;
        std::vector<uint32_t> picked, pattern;
        ForEachClipRect(dst, RECT{xd, yd, xd + wd, yd + hd}, [&](const RECT& r) {
            const size_t n = static_cast<size_t>(r.right - r.left);
            sxs.resize(n);
            for (size_t k = 0; k < n; ++k) {
                const int sx = xs + cols[static_cast<size_t>(r.left + static_cast<int>(k) - dox - xd - i0)].centre;
                if (sx < 0 || sx >= src->Width()) {
                    perPixel(r);
                    return;
                }
                sxs[k] = sx;
            }
            picked.resize(n);
            pattern.resize(n);
            for (int y = r.top; y < r.bottom; ++y) {
                const int sy = ys + rows[static_cast<size_t>(y - doy - yd - j0)].centre;
                if (sy < 0 || sy >= src->Height())
                    continue;
                for (size_t k = 0; k < n; ++k)
                    picked[k] = conv(src->GetRaw(sxs[k], sy));
                if (copyAlpha)
                    std::copy(picked.begin(), picked.end(), d.Row32(y) + r.left);
                else
                    CombineColorRow(d, r.left, y, n, picked.data(), brush, t, pattern.data());
            }
        });
        return true;
    }
    ForEachClipRect(dst, RECT{xd, yd, xd + wd, yd + hd}, perPixel);
    return true;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

namespace {

// The source surface of a blit and its origin; false (with last error) for a bad handle.
bool SourceOf(HDC hdcSrc, std::shared_ptr<Dc>& sdc)
{
    sdc = DcFromHandle(hdcSrc);
    return sdc != nullptr;
}

// The destination's draw scope and, when the source is another DC, a read scope on it.
class BlitScope {
public:
    BlitScope(Dc& dst, Dc* src) : m_dst(dst)
    {
        if (src && src != &dst)
            m_src.emplace(*src, false);
    }

private:
    DrawScope m_dst;
    std::optional<DrawScope> m_src;
};

// A logical point of a source DC in its surface's coordinates.
POINT SurfacePoint(const Dc& sdc, int x, int y)
{
    POINT p = sdc.ToDevice(POINT{x, y});
    p.x += sdc.origin.x;
    p.y += sdc.origin.y;
    return p;
}

// What TransparentBlt and AlphaBlend share: an unmirrored stretch of a source rectangle
// that must lie inside its surface, each destination pixel taking the source pixel under
// its centre.
struct CentreSampling {
    const Surface* src = nullptr;  // the source surface, or `copy`
    std::shared_ptr<Surface> copy; // the source rectangle, when it shares the destination's memory
    POINT sp{};                    // the rectangle's origin in *src
    POINT p{};                     // the destination in device coordinates
    int w = 0, h = 0;              // the destination extent
    int i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    std::vector<Span> cols, rows;

    // Calls fn(x, y, sx, sy) for every visible destination pixel (surface coordinates).
    template <class Fn>
    void ForEach(Dc& dc, Fn&& fn) const
    {
        ForEachClipRect(dc, RECT{p.x, p.y, p.x + w, p.y + h}, [&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                const int sy = sp.y + rows[static_cast<size_t>(y - dc.origin.y - p.y - j0)].centre;
                for (int x = r.left; x < r.right; ++x)
                    fn(x, y, sp.x + cols[static_cast<size_t>(x - dc.origin.x - p.x - i0)].centre, sy);
            }
        });
    }
};

enum class Sampled { Draw, Nothing, Failed };

// Sets up `out` for (xs, ys, ws, hs) of `sdc` onto (xd, yd, wd, hd) of `dc`, logical
// coordinates and positive extents. Failed when the source rectangle leaves its surface
// (last error set) or cannot be copied; Nothing when no destination pixel is visible.
Sampled SampleCentres(Dc& dc, const Dc& sdc, int xd, int yd, int wd, int hd, int xs, int ys, int ws, int hs,
    CentreSampling& out)
{
    const Surface& src = *sdc.surface;
    POINT sp = SurfacePoint(sdc, xs, ys);
    if (sp.x < 0 || sp.y < 0 || sp.x + ws > src.Width() || sp.y + hs > src.Height()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return Sampled::Failed;
    }
    out.src = &src;
    if (&src == dc.surface.get()) {
        out.copy = CopyOf(src, RECT{sp.x, sp.y, sp.x + ws, sp.y + hs});
        if (!out.copy)
            return Sampled::Failed;
        out.src = out.copy.get();
        sp = POINT{0, 0};
    }
    out.sp = sp;
    out.p = dc.ToDevice(POINT{xd, yd});
    // Saturates the extents like every other blit.
    bool unused = false;
    int px0 = out.p.x, py0 = out.p.y;
    Normalise(px0, wd, unused);
    Normalise(py0, hd, unused);
    out.w = wd;
    out.h = hd;
    if (!VisibleRange(dc, out.p.x, out.p.y, wd, hd, out.i0, out.i1, out.j0, out.j1))
        return Sampled::Nothing;
    out.cols = MapAxis(wd, ws, false, out.i0, out.i1);
    out.rows = MapAxis(hd, hs, false, out.j0, out.j1);
    return Sampled::Draw;
}

} // namespace

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    const uint8_t t = Rop3Table(rop);
    if (RopUsesSource(t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DrawScope scope(*dc);
    const POINT p = dc->ToDevice(POINT{x, y});
    int xd = p.x, yd = p.y;
    bool m = false;
    Normalise(xd, w, m);
    Normalise(yd, h, m);
    BrushSampler brush(*dc, dc->Brush());
    FillDeviceRectWith(*dc, RECT{xd, yd, xd + w, yd + h}, brush, t);
    return TRUE;
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
    int hSrc, DWORD rop)
{
    auto dc = DcFromHandle(hdcDest);
    if (!dc)
        return FALSE;
    const uint8_t t = Rop3Table(rop);
    std::shared_ptr<Dc> sdc;
    if (RopUsesSource(t) && !SourceOf(hdcSrc, sdc))
        return FALSE;
    BlitScope scope(*dc, sdc.get());
    const POINT p = dc->ToDevice(POINT{xDest, yDest});
    const POINT sp = sdc ? SurfacePoint(*sdc, xSrc, ySrc) : POINT{0, 0};
    const bool ok = BlitCore(*dc, p.x, p.y, wDest, hDest, sdc ? sdc->surface.get() : nullptr, sp.x, sp.y, wSrc, hSrc,
        t, sdc ? sdc->st.bkColor : 0, false);
    if (!ok)
        SetLastError(ERROR_INVALID_PARAMETER);
    return ok ? TRUE : FALSE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

namespace zyn::gdi {

bool BlitSurface(HDC hdc, int x, int y, int w, int h, const Surface& src, int xs, int ys, int ws, int hs, DWORD rop)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return false;
    const uint8_t t = Rop3Table(rop);
    DrawScope scope(*dc);
    const POINT p = dc->ToDevice(POINT{x, y});
    // The background a fresh memory DC holding `src` would lend a colour-to-mono blit.
    const COLORREF srcBk = DcState{}.bkColor;
    const bool ok =
        BlitCore(*dc, p.x, p.y, w, h, RopUsesSource(t) ? &src : nullptr, xs, ys, ws, hs, t, srcBk, false);
    if (!ok)
        SetLastError(ERROR_INVALID_PARAMETER);
    return ok;
}

bool MaskedInvertSurface(
    HDC hdc, int x, int y, int w, int h, const Surface& mask, const Surface& color, int xs, int ys)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return false;
    if (dc->surface.get() == &color || dc->surface.get() == &mask) {
        // Drawing into its own planes: both are read as they were before anything is
        // written, from copies, through the two blits.
        const RECT part{xs, ys, xs + w, ys + h};
        const auto c = CopyOf(color, part);
        const auto m = CopyOf(mask, part);
        if (!c || !m) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        const COLORREF oldText = SetTextColor(hdc, 0x000000);
        const COLORREF oldBk = SetBkColor(hdc, 0xFFFFFF);
        const bool ok = BlitSurface(hdc, x, y, w, h, *m, 0, 0, w, h, SRCAND) &&
            BlitSurface(hdc, x, y, w, h, *c, 0, 0, w, h, SRCINVERT);
        SetTextColor(hdc, oldText);
        SetBkColor(hdc, oldBk);
        return ok;
    }
    DrawScope scope(*dc);
    if (!dc->surface || w <= 0 || h <= 0)
        return true;
    Surface& d = *dc->surface;
    const POINT p = dc->ToDevice(POINT{x, y});
    const int dox = dc->origin.x, doy = dc->origin.y;
    ForEachClipRect(*dc, RECT{p.x, p.y, p.x + w, p.y + h}, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy) {
            const int sy = ys + (yy - doy - p.y);
            if (sy < 0 || sy >= color.Height() || sy >= mask.Height())
                continue;
            uint32_t* row = d.Row32(yy);
            const uint32_t* c = color.Row32(sy);
            // The columns whose source lies inside both planes, worked out once a row.
            const int off = xs - dox - p.x; // source column of destination column xx: xx + off
            const int lim = std::min(color.Width(), mask.Width());
            const int xa = std::max(r.left, -off);
            const int xb = std::min(r.right, lim - off);
            // SRCAND of the mask as black (0) and white (1), then SRCINVERT of the colour.
            if (mask.IsMono()) {
                const uint8_t* m = mask.Row(sy);
                for (int xx = xa; xx < xb; ++xx) {
                    const int sx = xx + off;
                    const uint32_t kept = ((m[sx >> 3] >> (7 - (sx & 7))) & 1u) ? row[xx] : 0u;
                    row[xx] = (kept ^ c[sx]) & 0xFFFFFFu;
                }
            } else {
                const uint32_t* m = mask.Row32(sy);
                for (int xx = xa; xx < xb; ++xx) {
                    const int sx = xx + off;
                    const uint32_t kept = m[sx] ? row[xx] : 0u;
                    row[xx] = (kept ^ c[sx]) & 0xFFFFFFu;
                }
            }
        }
    });
    return true;
}

} // namespace zyn::gdi

BOOL MaskBlt(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc, HBITMAP hbmMask,
    int xMask, int yMask, DWORD rop)
{
    const DWORD fore = rop & 0x00FFFFFFu;
    if (!hbmMask)
        return BitBlt(hdcDest, xDest, yDest, width, height, hdcSrc, xSrc, ySrc, fore);
    auto dc = DcFromHandle(hdcDest);
    if (!dc)
        return FALSE;
    auto mbm = BitmapFromHandle(hbmMask);
    if (!mbm)
        return FALSE;
    mbm->SyncIn();
    if (!mbm->surface->IsMono() || width < 0 || height < 0 || xMask < 0 || yMask < 0 ||
        xMask + width > mbm->surface->Width() || yMask + height > mbm->surface->Height()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint8_t t = Rop3Table(rop);
    const uint8_t backT = static_cast<uint8_t>((rop >> 24) & 0xFF);
    std::shared_ptr<Dc> sdc;
    if ((RopUsesSource(t) || RopUsesSource(backT)) && !SourceOf(hdcSrc, sdc))
        return FALSE;
    BlitScope scope(*dc, sdc.get());
    const POINT p = dc->ToDevice(POINT{xDest, yDest});
    const POINT sp = sdc ? SurfacePoint(*sdc, xSrc, ySrc) : POINT{0, 0};
    const bool ok = BlitCore(*dc, p.x, p.y, width, height, sdc ? sdc->surface.get() : nullptr, sp.x, sp.y, width,
        height, t, sdc ? sdc->st.bkColor : 0, false, mbm->surface.get(), xMask, yMask, backT);
    return ok ? TRUE : FALSE;
}

BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
    int yoriginSrc, int wSrc, int hSrc, UINT crTransparent)
{
    auto dc = DcFromHandle(hdcDest);
    if (!dc)
        return FALSE;
    auto sdc = DcFromHandle(hdcSrc);
    if (!sdc)
        return FALSE;
    if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlitScope scope(*dc, sdc.get());
    CentreSampling sampling;
    const Sampled sampled =
        SampleCentres(*dc, *sdc, xoriginDest, yoriginDest, wDest, hDest, xoriginSrc, yoriginSrc, wSrc, hSrc, sampling);
    if (sampled != Sampled::Draw)
        return sampled == Sampled::Nothing ? TRUE : FALSE;
    const Surface* s = sampling.src;
    const Converter conv = MakeConverter(*dc, *s, sdc->st.bkColor, false);
    const COLORREF key = PlainColor(crTransparent);
    Surface& d = *dc->surface;
    sampling.ForEach(*dc, [&](int x, int y, int sx, int sy) {
        const uint32_t raw = s->GetRaw(sx, sy);
        if (PixelToColor(*s, raw) != key)
            d.SetRaw(x, y, conv(raw) & (d.IsMono() ? 1u : 0xFFFFFFu));
    });
    return TRUE;
}

BOOL AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
    int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn)
{
    auto dc = DcFromHandle(hdcDest);
    if (!dc)
        return FALSE;
    auto sdc = DcFromHandle(hdcSrc);
    if (!sdc)
        return FALSE;
    if (ftn.BlendOp != AC_SRC_OVER || (ftn.AlphaFormat & ~AC_SRC_ALPHA) || wDest < 0 || hDest < 0 || wSrc < 0 ||
        hSrc < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0)
        return TRUE;
    BlitScope scope(*dc, sdc.get());
    CentreSampling sampling;
    const Sampled sampled =
        SampleCentres(*dc, *sdc, xoriginDest, yoriginDest, wDest, hDest, xoriginSrc, yoriginSrc, wSrc, hSrc, sampling);
    if (sampled != Sampled::Draw)
        return sampled == Sampled::Nothing ? TRUE : FALSE;
    const Surface* s = sampling.src;
    const uint32_t sca = ftn.SourceConstantAlpha;
    const bool perPixel = (ftn.AlphaFormat & AC_SRC_ALPHA) != 0 && !s->IsMono();
    auto mul = [](uint32_t a, uint32_t b) { return (a * b + 127) / 255; };
    Surface& d = *dc->surface;
    const COLORREF text = dc->st.textColor, bk = dc->st.bkColor;
    // Per-pixel alpha at full constant alpha between colour surfaces: a transparent black
    // source pixel leaves the destination as it is and an opaque one replaces it, alpha
    // included, which is what the formulas below give for them.
    const bool plainEnds = perPixel && sca == 255 && !d.IsMono();
    sampling.ForEach(*dc, [&](int x, int y, int sx, int sy) {
        uint32_t sv = s->GetRaw(sx, sy);
        if (plainEnds) {
            if (sv == 0)
                return;
            if ((sv >> 24) == 255) {
                d.Row32(y)[x] = sv;
                return;
            }
        }
        if (s->IsMono())
            sv = ColorToBgrx(ColorFromMono(sv, text, bk));
        const uint32_t sa = perPixel ? (sv >> 24) & 0xFF : 255;
        const uint32_t dv = d.IsMono() ? ColorToBgrx(PixelToColor(d, d.GetRaw(x, y))) : d.Row32(y)[x];
        const uint32_t srcA = mul(sa, sca);
        uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const uint32_t sc = (sv >> shift) & 0xFF, dcv = (dv >> shift) & 0xFF;
            // Premultiplied source: Dst = Src*SCA + Dst*(1 - SrcA*SCA); a constant
            // alpha alone: Dst = Src*SCA + Dst*(1 - SCA).
            const uint32_t v = std::min<uint32_t>(255, mul(sc, sca) + mul(dcv, 255 - srcA));
            out |= v << shift;
        }
        if (d.IsMono()) {
            d.SetRaw(x, y, ColorToPixel(d, BgrxToColor(out)));
        } else {
            const uint32_t da = (dv >> 24) & 0xFF;
            const uint32_t outA = perPixel ? std::min<uint32_t>(255, srcA + mul(da, 255 - srcA)) : da;
            d.Row32(y)[x] = out | (outA << 24);
        }
    });
    return TRUE;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
    int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    const uint8_t t = Rop3Table(rop);
    std::shared_ptr<Surface> src;
    std::optional<DibFormat> f;
    if (RopUsesSource(t)) {
        if (!lpBits) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        f = ParseDib(lpbmi, iUsage);
        if (!f)
            return 0;
        src = SurfaceFromDib(*f, static_cast<const uint8_t*>(lpBits), 0, f->height);
        if (!src)
            return 0;
    }
    DrawScope scope(*dc);
    // A bottom-up DIB's source origin is its lower-left corner.
    int sy = ySrc;
    if (f && f->bottomUp)
        sy = f->height - ySrc - SrcHeight;
    const POINT p = dc->ToDevice(POINT{xDest, yDest});
    if (!BlitCore(*dc, p.x, p.y, DestWidth, DestHeight, src.get(), xSrc, sy, SrcWidth, SrcHeight, t, 0, true)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return f ? f->height : (DestHeight < 0 ? -DestHeight : DestHeight);
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan,
    UINT cLines, const void* lpvBits, const BITMAPINFO* lpbmi, UINT ColorUse)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (!lpvBits || w > 0x7FFFFFFF || h > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto f = ParseDib(lpbmi, ColorUse);
    if (!f)
        return 0;
    if (StartScan >= static_cast<UINT>(f->height) || cLines == 0)
        return 0;
    const int lines = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(f->height) - StartScan));
    auto src = SurfaceFromDib(*f, static_cast<const uint8_t*>(lpvBits), static_cast<int>(StartScan), lines);
    if (!src)
        return 0;
    // Rows of the full image that the given scans fill (top-down).
    const int H = f->height;
    int rowLo, rowHi;
    if (f->bottomUp) {
        rowLo = H - static_cast<int>(StartScan) - lines;
        rowHi = H - static_cast<int>(StartScan);
    } else {
        rowLo = static_cast<int>(StartScan);
        rowHi = static_cast<int>(StartScan) + lines;
    }
    const int W = static_cast<int>(w), Hh = static_cast<int>(h);
    const int srcTop = f->bottomUp ? H - ySrc - Hh : ySrc;
    // Only the destination rows whose source rows were given are drawn.
    const int top = std::max(srcTop, rowLo), bottom = std::min(srcTop + Hh, rowHi);
    if (bottom > top) {
        DrawScope scope(*dc);
        const POINT p = dc->ToDevice(POINT{xDest, yDest});
        BlitCore(*dc, p.x, p.y + (top - srcTop), W, bottom - top, src.get(), xSrc, top, W, bottom - top, 0xCC, 0, true);
    }
    return lines;
}
