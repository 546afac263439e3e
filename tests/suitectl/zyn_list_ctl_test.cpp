// CZynListCtl: the selection message and its place among the list's notifications (click,
// keys, SelectItem), the free function once per row however rows go, owner drawing only
// of the rows in view (also when LVS_OWNERDRAWFIXED comes after creation), shortened
// texts, image strips, column sizes and the colours rows paint with.
#include <algorithm>
#include <memory>

#include "platform/afx/gdi/dc.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "tests/suitectl/suitectl_test_ids.h"
#include "tests/suitectl/suitectl_test_support.h"

namespace zyn::test {

BEGIN_MESSAGE_MAP(RecordingParent, CWnd)
    ON_MESSAGE(WM_ZYN_LISTITEMCHANGED, &RecordingParent::OnRowSelected)
END_MESSAGE_MAP()

namespace {

constexpr UINT kListId = 42;

// Row data that knows when it is freed.
class Counted : public CObject {
public:
    explicit Counted(int id) : m_id(id) { ++alive; }
    ~Counted() override
    {
        --alive;
        freed.push_back(m_id);
    }
    int m_id;
    static inline int alive = 0;
    static inline std::vector<int> freed;
};

// A list whose owner-drawn rows are counted, measured by itself at 20 pixels.
class CountingList : public CZynListCtl {
public:
    std::vector<UINT> drawn;
    int measured = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.push_back(lpDIS->itemID); }
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
    {
        ++measured;
        lpMIS->itemHeight = 20;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingList, CZynListCtl)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

class ZynListTest : public SuiteCtlTest {
protected:
    void SetUp() override
    {
        SuiteCtlTest::SetUp();
        m_parent.listId = kListId;
        Counted::alive = 0;
        Counted::freed.clear();
    }
    void TearDown() override
    {
        SuiteCtlTest::TearDown();
        EXPECT_EQ(Counted::alive, 0) << "row data left alive";
    }
    void MakeList(CZynListCtl& list, DWORD style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, int rows = 4)
    {
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 310, 210), &m_parent, kListId));
        list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120);
        list.InsertColumn(1, L"Value", LVCFMT_LEFT, 100);
        for (int i = 0; i < rows; ++i)
            list.ZynInsertItem(-1, (L"row " + std::to_wstring(i)).c_str(), I_IMAGENONE, 0);
        m_parent.heard.clear();
    }
    // The centre of a row's label, in the list's client coordinates.
    static CPoint RowPoint(CListCtrl& list, int row)
    {
        CRect r;
        list.GetItemRect(row, r, LVIR_LABEL);
        return r.CenterPoint();
    }
    std::vector<std::string> SelectionTalk() const
    {
        std::vector<std::string> out;
        for (const auto& h : m_parent.heard)
            if (h.rfind("N:chang", 0) == 0 || h.rfind("S:", 0) == 0)
                out.push_back(h);
        return out;
    }
};

using Talk = std::vector<std::string>;

TEST_F(ZynListTest, ClicksKeysAndSelectItemTellTheParentTheRow)
{
    CZynListCtl list;
    MakeList(list);
    // The list tells its parent while it handles LVN_ITEMCHANGED, which the parent has
    // received and handed to the list (reflection) before.
    const CPoint row2 = RowPoint(list, 2);
    // A click selects first and moves the focus after, each a change of its own.
    Click(list.m_hWnd, row2.x, row2.y);
    EXPECT_EQ(SelectionTalk(), (Talk{"N:changing:2", "N:changed:2", "S:2", "N:changing:2", "N:changed:2"}));

    m_parent.heard.clear();
    const CPoint row0 = RowPoint(list, 0);
    Click(list.m_hWnd, row0.x, row0.y);
    EXPECT_EQ(SelectionTalk(), (Talk{"N:changing:2", "N:changed:2", "N:changing:0", "N:changed:0", "S:0", "N:changing:2",
                                   "N:changed:2", "N:changing:0", "N:changed:0"}))
        << "only the row that becomes selected is told";

    m_parent.heard.clear();
    user::InjectKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(m_parent.Only("S:"), (Talk{"S:1"}));

    m_parent.heard.clear();
    EXPECT_TRUE(list.SelectItem(3, TRUE));
    EXPECT_TRUE(list.SelectItem(3, TRUE));
    EXPECT_EQ(m_parent.Only("S:"), (Talk{"S:3", "S:3"})) << "told again for a row selected already";
    EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(list.GetSelectedCount(), 1u);

    m_parent.heard.clear();
    EXPECT_TRUE(list.SelectItem(-1, TRUE));
    EXPECT_EQ(m_parent.Only("S:"), (Talk{"S:-1"}));
    EXPECT_EQ(list.GetSelectedCount(), 0u);
    EXPECT_FALSE(list.SelectItem(4, TRUE)) << "no such row";
    EXPECT_FALSE(list.SelectItem(-1, FALSE));
    EXPECT_EQ(m_parent.Only("S:"), (Talk{"S:-1"}));
    list.DestroyWindow();
}

TEST_F(ZynListTest, MakeSelectionsVisibleScrollsTheFirstSelectedRowIntoView)
{
    CZynListCtl list;
    MakeList(list, LVS_REPORT | LVS_SHOWSELALWAYS, 1000);
    EXPECT_FALSE(list.MakeSelectionsVisible()) << "nothing selected";
    list.SetItemState(700, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(900, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_FALSE(list.IsItemVisible(700));
    EXPECT_TRUE(list.MakeSelectionsVisible());
    EXPECT_TRUE(list.IsItemVisible(700));
    list.DestroyWindow();
}

TEST_F(ZynListTest, FreeFunctionRunsOncePerRowHoweverRowsGo)
{
    {
        CZynListCtl list;
        MakeList(list, LVS_REPORT, 0);
        list.SetLparamFreeFunc(&ZynFreeCObject);
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(list.ZynInsertItem(-1, L"x", 0, reinterpret_cast<LPARAM>(new Counted(i))), i);
        ASSERT_EQ(list.ZynInsertItem(-1, L"no data", 0, 0), 5);
        // The parent reads the row's data while it is told of the deletion: still whole.
        m_parent.heard.clear();
        ASSERT_TRUE(list.DeleteItem(1));
        EXPECT_EQ(Counted::freed, (std::vector<int>{1}));
        EXPECT_EQ(m_parent.Only("N:delete"), (Talk{"N:delete:1"}));
        ASSERT_TRUE(list.DeleteAllItems());
        std::sort(Counted::freed.begin(), Counted::freed.end());
        EXPECT_EQ(Counted::freed, (std::vector<int>{0, 1, 2, 3, 4}));

        Counted::freed.clear();
        for (int i = 10; i < 13; ++i)
            list.ZynInsertItem(0, L"y", 0, reinterpret_cast<LPARAM>(new Counted(i)));
        list.DestroyWindow();
        std::sort(Counted::freed.begin(), Counted::freed.end());
        EXPECT_EQ(Counted::freed, (std::vector<int>{10, 11, 12})) << "rows going with the window";
        EXPECT_EQ(Counted::alive, 0);

        // A row that cannot be inserted frees its data at once.
        Counted::freed.clear();
        EXPECT_EQ(list.ZynInsertItem(-1, L"z", 0, reinterpret_cast<LPARAM>(new Counted(20))), -1) << "no window";
        EXPECT_EQ(Counted::freed, (std::vector<int>{20}));
    }
    {
        CZynListCtl list;
        MakeList(list, LVS_REPORT | LVS_OWNERDATA, 0);
        list.SetLparamFreeFunc(&ZynFreeCObject);
        Counted::freed.clear();
        EXPECT_EQ(list.ZynInsertItem(-1, L"z", 0, reinterpret_cast<LPARAM>(new Counted(21))), -1)
            << "a virtual list holds no rows";
        EXPECT_EQ(Counted::freed, (std::vector<int>{21}));
        list.DestroyWindow();
    }
    {
        // Without a free function the rows own nothing.
        CZynListCtl list;
        MakeList(list, LVS_REPORT, 0);
        Counted kept(30);
        list.ZynInsertItem(-1, L"k", 0, reinterpret_cast<LPARAM>(&kept));
        Counted::freed.clear();
        list.DestroyWindow();
        EXPECT_TRUE(Counted::freed.empty());
    }
}

TEST_F(ZynListTest, HundredThousandRowsAreFreedOnceEach)
{
    CZynListCtl list;
    MakeList(list, LVS_REPORT, 0);
    list.SetLparamFreeFunc(&ZynFreeCObject);
    constexpr int kRows = 100000;
    for (int i = 0; i < kRows; ++i)
        list.ZynInsertItem(-1, L"r", I_IMAGENONE, reinterpret_cast<LPARAM>(new Counted(i)));
    EXPECT_EQ(Counted::alive, kRows);
    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_EQ(Counted::freed.size(), static_cast<size_t>(kRows));
    list.DestroyWindow();
}

TEST_F(ZynListTest, OwnerDrawnAfterCreationDrawsOnlyTheRowsInView)
{
    CountingList list;
    MakeList(list, LVS_REPORT, 0);
    list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
    for (int i = 0; i < 1000; ++i)
        list.ZynInsertItem(-1, L"r", I_IMAGENONE, 0);
    list.Invalidate();
    list.UpdateWindow();
    EXPECT_EQ(list.measured, 1) << "asked once";
    CRect client, header;
    list.GetClientRect(client);
    list.GetHeaderCtrl()->GetWindowRect(header);
    // Rows of 20 pixels below the header; the last one may show in part.
    const int visible = (client.Height() - header.Height() + 19) / 20;
    std::vector<UINT> expect;
    for (int i = 0; i < visible; ++i)
        expect.push_back(static_cast<UINT>(i));
    EXPECT_EQ(list.drawn, expect);

    list.drawn.clear();
    list.EnsureVisible(600, FALSE);
    list.UpdateWindow();
    ASSERT_FALSE(list.drawn.empty());
    EXPECT_LE(list.drawn.size(), static_cast<size_t>(visible));
    for (UINT row : list.drawn)
        EXPECT_TRUE(list.IsItemVisible(static_cast<int>(row))) << row;
    EXPECT_TRUE(std::find(list.drawn.begin(), list.drawn.end(), 600u) != list.drawn.end());
    list.DestroyWindow();
}

TEST_F(ZynListTest, ShortStringsFitTheirColumn)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    CDC* dc = CDC::FromHandle(hdc);
    auto width = [&](const std::wstring& s) {
        SIZE size{};
        ::GetTextExtentPoint32W(hdc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::wstring text = L"[07/05/2008 09:00:00]";
    const int whole = width(text), dots = width(L"...");
    // The expected result by the rule, found by walking the prefixes.
    auto byRule = [&](int column, int offset) -> std::wstring {
        if (whole + offset <= column)
            return text;
        for (size_t n = text.size(); n-- > 0;)
            if (width(text.substr(0, n)) + dots + offset <= column)
                return n == 0 && dots + offset > column ? L"" : text.substr(0, n) + L"...";
        return L"";
    };
    const struct {
        int column, offset;
    } cases[] = {{whole + 4, 4}, {whole + 3, 4}, {whole / 2, 4}, {dots + 12, 12}, {dots + 11, 12}, {0, 0}, {1000, 12}};
    for (const auto& c : cases) {
        const CString got = CZynListCtl::MakeShortString(dc, text.c_str(), c.column, c.offset);
        EXPECT_EQ(std::wstring(got.GetString()), byRule(c.column, c.offset)) << c.column << "/" << c.offset;
        if (got != text.c_str() && !got.IsEmpty()) {
            EXPECT_LE(width(got.GetString()) + c.offset, c.column);
        }
    }
    EXPECT_EQ(CZynListCtl::MakeShortString(dc, L"", 10, 4), L"");
    EXPECT_EQ(CZynListCtl::MakeShortString(nullptr, L"abc", 1, 4), L"abc") << "no DC to measure with";
    CDC::DeleteTempMap();
    ::DeleteDC(hdc);
}

TEST_F(ZynListTest, ImageStripsColumnsAndColours)
{
    CZynListCtl list;
    MakeList(list);
    EXPECT_FALSE(list.ZynSetImageList(IDB_TEST_MISSING, 0));
    EXPECT_EQ(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL), 0);
    ASSERT_TRUE(list.ZynSetImageList(IDB_TEST_IMAGES, 0));
    auto small = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    ASSERT_NE(small, nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(small, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 15);
    EXPECT_EQ(ImageList_GetImageCount(small), 1);
    EXPECT_FALSE(list.ZynSetImageList(IDB_TEST_IMAGES, IDB_TEST_IMAGES)) << "a 16-pixel strip holds no 32-pixel image";
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)), small) << "kept";

    list.SetItemText(1, 0, L"a much longer first-column text than the heading");
    ASSERT_TRUE(list.ResizeColumn(0, FALSE));
    // The small image (16), the text and the label's padding of 2 on either side.
    const int text = list.GetStringWidth(L"a much longer first-column text than the heading");
    EXPECT_EQ(list.GetColumnWidth(0), 16 + text + 4);
    list.SetItemText(1, 0, L"row 1");
    ASSERT_TRUE(list.ResizeColumn(-1, TRUE, 0));
    CRect client;
    list.GetClientRect(client);
    EXPECT_EQ(list.GetColumnWidth(0) + list.GetColumnWidth(1), client.Width()) << "the last column fills the rest";
    ASSERT_TRUE(list.ResizeColumn(1, FALSE, 250));
    EXPECT_EQ(list.GetColumnWidth(1), 250);
    EXPECT_FALSE(list.ResizeColumn(2, TRUE));

    struct Case {
        const char* name;
        COLORREF text, back;
        bool enabled;
        COLORREF wantText, wantBack;
    } cases[] = {
        {"system", CLR_DEFAULT, CLR_DEFAULT, true, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)},
        {"own", RGB(1, 2, 3), RGB(250, 240, 230), true, RGB(1, 2, 3), RGB(250, 240, 230)},
        {"disabled", RGB(1, 2, 3), RGB(250, 240, 230), false, ::GetSysColor(COLOR_GRAYTEXT),
            ::GetSysColor(COLOR_BTNFACE)},
    };
    for (const auto& c : cases) {
        list.SetRowColors(c.text, c.back);
        list.EnableWindow(c.enabled);
        EXPECT_EQ(list.GetRowTextColor(), c.wantText) << c.name;
        EXPECT_EQ(list.GetRowBkColor(), c.wantBack) << c.name;
        if (c.enabled) {
            EXPECT_EQ(list.GetTextColor(), c.wantText) << c.name << ": the control paints alike";
        }
    }
    EXPECT_TRUE(list.IsHighlightLabelOnly());
    list.SetHighlightLabelOnly(FALSE);
    EXPECT_FALSE(list.IsHighlightLabelOnly());
    list.DestroyWindow();
}

} // namespace
} // namespace zyn::test
