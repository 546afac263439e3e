// The tab control's layout: the arithmetic of rows, stretching, the selected row's move,
// single-line scrolling and the display area (ComputeTabLayout, AdjustTabRect: no window
// needed), the measuring that feeds it, where an item's image and text go, hit testing,
// and keeping the overflow spin and the tooltip's tools in step.
#include <algorithm>

#include "platform/comctl/tabctrl_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

using namespace tabgeo;

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

bool IsMultiline(DWORD style) { return (style & (TCS_MULTILINE | TCS_VERTICAL)) != 0; }

// A rectangle of `along` x `across` at (u, e), where u runs along the rows and e is the
// distance from the control's edge on the tabs' side.
RECT Place(TabSide side, int width, int height, int u, int along, int e, int across)
{
    switch (side) {
    case TabSide::Bottom: return RECT{u, height - e - across, u + along, height - e};
    case TabSide::Left: return RECT{e, u, e + across, u + along};
    case TabSide::Right: return RECT{width - e - across, u, width - e, u + along};
    case TabSide::Top:
    default: return RECT{u, e, u + along, e + across};
    }
}

} // namespace

TabSide SideOf(DWORD style)
{
    if (style & TCS_VERTICAL)
        return (style & TCS_RIGHT) ? TabSide::Right : TabSide::Left;
    return (style & TCS_BOTTOM) ? TabSide::Bottom : TabSide::Top;
}

TabLayoutOutput ComputeTabLayout(const TabLayoutInput& in)
{
    TabLayoutOutput out;
    const int n = static_cast<int>(in.widths.size());
    const bool vertical = IsVerticalSide(in.side);
    const int length = vertical ? in.height : in.width;
    const int uStart = in.buttons ? 0 : kMargin;
    const int uEnd = in.buttons ? length : length - kMargin;
    const int gap = in.buttons ? kButtonGap : 0;
    std::vector<int> w = in.widths;
    std::vector<int> u(static_cast<size_t>(n), 0);
    out.rowOf.assign(static_cast<size_t>(n), 0);
    out.limit = length;

    if (!in.multiline) {
        int pos = uStart;
        for (int i = 0; i < n; ++i) {
            u[i] = pos;
            pos += w[i] + gap;
        }
        const int end = n > 0 ? u[n - 1] + w[n - 1] : uStart;
        if (n > 0 && end > uEnd && in.spinWidth > 0) {
            out.overflow = true;
            out.limit = length - in.spinWidth;
            // The first item from which all the rest fit before the spin.
            out.maxFirst = n - 1;
            for (int f = 0; f < n; ++f) {
                if (end - (u[f] - uStart) <= out.limit) {
                    out.maxFirst = f;
                    break;
                }
            }
            out.firstVisible = std::clamp(in.firstVisible, 0, out.maxFirst);
            const int shift = u[out.firstVisible] - uStart;
            for (int i = 0; i < n; ++i)
                u[i] -= shift;
        }
    } else {
        int pos = uStart, row = 0;
        for (int i = 0; i < n; ++i) {
            if (pos > uStart && pos + w[i] > uEnd) {
                ++row;
                pos = uStart;
            }
            u[i] = pos;
            out.rowOf[i] = row;
            pos += w[i] + gap;
        }
        out.rows = row + 1;
        if (out.rows >= 2 && in.stretch) {
            for (int first = 0; first < n;) {
                int last = first;
                while (last + 1 < n && out.rowOf[last + 1] == out.rowOf[first])
                    ++last;
                const int count = last - first + 1;
                const int extra = uEnd - (u[last] + w[last]);
                if (extra > 0) {
                    const int each = extra / count;
                    int p = uStart;
                    for (int i = first; i <= last; ++i) {
                        w[i] += each + (i == last ? extra - each * count : 0);
                        u[i] = p;
                        p += w[i] + gap;
                    }
                }
                first = last + 1;
            }
        }
    }

    // Rows across: tabs put the selected row next to the display area and the rows after
    // it further out in turn; buttons keep their rows in order from the edge.
    const int pitch = in.buttons ? in.rowHeight + gap : in.rowHeight;
    const int base = in.buttons ? 0 : kMargin;
    const int selRow = (in.selected >= 0 && in.selected < n) ? out.rowOf[in.selected] : 0;
    out.rects.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int r = out.rowOf[i];
        const int distance = in.buttons ? out.rows - 1 - r : (r - selRow + out.rows) % out.rows;
        const int e = base + (out.rows - 1 - distance) * pitch;
        out.rects[i] = Place(in.side, in.width, in.height, u[i], w[i], e, in.rowHeight);
    }
    if (out.overflow)
        out.spin = Place(in.side, in.width, in.height, out.limit, in.spinWidth, base, in.rowHeight);
    return out;
}

RECT AdjustTabRect(DWORD style, int rows, int rowHeight, RECT rc, bool larger)
{
    const TabSide side = SideOf(style);
    const bool buttons = (style & TCS_BUTTONS) != 0;
    const int tabSide = buttons ? rows * (rowHeight + kButtonGap) : kMargin + rows * rowHeight + kPaneInset;
    const int other = buttons ? 0 : kPaneInset;
    int left = other, top = other, right = other, bottom = other;
    switch (side) {
    case TabSide::Top: top = tabSide; break;
    case TabSide::Bottom: bottom = tabSide; break;
    case TabSide::Left: left = tabSide; break;
    case TabSide::Right: right = tabSide; break;
    }
    const int k = larger ? -1 : 1;
    return RECT{rc.left + k * left, rc.top + k * top, rc.right - k * right, rc.bottom - k * bottom};
}

RECT PaneRect(TabSide side, int rows, int rowHeight, int width, int height)
{
    const int t = kMargin + rows * rowHeight;
    switch (side) {
    case TabSide::Bottom: return RECT{0, 0, width, height - t};
    case TabSide::Left: return RECT{t, 0, width, height};
    case TabSide::Right: return RECT{0, 0, width - t, height};
    case TabSide::Top:
    default: return RECT{0, t, width, height};
    }
}

RECT SelectedTabRect(TabSide side, RECT r)
{
    const int g = kSelectedGrow;
    switch (side) {
    case TabSide::Bottom: return RECT{r.left - g, r.top - 1, r.right + g, r.bottom + g};
    case TabSide::Left: return RECT{r.left - g, r.top - g, r.right + 1, r.bottom + g};
    case TabSide::Right: return RECT{r.left - 1, r.top - g, r.right + g, r.bottom + g};
    case TabSide::Top:
    default: return RECT{r.left - g, r.top - g, r.right + g, r.bottom + 1};
    }
}

bool HasImage(const TabState& s, const TabItem& item)
{
    return s.images && item.image >= 0 && item.image < ::ImageList_GetImageCount(s.images);
}

SIZE ImageSize(const TabState& s)
{
    int cx = 0, cy = 0;
    if (s.images)
        ::ImageList_GetIconSize(s.images, &cx, &cy);
    return SIZE{cx, cy};
}

namespace {

// Measures the items whose text or font changed, and the row height. Extents are kept, so
// adding one tab measures one text.
void Measure(TabState& s, DWORD style)
{
    const bool vertical = IsVerticalSide(SideOf(style));
    const HFONT font = zyn::user::FontOrSystem(s.font);
    const bool fontChanged = font != s.measuredFont || s.measuredHeight == 0;
    const bool any = fontChanged ||
                     std::any_of(s.items.begin(), s.items.end(), [](const TabItem& i) { return !i.measured; });
    if (any) {
        if (HDC dc = ::GetDC(s.self)) {
            zyn::user::DcSelection sel(dc, font);
            TEXTMETRICW tm{};
            ::GetTextMetricsW(dc, &tm);
            s.measuredHeight = tm.tmHeight;
            s.measuredFont = font;
            for (TabItem& item : s.items) {
                if (item.measured && !fontChanged)
                    continue;
                item.textExtent = SIZE{0, s.measuredHeight};
                if (!item.text.empty()) {
                    const RECT r =
                        zyn::user::MeasureControlText(dc, item.text, RECT{0, 0, 0, 0}, DT_SINGLELINE | DT_LEFT);
                    item.textExtent.cx = r.right - r.left;
                }
                item.measured = true;
            }
            ::ReleaseDC(s.self, dc);
        }
    }
    const int textHeight = s.measuredHeight;
    const SIZE img = ImageSize(s);
    const int imgAcross = vertical ? img.cx : img.cy;
    s.rowHeight = s.itemSize.cy > 0 ? s.itemSize.cy : std::max(textHeight, imgAcross) + 2 * s.padding.cy + kEdge;
}

int NaturalWidth(const TabState& s, const TabItem& item, bool vertical, const ImageFacts& images)
{
    int w = 2 * s.padding.cx + item.textExtent.cx;
    if (images.Has(item)) {
        const SIZE img = images.size;
        w += (vertical ? img.cy : img.cx) + (item.textExtent.cx > 0 ? kIconGap : 0);
    }
    return w;
}

void SyncSpin(TabState& s, const TabLayoutOutput& out)
{
    if (out.overflow) {
        const RECT& r = out.spin;
        if (!s.spin || !::IsWindow(s.spin)) {
            s.spin = ::CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_HORZ, r.left, r.top,
                r.right - r.left, r.bottom - r.top, s.self,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kSpinId)), nullptr, nullptr);
        } else {
            ::SetWindowPos(s.spin, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        if (s.spin) {
            ::SendMessageW(s.spin, UDM_SETRANGE32, 0, out.maxFirst);
            ::SendMessageW(s.spin, UDM_SETPOS32, 0, out.firstVisible);
        }
    } else if (s.spin && ::IsWindow(s.spin) && ::IsWindowVisible(s.spin)) {
        ::ShowWindow(s.spin, SW_HIDE);
    }
}

void SyncTooltip(TabState& s)
{
    if (!s.tooltip || !::IsWindow(s.tooltip))
        return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = s.self;
    for (size_t i = 0; i < s.tooltipTools; ++i) {
        ti.uId = i;
        ::SendMessageW(s.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    s.tooltipTools = 0;
    for (size_t i = 0; i < s.items.size(); ++i) {
        ti.uId = i;
        ti.rect = s.items[i].rect;
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        if (::SendMessageW(s.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)))
            s.tooltipTools = i + 1;
    }
}

} // namespace

void Relayout(TabState& s, bool ensureSelVisible)
{
    const DWORD style = StyleOf(s.self);
    const TabSide side = SideOf(style);
    const bool vertical = IsVerticalSide(side);
    Measure(s, style);

    TabLayoutInput in;
    in.side = side;
    in.buttons = (style & TCS_BUTTONS) != 0;
    in.multiline = IsMultiline(style);
    in.stretch = !(style & (TCS_RAGGEDRIGHT | TCS_FIXEDWIDTH));
    RECT client{};
    ::GetClientRect(s.self, &client);
    in.width = client.right;
    in.height = client.bottom;
    in.rowHeight = s.rowHeight;
    in.selected = s.sel;
    in.firstVisible = s.firstVisible;
    in.spinWidth = 2 * ::GetSystemMetrics(SM_CXHSCROLL);
    // The image list is asked once, not for every item.
    const ImageFacts images = ImageFactsOf(s);
    s.widestNatural = 0;
    for (const TabItem& item : s.items)
        s.widestNatural = std::max(s.widestNatural, NaturalWidth(s, item, vertical, images));
    for (const TabItem& item : s.items) {
        int w;
        if (style & TCS_FIXEDWIDTH)
            w = s.itemSize.cx > 0 ? s.itemSize.cx : s.widestNatural;
        else if ((style & TCS_OWNERDRAWFIXED) && s.itemSize.cx > 0)
            w = s.itemSize.cx;
        else
            w = std::max(NaturalWidth(s, item, vertical, images), s.minTabWidth);
        in.widths.push_back(w);
    }

    TabLayoutOutput out = ComputeTabLayout(in);
    if (ensureSelVisible && out.overflow && s.Valid(s.sel)) {
        // Scroll just far enough: to the selected tab when it lies before the first shown,
        // else forward until its far end clears the spin.
        int first = out.firstVisible;
        if (s.sel < first) {
            first = s.sel;
        } else {
            const int along0 = out.rects[s.sel].right;
            const int shiftBase = out.rects[first].left;
            while (first < s.sel && first < out.maxFirst &&
                   along0 - (out.rects[first].left - shiftBase) > out.limit)
                ++first;
        }
        if (first != out.firstVisible) {
            in.firstVisible = first;
            out = ComputeTabLayout(in);
        }
    }
    for (size_t i = 0; i < s.items.size(); ++i) {
        s.items[i].rect = out.rects[i];
        s.items[i].row = out.rowOf[i];
    }
    s.rows = out.rows;
    s.overflow = out.overflow;
    s.maxFirst = out.maxFirst;
    s.firstVisible = out.firstVisible;
    s.limit = out.limit;
    s.layoutStyle = style;
    s.laidOut = true;
    SyncSpin(s, out);
    SyncTooltip(s);
}

void EnsureLayout(TabState& s)
{
    if (!s.laidOut || s.layoutStyle != StyleOf(s.self))
        Relayout(s);
}

ImageFacts ImageFactsOf(const TabState& s)
{
    ImageFacts facts;
    if (s.images) {
        facts.count = ::ImageList_GetImageCount(s.images);
        facts.size = ImageSize(s);
    }
    return facts;
}

ItemParts PartsOf(const TabState& s, const TabItem& item, const RECT& rect, DWORD style)
{
    return PartsOf(item, rect, style, s.padding, ImageFactsOf(s));
}

ItemParts PartsOf(const TabItem& item, const RECT& rect, DWORD style, SIZE padding, const ImageFacts& images)
{
    ItemParts parts;
    const TabSide side = SideOf(style);
    const bool buttons = (style & TCS_BUTTONS) != 0;
    // The band inside the tab's raised edge.
    RECT band = rect;
    if (!buttons) {
        switch (side) {
        case TabSide::Top: band.top += kEdge; break;
        case TabSide::Bottom: band.bottom -= kEdge; break;
        case TabSide::Left: band.left += kEdge; break;
        case TabSide::Right: band.right -= kEdge; break;
        }
    }
    const bool image = images.Has(item);
    const SIZE img = image ? images.size : SIZE{0, 0};
    const int textLen = item.textExtent.cx;
    const int textThick = item.textExtent.cy;
    const int gap = (image && textLen > 0) ? kIconGap : 0;

    if (!IsVerticalSide(side)) {
        const int bandH = band.bottom - band.top;
        const int blockW = img.cx + gap + textLen;
        int x = rect.left + (rect.right - rect.left - blockW) / 2;
        int textX = x + img.cx + gap;
        if ((style & TCS_FIXEDWIDTH) && (style & (TCS_FORCEICONLEFT | TCS_FORCELABELLEFT))) {
            x = rect.left + padding.cx;
            const int after = x + img.cx + gap;
            if (style & TCS_FORCELABELLEFT)
                textX = after;
            else
                textX = after + (rect.right - padding.cx - after - textLen) / 2;
        }
        if (image) {
            const int y = band.top + (bandH - img.cy) / 2;
            parts.icon = RECT{x, y, x + img.cx, y + img.cy};
        }
        if (textLen > 0) {
            const int y = band.top + (bandH - textThick) / 2;
            parts.text = RECT{textX, y, textX + textLen, y + textThick};
        }
        return parts;
    }
    // Vertical: the text reads upwards on the left side (its start at the bottom, after the
    // image) and downwards on the right side (its start at the top).
    const int bandW = band.right - band.left;
    const int blockH = img.cy + gap + textLen;
    const int iconX = band.left + (bandW - img.cx) / 2;
    const int textX = band.left + (bandW - textThick) / 2;
    if (side == TabSide::Left) {
        const int bottom = rect.bottom - (rect.bottom - rect.top - blockH) / 2;
        if (image)
            parts.icon = RECT{iconX, bottom - img.cy, iconX + img.cx, bottom};
        if (textLen > 0) {
            const int tb = bottom - img.cy - gap;
            parts.text = RECT{textX, tb - textLen, textX + textThick, tb};
        }
    } else {
        const int top = rect.top + (rect.bottom - rect.top - blockH) / 2;
        if (image)
            parts.icon = RECT{iconX, top, iconX + img.cx, top + img.cy};
        if (textLen > 0) {
            const int tt = top + img.cy + gap;
            parts.text = RECT{textX, tt, textX + textThick, tt + textLen};
        }
    }
    return parts;
}

int HitTestItem(TabState& s, POINT pt, UINT* flags)
{
    EnsureLayout(s);
    const DWORD style = StyleOf(s.self);
    if (flags)
        *flags = TCHT_NOWHERE;
    const bool vertical = IsVerticalSide(SideOf(style));
    if (s.overflow && (vertical ? pt.y : pt.x) >= s.limit)
        return -1;
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        if (s.overflow && i < s.firstVisible)
            continue;
        const TabItem& item = s.items[i];
        if (!::PtInRect(&item.rect, pt))
            continue;
        if (flags) {
            *flags = TCHT_ONITEM;
            if (!(style & TCS_OWNERDRAWFIXED)) {
                const ItemParts parts = PartsOf(s, item, item.rect, style);
                if (::PtInRect(&parts.icon, pt))
                    *flags = TCHT_ONITEMICON;
                else if (::PtInRect(&parts.text, pt))
                    *flags = TCHT_ONITEMLABEL;
            }
        }
        return i;
    }
    return -1;
}

} // namespace zyn::comctl::detail
