// Filled shapes, rectangle helpers, clipping and mono targets.
#include "tests/gdishapes/shapes_fixture.h"

#include "platform/gdi/shapes.h"

namespace zyn::test {
namespace {

class ShapeTest : public ShapesTest {};

// ---- Rectangle ------------------------------------------------------------------------------------
TEST_F(ShapeTest, RectangleOutlineCoversTheRectangleAndTheBrushFillsInside)
{
    Canvas c(16, 12);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    EXPECT_TRUE(Rectangle(c.dc(), 2, 3, 12, 9));
    // Outline on columns 2 and 11, rows 3 and 8; inside 3..10 x 4..7.
    const PixelSet inside = RectPixels(3, 4, 11, 8);
    EXPECT_EQ(c.Where(kRed), inside);
    EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(2, 3, 12, 9), inside));
}

TEST_F(ShapeTest, RectangleArgumentsAreNormalisedAndEmptyOnesDrawNothing)
{
    Canvas a(16, 12), b(16, 12);
    Rectangle(a.dc(), 2, 3, 12, 9);
    Rectangle(b.dc(), 12, 9, 2, 3);
    EXPECT_EQ(a.Not(kWhite), b.Not(kWhite));
    Canvas e(8, 8);
    EXPECT_TRUE(Rectangle(e.dc(), 3, 3, 3, 7));
    EXPECT_TRUE(e.Not(kWhite).empty());
}

TEST_F(ShapeTest, RectangleWithNullPenIsOnePixelSmaller)
{
    Canvas c(16, 12);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Selected pen(c.dc(), GetStockObject(NULL_PEN), false);
    Rectangle(c.dc(), 2, 3, 12, 9);
    EXPECT_EQ(c.Not(kWhite), RectPixels(2, 3, 11, 8));
}

TEST_F(ShapeTest, RectangleWithNullBrushLeavesTheInside)
{
    Canvas c(16, 12, kBlue);
    Selected brush(c.dc(), GetStockObject(NULL_BRUSH), false);
    Rectangle(c.dc(), 2, 3, 12, 9);
    EXPECT_EQ(c.Where(kBlue).size(), 16u * 12u - (10u * 6u - 8u * 4u));
}

// A wide pen is centred on the outline: width 3 reaches one pixel beyond the rectangle.
TEST_F(ShapeTest, RectangleWithAWidePenCentredAndInsideFrame)
{
    {
        Canvas c(16, 14);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        Selected pen(c.dc(), CreatePen(PS_SOLID, 3, kBlack));
        Rectangle(c.dc(), 2, 3, 12, 9);
        // Path through (2,3) .. (11,8): rows 2..4 and 7..9, columns 1..3 and 10..12, round
        // joins filling the corners.
        const PixelSet inside = RectPixels(4, 5, 10, 7);
        EXPECT_EQ(c.Where(kRed), inside);
        EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(1, 2, 13, 10), inside));
    }
    {
        Canvas c(16, 14);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        Selected pen(c.dc(), CreatePen(PS_INSIDEFRAME, 3, kBlack));
        Rectangle(c.dc(), 2, 3, 14, 12);
        // The stroke stays inside the box: three pixels on each side.
        const PixelSet inside = RectPixels(5, 6, 11, 9);
        EXPECT_EQ(c.Where(kRed), inside);
        EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(2, 3, 14, 12), inside));
    }
}

TEST_F(ShapeTest, XorRectanglePaintsEveryPixelOnce)
{
    Canvas c(16, 12);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Selected pen(c.dc(), CreatePen(PS_SOLID, 1, kBlue));
    SetROP2(c.dc(), R2_XORPEN);
    Rectangle(c.dc(), 2, 3, 12, 9);
    const PixelSet inside = RectPixels(3, 4, 11, 8);
    EXPECT_EQ(c.Where(kWhite ^ kRed), inside);
    EXPECT_EQ(c.Where(kWhite ^ kBlue), Minus(RectPixels(2, 3, 12, 9), inside));
    Rectangle(c.dc(), 2, 3, 12, 9);
    EXPECT_TRUE(c.Not(kWhite).empty());
}

TEST_F(ShapeTest, DottedRectangleOutlineRunsRoundTheCorners)
{
    Canvas c(12, 12);
    Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    Selected brush(c.dc(), GetStockObject(NULL_BRUSH), false);
    SetBkMode(c.dc(), TRANSPARENT);
    Rectangle(c.dc(), 0, 0, 6, 4);
    // The path (0,0) -> (5,0) -> (5,3) -> (0,3) -> back: steps 0..4 along the top,
    // 5..7 down the right, 8..12 back along the bottom, 13..15 up the left.
    const Pixel path[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {4, 3}, {3, 3},
        {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}};
    PixelSet expected;
    for (int step = 0; step < 16; ++step)
        if ((step / 3) % 2 == 0)
            expected.insert(path[step]);
    EXPECT_EQ(c.Where(kBlack), expected);
}

// ---- Ellipse and RoundRect -------------------------------------------------------------------------------
TEST_F(ShapeTest, EllipseTouchesEverySideOfItsBoxAndIsSymmetric)
{
    Canvas c(50, 40);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Ellipse(c.dc(), 10, 10, 41, 31);
    const PixelSet painted = c.Not(kWhite);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (const auto& [x, y] : painted) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        // Mirror images about the box's centre lines are painted alike.
        EXPECT_EQ(c.At(x, y), c.At(50 - x, y)) << x << "," << y;
        EXPECT_EQ(c.At(x, y), c.At(x, 40 - y)) << x << "," << y;
    }
    EXPECT_EQ(minX, 10);
    EXPECT_EQ(maxX, 40);
    EXPECT_EQ(minY, 10);
    EXPECT_EQ(maxY, 30);
    // The extreme pixels sit on the centre row and column, in the pen colour.
    EXPECT_EQ(c.At(10, 20), kBlack);
    EXPECT_EQ(c.At(40, 20), kBlack);
    EXPECT_EQ(c.At(25, 10), kBlack);
    EXPECT_EQ(c.At(25, 30), kBlack);
    EXPECT_EQ(c.At(25, 20), kRed);
    EXPECT_EQ(c.At(10, 10), kWhite);
}

// Pixel (x, y) is inside when (x + 0.5, y + 0.5) lies in the ellipse inscribed in the box.
// For the box (0,0)-(10,10), centre (5,5), radius 5: the top row (centre y 0.5) holds
// |x + 0.5 - 5| <= 5 * sqrt(1 - 0.81) = 2.18, so x = 3..6.
TEST_F(ShapeTest, EllipseRowsFollowThePixelCentreRule)
{
    Canvas c(12, 12);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Ellipse(c.dc(), 0, 0, 10, 10);
    PixelSet top;
    for (int x = 0; x < 12; ++x)
        if (c.At(x, 0) != kWhite)
            top.insert({x, 0});
    EXPECT_EQ(top, (PixelSet{{3, 0}, {4, 0}, {5, 0}, {6, 0}}));
    // Row 1 (centre y 1.5): |x + 0.5 - 5| <= 5 * sqrt(1 - 0.49) = 3.57: x = 1..8; the
    // outline is the pixels whose upper neighbour lies outside: 1, 2, 7, 8 (and the ends).
    EXPECT_EQ(c.Picture(RECT{0, 1, 10, 2}, {{kBlack, '#'}, {kRed, 'o'}, {kWhite, '.'}}), ".##oooo##.\n");
    // With a null pen, the figure of the box one pixel smaller is filled.
    Canvas n(12, 12);
    Selected b2(n.dc(), CreateSolidBrush(kRed));
    Selected p2(n.dc(), GetStockObject(NULL_PEN), false);
    Ellipse(n.dc(), 0, 0, 10, 10);
    Canvas m(12, 12);
    Selected b3(m.dc(), CreateSolidBrush(kRed));
    Selected p3(m.dc(), CreatePen(PS_SOLID, 1, kRed));
    Ellipse(m.dc(), 0, 0, 9, 9);
    EXPECT_EQ(n.Where(kRed), m.Where(kRed));
}

TEST_F(ShapeTest, EllipseOutlineIsOnePixelThickAndConnected)
{
    Canvas c(40, 30);
    Selected brush(c.dc(), GetStockObject(NULL_BRUSH), false);
    Ellipse(c.dc(), 3, 2, 37, 27);
    const PixelSet outline = c.Where(kBlack);
    for (const auto& [x, y] : outline) {
        // Every outline pixel has an 8-neighbour on the outline on two sides, and no
        // outline pixel has three horizontal and vertical outline neighbours at once.
        int n8 = 0, n4 = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && outline.count({x + dx, y + dy})) {
                    ++n8;
                    if (!dx || !dy)
                        ++n4;
                }
        EXPECT_GE(n8, 2) << x << "," << y;
        EXPECT_LE(n4, 2) << x << "," << y;
    }
}

TEST_F(ShapeTest, WideEllipseRingIsThePenWidth)
{
    Canvas c(40, 40);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Selected pen(c.dc(), CreatePen(PS_INSIDEFRAME, 4, kBlack));
    Ellipse(c.dc(), 5, 5, 35, 35);
    // Inside frame: the ring fills the box's edge rows, 4 pixels deep on the axes.
    EXPECT_EQ(c.Picture(RECT{4, 20, 14, 21}, {{kBlack, '#'}, {kRed, 'o'}, {kWhite, '.'}}), ".####ooooo\n");
    EXPECT_EQ(c.Picture(RECT{20, 4, 21, 14}, {{kBlack, '#'}, {kRed, 'o'}, {kWhite, '.'}}), ".\n#\n#\n#\n#\no\no\no\no\no\n");
}

TEST_F(ShapeTest, RoundRectCutsItsCornersAndKeepsItsSides)
{
    Canvas c(24, 24);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    RoundRect(c.dc(), 2, 2, 22, 22, 8, 8);
    EXPECT_EQ(c.At(2, 2), kWhite);   // the corner is cut
    EXPECT_EQ(c.At(21, 21), kWhite);
    EXPECT_EQ(c.At(12, 2), kBlack);  // straight sides keep the box's edges
    EXPECT_EQ(c.At(2, 12), kBlack);
    EXPECT_EQ(c.At(21, 12), kBlack);
    EXPECT_EQ(c.At(12, 21), kBlack);
    EXPECT_EQ(c.At(12, 12), kRed);
    // The top row of the corner ellipse (box 2..10, centre 6): |x + .5 - 6| <= 4 * 0.48
    // gives x 4..7, and the right corner mirrors it: the top row is 4 .. 19.
    PixelSet top;
    for (int x = 0; x < 24; ++x)
        if (c.At(x, 2) != kWhite)
            top.insert({x, 2});
    EXPECT_EQ(top, RectPixels(4, 2, 20, 3));
    // Corners as big as the box make an ellipse.
    Canvas e(24, 24), r(24, 24);
    Ellipse(e.dc(), 2, 2, 22, 18);
    RoundRect(r.dc(), 2, 2, 22, 18, 20, 16);
    EXPECT_EQ(e.Not(kWhite), r.Not(kWhite));
}

// ---- Polygon -------------------------------------------------------------------------------------------
TEST_F(ShapeTest, PolygonOutlineIncludesEveryVertex)
{
    Canvas c(14, 14);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    const POINT sq[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
    EXPECT_TRUE(Polygon(c.dc(), sq, 4));
    const PixelSet inside = RectPixels(3, 3, 10, 10);
    EXPECT_EQ(c.Where(kRed), inside);
    EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(2, 2, 11, 11), inside));
    // Without a pen the inside keeps to the left-top rule: exactly [2,10) x [2,10).
    Canvas n(14, 14);
    Selected b2(n.dc(), CreateSolidBrush(kRed));
    Selected p2(n.dc(), GetStockObject(NULL_PEN), false);
    Polygon(n.dc(), sq, 4);
    EXPECT_EQ(n.Where(kRed), RectPixels(2, 2, 10, 10));
}

// A pentagram's centre is wound twice: empty under ALTERNATE, filled under WINDING.
TEST_F(ShapeTest, StarAlternateLeavesTheCentreWindingFillsIt)
{
    const POINT star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    auto draw = [&](int mode) {
        auto c = std::make_unique<Canvas>(40, 40);
        Selected brush(c->dc(), CreateSolidBrush(kRed));
        Selected pen(c->dc(), GetStockObject(NULL_PEN), false);
        SetPolyFillMode(c->dc(), mode);
        Polygon(c->dc(), star, 5);
        return c;
    };
    auto alt = draw(ALTERNATE);
    auto wind = draw(WINDING);
    // The inner pentagon spans y 14 .. 27.6 on x = 20.
    EXPECT_EQ(alt->At(20, 21), kWhite);
    EXPECT_EQ(wind->At(20, 21), kRed);
    EXPECT_EQ(alt->At(20, 8), kRed); // a point of the star
    EXPECT_EQ(wind->At(20, 8), kRed);
    EXPECT_EQ(alt->At(20, 1), kWhite);
    EXPECT_EQ(Minus(wind->Where(kRed), alt->Where(kRed)).size() > 50, true);
    EXPECT_TRUE(Minus(alt->Where(kRed), wind->Where(kRed)).empty());
}

TEST_F(ShapeTest, PolyPolygonMakesHolesUnderAlternate)
{
    Canvas c(24, 24);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Selected pen(c.dc(), GetStockObject(NULL_PEN), false);
    const POINT pts[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const INT counts[] = {4, 4};
    EXPECT_TRUE(PolyPolygon(c.dc(), pts, counts, 2));
    EXPECT_EQ(c.Where(kRed), Minus(RectPixels(0, 0, 20, 20), RectPixels(5, 5, 15, 15)));
    const INT bad[] = {4, 1};
    SetLastError(0);
    EXPECT_FALSE(PolyPolygon(c.dc(), pts, bad, 2));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Polygon(c.dc(), pts, 1));
}

// ---- rectangle helpers ---------------------------------------------------------------------------------
TEST_F(ShapeTest, FrameRectDrawsAOnePixelFrameWithABrushOrASystemColour)
{
    DistinctColors();
    Canvas c(12, 12);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT r{2, 2, 8, 6};
    EXPECT_TRUE(FrameRect(c.dc(), &r, red));
    EXPECT_EQ(c.Where(kRed), Minus(RectPixels(2, 2, 8, 6), RectPixels(3, 3, 7, 5)));
    RECT s{1, 7, 4, 10};
    EXPECT_TRUE(FrameRect(c.dc(), &s, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_3DSHADOW + 1))));
    EXPECT_EQ(c.Where(kShadow), Minus(RectPixels(1, 7, 4, 10), RectPixels(2, 8, 3, 9)));
    RECT inverted{8, 8, 2, 2};
    EXPECT_TRUE(FrameRect(c.dc(), &inverted, red));
    EXPECT_EQ(c.Where(kRed).size(), 16u);
    DeleteObject(red);
}

TEST_F(ShapeTest, RectangleHelpersCheckTheDcTheRectangleAndTheBrushInThatOrder)
{
    Canvas c(8, 8);
    HBRUSH red = CreateSolidBrush(kRed);
    HBRUSH stale = CreateSolidBrush(kRed);
    DeleteObject(stale);
    const RECT r{1, 1, 5, 5}, empty{5, 5, 1, 1};
    // A null rectangle is refused before the brush is looked at.
    for (HBRUSH b : {red, stale}) {
        SetLastError(0);
        EXPECT_EQ(FillRect(c.dc(), nullptr, b), 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        SetLastError(0);
        EXPECT_EQ(FrameRect(c.dc(), nullptr, b), 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    SetLastError(0);
    EXPECT_FALSE(InvertRect(c.dc(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(0);
    EXPECT_FALSE(DrawFocusRect(c.dc(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A bad brush fails even for a rectangle that would paint nothing; a good one succeeds.
    EXPECT_EQ(FillRect(c.dc(), &empty, stale), 0);
    EXPECT_EQ(FrameRect(c.dc(), &empty, stale), 0);
    EXPECT_EQ(FillRect(c.dc(), &empty, red), 1);
    EXPECT_EQ(FrameRect(c.dc(), &empty, red), 1);
    EXPECT_TRUE(InvertRect(c.dc(), &empty));
    EXPECT_TRUE(DrawFocusRect(c.dc(), &empty));
    EXPECT_TRUE(c.Not(kWhite).empty());
    // A bad DC fails first.
    SetLastError(0);
    EXPECT_EQ(FillRect(reinterpret_cast<HDC>(red), &r, red), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(InvertRect(reinterpret_cast<HDC>(red), &r));
    EXPECT_EQ(FillRect(c.dc(), &r, red), 1);
    EXPECT_EQ(c.Where(kRed), RectPixels(1, 1, 5, 5));
    DeleteObject(red);
}

TEST_F(ShapeTest, InvertRectTwiceRestores)
{
    Canvas c(10, 10);
    RECT r{1, 2, 6, 9};
    InvertRect(c.dc(), &r);
    EXPECT_EQ(c.Where(kBlack), RectPixels(1, 2, 6, 9));
    InvertRect(c.dc(), &r);
    EXPECT_TRUE(c.Not(kWhite).empty());
}

// Every other pixel of the frame, starting with the top-left one, is inverted.
TEST_F(ShapeTest, FocusRectInvertsAlternatePixelsAndUndoesItself)
{
    Canvas c(12, 12, kBlue);
    RECT r{2, 3, 9, 8};
    EXPECT_TRUE(DrawFocusRect(c.dc(), &r));
    PixelSet expected;
    for (const auto& [x, y] : Minus(RectPixels(2, 3, 9, 8), RectPixels(3, 4, 8, 7)))
        if ((x - 2 + y - 3) % 2 == 0)
            expected.insert({x, y});
    EXPECT_EQ(c.Where(kWhite ^ kBlue), expected);
    EXPECT_EQ(c.At(2, 3), kWhite ^ kBlue);
    EXPECT_EQ(c.At(3, 3), kBlue);
    DrawFocusRect(c.dc(), &r);
    EXPECT_TRUE(c.Not(kBlue).empty());
    // The frame is SM_CXFOCUSBORDER x SM_CYFOCUSBORDER thick.
    zyn::gdi::SetSystemMetricForTests(SM_CXFOCUSBORDER, 2);
    DrawFocusRect(c.dc(), &r);
    expected.clear();
    for (const auto& [x, y] : Minus(RectPixels(2, 3, 9, 8), RectPixels(4, 4, 7, 7)))
        if ((x - 2 + y - 3) % 2 == 0)
            expected.insert({x, y});
    EXPECT_EQ(c.Where(kWhite ^ kBlue), expected);
}

// The drag frame inverts through the halftone brush: pixels with x + y even.
TEST_F(ShapeTest, DragRectDrawsMovesAndErasesItsFrame)
{
    auto frame = [](const RECT& r, int cx, int cy) {
        PixelSet s;
        for (const auto& [x, y] : Minus(RectPixels(r.left, r.top, r.right, r.bottom),
                 RectPixels(r.left + cx, r.top + cy, r.right - cx, r.bottom - cy)))
            if ((x + y) % 2 == 0)
                s.insert({x, y});
        return s;
    };
    Canvas c(20, 16);
    const RECT a{2, 2, 12, 10}, b{4, 3, 14, 11};
    EXPECT_TRUE(zyn::gdi::DrawDragRect(c.dc(), &a, SIZE{2, 2}, nullptr, SIZE{0, 0}));
    EXPECT_EQ(c.Where(kBlack), frame(a, 2, 2));
    EXPECT_TRUE(zyn::gdi::DrawDragRect(c.dc(), &b, SIZE{2, 2}, &a, SIZE{2, 2}));
    EXPECT_EQ(c.Where(kBlack), frame(b, 2, 2));
    EXPECT_TRUE(zyn::gdi::DrawDragRect(c.dc(), nullptr, SIZE{0, 0}, &b, SIZE{2, 2}));
    EXPECT_TRUE(c.Not(kWhite).empty());
}

// ---- clipping, origins and mono targets -------------------------------------------------------------------
TEST_F(ShapeTest, ShapesAreClippedByTheDcClip)
{
    Canvas c(20, 20);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    IntersectClipRect(c.dc(), 5, 5, 15, 15);
    ExcludeClipRect(c.dc(), 8, 8, 10, 10);
    Rectangle(c.dc(), 0, 0, 20, 20);
    Ellipse(c.dc(), 0, 0, 20, 20);
    const POINT tri[] = {{0, 0}, {19, 0}, {0, 19}};
    Polygon(c.dc(), tri, 3);
    PixelSet visible = Minus(RectPixels(5, 5, 15, 15), RectPixels(8, 8, 10, 10));
    EXPECT_TRUE(Minus(c.Not(kWhite), visible).empty());
    EXPECT_EQ(c.At(9, 9), kWhite);
    EXPECT_EQ(c.At(5, 5), kRed);
    // The same drawing unclipped, restricted to the visible part, is what we got.
    Canvas u(20, 20);
    Selected b2(u.dc(), CreateSolidBrush(kRed));
    Rectangle(u.dc(), 0, 0, 20, 20);
    Ellipse(u.dc(), 0, 0, 20, 20);
    Polygon(u.dc(), tri, 3);
    for (const auto& [x, y] : visible)
        EXPECT_EQ(c.At(x, y), u.At(x, y)) << x << "," << y;
}

TEST_F(ShapeTest, ShapesFollowTheViewportAndWindowOrigins)
{
    Canvas c(20, 20);
    SetViewportOrgEx(c.dc(), 10, 5, nullptr);
    SetWindowOrgEx(c.dc(), 2, 1, nullptr);
    Rectangle(c.dc(), 2, 1, 6, 5); // device (10,5)-(14,9)
    EXPECT_EQ(c.Where(kBlack).size(), 12u);
    EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(10, 5, 14, 9), RectPixels(11, 6, 13, 8)));
}

TEST_F(ShapeTest, MonoTargetsTakeTheNearestOfBlackAndWhite)
{
    Canvas c(16, 12, kWhite, true);
    Selected brush(c.dc(), CreateSolidBrush(0x202020)); // nearer black
    Selected pen(c.dc(), CreatePen(PS_SOLID, 1, 0xE0E0E0)); // nearer white
    c.Clear(kBlack);
    Rectangle(c.dc(), 2, 3, 12, 9);
    const PixelSet inside = RectPixels(3, 4, 11, 8);
    EXPECT_EQ(c.Where(kWhite), Minus(RectPixels(2, 3, 12, 9), inside));
    RECT r{0, 0, 4, 2};
    InvertRect(c.dc(), &r);
    EXPECT_EQ(c.At(0, 0), kWhite);
    RECT f{4, 0, 10, 3};
    DrawFocusRect(c.dc(), &f);
    EXPECT_EQ(c.At(4, 0), kWhite);
    EXPECT_EQ(c.At(5, 0), kBlack);
}

TEST_F(ShapeTest, HugeCoordinatesAreRefused)
{
    Canvas c(8, 8);
    SetLastError(0);
    EXPECT_FALSE(Rectangle(c.dc(), 0, 0, 1 << 28, 4));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Ellipse(c.dc(), -(1 << 28), 0, 4, 4));
    // Large but allowed shapes are clipped quickly.
    EXPECT_TRUE(Ellipse(c.dc(), -(1 << 26), -(1 << 26), 1 << 26, 1 << 26));
    EXPECT_EQ(c.Where(kWhite).size(), 64u); // the whole canvas is inside (white brush)
    EXPECT_TRUE(Rectangle(c.dc(), -(1 << 26), 2, 1 << 26, 5));
    EXPECT_EQ(c.Where(kBlack).size(), 16u);
}

} // namespace
} // namespace zyn::test
