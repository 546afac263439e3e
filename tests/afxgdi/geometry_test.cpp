// CPoint, CSize and CRect: arithmetic, normalisation and the set operations on empty
// and inverted rectangles.
#include <gtest/gtest.h>

#include "platform/afx/gdi/geometry.h"
#include "tests/afxgdi/gdi_fixture.h"

namespace {

using GeometryTest = zyn::test::GdiLeakTest;

static_assert(sizeof(CRect) == sizeof(RECT) && sizeof(CPoint) == sizeof(POINT) && sizeof(CSize) == sizeof(SIZE));
static_assert(CPoint(1, 2) + CSize(3, 4) == CPoint(4, 6));
static_assert(CPoint(5, 7) - CPoint(2, 3) == CSize(3, 4));
static_assert(CRect(1, 2, 11, 22).Size() == CSize(10, 20));

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

TEST_F(GeometryTest, PointArithmetic)
{
    CPoint p(10, 20);
    EXPECT_EQ(-p, CPoint(-10, -20));
    EXPECT_EQ(p + CSize(1, 2), CPoint(11, 22));
    EXPECT_EQ(p - CSize(1, 2), CPoint(9, 18));
    EXPECT_EQ(p + CPoint(1, 1), CPoint(11, 21));
    const CSize d = p - CPoint(4, 30); // point minus point is a size
    EXPECT_EQ(d, CSize(6, -10));
    p += CSize(5, 5);
    p -= CPoint(1, 1);
    EXPECT_EQ(p, CPoint(14, 24));
    p.Offset(-14, -24);
    EXPECT_EQ(p, CPoint(0, 0));
    p.Offset(CSize(3, 4));
    p.Offset(CPoint(1, 1));
    EXPECT_EQ(p, CPoint(4, 5));
    EXPECT_NE(p, CPoint(5, 4));
    p.SetPoint(-1, -2);
    EXPECT_EQ(p.x, -1);
    EXPECT_EQ(p.y, -2);
}

TEST_F(GeometryTest, PackedPointsAndSizesAreSigned)
{
    // Mouse coordinates left of or above a window arrive as 16-bit negatives.
    const CPoint p(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-5), 300)));
    EXPECT_EQ(p, CPoint(-5, 300));
    const CSize s(static_cast<DWORD>(MAKELONG(7, 0xFFFF)));
    EXPECT_EQ(s, CSize(7, -1));
}

TEST_F(GeometryTest, SizeArithmetic)
{
    CSize s(3, 4);
    EXPECT_EQ(s + CSize(1, 1), CSize(4, 5));
    EXPECT_EQ(s - CSize(4, 4), CSize(-1, 0));
    EXPECT_EQ(-s, CSize(-3, -4));
    EXPECT_EQ(s + CPoint(10, 10), CPoint(13, 14));
    EXPECT_EQ(s - CPoint(10, 10), CPoint(-7, -6));
    s += CSize(1, 1);
    s -= CSize(0, 2);
    EXPECT_EQ(s, CSize(4, 3));
    const CRect r(0, 0, 10, 10);
    ExpectRect(s + &r, 4, 3, 14, 13);
    ExpectRect(s - &r, -4, -3, 6, 7);
    ExpectRect(CPoint(1, 2) + &r, 1, 2, 11, 12);
}

TEST_F(GeometryTest, RectConstructionAndAccessors)
{
    const CRect a(CPoint(5, 6), CSize(10, 20));
    ExpectRect(a, 5, 6, 15, 26);
    EXPECT_EQ(a.Width(), 10);
    EXPECT_EQ(a.Height(), 20);
    EXPECT_EQ(CRect(CPoint(1, 2), CPoint(3, 4)), CRect(1, 2, 3, 4));
    EXPECT_TRUE(CRect(static_cast<const RECT*>(nullptr)).IsRectNull());
    EXPECT_EQ(a.TopLeft(), CPoint(5, 6));
    EXPECT_EQ(a.BottomRight(), CPoint(15, 26));
    // Centre rounds towards zero on both sides of the origin.
    EXPECT_EQ(CRect(0, 0, 5, 5).CenterPoint(), CPoint(2, 2));
    EXPECT_EQ(CRect(-5, -5, 0, 0).CenterPoint(), CPoint(-2, -2));
}

TEST_F(GeometryTest, CornerReferencesWriteThrough)
{
    CRect r(1, 2, 3, 4);
    r.TopLeft() = CPoint(-1, -2);
    r.BottomRight().Offset(10, 10);
    ExpectRect(r, -1, -2, 13, 14);
    // A corner passes where an LPPOINT is expected, and an array of CPoint as POINTs.
    LPPOINT pp = &r.TopLeft();
    pp->x = 0;
    EXPECT_EQ(r.left, 0);
    CPoint pts[2] = {CPoint(1, 1), CPoint(2, 2)};
    const POINT* raw = pts;
    EXPECT_EQ(raw[1].y, 2);
}

TEST_F(GeometryTest, EmptyNullAndPtInRect)
{
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());   // zero width
    EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());  // inverted
    EXPECT_FALSE(CRect(10, 0, 0, 10).IsRectNull());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
    const CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5))); // right edge excluded
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10))); // bottom edge excluded
    EXPECT_FALSE(CRect(10, 10, 0, 0).PtInRect(CPoint(5, 5)));
}

TEST_F(GeometryTest, NormalizeRectSwapsInvertedSides)
{
    CRect r(10, 20, 0, 5);
    r.NormalizeRect();
    ExpectRect(r, 0, 5, 10, 20);
    CRect half(0, 20, 10, 5);
    half.NormalizeRect();
    ExpectRect(half, 0, 5, 10, 20);
    CRect ok(1, 2, 3, 4);
    ok.NormalizeRect();
    ExpectRect(ok, 1, 2, 3, 4);
    CRect s(1, 2, 5, 6);
    s.SwapLeftRight();
    ExpectRect(s, 5, 2, 1, 6);
}

TEST_F(GeometryTest, InflateAndDeflateOverloads)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(1, 2);
    ExpectRect(r, 9, 8, 21, 22);
    r.DeflateRect(CSize(1, 2));
    ExpectRect(r, 10, 10, 20, 20);
    r.InflateRect(1, 2, 3, 4);
    ExpectRect(r, 9, 8, 23, 24);
    r.DeflateRect(1, 2, 3, 4);
    const RECT sides{1, 2, 3, 4}; // each member moves its own side
    r.InflateRect(&sides);
    ExpectRect(r, 9, 8, 23, 24);
    r.DeflateRect(&sides);
    ExpectRect(r, 10, 10, 20, 20);
    r.InflateRect(static_cast<const RECT*>(nullptr));
    ExpectRect(r, 10, 10, 20, 20);
    // Deflating past the middle inverts the rectangle; it is then empty.
    r.DeflateRect(6, 6);
    EXPECT_TRUE(r.IsRectEmpty());
}

TEST_F(GeometryTest, OffsetAndMoveKeepTheSize)
{
    CRect r(1, 2, 11, 22);
    r.OffsetRect(5, -2);
    ExpectRect(r, 6, 0, 16, 20);
    r.OffsetRect(CPoint(-6, 0));
    r.OffsetRect(CSize(0, 1));
    ExpectRect(r, 0, 1, 10, 21);
    r.MoveToX(100);
    ExpectRect(r, 100, 1, 110, 21);
    r.MoveToY(-50);
    ExpectRect(r, 100, -50, 110, -30);
    r.MoveToXY(CPoint(0, 0));
    ExpectRect(r, 0, 0, 10, 20);
    r.MoveToXY(3, 4);
    EXPECT_EQ(r.Size(), CSize(10, 20));
}

TEST_F(GeometryTest, IntersectEdgeCases)
{
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 15, 15)));
    ExpectRect(r, 5, 5, 10, 10);
    // Disjoint, touching and inverted operands give the null rectangle and FALSE.
    r.SetRect(1, 1, 2, 2);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(20, 20, 30, 30)));
    EXPECT_TRUE(r.IsRectNull());
    r.SetRect(1, 1, 2, 2);
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(r.IsRectNull());
    r.SetRect(1, 1, 2, 2);
    EXPECT_FALSE(r.IntersectRect(CRect(10, 10, 0, 0), CRect(0, 0, 10, 10)));
    EXPECT_TRUE(r.IsRectNull());
    // The destination may be one of the sources.
    CRect a(0, 0, 10, 10);
    EXPECT_TRUE(a.IntersectRect(a, CRect(2, 3, 20, 30)));
    ExpectRect(a, 2, 3, 10, 10);
    // Operators.
    EXPECT_EQ(CRect(0, 0, 10, 10) & CRect(5, 0, 20, 5), CRect(5, 0, 10, 5));
    CRect b(0, 0, 10, 10);
    b &= CRect(50, 50, 60, 60);
    EXPECT_TRUE(b.IsRectNull());
}

TEST_F(GeometryTest, UnionIgnoresEmptyOperands)
{
    CRect r;
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 5, 5), CRect(10, 10, 20, 20)));
    ExpectRect(r, 0, 0, 20, 20);
    // An empty or inverted operand does not stretch the union.
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 5, 5), CRect(100, 100, 100, 200)));
    ExpectRect(r, 0, 0, 5, 5);
    EXPECT_TRUE(r.UnionRect(CRect(50, 50, 40, 40), CRect(1, 2, 3, 4)));
    ExpectRect(r, 1, 2, 3, 4);
    r.SetRect(7, 7, 8, 8);
    EXPECT_FALSE(r.UnionRect(CRect(), CRect(5, 5, 0, 0)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_EQ(CRect(0, 0, 1, 1) | CRect(4, 4, 5, 5), CRect(0, 0, 5, 5));
    CRect c(0, 0, 1, 1);
    c |= CRect();
    EXPECT_EQ(c, CRect(0, 0, 1, 1));
}

TEST_F(GeometryTest, SubtractOnlyWhenTheResultIsARectangle)
{
    CRect r;
    // Covers the full height on the left: trims the left side.
    EXPECT_TRUE(r.SubtractRect(CRect(10, 10, 100, 100), CRect(0, 0, 50, 150)));
    ExpectRect(r, 50, 10, 100, 100);
    // Covers the full width at the bottom: trims the bottom.
    EXPECT_TRUE(r.SubtractRect(CRect(10, 10, 100, 100), CRect(0, 60, 200, 200)));
    ExpectRect(r, 10, 10, 100, 60);
    // A corner bite leaves an L shape: the source comes back unchanged.
    EXPECT_TRUE(r.SubtractRect(CRect(10, 10, 100, 100), CRect(50, 50, 150, 150)));
    ExpectRect(r, 10, 10, 100, 100);
    // A hole in the middle does not split the rectangle either.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 100, 100), CRect(0, 40, 100, 60)));
    ExpectRect(r, 0, 0, 100, 100);
    // Covered entirely, or an empty source: the null rectangle and FALSE.
    EXPECT_FALSE(r.SubtractRect(CRect(10, 10, 20, 20), CRect(0, 0, 30, 30)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_FALSE(r.SubtractRect(CRect(20, 20, 10, 10), CRect(0, 0, 1, 1)));
    EXPECT_TRUE(r.IsRectNull());
    // Disjoint: unchanged.
    EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 5, 5), CRect(10, 10, 20, 20)));
    ExpectRect(r, 0, 0, 5, 5);
}

TEST_F(GeometryTest, RectOperators)
{
    const CRect r(0, 0, 10, 10);
    EXPECT_EQ(r + CPoint(1, 2), CRect(1, 2, 11, 12));
    EXPECT_EQ(r - CPoint(1, 2), CRect(-1, -2, 9, 8));
    EXPECT_EQ(r + CSize(1, 2), CRect(1, 2, 11, 12));
    EXPECT_EQ(r - CSize(1, 2), CRect(-1, -2, 9, 8));
    const RECT sides{1, 2, 3, 4};
    EXPECT_EQ(r + &sides, CRect(-1, -2, 13, 14));
    EXPECT_EQ(r - &sides, CRect(1, 2, 7, 6));
    CRect m(r);
    m += CPoint(1, 1);
    m -= CSize(1, 1);
    EXPECT_EQ(m, r);
    m += &sides;
    m -= &sides;
    EXPECT_EQ(m, r);
    EXPECT_TRUE(m == r);
    EXPECT_FALSE(m != r);
    EXPECT_NE(m, CRect(0, 0, 10, 11));
    EXPECT_TRUE(r.EqualRect(&sides) == FALSE);
    EXPECT_FALSE(r.EqualRect(nullptr));
    RECT plain{};
    m = plain;
    EXPECT_TRUE(m.IsRectNull());
    m.CopyRect(&sides);
    EXPECT_EQ(m, CRect(1, 2, 3, 4));
    m.SetRectEmpty();
    EXPECT_TRUE(m.IsRectNull());
    m.SetRect(CPoint(1, 1), CPoint(2, 2));
    EXPECT_EQ(m, CRect(1, 1, 2, 2));
}

// Equality reads the same whichever side holds the class, its const form or the plain
// Win32 structure (C++20 also tries each comparison the other way round).
TEST_F(GeometryTest, EqualityAnswersAlikeForEveryOperandForm)
{
    CSize s(1, 2);
    const CSize cs(1, 2);
    const SIZE rawSize{1, 2};
    EXPECT_TRUE(s == cs && cs == s && cs == cs && s == rawSize && rawSize == s && cs == rawSize);
    EXPECT_FALSE(s != cs || cs != s || s != rawSize || rawSize != cs);
    EXPECT_TRUE(s != CSize(2, 1) && CSize(2, 1) != rawSize);

    CPoint p(3, 4);
    const CPoint cp(3, 4);
    const POINT rawPoint{3, 4};
    EXPECT_TRUE(p == cp && cp == p && cp == cp && p == rawPoint && rawPoint == p && cp == rawPoint);
    EXPECT_FALSE(p != cp || cp != p || p != rawPoint || rawPoint != cp);
    EXPECT_TRUE(p != CPoint(4, 3) && CPoint(4, 3) != rawPoint);

    CRect r(1, 2, 3, 4);
    const CRect cr(1, 2, 3, 4);
    const RECT rawRect{1, 2, 3, 4};
    EXPECT_TRUE(r == cr && cr == r && cr == cr && r == rawRect && rawRect == r && cr == rawRect);
    EXPECT_FALSE(r != cr || cr != r || r != rawRect || rawRect != cr);
    EXPECT_TRUE(r != CRect(1, 2, 3, 5) && CRect(0, 2, 3, 4) != rawRect);
}

TEST_F(GeometryTest, PassesAsWin32Rectangle)
{
    CRect r(0, 0, 4, 4);
    ::OffsetRect(r, 1, 1); // operator LPRECT
    EXPECT_EQ(r, CRect(1, 1, 5, 5));
    const CRect& cr = r;
    EXPECT_FALSE(::IsRectEmpty(cr)); // operator LPCRECT
    EXPECT_EQ(CRect(0, 0, 100, 50).MulDiv(3, 2), CRect(0, 0, 150, 75));
    EXPECT_EQ(CRect(-3, -3, 3, 3).MulDiv(1, 2), CRect(-2, -2, 2, 2)); // rounds half away from zero
}

} // namespace
