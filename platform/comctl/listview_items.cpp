// The list view's items: inserting, deleting, reading and changing them, their states
// and the notifications that go with each change, searching and sorting.
#include <algorithm>
#include <cwchar>
#include <numeric>

#include "platform/base/charcase.h"
#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

// The buffer a LVN_GETDISPINFOW receiver writes into.
constexpr int kDispTextMax = 1024;
// Sub-items that may be set before any column shows them.
constexpr int kFreeSubItems = 64;

bool Virtual(const ListViewState& s) { return (s.style() & LVS_OWNERDATA) != 0; }

bool Sorted(const ListViewState& s) { return (s.style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) != 0; }

// Where a text goes in a sorted control: after the items that sort equal to it.
int SortedPosition(ListViewState& s, const std::wstring& text)
{
    const bool descending = (s.style() & LVS_SORTDESCENDING) != 0;
    int lo = 0, hi = s.count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const ListItem& other = s.items[static_cast<size_t>(mid)];
        int c = other.textCallback ? -1 : zyn::base::CompareWordSort(other.text, text, true);
        if (descending)
            c = -c;
        if (c <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void ShiftIndexesUp(ListViewState& s, int index)
{
    for (int* i : {&s.focused, &s.mark, &s.hot, &s.editItem, &s.pendingEdit, &s.tipItem}) {
        if (*i >= index)
            ++*i;
    }
}

void ShiftIndexesDown(ListViewState& s, int index)
{
    for (int* i : {&s.focused, &s.mark, &s.hot, &s.editItem, &s.pendingEdit, &s.tipItem}) {
        if (*i == index)
            *i = -1;
        else if (*i > index)
            --*i;
    }
}

// Asks the parent for what `mask` names of an item or sub-item; the answer is written into
// `text` / `image` / `state` for the bits asked.
void AskDispInfo(ListViewState& s, int index, int subItem, UINT mask, std::wstring* text, int* image, UINT* state)
{
    WCHAR buffer[kDispTextMax] = L"";
    NMLVDISPINFOW di{};
    di.item.mask = mask;
    di.item.iItem = index;
    di.item.iSubItem = subItem;
    di.item.pszText = buffer;
    di.item.cchTextMax = kDispTextMax;
    const ListItem& item = s.items[static_cast<size_t>(index)];
    di.item.lParam = item.lParam;
    di.item.state = item.state;
    di.item.stateMask = s.callbackMask;
    di.item.iImage = item.image;
    di.item.iIndent = item.indent;
    Notify(s, di.hdr, LVN_GETDISPINFOW);
    if (s.destroyed || !s.valid(index))
        return;
    if ((mask & LVIF_TEXT) && text) {
        if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACKW)
            text->clear();
        else if (di.item.pszText == buffer)
            text->assign(buffer, wcsnlen(buffer, kDispTextMax)); // never beyond the buffer
        else
            text->assign(di.item.pszText);
    }
    if ((mask & LVIF_IMAGE) && image)
        *image = di.item.iImage;
    if ((mask & LVIF_STATE) && state)
        *state = di.item.state & s.callbackMask;
    if (di.item.mask & LVIF_DI_SETITEM) {
        ListItem& keep = s.items[static_cast<size_t>(index)];
        if (subItem == 0) {
            if ((mask & LVIF_TEXT) && text) {
                keep.text = *text;
                keep.textCallback = false;
            }
            if ((mask & LVIF_IMAGE) && image)
                keep.image = *image;
        } else if (static_cast<size_t>(subItem) <= keep.subItems.size()) {
            SubItem& sub = keep.subItems[static_cast<size_t>(subItem - 1)];
            if ((mask & LVIF_TEXT) && text) {
                sub.text = *text;
                sub.textCallback = false;
            }
            if ((mask & LVIF_IMAGE) && image)
                sub.image = *image;
        }
    }
}

void CopyText(const std::wstring& text, LPWSTR buffer, int size, LRESULT* copied = nullptr)
{
    if (!buffer || buffer == LPSTR_TEXTCALLBACKW || size <= 0) {
        if (copied)
            *copied = 0;
        return;
    }
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
    if (copied)
        *copied = static_cast<LRESULT>(n);
}

SubItem& SubItemOf(ListItem& item, int subItem)
{
    if (item.subItems.size() < static_cast<size_t>(subItem))
        item.subItems.resize(static_cast<size_t>(subItem));
    return item.subItems[static_cast<size_t>(subItem - 1)];
}

void NoteTextChange(ListViewState& s, int index)
{
    ListItem& item = s.items[static_cast<size_t>(index)];
    item.textWidth = -1;
    item.wrapped = SIZE{-1, -1};
    s.maxItemWidth = -1;
}

// One item's state change with its notifications.
bool SetOneState(ListViewState& s, int index, UINT state, UINT mask)
{
    if (!s.valid(index))
        return false;
    const UINT old = s.items[static_cast<size_t>(index)].state;
    const UINT next = (old & ~mask) | (state & mask);
    if (next == old)
        return true;
    const bool gainsFocus = (next & LVIS_FOCUSED) && !(old & LVIS_FOCUSED);
    if (gainsFocus && s.focused != index && s.valid(s.focused)) {
        SetOneState(s, s.focused, 0, LVIS_FOCUSED);
        if (s.destroyed || !s.valid(index))
            return false;
    }
    if ((s.style() & LVS_SINGLESEL) && (next & LVIS_SELECTED) && !(old & LVIS_SELECTED) && s.selectedCount > 0) {
        for (int i = 0; i < s.count() && s.selectedCount > 0; ++i) {
            if (i != index && (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED)) {
                SetOneState(s, i, 0, LVIS_SELECTED);
                if (s.destroyed)
                    return false;
            }
        }
        if (!s.valid(index))
            return false;
    }
    const UINT before = s.items[static_cast<size_t>(index)].state;
    const UINT after = (before & ~mask) | (state & mask);
    if (after == before)
        return true;
    if (NotifyListView(s, LVN_ITEMCHANGING, index, 0, after, before, LVIF_STATE))
        return false; // the parent keeps the item as it is
    if (s.destroyed || !s.valid(index))
        return false;
    ListItem& item = s.items[static_cast<size_t>(index)];
    const UINT was = item.state;
    const UINT now = (was & ~mask) | (state & mask);
    item.state = now;
    if ((now & LVIS_SELECTED) && !(was & LVIS_SELECTED))
        ++s.selectedCount;
    else if (!(now & LVIS_SELECTED) && (was & LVIS_SELECTED))
        --s.selectedCount;
    if (now & LVIS_FOCUSED) {
        if (s.valid(s.focused) && s.focused != index)
            s.items[static_cast<size_t>(s.focused)].state &= ~LVIS_FOCUSED;
        s.focused = index;
    } else if (s.focused == index) {
        s.focused = -1;
    }
    InvalidateItem(s, index);
    NotifyListView(s, LVN_ITEMCHANGED, index, 0, now, was, LVIF_STATE);
    return true;
}

} // namespace

LRESULT Notify(ListViewState& s, NMHDR& hdr, UINT code)
{
    hdr.hwndFrom = s.self;
    hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(s.self));
    hdr.code = code;
    const HWND parent = ::GetParent(s.self);
    if (!parent || s.destroyed)
        return 0;
    return ::SendMessageW(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

LRESULT NotifyListView(ListViewState& s, UINT code, int item, int subItem, UINT newState, UINT oldState, UINT changed,
    POINT pt)
{
    NMLISTVIEW nm{};
    nm.iItem = item;
    nm.iSubItem = subItem;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = pt;
    if (s.valid(item))
        nm.lParam = s.items[static_cast<size_t>(item)].lParam;
    return Notify(s, nm.hdr, code);
}

LRESULT NotifyActivate(ListViewState& s, UINT code, int item, int subItem, POINT pt, UINT keyFlags)
{
    NMITEMACTIVATE nm{};
    nm.iItem = item;
    nm.iSubItem = subItem;
    nm.ptAction = pt;
    nm.uKeyFlags = keyFlags;
    if (s.valid(item)) {
        nm.lParam = s.items[static_cast<size_t>(item)].lParam;
        nm.uNewState = nm.uOldState = s.items[static_cast<size_t>(item)].state;
    }
    return Notify(s, nm.hdr, code);
}

LRESULT InsertItem(ListViewState& s, const LVITEMW* in)
{
    if (!in || in->iSubItem != 0 || Virtual(s))
        return -1; // a virtual list grows through LVM_SETITEMCOUNT
    ListItem item;
    if (in->mask & LVIF_TEXT) {
        item.textCallback = in->pszText == LPSTR_TEXTCALLBACKW;
        if (!item.textCallback && in->pszText)
            item.text = in->pszText;
    }
    if (in->mask & LVIF_IMAGE)
        item.image = in->iImage;
    if (in->mask & LVIF_PARAM)
        item.lParam = in->lParam;
    if (in->mask & LVIF_INDENT)
        item.indent = in->iIndent;
    if (in->mask & LVIF_STATE)
        item.state = in->state & in->stateMask;
    if ((s.exStyle & LVS_EX_CHECKBOXES) && !(item.state & LVIS_STATEIMAGEMASK))
        item.state |= INDEXTOSTATEIMAGEMASK(1);
    int index = std::clamp(in->iItem, 0, s.count());
    if (Sorted(s) && !item.textCallback)
        index = SortedPosition(s, item.text);
    const bool selected = (item.state & LVIS_SELECTED) != 0;
    const bool focused = (item.state & LVIS_FOCUSED) != 0;
    s.items.insert(s.items.begin() + index, std::move(item));
    ++s.version;
    ShiftIndexesUp(s, index);
    if (selected)
        ++s.selectedCount;
    if (focused) {
        if (s.valid(s.focused))
            s.items[static_cast<size_t>(s.focused)].state &= ~LVIS_FOCUSED;
        s.focused = index;
    }
    // The widest item grows by this one only; nothing else is measured.
    if (s.maxItemWidth >= 0 && (s.view() == View::List || s.view() == View::SmallIcon))
        s.maxItemWidth = std::max(s.maxItemWidth, TextWidth(s, index) + 2 * kLabelPad);
    else
        s.maxItemWidth = -1;
    InvalidateFrom(s, index);
    UpdateScrollBars(s);
    NotifyListView(s, LVN_INSERTITEM, index);
    return index;
}

bool DeleteItem(ListViewState& s, int index)
{
    if (!s.valid(index))
        return false;
    if (s.editItem == index)
        EndEdit(s, true);
    const uint64_t version = s.version;
    NotifyListView(s, LVN_DELETEITEM, index);
    if (s.destroyed || !s.valid(index))
        return false;
    if (s.version != version)
        return false; // the parent changed the items meanwhile: the index means another item now
    const bool selected = (s.items[static_cast<size_t>(index)].state & LVIS_SELECTED) != 0;
    if (s.items[static_cast<size_t>(index)].placed)
        --s.placedCount;
    s.items.erase(s.items.begin() + index);
    ++s.version;
    ShiftIndexesDown(s, index);
    if (selected)
        --s.selectedCount;
    s.maxItemWidth = -1;
    if (s.topIndex > 0 && s.topIndex >= s.count())
        s.topIndex = std::max(0, s.count() - 1);
    InvalidateFrom(s, index);
    UpdateScrollBars(s);
    return true;
}

bool DeleteAllItems(ListViewState& s)
{
    if (s.edit)
        EndEdit(s, true);
    if (s.items.empty())
        return true;
    const uint64_t version = s.version;
    const LRESULT quiet = NotifyListView(s, LVN_DELETEALLITEMS, -1);
    if (s.destroyed)
        return false;
    if (!quiet) {
        // Each item is announced while it is still there; a parent that changes the items
        // meanwhile ends the announcements (the items it left are deleted all the same).
        for (int i = 0; i < s.count() && s.version == version; ++i)
            NotifyListView(s, LVN_DELETEITEM, i);
    }
    s.items.clear();
    s.items.shrink_to_fit();
    ++s.version;
    s.focused = s.mark = s.hot = s.editItem = s.pendingEdit = s.tipItem = -1;
    s.selectedCount = 0;
    s.placedCount = 0;
    s.topIndex = 0;
    s.scrollX = s.view() == View::Report ? s.scrollX : 0;
    s.origin = POINT{};
    s.maxItemWidth = -1;
    InvalidateAll(s);
    UpdateScrollBars(s);
    return true;
}

std::wstring ItemText(ListViewState& s, int index, int subItem)
{
    if (!s.valid(index) || subItem < 0)
        return {};
    const ListItem& item = s.items[static_cast<size_t>(index)];
    bool callback = false;
    if (subItem == 0) {
        if (!item.textCallback)
            return item.text;
        callback = true;
    } else if (static_cast<size_t>(subItem) <= item.subItems.size()) {
        const SubItem& sub = item.subItems[static_cast<size_t>(subItem - 1)];
        if (!sub.textCallback)
            return sub.text;
        callback = true;
    }
    if (!callback)
        return {};
    std::wstring text;
    AskDispInfo(s, index, subItem, LVIF_TEXT, &text, nullptr, nullptr);
    return text;
}

int ItemImage(ListViewState& s, int index, int subItem)
{
    if (!s.valid(index))
        return I_IMAGENONE;
    const ListItem& item = s.items[static_cast<size_t>(index)];
    int image = I_IMAGENONE;
    if (subItem == 0)
        image = item.image;
    else if (subItem > 0 && static_cast<size_t>(subItem) <= item.subItems.size())
        image = item.subItems[static_cast<size_t>(subItem - 1)].image;
    if (image == I_IMAGECALLBACK) {
        image = I_IMAGENONE;
        AskDispInfo(s, index, subItem, LVIF_IMAGE, nullptr, &image, nullptr);
    }
    return image;
}

int ItemIndent(ListViewState& s, int index)
{
    if (!s.valid(index))
        return 0;
    const int indent = s.items[static_cast<size_t>(index)].indent;
    return std::max(0, indent);
}

LRESULT GetItem(ListViewState& s, LVITEMW* out)
{
    if (!out || !s.valid(out->iItem) || out->iSubItem < 0)
        return FALSE;
    const int index = out->iItem;
    if (out->mask & LVIF_TEXT)
        CopyText(ItemText(s, index, out->iSubItem), out->pszText, out->cchTextMax);
    if (!s.valid(index))
        return FALSE;
    if (out->mask & LVIF_IMAGE)
        out->iImage = ItemImage(s, index, out->iSubItem);
    if (!s.valid(index))
        return FALSE;
    const ListItem& item = s.items[static_cast<size_t>(index)];
    if (out->mask & LVIF_PARAM)
        out->lParam = item.lParam;
    if (out->mask & LVIF_INDENT)
        out->iIndent = item.indent;
    if (out->mask & LVIF_STATE) {
        UINT state = item.state;
        if (s.callbackMask & out->stateMask) {
            UINT asked = 0;
            AskDispInfo(s, index, 0, LVIF_STATE, nullptr, nullptr, &asked);
            state = (state & ~s.callbackMask) | asked;
        }
        out->state = state & out->stateMask;
    }
    return TRUE;
}

LRESULT GetItemText(ListViewState& s, int index, LVITEMW* out)
{
    if (!out)
        return 0;
    LRESULT copied = 0;
    if (!s.valid(index) || out->iSubItem < 0) {
        CopyText(std::wstring(), out->pszText, out->cchTextMax);
        return 0;
    }
    CopyText(ItemText(s, index, out->iSubItem), out->pszText, out->cchTextMax, &copied);
    return copied;
}

bool SetItem(ListViewState& s, const LVITEMW* in)
{
    if (!in || !s.valid(in->iItem) || in->iSubItem < 0)
        return false;
    const int index = in->iItem;
    if (Virtual(s) && (in->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT)))
        return false; // the parent holds a virtual list's data
    if (in->iSubItem > 0) {
        // Sub-items exist for the columns there are (any sub-item a column shows), or for
        // the first few before the columns are made; beyond that the index is a mistake
        // that must not allocate a row of that length.
        int limit = std::max(kFreeSubItems, static_cast<int>(s.columns.size()));
        for (const Column& c : s.columns)
            limit = std::max(limit, c.subItem + 1);
        if (in->iSubItem >= limit)
            return false;
        // Sub-items change quietly, as their columns do not make the item another one.
        SubItem& sub = SubItemOf(s.items[static_cast<size_t>(index)], in->iSubItem);
        if (in->mask & LVIF_TEXT) {
            sub.textCallback = in->pszText == LPSTR_TEXTCALLBACKW;
            sub.text = (!sub.textCallback && in->pszText) ? std::wstring(in->pszText) : std::wstring();
        }
        if (in->mask & LVIF_IMAGE)
            sub.image = in->iImage;
        InvalidateItem(s, index);
        return true;
    }
    const UINT changes = in->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
    if (changes) {
        const ListItem& item = s.items[static_cast<size_t>(index)];
        if (NotifyListView(s, LVN_ITEMCHANGING, index, 0, item.state, item.state, changes))
            return false;
        if (s.destroyed || !s.valid(index))
            return false;
        InvalidateItem(s, index); // where it was (an icon label may shrink)
        ListItem& target = s.items[static_cast<size_t>(index)];
        if (in->mask & LVIF_TEXT) {
            target.textCallback = in->pszText == LPSTR_TEXTCALLBACKW;
            target.text = (!target.textCallback && in->pszText) ? std::wstring(in->pszText) : std::wstring();
            NoteTextChange(s, index);
        }
        if (in->mask & LVIF_IMAGE)
            target.image = in->iImage;
        if (in->mask & LVIF_PARAM)
            target.lParam = in->lParam;
        if (in->mask & LVIF_INDENT)
            target.indent = in->iIndent;
        InvalidateItem(s, index);
        NotifyListView(s, LVN_ITEMCHANGED, index, 0, target.state, target.state, changes);
        if (s.destroyed || !s.valid(index))
            return false;
    }
    if (in->mask & LVIF_STATE)
        return SetItemState(s, index, in->state, in->stateMask);
    return true;
}

bool SetItemState(ListViewState& s, int index, UINT state, UINT mask)
{
    if (index == -1) {
        // Every item; the focus cannot go to all of them.
        if ((state & mask) & LVIS_FOCUSED)
            mask &= ~LVIS_FOCUSED;
        for (int i = 0; i < s.count(); ++i) {
            SetOneState(s, i, state, mask);
            if (s.destroyed)
                return false;
        }
        return true;
    }
    return SetOneState(s, index, state, mask);
}

LRESULT GetNextItem(ListViewState& s, int start, UINT flags)
{
    const UINT want = flags & LVNI_STATEMASK; // the LVNI_ state bits are the LVIS_ ones
    const UINT direction = flags & LVNI_DIRECTIONMASK;
    if (direction) {
        if (!s.valid(start))
            return -1;
        int i = start;
        for (int guard = 0; guard < s.count(); ++guard) {
            i = Neighbour(s, i, direction);
            if (i < 0)
                return -1;
            if ((s.items[static_cast<size_t>(i)].state & want) == want)
                return i;
        }
        return -1;
    }
    if (start < -1)
        start = -1;
    if (want == LVNI_FOCUSED)
        return s.focused > start ? s.focused : -1;
    if ((want & LVNI_SELECTED) && s.selectedCount == 0)
        return -1;
    for (int i = start + 1; i < s.count(); ++i) {
        if ((s.items[static_cast<size_t>(i)].state & want) == want)
            return i;
    }
    return -1;
}

std::wstring FoldText(const std::wstring& text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = zyn::base::ToLowerChar(c);
    return folded;
}

LRESULT FindItem(ListViewState& s, int start, const LVFINDINFOW* info)
{
    if (!info || s.items.empty())
        return -1;
    const int n = s.count();
    if (Virtual(s)) {
        NMLVFINDITEMW find{};
        find.iStart = start;
        find.lvfi = *info;
        const LRESULT found = Notify(s, find.hdr, LVN_ODFINDITEMW);
        return found >= 0 && found < s.count() ? found : -1;
    }
    if (info->flags & LVFI_NEARESTXY) {
        // The item nearest to the point among those lying in the direction asked.
        if (s.view() != View::Icon && s.view() != View::SmallIcon)
            return -1;
        int best = -1;
        int64_t bestDist = 0;
        for (int i = 0; i < n; ++i) {
            RECT rc{};
            ItemRect(s, i, LVIR_BOUNDS, rc);
            const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
            const int dx = cx - info->pt.x, dy = cy - info->pt.y;
            bool ahead = true;
            switch (info->vkDirection) {
            case VK_UP: ahead = dy < 0; break;
            case VK_DOWN: ahead = dy > 0; break;
            case VK_LEFT: ahead = dx < 0; break;
            case VK_RIGHT: ahead = dx > 0; break;
            default: break;
            }
            const int64_t dist = static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy;
            if (ahead && (best < 0 || dist < bestDist)) {
                best = i;
                bestDist = dist;
            }
        }
        return best;
    }
    const bool byParam = (info->flags & LVFI_PARAM) != 0;
    const bool byText = (info->flags & (LVFI_STRING | LVFI_PARTIAL | LVFI_SUBSTRING)) != 0;
    if (!byParam && (!byText || !info->psz))
        return -1;
    const bool prefix = (info->flags & (LVFI_PARTIAL | LVFI_SUBSTRING)) != 0;
    const std::wstring wanted = byText && info->psz ? std::wstring(info->psz) : std::wstring();
    auto matches = [&](int i) {
        if (byParam)
            return s.items[static_cast<size_t>(i)].lParam == info->lParam;
        const std::wstring text = ItemText(s, i, 0);
        if (prefix)
            return text.size() >= wanted.size() &&
                   zyn::base::CompareNoCase(std::wstring_view(text).substr(0, wanted.size()), wanted) == 0;
        return zyn::base::CompareNoCase(text, wanted) == 0;
    };
    const int begin = start < 0 ? 0 : start + 1;
    for (int i = begin; i < n && !s.destroyed; ++i) {
        if (s.valid(i) && matches(i))
            return i;
    }
    if (info->flags & LVFI_WRAP) {
        for (int i = 0; i < std::min(begin, n) && !s.destroyed; ++i) {
            if (s.valid(i) && matches(i))
                return i;
        }
    }
    return -1;
}

bool SortItems(ListViewState& s, PFNLVCOMPARE compare, LPARAM lParamSort, bool byIndex)
{
    if (!compare || Virtual(s))
        return false;
    if (s.edit)
        EndEdit(s, true);
    const int n = s.count();
    const uint64_t version = s.version;
    std::vector<LPARAM> keys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        keys[static_cast<size_t>(i)] = byIndex ? i : s.items[static_cast<size_t>(i)].lParam;
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // Stable: items the callback calls equal keep their order. The callback sees the
    // indexes of the items as they were before the sort (LVM_SORTITEMSEX).
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compare(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)], lParamSort) < 0;
    });
    if (s.destroyed || s.version != version || s.count() != n)
        return false; // the callback changed the items: their order is left alone
    std::deque<ListItem> sorted;
    std::vector<int> where(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        sorted.push_back(std::move(s.items[static_cast<size_t>(order[static_cast<size_t>(k)])]));
        where[static_cast<size_t>(order[static_cast<size_t>(k)])] = k;
    }
    s.items = std::move(sorted);
    for (int* i : {&s.focused, &s.mark, &s.hot, &s.pendingEdit, &s.tipItem}) {
        if (*i >= 0 && *i < n)
            *i = where[static_cast<size_t>(*i)];
    }
    InvalidateAll(s);
    return true;
}

void InvalidateItem(ListViewState& s, int index)
{
    if (!s.redraw || s.destroyed || s.allInvalid || !s.valid(index))
        return;
    RECT rc{};
    if (!ItemRect(s, index, LVIR_BOUNDS, rc))
        return;
    if (s.view() == View::Report) {
        // Gaps between columns and the part of the row past the columns belong to it too.
        RECT client{};
        ::GetClientRect(s.self, &client);
        rc.left = client.left;
        rc.right = client.right;
    }
    RECT area = ItemArea(s), both{};
    if (::IntersectRect(&both, &rc, &area))
        ::InvalidateRect(s.self, &both, TRUE);
}

void InvalidateFrom(ListViewState& s, int index)
{
    if (!s.redraw || s.destroyed || s.allInvalid)
        return;
    if (s.view() != View::Report) {
        InvalidateAll(s);
        return;
    }
    RECT area = ItemArea(s);
    const int top = Saturate(int64_t{area.top} + int64_t{index - s.topIndex} * RowHeight(s));
    if (top >= area.bottom)
        return; // below what is shown
    if (top <= area.top) {
        InvalidateAll(s);
        return;
    }
    area.top = top;
    ::InvalidateRect(s.self, &area, TRUE);
}

void InvalidateAll(ListViewState& s)
{
    if (!s.redraw || s.destroyed || s.allInvalid)
        return;
    ::InvalidateRect(s.self, nullptr, TRUE);
    // Later invalidations of parts add nothing until the paint; a hidden window has
    // nothing to paint, and showing it paints it whole.
    s.allInvalid = ::IsWindowVisible(s.self) != FALSE;
}

} // namespace zyn::comctl::detail
