// The tab control's window class: the TCM_ messages (items in both text forms, the
// selection and focus, geometry, sizes, images, styles, the tooltip), the window messages
// it answers and its registration.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>

#include "platform/base/codepage.h"
#include "platform/comctl/tabctrl_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/user_hooks.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

using zyn::user::ControlStateOf;

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

const LPWSTR kCallbackW = reinterpret_cast<LPWSTR>(static_cast<intptr_t>(-1));
constexpr int kMaxItemExtra = 0x10000;

// What the caller's item structure says, the text already wide.
struct ItemIn {
    UINT mask = 0;
    DWORD state = 0, stateMask = 0;
    std::wstring text;
    int image = -1;
    const BYTE* data = nullptr;   // cbExtra bytes at the structure's lParam
};

ItemIn ReadItem(const void* p, bool ansi)
{
    ItemIn in;
    if (ansi) {
        const auto* it = static_cast<const TCITEMA*>(p);
        in.mask = it->mask;
        in.state = it->dwState;
        in.stateMask = it->dwStateMask;
        // A callback marker or a null pointer shows nothing: tabs have no text callback.
        if ((it->mask & TCIF_TEXT) && it->pszText && it->pszText != reinterpret_cast<LPSTR>(static_cast<intptr_t>(-1)))
            in.text = zyn::base::AnsiToWide(it->pszText);
        in.image = it->iImage;
    } else {
        const auto* it = static_cast<const TCITEMW*>(p);
        in.mask = it->mask;
        in.state = it->dwState;
        in.stateMask = it->dwStateMask;
        if ((it->mask & TCIF_TEXT) && it->pszText && it->pszText != kCallbackW)
            in.text = it->pszText;
        in.image = it->iImage;
    }
    in.data = static_cast<const BYTE*>(p) + kTcItemDataOffset;
    return in;
}

void Apply(TabState& s, TabItem& item, const ItemIn& in)
{
    if ((in.mask & TCIF_TEXT) && item.text != in.text) {
        item.text = in.text;
        item.measured = false;
    }
    if (in.mask & TCIF_IMAGE)
        item.image = in.image;
    if (in.mask & TCIF_RTLREADING)
        item.rtlReading = true;
    if (in.mask & TCIF_STATE)
        item.state = (item.state & ~in.stateMask) | (in.state & in.stateMask);
    if (in.mask & TCIF_PARAM)
        item.data.assign(in.data, in.data + s.cbExtra);
}

LRESULT InsertItem(TabState& s, WPARAM wp, const void* p, bool ansi)
{
    const int index = static_cast<int>(wp);
    if (!p || index < 0)
        return -1;
    const int at = std::min(index, static_cast<int>(s.items.size()));
    TabItem item;
    item.data.assign(static_cast<size_t>(s.cbExtra), 0);
    Apply(s, item, ReadItem(p, ansi));
    s.items.insert(s.items.begin() + at, std::move(item));
    if (s.items.size() == 1) {
        s.sel = s.focus = 0;
    } else {
        if (s.sel >= at)
            ++s.sel;
        if (s.focus >= at)
            ++s.focus;
    }
    s.hot = -1;
    Relayout(s);
    RedrawTabs(s);
    return at;
}

LRESULT SetItem(TabState& s, WPARAM wp, const void* p, bool ansi)
{
    const int index = static_cast<int>(wp);
    if (!p || !s.Valid(index))
        return FALSE;
    Apply(s, s.items[static_cast<size_t>(index)], ReadItem(p, ansi));
    Relayout(s);
    RedrawTabs(s);
    return TRUE;
}

LRESULT GetItem(TabState& s, WPARAM wp, void* p, bool ansi)
{
    const int index = static_cast<int>(wp);
    if (!p || !s.Valid(index))
        return FALSE;
    const TabItem& item = s.items[static_cast<size_t>(index)];
    const bool pressedBySelection = (StyleOf(s.self) & TCS_BUTTONS) && index == s.sel;
    const DWORD state = item.state | (pressedBySelection ? TCIS_BUTTONPRESSED : 0);
    UINT mask;
    if (ansi) {
        auto* it = static_cast<TCITEMA*>(p);
        mask = it->mask;
        if ((mask & TCIF_TEXT) && it->pszText && it->cchTextMax > 0) {
            const std::string narrow = zyn::base::WideToAnsi(item.text);
            const size_t n = std::min(narrow.size(), static_cast<size_t>(it->cchTextMax) - 1);
            std::memcpy(it->pszText, narrow.data(), n);
            it->pszText[n] = '\0';
        }
        if (mask & TCIF_IMAGE)
            it->iImage = item.image;
        if (mask & TCIF_STATE)
            it->dwState = state & it->dwStateMask;
    } else {
        auto* it = static_cast<TCITEMW*>(p);
        mask = it->mask;
        if ((mask & TCIF_TEXT) && it->pszText && it->pszText != kCallbackW && it->cchTextMax > 0) {
            const size_t n = std::min(item.text.size(), static_cast<size_t>(it->cchTextMax) - 1);
            std::wmemcpy(it->pszText, item.text.data(), n);
            it->pszText[n] = L'\0';
        }
        if (mask & TCIF_IMAGE)
            it->iImage = item.image;
        if (mask & TCIF_STATE)
            it->dwState = state & it->dwStateMask;
    }
    if ((mask & TCIF_PARAM) && !item.data.empty())
        std::memcpy(static_cast<BYTE*>(p) + kTcItemDataOffset, item.data.data(), item.data.size());
    return TRUE;
}

LRESULT DeleteItem(TabState& s, WPARAM wp)
{
    const int index = static_cast<int>(wp);
    if (!s.Valid(index))
        return FALSE;
    s.items.erase(s.items.begin() + index);
    // The selected tab gone, none is selected: the owner chooses the next one.
    if (s.sel == index)
        s.sel = -1;
    else if (s.sel > index)
        --s.sel;
    if (s.focus == index)
        s.focus = -1;
    else if (s.focus > index)
        --s.focus;
    s.hot = -1;
    Relayout(s);
    RedrawTabs(s);
    return TRUE;
}

LRESULT DeleteAll(TabState& s)
{
    s.items.clear();
    s.sel = s.focus = s.hot = -1;
    s.firstVisible = 0;
    Relayout(s);
    RedrawTabs(s);
    return TRUE;
}

LRESULT SetCurSel(TabState& s, WPARAM wp)
{
    const int index = static_cast<int>(wp);
    if (!s.Valid(index))
        return -1;
    const int old = s.sel;
    s.sel = s.focus = index;
    Relayout(s, true);
    RedrawTabs(s);
    return old;
}

void SetCurFocus(TabState& s, WPARAM wp)
{
    const int index = static_cast<int>(wp);
    if (!s.Valid(index))
        return;
    if (StyleOf(s.self) & TCS_BUTTONS)
        SetFocusItem(s, index);
    else if (index != s.sel)
        UserSelect(s, index);
}

LRESULT SetItemSize(TabState& s, LPARAM lp)
{
    EnsureLayout(s);
    const int oldCx = s.itemSize.cx > 0 ? s.itemSize.cx : s.widestNatural;
    const int oldCy = s.rowHeight;
    s.itemSize = SIZE{static_cast<SHORT>(LOWORD(static_cast<DWORD>(lp))), static_cast<SHORT>(HIWORD(static_cast<DWORD>(lp)))};
    s.itemSize.cx = std::max<LONG>(0, s.itemSize.cx);
    s.itemSize.cy = std::max<LONG>(0, s.itemSize.cy);
    Relayout(s);
    RedrawTabs(s);
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(oldCx), static_cast<WORD>(oldCy)));
}

void RemoveImage(TabState& s, WPARAM wp)
{
    const int image = static_cast<int>(wp);
    if (s.images)
        ::ImageList_Remove(s.images, image);
    // Every tab keeps the picture it had.
    for (TabItem& item : s.items) {
        if (item.image == image)
            item.image = -1;
        else if (item.image > image)
            --item.image;
    }
    Relayout(s);
    RedrawTabs(s);
}

void DeselectAll(TabState& s, bool excludeFocus)
{
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        if (!excludeFocus || i != s.focus)
            s.items[static_cast<size_t>(i)].state &= ~TCIS_BUTTONPRESSED;
    }
    if (!excludeFocus && (StyleOf(s.self) & TCS_BUTTONS))
        s.sel = -1;
    RedrawTabs(s);
}

void MakeTooltip(TabState& s)
{
    s.ownTooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.self, nullptr, nullptr, nullptr);
    s.tooltip = s.ownTooltip;
    s.tooltipTools = 0;
}

// True when the whole client area waits for a paint.
bool WholeClientInvalid(HWND hwnd)
{
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HRGN update = ::CreateRectRgn(0, 0, 0, 0);
    if (!update)
        return false;
    RECT box{};
    const bool whole = ::GetUpdateRgn(hwnd, update, FALSE) == SIMPLEREGION && ::GetRgnBox(update, &box) &&
                       ::EqualRect(&box, &client);
    ::DeleteObject(update);
    return whole;
}

void OnPaint(TabState& s)
{
    // Whether the screen then shows only what this paint and the clean screen before it
    // drew: the paint's own DC was the only one handed out since, and none was held across.
    const zyn::user::DcUse before = zyn::user::DcUseOf(s.self);
    const bool wasClean = s.screenClean && before == s.cleanDcs;
    const bool whole = !wasClean && WholeClientInvalid(s.self);
    s.screenClean = false;
    PAINTSTRUCT ps;
    if (HDC dc = ::BeginPaint(s.self, &ps)) {
        const bool contained = PaintTabs(s, dc, true);
        ::EndPaint(s.self, &ps);
        const zyn::user::DcUse after = zyn::user::DcUseOf(s.self);
        if (before.held == 0 && after.held == 0 && after.handedOut == before.handedOut + 1 && contained &&
            (wasClean || whole)) {
            s.screenClean = true;
            s.cleanDcs = after;
        }
    }
}

bool HandleTabMessage(TabState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    void* ptr = reinterpret_cast<void*>(lp);
    switch (msg) {
    case TCM_GETIMAGELIST:
        result = reinterpret_cast<LRESULT>(s.images);
        return true;
    case TCM_SETIMAGELIST:
        result = reinterpret_cast<LRESULT>(s.images);
        s.images = reinterpret_cast<HIMAGELIST>(lp);
        DropTabPictures(s);
        Relayout(s);
        RedrawTabs(s);
        return true;
    case TCM_GETITEMCOUNT:
        result = static_cast<LRESULT>(s.items.size());
        return true;
    case TCM_GETITEMA:
    case TCM_GETITEMW:
        result = GetItem(s, wp, ptr, msg == TCM_GETITEMA);
        return true;
    case TCM_SETITEMA:
    case TCM_SETITEMW:
        result = SetItem(s, wp, ptr, msg == TCM_SETITEMA);
        return true;
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW:
        result = InsertItem(s, wp, ptr, msg == TCM_INSERTITEMA);
        return true;
    case TCM_DELETEITEM:
        result = DeleteItem(s, wp);
        return true;
    case TCM_DELETEALLITEMS:
        result = DeleteAll(s);
        return true;
    case TCM_GETITEMRECT: {
        EnsureLayout(s);
        const int index = static_cast<int>(wp);
        if (!s.Valid(index) || !ptr) {
            result = FALSE;
            return true;
        }
        *static_cast<RECT*>(ptr) = s.items[static_cast<size_t>(index)].rect;
        result = TRUE;
        return true;
    }
    case TCM_GETCURSEL:
        result = s.sel;
        return true;
    case TCM_SETCURSEL:
        result = SetCurSel(s, wp);
        return true;
    case TCM_HITTEST: {
        auto* info = static_cast<TCHITTESTINFO*>(ptr);
        result = info ? HitTestItem(s, info->pt, &info->flags) : -1;
        return true;
    }
    case TCM_SETITEMEXTRA: {
        const int cb = static_cast<int>(wp);
        // Every item holds (and every item call copies) that many bytes: a size no caller
        // means is refused rather than allocated.
        if (!s.items.empty() || cb < 0 || cb > kMaxItemExtra) {
            result = FALSE;
            return true;
        }
        s.cbExtra = cb;
        result = TRUE;
        return true;
    }
    case TCM_ADJUSTRECT:
        if (ptr) {
            EnsureLayout(s);
            auto* rc = static_cast<RECT*>(ptr);
            *rc = AdjustTabRect(StyleOf(s.self), s.rows, s.rowHeight, *rc, wp != 0);
        }
        return true;
    case TCM_SETITEMSIZE:
        result = SetItemSize(s, lp);
        return true;
    case TCM_REMOVEIMAGE:
        RemoveImage(s, wp);
        return true;
    case TCM_SETPADDING:
        s.padding = SIZE{LOWORD(static_cast<DWORD>(lp)), HIWORD(static_cast<DWORD>(lp))};
        Relayout(s);
        RedrawTabs(s);
        return true;
    case TCM_GETROWCOUNT:
        EnsureLayout(s);
        result = s.rows;
        return true;
    case TCM_GETTOOLTIPS:
        result = reinterpret_cast<LRESULT>(s.tooltip);
        return true;
    case TCM_SETTOOLTIPS:
        s.tooltip = reinterpret_cast<HWND>(wp);
        s.tooltipTools = 0;
        Relayout(s);
        return true;
    case TCM_GETCURFOCUS:
        result = s.focus;
        return true;
    case TCM_SETCURFOCUS:
        SetCurFocus(s, wp);
        return true;
    case TCM_SETMINTABWIDTH: {
        result = s.minTabWidth;
        const int cx = static_cast<int>(lp);
        s.minTabWidth = cx < 0 ? 0 : cx;
        Relayout(s);
        RedrawTabs(s);
        return true;
    }
    case TCM_DESELECTALL:
        DeselectAll(s, wp != 0);
        return true;
    case TCM_HIGHLIGHTITEM: {
        const int index = static_cast<int>(wp);
        if (!s.Valid(index)) {
            result = FALSE;
            return true;
        }
        DWORD& st = s.items[static_cast<size_t>(index)].state;
        st = LOWORD(static_cast<DWORD>(lp)) ? (st | TCIS_HIGHLIGHTED) : (st & ~TCIS_HIGHLIGHTED);
        RedrawTabs(s);
        result = TRUE;
        return true;
    }
    case TCM_SETEXTENDEDSTYLE: {
        result = s.exStyle;
        const DWORD mask = wp ? static_cast<DWORD>(wp) : ~DWORD(0);
        s.exStyle = (s.exStyle & ~mask) | (static_cast<DWORD>(lp) & mask);
        RedrawTabs(s);
        return true;
    }
    case TCM_GETEXTENDEDSTYLE:
        result = s.exStyle;
        return true;
    default:
        return false;
    }
}

LRESULT TabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<TabState>();
        st->self = hwnd;
        zyn::user::SetControlState(hwnd, st);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    const auto sp = ControlStateOf<TabState>(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    TabState& s = *sp;
    LRESULT result = 0;
    if (msg >= TCM_FIRST && msg < TCM_FIRST + 0x40 && HandleTabMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_CREATE:
        if (StyleOf(hwnd) & TCS_TOOLTIPS)
            MakeTooltip(s);
        Relayout(s);
        return 0;
    case WM_DESTROY:
        // A tooltip handed to us stays its owner's, without our tools.
        if (s.tooltip && s.tooltip != s.ownTooltip && ::IsWindow(s.tooltip)) {
            TOOLINFOW ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = hwnd;
            for (size_t i = 0; i < s.tooltipTools; ++i) {
                ti.uId = i;
                ::SendMessageW(s.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
            }
            s.tooltipTools = 0;
        }
        if (s.ownTooltip && ::IsWindow(s.ownTooltip))
            ::DestroyWindow(s.ownTooltip);
        if (s.tooltip == s.ownTooltip)
            s.tooltip = nullptr;
        s.ownTooltip = nullptr;
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        Relayout(s, msg == WM_SIZE);
        RedrawTabs(s);
        return 0;
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wp);
        DropTabPictures(s);
        Relayout(s);
        if (LOWORD(static_cast<DWORD>(lp)))
            RedrawTabs(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_PAINT:
        OnPaint(s);
        return 0;
    case WM_PRINTCLIENT:
        if (wp)
            PaintTabs(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers the client area
    case WM_SYSCOLORCHANGE:
        // Every tab's picture holds the old colours (a paint would find that out too;
        // this frees them now).
        DropTabPictures(s);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ENABLE:
    case WM_KILLFOCUS:
        RedrawTabs(s);
        return 0;
    case WM_SETFOCUS:
        if (!s.Valid(s.focus) && s.Valid(s.sel))
            s.focus = s.sel;
        RedrawTabs(s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        RelayToTooltip(s, msg, wp, lp);
        OnButtonDown(s, msg, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_LBUTTONUP:
        RelayToTooltip(s, msg, wp, lp);
        OnButtonUp(s, msg);
        return 0;
    case WM_RBUTTONUP:
        RelayToTooltip(s, msg, wp, lp);
        OnButtonUp(s, msg);
        return ::IsWindow(hwnd) ? ::DefWindowProcW(hwnd, msg, wp, lp) : 0;
    case WM_MOUSEMOVE:
        RelayToTooltip(s, msg, wp, lp);
        OnMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave(s);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(s, wp, lp);
        return 0;
    case WM_GETDLGCODE:
        return DlgCode(reinterpret_cast<const MSG*>(lp));
    case WM_HSCROLL:
        if (s.spin && reinterpret_cast<HWND>(lp) == s.spin && LOWORD(static_cast<DWORD>(wp)) == SB_THUMBPOSITION) {
            s.firstVisible = static_cast<int>(::SendMessageW(s.spin, UDM_GETPOS32, 0, 0));
            Relayout(s);
            RedrawTabs(s);
        }
        return 0;
    case WM_NOTIFY: {
        // The tooltip's requests (its tools are our items) go on to the parent.
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr && s.tooltip && hdr->hwndFrom == s.tooltip) {
            if (const HWND target = zyn::user::NotifyTarget(hwnd))
                return ::SendMessageW(target, WM_NOTIFY, wp, lp);
        }
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

} // namespace zyn::comctl::detail

namespace zyn::comctl {

BOOL RegisterTabControlClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, WC_TABCONTROLW, &have) && have.lpfnWndProc == &detail::TabProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &detail::TabProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_TABCONTROLW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl
