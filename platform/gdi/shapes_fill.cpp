// Filled shapes: Rectangle, RoundRect, Ellipse, Polygon, PolyPolygon.
//
// Every shape paints its inside with the selected brush and its outline with the selected
// pen, both through the DC's binary mix, and no pixel twice: the inside is what lies
// within the outline, minus the outline's own pixels.
//
//   Rectangle  the outline runs through the pixel centres of columns left and right-1
//              and rows top and bottom-1, so the figure covers exactly the rectangle
//              (right and bottom excluded). With a null pen only the inside is painted:
//              [left, right-1) x [top, bottom-1), one pixel less each way.
//   Ellipse,   the figure is the ellipse (or rounded rectangle) of the box (pixels whose
//   RoundRect  centres lie inside; see shapes_raster.h); a cosmetic outline is its
//              boundary (inside pixels with a 4-neighbour outside). With a null pen the
//              inside is the figure of the box one pixel smaller on the right and bottom.
//   Polygon    the inside follows the polygon fill mode with pixels whose point (x, y)
//              lies inside; the outline is the closed polyline through the points, so it
//              covers the vertices (a square of points 0..10 spans 11 pixels).
//   Wide pens  are centred on the outline: a pen of width w covers w/2 (rounded down)
//              pixels outside it and (w-1)/2 inside, except PS_INSIDEFRAME, which keeps
//              the whole stroke inside the box. Curves draw a ring of the pen's width (no
//              dashes); rectangles and polygons stroke their path with the pen's joins.
#include <algorithm>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;

namespace {

bool Visible(const RECT& r) { return r.left < r.right && r.top < r.bottom; }

// An ellipse, or a rounded rectangle with corner ellipses cw x ch.
struct RowShape {
    bool rounded = false;
    int cw = 0, ch = 0;

    bool Span(const RECT& box, int y, int& x0, int& x1) const
    {
        return rounded ? RoundRectSpan(box, cw, ch, y, x0, x1) : EllipseSpan(box, y, x0, x1);
    }
    // The same shape on a box grown by d on every side (corners grow with it).
    RowShape Grown(int d) const
    {
        RowShape s = *this;
        s.cw = std::max(0, cw + 2 * d);
        s.ch = std::max(0, ch + 2 * d);
        return s;
    }
};

Region RowShapeRegion(const RowShape& shape, const RECT& box, const RECT& bound)
{
    RegionBuilder b;
    const int y0 = std::max(box.top, bound.top), y1 = std::min(box.bottom, bound.bottom);
    for (int y = y0; y < y1; ++y) {
        int x0, x1;
        if (!shape.Span(box, y, x0, x1))
            continue;
        const int a = std::max(x0, bound.left), c = std::min(x1 + 1, bound.right);
        if (a < c)
            b.AddBand(y, y + 1, {{a, c}});
    }
    return b.Finish();
}

// The cosmetic outline of a row shape and the inside it encloses. When `ordered`, the
// outline pixels carry style steps along the curve (clockwise from the top centre);
// otherwise they come row by row.
void RowShapeOutline(const RowShape& shape, const RECT& box, const RECT& bound, bool ordered,
    std::vector<LinePixel>& outline, Region& inside)
{
    // Styled outlines number their pixels over the whole curve, so the pattern does not
    // depend on the clip; beyond any real size they fall back to the visible rows.
    const bool whole =
        ordered && int64_t(box.bottom) - box.top <= 65536 && int64_t(box.right) - box.left <= 65536;
    const int r0 = whole ? box.top : std::max(box.top, bound.top);
    const int r1 = whole ? box.bottom : std::min(box.bottom, bound.bottom);
    if (r0 >= r1)
        return;
    struct Row {
        bool any;
        int x0, x1;
    };
    std::vector<Row> rows(static_cast<size_t>(r1 - r0 + 2));
    for (int y = r0 - 1; y <= r1; ++y) {
        Row& row = rows[static_cast<size_t>(y - r0 + 1)];
        row.any = shape.Span(box, y, row.x0, row.x1);
    }
    struct Keyed {
        int half, rowKey, xKey;
        LinePixel px;
    };
    std::vector<Keyed> keyed;
    RegionBuilder in;
    auto emit = [&](int x, int y) {
        if (!whole && (x < bound.left || x >= bound.right))
            return;
        if (!ordered) {
            outline.push_back(LinePixel{x, y, 0});
            return;
        }
        const bool right = 2 * int64_t(x) + 1 >= int64_t(box.left) + box.right;
        const int64_t cy2 = int64_t(box.top) + box.bottom;
        const bool upper = right ? 2 * int64_t(y) + 1 <= cy2 : 2 * int64_t(y) + 1 < cy2;
        keyed.push_back(Keyed{right ? 0 : 1, right ? y : -y, upper ? x : -x, LinePixel{x, y, 0}});
    };
    for (int y = r0; y < r1; ++y) {
        const Row& row = rows[static_cast<size_t>(y - r0 + 1)];
        if (!row.any)
            continue;
        const Row& up = rows[static_cast<size_t>(y - r0)];
        const Row& down = rows[static_cast<size_t>(y - r0 + 2)];
        // A pixel is on the outline when it ends its row or the pixel above or below is
        // outside the figure.
        const int64_t nearLeft = std::max<int64_t>(up.any ? up.x0 : INT64_MAX / 4, down.any ? down.x0 : INT64_MAX / 4);
        const int64_t nearRight = std::min<int64_t>(up.any ? up.x1 : INT64_MIN / 4, down.any ? down.x1 : INT64_MIN / 4);
        const int64_t leftEnd = std::min<int64_t>(row.x1, std::max<int64_t>(row.x0, nearLeft - 1));
        const int64_t rightStart = std::max<int64_t>(row.x0, std::min<int64_t>(row.x1, nearRight + 1));
        const bool inBand = y >= bound.top && y < bound.bottom;
        if (leftEnd + 1 >= rightStart) {
            const int64_t a = whole ? row.x0 : std::max<int64_t>(row.x0, bound.left);
            const int64_t c = whole ? row.x1 : std::min<int64_t>(row.x1, bound.right - 1);
            for (int64_t x = a; x <= c; ++x)
                emit(static_cast<int>(x), y);
            continue;
        }
        const int64_t la = whole ? row.x0 : std::max<int64_t>(row.x0, bound.left);
        const int64_t lc = whole ? leftEnd : std::min<int64_t>(leftEnd, bound.right - 1);
        for (int64_t x = la; x <= lc; ++x)
            emit(static_cast<int>(x), y);
        const int64_t ra = whole ? rightStart : std::max<int64_t>(rightStart, bound.left);
        const int64_t rc = whole ? row.x1 : std::min<int64_t>(row.x1, bound.right - 1);
        for (int64_t x = ra; x <= rc; ++x)
            emit(static_cast<int>(x), y);
        if (inBand) {
            const int64_t a = std::max<int64_t>(leftEnd + 1, bound.left);
            const int64_t c = std::min<int64_t>(rightStart, bound.right);
            if (a < c)
                in.AddBand(y, y + 1, {{static_cast<int>(a), static_cast<int>(c)}});
        }
    }
    inside = in.Finish();
    if (!ordered)
        return;
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.half != b.half)
            return a.half < b.half;
        if (a.rowKey != b.rowKey)
            return a.rowKey < b.rowKey;
        return a.xKey < b.xKey;
    });
    uint32_t step = 0;
    for (Keyed& k : keyed) {
        k.px.step = step++;
        if (k.px.x >= bound.left && k.px.x < bound.right && k.px.y >= bound.top && k.px.y < bound.bottom)
            outline.push_back(k.px);
    }
}

BOOL DrawRowShape(HDC hdc, const RECT& logical, RowShape shape)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    RECT box;
    if (!ToDeviceRect(*dc, logical, box))
        return FALSE;
    const Pen pen = CurrentPen(*dc);
    const RECT bound = DeviceClipBox(*dc);
    if (!Visible(box) || !Visible(bound))
        return TRUE;
    DrawScope scope(*dc);
    switch (pen.kind) {
    case Pen::Kind::Null: {
        const RECT smaller{box.left, box.top, box.right - 1, box.bottom - 1};
        if (Visible(smaller))
            PaintDeviceRegion(*dc, RowShapeRegion(shape, smaller, bound), dc->Brush());
        break;
    }
    case Pen::Kind::Cosmetic: {
        std::vector<LinePixel> outline;
        Region inside;
        RowShapeOutline(shape, box, bound, !pen.runs.empty(), outline, inside);
        PaintDeviceRegion(*dc, inside, dc->Brush());
        DrawCosmetic(*dc, pen, outline);
        break;
    }
    case Pen::Kind::Wide: {
        const int w = pen.width;
        RECT outer = box;
        RowShape outerShape = shape;
        if (!pen.insideFrame) {
            outer = RECT{box.left - w / 2, box.top - w / 2, box.right + (w - 1) / 2, box.bottom + (w - 1) / 2};
            outerShape.cw = shape.cw + (w - 1);
            outerShape.ch = shape.ch + (w - 1);
        }
        const RECT inner{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
        const RowShape innerShape = outerShape.Grown(-w);
        Region hole;
        if (Visible(inner))
            hole = RowShapeRegion(innerShape, inner, bound);
        const Region ring = RowShapeRegion(outerShape, outer, bound).Subtract(hole);
        PaintDeviceRegion(*dc, hole, dc->Brush());
        PaintStroke(*dc, pen, ring);
        break;
    }
    }
    return TRUE;
}

std::vector<PointF> ToF(std::span<const POINT> pts)
{
    std::vector<PointF> f;
    f.reserve(pts.size());
    for (const POINT& p : pts)
        f.push_back(PointF{double(p.x), double(p.y)});
    return f;
}

// Closed figures: `polys` in device coordinates, the inside under `fillMode`; a cosmetic
// outline or a wide stroke through the points; a stroke of an inside-frame pen is kept
// within `frame` when given.
void DrawClosedFigures(Dc& dc, const std::vector<std::vector<POINT>>& polys, int fillMode, const Region& insideIn,
    const RECT* frame)
{
    const Pen pen = CurrentPen(dc);
    const RECT bound = DeviceClipBox(dc);
    Region inside = insideIn;
    switch (pen.kind) {
    case Pen::Kind::Null:
        PaintDeviceRegion(dc, inside, dc.Brush());
        break;
    case Pen::Kind::Cosmetic: {
        std::vector<LinePixel> outline;
        for (const auto& poly : polys) {
            uint32_t step = 0;
            WalkPath(poly, true, bound, outline, step);
        }
        if (pen.runs.empty()) {
            UniquePixels(outline);
        } else {
            // Keep the path order for the style; drop repeats of a pixel already drawn.
            std::vector<LinePixel> sorted = outline;
            UniquePixels(sorted);
            std::vector<LinePixel> ordered;
            ordered.reserve(sorted.size());
            std::vector<bool> done(sorted.size(), false);
            for (const LinePixel& p : outline) {
                auto it = std::lower_bound(sorted.begin(), sorted.end(), p,
                    [](const LinePixel& a, const LinePixel& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
                const size_t k = static_cast<size_t>(it - sorted.begin());
                if (!done[k]) {
                    done[k] = true;
                    ordered.push_back(p);
                }
            }
            outline = std::move(ordered);
        }
        inside = inside.Subtract(PixelsRegion(outline));
        PaintDeviceRegion(dc, inside, dc.Brush());
        DrawCosmetic(dc, pen, outline);
        break;
    }
    case Pen::Kind::Wide: {
        Region stroke;
        for (const auto& poly : polys)
            stroke = stroke.Union(StrokeRegion(pen, ToF(poly), true, bound));
        if (frame)
            stroke = stroke.Intersect(*frame);
        inside = inside.Subtract(stroke);
        PaintDeviceRegion(dc, inside, dc.Brush());
        PaintStroke(dc, pen, stroke);
        break;
    }
    }
    (void)fillMode;
}

} // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    RECT box;
    if (!ToDeviceRect(*dc, RECT{left, top, right, bottom}, box))
        return FALSE;
    const RECT bound = DeviceClipBox(*dc);
    if (!Visible(box) || !Visible(bound))
        return TRUE;
    const Pen pen = CurrentPen(*dc);
    DrawScope scope(*dc);
    // The path through the outline's pixel centres.
    RECT path{box.left, box.top, box.right - 1, box.bottom - 1};
    if (pen.kind == Pen::Kind::Wide && pen.insideFrame) {
        const int w = pen.width;
        path = RECT{box.left + w / 2, box.top + w / 2, box.right - (w + 1) / 2, box.bottom - (w + 1) / 2};
        if (path.left > path.right)
            path.left = path.right = box.left + (box.right - box.left - 1) / 2;
        if (path.top > path.bottom)
            path.top = path.bottom = box.top + (box.bottom - box.top - 1) / 2;
    }
    if (pen.kind == Pen::Kind::Null) {
        PaintDeviceRect(*dc, path, dc->Brush());
        return TRUE;
    }
    const std::vector<std::vector<POINT>> polys{
        {POINT{path.left, path.top}, POINT{path.right, path.top}, POINT{path.right, path.bottom},
            POINT{path.left, path.bottom}}};
    const RECT inner{std::max(path.left, bound.left), std::max(path.top, bound.top), std::min(path.right, bound.right),
        std::min(path.bottom, bound.bottom)};
    Region inside;
    if (Visible(inner))
        inside = Region(inner);
    DrawClosedFigures(*dc, polys, ALTERNATE, inside, pen.insideFrame ? &box : nullptr);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawRowShape(hdc, RECT{left, top, right, bottom}, RowShape{});
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    RowShape s;
    s.rounded = true;
    s.cw = width < 0 ? (width == INT32_MIN ? INT32_MAX : -width) : width;
    s.ch = height < 0 ? (height == INT32_MIN ? INT32_MAX : -height) : height;
    return DrawRowShape(hdc, RECT{left, top, right, bottom}, s);
}

BOOL PolyPolygon(HDC hdc, const POINT* apt, const INT* asz, int csz)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!apt || !asz || csz < 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<std::vector<POINT>> polys;
    polys.reserve(static_cast<size_t>(csz));
    size_t at = 0;
    for (int i = 0; i < csz; ++i) {
        if (asz[i] < 2) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::vector<POINT> poly(static_cast<size_t>(asz[i]));
        for (POINT& p : poly)
            if (!ToDevicePoint(*dc, apt[at++], p))
                return FALSE;
        polys.push_back(std::move(poly));
    }
    const RECT bound = DeviceClipBox(*dc);
    if (!Visible(bound))
        return TRUE;
    const int mode = dc->st.polyFillMode == WINDING ? WINDING : ALTERNATE;
    Rasteriser r;
    for (const auto& poly : polys) {
        const std::vector<PointF> f = ToF(poly);
        r.AddPolygon(f, false);
    }
    DrawScope scope(*dc);
    DrawClosedFigures(*dc, polys, mode, r.Fill(mode, bound), nullptr);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt)
{
    if (cpt < 2) {
        if (!DcFromHandle(hdc))
            return FALSE;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const INT count = cpt;
    return PolyPolygon(hdc, apt, &count, 1);
}
