// The tab control's items: insertion and deletion with the selection following its item,
// the item structure in both text forms, states, application bytes, images, and the
// class library's wrapper.
#include <cstring>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/tabctrl.h"
#include "platform/gdi/imagelist.h"
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

class TabItems : public TabUpDownTest {};

int CurSel(HWND tab) { return static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)); }
int Count(HWND tab) { return static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)); }

std::wstring TextOf(HWND tab, int i, int cch = 64)
{
    std::vector<wchar_t> buf(static_cast<size_t>(std::max(cch, 1)), L'#');
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf.data();
    item.cchTextMax = cch;
    EXPECT_TRUE(SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
    return buf.data();
}

TEST_F(TabItems, InsertClampsTheIndexAndTheSelectionStaysWithItsItem)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    EXPECT_EQ(CurSel(tab), -1);
    EXPECT_EQ(Insert(tab, 5, L"A"), 0) << "past the end appends";
    EXPECT_EQ(CurSel(tab), 0) << "the first item is selected";
    EXPECT_EQ(Insert(tab, 99, L"B"), 1);
    EXPECT_EQ(Insert(tab, -1, L"X"), -1) << "a negative index is refused";
    EXPECT_EQ(Count(tab), 2);
    SendMessageW(tab, TCM_SETCURSEL, 1, 0); // "B"
    EXPECT_EQ(Insert(tab, 0, L"C"), 0);
    EXPECT_EQ(CurSel(tab), 2);
    EXPECT_EQ(TextOf(tab, CurSel(tab)), L"B");
    EXPECT_EQ(Insert(tab, 3, L"D"), 3) << "after the selection";
    EXPECT_EQ(CurSel(tab), 2);
    EXPECT_TRUE(heard.empty()) << "inserting notifies nobody";
}

TEST_F(TabItems, DeleteMovesTheSelectionDownOrClearsIt)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    for (int i = 0; i < 4; ++i)
        Insert(tab, i, std::wstring(1, static_cast<wchar_t>(L'A' + i)));
    SendMessageW(tab, TCM_SETCURSEL, 2, 0);
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(CurSel(tab), 1) << "an item before the selection went";
    EXPECT_EQ(TextOf(tab, 1), L"C");
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 2, 0));
    EXPECT_EQ(CurSel(tab), 1) << "an item after it went";
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(CurSel(tab), -1) << "the selected item went";
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURFOCUS, 0, 0), -1);
    EXPECT_FALSE(SendMessageW(tab, TCM_DELETEITEM, 5, 0));
    EXPECT_FALSE(SendMessageW(tab, TCM_DELETEITEM, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(Count(tab), 1);
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(Count(tab), 0);
    EXPECT_EQ(CurSel(tab), -1);
    EXPECT_TRUE(heard.empty());
}

TEST_F(TabItems, SetCurSelIsSilentAndRefusesBadIndexes)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    Insert(tab, 0, L"A");
    Insert(tab, 1, L"B");
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, 1, 0), 0) << "the previous selection";
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURFOCUS, 0, 0), 1) << "the focus follows";
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, 2, 0), -1);
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
    EXPECT_EQ(CurSel(tab), 1) << "a refused index changes nothing";
    EXPECT_TRUE(heard.empty()) << "no TCN_SELCHANGING / TCN_SELCHANGE";
}

TEST_F(TabItems, ItemFieldsRoundTripInBothTextForms)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    Insert(tab, 0, L"Général");
    EXPECT_EQ(TextOf(tab, 0), L"Général");
    EXPECT_EQ(TextOf(tab, 0, 4), L"Gén") << "cut to the buffer, terminator included";
    EXPECT_EQ(TextOf(tab, 0, 1), L"");

    // The narrow form goes through the ANSI code page (1252: é is 0xE9).
    TCITEMA a{};
    char narrow[] = "Caf\xE9";
    a.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM | TCIF_STATE;
    a.pszText = narrow;
    a.iImage = 3;
    a.lParam = 0x1234;
    a.dwState = TCIS_HIGHLIGHTED;
    a.dwStateMask = TCIS_HIGHLIGHTED;
    EXPECT_EQ(SendMessageW(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&a)), 1);
    EXPECT_EQ(TextOf(tab, 1), L"Caf\u00E9");

    TCITEMW w{};
    w.mask = TCIF_IMAGE | TCIF_PARAM | TCIF_STATE;
    w.dwStateMask = TCIS_HIGHLIGHTED | TCIS_BUTTONPRESSED;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&w)));
    EXPECT_EQ(w.iImage, 3);
    EXPECT_EQ(w.lParam, 0x1234);
    EXPECT_EQ(w.dwState, TCIS_HIGHLIGHTED);

    // TCIF_STATE changes only the masked bits.
    TCITEMW set{};
    set.mask = TCIF_STATE;
    set.dwState = TCIS_BUTTONPRESSED;
    set.dwStateMask = TCIS_BUTTONPRESSED;
    ASSERT_TRUE(SendMessageW(tab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&set)));
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&w)));
    EXPECT_EQ(w.dwState, TCIS_HIGHLIGHTED | TCIS_BUTTONPRESSED);

    char back[8] = {};
    TCITEMA ga{};
    ga.mask = TCIF_TEXT;
    ga.pszText = back;
    ga.cchTextMax = 8;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&ga)));
    EXPECT_STREQ(back, "Caf\xE9");

    EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&w)));
    EXPECT_FALSE(SendMessageW(tab, TCM_SETITEMW, 0, 0)) << "no structure";
    // A callback marker is no text to read.
    TCITEMW cb{};
    cb.mask = TCIF_TEXT;
    cb.pszText = LPSTR_TEXTCALLBACKW;
    ASSERT_TRUE(SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&cb)));
    EXPECT_EQ(TextOf(tab, 0), L"");
}

TEST_F(TabItems, ExtraBytesReplaceTheLParam)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    struct Item {
        TCITEMHEADERW header;
        BYTE data[12];
    };
    static_assert(offsetof(Item, data) == kTcItemDataOffset);
    ASSERT_TRUE(SendMessageW(tab, TCM_SETITEMEXTRA, 12, 0));
    Item in{};
    in.header.mask = TCIF_TEXT | TCIF_PARAM;
    in.header.pszText = const_cast<LPWSTR>(L"A");
    for (int i = 0; i < 12; ++i)
        in.data[i] = static_cast<BYTE>(0xA0 + i);
    ASSERT_EQ(SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&in)), 0);
    EXPECT_FALSE(SendMessageW(tab, TCM_SETITEMEXTRA, 4, 0)) << "only while there are no items";

    Item out{};
    std::memset(out.data, 0x55, sizeof out.data);
    out.header.mask = TCIF_PARAM;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&out)));
    EXPECT_EQ(std::memcmp(out.data, in.data, 12), 0);

    SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0);
    EXPECT_FALSE(SendMessageW(tab, TCM_SETITEMEXTRA, static_cast<WPARAM>(-2), 0));
    EXPECT_FALSE(SendMessageW(tab, TCM_SETITEMEXTRA, 0x7FFFFFFF, 0)) << "no such structure exists";
    ASSERT_TRUE(SendMessageW(tab, TCM_SETITEMEXTRA, 0, 0));
    // No bytes at all: the caller's lParam is neither read nor written.
    TCITEMW w{};
    w.mask = TCIF_PARAM;
    w.lParam = 77;
    ASSERT_EQ(SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&w)), 0);
    w.lParam = 99;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&w)));
    EXPECT_EQ(w.lParam, 99);
}

TEST_F(TabItems, RemoveImageKeepsEveryTabOnItsPicture)
{
    HWND tab = MakeTab(0, 10, 10, 300, 200);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 4, 0);
    ImageList_SetImageCount(list, 4);
    EXPECT_EQ(SendMessageW(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tab, TCM_GETIMAGELIST, 0, 0)), list);
    const int images[] = {0, 1, 2, 3, -1};
    for (int i = 0; i < 5; ++i)
        Insert(tab, i, L"T", images[i]);
    SendMessageW(tab, TCM_REMOVEIMAGE, 1, 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    const int expected[] = {0, -1, 1, 2, -1};
    for (int i = 0; i < 5; ++i) {
        TCITEMW w{};
        w.mask = TCIF_IMAGE;
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&w));
        EXPECT_EQ(w.iImage, expected[i]) << "tab " << i;
    }
    DestroyWindow(tab);
    EXPECT_EQ(ImageList_GetImageCount(list), 3) << "the control does not own the list";
    ImageList_Destroy(list);
}

TEST_F(TabItems, HighlightDeselectAllAndExtendedStyles)
{
    HWND tab = MakeTab(TCS_BUTTONS | TCS_MULTISELECT, 10, 10, 300, 200);
    for (int i = 0; i < 3; ++i)
        Insert(tab, i, L"B");
    auto state = [&](int i) {
        TCITEMW w{};
        w.mask = TCIF_STATE;
        w.dwStateMask = ~DWORD(0);
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&w));
        return w.dwState;
    };
    EXPECT_TRUE(SendMessageW(tab, TCM_HIGHLIGHTITEM, 2, MAKELPARAM(TRUE, 0)));
    EXPECT_EQ(state(2), TCIS_HIGHLIGHTED);
    EXPECT_TRUE(SendMessageW(tab, TCM_HIGHLIGHTITEM, 2, MAKELPARAM(FALSE, 0)));
    EXPECT_EQ(state(2), 0u);
    EXPECT_FALSE(SendMessageW(tab, TCM_HIGHLIGHTITEM, 3, MAKELPARAM(TRUE, 0)));
    EXPECT_EQ(state(0), TCIS_BUTTONPRESSED) << "the selected button is pressed";

    TCITEMW press{};
    press.mask = TCIF_STATE;
    press.dwState = press.dwStateMask = TCIS_BUTTONPRESSED;
    SendMessageW(tab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&press));
    SendMessageW(tab, TCM_SETITEMW, 2, reinterpret_cast<LPARAM>(&press));
    SendMessageW(tab, TCM_SETCURFOCUS, 2, 0);
    SendMessageW(tab, TCM_DESELECTALL, TRUE, 0);
    EXPECT_EQ(state(1), 0u);
    EXPECT_EQ(state(2), TCIS_BUTTONPRESSED) << "the focus button is kept";
    SendMessageW(tab, TCM_DESELECTALL, FALSE, 0);
    EXPECT_EQ(state(2), 0u);
    EXPECT_EQ(CurSel(tab), -1);

    EXPECT_EQ(SendMessageW(tab, TCM_SETEXTENDEDSTYLE, 0, TCS_EX_FLATSEPARATORS | TCS_EX_REGISTERDROP), 0);
    EXPECT_EQ(SendMessageW(tab, TCM_SETEXTENDEDSTYLE, TCS_EX_REGISTERDROP, 0),
        static_cast<LRESULT>(TCS_EX_FLATSEPARATORS | TCS_EX_REGISTERDROP));
    EXPECT_EQ(SendMessageW(tab, TCM_GETEXTENDEDSTYLE, 0, 0), static_cast<LRESULT>(TCS_EX_FLATSEPARATORS))
        << "the mask limits the change";
}

TEST_F(TabItems, ClassLibraryWrapper)
{
    CWnd* owner = CWnd::FromHandle(parent);
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_VISIBLE | TCS_TOOLTIPS, CRect(10, 10, 310, 210), owner, 7));
    EXPECT_EQ(::GetDlgCtrlID(tabs.GetSafeHwnd()), 7);
    EXPECT_EQ(tabs.InsertItem(0, L"One"), 0);
    EXPECT_EQ(tabs.InsertItem(TCIF_TEXT | TCIF_PARAM | TCIF_STATE, 5, L"Two", 0, 42, TCIS_HIGHLIGHTED,
                  TCIS_HIGHLIGHTED),
        1);
    EXPECT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetItemState(1, TCIS_HIGHLIGHTED | TCIS_BUTTONPRESSED), TCIS_HIGHLIGHTED);
    EXPECT_TRUE(tabs.SetItemState(1, TCIS_HIGHLIGHTED, 0));
    EXPECT_EQ(tabs.GetItemState(1, TCIS_HIGHLIGHTED), 0u);
    TCITEM item{};
    item.mask = TCIF_PARAM;
    ASSERT_TRUE(tabs.GetItem(1, &item));
    EXPECT_EQ(item.lParam, 42);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    ASSERT_NE(tabs.GetToolTips(), nullptr) << "TCS_TOOLTIPS makes one";
    EXPECT_EQ(tabs.GetRowCount(), 1);

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 1));
    EXPECT_EQ(tabs.SetImageList(&images), nullptr);
    EXPECT_EQ(tabs.GetImageList()->GetSafeHandle(), images.GetSafeHandle());
    tabs.SetImageList(nullptr);

    const int h = FontHeight() + 2 * comctl::tabgeo::kDefaultPadY + comctl::tabgeo::kEdge;
    const CSize old = tabs.SetItemSize(CSize(80, 30));
    EXPECT_EQ(old.cy, h) << "the previous row height";
    RECT r{};
    ASSERT_TRUE(tabs.GetItemRect(0, &r));
    EXPECT_EQ(r.bottom - r.top, 30);
    RECT display{0, 0, 300, 200};
    tabs.AdjustRect(FALSE, &display);
    EXPECT_EQ(display.top, comctl::tabgeo::kMargin + 30 + comctl::tabgeo::kPaneInset);
    EXPECT_TRUE(tabs.DeleteItem(0));
    EXPECT_TRUE(tabs.DeleteAllItems());
    tabs.DestroyWindow();
}

} // namespace
} // namespace zyn::test
