// CMenu over the menu data model: ownership and temporaries, item updates through CCmdUI
// (in the idle pass too), owner-drawn items measured by the CMenu that owns them.
#include <vector>

#include "platform/base/cstring.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_OPEN = 0xE101, ID_SAVE = 0xE103, ID_NOBODY = 0x8001, ID_CHECKED = 0x8002, ID_RADIO = 0x8003,
               ID_RENAMED = 0x8004, ID_SUB_FIRST = 0x8010, ID_OWNER = 0x8020;

UINT StateOf(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND); }

using MenuTest = AfxTest;

TEST_F(MenuTest, AMenuObjectOwnsItsMenuAndTemporariesDoNot)
{
    const size_t before = user::LiveMenuCount();
    HMENU hPopup = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        EXPECT_FALSE(menu.CreateMenu()) << "one menu per object";
        hPopup = menu.m_hMenu;
        EXPECT_TRUE(CMenu::IsMenu(hPopup));
        EXPECT_EQ(CMenu::FromHandlePermanent(hPopup), &menu);
        EXPECT_EQ(CMenu::FromHandle(hPopup), &menu);
        ASSERT_TRUE(menu.AppendMenu(MF_STRING, ID_OPEN, L"&Open"));
        ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
        CMenu sub;
        ASSERT_TRUE(sub.CreatePopupMenu());
        ASSERT_TRUE(sub.AppendMenu(MF_STRING, ID_SUB_FIRST, L"Sub item"));
        ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), L"More"));
        EXPECT_EQ(menu.GetMenuItemCount(), 3u);
        EXPECT_EQ(menu.GetMenuItemID(0), ID_OPEN);
        EXPECT_EQ(menu.GetMenuItemID(1), 0u);
        EXPECT_EQ(menu.GetMenuItemID(2), static_cast<UINT>(-1));
        CString text;
        EXPECT_EQ(menu.GetMenuString(0, text, MF_BYPOSITION), 5);
        EXPECT_STREQ(text.GetString(), L"&Open");
        // A popup reached through its parent is a temporary, freed at idle; the menu stays.
        CMenu* pSub = menu.GetSubMenu(2);
        ASSERT_NE(pSub, nullptr);
        EXPECT_EQ(CMenu::FromHandlePermanent(pSub->m_hMenu), nullptr);
        EXPECT_EQ(afx::TemporaryMenuCount(), 1u);
        const HMENU hSub = pSub->m_hMenu;
        AfxUnlockTempMaps();
        EXPECT_EQ(afx::TemporaryMenuCount(), 0u);
        EXPECT_TRUE(CMenu::IsMenu(hSub));
    }
    EXPECT_FALSE(CMenu::IsMenu(hPopup)) << "the owner destroyed it with its submenu";
    EXPECT_EQ(user::LiveMenuCount(), before);
    // Detach hands the menu over.
    CMenu keep;
    ASSERT_TRUE(keep.CreateMenu());
    const HMENU h = keep.Detach();
    EXPECT_EQ(CMenu::FromHandlePermanent(h), nullptr);
    EXPECT_TRUE(CMenu::IsMenu(h));
    EXPECT_TRUE(DestroyMenu(h));
}

TEST_F(MenuTest, LoadingFromATemplate)
{
    // A MENU template: header, a popup "File" holding "Open" (100), both last of their level.
    std::vector<WORD> t{0, 0, 0x0010 | 0x0080};
    for (wchar_t c : std::wstring(L"File"))
        t.push_back(static_cast<WORD>(c));
    t.push_back(0);
    t.push_back(0x0080);
    t.push_back(100);
    for (wchar_t c : std::wstring(L"Open"))
        t.push_back(static_cast<WORD>(c));
    t.push_back(0);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenuIndirect(t.data()));
    ASSERT_EQ(menu.GetMenuItemCount(), 1u);
    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetMenuItemID(0), 100u);
    EXPECT_FALSE(menu.LoadMenuIndirect(t.data())) << "the object holds a menu already";
    CMenu none;
    SetLastError(0);
    EXPECT_FALSE(none.LoadMenu(0x7FFF)) << "no such resource";
    EXPECT_NE(GetLastError(), 0u);
}

class CCommands : public CCmdTarget {
public:
    BOOL canSave = FALSE;
    afx_msg void OnOpen() {}
    afx_msg void OnSave() {}
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(canSave); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(TRUE); }
    afx_msg void OnUpdateRenamed(CCmdUI* pCmdUI) { pCmdUI->SetText(L"Renamed"); }
    afx_msg void OnUpdateSubFirst(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommands, CCmdTarget)
    ON_COMMAND(ID_OPEN, &CCommands::OnOpen)
    ON_COMMAND(ID_SAVE, &CCommands::OnSave)
    ON_UPDATE_COMMAND_UI(ID_SAVE, &CCommands::OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, &CCommands::OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_RADIO, &CCommands::OnUpdateRadio)
    ON_UPDATE_COMMAND_UI(ID_RENAMED, &CCommands::OnUpdateRenamed)
    ON_UPDATE_COMMAND_UI(ID_SUB_FIRST, &CCommands::OnUpdateSubFirst)
END_MESSAGE_MAP()

// A popup with every kind of item.
void FillPopup(CMenu& popup)
{
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_OPEN, L"Open");
    popup.AppendMenu(MF_STRING, ID_SAVE, L"Save");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, ID_NOBODY, L"Nobody");
    popup.AppendMenu(MF_STRING | MF_CHECKED, ID_CHECKED, L"Checked");
    popup.AppendMenu(MF_STRING, ID_RADIO, L"Radio");
    popup.AppendMenu(MF_STRING | MF_GRAYED, ID_RENAMED, L"Old name");
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, ID_SUB_FIRST, L"First");
    popup.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
    popup.AppendMenu(MF_STRING, SC_CLOSE, L"Close");
}

TEST_F(MenuTest, PopupItemsAreUpdatedThroughTheRoutingChain)
{
    CCommands target;
    CMenu popup;
    FillPopup(popup);
    AfxUpdatePopupMenu(&popup, &target, TRUE);
    const HMENU h = popup.m_hMenu;
    EXPECT_EQ(StateOf(h, ID_OPEN) & MF_GRAYED, 0u) << "a command handler exists";
    EXPECT_EQ(StateOf(h, ID_SAVE) & (MF_GRAYED | MF_DISABLED), MF_GRAYED | MF_DISABLED) << "its handler disabled it";
    EXPECT_EQ(StateOf(h, ID_NOBODY) & MF_GRAYED, static_cast<UINT>(MF_GRAYED)) << "nobody handles it";
    EXPECT_EQ(StateOf(h, ID_CHECKED) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(popup.GetMenuItemInfo(ID_RADIO, &mii));
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(mii.fState & MFS_CHECKED);
    CString text;
    popup.GetMenuString(ID_RENAMED, text, MF_BYCOMMAND);
    EXPECT_STREQ(text.GetString(), L"Renamed");
    EXPECT_EQ(StateOf(h, ID_RENAMED) & MF_GRAYED, static_cast<UINT>(MF_GRAYED)) << "SetText kept the state";
    // The item that opens a submenu is routed by the submenu's first item and never
    // disabled; the first item itself is not touched from here.
    EXPECT_EQ(GetMenuState(h, 7, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(StateOf(h, ID_SUB_FIRST) & MF_GRAYED, 0u);
    EXPECT_EQ(StateOf(h, SC_CLOSE) & MF_GRAYED, 0u) << "system commands are never disabled automatically";
    // Enabled again once the handler says so.
    target.canSave = TRUE;
    AfxUpdatePopupMenu(&popup, &target, TRUE);
    EXPECT_EQ(StateOf(h, ID_SAVE) & MF_GRAYED, 0u);
    // Without automatic disabling, items nobody handles keep their state.
    popup.EnableMenuItem(ID_NOBODY, MF_BYCOMMAND | MF_ENABLED);
    AfxUpdatePopupMenu(&popup, &target, FALSE);
    EXPECT_EQ(StateOf(h, ID_NOBODY) & MF_GRAYED, 0u);
}

// A handler that removes items while the popup is being updated.
class CRemover : public CCmdTarget {
public:
    CMenu* popup = nullptr;
    int updates = 0;
    afx_msg void OnUpdateAny(CCmdUI* pCmdUI)
    {
        ++updates;
        if (pCmdUI->m_nID == ID_OPEN)
            popup->DeleteMenu(0, MF_BYPOSITION); // itself
        pCmdUI->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRemover, CCmdTarget)
    ON_UPDATE_COMMAND_UI_RANGE(0x8000, 0xF000, &CRemover::OnUpdateAny)
END_MESSAGE_MAP()

TEST_F(MenuTest, ItemsRemovedByAHandlerDoNotDerailTheUpdate)
{
    // The first item removes itself.
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_OPEN, L"Open");
    popup.AppendMenu(MF_STRING, ID_NOBODY, L"A");
    popup.AppendMenu(MF_STRING, ID_CHECKED, L"B");
    CRemover target;
    target.popup = &popup;
    AfxUpdatePopupMenu(&popup, &target, TRUE);
    EXPECT_EQ(popup.GetMenuItemCount(), 2u);
    EXPECT_EQ(target.updates, 3) << "each item updated once";
    // An item removes the one before it.
    CMenu second;
    ASSERT_TRUE(second.CreatePopupMenu());
    second.AppendMenu(MF_STRING, ID_NOBODY, L"A");
    second.AppendMenu(MF_STRING, ID_OPEN, L"Open");
    second.AppendMenu(MF_STRING, ID_CHECKED, L"B");
    target.popup = &second;
    target.updates = 0;
    AfxUpdatePopupMenu(&second, &target, TRUE);
    EXPECT_EQ(second.GetMenuItemCount(), 2u);
    EXPECT_EQ(target.updates, 3) << "the item after the remover is not skipped";
}

// ---- in the idle pass -------------------------------------------------------------------------------------------

class CMainWithMenu : public CWnd {
public:
    BOOL canSave = FALSE;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
    {
        // The menu bar's first popup and the child controls, as a frame would.
        if (CMenu* bar = GetMenu())
            AfxUpdatePopupMenu(bar->GetSubMenu(0), this, static_cast<BOOL>(wParam), bar);
        UpdateDialogControls(this, static_cast<BOOL>(wParam));
        return 0;
    }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(canSave); }
    afx_msg void OnSave() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWithMenu, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMainWithMenu::OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_SAVE, &CMainWithMenu::OnUpdateSave)
    ON_COMMAND(ID_SAVE, &CMainWithMenu::OnSave)
END_MESSAGE_MAP()

TEST_F(MenuTest, TheIdlePassUpdatesAMenuItemAndAChildControl)
{
    CWinApp app(L"MenuIdle");
    CMainWithMenu main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
        nullptr, nullptr));
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_SAVE, L"&Save");
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ASSERT_TRUE(main.SetMenu(&bar));
    EXPECT_EQ(main.GetMenu(), &bar);
    const HWND saveButton = MakePlain(WS_CHILD | WS_VISIBLE, main.m_hWnd, ID_SAVE);
    app.m_pMainWnd = &main;
    app.OnIdle(0);
    EXPECT_EQ(StateOf(file, ID_SAVE) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_FALSE(IsWindowEnabled(saveButton));
    main.canSave = TRUE;
    app.OnIdle(0);
    EXPECT_EQ(StateOf(file, ID_SAVE) & MF_GRAYED, 0u);
    EXPECT_TRUE(IsWindowEnabled(saveButton));
    app.m_pMainWnd = nullptr;
    main.SetMenu(nullptr);
    main.DestroyWindow();
}

// ---- owner-drawn items ---------------------------------------------------------------------------------------------

class COwnerMenu : public CMenu {
public:
    UINT measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        measured = lpMIS->itemID;
        lpMIS->itemWidth = 77;
        lpMIS->itemHeight = 19;
    }
};

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredByTheMenuThatHoldsThem)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    COwnerMenu owner;
    ASSERT_TRUE(owner.CreatePopupMenu());
    owner.AppendMenu(MF_OWNERDRAW, ID_OWNER, reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(0x1234)));
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(owner.m_hMenu), L"View");
    ASSERT_TRUE(wnd.SetMenu(&bar));
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_OWNER;
    mis.itemData = 0x1234;
    EXPECT_EQ(wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
    EXPECT_EQ(owner.measured, ID_OWNER) << "found through the window's menu bar";
    EXPECT_EQ(mis.itemWidth, 77u);
    // While a popup is tracked from the window, the search starts at the tracked menu.
    COwnerMenu tracked;
    ASSERT_TRUE(tracked.CreatePopupMenu());
    tracked.AppendMenu(MF_OWNERDRAW, ID_OWNER + 1, reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(1)));
    AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_hTrackingWindow = wnd.m_hWnd;
    state->m_hTrackingMenu = tracked.m_hMenu;
    mis.itemID = ID_OWNER + 1;
    wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    state->m_hTrackingWindow = nullptr;
    state->m_hTrackingMenu = nullptr;
    EXPECT_EQ(tracked.measured, ID_OWNER + 1);
    // An item no menu object holds is left to the default processing.
    mis.itemID = 0x7777;
    wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    // The owner menu is destroyed with the bar it hangs in: let the bar own it.
    owner.Detach();
    wnd.SetMenu(nullptr);
    wnd.DestroyWindow();
}

TEST_F(MenuTest, TheSystemMenuThroughTheWindow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CMenu* sys = wnd.GetSystemMenu(FALSE);
    ASSERT_NE(sys, nullptr);
    EXPECT_NE(sys->GetMenuState(SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(wnd.GetSystemMenu(TRUE), nullptr) << "reverting gives no menu";
    wnd.DestroyWindow();
}

TEST_F(MenuTest, APopupWhoseMenuIsGoneUpdatesNothingAndReturns)
{
    CCommands target;
    CMenu popup;
    FillPopup(popup);
    const HMENU h = popup.Detach();
    ASSERT_TRUE(DestroyMenu(h));
    CMenu stale;
    stale.Attach(h); // a stale handle: its item count cannot be read
    AfxUpdatePopupMenu(&stale, &target, TRUE);
    stale.Detach();
    SUCCEED() << "returned instead of walking 2^32 positions";
}


// ---- tracking a popup ------------------------------------------------------------------------------------------

class CTrackedMenu : public CMenu {
public:
    std::vector<UINT> measured;
    std::vector<std::pair<UINT, UINT>> drawn; // item, ODS_ state
    HMENU trackingMenuSeen = nullptr;
    HWND trackingWindowSeen = nullptr;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        measured.push_back(lpMIS->itemID);
        lpMIS->itemWidth = 60;
        lpMIS->itemHeight = 18;
        trackingMenuSeen = AfxGetThreadState()->m_hTrackingMenu;
        trackingWindowSeen = AfxGetThreadState()->m_hTrackingWindow;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.emplace_back(lpDIS->itemID, lpDIS->itemState); }
};

TEST_F(MenuTest, TrackPopupMenuRunsTheLoopAndItsOwnerDrawnItemsReachTheMenu)
{
    user::SetScriptedMode(true);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
        nullptr));
    CTrackedMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, ID_OWNER, reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(1)));
    menu.AppendMenu(MF_OWNERDRAW, ID_OWNER + 1, reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(2)));
    // Down twice and Enter: the second item is chosen and handed back.
    for (int vk : {VK_DOWN, VK_DOWN, VK_RETURN})
        user::InjectKeyPress(vk);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 40, 40, &wnd), static_cast<BOOL>(ID_OWNER + 1));
    EXPECT_EQ(menu.measured, (std::vector<UINT>{ID_OWNER, ID_OWNER + 1}));
    EXPECT_EQ(menu.trackingMenuSeen, menu.m_hMenu) << "the thread state names the tracked menu while measuring";
    EXPECT_EQ(menu.trackingWindowSeen, wnd.m_hWnd);
    EXPECT_EQ(AfxGetThreadState()->m_hTrackingMenu, nullptr) << "and forgets it afterwards";
    // Painted whole, then highlighted in turn.
    const std::vector<std::pair<UINT, UINT>> drawn{{ID_OWNER, 0}, {ID_OWNER + 1, 0}, {ID_OWNER, ODS_SELECTED},
        {ID_OWNER, 0}, {ID_OWNER + 1, ODS_SELECTED}};
    EXPECT_EQ(menu.drawn, drawn);
    Pump();
    // Without a menu, or without a window, nothing is tracked.
    CMenu none;
    SetLastError(0);
    EXPECT_FALSE(none.TrackPopupMenu(0, 0, 0, &wnd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(menu.TrackPopupMenuEx(0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    wnd.DestroyWindow();
}

} // namespace
} // namespace zyn::test
