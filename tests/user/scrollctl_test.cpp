// The ScrollBar control: its state messages, tracking by mouse with auto-repeat on the
// virtual clock, the keyboard with the focus, sizes by style and the parent's brush.
#include "platform/base/clock.h"
#include "tests/user/ctl_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

class ScrollCtlTest : public CtlTest {
protected:
    // A vertical bar whose parent moves the thumb as it is told (line 1, page 10).
    HWND Bar(DWORD style = SBS_VERT, int cx = 20, int cy = 200)
    {
        HWND b = Ctl(L"ScrollBar", style, 50, 20, cx, cy);
        rec().SetHandler([](HWND, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
            if ((m != WM_VSCROLL && m != WM_HSCROLL) || !lp)
                return false;
            const HWND bar = reinterpret_cast<HWND>(lp);
            int pos = GetScrollPos(bar, SB_CTL);
            switch (LOWORD(wp)) {
            case SB_LINEDOWN: pos += 1; break;
            case SB_LINEUP: pos -= 1; break;
            case SB_PAGEDOWN: pos += 10; break;
            case SB_PAGEUP: pos -= 10; break;
            case SB_TOP: pos = 0; break;
            case SB_BOTTOM: pos = 100; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: pos = HIWORD(wp); break;
            default: break;
            }
            SetScrollPos(bar, SB_CTL, pos, TRUE);
            r = 0;
            return true;
        });
        return b;
    }
    static SCROLLBARINFO BarInfo(HWND b)
    {
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof sbi;
        EXPECT_TRUE(GetScrollBarInfo(b, OBJID_CLIENT, &sbi));
        return sbi;
    }
};

TEST_F(ScrollCtlTest, StateMessagesClampAndAnswer)
{
    HWND b = Bar();
    int lo = -1, hi = -1;
    ASSERT_TRUE(GetScrollRange(b, SB_CTL, &lo, &hi));
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 100)); // the documented start
    EXPECT_EQ(SetScrollPos(b, SB_CTL, 250, TRUE), 0);
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 100);
    EXPECT_EQ(SendMessageW(b, SBM_SETPOS, 40, FALSE), 100);
    // A smaller range moves the position; SBM_SETRANGE answers the old one when it moved.
    EXPECT_EQ(SendMessageW(b, SBM_SETRANGE, 0, 20), 40);
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 20);
    EXPECT_EQ(SendMessageW(b, SBM_SETRANGE, 0, 30), 0);
    EXPECT_TRUE(SetScrollRange(b, SB_CTL, -5, 5, TRUE));
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 5);
    // A page limits the position to max - page + 1.
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 95, 0};
    EXPECT_EQ(SetScrollInfo(b, SB_CTL, &si, TRUE), 90);
    SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(b, SB_CTL, &got));
    EXPECT_EQ(got.nMax, 99);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nPos, 90);
    EXPECT_EQ(got.nTrackPos, 90);
    si.fMask = SIF_RANGE;
    si.nMin = 5;
    si.nMax = 1;
    SetLastError(0);
    EXPECT_EQ(SetScrollInfo(b, SB_CTL, &si, TRUE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
    // Nothing to scroll with SIF_DISABLENOSCROLL: kept, disabled.
    si = SCROLLINFO{sizeof si, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 20, 0, 0};
    SetScrollInfo(b, SB_CTL, &si, TRUE);
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_EQ(BarInfo(b).rgstate[0], static_cast<DWORD>(STATE_SYSTEM_UNAVAILABLE));
    si.nPage = 5;
    SetScrollInfo(b, SB_CTL, &si, TRUE);
    EXPECT_EQ(BarInfo(b).rgstate[0], 0u);
    // Arrows: a change answers TRUE, no change FALSE.
    EXPECT_TRUE(EnableScrollBar(b, SB_CTL, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(b, SB_CTL, ESB_DISABLE_UP));
    EXPECT_EQ(BarInfo(b).rgstate[1], static_cast<DWORD>(STATE_SYSTEM_UNAVAILABLE));
    EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), kWantArrows);
    DestroyWindow(b);
}

TEST_F(ScrollCtlTest, TrackingSendsCodesToTheParent)
{
    HWND b = Bar();
    SetScrollRange(b, SB_CTL, 0, 100, TRUE);
    SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 20, 0, 0};
    SetScrollInfo(b, SB_CTL, &si, TRUE);
    Settle();
    const int arrow = BarInfo(b).dxyLineButton;
    EXPECT_EQ(arrow, 20) << "square arrows";
    // The down arrow: one line, then the end.
    ClearLog();
    Clock::Advance(1000);
    Click(b, 10, 200 - arrow / 2);
    Pump();
    EXPECT_EQ(ScrollCodes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 1);
    EXPECT_EQ(rec().Log().back().lp, reinterpret_cast<LPARAM>(b)) << "lParam names the control";
    // The page area below the thumb.
    ClearLog();
    Clock::Advance(1000);
    Click(b, 10, 200 - arrow - 5);
    Pump();
    EXPECT_EQ(ScrollCodes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 11);
    // Drag the thumb to the bottom: tracking, the final position, the end.
    SCROLLBARINFO sbi = BarInfo(b);
    ClearLog();
    Clock::Advance(1000);
    Press(b, 10, (sbi.xyThumbTop + sbi.xyThumbBottom) / 2);
    MoveTo(b, 10, 400);
    Release();
    Pump();
    const auto codes = ScrollCodes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[codes.size() - 3], SB_THUMBTRACK);
    EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 81);
    // A disabled arrow is no button.
    EnableScrollBar(b, SB_CTL, ESB_DISABLE_DOWN);
    ClearLog();
    Clock::Advance(1000);
    Click(b, 10, 200 - arrow / 2);
    Pump();
    EXPECT_TRUE(ScrollCodes().empty());
    DestroyWindow(b);
}

TEST_F(ScrollCtlTest, HoldingAnArrowRepeatsOnTheClock)
{
    HWND b = Bar();
    Settle();
    ClearLog();
    // Held: once at the press, again 400 ms later, then every 50 ms.
    user::QueueIdleAction([] { Clock::Advance(399); });
    user::QueueIdleAction([] { Clock::Advance(1); });
    user::QueueIdleAction([] { Clock::Advance(50); });
    user::QueueIdleAction([] { Clock::Advance(50); });
    user::QueueIdleAction([] { Release(); });
    Clock::Advance(1000);
    Press(b, 10, 5);
    Pump();
    EXPECT_EQ(ScrollCodes(), (std::vector<int>{SB_LINEUP, SB_LINEUP, SB_LINEUP, SB_LINEUP, SB_ENDSCROLL}));
    DestroyWindow(b);
}

TEST_F(ScrollCtlTest, KeysWithTheFocus)
{
    HWND b = Bar(SBS_VERT | WS_TABSTOP);
    SetScrollPos(b, SB_CTL, 50, TRUE);
    Clock::Advance(1000);
    Click(b, 10, 100);
    Pump();
    EXPECT_EQ(GetFocus(), b) << "a tab stop takes the focus when clicked";
    const struct {
        int vk;
        int code;
        int pos;
    } rows[] = {{VK_DOWN, SB_LINEDOWN, 51}, {VK_RIGHT, SB_LINEDOWN, 52}, {VK_UP, SB_LINEUP, 51},
        {VK_NEXT, SB_PAGEDOWN, 61}, {VK_PRIOR, SB_PAGEUP, 51}, {VK_END, SB_BOTTOM, 100}, {VK_HOME, SB_TOP, 0}};
    SetScrollPos(b, SB_CTL, 50, TRUE);
    // One step per key press, no SB_ENDSCROLL after it.
    for (const auto& r : rows) {
        ClearLog();
        Key(r.vk);
        Pump();
        EXPECT_EQ(ScrollCodes(), (std::vector<int>{r.code})) << r.vk;
        EXPECT_EQ(GetScrollPos(b, SB_CTL), r.pos) << r.vk;
    }
    // With the focus the thumb blinks: a gray caret over it.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.hwndCaret, b);
    const SCROLLBARINFO sbi = BarInfo(b);
    EXPECT_EQ(gui.rcCaret.top, sbi.xyThumbTop + 1);
    EXPECT_EQ(gui.rcCaret.bottom, sbi.xyThumbBottom - 1);
    SetFocus(parent);
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.hwndCaret, nullptr);
    DestroyWindow(b);
}

TEST_F(ScrollCtlTest, AlignmentStylesGiveTheStandardThickness)
{
    const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    const struct {
        DWORD style;
        RECT want; // parent client coordinates; the control was asked for (50,20) 100x80
    } rows[] = {
        {SBS_HORZ, {50, 20, 150, 100}},
        {SBS_HORZ | SBS_TOPALIGN, {50, 20, 150, 20 + cy}},
        {SBS_HORZ | SBS_BOTTOMALIGN, {50, 100 - cy, 150, 100}},
        {SBS_VERT | SBS_LEFTALIGN, {50, 20, 50 + cx, 100}},
        {SBS_VERT | SBS_RIGHTALIGN, {150 - cx, 20, 150, 100}},
        {SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN, {150 - cx, 100 - cy, 150, 100}},
    };
    for (const auto& r : rows) {
        HWND b = Ctl(L"ScrollBar", r.style, 50, 20, 100, 80);
        RECT wr{};
        GetWindowRect(b, &wr);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
        EXPECT_TRUE(EqualRect(&wr, &r.want)) << std::hex << r.style << std::dec << ": " << wr.left << "," << wr.top
                                             << "," << wr.right << "," << wr.bottom;
        DestroyWindow(b);
    }
}

TEST_F(ScrollCtlTest, TheTrackIsPaintedWithTheParentsBrush)
{
    constexpr COLORREF kTrack = RGB(0, 160, 80);
    HBRUSH brush = CreateSolidBrush(kTrack);
    HWND b = Ctl(L"ScrollBar", SBS_HORZ, 20, 20, 200, 20);
    rec().SetHandler([&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        if (m != WM_CTLCOLORSCROLLBAR || reinterpret_cast<HWND>(lp) != b)
            return false;
        r = reinterpret_cast<LRESULT>(brush);
        return true;
    });
    InvalidateRect(b, nullptr, TRUE);
    Settle();
    const SCROLLBARINFO sbi = BarInfo(b);
    // Between the left arrow and the thumb (at position 0 the thumb touches the arrow, so
    // look right of the thumb).
    EXPECT_EQ(ClientPixel(b, sbi.xyThumbBottom + 3, 10), kTrack);
    EXPECT_EQ(ClientPixel(b, 200 - sbi.dxyLineButton - 2, 10), kTrack);
    DestroyWindow(b);
    DeleteObject(brush);
}

// Without a brush of the parent's, a track is the classic look: the halftone of
// COLOR_3DHILIGHT and COLOR_3DFACE (neighbours differ, diagonal ones match) while the
// highlight is the window colour, else the flat COLOR_SCROLLBAR; a window's own bars too.
TEST_F(ScrollCtlTest, TheDefaultTrackIsTheClassicHalftone)
{
    const COLORREF hilight = GetSysColor(COLOR_3DHILIGHT), face = GetSysColor(COLOR_3DFACE);
    ASSERT_EQ(hilight, GetSysColor(COLOR_WINDOW)) << "the classic defaults";
    const int part = COLOR_3DHILIGHT;
    const struct {
        const char* name;
        bool ownBar;         // a window's own vertical bar (else a horizontal control)
        COLORREF newHilight; // 0: the defaults
    } rows[] = {{"control", false, 0}, {"a window's own bar", true, 0},
        {"control, highlight apart from the window colour", false, RGB(250, 250, 240)}};
    for (const auto& r : rows) {
        SetSysColors(1, &part, r.newHilight ? &r.newHilight : &hilight);
        HWND w = r.ownBar ? Ctl(kRecClass, WS_VSCROLL, 20, 20, 100, 200) : Ctl(L"ScrollBar", SBS_HORZ, 20, 20, 200, 20);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        Settle();
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof sbi;
        ASSERT_TRUE(GetScrollBarInfo(w, r.ownBar ? OBJID_VSCROLL : OBJID_CLIENT, &sbi)) << r.name;
        // A point of the track past the thumb (a window's bar is told in screen coordinates,
        // a control's along its client area).
        POINT p{sbi.xyThumbBottom + 4, 10};
        if (r.ownBar)
            p = POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2, sbi.rcScrollBar.top + sbi.xyThumbBottom + 4};
        else
            ClientToScreen(w, &p);
        HDC screen = GetDC(nullptr);
        const COLORREF a = GetPixel(screen, p.x, p.y), right = GetPixel(screen, p.x + 1, p.y),
                       below = GetPixel(screen, p.x, p.y + 1), diagonal = GetPixel(screen, p.x + 1, p.y + 1);
        ReleaseDC(nullptr, screen);
        if (r.newHilight) {
            EXPECT_EQ(a, GetSysColor(COLOR_SCROLLBAR)) << r.name;
            EXPECT_EQ(right, a) << r.name;
        } else {
            EXPECT_TRUE((a == hilight && right == face) || (a == face && right == hilight)) << r.name;
            EXPECT_EQ(below, right) << r.name;
            EXPECT_EQ(diagonal, a) << r.name;
        }
        DestroyWindow(w);
    }
    SetSysColors(1, &part, &hilight);
}

} // namespace
} // namespace zyn::test
