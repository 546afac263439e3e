// The user's side of the shortcut bar, scripted on the virtual clock: clicks on flat and
// raised headers, header drags (the 100 ms wait, the largest overlap, the swap, a veto,
// no target), automatic expansion (800 ms resting, 200 ms under a data drag), the context
// menu's items and checks with scripted choices, the commands and their routing.
#include <map>
#include <string>
#include <vector>

#include "platform/afx/cmdui.h"
#include "platform/afx/menu.h"
#include "platform/afx/ole/oledataobject.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"

namespace shbtest {
namespace {

using Lines = std::vector<std::string>;
using zyn::user::AnswerKind;
using zyn::user::AnswerScript;
using zyn::user::InjectMouseButton;
using zyn::user::MouseButton;

class MouseTest : public BarTest {
protected:
    // Groups A, B, C in a 200 x 300 bar, A expanded: A at 0..18, B at 264..282, C at
    // 282..300, the child area 5..195 x 23..259.
    std::vector<HSHBGROUP> ThreeGroups(DWORD style)
    {
        MakeBar(style, 200, 300);
        const auto g = AddGroups({L"A", L"B", L"C"});
        bar->ExpandGroup(g[0]);
        Pump();
        TakeLog();
        return g;
    }
    void RightClick(int x, int y, HWND in = nullptr)
    {
        MoveTo(x, y, in);
        InjectMouseButton(MouseButton::Right, true);
        InjectMouseButton(MouseButton::Right, false);
        Pump();
    }
};

TEST_F(MouseTest, FlatHeadersExpandOnReleaseOverTheSameHeaderOnly)
{
    const auto g = ThreeGroups(SHBS_FLATGROUPBUTTON | SHBS_DISABLEDRAGDROPHEADER);
    Press(100, 270);
    EXPECT_EQ(bar->GetPressedGroup(), g[1]);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]) << "flat: nothing yet";
    Release(100, 270);
    EXPECT_EQ(bar->GetExpandedGroup(), g[1]);
    EXPECT_EQ(bar->GetPressedGroup(), nullptr);
    // Released elsewhere (over the list, which the bar does not hear): nothing; the next
    // tick of a timer finds the button up and ends the pressed look.
    Press(100, 290);
    Release(100, 100);
    EXPECT_EQ(bar->GetExpandedGroup(), g[1]);
    EXPECT_EQ(bar->GetPressedGroup(), g[2]);
    Wait(500);
    EXPECT_EQ(bar->GetPressedGroup(), nullptr);
    // Raised headers expand at the press.
    bar->SetBarStyle(SHBS_DISABLEDRAGDROPHEADER);
    Press(100, 290);
    EXPECT_EQ(bar->GetExpandedGroup(), g[2]);
    Release(100, 290);
    // The mouse over a header is tracked; the 500 ms poll notices it leave the bar.
    MoveTo(100, 5);
    EXPECT_EQ(bar->GetMouseOverGroup(), g[0]);
    const POINT outside{300, 250}; // the parent, beside the bar
    zyn::user::InjectMouseMove(outside.x, outside.y);
    Pump();
    EXPECT_EQ(bar->GetMouseOverGroup(), g[0]);
    Wait(500);
    EXPECT_EQ(bar->GetMouseOverGroup(), nullptr);
}

TEST_F(MouseTest, AHeaderDragStartsAfterAHundredMillisecondsAndSwapsOnRelease)
{
    const auto g = ThreeGroups(0);
    names[g[0]] = "A";
    // Moving at once does not drag: the 100 ms have not passed.
    Press(100, 9);
    MoveTo(100, 12);
    EXPECT_EQ(bar->GetDragGroup(), nullptr);
    Wait(100);
    MoveTo(100, 10);
    EXPECT_EQ(bar->GetDragGroup(), g[0]);
    EXPECT_EQ(GetCapture(), bar->m_hWnd);
    MoveTo(100, 270);
    EXPECT_EQ(bar->GetDropHilightGroup(), g[1]);
    Release(100, 270);
    EXPECT_EQ(TakeLog(), (Lines{"80D0 A -1", "80D0 - -1", "80D9 A -1"}));
    EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"B", L"A", L"C"}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(bar->GetDragGroup(), nullptr);
    EXPECT_EQ(bar->GetDropHilightGroup(), nullptr);

    struct Row {
        const char* name;
        DWORD style;
        LRESULT veto;
        int releaseY;
        std::vector<std::wstring> order;
        bool dragged;
    };
    const Row rows[] = {
        {"vetoed drop", 0, 1, 290, {L"B", L"A", L"C"}, true},
        {"no target: released on itself", 0, 0, 5, {L"B", L"A", L"C"}, true},
        {"headers cannot be dragged", SHBS_DISABLEDRAGDROPHEADER, 0, 290, {L"B", L"A", L"C"}, false},
    };
    for (const Row& r : rows) {
        bar->SetBarStyle(r.style);
        answers[SHBN_DROPGROUP] = r.veto;
        bar->ExpandGroup(bar->FindGroupByOrder(0)); // B on top, expanded: A at 264, C at 282
        Press(100, 9);
        Wait(100);
        MoveTo(100, 10);
        EXPECT_EQ(bar->GetDragGroup() != nullptr, r.dragged) << r.name;
        MoveTo(100, r.releaseY);
        Release(100, r.releaseY);
        EXPECT_EQ(TitlesInOrder(), r.order) << r.name;
        EXPECT_EQ(GetCapture(), nullptr) << r.name;
    }
}

TEST_F(MouseTest, DeletingAGroupInTheMiddleOfItsDragEndsTheDrag)
{
    const auto g = ThreeGroups(SHBS_FLATGROUPBUTTON | SHBS_DRAWHEADERDRAGIMAGE | SHBS_AUTOEXPAND);
    Press(100, 270);
    Wait(100);
    MoveTo(100, 271);
    ASSERT_EQ(bar->GetDragGroup(), g[1]);
    MoveTo(100, 290);
    ASSERT_EQ(bar->GetDropHilightGroup(), g[2]);
    // The dragged group goes: nothing refers to it, the capture and the drag image end.
    ASSERT_TRUE(bar->DeleteGroup(g[1]));
    EXPECT_EQ(bar->GetDragGroup(), nullptr);
    EXPECT_EQ(bar->GetDropHilightGroup(), nullptr);
    EXPECT_EQ(bar->GetPressedGroup(), nullptr);
    EXPECT_EQ(bar->GetMouseOverGroup() == g[1], false);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    Release(100, 290);
    EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"A", L"C"}));
    // A group pending auto-expansion goes: its timer with it.
    InjectMouseButton(MouseButton::Left, false);
    MoveTo(100, 290);
    ASSERT_EQ(bar->GetAutoExpandGroup(), g[2]);
    ASSERT_TRUE(bar->DeleteGroup(g[2]));
    EXPECT_EQ(bar->GetAutoExpandGroup(), nullptr);
    Wait(1000);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
}

TEST_F(MouseTest, OffTheHeadersTheLargestOverlapIsTheTarget)
{
    // A margin of 6: A at 0..18 (expanded), B at 258..276, C at 282..300; a drag image
    // (18 high) placed by where A was grabbed.
    MakeBar(SHBS_DRAWHEADERDRAGIMAGE, 200, 300);
    const auto g = AddGroups({L"A", L"B", L"C"});
    bar->SetGroupMargin(6);
    bar->ExpandGroup(g[0]);
    struct Row {
        const char* name;
        int grabY, cursorY;
        HSHBGROUP target;
    };
    const Row rows[] = {
        {"7 pixels over B, 5 over C", 9, 278, g[1]},
        {"none over B, 12 over C", 2, 278, g[2]},
        {"on a header: that one", 2, 260, g[1]},
        {"in the child area: no header met", 2, 100, nullptr},
    };
    for (const Row& r : rows) {
        Press(100, r.grabY);
        Wait(100);
        MoveTo(100, r.grabY + 1);
        ASSERT_EQ(bar->GetDragGroup(), g[0]) << r.name;
        MoveTo(100, r.cursorY);
        EXPECT_EQ(bar->GetDropHilightGroup(), r.target) << r.name;
        // Released where no header is met: the order stays.
        MoveTo(100, 100);
        Release(100, 100);
        EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"A", L"B", L"C"})) << r.name;
    }
}

TEST_F(MouseTest, RestingOnAHeaderExpandsItAfterTheAutoExpandDelay)
{
    const auto g = ThreeGroups(SHBS_AUTOEXPAND | SHBS_DISABLEDRAGDROPHEADER);
    MoveTo(100, 270);
    EXPECT_EQ(bar->GetAutoExpandGroup(), g[1]);
    Wait(799);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
    Wait(1);
    EXPECT_EQ(bar->GetExpandedGroup(), g[1]);
    // Moving on to another header restarts the wait for that one; leaving it in time
    // expands nothing.
    MoveTo(100, 290); // C, now at the bottom
    Wait(400);
    MoveTo(100, 100); // the child area
    Wait(400);
    EXPECT_EQ(bar->GetExpandedGroup(), g[1]);
    EXPECT_EQ(bar->GetAutoExpandGroup(), nullptr);
    bar->SetAutoExpandDelay(300);
    MoveTo(100, 5); // A
    Wait(300);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
}

TEST_F(MouseTest, DataDraggedOverAHeaderExpandsItInAQuarterOfTheDelay)
{
    const auto g = ThreeGroups(SHBS_DISABLEDRAGDROPHEADER);
    MoveTo(100, 290); // the cursor rests on C
    SHBDROPTARGETACTION action{};
    action.pWnd = bar.get();
    action.point = CPoint(100, 290);
    EXPECT_EQ(SendMessageW(bar->m_hWnd, SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action)), 1);
    EXPECT_EQ(action.result, DROPEFFECT_NONE);
    EXPECT_EQ(TakeLog(), (Lines{"80A6 - -1"}));
    Wait(199);
    EXPECT_EQ(bar->GetExpandedGroup(), g[0]);
    Wait(1);
    EXPECT_EQ(bar->GetExpandedGroup(), g[2]);
    // A leave cancels a pending expansion; over the child area nothing is pending.
    action.point = CPoint(100, 5);
    SendMessageW(bar->m_hWnd, SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action));
    EXPECT_EQ(bar->GetAutoExpandGroup(), g[0]);
    SendMessageW(bar->m_hWnd, SHBDTM_DRAGLEAVE, 0, reinterpret_cast<LPARAM>(&action));
    EXPECT_EQ(bar->GetAutoExpandGroup(), nullptr);
    // A parent that takes the drag over decides alone.
    answers[SHBN_DRAGOVER] = 1;
    SendMessageW(bar->m_hWnd, SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action));
    EXPECT_EQ(bar->GetAutoExpandGroup(), nullptr);
    answers.clear();
    // Nothing may be dropped: the message is refused.
    bar->SetBarStyle(SHBS_DISABLEDROPITEM);
    EXPECT_EQ(SendMessageW(bar->m_hWnd, SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action)), 0);
}

// The context menu as the parent sees it when it is asked (0x80EC).
struct MenuEntry {
    UINT id;
    bool checked;
    bool operator==(const MenuEntry&) const = default;
};

class ContextMenuTest : public MouseTest {
protected:
    void SetUp() override
    {
        MouseTest::SetUp();
        Record();
    }
    void Record()
    {
        onNotify = [this](NMSHORTCUTBAR& nm, LRESULT& r) {
            if (nm.hdr.code != SHBN_CONTEXTMENU)
                return false;
            auto* info = reinterpret_cast<SHBContextMenuInfo*>(nm.lParam);
            menu.clear();
            for (UINT i = 0; i < info->pMenu->GetMenuItemCount(); ++i) {
                const UINT id = info->pMenu->GetMenuItemID(static_cast<int>(i));
                menu.push_back({id, (info->pMenu->GetMenuState(i, MF_BYPOSITION) & MF_CHECKED) != 0});
            }
            menuGroup = nm.hGroup;
            r = refuse;
            return true;
        };
    }
    std::vector<MenuEntry> menu;
    HSHBGROUP menuGroup = nullptr;
    LRESULT refuse = 0;
};

TEST_F(ContextMenuTest, ItemsAndChecksFollowWhereTheClickWas)
{
    const auto g = ThreeGroups(SHBS_EDITHEADERS | SHBS_EDITITEMS);
    bar->InsertLCItem(g[0], 0, L"one");
    bar->InsertLCItem(g[0], 1, L"two");
    const HWND list = bar->GetGroupChildWndHandle(g[0]);
    CRect label;
    bar->GetGroupListCtrl(g[0])->GetItemRect(0, &label, LVIR_LABEL);
    const std::vector<MenuEntry> forGroup = {{ID_SHB_ADDNEWGROUP, false}, {0, false}, {ID_SHB_LARGEICON, true},
        {ID_SHB_SMALLICON, false}, {0, false}, {ID_SHB_REMOVEGROUP, false}, {ID_SHB_RENAMEGROUP, false}};
    std::vector<MenuEntry> forItem = forGroup;
    forItem.push_back({0, false});
    forItem.push_back({ID_SHB_RENAMELCITEM, false});
    forItem.push_back({ID_SHB_REMOVELCITEM, false});
    struct Row {
        const char* name;
        CPoint at;
        HWND in;
        HSHBGROUP group;
        std::vector<MenuEntry> items;
    };
    const Row rows[] = {
        {"a collapsed header", {100, 270}, nullptr, g[1], forGroup},
        {"an item of the expanded list", {label.left + 2, label.top + 2}, list, g[0], forItem},
        {"the list beside its items", {100, 200}, list, g[0], forGroup},
        {"the margin: the expanded group", {2, 100}, nullptr, g[0], forGroup},
    };
    for (const Row& r : rows) {
        AnswerScript::Push(AnswerKind::PopupMenu, 0);
        RightClick(r.at.x, r.at.y, r.in);
        EXPECT_EQ(menuGroup, r.group) << r.name;
        EXPECT_EQ(bar->GetHotGroup(), r.group) << r.name;
        EXPECT_EQ(menu, r.items) << r.name;
    }
    // The texts come from the string resources.
    struct TextRow {
        UINT id;
        const wchar_t* text;
    };
    const TextRow texts[] = {{ID_SHB_LARGEICON, L"&Large icons"}, {ID_SHB_SMALLICON, L"&Small icons"},
        {ID_SHB_ADDNEWGROUP, L"&Add new group"}, {ID_SHB_REMOVEGROUP, L"&Remove group"},
        {ID_SHB_RENAMEGROUP, L"Re&name group"}, {ID_SHB_RENAMELCITEM, L"Rena&me item"},
        {ID_SHB_REMOVELCITEM, L"Remove &item"}};
    std::map<UINT, std::wstring> shownTexts;
    onNotify = [&](NMSHORTCUTBAR& nm, LRESULT& res) {
        if (nm.hdr.code != SHBN_CONTEXTMENU)
            return false;
        auto* info = reinterpret_cast<SHBContextMenuInfo*>(nm.lParam);
        for (const TextRow& t : texts) {
            CString s;
            info->pMenu->GetMenuString(t.id, s, MF_BYCOMMAND);
            shownTexts[t.id] = s.GetString();
        }
        res = 0;
        return true;
    };
    AnswerScript::Push(AnswerKind::PopupMenu, 0);
    RightClick(label.left + 2, label.top + 2, list);
    for (const TextRow& t : texts)
        EXPECT_EQ(shownTexts[t.id], t.text) << t.id;
    Record();

    // Small icons in the expanded group move the check; without header editing only the
    // views are offered.
    bar->SetGroupView(g[0], SHB_SMALLICON);
    bar->SetBarStyle(0);
    AnswerScript::Push(AnswerKind::PopupMenu, 0);
    RightClick(100, 270);
    EXPECT_EQ(menu, (std::vector<MenuEntry>{{ID_SHB_LARGEICON, false}, {ID_SHB_SMALLICON, true}}));
    // A refusal shows nothing.
    refuse = 1;
    const size_t shown = AnswerScript::Shown().size();
    RightClick(100, 270);
    EXPECT_EQ(AnswerScript::Shown().size(), shown);
}

TEST_F(ContextMenuTest, ScriptedChoicesRunTheCommands)
{
    const auto g = ThreeGroups(SHBS_EDITHEADERS | SHBS_EDITITEMS);
    names[g[1]] = "B";
    AnswerScript::Push(AnswerKind::PopupMenu, ID_SHB_SMALLICON);
    RightClick(100, 270);
    EXPECT_EQ(bar->GetGroupView(g[0]), SHB_SMALLICON) << "the view is the expanded group's";
    AnswerScript::Push(AnswerKind::PopupMenu, ID_SHB_REMOVEGROUP);
    RightClick(100, 270);
    EXPECT_EQ(bar->GetGroupCount(), 2);
    EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"A", L"C"}));
    AnswerScript::Push(AnswerKind::PopupMenu, ID_SHB_RENAMEGROUP);
    RightClick(100, 290);
    EXPECT_EQ(bar->GetEditGroup(), g[2]);
    zyn::user::InjectKeyPress(VK_ESCAPE);
    Pump();
    AnswerScript::Push(AnswerKind::PopupMenu, ID_SHB_ADDNEWGROUP);
    RightClick(100, 290);
    EXPECT_EQ(bar->GetGroupCount(), 3);
    const HSHBGROUP added = bar->FindGroupByOrder(2);
    EXPECT_EQ(bar->GetEditGroup(), added) << "the new group's header is being renamed";
    zyn::user::InjectText(L"New");
    zyn::user::InjectKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(bar->GetGroupText(added), CString(L"New"));
}

TEST_F(MouseTest, ItemCommandsActOnTheLastHotItem)
{
    const auto g = ThreeGroups(SHBS_EDITITEMS);
    for (const wchar_t* t : {L"one", L"two", L"three"})
        bar->InsertLCItem(g[0], bar->GetLCItemCount(g[0]), t);
    COXSHBListCtrl* list = bar->GetGroupListCtrl(g[0]);
    CRect label;
    list->GetItemRect(1, &label, LVIR_LABEL);
    MoveTo(label.left + 2, label.top + 2, list->m_hWnd);
    EXPECT_EQ(list->GetHotItem(), 1);
    // The command arrives after the mouse left for the menu: the last hot item counts.
    MoveTo(100, 5);
    Wait(200);
    EXPECT_EQ(list->GetHotItem(), -1);
    SendMessageW(bar->m_hWnd, WM_COMMAND, ID_SHB_RENAMELCITEM, 0);
    Pump();
    EXPECT_EQ(list->GetEditItem(), 1);
    zyn::user::InjectKeyPress(VK_ESCAPE);
    Pump();
    SendMessageW(bar->m_hWnd, WM_COMMAND, ID_SHB_REMOVELCITEM, 0);
    Pump();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(1, 0), CString(L"three"));
    // The view commands and their checks.
    struct CheckUI : CCmdUI {
        int check = -1;
        void SetCheck(int n) override { check = n; }
    };
    for (const auto& [command, view] : {std::pair{ID_SHB_SMALLICON, SHB_SMALLICON}, std::pair{ID_SHB_LARGEICON,
             SHB_LARGEICON}}) {
        SendMessageW(bar->m_hWnd, WM_COMMAND, command, 0);
        EXPECT_EQ(bar->GetGroupView(g[0]), view);
        for (UINT id : {ID_SHB_LARGEICON, ID_SHB_SMALLICON}) {
            CheckUI ui;
            ui.m_nID = id;
            EXPECT_TRUE(bar->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr));
            EXPECT_EQ(ui.check, (id == ID_SHB_SMALLICON) == (view == SHB_SMALLICON) ? 1 : 0) << id;
        }
    }
}

// Command routing: a window that logs the commands offered to it and may take one.
class RoutingWnd : public CTraceWnd {
public:
    std::vector<std::string>* routed = nullptr;
    UINT takes = 0;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND)
            routed->push_back(name + " " + std::to_string(nID));
        if (nCode == CN_COMMAND && nID == takes)
            return TRUE;
        return CTraceWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

TEST_F(MouseTest, CommandsGoToTheParentFirstThenTheBarThenTheExpandedWindow)
{
    std::vector<std::string> routed;
    RoutingWnd host, own;
    host.name = "parent";
    own.name = "child";
    host.routed = own.routed = &routed;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 300, parent.m_hWnd,
        nullptr));
    bar = std::make_unique<COXShortcutBar>();
    ASSERT_TRUE(bar->Create(&host, CRect(0, 0, 200, 300), 0, 1));
    ASSERT_TRUE(own.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 1, 1, bar->m_hWnd, nullptr));
    const HSHBGROUP a = bar->InsertGroup(L"A", -1, -1, -1, 0, -1, nullptr, own.m_hWnd);
    bar->ExpandGroup(a);
    struct Row {
        const char* name;
        UINT id;
        UINT parentTakes;
        bool handled;
        std::vector<std::string> route;
        int view;
    };
    const Row rows[] = {
        {"nobody's command", 40000, 0, false, {"parent 40000", "child 40000"}, SHB_LARGEICON},
        {"the bar's command", ID_SHB_SMALLICON, 0, true, {"parent 33015"}, SHB_SMALLICON},
        {"taken by the parent first", ID_SHB_LARGEICON, ID_SHB_LARGEICON, true, {"parent 33014"}, SHB_SMALLICON},
    };
    for (const Row& r : rows) {
        routed.clear();
        host.takes = r.parentTakes;
        EXPECT_EQ(bar->OnCmdMsg(r.id, CN_COMMAND, nullptr, nullptr), r.handled ? TRUE : FALSE) << r.name;
        EXPECT_EQ(routed, r.route) << r.name;
        EXPECT_EQ(bar->GetGroupView(a), r.view) << r.name;
    }
    bar.reset();
    own.DestroyWindow();
    host.DestroyWindow();
}

} // namespace
} // namespace shbtest
