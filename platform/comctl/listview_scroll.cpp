// The list view's scrolling: the scroll position of each view (report rows and pixels,
// list columns, icon-view origin) kept inside its range, LVM_ENSUREVISIBLE and LVM_SCROLL,
// the window's scroll bars (set at every change, drawn with the next paint), the scroll
// bars' own messages and the mouse wheel.
#include <algorithm>

#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::comctl::detail {

namespace {

RECT ClientRect(const ListViewState& s)
{
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    return rc;
}

int ClampInt(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

int MaxTopIndex(ListViewState& s) { return std::max(0, s.count() - std::max(1, CountPerPage(s))); }

int ColumnsInList(ListViewState& s)
{
    const int rows = RowsPerColumn(s);
    return (s.count() + rows - 1) / rows;
}

// The range the icon views' origin may take on one axis.
void OriginRange(int viewLo, int viewHi, int page, int& lo, int& hi)
{
    lo = std::min(viewLo, 0);
    hi = std::max(lo, viewHi - page);
}

// Moves the scroll position of the view to a clamped value and repaints what moved.
void ScrollToPosition(ListViewState& s, int top, int x, POINT origin)
{
    bool moved = false;
    switch (s.view()) {
    case View::Report: {
        top = ClampInt(top, 0, MaxTopIndex(s));
        x = ClampInt(x, 0, std::max(0, TotalColumnWidth(s) - static_cast<int>(ClientRect(s).right)));
        moved = top != s.topIndex || x != s.scrollX;
        const bool horizontal = x != s.scrollX;
        s.topIndex = top;
        s.scrollX = x;
        if (horizontal)
            LayoutHeader(s);
        break;
    }
    case View::List:
        x = ClampInt(x, 0, std::max(0, ColumnsInList(s) - VisibleListColumns(s)));
        moved = x != s.scrollX;
        s.scrollX = x;
        break;
    default: {
        const RECT view = ViewBounds(s), client = ClientRect(s);
        int lo = 0, hi = 0;
        OriginRange(view.left, view.right, client.right, lo, hi);
        origin.x = ClampInt(origin.x, lo, hi);
        OriginRange(view.top, view.bottom, client.bottom, lo, hi);
        origin.y = ClampInt(origin.y, lo, hi);
        moved = origin.x != s.origin.x || origin.y != s.origin.y;
        s.origin = origin;
        break;
    }
    }
    if (moved) {
        if (s.edit)
            EndEdit(s, false);
        InvalidateAll(s);
        UpdateScrollBars(s);
    }
}

void SetBar(ListViewState& s, int bar, int lo, int hi, int page, int pos)
{
    const int want[4] = {lo, hi, page, pos};
    if (s.haveBar[bar] && std::equal(want, want + 4, s.lastBar[bar]))
        return;
    std::copy(want, want + 4, s.lastBar[bar]);
    s.haveBar[bar] = true;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = lo;
    si.nMax = std::max(lo, hi);
    si.nPage = static_cast<UINT>(std::max(0, page));
    si.nPos = pos;
    // The bar is drawn with the next paint rather than now: a thousand insertions in a row
    // move it a thousand times and show it once.
    const DWORD before = static_cast<DWORD>(::GetWindowLongW(s.self, GWL_STYLE));
    ::SetScrollInfo(s.self, bar, &si, FALSE);
    const DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!s.barPending[bar] && (before & bit) && (static_cast<DWORD>(::GetWindowLongW(s.self, GWL_STYLE)) & bit) &&
        ::IsWindowVisible(s.self)) {
        s.barPending[bar] = true; // until the next WM_NCPAINT draws it
        RECT client{};
        ::GetClientRect(s.self, &client);
        RECT area = bar == SB_VERT
                        ? RECT{client.right, client.top, client.right + ::GetSystemMetrics(SM_CXVSCROLL), client.bottom}
                        : RECT{client.left, client.bottom, client.right, client.bottom + ::GetSystemMetrics(SM_CYHSCROLL)};
        ::RedrawWindow(s.self, &area, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
}

} // namespace

bool EnsureVisible(ListViewState& s, int index, bool partialOk)
{
    if (!s.valid(index))
        return false;
    switch (s.view()) {
    case View::Report: {
        const RECT area = ItemArea(s);
        const int h = RowHeight(s);
        const int top = Saturate(int64_t{area.top} + int64_t{index - s.topIndex} * h);
        int next = s.topIndex;
        if (index < s.topIndex) {
            next = index;
        } else if (top + h > area.bottom) {
            if (partialOk && top < area.bottom)
                return true;
            next = index - std::max(1, CountPerPage(s)) + 1;
        }
        ScrollToPosition(s, next, s.scrollX, s.origin);
        return true;
    }
    case View::List: {
        const int column = index / RowsPerColumn(s);
        const int visible = VisibleListColumns(s);
        int next = s.scrollX;
        if (column < s.scrollX)
            next = column;
        else if (column >= s.scrollX + visible)
            next = column - visible + 1;
        ScrollToPosition(s, s.topIndex, next, s.origin);
        return true;
    }
    default: {
        RECT rc{};
        ItemRect(s, index, LVIR_BOUNDS, rc);
        const RECT client = ClientRect(s);
        RECT both{};
        if (partialOk && ::IntersectRect(&both, &rc, &client))
            return true;
        int64_t x = s.origin.x, y = s.origin.y;
        if (rc.right > client.right)
            x += std::min(rc.right - client.right, rc.left - client.left);
        if (rc.left < client.left)
            x += rc.left - client.left;
        if (rc.bottom > client.bottom)
            y += std::min(rc.bottom - client.bottom, rc.top - client.top);
        if (rc.top < client.top)
            y += rc.top - client.top;
        ScrollToPosition(s, s.topIndex, s.scrollX, POINT{Saturate(x), Saturate(y)});
        return true;
    }
    }
}

bool Scroll(ListViewState& s, int dx, int dy)
{
    // Any amounts: the sums are taken in 64 bits and the position is clamped to its range.
    switch (s.view()) {
    case View::Report: {
        // Vertically only whole rows: dy is rounded to the nearest number of rows.
        const int64_t h = RowHeight(s);
        const int64_t rows = dy >= 0 ? (int64_t{dy} + h / 2) / h : -((-int64_t{dy} + h / 2) / h);
        ScrollToPosition(s, Saturate(s.topIndex + rows), Saturate(int64_t{s.scrollX} + dx), s.origin);
        return true;
    }
    case View::List: {
        const int64_t w = CellWidth(s);
        const int64_t columns = dx >= 0 ? (int64_t{dx} + w / 2) / w : -((-int64_t{dx} + w / 2) / w);
        ScrollToPosition(s, s.topIndex, Saturate(s.scrollX + columns), s.origin);
        return true;
    }
    default:
        ScrollToPosition(s, s.topIndex, s.scrollX,
            POINT{Saturate(int64_t{s.origin.x} + dx), Saturate(int64_t{s.origin.y} + dy)});
        return true;
    }
}

void UpdateScrollBars(ListViewState& s)
{
    if (s.destroyed)
        return;
    if (!s.redraw) {
        s.scrollDirty = true;
        return;
    }
    s.scrollDirty = false;
    if (s.updatingScroll)
        return;
    ++s.updatingScroll;
    // Showing or hiding one bar changes the client size and so the other bar: a few rounds
    // settle it.
    for (int round = 0; round < 3 && !s.destroyed; ++round) {
        const RECT before = ClientRect(s);
        if (s.style() & LVS_NOSCROLL) {
            SetBar(s, SB_VERT, 0, 0, 0, 0);
            SetBar(s, SB_HORZ, 0, 0, 0, 0);
        } else {
            switch (s.view()) {
            case View::Report: {
                s.topIndex = ClampInt(s.topIndex, 0, MaxTopIndex(s));
                const int total = TotalColumnWidth(s);
                s.scrollX = ClampInt(s.scrollX, 0, std::max(0, total - static_cast<int>(before.right)));
                SetBar(s, SB_VERT, 0, s.count() - 1, CountPerPage(s), s.topIndex);
                SetBar(s, SB_HORZ, 0, total - 1, before.right, s.scrollX);
                break;
            }
            case View::List: {
                const int columns = ColumnsInList(s);
                s.scrollX = ClampInt(s.scrollX, 0, std::max(0, columns - VisibleListColumns(s)));
                SetBar(s, SB_VERT, 0, 0, 0, 0);
                SetBar(s, SB_HORZ, 0, columns - 1, VisibleListColumns(s), s.scrollX);
                break;
            }
            default: {
                const RECT view = ViewBounds(s);
                int lo = 0, hi = 0;
                OriginRange(view.left, view.right, before.right, lo, hi);
                s.origin.x = ClampInt(s.origin.x, lo, hi);
                SetBar(s, SB_HORZ, lo, std::max(lo, static_cast<int>(view.right)) - 1, before.right, s.origin.x);
                OriginRange(view.top, view.bottom, before.bottom, lo, hi);
                s.origin.y = ClampInt(s.origin.y, lo, hi);
                SetBar(s, SB_VERT, lo, std::max(lo, static_cast<int>(view.bottom)) - 1, before.bottom, s.origin.y);
                break;
            }
            }
        }
        const RECT after = ClientRect(s);
        if (::EqualRect(&before, &after))
            break;
        // The client changed: what depends on its size is worked out again.
        LayoutHeader(s);
        InvalidateAll(s);
    }
    --s.updatingScroll;
}

void OnScroll(ListViewState& s, int bar, WPARAM wp)
{
    const WORD code = LOWORD(wp);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(s.self, bar, &si);
    const RECT client = ClientRect(s);
    const int h = LineHeight(s);
    int line = h, page = bar == SB_VERT ? client.bottom : client.right;
    if (s.view() == View::Report && bar == SB_VERT) {
        line = 1;
        page = std::max(1, CountPerPage(s));
    } else if (s.view() == View::List) {
        line = 1;
        page = VisibleListColumns(s);
    }
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The message carries 16 bits of the position; longer ranges read the bar's own
        // tracking position.
        pos = si.nMax <= 0xFFFF ? static_cast<int>(HIWORD(wp)) : si.nTrackPos;
        break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    switch (s.view()) {
    case View::Report:
        if (bar == SB_VERT)
            ScrollToPosition(s, pos, s.scrollX, s.origin);
        else
            ScrollToPosition(s, s.topIndex, pos, s.origin);
        return;
    case View::List:
        if (bar == SB_HORZ)
            ScrollToPosition(s, s.topIndex, pos, s.origin);
        return;
    default: {
        POINT origin = s.origin;
        (bar == SB_VERT ? origin.y : origin.x) = pos;
        ScrollToPosition(s, s.topIndex, s.scrollX, origin);
        return;
    }
    }
}

void OnWheel(ListViewState& s, int delta)
{
    s.wheelRemainder += delta;
    const int notches = s.wheelRemainder / WHEEL_DELTA;
    s.wheelRemainder -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int steps = -notches * static_cast<int>(lines);
    switch (s.view()) {
    case View::Report:
        ScrollToPosition(s, s.topIndex + steps, s.scrollX, s.origin);
        return;
    case View::List:
        ScrollToPosition(s, s.topIndex, s.scrollX - notches, s.origin);
        return;
    default:
        ScrollToPosition(s, s.topIndex, s.scrollX, POINT{s.origin.x, s.origin.y + steps * LineHeight(s)});
        return;
    }
}

} // namespace zyn::comctl::detail
