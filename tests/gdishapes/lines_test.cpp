// Lines: pixel coverage in every octant, the excluded last point, styles, mixes, wide pens.
#include "tests/gdishapes/shapes_fixture.h"

#include "tests/support/timing.h"

namespace zyn::test {
namespace {

class LinesTest : public ShapesTest {};

PixelSet DrawLine(int x0, int y0, int x1, int y1)
{
    Canvas c(48, 48);
    MoveToEx(c.dc(), x0, y0, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), x1, y1));
    return c.Not(0xFFFFFF);
}

// Expected pixels: the minor coordinate is round(t * dMinor / n) for t = 0 .. n-1 (the
// last point excluded), worked out by hand for lines of slope 2/5 with no exact halves.
TEST_F(LinesTest, EveryOctantCoversTheRoundedPixelsAndExcludesTheLastPoint)
{
    EXPECT_EQ(DrawLine(20, 20, 25, 22), (PixelSet{{20, 20}, {21, 20}, {22, 21}, {23, 21}, {24, 22}}));
    EXPECT_EQ(DrawLine(20, 20, 22, 25), (PixelSet{{20, 20}, {20, 21}, {21, 22}, {21, 23}, {22, 24}}));
    EXPECT_EQ(DrawLine(20, 20, 18, 25), (PixelSet{{20, 20}, {20, 21}, {19, 22}, {19, 23}, {18, 24}}));
    EXPECT_EQ(DrawLine(20, 20, 15, 22), (PixelSet{{20, 20}, {19, 20}, {18, 21}, {17, 21}, {16, 22}}));
    EXPECT_EQ(DrawLine(20, 20, 15, 18), (PixelSet{{20, 20}, {19, 20}, {18, 19}, {17, 19}, {16, 18}}));
    EXPECT_EQ(DrawLine(20, 20, 18, 15), (PixelSet{{20, 20}, {20, 19}, {19, 18}, {19, 17}, {18, 16}}));
    EXPECT_EQ(DrawLine(20, 20, 22, 15), (PixelSet{{20, 20}, {20, 19}, {21, 18}, {21, 17}, {22, 16}}));
    EXPECT_EQ(DrawLine(20, 20, 25, 18), (PixelSet{{20, 20}, {21, 20}, {22, 19}, {23, 19}, {24, 18}}));
}

TEST_F(LinesTest, AxisAndDiagonalLinesStopOneShortOfTheirEnd)
{
    EXPECT_EQ(DrawLine(20, 20, 25, 20), (PixelSet{{20, 20}, {21, 20}, {22, 20}, {23, 20}, {24, 20}}));
    EXPECT_EQ(DrawLine(20, 20, 20, 16), (PixelSet{{20, 20}, {20, 19}, {20, 18}, {20, 17}}));
    EXPECT_EQ(DrawLine(20, 20, 24, 24), (PixelSet{{20, 20}, {21, 21}, {22, 22}, {23, 23}}));
    EXPECT_EQ(DrawLine(20, 20, 17, 23), (PixelSet{{20, 20}, {19, 21}, {18, 22}}));
    EXPECT_TRUE(DrawLine(20, 20, 20, 20).empty()); // a line to where it starts draws nothing
}

// An exact half goes to the smaller coordinate whichever way the line runs, so a line and
// its reverse differ only in their end points.
TEST_F(LinesTest, ExactHalvesRoundTowardsTheSmallerCoordinate)
{
    EXPECT_EQ(DrawLine(0, 0, 4, 2), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(DrawLine(4, 2, 0, 0), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
}

TEST_F(LinesTest, CurrentPositionFollowsLineToAndMoveToReturnsThePreviousOne)
{
    Canvas c(10, 10);
    POINT prev{-1, -1};
    EXPECT_TRUE(MoveToEx(c.dc(), 3, 4, &prev));
    EXPECT_EQ(prev.x, 0);
    EXPECT_EQ(prev.y, 0);
    EXPECT_TRUE(LineTo(c.dc(), 7, 4));
    POINT cur{};
    EXPECT_TRUE(GetCurrentPositionEx(c.dc(), &cur));
    EXPECT_EQ(cur.x, 7);
    EXPECT_EQ(cur.y, 4);
    const POINT more[] = {{7, 8}, {2, 8}};
    EXPECT_TRUE(PolylineTo(c.dc(), more, 2));
    EXPECT_TRUE(GetCurrentPositionEx(c.dc(), &cur));
    EXPECT_EQ(cur.x, 2);
    EXPECT_EQ(cur.y, 8);
    // Polyline neither reads nor moves the current position.
    const POINT pts[] = {{0, 0}, {0, 3}};
    EXPECT_TRUE(Polyline(c.dc(), pts, 2));
    EXPECT_TRUE(GetCurrentPositionEx(c.dc(), &cur));
    EXPECT_EQ(cur.x, 2);
    // The path 3,4 -> 7,4 -> 7,8 -> 2,8 with each end point left for the next segment.
    PixelSet expected{{0, 0}, {0, 1}, {0, 2}};
    for (int x = 3; x <= 6; ++x)
        expected.insert({x, 4});
    for (int y = 4; y <= 7; ++y)
        expected.insert({7, y});
    for (int x = 7; x >= 3; --x)
        expected.insert({x, 8});
    EXPECT_EQ(c.Not(kWhite), expected);
}

TEST_F(LinesTest, BadArgumentsFailCleanly)
{
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    Canvas c(10, 10);
    const POINT one[] = {{1, 1}};
    SetLastError(0);
    EXPECT_FALSE(Polyline(c.dc(), one, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Polyline(c.dc(), nullptr, 2));
    EXPECT_FALSE(PolylineTo(c.dc(), one, 0));
    EXPECT_FALSE(GetCurrentPositionEx(c.dc(), nullptr));
    // Coordinates beyond the 2^27 range are refused, and the position does not move.
    SetLastError(0);
    EXPECT_FALSE(LineTo(c.dc(), 1 << 28, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    POINT cur{};
    GetCurrentPositionEx(c.dc(), &cur);
    EXPECT_EQ(cur.x, 0);
    EXPECT_EQ(c.Not(kWhite).size(), 0u);
}

TEST_F(LinesTest, VeryLongLinesAreClippedWithoutWalkingTheirLength)
{
    Canvas c(20, 10);
    // Each run draws the same pixels again.
    const double seconds = BestSeconds([&] {
        MoveToEx(c.dc(), -100000000, 5, nullptr);
        EXPECT_TRUE(LineTo(c.dc(), 100000000, 5));
        LOGBRUSH lb{BS_SOLID, kRed, 0};
        Selected pen(c.dc(), ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 2, &lb, 0, nullptr));
        MoveToEx(c.dc(), -100000000, 1, nullptr);
        EXPECT_TRUE(LineTo(c.dc(), 100000000, 1));
    });
    EXPECT_LT(seconds, 2.0);
    EXPECT_EQ(c.Where(kBlack), RectPixels(0, 5, 20, 6));
    EXPECT_FALSE(c.Where(kRed).empty());
}

// ---- styles -----------------------------------------------------------------------------------
// PS_DOT is 3 pixels on, 3 off; the gaps take the background colour in OPAQUE mode.
TEST_F(LinesTest, DottedPenAlternatesThreeOnThreeOffAndPaintsGapsWhenOpaque)
{
    Canvas c(24, 20);
    Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    SetBkColor(c.dc(), kRed);
    SetBkMode(c.dc(), OPAQUE);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 20, 1);
    MoveToEx(c.dc(), 22, 0, nullptr); // the same dots down a column
    LineTo(c.dc(), 22, 20);
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 2, nullptr);
    LineTo(c.dc(), 20, 2);
    PixelSet on, gaps;
    for (int x = 0; x < 20; ++x)
        ((x / 3) % 2 == 0 ? on : gaps).insert({x, 0});
    PixelSet black, red;
    for (const auto& [x, y] : on) {
        black.insert({x, 1});
        black.insert({x, 2});
        black.insert({22, x});
    }
    for (const auto& [x, y] : gaps) {
        red.insert({x, 1});
        red.insert({22, x});
    }
    EXPECT_EQ(c.Where(kBlack), black);
    EXPECT_EQ(c.Where(kRed), red);
}

// In OPAQUE mode a CreatePen pen paints its gaps in the background colour, while an
// extended cosmetic pen leaves them untouched; on pixels are the same for both.
TEST_F(LinesTest, ExtendedCosmeticPensLeaveTheirGapsAloneEvenWhenOpaque)
{
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    const DWORD user[] = {2, 1, 1, 3}; // on 2, off 1, on 1, off 3
    struct Case {
        const char* name;
        HPEN pen;
        bool gapsPainted;
        bool (*on)(int x);
    };
    auto dot = [](int x) { return (x / 3) % 2 == 0; };                       // 3 on, 3 off
    auto dashDot = [](int x) { return x % 24 < 9 || (x % 24 >= 15 && x % 24 < 18); }; // 9, 6, 3, 6
    auto alternate = [](int x) { return x % 2 == 0; };
    auto userStyle = [](int x) { return x % 7 == 0 || x % 7 == 1 || x % 7 == 3; };
    const Case cases[] = {
        {"CreatePen dot", CreatePen(PS_DOT, 1, kBlack), true, dot},
        {"CreatePen dash-dot", CreatePen(PS_DASHDOT, 0, kBlack), true, dashDot},
        {"ExtCreatePen dot", ExtCreatePen(PS_COSMETIC | PS_DOT, 1, &lb, 0, nullptr), false, dot},
        {"ExtCreatePen dash-dot", ExtCreatePen(PS_COSMETIC | PS_DASHDOT, 1, &lb, 0, nullptr), false, dashDot},
        {"ExtCreatePen alternate", ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr), false, alternate},
        {"ExtCreatePen user", ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 4, user), false, userStyle},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.pen, nullptr) << c.name;
        Canvas canvas(40, 3);
        {
            Selected pen(canvas.dc(), c.pen);
            SetBkMode(canvas.dc(), OPAQUE);
            SetBkColor(canvas.dc(), kRed);
            MoveToEx(canvas.dc(), 0, 1, nullptr);
            LineTo(canvas.dc(), 30, 1);
        }
        PixelSet black, red;
        for (int x = 0; x < 30; ++x) {
            if (c.on(x))
                black.insert({x, 1});
            else if (c.gapsPainted)
                red.insert({x, 1});
        }
        EXPECT_EQ(canvas.Where(kBlack), black) << c.name;
        EXPECT_EQ(canvas.Where(kRed), red) << c.name;
    }
}

TEST_F(LinesTest, DashAndAlternateStyles)
{
    Canvas c(40, 4);
    {
        Selected pen(c.dc(), CreatePen(PS_DASH, 1, kBlack)); // 18 on, 6 off
        SetBkMode(c.dc(), TRANSPARENT);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 30, 0);
    }
    {
        LOGBRUSH lb{BS_SOLID, kBlack, 0};
        Selected pen(c.dc(), ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr));
        MoveToEx(c.dc(), 0, 2, nullptr);
        LineTo(c.dc(), 9, 2);
    }
    PixelSet expected = RectPixels(0, 0, 18, 1);
    for (const Pixel& p : RectPixels(24, 0, 30, 1))
        expected.insert(p);
    for (int x = 0; x < 9; x += 2)
        expected.insert({x, 2});
    EXPECT_EQ(c.Where(kBlack), expected);
}

TEST_F(LinesTest, UserStylesOfCosmeticPens)
{
    Canvas c(20, 2);
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    const DWORD style[] = {2, 1, 1, 3}; // on 2, off 1, on 1, off 3: period 7
    Selected pen(c.dc(), ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 4, style));
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 16, 0);
    PixelSet expected;
    for (int x = 0; x < 16; ++x)
        if (x % 7 == 0 || x % 7 == 1 || x % 7 == 3)
            expected.insert({x, 0});
    EXPECT_EQ(c.Where(kBlack), expected);
}

// Along a polyline the pattern runs on round the corner; separate LineTo calls restart it.
TEST_F(LinesTest, StyleRunsOnAlongAPolylineButRestartsPerLineTo)
{
    Canvas a(8, 8);
    {
        Selected pen(a.dc(), CreatePen(PS_DOT, 1, kBlack));
        SetBkMode(a.dc(), TRANSPARENT);
        const POINT pts[] = {{0, 0}, {4, 0}, {4, 6}};
        Polyline(a.dc(), pts, 3);
    }
    // Steps 0..3 along the top (x 0..3), 4..9 down (y 0..5); on: steps 0-2 and 6-8.
    EXPECT_EQ(a.Where(kBlack), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {4, 2}, {4, 3}, {4, 4}}));

    Canvas b(8, 8);
    {
        Selected pen(b.dc(), CreatePen(PS_DOT, 1, kBlack));
        SetBkMode(b.dc(), TRANSPARENT);
        MoveToEx(b.dc(), 0, 0, nullptr);
        LineTo(b.dc(), 4, 0);
        LineTo(b.dc(), 4, 6);
    }
    EXPECT_EQ(b.Where(kBlack), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {4, 0}, {4, 1}, {4, 2}}));
}

TEST_F(LinesTest, ClippingKeepsTheStylePhase)
{
    Canvas c(24, 2);
    Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    SetBkMode(c.dc(), TRANSPARENT);
    IntersectClipRect(c.dc(), 7, 0, 24, 2);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 20, 0);
    PixelSet expected;
    for (int x = 7; x < 20; ++x)
        if ((x / 3) % 2 == 0)
            expected.insert({x, 0});
    EXPECT_EQ(c.Where(kBlack), expected);
}

// ---- mixes ---------------------------------------------------------------------------------------
TEST_F(LinesTest, BinaryMixAppliesToPenPixels)
{
    Canvas c(12, 3);
    Selected pen(c.dc(), CreatePen(PS_SOLID, 1, kRed));
    SetROP2(c.dc(), R2_XORPEN);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 10, 1);
    // white XOR red: every bit of white except red's.
    EXPECT_EQ(c.Where(kWhite ^ kRed), RectPixels(0, 1, 10, 2));
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 10, 1);
    EXPECT_TRUE(c.Not(kWhite).empty());
    SetROP2(c.dc(), R2_NOT);
    MoveToEx(c.dc(), 2, 0, nullptr);
    LineTo(c.dc(), 2, 3);
    EXPECT_EQ(c.Where(kBlack), RectPixels(2, 0, 3, 3));
    SetROP2(c.dc(), R2_NOP);
    MoveToEx(c.dc(), 5, 0, nullptr);
    LineTo(c.dc(), 5, 3);
    EXPECT_EQ(c.Not(kWhite), RectPixels(2, 0, 3, 3));
}

// An XOR polyline that runs down a column and back up it touches each pixel once per
// pass: the doubled pixels cancel, the turning point and the start stay.
TEST_F(LinesTest, XorPolylineDownAColumnAndBackCountsEachPass)
{
    Canvas c(8, 8);
    Selected pen(c.dc(), CreatePen(PS_SOLID, 1, kRed));
    SetROP2(c.dc(), R2_XORPEN);
    const POINT there_and_back[] = {{5, 0}, {5, 6}, {5, 0}};
    Polyline(c.dc(), there_and_back, 3);
    EXPECT_EQ(c.Where(kWhite ^ kRed), (PixelSet{{5, 0}, {5, 6}}));
}

TEST_F(LinesTest, NullPenDrawsNothing)
{
    Canvas c(10, 10);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    MoveToEx(c.dc(), 0, 0, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), 9, 9));
    EXPECT_TRUE(c.Not(kWhite).empty());
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
}

// ---- wide pens --------------------------------------------------------------------------------------
// A pen w wide covers rows c - w/2 .. c + (w-1)/2 (rounded down) of a horizontal line at c.
TEST_F(LinesTest, WidePenCapsFlatSquareAndRound)
{
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    auto draw = [&](HPEN pen) {
        Canvas c(32, 20);
        Selected sel(c.dc(), pen);
        MoveToEx(c.dc(), 10, 10, nullptr);
        LineTo(c.dc(), 20, 10);
        return c.Not(kWhite);
    };
    // Flat: exactly the segment, 4 rows (8..11).
    EXPECT_EQ(draw(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 4, &lb, 0, nullptr)), RectPixels(10, 8, 20, 12));
    // Square: the segment lengthened by half the width at both ends.
    EXPECT_EQ(draw(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_SQUARE, 4, &lb, 0, nullptr)), RectPixels(8, 8, 22, 12));
    // Round (CreatePen's wide pens): discs of radius 1.5 at both ends cover the 3x3
    // neighbourhoods of (10,10) and (20,10).
    EXPECT_EQ(draw(CreatePen(PS_SOLID, 3, kBlack)), RectPixels(9, 9, 22, 12));
}

TEST_F(LinesTest, WidePenJoinsMiterBevelRound)
{
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    auto draw = [&](DWORD join) {
        Canvas c(32, 32);
        Selected sel(c.dc(), ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | join, 4, &lb, 0, nullptr));
        const POINT pts[] = {{10, 10}, {20, 10}, {20, 20}};
        Polyline(c.dc(), pts, 3);
        return c.Not(kWhite);
    };
    // The two flat segments alone: rows 8..11 of x 10..19, columns 18..21 of y 10..19.
    PixelSet body = RectPixels(10, 8, 20, 12);
    for (const Pixel& p : RectPixels(18, 10, 22, 20))
        body.insert(p);
    PixelSet miter = body, bevel = body, round = body;
    for (const Pixel& p : RectPixels(20, 8, 22, 10)) // the square corner up to the tip (22, 8)
        miter.insert(p);
    bevel.insert({20, 9}); // the triangle (20,10) (20,8) (22,10): only (20,9) lies inside
    round.insert({20, 9}); // the disc of radius 2 at (20,10): distance^2 < 4
    round.insert({21, 9});
    EXPECT_EQ(draw(PS_JOIN_MITER), miter);
    EXPECT_EQ(draw(PS_JOIN_BEVEL), bevel);
    EXPECT_EQ(draw(PS_JOIN_ROUND), round);
}

TEST_F(LinesTest, GeometricDashesAreCutInUnitsOfTheWidth)
{
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    Canvas c(40, 8);
    Selected sel(c.dc(), ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 2, &lb, 0, nullptr));
    MoveToEx(c.dc(), 0, 4, nullptr);
    LineTo(c.dc(), 32, 4);
    // Dashes of 6 on, 2 off, rows 3..4.
    PixelSet expected;
    for (int x = 0; x < 32; ++x)
        if (x % 8 < 6) {
            expected.insert({x, 3});
            expected.insert({x, 4});
        }
    EXPECT_EQ(c.Not(kWhite), expected);
}

TEST_F(LinesTest, WideXorStrokeTouchesEachPixelOnce)
{
    Canvas c(32, 32);
    Selected sel(c.dc(), CreatePen(PS_SOLID, 5, kRed));
    SetROP2(c.dc(), R2_XORPEN);
    const POINT pts[] = {{5, 5}, {25, 5}, {25, 25}, {5, 25}};
    Polyline(c.dc(), pts, 4);
    EXPECT_TRUE(c.Where(kWhite ^ kRed).size() > 0);
    EXPECT_TRUE(c.Where(kWhite ^ kRed).size() + c.Where(kWhite).size() == 32u * 32u);
}

} // namespace
} // namespace zyn::test
