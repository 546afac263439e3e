// The menu bar: clicking it, Alt or F10 and mnemonics open its popups through
// WM_SYSCOMMAND SC_MOUSEMENU / SC_KEYMENU, and the owner hears the documented sequence
// (WM_ENTERMENULOOP FALSE, WM_INITMENU of the bar, the bar item's WM_MENUSELECT, the
// popup's WM_INITMENUPOPUP with its position...). Each row runs its input through the
// message loop of the test, in which DefWindowProc starts the menu loop.
#include <functional>

#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "tests/user/msglog.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;
using Lines = std::vector<std::string>;

// The bar:  0 &File -> 0 &New 1001, 1 &Open 1002, 2 ----, 3 E&xit 1003
//           1 &Edit -> 0 &Undo 2001, 1 &Redo 2002
//           2 &Help    (a command on the bar, 3001)
struct Bar {
    HMENU bar, file, edit, sys;
};

Bar BuildBar(MsgLog& log, HWND frame)
{
    Bar b{};
    b.file = CreatePopupMenu();
    AppendMenuW(b.file, MF_STRING, 1001, L"&New");
    AppendMenuW(b.file, MF_STRING, 1002, L"&Open");
    AppendMenuW(b.file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(b.file, MF_STRING, 1003, L"E&xit");
    b.edit = CreatePopupMenu();
    AppendMenuW(b.edit, MF_STRING, 2001, L"&Undo");
    AppendMenuW(b.edit, MF_STRING, 2002, L"&Redo");
    b.bar = CreateMenu();
    AppendMenuW(b.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(b.file), L"&File");
    AppendMenuW(b.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(b.edit), L"&Edit");
    AppendMenuW(b.bar, MF_STRING, 3001, L"&Help");
    EXPECT_TRUE(SetMenu(frame, b.bar));
    b.sys = GetSystemMenu(frame, FALSE);
    log.NameMenu(b.bar, "bar");
    log.NameMenu(b.file, "file");
    log.NameMenu(b.edit, "edit");
    log.NameMenu(b.sys, "sys");
    return b;
}

POINT BarItemCenter(HWND frame, HMENU bar, UINT pos)
{
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(frame, bar, pos, &r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT PopupItemCenter(HMENU menu, UINT pos)
{
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu, pos, &r)) << "item " << pos << " is not shown";
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Press(POINT p)
{
    user::InjectMouseMove(p.x, p.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseButton(user::MouseButton::Left, false);
}

// System commands the frame is sent while the log runs are recorded, and SC_CLOSE is kept
// from closing it.
std::vector<WPARAM> g_postedSysCommands;
WNDPROC g_frameProc = nullptr;
LRESULT FrameProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) {
        g_postedSysCommands.push_back(wp & 0xFFF0);
        return 0;
    }
    return CallWindowProcW(g_frameProc, h, m, wp, lp);
}

struct Ctx {
    MsgLog& log;
    HWND main;
    Bar b;
};

struct Row {
    const char* name;
    std::function<void(Ctx&)> act;
    std::function<Lines()> expected;
    std::function<void(Ctx&)> check = {};
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

const Lines kBarOpen{"main WM_ENTERMENULOOP 0", "main WM_INITMENU bar"};
const std::string kCreate = "cbt HCBT_CREATEWND ? 0x80000000 0x189";
const std::string kDestroy = "cbt HCBT_DESTROYWND ?";

Lines Seq(std::initializer_list<Lines> parts)
{
    Lines out;
    for (const Lines& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Row kRows[] = {
    {"AClickOnABarItemOpensItsPopupAndAClickInItChooses",
        [](Ctx& c) {
            Press(BarItemCenter(c.main, c.b.bar, 0));
            user::QueueIdleAction([&c] { Press(PopupItemCenter(c.b.file, 1)); });
        },
        [] {
            return Seq({{"main WM_NCLBUTTONDOWN (posted)", "main WM_SYSCOMMAND 0xf090", "cbt HCBT_SYSCOMMAND 0xf090"}, kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE|MOUSESELECT bar", "main WM_INITMENUPOPUP file 0", kCreate,
                    "main WM_MENUSELECT 1002 HILITE|MOUSESELECT file", "main WM_CAPTURECHANGED 0",
                    "main WM_MENUSELECT closed", kDestroy, "main WM_UNINITMENUPOPUP file", "main WM_EXITMENULOOP 0",
                    "main WM_COMMAND 1002 0 (posted)"}});
        }},
    {"PressingTheOpenItemAgainClosesTheMenu",
        [](Ctx& c) {
            Press(BarItemCenter(c.main, c.b.bar, 0));
            user::QueueIdleAction([&c] { Press(BarItemCenter(c.main, c.b.bar, 0)); });
        },
        [] {
            return Seq({{"main WM_NCLBUTTONDOWN (posted)", "main WM_SYSCOMMAND 0xf090", "cbt HCBT_SYSCOMMAND 0xf090"}, kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE|MOUSESELECT bar", "main WM_INITMENUPOPUP file 0", kCreate,
                    "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed", kDestroy, "main WM_UNINITMENUPOPUP file",
                    "main WM_EXITMENULOOP 0", "main WM_NCLBUTTONUP (posted)"}});
        }},
    {"MovingToAnotherBarItemSwitchesPopupsEscapeStepsBack",
        [](Ctx& c) {
            Press(BarItemCenter(c.main, c.b.bar, 0));
            user::QueueIdleAction([&c] {
                const POINT p = BarItemCenter(c.main, c.b.bar, 1);
                user::InjectMouseMove(p.x, p.y);
                user::QueueIdleAction([] {
                    user::InjectKeyPress(VK_ESCAPE);
                    user::InjectKeyPress(VK_ESCAPE);
                });
            });
        },
        [] {
            return Seq({{"main WM_NCLBUTTONDOWN (posted)", "main WM_SYSCOMMAND 0xf090", "cbt HCBT_SYSCOMMAND 0xf090"}, kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE|MOUSESELECT bar", "main WM_INITMENUPOPUP file 0", kCreate, kDestroy,
                    "main WM_UNINITMENUPOPUP file", "main WM_MENUSELECT 1 POPUP|HILITE|MOUSESELECT bar",
                    "main WM_INITMENUPOPUP edit 1", kCreate,
                    // The first Escape closes the popup and leaves Edit highlighted.
                    kDestroy, "main WM_UNINITMENUPOPUP edit", "main WM_MENUSELECT 1 POPUP|HILITE bar",
                    "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed", "main WM_EXITMENULOOP 0",
                    "main WM_KEYUP 0x1b (posted)"}});
        }},
    {"ACommandOnTheBarRunsWhenTheButtonIsReleasedOnIt", [](Ctx& c) { Press(BarItemCenter(c.main, c.b.bar, 2)); },
        [] {
            return Seq({{"main WM_NCLBUTTONDOWN (posted)", "main WM_SYSCOMMAND 0xf090", "cbt HCBT_SYSCOMMAND 0xf090"}, kBarOpen,
                {"main WM_MENUSELECT 3001 HILITE|MOUSESELECT bar", "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed",
                    "main WM_EXITMENULOOP 0", "main WM_COMMAND 3001 0 (posted)"}});
        }},
    {"AltAloneHighlightsTheFirstItemThenArrowsAndEnterChoose",
        [](Ctx&) {
            for (int vk : {VK_MENU, VK_RIGHT, VK_DOWN, VK_RETURN})
                user::InjectKeyPress(vk);
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYUP 0x12 (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE bar", "main WM_MENUSELECT 1 POPUP|HILITE bar",
                    "main WM_INITMENUPOPUP edit 1", kCreate, "main WM_MENUSELECT 2001 HILITE edit",
                    "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed", kDestroy, "main WM_UNINITMENUPOPUP edit",
                    "main WM_EXITMENULOOP 0", "main WM_COMMAND 2001 0 (posted)", "main WM_KEYUP 0xd (posted)"}});
        }},
    {"F10AloneStartsTheSameWay",
        [](Ctx&) {
            for (int vk : {VK_F10, VK_ESCAPE})
                user::InjectKeyPress(vk);
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x79 (posted)", "main WM_SYSKEYUP 0x79 (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE bar", "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed",
                    "main WM_EXITMENULOOP 0", "main WM_KEYUP 0x1b (posted)"}});
        }},
    {"LeftFromTheFirstPopupMovesToTheSystemMenu",
        [](Ctx&) {
            for (int vk : {VK_MENU, VK_DOWN, VK_LEFT, VK_ESCAPE, VK_ESCAPE})
                user::InjectKeyPress(vk);
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYUP 0x12 (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE bar", "main WM_INITMENUPOPUP file 0", kCreate,
                    "main WM_MENUSELECT 1001 HILITE file", kDestroy, "main WM_UNINITMENUPOPUP file",
                    "main WM_MENUSELECT 0 POPUP|HILITE|SYSMENU sys", "main WM_INITMENUPOPUP sys 0 sys", kCreate,
                    // Restore is grayed for a restored window, and highlighted all the same.
                    "main WM_MENUSELECT 61728 GRAYED|HILITE|SYSMENU sys", kDestroy, "main WM_UNINITMENUPOPUP sys sys",
                    "main WM_MENUSELECT 0 POPUP|HILITE|SYSMENU sys", "main WM_CAPTURECHANGED 0",
                    "main WM_MENUSELECT closed", "main WM_EXITMENULOOP 0", "main WM_KEYUP 0x1b (posted)"}});
        }},
    {"AltAndAMnemonicOpenThatPopupWithItsFirstItem",
        [](Ctx&) {
            user::InjectKey(VK_MENU, true);
            user::InjectKeyPress('E');
            user::InjectKey(VK_MENU, false);
            user::InjectKeyPress('R');
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYDOWN 0x45 (posted)",
                           "main WM_SYSCHAR 'e' (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUSELECT 1 POPUP|HILITE bar", "main WM_INITMENUPOPUP edit 1", kCreate,
                    "main WM_MENUSELECT 2001 HILITE edit", "main WM_MENUSELECT 2002 HILITE edit",
                    "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed", kDestroy, "main WM_UNINITMENUPOPUP edit",
                    "main WM_EXITMENULOOP 0", "main WM_COMMAND 2002 0 (posted)", "main WM_KEYUP 0x52 (posted)"}});
        }},
    {"AnUnclaimedMnemonicAsksTheOwnerThenEnds",
        [](Ctx&) {
            user::InjectKey(VK_MENU, true);
            user::InjectKeyPress('Q');
            user::InjectKey(VK_MENU, false);
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYDOWN 0x51 (posted)",
                           "main WM_SYSCHAR 'q' (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUCHAR 'q' 0 bar", "main WM_MENUSELECT closed", "main WM_EXITMENULOOP 0",
                    "main WM_SYSKEYUP 0x51 (posted)", "main WM_SYSKEYUP 0x12 (posted)"}});
        }},
    {"AltSpaceOpensTheSystemMenuWhoseCommandIsASysCommand",
        [](Ctx&) {
            user::InjectKey(VK_MENU, true);
            user::InjectKeyPress(VK_SPACE);
            user::InjectKey(VK_MENU, false);
            user::InjectKeyPress(VK_END);
            user::InjectKeyPress(VK_RETURN);
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYDOWN 0x20 (posted)",
                           "main WM_SYSCHAR ' ' (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100", "main WM_ENTERMENULOOP 0",
                           "main WM_INITMENU sys", "main WM_MENUSELECT 0 POPUP|HILITE|SYSMENU sys",
                           "main WM_INITMENUPOPUP sys 0 sys", kCreate,
                           "main WM_MENUSELECT 61728 GRAYED|HILITE|SYSMENU sys",
                           "main WM_MENUSELECT 61536 HILITE|SYSMENU sys", "main WM_CAPTURECHANGED 0",
                           "main WM_MENUSELECT closed", kDestroy, "main WM_UNINITMENUPOPUP sys sys",
                           "main WM_EXITMENULOOP 0", "main WM_KEYUP 0xd (posted)"}});
        },
        [](Ctx&) { EXPECT_EQ(g_postedSysCommands, std::vector<WPARAM>{SC_CLOSE}); }},
    {"WhileTheBarIsTrackedItsItemIsHighlightedAndTheThreadSaysSo",
        [](Ctx& c) {
            user::InjectKeyPress(VK_MENU);
            user::QueueIdleAction([&c] {
                EXPECT_EQ(GetMenuState(c.b.bar, 0, MF_BYPOSITION) & MF_HILITE, static_cast<UINT>(MF_HILITE));
                EXPECT_EQ(user::TrackedMenu(), c.b.bar);
                EXPECT_EQ(user::TrackedMenuWindow(), c.main);
                GUITHREADINFO gui{};
                gui.cbSize = sizeof gui;
                GetGUIThreadInfo(0, &gui);
                EXPECT_EQ(gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE), GUI_INMENUMODE);
                EXPECT_EQ(GetCapture(), c.main);
                EndMenu();
            });
        },
        [] {
            return Seq({{"main WM_SYSKEYDOWN 0x12 (posted)", "main WM_SYSKEYUP 0x12 (posted)", "main WM_SYSCOMMAND 0xf100", "cbt HCBT_SYSCOMMAND 0xf100"},
                kBarOpen,
                {"main WM_MENUSELECT 0 POPUP|HILITE bar", "main WM_CAPTURECHANGED 0", "main WM_MENUSELECT closed",
                    "main WM_EXITMENULOOP 0"}});
        },
        [](Ctx& c) { EXPECT_EQ(GetMenuState(c.b.bar, 0, MF_BYPOSITION) & MF_HILITE, 0u); }},
};

class MenuBarTrackTest : public UserTest, public ::testing::WithParamInterface<Row> {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        Clock::UseVirtual(10000);
        user::SetScriptedMode(true);
        log.Install();
        g_postedSysCommands.clear();
    }
    void TearDown() override
    {
        log.Stop();
        for (HWND h : log.Named())
            DestroyWindow(h);
        log.Uninstall();
        UserTest::TearDown();
    }
    MsgLog log;
};

TEST_P(MenuBarTrackTest, OwnerHearsTheDocumentedSequence)
{
    const Row& row = GetParam();
    log.NameNext("main");
    const HWND main = CreateWindowExW(0, MsgLog::kClass, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400,
        nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(main);
    Ctx c{log, main, BuildBar(log, main)};
    g_frameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    // The pointer rests on the bar's first item (moves are not what the rows are about).
    const POINT rest = BarItemCenter(main, c.b.bar, 0);
    user::InjectMouseMove(rest.x, rest.y);
    Pump();
    log.Start();
    row.act(c);
    Pump();
    log.Stop();
    EXPECT_EQ(log.Lines(), row.expected());
    if (row.check)
        row.check(c);
    EXPECT_TRUE(user::OpenPopupMenuWindows().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(user::TrackedMenu(), nullptr);
    SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuBarTrackTest, ::testing::ValuesIn(kRows),
    [](const ::testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

TEST_F(UserTest, HiliteMenuItemRepaintsTheBarItemPushedInWithoutReflowingTheFrame)
{
    const int parts[] = {COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_MENU};
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(240, 240, 0)};
    ASSERT_TRUE(SetSysColors(3, parts, colors));
    const HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1, L"&One");
    AppendMenuW(bar, MF_STRING, 2, L"&Two");
    ASSERT_TRUE(SetMenu(h, bar));
    Pump();
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(h, bar, 1, &item));
    const int midY = (item.top + item.bottom) / 2;
    EXPECT_EQ(Pixel(item.left, midY), colors[2]);
    rec().Clear();
    ASSERT_TRUE(HiliteMenuItem(h, bar, 1, MF_BYPOSITION | MF_HILITE));
    // Pushed in: the sunken edge's shadow on the left, its highlight on the right.
    EXPECT_EQ(Pixel(item.left, midY), colors[0]);
    EXPECT_EQ(Pixel(item.right - 1, midY), colors[1]);
    EXPECT_EQ(GetMenuState(bar, 1, MF_BYPOSITION) & MF_HILITE, static_cast<UINT>(MF_HILITE));
    ASSERT_TRUE(HiliteMenuItem(h, bar, 2, MF_BYCOMMAND | MF_UNHILITE));
    EXPECT_EQ(Pixel(item.left, midY), colors[2]);
    EXPECT_TRUE(rec().For(h, {WM_NCCALCSIZE, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}).empty());
    // An item that is not there.
    SetLastError(0);
    EXPECT_FALSE(HiliteMenuItem(h, bar, 7, MF_BYPOSITION | MF_HILITE));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
    DestroyWindow(h);
}

TEST_F(UserTest, AWindowWithoutABarOpensItsSystemMenuFromTheKeyboard)
{
    Clock::UseVirtual(10000);
    user::SetScriptedMode(true);
    const HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
    Pump();
    // Alt alone highlights the system menu; Down opens it; Escape twice ends.
    HMENU seen = nullptr;
    user::InjectKeyPress(VK_MENU);
    user::InjectKeyPress(VK_DOWN);
    user::QueueIdleAction([&] {
        const auto popups = user::OpenPopupMenuWindows();
        ASSERT_EQ(popups.size(), 1u);
        seen = reinterpret_cast<HMENU>(SendMessageW(popups[0], MN_GETHMENU, 0, 0));
        user::InjectKeyPress(VK_ESCAPE);
        user::InjectKeyPress(VK_ESCAPE);
    });
    rec().Clear();
    Pump();
    EXPECT_EQ(seen, GetSystemMenu(h, FALSE));
    const auto seq = rec().For(h, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP});
    EXPECT_EQ(seq, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
    // A window with neither a bar nor a system menu has no menu loop at all.
    const HWND bare = Make(WS_POPUP | WS_VISIBLE, 400, 50, 100, 100);
    Pump();
    rec().Clear();
    user::InjectKeyPress(VK_MENU);
    Pump();
    EXPECT_TRUE(rec().For(bare, {WM_ENTERMENULOOP}).empty());
    DestroyWindow(bare);
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
