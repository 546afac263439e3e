// The shadow's colours and its pixel plan, worked by hand from the four-pixel rule.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/gdi/wingdi.h"
#include "toolkit/skins/shadow_painter.h"

namespace {

TEST(OXShadow, DarkeningRoundsEachChannelAsMulDiv)
{
    struct Row {
        LONG scale;
        COLORREF in, out;
    };
    // channel * (255 - scale) / 255, rounded half away from zero.
    const Row rows[] = {
        {60, RGB(255, 255, 255), 0xC3C3C3},         // 255 * 195 / 255
        {15, RGB(255, 255, 255), 0xF0F0F0},         // 255 * 240 / 255
        {3, RGB(200, 100, 50), RGB(198, 99, 49)},   // 197.65, 98.82, 49.41
        {45, RGB(200, 100, 50), RGB(165, 82, 41)},  // 164.71, 82.35, 41.18
        {12, RGB(200, 100, 50), RGB(191, 95, 48)},  // 190.59, 95.29, 47.65
        {0, RGB(1, 2, 3), RGB(1, 2, 3)},
        {255, RGB(200, 100, 50), RGB(0, 0, 0)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(OXDarkenColor(row.scale, row.in), row.out) << "scale " << row.scale;
}

TEST(OXShadow, PixelsOfAFullShadowInPaintingOrder)
{
    // 20 x 16: each right column has 4 background, 4 fade, 4 body (y = 8..11) and 4 lower
    // fade pixels; each bottom row 4 background, 4 fade and 8 body (x = 8..15).
    const auto pixels = OXShadowPixels(20, 16);
    ASSERT_EQ(pixels.size(), 4u * 16 + 4u * 16);
    const OXShadowPixel firstColumn[] = {
        {19, 0, 0, false}, {19, 1, 0, false}, {19, 2, 0, false}, {19, 3, 0, false},
        {19, 7, 12, true}, {19, 6, 9, true}, {19, 5, 6, true}, {19, 4, 3, true},
        {19, 8, 15, false}, {19, 9, 15, false}, {19, 10, 15, false}, {19, 11, 15, false},
        {19, 15, 3, false}, {19, 14, 6, false}, {19, 13, 9, false}, {19, 12, 12, false},
    };
    for (size_t k = 0; k < std::size(firstColumn); ++k)
        EXPECT_EQ(pixels[k], firstColumn[k]) << "pixel " << k;
    // The innermost column (i = 4): body 60, the fade up to 48, the corner 48.
    EXPECT_EQ(pixels[48 + 4], (OXShadowPixel{16, 7, 48, true}));
    EXPECT_EQ(pixels[48 + 8], (OXShadowPixel{16, 8, 60, false}));
    EXPECT_EQ(pixels[48 + 15], (OXShadowPixel{16, 12, 48, false}));
    // The outermost bottom row (j = 1) right after the columns.
    const OXShadowPixel firstRow[] = {
        {3, 15, 0, false}, {2, 15, 0, false}, {1, 15, 0, false}, {0, 15, 0, false},
        {7, 15, 12, true}, {6, 15, 9, true}, {5, 15, 6, true}, {4, 15, 3, true},
        {8, 15, 15, true}, {15, 15, 15, true},
    };
    for (size_t k = 0; k < 9; ++k)
        EXPECT_EQ(pixels[64 + k], firstRow[k]) << "pixel " << 64 + k;
    EXPECT_EQ(pixels[64 + 15], firstRow[9]);
    // The row nearest the window (j = 4): 60 in its body.
    EXPECT_EQ(pixels.back(), (OXShadowPixel{15, 12, 60, true}));
}

TEST(OXShadow, OpenShapesLeaveOutTheSideTowardsThePopup)
{
    const int w = 20, h = 16;
    auto count = [](const std::vector<OXShadowPixel>& px, auto pred) {
        return std::count_if(px.begin(), px.end(), pred);
    };
    auto inRightStrip = [&](const OXShadowPixel& p) { return p.x >= w - 4; };
    auto inBottomStrip = [&](const OXShadowPixel& p) { return p.y >= h - 4; };

    const auto right = OXShadowPixels(w, h, OXShadowShape::OpenRight);
    EXPECT_EQ(right.size(), 64u);
    EXPECT_EQ(count(right, inRightStrip), 0);

    // No bottom edge and no lower fade: the columns end at y = h - 5.
    const auto below = OXShadowPixels(w, h, OXShadowShape::OpenBelow);
    EXPECT_EQ(below.size(), 4u * 12);
    EXPECT_EQ(count(below, inBottomStrip), 0);

    // The right edge is one run from y = 1 to h - 5 at i * 15, then its lower fade.
    const auto above = OXShadowPixels(w, h, OXShadowShape::OpenAbove);
    EXPECT_EQ(above.size(), 4u * (11 + 4) + 64u);
    EXPECT_EQ(above[0], (OXShadowPixel{19, 1, 15, false}));
    EXPECT_EQ(above[10], (OXShadowPixel{19, 11, 15, false}));
    EXPECT_EQ(above[11], (OXShadowPixel{19, 15, 3, false}));
    EXPECT_EQ(above[15 * 3], (OXShadowPixel{16, 1, 60, false}));

    // The bottom edge is one run from x = 1 to w - 5 at j * 15.
    const auto left = OXShadowPixels(w, h, OXShadowShape::OpenLeft);
    EXPECT_EQ(left.size(), 64u + 4u * 15);
    EXPECT_EQ(left[64], (OXShadowPixel{1, 15, 15, false}));
    EXPECT_EQ(left.back(), (OXShadowPixel{15, 12, 60, false}));
}

TEST(OXShadow, SmallRectanglesStayInside)
{
    for (int w : {1, 3, 5, 8, 12}) {
        for (int h : {1, 4, 7, 13}) {
            for (OXShadowShape shape : {OXShadowShape::Full, OXShadowShape::OpenAbove, OXShadowShape::OpenLeft}) {
                for (const OXShadowPixel& p : OXShadowPixels(w, h, shape)) {
                    ASSERT_TRUE(p.x >= 0 && p.x < w && p.y >= 0 && p.y < h)
                        << w << "x" << h << " shape " << static_cast<int>(shape) << " pixel " << p.x << "," << p.y;
                }
            }
        }
    }
    EXPECT_TRUE(OXShadowPixels(0, 10).empty());
    EXPECT_TRUE(OXShadowPixels(10, -1).empty());
}

} // namespace
