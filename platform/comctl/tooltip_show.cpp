// Following the mouse and showing tips: relayed messages, the show / auto-pop / leave
// timers, tracking tools, and the notifications around showing (TTN_SHOW, TTN_POP).
#include "platform/base/clock.h"
#include "platform/comctl/tooltip_state.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

uint64_t NowMs() { return zyn::base::Clock::NowMs(); }

// Without TTS_ALWAYSTIP a tip shows only while the control's owner is in the active
// window's family (the active window, or a window it owns, or its owner).
bool OwnerActive(const ToolTipState& s)
{
    if (::GetWindowLongPtrW(s.self, GWL_STYLE) & TTS_ALWAYSTIP)
        return true;
    const HWND owner = ::GetWindow(s.self, GW_OWNER);
    if (!owner)
        return true;
    const HWND active = ::GetActiveWindow();
    return active && ::GetAncestor(active, GA_ROOTOWNER) == ::GetAncestor(owner, GA_ROOTOWNER);
}

void StartWaiting(ToolTipState& s, int delay)
{
    s.waitDelay = delay;
    ::SetTimer(s.self, kTimerShow, static_cast<UINT>(delay > 0 ? delay : 0), nullptr);
}

void StopWaiting(ToolTipState& s) { ::KillTimer(s.self, kTimerShow); }

RECT ToolScreenRect(const Tool& tool)
{
    RECT r{};
    if (tool.flags & TTF_IDISHWND) {
        ::GetWindowRect(tool.Window(), &r);
    } else {
        r = tool.rect;
        ::MapWindowPoints(tool.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

// Where a tip of `size` goes for a tool: tracking point, centred below the tool, or
// below the cursor.
RECT Placement(const ToolTipState& s, const Tool& tool, SIZE size, POINT cursor)
{
    if (tool.flags & TTF_TRACK)
        return PlaceTracking(s.trackPos, size, WorkAreaAt(s.trackPos), (tool.flags & TTF_ABSOLUTE) != 0);
    if (tool.flags & TTF_CENTERTIP) {
        const RECT r = ToolScreenRect(tool);
        return PlaceCentred(r, size, WorkAreaAt(POINT{(r.left + r.right) / 2, r.bottom}));
    }
    return PlaceBelowCursor(cursor, size, WorkAreaAt(cursor), CursorDrop());
}

// Shows the tip of a tool; false when there is nothing to show (no tool, an empty text,
// or the control went away while its text was asked for).
bool ShowTip(ToolTipState& s, const ToolKey& key, POINT cursor)
{
    Tool* t = s.Find(key);
    if (!t)
        return false;
    const std::wstring text = ToolText(s, *t);
    if (s.destroyed || !(t = s.Find(key)) || text.empty())
        return false;
    const SIZE size = TipSize(s, text);
    s.shownText = text;
    s.shown = key;
    ::SetWindowPos(s.self, HWND_TOPMOST, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOACTIVATE);
    // The tool's window may place the tip itself (answering TRUE).
    NMHDR nm{s.self, key.id, TTN_SHOW};
    const LRESULT placed = ::SendMessageW(key.hwnd, WM_NOTIFY, key.id, reinterpret_cast<LPARAM>(&nm));
    if (s.destroyed || !(t = s.Find(key)) || s.shown != key)
        return false;
    if (!placed) {
        const RECT r = Placement(s, *t, size, cursor);
        ::SetWindowPos(s.self, HWND_TOPMOST, r.left, r.top, size.cx, size.cy, SWP_NOACTIVATE);
    }
    ::InvalidateRect(s.self, nullptr, TRUE);
    ::SetWindowPos(s.self, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

// Shows the tip of the current tool now and starts its timers.
void ShowCurrent(ToolTipState& s, POINT cursor)
{
    const ToolKey key = *s.current;
    if (!ShowTip(s, key, cursor)) {
        if (!s.destroyed && s.current == key)
            s.phase = Phase::Dismissed; // nothing to show for this tool: wait for the next one
        return;
    }
    s.phase = Phase::Shown;
    ::SetTimer(s.self, kTimerAutoPop, static_cast<UINT>(AutoPopDelay(s)), nullptr);
    ::SetTimer(s.self, kTimerLeave, kLeaveCheckMs, nullptr);
}

// The mouse is over `key` (or over no tool) at `screen`; `moved` says it moved there.
void MouseAt(ToolTipState& s, const std::optional<ToolKey>& key, bool moved)
{
    if (!key) {
        if (s.phase == Phase::Shown && !s.tracked) {
            HideTip(s);
            s.leftShownAt = NowMs();
        }
        StopWaiting(s);
        s.phase = Phase::Idle;
        s.current.reset();
        return;
    }
    if (s.current == key) {
        // The tip appears once the mouse has rested for the whole delay.
        if (s.phase == Phase::Waiting && moved)
            StartWaiting(s, s.waitDelay);
        return;
    }
    // A new tool. Coming from a shown tip (or from one that went away a moment ago) the
    // next tip comes after the short reshow delay.
    const bool quick = (s.phase == Phase::Shown && !s.tracked) ||
        (s.leftShownAt && NowMs() - *s.leftShownAt < static_cast<uint64_t>(InitialDelay(s)));
    if (s.phase == Phase::Shown && !s.tracked)
        HideTip(s);
    s.leftShownAt.reset();
    s.current = key;
    s.phase = Phase::Waiting;
    StartWaiting(s, quick ? ReshowDelay(s) : InitialDelay(s));
}

} // namespace

int InitialDelay(const ToolTipState& s)
{
    return s.initialDelay.value_or(static_cast<int>(::GetDoubleClickTime()));
}
int AutoPopDelay(const ToolTipState& s)
{
    return s.autoPopDelay.value_or(static_cast<int>(::GetDoubleClickTime()) * 10);
}
int ReshowDelay(const ToolTipState& s)
{
    return s.reshowDelay.value_or(static_cast<int>(::GetDoubleClickTime()) / 5);
}

void HideTip(ToolTipState& s)
{
    ::KillTimer(s.self, kTimerAutoPop);
    ::KillTimer(s.self, kTimerLeave);
    if (!s.shown)
        return;
    const ToolKey key = *s.shown;
    s.shown.reset();
    s.shownText.clear();
    if (!::IsWindowVisible(s.self))
        return;
    ::SetWindowPos(s.self, nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    NMHDR nm{s.self, key.id, TTN_POP};
    if (::IsWindow(key.hwnd))
        ::SendMessageW(key.hwnd, WM_NOTIFY, key.id, reinterpret_cast<LPARAM>(&nm));
}

void Relay(ToolTipState& s, const MSG& msg)
{
    if (!s.active)
        return;
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        const bool client = msg.message == WM_MOUSEMOVE;
        const POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        POINT screen = pt;
        if (client)
            ::ClientToScreen(msg.hwnd, &screen);
        const bool moved = !s.haveLastPt || screen.x != s.lastPt.x || screen.y != s.lastPt.y;
        s.lastPt = screen;
        s.haveLastPt = true;
        std::optional<ToolKey> key;
        if (OwnerActive(s)) {
            if (const Tool* t = ToolAt(s, msg.hwnd, pt, client))
                key = ToolKey{t->hwnd, t->id};
        }
        MouseAt(s, key, moved);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        // A click on a tool puts its tip away until the mouse goes to another tool.
        if (s.current) {
            StopWaiting(s);
            if (!s.tracked)
                HideTip(s);
            s.phase = Phase::Dismissed;
        }
        break;
    default:
        break;
    }
}

void OnTimer(ToolTipState& s, UINT_PTR id)
{
    switch (id) {
    case kTimerShow: {
        StopWaiting(s);
        if (s.phase != Phase::Waiting || !s.current || !s.active)
            return;
        const Tool* t = s.Find(s.current);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (!t || !CursorOnTool(s, *t, cursor)) {
            s.phase = Phase::Idle;
            s.current.reset();
            return;
        }
        if (s.tracked) {
            s.phase = Phase::Dismissed; // a tracking tip is up: it is the only one
            return;
        }
        ShowCurrent(s, cursor);
        break;
    }
    case kTimerAutoPop:
        ::KillTimer(s.self, kTimerAutoPop);
        if (s.phase == Phase::Shown) {
            HideTip(s);
            s.phase = Phase::Dismissed;
        }
        break;
    case kTimerLeave: {
        if (s.phase != Phase::Shown || s.tracked) {
            ::KillTimer(s.self, kTimerLeave);
            return;
        }
        const Tool* t = s.Find(s.current);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (!t || !CursorOnTool(s, *t, cursor)) {
            HideTip(s);
            s.leftShownAt = NowMs();
            s.phase = Phase::Idle;
            s.current.reset();
        }
        break;
    }
    default:
        break;
    }
}

void Pop(ToolTipState& s)
{
    StopWaiting(s);
    HideTip(s);
    s.tracked.reset();
    s.phase = s.current ? Phase::Dismissed : Phase::Idle;
}

void Popup(ToolTipState& s)
{
    if (!s.active || !s.current || s.tracked)
        return;
    StopWaiting(s);
    if (s.phase == Phase::Shown)
        return;
    ShowCurrent(s, s.haveLastPt ? s.lastPt : POINT{});
}

void Activate(ToolTipState& s, bool on)
{
    s.active = on;
    if (on)
        return;
    StopWaiting(s);
    HideTip(s);
    s.tracked.reset();
    s.phase = Phase::Idle;
    s.current.reset();
}

void TrackActivate(ToolTipState& s, bool on, const void* info, bool ansi)
{
    const auto in = ReadToolInfo(info, ansi);
    if (!in)
        return;
    const ToolKey key{in->hwnd, in->id};
    const Tool* t = s.Find(key);
    if (!t || !(t->flags & TTF_TRACK))
        return;
    if (!on) {
        if (s.tracked == key) {
            s.tracked.reset();
            HideTip(s);
        }
        return;
    }
    if (!s.active)
        return;
    // A tracking tip replaces whatever tip is up.
    StopWaiting(s);
    HideTip(s);
    if (s.current)
        s.phase = Phase::Dismissed;
    s.tracked = key;
    if (!ShowTip(s, key, s.trackPos) && !s.destroyed && s.tracked == key)
        s.tracked.reset();
}

void TrackPosition(ToolTipState& s, POINT pt)
{
    s.trackPos = pt;
    if (!s.tracked || s.shown != s.tracked)
        return;
    const Tool* t = s.Find(s.tracked);
    RECT w{};
    ::GetWindowRect(s.self, &w);
    if (!t)
        return;
    const RECT r = Placement(s, *t, SIZE{w.right - w.left, w.bottom - w.top}, pt);
    ::SetWindowPos(s.self, HWND_TOPMOST, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void Refresh(ToolTipState& s)
{
    if (!s.shown)
        return;
    const ToolKey key = *s.shown;
    Tool* t = s.Find(key);
    if (!t) {
        HideTip(s);
        return;
    }
    const std::wstring text = ToolText(s, *t);
    if (s.destroyed || s.shown != key)
        return;
    if (!(t = s.Find(key)) || text.empty()) {
        HideTip(s);
        if (!s.tracked && s.current)
            s.phase = Phase::Dismissed;
        if (s.tracked == key)
            s.tracked.reset();
        return;
    }
    s.shownText = text;
    const SIZE size = TipSize(s, text);
    RECT w{};
    ::GetWindowRect(s.self, &w);
    // A new size keeps the tip where it was, inside the work area.
    const RECT r = (t->flags & TTF_TRACK) ? Placement(s, *t, size, s.trackPos)
                                          : PlaceTracking(POINT{w.left, w.top}, size, WorkAreaAt(POINT{w.left, w.top}), false);
    ::SetWindowPos(s.self, HWND_TOPMOST, r.left, r.top, size.cx, size.cy, SWP_NOACTIVATE);
    ::InvalidateRect(s.self, nullptr, TRUE);
}

void ForgetTool(ToolTipState& s, const ToolKey& key)
{
    if (s.current == key) {
        StopWaiting(s);
        s.current.reset();
        s.phase = Phase::Idle;
    }
    if (s.tracked == key)
        s.tracked.reset();
    if (s.shown == key) {
        // As when the mouse leaves a tool: an owner that keeps only the tool under the
        // mouse (the class library does) removes it on the way to the next one.
        HideTip(s);
        s.leftShownAt = NowMs();
    }
}

} // namespace zyn::comctl::detail
