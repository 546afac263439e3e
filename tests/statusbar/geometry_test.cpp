// The status bar's arithmetic, against numbers worked by hand: the percentage a progress
// pane shows (64-bit, clamped), the range its control is given, where a pane bitmap lands
// for each orientation, a pane's inside and the gripper square.
#include <gtest/gtest.h>

#include "toolkit/skins/status_bar_geometry.h"

namespace sb = zyn::toolkit::statusbar;

namespace {

TEST(StatusBarGeometry, PercentageIsSixtyFourBitAndClamped)
{
    struct Row {
        const char* name;
        DWORD range, position;
        int percent;
    } rows[] = {
        {"empty range", 0, 0, 0},
        {"empty range, a position", 0, 77, 0},
        {"start", 100, 0, 0},
        {"40 of 100", 100, 40, 40},
        {"50 of 200", 200, 50, 25},
        {"199 of 200 truncates", 200, 199, 99},
        {"the whole range", 200, 200, 100},
        {"past the range", 100, 250, 100},
        {"ten times the range", 10, 1000, 100},
        // 42,949,673 * 100 = 4,294,967,300 wraps to 4 in 32 bits (0 %).
        {"a product past 32 bits", 100000000, 42949673, 42},
        {"the largest values", 0xFFFFFFFFu, 0xFFFFFFFFu, 100},
        {"half of the largest range", 0xFFFFFFFFu, 0x7FFFFFFFu, 49},
        {"the largest position of a small range", 3, 0xFFFFFFFFu, 100},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sb::ProgressPercent(row.range, row.position), row.percent) << row.name;
}

TEST(StatusBarGeometry, ControlRangeIsHalvedUntilItFitsThirtyTwoSignedBits)
{
    struct Row {
        const char* name;
        DWORD range, position;
        int max, pos;
    } rows[] = {
        {"small", 200, 50, 200, 50},
        {"empty", 0, 5, 0, 5},
        {"the largest that fits", 0x7FFFFFFFu, 0x40000000u, 0x7FFFFFFF, 0x40000000},
        {"one past: halved once", 0x80000000u, 0x40000000u, 0x40000000, 0x20000000},
        {"the largest: halved once", 0xFFFFFFFFu, 0xFFFFFFFFu, 0x7FFFFFFF, 0x7FFFFFFF},
        {"a position past a small range stays", 100, 250, 100, 250},
        {"a position past 31 bits, small range", 100, 0xFFFFFFFFu, 100, 0x7FFFFFFF},
    };
    for (const Row& row : rows) {
        const sb::ProgressControlValues v = sb::ProgressControlRange(row.range, row.position);
        EXPECT_EQ(v.max, row.max) << row.name;
        EXPECT_EQ(v.position, row.pos) << row.name;
    }
}

TEST(StatusBarGeometry, BitmapPlacementByOrientation)
{
    // Inner rectangle (10, 4)-(40, 16): 30 by 12.
    const RECT inner{10, 4, 40, 16};
    struct Row {
        const char* name;
        int cx, cy, orientation;
        RECT dest;
        int srcWidth, srcHeight;
    } rows[] = {
        // 8 by 6: spare 22 by 6, top 4 + 3 = 7.
        {"stretch", 8, 6, 1, {10, 4, 40, 16}, 8, 6},
        {"left", 8, 6, 2, {10, 7, 18, 13}, 8, 6},
        {"centre: right by 11", 8, 6, 3, {21, 7, 29, 13}, 8, 6},
        {"right: right by 22", 8, 6, 4, {32, 7, 40, 13}, 8, 6},
        {"left cropped (it fits: whole)", 8, 6, 5, {10, 7, 18, 13}, 8, 6},
        {"centre cropped", 8, 6, 6, {21, 7, 29, 13}, 8, 6},
        {"right cropped", 8, 6, 7, {32, 7, 40, 13}, 8, 6},
        // 8 by 5: spare height 7, top 4 + 3 = 7.
        {"odd spare height rounds down", 8, 5, 2, {10, 7, 18, 12}, 8, 5},
        // 40 by 20: spare -10 and -8: the inner size, nothing moves.
        {"too large, left: shrunk", 40, 20, 2, {10, 4, 40, 16}, 40, 20},
        {"too large, right: shrunk, not moved", 40, 20, 4, {10, 4, 40, 16}, 40, 20},
        {"too large, left cropped", 40, 20, 5, {10, 4, 40, 16}, 30, 12},
        {"too large, centre cropped", 40, 20, 6, {10, 4, 40, 16}, 30, 12},
        // 30 by 12: spare 0, which is below 1: the inner size.
        {"exactly the inner size, right", 30, 12, 4, {10, 4, 40, 16}, 30, 12},
        // 29 by 20: wide enough by 1 (moves by 0 and 1), too high.
        {"one pixel spare, centre", 29, 20, 3, {10, 4, 39, 16}, 29, 20},
        {"one pixel spare, right", 29, 20, 4, {11, 4, 40, 16}, 29, 20},
        {"one pixel spare, right cropped", 29, 20, 7, {11, 4, 40, 16}, 29, 12},
    };
    for (const Row& row : rows) {
        sb::BitmapPlacement p;
        ASSERT_TRUE(sb::PlacePaneBitmap(inner, row.cx, row.cy, row.orientation, p)) << row.name;
        EXPECT_EQ(p.dest.left, row.dest.left) << row.name;
        EXPECT_EQ(p.dest.top, row.dest.top) << row.name;
        EXPECT_EQ(p.dest.right, row.dest.right) << row.name;
        EXPECT_EQ(p.dest.bottom, row.dest.bottom) << row.name;
        EXPECT_EQ(p.srcWidth, row.srcWidth) << row.name;
        EXPECT_EQ(p.srcHeight, row.srcHeight) << row.name;
    }
    sb::BitmapPlacement p;
    EXPECT_FALSE(sb::PlacePaneBitmap(inner, 8, 6, 0, p)) << "orientation 0";
    EXPECT_FALSE(sb::PlacePaneBitmap(inner, 8, 6, 8, p)) << "orientation 8";
}

TEST(StatusBarGeometry, InsideOfAPaneAndTheGripperSquare)
{
    // The control's borders {0, 2, 2}: the inside of part (0, 2)-(60, 20).
    RECT inner{};
    ASSERT_TRUE(sb::InsideBorder(RECT{0, 2, 60, 20}, 0, 2, false, inner));
    EXPECT_EQ(inner.left, 2);
    EXPECT_EQ(inner.top, 3);
    EXPECT_EQ(inner.right, 58);
    EXPECT_EQ(inner.bottom, 19);
    ASSERT_TRUE(sb::InsideBorder(RECT{0, 2, 60, 20}, 0, 2, true, inner));
    EXPECT_EQ(inner.bottom, 18) << "one more pixel off for a progress control";
    EXPECT_FALSE(sb::InsideBorder(RECT{5, 2, 5, 20}, 0, 2, false, inner)) << "an empty part";

    struct Row {
        const char* name;
        RECT client;
        RECT square;
    } rows[] = {
        {"even height 22", {0, 0, 300, 22}, {278, 0, 300, 22}},
        {"odd height 21: 20 by 20", {0, 0, 300, 21}, {280, 1, 300, 21}},
        {"height 2", {0, 0, 300, 2}, {298, 0, 300, 2}},
        {"height 1: none", {0, 0, 300, 1}, {300, 1, 300, 1}},
    };
    for (const Row& row : rows) {
        const RECT s = sb::GripperSquare(row.client);
        EXPECT_EQ(s.left, row.square.left) << row.name;
        EXPECT_EQ(s.top, row.square.top) << row.name;
        EXPECT_EQ(s.right, row.square.right) << row.name;
        EXPECT_EQ(s.bottom, row.square.bottom) << row.name;
    }
}

} // namespace
