// List-view geometry worked by hand from the font's line height, the image sizes and the
// documented layout rules: report rows and columns, list columns, icon cells and labels,
// hit testing, scrolling and positions.
#include "platform/gdi/sysmetrics.h"
#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

class ListGeometry : public ListViewTest {
protected:
    void SetUp() override
    {
        ListViewTest::SetUp();
        h = IconTitleLineHeight();
    }
    int h = 0;   // the line height of the control's font
};

void ExpectRect(const RECT& got, const RECT& want, const std::string& what)
{
    EXPECT_EQ(got.left, want.left) << what;
    EXPECT_EQ(got.top, want.top) << what;
    EXPECT_EQ(got.right, want.right) << what;
    EXPECT_EQ(got.bottom, want.bottom) << what;
}

TEST_F(ListGeometry, ReportRowsAndColumns)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"Size", 80, LVCFMT_RIGHT);
    AddColumn(list, 2, L"Kind", 60);
    AddItems(list, {L"a", L"b", L"c"});
    const int header = h + 6, row = h + 2;
    RECT hr{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &hr);
    EXPECT_EQ(hr.bottom - hr.top, header);
    const int top = header + 2 * row;   // item 2
    ExpectRect(ItemRectOf(list, 2, LVIR_BOUNDS), RECT{0, top, 240, top + row}, "bounds: the whole row");
    ExpectRect(ItemRectOf(list, 2, LVIR_ICON), RECT{0, top, 0, top + row}, "icon: no small images");
    ExpectRect(ItemRectOf(list, 2, LVIR_LABEL), RECT{0, top, 100, top + row}, "label: the first column");
    ExpectRect(ItemRectOf(list, 2, LVIR_SELECTBOUNDS), RECT{0, top, 100, top + row}, "select bounds");
    ExpectRect(SubItemRectOf(list, 2, 1, LVIR_LABEL), RECT{100, top, 180, top + row}, "sub-item 1");
    ExpectRect(SubItemRectOf(list, 2, 2, LVIR_BOUNDS), RECT{180, top, 240, top + row}, "sub-item 2");
    EXPECT_EQ(SubItemRectOf(list, 2, 3, LVIR_BOUNDS).left, -1) << "no such column";
    EXPECT_EQ(ItemRectOf(list, 3, LVIR_BOUNDS).left, -1) << "no such item";
    EXPECT_EQ(ItemRectOf(list, 0, 7).left, -1) << "no such part";
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ExpectRect(ItemRectOf(list, 2, LVIR_SELECTBOUNDS), RECT{0, top, 240, top + row}, "full-row select bounds");
    // Grid lines add a pixel to each row.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    EXPECT_EQ(ItemRectOf(list, 1, LVIR_BOUNDS).top, header + (row + 1));
    // Column order moves the sub-items, not the data.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0);
    int order[] = {2, 0, 1};
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    ExpectRect(ItemRectOf(list, 2, LVIR_LABEL), RECT{60, top, 160, top + row}, "label after the moved column");
    ExpectRect(SubItemRectOf(list, 2, 2, LVIR_BOUNDS), RECT{0, top, 60, top + row}, "moved column");
    // An order given to the header itself counts too.
    int headerOrder[] = {1, 2, 0};
    HWND headerWnd = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(SendMessageW(headerWnd, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(headerOrder)));
    ExpectRect(ItemRectOf(list, 2, LVIR_LABEL), RECT{140, top, 240, top + row}, "label after the header's order");
    DestroyWindow(list);
}

TEST_F(ListGeometry, ReportImagesIndentAndHeaderlessReports)
{
    HWND list = MakeList(LVS_REPORT | LVS_NOCOLUMNHEADER, 300, 200);
    HIMAGELIST small = MakeImages(16, 24, 2), state = MakeImages(12, 12, 2);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(state));
    AddColumn(list, 0, L"Name", 120);
    AddItems(list, {L"a", L"b"});
    LVITEMW item{};
    item.mask = LVIF_INDENT | LVIF_STATE;
    item.iItem = 1;
    item.iIndent = 2;
    item.state = INDEXTOSTATEIMAGEMASK(1);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const int row = std::max({h, 24, 12}) + 2;   // no header: rows start at 0
    // Item 1: indent 2 x 16, then the 12-pixel state image, then the 16-pixel icon.
    ExpectRect(ItemRectOf(list, 1, LVIR_ICON), RECT{32 + 12, row, 32 + 12 + 16, 2 * row}, "icon");
    ExpectRect(ItemRectOf(list, 1, LVIR_LABEL), RECT{60, row, 120, 2 * row}, "label");
    ExpectRect(ItemRectOf(list, 1, LVIR_SELECTBOUNDS), RECT{44, row, 120, 2 * row}, "select: icon and label");
    struct Hit {
        const char* name;
        POINT pt;
        int item;
        UINT flags;
    };
    const Hit hits[] = {
        {"state image", {32 + 5, row + 3}, 1, LVHT_ONITEMSTATEICON},
        {"icon", {44 + 5, row + 3}, 1, LVHT_ONITEMICON},
        {"label", {100, row + 3}, 1, LVHT_ONITEMLABEL},
        {"indent", {10, row + 3}, -1, LVHT_NOWHERE},
        {"past the column", {200, row + 3}, -1, LVHT_NOWHERE},
        {"below the items", {50, 2 * row + 1}, -1, LVHT_NOWHERE},
        {"left of the control", {-5, 10}, -1, LVHT_TOLEFT},
        {"below and right of it", {305, 250}, -1, LVHT_BELOW | LVHT_TORIGHT},
    };
    for (const Hit& t : hits) {
        LVHITTESTINFO info{};
        info.pt = t.pt;
        EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), t.item) << t.name;
        EXPECT_EQ(info.flags, t.flags) << t.name;
        EXPECT_EQ(info.iItem, t.item) << t.name;
    }
    DestroyWindow(list);
}

TEST_F(ListGeometry, SubItemHitTestingAndFullRows)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"Size", 80);
    AddItems(list, {L"a", L"b"});
    const int y = (h + 6) + (h + 2) + 3; // inside row 1
    struct Hit {
        const char* name;
        UINT msg;
        DWORD ex;
        int x;
        int item, subItem;
        UINT flags;
    };
    const Hit hits[] = {
        {"label", LVM_HITTEST, 0, 50, 1, 0, LVHT_ONITEMLABEL},
        {"second column", LVM_HITTEST, 0, 150, -1, 0, LVHT_NOWHERE},
        {"second column, full row", LVM_HITTEST, LVS_EX_FULLROWSELECT, 150, 1, 0, LVHT_ONITEMLABEL},
        {"sub-item", LVM_SUBITEMHITTEST, 0, 150, 1, 1, LVHT_ONITEMLABEL},
        {"sub-item in the first column", LVM_SUBITEMHITTEST, 0, 50, 1, 0, LVHT_ONITEMLABEL},
        {"past the columns", LVM_SUBITEMHITTEST, 0, 250, -1, 0, LVHT_NOWHERE},
        {"on the header", LVM_SUBITEMHITTEST, 0, 50, -1, 0, LVHT_NOWHERE},
    };
    for (const Hit& t : hits) {
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, t.ex);
        LVHITTESTINFO info{};
        info.pt = POINT{t.x, std::string(t.name) == "on the header" ? 3 : y};
        EXPECT_EQ(SendMessageW(list, t.msg, 0, reinterpret_cast<LPARAM>(&info)), t.item) << t.name;
        EXPECT_EQ(info.iSubItem, t.subItem) << t.name;
        EXPECT_EQ(info.flags, t.flags) << t.name;
    }
    DestroyWindow(list);
}

TEST_F(ListGeometry, ReportScrollingByRowsAndPixels)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 200);
    AddColumn(list, 1, L"Size", 250);
    std::vector<std::wstring> texts(40, L"x");
    AddItems(list, texts);
    const int header = h + 6, row = h + 2;
    RECT client{};
    GetClientRect(list, &client);
    const int page = (client.bottom - header) / row;
    EXPECT_EQ(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), page);
    struct Step {
        const char* name;
        int dx, dy;
        int top, left;   // top index and the first column's left edge afterwards
    };
    const int maxLeft = -(450 - client.right);
    const Step steps[] = {
        {"two rows and a bit", 0, 2 * row + 1, 2, 0},
        {"nearly three rows rounds up", 0, 3 * row - 1, 5, 0},
        {"back up", 0, -2 * row, 3, 0},
        {"past the top", 0, -100 * row, 0, 0},
        {"past the bottom", 0, 100 * row, 40 - page, 0},
        {"sideways", 30, 0, 40 - page, -30},
        {"sideways past the end", 1000, 0, 40 - page, maxLeft},
        {"sideways past the start", -1000, 0, 40 - page, 0},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(SendMessageW(list, LVM_SCROLL, static_cast<WPARAM>(s.dx), s.dy)) << s.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), s.top) << s.name;
        const RECT first = ItemRectOf(list, s.top, LVIR_BOUNDS);
        EXPECT_EQ(first.top, header) << s.name;
        EXPECT_EQ(first.left, s.left) << s.name;
    }
    // The scroll bars say the same.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 39);
    EXPECT_EQ(si.nPage, static_cast<UINT>(page));
    EXPECT_EQ(si.nPos, 40 - page);
    // Ensuring visibility scrolls only as far as needed.
    EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 3, FALSE));
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 3);
    EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 3 + page, FALSE));
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 4);
    EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 40, FALSE));
    // The wheel: three rows a notch.
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 7);
    // The scroll bar's own messages: a row, a page, the thumb, the ends.
    struct Bar {
        WPARAM wp;
        int top;
    };
    const Bar bars[] = {
        {SB_LINEDOWN, 8},
        {SB_PAGEDOWN, 8 + page},
        {SB_LINEUP, 7 + page},
        {MAKEWPARAM(SB_THUMBPOSITION, 12), 12},
        {SB_TOP, 0},
        {SB_BOTTOM, 40 - page},
        {SB_PAGEUP, 40 - 2 * page},
    };
    for (const Bar& b : bars) {
        SendMessageW(list, WM_VSCROLL, b.wp, 0);
        EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), b.top) << "code " << LOWORD(b.wp);
    }
    DestroyWindow(list);
}

TEST_F(ListGeometry, ListViewColumns)
{
    HWND list = MakeList(LVS_LIST, 300, 100);
    AddItems(list, {L"a", L"bbbbbb", L"cc", L"d", L"e", L"f", L"g", L"h", L"i", L"j"});
    const int row = h + 2;
    const int rows = 100 / row;
    const int cell = IconTitleTextWidth(L"bbbbbb") + 4;
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), cell);
    for (int k : {0, 1, rows - 1, rows, 9}) {
        const RECT rc = ItemRectOf(list, k, LVIR_BOUNDS);
        EXPECT_EQ(rc.left, (k / rows) * cell) << "item " << k;
        EXPECT_EQ(rc.top, (k % rows) * row) << "item " << k;
    }
    ExpectRect(ItemRectOf(list, 1, LVIR_LABEL), RECT{0, row, cell, 2 * row}, "the widest label fills its column");
    const int narrow = cell / 2;
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(narrow, 0)));
    EXPECT_EQ(ItemRectOf(list, rows, LVIR_BOUNDS).left, narrow);
    EXPECT_EQ(ItemRectOf(list, 1, LVIR_LABEL).right, narrow) << "labels are cut at the column";
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 1, LVNI_TORIGHT), 1 + rows);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 1, LVNI_TOLEFT), -1);
    DestroyWindow(list);
}

TEST_F(ListGeometry, IconCellsLabelsAndPositions)
{
    HWND list = MakeList(LVS_ICON, 300, 200);
    AddItems(list, {L"Ab", L"b", L"c", L"d", L"e", L"f"});
    // No normal image list: images count as SM_CXICON x SM_CYICON (32 x 32).
    const int cx = std::max(GetSystemMetrics(SM_CXICONSPACING), 32 + 4);
    const int cy = std::max(GetSystemMetrics(SM_CYICONSPACING), 32 + 2 * h + 8);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSPACING, FALSE, 0), MAKELONG(cx, cy));
    const int perRow = 300 / cx;
    for (int k = 0; k < 6; ++k) {
        POINT p{};
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMPOSITION, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&p)));
        EXPECT_EQ(p.x, (k % perRow) * cx) << "item " << k;
        EXPECT_EQ(p.y, (k / perRow) * cy) << "item " << k;
    }
    const int tw = IconTitleTextWidth(L"Ab");
    const RECT icon{0, 0, cx, 32 + 4};
    ExpectRect(ItemRectOf(list, 0, LVIR_ICON), icon, "icon box");
    const int labelLeft = (cx - (tw + 4)) / 2;
    const RECT label{labelLeft, 36, labelLeft + tw + 4, 36 + h + 2};
    ExpectRect(ItemRectOf(list, 0, LVIR_LABEL), label, "one-line label");
    ExpectRect(ItemRectOf(list, 0, LVIR_BOUNDS), RECT{0, 0, cx, 36 + h + 2}, "bounds");
    // Long texts wrap to at most two lines within the cell.
    LVITEMW set{};
    set.pszText = const_cast<LPWSTR>(L"several words that wrap over more lines than two");
    SendMessageW(list, LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&set));
    const RECT wrapped = ItemRectOf(list, 1, LVIR_LABEL);
    EXPECT_EQ(wrapped.bottom - wrapped.top, 2 * h + 2);
    EXPECT_LE(wrapped.right - wrapped.left, cx);
    EXPECT_GE(wrapped.left, cx);
    // Without wrapping the label is one line as wide as its text, centred on the cell.
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_NOLABELWRAP);
    const int longWidth = IconTitleTextWidth(L"several words that wrap over more lines than two") + 4;
    const RECT line = ItemRectOf(list, 1, LVIR_LABEL);
    EXPECT_EQ(line.bottom - line.top, h + 2);
    EXPECT_EQ(line.right - line.left, longWidth);
    EXPECT_EQ(line.left, cx + (cx - longWidth) / 2);
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) & ~static_cast<LONG>(LVS_NOLABELWRAP));
    // Hit testing: icon box, label, and the cell around them.
    struct Hit {
        const char* name;
        POINT pt;
        int item;
        UINT flags;
    };
    const Hit hits[] = {
        {"icon box", {cx / 2, 10}, 0, LVHT_ONITEMICON},
        {"label", {cx / 2, 36 + 2}, 0, LVHT_ONITEMLABEL},
        {"beside the label", {1, 36 + 2}, -1, LVHT_NOWHERE},
        {"second row", {cx + cx / 2, cy + 5}, perRow + 1, LVHT_ONITEMICON},
    };
    for (const Hit& t : hits) {
        LVHITTESTINFO info{};
        info.pt = t.pt;
        EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), t.item) << t.name;
        EXPECT_EQ(info.flags, t.flags) << t.name;
    }
    // Neighbours by geometry: straight ahead wins over a diagonal (perRow is 4: items 4
    // and 5 sit under items 0 and 1).
    ASSERT_EQ(perRow, 4);
    struct Next {
        int from;
        UINT flags;
        int expected;
    };
    const Next next[] = {
        {1, LVNI_BELOW, 5}, {3, LVNI_BELOW, 5}, {5, LVNI_ABOVE, 1}, {3, LVNI_TORIGHT, -1}, {2, LVNI_TOLEFT, 1},
        {4, LVNI_TOLEFT, -1}, {0, LVNI_ABOVE, -1},
    };
    for (const Next& n : next)
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(n.from), n.flags), n.expected)
            << n.from << " " << n.flags;
    // Placing, spacing and arranging.
    POINT placed{200, 120};
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMPOSITION32, 1, reinterpret_cast<LPARAM>(&placed)));
    POINT p{};
    SendMessageW(list, LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&p));
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 120);
    EXPECT_EQ(ItemRectOf(list, 1, LVIR_ICON).left, 200);
    EXPECT_EQ(SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(100, 90)), MAKELONG(cx, cy));
    EXPECT_LE(ItemRectOf(list, 1, LVIR_LABEL).right - ItemRectOf(list, 1, LVIR_LABEL).left, 100)
        << "labels wrap to the new spacing";
    // The first two words fit the new width (96 pixels inside the label), so the label is
    // at least as wide as they are.
    const int twoWords = IconTitleTextWidth(L"several words");
    if (twoWords <= 96) {
        EXPECT_GE(ItemRectOf(list, 1, LVIR_LABEL).right - ItemRectOf(list, 1, LVIR_LABEL).left, twoWords + 4)
            << "and use its width";
    }
    SendMessageW(list, LVM_GETITEMPOSITION, 4, reinterpret_cast<LPARAM>(&p));
    EXPECT_EQ(p.x, 100) << "three cells of 100 to a row: item 4 is second in row two";
    EXPECT_EQ(p.y, 90);
    ASSERT_TRUE(SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0));
    SendMessageW(list, LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&p));
    EXPECT_EQ(p.x, 100) << "arranging puts the placed item back in its cell";
    EXPECT_EQ(p.y, 0);
    // Aligned to the left the cells fill columns.
    ASSERT_TRUE(SendMessageW(list, LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_ALIGNLEFT);
    SendMessageW(list, LVM_GETITEMPOSITION, 3, reinterpret_cast<LPARAM>(&p));
    EXPECT_EQ(p.x, (3 / (200 / 90)) * 100);
    EXPECT_EQ(p.y, (3 % (200 / 90)) * 90);
    // The origin moves with scrolling; positions stay in view coordinates. Ten items in
    // columns of two make five columns of 100: wider than the client.
    AddItems(list, {L"g", L"h", L"i", L"j"});
    POINT origin{};
    EXPECT_TRUE(SendMessageW(list, LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin)));
    EXPECT_EQ(origin.x, 0);
    SendMessageW(list, LVM_SCROLL, 40, 0);
    SendMessageW(list, LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin));
    EXPECT_EQ(origin.x, 40);
    EXPECT_EQ(ItemRectOf(list, 0, LVIR_ICON).left, -40);
    SendMessageW(list, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&p));
    EXPECT_EQ(p.x, 0);
    DestroyWindow(list);
}

TEST_F(ListGeometry, SwitchingViewsAndFailingQueries)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddItems(list, {L"a", L"b"});
    POINT origin{9, 9};
    EXPECT_FALSE(SendMessageW(list, LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin))) << "no origin in a report";
    EXPECT_EQ(origin.x, 0);
    RECT view{};
    EXPECT_FALSE(SendMessageW(list, LVM_GETVIEWRECT, 0, reinterpret_cast<LPARAM>(&view)));
    EXPECT_FALSE(SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0));
    POINT somewhere{5, 5};
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMPOSITION32, 0, reinterpret_cast<LPARAM>(&somewhere)));
    EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0))));
    EXPECT_EQ(SendMessageW(list, LVM_SETVIEW, LV_VIEW_SMALLICON, 0), 1);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG>(LVS_SMALLICON));
    EXPECT_EQ(SendMessageW(list, LVM_GETVIEW, 0, 0), LV_VIEW_SMALLICON);
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)))) << "only reports show it";
    // Small-icon cells: as wide as the widest item, a row high, in rows.
    const int cell = IconTitleTextWidth(L"a") + 4;
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSPACING, TRUE, 0), MAKELONG(cell, h + 2));
    EXPECT_EQ(ItemRectOf(list, 1, LVIR_BOUNDS).left, cell);
    EXPECT_TRUE(SendMessageW(list, LVM_GETVIEWRECT, 0, reinterpret_cast<LPARAM>(&view)));
    ExpectRect(view, RECT{0, 0, 2 * cell, h + 2}, "view rectangle");
    EXPECT_EQ(SendMessageW(list, LVM_SETVIEW, 9, 0), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"Width")),
        IconTitleTextWidth(L"Width"));
    EXPECT_EQ(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, 0), 0);
    // With LVS_AUTOARRANGE every item keeps to its cell.
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_AUTOARRANGE);
    POINT away{150, 100};
    SendMessageW(list, LVM_SETITEMPOSITION32, 1, reinterpret_cast<LPARAM>(&away));
    EXPECT_EQ(ItemRectOf(list, 1, LVIR_BOUNDS).left, cell);
    DestroyWindow(list);
}

} // namespace
} // namespace zyn::test
