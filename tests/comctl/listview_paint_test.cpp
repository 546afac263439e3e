// List-view painting: owner-drawn reports (measured once, only rows that show are drawn,
// nothing while redraw is off or the window is locked), the selection and focus pixels
// by geometry, images blended when selected, text placed by extent, grid lines, and
// custom draw's stages and answers.
#include <set>

#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

class ListPaint : public ListViewTest {
protected:
    void SetUp() override
    {
        ListViewTest::SetUp();
        h = IconTitleLineHeight();
    }
    static void Paint()
    {
        Pump();
        user::PaintPendingWindows();
        Pump();
    }
    static std::vector<int> DrawnItems()
    {
        std::vector<int> out;
        for (const Event& e : events) {
            if (e.msg == WM_DRAWITEM)
                out.push_back(e.item);
        }
        return out;
    }
    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> out;
        for (int i = first; i <= last; ++i)
            out.push_back(i);
        return out;
    }
    // A pixel of the list at a client point.
    static COLORREF At(HWND list, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(list, &p);
        return ScreenPixel(p.x, p.y);
    }
    // The horizontal extent [first, last] of pixels other than `back` in a client rectangle.
    static std::pair<int, int> InkColumns(HWND list, RECT rc, COLORREF back)
    {
        int first = INT32_MAX, last = -1;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (At(list, x, y) != back) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        return {first, last};
    }
    static COLORREF Inverted(COLORREF c) { return ~c & 0xFFFFFFu; }
    int h = 0;
};

TEST_F(ListPaint, OwnerDrawnReportsMeasureOnceAndDrawOnlyVisibleRows)
{
    onMeasureItem = [](MEASUREITEMSTRUCT* mis) { mis->itemHeight = 20; };
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDRAWFIXED, 300, 200);
    AddColumn(list, 0, L"Name", 150);
    AddColumn(list, 1, L"Status", 100);
    std::vector<std::wstring> texts(1000, L"row");
    AddItems(list, texts);
    LVITEMW st{};
    st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&st));
    SetFocus(list);
    events.clear();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    Paint();
    const int header = h + 6;
    RECT client{};
    GetClientRect(list, &client);
    const int last = (client.bottom - 1 - header) / 20; // partly shown rows are drawn too
    EXPECT_EQ(DrawnItems(), Range(0, last));
    const auto measured = Only({WM_MEASUREITEM});
    ASSERT_LE(measured.size(), 1u) << "asked once";
    for (const Event& e : events) {
        if (e.msg != WM_DRAWITEM)
            continue;
        EXPECT_EQ(e.code, ODT_LISTVIEW);
        EXPECT_EQ(e.rc.top, header + 20 * e.item) << "item " << e.item;
        EXPECT_EQ(e.rc.bottom, header + 20 * (e.item + 1)) << "item " << e.item;
        EXPECT_EQ(e.rc.left, 0);
        EXPECT_EQ(e.rc.right, 250);
        EXPECT_EQ(e.lParam, 100 + e.item);
        EXPECT_EQ(e.itemState, e.item == 3 ? UINT{ODS_SELECTED | ODS_FOCUS} : 0u) << "item " << e.item;
    }
    // Redrawing two items repaints those two rows.
    events.clear();
    SendMessageW(list, LVM_REDRAWITEMS, 5, 6);
    UpdateWindow(list);
    EXPECT_EQ(DrawnItems(), Range(5, 6));
    // Scrolling draws the rows that come into view, and only those.
    events.clear();
    SendMessageW(list, LVM_SCROLL, 0, 20 * 500);
    Paint();
    EXPECT_EQ(DrawnItems(), Range(500, 500 + last));
    EXPECT_TRUE(Only({WM_MEASUREITEM}).empty());
    DestroyWindow(list);
}

TEST_F(ListPaint, OwnerDrawSetAfterCreationAndDefaultRowHeight)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 150);
    std::vector<std::wstring> texts(100, L"row");
    AddItems(list, texts);
    Paint();
    EXPECT_TRUE(DrawnItems().empty());
    events.clear();
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_OWNERDRAWFIXED);
    Paint();
    const auto measured = Only({WM_MEASUREITEM});
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].code, ODT_LISTVIEW);
    EXPECT_EQ(measured[0].item, h + 2) << "offered the default row height";
    const int header = h + 6, row = h + 2;
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(DrawnItems(), Range(0, (client.bottom - 1 - header) / row));
    DestroyWindow(list);
}

TEST_F(ListPaint, NothingIsDrawnWhileRedrawIsOffOrTheWindowIsLocked)
{
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDRAWFIXED, 300, 200);
    AddColumn(list, 0, L"Name", 150);
    Paint();
    events.clear();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    std::vector<std::wstring> texts(50, L"row");
    AddItems(list, texts);
    Paint();
    EXPECT_TRUE(DrawnItems().empty()) << "redraw off";
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    Paint();
    EXPECT_FALSE(DrawnItems().empty());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    GetScrollInfo(list, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 49) << "the scroll bar caught up when redraw came back";
    events.clear();
    ASSERT_TRUE(LockWindowUpdate(list));
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    AddItems(list, texts);
    Paint();
    EXPECT_TRUE(DrawnItems().empty()) << "locked";
    LockWindowUpdate(nullptr);
    Paint();
    EXPECT_FALSE(DrawnItems().empty());
    DestroyWindow(list);
}

TEST_F(ListPaint, SelectionAndFocusPixels)
{
    struct Row {
        const char* name;
        DWORD style, ex;
        UINT state;
        bool focus;
        COLORREF label, secondColumn;
    };
    const COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT),
                   face = GetSysColor(COLOR_BTNFACE);
    const Row rows[] = {
        {"selected with focus", 0, 0, LVIS_SELECTED, true, highlight, window},
        {"full row", 0, LVS_EX_FULLROWSELECT, LVIS_SELECTED, true, highlight, highlight},
        {"without focus", 0, 0, LVIS_SELECTED, false, window, window},
        {"without focus, shown always", LVS_SHOWSELALWAYS, 0, LVIS_SELECTED, false, face, window},
        {"drop target", 0, 0, LVIS_DROPHILITED, false, highlight, window},
        {"not selected", 0, 0, 0, true, window, window},
    };
    const int header = h + 6, row = h + 2;
    for (const Row& r : rows) {
        HWND list = MakeList(LVS_REPORT | r.style, 300, 200);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, r.ex);
        AddColumn(list, 0, L"Name", 100);
        AddColumn(list, 1, L"More", 80);
        AddItems(list, {L"a", L"b", L"c"});
        LVITEMW st{};
        st.state = r.state;
        st.stateMask = LVIS_SELECTED | LVIS_DROPHILITED;
        SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));
        if (r.focus)
            SetFocus(list);
        else
            SetFocus(Host());
        Paint();
        const int mid = header + row + row / 2;
        EXPECT_EQ(At(list, 95, mid), r.label) << r.name << ": the label's right end";
        EXPECT_EQ(At(list, 150, mid), r.secondColumn) << r.name << ": the second column";
        EXPECT_EQ(At(list, 95, header + row / 2), window) << r.name << ": the row above";
        EXPECT_EQ(At(list, 250, mid), window) << r.name << ": past the columns";
        DestroyWindow(list);
    }
}

TEST_F(ListPaint, TheFocusRectangleDotsTheFocusedLabel)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddItems(list, {L"a", L"b"});
    LVITEMW st{};
    st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));
    SetFocus(list);
    Paint();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int top = (h + 6) + (h + 2);
    // The label is [0, top, 100, top + row]; the focus rectangle inverts every other pixel
    // of its edge, starting with its top-left corner.
    EXPECT_EQ(At(list, 0, top), Inverted(highlight));
    EXPECT_EQ(At(list, 1, top), highlight);
    EXPECT_EQ(At(list, 98, top), Inverted(highlight));
    EXPECT_EQ(At(list, 99, top + 1), Inverted(highlight)) << "right edge";
    EXPECT_EQ(At(list, 50, top + h / 2 + 1), highlight) << "inside: no dots";
    // Without the focus there is no rectangle.
    SetFocus(Host());
    Paint();
    EXPECT_EQ(At(list, 0, top), GetSysColor(COLOR_WINDOW));
    DestroyWindow(list);
}

TEST_F(ListPaint, TextSitsInsideItsColumnByAlignment)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"Size", 100, LVCFMT_RIGHT);
    AddColumn(list, 2, L"Kind", 90, LVCFMT_CENTER);
    AddItems(list, {L"name"});
    LVITEMW set{};
    set.iSubItem = 1;
    set.pszText = const_cast<LPWSTR>(L"1234");
    SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set));
    set.iSubItem = 2;
    set.pszText = const_cast<LPWSTR>(L"mid");
    SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set));
    Paint();
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const int top = h + 6, bottom = top + h + 2;
    const auto [l0, r0] = InkColumns(list, RECT{0, top, 100, bottom}, window);
    const int w0 = IconTitleTextWidth(L"name");
    EXPECT_GE(l0, 2) << "2 pixels in";
    EXPECT_LT(r0, 2 + w0);
    const auto [l1, r1] = InkColumns(list, RECT{100, top, 200, bottom}, window);
    const int w1 = IconTitleTextWidth(L"1234");
    EXPECT_GE(l1, 200 - 6 - w1) << "right-aligned 6 pixels in";
    EXPECT_LT(r1, 200 - 6);
    EXPECT_GT(r1, 200 - 6 - w1 / 2) << "against the right";
    const auto [l2, r2] = InkColumns(list, RECT{200, top, 290, bottom}, window);
    const int w2 = IconTitleTextWidth(L"mid");
    const int left2 = 206 + (90 - 12 - w2) / 2;
    EXPECT_GE(l2, left2 - 1) << "centred";
    EXPECT_LE(r2, left2 + w2);
    DestroyWindow(list);
}

TEST_F(ListPaint, ImagesBlendWithTheHighlightWhenSelected)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    const COLORREF green = RGB(0, 128, 0);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeImages(16, 16, 1, green)));
    AddColumn(list, 0, L"Name", 100);
    AddItems(list, {L"a", L"b"});
    LVITEMW st{};
    st.state = st.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));
    SetFocus(list);
    Paint();
    const int row = std::max(h, 16) + 2, top = h + 6;
    const int y0 = top + (row - 16) / 2 + 8;
    EXPECT_EQ(At(list, 8, y0), green) << "plain";
    // Blended by half with the highlight colour, channel by channel, rounded down.
    const COLORREF f = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF blended = RGB((GetRValue(green) + GetRValue(f)) / 2, (GetGValue(green) + GetGValue(f)) / 2,
        (GetBValue(green) + GetBValue(f)) / 2);
    EXPECT_EQ(At(list, 8, y0 + row), blended) << "selected";
    DestroyWindow(list);
}

TEST_F(ListPaint, GridLinesCloseRowsAndColumns)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"More", 80);
    AddItems(list, {L"a"});
    Paint();
    const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
    const int top = h + 6, row = h + 3;
    EXPECT_EQ(At(list, 50, top + row - 1), face) << "under the item";
    EXPECT_EQ(At(list, 50, top + 3 * row - 1), face) << "under empty rows too";
    EXPECT_EQ(At(list, 99, top + 2 * row + 3), face) << "the first column's edge";
    EXPECT_EQ(At(list, 179, top + 2), face) << "the second column's edge";
    EXPECT_EQ(At(list, 220, top + row - 1), window) << "past the columns";
    DestroyWindow(list);
}

TEST_F(ListPaint, CustomDrawStagesAndAnswers)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 100);
    AddColumn(list, 1, L"More", 80);
    std::vector<std::wstring> texts(100, L"x");
    AddItems(list, texts);
    const COLORREF green = RGB(0, 255, 0);
    onNotify = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code != NM_CUSTOMDRAW || hdr->hwndFrom != list)
            return 0;
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
        switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT:
            if (cd->nmcd.dwItemSpec == 0)
                return CDRF_SKIPDEFAULT;
            if (cd->nmcd.dwItemSpec == 2)
                cd->clrTextBk = green;
            if (cd->nmcd.dwItemSpec == 3)
                return CDRF_NOTIFYSUBITEMDRAW;
            return CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (cd->iSubItem == 1)
                cd->clrTextBk = green;
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
        }
    };
    LVITEMW st{};
    st.state = st.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
    SetFocus(list);
    events.clear();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    Paint();
    std::vector<std::pair<DWORD, int>> stages;
    for (const Event& e : events) {
        if (e.msg == WM_NOTIFY && e.code == NM_CUSTOMDRAW && e.from == list)
            stages.emplace_back(e.stage, (e.stage & CDDS_ITEM) ? e.item * 10 + e.subItem : -1);
    }
    const int header = h + 6, row = h + 2;
    RECT client{};
    GetClientRect(list, &client);
    const int last = (client.bottom - 1 - header) / row;
    std::vector<std::pair<DWORD, int>> expected{{CDDS_PREPAINT, -1}};
    for (int i = 0; i <= last; ++i) {
        expected.emplace_back(CDDS_ITEMPREPAINT, i * 10);
        if (i == 3) {
            expected.emplace_back(CDDS_ITEMPREPAINT | CDDS_SUBITEM, 30);
            expected.emplace_back(CDDS_ITEMPREPAINT | CDDS_SUBITEM, 31);
        }
    }
    expected.emplace_back(CDDS_POSTPAINT, -1);
    EXPECT_EQ(stages, expected) << "visible rows only";
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(At(list, 95, header + row / 2), window) << "item 0 skipped: no highlight though selected";
    EXPECT_EQ(At(list, 95, header + 2 * row + row / 2), green) << "item 2's label in its colour";
    EXPECT_EQ(At(list, 175, header + 3 * row + row / 2), green) << "item 3's second column";
    EXPECT_EQ(At(list, 95, header + 3 * row + row / 2), window) << "item 3's first column as usual";
    DestroyWindow(list);
}

} // namespace
} // namespace zyn::test
