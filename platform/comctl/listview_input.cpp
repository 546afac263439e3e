// The list view's mouse and keyboard: selection by clicks and keys, dragging, activation,
// type-ahead search and hot tracking, each change going out through the item-state path
// (LVN_ITEMCHANGING / LVN_ITEMCHANGED).
#include <algorithm>

#include "platform/base/charcase.h"
#include "platform/base/clock.h"
#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

UINT KeyFlags()
{
    UINT flags = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        flags |= LVKF_CONTROL;
    if (::GetKeyState(VK_SHIFT) < 0)
        flags |= LVKF_SHIFT;
    if (::GetKeyState(VK_MENU) < 0)
        flags |= LVKF_ALT;
    return flags;
}

bool SingleSel(const ListViewState& s) { return (s.style() & LVS_SINGLESEL) != 0; }

// The selected items and the focused one, ascending.
std::vector<int> SelectedOrFocused(const ListViewState& s)
{
    std::vector<int> out;
    int left = s.selectedCount;
    for (int i = 0; i < s.count() && left > 0; ++i) {
        if (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED) {
            out.push_back(i);
            --left;
        }
    }
    if (s.valid(s.focused) && !std::binary_search(out.begin(), out.end(), s.focused))
        out.insert(std::upper_bound(out.begin(), out.end(), s.focused), s.focused);
    return out;
}

void DeselectAll(ListViewState& s)
{
    for (const int i : SelectedOrFocused(s)) {
        if (s.destroyed)
            return;
        if (s.valid(i) && (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
            SetItemState(s, i, 0, LVIS_SELECTED);
    }
}

// Selects [from, to] (either order), and with `keep` leaves other selections alone.
void SelectRange(ListViewState& s, int from, int to, bool keep)
{
    const int lo = std::min(from, to), hi = std::max(from, to);
    if (!keep) {
        for (const int i : SelectedOrFocused(s)) {
            if (s.destroyed)
                return;
            if ((i < lo || i > hi) && s.valid(i) && (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
                SetItemState(s, i, 0, LVIS_SELECTED);
        }
    }
    for (int i = lo; i <= hi && !s.destroyed; ++i) {
        if (s.valid(i) && !(s.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
            SetItemState(s, i, LVIS_SELECTED, LVIS_SELECTED);
    }
}

int SubItemAt(ListViewState& s, POINT pt)
{
    if (s.view() != View::Report)
        return 0;
    LVHITTESTINFO ht{};
    ht.pt = pt;
    HitTest(s, ht, true);
    return ht.iItem >= 0 ? ht.iSubItem : 0;
}

void ToggleCheck(ListViewState& s, int index)
{
    if (!s.valid(index))
        return;
    const UINT current = STATEIMAGEMASKTOINDEX(s.items[static_cast<size_t>(index)].state);
    SetItemState(s, index, INDEXTOSTATEIMAGEMASK(current == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

// What a key moves the focus to, or -1.
int KeyTarget(ListViewState& s, WPARAM vk)
{
    const int n = s.count();
    const int cur = s.focused;
    if (n == 0)
        return -1;
    if (cur < 0)
        return vk == VK_END ? n - 1 : 0;
    const bool iconic = s.view() == View::Icon || s.view() == View::SmallIcon;
    const int page = std::max(1, CountPerPage(s));
    switch (vk) {
    case VK_UP:
        return iconic ? Neighbour(s, cur, LVNI_ABOVE) : std::max(0, cur - 1);
    case VK_DOWN:
        return iconic ? Neighbour(s, cur, LVNI_BELOW) : std::min(n - 1, cur + 1);
    case VK_LEFT:
        return Neighbour(s, cur, LVNI_TOLEFT);
    case VK_RIGHT:
        return Neighbour(s, cur, LVNI_TORIGHT);
    case VK_HOME:
        return 0;
    case VK_END:
        return n - 1;
    case VK_PRIOR: {
        if (iconic)
            return 0;
        // To the first item shown, and from there a page up.
        const int first = TopIndex(s);
        return cur > first ? first : std::max(0, cur - page);
    }
    case VK_NEXT: {
        if (iconic)
            return n - 1;
        const int last = std::min(n - 1, TopIndex(s) + page - 1);
        return cur < last ? last : std::min(n - 1, cur + page);
    }
    default:
        return -1;
    }
}

// A click's selection of one item: the others lose LVIS_SELECTED and the item gains it,
// and only then does LVIS_FOCUSED move, in two changes of its own (the old focused item
// loses it, the item gains it), as the list reports a click.
void ClickSelect(ListViewState& s, int item)
{
    SelectOnly(s, item, false);
    if (!s.destroyed)
        SetFocusItem(s, item);
}

} // namespace

void SetFocusItem(ListViewState& s, int index)
{
    if (s.valid(index))
        SetItemState(s, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

void SelectOnly(ListViewState& s, int index, bool focus)
{
    const UINT drop = LVIS_SELECTED | (focus ? LVIS_FOCUSED : 0);
    for (const int i : SelectedOrFocused(s)) {
        if (s.destroyed)
            return;
        if (i != index && s.valid(i) && (s.items[static_cast<size_t>(i)].state & drop))
            SetItemState(s, i, 0, drop);
    }
    if (s.destroyed || !s.valid(index))
        return;
    SetItemState(s, index, LVIS_SELECTED | (focus ? LVIS_FOCUSED : 0), drop);
    if (!s.destroyed)
        s.mark = index;
}

void OnButtonDown(ListViewState& s, POINT pt, bool right, bool dblclk, WPARAM keys)
{
    if (s.edit)
        EndEdit(s, false);
    ::KillTimer(s.self, kEditTimer);
    s.pendingEdit = -1;
    const bool hadFocus = ::GetFocus() == s.self;
    LVHITTESTINFO ht{};
    ht.pt = pt;
    const int item = HitTest(s, ht, false);
    const int subItem = item >= 0 ? SubItemAt(s, pt) : 0;
    const bool ctrl = (keys & MK_CONTROL) != 0, shift = (keys & MK_SHIFT) != 0;
    const UINT keyFlags = KeyFlags();
    const bool wasCurrent = s.valid(item) && s.focused == item &&
                            (s.items[static_cast<size_t>(item)].state & LVIS_SELECTED);
    bool deferred = false;
    if (!right && !dblclk && item >= 0 && (s.exStyle & LVS_EX_CHECKBOXES) && (ht.flags & LVHT_ONITEMSTATEICON))
        ToggleCheck(s, item);
    if (s.destroyed)
        return;
    if (item < 0) {
        if (!ctrl && !shift)
            DeselectAll(s);
    } else if (right) {
        if (s.items[static_cast<size_t>(item)].state & LVIS_SELECTED)
            SetFocusItem(s, item);
        else
            ClickSelect(s, item);
    } else if (shift && !SingleSel(s)) {
        const int mark = s.valid(s.mark) ? s.mark : (s.valid(s.focused) ? s.focused : item);
        SelectRange(s, mark, item, ctrl);
        SetFocusItem(s, item);
        if (!s.destroyed)
            s.mark = mark;
    } else if (ctrl && !SingleSel(s)) {
        const bool on = (s.items[static_cast<size_t>(item)].state & LVIS_SELECTED) != 0;
        SetItemState(s, item, on ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        if (!s.destroyed)
            SetFocusItem(s, item);
        if (!s.destroyed)
            s.mark = item;
    } else if (!dblclk && (s.items[static_cast<size_t>(item)].state & LVIS_SELECTED) && s.selectedCount > 1) {
        // The others stay selected until it is clear that this is no drag of them all.
        SetFocusItem(s, item);
        deferred = true;
    } else {
        ClickSelect(s, item);
    }
    if (s.destroyed)
        return;
    // The keyboard focus comes after the selection, so the parent hears of the new
    // selection before NM_SETFOCUS.
    if (!hadFocus)
        ::SetFocus(s.self);
    if (s.destroyed)
        return;
    if (dblclk) {
        NotifyActivate(s, right ? NM_RDBLCLK : NM_DBLCLK, item, subItem, pt, keyFlags);
        if (!s.destroyed && !right && s.valid(item))
            NotifyActivate(s, LVN_ITEMACTIVATE, item, subItem, pt, keyFlags);
        return;
    }
    POINT screen = pt;
    ::ClientToScreen(s.self, &screen);
    const bool dragged = ::DragDetect(s.self, screen) != FALSE;
    if (s.destroyed)
        return;
    if (dragged) {
        if (s.valid(item))
            NotifyListView(s, right ? LVN_BEGINRDRAG : LVN_BEGINDRAG, item, 0, 0, 0, 0, pt);
        return;
    }
    if (deferred && s.valid(item))
        SelectOnly(s, item);
    if (s.destroyed)
        return;
    const LRESULT answer = NotifyActivate(s, right ? NM_RCLICK : NM_CLICK, item, subItem, pt, keyFlags);
    if (s.destroyed)
        return;
    // The capture that told the click from a drag has gone.
    NMHDR released{};
    Notify(s, released, NM_RELEASEDCAPTURE);
    if (s.destroyed)
        return;
    if (right) {
        if (!answer)
            ::SendMessageW(s.self, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.self), MAKELPARAM(static_cast<WORD>(screen.x),
                static_cast<WORD>(screen.y)));
        return;
    }
    if (s.valid(item) && (s.exStyle & LVS_EX_ONECLICKACTIVATE))
        NotifyActivate(s, LVN_ITEMACTIVATE, item, subItem, pt, keyFlags);
    if (!s.destroyed && wasCurrent && hadFocus && !ctrl && !shift && (s.style() & LVS_EDITLABELS) &&
        (ht.flags & LVHT_ONITEMLABEL)) {
        // A click on the label of the item that was current starts editing it, unless a
        // double click follows.
        s.pendingEdit = item;
        ::SetTimer(s.self, kEditTimer, ::GetDoubleClickTime(), nullptr);
    }
}

void OnKeyDown(ListViewState& s, WPARAM vk, LPARAM)
{
    NMLVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(vk);
    Notify(s, kd.hdr, LVN_KEYDOWN);
    if (s.destroyed)
        return;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
    switch (vk) {
    case VK_SPACE:
        if (!s.valid(s.focused))
            return;
        if ((s.exStyle & LVS_EX_CHECKBOXES) && !ctrl)
            ToggleCheck(s, s.focused);
        else if (ctrl && !SingleSel(s))
            SetItemState(s, s.focused,
                (s.items[static_cast<size_t>(s.focused)].state & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        else
            SelectOnly(s, s.focused);
        return;
    case VK_RETURN: {
        NMHDR hdr{};
        Notify(s, hdr, NM_RETURN);
        if (!s.destroyed && s.valid(s.focused))
            NotifyActivate(s, LVN_ITEMACTIVATE, s.focused, 0, POINT{}, KeyFlags());
        return;
    }
    case VK_F2:
        if ((s.style() & LVS_EDITLABELS) && s.valid(s.focused))
            EditLabel(s, s.focused);
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (s.view() == View::Report) {
            OnScroll(s, SB_HORZ, vk == VK_LEFT ? SB_LINEUP : SB_LINEDOWN);
            return;
        }
        break;
    default:
        break;
    }
    const int target = KeyTarget(s, vk);
    if (!s.valid(target))
        return;
    if (ctrl && !shift) {
        SetFocusItem(s, target);
    } else if (shift && !SingleSel(s)) {
        const int mark = s.valid(s.mark) ? s.mark : (s.valid(s.focused) ? s.focused : target);
        SelectRange(s, mark, target, ctrl);
        SetFocusItem(s, target);
        if (!s.destroyed)
            s.mark = mark;
    } else {
        SelectOnly(s, target);
    }
    if (!s.destroyed)
        EnsureVisible(s, target, false);
}

void OnChar(ListViewState& s, wchar_t ch)
{
    if (ch < L' ' || s.items.empty())
        return;
    const uint64_t now = zyn::base::Clock::NowMs();
    if (s.search.empty() || now - s.searchTime > 2ull * ::GetDoubleClickTime())
        s.search.clear();
    s.searchTime = now;
    s.search.push_back(ch);
    // The same letter typed again steps through the items that start with it.
    const bool cycle = std::all_of(s.search.begin(), s.search.end(),
        [&](wchar_t c) { return zyn::base::ToLowerChar(c) == zyn::base::ToLowerChar(s.search[0]); });
    const std::wstring prefix = FoldText(cycle ? s.search.substr(0, 1) : s.search);
    const int n = s.count();
    const int begin = cycle ? s.focused + 1 : std::max(s.focused, 0);
    for (int k = 0; k < n && !s.destroyed; ++k) {
        const int i = ((begin + k) % n + n) % n;
        const std::wstring text = FoldText(ItemText(s, i, 0));
        if (text.compare(0, prefix.size(), prefix) == 0) {
            SelectOnly(s, i);
            if (!s.destroyed)
                EnsureVisible(s, i, false);
            return;
        }
    }
}

void OnMouseMove(ListViewState& s, POINT pt)
{
    TrackTipItem(s, pt);
    if (s.destroyed)
        return;
    if (!(s.exStyle & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE | LVS_EX_UNDERLINEHOT)))
        return;
    LVHITTESTINFO ht{};
    ht.pt = pt;
    const int item = HitTest(s, ht, false);
    if (item == s.hot)
        return;
    if (NotifyListView(s, LVN_HOTTRACK, item, 0, 0, 0, 0, pt) || s.destroyed)
        return; // the parent keeps the hot item as it is
    InvalidateItem(s, s.hot);
    s.hot = s.valid(item) ? item : -1;
    InvalidateItem(s, s.hot);
    if (s.hot >= 0) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = s.self;
        ::TrackMouseEvent(&tme);
    }
}

} // namespace zyn::comctl::detail
