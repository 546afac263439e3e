// Dragging menu items with scripted input on the virtual clock (a plain bitmap menu
// neither drags nor takes drops; the drag-and-drop menu does): within one menu and
// between two (move and copy, a submenu with its items, never into itself), the drop
// source's and drop target's messages in order, automatic scrolling of a popup cut to
// its monitor, Escape, command bars on either end, unreadable data, and dropped records
// inserted into a menu directly.
#include <cstring>

#include "platform/afx/ole/oledatasource.h"
#include "platform/base/globalmem.h"
#include "platform/base/resource.h"
#include "platform/user/monitor.h"
#include "tests/menus/customize_test_support.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/menus/menu_drag_data.h"

namespace zyn::test {
namespace {

using user::MouseButton;
using Lines = std::vector<std::wstring>;
using Trace = std::vector<std::string>;

constexpr UINT ID_A = 0x8301, ID_B = 0x8302, ID_C = 0x8303, ID_D = 0x8304, ID_X = 0x8310, ID_Y = 0x8311,
               ID_S1 = 0x8320, ID_S2 = 0x8321;
// A command whose string resource (added once to the executable) has a prompt and a
// short text after the newline.
constexpr UINT ID_PROMPTED = 0x8330;

void Move(CPoint p) { user::QueueIdleAction([p] { user::InjectMouseMove(p.x, p.y); }); }
void Key(int vk, bool down) { user::QueueIdleAction([vk, down] { user::InjectKey(vk, down); }); }
void Release() { user::QueueIdleAction([] { user::InjectMouseButton(MouseButton::Left, false); }); }
void Wait(uint32_t ms) { user::QueueIdleAction([ms] { base::Clock::Advance(ms); }); }

// Points over an item: near its top (dropped items go before it) or near its bottom
// (after it).
CPoint Before(const COXBitmapMenuPopupWnd& popup, int item)
{
    CRect r = popup.GetItemRect(item);
    CPoint p(r.CenterPoint().x, r.top + 2 - popup.GetScrollOffset());
    ::ClientToScreen(popup.GetSafeHwnd(), &p);
    return p;
}
CPoint After(const COXBitmapMenuPopupWnd& popup, int item)
{
    CRect r = popup.GetItemRect(item);
    CPoint p(r.CenterPoint().x, r.bottom - 2 - popup.GetScrollOffset());
    ::ClientToScreen(popup.GetSafeHwnd(), &p);
    return p;
}

// The frame, the customisation window and a command-bar stand-in: a window that takes
// dropped menu items as buttons and drags its own items out.
class CBarWnd : public CWnd {
public:
    COXSHBDropTarget target;
    std::vector<OXDROPPEDMENUITEM> received;
    // What a press on the bar drags: records, or raw bytes in the menu-item format.
    OXDroppedMenuItems outgoing;
    std::vector<uint8_t> rawOutgoing;
    DROPEFFECT effect = 0xFF;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        auto* a = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
        switch (message) {
        case SHBDTM_DRAGENTER:
        case SHBDTM_DRAGOVER:
            a->result = OXIsMenuItemDataAvailable(a->pDataObject)
                ? ((a->dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE)
                : DROPEFFECT_NONE;
            return 1;
        case SHBDTM_DRAGLEAVE: return 1;
        case SHBDTM_DROP: {
            OXDroppedMenuItems items;
            a->result = OXReadMenuItemData(a->pDataObject, items).ok();
            received.insert(received.end(), items.begin(), items.end());
            return 1;
        }
        case WM_LBUTTONDOWN: StartDrag(); return 0;
        default: return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    void StartDrag()
    {
        COleDataSource* data = nullptr;
        if (!rawOutgoing.empty()) {
            data = new COleDataSource;
            const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, rawOutgoing.size());
            std::memcpy(::GlobalLock(block), rawOutgoing.data(), rawOutgoing.size());
            ::GlobalUnlock(block);
            data->CacheGlobalData(static_cast<CLIPFORMAT>(OXGetMenuItemClipboardFormat()), block);
        } else {
            data = OXCreateMenuItemDataSource(outgoing);
        }
        ASSERT_NE(data, nullptr);
        effect = data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
        data->InternalRelease();
    }
};

struct Host {
    CMenuOwnerWnd frame;
    CCustomizeWnd customize;
    CBarWnd bar;
    Host()
    {
        EXPECT_TRUE(frame.CreateOwner(RECT{0, 0, 1200, 900}));
        const LPCTSTR cls = AfxRegisterWndClass(0);
        EXPECT_TRUE(customize.CreateEx(0, cls, L"customize", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50,
            frame.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(77))));
        EXPECT_TRUE(bar.CreateEx(0, cls, L"bar", WS_CHILD | WS_VISIBLE, 700, 600, 300, 30, frame.GetSafeHwnd(),
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(78))));
        EXPECT_TRUE(bar.target.Register(&bar));
    }
    ~Host()
    {
        bar.target.Revoke();
        frame.DestroyWindow();
    }
    CPoint BarPoint() const
    {
        CPoint p(150, 15);
        ::ClientToScreen(bar.GetSafeHwnd(), &p);
        return p;
    }
};

class MenuDragTest : public CustomizeTest {
protected:
    // Presses on an item of a popup, keeps the button down past the hold timer and lets
    // the drag play what the case queued (moves, keys, the release).
    void DragFrom(const COXBitmapMenuPopupWnd& popup, int item)
    {
        const CPoint start = ItemCentre(popup, item);
        user::InjectMouseMove(start.x, start.y);
        user::InjectMouseButton(MouseButton::Left, true);
        Pump(); // the press selects the item and starts the hold timer
        base::Clock::Advance(OX_BMPOPUP_DRAG_DELAY);
        Pump();
        EXPECT_EQ(user::PendingIdleActions(), 0u) << "the drag played its whole script";
        // Whatever the script left held goes up.
        if (::GetKeyState(VK_LBUTTON) < 0)
            user::InjectMouseButton(MouseButton::Left, false);
        for (int vk : {VK_CONTROL, VK_ESCAPE})
            if (::GetKeyState(vk) < 0)
                user::InjectKey(vk, false);
        Pump();
    }
    // Presses on an item past the hold delay and any double click, then releases there.
    void HoldAndRelease(const COXBitmapMenuPopupWnd& popup, int item)
    {
        const CPoint start = ItemCentre(popup, item);
        user::InjectMouseMove(start.x, start.y);
        user::InjectMouseButton(MouseButton::Left, true);
        Pump();
        base::Clock::Advance(OX_BMPOPUP_DRAG_DELAY + 1000);
        Pump();
        user::InjectMouseButton(MouseButton::Left, false);
        Pump();
    }
    // Presses on the bar, which drags its outgoing items.
    void DragFromBar(Host& host)
    {
        const CPoint start = host.BarPoint();
        user::InjectMouseMove(start.x, start.y);
        user::InjectMouseButton(MouseButton::Left, true);
        Pump();
        EXPECT_EQ(user::PendingIdleActions(), 0u);
        Pump();
    }
    // The record a menu item has (its item data), to see an item moved as itself.
    static ULONG_PTR DataOf(const CMenu& menu, int pos)
    {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        menu.GetMenuItemInfo(static_cast<UINT>(pos), &mii, TRUE);
        return mii.dwItemData;
    }
};

TEST_F(MenuDragTest, WithinOneMenuTheItemMovesAsItselfWithTheMessagesInOrder)
{
    CurrentSkin skin(SkinKind::XP);
    Host host;
    COXDragDropBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}, {ID_C, L"c"}, {ID_D, L"d"}});
    const ULONG_PTR record = DataOf(menu, 0);
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 100, &host.customize));
    Pump();
    DragTrace::Clear();
    host.customize.events.clear();
    int markDuringDrag = -2;
    Move(After(popup, 2));
    Move(After(popup, 2) + CPoint(1, 0));
    user::QueueIdleAction([&] { markDuringDrag = menu.GetInsertMark(); });
    Release();
    DragFrom(popup, 0);

    EXPECT_EQ(DragTrace::Lines(), (Trace{
        "A 80B4",                                  // the source asks its owner; unclaimed, the default waits
        "A 80B5", "A 80B0", "A 80AD", "A 80B3",    // the first step, already over the popup
        "A 80B5", "A 80B0", "A 80AF", "A 80B3",
        "A 80B5", "A 80B2", "A 80B1",              // released: drop-ex unclaimed, then the drop
    }));
    EXPECT_EQ(markDuringDrag, 3) << "after the third item";
    EXPECT_EQ(Describe(menu.GetSafeHmenu()), (Lines{L"8302 b", L"8303 c", L"8301 a", L"8304 d"}));
    EXPECT_EQ(DataOf(menu, 2), record) << "moved, not copied";
    EXPECT_EQ(menu.GetCustomizedItem(), 2) << "the selection went with it";
    EXPECT_EQ(menu.GetInsertMark(), -1);
    EXPECT_EQ(menu.GetDraggedItem(), -1);
    EXPECT_FALSE(menu.IsDragDropOwner());
    EXPECT_EQ(host.customize.Codes(), (std::vector<UINT>{OXBMCE_CUSTOMIZEDITEMCHANGED, OXBMCE_INSERTMARKCHANGED,
                                          OXBMCE_INSERTMARKCHANGED, OXBMCE_CUSTOMIZEDITEMCHANGED}));

    // Onto its own place: no effect, no mark, nothing changes.
    DragTrace::Clear();
    int mark = -2;
    Move(Before(popup, 2));
    Move(After(popup, 2));
    user::QueueIdleAction([&] { mark = menu.GetInsertMark(); });
    Release();
    DragFrom(popup, 2);
    EXPECT_EQ(mark, -1);
    EXPECT_EQ(Describe(menu.GetSafeHmenu()), (Lines{L"8302 b", L"8303 c", L"8301 a", L"8304 d"}));
    EXPECT_EQ(DragTrace::Lines().back(), "A 80AE") << "a release where nothing may go only leaves";
    popup.DestroyWindow();
}

TEST_F(MenuDragTest, ItemsTheUserDoesNotOwnAreNotDragged)
{
    CurrentSkin skin(SkinKind::Classic);
    Host host;
    COXDragDropBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {57616, L"&1 a.txt"}, {ID_OX_SHOWALLITEMS, L""}});
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 100, &host.customize));
    Pump();
    for (int item : {1, 2}) {
        DragTrace::Clear();
        HoldAndRelease(popup, item);
        EXPECT_TRUE(DragTrace::Lines().empty()) << item;
        EXPECT_EQ(menu.GetCustomizedItem(), item) << item << ": selected all the same";
        EXPECT_EQ(Describe(menu.GetSafeHmenu()), (Lines{L"8301 a", L"E110 &1 a.txt", L"FF56 "})) << item;
    }
    popup.DestroyWindow();
}

// A plain bitmap menu leaves dragging to derived menus: a press held on an item starts no
// drag, and what a bar drags over its popup finds no place there and is not dropped.
TEST_F(MenuDragTest, APlainBitmapMenuNeitherDragsNorTakesDrops)
{
    CurrentSkin skin(SkinKind::Classic);
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}});
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 100, &host.customize));
    Pump();
    DragTrace::Clear();
    HoldAndRelease(popup, 0);
    EXPECT_TRUE(DragTrace::Lines().empty()) << "no drag started";
    EXPECT_FALSE(menu.IsDragDropOwner());
    EXPECT_EQ(menu.GetCustomizedItem(), 0) << "the press selects the item all the same";

    host.bar.outgoing = {OXDROPPEDMENUITEM{0x9001, L"&Tool", 0, 0, {}}};
    int mark = -2;
    Move(Before(popup, 1));
    Move(Before(popup, 1) + CPoint(1, 0));
    user::QueueIdleAction([&] { mark = menu.GetInsertMark(); });
    Release();
    DragFromBar(host);
    EXPECT_EQ(mark, -1) << "no insert mark";
    EXPECT_EQ(host.bar.effect, static_cast<DROPEFFECT>(DROPEFFECT_NONE));
    EXPECT_EQ(Describe(menu.GetSafeHmenu()), (Lines{L"8301 a", L"8302 b"}));
    popup.DestroyWindow();
}

TEST_F(MenuDragTest, BetweenTwoMenusAMoveTakesTheItemAndACopyLeavesIt)
{
    CurrentSkin skin(SkinKind::Classic);
    struct Row {
        const char* name;
        bool copy;
        Lines a;
        int customisedA;
    };
    const Row rows[] = {
        {"move", false, {L"8301 a", L"8303 c"}, -1},
        {"copy with Ctrl", true, {L"8301 a", L"8302 b", L"8303 c"}, 1},
    };
    for (const Row& r : rows) {
        Host host;
        COXDragDropBitmapMenu a, b;
        FillTextMenu(a, {{ID_A, L"a"}, {ID_B, L"b"}, {ID_C, L"c"}});
        FillTextMenu(b, {{ID_X, L"x"}, {ID_Y, L"y"}});
        CTracingPopup pa("A"), pb("B");
        ASSERT_TRUE(pa.TrackPopupMenu(&a, 0, 100, 100, &host.customize));
        ASSERT_TRUE(pb.TrackPopupMenu(&b, 0, 400, 100, &host.customize));
        Pump();
        DragTrace::Clear();
        Move(Before(pb, 1));
        if (r.copy)
            Key(VK_CONTROL, true);
        Move(Before(pb, 1) + CPoint(1, 0));
        Release();
        DragFrom(pa, 1);
        EXPECT_EQ(Describe(a.GetSafeHmenu()), r.a) << r.name;
        EXPECT_EQ(Describe(b.GetSafeHmenu()), (Lines{L"8310 x", L"8302 b", L"8311 y"})) << r.name;
        EXPECT_EQ(a.GetCustomizedItem(), r.customisedA) << r.name;
        EXPECT_EQ(b.GetCustomizedItem(), 1) << r.name << ": the dropped item is selected";
        EXPECT_EQ(pb.GetItemCount(), 3) << r.name << ": laid out again";
        if (!r.copy) {
            EXPECT_EQ(DragTrace::Lines(), (Trace{
                "A 80B4",
                "A 80B5", "B 80B0", "B 80AD", "A 80B3",   // the first step is over the other popup
                "A 80B5", "B 80B0", "B 80AF", "A 80B3",
                "A 80B5", "B 80B2", "B 80B1",
            })) << r.name;
        }
        pa.DestroyWindow();
        pb.DestroyWindow();
    }
}

TEST_F(MenuDragTest, ASubmenuTravelsWithItsItemsButNeverIntoItself)
{
    CurrentSkin skin(SkinKind::Office2003);
    CustomizeOrganizer organizer;
    organizer.showOnly = FALSE;
    CustomizeOrganizer::current = &organizer;
    OXSetMenuOrganizerFinder(&CustomizeOrganizer::Find);
    Host host;
    COXDragDropBitmapMenu a, sub, b;
    FillTextMenu(sub, {{ID_S1, L"s1"}, {0, L""}, {ID_S2, L"s2"}});
    a.CreatePopupMenu();
    AppendOwnerDrawn(a, 0, ID_A, nullptr, L"a");
    AppendOwnerDrawn(a, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu()), nullptr, L"&Sub");
    AppendOwnerDrawn(a, 0, ID_C, nullptr, L"c");
    a.CalcExtents();
    FillTextMenu(b, {{ID_X, L"x"}});
    const Lines original{L"8301 a", L"> &Sub", L"  8320 s1", L"  -", L"  8321 s2", L"8303 c"};
    CTracingPopup pa("A"), pb("B");
    ASSERT_TRUE(pa.TrackPopupMenu(&a, 0, 100, 100, &host.customize));
    {
        // The submenu itself, open in a popup of its own: the drop is refused there.
        CTracingPopup ps("S");
        ASSERT_TRUE(ps.TrackPopupMenu(&sub, 0, 400, 300, &host.customize));
        Pump();
        DragTrace::Clear();
        int mark = -2;
        Move(Before(ps, 2));
        Move(Before(ps, 2) + CPoint(1, 0));
        user::QueueIdleAction([&] { mark = sub.GetInsertMark(); });
        Release();
        DragFrom(pa, 1);
        EXPECT_EQ(mark, -1);
        EXPECT_EQ(Describe(a.GetSafeHmenu()), original);
        EXPECT_EQ(Describe(sub.GetSafeHmenu()), (Lines{L"8320 s1", L"-", L"8321 s2"}));
        EXPECT_EQ(std::count(DragTrace::Lines().begin(), DragTrace::Lines().end(), "S 80B1"), 0);
        EXPECT_EQ(DragTrace::Lines().back(), "S 80AE");
    }
    // Into the other menu: the submenu is made anew with its items, and the organizer keeps it.
    ASSERT_TRUE(pb.TrackPopupMenu(&b, 0, 400, 300, &host.customize));
    Pump();
    Move(After(pb, 0));
    Move(After(pb, 0) + CPoint(1, 0));
    Release();
    DragTrace::Clear();
    DragFrom(pa, 1);
    EXPECT_EQ(Describe(a.GetSafeHmenu()), (Lines{L"8301 a", L"8303 c"}));
    EXPECT_EQ(Describe(b.GetSafeHmenu()), (Lines{L"8310 x", L"> &Sub", L"  8320 s1", L"  -", L"  8321 s2"}));
    ASSERT_EQ(organizer.kept.size(), 1u);
    EXPECT_EQ(organizer.kept[0], ::GetSubMenu(b.GetSafeHmenu(), 1));
    EXPECT_NE(organizer.kept[0], sub.GetSafeHmenu());
    pa.DestroyWindow();
    pb.DestroyWindow();
}

TEST_F(MenuDragTest, EscapeCancelsAndNothingChanges)
{
    CurrentSkin skin(SkinKind::Classic);
    Host host;
    COXDragDropBitmapMenu a, b;
    FillTextMenu(a, {{ID_A, L"a"}, {ID_B, L"b"}});
    FillTextMenu(b, {{ID_X, L"x"}, {ID_Y, L"y"}});
    CTracingPopup pa("A"), pb("B");
    ASSERT_TRUE(pa.TrackPopupMenu(&a, 0, 100, 100, &host.customize));
    ASSERT_TRUE(pb.TrackPopupMenu(&b, 0, 400, 100, &host.customize));
    Pump();
    DragTrace::Clear();
    int mark = -2;
    Move(After(pb, 0));
    user::QueueIdleAction([&] { mark = b.GetInsertMark(); });
    Key(VK_ESCAPE, true);
    DragFrom(pa, 0);
    EXPECT_EQ(mark, 1) << "the mark showed while over the menu";
    EXPECT_EQ(b.GetInsertMark(), -1);
    EXPECT_EQ(DragTrace::Lines(), (Trace{"A 80B4", "A 80B5", "B 80B0", "B 80AD", "A 80B3", "A 80B5", "B 80AE"}));
    EXPECT_EQ(Describe(a.GetSafeHmenu()), (Lines{L"8301 a", L"8302 b"}));
    EXPECT_EQ(Describe(b.GetSafeHmenu()), (Lines{L"8310 x", L"8311 y"}));
    EXPECT_FALSE(a.IsDragDropOwner());
    pa.DestroyWindow();
    pb.DestroyWindow();
}

// A menu taller than the work area is cut to it; dragged near its bottom edge it scrolls
// one item after the drop target's scroll delay, and the drop lands where the items now are.
TEST_F(MenuDragTest, APopupCutToItsMonitorScrollsNearItsEdge)
{
    CurrentSkin skin(SkinKind::Classic);
    const user::MonitorDesc monitor{RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 300}, true};
    ASSERT_TRUE(user::SetMonitorLayout(std::span<const user::MonitorDesc>(&monitor, 1)));
    Host host;
    COXDragDropBitmapMenu menu;
    std::vector<std::wstring> names;
    std::vector<TextItem> items;
    for (int i = 0; i < 40; ++i)
        names.push_back(L"item " + std::to_wstring(i));
    for (int i = 0; i < 40; ++i)
        items.push_back(TextItem{static_cast<UINT>(0x8400 + i), names[static_cast<size_t>(i)].c_str()});
    FillTextMenu(menu, items);
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 0, &host.customize));
    Pump();
    CRect window, client;
    popup.GetWindowRect(&window);
    popup.GetClientRect(&client);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.bottom, 300) << "cut to the work area";
    const int itemHeight = popup.GetItemRect(0).Height();
    EXPECT_EQ(popup.GetMaxScrollOffset(), 40 * itemHeight - client.Height());

    DragTrace::Clear();
    const CPoint over3 = Before(popup, 3);
    CPoint edge(over3.x, 0);
    {
        CPoint bottom(client.CenterPoint().x, client.bottom - 3); // inside the scroll inset
        ::ClientToScreen(popup.GetSafeHwnd(), &bottom);
        edge = bottom;
    }
    int offsetAfterScroll = -1;
    Move(over3);
    Move(edge);
    Wait(COleDropTarget::nScrollDelay + 10); // one drag tick, past the delay
    user::QueueIdleAction([&] { offsetAfterScroll = popup.GetScrollOffset(); });
    Move(over3);
    Release();
    DragFrom(popup, 0);
    EXPECT_EQ(DragTrace::Lines(), (Trace{
        "A 80B4",
        "A 80B5", "A 80B0", "A 80AD", "A 80B3",
        "A 80B5", "A 80B0", "A 80AE", "A 80B3",            // into the band: the drag leaves the items
        "A 80B5", "A 80B0", "A V1", "A 80B3",              // the tick after the delay scrolls one line
        "A 80B5", "A 80B0", "A 80AD", "A 80AF", "A 80B3",  // out of the band: entered again
        "A 80B5", "A 80B2", "A 80B1",
    }));
    EXPECT_EQ(offsetAfterScroll, itemHeight);
    // Over what was item 3 is now item 4: item 0 goes before it, to position 3.
    const Lines moved = Describe(menu.GetSafeHmenu());
    ASSERT_EQ(moved.size(), 40u);
    EXPECT_EQ(moved[2], L"8403 item 3");
    EXPECT_EQ(moved[3], L"8400 item 0");
    EXPECT_EQ(moved[4], L"8404 item 4");

    // The keys keep the selection in view.
    menu.SetCustomizedItem(-1);
    EXPECT_TRUE(popup.HandleKeyDown(VK_END));
    EXPECT_EQ(popup.GetScrollOffset(), popup.GetMaxScrollOffset());
    EXPECT_TRUE(popup.HandleKeyDown(VK_HOME));
    EXPECT_EQ(popup.GetScrollOffset(), 0);
    popup.DestroyWindow();
}

TEST_F(MenuDragTest, CommandBarsTakeDraggedItemsAndGiveTheirs)
{
    CurrentSkin skin(SkinKind::Classic);
    static const bool strings = zyn::base::AddStringTable(nullptr, {{ID_PROMPTED, L"Opens the thing\n&Thing"}});
    ASSERT_TRUE(strings);
    auto cmd = [](uint32_t id, const wchar_t* text) { return OXDROPPEDMENUITEM{id, text, 0, 0, {}}; };
    struct Row {
        const char* name;
        OXDroppedMenuItems outgoing;
        std::vector<uint8_t> raw;
        DROPEFFECT effect;
        Lines menu;
    };
    const Row rows[] = {
        {"a command", {cmd(0x9001, L"&Tool")}, {}, DROPEFFECT_MOVE, {L"8301 a", L"9001 &Tool", L"8302 b"}},
        {"no text: the string resource after its newline", {cmd(ID_PROMPTED, L"")}, {}, DROPEFFECT_MOVE,
            {L"8301 a", L"8330 &Thing", L"8302 b"}},
        {"a separator and a submenu",
            {cmd(0, L""), OXDROPPEDMENUITEM{OX_DROPDATA_POPUP, L"&More", 0, 0, {cmd(0x9002, L"m")}}}, {},
            DROPEFFECT_MOVE, {L"8301 a", L"-", L"> &More", L"  9002 m", L"8302 b"}},
        {"unreadable data: nothing dropped", {}, {0x01, 0x90, 0x00, 0x00, 0x41}, DROPEFFECT_NONE,
            {L"8301 a", L"8302 b"}},
    };
    for (const Row& r : rows) {
        Host host;
        COXDragDropBitmapMenu menu;
        FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}});
        CTracingPopup popup("A");
        ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 100, &host.customize));
        Pump();
        host.bar.outgoing = r.outgoing;
        host.bar.rawOutgoing = r.raw;
        Move(Before(popup, 1));
        Move(Before(popup, 1) + CPoint(1, 0));
        Release();
        DragFromBar(host);
        EXPECT_EQ(host.bar.effect, r.effect) << r.name;
        EXPECT_EQ(Describe(menu.GetSafeHmenu()), r.menu) << r.name;
        popup.DestroyWindow();
    }

    // And out of a menu onto the bar: the bar gets the records, the menu loses the item.
    Host host;
    COXDragDropBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"&Beta\tCtrl+B"}});
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 100, 100, &host.customize));
    Pump();
    Move(host.BarPoint());
    Move(host.BarPoint() + CPoint(1, 0));
    Release();
    DragFrom(popup, 1);
    ASSERT_EQ(host.bar.received.size(), 1u);
    EXPECT_EQ(host.bar.received[0].nID, ID_B);
    EXPECT_EQ(host.bar.received[0].sText, L"&Beta\tCtrl+B") << "the whole text, accelerator and all";
    EXPECT_EQ(Describe(menu.GetSafeHmenu()), Lines{L"8301 a"});
    popup.DestroyWindow();
}

TEST_F(MenuDragTest, DroppedRecordsGoIntoAMenuWhole)
{
    CurrentSkin skin(SkinKind::Classic);
    std::vector<uint8_t> good;
    ASSERT_TRUE(OXWriteDroppedMenuItems({OXDROPPEDMENUITEM{0x9001, L"one", 0, 0, {}},
                                            OXDROPPEDMENUITEM{OX_DROPDATA_POPUP, L"two", 0, 0,
                                                {OXDROPPEDMENUITEM{0x9002, L"inner", 0, 0, {}}}}},
        good).ok());
    const size_t length = good.size();
    good.push_back(0xAB); // what follows the run stays unread
    struct Row {
        const char* name;
        size_t size;
        bool wrapped; // the target menu has a bitmap menu
        BOOL ok;
        size_t advanced;
        Lines menu;
    };
    const Row rows[] = {
        {"into a bitmap menu", good.size(), true, TRUE, length,
            {L"8301 a", L"9001 one", L"> two", L"  9002 inner", L"8302 b"}},
        {"into a plain menu", good.size(), false, TRUE, length,
            {L"8301 a", L"9001 one", L"> two", L"  9002 inner", L"8302 b"}},
        {"cut inside the submenu", length - 3, true, FALSE, 0, {L"8301 a", L"8302 b"}},
        {"cut inside the first record", 6, false, FALSE, 0, {L"8301 a", L"8302 b"}},
        {"nothing", 0, true, FALSE, 0, {L"8301 a", L"8302 b"}},
    };
    for (const Row& r : rows) {
        COXBitmapMenu bitmapMenu;
        CMenu plain;
        HMENU target = nullptr;
        if (r.wrapped) {
            FillTextMenu(bitmapMenu, {{ID_A, L"a"}, {ID_B, L"b"}});
            target = bitmapMenu.GetSafeHmenu();
        } else {
            plain.CreatePopupMenu();
            plain.AppendMenu(MF_STRING, ID_A, L"a");
            plain.AppendMenu(MF_STRING, ID_B, L"b");
            target = plain.GetSafeHmenu();
        }
        const BYTE* p = good.data();
        EXPECT_EQ(bitmapMenu.RetrieveDragDropMenuItem(p, good.data() + r.size, target, 1), r.ok) << r.name;
        EXPECT_EQ(static_cast<size_t>(p - good.data()), r.advanced) << r.name;
        EXPECT_EQ(Describe(target), r.menu) << r.name;
        if (r.wrapped && r.ok) {
            // The bitmap menu made the new items its own, so it measures and paints them.
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_FTYPE | MIIM_DATA;
            bitmapMenu.GetMenuItemInfo(1, &mii, TRUE);
            EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << r.name;
            EXPECT_NE(bitmapMenu.GetItemInfo(mii.dwItemData), nullptr) << r.name;
        }
    }
    // A menu handle that is no menu takes nothing.
    COXBitmapMenu any;
    const BYTE* p = good.data();
    EXPECT_FALSE(any.RetrieveDragDropMenuItem(p, good.data() + good.size(), nullptr, 0));
    EXPECT_EQ(p, good.data());
}

TEST_F(MenuDragTest, AMenuThatGoesIsLetGoByItsPopup)
{
    CurrentSkin skin(SkinKind::XP);
    Host host;
    auto menu = std::make_unique<COXBitmapMenu>();
    FillTextMenu(*menu, {{ID_A, L"a"}, {ID_B, L"b"}});
    COXBitmapMenuPopupWnd popup;
    ASSERT_TRUE(popup.TrackPopupMenu(menu.get(), 0, 100, 100, &host.customize));
    Pump();
    menu.reset();
    EXPECT_EQ(popup.GetBitmapMenu(), nullptr);
    EXPECT_FALSE(popup.IsWindowVisible());
    // Painting and input after that find no menu and do nothing.
    popup.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_FALSE(popup.HandleKeyDown(VK_DOWN));
    popup.OnMenuChanged();
    popup.DestroyWindow();
}

} // namespace
} // namespace zyn::test
