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

TEST_F(DrawStateTest, DisabledTextIsTwoColoured)
{
    Canvas c(120, 40);
    const wchar_t* text = L"&File";
    ASSERT_TRUE(DrawState(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 4, 4, 0, 0,
        DST_PREFIXTEXT | DSS_DISABLED));
    const PixelSet shadow = c.Where(kShadow), hilite = c.Where(kHilite);
    EXPECT_FALSE(shadow.empty());
    EXPECT_FALSE(hilite.empty());
    EXPECT_EQ(c.Not(kWhite).size(), shadow.size() + hilite.size()); // two colours only
    // Every highlight pixel is a shadow pixel's copy moved by (1, 1).
    for (const auto& [x, y] : hilite)
        EXPECT_TRUE(shadow.count({x - 1, y - 1})) << x << "," << y;
}

// Normal text is exactly what DrawTextW paints in the measured rectangle.
TEST_F(DrawStateTest, NormalTextIsDrawTextInTheMeasuredRectangle)
{
    const wchar_t* text = L"&Open file";
    Canvas a(160, 40), b(160, 40);
    EXPECT_TRUE(DrawState(a.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 5, 6, 0, 0, DST_PREFIXTEXT));
    RECT calc{0, 0, 0, 0};
    DrawTextW(b.dc(), text, -1, &calc, DT_CALCRECT);
    RECT at{5, 6, 5 + calc.right, 6 + calc.bottom};
    DrawTextW(b.dc(), text, -1, &at, 0);
    EXPECT_FALSE(a.Not(kWhite).empty());
    EXPECT_EQ(a.Not(kWhite), b.Not(kWhite));
    for (const auto& [x, y] : a.Not(kWhite)) {
        EXPECT_GE(x, at.left);
        EXPECT_LT(x, at.right);
        EXPECT_GE(y, at.top);
        EXPECT_LT(y, at.bottom);
    }
    // DST_TEXT shows the ampersand; a length in wData cuts the string.
    Canvas c(160, 40), d(160, 40);
    DrawState(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 5, 6, 0, 0, DST_TEXT);
    RECT at2{5, 6, 160, 40};
    DrawTextW(d.dc(), text, -1, &at2, DT_NOPREFIX);
    EXPECT_EQ(c.Not(kWhite), d.Not(kWhite));
    Canvas e(160, 40), f(160, 40);
    DrawState(e.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 5, 5, 6, 0, 0, DST_PREFIXTEXT);
    RECT at3{5, 6, 160, 40};
    DrawTextW(f.dc(), text, 5, &at3, 0);
    EXPECT_EQ(e.Not(kWhite), f.Not(kWhite));
}

TEST_F(DrawStateTest, RightAlignedAndMonoText)
{
    const wchar_t* text = L"Ctrl+O";
    Canvas c(200, 40);
    DrawState(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 0, 0, 190, 30, DST_TEXT | DSS_RIGHT);
    int maxX = -1, minX = 999;
    for (const auto& [x, y] : c.Not(kWhite)) {
        maxX = std::max(maxX, x);
        minX = std::min(minX, x);
    }
    EXPECT_GT(minX, 100);
    EXPECT_LT(maxX, 190);
    EXPECT_GT(maxX, 180);

    Canvas m(200, 40);
    HBRUSH red = CreateSolidBrush(kRed);
    EXPECT_TRUE(DrawState(m.dc(), red, nullptr, reinterpret_cast<LPARAM>(text), 0, 3, 3, 0, 0, DST_TEXT | DSS_MONO));
    DeleteObject(red);
    EXPECT_FALSE(m.Where(kRed).empty());
    EXPECT_EQ(m.Not(kWhite), m.Where(kRed)); // aliased through the mask: one colour
}

// An 8 x 8 icon: opaque red square (2,2)-(6,6), transparent elsewhere.
TEST_F(DrawStateTest, IconsInTheNormalMonoAndDisabledStates)
{
    HBITMAP mask = CreateBitmap(8, 8, 1, 1, nullptr);
    HBITMAP color = CreateBitmap(8, 8, 1, 32, nullptr);
    {
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, mask);
        PatBlt(mem, 0, 0, 8, 8, WHITENESS);
        PatBlt(mem, 2, 2, 4, 4, BLACKNESS);
        SelectObject(mem, color);
        PatBlt(mem, 0, 0, 8, 8, BLACKNESS);
        HBRUSH red = CreateSolidBrush(kRed);
        RECT sq{2, 2, 6, 6};
        FillRect(mem, &sq, red);
        DeleteObject(red);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(color);
    ASSERT_TRUE(icon);
    const LPARAM data = reinterpret_cast<LPARAM>(icon);

    Canvas c(20, 20);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, nullptr, data, 0, 3, 4, 0, 0, DST_ICON));
    EXPECT_EQ(c.Where(kRed), RectPixels(5, 6, 9, 10));
    EXPECT_EQ(c.Not(kWhite).size(), 16u);

    c.Clear(kWhite);
    EXPECT_TRUE(DrawState(c.dc(), reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_GRAYTEXT + 1)), nullptr, data,
        0, 3, 4, 0, 0, DST_ICON | DSS_MONO));
    EXPECT_EQ(c.Where(kGrayText), RectPixels(5, 6, 9, 10));
    EXPECT_EQ(c.Not(kWhite).size(), 16u);

    c.Clear(kWhite);
    EXPECT_TRUE(DrawState(c.dc(), nullptr, nullptr, data, 0, 3, 4, 0, 0, DST_ICON | DSS_DISABLED));
    const PixelSet shadow = RectPixels(5, 6, 9, 10);
    EXPECT_EQ(c.Where(kShadow), shadow);
    EXPECT_EQ(c.Where(kHilite), Minus(RectPixels(6, 7, 10, 11), shadow));
    DestroyIcon(icon);
}

} // namespace
} // namespace zyn::test
