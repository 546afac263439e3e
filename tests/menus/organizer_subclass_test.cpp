// The organizer in front of the frame's and the MDI client's window procedures: each
// window's own procedure keeps getting every message, also after the organizer let go of
// a window somebody else subclassed later, up to its WM_NCDESTROY; what the organizer
// does not measure reaches the frame; one organizer per frame; a frame that goes first.
#include <map>

#include "platform/afx/mdi.h"
#include "tests/menus/organizer_test_support.h"

namespace zyn::test {
namespace {

// Two procedures around another one: the one under records what reaches it.
std::map<HWND, WNDPROC> g_under, g_over;
std::vector<UINT> g_reachedUnder;
LRESULT UnderProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_DESTROY || m == WM_NCDESTROY || m == WM_MDIDESTROY)
        g_reachedUnder.push_back(m);
    return ::CallWindowProcW(g_under[h], h, m, wp, lp);
}
LRESULT OverProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return ::CallWindowProcW(g_over[h], h, m, wp, lp); }

WNDPROC Subclass(HWND h, WNDPROC proc)
{
    return reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

class Mdi : public CMDIFrameWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        const HMENU bar = ::CreateMenu();
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&Window");
        cs.hMenu = bar;
        m_hMenuDefault = bar;
        return CMDIFrameWnd::PreCreateWindow(cs);
    }
};

using OrganizerChainTest = MenuTest;

TEST_F(OrganizerChainTest, TheMdiClientsOwnProcedureSeesItsLastMessagesAfterTheOrganizerLetGo)
{
    struct Row {
        const char* what;
        bool laterSubclass; // somebody subclasses the client after the organizer
        bool detachFirst;
    };
    for (const Row& row : {Row{"attached to the end", false, false}, Row{"detached, nobody after it", false, true},
             Row{"detached, somebody after it", true, true}, Row{"attached, somebody after it", true, false}}) {
        CWinApp app(L"ChainTest");
        auto* frame = new Mdi; // deletes itself with its window
        ASSERT_TRUE(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
        const HWND client = frame->m_hWndMDIClient;
        ASSERT_NE(client, nullptr);
        g_reachedUnder.clear();
        g_under[client] = Subclass(client, &UnderProc);
        COXBitmapMenuOrganizer organizer;
        ASSERT_TRUE(organizer.AttachFrameWnd(frame)) << row.what;
        if (row.laterSubclass)
            g_over[client] = Subclass(client, &OverProc);
        if (row.detachFirst) {
            EXPECT_EQ(organizer.DetachFrameWnd(), frame) << row.what;
        }
        auto* child = new CMDIChildWnd;
        ASSERT_TRUE(child->Create(nullptr, L"doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80), frame));
        ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child->GetSafeHwnd()), 0);
        frame->DestroyWindow();
        EXPECT_EQ(g_reachedUnder, (std::vector<UINT>{WM_MDIDESTROY, WM_DESTROY, WM_NCDESTROY})) << row.what;
        EXPECT_FALSE(organizer.IsAttached()) << row.what;
        EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(client), nullptr) << row.what;
        g_under.clear();
        g_over.clear();
    }
}

TEST_F(OrganizerTest, WhatTheOrganizerDoesNotMeasureReachesTheFrame)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    // The frame's own owner-drawn item: no popup of the organizer holds it.
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, ID_O_OWNER, 0, 0, 0x1234};
    EXPECT_TRUE(::SendMessageW(m_frame->GetSafeHwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(mis.itemWidth, 40u);
    EXPECT_EQ(mis.itemHeight, 16u);
    // A converted popup's item is the organizer's: measured by its bitmap menu.
    organizer.ShowOnlyRecentlyUsedItems(FALSE);
    organizer.OnInitMenuPopup(CMenu::FromHandle(m_frame->edit), 1, FALSE);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_DATA | MIIM_ID;
    ::GetMenuItemInfoW(m_frame->edit, 0, TRUE, &mii);
    MEASUREITEMSTRUCT ours{ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ours));
    MEASUREITEMSTRUCT expected{ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
    organizer.FindConvertedMenu(m_frame->edit)->MeasureItem(&expected);
    EXPECT_EQ(ours.itemHeight, expected.itemHeight);
    EXPECT_EQ(ours.itemWidth, expected.itemWidth);
    EXPECT_GT(ours.itemWidth, 0u);
}

TEST_F(OrganizerTest, OneOrganizerPerFrameAndAFrameThatGoesFirst)
{
    auto first = std::make_unique<COXBitmapMenuOrganizer>();
    COXBitmapMenuOrganizer second;
    EXPECT_FALSE(first->AttachFrameWnd(nullptr));
    ASSERT_TRUE(first->AttachFrameWnd(m_frame));
    EXPECT_FALSE(first->AttachFrameWnd(m_frame)) << "a second frame, or the same again";
    EXPECT_FALSE(second.AttachFrameWnd(m_frame)) << "the frame has its organizer";
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(m_frame->GetSafeHwnd()), first.get());
    EXPECT_EQ(OXFindMainMenuOrganizer(), first.get()) << "painting asks the main window's organizer";
    first.reset();
    ASSERT_TRUE(second.AttachFrameWnd(m_frame));
    second.OnInitMenuPopup(CMenu::FromHandle(m_frame->edit), 1, FALSE);
    // The frame goes while attached: the organizer lets go of it and of its menus.
    m_frame->DestroyWindow();
    EXPECT_FALSE(second.IsAttached());
    EXPECT_EQ(second.GetConvertedMenuCount(), 0);
    EXPECT_EQ(OXFindMainMenuOrganizer(), nullptr);
}

} // namespace
} // namespace zyn::test
