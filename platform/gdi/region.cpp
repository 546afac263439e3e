#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>

#include "platform/gdi/gdi_types.h"

namespace zyn::gdi {

namespace {

enum class Op { Or, And, Diff, Xor };

bool Eval(Op op, bool a, bool b)
{
    switch (op) {
    case Op::Or: return a || b;
    case Op::And: return a && b;
    case Op::Diff: return a && !b;
    case Op::Xor: return a != b;
    }
    return false;
}

// Combines two sorted, disjoint span lists (taken from rectangles) into rectangles of the
// band [y0, y1) appended to `out`; touching spans come out as one.
void CombineSpans(const RECT* a, size_t na, const RECT* b, size_t nb, Op op, int y0, int y1, std::vector<RECT>& out,
    size_t bandBegin)
{
    size_t i = 0, j = 0;
    bool inA = false, inB = false;
    int x = INT_MIN;
    for (;;) {
        const int nextA = i < na ? (inA ? a[i].right : a[i].left) : INT_MAX;
        const int nextB = j < nb ? (inB ? b[j].right : b[j].left) : INT_MAX;
        const int nx = std::min(nextA, nextB);
        if (nx == INT_MAX)
            break;
        if (x < nx && Eval(op, inA, inB)) {
            if (out.size() > bandBegin && out.back().right == x)
                out.back().right = nx;
            else
                out.push_back(RECT{x, y0, nx, y1});
        }
        x = nx;
        if (nextA == nx) {
            if (inA) {
                inA = false;
                ++i;
            } else {
                inA = true;
            }
        }
        if (nextB == nx) {
            if (inB) {
                inB = false;
                ++j;
            } else {
                inB = true;
            }
        }
    }
}

// The end of the band (the run of rectangles sharing one top) that starts at `i`.
size_t BandEnd(const std::vector<RECT>& rects, size_t i)
{
    size_t j = i;
    while (j < rects.size() && rects[j].top == rects[i].top)
        ++j;
    return j;
}

// The general combination: both band lists are walked together, top to bottom, cutting
// at every band edge of either; each slice's spans are combined straight into the result,
// and a slice whose spans equal those of the slice just above (touching it) only lowers
// that slice's bottom. The result is the one banded form, built without scratch lists.
Region Sweep(const std::vector<RECT>& a, const std::vector<RECT>& b, Op op)
{
    std::vector<RECT> out;
    out.reserve(a.size() + b.size());
    size_t ia = 0, ib = 0;                  // the current band of each
    size_t ja = BandEnd(a, 0), jb = BandEnd(b, 0);
    size_t lastBegin = 0, lastCount = 0;    // the band last written
    int lastBottom = INT_MIN;
    int y = std::min(a[0].top, b[0].top);
    while (ia < a.size() || ib < b.size()) {
        const bool hasA = ia < a.size() && a[ia].top <= y;
        const bool hasB = ib < b.size() && b[ib].top <= y;
        int y1 = INT_MAX;
        if (ia < a.size())
            y1 = std::min(y1, hasA ? a[ia].bottom : a[ia].top);
        if (ib < b.size())
            y1 = std::min(y1, hasB ? b[ib].bottom : b[ib].top);
        if (hasA || hasB) {
            const size_t begin = out.size();
            CombineSpans(hasA ? a.data() + ia : nullptr, hasA ? ja - ia : 0, hasB ? b.data() + ib : nullptr,
                hasB ? jb - ib : 0, op, y, y1, out, begin);
            const size_t count = out.size() - begin;
            if (count) {
                bool same = lastBottom == y && lastCount == count;
                for (size_t k = 0; same && k < count; ++k)
                    same = out[lastBegin + k].left == out[begin + k].left && out[lastBegin + k].right == out[begin + k].right;
                if (same) {
                    out.resize(begin);
                    for (size_t k = 0; k < count; ++k)
                        out[lastBegin + k].bottom = y1;
                } else {
                    lastBegin = begin;
                    lastCount = count;
                }
                lastBottom = y1;
            }
        }
        y = y1;
        if (ia < a.size() && a[ia].bottom <= y) {
            ia = ja;
            ja = BandEnd(a, ia);
        }
        if (ib < b.size() && b[ib].bottom <= y) {
            ib = jb;
            jb = BandEnd(b, ib);
        }
    }
    return Region::FromBanded(std::move(out));
}

Region Combine(const Region& ra, const Region& rb, Op op)
{
    const std::vector<RECT>& a = ra.Rects();
    const std::vector<RECT>& b = rb.Rects();
    // Quick answers.
    if (op == Op::And && (a.empty() || b.empty()))
        return Region();
    if (b.empty())
        return ra;
    if (a.empty())
        return (op == Op::Or || op == Op::Xor) ? rb : Region();
    // Answers that need no banding (clipping to a window, to a rectangle, to the screen
    // asks these all the time). Every region is kept in its one banded form, so the
    // answer is the region the general pass below would build.
    const RECT boxA = ra.Box(), boxB = rb.Box();
    const bool apart =
        boxA.right <= boxB.left || boxB.right <= boxA.left || boxA.bottom <= boxB.top || boxB.bottom <= boxA.top;
    auto covers = [](const std::vector<RECT>& rect, const RECT& box) {
        return rect.size() == 1 && rect[0].left <= box.left && rect[0].top <= box.top && rect[0].right >= box.right &&
            rect[0].bottom >= box.bottom;
    };
    switch (op) {
    case Op::And:
        if (apart)
            return Region();
        if (covers(a, boxB))
            return rb;
        if (covers(b, boxA))
            return ra;
        if (a.size() == 1 && b.size() == 1)
            return Region(RECT{std::max(boxA.left, boxB.left), std::max(boxA.top, boxB.top),
                std::min(boxA.right, boxB.right), std::min(boxA.bottom, boxB.bottom)});
        break;
    case Op::Diff:
        if (apart)
            return ra;
        if (covers(b, boxA))
            return Region();
        break;
    case Op::Or:
        if (covers(a, boxB))
            return ra;
        if (covers(b, boxA))
            return rb;
        break;
    case Op::Xor:
        break;
    }

    return Sweep(a, b, op);
}

} // namespace

Region Region::FromRects(std::span<const RECT> rects)
{
    Region out;
    for (const RECT& r : rects)
        if (r.left < r.right && r.top < r.bottom)
            out = out.Union(Region(r));
    return out;
}

Region Region::FromBanded(std::vector<RECT> rects)
{
    Region r;
    r.m_rects = std::move(rects);
    r.Recompute();
    return r;
}

int Region::Complexity() const
{
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::SetEmpty()
{
    m_rects.clear();
    m_box = RECT{0, 0, 0, 0};
}

void Region::SetRect(const RECT& in)
{
    m_rects.clear();
    static constexpr LONG kLimit = LONG(1) << 29;
    auto clamp = [](LONG v) { return std::clamp(v, -kLimit, kLimit); };
    const RECT r{clamp(in.left), clamp(in.top), clamp(in.right), clamp(in.bottom)};
    if (r.left < r.right && r.top < r.bottom)
        m_rects.push_back(r);
    Recompute();
}

void Region::Recompute()
{
    if (m_rects.empty()) {
        m_box = RECT{0, 0, 0, 0};
        return;
    }
    RECT b = m_rects.front();
    b.bottom = m_rects.back().bottom;
    for (const RECT& r : m_rects) {
        b.left = std::min(b.left, r.left);
        b.right = std::max(b.right, r.right);
    }
    m_box = b;
}

Region Region::Union(const Region& o) const { return Combine(*this, o, Op::Or); }
Region Region::Intersect(const Region& o) const { return Combine(*this, o, Op::And); }
Region Region::Subtract(const Region& o) const { return Combine(*this, o, Op::Diff); }
Region Region::Xor(const Region& o) const { return Combine(*this, o, Op::Xor); }

void Region::Offset(int dx, int dy)
{
    if (m_rects.empty())
        return;
    // Saturate the move so that every coordinate stays within +-kLimit: the shape is
    // kept, and no arithmetic overflows.
    constexpr int64_t kLimit = int64_t(1) << 29;
    auto bound = [](int64_t d, int64_t lo, int64_t hi) { return static_cast<int>(d < lo ? lo : d > hi ? hi : d); };
    dx = bound(dx, -kLimit - m_box.left, std::max<int64_t>(-kLimit - m_box.left, kLimit - m_box.right));
    dy = bound(dy, -kLimit - m_box.top, std::max<int64_t>(-kLimit - m_box.top, kLimit - m_box.bottom));
    for (RECT& r : m_rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
    Recompute();
}

bool Region::Contains(int x, int y) const
{
    if (m_rects.empty() || x < m_box.left || x >= m_box.right || y < m_box.top || y >= m_box.bottom)
        return false;
    auto it = std::partition_point(m_rects.begin(), m_rects.end(), [y](const RECT& r) { return r.bottom <= y; });
    for (; it != m_rects.end() && it->top <= y; ++it)
        if (x >= it->left && x < it->right)
            return true;
    return false;
}

bool Region::Intersects(const RECT& r) const
{
    if (r.left >= r.right || r.top >= r.bottom)
        return false;
    bool hit = false;
    ForEachIn(r, [&hit](const RECT&) { hit = true; });
    return hit;
}

bool Region::ContainsRect(const RECT& r) const
{
    if (r.left >= r.right || r.top >= r.bottom)
        return false;
    const Region rr(r);
    return Intersect(rr) == rr;
}

bool Region::operator==(const Region& o) const
{
    if (m_rects.size() != o.m_rects.size())
        return false;
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const RECT& a = m_rects[i];
        const RECT& b = o.m_rects[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom)
            return false;
    }
    return true;
}

void RegionBuilder::AddBand(int top, int bottom, std::vector<std::pair<int, int>> spans)
{
    if (!m_bands.empty() && top < m_bands.back().bottom) {
        Band& last = m_bands.back();
        if (top == last.top && bottom == last.bottom) {
            last.spans.insert(last.spans.end(), spans.begin(), spans.end());
            return;
        }
        top = last.bottom; // overlapping bands are clipped to stay disjoint
    }
    if (top >= bottom)
        return;
    m_bands.push_back(Band{top, bottom, std::move(spans)});
}

Region RegionBuilder::Finish()
{
    struct Out {
        int top, bottom;
        std::vector<std::pair<int, int>> spans;
    };
    std::vector<Out> out;
    for (Band& b : m_bands) {
        std::vector<std::pair<int, int>>& s = b.spans;
        s.erase(std::remove_if(s.begin(), s.end(), [](const auto& p) { return p.first >= p.second; }), s.end());
        if (s.empty())
            continue;
        std::sort(s.begin(), s.end());
        std::vector<std::pair<int, int>> merged;
        for (const auto& p : s) {
            if (!merged.empty() && p.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, p.second);
            else
                merged.push_back(p);
        }
        if (!out.empty() && out.back().bottom == b.top && out.back().spans == merged)
            out.back().bottom = b.bottom;
        else
            out.push_back(Out{b.top, b.bottom, std::move(merged)});
    }
    m_bands.clear();
    Region r;
    for (const Out& o : out)
        for (const auto& p : o.spans)
            r.m_rects.push_back(RECT{p.first, o.top, p.second, o.bottom});
    r.Recompute();
    return r;
}

} // namespace zyn::gdi
