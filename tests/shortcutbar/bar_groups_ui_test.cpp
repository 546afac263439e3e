// The shortcut bar's groups: insertion at every kind of order, swaps, deletion of the
// expanded group, stable sorts, finding by title prefix, unknown handles, the layout of
// headers and the child window (a bar too short for its headers included), the settings
// broadcast, the expansion animation on the virtual clock, and destruction.
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/comctl/listview.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"

namespace shbtest {
namespace {

using Titles = std::vector<std::wstring>;
using Lines = std::vector<std::string>;

class GroupsTest : public BarTest {};

TEST_F(GroupsTest, InsertionPlacesGroupsByOrderAndRefusesOthers)
{
    struct Row {
        const char* name;
        int order;
        bool ok;
        Titles expected;
    };
    const Row rows[] = {
        {"-1 goes on top", -1, true, {L"N", L"C", L"A", L"B"}},
        {"-2 appends", -2, true, {L"C", L"A", L"B", L"N"}},
        {"-3 appends and sorts", -3, true, {L"A", L"B", L"C", L"N"}},
        {"0 shifts everything", 0, true, {L"N", L"C", L"A", L"B"}},
        {"1 goes between", 1, true, {L"C", L"N", L"A", L"B"}},
        {"2 goes before the last", 2, true, {L"C", L"A", L"N", L"B"}},
        {"the count appends", 3, true, {L"C", L"A", L"B", L"N"}},
        {"past the count is refused", 4, false, {L"C", L"A", L"B"}},
        {"-4 is refused", -4, false, {L"C", L"A", L"B"}},
    };
    for (const Row& r : rows) {
        MakeBar(0);
        AddGroups({L"C", L"A", L"B"});
        // The record form: the short form takes -1 for "no order given" (an append).
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | SHBIF_ORDER;
        info.pszText = const_cast<LPWSTR>(L"N");
        info.nTextMax = 1;
        info.nOrder = r.order;
        const HSHBGROUP h = bar->InsertGroup(&info);
        info.pszText = nullptr;
        EXPECT_EQ(h != nullptr, r.ok) << r.name;
        EXPECT_EQ(TitlesInOrder(), r.expected) << r.name;
        // The orders are a permutation of 0..count-1 whatever happened.
        for (int i = 0; i < bar->GetGroupCount(); ++i)
            EXPECT_NE(bar->FindGroupByOrder(i), nullptr) << r.name << " order " << i;
        bar.reset();
    }
    // The short form: -1 means no order, an append.
    MakeBar(0);
    AddGroups({L"C", L"A"});
    bar->InsertGroup(L"N", -1);
    EXPECT_EQ(TitlesInOrder(), (Titles{L"C", L"A", L"N"}));
}

TEST_F(GroupsTest, SettingAnOrderSwapsTheTwoGroupsAndNegativeOrdersAreForInsertionOnly)
{
    MakeBar(0);
    const auto g = AddGroups({L"A", L"B", L"C", L"D"});
    EXPECT_TRUE(bar->SetGroupOrder(g[0], 2));
    EXPECT_EQ(TitlesInOrder(), (Titles{L"C", L"B", L"A", L"D"}));
    EXPECT_TRUE(bar->SetGroupOrder(g[3], 0));
    EXPECT_EQ(TitlesInOrder(), (Titles{L"D", L"B", L"A", L"C"}));
    for (int bad : {-1, -2, -3, 4}) {
        EXPECT_FALSE(bar->SetGroupOrder(g[1], bad)) << bad;
        EXPECT_EQ(TitlesInOrder(), (Titles{L"D", L"B", L"A", L"C"})) << bad;
    }
}

TEST_F(GroupsTest, DeletingTheExpandedGroupExpandsTheOneTakingItsPlace)
{
    MakeBar(0);
    auto g = AddGroups({L"A", L"B", L"C"});
    bar->ExpandGroup(g[1]);
    TakeLog();
    ASSERT_TRUE(bar->DeleteGroup(g[1]));
    EXPECT_EQ(bar->GetExpandedGroup(), g[2]) << "C took B's order";
    EXPECT_EQ(TakeLog(), (Lines{"80D2 B -1", "80D7 C -1", "80D5 C -1"}));

    // The expanded last group: the group of order 0 follows.
    ASSERT_TRUE(bar->DeleteGroup(g[2]));
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);

    // A veto of the new expansion leaves no group expanded, never the dead one.
    g = AddGroups({L"E", L"F"});
    bar->ExpandGroup(g[1]);
    answers[SHBN_GROUPEXPANDING] = 1;
    ASSERT_TRUE(bar->DeleteGroup(g[1]));
    EXPECT_EQ(bar->GetExpandedGroup(), nullptr);
    EXPECT_EQ(bar->GetChildWndRect(), CRect()) << "no child area without an expanded group";
    answers.clear();

    // The parent keeps a group by answering 0x80D2.
    answers[SHBN_DELETEGROUP] = 1;
    EXPECT_FALSE(bar->DeleteGroup(g[0]));
    EXPECT_EQ(bar->GetGroupCount(), 2);
    answers.clear();
    EXPECT_FALSE(bar->DeleteGroup(reinterpret_cast<HSHBGROUP>(999)));
    EXPECT_TRUE(bar->DeleteAllGroups());
    EXPECT_EQ(bar->GetGroupCount(), 0);
}

TEST_F(GroupsTest, SortsAreStableBothWays)
{
    MakeBar(0);
    AddGroups({L"b", L"A", L"a", L"B"});
    EXPECT_TRUE(bar->SortGroups(1));
    EXPECT_EQ(TitlesInOrder(), (Titles{L"A", L"a", L"b", L"B"}));
    EXPECT_EQ(bar->GetSortOrder(), 1);
    EXPECT_TRUE(bar->SortGroups(-1));
    EXPECT_EQ(TitlesInOrder(), (Titles{L"b", L"B", L"A", L"a"}));
    // Order 0 is remembered and changes nothing.
    EXPECT_TRUE(bar->SortGroups(0));
    EXPECT_EQ(bar->GetSortOrder(), 0);
    EXPECT_EQ(TitlesInOrder(), (Titles{L"b", L"B", L"A", L"a"}));
    // A callback: by length, longest first; equals keep their order.
    bar->DeleteAllGroups();
    AddGroups({L"xx", L"y", L"zzz", L"ww"});
    EXPECT_TRUE(bar->SortGroupsCB(
        [](HSHBGROUP a, HSHBGROUP b, LPARAM p) {
            auto* self = reinterpret_cast<COXShortcutBar*>(p);
            return self->GetGroupText(a).GetLength() - self->GetGroupText(b).GetLength();
        },
        reinterpret_cast<LPARAM>(bar.get()), -1));
    EXPECT_EQ(TitlesInOrder(), (Titles{L"zzz", L"xx", L"ww", L"y"}));
    EXPECT_FALSE(bar->SortGroupsCB(nullptr, 0, 1));
}

TEST_F(GroupsTest, FindingByTitlePrefixParamAndOrder)
{
    MakeBar(0);
    const auto g = AddGroups({L"Mail", L"Mailbox", L"Notes", L""});
    bar->SetGroupData(g[2], 42);
    struct Row {
        const wchar_t* title;
        HSHBGROUP expected;
    };
    const Row rows[] = {
        {L"Notes", g[2]}, {L"No", g[2]}, {L"Mailbox", g[1]}, {L"Mailboxes", nullptr},
        {L"mail", nullptr} /* titles keep their case */, {L"", g[3]} /* only the empty title */,
    };
    for (const Row& r : rows)
        EXPECT_EQ(bar->FindGroupByTitle(r.title), r.expected) << std::string(r.title, r.title + std::wcslen(r.title));
    // "Ma" begins both Mail and Mailbox: either is a right answer.
    const HSHBGROUP ma = bar->FindGroupByTitle(L"Ma");
    EXPECT_TRUE(ma == g[0] || ma == g[1]);
    EXPECT_EQ(bar->FindGroupByTitle(nullptr), nullptr);
    EXPECT_EQ(bar->FindGroupByParam(42), g[2]);
    EXPECT_EQ(bar->FindGroupByParam(43), nullptr);
    EXPECT_EQ(bar->FindGroupByOrder(1), g[1]);
    EXPECT_EQ(bar->FindGroupByOrder(4), nullptr);
}

TEST_F(GroupsTest, TitlesAreCopiedUpToTheirTerminatorAndWhole)
{
    MakeBar(0);
    // A buffer of exactly 4 characters that claims 100: the copy stops at the terminator.
    auto text = std::make_unique<wchar_t[]>(4);
    std::wcscpy(text.get(), L"abc");
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = text.get();
    info.nTextMax = 100;
    const HSHBGROUP h = bar->InsertGroup(&info);
    info.pszText = nullptr;
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(bar->GetGroupText(h), CString(L"abc"));
    // A counted title takes only its count.
    EXPECT_TRUE(bar->SetGroupText(h, L"abcdef", 2));
    EXPECT_EQ(bar->GetGroupText(h), CString(L"ab"));
    // GetGroupInfo with reset hands out a copy the record owns.
    SHB_GROUPINFO out;
    ASSERT_TRUE(bar->GetGroupInfo(h, &out, TRUE));
    EXPECT_TRUE(out.OwnsText());
    EXPECT_EQ(std::wstring(out.pszText, static_cast<size_t>(out.nTextMax)), L"ab");
    EXPECT_EQ(out.nMask & SHBIF_TEXT, SHBIF_TEXT);
}

TEST_F(GroupsTest, UnknownHandlesAnswerTheirEmptyValuesAndChangeNothing)
{
    MakeBar(0);
    const auto g = AddGroups({L"A", L"B"});
    bar->ExpandGroup(g[0]);
    const auto bogus = reinterpret_cast<HSHBGROUP>(77);
    TakeLog();
    EXPECT_EQ(bar->ExpandGroup(bogus), nullptr);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
    EXPECT_EQ(bar->ExpandGroup(nullptr), nullptr);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
    EXPECT_TRUE(TakeLog().empty()) << "nothing is asked about an unknown group";
    EXPECT_EQ(bar->GetGroupText(bogus), CString());
    EXPECT_EQ(bar->GetGroupImage(bogus), -1);
    EXPECT_EQ(bar->GetGroupImageExpanded(bogus), -1);
    EXPECT_EQ(bar->GetGroupOrder(bogus), -1);
    EXPECT_EQ(bar->GetGroupView(bogus), -1);
    EXPECT_EQ(bar->GetGroupData(bogus), 0);
    EXPECT_EQ(bar->GetGroupBkColor(bogus), static_cast<COLORREF>(-1));
    EXPECT_EQ(bar->GetGroupHeaderTextColor(bogus), static_cast<COLORREF>(-1));
    EXPECT_EQ(bar->GetGroupHeaderHeight(bogus), -1);
    EXPECT_EQ(bar->GetGroupHeaderTextFormat(bogus), 0u);
    EXPECT_EQ(bar->GetGroupTextFont(bogus), nullptr);
    EXPECT_EQ(bar->GetGroupHeaderTextFont(bogus), nullptr);
    EXPECT_EQ(bar->GetGroupDescriptor(bogus), nullptr);
    EXPECT_EQ(bar->GetGroupChildWnd(bogus), nullptr);
    EXPECT_EQ(bar->GetGroupListCtrl(bogus), nullptr);
    EXPECT_FALSE(bar->SetGroupText(bogus, L"x"));
    EXPECT_FALSE(bar->SetGroupView(bogus, 2));
    EXPECT_EQ(bar->GetLCItemCount(bogus), -1);
    EXPECT_EQ(bar->SortLCItems(bogus), -1);
    // Defaults of a known group.
    EXPECT_EQ(bar->GetGroupView(g[1]), SHB_LARGEICON);
    EXPECT_EQ(bar->GetGroupHeaderHeight(g[1]), 18);
    EXPECT_EQ(bar->GetGroupHeaderTextFormat(g[1]), 0x8025u);
    EXPECT_EQ(bar->GetGroupHeaderBkColor(g[1]), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(bar->GetGroupImageExpanded(g[1]), -1);
}

TEST_F(GroupsTest, RecordsAreValidatedFieldByField)
{
    MakeBar(0);
    imageLists.push_back(std::make_unique<CImageList>());
    imageLists.back()->Attach(SolidImages(16, 16, {RGB(255, 0, 0), RGB(0, 255, 0)}));
    bar->SetImageList(imageLists.back().get());
    CTraceWnd stranger;
    ASSERT_TRUE(stranger.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr));
    struct Row {
        const char* name;
        UINT mask;
        int image, view;
        HWND child;
        bool ok;
    };
    const Row rows[] = {
        {"image 1 of 2", SHBIF_IMAGE, 1, 0, nullptr, true},
        {"image 2 of 2", SHBIF_IMAGE, 2, 0, nullptr, false},
        {"no image", SHBIF_IMAGE, -1, 0, nullptr, true},
        {"view 3", SHBIF_VIEW, 0, 3, nullptr, true},
        {"view 4", SHBIF_VIEW, 0, 4, nullptr, false},
        {"view -1", SHBIF_VIEW, 0, -1, nullptr, false},
        {"a child of another window", SHBIF_CHILDWND, 0, 0, stranger.m_hWnd, false},
        {"a bit outside the mask", 0x01000000, 0, 0, nullptr, false},
    };
    for (const Row& r : rows) {
        SHB_GROUPINFO info;
        info.nMask = r.mask;
        info.nImage = r.image;
        info.nView = r.view;
        info.hwndChild = r.child;
        const int before = bar->GetGroupCount();
        const HSHBGROUP h = bar->InsertGroup(&info);
        EXPECT_EQ(h != nullptr, r.ok) << r.name;
        EXPECT_EQ(bar->GetGroupCount(), before + (r.ok ? 1 : 0)) << r.name;
    }
    stranger.DestroyWindow();
}

TEST_F(GroupsTest, ABarStyleIsCheckedBeforeAnyWindowIsMade)
{
    const size_t windows = zyn::user::LiveWindowCount();
    COXShortcutBar refused;
    EXPECT_FALSE(refused.Create(&parent, CRect(0, 0, 100, 100), 0x10000, 1));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows);
    MakeBar(SHBS_EDITHEADERS);
    wchar_t className[64] = {};
    GetClassNameW(bar->m_hWnd, className, 64);
    EXPECT_EQ(std::wstring(className), L"OXShortcutBar");
    EXPECT_EQ(GetClassLongPtrW(bar->m_hWnd, GCL_STYLE) & CS_DBLCLKS, static_cast<ULONG_PTR>(CS_DBLCLKS));
    EXPECT_FALSE(bar->SetBarStyle(0x18000));
    EXPECT_EQ(bar->GetBarStyle(), SHBS_EDITHEADERS);
    EXPECT_TRUE(bar->SetBarStyle(0xFFFF));
    // Subclassing an existing window gives the style 0x020F.
    COXShortcutBar attached;
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent.m_hWnd, nullptr,
        nullptr, nullptr);
    ASSERT_TRUE(attached.SubclassWindow(plain));
    EXPECT_EQ(attached.GetBarStyle(), 0x020Fu);
    attached.DestroyWindow();
}

TEST_F(GroupsTest, HeadersStackAndTheExpandedChildTakesTheFreeRoom)
{
    MakeBar(0, 200, 300);
    const auto g = AddGroups({L"A", L"B", L"C"});
    bar->ExpandGroup(g[0]);
    // Headers of 18; the free room is 300 - 54 = 246 under A, inset by 5 on every side;
    // B and C move down by 246.
    CRect a, b, c;
    bar->GetGroupHeaderRect(g[0], &a);
    bar->GetGroupHeaderRect(g[1], &b);
    bar->GetGroupHeaderRect(g[2], &c);
    EXPECT_EQ(a, CRect(0, 0, 200, 18));
    EXPECT_EQ(b, CRect(0, 264, 200, 282));
    EXPECT_EQ(c, CRect(0, 282, 200, 300));
    EXPECT_EQ(bar->GetChildWndRect(), CRect(5, 23, 195, 259));
    struct Hit {
        CPoint pt;
        UINT code;
        HSHBGROUP group;
    };
    const Hit hits[] = {
        {{10, 10}, SHB_ONHEADER, g[0]}, {{100, 100}, SHB_ONCHILD, g[0]}, {{2, 100}, SHB_NOWHERE, nullptr},
        {{100, 261}, SHB_NOWHERE, nullptr}, {{199, 299}, SHB_ONHEADER, g[2]}, {{100, 264}, SHB_ONHEADER, g[1]},
    };
    for (const Hit& h : hits) {
        UINT code = 0;
        EXPECT_EQ(bar->HitTest(h.pt, &code), h.group) << h.pt.x << "," << h.pt.y;
        EXPECT_EQ(code, h.code) << h.pt.x << "," << h.pt.y;
    }
    // The list of A is shown in the child rectangle.
    const HWND list = bar->GetGroupChildWndHandle(g[0]);
    EXPECT_TRUE(IsWindowVisible(list));
    CRect lr;
    GetWindowRect(list, &lr);
    EXPECT_EQ(lr, CRect(5, 23, 195, 259));

    // A margin of 4 between headers; B expanded.
    bar->SetGroupMargin(4);
    bar->ExpandGroup(g[1]);
    bar->GetGroupHeaderRect(g[0], &a);
    bar->GetGroupHeaderRect(g[1], &b);
    bar->GetGroupHeaderRect(g[2], &c);
    // Stacked: 0, 22, 44 (last bottom 62); free 238 goes under B: C at 44 + 238 = 282.
    EXPECT_EQ(a, CRect(0, 0, 200, 18));
    EXPECT_EQ(b, CRect(0, 22, 200, 40));
    EXPECT_EQ(c, CRect(0, 282, 200, 300));
    EXPECT_EQ(bar->GetChildWndRect(), CRect(5, 45, 195, 273));
    EXPECT_FALSE(IsWindowVisible(list));

    // Too short for the headers: no child area, the expanded list hidden, no child hits.
    SetWindowPos(bar->m_hWnd, nullptr, 0, 0, 200, 40, SWP_NOZORDER);
    Pump();
    EXPECT_EQ(bar->GetChildWndRect(), CRect());
    EXPECT_FALSE(IsWindowVisible(bar->GetGroupChildWndHandle(g[1])));
    UINT code = 0;
    EXPECT_EQ(bar->HitTest(CPoint(100, 30), &code), g[1]);
    EXPECT_EQ(code, SHB_ONHEADER);
    EXPECT_EQ(bar->HitTest(CPoint(100, 41), &code), nullptr);
    EXPECT_EQ(code, SHB_NOWHERE);
}

TEST_F(GroupsTest, ChangedSettingsAreBroadcastToEveryDescendant)
{
    MakeBar(0);
    // An own child window (with a child of its own) stands for a group's window.
    CTraceWnd own, grandchild;
    std::vector<LPARAM> heard;
    own.answer = grandchild.answer = [&](UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
        if (msg != SHBM_SHBINFOCHANGED)
            return false;
        heard.push_back(lp);
        r = 0;
        return true;
    };
    ASSERT_TRUE(own.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 10, 10, bar->m_hWnd, nullptr));
    ASSERT_TRUE(grandchild.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 5, 5, own.m_hWnd, nullptr));
    bar->InsertGroup(L"own", -1, -1, -1, 0, -1, nullptr, own.m_hWnd);
    struct Row {
        const char* name;
        std::function<void()> change;
        LPARAM flag;
    };
    const Row rows[] = {
        {"scroll-button size", [&] { bar->SetScrollButtonSize(CSize(20, 20)); }, 1},
        {"scrolling delay", [&] { bar->SetScrollingDelay(150); }, 2},
        {"auto-scrolling delay", [&] { bar->SetAutoScrollingDelay(300); }, 4},
        {"group margin", [&] { bar->SetGroupMargin(3); }, 8},
        {"child-window margins", [&] { bar->SetChildWndMargins(CRect(1, 2, 3, 4)); }, 16},
        {"bar style", [&] { bar->SetBarStyle(SHBS_EDITITEMS); }, 32},
        {"auto-expand delay", [&] { bar->SetAutoExpandDelay(500); }, 64},
        {"the same scrolling delay", [&] { bar->SetScrollingDelay(150); }, 0},
        {"the minimum size (stored only)", [&] { EXPECT_EQ(bar->SetBarMinSize(CSize(1, 1)), CSize(20, 20)); }, 0},
    };
    for (const Row& r : rows) {
        heard.clear();
        r.change();
        const std::vector<LPARAM> expected = r.flag ? std::vector<LPARAM>{r.flag, r.flag} : std::vector<LPARAM>{};
        EXPECT_EQ(heard, expected) << r.name;
    }
    EXPECT_EQ(bar->GetChildWndMargins(), CRect(1, 2, 3, 4));
    EXPECT_EQ(bar->GetScrollButtonSize(), CSize(20, 20));
    bar->DeleteAllGroups();
    grandchild.DestroyWindow();
    own.DestroyWindow();
}

// The expansion animation as the old group's own child window sees it: moved into a
// shrinking rectangle once per frame, 20 ms of virtual time apart.
class AnimationTest : public BarTest {
protected:
    struct Frame {
        uint64_t at;
        CRect child;
        int movingHeaderTop;
    };
    void MakeChild(CTraceWnd& w, HSHBGROUP* moving)
    {
        w.answer = [this, &w, moving](UINT msg, WPARAM, LPARAM, LRESULT&) {
            if (msg == WM_WINDOWPOSCHANGED && recording) {
                CRect r;
                GetWindowRect(w.m_hWnd, &r);
                CRect header;
                bar->GetGroupHeaderRect(*moving, &header);
                frames.push_back({zyn::base::Clock::NowMs(), r, header.top});
            }
            return false;
        };
        ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 1, 1, bar->m_hWnd, nullptr));
    }
    std::vector<Frame> frames;
    bool recording = false;
};

TEST_F(AnimationTest, AHundredPixelChildMovesTwentyTwentyTwentyThenForty)
{
    // Two headers of 18 and margins of 5: a bar of 146 leaves the child 100 pixels.
    MakeBar(SHBS_ANIMATEEXPAND, 200, 146);
    CTraceWnd childA, childB;
    HSHBGROUP a = nullptr, b = nullptr;
    MakeChild(childA, &b);
    MakeChild(childB, &b);
    a = bar->InsertGroup(L"A", -1, -1, -1, 0, -1, nullptr, childA.m_hWnd);
    b = bar->InsertGroup(L"B", -2, -1, -1, 0, -1, nullptr, childB.m_hWnd);
    bar->ExpandGroup(a);
    ASSERT_EQ(bar->GetChildWndRect().Height(), 100);

    // Down the bar: B's header climbs, A's child shrinks from the bottom.
    recording = true;
    const uint64_t t0 = zyn::base::Clock::NowMs();
    bar->ExpandGroup(b);
    recording = false;
    ASSERT_GE(frames.size(), 4u);
    const int bottoms[] = {103, 83, 63, 23};
    const int headers[] = {108, 88, 68, 28};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[i].at, t0 + 20 * i) << "frame " << i;
        EXPECT_EQ(frames[i].child.top, 23) << "frame " << i;
        EXPECT_EQ(frames[i].child.bottom, bottoms[i]) << "frame " << i;
        EXPECT_EQ(frames[i].movingHeaderTop, headers[i]) << "frame " << i;
    }
    EXPECT_EQ(zyn::base::Clock::NowMs(), t0 + 80) << "four sleeps of 100 / 5 ms";
    EXPECT_EQ(bar->GetExpandedGroup(), b);
    EXPECT_EQ(bar->GetChildWndRect(), CRect(5, 41, 195, 141));

    // Back up: B's header falls, B's child shrinks from the top.
    frames.clear();
    recording = true;
    const uint64_t t1 = zyn::base::Clock::NowMs();
    bar->ExpandGroup(a);
    recording = false;
    ASSERT_GE(frames.size(), 4u);
    const int tops[] = {61, 81, 101, 141};
    const int fallen[] = {38, 58, 78, 118};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[i].at, t1 + 20 * i) << "frame " << i;
        EXPECT_EQ(frames[i].child.top, tops[i]) << "frame " << i;
        EXPECT_EQ(frames[i].child.bottom, 141) << "frame " << i;
        EXPECT_EQ(frames[i].movingHeaderTop, fallen[i]) << "frame " << i;
    }
    EXPECT_EQ(zyn::base::Clock::NowMs(), t1 + 80);
    CRect header;
    bar->GetGroupHeaderRect(b, &header);
    EXPECT_EQ(header.top, 128) << "laid out again after the last frame";

    // Without the style there are no frames at all.
    bar->SetBarStyle(0);
    frames.clear();
    recording = true;
    const uint64_t t2 = zyn::base::Clock::NowMs();
    bar->ExpandGroup(b);
    recording = false;
    EXPECT_EQ(zyn::base::Clock::NowMs(), t2);
    bar->DeleteAllGroups();
    childA.DestroyWindow();
    childB.DestroyWindow();
}

TEST_F(GroupsTest, DestructionFreesEveryGroupWhateverTheParentAnswers)
{
    MakeBar(0);
    AddGroups({L"A", L"B", L"C"});
    const size_t lists = zyn::comctl::LiveListViewCount();
    EXPECT_GE(lists, 3u);
    answers[SHBN_DELETEGROUP] = 1;
    TakeLog();
    bar.reset();
    Pump();
    const Lines heard = TakeLog();
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(), [](const std::string& l) { return l.rfind("80D2", 0) == 0; }), 3)
        << "each group is announced";
    EXPECT_EQ(zyn::comctl::LiveListViewCount(), lists - 3);
}

} // namespace
} // namespace shbtest
