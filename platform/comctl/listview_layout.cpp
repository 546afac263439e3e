// The list view's geometry: measures, item rectangles in every view, positions in the
// icon views, hit testing and the visible range (scrolling is listview_scroll.cpp). Everything
// is worked out from the item's index, the cached measures and the scroll position, so
// an item costs nothing until it is asked about or painted.
#include <algorithm>
#include <cstdlib>

#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

// A screen DC with the control's font selected, for measuring.
class MeasureDc {
public:
    explicit MeasureDc(const ListViewState& s) : m_dc(::GetDC(nullptr))
    {
        m_old = ::SelectObject(m_dc, s.font ? s.font : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~MeasureDc()
    {
        ::SelectObject(m_dc, m_old);
        ::ReleaseDC(nullptr, m_dc);
    }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

struct Parts {
    RECT bounds{}, icon{}, label{}, state{}, select{};
};

SIZE ListSize(HIMAGELIST list)
{
    int cx = 0, cy = 0;
    if (!list || !::ImageList_GetIconSize(list, &cx, &cy))
        return SIZE{0, 0};
    return SIZE{cx, cy};
}

bool Iconic(const ListViewState& s) { return s.view() == View::Icon || s.view() == View::SmallIcon; }

SIZE CellSize(ListViewState& s)
{
    if (s.view() == View::Icon)
        return IconSpacing(s);
    return SIZE{CellWidth(s), RowHeight(s)};
}

RECT ClientRect(const ListViewState& s)
{
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    return rc;
}

// The cell of index k in the arrangement of the icon views (view coordinates).
POINT SlotPosition(ListViewState& s, int k)
{
    const SIZE cell = CellSize(s);
    const RECT client = ClientRect(s);
    if (s.style() & LVS_ALIGNLEFT) {
        const int perColumn = std::max(1, static_cast<int>(client.bottom) / std::max(1, static_cast<int>(cell.cy)));
        return POINT{Saturate(int64_t{k / perColumn} * cell.cx), Saturate(int64_t{k % perColumn} * cell.cy)};
    }
    const int perRow = std::max(1, static_cast<int>(client.right) / std::max(1, static_cast<int>(cell.cx)));
    return POINT{Saturate(int64_t{k % perRow} * cell.cx), Saturate(int64_t{k / perRow} * cell.cy)};
}

SIZE WrappedLabel(ListViewState& s, int index)
{
    ListItem& item = s.items[static_cast<size_t>(index)];
    if (item.wrapped.cx >= 0 && !item.textCallback)
        return item.wrapped;
    const std::wstring text = ItemText(s, index, 0);
    if (s.destroyed || !s.valid(index))
        return SIZE{0, 0};
    const SIZE spacing = IconSpacing(s);
    const int h = LineHeight(s);
    MeasureDc dc(s);
    RECT rc{0, 0, std::max(1, static_cast<int>(spacing.cx) - 2 * kLabelPad), 0};
    SIZE size{0, h};
    if (s.style() & LVS_NOLABELWRAP) {
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        size = SIZE{rc.right - rc.left, h};
    } else if (!text.empty()) {
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc,
            DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_EDITCONTROL | DT_NOPREFIX);
        size = SIZE{std::min(rc.right - rc.left, spacing.cx - 2 * kLabelPad), std::min(rc.bottom - rc.top, 2 * h)};
    }
    if (!s.items[static_cast<size_t>(index)].textCallback)
        s.items[static_cast<size_t>(index)].wrapped = size;
    return size;
}

// A row-shaped item (list and small-icon views) whose cell starts at p.
Parts RowParts(ListViewState& s, int index, POINT p, int clipRight)
{
    Parts r;
    const SIZE st = StateImageSize(s), sm = SmallImageSize(s);
    const int h = RowHeight(s);
    r.state = RECT{p.x, p.y, p.x + st.cx, p.y + h};
    r.icon = RECT{r.state.right, p.y, r.state.right + sm.cx, p.y + h};
    int right = r.icon.right + TextWidth(s, index) + 2 * kLabelPad;
    if (clipRight > r.icon.right)
        right = std::min(right, clipRight);
    r.label = RECT{r.icon.right, p.y, right, p.y + h};
    r.bounds = RECT{p.x, p.y, right, p.y + h};
    r.select = RECT{r.icon.left, p.y, right, p.y + h};
    return r;
}

Parts ItemParts(ListViewState& s, int index)
{
    Parts r;
    switch (s.view()) {
    case View::Report: {
        const RECT area = ItemArea(s);
        const int h = RowHeight(s);
        const int top = Saturate(int64_t{area.top} + int64_t{index - s.topIndex} * h);
        int l0 = -s.scrollX, r0 = -s.scrollX;
        ColumnSpan(s, 0, l0, r0);
        const SIZE st = StateImageSize(s), sm = SmallImageSize(s);
        const int left = Saturate(int64_t{l0} + int64_t{ItemIndent(s, index)} * sm.cx);
        r.state = RECT{left, top, left + st.cx, top + h};
        r.icon = RECT{r.state.right, top, r.state.right + sm.cx, top + h};
        r.label = RECT{r.icon.right, top, std::max(r.icon.right, r0), top + h};
        r.bounds = RECT{-s.scrollX, top, -s.scrollX + TotalColumnWidth(s), top + h};
        r.select = RECT{r.icon.left, top, r.label.right, top + h};
        if (s.exStyle & LVS_EX_FULLROWSELECT)
            r.select.right = std::max(r.label.right, r.bounds.right);
        return r;
    }
    case View::List: {
        const int rows = RowsPerColumn(s);
        const int w = CellWidth(s);
        const POINT p{Saturate(int64_t{index / rows - s.scrollX} * w), Saturate(int64_t{index % rows} * RowHeight(s))};
        return RowParts(s, index, p, p.x + w);
    }
    case View::SmallIcon: {
        POINT p = ItemPosition(s, index);
        p.x = Saturate(int64_t{p.x} - s.origin.x);
        p.y = Saturate(int64_t{p.y} - s.origin.y);
        return RowParts(s, index, p, 0);
    }
    case View::Icon:
    default: {
        POINT p = ItemPosition(s, index);
        p.x = Saturate(int64_t{p.x} - s.origin.x);
        p.y = Saturate(int64_t{p.y} - s.origin.y);
        const SIZE cell = IconSpacing(s), img = NormalImageSize(s), st = StateImageSize(s);
        r.icon = RECT{p.x, p.y, p.x + cell.cx, p.y + img.cy + 2 * kIconPad};
        const SIZE text = WrappedLabel(s, index);
        const int labelWidth = text.cx + 2 * kLabelPad;
        const int labelLeft = p.x + (cell.cx - labelWidth) / 2;
        r.label = RECT{labelLeft, r.icon.bottom, labelLeft + labelWidth, r.icon.bottom + text.cy + 2};
        const int imageLeft = p.x + (cell.cx - img.cx) / 2;
        const int imageBottom = p.y + kIconPad + img.cy;
        r.state = RECT{imageLeft - st.cx, imageBottom - st.cy, imageLeft, imageBottom};
        ::UnionRect(&r.bounds, &r.icon, &r.label);
        r.select = r.bounds;
        return r;
    }
    }
}

} // namespace

int LineHeight(ListViewState& s)
{
    if (s.lineHeight < 0) {
        MeasureDc dc(s);
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc.get(), &tm);
        s.lineHeight = std::max(1, static_cast<int>(tm.tmHeight));
    }
    return s.lineHeight;
}

SIZE SmallImageSize(const ListViewState& s) { return ListSize(s.smallImages); }
SIZE StateImageSize(const ListViewState& s) { return ListSize(s.stateImages); }

SIZE NormalImageSize(ListViewState& s)
{
    const SIZE size = ListSize(s.normalImages);
    if (size.cx > 0 || size.cy > 0)
        return size;
    return SIZE{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

SIZE IconSpacing(ListViewState& s)
{
    if (s.iconSpacing)
        return *s.iconSpacing;
    const SIZE img = NormalImageSize(s);
    const int h = LineHeight(s);
    return SIZE{std::max(::GetSystemMetrics(SM_CXICONSPACING), static_cast<int>(img.cx) + 4),
        std::max(::GetSystemMetrics(SM_CYICONSPACING), static_cast<int>(img.cy) + 2 * h + 8)};
}

int RowHeight(ListViewState& s)
{
    const SIZE sm = SmallImageSize(s), st = StateImageSize(s);
    int h = std::max({LineHeight(s), static_cast<int>(sm.cy), static_cast<int>(st.cy)}) + 2;
    if (s.view() != View::Report)
        return h;
    if (s.exStyle & LVS_EX_GRIDLINES)
        ++h;
    if (!(s.style() & LVS_OWNERDRAWFIXED))
        return h;
    if (s.ownerRowHeight < 0) {
        // Asked once; a nested question meanwhile gets the default.
        s.ownerRowHeight = h;
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_LISTVIEW;
        mis.CtlID = static_cast<UINT>(::GetDlgCtrlID(s.self));
        mis.itemHeight = static_cast<UINT>(h);
        if (const HWND parent = ::GetParent(s.self))
            ::SendMessageW(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
        if (s.destroyed)
            return h;
        s.ownerRowHeight = static_cast<int>(std::clamp<UINT>(mis.itemHeight, 1, 0x7FFF));
        s.haveBar[0] = s.haveBar[1] = false;
    }
    return s.ownerRowHeight;
}

int MeasureText(ListViewState& s, const std::wstring& text)
{
    if (text.empty())
        return 0;
    MeasureDc dc(s);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int TextWidth(ListViewState& s, int index)
{
    if (!s.valid(index))
        return 0;
    ListItem& item = s.items[static_cast<size_t>(index)];
    if (item.textWidth >= 0 && !item.textCallback)
        return item.textWidth;
    const int w = MeasureText(s, ItemText(s, index, 0));
    if (s.valid(index) && !s.items[static_cast<size_t>(index)].textCallback)
        s.items[static_cast<size_t>(index)].textWidth = w;
    return w;
}

int CellWidth(ListViewState& s)
{
    if (s.view() == View::List && s.listColumnWidth > 0)
        return s.listColumnWidth;
    if (s.maxItemWidth < 0) {
        int widest = 0;
        for (int i = 0; i < s.count() && !s.destroyed; ++i)
            widest = std::max(widest, TextWidth(s, i) + 2 * kLabelPad);
        s.maxItemWidth = widest;
    }
    const SIZE st = StateImageSize(s), sm = SmallImageSize(s);
    return std::max(1, s.maxItemWidth + static_cast<int>(st.cx + sm.cx));
}

RECT ItemArea(ListViewState& s)
{
    RECT rc = ClientRect(s);
    rc.top = std::min(rc.bottom, rc.top + HeaderHeight(s));
    return rc;
}

bool ItemRect(ListViewState& s, int index, int code, RECT& rc)
{
    if (!s.valid(index))
        return false;
    const Parts p = ItemParts(s, index);
    switch (code) {
    case LVIR_BOUNDS:
        rc = p.bounds;
        return true;
    case LVIR_ICON:
        rc = p.icon;
        return true;
    case LVIR_LABEL:
        rc = p.label;
        return true;
    case LVIR_SELECTBOUNDS:
        rc = p.select;
        return true;
    default:
        return false;
    }
}

bool SubItemRect(ListViewState& s, int index, int subItem, int code, RECT& rc)
{
    if (!s.valid(index) || s.view() != View::Report || subItem < 0)
        return false;
    if (subItem == 0)
        return ItemRect(s, index, code, rc);
    if (code != LVIR_BOUNDS && code != LVIR_ICON && code != LVIR_LABEL)
        return false;
    int left = 0, right = 0;
    if (!ColumnSpan(s, subItem, left, right))
        return false;
    const Parts p = ItemParts(s, index);
    rc = RECT{left, p.bounds.top, right, p.bounds.bottom};
    if (code == LVIR_ICON)
        rc.right = std::min(right, left + static_cast<int>(SmallImageSize(s).cx));
    return true;
}

POINT ItemPosition(ListViewState& s, int index)
{
    if (!s.valid(index))
        return POINT{};
    if (Iconic(s)) {
        const ListItem& item = s.items[static_cast<size_t>(index)];
        if (item.placed && !(s.style() & LVS_AUTOARRANGE))
            return item.pos;
        return SlotPosition(s, index);
    }
    const Parts p = ItemParts(s, index);
    return POINT{p.bounds.left, p.bounds.top};
}

bool SetItemPosition(ListViewState& s, int index, POINT pt)
{
    if (!s.valid(index) || !Iconic(s))
        return false;
    InvalidateItem(s, index);
    ListItem& item = s.items[static_cast<size_t>(index)];
    if (!item.placed)
        ++s.placedCount;
    item.placed = true;
    item.pos = POINT{Saturate(pt.x), Saturate(pt.y)};
    InvalidateItem(s, index);
    UpdateScrollBars(s);
    return true;
}

bool Arrange(ListViewState& s, UINT code)
{
    if (!Iconic(s))
        return false;
    if (code == LVA_SNAPTOGRID) {
        const SIZE cell = CellSize(s);
        for (ListItem& item : s.items) {
            if (!item.placed)
                continue;
            item.pos.x = (item.pos.x + cell.cx / 2) / std::max(1, static_cast<int>(cell.cx)) * cell.cx;
            item.pos.y = (item.pos.y + cell.cy / 2) / std::max(1, static_cast<int>(cell.cy)) * cell.cy;
        }
    } else {
        for (ListItem& item : s.items)
            item.placed = false;
        s.placedCount = 0;
        if (code == LVA_ALIGNLEFT || code == LVA_ALIGNTOP) {
            const LONG style = ::GetWindowLongW(s.self, GWL_STYLE);
            const LONG next = code == LVA_ALIGNLEFT ? (style | static_cast<LONG>(LVS_ALIGNLEFT))
                                                    : (style & ~static_cast<LONG>(LVS_ALIGNMASK));
            if (next != style)
                ::SetWindowLongW(s.self, GWL_STYLE, next);
        }
    }
    s.origin = POINT{};
    InvalidateAll(s);
    UpdateScrollBars(s);
    return true;
}

RECT ViewBounds(ListViewState& s)
{
    RECT view{};
    if (s.items.empty() || !Iconic(s))
        return view;
    const SIZE cell = CellSize(s);
    const RECT client = ClientRect(s);
    const int n = s.count();
    if (s.placedCount == 0 || (s.style() & LVS_AUTOARRANGE)) {
        // Cells in index order: the grid they fill.
        if (s.style() & LVS_ALIGNLEFT) {
            const int perColumn = std::max(1, static_cast<int>(client.bottom) / std::max(1, static_cast<int>(cell.cy)));
            const int columns = (n + perColumn - 1) / perColumn;
            view = RECT{0, 0, Saturate(int64_t{columns} * cell.cx), Saturate(int64_t{std::min(n, perColumn)} * cell.cy)};
        } else {
            const int perRow = std::max(1, static_cast<int>(client.right) / std::max(1, static_cast<int>(cell.cx)));
            const int rows = (n + perRow - 1) / perRow;
            view = RECT{0, 0, Saturate(int64_t{std::min(n, perRow)} * cell.cx), Saturate(int64_t{rows} * cell.cy)};
        }
        return view;
    }
    bool first = true;
    for (int i = 0; i < n && !s.destroyed; ++i) {
        RECT rc{};
        if (s.items[static_cast<size_t>(i)].placed) {
            ItemRect(s, i, LVIR_BOUNDS, rc);
            ::OffsetRect(&rc, s.origin.x, s.origin.y);
        } else {
            const POINT p = SlotPosition(s, i);
            rc = RECT{p.x, p.y, p.x + cell.cx, p.y + cell.cy};
        }
        if (first)
            view = rc;
        else
            ::UnionRect(&view, &view, &rc);
        first = false;
    }
    return view;
}

int HitTest(ListViewState& s, LVHITTESTINFO& info, bool subItems)
{
    info.iItem = -1;
    info.iSubItem = 0;
    info.iGroup = 0;
    info.flags = 0;
    const RECT client = ClientRect(s);
    const POINT pt = info.pt;
    if (pt.y < client.top)
        info.flags |= LVHT_ABOVE;
    else if (pt.y >= client.bottom)
        info.flags |= LVHT_BELOW;
    if (pt.x < client.left)
        info.flags |= LVHT_TOLEFT;
    else if (pt.x >= client.right)
        info.flags |= LVHT_TORIGHT;
    if (info.flags)
        return -1;
    info.flags = LVHT_NOWHERE;
    if (s.view() == View::Report) {
        const RECT area = ItemArea(s);
        if (pt.y < area.top)
            return -1;
        const int row = s.topIndex + (pt.y - area.top) / RowHeight(s);
        if (!s.valid(row))
            return -1;
        const Parts p = ItemParts(s, row);
        int column = -1;
        if (subItems) {
            for (const int c : ColumnOrder(s)) {
                int l = 0, r = 0;
                if (ColumnSpan(s, c, l, r) && pt.x >= l && pt.x < r) {
                    column = c;
                    break;
                }
            }
            if (column < 0)
                return -1;
            info.iSubItem = column;
        }
        if (::PtInRect(&p.state, pt))
            info.flags = LVHT_ONITEMSTATEICON;
        else if (::PtInRect(&p.icon, pt))
            info.flags = LVHT_ONITEMICON;
        else if (::PtInRect(&p.label, pt) || (column > 0) ||
                 ((s.exStyle & LVS_EX_FULLROWSELECT) && pt.x >= p.bounds.left && pt.x < p.bounds.right))
            info.flags = LVHT_ONITEMLABEL;
        else if (!subItems || column < 0)
            return -1;
        else
            info.flags = LVHT_ONITEMLABEL;
        info.iItem = row;
        return row;
    }
    int first = 0, last = -1;
    VisibleRange(s, RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}, first, last);
    // Later items are drawn over earlier ones: the last one under the point wins.
    for (int i = last; i >= first; --i) {
        const Parts p = ItemParts(s, i);
        UINT flags = 0;
        if (::PtInRect(&p.state, pt) && s.stateImages)
            flags = LVHT_ONITEMSTATEICON;
        else if (::PtInRect(&p.icon, pt))
            flags = LVHT_ONITEMICON;
        else if (::PtInRect(&p.label, pt))
            flags = LVHT_ONITEMLABEL;
        if (flags) {
            info.flags = flags;
            info.iItem = i;
            return i;
        }
    }
    return -1;
}

int VisibleListColumns(ListViewState& s)
{
    return std::max(1, static_cast<int>(ClientRect(s).right) / std::max(1, CellWidth(s)));
}

int RowsPerColumn(ListViewState& s)
{
    const RECT client = ClientRect(s);
    return std::max(1, static_cast<int>(client.bottom) / RowHeight(s));
}

int CountPerPage(ListViewState& s)
{
    switch (s.view()) {
    case View::Report: {
        const RECT area = ItemArea(s);
        return std::max(0, static_cast<int>(area.bottom - area.top) / RowHeight(s));
    }
    case View::List:
        return RowsPerColumn(s) * VisibleListColumns(s);
    default:
        return s.count();
    }
}

int TopIndex(ListViewState& s)
{
    switch (s.view()) {
    case View::Report:
        return s.items.empty() ? 0 : s.topIndex;
    case View::List:
        return s.items.empty() ? 0 : std::min(s.count() - 1, s.scrollX * RowsPerColumn(s));
    default:
        return 0;
    }
}

void VisibleRange(ListViewState& s, const RECT& area, int& first, int& last)
{
    first = 0;
    last = -1;
    if (s.items.empty() || area.right <= area.left || area.bottom <= area.top)
        return;
    const int n = s.count();
    switch (s.view()) {
    case View::Report: {
        const RECT items = ItemArea(s);
        const int top = std::max(area.top, items.top);
        if (area.bottom <= top)
            return;
        const int h = RowHeight(s);
        first = s.topIndex + (top - items.top) / h;
        last = std::min(n - 1, s.topIndex + (area.bottom - 1 - items.top) / h);
        return;
    }
    case View::List: {
        const int rows = RowsPerColumn(s), w = CellWidth(s);
        const int c0 = s.scrollX + std::max(0, static_cast<int>(area.left)) / w;
        const int c1 = s.scrollX + std::max(0, static_cast<int>(area.right) - 1) / w;
        first = std::min(n, c0 * rows);
        last = std::min(n - 1, (c1 + 1) * rows - 1);
        return;
    }
    default: {
        if (s.placedCount > 0 && !(s.style() & LVS_AUTOARRANGE)) {
            last = n - 1; // placed items may be anywhere
            return;
        }
        // Cells in index order: whole rows (or columns) of cells that meet the area. Labels
        // stay inside their row's height; unwrapped ones may reach into the next cells.
        const SIZE cell = CellSize(s);
        const RECT client = ClientRect(s);
        if (s.style() & LVS_ALIGNLEFT) {
            const int perColumn = std::max(1, static_cast<int>(client.bottom) / std::max(1, static_cast<int>(cell.cy)));
            const int c0 = std::max(0, static_cast<int>(area.left + s.origin.x) / std::max(1, static_cast<int>(cell.cx)) - 1);
            const int c1 = std::max(0, static_cast<int>(area.right - 1 + s.origin.x) / std::max(1, static_cast<int>(cell.cx)) + 1);
            first = std::min(n, c0 * perColumn);
            last = std::min(n - 1, (c1 + 1) * perColumn - 1);
        } else {
            const int perRow = std::max(1, static_cast<int>(client.right) / std::max(1, static_cast<int>(cell.cx)));
            const int r0 = std::max(0, static_cast<int>(area.top + s.origin.y) / std::max(1, static_cast<int>(cell.cy)) - 1);
            const int r1 = std::max(0, static_cast<int>(area.bottom - 1 + s.origin.y) / std::max(1, static_cast<int>(cell.cy)));
            first = std::min(n, r0 * perRow);
            last = std::min(n - 1, (r1 + 1) * perRow - 1);
        }
        return;
    }
    }
}

int Neighbour(ListViewState& s, int index, UINT direction)
{
    if (!s.valid(index))
        return -1;
    const int n = s.count();
    if (s.view() == View::Report || s.view() == View::List) {
        const int step = s.view() == View::List ? RowsPerColumn(s) : 0;
        int next = -1;
        switch (direction) {
        case LVNI_ABOVE: next = index - 1; break;
        case LVNI_BELOW: next = index + 1; break;
        case LVNI_TOLEFT: next = step ? index - step : -1; break;
        case LVNI_TORIGHT: next = step ? index + step : -1; break;
        default: break;
        }
        return next >= 0 && next < n ? next : -1;
    }
    // Icon views: the nearest item on that side, counting the distance across the
    // direction twice, so the item straight ahead wins over one diagonally nearer. Icon
    // boxes are compared, as labels of one row differ in height.
    RECT from{};
    ItemRect(s, index, LVIR_ICON, from);
    const int fx = (from.left + from.right) / 2, fy = (from.top + from.bottom) / 2;
    int best = -1;
    int64_t bestScore = 0;
    for (int i = 0; i < n; ++i) {
        if (i == index)
            continue;
        RECT rc{};
        ItemRect(s, i, LVIR_ICON, rc);
        const int dx = (rc.left + rc.right) / 2 - fx, dy = (rc.top + rc.bottom) / 2 - fy;
        int along = 0, across = 0;
        switch (direction) {
        case LVNI_ABOVE: along = -dy; across = dx; break;
        case LVNI_BELOW: along = dy; across = dx; break;
        case LVNI_TOLEFT: along = -dx; across = dy; break;
        case LVNI_TORIGHT: along = dx; across = dy; break;
        default: return -1;
        }
        if (along <= 0)
            continue;
        const int64_t score = static_cast<int64_t>(along) + 2 * static_cast<int64_t>(std::abs(across));
        if (best < 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

void ResetMeasures(ListViewState& s, bool texts)
{
    s.lineHeight = -1;
    s.headerHeight = -1;
    s.maxItemWidth = -1;
    s.haveBar[0] = s.haveBar[1] = false;
    if (texts) {
        for (ListItem& item : s.items) {
            item.textWidth = -1;
            item.wrapped = SIZE{-1, -1};
        }
    }
}

} // namespace zyn::comctl::detail
