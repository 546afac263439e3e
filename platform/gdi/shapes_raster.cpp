// Geometry of the line and shape primitives: the figure rasteriser, the cosmetic line
// walk, the wide-stroke outline and the ellipse rows (conventions in shapes_raster.h).
#include "platform/gdi/shapes_raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gdi/gdi_types.h"

namespace zyn::gdi::shapes {

namespace {

int64_t CeilDiv(int64_t n, int64_t d) // d > 0
{
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

double Cross(PointF a, PointF b) { return a.x * b.y - a.y * b.x; }
double Dot(PointF a, PointF b) { return a.x * b.x + a.y * b.y; }
PointF Add(PointF a, PointF b) { return PointF{a.x + b.x, a.y + b.y}; }
PointF Sub(PointF a, PointF b) { return PointF{a.x - b.x, a.y - b.y}; }
PointF Mul(PointF a, double k) { return PointF{a.x * k, a.y * k}; }
double Length(PointF a) { return std::sqrt(Dot(a, a)); }

// The largest integer whose square is at most v.
int64_t ISqrt(uint64_t v)
{
    auto r = static_cast<int64_t>(std::sqrt(static_cast<long double>(v)));
    while (r > 0 && static_cast<unsigned __int128>(r) * static_cast<unsigned __int128>(r) > v)
        --r;
    while (static_cast<unsigned __int128>(r + 1) * static_cast<unsigned __int128>(r + 1) <= v)
        ++r;
    return r;
}

} // namespace

// ---- the figure rasteriser ------------------------------------------------------------------
void Rasteriser::AddPolygon(std::span<const PointF> pts, bool orient)
{
    const size_t n = pts.size();
    if (n < 2)
        return;
    int flip = 1;
    if (orient) {
        double area = 0;
        for (size_t i = 0; i < n; ++i)
            area += Cross(pts[i], pts[(i + 1) % n]);
        if (area == 0)
            return; // no inside
        if (area < 0)
            flip = -1;
    }
    for (size_t i = 0; i < n; ++i) {
        const PointF a = pts[i], b = pts[(i + 1) % n];
        if (a.y == b.y)
            continue; // horizontal edges cross no row
        if (a.y < b.y)
            m_edges.push_back(Edge{a.x, a.y, b.x, b.y, flip});
        else
            m_edges.push_back(Edge{b.x, b.y, a.x, a.y, -flip});
    }
}

void Rasteriser::AddDisc(PointF c, double r)
{
    if (r > 0)
        m_discs.push_back(Disc{c.x, c.y, r});
}

Region Rasteriser::Fill(int fillMode, const RECT& bound) const
{
    RegionBuilder builder;
    if (Empty() || bound.left >= bound.right || bound.top >= bound.bottom)
        return builder.Finish();

    // Rows the figures can touch.
    double ymin = 1e300, ymax = -1e300;
    for (const Edge& e : m_edges) {
        ymin = std::min(ymin, e.y0);
        ymax = std::max(ymax, e.y1);
    }
    for (const Disc& d : m_discs) {
        ymin = std::min(ymin, d.cy - d.r);
        ymax = std::max(ymax, d.cy + d.r);
    }
    const int y0 = static_cast<int>(std::max<double>(bound.top, std::floor(ymin)));
    const int y1 = static_cast<int>(std::min<double>(bound.bottom, std::ceil(ymax) + 1));

    // Sweep: figures sorted by their top, an active list per row.
    std::vector<const Edge*> edges;
    edges.reserve(m_edges.size());
    for (const Edge& e : m_edges)
        edges.push_back(&e);
    std::sort(edges.begin(), edges.end(), [](const Edge* a, const Edge* b) { return a->y0 < b->y0; });
    std::vector<const Disc*> discs;
    for (const Disc& d : m_discs)
        discs.push_back(&d);
    std::sort(discs.begin(), discs.end(), [](const Disc* a, const Disc* b) { return a->cy - a->r < b->cy - b->r; });

    std::vector<const Edge*> activeEdges;
    std::vector<const Disc*> activeDiscs;
    size_t nextEdge = 0, nextDisc = 0;
    std::vector<std::pair<double, int>> crossings;
    std::vector<std::pair<int, int>> spans;
    for (int y = y0; y < y1; ++y) {
        const double fy = y;
        while (nextEdge < edges.size() && edges[nextEdge]->y0 <= fy)
            activeEdges.push_back(edges[nextEdge++]);
        while (nextDisc < discs.size() && discs[nextDisc]->cy - discs[nextDisc]->r <= fy)
            activeDiscs.push_back(discs[nextDisc++]);
        std::erase_if(activeEdges, [fy](const Edge* e) { return e->y1 <= fy; });
        std::erase_if(activeDiscs, [fy](const Disc* d) { return d->cy + d->r < fy; });

        crossings.clear();
        for (const Edge* e : activeEdges) {
            // y0 <= y < y1: the edge's top point belongs to it, its bottom point does not.
            const double x = e->x0 + (fy - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
            crossings.emplace_back(x, e->dir);
        }
        for (const Disc* d : activeDiscs) {
            const double dy = fy - d->cy;
            const double h2 = d->r * d->r - dy * dy;
            if (h2 <= 0)
                continue;
            const double h = std::sqrt(h2);
            crossings.emplace_back(d->cx - h, -1);
            crossings.emplace_back(d->cx + h, +1);
        }
        if (crossings.size() < 2)
            continue;
        std::sort(crossings.begin(), crossings.end(),
            [](const std::pair<double, int>& a, const std::pair<double, int>& b) { return a.first < b.first; });

        spans.clear();
        int winding = 0, count = 0;
        bool inside = false;
        double start = 0;
        for (const auto& [x, dir] : crossings) {
            winding += dir;
            ++count;
            const bool now = fillMode == WINDING ? winding != 0 : (count & 1) != 0;
            if (now && !inside) {
                start = x;
            } else if (!now && inside) {
                const double a = std::max<double>(std::ceil(start), bound.left);
                const double b = std::min<double>(std::ceil(x), bound.right);
                if (a < b)
                    spans.emplace_back(static_cast<int>(a), static_cast<int>(b));
            }
            inside = now;
        }
        if (!spans.empty())
            builder.AddBand(y, y + 1, spans);
    }
    return builder.Finish();
}

// ---- cosmetic lines ----------------------------------------------------------------------------
uint32_t WalkLine(POINT p0, POINT p1, const RECT& bound, uint32_t step, std::vector<LinePixel>& out)
{
    const int64_t dx = int64_t(p1.x) - p0.x, dy = int64_t(p1.y) - p0.y;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int64_t n = std::max(adx, ady);
    if (n == 0)
        return step;
    const bool xMajor = adx >= ady;
    const int64_t m0 = xMajor ? p0.x : p0.y;
    const int64_t dMajor = xMajor ? dx : dy;
    const int64_t s0 = xMajor ? p0.y : p0.x;
    const int64_t dMinor = xMajor ? dy : dx;
    const int64_t lo = xMajor ? bound.left : bound.top;
    const int64_t hi = xMajor ? bound.right : bound.bottom;
    const int64_t minLo = xMajor ? bound.top : bound.left;
    const int64_t minHi = xMajor ? bound.bottom : bound.right;

    // The steps whose major coordinate lies inside the bound.
    int64_t t0, t1; // [t0, t1)
    if (dMajor > 0) {
        t0 = lo - m0;
        t1 = hi - m0;
    } else {
        t0 = m0 - hi + 1;
        t1 = m0 - lo + 1;
    }
    t0 = std::max<int64_t>(t0, 0);
    t1 = std::min<int64_t>(t1, n);
    const int sMajor = dMajor > 0 ? 1 : -1;
    for (int64_t t = t0; t < t1; ++t) {
        // round(t * dMinor / n), an exact half going to the smaller coordinate.
        const int64_t minor = s0 + CeilDiv(2 * t * dMinor - n, 2 * n);
        if (minor < minLo || minor >= minHi)
            continue;
        const int64_t major = m0 + sMajor * t;
        const auto stepAt = static_cast<uint32_t>(step + static_cast<uint64_t>(t));
        if (xMajor)
            out.push_back(LinePixel{static_cast<int>(major), static_cast<int>(minor), stepAt});
        else
            out.push_back(LinePixel{static_cast<int>(minor), static_cast<int>(major), stepAt});
    }
    return static_cast<uint32_t>(step + static_cast<uint64_t>(n));
}

// ---- wide strokes ----------------------------------------------------------------------------
void AddStroke(Rasteriser& r, std::span<const PointF> in, bool closed, const StrokeStyle& style)
{
    std::vector<PointF> pts;
    pts.reserve(in.size());
    for (const PointF& p : in)
        if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y)
            pts.push_back(p);
    if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
        pts.pop_back();
    if (pts.empty())
        return;
    const double hw = style.width / 2.0;
    if (hw <= 0)
        return;

    if (pts.size() == 1) {
        // A dot: the cap (or, for a closed figure, the join) shape on its own.
        const PointF c = pts[0];
        const bool round = closed ? style.join == PS_JOIN_ROUND : style.endCap == PS_ENDCAP_ROUND;
        const bool square = closed ? !round : style.endCap == PS_ENDCAP_SQUARE;
        if (round)
            r.AddDisc(c, hw);
        else if (square)
            r.AddPolygon({{c.x - hw, c.y - hw}, {c.x + hw, c.y - hw}, {c.x + hw, c.y + hw}, {c.x - hw, c.y + hw}});
        return;
    }

    const size_t n = pts.size();
    const size_t segs = closed ? n : n - 1;
    auto dirOf = [&](size_t i) {
        const PointF d = Sub(pts[(i + 1) % n], pts[i]);
        return Mul(d, 1.0 / Length(d));
    };
    for (size_t i = 0; i < segs; ++i) {
        const PointF a = pts[i], b = pts[(i + 1) % n];
        const PointF d = dirOf(i);
        const PointF nrm{-d.y * hw, d.x * hw};
        r.AddPolygon({Add(a, nrm), Add(b, nrm), Sub(b, nrm), Sub(a, nrm)});
    }

    auto cap = [&](PointF p, PointF outward) {
        if (style.endCap == PS_ENDCAP_ROUND) {
            r.AddDisc(p, hw);
        } else if (style.endCap == PS_ENDCAP_SQUARE) {
            const PointF nrm{-outward.y * hw, outward.x * hw};
            const PointF e = Add(p, Mul(outward, hw));
            r.AddPolygon({Add(p, nrm), Add(e, nrm), Sub(e, nrm), Sub(p, nrm)});
        }
    };
    if (!closed) {
        cap(pts[0], Mul(dirOf(0), -1));
        cap(pts[n - 1], dirOf(n - 2));
    }

    const size_t firstJoin = closed ? 0 : 1;
    const size_t lastJoin = closed ? n : n - 1;
    for (size_t i = firstJoin; i < lastJoin; ++i) {
        const PointF v = pts[i];
        if (style.join == PS_JOIN_ROUND) {
            r.AddDisc(v, hw);
            continue;
        }
        const PointF d1 = dirOf((i + n - 1) % n), d2 = dirOf(i);
        const double cr = Cross(d1, d2);
        if (std::fabs(cr) < 1e-12 && Dot(d1, d2) > 0)
            continue; // straight on: the segments meet flush
        // The outer side of the turn: for a clockwise (on screen) turn, the side opposite
        // the segment normals (-d.y, d.x).
        const double side = cr > 0 ? -1.0 : 1.0;
        const PointF o1{-d1.y * hw * side, d1.x * hw * side};
        const PointF o2{-d2.y * hw * side, d2.x * hw * side};
        const double denom = 1.0 + Dot(d1, d2);
        if (style.join == PS_JOIN_MITER && denom > 1e-12) {
            const PointF tip = Add(v, Mul(Add(o1, o2), 1.0 / denom));
            if (Length(Sub(tip, v)) <= style.miterLimit * hw) {
                r.AddPolygon({v, Add(v, o1), tip, Add(v, o2)});
                continue;
            }
        }
        r.AddPolygon({v, Add(v, o1), Add(v, o2)});
    }
}

std::vector<std::vector<PointF>> Dashes(
    std::span<const PointF> pts, bool closed, std::span<const double> pattern, const RECT* bound, double margin)
{
    std::vector<std::vector<PointF>> pieces;
    double total = 0;
    for (double v : pattern)
        total += std::max(0.0, v);
    if (pts.size() < 2 || pattern.empty() || total <= 0)
        return pieces;

    size_t idx = 0;
    double rem = std::max(0.0, pattern[0]);
    auto next = [&] {
        idx = (idx + 1) % pattern.size();
        rem = std::max(0.0, pattern[idx]);
    };
    // Moves the pattern on by `dist` without drawing.
    auto skip = [&](double dist) {
        dist = std::fmod(dist, total);
        while (dist > 0) {
            const double take = std::min(rem, dist);
            rem -= take;
            dist -= take;
            if (rem <= 1e-9)
                next();
        }
    };
    std::vector<PointF> cur;
    bool open = false;
    auto close = [&](PointF at) {
        if (!open)
            return;
        cur.push_back(at);
        pieces.push_back(std::move(cur));
        cur.clear();
        open = false;
    };

    const size_t n = pts.size();
    const size_t segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        const PointF a = pts[i], b = pts[(i + 1) % n];
        const PointF ab = Sub(b, a);
        const double len = Length(ab);
        if (len <= 0)
            continue;
        auto at = [&](double s) { return Add(a, Mul(ab, std::min(s, len) / len)); };

        // The part of the segment near the bound (Liang-Barsky); the rest only moves the
        // pattern on, so a long path far outside costs nothing.
        double t0 = 0, t1 = 1;
        if (bound) {
            const double lo[2] = {bound->left - margin, bound->top - margin};
            const double hi[2] = {bound->right + margin, bound->bottom + margin};
            const double p0[2] = {a.x, a.y}, d[2] = {ab.x, ab.y};
            for (int k = 0; k < 2 && t0 <= t1; ++k) {
                if (d[k] == 0) {
                    if (p0[k] < lo[k] || p0[k] > hi[k])
                        t1 = -1;
                    continue;
                }
                double ta = (lo[k] - p0[k]) / d[k], tb = (hi[k] - p0[k]) / d[k];
                if (ta > tb)
                    std::swap(ta, tb);
                t0 = std::max(t0, ta);
                t1 = std::min(t1, tb);
            }
        }
        if (t0 > t1) {
            close(a);
            skip(len);
            continue;
        }
        const double sa = t0 * len, sb = t1 * len;
        if (sa > 0) {
            close(a);
            skip(sa);
        }
        double s = sa;
        while (s < sb) {
            const bool on = (idx & 1) == 0;
            const double take = std::min(rem, sb - s);
            if (on && !open) {
                cur.assign(1, at(s));
                open = true;
            }
            s += take;
            rem -= take;
            if (rem <= 1e-9) {
                if (on)
                    close(at(s));
                next();
            }
        }
        if (sb < len) {
            close(at(sb));
            skip(len - sb);
        } else if (open) {
            cur.push_back(b); // the dash runs on through the vertex
        }
    }
    if (open && cur.size() > 1)
        pieces.push_back(std::move(cur));
    return pieces;
}

// ---- ellipse rows ------------------------------------------------------------------------------
bool EllipseSpan(const RECT& box, int y, int& x0, int& x1)
{
    if (y < box.top || y >= box.bottom || box.left >= box.right)
        return false;
    // Doubled coordinates about the box centre: X = 2x + 1 - (l + r), Y likewise; the
    // ellipse is X^2 H^2 + Y^2 W^2 <= W^2 H^2 with W, H the box's width and height.
    const int64_t W = int64_t(box.right) - box.left, H = int64_t(box.bottom) - box.top;
    const int64_t Y = 2 * int64_t(y) + 1 - (int64_t(box.top) + box.bottom);
    using u128 = unsigned __int128;
    const u128 w2 = u128(W) * u128(W), h2 = u128(H) * u128(H);
    const u128 y2 = u128(Y < 0 ? -Y : Y) * u128(Y < 0 ? -Y : Y);
    if (y2 > h2)
        return false;
    const u128 rem = w2 * h2 - y2 * w2;       // X^2 H^2 <= rem
    int64_t xm = ISqrt(static_cast<uint64_t>(rem / h2)); // X^2 <= rem / H^2
    const int64_t parity = (W + 1) & 1;       // X = 2(x - l) + 1 - W
    if (((xm - parity) & 1) != 0)
        --xm;
    if (xm < 0)
        return false;
    const int64_t s = int64_t(box.left) + box.right - 1;
    x0 = static_cast<int>((s - xm) / 2);
    x1 = static_cast<int>((s + xm) / 2);
    return true;
}

bool RoundRectSpan(const RECT& box, int cw, int ch, int y, int& x0, int& x1)
{
    if (y < box.top || y >= box.bottom || box.left >= box.right)
        return false;
    const int64_t W = int64_t(box.right) - box.left, H = int64_t(box.bottom) - box.top;
    const int64_t w = std::min<int64_t>(cw < 0 ? -int64_t(cw) : cw, W);
    const int64_t h = std::min<int64_t>(ch < 0 ? -int64_t(ch) : ch, H);
    x0 = box.left;
    x1 = box.right - 1;
    if (w == 0 || h == 0)
        return true;
    const int iw = static_cast<int>(w), ih = static_cast<int>(h);
    const int64_t y2 = 2 * int64_t(y) + 1;
    RECT left, right;
    if (y2 < 2 * int64_t(box.top) + h) {        // upper half of the top corners
        left = RECT{box.left, box.top, box.left + iw, box.top + ih};
        right = RECT{box.right - iw, box.top, box.right, box.top + ih};
    } else if (y2 > 2 * int64_t(box.bottom) - h) { // lower half of the bottom corners
        left = RECT{box.left, box.bottom - ih, box.left + iw, box.bottom};
        right = RECT{box.right - iw, box.bottom - ih, box.right, box.bottom};
    } else {
        return true;
    }
    int a0, a1, b0, b1;
    if (!EllipseSpan(left, y, a0, a1) || !EllipseSpan(right, y, b0, b1))
        return false;
    x0 = a0;
    x1 = b1;
    return true;
}

void EllipseBoundary(const RECT& box, int y0, int y1, std::vector<POINT>& out)
{
    y0 = std::max(y0, static_cast<int>(box.top));
    y1 = std::min(y1, static_cast<int>(box.bottom));
    for (int y = y0; y < y1; ++y) {
        int x0, x1, a0 = 0, a1 = -1, b0 = 0, b1 = -1;
        if (!EllipseSpan(box, y, x0, x1))
            continue;
        const bool up = EllipseSpan(box, y - 1, a0, a1);
        const bool down = EllipseSpan(box, y + 1, b0, b1);
        // Outside above or below: left of the narrower neighbour, or right of it.
        const int64_t nearLeft = std::max<int64_t>(up ? a0 : INT64_MAX / 4, down ? b0 : INT64_MAX / 4);
        const int64_t nearRight = std::min<int64_t>(up ? a1 : INT64_MIN / 4, down ? b1 : INT64_MIN / 4);
        for (int64_t x = x0; x <= x1; ++x)
            if (x == x0 || x == x1 || x < nearLeft || x > nearRight)
                out.push_back(POINT{static_cast<LONG>(x), y});
    }
}

} // namespace zyn::gdi::shapes
