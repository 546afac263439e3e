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
#include <algorithm>
#include <cmath>

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
    std::vector<uint32_t> ramp(static_cast<size_t>(i1 - i0));
    Surface& s = *dc.surface;
    for (int i = i0; i < i1; ++i) {
        Rgba v;
        for (int k = 0; k < 4; ++k)
            v.c[k] = (a.c[k] + static_cast<int>((static_cast<int64_t>(b.c[k] - a.c[k]) * i) / n)) >> 8;
        ramp[static_cast<size_t>(i - i0)] = Pack(s, v);
    }
    const int ox = dc.origin.x, oy = dc.origin.y;
    ForEachClipRect(dc, r, [&](const RECT& c) {
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x) {
                const int i = vertical ? y - oy - r.top : x - ox - r.left;
                s.SetRaw(x, y, ramp[static_cast<size_t>(i - i0)]);
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

void FillTriangle(Dc& dc, const TRIVERTEX& a, const TRIVERTEX& b, const TRIVERTEX& c)
{
    const POINT pa = dc.ToDevice(POINT{a.x, a.y});
    const POINT pb = dc.ToDevice(POINT{b.x, b.y});
    const POINT pc = dc.ToDevice(POINT{c.x, c.y});
    const double det = double(pb.y - pc.y) * (pa.x - pc.x) + double(pc.x - pb.x) * (pa.y - pc.y);
    if (det == 0)
        return;
    const POINT pts[3] = {pa, pb, pc};
    RECT limit = dc.Clip().Box(); // only the visible rows are built
    limit.top -= dc.origin.y;
    limit.bottom -= dc.origin.y;
    const Region tri = PolygonRegion(pts, {}, ALTERNATE, &limit);
    const Rgba ca = Channels16(a), cb = Channels16(b), cc = Channels16(c);
    Surface& s = *dc.surface;
    const int ox = dc.origin.x, oy = dc.origin.y;

    // Three vertices of one colour: the weights sum to one within a few units in the last
    // place, so every pixel's mix rounds to that colour and the triangle is a solid fill.
    bool solid = true;
    for (int k = 0; k < 4; ++k)
        solid = solid && ca.c[k] == cb.c[k] && ca.c[k] == cc.c[k];
    if (solid) {
        Rgba v;
        for (int k = 0; k < 4; ++k)
            v.c[k] = ca.c[k] >> 8;
        const uint32_t pixel = Pack(s, v);
        for (const RECT& band : tri.Rects())
            ForEachClipRect(dc, band, [&](const RECT& r) {
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        s.SetRaw(x, y, pixel);
            });
        return;
    }

    // Each pixel's value is defined by the barycentric weights evaluated term for term as
    // Exact() does. Along a row every channel's mix is a linear function of x, which is
    // far cheaper to evaluate; a pixel takes the linear value's byte only when the value
    // lies farther from every byte boundary than both evaluations can be apart, and is
    // evaluated exactly otherwise, so the picture is the same to the bit.
    const double ax = double(pb.y - pc.y), ay = double(pc.x - pb.x);
    const double bx = double(pc.y - pa.y), by = double(pa.x - pc.x);
    double fa[4], fb[4], fc[4];
    bool varies[4];
    Rgba fixed;
    for (int k = 0; k < 4; ++k) {
        fa[k] = ca.c[k];
        fb[k] = cb.c[k];
        fc[k] = cc.c[k];
        // A channel the three vertices share is that value at every pixel, as above.
        varies[k] = ca.c[k] != cb.c[k] || ca.c[k] != cc.c[k];
        fixed.c[k] = ca.c[k] >> 8;
    }
    auto exact = [&](double px, double rowA, double rowB) {
        const double wa = (ax * (px - pc.x) + rowA) / det;
        const double wb = (bx * (px - pc.x) + rowB) / det;
        const double wc = 1.0 - wa - wb;
        Rgba v = fixed;
        for (int k = 0; k < 4; ++k)
            if (varies[k])
                v.c[k] = RoundChannel(wa * fa[k] + wb * fb[k] + wc * fc[k]) >> 8;
        return v;
    };
    // The per-channel slope along x does not depend on the row.
    double slope[4] = {};
    for (int k = 0; k < 4; ++k)
        slope[k] = ((fa[k] - fc[k]) * ax + (fb[k] - fc[k]) * bx) / det;
    constexpr double kUnit = 0x1p-53;  // the relative rounding error of one operation
    constexpr double kMax = 65535.0;   // the largest channel value
    const double absDet = std::abs(det);
    const bool mono = s.IsMono();
    for (const RECT& band : tri.Rects()) {
        ForEachClipRect(dc, band, [&](const RECT& r) {
            const double pxFirst = r.left - ox, pxLast = r.right - 1 - ox;
            const double reach = std::max(std::abs(pxFirst - pc.x), std::abs(pxLast - pc.x));
            const double pxMost = std::max(std::abs(pxFirst), std::abs(pxLast));
            for (int y = r.top; y < r.bottom; ++y) {
                const double py = y - oy;
                const double rowA = ay * (py - pc.y), rowB = by * (py - pc.y);
                uint32_t* row = mono ? nullptr : s.Row32(y);
                auto put = [&](int x, const Rgba& v) {
                    if (row)
                        row[x] = Pack(s, v);
                    else
                        s.SetRaw(x, y, Pack(s, v));
                };
                // Each channel's mix plus one half (the rounding's offset) at px is
                // base + slope * px.
                double base[4] = {};
                double baseMost = 0;
                for (int k = 0; k < 4; ++k) {
                    base[k] = ((fa[k] - fc[k]) * (rowA - ax * pc.x) + (fb[k] - fc[k]) * (rowB - bx * pc.x)) / det +
                        fc[k] + 0.5;
                    baseMost = std::max(baseMost, std::abs(base[k]) + std::abs(slope[k]) * pxMost);
                }
                // A generous bound on how far the two evaluations can be apart: a few
                // units of rounding on every term either one sums.
                const double sa = (std::abs(ax) * reach + std::abs(rowA)) / absDet;
                const double sb = (std::abs(bx) * reach + std::abs(rowB)) / absDet;
                const double terms = kMax *
                    (sa + sb + 1 +
                        ((std::abs(ax) + std::abs(bx)) * (pxMost + std::abs(pc.x)) + std::abs(rowA) + std::abs(rowB)) /
                            absDet) +
                    baseMost;
                const double margin = 64 * kUnit * terms + 1e-9;
                if (!(margin < 0.25)) {
                    for (int x = r.left; x < r.right; ++x)
                        put(x, exact(x - ox, rowA, rowB));
                    continue;
                }
                // A channel the vertices share has slope 0 and base c + 0.5: its byte is
                // c's high byte, half a unit or more from a boundary.
                const double high = 256 - margin;
                for (int x = r.left; x < r.right; ++x) {
                    const double px = x - ox;
                    Rgba v;
                    bool unsure = false;
                    for (int k = 0; k < 4; ++k) {
                        // The byte is floor(t / 256) clamped to 0..255; its boundaries
                        // are the multiples of 256 from 256 to 65280.
                        const double t = std::min(std::max(base[k] + slope[k] * px, 0.0), 65535.0);
                        const int byte = static_cast<int>(t * (1.0 / 256));
                        const double into = t - 256.0 * byte;
                        unsure |= (into < margin && byte >= 1) || (into > high && byte <= 254);
                        v.c[k] = std::min(byte, 255);
                    }
                    put(x, unsure ? exact(px, rowA, rowB) : v);
                }
            }
        });
    }
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
