// Tracking a popup menu: what the owner hears, in order, for scripted keys and clicks,
// how WM_MENUCHAR answers and hooks change it, and how the loop ends. Every row runs
// TrackPopupMenu on the context menu below with the input of its `act`, some of it
// injected from inside the loop (idle actions, once the popups exist), and compares the
// whole log (the owner's messages, popup windows as "?" in CBT lines) with the order the
// platform documents.
#include <functional>

#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "tests/user/msglog.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;
using Lines = std::vector<std::string>;

// The context menu:            the submenu "more":
//   0 &Open\tCtrl+O  101          0 &Alpha  201
//   1 &Save          102          1 &Beta   202 (grayed)
//   2 &Search        104          2 &Gamma  203
//   3 ----
//   4 &More          -> more
//   5 E&xit          103
struct Menus {
    HMENU ctx = nullptr;
    HMENU more = nullptr;
};

Menus BuildMenus(MsgLog& log)
{
    Menus m;
    m.more = CreatePopupMenu();
    AppendMenuW(m.more, MF_STRING, 201, L"&Alpha");
    AppendMenuW(m.more, MF_STRING | MF_GRAYED, 202, L"&Beta");
    AppendMenuW(m.more, MF_STRING, 203, L"&Gamma");
    m.ctx = CreatePopupMenu();
    AppendMenuW(m.ctx, MF_STRING, 101, L"&Open\tCtrl+O");
    AppendMenuW(m.ctx, MF_STRING, 102, L"&Save");
    AppendMenuW(m.ctx, MF_STRING, 104, L"&Search");
    AppendMenuW(m.ctx, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m.ctx, MF_POPUP, reinterpret_cast<UINT_PTR>(m.more), L"&More");
    AppendMenuW(m.ctx, MF_STRING, 103, L"E&xit");
    log.NameMenu(m.ctx, "ctx");
    log.NameMenu(m.more, "more");
    return m;
}

POINT ItemCenter(HMENU menu, UINT pos)
{
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu, pos, &r)) << "item " << pos << " is not shown";
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Keys(std::initializer_list<int> vks)
{
    for (int vk : vks)
        user::InjectKeyPress(vk);
}

// The owner's answer to WM_MENUCHAR, for rows that need one (the owner window's procedure
// is wrapped to give it).
LRESULT g_menuCharAnswer = 0;
WNDPROC g_ownerProc = nullptr;
LRESULT AnsweringProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    const LRESULT r = CallWindowProcW(g_ownerProc, h, m, wp, lp);
    return m == WM_MENUCHAR ? g_menuCharAnswer : r;
}

// An owner that drives its menu from WM_ENTERIDLE: at the first one it presses Down and Enter.
bool g_drove = false;
LRESULT DrivingProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_ENTERIDLE && !g_drove) {
        g_drove = true;
        Keys({VK_DOWN, VK_RETURN});
    }
    return CallWindowProcW(g_ownerProc, h, m, wp, lp);
}

struct Ctx {
    MsgLog& log;
    Menus menus;
    HWND main = nullptr;
    UINT flags = 0;
    BOOL result = 0;
    // The point of the owner's client area, in screen coordinates.
    POINT Client(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(main, &p);
        return p;
    }
};

struct Row {
    const char* name;
    UINT flags;
    std::function<void(Ctx&)> act;   // input before and inside the loop
    std::function<Lines()> expected; // the whole log, WM_COMMAND and leftovers delivered after
    BOOL result;
    std::vector<UINT> keep = {};     // quiet messages the row logs
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

// The popup's window is made (hidden) before the owner hears of the menu loop.
const Lines kOpen{"cbt HCBT_CREATEWND ? 0x80000000 0x189", "main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx",
    "main WM_INITMENUPOPUP ctx 0"};
const Lines kClose{"main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx",
    "main WM_EXITMENULOOP 1"};

Lines Seq(std::initializer_list<Lines> parts)
{
    Lines out;
    for (const Lines& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Row kRows[] = {
    {"DownDownEnterChoosesTheSecondItem", 0, [](Ctx&) { Keys({VK_DOWN, VK_DOWN, VK_RETURN}); },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 101 HILITE ctx", "main WM_MENUSELECT 102 HILITE ctx"}, kClose,
                {"main WM_COMMAND 102 0 (posted)", "main WM_KEYUP 0xd (posted)"}});
        },
        TRUE},
    {"UpWrapsToTheLastItemAndSkipsTheSeparator", 0, [](Ctx&) { Keys({VK_UP, VK_UP, VK_UP, VK_ESCAPE}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 4 POPUP|HILITE ctx",
                    "main WM_MENUSELECT 104 HILITE ctx"},
                kClose, {"main WM_KEYUP 0x1b (posted)"}});
        },
        TRUE},
    {"HomeAndEndGoToTheFirstAndLastItems", TPM_RETURNCMD, [](Ctx&) { Keys({VK_END, VK_HOME, VK_RETURN}); },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 101 HILITE ctx"}, kClose,
                {"main WM_KEYUP 0xd (posted)"}});
        },
        101},
    {"RightOpensTheCascadeLeftClosesItEscapeEnds", 0,
        [](Ctx&) { Keys({VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT, VK_ESCAPE}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 4 POPUP|HILITE ctx",
                    "main WM_INITMENUPOPUP more 4", "cbt HCBT_CREATEWND ? 0x80000000 0x189",
                    "main WM_MENUSELECT 201 HILITE more", "main WM_MENUSELECT 202 GRAYED|HILITE more",
                    "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more", "main WM_MENUSELECT 4 POPUP|HILITE ctx"},
                kClose, {"main WM_KEYUP 0x1b (posted)"}});
        },
        TRUE},
    {"EscapeInTheCascadeClosesOnlyIt", TPM_RETURNCMD,
        [](Ctx&) { Keys({VK_UP, VK_UP, VK_RETURN, VK_ESCAPE, VK_UP, VK_RETURN}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 4 POPUP|HILITE ctx",
                    "main WM_INITMENUPOPUP more 4", "cbt HCBT_CREATEWND ? 0x80000000 0x189",
                    "main WM_MENUSELECT 201 HILITE more", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
                    "main WM_MENUSELECT 4 POPUP|HILITE ctx", "main WM_MENUSELECT 104 HILITE ctx"},
                kClose, {"main WM_KEYUP 0xd (posted)"}});
        },
        104},
    {"ChoosingInTheCascadeClosesInnermostFirst", 0,
        [](Ctx&) { Keys({VK_UP, VK_UP, VK_RIGHT, VK_END, VK_RETURN}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 4 POPUP|HILITE ctx",
                    "main WM_INITMENUPOPUP more 4", "cbt HCBT_CREATEWND ? 0x80000000 0x189",
                    "main WM_MENUSELECT 201 HILITE more", "main WM_MENUSELECT 203 HILITE more",
                    "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
                    "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1",
                    "main WM_COMMAND 203 0 (posted)", "main WM_KEYUP 0xd (posted)"}});
        },
        TRUE},
    {"EnterOnAGrayedItemChoosesNothing", TPM_RETURNCMD,
        [](Ctx&) { Keys({VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN, VK_MENU}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 4 POPUP|HILITE ctx",
                    "main WM_INITMENUPOPUP more 4", "cbt HCBT_CREATEWND ? 0x80000000 0x189",
                    "main WM_MENUSELECT 201 HILITE more", "main WM_MENUSELECT 202 GRAYED|HILITE more",
                    // Alt closes every level at once.
                    "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
                    "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1",
                    "main WM_SYSKEYUP 0x12 (posted)"}});
        },
        0},
    {"AMnemonicHeldByOneItemChoosesIt", 0, [](Ctx&) { Keys({'X'}); },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 103 HILITE ctx"}, kClose,
                {"main WM_COMMAND 103 0 (posted)", "main WM_KEYUP 0x58 (posted)"}});
        },
        TRUE},
    {"AMnemonicOfASubmenuOpensItWithItsFirstItem", TPM_RETURNCMD, [](Ctx&) { Keys({'M', 'G'}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 4 POPUP|HILITE ctx", "main WM_INITMENUPOPUP more 4",
                    "cbt HCBT_CREATEWND ? 0x80000000 0x189", "main WM_MENUSELECT 201 HILITE more",
                    "main WM_MENUSELECT 203 HILITE more", "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?",
                    "main WM_UNINITMENUPOPUP more", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx",
                    "main WM_EXITMENULOOP 1", "main WM_KEYUP 0x47 (posted)"}});
        },
        203},
    {"AMnemonicSharedByItemsCyclesWithoutChoosing", TPM_RETURNCMD, [](Ctx&) { Keys({'S', 'S', 'S', VK_RETURN}); },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 102 HILITE ctx", "main WM_MENUSELECT 104 HILITE ctx",
                    "main WM_MENUSELECT 102 HILITE ctx"},
                kClose, {"main WM_KEYUP 0xd (posted)"}});
        },
        102},
    {"ClickOnAnItemChoosesIt", 0,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.ctx, 1);
                user::InjectClick(p.x, p.y);
            });
        },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 102 HILITE|MOUSESELECT ctx"}, kClose, {"main WM_COMMAND 102 0 (posted)"}});
        },
        TRUE},
    {"ClickOnTheSubmenuItemOpensItAtOnce", TPM_RETURNCMD,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.ctx, 4);
                user::InjectClick(p.x, p.y);
            });
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.more, 2);
                user::InjectClick(p.x, p.y);
            });
        },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 4 POPUP|HILITE|MOUSESELECT ctx", "main WM_INITMENUPOPUP more 4",
                    "cbt HCBT_CREATEWND ? 0x80000000 0x189", "main WM_MENUSELECT 203 HILITE|MOUSESELECT more",
                    "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
                    "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"}});
        },
        203},
    {"HoveringOpensTheSubmenuAfterTheShowDelay", TPM_RETURNCMD,
        [](Ctx& c) {
            // Each step runs when the loop has nothing else to do, and queues the next.
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.ctx, 4);
                user::InjectMouseMove(p.x, p.y);
                user::QueueIdleAction([&c] {
                    // 399 ms on: still closed; the 400th opens it.
                    Clock::Advance(399);
                    user::QueueIdleAction([&c] {
                        EXPECT_EQ(user::OpenPopupMenuWindows().size(), 1u);
                        Clock::Advance(1);
                        user::QueueIdleAction([&c] {
                            ASSERT_EQ(user::OpenPopupMenuWindows().size(), 2u);
                            const POINT p = ItemCenter(c.menus.more, 0);
                            user::InjectClick(p.x, p.y);
                        });
                    });
                });
            });
        },
        [] {
            return Seq({kOpen,
                {"main WM_MENUSELECT 4 POPUP|HILITE|MOUSESELECT ctx", "main WM_INITMENUPOPUP more 4",
                    "cbt HCBT_CREATEWND ? 0x80000000 0x189", "main WM_MENUSELECT 201 HILITE|MOUSESELECT more",
                    "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
                    "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"}});
        },
        201},
    {"AClickOutsideEndsTheMenuAndReachesTheWindowUnderIt", TPM_RETURNCMD,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                const POINT p = c.Client(10, 10);
                user::InjectClick(p.x, p.y);
            });
        },
        [] {
            return Seq({kOpen, kClose, {"main WM_LBUTTONDOWN 10,10 (posted)", "main WM_LBUTTONUP 10,10 (posted)"}});
        },
        0},
    {"APostedClickOutsideEndsTheMenuAndIsDeliveredAfterwards", 0,
        [](Ctx& c) {
            user::QueueIdleAction([&c] { PostMessageW(c.main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30)); });
        },
        [] { return Seq({kOpen, kClose, {"main WM_RBUTTONDOWN 20,30 (posted)"}}); }, TRUE},
    {"APostedClickIsJudgedByThePointItNames", TPM_RETURNCMD,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                // Aimed at the owner, but its point lies on the Save item.
                POINT p = ItemCenter(c.menus.ctx, 1);
                ScreenToClient(c.main, &p);
                PostMessageW(c.main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
                PostMessageW(c.main, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            });
        },
        [] { return Seq({kOpen, {"main WM_MENUSELECT 102 HILITE|MOUSESELECT ctx"}, kClose}); }, 102},
    {"TheRightButtonChoosesOnlyWithTpmRightButton", TPM_RETURNCMD,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.ctx, 0);
                user::InjectMouseMove(p.x, p.y);
                user::InjectMouseButton(user::MouseButton::Right, true);
                user::InjectMouseButton(user::MouseButton::Right, false);
                user::InjectKeyPress(VK_ESCAPE);
            });
        },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 101 HILITE|MOUSESELECT ctx"}, kClose, {"main WM_KEYUP 0x1b (posted)"}});
        },
        0},
    {"WithTpmRightButtonTheRightButtonChooses", TPM_RETURNCMD | TPM_RIGHTBUTTON,
        [](Ctx& c) {
            user::QueueIdleAction([&c] {
                const POINT p = ItemCenter(c.menus.ctx, 0);
                user::InjectClick(p.x, p.y, user::MouseButton::Right);
            });
        },
        [] { return Seq({kOpen, {"main WM_MENUSELECT 101 HILITE|MOUSESELECT ctx"}, kClose}); }, 101},
    {"ReturnCmdAnswersTheCommandAndPostsNothing", TPM_RETURNCMD, [](Ctx&) { Keys({VK_DOWN, VK_RETURN}); },
        [] {
            return Seq({kOpen, {"main WM_MENUSELECT 101 HILITE ctx"}, kClose, {"main WM_KEYUP 0xd (posted)"}});
        },
        101},
    {"NoNotifyKeepsTheOwnerOutOfIt", TPM_NONOTIFY | TPM_RETURNCMD, [](Ctx&) { Keys({VK_DOWN, VK_RETURN}); },
        [] {
            return Lines{"cbt HCBT_CREATEWND ? 0x80000000 0x189", "cbt HCBT_DESTROYWND ?", "main WM_KEYUP 0xd (posted)"};
        },
        101},
    {"NoNotifyWithoutReturnCmdChoosesSilently", TPM_NONOTIFY, [](Ctx&) { Keys({VK_DOWN, VK_RETURN}); },
        [] {
            return Lines{"cbt HCBT_CREATEWND ? 0x80000000 0x189", "cbt HCBT_DESTROYWND ?", "main WM_KEYUP 0xd (posted)"};
        },
        TRUE},
    {"AScriptThatRunsDryDismissesTheMenu", TPM_RETURNCMD, [](Ctx&) { Keys({VK_DOWN}); },
        [] {
            // Waiting for more input counts as idle time for the owner, who hears it first.
            return Seq({kOpen, {"main WM_MENUSELECT 101 HILITE ctx", "main WM_ENTERIDLE 2 ?"}, kClose});
        },
        0, {WM_ENTERIDLE}},
    // The owner hears WM_ENTERIDLE, naming the popup's window, as soon as the popup is up and
    // nothing is queued: an owner waiting for it to drive the menu is not left hanging.
    {"TheOwnerHearsTheMenuIdleAsSoonAsItIsUp", TPM_RETURNCMD,
        [](Ctx& c) { c.log.NameClass(kPopupMenuClassName, "menu", false); },
        [] {
            return Lines{"cbt HCBT_CREATEWND menu1 0x80000000 0x189", "main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx",
                "main WM_INITMENUPOPUP ctx 0", "main WM_ENTERIDLE 2 menu1", "main WM_MENUSELECT closed",
                "cbt HCBT_DESTROYWND menu1", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"};
        },
        0, {WM_ENTERIDLE}},
    {"AnOwnerDrivingTheMenuFromEnterIdleChooses", TPM_RETURNCMD,
        [](Ctx& c) {
            c.log.NameClass(kPopupMenuClassName, "menu", false);
            g_drove = false;
            g_ownerProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(c.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DrivingProc)));
        },
        [] {
            return Lines{"cbt HCBT_CREATEWND menu1 0x80000000 0x189", "main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx",
                "main WM_INITMENUPOPUP ctx 0", "main WM_ENTERIDLE 2 menu1", "main WM_MENUSELECT 101 HILITE ctx",
                "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND menu1", "main WM_UNINITMENUPOPUP ctx",
                "main WM_EXITMENULOOP 1", "main WM_KEYUP 0xd (posted)"};
        },
        101, {WM_ENTERIDLE}},
    {"EndMenuFromInsideTheLoopDismissesIt", TPM_RETURNCMD,
        [](Ctx&) {
            user::QueueIdleAction([] {
                EXPECT_EQ(user::OpenPopupMenuWindows().size(), 1u);
                EXPECT_TRUE(EndMenu());
            });
        },
        [] { return Seq({kOpen, kClose}); }, 0},
    {"CancelModeToTheOwnerDismissesIt", TPM_RETURNCMD,
        [](Ctx& c) { user::QueueIdleAction([&c] { SendMessageW(c.main, WM_CANCELMODE, 0, 0); }); },
        [] { return Seq({kOpen, {"main WM_CANCELMODE"}, kClose}); }, 0},
    {"LosingTheCaptureDismissesIt", TPM_RETURNCMD,
        [](Ctx& c) { user::QueueIdleAction([&c] { SetCapture(c.main); }); },
        [] { return Seq({kOpen, kClose}); }, 0},
};

class PopupFixture : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        Clock::UseVirtual(10000);
        user::SetScriptedMode(true);
        log.Install();
    }
    void TearDown() override
    {
        log.Stop();
        for (HWND h : log.Named())
            DestroyWindow(h);
        log.Uninstall();
        UserTest::TearDown();
    }
    HWND MakeOwner()
    {
        log.NameNext("main");
        return CreateWindowExW(0, MsgLog::kClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 500, 400, nullptr, nullptr,
            nullptr, nullptr);
    }
    MsgLog log;
};

class PopupTrackTest : public PopupFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(PopupTrackTest, OwnerHearsTheDocumentedSequence)
{
    const Row& row = GetParam();
    Ctx c{log, BuildMenus(log)};
    c.main = MakeOwner();
    ASSERT_TRUE(c.main);
    Pump();
    log.Start(row.keep);
    row.act(c);
    // Opened at the owner's client (50, 40).
    const POINT at = c.Client(50, 40);
    c.result = TrackPopupMenu(c.menus.ctx, row.flags, at.x, at.y, 0, c.main, nullptr);
    Pump();
    log.Stop();
    if (GetCapture() == c.main)
        ReleaseCapture(); // a row that took the capture from the menu
    EXPECT_EQ(c.result, row.result);
    EXPECT_EQ(log.Lines(), row.expected());
    // Nothing of the menu is left: no popup window, no capture, no thread state.
    EXPECT_TRUE(user::OpenPopupMenuWindows().empty());
    EXPECT_EQ(FindWindowW(kPopupMenuClassName, nullptr), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(user::TrackedMenu(), nullptr);
    EXPECT_EQ(GetMenuState(c.menus.ctx, 0, MF_BYPOSITION) & MF_HILITE, 0u);
    DestroyMenu(c.menus.ctx);
}

INSTANTIATE_TEST_SUITE_P(Rows, PopupTrackTest, ::testing::ValuesIn(kRows),
    [](const ::testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

// ---- WM_MENUCHAR ---------------------------------------------------------------------------------------------

struct MenuCharRow {
    const char* name;
    LRESULT answer;
    Lines afterChar; // what follows WM_MENUCHAR
    BOOL result;
};

const MenuCharRow kMenuCharRows[] = {
    {"IgnoreKeepsTheMenuOpen", MAKELRESULT(0, MNC_IGNORE),
        {"main WM_MENUSELECT 101 HILITE ctx", "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?",
            "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        101},
    {"CloseEndsIt", MAKELRESULT(0, MNC_CLOSE),
        {"main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        0},
    {"ExecuteChoosesTheItemNamed", MAKELRESULT(2, MNC_EXECUTE),
        {"main WM_MENUSELECT 104 HILITE ctx", "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?",
            "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        104},
    {"ExecuteOfASubmenuOpensIt", MAKELRESULT(4, MNC_EXECUTE),
        // Down then reaches the grayed Beta, where Enter chooses nothing.
        {"main WM_MENUSELECT 4 POPUP|HILITE ctx", "main WM_INITMENUPOPUP more 4", "cbt HCBT_CREATEWND ? 0x80000000 0x189",
            "main WM_MENUSELECT 201 HILITE more", "main WM_MENUSELECT 202 GRAYED|HILITE more",
            "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP more",
            "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        0},
    {"SelectOnlyMovesTheHighlight", MAKELRESULT(5, MNC_SELECT),
        {"main WM_MENUSELECT 103 HILITE ctx", "main WM_MENUSELECT 101 HILITE ctx", "main WM_MENUSELECT closed",
            "cbt HCBT_DESTROYWND ?", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        101},
    {"AnItemBeyondTheMenuIsIgnored", MAKELRESULT(40, MNC_EXECUTE),
        {"main WM_MENUSELECT 101 HILITE ctx", "main WM_MENUSELECT closed", "cbt HCBT_DESTROYWND ?",
            "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
        101},
};

class MenuCharTest : public PopupFixture {};

TEST_F(MenuCharTest, AnswersToAnUnclaimedKey)
{
    for (const MenuCharRow& row : kMenuCharRows) {
        SCOPED_TRACE(row.name);
        Menus menus = BuildMenus(log);
        const HWND main = MakeOwner();
        g_ownerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsweringProc)));
        g_menuCharAnswer = row.answer;
        Pump();
        log.Start();
        // 'Q' is no mnemonic of the menu; Down then Enter choose whatever is highlighted.
        Keys({'Q', VK_DOWN, VK_RETURN});
        const BOOL r = TrackPopupMenu(menus.ctx, TPM_RETURNCMD, 200, 200, 0, main, nullptr);
        log.Stop();
        Lines expected = kOpen;
        expected.push_back("main WM_MENUCHAR 'q' POPUP ctx");
        expected.insert(expected.end(), row.afterChar.begin(), row.afterChar.end());
        // After an ending answer the rest of the keys reach the owner, which is not logged.
        EXPECT_EQ(r, row.result);
        EXPECT_EQ(log.Lines(), expected);
        DestroyWindow(main);
        DestroyMenu(menus.ctx);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
}

// ---- hooks inside the loop ------------------------------------------------------------------------------------

std::vector<std::string> g_hookCalls;
int g_eatKey = 0;
UINT g_eatMouse = 0;
int g_eatFilterKey = 0;

LRESULT KeyboardHook(int code, WPARAM wp, LPARAM lp)
{
    const bool down = !(static_cast<uint32_t>(lp) & 0x80000000u);
    if (down && static_cast<int>(wp) == g_eatKey) {
        g_hookCalls.push_back("key eaten " + std::to_string(code));
        g_eatKey = 0; // once
        return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT MouseHook(int code, WPARAM wp, LPARAM lp)
{
    if (wp == g_eatMouse) {
        g_hookCalls.push_back("mouse eaten " + std::to_string(code));
        return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT FilterHook(int code, WPARAM wp, LPARAM lp)
{
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (code == MSGF_MENU && m->message == WM_KEYDOWN && static_cast<int>(m->wParam) == g_eatFilterKey) {
        g_hookCalls.push_back("filter ate key");
        return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(PopupFixture, HooksSeeEveryInputMessageAndWhatTheyEatNeverReachesTheMenu)
{
    Menus menus = BuildMenus(log);
    const HWND main = MakeOwner();
    Pump();
    HHOOK kh = SetWindowsHookExW(WH_KEYBOARD, KeyboardHook, nullptr, GetCurrentThreadId());
    HHOOK mh = SetWindowsHookExW(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
    HHOOK fh = SetWindowsHookExW(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
    struct Case {
        const char* name;
        int eatKey, eatFilterKey;
        UINT eatMouse;
        std::function<void()> input;
        UINT expected;
        std::vector<std::string> calls;
    };
    const POINT outside{105, 105};
    const Case cases[] = {
        // The keyboard hook eats the first Down (when it is peeked at): Open, not Save.
        {"KeyboardHookEatsADown", VK_DOWN, 0, 0, [] { Keys({VK_DOWN, VK_DOWN, VK_RETURN}); }, 101, {"key eaten 3"}},
        // The message filter eats Enter: Escape then ends the menu with nothing chosen.
        {"MessageFilterEatsEnter", 0, VK_RETURN, 0, [] { Keys({VK_DOWN, VK_RETURN, VK_ESCAPE}); }, 0,
            {"filter ate key"}},
        // The mouse hook eats the press outside, so it neither ends the menu nor arrives
        // later; Enter then chooses.
        {"MouseHookEatsAClickOutside", 0, 0, WM_LBUTTONDOWN,
            [&outside] {
                user::InjectMouseMove(outside.x, outside.y);
                user::InjectMouseButton(user::MouseButton::Left, true);
                Keys({VK_DOWN, VK_RETURN});
            },
            101, {"mouse eaten 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_hookCalls.clear();
        g_eatKey = c.eatKey;
        g_eatFilterKey = c.eatFilterKey;
        g_eatMouse = c.eatMouse;
        c.input();
        EXPECT_EQ(TrackPopupMenu(menus.ctx, TPM_RETURNCMD, 300, 300, 0, main, nullptr), static_cast<BOOL>(c.expected));
        EXPECT_EQ(g_hookCalls, c.calls);
        g_eatMouse = 0;
        Pump();
    }
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    UnhookWindowsHookEx(kh);
    UnhookWindowsHookEx(mh);
    UnhookWindowsHookEx(fh);
    DestroyWindow(main);
    DestroyMenu(menus.ctx);
}

// ---- state while tracking, refusals, the answer script -------------------------------------------------------

TEST_F(PopupFixture, TheThreadStateNamesTheTrackedMenuAndASecondTrackIsRefused)
{
    Menus menus = BuildMenus(log);
    const HWND main = MakeOwner();
    Pump();
    user::QueueIdleAction([&] {
        EXPECT_EQ(user::TrackedMenu(), menus.ctx);
        EXPECT_EQ(user::TrackedMenuWindow(), main);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ASSERT_TRUE(GetGUIThreadInfo(0, &gui));
        EXPECT_EQ(gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE), GUI_INMENUMODE | GUI_POPUPMENUMODE);
        EXPECT_EQ(gui.hwndMenuOwner, main);
        // The popup holds the capture, shows its menu and is top-most without being active.
        const std::vector<HWND> popups = user::OpenPopupMenuWindows();
        ASSERT_EQ(popups.size(), 1u);
        EXPECT_EQ(GetCapture(), popups[0]);
        EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(popups[0], MN_GETHMENU, 0, 0)), menus.ctx);
        EXPECT_EQ(GetTopWindow(nullptr), popups[0]);
        EXPECT_EQ(GetActiveWindow(), main);
        EXPECT_TRUE(GetWindowLongW(popups[0], GWL_EXSTYLE) & WS_EX_TOPMOST);
        // One menu per thread unless TPM_RECURSE.
        SetLastError(0);
        EXPECT_FALSE(TrackPopupMenu(menus.more, 0, 0, 0, 0, main, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_POPUP_ALREADY_ACTIVE);
        // With TPM_RECURSE a nested menu runs and hands the capture back.
        Keys({VK_DOWN, VK_RETURN});
        EXPECT_EQ(TrackPopupMenu(menus.more, TPM_RECURSE | TPM_RETURNCMD, 0, 0, 0, main, nullptr), 201);
        EXPECT_EQ(GetCapture(), popups[0]);
        EXPECT_EQ(user::TrackedMenu(), menus.ctx);
        Keys({VK_ESCAPE});
    });
    EXPECT_EQ(TrackPopupMenu(menus.ctx, TPM_RETURNCMD, 300, 300, 0, main, nullptr), 0);
    EXPECT_EQ(user::TrackedMenu(), nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE), 0u);
    Pump();
    DestroyWindow(main);
    DestroyMenu(menus.ctx);
    DestroyMenu(menus.more);
}

TEST_F(PopupFixture, BadArgumentsFailCleanly)
{
    Menus menus = BuildMenus(log);
    const HWND main = MakeOwner();
    const HMENU dead = CreatePopupMenu();
    DestroyMenu(dead);
    TPMPARAMS badSize{sizeof(TPMPARAMS) + 1, {}};
    struct Case {
        const char* name;
        HMENU menu;
        HWND owner;
        TPMPARAMS* tpm;
        DWORD error;
    };
    const Case cases[] = {
        {"NoMenu", nullptr, main, nullptr, ERROR_INVALID_MENU_HANDLE},
        {"DestroyedMenu", dead, main, nullptr, ERROR_INVALID_MENU_HANDLE},
        {"NoOwner", menus.ctx, nullptr, nullptr, ERROR_INVALID_WINDOW_HANDLE},
        {"WrongParamsSize", menus.ctx, main, &badSize, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_FALSE(TrackPopupMenuEx(c.menu, TPM_RETURNCMD, 10, 10, c.owner, c.tpm));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(user::LiveWindowCount(), 1u); // no popup was made
    // An empty menu shows nothing: the owner hears it open and close at once.
    const HMENU empty = CreatePopupMenu();
    log.NameMenu(empty, "empty");
    log.Start();
    EXPECT_FALSE(TrackPopupMenu(empty, 0, 10, 10, 0, main, nullptr));
    log.Stop();
    EXPECT_EQ(log.Lines(), (Lines{"cbt HCBT_CREATEWND ? 0x80000000 0x189", "main WM_ENTERMENULOOP 1",
                               "main WM_INITMENU empty", "main WM_INITMENUPOPUP empty 0", "cbt HCBT_DESTROYWND ?",
                               "main WM_UNINITMENUPOPUP empty", "main WM_MENUSELECT closed", "main WM_EXITMENULOOP 1"}));
    DestroyMenu(empty);
    DestroyWindow(main);
    DestroyMenu(menus.ctx);
}

// What goes away in the middle of the loop ends it cleanly.
HMENU g_doomedMenu = nullptr;
bool g_destroyOwner = false;
LRESULT VanishingProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) != g_doomedMenu) {
        if (g_destroyOwner) {
            DestroyWindow(h);
            return 0;
        }
        DestroyMenu(g_doomedMenu); // the submenu about to open
    }
    return DefWindowProcW(h, m, wp, lp);
}

TEST_F(PopupFixture, AMenuOrOwnerDestroyedWhileTrackedEndsTheLoopCleanly)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = VanishingProc;
    wc.lpszClassName = L"Vanishing";
    ASSERT_TRUE(RegisterClassW(&wc));
    for (bool destroyOwner : {false, true}) {
        SCOPED_TRACE(destroyOwner ? "the owner goes" : "the submenu goes");
        Menus menus = BuildMenus(log);
        const HWND owner = CreateWindowExW(0, L"Vanishing", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
            nullptr, nullptr, nullptr);
        Pump();
        g_destroyOwner = destroyOwner;
        // The owner does its deed when the submenu is about to open (Up, Up, Right);
        // the menu then still answers the keys that follow.
        g_doomedMenu = destroyOwner ? menus.ctx : menus.more;
        Keys({VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN});
        const BOOL r = TrackPopupMenu(menus.ctx, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
        // Without its submenu, More stays highlighted and Down moves on to Exit; without
        // its owner the loop is over before the other keys.
        EXPECT_EQ(r, destroyOwner ? 0 : 103);
        EXPECT_TRUE(user::OpenPopupMenuWindows().empty());
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(user::TrackedMenu(), nullptr);
        EXPECT_EQ(IsWindow(owner), destroyOwner ? FALSE : TRUE);
        Pump();
        if (IsWindow(owner))
            DestroyWindow(owner);
        DestroyMenu(menus.ctx);
    }
}

TEST_F(PopupFixture, TheAnswerScriptChoosesWithoutWindows)
{
    Menus menus = BuildMenus(log);
    const HWND main = MakeOwner();
    Pump();
    struct Case {
        const char* name;
        int answer;
        Lines expected;
        bool scripted;
    };
    const Case cases[] = {
        {"ACommandInTheSubmenu", 203,
            {"main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx", "main WM_INITMENUPOPUP ctx 0",
                "main WM_INITMENUPOPUP more 4", "main WM_MENUSELECT 203 HILITE more", "main WM_MENUSELECT closed",
                "main WM_UNINITMENUPOPUP more", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1",
                "main WM_COMMAND 203 0 (posted)"},
            true},
        {"AGrayedCommandIsRefused", 202,
            {"main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx", "main WM_INITMENUPOPUP ctx 0",
                "main WM_INITMENUPOPUP more 4", "main WM_MENUSELECT closed", "main WM_UNINITMENUPOPUP more",
                "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
            false},
        {"NoSuchCommand", 999,
            {"main WM_ENTERMENULOOP 1", "main WM_INITMENU ctx", "main WM_INITMENUPOPUP ctx 0",
                "main WM_MENUSELECT closed", "main WM_UNINITMENUPOPUP ctx", "main WM_EXITMENULOOP 1"},
            false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::PopupMenu, c.answer);
        log.Start();
        EXPECT_TRUE(TrackPopupMenu(menus.ctx, 0, 10, 10, 0, main, nullptr));
        Pump();
        log.Stop();
        EXPECT_EQ(log.Lines(), c.expected);
        const auto shown = user::AnswerScript::Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, user::AnswerKind::PopupMenu);
        EXPECT_EQ(shown[0].scripted, c.scripted);
        EXPECT_EQ(shown[0].result, c.scripted ? c.answer : 0);
    }
    DestroyWindow(main);
    DestroyMenu(menus.ctx);
}

} // namespace
} // namespace zyn::test
