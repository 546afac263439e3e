// The progress bar: the values each message answers (previous position, range halves,
// the step starting over past the ends), and the blocks, smooth fill, vertical bar and
// marquee worked by hand.
//
// The reference bar is 102 x 22 with its one-pixel static edge: a 100 x 20 client area,
// the strip one pixel inside it (98 long, 18 thick), blocks of 18 * 2 / 3 = 12 pixels at a
// pitch of 14.
#include "platform/comctl/progress.h"
#include "tests/comctl/smallctl_support.h"

namespace zyn::test {
namespace {

class Progress : public SmallCtlTest {
protected:
    HWND parent = nullptr;
    void SetUp() override
    {
        SmallCtlTest::SetUp();
        parent = MakeParent(100, 100, 400, 300);
    }
    void TearDown() override
    {
        if (IsWindow(parent))
            DestroyWindow(parent);
        SmallCtlTest::TearDown();
    }
    HWND Make(DWORD style, int cx = 102, int cy = 22)
    {
        return MakeControl(PROGRESS_CLASSW, WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy, parent);
    }
    static LRESULT Send(HWND h, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(h, m, wp, lp); }
    static LRESULT Packed(int lo, int hi)
    {
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi)));
    }
    // The columns (rows for a vertical bar) along line `at` that show `color`, as runs.
    static std::vector<std::pair<int, int>> Runs(HWND h, bool vertical, int at, int length, COLORREF color)
    {
        std::vector<std::pair<int, int>> runs;
        for (int i = 0; i < length; ++i) {
            const bool on = (vertical ? At(h, at, i) : At(h, i, at)) == color;
            if (on && (runs.empty() || runs.back().second != i))
                runs.emplace_back(i, i + 1);
            else if (on)
                runs.back().second = i + 1;
        }
        return runs;
    }
};

using RunList = std::vector<std::pair<int, int>>;

TEST_F(Progress, EachMessageAnswersThePreviousValueAndPositionsStayInTheRange)
{
    HWND pb = Make(0);
    struct Row {
        const char* what;
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        LRESULT answer;
        int pos; // afterwards
    };
    const Row rows[] = {
        {"range 0..200", PBM_SETRANGE, 0, MAKELPARAM(0, 200), Packed(0, 100), 0},
        {"set 150", PBM_SETPOS, 150, 0, 0, 150},
        {"set past the end", PBM_SETPOS, 500, 0, 150, 200},
        {"delta below the start", PBM_DELTAPOS, static_cast<WPARAM>(-250), 0, 200, 0},
        {"step 70", PBM_SETSTEP, 70, 0, 10, 0},
        {"step to 70", PBM_STEPIT, 0, 0, 0, 70},
        {"step to 140", PBM_STEPIT, 0, 0, 70, 140},
        {"210 passes 200: start over", PBM_STEPIT, 0, 0, 140, 0},
        {"step -30", PBM_SETSTEP, static_cast<WPARAM>(-30), 0, 70, 0},
        {"below 0: start over at the top", PBM_STEPIT, 0, 0, 0, 200},
        {"32-bit range", PBM_SETRANGE32, static_cast<WPARAM>(-50), 50, Packed(0, 200), 50},
        {"maximum below the minimum", PBM_SETRANGE32, 10, 5, 0, 50},
        {"16-bit halves are unsigned", PBM_SETRANGE, 0, MAKELPARAM(40000, 60000), Packed(-50, 50), 40000},
        {"an empty range", PBM_SETRANGE32, 7, 7, Packed(40000, 60000), 7},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Send(pb, r.msg, r.wp, r.lp), r.answer) << r.what;
        EXPECT_EQ(Send(pb, PBM_GETPOS), r.pos) << r.what;
    }
    Send(pb, PBM_SETRANGE32, static_cast<WPARAM>(-50), 50);
    PBRANGE range{};
    EXPECT_EQ(Send(pb, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), -50);
    EXPECT_EQ(Send(pb, PBM_GETRANGE, FALSE), 50);
    EXPECT_EQ(range.iLow, -50);
    EXPECT_EQ(range.iHigh, 50);
    EXPECT_EQ(Send(pb, PBM_GETSTEP), -30);

    EXPECT_EQ(static_cast<COLORREF>(Send(pb, PBM_SETBARCOLOR, 0, RGB(1, 2, 3))), CLR_DEFAULT);
    EXPECT_EQ(static_cast<COLORREF>(Send(pb, PBM_SETBARCOLOR, 0, CLR_DEFAULT)), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(Send(pb, PBM_SETBKCOLOR, 0, RGB(4, 5, 6))), CLR_DEFAULT);
    EXPECT_EQ(static_cast<COLORREF>(Send(pb, PBM_GETBKCOLOR)), RGB(4, 5, 6));
    EXPECT_EQ(Send(pb, PBM_SETSTATE, PBST_ERROR), PBST_NORMAL);
    EXPECT_EQ(Send(pb, PBM_SETSTATE, 9), 0) << "not a state";
    EXPECT_EQ(Send(pb, PBM_GETSTATE), PBST_ERROR);
}

TEST_F(Progress, BlocksSmoothFillAndTheVerticalBarAreWhereTheRuleSaysWithTheirColours)
{
    HWND pb = Make(0);
    EXPECT_TRUE(GetWindowLongPtrW(pb, GWL_EXSTYLE) & WS_EX_STATICEDGE) << "the bar gives itself its frame";
    RECT rc{};
    GetClientRect(pb, &rc);
    ASSERT_EQ(rc.right, 100);
    ASSERT_EQ(rc.bottom, 20);
    const COLORREF bar = Sys(COLOR_HIGHLIGHT), face = Sys(COLOR_3DFACE);
    Send(pb, PBM_SETPOS, 50);
    // 98 * 50 / 100 = 49 pixels: blocks start at 0, 14, 28 and 42 (one pixel in).
    EXPECT_EQ(Runs(pb, false, 10, 100, bar), (RunList{{1, 13}, {15, 27}, {29, 41}, {43, 55}}));
    EXPECT_EQ(At(pb, 5, 0), face);
    EXPECT_EQ(At(pb, 5, 1), bar);
    EXPECT_EQ(At(pb, 5, 18), bar);
    EXPECT_EQ(At(pb, 5, 19), face);
    Send(pb, PBM_SETPOS, 100);
    // Seven blocks; the last starts at 84 and ends at 96, two pixels short of the edge.
    const RunList full = Runs(pb, false, 10, 100, bar);
    ASSERT_EQ(full.size(), 7u);
    EXPECT_EQ(full.back(), (std::pair<int, int>{85, 97}));
    Send(pb, PBM_SETPOS, 0);
    EXPECT_TRUE(Runs(pb, false, 10, 100, bar).empty());
    DestroyWindow(pb);

    HWND smooth = Make(PBS_SMOOTH);
    Send(smooth, PBM_SETPOS, 50);
    EXPECT_EQ(Runs(smooth, false, 10, 100, bar), (RunList{{1, 50}}));
    Send(smooth, PBM_SETRANGE32, 0, 3);
    Send(smooth, PBM_SETPOS, 1);
    EXPECT_EQ(Runs(smooth, false, 10, 100, bar), (RunList{{1, 33}})) << "98 / 3 rounded down";
    Send(smooth, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
    Send(smooth, PBM_SETBKCOLOR, 0, RGB(0, 0, 255));
    EXPECT_EQ(At(smooth, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(At(smooth, 60, 10), RGB(0, 0, 255));
    EXPECT_EQ(At(smooth, 10, 0), RGB(0, 0, 255)) << "the background fills the whole client area";
    Send(smooth, PBM_SETRANGE32, 5, 5);
    EXPECT_TRUE(Runs(smooth, false, 10, 100, RGB(255, 0, 0)).empty()) << "an empty range fills nothing";
    DestroyWindow(smooth);

    // Vertical, 20 x 100 inside: 98 * 25 / 100 = 24 pixels up from the bottom edge at 99.
    HWND vert = Make(PBS_VERTICAL, 22, 102);
    Send(vert, PBM_SETPOS, 25);
    EXPECT_EQ(Runs(vert, true, 10, 100, bar), (RunList{{73, 85}, {87, 99}}));
}

TEST_F(Progress, AMarqueeRunsFiveBlocksAcrossOnItsTimerAndStops)
{
    HWND pb = Make(PBS_MARQUEE);
    const COLORREF bar = Sys(COLOR_HIGHLIGHT);
    EXPECT_TRUE(Send(pb, PBM_SETMARQUEE, TRUE, 100));
    EXPECT_EQ(Runs(pb, false, 10, 100, bar), (RunList{{1, 13}, {15, 27}, {29, 41}, {43, 55}, {57, 69}}));
    Advance(100);
    EXPECT_EQ(Runs(pb, false, 10, 100, bar), (RunList{{15, 27}, {29, 41}, {43, 55}, {57, 69}, {71, 83}}));
    // Seven steps bring the run's start to 98, past the edge: it enters again, one block showing.
    Advance(600);
    EXPECT_EQ(Runs(pb, false, 10, 100, bar), (RunList{{1, 13}}));
    Advance(100);
    EXPECT_EQ(Runs(pb, false, 10, 100, bar), (RunList{{1, 13}, {15, 27}}));
    Send(pb, PBM_SETMARQUEE, FALSE);
    EXPECT_EQ(LiveTimerCount(), 0u);
    Send(pb, PBM_SETMARQUEE, TRUE, 0);
    EXPECT_EQ(LiveTimerCount(), 1u) << "destroying the bar below takes its timer";
}

} // namespace
} // namespace zyn::test
