// What the shortcut bar tells its parent, in order, as a recording parent hears it: group
// insertion, expansion and deletion, item insertion with the index asked for, selection,
// hot and active items, both kinds of renaming, and what each veto keeps. Every record
// comes from the bar's window (its lists hand theirs to the bar), and to the owner when
// one is set.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/afx/ole/oledroptarget.h"
#include "platform/comctl/tooltip.h"

#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"

namespace shbtest {
namespace {

using Lines = std::vector<std::string>;
using zyn::user::InjectKeyPress;
using zyn::user::InjectText;

class NotifyTest : public BarTest {
protected:
    // A bar of one group "A", expanded, with items "one", "two", "three" in small icons.
    HSHBGROUP MakeOneGroup(DWORD style = SHBS_EDITHEADERS | SHBS_EDITITEMS)
    {
        MakeBar(style, 200, 300);
        const HSHBGROUP a = AddGroups({L"A"})[0];
        bar->SetGroupView(a, SHB_SMALLICON);
        imageLists.push_back(std::make_unique<CImageList>());
        imageLists.back()->Attach(SolidImages(16, 16, {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)}));
        bar->SetLCImageList(a, imageLists.back().get(), LVSIL_SMALL);
        bar->ExpandGroup(a);
        for (const wchar_t* t : {L"one", L"two", L"three"})
            bar->InsertLCItem(a, bar->GetLCItemCount(a), t, 0);
        Pump();
        TakeLog();
        return a;
    }
    HWND ListOf(HSHBGROUP h) const { return bar->GetGroupChildWndHandle(h); }
};

TEST_F(NotifyTest, GroupsAreAnnouncedBeforeAndAfterEachChange)
{
    MakeBar(0);
    EXPECT_EQ(TakeLog(), (Lines{"80E6 - -1"})) << "the bar asks for its drop target";
    names[reinterpret_cast<HSHBGROUP>(1)] = "A"; // handles count from 1
    const HSHBGROUP a = bar->InsertGroup(L"A");
    EXPECT_EQ(a, reinterpret_cast<HSHBGROUP>(1));
    // The list of the new group asks for its drop target as it is made.
    EXPECT_EQ(TakeLog(), (Lines{"80DA - -1", "80E6 A -1"}));
    EXPECT_EQ(bar->ExpandGroup(a), nullptr);
    EXPECT_EQ(TakeLog(), (Lines{"80D7 A -1", "80D5 A -1"}));
    EXPECT_EQ(bar->ExpandGroup(a), a) << "already expanded: nothing asked";
    EXPECT_TRUE(TakeLog().empty());
    // The index asked for is reported, not the one the list view chose.
    EXPECT_EQ(bar->InsertLCItem(a, 5, L"x"), 0);
    EXPECT_EQ(TakeLog(), (Lines{"80E1 A 5"}));
    EXPECT_TRUE(bar->DeleteLCItem(a, 0));
    EXPECT_EQ(TakeLog(), (Lines{"80DE A 0"}));
    bar->InsertLCItem(a, 0, L"y");
    TakeLog();
    EXPECT_TRUE(bar->GetGroupListCtrl(a)->DeleteAllItems());
    EXPECT_EQ(TakeLog(), (Lines{"80DD A -1"}));
    EXPECT_TRUE(bar->DeleteGroup(a));
    EXPECT_EQ(TakeLog(), (Lines{"80D2 A -1"}));
}

TEST_F(NotifyTest, VetoesKeepWhatTheyProtect)
{
    MakeBar(SHBS_EDITHEADERS | SHBS_EDITITEMS);
    const size_t windows = zyn::user::LiveWindowCount();
    answers[SHBN_INSERTGROUP] = 1;
    EXPECT_EQ(bar->InsertGroup(L"refused"), nullptr);
    EXPECT_EQ(bar->GetGroupCount(), 0);
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows) << "no list made for a refused group";
    answers.clear();

    const auto g = AddGroups({L"A", L"B"});
    bar->ExpandGroup(g[0]);
    // A parent refusing every expansion keeps the first expanded group for ever.
    answers[SHBN_GROUPEXPANDING] = 1;
    EXPECT_EQ(bar->ExpandGroup(g[1]), g[0]);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
    answers.clear();

    // Refused renames.
    answers[SHBN_BEGINHEADEREDIT] = 1;
    EXPECT_EQ(bar->EditGroupHeader(g[1]), nullptr);
    EXPECT_EQ(bar->GetEditGroup(), nullptr);
    answers.clear();
    bar->InsertLCItem(g[0], 0, L"item");
    answers[SHBN_BEGINITEMEDIT] = 1;
    EXPECT_EQ(bar->EditLCItem(g[0], 0), nullptr);
    EXPECT_EQ(bar->GetGroupListCtrl(g[0])->GetEditItem(), -1);
    answers.clear();

    // Selection, activation and the hot item each stay under a veto.
    COXSHBListCtrl* list = bar->GetGroupListCtrl(g[0]);
    struct Row {
        const char* name;
        UINT code;
        std::function<int(int)> set;
        std::function<int()> get;
    };
    const Row rows[] = {
        {"select", SHBN_SELECTITEM, [&](int i) { return list->SelectItem(i); }, [&] { return list->GetSelectedItem(); }},
        {"activate", SHBN_ACTIVATEITEM, [&](int i) { return list->ActivateItem(i); },
            [&] { return list->GetActiveItem(); }},
        {"hot", SHBN_HOTITEM, [&](int i) { return list->SetHotItem(i); }, [&] { return list->GetHotItem(); }},
    };
    for (const Row& r : rows) {
        answers[r.code] = 1;
        EXPECT_EQ(r.set(0), -1) << r.name << ": the old value";
        EXPECT_EQ(r.get(), -1) << r.name;
        answers.clear();
        EXPECT_EQ(r.set(0), -1) << r.name;
        EXPECT_EQ(r.get(), 0) << r.name;
    }
}

TEST_F(NotifyTest, ClicksHotAndSelectionInOrderFromTheBar)
{
    const HSHBGROUP a = MakeOneGroup();
    names[a] = "A";
    COXSHBListCtrl* list = bar->GetGroupListCtrl(a);
    CRect icon;
    list->GetItemRect(1, &icon, LVIR_ICON);
    // Moving onto the image makes it hot; the press selects, the release activates.
    Click(icon.left + 5, icon.top + 5, ListOf(a));
    EXPECT_EQ(TakeLog(), (Lines{"80E4 A 1", "80E2 A 1", "80E3 A 1"}));
    EXPECT_EQ(list->GetActiveItem(), 1);
    // A release over another item than the selected one activates nothing.
    CRect other;
    list->GetItemRect(2, &other, LVIR_ICON);
    Press(icon.left + 5, icon.top + 5, ListOf(a));
    Release(other.left + 5, other.top + 5, ListOf(a));
    EXPECT_EQ(list->GetActiveItem(), 1);
    const Lines heard = TakeLog();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "80E3 A 2"), 0);
    // Leaving the list with the button up clears the hot item at once.
    MoveTo(100, 5); // over the header: the list's polling timer notices
    Wait(200);
    EXPECT_EQ(list->GetHotItem(), -1);
    EXPECT_EQ(list->GetLastHotItem(), 2);
}

TEST_F(NotifyTest, AFrozenHotItemStaysWhileTheMouseMoves)
{
    const HSHBGROUP a = MakeOneGroup();
    COXSHBListCtrl* list = bar->GetGroupListCtrl(a);
    CRect first, second;
    list->GetItemRect(0, &first, LVIR_ICON);
    list->GetItemRect(1, &second, LVIR_ICON);
    MoveTo(first.left + 4, first.top + 4, ListOf(a));
    EXPECT_EQ(list->GetHotItem(), 0);
    answers[SHBN_HOTITEM] = 1;
    MoveTo(second.left + 4, second.top + 4, ListOf(a));
    Wait(200); // the polling timer looks again
    EXPECT_EQ(list->GetHotItem(), 0);
    answers.clear();
    MoveTo(second.left + 5, second.top + 5, ListOf(a));
    EXPECT_EQ(list->GetHotItem(), 1);
}

TEST_F(NotifyTest, HeaderAndItemRenamingByKeys)
{
    const HSHBGROUP a = MakeOneGroup();
    names[a] = "A";
    struct Row {
        const char* name;
        bool item;
        int key;
        LRESULT veto;
        const wchar_t* expected;
        Lines heard;
    };
    const Row rows[] = {
        {"header Enter", false, VK_RETURN, 0, L"Mail", {"80D1 A -1", "80D3 A -1"}},
        {"header Escape", false, VK_ESCAPE, 0, L"A", {"80D1 A -1", "80D3 A -1"}},
        {"header refused", false, VK_RETURN, 1, L"A", {"80D1 A -1", "80D3 A -1"}},
        {"item Enter", true, VK_RETURN, 0, L"Mail", {"80DC A 1", "80DF A 1"}},
        {"item Escape", true, VK_ESCAPE, 0, L"two", {"80DC A 1"}},
        {"item refused", true, VK_RETURN, 1, L"two", {"80DC A 1", "80DF A 1"}},
    };
    for (const Row& r : rows) {
        bar->SetGroupText(a, L"A");
        bar->GetGroupListCtrl(a)->SetItemText(1, 0, L"two");
        TakeLog();
        std::wstring reported;
        onNotify = [&](NMSHORTCUTBAR& nm, LRESULT& result) {
            if (nm.hdr.code == SHBN_ENDHEADEREDIT || nm.hdr.code == SHBN_ENDITEMEDIT) {
                reported = reinterpret_cast<const wchar_t*>(nm.lParam);
                result = r.veto;
                return true;
            }
            return false;
        };
        COXSHBEdit* edit = r.item ? bar->EditLCItem(a, 1) : bar->EditGroupHeader(a);
        ASSERT_NE(edit, nullptr) << r.name;
        EXPECT_TRUE(IsWindowVisible(edit->m_hWnd)) << r.name;
        InjectText(L"Mail");
        InjectKeyPress(r.key);
        Pump();
        onNotify = nullptr;
        const std::wstring now = r.item ? std::wstring(bar->GetGroupListCtrl(a)->GetItemText(1, 0).GetString())
                                        : std::wstring(bar->GetGroupText(a).GetString());
        EXPECT_EQ(now, r.expected) << r.name;
        EXPECT_EQ(TakeLog(), r.heard) << r.name;
        if (!r.item) {
            EXPECT_EQ(reported, r.key == VK_ESCAPE ? L"A" : L"Mail") << r.name << ": a cancel reports the old title";
        }
        EXPECT_FALSE(IsWindowVisible(edit->m_hWnd)) << r.name;
        EXPECT_EQ(bar->GetEditGroup(), nullptr) << r.name;
        EXPECT_EQ(bar->GetGroupListCtrl(a)->GetEditItem(), -1) << r.name;
    }
}

TEST_F(NotifyTest, DeletingTheGroupBeingRenamedCancelsTheEdit)
{
    MakeBar(SHBS_EDITHEADERS);
    const auto g = AddGroups({L"A", L"B"});
    COXSHBEdit* edit = bar->EditGroupHeader(g[1]);
    ASSERT_NE(edit, nullptr);
    TakeLog();
    ASSERT_TRUE(bar->DeleteGroup(g[1]));
    EXPECT_FALSE(edit->IsEditing());
    EXPECT_EQ(bar->GetEditGroup(), nullptr);
    EXPECT_EQ(TakeLog(), (Lines{"80D2 B -1"})) << "no end-of-edit for a dead group";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NotifyTest, TheParentMaySupplyTheDropTargetOrLeaveTheBuiltInOne)
{
    COleDropTarget own;
    onNotify = [&](NMSHORTCUTBAR& nm, LRESULT& r) {
        if (nm.hdr.code != SHBN_GETDROPTARGET)
            return false;
        // The bar's own request (no group) gets the parent's object; the lists' requests
        // are claimed without one, which leaves them their built-in targets.
        nm.lParam = nm.hGroup ? 0 : reinterpret_cast<LPARAM>(&own);
        r = 1;
        return true;
    };
    MakeBar(0);
    EXPECT_EQ(own.GetRegisteredWindow(), bar->m_hWnd);
    const HSHBGROUP a = AddGroups({L"A"})[0];
    onNotify = nullptr;
    ASSERT_NE(bar->GetGroupListCtrl(a), nullptr);
    // The list's built-in target takes a drag enter.
    SHBDROPTARGETACTION action{};
    action.pWnd = bar->GetGroupListCtrl(a);
    EXPECT_EQ(SendMessageW(bar->GetGroupChildWndHandle(a), SHBDTM_DRAGENTER, 0, reinterpret_cast<LPARAM>(&action)), 1);
    SendMessageW(bar->GetGroupChildWndHandle(a), SHBDTM_DRAGLEAVE, 0, reinterpret_cast<LPARAM>(&action));
    bar.reset();
    EXPECT_EQ(own.GetRegisteredWindow(), nullptr) << "revoked with the bar";
}

TEST_F(NotifyTest, TheOwnerHearsInsteadOfTheParent)
{
    MakeBar(0);
    CTraceWnd owner;
    std::vector<UINT> heard;
    owner.answer = [&](UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
        if (msg != WM_NOTIFY)
            return false;
        heard.push_back(reinterpret_cast<NMHDR*>(lp)->code);
        r = 0;
        return true;
    };
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    bar->SetOwner(&owner);
    TakeLog();
    bar->InsertGroup(L"A");
    EXPECT_TRUE(TakeLog().empty()) << "the parent hears nothing";
    EXPECT_EQ(heard, (std::vector<UINT>{SHBN_INSERTGROUP, SHBN_GETDROPTARGET}));
    bar->DeleteAllGroups();
    bar->SetOwner(nullptr);
    owner.DestroyWindow();
}

TEST_F(NotifyTest, TooltipTextsReachBothKindsOfRequestTerminated)
{
    const HSHBGROUP a = MakeOneGroup(SHBS_INFOTIP);
    names[a] = "A";
    struct Row {
        const char* name;
        std::wstring text;   // what the parent answers
        bool viaPointer;     // through lpszText rather than szText
        std::string narrow;  // what the ANSI request holds
    };
    const std::wstring long100(100, L'x');
    const Row rows[] = {
        {"short in the buffer", L"Mail", false, "Mail"},
        {"accented by pointer", L"Caf\u00E9", true, "Caf\xE9"},
        {"too long for the buffer", long100, false, std::string(79, 'x')},
        {"too long by pointer", long100, true, std::string(79, 'x')},
    };
    for (const Row& r : rows) {
        std::wstring keep = r.text;
        onNotify = [&](NMSHORTCUTBAR& nm, LRESULT& result) {
            if (nm.hdr.code != SHBN_GETHEADERTIP)
                return false;
            auto* tip = reinterpret_cast<SHBToolTipText*>(nm.lParam);
            if (r.viaPointer)
                tip->lpszText = keep.data();
            else
                std::copy_n(keep.begin(), std::min<size_t>(keep.size(), 80), tip->szText); // may fill all 80
            result = 0;
            return true;
        };
        NMTTDISPINFOA narrow{};
        narrow.hdr.hwndFrom = nullptr;
        narrow.hdr.idFrom = reinterpret_cast<UINT_PTR>(a);
        narrow.hdr.code = TTN_NEEDTEXTA;
        std::memset(narrow.szText, 'Q', sizeof narrow.szText);
        SendMessageW(bar->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow));
        ASSERT_NE(narrow.lpszText, nullptr) << r.name;
        EXPECT_EQ(std::string(narrow.lpszText), r.narrow) << r.name;
        EXPECT_EQ(narrow.lpszText, narrow.szText) << r.name << ": UTF-16 never sits behind a narrow pointer";

        NMTTDISPINFOW wide{};
        wide.hdr.idFrom = reinterpret_cast<UINT_PTR>(a);
        wide.hdr.code = TTN_NEEDTEXTW;
        SendMessageW(bar->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
        const std::wstring got = wide.lpszText;
        EXPECT_EQ(got, r.viaPointer ? r.text : r.text.substr(0, 79)) << r.name;
    }
    onNotify = nullptr;

    // An item's tip: tool id item + 1, asked as 0x80E0 for the item.
    onNotify = [](NMSHORTCUTBAR& nm, LRESULT& result) {
        if (nm.hdr.code != SHBN_GETITEMTIP)
            return false;
        auto* tip = reinterpret_cast<SHBToolTipText*>(nm.lParam);
        const std::wstring t = L"item " + std::to_wstring(nm.nItem);
        std::copy(t.begin(), t.end(), tip->szText);
        result = 0;
        return true;
    };
    TakeLog();
    NMTTDISPINFOW item{};
    item.hdr.idFrom = 3;
    item.hdr.code = TTN_NEEDTEXTW;
    SendMessageW(ListOf(a), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(item.lpszText), L"item 2");
    EXPECT_EQ(TakeLog(), (Lines{"80E0 A 2"}));
    onNotify = nullptr;
    // The tool under a point: the item under it, one-based; nothing between items.
    COXSHBListCtrl* list = bar->GetGroupListCtrl(a);
    CRect icon;
    list->GetItemRect(1, &icon, LVIR_ICON);
    TOOLINFO ti{};
    EXPECT_EQ(list->OnToolHitTest(icon.CenterPoint(), &ti), 2);
    EXPECT_EQ(ti.uId, 2u);
    EXPECT_EQ(list->OnToolHitTest(CPoint(5, 27), &ti), -1);
    EXPECT_EQ(bar->OnToolHitTest(CPoint(100, 5), &ti), static_cast<int>(reinterpret_cast<intptr_t>(a)));
}

} // namespace
} // namespace shbtest
