// Golden pictures of an MDI frame with its menu bar and a maximised child's icon and
// buttons, in the three skins; under Office 2003 also the bar surfing and with a popup
// open. Compared pixel for pixel except where text is drawn (the caption, the item texts
// of the bar and the popup).
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/sysmetrics.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "tests/menubar/menubar_golden_mask.h"
#include "tests/menubar/menubar_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

COXSkin* g_skin = nullptr;

// The popup menu window now shown, if any.
HWND ShownPopup()
{
    HWND popup = nullptr;
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(h, cls, 16);
        if (std::wstring(cls) == L"#32768" && ::IsWindowVisible(h))
            popup = h;
    }
    return popup;
}

class MenuBarGoldenTest : public MenuBarTest {
protected:
    void SetUp() override
    {
        MenuBarTest::SetUp();
        m_previous = OXSetSkinSource([] { return g_skin; });
    }
    void TearDown() override
    {
        MenuBarTest::TearDown();
        OXSetSkinSource(m_previous);
        g_skin = nullptr;
    }

    // The frame's window with the caption text and the bar's item texts left out.
    void Check(const std::string& name, HWND popup = nullptr)
    {
        CRect window;
        mdi->GetWindowRect(&window);
        std::vector<RECT> ignore = MenuBarFrameTextAreas(*mdi, mdi->GetMenuBar());
        const CPoint origin = window.TopLeft();
        GoldenPicture picture = CaptureScreen(window);
        if (popup) {
            // The popup's item texts (right of the image strip), in the popup's own place.
            CRect rect;
            ::GetWindowRect(popup, &rect);
            CRect all = window;
            all.UnionRect(&all, &rect);
            all.right += 4;
            all.bottom += 4;
            for (RECT& r : ignore)
                ::OffsetRect(&r, origin.x - all.left, origin.y - all.top);
            ignore.push_back(CRect(rect.left - all.left + 26, rect.top - all.top + 3, rect.right - all.left - 4,
                rect.bottom - all.top - 3));
            picture = CaptureScreen(all);
        }
        EXPECT_TRUE(MatchesGolden("menubar", name, picture, ignore));
    }

    // Members: they outlive the frames the fixture's tear-down destroys.
    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office;

private:
    OXSkinSource m_previous = nullptr;
};

TEST_F(MenuBarGoldenTest, FrameWithMenuBarInEachSkin)
{
    struct Row {
        const char* name;
        COXSkin* skin;
    };
    for (const Row& row : {Row{"classic", &classic}, Row{"xp", &xp}, Row{"2003", &office}}) {
        SCOPED_TRACE(row.name);
        g_skin = row.skin;
        MakeMDI(true, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(40, 40, 480, 260));
        ::RedrawWindow(mdi->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        Check(std::string("frame_") + row.name);
        DropFrame();
    }
}

TEST_F(MenuBarGoldenTest, Office2003SurfingAndPopupOpen)
{
    g_skin = &office;
    CTestMDIFrame& f = MakeMDI(true, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(40, 40, 480, 260));
    ::SetFocus(child->m_hWnd);
    Press(VK_MENU);
    Press(VK_RIGHT);
    Pump();
    ASSERT_TRUE(f.GetMenuBar().IsInSurfingMode());
    ::RedrawWindow(f.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    Check("frame_2003_surfing");
    Press(VK_ESCAPE);
    Pump();

    // The popup through the frame's organizer: painted by the 2003 menu skin.
    f.m_bAutoMenuEnable = FALSE;
    auto organizer = std::make_unique<COXBitmapMenuOrganizer>();
    ASSERT_TRUE(organizer->AttachFrameWnd(&f));
    bool shot = false;
    f.onEnterIdle = [&] {
        user::PaintPendingWindows();
        const HWND popup = ShownPopup();
        ASSERT_NE(popup, nullptr);
        Check("frame_2003_popup", popup);
        shot = true;
    };
    ClickButton(f.GetMenuBar(), 0);
    Pump();
    EXPECT_TRUE(shot);
    // The frame goes before its organizer, and both before the case counts GDI objects.
    DropFrame();
    organizer.reset();
}

// A popup opened by a key: its title stands open over the bar (framed towards the popup,
// shadowed, under 2003 on the menu-bar item gradient) and its first item is selected.
TEST_F(MenuBarGoldenTest, PopupOpenedByKeyShowsItsTitleOpen)
{
    struct Row {
        const char* name;
        COXSkin* skin;
    };
    for (const Row& row : {Row{"xp", &xp}, Row{"2003", &office}}) {
        SCOPED_TRACE(row.name);
        g_skin = row.skin;
        CTestMDIFrame& f = MakeMDI(true, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(40, 40, 480, 260));
        ::SetFocus(child->m_hWnd);
        f.m_bAutoMenuEnable = FALSE;
        auto organizer = std::make_unique<COXBitmapMenuOrganizer>();
        ASSERT_TRUE(organizer->AttachFrameWnd(&f));
        bool shot = false;
        COLORREF inside = CLR_INVALID;
        f.onEnterIdle = [&] {
            user::PaintPendingWindows();
            const HWND popup = ShownPopup();
            ASSERT_NE(popup, nullptr);
            Check(std::string("frame_") + row.name + "_key_popup", popup);
            // Left of the title's text, 3 rows below the button's top.
            CRect button;
            f.GetMenuBar().CToolBar::GetItemRect(0, &button);
            f.GetMenuBar().ClientToScreen(&button);
            const HDC screen = ::GetDC(nullptr);
            inside = ::GetPixel(screen, button.left + 3, button.top + 3);
            ::ReleaseDC(nullptr, screen);
            shot = true;
        };
        KeyDown(VK_MENU);
        Press('F');
        KeyUp(VK_MENU);
        Pump();
        EXPECT_TRUE(shot);
        if (row.skin == &office) {
            // Between the gradient's two colours, channel by channel.
            const COLORREF light = office.GetMenubarItemLightColor(), dark = office.GetMenubarItemDarkColor();
            const auto between = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
            EXPECT_TRUE(between(GetRValue(inside), GetRValue(light), GetRValue(dark)) &&
                between(GetGValue(inside), GetGValue(light), GetGValue(dark)) &&
                between(GetBValue(inside), GetBValue(light), GetBValue(dark)))
                << std::hex << inside << " not between " << light << " and " << dark;
        }
        DropFrame();
        organizer.reset();
    }
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

// Under Office 2003 a caption button of the bar continues the frame's dock-bar band: its
// left half runs from the dock bar's left colour (BTNFACE (212, 208, 200)) to its right
// colour (WINDOW .8 + BTNFACE .2 = (246, 245, 244)) over half the wider of the screen (1280)
// and the frame, counted from the frame's left edge. The skin gives the gradient vertices
// its channels times 255; the library's ramp takes column x of 640 as the high byte of
// a + (b - a) * x / 640 (truncated) on those 16-bit values.
TEST_F(MenuBarGoldenTest, Office2003CaptionButtonsContinueTheDockBarBand)
{
    g_skin = &office;
    CTestMDIFrame& f = MakeMDI(true, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(40, 40, 480, 260));
    user::InjectMouseMove(1000, 900);   // nothing hot
    Pump();
    COXMenuBar& bar = f.GetMenuBar();
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    const auto lerp = [](int x) {
        const auto ch = [x](int a, int b) { return (a * 255 + (b - a) * 255 * x / 640) >> 8; };
        return RGB(ch(212, 246), ch(208, 245), ch(200, 244));
    };
    CRect frameRect;
    f.GetWindowRect(&frameRect);
    const HDC screen = ::GetDC(nullptr);
    for (const CRect& button : {bar.GetCloseRect(), bar.GetRestoreRect(), bar.GetMinimizeRect()}) {
        ASSERT_FALSE(button.IsRectEmpty());
        const CPoint corner = WindowPoint(bar, button.TopLeft());
        EXPECT_EQ(::GetPixel(screen, corner.x, corner.y), lerp(corner.x - frameRect.left))
            << "button at " << button.left << " x " << corner.x - frameRect.left;
    }
    ::ReleaseDC(nullptr, screen);
}

} // namespace
} // namespace zyn::test

