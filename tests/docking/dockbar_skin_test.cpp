// The dock-bar skins, Classic, XP and 2003: the size bar's non-client room and the places
// of its strip and buttons, and the pixels of grippers, buttons, splitters and the dock
// bars' backgrounds. Places are worked by hand from the rules: a 5-pixel border, a band of
// 16 (24 in 2003) on the gripper's side, an 11-pixel strip with 11-pixel buttons 2 (XP 3)
// apart, 2003 boxes 11 pixels inside a 24-pixel square, 3 apart. Colours come from the
// system colours set here and from the skin objects' getters; the 2003 gradients are
// drawn by hand (no gradient library), line i of n being from + (to - from) · i / n.
#include "platform/gdi/sysmetrics.h"
#include "tests/docking/size_dock_test_support.h"
#include "tests/skins/canvas.h"
#include "tests/skins/msimg32.h"
#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/splitter_rect.h"

namespace zyn::test {
namespace {

using skintest::Canvas;

constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kHighlight = RGB(250, 251, 252);
constexpr COLORREF kShadow = RGB(100, 101, 102);
constexpr COLORREF kActiveCaption = RGB(0, 80, 200);
constexpr COLORREF kInactiveCaption = RGB(120, 130, 140);

// A size bar whose non-client room is the skin under test's.
class CSkinBar : public CTestSizeBar {
public:
    static inline COXDockbarSkin* s_skin = nullptr;
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
    {
        if (s_skin)
            s_skin->OnNcCalcSize(bCalcValidRects, lpncsp, this);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSkinBar, CTestSizeBar)
    ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

COLORREF Lerp(COLORREF from, COLORREF to, int i, int n)
{
    auto ch = [&](int a, int b) { return a + (b - a) * i / n; };
    return RGB(ch(GetRValue(from), GetRValue(to)), ch(GetGValue(from), GetGValue(to)),
        ch(GetBValue(from), GetBValue(to)));
}

class DockbarSkinTest : public SizeDockBarTest {
protected:
    void SetUp() override
    {
        SizeDockBarTest::SetUp();
        colours.Set({{COLOR_BTNHIGHLIGHT, kHighlight}, {COLOR_BTNSHADOW, kShadow},
            {COLOR_ACTIVECAPTION, kActiveCaption}, {COLOR_INACTIVECAPTION, kInactiveCaption}});
    }
    void TearDown() override
    {
        CSkinBar::s_skin = nullptr;
        SizeDockBarTest::TearDown();
    }
    // A 200 × 120 bar at (10, 50) of the frame's client area, with the bar style given
    // and its non-client room from `skin`.
    CSkinBar* MakeBar(COXDockbarSkin* skin, DWORD dwBarStyle, DWORD dwSizeStyle = SZBARF_CONTEXT_MENU)
    {
        CSkinBar::s_skin = skin;
        CSkinBar* bar = MakeSizeBar<CSkinBar>(CSize(200, 120));
        bar->SetSizeDockStyle(dwSizeStyle);
        bar->m_dwStyle = dwBarStyle;
        bar->SetWindowPos(nullptr, 10, 50, 200, 120, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return bar;
    }

    skintest::SysColours colours;
    // The hand-drawn gradients (for the 2003 skin objects made after it).
    skintest::Msimg32Replaced noGradientLibrary{{}, false};
};

// ---- non-client room and layout -------------------------------------------------------------------------------

TEST_F(DockbarSkinTest, TheNonClientRoomIsABorderAndABandOnTheGrippersSide)
{
    COXDockbarSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 s2003;
    struct Case {
        const char* name;
        COXDockbarSkin* skin;
        DWORD barStyle;
        DWORD sizeStyle;
        CRect in, out;
        bool pending;
    };
    const Case cases[] = {
        {"Classic, docked left", &classic, CBRS_ALIGN_LEFT, 0, {0, 0, 200, 120}, {5, 21, 195, 115}, true},
        {"Classic, docked at the top", &classic, CBRS_ALIGN_TOP, 0, {0, 0, 200, 120}, {21, 5, 195, 115}, true},
        {"XP, docked left", xp.GetDockbarSkin(), CBRS_ALIGN_LEFT, 0, {0, 0, 200, 120}, {5, 21, 195, 115}, true},
        {"XP, docked at the bottom", xp.GetDockbarSkin(), CBRS_ALIGN_BOTTOM, 0, {0, 0, 200, 120}, {21, 5, 195, 115},
            true},
        {"2003, docked right", s2003.GetDockbarSkin(), CBRS_ALIGN_RIGHT, 0, {0, 0, 200, 120}, {5, 29, 195, 115}, true},
        {"2003, docked at the top", s2003.GetDockbarSkin(), CBRS_ALIGN_TOP, 0, {0, 0, 200, 120}, {29, 5, 195, 115},
            true},
        {"floating", &classic, CBRS_ALIGN_TOP | CBRS_FLOATING, 0, {0, 0, 200, 120}, {5, 5, 195, 115}, false},
        {"no gripper", s2003.GetDockbarSkin(), CBRS_ALIGN_TOP, SZBARF_NO_GRIPPER, {0, 0, 200, 120}, {5, 5, 195, 115},
            false},
        {"too small for the band", &classic, CBRS_ALIGN_LEFT, 0, {0, 0, 40, 20}, {5, 15, 35, 15}, true},
        {"too small for the border", s2003.GetDockbarSkin(), CBRS_ALIGN_LEFT, 0, {0, 0, 8, 30}, {5, 25, 5, 25}, true},
        {"placed anywhere", xp.GetDockbarSkin(), CBRS_ALIGN_LEFT, 0, {30, 40, 230, 160}, {35, 61, 225, 155}, true},
    };
    for (const Case& c : cases) {
        COXSizeControlBar bar(static_cast<int>(c.sizeStyle));
        bar.m_dwStyle = c.barStyle;
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = c.in;
        c.skin->OnNcCalcSize(FALSE, &params, &bar);
        EXPECT_EQ(CRect(params.rgrc[0]), c.out) << c.name;
        EXPECT_EQ(bar.m_bNcLayoutPending != FALSE, c.pending) << c.name;
    }
}

// A 200 × 120 bar; its window in its client coordinates is (-5, -21, 195, 99) docked on
// a vertical side (strip across the top), (-21, -5, 179, 115) at the top or bottom, and
// with the 2003 band (-5, -29, 195, 91) or (-29, -5, 171, 115).
TEST_F(DockbarSkinTest, TheStripAndButtonsArePlacedInClientCoordinates)
{
    COXDockbarSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 s2003;
    ASSERT_NE(MakeSizeFrame(), nullptr);
    const DWORD noClose = SZBARF_NO_CLOSE_BTN;
    struct Case {
        const char* name;
        COXDockbarSkin* skin;
        DWORD barStyle;
        DWORD sizeStyle;
        CRect gripper, close, resize;
    };
    const Case cases[] = {
        {"Classic, left", &classic, CBRS_ALIGN_LEFT, 0, {0, -16, 164, -5}, {179, -16, 190, -5}, {166, -16, 177, -5}},
        {"Classic, top", &classic, CBRS_ALIGN_TOP, 0, {-16, 26, -5, 110}, {-16, 0, -5, 11}, {-16, 13, -5, 24}},
        {"Classic, left, no close button", &classic, CBRS_ALIGN_LEFT, noClose, {0, -16, 177, -5}, {},
            {179, -16, 190, -5}},
        {"XP, left", xp.GetDockbarSkin(), CBRS_ALIGN_LEFT, 0, {0, -16, 162, -5}, {179, -16, 190, -5},
            {165, -16, 176, -5}},
        {"XP, top", xp.GetDockbarSkin(), CBRS_ALIGN_TOP, 0, {-16, 28, -5, 110}, {-16, 0, -5, 11}, {-16, 14, -5, 25}},
        {"XP, top, no resize button", xp.GetDockbarSkin(), CBRS_ALIGN_TOP, SZBARF_NO_RESIZE_BTN, {-16, 14, -5, 110},
            {-16, 0, -5, 11}, {}},
        {"2003, left", s2003.GetDockbarSkin(), CBRS_ALIGN_LEFT, 0, {-3, -29, 193, -5}, {176, -22, 187, -11},
            {162, -22, 173, -11}},
        {"2003, top", s2003.GetDockbarSkin(), CBRS_ALIGN_TOP, 0, {-29, -3, -5, 113}, {-22, 4, -11, 15},
            {-22, 18, -11, 29}},
        {"2003, left, no close button", s2003.GetDockbarSkin(), CBRS_ALIGN_LEFT, noClose, {-3, -29, 193, -5}, {},
            {176, -22, 187, -11}},
        {"Classic, floating", &classic, CBRS_ALIGN_TOP | CBRS_FLOATING, 0, {0, 0, 190, 110}, {}, {}},
        {"2003, floating", s2003.GetDockbarSkin(), CBRS_ALIGN_TOP | CBRS_FLOATING, 0, {-5, -5, 195, 115}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSkinBar* bar = MakeBar(c.skin, c.barStyle, SZBARF_CONTEXT_MENU | c.sizeStyle);
        bar->m_rectCloseBtn = bar->m_rectResizeBtn = CRect(1, 1, 2, 2);   // stale places are cleared
        c.skin->RecalcLayout(bar);
        EXPECT_EQ(bar->m_rectGripper, c.gripper);
        EXPECT_EQ(bar->m_rectCloseBtn, c.close);
        EXPECT_EQ(bar->m_rectResizeBtn, c.resize);
        EXPECT_FALSE(bar->m_bNcLayoutPending);
        bar->ShowWindow(SW_HIDE);
    }
}

// ---- grippers -----------------------------------------------------------------------------------------------

// Without caption text the grip lines run along the whole strip. Classic (bar docked left):
// the strip (5, 5, 169, 16) in the window less 2: two raised boxes 3 high at 7 and 11 from
// 7 to 167. XP: the strip grown by 3 (2, 2, 170, 19), less 4 and 2 (6, 4, 166, 17): four
// lines from 6 to 164 at 7, 9, 11 and 13.
TEST_F(DockbarSkinTest, GripLinesRunTheWholeStripWithoutText)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXDockbarSkinClassic classic;
    CSkinBar* bar = MakeBar(&classic, CBRS_ALIGN_LEFT);
    classic.RecalcLayout(bar);
    {
        Canvas canvas(200, 120, kSentinel);
        classic.DrawGripper(canvas.dc(), bar);
        struct Px {
            int x, y;
            COLORREF colour;
        };
        for (const Px& p : {Px{7, 7, kHighlight}, Px{165, 7, kHighlight}, Px{166, 7, kShadow}, Px{7, 8, kHighlight},
                 Px{100, 8, kSentinel}, Px{100, 9, kShadow}, Px{100, 10, kSentinel}, Px{100, 11, kHighlight},
                 Px{100, 13, kShadow}, Px{100, 14, kSentinel}, Px{6, 7, kSentinel}, Px{167, 9, kSentinel}})
            EXPECT_EQ(canvas.at(p.x, p.y), p.colour) << "Classic (" << p.x << ", " << p.y << ")";
    }
    bar->ShowWindow(SW_HIDE);

    COXSkinXP xp;
    COXDockbarSkin* skin = xp.GetDockbarSkin();
    const COLORREF grip = xp.GetGripperColor();
    bar = MakeBar(skin, CBRS_ALIGN_LEFT);
    skin->RecalcLayout(bar);
    {
        Canvas canvas(200, 120, kSentinel);
        skin->DrawGripper(canvas.dc(), bar);
        for (int y : {7, 9, 11, 13}) {
            EXPECT_EQ(canvas.at(6, y), grip) << y;
            EXPECT_EQ(canvas.at(164, y), grip) << y;
            EXPECT_EQ(canvas.at(165, y), kSentinel) << y;
            EXPECT_EQ(canvas.at(5, y), kSentinel) << y;
            EXPECT_EQ(canvas.at(100, y + 1), kSentinel) << y;
        }
        EXPECT_EQ(canvas.at(100, 15), kSentinel);
    }
    bar->ShowWindow(SW_HIDE);

    // Docked at the top the strip runs up the left edge below the buttons, (-16, 28, -5, 110)
    // grown by 3 and moved into the window (2, 30, 19, 118), less 2 across: lines at x 7,
    // 9, 11, 13 from 30 to 116.
    bar = MakeBar(skin, CBRS_ALIGN_TOP);
    skin->RecalcLayout(bar);
    {
        Canvas canvas(200, 120, kSentinel);
        skin->DrawGripper(canvas.dc(), bar);
        for (int x : {7, 9, 11, 13}) {
            EXPECT_EQ(canvas.at(x, 30), grip) << x;
            EXPECT_EQ(canvas.at(x, 29), kSentinel) << x;
            EXPECT_EQ(canvas.at(x, 116), grip) << x;
            EXPECT_EQ(canvas.at(x, 117), kSentinel) << x;
            EXPECT_EQ(canvas.at(x + 1, 60), kSentinel) << x;
        }
    }
}

// A solid strip: Classic fills it in the caption colour of the bar's state; XP fills it
// and the buttons' part of the strip in the inactive caption colour.
TEST_F(DockbarSkinTest, SolidGrippersFillTheStrip)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXDockbarSkinClassic classic;
    for (bool active : {true, false}) {
        CSkinBar* bar = MakeBar(&classic, CBRS_ALIGN_LEFT, SZBARF_SOLID_GRIPPER);
        bar->m_bActive = active;
        classic.RecalcLayout(bar);
        Canvas canvas(200, 120, kSentinel);
        classic.DrawGripper(canvas.dc(), bar);
        const COLORREF fill = active ? kActiveCaption : kInactiveCaption;
        EXPECT_EQ(canvas.at(5, 5), fill) << active;
        EXPECT_EQ(canvas.at(168, 15), fill) << active;
        EXPECT_EQ(canvas.at(169, 10), kSentinel) << active;
        EXPECT_EQ(canvas.at(100, 16), kSentinel) << active;
        bar->ShowWindow(SW_HIDE);
    }
    // XP: the strip with both buttons (0, -16, 190, -5), grown by 3 and moved into the
    // window (2, 2, 198, 19), filled from (3, 4) to (197, 18).
    COXSkinXP xp;
    COXDockbarSkin* skin = xp.GetDockbarSkin();
    CSkinBar* bar = MakeBar(skin, CBRS_ALIGN_LEFT, SZBARF_SOLID_GRIPPER);
    bar->m_bActive = TRUE;
    skin->RecalcLayout(bar);
    Canvas canvas(200, 120, kSentinel);
    skin->DrawGripper(canvas.dc(), bar);
    EXPECT_EQ(canvas.at(3, 4), kInactiveCaption);
    EXPECT_EQ(canvas.at(190, 10), kInactiveCaption);   // under the close button
    EXPECT_EQ(canvas.at(196, 17), kInactiveCaption);
    EXPECT_EQ(canvas.at(2, 10), kSentinel);
    EXPECT_EQ(canvas.at(197, 10), kSentinel);
    EXPECT_EQ(canvas.at(100, 3), kSentinel);
    EXPECT_EQ(canvas.at(100, 18), kSentinel);
}

// The 2003 strip (2, 0, 198, 24 in the window) runs from the control-bar light colour at
// its top to the dark one, row i of 24 by hand. A bar further down its dock bar than the
// start keeps a 2-pixel band of the dock bar's colour above it.
TEST_F(DockbarSkinTest, The2003StripIsAGradientWithTheDockBandAbove)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSkin2003 s2003;
    ASSERT_FALSE(s2003.HasGradientFillEntry());
    COXDockbarSkin* skin = s2003.GetDockbarSkin();
    const COLORREF light = s2003.GetControlBarLightColor();
    const COLORREF dark = s2003.GetControlBarDarkColor();
    ASSERT_NE(light, dark);
    CSkinBar* bar = MakeBar(skin, CBRS_ALIGN_LEFT);
    skin->RecalcLayout(bar);
    for (bool inDockBar : {false, true}) {
        SCOPED_TRACE(inDockBar ? "50 pixels down its dock bar" : "not docked");
        bar->m_pDockBar = inDockBar ? Dock(kLeft) : nullptr;
        Canvas canvas(200, 120, kSentinel);
        skin->DrawGripper(canvas.dc(), bar);
        for (int i : {0, 1, 2, 12, 23}) {
            const COLORREF expected = inDockBar && i < 2 ? s2003.GetDockbarBackgroundColor() : Lerp(light, dark, i, 24);
            EXPECT_EQ(canvas.at(100, i), expected) << "row " << i;
            EXPECT_EQ(canvas.at(2, i), expected) << "row " << i;
        }
        EXPECT_EQ(canvas.at(1, 12), kSentinel);
        EXPECT_EQ(canvas.at(198, 12), kSentinel);
        EXPECT_EQ(canvas.at(100, 24), kSentinel);
    }
    bar->m_pDockBar = nullptr;
}

// ---- buttons ---------------------------------------------------------------------------------------------------

// Classic buttons are the window system's caption buttons, pushed while pressed, the
// resize one greyed when it cannot act and a restore glyph while maximised. The close
// button (179, -16, 190, -5) lies at (184, 5) in the window, the resize button at (171, 5).
TEST_F(DockbarSkinTest, ClassicButtonsAreTheSystemCaptionButtons)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXDockbarSkinClassic classic;
    CSkinBar* bar = MakeBar(&classic, CBRS_ALIGN_LEFT);
    classic.RecalcLayout(bar);
    struct Case {
        const char* name;
        bool close;
        int pressed;
        BOOL maximised;
        UINT state;
    };
    const Case cases[] = {
        {"close", true, COXSizeControlBar::btnNone, FALSE, DFCS_CAPTIONCLOSE},
        {"close pressed", true, COXSizeControlBar::btnClose, FALSE, DFCS_CAPTIONCLOSE | DFCS_PUSHED},
        {"close, the other pressed", true, COXSizeControlBar::btnResize, FALSE, DFCS_CAPTIONCLOSE},
        {"resize, cannot act", false, COXSizeControlBar::btnNone, FALSE, DFCS_CAPTIONMAX | DFCS_INACTIVE},
        {"resize pressed, maximised", false, COXSizeControlBar::btnResize, TRUE,
            DFCS_CAPTIONMIN | DFCS_PUSHED | DFCS_INACTIVE},
    };
    for (const Case& c : cases) {
        bar->m_nPressedBtn = c.pressed;
        bar->m_bMaximized = c.maximised;
        ASSERT_FALSE(bar->CanResize());   // not in a size dock bar
        Canvas canvas(200, 120, kSentinel);
        Canvas expected(200, 120, kSentinel);
        if (c.close)
            classic.DrawCloseButton(canvas.dc(), bar);
        else
            classic.DrawResizeButton(canvas.dc(), bar);
        CRect r(c.close ? 184 : 171, 5, (c.close ? 184 : 171) + 11, 16);
        expected.dc()->IntersectClipRect(&r);
        expected.dc()->DrawFrameControl(&r, DFC_CAPTION, c.state);
        expected.dc()->SelectClipRgn(nullptr);
        EXPECT_EQ(canvas.Diff(expected), "") << c.name;
    }
    // A floating bar's caption belongs to its frame.
    bar->m_dwStyle |= CBRS_FLOATING;
    Canvas canvas(200, 120, kSentinel);
    classic.DrawCloseButton(canvas.dc(), bar);
    EXPECT_EQ(canvas.at(190, 10), kSentinel);
}

// XP buttons go to the skin object grown by 1 at left and top and 2 at right and bottom,
// on the face colour, or the inactive caption colour under a solid strip.
TEST_F(DockbarSkinTest, XPButtonsLieOnTheStripsColour)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSkinXP xp;
    COXDockbarSkin* skin = xp.GetDockbarSkin();
    for (bool solid : {false, true}) {
        CSkinBar* bar = MakeBar(skin, CBRS_ALIGN_LEFT, solid ? SZBARF_SOLID_GRIPPER : 0);
        skin->RecalcLayout(bar);
        Canvas canvas(200, 120, kSentinel);
        skin->DrawCloseButton(canvas.dc(), bar);
        const COLORREF background = solid ? kInactiveCaption : skintest::kBtnFace;
        // The close button (184, 5, 195, 16) grown: (183, 4, 197, 18).
        EXPECT_EQ(canvas.at(183, 4), background) << solid;
        EXPECT_EQ(canvas.at(196, 17), background) << solid;
        EXPECT_EQ(canvas.at(182, 4), kSentinel) << solid;
        EXPECT_EQ(canvas.at(197, 18), kSentinel) << solid;
        bar->ShowWindow(SW_HIDE);
    }
}

// ---- dock-bar painting -----------------------------------------------------------------------------------------

// Type 1 runs top to bottom, type 2 left to right, any other type is not Classic's to
// paint. XP and 2003 fill the strip and draw a line through its middle, no further down
// than 8000.
TEST_F(DockbarSkinTest, SplittersInTheThreeSkins)
{
    COXDockbarSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 s2003;
    const COLORREF face = skintest::kBtnFace;
    struct Px {
        int x, y;
        COLORREF colour;
    };
    struct Case {
        const char* name;
        COXDockbarSkin* skin;
        int type;
        CRect rect;
        std::vector<Px> pixels;
    };
    const COLORREF xpLine = xp.GetSeparatorColor();
    const COLORREF fill2003 = s2003.GetDockbarBackgroundColor();
    const COLORREF line2003 = s2003.GetSplitterLineColor();
    const Case cases[] = {
        {"Classic, type 1", &classic, 1, {10, 0, 18, 9000},
            {{10, 5, kSentinel}, {11, 5, face}, {12, 5, kHighlight}, {13, 5, kSentinel}, {15, 5, kSentinel},
                {16, 5, kShadow}, {17, 5, skintest::kWindowFrame}, {18, 5, kSentinel}, {11, 8999, face},
                {11, 9000, kSentinel}}},
        {"Classic, type 2", &classic, 2, {0, 10, 40, 18},
            {{5, 10, kSentinel}, {5, 11, face}, {5, 12, kHighlight}, {5, 14, kSentinel}, {5, 16, kShadow},
                {5, 17, skintest::kWindowFrame}, {40, 11, kSentinel}}},
        {"Classic, type 3", &classic, 3, {0, 10, 40, 18}, {{5, 11, kSentinel}, {5, 14, kSentinel}}},
        {"XP, type 1", xp.GetDockbarSkin(), 1, {10, 0, 18, 9000},
            {{10, 5, face}, {13, 5, face}, {14, 5, xpLine}, {15, 5, face}, {17, 7999, face}, {14, 7999, xpLine},
                {14, 8000, kSentinel}, {10, 8000, kSentinel}, {18, 5, kSentinel}}},
        {"XP, type 2", xp.GetDockbarSkin(), 2, {0, 10, 40, 18},
            {{0, 10, face}, {39, 13, face}, {0, 14, xpLine}, {39, 14, xpLine}, {5, 17, face}, {5, 18, kSentinel}}},
        {"XP, type 3 as 2", xp.GetDockbarSkin(), 3, {0, 10, 40, 18}, {{5, 10, face}, {5, 14, xpLine}}},
        {"2003, type 1", s2003.GetDockbarSkin(), 1, {10, 0, 18, 9000},
            {{10, 5, fill2003}, {14, 5, line2003}, {17, 7999, fill2003}, {14, 8000, kSentinel}}},
        {"2003, type 2", s2003.GetDockbarSkin(), 2, {0, 10, 40, 18}, {{5, 10, fill2003}, {5, 14, line2003}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(41, 9010, kSentinel);
        COXSplitterRect splitter(c.type, c.rect);
        c.skin->DrawSplitter(canvas.dc(), &splitter, nullptr);
        for (const Px& p : c.pixels)
            EXPECT_EQ(canvas.at(p.x, p.y), p.colour) << c.name << " (" << p.x << ", " << p.y << ")";
    }
}

// The 2003 background is one band as wide as the screen (or the dock bar when wider): its
// left half the dock gradient, its right half the gradient's end colour. Dock bars of any
// width up to the screen's so show the same colour at the same distance from their left
// edges.
TEST_F(DockbarSkinTest, The2003BackgroundIsTheSameScreenWideGradientOnEveryDockBar)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSkin2003 s2003;
    COXDockbarSkin* skin = s2003.GetDockbarSkin();
    const int half = GetSystemMetrics(SM_CXSCREEN) / 2;
    ASSERT_GT(half, 300);
    const COLORREF left = s2003.GetDockbarLeftColor(), right = s2003.GetDockbarRightColor();
    ASSERT_NE(left, right);
    std::vector<std::unique_ptr<Canvas>> canvases;
    for (int width : {300, 2 * half - 10}) {
        auto dock = std::make_unique<COXSizeDockBar>();
        ASSERT_TRUE(dock->Create(frame, WS_CHILD | CBRS_ALIGN_TOP, 0x3300));
        dock->SetWindowPos(nullptr, 0, 0, width, 20, SWP_NOZORDER | SWP_NOACTIVATE);
        auto canvas = std::make_unique<Canvas>(width, 20, kSentinel);
        skin->DrawBackground(canvas->dc(), dock.get());
        canvases.push_back(std::move(canvas));
        dock->DestroyWindow();
    }
    for (int x : {0, 1, 150, 299})
        EXPECT_EQ(canvases[0]->at(x, 10), Lerp(left, right, x, half)) << x;
    for (int x = 0; x < 300; ++x)
        ASSERT_EQ(canvases[0]->at(x, 0), canvases[1]->at(x, 19)) << x;
    EXPECT_EQ(canvases[1]->at(half - 1, 5), Lerp(left, right, half - 1, half));
    EXPECT_EQ(canvases[1]->at(half, 5), right);
    EXPECT_EQ(canvases[1]->at(2 * half - 11, 5), right);

    // Classic and XP: the face colour.
    COXDockbarSkinClassic classic;
    COXSkinXP xp;
    auto dock = std::make_unique<COXSizeDockBar>();
    ASSERT_TRUE(dock->Create(frame, WS_CHILD | CBRS_ALIGN_TOP, 0x3300));
    dock->SetWindowPos(nullptr, 0, 0, 30, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    for (COXDockbarSkin* plain : {static_cast<COXDockbarSkin*>(&classic), xp.GetDockbarSkin()}) {
        Canvas canvas(31, 11, kSentinel);
        plain->DrawBackground(canvas.dc(), dock.get());
        EXPECT_EQ(canvas.at(0, 0), skintest::kBtnFace);
        EXPECT_EQ(canvas.at(29, 9), skintest::kBtnFace);
        EXPECT_EQ(canvas.at(30, 9), kSentinel);
        EXPECT_EQ(canvas.at(29, 10), kSentinel);
    }
    dock->DestroyWindow();
}

// A dock bar's non-client area (a 1-pixel border here): XP paints it in the dock-bar
// colour; 2003 continues the frame's gradient from the frame's left edge while no size bar
// is docked, and paints the dock-bar colour once one is.
TEST_F(DockbarSkinTest, TheDockBarsNonClientAreaFollowsTheFrame)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSkin2003 s2003;
    COXSkinXP xp;
    auto dock = std::make_unique<COXSizeDockBar>();
    // No side: the frame's layout leaves it where it is put.
    ASSERT_TRUE(dock->Create(frame, WS_CHILD | WS_VISIBLE | WS_BORDER, 0x3300));
    ::SetWindowPos(dock->m_hWnd, HWND_TOP, 50, 40, 200, 30, SWP_NOACTIVATE);
    Pump();
    const CRect window = ScreenRect(*dock);
    CRect frameRect = ScreenRect(*frame);
    const int half = std::max(GetSystemMetrics(SM_CXSCREEN), frameRect.Width()) / 2;
    const COLORREF left = s2003.GetDockbarLeftColor(), right = s2003.GetDockbarRightColor();

    s2003.GetDockbarSkin()->OnNcPaintSizeDockBar(dock.get());
    for (int x : {0, 1, 100, 199}) {
        const int fromFrame = window.left + x - frameRect.left;
        EXPECT_EQ(ScreenPixels(CRect(window.left + x, window.top, window.left + x + 1, window.top + 1))[0],
            Lerp(left, right, fromFrame, half))
            << x;
    }
    const std::vector<COLORREF> inside = ScreenPixels(CRect(window.left + 1, window.top + 1, window.left + 2, window.top + 2));

    CTestSizeBar* bar = MakeSizeBar(CSize(50, 20));
    dock->m_arrBars.Add(bar);
    dock->m_arrBars.Add(nullptr);
    s2003.GetDockbarSkin()->OnNcPaintSizeDockBar(dock.get());
    EXPECT_EQ(ScreenPixels(CRect(window.left + 100, window.top, window.left + 101, window.top + 1))[0],
        s2003.GetDockbarBackgroundColor());
    EXPECT_EQ(ScreenPixels(CRect(window.left + 1, window.top + 1, window.left + 2, window.top + 2)), inside)
        << "the client area is left alone";
    dock->m_arrBars.RemoveAll();
    dock->m_arrBars.Add(nullptr);

    colours.Set({{COLOR_BTNFACE, RGB(90, 91, 92)}});
    xp.GetDockbarSkin()->OnNcPaintSizeDockBar(dock.get());
    EXPECT_EQ(ScreenPixels(CRect(window.left, window.bottom - 1, window.left + 1, window.bottom))[0], RGB(90, 91, 92));
    dock->DestroyWindow();
}

// The size bar's non-client area under its strip: the face colour in Classic and XP, the
// dock-bar colour in 2003; the client border colour of each.
TEST_F(DockbarSkinTest, NonClientFillAndClientBorderColours)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    colours.Set({{COLOR_WINDOWFRAME, RGB(7, 8, 9)}});
    COXDockbarSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 s2003;
    CSkinBar* bar = MakeBar(&classic, CBRS_ALIGN_LEFT);
    const CRect whole(0, 0, 200, 120);
    struct Case {
        const char* name;
        COXDockbarSkin* skin;
        COLORREF fill, border;
    };
    const Case cases[] = {
        {"Classic", &classic, skintest::kBtnFace, RGB(7, 8, 9)},
        {"XP", xp.GetDockbarSkin(), skintest::kBtnFace, xp.GetBorderColor()},
        {"2003", s2003.GetDockbarSkin(), s2003.GetDockbarBackgroundColor(), s2003.GetBorderColor()},
    };
    for (const Case& c : cases) {
        Canvas canvas(201, 121, kSentinel);
        canvas.dc()->SetBkColor(RGB(255, 255, 255));
        c.skin->DrawNonClientArea(canvas.dc(), &whole, bar);
        EXPECT_EQ(canvas.at(0, 0), c.fill) << c.name;
        EXPECT_EQ(canvas.at(199, 119), c.fill) << c.name;
        EXPECT_EQ(canvas.at(200, 120), kSentinel) << c.name;
        EXPECT_EQ(canvas.dc()->GetBkColor(), RGB(255, 255, 255)) << c.name << ": the DC's colours are kept";
        EXPECT_EQ(c.skin->GetClientBorderColor(), c.border) << c.name;
    }
}

} // namespace
} // namespace zyn::test
