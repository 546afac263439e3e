// Window geometry: SetWindowPos and its deferred form, ShowWindow, placement, mapping,
// windows from points and the monitor.
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/base/clock.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/input_internal.h"
#include "platform/user/messages.h"
#include "platform/user/monitor.h"
#include "platform/user/msgqueue.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

inline constexpr UINT kAggNoPosChange = SWP_NOSIZE | SWP_NOMOVE | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_NOZORDER;
inline constexpr UINT kAggStatus = kAggNoPosChange | SWP_FRAMECHANGED | SWP_HIDEWINDOW | SWP_SHOWWINDOW;

// One window's move in progress (SetWindowPos, or one entry of a deferred set).
struct PosJob {
    std::shared_ptr<Window> w;
    WINDOWPOS wp{};
    RECT newWindow{};     // screen
    RECT newClient{};     // screen
    bool ok = false;
    bool wasVisible = false;
    RECT oldWindow{};
    RECT oldClient{};
    Region oldVisible;    // screen, whole window, before the change
    HWND underCursor = nullptr; // the window under the cursor before, when the window may come under it
    bool cursorTouched = false; // the window lands on the cursor
    std::vector<HWND> affected;  // windows that came to owe an erase or a frame paint
};

RECT ToParentCoords(const Window& w, const RECT& screen)
{
    const POINT o = ClientOrigin(w.parent);
    return RECT{screen.left - o.x, screen.top - o.y, screen.right - o.x, screen.bottom - o.y};
}

RECT ToScreenCoords(const Window& w, const RECT& parentRc)
{
    const POINT o = ClientOrigin(w.parent);
    return RECT{parentRc.left + o.x, parentRc.top + o.y, parentRc.right + o.x, parentRc.bottom + o.y};
}

// WM_WINDOWPOSCHANGING and WM_NCCALCSIZE: works out where the window goes.
//
// WM_WINDOWPOSCHANGING hears the request as the caller made it: the position and size
// fields the flags say to ignore keep whatever the caller passed (ShowWindow passes zeros),
// and so do the flags. Only then are the flags settled to what the move does: SWP_NOMOVE /
// SWP_NOSIZE when the request changes nothing, SWP_NOZORDER when the window is already
// where the z-order request would put it, SWP_SHOWWINDOW / SWP_HIDEWINDOW dropped when the
// window already is so, and the SWP_NOCLIENT* pair. WM_NCCALCSIZE and WM_WINDOWPOSCHANGED
// carry the settled flags; WM_WINDOWPOSCHANGED carries the resulting rectangle too.
bool BeginPos(PosJob& job)
{
    auto& w = job.w;
    if (w->isDesktop || w->isMessageRoot) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    WINDOWPOS& wp = job.wp;
    {
        auto lock = LockUser();
        if (!(wp.flags & SWP_NOZORDER) && wp.hwndInsertAfter != w->hwnd && wp.hwndInsertAfter != HWND_TOP &&
            wp.hwndInsertAfter != HWND_BOTTOM && wp.hwndInsertAfter != HWND_TOPMOST &&
            wp.hwndInsertAfter != HWND_NOTOPMOST) {
            auto after = PeekWnd(wp.hwndInsertAfter);
            if (!after || after->parent != w->parent) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return false;
            }
        }
        if (!(wp.flags & SWP_NOSIZE)) {
            wp.cx = std::max(wp.cx, 0);
            wp.cy = std::max(wp.cy, 0);
        }
    }
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        SendMsg(w->hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (w->dead)
            return false;
    }
    RECT oldParentWindow, oldParentClient, newParentWindow;
    {
        auto lock = LockUser();
        if ((wp.flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE))
            wp.flags &= ~SWP_SHOWWINDOW;
        if ((wp.flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE))
            wp.flags &= ~SWP_HIDEWINDOW;
        if (wp.hwndInsertAfter == w->hwnd)
            wp.flags |= SWP_NOZORDER;
        job.oldWindow = w->rcWindow;
        job.oldClient = w->rcClient;
        oldParentWindow = ToParentCoords(*w, w->rcWindow);
        oldParentClient = ToParentCoords(*w, w->rcClient);
        // Where the window goes: the request, and where it is for what was not asked.
        newParentWindow = oldParentWindow;
        if (!(wp.flags & SWP_NOMOVE))
            OffsetRect(&newParentWindow, wp.x - oldParentWindow.left, wp.y - oldParentWindow.top);
        if (!(wp.flags & SWP_NOSIZE)) {
            newParentWindow.right = newParentWindow.left + std::max(wp.cx, 0);
            newParentWindow.bottom = newParentWindow.top + std::max(wp.cy, 0);
        }
        if (newParentWindow.left == oldParentWindow.left && newParentWindow.top == oldParentWindow.top)
            wp.flags |= SWP_NOMOVE;
        if (newParentWindow.right - newParentWindow.left == oldParentWindow.right - oldParentWindow.left &&
            newParentWindow.bottom - newParentWindow.top == oldParentWindow.bottom - oldParentWindow.top)
            wp.flags |= SWP_NOSIZE;
        if (!(wp.flags & SWP_NOZORDER)) {
            // A z-order request that would leave the window where it is changes nothing.
            const auto& sib = w->parent->children;
            const size_t idx = IndexInParent(w.get());
            bool same = false;
            if (wp.hwndInsertAfter == HWND_TOP)
                same = idx == 0 || (w->parent->isDesktop && !(w->exStyle & WS_EX_TOPMOST) &&
                                       (sib[idx - 1]->exStyle & WS_EX_TOPMOST));
            else if (wp.hwndInsertAfter == HWND_BOTTOM)
                same = idx + 1 == sib.size();
            else if (wp.hwndInsertAfter != HWND_TOPMOST && wp.hwndInsertAfter != HWND_NOTOPMOST)
                same = idx > 0 && sib[idx - 1]->hwnd == wp.hwndInsertAfter;
            if (same)
                wp.flags |= SWP_NOZORDER;
        }
    }
    RECT newParentClient;
    if (!(wp.flags & SWP_NOSIZE) || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p{};
        p.rgrc[0] = newParentWindow;
        p.rgrc[1] = oldParentWindow;
        p.rgrc[2] = oldParentClient;
        p.lppos = &wp;
        SendMsg(w->hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
        if (w->dead)
            return false;
        newParentClient = p.rgrc[0];
        RECT clipped;
        if (!IntersectRect(&clipped, &newParentClient, &newParentWindow))
            clipped = RECT{newParentWindow.left, newParentWindow.top, newParentWindow.left, newParentWindow.top};
        newParentClient = clipped;
    } else {
        newParentClient = oldParentClient;
        OffsetRect(&newParentClient, newParentWindow.left - oldParentWindow.left, newParentWindow.top - oldParentWindow.top);
    }
    if (newParentClient.left == oldParentClient.left && newParentClient.top == oldParentClient.top)
        wp.flags |= SWP_NOCLIENTMOVE;
    if (newParentClient.right - newParentClient.left == oldParentClient.right - oldParentClient.left &&
        newParentClient.bottom - newParentClient.top == oldParentClient.bottom - oldParentClient.top)
        wp.flags |= SWP_NOCLIENTSIZE;
    {
        auto lock = LockUser();
        job.newWindow = ToScreenCoords(*w, newParentWindow);
        job.newClient = ToScreenCoords(*w, newParentClient);
        job.wasVisible = IsReallyVisible(w.get());
        if (job.wasVisible)
            job.oldVisible = VisibleRegion(w.get(), false, false, true);
        const POINT cursor = Input().cursor;
        // Moved, sized or taking a new state onto a cursor at rest. (A window merely shown
        // under it, a popup menu say, waits for the mouse to move.)
        job.cursorTouched = !(wp.flags & SWP_HIDEWINDOW) && (job.wasVisible || (wp.flags & SWP_STATECHANGED)) &&
            (wp.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) && PtInRect(&job.newWindow, cursor);
        if (job.cursorTouched)
            job.underCursor = WindowFromPointImpl(cursor, false, nullptr);
    }
    job.ok = true;
    return true;
}

// Keeps owned windows above their owner after the owner moved in the z-order.
void RaiseOwned(Window* owner)
{
    if (!owner->parent || !owner->parent->isDesktop)
        return;
    auto& sib = owner->parent->children;
    std::vector<std::shared_ptr<Window>> owned;
    for (auto& s : sib)
        if (s->owner == owner->hwnd)
            owned.push_back(s);
    // Keep their relative order: the topmost owned window ends on top.
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        if (IndexInParent(it->get()) > IndexInParent(owner))
            LinkWindow(*it, owner->parent, HWND_TOP);
    }
}

void ApplyChange(PosJob& job);

// Applies the change, listing the windows it leaves owing an erase or a frame paint:
// those are the ones FinishPos erases at once.
void ApplyPos(PosJob& job)
{
    RecordOwed(&job.affected);
    ApplyChange(job);
    RecordOwed(nullptr);
}

// Applies the geometry, the z-order and the visibility, and invalidates what changed.
void ApplyChange(PosJob& job)
{
    auto& w = job.w;
    WINDOWPOS& wp = job.wp;
    auto lock = LockUser();
    if (w->dead)
        return;
    const int dxClient = job.newClient.left - job.oldClient.left;
    const int dyClient = job.newClient.top - job.oldClient.top;
    w->rcWindow = job.newWindow;
    w->rcClient = job.newClient;
    for (auto& c : w->children)
        OffsetTree(c.get(), dxClient, dyClient);
    const UINT eff = wp.flags;
    if (!(eff & SWP_NOZORDER)) {
        HWND after = wp.hwndInsertAfter;
        if (w->parent->isDesktop) {
            if (after == HWND_TOPMOST)
                w->exStyle |= WS_EX_TOPMOST;
            else if (after == HWND_NOTOPMOST)
                w->exStyle &= ~WS_EX_TOPMOST;
        }
        LinkWindow(w, w->parent, after);
        if (!(wp.flags & SWP_NOOWNERZORDER))
            RaiseOwned(w.get());
    }
    if (wp.flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW)
        w->style &= ~WS_VISIBLE;
    if (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        w->hiddenByOwner = false; // shown or hidden on its own account now
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        w->rcNormal = ToParentCoords(*w, w->rcWindow);

    const bool changed = (eff & kAggStatus) != kAggNoPosChange;
    if (!changed || (wp.flags & SWP_NOREDRAW))
        return;
    const bool nowVisible = IsReallyVisible(w.get());
    // What the window no longer covers shows what was under it. Only the new visible
    // region's part over the old one matters here; the whole of it is worked out below
    // for the cases that need it (a window just shown, the commonest, does not).
    if (job.wasVisible) {
        const RECT oldBox = job.oldVisible.Box();
        Region exposed = nowVisible ? job.oldVisible.Subtract(VisibleRegion(w.get(), false, false, true, &oldBox))
                                    : job.oldVisible;
        if (!exposed.Empty())
            InvalidateExposed(exposed, w.get());
    }
    if (!nowVisible)
        return;
    const bool moveOnly = (wp.flags & SWP_NOSIZE) && !(wp.flags & (SWP_FRAMECHANGED | SWP_SHOWWINDOW)) &&
        !(wp.flags & SWP_NOCOPYBITS) && job.wasVisible;
    const bool zOrderOnly =
        (wp.flags & SWP_NOSIZE) && (wp.flags & SWP_NOMOVE) && !(wp.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED));
    const bool frameOnly = (wp.flags & SWP_NOCLIENTSIZE) && (wp.flags & SWP_NOCLIENTMOVE) &&
        (wp.flags & SWP_FRAMECHANGED) && !(wp.flags & SWP_SHOWWINDOW);
    const Region newVisible =
        (moveOnly || zOrderOnly || frameOnly) ? VisibleRegion(w.get(), false, false, true) : Region();
    if (moveOnly) {
        // The pixels that were on the screen move with the window; only what was hidden
        // before needs painting.
        const int dx = job.newWindow.left - job.oldWindow.left, dy = job.newWindow.top - job.oldWindow.top;
        Region moved = job.oldVisible;
        moved.Offset(dx, dy);
        Region keep = moved.Intersect(newVisible);
        if (!keep.Empty() && (dx || dy)) {
            HDC screen = GetDC(nullptr);
            if (screen) {
                // Copy band by band in the order that never reads a pixel already written.
                std::vector<RECT> rects = keep.Rects();
                std::sort(rects.begin(), rects.end(), [dx, dy](const RECT& a, const RECT& b) {
                    if (dy != 0)
                        return dy > 0 ? a.top > b.top : a.top < b.top;
                    return dx > 0 ? a.left > b.left : a.left < b.left;
                });
                for (const RECT& r : rects)
                    BitBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, screen, r.left - dx, r.top - dy,
                        SRCCOPY);
                ReleaseDC(nullptr, screen);
            }
        }
        Region rest = newVisible.Subtract(keep);
        // Update regions owed before the move stay owed (they moved with the window).
        if (!rest.Empty())
            InvalidateScreenRegion(w.get(), rest, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    }
    UINT rdw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    if (zOrderOnly) {
        // Only the z-order changed: paint what was covered.
        Region uncovered = newVisible.Subtract(job.oldVisible);
        if (!uncovered.Empty())
            InvalidateScreenRegion(w.get(), uncovered, rdw);
        return;
    }
    if (frameOnly) {
        // The frame changed, the client did not: repaint the frame.
        OweNcPaint(*w);
        InvalidateScreenRegion(w.get(), newVisible.Subtract(Region(w->rcClient)), RDW_INVALIDATE | RDW_FRAME);
        return;
    }
    InvalidateScreenRegion(w.get(), Region(w->rcWindow), rdw);
}

void FinishPos(PosJob& job)
{
    auto& w = job.w;
    if (w->dead)
        return;
    WINDOWPOS& wp = job.wp;
    bool topLevel, child, visible;
    {
        auto lock = LockUser();
        topLevel = w->parent && w->parent->isDesktop;
        child = w->IsChild();
        visible = w->Visible();
    }
    if (!(wp.flags & SWP_NOACTIVATE) && !(wp.flags & SWP_HIDEWINDOW) && visible && w->thread == GetCurrentThreadId()) {
        if (topLevel && GetActiveWindow() != w->hwnd) {
            ActivateWindowImpl(w->hwnd, WA_ACTIVE, false);
        } else if (child) {
            // A child positioned without SWP_NOACTIVATE hears that it is the active child
            // (the MDI client activates its document windows on this), even inside a
            // parent not shown yet.
            SendMsg(w->hwnd, WM_CHILDACTIVATE, 0, 0);
        }
        if (w->dead)
            return;
    }
    if (!(wp.flags & SWP_DEFERERASE) && !(wp.flags & SWP_NOREDRAW))
        ErasePendingNow(job.affected);
    if (w->dead)
        return;
    if ((wp.flags & kAggStatus) != kAggNoPosChange) {
        // The window hears where it ended, whatever parts the request left out.
        {
            auto lock = LockUser();
            const RECT r = ToParentCoords(*w, w->rcWindow);
            wp.x = r.left;
            wp.y = r.top;
            wp.cx = r.right - r.left;
            wp.cy = r.bottom - r.top;
        }
        SendMsg(w->hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    }
    if (wp.flags & SWP_HIDEWINDOW)
        WindowGoingAway(w->hwnd, false);
    if (job.cursorTouched) {
        // A window brought under the cursor hears of the mouse as though it had moved: hit
        // test, cursor shape, WM_MOUSEMOVE.
        POINT cursor;
        {
            auto lock = LockUser();
            cursor = Input().cursor;
        }
        const HWND under = WindowFromPointImpl(cursor, false, nullptr);
        bool mine = false;
        if (auto u = PeekWnd(under); u && under != job.underCursor) {
            auto lock = LockUser();
            mine = IsAncestorOf(w.get(), u.get());
        }
        if (mine)
            SynthesizeMouseMove();
    }
}

// Whether the CBT hook lets a window change its show state (HCBT_MINMAX, lParam the show
// command the caller gave).
bool CbtAllowsMinMax(HWND hwnd, int showCmd)
{
    return !(HasHooks(WH_CBT) &&
        CallHooks(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(showCmd)));
}

} // namespace

MINMAXINFO DefaultMinMaxInfo(HWND hwnd)
{
    RECT area{};
    SIZE frame{};
    bool child = false;
    if (auto w = PeekWnd(hwnd)) {
        auto lock = LockUser();
        frame = FrameSize(w->style, w->exStyle);
        if (w->IsChild() && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot) {
            child = true;
            area = RECT{0, 0, w->parent->rcClient.right - w->parent->rcClient.left,
                w->parent->rcClient.bottom - w->parent->rcClient.top};
        }
    }
    if (!child)
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    // Maximised, the frame lies just outside the area, so the client area fills it.
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{area.right - area.left + 2 * frame.cx, area.bottom - area.top + 2 * frame.cy};
    mmi.ptMaxPosition = POINT{area.left - frame.cx, area.top - frame.cy};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return mmi;
}

namespace {

// The client area of the window's parent (the screen for top-level windows), at 0,0.
RECT ParentArea(const Window& w)
{
    if (w.parent && !w.parent->isDesktop && !w.parent->isMessageRoot)
        return RECT{0, 0, w.parent->rcClient.right - w.parent->rcClient.left,
            w.parent->rcClient.bottom - w.parent->rcClient.top};
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The maximised rectangle from WM_GETMINMAXINFO; sets WS_MAXIMIZE. False when the window
// went away meanwhile.
bool MaximizeRect(const std::shared_ptr<Window>& w, RECT& out, UINT& swpFlags)
{
    MINMAXINFO mmi = DefaultMinMaxInfo(w->hwnd);
    SendMsg(w->hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (w->dead)
        return false;
    auto lock = LockUser();
    w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    out = RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
        mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
    swpFlags |= SWP_FRAMECHANGED | SWP_STATECHANGED | SWP_NOCOPYBITS;
    return true;
}

// A window being minimised keeps no focus: it goes before the window moves (to the parent
// when the window is a child, else to nobody).
void DropFocusFrom(const std::shared_ptr<Window>& w)
{
    auto f = PeekWnd(GetFocus());
    HWND parent = nullptr;
    {
        auto lock = LockUser();
        if (!f || !IsAncestorOf(w.get(), f.get()))
            return;
        if (w->IsChild() && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot)
            parent = w->parent->hwnd;
    }
    SetFocus(parent);
}

// WM_QUERYOPEN to a minimised window about to open; true when it may (or is not minimised).
bool QueryOpen(const std::shared_ptr<Window>& w, DWORD style)
{
    return !(style & WS_MINIMIZE) || (SendMsg(w->hwnd, WM_QUERYOPEN, 0, 0) && !w->dead);
}

// The rectangle (parent client coordinates) and style of a minimised, maximised or
// restored window. A window already in the state asked for gets SWP_NOSIZE|SWP_NOMOVE
// and a zero rectangle, without asking the hook (a maximised window is measured again).
// A minimised window is asked WM_QUERYOPEN before it leaves that state. Taking or leaving
// the minimised state, and maximising, say SWP_NOCOPYBITS: the old pixels are of no use.
// False when the CBT hook or WM_QUERYOPEN refused.
bool MinMaxRect(const std::shared_ptr<Window>& w, int cmd, RECT& out, UINT& swpFlags, int hookCmd)
{
    DWORD style;
    {
        auto lock = LockUser();
        style = w->style;
    }
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: {
        if (style & WS_MINIMIZE) {
            out = RECT{};
            swpFlags |= SWP_NOSIZE | SWP_NOMOVE;
            return true;
        }
        if (!CbtAllowsMinMax(w->hwnd, hookCmd))
            return false;
        DropFocusFrom(w);
        if (w->dead)
            return false;
        auto lock = LockUser();
        const RECT parentClient = ParentArea(*w);
        w->restoreToMaximized = (style & WS_MAXIMIZE) != 0;
        w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
        POINT p = w->ptMin;
        if (p.x == -1 && p.y == -1) {
            // Parked along the bottom of the parent, one slot per minimised sibling.
            int slot = 0;
            if (w->parent)
                for (auto& s : w->parent->children)
                    if (s.get() != w.get() && (s->style & WS_MINIMIZE))
                        ++slot;
            const int perRow = std::max(1, (parentClient.right - parentClient.left) / std::max(1, cx));
            p = POINT{(slot % perRow) * cx, parentClient.bottom - cy * (1 + slot / perRow)};
            if (style & WS_CHILD)
                w->ptMin = p;
        }
        out = RECT{p.x, p.y, p.x + cx, p.y + cy};
        swpFlags |= SWP_FRAMECHANGED | SWP_STATECHANGED | SWP_NOCOPYBITS;
        return true;
    }
    case SW_MAXIMIZE:
        if (!CbtAllowsMinMax(w->hwnd, hookCmd) || !QueryOpen(w, style))
            return false;
        return MaximizeRect(w, out, swpFlags);
    default: { // restore
        if (!(style & (WS_MINIMIZE | WS_MAXIMIZE))) {
            out = RECT{};
            swpFlags |= SWP_NOSIZE | SWP_NOMOVE;
            return true;
        }
        if (!CbtAllowsMinMax(w->hwnd, hookCmd) || !QueryOpen(w, style))
            return false;
        {
            auto lock = LockUser();
            if (!((style & WS_MINIMIZE) && w->restoreToMaximized)) {
                w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
                out = w->rcNormal;
                swpFlags |= SWP_FRAMECHANGED | SWP_STATECHANGED | ((style & WS_MINIMIZE) ? SWP_NOCOPYBITS : 0u);
                return true;
            }
        }
        // Minimised from maximised: restoring maximises again.
        return MaximizeRect(w, out, swpFlags);
    }
    }
}

bool RunPos(const std::shared_ptr<Window>& w, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    PosJob job;
    job.w = w;
    job.wp = WINDOWPOS{w->hwnd, after, x, y, cx, cy, flags};
    if (!BeginPos(job))
        return false;
    ApplyPos(job);
    FinishPos(job);
    return true;
}

} // namespace

bool SetWindowPosImpl(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return false;
    return RunPos(w, after, x, y, cx, cy, flags);
}

bool ApplyCreationMinMax(HWND hwnd, int cmd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return false;
    RECT r{};
    // Still hidden: nothing to activate; showing is a step of its own.
    UINT flags = SWP_NOACTIVATE;
    if (!MinMaxRect(w, cmd, r, flags, cmd))
        return false;
    RunPos(w, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    return true;
}

void SendOwedSizeMove(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    RECT rc;
    POINT org;
    DWORD style;
    {
        auto lock = LockUser();
        if (!w->sendSizeMove)
            return;
        w->sendSizeMove = false;
        rc = w->rcClient;
        org = ClientOrigin(w->parent);
        style = w->style;
    }
    WPARAM kind = SIZE_RESTORED;
    if (style & WS_MINIMIZE)
        kind = SIZE_MINIMIZED;
    else if (style & WS_MAXIMIZE)
        kind = SIZE_MAXIMIZED;
    SendMsg(hwnd, WM_SIZE, kind,
        MAKELPARAM(static_cast<WORD>(rc.right - rc.left), static_cast<WORD>(rc.bottom - rc.top)));
    if (w->dead)
        return;
    SendMsg(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(rc.left - org.x), static_cast<WORD>(rc.top - org.y)));
}

HWND TopLevelHandle(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    Window* t = TopLevelOf(w.get());
    return t ? t->hwnd : nullptr;
}

namespace {

// The window inside `w` (whose window rectangle holds `pt`) that takes a hit there, with its
// hit-test code: `w`'s visible children under the point top down in z-order, each with its
// own children first, then `w` itself. A window of the calling thread answering
// HTTRANSPARENT passes the point on to what lies beneath it in its thread: its lower
// siblings first, then its parent. A window of another thread is not asked (HTCLIENT).
// Null when every window of the subtree under the point is transparent.
std::optional<std::pair<HWND, int>> HitTestSubtree(const std::shared_ptr<Window>& w, POINT pt, DWORD me)
{
    std::vector<std::shared_ptr<Window>> under;
    {
        auto lock = LockUser();
        if (w->dead)
            return std::nullopt;
        if (PtInRect(&w->rcClient, pt) && !(w->style & WS_MINIMIZE)) {
            for (auto& c : w->children) {
                if (!(c->style & WS_VISIBLE) || !PtInRect(&c->rcWindow, pt))
                    continue;
                if (c->style & WS_DISABLED)
                    break; // a disabled child hides what is beneath it, but the parent gets the input
                under.push_back(c);
            }
        }
    }
    for (auto& c : under)
        if (auto hit = HitTestSubtree(c, pt, me))
            return hit;
    if (w->thread != me && w->thread != 0)
        return std::pair{w->hwnd, static_cast<int>(HTCLIENT)};
    if (w->dead)
        return std::nullopt;
    const LRESULT ht = SendMsg(w->hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    if (ht == HTTRANSPARENT)
        return std::nullopt;
    return std::pair{w->hwnd, static_cast<int>(ht)};
}

} // namespace

HWND WindowFromPointImpl(POINT pt, bool sendHitTest, int* hitTest)
{
    if (hitTest)
        *hitTest = HTNOWHERE;
    auto desk = DesktopWnd();
    const DWORD me = GetCurrentThreadId();
    std::vector<std::shared_ptr<Window>> candidates;
    {
        auto lock = LockUser();
        candidates = desk->children;
    }
    for (auto& top : candidates) {
        if (sendHitTest) {
            {
                auto lock = LockUser();
                if (top->dead || !(top->style & WS_VISIBLE) || !PtInRect(&top->rcWindow, pt))
                    continue;
            }
            if (auto hit = HitTestSubtree(top, pt, me)) {
                if (hitTest)
                    *hitTest = hit->second;
                return hit->first;
            }
            continue; // the whole top-level window is transparent here: look at the next one down
        }
        auto lock = LockUser();
        if (top->dead || !(top->style & WS_VISIBLE) || !PtInRect(&top->rcWindow, pt))
            continue;
        // Descend through visible children under the point.
        Window* found = top.get();
        for (;;) {
            if (!PtInRect(&found->rcClient, pt) || (found->style & WS_MINIMIZE))
                break;
            Window* next = nullptr;
            for (auto& c : found->children) {
                if ((c->style & WS_VISIBLE) && PtInRect(&c->rcWindow, pt)) {
                    if (!(c->style & WS_DISABLED))
                        next = c.get(); // a disabled child hides what is beneath it, but the parent gets the input
                    break;
                }
            }
            if (!next)
                break;
            found = next;
        }
        return found->hwnd;
    }
    return sendHitTest ? nullptr : desk->hwnd;
}

} // namespace zyn::user

using namespace zyn::user;
using zyn::user::Window;

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return FALSE;
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpRect = w->rcWindow;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return FALSE;
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpRect = RECT{0, 0, w->rcClient.right - w->rcClient.left, w->rcClient.bottom - w->rcClient.top};
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    return SetWindowPosImpl(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE |
                                                                             SWP_STATECHANGED))
        ? TRUE
        : FALSE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0u : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hWnd) { return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

namespace zyn::user {
namespace {

// The visible (hide) or owner-hidden (show) popups a top-level window owns, in z-order.
std::vector<HWND> OwnedPopups(HWND owner, bool visible)
{
    std::vector<HWND> out;
    auto desk = DesktopWnd();
    auto lock = LockUser();
    for (auto& c : desk->children) {
        if (c->owner != owner || c->dead || c->destroying || c->IsChild())
            continue;
        if (visible ? (c->style & WS_VISIBLE) != 0 : (!(c->style & WS_VISIBLE) && c->hiddenByOwner))
            out.push_back(c->hwnd);
    }
    return out;
}

// Hides (SW_PARENTCLOSING) or shows again (SW_PARENTOPENING) what a window owns.
void ShowOwnedFor(HWND owner, bool show, LPARAM why)
{
    for (HWND o : OwnedPopups(owner, !show)) {
        auto ow = PeekWnd(o);
        if (!ow)
            continue;
        SendMsg(o, WM_SHOWWINDOW, show ? TRUE : FALSE, why);
        SetWindowPosImpl(o, nullptr, 0, 0, 0, 0,
            (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        auto lock = LockUser();
        ow->hiddenByOwner = !show && !(ow->style & WS_VISIBLE);
    }
}

} // namespace
} // namespace zyn::user

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (nCmdShow < SW_HIDE || nCmdShow > SW_MAX) {
        SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
        return FALSE;
    }
    bool wasVisible, child, wasMinimized;
    {
        auto lock = LockUser();
        wasVisible = (w->style & WS_VISIBLE) != 0;
        wasMinimized = (w->style & WS_MINIMIZE) != 0;
        child = w->IsChild();
    }
    // The request: a top-level window is put on top of its siblings (HWND_TOP) unless the
    // command says not to; only SW_SHOWNOACTIVATE and the minimising commands other than
    // SW_SHOWMINIMIZED leave the order alone.
    UINT flags = 0;
    bool show = true;
    RECT r{};
    bool stateChange = false;
    switch (nCmdShow) {
    case SW_HIDE:
        if (!wasVisible)
            return FALSE;
        show = false;
        flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
        flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
        stateChange = true;
        break;
    case SW_SHOWMINIMIZED:
    case SW_SHOWMAXIMIZED:
        flags = SWP_SHOWWINDOW;
        stateChange = true;
        break;
    case SW_SHOWNA:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
        break;
    case SW_SHOW:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        break;
    case SW_SHOWNOACTIVATE:
        flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
        stateChange = true;
        break;
    default: // SW_SHOWNORMAL, SW_RESTORE, SW_SHOWDEFAULT
        flags = SWP_SHOWWINDOW;
        stateChange = true;
        break;
    }
    if (stateChange) {
        int cmd = nCmdShow;
        if (cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWNORMAL || cmd == SW_RESTORE || cmd == SW_SHOWDEFAULT)
            cmd = SW_RESTORE;
        if (cmd == SW_SHOWMAXIMIZED)
            cmd = SW_MAXIMIZE;
        if (!MinMaxRect(w, cmd, r, flags, nCmdShow))
            return wasVisible ? TRUE : FALSE;
        if (w->dead)
            return wasVisible ? TRUE : FALSE;
    } else {
        flags |= SWP_NOSIZE | SWP_NOMOVE;
    }
    // A child is neither activated nor raised by being shown or hidden; taking a new state
    // (maximised, restored) does both, so it hears WM_CHILDACTIVATE.
    if (child && !(flags & SWP_STATECHANGED))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    if (show != wasVisible) {
        SendMsg(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (w->dead)
            return wasVisible ? TRUE : FALSE;
    }
    if (show == wasVisible && !(flags & SWP_STATECHANGED)) {
        // Nothing to show or hide; a top-level window may still want activating.
        if (show && !(flags & SWP_NOACTIVATE) && !child && GetActiveWindow() != hWnd)
            SetWindowPosImpl(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        if (show)
            SendOwedSizeMove(hWnd);
        return wasVisible ? TRUE : FALSE;
    }
    bool nowMinimized;
    {
        auto lock = LockUser();
        nowMinimized = (w->style & WS_MINIMIZE) != 0;
    }
    const bool ownerMinimizing = !child && (flags & SWP_STATECHANGED) && nowMinimized;
    const bool ownerRestoring = !child && (flags & SWP_STATECHANGED) && !nowMinimized;
    // The popups a window owns go while it is minimised, and come back when it is not.
    if (ownerMinimizing) {
        ShowOwnedFor(hWnd, false, SW_PARENTCLOSING);
        if (w->dead)
            return wasVisible ? TRUE : FALSE;
    }
    // The request as asked: zeros where SWP_NOMOVE / SWP_NOSIZE say the values do not count.
    SetWindowPosImpl(hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    if (w->dead)
        return wasVisible ? TRUE : FALSE;
    if (ownerRestoring && show) {
        ShowOwnedFor(hWnd, true, SW_PARENTOPENING);
        if (w->dead)
            return wasVisible ? TRUE : FALSE;
    }
    if (show) {
        // A window created hidden learns its size and place with its first showing.
        SendOwedSizeMove(hWnd);
    } else {
        // A hidden window that was active hands activation on; focus leaves it.
        WindowGoingAway(hWnd, false);
    }
    if (w->dead)
        return wasVisible ? TRUE : FALSE;
    if ((nCmdShow == SW_MINIMIZE || nCmdShow == SW_FORCEMINIMIZE) && nowMinimized && GetActiveWindow() == hWnd) {
        // SW_MINIMIZE hands activation to the next top-level window; with none to take it
        // the minimised window stays active.
        ActivateNextWindow(hWnd);
    } else if (wasMinimized && !nowMinimized && show && !(flags & SWP_NOACTIVATE)) {
        // Opened from an icon: the window takes the focus it could not hold minimised, and
        // a top-level window hears WM_ACTIVATE again even when it stayed active.
        SetFocus(hWnd);
        if (!child && !w->dead)
            SendMsg(hWnd, WM_ACTIVATE, WA_ACTIVE, 0);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL ShowWindowAsync(HWND hWnd, int nCmdShow)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->thread == GetCurrentThreadId())
        return ShowWindow(hWnd, nCmdShow);
    if (nCmdShow < SW_HIDE || nCmdShow > SW_MAX) {
        SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
        return FALSE;
    }
    // Done on the window's own thread; the caller does not wait.
    const BOOL wasVisible = IsWindowVisible(hWnd);
    SendNotifyMessageW(hWnd, kMsgShowFromOtherThread, static_cast<WPARAM>(nCmdShow), 0);
    return wasVisible;
}

BOOL ShowOwnedPopups(HWND hWnd, BOOL fShow)
{
    if (!GetWnd(hWnd))
        return FALSE;
    // Showing brings back only the popups an earlier ShowOwnedPopups(FALSE) (or the
    // owner's minimising) hid; one hidden by ShowWindow stays hidden.
    ShowOwnedFor(hWnd, fShow != FALSE, fShow ? SW_PARENTOPENING : SW_PARENTCLOSING);
    return TRUE;
}

BOOL OpenIcon(HWND hWnd)
{
    if (!GetWnd(hWnd))
        return FALSE;
    ShowWindow(hWnd, SW_SHOWNORMAL);
    return TRUE;
}

BOOL CloseWindow(HWND hWnd)
{
    if (!GetWnd(hWnd))
        return FALSE;
    ShowWindow(hWnd, SW_MINIMIZE);
    return TRUE;
}

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (!lpwndpl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockUser();
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = (w->style & WS_MINIMIZE) && w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    if (w->style & WS_MINIMIZE)
        lpwndpl->showCmd = SW_SHOWMINIMIZED;
    else if (w->style & WS_MAXIMIZE)
        lpwndpl->showCmd = SW_SHOWMAXIMIZED;
    else
        lpwndpl->showCmd = SW_SHOWNORMAL;
    RECT normal = w->rcNormal;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        normal = ToParentCoords(*w, w->rcWindow);
    if (w->style & WS_MINIMIZE) {
        const RECT cur = ToParentCoords(*w, w->rcWindow);
        lpwndpl->ptMinPosition = POINT{cur.left, cur.top};
    } else {
        lpwndpl->ptMinPosition = w->ptMin;
    }
    if (w->style & WS_MAXIMIZE) {
        const RECT cur = ToParentCoords(*w, w->rcWindow);
        lpwndpl->ptMaxPosition = POINT{cur.left, cur.top};
    } else {
        lpwndpl->ptMaxPosition = w->ptMax;
    }
    if (!w->IsChild()) {
        // Top-level placements are in work-area coordinates.
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        OffsetRect(&normal, -work.left, -work.top);
    }
    lpwndpl->rcNormalPosition = normal;
    return TRUE;
}

namespace {
// Far beyond any screen, yet far enough inside 32 bits that a work area's offset and a
// size added to it cannot overflow.
constexpr int64_t kMaxPlacementCoord = 0x3FFFFFFF;
} // namespace

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (!lpwndpl || lpwndpl->length != sizeof(WINDOWPLACEMENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A placement read from a damaged profile may hold any numbers: one whose rectangle or
    // size, offset by the work area, leaves the window system's coordinate range is refused.
    const RECT& asked = lpwndpl->rcNormalPosition;
    const auto inRange = [](int64_t v) { return v >= -kMaxPlacementCoord && v <= kMaxPlacementCoord; };
    if (!inRange(asked.left) || !inRange(asked.top) || !inRange(asked.right) || !inRange(asked.bottom) ||
        !inRange(int64_t{asked.right} - asked.left) || !inRange(int64_t{asked.bottom} - asked.top)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT normal = asked;
    bool topLevel;
    {
        auto lock = LockUser();
        topLevel = !w->IsChild();
    }
    if (topLevel) {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        OffsetRect(&normal, work.left, work.top);
        // A placement saved on a monitor that is gone must not leave the window unreachable.
        normal = zyn::user::KeepOnMonitors(normal);
    }
    bool restored;
    {
        auto lock = LockUser();
        w->rcNormal = normal;
        if (lpwndpl->flags & WPF_SETMINPOSITION)
            w->ptMin = lpwndpl->ptMinPosition;
        w->ptMax = lpwndpl->ptMaxPosition;
        w->restoreToMaximized = (lpwndpl->flags & WPF_RESTORETOMAXIMIZED) != 0;
        restored = !(w->style & (WS_MINIMIZE | WS_MAXIMIZE));
    }
    if (restored)
        SetWindowPosImpl(hWnd, nullptr, normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    int cmd = static_cast<int>(lpwndpl->showCmd);
    if (cmd < SW_HIDE || cmd > SW_MAX)
        cmd = SW_SHOWNORMAL;
    ShowWindow(hWnd, cmd);
    return TRUE;
}

// ---- deferred positioning ----------------------------------------------------------------------------------------

namespace {

struct DeferSet {
    std::vector<WINDOWPOS> entries;
    bool failed = false;
};

zyn::base::HandleTable<DeferSet>& DeferTable()
{
    static zyn::base::HandleTable<DeferSet> t(zyn::base::HandleKind::DeferPos);
    return t;
}

} // namespace

HDWP BeginDeferWindowPos(int nNumWindows)
{
    if (nNumWindows < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto set = std::make_shared<DeferSet>();
    set->entries.reserve(static_cast<size_t>(std::min(nNumWindows, 1024)));
    const uint32_t v = DeferTable().Add(set);
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    return zyn::base::MakeHandle<HDWP>(v);
}

HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    auto set = DeferTable().Get(hWinPosInfo);
    if (!set) {
        SetLastError(ERROR_INVALID_DWP_HANDLE);
        return nullptr;
    }
    if (!GetWnd(hWnd)) {
        // The set is spoilt: EndDeferWindowPos frees it without moving anything.
        DeferTable().Remove(hWinPosInfo);
        return nullptr;
    }
    uFlags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_STATECHANGED);
    for (auto& e : set->entries) {
        if (e.hwnd == hWnd) {
            // A second request for the same window merges into the first.
            if (!(uFlags & SWP_NOMOVE)) {
                e.x = x;
                e.y = y;
                e.flags &= ~SWP_NOMOVE;
            }
            if (!(uFlags & SWP_NOSIZE)) {
                e.cx = cx;
                e.cy = cy;
                e.flags &= ~SWP_NOSIZE;
            }
            if (!(uFlags & SWP_NOZORDER)) {
                e.hwndInsertAfter = hWndInsertAfter;
                e.flags &= ~SWP_NOZORDER;
            }
            e.flags |= uFlags & (SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW |
                                    SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_DEFERERASE);
            return hWinPosInfo;
        }
    }
    set->entries.push_back(WINDOWPOS{hWnd, hWndInsertAfter, x, y, cx, cy, uFlags});
    return hWinPosInfo;
}

BOOL EndDeferWindowPos(HDWP hWinPosInfo)
{
    auto set = DeferTable().Remove(hWinPosInfo);
    if (!set) {
        SetLastError(ERROR_INVALID_DWP_HANDLE);
        return FALSE;
    }
    // Every window hears WM_WINDOWPOSCHANGING first, then all move at once, then each
    // hears WM_WINDOWPOSCHANGED.
    std::vector<PosJob> jobs;
    for (auto& e : set->entries) {
        auto w = PeekWnd(e.hwnd);
        if (!w)
            continue;
        PosJob job;
        job.w = w;
        job.wp = e;
        if (BeginPos(job))
            jobs.push_back(std::move(job));
    }
    for (auto& j : jobs)
        ApplyPos(j);
    for (auto& j : jobs)
        FinishPos(j);
    return TRUE;
}

// ---- frames --------------------------------------------------------------------------------------------------------

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(dwStyle & (WS_CHILD | WS_POPUP)))
        dwStyle |= WS_CAPTION;
    const SIZE f = FrameSize(dwStyle, dwExStyle);
    InflateRect(lpRect, f.cx, f.cy);
    if ((dwStyle & WS_CAPTION) == WS_CAPTION)
        lpRect->top -= GetSystemMetrics((dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (bMenu)
        lpRect->top -= GetSystemMetrics(SM_CYMENU);
    if (dwExStyle & WS_EX_CLIENTEDGE)
        InflateRect(lpRect, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    if ((dwExStyle & WS_EX_STATICEDGE) && !(dwExStyle & WS_EX_DLGMODALFRAME))
        InflateRect(lpRect, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) { return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0); }

// ---- mapping --------------------------------------------------------------------------------------------------------

namespace {

bool OriginOf(HWND h, POINT& out)
{
    if (!h || h == GetDesktopWindow()) {
        out = POINT{0, 0};
        return true;
    }
    auto w = GetWnd(h);
    if (!w)
        return false;
    auto lock = LockUser();
    out = POINT{w->rcClient.left, w->rcClient.top};
    return true;
}

} // namespace

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    POINT o;
    if (!OriginOf(hWnd, o))
        return FALSE;
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpPoint->x += o.x;
    lpPoint->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    POINT o;
    if (!OriginOf(hWnd, o))
        return FALSE;
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from, to;
    if (!OriginOf(hWndFrom, from) || !OriginOf(hWndTo, to))
        return 0;
    const int dx = from.x - to.x, dy = from.y - to.y;
    if (lpPoints)
        for (UINT i = 0; i < cPoints; ++i) {
            lpPoints[i].x += dx;
            lpPoints[i].y += dy;
        }
    SetLastError(0);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT Point) { return WindowFromPointImpl(Point, true, nullptr); }

HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags)
{
    auto p = GetWnd(hwnd);
    if (!p)
        return nullptr;
    auto lock = LockUser();
    const RECT client{0, 0, p->rcClient.right - p->rcClient.left, p->rcClient.bottom - p->rcClient.top};
    if (!PtInRect(&client, pt))
        return nullptr;
    const POINT screen{pt.x + p->rcClient.left, pt.y + p->rcClient.top};
    for (auto& c : p->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        if (PtInRect(&c->rcWindow, screen))
            return c->hwnd;
    }
    return hwnd;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point) { return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL); }

HWND RealChildWindowFromPoint(HWND hwndParent, POINT ptParentClientCoords)
{
    return ChildWindowFromPointEx(hwndParent, ptParentClientCoords, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
}
