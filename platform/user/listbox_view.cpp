// A list box's geometry (item rectangles in one column, several columns or variable
// heights), scrolling, painting and owner-drawn items.
#include <algorithm>

#include "platform/gdi/sysmetrics.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/listbox.h"
#include "platform/user/listbox_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

RECT Client(const ListState& s)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    return rc;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int Columns(const ListState& s)
{
    const int rows = RowsPerColumn(s);
    return (s.Count() + rows - 1) / rows;
}

int VisibleColumns(const ListState& s)
{
    const RECT rc = Client(s);
    return std::max(1, static_cast<int>(rc.right - rc.left) / std::max(1, s.columnWidth));
}

thread_local bool t_inScrollUpdate = false;
thread_local bool t_inIntegral = false;

} // namespace

int ItemHeightOf(const ListState& s, int i)
{
    if (s.Variable() && s.Valid(i))
        return std::max(1, s.items[static_cast<size_t>(i)].height);
    return std::max(1, s.itemHeight);
}

int RowsPerColumn(const ListState& s)
{
    const RECT rc = Client(s);
    return std::max(1, static_cast<int>(rc.bottom - rc.top) / std::max(1, s.itemHeight));
}

int FullyVisible(const ListState& s)
{
    const RECT rc = Client(s);
    const int height = rc.bottom - rc.top;
    if (s.MultiColumn())
        return RowsPerColumn(s) * VisibleColumns(s);
    if (!s.Variable())
        return std::max(1, height / std::max(1, s.itemHeight));
    int n = 0, y = 0;
    for (int i = s.top; i < s.Count(); ++i) {
        y += ItemHeightOf(s, i);
        if (y > height)
            break;
        ++n;
    }
    return std::max(1, n);
}

int MaxTop(const ListState& s)
{
    if (s.Count() == 0)
        return 0;
    if (s.MultiColumn())
        return std::max(0, Columns(s) - VisibleColumns(s)) * RowsPerColumn(s);
    const RECT rc = Client(s);
    const int height = rc.bottom - rc.top;
    if (!s.Variable())
        return std::max(0, s.Count() - std::max(1, height / std::max(1, s.itemHeight)));
    int top = s.Count(), y = 0;
    while (top > 0 && y + ItemHeightOf(s, top - 1) <= height) {
        y += ItemHeightOf(s, top - 1);
        --top;
    }
    return std::min(top, s.Count() - 1);
}

bool ItemRect(const ListState& s, int i, RECT* out)
{
    const RECT client = Client(s);
    RECT rc{};
    if (s.MultiColumn()) {
        const int rows = RowsPerColumn(s);
        const int rel = i - s.top;
        const int col = FloorDiv(rel, rows);
        const int row = rel - col * rows;
        rc = RECT{col * s.columnWidth, row * s.itemHeight, (col + 1) * s.columnWidth, (row + 1) * s.itemHeight};
    } else {
        int y = 0;
        if (s.Variable()) {
            if (i >= s.top)
                for (int j = s.top; j < i; ++j)
                    y += ItemHeightOf(s, j);
            else
                for (int j = i; j < s.top; ++j)
                    y -= ItemHeightOf(s, j);
        } else {
            y = (i - s.top) * s.itemHeight;
        }
        const int width = std::max<int>(client.right, s.horizExtent);
        rc = RECT{-s.xOffset, y, width - s.xOffset, y + ItemHeightOf(s, i)};
    }
    *out = rc;
    RECT tmp{};
    return IntersectRect(&tmp, &rc, &client) != FALSE;
}

int ItemAt(const ListState& s, POINT pt, bool nearest)
{
    const int n = s.Count();
    if (n == 0)
        return -1;
    int i;
    if (s.MultiColumn()) {
        const int rows = RowsPerColumn(s);
        int row = FloorDiv(pt.y, std::max(1, s.itemHeight));
        if (row < 0 || row >= rows) {
            if (!nearest)
                return -1;
            row = std::clamp(row, 0, rows - 1);
        }
        i = s.top + FloorDiv(pt.x, std::max(1, s.columnWidth)) * rows + row;
    } else if (!s.Variable()) {
        i = s.top + FloorDiv(pt.y, std::max(1, s.itemHeight));
    } else {
        i = s.top;
        int y = 0;
        if (pt.y < 0) {
            while (i > 0 && y > pt.y) {
                --i;
                y -= ItemHeightOf(s, i);
            }
            if (y > pt.y)
                i = -1;
        } else {
            while (i < n && y + ItemHeightOf(s, i) <= pt.y) {
                y += ItemHeightOf(s, i);
                ++i;
            }
        }
    }
    if (i < 0 || i >= n)
        return nearest ? std::clamp(i, 0, n - 1) : -1;
    return i;
}

void SetTop(ListState& s, int top)
{
    top = std::clamp(top, 0, MaxTop(s));
    if (s.MultiColumn())
        top = top / RowsPerColumn(s) * RowsPerColumn(s);
    if (top != s.top) {
        s.top = top;
        InvalidateList(s);
    }
    UpdateListScrollBars(s);
}

void ShowItem(ListState& s, int i, bool partialOk)
{
    if (!s.Valid(i))
        return;
    if (s.MultiColumn()) {
        const int rows = RowsPerColumn(s);
        const int col = i / rows, topCol = s.top / rows, vis = VisibleColumns(s);
        if (col < topCol)
            SetTop(s, col * rows);
        else if (col >= topCol + vis)
            SetTop(s, (col - vis + 1) * rows);
        return;
    }
    if (i < s.top) {
        SetTop(s, i);
        return;
    }
    const RECT client = Client(s);
    RECT rc{};
    ItemRect(s, i, &rc);
    if (rc.bottom <= client.bottom || (partialOk && rc.top < client.bottom))
        return;
    // Make `i` the last wholly visible item.
    int top = i, y = ItemHeightOf(s, i);
    while (top > 0 && y + ItemHeightOf(s, top - 1) <= client.bottom) {
        --top;
        y += ItemHeightOf(s, top);
    }
    SetTop(s, top);
}

void UpdateListScrollBars(ListState& s)
{
    if (t_inScrollUpdate)
        return;
    t_inScrollUpdate = true;
    const UINT keep = (s.style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
    if (s.hasVScroll && !s.MultiColumn()) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, std::max(0, s.Count() - 1),
            static_cast<UINT>(FullyVisible(s)), s.top, 0};
        SetScrollInfo(s.hwnd, SB_VERT, &si, TRUE);
    }
    if (s.hasHScroll) {
        const RECT rc = Client(s);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, 0, 0, 0, 0};
        if (s.MultiColumn()) {
            si.nMax = std::max(0, Columns(s) - 1);
            si.nPage = static_cast<UINT>(VisibleColumns(s));
            si.nPos = s.top / RowsPerColumn(s);
        } else {
            si.nMax = std::max(0, s.horizExtent - 1);
            si.nPage = static_cast<UINT>(std::max<LONG>(1, rc.right - rc.left));
            si.nPos = s.xOffset;
        }
        SetScrollInfo(s.hwnd, SB_HORZ, &si, TRUE);
    }
    t_inScrollUpdate = false;
}

void InvalidateItem(ListState& s, int i)
{
    if (s.noRedraw || !s.Valid(i))
        return;
    RECT rc{};
    if (ItemRect(s, i, &rc))
        InvalidateRect(s.hwnd, &rc, FALSE);
}

void InvalidateList(ListState& s)
{
    if (!s.noRedraw)
        InvalidateRect(s.hwnd, nullptr, FALSE);
}

void MeasureItem(ListState& s, int index)
{
    if (!s.owner)
        return;
    const RECT rc = Client(s);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = s.ctlType;
    mis.CtlID = s.ctlId;
    mis.itemID = static_cast<UINT>(index);
    mis.itemWidth = static_cast<UINT>(std::max<LONG>(0, rc.right - rc.left));
    mis.itemHeight = static_cast<UINT>(std::max(1, s.Variable() ? s.itemHeight : s.fi.height));
    if (s.Variable() && s.Valid(index))
        mis.itemData = s.items[static_cast<size_t>(index)].data;
    SendMessageW(s.owner, WM_MEASUREITEM, s.ctlId, reinterpret_cast<LPARAM>(&mis));
    const int h = static_cast<int>(std::clamp<UINT>(mis.itemHeight, 1, 0x7FFF));
    if (s.Variable() && s.Valid(index))
        s.items[static_cast<size_t>(index)].height = h;
    else if (!s.Variable())
        s.itemHeight = h;
}

void AdjustIntegralHeight(ListState& s)
{
    if ((s.style & LBS_NOINTEGRALHEIGHT) || s.Variable() || s.combo || t_inIntegral)
        return;
    RECT client = Client(s), win{};
    GetWindowRect(s.hwnd, &win);
    const int height = client.bottom - client.top;
    const int rem = height % std::max(1, s.itemHeight);
    if (rem == 0 || height <= s.itemHeight)
        return;
    t_inIntegral = true;
    SetWindowPos(s.hwnd, nullptr, 0, 0, win.right - win.left, win.bottom - win.top - rem,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    t_inIntegral = false;
}

void OnListScroll(ListState& s, bool vertical, WORD code)
{
    const bool columns = s.MultiColumn() && !vertical;
    if (vertical && s.MultiColumn())
        return;
    if (vertical || columns) {
        const int unit = columns ? RowsPerColumn(s) : 1;
        const int page = columns ? VisibleColumns(s) * unit : std::max(1, FullyVisible(s) - 1);
        int top = s.top;
        switch (code) {
        case SB_LINEUP: top -= unit; break;
        case SB_LINEDOWN: top += unit; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = s.Count(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            if (GetScrollInfo(s.hwnd, vertical ? SB_VERT : SB_HORZ, &si))
                top = si.nTrackPos * unit;
            break;
        }
        default: return;
        }
        SetTop(s, top);
        return;
    }
    const RECT rc = Client(s);
    const int width = std::max<LONG>(1, rc.right - rc.left);
    int x = s.xOffset;
    switch (code) {
    case SB_LINELEFT: x -= std::max(1, s.fi.aveWidth); break;
    case SB_LINERIGHT: x += std::max(1, s.fi.aveWidth); break;
    case SB_PAGELEFT: x -= width; break;
    case SB_PAGERIGHT: x += width; break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = s.horizExtent; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(s.hwnd, SB_HORZ, &si))
            x = si.nTrackPos;
        break;
    }
    default: return;
    }
    x = std::clamp(x, 0, std::max(0, s.horizExtent - width));
    if (x != s.xOffset) {
        s.xOffset = x;
        InvalidateList(s);
    }
    UpdateListScrollBars(s);
}

namespace {

void DrawOwnerItem(ListState& s, HDC dc, int i, const RECT& rc, UINT action, UINT state)
{
    if (!s.owner)
        return;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = s.ctlType;
    dis.CtlID = s.ctlId;
    dis.itemID = static_cast<UINT>(i);
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = s.itemHwnd;
    dis.hDC = dc;
    dis.rcItem = rc;
    dis.itemData = s.Valid(i) ? s.items[static_cast<size_t>(i)].data : 0;
    const int saved = SaveDC(dc);
    SendMessageW(s.owner, WM_DRAWITEM, s.ctlId, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(dc, saved);
}

void DrawTextItem(ListState& s, HDC dc, int i, const RECT& rc, COLORREF textColor, bool selected)
{
    if (selected) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(dc, textColor);
    }
    const std::wstring& text = s.items[static_cast<size_t>(i)].text;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    if (s.style & LBS_USETABSTOPS) {
        std::vector<INT> stops;
        const int unit = std::max(1, s.fi.baseUnitX);
        for (int dlu : s.tabStopsDlu)
            stops.push_back(dlu * unit / 4);
        if (stops.empty())
            stops.push_back(32 * unit / 4);
        TabbedTextOutW(dc, rc.left + 2, rc.top, text.c_str(), static_cast<int>(text.size()),
            static_cast<int>(stops.size()), stops.data(), rc.left + 2);
    } else {
        ExtTextOutW(dc, rc.left + 2, rc.top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
    RestoreDC(dc, saved);
}

} // namespace

void PaintList(ListState& s, HDC dc, const RECT& area)
{
    const LONG_PTR style = GetWindowLongPtrW(s.hwnd, GWL_STYLE);
    const bool disabled = (style & WS_DISABLED) != 0;
    HBRUSH brush = CtlColor(s.hwnd, dc, WM_CTLCOLORLISTBOX, s.combo ? s.combo : nullptr);
    if (!IsWindow(s.hwnd))
        return;
    const RECT client = Client(s);
    RECT fill{};
    if (IntersectRect(&fill, &client, &area))
        FillRect(dc, &fill, brush);
    const COLORREF textColor = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
    SetBkMode(dc, TRANSPARENT);
    const bool showFocus = s.focused && !s.combo;
    if (s.Count() == 0) {
        if (showFocus && s.OwnerDraw()) {
            RECT rc{};
            ItemRect(s, 0, &rc);
            DrawOwnerItem(s, dc, -1, rc, ODA_FOCUS, ODS_FOCUS);
        }
        return;
    }
    for (int i = s.top; i < s.Count(); ++i) {
        RECT rc{};
        const bool visible = ItemRect(s, i, &rc);
        if (!visible) {
            if (rc.top >= client.bottom && (!s.MultiColumn() || rc.left >= client.right))
                break;
            continue;
        }
        RECT tmp{};
        if (!IntersectRect(&tmp, &rc, &area))
            continue;
        const bool selected = s.IsSelected(i);
        const bool focusHere = showFocus && i == s.caret;
        if (s.OwnerDraw()) {
            UINT state = 0;
            if (selected)
                state |= ODS_SELECTED;
            if (focusHere)
                state |= ODS_FOCUS;
            if (disabled)
                state |= ODS_DISABLED;
            DrawOwnerItem(s, dc, i, rc, ODA_DRAWENTIRE, state);
            if (!IsWindow(s.hwnd))
                return;
        } else {
            DrawTextItem(s, dc, i, rc, textColor, selected);
            if (focusHere)
                DrawFocusRect(dc, &rc);
        }
    }
}

} // namespace zyn::user::ctl
