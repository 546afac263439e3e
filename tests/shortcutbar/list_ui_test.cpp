// The shortcut bar's list control on its own terms: where items lie (tops 2, 30, 58 in
// small icons), the rectangles of each code, hit flags, finding by position, making items
// visible, scrolling by the scroll buttons and their timer, index fix-ups as items come
// and go, sorting by text, and the standalone list's style.
#include <string>
#include <vector>

#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"

namespace shbtest {
namespace {

using zyn::user::InjectMouseButton;
using zyn::user::MouseButton;

class ListTest : public BarTest {
protected:
    // One expanded group in small icons with 16-pixel images and n one-line items, in a
    // bar of the given height (the list is 190 wide and height - 28 high).
    COXSHBListCtrl* MakeList(int items, int barHeight = 300, DWORD style = 0)
    {
        MakeBar(style, 200, barHeight);
        group = AddGroups({L"G"})[0];
        bar->SetGroupView(group, SHB_SMALLICON);
        imageLists.push_back(std::make_unique<CImageList>());
        imageLists.back()->Attach(SolidImages(16, 16, {RGB(200, 0, 0)}));
        bar->SetLCImageList(group, imageLists.back().get(), LVSIL_SMALL);
        bar->ExpandGroup(group);
        for (int i = 0; i < items; ++i)
            bar->InsertLCItem(group, i, (L"Item " + std::to_wstring(i)).c_str(), 0);
        Pump();
        COXSHBListCtrl* list = bar->GetGroupListCtrl(group);
        // The text's line height in the group's text font, measured apart from the list.
        HDC dc = GetDC(nullptr);
        HFONT font = CreateFontIndirectW(bar->GetGroupTextFont(group));
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SIZE extent{};
        GetTextExtentPoint32W(dc, L"Item 1", 6, &extent);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        lineHeight = tm.tmHeight;
        textWidth = extent.cx;
        return list;
    }
    HSHBGROUP group = nullptr;
    int lineHeight = 0;
    int textWidth = 0;
};

TEST_F(ListTest, SmallIconItemsLieAtTwoThirtyAndFiftyEight)
{
    COXSHBListCtrl* list = MakeList(3);
    ASSERT_LE(lineHeight + 4, 22) << "the premise: one line is lower than the image";
    CRect client;
    list->GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 190, 272));
    const int textTop = (22 - (lineHeight + 4)) / 2;
    for (int i = 0; i < 3; ++i) {
        const int top = 2 + 28 * i;
        CRect r;
        ASSERT_TRUE(list->GetItemRect(i, &r, SHBLC_ENTIREITEM));
        EXPECT_EQ(r, CRect(0, top, 190, top + 22)) << i;
        ASSERT_TRUE(list->GetItemRect(i, &r, LVIR_ICON));
        EXPECT_EQ(r, CRect(0, top, 22, top + 22)) << i;
        ASSERT_TRUE(list->GetItemRect(i, &r, LVIR_LABEL));
        EXPECT_EQ(r, CRect(22, top + textTop, 22 + textWidth + 4, top + textTop + lineHeight + 4)) << i;
        ASSERT_TRUE(list->GetItemRect(i, &r, LVIR_BOUNDS));
        EXPECT_EQ(r, CRect(0, top, 22 + textWidth + 4, top + 22)) << i;
        POINT p{};
        ASSERT_TRUE(list->GetItemPosition(i, &p));
        EXPECT_EQ(CPoint(p), CPoint(0, top));
    }
    CRect r(1, 2, 3, 4);
    EXPECT_FALSE(list->GetItemRect(0, &r, 7)) << "an unknown code";
    EXPECT_FALSE(list->GetItemRect(3, &r, LVIR_BOUNDS));
    EXPECT_FALSE(list->GetItemRect(-1, &r, LVIR_BOUNDS));
    // Asked through the list view's own message, as any CListCtrl caller does.
    RECT viaMessage{};
    viaMessage.left = LVIR_ICON;
    ASSERT_TRUE(SendMessageW(list->m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&viaMessage)));
    EXPECT_EQ(CRect(viaMessage), CRect(0, 30, 22, 52));
    CRect view;
    list->GetViewRect(&view, FALSE);
    EXPECT_EQ(view, CRect(0, 2, 190, 80));
    EXPECT_EQ(list->GetTopIndex(), 0);
    EXPECT_EQ(list->GetCountPerPage(), 3);
}

TEST_F(ListTest, HitFlagsNameThePartUnderThePoint)
{
    COXSHBListCtrl* list = MakeList(3);
    const int textTop = (22 - (lineHeight + 4)) / 2;
    ASSERT_GT(textTop, 0) << "the premise: the text is lower than the image";
    struct Row {
        CPoint pt;
        int item;
        UINT flags;
    };
    const Row rows[] = {
        {{5, 35}, 1, LVHT_ONITEMICON},
        {{24, 30 + textTop + 1}, 1, LVHT_ONITEMLABEL},
        {{23, 30}, 1, SHBLC_ONIMAGEANDTEXT},     // beside the text, inside image and text's box
        {{150, 40}, 1, SHBLC_ONITEM},            // on the row, past the text
        {{5, 27}, -1, LVHT_NOWHERE},             // the gap between two items
        {{5, 1}, -1, LVHT_ABOVE},
        {{5, 80}, -1, LVHT_BELOW},
        {{-1, 40}, -1, LVHT_TOLEFT},
        {{190, 40}, -1, LVHT_TORIGHT},
        {{-1, 1}, -1, LVHT_TOLEFT | LVHT_ABOVE},
    };
    for (const Row& r : rows) {
        UINT flags = 0;
        EXPECT_EQ(list->HitTest(r.pt, &flags), r.item) << r.pt.x << "," << r.pt.y;
        EXPECT_EQ(flags, r.flags) << r.pt.x << "," << r.pt.y;
        LVHITTESTINFO info{};
        info.pt = r.pt;
        EXPECT_EQ(SendMessageW(list->m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), r.item);
        EXPECT_EQ(info.flags, r.flags);
    }
}

TEST_F(ListTest, NearestItemsByDirectionStartAndWrap)
{
    COXSHBListCtrl* list = MakeList(3);
    // Items span [2, 24), [30, 52), [58, 80).
    struct Row {
        const char* name;
        CPoint pt;
        UINT direction;
        int start;
        UINT extra;
        int expected;
    };
    const Row rows[] = {
        {"in a gap, down", {5, 26}, VK_DOWN, -1, 0, 1},
        {"in a gap, up", {5, 26}, VK_UP, -1, 0, 0},
        {"on an item's span", {150, 40}, VK_UP, -1, 0, 1},
        {"below all, down", {5, 100}, VK_DOWN, -1, 0, -1},
        {"below all, up", {5, 100}, VK_UP, -1, 0, 2},
        {"above all, down", {5, 0}, VK_DOWN, -1, 0, 0},
        {"at a bottom edge, up: distance 0 is not nearer", {5, 24}, VK_UP, -1, 0, -1},
        {"at a bottom edge, down", {5, 24}, VK_DOWN, -1, 0, 1},
        {"no direction, in a gap", {5, 26}, 0, -1, 0, -1},
        {"after the start only", {5, 40}, VK_DOWN, 1, 0, 2},
        {"wrapping back to the span", {5, 40}, VK_DOWN, 1, LVFI_WRAP, 1},
    };
    for (const Row& r : rows) {
        LVFINDINFO info{};
        info.flags = LVFI_NEARESTXY | r.extra;
        info.pt = r.pt;
        info.vkDirection = r.direction;
        EXPECT_EQ(list->FindItem(&info, r.start), r.expected) << r.name;
    }
    // Without NEARESTXY the list view's own search answers (prefix, wrap).
    LVFINDINFO text{};
    text.flags = LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP;
    text.psz = L"Item 0";
    EXPECT_EQ(list->FindItem(&text, 1), 0);
}

TEST_F(ListTest, EnsureVisibleAndScrollKeepTheViewInsideTheItems)
{
    // A list 100 high (visible 2..98) with ten items 28 apart: tops 2 + 28k, last bottom 276.
    COXSHBListCtrl* list = MakeList(10, 128);
    CRect client;
    list->GetClientRect(&client);
    ASSERT_EQ(client.Height(), 100);
    const auto origin = [&] {
        POINT p{};
        list->GetOrigin(&p);
        return p.y;
    };
    struct Row {
        const char* name;
        std::function<BOOL()> call;
        BOOL result;
        int origin;
    };
    const Row rows[] = {
        {"one item down", [&] { return list->Scroll(CSize(0, 28)); }, TRUE, 28},
        {"far down: one item past the top at most", [&] { return list->Scroll(CSize(0, 1000)); }, TRUE, 178},
        // Item 6 is then partly hidden at the top: a step may line item 7 up with the top.
        {"item 7 on top", [&] { return list->Scroll(CSize(0, 1000)); }, TRUE, 196},
        {"item 8 on top", [&] { return list->Scroll(CSize(0, 28)); }, TRUE, 224},
        {"the last item on top", [&] { return list->Scroll(CSize(0, 1000)); }, TRUE, 252},
        {"nothing further", [&] { return list->Scroll(CSize(0, 5)); }, FALSE, 252},
        {"item 0 made visible", [&] { return list->EnsureVisible(0, FALSE); }, TRUE, 0},
        {"item 9 made visible", [&] { return list->EnsureVisible(9, FALSE); }, TRUE, 178},
        {"item 8, wholly visible: no move", [&] { return list->EnsureVisible(8, FALSE); }, TRUE, 178},
        {"item 6, partly visible and partly OK", [&] { return list->EnsureVisible(6, TRUE); }, TRUE, 178},
        {"item 6 wholly", [&] { return list->EnsureVisible(6, FALSE); }, TRUE, 168},
        {"back up beyond the top", [&] { return list->Scroll(CSize(0, -1000)); }, TRUE, 0},
        {"no index -1", [&] { return list->EnsureVisible(-1, FALSE); }, FALSE, 0},
        {"no index 10", [&] { return list->EnsureVisible(10, TRUE); }, FALSE, 0},
        {"through LVM_SCROLL", [&] { return BOOL(SendMessageW(list->m_hWnd, LVM_SCROLL, 0, 56)); }, TRUE, 56},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.call(), r.result) << r.name;
        EXPECT_EQ(origin(), r.origin) << r.name;
    }
    EXPECT_EQ(list->GetTopIndex(), 2);
    EXPECT_EQ(list->GetCountPerPage(), 4) << "items 2..5 meet 58..154";
}

TEST_F(ListTest, TheUpButtonExistsOnlyWhileScrolledAndTheTimerKeepsScrolling)
{
    COXSHBListCtrl* list = MakeList(10, 128);
    const HWND h = list->m_hWnd;
    UINT flags = 0;
    list->HitTest(CPoint(185, 5), &flags);
    EXPECT_NE(flags, SHBLC_ONSCROLLUP) << "not scrolled: no up button";
    list->HitTest(CPoint(185, 90), &flags);
    EXPECT_EQ(flags, SHBLC_ONSCROLLDOWN);
    const auto origin = [&] {
        POINT p{};
        list->GetOrigin(&p);
        return p.y;
    };
    // A press on the down button scrolls one item at once, then one per scrolling delay
    // while the button is held over it.
    Press(185, 90, h);
    EXPECT_EQ(origin(), 28);
    EXPECT_TRUE(list->IsScrolling());
    Wait(199);
    EXPECT_EQ(origin(), 28);
    Wait(1);
    EXPECT_EQ(origin(), 56);
    list->HitTest(CPoint(185, 5), &flags);
    EXPECT_EQ(flags, SHBLC_ONSCROLLUP) << "scrolled: the up button is there";
    // Off the button the timer runs on but does not scroll.
    MoveTo(100, 50, h);
    Wait(200);
    EXPECT_EQ(origin(), 56);
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_FALSE(list->IsScrolling());
    Wait(1000);
    EXPECT_EQ(origin(), 56);
    // The up button, held to the top: the button goes away and scrolling stops.
    Press(185, 5, h);
    EXPECT_EQ(origin(), 28);
    Wait(200);
    EXPECT_EQ(origin(), 0);
    EXPECT_FALSE(list->IsScrolling()) << "no up button any more";
    InjectMouseButton(MouseButton::Left, false);
    Pump();
}

TEST_F(ListTest, IndexesFollowTheirItemsAsItemsComeAndGo)
{
    COXSHBListCtrl* list = MakeList(4);
    list->SelectItem(2);
    list->ActivateItem(1);
    struct Row {
        const char* name;
        std::function<void()> change;
        int selected, active;
    };
    const Row rows[] = {
        {"insert at 0", [&] { list->InsertItem(0, L"new"); }, 3, 2},
        {"insert after both", [&] { list->InsertItem(5, L"end"); }, 3, 2},
        {"delete above both", [&] { list->DeleteItem(0); }, 2, 1},
        {"delete the active", [&] { list->DeleteItem(1); }, 1, -1},
        {"delete the selected", [&] { list->DeleteItem(1); }, -1, -1},
    };
    for (const Row& r : rows) {
        r.change();
        EXPECT_EQ(list->GetSelectedItem(), r.selected) << r.name;
        EXPECT_EQ(list->GetActiveItem(), r.active) << r.name;
    }
    // The layout followed: item 1 sits where the second item sits.
    CRect rect;
    list->GetItemRect(1, &rect, SHBLC_ENTIREITEM);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(list->GetItemText(1, 0), CString(L"Item 3"));
    list->SelectItem(0);
    list->DeleteAllItems();
    EXPECT_EQ(list->GetSelectedItem(), -1);
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetTopIndex(), -1);
}

TEST_F(ListTest, SortingByTextKeepsWholeTextsAndEverythingElse)
{
    COXSHBListCtrl* list = MakeList(0);
    const std::wstring longText(300, L'z');
    bar->InsertLCItem(group, 0, L"b", 0, 11);
    bar->InsertLCItem(group, 1, longText.c_str(), 0, 22);
    bar->InsertLCItem(group, 2, L"B", 0, 33);
    bar->InsertLCItem(group, 3, L"a", 0, 44);
    bar->InsertLCItem(group, 4, L"b", 0, 55);
    EXPECT_TRUE(bar->SortLCItems(group));
    // Case-sensitive and stable: "B" < "a" < "b" (11 before 55) < "zzz...".
    const std::vector<std::pair<std::wstring, LPARAM>> expected = {
        {L"B", 33}, {L"a", 44}, {L"b", 11}, {L"b", 55}, {longText, 22}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(std::wstring(list->GetItemText(i, 0).GetString()), expected[static_cast<size_t>(i)].first) << i;
        EXPECT_EQ(static_cast<LPARAM>(list->GetItemData(i)), expected[static_cast<size_t>(i)].second) << i;
    }
}

TEST_F(ListTest, AStandaloneListTakesItsStyleFromItsWindow)
{
    struct Row {
        const char* name;
        DWORD style, exStyle, expected;
    };
    const Row rows[] = {
        {"plain", 0, 0, 0},
        {"edit labels", LVS_EDITLABELS, 0, SHBS_EDITITEMS},
        {"no scroll", LVS_NOSCROLL, 0, SHBS_NOSCROLL},
        {"show selection", LVS_SHOWSELALWAYS, 0, SHBS_SHOWACTIVEALWAYS},
        {"underline hot", 0, LVS_EX_UNDERLINEHOT, SHBS_UNDERLINEHOTITEM},
        {"info tips", 0, LVS_EX_INFOTIP, SHBS_INFOTIP},
        {"all", LVS_EDITLABELS | LVS_NOSCROLL | LVS_SHOWSELALWAYS, LVS_EX_UNDERLINEHOT | LVS_EX_INFOTIP,
            SHBS_EDITITEMS | SHBS_NOSCROLL | SHBS_SHOWACTIVEALWAYS | SHBS_UNDERLINEHOTITEM | SHBS_INFOTIP},
    };
    for (const Row& r : rows) {
        COXSHBListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | r.style, CRect(0, 0, 100, 100), &parent, 7)) << r.name;
        list.SetExtendedStyle(r.exStyle);
        EXPECT_EQ(list.GetBarStyle(), r.expected) << r.name;
        EXPECT_EQ(list.GetShortcutBar(), nullptr) << r.name;
        EXPECT_EQ(list.GetView(), SHB_LARGEICON) << r.name;
    }
    COXSHBListCtrl small;
    ASSERT_TRUE(small.Create(WS_CHILD | LVS_SMALLICON | LVS_REPORT, CRect(0, 0, 100, 100), &parent, 8));
    EXPECT_EQ(small.GetView(), SHB_LARGEICON) << "the list style is not small icons";
    COXSHBListCtrl smallIcons;
    ASSERT_TRUE(smallIcons.Create(WS_CHILD | LVS_SMALLICON, CRect(0, 0, 100, 100), &parent, 9));
    EXPECT_EQ(smallIcons.GetView(), SHB_SMALLICON);
    EXPECT_EQ(GetWindowLongW(smallIcons.m_hWnd, GWL_STYLE) & LVS_TYPEMASK, 0) << "the list view stays in icon view";
    // Colours are the list view's own.
    EXPECT_TRUE(smallIcons.SetBkColor(RGB(1, 2, 3)));
    EXPECT_EQ(smallIcons.GetBkColor(), RGB(1, 2, 3));
    EXPECT_TRUE(smallIcons.SetTextBkColor(RGB(4, 5, 6)));
}

TEST_F(ListTest, InsideABarColoursAreTheGroupsAndTheTextBackgroundIsFixed)
{
    COXSHBListCtrl* list = MakeList(1);
    EXPECT_TRUE(list->SetBkColor(RGB(10, 20, 30)));
    EXPECT_EQ(bar->GetGroupBkColor(group), RGB(10, 20, 30));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->m_hWnd, LVM_GETBKCOLOR, 0, 0)), RGB(10, 20, 30));
    EXPECT_EQ(list->GetTextBkColor(), RGB(10, 20, 30));
    EXPECT_FALSE(list->SetTextBkColor(RGB(1, 1, 1)));
    EXPECT_TRUE(list->SetTextColor(RGB(40, 50, 60)));
    EXPECT_EQ(bar->GetGroupTextColor(group), RGB(40, 50, 60));
}

TEST_F(ListTest, TheCommonControlsVersionIsReadAndNullPointersRefused)
{
    DWORD major = 0, minor = 0;
    EXPECT_EQ(COXSHBListCtrl::GetComCtlVersion(nullptr, &minor), E_INVALIDARG);
    EXPECT_EQ(COXSHBListCtrl::GetComCtlVersion(&major, nullptr), E_INVALIDARG);
    EXPECT_EQ(COXSHBListCtrl::GetComCtlVersion(&major, &minor), S_OK);
    EXPECT_EQ(major, 6u);
    EXPECT_EQ(minor, 0u);
    COXSHBListCtrl list;
    EXPECT_EQ(COXSHBListCtrl::GetComCtlVersion(), MAKELONG(0, 6));
}

} // namespace
} // namespace shbtest
