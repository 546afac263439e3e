// The dialog-bar skins on the test dialog bar (tbskin_support.h), 300 x 40 outside with
// its client area from (10, 3) to (297, 37).
#include <vector>

#include "platform/gdi/wingdi.h"
#include "tests/skins/msimg32.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/skin_2003.h"

namespace tbtest {
namespace {

using DialogBarSkinTest = TbSkinTest;

// Classic: the button face, the two raised gripper bars on the client area, and borders
// drawn by the bar with the fill reaching one pixel beyond what they leave.
TEST_F(DialogBarSkinTest, Classic)
{
    COXDialogBarSkinClassic skin;
    CSkinTestDialogBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = &skin;
    bar.Repaint();
    EXPECT_GT(bar.erased, 0) << "the default erase runs";
    EXPECT_EQ(ClientPixel(bar, 100, 30), kFace);
    // Client (0, 0, 287, 34), bottom border, no dock context: the first bar (1, 0, 4, 32).
    EXPECT_EQ(ClientPixel(bar, 1, 0), kWhite);
    EXPECT_EQ(ClientPixel(bar, 3, 31), kShadow);
    EXPECT_EQ(ClientPixel(bar, 4, 0), kWhite) << "the second bar";
    EXPECT_EQ(ClientPixel(bar, 6, 31), kShadow);
    EXPECT_EQ(ClientPixel(bar, 7, 10), kFace);

    // The non-client area without CBRS_BORDER_3D: the bottom border's shadow line on the
    // last row; the fill reaches one pixel beyond the 2 pixels the borders took.
    Sentinel dc(300, 40);
    const CRect window(0, 0, 300, 40);
    skin.DrawNonClientArea(dc.dc(), &window, &bar);
    EXPECT_EQ(dc.at(50, 39), kShadow);
    EXPECT_EQ(dc.at(50, 38), kFace) << "the border's second line, filled over";
    EXPECT_EQ(dc.at(0, 0), kFace);
    EXPECT_EQ(dc.at(50, 20), Sentinel::kColour) << "the client area is left alone";
    bar.m_dwStyle |= CBRS_BORDER_3D;
    Sentinel dc3d(300, 40);
    skin.DrawNonClientArea(dc3d.dc(), &window, &bar);
    // With CBRS_BORDER_3D both border rows stay as the bar's own border painter drew them.
    Sentinel borders(300, 40);
    CRect shrunk(window);
    bar.DrawBorders(borders.dc(), shrunk);
    EXPECT_EQ(shrunk.bottom, 38);
    EXPECT_EQ(dc3d.at(50, 38), borders.at(50, 38));
    EXPECT_EQ(dc3d.at(50, 39), borders.at(50, 39));
    EXPECT_NE(dc3d.at(50, 38), kFace);
    EXPECT_EQ(dc3d.at(50, 37), kFace) << "the fill starts inside the borders";
}

// XP: no erase, the whole client area in the background colour, the XP stripes.
TEST_F(DialogBarSkinTest, OfficeXP)
{
    COXSkinXP xp;
    CSkinTestDialogBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = xp.GetDialogBarSkin();
    bar.erased = 0;
    bar.Repaint();
    EXPECT_EQ(bar.erased, 0) << "the erase is suppressed";
    for (const CPoint p : {CPoint(20, 0), CPoint(286, 33), CPoint(100, 17)})
        EXPECT_EQ(ClientPixel(bar, p.x, p.y), kXPBackground) << p.x << ", " << p.y;
    // Client (0, 0, 287, 34): stripes (2, 4, 5, 27), lines on even rows 4..26.
    for (int y = 3; y <= 28; ++y)
        EXPECT_EQ(ClientPixel(bar, 3, y), y >= 4 && y <= 27 && y % 2 == 0 ? kXPGripper : kXPBackground) << "row " << y;
    // The non-client ring.
    Sentinel dc(300, 40);
    const CRect window(0, 0, 300, 40);
    xp.GetDialogBarSkin()->DrawNonClientArea(dc.dc(), &window, &bar);
    EXPECT_EQ(dc.at(0, 0), kFace);
    EXPECT_EQ(dc.at(2, 2), kFace);
    EXPECT_EQ(dc.at(3, 2), kXPBackground);
}

// 2003: the client area shows its slice of the window-wide gradient; every dialog bar
// has the rounded body; docked, the band is the frame's gradient through the library.
TEST_F(DialogBarSkinTest, Office2003)
{
    skintest::Msimg32Replaced noLibrary({}, false);
    COXSkin2003 office;
    CSkinTestDialogBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60)));
    bar.skin = office.GetDialogBarSkin();
    bar.Repaint();
    for (int y : {0, 17, 33})
        EXPECT_EQ(ClientPixel(bar, 100, y), Lerp(k2003ToolbarLight, k2003ToolbarDark, y + 3, 40)) << "row " << y;
    Sentinel dc(300, 40);
    const CRect window(0, 0, 300, 40);
    bar.skin->DrawNonClientArea(dc.dc(), &window, &bar);
    EXPECT_EQ(dc.at(0, 0), kFace) << "not docked: the dock-bar background";
    EXPECT_EQ(dc.at(2, 2), kFace) << "rounded corner";
    EXPECT_EQ(dc.at(2, 3), Lerp(k2003ToolbarLight, k2003ToolbarDark, 1, 36));
}

// A floating dialog bar gets no gripper in any style.
TEST_F(DialogBarSkinTest, FloatingBarHasNoGripper)
{
    COXSkinXP xp;
    COXSkin2003 office;
    COXDialogBarSkinClassic classic;
    CSkinTestDialogBar bar;
    ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 60), CBRS_ALIGN_TOP | CBRS_FLOATING));
    for (COXDialogBarSkin* skin : {static_cast<COXDialogBarSkin*>(&classic), xp.GetDialogBarSkin(),
             office.GetDialogBarSkin()}) {
        Sentinel dc(300, 40);
        const CRect area(0, 0, 287, 34);
        skin->DrawGripper(dc.dc(), &area, &bar);
        EXPECT_EQ(dc.Untouched(), 300 * 40);
        bar.m_dwStyle &= ~CBRS_FLOATING;
        skin->DrawGripper(dc.dc(), &area, &bar);
        EXPECT_LT(dc.Untouched(), 300 * 40) << "docked, the same skin draws one";
        bar.m_dwStyle |= CBRS_FLOATING;
    }
}

} // namespace
} // namespace tbtest
