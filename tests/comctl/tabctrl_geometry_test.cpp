// The tab control's geometry, worked by hand from the rules at the top of tabctrl.h and
// measures of the font taken with the drawing layer alone: item rectangles for every side,
// buttons, multi-line rows (stretching and the selected row's move), padding, minimum and
// fixed widths, prefixes, TCM_ADJUSTRECT both ways, hit tests and the overflow spin.
#include "platform/gdi/imagelist.h"
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

using namespace comctl::tabgeo;

class TabGeometry : public TabUpDownTest {
protected:
    // Row height and natural width with the default padding and no image list.
    static int H() { return FontHeight() + 2 * kDefaultPadY + kEdge; }
    static int W(const std::wstring& shown) { return 2 * kDefaultPadX + TextWidth(shown); }
};

::testing::AssertionResult SameRect(const RECT& got, const RECT& want)
{
    if (EqualRect(&got, &want))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got {" << got.left << ", " << got.top << ", " << got.right << ", "
                                         << got.bottom << "} want {" << want.left << ", " << want.top << ", "
                                         << want.right << ", " << want.bottom << "}";
}

TEST_F(TabGeometry, SingleLineItemsOnEverySide)
{
    const int h = H(), w0 = W(L"One"), w1 = W(L"Three");
    struct Row {
        const char* name;
        DWORD style;
        RECT first, second;
    };
    const Row rows[] = {
        {"top", 0, {2, 2, 2 + w0, 2 + h}, {2 + w0, 2, 2 + w0 + w1, 2 + h}},
        {"bottom", TCS_BOTTOM, {2, 198 - h, 2 + w0, 198}, {2 + w0, 198 - h, 2 + w0 + w1, 198}},
        {"left", TCS_VERTICAL, {2, 2, 2 + h, 2 + w0}, {2, 2 + w0, 2 + h, 2 + w0 + w1}},
        {"right", TCS_VERTICAL | TCS_RIGHT, {298 - h, 2, 298, 2 + w0}, {298 - h, 2 + w0, 298, 2 + w0 + w1}},
        {"buttons", TCS_BUTTONS, {0, 0, w0, h}, {w0 + 3, 0, w0 + 3 + w1, h}},
        {"bottom buttons", TCS_BUTTONS | TCS_BOTTOM, {0, 200 - h, w0, 200}, {w0 + 3, 200 - h, w0 + 3 + w1, 200}},
        {"multi-line, one row", TCS_MULTILINE, {2, 2, 2 + w0, 2 + h}, {2 + w0, 2, 2 + w0 + w1, 2 + h}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND tab = MakeTab(r.style, 10, 10, 300, 200);
        Insert(tab, 0, L"One");
        Insert(tab, 1, L"Three");
        EXPECT_TRUE(SameRect(ItemRect(tab, 0), r.first));
        EXPECT_TRUE(SameRect(ItemRect(tab, 1), r.second));
        EXPECT_EQ(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 1);
        RECT none{};
        EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&none)));
        DestroyWindow(tab);
    }
}

TEST_F(TabGeometry, AdjustRectBothWaysForEveryOrientation)
{
    const int h = H();
    const int tabs1 = kMargin + h + kPaneInset;        // one row of tabs and the pane's inset
    const int tabs3 = kMargin + 3 * h + kPaneInset;    // three rows
    const int buttons1 = h + kButtonGap;
    struct Row {
        const char* name;
        DWORD style;
        int items;                                     // 7 items of 100 pixels make 3 rows
        RECT display;                                  // of {10, 20, 310, 220}
    };
    const Row rows[] = {
        {"top", 0, 1, {14, 20 + tabs1, 306, 216}},
        {"bottom", TCS_BOTTOM, 1, {14, 24, 306, 220 - tabs1}},
        {"left", TCS_VERTICAL, 1, {10 + tabs1, 24, 306, 216}},
        {"right", TCS_VERTICAL | TCS_RIGHT, 1, {14, 24, 310 - tabs1, 216}},
        {"buttons", TCS_BUTTONS, 1, {10, 20 + buttons1, 310, 220}},
        {"bottom buttons", TCS_BUTTONS | TCS_BOTTOM, 1, {10, 20, 310, 220 - buttons1}},
        {"three rows", TCS_MULTILINE, 7, {14, 20 + tabs3, 306, 216}},
        {"three rows at the bottom", TCS_MULTILINE | TCS_BOTTOM, 7, {14, 24, 306, 220 - tabs3}},
        {"no items", 0, 0, {14, 20 + tabs1, 306, 216}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND tab = MakeTab(r.style, 10, 10, 330, 200);
        SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 100);
        for (int i = 0; i < r.items; ++i)
            Insert(tab, i, L"x");
        RECT rc{10, 20, 310, 220};
        SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        EXPECT_TRUE(SameRect(rc, r.display)) << "window to display area";
        SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
        EXPECT_TRUE(SameRect(rc, RECT{10, 20, 310, 220})) << "display area back to the window";
        DestroyWindow(tab);
    }
}

TEST_F(TabGeometry, AdjustRectFollowsAStyleChangedForTheMeasurement)
{
    // A caller may drop TCS_BOTTOM just to measure, without a redraw, and put it back.
    HWND tab = MakeTab(TCS_BOTTOM, 10, 10, 300, 200);
    Insert(tab, 0, L"x");
    SetWindowLongPtrW(tab, GWL_STYLE, GetWindowLongPtrW(tab, GWL_STYLE) & ~static_cast<LONG_PTR>(TCS_BOTTOM));
    RECT rc{0, 0, 300, 200};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.top, kMargin + H() + kPaneInset);
    EXPECT_EQ(rc.bottom, 200 - kPaneInset);
}

TEST_F(TabGeometry, MultiLineRowsStretchAndTheSelectedRowMovesToThePane)
{
    const int h = H();
    // 7 items of 100 pixels in a row span of 2..328: rows {0,1,2} {3,4,5} {6}. Stretched,
    // a full row gains 26 pixels (8 each, the last 10); the lone item fills the span.
    HWND tab = MakeTab(TCS_MULTILINE, 10, 10, 330, 200);
    SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 100);
    for (int i = 0; i < 7; ++i)
        Insert(tab, i, std::wstring(1, static_cast<wchar_t>(L'a' + i)));
    EXPECT_EQ(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 3);
    const int lefts[] = {2, 110, 218, 2, 110, 218, 2};
    const int rights[] = {110, 218, 328, 110, 218, 328, 328};
    struct Case {
        int select;
        int rowTop[3]; // top of the rows holding items 0-2, 3-5 and 6
    };
    const Case cases[] = {
        {0, {2 + 2 * h, 2 + h, 2}},
        {4, {2, 2 + 2 * h, 2 + h}},
        {6, {2 + h, 2, 2 + 2 * h}},
        {1, {2 + 2 * h, 2 + h, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "selected " << c.select);
        SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(c.select), 0);
        for (int i = 0; i < 7; ++i) {
            const int top = c.rowTop[i < 3 ? 0 : i < 6 ? 1 : 2];
            EXPECT_TRUE(SameRect(ItemRect(tab, i), RECT{lefts[i], top, rights[i], top + h})) << "item " << i;
        }
    }

    // Ragged rows keep their natural widths; so do fixed-width tabs.
    for (const DWORD extra : {TCS_RAGGEDRIGHT, TCS_FIXEDWIDTH}) {
        SetWindowLongPtrW(tab, GWL_STYLE, static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | TCS_MULTILINE | extra));
        if (extra == TCS_FIXEDWIDTH)
            SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(100, 0));
        EXPECT_EQ(ItemRect(tab, 2).right, 302) << std::hex << extra;
        EXPECT_EQ(ItemRect(tab, 6).right, 102) << std::hex << extra;
    }
}

TEST_F(TabGeometry, ButtonRowsKeepTheirOrder)
{
    const int h = H();
    // Buttons span 0..330, 3 pixels apart: {0,1,2} end at 306, stretched by 24 (8 each).
    HWND tab = MakeTab(TCS_BUTTONS | TCS_MULTILINE, 10, 10, 330, 200);
    SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 100);
    for (int i = 0; i < 7; ++i)
        Insert(tab, i, L"b");
    SendMessageW(tab, TCM_SETCURSEL, 6, 0);
    EXPECT_TRUE(SameRect(ItemRect(tab, 0), RECT{0, 0, 108, h}));
    EXPECT_TRUE(SameRect(ItemRect(tab, 2), RECT{222, 0, 330, h}));
    EXPECT_TRUE(SameRect(ItemRect(tab, 4), RECT{111, h + 3, 219, 2 * h + 3}));
    EXPECT_TRUE(SameRect(ItemRect(tab, 6), RECT{0, 2 * (h + 3), 330, 3 * h + 6}));
}

TEST_F(TabGeometry, VerticalTabsWrapIntoColumns)
{
    const int h = H();
    // Along y the span is 2..198: two 100-pixel items cannot share a column.
    HWND tab = MakeTab(TCS_VERTICAL, 10, 10, 300, 200);
    SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 100);
    for (int i = 0; i < 3; ++i)
        Insert(tab, i, L"v");
    EXPECT_EQ(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 3);
    // Each column holds one item stretched over the span; the selected one is next to the pane.
    EXPECT_TRUE(SameRect(ItemRect(tab, 0), RECT{2 + 2 * h, 2, 2 + 3 * h, 198}));
    EXPECT_TRUE(SameRect(ItemRect(tab, 1), RECT{2 + h, 2, 2 + 2 * h, 198}));
    EXPECT_TRUE(SameRect(ItemRect(tab, 2), RECT{2, 2, 2 + h, 198}));
}

TEST_F(TabGeometry, PaddingMinimumAndFixedWidths)
{
    HWND tab = MakeTab(0, 10, 10, 400, 200);
    Insert(tab, 0, L"Short");
    Insert(tab, 1, L"Much longer");
    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(10, 5));
    const int h = FontHeight() + 10 + kEdge;
    EXPECT_TRUE(SameRect(ItemRect(tab, 0), RECT{2, 2, 2 + 20 + TextWidth(L"Short"), 2 + h}));

    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(kDefaultPadX, kDefaultPadY));
    EXPECT_EQ(SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 150), 0);
    EXPECT_EQ(ItemRect(tab, 0).right, 152);
    EXPECT_EQ(SendMessageW(tab, TCM_SETMINTABWIDTH, 0, -1), 150);
    EXPECT_EQ(ItemRect(tab, 0).right, 2 + W(L"Short")) << "-1 restores the default";

    SetWindowLongPtrW(tab, GWL_STYLE, GetWindowLongPtrW(tab, GWL_STYLE) | TCS_FIXEDWIDTH);
    const int widest = W(L"Much longer");
    EXPECT_EQ(ItemRect(tab, 0).right - ItemRect(tab, 0).left, widest) << "as wide as the widest";
    const auto old = static_cast<DWORD>(SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(90, 25)));
    EXPECT_EQ(LOWORD(old), widest);
    EXPECT_EQ(HIWORD(old), H());
    EXPECT_TRUE(SameRect(ItemRect(tab, 1), RECT{92, 2, 182, 27}));
}

TEST_F(TabGeometry, TheFontSetsTheRowHeight)
{
    LOGFONTW lf{};
    lf.lfHeight = -20;
    wcscpy(lf.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE ext{};
    GetTextExtentPoint32W(dc, L"Big", 3, &ext);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);

    HWND tab = MakeTab(0, 10, 10, 300, 200);
    Insert(tab, 0, L"Big");
    SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(tab, WM_GETFONT, 0, 0)), font);
    EXPECT_TRUE(SameRect(ItemRect(tab, 0),
        RECT{2, 2, 2 + 2 * kDefaultPadX + ext.cx, 2 + tm.tmHeight + 2 * kDefaultPadY + kEdge}));
    DestroyWindow(tab);
    DeleteObject(font);
}

TEST_F(TabGeometry, PrefixesCountAsShown)
{
    HWND tab = MakeTab(0, 10, 10, 400, 200);
    Insert(tab, 0, L"&File");
    Insert(tab, 1, L"A&&B");
    EXPECT_EQ(ItemRect(tab, 0).right - ItemRect(tab, 0).left, W(L"File")) << "the '&' marks F";
    EXPECT_EQ(ItemRect(tab, 1).right - ItemRect(tab, 1).left, W(L"A&B")) << "'&&' shows one '&'";
    TCITEMW w{};
    w.mask = TCIF_TEXT;
    w.pszText = const_cast<LPWSTR>(L"&Edit more");
    SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&w));
    EXPECT_EQ(ItemRect(tab, 0).right - ItemRect(tab, 0).left, W(L"Edit more")) << "a new text is measured";
    EXPECT_EQ(ItemRect(tab, 1).left, 2 + W(L"Edit more")) << "and the next tab moves";
}

TEST_F(TabGeometry, HitTestPartsOfAnItem)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    ImageList_SetImageCount(list, 1);
    HWND tab = MakeTab(0, 10, 10, 400, 200);
    SendMessageW(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    Insert(tab, 0, L"Tab", 0);
    Insert(tab, 1, L"Plain");
    const int h = std::max(FontHeight(), 16) + 2 * kDefaultPadY + kEdge;
    const int tw = TextWidth(L"Tab");
    const RECT r = ItemRect(tab, 0);
    EXPECT_TRUE(SameRect(r, RECT{2, 2, 2 + 12 + 16 + kIconGap + tw, 2 + h}));
    // The image and text are centred as one block; the band below the 2-pixel edge holds them.
    const int iconX = r.left + kDefaultPadX;
    const int iconY = r.top + kEdge + (h - kEdge - 16) / 2;
    const int textX = iconX + 16 + kIconGap;
    const int textY = r.top + kEdge + (h - kEdge - FontHeight()) / 2;
    struct Probe {
        const char* name;
        POINT pt;
        int item;
        UINT flags;
    };
    const Probe probes[] = {
        {"image", {iconX + 8, iconY + 8}, 0, TCHT_ONITEMICON},
        {"image's first column", {iconX, iconY}, 0, TCHT_ONITEMICON},
        {"text", {textX + tw / 2, textY + 2}, 0, TCHT_ONITEMLABEL},
        {"padding", {r.left + 1, r.top + 3}, 0, TCHT_ONITEM},
        {"second item", {ItemRect(tab, 1).left + 2, r.top + 3}, 1, TCHT_ONITEM},
        {"pane", {50, 150}, -1, TCHT_NOWHERE},
        {"right of the items", {395, r.top + 3}, -1, TCHT_NOWHERE},
    };
    for (const Probe& p : probes) {
        UINT flags = 0;
        EXPECT_EQ(HitTest(tab, p.pt, &flags), p.item) << p.name;
        EXPECT_EQ(flags, p.flags) << p.name;
    }
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, 0), -1) << "no structure";

    // Owner-drawn tabs have no parts.
    SetWindowLongPtrW(tab, GWL_STYLE, GetWindowLongPtrW(tab, GWL_STYLE) | TCS_OWNERDRAWFIXED);
    UINT flags = 0;
    EXPECT_EQ(HitTest(tab, POINT{iconX + 8, iconY + 8}, &flags), 0);
    EXPECT_EQ(flags, TCHT_ONITEM);

    // Labels forced left start right after the padding.
    SetWindowLongPtrW(tab, GWL_STYLE,
        static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | TCS_FIXEDWIDTH | TCS_FORCELABELLEFT));
    SendMessageW(tab, TCM_SETIMAGELIST, 0, 0);
    SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(120, 0));
    const RECT p = ItemRect(tab, 1);
    EXPECT_EQ(HitTest(tab, POINT{p.left + kDefaultPadX + 1, p.top + kEdge + (H() - kEdge) / 2}, &flags), 1);
    EXPECT_EQ(flags, TCHT_ONITEMLABEL);
    SetWindowLongPtrW(tab, GWL_STYLE, static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | TCS_FIXEDWIDTH));
    EXPECT_EQ(HitTest(tab, POINT{p.left + kDefaultPadX + 1, p.top + kEdge + (H() - kEdge) / 2}, &flags), 1);
    EXPECT_EQ(flags, TCHT_ONITEM) << "centred, the label starts further in";
    DestroyWindow(tab);
    ImageList_Destroy(list);
}

TEST_F(TabGeometry, OverflowBringsASpinThatScrollsTheTabs)
{
    const int h = H();
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 100);
    for (int i = 0; i < 10; ++i)
        Insert(tab, i, L"t");
    // Items end at 2 + 1000; the spin (2 x 16 wide) leaves 268. From item f on the rest
    // ends at 1002 - 100 f, which fits from f = 8.
    HWND spin = FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(spin, nullptr);
    EXPECT_TRUE(IsWindowVisible(spin));
    EXPECT_EQ(GetDlgCtrlID(spin), kSpinId);
    RECT sr{};
    GetWindowRect(spin, &sr);
    MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&sr), 2);
    EXPECT_TRUE(SameRect(sr, RECT{268, 2, 300, 2 + h}));
    EXPECT_NE(GetWindowLongPtrW(spin, GWL_STYLE) & UDS_HORZ, 0);
    int lo = -1, hi = -1;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 8);
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 0);
    EXPECT_EQ(HIWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 0) << "no buddy, no error";

    // The spin's right arrow scrolls by one tab.
    ClickAt(spin, POINT{24, h / 2});
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 1);
    EXPECT_TRUE(SameRect(ItemRect(tab, 1), RECT{2, 2, 102, 2 + h}));
    EXPECT_EQ(ItemRect(tab, 0).left, -98);
    EXPECT_EQ(HitTest(tab, POINT{5, 10}), 1) << "the scrolled-away item is not hit";
    EXPECT_EQ(HitTest(tab, POINT{265, 10}), 3);
    EXPECT_EQ(HitTest(tab, POINT{270, 10}), -1) << "behind the spin";

    // Selecting a tab out of view scrolls just far enough to show it.
    SendMessageW(tab, TCM_SETCURSEL, 5, 0);
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 4) << "item 5 ends at 602 - 100 f: 202 from f = 4";
    SendMessageW(tab, TCM_SETCURSEL, 9, 0);
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 8);
    SendMessageW(tab, TCM_SETCURSEL, 0, 0);
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 0);

    // Deleting down to what fits hides the spin and shows every tab from the start.
    SendMessageW(tab, TCM_SETCURSEL, 9, 0);
    for (int i = 9; i >= 2; --i)
        SendMessageW(tab, TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
    EXPECT_FALSE(IsWindowVisible(spin));
    EXPECT_EQ(ItemRect(tab, 0).left, 2);
    EXPECT_EQ(HitTest(tab, POINT{270, 10}), -1);

    // Multi-line controls wrap instead.
    HWND multi = MakeTab(TCS_MULTILINE, 10, 220, 300, 150, 101);
    SendMessageW(multi, TCM_SETMINTABWIDTH, 0, 100);
    for (int i = 0; i < 10; ++i)
        Insert(multi, i, L"t");
    EXPECT_EQ(FindWindowExW(multi, nullptr, UPDOWN_CLASSW, nullptr), nullptr);
    EXPECT_EQ(SendMessageW(multi, TCM_GETROWCOUNT, 0, 0), 5) << "two 100-pixel tabs a row in 2..298";
}

} // namespace
} // namespace zyn::test
