// Colour arithmetic and the Office XP / Office 2003 colour schemes. Expected values are
// worked out by hand from the schemes' formulas for the classic system colours
// (WINDOW 255,255,255; BTNFACE 212,208,200; HIGHLIGHT 10,36,106; BTNSHADOW and GRAYTEXT
// 128,128,128) and the fake visual style's colours (highlight TH 49,106,197; active
// caption TA 0,84,227).
#include <gtest/gtest.h>

#include <climits>

#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"

using skintest::FakeTheme;
using skintest::FakeThemeModule;
using skintest::SysColours;

// ---- arithmetic ---------------------------------------------------------------------------

TEST(ColourArithmetic, ModifyColorKeepsEachChannelWithinItsByte)
{
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(0xF0, 0xF0, 0xF0), 32, 32, 32), RGB(255, 255, 255));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(10, 20, 30), 1, 2, 3), RGB(11, 22, 33));
    // Negative deltas stop at 0 in their own channel and leave the others alone (no
    // borrow from green into red, or from blue into green).
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(5, 200, 7), -8, 0, 0), RGB(0, 200, 7));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(100, 5, 100), 0, -99, 0), RGB(100, 0, 100));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(0, 84, 227), 0, -84, -99), RGB(0, 0, 128));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(0, 83, 98), 0, -84, -99), RGB(0, 0, 0));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(1, 2, 3), -255, -255, -255), RGB(0, 0, 0));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(255, 0, 255), 255, 255, 255), RGB(255, 255, 255));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(255, 0, 255), -1000, 1000, 0), RGB(0, 255, 255));
}

// Deltas at the ends of the int range saturate; nothing overflows on the way (the
// sanitised build would stop on a signed overflow).
TEST(ColourArithmetic, ModifyColorSaturatesExtremeDeltas)
{
    struct Case {
        COLORREF colour;
        int r, g, b;
        COLORREF expected;
    };
    const Case cases[] = {
        {RGB(0x80, 0x80, 0x80), INT_MAX, INT_MIN, 0, RGB(255, 0, 0x80)},
        {RGB(255, 255, 255), INT_MAX, INT_MAX, INT_MAX, RGB(255, 255, 255)},
        {RGB(0, 0, 0), INT_MIN, INT_MIN, INT_MIN, RGB(0, 0, 0)},
        {RGB(1, 254, 0), INT_MIN + 1, INT_MAX - 1, 1, RGB(0, 255, 1)},
        {RGB(200, 100, 50), INT_MAX - 150, -(INT_MAX - 150), 205, RGB(255, 0, 255)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COXSkinXP::ModifyColor(c.colour, c.r, c.g, c.b), c.expected)
            << std::hex << c.colour << " " << std::dec << c.r << " " << c.g << " " << c.b;
}

TEST(ColourArithmetic, ModifyColorIgnoresTheHighByte)
{
    EXPECT_EQ(COXSkinXP::ModifyColor(0xFF102030u, 1, 1, 1), RGB(0x31, 0x21, 0x11));
}

TEST(ColourArithmetic, FloatModifyColorTruncatesAndCaps)
{
    // 1.2 times 0xEC, 0xE9 and 0xD8 all pass 255.
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(0xEC, 0xE9, 0xD8), 1.2f, 1.2f, 1.2f), RGB(255, 255, 255));
    // 212 × 1.2 = 254.4, 208 × 1.2 = 249.6, 200 × 1.2 = 240 exactly.
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(212, 208, 200), 1.2f, 1.2f, 1.2f), RGB(254, 249, 240));
    EXPECT_EQ(COXSkinXP::ModifyColor(RGB(100, 100, 100), 0.5f, 0.0f, -1.0f), RGB(50, 0, 0));
}

TEST(ColourArithmetic, Blend3ColorsTruncatesAndCaps)
{
    EXPECT_EQ(COXSkinXP::Blend3Colors(RGB(255, 255, 255), 0, 0, 0.7f, 0.3f, 0), RGB(178, 178, 178));
    // Exact products written with decimal weights stay on their integer: 255 × 0.2 = 51.
    EXPECT_EQ(COXSkinXP::Blend3Colors(RGB(255, 255, 255), 0, 0, 0.2f, 0.8f, 0), RGB(51, 51, 51));
    // 200 × 0.42 + 255 × 0.48 + 106 × 0.1 = 84 + 122.4 + 10.6 = 217.
    EXPECT_EQ(COXSkinXP::Blend3Colors(RGB(0, 0, 200), RGB(0, 0, 255), RGB(0, 0, 106), 0.42f, 0.48f, 0.1f),
        RGB(0, 0, 217));
    // Weights above one cap at 255; negative sums floor at 0.
    EXPECT_EQ(COXSkinXP::Blend3Colors(RGB(200, 10, 0), RGB(200, 10, 0), 0, 1.0f, 1.0f, 0), RGB(255, 20, 0));
    EXPECT_EQ(COXSkinXP::Blend3Colors(RGB(200, 10, 0), 0, 0, -1.0f, 0, 0), RGB(0, 0, 0));
}

TEST(ColourArithmetic, InvertColor)
{
    EXPECT_EQ(COXSkinXP::InvertColor(RGB(10, 36, 106)), RGB(245, 219, 149));
    EXPECT_EQ(COXSkinXP::InvertColor(0x6A240A), 0x95DBF5u);
    EXPECT_EQ(COXSkinXP::InvertColor(0xFF000000u), RGB(255, 255, 255));
}

// ---- the Office XP scheme ---------------------------------------------------------------------

class SchemeTest : public testing::Test {
protected:
    SysColours m_colours;
};

TEST_F(SchemeTest, XPColoursFollowTheirFormulas)
{
    COXSkinXP skin;
    EXPECT_EQ(skin.GetHotItemColor(), 0xD2BDB5u);                  // W .7 + H .3
    EXPECT_EQ(skin.GetCheckedItemColor(), RGB(212, 213, 217));      // F .42 + W .48 + H .1
    EXPECT_EQ(skin.GetHotSelectedItemColor(), RGB(132, 145, 180));  // W .5 + H .5
    EXPECT_EQ(skin.GetActiveBorderColor(), RGB(10, 36, 106));
    EXPECT_EQ(skin.GetMenuFaceColor(), RGB(248, 248, 247));         // W .86 + F .14
    EXPECT_EQ(skin.GetMenuBorderColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetBackgroundColor(), 0xD0D7DAu);                // W .16 + F .84
    EXPECT_EQ(skin.GetDockbarBackgroundColor(), RGB(212, 208, 200));
    EXPECT_EQ(skin.GetInactiveTabTextColor(), RGB(120, 116, 106));  // GRAYTEXT - (8, 12, 22)
    EXPECT_EQ(skin.GetSeparatorColor(), 0xA6A6A6u);                 // BTNSHADOW + 38
    EXPECT_EQ(skin.GetBorderColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetGripperColor(), 0xA0A0A0u);                   // BTNSHADOW + 32
    EXPECT_EQ(skin.GetMiniFrameCaptionColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetMiniFrameCaptionTextColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetMiniFrameBorderColor(), RGB(119, 119, 119));   // BTNSHADOW - 9
    EXPECT_EQ(skin.GetMiniFrameLightBorderColor(), 0xD0D7DAu);      // the background colour
    EXPECT_EQ(skin.GetDisabledTextColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetDisabledMenuTextColor(), 0xA6A6A6u);          // the separator colour
    EXPECT_EQ(skin.GetHiddenItemBackgroundColor(), RGB(204, 200, 192));
    EXPECT_EQ(skin.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.GetSelectedTextColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetTabButtonsBackgroundColor(), RGB(254, 249, 240)); // BTNFACE × 1.2
    EXPECT_EQ(skin.GetStatusPaneColor(), RGB(229, 220, 216));       // BTNFACE + (17, 12, 16)
}

TEST_F(SchemeTest, XPColoursFollowTheDesktopSchemeAtEachCall)
{
    COXSkinXP skin;
    EXPECT_EQ(skin.GetGripperColor(), 0xA0A0A0u);
    m_colours.Set({{COLOR_BTNSHADOW, RGB(240, 10, 0)}, {COLOR_GRAYTEXT, RGB(5, 10, 20)}});
    EXPECT_EQ(skin.GetGripperColor(), RGB(255, 42, 32));
    EXPECT_EQ(skin.GetMiniFrameBorderColor(), RGB(231, 1, 0));
    // Each channel floors at 0 on its own.
    EXPECT_EQ(skin.GetInactiveTabTextColor(), RGB(0, 0, 0));
}

// ---- the Office 2003 scheme -------------------------------------------------------------------

TEST_F(SchemeTest, Office2003WithoutVisualStylesLibrary)
{
    COXSkin2003 skin;
    COXSkinXP xp;
    EXPECT_FALSE(skin.IsThemed());

    EXPECT_EQ(skin.GetHotItemColor(), xp.GetHotItemColor());
    EXPECT_EQ(skin.GetCheckedItemColor(), RGB(212, 213, 217));
    EXPECT_EQ(skin.GetHotSelectedItemColor(), RGB(132, 145, 180));
    EXPECT_EQ(skin.GetActiveBorderColor(), RGB(10, 36, 106));
    EXPECT_EQ(skin.GetMenuFaceColor(), RGB(248, 248, 247));
    EXPECT_EQ(skin.GetMenuBorderColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetBackgroundColor(), 0xD0D7DAu);
    EXPECT_EQ(skin.GetDockbarBackgroundColor(), RGB(212, 208, 200));
    EXPECT_EQ(skin.GetInactiveTabTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.GetSeparatorColor(), 0xA6A6A6u);
    EXPECT_EQ(skin.GetBorderColor(), 0xA6A6A6u); // the XP separator colour
    EXPECT_EQ(skin.GetGripperColor(), 0xA0A0A0u);
    EXPECT_EQ(skin.GetMiniFrameCaptionColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetMiniFrameCaptionTextColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetMiniFrameBorderColor(), RGB(119, 119, 119));
    EXPECT_EQ(skin.GetMiniFrameLightBorderColor(), RGB(212, 208, 200)); // the dock-bar background
    EXPECT_EQ(skin.GetDisabledTextColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetDisabledMenuTextColor(), 0xA6A6A6u);

    EXPECT_EQ(skin.GetToolbarLightColor(), RGB(245, 244, 242));      // W .78 + F .22
    EXPECT_EQ(skin.GetToolbarDarkColor(), RGB(213, 209, 202));       // W .04 + F .96
    EXPECT_EQ(skin.GetMenuStripLeftColor(), RGB(248, 248, 247));     // W .86 + F .14
    EXPECT_EQ(skin.GetMenuStripRightColor(), RGB(215, 211, 204));    // W .08 + F .92
    EXPECT_EQ(skin.GetGripperStripesShadowColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetControlBarLightColor(), RGB(243, 242, 240));   // W .73 + F .27
    EXPECT_EQ(skin.GetControlBarDarkColor(), RGB(212, 208, 200));
    EXPECT_EQ(skin.GetDockbarLeftColor(), RGB(212, 208, 200));
    EXPECT_EQ(skin.GetDockbarRightColor(), RGB(246, 245, 244));      // W .8 + F .2
    EXPECT_EQ(skin.GetTabBackgroundLightColor(), RGB(245, 244, 242));
    EXPECT_EQ(skin.GetTabBackgroundDarkColor(), RGB(213, 209, 202));
    EXPECT_EQ(skin.GetTabItemLightColor(), RGB(243, 242, 240));
    EXPECT_EQ(skin.GetTabItemDarkColor(), RGB(212, 208, 200));
    EXPECT_EQ(skin.GetMenubarItemLightColor(), RGB(248, 248, 247));
    EXPECT_EQ(skin.GetMenubarItemDarkColor(), RGB(236, 235, 231));   // W .58 + F .42
    EXPECT_EQ(skin.GetShortcutBarLightColor(), RGB(248, 248, 247));
    EXPECT_EQ(skin.GetShortcutBarDarkColor(), 0xD0D7DAu);            // the background colour
    EXPECT_EQ(skin.GetSplitterLineColor(), 0xA6A6A6u);
    EXPECT_EQ(skin.GetStatusbarTopColor(), RGB(128, 128, 128));
    EXPECT_EQ(skin.GetStatusbarMiddleColor(), RGB(233, 231, 227));   // W .5 + F .5
    EXPECT_EQ(skin.GetStatusbarBottomColor(), RGB(220, 217, 211));   // W .2 + F .8
    EXPECT_EQ(skin.GetHotToolbarItemLightColor(), 0xD2BDB5u);
    EXPECT_EQ(skin.GetHotToolbarItemDarkColor(), 0xD2BDB5u);
    EXPECT_EQ(skin.GetCheckedToolbarItemLightColor(), RGB(212, 213, 217));
    EXPECT_EQ(skin.GetCheckedToolbarItemDarkColor(), RGB(212, 213, 217));
    EXPECT_EQ(skin.GetHotSelectedToolbarItemLightColor(), RGB(132, 145, 180));
    EXPECT_EQ(skin.GetHotSelectedToolbarItemDarkColor(), RGB(132, 145, 180));
}

TEST_F(SchemeTest, Office2003WithAVisualStyle)
{
    FakeThemeModule theme;
    COXSkin2003 skin;
    EXPECT_TRUE(skin.IsThemed());

    EXPECT_EQ(skin.GetHotItemColor(), 0xC2EEFFu);
    EXPECT_EQ(skin.GetCheckedItemColor(), 0x6FC0FFu);
    EXPECT_EQ(skin.GetHotSelectedItemColor(), 0x3E80FEu);
    EXPECT_EQ(skin.GetActiveBorderColor(), RGB(0, 0, 128));          // TA + (0, -84, -99)
    EXPECT_EQ(skin.GetMenuFaceColor(), 0xF6F6F6u);
    EXPECT_EQ(skin.GetMenuBorderColor(), RGB(0, 46, 124));           // TA × .55
    EXPECT_EQ(skin.GetBackgroundColor(), 0xD0D7DAu);                 // as XP
    EXPECT_EQ(skin.GetDockbarBackgroundColor(), RGB(193, 210, 237)); // the dock-bar right colour
    EXPECT_EQ(skin.GetInactiveTabTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.GetSeparatorColor(), RGB(90, 135, 208));          // W .2 + TH .8
    EXPECT_EQ(skin.GetBorderColor(), RGB(24, 53, 98));               // TH × .5
    EXPECT_EQ(skin.GetGripperColor(), RGB(34, 74, 137));             // TH × .7
    EXPECT_EQ(skin.GetMiniFrameCaptionColor(), RGB(49, 106, 197));
    EXPECT_EQ(skin.GetMiniFrameCaptionTextColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetMiniFrameBorderColor(), RGB(49, 106, 197));
    EXPECT_EQ(skin.GetMiniFrameLightBorderColor(), RGB(193, 210, 237));
    EXPECT_EQ(skin.GetDisabledTextColor(), 0x8D8D8Du);
    EXPECT_EQ(skin.GetDisabledMenuTextColor(), 0x8D8D8Du);

    const COLORREF light = RGB(244, 247, 252); // W .95 + TH .05
    const COLORREF dark = RGB(90, 135, 208);   // W .2 + TH .8
    EXPECT_EQ(skin.GetToolbarLightColor(), light);
    EXPECT_EQ(skin.GetToolbarDarkColor(), dark);
    EXPECT_EQ(skin.GetMenuStripLeftColor(), light);
    EXPECT_EQ(skin.GetMenuStripRightColor(), dark);
    EXPECT_EQ(skin.GetGripperStripesShadowColor(), RGB(255, 255, 255));
    EXPECT_EQ(skin.GetControlBarLightColor(), light);
    EXPECT_EQ(skin.GetControlBarDarkColor(), dark);
    EXPECT_EQ(skin.GetDockbarLeftColor(), RGB(152, 180, 226));       // W .5 + TH .5
    EXPECT_EQ(skin.GetDockbarRightColor(), RGB(193, 210, 237));      // W .7 + TH .3
    EXPECT_EQ(skin.GetTabBackgroundLightColor(), light);
    EXPECT_EQ(skin.GetTabBackgroundDarkColor(), dark);
    EXPECT_EQ(skin.GetTabItemLightColor(), light);
    EXPECT_EQ(skin.GetTabItemDarkColor(), RGB(193, 210, 237));
    EXPECT_EQ(skin.GetMenubarItemLightColor(), light);
    EXPECT_EQ(skin.GetMenubarItemDarkColor(), dark);
    EXPECT_EQ(skin.GetShortcutBarLightColor(), light);
    EXPECT_EQ(skin.GetShortcutBarDarkColor(), RGB(152, 180, 226));
    EXPECT_EQ(skin.GetSplitterLineColor(), RGB(152, 180, 226));
    EXPECT_EQ(skin.GetStatusbarTopColor(), RGB(91, 108, 135));       // W .3 + TH .3 + black .4
    EXPECT_EQ(skin.GetStatusbarMiddleColor(), RGB(172, 195, 231));   // W .6 + TH .4
    EXPECT_EQ(skin.GetStatusbarBottomColor(), RGB(110, 150, 214));   // W .3 + TH .7
    EXPECT_EQ(skin.GetHotToolbarItemLightColor(), 0xCCF4FFu);
    EXPECT_EQ(skin.GetHotToolbarItemDarkColor(), 0x91D0FFu);
    EXPECT_EQ(skin.GetCheckedToolbarItemLightColor(), 0x8CD5FFu);
    EXPECT_EQ(skin.GetCheckedToolbarItemDarkColor(), 0x55ADFFu);
    EXPECT_EQ(skin.GetHotSelectedToolbarItemLightColor(), 0x4E91FEu);
    EXPECT_EQ(skin.GetHotSelectedToolbarItemDarkColor(), 0x8ED3FFu);
}

TEST_F(SchemeTest, Office2003FollowsTheStyleAtEachCall)
{
    FakeThemeModule theme;
    COXSkin2003 skin;
    EXPECT_EQ(skin.GetHotItemColor(), 0xC2EEFFu);
    // A library without an active style: the not-themed column.
    FakeTheme::active = false;
    EXPECT_FALSE(skin.IsThemed());
    EXPECT_EQ(skin.GetHotItemColor(), 0xD2BDB5u);
    EXPECT_EQ(skin.GetInactiveTabTextColor(), RGB(0, 0, 0));
    FakeTheme::active = true;
    FakeTheme::highlight = RGB(0, 0, 0);
    EXPECT_EQ(skin.GetMiniFrameCaptionColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.GetDockbarLeftColor(), RGB(127, 127, 127));
}

TEST_F(SchemeTest, Office2003ClosesEveryThemeHandleItOpens)
{
    FakeThemeModule theme;
    {
        COXSkin2003 skin;
        for (int i = 0; i < 50; ++i) {
            skin.GetHotItemColor();
            skin.GetSeparatorColor();
            skin.GetStatusbarTopColor();
            skin.GetMiniFrameLightBorderColor();
        }
        EXPECT_GT(FakeTheme::opened, 0);
        EXPECT_EQ(FakeTheme::closed, FakeTheme::opened);
    }
    EXPECT_EQ(FakeTheme::closed, FakeTheme::opened);
}

TEST_F(SchemeTest, Office2003VirtualsDispatchThroughTheXPInterface)
{
    FakeThemeModule theme;
    COXSkin2003 skin;
    const COXSkinXP& asXP = skin;
    EXPECT_EQ(asXP.GetGripperColor(), RGB(34, 74, 137));
    EXPECT_EQ(asXP.GetDisabledMenuTextColor(), 0x8D8D8Du);
    // The XP getters that call their virtual neighbours reach the 2003 ones.
    EXPECT_EQ(asXP.COXSkinXP::GetMiniFrameLightBorderColor(), 0xD0D7DAu);
    EXPECT_EQ(asXP.COXSkinXP::GetDisabledMenuTextColor(), RGB(90, 135, 208));
}

TEST_F(SchemeTest, Office2003WithoutAColourEntryReadsColourZero)
{
    // A library that opens themes but cannot report colours: themed, with black theme
    // colours, and nothing fails.
    auto exports = FakeThemeModule::AllExports();
    exports.erase("GetThemeSysColor");
    FakeThemeModule theme(exports);
    COXSkin2003 skin;
    EXPECT_TRUE(skin.IsThemed());
    EXPECT_EQ(skin.GetMiniFrameCaptionColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.GetActiveBorderColor(), RGB(0, 0, 0));
    EXPECT_EQ(FakeTheme::closed, FakeTheme::opened);
}
