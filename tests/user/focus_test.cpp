// Focus and activation: the order of the messages, where focus and activation go when
// windows are hidden, destroyed or disabled, and the CBT hook's say.
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using FocusTest = UserTest;

TEST_F(FocusTest, ActivationOrderBetweenTwoWindows)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW, 200, 0, 100, 100);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
    EXPECT_EQ(GetForegroundWindow(), a);
    rec().Clear();
    EXPECT_EQ(SetActiveWindow(b), a);
    const std::vector<UINT> watched{WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_ACTIVATEAPP};
    std::vector<std::pair<HWND, UINT>> got;
    for (auto& r : rec().Log())
        if (std::find(watched.begin(), watched.end(), r.msg) != watched.end())
            got.emplace_back(r.hwnd, r.msg);
    const std::vector<std::pair<HWND, UINT>> expected{
        {a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {b, WM_NCACTIVATE}, {b, WM_ACTIVATE}, {a, WM_KILLFOCUS}, {b, WM_SETFOCUS}};
    EXPECT_EQ(got, expected);
    for (auto& r : rec().Log()) {
        if (r.hwnd == a && r.msg == WM_ACTIVATE) {
            EXPECT_EQ(LOWORD(r.wp), WA_INACTIVE);
            EXPECT_EQ(reinterpret_cast<HWND>(r.lp), b);
        }
        if (r.hwnd == b && r.msg == WM_ACTIVATE) {
            EXPECT_EQ(LOWORD(r.wp), WA_ACTIVE);
            EXPECT_EQ(reinterpret_cast<HWND>(r.lp), a);
        }
        if (r.msg == WM_NCACTIVATE) {
            EXPECT_EQ(r.wp, r.hwnd == b ? 1u : 0u);
        }
    }
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(GetFocus(), b);
    // Activation brings the window to the top.
    EXPECT_EQ(GetTopWindow(nullptr), b);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(FocusTest, FirstActivationTellsTheApplication)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    rec().Clear();
    ShowWindow(a, SW_SHOW);
    // Every top-level window of the thread hears WM_ACTIVATEAPP before the activation.
    EXPECT_EQ(rec().For(b, {WM_ACTIVATEAPP}).size(), 1u);
    const auto seq = rec().For(a, {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}));
    rec().Clear();
    SetActiveWindow(b);
    EXPECT_TRUE(rec().All({WM_ACTIVATEAPP}).empty()); // same application
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(FocusTest, SetFocusOrderAndActivatesTheTopLevelWindow)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 0, 100, 100);
    HWND ac = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
    HWND ac2 = Make(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, a);
    EXPECT_EQ(GetActiveWindow(), b);
    rec().Clear();
    EXPECT_EQ(SetFocus(ac), a); // activation focused the frame first
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), ac);
    rec().Clear();
    EXPECT_EQ(SetFocus(ac2), ac);
    EXPECT_EQ(rec().All({WM_KILLFOCUS, WM_SETFOCUS}), (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
    EXPECT_EQ(rec().Log().front().hwnd, ac);
    for (auto& r : rec().Log()) {
        if (r.msg == WM_KILLFOCUS) {
            EXPECT_EQ(reinterpret_cast<HWND>(r.wp), ac2);
        }
        if (r.msg == WM_SETFOCUS) {
            EXPECT_EQ(reinterpret_cast<HWND>(r.wp), ac);
        }
    }
    // Focus on the window that has it: no messages.
    rec().Clear();
    SetFocus(ac2);
    EXPECT_TRUE(rec().Log().empty());
    // Hiding the focused child moves focus to its parent.
    ShowWindow(ac2, SW_HIDE);
    EXPECT_EQ(GetFocus(), a);
    // Disabling the focused window takes the focus away, after WM_CANCELMODE.
    SetFocus(ac);
    rec().Clear();
    EXPECT_FALSE(EnableWindow(ac, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(rec().For(ac, {WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}),
        (std::vector<UINT>{WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}));
    EXPECT_TRUE(EnableWindow(ac, TRUE));
    EXPECT_TRUE(IsWindowEnabled(ac));
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(FocusTest, DestroyingTheActiveWindowActivatesItsOwner)
{
    HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 100, 100);
    HWND popup = Make(WS_POPUP | WS_VISIBLE | WS_CAPTION, 10, 10, 100, 100, owner);
    EXPECT_EQ(GetActiveWindow(), popup);
    DestroyWindow(popup);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
    // Hiding the active window activates the next one.
    ShowWindow(owner, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), other);
    DestroyWindow(other);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    DestroyWindow(owner);
}

TEST_F(FocusTest, CbtHookSeesActivationFocusAndMinMax)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 0, 100, 100);
    static std::vector<int> codes;
    static bool refuse = false;
    codes.clear();
    HHOOK hk = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        codes.push_back(code);
        if (refuse && (code == HCBT_ACTIVATE || code == HCBT_SETFOCUS || code == HCBT_MINMAX))
            return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    SetActiveWindow(a);
    EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_ACTIVATE), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_SETFOCUS), codes.end());
    ShowWindow(a, SW_MINIMIZE);
    EXPECT_NE(std::find(codes.begin(), codes.end(), HCBT_MINMAX), codes.end());
    ShowWindow(a, SW_RESTORE);
    refuse = true;
    EXPECT_EQ(SetActiveWindow(b), nullptr);
    EXPECT_EQ(GetActiveWindow(), a);
    ShowWindow(a, SW_MAXIMIZE);
    EXPECT_FALSE(IsZoomed(a));
    HWND c = Make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, a);
    EXPECT_EQ(SetFocus(c), nullptr);
    EXPECT_NE(GetFocus(), c);
    refuse = false;
    UnhookWindowsHookEx(hk);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(FocusTest, NcActivateRefusalKeepsTheActiveWindow)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 0, 100, 100);
    SetActiveWindow(a);
    rec().SetHandler([a](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (h == a && m == WM_NCACTIVATE && !wp) {
            r = FALSE;
            return true;
        }
        return false;
    });
    SetActiveWindow(b);
    EXPECT_EQ(GetActiveWindow(), a);
    rec().SetHandler(nullptr);
    SetActiveWindow(b);
    EXPECT_EQ(GetActiveWindow(), b);
    DestroyWindow(a);
    DestroyWindow(b);
}

} // namespace
} // namespace zyn::test
