// Pens, device coordinates and painting shared by the line and shape primitives.
#include "platform/gdi/shapes_draw.h"

#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi::shapes {

namespace {
bool InRange(int64_t v) { return v >= -kMaxCoord && v <= kMaxCoord; }
} // namespace

bool ToDevicePoint(const Dc& dc, POINT logical, POINT& device)
{
    const POINT d = dc.LogicalDelta();
    const int64_t x = int64_t(logical.x) + d.x, y = int64_t(logical.y) + d.y;
    if (!InRange(x) || !InRange(y)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    device = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
    return true;
}

bool ToDeviceRect(const Dc& dc, const RECT& logical, RECT& device)
{
    POINT a, b;
    if (!ToDevicePoint(dc, POINT{logical.left, logical.top}, a) ||
        !ToDevicePoint(dc, POINT{logical.right, logical.bottom}, b))
        return false;
    device = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return true;
}

RECT DeviceClipBox(Dc& dc)
{
    if (!dc.surface)
        return RECT{0, 0, 0, 0};
    RECT b = dc.Clip().Box();
    if (b.left >= b.right || b.top >= b.bottom)
        return RECT{0, 0, 0, 0};
    return RECT{b.left - dc.origin.x, b.top - dc.origin.y, b.right - dc.origin.x, b.bottom - dc.origin.y};
}

COLORREF SysColor(int index) { return PlainColor(GetSysColor(index)); }

// ---- the pen ---------------------------------------------------------------------------------
Pen CurrentPen(const Dc& dc)
{
    Pen pen;
    const PenObj* p = dc.Pen();
    if (!p)
        return pen;
    const int style = p->Style();
    if (style == PS_NULL || (p->extended && p->brushStyle == BS_NULL))
        return pen;
    pen.color = dc.PenColor();
    pen.insideFrame = style == PS_INSIDEFRAME;
    const bool geometric = p->extended ? (p->style & PS_TYPE_MASK) == static_cast<DWORD>(PS_GEOMETRIC) : p->width > 1;
    if (!geometric) {
        pen.kind = Pen::Kind::Cosmetic;
        pen.fillGaps = !p->extended && dc.st.bkMode == OPAQUE;
        switch (style) {
        case PS_DASH: pen.runs = {18, 6}; break;
        case PS_DOT: pen.runs = {3, 3}; break;
        case PS_DASHDOT: pen.runs = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: pen.runs = {9, 3, 3, 3, 3, 3}; break;
        case PS_ALTERNATE: pen.runs = {1, 1}; break;
        case PS_USERSTYLE:
            for (DWORD v : p->styleEntries)
                pen.runs.push_back(std::min<DWORD>(v, 1u << 20));
            break;
        default: break;
        }
        // A pattern must have an even number of runs (on, off) and some length.
        if (pen.runs.size() & 1)
            pen.runs.push_back(pen.runs.back());
        uint64_t total = 0;
        for (uint32_t v : pen.runs)
            total += v;
        if (total == 0)
            pen.runs.clear();
        return pen;
    }

    pen.kind = Pen::Kind::Wide;
    pen.width = std::max(1, p->width);
    pen.stroke.width = pen.width;
    if (p->extended) {
        pen.stroke.endCap = static_cast<int>(p->style & PS_ENDCAP_MASK);
        pen.stroke.join = static_cast<int>(p->style & PS_JOIN_MASK);
    } else {
        pen.stroke.endCap = PS_ENDCAP_ROUND;
        pen.stroke.join = PS_JOIN_ROUND;
    }
    const double w = pen.width;
    switch (style) {
    case PS_DASH: pen.dashes = {3 * w, w}; break;
    case PS_DOT: pen.dashes = {w, w}; break;
    case PS_DASHDOT: pen.dashes = {3 * w, w, w, w}; break;
    case PS_DASHDOTDOT: pen.dashes = {3 * w, w, w, w, w, w}; break;
    case PS_USERSTYLE:
        for (DWORD v : p->styleEntries)
            pen.dashes.push_back(v);
        break;
    default: break;
    }
    if (pen.dashes.size() & 1)
        pen.dashes.push_back(pen.dashes.back());
    double total = 0;
    for (double v : pen.dashes)
        total += v;
    if (total < 1)
        pen.dashes.clear();

    auto brush = std::make_shared<BrushObj>();
    brush->color = pen.color;
    if (p->extended && p->brushStyle == BS_HATCHED) {
        brush->style = BS_HATCHED;
        brush->hatch = static_cast<int>(p->hatch);
        brush->pattern = HatchPattern(brush->hatch);
    } else if (p->extended && (p->brushStyle == BS_PATTERN || p->brushStyle == BS_PATTERN8X8)) {
        auto bm = BitmapFromHandle(reinterpret_cast<HGDIOBJ>(p->hatch));
        if (!bm || !bm->surface) {
            pen.kind = Pen::Kind::Null; // the pattern bitmap is gone
            return pen;
        }
        brush->style = BS_PATTERN;
        brush->pattern = bm->surface;
    }
    pen.brush = std::move(brush);
    return pen;
}

// ---- cosmetic pixels ---------------------------------------------------------------------------
void WalkPath(std::span<const POINT> pts, bool closed, const RECT& bound, std::vector<LinePixel>& out, uint32_t& step)
{
    if (pts.empty())
        return;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        step = WalkLine(pts[i], pts[i + 1], bound, step, out);
    if (closed && pts.size() > 1)
        step = WalkLine(pts.back(), pts.front(), bound, step, out);
}

void UniquePixels(std::vector<LinePixel>& px)
{
    std::stable_sort(px.begin(), px.end(),
        [](const LinePixel& a, const LinePixel& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    px.erase(std::unique(px.begin(), px.end(), [](const LinePixel& a, const LinePixel& b) { return a.x == b.x && a.y == b.y; }),
        px.end());
}

Region PixelsRegion(std::span<const LinePixel> px)
{
    std::vector<LinePixel> sorted(px.begin(), px.end());
    UniquePixels(sorted);
    RegionBuilder b;
    size_t i = 0;
    while (i < sorted.size()) {
        const int y = sorted[i].y;
        std::vector<std::pair<int, int>> spans;
        for (; i < sorted.size() && sorted[i].y == y; ++i)
            spans.emplace_back(sorted[i].x, sorted[i].x + 1);
        b.AddBand(y, y + 1, std::move(spans));
    }
    return b.Finish();
}

void DrawCosmetic(Dc& dc, const Pen& pen, std::span<const LinePixel> px)
{
    if (pen.kind != Pen::Kind::Cosmetic || px.empty())
        return;
    uint64_t period = 0;
    for (uint32_t v : pen.runs)
        period += v;
    auto isOn = [&](uint32_t step) {
        if (period == 0)
            return true;
        uint64_t pos = step % period;
        for (size_t i = 0; i < pen.runs.size(); ++i) {
            if (pos < pen.runs[i])
                return (i & 1) == 0;
            pos -= pen.runs[i];
        }
        return true;
    };
    const bool opaque = pen.fillGaps;
    const COLORREF bk = PlainColor(dc.st.bkColor);

    // Consecutive pixels of one row and one state become one span; a lone pixel followed
    // by others straight above or below it (a vertical line) becomes one column. Each
    // pixel is still drawn once, in order.
    size_t i = 0;
    while (i < px.size()) {
        const bool on = isOn(px[i].step);
        size_t j = i + 1;
        // Takes in the following pixels that keep `across` and step along `along` one
        // pixel at a time in one direction, in the same state.
        auto extend = [&](int LinePixel::*along, int LinePixel::*across) {
            int dir = 0;
            while (j < px.size() && px[j].*across == px[i].*across && isOn(px[j].step) == on) {
                const int d = px[j].*along - px[j - 1].*along;
                if ((d != 1 && d != -1) || (dir != 0 && d != dir))
                    break;
                dir = d;
                ++j;
            }
        };
        extend(&LinePixel::x, &LinePixel::y);
        if (j == i + 1)
            extend(&LinePixel::y, &LinePixel::x);
        RECT r{px[i].x, px[i].y, px[i].x + 1, px[i].y + 1};
        for (size_t k = i + 1; k < j; ++k) {
            r.left = std::min<LONG>(r.left, px[k].x);
            r.right = std::max<LONG>(r.right, px[k].x + 1);
            r.top = std::min<LONG>(r.top, px[k].y);
            r.bottom = std::max<LONG>(r.bottom, px[k].y + 1);
        }
        if (on)
            MixDeviceRect(dc, r, pen.color);
        else if (opaque)
            MixDeviceRect(dc, r, bk);
        i = j;
    }
}

// ---- wide strokes -----------------------------------------------------------------------------
Region StrokeRegion(const Pen& pen, std::span<const PointF> pts, bool closed, const RECT& bound)
{
    Rasteriser r;
    if (pen.dashes.empty()) {
        AddStroke(r, pts, closed, pen.stroke);
    } else {
        const double margin = pen.stroke.width * std::max(1.0, pen.stroke.miterLimit) + 2;
        for (const auto& piece : Dashes(pts, closed, pen.dashes, &bound, margin))
            AddStroke(r, piece, false, pen.stroke);
    }
    return r.Fill(WINDING, bound);
}

void PaintStroke(Dc& dc, const Pen& pen, const Region& device)
{
    if (pen.kind == Pen::Kind::Wide && pen.brush)
        PaintDeviceRegion(dc, device, pen.brush.get());
}

// ---- colours ---------------------------------------------------------------------------------
void FillColor(Dc& dc, const RECT& device, COLORREF color)
{
    if (!dc.surface)
        return;
    BrushSampler b(dc, PlainColor(color));
    FillDeviceRectWith(dc, device, b, Rop3Table(PATCOPY));
}

void FillColor(Dc& dc, const Region& device, COLORREF color)
{
    if (!dc.surface)
        return;
    BrushSampler b(dc, PlainColor(color));
    for (const RECT& r : device.Rects())
        FillDeviceRectWith(dc, r, b, Rop3Table(PATCOPY));
}

} // namespace zyn::gdi::shapes
