// List-view items: where insertions land, what deleting does to the focus, selection and
// mark, stable sorting, searching, the next-item walk, callback texts, the delete
// notifications and who owns the image lists.
#include <map>

#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

using Strings = std::vector<std::wstring>;

class ListItems : public ListViewTest {};

int Insert(HWND list, int index, const wchar_t* text, UINT state = 0)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | (state ? LVIF_STATE : 0);
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.state = state;
    item.stateMask = state;
    return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetState(HWND list, int index, UINT state, UINT mask)
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

TEST_F(ListItems, InsertionIndexesAreClampedAndReturned)
{
    struct Row {
        const char* name;
        int requested;
        int expected;
        Strings order;
    };
    // Three items a, b, c exist; "x" is inserted at the requested index.
    const Row rows[] = {
        {"front", 0, 0, {L"x", L"a", L"b", L"c"}},
        {"middle", 2, 2, {L"a", L"b", L"x", L"c"}},
        {"end", 3, 3, {L"a", L"b", L"c", L"x"}},
        {"past the end", 99, 3, {L"a", L"b", L"c", L"x"}},
        {"negative", -5, 0, {L"x", L"a", L"b", L"c"}},
        {"minus one", -1, 0, {L"x", L"a", L"b", L"c"}},
    };
    for (const Row& r : rows) {
        HWND list = MakeList(LVS_REPORT);
        AddItems(list, {L"a", L"b", L"c"});
        EXPECT_EQ(Insert(list, r.requested, L"x"), r.expected) << r.name;
        EXPECT_EQ(Texts(list), r.order) << r.name;
        DestroyWindow(list);
    }
}

TEST_F(ListItems, SortedStylesPlaceNewItemsAfterEqualOnes)
{
    struct Row {
        const char* name;
        DWORD style;
        Strings order;
    };
    // Inserted in the order b, A, c, a, each asked for index 0; equal texts (ignoring
    // case) keep the order they came in.
    const Row rows[] = {
        {"ascending", LVS_SORTASCENDING, {L"A", L"a", L"b", L"c"}},
        {"descending", LVS_SORTDESCENDING, {L"c", L"b", L"A", L"a"}},
        {"unsorted", 0, {L"a", L"c", L"A", L"b"}},
    };
    for (const Row& r : rows) {
        HWND list = MakeList(LVS_REPORT | r.style);
        for (const wchar_t* t : {L"b", L"A", L"c", L"a"})
            Insert(list, 0, t);
        EXPECT_EQ(Texts(list), r.order) << r.name;
        DestroyWindow(list);
    }
}

TEST_F(ListItems, DeletingMovesFocusSelectionAndMarkWithTheirItems)
{
    struct Row {
        const char* name;
        int deleted;
        int focused, mark, hot;   // expected afterwards
        std::vector<int> selected;
    };
    // Before: 0..5; item 2 focused and the mark, items 1, 2 and 4 selected, item 4 hot.
    const Row rows[] = {
        {"before all", 0, 1, 1, 3, {0, 1, 3}},
        {"the focused one", 2, -1, -1, 3, {1, 3}},
        {"between", 3, 2, 2, 3, {1, 2, 3}},
        {"the hot one", 4, 2, 2, -1, {1, 2}},
        {"after all", 5, 2, 2, 4, {1, 2, 4}},
    };
    for (const Row& r : rows) {
        HWND list = MakeList(LVS_REPORT);
        AddItems(list, {L"0", L"1", L"2", L"3", L"4", L"5"});
        SetState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
        SetState(list, 4, LVIS_SELECTED, LVIS_SELECTED);
        SetState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SendMessageW(list, LVM_SETSELECTIONMARK, 0, 2);
        SendMessageW(list, LVM_SETHOTITEM, 4, 0);
        ASSERT_TRUE(SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(r.deleted), 0)) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), r.focused) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), r.mark) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETHOTITEM, 0, 0), r.hot) << r.name;
        std::vector<int> selected;
        for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
            selected.push_back(i);
        EXPECT_EQ(selected, r.selected) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), static_cast<LRESULT>(r.selected.size())) << r.name;
        DestroyWindow(list);
    }
    HWND list = MakeList(LVS_REPORT);
    EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 0, 0)) << "nothing to delete";
    DestroyWindow(list);
}

int CALLBACK_ByKey(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a % 10) - static_cast<int>(b % 10); }
int CALLBACK_ByKeyDown(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b % 10) - static_cast<int>(a % 10); }

TEST_F(ListItems, SortingIsStableAndCarriesStatesAlong)
{
    // lParams 100 + index; the key is lParam % 10, so items are keyed a:2 b:1 c:2 d:1 e:3
    // once the lParams are set to 12, 21, 32, 41, 53.
    struct Row {
        const char* name;
        PFNLVCOMPARE compare;
        Strings order;
    };
    const Row rows[] = {
        {"up", &CALLBACK_ByKey, {L"b", L"d", L"a", L"c", L"e"}},
        {"down", &CALLBACK_ByKeyDown, {L"e", L"a", L"c", L"b", L"d"}},
    };
    for (const Row& r : rows) {
        HWND list = MakeList(LVS_REPORT);
        AddItems(list, {L"a", L"b", L"c", L"d", L"e"});
        const LPARAM keys[] = {12, 21, 32, 41, 53};
        for (int i = 0; i < 5; ++i) {
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            item.lParam = keys[i];
            SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        SetState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED); // "c"
        ASSERT_TRUE(SendMessageW(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(r.compare))) << r.name;
        EXPECT_EQ(Texts(list), r.order) << r.name;
        const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        ASSERT_GE(focused, 0) << r.name;
        EXPECT_EQ(TextOf(list, focused), L"c") << r.name;
        EXPECT_EQ(StateOf(list, focused, LVIS_SELECTED), LVIS_SELECTED) << r.name;
        DestroyWindow(list);
    }
}

// Sorts by the item index the callback is given (SORTITEMSEX), reversed.
int ByIndexReversed(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }

HWND g_sortList = nullptr;
int DeletesWhileSorting(LPARAM a, LPARAM b, LPARAM)
{
    if (SendMessageW(g_sortList, LVM_GETITEMCOUNT, 0, 0) == 4)
        SendMessageW(g_sortList, LVM_DELETEITEM, 0, 0);
    return static_cast<int>(a - b);
}

TEST_F(ListItems, SortByIndexAndSortsTheCallbackUpsets)
{
    HWND list = MakeList(LVS_REPORT);
    AddItems(list, {L"a", L"b", L"c", L"d"});
    ASSERT_TRUE(SendMessageW(list, LVM_SORTITEMSEX, 0, reinterpret_cast<LPARAM>(&ByIndexReversed)));
    EXPECT_EQ(Texts(list), (Strings{L"d", L"c", L"b", L"a"}));
    EXPECT_FALSE(SendMessageW(list, LVM_SORTITEMS, 0, 0)) << "no callback";
    // A callback that deletes an item while the sort runs: the sort gives up, the list is
    // left as the deletion made it and nothing else is lost.
    g_sortList = list;
    EXPECT_FALSE(SendMessageW(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&DeletesWhileSorting)));
    EXPECT_EQ(Texts(list), (Strings{L"c", L"b", L"a"}));
    g_sortList = nullptr;
    DestroyWindow(list);
}

TEST_F(ListItems, FindItemByTextPrefixParamStartAndWrap)
{
    HWND list = MakeList(LVS_REPORT);
    AddItems(list, {L"Alpha", L"alphabet", L"Beta", L"beta", L"Gamma"}); // lParams 100..104
    struct Row {
        const char* name;
        UINT flags;
        const wchar_t* text;
        LPARAM param;
        int start;
        int expected;
    };
    const Row rows[] = {
        {"exact ignores case", LVFI_STRING, L"beta", 0, -1, 2},
        {"exact after the start", LVFI_STRING, L"beta", 0, 2, 3},
        {"exact is not a prefix", LVFI_STRING, L"alpha", 0, 0, -1},
        {"exact wraps to the start", LVFI_STRING | LVFI_WRAP, L"alpha", 0, 0, 0},
        {"prefix from the top", LVFI_PARTIAL | LVFI_STRING, L"ALP", 0, -1, 0},
        {"prefix after the start", LVFI_PARTIAL | LVFI_STRING, L"alp", 0, 0, 1},
        {"prefix runs out", LVFI_PARTIAL | LVFI_STRING, L"alp", 0, 1, -1},
        {"prefix wraps", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, L"alp", 0, 1, 0},
        {"empty prefix matches the next", LVFI_PARTIAL | LVFI_STRING, L"", 0, 1, 2},
        {"longer than the texts", LVFI_PARTIAL | LVFI_STRING, L"Gammas", 0, -1, -1},
        {"by lParam", LVFI_PARAM, nullptr, 103, -1, 3},
        {"lParam before the start", LVFI_PARAM, nullptr, 101, 2, -1},
        {"missing lParam", LVFI_PARAM, nullptr, 99, -1, -1},
        {"start past the end", LVFI_STRING, L"alpha", 0, 10, -1},
        {"start past the end wraps", LVFI_STRING | LVFI_WRAP, L"alpha", 0, 10, 0},
        {"no text given", LVFI_STRING, nullptr, 0, -1, -1},
    };
    for (const Row& r : rows) {
        LVFINDINFOW fi{};
        fi.flags = r.flags;
        fi.psz = r.text;
        fi.lParam = r.param;
        EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(r.start), reinterpret_cast<LPARAM>(&fi)),
            r.expected)
            << r.name;
    }
    DestroyWindow(list);
}

TEST_F(ListItems, NextItemWalksByStateAndDirection)
{
    HWND list = MakeList(LVS_REPORT);
    AddItems(list, {L"0", L"1", L"2", L"3", L"4"});
    SetState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    SetState(list, 3, LVIS_SELECTED | LVIS_CUT, LVIS_SELECTED | LVIS_CUT);
    SetState(list, 4, LVIS_FOCUSED, LVIS_FOCUSED);
    struct Row {
        const char* name;
        int start;
        UINT flags;
        int expected;
    };
    const Row rows[] = {
        {"all from none", -1, LVNI_ALL, 0},
        {"all from the last", 4, LVNI_ALL, -1},
        {"selected from none", -1, LVNI_SELECTED, 1},
        {"selected after one", 1, LVNI_SELECTED, 3},
        {"selected after the last", 3, LVNI_SELECTED, -1},
        {"selected and cut", -1, LVNI_SELECTED | LVNI_CUT, 3},
        {"focused", -1, LVNI_FOCUSED, 4},
        {"focused before the start", 4, LVNI_FOCUSED, -1},
        {"below", 1, LVNI_BELOW, 2},
        {"below and selected", 1, LVNI_BELOW | LVNI_SELECTED, 3},
        {"above", 1, LVNI_ABOVE, 0},
        {"above the first", 0, LVNI_ABOVE, -1},
        {"left in a report", 2, LVNI_TOLEFT, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r.start), r.flags), r.expected) << r.name;
    DestroyWindow(list);
}

TEST_F(ListItems, CallbackTextsAreAskedForAndMayBeKept)
{
    HWND list = MakeList(LVS_REPORT);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = LPSTR_TEXTCALLBACKW;
    item.lParam = 42;
    ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
    int asked = 0;
    bool keep = false;
    std::wstring answer = L"from the parent";
    onNotify = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code != LVN_GETDISPINFOW)
            return 0;
        auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
        ++asked;
        EXPECT_EQ(di->item.lParam, 42);
        di->item.pszText = answer.data();
        if (keep)
            di->item.mask |= LVIF_DI_SETITEM;
        return 0;
    };
    EXPECT_EQ(TextOf(list, 0), L"from the parent");
    EXPECT_EQ(TextOf(list, 0), L"from the parent");
    EXPECT_EQ(asked, 2) << "asked each time";
    keep = true;
    answer = L"kept";
    EXPECT_EQ(TextOf(list, 0), L"kept");
    answer = L"changed";
    EXPECT_EQ(TextOf(list, 0), L"kept") << "LVIF_DI_SETITEM kept the text";
    EXPECT_EQ(asked, 3);
    DestroyWindow(list);
}

TEST_F(ListItems, AnswersAndBuffersAreNeverOverrun)
{
    HWND list = MakeList(LVS_REPORT);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    // The parent fills the whole buffer it was given and leaves no terminator.
    int capacity = 0;
    onNotify = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == LVN_GETDISPINFOW) {
            auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
            capacity = di->item.cchTextMax;
            for (int i = 0; i < di->item.cchTextMax; ++i)
                di->item.pszText[i] = L'x';
        }
        return 0;
    };
    wchar_t big[4096];
    LVITEMW get{};
    get.pszText = big;
    get.cchTextMax = 4096;
    const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&get));
    ASSERT_GT(capacity, 0);
    EXPECT_EQ(n, capacity) << "read no further than the buffer";
    onNotify = nullptr;
    // A small buffer gets the start of the text and a terminator.
    LVITEMW set{};
    set.pszText = const_cast<LPWSTR>(L"abcdef");
    SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set));
    wchar_t small[4] = {L'?', L'?', L'?', L'?'};
    get.pszText = small;
    get.cchTextMax = 4;
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&get)), 3);
    EXPECT_EQ(std::wstring(small), L"abc");
    // Bad indexes and structures are refused.
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMTEXTW, 5, reinterpret_cast<LPARAM>(&get)), 0);
    EXPECT_EQ(std::wstring(small), L"");
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, 0), -1);
    LVITEMW sub{};
    sub.mask = LVIF_TEXT;
    sub.iSubItem = 1;
    sub.pszText = const_cast<LPWSTR>(L"x");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&sub)), -1) << "sub-items are set, not inserted";
    DestroyWindow(list);
}

TEST_F(ListItems, DeleteNotificationsAndTheirQuietAnswer)
{
    for (const LRESULT quiet : {FALSE, TRUE}) {
        HWND list = MakeList(LVS_REPORT);
        AddItems(list, {L"a", L"b", L"c"});
        events.clear();
        onNotify = [&](NMHDR* hdr) -> LRESULT { return hdr->code == LVN_DELETEALLITEMS ? quiet : 0; };
        ASSERT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
        const auto got = Only({LVN_DELETEALLITEMS, LVN_DELETEITEM});
        ASSERT_EQ(got.size(), quiet ? 1u : 4u) << "quiet " << quiet;
        EXPECT_EQ(got[0].item, -1);
        for (size_t i = 1; i < got.size(); ++i) {
            EXPECT_EQ(got[i].code, LVN_DELETEITEM);
            EXPECT_EQ(got[i].lParam, static_cast<LPARAM>(100 + i - 1)) << "each item's own value";
        }
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
        onNotify = nullptr;
        // Destroying the control announces the items it still has.
        AddItems(list, {L"x"});
        events.clear();
        DestroyWindow(list);
        EXPECT_EQ(Only({LVN_DELETEALLITEMS}).size(), 1u);
    }
}

TEST_F(ListItems, InsertAndSetItemNotify)
{
    HWND list = MakeList(LVS_REPORT);
    AddItems(list, {L"a"});
    const auto inserted = Only({LVN_INSERTITEM});
    ASSERT_EQ(inserted.size(), 1u);
    EXPECT_EQ(inserted[0].item, 0);
    EXPECT_EQ(inserted[0].lParam, 100);
    events.clear();
    // Changing the text is offered first; the parent may refuse.
    onNotify = [](NMHDR* hdr) -> LRESULT { return hdr->code == LVN_ITEMCHANGING; };
    LVITEMW set{};
    set.pszText = const_cast<LPWSTR>(L"b");
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(TextOf(list, 0), L"a");
    onNotify = nullptr;
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(TextOf(list, 0), L"b");
    const auto changed = Only({LVN_ITEMCHANGED});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].changed, LVIF_TEXT);
    // Sub-items change quietly and are read back by column.
    events.clear();
    set.iSubItem = 2;
    set.pszText = const_cast<LPWSTR>(L"sub");
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(TextOf(list, 0, 2), L"sub");
    EXPECT_EQ(TextOf(list, 0, 1), L"");
    EXPECT_TRUE(Only({LVN_ITEMCHANGING, LVN_ITEMCHANGED}).empty());
    DestroyWindow(list);
}

TEST_F(ListItems, StateForAllItemsAndSingleSelection)
{
    HWND list = MakeList(LVS_REPORT);
    AddItems(list, {L"a", L"b", L"c"});
    SetState(list, -1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1) << "no item takes the focus for all";
    SetState(list, -1, 0, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    // Focus is one item's at a time.
    SetState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    SetState(list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(StateOf(list, 0, LVIS_FOCUSED), 0u);
    EXPECT_EQ(StateOf(list, 2, LVIS_FOCUSED), LVIS_FOCUSED);
    DestroyWindow(list);

    list = MakeList(LVS_REPORT | LVS_SINGLESEL);
    AddItems(list, {L"a", L"b", L"c"});
    SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    events.clear();
    SetState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(StateOf(list, 2, LVIS_SELECTED), LVIS_SELECTED);
    const auto changes = Only({LVN_ITEMCHANGED});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].item, 0) << "the old selection goes first";
    EXPECT_EQ(changes[1].item, 2);
    DestroyWindow(list);
}

TEST_F(ListItems, ImageListsGoWithTheControlUnlessShared)
{
    for (const DWORD share : {DWORD{0}, LVS_SHAREIMAGELISTS}) {
        const size_t before = gdi::LiveImageListCount();
        HWND list = MakeList(LVS_REPORT | share);
        HIMAGELIST normal = MakeImages(32, 32, 1), small = MakeImages(16, 16, 1), state = MakeImages(16, 16, 2);
        EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(normal)), 0);
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(state));
        EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(small));
        // Replacing a list hands the old one back to the caller, who owns it again.
        HIMAGELIST other = MakeImages(16, 16, 1);
        EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(other)),
            reinterpret_cast<LRESULT>(small));
        ImageList_Destroy(small);
        DestroyWindow(list);
        if (share) {
            EXPECT_EQ(gdi::LiveImageListCount(), before + 3) << "shared lists stay";
            ImageList_Destroy(normal);
            ImageList_Destroy(other);
            ImageList_Destroy(state);
        }
        EXPECT_EQ(gdi::LiveImageListCount(), before) << "share " << share;
    }
}

} // namespace
} // namespace zyn::test
