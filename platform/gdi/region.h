#pragma once
// A region: a canonical y-x banded list of rectangles.
//   - rectangles are sorted by top, then left; all rectangles of a band share top/bottom;
//   - bands do not overlap, and within a band rectangles neither overlap nor touch;
//   - two vertically adjacent bands with identical x spans are merged into one.
// Because the form is canonical, equal point sets have equal rectangle lists, so
// operator== is region equality. Coordinates are half-open (right/bottom excluded).
#include <span>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { SetRect(r); }
    Region(int left, int top, int right, int bottom) { SetRect(RECT{left, top, right, bottom}); }

    // The union of any rectangles (empty ones ignored).
    static Region FromRects(std::span<const RECT> rects);
    // Takes rectangles already in the one banded form (bands top to bottom, each band's
    // rectangles left to right, disjoint and not touching, equal touching bands merged)
    // without checking them: for code that builds that form itself.
    static Region FromBanded(std::vector<RECT> rects);

    bool Empty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    // The bounding box ({0,0,0,0} when empty).
    RECT Box() const { return m_box; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;

    void SetEmpty();
    void SetRect(const RECT& r);   // a non-normalised or empty rectangle gives an empty region

    Region Union(const Region& o) const;
    Region Intersect(const Region& o) const;
    Region Subtract(const Region& o) const;   // this minus o
    Region Xor(const Region& o) const;
    Region Intersect(const RECT& r) const { return Intersect(Region(r)); }

    void Offset(int dx, int dy);
    bool Contains(int x, int y) const;
    // True when any part of `r` lies inside the region.
    bool Intersects(const RECT& r) const;
    // True when every point of the non-empty `r` lies inside the region.
    bool ContainsRect(const RECT& r) const;

    // Calls f(const RECT&) for each rectangle of the region clipped to `bound`, top to bottom.
    template <class F>
    void ForEachIn(const RECT& bound, F&& f) const
    {
        for (const RECT& r : m_rects) {
            if (r.top >= bound.bottom)
                break;
            if (r.bottom <= bound.top || r.right <= bound.left || r.left >= bound.right)
                continue;
            RECT c{r.left > bound.left ? r.left : bound.left, r.top > bound.top ? r.top : bound.top,
                r.right < bound.right ? r.right : bound.right, r.bottom < bound.bottom ? r.bottom : bound.bottom};
            f(c);
        }
    }

    bool operator==(const Region& o) const;
    bool operator!=(const Region& o) const { return !(*this == o); }

private:
    friend class RegionBuilder;
    void Recompute();

    std::vector<RECT> m_rects;
    RECT m_box{0, 0, 0, 0};
};

// Builds a region band by band, top to bottom: AddBand(top, bottom, spans) with spans
// [x0, x1) in any order, overlapping or touching; bands must not overlap and must come in
// increasing y (a band starting above the previous one's bottom is clipped to it).
// Finish() merges spans, drops empty bands and coalesces equal neighbours.
class RegionBuilder {
public:
    void AddBand(int top, int bottom, std::vector<std::pair<int, int>> spans);
    void AddSpan(int y, int x0, int x1) { AddBand(y, y + 1, {{x0, x1}}); } // one-pixel row
    Region Finish();

private:
    struct Band {
        int top, bottom;
        std::vector<std::pair<int, int>> spans;
    };
    std::vector<Band> m_bands;
};

} // namespace zyn::gdi
