// The menu bar driven by scripted input: the frame's menu on the bar, popups opened by
// click and keys with the frame's menu-loop messages in order, closing by a click on the
// open button, keyboard surfing and its focus, popups switched by keys and by the mouse,
// command and disabled items, Alt+F4, and the host hooks shared by two frames.
#include "platform/afx/frame_help.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "tests/menubar/menubar_test_support.h"

namespace zyn::test {
namespace {

using Bar = COXMenuBar;

class BarInputTest : public MenuBarTest {
protected:
    std::wstring ButtonText(Bar& bar, int i)
    {
        wchar_t text[64] = {};
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
        info.pszText = text;
        info.cchText = 63;
        bar.SendMessage(TB_GETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        return text;
    }
    static int Hot(Bar& bar) { return static_cast<int>(bar.SendMessage(TB_GETHOTITEM, 0, 0)); }
    // The command of the first item highlighted in a top-level popup of the bar, 0 none.
    static UINT FirstSelected(const FrameLog& log, Bar& bar, int top)
    {
        const HMENU popup = ::GetSubMenu(bar.GetHMenu(), top);
        for (const FrameMsg& m : log.msgs)
            if (m.msg == WM_MENUSELECT && reinterpret_cast<HMENU>(m.lParam) == popup && (HIWORD(m.wParam) & MF_HILITE))
                return LOWORD(m.wParam);
        return 0;
    }
};

TEST_F(BarInputTest, FrameMenuMovesOntoTheBar)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    EXPECT_EQ(::GetMenu(f.m_hWnd), nullptr) << "the frame keeps no window-system menu";
    ASSERT_NE(bar.GetHMenu(), nullptr);
    EXPECT_EQ(bar.GetHMenu(), f.GetOriginalMenu());
    EXPECT_TRUE(bar.IsWindowVisible());
    const wchar_t* texts[] = {L"&File", L"&Edit", L"&View", L"&Help", L"&Window"};
    ASSERT_EQ(bar.SendMessage(TB_BUTTONCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ButtonText(bar, i), texts[i]) << "button " << i;
        TBBUTTON b{};
        bar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(b.idCommand, i + 1) << "button " << i;
        EXPECT_EQ(b.dwData, static_cast<DWORD_PTR>(i)) << "button " << i;
    }
    EXPECT_EQ(f.GetMenu()->GetSafeHmenu(), bar.GetHMenu());
    // Rebuilding the buttons gives each its own text again; the pool stays as it was.
    const LRESULT pool = bar.SendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(L"x\0"));
    for (int i = 0; i < 3; ++i)
        bar.RecreateMenuBar(TRUE);
    EXPECT_EQ(bar.SendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(L"y\0")), pool + 1);
    // The same menu again: nothing to do; none: the bar hides.
    EXPECT_TRUE(bar.SetMenu(bar.GetHMenu()));
    const HMENU shown = bar.GetHMenu();
    EXPECT_TRUE(bar.SetMenu(nullptr));
    Pump();
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT, 0, 0), 0);
    ::DestroyMenu(shown);
}

TEST_F(BarInputTest, FrameWithoutMenuHasHiddenBar)
{
    auto* f = new CTestSDIFrame;
    ASSERT_TRUE(f->Make(nullptr));
    frame = f;
    Pump();
    EXPECT_NE(f->GetMenuBar().m_hWnd, nullptr);
    EXPECT_FALSE(f->GetMenuBar().IsWindowVisible());
    EXPECT_EQ(f->GetMenu(), nullptr);
}

TEST_F(BarInputTest, ClickOpensPopupWithMenuLoopInOrder)
{
    CTestSDIFrame& f = MakeSDI();
    f.log.msgs.clear();
    ClickButton(f.GetMenuBar(), 1);
    Pump();   // the popup tracks until the script runs dry (a cancel)
    // The bar's own notices come first, in this order, and the loop ends last.
    const std::vector<UINT> expected = {WM_ENTERMENULOOP, WM_INITMENU, WM_MENUSELECT, WM_INITMENUPOPUP,
        WM_EXITMENULOOP};
    const std::vector<UINT> loop = f.log.Loop();
    size_t at = 0;
    for (UINT m : loop)
        if (at < expected.size() && m == expected[at])
            ++at;
    EXPECT_EQ(at, expected.size()) << "the menu-loop messages in order";
    ASSERT_GE(loop.size(), 3u);
    EXPECT_EQ(loop[0], static_cast<UINT>(WM_ENTERMENULOOP));
    EXPECT_EQ(loop[1], static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(loop[2], static_cast<UINT>(WM_MENUSELECT));
    EXPECT_EQ(loop.back(), static_cast<UINT>(WM_EXITMENULOOP));
    ASSERT_EQ(f.log.InitPopupParams().size(), 1u);
    EXPECT_EQ(LOWORD(f.log.InitPopupParams()[0]), 1) << "the top-level index";
    for (const FrameMsg& m : f.log.msgs) {
        if (m.msg == WM_INITMENU) {
            EXPECT_EQ(reinterpret_cast<HMENU>(m.wParam), f.GetMenuBar().GetHMenu()) << "the frame sees its menu";
        }
    }
    EXPECT_EQ(f.GetMenuBar().GetDisplayedIndex(), -1);
    EXPECT_FALSE(f.GetMenuBar().IsInDisplayingMode());
    EXPECT_EQ(FirstSelected(f.log, f.GetMenuBar(), 1), 0u) << "a click selects no item";
}

TEST_F(BarInputTest, ClickOnOpenButtonClosesForGood)
{
    CTestSDIFrame& f = MakeSDI();
    f.log.msgs.clear();
    ClickButton(f.GetMenuBar(), 0);
    ClickButton(f.GetMenuBar(), 0);
    Pump();
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 1) << "the closing click opens nothing";
    EXPECT_EQ(f.GetMenuBar().GetClosedByClickIndex(), -1);
    // A later click opens it again.
    ClickButton(f.GetMenuBar(), 0);
    Pump();
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 2);
}

TEST_F(BarInputTest, KeyCloseWithCursorOnButtonSwallowsNoClick)
{
    CTestSDIFrame& f = MakeSDI();
    f.log.msgs.clear();
    ClickButton(f.GetMenuBar(), 0);
    Press(VK_ESCAPE);   // the popup closes by a key, the cursor still rests on the button
    Press(VK_ESCAPE);   // and surfing ends
    Pump();
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 1);
    ClickButton(f.GetMenuBar(), 0);
    Pump();
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 2) << "the next click on the button opens its popup";
}

TEST_F(BarInputTest, KeysThatOpenPopups)
{
    struct Row {
        const char* name;
        std::vector<std::pair<int, bool>> keys;   // virtual key, down
        int popup;                                // top-level index opened, -1 none
        UINT selected = 0;                        // the item selected at once (the first)
    };
    const std::vector<Row> rows = {
        {"Alt+F", {{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}}, 0, ID_NEW},
        {"Alt+e", {{VK_MENU, true}, {'E', true}, {'E', false}, {VK_MENU, false}}, 1, ID_UNDO},
        {"Alt+W", {{VK_MENU, true}, {'W', true}, {'W', false}, {VK_MENU, false}}, 4, ID_TILE},
        {"Ctrl+Alt+F", {{VK_CONTROL, true}, {VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false},
                           {VK_CONTROL, false}},
            -1},
        {"Alt+Q (no mnemonic)", {{VK_MENU, true}, {'Q', true}, {'Q', false}, {VK_MENU, false}}, -1},
        {"Alt, Enter", {{VK_MENU, true}, {VK_MENU, false}, {VK_RETURN, true}, {VK_RETURN, false}}, 0, ID_NEW},
        {"Alt, Down", {{VK_MENU, true}, {VK_MENU, false}, {VK_DOWN, true}, {VK_DOWN, false}}, 0, ID_NEW},
        {"F10, Right, Down", {{VK_F10, true}, {VK_F10, false}, {VK_RIGHT, true}, {VK_RIGHT, false}, {VK_DOWN, true},
                                 {VK_DOWN, false}},
            1, ID_UNDO},
        {"Alt, Left, Left, Enter (past Help to Window... View is grayed)",
            {{VK_MENU, true}, {VK_MENU, false}, {VK_LEFT, true}, {VK_LEFT, false}, {VK_RETURN, true},
                {VK_RETURN, false}},
            4, ID_TILE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CTestSDIFrame& f = MakeSDI();
        f.log.msgs.clear();
        for (const auto& [vk, down] : row.keys)
            user::InjectKey(vk, down);
        Pump();
        const std::vector<LPARAM> popups = f.log.InitPopupParams();
        if (row.popup < 0) {
            EXPECT_TRUE(popups.empty());
        } else {
            ASSERT_EQ(popups.size(), 1u);
            EXPECT_EQ(LOWORD(popups[0]), row.popup);
            EXPECT_EQ(FirstSelected(f.log, f.GetMenuBar(), row.popup), row.selected);
        }
        DropFrame();
    }
}

TEST_F(BarInputTest, AltAloneSurfsAndRestoresFocus)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    ASSERT_EQ(::GetFocus(), view);
    Press(VK_MENU);
    Pump();
    EXPECT_TRUE(bar.IsInSurfingMode());
    EXPECT_EQ(Hot(bar), 0);
    EXPECT_EQ(::GetFocus(), bar.m_hWnd);
    EXPECT_EQ(f.log.BarLoops(WM_ENTERMENULOOP), 1);
    Press(VK_RIGHT);
    Pump();
    EXPECT_EQ(Hot(bar), 1);
    Press(VK_MENU);
    Pump();
    EXPECT_FALSE(bar.IsInSurfingMode());
    EXPECT_EQ(::GetFocus(), view) << "the focus goes back";
    EXPECT_EQ(f.log.BarLoops(WM_EXITMENULOOP), 1);
    // Alt held with auto-repeat does nothing more than Alt once.
    KeyDown(VK_MENU);
    KeyDown(VK_MENU);
    KeyDown(VK_MENU);
    KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(bar.IsInSurfingMode());
    Press(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(bar.IsInSurfingMode());
    EXPECT_EQ(::GetFocus(), view);
    // Alt, another key, Alt released: no surfing.
    KeyDown(VK_MENU);
    Press('Q');
    KeyUp(VK_MENU);
    Pump();
    EXPECT_FALSE(bar.IsInSurfingMode());
}

TEST_F(BarInputTest, EscapeFromPopupBackToSurfingThenOut)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    Press(VK_MENU);
    Press(VK_RIGHT);
    Press(VK_DOWN);     // opens Edit
    Press(VK_ESCAPE);   // closes it: surfing on Edit again
    Pump();
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 1);
    EXPECT_TRUE(bar.IsInSurfingMode());
    EXPECT_EQ(Hot(bar), 1);
    EXPECT_EQ(f.log.BarLoops(WM_ENTERMENULOOP), 1) << "returning to surfing starts no second loop";
    Press(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(bar.IsInSurfingMode());
    EXPECT_EQ(::GetFocus(), view);
    EXPECT_EQ(f.log.BarLoops(WM_EXITMENULOOP), 1);
}

TEST_F(BarInputTest, LeftRightWalkAcrossPopups)
{
    CTestSDIFrame& f = MakeSDI();
    // Alt+F opens File; Right opens Edit; Left from the first level goes back to File;
    // Right on the Recent item (a submenu) opens the submenu instead of moving on.
    KeyDown(VK_MENU);
    Press('F');
    KeyUp(VK_MENU);
    Press(VK_RIGHT);
    Press(VK_LEFT);
    Press(VK_UP);   // Up from nothing: Recent (the last item)
    Press(VK_RIGHT);
    Pump();
    std::vector<int> tops;
    for (const FrameMsg& m : f.log.msgs)
        if (m.msg == WM_INITMENUPOPUP)
            tops.push_back(::GetSubMenu(f.GetMenuBar().GetHMenu(), 0) == reinterpret_cast<HMENU>(m.wParam) ? 0
                    : ::GetSubMenu(f.GetMenuBar().GetHMenu(), 1) == reinterpret_cast<HMENU>(m.wParam)      ? 1
                                                                                                           : 9);
    EXPECT_EQ(tops, (std::vector<int>{0, 1, 0, 9})) << "File, Edit, File, then File's submenu";
    EXPECT_EQ(FirstSelected(f.log, f.GetMenuBar(), 1), ID_UNDO) << "Right opens Edit on its first item";
    EXPECT_EQ(f.log.BarLoops(WM_ENTERMENULOOP), 1) << "one menu loop across the switches";
}

TEST_F(BarInputTest, MouseAlongTheBarSwitchesPopups)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    const auto opened = [&f] {
        std::vector<int> out;
        for (LPARAM lp : f.log.InitPopupParams())
            out.push_back(LOWORD(lp));
        return out;
    };
    const CPoint file = ButtonCentre(bar, 0);
    const CPoint edit = ButtonCentre(bar, 1);
    ClickButton(bar, 0);
    user::InjectMouseMove(file.x + 1, file.y);   // over the open one: nothing
    user::InjectMouseMove(edit.x, edit.y);
    Pump();
    EXPECT_EQ(opened(), (std::vector<int>{0, 1}));
    EXPECT_EQ(FirstSelected(f.log, bar, 1), 0u) << "the mouse selects no item";
    EXPECT_EQ(f.log.BarLoops(WM_ENTERMENULOOP), 1);
    EXPECT_EQ(f.log.BarLoops(WM_EXITMENULOOP), 1);
    // Onto the icon position of a bar without one, and past the last item: nothing opens.
    const CPoint window = ButtonCentre(bar, 4);
    ClickButton(bar, 1);
    user::InjectMouseMove(window.x, window.y);
    Pump();
    EXPECT_EQ(opened(), (std::vector<int>{0, 1, 1, 4}));
}

TEST_F(BarInputTest, CommandItemsRunAtOnceDisabledOnesDoNotOpen)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    f.log.msgs.clear();
    ClickButton(bar, 3);   // Help: a command
    ClickButton(bar, 2);   // View: grayed
    Pump();
    EXPECT_EQ(f.log.Commands(), (std::vector<WPARAM>{ID_HELPCMD}));
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 0);
    // The idle pass disables the grayed item's button.
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, 3, 0));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, 4, 0));
    // By keyboard: Alt+H runs it too.
    f.log.msgs.clear();
    KeyDown(VK_MENU);
    Press('H');
    KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(f.log.Commands(), (std::vector<WPARAM>{ID_HELPCMD}));
}

TEST_F(BarInputTest, VerticalBarKeys)
{
    CTestSDIFrame& f = MakeSDI();
    Bar& bar = f.GetMenuBar();
    f.DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    f.RecalcLayout();
    Pump();
    ASSERT_FALSE(bar.GetBarStyle() & CBRS_ORIENT_HORZ);
    Press(VK_MENU);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_UP);
    Pump();
    EXPECT_EQ(Hot(bar), 1);
    std::vector<WORD> selected;
    for (const FrameMsg& m : f.log.msgs)
        if (m.msg == WM_MENUSELECT)
            selected.push_back(LOWORD(m.wParam));
    EXPECT_EQ(selected, (std::vector<WORD>{0, 1, 2, 1})) << "each move of the hot item";
    Press(VK_RIGHT);   // across a vertical bar: opens
    Pump();
    ASSERT_EQ(f.log.InitPopupParams().size(), 1u);
    EXPECT_EQ(LOWORD(f.log.InitPopupParams()[0]), 1);
}

TEST_F(BarInputTest, AltF4ClosesTheFrame)
{
    CTestSDIFrame& f = MakeSDI();
    const HWND h = f.m_hWnd;
    KeyDown(VK_MENU);
    Press(VK_F4);
    KeyUp(VK_MENU);
    Pump();
    EXPECT_FALSE(::IsWindow(h));
    frame = nullptr;
}

TEST_F(BarInputTest, TwoHostsShareOneHookPair)
{
    CTestSDIFrame& first = MakeSDI();
    const size_t withOne = user::LiveHookCount();
    EXPECT_EQ(withOne, hooksBefore + 3) << "keyboard and mouse hooks of the hosts, the bars' mouse hook";
    auto* second = new CTestSDIFrame;
    ASSERT_TRUE(second->Make(MakeSampleMenu(), CRect(150, 150, 600, 400)));
    Pump();
    EXPECT_EQ(user::LiveHookCount(), withOne);
    EXPECT_EQ(COXMenuBar::GetMouseHookUsers(), 2);
    second->DestroyWindow();
    Pump();
    EXPECT_EQ(user::LiveHookCount(), withOne);
    EXPECT_EQ(COXMenuBar::GetMouseHookUsers(), 1);
    first.DestroyWindow();
    frame = nullptr;
    Pump();
    EXPECT_EQ(user::LiveHookCount(), hooksBefore);
    EXPECT_EQ(COXMenuBar::GetMouseHookUsers(), 0);
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

TEST_F(BarInputTest, HelpModeClickOpensPopupAndAsksHelpForThePick)
{
    CTestSDIFrame& f = MakeSDI();
    f.m_bAutoMenuEnable = FALSE;   // the frame has no handlers: its items stay enabled
    afx::ClearWinHelpCalls();
    f.PostMessage(WM_COMMAND, ID_CONTEXT_HELP);   // help mode starts from the frame's loop
    ClickButton(f.GetMenuBar(), 1);               // Edit opens
    Press(VK_DOWN);
    Press(VK_RETURN);                             // Undo is picked
    Pump();
    ASSERT_FALSE(afx::WinHelpCalls().empty());
    EXPECT_EQ(afx::WinHelpCalls().back().dwData, static_cast<DWORD_PTR>(HID_BASE_COMMAND + ID_UNDO));
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 1);
    EXPECT_EQ(f.m_bHelpMode, CFrameWnd::HELP_INACTIVE);
}

} // namespace
} // namespace zyn::test
