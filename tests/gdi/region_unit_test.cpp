// Region algebra, canonical banding, shape regions and the rectangle helpers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/region.h"
#include "platform/gdi/region_shapes.h"

using zyn::gdi::Region;

namespace {

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The point set of a region over a window, by Contains.
std::vector<bool> Points(const Region& r, int w, int h)
{
    std::vector<bool> out;
    for (int y = -2; y < h; ++y)
        for (int x = -2; x < w; ++x)
            out.push_back(r.Contains(x, y));
    return out;
}

// Checks the canonical form: bands sorted and disjoint, spans sorted and not touching,
// no two adjacent bands with equal spans.
void ExpectCanonical(const Region& r)
{
    const auto& v = r.Rects();
    for (size_t i = 0; i < v.size(); ++i) {
        ASSERT_LT(v[i].left, v[i].right);
        ASSERT_LT(v[i].top, v[i].bottom);
        if (i == 0)
            continue;
        const RECT& p = v[i - 1];
        if (p.top == v[i].top) {
            ASSERT_EQ(p.bottom, v[i].bottom);
            ASSERT_LT(p.right, v[i].left) << "spans in a band must not touch";
        } else {
            ASSERT_LE(p.bottom, v[i].top) << "bands must not overlap";
        }
    }
}

} // namespace

TEST(Region, UnionOfTouchingRectanglesCoalesces)
{
    const Region a(0, 0, 10, 10), b(10, 0, 20, 10), c(0, 10, 20, 20);
    const Region u = a.Union(b).Union(c);
    ASSERT_EQ(u.Rects().size(), 1u);
    EXPECT_TRUE(Same(u.Rects()[0], RECT{0, 0, 20, 20}));
    EXPECT_EQ(u.Complexity(), SIMPLEREGION);
    // The same set built in another order is the same list.
    EXPECT_EQ(c.Union(a).Union(b), u);
}

TEST(Region, AlgebraMatchesPointSets)
{
    const Region a = Region(0, 0, 12, 8).Union(Region(4, 4, 16, 14));
    const Region b = Region(6, 2, 10, 20).Union(Region(0, 10, 3, 12));
    const auto pa = Points(a, 22, 22), pb = Points(b, 22, 22);
    const auto pu = Points(a.Union(b), 22, 22), pi = Points(a.Intersect(b), 22, 22);
    const auto pd = Points(a.Subtract(b), 22, 22), px = Points(a.Xor(b), 22, 22);
    for (size_t i = 0; i < pa.size(); ++i) {
        EXPECT_EQ(pu[i], pa[i] || pb[i]);
        EXPECT_EQ(pi[i], pa[i] && pb[i]);
        EXPECT_EQ(pd[i], pa[i] && !pb[i]);
        EXPECT_EQ(px[i], pa[i] != pb[i]);
    }
    ExpectCanonical(a.Union(b));
    ExpectCanonical(a.Intersect(b));
    ExpectCanonical(a.Subtract(b));
    ExpectCanonical(a.Xor(b));
    // Identities that only hold if the form is canonical.
    EXPECT_EQ(a.Xor(b), a.Union(b).Subtract(a.Intersect(b)));
    EXPECT_EQ(a.Subtract(b).Union(a.Intersect(b)), a);
}

TEST(Region, HoleAndBoxAndOffset)
{
    Region r = Region(0, 0, 30, 30).Subtract(Region(10, 10, 20, 20));
    EXPECT_EQ(r.Complexity(), COMPLEXREGION);
    // Three bands: top full, middle two spans, bottom full.
    ASSERT_EQ(r.Rects().size(), 4u);
    EXPECT_TRUE(Same(r.Rects()[1], RECT{0, 10, 10, 20}));
    EXPECT_TRUE(Same(r.Rects()[2], RECT{20, 10, 30, 20}));
    EXPECT_TRUE(Same(r.Box(), RECT{0, 0, 30, 30}));
    EXPECT_FALSE(r.Contains(15, 15));
    EXPECT_TRUE(r.Contains(9, 15));
    EXPECT_FALSE(r.Contains(30, 0)) << "right edge excluded";
    EXPECT_TRUE(r.Intersects(RECT{19, 19, 21, 21}));
    EXPECT_FALSE(r.Intersects(RECT{11, 11, 19, 19}));
    EXPECT_FALSE(r.ContainsRect(RECT{5, 5, 15, 15}));
    EXPECT_TRUE(r.ContainsRect(RECT{0, 0, 30, 10}));
    r.Offset(-5, 100);
    EXPECT_TRUE(Same(r.Box(), RECT{-5, 100, 25, 130}));
    EXPECT_TRUE(r.Contains(-5, 100));
    // Removing the hole's complement leaves nothing.
    EXPECT_TRUE(r.Subtract(Region(-5, 100, 25, 130)).Empty());
}

TEST(Region, EmptyAndDegenerateInputs)
{
    EXPECT_TRUE(Region(5, 5, 5, 10).Empty());
    EXPECT_TRUE(Region(10, 0, 0, 10).Empty());
    EXPECT_EQ(Region().Complexity(), NULLREGION);
    EXPECT_TRUE(Same(Region().Box(), RECT{0, 0, 0, 0}));
    EXPECT_EQ(Region(0, 0, 4, 4).Intersect(Region(4, 0, 8, 4)), Region());
    const RECT rs[] = {{0, 0, 2, 2}, {1, 1, 3, 3}, {5, 5, 5, 9}};
    const Region u = Region::FromRects(rs);
    EXPECT_TRUE(u.Contains(2, 2));
    EXPECT_FALSE(u.Contains(2, 0));
    ExpectCanonical(u);
}

TEST(Region, BuilderMergesRowsWithEqualSpans)
{
    zyn::gdi::RegionBuilder b;
    b.AddSpan(0, 0, 4);
    b.AddSpan(0, 3, 6); // overlaps the first span of the same row
    b.AddSpan(1, 0, 6);
    b.AddSpan(2, 0, 2);
    const Region r = b.Finish();
    ASSERT_EQ(r.Rects().size(), 2u);
    EXPECT_TRUE(Same(r.Rects()[0], RECT{0, 0, 6, 2}));
    EXPECT_TRUE(Same(r.Rects()[1], RECT{0, 2, 2, 3}));
}

// Every operation between a rectangle and a region it covers, misses, or cuts (and
// between two rectangles) gives the region the point sets make, in its one canonical
// form: the expected region is built row by row from the points.
TEST(Region, RectangleAndRegionAnswersAreTheCanonicalPointSets)
{
    const Region holed = Region(4, 4, 16, 16).Subtract(Region(8, 8, 12, 12));
    const Region steps = Region(2, 2, 6, 5).Union(Region(3, 5, 9, 9)).Union(Region(12, 1, 14, 3));
    const struct {
        const char* what;
        Region a, b;
    } rows[] = {
        {"rectangle over region", Region(0, 0, 20, 20), holed},
        {"region under rectangle", holed, Region(0, 0, 20, 20)},
        {"rectangle equal to the box", Region(4, 4, 16, 16), holed},
        {"rectangle apart", Region(17, 0, 20, 3), steps},
        {"region apart, touching edge", steps, Region(14, 0, 18, 9)},
        {"rectangle cutting region", Region(5, 0, 11, 20), steps},
        {"rectangle inside hole", Region(9, 9, 11, 11), holed},
        {"two rectangles crossing", Region(1, 3, 9, 7), Region(4, 0, 6, 12)},
        {"two rectangles nested", Region(1, 1, 19, 19), Region(4, 5, 6, 7)},
        {"two rectangles apart", Region(0, 0, 3, 3), Region(3, 3, 5, 5)},
        {"two regions", holed, steps},
        {"regions with gaps between bands", Region(0, 0, 5, 2).Union(Region(0, 6, 5, 8)).Union(Region(7, 6, 9, 8)),
            Region(2, 3, 9, 4).Union(Region(1, 7, 3, 10)).Union(Region(0, 12, 20, 13))},
    };
    constexpr int kSize = 21;
    auto fromPoints = [](auto&& inside) {
        zyn::gdi::RegionBuilder builder;
        for (int y = -1; y < kSize; ++y)
            for (int x = -1; x < kSize; ++x)
                if (inside(x, y))
                    builder.AddSpan(y, x, x + 1);
        return builder.Finish();
    };
    for (const auto& row : rows) {
        const Region& a = row.a;
        const Region& b = row.b;
        EXPECT_EQ(a.Intersect(b), fromPoints([&](int x, int y) { return a.Contains(x, y) && b.Contains(x, y); }))
            << row.what << ": intersect";
        EXPECT_EQ(a.Union(b), fromPoints([&](int x, int y) { return a.Contains(x, y) || b.Contains(x, y); }))
            << row.what << ": union";
        EXPECT_EQ(a.Subtract(b), fromPoints([&](int x, int y) { return a.Contains(x, y) && !b.Contains(x, y); }))
            << row.what << ": subtract";
        EXPECT_EQ(a.Xor(b), fromPoints([&](int x, int y) { return a.Contains(x, y) != b.Contains(x, y); }))
            << row.what << ": xor";
    }
}

TEST(RegionShapes, RectanglePolygonEqualsRectangle)
{
    const POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(zyn::gdi::PolygonRegion(sq, {}, ALTERNATE), Region(0, 0, 10, 10));
    const POINT back[] = {{0, 10}, {10, 10}, {10, 0}, {0, 0}}; // other orientation
    EXPECT_EQ(zyn::gdi::PolygonRegion(back, {}, WINDING), Region(0, 0, 10, 10));
}

TEST(RegionShapes, TriangleFollowsTheSamplingRule)
{
    // Right triangle (0,0) (4,0) (0,4): row y covers x with x < 4 - y (the hypotenuse's
    // crossing at x = 4 - y starts the outside).
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    const Region r = zyn::gdi::PolygonRegion(tri, {}, ALTERNATE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(r.Contains(x, y), x < 4 - y) << x << "," << y;
    EXPECT_FALSE(r.Contains(0, 4));
}

TEST(RegionShapes, AlternateAndWindingDifferOnOverlap)
{
    // Two squares with the same orientation overlapping in [5,10)x[5,10).
    const POINT pts[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const int counts[] = {4, 4};
    const Region alt = zyn::gdi::PolygonRegion(pts, counts, ALTERNATE);
    const Region win = zyn::gdi::PolygonRegion(pts, counts, WINDING);
    EXPECT_FALSE(alt.Contains(7, 7));
    EXPECT_TRUE(win.Contains(7, 7));
    EXPECT_TRUE(alt.Contains(2, 2));
    EXPECT_TRUE(alt.Contains(12, 12));
    EXPECT_EQ(win, Region(0, 0, 10, 10).Union(Region(5, 5, 15, 15)));
    EXPECT_EQ(alt, Region(0, 0, 10, 10).Xor(Region(5, 5, 15, 15)));
}

TEST(RegionShapes, EllipseByPixelCentres)
{
    // A 4x4 circle: centre (2,2), radius 2. Pixel (0,0)'s centre (0.5,0.5) lies at
    // distance sqrt(4.5) > 2, so the corners are out; (1,0): (1.5,0.5) at sqrt(2.5) in.
    const Region e = zyn::gdi::EllipseRegion(RECT{0, 0, 4, 4});
    EXPECT_FALSE(e.Contains(0, 0));
    EXPECT_TRUE(e.Contains(1, 0));
    EXPECT_TRUE(e.Contains(0, 1));
    EXPECT_FALSE(e.Contains(3, 3));
    EXPECT_TRUE(e.Contains(3, 2));
    EXPECT_TRUE(Same(e.Box(), RECT{0, 0, 4, 4}));
    EXPECT_TRUE(zyn::gdi::EllipseRegion(RECT{0, 0, 0, 5}).Empty());
    // A round rectangle with tiny corners is the rectangle.
    EXPECT_EQ(zyn::gdi::RoundRectRegion(RECT{0, 0, 8, 8}, 1, 1), Region(0, 0, 8, 8));
    const Region rr = zyn::gdi::RoundRectRegion(RECT{0, 0, 20, 10}, 4, 4);
    EXPECT_FALSE(rr.Contains(0, 0));
    EXPECT_FALSE(rr.Contains(19, 9));
    EXPECT_TRUE(rr.Contains(0, 5));
    EXPECT_TRUE(rr.Contains(10, 0));
}

TEST(Rect, WindowsSemantics)
{
    RECT r, a{0, 0, 10, 10}, b{20, 20, 30, 30}, e{5, 5, 5, 9};
    EXPECT_FALSE(IntersectRect(&r, &a, &b));
    EXPECT_TRUE(Same(r, RECT{0, 0, 0, 0})) << "disjoint gives an empty rectangle";
    EXPECT_TRUE(IntersectRect(&r, &a, &a));
    EXPECT_TRUE(UnionRect(&r, &a, &e));
    EXPECT_TRUE(Same(r, a)) << "empty rectangles are ignored by UnionRect";
    EXPECT_TRUE(UnionRect(&r, &a, &b));
    EXPECT_TRUE(Same(r, RECT{0, 0, 30, 30}));
    EXPECT_FALSE(UnionRect(&r, &e, &e));
    EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
    EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
    EXPECT_TRUE(IsRectEmpty(&e));
    RECT s{0, 0, 10, 10}, cut{0, 0, 4, 10};
    EXPECT_TRUE(SubtractRect(&r, &s, &cut));
    EXPECT_TRUE(Same(r, RECT{4, 0, 10, 10}));
    RECT middle{3, 3, 6, 6};
    EXPECT_TRUE(SubtractRect(&r, &s, &middle));
    EXPECT_TRUE(Same(r, s)) << "a hole cannot be expressed: the rectangle is unchanged";
    InflateRect(&r, 2, 1);
    EXPECT_TRUE(Same(r, RECT{-2, -1, 12, 11}));
    OffsetRect(&r, 2, 1);
    const RECT want{0, 0, 14, 12};
    EXPECT_TRUE(EqualRect(&r, &want));
    SetRectEmpty(&r);
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}

