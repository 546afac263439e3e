// The organizer converting a frame's popups while they are shown and giving them back
// exactly (every item's type, state, command, text, submenu, data and bitmap), however it
// lets go; the system menus it leaves alone and the MDI child's system menu it converts
// only while it is shown; mnemonics of owner-drawn items; a second conversion.
#include <functional>

#include "platform/afx/mdi.h"
#include "tests/menus/organizer_test_support.h"

namespace zyn::test {
namespace {

bool IsOwnerDrawnWithRecord(HMENU menu, int pos, COXBitmapMenu* wrapper)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    return ::GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) &&
        wrapper && wrapper->GetItemInfo(mii.dwItemData);
}

TEST_F(OrganizerTest, TheFramesMenusComeBackExactlyHoweverTheOrganizerLetsGo)
{
    const std::vector<ItemSnap> before = SnapMenu(m_frame->bar);
    struct Row {
        const char* how;
        bool hideSome;
        std::function<void(std::unique_ptr<COXBitmapMenuOrganizer>&)> letGo;
    };
    const Row rows[] = {
        {"detached", false, [](auto& o) { o->DetachFrameWnd(); }},
        {"emptied", false, [](auto& o) { o->Empty(TRUE); }},
        {"emptied without items", false, [](auto& o) { o->Empty(FALSE); }},
        {"destroyed", false, [](auto& o) { o.reset(); }},
        {"detached with items hidden", true, [](auto& o) { o->DetachFrameWnd(); }},
        {"destroyed with items hidden", true, [](auto& o) { o.reset(); }},
    };
    for (const Row& row : rows) {
        auto organizer = std::make_unique<COXBitmapMenuOrganizer>();
        ASSERT_TRUE(organizer->AttachFrameWnd(m_frame)) << row.how;
        organizer->ShowOnlyRecentlyUsedItems(row.hideSome);
        // Hidden: a command, the submenu item (kept alive while out) and the bitmap item.
        organizer->ExcludeFromRecentlyUsed(static_cast<int>(ID_O_NEW));
        organizer->ExcludeFromRecentlyUsed(static_cast<int>(ID_O_PICTURE));
        organizer->ExcludeSubmenuFromRecentlyUsed(m_frame->recent);
        std::vector<UINT> shown;
        bool converted = false;
        user::QueueIdleAction([&] {
            COXBitmapMenu* wrapper = organizer->FindConvertedMenu(m_frame->file);
            shown = IdsOf(m_frame->file);
            converted = true;
            for (int i = 0; i < ::GetMenuItemCount(m_frame->file); ++i) {
                // The bitmap item is left to the window system, which draws its picture.
                const bool bitmap = ::GetMenuItemID(m_frame->file, i) == ID_O_PICTURE;
                converted = converted && IsOwnerDrawnWithRecord(m_frame->file, i, wrapper) != bitmap;
            }
            user::InjectKeyPress(VK_ESCAPE);
            user::InjectKeyPress(VK_ESCAPE);
        });
        OpenBar(L'f');
        EXPECT_TRUE(converted) << row.how << ": every item shown but the bitmap is owner-drawn with a record";
        const std::vector<UINT> all{ID_O_NEW, ID_O_OPEN, 0, ID_O_PRINT, static_cast<UINT>(-1), ID_O_PICTURE,
            ID_O_RADIO, ID_O_OWNER, ID_O_EXIT};
        const std::vector<UINT> recentOnly{ID_O_OPEN, 0, ID_O_PRINT, ID_O_RADIO, ID_O_OWNER, ID_O_EXIT,
            ID_OX_SHOWALLITEMS};
        EXPECT_EQ(shown, row.hideSome ? recentOnly : all) << row.how;
        EXPECT_EQ(organizer->GetConvertedMenuCount(), 1) << row.how << ": the popup stays converted after the loop";
        row.letGo(organizer);
        EXPECT_EQ(SnapMenu(m_frame->bar), before) << row.how;
        EXPECT_EQ(CMenu::FromHandlePermanent(m_frame->file), nullptr) << row.how << ": no wrapper left";
    }
}

TEST_F(OrganizerTest, ASecondConversionKeepsTheRecordsAndTakesNewText)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    organizer.ShowOnlyRecentlyUsedItems(FALSE);
    CMenu* edit = CMenu::FromHandle(m_frame->edit);
    organizer.OnInitMenuPopup(edit, 1, FALSE);
    COXBitmapMenu* wrapper = organizer.FindConvertedMenu(m_frame->edit);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CMenu::FromHandle(m_frame->edit), wrapper) << "the wrapper is the popup's CMenu now";
    auto recordOf = [&](int pos) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        ::GetMenuItemInfoW(m_frame->edit, static_cast<UINT>(pos), TRUE, &mii);
        return wrapper->GetItemInfo(mii.dwItemData);
    };
    const COXItemInfo* undo = recordOf(0);
    ASSERT_NE(undo, nullptr);
    // The application makes "Redo" a plain string item with a new text meanwhile.
    ::ModifyMenuW(m_frame->edit, 1, MF_BYPOSITION | MF_STRING, ID_O_REDO, L"&Redo typing");
    organizer.OnInitMenuPopup(CMenu::FromHandle(m_frame->edit), 1, FALSE);
    EXPECT_EQ(organizer.FindConvertedMenu(m_frame->edit), wrapper);
    EXPECT_EQ(recordOf(0), undo) << "the record stays";
    ASSERT_NE(recordOf(1), nullptr);
    EXPECT_EQ(recordOf(1)->GetText(), CString(L"&Redo typing"));
    organizer.DetachFrameWnd();
    wchar_t text[64] = {};
    ::GetMenuStringW(m_frame->edit, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Redo typing");
    EXPECT_EQ(::GetMenuState(m_frame->edit, 1, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
}

TEST_F(OrganizerTest, MnemonicsChooseByThePositionAfterItemsWereTakenOut)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    // "&New" (0) and the separator's group are gone: "E&xit" is at 5, not 8.
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_NEW));
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_PICTURE));
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->recent);
    user::QueueIdleAction([] { user::InjectChar(L'x'); });
    OpenBar(L'f');
    Pump();
    EXPECT_EQ(m_frame->commands, std::vector<UINT>{ID_O_EXIT});
    // "Save && Exit" has no mnemonic s; an ampersand pair is a literal one.
    ::ModifyMenuW(m_frame->edit, 0, MF_BYPOSITION | MF_STRING, ID_O_UNDO, L"Save && E&xit");
    organizer.OnInitMenuPopup(CMenu::FromHandle(m_frame->edit), 1, FALSE);
    CMenu* edit = CMenu::FromHandle(m_frame->edit);
    EXPECT_EQ(organizer.OnMenuChar(L'&', 0, edit), 0);
    EXPECT_EQ(organizer.OnMenuChar(L's', 0, edit), 0);
    EXPECT_EQ(organizer.OnMenuChar(L'x', 0, edit), MAKELRESULT(0, MNC_EXECUTE));
}

TEST_F(OrganizerTest, AMenuTheMenuBarConvertedIsGivenBackWithTheOthers)
{
    COXBitmapMenuOrganizer organizer;
    const HMENU popup = ::CreatePopupMenu();
    auto* converted = new COXBitmapMenu; // the organizer's once it takes it
    ASSERT_TRUE(converted->Attach(popup));
    AppendOwnerDrawn(*converted, 0, ID_OXMDI_CLOSE, nullptr, L"&Close\tCtrl+F4");
    ::AppendMenuW(popup, MF_STRING, 5, L"&Plain");
    EXPECT_FALSE(organizer.AddConvertedMenu(nullptr));
    ASSERT_TRUE(organizer.AddConvertedMenu(converted));
    EXPECT_FALSE(organizer.AddConvertedMenu(converted)) << "taken already";
    EXPECT_EQ(organizer.FindConvertedMenu(popup), converted);
    organizer.Empty(TRUE);
    // Nothing says what the converted item was: a string item with its text, and the
    // system command the stand-in stood for.
    EXPECT_EQ(IdsOf(popup), (std::vector<UINT>{SC_CLOSE, 5}));
    wchar_t text[32] = {};
    ::GetMenuStringW(popup, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Close\tCtrl+F4");
    EXPECT_EQ(::GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    EXPECT_EQ(CMenu::FromHandlePermanent(popup), nullptr);
    ::DestroyMenu(popup);
}

TEST_F(OrganizerTest, APopupItsOwnerDestroyedLeavesNothingBehind)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    organizer.ExcludeFromRecentlyUsed(2);
    const size_t menusAtStart = user::LiveMenuCount();
    for (int turn = 0; turn < 3; ++turn) {
        // A context menu made for one showing, with a hidden submenu item.
        CMenu context;
        context.CreatePopupMenu();
        context.AppendMenu(MF_STRING, 1, L"&One");
        const HMENU sub = ::CreatePopupMenu();
        ::AppendMenuW(sub, MF_STRING, 3, L"&Three");
        organizer.ExcludeSubmenuFromRecentlyUsed(sub);
        context.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Sub");
        user::QueueIdleAction([] { user::InjectKeyPress(VK_ESCAPE); });
        context.TrackPopupMenu(TPM_RETURNCMD, 50, 50, m_frame);
        EXPECT_EQ(organizer.GetConvertedMenuCount(), 1) << turn << ": the last one only";
        EXPECT_EQ(CMenu::FromHandle(context.GetSafeHmenu()), organizer.FindConvertedMenu(context.GetSafeHmenu()));
        context.DestroyMenu();
        EXPECT_TRUE(::IsMenu(sub)) << turn << ": taken out, so not destroyed with it";
    }
    organizer.Empty(TRUE);
    EXPECT_EQ(organizer.GetConvertedMenuCount(), 0);
    EXPECT_EQ(user::LiveMenuCount(), menusAtStart) << "the hidden submenus went with their popups";
}

TEST_F(OrganizerTest, TheFramesSystemMenuIsNeitherConvertedNorTraced)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    const HMENU sys = ::GetSystemMenu(m_frame->GetSafeHwnd(), FALSE);
    const std::vector<ItemSnap> before = SnapMenu(sys);
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sys), MAKELPARAM(0, TRUE));
    // A popup of the system style shown from the bar, not an MDI child's: left alone too.
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sys), MAKELPARAM(0, FALSE));
    EXPECT_EQ(organizer.FindConvertedMenu(sys), nullptr);
    EXPECT_TRUE(organizer.GetPopupTrace().empty());
    EXPECT_EQ(SnapMenu(sys), before);
}

// ---- an MDI child's system menu ------------------------------------------------------------------------------------

class MdiMain : public CMDIFrameWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        const HMENU bar = ::CreateMenu();
        const HMENU window = ::CreatePopupMenu();
        ::AppendMenuW(window, MF_STRING, 0xE130, L"&Cascade");
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
        cs.hMenu = bar;
        m_hMenuDefault = bar;
        m_bAutoMenuEnable = FALSE;
        return CMDIFrameWnd::PreCreateWindow(cs);
    }
};

class OrganizerMdiTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        m_app = std::make_unique<CWinApp>(L"OrganizerMdiTest");
        m_frame = new MdiMain;
        ASSERT_TRUE(m_frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app->m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_child = new CMDIChildWnd;
        ASSERT_TRUE(m_child->Create(nullptr, L"doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150),
            m_frame));
        m_child->MDIMaximize();
        Pump();
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
            m_app->m_pMainWnd->DestroyWindow();
        m_app.reset();
        MenuTest::TearDown();
    }
    std::unique_ptr<CWinApp> m_app;
    MdiMain* m_frame = nullptr;
    CMDIChildWnd* m_child = nullptr;
};

TEST_F(OrganizerMdiTest, AMaximisedChildsSystemMenuIsConvertedWhileShownAndItsCloseClosesTheChild)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    const HWND hChild = m_child->GetSafeHwnd();
    const HMENU childSys = ::GetSystemMenu(hChild, FALSE);
    ASSERT_EQ(::GetSubMenu(::GetMenu(m_frame->GetSafeHwnd()), 0), childSys) << "the bar carries the child's menu";
    const std::vector<ItemSnap> before = SnapMenu(childSys);
    const int closeAt = PositionOf(childSys, SC_CLOSE);
    const int restoreAt = PositionOf(childSys, SC_RESTORE);
    const int minimiseAt = PositionOf(childSys, SC_MINIMIZE);
    ASSERT_GE(closeAt, 0);
    std::vector<UINT> whileShown;
    bool ownerDrawn = false;
    // Alt alone highlights the bar's first entry, the child's system menu; Down opens it.
    user::QueueIdleAction([] { user::InjectKeyPress(VK_DOWN); });
    user::QueueIdleAction([&] {
        whileShown = {::GetMenuItemID(childSys, restoreAt), ::GetMenuItemID(childSys, minimiseAt),
            ::GetMenuItemID(childSys, closeAt)};
        ownerDrawn = (::GetMenuState(childSys, static_cast<UINT>(closeAt), MF_BYPOSITION) & MF_OWNERDRAW) != 0;
        user::InjectKeyPress(VK_ESCAPE);
        user::InjectKeyPress(VK_ESCAPE);
    });
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
    EXPECT_EQ(whileShown, (std::vector<UINT>{28137, 28138, 28139}));
    EXPECT_TRUE(ownerDrawn);
    EXPECT_EQ(SnapMenu(childSys), before) << "closed, the child's system menu is its own again";
    EXPECT_EQ(organizer.FindConvertedMenu(childSys), nullptr);

    // Choosing the converted close (by its mnemonic): the organizer carries it out on the
    // active child.
    user::QueueIdleAction([] { user::InjectKeyPress(VK_DOWN); });
    user::QueueIdleAction([] { user::InjectChar(L'c'); });
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(hChild)) << "command 28139 closed the child";
}

} // namespace
} // namespace zyn::test
