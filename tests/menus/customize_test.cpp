// Menus in customisation mode: the popup window's layout, the customisation notifications
// in order with vetoes honoured, the context menu an item gets, the keys, and the
// customised item and insert mark as the skins paint them (pixels by their geometry and
// one golden picture per skin).
#include "tests/menus/customize_test_support.h"
#include "tests/support/golden.h"

#include "platform/user/winpos.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

constexpr UINT ID_A = 0x8301, ID_B = 0x8302, ID_C = 0x8303, ID_D = 0x8304;
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT kCustomizeId = 77;
using Lines = std::vector<std::wstring>;
using Codes = std::vector<UINT>;

// A frame with the customisation window (child ID 77) in it.
struct Host {
    CMenuOwnerWnd frame;
    CCustomizeWnd customize;
    Host()
    {
        EXPECT_TRUE(frame.CreateOwner(RECT{0, 0, 1000, 800}));
        EXPECT_TRUE(customize.CreateEx(0, AfxRegisterWndClass(0), L"customize", WS_CHILD | WS_VISIBLE, 10, 10, 100,
            100, frame.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kCustomizeId))));
    }
    ~Host() { frame.DestroyWindow(); }
};

class CustomizePopupTest : public CustomizeTest {
protected:
    static void LeftClick(CPoint at)
    {
        user::InjectMouseMove(at.x, at.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseButton(user::MouseButton::Left, false);
        user::InjectMouseMove(at.x + 1, at.y); // the button is up: the hold is over
    }
    static void RightClick(CPoint at)
    {
        user::InjectMouseMove(at.x, at.y);
        user::InjectMouseButton(user::MouseButton::Right, true);
        user::InjectMouseButton(user::MouseButton::Right, false);
    }
};

// Window, client and item geometry: every item measured by the documented rule, the
// frame of a WS_EX_DLGMODALFRAME popup round them and its left border once more on
// either side.
TEST_F(CustomizePopupTest, LayoutFollowsTheMeasuredItemsAndTheAlignment)
{
    CurrentSkin skin(SkinKind::Classic);
    const OXDIMENSIONCONSTANTS& d = skin.menuSkin()->GetDimentionConstants();
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"&Alpha"}, {ID_B, L"A much longer label"}, {0, L""}, {ID_C, L"&Gamma"}});
    const int text = MenuTextWidth(L"A much longer label");
    const int itemWidth = d.nImageLeftGap + d.nImageTextGap + text + d.nAccelRightGap; // no image, no accelerator
    const int itemHeight = std::max(MenuTextHeightA() + d.nTextVertPadding, d.nImageVertPadding);
    const int separator = d.nSeparatorHeight;
    const int height = 3 * itemHeight + separator;
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_DLGMODALFRAME);
    const int left = -frame.left, top = -frame.top, right = frame.right, bottom = frame.bottom;
    struct Row {
        const char* name;
        UINT flags;
        int x;       // the window's left edge
    };
    const Row rows[] = {
        {"left aligned", TPM_LEFTALIGN, 300},
        {"centred", TPM_CENTERALIGN, 300 - itemWidth / 2},
        {"right aligned", TPM_RIGHTALIGN, 300 - itemWidth},
    };
    for (const Row& r : rows) {
        COXBitmapMenuPopupWnd popup;
        ASSERT_TRUE(popup.TrackPopupMenu(&menu, r.flags, 300, 100, &host.customize)) << r.name;
        CRect window;
        popup.GetWindowRect(&window);
        EXPECT_EQ(window, CRect(r.x, 100, r.x + itemWidth + left + right + 2 * left, 100 + height + top + bottom))
            << r.name;
        CRect client;
        popup.GetClientRect(&client);
        EXPECT_EQ(client.Size(), CSize(itemWidth + 2 * left, height)) << r.name;
        ASSERT_EQ(popup.GetItemCount(), 4) << r.name;
        EXPECT_EQ(popup.GetItemRect(1), CRect(0, itemHeight, itemWidth + 2 * left, 2 * itemHeight)) << r.name;
        EXPECT_EQ(popup.GetItemRect(2), CRect(0, 2 * itemHeight, itemWidth + 2 * left, 2 * itemHeight + separator))
            << r.name;
        EXPECT_EQ(popup.GetScrollOffset(), 0) << r.name;
        bool thrown = false;
        try {
            popup.GetItemRect(4);
        } catch (CInvalidArgException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << r.name << ": no item 4";
        // The popup is the menu's, in customisation mode for the customisation window,
        // on top, shown without taking the activation, and the menu's drop target.
        EXPECT_EQ(menu.GetPopupWnd(), &popup);
        EXPECT_TRUE(menu.IsCustomizable() && menu.IsInCustomizationMode());
        EXPECT_EQ(menu.GetCustomizationWindow(), host.customize.GetSafeHwnd());
        EXPECT_TRUE(popup.IsWindowVisible());
        EXPECT_TRUE(::GetWindowLongW(popup.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_NE(::GetActiveWindow(), popup.GetSafeHwnd());
        EXPECT_EQ(ole::RegisteredDropTargetCount(), 1u);
        popup.ResetPopupMenu();
        EXPECT_EQ(menu.GetPopupWnd(), nullptr) << r.name;
        EXPECT_FALSE(popup.IsWindowVisible()) << r.name;
        EXPECT_EQ(ole::RegisteredDropTargetCount(), 0u) << r.name << ": the target goes with the menu";
        popup.DestroyWindow();
    }

    // A menu with nothing in it is 50 x 18 inside its frame.
    COXBitmapMenu empty;
    empty.CreatePopupMenu();
    {
        COXBitmapMenuPopupWnd popup;
        ASSERT_TRUE(popup.TrackPopupMenu(&empty, 0, 20, 30, &host.customize));
        CRect window;
        popup.GetWindowRect(&window);
        EXPECT_EQ(window, CRect(20, 30, 20 + 50 + left + right + 2 * left, 30 + 18 + top + bottom));
    }
    EXPECT_EQ(empty.GetPopupWnd(), nullptr) << "a popup window that goes is forgotten";
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 0u);
}

// Each step: what the user does, the events the customisation window hears (in order),
// and the menu afterwards.
TEST_F(CustomizePopupTest, NotificationsComeInOrderAndVetoesStopTheChange)
{
    CurrentSkin skin(SkinKind::XP);
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"&Alpha"}, {ID_B, L"&Beta"}, {0, L""}, {ID_C, L"&Gamma"}, {ID_D, L"&Delta"}});
    CTracingPopup popup("A");
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 300, 100, &host.customize));
    Pump();
    host.customize.events.clear();
    DragTrace::Clear();

    struct Row {
        const char* name;
        std::function<void()> act;
        std::set<UINT> veto;
        Codes events;
        int customised;
        Lines menu;
    };
    auto right = [&](int item, UINT command) {
        return [&popup, item, command] {
            user::AnswerScript::Push(user::AnswerKind::PopupMenu, static_cast<int>(command));
            RightClick(ItemCentre(popup, item));
        };
    };
    const Lines full{L"8301 &Alpha", L"8302 &Beta", L"-", L"8303 &Gamma", L"8304 &Delta"};
    const Lines noGamma{L"8301 &Alpha", L"8302 &Beta", L"-", L"8304 &Delta"};
    const Lines separated{L"8301 &Alpha", L"-", L"8302 &Beta", L"-", L"8304 &Delta"};
    const Row rows[] = {
        {"a press released at once selects", [&] { LeftClick(ItemCentre(popup, 1)); }, {},
            {OXBMCE_CUSTOMIZEDITEMCHANGED}, 1, full},
        {"delete vetoed", right(3, ID_OXCUSTBM_DELETE), {ID_OXCUSTBM_DELETE},
            {OXBMCE_CUSTOMIZEDITEMCHANGED, ID_OXCUSTBM_DELETE}, 3, full},
        {"delete", right(3, ID_OXCUSTBM_DELETE), {}, {ID_OXCUSTBM_DELETE, OXBMCE_CUSTOMIZEDITEMCHANGED}, -1, noGamma},
        // Delta follows the separator: its separator-before is grayed, the answer refused.
        {"a grayed command", right(3, ID_OXCUSTBM_SEPARATOR_BEFORE), {}, {OXBMCE_CUSTOMIZEDITEMCHANGED}, 3, noGamma},
        {"separator after vetoed", right(0, ID_OXCUSTBM_SEPARATOR_AFTER), {ID_OXCUSTBM_SEPARATOR_AFTER},
            {OXBMCE_CUSTOMIZEDITEMCHANGED, ID_OXCUSTBM_SEPARATOR_AFTER}, 0, noGamma},
        {"separator after", right(0, ID_OXCUSTBM_SEPARATOR_AFTER), {}, {ID_OXCUSTBM_SEPARATOR_AFTER}, 0, separated},
        {"appearance: only told", right(2, ID_OXCUSTBM_APPEARANCE), {},
            {OXBMCE_CUSTOMIZEDITEMCHANGED, ID_OXCUSTBM_APPEARANCE}, 2, separated},
        {"a separator deleted", right(1, ID_OXCUSTBM_DELETE), {},
            {OXBMCE_CUSTOMIZEDITEMCHANGED, ID_OXCUSTBM_DELETE, OXBMCE_CUSTOMIZEDITEMCHANGED}, -1, noGamma},
        {"separator before vetoed", right(1, ID_OXCUSTBM_SEPARATOR_BEFORE), {ID_OXCUSTBM_SEPARATOR_BEFORE},
            {OXBMCE_CUSTOMIZEDITEMCHANGED, ID_OXCUSTBM_SEPARATOR_BEFORE}, 1, noGamma},
        {"separator before: the item moves down with its selection", right(1, ID_OXCUSTBM_SEPARATOR_BEFORE), {},
            {ID_OXCUSTBM_SEPARATOR_BEFORE, OXBMCE_CUSTOMIZEDITEMCHANGED}, 2, separated},
    };
    for (const Row& r : rows) {
        host.customize.events.clear();
        host.customize.veto = r.veto;
        r.act();
        Pump();
        base::Clock::Advance(OX_BMPOPUP_DRAG_DELAY + 100);
        Pump();
        EXPECT_EQ(host.customize.Codes(), r.events) << r.name;
        for (const CCustomizeWnd::Event& e : host.customize.events) {
            EXPECT_EQ(e.from, popup.GetSafeHwnd()) << r.name;
            EXPECT_EQ(e.id, kCustomizeId) << r.name;
            EXPECT_EQ(e.wParam, kCustomizeId) << r.name;
        }
        EXPECT_EQ(menu.GetCustomizedItem(), r.customised) << r.name;
        EXPECT_EQ(Describe(menu.GetSafeHmenu()), r.menu) << r.name;
        EXPECT_EQ(popup.GetItemCount(), static_cast<int>(r.menu.size())) << r.name << ": laid out again";
        EXPECT_TRUE(DragTrace::Lines().empty()) << r.name << ": no drag";
    }

    // The recently-used toggle goes to the organizer, unless vetoed.
    CustomizeOrganizer organizer;
    CustomizeOrganizer::current = &organizer;
    OXSetMenuOrganizerFinder(&CustomizeOrganizer::Find);
    for (bool veto : {true, false}) {
        host.customize.events.clear();
        host.customize.veto = veto ? std::set<UINT>{ID_OXCUSTBM_RECENTLY_USED} : std::set<UINT>{};
        right(2, ID_OXCUSTBM_RECENTLY_USED)();
        Pump();
        EXPECT_EQ(host.customize.Codes(), Codes{ID_OXCUSTBM_RECENTLY_USED}) << veto;
        EXPECT_EQ(organizer.notRecentlyUsed, veto ? std::set<UINT>{} : std::set<UINT>{ID_B}) << veto;
    }
    OXSetMenuOrganizerFinder(nullptr);

    // With neither a customisation window nor a main window nobody is asked and the
    // change goes ahead.
    menu.SetCutomizationMode(TRUE, nullptr);
    menu.SetCustomizedItem(0);
    menu.OnCustBMSeparatorBefore();
    EXPECT_EQ(Describe(menu.GetSafeHmenu()).front(), L"-");
    popup.DestroyWindow();
}

// The context menu of each kind of item, read from the open menu.
TEST_F(CustomizePopupTest, ContextMenuOffersWhatTheItemAllows)
{
    CurrentSkin skin(SkinKind::Classic);
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"&Alpha"}, {ID_B, L"&Beta"}, {0, L""}, {ID_C, L"&Gamma"}, {ID_FILE_MRU_FILE1, L"&1 a.txt"},
                           {ID_OX_SHOWALLITEMS, L""}});
    COXBitmapMenuPopupWnd popup;
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 300, 100, &host.customize));
    CustomizeOrganizer organizer;
    organizer.notRecentlyUsed = {ID_C};

    const std::wstring del = L"32877 &Delete", look = L"32878 &Appearance...", used = L"32881 &Recently Used",
                       before = L"32879 Separator &Before", after = L"32880 Separator &After";
    struct Row {
        const char* name;
        int item;
        bool organizer;
        bool shown;
        Lines items;
    };
    const Row rows[] = {
        {"first item", 0, false, true, {del, L"-", look, L"-", before + L" grayed", after}},
        {"before a separator", 1, false, true, {del, L"-", look, L"-", before, after + L" grayed"}},
        {"a separator", 2, false, true, {del, before, after}},
        {"after a separator", 3, false, true, {del, L"-", look, L"-", before + L" grayed", after}},
        {"recently used shown, checked", 0, true, true,
            {del, L"-", look, L"-", used + L" checked", L"-", before + L" grayed", after}},
        {"recently used shown, not checked", 3, true, true,
            {del, L"-", look, L"-", used, L"-", before + L" grayed", after}},
        {"a separator with the organizer", 2, true, true, {del, before, after}},
        {"a recent file", 4, false, false, {}},
        {"the expansion item", 5, true, false, {}},
        {"no item", 6, false, false, {}},
    };
    for (const Row& r : rows) {
        CustomizeOrganizer::current = r.organizer ? &organizer : nullptr;
        OXSetMenuOrganizerFinder(r.organizer ? &CustomizeOrganizer::Find : nullptr);
        Lines seen;
        const size_t shownBefore = user::AnswerScript::Shown().size();
        if (r.shown) {
            user::QueueIdleAction([&] {
                const HWND open = OnlyPopup();
                ASSERT_NE(open, nullptr);
                const HMENU context = reinterpret_cast<HMENU>(::SendMessageW(open, MN_GETHMENU, 0, 0));
                for (int i = 0; i < ::GetMenuItemCount(context); ++i) {
                    const UINT state = ::GetMenuState(context, static_cast<UINT>(i), MF_BYPOSITION);
                    if (state & MF_SEPARATOR) {
                        seen.push_back(L"-");
                        continue;
                    }
                    wchar_t text[64] = {};
                    ::GetMenuStringW(context, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                    std::wstring line = std::to_wstring(::GetMenuItemID(context, i)) + L" " + text;
                    if (state & MF_GRAYED)
                        line += L" grayed";
                    if (state & MF_CHECKED)
                        line += L" checked";
                    seen.push_back(line);
                }
                user::InjectKeyPress(VK_ESCAPE);
            });
        }
        EXPECT_EQ(menu.DisplayCustomizeItemContextMenu(r.item, CPoint(500, 300)), r.shown ? TRUE : FALSE) << r.name;
        EXPECT_EQ(user::AnswerScript::Shown().size() - shownBefore, r.shown ? 1u : 0u) << r.name;
        EXPECT_EQ(seen, r.items) << r.name;
        EXPECT_EQ(user::PendingIdleActions(), 0u) << r.name;
        Pump();
    }
    OXSetMenuOrganizerFinder(nullptr);
    popup.DestroyWindow();
}

// The keys a customisation window hands the popup.
TEST_F(CustomizePopupTest, KeysSelectMoveDeleteAndOpenTheContextMenu)
{
    CurrentSkin skin(SkinKind::Classic);
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}, {ID_C, L"c"}, {ID_OX_SHOWALLITEMS, L""}});
    COXBitmapMenuPopupWnd popup;
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 300, 100, &host.customize));
    const std::wstring exp = L"FF56 ";
    struct Row {
        const char* name;
        std::vector<int> held; // keys held down meanwhile
        UINT key;
        BOOL used;
        int customised;
        Lines items;
        Codes events;
    };
    const Lines abc{L"8301 a", L"8302 b", L"8303 c", exp};
    const Row rows[] = {
        {"down from nothing: the first", {}, VK_DOWN, TRUE, 0, abc, {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"down", {}, VK_DOWN, TRUE, 1, abc, {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"end", {}, VK_END, TRUE, 3, abc, {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"down at the end stays", {}, VK_DOWN, TRUE, 3, abc, {}},
        {"home", {}, VK_HOME, TRUE, 0, abc, {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"up at the top stays", {}, VK_UP, TRUE, 0, abc, {}},
        {"ctrl+down moves the item", {VK_CONTROL}, VK_DOWN, TRUE, 1, {L"8302 b", L"8301 a", L"8303 c", exp},
            {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"ctrl+down again", {VK_CONTROL}, VK_DOWN, TRUE, 2, {L"8302 b", L"8303 c", L"8301 a", exp},
            {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"nothing moves past the expansion item", {VK_CONTROL}, VK_DOWN, TRUE, 2,
            {L"8302 b", L"8303 c", L"8301 a", exp}, {}},
        {"ctrl+up", {VK_CONTROL}, VK_UP, TRUE, 1, {L"8302 b", L"8301 a", L"8303 c", exp},
            {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"delete", {}, VK_DELETE, TRUE, -1, {L"8302 b", L"8303 c", exp},
            {ID_OXCUSTBM_DELETE, OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"delete without a selection", {}, VK_DELETE, FALSE, -1, {L"8302 b", L"8303 c", exp}, {}},
        {"escape without a selection is the window's", {}, VK_ESCAPE, FALSE, -1, {L"8302 b", L"8303 c", exp}, {}},
        {"up from nothing: the last", {}, VK_UP, TRUE, 2, {L"8302 b", L"8303 c", exp}, {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"the expansion item is not deleted", {}, VK_DELETE, TRUE, 2, {L"8302 b", L"8303 c", exp}, {}},
        {"nor moved", {VK_CONTROL}, VK_UP, TRUE, 2, {L"8302 b", L"8303 c", exp}, {}},
        {"escape clears the selection", {}, VK_ESCAPE, TRUE, -1, {L"8302 b", L"8303 c", exp},
            {OXBMCE_CUSTOMIZEDITEMCHANGED}},
        {"F10 alone is not the context menu", {}, VK_F10, FALSE, -1, {L"8302 b", L"8303 c", exp}, {}},
    };
    for (const Row& r : rows) {
        host.customize.events.clear();
        for (int k : r.held)
            user::InjectKey(k, true);
        Pump();
        EXPECT_EQ(popup.HandleKeyDown(r.key), r.used) << r.name;
        for (int k : r.held)
            user::InjectKey(k, false);
        Pump();
        EXPECT_EQ(menu.GetCustomizedItem(), r.customised) << r.name;
        EXPECT_EQ(Describe(menu.GetSafeHmenu()), r.items) << r.name;
        EXPECT_EQ(host.customize.Codes(), r.events) << r.name;
    }

    // The menu key and Shift+F10 open the selected item's context menu; WM_KEYDOWN sent
    // to the popup does the same as the call.
    menu.SetCustomizedItem(0);
    for (bool shiftF10 : {false, true}) {
        host.customize.events.clear();
        user::AnswerScript::Push(user::AnswerKind::PopupMenu, ID_OXCUSTBM_APPEARANCE);
        if (shiftF10) {
            user::InjectKey(VK_SHIFT, true);
            Pump();
            ::SendMessageW(popup.GetSafeHwnd(), WM_KEYDOWN, VK_F10, 0);
            user::InjectKey(VK_SHIFT, false);
        } else {
            EXPECT_TRUE(popup.HandleKeyDown(VK_APPS));
        }
        Pump();
        EXPECT_EQ(host.customize.Codes(), Codes{ID_OXCUSTBM_APPEARANCE}) << shiftF10;
    }
    popup.DestroyWindow();
}

// The insert mark drawn after the last item and before an inner one, by the outline's
// geometry (the item less 2 pixels, 3 rows high: its corners on the first row, full
// lines on the other two), and the old mark gone once it moves.
TEST_F(CustomizePopupTest, InsertMarkAfterTheLastItemAndBeforeAnInnerOne)
{
    for (SkinKind kind : {SkinKind::Classic, SkinKind::XP, SkinKind::Office2003}) {
        SCOPED_TRACE(SkinName(kind));
        CurrentSkin skin(kind);
        Host host;
        COXBitmapMenu menu;
        FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}, {ID_C, L"c"}});
        COXBitmapMenuPopupWnd popup;
        ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 300, 100, &host.customize));
        Pump();
        const COLORREF black = RGB(0, 0, 0);
        auto pixel = [&](int x, int y) {
            POINT p{x, y};
            ::ClientToScreen(popup.GetSafeHwnd(), &p);
            return ScreenPixel(p.x, p.y);
        };
        // Three rows of the outline: t (corners only), t + 1 and t + 2 (lines).
        auto outline = [&](const CRect& item, int t) {
            const int l = item.left + 2, r = item.right - 2, mid = (l + r) / 2;
            return pixel(l, t) == black && pixel(r, t) == black && pixel(mid, t) != black &&
                pixel(mid, t + 1) == black && pixel(mid, t + 2) == black && pixel(r, t + 2) == black;
        };
        const CRect last = popup.GetItemRect(2), inner = popup.GetItemRect(1);
        EXPECT_FALSE(outline(last, last.bottom - 4));

        host.customize.events.clear();
        EXPECT_EQ(menu.SetInsertMark(3), -1);
        Pump();
        EXPECT_TRUE(outline(last, last.bottom - 4)) << "after the last item";
        EXPECT_EQ(host.customize.Codes(), Codes{OXBMCE_INSERTMARKCHANGED});

        EXPECT_EQ(menu.SetInsertMark(1), 3);
        EXPECT_EQ(menu.SetInsertMark(1), 1);
        Pump();
        EXPECT_TRUE(outline(inner, inner.top)) << "before the inner item";
        EXPECT_FALSE(outline(last, last.bottom - 4)) << "the old mark's item was painted again";
        EXPECT_EQ(host.customize.Codes(), (Codes{OXBMCE_INSERTMARKCHANGED, OXBMCE_INSERTMARKCHANGED}))
            << "no event when the mark stays";
        menu.SetInsertMark(-1);
        Pump();
        EXPECT_FALSE(outline(inner, inner.top));
        popup.DestroyWindow();
    }
}

// The Office XP frame of a customisation popup and its customised item: a shadow-coloured
// frame, the menu face, the image strip from the second row, and two nested text-coloured
// frames round the item.
TEST_F(CustomizePopupTest, XPFrameStripAndCustomisedItem)
{
    CurrentSkin skin(SkinKind::XP);
    auto* xp = dynamic_cast<COXSkinXP*>(skin.skin());
    ASSERT_NE(xp, nullptr);
    const OXDIMENSIONCONSTANTS& d = skin.menuSkin()->GetDimentionConstants();
    Host host;
    COXBitmapMenu menu;
    FillTextMenu(menu, {{ID_A, L"a"}, {ID_B, L"b"}});
    COXBitmapMenuPopupWnd popup;
    ASSERT_TRUE(popup.TrackPopupMenu(&menu, 0, 300, 100, &host.customize));
    menu.SetCustomizedItem(1);
    Pump();
    CRect window;
    popup.GetWindowRect(&window);
    auto at = [&](int x, int y) { return ScreenPixel(window.left + x, window.top + y); };
    const int stripRight = d.nImageLeftGap + menu.GetImageColumnWidth() + 7;
    EXPECT_EQ(at(0, 0), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(at(window.Width() - 1, window.Height() - 1), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(at(1, 1), xp->GetMenuFaceColor()) << "the strip starts on the third row";
    EXPECT_EQ(at(1, 2), xp->GetBackgroundColor());
    EXPECT_EQ(at(stripRight - 1, 2), xp->GetBackgroundColor());
    EXPECT_EQ(at(stripRight, 2), xp->GetMenuFaceColor());
    EXPECT_EQ(at(1, window.Height() - 3), xp->GetBackgroundColor());
    EXPECT_EQ(at(1, window.Height() - 2), xp->GetMenuFaceColor());

    CRect item = popup.GetItemRect(1);
    CPoint origin(0, 0);
    ::ClientToScreen(popup.GetSafeHwnd(), &origin);
    item.OffsetRect(origin);
    for (int inset : {0, 1})
        for (CPoint p : {CPoint(item.left + inset, item.top + 5), CPoint(item.right - 1 - inset, item.top + 5),
                 CPoint(item.left + 6, item.top + inset), CPoint(item.left + 6, item.bottom - 1 - inset)})
            EXPECT_EQ(ScreenPixel(p.x, p.y), ::GetSysColor(COLOR_BTNTEXT)) << p.x << "," << p.y;
    popup.DestroyWindow();
}

class CustomizeGoldenTest : public CustomizeTest, public ::testing::WithParamInterface<SkinKind> {};

TEST_P(CustomizeGoldenTest, APopupWithACustomisedItemAndAnInsertMark)
{
    CurrentSkin skin(GetParam());
    MenuImages images;
    SampleMenu sample(images);
    Host host;
    COXBitmapMenuPopupWnd popup;
    ASSERT_TRUE(popup.TrackPopupMenu(&sample.menu, 0, 200, 120, &host.customize));
    sample.menu.SetCustomizedItem(0);
    sample.menu.SetInsertMark(4);
    Pump();
    CRect window;
    popup.GetWindowRect(&window);
    const GoldenPicture picture = CaptureScreen(window);
    // Text compared by extent only: the text and accelerator columns of every item.
    std::vector<RECT> ignore;
    CPoint client(0, 0);
    ::ClientToScreen(popup.GetSafeHwnd(), &client);
    for (int i = 0; i < popup.GetItemCount(); ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        sample.menu.GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE);
        const COXItemInfo* info = sample.menu.GetItemInfo(mii.dwItemData);
        CRect button, image, text, accel;
        sample.menu.DistributeSpace(0, info ? info->GetImageInfo() : nullptr, popup.GetItemRect(i), button, image, text,
            accel);
        for (CRect r : {text, accel}) {
            if (r.IsRectEmpty())
                continue;
            r.OffsetRect(client.x - window.left, client.y - window.top);
            r.InflateRect(1, 1);
            ignore.push_back(r);
        }
    }
    EXPECT_TRUE(MatchesGolden("menus", std::string("customize_") + SkinName(GetParam()), picture, ignore));
    popup.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Skins, CustomizeGoldenTest,
    ::testing::Values(SkinKind::Classic, SkinKind::XP, SkinKind::Office2003),
    [](const ::testing::TestParamInfo<SkinKind>& info) {
        return std::string(SkinName(info.param)) == "2003" ? std::string("Office2003") : std::string(SkinName(info.param));
    });

} // namespace
} // namespace zyn::test
