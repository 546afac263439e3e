#pragma once
// Regions of shapes, shared by the region API and the shape primitives.
//   Polygons: pixel (x, y) is inside when the point (x, y) is inside the polygon under
//     the fill rule, edges sampled half-open (an edge covers y0 <= y < y1; a crossing at
//     x covers pixels from ceil(x) on), so a rectangle polygon (0,0)-(10,0)-(10,10)-(0,10)
//     gives exactly the pixels of RECT{0,0,10,10}.
//   Ellipses: pixel (x, y) is inside when its centre (x+0.5, y+0.5) is inside the ellipse
//     inscribed in the box (right/bottom excluded).
#include <span>

#include "platform/base/wintypes.h"
#include "platform/gdi/region.h"

namespace zyn::gdi {

// Ellipses and round rectangles cost one step a row: callers bound the box (see
// kMaxShapeRows) or pass `limit` as for polygons.
Region EllipseRegion(const RECT& box, const RECT* limit = nullptr);
// A rectangle with corners cut by quarter ellipses of width w and height h (clamped to
// the box).
Region RoundRectRegion(const RECT& box, int w, int h, const RECT* limit = nullptr);
// One or more closed polygons: `counts` gives the points of each (all of `pts` when
// empty). fillMode ALTERNATE (even-odd) or WINDING (non-zero). With `limit`, only rows
// inside limit->top..bottom are computed (drawing passes its clip box). Runs of rows
// where every active edge is vertical cost one step, however tall.
Region PolygonRegion(std::span<const POINT> pts, std::span<const int> counts, int fillMode,
    const RECT* limit = nullptr);
// Shape regions are built row by row; the region API refuses shapes taller than this
// (rectangles excepted), so bad input cannot exhaust memory.
inline constexpr int kMaxShapeRows = 1 << 20;

} // namespace zyn::gdi
