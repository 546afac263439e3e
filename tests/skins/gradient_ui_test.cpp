// The 2003 skin's gradients and gripper stripes, pixel by pixel. Expected colours come
// from the fills' written rules, worked here:
//   by hand       line i of n takes from + (to - from) · i / n per channel, the division
//                 truncating toward zero;
//   the library   each channel widened to 16 bits as channel × 255, interpolated the
//                 same way on 16 bits, and the high byte kept.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/afx/gdi/geometry.h"
#include "tests/skins/canvas.h"
#include "tests/skins/msimg32.h"
#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/skin_2003.h"

using skintest::Canvas;

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);

int Lerp(int a, int b, int i, int n) { return a + (b - a) * i / n; }

COLORREF Expected(COLORREF from, COLORREF to, int i, int n)
{
    return RGB(Lerp(GetRValue(from), GetRValue(to), i, n), Lerp(GetGValue(from), GetGValue(to), i, n),
        Lerp(GetBValue(from), GetBValue(to), i, n));
}

int Lerp16(int a, int b, int i, int n)
{
    const int64_t a16 = a * 255, b16 = b * 255;
    return static_cast<int>((a16 + (b16 - a16) * i / n) >> 8);
}

COLORREF ExpectedThroughLibrary(COLORREF from, COLORREF to, int i, int n)
{
    return RGB(Lerp16(GetRValue(from), GetRValue(to), i, n), Lerp16(GetGValue(from), GetGValue(to), i, n),
        Lerp16(GetBValue(from), GetBValue(to), i, n));
}

class Gradients : public skintest::GdiLeakCheck {
protected:
    skintest::SysColours m_colours;
};

} // namespace

// The library's pixels follow the 16-bit rule, and lie at most one level below the
// hand-drawn ones where a channel rises (or stays) and two where it falls; never above.
TEST_F(Gradients, ThroughTheLibraryTheyStayWithinALevelOrTwoOfTheHandDrawnOnes)
{
    skintest::Msimg32Present library;
    COXSkin2003 skin;
    ASSERT_TRUE(skin.HasGradientFillEntry());

    struct Case {
        RECT rect;
        COLORREF from, to;
    };
    const Case cases[] = {
        {{3, 4, 40, 30}, RGB(255, 0, 128), RGB(0, 255, 7)},
        {{0, 0, 64, 64}, RGB(0, 0, 0), RGB(255, 255, 255)},
        {{5, 5, 6, 50}, RGB(10, 200, 30), RGB(250, 20, 31)},
        {{10, 2, 63, 3}, RGB(244, 247, 252), RGB(90, 135, 208)},
        {{1, 1, 60, 61}, RGB(7, 7, 7), RGB(7, 7, 7)},
        {{0, 0, 64, 64}, RGB(5, 5, 5), RGB(0, 0, 0)}, // falls by less than a level per 12 lines
        {{2, 3, 2, 40}, RGB(0, 0, 0), RGB(255, 255, 255)}, // empty
    };
    int lower = 0, twoLower = 0;
    for (const Case& c : cases)
        for (ULONG mode : {GRADIENT_FILL_RECT_H, GRADIENT_FILL_RECT_V}) {
            Canvas library(64, 64, kSentinel);
            Canvas manual(64, 64, kSentinel);
            EXPECT_TRUE(skin.GradientFill(library.dc(), &c.rect, c.from, c.to, mode));
            EXPECT_TRUE(skin.GradientFillManual(manual.dc(), &c.rect, c.from, c.to, mode));
            const int n = mode ? c.rect.bottom - c.rect.top : c.rect.right - c.rect.left;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const COLORREF l = library.at(x, y), m = manual.at(x, y);
                    const bool inside = x >= c.rect.left && x < c.rect.right && y >= c.rect.top && y < c.rect.bottom;
                    if (!inside) {
                        ASSERT_EQ(l, kSentinel) << x << "," << y;
                        ASSERT_EQ(m, kSentinel) << x << "," << y;
                        continue;
                    }
                    const int i = mode ? y - c.rect.top : x - c.rect.left;
                    ASSERT_EQ(l, ExpectedThroughLibrary(c.from, c.to, i, n)) << "library, mode " << mode << " at " << x
                                                                             << "," << y;
                    ASSERT_EQ(m, Expected(c.from, c.to, i, n)) << "by hand, mode " << mode << " at " << x << "," << y;
                    using Part = BYTE (*)(COLORREF);
                    for (Part part : {Part(GetRValue), Part(GetGValue), Part(GetBValue)}) {
                        const int below = part(m) - part(l);
                        const bool falls = part(c.to) < part(c.from);
                        ASSERT_GE(below, 0) << x << "," << y;
                        ASSERT_LE(below, falls ? 2 : 1) << x << "," << y;
                        lower += below > 0;
                        twoLower += below == 2;
                    }
                }
        }
    EXPECT_GT(lower, 0) << "the two rules do differ";
    EXPECT_GT(twoLower, 0) << "a falling channel can differ by two";
}

TEST_F(Gradients, EndsAndSteps)
{
    skintest::Msimg32Present library;
    COXSkin2003 skin;
    const RECT r{2, 1, 12, 5}; // 10 columns, 4 rows
    for (bool viaLibrary : {true, false}) {
        Canvas canvas(16, 8, kSentinel);
        const COLORREF from = RGB(255, 0, 100), to = RGB(0, 255, 200);
        if (viaLibrary)
            skin.GradientFill(canvas.dc(), &r, from, to, GRADIENT_FILL_RECT_H);
        else
            skin.GradientFillManual(canvas.dc(), &r, from, to, GRADIENT_FILL_RECT_H);
        if (viaLibrary) {
            // The first column: 255 · 255 = 65025 -> 254, 0, 100 · 255 = 25500 -> 99.
            EXPECT_EQ(canvas.at(2, 1), RGB(254, 0, 99));
            // The last: 65025 - 58522 = 6503 -> 25; 58522 -> 228; 25500 + 22950 = 48450 -> 189.
            EXPECT_EQ(canvas.at(11, 4), RGB(25, 228, 189));
        } else {
            // The first column has exactly the start colour; the last stops one step short:
            // 255 + (-255 · 9) / 10 = 255 - 229 (toward zero), 255 · 9 / 10, 100 + 100 · 9 / 10.
            EXPECT_EQ(canvas.at(2, 1), from);
            EXPECT_EQ(canvas.at(11, 4), RGB(26, 229, 190));
        }
        for (int x = 2; x < 12; ++x)
            for (int y = 1; y < 5; ++y)
                EXPECT_EQ(canvas.at(x, y),
                    viaLibrary ? ExpectedThroughLibrary(from, to, x - 2, 10) : Expected(from, to, x - 2, 10))
                    << x << "," << y;
        // Nothing outside the rectangle.
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(canvas.at(x, 0), kSentinel);
            EXPECT_EQ(canvas.at(x, 5), kSentinel);
        }
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(canvas.at(1, y), kSentinel);
            EXPECT_EQ(canvas.at(12, y), kSentinel);
        }
    }
}

TEST_F(Gradients, BlackToWhiteOver256RowsNeverReachesWhite)
{
    COXSkin2003 skin;
    Canvas canvas(2, 256, kSentinel);
    const RECT r{0, 0, 2, 256};
    EXPECT_TRUE(skin.GradientFillManual(canvas.dc(), &r, RGB(0, 0, 0), RGB(255, 255, 255), GRADIENT_FILL_RECT_V));
    for (int y = 0; y < 256; ++y) {
        const int grey = 255 * y / 256;
        ASSERT_EQ(canvas.at(1, y), RGB(grey, grey, grey)) << y;
    }
    EXPECT_EQ(canvas.at(0, 255), RGB(254, 254, 254));
}

TEST_F(Gradients, AnEmptyRectangleDrawsNothingAndSucceeds)
{
    COXSkin2003 skin;
    Canvas canvas(8, 8, kSentinel);
    const RECT flat{1, 4, 7, 4};
    EXPECT_TRUE(skin.GradientFillManual(canvas.dc(), &flat, RGB(0, 0, 0), RGB(255, 255, 255), GRADIENT_FILL_RECT_V));
    EXPECT_TRUE(skin.GradientFill(canvas.dc(), &flat, RGB(0, 0, 0), RGB(255, 255, 255), GRADIENT_FILL_RECT_V));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(canvas.at(x, y), kSentinel);
    EXPECT_FALSE(skin.GradientFill(nullptr, &flat, 0, 0, 0));
    EXPECT_FALSE(skin.GradientFill(canvas.dc(), nullptr, 0, 0, 0));
}

TEST_F(Gradients, AnyOtherModeIsVertical)
{
    skintest::Msimg32Present library;
    COXSkin2003 skin;
    Canvas triangleMode(8, 8), vertical(8, 8);
    const RECT r{0, 0, 8, 8};
    skin.GradientFill(triangleMode.dc(), &r, RGB(0, 0, 0), RGB(80, 160, 240), GRADIENT_FILL_TRIANGLE);
    skin.GradientFill(vertical.dc(), &r, RGB(0, 0, 0), RGB(80, 160, 240), GRADIENT_FILL_RECT_V);
    EXPECT_EQ(triangleMode.Diff(vertical), "");
}

// Each channel is widened by multiplying by 255: 255 becomes 65025 (0xFE01), not 65280.
TEST_F(Gradients, VertexChannelsAreTheColourTimes255)
{
    const TRIVERTEX v = COXSkin2003::MakeVertex(3, 4, RGB(255, 128, 1));
    EXPECT_EQ(v.x, 3);
    EXPECT_EQ(v.y, 4);
    EXPECT_EQ(v.Red, 0xFE01);   // 65025
    EXPECT_EQ(v.Green, 0x7F80); // 32640
    EXPECT_EQ(v.Blue, 0x00FF);  // 255
    EXPECT_EQ(v.Alpha, 0);
    const TRIVERTEX black = COXSkin2003::MakeVertex(-1, -2, RGB(0, 0, 0));
    EXPECT_EQ(black.Red + black.Green + black.Blue, 0);
}

// By hand, far beyond 8 million lines: each line's colour is worked in 64 bits, and only
// the lines inside the clip box are drawn. From white to black over 9,000,004 rows, row
// 9,000,000 + k takes 255 - 255 · (9,000,000 + k) / 9,000,004 = 255 - 254 = 1.
TEST_F(Gradients, HugeManualGradientsComputeTheirVisibleLinesWithoutOverflow)
{
    COXSkin2003 skin;
    {
        Canvas canvas(4, 4, kSentinel);
        const RECT r{0, -9000000, 4, 4};
        ASSERT_TRUE(skin.GradientFillManual(canvas.dc(), &r, RGB(255, 255, 255), RGB(0, 0, 0), GRADIENT_FILL_RECT_V));
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(canvas.at(2, y), RGB(1, 1, 1)) << y;
        // The current position ends where the last line leaves it.
        EXPECT_EQ(canvas.dc()->GetCurrentPosition(), CPoint(4, 3));
    }
    {
        // Left to right across four thousand million columns: column 2,000,000,000 + x
        // of 4,000,000,000 is exactly halfway, 200 · 2e9 / 4e9 = 100.
        Canvas canvas(4, 2, kSentinel);
        const RECT r{-2000000000, 0, 2000000000, 2};
        ASSERT_TRUE(skin.GradientFillManual(canvas.dc(), &r, RGB(0, 0, 0), RGB(200, 40, 255), GRADIENT_FILL_RECT_H));
        EXPECT_EQ(canvas.at(0, 0), RGB(100, 20, 127));
        EXPECT_EQ(canvas.at(3, 1), RGB(100, 20, 127));
        EXPECT_EQ(canvas.dc()->GetCurrentPosition(), CPoint(1999999999, 2));
    }
    {
        // A small gradient drawn whole ends at the same place as the rule says.
        Canvas canvas(8, 8, kSentinel);
        const RECT r{1, 1, 6, 7};
        skin.GradientFillManual(canvas.dc(), &r, RGB(0, 0, 0), RGB(50, 50, 50), GRADIENT_FILL_RECT_V);
        EXPECT_EQ(canvas.dc()->GetCurrentPosition(), CPoint(6, 6));
        skin.GradientFillManual(canvas.dc(), &r, RGB(0, 0, 0), RGB(50, 50, 50), GRADIENT_FILL_RECT_H);
        EXPECT_EQ(canvas.dc()->GetCurrentPosition(), CPoint(5, 7));
    }
}

TEST_F(Gradients, WithoutTheLibraryTheyAreDrawnByHand)
{
    for (bool registerWithoutExport : {false, true}) {
        skintest::Msimg32Replaced gone(
            {{"AlphaBlend", zyn::base::ExportAddress(&::AlphaBlend)}}, registerWithoutExport);
        COXSkin2003 skin;
        EXPECT_FALSE(skin.HasGradientFillEntry());
        Canvas canvas(8, 4, kSentinel);
        const RECT r{0, 0, 8, 4};
        EXPECT_TRUE(skin.GradientFill(canvas.dc(), &r, RGB(0, 0, 0), RGB(80, 160, 240), GRADIENT_FILL_RECT_H));
        EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(canvas.at(7, 3), Expected(RGB(0, 0, 0), RGB(80, 160, 240), 7, 8));
        // The four-corner fill falls back to a two-colour gradient.
        Canvas fourPoint(8, 4, kSentinel);
        EXPECT_TRUE(skin.FourPointGradientFill(fourPoint.dc(), &r, RGB(0, 0, 0), RGB(0, 0, 0), RGB(200, 0, 0),
            RGB(255, 255, 255)));
        EXPECT_EQ(fourPoint.at(5, 3), Expected(RGB(0, 0, 0), RGB(200, 0, 0), 3, 4));
    }
    skintest::Msimg32Present back;
    COXSkin2003 skin;
    EXPECT_TRUE(skin.HasGradientFillEntry());
}

TEST_F(Gradients, FourPointByHandRunsAcrossTheShorterSide)
{
    COXSkin2003 skin;
    const COLORREF tl = RGB(200, 0, 0), tr = RGB(0, 200, 0), bl = RGB(0, 0, 200), br = RGB(255, 255, 255);
    {
        // A square: top to bottom, from the top-left to the bottom-left colour.
        Canvas square(10, 10, kSentinel), reference(10, 10, kSentinel);
        const RECT r{0, 0, 10, 10};
        EXPECT_TRUE(skin.FourPointGradientFillManual(square.dc(), &r, tl, tr, bl, br));
        skin.GradientFillManual(reference.dc(), &r, tl, bl, GRADIENT_FILL_RECT_V);
        EXPECT_EQ(square.Diff(reference), "");
        EXPECT_EQ(square.at(9, 9), Expected(tl, bl, 9, 10));
    }
    {
        // Narrower than high: left to right, from the top-left to the top-right colour.
        Canvas narrow(4, 10, kSentinel), reference(4, 10, kSentinel);
        const RECT r{0, 0, 4, 10};
        skin.FourPointGradientFillManual(narrow.dc(), &r, tl, tr, bl, br);
        skin.GradientFillManual(reference.dc(), &r, tl, tr, GRADIENT_FILL_RECT_H);
        EXPECT_EQ(narrow.Diff(reference), "");
    }
}

TEST_F(Gradients, FourPointThroughTheLibraryMeetsItsCorners)
{
    skintest::Msimg32Present library;
    COXSkin2003 skin;
    Canvas canvas(41, 21, kSentinel);
    const RECT r{0, 0, 40, 20};
    const COLORREF tl = RGB(250, 250, 250), other = RGB(10, 60, 110);
    EXPECT_TRUE(skin.FourPointGradientFill(canvas.dc(), &r, tl, other, other, other));
    EXPECT_EQ(canvas.at(0, 0), RGB(249, 249, 249)); // 250 · 255 = 63750 -> 249
    // Far from the top-left corner the fill approaches the other colour.
    const COLORREF corner = canvas.at(39, 19);
    EXPECT_LE(std::abs(GetRValue(corner) - 10), 8);
    EXPECT_LE(std::abs(GetBValue(corner) - 110), 8);
    EXPECT_EQ(canvas.at(40, 20), kSentinel);
}

TEST_F(Gradients, GripperStripes)
{
    COXSkin2003 skin;
    const COLORREF grip = skin.GetGripperColor();
    const COLORREF shadow = skin.GetGripperStripesShadowColor();
    {
        Canvas canvas(16, 16, kSentinel);
        CRect r(2, 2, 8, 6);
        skin.DrawGripperStripes(canvas.dc(), r, true);
        // Rows 2 and 3, then 6 and 7 (y ≤ bottom), in the gripper colour from x = 2 to 7;
        // each pair's shadow two rows down, one pixel to the right.
        for (int y : {2, 3, 6, 7})
            for (int x = 2; x < 8; ++x)
                EXPECT_EQ(canvas.at(x, y), grip) << x << "," << y;
        for (int y : {4, 8}) {
            EXPECT_EQ(canvas.at(2, y), kSentinel);
            for (int x = 3; x < 9; ++x)
                EXPECT_EQ(canvas.at(x, y), shadow) << x << "," << y;
            EXPECT_EQ(canvas.at(9, y), kSentinel);
        }
        EXPECT_EQ(canvas.at(8, 2), kSentinel);
        EXPECT_EQ(canvas.at(4, 5), kSentinel);
        EXPECT_EQ(canvas.at(4, 10), kSentinel);
    }
    {
        Canvas canvas(16, 16, kSentinel);
        CRect r(1, 1, 5, 9);
        skin.DrawGripperStripes(canvas.dc(), r, false);
        for (int x : {1, 2, 5, 6})
            for (int y = 1; y < 9; ++y)
                EXPECT_EQ(canvas.at(x, y), grip) << x << "," << y;
        for (int x : {3, 7}) {
            EXPECT_EQ(canvas.at(x, 1), kSentinel);
            for (int y = 2; y < 10; ++y)
                EXPECT_EQ(canvas.at(x, y), shadow) << x << "," << y;
        }
        EXPECT_EQ(canvas.at(4, 4), kSentinel);
        EXPECT_EQ(canvas.at(9, 4), kSentinel);
    }
}
