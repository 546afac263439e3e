// The trackbar: values and tics, the geometry worked by hand from the layout rules,
// thumb drags, page clicks repeating on the virtual clock and keys with the scroll codes
// the parent hears, custom drawing, painting, buddies and the position tip.
//
// The reference geometry: a horizontal trackbar of 200 x 30 with tics below has thumb
// length L = min(20, 30 - 4 - 5) = 20, breadth B = 11 (half 5), its thumb 2 pixels from
// the top, the channel from x0 = 2 + 5 = 7 to 200 - 2 - 5 = 193 (span S = 185) and 4
// pixels thick at 2 + (20 - 4) / 2 = 10; position p of 0..100 centres at 7 + p * 185 / 100.
#include "platform/comctl/trackbar.h"
#include "tests/comctl/smallctl_support.h"

namespace zyn::test {
namespace {

class Trackbar : public SmallCtlTest {
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
    HWND Make(DWORD style, int cx = 200, int cy = 30)
    {
        return MakeControl(TRACKBAR_CLASSW, WS_CHILD | WS_VISIBLE | style, 20, 20, cx, cy, parent);
    }
    static LRESULT Send(HWND h, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(h, m, wp, lp); }
    static RECT Rect(HWND h, UINT m)
    {
        RECT r{};
        Send(h, m, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static Heard H(UINT code, int pos, HWND tb) { return Heard{WM_HSCROLL, code, pos, tb}; }
};

::testing::AssertionResult SameRect(const RECT& a, const RECT& b)
{
    if (EqualRect(&a, &b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << "} != {" << b.left << "," << b.top << "," << b.right << "," << b.bottom
                                         << "}";
}

TEST_F(Trackbar, ValuesClampAndThePageFollowsTheRangeUntilSet)
{
    HWND tb = Make(0);
    EXPECT_EQ(Send(tb, TBM_GETRANGEMIN), 0);
    EXPECT_EQ(Send(tb, TBM_GETRANGEMAX), 100);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 0);
    EXPECT_EQ(Send(tb, TBM_GETLINESIZE), 1);
    EXPECT_EQ(Send(tb, TBM_GETPAGESIZE), 20) << "a fifth of the range";
    EXPECT_EQ(Send(tb, TBM_GETNUMTICS), 2) << "the two ends";

    Send(tb, TBM_SETPOS, TRUE, 150);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 100);
    Send(tb, TBM_SETPOS, TRUE, -5);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 0);
    // The halves of TBM_SETRANGE are signed: MAKELONG(-10, 10) is -10 .. 10.
    Send(tb, TBM_SETRANGE, TRUE, MAKELONG(static_cast<WORD>(-10), 10));
    EXPECT_EQ(Send(tb, TBM_GETRANGEMIN), -10);
    EXPECT_EQ(Send(tb, TBM_GETRANGEMAX), 10);
    EXPECT_EQ(Send(tb, TBM_GETPAGESIZE), 4);
    Send(tb, TBM_SETRANGEMAX, TRUE, 3);
    EXPECT_EQ(Send(tb, TBM_GETPAGESIZE), 2);
    Send(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 4));
    EXPECT_EQ(Send(tb, TBM_GETPAGESIZE), 1) << "never 0, or a page click would not move";
    Send(tb, TBM_SETPOS, TRUE, 4);
    Send(tb, TBM_SETRANGEMAX, TRUE, 2);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 2) << "a smaller range pulls the position in";
    Send(tb, TBM_SETRANGEMIN, TRUE, 1000000);
    Send(tb, TBM_SETRANGEMAX, TRUE, 2000000);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 1000000);
    EXPECT_EQ(Send(tb, TBM_SETPAGESIZE, 0, 7), 200000) << "the previous page size";
    EXPECT_EQ(Send(tb, TBM_SETLINESIZE, 0, 3), 1);
    Send(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 100));
    EXPECT_EQ(Send(tb, TBM_GETPAGESIZE), 7) << "a page size the application chose stays";
    EXPECT_EQ(Send(tb, TBM_GETLINESIZE), 3);

    Send(tb, TBM_SETSEL, TRUE, MAKELONG(static_cast<WORD>(-3), 40));
    EXPECT_EQ(Send(tb, TBM_GETSELSTART), -3);
    EXPECT_EQ(Send(tb, TBM_GETSELEND), 40);
    Send(tb, TBM_SETSELSTART, FALSE, 70000);
    Send(tb, TBM_SETSELEND, TRUE, 90000);
    EXPECT_EQ(Send(tb, TBM_GETSELSTART), 70000) << "the 32-bit forms";
    EXPECT_EQ(Send(tb, TBM_GETSELEND), 90000);
    Send(tb, TBM_CLEARSEL, TRUE);
    EXPECT_EQ(Send(tb, TBM_GETSELSTART), 0);
    EXPECT_EQ(Send(tb, TBM_GETSELEND), 0);
    EXPECT_TRUE(Send(tb, TBM_GETUNICODEFORMAT));
    EXPECT_TRUE(Scrolls().empty()) << "messages from the application are not reported back";
}

TEST_F(Trackbar, TicsAreSortedCountedWithTheEndsAndPlacedByHand)
{
    HWND tb = Make(0);
    EXPECT_TRUE(Send(tb, TBM_SETTIC, 0, 75));
    EXPECT_TRUE(Send(tb, TBM_SETTIC, 0, 10));
    EXPECT_TRUE(Send(tb, TBM_SETTIC, 0, 50));
    EXPECT_TRUE(Send(tb, TBM_SETTIC, 0, 50)) << "a tic that exists";
    EXPECT_TRUE(Send(tb, TBM_SETTIC, 0, 100)) << "the ends have their tics";
    EXPECT_FALSE(Send(tb, TBM_SETTIC, 0, 101));
    EXPECT_FALSE(Send(tb, TBM_SETTIC, 0, -1));
    EXPECT_EQ(Send(tb, TBM_GETNUMTICS), 5);
    const int want[] = {10, 50, 75};
    const int column[] = {25, 99, 145}; // 7 + p * 185 / 100, rounded down
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Send(tb, TBM_GETTIC, static_cast<WPARAM>(i)), want[i]) << "tic " << i;
        EXPECT_EQ(Send(tb, TBM_GETTICPOS, static_cast<WPARAM>(i)), column[i]) << "tic " << i;
    }
    EXPECT_EQ(Send(tb, TBM_GETTIC, 3), -1);
    EXPECT_EQ(Send(tb, TBM_GETTICPOS, 3), -1);
    const auto* array = reinterpret_cast<const DWORD*>(Send(tb, TBM_GETPTICS));
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array[1], 50u);
    // Tics below the thumb: rows 2 + 20 + 2 = 24 .. 26 at each tic's column.
    EXPECT_EQ(At(tb, 99, 24), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(At(tb, 99, 26), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(At(tb, 99, 27), Sys(COLOR_INFOBK));
    EXPECT_EQ(At(tb, 98, 25), Sys(COLOR_INFOBK));
    EXPECT_EQ(At(tb, 192, 25), Sys(COLOR_BTNTEXT)) << "the last position's tic";

    Send(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 60));
    EXPECT_EQ(Send(tb, TBM_GETNUMTICS), 4) << "the tic at 75 left with the range";
    Send(tb, TBM_CLEARTICS, TRUE);
    EXPECT_EQ(Send(tb, TBM_GETNUMTICS), 2);
    EXPECT_EQ(Send(tb, TBM_GETPTICS), 0);
    DestroyWindow(tb);

    HWND none = Make(TBS_NOTICKS);
    Send(none, TBM_SETTIC, 0, 30);
    EXPECT_EQ(Send(none, TBM_GETNUMTICS), 0);
    DestroyWindow(none);

    // Automatic tics: one per position, then every 10, then none that could not be told apart.
    HWND autoTb = Make(TBS_AUTOTICKS);
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 101);
    Send(autoTb, TBM_SETTICFREQ, 10);
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 11);
    EXPECT_EQ(Send(autoTb, TBM_GETTIC, 0), 10);
    EXPECT_EQ(Send(autoTb, TBM_GETTIC, 8), 90);
    Send(autoTb, TBM_SETRANGE, TRUE, MAKELONG(5, 40));
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 5) << "15, 25, 35 and the ends";
    Send(autoTb, TBM_SETTICFREQ, 0);
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 2);
    Send(autoTb, TBM_SETTICFREQ, 1);
    Send(autoTb, TBM_SETRANGEMAX, TRUE, 70000);
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 2) << "69994 tics: more than the limit, so none are made";
    Send(autoTb, TBM_SETRANGEMAX, TRUE, 65542);
    EXPECT_EQ(Send(autoTb, TBM_GETNUMTICS), 65538) << "exactly the limit";
}

TEST_F(Trackbar, ThumbAndChannelRectanglesFollowTheLayoutRules)
{
    struct Row {
        const char* name;
        DWORD style;
        int cx, cy, pos, fixedLength;
        RECT thumb, channel; // the channel as TBM_GETCHANNELRECT answers it
        int length;
    };
    const Row rows[] = {
        {"below, at 0", 0, 200, 30, 0, 0, {2, 2, 13, 22}, {7, 10, 193, 14}, 20},
        {"below, at 100", 0, 200, 30, 100, 0, {187, 2, 198, 22}, {7, 10, 193, 14}, 20},
        {"below, at 50", 0, 200, 30, 50, 0, {94, 2, 105, 22}, {7, 10, 193, 14}, 20},
        {"tics above", TBS_TOP, 200, 30, 0, 0, {2, 7, 13, 27}, {7, 15, 193, 19}, 20},
        // Tic bands on both sides leave 30 - 4 - 10 = 16; B = 9.
        {"both", TBS_BOTH, 200, 30, 0, 0, {2, 7, 11, 23}, {6, 13, 194, 17}, 16},
        {"no tics", TBS_NOTICKS, 200, 30, 0, 0, {2, 2, 13, 22}, {7, 10, 193, 14}, 20},
        // L = 30, B = 16 (half 8): channel 10 .. 190, centred at 2 + 13.
        {"fixed length 30", TBS_FIXEDLENGTH, 200, 40, 0, 30, {2, 2, 18, 32}, {10, 15, 190, 19}, 30},
        {"length ignored without the style", 0, 200, 30, 0, 30, {2, 2, 13, 22}, {7, 10, 193, 14}, 20},
        // The selection channel is L / 2 - 1 = 9 thick, at 2 + (20 - 9) / 2.
        {"selection range", TBS_ENABLESELRANGE, 200, 30, 0, 0, {2, 2, 13, 22}, {7, 7, 193, 16}, 20},
        {"too thin", 0, 200, 12, 0, 0, {2, 2, 5, 6}, {3, 2, 197, 6}, 4},
        // Vertical: the same numbers turned; the channel is answered as if horizontal.
        {"vertical", TBS_VERT, 30, 200, 0, 0, {2, 2, 22, 13}, {7, 10, 193, 14}, 20},
        {"vertical, tics left, at 100", TBS_VERT | TBS_LEFT, 30, 200, 100, 0, {7, 187, 27, 198}, {7, 15, 193, 19},
            20},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND tb = Make(r.style, r.cx, r.cy);
        if (r.fixedLength)
            Send(tb, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(r.fixedLength));
        Send(tb, TBM_SETPOS, TRUE, r.pos);
        EXPECT_TRUE(SameRect(Rect(tb, TBM_GETTHUMBRECT), r.thumb));
        EXPECT_TRUE(SameRect(Rect(tb, TBM_GETCHANNELRECT), r.channel));
        EXPECT_EQ(Send(tb, TBM_GETTHUMBLENGTH), r.length);
        DestroyWindow(tb);
    }
}

TEST_F(Trackbar, DraggingTheThumbTracksAndEndsWithThePosition)
{
    HWND tb = Make(0);
    Press(tb, 10, 12); // 3 pixels right of the thumb's centre column 7
    EXPECT_EQ(GetCapture(), tb);
    EXPECT_EQ(GetFocus(), tb) << "a click takes the focus";
    // Column 33 - 3 = 30 is 23 past x0: 23 * 100 / 185 = 12.4, so 12.
    MoveIn(tb, 33, 12);
    MoveIn(tb, 34, 12); // 31: 12.97, so 13
    MoveIn(tb, 35, 12); // 32: 13.5 rounds up to 14
    MoveIn(tb, 35, 40); // off the control vertically: the same position, nothing sent
    MoveIn(tb, 102, 12); // 99: 50.2, so 50
    MoveIn(tb, 500, 12); // past the end: 100
    EXPECT_EQ(Send(tb, TBM_GETPOS), 100);
    Release();
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<Heard> want{H(TB_THUMBTRACK, 12, tb), H(TB_THUMBTRACK, 13, tb), H(TB_THUMBTRACK, 14, tb),
        H(TB_THUMBTRACK, 50, tb), H(TB_THUMBTRACK, 100, tb), H(TB_THUMBPOSITION, 100, tb), H(TB_ENDTRACK, 0, tb)};
    EXPECT_EQ(Scrolls(), want);
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{NM_RELEASEDCAPTURE});

    // A press and release on the thumb without a move: only the end.
    Clear();
    Press(tb, 192, 12);
    Release();
    EXPECT_EQ(Scrolls(), std::vector<Heard>{H(TB_ENDTRACK, 0, tb)});

    // A lost capture ends the drag as a release would.
    Clear();
    Press(tb, 192, 12);
    MoveIn(tb, 7, 12);
    ReleaseCapture();
    Pump();
    EXPECT_EQ(Scrolls(), (std::vector<Heard>{H(TB_THUMBTRACK, 0, tb), H(TB_THUMBPOSITION, 0, tb), H(TB_ENDTRACK, 0, tb)}));
    Release();
    EXPECT_EQ(Scrolls().size(), 3u) << "the release after it sends nothing";
}

TEST_F(Trackbar, ChannelPressesPageUntilTheThumbReachesThePointer)
{
    HWND tb = Make(0);
    // From 0, pressing at x = 150: pages to 20, 40, 60 (centres 44, 81, 118) at once, after
    // 400 ms and every 50 ms; at 80 the thumb spans 150 .. 160 and covers the pointer.
    Press(tb, 150, 12);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 20);
    Advance(390);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 20) << "no repeat before the first delay";
    Advance(10);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 40);
    Advance(100);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 80);
    Advance(500);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 80) << "the thumb is under the pointer";
    MoveIn(tb, 190, 12); // the pointer moves on: paging resumes
    Advance(50);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 100);
    Release();
    std::vector<Heard> want(5, H(TB_PAGEDOWN, 0, tb));
    want.push_back(H(TB_ENDTRACK, 0, tb));
    EXPECT_EQ(Scrolls(), want);
    EXPECT_EQ(LiveTimerCount(), 0u) << "the repeat timer ends with the press";

    // Pressing before the thumb pages up, down to the minimum.
    Clear();
    Press(tb, 20, 12);
    Advance(1000);
    Release();
    want.assign(5, H(TB_PAGEUP, 0, tb));
    want.push_back(H(TB_ENDTRACK, 0, tb));
    EXPECT_EQ(Scrolls(), want);
    EXPECT_EQ(Send(tb, TBM_GETPOS), 0);
}

TEST_F(Trackbar, KeysMoveByLinesPagesAndEndsAndReleaseEndsTheTrack)
{
    struct Row {
        const char* name;
        DWORD style;
        int vk;
        WORD code;
        int pos; // from 50, line 1, page 20
    };
    const Row rows[] = {
        {"left", 0, VK_LEFT, TB_LINEUP, 49},
        {"up", 0, VK_UP, TB_LINEUP, 49},
        {"right", 0, VK_RIGHT, TB_LINEDOWN, 51},
        {"down", 0, VK_DOWN, TB_LINEDOWN, 51},
        {"page up", 0, VK_PRIOR, TB_PAGEUP, 30},
        {"page down", 0, VK_NEXT, TB_PAGEDOWN, 70},
        {"home", 0, VK_HOME, TB_TOP, 0},
        {"end", 0, VK_END, TB_BOTTOM, 100},
        {"down is left", TBS_DOWNISLEFT, VK_DOWN, TB_LINEUP, 49},
        {"page down is left", TBS_DOWNISLEFT, VK_NEXT, TB_PAGEUP, 30},
        {"right stays right", TBS_DOWNISLEFT, VK_RIGHT, TB_LINEDOWN, 51},
        {"vertical down", TBS_VERT, VK_DOWN, TB_LINEDOWN, 51},
        {"vertical ignores down-is-left", TBS_VERT | TBS_DOWNISLEFT, VK_DOWN, TB_LINEDOWN, 51},
        {"reversed is only a label", TBS_REVERSED, VK_RIGHT, TB_LINEDOWN, 51},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND tb = (r.style & TBS_VERT) ? Make(r.style, 30, 200) : Make(r.style);
        Send(tb, TBM_SETPOS, TRUE, 50);
        Focus(parent, tb);
        Clear();
        Key(r.vk);
        EXPECT_EQ(Send(tb, TBM_GETPOS), r.pos);
        const UINT msg = (r.style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
        EXPECT_EQ(Scrolls(), (std::vector<Heard>{Heard{msg, r.code, 0, tb}, Heard{msg, TB_ENDTRACK, 0, tb}}));
        DestroyWindow(tb);
    }
    // At an end a step towards it moves nothing and is not reported (the release still
    // ends the track); the keys for the ends are reported as ever.
    const struct {
        const char* name;
        int from, vk;
        std::vector<WORD> codes;
    } ends[] = {
        {"left at the minimum", 0, VK_LEFT, {TB_ENDTRACK}},
        {"page up at the minimum", 0, VK_PRIOR, {TB_ENDTRACK}},
        {"right at the maximum", 100, VK_RIGHT, {TB_ENDTRACK}},
        {"page down at the maximum", 100, VK_NEXT, {TB_ENDTRACK}},
        {"home at the minimum", 0, VK_HOME, {TB_TOP, TB_ENDTRACK}},
        {"left one above the minimum", 1, VK_LEFT, {TB_LINEUP, TB_ENDTRACK}},
    };
    for (const auto& e : ends) {
        SCOPED_TRACE(e.name);
        HWND tb = Make(0);
        Send(tb, TBM_SETPOS, TRUE, e.from);
        Focus(parent, tb);
        Clear();
        Key(e.vk);
        EXPECT_EQ(Send(tb, TBM_GETPOS), e.from == 1 ? 0 : e.from);
        std::vector<Heard> want;
        for (WORD c : e.codes)
            want.push_back(H(c, 0, tb));
        EXPECT_EQ(Scrolls(), want);
        EXPECT_EQ(Send(tb, WM_GETDLGCODE), DLGC_WANTARROWS);
        DestroyWindow(tb);
    }
}

TEST_F(Trackbar, AParentThatDestroysTheControlMidPressLeavesNothingBehind)
{
    HWND tb = Make(0);
    onScroll = [tb](UINT, WPARAM, LPARAM) { DestroyWindow(tb); };
    Press(tb, 150, 12);
    Advance(1000);
    Release();
    EXPECT_FALSE(IsWindow(tb));
    EXPECT_EQ(GetCapture(), nullptr);
    // The capture the destruction takes away ends the track; nothing follows it.
    EXPECT_EQ(Scrolls(), (std::vector<Heard>{H(TB_PAGEDOWN, 0, tb), H(TB_ENDTRACK, 0, tb)}));
    EXPECT_EQ(LiveTimerCount(), 0u);
}

TEST_F(Trackbar, PaintsChannelTicsAndThumbsAndAsksTheParentFirst)
{
    HWND tb = Make(0);
    Send(tb, TBM_SETPOS, TRUE, 0);
    // The channel at x = 100: its sunken edge, top to bottom shadow, dark shadow, light, highlight.
    EXPECT_EQ(At(tb, 100, 10), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(At(tb, 100, 11), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(tb, 100, 13), Sys(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(At(tb, 100, 9), Sys(COLOR_INFOBK)) << "the parent's static background";
    // The thumb (2, 2) .. (13, 22) points down: lit top and left, dark right, tip at (7, 21).
    EXPECT_EQ(At(tb, 2, 2), Sys(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(At(tb, 2, 10), Sys(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(At(tb, 12, 10), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(tb, 11, 10), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(At(tb, 6, 10), Sys(COLOR_3DFACE));
    EXPECT_EQ(At(tb, 7, 21), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(tb, 6, 21), Sys(COLOR_INFOBK)) << "beside the tip";
    EXPECT_EQ(At(tb, 4, 18), Sys(COLOR_3DHIGHLIGHT)) << "the lit diagonal (row 18 starts at 2 + 2)";
    EXPECT_EQ(At(tb, 3, 18), Sys(COLOR_INFOBK));
    EXPECT_EQ(At(tb, 10, 18), Sys(COLOR_3DDKSHADOW)) << "and ends at 12 - 2";
    // With the focus, the client area's edge carries the focus frame (every other pixel inverted).
    EXPECT_EQ(At(tb, 0, 0), Sys(COLOR_INFOBK));
    Focus(parent, tb);
    EXPECT_EQ(At(tb, 0, 0), ~Sys(COLOR_INFOBK) & 0xFFFFFFu);
    EXPECT_EQ(At(tb, 1, 0), Sys(COLOR_INFOBK));
    EXPECT_EQ(At(tb, 199, 29), ~Sys(COLOR_INFOBK) & 0xFFFFFFu);
    SetFocus(parent);
    EXPECT_EQ(At(tb, 0, 0), Sys(COLOR_INFOBK)) << "and loses it with the focus";
    DestroyWindow(tb);

    // A rectangular thumb (TBS_BOTH: 2, 7 .. 11, 23) is a raised edge; a selection fills the channel.
    HWND both = Make(TBS_BOTH | TBS_ENABLESELRANGE);
    Send(both, TBM_SETSEL, TRUE, MAKELONG(20, 60));
    EXPECT_EQ(At(both, 3, 8), Sys(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(At(both, 10, 22), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(both, 9, 21), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(At(both, 6, 15), Sys(COLOR_3DFACE));
    // L = 16 here: a 7-pixel channel at 7 + 4 = 11, its inside rows 13 .. 15; x0 = 6, S = 187:
    // 20 is column 43, 60 column 118.
    EXPECT_EQ(At(both, 43, 14), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(both, 118, 14), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(both, 42, 14), Sys(COLOR_WINDOW));
    EXPECT_EQ(At(both, 119, 14), Sys(COLOR_WINDOW));

    // Custom drawing: the stages in order, the thumb left to the parent.
    onCustomDraw = [](const NMCUSTOMDRAW& cd) -> LRESULT {
        if (cd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        if (cd.dwDrawStage == CDDS_ITEMPREPAINT && cd.dwItemSpec == TBCD_THUMB)
            return CDRF_SKIPDEFAULT | CDRF_NOTIFYPOSTPAINT;
        return CDRF_DODEFAULT;
    };
    Clear();
    InvalidateRect(both, nullptr, TRUE);
    UpdateWindow(both);
    std::vector<std::pair<DWORD, DWORD_PTR>> stages;
    for (const NMCUSTOMDRAW& cd : drawStages) {
        stages.emplace_back(cd.dwDrawStage, cd.dwItemSpec);
        EXPECT_EQ(cd.hdr.hwndFrom, both);
        EXPECT_EQ(cd.hdr.idFrom, 100u);
    }
    const std::vector<std::pair<DWORD, DWORD_PTR>> want{{CDDS_PREPAINT, 0}, {CDDS_ITEMPREPAINT, TBCD_TICS},
        {CDDS_ITEMPREPAINT, TBCD_CHANNEL}, {CDDS_ITEMPREPAINT, TBCD_THUMB}, {CDDS_ITEMPOSTPAINT, TBCD_THUMB},
        {CDDS_POSTPAINT, 0}};
    EXPECT_EQ(stages, want);
    ASSERT_EQ(drawStages.size(), 6u);
    EXPECT_TRUE(SameRect(drawStages[2].rc, RECT{6, 11, 194, 18}));
    EXPECT_TRUE(SameRect(drawStages[3].rc, RECT{2, 7, 11, 23}));
    EXPECT_EQ(At(both, 3, 8), Sys(COLOR_INFOBK)) << "the parent drew (nothing of) the thumb";

    // Skipping at the first stage leaves everything to the parent.
    onCustomDraw = [](const NMCUSTOMDRAW&) -> LRESULT { return CDRF_SKIPDEFAULT | CDRF_NOTIFYITEMDRAW; };
    Clear();
    InvalidateRect(both, nullptr, TRUE);
    UpdateWindow(both);
    EXPECT_EQ(drawStages.size(), 1u);
    EXPECT_EQ(At(both, 43, 14), Sys(COLOR_INFOBK));
}

TEST_F(Trackbar, BuddiesSitBesideAndFollowTheControl)
{
    HWND tb = Make(0); // 20, 20 .. 220, 50 in the parent
    HWND left = MakeHost(0, 0, 30, 20, parent, 1);
    HWND right = MakeHost(0, 0, 40, 10, parent, 2);
    EXPECT_EQ(Send(tb, TBM_SETBUDDY, TRUE, reinterpret_cast<LPARAM>(left)), 0);
    EXPECT_EQ(Send(tb, TBM_SETBUDDY, FALSE, reinterpret_cast<LPARAM>(right)), 0);
    EXPECT_TRUE(SameRect(ClientRectIn(left), RECT{-10, 25, 20, 45})) << "right edge at the trackbar, centred";
    EXPECT_TRUE(SameRect(ClientRectIn(right), RECT{220, 30, 260, 40}));
    EXPECT_EQ(reinterpret_cast<HWND>(Send(tb, TBM_GETBUDDY, TRUE)), left);
    MoveWindow(tb, 60, 100, 200, 40, TRUE);
    EXPECT_TRUE(SameRect(ClientRectIn(left), RECT{30, 110, 60, 130}));
    EXPECT_TRUE(SameRect(ClientRectIn(right), RECT{260, 115, 300, 125}));
    EXPECT_EQ(reinterpret_cast<HWND>(Send(tb, TBM_SETBUDDY, TRUE, 0)), left) << "the previous buddy";
    DestroyWindow(right);
    EXPECT_EQ(Send(tb, TBM_GETBUDDY, FALSE), 0) << "a destroyed buddy is not handed out";

    HWND vert = MakeControl(TRACKBAR_CLASSW, WS_CHILD | WS_VISIBLE | TBS_VERT, 300, 50, 30, 200, parent, 101);
    Send(vert, TBM_SETBUDDY, TRUE, reinterpret_cast<LPARAM>(left));
    EXPECT_TRUE(SameRect(ClientRectIn(left), RECT{300, 30, 330, 50})) << "above, centred";
}

TEST_F(Trackbar, ThePositionTipShowsWhileTheThumbIsDragged)
{
    HWND tb = Make(TBS_TOOLTIPS);
    const auto tip = reinterpret_cast<HWND>(Send(tb, TBM_GETTOOLTIPS));
    ASSERT_NE(tip, nullptr);
    Press(tb, 7, 12);
    MoveIn(tb, 99, 12);
    EXPECT_TRUE(Visible(tip));
    wchar_t text[16] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = tb;
    ti.uId = reinterpret_cast<UINT_PTR>(tb);
    ti.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 16, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, L"50");
    RECT tr = WindowRectOf(tip), th = Rect(tb, TBM_GETTHUMBRECT);
    MapWindowPoints(tb, nullptr, reinterpret_cast<POINT*>(&th), 2);
    EXPECT_LE(tr.bottom, th.top) << "above the thumb (TBTS_TOP)";
    Release();
    EXPECT_FALSE(Visible(tip));
    DestroyWindow(tb);
    EXPECT_FALSE(IsWindow(tip)) << "the control's own tip goes with it";
}

} // namespace
} // namespace zyn::test
