// The up-down control's window class: the UDM_ messages, the buddy (attachment,
// alignment, its text, the arrow-key subclass), painting and the registration.
#include <algorithm>
#include <memory>

#include "platform/comctl/subclass.h"
#include "platform/comctl/updown_state.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/user_hooks.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

using zyn::user::ControlStateOf;

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

// The buddy's subclass (UDS_ARROWKEYS): Up and Down step the control named by the
// reference data; everything else goes on.
LRESULT BuddyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    const HWND updown = reinterpret_cast<HWND>(ref);
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
        if (auto s = ControlStateOf<UpDownState>(updown)) {
            const bool taken = msg == WM_KEYDOWN ? OnKeyDown(updown, *s, wp, lp) : OnKeyUp(updown, *s, wp, true);
            if (taken)
                return 0;
        }
    }
    if (msg == WM_NCDESTROY) {
        // The buddy goes first: the control forgets it.
        if (auto s = ControlStateOf<UpDownState>(updown); s && s->buddy == hwnd) {
            s->buddy = nullptr;
            s->buddySubclassed = false;
        }
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

void Unsubclass(UpDownState& s)
{
    if (s.buddySubclassed && s.buddy && ::IsWindow(s.buddy))
        ::RemoveWindowSubclass(s.buddy, &BuddyProc, 0);
    s.buddySubclassed = false;
}

// UDS_ALIGNRIGHT / UDS_ALIGNLEFT: the control beside the buddy, the buddy narrower.
void Align(HWND hwnd, UpDownState& s)
{
    const DWORD style = StyleOf(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || !s.buddy)
        return;
    const HWND parent = ::GetParent(hwnd);
    if (!parent || ::GetParent(s.buddy) != parent)
        return;
    RECT b{};
    ::GetWindowRect(s.buddy, &b);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
    RECT me{};
    ::GetWindowRect(hwnd, &me);
    int width = me.right - me.left;
    if (width <= 0)
        width = ::GetSystemMetrics(SM_CXVSCROLL);
    const int buddyWidth = std::max(0, static_cast<int>(b.right - b.left) - width);
    const int height = b.bottom - b.top;
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (style & UDS_ALIGNLEFT) {
        ::SetWindowPos(hwnd, nullptr, b.left, b.top, width, height, flags);
        ::SetWindowPos(s.buddy, nullptr, b.left + width, b.top, buddyWidth, height, flags);
    } else {
        ::SetWindowPos(s.buddy, nullptr, b.left, b.top, buddyWidth, height, flags | SWP_NOMOVE);
        ::SetWindowPos(hwnd, nullptr, b.left + buddyWidth, b.top, width, height, flags);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState& s, HWND buddy)
{
    const HWND old = s.buddy;
    Unsubclass(s);
    s.buddy = (buddy && ::IsWindow(buddy) && buddy != hwnd) ? buddy : nullptr;
    if (!s.buddy)
        return old;
    const DWORD style = StyleOf(hwnd);
    if (style & UDS_ARROWKEYS)
        s.buddySubclassed = ::SetWindowSubclass(s.buddy, &BuddyProc, 0, reinterpret_cast<DWORD_PTR>(hwnd)) != FALSE;
    Align(hwnd, s);
    WriteBuddy(s);
    return old;
}

void SetRange(UpDownState& s, int lower, int upper)
{
    s.lower = lower;
    s.upper = upper;
    if (s.pos < s.Low() || s.pos > s.High())
        SetPosition(s, s.pos);
    Redraw(s);
}

LRESULT GetPos16(UpDownState& s)
{
    bool valid = true;
    if (const auto v = ReadBuddy(s, valid); v && valid)
        s.pos = *v;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s.pos), valid ? 0 : 1));
}

int GetPos32(UpDownState& s, BOOL* error)
{
    bool valid = true;
    if (const auto v = ReadBuddy(s, valid); v && valid)
        s.pos = *v;
    if (error)
        *error = valid ? FALSE : TRUE;
    return s.pos;
}

LRESULT SetAccel(UpDownState& s, WPARAM count, const UDACCEL* accels)
{
    if (count == 0 || !accels || count > 1024)
        return FALSE;
    std::vector<UDACCEL> v(accels, accels + count);
    // Looked up by time, so kept in order of their seconds.
    std::stable_sort(v.begin(), v.end(), [](const UDACCEL& a, const UDACCEL& b) { return a.nSec < b.nSec; });
    s.accels = std::move(v);
    return TRUE;
}

LRESULT GetAccel(const UpDownState& s, WPARAM count, UDACCEL* out)
{
    if (out) {
        const size_t n = std::min(static_cast<size_t>(count), s.accels.size());
        std::copy_n(s.accels.begin(), n, out);
    }
    return static_cast<LRESULT>(s.accels.size());
}

void OnPaint(HWND hwnd, const UpDownState& s)
{
    PAINTSTRUCT ps;
    if (HDC dc = ::BeginPaint(hwnd, &ps)) {
        PaintUpDown(hwnd, s, dc);
        ::EndPaint(hwnd, &ps);
    }
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<UpDownState>();
        st->self = hwnd;
        zyn::user::SetControlState(hwnd, st);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    const auto sp = ControlStateOf<UpDownState>(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    UpDownState& s = *sp;
    switch (msg) {
    case WM_CREATE:
        if (StyleOf(hwnd) & UDS_AUTOBUDDY)
            SetBuddy(hwnd, s, ::GetWindow(hwnd, GW_HWNDPREV));
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, updown::kTimerRepeat);
        Unsubclass(s);
        s.buddy = nullptr;
        return 0;
    case UDM_SETRANGE:
        SetRange(s, static_cast<SHORT>(HIWORD(static_cast<DWORD>(lp))), static_cast<SHORT>(LOWORD(static_cast<DWORD>(lp))));
        return 0;
    case UDM_GETRANGE:
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s.upper), static_cast<WORD>(s.lower)));
    case UDM_SETRANGE32:
        SetRange(s, static_cast<int>(wp), static_cast<int>(lp));
        return 0;
    case UDM_GETRANGE32:
        if (wp)
            *reinterpret_cast<int*>(wp) = s.lower;
        if (lp)
            *reinterpret_cast<int*>(lp) = s.upper;
        return 0;
    case UDM_SETPOS: {
        const int old = s.pos;
        SetPosition(s, static_cast<SHORT>(LOWORD(static_cast<DWORD>(lp))));
        return static_cast<LRESULT>(static_cast<WORD>(old));
    }
    case UDM_GETPOS:
        return GetPos16(s);
    case UDM_SETPOS32: {
        const int old = s.pos;
        SetPosition(s, static_cast<int>(lp));
        return old;
    }
    case UDM_GETPOS32:
        return GetPos32(s, reinterpret_cast<BOOL*>(lp));
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(wp)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(s.buddy && ::IsWindow(s.buddy) ? s.buddy : nullptr);
    case UDM_SETBASE: {
        if (wp != 10 && wp != 16)
            return 0;
        const int old = s.base;
        s.base = static_cast<int>(wp);
        WriteBuddy(s);
        return old;
    }
    case UDM_GETBASE:
        return s.base;
    case UDM_SETACCEL:
        return SetAccel(s, wp, reinterpret_cast<const UDACCEL*>(lp));
    case UDM_GETACCEL:
        return GetAccel(s, wp, reinterpret_cast<UDACCEL*>(lp));
    case WM_PAINT:
        OnPaint(hwnd, s);
        return 0;
    case WM_PRINTCLIENT:
        if (wp)
            PaintUpDown(hwnd, s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the arrows cover the whole client area
    case WM_ENABLE:
        if (!wp)
            CancelPress(hwnd, s);
        Redraw(s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(hwnd, s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave(hwnd, s);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(hwnd, s);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd)
            CancelPress(hwnd, s);
        return 0;
    case WM_TIMER:
        if (wp == updown::kTimerRepeat)
            OnTimer(hwnd, s);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(hwnd, s, wp, lp))
            return 0;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_KEYUP:
        if (OnKeyUp(hwnd, s, wp, false))
            return 0;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_GETDLGCODE:
        return (StyleOf(hwnd) & UDS_ARROWKEYS) ? DLGC_WANTARROWS : 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void SetPosition(UpDownState& s, int pos)
{
    s.pos = std::clamp(pos, s.Low(), s.High());
    WriteBuddy(s);
}

void WriteBuddy(UpDownState& s)
{
    if (!s.buddy || !::IsWindow(s.buddy) || !(StyleOf(s.self) & UDS_SETBUDDYINT))
        return;
    const std::wstring text = FormatPosition(s.pos, s.base, !(StyleOf(s.self) & UDS_NOTHOUSANDS));
    ::SetWindowTextW(s.buddy, text.c_str());
}

std::optional<int> ReadBuddy(const UpDownState& s, bool& valid)
{
    valid = true;
    if (!s.buddy || !::IsWindow(s.buddy) || !(StyleOf(s.self) & UDS_SETBUDDYINT))
        return std::nullopt;
    const auto v = ParsePosition(zyn::user::WindowTextOf(s.buddy), s.base);
    valid = v && *v >= s.Low() && *v <= s.High();
    return v;
}

void Redraw(const UpDownState& s) { zyn::user::RedrawControl(s.self); }

void PaintUpDown(HWND hwnd, const UpDownState& s, HDC hdc)
{
    const DWORD style = StyleOf(hwnd);
    const bool horizontal = (style & UDS_HORZ) != 0;
    const bool enabled = ::IsWindowEnabled(hwnd) != FALSE;
    for (const Arrow a : {Arrow::Up, Arrow::Down}) {
        RECT r = ArrowRect(hwnd, a);
        UINT state = horizontal ? (a == Arrow::Up ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                                : (a == Arrow::Up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        if (!enabled)
            state |= DFCS_INACTIVE;
        else if (s.pressed == a && s.pushedLook)
            state |= DFCS_PUSHED;
        else if ((style & UDS_HOTTRACK) && s.hot == a && s.pressed == Arrow::None)
            state |= DFCS_HOT;
        if (r.right > r.left && r.bottom > r.top)
            ::DrawFrameControl(hdc, &r, DFC_SCROLL, state);
    }
}

} // namespace zyn::comctl::detail

namespace zyn::comctl {

BOOL RegisterUpDownClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, UPDOWN_CLASSW, &have) && have.lpfnWndProc == &detail::UpDownProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &detail::UpDownProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = UPDOWN_CLASSW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl
