#include "platform/gdi/region_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace zyn::gdi {

namespace {

// The first pixel column inside row y of the ellipse inscribed in box (l, t, l+w, t+h),
// measured from l; -1 when the row misses the ellipse.
int EllipseRowInset(int w, int h, int row)
{
    const double a = w / 2.0, b = h / 2.0;
    const double dy = (row + 0.5 - b) / b;
    if (dy * dy > 1.0)
        return -1;
    const double hw = a * std::sqrt(1.0 - dy * dy);
    const int x0 = static_cast<int>(std::ceil(a - hw - 0.5));
    const int x1 = static_cast<int>(std::floor(a + hw - 0.5)) + 1;
    if (x1 <= x0)
        return -1;
    return x0;
}

int64_t CeilDiv(int64_t n, int64_t d) // d > 0
{
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

} // namespace

Region EllipseRegion(const RECT& boxIn, const RECT* limit)
{
    RECT box{std::min(boxIn.left, boxIn.right), std::min(boxIn.top, boxIn.bottom), std::max(boxIn.left, boxIn.right),
        std::max(boxIn.top, boxIn.bottom)};
    const int w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return Region();
    RegionBuilder b;
    int first = 0, last = h;
    if (limit) {
        first = std::max(first, limit->top - box.top);
        last = std::min(last, limit->bottom - box.top);
    }
    for (int row = first; row < last; ++row) {
        const int inset = EllipseRowInset(w, h, row);
        if (inset < 0)
            continue;
        b.AddBand(box.top + row, box.top + row + 1, {{box.left + inset, box.right - inset}});
    }
    return b.Finish();
}

Region RoundRectRegion(const RECT& boxIn, int cw, int ch, const RECT* limit)
{
    RECT box{std::min(boxIn.left, boxIn.right), std::min(boxIn.top, boxIn.bottom), std::max(boxIn.left, boxIn.right),
        std::max(boxIn.top, boxIn.bottom)};
    const int w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return Region();
    cw = std::clamp(cw < 0 ? -cw : cw, 0, w);
    ch = std::clamp(ch < 0 ? -ch : ch, 0, h);
    if (cw < 2 || ch < 2)
        return Region(box);
    RegionBuilder b;
    const int half = ch / 2;
    int yFirst = box.top, yLast = box.bottom;
    if (limit) {
        yFirst = std::max(yFirst, static_cast<int>(limit->top));
        yLast = std::min(yLast, static_cast<int>(limit->bottom));
    }
    for (int y = yFirst; y < yLast; ++y) {
        if (y - box.top >= half && box.bottom - 1 - y >= half) { // the straight middle part
            const int mid = std::min(yLast, box.bottom - half);
            b.AddBand(y, mid, {{box.left, box.right}});
            y = mid - 1;
            continue;
        }
        int inset = 0;
        if (y - box.top < half)
            inset = EllipseRowInset(cw, ch, y - box.top);
        else if (box.bottom - 1 - y < half)
            inset = EllipseRowInset(cw, ch, ch - (box.bottom - y));
        if (inset < 0)
            continue;
        b.AddBand(y, y + 1, {{box.left + inset, box.right - inset}});
    }
    return b.Finish();
}

Region PolygonRegion(std::span<const POINT> pts, std::span<const int> counts, int fillMode, const RECT* limit)
{
    struct Edge {
        int ylo, yhi;
        int64_t xlo, xhi;
        int dir;
    };
    std::vector<Edge> edges;
    int minY = INT32_MAX, maxY = INT32_MIN;
    auto addPoly = [&](const POINT* p, int n) {
        if (n < 2)
            return;
        for (int i = 0; i < n; ++i) {
            const POINT& a = p[i];
            const POINT& c = p[(i + 1) % n];
            if (a.y == c.y)
                continue;
            Edge e;
            if (a.y < c.y)
                e = Edge{a.y, c.y, a.x, c.x, 1};
            else
                e = Edge{c.y, a.y, c.x, a.x, -1};
            edges.push_back(e);
            minY = std::min(minY, e.ylo);
            maxY = std::max(maxY, e.yhi);
        }
    };
    if (counts.empty()) {
        addPoly(pts.data(), static_cast<int>(pts.size()));
    } else {
        size_t at = 0;
        for (int n : counts) {
            if (n < 0 || at + static_cast<size_t>(n) > pts.size())
                return Region();
            addPoly(pts.data() + at, n);
            at += static_cast<size_t>(n);
        }
    }
    if (edges.empty())
        return Region();
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.ylo < b.ylo; });
    RegionBuilder builder;
    std::vector<std::pair<int64_t, int>> xs;
    std::vector<std::pair<int, int>> spans;
    std::vector<const Edge*> active;
    size_t next = 0;
    int yStart = minY, yEnd = maxY;
    if (limit) {
        yStart = std::max(yStart, static_cast<int>(limit->top));
        yEnd = std::min(yEnd, static_cast<int>(limit->bottom));
    }
    for (int y = yStart; y < yEnd; ++y) {
        while (next < edges.size() && edges[next].ylo <= y) {
            if (edges[next].yhi > y)
                active.push_back(&edges[next]);
            ++next;
        }
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yhi <= y; }),
            active.end());
        // Rows up to the next edge event share their spans when every edge is vertical.
        int yNext = y + 1;
        if (std::all_of(active.begin(), active.end(), [](const Edge* e) { return e->xlo == e->xhi; })) {
            int64_t ev = yEnd;
            if (next < edges.size())
                ev = std::min<int64_t>(ev, edges[next].ylo);
            for (const Edge* e : active)
                ev = std::min<int64_t>(ev, e->yhi);
            yNext = static_cast<int>(std::max<int64_t>(ev, y + 1));
        }
        xs.clear();
        for (const Edge* e : active) {
            const int64_t dy = e->yhi - e->ylo;
            const int64_t num = e->xlo * dy + static_cast<int64_t>(y - e->ylo) * (e->xhi - e->xlo);
            xs.emplace_back(CeilDiv(num, dy), e->dir);
        }
        std::sort(xs.begin(), xs.end());
        spans.clear();
        if (fillMode == WINDING) {
            int wind = 0;
            int64_t start = 0;
            for (const auto& [x, d] : xs) {
                const int before = wind;
                wind += d;
                if (before == 0 && wind != 0)
                    start = x;
                else if (before != 0 && wind == 0 && x > start)
                    spans.emplace_back(static_cast<int>(start), static_cast<int>(x));
            }
        } else {
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                if (xs[i + 1].first > xs[i].first)
                    spans.emplace_back(static_cast<int>(xs[i].first), static_cast<int>(xs[i + 1].first));
        }
        if (!spans.empty())
            builder.AddBand(y, yNext, spans);
        y = yNext - 1;
    }
    return builder.Finish();
}

} // namespace zyn::gdi
