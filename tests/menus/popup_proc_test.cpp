// The skin's procedure of the popup-menu windows: only bitmap menus are taken over, a
// repaint replays the recorded shadow, moves and sizes are honoured as asked, WM_PRINT of a
// popup closed while messages were handled, and a recently-used-only popup expanded
// through its expansion item by a click or by Enter.
#include "platform/afx/afxstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "tests/menus/menu_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using PopupProcTest = MenuTest;

TEST_F(PopupProcTest, OnlyABitmapMenuGetsTheFlatFrameAndTheShadow)
{
    CurrentSkin skin(SkinKind::XP);
    auto* colours = dynamic_cast<COXSkinXP*>(skin.skin());
    MenuImages images;
    SampleMenu sample(images);
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateOwner(RECT{0, 0, 500, 500}));
    owner.AddMenu(&sample.menu);
    Pump();
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 1, L"&One");
    plain.AppendMenu(MF_STRING, 2, L"&Two");
    struct Seen {
        RECT window{};
        RECT client{};
        COLORREF topLeft = 0, rightMiddle = 0, rightMiddleAfterRepaint = 0;
    };
    auto look = [&](Seen& seen) {
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            ASSERT_NE(popup, nullptr);
            ::GetWindowRect(popup, &seen.window);
            ::GetClientRect(popup, &seen.client);
            const int middle = (seen.window.top + seen.window.bottom) / 2;
            seen.topLeft = ScreenPixel(seen.window.left, seen.window.top);
            seen.rightMiddle = ScreenPixel(seen.window.right - 1, middle);
            // A repaint of the whole popup, frame included.
            ::RedrawWindow(popup, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            seen.rightMiddleAfterRepaint = ScreenPixel(seen.window.right - 1, middle);
            user::InjectKeyPress(VK_ESCAPE);
        });
    };
    Seen bitmapSeen, plainSeen;
    look(bitmapSeen);
    sample.menu.TrackPopupMenu(TPM_RETURNCMD, 50, 50, &owner);
    look(plainSeen);
    plain.TrackPopupMenu(TPM_RETURNCMD, 50, 50, &owner);
    // The bitmap menu: the border colour, and the outermost shadow column over white
    // darkened by 15, also after the repaint (replayed, not darkened again to 226).
    EXPECT_EQ(bitmapSeen.topLeft, colours->GetMenuBorderColor());
    EXPECT_EQ(bitmapSeen.rightMiddle, RGB(240, 240, 240));
    EXPECT_EQ(bitmapSeen.rightMiddleAfterRepaint, RGB(240, 240, 240));
    // The plain menu: the system's raised frame, no strip added.
    EXPECT_EQ(plainSeen.topLeft, ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(plainSeen.rightMiddle, ::GetSysColor(COLOR_3DDKSHADOW));
    // The bitmap popup is 4 wider and higher than its items and frame need.
    CSize items = COXBitmapMenu::GetPopupMenuSize(&sample.menu);
    // (The popup adds the check-mark width less one to an owner-drawn item, as the estimate
    // of 18 does with the 6 of the frame.)
    EXPECT_EQ(bitmapSeen.window.right - bitmapSeen.window.left, items.cx - 18 + (::GetSystemMetrics(SM_CXMENUCHECK) - 1) + 6 + 4);
    owner.DestroyWindow();
}

TEST_F(PopupProcTest, MovesAndSizesAreTakenAsAsked)
{
    CurrentSkin skin(SkinKind::XP);
    MenuImages images;
    SampleMenu sample(images);
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateOwner(RECT{0, 0, 500, 500}));
    owner.AddMenu(&sample.menu);
    RECT before{}, afterNothing{}, afterMove{};
    user::QueueIdleAction([&] {
        const HWND popup = OnlyPopup();
        ::GetWindowRect(popup, &before);
        // Neither size nor place: the popup does not grow again.
        ::SetWindowPos(popup, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(popup, &afterNothing);
        // A move alone keeps the size.
        ::SetWindowPos(popup, nullptr, before.left + 10, before.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(popup, &afterMove);
        user::InjectKeyPress(VK_ESCAPE);
    });
    sample.menu.TrackPopupMenu(TPM_RETURNCMD, 60, 40, &owner);
    EXPECT_EQ(CRect(afterNothing), CRect(before));
    CRect moved(before);
    moved.OffsetRect(10, 5);
    EXPECT_EQ(CRect(afterMove), moved);
    owner.DestroyWindow();
}

// A window run by the skin's popup procedure, as a popup of a tracked bitmap menu.
COXMenuSkin* g_procSkin = nullptr;
LRESULT SkinnedProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return g_procSkin->MenuPopupWndProc(&::DefWindowProcW, h, m, w, l);
}

TEST_F(PopupProcTest, PrintOfAPopupClosedWhileMessagesWereHandled)
{
    CurrentSkin skin(SkinKind::XP);
    g_procSkin = skin.menuSkin();
    MenuImages images;
    SampleMenu sample(images);
    AFX_THREAD_STATE* state = AfxGetThreadState();
    const HMENU savedMenu = state->m_hTrackingMenu;
    state->m_hTrackingMenu = sample.menu.GetSafeHmenu();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SkinnedProc;
    wc.lpszClassName = L"SkinnedPopup";
    ASSERT_TRUE(::RegisterClassW(&wc));
    auto print = [](HWND popup, COLORREF& corner) {
        const HDC screen = ::GetDC(nullptr);
        const HDC memory = ::CreateCompatibleDC(screen);
        const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 100, 100);
        ::ReleaseDC(nullptr, screen);
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::SetPixel(memory, 0, 0, RGB(1, 2, 3));
        ::SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_NONCLIENT);
        corner = ::GetPixel(memory, 0, 0);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    };
    // A live popup prints with the shadow-coloured frame.
    HWND popup = ::CreateWindowExW(0, L"SkinnedPopup", L"", WS_POPUP, 10, 10, 80, 60, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(sample.menu.GetPopupWndStack().Find(popup), nullptr) << "created: a record";
    COLORREF corner = 0;
    print(popup, corner);
    EXPECT_EQ(corner, ::GetSysColor(COLOR_BTNSHADOW));
    // A queued close is handled first; the printing then finds no window and draws nothing.
    ::PostMessageW(popup, WM_CLOSE, 0, 0);
    print(popup, corner);
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(corner, RGB(1, 2, 3));
    EXPECT_EQ(sample.menu.GetPopupWndStack().Find(popup), nullptr) << "destroyed: the record is gone";
    state->m_hTrackingMenu = savedMenu;
    g_procSkin = nullptr;
}

constexpr UINT ID_A = 0x8201, ID_B = 0x8202, ID_C = 0x8203, ID_D = 0x8204;

TEST_F(PopupProcTest, ARecentlyUsedOnlyPopupExpandsThroughItsExpansionItem)
{
    CurrentSkin skin(SkinKind::Office2003);
    // The main window's organizer says which items are recently used.
    CWinApp app(L"PopupProcTest");
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW, CRect(600, 600, 700, 700)));
    app.m_pMainWnd = frame;
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(frame));
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_B));
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_D));
    MenuImages images;
    COXImageInfo image(&images.images, 0, FALSE, -1);
    COXImageInfo check(&images.defaults, 0, TRUE, -1);
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateOwner(RECT{0, 0, 500, 500}));
    Pump();
    struct Row {
        const char* how;
        bool byKey;
    };
    for (const Row& row : {Row{"a click", false}, Row{"Enter", true}}) {
        // First shown with the recently used items only and the expansion item.
        COXBitmapMenu shortMenu;
        shortMenu.CreatePopupMenu();
        AppendOwnerDrawn(shortMenu, 0, ID_A, &image, L"&Alpha");
        AppendOwnerDrawn(shortMenu, 0, ID_C, &image, L"&Gamma");
        AppendOwnerDrawn(shortMenu, 0, ID_OX_SHOWALLITEMS, &check, L"");
        shortMenu.CalcExtents();
        owner.AddMenu(&shortMenu);
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            ASSERT_NE(popup, nullptr);
            if (row.byKey) {
                // Up from nothing selected wraps to the last item.
                user::InjectKeyPress(VK_UP);
                user::InjectKeyPress(VK_RETURN);
                return;
            }
            RECT item;
            ASSERT_TRUE(::GetMenuItemRect(popup, shortMenu.GetSafeHmenu(), 2, &item));
            const POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
            user::InjectClick(centre.x, centre.y);
        });
        EXPECT_EQ(shortMenu.TrackPopupMenu(TPM_RETURNCMD, 40, 40, &owner), static_cast<BOOL>(ID_OX_SHOWALLITEMS))
            << row.how;

        // The organizer shows the popup again with every item; the hidden ones are painted
        // as such: a strip 7 % darker.
        COXBitmapMenu fullMenu;
        fullMenu.CreatePopupMenu();
        AppendOwnerDrawn(fullMenu, 0, ID_A, &image, L"&Alpha");
        AppendOwnerDrawn(fullMenu, 0, ID_B, &image, L"&Beta");
        AppendOwnerDrawn(fullMenu, 0, ID_C, &image, L"&Gamma");
        AppendOwnerDrawn(fullMenu, 0, ID_D, &image, L"&Delta");
        fullMenu.CalcExtents();
        owner.AddMenu(&fullMenu);
        std::vector<COLORREF> strip;
        GoldenPicture picture;
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            ASSERT_NE(popup, nullptr);
            for (UINT i = 0; i < 4; ++i) {
                RECT item;
                ::GetMenuItemRect(popup, fullMenu.GetSafeHmenu(), i, &item);
                strip.push_back(ScreenPixel(item.left + 1, item.top + 1));
            }
            RECT window;
            ::GetWindowRect(popup, &window);
            picture = CaptureScreen(window);
            user::InjectKeyPress(VK_ESCAPE);
        });
        fullMenu.TrackPopupMenu(TPM_RETURNCMD, 40, 40, &owner);
        ASSERT_EQ(strip.size(), 4u) << row.how;
        EXPECT_EQ(strip[0], strip[2]) << row.how << ": recently used items alike";
        EXPECT_EQ(strip[1], strip[3]) << row.how << ": hidden items alike";
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>((strip[1] >> shift) & 0xFF), static_cast<int>((strip[0] >> shift) & 0xFF) * 93 / 100, 2)
                << row.how;
        if (!row.byKey) {
            // Text is left out of the comparison: the column right of the strip.
            const int textLeft = 3 + 3 + 16 + 15 - 1;
            EXPECT_TRUE(MatchesGolden("menus", "popup_2003_expanded", picture,
                {RECT{textLeft, 0, picture.width - 10, picture.height - 4}}));
        }
    }
    owner.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace
} // namespace zyn::test
