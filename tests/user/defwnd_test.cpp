// DefWindowProc's behaviour that users see: caption buttons, moving and sizing with the
// mouse, system keys, cursors, context menus and the wheel, and the thread's current
// message.
#include "platform/gdi/icon.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

class DefWndTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        user::SetScriptedMode(true);
    }
};

POINT CaptionPoint(HWND h, int fromRight)
{
    RECT w;
    GetWindowRect(h, &w);
    const int f = GetSystemMetrics(SM_CXFRAME);
    return POINT{fromRight ? w.right - f - fromRight : w.left + 100, w.top + f + GetSystemMetrics(SM_CYCAPTION) / 2};
}

TEST_F(DefWndTest, SystemRestoreOfAMinimisedWindowAsksWmQueryOpenFirst)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    ShowWindow(h, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(h));
    static bool refuse = true;
    refuse = true;
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_QUERYOPEN && refuse) {
            r = FALSE;
            return true;
        }
        return false;
    });
    rec().Clear();
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsIconic(h)); // the icon said no
    EXPECT_EQ(rec().For(h, {WM_QUERYOPEN}).size(), 1u);
    refuse = false;
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(h));
    // A window that is not minimised is not asked.
    rec().Clear();
    ShowWindow(h, SW_MAXIMIZE);
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_TRUE(rec().For(h, {WM_QUERYOPEN}).empty());
    DestroyWindow(h);
}

TEST_F(DefWndTest, CloseButtonClosesAndCaptionDoubleClickMaximises)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    Pump();
    // Pressing and releasing off the button does nothing.
    const POINT close = CaptionPoint(h, 8);
    user::InjectMouseMove(close.x, close.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(close.x - 150, close.y);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    EXPECT_TRUE(IsWindow(h));
    // Double click on the caption maximises, again restores.
    const POINT cap = CaptionPoint(h, 0);
    user::InjectClick(cap.x, cap.y);
    user::InjectClick(cap.x, cap.y);
    Pump();
    EXPECT_TRUE(IsZoomed(h));
    const POINT cap2 = CaptionPoint(h, 0);
    zyn::base::Clock::UseVirtual(100000);
    user::InjectClick(cap2.x, cap2.y);
    user::InjectClick(cap2.x, cap2.y);
    Pump();
    EXPECT_FALSE(IsZoomed(h));
    // A click on the close button: WM_SYSCOMMAND SC_CLOSE, WM_CLOSE, destroyed.
    rec().Clear();
    const POINT close2 = CaptionPoint(h, 8);
    zyn::base::Clock::Advance(10000);
    user::InjectClick(close2.x, close2.y);
    Pump();
    EXPECT_FALSE(IsWindow(h));
    const auto seq = rec().All({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

TEST_F(DefWndTest, DraggingTheCaptionMovesAndTheBorderSizes)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    Pump();
    rec().Clear();
    const POINT cap = CaptionPoint(h, 0);
    user::InjectMouseMove(cap.x, cap.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(cap.x + 40, cap.y + 30);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    RECT w;
    GetWindowRect(h, &w);
    EXPECT_EQ(w.left, 140);
    EXPECT_EQ(w.top, 130);
    const auto seq = rec().For(h, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE});
    ASSERT_GE(seq.size(), 3u);
    EXPECT_EQ(seq.front(), WM_ENTERSIZEMOVE);
    EXPECT_EQ(seq.back(), WM_EXITSIZEMOVE);
    EXPECT_EQ(user::MoveSizeWindow(), nullptr);
    // The bottom-right corner sizes.
    rec().Clear();
    user::InjectMouseMove(w.right - 1, w.bottom - 1);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(w.right + 49, w.bottom + 19);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    RECT w2;
    GetWindowRect(h, &w2);
    EXPECT_EQ(w2.right - w2.left, 350);
    EXPECT_EQ(w2.bottom - w2.top, 220);
    EXPECT_FALSE(rec().For(h, {WM_SIZING}).empty());
    // Escape during a move puts the window back.
    GetWindowRect(h, &w);
    const POINT cap2 = CaptionPoint(h, 0);
    user::InjectMouseMove(cap2.x, cap2.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(cap2.x + 100, cap2.y);
    user::InjectKeyPress(VK_ESCAPE);
    Pump();
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    GetWindowRect(h, &w2);
    EXPECT_EQ(w2.left, w.left);
    DestroyWindow(h);
}

TEST_F(DefWndTest, SystemKeysReachTheMenuHookAndAltF4Closes)
{
    static std::vector<std::pair<WPARAM, LPARAM>> tracked;
    tracked.clear();
    const user::MenuBarHooks saved = user::GetMenuBarHooks(); // the menu layer's, put back below
    user::MenuBarHooks hooks;
    hooks.track = [](HWND, WPARAM cmd, LPARAM lp) { tracked.emplace_back(cmd & 0xFFF0, lp); };
    user::SetMenuBarHooks(hooks);
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND c = Make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, h);
    SetFocus(c);
    user::InjectKeyPress(VK_MENU);
    Pump();
    user::InjectKey(VK_MENU, true);
    user::InjectKeyPress('F');
    user::InjectKey(VK_MENU, false);
    Pump();
    user::InjectKeyPress(VK_F10);
    Pump();
    ASSERT_EQ(tracked.size(), 3u);
    EXPECT_EQ(tracked[0], (std::pair<WPARAM, LPARAM>{SC_KEYMENU, 0}));
    EXPECT_EQ(tracked[1], (std::pair<WPARAM, LPARAM>{SC_KEYMENU, L'f'}));
    EXPECT_EQ(tracked[2], (std::pair<WPARAM, LPARAM>{SC_KEYMENU, 0}));
    // Clicking the system-menu icon asks for the mouse menu.
    tracked.clear();
    RECT w;
    GetWindowRect(h, &w);
    const int f = GetSystemMetrics(SM_CXFRAME);
    zyn::base::Clock::UseVirtual(1000);
    user::InjectClick(w.left + f + 5, w.top + f + 5);
    Pump();
    ASSERT_EQ(tracked.size(), 1u);
    EXPECT_EQ(tracked[0].first, SC_MOUSEMENU);
    user::SetMenuBarHooks(saved);
    user::InjectKey(VK_MENU, true);
    user::InjectKeyPress(VK_F4);
    user::InjectKey(VK_MENU, false);
    Pump();
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(DefWndTest, CursorContextMenuAndWheelGoThroughParents)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordProc;
    wc.lpszClassName = L"WithCursor";
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    ASSERT_TRUE(RegisterClassExW(&wc));
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND c = CreateWindowExW(0, L"WithCursor", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, p, nullptr, nullptr, nullptr);
    SetFocus(c);
    Pump();
    POINT pt{20, 20};
    ClientToScreen(c, &pt);
    user::InjectMouseMove(pt.x, pt.y);
    Pump();
    EXPECT_EQ(GetCursor(), wc.hCursor);
    // Over the sizing border the frame's cursor.
    RECT w;
    GetWindowRect(p, &w);
    user::InjectMouseMove(w.left + 1, w.top + 100);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    // WM_SETCURSOR asks the parent first; the parent can take over.
    rec().SetHandler([p](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == p && m == WM_SETCURSOR) {
            r = TRUE;
            return true;
        }
        return false;
    });
    SetCursor(nullptr);
    user::InjectMouseMove(pt.x + 1, pt.y);
    Pump();
    EXPECT_EQ(GetCursor(), nullptr);
    rec().SetHandler(nullptr);
    // A right click makes WM_CONTEXTMENU, which climbs to the parent.
    rec().Clear();
    user::InjectClick(pt.x, pt.y, user::MouseButton::Right);
    Pump();
    EXPECT_EQ(rec().For(c, {WM_CONTEXTMENU}).size(), 1u);
    EXPECT_EQ(rec().For(p, {WM_CONTEXTMENU}).size(), 1u);
    for (auto& r : rec().Log()) {
        if (r.msg == WM_CONTEXTMENU) {
            EXPECT_EQ(reinterpret_cast<HWND>(r.wp), c);
            EXPECT_EQ(GET_X_LPARAM(r.lp), pt.x);
        }
    }
    // The wheel goes to the focus window, then up.
    rec().Clear();
    user::InjectMouseWheel(-WHEEL_DELTA);
    Pump();
    ASSERT_EQ(rec().For(c, {WM_MOUSEWHEEL}).size(), 1u);
    EXPECT_EQ(rec().For(p, {WM_MOUSEWHEEL}).size(), 1u);
    for (auto& r : rec().Log()) {
        if (r.msg == WM_MOUSEWHEEL) {
            EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(r.wp), -WHEEL_DELTA);
        }
    }
    DestroyWindow(p);
    UnregisterClassW(L"WithCursor", nullptr);
}

TEST_F(DefWndTest, CurrentMessageFollowsNestedProcedures)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    static std::vector<UINT> seen;
    seen.clear();
    rec().SetHandler([](HWND w, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_USER + 1) {
            seen.push_back(user::CurrentMessage().message);
            SendMessageW(w, WM_USER + 2, 0, 0);
            seen.push_back(user::CurrentMessage().message); // restored after the nested send
            r = 0;
            return true;
        }
        if (m == WM_USER + 2) {
            seen.push_back(user::CurrentMessage().message);
            r = 0;
            return true;
        }
        return false;
    });
    SendMessageW(h, WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 1}));
    EXPECT_EQ(user::CurrentMessage().message, 0u);
    // Dispatched messages carry their time and point.
    seen.clear();
    PostMessageW(h, WM_USER + 2, 0, 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 2}));
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
