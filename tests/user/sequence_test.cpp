// Message sequences of the common window operations. Each row builds some windows, runs
// one operation with the log on and compares the whole log (CBT calls, sent messages,
// messages taken from the queue) with the sequence the platform documents for it.
#include <functional>

#include "platform/user/mdiclient.h"
#include "tests/user/msglog.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

// What a row works with: the log and named windows.
struct Seq {
    MsgLog& log;
    HWND Make(const std::string& name, DWORD style, int x, int y, int cx, int cy, const std::string& parent = "",
        DWORD ex = 0, UINT_PTR id = 0)
    {
        log.NameNext(name);
        return CreateWindowExW(ex, MsgLog::kClass, L"", style, x, y, cx, cy, parent.empty() ? nullptr : log[parent],
            reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    HWND operator[](const std::string& name) const { return log[name]; }
};

using Lines = std::vector<std::string>;

struct Row {
    const char* name;
    std::function<void(Seq&)> setup;     // not logged
    std::function<void(Seq&)> act;       // logged
    std::function<Lines()> expected;
    std::vector<UINT> keep = {};              // quiet messages this row logs
    std::function<void(Seq&)> check = {};     // state afterwards
};

std::string Num(int v) { return std::to_string(v); }

void Pump()
{
    MSG m;
    for (int guard = 0; guard < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard)
        DispatchMessageW(&m);
}

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }
DWORD ExStyle(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)); }

// Two visible popups side by side; "front" is made last, so it is active and has the focus.
void TwoPopups(Seq& s)
{
    s.Make("back", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    s.Make("front", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
}

// A visible popup with a visible frameless child that has the focus.
void PopupWithFocusedChild(Seq& s)
{
    s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    s.Make("kid", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, "main");
    SetFocus(s["kid"]);
}

// The work area and the thick frame's width, for the maximised rectangles offered.
RECT WorkArea()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
int ThickFrame() { return GetSystemMetrics(SM_CXFRAME); }

// A visible popup with two visible frameless children side by side, "a" above "b".
void PopupWithTwoChildren(Seq& s)
{
    s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    s.Make("a", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, "main");
    s.Make("b", WS_CHILD | WS_VISIBLE, 60, 10, 50, 50, "main");
}

// A visible popup (no WS_CLIPCHILDREN) with a bordered child, every paint done.
void PopupWithBorderedChild(Seq& s)
{
    s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    s.Make("kid", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 50, 50, "main");
    Pump();
}

// The minimised rectangle of the first window minimised on the screen, as "{x,y,cx,cy".
std::string FirstIconPos()
{
    const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    return "{0," + Num(GetSystemMetrics(SM_CYSCREEN) - cy) + "," + Num(cx) + "," + Num(cy);
}

const Row kRows[] = {
    // ---- creation -------------------------------------------------------------------------------------------
    {"HiddenOverlappedHearsNoSizeOrMoveWhileCreated", nullptr,
        [](Seq& s) { s.Make("main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200); },
        [] {
            // The creation structure carries the extended style the window will have (a
            // thick frame has the window edge), and the caller's style.
            // Maximised, it would fill the work area with its thick frame just outside.
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            const int f = GetSystemMetrics(SM_CXFRAME);
            return Lines{"cbt HCBT_CREATEWND main 0xcf0000 0x100",
                "main WM_GETMINMAXINFO max " + Num(work.left - f) + "," + Num(work.top - f) + " " +
                    Num(work.right - work.left + 2 * f) + "x" + Num(work.bottom - work.top + 2 * f),
                "main WM_NCCREATE 0xcf0000 0x100", "main WM_NCCALCSIZE {10,20,310,220}", "main WM_CREATE 0xcf0000 0x100"};
        },
        {},
        [](Seq& s) {
            // The styles the system adds show afterwards.
            EXPECT_EQ(Style(s["main"]), WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS);
            EXPECT_EQ(ExStyle(s["main"]), WS_EX_WINDOWEDGE);
        }},
    {"HiddenPopupHearsItsSizeRightAfterCreateAndClipsItsSiblings", nullptr,
        [](Seq& s) { s.Make("pop", WS_POPUP, 0, 0, 50, 50); },
        [] {
            return Lines{"cbt HCBT_CREATEWND pop 0x80000000 0x0", "pop WM_NCCREATE 0x80000000 0x0",
                "pop WM_NCCALCSIZE {0,0,50,50}", "pop WM_CREATE 0x80000000 0x0", "pop WM_SIZE RESTORED 50x50", "pop WM_MOVE 0,0"};
        },
        {}, [](Seq& s) { EXPECT_EQ(Style(s["pop"]), 0x84000000u); }},
    {"VisiblePopupIsToldItsSizeThenShownAndActivated", nullptr,
        [](Seq& s) { s.Make("pop", WS_POPUP | WS_VISIBLE, 10, 20, 300, 200); },
        [] {
            // Made on top of the z-order, the showing leaves the order as it is.
            return Lines{"cbt HCBT_CREATEWND pop 0x90000000 0x0", "pop WM_NCCREATE 0x90000000 0x0",
                "pop WM_NCCALCSIZE {10,20,310,220}", "pop WM_CREATE 0x90000000 0x0", "pop WM_SIZE RESTORED 300x200", "pop WM_MOVE 10,20",
                "pop WM_SHOWWINDOW 1", "pop WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|SHOWWINDOW}",
                "cbt HCBT_ACTIVATE pop 0", "pop WM_ACTIVATEAPP 1", "pop WM_NCACTIVATE 1 0", "pop WM_ACTIVATE ACTIVE 0",
                "cbt HCBT_SETFOCUS pop 0", "pop WM_SETFOCUS 0",
                "pop WM_WINDOWPOSCHANGED {10,20,300,200 NOSIZE|NOMOVE|NOZORDER|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {}, [](Seq& s) { EXPECT_EQ(Style(s["pop"]), WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS); }},
    {"VisibleChildNotifiesItsParentThenShows", [](Seq& s) { s.Make("main", WS_POPUP, 100, 50, 400, 300); },
        [](Seq& s) { s.Make("kid", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, "main", 0, 7); },
        [] {
            // The creation's WM_NCCALCSIZE has the rectangle on the screen; the rest is in
            // the parent's client coordinates.
            return Lines{"cbt HCBT_CREATEWND kid 0x50000000 0x0", "kid WM_NCCREATE 0x50000000 0x0",
                "kid WM_NCCALCSIZE {105,56,155,96}",
                "kid WM_CREATE 0x50000000 0x0", "kid WM_SIZE RESTORED 50x40", "kid WM_MOVE 5,6",
                "main WM_PARENTNOTIFY CREATE kid", "kid WM_SHOWWINDOW 1",
                "kid WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW}",
                "kid WM_WINDOWPOSCHANGED {5,6,50,40 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {}, [](Seq& s) { EXPECT_EQ(Style(s["kid"]), WS_CHILD | WS_VISIBLE); }},
    {"CreatedMinimisedTakesTheMinimisedPlace", nullptr,
        [](Seq& s) { s.Make("icon", WS_POPUP | WS_MINIMIZE, 10, 20, 300, 200); },
        [] {
            // Minimised windows are SM_CXMINIMIZED x SM_CYMINIMIZED, the first one at the
            // bottom left of the screen; a minimised window's client area is empty. The
            // state is taken on top of the z-order, where the new window already is.
            const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
            const int y = GetSystemMetrics(SM_CYSCREEN) - cy;
            const std::string pos = "{0," + Num(y) + "," + Num(cx) + "," + Num(cy);
            return Lines{"cbt HCBT_CREATEWND icon 0xa0000000 0x0", "icon WM_NCCREATE 0xa0000000 0x0",
                "icon WM_NCCALCSIZE {10,20,310,220}", "icon WM_CREATE 0xa0000000 0x0", "icon WM_SIZE RESTORED 300x200",
                "icon WM_MOVE 10,20", "cbt HCBT_MINMAX icon SW_MINIMIZE",
                "icon WM_WINDOWPOSCHANGING " + pos + " NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "icon WM_NCCALCSIZE",
                "icon WM_WINDOWPOSCHANGED " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "icon WM_MOVE 0," + Num(y), "icon WM_SIZE MINIMIZED 0x0"};
        },
        {},
        [](Seq& s) {
            EXPECT_TRUE(IsIconic(s["icon"]));
            EXPECT_FALSE(IsWindowVisible(s["icon"]));
        }},
    {"CreatedMaximisedVisibleIsMaximisedThenShown", nullptr,
        [](Seq& s) { s.Make("big", WS_POPUP | WS_MAXIMIZE | WS_VISIBLE, 10, 20, 300, 200); },
        [] {
            // A frameless window maximises to the work area, while still hidden and without
            // activation; then it is shown as any visible window is.
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            const std::string pos = "{" + Num(work.left) + "," + Num(work.top) + "," + Num(work.right - work.left) + "," +
                Num(work.bottom - work.top);
            return Lines{"cbt HCBT_CREATEWND big 0x91000000 0x0", "big WM_NCCREATE 0x91000000 0x0",
                "big WM_NCCALCSIZE {10,20,310,220}", "big WM_CREATE 0x91000000 0x0", "big WM_SIZE RESTORED 300x200",
                "big WM_MOVE 10,20", "cbt HCBT_MINMAX big SW_MAXIMIZE",
                "big WM_GETMINMAXINFO max " + Num(work.left) + "," + Num(work.top) + " " + Num(work.right - work.left) +
                    "x" + Num(work.bottom - work.top),
                "big WM_WINDOWPOSCHANGING " + pos + " NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "big WM_NCCALCSIZE",
                "big WM_WINDOWPOSCHANGED " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "big WM_MOVE " + Num(work.left) + "," + Num(work.top),
                "big WM_SIZE MAXIMIZED " + Num(work.right - work.left) + "x" + Num(work.bottom - work.top),
                "big WM_SHOWWINDOW 1", "big WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|SHOWWINDOW}",
                "cbt HCBT_ACTIVATE big 0", "big WM_ACTIVATEAPP 1", "big WM_NCACTIVATE 1 0", "big WM_ACTIVATE ACTIVE 0",
                "cbt HCBT_SETFOCUS big 0", "big WM_SETFOCUS 0",
                "big WM_WINDOWPOSCHANGED " + pos + " NOSIZE|NOMOVE|NOZORDER|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {},
        [](Seq& s) {
            EXPECT_TRUE(IsZoomed(s["big"]));
            EXPECT_TRUE(IsWindowVisible(s["big"]));
            EXPECT_EQ(GetActiveWindow(), s["big"]);
        }},

    {"ASizableChildIsOfferedItsParentsClientArea", [](Seq& s) { s.Make("main", WS_POPUP, 100, 50, 300, 200); },
        [](Seq& s) { s.Make("kid", WS_CHILD | WS_THICKFRAME, 10, 10, 150, 100, "main"); },
        [] {
            const int f = ThickFrame();
            return Lines{"cbt HCBT_CREATEWND kid 0x40040000 0x100",
                "kid WM_GETMINMAXINFO max " + Num(-f) + "," + Num(-f) + " " + Num(300 + 2 * f) + "x" + Num(200 + 2 * f),
                "kid WM_NCCREATE 0x40040000 0x100", "kid WM_NCCALCSIZE {110,60,260,160}", "kid WM_CREATE 0x40040000 0x100",
                "kid WM_SIZE RESTORED " + Num(150 - 2 * f) + "x" + Num(100 - 2 * f),
                "kid WM_MOVE " + Num(10 + f) + "," + Num(10 + f), "main WM_PARENTNOTIFY CREATE kid"};
        }},
    // ---- showing and hiding --------------------------------------------------------------------------------
    {"ShowNormalOfANormalWindowIsAPlainShow", [](Seq& s) { s.Make("main", WS_POPUP, 10, 20, 300, 200); },
        [](Seq& s) { ShowWindow(s["main"], SW_SHOWNORMAL); },
        [] {
            return Lines{"main WM_SHOWWINDOW 1", "main WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|SHOWWINDOW}",
                "cbt HCBT_ACTIVATE main 0", "main WM_ACTIVATEAPP 1", "main WM_NCACTIVATE 1 0", "main WM_ACTIVATE ACTIVE 0",
                "cbt HCBT_SETFOCUS main 0", "main WM_SETFOCUS 0",
                "main WM_WINDOWPOSCHANGED {10,20,300,200 NOSIZE|NOMOVE|NOZORDER|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        }},
    {"HiddenOverlappedIsToldItsSizeAfterItsFirstShowing",
        [](Seq& s) { s.Make("main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200); },
        [](Seq& s) { ShowWindow(s["main"], SW_SHOWNORMAL); },
        [] {
            // The client area lies inside the thick frame and under the caption.
            const int f = GetSystemMetrics(SM_CXFRAME), c = GetSystemMetrics(SM_CYCAPTION);
            return Lines{"main WM_SHOWWINDOW 1", "main WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|SHOWWINDOW}",
                "cbt HCBT_ACTIVATE main 0", "main WM_ACTIVATEAPP 1", "main WM_NCACTIVATE 1 0", "main WM_ACTIVATE ACTIVE 0",
                "cbt HCBT_SETFOCUS main 0", "main WM_SETFOCUS 0",
                "main WM_WINDOWPOSCHANGED {10,20,300,200 NOSIZE|NOMOVE|NOZORDER|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "main WM_SIZE RESTORED " + Num(300 - 2 * f) + "x" + Num(200 - 2 * f - c),
                "main WM_MOVE " + Num(10 + f) + "," + Num(20 + f + c)};
        }},
    {"HidingTheActiveWindowDeactivatesItThenMovesTheFocus", TwoPopups,
        [](Seq& s) { ShowWindow(s["front"], SW_HIDE); },
        [] {
            // A top-level window is hidden on top of the z-order, where it already is.
            return Lines{"front WM_SHOWWINDOW 0", "front WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|HIDEWINDOW}",
                "front WM_WINDOWPOSCHANGED {200,0,100,100 NOSIZE|NOMOVE|NOZORDER|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "cbt HCBT_ACTIVATE back front", "front WM_NCACTIVATE 0 back", "front WM_ACTIVATE INACTIVE back",
                "back WM_NCACTIVATE 1 front", "back WM_ACTIVATE ACTIVE front", "cbt HCBT_SETFOCUS back front",
                "front WM_KILLFOCUS back", "back WM_SETFOCUS front"};
        },
        {},
        [](Seq& s) {
            EXPECT_EQ(GetActiveWindow(), s["back"]);
            EXPECT_EQ(GetFocus(), s["back"]);
        }},
    {"HidingTheLastWindowLeavesNoActiveWindowAndNoFocus",
        [](Seq& s) { s.Make("solo", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100); },
        [](Seq& s) { ShowWindow(s["solo"], SW_HIDE); },
        [] {
            // The hook hears that nothing takes over; the focus goes with the activation,
            // without a word to the hook.
            return Lines{"solo WM_SHOWWINDOW 0", "solo WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|HIDEWINDOW}",
                "solo WM_WINDOWPOSCHANGED {0,0,100,100 NOSIZE|NOMOVE|NOZORDER|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "cbt HCBT_ACTIVATE 0 solo", "solo WM_NCACTIVATE 0 0", "solo WM_ACTIVATE INACTIVE 0",
                "solo WM_ACTIVATEAPP 0", "solo WM_KILLFOCUS 0"};
        },
        {},
        [](Seq&) {
            EXPECT_EQ(GetActiveWindow(), nullptr);
            EXPECT_EQ(GetFocus(), nullptr);
        }},
    {"HidingAFocusedChildGivesTheFocusToItsParent", PopupWithFocusedChild,
        [](Seq& s) { ShowWindow(s["kid"], SW_HIDE); },
        [] {
            return Lines{"kid WM_SHOWWINDOW 0",
                "kid WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW}",
                "kid WM_WINDOWPOSCHANGED {10,10,50,50 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "cbt HCBT_SETFOCUS main kid", "kid WM_KILLFOCUS main", "main WM_SETFOCUS kid"};
        }},

    {"MinimisingAnOwnerHidesItsPopupsThenActivatesTheNextWindow",
        [](Seq& s) {
            s.Make("owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
            s.Make("other", WS_POPUP | WS_VISIBLE, 300, 0, 100, 100);
            s.Make("tool", WS_POPUP | WS_VISIBLE, 150, 0, 50, 50, "owner");
            SetActiveWindow(s["owner"]);
        },
        [](Seq& s) { ShowWindow(s["owner"], SW_MINIMIZE); },
        [] {
            const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
            const int y = GetSystemMetrics(SM_CYSCREEN) - cy;
            const std::string pos = "{0," + Num(y) + "," + Num(cx) + "," + Num(cy);
            // The focus goes first; the minimise asks to show the window (it already is).
            return Lines{"cbt HCBT_MINMAX owner SW_MINIMIZE", "cbt HCBT_SETFOCUS 0 owner", "owner WM_KILLFOCUS 0",
                "tool WM_SHOWWINDOW 0 PARENTCLOSING",
                "tool WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW}",
                "tool WM_WINDOWPOSCHANGED {150,0,50,50 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "owner WM_WINDOWPOSCHANGING " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}",
                "owner WM_NCCALCSIZE",
                "owner WM_WINDOWPOSCHANGED " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "owner WM_MOVE 0," + Num(y), "owner WM_SIZE MINIMIZED 0x0", "cbt HCBT_ACTIVATE other owner",
                "owner WM_NCACTIVATE 0 other", "owner WM_ACTIVATE INACTIVE min other", "other WM_NCACTIVATE 1 owner",
                "other WM_ACTIVATE ACTIVE owner", "cbt HCBT_SETFOCUS other 0", "other WM_SETFOCUS 0"};
        },
        {},
        [](Seq& s) {
            const HWND owner = s["owner"], tool = s["tool"];
            EXPECT_FALSE(IsWindowVisible(tool));
            // Restoring the owner brings back what its minimising hid.
            ShowWindow(owner, SW_RESTORE);
            EXPECT_TRUE(IsWindowVisible(tool));
            // ShowOwnedPopups shows only what ShowOwnedPopups hid.
            ShowWindow(tool, SW_HIDE);
            ShowOwnedPopups(owner, TRUE);
            EXPECT_FALSE(IsWindowVisible(tool));
            ShowWindow(tool, SW_SHOWNA);
            ShowOwnedPopups(owner, FALSE);
            EXPECT_FALSE(IsWindowVisible(tool));
            ShowOwnedPopups(owner, TRUE);
            EXPECT_TRUE(IsWindowVisible(tool));
        }},

    {"ShowNaRaisesATopLevelWindowWithoutActivatingIt",
        [](Seq& s) {
            TwoPopups(s);
            ShowWindow(s["back"], SW_HIDE);
            SetWindowPos(s["back"], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        },
        [](Seq& s) { ShowWindow(s["back"], SW_SHOWNA); },
        [] {
            return Lines{"back WM_SHOWWINDOW 1", "back WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOACTIVATE|SHOWWINDOW}",
                "back WM_WINDOWPOSCHANGED {0,0,100,100 NOSIZE|NOMOVE|NOACTIVATE|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {},
        [](Seq& s) {
            EXPECT_EQ(GetTopWindow(nullptr), s["back"]);
            EXPECT_EQ(GetActiveWindow(), s["front"]);
        }},
    {"MinimisingTheOnlyWindowKillsTheFocusFirstAndKeepsItActive",
        [](Seq& s) { s.Make("solo", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, 0, 0, 100, 100); },
        [](Seq& s) { ShowWindow(s["solo"], SW_MINIMIZE); },
        [] {
            // A sizable window is asked its limits even as it is minimised.
            const RECT work = WorkArea();
            const int f = ThickFrame(), y = GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYMINIMIZED);
            return Lines{"cbt HCBT_MINMAX solo SW_MINIMIZE", "cbt HCBT_SETFOCUS 0 solo", "solo WM_KILLFOCUS 0",
                "solo WM_WINDOWPOSCHANGING " + FirstIconPos() +
                    " NOZORDER|NOACTIVATE|FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}",
                "solo WM_GETMINMAXINFO max " + Num(work.left - f) + "," + Num(work.top - f) + " " +
                    Num(work.right - work.left + 2 * f) + "x" + Num(work.bottom - work.top + 2 * f),
                "solo WM_NCCALCSIZE",
                "solo WM_WINDOWPOSCHANGED " + FirstIconPos() + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "solo WM_MOVE 0," + Num(y), "solo WM_SIZE MINIMIZED 0x0"};
        },
        {},
        [](Seq& s) {
            EXPECT_EQ(GetActiveWindow(), s["solo"]);
            EXPECT_EQ(GetFocus(), nullptr);
        }},
    {"OpeningAnIconAsksItFirstThenGivesItTheFocusAndTellsItIsActive",
        [](Seq& s) {
            s.Make("solo", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
            ShowWindow(s["solo"], SW_MINIMIZE);
        },
        [](Seq& s) { ShowWindow(s["solo"], SW_RESTORE); },
        [] {
            // Still the active window: no activation, WM_ACTIVATE alone.
            return Lines{"cbt HCBT_MINMAX solo SW_RESTORE", "solo WM_QUERYOPEN",
                "solo WM_WINDOWPOSCHANGING {0,0,100,100 FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}",
                "solo WM_NCCALCSIZE", "solo WM_WINDOWPOSCHANGED {0,0,100,100 NOZORDER|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "solo WM_MOVE 0,0", "solo WM_SIZE RESTORED 100x100", "cbt HCBT_SETFOCUS solo 0", "solo WM_SETFOCUS 0",
                "solo WM_ACTIVATE ACTIVE 0"};
        },
        {}, [](Seq& s) { EXPECT_EQ(GetFocus(), s["solo"]); }},
    {"MaximisingAChildRaisesItAndTellsItItIsTheActiveChild", PopupWithTwoChildren,
        [](Seq& s) { ShowWindow(s["b"], SW_MAXIMIZE); },
        [] {
            // A frameless child maximises to its parent's client area.
            return Lines{"cbt HCBT_MINMAX b SW_MAXIMIZE", "b WM_GETMINMAXINFO max 0,0 200x200",
                "b WM_WINDOWPOSCHANGING {0,0,200,200 FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}", "b WM_NCCALCSIZE",
                "b WM_CHILDACTIVATE", "b WM_WINDOWPOSCHANGED {0,0,200,200 FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "b WM_MOVE 0,0", "b WM_SIZE MAXIMIZED 200x200"};
        },
        {}, [](Seq& s) { EXPECT_EQ(GetWindow(s["main"], GW_CHILD), s["b"]); }},
    {"RestoringAMaximisedChildTellsItItIsTheActiveChild",
        [](Seq& s) {
            PopupWithTwoChildren(s);
            ShowWindow(s["b"], SW_MAXIMIZE);
        },
        [](Seq& s) { ShowWindow(s["b"], SW_RESTORE); },
        [] {
            return Lines{"cbt HCBT_MINMAX b SW_RESTORE",
                "b WM_WINDOWPOSCHANGING {60,10,50,50 FRAMECHANGED|SHOWWINDOW|STATECHANGED}", "b WM_NCCALCSIZE",
                "b WM_CHILDACTIVATE", "b WM_WINDOWPOSCHANGED {60,10,50,50 NOZORDER|FRAMECHANGED|STATECHANGED}",
                "b WM_MOVE 60,10", "b WM_SIZE RESTORED 50x50"};
        }},
    {"AWindowMaximisedUnderTheCursorHearsTheMouseThere",
        [](Seq& s) {
            s.Make("main", WS_POPUP | WS_VISIBLE, 20, 30, 100, 100);
            user::InjectMouseMove(600, 500); // over the desktop
            Pump();
        },
        [](Seq& s) {
            ShowWindow(s["main"], SW_MAXIMIZE);
            Pump();
        },
        [] {
            const RECT work = WorkArea();
            const std::string size = Num(work.right - work.left) + "x" + Num(work.bottom - work.top);
            const std::string pos = "{" + Num(work.left) + "," + Num(work.top) + "," + Num(work.right - work.left) + "," +
                Num(work.bottom - work.top);
            return Lines{"cbt HCBT_MINMAX main SW_MAXIMIZE",
                "main WM_GETMINMAXINFO max " + Num(work.left) + "," + Num(work.top) + " " + size,
                "main WM_WINDOWPOSCHANGING " + pos + " FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}",
                "main WM_NCCALCSIZE", "main WM_WINDOWPOSCHANGED " + pos + " NOZORDER|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "main WM_MOVE " + Num(work.left) + "," + Num(work.top), "main WM_SIZE MAXIMIZED " + size,
                "main WM_NCHITTEST 600,500", "main WM_SETCURSOR main 1 WM_MOUSEMOVE",
                "main WM_MOUSEMOVE " + Num(600 - work.left) + "," + Num(500 - work.top) + " (posted)"};
        },
        {WM_NCHITTEST, WM_SETCURSOR}},
    // ---- positions ------------------------------------------------------------------------------------------
    {"MovingAndSizingCarriesTheRequest", [](Seq& s) { s.Make("main", WS_POPUP, 10, 20, 300, 200); },
        [](Seq& s) { SetWindowPos(s["main"], nullptr, 20, 30, 400, 250, SWP_NOZORDER | SWP_NOACTIVATE); },
        [] {
            return Lines{"main WM_WINDOWPOSCHANGING {20,30,400,250 NOZORDER|NOACTIVATE}", "main WM_NCCALCSIZE",
                "main WM_WINDOWPOSCHANGED {20,30,400,250 NOZORDER|NOACTIVATE}", "main WM_MOVE 20,30",
                "main WM_SIZE RESTORED 400x250"};
        }},
    {"AMoveIsAskedAsRequestedAndReportsTheWholeResult", [](Seq& s) { s.Make("main", WS_POPUP, 10, 20, 300, 200); },
        [](Seq& s) { SetWindowPos(s["main"], nullptr, 50, 60, 999, 999, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); },
        [] {
            return Lines{"main WM_WINDOWPOSCHANGING {50,60,999,999 NOSIZE|NOZORDER|NOACTIVATE}",
                "main WM_WINDOWPOSCHANGED {50,60,300,200 NOSIZE|NOZORDER|NOACTIVATE|NOCLIENTSIZE}", "main WM_MOVE 50,60"};
        }},
    {"ARequestThatChangesNothingIsAskedButNotReported", [](Seq& s) { s.Make("main", WS_POPUP, 10, 20, 300, 200); },
        [](Seq& s) { SetWindowPos(s["main"], nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE); },
        [] { return Lines{"main WM_WINDOWPOSCHANGING {10,20,300,200 NOZORDER|NOACTIVATE}"}; }},

    {"SizingASizableChildAsksItsLimitsAgain",
        [](Seq& s) {
            s.Make("main", WS_POPUP, 100, 50, 300, 200);
            s.Make("kid", WS_CHILD | WS_THICKFRAME, 10, 10, 150, 100, "main");
        },
        [](Seq& s) { SetWindowPos(s["kid"], nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); },
        [] {
            const int f = ThickFrame();
            return Lines{"kid WM_WINDOWPOSCHANGING {0,0,200,120 NOMOVE|NOZORDER|NOACTIVATE}",
                "kid WM_GETMINMAXINFO max " + Num(-f) + "," + Num(-f) + " " + Num(300 + 2 * f) + "x" + Num(200 + 2 * f),
                "kid WM_NCCALCSIZE", "kid WM_WINDOWPOSCHANGED {10,10,200,120 NOMOVE|NOZORDER|NOACTIVATE|NOCLIENTMOVE}",
                "kid WM_SIZE RESTORED " + Num(200 - 2 * f) + "x" + Num(120 - 2 * f)};
        }},
    {"SetParentPutsAChildOnTopAndTellsItItIsTheActiveChild",
        [](Seq& s) {
            s.Make("one", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
            s.Make("two", WS_POPUP | WS_VISIBLE, 300, 0, 200, 200);
            s.Make("there", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, "two");
            s.Make("kid", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, "one");
        },
        [](Seq& s) { EXPECT_EQ(SetParent(s["kid"], s["two"]), s["one"]); },
        [] {
            // Its place in the new parent's client area is the one it had in the old.
            return Lines{"kid WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE}", "kid WM_CHILDACTIVATE",
                "kid WM_WINDOWPOSCHANGED {10,10,50,50 NOSIZE|NOMOVE|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {}, [](Seq& s) { EXPECT_EQ(GetWindow(s["two"], GW_CHILD), s["kid"]); }},
    // ---- destruction ----------------------------------------------------------------------------------------
    {"DestroyingAParentSendsEveryDestroyBeforeAnyNcDestroy",
        [](Seq& s) {
            s.Make("main", WS_POPUP, 0, 0, 300, 200);
            s.Make("a", WS_CHILD, 0, 0, 50, 50, "main");
            s.Make("a1", WS_CHILD, 0, 0, 20, 20, "a");
            s.Make("b", WS_CHILD, 60, 0, 50, 50, "main");
        },
        [](Seq& s) { DestroyWindow(s["main"]); },
        [] {
            return Lines{"cbt HCBT_DESTROYWND main", "main WM_DESTROY", "a WM_DESTROY", "a1 WM_DESTROY", "b WM_DESTROY",
                "a1 WM_NCDESTROY", "a WM_NCDESTROY", "b WM_NCDESTROY", "main WM_NCDESTROY"};
        }},
    {"DestroyingTheActiveWindowHidesItThenActivatesTheOther", TwoPopups,
        [](Seq& s) { DestroyWindow(s["front"]); },
        [] {
            return Lines{"cbt HCBT_DESTROYWND front",
                "front WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW}",
                "front WM_WINDOWPOSCHANGED {200,0,100,100 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "cbt HCBT_ACTIVATE back front", "front WM_NCACTIVATE 0 back", "front WM_ACTIVATE INACTIVE back",
                "back WM_NCACTIVATE 1 front", "back WM_ACTIVATE ACTIVE front", "cbt HCBT_SETFOCUS back front",
                "front WM_KILLFOCUS back", "back WM_SETFOCUS front", "front WM_DESTROY", "front WM_NCDESTROY"};
        }},

    // ---- activation, focus and enabling ------------------------------------------------------------------------
    {"ActivatingAnotherWindowRaisesItBeforeItHearsOfIt",
        [](Seq& s) {
            s.Make("a", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
            s.Make("b", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
        },
        [](Seq& s) { SetActiveWindow(s["a"]); },
        [] {
            return Lines{"cbt HCBT_ACTIVATE a b", "b WM_NCACTIVATE 0 a", "b WM_ACTIVATE INACTIVE a",
                "a WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE}",
                "a WM_WINDOWPOSCHANGED {0,0,100,100 NOSIZE|NOMOVE|NOCLIENTSIZE|NOCLIENTMOVE}", "a WM_NCACTIVATE 1 b",
                "a WM_ACTIVATE ACTIVE b", "cbt HCBT_SETFOCUS a b", "b WM_KILLFOCUS a", "a WM_SETFOCUS b"};
        },
        {}, [](Seq& s) { EXPECT_EQ(GetTopWindow(nullptr), s["a"]); }},
    {"SetFocusOnADisabledWindowIsRefused",
        [](Seq& s) {
            s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
            s.Make("off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 10, 50, 50, "main");
        },
        [](Seq& s) { EXPECT_EQ(SetFocus(s["off"]), nullptr); }, [] { return Lines{}; }, {},
        [](Seq& s) { EXPECT_EQ(GetFocus(), s["main"]); }},
    {"SetFocusInsideADisabledParentIsRefused",
        [](Seq& s) {
            s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
            s.Make("box", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 10, 100, 100, "main");
            s.Make("inner", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, "box");
        },
        [](Seq& s) { EXPECT_EQ(SetFocus(s["inner"]), nullptr); }, [] { return Lines{}; }, {},
        [](Seq& s) { EXPECT_EQ(GetFocus(), s["main"]); }},
    {"DisablingAParentLeavesItsChildTheFocus", PopupWithFocusedChild,
        [](Seq& s) { EXPECT_FALSE(EnableWindow(s["main"], FALSE)); },
        [] { return Lines{"main WM_CANCELMODE", "main WM_ENABLE 0"}; }, {},
        [](Seq& s) { EXPECT_EQ(GetFocus(), s["kid"]); }},
    {"DisablingTheFocusWindowTakesTheFocusAway", PopupWithFocusedChild,
        [](Seq& s) { EXPECT_FALSE(EnableWindow(s["kid"], FALSE)); },
        [] {
            return Lines{"kid WM_CANCELMODE", "cbt HCBT_SETFOCUS 0 kid", "kid WM_KILLFOCUS 0", "kid WM_ENABLE 0"};
        },
        {}, [](Seq&) { EXPECT_EQ(GetFocus(), nullptr); }},

    {"DisablingADisabledWindowCancelsItsModeAgain",
        [](Seq& s) {
            s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
            s.Make("off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 10, 50, 50, "main");
        },
        [](Seq& s) { EXPECT_TRUE(EnableWindow(s["off"], FALSE)); }, [] { return Lines{"off WM_CANCELMODE"}; }},
    // ---- capture -------------------------------------------------------------------------------------------------
    {"CaptureTakenAgainTellsTheWindowItChanged",
        [](Seq& s) {
            s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
            SetCapture(s["main"]);
        },
        [](Seq& s) { EXPECT_EQ(SetCapture(s["main"]), s["main"]); },
        [] { return Lines{"main WM_CAPTURECHANGED main"}; }, {},
        [](Seq& s) {
            EXPECT_EQ(GetCapture(), s["main"]);
            ReleaseCapture();
        }},
    {"CaptureMovesOnAndIsReleased",
        [](Seq& s) {
            TwoPopups(s);
            SetCapture(s["back"]);
        },
        [](Seq& s) {
            SetCapture(s["front"]);
            ReleaseCapture();
        },
        [] { return Lines{"back WM_CAPTURECHANGED front", "front WM_CAPTURECHANGED 0"}; }, {},
        [](Seq&) { EXPECT_EQ(GetCapture(), nullptr); }},

    // ---- painting -------------------------------------------------------------------------------------------------
    {"FramelessChildHearsNcPaintWhenItsFrameIsInvalidated",
        [](Seq& s) {
            PopupWithFocusedChild(s);
            Pump();
        },
        [](Seq& s) {
            RedrawWindow(s["kid"], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            Pump();
        },
        [] { return Lines{"kid WM_PAINT (posted)", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}; },
        {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
    {"ClientInvalidationOfAFramelessChildIsNoNcPaint",
        [](Seq& s) {
            PopupWithFocusedChild(s);
            Pump();
        },
        [](Seq& s) {
            InvalidateRect(s["kid"], nullptr, TRUE);
            Pump();
        },
        [] { return Lines{"kid WM_PAINT (posted)", "kid WM_ERASEBKGND"}; }, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},

    {"ABorderedChildPaintsItsFrameWhenItsParentIsInvalidated", PopupWithBorderedChild,
        [](Seq& s) {
            InvalidateRect(s["main"], nullptr, TRUE);
            Pump();
        },
        [] {
            return Lines{"main WM_PAINT (posted)", "main WM_ERASEBKGND", "kid WM_PAINT (posted)", "kid WM_NCPAINT",
                "kid WM_ERASEBKGND"};
        },
        {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
    {"InvalidatingAParentWithoutErasingStillErasesItsChildren", PopupWithBorderedChild,
        [](Seq& s) {
            InvalidateRect(s["main"], nullptr, FALSE);
            Pump();
        },
        [] { return Lines{"main WM_PAINT (posted)", "kid WM_PAINT (posted)", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}; },
        {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
    {"UpdateNowPaintsTheParentBeforeItsChildren", PopupWithBorderedChild,
        [](Seq& s) { RedrawWindow(s["main"], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN); },
        [] {
            return Lines{"main WM_PAINT", "main WM_ERASEBKGND", "kid WM_PAINT", "kid WM_NCPAINT", "kid WM_ERASEBKGND"};
        },
        {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
    {"EraseNowErasesTheParentBeforeItsChildrenAndLeavesThePaintForLater", PopupWithBorderedChild,
        [](Seq& s) {
            RedrawWindow(s["main"], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
            Pump();
        },
        [] {
            return Lines{"main WM_ERASEBKGND", "kid WM_NCPAINT", "kid WM_ERASEBKGND", "main WM_PAINT (posted)",
                "kid WM_PAINT (posted)"};
        },
        {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
    // ---- text ----------------------------------------------------------------------------------------------------
    {"WindowTextGoesThroughItsMessages", [](Seq& s) { s.Make("main", WS_POPUP, 0, 0, 100, 100); },
        [](Seq& s) {
            SetWindowTextW(s["main"], L"title");
            wchar_t buf[16];
            EXPECT_EQ(GetWindowTextW(s["main"], buf, 16), 5);
            EXPECT_EQ(GetWindowTextLengthW(s["main"]), 5);
        },
        [] { return Lines{"main WM_SETTEXT", "main WM_GETTEXT", "main WM_GETTEXTLENGTH"}; },
        {WM_GETTEXT, WM_GETTEXTLENGTH}},

    // ---- a host's own MDI client -------------------------------------------------------------------------------
    {"HostMakesItsOwnMdiClientByClassName", [](Seq& s) { s.Make("frame", WS_POPUP, 0, 0, 500, 400); },
        [](Seq& s) {
            CLIENTCREATESTRUCT ccs{nullptr, 100};
            s.log.NameNext("client");
            // Class names match without case.
            const HWND client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 480, 360, s["frame"], reinterpret_cast<HMENU>(1),
                nullptr, &ccs);
            EXPECT_NE(client, nullptr);
        },
        [] {
            const int e = GetSystemMetrics(SM_CXEDGE);
            return Lines{"cbt HCBT_CREATEWND client 0x52000000 0x200", "client WM_NCCREATE 0x52000000 0x200",
                "client WM_NCCALCSIZE {0,0,480,360}", "client WM_CREATE 0x52000000 0x200",
                "client WM_SIZE RESTORED " + Num(480 - 2 * e) + "x" + Num(360 - 2 * e),
                "client WM_MOVE " + Num(e) + "," + Num(e), "frame WM_PARENTNOTIFY CREATE client",
                "client WM_SHOWWINDOW 1",
                "client WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW}",
                "client WM_WINDOWPOSCHANGED {0,0,480,360 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
        },
        {},
        [](Seq& s) {
            // The client works: it makes, lists and activates a document window.
            const HWND client = s["client"];
            ASSERT_NE(client, nullptr);
            MDICREATESTRUCTW mcs{UserTest::kRecClass, L"doc", nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT, WS_VISIBLE, 0};
            const HWND doc = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
            ASSERT_NE(doc, nullptr);
            EXPECT_EQ(GetParent(doc), client);
            EXPECT_EQ(GetDlgCtrlID(doc), 100);
            EXPECT_EQ(user::MdiChildCount(client), 1u);
            EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), doc);
        }},
    {"AnMdiChildIsMadeVisibleActivatedAndListed",
        [](Seq& s) {
            s.Make("frame", WS_POPUP | WS_VISIBLE, 50, 40, 500, 400);
            CLIENTCREATESTRUCT ccs{nullptr, 100};
            s.log.NameNext("client");
            CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400, 300,
                s["frame"], nullptr, nullptr, &ccs);
        },
        [](Seq& s) {
            // Without MDIS_ALLCHILDSTYLES only the state and the scroll bars of the style asked
            // for count: the child is not disabled, and it is visible.
            MDICREATESTRUCTW mcs{MsgLog::kClass, L"doc", nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT, WS_DISABLED | WS_VSCROLL, 0};
            s.log.NameNext("doc");
            SendMessageW(s["client"], WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
        },
        [] {
            // Placed at the client's first cascade place, three quarters of its size; the
            // client hears of it, the frame does not.
            const int f = ThickFrame(), c = GetSystemMetrics(SM_CYCAPTION), v = GetSystemMetrics(SM_CXVSCROLL);
            return Lines{"client WM_MDICREATE", "cbt HCBT_CREATEWND doc 0x46ef0000 0x140",
                "doc WM_GETMINMAXINFO max " + Num(-f) + "," + Num(-f) + " " + Num(400 + 2 * f) + "x" + Num(300 + 2 * f),
                "doc WM_NCCREATE 0x46ef0000 0x140", "doc WM_NCCALCSIZE {50,40,350,265}", "doc WM_CREATE 0x46ef0000 0x140",
                "doc WM_SIZE RESTORED " + Num(300 - 2 * f - v) + "x" + Num(225 - 2 * f - c),
                "doc WM_MOVE " + Num(f) + "," + Num(f + c), "client WM_PARENTNOTIFY CREATE doc", "doc WM_SHOWWINDOW 1",
                "doc WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW}",
                "doc WM_WINDOWPOSCHANGED {0,0,300,225 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}",
                "doc WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE}", "doc WM_CHILDACTIVATE",
                "doc WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOACTIVATE}", "doc WM_NCACTIVATE 1 0",
                "cbt HCBT_SETFOCUS doc frame", "frame WM_KILLFOCUS doc", "doc WM_SETFOCUS frame",
                "doc WM_MDIACTIVATE 0 doc", "client WM_MDIREFRESHMENU"};
        },
        {},
        [](Seq& s) {
            EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(s["client"], WM_MDIGETACTIVE, 0, 0)), s["doc"]);
            EXPECT_TRUE(IsWindowEnabled(s["doc"]));
        }},
};

class SequenceTest : public UserTest, public ::testing::WithParamInterface<size_t> {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        m_log.Install();
    }
    void TearDown() override
    {
        m_log.Stop();
        for (HWND h : m_log.Named())
            if (IsWindow(h) && !GetParent(h))
                DestroyWindow(h);
        for (HWND h : m_log.Named())
            if (IsWindow(h))
                DestroyWindow(h);
        m_log.Uninstall();
        UserTest::TearDown();
    }
    MsgLog m_log;
};

TEST_P(SequenceTest, MatchesTheDocumentedSequence)
{
    const Row& row = kRows[GetParam()];
    Seq s{m_log};
    if (row.setup)
        row.setup(s);
    m_log.Start(row.keep);
    row.act(s);
    m_log.Stop();
    EXPECT_EQ(m_log.Lines(), row.expected()) << row.name;
    if (row.check)
        row.check(s);
}

INSTANTIATE_TEST_SUITE_P(Rows, SequenceTest, ::testing::Range<size_t>(0, std::size(kRows)),
    [](const ::testing::TestParamInfo<size_t>& info) { return std::string(kRows[info.param].name); });

// WM_CHILDACTIVATE: a child positioned without SWP_NOACTIVATE hears it once, inside the
// positioning; moves that say SWP_NOACTIVATE (MoveWindow) and hidden children do not.
TEST_F(UserTest, ChildPositionedWithoutNoActivateHearsChildActivate)
{
    HWND p = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND c = Make(WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, p);
    HWND hidden = Make(WS_CHILD, 0, 0, 20, 20, p);
    rec().Clear();
    SetWindowPos(c, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const auto seq = rec().For(c, {WM_WINDOWPOSCHANGING, WM_CHILDACTIVATE, WM_WINDOWPOSCHANGED});
    ASSERT_EQ(seq.size(), 3u);
    EXPECT_EQ(seq.front(), WM_WINDOWPOSCHANGING);
    EXPECT_EQ(std::count(seq.begin(), seq.end(), WM_CHILDACTIVATE), 1);
    rec().Clear();
    MoveWindow(c, 6, 6, 20, 20, TRUE);
    SetWindowPos(hidden, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(rec().All({WM_CHILDACTIVATE}).empty());
    DestroyWindow(p);
}

} // namespace
} // namespace zyn::test
