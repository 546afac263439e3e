// The cool toolbar's layout, worked by hand from the rules: 23 x 22 buttons, separators
// 6 wide (SetButtons on a flat bar), comctl32 6.0 on a flat bar so a wrapping separator
// adds its whole width to the row gap; no borders, so the bar is as large as its buttons.
#include <gtest/gtest.h>

#include "tests/cooltoolbar/cool_test_support.h"

namespace zyn::test {
namespace {

using LayoutTest = CoolBarTest;

constexpr UINT kSep = ID_SEPARATOR;

struct LayoutRow {
    const char* name;
    DWORD barStyle;   // bar style besides CBRS_SIZE_DYNAMIC
    int nLength;
    DWORD dwMode;
    int mruWidth;
    int indent;
    CSize expected;
};

TEST_F(LayoutTest, SizesOfFiveButtonsHorizontalVerticalAndWrapped)
{
    // NEW OPEN | SAVE PRINT: 23 + 23 + 6 + 23 + 23 = 98 along one row.
    const LayoutRow rows[] = {
        {"docked top, one row", CBRS_ALIGN_TOP, -1, LM_HORZ | LM_HORZDOCK, 32767, 0, CSize(98, 22)},
        {"docked top, indent 10 widens", CBRS_ALIGN_TOP, -1, LM_HORZ | LM_HORZDOCK, 32767, 10, CSize(108, 22)},
        // One column: NEW wraps, OPEN and the separator share a row (the separator wraps and
        // adds 6 to the gap), then SAVE, then PRINT: 22 + 22 + 6 + 22 + 22 = 94.
        {"docked left, one column", CBRS_ALIGN_LEFT, -1, LM_VERTDOCK, 32767, 0, CSize(23, 94)},
        // Floating at an MRU width of 60: the narrowest width keeping two rows is 46
        // (NEW OPEN with the wrapping separator, then SAVE PRINT), 22 + 6 + 22 high.
        {"floating at MRU width 60", CBRS_ALIGN_TOP, -1, LM_HORZ | LM_MRUWIDTH, 60, 0, CSize(46, 50)},
        // The indent is no room for buttons: the same rows, 10 wider.
        {"floating at MRU width 60, indent 10", CBRS_ALIGN_TOP, -1, LM_HORZ | LM_MRUWIDTH, 60, 10, CSize(56, 50)},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, kSep, ID_COOL_SAVE, ID_COOL_PRINT});
        bar.SetBarStyle(row.barStyle | CBRS_SIZE_DYNAMIC);
        bar.m_nMRUWidth = row.mruWidth;
        if (row.indent) {
            ASSERT_TRUE(bar.SetIndent(row.indent));
        }
        EXPECT_EQ(bar.CalcDynamicLayout(row.nLength, row.dwMode), row.expected);
        bars.clear();
    }
}

TEST_F(LayoutTest, CommittedColumnIsWhereTheControlPutsTheButtons)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, kSep, ID_COOL_SAVE, ID_COOL_PRINT});
    bar.SetBarStyle(CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT), CSize(23, 94));
    // The wrap states went to the control, which places the rows the same way.
    EXPECT_TRUE(Button(bar, 0).fsState & TBSTATE_WRAP);
    EXPECT_FALSE(Button(bar, 1).fsState & TBSTATE_WRAP);
    EXPECT_TRUE(Button(bar, 2).fsState & TBSTATE_WRAP);
    EXPECT_TRUE(Button(bar, 3).fsState & TBSTATE_WRAP);
    EXPECT_EQ(Item(bar, 1).top, 22);
    EXPECT_EQ(Item(bar, 3).top, 50);
    EXPECT_EQ(Item(bar, 4).top, 72);
    EXPECT_EQ(Item(bar, 4).bottom, 94);
}

TEST_F(LayoutTest, EmptyBarIsHalfAButtonAlongADockedSideAndAWholeOneFloating)
{
    CTestCoolBar& bar = MakeBar({});
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), CSize(11, 22));
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_VERTDOCK), CSize(23, 11));
    bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | CBRS_FLOATING);
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), CSize(23, 22));
}

TEST_F(LayoutTest, FixedSizeBarKeepsTheWrapStatesItHas)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, ID_COOL_SAVE});
    TBBUTTON b = Button(bar, 0);
    b.fsState |= TBSTATE_WRAP;
    b.fsState ^= TBSTATE_ENABLED;   // the record as _GetButton reads it
    ASSERT_TRUE(bar._SetButton(0, &b));
    bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_FIXED);
    // NEW alone, then OPEN SAVE: 46 x 44 whatever the length asked.
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), CSize(46, 44));
}

TEST_F(LayoutTest, CustomButtonIsItsWidthWhereShownAndAnImageButtonWhereHidden)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    const int index = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 60, -1, OXCBD_SHOWHORZ, 2);
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
    ASSERT_TRUE(bar.InsertCustomButton(1, index));
    // Docked at the top the window shows over a 60-wide separator: 23 + 60 + 23.
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), CSize(106, 22));
    // Docked at the left it is measured as a 23-wide image button: one column of three...
    bar.SetBarStyle(CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT), CSize(23, 66));
    // ...and written back as its separator record, only the wrap state taken.
    const TBBUTTON custom = Button(bar, 1);
    EXPECT_TRUE(custom.fsStyle & TBSTYLE_SEP);
    EXPECT_EQ(custom.iBitmap, 60);
    EXPECT_EQ(custom.idCommand, 500);
    EXPECT_TRUE(custom.fsState & TBSTATE_WRAP);
}

struct WrapRow {
    const char* name;
    std::vector<TBBUTTON> records;
    int width;
    int rows;
    std::vector<int> wrapped;
};

TBBUTTON Rec(int command, BYTE style = TBSTYLE_BUTTON, int image = 0, BYTE state = 0)
{
    TBBUTTON b{};
    b.idCommand = command;
    b.fsStyle = style;
    b.iBitmap = image;
    b.fsState = state;
    b.iString = -1;
    return b;
}

TEST_F(LayoutTest, WrapPicksPlainSeparatorsAndStopsAtARowAlreadyBroken)
{
    const WrapRow rows[] = {
        // The separator before NEW already ends a row: looking back stops there, so the
        // second break goes after NEW (the old rule went back to the separator for ever).
        {"stops at a record that wraps", {Rec(0, TBSTYLE_SEP, 8), Rec(1), Rec(2)}, 30, 3, {0, 1}},
        // A separator holding a window (command 77) is no break; the hidden OPEN is skipped.
        {"window separators and hidden records are no break",
            {Rec(1), Rec(77, TBSTYLE_SEP, 8), Rec(2, TBSTYLE_BUTTON, 0, TBSTATE_HIDDEN), Rec(3)}, 40, 2, {0}},
        // The last plain separator before the overflowing button takes the break.
        {"last plain separator", {Rec(1), Rec(0, TBSTYLE_SEP, 6), Rec(2), Rec(0, TBSTYLE_SEP, 6), Rec(3)}, 60, 2, {3}},
        {"everything fits", {Rec(1), Rec(2)}, 46, 1, {}},
    };
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    for (const WrapRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<TBBUTTON> data = row.records;
        EXPECT_EQ(bar.WrapToolBar(data.data(), static_cast<int>(data.size()), row.width), row.rows);
        std::vector<int> wrapped;
        for (size_t i = 0; i < data.size(); ++i)
            if (data[i].fsState & TBSTATE_WRAP)
                wrapped.push_back(static_cast<int>(i));
        EXPECT_EQ(wrapped, row.wrapped);
    }
}

} // namespace
} // namespace zyn::test
