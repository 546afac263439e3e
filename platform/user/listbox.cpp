// The "ListBox" and "ComboLBox" window classes: the procedure, the items and the LB_*
// messages.
#include "platform/user/listbox.h"

#include <algorithm>
#include <cstring>

#include "platform/base/charcase.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/dialog.h"
#include "platform/user/listbox_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/stdctl_classes.h"
#include "platform/user/styles.h"
#include "platform/user/user_types.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

StateMap<ListState>& States()
{
    static StateMap<ListState> m;
    return m;
}

// Word-sort order without case; an owner-drawn list without strings asks its owner.
int CompareItems(ListState& s, const LbItem& a, int indexA, const LbItem& b, int indexB)
{
    if (s.HasStrings())
        return base::CompareWordSort(a.text, b.text, true);
    COMPAREITEMSTRUCT cis{};
    cis.CtlType = s.ctlType;
    cis.CtlID = s.ctlId;
    cis.hwndItem = s.itemHwnd;
    cis.itemID1 = static_cast<UINT>(indexA);
    cis.itemData1 = a.data;
    cis.itemID2 = static_cast<UINT>(indexB);
    cis.itemData2 = b.data;
    cis.dwLocaleId = s.locale;
    const LRESULT r = s.owner ? SendMessageW(s.owner, WM_COMPAREITEM, s.ctlId, reinterpret_cast<LPARAM>(&cis)) : 0;
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

void DeleteItemNotice(ListState& s, int i)
{
    const LbItem& it = s.items[static_cast<size_t>(i)];
    if (!it.data || !s.owner)
        return;
    DELETEITEMSTRUCT dis{};
    dis.CtlType = s.ctlType;
    dis.CtlID = s.ctlId;
    dis.itemID = static_cast<UINT>(i);
    dis.hwndItem = s.itemHwnd;
    dis.itemData = it.data;
    SendMessageW(s.owner, WM_DELETEITEM, s.ctlId, reinterpret_cast<LPARAM>(&dis));
}

LRESULT InsertItem(ListState& s, int index, LPARAM lp, bool sort)
{
    LbItem item;
    if (s.HasStrings()) {
        const auto* text = reinterpret_cast<const wchar_t*>(lp);
        item.text = text ? text : L"";
    } else {
        item.data = static_cast<ULONG_PTR>(lp);
    }
    if (sort && (s.style & LBS_SORT)) {
        // After the items it equals, so equal items keep the order they came in.
        int lo = 0, hi = s.Count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (CompareItems(s, item, -1, s.items[static_cast<size_t>(mid)], mid) < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        index = lo;
    }
    if (index < 0)
        index = s.Count();
    if (index > s.Count())
        return -1;
    try {
        s.items.insert(s.items.begin() + index, std::move(item));
    } catch (const std::bad_alloc&) {
        NotifyList(s, LBN_ERRSPACE);
        return -2;
    }
    for (int* p : {&s.sel, &s.caret, &s.anchor})
        if (*p >= index)
            ++*p;
    if (s.Variable())
        MeasureItem(s, index);
    UpdateListScrollBars(s);
    InvalidateList(s);
    return index;
}

LRESULT DeleteItem(ListState& s, int index)
{
    if (!s.Valid(index))
        return -1;
    DeleteItemNotice(s, index);
    if (!IsWindow(s.hwnd) || !s.Valid(index))
        return -1;
    s.items.erase(s.items.begin() + index);
    if (s.sel == index)
        s.sel = -1;
    else if (s.sel > index)
        --s.sel;
    for (int* p : {&s.caret, &s.anchor}) {
        if (*p > index)
            --*p;
        if (*p >= s.Count())
            *p = s.Count() - 1;
    }
    SetTop(s, s.top);
    UpdateListScrollBars(s);
    InvalidateList(s);
    return s.Count();
}

void ResetContent(ListState& s)
{
    for (int i = 0; i < s.Count(); ++i) {
        DeleteItemNotice(s, i);
        if (!IsWindow(s.hwnd))
            return;
    }
    s.items.clear();
    s.sel = s.caret = s.anchor = -1;
    s.top = 0;
    s.xOffset = 0;
    UpdateListScrollBars(s);
    InvalidateList(s);
}

LRESULT GetText(const ListState& s, WPARAM i, LPARAM lp)
{
    const int idx = static_cast<int>(static_cast<INT_PTR>(i));
    if (!s.Valid(idx) || !lp)
        return -1;
    const LbItem& it = s.items[static_cast<size_t>(idx)];
    if (!s.HasStrings()) {
        std::memcpy(reinterpret_cast<void*>(lp), &it.data, sizeof it.data);
        return sizeof it.data;
    }
    auto* buf = reinterpret_cast<wchar_t*>(lp);
    std::copy(it.text.begin(), it.text.end(), buf);
    buf[it.text.size()] = 0;
    return static_cast<LRESULT>(it.text.size());
}

LRESULT SetCurSel(ListState& s, WPARAM wp)
{
    if (s.Multi())
        return -1;
    const int i = static_cast<int>(static_cast<INT_PTR>(wp));
    if (i == -1) {
        SetSingleSel(s, -1);
        return -1; // documented: -1 even though nothing failed
    }
    if (!s.Valid(i))
        return -1;
    SetSingleSel(s, i);
    SetCaret(s, i);
    s.anchor = i;
    ShowItem(s, i);
    return i;
}

LRESULT SetSel(ListState& s, WPARAM on, LPARAM index)
{
    if (!s.Multi())
        return -1;
    const int i = static_cast<int>(index);
    if (i == -1) {
        if (s.Count())
            SelectRange(s, 0, s.Count() - 1, on != 0, false);
        return 0;
    }
    if (!s.Valid(i))
        return -1;
    SelectRange(s, i, i, on != 0, false);
    return 0;
}

LRESULT GetSelItems(const ListState& s, WPARAM max, LPARAM lp)
{
    if (!s.Multi())
        return -1;
    auto* out = reinterpret_cast<int*>(lp);
    if (!out && max)
        return -1;
    int n = 0;
    for (int i = 0; i < s.Count() && static_cast<WPARAM>(n) < max; ++i)
        if (s.items[static_cast<size_t>(i)].selected)
            out[n++] = i;
    return n;
}

LRESULT SelItemRange(ListState& s, int first, int last, bool on)
{
    if (!s.Multi())
        return -1;
    if (s.Count() == 0)
        return 0;
    first = std::clamp(first, 0, s.Count() - 1);
    last = std::clamp(last, 0, s.Count() - 1);
    SelectRange(s, first, last, on, false);
    return 0;
}

LRESULT SetItemHeight(ListState& s, WPARAM index, LPARAM lp)
{
    const int h = LOWORD(lp);
    if (h <= 0 || h > 255)
        return -1;
    if (s.Variable()) {
        const int i = static_cast<int>(static_cast<INT_PTR>(index));
        if (!s.Valid(i))
            return -1;
        s.items[static_cast<size_t>(i)].height = h;
    } else {
        s.itemHeight = h;
    }
    SetTop(s, s.top);
    UpdateListScrollBars(s);
    InvalidateList(s);
    return 0;
}

LRESULT GetItemHeight(const ListState& s, WPARAM index)
{
    if (!s.Variable())
        return s.itemHeight;
    const int i = static_cast<int>(static_cast<INT_PTR>(index));
    return s.Valid(i) ? s.items[static_cast<size_t>(i)].height : -1;
}

LRESULT ItemFromPoint(const ListState& s, LPARAM lp)
{
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    const bool outside = !PtInRect(&rc, pt);
    if (s.Count() == 0)
        return MAKELONG(0, 1);
    const int i = ItemAt(s, pt, true);
    return MAKELONG(static_cast<WORD>(std::max(i, 0)), outside ? 1 : 0);
}

void SetFont(ListState& s, HFONT font, bool redraw)
{
    s.font = font;
    s.fi = MeasureFont(font);
    if (!s.OwnerDraw())
        s.itemHeight = std::max(1, s.fi.height);
    AdjustIntegralHeight(s);
    SetTop(s, s.top);
    UpdateListScrollBars(s);
    if (redraw)
        InvalidateList(s);
}

LRESULT OnCreate(ListState& s, const CREATESTRUCTW* cs)
{
    s.style = cs ? static_cast<DWORD>(cs->style) : static_cast<DWORD>(GetWindowLongPtrW(s.hwnd, GWL_STYLE));
    s.hasVScroll = (s.style & WS_VSCROLL) != 0;
    s.hasHScroll = (s.style & WS_HSCROLL) != 0;
    if (s.style & LBS_NOREDRAW)
        s.noRedraw = true;
    if ((s.style & LBS_MULTIPLESEL) && (s.style & LBS_EXTENDEDSEL))
        s.style &= ~LBS_MULTIPLESEL; // extended wins over multiple
    s.fi = MeasureFont(nullptr);
    s.itemHeight = std::max(1, s.fi.height);
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    s.columnWidth = std::max<int>(1, rc.right - rc.left);
    if (s.style & LBS_COMBOBOX)
        return 0; // the combo box attaches, measures and sizes its list
    s.owner = NotifyTarget(s.hwnd);
    s.ctlId = static_cast<UINT>(GetWindowLongPtrW(s.hwnd, GWLP_ID));
    s.itemHwnd = s.hwnd;
    if (s.OwnerDraw() && !s.Variable())
        MeasureItem(s, 0);
    AdjustIntegralHeight(s);
    UpdateListScrollBars(s);
    return 0;
}

void OnSetFocus(ListState& s)
{
    s.focused = true;
    if (s.caret < 0 && s.Count() > 0)
        s.caret = s.sel >= 0 ? s.sel : 0;
    InvalidateItem(s, s.caret);
    if (s.OwnerDraw() && s.Count() == 0)
        InvalidateList(s);
    NotifyList(s, LBN_SETFOCUS);
}

void OnKillFocus(ListState& s)
{
    s.focused = false;
    if (s.tracking)
        EndListTracking(s);
    InvalidateItem(s, s.caret);
    if (s.OwnerDraw() && s.Count() == 0)
        InvalidateList(s);
    NotifyList(s, LBN_KILLFOCUS);
}

LRESULT ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto s = States().Create(hwnd);
        s->hwnd = hwnd;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto sp = States().Get(hwnd);
    if (!sp)
        return DefWindowProcW(hwnd, msg, wp, lp);
    ListState& s = *sp;
    switch (msg) {
    case WM_CREATE: return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp));
    case WM_DESTROY:
        KillTimer(hwnd, kListScrollTimer);
        for (int i = 0; i < s.Count(); ++i)
            DeleteItemNotice(s, i);
        s.items.clear();
        return 0;
    case WM_NCDESTROY:
        States().Remove(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT: SetFont(s, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SIZE:
        AdjustIntegralHeight(s);
        SetTop(s, s.top);
        UpdateListScrollBars(s);
        InvalidateList(s);
        return 0;
    case WM_SETREDRAW:
        s.noRedraw = wp == 0;
        if (wp) {
            UpdateListScrollBars(s);
            InvalidateList(s);
        }
        return 0;
    case WM_ENABLE: InvalidateList(s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        PaintInFont(hwnd, wp, s.font, [&](HDC dc, const RECT& area) { PaintList(s, dc, area); });
        return 0;
    case WM_SETFOCUS: OnSetFocus(s); return 0;
    case WM_KILLFOCUS: OnKillFocus(s); return 0;
    case WM_KEYDOWN: OnListKeyDown(s, wp); return 0;
    case WM_CHAR: OnListChar(s, static_cast<wchar_t>(wp)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnListMouseDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE: OnListMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP: OnListMouseUp(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_CAPTURECHANGED: OnListCaptureChanged(s, reinterpret_cast<HWND>(lp)); return 0;
    case WM_MOUSEACTIVATE:
        if (s.combo)
            return MA_NOACTIVATE; // a combo box's list never takes the activation
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_TIMER:
        if (wp == kListScrollTimer) {
            OnListTimer(s);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int steps = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * static_cast<int>(lines);
        if (steps && s.Count())
            SetTop(s, s.top - steps * (s.MultiColumn() ? RowsPerColumn(s) : 1));
        return 0;
    }
    case WM_VSCROLL: OnListScroll(s, true, LOWORD(wp)); return 0;
    case WM_HSCROLL: OnListScroll(s, false, LOWORD(wp)); return 0;
    case LB_ADDSTRING: return InsertItem(s, -1, lp, true);
    case LB_INSERTSTRING: return InsertItem(s, static_cast<int>(static_cast<INT_PTR>(wp)), lp, false);
    case LB_DELETESTRING: return DeleteItem(s, static_cast<int>(static_cast<INT_PTR>(wp)));
    case LB_RESETCONTENT: ResetContent(s); return 0;
    case LB_GETCOUNT: return s.Count();
    case LB_GETTEXT: return GetText(s, wp, lp);
    case LB_GETTEXTLEN: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!s.Valid(i))
            return -1;
        return s.HasStrings() ? static_cast<LRESULT>(s.items[static_cast<size_t>(i)].text.size()) : sizeof(ULONG_PTR);
    }
    case LB_SETCURSEL: return SetCurSel(s, wp);
    case LB_GETCURSEL:
        if (s.Multi())
            return s.caret >= 0 ? s.caret : -1;
        return s.sel;
    case LB_SETSEL: return SetSel(s, wp, lp);
    case LB_GETSEL: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        return s.Valid(i) ? (s.IsSelected(i) ? 1 : 0) : -1;
    }
    case LB_GETSELCOUNT: {
        if (!s.Multi())
            return -1;
        int n = 0;
        for (const auto& it : s.items)
            n += it.selected ? 1 : 0;
        return n;
    }
    case LB_GETSELITEMS: return GetSelItems(s, wp, lp);
    case LB_SELITEMRANGE: return SelItemRange(s, LOWORD(lp), HIWORD(lp), wp != 0);
    case LB_SELITEMRANGEEX: {
        const int a = static_cast<int>(static_cast<INT_PTR>(wp)), b = static_cast<int>(lp);
        return a <= b ? SelItemRange(s, a, b, true) : SelItemRange(s, b, a, false);
    }
    case LB_FINDSTRING:
        return FindItem(s, static_cast<int>(static_cast<INT_PTR>(wp)), reinterpret_cast<const wchar_t*>(lp), false);
    case LB_FINDSTRINGEXACT:
        return FindItem(s, static_cast<int>(static_cast<INT_PTR>(wp)), reinterpret_cast<const wchar_t*>(lp), true);
    case LB_SELECTSTRING: {
        if (s.Multi())
            return -1;
        const int i = FindItem(s, static_cast<int>(static_cast<INT_PTR>(wp)), reinterpret_cast<const wchar_t*>(lp), false);
        if (i < 0)
            return -1;
        return SetCurSel(s, static_cast<WPARAM>(i));
    }
    case LB_SETITEMDATA: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!s.Valid(i))
            return -1;
        s.items[static_cast<size_t>(i)].data = static_cast<ULONG_PTR>(lp);
        return TRUE;
    }
    case LB_GETITEMDATA: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        return s.Valid(i) ? static_cast<LRESULT>(s.items[static_cast<size_t>(i)].data) : -1;
    }
    case LB_SETTOPINDEX: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!s.Valid(i) && !(i == 0 && s.Count() == 0))
            return -1;
        SetTop(s, s.MultiColumn() ? i / RowsPerColumn(s) * RowsPerColumn(s) : i);
        return 0;
    }
    case LB_GETTOPINDEX: return s.top;
    case LB_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!rc || (!s.Valid(i) && !(i == 0 && s.Count() == 0)))
            return -1;
        ItemRect(s, i, rc);
        return TRUE;
    }
    case LB_ITEMFROMPOINT: return ItemFromPoint(s, lp);
    case LB_SETITEMHEIGHT: return SetItemHeight(s, wp, lp);
    case LB_GETITEMHEIGHT: return GetItemHeight(s, wp);
    case LB_SETCARETINDEX: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!s.Valid(i))
            return -1;
        SetCaret(s, i);
        ShowItem(s, i, LOWORD(lp) != 0);
        return 0;
    }
    case LB_GETCARETINDEX:
        if (!s.Multi() && s.sel >= 0)
            return s.sel;
        return s.caret >= 0 ? s.caret : 0;
    case LB_SETANCHORINDEX: {
        const int i = static_cast<int>(static_cast<INT_PTR>(wp));
        if (!s.Valid(i))
            return -1;
        s.anchor = i;
        return 0;
    }
    case LB_GETANCHORINDEX: return s.anchor;
    case LB_INITSTORAGE:
        try {
            s.items.reserve(s.items.size() + wp);
        } catch (const std::exception&) {
            return -2;
        }
        return static_cast<LRESULT>(s.items.capacity());
    case LB_SETTABSTOPS: {
        if (!(s.style & LBS_USETABSTOPS))
            return FALSE;
        const auto* stops = reinterpret_cast<const INT*>(lp);
        if (wp && !stops)
            return FALSE;
        s.tabStopsDlu.assign(stops, stops + wp);
        InvalidateList(s);
        return TRUE;
    }
    case LB_SETCOLUMNWIDTH:
        s.columnWidth = std::max(1, static_cast<int>(wp));
        UpdateListScrollBars(s);
        InvalidateList(s);
        return 0;
    case LB_GETHORIZONTALEXTENT: return s.horizExtent;
    case LB_SETHORIZONTALEXTENT:
        s.horizExtent = static_cast<int>(wp);
        UpdateListScrollBars(s);
        InvalidateList(s);
        return 0;
    case LB_GETLISTBOXINFO: return s.MultiColumn() ? RowsPerColumn(s) : FullyVisible(s);
    case LB_SETLOCALE: {
        const LCID old = s.locale;
        s.locale = static_cast<LCID>(wp);
        return static_cast<LRESULT>(old);
    }
    case LB_GETLOCALE: return static_cast<LRESULT>(s.locale);
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE: return -1; // no data-less lists, no file listings
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void NotifyList(ListState& s, WORD code)
{
    if (s.combo)
        return; // the combo box hears through its own calls
    const bool always = code == LBN_SETFOCUS || code == LBN_KILLFOCUS || code == LBN_ERRSPACE;
    if (always || (s.style & LBS_NOTIFY))
        Notify(s.hwnd, code);
}

int FindItem(const ListState& s, int start, const wchar_t* text, bool exact)
{
    const int n = s.Count();
    if (n == 0)
        return -1;
    if (start < -1 || start >= n)
        start = -1;
    const std::wstring_view want = s.HasStrings() && text ? std::wstring_view(text) : std::wstring_view();
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k) % n;
        const LbItem& it = s.items[static_cast<size_t>(i)];
        if (!s.HasStrings()) {
            if (it.data == reinterpret_cast<ULONG_PTR>(text))
                return i;
            continue;
        }
        if (exact) {
            if (base::CompareNoCase(it.text, want) == 0)
                return i;
        } else if (it.text.size() >= want.size() &&
                   base::CompareNoCase(std::wstring_view(it.text).substr(0, want.size()), want) == 0) {
            return i;
        }
    }
    return -1;
}

std::shared_ptr<ListState> ListOf(HWND hwnd) { return States().Get(hwnd); }

void ListAttachToCombo(HWND list, HWND combo, HWND owner, UINT id)
{
    if (auto s = States().Get(list)) {
        s->combo = combo;
        s->owner = owner;
        s->ctlType = ODT_COMBOBOX;
        s->ctlId = id;
        s->itemHwnd = combo;
    }
}

void ListSetDropped(HWND list, bool dropped, bool buttonDown)
{
    if (auto s = States().Get(list)) {
        s->dropped = dropped;
        s->buttonDown = dropped && buttonDown;
        if (!dropped)
            EndListTracking(*s);
    }
}

WNDCLASSEXW ListBoxClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ListProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ListBox";
    return wc;
}

WNDCLASSEXW ComboLBoxClass()
{
    WNDCLASSEXW wc = ListBoxClass();
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpszClassName = L"ComboLBox";
    return wc;
}

} // namespace zyn::user::ctl

DWORD GetListBoxInfo(HWND hwnd) { return static_cast<DWORD>(SendMessageW(hwnd, LB_GETLISTBOXINFO, 0, 0)); }
