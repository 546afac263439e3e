// The cool controls' geometry, against values worked by hand from the rules: the flat
// scroll bar's arrows and thumb (range nMax - nMin + 1, position counted from nMin), the
// slider thumb's outlines and the flat combo box's button and arrow.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/comctl/trackbar.h"
#include "platform/user/combobox.h"
#include "toolkit/menus/cool_geometry.h"

namespace {

using namespace zyn::toolkit::cool;

std::string Str(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
        std::to_string(r.bottom) + ")";
}
std::string Str(const POINT& p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

SCROLLINFO Info(int nMin, int nMax, UINT nPage, int nPos)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = 0x17;
    si.nMin = nMin;
    si.nMax = nMax;
    si.nPage = nPage;
    si.nPos = nPos;
    return si;
}

// A horizontal bar from x = 0 of the given length and 16 high; arrows 16 unless stated.
// With 16-pixel arrows a 116-pixel bar has an 84-pixel track starting at x = 16.
struct ThumbRow {
    const char* name;
    int length;
    int arrowMetric;
    SCROLLINFO si;
    int arrow;       // expected arrow length
    bool hasThumb;
    int thumbLeft;   // expected, when there is a thumb
    int thumbRight;
};

TEST(FlatScrollBar, ArrowsAndThumbFollowRangePageAndPosition)
{
    const ThumbRow rows[] = {
        // 2 * 17 > 20: two half-length arrows, track 0: no thumb.
        {"bar shorter than two arrows", 20, 17, Info(0, 99, 10, 0), 10, false, 0, 0},
        {"odd short bar", 21, 17, Info(0, 99, 10, 0), 10, false, 0, 0},
        {"page zero", 116, 16, Info(0, 99, 0, 0), 16, false, 0, 0},
        {"page covers the range", 116, 16, Info(0, 99, 100, 0), 16, false, 0, 0},
        {"empty range", 116, 16, Info(5, 4, 1, 5), 16, false, 0, 0},
        // track 7 < 8: none; track 8: 8 * 1 / 10 rounds to 1, drawn 8 long.
        {"track of 7", 39, 16, Info(0, 9, 1, 0), 16, false, 0, 0},
        {"track of 8", 40, 16, Info(0, 9, 1, 0), 16, true, 16, 24},
        // 84 * 99 / 100 = 83.16 -> 83; offset (84 - 83) * 1 / (100 - 99) = 1.
        {"page one short of the range", 116, 16, Info(0, 99, 99, 1), 16, true, 17, 100},
        // 84 * 10 / 1000 = 0.84 -> 1, at least 8.
        {"thumb never shorter than 8", 116, 16, Info(0, 999, 10, 0), 16, true, 16, 24},
        // 84 * 20 / 100 = 16.8 -> 17; (84 - 17) * 80 / 80 = 67: ends at the track's end.
        {"thumb at the end", 116, 16, Info(0, 99, 20, 80), 16, true, 83, 100},
        // (84 - 17) * 40 / 80 = 33.5 rounds up to 34.
        {"half rounds up", 116, 16, Info(0, 99, 20, 40), 16, true, 50, 67},
        // range 100: 84 * 10 / 100 = 8.4 -> 8; (84 - 8) * (145 - 100) / 90 = 38.
        {"minimum above zero", 116, 16, Info(100, 199, 10, 145), 16, true, 54, 62},
        // range 100: 84 * 25 / 100 = 21; (84 - 21) * 50 / 75 = 42.
        {"negative minimum", 116, 16, Info(-50, 49, 25, 0), 16, true, 58, 79},
        // (84 - 17) * 99 / 80 = 82.9 -> 83, past the end: moved back to end at 100.
        {"position past the last page", 116, 16, Info(0, 99, 20, 99), 16, true, 83, 100},
        {"position below the minimum", 116, 16, Info(10, 109, 20, 0), 16, true, 16, 33},
        // range 2^32 (no overflow): 84 * 2^31 / 2^32 = 42; (84 - 42) * 2^31 / 2^31 = 42.
        {"widest range", 116, 16, Info(INT_MIN, INT_MAX, 0x80000000u, 0), 16, true, 58, 100},
    };
    for (const ThumbRow& row : rows) {
        SCOPED_TRACE(row.name);
        const RECT bar{0, 0, row.length, 16};
        const FlatScrollBarLayout h = LayoutFlatScrollBar(bar, true, row.arrowMetric, row.si);
        EXPECT_EQ(Str(h.firstArrow), Str(RECT{0, 0, row.arrow, 16}));
        EXPECT_EQ(Str(h.secondArrow), Str(RECT{row.length - row.arrow, 0, row.length, 16}));
        EXPECT_EQ(h.track, row.length - 2 * row.arrow);
        ASSERT_EQ(h.hasThumb, row.hasThumb);
        if (row.hasThumb) {
            EXPECT_EQ(Str(h.thumb), Str(RECT{row.thumbLeft, 0, row.thumbRight, 16}));
        }

        // The same bar standing upright at (30, 40).
        const RECT vbar{30, 40, 46, 40 + row.length};
        const FlatScrollBarLayout v = LayoutFlatScrollBar(vbar, false, row.arrowMetric, row.si);
        EXPECT_EQ(Str(v.firstArrow), Str(RECT{30, 40, 46, 40 + row.arrow}));
        ASSERT_EQ(v.hasThumb, row.hasThumb);
        if (row.hasThumb) {
            EXPECT_EQ(Str(v.thumb), Str(RECT{30, 40 + row.thumbLeft, 46, 40 + row.thumbRight}));
        }
    }
}

TEST(FlatScrollBar, ThumbStaysInsideTheTrackForEveryPosition)
{
    // Sweeping the position over a range with an awkward page: the thumb never leaves the
    // track and moves monotonically from its start to its end.
    const RECT bar{0, 0, 16, 203};
    int previous = -1;
    for (int pos = -3; pos <= 40; ++pos) {
        SCOPED_TRACE(pos);
        const FlatScrollBarLayout l = LayoutFlatScrollBar(bar, false, 16, Info(-3, 33, 7, pos));
        ASSERT_TRUE(l.hasThumb);
        EXPECT_GE(l.thumb.top, 16);
        EXPECT_LE(l.thumb.bottom, 203 - 16);
        EXPECT_GE(l.thumb.top, previous);
        previous = l.thumb.top;
        if (pos <= -3) {
            EXPECT_EQ(l.thumb.top, 16);
        }
        if (pos >= 33 - 7 + 1) {
            EXPECT_EQ(l.thumb.bottom, 203 - 16);
        }
    }
}

TEST(SliderThumb, ShapeFromStyles)
{
    struct Row {
        DWORD style;
        ThumbShape shape;
    } rows[] = {
        {0, ThumbShape::Down},
        {TBS_TOP, ThumbShape::Up},
        {TBS_VERT, ThumbShape::Right},
        {TBS_VERT | TBS_LEFT, ThumbShape::Left},
        {TBS_BOTH, ThumbShape::Rectangle},
        {TBS_BOTH | TBS_TOP | TBS_VERT, ThumbShape::Rectangle},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SliderThumbShape(row.style), row.shape) << "style " << row.style;
}

TEST(SliderThumb, OutlinesFromTheThumbRectangle)
{
    auto pts = [](const OutlineStroke& s) {
        std::string out;
        for (const POINT& p : s.points)
            out += Str(p);
        return out;
    };
    // Thumb (10, 5)-(21, 25): mx 15, hw 5; shrunk (11, 6)-(20, 24): mx 15, hw 4. (The
    // window tests check the pixels of the down, right and rectangular thumbs.)
    const RECT thumb{10, 5, 21, 25};
    // Pointing up and left the dark sides are drawn first.
    const auto up = SliderThumbOutline(ThumbShape::Up, thumb);
    ASSERT_EQ(up.size(), 3u);
    EXPECT_EQ(up[0].pen, OutlinePen::Shadow);
    EXPECT_EQ(pts(up[0]), "(15,5)(20,10)(20,24)(9,24)");
    EXPECT_EQ(pts(up[1]), "(10,23)(10,10)(15,5)");
    EXPECT_EQ(pts(up[2]), "(15,6)(19,10)(19,23)(11,23)(11,10)(15,6)");

    // Thumb (4, 10)-(24, 21) of a vertical slider: my 15, hh 5; shrunk hh 4, my 15.
    const RECT vthumb{4, 10, 24, 21};
    const auto left = SliderThumbOutline(ThumbShape::Left, vthumb);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].pen, OutlinePen::Shadow);
    EXPECT_EQ(pts(left[0]), "(4,15)(9,20)(23,20)(23,9)");
    EXPECT_EQ(pts(left[1]), "(22,10)(9,10)(4,15)");
    EXPECT_TRUE(SliderThumbOutline(ThumbShape::Rectangle, thumb).empty());
}

TEST(FlatCombo, ButtonRectangleAndArrow)
{
    // Client 120 x 21, button 16 wide: left = 120 - 2 - 16.
    EXPECT_EQ(Str(ComboButtonRect({0, 0, 120, 21}, CBS_DROPDOWN, 16)), Str(RECT{102, 2, 118, 19}));
    EXPECT_EQ(Str(ComboButtonRect({0, 0, 120, 21}, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 16)),
        Str(RECT{102, 2, 118, 19}));
    EXPECT_EQ(Str(ComboButtonRect({0, 0, 120, 80}, CBS_SIMPLE | CBS_HASSTRINGS, 16)), Str(RECT{0, 0, 0, 0}));
    EXPECT_EQ(Str(ComboButtonRect({0, 0, 10, 21}, CBS_DROPDOWN, 16)), Str(RECT{0, 2, 16, 19}));

    // w 16: x1 = 102 + 5, x2 = 102 + 1 + 10 (6 apart, even), xm 110; y1 = 2 + 19 / 2 -
    // 6 / 4 - 1 = 9, y2 = 12.
    auto tri = [](const ComboArrow& a) { return Str(a.points[0]) + Str(a.points[1]) + Str(a.points[2]); };
    EXPECT_EQ(tri(ComboDropArrow({102, 2, 118, 19}, 16, false)), "(107,9)(113,9)(110,12)");
    EXPECT_EQ(tri(ComboDropArrow({102, 2, 118, 19}, 16, true)), "(108,10)(114,10)(111,13)");
    // w 17: x1 = 105, x2 = 112 (7 apart, odd), xm = 108 from the uncorrected x2, then x2
    // becomes 111.
    EXPECT_EQ(tri(ComboDropArrow({100, 2, 117, 19}, 17, false)), "(105,9)(111,9)(108,12)");
}

} // namespace
