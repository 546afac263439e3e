// Creation and destruction: message order, the tree, classes and window data.
#include "platform/base/module.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using CreateTest = UserTest;

TEST_F(CreateTest, TopLevelCreationSendsTheMessagesInOrder)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    ASSERT_TRUE(h);
    // Created hidden: WM_SIZE and WM_MOVE wait for the first showing.
    const std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE};
    EXPECT_EQ(rec().For(h), expected);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 310);
    EXPECT_EQ(r.bottom, 220);
    DestroyWindow(h);
}

TEST_F(CreateTest, VisibleWindowShowsAfterCreateAndChildNotifiesItsParent)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    rec().Clear();
    HWND c = Make(WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, p, 0, 7);
    ASSERT_TRUE(c);
    const auto seq = rec().For(c, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED});
    // A child hears WM_SIZE and WM_MOVE right after WM_CREATE, then it is shown.
    const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED};
    EXPECT_EQ(seq, expected);
    // A child has no size limits: no WM_GETMINMAXINFO.
    EXPECT_EQ(IndexOf(rec().For(c), WM_GETMINMAXINFO), -1);
    // The parent hears of the child before the child is shown.
    int notify = -1, show = -1;
    for (size_t i = 0; i < rec().Log().size(); ++i) {
        const Rec& r = rec().Log()[i];
        if (r.hwnd == p && r.msg == WM_PARENTNOTIFY && notify < 0) {
            notify = static_cast<int>(i);
            EXPECT_EQ(LOWORD(r.wp), WM_CREATE);
            EXPECT_EQ(HIWORD(r.wp), 7);
            EXPECT_EQ(reinterpret_cast<HWND>(r.lp), c);
        }
        if (r.hwnd == c && r.msg == WM_SHOWWINDOW && show < 0)
            show = static_cast<int>(i);
    }
    EXPECT_GE(notify, 0);
    EXPECT_LT(notify, show);
    POINT pt{0, 0};
    MapWindowPoints(c, p, &pt, 1);
    EXPECT_EQ(pt.x, 5);
    EXPECT_EQ(pt.y, 6);
    EXPECT_EQ(GetParent(c), p);
    EXPECT_EQ(GetDlgCtrlID(c), 7);
    EXPECT_EQ(GetDlgItem(p, 7), c);
    DestroyWindow(p);
}

TEST_F(CreateTest, CreateRefusedByWmCreateOrNcCreateCleansUp)
{
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_CREATE) {
            r = -1;
            return true;
        }
        return false;
    });
    HWND h = Make(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    EXPECT_EQ(h, nullptr);
    // Refused in WM_CREATE: taken down with WM_NCDESTROY alone.
    auto all = rec().All({WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(all, (std::vector<UINT>{WM_CREATE, WM_NCDESTROY}));
    rec().Clear();
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_NCCREATE) {
            r = FALSE;
            return true;
        }
        return false;
    });
    EXPECT_EQ(Make(WS_POPUP, 0, 0, 100, 100), nullptr);
    all = rec().All({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(all, (std::vector<UINT>{WM_NCCREATE, WM_NCDESTROY}));
}

TEST_F(CreateTest, ChildStyleWithoutParentFails)
{
    SetLastError(0);
    EXPECT_EQ(Make(WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(CreateTest, DestroyOrderIsDestroyDownThenNcDestroyUp)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    HWND c = Make(WS_CHILD, 0, 0, 50, 50, p);
    HWND g = Make(WS_CHILD, 0, 0, 20, 20, c);
    HWND owned = Make(WS_POPUP, 0, 0, 20, 20, p);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), p);
    rec().Clear();
    ASSERT_TRUE(DestroyWindow(p));
    std::vector<std::pair<HWND, UINT>> got;
    for (auto& r : rec().Log())
        if (r.msg == WM_DESTROY || r.msg == WM_NCDESTROY)
            got.emplace_back(r.hwnd, r.msg);
    const std::vector<std::pair<HWND, UINT>> expected{{owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {p, WM_DESTROY},
        {c, WM_DESTROY}, {g, WM_DESTROY}, {g, WM_NCDESTROY}, {c, WM_NCDESTROY}, {p, WM_NCDESTROY}};
    EXPECT_EQ(got, expected);
    for (HWND h : {p, c, g, owned})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(CreateTest, WindowsMadeOrDestroyedDuringDestructionAreHandled)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    HWND c = Make(WS_CHILD, 0, 0, 50, 50, p);
    static HWND late = nullptr;
    rec().SetHandler([p, c](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == p && m == WM_DESTROY) {
            // A child made while the parent goes, and one destroyed by hand.
            late = CreateWindowExW(0, UserTest::kRecClass, L"", WS_CHILD, 0, 0, 5, 5, p, nullptr, nullptr, nullptr);
            DestroyWindow(c);
            EXPECT_TRUE(DestroyWindow(p)); // destroying again while in progress is harmless
            r = 0;
            return true;
        }
        return false;
    });
    ASSERT_TRUE(DestroyWindow(p));
    EXPECT_FALSE(IsWindow(p));
    EXPECT_FALSE(IsWindow(c));
    EXPECT_FALSE(IsWindow(late));
    EXPECT_EQ(rec().For(c, {WM_DESTROY}).size(), 1u);
}

TEST_F(CreateTest, ChildDestroyNotifiesParentFirst)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    HWND c = Make(WS_CHILD, 0, 0, 50, 50, p, 0, 3);
    HWND quiet = Make(WS_CHILD, 0, 0, 50, 50, p, WS_EX_NOPARENTNOTIFY, 4);
    rec().Clear();
    DestroyWindow(c);
    DestroyWindow(quiet);
    const auto& log = rec().Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].hwnd, p);
    EXPECT_EQ(log[0].msg, WM_PARENTNOTIFY);
    EXPECT_EQ(LOWORD(log[0].wp), WM_DESTROY);
    EXPECT_EQ(rec().For(p, {WM_PARENTNOTIFY}).size(), 1u);
    DestroyWindow(p);
}

TEST_F(CreateTest, StaleHandlesFailWithInvalidWindowHandle)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    ASSERT_TRUE(DestroyWindow(h));
    EXPECT_FALSE(IsWindow(h));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(PostMessageW(h, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    RECT r;
    SetLastError(0);
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    // A value that was never a window, and one of another kind.
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345))));
    HBRUSH b = CreateSolidBrush(0);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(b)));
    DeleteObject(b);
    // A new window does not alias the stale handle.
    HWND h2 = Make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(h2, h);
    EXPECT_FALSE(IsWindow(h));
    DestroyWindow(h2);
}

LRESULT OtherProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_USER + 1)
        return 77;
    return DefWindowProcW(h, m, wp, lp);
}

TEST_F(CreateTest, ClassesAreFoundPerModuleWithTheModulesOwnFirst)
{
    // The window system's own "#32768" (popup menus) is put back at the end.
    WNDCLASSEXW original{};
    original.cbSize = sizeof original;
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"#32768", &original));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OtherProc;
    wc.lpszClassName = L"#32768";
    // A system class of that name exists for everyone.
    ASSERT_NE(user::RegisterSystemClass(wc), 0);
    wc.lpfnWndProc = RecordProc;
    wc.lpszClassName = L"rec"; // names compare without case
    SetLastError(0);
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    HWND sys = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(sys);
    EXPECT_EQ(SendMessageW(sys, WM_USER + 1, 0, 0), 77);
    // The module registers its own "#32768": its windows get it, the system's stay.
    wc.lpszClassName = L"#32768";
    wc.lpfnWndProc = RecordProc;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    HWND mine = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(mine);
    EXPECT_EQ(SendMessageW(mine, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(rec().For(mine, {WM_USER + 1}).size(), 1u);
    wchar_t name[32];
    EXPECT_EQ(GetClassNameW(mine, name, 32), 6);
    EXPECT_STREQ(name, L"#32768");
    // Another module still sees the system class.
    HMODULE other = zyn::base::RegisterResourceModule(L"OtherTestModule");
    HWND theirs = CreateWindowExW(0, L"#32768", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, other, nullptr);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(SendMessageW(theirs, WM_USER + 1, 0, 0), 77);
    // A class with windows cannot go.
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(L"#32768", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(mine);
    EXPECT_TRUE(UnregisterClassW(L"#32768", nullptr));
    DestroyWindow(sys);
    DestroyWindow(theirs);
    zyn::base::UnregisterBuiltinModule(other);
    EXPECT_NE(user::RegisterSystemClass(original), 0);
}

// A class named "#" and a number is the integer atom of that number (the system's
// "#32768" is 0x8000), found by either form; other names (and numbers past 0xBFFF) are
// string atoms.
TEST_F(CreateTest, NumberedClassNamesAreIntegerAtoms)
{
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, MAKEINTATOM(0x8000), &wc));
    const struct {
        const wchar_t* name;
        ATOM atom; // 0: a string atom (0xC000 up)
    } rows[] = {{L"#7", 7}, {L"#49151", 0xBFFF}, {L"#49152", 0}, {L"#12a", 0}};
    for (const auto& r : rows) {
        wc = WNDCLASSW{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = r.name;
        const ATOM a = RegisterClassW(&wc);
        EXPECT_TRUE(r.atom ? a == r.atom : a >= 0xC000) << r.atom;
        EXPECT_TRUE(GetClassInfoW(nullptr, MAKEINTATOM(a), &wc)) << r.atom;
        EXPECT_TRUE(UnregisterClassW(r.name, nullptr)) << r.atom;
    }
}

TEST_F(CreateTest, ClassDataAndInfo)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OtherProc;
    wc.lpszClassName = L"WithExtra";
    wc.cbClsExtra = 16;
    wc.cbWndExtra = 24;
    wc.style = CS_HREDRAW;
    const ATOM atom = RegisterClassExW(&wc);
    ASSERT_GE(atom, 0xC000);
    HWND h = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h);
    EXPECT_EQ(GetClassLongPtrW(h, GCW_ATOM), atom);
    EXPECT_EQ(GetClassLongPtrW(h, GCL_STYLE), CS_HREDRAW);
    EXPECT_EQ(SetClassLongPtrW(h, 8, 1234), 0u);
    EXPECT_EQ(GetClassLongPtrW(h, 8), 1234u);
    SetLastError(0);
    EXPECT_EQ(GetClassLongPtrW(h, 9), 0u); // 9 + 8 > 16
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    // Window extra bytes.
    EXPECT_EQ(SetWindowLongPtrW(h, 16, 99), 0);
    EXPECT_EQ(GetWindowLongPtrW(h, 16), 99);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrW(h, 17, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(h, -100), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"withextra", &info));
    EXPECT_EQ(info.cbWndExtra, 24);
    EXPECT_EQ(info.lpfnWndProc, &OtherProc);
    DestroyWindow(h);
    EXPECT_TRUE(UnregisterClassW(L"WithExtra", nullptr));
    EXPECT_FALSE(GetClassInfoExW(nullptr, L"WithExtra", &info));
    // Bad registrations are refused.
    wc.cbWndExtra = -1;
    SetLastError(0);
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    wc.cbWndExtra = 0;
    wc.cbSize = 12;
    EXPECT_EQ(RegisterClassExW(&wc), 0);
}

WNDPROC g_prev = nullptr;
LRESULT SubclassProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_USER + 5)
        return 5 + CallWindowProcW(g_prev, h, m, wp, lp);
    return CallWindowProcW(g_prev, h, m, wp, lp);
}

TEST_F(CreateTest, SubclassingStylesAndUserData)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    g_prev = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    EXPECT_EQ(g_prev, &RecordProc);
    rec().Clear();
    EXPECT_EQ(SendMessageW(h, WM_USER + 5, 0, 0), 5);
    EXPECT_EQ(rec().For(h), (std::vector<UINT>{WM_USER + 5}));
    rec().Clear();
    const LONG_PTR old = SetWindowLongPtrW(h, GWL_STYLE, WS_POPUP | WS_BORDER);
    EXPECT_EQ(static_cast<DWORD>(old), WS_POPUP | WS_CLIPSIBLINGS); // every top-level window clips its siblings
    EXPECT_EQ(rec().For(h), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), WS_POPUP | WS_BORDER);
    EXPECT_EQ(SetWindowLongPtrW(h, GWLP_USERDATA, 42), 0);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 42);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrW(h, GWLP_WNDPROC, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyWindow(h);
}

TEST_F(CreateTest, TextAndProperties)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, L"first");
    wchar_t buf[16];
    EXPECT_EQ(GetWindowTextW(h, buf, 16), 5);
    EXPECT_STREQ(buf, L"first");
    ASSERT_TRUE(SetWindowTextW(h, L"a longer title"));
    EXPECT_EQ(GetWindowTextLengthW(h), 14);
    EXPECT_EQ(GetWindowTextW(h, buf, 5), 4); // truncated, terminated
    EXPECT_STREQ(buf, L"a lo");
    EXPECT_EQ(GetWindowTextW(h, buf, 0), 0);
    EXPECT_TRUE(SetWindowTextW(h, nullptr));
    EXPECT_EQ(GetWindowTextLengthW(h), 0);

    EXPECT_TRUE(SetPropW(h, L"Key", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234))));
    EXPECT_EQ(GetPropW(h, L"KEY"), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234)));
    EXPECT_TRUE(SetPropW(h, MAKEINTATOM(5), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x55))));
    EXPECT_EQ(GetPropW(h, MAKEINTATOM(5)), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x55)));
    EXPECT_EQ(RemovePropW(h, L"key"), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234)));
    EXPECT_EQ(GetPropW(h, L"Key"), nullptr);
    EXPECT_FALSE(SetPropW(h, nullptr, nullptr));
    DestroyWindow(h);
}

TEST_F(CreateTest, TreeNavigationAndEnumeration)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    HWND a = Make(WS_CHILD, 0, 0, 10, 10, p, 0, 1);
    HWND b = Make(WS_CHILD, 0, 0, 10, 10, p, 0, 2);
    HWND a1 = Make(WS_CHILD, 0, 0, 5, 5, a, 0, 3);
    // Children created later go below the earlier ones (tab order is creation order).
    EXPECT_EQ(GetWindow(p, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), b);
    EXPECT_EQ(GetTopWindow(p), a);
    std::vector<HWND> seen;
    EnumChildWindows(p, [](HWND h, LPARAM lp) {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b}));
    EXPECT_TRUE(IsChild(p, a1));
    EXPECT_FALSE(IsChild(a, b));
    EXPECT_EQ(GetAncestor(a1, GA_ROOT), p);
    EXPECT_EQ(GetAncestor(p, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(FindWindowExW(p, nullptr, kRecClass, nullptr), a);
    EXPECT_EQ(FindWindowExW(p, a, kRecClass, nullptr), b);
    SetLastError(0);
    EXPECT_EQ(GetWindow(a, 99), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_GW_COMMAND);
    // Reparenting keeps the position relative to the parent's client area.
    MoveWindow(a1, 3, 4, 5, 5, FALSE);
    EXPECT_EQ(SetParent(a1, b), a);
    POINT pt{0, 0};
    MapWindowPoints(a1, b, &pt, 1);
    EXPECT_EQ(pt.x, 3);
    EXPECT_EQ(pt.y, 4);
    EXPECT_TRUE(IsChild(b, a1));
    // A window cannot become its own descendant's child.
    SetLastError(0);
    EXPECT_EQ(SetParent(b, a1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyWindow(p);
}

TEST_F(CreateTest, CbtHookCanRefuseCreationAndDestruction)
{
    static HWND creating = nullptr;
    static bool refuse = true;
    HHOOK hk = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        if (code == HCBT_CREATEWND) {
            creating = reinterpret_cast<HWND>(wp);
            EXPECT_EQ(user::WindowBeingCreated(), creating);
            return refuse ? 1 : 0;
        }
        if (code == HCBT_DESTROYWND)
            return refuse ? 1 : 0;
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hk);
    EXPECT_EQ(Make(WS_POPUP, 0, 0, 10, 10), nullptr);
    EXPECT_FALSE(IsWindow(creating));
    EXPECT_TRUE(rec().Log().empty()); // refused before any message
    refuse = false;
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(h);
    // The hook is told every window goes on top, a child too (which goes below its siblings).
    static std::vector<HWND> insertAfter;
    HHOOK where = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        if (code == HCBT_CREATEWND)
            insertAfter.push_back(reinterpret_cast<const CBT_CREATEWNDW*>(lp)->hwndInsertAfter);
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    const HWND first = Make(WS_CHILD, 0, 0, 5, 5, h);
    const HWND second = Make(WS_CHILD, 0, 0, 5, 5, h);
    DestroyWindow(Make(WS_POPUP, 0, 0, 5, 5));
    EXPECT_EQ(insertAfter, (std::vector<HWND>{HWND_TOP, HWND_TOP, HWND_TOP}));
    EXPECT_EQ(GetWindow(h, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_TRUE(UnhookWindowsHookEx(where));
    refuse = true;
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_TRUE(IsWindow(h));
    refuse = false;
    EXPECT_TRUE(DestroyWindow(h));
    EXPECT_TRUE(UnhookWindowsHookEx(hk));
    SetLastError(0);
    EXPECT_FALSE(UnhookWindowsHookEx(hk));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_HANDLE);
}

TEST_F(CreateTest, RegisteredMessagesAndClipboardFormatsShareOneAtomTable)
{
    const UINT a = RegisterWindowMessageW(L"_DOCK_MDICHILD_");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(L"_dock_mdichild_"), a);
    EXPECT_EQ(RegisterClipboardFormatW(L"_DOCK_MDICHILD_"), a);
    EXPECT_NE(RegisterWindowMessageW(L"Shortcut bar child window item"), a);
    SetLastError(0);
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    wchar_t name[64];
    EXPECT_EQ(GetClipboardFormatNameW(a, name, 64), 15);
    EXPECT_STREQ(name, L"_DOCK_MDICHILD_");
}

} // namespace
} // namespace zyn::test
