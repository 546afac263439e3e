// The class library's list and header wrappers: every member goes through the control's
// messages (so a derived class that answers one is obeyed), whole texts of any length,
// item data, the selected-item walk, sorting, columns and the header, image lists handed
// back, and owner-drawn rows and header items reaching DrawItem through reflection.
#include <set>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/afx/listctrl.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/wnd_maps.h"
#include "platform/base/cstring.h"
#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

class AfxList : public ListViewTest {
protected:
    void SetUp() override
    {
        ListViewTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr,
            nullptr));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        CWnd::DeleteTempMap();
        afx::DeleteTempGdiObjects();
        EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects left attached";
        ListViewTest::TearDown();
    }
    CWnd m_parent;
};

// A list that lays out its items itself: it answers the geometry messages.
class CSelfLaidList : public CListCtrl {
public:
    std::vector<UINT> drawn;
    afx_msg LRESULT OnGetItemRect(WPARAM wp, LPARAM lp)
    {
        auto* rc = reinterpret_cast<RECT*>(lp);
        *rc = RECT{0, static_cast<int>(wp) * 40, 90, static_cast<int>(wp) * 40 + 40};
        return TRUE;
    }
    afx_msg LRESULT OnHitTest(WPARAM, LPARAM lp)
    {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
        info->iItem = info->pt.y / 40;
        info->flags = LVHT_ONITEMLABEL;
        return info->iItem;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { drawn.push_back(lpDrawItemStruct->itemID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfLaidList, CListCtrl)
    ON_MESSAGE(LVM_GETITEMRECT, &CSelfLaidList::OnGetItemRect)
    ON_MESSAGE(LVM_HITTEST, &CSelfLaidList::OnHitTest)
END_MESSAGE_MAP()

// A session list: owner-drawn rows of its own height.
class CTallRowList : public CListCtrl {
public:
    std::vector<UINT> drawn;
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = 25; }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { drawn.push_back(lpDrawItemStruct->itemID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTallRowList, CListCtrl)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

class COwnerHeader : public CHeaderCtrl {
public:
    std::vector<UINT> drawn;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { drawn.push_back(lpDrawItemStruct->itemID); }
};

int CompareData(LPARAM a, LPARAM b, LPARAM reverse)
{
    const int c = static_cast<int>(a) - static_cast<int>(b);
    return reverse ? -c : c;
}

TEST_F(AfxList, ItemsTextsDataAndSelection)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 310, 210), &m_parent, 5));
    EXPECT_EQ(list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(list.InsertColumn(1, L"Size"), 1);
    EXPECT_EQ(list.GetColumnWidth(1), 0) << "no width given";
    EXPECT_EQ(list.InsertItem(0, L"first"), 0);
    EXPECT_EQ(list.InsertItem(99, L"last", 2), 1) << "clamped to the end";
    EXPECT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_STATE, 1, L"middle", LVIS_SELECTED, LVIS_SELECTED, 0, 7),
        1);
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemData(1), 7u);
    ASSERT_TRUE(list.SetItemData(0, 0xBEEF));
    EXPECT_EQ(list.GetItemData(0), 0xBEEFu);
    // Texts of any length come back whole; the buffer form cuts.
    const std::wstring longText(700, L'z');
    ASSERT_TRUE(list.SetItemText(2, 1, longText.c_str()));
    EXPECT_EQ(std::wstring(list.GetItemText(2, 1).GetString()), longText);
    EXPECT_EQ(list.GetItemText(1, 0), CString(L"middle"));
    wchar_t small[4];
    EXPECT_EQ(list.GetItemText(1, 0, small, 4), 3);
    EXPECT_EQ(std::wstring(small), L"mid");
    EXPECT_TRUE(list.GetItemText(9, 0).IsEmpty());
    // The selected items, walked by position.
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> walked;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
        walked.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(walked, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.GetSelectedCount(), 3u);
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
    // Sorting by data, both ways; searching.
    ASSERT_TRUE(list.SetItemData(2, 3));
    ASSERT_TRUE(list.SortItems(&CompareData, 0));
    EXPECT_EQ(list.GetItemText(0, 0), CString(L"last"));
    EXPECT_EQ(list.GetItemText(1, 0), CString(L"middle"));
    EXPECT_EQ(list.GetItemText(2, 0), CString(L"first"));
    ASSERT_TRUE(list.SortItems(&CompareData, 1));
    EXPECT_EQ(list.GetItemText(0, 0), CString(L"first"));
    LVFINDINFO fi{};
    fi.flags = LVFI_STRING;
    fi.psz = L"LAST";
    EXPECT_EQ(list.FindItem(&fi), 2);
    // Columns and the header.
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetItemCount(), 2);
    ASSERT_TRUE(list.SetColumnWidth(0, LVSCW_AUTOSIZE));
    EXPECT_EQ(list.GetColumnWidth(0), IconTitleTextWidth(L"middle") + 4);
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_FALSE(list.DeleteItem(5));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    list.DestroyWindow();
}

TEST_F(AfxList, StylesColoursImageListsAndChecks)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, CRect(10, 10, 310, 210), &m_parent, 5));
    EXPECT_EQ(list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), 0u);
    EXPECT_EQ(list.SetExtendedStyle(0, LVS_EX_GRIDLINES), DWORD{LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES});
    EXPECT_EQ(list.GetExtendedStyle(), DWORD{LVS_EX_FULLROWSELECT}) << "only the masked bit changed";
    EXPECT_TRUE(list.SetBkColor(RGB(1, 2, 3)));
    EXPECT_EQ(list.GetBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(list.GetTextColor(), GetSysColor(COLOR_WINDOWTEXT));
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 1, 0));
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    CImageList* back = list.GetImageList(LVSIL_SMALL);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetSafeHandle(), images.GetSafeHandle());
    EXPECT_EQ(back, &images) << "the permanent wrapper";
    EXPECT_EQ(list.GetView(), DWORD{LV_VIEW_DETAILS});
    EXPECT_EQ(list.SetView(LV_VIEW_LIST), 1);
    EXPECT_EQ(list.GetStyle() & LVS_TYPEMASK, DWORD{LVS_LIST});
    list.SetView(LV_VIEW_DETAILS);
    // Check boxes are state images 1 and 2.
    list.SetExtendedStyle(LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    list.InsertItem(0, L"a");
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.SetCheck(0));
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_EQ(list.GetItemState(0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    list.DestroyWindow();
    EXPECT_NE(images.GetSafeHandle(), nullptr);
    EXPECT_GE(images.GetImageCount(), 0) << "shared: still alive after the control went";
}

TEST_F(AfxList, ADerivedListThatAnswersMessagesIsObeyed)
{
    CSelfLaidList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(10, 10, 310, 210), &m_parent, 6));
    list.InsertColumn(0, L"Name", LVCFMT_LEFT, 200);
    for (int i = 0; i < 50; ++i)
        list.InsertItem(i, L"row");
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(3, &rc, LVIR_BOUNDS));
    EXPECT_EQ(rc, CRect(0, 120, 90, 160)) << "the derived class's answer";
    UINT flags = 0;
    EXPECT_EQ(list.HitTest(CPoint(5, 85), &flags), 2);
    EXPECT_EQ(flags, UINT{LVHT_ONITEMLABEL});
    // Owner-drawn rows reach DrawItem through the parent's reflection, the ones shown only.
    list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(list.drawn.empty());
    EXPECT_EQ(list.drawn.front(), 0u);
    EXPECT_LT(list.drawn.size(), 50u);
    list.DestroyWindow();
}

TEST_F(AfxList, OwnerDrawnRowsMeasuredByTheListItself)
{
    CTallRowList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
        CRect(10, 10, 310, 210), &m_parent, 7));
    list.InsertColumn(0, L"Session", LVCFMT_LEFT, 200);
    for (int i = 0; i < 20; ++i)
        list.InsertItem(i, L"session");
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(3, &rc, LVIR_BOUNDS));
    EXPECT_EQ(rc.top, 75) << "rows of the height its reflected WM_MEASUREITEM gave";
    EXPECT_EQ(rc.Height(), 25);
    list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // 200 pixels of client: rows 0 to 7 show (row 7 in part).
    std::vector<UINT> expected;
    for (UINT i = 0; i < 8; ++i)
        expected.push_back(i);
    EXPECT_EQ(list.drawn, expected);
    list.DestroyWindow();
}

TEST_F(AfxList, HeaderWrapperAndOwnerDrawnHeaderItems)
{
    COwnerHeader header;
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 300, 24), &m_parent, 9));
    HDITEM item{};
    item.mask = HDI_WIDTH | HDI_FORMAT;
    item.cxy = 100;
    item.fmt = HDF_OWNERDRAW;
    EXPECT_EQ(header.InsertItem(0, &item), 0);
    item.fmt = HDF_STRING;
    item.mask |= HDI_TEXT;
    item.pszText = const_cast<LPWSTR>(L"Plain");
    EXPECT_EQ(header.InsertItem(1, &item), 1);
    EXPECT_EQ(header.GetItemCount(), 2);
    CRect rc;
    ASSERT_TRUE(header.GetItemRect(1, &rc));
    EXPECT_EQ(rc.left, 100);
    HDHITTESTINFO hit{};
    hit.pt = CPoint(150, 5);
    EXPECT_EQ(header.HitTest(&hit), 1);
    int order[2] = {1, 0};
    ASSERT_TRUE(header.SetOrderArray(2, order));
    EXPECT_EQ(header.OrderToIndex(0), 1);
    int back[2] = {};
    ASSERT_TRUE(header.GetOrderArray(back));
    EXPECT_EQ(back[0], 1);
    header.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(header.drawn, (std::vector<UINT>{0})) << "only the owner-drawn item";
    header.DestroyWindow();
}

} // namespace
} // namespace zyn::test
