// Focus, activation, the foreground window and mouse capture.
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/user/caret_internal.h"
#include "platform/user/input.h"
#include "platform/user/input_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

bool LiveHere(HWND h)
{
    auto w = PeekWnd(h);
    return w && w->thread == GetCurrentThreadId();
}

// Top-level windows of the calling thread, in z-order.
std::vector<HWND> MyTopLevels()
{
    std::vector<HWND> out;
    auto desk = DesktopWnd();
    auto lock = LockUser();
    const DWORD me = GetCurrentThreadId();
    for (auto& c : desk->children)
        if (c->thread == me)
            out.push_back(c->hwnd);
    return out;
}

void SendActivateApp(bool active, DWORD otherThread)
{
    for (HWND h : MyTopLevels())
        if (IsWindow(h))
            SendMsg(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, static_cast<LPARAM>(otherThread));
}

// The window to activate when `going` stops being active: its owner if it can be, else the
// topmost visible enabled top-level window of the thread.
HWND NextToActivate(HWND going)
{
    auto w = PeekWnd(going);
    HWND owner = nullptr;
    if (w) {
        auto lock = LockUser();
        owner = w->owner;
    }
    auto usable = [&](HWND h) {
        auto c = PeekWnd(h);
        if (!c || h == going)
            return false;
        auto lock = LockUser();
        if (c->destroying || !(c->style & WS_VISIBLE) || (c->style & WS_DISABLED) || c->IsChild())
            return false;
        if (c->thread != GetCurrentThreadId())
            return false;
        // Not one owned by the window going away.
        for (HWND o = c->owner; o;) {
            if (o == going)
                return false;
            auto ow = PeekWnd(o);
            o = ow ? ow->owner : nullptr;
        }
        return true;
    };
    if (owner && usable(owner))
        return owner;
    for (HWND h : MyTopLevels())
        if (usable(h))
            return h;
    return nullptr;
}

// Whether the thread's focus is the window or one of its descendants.
bool FocusInside(const Window* w)
{
    auto f = PeekWnd(MyQueue().focus);
    auto lock = LockUser();
    return f && IsAncestorOf(w, f.get());
}

} // namespace

InputState& Input()
{
    static InputState s;
    return s;
}

// The order of an activation: HCBT_ACTIVATE (naming the new window, 0 when none takes
// over); the old window's WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE), both naming
// the new one; the new window raised when asked; WM_ACTIVATEAPP when the application
// changes; the new window's WM_NCACTIVATE(TRUE) and WM_ACTIVATE, both naming the old one.
// The focus moves inside the new window's WM_ACTIVATE (DefWindowProc sets it); with no
// window active the thread keeps no focus, which goes without a word to the hook.
bool ActivateWindowImpl(HWND hwnd, WORD how, bool raise)
{
    ThreadQueue& q = MyQueue();
    HWND old = q.active;
    if (old && !IsWindow(old))
        old = nullptr;
    if (hwnd && !LiveHere(hwnd))
        return false;
    if (old == hwnd) {
        if (hwnd && raise)
            SetWindowPosImpl(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return true;
    }
    if (HasHooks(WH_CBT)) {
        CBTACTIVATESTRUCT cbt{how == WA_CLICKACTIVE ? TRUE : FALSE, old};
        if (CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt)))
            return false;
    }
    if (old) {
        if (!SendMsg(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd)) && IsWindow(old))
            return false; // the active window refused to let go
        SendMsg(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(hwnd));
    }
    q.active = hwnd;
    if (hwnd && raise) {
        // Brought to the top as it becomes active (already active: no second activation).
        SetWindowPosImpl(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (!IsWindow(hwnd) || q.active != hwnd)
            return true;
    }
    HWND prevForeground;
    {
        auto lock = LockUser();
        prevForeground = Input().foreground;
        if (prevForeground && !PeekWnd(prevForeground))
            prevForeground = nullptr;
        if (hwnd)
            Input().foreground = hwnd;
        else if (Input().foreground == old)
            Input().foreground = nullptr;
    }
    DWORD prevThread = 0;
    if (prevForeground)
        if (auto pw = PeekWnd(prevForeground))
            prevThread = pw->thread;
    const DWORD me = GetCurrentThreadId();
    if (hwnd && (prevForeground == nullptr || prevThread != me)) {
        if (prevThread && prevThread != me) {
            // The other thread's windows hear that their application lost activation.
            std::vector<HWND> theirs;
            {
                auto desk = DesktopWnd();
                auto lock = LockUser();
                for (auto& c : desk->children)
                    if (c->thread == prevThread)
                        theirs.push_back(c->hwnd);
            }
            for (HWND h : theirs)
                SendNotifyMessageW(h, WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(me));
        }
        SendActivateApp(true, prevThread);
    } else if (!hwnd && old) {
        SendActivateApp(false, 0);
    }
    if (!hwnd) {
        if (const HWND f = q.focus; f && q.active == nullptr) {
            q.focus = nullptr;
            if (IsWindow(f))
                SendMsg(f, WM_KILLFOCUS, 0, 0);
        }
        return true;
    }
    if (!IsWindow(hwnd) || q.active != hwnd)
        return true;
    SendMsg(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
    if (!IsWindow(hwnd) || q.active != hwnd)
        return true;
    SendMsg(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    return true;
}

bool ActivateNextWindow(HWND going)
{
    const HWND next = NextToActivate(going);
    if (!next)
        return false;
    ActivateWindowImpl(next, WA_ACTIVE, false);
    return true;
}

void WindowGoingAway(HWND hwnd, bool destroying)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    ThreadQueue& q = MyQueue();
    // Capture.
    HWND cap = nullptr;
    {
        auto lock = LockUser();
        if (auto c = PeekWnd(Input().capture))
            if (IsAncestorOf(w.get(), c.get()))
                cap = Input().capture;
    }
    if (cap)
        ReleaseCapture();
    // Activation passes on first, without raising the next window; its WM_ACTIVATE takes
    // the focus out of this one.
    if (q.active == hwnd) {
        const HWND next = NextToActivate(hwnd);
        ActivateWindowImpl(next, WA_ACTIVE, false);
        if (q.active == hwnd)
            q.active = nullptr;
    }
    // A focus still inside goes to the parent of a child, or to nobody.
    if (auto f = PeekWnd(q.focus)) {
        bool inside;
        HWND parent = nullptr;
        {
            auto lock = LockUser();
            inside = IsAncestorOf(w.get(), f.get());
            if (inside && w->IsChild() && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot &&
                !w->parent->destroying)
                parent = w->parent->hwnd;
        }
        if (inside && parent && IsWindowVisible(parent))
            SetFocus(parent);
        if (inside && FocusInside(w.get()))
            SetFocus(nullptr);
    }
    if (destroying) {
        auto lock = LockUser();
        if (Input().foreground == hwnd)
            Input().foreground = nullptr;
    }
}

} // namespace zyn::user

using namespace zyn::user;

HWND SetFocus(HWND hWnd)
{
    ThreadQueue& q = MyQueue();
    HWND old = q.focus;
    if (old && !IsWindow(old))
        old = q.focus = nullptr;
    if (!hWnd) {
        if (!old)
            return nullptr;
        if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SETFOCUS, 0, reinterpret_cast<LPARAM>(old)))
            return nullptr;
        q.focus = nullptr;
        SendMsg(old, WM_KILLFOCUS, 0, 0);
        return old;
    }
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    if (w->thread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (old == hWnd)
        return old;
    {
        // A disabled or minimised window cannot take the focus, nor can a child of one:
        // nothing is sent and the focus stays where it is.
        auto lock = LockUser();
        for (Window* p = w.get(); p && !p->isDesktop && !p->isMessageRoot; p = p->parent) {
            if (p->style & (WS_DISABLED | WS_MINIMIZE))
                return nullptr;
            if (!p->IsChild())
                break;
        }
    }
    if (HasHooks(WH_CBT) &&
        CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hWnd), reinterpret_cast<LPARAM>(old)))
        return nullptr;
    const HWND top = TopLevelHandle(hWnd);
    if (top && top != q.active) {
        if (!ActivateWindowImpl(top, WA_ACTIVE, true))
            return nullptr;
        if (!IsWindow(hWnd))
            return nullptr;
    }
    old = q.focus;
    if (old && !IsWindow(old))
        old = nullptr;
    if (old == hWnd)
        return old;
    q.focus = hWnd;
    if (old)
        SendMsg(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (q.focus == hWnd && IsWindow(hWnd))
        SendMsg(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    ThreadQueue& q = MyQueue();
    if (q.focus && !IsWindow(q.focus))
        q.focus = nullptr;
    return q.focus;
}

HWND SetActiveWindow(HWND hWnd)
{
    ThreadQueue& q = MyQueue();
    HWND old = q.active;
    if (old && !IsWindow(old))
        old = nullptr;
    if (hWnd) {
        auto w = GetWnd(hWnd);
        if (!w)
            return nullptr;
        if (w->thread != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        hWnd = TopLevelHandle(hWnd);
    }
    if (!ActivateWindowImpl(hWnd, WA_ACTIVE, hWnd != nullptr))
        return nullptr;
    return old;
}

HWND GetActiveWindow()
{
    ThreadQueue& q = MyQueue();
    if (q.active && !IsWindow(q.active))
        q.active = nullptr;
    return q.active;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    const HWND top = TopLevelHandle(hWnd);
    auto tw = PeekWnd(top);
    if (!tw)
        return FALSE;
    if (tw->thread == GetCurrentThreadId())
        return ActivateWindowImpl(top, WA_ACTIVE, true) ? TRUE : FALSE;
    {
        auto lock = LockUser();
        Input().foreground = top;
    }
    // The window's own thread activates it.
    return SendNotifyMessageW(top, kMsgActivateFromOtherThread, 0, 0);
}

HWND GetForegroundWindow()
{
    auto lock = LockUser();
    if (Input().foreground && !PeekWnd(Input().foreground))
        Input().foreground = nullptr;
    return Input().foreground;
}

HWND SetCapture(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    HWND old;
    {
        auto lock = LockUser();
        old = Input().capture;
        if (old && !PeekWnd(old))
            old = nullptr;
        Input().capture = hWnd;
        Input().captureThread = w->thread;
    }
    // The window that had the capture hears it changed, even when it takes it again.
    if (old)
        SendMsg(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL ReleaseCapture()
{
    HWND old = nullptr;
    {
        auto lock = LockUser();
        if (Input().capture && Input().captureThread == GetCurrentThreadId()) {
            old = Input().capture;
            Input().capture = nullptr;
            Input().captureThread = 0;
        }
    }
    if (old && IsWindow(old))
        SendMsg(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    auto lock = LockUser();
    if (Input().capture && !PeekWnd(Input().capture))
        Input().capture = nullptr;
    return Input().captureThread == GetCurrentThreadId() ? Input().capture : nullptr;
}

BOOL GetGUIThreadInfo(DWORD idThread, LPGUITHREADINFO pgui)
{
    if (!pgui || pgui->cbSize != sizeof(GUITHREADINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (idThread == 0) {
        auto fg = PeekWnd(GetForegroundWindow());
        idThread = fg ? fg->thread : GetCurrentThreadId();
    }
    auto q = idThread == GetCurrentThreadId() ? MyQueueShared() : QueueOf(idThread);
    if (!q) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    pgui->flags = 0;
    pgui->hwndActive = q->active;
    pgui->hwndFocus = q->focus;
    {
        auto lock = LockUser();
        pgui->hwndCapture = Input().captureThread == idThread ? Input().capture : nullptr;
    }
    pgui->hwndMenuOwner = q->trackedWindow;
    pgui->hwndMoveSize = q->moveSize;
    pgui->hwndCaret = nullptr;
    pgui->rcCaret = RECT{};
    pgui->flags |= q->menuMode;
    bool blinking = false;
    if (idThread == GetCurrentThreadId() && CaretInfo(&pgui->hwndCaret, &pgui->rcCaret, &blinking) && blinking)
        pgui->flags |= GUI_CARETBLINKING;
    if (q->trackedMenu)
        pgui->flags |= GUI_INMENUMODE;
    if (q->moveSize)
        pgui->flags |= GUI_INMOVESIZE;
    return TRUE;
}
