// DrawState: callbacks and bitmaps in the normal, disabled, mono and union states; text
// forms when the text renderer is linked in.
#include "tests/gdishapes/shapes_fixture.h"

namespace zyn::test {
namespace {

class DrawStateTest : public ShapesTest {
protected:
    void SetUp() override
    {
        ShapesTest::SetUp();
        DistinctColors();
    }
};

// Draws a black block (1,1)-(4,3) in the callback's own coordinates.
BOOL Block(HDC hdc, LPARAM, WPARAM, int cx, int cy)
{
    EXPECT_EQ(cx, 6);
    EXPECT_EQ(cy, 4);
    RECT r{1, 1, 4, 3};
    FillRect(hdc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
}

BOOL Fill(HDC hdc, LPARAM, WPARAM, int cx, int cy)
{
    RECT r{0, 0, cx, cy};
    FillRect(hdc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
}

TEST_F(DrawStateTest, NormalCallbackDrawsAtThePosition)
{
    Canvas c(16, 12);
    EXPECT_TRUE(DrawStateW(c.dc(), nullptr, Block, 0, 0, 5, 6, 6, 4, DST_COMPLEX | DSS_NORMAL));
    EXPECT_EQ(c.Where(kBlack), RectPixels(6, 7, 9, 9));
    // The callback's origin change does not outlive the call.
    POINT org{};
    GetViewportOrgEx(c.dc(), &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(org.y, 0);
}

// Disabled: the mask in 3DHIGHLIGHT at (+1,+1), then in 3DSHADOW in place.
TEST_F(DrawStateTest, DisabledIsAnEmbossedTwoColourImage)
{
    Canvas c(16, 12);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, Block, 0, 0, 5, 6, 6, 4, DST_COMPLEX | DSS_DISABLED));
    const PixelSet shadow = RectPixels(6, 7, 9, 9);
    EXPECT_EQ(c.Where(kShadow), shadow);
    EXPECT_EQ(c.Where(kHilite), Minus(RectPixels(7, 8, 10, 10), shadow));
    EXPECT_EQ(c.Not(kWhite).size(), shadow.size() + 4u);
}

TEST_F(DrawStateTest, MonoPaintsTheShapeWithTheGivenBrush)
{
    Canvas c(16, 12);
    HBRUSH red = CreateSolidBrush(kRed);
    EXPECT_TRUE(DrawState(c.dc(), red, Block, 0, 0, 5, 6, 6, 4, DST_COMPLEX | DSS_MONO));
    EXPECT_EQ(c.Where(kRed), RectPixels(6, 7, 9, 9));
    EXPECT_EQ(c.Not(kWhite).size(), 6u);
    DeleteObject(red);
    // A system colour index + 1 works as the brush.
    c.Clear(kWhite);
    DrawState(c.dc(), reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_GRAYTEXT + 1)), Block, 0, 0, 0, 0, 6, 4,
        DST_COMPLEX | DSS_MONO);
    EXPECT_EQ(c.Where(kGrayText), RectPixels(1, 1, 4, 3));
    // Without a brush, the DC's own.
    c.Clear(kWhite);
    Selected sel(c.dc(), CreateSolidBrush(kBlue));
    DrawState(c.dc(), nullptr, Block, 0, 0, 0, 0, 6, 4, DST_COMPLEX | DSS_MONO);
    EXPECT_EQ(c.Where(kBlue), RectPixels(1, 1, 4, 3));
}

// Union: the image lands only where the halftone has a 1 (x + y even from the origin).
TEST_F(DrawStateTest, UnionDithersTheImage)
{
    Canvas c(12, 10, kRed);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, Fill, 0, 0, 2, 3, 5, 4, DST_COMPLEX | DSS_UNION));
    PixelSet expected;
    for (const auto& [x, y] : RectPixels(2, 3, 7, 7))
        if ((x + y) % 2 == 0)
            expected.insert({x, y});
    EXPECT_EQ(c.Where(kBlack), expected);
    EXPECT_EQ(c.Not(kRed), expected);
}

// A bitmap: copied as it is when normal; its non-white pixels form the mask otherwise.
TEST_F(DrawStateTest, BitmapsMeasureThemselvesAndMaskByTheirWhite)
{
    // 4 x 3: a green column at x 1, a blue pixel at (3, 2), white elsewhere.
    HBITMAP bm = CreateBitmap(4, 3, 1, 32, nullptr);
    {
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bm);
        PatBlt(mem, 0, 0, 4, 3, WHITENESS);
        for (int y = 0; y < 3; ++y)
            SetPixel(mem, 1, y, kGreen);
        SetPixel(mem, 3, 2, kBlue);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    Canvas c(12, 10, kRed);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(bm), 0, 2, 2, 0, 0, DST_BITMAP));
    EXPECT_EQ(c.Where(kGreen), RectPixels(3, 2, 4, 5));
    EXPECT_EQ(c.Where(kBlue), (PixelSet{{5, 4}}));
    EXPECT_EQ(c.Where(kWhite).size(), 12u - 4u);

    c.Clear(kRed);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(DrawState(c.dc(), black, nullptr, reinterpret_cast<LPARAM>(bm), 0, 2, 2, 0, 0, DST_BITMAP | DSS_MONO));
    PixelSet shape = RectPixels(3, 2, 4, 5);
    shape.insert({5, 4});
    EXPECT_EQ(c.Where(kBlack), shape);
    EXPECT_EQ(c.Not(kRed), shape);
    DeleteObject(bm);
}

TEST_F(DrawStateTest, DisabledOnAMonoTarget)
{
    Canvas c(12, 10, kWhite, true);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, Block, 0, 0, 0, 0, 6, 4, DST_COMPLEX | DSS_DISABLED));
    // Shadow 0x202020 and highlight 0x303030 (as set here) are both nearer black: the
    // union of both copies.
    PixelSet both = RectPixels(1, 1, 4, 3);
    for (const Pixel& p : RectPixels(2, 2, 5, 4))
        both.insert(p);
    EXPECT_EQ(c.Where(kBlack), both);
}

TEST_F(DrawStateTest, BadArguments)
{
    Canvas c(8, 8);
    SetLastError(0);
    EXPECT_FALSE(DrawState(c.dc(), nullptr, nullptr, 0, 0, 0, 0, 4, 4, DST_COMPLEX));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(DrawState(c.dc(), nullptr, Fill, 0, 0, 0, 0, 0, 0, DST_COMPLEX)); // a drawing has no size
    EXPECT_FALSE(DrawState(c.dc(), nullptr, nullptr, 0, 0, 0, 0, 4, 4, DST_TEXT));  // no text
    EXPECT_FALSE(DrawState(c.dc(), nullptr, nullptr, 0x1234567, 0, 0, 0, 0, 0, DST_BITMAP));
    EXPECT_FALSE(DrawState(c.dc(), nullptr, Fill, 0, 0, 0, 0, 4, 4, 9));
    EXPECT_FALSE(DrawState(nullptr, nullptr, Fill, 0, 0, 0, 0, 4, 4, DST_COMPLEX));
    EXPECT_FALSE(DrawState(c.dc(), nullptr, Fill, 0, 0, 0, 0, -4, 4, DST_COMPLEX));
    EXPECT_TRUE(c.Not(kWhite).empty());
}

// Text forms need the text renderer; where it is not linked in they report so.
TEST_F(DrawStateTest, DisabledTextIsTwoColoured)
{
    Canvas c(120, 40);
    const wchar_t* text = L"&File";
    SetLastError(0);
    const BOOL ok = DrawState(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 4, 4, 0, 0,
        DST_PREFIXTEXT | DSS_DISABLED);
    if (!ok && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        GTEST_SKIP() << "text rendering not linked in";
    ASSERT_TRUE(ok);
    const PixelSet shadow = c.Where(kShadow), hilite = c.Where(kHilite);
    EXPECT_FALSE(shadow.empty());
    EXPECT_FALSE(hilite.empty());
    EXPECT_EQ(c.Not(kWhite).size(), shadow.size() + hilite.size()); // two colours only
    // Every highlight pixel is a shadow pixel's copy moved by (1, 1).
    for (const auto& [x, y] : hilite)
        EXPECT_TRUE(shadow.count({x - 1, y - 1})) << x << "," << y;
}

} // namespace
} // namespace zyn::test
