// The list view's helpers in other windows and its smaller behaviours: label editing (in
// whatever "Edit" class the window system offers, none without one), info tips, hot
// tracking, check boxes and a new font.
#include "platform/gdi/sysmetrics.h"
#include "tests/comctl/listview_test_support.h"

namespace zyn::test {
namespace {

constexpr const wchar_t* kEdit = L"Edit";

class ListExtras : public ListViewTest {
protected:
    // A stand-in for the edit control: a window that keeps its text (DefWindowProc does).
    static void RegisterEditStandIn()
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.lpszClassName = kEdit;
        ASSERT_NE(RegisterClassExW(&wc), 0);
    }
    HWND MakeEditable()
    {
        HWND list = MakeList(LVS_REPORT | LVS_EDITLABELS, 300, 200);
        AddColumn(list, 0, L"Name", 150);
        AddItems(list, {L"first", L"second"});
        SetForegroundWindow(Host());
        SetFocus(list);
        Pump();
        events.clear();
        return list;
    }
    static std::wstring WindowTextOf(HWND h)
    {
        wchar_t buffer[128] = L"";
        GetWindowTextW(h, buffer, 128);
        return buffer;
    }
};

TEST_F(ListExtras, WithoutAnEditClassThereIsNoEditing)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(nullptr, kEdit, &wc))
        GTEST_SKIP() << "the window system has its own edit control now";
    HWND list = MakeEditable();
    EXPECT_EQ(SendMessageW(list, LVM_EDITLABELW, 0, 0), 0);
    EXPECT_TRUE(Only({LVN_BEGINLABELEDITW}).empty()) << "nothing begins";
    DestroyWindow(list);
}

TEST_F(ListExtras, EditingALabelCommitsOrCancels)
{
    RegisterEditStandIn();
    struct Row {
        const char* name;
        int key;           // VK_RETURN, VK_ESCAPE, or 0 for the focus going away
        LRESULT accept;    // the answer to LVN_ENDLABELEDIT
        bool cancelled;
        const wchar_t* text;
    };
    const Row rows[] = {
        {"enter, accepted", VK_RETURN, TRUE, false, L"renamed"},
        {"enter, refused", VK_RETURN, FALSE, false, L"second"},
        {"escape", VK_ESCAPE, TRUE, true, L"second"},
        {"focus lost", 0, TRUE, false, L"renamed"},
    };
    for (const Row& r : rows) {
        HWND list = MakeEditable();
        onNotify = [&](NMHDR* hdr) -> LRESULT { return hdr->code == LVN_ENDLABELEDITW ? r.accept : 0; };
        HWND edit = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, 1, 0));
        ASSERT_NE(edit, nullptr) << r.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), reinterpret_cast<LRESULT>(edit));
        EXPECT_EQ(GetParent(edit), list);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(WindowTextOf(edit), L"second");
        RECT er{}, label = ItemRectOf(list, 1, LVIR_LABEL);
        GetWindowRect(edit, &er);
        MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&er), 2);
        EXPECT_EQ(er.left, label.left) << r.name << ": over the label";
        EXPECT_EQ(er.top, label.top) << r.name;
        SetWindowTextW(edit, L"renamed");
        if (r.key)
            Press(r.key);
        else
            SetFocus(Host());
        Pump();
        EXPECT_FALSE(IsWindow(edit)) << r.name;
        EXPECT_EQ(TextOf(list, 1), r.text) << r.name;
        const auto begin = Only({LVN_BEGINLABELEDITW}), end = Only({LVN_ENDLABELEDITW});
        ASSERT_EQ(begin.size(), 1u) << r.name;
        EXPECT_EQ(begin[0].item, 1);
        ASSERT_EQ(end.size(), 1u) << r.name;
        EXPECT_EQ(end[0].item, 1);
        onNotify = nullptr;
        DestroyWindow(list);
    }
}

TEST_F(ListExtras, EditingStartsFromAClickOnTheCurrentItemUnlessRefused)
{
    RegisterEditStandIn();
    HWND list = MakeEditable();
    const RECT label = ItemRectOf(list, 0, LVIR_LABEL);
    ClickAt(list, label.left + 5, label.top + 3); // selects it (and waits past the double-click time)
    EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0) << "the first click only selects";
    POINT p{label.left + 5, label.top + 3};
    ClientToScreen(list, &p);
    user::InjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0) << "not before the double-click time";
    Advance(GetDoubleClickTime() + 10);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SendMessageW(list, LVM_CANCELEDITLABEL, 0, 0);
    EXPECT_FALSE(IsWindow(edit));
    // The parent may refuse to let editing begin.
    onNotify = [](NMHDR* hdr) -> LRESULT { return hdr->code == LVN_BEGINLABELEDITW; };
    EXPECT_EQ(SendMessageW(list, LVM_EDITLABELW, 0, 0), 0);
    Press(VK_F2);
    EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0);
    onNotify = nullptr;
    Press(VK_F2);
    EXPECT_NE(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0) << "F2 edits the focused item";
    // Deleting the item being edited ends the editing without keeping anything.
    SendMessageW(list, LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0);
    DestroyWindow(list);
}

TEST_F(ListExtras, InfoTipsAskForEachItemsTip)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
    AddColumn(list, 0, L"Name", 150);
    AddItems(list, {L"first", L"second"});
    HWND tip = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    onNotify = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == LVN_GETINFOTIPW) {
            auto* it = reinterpret_cast<NMLVGETINFOTIPW*>(hdr);
            const std::wstring text = L"tip " + std::to_wstring(it->iItem);
            wcsncpy(it->pszText, text.c_str(), static_cast<size_t>(it->cchTextMax));
        }
        return 0;
    };
    const RECT first = ItemRectOf(list, 0, LVIR_LABEL), second = ItemRectOf(list, 1, LVIR_LABEL);
    POINT p{first.left + 10, first.top + 3};
    ClientToScreen(list, &p);
    MoveTo(p.x, p.y);
    MoveTo(p.x + 1, p.y);
    Advance(GetDoubleClickTime() + 20);
    ASSERT_TRUE(Visible(tip));
    auto asked = Only({LVN_GETINFOTIPW});
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().item, 0);
    events.clear();
    POINT q{second.left + 10, second.top + 3};
    ClientToScreen(list, &q);
    MoveTo(q.x, q.y);
    MoveTo(q.x + 1, q.y);
    Advance(GetDoubleClickTime() + 20);
    asked = Only({LVN_GETINFOTIPW});
    ASSERT_FALSE(asked.empty()) << "another item is another tip";
    EXPECT_EQ(asked.back().item, 1);
    onNotify = nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, 0);
    EXPECT_FALSE(IsWindow(tip)) << "the control's own tooltip goes with the style";
    DestroyWindow(list);
}

TEST_F(ListExtras, HotTrackingFollowsTheMouse)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT);
    AddColumn(list, 0, L"Name", 150);
    AddItems(list, {L"first", L"second"});
    const RECT second = ItemRectOf(list, 1, LVIR_LABEL);
    POINT p{second.left + 10, second.top + 3};
    ClientToScreen(list, &p);
    MoveTo(p.x, p.y);
    EXPECT_EQ(SendMessageW(list, LVM_GETHOTITEM, 0, 0), 1);
    const auto hot = Only({LVN_HOTTRACK});
    ASSERT_FALSE(hot.empty());
    EXPECT_EQ(hot.back().item, 1);
    // The parent may keep the hot item where it is.
    onNotify = [](NMHDR* hdr) -> LRESULT { return hdr->code == LVN_HOTTRACK; };
    const RECT first = ItemRectOf(list, 0, LVIR_LABEL);
    POINT q{first.left + 10, first.top + 3};
    ClientToScreen(list, &q);
    MoveTo(q.x, q.y);
    EXPECT_EQ(SendMessageW(list, LVM_GETHOTITEM, 0, 0), 1);
    onNotify = nullptr;
    MoveTo(600, 450); // off the list
    EXPECT_EQ(SendMessageW(list, LVM_GETHOTITEM, 0, 0), -1);
    DestroyWindow(list);
}

TEST_F(ListExtras, CheckBoxesToggleByClickAndSpace)
{
    HWND list = MakeList(LVS_REPORT, 300, 200);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    AddColumn(list, 0, L"Name", 150);
    AddItems(list, {L"first", L"second"});
    ASSERT_NE(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
    EXPECT_EQ(StateOf(list, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "new items are unchecked";
    const RECT icon = ItemRectOf(list, 1, LVIR_ICON);
    const int cx = GetSystemMetrics(SM_CXSMICON);
    // The state image is the cx pixels left of the icon.
    ClickAt(list, icon.left - cx / 2, (icon.top + icon.bottom) / 2);
    EXPECT_EQ(StateOf(list, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    Press(VK_SPACE);
    EXPECT_EQ(StateOf(list, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
    // The control's own images go when the style does.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
    DestroyWindow(list);
}

TEST_F(ListExtras, ANewFontChangesRowsAndTheHeader)
{
    HWND list = MakeList(LVS_REPORT, 300, 300);
    AddColumn(list, 0, L"Name", 150);
    AddItems(list, {L"first", L"second"});
    HFONT font = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageW(list, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    const int header = tm.tmHeight + 6, row = tm.tmHeight + 2;
    const RECT rc = ItemRectOf(list, 1, LVIR_BOUNDS);
    EXPECT_EQ(rc.top, header + row);
    EXPECT_EQ(rc.bottom - rc.top, row);
    DestroyWindow(list);
    DeleteObject(font); // the caller's font: the control never deletes it
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

class ListVirtual : public ListViewTest {};

TEST_F(ListVirtual, AVirtualListKeepsStatesAndAsksForTheRest)
{
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDATA, 300, 200);
    AddColumn(list, 0, L"Row", 150);
    onNotify = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == LVN_GETDISPINFOW) {
            auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
            if (di->item.mask & LVIF_TEXT) {
                const std::wstring text = L"row " + std::to_wstring(di->item.iItem);
                wcsncpy(di->item.pszText, text.c_str(), static_cast<size_t>(di->item.cchTextMax));
            }
        }
        if (hdr->code == LVN_ODFINDITEMW)
            return reinterpret_cast<NMLVFINDITEMW*>(hdr)->lvfi.lParam; // the parent's own search
        return 0;
    };
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMCOUNT, 100000, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 100000);
    events.clear();
    Pump();
    user::PaintPendingWindows();
    const auto hints = Only({LVN_ODCACHEHINT});
    const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_FALSE(hints.empty());
    const auto asked = Only({LVN_GETDISPINFOW});
    EXPECT_FALSE(asked.empty());
    for (const Event& e : asked)
        EXPECT_LE(e.item, page) << "only the rows shown are asked for";
    EXPECT_EQ(TextOf(list, 70000), L"row 70000");
    // Data cannot be put in, states can.
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"x");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
    item.iItem = 3;
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW st{};
    st.state = st.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 99999, reinterpret_cast<LPARAM>(&st));
    SendMessageW(list, LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    // Shrinking drops the states of the rows that went.
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMCOUNT, 10, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 5);
    // Searching is the parent's; an answer out of range is no row.
    LVFINDINFOW fi{};
    fi.flags = LVFI_PARAM;
    fi.lParam = 7;
    EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)), 7);
    fi.lParam = 70;
    EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)), -1);
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(-1), 0)) << "an impossible count";
    onNotify = nullptr;
    DestroyWindow(list);
}

TEST_F(ListVirtual, AParentMayDestroyTheListWhileItIsNotified)
{
    for (const UINT code : {LVN_ITEMCHANGING, LVN_ITEMCHANGED, NM_CLICK, LVN_KEYDOWN, NM_CUSTOMDRAW, LVN_DELETEITEM}) {
        HWND list = MakeList(LVS_REPORT, 300, 200);
        AddColumn(list, 0, L"Row", 150);
        AddItems(list, {L"a", L"b", L"c"});
        SetForegroundWindow(Host());
        SetFocus(list);
        Pump();
        onNotify = [&](NMHDR* hdr) -> LRESULT {
            if (hdr->code == code && hdr->hwndFrom == list && IsWindow(list))
                DestroyWindow(list);
            return 0;
        };
        const RECT label = ItemRectOf(list, 1, LVIR_LABEL);
        ClickAt(list, label.left + 5, label.top + 3);
        if (IsWindow(list))
            Press(VK_DOWN);
        if (IsWindow(list)) {
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            Pump();
        }
        if (IsWindow(list))
            SendMessageW(list, LVM_DELETEITEM, 0, 0);
        EXPECT_FALSE(IsWindow(list)) << "code " << (0u - code);
        onNotify = nullptr;
        if (IsWindow(list))
            DestroyWindow(list);
    }
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

class ListLimits : public ListViewTest {};

TEST_F(ListLimits, OutlandishValuesStayInRange)
{
    onMeasureItem = [](MEASUREITEMSTRUCT* mis) { mis->itemHeight = 0xFFFFFFFFu; };
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDRAWFIXED, 300, 200);
    LVCOLUMNW c{};
    c.mask = LVCF_WIDTH;
    c.cx = INT32_MAX;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&c));
    SendMessageW(list, LVM_INSERTCOLUMNW, 2, reinterpret_cast<LPARAM>(&c));
    std::vector<std::wstring> texts(100000, L"x");
    AddItems(list, texts);
    const RECT far = ItemRectOf(list, 99999, LVIR_BOUNDS);
    EXPECT_EQ(far.bottom - far.top, 0x7FFF) << "a row is at most 32767 pixels high";
    EXPECT_GT(far.top, 0);
    EXPECT_GT(far.right, 0) << "the row's end saturates instead of wrapping round";
    EXPECT_GE(SubItemRectOf(list, 0, 2, LVIR_BOUNDS).left, 0);
    SendMessageW(list, LVM_ENSUREVISIBLE, 99999, FALSE);
    SendMessageW(list, LVM_SCROLL, static_cast<WPARAM>(INT32_MAX), INT32_MAX);
    Pump();
    user::PaintPendingWindows();
    // An indent of billions of image widths.
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeImages(16, 16, 1)));
    LVITEMW indent{};
    indent.mask = LVIF_INDENT;
    indent.iItem = 1;
    indent.iIndent = INT32_MAX;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&indent)));
    EXPECT_GT(ItemRectOf(list, 1, LVIR_ICON).left, 0);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(LVSCW_AUTOSIZE), 0));
    // A sub-item no column shows, far beyond the first 64, is refused.
    LVITEMW sub{};
    sub.iSubItem = 1000000;
    sub.pszText = const_cast<LPWSTR>(L"far");
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub)));
    sub.iSubItem = 2;
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub)));
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DestroyWindow(list);
    // Icons placed at the ends of the coordinate range.
    HWND icons = MakeList(LVS_ICON, 300, 200);
    AddItems(icons, {L"a", L"b", L"c"});
    POINT farAway{INT32_MIN, INT32_MAX};
    ASSERT_TRUE(SendMessageW(icons, LVM_SETITEMPOSITION32, 0, reinterpret_cast<LPARAM>(&farAway)));
    farAway = POINT{INT32_MAX, INT32_MIN};
    ASSERT_TRUE(SendMessageW(icons, LVM_SETITEMPOSITION32, 1, reinterpret_cast<LPARAM>(&farAway)));
    const RECT a = ItemRectOf(icons, 0, LVIR_BOUNDS), b = ItemRectOf(icons, 1, LVIR_BOUNDS);
    EXPECT_LT(a.left, 0);
    EXPECT_GT(a.top, 0);
    EXPECT_GT(b.left, 0);
    EXPECT_LT(b.top, 0);
    EXPECT_TRUE(SendMessageW(icons, LVM_ENSUREVISIBLE, 0, FALSE));
    EXPECT_TRUE(SendMessageW(icons, LVM_ENSUREVISIBLE, 1, FALSE));
    SendMessageW(icons, LVM_SCROLL, static_cast<WPARAM>(INT32_MIN), INT32_MIN);
    Pump();
    user::PaintPendingWindows();
    DestroyWindow(icons);
    // Header items as wide as an int can say.
    HWND header = MakeControl(WC_HEADERW, HDS_BUTTONS, 0, 0, 400, 30);
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = INT32_MAX;
    SendMessageW(header, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(header, HDM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    RECT rc{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_GE(rc.right, rc.left);
    HDHITTESTINFO hit{};
    hit.pt = POINT{100, 10};
    EXPECT_EQ(SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    Pump();
    user::PaintPendingWindows();
    DestroyWindow(header);
}

} // namespace
} // namespace zyn::test
