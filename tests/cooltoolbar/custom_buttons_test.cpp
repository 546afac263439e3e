// Custom buttons with the sample template: registration, the registered window on the
// first bar and copies on others, the bookkeeping that keeps a window with its button
// through inserts (both record forms), moves and deletes, and the docking states.
#include <gtest/gtest.h>

#include "tests/cooltoolbar/cool_test_support.h"

namespace zyn::test {
namespace {

using CustomButtonTest = CoolBarTest;

CRect InBar(const COXCoolToolBar& bar, HWND child)
{
    CRect r;
    GetWindowRect(child, &r);
    ScreenToClient(bar.m_hWnd, reinterpret_cast<POINT*>(&r.left));
    ScreenToClient(bar.m_hWnd, reinterpret_cast<POINT*>(&r.right));
    return r;
}

TEST_F(CustomButtonTest, RegisteringAnIdAgainUpdatesItAndKeepsTheFirstTemplate)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    templates.push_back(std::make_unique<CSampleCustomButton>());
    EXPECT_EQ(COXCoolToolBar::AddCustomButton(templates[0].get(), 500, 60, -1, 7, 2), 0);
    EXPECT_EQ(COXCoolToolBar::AddCustomButton(templates[1].get(), 501), 1);
    EXPECT_EQ(COXCoolToolBar::AddCustomButton(templates[1].get(), 500, 80, 10, 2, 3), 0);
    OXCUSTOMBUTTONDESCRIPTOR d;
    ASSERT_TRUE(COXCoolToolBar::GetRegisteredCustomButton(0, d));
    EXPECT_EQ(d.m_pCBTemplate, templates[0].get());
    EXPECT_EQ(std::vector<int>({d.m_nWidth, d.m_nHeight, d.m_nFlags, d.m_nImageIndex}), std::vector<int>({80, 10, 2, 3}));
    // A descriptor of another ID is refused, nothing changed.
    OXCUSTOMBUTTONDESCRIPTOR other(nullptr, 501, 1, 1, 1, 1);
    EXPECT_FALSE(COXCoolToolBar::SetCustomButton(0, other));
    EXPECT_FALSE(COXCoolToolBar::SetCustomButton(2, other));
    ASSERT_TRUE(COXCoolToolBar::GetRegisteredCustomButton(0, d));
    EXPECT_EQ(d.m_nWidth, 80);
    EXPECT_EQ(COXCoolToolBar::GetCustomButtonIndex(501), 1);
    EXPECT_EQ(COXCoolToolBar::GetCustomButtonIndex(999), -1);
}

TEST_F(CustomButtonTest, FirstBarShowsTheRegisteredWindowFurtherBarsACopyGoneWithItsButton)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    CSampleCustomButton& sample = *templates.back();
    const int index = COXCoolToolBar::AddCustomButton(&sample, 500, 40, 12);
    CTestCoolBar& first = MakeBar({ID_COOL_NEW, ID_COOL_OPEN}, AFX_IDW_TOOLBAR + 1);
    CTestCoolBar& second = MakeBar({ID_COOL_NEW}, AFX_IDW_TOOLBAR + 2);
    ASSERT_TRUE(first.InsertCustomButton(1, index));
    ASSERT_TRUE(second.InsertCustomButton(1, index));
    EXPECT_EQ(first.GetCustomButtonWnd(1), &sample);
    CWnd* copy = second.GetCustomButtonWnd(1);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, &sample);
    EXPECT_EQ(CSampleCustomButton::liveCopies, 1);
    // The window lies over its separator, 2 pixels in from each side, 12 high in the middle.
    const RECT item = Item(first, 1);
    EXPECT_EQ(item.right - item.left, 40);
    EXPECT_EQ(InBar(first, sample.m_hWnd), CRect(item.left + 2, item.top + 5, item.right - 2, item.top + 17));
    EXPECT_TRUE(sample.IsWindowVisible());
    EXPECT_EQ(first.GetCustomButtonPosition(500), 1);
    EXPECT_TRUE(first.IsCustomButtonWnd(&sample));

    const HWND hCopy = copy->m_hWnd;
    ASSERT_TRUE(second.SendMessage(TB_DELETEBUTTON, 1, 0));
    EXPECT_FALSE(IsWindow(hCopy));
    EXPECT_EQ(CSampleCustomButton::liveCopies, 0);
    EXPECT_FALSE(second.IsCustomButton(1));
    // The registered window stays its template's, but no longer shows over moved buttons.
    ASSERT_TRUE(first.SendMessage(TB_DELETEBUTTON, 1, 0));
    EXPECT_TRUE(IsWindow(sample.m_hWnd));
    EXPECT_FALSE(sample.IsWindowVisible());
}

TEST_F(CustomButtonTest, InsertsInEitherRecordFormAndMovesKeepTheWindowWithItsButton)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    const int index = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 40);
    for (const UINT message : {TB_INSERTBUTTONA, TB_INSERTBUTTONW}) {
        SCOPED_TRACE(message == TB_INSERTBUTTONA ? "narrow" : "wide");
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
        ASSERT_TRUE(bar.InsertCustomButton(1, index));
        TBBUTTON b{};
        b.idCommand = ID_COOL_SAVE;
        b.fsState = TBSTATE_ENABLED;
        b.iString = -1;
        ASSERT_TRUE(bar.SendMessage(message, 0, reinterpret_cast<LPARAM>(&b)));
        EXPECT_FALSE(bar.IsCustomButton(1));
        EXPECT_TRUE(bar.IsCustomButton(2));
        // The window followed: it lies over button 2 now (23 + 23 to the right).
        EXPECT_EQ(InBar(bar, templates.back()->m_hWnd).left, Item(bar, 2).left + 2);
        bars.clear();
    }
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, ID_COOL_SAVE});
    ASSERT_TRUE(bar.InsertCustomButton(1, index));   // NEW C OPEN SAVE
    ASSERT_TRUE(bar.MoveButton(0, 3));               // C OPEN SAVE NEW
    EXPECT_TRUE(bar.IsCustomButton(0));
    EXPECT_EQ(bar.GetCustomButtonPosition(500), 0);
    ASSERT_TRUE(bar.MoveButton(0, 2));               // OPEN SAVE C NEW
    EXPECT_TRUE(bar.IsCustomButton(2));
    EXPECT_EQ(InBar(bar, templates.back()->m_hWnd).left, Item(bar, 2).left + 2);
}

TEST_F(CustomButtonTest, HiddenWhereItsFlagsSayAndShownAsItsImage)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    const int index = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 40, -1, OXCBD_SHOWHORZ, 2);
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    ASSERT_TRUE(bar.InsertCustomButton(1, index));
    EXPECT_TRUE(Button(bar, 1).fsStyle & TBSTYLE_SEP);
    EXPECT_TRUE(templates.back()->IsWindowVisible());
    bar.SetBarStyle(CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
    bar.UpdateCustomButtons();
    const TBBUTTON b = Button(bar, 1);
    EXPECT_EQ(b.fsStyle, TBSTYLE_AUTOSIZE);
    EXPECT_EQ(b.idCommand, 500);
    EXPECT_EQ(b.iBitmap, 2);
    EXPECT_FALSE(templates.back()->IsWindowVisible());
    bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    bar.UpdateCustomButtons();
    EXPECT_TRUE(Button(bar, 1).fsStyle & TBSTYLE_SEP);
    EXPECT_TRUE(templates.back()->IsWindowVisible());
}

TEST_F(CustomButtonTest, DeletingAnEndTakesAPlainSeparatorWithItButNeverAWindowOne)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    const int index = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 40);
    struct Row {
        const char* name;
        bool customInMiddle;
        int deleteAt;
        int countAfter;
    } rows[] = {
        {"last button after a plain separator", false, 2, 1},
        {"first button before a plain separator", false, 0, 1},
        {"last button after a custom button", true, 2, 2},
        {"a middle button", false, 1, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_SEPARATOR, ID_COOL_OPEN});
        if (row.customInMiddle) {
            bar.SendMessage(TB_DELETEBUTTON, 1, 0);
            ASSERT_TRUE(bar.InsertCustomButton(1, index));
        }
        ASSERT_TRUE(bar.SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(row.deleteAt), 0));
        EXPECT_EQ(Count(bar), row.countAfter);
        bars.clear();
    }
}

TEST_F(CustomButtonTest, AWindowThatCannotBeMadeLeavesTheBarAsItWas)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
    COXCustomTBButtonTemplate nothing;   // the base template makes no window
    const int index = COXCoolToolBar::AddCustomButton(&nothing, 600, 40);
    EXPECT_FALSE(bar.InsertCustomButton(1, index));
    EXPECT_FALSE(bar.InsertCustomButton(3, index)) << "beyond the buttons";
    EXPECT_FALSE(bar.InsertCustomButton(0, 7)) << "no such registration";
    EXPECT_EQ(Count(bar), 2);
    EXPECT_FALSE(bar.HasCustomButtons());
}

} // namespace
} // namespace zyn::test
