// The raster helpers: brush sampling, rop fills, pixel mixes, coverage blending, and
// the pixel API (GetPixel / SetPixel / SetPixelV).
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/base/lasterror.h"
#include "platform/gdi/blit_rows.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {
int Mod(int a, int m)
{
    const int r = a % m;
    return r < 0 ? r + m : r;
}

uint32_t PixelMask(const Surface& s) { return s.IsMono() ? 1u : 0xFFFFFFu; }

// Fills n pixels with one value. wchar_t is 32 bits here, so the C library's tuned
// wmemset does the work.
void FillRow32(uint32_t* p, size_t n, uint32_t v)
{
    static_assert(sizeof(wchar_t) == sizeof(uint32_t));
    // Short runs (the one-pixel lines of edges and frames) cost more in the call than in
    // the stores.
    if (n <= 8) {
        for (size_t i = 0; i < n; ++i)
            p[i] = v;
        return;
    }
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
}

// Sets bits [x0, x1) of a mono row to `bit`.
void FillMonoRow(uint8_t* row, int x0, int x1, uint32_t bit)
{
    while (x0 < x1 && (x0 & 7)) {
        const uint8_t m = static_cast<uint8_t>(0x80u >> (x0 & 7));
        row[x0 >> 3] = bit ? static_cast<uint8_t>(row[x0 >> 3] | m) : static_cast<uint8_t>(row[x0 >> 3] & ~m);
        ++x0;
    }
    const int whole = (x1 - x0) >> 3;
    if (whole > 0) {
        std::memset(row + (x0 >> 3), bit ? 0xFF : 0x00, static_cast<size_t>(whole));
        x0 += whole * 8;
    }
    while (x0 < x1) {
        const uint8_t m = static_cast<uint8_t>(0x80u >> (x0 & 7));
        row[x0 >> 3] = bit ? static_cast<uint8_t>(row[x0 >> 3] | m) : static_cast<uint8_t>(row[x0 >> 3] & ~m);
        ++x0;
    }
}
} // namespace

// ---- BrushSampler -------------------------------------------------------------------------------
BrushSampler::BrushSampler(const Dc& dc, COLORREF solid)
{
    m_solid = true;
    m_solidPixel = dc.surface ? ColorToPixel(*dc.surface, solid) : 0;
}

BrushSampler::BrushSampler(const Dc& dc, const BrushObj* brush)
{
    if (!brush || brush->style == BS_NULL || !dc.surface) {
        m_null = true;
        return;
    }
    const Surface& target = *dc.surface;
    m_orgX = dc.origin.x + dc.st.brushOrg.x;
    m_orgY = dc.origin.y + dc.st.brushOrg.y;
    switch (brush->style) {
    case BS_SOLID:
        m_solid = true;
        m_solidPixel = ColorToPixel(target, dc.BrushColor(*brush));
        return;
    case BS_HATCHED:
        if (!brush->pattern) {
            m_null = true;
            return;
        }
        m_hatch = true;
        m_hatchOpaque = dc.st.bkMode == OPAQUE;
        m_fore = ColorToPixel(target, dc.BrushColor(*brush));
        m_back = ColorToPixel(target, dc.st.bkColor);
        m_keep = brush->pattern;
        m_pattern = m_keep.get();
        break;
    default: // pattern brushes
        if (!brush->pattern) {
            m_null = true;
            return;
        }
        m_keep = brush->pattern;
        m_pattern = m_keep.get();
        if (m_pattern->IsMono()) {
            m_monoPattern = true;
            m_fore = ColorToPixel(target, dc.st.bkColor);   // bit 1
            m_back = ColorToPixel(target, dc.st.textColor); // bit 0
        } else if (target.IsMono()) {
            // A colour pattern drawn on a mono target: each pixel to its nearest table entry.
            m_converted.resize(static_cast<size_t>(m_pattern->Width()) * static_cast<size_t>(m_pattern->Height()));
            for (int y = 0; y < m_pattern->Height(); ++y)
                for (int x = 0; x < m_pattern->Width(); ++x)
                    m_converted[static_cast<size_t>(y) * static_cast<size_t>(m_pattern->Width()) +
                        static_cast<size_t>(x)] = ColorToPixel(target, BgrxToColor(m_pattern->GetRaw(x, y)));
        }
        break;
    }
    m_pw = m_pattern->Width();
    m_ph = m_pattern->Height();
}

bool BrushSampler::At(int x, int y, uint32_t& px) const
{
    if (m_solid) {
        px = m_solidPixel;
        return true;
    }
    if (m_null)
        return false;
    const int u = Mod(x - m_orgX, m_pw);
    const int v = Mod(y - m_orgY, m_ph);
    if (m_hatch) {
        if (m_pattern->GetRaw(u, v)) {
            px = m_fore;
            return true;
        }
        px = m_back;
        return m_hatchOpaque;
    }
    if (m_monoPattern) {
        px = m_pattern->GetRaw(u, v) ? m_fore : m_back;
        return true;
    }
    if (!m_converted.empty()) {
        px = m_converted[static_cast<size_t>(v) * static_cast<size_t>(m_pw) + static_cast<size_t>(u)];
        return true;
    }
    px = m_pattern->GetRaw(u, v) & 0xFFFFFFu;
    return true;
}

void BrushSampler::Row(int x, int y, size_t n, uint32_t* out) const
{
    if (m_solid || m_null) {
        std::fill(out, out + n, m_solidPixel);
        return;
    }
    // One period of the pattern row, then tiled.
    const int v = Mod(y - m_orgY, m_ph);
    uint32_t period[64];
    std::vector<uint32_t> wide;
    uint32_t* one = period;
    if (m_pw > 64) {
        wide.resize(static_cast<size_t>(m_pw));
        one = wide.data();
    }
    for (int u = 0; u < m_pw; ++u) {
        uint32_t px = 0;
        if (m_hatch || m_monoPattern)
            px = m_pattern->GetRaw(u, v) ? m_fore : m_back;
        else if (!m_converted.empty())
            px = m_converted[static_cast<size_t>(v) * static_cast<size_t>(m_pw) + static_cast<size_t>(u)];
        else
            px = m_pattern->GetRaw(u, v) & 0xFFFFFFu;
        one[u] = px;
    }
    // The first period from the row's phase, then doubling copies (each a whole number
    // of periods long).
    const size_t pw = static_cast<size_t>(m_pw);
    size_t u = static_cast<size_t>(Mod(x - m_orgX, m_pw));
    const size_t first = std::min(n, pw);
    for (size_t i = 0; i < first; ++i) {
        out[i] = one[u];
        if (++u == pw)
            u = 0;
    }
    for (size_t done = first; done < n; done *= 2)
        std::memcpy(out + done, out, std::min(done, n - done) * sizeof(uint32_t));
}

// ---- fills -----------------------------------------------------------------------------------------
void FillDeviceRectWith(Dc& dc, const RECT& device, const BrushSampler& brush, uint8_t t)
{
    if (!dc.surface)
        return;
    const bool usesP = RopUsesPattern(t);
    if (usesP && brush.IsNull())
        return;
    Surface& s = *dc.surface;
    const uint32_t mask = PixelMask(s);
    const bool usesD = RopUsesDest(t);
    // A constant result: no D, and P (if used) is a solid colour.
    if (!usesD && (!usesP || brush.IsSolid())) {
        const uint32_t cval = EvalRop3(t, brush.IsSolid() ? brush.SolidPixel() : 0, 0, 0) & mask;
        const bool mono = s.IsMono();
        const ptrdiff_t stride = s.Stride();
        ForEachClipRect(dc, device, [&](const RECT& r) {
            uint8_t* row = s.Row(r.top);
            if (mono) {
                for (int y = r.top; y < r.bottom; ++y, row += stride)
                    FillMonoRow(row, r.left, r.right, cval);
                return;
            }
            const size_t n = static_cast<size_t>(r.right - r.left);
            row += static_cast<ptrdiff_t>(r.left) * 4;
            if (n == 1) {
                // The one-pixel columns of frames and edges: one store a row.
                for (int y = r.top; y < r.bottom; ++y, row += stride)
                    *reinterpret_cast<uint32_t*>(row) = cval;
                return;
            }
            for (int y = r.top; y < r.bottom; ++y, row += stride)
                FillRow32(reinterpret_cast<uint32_t*>(row), n, cval);
        });
        return;
    }
    if (!usesP || brush.RowReady()) {
        FillRows(dc, device, brush, t);
        return;
    }
    // A hatch with transparent gaps: those pixels are left alone.
    ForEachClipRect(dc, device, [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                uint32_t p = 0;
                if (!brush.At(x, y, p))
                    continue;
                s.SetRaw(x, y, EvalRop3(t, p, 0, s.GetRaw(x, y)) & mask);
            }
    });
}

void FillDeviceRect(Dc& dc, const RECT& device, const BrushObj* brush, DWORD rop3)
{
    BrushSampler b(dc, brush);
    FillDeviceRectWith(dc, device, b, Rop3Table(rop3));
}

void FillDeviceRegion(Dc& dc, const Region& device, const BrushObj* brush, DWORD rop3)
{
    BrushSampler b(dc, brush);
    for (const RECT& r : device.Rects())
        FillDeviceRectWith(dc, r, b, Rop3Table(rop3));
}

void PaintDeviceRect(Dc& dc, const RECT& device, const BrushObj* brush)
{
    BrushSampler b(dc, brush);
    if (b.IsNull())
        return;
    FillDeviceRectWith(dc, device, b, Rop2AsRop3Table(dc.st.rop2));
}

void PaintDeviceRegion(Dc& dc, const Region& device, const BrushObj* brush)
{
    BrushSampler b(dc, brush);
    if (b.IsNull())
        return;
    for (const RECT& r : device.Rects())
        FillDeviceRectWith(dc, r, b, Rop2AsRop3Table(dc.st.rop2));
}

void SetDevicePixel(Dc& dc, int x, int y, COLORREF color)
{
    if (!dc.surface)
        return;
    const int sx = x + dc.origin.x, sy = y + dc.origin.y;
    if (!dc.Clip().Contains(sx, sy))
        return;
    Surface& s = *dc.surface;
    const uint32_t p = ColorToPixel(s, color);
    s.SetRaw(sx, sy, EvalRop2(dc.st.rop2, p, s.GetRaw(sx, sy)) & PixelMask(s));
    dc.NoteDrawn(RECT{sx, sy, sx + 1, sy + 1});
}

void MixDeviceRect(Dc& dc, const RECT& device, COLORREF color)
{
    if (device.left >= device.right || device.top >= device.bottom)
        return;
    BrushSampler b(dc, color);
    FillDeviceRectWith(dc, device, b, Rop2AsRop3Table(dc.st.rop2));
}

bool ReadDevicePixel(Dc& dc, int x, int y, COLORREF& color)
{
    if (!dc.surface)
        return false;
    const int sx = x + dc.origin.x, sy = y + dc.origin.y;
    if (!dc.surface->Contains(sx, sy))
        return false;
    color = PixelToColor(*dc.surface, dc.surface->GetRaw(sx, sy));
    return true;
}

void BlendCoverage(Dc& dc, int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color)
{
    if (!dc.surface || !coverage || w <= 0 || h <= 0)
        return;
    Surface& s = *dc.surface;
    const uint32_t pix = ColorToPixel(s, color);
    const uint32_t sr = (pix >> 16) & 0xFF, sg = (pix >> 8) & 0xFF, sb = pix & 0xFF;
    const int ox = x + dc.origin.x, oy = y + dc.origin.y;
    if (s.IsMono()) {
        ForEachClipRect(dc, RECT{x, y, x + w, y + h}, [&](const RECT& r) {
            for (int py = r.top; py < r.bottom; ++py) {
                const uint8_t* cov = coverage + static_cast<ptrdiff_t>(py - oy) * stride + (r.left - ox);
                for (int px = r.left; px < r.right; ++px)
                    if (cov[px - r.left] >= 128)
                        s.SetRaw(px, py, pix);
            }
        });
        return;
    }
    ForEachClipRect(dc, RECT{x, y, x + w, y + h}, [&](const RECT& r) {
        for (int py = r.top; py < r.bottom; ++py) {
            const uint8_t* cov = coverage + static_cast<ptrdiff_t>(py - oy) * stride + (r.left - ox);
            uint32_t* row = s.Row32(py) + r.left;
            const int n = r.right - r.left;
            for (int i = 0; i < n; ++i) {
                const uint32_t c = cov[i];
                if (c == 0)
                    continue;
                uint32_t& d = row[i];
                if (c == 255) {
                    d = pix;
                    continue;
                }
                const uint32_t dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
                const uint32_t r2 = (dr * (255 - c) + sr * c + 127) / 255;
                const uint32_t g2 = (dg * (255 - c) + sg * c + 127) / 255;
                const uint32_t b2 = (db * (255 - c) + sb * c + 127) / 255;
                d = (r2 << 16) | (g2 << 8) | b2;
            }
        }
    });
}

} // namespace zyn::gdi

using namespace zyn::gdi;

COLORREF GetPixel(HDC hdc, int x, int y)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return CLR_INVALID;
    DrawScope scope(*dc, false);
    const POINT d = dc->ToDevice(POINT{x, y});
    if (!dc->surface || !dc->Clip().Contains(d.x + dc->origin.x, d.y + dc->origin.y))
        return CLR_INVALID;
    COLORREF c = 0;
    ReadDevicePixel(*dc, d.x, d.y, c);
    return c;
}

// SetPixel draws the colour through the DC's binary mix, as a one-pixel pen would
// (R2_XORPEN with red on white leaves cyan), and answers the colour it drew with: the
// requested colour as the surface holds it (the nearest entry on mono), before the mix.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return CLR_INVALID;
    DrawScope scope(*dc);
    const POINT d = dc->ToDevice(POINT{x, y});
    const int sx = d.x + dc->origin.x, sy = d.y + dc->origin.y;
    if (!dc->surface || !dc->Clip().Contains(sx, sy))
        return CLR_INVALID;
    SetDevicePixel(*dc, d.x, d.y, color);
    return PixelToColor(*dc->surface, ColorToPixel(*dc->surface, color));
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE; }
