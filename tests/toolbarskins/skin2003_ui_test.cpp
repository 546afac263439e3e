// The 2003 toolbar skin under a visual style (the fake one of the skin tests: highlight
// TH = (49, 106, 197), active caption (0, 84, 227)) and without "Msimg32.dll", so that
// every gradient takes the hand-drawn rule: line i of n is from + (to - from) * i / n,
// truncated. The bar is 300 x 40 outside with a client area from (10, 3) to (297, 37).
#include <vector>

#include "platform/afx/dockbar.h"
#include "platform/gdi/wingdi.h"
#include "tests/skins/msimg32.h"
#include "tests/skins/skin_test_support.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/skin_2003.h"

namespace tbtest {
namespace {

// Themed colours worked from TH: the separator is Blend(WINDOW .2, TH .8), the gripper
// TH x .7, the dock bar's left and right Blend(WINDOW .5, TH .5) and Blend(WINDOW .7, TH .3).
constexpr COLORREF kSeparator = RGB(90, 135, 208), kGripper = RGB(34, 74, 137);
constexpr COLORREF kDockLeft = RGB(152, 180, 226), kDockRight = RGB(193, 210, 237);
constexpr COLORREF kDisabledText = RGB(141, 141, 141);

class Skin2003Test : public TbSkinTest {
protected:
    void SetUp() override
    {
        TbSkinTest::SetUp();
        skin = std::make_unique<COXSkin2003>();
        ASSERT_TRUE(skin->IsThemed());
        ASSERT_FALSE(skin->HasGradientFillEntry());
    }
    void TearDown() override
    {
        skin.reset();
        TbSkinTest::TearDown();
    }
    COXToolbarSkin* Skin() { return skin->GetToolbarSkin(); }
    void MakeBar(CSkinTestBar& bar, const std::vector<TBBUTTON>& buttons)
    {
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
        bar.skin = Skin();
        bar.Add(buttons);
        bar.Repaint();
    }
    // The bar's client row y shows row y + 3 of the window's 40-row gradient.
    static COLORREF Background(int y) { return Lerp(kThemedToolbarLight, kThemedToolbarDark, y + 3, 40); }

    skintest::Msimg32Replaced noLibrary{{}, false};
    skintest::FakeThemeModule theme;
    std::unique_ptr<COXSkin2003> skin;
};

// The client area is the part of a top-to-bottom gradient that spans the whole window.
TEST_F(Skin2003Test, BackgroundSpansTheWindow)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    for (int y = 0; y < 34; ++y)
        EXPECT_EQ(ClientPixel(bar, 200, y), Background(y)) << "row " << y;
    // A vertical bar's runs left to right over the window's 300 columns.
    bar.m_dwStyle = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
    bar.Repaint();
    for (int x : {30, 150, 286})
        EXPECT_EQ(ClientPixel(bar, x, 30), Lerp(kThemedToolbarLight, kThemedToolbarDark, x + 10, 300)) << "x " << x;
}

// Hot, checked and pressed buttons are shaded from light to dark over the 20 rows inside
// their frame; their images are not lifted. Dropped and pressed-only buttons show the
// bar's gradient.
TEST_F(Skin2003Test, ButtonsAreShadedTopToBottom)
{
    struct Row {
        const char* name;
        BYTE style;
        BYTE state;
        bool hot;
        bool dropped;
        COLORREF light, dark; // CLR_INVALID: no background of its own
    } rows[] = {
        {"hot", BTNS_BUTTON, TBSTATE_ENABLED, true, false, kThemedHotLight, kThemedHotDark},
        {"checked", BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, false, false, kThemedCheckedLight,
            kThemedCheckedDark},
        {"pressed and hot", BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_PRESSED, true, false, kThemedPressedLight,
            kThemedPressedDark},
        {"checked and hot", BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, true, false, kThemedPressedLight,
            kThemedPressedDark},
        {"pressed, not hot", BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_PRESSED, false, false, CLR_INVALID, CLR_INVALID},
        {"dropped", BTNS_BUTTON, TBSTATE_ENABLED, true, true, CLR_INVALID, CLR_INVALID},
        {"normal", BTNS_BUTTON, TBSTATE_ENABLED, false, false, CLR_INVALID, CLR_INVALID},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CSkinTestBar bar;
        MakeBar(bar, {CSkinTestBar::Button(7, 1, row.style, row.state)});
        bar.Send(TB_SETHOTITEM, row.hot ? 0 : static_cast<WPARAM>(-1));
        if (row.dropped)
            bar.DropDownOpened(7);
        bar.Repaint();
        const bool own = row.light != CLR_INVALID;
        EXPECT_EQ(ClientPixel(bar, 0, 0), own ? kThemedBorder : Background(0));
        EXPECT_EQ(ClientPixel(bar, 23, 21), own ? kThemedBorder : Background(21));
        for (int y = 1; y < 21; ++y) {
            const COLORREF want = own ? Lerp(row.light, row.dark, y - 1, 20) : Background(y);
            EXPECT_EQ(ClientPixel(bar, 1, y), want) << "row " << y;
            EXPECT_EQ(ClientPixel(bar, 22, y), want) << "row " << y;
        }
        EXPECT_EQ(ClientPixel(bar, 7, 6), kImageColours[1]) << "the image in place";
        EXPECT_EQ(ClientPixel(bar, 16, 14), kImageColours[1]);
        EXPECT_EQ(ClientPixel(bar, 17, 15), own ? Lerp(row.light, row.dark, 14, 20) : Background(15)) << "no shadow";
        if (row.dropped) {
            EXPECT_EQ(bar.GetDroppedButton(), -1);
        }
    }
}

// A disabled button: the mono image in the disabled text colour.
TEST_F(Skin2003Test, DisabledButton)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(7, 1, BTNS_BUTTON, 0)});
    EXPECT_EQ(ClientPixel(bar, 7, 6), kDisabledText);
    EXPECT_EQ(ClientPixel(bar, 6, 5), Background(5));
}

// A separator of a horizontal bar: a line 4 pixels short of each end, and a white one a
// pixel right and down.
TEST_F(Skin2003Test, SeparatorIsAnEmbossedPair)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0), CSkinTestBar::Separator(8), CSkinTestBar::Button(2, 1)});
    ASSERT_EQ(bar.Item(1), CRect(24, 0, 32, 22));
    for (int y = 0; y < 22; ++y) {
        EXPECT_EQ(ClientPixel(bar, 27, y), y >= 4 && y < 18 ? kSeparator : Background(y)) << "row " << y;
        EXPECT_EQ(ClientPixel(bar, 28, y), y >= 5 && y < 19 ? kWhite : Background(y)) << "row " << y;
    }
    // A separator across a row end is shortened at its left and right ends instead.
    Sentinel dc(100, 30);
    const CRect across(0, 10, 100, 18);
    Skin()->DrawSeparator(dc.dc(), &across, &bar);
    EXPECT_EQ(dc.at(3, 13), Sentinel::kColour);
    EXPECT_EQ(dc.at(4, 13), kSeparator);
    EXPECT_EQ(dc.at(95, 13), kSeparator);
    EXPECT_EQ(dc.at(96, 13), Sentinel::kColour);
    EXPECT_EQ(dc.at(5, 14), kWhite);
    EXPECT_EQ(dc.at(96, 14), kWhite);
    EXPECT_EQ(dc.at(4, 14), Sentinel::kColour);
}

// The gripper band: the XP band one pixel further along the bar and 2 pixels across,
// striped by the 2003 skin (two gripper lines and a white one every fourth line).
TEST_F(Skin2003Test, Gripper)
{
    using zyn::barskin::BarPlace;
    struct Row {
        const char* name;
        DWORD style;
        bool dockContext;
        CRect xp, office2003;
    } rows[] = {
        // (0, 0, 300, 40): XP (2, 6, 298, 35) before the adjustments.
        {"horizontal, docking", CBRS_ALIGN_TOP, true, CRect(4, 6, 7, 33), CRect(5, 6, 7, 33)},
        {"horizontal, bottom border", CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, false, CRect(2, 4, 5, 33),
            CRect(3, 4, 5, 33)},
        {"horizontal, plain", CBRS_ALIGN_TOP, false, CRect(2, 6, 5, 35), CRect(3, 6, 5, 35)},
        // (0, 0, 40, 300): XP (3, 4, 33, 296) before the adjustments.
        {"vertical, docking", CBRS_ALIGN_LEFT, true, CRect(5, 4, 33, 7), CRect(5, 5, 33, 7)},
        {"vertical, plain", CBRS_ALIGN_LEFT, false, CRect(3, 4, 35, 7), CRect(3, 5, 35, 7)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BarPlace place;
        place.style = row.style;
        place.dockContext = row.dockContext;
        const bool horizontal = (row.style & CBRS_ORIENT_HORZ) != 0;
        const CRect area = horizontal ? CRect(0, 0, 300, 40) : CRect(0, 0, 40, 300);
        EXPECT_EQ(zyn::barskin::XPGripperBand(area, place), row.xp);
        EXPECT_EQ(zyn::barskin::Gripper2003Band(area, place), row.office2003);
    }
    // Pixels of the horizontal bar with a bottom border, band (3, 4, 5, 33).
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    Sentinel dc(300, 40);
    const CRect window(0, 0, 300, 40);
    Skin()->DrawGripper(dc.dc(), &window, &bar);
    for (int y = 4; y <= 34; ++y) {
        const int phase = (y - 4) % 4;
        const COLORREF left = phase < 2 ? kGripper : Sentinel::kColour;
        const COLORREF shadowed = phase < 2 ? kGripper : (phase == 2 ? kWhite : Sentinel::kColour);
        EXPECT_EQ(dc.at(3, y), left) << "row " << y;
        EXPECT_EQ(dc.at(4, y), shadowed) << "row " << y;
        EXPECT_EQ(dc.at(5, y), phase == 2 ? kWhite : Sentinel::kColour) << "row " << y;
    }
    bar.m_dwStyle |= CBRS_FLOATING;
    Sentinel floating(300, 40);
    Skin()->DrawGripper(floating.dc(), &window, &bar);
    EXPECT_EQ(floating.Untouched(), 300 * 40);
}

// The non-client area: a floating bar's ring is the dock-bar background; a docked bar's
// continues the frame's dock-bar gradient (its left half spread over half the screen
// width from the frame's left edge); both keep a rounded gradient body.
TEST_F(Skin2003Test, NonClientArea)
{
    CSkinTestBar bar;
    MakeBar(bar, {CSkinTestBar::Button(1, 0)});
    const CRect window(0, 0, 300, 40);
    const auto body = [](int y) { return Lerp(kThemedToolbarLight, kThemedToolbarDark, y - 2, 36); };
    {
        Sentinel dc(300, 40);
        Skin()->DrawNonClientArea(dc.dc(), &window, &bar);
        EXPECT_EQ(dc.at(0, 0), kDockRight);
        EXPECT_EQ(dc.at(1, 20), kDockRight);
        EXPECT_EQ(dc.at(299, 39), kDockRight);
        for (const CPoint corner : {CPoint(2, 2), CPoint(297, 2), CPoint(297, 37), CPoint(2, 37)})
            EXPECT_EQ(dc.at(corner.x, corner.y), kDockRight) << "rounded corner " << corner.x << ", " << corner.y;
        for (int y = 3; y < 37; ++y)
            EXPECT_EQ(dc.at(2, y), body(y)) << "row " << y;
        EXPECT_EQ(dc.at(100, 2), body(2));
        EXPECT_EQ(dc.at(100, 37), body(37));
        EXPECT_EQ(dc.at(100, 20), Sentinel::kColour) << "the client area is excluded";
    }
    // Docked: the frame (the parent, whose left edge is 20 pixels left of the bar) starts
    // the band at x = -20; its gradient half is max(1280, 500) / 2 = 640 columns.
    CDockBar dockBar;
    bar.m_pDockBar = &dockBar;
    {
        Sentinel dc(300, 40);
        Skin()->DrawNonClientArea(dc.dc(), &window, &bar);
        for (int x : {0, 1, 150, 299})
            EXPECT_EQ(dc.at(x, 0), Lerp(kDockLeft, kDockRight, x + 20, 640)) << "x " << x;
        EXPECT_EQ(dc.at(2, 2), Lerp(kDockLeft, kDockRight, 22, 640)) << "the corner keeps the band's colour";
        EXPECT_EQ(dc.at(2, 20), body(20));
    }
    bar.m_pDockBar = nullptr;
}

} // namespace
} // namespace tbtest
