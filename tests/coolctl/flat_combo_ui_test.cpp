// The flat combo box: its parts made cool (edit at creation, a simple combo's list at
// creation, a drop-down list when it first paints, none for owner-drawn lists, both when
// an existing combo box is subclassed), one tooltip text for all parts, the focus on the
// edit keeping it hot, item and field heights from the font, item comparison, and the
// face's exact pixels (band, field, button frame and edges, the arrow and its move while
// dropped) from the margins, SM_CXVSCROLL and the system colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/afx/gdi/font.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "tests/coolctl/cool_ui_support.h"
#include "toolkit/menus/flat_combo.h"

namespace cooltest {
namespace {

constexpr DWORD kOwnerDrawList = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;

class FlatComboTest : public CoolUiTest {
protected:
    // A combo box at (20, 20) of the parent, 150 wide.
    void Make(COXCoolComboBox& combo, DWORD style, UINT id = 5)
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(20, 20, 170, 160), &parent, id));
    }
    static CRect Client(const CWnd& w)
    {
        CRect r;
        w.GetClientRect(&r);
        return r;
    }
    // A pixel of the combo box's client area (the combo stands at (20, 20)).
    static COLORREF At(int x, int y) { return Pixel(20 + x, 20 + y); }
};

// ---- the parts ---------------------------------------------------------------------------------------------------

TEST_F(FlatComboTest, PartsAreMadeCoolWhenTheyAppear)
{
    {
        SCOPED_TRACE("drop-down: the edit at once, the list when it first paints");
        COXCoolComboBox combo;
        Make(combo, CBS_DROPDOWN | CBS_HASSTRINGS);
        ASSERT_NE(::GetDlgItem(combo.m_hWnd, 1001), nullptr);
        EXPECT_EQ(combo.GetEditPart().m_hWnd, ::GetDlgItem(combo.m_hWnd, 1001));
        EXPECT_EQ(combo.GetEditPart().GetCombo(), &combo);
        EXPECT_EQ(combo.GetListPart().m_hWnd, nullptr);
        combo.AddString(L"one");
        combo.ShowDropDown(TRUE);
        PaintAll();
        COMBOBOXINFO info{};
        info.cbSize = sizeof(COMBOBOXINFO);
        ASSERT_TRUE(::GetComboBoxInfo(combo.m_hWnd, &info));
        EXPECT_EQ(combo.GetListPart().m_hWnd, info.hwndList);
        combo.ShowDropDown(FALSE);
        combo.DestroyWindow();
        EXPECT_EQ(combo.GetListPart().m_hWnd, nullptr);
    }
    {
        SCOPED_TRACE("simple: edit and list at once");
        COXCoolComboBox combo;
        Make(combo, CBS_SIMPLE | CBS_HASSTRINGS);
        EXPECT_EQ(combo.GetEditPart().m_hWnd, ::GetDlgItem(combo.m_hWnd, 1001));
        EXPECT_EQ(combo.GetListPart().m_hWnd, ::GetDlgItem(combo.m_hWnd, 1000));
        EXPECT_TRUE(combo.GetButtonRect().IsRectEmpty());
        combo.DestroyWindow();
    }
    {
        SCOPED_TRACE("owner-drawn list: no edit, the list left alone");
        COXCoolComboBox combo;
        Make(combo, kOwnerDrawList);
        combo.AddString(L"one");
        combo.ShowDropDown(TRUE);
        PaintAll();
        EXPECT_EQ(combo.GetEditPart().m_hWnd, nullptr);
        EXPECT_EQ(combo.GetListPart().m_hWnd, nullptr);
        combo.ShowDropDown(FALSE);
        combo.DestroyWindow();
    }
    {
        SCOPED_TRACE("an existing combo box subclassed");
        const HWND h = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_HASSTRINGS, 20,
            20, 150, 140, parent.m_hWnd, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        ASSERT_NE(h, nullptr);
        COXCoolComboBox combo;
        ASSERT_TRUE(combo.SubclassWindow(h));
        EXPECT_EQ(combo.GetEditPart().m_hWnd, ::GetDlgItem(h, 1001));
        CString text;
        EXPECT_TRUE(combo.GetTooltipText(text)) << "initialised: it has its tooltip";
        combo.DestroyWindow();
    }
}

TEST_F(FlatComboTest, TooltipTextReachesEveryPart)
{
    COXCoolComboBox simple;
    Make(simple, CBS_SIMPLE | CBS_HASSTRINGS);
    EXPECT_TRUE(simple.SetTooltipText(L"Pick one"));
    CString text;
    ASSERT_TRUE(simple.GetEditPart().GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Pick one"));
    ASSERT_TRUE(simple.GetListPart().GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Pick one"));
    ASSERT_TRUE(simple.GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Pick one"));
    EXPECT_TRUE(simple.SetTooltipText(L""));
    ASSERT_TRUE(simple.GetEditPart().GetTooltipText(text));
    EXPECT_TRUE(text.IsEmpty());
    simple.DestroyWindow();

    // A drop-down list made cool later takes the text the combo has by then.
    COXCoolComboBox dropDown;
    Make(dropDown, CBS_DROPDOWN | CBS_HASSTRINGS, 6);
    EXPECT_TRUE(dropDown.SetTooltipText(L"Later"));
    dropDown.ShowDropDown(TRUE);
    PaintAll();
    ASSERT_NE(dropDown.GetListPart().m_hWnd, nullptr);
    ASSERT_TRUE(dropDown.GetListPart().GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Later"));
    dropDown.ShowDropDown(FALSE);
    dropDown.DestroyWindow();
}

TEST_F(FlatComboTest, FocusOnTheEditKeepsTheComboHot)
{
    COXCoolComboBox combo;
    Make(combo, CBS_DROPDOWN | CBS_HASSTRINGS);
    combo.GetEditPart().SetFocus();
    EXPECT_TRUE(combo.IsInHotState());
    MouseTo(80, 30);
    MouseTo(390, 290);
    Wait(150);
    Wait(150);
    EXPECT_TRUE(combo.IsInHotState());
    parent.SetFocus();
    EXPECT_FALSE(combo.IsInHotState());
    EXPECT_FALSE(combo.GetEditPart().IsInHotState());
    combo.DestroyWindow();
}

TEST_F(FlatComboTest, CloseUpStaysWithTheComboWhileTheDropDownReachesTheParent)
{
    COXCoolComboBox combo;
    Make(combo, kOwnerDrawList);
    combo.AddString(L"one");
    combo.ShowDropDown(TRUE);
    combo.ShowDropDown(FALSE);
    Pump();
    const std::vector<WORD>& heard = parent.commands[5];
    EXPECT_NE(std::find(heard.begin(), heard.end(), CBN_DROPDOWN), heard.end());
    EXPECT_EQ(std::find(heard.begin(), heard.end(), CBN_CLOSEUP), heard.end());
    combo.DestroyWindow();
}

// ---- heights and items -----------------------------------------------------------------------------------------

TEST_F(FlatComboTest, HeightsFollowTheFont)
{
    COXCoolComboBox combo;
    Make(combo, kOwnerDrawList);
    combo.AddString(L"one");

    // The item height is the height of "ygaQ!|" + 1, measured here in the same font.
    HDC screen = ::GetDC(nullptr);
    SIZE extent{};
    ::GetTextExtentPoint32W(screen, L"ygaQ!|", 6, &extent);
    EXPECT_EQ(combo.GetTextExtentHeight(), extent.cy);
    EXPECT_EQ(combo.GetItemHeight(0), extent.cy + 1);

    // A new font: the selection field becomes tmHeight + 1 of that font.
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(180, L"Arial"));
    HGDIOBJ old = ::SelectObject(screen, font.GetSafeHandle());
    TEXTMETRIC tm{};
    ::GetTextMetricsW(screen, &tm);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    combo.SetFont(&font);
    EXPECT_EQ(combo.GetFontHeight(), tm.tmHeight);
    EXPECT_EQ(combo.GetItemHeight(-1), tm.tmHeight + 1);
    combo.DestroyWindow();
}

TEST_F(FlatComboTest, ItemsCompareByTextIgnoringCase)
{
    COXCoolComboBox combo;
    Make(combo, CBS_DROPDOWN | CBS_HASSTRINGS);
    combo.AddString(L"beta");
    combo.AddString(L"Alpha");
    combo.AddString(L"ALPHA");
    struct Row {
        UINT a, b;
        int expected;
    } rows[] = {{0, 1, 1}, {1, 0, -1}, {1, 2, 0}, {static_cast<UINT>(-1), 0, -1}, {static_cast<UINT>(-1), static_cast<UINT>(-1), 0}};
    for (const Row& row : rows) {
        COMPAREITEMSTRUCT cis{};
        cis.CtlType = ODT_COMBOBOX;
        cis.itemID1 = row.a;
        cis.itemID2 = row.b;
        EXPECT_EQ(combo.CompareItem(&cis), row.expected) << row.a << " vs " << row.b;
    }
    combo.DestroyWindow();
}

// ---- the face ------------------------------------------------------------------------------------------------------

TEST_F(FlatComboTest, FacePixelsFromMarginsButtonWidthAndColours)
{
    // A drop-down list without a selection (nothing but the face): client W x H, margins 2,
    // button (W - 18, 2)-(W - 2, H - 2) as SM_CXVSCROLL is 16. The arrow (w = 16):
    // x1 = W - 13, x2 = W - 7, xm = W - 10, y1 = 2 + (H - 2) / 2 - 6 / 4 - 1, y2 = y1 + 3.
    COXCoolComboBox combo;
    Make(combo, kOwnerDrawList);
    combo.AddString(L"one");
    PaintAll();
    const CRect client = Client(combo);
    const int W = client.Width();
    const int H = client.Height();
    ASSERT_EQ(W, 150);
    ASSERT_EQ(combo.GetButtonRect(), CRect(W - 18, 2, W - 2, H - 2));
    const int y1 = 2 + (H - 2) / 2 - 1 - 1;
    const int y2 = y1 + 3;

    struct Probe {
        const char* what;
        int x, y;
        COLORREF colour;
    };
    auto check = [&](const std::vector<Probe>& probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(At(p.x, p.y), p.colour) << p.what << " at (" << p.x << ", " << p.y << ")";
    };
    const std::vector<Probe> arrow = {
        {"arrow left", W - 13, y1, kDark}, {"arrow right", W - 7, y1, kDark}, {"arrow tip", W - 10, y2, kDark},
        {"beside the arrow", W - 14, y1, kFace}, {"below the tip", W - 10, y2 + 1, kFace},
    };
    {
        SCOPED_TRACE("cold");
        check({
            {"band corner", 0, 0, kFace}, {"band row 1", 5, 1, kFace}, {"band left", 0, 5, kFace},
            {"column left of the field", 1, 5, kWhite}, {"band right", W - 1, 5, kFace},
            {"band bottom", 5, H - 1, kFace}, {"band bottom inner", 5, H - 2, kFace},
            {"field top-left", 2, 2, kWhite}, {"field bottom-right", W - 19, H - 3, kWhite},
            {"button frame top-left", W - 18, 2, kWhite}, {"button frame top-right", W - 3, 2, kWhite},
            {"button frame bottom-left", W - 18, H - 3, kWhite}, {"button frame bottom-right", W - 3, H - 3, kWhite},
            {"button inside", W - 17, 3, kFace},
        });
        check(arrow);
    }
    {
        SCOPED_TRACE("hot");
        MouseTo(20 + 30, 20 + H / 2);
        PaintAll();
        ASSERT_TRUE(combo.IsInHotState());
        check({
            {"sunken ring left", 0, 5, kShadow}, {"sunken ring top", 5, 0, kShadow},
            {"sunken ring right", W - 1, 5, kWhite}, {"sunken ring bottom", 5, H - 1, kWhite},
            {"band inside the ring", 1, 5, kFace}, {"band corner inside", 1, 1, kFace},
            {"button's face column", W - 18, 5, kFace}, {"raised edge top-left", W - 17, 2, kWhite},
            {"raised edge left", W - 17, 5, kWhite}, {"raised edge right", W - 3, 5, kShadow},
            {"raised edge top-right", W - 3, 2, kShadow}, {"raised edge bottom", W - 10, H - 3, kShadow},
            {"right of the button", W - 2, 5, kFace},
        });
        check(arrow);
    }
    {
        SCOPED_TRACE("dropped: pressed, the arrow one pixel right and down");
        combo.ShowDropDown(TRUE);
        PaintAll();
        ASSERT_TRUE(combo.IsDroppedDown());
        check({
            {"pressed left edge", W - 18, 5, kShadow}, {"pressed top edge", W - 10, 2, kShadow},
            {"no frame at the right", W - 3, 5, kFace},
            {"moved arrow left", W - 12, y1 + 1, kDark}, {"moved arrow tip", W - 9, y2 + 1, kDark},
            {"where the arrow was", W - 13, y1, kFace},
        });
        combo.ShowDropDown(FALSE);
    }
    combo.DestroyWindow();
}

TEST_F(FlatComboTest, DisabledAndSimpleFaces)
{
    {
        SCOPED_TRACE("disabled: field and button in face colour, a highlight ring round the field");
        COXCoolComboBox combo;
        Make(combo, kOwnerDrawList);
        combo.EnableWindow(FALSE);
        PaintAll();
        const int W = Client(combo).Width();
        const int H = Client(combo).Height();
        EXPECT_EQ(At(0, 0), kFace);
        EXPECT_EQ(At(1, 5), kWhite);
        EXPECT_EQ(At(5, 1), kWhite);
        EXPECT_EQ(At(W - 2, 5), kWhite);
        EXPECT_EQ(At(5, H - 2), kWhite);
        EXPECT_EQ(At(5, 5), kFace);
        EXPECT_EQ(At(W - 18, 2), kFace) << "no button frame";
        combo.DestroyWindow();
    }
    {
        SCOPED_TRACE("simple: no button, the band in the window colour");
        COXCoolComboBox combo;
        Make(combo, CBS_SIMPLE | CBS_HASSTRINGS);
        PaintAll();
        const int W = Client(combo).Width();
        EXPECT_EQ(At(0, 0), kWhite);
        EXPECT_EQ(At(W - 1, 5), kWhite);
        EXPECT_EQ(At(W - 10, 5), kWhite) << "no button";
        combo.DestroyWindow();
    }
}

TEST_F(FlatComboTest, DropListSelectionDrawnThroughItsItems)
{
    COXCoolComboBox combo;
    Make(combo, kOwnerDrawList);
    combo.AddString(L"one");
    combo.AddString(L"two");
    combo.SetCurSel(1);
    PaintAll();
    const int W = Client(combo).Width();
    // The selection's rectangle (3, 3)-(W - 19, H - 3); the text is short, so its right
    // part shows the fill: the window colour without the focus...
    EXPECT_EQ(At(W - 22, 5), kWhite);
    // ...the highlight with it.
    combo.SetFocus();
    PaintAll();
    EXPECT_EQ(At(W - 22, 5), kHighlight);
    parent.SetFocus();
    combo.DestroyWindow();
}

} // namespace
} // namespace cooltest
