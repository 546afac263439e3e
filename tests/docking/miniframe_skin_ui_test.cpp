// The skins of the floating frame and of a size bar's caption buttons, read back from the
// screen: the XP frame (also the 2003 skin's, in its colours) with its 2-pixel border,
// rounded inner corners, caption and flat close button in its plain, hot and pressed
// looks (the hot test at the button's real place); the Classic skin leaving all to the
// system and refusing an inactive view's activation look; and the 2003 caption button on
// a size bar's gripper showing its slice of the gripper's gradient.
#include <algorithm>
#include <cstdlib>

#include "platform/afx/afxres.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/afx/window_dc.h"
#include "platform/user/menu.h"
#include "platform/user/paint.h"
#include "tests/docking/docking_test_support.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT ID_BAR = 0xE850;

class MiniFrameSkinTest : public SizeDockTest {
protected:
    void SetUp() override
    {
        SizeDockTest::SetUp();
        ASSERT_TRUE(MakeSizeFrame());
    }
    COXSizableMiniDockFrameWnd* FloatBar(CCountingSizeBar& bar)
    {
        if (!bar.Make(frame, ID_BAR, CRect(0, 0, 160, 90)))
            return nullptr;
        frame->FloatControlBar(&bar, CPoint(400, 560));
        bar.SendMessage(WM_OX_BARFLOATED);
        Pump();
        return FloatingFrame(bar);
    }
    // A pixel of the screen at a point of the frame's window.
    static COLORREF At(const CWnd& wnd, int x, int y)
    {
        const CRect r = ScreenRect(wnd);
        const HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, r.left + x, r.top + y);
        ::ReleaseDC(nullptr, screen);
        return c;
    }
    static void MoveTo(const CWnd& wnd, CPoint p)
    {
        const CRect r = ScreenRect(wnd);
        InjectMouseMove(r.left + p.x, r.top + p.y);
        Pump();
    }
    // The caption's close button in window coordinates: the square at the right end of
    // the caption band (3, 3) .. (width - 3, client top - 2).
    static CRect CloseButton(const CWnd& wnd)
    {
        const CRect r = ScreenRect(wnd);
        CRect client;
        wnd.GetClientRect(&client);
        wnd.ClientToScreen(&client);
        const int t = client.top - r.top;
        const int right = r.Width() - 3, height = t - 2 - 3;
        return CRect(right - height, 3, right, t - 2);
    }
};

struct SkinRow {
    const char* name;
    std::unique_ptr<COXSkin> (*make)();
};
const SkinRow kFlatSkins[] = {
    {"XP", [] { return std::unique_ptr<COXSkin>(std::make_unique<COXSkinXP>()); }},
    {"2003", [] { return std::unique_ptr<COXSkin>(std::make_unique<COXSkin2003>()); }},
};

TEST_F(MiniFrameSkinTest, TheFlatFrameHasATwoPixelBorderRoundedCornersCaptionAndX)
{
    for (const SkinRow& row : kFlatSkins) {
        SCOPED_TRACE(row.name);
        ScopedSkin skin(row.make());
        const auto* colours = dynamic_cast<const COXSkinXP*>(skin.get());
        CCountingSizeBar& bar = NewBar();
        COXSizableMiniDockFrameWnd* mini = FloatBar(bar);
        ASSERT_NE(mini, nullptr);
        InjectMouseMove(5, 5);   // far from the button
        Pump();
        mini->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const CRect r = ScreenRect(*mini);
        const int w = r.Width(), h = r.Height();
        const COLORREF border = colours->GetMiniFrameBorderColor(), light = colours->GetMiniFrameLightBorderColor();
        const COLORREF caption = colours->GetMiniFrameCaptionColor(), text = colours->GetMiniFrameCaptionTextColor();
        struct Pixel {
            int x, y;
            COLORREF colour;
            const char* what;
        };
        const CRect b = CloseButton(*mini);
        const int s = b.Width();
        const Pixel pixels[] = {
            {0, 0, border, "outer border"},
            {1, 1, border, "outer border"},
            {w - 1, h - 1, border, "outer border"},
            {2, 2, border, "inner corner"},
            {w - 3, 2, border, "inner corner"},
            {w - 3, h - 3, border, "inner corner"},
            {2, h - 3, border, "inner corner"},
            {3, 2, light, "light border"},
            {2, 3, light, "light border"},
            {w - 3, h - 4, light, "light border"},
            {3, 3, caption, "caption"},
            {5, 3, caption, "caption"},
            {b.left + 1, b.top + 1, caption, "plain button"},
            {b.left + 4, b.top + 4, text, "X, first stroke"},
            {b.left + 5, b.top + 4, text, "X, first stroke doubled"},
            {b.left + s - 5, b.top + 4, text, "X, second stroke"},
            {b.left + s - 4, b.top + 4, text, "X, second stroke doubled"},
            {b.left + 3, b.top + 4, caption, "left of the X"},
        };
        for (const Pixel& p : pixels)
            EXPECT_EQ(At(*mini, p.x, p.y), p.colour) << p.what << " at " << p.x << ", " << p.y;
        // The look does not change with activation.
        EXPECT_TRUE(mini->SendMessage(WM_NCACTIVATE, FALSE));
        EXPECT_EQ(At(*mini, 3, 3), caption);
        mini->DestroyWindow();
    }
}

TEST_F(MiniFrameSkinTest, TheCloseButtonIsHotOverItsRealPlaceAndPressedWhileTheButtonIsDown)
{
    for (const SkinRow& row : kFlatSkins) {
        SCOPED_TRACE(row.name);
        ScopedSkin skin(row.make());
        const auto* colours = dynamic_cast<const COXSkinXP*>(skin.get());
        CCountingSizeBar& bar = NewBar();
        COXSizableMiniDockFrameWnd* mini = FloatBar(bar);
        ASSERT_NE(mini, nullptr);
        const CRect b = CloseButton(*mini);
        // Hot over the button less its last column and row.
        struct Row {
            CPoint at;
            bool hot;
        };
        const Row rows[] = {
            {b.TopLeft(), true},
            {CPoint(b.right - 2, b.bottom - 2), true},
            {CPoint(b.right - 1, b.top), false},
            {CPoint(b.left, b.bottom - 1), false},
            {CPoint(b.left - 1, b.top), false},
        };
        for (const Row& hover : rows) {
            MoveTo(*mini, hover.at);
            EXPECT_EQ(At(*mini, b.left + 1, b.top + 1),
                hover.hot ? colours->GetHotItemColor() : colours->GetMiniFrameCaptionColor())
                << "cursor at " << hover.at.x << ", " << hover.at.y;
        }
        MoveTo(*mini, b.CenterPoint());
        EXPECT_EQ(At(*mini, b.left, b.top), colours->GetActiveBorderColor()) << "outlined";
        EXPECT_EQ(At(*mini, b.left + 4, b.top + 4), ::GetSysColor(COLOR_BTNTEXT));

        // The left button held down (pressed elsewhere) over the button, then off it.
        const CPoint elsewhere = ScreenRect(*CWnd::FromHandle(view)).CenterPoint();
        InjectMouseMove(elsewhere.x, elsewhere.y);
        InjectMouseButton(MouseButton::Left, true);
        Pump();
        MoveTo(*mini, b.CenterPoint());
        EXPECT_EQ(At(*mini, b.left + 1, b.top + 1), colours->GetHotSelectedItemColor());
        EXPECT_EQ(At(*mini, b.left + 4, b.top + 4), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        MoveTo(*mini, CPoint(b.left - 20, b.top + 2));
        EXPECT_EQ(At(*mini, b.left + 1, b.top + 1), colours->GetMiniFrameCaptionColor()) << "plain again off it";
        InjectMouseMove(elsewhere.x, elsewhere.y);
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        base::Clock::Advance(1000);
        mini->DestroyWindow();
    }
}

TEST_F(MiniFrameSkinTest, AFrameWithoutSystemMenuItemsHasNoCloseButton)
{
    ScopedSkin skin(std::make_unique<COXSkinXP>());
    const auto* colours = dynamic_cast<const COXSkinXP*>(skin.get());
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatBar(bar);
    ASSERT_NE(mini, nullptr);
    const HMENU menu = ::GetSystemMenu(mini->m_hWnd, FALSE);
    while (::GetMenuItemCount(menu) > 0)
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    mini->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const CRect b = CloseButton(*mini);
    EXPECT_TRUE(mini->GetMiniFrameSkin()->DrawCaptionButtons(mini)) << "the frame must not draw one either";
    EXPECT_EQ(At(*mini, b.left + 4, b.top + 4), colours->GetMiniFrameCaptionColor()) << "no X";
}

class SeamViewBarChild : public COXDockingSeam {
public:
    CControlBar* view = nullptr;
    bool childActive = false;
    COXMDIChildWndSizeDock* Child() { return reinterpret_cast<COXMDIChildWndSizeDock*>(&childToken); }
    COXSizeViewBar* AsSizeViewBar(CControlBar* pBar) override
    {
        return pBar && pBar == view ? reinterpret_cast<COXSizeViewBar*>(pBar) : nullptr;
    }
    COXMDIChildWndSizeDock* GetViewBarChild(COXSizeViewBar*) override { return Child(); }
    COXMDIChildWndSizeDock* MDIGetActive(COXMDIChildWndSizeDock*) override
    {
        return childActive ? Child() : reinterpret_cast<COXMDIChildWndSizeDock*>(&otherToken);
    }
    int childToken = 0, otherToken = 0;
};

TEST_F(MiniFrameSkinTest, TheClassicSkinLeavesTheFrameToTheSystemAndAnInactiveViewLooksInactive)
{
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatBar(bar);
    ASSERT_NE(mini, nullptr);
    COXMiniFrameSkin* classic = mini->GetMiniFrameSkin();
    ASSERT_NE(dynamic_cast<COXMiniFrameSkinClassic*>(classic), nullptr) << "no current skin: the frame's own";
    EXPECT_FALSE(classic->DrawCaptionButtons(mini)) << "the system draws the buttons";
    EXPECT_TRUE(classic->OnNcActivate(TRUE, mini));

    SeamViewBarChild seam;
    seam.view = &bar;
    ScopedSeam scoped(&seam);
    EXPECT_FALSE(classic->OnNcActivate(TRUE, mini)) << "its MDI child is not the active one";
    EXPECT_TRUE(classic->OnNcActivate(FALSE, mini));
    seam.childActive = true;
    EXPECT_TRUE(classic->OnNcActivate(TRUE, mini));
}

// ---- the 2003 caption buttons over a size bar's gripper ------------------------------------------------------------

// The hand rule of a two-colour gradient: line i of n is from + (to - from) · i / n per
// channel, truncated toward zero. The library path may lie up to two levels below.
COLORREF Gradient(COLORREF from, COLORREF to, int i, int n)
{
    auto ch = [&](int a, int b) { return a + (b - a) * i / n; };
    return RGB(ch(GetRValue(from), GetRValue(to)), ch(GetGValue(from), GetGValue(to)), ch(GetBValue(from), GetBValue(to)));
}
bool Near(COLORREF actual, COLORREF expected)
{
    auto d = [](int a, int b) { return b - a; };
    for (const int diff : {d(GetRValue(actual), GetRValue(expected)), d(GetGValue(actual), GetGValue(expected)),
             d(GetBValue(actual), GetBValue(expected))})
        if (diff < 0 || diff > 2)
            return false;
    return true;
}

TEST_F(MiniFrameSkinTest, The2003ButtonsOfASizeBarShowTheirSliceOfTheGrippersGradient)
{
    COXSkin2003 skin;
    CCountingSizeBar& bar = NewBar();
    ASSERT_TRUE(bar.Make(frame, ID_BAR, CRect(0, 0, 200, 100)));
    const HWND plain = MakePlain(WS_POPUP | WS_VISIBLE);
    InjectMouseMove(5, 500);   // away from every button
    Pump();
    const COLORREF light = skin.GetControlBarLightColor(), dark = skin.GetControlBarDarkColor();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    struct Row {
        const char* name;
        UINT side;
        bool horizontal;   // the gradient runs across the gripper's width
    };
    const Row rows[] = {{"docked at the top", AFX_IDW_DOCKBAR_TOP, true}, {"docked left", AFX_IDW_DOCKBAR_LEFT, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frame->DockControlBar(&bar, row.side);
        frame->RecalcLayout();
        Pump();
        CRect window = ScreenRect(bar);
        bar.ScreenToClient(&window);
        // A 24-pixel strip along the leading side, in client coordinates; in the window DC
        // it starts at 0.
        bar.m_rectGripper = row.horizontal ? CRect(window.left, window.top + 2, window.left + 24, window.bottom - 2)
                                           : CRect(window.left + 2, window.top, window.right - 2, window.top + 24);
        CRect button = row.horizontal ? CRect(6, 8, 20, 22) : CRect(150, 5, 164, 19);
        CClientDC screen(&bar);
        CDC mem;
        CBitmap bitmap;
        ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 200, 100));
        CBitmap* old = mem.SelectObject(&bitmap);
        skin.DrawFrameButton(&mem, button, DFCS_CAPTIONCLOSE, FALSE, FALSE, face, &bar);
        // The button's outer ring is background only (the glyph starts 2 pixels in).
        for (int k = 0; k < button.Width(); ++k) {
            const int x = row.horizontal ? button.left + k : button.left;
            const int y = row.horizontal ? button.top : button.top + k;
            const COLORREF expected = Gradient(light, dark, row.horizontal ? x : y, 24);
            EXPECT_TRUE(Near(mem.GetPixel(x, y), expected))
                << "at " << x << ", " << y << ": " << std::hex << mem.GetPixel(x, y) << " expected " << expected;
        }
        // Any other window gets the plain background.
        CRect other(40, 40, 54, 54);
        skin.DrawFrameButton(&mem, other, DFCS_CAPTIONCLOSE, FALSE, FALSE, face, CWnd::FromHandle(plain));
        EXPECT_EQ(mem.GetPixel(40, 40), face);
        mem.SelectObject(old);
    }
    ::DestroyWindow(plain);
}

} // namespace
} // namespace zyn::test
