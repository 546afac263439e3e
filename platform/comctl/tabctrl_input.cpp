// The tab control's input and what it tells its parent: clicks (selection, focus,
// TCS_MULTISELECT presses, NM_CLICK / NM_RCLICK / NM_DBLCLK), keys (TCN_KEYDOWN, arrows,
// Ctrl+Tab, Space and Enter on buttons), hot tracking and the tooltip relay.
#include <algorithm>

#include "platform/comctl/tabctrl_state.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

bool TakesFocusOnClick(DWORD style)
{
    if (style & TCS_FOCUSNEVER)
        return false;
    // Tabs take the focus when clicked; buttons only when asked to.
    return !(style & TCS_BUTTONS) || (style & TCS_FOCUSONBUTTONDOWN);
}

void SetHot(TabState& s, int index)
{
    if (s.hot == index)
        return;
    s.hot = index;
    if (index >= 0 && !s.trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, s.self, 0};
        s.trackingLeave = ::TrackMouseEvent(&tme) != FALSE;
    }
    const DWORD style = StyleOf(s.self);
    if ((style & TCS_HOTTRACK) || ((style & TCS_BUTTONS) && (style & TCS_FLATBUTTONS)))
        RedrawTabs(s);
}

} // namespace

LRESULT NotifyCode(HWND hwnd, UINT code)
{
    const HWND target = zyn::user::NotifyTarget(hwnd);
    if (!target)
        return 0;
    NMHDR hdr{hwnd, static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd)), code};
    return ::SendMessageW(target, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

bool UserSelect(TabState& s, int index)
{
    const HWND hwnd = s.self;
    if (!s.Valid(index) || index == s.sel)
        return false;
    if (NotifyCode(hwnd, TCN_SELCHANGING) != 0 || !::IsWindow(hwnd))
        return false;
    // The parent may have changed the items while it was asked.
    if (!s.Valid(index))
        return false;
    std::vector<RECT> was;
    was.reserve(s.items.size());
    for (const TabItem& item : s.items)
        was.push_back(item.rect);
    const int oldSel = s.sel, oldFocus = s.focus, oldRows = s.rows;
    s.sel = s.focus = index;
    Relayout(s, true);
    if (!RedrawMovedRows(s, was, oldRows, oldSel, oldFocus))
        RedrawTabs(s);
    NotifyCode(hwnd, TCN_SELCHANGE);
    return ::IsWindow(hwnd) != FALSE;
}

void SetFocusItem(TabState& s, int index)
{
    if (!s.Valid(index) || index == s.focus)
        return;
    s.focus = index;
    RedrawTabs(s);
    NotifyCode(s.self, TCN_FOCUSCHANGE);
}

void OnButtonDown(TabState& s, UINT msg, POINT pt)
{
    const HWND hwnd = s.self;
    const DWORD style = StyleOf(hwnd);
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) {
        s.rightDown = true;
        return;
    }
    const int index = HitTestItem(s, pt, nullptr);
    if (TakesFocusOnClick(style) && ::GetFocus() != hwnd) {
        ::SetFocus(hwnd);
        if (!::IsWindow(hwnd))
            return;
    }
    s.leftDown = true;
    if (s.Valid(index)) {
        if ((style & TCS_BUTTONS) && (style & TCS_MULTISELECT) && ::GetKeyState(VK_CONTROL) < 0) {
            // Ctrl+click presses or releases one more button; the selection stays.
            s.items[static_cast<size_t>(index)].state ^= TCIS_BUTTONPRESSED;
            RedrawTabs(s);
        } else if (index != s.sel) {
            if (!UserSelect(s, index) && !::IsWindow(hwnd))
                return;
        }
    }
    if (msg == WM_LBUTTONDBLCLK)
        NotifyCode(hwnd, NM_DBLCLK);
}

void OnButtonUp(TabState& s, UINT msg)
{
    if (msg == WM_LBUTTONUP && s.leftDown) {
        s.leftDown = false;
        NotifyCode(s.self, NM_CLICK);
    } else if (msg == WM_RBUTTONUP && s.rightDown) {
        s.rightDown = false;
        NotifyCode(s.self, NM_RCLICK);
    }
}

void OnMouseMove(TabState& s, POINT pt) { SetHot(s, HitTestItem(s, pt, nullptr)); }

void OnMouseLeave(TabState& s)
{
    s.trackingLeave = false;
    SetHot(s, -1);
}

void OnKeyDown(TabState& s, WPARAM vk, LPARAM flags)
{
    const HWND hwnd = s.self;
    NMTCKEYDOWN kd{};
    kd.hdr = NMHDR{hwnd, static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd)), TCN_KEYDOWN};
    kd.wVKey = static_cast<WORD>(vk);
    kd.flags = static_cast<UINT>(flags);
    if (const HWND target = zyn::user::NotifyTarget(hwnd))
        ::SendMessageW(target, WM_NOTIFY, kd.hdr.idFrom, reinterpret_cast<LPARAM>(&kd));
    if (!::IsWindow(hwnd) || s.items.empty())
        return;
    const DWORD style = StyleOf(hwnd);
    const bool buttons = (style & TCS_BUTTONS) != 0;
    const int n = static_cast<int>(s.items.size());
    int step = 0;
    bool wrap = false;
    switch (vk) {
    case VK_LEFT:
    case VK_UP: step = -1; break;
    case VK_RIGHT:
    case VK_DOWN: step = 1; break;
    case VK_TAB:
        if (::GetKeyState(VK_CONTROL) >= 0)
            return;
        step = ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        wrap = true;
        break;
    case VK_SPACE:
    case VK_RETURN:
        if (buttons && s.Valid(s.focus))
            UserSelect(s, s.focus);
        return;
    default: return;
    }
    // Arrows move the focus among buttons and the selection among tabs; Ctrl+Tab always
    // moves the selection, round from the last to the first.
    const bool focusOnly = buttons && vk != VK_TAB;
    const int from = focusOnly ? (s.Valid(s.focus) ? s.focus : s.sel) : s.sel;
    int to = from < 0 ? (step > 0 ? 0 : n - 1) : from + step;
    if (wrap)
        to = (to + n) % n;
    if (to < 0 || to >= n)
        return;
    if (focusOnly)
        SetFocusItem(s, to);
    else
        UserSelect(s, to);
}

LRESULT DlgCode(const MSG* msg)
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0)
        code |= DLGC_WANTMESSAGE;
    return code;
}

void RelayToTooltip(TabState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!s.tooltip || !::IsWindow(s.tooltip))
        return;
    MSG m{s.self, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {}};
    const DWORD pos = ::GetMessagePos();
    m.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
    ::SendMessageW(s.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

} // namespace zyn::comctl::detail
