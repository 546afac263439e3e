// The "Button" control's behaviour: clicks by mouse, Space and BM_CLICK, check states,
// radio groups, focus and notifications (button.h).
#include "platform/user/button.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/button_internal.h"
#include "platform/user/dialog.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {
namespace {

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }

UINT MaxCheck(DWORD style)
{
    const DWORD t = style & BS_TYPEMASK;
    return (t == BS_3STATE || t == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
}

// Sets or clears style bits without WM_STYLECHANGING/CHANGED, as the control's own
// bookkeeping (a radio button's WS_TABSTOP).
void SetStyleBits(HWND hwnd, DWORD bits, bool on)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    auto lock = LockUser();
    w->style = on ? (w->style | bits) : (w->style & ~bits);
}

void Redraw(HWND hwnd, const ButtonState& st, UINT ownerAction)
{
    if (KindOf(StyleOf(hwnd)) == ButtonKind::OwnerDraw)
        DrawOwnerButton(hwnd, st, ownerAction);
    else
        RedrawControl(hwnd);
}

void SetPushed(HWND hwnd, ButtonState& st, bool on)
{
    if (st.pushed == on)
        return;
    st.pushed = on;
    Redraw(hwnd, st, ODA_SELECT);
}

// The siblings of a control in its group: from the WS_GROUP control at or before it up to
// the next WS_GROUP control.
std::vector<HWND> GroupOf(HWND hwnd)
{
    HWND first = hwnd;
    while (!(StyleOf(first) & WS_GROUP)) {
        const HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev)
            break;
        first = prev;
    }
    std::vector<HWND> out{first};
    for (HWND c = GetWindow(first, GW_HWNDNEXT); c && !(StyleOf(c) & WS_GROUP); c = GetWindow(c, GW_HWNDNEXT))
        out.push_back(c);
    return out;
}

LRESULT SetCheck(HWND hwnd, ButtonState& st, WPARAM wp)
{
    const DWORD style = StyleOf(hwnd);
    const ButtonKind kind = KindOf(style);
    if (kind != ButtonKind::Check && kind != ButtonKind::Radio)
        return 0;
    const UINT v = std::min<UINT>(static_cast<UINT>(wp), MaxCheck(style));
    if (kind == ButtonKind::Radio)
        SetStyleBits(hwnd, WS_TABSTOP, v != BST_UNCHECKED);
    if (st.check != v) {
        st.check = v;
        RedrawControl(hwnd);
    }
    return 0;
}

void Click(HWND hwnd, ButtonState& st)
{
    const DWORD style = StyleOf(hwnd);
    switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
        SetCheck(hwnd, st, st.check ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(hwnd, st, (st.check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        SetCheck(hwnd, st, BST_CHECKED);
        for (HWND other : GroupOf(hwnd))
            if (other != hwnd && (SendMessageW(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
        break;
    default:
        break;
    }
    if (IsWindow(hwnd))
        NotifyParent(hwnd, BN_CLICKED);
}

bool NotifiesDoubleClicks(DWORD style)
{
    const ButtonKind k = KindOf(style);
    return (style & BS_NOTIFY) || k == ButtonKind::Radio || k == ButtonKind::OwnerDraw ||
        (style & BS_TYPEMASK) == BS_USERBUTTON;
}

UINT DlgCodeOf(DWORD style)
{
    switch (style & BS_TYPEMASK) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW:
    case BS_USERBUTTON:
    case BS_PUSHBOX: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

void EndPress(HWND hwnd, ButtonState& st)
{
    st.tracking = false;
    st.spaceDown = false;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    SetPushed(hwnd, st, false);
}

LRESULT OnPaint(HWND hwnd, const ButtonState& st)
{
    PAINTSTRUCT ps;
    if (HDC hdc = BeginPaint(hwnd, &ps)) {
        PaintButton(hwnd, hdc, st);
        EndPaint(hwnd, &ps);
    }
    return 0;
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        SetControlState(hwnd, std::make_shared<ButtonState>());
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto st = ControlStateOf<ButtonState>(hwnd);
    if (!st)
        return DefWindowProcW(hwnd, msg, wp, lp);
    const DWORD style = StyleOf(hwnd);
    switch (msg) {
    case WM_GETDLGCODE:
        return DlgCodeOf(style);
    case WM_NCHITTEST:
        if (KindOf(style) == ButtonKind::Group)
            return HTTRANSPARENT;
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ERASEBKGND:
        return 1; // the paint covers what it needs
    case WM_PAINT:
        return OnPaint(hwnd, *st);
    case WM_PRINTCLIENT:
        if (wp)
            PaintButton(hwnd, reinterpret_cast<HDC>(wp), *st);
        return 0;
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
        RedrawControl(hwnd);
        return r;
    }
    case WM_ENABLE:
        RedrawControl(hwnd);
        return 0;
    case WM_SETFONT:
        st->font = reinterpret_cast<HFONT>(wp);
        if (lp)
            RedrawControl(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(st->font);
    case WM_LBUTTONDBLCLK:
        if (NotifiesDoubleClicks(style)) {
            NotifyParent(hwnd, BN_DOUBLECLICKED);
            if (!IsWindow(hwnd))
                return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        SetCapture(hwnd);
        st->tracking = true;
        SetPushed(hwnd, *st, true);
        return 0;
    case WM_MOUSEMOVE:
        if (st->tracking && GetCapture() == hwnd) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            SetPushed(hwnd, *st, PtInRect(&rc, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) != FALSE);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!st->tracking)
            return 0;
        RECT rc;
        GetClientRect(hwnd, &rc);
        const bool inside = PtInRect(&rc, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) != FALSE;
        EndPress(hwnd, *st);
        if (inside && IsWindow(hwnd))
            Click(hwnd, *st);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (st->tracking && reinterpret_cast<HWND>(lp) != hwnd)
            EndPress(hwnd, *st);
        return 0;
    case WM_KEYDOWN:
        // A held key repeats (bit 30): only the first press counts.
        if (wp == static_cast<WPARAM>(VK_SPACE) && !(lp & (1 << 30)) && !st->tracking) {
            st->spaceDown = true;
            SetPushed(hwnd, *st, true);
        }
        return 0;
    case WM_KEYUP:
        if (wp == static_cast<WPARAM>(VK_SPACE) && st->spaceDown) {
            const bool pushed = st->pushed;
            EndPress(hwnd, *st);
            if (pushed && IsWindow(hwnd))
                Click(hwnd, *st);
        }
        return 0;
    case WM_SETFOCUS:
        st->focus = true;
        Redraw(hwnd, *st, ODA_FOCUS);
        if ((style & BS_NOTIFY) && IsWindow(hwnd))
            NotifyParent(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        st->focus = false;
        if (st->tracking || st->spaceDown)
            EndPress(hwnd, *st);
        Redraw(hwnd, *st, ODA_FOCUS);
        if ((style & BS_NOTIFY) && IsWindow(hwnd))
            NotifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case BM_GETCHECK: {
        const ButtonKind k = KindOf(style);
        return (k == ButtonKind::Check || k == ButtonKind::Radio) ? st->check : 0;
    }
    case BM_SETCHECK:
        return SetCheck(hwnd, *st, wp);
    case BM_GETSTATE:
        return static_cast<LRESULT>(st->check | (st->pushed ? BST_PUSHED : 0u) | (st->focus ? BST_FOCUS : 0u));
    case BM_SETSTATE:
        SetPushed(hwnd, *st, wp != 0);
        return 0;
    case BM_SETSTYLE: {
        DWORD next = (style & 0xFFFF0000u) | LOWORD(wp);
        // An owner-drawn button stays one: the default look does not apply to it.
        if ((style & BS_TYPEMASK) == BS_OWNERDRAW)
            next = (next & ~BS_TYPEMASK) | BS_OWNERDRAW;
        if (next != style)
            SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(next));
        if (lp)
            RedrawControl(hwnd);
        return 0;
    }
    case BM_CLICK:
        if (!IsWindowEnabled(hwnd))
            return 0;
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        if (IsWindow(hwnd))
            SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_GETIMAGE:
        return wp == st->imageType ? reinterpret_cast<LRESULT>(st->image) : 0;
    case BM_SETIMAGE: {
        if (wp != IMAGE_BITMAP && wp != IMAGE_ICON)
            return 0;
        const HANDLE old = st->imageType == wp ? st->image : nullptr;
        st->image = reinterpret_cast<HANDLE>(lp);
        st->imageType = static_cast<UINT>(wp);
        RedrawControl(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_SETDONTCLICK:
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void EnsureButtonClass()
{
    if (FindSystemClass(WC_BUTTON))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ButtonProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_BUTTON;
    RegisterSystemClass(wc);
}

} // namespace zyn::user
