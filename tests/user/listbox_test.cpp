// The ListBox control: items and sorting, searching, the three selection modes by keys and
// mouse with their notifications, scrolling and geometry, owner-drawn items, keyboard
// hand-off to the owner, type-ahead and painting.
#include "platform/base/clock.h"
#include "tests/user/ctl_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

void Add(HWND l, std::initializer_list<const wchar_t*> items)
{
    for (const wchar_t* s : items)
        SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
}

std::vector<std::wstring> Items(HWND l)
{
    std::vector<std::wstring> out;
    const int n = static_cast<int>(SendMessageW(l, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::wstring s(static_cast<size_t>(SendMessageW(l, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(l, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
        s.pop_back();
        out.push_back(s);
    }
    return out;
}

std::vector<int> Selected(HWND l)
{
    int buf[64];
    const auto n = SendMessageW(l, LB_GETSELITEMS, 64, reinterpret_cast<LPARAM>(buf));
    return n < 0 ? std::vector<int>{} : std::vector<int>(buf, buf + n);
}

int ItemHeight(HWND l) { return static_cast<int>(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0)); }

class ListTest : public CtlTest {
public:
    HWND List(DWORD style, int items = 0, int x = 10, UINT id = 100)
    {
        HWND l = Ctl(L"ListBox", style, x, 10, 150, 8 * Metrics(nullptr).tmHeight, id);
        for (int i = 0; i < items; ++i) {
            const std::wstring s = L"item " + std::to_wstring(i);
            SendMessageW(l, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
        }
        return l;
    }
    void ClickItem(HWND l, int i, std::initializer_list<int> mods = {})
    {
        RECT rc{};
        SendMessageW(l, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
        for (int m : mods)
            user::InjectKey(m, true);
        Clock::Advance(1000); // never a double click
        Click(l, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        for (int m : mods)
            user::InjectKey(m, false);
        Pump();
    }
};

TEST_F(ListTest, SortedListsPlaceStringsByWordSortIgnoringCase)
{
    HWND l = List(LBS_SORT);
    // Expected order worked by hand: symbols, then digits character by character, then
    // letters by base letter; equal strings keep the order they came in.
    const struct {
        const wchar_t* text;
        int index;
    } adds[] = {{L"banana", 0}, {L"Apple", 0}, {L"cherry", 2}, {L"apple", 1}, {L"10", 0}, {L"9", 1}, {L"_x", 0},
        {L"\u00C9clair", 7}};
    for (const auto& a : adds)
        EXPECT_EQ(SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(a.text)), a.index);
    EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"_x", L"10", L"9", L"Apple", L"apple", L"banana", L"cherry",
                            L"\u00C9clair"}));
    // Inserting does not sort; -1 appends; beyond the end is an error.
    EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"zz")), 0);
    EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"aa")), 9);
    EXPECT_EQ(SendMessageW(l, LB_INSERTSTRING, 11, reinterpret_cast<LPARAM>(L"x")), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 10);
    DestroyWindow(l);
}

TEST_F(ListTest, ItemsDataAndErrors)
{
    HWND l = List(0);
    Add(l, {L"one", L"two", L"three"});
    EXPECT_EQ(SendMessageW(l, LB_SETITEMDATA, 1, 0x1234), TRUE);
    EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, 1, 0), 0x1234);
    EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, 3, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_SETITEMDATA, static_cast<WPARAM>(-2), 1), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETTEXTLEN, 2, 0), 5);
    EXPECT_EQ(SendMessageW(l, LB_GETTEXTLEN, 3, 0), LB_ERR);
    wchar_t buf[16];
    EXPECT_EQ(SendMessageW(l, LB_GETTEXT, 5, reinterpret_cast<LPARAM>(buf)), LB_ERR);
    // Deleting answers the count left and keeps the selection on the same item.
    SendMessageW(l, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageW(l, LB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(l, LB_GETITEMDATA, 0, 0), 0x1234);
    EXPECT_EQ(SendMessageW(l, LB_DELETESTRING, 7, 0), LB_ERR);
    // Deleting the selected item leaves no selection; -1 deselects and still answers LB_ERR.
    EXPECT_EQ(SendMessageW(l, LB_DELETESTRING, 1, 0), 1);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageW(l, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, 9, 0), LB_ERR);
    // The multiple-selection messages are errors in a single-selection list.
    EXPECT_EQ(SendMessageW(l, LB_SETSEL, TRUE, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(buf)), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 1)), LB_ERR);
    // Heights beyond 255 are refused.
    EXPECT_EQ(SendMessageW(l, LB_SETITEMHEIGHT, 0, MAKELPARAM(256, 0)), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0)), 0);
    EXPECT_EQ(ItemHeight(l), 20);
    EXPECT_GE(SendMessageW(l, LB_INITSTORAGE, 100, 1000), 101);
    SendMessageW(l, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 0);
    DestroyWindow(l);
}

TEST_F(ListTest, FindingIsByPrefixWithoutCaseAndWrapsAround)
{
    HWND l = List(0);
    Add(l, {L"alpha", L"beta", L"alphabet", L"Beta2", L"gamma"});
    const struct {
        UINT msg;
        int start;
        const wchar_t* text;
        LRESULT found;
    } rows[] = {
        {LB_FINDSTRING, -1, L"al", 0},
        {LB_FINDSTRING, 0, L"al", 2},
        {LB_FINDSTRING, 2, L"al", 0},      // wraps
        {LB_FINDSTRING, -1, L"BE", 1},
        {LB_FINDSTRING, 1, L"be", 3},
        {LB_FINDSTRING, 10, L"g", 4},      // a start beyond the list searches it all
        {LB_FINDSTRING, -1, L"zz", LB_ERR},
        {LB_FINDSTRINGEXACT, -1, L"BETA", 1},
        {LB_FINDSTRINGEXACT, 1, L"beta", 1}, // round to itself
        {LB_FINDSTRINGEXACT, -1, L"alph", LB_ERR},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SendMessageW(l, r.msg, static_cast<WPARAM>(r.start), reinterpret_cast<LPARAM>(r.text)), r.found)
            << (r.msg == LB_FINDSTRING ? "prefix " : "exact ") << r.start;
    EXPECT_EQ(SendMessageW(l, LB_SELECTSTRING, 2, reinterpret_cast<LPARAM>(L"b")), 3);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(l, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"q")), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3) << "not found: the selection stays";
    DestroyWindow(l);
}

TEST_F(ListTest, SingleSelectionByKeysAndMouseNotifies)
{
    HWND l = List(LBS_NOTIFY, 20);
    const int visible = 8;
    ClearLog();
    SetFocus(l);
    Key(VK_DOWN); // nothing selected yet: the first item
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 1);
    Key(VK_END);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 19);
    EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 20 - visible) << "scrolled to show it";
    Key(VK_PRIOR); // a page is one less than what is visible
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 19 - (visible - 1));
    Key(VK_HOME);
    Key(VK_HOME); // a key that lands on an item tells it, changed or not
    Pump();
    EXPECT_EQ(Notes(), (std::vector<std::string>{"LBN_SETFOCUS", "LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE",
                           "LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE"}));
    // Page Down at the end keeps the last item and tells it all the same.
    Key(VK_END);
    Pump();
    ClearLog();
    Key(VK_NEXT);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 19);
    EXPECT_EQ(Notes(), std::vector<std::string>{"LBN_SELCHANGE"});
    Key(VK_HOME); // back to the top for the clicks
    Pump();
    // A click selects, and tells when the button comes up; clicking it again tells nothing.
    // Each press on an item is told to the owner first as WM_LBTRACKPOINT (the item, the
    // point in the list's client area).
    ClearLog();
    ClickItem(l, 3);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 3);
    ClickItem(l, 3);
    EXPECT_EQ(Notes(), std::vector<std::string>{"LBN_SELCHANGE"});
    RECT r3{};
    SendMessageW(l, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r3));
    std::vector<Rec> track;
    for (const Rec& r : rec().Log())
        if (r.hwnd == parent && r.msg == WM_LBTRACKPOINT)
            track.push_back(r);
    ASSERT_EQ(track.size(), 2u);
    for (const Rec& t : track) {
        EXPECT_EQ(t.wp, 3u);
        EXPECT_EQ(t.lp, MAKELPARAM((r3.left + r3.right) / 2, (r3.top + r3.bottom) / 2));
    }
    // Dragging follows the pointer; one notification at the release.
    ClearLog();
    RECT r1{}, r5{};
    SendMessageW(l, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r1));
    SendMessageW(l, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&r5));
    Clock::Advance(1000);
    Press(l, 20, r1.top + 2);
    MoveTo(l, 20, r5.top + 2);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 5);
    EXPECT_TRUE(Notes().empty());
    Release();
    Pump();
    EXPECT_EQ(Notes(), std::vector<std::string>{"LBN_SELCHANGE"});
    // Ctrl+click on the selection cancels it; a double click tells its own notification.
    ClearLog();
    ClickItem(l, 5, {VK_CONTROL});
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), LB_ERR);
    Clock::Advance(1000);
    const POINT p{20, r1.top + 2};
    Click(l, p.x, p.y);
    Click(l, p.x, p.y);
    Pump();
    // (The first click of the pair selects and tells at its release.)
    EXPECT_EQ(Notes(), (std::vector<std::string>{"LBN_SELCANCEL", "LBN_SELCHANGE", "LBN_DBLCLK"}));
    // Without LBS_NOTIFY only the focus is told.
    HWND quiet = List(0, 3, 200, 101);
    ClearLog();
    SetFocus(quiet);
    Key(VK_DOWN);
    ClickItem(quiet, 2);
    SetFocus(l);
    EXPECT_EQ(Notes(true), (std::vector<std::string>{"LBN_KILLFOCUS 100", "LBN_SETFOCUS 101", "LBN_KILLFOCUS 101",
                               "LBN_SETFOCUS 100"}));
    EXPECT_EQ(SendMessageW(quiet, LB_GETCURSEL, 0, 0), 2);
    DestroyWindow(quiet);
    DestroyWindow(l);
}

TEST_F(ListTest, MultipleSelectionTogglesAndMovesTheCaretOnly)
{
    HWND l = List(LBS_MULTIPLESEL | LBS_NOTIFY, 6);
    ClickItem(l, 1);
    ClickItem(l, 3);
    EXPECT_EQ(Selected(l), (std::vector<int>{1, 3}));
    ClickItem(l, 1);
    EXPECT_EQ(Selected(l), std::vector<int>{3});
    // Arrows move the focus rectangle (and tell LBN_SELCHANGE though the selection stays,
    // as documented for multiple-selection lists); Space toggles under it.
    ClearLog();
    Key(VK_DOWN);
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 3);
    EXPECT_EQ(Selected(l), std::vector<int>{3});
    EXPECT_EQ(Notes(), (std::vector<std::string>{"LBN_SELCHANGE", "LBN_SELCHANGE"}));
    ClearLog();
    Key(VK_SPACE);
    Key(VK_UP);
    Key(VK_SPACE);
    Pump();
    EXPECT_EQ(Selected(l), std::vector<int>{2});
    EXPECT_EQ(Notes(), (std::vector<std::string>{"LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE"}));
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 2) << "the item with the focus rectangle";
    // The messages: all, ranges (either way round), counts.
    EXPECT_EQ(SendMessageW(l, LB_SETSEL, TRUE, -1), 0);
    EXPECT_EQ(SendMessageW(l, LB_GETSELCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGEEX, 4, 1), 0); // reversed: deselects 1..4
    EXPECT_EQ(Selected(l), (std::vector<int>{0, 5}));
    EXPECT_EQ(SendMessageW(l, LB_SELITEMRANGE, TRUE, MAKELPARAM(2, 3)), 0);
    EXPECT_EQ(Selected(l), (std::vector<int>{0, 2, 3, 5}));
    EXPECT_GT(SendMessageW(l, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageW(l, LB_GETSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageW(l, LB_GETSEL, 6, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_SETCURSEL, 1, 0), LB_ERR);
    int two[2];
    EXPECT_EQ(SendMessageW(l, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(two)), 2);
    EXPECT_EQ(two[1], 2);
    DestroyWindow(l);
}

TEST_F(ListTest, ExtendedSelectionWithShiftAndCtrl)
{
    HWND l = List(LBS_EXTENDEDSEL | LBS_NOTIFY, 10);
    const struct {
        const char* name;
        std::function<void(ListTest&, HWND)> act;
        std::vector<int> selected;
        int anchor;
    } rows[] = {
        {"ClickSelectsOne", [](ListTest& t, HWND h) { t.ClickItem(h, 2); }, {2}, 2},
        {"ShiftClickSelectsFromTheAnchor", [](ListTest& t, HWND h) { t.ClickItem(h, 5, {VK_SHIFT}); }, {2, 3, 4, 5}, 2},
        {"CtrlClickAddsAndMovesTheAnchor", [](ListTest& t, HWND h) { t.ClickItem(h, 7, {VK_CONTROL}); }, {2, 3, 4, 5, 7}, 7},
        {"CtrlClickTogglesOff", [](ListTest& t, HWND h) { t.ClickItem(h, 3, {VK_CONTROL}); }, {2, 4, 5, 7}, 3},
        {"ShiftDownExtendsFromTheAnchor", [](ListTest&, HWND) { Chord({VK_SHIFT}, VK_DOWN); }, {3, 4}, 3},
        {"CtrlDownMovesTheCaretOnly", [](ListTest&, HWND) { Chord({VK_CONTROL}, VK_DOWN); }, {3, 4}, 3},
        {"CtrlSpaceToggles", [](ListTest&, HWND) { Chord({VK_CONTROL}, VK_SPACE); }, {3, 4, 5}, 5},
        {"PlainDownSelectsOne", [](ListTest&, HWND) { Key(VK_DOWN); }, {6}, 6},
        {"ShiftEnd", [](ListTest&, HWND) { Chord({VK_SHIFT}, VK_END); }, {6, 7, 8, 9}, 6},
        {"CtrlShiftHomeAddsTheRange", [](ListTest&, HWND) { Chord({VK_CONTROL, VK_SHIFT}, VK_HOME); },
            {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 6},
    };
    SetFocus(l);
    for (const auto& r : rows) {
        r.act(*this, l);
        Pump();
        EXPECT_EQ(Selected(l), r.selected) << r.name;
        EXPECT_EQ(SendMessageW(l, LB_GETANCHORINDEX, 0, 0), r.anchor) << r.name;
    }
    // Dragging extends from where the press began.
    ClickItem(l, 1);
    RECT a{}, b{};
    SendMessageW(l, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&a));
    SendMessageW(l, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&b));
    Clock::Advance(1000);
    Press(l, 10, a.top + 1);
    MoveTo(l, 10, b.top + 1);
    Release();
    Pump();
    EXPECT_EQ(Selected(l), (std::vector<int>{1, 2, 3, 4}));
    DestroyWindow(l);
}

TEST_F(ListTest, GeometryScrollingAndIntegralHeight)
{
    const int ih = Metrics(nullptr).tmHeight;
    // Asked for 5.5 items: cut to 5 whole ones.
    HWND l = Ctl(L"ListBox", WS_VSCROLL, 10, 10, 150, 5 * ih + ih / 2);
    RECT rc{};
    GetClientRect(l, &rc);
    EXPECT_EQ(rc.bottom, 5 * ih);
    EXPECT_EQ(ItemHeight(l), ih);
    HWND free = Ctl(L"ListBox", LBS_NOINTEGRALHEIGHT, 200, 10, 100, 5 * ih + ih / 2);
    RECT fr{};
    GetClientRect(free, &fr);
    EXPECT_EQ(fr.bottom, 5 * ih + ih / 2);
    DestroyWindow(free);
    // No bar while everything fits; one as soon as it does not.
    for (int i = 0; i < 5; ++i)
        SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
    EXPECT_FALSE(GetWindowLongPtrW(l, GWL_STYLE) & WS_VSCROLL);
    for (int i = 0; i < 15; ++i)
        SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"y"));
    EXPECT_TRUE(GetWindowLongPtrW(l, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(l, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(si.nPage, 5u);
    // The top index stops when the last item is at the bottom.
    EXPECT_EQ(SendMessageW(l, LB_SETTOPINDEX, 18, 0), 0);
    EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 15);
    EXPECT_EQ(GetScrollPos(l, SB_VERT), 15);
    EXPECT_EQ(SendMessageW(l, LB_SETTOPINDEX, 20, 0), LB_ERR);
    GetClientRect(l, &rc);
    RECT item{};
    SendMessageW(l, LB_GETITEMRECT, 17, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.top, 2 * ih);
    EXPECT_EQ(item.bottom, 3 * ih);
    EXPECT_EQ(item.right, rc.right);
    SendMessageW(l, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.top, -12 * ih) << "items above the view have rectangles too";
    // LB_ITEMFROMPOINT: the nearest item, and whether the point is outside.
    EXPECT_EQ(SendMessageW(l, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, ih + 1)), MAKELONG(16, 0));
    EXPECT_EQ(HIWORD(SendMessageW(l, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 400))), 1);
    // The bar's own arrows scroll the list.
    SendMessageW(l, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 14);
    SendMessageW(l, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 10);
    // LB_SETCARETINDEX scrolls the item fully into view.
    SendMessageW(l, LB_SETCARETINDEX, 2, FALSE);
    EXPECT_EQ(SendMessageW(l, LB_GETTOPINDEX, 0, 0), 2);
    DestroyWindow(l);
}

TEST_F(ListTest, OwnerDrawnItemsAreMeasuredDrawnComparedAndDeleted)
{
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<std::pair<ULONG_PTR, ULONG_PTR>> compared;
    std::vector<ULONG_PTR> deleted;
    rec().SetHandler([&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        switch (m) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            measured.push_back(*mis);
            mis->itemHeight = mis->itemData ? static_cast<UINT>(mis->itemData) : 20;
            r = TRUE;
            return true;
        }
        case WM_DRAWITEM: drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)); r = TRUE; return true;
        case WM_COMPAREITEM: {
            auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(lp);
            compared.emplace_back(cis->itemData1, cis->itemData2);
            r = cis->itemData1 < cis->itemData2 ? -1 : (cis->itemData1 > cis->itemData2 ? 1 : 0);
            return true;
        }
        case WM_DELETEITEM: deleted.push_back(reinterpret_cast<DELETEITEMSTRUCT*>(lp)->itemData); r = TRUE; return true;
        default: return false;
        }
    });
    // Fixed: measured once, at creation, as item 0.
    HWND f = Ctl(L"ListBox", LBS_OWNERDRAWFIXED | LBS_SORT | LBS_NOINTEGRALHEIGHT, 10, 10, 100, 100, 7);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(measured[0].CtlID, 7u);
    EXPECT_EQ(measured[0].itemID, 0u);
    EXPECT_EQ(ItemHeight(f), 20);
    // Without strings the items are their data, sorted by asking the owner.
    for (ULONG_PTR d : {30, 10, 20})
        SendMessageW(f, LB_ADDSTRING, 0, static_cast<LPARAM>(d));
    EXPECT_FALSE(compared.empty());
    EXPECT_EQ(SendMessageW(f, LB_GETITEMDATA, 0, 0), 10);
    EXPECT_EQ(SendMessageW(f, LB_GETITEMDATA, 2, 0), 30);
    EXPECT_EQ(SendMessageW(f, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 1) << "found by its data";
    SendMessageW(f, LB_SETCURSEL, 1, 0);
    Settle();
    ASSERT_EQ(drawn.size(), 3u);
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i].itemID, i);
        EXPECT_EQ(drawn[i].CtlType, ODT_LISTBOX);
        EXPECT_EQ(drawn[i].itemAction, ODA_DRAWENTIRE);
        EXPECT_EQ(drawn[i].hwndItem, f);
        EXPECT_EQ(drawn[i].rcItem.top, static_cast<LONG>(i * 20));
        EXPECT_EQ(drawn[i].rcItem.bottom, static_cast<LONG>(i * 20 + 20));
        EXPECT_EQ((drawn[i].itemState & ODS_SELECTED) != 0, i == 1);
    }
    // Deleting and emptying tell the owner about each item with data.
    SendMessageW(f, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(deleted, std::vector<ULONG_PTR>{10});
    SendMessageW(f, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(deleted, (std::vector<ULONG_PTR>{10, 20, 30}));
    // An empty focused owner-drawn list still draws its focus, as item -1.
    drawn.clear();
    SetFocus(f);
    Settle();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].itemID, static_cast<UINT>(-1));
    EXPECT_EQ(drawn[0].itemAction, ODA_FOCUS);
    SendMessageW(f, LB_ADDSTRING, 0, 5);
    DestroyWindow(f);
    EXPECT_EQ(deleted.back(), 5u) << "destroying deletes the items too";
    // Variable: measured per item, with its data; rectangles stack.
    measured.clear();
    HWND v = Ctl(L"ListBox", LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT, 10, 10, 100, 100, 8);
    EXPECT_TRUE(measured.empty());
    for (ULONG_PTR h : {12, 30, 18})
        SendMessageW(v, LB_ADDSTRING, 0, static_cast<LPARAM>(h));
    ASSERT_EQ(measured.size(), 3u);
    EXPECT_EQ(measured[1].itemID, 1u);
    EXPECT_EQ(measured[1].itemData, 30u);
    EXPECT_EQ(SendMessageW(v, LB_GETITEMHEIGHT, 1, 0), 30);
    RECT r2{};
    SendMessageW(v, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
    EXPECT_EQ(r2.top, 42);
    EXPECT_EQ(r2.bottom, 60);
    EXPECT_EQ(SendMessageW(v, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 41)), 1);
    SendMessageW(v, LB_SETITEMHEIGHT, 0, MAKELPARAM(2, 0));
    SendMessageW(v, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
    EXPECT_EQ(r2.top, 32);
    DestroyWindow(v);
}

TEST_F(ListTest, KeysGoToTheOwnerFirstWithWantKeyboardInput)
{
    LRESULT answer = -1;
    std::vector<WPARAM> asked;
    rec().SetHandler([&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_VKEYTOITEM && m != WM_CHARTOITEM)
            return false;
        asked.push_back(wp);
        r = answer;
        return true;
    });
    HWND l = List(LBS_WANTKEYBOARDINPUT, 10);
    SetFocus(l);
    SendMessageW(l, LB_SETCURSEL, 2, 0);
    answer = -2; // handled: nothing moves
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 2);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], MAKEWPARAM(VK_DOWN, 2));
    answer = 6; // act on item 6
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 7);
    answer = -1; // the default
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), 8);
    DestroyWindow(l);
    // A window that does not answer (DefWindowProc) lets the list do its default.
    rec().SetHandler(nullptr);
    HWND d = List(LBS_WANTKEYBOARDINPUT, 5);
    SetFocus(d);
    SendMessageW(d, LB_SETCURSEL, 2, 0);
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(d, LB_GETCURSEL, 0, 0), 3);
    DestroyWindow(d);
}

TEST_F(ListTest, TypedCharactersSelectByPrefix)
{
    HWND l = List(LBS_NOTIFY);
    for (const wchar_t* s : {L"apple", L"banana", L"blueberry", L"cherry", L"blackberry"})
        SendMessageW(l, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s));
    SetFocus(l);
    // Every typed character that finds an item tells LBN_SELCHANGE, even when it keeps it.
    const struct {
        const wchar_t* typed;
        int pauseBefore; // ms
        int selected;
        size_t told;     // LBN_SELCHANGE notifications
    } rows[] = {
        {L"b", 0, 1, 1},       // the first "b..."
        {L"b", 0, 2, 1},       // the same letter again steps on
        {L"b", 0, 4, 1},
        {L"c", 2001, 3, 1},    // after a pause a new prefix
        {L"bl", 2001, 4, 2},   // "b" steps from "cherry" to "blackberry", which still starts with "bl"
        {L"u", 0, 2, 1},       // "blu"
        {L"x", 0, 2, 0},       // no match: stays, nothing told
    };
    for (const auto& r : rows) {
        Clock::Advance(static_cast<uint64_t>(r.pauseBefore));
        ClearLog();
        Type(r.typed);
        Pump();
        const std::string name(r.typed, r.typed + wcslen(r.typed));
        EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), r.selected) << name;
        EXPECT_EQ(Notes(), std::vector<std::string>(r.told, "LBN_SELCHANGE")) << name;
    }
    DestroyWindow(l);
}

TEST_F(ListTest, PaintsTheSelectionTheFocusAndTheParentsBrush)
{
    constexpr COLORREF kBack = RGB(200, 30, 30);
    HBRUSH back = CreateSolidBrush(kBack);
    int asked = 0;
    rec().SetHandler([&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_CTLCOLORLISTBOX)
            return false;
        ++asked;
        r = reinterpret_cast<LRESULT>(back);
        return true;
    });
    HWND l = List(0, 4);
    const int ih = ItemHeight(l);
    SendMessageW(l, LB_SETCURSEL, 2, 0);
    Settle();
    EXPECT_GE(asked, 1);
    RECT rc{};
    GetClientRect(l, &rc);
    EXPECT_EQ(ClientPixel(l, rc.right - 1, 6 * ih), kBack) << "below the items";
    // The selected item is a highlight band across the whole width.
    RECT box = BoxOfColor(l, rc, GetSysColor(COLOR_HIGHLIGHT));
    const RECT want{0, 2 * ih, rc.right, 3 * ih};
    EXPECT_TRUE(EqualRect(&box, &want)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    // With the focus, a dotted focus rectangle on the caret item changes its corner pixel.
    const COLORREF corner = ClientPixel(l, 0, 2 * ih);
    SetFocus(l);
    Settle();
    EXPECT_NE(ClientPixel(l, 0, 2 * ih), corner);
    EXPECT_EQ(ClientPixel(l, 1, 2 * ih), corner) << "every other pixel of the dotted line";
    DestroyWindow(l);
    DeleteObject(back);
}

TEST_F(ListTest, NoSelListsOnlyMoveTheFocus)
{
    HWND l = List(LBS_NOSEL | LBS_NOTIFY, 5);
    ClearLog();
    ClickItem(l, 2);
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(l, LB_GETCARETINDEX, 0, 0), 3);
    EXPECT_EQ(Notes(), std::vector<std::string>{"LBN_SETFOCUS"});
    DestroyWindow(l);
}

TEST_F(ListTest, TabStopsInDialogUnits)
{
    HWND l = Ctl(L"ListBox", LBS_USETABSTOPS, 10, 10, 300, 100);
    SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\tX"));
    INT stops[] = {40};
    EXPECT_TRUE(SendMessageW(l, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops)));
    Settle();
    // Dialog units of the list's font: the average width of the 52 Latin letters, halved
    // and rounded; four units to that width.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE letters{}, x{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    GetTextExtentPoint32W(dc, L"X", 1, &x);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int unit = (letters.cx / 26 + 1) / 2;
    const int stop = 2 + 40 * unit / 4; // items start two pixels in
    const RECT row{0, 0, 300, ItemHeight(l)};
    const RECT ink = BoxOfColor(l, row, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GE(ink.left, stop);
    EXPECT_LE(ink.right, stop + x.cx);
    // Without the style tab stops are refused.
    HWND plain = Ctl(L"ListBox", 0, 10, 120, 100, 50);
    EXPECT_FALSE(SendMessageW(plain, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops)));
    DestroyWindow(plain);
    DestroyWindow(l);
}

TEST_F(ListTest, MultipleColumnsFlowDownThenAcross)
{
    const int ih = Metrics(nullptr).tmHeight;
    HWND l = Ctl(L"ListBox", LBS_MULTICOLUMN | WS_HSCROLL, 10, 10, 200, 3 * ih);
    SendMessageW(l, LB_SETCOLUMNWIDTH, 60, 0);
    for (int i = 0; i < 10; ++i)
        SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"w"));
    RECT rc{};
    GetClientRect(l, &rc);
    const int rows = rc.bottom / ih;
    RECT r{};
    SendMessageW(l, LB_GETITEMRECT, static_cast<WPARAM>(rows + 1), reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, ih);
    SetFocus(l);
    SendMessageW(l, LB_SETCURSEL, 0, 0);
    Key(VK_RIGHT); // one column on
    Pump();
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), rows);
    DestroyWindow(l);
}

} // namespace
} // namespace zyn::test
