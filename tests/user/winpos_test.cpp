// Geometry: SetWindowPos and its messages, deferred positioning, show states, placement,
// frames, mapping, windows from points and the monitor.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using WinPosTest = UserTest;

RECT WinRect(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

RECT Client(HWND h)
{
    RECT r{};
    GetClientRect(h, &r);
    return r;
}

TEST_F(WinPosTest, MovingAndSizingSendChangingChangedThenMoveAndSize)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
    rec().Clear();
    ASSERT_TRUE(SetWindowPos(h, nullptr, 20, 30, 400, 250, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_EQ(rec().For(h, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
        (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    // WM_SIZE carries the client size; WM_MOVE the client origin.
    for (auto& r : rec().Log()) {
        if (r.hwnd != h)
            continue;
        if (r.msg == WM_SIZE) {
            EXPECT_EQ(LOWORD(r.lp), Client(h).right);
            EXPECT_EQ(HIWORD(r.lp), Client(h).bottom);
        }
        if (r.msg == WM_MOVE) {
            POINT o{0, 0};
            ClientToScreen(h, &o);
            EXPECT_EQ(static_cast<SHORT>(LOWORD(r.lp)), o.x);
            EXPECT_EQ(static_cast<SHORT>(HIWORD(r.lp)), o.y);
        }
    }
    // A move alone: no WM_SIZE; a size alone with the same origin: no WM_MOVE.
    rec().Clear();
    SetWindowPos(h, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rec().For(h, {WM_MOVE, WM_SIZE, WM_NCCALCSIZE}), (std::vector<UINT>{WM_MOVE}));
    rec().Clear();
    SetWindowPos(h, nullptr, 0, 0, 350, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rec().For(h, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_SIZE}));
    // Nothing changes: CHANGING only.
    rec().Clear();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rec().For(h, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_WINDOWPOSCHANGING}));
    // NOSENDCHANGING suppresses the question.
    rec().Clear();
    SetWindowPos(h, nullptr, 1, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    EXPECT_EQ(rec().For(h, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_WINDOWPOSCHANGED}));
    // FRAMECHANGED recalculates the client area without moving.
    rec().Clear();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    EXPECT_EQ(rec().For(h, {WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}), (std::vector<UINT>{WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}));
    DestroyWindow(h);
}

TEST_F(WinPosTest, WindowPosChangingCanChangeTheRequest)
{
    HWND h = Make(WS_POPUP, 0, 0, 100, 100);
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        if (m == WM_WINDOWPOSCHANGING) {
            auto* wp = reinterpret_cast<WINDOWPOS*>(lp);
            wp->cx = 77;
            wp->flags |= SWP_NOMOVE;
            r = 0;
            return true;
        }
        return false;
    });
    SetWindowPos(h, nullptr, 40, 40, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT r = WinRect(h);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 77);
    EXPECT_EQ(r.bottom - r.top, 200);
    DestroyWindow(h);
}

TEST_F(WinPosTest, SizeLimitsFromGetMinMaxInfo)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 0, 0, 300, 300);
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        if (m == WM_GETMINMAXINFO) {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
            mmi->ptMinTrackSize = POINT{150, 120};
            mmi->ptMaxTrackSize = POINT{500, 400};
            mmi->ptMaxSize = POINT{600, 500};
            mmi->ptMaxPosition = POINT{5, 6};
            r = 0;
            return true;
        }
        return false;
    });
    MoveWindow(h, 0, 0, 10, 10, TRUE);
    EXPECT_EQ(WinRect(h).right, 150);
    EXPECT_EQ(WinRect(h).bottom, 120);
    MoveWindow(h, 0, 0, 1000, 1000, TRUE);
    EXPECT_EQ(WinRect(h).right, 500);
    EXPECT_EQ(WinRect(h).bottom, 400);
    ShowWindow(h, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_EQ(WinRect(h).left, 5);
    EXPECT_EQ(WinRect(h).right, 605);
    DestroyWindow(h);
}

TEST_F(WinPosTest, DeferredPositioningAsksAllThenMovesAll)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW, 0, 0, 400, 400);
    HWND a = Make(WS_CHILD, 0, 0, 10, 10, p);
    HWND b = Make(WS_CHILD, 0, 0, 10, 10, p);
    rec().Clear();
    HDWP d = BeginDeferWindowPos(2);
    ASSERT_TRUE(d);
    d = DeferWindowPos(d, a, nullptr, 10, 20, 30, 40, SWP_NOZORDER);
    d = DeferWindowPos(d, b, nullptr, 50, 60, 70, 80, SWP_NOZORDER);
    d = DeferWindowPos(d, a, nullptr, 0, 0, 35, 45, SWP_NOZORDER | SWP_NOMOVE); // merges
    ASSERT_TRUE(d);
    EXPECT_TRUE(rec().Log().empty()); // nothing happens before the end
    ASSERT_TRUE(EndDeferWindowPos(d));
    const auto seq = rec().All({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                       WM_WINDOWPOSCHANGED}));
    POINT pa{0, 0}, pb{0, 0};
    MapWindowPoints(a, p, &pa, 1);
    MapWindowPoints(b, p, &pb, 1);
    EXPECT_EQ(pa.x, 10);
    EXPECT_EQ(pa.y, 20);
    EXPECT_EQ(Client(a).right, 35);
    EXPECT_EQ(Client(a).bottom, 45);
    EXPECT_EQ(pb.x, 50);
    EXPECT_EQ(Client(b).bottom, 80);
    // The handle is gone after use; a stale one fails cleanly.
    SetLastError(0);
    EXPECT_FALSE(EndDeferWindowPos(d));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DWP_HANDLE);
    EXPECT_EQ(DeferWindowPos(d, a, nullptr, 0, 0, 1, 1, 0), nullptr);
    DestroyWindow(p);
}

TEST_F(WinPosTest, ZOrderOfSiblingsAndTheTopmostBand)
{
    HWND a = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND b = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND c = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    // New top-level windows go on top.
    EXPECT_EQ(GetTopWindow(nullptr), c);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_TRUE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // A plain window cannot go above the topmost band.
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // A child of the desktop is top-level: it goes on top as well, where a child of
    // another window goes below its siblings.
    HWND desktopChild = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, GetDesktopWindow());
    EXPECT_EQ(GetTopWindow(nullptr), desktopChild);
    DestroyWindow(desktopChild);
    // Insert after a window that is not a sibling: refused.
    HWND child = Make(WS_CHILD, 0, 0, 5, 5, a);
    SetLastError(0);
    EXPECT_FALSE(SetWindowPos(b, child, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyWindow(a);
    DestroyWindow(b);
    DestroyWindow(c);
}

TEST_F(WinPosTest, OwnedWindowsFollowTheirOwnerUpUnlessAskedNot)
{
    HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND owned = Make(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, owner);
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    EXPECT_EQ(GetTopWindow(nullptr), other);
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    EXPECT_EQ(GetTopWindow(nullptr), owner);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), owned);
    EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
    DestroyWindow(owner);
    DestroyWindow(other);
}

TEST_F(WinPosTest, NoRedrawLeavesPaintingToTheApplication)
{
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    Pump();
    rec().Clear();
    MoveWindow(h, 10, 10, 200, 200, FALSE);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(h, &r, FALSE));
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}).empty());
    MoveWindow(h, 20, 20, 200, 200, TRUE);
    Pump();
    DestroyWindow(h);
}

TEST_F(WinPosTest, ShowStatesAndPlacementRoundTrip)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 30, 40, 300, 200);
    EXPECT_FALSE(IsWindowVisible(h));
    rec().Clear();
    EXPECT_FALSE(ShowWindow(h, SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(h));
    const auto seq = rec().For(h, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATE, WM_WINDOWPOSCHANGED});
    ASSERT_GE(seq.size(), 3u);
    EXPECT_EQ(seq.front(), WM_SHOWWINDOW);
    EXPECT_EQ(GetActiveWindow(), h);

    rec().Clear();
    EXPECT_TRUE(ShowWindow(h, SW_MAXIMIZE));
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_NE(IndexOf(rec().For(h), WM_GETMINMAXINFO), -1);
    bool sawMax = false;
    for (auto& r : rec().Log())
        if (r.hwnd == h && r.msg == WM_SIZE && r.wp == SIZE_MAXIMIZED)
            sawMax = true;
    EXPECT_TRUE(sawMax);

    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_FALSE(IsZoomed(h));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(GetWindowPlacement(h, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.flags & WPF_RESTORETOMAXIMIZED, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(wp.rcNormalPosition.left, 30);
    EXPECT_EQ(wp.rcNormalPosition.right, 330);
    // Restoring a window minimised from maximised maximises it again.
    ShowWindow(h, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(h));
    ShowWindow(h, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(WinRect(h).left, 30);
    EXPECT_EQ(WinRect(h).bottom, 240);

    wp.flags = 0;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = RECT{100, 110, 200, 220};
    ASSERT_TRUE(SetWindowPlacement(h, &wp));
    EXPECT_EQ(WinRect(h).left, 100);
    EXPECT_EQ(WinRect(h).bottom, 220);
    wp.length = 3;
    SetLastError(0);
    EXPECT_FALSE(SetWindowPlacement(h, &wp));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(ShowWindow(h, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(ShowWindow(h, SW_HIDE));
    SetLastError(0);
    EXPECT_FALSE(ShowWindow(h, 99));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_SHOWWIN_COMMAND);
    DestroyWindow(h);
}

TEST_F(WinPosTest, ShowNaDoesNotActivate)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW, 50, 50, 100, 100);
    EXPECT_EQ(GetActiveWindow(), a);
    ShowWindow(b, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_EQ(GetActiveWindow(), a);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), b);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(WinPosTest, AnIconThatRefusesToOpenStaysMinimised)
{
    static bool open = false;
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_QUERYOPEN)
            return false;
        r = open ? TRUE : FALSE;
        return true;
    });
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    ShowWindow(h, SW_MINIMIZE);
    // Each way out of the icon asks first: restoring, maximising, the system command.
    for (const int cmd : {SW_RESTORE, SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
        rec().Clear();
        ShowWindow(h, cmd);
        EXPECT_TRUE(IsIconic(h)) << cmd;
        EXPECT_EQ(rec().For(h, {WM_QUERYOPEN, WM_WINDOWPOSCHANGING}), std::vector<UINT>{WM_QUERYOPEN}) << cmd;
    }
    rec().Clear();
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_EQ(rec().For(h, {WM_QUERYOPEN}).size(), 1u) << "asked once";
    open = true;
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(h));
    rec().SetHandler(nullptr);
    DestroyWindow(h);
}

TEST_F(WinPosTest, ClientAreaMatchesAdjustWindowRect)
{
    struct Case {
        DWORD style, ex;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, 0},
        {WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
        {WS_POPUP | WS_BORDER, 0},
        {WS_POPUP, WS_EX_STATICEDGE},
        {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW},
        {WS_POPUP | WS_THICKFRAME, 0},
    };
    for (const auto& c : cases) {
        RECT r{0, 0, 200, 100};
        AdjustWindowRectEx(&r, c.style, FALSE, c.ex);
        HWND h = Make(c.style, 0, 0, r.right - r.left, r.bottom - r.top, nullptr, c.ex);
        ASSERT_TRUE(h);
        EXPECT_EQ(Client(h).right, 200) << std::hex << c.style << " " << c.ex;
        EXPECT_EQ(Client(h).bottom, 100) << std::hex << c.style << " " << c.ex;
        DestroyWindow(h);
    }
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(r.left, -GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(r.top, -GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CYCAPTION));
    // Each kind of frame is as wide and as high as its system metrics say, whatever they are.
    gdi::SetSystemMetricForTests(SM_CXFRAME, 6);
    gdi::SetSystemMetricForTests(SM_CYFRAME, 5);
    gdi::SetSystemMetricForTests(SM_CXDLGFRAME, 4);
    gdi::SetSystemMetricForTests(SM_CYDLGFRAME, 2);
    const struct {
        DWORD style, ex;
        RECT expected;
    } frames[] = {
        {WS_POPUP | WS_THICKFRAME, 0, {-6, -5, 106, 105}},
        {WS_POPUP | WS_DLGFRAME, 0, {-4, -2, 104, 102}},
        {WS_POPUP, WS_EX_DLGMODALFRAME, {-4, -2, 104, 102}},
    };
    for (const auto& f : frames) {
        RECT a{0, 0, 100, 100};
        AdjustWindowRectEx(&a, f.style, FALSE, f.ex);
        EXPECT_TRUE(EqualRect(&a, &f.expected)) << std::hex << f.style << " " << f.ex << std::dec << ": " << a.left
                                                << "," << a.top << "," << a.right << "," << a.bottom;
        // A window of that frame has the client area AdjustWindowRectEx promised.
        HWND h = Make(f.style, 0, 0, a.right - a.left, a.bottom - a.top, nullptr, f.ex);
        EXPECT_EQ(Client(h).right, 100) << std::hex << f.style;
        EXPECT_EQ(Client(h).bottom, 100) << std::hex << f.style;
        DestroyWindow(h);
    }
    gdi::ResetSystemMetrics();
    // Scroll bars take client space; AdjustWindowRect does not count them.
    HWND s = Make(WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 100);
    EXPECT_EQ(Client(s).right, 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(Client(s).bottom, 100 - GetSystemMetrics(SM_CYHSCROLL));
    DestroyWindow(s);
}

TEST_F(WinPosTest, MenuBarTakesItsHeightFromTheHook)
{
    const user::MenuBarHooks saved = user::GetMenuBarHooks(); // the menu layer's, put back at the end
    user::MenuBarHooks hooks;
    hooks.isMenu = [](HMENU m) { return m != nullptr; };
    hooks.barHeight = [](HWND, HMENU, int width) { return width < 150 ? 38 : 19; };
    user::SetMenuBarHooks(hooks);
    HMENU menu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(0x0A0B0C0D));
    HWND h = Make(WS_POPUP | WS_CAPTION, 0, 0, 300, 200);
    const RECT before = Client(h);
    ASSERT_TRUE(SetMenu(h, menu));
    EXPECT_EQ(GetMenu(h), menu);
    EXPECT_EQ(Client(h).bottom, before.bottom - 19);
    MoveWindow(h, 0, 0, 120, 200, FALSE);
    EXPECT_EQ(Client(h).bottom, before.bottom - 38);
    // The bar's hit-test code.
    const RECT bar = user::MenuBarRect(h);
    RECT wr;
    GetWindowRect(h, &wr);
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(wr.left + bar.left + 2), static_cast<WORD>(wr.top + bar.top + 2))), HTMENU);
    ASSERT_TRUE(SetMenu(h, nullptr));
    EXPECT_EQ(Client(h).bottom, before.bottom);
    HWND child = Make(WS_CHILD, 0, 0, 10, 10, h);
    SetLastError(0);
    EXPECT_FALSE(SetMenu(child, menu));
    EXPECT_EQ(GetLastError(), ERROR_CHILD_WINDOW_MENU);
    DestroyWindow(h);
    user::SetMenuBarHooks(saved);
}

TEST_F(WinPosTest, MappingAndWindowsFromPoints)
{
    HWND p = Make(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND a = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, p);
    HWND hidden = Make(WS_CHILD, 100, 10, 50, 50, p);
    HWND disabled = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 200, 10, 50, 50, p);
    POINT pt{5, 6};
    ClientToScreen(a, &pt);
    EXPECT_EQ(pt.x, 115);
    EXPECT_EQ(pt.y, 116);
    ScreenToClient(p, &pt);
    EXPECT_EQ(pt.x, 15);
    RECT rc{0, 0, 1, 1};
    const int off = MapWindowPoints(a, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    EXPECT_EQ(LOWORD(off), 110);
    EXPECT_EQ(rc.right, 111);
    EXPECT_EQ(WindowFromPoint(POINT{120, 120}), a);
    EXPECT_EQ(WindowFromPoint(POINT{220, 120}), p); // hidden child: the parent
    EXPECT_EQ(WindowFromPoint(POINT{320, 120}), p); // disabled child: the parent
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
    EXPECT_EQ(ChildWindowFromPoint(p, POINT{110, 20}), hidden);
    EXPECT_EQ(ChildWindowFromPointEx(p, POINT{110, 20}, CWP_SKIPINVISIBLE), p);
    EXPECT_EQ(ChildWindowFromPointEx(p, POINT{210, 20}, CWP_ALL), disabled);
    EXPECT_EQ(ChildWindowFromPointEx(p, POINT{210, 20}, CWP_SKIPDISABLED), p);
    EXPECT_EQ(ChildWindowFromPointEx(p, POINT{-5, 20}, CWP_ALL), nullptr);
    // HTTRANSPARENT lets the point through to the windows beneath in the thread: the lower
    // siblings first, then the parent. A group box framing a button (the box first, so
    // above it) and a transparent label with nothing beneath it.
    HWND under = Make(WS_POPUP | WS_VISIBLE, 500, 500, 50, 50);
    HWND over = Make(WS_POPUP | WS_VISIBLE, 500, 500, 50, 50);
    HWND form = Make(WS_POPUP | WS_VISIBLE, 600, 100, 200, 200);
    HWND box = Make(WS_CHILD | WS_VISIBLE, 10, 10, 150, 150, form);
    HWND framed = Make(WS_CHILD | WS_VISIBLE, 20, 20, 50, 30, form);
    HWND label = Make(WS_CHILD | WS_VISIBLE, 170, 10, 20, 20, form);
    rec().SetHandler([=](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if ((h == over || h == box || h == label) && m == WM_NCHITTEST) {
            r = HTTRANSPARENT;
            return true;
        }
        return false;
    });
    const struct {
        const char* what;
        POINT pt;
        HWND expected;
    } rows[] = {
        {"a top-level window over another", {510, 510}, under},
        {"a group box over the button it frames", {630, 130}, framed},
        {"a group box over nothing but its parent", {700, 200}, form},
        {"a label over nothing but its parent", {775, 115}, form},
    };
    for (const auto& r : rows)
        EXPECT_EQ(WindowFromPoint(r.pt), r.expected) << r.what;
    DestroyWindow(p);
    DestroyWindow(under);
    DestroyWindow(over);
    DestroyWindow(form);
}

TEST_F(WinPosTest, TheOneMonitor)
{
    HMONITOR m = MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
    ASSERT_TRUE(m);
    EXPECT_EQ(MonitorFromPoint(POINT{-10, 10}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT{-10, 10}, MONITOR_DEFAULTTONEAREST), m);
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(GetMonitorInfoW(m, &mi));
    EXPECT_EQ(mi.rcMonitor.right, 1280);
    EXPECT_EQ(mi.rcMonitor.bottom, 1024);
    EXPECT_EQ(mi.dwFlags, MONITORINFOF_PRIMARY);
    EXPECT_STREQ(mi.szDevice, L"\\\\.\\DISPLAY1");
    HWND h = Make(WS_POPUP, 10, 10, 10, 10);
    EXPECT_EQ(MonitorFromWindow(h, MONITOR_DEFAULTTONULL), m);
    DestroyWindow(h);
    mi.cbSize = 5;
    EXPECT_FALSE(GetMonitorInfoW(m, &mi));
    EXPECT_FALSE(GetMonitorInfoW(reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(0x12345678)), &mi));
}

// Walking siblings with GW_HWNDNEXT / GW_HWNDPREV after moves that shift the others by one,
// by more, and after a sibling is destroyed, against the order worked by hand.
TEST_F(WinPosTest, SiblingWalksFollowEveryZOrderChange)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
    std::vector<HWND> w;
    for (int i = 0; i < 6; ++i)
        w.push_back(Make(WS_CHILD | WS_VISIBLE, i * 10, 0, 10, 10, p));
    // Each sent to the bottom in turn: a b c d e f from the top.
    for (HWND h : w)
        SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto order = [&] {
        std::string s;
        for (HWND h = GetWindow(p, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            s += static_cast<char>('a' + (std::find(w.begin(), w.end(), h) - w.begin()));
        std::string back;
        for (HWND h = s.empty() ? nullptr : GetWindow(GetWindow(p, GW_CHILD), GW_HWNDLAST); h;
             h = GetWindow(h, GW_HWNDPREV))
            back.insert(back.begin(), static_cast<char>('a' + (std::find(w.begin(), w.end(), h) - w.begin())));
        return s == back ? s : s + " but backwards " + back;
    };
    ASSERT_EQ(order(), "abcdef");
    struct Step {
        int window;
        int after; // -1 top, -2 bottom, -3 destroy, else the index of the window to follow
        const char* expected;
    };
    const Step steps[] = {
        {4, -1, "eabcdf"}, // the ones above shift down by one
        {1, -2, "eacdfb"}, // the ones below shift up by one
        {0, 3, "ecdafb"},  // a jump of two
        {5, -1, "fecdab"},
        {2, -3, "fedab"},  // destroyed: the rest close up
        {1, -1, "bfeda"},
    };
    for (const Step& st : steps) {
        HWND h = w[static_cast<size_t>(st.window)];
        if (st.after == -3)
            DestroyWindow(h);
        else
            SetWindowPos(h, st.after == -1 ? HWND_TOP : st.after == -2 ? HWND_BOTTOM : w[static_cast<size_t>(st.after)],
                0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        EXPECT_EQ(order(), st.expected) << "after moving " << static_cast<char>('a' + st.window);
    }
    DestroyWindow(p);
}

} // namespace
} // namespace zyn::test
