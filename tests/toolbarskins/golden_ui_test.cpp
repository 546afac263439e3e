// Golden pictures of a toolbar and of a dialog bar in the three skins, each bar window
// whole (non-client ring, gripper and client area), compared pixel for pixel except where
// text is drawn. The toolbar shows, left to right: a plain button, a hot one, a pressed
// one, a checked one, a separator, a disabled one, a drop-down button with its separate
// arrow, and a button with text; a list toolbar whose buttons size to their content.
#include <string>
#include <vector>

#include "platform/afx/window_dc.h"
#include "tests/support/golden.h"
#include "tests/toolbarskins/tbskin_bars_ids.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/bar_skin_draw.h"
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

// The dialog bar of the skinned-dialog-bar painting (as in dialogbar_ui_test.cpp), with a
// push button; its caption is text.
class CGoldenDialogBar : public CDialogBar {
public:
    COXDialogBarSkin* skin = nullptr;
    void DoPaint(CDC* pDC) override
    {
        skin->DrawBackground(pDC, this);
        CRect client;
        GetClientRect(&client);
        skin->DrawGripper(pDC, &client, this);
    }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        if (!skin->CallOnEraseBkgnd())
            return FALSE;
        return CDialogBar::OnEraseBkgnd(pDC);
    }
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
    {
        RECT& rc = lpncsp->rgrc[0];
        rc.left += 4;
        rc.top += 3;
        rc.right -= 3;
        rc.bottom -= 3;
    }
    afx_msg void OnNcPaint()
    {
        CWindowDC dc(this);
        CRect window;
        GetWindowRect(&window);
        window.OffsetRect(-window.left, -window.top);
        const CRect client = zyn::barskin::ClientInWindow(this);
        dc.ExcludeClipRect(&client);
        skin->DrawNonClientArea(&dc, &window, this);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CGoldenDialogBar, CDialogBar)
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

TEST_F(GoldenTest, DialogBars)
{
    for (const SkinRow& row : Skins()) {
        SCOPED_TRACE(row.name);
        CGoldenDialogBar bar;
        bar.skin = row.skin->GetDialogBarSkin();
        ASSERT_TRUE(bar.Create(&parent, IDD_TBSKIN_BAR, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, 200));
        bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
        bar.SetWindowPos(nullptr, 20, 20, 240, 44, SWP_NOZORDER | SWP_FRAMECHANGED);
        bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
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
