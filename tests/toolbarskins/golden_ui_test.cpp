// Golden pictures of a toolbar and of a dialog bar in the three skins, each bar window
// whole (non-client ring, gripper and client area), compared pixel for pixel except where
// text is drawn. The toolbar shows, left to right: a plain button, a hot one, a pressed
// one, a checked one, a separator, a disabled one, a drop-down button with its separate
// arrow, and a button with text; a list toolbar whose buttons size to their content.
#include <string>
#include <vector>

#include "tests/support/golden.h"
#include "tests/toolbarskins/tbskin_bars_ids.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"

namespace tbtest {
namespace {

class GoldenTest : public TbSkinTest {
protected:
    struct SkinRow {
        const char* name;
        COXSkin* skin;
    };
    // The three skins, unthemed, with the drawing layer's gradients.
    std::vector<SkinRow> Skins() { return {{"classic", &classic}, {"xp", &xp}, {"2003", &office}}; }

    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office;
};

TEST_F(GoldenTest, Toolbars)
{
    for (const SkinRow& row : Skins()) {
        SCOPED_TRACE(row.name);
        CSkinTestBar bar;
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 320, 56), TBSTYLE_FLAT | TBSTYLE_LIST));
        bar.skin = row.skin->GetToolbarSkin();
        bar.Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        bar.SetDropDownArrow(TRUE);
        bar.SetArrowWidth(13);
        const BYTE autosize = BTNS_AUTOSIZE;
        bar.Add({CSkinTestBar::Button(1, 0, BTNS_BUTTON | autosize),
            CSkinTestBar::Button(2, 1, BTNS_BUTTON | autosize),
            CSkinTestBar::Button(3, 2, BTNS_BUTTON | autosize, TBSTATE_ENABLED | TBSTATE_PRESSED),
            CSkinTestBar::Button(4, 3, BTNS_CHECK | autosize, TBSTATE_ENABLED | TBSTATE_CHECKED),
            CSkinTestBar::Separator(8), CSkinTestBar::Button(5, 0, BTNS_BUTTON | autosize, 0),
            CSkinTestBar::Button(6, 1, BTNS_DROPDOWN | autosize), CSkinTestBar::Button(7, 2, BTNS_BUTTON | autosize)});
        bar.SetText(7, L"Text");
        bar.Send(TB_SETHOTITEM, 1);
        bar.Repaint();

        // The text: right of the image in the last button, wherever each skin puts it.
        const CRect text = bar.Item(7);
        const CRect client = bar.ClientInWindow();
        const RECT ignore{client.left + text.left + 20, client.top + text.top + 1, client.left + text.right - 1,
            client.top + text.bottom - 1};
        EXPECT_TRUE(zyn::test::MatchesGoldenScreen("toolbarskins", std::string("toolbar_") + row.name + "_states",
            ScreenRect(bar, true), {ignore}));
    }
}

TEST_F(GoldenTest, DialogBars)
{
    for (const SkinRow& row : Skins()) {
        SCOPED_TRACE(row.name);
        CSkinTestDialogBar bar;
        bar.skin = row.skin->GetDialogBarSkin();
        ASSERT_TRUE(bar.Make(&parent, CRect(20, 20, 260, 64)));
        bar.Repaint();
        CWnd* go = bar.GetDlgItem(IDC_TBSKIN_GO);
        ASSERT_NE(go, nullptr);
        CRect button;
        go->GetWindowRect(&button);
        CRect window;
        bar.GetWindowRect(&window);
        button.OffsetRect(-window.left, -window.top);
        button.DeflateRect(3, 3);
        EXPECT_TRUE(zyn::test::MatchesGoldenScreen("toolbarskins", std::string("dialogbar_") + row.name,
            ScreenRect(bar, true), {RECT(button)}));
        bar.DestroyWindow();
    }
}

} // namespace
} // namespace tbtest
