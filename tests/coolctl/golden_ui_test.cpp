// Golden pictures of every cool control kind, cold (flat) and hot (the system's 3-D look,
// or the flat combo box's sunken face and raised button), on the teal parent. Nothing
// in them is text, so every pixel is compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/comctl/updown.h"
#include "platform/user/winuser.h"
#include "tests/coolctl/cool_ui_support.h"
#include "tests/support/golden.h"
#include "toolkit/menus/cool_button.h"
#include "toolkit/menus/cool_ctrl.h"
#include "toolkit/menus/cool_scrollbar.h"
#include "toolkit/menus/cool_slider.h"
#include "toolkit/menus/cool_spin.h"
#include "toolkit/menus/flat_combo.h"

namespace cooltest {
namespace {

class CoolGoldenTest : public CoolUiTest {
protected:
    // Shoots `area` (parent client coordinates) cold, then with the mouse at `hot`, as
    // cool_<name>_cold.png and cool_<name>_hot.png.
    void Shoot(const std::string& name, const CRect& area, CPoint hot, const std::function<BOOL()>& isHot)
    {
        PaintAll();
        EXPECT_FALSE(isHot());
        EXPECT_TRUE(zyn::test::MatchesGoldenScreen("coolctl", "cool_" + name + "_cold",
            ScreenRect(area.left, area.top, area.right, area.bottom)));
        MouseTo(hot.x, hot.y);
        PaintAll();
        EXPECT_TRUE(isHot());
        EXPECT_TRUE(zyn::test::MatchesGoldenScreen("coolctl", "cool_" + name + "_hot",
            ScreenRect(area.left, area.top, area.right, area.bottom)));
    }
};

TEST_F(CoolGoldenTest, EditWithScrollBars)
{
    COXCoolCtrl<CEdit> edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL,
        CRect(20, 20, 120, 80), &parent, 1));
    Shoot("edit", CRect(18, 18, 122, 82), CPoint(50, 40), [&] { return edit.IsInHotState(); });
    edit.DestroyWindow();
}

TEST_F(CoolGoldenTest, Buttons)
{
    struct Row {
        const char* name;
        DWORD style;
        int check;
    } rows[] = {
        {"push", BS_DEFPUSHBUTTON, 0},
        {"check", BS_AUTOCHECKBOX, 1},
        {"radio", BS_AUTORADIOBUTTON, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXCoolButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | row.style, CRect(20, 20, 80, 44), &parent, 1));
        button.SetCheck(row.check);
        Shoot(row.name, CRect(18, 18, 82, 46), CPoint(50, 32), [&] { return button.IsInHotState(); });
        button.DestroyWindow();
        MouseTo(395, 295);
        Wait(150);
    }
}

TEST_F(CoolGoldenTest, ScrollBar)
{
    COXCoolScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(20, 20, 136, 36), &parent, 1));
    // Range 100, page 25, position 25: thumb 84 * 25 / 100 = 21, offset 63 * 25 / 75 = 21,
    // whole numbers, so the system's thumb and the flat one coincide however each rounds.
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 25, 25, 0};
    bar.SetScrollInfo(&si);
    Shoot("scrollbar", CRect(18, 18, 138, 38), CPoint(30, 28), [&] { return bar.IsInHotState(); });
    bar.DestroyWindow();
}

TEST_F(CoolGoldenTest, SpinAttachedToAnEdit)
{
    COXCoolCtrl<CEdit> edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 100, 42), &parent, 1));
    COXCoolSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT, CRect(0, 0, 0, 0), &parent, 2));
    spin.SetBuddy(&edit);
    // Hot with the mouse on the spin: both parts turn 3-D.
    Shoot("spin", CRect(18, 18, 102, 44), CPoint(92, 31),
        [&] { return spin.IsInHotState() && edit.IsInHotState(); });
    spin.DestroyWindow();
    edit.DestroyWindow();
}

TEST_F(CoolGoldenTest, Slider)
{
    COXCoolSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(20, 20, 140, 50), &parent, 1));
    slider.SetRange(0, 10);
    slider.SetPos(3);
    Shoot("slider", CRect(18, 18, 142, 52), CPoint(120, 35), [&] { return slider.IsInHotState(); });
    slider.DestroyWindow();
}

TEST_F(CoolGoldenTest, FlatComboBox)
{
    COXCoolComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
        CRect(20, 20, 140, 140), &parent, 1));
    CRect rect;
    combo.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    Shoot("combo", CRect(18, 18, 142, rect.bottom + 2), CPoint(60, (rect.top + rect.bottom) / 2),
        [&] { return combo.IsInHotState(); });
    combo.DestroyWindow();
}

} // namespace
} // namespace cooltest
