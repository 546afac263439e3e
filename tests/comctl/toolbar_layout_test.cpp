// Toolbar geometry by messages, with sizes worked by hand from the documented defaults
// (16 x 15 bitmaps and 24 x 22 buttons until a bitmap size is set, then bitmap + 7 x 6
// padding; 8-pixel separators): button sizes
// with and without text, wrapping by state, by TBSTYLE_WRAPABLE and by TB_SETROWS, hit
// tests, insert-mark hit tests and TB_AUTOSIZE.
#include "platform/gdi/sysmetrics.h"
#include "tests/comctl/toolbar_test_support.h"
#include "tests/support/font_extent.h"

namespace zyn::test {
namespace {

using ToolbarLayout = ToolbarTest;

// The extent of a text in the system message font, as tall as the font's line.
SIZE MessageFontLine(const wchar_t* text)
{
    int line = 0;
    SIZE size = MessageFontExtent(text, &line);
    size.cy = line;
    return size;
}

std::string Str(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
        std::to_string(r.bottom) + ")";
}

TEST_F(ToolbarLayout, ButtonSizeFollowsBitmapPaddingAndSetSize)
{
    struct Row {
        const char* name;
        std::function<void(HWND)> setup;
        LONG cx, cy;
    };
    const Row rows[] = {
        {"nothing set: the documented initial 24x22", [](HWND) {}, 24, 22},
        {"bitmap 20x20, padding 10x4: 20+10 by 20+4", [](HWND tb) {
             Send(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(20, 20));
             Send(tb, TB_SETPADDING, 0, MAKELPARAM(10, 4));
         }, 30, 24},
        {"bitmap 16x16: 16+7 by 16+6", [](HWND tb) { Send(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16)); }, 23, 22},
        {"bitmap 16x15 set: 16+7 by 15+6", [](HWND tb) { Send(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15)); }, 23,
            21},
        {"16x16 image list: its image size counts as set", [](HWND tb) {
             Send(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(MakeImages(1, {RGB(0, 0, 0)}, 16, 16)));
         }, 23, 22},
        {"set size 40x30 stands without text", [](HWND tb) { Send(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 30)); },
            40, 30},
        {"set size smaller than the image stands too", [](HWND tb) { Send(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(10, 10)); },
            10, 10},
        {"width clamped to the minimum", [](HWND tb) { Send(tb, TB_SETBUTTONWIDTH, 0, MAKELPARAM(30, 60)); }, 30, 22},
        {"width clamped to the maximum", [](HWND tb) { Send(tb, TB_SETBUTTONWIDTH, 0, MAKELPARAM(0, 20)); }, 20, 22},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, 0);
        r.setup(tb);
        Add(tb, {Btn(1), Btn(2)});
        const auto size = static_cast<DWORD>(Send(tb, TB_GETBUTTONSIZE));
        EXPECT_EQ(LOWORD(size), r.cx) << r.name;
        EXPECT_EQ(HIWORD(size), r.cy) << r.name;
        EXPECT_EQ(ItemRect(tb, 1).left, r.cx) << r.name;
        const auto list = reinterpret_cast<HIMAGELIST>(Send(tb, TB_GETIMAGELIST));
        DestroyWindow(parent);
        if (list)
            ImageList_Destroy(list);
    }
    HWND tb = MakeToolbar(MakeParent(), 0);
    EXPECT_FALSE(Send(tb, TB_SETBUTTONWIDTH, 0, MAKELPARAM(30, 20))) << "a maximum below the minimum";
    EXPECT_EQ(Send(tb, TB_SETPADDING, 0, MAKELPARAM(3, 2)), MAKELONG(7, 6)) << "answers the old padding";
    EXPECT_EQ(Send(tb, TB_GETPADDING), MAKELONG(3, 2));
}

TEST_F(ToolbarLayout, TextsWidenAllButtonsBelowOrBesideTheImage)
{
    const SIZE open = MessageFontLine(L"Open");
    const SIZE wide = MessageFontLine(L"Properties");
    ASSERT_GT(wide.cx, 16);
    for (const bool list : {false, true}) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, list ? TBSTYLE_LIST : 0);
        Send(tb, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(L"Open\0Properties\0"));
        Add(tb, {Btn(1, 0, BTNS_BUTTON, TBSTATE_ENABLED, 0), Btn(2, 0, BTNS_BUTTON, TBSTATE_ENABLED, 1),
                    Btn(3, 0, BTNS_AUTOSIZE, TBSTATE_ENABLED, 0)});
        const RECT a = ItemRect(tb, 0), b = ItemRect(tb, 1), c = ItemRect(tb, 2);
        if (!list) {
            EXPECT_EQ(a.right - a.left, wide.cx + 8) << "every button as wide as the widest text";
            EXPECT_EQ(a.bottom - a.top, 15 + 7 + wide.cy) << "one text row below the image";
            EXPECT_EQ(c.right - c.left, std::max<LONG>(16, open.cx) + 8) << "an auto-sized button fits its own";
        } else {
            EXPECT_EQ(a.right - a.left, 16 + 4 + wide.cx + 8);
            EXPECT_EQ(a.bottom - a.top, std::max<LONG>(15, wide.cy) + 7);
            EXPECT_EQ(c.right - c.left, 16 + 4 + open.cx + 8);
        }
        EXPECT_EQ(b.right - b.left, a.right - a.left);
        // No text rows: the texts only serve tooltips, the buttons are plain again.
        Send(tb, TB_SETMAXTEXTROWS, 0);
        EXPECT_EQ(ItemRect(tb, 0).right - ItemRect(tb, 0).left, 24);
        EXPECT_EQ(Send(tb, TB_GETTEXTROWS), 0);
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarLayout, DropDownArrowsWidenTheirButtons)
{
    LOGFONTW lf{};
    lf.lfHeight = GetSystemMetrics(SM_CYMENUCHECK);
    lf.lfCharSet = SYMBOL_CHARSET;
    wcscpy(lf.lfFaceName, L"Marlett");
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    int arrow = 0;
    GetCharWidth32W(dc, L'6', L'6', &arrow);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    ASSERT_GT(arrow, 0);

    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(1, 0, BTNS_DROPDOWN), Btn(2, 0, BTNS_WHOLEDROPDOWN), Btn(3)});
    EXPECT_EQ(ItemRect(tb, 0).right, 24) << "no arrow part without TBSTYLE_EX_DRAWDDARROWS";
    EXPECT_EQ(ItemRect(tb, 1).right - ItemRect(tb, 1).left, 24 + arrow);
    Send(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(ItemRect(tb, 0).right, 24 + arrow);
    EXPECT_EQ(ItemRect(tb, 2).left, 24 + arrow + 24 + arrow);
}

TEST_F(ToolbarLayout, WrapStatesStartNewRows)
{
    for (const bool flat : {false, true}) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, flat ? TBSTYLE_FLAT : 0);
        Send(tb, TB_SETINDENT, 5);
        TBBUTTON wrapSep = Sep(6);
        wrapSep.fsState = TBSTATE_WRAP;
        Add(tb, {Btn(1), Btn(2, 0, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_WRAP), Btn(3), wrapSep, Btn(4)});
        // Row 0: 5..29, 29..53; row 1 at y 22: 5..29 and the separator 29..35; row 2 after
        // the separator's gap: its width when flat, two thirds of it otherwise.
        const int gap = flat ? 6 : 4;
        const RECT want[] = {{5, 0, 29, 22}, {29, 0, 53, 22}, {5, 22, 29, 44}, {29, 22, 35, 44},
            {5, 44 + gap, 29, 66 + gap}};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Str(ItemRect(tb, i)), Str(want[i])) << (flat ? "flat " : "3-D ") << i;
        EXPECT_EQ(Send(tb, TB_GETROWS), 3);
        SIZE max{};
        EXPECT_TRUE(Send(tb, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&max)));
        EXPECT_EQ(max.cx, 53);
        EXPECT_EQ(max.cy, 66 + gap);
        DestroyWindow(parent);
    }
}

// A damaged saved state may give any numbers: an indent beyond any screen is refused, and
// separators of the largest widths lay out without overflowing (each counts 32,767 pixels
// at most, the row saturates).
TEST_F(ToolbarLayout, HugeIndentsAreRefusedAndHugeSeparatorsSaturate)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_WRAPABLE);
    EXPECT_TRUE(Send(tb, TB_SETINDENT, 5));
    for (const int indent : {INT_MAX, INT_MIN, 32768, -32768})
        EXPECT_FALSE(Send(tb, TB_SETINDENT, static_cast<WPARAM>(indent))) << indent;
    Add(tb, {Btn(1), Sep(INT_MAX), Sep(INT_MAX), Btn(2)});
    EXPECT_EQ(Str(ItemRect(tb, 0)), Str(RECT{5, 0, 29, 22})) << "the indent of 5 stands";
    EXPECT_EQ(ItemRect(tb, 1).right - ItemRect(tb, 1).left, 32767);
    SIZE ideal{};
    EXPECT_TRUE(Send(tb, TB_GETIDEALSIZE, FALSE, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_EQ(ideal.cx, 5 + 24 + 32767 + 32767 + 24);
    RECT rows{};
    Send(tb, TB_SETROWS, MAKEWPARAM(1, FALSE), reinterpret_cast<LPARAM>(&rows));
    EXPECT_GT(rows.right, 0);
}

TEST_F(ToolbarLayout, WrapableToolbarsBreakAtTheLastSeparatorOfTheRow)
{
    struct Row {
        const char* name;
        DWORD style;
        int width;
        std::vector<TBBUTTON> buttons;
        std::vector<RECT> want;
    };
    const Row rows[] = {
        {"three fit in 72", 0, 72, {Btn(1), Btn(2), Btn(3), Btn(4)},
            {{0, 0, 24, 22}, {24, 0, 48, 22}, {48, 0, 72, 22}, {0, 22, 24, 44}}},
        {"one pixel short: two per row", 0, 71, {Btn(1), Btn(2), Btn(3), Btn(4)},
            {{0, 0, 24, 22}, {24, 0, 48, 22}, {0, 22, 24, 44}, {24, 22, 48, 44}}},
        {"separator takes the break (flat gap 8)", TBSTYLE_FLAT, 79, {Btn(1), Btn(2), Sep(), Btn(3)},
            {{0, 0, 24, 22}, {24, 0, 48, 22}, {48, 0, 56, 22}, {0, 30, 24, 52}}},
        {"separator takes the break (3-D gap 5)", 0, 79, {Btn(1), Btn(2), Sep(), Btn(3)},
            {{0, 0, 24, 22}, {24, 0, 48, 22}, {48, 0, 56, 22}, {0, 27, 24, 49}}},
        {"a window separator is no break point: it moves down with what follows", 0, 79,
            {Btn(1), Btn(2), Sep(8, 500), Btn(3)}, {{0, 0, 24, 22}, {24, 0, 48, 22}, {0, 22, 8, 44}, {8, 22, 32, 44}}},
        {"a button wider than the row stays alone", 0, 20, {Btn(1), Btn(2)}, {{0, 0, 24, 22}, {0, 22, 24, 44}}},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, TBSTYLE_WRAPABLE | r.style, r.width, 100);
        Add(tb, r.buttons);
        for (size_t i = 0; i < r.want.size(); ++i)
            EXPECT_EQ(Str(ItemRect(tb, static_cast<int>(i))), Str(r.want[i])) << r.name << ", item " << i;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarLayout, SetRowsFindsTheNarrowestLayout)
{
    struct Row {
        int buttons, rows;
        bool larger;
        int gotRows;
        RECT bounds;
    };
    const Row rows[] = {
        {6, 2, false, 2, {0, 0, 72, 44}},
        {5, 2, false, 2, {0, 0, 72, 44}},
        {5, 3, false, 3, {0, 0, 48, 66}},
        {3, 1, false, 1, {0, 0, 72, 22}},
        {3, 9, true, 3, {0, 0, 24, 66}},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, 0);
        std::vector<TBBUTTON> b;
        for (int i = 0; i < r.buttons; ++i)
            b.push_back(Btn(i + 1));
        Add(tb, b);
        RECT bounds{};
        Send(tb, TB_SETROWS, MAKEWPARAM(static_cast<WORD>(r.rows), r.larger), reinterpret_cast<LPARAM>(&bounds));
        const std::string name = std::to_string(r.buttons) + " buttons in " + std::to_string(r.rows);
        EXPECT_EQ(Send(tb, TB_GETROWS), r.gotRows) << name;
        EXPECT_EQ(Str(bounds), Str(r.bounds)) << name;
        DestroyWindow(parent);
    }
}

// Items: B0 (0..24), S1 (24..32), B2 (32..56, wraps), B3 on the second row (0..24, 22..44).
HWND HitLayout(HWND parent)
{
    HWND tb = ToolbarTest::MakeToolbar(parent, 0);
    ToolbarTest::Add(tb, {ToolbarTest::Btn(1), ToolbarTest::Sep(), ToolbarTest::Btn(3, 0, BTNS_BUTTON,
                              TBSTATE_ENABLED | TBSTATE_WRAP),
                             ToolbarTest::Btn(4)});
    return tb;
}

TEST_F(ToolbarLayout, HitTestNamesButtonsSeparatorsAndTheNearestButton)
{
    HWND tb = HitLayout(MakeParent());
    struct Row {
        const char* name;
        POINT pt;
        int want;
    };
    const Row rows[] = {
        {"on button 0", {5, 5}, 0},
        {"on the separator at 1", {28, 5}, -2},
        {"on button 2", {40, 10}, 2},
        {"right of row 0: nearest is 2", {60, 5}, -3},
        {"left of everything: nearest is 0", {-5, 5}, -1},
        {"on button 3", {10, 30}, 3},
        {"right of the last row: past the end", {30, 30}, -5},
        {"below every row: past the end", {10, 50}, -5},
    };
    for (const Row& r : rows) {
        POINT pt = r.pt;
        EXPECT_EQ(Send(tb, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)), r.want) << r.name;
    }
    struct MarkRow {
        const char* name;
        POINT pt;
        BOOL on;
        TBINSERTMARK want;
    };
    const MarkRow marks[] = {
        {"left half of 0", {5, 5}, TRUE, {0, 0}},
        {"right half of 0", {20, 5}, TRUE, {0, TBIMHT_AFTER}},
        {"beside row 0", {60, 5}, FALSE, {2, TBIMHT_BACKGROUND}},
        {"past the end", {30, 30}, FALSE, {3, TBIMHT_AFTER | TBIMHT_BACKGROUND}},
    };
    for (const MarkRow& m : marks) {
        POINT pt = m.pt;
        TBINSERTMARK got{-9, 99};
        EXPECT_EQ(Send(tb, TB_INSERTMARKHITTEST, reinterpret_cast<WPARAM>(&pt), reinterpret_cast<LPARAM>(&got)),
            m.on)
            << m.name;
        EXPECT_EQ(got.iButton, m.want.iButton) << m.name;
        EXPECT_EQ(got.dwFlags, m.want.dwFlags) << m.name;
    }
}

TEST_F(ToolbarLayout, AutoSizeFollowsTheParentUnlessToldNotTo)
{
    struct Row {
        const char* name;
        DWORD style;
        RECT want; // in the parent's client area
        DWORD side; // the CCS_TOP / CCS_NOMOVEY / CCS_BOTTOM bits once created (none named: CCS_TOP)
        int imageCy = 0; // TB_SETBITMAPSIZE 16 x imageCy before the buttons (0: none)
    };
    // With the divider (2 pixels above the buttons): 22 + 2 high; a set bitmap size makes
    // the buttons bitmap + 6 high.
    const Row rows[] = {
        {"top", CCS_TOP, {0, 0, 600, 24}, CCS_TOP},
        {"bottom", CCS_BOTTOM, {0, 176, 600, 200}, CCS_BOTTOM},
        {"no divider", CCS_NODIVIDER, {0, 0, 600, 22}, CCS_TOP},
        {"no parent align keeps the place", CCS_NOPARENTALIGN, {0, 40, 600, 64}, CCS_TOP},
        {"no resize keeps everything", CCS_NORESIZE, {0, 40, 300, 90}, CCS_TOP},
        {"no vertical move keeps its row", CCS_NOMOVEY, {0, 40, 600, 64}, CCS_NOMOVEY},
        {"16x16 images: 16 + 6 + 2", CCS_TOP, {0, 0, 600, 24}, CCS_TOP, 16},
        {"16x24 images: 24 + 6 + 2", CCS_TOP, {0, 0, 600, 32}, CCS_TOP, 24},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent(600, 200);
        HWND tb = MakeToolbar(parent, r.style, 300, 50, true);
        SetWindowPos(tb, nullptr, 0, 40, 300, 50, SWP_NOZORDER);
        if (r.imageCy)
            Send(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, r.imageCy));
        Add(tb, {Btn(1), Btn(2)});
        Send(tb, TB_AUTOSIZE);
        RECT w{};
        GetWindowRect(tb, &w);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&w), 2);
        EXPECT_EQ(Str(w), Str(r.want)) << r.name;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(tb, GWL_STYLE)) & CCS_BOTTOM, r.side) << r.name;
        DestroyWindow(parent);
    }
}

} // namespace
} // namespace zyn::test
