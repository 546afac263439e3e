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
    for (const RECT& band : tri.Rects()) {
        ForEachClipRect(dc, band, [&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) {
                    const double px = x - ox, py = y - oy;
                    const double wa = (double(pb.y - pc.y) * (px - pc.x) + double(pc.x - pb.x) * (py - pc.y)) / det;
                    const double wb = (double(pc.y - pa.y) * (px - pc.x) + double(pa.x - pc.x) * (py - pc.y)) / det;
                    const double wc = 1.0 - wa - wb;
                    Rgba v;
                    for (int k = 0; k < 4; ++k) {
                        const double f = wa * ca.c[k] + wb * cb.c[k] + wc * cc.c[k];
                        v.c[k] = std::clamp(static_cast<int>(std::lround(f)), 0, 0xFFFF) >> 8;
                    }
                    s.SetRaw(x, y, Pack(s, v));
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
