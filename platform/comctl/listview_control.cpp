// The list view's window class: its state table, the window procedure (the LVM_ messages
// and the window messages it answers), image lists, colours, styles and registration.
#include <algorithm>
#include <map>
#include <mutex>

#include "platform/user/winuser.h"
#include "platform/comctl/comctl_init.h"
#include "platform/comctl/header_state.h"
#include "platform/comctl/listview_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl {

namespace detail {
namespace {

// WM_GETDLGCODE answers (the dialog manager's values).
inline constexpr LRESULT kDlgcWantArrows = 0x0001, kDlgcWantChars = 0x0080;

struct ListViewTable {
    std::mutex m;
    std::map<HWND, std::shared_ptr<ListViewState>> states;
};

ListViewTable& Table()
{
    static ListViewTable* t = new ListViewTable; // never destroyed: controls may outlive statics
    return *t;
}

void ReleaseResources(ListViewState& s)
{
    const bool share = (s.style() & LVS_SHAREIMAGELISTS) != 0;
    if (!share) {
        for (HIMAGELIST* list : {&s.normalImages, &s.smallImages, &s.stateImages}) {
            if (*list && *list != s.ownCheckImages)
                ::ImageList_Destroy(*list);
            *list = nullptr;
        }
    }
    if (s.ownCheckImages)
        ::ImageList_Destroy(s.ownCheckImages);
    s.ownCheckImages = nullptr;
    // The font goes with the state object (~ListViewState): a paint that the window's
    // destruction interrupted may still hold it in its DC until the message returns.
}

void AddState(HWND hwnd)
{
    ListViewTable& t = Table();
    std::lock_guard lock(t.m);
    // States of windows that went away without WM_NCDESTROY (a test reset) go first.
    for (auto it = t.states.begin(); it != t.states.end();) {
        if (!::IsWindow(it->first)) {
            ReleaseResources(*it->second);
            it = t.states.erase(it);
        } else {
            ++it;
        }
    }
    auto s = std::make_shared<ListViewState>();
    s->self = hwnd;
    t.states[hwnd] = std::move(s);
}

void RemoveState(HWND hwnd)
{
    ListViewTable& t = Table();
    std::lock_guard lock(t.m);
    t.states.erase(hwnd);
}

void UseSystemFont(ListViewState& s)
{
    LOGFONTW lf{};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    HFONT font = ::CreateFontIndirectW(&lf);
    if (!font)
        return;
    if (s.font == s.ownFont)
        s.font = font;
    if (s.ownFont)
        ::DeleteObject(s.ownFont);
    s.ownFont = font;
}

void SetFont(ListViewState& s, HFONT font, bool redraw)
{
    s.font = font ? font : s.ownFont;
    ResetMeasures(s, true);
    s.ownerRowHeight = -1;
    if (s.header)
        ::SendMessageW(s.header, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), redraw);
    LayoutHeader(s);
    UpdateScrollBars(s);
    if (redraw)
        InvalidateAll(s);
}

LRESULT SetImageList(ListViewState& s, int which, HIMAGELIST list)
{
    HIMAGELIST* slot = which == LVSIL_NORMAL ? &s.normalImages
                       : which == LVSIL_SMALL ? &s.smallImages
                       : which == LVSIL_STATE ? &s.stateImages
                                              : nullptr;
    if (!slot)
        return 0;
    HIMAGELIST old = *slot;
    *slot = list;
    if (which == LVSIL_STATE && old == s.ownCheckImages && old && old != list) {
        // Our own check-box images go when someone else's list replaces them.
        ::ImageList_Destroy(old);
        s.ownCheckImages = nullptr;
        old = nullptr;
    }
    ResetMeasures(s, true);
    s.ownerRowHeight = -1;
    UpdateScrollBars(s);
    InvalidateAll(s);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT SetExtendedStyle(ListViewState& s, WPARAM mask, LPARAM style)
{
    const DWORD old = s.exStyle;
    const DWORD m = mask ? static_cast<DWORD>(mask) : 0xFFFFFFFFu;
    s.exStyle = (old & ~m) | (static_cast<DWORD>(style) & m);
    if ((old ^ s.exStyle) & LVS_EX_CHECKBOXES)
        UpdateCheckBoxes(s, old);
    if ((old ^ s.exStyle) & LVS_EX_INFOTIP)
        UpdateInfoTips(s);
    if ((old ^ s.exStyle) & LVS_EX_GRIDLINES)
        ResetMeasures(s, false);
    if (!(s.exStyle & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE | LVS_EX_UNDERLINEHOT)))
        s.hot = -1;
    UpdateScrollBars(s);
    InvalidateAll(s);
    return static_cast<LRESULT>(old);
}

// A change of the view or of the styles that shape the layout.
void OnStyleChanged(ListViewState& s, DWORD oldStyle, DWORD newStyle)
{
    const DWORD changed = oldStyle ^ newStyle;
    if (changed & LVS_OWNERDRAWFIXED)
        s.ownerRowHeight = -1;
    if (changed & (LVS_TYPEMASK | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_OWNERDRAWFIXED | LVS_ALIGNMASK |
                      LVS_NOLABELWRAP | LVS_NOSCROLL)) {
        if (changed & LVS_TYPEMASK) {
            s.topIndex = 0;
            s.scrollX = 0;
            s.origin = POINT{};
        }
        if (changed & LVS_NOSORTHEADER && s.header) {
            const LONG hs = ::GetWindowLongW(s.header, GWL_STYLE);
            ::SetWindowLongW(s.header, GWL_STYLE,
                (newStyle & LVS_NOSORTHEADER) ? (hs & ~static_cast<LONG>(HDS_BUTTONS)) : (hs | HDS_BUTTONS));
        }
        // Wrapped labels depend on LVS_NOLABELWRAP: their measures go too.
        ResetMeasures(s, (changed & LVS_NOLABELWRAP) != 0);
        LayoutHeader(s);
        UpdateScrollBars(s);
        InvalidateAll(s);
    }
}

LRESULT SetView(ListViewState& s, DWORD view)
{
    static constexpr DWORD kStyles[] = {LVS_ICON, LVS_REPORT, LVS_SMALLICON, LVS_LIST};
    if (view > LV_VIEW_LIST)
        return -1;
    const LONG style = ::GetWindowLongW(s.self, GWL_STYLE);
    ::SetWindowLongW(s.self, GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~LVS_TYPEMASK) | kStyles[view]));
    return 1;
}

LRESULT GetView(const ListViewState& s)
{
    switch (s.view()) {
    case View::Report:
        return LV_VIEW_DETAILS;
    case View::SmallIcon:
        return LV_VIEW_SMALLICON;
    case View::List:
        return LV_VIEW_LIST;
    default:
        return LV_VIEW_ICON;
    }
}

LRESULT SetIconSpacing(ListViewState& s, LPARAM lp)
{
    const SIZE old = IconSpacing(s);
    const int cx = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp)));
    const int cy = static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lp)));
    if (cx <= 0 && cy <= 0) {
        s.iconSpacing.reset();
    } else {
        SIZE next = IconSpacing(s);
        s.iconSpacing.reset();
        const SIZE def = IconSpacing(s);
        next.cx = cx > 0 ? cx : def.cx;
        next.cy = cy > 0 ? cy : def.cy;
        s.iconSpacing = next;
    }
    ResetMeasures(s, true); // labels wrap to the new width
    UpdateScrollBars(s);
    InvalidateAll(s);
    return MAKELONG(static_cast<WORD>(old.cx), static_cast<WORD>(old.cy));
}

LRESULT GetItemRectMessage(ListViewState& s, int index, RECT* rc)
{
    if (!rc)
        return FALSE;
    RECT out{};
    if (!ItemRect(s, index, rc->left, out))
        return FALSE;
    *rc = out;
    return TRUE;
}

LRESULT GetSubItemRectMessage(ListViewState& s, int index, RECT* rc)
{
    if (!rc)
        return FALSE;
    RECT out{};
    if (!SubItemRect(s, index, rc->top, rc->left, out))
        return FALSE;
    *rc = out;
    return TRUE;
}

LRESULT GetStringWidth(ListViewState& s, LPCWSTR text)
{
    if (!text)
        return 0;
    return MeasureText(s, text);
}

LRESULT RedrawItems(ListViewState& s, int first, int last)
{
    if (first > last)
        return FALSE;
    first = std::max(first, 0);
    last = std::min(last, s.count() - 1);
    int vf = 0, vl = -1;
    VisibleRange(s, ItemArea(s), vf, vl);
    // Only items that can be seen need painting; the rest are painted when they appear.
    for (int i = std::max(first, vf); i <= std::min(last, vl); ++i)
        InvalidateItem(s, i);
    return TRUE;
}

LRESULT SetItemCount(ListViewState& s, WPARAM count, LPARAM flags)
{
    // Far more rows than a process can hold is a caller's error, not a reason to abort.
    constexpr size_t kMaxItems = 100'000'000;
    const size_t n = static_cast<size_t>(count);
    if (n > kMaxItems)
        return FALSE;
    if (!(s.style() & LVS_OWNERDATA))
        return TRUE; // the items grow as they come; there is nothing to reserve
    if (s.edit)
        EndEdit(s, true);
    ListItem blank;
    blank.textCallback = true;
    blank.image = I_IMAGECALLBACK;
    if (n < s.items.size()) {
        for (size_t i = n; i < s.items.size(); ++i) {
            if (s.items[i].state & LVIS_SELECTED)
                --s.selectedCount;
        }
        s.items.resize(n);
        for (int* i : {&s.focused, &s.mark, &s.hot, &s.pendingEdit, &s.tipItem}) {
            if (*i >= s.count())
                *i = -1;
        }
    } else {
        s.items.resize(n, blank);
    }
    ++s.version;
    s.maxItemWidth = -1;
    UpdateScrollBars(s);
    if (!(flags & LVSICF_NOINVALIDATEALL))
        InvalidateAll(s);
    return TRUE;
}

bool HandleListViewMessage(ListViewState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r)
{
    r = 0;
    const int index = static_cast<int>(static_cast<intptr_t>(wp));
    switch (msg) {
    case LVM_GETBKCOLOR:
        r = BkColor(s);
        return true;
    case LVM_SETBKCOLOR:
        s.bkColor = static_cast<COLORREF>(lp);
        InvalidateAll(s);
        r = TRUE;
        return true;
    case LVM_GETTEXTCOLOR:
        r = TextColor(s);
        return true;
    case LVM_SETTEXTCOLOR:
        s.textColor = static_cast<COLORREF>(lp);
        InvalidateAll(s);
        r = TRUE;
        return true;
    case LVM_GETTEXTBKCOLOR:
        r = TextBkColor(s);
        return true;
    case LVM_SETTEXTBKCOLOR:
        s.textBkColor = static_cast<COLORREF>(lp);
        InvalidateAll(s);
        r = TRUE;
        return true;
    case LVM_GETIMAGELIST:
        r = reinterpret_cast<LRESULT>(index == LVSIL_NORMAL ? s.normalImages
                                      : index == LVSIL_SMALL ? s.smallImages
                                      : index == LVSIL_STATE ? s.stateImages
                                                             : nullptr);
        return true;
    case LVM_SETIMAGELIST:
        r = SetImageList(s, index, reinterpret_cast<HIMAGELIST>(lp));
        return true;
    case LVM_GETITEMCOUNT:
        r = s.count();
        return true;
    case LVM_INSERTITEMW:
        r = InsertItem(s, reinterpret_cast<const LVITEMW*>(lp));
        return true;
    case LVM_DELETEITEM:
        r = DeleteItem(s, index) ? TRUE : FALSE;
        return true;
    case LVM_DELETEALLITEMS:
        r = DeleteAllItems(s) ? TRUE : FALSE;
        return true;
    case LVM_GETITEMW:
        r = GetItem(s, reinterpret_cast<LVITEMW*>(lp));
        return true;
    case LVM_SETITEMW:
        r = SetItem(s, reinterpret_cast<const LVITEMW*>(lp)) ? TRUE : FALSE;
        return true;
    case LVM_GETITEMTEXTW:
        r = GetItemText(s, index, reinterpret_cast<LVITEMW*>(lp));
        return true;
    case LVM_SETITEMTEXTW: {
        const auto* in = reinterpret_cast<const LVITEMW*>(lp);
        if (!in) {
            r = FALSE;
            return true;
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.iSubItem = in->iSubItem;
        item.pszText = in->pszText;
        r = SetItem(s, &item) ? TRUE : FALSE;
        return true;
    }
    case LVM_SETITEMSTATE: {
        const auto* in = reinterpret_cast<const LVITEMW*>(lp);
        r = in && SetItemState(s, index, in->state, in->stateMask) ? TRUE : FALSE;
        return true;
    }
    case LVM_GETITEMSTATE:
        r = s.valid(index) ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].state & static_cast<UINT>(lp)) : 0;
        return true;
    case LVM_GETCALLBACKMASK:
        r = s.callbackMask;
        return true;
    case LVM_SETCALLBACKMASK:
        s.callbackMask = static_cast<UINT>(wp);
        r = TRUE;
        return true;
    case LVM_GETNEXTITEM:
        r = GetNextItem(s, index, static_cast<UINT>(LOWORD(static_cast<uintptr_t>(lp))));
        return true;
    case LVM_FINDITEMW:
        r = FindItem(s, index, reinterpret_cast<const LVFINDINFOW*>(lp));
        return true;
    case LVM_GETITEMRECT:
        r = GetItemRectMessage(s, index, reinterpret_cast<RECT*>(lp));
        return true;
    case LVM_GETSUBITEMRECT:
        r = GetSubItemRectMessage(s, index, reinterpret_cast<RECT*>(lp));
        return true;
    case LVM_SETITEMPOSITION:
        r = SetItemPosition(s, index, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) ? TRUE : FALSE;
        return true;
    case LVM_SETITEMPOSITION32:
        r = lp && SetItemPosition(s, index, *reinterpret_cast<const POINT*>(lp)) ? TRUE : FALSE;
        return true;
    case LVM_GETITEMPOSITION: {
        auto* pt = reinterpret_cast<POINT*>(lp);
        if (!pt || !s.valid(index)) {
            r = FALSE;
            return true;
        }
        *pt = ItemPosition(s, index);
        r = TRUE;
        return true;
    }
    case LVM_GETSTRINGWIDTHW:
        r = GetStringWidth(s, reinterpret_cast<LPCWSTR>(lp));
        return true;
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
        r = info ? HitTest(s, *info, msg == LVM_SUBITEMHITTEST) : -1;
        return true;
    }
    case LVM_ENSUREVISIBLE:
        r = EnsureVisible(s, index, lp != 0) ? TRUE : FALSE;
        return true;
    case LVM_SCROLL:
        r = Scroll(s, index, static_cast<int>(lp)) ? TRUE : FALSE;
        return true;
    case LVM_REDRAWITEMS:
        r = RedrawItems(s, index, static_cast<int>(lp));
        return true;
    case LVM_ARRANGE:
        r = Arrange(s, static_cast<UINT>(wp)) ? TRUE : FALSE;
        return true;
    case LVM_GETEDITCONTROL:
        r = reinterpret_cast<LRESULT>(s.edit);
        return true;
    case LVM_EDITLABELW:
        r = reinterpret_cast<LRESULT>(EditLabel(s, index));
        return true;
    case LVM_CANCELEDITLABEL:
        EndEdit(s, true);
        return true;
    case LVM_GETCOLUMNW:
        r = GetColumn(s, index, reinterpret_cast<LVCOLUMNW*>(lp)) ? TRUE : FALSE;
        return true;
    case LVM_SETCOLUMNW:
        r = SetColumn(s, index, reinterpret_cast<const LVCOLUMNW*>(lp)) ? TRUE : FALSE;
        return true;
    case LVM_INSERTCOLUMNW:
        r = InsertColumn(s, index, reinterpret_cast<const LVCOLUMNW*>(lp));
        return true;
    case LVM_DELETECOLUMN:
        r = DeleteColumn(s, index) ? TRUE : FALSE;
        return true;
    case LVM_GETCOLUMNWIDTH:
        r = GetColumnWidth(s, index);
        return true;
    case LVM_SETCOLUMNWIDTH:
        r = SetColumnWidth(s, index, static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp)))) ? TRUE : FALSE;
        return true;
    case LVM_GETCOLUMNORDERARRAY:
        r = s.header ? ::SendMessageW(s.header, HDM_GETORDERARRAY, wp, lp) : FALSE;
        return true;
    case LVM_SETCOLUMNORDERARRAY:
        r = s.header ? ::SendMessageW(s.header, HDM_SETORDERARRAY, wp, lp) : FALSE;
        s.columnOrder.clear(); // read again from the header
        InvalidateAll(s);
        return true;
    case LVM_GETHEADER:
        r = reinterpret_cast<LRESULT>(s.header);
        return true;
    case LVM_GETVIEWRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        if (!rc || (s.view() != View::Icon && s.view() != View::SmallIcon)) {
            r = FALSE;
            return true;
        }
        RECT v = ViewBounds(s);
        ::OffsetRect(&v, -s.origin.x, -s.origin.y);
        *rc = v;
        r = TRUE;
        return true;
    }
    case LVM_GETTOPINDEX:
        r = TopIndex(s);
        return true;
    case LVM_GETCOUNTPERPAGE:
        r = CountPerPage(s);
        return true;
    case LVM_GETORIGIN: {
        auto* pt = reinterpret_cast<POINT*>(lp);
        const bool iconic = s.view() == View::Icon || s.view() == View::SmallIcon;
        if (pt)
            *pt = iconic ? s.origin : POINT{};
        r = pt && iconic ? TRUE : FALSE;
        return true;
    }
    case LVM_UPDATE:
        if (!s.valid(index)) {
            r = FALSE;
            return true;
        }
        ResetMeasures(s, true);
        InvalidateItem(s, index);
        r = TRUE;
        return true;
    case LVM_SETITEMCOUNT:
        r = SetItemCount(s, wp, lp);
        return true;
    case LVM_SORTITEMS:
    case LVM_SORTITEMSEX:
        r = SortItems(s, reinterpret_cast<PFNLVCOMPARE>(lp), static_cast<LPARAM>(wp), msg == LVM_SORTITEMSEX) ? TRUE
                                                                                                            : FALSE;
        return true;
    case LVM_GETSELECTEDCOUNT:
        r = s.selectedCount;
        return true;
    case LVM_GETITEMSPACING: {
        SIZE sp = IconSpacing(s);
        if (wp)
            sp = SIZE{CellWidth(s), RowHeight(s)};
        r = MAKELONG(static_cast<WORD>(sp.cx), static_cast<WORD>(sp.cy));
        return true;
    }
    case LVM_SETICONSPACING:
        r = SetIconSpacing(s, lp);
        return true;
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        r = SetExtendedStyle(s, wp, lp);
        return true;
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        r = static_cast<LRESULT>(s.exStyle);
        return true;
    case LVM_SETHOTITEM:
        r = s.hot;
        if (s.hot != index) {
            InvalidateItem(s, s.hot);
            s.hot = s.valid(index) ? index : -1;
            InvalidateItem(s, s.hot);
        }
        return true;
    case LVM_GETHOTITEM:
        r = s.hot;
        return true;
    case LVM_GETSELECTIONMARK:
        r = s.mark;
        return true;
    case LVM_SETSELECTIONMARK:
        r = s.mark;
        s.mark = s.valid(static_cast<int>(lp)) ? static_cast<int>(lp) : -1;
        return true;
    case LVM_GETTOOLTIPS:
        r = reinterpret_cast<LRESULT>(s.toolTip);
        return true;
    case LVM_SETTOOLTIPS:
        r = reinterpret_cast<LRESULT>(s.toolTip);
        s.toolTip = reinterpret_cast<HWND>(wp);
        s.ownToolTip = false; // the old one is the caller's now
        return true;
    case LVM_GETISEARCHSTRINGW:
        if (lp) {
            std::wcscpy(reinterpret_cast<LPWSTR>(lp), s.search.c_str());
        }
        r = static_cast<LRESULT>(s.search.size());
        return true;
    case LVM_SETVIEW:
        r = SetView(s, static_cast<DWORD>(wp));
        return true;
    case LVM_GETVIEW:
        r = GetView(s);
        return true;
    case LVM_ISITEMVISIBLE: {
        RECT rc{}, area = ItemArea(s), both{};
        r = ItemRect(s, index, LVIR_BOUNDS, rc) && ::IntersectRect(&both, &rc, &area) ? TRUE : FALSE;
        return true;
    }
    case LVM_CREATEDRAGIMAGE:
        r = 0; // no drag image: callers draw their own
        return true;
    default:
        return false;
    }
}

void OnCreate(ListViewState& s, const CREATESTRUCTW* cs)
{
    s.ansiParent = NotifyWindowWantsAnsi(s.self, NF_QUERY);
    UseSystemFont(s);
    s.font = s.ownFont;
    DWORD headerStyle = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
    if (!(static_cast<DWORD>(cs->style) & LVS_NOSORTHEADER))
        headerStyle |= HDS_BUTTONS;
    // The header is the list's own part: its creation is no news to the list's parent.
    s.header = ::CreateWindowExW(WS_EX_NOPARENTNOTIFY, WC_HEADERW, nullptr, headerStyle, 0, 0, 0, 0, s.self, nullptr,
        cs->hInstance, nullptr);
    if (s.header)
        ::SendMessageW(s.header, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    LayoutHeader(s);
}

LRESULT ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE)
        AddState(hwnd);
    const std::shared_ptr<ListViewState> sp = ListViewStateOf(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    ListViewState& s = *sp;
    LRESULT r = 0;
    if (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100 && HandleListViewMessage(s, msg, wp, lp, r))
        return r;
    switch (msg) {
    case WM_CREATE:
        OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp));
        return 0;
    case WM_DESTROY:
        EndEdit(s, true);
        DeleteAllItems(s);
        if (s.ownToolTip && s.toolTip && ::IsWindow(s.toolTip))
            ::DestroyWindow(s.toolTip);
        s.toolTip = nullptr;
        s.ownToolTip = false;
        return 0;
    case WM_NCDESTROY:
        s.destroyed = true;
        ReleaseResources(s);
        RemoveState(hwnd);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (!wp)
            s.allInvalid = false; // BeginPaint takes the whole update region
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : ::BeginPaint(hwnd, &ps);
        if (dc) {
            RECT area{};
            if (wp)
                ::GetClientRect(hwnd, &area);
            else
                area = ps.rcPaint;
            if (s.scrollDirty)
                UpdateScrollBars(s);
            Paint(s, dc, area);
        }
        if (!wp)
            ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT area{};
        ::GetClientRect(hwnd, &area);
        HDC dc = reinterpret_cast<HDC>(wp);
        if (static_cast<DWORD>(lp) & PRF_ERASEBKGND)
            EraseBackground(s, dc);
        Paint(s, dc, area);
        return 0;
    }
    case WM_ERASEBKGND:
        EraseBackground(s, reinterpret_cast<HDC>(wp));
        return 1;
    case WM_NCPAINT:
        s.barPending[0] = s.barPending[1] = false;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SETFONT:
        SetFont(s, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETREDRAW:
        s.redraw = wp != 0;
        if (s.redraw) {
            UpdateScrollBars(s);
            s.allInvalid = false;
            InvalidateAll(s);
        }
        return 0;
    case WM_SIZE:
        if (!s.updatingScroll) {
            LayoutHeader(s);
            UpdateScrollBars(s);
        }
        InvalidateAll(s);
        return 0;
    case WM_STYLECHANGED:
        if (wp == static_cast<WPARAM>(GWL_STYLE)) {
            const auto* ss = reinterpret_cast<const STYLESTRUCT*>(lp);
            OnStyleChanged(s, ss->styleOld, ss->styleNew);
        }
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        OnScroll(s, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, wp);
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(s, GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        OnButtonDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK,
            msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK, wp);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_RBUTTONUP:
        // The menu request was made (or not) when the press ended in a click; a right drag
        // asks for none.
        return 0;
    case WM_MOUSELEAVE:
        OnMouseMove(s, POINT{-1, -1});
        return 0;
    case WM_TIMER:
        if (wp == kEditTimer) {
            ::KillTimer(hwnd, kEditTimer);
            const int item = s.pendingEdit;
            s.pendingEdit = -1;
            if (s.valid(item) && ::GetFocus() == hwnd)
                EditLabel(s, item);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_KEYDOWN:
        OnKeyDown(s, wp, lp);
        return 0;
    case WM_CHAR:
        OnChar(s, static_cast<wchar_t>(wp));
        return 0;
    case WM_GETDLGCODE:
        return kDlgcWantArrows | kDlgcWantChars;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        NMHDR hdr{};
        Notify(s, hdr, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        if (s.destroyed)
            return 0;
        // Selected items look different with and without the focus.
        int first = 0, last = -1;
        VisibleRange(s, ItemArea(s), first, last);
        for (int i = first; i <= last; ++i) {
            if (s.items[static_cast<size_t>(i)].state & (LVIS_SELECTED | LVIS_FOCUSED))
                InvalidateItem(s, i);
        }
        return 0;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (!hdr)
            return 0;
        if (hdr->hwndFrom && hdr->hwndFrom == s.header)
            return OnHeaderNotify(s, hdr);
        if (hdr->hwndFrom && hdr->hwndFrom == s.toolTip)
            return OnToolTipNotify(s, hdr);
        return 0;
    }
    case WM_COMMAND:
        // The label editor's notifications; the parent does not need them.
        return 0;
    case WM_CANCELMODE:
        if (s.edit)
            EndEdit(s, true);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SYSCOLORCHANGE:
        InvalidateAll(s);
        return 0;
    case WM_SETTINGCHANGE:
        if (s.font == s.ownFont) {
            UseSystemFont(s);
            SetFont(s, nullptr, true);
        }
        return 0;
    case WM_NOTIFYFORMAT:
        if (lp == NF_REQUERY)
            s.ansiParent = NotifyWindowWantsAnsi(s.self, NF_QUERY);
        return NFR_UNICODE;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

ListViewState::~ListViewState()
{
    if (ownFont)
        ::DeleteObject(ownFont);
}

View ListViewState::view() const
{
    switch (style() & LVS_TYPEMASK) {
    case LVS_REPORT:
        return View::Report;
    case LVS_SMALLICON:
        return View::SmallIcon;
    case LVS_LIST:
        return View::List;
    default:
        return View::Icon;
    }
}

DWORD ListViewState::style() const { return static_cast<DWORD>(::GetWindowLongW(self, GWL_STYLE)); }

std::shared_ptr<ListViewState> ListViewStateOf(HWND hwnd)
{
    ListViewTable& t = Table();
    std::lock_guard lock(t.m);
    const auto it = t.states.find(hwnd);
    return it == t.states.end() ? nullptr : it->second;
}

} // namespace detail

size_t LiveListViewCount()
{
    detail::ListViewTable& t = detail::Table();
    std::lock_guard lock(t.m);
    return static_cast<size_t>(
        std::count_if(t.states.begin(), t.states.end(), [](const auto& kv) { return ::IsWindow(kv.first); }));
}

BOOL RegisterListViewClass()
{
    const BOOL header = RegisterHeaderClass();
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, WC_LISTVIEWW, &have) && have.lpfnWndProc == &detail::ListViewProc)
        return header;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &detail::ListViewProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_LISTVIEWW;
    return zyn::user::RegisterSystemClass(wc) && header ? TRUE : FALSE;
}

namespace {
// The list view and its header arrive with the ICC_LISTVIEW_CLASSES set.
struct ListViewInstaller {
    ListViewInstaller() { AddClassRegistration(ICC_LISTVIEW_CLASSES, &RegisterListViewClass); }
};
const ListViewInstaller g_listViewInstaller;
} // namespace

} // namespace zyn::comctl
