// The up-down control's input: which arrow a point is on, a step with its notifications,
// the press with auto-repeat and acceleration on the process clock, the arrow keys and
// hot tracking.
#include <algorithm>
#include <cstdint>

#include "platform/base/clock.h"
#include "platform/comctl/updown_state.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

uint64_t Now() { return zyn::base::Clock::NowMs(); }

void SetPushedLook(UpDownState& s, bool pushed)
{
    if (s.pushedLook == pushed)
        return;
    s.pushedLook = pushed;
    Redraw(s);
}

void SetHot(HWND hwnd, UpDownState& s, Arrow a)
{
    if (!(StyleOf(hwnd) & UDS_HOTTRACK) || s.hot == a)
        return;
    s.hot = a;
    if (a != Arrow::None && !s.trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        s.trackingLeave = ::TrackMouseEvent(&tme) != FALSE;
    }
    Redraw(s);
}

} // namespace

RECT ArrowRect(HWND hwnd, Arrow a)
{
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    if (StyleOf(hwnd) & UDS_HORZ) {
        const int mid = rc.left + (rc.right - rc.left) / 2;
        return a == Arrow::Down ? RECT{rc.left, rc.top, mid, rc.bottom} : RECT{mid, rc.top, rc.right, rc.bottom};
    }
    const int mid = rc.top + (rc.bottom - rc.top) / 2;
    return a == Arrow::Up ? RECT{rc.left, rc.top, rc.right, mid} : RECT{rc.left, mid, rc.right, rc.bottom};
}

Arrow ArrowAt(HWND hwnd, POINT client)
{
    for (const Arrow a : {Arrow::Up, Arrow::Down}) {
        const RECT r = ArrowRect(hwnd, a);
        if (::PtInRect(&r, client))
            return a;
    }
    return Arrow::None;
}

UINT IncrementAfter(const UpDownState& s, uint64_t elapsedMs)
{
    UINT inc = s.accels.empty() ? 1 : s.accels.front().nInc;
    for (const UDACCEL& a : s.accels) {
        if (uint64_t(a.nSec) * 1000 <= elapsedMs)
            inc = a.nInc;
    }
    return inc;
}

bool Step(HWND hwnd, UpDownState& s, Arrow a, UINT increment)
{
    if (a == Arrow::None)
        return true;
    bool valid = true;
    if (const auto v = ReadBuddy(s, valid); v && valid)
        s.pos = *v;
    // The up arrow moves towards `upper`, whichever side of `lower` that is.
    const bool towardsUpper = a == Arrow::Up;
    const bool upperIsHigher = s.upper >= s.lower;
    const int64_t magnitude = std::min<int64_t>(increment, INT32_MAX);
    const int64_t delta = (towardsUpper == upperIsHigher) ? magnitude : -magnitude;

    NMUPDOWN nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s.pos;
    nm.iDelta = static_cast<int>(delta);
    const HWND target = zyn::user::NotifyTarget(hwnd);
    if (target && ::SendMessageW(target, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) != 0)
        return ::IsWindow(hwnd) != FALSE; // vetoed
    if (!::IsWindow(hwnd))
        return false;

    const int64_t lo = s.Low(), hi = s.High();
    int64_t next = int64_t(s.pos) + delta;
    if (next > hi)
        next = (StyleOf(hwnd) & UDS_WRAP) ? lo : hi;
    else if (next < lo)
        next = (StyleOf(hwnd) & UDS_WRAP) ? hi : lo;
    if (next == s.pos)
        return true;
    s.pos = static_cast<int>(next);
    WriteBuddy(s);
    if (!::IsWindow(hwnd))
        return false;
    if (target) {
        const UINT scrollMsg = (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
        ::SendMessageW(target, scrollMsg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(s.pos)),
            reinterpret_cast<LPARAM>(hwnd));
    }
    return ::IsWindow(hwnd) != FALSE;
}

void EndScroll(HWND hwnd, const UpDownState& s)
{
    const HWND target = zyn::user::NotifyTarget(hwnd);
    if (!target)
        return;
    const UINT scrollMsg = (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    ::SendMessageW(target, scrollMsg, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(s.pos)),
        reinterpret_cast<LPARAM>(hwnd));
}

void OnButtonDown(HWND hwnd, UpDownState& s, POINT client)
{
    const Arrow a = ArrowAt(hwnd, client);
    if (a == Arrow::None || s.pressed != Arrow::None)
        return;
    // The buddy is where the number is typed: it takes the focus.
    if (s.buddy && ::IsWindow(s.buddy) && ::GetFocus() != s.buddy)
        ::SetFocus(s.buddy);
    if (!::IsWindow(hwnd))
        return;
    ::SetCapture(hwnd);
    s.pressed = a;
    s.pressStart = Now();
    s.repeating = false;
    SetPushedLook(s, true);
    ::SetTimer(hwnd, updown::kTimerRepeat, updown::kRepeatDelayMs, nullptr);
    Step(hwnd, s, a, IncrementAfter(s, 0));
}

void OnMouseMove(HWND hwnd, UpDownState& s, POINT client)
{
    if (s.pressed != Arrow::None) {
        SetPushedLook(s, ArrowAt(hwnd, client) == s.pressed);
        return;
    }
    SetHot(hwnd, s, ArrowAt(hwnd, client));
}

void OnMouseLeave(HWND hwnd, UpDownState& s)
{
    s.trackingLeave = false;
    SetHot(hwnd, s, Arrow::None);
}

void CancelPress(HWND hwnd, UpDownState& s)
{
    if (s.pressed == Arrow::None)
        return;
    ::KillTimer(hwnd, updown::kTimerRepeat);
    s.pressed = Arrow::None;
    s.repeating = false;
    SetPushedLook(s, false);
    EndScroll(hwnd, s);
}

void OnButtonUp(HWND hwnd, UpDownState& s)
{
    if (s.pressed == Arrow::None)
        return;
    // Releasing the capture sends WM_CAPTURECHANGED, which ends the press.
    if (::GetCapture() == hwnd)
        ::ReleaseCapture();
    CancelPress(hwnd, s);
}

void OnTimer(HWND hwnd, UpDownState& s)
{
    if (s.pressed == Arrow::None) {
        ::KillTimer(hwnd, updown::kTimerRepeat);
        return;
    }
    if (!s.repeating) {
        s.repeating = true;
        ::SetTimer(hwnd, updown::kTimerRepeat, updown::kRepeatIntervalMs, nullptr);
    }
    // Steps only while the mouse is over the held arrow; moving back resumes them.
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(hwnd, &pt);
    if (ArrowAt(hwnd, pt) != s.pressed)
        return;
    Step(hwnd, s, s.pressed, IncrementAfter(s, Now() - s.pressStart));
}

bool OnKeyDown(HWND hwnd, UpDownState& s, WPARAM vk, LPARAM flags)
{
    if (!(StyleOf(hwnd) & UDS_ARROWKEYS) || (vk != VK_UP && vk != VK_DOWN))
        return false;
    const Arrow a = vk == VK_UP ? Arrow::Up : Arrow::Down;
    // Bit 30: the key was already down (auto-repeat): the acceleration runs on.
    const bool repeat = (static_cast<uint64_t>(flags) & (1u << 30)) != 0;
    if (!repeat || s.keyHeld != a) {
        s.keyHeld = a;
        s.keyStart = Now();
    }
    Step(hwnd, s, a, IncrementAfter(s, Now() - s.keyStart));
    return true;
}

bool OnKeyUp(HWND hwnd, UpDownState& s, WPARAM vk, bool inBuddy)
{
    if (!(StyleOf(hwnd) & UDS_ARROWKEYS) || (vk != VK_UP && vk != VK_DOWN))
        return false;
    if (s.keyHeld != Arrow::None) {
        s.keyHeld = Arrow::None;
        if (!inBuddy)
            EndScroll(hwnd, s);
    }
    return true;
}

} // namespace zyn::comctl::detail
