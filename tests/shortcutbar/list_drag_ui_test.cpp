// Item drag and drop through the whole OLE loop, scripted on the virtual clock: the
// 8-pixel threshold, an item dragged onto a collapsed header (which expands under the
// drag) and dropped into that group's list, move and copy, a move to an earlier place in
// one list, item data kept only within one list, the parent's extra bytes, refused drops
// and vetoes that leave the source alone, a second target outside the bar reading the
// data, and data sources released on every path.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledroptarget.h"
#include "platform/base/clock.h"
#include "platform/base/globalmem.h"
#include "platform/com/unknown.h"
#include "platform/user/clipboard.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_bar_support.h"
#include "toolkit/docking/shb_drag_data.h"

namespace shbtest {
namespace {

using Lines = std::vector<std::string>;
using zyn::user::InjectKey;
using zyn::user::InjectMouseButton;
using zyn::user::InjectMouseMove;
using zyn::user::MouseButton;

// Whether `expected` appears in `lines` in this order (other lines may come between).
::testing::AssertionResult InOrder(const Lines& lines, const Lines& expected)
{
    auto at = lines.begin();
    for (const std::string& e : expected) {
        at = std::find(at, lines.end(), e);
        if (at == lines.end()) {
            std::string all;
            for (const std::string& l : lines)
                all += "\n  " + l;
            return ::testing::AssertionFailure() << "missing or out of order: " << e << "; heard:" << all;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

class DragTest : public BarTest {
protected:
    // A (expanded) with one, two, three (item data 77, 78, 79) and B (collapsed) with x,
    // small icons sharing one image list. A's list is at 5, 23 in the bar; B's header at
    // 282..300 until B expands.
    void MakeGroups(DWORD style = SHBS_EDITITEMS)
    {
        MakeBar(style, 200, 300);
        const auto g = AddGroups({L"A", L"B"});
        a = g[0];
        b = g[1];
        imageLists.push_back(std::make_unique<CImageList>());
        imageLists.back()->Attach(SolidImages(16, 16, {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)}));
        for (HSHBGROUP h : {a, b}) {
            bar->SetGroupView(h, SHB_SMALLICON);
            bar->SetLCImageList(h, imageLists.back().get(), LVSIL_SMALL);
        }
        bar->InsertLCItem(a, 0, L"one", 0, 77);
        bar->InsertLCItem(a, 1, L"two", 1, 78);
        bar->InsertLCItem(a, 2, L"three", 2, 79);
        bar->InsertLCItem(b, 0, L"x", 0, 5);
        bar->ExpandGroup(a);
        Pump();
        TakeLog();
    }
    COXSHBListCtrl* ListA() const { return bar->GetGroupListCtrl(a); }
    COXSHBListCtrl* ListB() const { return bar->GetGroupListCtrl(b); }
    static std::vector<std::wstring> Texts(COXSHBListCtrl* list)
    {
        std::vector<std::wstring> out;
        for (int i = 0; i < list->GetItemCount(); ++i)
            out.emplace_back(list->GetItemText(i, 0).GetString());
        return out;
    }
    static POINT Screen(HWND in, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(in, &p);
        return p;
    }
    // Presses on item `item` of A's list and moves 9 pixels right: the drag starts and
    // its loop plays the stages, one per idle turn.
    void DragItem(int item, std::vector<std::function<void()>> stages)
    {
        CRect icon;
        ListA()->GetItemRect(item, &icon, LVIR_ICON);
        const int x = icon.left + 4, y = icon.top + 11;
        Press(x, y, ListA()->m_hWnd);
        for (auto& s : stages)
            zyn::user::QueueIdleAction(std::move(s));
        MoveTo(x + 9, y, ListA()->m_hWnd);
        Pump();
        EXPECT_EQ(zyn::user::PendingIdleActions(), 0u) << "every stage was played";
    }
    // One move (moves queued together are merged into one by the input queue).
    static void MoveScreen(POINT p) { InjectMouseMove(p.x, p.y); }
    HSHBGROUP a = nullptr, b = nullptr;
};

TEST_F(DragTest, NoDragBeforeTheCursorIsMoreThanEightPixelsAway)
{
    MakeGroups();
    names[a] = "A";
    CRect icon;
    ListA()->GetItemRect(1, &icon, LVIR_ICON);
    Press(icon.left + 4, icon.top + 11, ListA()->m_hWnd);
    MoveTo(icon.left + 4 + 5, icon.top + 11 + 3, ListA()->m_hWnd); // 8 away
    EXPECT_EQ(ListA()->GetDragItem(), -1);
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& l) { return l == "80DB A 1"; }));
    // One more pixel: the drag starts (and its loop, with no input scripted, cancels).
    MoveTo(icon.left + 4 + 5, icon.top + 11 + 4, ListA()->m_hWnd);
    Pump();
    EXPECT_TRUE(InOrder(TakeLog(), {"80DB A 1", "80E9 A 1", "80E8 A 1", "80E7 A -1", "80EB A 0"}));
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    EXPECT_EQ(ListA()->GetDragItem(), -1);
    EXPECT_FALSE(ListA()->IsDragDropOwner());
    InjectMouseButton(MouseButton::Left, false);
    Pump();
}

TEST_F(DragTest, ADraggedItemExpandsACollapsedGroupAndMovesIntoItsList)
{
    MakeGroups();
    names[a] = "A";
    names[b] = "B";
    const POINT header = Screen(bar->m_hWnd, 100, 290);
    DragItem(1, {
        [&] { MoveScreen(header); },                        // the bar: enter
        [&] { MoveScreen({header.x + 1, header.y}); },      // the bar: over, B pending
        [&] { zyn::base::Clock::Advance(250); },            // B expands under the drag
        [&] {
            EXPECT_EQ(bar->GetExpandedGroup(), b) << "expanded during the drag";
            MoveScreen(Screen(ListB()->m_hWnd, 100, 60));    // below B's last item
            InjectMouseButton(MouseButton::Left, false);
        },
    });
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"three"}));
    EXPECT_EQ(Texts(ListB()), (std::vector<std::wstring>{L"x", L"two"}));
    EXPECT_EQ(ListB()->GetItemData(1), 0u) << "item data only within one list";
    EXPECT_GE(ListB()->GetItemImage(1), 0);
    EXPECT_TRUE(InOrder(TakeLog(), {"80DB A 1", "80E9 A 1", "80E8 A 1", "80E7 A -1", "80A6 - -1", "80D7 B -1",
        "80D5 B -1", "80A4 B -1", "80A6 B -1", "80A8 B -1", "80E1 B 1", "80EB B -1", "80DE A 1", "80EB A 0"}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ListB()->GetPlaceHolder(), -1);
}

TEST_F(DragTest, MoveAndCopyWithinAndBetweenLists)
{
    struct Row {
        const char* name;
        int item;
        bool toB;          // into B's list (expanded first), else within A
        int dropY;         // in the target list
        bool ctrl;
        std::vector<std::wstring> a, b;
        LPARAM dataOfDropped;
        int droppedAt;
    };
    const Row rows[] = {
        // Gaps of A: 24..30 before item 1, 52..58 before item 2; above 2 is item 0.
        {"move to an earlier place", 2, false, 27, false, {L"one", L"three", L"two"}, {L"x"}, 79, 1},
        {"move to the top", 1, false, 1, false, {L"two", L"one", L"three"}, {L"x"}, 78, 0},
        {"move to the end", 0, false, 90, false, {L"two", L"three", L"one"}, {L"x"}, 77, 2},
        {"copy within the list", 0, false, 27, true, {L"one", L"one", L"two", L"three"}, {L"x"}, 77, 1},
        {"copy into another list", 2, true, 1, true, {L"one", L"two", L"three"}, {L"three", L"x"}, 0, 0},
    };
    for (const Row& r : rows) {
        MakeGroups();
        HWND target = ListA()->m_hWnd;
        if (r.toB) {
            // B's list lies where A's does once B is expanded; A's list stays the source.
            target = ListB()->m_hWnd;
        }
        const POINT drop = Screen(r.toB ? bar->m_hWnd : target, r.toB ? 100 : 100, r.toB ? 290 : r.dropY);
        std::vector<std::function<void()>> stages;
        if (r.toB) {
            stages.push_back([&] { MoveScreen(drop); });
            stages.push_back([&] { MoveScreen({drop.x + 1, drop.y}); });
            stages.push_back([] { zyn::base::Clock::Advance(250); });
        }
        stages.push_back([&, target] {
            if (r.ctrl)
                InjectKey(VK_CONTROL, true);
            MoveScreen(Screen(target, 100, r.dropY));
            InjectMouseButton(MouseButton::Left, false);
        });
        DragItem(r.item, std::move(stages));
        if (r.ctrl) {
            InjectKey(VK_CONTROL, false);
            Pump();
        }
        EXPECT_EQ(Texts(ListA()), r.a) << r.name;
        EXPECT_EQ(Texts(ListB()), r.b) << r.name;
        COXSHBListCtrl* into = r.toB ? ListB() : ListA();
        EXPECT_EQ(static_cast<LPARAM>(into->GetItemData(r.droppedAt)), r.dataOfDropped) << r.name;
        bar.reset();
    }
}

TEST_F(DragTest, ExtraBytesOfTheSourcesParentReachTheTargetsParent)
{
    MakeGroups();
    const BYTE bytes[] = {9, 8, 7};
    std::vector<BYTE> received;
    int receivedItem = -2;
    onNotify = [&](NMSHORTCUTBAR& nm, LRESULT& r) {
        if (nm.hdr.code == SHBN_GETEXTRADRAGDATA) {
            auto* extra = reinterpret_cast<SHBExtraDragData*>(nm.lParam);
            EXPECT_EQ(extra->nDataSize, 0u);
            EXPECT_EQ(extra->pData, nullptr);
            extra->nDataSize = 3;
            extra->pData = bytes;
        } else if (nm.hdr.code == SHBN_EXTRADRAGDATADROPPED) {
            auto* extra = reinterpret_cast<SHBExtraDragData*>(nm.lParam);
            received.assign(extra->pData, extra->pData + extra->nDataSize);
            receivedItem = nm.nItem;
        }
        r = 0;
        return false;
    };
    const POINT gap = Screen(ListA()->m_hWnd, 100, 27);
    DragItem(2, {[&] {
        MoveScreen(gap);
        InjectMouseButton(MouseButton::Left, false);
    }});
    EXPECT_EQ(received, (std::vector<BYTE>{9, 8, 7}));
    EXPECT_EQ(receivedItem, 1) << "the place it was dropped at";
    onNotify = nullptr;
}

TEST_F(DragTest, RefusedDropsAndVetoesLeaveTheSourceAlone)
{
    MakeGroups();
    names[a] = "A";
    // Onto an item: no placeholder, no drop, nothing deleted.
    CRect first;
    ListA()->GetItemRect(0, &first, LVIR_ICON);
    const POINT onItem = Screen(ListA()->m_hWnd, first.left + 5, first.top + 5);
    DragItem(2, {[&] {
        MoveScreen(onItem);
        InjectMouseButton(MouseButton::Left, false);
    }});
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    EXPECT_TRUE(InOrder(TakeLog(), {"80EB A 0"}));
    // The parent that takes the drop does it all itself: the list inserts nothing, and
    // with no effect reported the source stays.
    answers[SHBN_DROP] = 1;
    const POINT gap = Screen(ListA()->m_hWnd, 100, 27);
    DragItem(2, {[&] {
        MoveScreen(gap);
        InjectMouseButton(MouseButton::Left, false);
    }});
    answers.clear();
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    // The parent refuses the drag loop: no loop, the data released (the case's COM check).
    answers[SHBN_BEGINDRAGLOOP] = 1;
    DragItem(1, {});
    EXPECT_EQ(ListA()->GetDragItem(), -1);
    answers.clear();
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    // Nothing dropped on a bar that takes no drops.
    bar->SetBarStyle(SHBS_DISABLEDROPITEM);
    DragItem(2, {[&] {
        MoveScreen(gap);
        InjectMouseButton(MouseButton::Left, false);
    }});
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"two", L"three"}));
}

TEST_F(DragTest, ADataSourcePostedToAWindowThatGoesIsReleased)
{
    MakeGroups();
    const size_t live = zyn::com::LiveObjectCount();
    EXPECT_EQ(ListA()->SetDragItem(1), -1);
    EXPECT_EQ(ListA()->GetDragItem(), 1);
    EXPECT_GT(zyn::com::LiveObjectCount(), live) << "the posted data source";
    bar.reset(); // before the posted message is handled
    Pump();
    EXPECT_EQ(zyn::com::LiveObjectCount(), live);
    // Items that are not there start nothing.
    MakeGroups();
    EXPECT_EQ(ListA()->SetDragItem(7), -1);
    EXPECT_EQ(ListA()->GetDragItem(), -1);
}

// A drop target outside the shortcut bar: it takes moves of the bar's item format and
// reads both the item block and the text.
class ReadingTarget : public COleDropTarget {
public:
    std::vector<uint8_t> block;
    std::wstring text;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint) override { return Offer(data); }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override { return Offer(data); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override
    {
        if (HGLOBAL h = data->GetGlobalData(static_cast<CLIPFORMAT>(zyn::toolkit::shb::ChildWndItemFormat()))) {
            const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
            block.assign(p, p + GlobalSize(h));
            GlobalUnlock(h);
            GlobalFree(h);
        }
        if (HGLOBAL h = data->GetGlobalData(CF_UNICODETEXT)) {
            // UTF-16 units, whatever the size of wchar_t.
            const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
            for (size_t i = 0; i + 1 < GlobalSize(h) && (p[i] || p[i + 1]); i += 2)
                text.push_back(static_cast<wchar_t>(p[i] | (p[i + 1] << 8)));
            GlobalUnlock(h);
            GlobalFree(h);
        }
        return TRUE;
    }

private:
    static DROPEFFECT Offer(COleDataObject* data)
    {
        return data->IsDataAvailable(static_cast<CLIPFORMAT>(zyn::toolkit::shb::ChildWndItemFormat()))
            ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    }
};

TEST_F(DragTest, ASecondTargetOutsideTheBarReadsTheItem)
{
    MakeGroups();
    names[a] = "A";
    CTraceWnd outside;
    ASSERT_TRUE(outside.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 250, 50, 140, 200,
        parent.m_hWnd, nullptr));
    ReadingTarget target;
    ASSERT_TRUE(target.Register(&outside));
    const POINT over = Screen(outside.m_hWnd, 40, 40);
    DragItem(1, {[&] {
        MoveScreen(over);
        InjectMouseButton(MouseButton::Left, false);
    }});
    EXPECT_EQ(target.text, L"two");
    // The block begins with the text as UTF-16 and its zero unit, then the item data 78.
    ASSERT_GE(target.block.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(target.block.begin(), target.block.begin() + 12),
        (std::vector<uint8_t>{'t', 0, 'w', 0, 'o', 0, 0, 0, 78, 0, 0, 0}));
    EXPECT_EQ(Texts(ListA()), (std::vector<std::wstring>{L"one", L"three"})) << "a move deletes the source";
    EXPECT_TRUE(InOrder(TakeLog(), {"80DE A 1", "80EB A 0"}));
    target.Revoke();
    outside.DestroyWindow();
}

} // namespace
} // namespace shbtest
