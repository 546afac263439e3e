// The list view's mouse and keyboard: which notifications a click, a drag, a double click,
// a right click and each key send, in which order, what a refused change leaves, and how
// Ctrl, Shift, the selection mark and type-ahead shape the selection.
#include <set>

#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

class ListInput : public ListViewTest {
protected:
    // A report of five items in one 120-pixel column, focused, nothing selected.
    HWND MakeFive(DWORD style = 0)
    {
        HWND list = MakeList(LVS_REPORT | style, 300, 200);
        AddColumn(list, 0, L"Name", 120);
        AddItems(list, {L"apple", L"banana", L"blueberry", L"cherry", L"bean"});
        SetForegroundWindow(Host());
        SetFocus(list);
        Pump();
        events.clear();
        return list;
    }
    // The middle of an item's label.
    static POINT LabelOf(HWND list, int item)
    {
        const RECT rc = ItemRectOf(list, item, LVIR_LABEL);
        return POINT{rc.left + 5, (rc.top + rc.bottom) / 2};
    }
    void Click(HWND list, int item, std::vector<int> keys = {}, bool right = false)
    {
        const POINT p = LabelOf(list, item);
        ClickAt(list, p.x, p.y, keys, right);
    }
    // The list's own notifications (painting and the header's aside), as text.
    static std::vector<std::string> Story(HWND list)
    {
        std::vector<std::string> out;
        for (const Event& e : events) {
            if (e.msg == WM_CONTEXTMENU) {
                out.push_back("contextmenu");
                continue;
            }
            if (e.msg != WM_NOTIFY || e.from != list || e.code == NM_CUSTOMDRAW)
                continue;
            std::string s;
            switch (e.code) {
            case LVN_ITEMCHANGING: s = "changing"; break;
            case LVN_ITEMCHANGED: s = "changed"; break;
            case NM_CLICK: s = "click"; break;
            case NM_DBLCLK: s = "dblclk"; break;
            case NM_RCLICK: s = "rclick"; break;
            case NM_RETURN: s = "return"; break;
            case NM_SETFOCUS: s = "setfocus"; break;
            case NM_KILLFOCUS: s = "killfocus"; break;
            case LVN_ITEMACTIVATE: s = "activate"; break;
            case LVN_BEGINDRAG: s = "begindrag"; break;
            case LVN_BEGINRDRAG: s = "beginrdrag"; break;
            case LVN_KEYDOWN: s = "keydown"; break;
            case LVN_COLUMNCLICK: s = "columnclick"; break;
            case NM_RELEASEDCAPTURE: s = "releasedcapture"; break;
            default: s = "code" + std::to_string(0u - e.code); break;
            }
            if (e.code == LVN_ITEMCHANGING || e.code == LVN_ITEMCHANGED)
                s += " " + std::to_string(e.item) + " " + std::to_string(e.oldState) + ">" + std::to_string(e.newState);
            else if (e.code != NM_SETFOCUS && e.code != NM_KILLFOCUS && e.code != NM_RETURN && e.code != LVN_KEYDOWN &&
                     e.code != NM_RELEASEDCAPTURE)
                s += " " + std::to_string(e.item);
            if (e.code == LVN_COLUMNCLICK)
                s += "/" + std::to_string(e.subItem);
            out.push_back(s);
        }
        return out;
    }
    static std::set<int> Selected(HWND list)
    {
        std::set<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
            out.insert(i);
        return out;
    }
    static int Focused(HWND list)
    {
        return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    }
};

using Lines = std::vector<std::string>;

// A click as the list reports it: the selection first (the others lose LVIS_SELECTED, the
// item gains it), then LVIS_FOCUSED moves in two changes of its own (the old focused item
// loses it, the item gains it), then the list takes the keyboard focus; after the click's
// notice, NM_RELEASEDCAPTURE for the capture that told the click from a drag.
TEST_F(ListInput, AClickSelectsThenFocusesThenReleasesTheCapture)
{
    struct Row {
        const char* name;
        bool listFocused;          // the list has the keyboard focus before the click
        std::vector<int> before;   // plain clicks first (-1: none; item 0 then starts selected and focused)
        int item;                  // -1: below the items
        std::vector<int> keys;     // held down first (the focused list hears them: "keydown")
        bool right;
        Lines story;               // 3 = focused | selected
    };
    const int C = VK_CONTROL;
    const Row rows[] = {
        {"another item, the list unfocused", false, {}, 1, {}, false,
            {"changing 0 3>1", "changed 0 3>1", "changing 1 0>2", "changed 1 0>2", "changing 0 1>0", "changed 0 1>0",
                "changing 1 2>3", "changed 1 2>3", "setfocus", "click 1", "releasedcapture"}},
        {"ctrl adds: the selection, then the focus", true, {1}, 3, {C}, false,
            {"keydown", "changing 3 0>2", "changed 3 0>2", "changing 1 3>2", "changed 1 3>2", "changing 3 2>3", "changed 3 2>3",
                "click 3", "releasedcapture"}},
        {"ctrl takes away and the focus stays", true, {1}, 1, {C}, false,
            {"keydown", "changing 1 3>1", "changed 1 3>1", "click 1", "releasedcapture"}},
        {"a right click selects an unselected item alike", true, {1}, 3, {}, true,
            {"changing 1 3>1", "changed 1 3>1", "changing 3 0>2", "changed 3 0>2", "changing 1 1>0", "changed 1 1>0",
                "changing 3 2>3", "changed 3 2>3", "rclick 3", "releasedcapture", "contextmenu"}},
        {"below the items: the selection goes, the focus stays", true, {1}, -1, {}, false,
            {"changing 1 3>1", "changed 1 3>1", "click -1", "releasedcapture"}},
    };
    for (const Row& r : rows) {
        HWND list = MakeFive();
        if (r.before.empty()) {
            LVITEMW st{};
            st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
        }
        for (const int item : r.before)
            Click(list, item);
        if (!r.listFocused)
            SetFocus(Host());
        Pump();
        events.clear();
        POINT at = LabelOf(list, std::max(r.item, 0));
        if (r.item < 0)
            at.y = ItemRectOf(list, 4, LVIR_LABEL).bottom + 10;
        ClickAt(list, at.x, at.y, r.keys, r.right);
        EXPECT_EQ(Story(list), r.story) << r.name;
        const auto clicks = Only({r.right ? NM_RCLICK : NM_CLICK});
        ASSERT_EQ(clicks.size(), 1u) << r.name;
        EXPECT_EQ(clicks[0].pt.x, at.x) << r.name << ": ptAction in client coordinates";
        EXPECT_EQ(clicks[0].lParam, r.item >= 0 ? 100 + r.item : 0) << r.name;
        DestroyWindow(list);
    }
}

TEST_F(ListInput, ARefusedChangeLeavesThatItemAlone)
{
    HWND list = MakeFive();
    Click(list, 0);
    events.clear();
    onNotify = [](NMHDR* hdr) -> LRESULT {
        return hdr->code == LVN_ITEMCHANGING && reinterpret_cast<NMLISTVIEW*>(hdr)->iItem == 2;
    };
    Click(list, 2);
    // Item 2's selection is refused, and then its focus; item 0 gave up both.
    EXPECT_EQ(Story(list), (Lines{"changing 0 3>1", "changed 0 3>1", "changing 2 0>2", "changing 0 1>0", "changed 0 1>0",
                               "changing 2 0>1", "click 2", "releasedcapture"}));
    EXPECT_TRUE(Selected(list).empty());
    EXPECT_EQ(Focused(list), -1);
    DestroyWindow(list);
}

TEST_F(ListInput, ModifiersShapeTheSelection)
{
    struct Step {
        int item;               // -1: below the items
        std::vector<int> keys;
    };
    struct Row {
        const char* name;
        DWORD style;
        std::vector<Step> steps;
        std::set<int> selected;
        int focused, mark;
    };
    const int C = VK_CONTROL, S = VK_SHIFT;
    const Row rows[] = {
        {"ctrl adds", 0, {{1, {}}, {3, {C}}}, {1, 3}, 3, 3},
        {"ctrl takes away", 0, {{1, {}}, {1, {C}}}, {}, 1, 1},
        {"shift spans down", 0, {{1, {}}, {3, {S}}}, {1, 2, 3}, 3, 1},
        {"shift spans up", 0, {{3, {}}, {1, {S}}}, {1, 2, 3}, 1, 3},
        {"shift keeps the mark", 0, {{1, {}}, {3, {S}}, {0, {S}}}, {0, 1}, 0, 1},
        {"ctrl shift adds a span", 0, {{1, {}}, {3, {C}}, {4, {C, S}}}, {1, 3, 4}, 4, 3},
        {"a plain click ends a multiple selection", 0, {{1, {}}, {3, {S}}, {2, {}}}, {2}, 2, 2},
        {"a click below the items clears", 0, {{1, {}}, {3, {C}}, {-1, {}}}, {}, 3, 3},
        {"single selection ignores ctrl", LVS_SINGLESEL, {{1, {}}, {3, {C}}}, {3}, 3, 3},
        {"single selection ignores shift", LVS_SINGLESEL, {{1, {}}, {3, {S}}}, {3}, 3, 3},
    };
    for (const Row& r : rows) {
        HWND list = MakeFive(r.style);
        for (const Step& step : r.steps) {
            if (step.item < 0) {
                const RECT last = ItemRectOf(list, 4, LVIR_LABEL);
                ClickAt(list, last.left + 5, last.bottom + 10, step.keys);
            } else {
                Click(list, step.item, step.keys);
            }
        }
        EXPECT_EQ(Selected(list), r.selected) << r.name;
        EXPECT_EQ(Focused(list), r.focused) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), r.mark) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), static_cast<LRESULT>(r.selected.size())) << r.name;
        DestroyWindow(list);
    }
}

TEST_F(ListInput, KeysMoveTheFocusAndSelection)
{
    struct Row {
        const char* name;
        std::vector<std::pair<int, std::vector<int>>> keys;
        std::set<int> selected;
        int focused;
    };
    const int C = VK_CONTROL, S = VK_SHIFT;
    // Item 2 is clicked first.
    const Row rows[] = {
        {"down", {{VK_DOWN, {}}}, {3}, 3},
        {"up", {{VK_UP, {}}}, {1}, 1},
        {"home", {{VK_HOME, {}}}, {0}, 0},
        {"end", {{VK_END, {}}}, {4}, 4},
        {"down past the end", {{VK_END, {}}, {VK_DOWN, {}}}, {4}, 4},
        {"shift down spans", {{VK_DOWN, {S}}, {VK_DOWN, {S}}}, {2, 3, 4}, 4},
        {"ctrl down moves only the focus", {{VK_DOWN, {C}}}, {2}, 3},
        {"ctrl space adds the focused item", {{VK_DOWN, {C}}, {VK_SPACE, {C}}}, {2, 3}, 3},
        {"space selects the focused item alone", {{VK_DOWN, {C}}, {VK_SPACE, {}}}, {3}, 3},
        {"page down to the last one shown", {{VK_NEXT, {}}}, {4}, 4},
        {"page up to the first one shown", {{VK_PRIOR, {}}}, {0}, 0},
    };
    for (const Row& r : rows) {
        HWND list = MakeFive();
        Click(list, 2);
        events.clear();
        for (const auto& [vk, mods] : r.keys)
            Press(vk, mods);
        EXPECT_EQ(Selected(list), r.selected) << r.name;
        EXPECT_EQ(Focused(list), r.focused) << r.name;
        const auto story = Story(list);
        ASSERT_FALSE(story.empty()) << r.name;
        EXPECT_EQ(story.front(), "keydown") << r.name << ": the key is reported before it acts";
        DestroyWindow(list);
    }
}

TEST_F(ListInput, PagingThroughALongList)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    AddColumn(list, 0, L"Name", 120);
    std::vector<std::wstring> texts;
    for (int i = 0; i < 50; ++i)
        texts.push_back(L"item " + std::to_wstring(i));
    AddItems(list, texts);
    SetForegroundWindow(Host());
    SetFocus(list);
    // Rows fully shown: (client height - header height) / row height, with the header the
    // font's line height + 6 and a row the line height + 2.
    const int h = IconTitleLineHeight();
    const int page = (200 - (h + 6)) / (h + 2);
    ASSERT_EQ(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), page);
    Press(VK_HOME);
    Press(VK_NEXT);
    EXPECT_EQ(Focused(list), page - 1) << "the last row shown";
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
    Press(VK_NEXT);
    EXPECT_EQ(Focused(list), 2 * page - 1) << "a page further";
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), page) << "scrolled to show it at the bottom";
    Press(VK_PRIOR);
    EXPECT_EQ(Focused(list), page) << "the first row shown";
    Press(VK_PRIOR);
    EXPECT_EQ(Focused(list), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
    Press(VK_END);
    EXPECT_EQ(Focused(list), 49);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 50 - page);
    DestroyWindow(list);
}

TEST_F(ListInput, TypeAheadSearchesByPrefix)
{
    HWND list = MakeFive();
    Click(list, 0);
    struct Step {
        wchar_t ch;
        uint64_t pauseBefore;
        int expected;
    };
    // apple, banana, blueberry, cherry, bean.
    const Step steps[] = {
        {L'b', 0, 1},       // "b": the next item starting with b
        {L'l', 100, 2},     // "bl"
        {L'b', 2000, 4},    // a new search: the next b after blueberry
        {L'b', 100, 1},     // "bb": the same letter steps on, wrapping
        {L'C', 2000, 3},    // case does not matter
        {L'z', 2000, 3},    // nothing starts with z: the focus stays
    };
    int n = 0;
    for (const Step& st : steps) {
        base::Clock::Advance(st.pauseBefore);
        user::InjectChar(st.ch);
        Pump();
        EXPECT_EQ(Focused(list), st.expected) << "step " << n;
        EXPECT_EQ(Selected(list), (std::set<int>{st.expected})) << "step " << n;
        ++n;
    }
    DestroyWindow(list);
}

TEST_F(ListInput, RightClicksSelectAndAskForAMenu)
{
    HWND list = MakeFive();
    Click(list, 1);
    Click(list, 3, {VK_CONTROL});
    events.clear();
    Click(list, 3, {}, true);
    EXPECT_EQ(Selected(list), (std::set<int>{1, 3})) << "a selected item keeps the selection";
    EXPECT_EQ(Story(list), (Lines{"rclick 3", "releasedcapture", "contextmenu"}));
    const auto menu = Only({WM_CONTEXTMENU});
    ASSERT_EQ(menu.size(), 1u);
    POINT expected = LabelOf(list, 3);
    ClientToScreen(list, &expected);
    EXPECT_EQ(menu[0].from, list);
    EXPECT_EQ(menu[0].pt.x, expected.x);
    EXPECT_EQ(menu[0].pt.y, expected.y);
    events.clear();
    // An answer to NM_RCLICK means the parent has dealt with it: no menu request.
    onNotify = [](NMHDR* hdr) -> LRESULT { return hdr->code == NM_RCLICK; };
    Click(list, 0, {}, true);
    EXPECT_EQ(Selected(list), (std::set<int>{0})) << "an unselected item is selected alone";
    EXPECT_TRUE(Only({WM_CONTEXTMENU}).empty());
    DestroyWindow(list);
}

TEST_F(ListInput, DragsDoubleClicksAndEnter)
{
    struct Row {
        const char* name;
        bool right;
        const char* expected;
    };
    for (const Row& r : {Row{"left", false, "begindrag 2"}, Row{"right", true, "beginrdrag 2"}}) {
        HWND list = MakeFive();
        const POINT p = LabelOf(list, 2);
        POINT s = p;
        ClientToScreen(list, &s);
        const auto button = r.right ? user::MouseButton::Right : user::MouseButton::Left;
        user::InjectMouseMove(s.x, s.y);
        user::InjectMouseButton(button, true);
        // Beyond the drag rectangle (SM_CXDRAG = 4 pixels either way).
        user::InjectMouseMove(s.x + 5, s.y);
        user::InjectMouseButton(button, false);
        Pump();
        const Lines story = Story(list);
        EXPECT_EQ(story.back(), r.expected) << r.name;
        EXPECT_EQ(std::count(story.begin(), story.end(), "click 2") + std::count(story.begin(), story.end(), "rclick 2"), 0)
            << r.name << ": a drag is no click";
        const auto drag = Only({LVN_BEGINDRAG, LVN_BEGINRDRAG});
        ASSERT_EQ(drag.size(), 1u);
        EXPECT_EQ(drag[0].pt.x, p.x) << "where the button went down";
        DestroyWindow(list);
    }
    HWND list = MakeFive();
    Click(list, 1);
    base::Clock::Advance(2000);
    events.clear();
    const POINT p = LabelOf(list, 3);
    DoubleClickAt(list, p.x, p.y);
    EXPECT_EQ(Story(list), (Lines{"changing 1 3>1", "changed 1 3>1", "changing 3 0>2", "changed 3 0>2", "changing 1 1>0",
                               "changed 1 1>0", "changing 3 2>3", "changed 3 2>3", "click 3", "releasedcapture", "dblclk 3",
                               "activate 3"}));
    events.clear();
    Press(VK_RETURN);
    EXPECT_EQ(Story(list), (Lines{"keydown", "return", "activate 3"}));
    DestroyWindow(list);
}

TEST_F(ListInput, HeaderClicksBecomeColumnClicks)
{
    for (const DWORD noSort : {DWORD{0}, LVS_NOSORTHEADER}) {
        HWND list = MakeList(LVS_REPORT | noSort);
        AddColumn(list, 0, L"Name", 100);
        AddColumn(list, 1, L"Size", 80);
        AddItems(list, {L"a"});
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        ASSERT_NE(header, nullptr);
        events.clear();
        ClickAt(header, 140, 5);
        const auto clicks = Only({LVN_COLUMNCLICK});
        if (noSort) {
            EXPECT_TRUE(clicks.empty()) << "a header without buttons is not clicked";
        } else {
            ASSERT_EQ(clicks.size(), 1u);
            EXPECT_EQ(clicks[0].subItem, 1);
            EXPECT_EQ(clicks[0].item, -1);
            // The parent hears the header's own click too, first.
            const auto all = Codes();
            const auto hdn = std::find(all.begin(), all.end(), HDN_ITEMCLICKW);
            const auto lvn = std::find(all.begin(), all.end(), LVN_COLUMNCLICK);
            EXPECT_LT(hdn, lvn);
        }
        DestroyWindow(list);
    }
}

TEST_F(ListInput, FocusChangesAreReported)
{
    HWND list = MakeFive();
    HWND other = CreateWindowExW(0, kListHost, L"", WS_CHILD | WS_VISIBLE, 400, 10, 50, 50, Host(), nullptr, nullptr,
        nullptr);
    SetFocus(other);
    Pump();
    SetFocus(list);
    Pump();
    EXPECT_EQ(Story(list), (Lines{"killfocus", "setfocus"}));
    DestroyWindow(other);
    DestroyWindow(list);
}

} // namespace
} // namespace zyn::test
