// Input: hit testing, routing of injected mouse input (capture included), double clicks,
// keys and characters, and the hooks that see input as it is taken.
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using InputTest = UserTest;

LRESULT HitAt(HWND h, int x, int y) { return SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y))); }

TEST_F(InputTest, EveryHitTestCodeOfTheDefaultFrame)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 100, 100, 300, 200);
    RECT w;
    GetWindowRect(h, &w);
    const int f = GetSystemMetrics(SM_CXFRAME), cap = GetSystemMetrics(SM_CYCAPTION);
    const int capY = w.top + f + cap / 2;
    EXPECT_EQ(HitAt(h, w.left + 150, capY), HTCAPTION);
    EXPECT_EQ(HitAt(h, w.right - f - 4, capY), HTCLOSE);
    EXPECT_EQ(HitAt(h, w.right - f - 2 - 16 - 2 - 4, capY), HTMAXBUTTON);
    EXPECT_EQ(HitAt(h, w.right - f - 2 - 16 - 2 - 16 - 4, capY), HTMINBUTTON);
    EXPECT_EQ(HitAt(h, w.left + f + 4, capY), HTSYSMENU);
    EXPECT_EQ(HitAt(h, w.left + 1, w.top + 100), HTLEFT);
    EXPECT_EQ(HitAt(h, w.right - 1, w.top + 100), HTRIGHT);
    EXPECT_EQ(HitAt(h, w.left + 150, w.top + 1), HTTOP);
    EXPECT_EQ(HitAt(h, w.left + 150, w.bottom - 1), HTBOTTOM);
    EXPECT_EQ(HitAt(h, w.left + 1, w.top + 1), HTTOPLEFT);
    EXPECT_EQ(HitAt(h, w.right - 1, w.top + 1), HTTOPRIGHT);
    EXPECT_EQ(HitAt(h, w.left + 1, w.bottom - 1), HTBOTTOMLEFT);
    EXPECT_EQ(HitAt(h, w.right - 1, w.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(h, w.left + 150, w.top + 100), HTCLIENT);
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(HitAt(h, w.right - f - sb / 2, w.top + 100), HTVSCROLL);
    EXPECT_EQ(HitAt(h, w.left + 150, w.bottom - f - sb / 2), HTHSCROLL);
    EXPECT_EQ(HitAt(h, w.right - f - sb / 2, w.bottom - f - sb / 2), HTBOTTOMRIGHT); // the size box of a sizing frame
    EXPECT_EQ(HitAt(h, w.left - 5, w.top), HTNOWHERE);
    // A maximised window has no sizing border; a thin border is HTBORDER.
    HWND b = Make(WS_POPUP | WS_BORDER | WS_VISIBLE, 500, 500, 50, 50);
    EXPECT_EQ(HitAt(b, 500, 520), HTBORDER);
    HWND help = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 600, 600, 200, 100, nullptr, WS_EX_CONTEXTHELP);
    RECT hw;
    GetWindowRect(help, &hw);
    const int df = GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(HitAt(help, hw.right - df - 2 - 16 - 2 - 4, hw.top + df + cap / 2), HTHELP);
    DestroyWindow(h);
    DestroyWindow(b);
    DestroyWindow(help);
}

TEST_F(InputTest, ClickRoutesToTheWindowUnderTheCursorWithActivationAndCursor)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND c = Make(WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, p);
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 100, 100);
    EXPECT_EQ(GetActiveWindow(), other);
    Pump();
    rec().Clear();
    POINT pt{20, 30};
    ClientToScreen(c, &pt);
    user::InjectClick(pt.x, pt.y);
    Pump();
    // The child hears WM_MOUSEACTIVATE (and passes it up), the frame is activated, the
    // cursor is set, then the button messages arrive in client coordinates.
    const auto seq = rec().For(c, {WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_SETCURSOR, WM_LBUTTONUP}));
    EXPECT_EQ(rec().For(p, {WM_MOUSEACTIVATE}).size(), 1u);
    EXPECT_EQ(GetActiveWindow(), p);
    for (auto& r : rec().Log())
        if (r.hwnd == c && r.msg == WM_LBUTTONDOWN) {
            EXPECT_EQ(GET_X_LPARAM(r.lp), 20);
            EXPECT_EQ(GET_Y_LPARAM(r.lp), 30);
            EXPECT_EQ(r.wp & MK_LBUTTON, MK_LBUTTON);
        }
    MSG m{};
    EXPECT_EQ(static_cast<SHORT>(LOWORD(GetMessagePos())), pt.x);
    (void)m;
    // A click on the caption arrives as a non-client message in screen coordinates.
    rec().Clear();
    RECT w;
    GetWindowRect(p, &w);
    user::InjectClick(w.left + 100, w.top + 10);
    Pump();
    bool nc = false;
    for (auto& r : rec().Log())
        if (r.hwnd == p && r.msg == WM_NCLBUTTONDOWN) {
            nc = true;
            EXPECT_EQ(r.wp, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(GET_X_LPARAM(r.lp), w.left + 100);
        }
    EXPECT_TRUE(nc);
    DestroyWindow(p);
    DestroyWindow(other);
}

TEST_F(InputTest, MouseActivateAnswersDecideActivationAndDelivery)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 200);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 100, 200, 200);
    EXPECT_EQ(GetActiveWindow(), b);
    static LRESULT answer = MA_NOACTIVATEANDEAT;
    rec().SetHandler([a](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == a && m == WM_MOUSEACTIVATE) {
            r = answer;
            return true;
        }
        return false;
    });
    POINT pt{50, 50};
    ClientToScreen(a, &pt);
    Pump();
    rec().Clear();
    user::InjectMouseMove(pt.x, pt.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_TRUE(rec().For(a, {WM_LBUTTONDOWN}).empty());
    user::InjectMouseButton(user::MouseButton::Left, false);
    answer = MA_NOACTIVATE;
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(rec().For(a, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}).size(), 1u);
    user::InjectMouseButton(user::MouseButton::Left, false);
    answer = MA_ACTIVATEANDEAT;
    rec().Clear();
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_TRUE(rec().For(a, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}).empty());
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(InputTest, CaptureRoutesTheMouseAndReportsChanges)
{
    HWND a = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND b = Make(WS_POPUP | WS_VISIBLE, 400, 100, 100, 100);
    Pump();
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(GetCapture(), a);
    rec().Clear();
    user::InjectMouseMove(450, 150); // over b
    user::InjectMouseButton(user::MouseButton::Left, true);
    Pump();
    EXPECT_TRUE(rec().For(b, {WM_MOUSEMOVE, WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(rec().For(a, {WM_MOUSEMOVE, WM_LBUTTONDOWN}), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN}));
    for (auto& r : rec().Log()) {
        if (r.hwnd == a && r.msg == WM_MOUSEMOVE) {
            EXPECT_EQ(GET_X_LPARAM(r.lp), 350); // client coordinates, outside the window
        }
    }
    // No WM_SETCURSOR or activation under capture.
    EXPECT_TRUE(rec().For(a, {WM_SETCURSOR, WM_MOUSEACTIVATE}).empty());
    rec().Clear();
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_EQ(rec().For(a, {WM_CAPTURECHANGED}).size(), 1u);
    ASSERT_TRUE(ReleaseCapture());
    EXPECT_EQ(rec().For(b, {WM_CAPTURECHANGED}).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    // WM_CANCELMODE's default releases the capture.
    SetCapture(a);
    SendMessageW(a, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    // Destroying the capture window releases it.
    SetCapture(b);
    DestroyWindow(b);
    EXPECT_EQ(GetCapture(), nullptr);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    DestroyWindow(a);
}

TEST_F(InputTest, DoubleClicksByTimeDistanceAndClassStyle)
{
    zyn::base::Clock::UseVirtual(1000);
    HWND h = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100); // the Rec class has CS_DBLCLKS
    Pump();
    auto downs = [&]() { return rec().For(h, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}); };
    rec().Clear();
    user::InjectClick(150, 150);
    zyn::base::Clock::Advance(100);
    user::InjectClick(151, 151);
    Pump();
    EXPECT_EQ(downs(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    // Too slow.
    rec().Clear();
    zyn::base::Clock::Advance(1000);
    user::InjectClick(150, 150);
    zyn::base::Clock::Advance(GetDoubleClickTime() + 1);
    user::InjectClick(150, 150);
    Pump();
    EXPECT_EQ(downs(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    // Too far.
    rec().Clear();
    zyn::base::Clock::Advance(1000);
    user::InjectClick(150, 150);
    user::InjectClick(150 + GetSystemMetrics(SM_CXDOUBLECLK), 150);
    Pump();
    EXPECT_EQ(downs(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    // A third quick click starts over.
    rec().Clear();
    zyn::base::Clock::Advance(1000);
    user::InjectClick(150, 150);
    user::InjectClick(150, 150);
    user::InjectClick(150, 150);
    Pump();
    EXPECT_EQ(downs(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
    // A class without CS_DBLCLKS gets two downs.
    HWND s = CreateWindowExW(0, kSolidClass, L"", WS_POPUP | WS_VISIBLE, 300, 100, 50, 50, nullptr, nullptr, nullptr, nullptr);
    Pump();
    rec().Clear();
    zyn::base::Clock::Advance(1000);
    user::InjectClick(310, 110);
    user::InjectClick(310, 110);
    Pump();
    EXPECT_EQ(rec().For(s, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    DestroyWindow(h);
    DestroyWindow(s);
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndTranslateToCharacters)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND c = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, p);
    SetFocus(c);
    Pump();
    rec().Clear();
    user::InjectKey(VK_SHIFT, true);
    user::InjectKeyPress('A');
    user::InjectKey(VK_SHIFT, false);
    user::InjectKeyPress('B');
    user::InjectKeyPress(VK_RETURN);
    user::InjectChar(L'\U0001F600');
    Pump();
    std::wstring typed;
    for (auto& r : rec().Log())
        if (r.hwnd == c && r.msg == WM_CHAR)
            typed.push_back(static_cast<wchar_t>(r.wp));
    EXPECT_EQ(typed, std::wstring(L"Ab\r") + L'\U0001F600');
    EXPECT_EQ(rec().For(c, {WM_KEYDOWN}).size(), 4u);
    EXPECT_TRUE(rec().For(p, {WM_KEYDOWN}).empty());
    // The thread's key state follows the messages taken.
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    user::InjectKey(VK_CONTROL, true);
    EXPECT_TRUE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
    Pump();
    EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
    rec().Clear();
    user::InjectKeyPress('C');
    user::InjectKey(VK_CONTROL, false);
    Pump();
    for (auto& r : rec().Log()) {
        if (r.msg == WM_CHAR) {
            EXPECT_EQ(r.wp, 3u); // Ctrl+C
        }
    }
    // Alt+letter is a system key; WM_SYSCHAR follows.
    rec().Clear();
    user::InjectKey(VK_MENU, true);
    user::InjectKeyPress('F');
    user::InjectKey(VK_MENU, false);
    Pump();
    EXPECT_EQ(rec().For(c, {WM_SYSKEYDOWN, WM_SYSCHAR}).size(), 3u);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    BYTE ks[256] = {};
    ks[VK_CAPITAL] = 1;
    SetKeyboardState(ks);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    wchar_t out[4];
    EXPECT_EQ(ToUnicode('Q', 0, ks, out, 4, 0), 1);
    EXPECT_EQ(out[0], L'Q');
    EXPECT_EQ(VkKeyScanW(L'?'), static_cast<SHORT>(VK_OEM_2 | 0x100));
    EXPECT_EQ(MapVirtualKeyW('A', MAPVK_VK_TO_VSC), 0x1Eu);
    DestroyWindow(p);
}

TEST_F(InputTest, WithoutFocusKeysGoToTheActiveWindowAsSystemKeys)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    SetFocus(nullptr);
    Pump();
    rec().Clear();
    user::InjectKeyPress('X');
    Pump();
    EXPECT_EQ(rec().For(h, {WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYDOWN}), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP}));
    DestroyWindow(h);
}

TEST_F(InputTest, MouseAndKeyboardHooksSeeInputWhenTakenAndCanEatIt)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    SetFocus(h);
    Pump();
    static std::vector<std::pair<int, UINT>> mouseCalls;
    static std::vector<WPARAM> keyCalls;
    static bool eat = true;
    mouseCalls.clear();
    keyCalls.clear();
    HHOOK mh = SetWindowsHookExW(WH_MOUSE, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        mouseCalls.emplace_back(code, static_cast<UINT>(wp));
        if (eat && wp == WM_LBUTTONDOWN)
            return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    HHOOK kh = SetWindowsHookExW(WH_KEYBOARD, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        keyCalls.push_back(wp);
        if (eat && wp == 'Z')
            return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, 0);
    rec().Clear();
    POINT pt{50, 50};
    ClientToScreen(h, &pt);
    user::InjectClick(pt.x, pt.y);
    user::InjectKeyPress('Z');
    user::InjectKeyPress('Y');
    // Injecting does not call the hooks: taking the messages does.
    EXPECT_TRUE(mouseCalls.empty());
    EXPECT_TRUE(keyCalls.empty());
    MSG m;
    // Peeking without removing calls them with HC_NOREMOVE.
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
    ASSERT_FALSE(mouseCalls.empty());
    EXPECT_EQ(mouseCalls.back().first, HC_NOREMOVE);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(rec().For(h, {WM_LBUTTONUP}).size(), 1u);
    EXPECT_EQ(rec().For(h, {WM_KEYDOWN}).size(), 1u); // Y only
    bool sawAction = false;
    for (auto& c : mouseCalls)
        sawAction = sawAction || (c.first == HC_ACTION && c.second == WM_LBUTTONDOWN);
    EXPECT_TRUE(sawAction);
    EXPECT_EQ(std::count(keyCalls.begin(), keyCalls.end(), static_cast<WPARAM>('Z')), 2); // down and up
    UnhookWindowsHookEx(mh);
    UnhookWindowsHookEx(kh);
    DestroyWindow(h);
}

TEST_F(InputTest, GetMessageAndCallWndProcHooksAndChaining)
{
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    static std::vector<std::string> calls;
    calls.clear();
    HHOOK first = SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
        if (cwp->message == WM_USER + 9)
            calls.push_back("first");
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    static HHOOK second = nullptr;
    second = SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
        if (cwp->message == WM_USER + 9) {
            calls.push_back("second");
            // Sending from inside the hook does not re-enter the chain.
            SendMessageW(cwp->hwnd, WM_USER + 9, 1, 0);
        }
        return CallNextHookEx(second, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    HHOOK gm = SetWindowsHookExW(WH_GETMESSAGE, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        auto* m = reinterpret_cast<MSG*>(lp);
        if (m->message == WM_USER + 10 && wp == PM_REMOVE)
            m->wParam = 42; // a WH_GETMESSAGE hook may change the message
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    rec().Clear();
    SendMessageW(h, WM_USER + 9, 0, 0);
    // Newest first, each once; the procedure ran twice (the nested send too).
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"}));
    EXPECT_EQ(rec().For(h, {WM_USER + 9}).size(), 2u);
    // Posted messages do not go through WH_CALLWNDPROC.
    calls.clear();
    PostMessageW(h, WM_USER + 9, 0, 0);
    Pump();
    EXPECT_TRUE(calls.empty());
    PostMessageW(h, WM_USER + 10, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, h, WM_USER + 10, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(m.wParam, 42u);
    UnhookWindowsHookEx(first);
    UnhookWindowsHookEx(second);
    UnhookWindowsHookEx(gm);
    DestroyWindow(h);
    // Bad hook requests.
    SetLastError(0);
    EXPECT_EQ(SetWindowsHookExW(99, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_FILTER);
    SetLastError(0);
    EXPECT_EQ(SetWindowsHookExW(WH_CBT, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FILTER_PROC);
}

TEST_F(InputTest, CursorPositionAndClipping)
{
    user::InjectMouseMove(5000, -20);
    POINT pt;
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 1279);
    EXPECT_EQ(pt.y, 0);
    RECT clip{100, 100, 200, 200};
    ClipCursor(&clip);
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 199);
    EXPECT_EQ(pt.y, 100);
    SetCursorPos(10, 10);
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 100);
    RECT got;
    GetClipCursor(&got);
    EXPECT_EQ(got.right, 200);
    ClipCursor(nullptr);
    SetCursorPos(10, 10);
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 10);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    Pump();
}

TEST_F(InputTest, TrackMouseEventPostsLeaveAndHover)
{
    zyn::base::Clock::UseVirtual(5000);
    HWND h = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    user::InjectMouseMove(150, 150);
    Pump();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_HOVER, h, 100};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    rec().Clear();
    zyn::base::Clock::Advance(150);
    Pump();
    EXPECT_EQ(rec().For(h, {WM_MOUSEHOVER}).size(), 1u);
    rec().Clear();
    user::InjectMouseMove(500, 500);
    Pump();
    EXPECT_EQ(rec().For(h, {WM_MOUSELEAVE}).size(), 1u);
    tme.dwFlags = TME_QUERY;
    TrackMouseEvent(&tme);
    EXPECT_EQ(tme.hwndTrack, nullptr);
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
