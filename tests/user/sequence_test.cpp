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
RECT Grown(RECT r, int by) { return RECT{r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// A visible popup with two visible frameless children side by side, "a" above "b".
void PopupWithTwoChildren(Seq& s)
{
    s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    s.Make("a", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, "main");
    s.Make("b", WS_CHILD | WS_VISIBLE, 60, 10, 50, 50, "main");
}

// A visible popup (no WS_CLIPCHILDREN) with a bordered child.
void PopupWithBorderedChild(Seq& s)
{
    s.Make("main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    s.Make("kid", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 50, 50, "main");
}

// ---- pieces of the expected sequences ---------------------------------------------------------------------
// `n` names the window, `pos` is a rectangle as Pos writes it.
Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A rectangle as a WINDOWPOS writes it, "{x,y,cx,cy" (the flags and the brace follow).
std::string Pos(const RECT& r)
{
    return "{" + Num(r.left) + "," + Num(r.top) + "," + Num(r.right - r.left) + "," + Num(r.bottom - r.top);
}

// WM_GETMINMAXINFO offering `r` as the maximised rectangle.
std::string MaxInfo(const std::string& n, const RECT& r)
{
    return n + " WM_GETMINMAXINFO max " + Num(r.left) + "," + Num(r.top) + " " + Num(r.right - r.left) + "x" +
        Num(r.bottom - r.top);
}

// A creation: `styles` the caller's style and the extended style the window will have,
// `rect` the rectangle WM_NCCALCSIZE carries, `limits` a sizable window's WM_GETMINMAXINFO.
Lines Created(const std::string& n, const std::string& styles, const std::string& rect, const std::string& limits = "")
{
    Lines l{"cbt HCBT_CREATEWND " + n + " " + styles};
    if (!limits.empty())
        l.push_back(limits);
    return l + Lines{n + " WM_NCCREATE " + styles, n + " WM_NCCALCSIZE " + rect, n + " WM_CREATE " + styles};
}

// Minimised to the first window's place, SM_CXMINIMIZED x SM_CYMINIMIZED at the bottom left
// of the screen, with an empty client area: `asked` the flags WM_WINDOWPOSCHANGING carries,
// `limits` a sizable window's WM_GETMINMAXINFO.
Lines Minimised(const std::string& n, const std::string& asked, const std::string& limits = "")
{
    const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    const int y = GetSystemMetrics(SM_CYSCREEN) - cy;
    const std::string pos = Pos(RECT{0, y, cx, y + cy});
    Lines l{n + " WM_WINDOWPOSCHANGING " + pos + " " + asked + "}"};
    if (!limits.empty())
        l.push_back(limits);
    return l + Lines{n + " WM_NCCALCSIZE", n + " WM_WINDOWPOSCHANGED " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                   n + " WM_MOVE 0," + Num(y), n + " WM_SIZE MINIMIZED 0x0"};
}

// WM_SIZE, then WM_MOVE (as after a creation).
Lines SizeMove(const std::string& n, const std::string& size, const std::string& at)
{
    return {n + " WM_SIZE " + size, n + " WM_MOVE " + at};
}

// A top-level window shown with nothing active before it: activated and given the focus
// inside its showing, which leaves its order as it is; `pos` its place.
Lines ShownActive(const std::string& n, const std::string& pos)
{
    return {n + " WM_SHOWWINDOW 1", n + " WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|SHOWWINDOW}",
        "cbt HCBT_ACTIVATE " + n + " 0", n + " WM_ACTIVATEAPP 1", n + " WM_NCACTIVATE 1 0", n + " WM_ACTIVATE ACTIVE 0",
        "cbt HCBT_SETFOCUS " + n + " 0", n + " WM_SETFOCUS 0",
        n + " WM_WINDOWPOSCHANGED " + pos + " NOSIZE|NOMOVE|NOZORDER|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
}

// A child shown: neither activated nor moved in the order.
Lines ChildShown(const std::string& n, const std::string& pos)
{
    return {n + " WM_SHOWWINDOW 1", n + " WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW}",
        n + " WM_WINDOWPOSCHANGED " + pos + " NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|SHOWWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"};
}

// The activation and then the focus going from one top-level window to another.
Lines HandOver(const std::string& from, const std::string& to)
{
    return {"cbt HCBT_ACTIVATE " + to + " " + from, from + " WM_NCACTIVATE 0 " + to, from + " WM_ACTIVATE INACTIVE " + to,
        to + " WM_NCACTIVATE 1 " + from, to + " WM_ACTIVATE ACTIVE " + from, "cbt HCBT_SETFOCUS " + to + " " + from,
        from + " WM_KILLFOCUS " + to, to + " WM_SETFOCUS " + from};
}

// A painting row: after `setup` has everything painted, `redraw` of the window named, then
// every message handled.
Row PaintRow(const char* name, void (*setup)(Seq&), const char* window, std::function<void(HWND)> redraw, Lines expected)
{
    return {name,
        [setup](Seq& s) {
            setup(s);
            Pump();
        },
        [window, redraw](Seq& s) {
            redraw(s[window]);
            Pump();
        },
        [expected] { return expected; }, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}};
}

const Row kRows[] = {
    // ---- creation -------------------------------------------------------------------------------------------
    {"HiddenOverlappedHearsNoSizeOrMoveWhileCreated", nullptr,
        [](Seq& s) { s.Make("main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200); },
        [] {
            // The creation structure carries the extended style the window will have (a
            // thick frame has the window edge), and the caller's style.
            // Maximised, it would fill the work area with its thick frame just outside.
            return Created("main", "0xcf0000 0x100", "{10,20,310,220}", MaxInfo("main", Grown(WorkArea(), ThickFrame())));
        },
        {},
        [](Seq& s) {
            // The styles the system adds show afterwards.
            EXPECT_EQ(Style(s["main"]), WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS);
            EXPECT_EQ(ExStyle(s["main"]), WS_EX_WINDOWEDGE);
        }},
    {"HiddenPopupHearsItsSizeRightAfterCreateAndClipsItsSiblings", nullptr,
        [](Seq& s) { s.Make("pop", WS_POPUP, 0, 0, 50, 50); },
        [] { return Created("pop", "0x80000000 0x0", "{0,0,50,50}") + SizeMove("pop", "RESTORED 50x50", "0,0"); }, {},
        [](Seq& s) { EXPECT_EQ(Style(s["pop"]), 0x84000000u); }},
    {"VisiblePopupIsToldItsSizeThenShownAndActivated", nullptr,
        [](Seq& s) { s.Make("pop", WS_POPUP | WS_VISIBLE, 10, 20, 300, 200); },
        [] {
            // Made on top of the z-order, the showing leaves the order as it is.
            return Created("pop", "0x90000000 0x0", "{10,20,310,220}") + SizeMove("pop", "RESTORED 300x200", "10,20") +
                ShownActive("pop", "{10,20,300,200");
        },
        {}, [](Seq& s) { EXPECT_EQ(Style(s["pop"]), WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS); }},
    {"VisibleChildNotifiesItsParentThenShows", [](Seq& s) { s.Make("main", WS_POPUP, 100, 50, 400, 300); },
        [](Seq& s) { s.Make("kid", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, "main", 0, 7); },
        [] {
            // The creation's WM_NCCALCSIZE has the rectangle on the screen; the rest is in
            // the parent's client coordinates.
            return Created("kid", "0x50000000 0x0", "{105,56,155,96}") + SizeMove("kid", "RESTORED 50x40", "5,6") +
                Lines{"main WM_PARENTNOTIFY CREATE kid"} + ChildShown("kid", "{5,6,50,40");
        },
        {}, [](Seq& s) { EXPECT_EQ(Style(s["kid"]), WS_CHILD | WS_VISIBLE); }},
    {"CreatedMinimisedTakesTheMinimisedPlace", nullptr,
        [](Seq& s) { s.Make("icon", WS_POPUP | WS_MINIMIZE, 10, 20, 300, 200); },
        [] {
            // The state is taken on top of the z-order, where the new window already is.
            return Created("icon", "0xa0000000 0x0", "{10,20,310,220}") + SizeMove("icon", "RESTORED 300x200", "10,20") +
                Lines{"cbt HCBT_MINMAX icon SW_MINIMIZE"} + Minimised("icon", "NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED");
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
            const RECT work = WorkArea();
            const std::string pos = Pos(work);
            return Created("big", "0x91000000 0x0", "{10,20,310,220}") + SizeMove("big", "RESTORED 300x200", "10,20") +
                Lines{"cbt HCBT_MINMAX big SW_MAXIMIZE", MaxInfo("big", work),
                    "big WM_WINDOWPOSCHANGING " + pos + " NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}", "big WM_NCCALCSIZE",
                    "big WM_WINDOWPOSCHANGED " + pos + " NOZORDER|NOACTIVATE|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                    "big WM_MOVE " + Num(work.left) + "," + Num(work.top),
                    "big WM_SIZE MAXIMIZED " + Num(work.right - work.left) + "x" + Num(work.bottom - work.top)} +
                ShownActive("big", pos);
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
            return Created("kid", "0x40040000 0x100", "{110,60,260,160}", MaxInfo("kid", Grown(RECT{0, 0, 300, 200}, f))) +
                SizeMove("kid", "RESTORED " + Num(150 - 2 * f) + "x" + Num(100 - 2 * f), Num(10 + f) + "," + Num(10 + f)) +
                Lines{"main WM_PARENTNOTIFY CREATE kid"};
        }},
    // ---- showing and hiding --------------------------------------------------------------------------------
    {"ShowNormalOfANormalWindowIsAPlainShow", [](Seq& s) { s.Make("main", WS_POPUP, 10, 20, 300, 200); },
        [](Seq& s) { ShowWindow(s["main"], SW_SHOWNORMAL); }, [] { return ShownActive("main", "{10,20,300,200"); }},
    {"HiddenOverlappedIsToldItsSizeAfterItsFirstShowing",
        [](Seq& s) { s.Make("main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200); },
        [](Seq& s) { ShowWindow(s["main"], SW_SHOWNORMAL); },
        [] {
            // The client area lies inside the thick frame and under the caption.
            const int f = GetSystemMetrics(SM_CXFRAME), c = GetSystemMetrics(SM_CYCAPTION);
            return ShownActive("main", "{10,20,300,200") +
                SizeMove("main", "RESTORED " + Num(300 - 2 * f) + "x" + Num(200 - 2 * f - c), Num(10 + f) + "," + Num(20 + f + c));
        }},
    {"HidingTheActiveWindowDeactivatesItThenMovesTheFocus", TwoPopups,
        [](Seq& s) { ShowWindow(s["front"], SW_HIDE); },
        [] {
            // A top-level window is hidden on top of the z-order, where it already is.
            return Lines{"front WM_SHOWWINDOW 0", "front WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|HIDEWINDOW}",
                       "front WM_WINDOWPOSCHANGED {200,0,100,100 NOSIZE|NOMOVE|NOZORDER|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"} +
                HandOver("front", "back");
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
            // The focus goes first; the minimise asks to show the window (it already is).
            return Lines{"cbt HCBT_MINMAX owner SW_MINIMIZE", "cbt HCBT_SETFOCUS 0 owner", "owner WM_KILLFOCUS 0",
                       "tool WM_SHOWWINDOW 0 PARENTCLOSING",
                       "tool WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW}",
                       "tool WM_WINDOWPOSCHANGED {150,0,50,50 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"} +
                Minimised("owner", "NOZORDER|NOACTIVATE|FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED") +
                Lines{"cbt HCBT_ACTIVATE other owner", "owner WM_NCACTIVATE 0 other", "owner WM_ACTIVATE INACTIVE min other",
                    "other WM_NCACTIVATE 1 owner", "other WM_ACTIVATE ACTIVE owner", "cbt HCBT_SETFOCUS other 0",
                    "other WM_SETFOCUS 0"};
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
            return Lines{"cbt HCBT_MINMAX solo SW_MINIMIZE", "cbt HCBT_SETFOCUS 0 solo", "solo WM_KILLFOCUS 0"} +
                Minimised("solo", "NOZORDER|NOACTIVATE|FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED",
                    MaxInfo("solo", Grown(WorkArea(), ThickFrame())));
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
            const std::string pos = Pos(work);
            return Lines{"cbt HCBT_MINMAX main SW_MAXIMIZE", MaxInfo("main", work),
                "main WM_WINDOWPOSCHANGING " + pos + " FRAMECHANGED|SHOWWINDOW|NOCOPYBITS|STATECHANGED}",
                "main WM_NCCALCSIZE", "main WM_WINDOWPOSCHANGED " + pos + " NOZORDER|FRAMECHANGED|NOCOPYBITS|STATECHANGED}",
                "main WM_MOVE " + Num(work.left) + "," + Num(work.top),
                "main WM_SIZE MAXIMIZED " + Num(work.right - work.left) + "x" + Num(work.bottom - work.top),
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
                MaxInfo("kid", Grown(RECT{0, 0, 300, 200}, f)), "kid WM_NCCALCSIZE", "kid WM_WINDOWPOSCHANGED {10,10,200,120 NOMOVE|NOZORDER|NOACTIVATE|NOCLIENTMOVE}",
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
                       "front WM_WINDOWPOSCHANGED {200,0,100,100 NOSIZE|NOMOVE|NOZORDER|NOACTIVATE|HIDEWINDOW|NOCLIENTSIZE|NOCLIENTMOVE}"} +
                HandOver("front", "back") + Lines{"front WM_DESTROY", "front WM_NCDESTROY"};
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
    PaintRow("FramelessChildHearsNcPaintWhenItsFrameIsInvalidated", PopupWithFocusedChild, "kid",
        [](HWND kid) { RedrawWindow(kid, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); },
        {"kid WM_PAINT (posted)", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}),
    PaintRow("ClientInvalidationOfAFramelessChildIsNoNcPaint", PopupWithFocusedChild, "kid",
        [](HWND kid) { InvalidateRect(kid, nullptr, TRUE); }, {"kid WM_PAINT (posted)", "kid WM_ERASEBKGND"}),
    PaintRow("ABorderedChildPaintsItsFrameWhenItsParentIsInvalidated", PopupWithBorderedChild, "main",
        [](HWND main) { InvalidateRect(main, nullptr, TRUE); },
        {"main WM_PAINT (posted)", "main WM_ERASEBKGND", "kid WM_PAINT (posted)", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}),
    PaintRow("InvalidatingAParentWithoutErasingStillErasesItsChildren", PopupWithBorderedChild, "main",
        [](HWND main) { InvalidateRect(main, nullptr, FALSE); },
        {"main WM_PAINT (posted)", "kid WM_PAINT (posted)", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}),
    PaintRow("UpdateNowPaintsTheParentBeforeItsChildren", PopupWithBorderedChild, "main",
        [](HWND main) { RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN); },
        {"main WM_PAINT", "main WM_ERASEBKGND", "kid WM_PAINT", "kid WM_NCPAINT", "kid WM_ERASEBKGND"}),
    PaintRow("EraseNowErasesTheParentBeforeItsChildrenAndLeavesThePaintForLater", PopupWithBorderedChild, "main",
        [](HWND main) { RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN); },
        {"main WM_ERASEBKGND", "kid WM_NCPAINT", "kid WM_ERASEBKGND", "main WM_PAINT (posted)", "kid WM_PAINT (posted)"}),
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
            return Created("client", "0x52000000 0x200", "{0,0,480,360}") +
                SizeMove("client", "RESTORED " + Num(480 - 2 * e) + "x" + Num(360 - 2 * e), Num(e) + "," + Num(e)) +
                Lines{"frame WM_PARENTNOTIFY CREATE client"} + ChildShown("client", "{0,0,480,360");
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
            return Lines{"client WM_MDICREATE"} +
                Created("doc", "0x46ef0000 0x140", "{50,40,350,265}", MaxInfo("doc", Grown(RECT{0, 0, 400, 300}, f))) +
                SizeMove("doc", "RESTORED " + Num(300 - 2 * f - v) + "x" + Num(225 - 2 * f - c), Num(f) + "," + Num(f + c)) +
                Lines{"client WM_PARENTNOTIFY CREATE doc"} + ChildShown("doc", "{0,0,300,225") +
                Lines{"doc WM_WINDOWPOSCHANGING {0,0,0,0 NOSIZE|NOMOVE}", "doc WM_CHILDACTIVATE",
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
