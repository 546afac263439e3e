// The tooltip on the virtual clock: the initial, auto-pop and reshow delays, moving
// between tools, leaving, clicks, TTM_POP, activation, tracking tips and placement.
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {
namespace {

class TipTiming : public ComctlTest {
protected:
    void SetUp() override
    {
        ComctlTest::SetUp();
        host = MakeHost(100, 100, 400, 300);
        tip = MakeTip(host);
        Relay() = tip;
        // Two tools side by side with a gap between them.
        ASSERT_TRUE(AddTool(tip, host, 1, RECT{10, 10, 110, 60}, L"First"));
        ASSERT_TRUE(AddTool(tip, host, 2, RECT{130, 10, 230, 60}, L"Second"));
    }
    void TearDown() override
    {
        DestroyWindow(tip);
        DestroyWindow(host);
        ComctlTest::TearDown();
    }
    // Screen points on the tools and off them.
    static constexpr POINT kOnFirst{150, 140};
    static constexpr POINT kOnSecond{270, 140};
    static constexpr POINT kInGap{220, 140};
    static constexpr POINT kOffTools{300, 350};

    void Go(POINT p) { MoveTo(p.x, p.y); }

    HWND host = nullptr;
    HWND tip = nullptr;
};

TEST_F(TipTiming, ShowsAfterTheInitialDelayBelowTheCursorAndPopsAfterTheAutoPopTime)
{
    // Defaults from the double-click time (500 ms): initial 500, auto-pop 5000.
    Go(kOnFirst);
    Advance(499);
    EXPECT_FALSE(Visible(tip)) << "shown before the initial delay";
    Advance(1);
    ASSERT_TRUE(Visible(tip));
    EXPECT_EQ(CountNotices(TTN_SHOW), 1u);
    // Top-left at the cursor's x, 20 pixels below it (5/8 of the 32-pixel cursor).
    const RECT r = WindowRectOf(tip);
    EXPECT_EQ(r.left, kOnFirst.x);
    EXPECT_EQ(r.top, kOnFirst.y + 20);
    Advance(4990);
    EXPECT_TRUE(Visible(tip)) << "popped before the auto-pop time";
    Advance(10);
    EXPECT_FALSE(Visible(tip));
    EXPECT_EQ(CountNotices(TTN_POP), 1u);
    // The tool under the resting mouse stays quiet, also when the mouse moves within it.
    Go(POINT{kOnFirst.x + 5, kOnFirst.y});
    Advance(2000);
    EXPECT_FALSE(Visible(tip));
    EXPECT_EQ(CountNotices(TTN_SHOW), 1u);
}

TEST_F(TipTiming, DelaysFollowTheDoubleClickTimeUnlessSet)
{
    struct Row {
        const char* name;
        UINT dblclk;
        int automatic;  // TTDT_AUTOMATIC value sent, or 0 for none
        int initial, autopop, reshow;
    };
    const Row rows[] = {
        {"defaults", 500, 0, 500, 5000, 100},
        {"new double-click time", 300, 0, 300, 3000, 60},
        {"automatic 200", 500, 200, 200, 2000, 40},
        {"automatic back to defaults", 400, -1, 400, 4000, 80},
    };
    for (const Row& row : rows) {
        SetDoubleClickTime(row.dblclk);
        if (row.automatic)
            SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(static_cast<WORD>(row.automatic), 0));
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), row.initial) << row.name;
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), row.autopop) << row.name;
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), row.reshow) << row.name;
    }
    // One delay set on its own; -1 gives it back to the double-click time.
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 50);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 50);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 4000);
    Go(kOnFirst);
    Advance(50);
    EXPECT_TRUE(Visible(tip)) << "the initial delay set on its own";
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(0xFFFF, 0));
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 400);
    SetDoubleClickTime(500);
}

TEST_F(TipTiming, TheMouseMustRestForTheWholeInitialDelay)
{
    Go(kOnFirst);
    Advance(300);
    Go(POINT{kOnFirst.x + 3, kOnFirst.y + 2}); // still on the tool: the wait starts again
    Advance(499);
    EXPECT_FALSE(Visible(tip));
    Advance(1);
    EXPECT_TRUE(Visible(tip));
}

TEST_F(TipTiming, MovingToAnotherToolHidesTheTipAndShowsTheNextAfterTheReshowDelay)
{
    Go(kOnFirst);
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    Go(kOnSecond);
    EXPECT_FALSE(Visible(tip)) << "the first tip stays while the mouse is on another tool";
    EXPECT_EQ(CountNotices(TTN_POP), 1u);
    Advance(99);
    EXPECT_FALSE(Visible(tip));
    Advance(1);
    ASSERT_TRUE(Visible(tip)) << "the reshow delay is a fifth of the double-click time";
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.uId, 2u);
    EXPECT_EQ(ti.hwnd, host);
}

TEST_F(TipTiming, CrossingAGapKeepsTheQuickReshowOnlyForAMoment)
{
    struct Row {
        const char* name;
        uint64_t inGap;    // ms spent between the tools
        uint64_t expected; // delay of the second tip
    };
    const Row rows[] = {{"short gap", 200, 100}, {"long gap", 600, 500}};
    for (const Row& row : rows) {
        Go(kOffTools);
        Advance(1000);
        Go(kOnFirst);
        Advance(500);
        ASSERT_TRUE(Visible(tip)) << row.name;
        Go(kInGap);
        EXPECT_FALSE(Visible(tip)) << row.name << ": leaving the tool hides its tip at once";
        Advance(row.inGap);
        Go(kOnSecond);
        Advance(row.expected - 1);
        EXPECT_FALSE(Visible(tip)) << row.name;
        Advance(1);
        EXPECT_TRUE(Visible(tip)) << row.name;
    }
}

TEST_F(TipTiming, ClicksPopAndTheTipStaysAwayUntilAnotherTool)
{
    struct Row {
        const char* name;
        std::function<void(HWND)> put;
    };
    const Row rows[] = {
        {"left click", [](HWND) { user::InjectClick(kOnFirst.x, kOnFirst.y); }},
        {"right press", [](HWND) { user::InjectMouseButton(user::MouseButton::Right, true); user::InjectMouseButton(user::MouseButton::Right, false); }},
        {"TTM_POP", [](HWND t) { SendMessageW(t, TTM_POP, 0, 0); }},
    };
    for (const Row& row : rows) {
        Go(kOffTools);
        Advance(1000);
        Go(kOnFirst);
        Advance(500);
        ASSERT_TRUE(Visible(tip)) << row.name;
        row.put(tip);
        Pump();
        EXPECT_FALSE(Visible(tip)) << row.name;
        Go(POINT{kOnFirst.x + 4, kOnFirst.y});
        Advance(1000);
        EXPECT_FALSE(Visible(tip)) << row.name << ": the same tool shows again";
        Go(kOnSecond);
        Advance(500);
        EXPECT_TRUE(Visible(tip)) << row.name << ": another tool shows";
    }
}

TEST_F(TipTiming, AnInactiveControlShowsNothingUntilActivated)
{
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    Go(kOnFirst);
    Advance(1000);
    EXPECT_FALSE(Visible(tip));
    SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    Go(POINT{kOnFirst.x + 1, kOnFirst.y});
    Advance(500);
    EXPECT_TRUE(Visible(tip));
    // Deactivating hides a shown tip.
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_FALSE(Visible(tip));
}

TEST_F(TipTiming, TheMouseLeavingForAnotherWindowHidesTheTip)
{
    // The other window does not relay anything: the control notices by itself.
    HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 600, 100, 200, 200, nullptr, nullptr,
        nullptr, nullptr);
    if (!other) // no static control class: a plain host without relaying will do
        other = MakeHost(600, 100, 200, 200);
    Go(kOnFirst);
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    Relay() = nullptr;
    Go(POINT{650, 150});
    Advance(100);
    EXPECT_FALSE(Visible(tip)) << "the leave check runs every 100 ms";
    DestroyWindow(other);
}

TEST_F(TipTiming, TipsWaitForTheirOwnerToBeActiveWithoutAlwaysTip)
{
    DestroyWindow(tip);
    tip = MakeTip(host, TTS_NOPREFIX);
    Relay() = tip;
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{10, 10, 110, 60}, L"First"));
    HWND other = MakeHost(700, 600, 100, 100);
    SetActiveWindow(other);
    Go(kOnFirst);
    Advance(1000);
    EXPECT_FALSE(Visible(tip)) << "owner inactive";
    SetActiveWindow(host);
    Go(POINT{kOnFirst.x + 1, kOnFirst.y});
    Advance(500);
    EXPECT_TRUE(Visible(tip)) << "owner active";
    DestroyWindow(other);
}

TEST_F(TipTiming, TipsStayInsideTheWorkArea)
{
    DestroyWindow(tip);
    DestroyWindow(host);
    // A host over the whole screen with one tool everywhere.
    host = MakeHost(0, 0, 1280, 1024);
    tip = MakeTip(host);
    Relay() = tip;
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{0, 0, 1280, 1024}, L"A tip near the edges"));
    const SIZE text = StatusFontExtent(L"A tip near the edges");
    const int w = text.cx + 6, h = StatusFontHeight() + 6;
    struct Row {
        const char* name;
        POINT cursor;
        POINT topLeft; // by the placement rule: below the cursor, shifted in; above it at the bottom
    };
    const Row rows[] = {
        {"free", {400, 300}, {400, 320}},
        {"right edge", {1270, 300}, {1280 - w, 320}},
        {"bottom edge", {400, 1015}, {400, 1015 - h}},
        {"bottom right corner", {1275, 1020}, {1280 - w, 1020 - h}},
    };
    for (const Row& row : rows) {
        // Off and on again: the control forgets the tool under the mouse.
        SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
        SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
        Go(row.cursor);
        Advance(500);
        ASSERT_TRUE(Visible(tip)) << row.name;
        const RECT r = WindowRectOf(tip);
        EXPECT_EQ(r.left, row.topLeft.x) << row.name;
        EXPECT_EQ(r.top, row.topLeft.y) << row.name;
        EXPECT_EQ(r.right - r.left, w) << row.name;
        EXPECT_EQ(r.bottom - r.top, h) << row.name;
    }
}

TEST_F(TipTiming, CentredTipsSitBelowTheirTool)
{
    ASSERT_TRUE(AddTool(tip, host, 3, RECT{250, 100, 350, 140}, L"Centred", TTF_CENTERTIP));
    Go(POINT{100 + 300, 100 + 120});
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    const RECT r = WindowRectOf(tip);
    const int w = StatusFontExtent(L"Centred").cx + 6;
    // The tool is (350..450, 200..240) on the screen.
    EXPECT_EQ(r.left, 400 - w / 2);
    EXPECT_EQ(r.top, 240);
}

TEST_F(TipTiming, TrackingTipsFollowTheirPositionAndIgnoreTheMouse)
{
    ASSERT_TRUE(AddTool(tip, host, 7, RECT{}, L"Tracking", TTF_TRACK | TTF_ABSOLUTE));
    ASSERT_TRUE(AddTool(tip, host, 8, RECT{}, L"Kept inside", TTF_TRACK));
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 7;
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(100, 200));
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    ASSERT_TRUE(Visible(tip)) << "a tracking tip shows at once";
    EXPECT_EQ(WindowRectOf(tip).left, 100);
    EXPECT_EQ(WindowRectOf(tip).top, 200);
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(1275, 30));
    EXPECT_EQ(WindowRectOf(tip).left, 1275) << "TTF_ABSOLUTE: exactly there, even past the edge";
    // The mouse moving over the other tools and resting changes nothing.
    Go(kOnFirst);
    Advance(2000);
    EXPECT_EQ(WindowRectOf(tip).left, 1275);
    EXPECT_EQ(CountNotices(TTN_SHOW), 1u);
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(Visible(tip));
    // Without TTF_ABSOLUTE the tip is kept on the work area.
    ti.uId = 8;
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    ASSERT_TRUE(Visible(tip));
    EXPECT_EQ(WindowRectOf(tip).right, 1280);
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    // A tool without TTF_TRACK cannot be tracked.
    ti.uId = 1;
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(Visible(tip));
}

TEST_F(TipTiming, TipsAreTopMostAndTransparentOnesLetTheMouseThrough)
{
    // A tooltip made without WS_EX_TOPMOST still comes up above everything.
    DestroyWindow(tip);
    tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, host, nullptr,
        nullptr, nullptr);
    Relay() = tip;
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{0, 0, 400, 300}, L"Solid"));
    ASSERT_TRUE(AddTool(tip, host, 2, RECT{}, L"See-through", TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT));
    Go(POINT{150, 140});
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT solid = WindowRectOf(tip);
    EXPECT_EQ(WindowFromPoint(POINT{solid.left + 2, solid.top + 2}), tip);
    // The transparent tip over the host: the point belongs to the host.
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 2;
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, 200));
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    ASSERT_TRUE(Visible(tip));
    EXPECT_EQ(WindowFromPoint(POINT{202, 202}), host);
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

TEST_F(TipTiming, PopupShowsAtOnceAtTheLastMousePosition)
{
    Go(kOnFirst);
    SendMessageW(tip, TTM_POPUP, 0, 0);
    ASSERT_TRUE(Visible(tip));
    EXPECT_EQ(WindowRectOf(tip).left, kOnFirst.x);
    EXPECT_EQ(WindowRectOf(tip).top, kOnFirst.y + 20);
}

TEST_F(TipTiming, SurvivesToolsAndWindowsGoingAwayWhileShown)
{
    HWND child = MakeHost(300, 150, 80, 80, host, 77);
    ASSERT_TRUE(AddWindowTool(tip, host, child, L"Child"));
    Go(POINT{100 + 320, 100 + 170});
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    DestroyWindow(child);
    Advance(100);
    EXPECT_FALSE(Visible(tip)) << "the tool's window is gone";
    // Deleting the shown tool hides the tip at once.
    Go(kOnFirst);
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 1;
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(Visible(tip));
    EXPECT_EQ(SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, 0), 0);
}

TEST_F(TipTiming, AHandlerMayDestroyTheTooltipWhileItShows)
{
    OnShow() = [this](HWND, NMHDR*) -> LRESULT {
        DestroyWindow(tip);
        return 0;
    };
    Go(kOnFirst);
    Advance(600);
    EXPECT_FALSE(IsWindow(tip));
    OnShow() = nullptr;
    Relay() = nullptr;
}

TEST_F(TipTiming, AShowHandlerMayPlaceTheTipItself)
{
    OnShow() = [this](HWND, NMHDR*) -> LRESULT {
        SetWindowPos(tip, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    };
    Go(kOnFirst);
    Advance(500);
    ASSERT_TRUE(Visible(tip));
    EXPECT_EQ(WindowRectOf(tip).left, 33);
    EXPECT_EQ(WindowRectOf(tip).top, 44);
}

} // namespace
} // namespace zyn::test
