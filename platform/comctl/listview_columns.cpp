// The list view's columns and its header child: columns are mirrored into the header's
// items (same indexes), the header's notifications are passed on to the parent and its
// width changes and clicks come back as column widths and LVN_COLUMNCLICK.
#include <algorithm>
#include <cwchar>

#include "platform/user/winuser.h"
#include "platform/comctl/header_state.h"
#include "platform/comctl/listview_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

int HeaderFormat(int lvcfmt)
{
    int fmt = HDF_STRING;
    switch (lvcfmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        fmt |= HDF_RIGHT;
        break;
    case LVCFMT_CENTER:
        fmt |= HDF_CENTER;
        break;
    default:
        fmt |= HDF_LEFT;
        break;
    }
    if (lvcfmt & LVCFMT_IMAGE)
        fmt |= HDF_IMAGE;
    if (lvcfmt & LVCFMT_BITMAP_ON_RIGHT)
        fmt |= HDF_BITMAP_ON_RIGHT;
    return fmt;
}

bool ValidColumn(const ListViewState& s, int i) { return i >= 0 && i < static_cast<int>(s.columns.size()); }

void RefreshOrder(ListViewState& s)
{
    const size_t n = s.columns.size();
    if (s.header) {
        if (const auto hs = HeaderStateOf(s.header))
            s.columnOrderVersion = hs->orderVersion;
    }
    std::vector<int> order(n);
    if (!s.header || n == 0 ||
        !::SendMessageW(s.header, HDM_GETORDERARRAY, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(order.data()))) {
        for (size_t i = 0; i < n; ++i)
            order[i] = static_cast<int>(i);
    }
    s.columnOrder = std::move(order);
}

// The widest content of a column over all items, with its padding.
int ContentWidth(ListViewState& s, int column)
{
    const int sub = s.columns[static_cast<size_t>(column)].subItem;
    int widest = 0;
    for (int i = 0; i < s.count(); ++i) {
        int w = 0;
        if (sub == 0) {
            w = Saturate(int64_t{TextWidth(s, i)} + 2 * kLabelPad + StateImageSize(s).cx + SmallImageSize(s).cx +
                         int64_t{ItemIndent(s, i)} * SmallImageSize(s).cx);
        } else {
            w = MeasureText(s, ItemText(s, i, sub)) + 2 * kSubItemPad;
        }
        widest = std::max(widest, w);
        if (s.destroyed)
            return widest;
    }
    return widest;
}

int HeaderTextWidth(ListViewState& s, int column)
{
    const Column& c = s.columns[static_cast<size_t>(column)];
    int w = MeasureText(s, c.text) + 2 * kHeaderTextPad;
    if (s.header) {
        const auto hs = HeaderStateOf(s.header);
        int cx = 0, cy = 0;
        if (hs && hs->images && (c.fmt & LVCFMT_IMAGE) && ::ImageList_GetIconSize(hs->images, &cx, &cy))
            w += cx + kHeaderTextPad;
    }
    return w;
}

} // namespace

// The header's order may change behind the list's back (HDM_SETORDERARRAY sent to the
// header itself): its version says when to read it again.
void FollowHeaderOrder(ListViewState& s)
{
    bool stale = s.columnOrder.size() != s.columns.size();
    if (!stale && s.header) {
        if (const auto hs = HeaderStateOf(s.header))
            stale = hs->orderVersion != s.columnOrderVersion;
    }
    if (stale)
        RefreshOrder(s);
}

std::vector<int> ColumnOrder(ListViewState& s)
{
    FollowHeaderOrder(s);
    return s.columnOrder;
}

bool ColumnSpan(ListViewState& s, int column, int& left, int& right)
{
    if (!ValidColumn(s, column))
        return false;
    FollowHeaderOrder(s);
    int64_t x = -s.scrollX;
    for (const int i : s.columnOrder) {
        const int w = std::max(0, s.columns[static_cast<size_t>(i)].width);
        if (i == column) {
            left = Saturate(x);
            right = Saturate(x + w);
            return true;
        }
        x += w;
    }
    return false;
}

int TotalColumnWidth(ListViewState& s)
{
    int64_t total = 0;
    for (const Column& c : s.columns)
        total += std::max(0, c.width);
    return Saturate(total);
}

int HeaderHeight(ListViewState& s)
{
    if (s.view() != View::Report || (s.style() & LVS_NOCOLUMNHEADER) || !s.header)
        return 0;
    if (s.headerHeight < 0) {
        RECT rc{0, 0, 1000, 1000};
        WINDOWPOS wp{};
        HDLAYOUT layout{&rc, &wp};
        s.headerHeight = ::SendMessageW(s.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)) ? wp.cy : 0;
    }
    return s.headerHeight;
}

void LayoutHeader(ListViewState& s)
{
    if (!s.header)
        return;
    s.headerHeight = -1;
    const int height = HeaderHeight(s);
    if (height <= 0) {
        ::ShowWindow(s.header, SW_HIDE);
        return;
    }
    RECT client{};
    ::GetClientRect(s.self, &client);
    const int width = std::max(client.right + s.scrollX, TotalColumnWidth(s));
    ::SetWindowPos(s.header, nullptr, -s.scrollX, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT InsertColumn(ListViewState& s, int index, const LVCOLUMNW* in)
{
    if (!in)
        return -1;
    index = std::clamp(index, 0, static_cast<int>(s.columns.size()));
    Column c;
    if (in->mask & LVCF_FMT)
        c.fmt = in->fmt;
    if (in->mask & LVCF_WIDTH)
        c.width = std::max(0, in->cx);
    if ((in->mask & LVCF_TEXT) && in->pszText && in->pszText != LPSTR_TEXTCALLBACKW)
        c.text = in->pszText;
    c.subItem = (in->mask & LVCF_SUBITEM) ? std::max(0, in->iSubItem) : index;
    if (in->mask & LVCF_IMAGE)
        c.image = in->iImage;
    s.columns.insert(s.columns.begin() + index, c);
    if (s.header) {
        HDITEMW hd{};
        hd.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT | HDI_IMAGE;
        hd.cxy = c.width;
        hd.fmt = HeaderFormat(c.fmt);
        hd.pszText = const_cast<LPWSTR>(c.text.c_str());
        hd.iImage = c.image;
        if (in->mask & LVCF_ORDER) {
            hd.mask |= HDI_ORDER;
            hd.iOrder = in->iOrder;
        }
        ::SendMessageW(s.header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
    }
    RefreshOrder(s);
    LayoutHeader(s);
    UpdateScrollBars(s);
    InvalidateAll(s);
    return index;
}

bool DeleteColumn(ListViewState& s, int index)
{
    if (!ValidColumn(s, index))
        return false;
    s.columns.erase(s.columns.begin() + index);
    if (s.header)
        ::SendMessageW(s.header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
    RefreshOrder(s);
    LayoutHeader(s);
    UpdateScrollBars(s);
    InvalidateAll(s);
    return true;
}

bool GetColumn(ListViewState& s, int index, LVCOLUMNW* out)
{
    if (!out || !ValidColumn(s, index))
        return false;
    const Column& c = s.columns[static_cast<size_t>(index)];
    if (out->mask & LVCF_FMT)
        out->fmt = c.fmt;
    if (out->mask & LVCF_WIDTH)
        out->cx = c.width;
    if ((out->mask & LVCF_TEXT) && out->pszText && out->cchTextMax > 0) {
        const size_t n = std::min(c.text.size(), static_cast<size_t>(out->cchTextMax - 1));
        std::wmemcpy(out->pszText, c.text.data(), n);
        out->pszText[n] = L'\0';
    }
    if (out->mask & LVCF_SUBITEM)
        out->iSubItem = c.subItem;
    if (out->mask & LVCF_IMAGE)
        out->iImage = c.image;
    if (out->mask & LVCF_ORDER) {
        const std::vector<int> order = ColumnOrder(s);
        out->iOrder = static_cast<int>(std::find(order.begin(), order.end(), index) - order.begin());
    }
    return true;
}

bool SetColumn(ListViewState& s, int index, const LVCOLUMNW* in)
{
    if (!in || !ValidColumn(s, index))
        return false;
    Column& c = s.columns[static_cast<size_t>(index)];
    HDITEMW hd{};
    if (in->mask & LVCF_FMT) {
        c.fmt = in->fmt;
        hd.mask |= HDI_FORMAT;
        hd.fmt = HeaderFormat(c.fmt);
    }
    if ((in->mask & LVCF_TEXT) && in->pszText && in->pszText != LPSTR_TEXTCALLBACKW) {
        c.text = in->pszText;
        hd.mask |= HDI_TEXT;
        hd.pszText = const_cast<LPWSTR>(c.text.c_str());
    }
    if (in->mask & LVCF_SUBITEM)
        c.subItem = std::max(0, in->iSubItem);
    if (in->mask & LVCF_IMAGE) {
        c.image = in->iImage;
        hd.mask |= HDI_IMAGE;
        hd.iImage = c.image;
    }
    if (in->mask & LVCF_ORDER) {
        hd.mask |= HDI_ORDER;
        hd.iOrder = in->iOrder;
    }
    if (in->mask & LVCF_WIDTH) {
        hd.mask |= HDI_WIDTH;
        hd.cxy = std::max(0, in->cx);
    }
    if (s.header && hd.mask) {
        if (!::SendMessageW(s.header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd)))
            return false;
    } else if (in->mask & LVCF_WIDTH) {
        c.width = std::max(0, in->cx);
    }
    RefreshOrder(s);
    LayoutHeader(s);
    UpdateScrollBars(s);
    InvalidateAll(s);
    return true;
}

int GetColumnWidth(ListViewState& s, int index)
{
    switch (s.view()) {
    case View::Report:
        return ValidColumn(s, index) ? s.columns[static_cast<size_t>(index)].width : 0;
    case View::List:
        return index == 0 ? CellWidth(s) : 0;
    default:
        return 0;
    }
}

bool SetColumnWidth(ListViewState& s, int index, int width)
{
    if (s.view() == View::List) {
        if (index != 0)
            return false;
        s.listColumnWidth = width > 0 ? width : 0;
        UpdateScrollBars(s);
        InvalidateAll(s);
        return true;
    }
    if (s.view() != View::Report || !ValidColumn(s, index))
        return false;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        int w = ContentWidth(s, index);
        if (s.destroyed || !ValidColumn(s, index))
            return false;
        if (width == LVSCW_AUTOSIZE_USEHEADER) {
            w = std::max(w, HeaderTextWidth(s, index));
            const std::vector<int> order = ColumnOrder(s);
            if (!order.empty() && order.back() == index) {
                // The last column fills the rest of the client width.
                RECT client{};
                ::GetClientRect(s.self, &client);
                const int others = TotalColumnWidth(s) - s.columns[static_cast<size_t>(index)].width;
                w = std::max(w, static_cast<int>(client.right) - others);
            }
        }
        width = w;
    }
    width = std::max(0, width);
    if (s.header) {
        HDITEMW hd{};
        hd.mask = HDI_WIDTH;
        hd.cxy = width;
        return ::SendMessageW(s.header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd)) != 0;
    }
    s.columns[static_cast<size_t>(index)].width = width;
    UpdateScrollBars(s);
    InvalidateAll(s);
    return true;
}

LRESULT OnHeaderNotify(ListViewState& s, NMHDR* hdr)
{
    // The parent hears the header as it would hear its own child, and may refuse a change.
    LRESULT answer = 0;
    if (const HWND parent = ::GetParent(s.self))
        answer = ::SendMessageW(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
    if (s.destroyed)
        return answer;
    const auto* nm = reinterpret_cast<const NMHEADERW*>(hdr);
    switch (hdr->code) {
    case HDN_ITEMCHANGEDW:
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && ValidColumn(s, nm->iItem)) {
            s.columns[static_cast<size_t>(nm->iItem)].width = std::max(0, nm->pitem->cxy);
            LayoutHeader(s);
            UpdateScrollBars(s);
            InvalidateAll(s);
        }
        if (nm->pitem && (nm->pitem->mask & HDI_ORDER))
            RefreshOrder(s);
        return answer;
    case HDN_ITEMCLICKW:
        if (ValidColumn(s, nm->iItem))
            NotifyListView(s, LVN_COLUMNCLICK, -1, nm->iItem);
        return answer;
    case HDN_DIVIDERDBLCLICKW:
        if (!answer && ValidColumn(s, nm->iItem))
            SetColumnWidth(s, nm->iItem, LVSCW_AUTOSIZE);
        return answer;
    default:
        return answer;
    }
}

} // namespace zyn::comctl::detail
