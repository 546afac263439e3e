// Showing a bitmap menu under a bar button: the button it drops from (pressed, else the
// last drop-down command, else a menu bar's MDI child icon, else none), the side it opens
// on, the shadowed window over the button while it is open, and the joint of popup and
// button.
#include "tests/menus/menu_test_support.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/shadowed_item_wnd.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using TrackTest = MenuTest;

// A bar of three 40 x 22 buttons side by side, as the bitmap menu asks about it.
class FakeBar : public COXCommandBarAccess {
public:
    HWND window = nullptr;
    DWORD style = 0x2000; // docked at the top
    int pressed = -1;
    int lastDropDown = -1;
    bool menuBar = false;
    RECT iconRect{0, 0, 0, 0};
    HWND GetBarWindow(COXCoolToolBar*) override { return window; }
    DWORD GetBarStyle(COXCoolToolBar*) override { return style; }
    int FindPressedButton(COXCoolToolBar*) override { return pressed; }
    int GetLastDropDownCommand(COXCoolToolBar*) override { return lastDropDown; }
    int CommandToIndex(COXCoolToolBar*, UINT nID) override { return nID >= 100 && nID < 103 ? static_cast<int>(nID - 100) : -1; }
    BOOL GetItemRect(COXCoolToolBar*, int nIndex, RECT* rect) override
    {
        if (nIndex < 0 || nIndex > 2)
            return FALSE;
        *rect = RECT{nIndex * 40, 0, nIndex * 40 + 40, 22};
        return TRUE;
    }
    BOOL IsMenuBar(COXCoolToolBar*) override { return menuBar; }
    BOOL GetMdiChildIconRect(COXCoolToolBar*, RECT* rect) override
    {
        *rect = iconRect;
        return menuBar;
    }
    void DrawButton(COXCoolToolBar*, CDC*, int, const RECT&) override {}
};

// Stands for the bar object; never dereferenced.
COXCoolToolBar* BarObject() { return reinterpret_cast<COXCoolToolBar*>(static_cast<uintptr_t>(0x1000)); }

// The shadowed item window now open, if any.
COXShadowedItemWnd* FindShadowedWindow()
{
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (auto* wnd = dynamic_cast<COXShadowedItemWnd*>(CWnd::FromHandlePermanent(h)))
            return wnd;
    return nullptr;
}

class TrackFixture : public TrackTest {
protected:
    void SetUp() override
    {
        TrackTest::SetUp();
        m_skin = std::make_unique<CurrentSkin>(SkinKind::XP);
        m_images = std::make_unique<MenuImages>();
        m_sample = std::make_unique<SampleMenu>(*m_images, false);
        ASSERT_TRUE(m_owner.CreateOwner(RECT{0, 0, 1280, 1024}));
        m_owner.AddMenu(&m_sample->menu);
        // The bar window: 120 x 22 at (100, 50) of the screen.
        m_bar.window = ::CreateWindowExW(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 50, 120, 22, nullptr, nullptr,
            nullptr, nullptr);
        OXSetCommandBarAccess(&m_bar);
        Pump();
    }
    void TearDown() override
    {
        OXSetCommandBarAccess(nullptr);
        ::DestroyWindow(m_bar.window);
        m_owner.DestroyWindow();
        m_sample.reset();
        m_images.reset();
        m_skin.reset();
        TrackTest::TearDown();
    }
    // What was seen while the popup was open.
    struct Seen {
        bool opened = false;
        RECT popup{};
        CRect dropFrom;
        RECT shadowed{};
        UINT side = 0;
    };
    Seen Track()
    {
        Seen seen;
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            if (!popup)
                return;
            seen.opened = true;
            ::GetWindowRect(popup, &seen.popup);
            seen.dropFrom = m_sample->menu.GetDropFromRect();
            if (COXShadowedItemWnd* wnd = FindShadowedWindow()) {
                wnd->GetWindowRect(&seen.shadowed);
                seen.side = wnd->GetFlags();
            }
            user::InjectKeyPress(VK_ESCAPE);
        });
        m_sample->menu.TrackPopupMenu(BarObject(), &m_owner);
        return seen;
    }

    std::unique_ptr<CurrentSkin> m_skin;
    std::unique_ptr<MenuImages> m_images;
    std::unique_ptr<SampleMenu> m_sample;
    CMenuOwnerWnd m_owner;
    FakeBar m_bar;
};

TEST_F(TrackFixture, ThePopupDropsFromThePressedButton)
{
    m_bar.pressed = 1;
    const Seen seen = Track();
    ASSERT_TRUE(seen.opened);
    // Button 1 on the screen: {140, 50, 180, 72}; the popup's top overlaps its last row.
    EXPECT_EQ(seen.popup.left, 140);
    EXPECT_EQ(seen.popup.top, 71);
    EXPECT_EQ(seen.dropFrom, CRect(140, 51, 180, 71)) << "the button less a row at the top and bottom";
    EXPECT_EQ(CRect(seen.shadowed), CRect(140, 51, 184, 75)) << "grown by the shadow's 4";
    EXPECT_EQ(seen.side, OX_POPUP_BELOW);
    // Afterwards the window is gone and the joint forgotten.
    EXPECT_EQ(FindShadowedWindow(), nullptr);
    EXPECT_TRUE(m_sample->menu.GetDropFromRect().IsRectEmpty());
}

TEST_F(TrackFixture, WhichButtonWhenNoneIsPressed)
{
    struct Row {
        const char* what;
        int lastDropDown;
        bool menuBar;
        RECT icon;
        bool opens;
        int left;
    };
    const Row rows[] = {
        {"the last drop-down command's button", 102, false, {}, true, 180},
        {"a menu bar's MDI child icon, 3 larger all round", -1, true, {2, 2, 18, 18}, true, 100 + 2 - 3},
        {"a toolbar with neither: no popup", -1, false, {}, false, 0},
        {"a menu bar without an icon: no popup", -1, true, {0, 0, 0, 0}, false, 0},
    };
    for (const Row& r : rows) {
        m_bar.pressed = -1;
        m_bar.lastDropDown = r.lastDropDown;
        m_bar.menuBar = r.menuBar;
        m_bar.iconRect = r.icon;
        const Seen seen = Track();
        EXPECT_EQ(seen.opened, r.opens) << r.what;
        if (r.opens) {
            EXPECT_EQ(seen.popup.left, r.left) << r.what;
        }
        EXPECT_EQ(FindShadowedWindow(), nullptr) << r.what;
    }
}

TEST_F(TrackFixture, SidesFollowTheBarAndTheMonitor)
{
    struct Row {
        const char* what;
        POINT barAt;
        DWORD style;
        UINT side;
    };
    const Row rows[] = {
        {"top bar near the bottom: above", {100, 1000}, 0x2000, OX_POPUP_ABOVE},
        {"vertical bar: to the right", {100, 50}, 0x1000, OX_POPUP_RIGHT},
        {"vertical bar at the right edge: to the left", {1160, 50}, 0x1000, OX_POPUP_LEFT},
    };
    for (const Row& r : rows) {
        ::SetWindowPos(m_bar.window, nullptr, r.barAt.x, r.barAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_bar.style = r.style;
        m_bar.pressed = 0;
        const Seen seen = Track();
        ASSERT_TRUE(seen.opened) << r.what;
        EXPECT_EQ(seen.side, r.side) << r.what;
    }
}

TEST_F(TrackFixture, APopupBelowAButtonJoinsIt)
{
    auto* colours = dynamic_cast<COXSkinXP*>(m_skin->skin());
    m_bar.pressed = 0;
    // Button 0: {100, 50, 140, 72}; the popup's top row at y 71 is the joint.
    COLORREF underButton = 0, pastButton = 0, shadowStart = 0;
    user::QueueIdleAction([&] {
        underButton = ScreenPixel(120, 71);
        pastButton = ScreenPixel(150, 71);
        RECT popup;
        ::GetWindowRect(OnlyPopup(), &popup);
        shadowStart = ScreenPixel(popup.right - 1, popup.top);
        user::InjectKeyPress(VK_ESCAPE);
    });
    m_sample->menu.TrackPopupMenu(BarObject(), &m_owner);
    EXPECT_EQ(underButton, colours->GetBackgroundColor()) << "the border is opened under the button";
    EXPECT_EQ(pastButton, colours->GetMenuBorderColor()) << "and closed past it";
    EXPECT_EQ(shadowStart, RGB(255, 255, 255)) << "the shadow's top keeps the owner's white";
}

} // namespace
} // namespace zyn::test
