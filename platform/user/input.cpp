// Input: the driver API, routing injected input to thread queues, turning it into
// messages when a thread takes it (hit testing, activation, cursor, double clicks,
// hooks), the key state, the US keyboard layout and the cursor.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwctype>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/input_internal.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

DWORD Now() { return static_cast<DWORD>(base::Clock::NowMs()); }

POINT ClampToScreen(POINT p)
{
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Input().clipOn)
        IntersectRect(&r, &r, &Input().clip);
    p.x = std::clamp<LONG>(p.x, r.left, std::max(r.left, r.right - 1));
    p.y = std::clamp<LONG>(p.y, r.top, std::max(r.top, r.bottom - 1));
    return p;
}

DWORD ThreadOfWindow(HWND h)
{
    auto w = PeekWnd(h);
    return w ? w->thread : 0;
}

// The queue injected input goes to: for the mouse, the thread of the capture window or of
// the window under the point; for keys, the foreground window's thread. Otherwise the
// injecting thread.
std::shared_ptr<ThreadQueue> TargetQueue(const InputEvent& e)
{
    DWORD tid = 0;
    {
        auto lock = LockUser();
        if (e.type == InputEvent::Type::Key || e.type == InputEvent::Type::Char || e.type == InputEvent::Type::Wheel) {
            tid = ThreadOfWindow(Input().foreground);
        } else if (Input().capture && PeekWnd(Input().capture)) {
            tid = Input().captureThread;
        } else {
            tid = ThreadOfWindow(WindowFromPointImpl(e.pt, false, nullptr));
        }
    }
    if (tid)
        if (auto q = QueueOf(tid))
            return q;
    return MyQueueShared();
}

DWORD QsOf(const InputEvent& e)
{
    switch (e.type) {
    case InputEvent::Type::MouseMove: return QS_MOUSEMOVE;
    case InputEvent::Type::Button:
    case InputEvent::Type::Wheel: return QS_MOUSEBUTTON;
    default: return QS_KEY;
    }
}

void Enqueue(InputEvent e)
{
    {
        auto lock = LockUser();
        e.id = Input().nextEventId++;
    }
    auto q = TargetQueue(e);
    {
        std::lock_guard lock(q->m);
        // Mouse moves coalesce: only the latest position waits.
        if (e.type == InputEvent::Type::MouseMove && !q->input.empty() &&
            q->input.back().type == InputEvent::Type::MouseMove) {
            q->input.back().pt = e.pt;
            q->input.back().time = e.time;
        } else {
            q->input.push_back(e);
        }
    }
    q->Wake(QsOf(e));
}

int VkOfButton(MouseButton b)
{
    switch (b) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
    case MouseButton::X1: return VK_XBUTTON1;
    case MouseButton::X2: return VK_XBUTTON2;
    }
    return VK_LBUTTON;
}

// WM_LBUTTONDOWN etc. for a button.
UINT ClientButtonMsg(MouseButton b, bool down)
{
    switch (b) {
    case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case MouseButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
    }
}

// The non-client counterpart of a client mouse message.
UINT ToNonClient(UINT m) { return m - WM_MOUSEMOVE + WM_NCMOUSEMOVE; }

void SetKeyBits(BYTE* state, int vk, bool down)
{
    if (vk <= 0 || vk > 255)
        return;
    if (down) {
        if (!(state[vk] & 0x80))
            state[vk] ^= 0x01; // toggles on each press
        state[vk] |= 0x80;
    } else {
        state[vk] &= static_cast<BYTE>(~0x80);
    }
    auto generic = [&](int g, int l, int r) {
        if (vk == l || vk == r || vk == g) {
            const bool any = (state[l] & 0x80) || (state[r] & 0x80) || (vk == g && down);
            state[g] = static_cast<BYTE>((state[g] & 0x01) | (any ? 0x80 : 0));
        }
    };
    generic(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    generic(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    generic(VK_MENU, VK_LMENU, VK_RMENU);
}

WPARAM MouseKeyState(const BYTE* ks)
{
    WPARAM k = 0;
    if (ks[VK_LBUTTON] & 0x80)
        k |= MK_LBUTTON;
    if (ks[VK_RBUTTON] & 0x80)
        k |= MK_RBUTTON;
    if (ks[VK_MBUTTON] & 0x80)
        k |= MK_MBUTTON;
    if (ks[VK_XBUTTON1] & 0x80)
        k |= MK_XBUTTON1;
    if (ks[VK_XBUTTON2] & 0x80)
        k |= MK_XBUTTON2;
    if (ks[VK_SHIFT] & 0x80)
        k |= MK_SHIFT;
    if (ks[VK_CONTROL] & 0x80)
        k |= MK_CONTROL;
    return k;
}

// ---- the US layout --------------------------------------------------------------------------------------

struct ScanEntry {
    BYTE vk;
    BYTE scan;
    bool extended;
};

constexpr ScanEntry kScans[] = {
    {VK_ESCAPE, 0x01, false}, {'1', 0x02, false}, {'2', 0x03, false}, {'3', 0x04, false}, {'4', 0x05, false},
    {'5', 0x06, false}, {'6', 0x07, false}, {'7', 0x08, false}, {'8', 0x09, false}, {'9', 0x0A, false},
    {'0', 0x0B, false}, {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false}, {VK_BACK, 0x0E, false},
    {VK_TAB, 0x0F, false}, {'Q', 0x10, false}, {'W', 0x11, false}, {'E', 0x12, false}, {'R', 0x13, false},
    {'T', 0x14, false}, {'Y', 0x15, false}, {'U', 0x16, false}, {'I', 0x17, false}, {'O', 0x18, false},
    {'P', 0x19, false}, {VK_OEM_4, 0x1A, false}, {VK_OEM_6, 0x1B, false}, {VK_RETURN, 0x1C, false},
    {VK_CONTROL, 0x1D, false}, {VK_LCONTROL, 0x1D, false}, {'A', 0x1E, false}, {'S', 0x1F, false},
    {'D', 0x20, false}, {'F', 0x21, false}, {'G', 0x22, false}, {'H', 0x23, false}, {'J', 0x24, false},
    {'K', 0x25, false}, {'L', 0x26, false}, {VK_OEM_1, 0x27, false}, {VK_OEM_7, 0x28, false},
    {VK_OEM_3, 0x29, false}, {VK_SHIFT, 0x2A, false}, {VK_LSHIFT, 0x2A, false}, {VK_OEM_5, 0x2B, false},
    {'Z', 0x2C, false}, {'X', 0x2D, false}, {'C', 0x2E, false}, {'V', 0x2F, false}, {'B', 0x30, false},
    {'N', 0x31, false}, {'M', 0x32, false}, {VK_OEM_COMMA, 0x33, false}, {VK_OEM_PERIOD, 0x34, false},
    {VK_OEM_2, 0x35, false}, {VK_RSHIFT, 0x36, false}, {VK_MULTIPLY, 0x37, false}, {VK_MENU, 0x38, false},
    {VK_LMENU, 0x38, false}, {VK_SPACE, 0x39, false}, {VK_CAPITAL, 0x3A, false}, {VK_F1, 0x3B, false},
    {VK_F2, 0x3C, false}, {VK_F3, 0x3D, false}, {VK_F4, 0x3E, false}, {VK_F5, 0x3F, false},
    {VK_F6, 0x40, false}, {VK_F7, 0x41, false}, {VK_F8, 0x42, false}, {VK_F9, 0x43, false},
    {VK_F10, 0x44, false}, {VK_NUMLOCK, 0x45, false}, {VK_SCROLL, 0x46, false}, {VK_NUMPAD7, 0x47, false},
    {VK_NUMPAD8, 0x48, false}, {VK_NUMPAD9, 0x49, false}, {VK_SUBTRACT, 0x4A, false}, {VK_NUMPAD4, 0x4B, false},
    {VK_NUMPAD5, 0x4C, false}, {VK_NUMPAD6, 0x4D, false}, {VK_ADD, 0x4E, false}, {VK_NUMPAD1, 0x4F, false},
    {VK_NUMPAD2, 0x50, false}, {VK_NUMPAD3, 0x51, false}, {VK_NUMPAD0, 0x52, false}, {VK_DECIMAL, 0x53, false},
    {VK_OEM_102, 0x56, false}, {VK_F11, 0x57, false}, {VK_F12, 0x58, false}, {VK_RCONTROL, 0x1D, true},
    {VK_RMENU, 0x38, true}, {VK_DIVIDE, 0x35, true}, {VK_HOME, 0x47, true}, {VK_UP, 0x48, true},
    {VK_PRIOR, 0x49, true}, {VK_LEFT, 0x4B, true}, {VK_RIGHT, 0x4D, true}, {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true}, {VK_NEXT, 0x51, true}, {VK_INSERT, 0x52, true}, {VK_DELETE, 0x53, true},
    {VK_LWIN, 0x5B, true}, {VK_RWIN, 0x5C, true}, {VK_APPS, 0x5D, true},
};

const ScanEntry* ScanOf(int vk)
{
    for (const auto& e : kScans)
        if (e.vk == vk)
            return &e;
    return nullptr;
}

struct OemChar {
    BYTE vk;
    wchar_t plain;
    wchar_t shifted;
};
constexpr OemChar kOem[] = {
    {VK_OEM_1, L';', L':'}, {VK_OEM_PLUS, L'=', L'+'}, {VK_OEM_COMMA, L',', L'<'}, {VK_OEM_MINUS, L'-', L'_'},
    {VK_OEM_PERIOD, L'.', L'>'}, {VK_OEM_2, L'/', L'?'}, {VK_OEM_3, L'`', L'~'}, {VK_OEM_4, L'[', L'{'},
    {VK_OEM_5, L'\\', L'|'}, {VK_OEM_6, L']', L'}'}, {VK_OEM_7, L'\'', L'"'}, {VK_OEM_102, L'\\', L'|'},
};
constexpr wchar_t kShiftedDigits[] = L")!@#$%^&*(";

// The character a key makes with a key state (0: none).
wchar_t CharFor(int vk, const BYTE* ks)
{
    const bool shift = (ks[VK_SHIFT] & 0x80) != 0;
    const bool ctrl = (ks[VK_CONTROL] & 0x80) != 0;
    const bool alt = (ks[VK_MENU] & 0x80) != 0;
    const bool caps = (ks[VK_CAPITAL] & 0x01) != 0;
    if (ctrl && alt)
        return 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return static_cast<wchar_t>(vk - 'A' + 1);
        const bool upper = shift != caps;
        return static_cast<wchar_t>(upper ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9') {
        if (ctrl)
            return 0;
        return shift ? kShiftedDigits[vk - '0'] : static_cast<wchar_t>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return (ks[VK_NUMLOCK] & 0x01) ? static_cast<wchar_t>(L'0' + (vk - VK_NUMPAD0)) : 0;
    switch (vk) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return ctrl ? L'\n' : L'\r';
    case VK_BACK: return ctrl ? 0x7F : 0x08;
    case VK_TAB: return ctrl ? 0 : L'\t';
    case VK_ESCAPE: return 0x1B;
    case VK_CANCEL: return ctrl ? 0x03 : 0;
    case VK_MULTIPLY: return L'*';
    case VK_ADD: return L'+';
    case VK_SUBTRACT: return L'-';
    case VK_DECIMAL: return (ks[VK_NUMLOCK] & 0x01) ? L'.' : 0;
    case VK_DIVIDE: return L'/';
    default: break;
    }
    for (const auto& o : kOem) {
        if (o.vk == vk) {
            if (ctrl) {
                if (vk == VK_OEM_4)
                    return 0x1B;
                if (vk == VK_OEM_5)
                    return 0x1C;
                if (vk == VK_OEM_6)
                    return 0x1D;
                return 0;
            }
            return shift ? o.shifted : o.plain;
        }
    }
    return 0;
}

LPARAM KeyLParam(int vk, bool down, bool prevDown, bool alt)
{
    const ScanEntry* s = ScanOf(vk);
    uint32_t lp = 1;
    if (s) {
        lp |= static_cast<uint32_t>(s->scan) << 16;
        if (s->extended)
            lp |= 1u << 24;
    }
    if (alt)
        lp |= 1u << 29;
    if (prevDown || !down)
        lp |= 1u << 30;
    if (!down)
        lp |= 1u << 31;
    return static_cast<LPARAM>(static_cast<int32_t>(lp));
}

// ---- turning events into messages ----------------------------------------------------------------------

struct Converted {
    MSG msg{};
    int hitTest = HTCLIENT;
    bool drop = false;        // the event leads nowhere: discard it
    DWORD forwardTo = 0;      // belongs to another thread's window
    bool clientMsg = true;
    bool captured = false;
};

bool IsDoubleClick(ThreadQueue& q, HWND hwnd, UINT downMsg, POINT pt, DWORD time, bool client)
{
    if (q.lastWasDouble || q.lastClickMsg != downMsg || q.lastClickWnd != hwnd)
        return false;
    UINT dbl;
    {
        auto lock = LockUser();
        dbl = Input().doubleClickTime;
    }
    if (time - q.lastClickTime > dbl)
        return false;
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (std::abs(pt.x - q.lastClickPt.x) > cx || std::abs(pt.y - q.lastClickPt.y) > cy)
        return false;
    if (client) {
        auto w = PeekWnd(hwnd);
        if (!w)
            return false;
        auto lock = LockUser();
        return (w->cls->style & CS_DBLCLKS) != 0;
    }
    return true;
}

Converted Convert(ThreadQueue& q, const InputEvent& e)
{
    Converted c;
    c.msg.time = e.time;
    c.msg.pt = e.pt;
    const DWORD me = q.threadId;
    switch (e.type) {
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::Button: {
        HWND cap = nullptr;
        {
            auto lock = LockUser();
            if (Input().capture && PeekWnd(Input().capture)) {
                cap = Input().capture;
                if (Input().captureThread != me)
                    c.forwardTo = Input().captureThread;
            }
        }
        if (c.forwardTo)
            return c;
        HWND target;
        if (cap) {
            target = cap;
            c.captured = true;
            c.hitTest = HTCLIENT;
        } else {
            target = WindowFromPointImpl(e.pt, true, &c.hitTest);
        }
        auto w = PeekWnd(target);
        if (!w || w->isDesktop) {
            c.drop = true;
            return c;
        }
        if (w->thread != me) {
            c.forwardTo = w->thread;
            return c;
        }
        c.msg.hwnd = target;
        c.clientMsg = c.hitTest == HTCLIENT;
        UINT m = e.type == InputEvent::Type::MouseMove ? WM_MOUSEMOVE : ClientButtonMsg(e.button, e.down);
        if (e.type == InputEvent::Type::Button && e.down &&
            IsDoubleClick(q, target, m, e.pt, e.time, c.clientMsg))
            m += 2; // WM_xBUTTONDBLCLK follows WM_xBUTTONDOWN
        BYTE ks[256];
        std::copy(std::begin(q.keyState), std::end(q.keyState), ks);
        if (e.type == InputEvent::Type::Button)
            SetKeyBits(ks, VkOfButton(e.button), e.down);
        WPARAM xbtn = 0;
        if (e.button == MouseButton::X1 || e.button == MouseButton::X2)
            xbtn = e.button == MouseButton::X1 ? XBUTTON1 : XBUTTON2;
        if (c.clientMsg) {
            POINT p = e.pt;
            ScreenToClient(target, &p);
            c.msg.message = m;
            c.msg.wParam = MouseKeyState(ks) | (e.type == InputEvent::Type::Button ? (xbtn << 16) : 0);
            c.msg.lParam = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        } else {
            c.msg.message = ToNonClient(m);
            c.msg.wParam = static_cast<WPARAM>(c.hitTest) | (xbtn << 16);
            c.msg.lParam = MAKELPARAM(static_cast<WORD>(e.pt.x), static_cast<WORD>(e.pt.y));
        }
        return c;
    }
    case InputEvent::Type::Wheel: {
        HWND target = q.focus && IsWindow(q.focus) ? q.focus : (q.active && IsWindow(q.active) ? q.active : nullptr);
        if (!target) {
            c.drop = true;
            return c;
        }
        c.msg.hwnd = target;
        c.msg.message = e.horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
        c.msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyState(q.keyState)), static_cast<WORD>(e.delta));
        c.msg.lParam = MAKELPARAM(static_cast<WORD>(e.pt.x), static_cast<WORD>(e.pt.y));
        return c;
    }
    case InputEvent::Type::Key: {
        BYTE ks[256];
        std::copy(std::begin(q.keyState), std::end(q.keyState), ks);
        SetKeyBits(ks, e.vk, e.down);
        const bool alt = e.modifiersKnown ? e.altDown : (ks[VK_MENU] & 0x80) != 0;
        const bool ctrl = e.modifiersKnown ? e.ctrlDown : (ks[VK_CONTROL] & 0x80) != 0;
        HWND target = q.focus && IsWindow(q.focus) ? q.focus : nullptr;
        bool sys = (alt && !ctrl) || e.vk == VK_F10 || ((e.vk == VK_MENU || e.vk == VK_LMENU || e.vk == VK_RMENU) && !ctrl);
        if (!target) {
            target = q.active && IsWindow(q.active) ? q.active : nullptr;
            sys = true; // without a focus window, keys go to the active window as system keys
        }
        if (!target) {
            c.drop = true;
            return c;
        }
        c.msg.hwnd = target;
        c.msg.message = sys ? (e.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (e.down ? WM_KEYDOWN : WM_KEYUP);
        c.msg.wParam = static_cast<WPARAM>(e.vk);
        c.msg.lParam = KeyLParam(e.vk, e.down, e.repeat, alt && e.vk != VK_MENU ? true : (alt && e.down));
        return c;
    }
    case InputEvent::Type::Char: {
        HWND target = q.focus && IsWindow(q.focus) ? q.focus : nullptr;
        if (!target) {
            c.drop = true;
            return c;
        }
        c.msg.hwnd = target;
        c.msg.message = WM_CHAR;
        c.msg.wParam = static_cast<WPARAM>(e.ch);
        c.msg.lParam = 1;
        return c;
    }
    }
    return c;
}

bool FilterOk(HWND filter, UINT first, UINT last, const MSG& m)
{
    if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd))
        return false;
    if (first == 0 && last == 0)
        return true;
    return m.message >= first && m.message <= last;
}

bool RemoveEvent(ThreadQueue& q, uint64_t id)
{
    std::lock_guard lock(q.m);
    for (auto it = q.input.begin(); it != q.input.end(); ++it)
        if (it->id == id) {
            q.input.erase(it);
            return true;
        }
    return false;
}

void Forward(ThreadQueue& q, const InputEvent& e, DWORD tid)
{
    auto target = QueueOf(tid);
    RemoveEvent(q, e.id);
    if (!target || target.get() == &q)
        return;
    {
        std::lock_guard lock(target->m);
        target->input.push_back(e);
    }
    target->Wake(QsOf(e));
}

void NoteMouseTracking(ThreadQueue& q, const Converted& c)
{
    // TrackMouseEvent: leaving the tracked window (or its client/non-client part) posts
    // WM_MOUSELEAVE / WM_NCMOUSELEAVE once.
    if (!q.trackHwnd)
        return;
    const bool nc = (q.trackFlags & TME_NONCLIENT) != 0;
    const bool stillIn = c.msg.hwnd == q.trackHwnd && (nc ? !c.clientMsg : c.clientMsg);
    if (!stillIn && (q.trackFlags & TME_LEAVE)) {
        PostMessageW(q.trackHwnd, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        q.trackHwnd = nullptr;
        q.trackFlags = 0;
        q.hoverDue = 0;
        return;
    }
    if (stillIn && (q.trackFlags & TME_HOVER)) {
        if (std::abs(c.msg.pt.x - q.hoverPt.x) > 2 || std::abs(c.msg.pt.y - q.hoverPt.y) > 2) {
            q.hoverPt = c.msg.pt;
            q.hoverDue = base::Clock::NowMs() + q.hoverTime;
        }
    }
}

void AfterRemove(ThreadQueue& q, const InputEvent& e, const Converted& c)
{
    if (e.type == InputEvent::Type::Button) {
        SetKeyBits(q.keyState, VkOfButton(e.button), e.down);
        if (e.down) {
            const UINT m = c.clientMsg ? c.msg.message : c.msg.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
            const bool dbl = m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK || m == WM_XBUTTONDBLCLK;
            q.lastWasDouble = dbl;
            q.lastClickMsg = dbl ? m - 2 : m;
            q.lastClickWnd = c.msg.hwnd;
            q.lastClickPt = e.pt;
            q.lastClickTime = e.time;
        }
    } else if (e.type == InputEvent::Type::Key) {
        SetKeyBits(q.keyState, e.vk, e.down);
    } else if (e.type == InputEvent::Type::MouseMove) {
        NoteMouseTracking(q, c);
    }
}

} // namespace

bool HasPendingInput(ThreadQueue& q)
{
    std::lock_guard lock(q.m);
    return !q.input.empty();
}

bool TakeInputMessage(ThreadQueue& q, MSG* out, HWND filter, UINT first, UINT last, bool remove, uint64_t onlyId,
    uint64_t* takenId)
{
    for (int guard = 0; guard < 100000; ++guard) {
        std::vector<InputEvent> events;
        {
            std::lock_guard lock(q.m);
            events.assign(q.input.begin(), q.input.end());
        }
        if (events.empty())
            return false;
        bool restart = false;
        for (const InputEvent& e : events) {
            if (onlyId && e.id != onlyId)
                continue;
            Converted c = Convert(q, e);
            if ((c.forwardTo || c.drop) && e.type == InputEvent::Type::MouseMove && q.trackHwnd) {
                // The pointer left every window of this thread: tracking ends.
                Converted away = c;
                away.msg.hwnd = nullptr;
                NoteMouseTracking(q, away);
            }
            if (c.forwardTo) {
                Forward(q, e, c.forwardTo);
                restart = true;
                break;
            }
            if (c.drop) {
                RemoveEvent(q, e.id);
                restart = true;
                break;
            }
            if (!FilterOk(filter, first, last, c.msg))
                continue;
            const bool mouse = e.type == InputEvent::Type::MouseMove || e.type == InputEvent::Type::Button ||
                e.type == InputEvent::Type::Wheel;
            const int code = remove ? HC_ACTION : HC_NOREMOVE;
            if (mouse && HasHooks(WH_MOUSE)) {
                MOUSEHOOKSTRUCTEX mh{};
                mh.pt = e.pt;
                mh.hwnd = c.msg.hwnd;
                mh.wHitTestCode = static_cast<UINT>(c.hitTest);
                mh.mouseData = e.type == InputEvent::Type::Wheel ? static_cast<DWORD>(e.delta << 16) : 0;
                if (CallHooks(WH_MOUSE, code, c.msg.message, reinterpret_cast<LPARAM>(&mh))) {
                    // Eaten by the hook.
                    RemoveEvent(q, e.id);
                    if (HasHooks(WH_CBT))
                        CallHooks(WH_CBT, HCBT_CLICKSKIPPED, c.msg.message, reinterpret_cast<LPARAM>(&mh));
                    restart = true;
                    break;
                }
            }
            if (!mouse && e.type == InputEvent::Type::Key && HasHooks(WH_KEYBOARD)) {
                if (CallHooks(WH_KEYBOARD, code, c.msg.wParam, c.msg.lParam)) {
                    RemoveEvent(q, e.id);
                    if (HasHooks(WH_CBT))
                        CallHooks(WH_CBT, HCBT_KEYSKIPPED, c.msg.wParam, c.msg.lParam);
                    restart = true;
                    break;
                }
            }
            if (!remove) {
                *out = c.msg;
                if (takenId)
                    *takenId = e.id;
                return true;
            }
            // Taking the message: activation on a click, the cursor shape.
            if (e.type == InputEvent::Type::Button && e.down && !c.captured) {
                const HWND top = TopLevelHandle(c.msg.hwnd);
                if (c.msg.hwnd != q.active) {
                    const LRESULT ma = SendMsg(c.msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                        MAKELPARAM(static_cast<WORD>(c.hitTest), static_cast<WORD>(c.msg.message)));
                    if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && top != q.active && IsWindow(top))
                        ActivateWindowImpl(top, WA_CLICKACTIVE, true);
                    if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) {
                        RemoveEvent(q, e.id);
                        AfterRemove(q, e, c);
                        restart = true;
                        break;
                    }
                }
            }
            if ((e.type == InputEvent::Type::Button || e.type == InputEvent::Type::MouseMove) && !c.captured &&
                IsWindow(c.msg.hwnd)) {
                const UINT mouseMsg = c.clientMsg ? c.msg.message : c.msg.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
                SendMsg(c.msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(c.msg.hwnd),
                    MAKELPARAM(static_cast<WORD>(c.hitTest), static_cast<WORD>(mouseMsg)));
            }
            if (!RemoveEvent(q, e.id)) {
                restart = true; // someone took it meanwhile
                break;
            }
            AfterRemove(q, e, c);
            if (!IsWindow(c.msg.hwnd)) {
                restart = true;
                break;
            }
            *out = c.msg;
            if (takenId)
                *takenId = e.id;
            return true;
        }
        if (!restart)
            return false;
    }
    return false;
}

bool TakeHoverMessage(ThreadQueue& q, MSG* out, HWND filter, UINT first, UINT last, bool remove)
{
    if (!q.trackHwnd || !(q.trackFlags & TME_HOVER) || !q.hoverDue || base::Clock::NowMs() < q.hoverDue)
        return false;
    if (!IsWindow(q.trackHwnd)) {
        q.trackHwnd = nullptr;
        q.hoverDue = 0;
        return false;
    }
    const bool nc = (q.trackFlags & TME_NONCLIENT) != 0;
    MSG m{};
    m.hwnd = q.trackHwnd;
    m.message = nc ? WM_NCMOUSEHOVER : WM_MOUSEHOVER;
    m.time = Now();
    {
        auto lock = LockUser();
        m.pt = Input().cursor;
    }
    POINT p = m.pt;
    if (!nc)
        ScreenToClient(m.hwnd, &p);
    m.wParam = nc ? static_cast<WPARAM>(NcHitTest(m.hwnd, m.pt)) : MouseKeyState(q.keyState);
    m.lParam = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    if (!FilterOk(filter, first, last, m))
        return false;
    if (remove) {
        // Hover fires once per TrackMouseEvent call.
        q.trackFlags &= ~TME_HOVER;
        q.hoverDue = 0;
        if (!(q.trackFlags & TME_LEAVE))
            q.trackHwnd = nullptr;
    }
    *out = m;
    return true;
}

void RouteSystemInput() {}

HCURSOR SystemCursorForHitTest(int ht)
{
    switch (ht) {
    case HTLEFT:
    case HTRIGHT: return LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursorW(nullptr, IDC_SIZENESW);
    case HTCLIENT: return nullptr;
    default: return LoadCursorW(nullptr, IDC_ARROW);
    }
}

void ResetInputState()
{
    auto lock = LockUser();
    Input() = InputState{};
}

// ---- the driver API ---------------------------------------------------------------------------------------------

void InjectMouseMove(int x, int y)
{
    InputEvent e;
    e.type = InputEvent::Type::MouseMove;
    {
        auto lock = LockUser();
        Input().cursor = ClampToScreen(POINT{x, y});
        e.pt = Input().cursor;
    }
    e.time = Now();
    TouchWindowSystem();
    Enqueue(e);
}

void SynthesizeMouseMove()
{
    InputEvent e;
    e.type = InputEvent::Type::MouseMove;
    {
        auto lock = LockUser();
        e.pt = Input().cursor;
    }
    e.time = Now();
    Enqueue(e);
}

void InjectMouseButton(MouseButton button, bool down)
{
    InputEvent e;
    e.type = InputEvent::Type::Button;
    e.down = down;
    e.time = Now();
    {
        auto lock = LockUser();
        if (Input().swapButtons) {
            if (button == MouseButton::Left)
                button = MouseButton::Right;
            else if (button == MouseButton::Right)
                button = MouseButton::Left;
        }
        e.pt = Input().cursor;
        const int vk = VkOfButton(button);
        SetKeyBits(Input().asyncKeys, vk, down);
        if (down)
            Input().asyncPressed[vk] = 1;
    }
    e.button = button;
    TouchWindowSystem();
    Enqueue(e);
}

void InjectClick(int x, int y, MouseButton button)
{
    InjectMouseMove(x, y);
    InjectMouseButton(button, true);
    InjectMouseButton(button, false);
}

void InjectMouseWheel(int delta, bool horizontal)
{
    InputEvent e;
    e.type = InputEvent::Type::Wheel;
    e.delta = delta;
    e.horizontal = horizontal;
    e.time = Now();
    {
        auto lock = LockUser();
        e.pt = Input().cursor;
    }
    TouchWindowSystem();
    Enqueue(e);
}

void InjectKey(int vk, bool down)
{
    if (vk <= 0 || vk > 255)
        return;
    InputEvent e;
    e.type = InputEvent::Type::Key;
    e.vk = vk;
    e.down = down;
    e.time = Now();
    {
        auto lock = LockUser();
        e.repeat = down && (Input().asyncKeys[vk] & 0x80);
        e.pt = Input().cursor;
        SetKeyBits(Input().asyncKeys, vk, down);
        if (down)
            Input().asyncPressed[vk] = 1;
        e.modifiersKnown = true;
        e.altDown = (Input().asyncKeys[VK_MENU] & 0x80) != 0;
        e.ctrlDown = (Input().asyncKeys[VK_CONTROL] & 0x80) != 0;
    }
    TouchWindowSystem();
    Enqueue(e);
}

void InjectKeyPress(int vk)
{
    InjectKey(vk, true);
    InjectKey(vk, false);
}

void InjectChar(wchar_t ch)
{
    InputEvent e;
    e.type = InputEvent::Type::Char;
    e.ch = ch;
    e.time = Now();
    {
        auto lock = LockUser();
        e.pt = Input().cursor;
    }
    TouchWindowSystem();
    Enqueue(e);
}

void InjectText(const std::wstring& text)
{
    for (wchar_t ch : text)
        InjectChar(ch);
}

size_t PendingInputCount()
{
    size_t n = 0;
    for (auto& q : AllQueues()) {
        std::lock_guard lock(q->m);
        n += q->input.size();
    }
    return n;
}

} // namespace zyn::user

using namespace zyn::user;

// ---- the keyboard ---------------------------------------------------------------------------------------------------

SHORT GetKeyState(int nVirtKey)
{
    if (nVirtKey <= 0 || nVirtKey > 255)
        return 0;
    const BYTE b = MyQueue().keyState[nVirtKey];
    return static_cast<SHORT>(((b & 0x80) ? 0x8000 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(int vKey)
{
    if (vKey <= 0 || vKey > 255)
        return 0;
    auto lock = LockUser();
    const bool down = (Input().asyncKeys[vKey] & 0x80) != 0;
    const bool pressed = Input().asyncPressed[vKey] != 0;
    Input().asyncPressed[vKey] = 0;
    return static_cast<SHORT>((down ? 0x8000 : 0) | (pressed ? 1 : 0));
}

BOOL GetKeyboardState(PBYTE lpKeyState)
{
    if (!lpKeyState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::copy(std::begin(MyQueue().keyState), std::end(MyQueue().keyState), lpKeyState);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* lpKeyState)
{
    if (!lpKeyState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::copy(lpKeyState, lpKeyState + 256, MyQueue().keyState);
    return TRUE;
}

UINT MapVirtualKeyW(UINT uCode, UINT uMapType)
{
    switch (uMapType) {
    case MAPVK_VK_TO_VSC: {
        const ScanEntry* s = ScanOf(static_cast<int>(uCode));
        return s ? s->scan : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX:
        for (const auto& e : kScans)
            if (e.scan == uCode && !e.extended) {
                if (uMapType == MAPVK_VSC_TO_VK) {
                    if (e.vk == VK_LSHIFT || e.vk == VK_RSHIFT)
                        return VK_SHIFT;
                    if (e.vk == VK_LCONTROL)
                        return VK_CONTROL;
                    if (e.vk == VK_LMENU)
                        return VK_MENU;
                } else {
                    if (e.vk == VK_SHIFT)
                        continue;
                    if (e.vk == VK_CONTROL)
                        return VK_LCONTROL;
                    if (e.vk == VK_MENU)
                        return VK_LMENU;
                }
                return e.vk;
            }
        return 0;
    case MAPVK_VK_TO_CHAR: {
        BYTE ks[256] = {};
        const wchar_t c = CharFor(static_cast<int>(uCode), ks);
        if (uCode >= 'A' && uCode <= 'Z')
            return uCode;
        return c;
    }
    default:
        return 0;
    }
}

UINT MapVirtualKey(UINT uCode, UINT uMapType) { return MapVirtualKeyW(uCode, uMapType); }

SHORT VkKeyScanW(WCHAR ch)
{
    BYTE ks[256] = {};
    for (int shift = 0; shift < 2; ++shift) {
        ks[VK_SHIFT] = shift ? 0x80 : 0;
        for (int vk = 1; vk < 256; ++vk)
            if (CharFor(vk, ks) == ch && !(vk >= VK_NUMPAD0 && vk <= VK_DIVIDE))
                return static_cast<SHORT>(vk | (shift ? 0x100 : 0));
    }
    ks[VK_SHIFT] = 0;
    ks[VK_CONTROL] = 0x80;
    for (int vk = 1; vk < 256; ++vk)
        if (CharFor(vk, ks) == ch)
            return static_cast<SHORT>(vk | 0x200);
    return -1;
}

SHORT VkKeyScan(WCHAR ch) { return VkKeyScanW(ch); }

int ToUnicode(UINT wVirtKey, UINT, const BYTE* lpKeyState, LPWSTR pwszBuff, int cchBuff, UINT)
{
    if (!lpKeyState || !pwszBuff || cchBuff <= 0)
        return 0;
    const wchar_t c = CharFor(static_cast<int>(wVirtKey), lpKeyState);
    if (!c)
        return 0;
    pwszBuff[0] = c;
    if (cchBuff > 1)
        pwszBuff[1] = 0;
    return 1;
}

int GetKeyNameTextW(LONG lParam, LPWSTR lpString, int cchSize)
{
    if (!lpString || cchSize <= 0)
        return 0;
    const UINT scan = (static_cast<uint32_t>(lParam) >> 16) & 0xFF;
    const bool ext = (static_cast<uint32_t>(lParam) >> 24) & 1;
    int vk = 0;
    for (const auto& e : kScans)
        if (e.scan == scan && e.extended == ext && e.vk != VK_LSHIFT && e.vk != VK_LCONTROL && e.vk != VK_LMENU) {
            vk = e.vk;
            break;
        }
    std::wstring name;
    switch (vk) {
    case 0: break;
    case VK_ESCAPE: name = L"Esc"; break;
    case VK_BACK: name = L"Backspace"; break;
    case VK_TAB: name = L"Tab"; break;
    case VK_RETURN: name = L"Enter"; break;
    case VK_CONTROL: name = L"Ctrl"; break;
    case VK_RCONTROL: name = L"Right Ctrl"; break;
    case VK_SHIFT: name = L"Shift"; break;
    case VK_RSHIFT: name = L"Right Shift"; break;
    case VK_MENU: name = L"Alt"; break;
    case VK_RMENU: name = L"Right Alt"; break;
    case VK_SPACE: name = L"Space"; break;
    case VK_CAPITAL: name = L"Caps Lock"; break;
    case VK_NUMLOCK: name = L"Num Lock"; break;
    case VK_SCROLL: name = L"Scroll Lock"; break;
    case VK_HOME: name = L"Home"; break;
    case VK_END: name = L"End"; break;
    case VK_PRIOR: name = L"Page Up"; break;
    case VK_NEXT: name = L"Page Down"; break;
    case VK_INSERT: name = L"Insert"; break;
    case VK_DELETE: name = L"Delete"; break;
    case VK_UP: name = L"Up"; break;
    case VK_DOWN: name = L"Down"; break;
    case VK_LEFT: name = L"Left"; break;
    case VK_RIGHT: name = L"Right"; break;
    default:
        if (vk >= VK_F1 && vk <= VK_F24) {
            name = L"F" + std::to_wstring(vk - VK_F1 + 1);
        } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
            name = L"Num " + std::to_wstring(vk - VK_NUMPAD0);
        } else {
            BYTE ks[256] = {};
            const wchar_t c = CharFor(vk, ks);
            if (c)
                name = std::wstring(1, static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))));
        }
        break;
    }
    const int n = std::min<int>(static_cast<int>(name.size()), cchSize - 1);
    std::copy(name.begin(), name.begin() + n, lpString);
    lpString[n] = 0;
    return n;
}

int GetKeyNameText(LONG lParam, LPWSTR lpString, int cchSize) { return GetKeyNameTextW(lParam, lpString, cchSize); }

BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg)
        return FALSE;
    const UINT m = lpMsg->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_KEYUP && m != WM_SYSKEYUP)
        return FALSE;
    if (m == WM_KEYUP || m == WM_SYSKEYUP)
        return TRUE;
    const wchar_t c = CharFor(static_cast<int>(lpMsg->wParam), MyQueue().keyState);
    if (c)
        PostMessageW(lpMsg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(c), lpMsg->lParam);
    return TRUE;
}

// ---- the cursor ---------------------------------------------------------------------------------------------------------

HCURSOR SetCursor(HCURSOR hCursor)
{
    auto lock = LockUser();
    HCURSOR old = Input().cursorHandle;
    Input().cursorHandle = hCursor;
    return old;
}

HCURSOR GetCursor()
{
    auto lock = LockUser();
    return Input().cursorHandle;
}

int ShowCursor(BOOL bShow)
{
    auto lock = LockUser();
    Input().showCount += bShow ? 1 : -1;
    return Input().showCount;
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockUser();
    *lpPoint = Input().cursor;
    return TRUE;
}

BOOL GetPhysicalCursorPos(LPPOINT lpPoint) { return GetCursorPos(lpPoint); }

BOOL SetCursorPos(int X, int Y)
{
    InjectMouseMove(X, Y);
    return TRUE;
}

BOOL ClipCursor(const RECT* lpRect)
{
    POINT p;
    {
        auto lock = LockUser();
        if (lpRect) {
            Input().clipOn = true;
            Input().clip = *lpRect;
        } else {
            Input().clipOn = false;
        }
        p = Input().cursor;
        const POINT clamped = ClampToScreen(p);
        if (clamped.x == p.x && clamped.y == p.y)
            return TRUE;
        p = clamped;
    }
    InjectMouseMove(p.x, p.y);
    return TRUE;
}

BOOL GetClipCursor(LPRECT lpRect)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockUser();
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Input().clipOn)
        IntersectRect(&r, &r, &Input().clip);
    *lpRect = r;
    return TRUE;
}

UINT GetDoubleClickTime()
{
    auto lock = LockUser();
    return Input().doubleClickTime;
}

BOOL SetDoubleClickTime(UINT uInterval)
{
    auto lock = LockUser();
    Input().doubleClickTime = uInterval ? uInterval : 500;
    return TRUE;
}

BOOL SwapMouseButton(BOOL fSwap)
{
    auto lock = LockUser();
    const BOOL old = Input().swapButtons ? TRUE : FALSE;
    Input().swapButtons = fSwap != FALSE;
    return old;
}

BOOL DragDetect(HWND hwnd, POINT pt)
{
    if (!GetWnd(hwnd))
        return FALSE;
    const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    const RECT zone{pt.x - cx, pt.y - cy, pt.x + cx + 1, pt.y + cy + 1};
    SetCapture(hwnd);
    bool dragged = false, done = false;
    ModalLoopParams p;
    p.owner = hwnd;
    p.done = [&] { return done || GetCapture() != hwnd; };
    p.preTranslate = [&](MSG& m) {
        if (m.message == WM_MOUSEMOVE) {
            if (!PtInRect(&zone, m.pt)) {
                dragged = true;
                done = true;
            }
            return true;
        }
        if (m.message == WM_LBUTTONUP || m.message == WM_RBUTTONUP ||
            (m.message == WM_KEYDOWN && m.wParam == static_cast<WPARAM>(VK_ESCAPE))) {
            done = true;
            return true;
        }
        return false;
    };
    RunModalLoop(p);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    return dragged ? TRUE : FALSE;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack)
{
    if (!lpEventTrack || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ThreadQueue& q = MyQueue();
    if (lpEventTrack->dwFlags & TME_QUERY) {
        lpEventTrack->dwFlags = q.trackHwnd ? q.trackFlags : 0;
        lpEventTrack->hwndTrack = q.trackHwnd;
        lpEventTrack->dwHoverTime = q.hoverTime;
        return TRUE;
    }
    if (lpEventTrack->dwFlags & TME_CANCEL) {
        if (q.trackHwnd == lpEventTrack->hwndTrack) {
            q.trackFlags &= ~(lpEventTrack->dwFlags & (TME_HOVER | TME_LEAVE));
            if (!(q.trackFlags & (TME_HOVER | TME_LEAVE)))
                q.trackHwnd = nullptr;
        }
        return TRUE;
    }
    if (!GetWnd(lpEventTrack->hwndTrack))
        return FALSE;
    POINT cur;
    GetCursorPos(&cur);
    int ht = HTNOWHERE;
    const HWND under = WindowFromPointImpl(cur, true, &ht);
    const bool nc = (lpEventTrack->dwFlags & TME_NONCLIENT) != 0;
    const bool inside = under == lpEventTrack->hwndTrack && (nc ? ht != HTCLIENT : ht == HTCLIENT);
    if (!inside) {
        // Not over the window now: the leave is due at once.
        if (lpEventTrack->dwFlags & TME_LEAVE)
            PostMessageW(lpEventTrack->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    q.trackHwnd = lpEventTrack->hwndTrack;
    q.trackFlags = lpEventTrack->dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT);
    q.hoverTime = lpEventTrack->dwHoverTime == HOVER_DEFAULT ? 400 : lpEventTrack->dwHoverTime;
    q.hoverPt = cur;
    q.hoverDue = (q.trackFlags & TME_HOVER) ? zyn::base::Clock::NowMs() + q.hoverTime : 0;
    return TRUE;
}

BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { return TrackMouseEvent(lpEventTrack); }

namespace {
std::atomic<size_t> g_beeps{0};
} // namespace

// Headless: no sound, but a test can see that a beep was asked for.
BOOL MessageBeep(UINT)
{
    ++g_beeps;
    return TRUE;
}

size_t zyn::user::MessageBeepCount() { return g_beeps.load(); }

BOOL FlashWindow(HWND hWnd, BOOL)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    return GetActiveWindow() == hWnd ? TRUE : FALSE;
}
