#pragma once
// Geometry behind the line and shape primitives, in device coordinates, independent of
// any DC. The pixel conventions (every primitive keeps to them):
//
//   Lines     a cosmetic line walks from its first point to its last, one pixel per step
//             of the major axis; the last point is not drawn (a line drawn to where the
//             next one starts meets it without overlap). The minor coordinate is the
//             exact one rounded to nearest; an exact half rounds towards the smaller
//             coordinate, whichever way the line runs.
//   Figures   polygons and wide strokes cover pixel (x, y) when the point (x, y) lies
//             inside under the fill rule; a point on an edge belongs to the figure when
//             the edge is a left or top edge (spans are [ceil(xa), ceil(xb)), rows
//             y0 <= y < y1), so adjacent figures share no pixel.
//   Ellipses  pixel (x, y) is inside the ellipse of a box when its centre (x+.5, y+.5)
//             lies inside or on the ellipse inscribed in the box, so the ellipse touches
//             all four sides and is symmetric about both axes of the box.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/region.h"

namespace zyn::gdi::shapes {

// The shape primitives refuse device coordinates beyond this magnitude, so every
// intermediate value stays exact in 64-bit integers and doubles.
inline constexpr int64_t kMaxCoord = int64_t(1) << 27;

struct PointF {
    double x, y;
};

// ---- filled figures --------------------------------------------------------------------------
class Rasteriser {
public:
    // A closed polygon (the last point joins the first). With `orient`, the polygon is
    // turned to wind like every other oriented figure, so that WINDING gives their union.
    void AddPolygon(std::span<const PointF> pts, bool orient);
    void AddPolygon(std::initializer_list<PointF> pts) { AddPolygon(std::span<const PointF>(pts.begin(), pts.size()), true); }
    // A disc of radius r: pixels with (x-cx)^2 + (y-cy)^2 < r^2 (oriented like AddPolygon).
    void AddDisc(PointF c, double r);
    bool Empty() const { return m_edges.empty() && m_discs.empty(); }
    // The covered pixels inside `bound` (half-open), under ALTERNATE or WINDING.
    Region Fill(int fillMode, const RECT& bound) const;

private:
    struct Edge {
        double x0, y0, x1, y1; // y0 < y1
        int dir;               // +1 when the polygon runs downwards along it
    };
    struct Disc {
        double cx, cy, r;
    };
    std::vector<Edge> m_edges;
    std::vector<Disc> m_discs;
};

// ---- cosmetic lines --------------------------------------------------------------------------
struct LinePixel {
    int x, y;
    uint32_t step; // position along the path, for line styles
};

// Appends the pixels of the line p0 -> p1 (p1 excluded) that fall inside `bound`.
// `step` is the style position of p0's pixel; it advances by one per pixel, clipped or
// not, and is returned advanced past the line.
uint32_t WalkLine(POINT p0, POINT p1, const RECT& bound, uint32_t step, std::vector<LinePixel>& out);

// ---- wide strokes --------------------------------------------------------------------------
struct StrokeStyle {
    double width = 1;
    int endCap = 0;           // PS_ENDCAP_ROUND / SQUARE / FLAT
    int join = 0;             // PS_JOIN_ROUND / BEVEL / MITER
    double miterLimit = 10.0; // miter length over half the width, beyond which a miter bevels
};
// Adds the outline of a polyline (closed: the last point joins the first, and every
// vertex gets a join instead of caps) to `r`, every part oriented for a WINDING union.
void AddStroke(Rasteriser& r, std::span<const PointF> pts, bool closed, const StrokeStyle& style);

// Splits a polyline into dashes: `pattern` alternates on and off lengths (at least one
// non-zero). Open pieces come out in order; a closed path is walked back to its start.
// With a bound, only the parts of the path within `margin` of it are cut into pieces;
// the rest just moves the pattern on.
std::vector<std::vector<PointF>> Dashes(std::span<const PointF> pts, bool closed, std::span<const double> pattern,
    const RECT* bound = nullptr, double margin = 0);

// ---- convex row shapes --------------------------------------------------------------------
// The inclusive pixel span [x0, x1] of row y of the ellipse in `box` (see above); false
// when the row misses it. The box must be normalised; an empty box has no rows.
bool EllipseSpan(const RECT& box, int y, int& x0, int& x1);
// The same for a rectangle whose corners are rounded by quarter ellipses cw wide and ch
// high (clamped to the box; 0 gives square corners).
bool RoundRectSpan(const RECT& box, int cw, int ch, int y, int& x0, int& x1);
// The one-pixel boundary of the ellipse of `box`: its pixels with a 4-neighbour outside
// it, for rows [y0, y1) only, row by row.
void EllipseBoundary(const RECT& box, int y0, int y1, std::vector<POINT>& out);

} // namespace zyn::gdi::shapes
