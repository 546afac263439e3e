// GradientFill: rectangles (horizontal and vertical) and triangles.
//
// Interpolation runs on the vertices' full 16-bit COLOR16 channels, and a pixel takes
// the high byte of the interpolated value, so the low bytes count: 0xFF00 and 0xFE01
// (255 << 8 and 255 * 255) start the same but part company along the ramp. For a
// rectangle of n columns (RECT_H; rows for RECT_V) from channel value a (the left / top
// vertex) to b, column i (0..n-1) has (a + (b - a) * i / n) >> 8, the division
// truncating toward zero: the first column has exactly a's high byte, the last
// (a + (b - a) * (n - 1) / n) >> 8. Triangles cover the pixels a polygon of the three
// vertices covers; each pixel (x, y) takes the barycentric mix of the 16-bit vertex
// channels at the point (x, y), rounded, then its high byte. The alpha byte of colour
// surfaces receives the interpolated Alpha the same way.
//
// Speed without a changed pixel: ramps are written a row at a time; a triangle's rows are
// evaluated as linear functions and exactly only near a byte boundary (TriangleShader);
// a one-colour triangle is a fill; and a triangle drawn again (a bar's background at each
// paint) reuses the coverage and pixels kept per thread (TriangleCache).
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/region_shapes.h"
#include "platform/gdi/wingdi.h"

namespace {

using namespace zyn::gdi;

struct Rgba {
    int c[4]; // r, g, b, a: 8-bit channels of a pixel, or 16-bit channels of a vertex
};

Rgba Channels16(const TRIVERTEX& v) { return Rgba{{v.Red, v.Green, v.Blue, v.Alpha}}; }

uint32_t Pack(const Surface& s, const Rgba& v)
{
    if (s.IsMono())
        return ColorToPixel(s, RGB(v.c[0], v.c[1], v.c[2]));
    return (static_cast<uint32_t>(v.c[3]) << 24) | (static_cast<uint32_t>(v.c[0]) << 16) |
        (static_cast<uint32_t>(v.c[1]) << 8) | static_cast<uint32_t>(v.c[2]);
}

// Steps [i0, i1) of the ramp from a to b over n steps, as pixels of `s`. A bar or caption
// painted again and again asks for the same ramp: the last few asked for on a 32-bit
// surface are kept (per thread), so a repaint computes each once.
const std::vector<uint32_t>& Ramp(const Surface& s, const Rgba& a, const Rgba& b, int n, int i0, int i1)
{
    struct Kept {
        Rgba a{}, b{};
        int n = 0, i0 = 0, i1 = -1;
        std::vector<uint32_t> ramp;
    };
    thread_local Kept kept[4];
    thread_local unsigned next = 0;
    thread_local std::vector<uint32_t> mono;
    auto same = [](const Rgba& x, const Rgba& y) {
        return x.c[0] == y.c[0] && x.c[1] == y.c[1] && x.c[2] == y.c[2] && x.c[3] == y.c[3];
    };
    if (!s.IsMono())
        for (const Kept& k : kept)
            if (k.n == n && k.i0 == i0 && k.i1 == i1 && same(k.a, a) && same(k.b, b))
                return k.ramp;
    // A mono surface's pixels depend on its colour table: not kept.
    Kept* slot = nullptr;
    if (!s.IsMono()) {
        slot = &kept[next++ % std::size(kept)];
        slot->a = a;
        slot->b = b;
        slot->n = n;
        slot->i0 = i0;
        slot->i1 = i1;
    }
    std::vector<uint32_t>& ramp = slot ? slot->ramp : mono;
    ramp.assign(static_cast<size_t>(i1 - i0), 0);
    // Channel k at step i is a + (b - a) * i / n, the quotient truncated toward zero: kept
    // as the magnitude's quotient and remainder, which each step advances by |b - a| / n
    // and its remainder, with no division per pixel.
    struct Step {
        int64_t q, r, dq, dr;
        bool negative;
    } st[4];
    for (int k = 0; k < 4; ++k) {
        const int64_t d = b.c[k] - a.c[k];
        const int64_t m = d < 0 ? -d : d;
        st[k] = Step{m * i0 / n, m * i0 % n, m / n, m % n, d < 0};
    }
    for (int i = i0; i < i1; ++i) {
        Rgba v;
        for (int k = 0; k < 4; ++k) {
            Step& t = st[k];
            v.c[k] = (a.c[k] + static_cast<int>(t.negative ? -t.q : t.q)) >> 8;
            t.q += t.dq;
            t.r += t.dr;
            if (t.r >= n) {
                ++t.q;
                t.r -= n;
            }
        }
        ramp[static_cast<size_t>(i - i0)] = Pack(s, v);
    }
    return ramp;
}

void FillRectGradient(Dc& dc, const TRIVERTEX& v1, const TRIVERTEX& v2, bool vertical)
{
    const POINT p1 = dc.ToDevice(POINT{v1.x, v1.y});
    const POINT p2 = dc.ToDevice(POINT{v2.x, v2.y});
    const RECT r{std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.x, p2.x), std::max(p1.y, p2.y)};
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    // The start colour belongs to the vertex on the left (top for vertical).
    const bool firstIsStart = vertical ? p1.y <= p2.y : p1.x <= p2.x;
    const Rgba a = Channels16(firstIsStart ? v1 : v2);
    const Rgba b = Channels16(firstIsStart ? v2 : v1);
    const int n = vertical ? r.bottom - r.top : r.right - r.left;
    // Only the visible part of the ramp is computed.
    const RECT box = dc.Clip().Box();
    const int lo = vertical ? r.top : r.left;
    const int i0 = std::max(0, static_cast<int>((vertical ? box.top - dc.origin.y : box.left - dc.origin.x) - lo));
    const int i1 = std::min(n, static_cast<int>((vertical ? box.bottom - dc.origin.y : box.right - dc.origin.x) - lo));
    if (i0 >= i1)
        return;
    Surface& s = *dc.surface;
    const std::vector<uint32_t>& ramp = Ramp(s, a, b, n, i0, i1);
    const int ox = dc.origin.x, oy = dc.origin.y;
    ForEachClipRect(dc, r, [&](const RECT& c) {
        for (int y = c.top; y < c.bottom; ++y) {
            if (!s.IsMono()) {
                // A row of a vertical ramp is one colour; of a horizontal one, a piece of it.
                uint32_t* row = s.Row32(y);
                if (vertical)
                    std::fill(row + c.left, row + c.right, ramp[static_cast<size_t>(y - oy - r.top - i0)]);
                else
                    std::copy_n(ramp.begin() + (c.left - ox - r.left - i0), c.right - c.left, row + c.left);
                continue;
            }
            for (int x = c.left; x < c.right; ++x) {
                const int i = vertical ? y - oy - r.top : x - ox - r.left;
                s.SetRaw(x, y, ramp[static_cast<size_t>(i - i0)]);
            }
        }
    });
}

// clamp(lround(f), 0, 0xFFFF) without the library call or a branch, for the channel mix
// below: the nearest integer, halves away from zero. Within [0, 0xFFFF) the conversion
// truncates to floor(f) and f - floor(f) is exact, so the half test is the one lround
// makes; below zero and from 0xFFFF on, the clamp gives what it gives lround's result.
inline int RoundChannel(double f)
{
    f = std::min(std::max(f, -1.0), 65536.0);
    const int whole = static_cast<int>(f);
    return std::min(std::max(whole + (f - whole >= 0.5 ? 1 : 0), 0), 0xFFFF);
}

// The colours of one triangle. A pixel's value is defined by the barycentric weights
// evaluated term for term as Exact() does; it depends on the pixel's offset from the third
// vertex only. Along a row every channel's mix is a linear function of x, far cheaper to
// evaluate: Row() takes the linear value's byte when the value lies farther from every
// byte boundary than the two evaluations can be apart, and evaluates the pixel exactly
// otherwise, so the values are the same to the bit.
class TriangleShader {
public:
    // Vertices as offsets from the third one (which is at (0, 0)).
    TriangleShader(POINT a, POINT b, const Rgba& ca, const Rgba& cb, const Rgba& cc)
        : m_ax(double(b.y)), m_ay(double(-b.x)), m_bx(double(-a.y)), m_by(double(a.x)),
          m_det(double(b.y) * a.x + double(-b.x) * a.y)
    {
        for (int k = 0; k < 4; ++k) {
            m_fa[k] = ca.c[k];
            m_fb[k] = cb.c[k];
            m_fc[k] = cc.c[k];
            // A channel the three vertices share is that value at every pixel: the weights
            // sum to one within a few units in the last place.
            m_varies[k] = ca.c[k] != cb.c[k] || ca.c[k] != cc.c[k];
            m_fixed.c[k] = ca.c[k] >> 8;
            m_slope[k] = ((m_fa[k] - m_fc[k]) * m_ax + (m_fb[k] - m_fc[k]) * m_bx) / m_det;
        }
    }
    bool Flat() const { return m_det == 0; }

    // The rule at (px, py), offsets from the third vertex.
    Rgba Exact(double px, double py) const
    {
        const double wa = (m_ax * px + m_ay * py) / m_det;
        const double wb = (m_bx * px + m_by * py) / m_det;
        const double wc = 1.0 - wa - wb;
        Rgba v = m_fixed;
        for (int k = 0; k < 4; ++k)
            if (m_varies[k])
                v.c[k] = RoundChannel(wa * m_fa[k] + wb * m_fb[k] + wc * m_fc[k]) >> 8;
        return v;
    }

    // n pixels of row py from px0 on, packed for the surface.
    void Row(const Surface& s, double px0, int n, double py, uint32_t* out) const
    {
        constexpr double kUnit = 0x1p-53; // the relative rounding error of one operation
        constexpr double kMax = 65535.0;  // the largest channel value
        const double pxLast = px0 + (n - 1);
        const double reach = std::max(std::abs(px0), std::abs(pxLast));
        const double rowA = m_ay * py, rowB = m_by * py;
        // Each channel's mix plus one half (the rounding's offset) at px is base + slope * px.
        double base[4] = {};
        double most = 0;
        for (int k = 0; k < 4; ++k) {
            base[k] = ((m_fa[k] - m_fc[k]) * rowA + (m_fb[k] - m_fc[k]) * rowB) / m_det + m_fc[k] + 0.5;
            most = std::max(most, std::abs(base[k]) + std::abs(m_slope[k]) * reach);
        }
        // A generous bound on how far the two evaluations can be apart: a few units of
        // rounding on every term either one sums.
        const double absDet = std::abs(m_det);
        const double sa = (std::abs(m_ax) * reach + std::abs(rowA)) / absDet;
        const double sb = (std::abs(m_bx) * reach + std::abs(rowB)) / absDet;
        const double terms = kMax * (2 * (sa + sb) + 1) + most;
        const double margin = 64 * kUnit * terms + 1e-9;
        if (!(margin < 0.25)) {
            for (int i = 0; i < n; ++i)
                out[i] = Pack(s, Exact(px0 + i, py));
            return;
        }
        const double high = 256 - margin;
        for (int i = 0; i < n; ++i) {
            const double px = px0 + i;
            Rgba v = m_fixed;
            bool unsure = false;
            for (int k = 0; k < 4; ++k) {
                if (!m_varies[k])
                    continue;
                // The byte is floor(t / 256) clamped to 0..255; its boundaries are the
                // multiples of 256 from 256 to 65280.
                const double t = std::min(std::max(base[k] + m_slope[k] * px, 0.0), 65535.0);
                const int byte = static_cast<int>(t * (1.0 / 256));
                const double into = t - 256.0 * byte;
                unsure |= (into < margin && byte >= 1) || (into > high && byte <= 254);
                v.c[k] = byte;
            }
            out[i] = Pack(s, unsure ? Exact(px, py) : v);
        }
    }

    bool SameAs(const TriangleShader& o) const
    {
        if (m_ax != o.m_ax || m_ay != o.m_ay || m_bx != o.m_bx || m_by != o.m_by)
            return false;
        for (int k = 0; k < 4; ++k)
            if (m_fa[k] != o.m_fa[k] || m_fb[k] != o.m_fb[k] || m_fc[k] != o.m_fc[k])
                return false;
        return true;
    }

private:
    double m_ax, m_ay, m_bx, m_by, m_det;
    double m_fa[4], m_fb[4], m_fc[4], m_slope[4];
    bool m_varies[4];
    Rgba m_fixed;
};

// A triangle painted again (a bar's background at every paint) takes its coverage and its
// pixels from what was kept the second time it was drawn: both depend on the offsets from
// the third vertex only (the edges are stepped in integers), so they serve wherever the
// triangle lands. A few triangles of bounded size are kept per thread, the least recently
// used dropped.
class TriangleCache {
public:
    static constexpr size_t kEntries = 4;
    static constexpr int64_t kMaxPixels = int64_t(1) << 19; // 2 MB of pixels

    struct Kept {
        Region coverage;               // offsets from the third vertex
        RECT box{};                    // the bounding box of the offsets
        std::vector<uint32_t> pixels;  // over the box, row by row; empty for one colour
    };

    // What is kept of the triangle `shader` with vertex offsets `offsets`, drawn on a
    // 32-bit surface; null the first time it is asked for.
    const Kept* Find(const TriangleShader& shader, const POINT (&offsets)[3], bool solid, const Surface& s)
    {
        const RECT box{std::min({offsets[0].x, offsets[1].x, offsets[2].x}),
            std::min({offsets[0].y, offsets[1].y, offsets[2].y}),
            std::max({offsets[0].x, offsets[1].x, offsets[2].x}) + 1,
            std::max({offsets[0].y, offsets[1].y, offsets[2].y}) + 1};
        const int64_t pixels = int64_t(box.right - box.left) * (box.bottom - box.top);
        if (pixels <= 0 || pixels > kMaxPixels)
            return nullptr;
        ++m_clock;
        for (Entry& e : m_entries) {
            if (!e.shader || !e.shader->SameAs(shader))
                continue;
            e.used = m_clock;
            if (!e.ready) { // seen once: now it is worth keeping
                e.kept.coverage = PolygonRegion(offsets, {}, ALTERNATE, nullptr);
                e.kept.box = box;
                if (!solid) {
                    e.kept.pixels.resize(static_cast<size_t>(pixels));
                    const int w = box.right - box.left;
                    for (int y = box.top; y < box.bottom; ++y)
                        shader.Row(s, box.left, w, y, e.kept.pixels.data() + size_t(y - box.top) * w);
                }
                e.ready = true;
            }
            return &e.kept;
        }
        Entry* slot = &m_entries[0];
        for (Entry& e : m_entries)
            if (e.used < slot->used)
                slot = &e;
        *slot = Entry{};
        slot->shader.emplace(shader);
        slot->used = m_clock;
        return nullptr;
    }

private:
    struct Entry {
        std::optional<TriangleShader> shader;
        bool ready = false;
        Kept kept;
        uint64_t used = 0;
    };
    std::array<Entry, kEntries> m_entries;
    uint64_t m_clock = 0;
};

void FillTriangle(Dc& dc, const TRIVERTEX& a, const TRIVERTEX& b, const TRIVERTEX& c)
{
    const POINT pa = dc.ToDevice(POINT{a.x, a.y});
    const POINT pb = dc.ToDevice(POINT{b.x, b.y});
    const POINT pc = dc.ToDevice(POINT{c.x, c.y});
    const POINT offsets[3] = {{pa.x - pc.x, pa.y - pc.y}, {pb.x - pc.x, pb.y - pc.y}, {0, 0}};
    const Rgba ca = Channels16(a), cb = Channels16(b), cc = Channels16(c);
    const TriangleShader shader(offsets[0], offsets[1], ca, cb, cc);
    if (shader.Flat())
        return;
    Surface& s = *dc.surface;
    const int ox = dc.origin.x, oy = dc.origin.y;
    RECT limit = dc.Clip().Box(); // only the visible rows are drawn
    limit.top -= oy;
    limit.bottom -= oy;

    // Three vertices of one colour: every pixel's mix rounds to that colour.
    bool solid = true;
    for (int k = 0; k < 4; ++k)
        solid = solid && ca.c[k] == cb.c[k] && ca.c[k] == cc.c[k];
    const uint32_t solidPixel = solid ? Pack(s, shader.Exact(0, 0)) : 0;

    thread_local TriangleCache cache;
    const TriangleCache::Kept* kept = s.IsMono() ? nullptr : cache.Find(shader, offsets, solid, s);
    // Offsets from the third vertex of surface pixel (x, y): (x - dx, y - dy).
    const int dx = ox + pc.x, dy = oy + pc.y;
    std::vector<uint32_t> row;
    auto fill = [&](const RECT& r) {
        const int n = r.right - r.left;
        for (int y = r.top; y < r.bottom; ++y) {
            const int px = r.left - dx, py = y - dy;
            if (solid && !s.IsMono()) {
                std::fill(s.Row32(y) + r.left, s.Row32(y) + r.right, solidPixel);
            } else if (solid) {
                for (int x = r.left; x < r.right; ++x)
                    s.SetRaw(x, y, solidPixel);
            } else if (kept && px >= kept->box.left && px + n <= kept->box.right && py >= kept->box.top &&
                py < kept->box.bottom) {
                const int w = kept->box.right - kept->box.left;
                const uint32_t* from = kept->pixels.data() + size_t(py - kept->box.top) * w + (px - kept->box.left);
                std::copy(from, from + n, s.Row32(y) + r.left);
            } else if (!s.IsMono()) {
                shader.Row(s, px, n, py, s.Row32(y) + r.left);
            } else {
                row.resize(static_cast<size_t>(n));
                shader.Row(s, px, n, py, row.data());
                for (int i = 0; i < n; ++i)
                    s.SetRaw(r.left + i, y, row[static_cast<size_t>(i)]);
            }
        }
    };
    if (kept) {
        for (const RECT& k : kept->coverage.Rects()) {
            const RECT band{k.left + pc.x, k.top + pc.y, k.right + pc.x, k.bottom + pc.y};
            if (band.top >= limit.bottom)
                break;
            if (band.bottom > limit.top)
                ForEachClipRect(dc, band, fill);
        }
        return;
    }
    const POINT pts[3] = {pa, pb, pc};
    const Region tri = PolygonRegion(pts, {}, ALTERNATE, &limit);
    for (const RECT& band : tri.Rects())
        ForEachClipRect(dc, band, fill);
}

} // namespace

BOOL GradientFill(HDC hdc, TRIVERTEX* pVertex, ULONG nVertex, void* pMesh, ULONG nMesh, ULONG ulMode)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!pVertex || nVertex == 0 || (nMesh > 0 && !pMesh) || ulMode > GRADIENT_FILL_TRIANGLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Validate every index before drawing anything.
    if (ulMode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(pMesh);
        for (ULONG i = 0; i < nMesh; ++i)
            if (tri[i].Vertex1 >= nVertex || tri[i].Vertex2 >= nVertex || tri[i].Vertex3 >= nVertex) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
    } else {
        const auto* rc = static_cast<const GRADIENT_RECT*>(pMesh);
        for (ULONG i = 0; i < nMesh; ++i)
            if (rc[i].UpperLeft >= nVertex || rc[i].LowerRight >= nVertex) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
    }
    if (!dc->surface)
        return TRUE;
    DrawScope scope(*dc);
    if (ulMode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(pMesh);
        for (ULONG i = 0; i < nMesh; ++i)
            FillTriangle(*dc, pVertex[tri[i].Vertex1], pVertex[tri[i].Vertex2], pVertex[tri[i].Vertex3]);
    } else {
        const auto* rc = static_cast<const GRADIENT_RECT*>(pMesh);
        for (ULONG i = 0; i < nMesh; ++i)
            FillRectGradient(*dc, pVertex[rc[i].UpperLeft], pVertex[rc[i].LowerRight], ulMode == GRADIENT_FILL_RECT_V);
    }
    return TRUE;
}
