// DrawFrameControl: frames, glyph positions, embossing and the check box / radio parts.
#include "tests/gdishapes/shapes_fixture.h"

namespace zyn::test {
namespace {

class FrameControlTest : public ShapesTest {
protected:
    void SetUp() override
    {
        ShapesTest::SetUp();
        DistinctColors();
    }
    static std::vector<std::pair<COLORREF, char>> Legend()
    {
        return {{kFace, 'F'}, {kShadow, 'S'}, {kHilite, 'H'}, {kDkShadow, 'D'}, {kLight, 'L'}, {kWindow, 'W'},
            {kFrame, 'M'}, {kBtnText, 'T'}, {kWinText, 'X'}, {kWhite, '.'}, {kBlack, '#'}};
    }
    // The classic check mark, 7 x 7, by its own rule: column c is three pixels tall from
    // row 2 + c (c <= 2) or 6 - c (c >= 2).
    static PixelSet CheckMark(int x0, int y0)
    {
        PixelSet s;
        for (int c = 0; c < 7; ++c) {
            const int top = c <= 2 ? 2 + c : 6 - c;
            for (int r = top; r < top + 3; ++r)
                s.insert({x0 + c, y0 + r});
        }
        return s;
    }
};

// A push button: the soft raised edge (white-most top-left, darkest bottom-right) round
// a face-coloured middle; pushed: the soft sunken edge.
TEST_F(FrameControlTest, PushButtonEdges)
{
    Canvas c(8, 6);
    RECT r{0, 0, 8, 6};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(c.Picture(r, Legend()),
        "HHHHHHHD\n"
        "HLLLLLSD\n"
        "HLFFFFSD\n"
        "HLFFFFSD\n"
        "HSSSSSSD\n"
        "DDDDDDDD\n");
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT));
    EXPECT_EQ(c.Picture(RECT{0, 0, 8, 6}, Legend()),
        "DDDDDDDH\n"
        "DSSSSSLH\n"
        "DSFFFFLH\n"
        "DSFFFFLH\n"
        "DLLLLLLH\n"
        "HHHHHHHH\n");
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 6);
    EXPECT_EQ(r.bottom, 4);
}

TEST_F(FrameControlTest, FlatAndTransparentPushButtons)
{
    Canvas c(6, 5);
    RECT r{0, 0, 6, 5};
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT);
    EXPECT_EQ(c.Picture(r, Legend()),
        "SSSSSS\n"
        "SFFFFS\n"
        "SFFFFS\n"
        "SFFFFS\n"
        "SSSSSS\n");
    c.Clear(kWhite);
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_TRANSPARENT);
    EXPECT_EQ(c.At(2, 2), kWhite);
    EXPECT_EQ(c.At(0, 0), kHilite);
}

// 13 x 13: the sunken edge, a 9 x 9 window-coloured inside, the 7 x 7 check one pixel in.
TEST_F(FrameControlTest, CheckBoxFrameInsideAndMark)
{
    Canvas c(13, 13);
    RECT r{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_EQ(c.At(0, 0), kShadow);
    EXPECT_EQ(c.At(12, 0), kHilite);
    EXPECT_EQ(c.At(0, 12), kHilite);
    EXPECT_EQ(c.At(1, 1), kDkShadow);
    EXPECT_EQ(c.At(11, 1), kLight);
    EXPECT_EQ(c.At(1, 11), kLight);
    const PixelSet mark = CheckMark(3, 3);
    EXPECT_EQ(c.Where(kWinText), mark);
    EXPECT_EQ(c.Where(kWindow), Minus(RectPixels(2, 2, 11, 11), mark));
    // Inactive: face inside, shadow mark. Unchecked: no mark.
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(c.Where(kShadow), [&] {
        PixelSet s = mark;
        for (int i = 0; i < 12; ++i) {
            s.insert({i, 0});
            s.insert({0, i});
        }
        return s;
    }());
    EXPECT_EQ(c.Where(kFace), Minus(RectPixels(2, 2, 11, 11), mark));
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(c.Where(kWindow), RectPixels(2, 2, 11, 11));
}

TEST_F(FrameControlTest, CheckBoxUsesTheCentredSquareAndFlatFrame)
{
    Canvas c(20, 13);
    RECT r{0, 0, 20, 13};
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED);
    // Square (3,0)-(16,13): one shadow pixel, then the window colour.
    EXPECT_EQ(c.Where(kShadow), Minus(RectPixels(3, 0, 16, 13), RectPixels(4, 1, 15, 12)));
    const PixelSet mark = CheckMark(6, 3); // inside 11 x 11 from (4,1): offset (11-7)/2 = 2
    EXPECT_EQ(c.Where(kWinText), mark);
    EXPECT_EQ(c.At(2, 5), kWhite);
    EXPECT_EQ(c.At(16, 5), kWhite);
}

TEST_F(FrameControlTest, ThreeStateCheckedIsDithered)
{
    Canvas c(13, 13);
    RECT r{0, 0, 13, 13};
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
    EXPECT_EQ(c.At(2, 2), kHilite); // x + y even: the halftone's 1
    EXPECT_EQ(c.At(3, 2), kFace);
    EXPECT_EQ(c.At(3, 5), kShadow); // the mark, in shadow
}

// Radio, 12 x 12: the rings split along the rising diagonal, the 4 x 4 dot when checked.
TEST_F(FrameControlTest, RadioButtonRingsAndDot)
{
    Canvas c(12, 12);
    RECT r{0, 0, 12, 12};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
    // Top row of the ellipse: |x + .5 - 6| <= 6 * sqrt(1 - (5.5/6)^2) = 2.4: x 4..7.
    for (int x = 4; x <= 7; ++x)
        EXPECT_EQ(c.At(x, 0), kShadow) << x;
    EXPECT_EQ(c.At(3, 0), kWhite);
    EXPECT_EQ(c.At(8, 0), kWhite);
    EXPECT_EQ(c.At(0, 5), kShadow);   // left end of the middle rows: top-left half
    EXPECT_EQ(c.At(11, 6), kHilite);  // right end: bottom-right half
    EXPECT_EQ(c.At(5, 11), kHilite);
    EXPECT_EQ(c.At(1, 5), kDkShadow); // the inner ring
    EXPECT_EQ(c.At(10, 6), kLight);
    EXPECT_EQ(c.Where(kWinText), (PixelSet{{5, 4}, {6, 4}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {4, 6}, {5, 6}, {6, 6},
                                     {7, 6}, {5, 7}, {6, 7}}));
    EXPECT_EQ(c.At(2, 6), kWindow);
    EXPECT_EQ(c.At(0, 0), kWhite); // corners outside the circle are left alone
    // The mask: black disc on white.
    Canvas m(12, 12, kRed);
    DrawFrameControl(m.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
    EXPECT_EQ(m.At(0, 0), kWhite);
    EXPECT_EQ(m.At(6, 6), kBlack);
    EXPECT_EQ(m.At(5, 0), kBlack);
}

// Caption buttons 16 x 14: inside (2,2)-(14,12) is 12 x 10; the 9 x 9 glyph sits at
// (2 + 3/2, 2 + 1/2) = (3, 2).
TEST_F(FrameControlTest, CaptionCloseGlyphPlacementPushAndInactive)
{
    Canvas c(16, 14);
    RECT r{0, 0, 16, 14};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    // The cross: two 2-pixel-wide diagonals from (3,3) and (10,3), meeting at rows 6.
    PixelSet cross;
    for (int i = 0; i < 7; ++i) {
        const int y = 3 + i;
        const int a = i <= 3 ? i : 6 - i; // distance in from the glyph's side
        cross.insert({3 + a, y});
        cross.insert({4 + a, y});
        cross.insert({10 - a, y});
        cross.insert({9 - a, y});
    }
    EXPECT_EQ(c.Where(kBtnText), cross);
    EXPECT_EQ(c.At(0, 0), kHilite);
    EXPECT_EQ(c.At(15, 13), kDkShadow);

    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
    PixelSet moved;
    for (const auto& [x, y] : cross)
        moved.insert({x + 1, y + 1});
    EXPECT_EQ(c.Where(kBtnText), moved);
    EXPECT_EQ(c.At(0, 0), kDkShadow);

    // Inactive: the shadow glyph in place over a highlight copy moved by (1,1).
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE);
    EXPECT_TRUE(c.Where(kBtnText).empty());
    PixelSet shadowInside;
    for (const auto& p : c.Where(kShadow))
        if (p.first >= 2 && p.first < 13 && p.second >= 2 && p.second < 11)
            shadowInside.insert(p);
    EXPECT_EQ(shadowInside, cross);
    PixelSet lit;
    for (const auto& [x, y] : cross)
        if (!cross.count({x + 1, y + 1}))
            lit.insert({x + 1, y + 1});
    PixelSet hiliteInside;
    for (const auto& p : c.Where(kHilite))
        if (p.first >= 2 && p.first < 14 && p.second >= 2 && p.second < 12)
            hiliteInside.insert(p);
    EXPECT_EQ(hiliteInside, lit);
}

TEST_F(FrameControlTest, CaptionMinMaxRestoreHelp)
{
    Canvas c(16, 14);
    RECT r{0, 0, 16, 14};
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONMIN);
    EXPECT_EQ(c.Where(kBtnText), RectPixels(4, 9, 10, 11)); // the bar: glyph rows 7-8, columns 1-6
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONMAX);
    // The window: a 9 x 9 frame with a two-pixel top.
    EXPECT_EQ(c.Where(kBtnText), Minus(RectPixels(3, 2, 12, 11), RectPixels(4, 4, 11, 10)));
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONRESTORE);
    EXPECT_EQ(c.At(5, 2), kBtnText);  // back window's top
    EXPECT_EQ(c.At(3, 5), kBtnText);  // front window's top
    EXPECT_EQ(c.At(5, 8), kFace);     // inside the front window
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONHELP);
    EXPECT_EQ(c.Where(kBtnText).size(), 22u);
    SetLastError(0);
    EXPECT_FALSE(DrawFrameControl(c.dc(), &r, DFC_CAPTION, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A caption button smaller than the glyph's cell (the 11 x 11 buttons of a docked bar's
// caption, 7 x 7 inside): the glyph is shrunk into the inside and the frame stays whole,
// pushed or inactive too (the glyph then keeps a pixel free for its move or emboss).
TEST_F(FrameControlTest, ASmallCaptionButtonKeepsItsFrame)
{
    const auto ring = [](Canvas& c) {
        std::vector<COLORREF> px;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x)
                if (x < 2 || x >= 9 || y < 2 || y >= 9)
                    px.push_back(c.At(x, y));
        return px;
    };
    for (const UINT glyph : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
        for (const UINT look : {0u, DFCS_PUSHED, DFCS_INACTIVE}) {
            Canvas plain(11, 11), button(11, 11);
            RECT r{0, 0, 11, 11};
            // The same frame without a glyph: a push button's.
            DrawFrameControl(plain.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (look & DFCS_PUSHED));
            EXPECT_TRUE(DrawFrameControl(button.dc(), &r, DFC_CAPTION, glyph | look));
            EXPECT_EQ(ring(button), ring(plain)) << "glyph " << glyph << " look " << look;
            EXPECT_FALSE(button.Where(look & DFCS_INACTIVE ? kShadow : kBtnText).empty())
                << "glyph " << glyph << " look " << look;
        }
    }
    // The window glyph's 9 x 9 box in 7 x 7: rows 0, 1, 3, 4, 5, 7, 8 of it (the middle of
    // each stretch of 9/7), so a two-pixel top, a one-pixel bottom and both sides.
    Canvas c(11, 11);
    RECT r{0, 0, 11, 11};
    DrawFrameControl(c.dc(), &r, DFC_CAPTION, DFCS_CAPTIONMAX);
    EXPECT_EQ(c.Where(kBtnText), Minus(RectPixels(2, 2, 9, 9), RectPixels(3, 4, 8, 8)));
}

// Scroll arrows, 16 x 16: the plain raised edge; the 7 x 4 arrow at
// (2 + 5/2, 2 + 8/2) = (4, 6); pushed: a flat shadow frame and the arrow moved by one.
TEST_F(FrameControlTest, ScrollArrows)
{
    Canvas c(16, 16);
    RECT r{0, 0, 16, 16};
    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLUP);
    PixelSet up;
    for (int row = 0; row < 4; ++row)
        for (int x = 3 - row; x <= 3 + row; ++x)
            up.insert({4 + x, 6 + row});
    EXPECT_EQ(c.Where(kBtnText), up);
    EXPECT_EQ(c.At(0, 0), kLight);
    EXPECT_EQ(c.At(1, 1), kHilite);
    EXPECT_EQ(c.At(15, 0), kDkShadow);

    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    PixelSet down;
    for (int row = 0; row < 4; ++row)
        for (int x = row; x <= 6 - row; ++x)
            down.insert({5 + x, 7 + row});
    EXPECT_EQ(c.Where(kBtnText), down);
    EXPECT_EQ(c.At(0, 0), kShadow);
    EXPECT_EQ(c.At(15, 15), kShadow);
    EXPECT_EQ(c.At(1, 1), kFace);

    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLLEFT);
    PixelSet left;
    for (int col = 0; col < 4; ++col)
        for (int y = 3 - col; y <= 3 + col; ++y)
            left.insert({6 + col, 4 + y});
    EXPECT_EQ(c.Where(kBtnText), left);
    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE);
    EXPECT_TRUE(c.Where(kBtnText).empty());
    EXPECT_EQ(c.At(6, 4), kShadow);  // the right arrow's base column
    EXPECT_EQ(c.At(10, 8), kHilite); // its point (9,7), embossed one right and down
}

TEST_F(FrameControlTest, SizeGripDiagonals)
{
    Canvas c(12, 12);
    RECT r{0, 0, 12, 12};
    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    // j = steps from the bottom-right pixel: 1, 2 shadow; 3 highlight; 4 face; ...
    EXPECT_EQ(c.At(11, 11), kFace);
    EXPECT_EQ(c.At(11, 10), kShadow);
    EXPECT_EQ(c.At(10, 10), kShadow);
    EXPECT_EQ(c.At(9, 11), kShadow);
    EXPECT_EQ(c.At(11, 8), kHilite);
    EXPECT_EQ(c.At(10, 9), kHilite);
    EXPECT_EQ(c.At(11, 7), kFace);
    EXPECT_EQ(c.At(11, 6), kShadow);
    EXPECT_EQ(c.At(0, 0), kFace);
    DrawFrameControl(c.dc(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIPRIGHT);
    EXPECT_EQ(c.At(0, 10), kShadow);
    EXPECT_EQ(c.At(0, 8), kHilite);
    EXPECT_EQ(c.At(11, 8), kFace);
    // Three ridges only: diagonals 1 .. 12.
    Canvas big(20, 20);
    RECT rb{0, 0, 20, 20};
    DrawFrameControl(big.dc(), &rb, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    EXPECT_EQ(big.At(19, 8), kHilite); // j = 11
    EXPECT_EQ(big.At(19, 7), kFace);   // j = 12
    EXPECT_EQ(big.At(19, 5), kFace);   // j = 14 would be shadow if the ridges went on
    EXPECT_EQ(big.Where(kShadow).size(), 2u + 3u + 6u + 7u + 10u + 11u);
}

// Frame controls paint in several steps; on a 24-bit DIB section (kept in a separate
// buffer) every step must reach the caller's bits.
TEST_F(FrameControlTest, DibSectionTargetsSeeEveryStep)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dib);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    RECT r{0, 0, 16, 16};
    EXPECT_TRUE(DrawFrameControl(mem, &r, DFC_SCROLL, DFCS_SCROLLUP));
    Canvas ref(16, 16);
    DrawFrameControl(ref.dc(), &r, DFC_SCROLL, DFCS_SCROLLUP);
    const auto* p = static_cast<const uint8_t*>(bits);
    const size_t stride = (16 * 3 + 3) & ~size_t(3);
    int differ = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t* px = p + y * stride + x * 3; // B, G, R
            const COLORREF c = RGB(px[2], px[1], px[0]);
            if (c != ref.At(x, y))
                ++differ;
        }
    EXPECT_EQ(differ, 0);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
}

// Menu glyphs are masks: black on white. The 7 x 7 check sits at ((13-7)/2, (13-7)/2).
TEST_F(FrameControlTest, MenuGlyphsAreBlackOnWhite)
{
    Canvas c(13, 13, kRed);
    RECT r{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &r, DFC_MENU, DFCS_MENUCHECK));
    EXPECT_EQ(c.Where(kBlack), CheckMark(3, 3));
    EXPECT_EQ(c.Where(kWhite).size(), 169u - 21u);
    DrawFrameControl(c.dc(), &r, DFC_MENU, DFCS_MENUBULLET);
    EXPECT_EQ(c.Where(kBlack), Minus(RectPixels(4, 4, 9, 9), PixelSet{{4, 4}, {8, 4}, {4, 8}, {8, 8}}));
    DrawFrameControl(c.dc(), &r, DFC_MENU, DFCS_MENUARROW);
    PixelSet arrow; // 4 x 7 at ((13-4)/2, 3): the point on the right
    for (int col = 0; col < 4; ++col)
        for (int y = col; y <= 6 - col; ++y)
            arrow.insert({4 + col, 3 + y});
    EXPECT_EQ(c.Where(kBlack), arrow);
}

TEST_F(FrameControlTest, BadArguments)
{
    Canvas c(8, 8);
    RECT r{0, 0, 8, 8};
    EXPECT_FALSE(DrawFrameControl(c.dc(), nullptr, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_FALSE(DrawFrameControl(nullptr, &r, DFC_BUTTON, DFCS_BUTTONPUSH));
    SetLastError(0);
    EXPECT_FALSE(DrawFrameControl(c.dc(), &r, 99, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    RECT huge{0, 0, 1 << 20, 10};
    EXPECT_FALSE(DrawFrameControl(c.dc(), &huge, DFC_BUTTON, DFCS_BUTTONPUSH));
}

} // namespace
} // namespace zyn::test
