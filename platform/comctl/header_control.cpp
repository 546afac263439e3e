// The header control's window class: its state table, items and order, geometry, the
// HDM_ messages and its registration.
#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/user/winuser.h"
#include "platform/comctl/header_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"

namespace zyn::comctl {

namespace detail {
namespace {

struct HeaderTable {
    std::mutex m;
    std::map<HWND, std::shared_ptr<HeaderState>> states;
};

HeaderTable& Table()
{
    static HeaderTable* t = new HeaderTable; // never destroyed: headers may outlive statics
    return *t;
}

void AddState(HWND hwnd)
{
    HeaderTable& t = Table();
    std::lock_guard lock(t.m);
    // States of windows that went away without WM_NCDESTROY (a test reset) go first.
    std::erase_if(t.states, [](const auto& kv) { return !::IsWindow(kv.first); });
    auto s = std::make_shared<HeaderState>();
    s->self = hwnd;
    t.states[hwnd] = std::move(s);
}

void RemoveState(HWND hwnd)
{
    HeaderTable& t = Table();
    std::lock_guard lock(t.m);
    t.states.erase(hwnd);
}

bool ValidIndex(const HeaderState& s, int i) { return i >= 0 && i < static_cast<int>(s.items.size()); }

int PositionOf(const HeaderState& s, int index)
{
    const auto it = std::find(s.order.begin(), s.order.end(), index);
    return it == s.order.end() ? -1 : static_cast<int>(it - s.order.begin());
}

void ReadItem(HeaderItem& item, const HDITEMW& in)
{
    if (in.mask & HDI_WIDTH)
        item.width = in.cxy;
    if (in.mask & HDI_TEXT) {
        item.textCallback = in.pszText == LPSTR_TEXTCALLBACKW;
        item.text = (!item.textCallback && in.pszText) ? std::wstring(in.pszText) : std::wstring();
    }
    if (in.mask & HDI_FORMAT)
        item.fmt = in.fmt;
    if (in.mask & HDI_LPARAM)
        item.lParam = in.lParam;
    if (in.mask & HDI_IMAGE)
        item.image = in.iImage;
    if (in.mask & HDI_BITMAP)
        item.bitmap = in.hbm;
    if (in.mask & HDI_STATE)
        item.state = in.state;
}

void MoveToPosition(HeaderState& s, int index, int position)
{
    const int from = PositionOf(s, index);
    if (from < 0)
        return;
    s.order.erase(s.order.begin() + from);
    position = std::clamp(position, 0, static_cast<int>(s.order.size()));
    s.order.insert(s.order.begin() + position, index);
    ++s.orderVersion;
}

LRESULT InsertItem(HeaderState& s, WPARAM wp, const HDITEMW* in)
{
    if (!in)
        return -1;
    const int count = static_cast<int>(s.items.size());
    const int index = std::clamp(static_cast<int>(wp), 0, count);
    HeaderItem item;
    ReadItem(item, *in);
    s.items.insert(s.items.begin() + index, std::move(item));
    for (int& o : s.order) {
        if (o >= index)
            ++o;
    }
    const int position = (in->mask & HDI_ORDER) ? std::clamp(in->iOrder, 0, count) : index;
    s.order.insert(s.order.begin() + position, index);
    ++s.orderVersion;
    RedrawHeader(s);
    return index;
}

LRESULT DeleteItem(HeaderState& s, WPARAM wp)
{
    const int index = static_cast<int>(wp);
    if (!ValidIndex(s, index))
        return FALSE;
    if (s.modeItem == index) {
        s.mode = HeaderMode::None;
        s.modeItem = -1;
        if (::GetCapture() == s.self)
            ::ReleaseCapture();
    } else if (s.modeItem > index) {
        --s.modeItem;
    }
    s.items.erase(s.items.begin() + index);
    s.order.erase(std::find(s.order.begin(), s.order.end(), index));
    for (int& o : s.order) {
        if (o > index)
            --o;
    }
    ++s.orderVersion;
    RedrawHeader(s);
    return TRUE;
}

LRESULT GetItem(HeaderState& s, WPARAM wp, HDITEMW* out)
{
    const int index = static_cast<int>(wp);
    if (!out || !ValidIndex(s, index))
        return FALSE;
    const HeaderItem& item = s.items[static_cast<size_t>(index)];
    if (out->mask & HDI_WIDTH)
        out->cxy = item.width;
    if (out->mask & HDI_FORMAT)
        out->fmt = item.fmt;
    if (out->mask & HDI_LPARAM)
        out->lParam = item.lParam;
    if (out->mask & HDI_IMAGE)
        out->iImage = item.image;
    if (out->mask & HDI_BITMAP)
        out->hbm = item.bitmap;
    if (out->mask & HDI_ORDER)
        out->iOrder = PositionOf(s, index);
    if (out->mask & HDI_STATE)
        out->state = item.state;
    if ((out->mask & HDI_TEXT) && out->pszText && out->pszText != LPSTR_TEXTCALLBACKW && out->cchTextMax > 0) {
        const std::wstring text = HeaderItemText(s, index);
        const size_t n = std::min(text.size(), static_cast<size_t>(out->cchTextMax - 1));
        std::wmemcpy(out->pszText, text.data(), n);
        out->pszText[n] = L'\0';
    }
    return TRUE;
}

LRESULT SetItem(HeaderState& s, WPARAM wp, const HDITEMW* in)
{
    const int index = static_cast<int>(wp);
    if (!in || !ValidIndex(s, index))
        return FALSE;
    HDITEMW copy = *in;
    if (NotifyHeader(s, HDN_ITEMCHANGINGW, index, 0, &copy) || s.destroyed)
        return FALSE;
    if (!ValidIndex(s, index))
        return FALSE;
    ReadItem(s.items[static_cast<size_t>(index)], *in);
    if (in->mask & HDI_ORDER)
        MoveToPosition(s, index, in->iOrder);
    RedrawHeader(s);
    copy = *in;
    NotifyHeader(s, HDN_ITEMCHANGEDW, index, 0, &copy);
    return TRUE;
}

LRESULT Layout(HeaderState& s, HDLAYOUT* layout)
{
    if (!layout || !layout->prc || !layout->pwpos)
        return FALSE;
    RECT& rc = *layout->prc;
    const bool hidden = (::GetWindowLongW(s.self, GWL_STYLE) & HDS_HIDDEN) != 0;
    const int height = hidden ? 0 : HeaderHeight(s);
    WINDOWPOS& wp = *layout->pwpos;
    wp.hwnd = s.self;
    wp.hwndInsertAfter = nullptr;
    wp.x = rc.left;
    wp.y = rc.top;
    wp.cx = rc.right - rc.left;
    wp.cy = height;
    wp.flags = hidden ? SWP_HIDEWINDOW : 0;
    rc.top += height;
    return TRUE;
}

LRESULT GetOrderArray(const HeaderState& s, WPARAM count, int* out)
{
    if (!out || count != s.order.size())
        return FALSE;
    std::copy(s.order.begin(), s.order.end(), out);
    return TRUE;
}

LRESULT SetOrderArray(HeaderState& s, WPARAM count, const int* in)
{
    if (!in || count != s.order.size())
        return FALSE;
    std::vector<int> next(in, in + count);
    std::vector<int> check = next;
    std::sort(check.begin(), check.end());
    for (size_t i = 0; i < check.size(); ++i) {
        if (check[i] != static_cast<int>(i))
            return FALSE; // not a permutation of the items
    }
    s.order = std::move(next);
    ++s.orderVersion;
    RedrawHeader(s);
    return TRUE;
}

bool HandleHeaderMessage(HeaderState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case HDM_GETITEMCOUNT:
        result = static_cast<LRESULT>(s.items.size());
        return true;
    case HDM_INSERTITEMW:
        result = InsertItem(s, wp, reinterpret_cast<const HDITEMW*>(lp));
        return true;
    case HDM_DELETEITEM:
        result = DeleteItem(s, wp);
        return true;
    case HDM_GETITEMW:
        result = GetItem(s, wp, reinterpret_cast<HDITEMW*>(lp));
        return true;
    case HDM_SETITEMW:
        result = SetItem(s, wp, reinterpret_cast<const HDITEMW*>(lp));
        return true;
    case HDM_LAYOUT:
        result = Layout(s, reinterpret_cast<HDLAYOUT*>(lp));
        return true;
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
        if (!info) {
            result = -1;
            return true;
        }
        info->iItem = HeaderHitTest(s, info->pt, info->flags);
        result = info->iItem;
        return true;
    }
    case HDM_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        result = rc && HeaderItemRect(s, static_cast<int>(wp), *rc) ? TRUE : FALSE;
        return true;
    }
    case HDM_SETIMAGELIST:
        result = reinterpret_cast<LRESULT>(s.images);
        s.images = reinterpret_cast<HIMAGELIST>(lp);
        RedrawHeader(s);
        return true;
    case HDM_GETIMAGELIST:
        result = reinterpret_cast<LRESULT>(s.images);
        return true;
    case HDM_ORDERTOINDEX: {
        const size_t position = static_cast<size_t>(wp);
        result = position < s.order.size() ? s.order[position] : static_cast<LRESULT>(wp);
        return true;
    }
    case HDM_GETORDERARRAY:
        result = GetOrderArray(s, wp, reinterpret_cast<int*>(lp));
        return true;
    case HDM_SETORDERARRAY:
        result = SetOrderArray(s, wp, reinterpret_cast<const int*>(lp));
        return true;
    default:
        return false;
    }
}

LRESULT HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE)
        AddState(hwnd);
    const std::shared_ptr<HeaderState> sp = HeaderStateOf(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    HeaderState& s = *sp;
    LRESULT result = 0;
    if (msg >= HDM_FIRST && msg < HDM_FIRST + 0x100 && HandleHeaderMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_NCDESTROY:
        s.destroyed = true;
        RemoveState(hwnd);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : ::BeginPaint(hwnd, &ps);
        if (dc)
            PaintHeader(s, dc);
        if (!wp)
            ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintHeader(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting covers every pixel
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            RedrawHeader(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETREDRAW:
        s.redraw = wp != 0;
        if (s.redraw)
            ::InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        HeaderButtonDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        HeaderMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_LBUTTONUP:
        HeaderButtonUp(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd)
            HeaderCancelMode(s);
        return 0;
    case WM_CANCELMODE:
        HeaderCancelMode(s);
        return 0;
    case WM_KEYDOWN:
        if (wp == static_cast<WPARAM>(VK_ESCAPE) && s.mode != HeaderMode::None) {
            HeaderCancelMode(s);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT && HeaderSetCursor(s))
            return TRUE;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_STYLECHANGED:
    case WM_SIZE:
    case WM_SYSCOLORCHANGE:
        RedrawHeader(s);
        return msg == WM_SIZE ? 0 : ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_NOTIFYFORMAT:
        return NFR_UNICODE;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

std::shared_ptr<HeaderState> HeaderStateOf(HWND hwnd)
{
    HeaderTable& t = Table();
    std::lock_guard lock(t.m);
    const auto it = t.states.find(hwnd);
    return it == t.states.end() ? nullptr : it->second;
}

HFONT HeaderFont(const HeaderState& s)
{
    return s.font ? s.font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int HeaderHeight(const HeaderState& s)
{
    HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, HeaderFont(s));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    int height = tm.tmHeight;
    int cx = 0, cy = 0;
    if (s.images && ::ImageList_GetIconSize(s.images, &cx, &cy))
        height = std::max(height, cy);
    return height + kHeaderExtraHeight;
}

bool HeaderItemRect(const HeaderState& s, int index, RECT& rc)
{
    if (!ValidIndex(s, index))
        return false;
    RECT client{};
    ::GetClientRect(s.self, &client);
    int64_t x = 0;
    for (const int i : s.order) {
        const int w = std::max(0, s.items[static_cast<size_t>(i)].width);
        if (i == index) {
            rc = RECT{ClampEdge(x), 0, ClampEdge(x + w), client.bottom};
            return true;
        }
        x += w;
    }
    return false;
}

int HeaderHitTest(const HeaderState& s, POINT pt, UINT& flags)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    flags = 0;
    if (pt.y < client.top)
        flags |= HHT_ABOVE;
    else if (pt.y >= client.bottom)
        flags |= HHT_BELOW;
    if (pt.x < client.left)
        flags |= HHT_TOLEFT;
    else if (pt.x >= client.right)
        flags |= HHT_TORIGHT;
    if (flags)
        return -1;
    // Dividers first: they reach a little into the next item. The edge nearest to the
    // point counts; left of it the visible item ending there is resized, right of it a
    // zero-width item that follows is opened.
    int64_t x = 0;
    int64_t edge = 0;
    int best = kDividerGrab + 1;
    for (const int i : s.order) {
        x += std::max(0, s.items[static_cast<size_t>(i)].width);
        if (pt.x >= x - kDividerGrab && pt.x < x + kDividerGrab && std::abs(pt.x - x) < best) {
            best = static_cast<int>(std::abs(pt.x - x));
            edge = x;
        }
    }
    if (best <= kDividerGrab) {
        int visible = -1, hidden = -1;
        x = 0;
        for (const int i : s.order) {
            const int w = std::max(0, s.items[static_cast<size_t>(i)].width);
            x += w;
            if (x != edge)
                continue;
            if (w > 0)
                visible = i;
            else
                hidden = i;
        }
        if (hidden >= 0 && (pt.x >= edge || visible < 0)) {
            flags = HHT_ONDIVOPEN;
            return hidden;
        }
        if (visible >= 0) {
            flags = HHT_ONDIVIDER;
            return visible;
        }
    }
    x = 0;
    for (const int i : s.order) {
        const int w = std::max(0, s.items[static_cast<size_t>(i)].width);
        if (pt.x >= x && pt.x < x + w) {
            flags = HHT_ONHEADER;
            return i;
        }
        x += w;
    }
    flags = HHT_NOWHERE;
    return -1;
}

LRESULT NotifyHeader(HeaderState& s, UINT code, int item, int button, HDITEMW* pitem)
{
    NMHEADERW nm{};
    nm.hdr.hwndFrom = s.self;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(s.self));
    nm.hdr.code = code;
    nm.iItem = item;
    nm.iButton = button;
    nm.pitem = pitem;
    const HWND parent = ::GetParent(s.self);
    if (!parent)
        return 0;
    return ::SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

bool ChangeItemWidth(HeaderState& s, int item, int width)
{
    if (!ValidIndex(s, item))
        return false;
    HDITEMW change{};
    change.mask = HDI_WIDTH;
    change.cxy = width;
    if (NotifyHeader(s, HDN_ITEMCHANGINGW, item, 0, &change) || s.destroyed || !ValidIndex(s, item))
        return false;
    s.items[static_cast<size_t>(item)].width = width;
    RedrawHeader(s);
    change.cxy = width;
    NotifyHeader(s, HDN_ITEMCHANGEDW, item, 0, &change);
    return true;
}

std::wstring HeaderItemText(HeaderState& s, int item)
{
    if (!ValidIndex(s, item))
        return {};
    if (!s.items[static_cast<size_t>(item)].textCallback)
        return s.items[static_cast<size_t>(item)].text;
    WCHAR buffer[260] = L"";
    NMHDDISPINFOW di{};
    di.hdr.hwndFrom = s.self;
    di.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(s.self));
    di.hdr.code = HDN_GETDISPINFOW;
    di.iItem = item;
    di.mask = HDI_TEXT;
    di.pszText = buffer;
    di.cchTextMax = 260;
    di.lParam = s.items[static_cast<size_t>(item)].lParam;
    if (const HWND parent = ::GetParent(s.self))
        ::SendMessageW(parent, WM_NOTIFY, di.hdr.idFrom, reinterpret_cast<LPARAM>(&di));
    if (!di.pszText || di.pszText == LPSTR_TEXTCALLBACKW)
        return {};
    // The answer is read no further than the buffer when it is the buffer.
    if (di.pszText == buffer)
        return std::wstring(buffer, wcsnlen(buffer, 260));
    std::wstring text(di.pszText);
    if ((di.mask & HDI_DI_SETITEM) && ValidIndex(s, item)) {
        s.items[static_cast<size_t>(item)].text = text;
        s.items[static_cast<size_t>(item)].textCallback = false;
    }
    return text;
}

} // namespace detail

size_t LiveHeaderCount()
{
    detail::HeaderTable& t = detail::Table();
    std::lock_guard lock(t.m);
    return static_cast<size_t>(
        std::count_if(t.states.begin(), t.states.end(), [](const auto& kv) { return ::IsWindow(kv.first); }));
}

BOOL RegisterHeaderClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, WC_HEADERW, &have) && have.lpfnWndProc == &detail::HeaderProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &detail::HeaderProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_HEADERW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl
