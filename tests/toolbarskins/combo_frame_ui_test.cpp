// Skinned combo boxes and framed windows under the toolbar skins. The combo box's parts,
// for a client area of W x h: the edit (3, 3, W - (h - 2), h - 3) keeps the system's
// pixels; grown by one it gives the button's left edge e = W - h + 3; the window-coloured
// edit ring starts at (1, 1); the button's white frame is (e - 1, 1, W - 3, h - 2). Hot or
// dropped, the button box is (e - 1, 0, W - 2, h - 1) in the active border colour and the
// edit's outline (0, 0, e, h - 1). The arrow (5, 3 and 1 pixels) is centred in the button.
#include "platform/gdi/wingdi.h"
#include "platform/user/combobox.h"
#include "platform/user/styles.h"
#include "tests/skins/msimg32.h"
#include "tests/toolbarskins/tbskin_support.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skinned_combo.h"

namespace tbtest {
namespace {

COXSkin* g_current = nullptr;
COXSkin* CurrentSkin() { return g_current; }

class ComboFrameTest : public TbSkinTest {
protected:
    void SetUp() override
    {
        TbSkinTest::SetUp();
        m_previous = OXSetSkinSource(&CurrentSkin);
    }
    void TearDown() override
    {
        OXSetSkinSource(m_previous);
        g_current = nullptr;
        TbSkinTest::TearDown();
    }
    // A drop-down list at (20, 20) of the parent, 120 wide.
    void MakeCombo(COXSkinnedComboBox& combo)
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(20, 20, 140, 200), &parent, 7));
        combo.AddString(L"one");
        PaintAll();
    }

private:
    OXSkinSource m_previous = nullptr;
};

struct ComboParts {
    int width, height, buttonLeft;
};
ComboParts PartsOf(const COXSkinnedComboBox& combo)
{
    CRect c;
    combo.GetClientRect(&c);
    return ComboParts{c.Width(), c.Height(), c.Width() - c.Height() + 3};
}

// XP: flat and cold, hot under the mouse or with the focus, dropped (highlight arrow)
// while the list is open wherever the mouse is.
TEST_F(ComboFrameTest, XPComboBoxStates)
{
    COXSkinXP xp;
    g_current = &xp;
    COXSkinnedComboBox combo;
    MakeCombo(combo);
    const ComboParts p = PartsOf(combo);
    const int w = p.width, h = p.height, e = p.buttonLeft;
    const auto at = [&](int x, int y) { return ClientPixel(combo, x, y); };

    // Cold: background ring, window-coloured edit ring and button frame, black arrow.
    EXPECT_EQ(at(0, 0), kXPBackground);
    EXPECT_EQ(at(w - 1, h - 1), kXPBackground);
    EXPECT_EQ(at(1, 1), kWhite);
    EXPECT_EQ(at(e - 1, h / 2), kWhite) << "the button's frame";
    {
        const int x = (e - 1 + w - 3) / 2, y = (1 + h - 2) / 2;
        EXPECT_EQ(at(x, y + 1), kBlack);
        for (int i = -2; i <= 2; ++i)
            EXPECT_EQ(at(x + i, y - 1), kBlack) << i;
        EXPECT_EQ(at(x - 3, y - 1), kXPBackground);
        EXPECT_EQ(at(x - 1, y + 1), kXPBackground);
    }

    struct Row {
        const char* name;
        COLORREF fill, arrow;
    };
    const auto checkLit = [&](const Row& row) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(at(e - 1, 0), kXPBorder) << "button box";
        EXPECT_EQ(at(w - 3, h - 2), kXPBorder);
        EXPECT_EQ(at(w - 2, 5), kXPBackground);
        EXPECT_EQ(at(0, 5), kXPBorder) << "edit outline";
        EXPECT_EQ(at(5, h - 2), kXPBorder);
        EXPECT_EQ(at(e, 2), row.fill);
        const int x = (e - 1 + w - 2) / 2, y = (0 + h - 1) / 2;
        EXPECT_EQ(at(x, y + 1), row.arrow);
        EXPECT_EQ(at(x - 2, y - 1), row.arrow);
        EXPECT_EQ(at(x + 2, y - 1), row.arrow);
        EXPECT_EQ(at(x - 1, y + 1), row.fill);
    };
    MouseTo(60, 25);
    PaintAll();
    checkLit({"under the mouse", kXPHot, kBlack});
    MouseTo(400, 250);
    PaintAll();
    EXPECT_EQ(at(e - 1, 0), kXPBackground) << "cold again when the mouse leaves";
    combo.SetFocus();
    PaintAll();
    checkLit({"focused", kXPHot, kBlack});
    combo.ShowDropDown(TRUE);
    Pump();
    PaintAll();
    ASSERT_TRUE(combo.GetDroppedState());
    checkLit({"dropped, the mouse elsewhere", kXPHotSelected, kWhite});
    combo.ShowDropDown(FALSE);
    Pump();
    combo.DestroyWindow();
}

// The wide-edit flag moves the button 3 pixels right.
TEST_F(ComboFrameTest, WideEditMovesTheButton)
{
    COXSkinXP xp;
    g_current = &xp;
    COXSkinnedComboBox combo;
    combo.m_bWideEdit = TRUE;
    MakeCombo(combo);
    const ComboParts p = PartsOf(combo);
    EXPECT_EQ(ClientPixel(combo, p.buttonLeft + 2, p.height / 2), kWhite) << "the button's frame";
    EXPECT_EQ(ClientPixel(combo, p.buttonLeft + 2, 0), kXPBackground);
    combo.DestroyWindow();
}

// Classic keeps the system's look: the same pixels as a plain combo box.
TEST_F(ComboFrameTest, ClassicKeepsTheSystemLook)
{
    COXSkinnedComboBox skinned;
    MakeCombo(skinned);
    CComboBox plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(200, 20, 320, 200), &parent, 8));
    plain.AddString(L"one");
    PaintAll();
    const ComboParts p = PartsOf(skinned);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            ASSERT_EQ(ClientPixel(skinned, x, y), ClientPixel(plain, x, y)) << x << ", " << y;
    skinned.DestroyWindow();
    plain.DestroyWindow();
}

// 2003: the background is the slice of a top-to-bottom gradient as tall as the parent
// (300 rows from the parent's top: the combo's row y is row y + 20), by hand here; without
// a visual style the tab background's colours are the toolbar's (WINDOW .78 / .04 blends).
TEST_F(ComboFrameTest, Office2003ComboBackground)
{
    skintest::Msimg32Replaced noLibrary({}, false);
    COXSkin2003 office;
    g_current = &office;
    COXSkinnedComboBox combo;
    MakeCombo(combo);
    const ComboParts p = PartsOf(combo);
    for (int y : {0, p.height - 1})
        EXPECT_EQ(ClientPixel(combo, 0, y), Lerp(k2003ToolbarLight, k2003ToolbarDark, y + 20, 300)) << "row " << y;
    // Hot: the button box shaded from the hot light to the hot dark colour (without a
    // visual style both are the XP hot colour).
    MouseTo(60, 25);
    PaintAll();
    EXPECT_EQ(ClientPixel(combo, p.buttonLeft - 1, 0), kHighlight);
    EXPECT_EQ(ClientPixel(combo, p.buttonLeft, 2), kXPHot);
    combo.DestroyWindow();
    g_current = nullptr;
}

// A framed window's non-client area: a ring of the bar colour around the window colour,
// the active border while the window has the focus.
TEST_F(ComboFrameTest, WindowFrame)
{
    COXSkinXP xp;
    CWnd child;
    ASSERT_TRUE(child.CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE,
        CRect(20, 100, 120, 160), &parent, 9));
    PaintAll();
    CRect window;
    child.GetWindowRect(&window);
    const auto nc = [&](int x, int y) {
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, window.left + x, window.top + y);
        ::ReleaseDC(nullptr, screen);
        return c;
    };
    xp.GetToolbarSkin()->DrawWndFrame(&child);
    EXPECT_EQ(nc(0, 0), kXPBackground);
    EXPECT_EQ(nc(99, 59), kXPBackground);
    EXPECT_EQ(nc(1, 1), kWhite);
    EXPECT_EQ(nc(98, 30), kWhite);
    child.SetFocus();
    xp.GetToolbarSkin()->DrawWndFrame(&child);
    EXPECT_EQ(nc(0, 0), kXPBorder);
    EXPECT_EQ(nc(50, 59), kXPBorder);
    EXPECT_EQ(nc(1, 1), kWhite);
    // Classic leaves the system's frame alone.
    parent.SetFocus();
    child.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const COLORREF system = nc(0, 0);
    COXToolbarSkinClassic classic;
    classic.DrawWndFrame(&child);
    EXPECT_EQ(nc(0, 0), system);
    child.DestroyWindow();
}

} // namespace
} // namespace tbtest
