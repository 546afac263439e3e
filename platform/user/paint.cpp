// Painting: visible regions, update regions, WM_PAINT, window DCs, scrolling and printing.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/caret_internal.h"
#include "platform/user/control_common.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

HWND g_locked = nullptr; // LockWindowUpdate's window (under the user lock)

// WM_PRINTCLIENT's default sends WM_PAINT with this DC handed out by BeginPaint.
struct Redirect {
    HWND hwnd = nullptr;
    HDC hdc = nullptr;
};
thread_local Redirect t_redirect;

RECT ScreenRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Region ToWindowCoords(const Window& w, Region r)
{
    r.Offset(-w.rcWindow.left, -w.rcWindow.top);
    return r;
}

Region ToScreen(const Window& w, Region r)
{
    r.Offset(w.rcWindow.left, w.rcWindow.top);
    return r;
}

void WakeOwner(const Window& w)
{
    if (w.thread)
        if (auto q = QueueOf(w.thread))
            q->Wake(QS_PAINT);
}

// Whether every point of `rgn` lies inside `r`. A region's bounding box is tight, so the
// box answers it without building the difference.
bool InsideRect(const Region& rgn, const RECT& r)
{
    if (rgn.Empty())
        return true;
    const RECT box = rgn.Box();
    return box.left >= r.left && box.top >= r.top && box.right <= r.right && box.bottom <= r.bottom;
}

// `rgn` cut to `r`; a region already inside is kept as it is, without building a region of
// the rectangle or a copy.
void ClipTo(Region& rgn, const RECT& r)
{
    if (!InsideRect(rgn, r))
        rgn = rgn.Intersect(r);
}

Region ClippedTo(const Region& rgn, const RECT& r) { return InsideRect(rgn, r) ? rgn : rgn.Intersect(r); }

// Whether an invalidation of `screenRgn` that includes the frame owes the window a
// WM_NCPAINT: it reaches outside the client area, or the window has no frame at all (its
// window and client rectangles are one, and it still hears WM_NCPAINT before its
// background is erased, as every window does when its frame is invalidated).
bool FrameTouched(const Window& w, const Region& screenRgn)
{
    if (screenRgn.Empty())
        return false;
    if (EqualRect(&w.rcWindow, &w.rcClient))
        return true;
    return !InsideRect(screenRgn, w.rcClient);
}

bool ChildrenIncluded(const Window& w, UINT flags)
{
    if (flags & RDW_ALLCHILDREN)
        return true;
    if (flags & RDW_NOCHILDREN)
        return false;
    return !(w.style & WS_CLIPCHILDREN);
}

// RDW_* on one window and, as the flags say, its descendants. `rgn` is in screen
// coordinates. Called with the user lock held; sends nothing.
void RedrawImpl(Window* w, const Region& rgn, UINT flags)
{
    if (!IsReallyVisible(w) || w->isDesktop)
        return;
    if (flags & RDW_INVALIDATE) {
        const Region add = ClippedTo(rgn, (flags & RDW_FRAME) ? w->rcWindow : w->rcClient);
        if (!add.Empty()) {
            w->update = w->update.Union(ToWindowCoords(*w, add));
            if (flags & RDW_ERASE)
                OweErase(*w);
            if ((flags & RDW_FRAME) && FrameTouched(*w, add))
                OweNcPaint(*w);
            WakeOwner(*w);
        }
    } else if (flags & RDW_VALIDATE) {
        Region sub = ClippedTo(rgn, (flags & RDW_NOFRAME) ? w->rcClient : w->rcWindow);
        w->update = w->update.Subtract(ToWindowCoords(*w, sub));
        if (w->update.Empty()) {
            w->eraseNeeded = false;
            w->ncPaintNeeded = false;
        } else if (InsideRect(ToScreen(*w, w->update), w->rcClient)) {
            w->ncPaintNeeded = false;
        }
        if (flags & RDW_NOINTERNALPAINT)
            w->internalPaint = false;
    }
    if ((flags & RDW_INTERNALPAINT) && !(flags & RDW_VALIDATE)) {
        w->internalPaint = true;
        WakeOwner(*w);
    }
    if (flags & RDW_NOERASE)
        w->eraseNeeded = false;
    if ((flags & RDW_NOFRAME) && (flags & RDW_VALIDATE))
        w->ncPaintNeeded = false;
    if (!ChildrenIncluded(*w, flags))
        return;
    const Region inside = ClippedTo(rgn, w->rcClient);
    if (inside.Empty())
        return;
    // Children take the flags, except that RDW_ALLCHILDREN / default carries on down. An
    // invalidation passed on to a child takes its frame and its background too: what the
    // parent paints there covers all of it.
    UINT childFlags = flags & ~RDW_NOCHILDREN;
    if (flags & RDW_INVALIDATE)
        childFlags |= RDW_FRAME | RDW_ERASE;
    for (auto& c : w->children)
        RedrawImpl(c.get(), inside, childFlags);
}

} // namespace

void BackgroundErased(Window* w, const Region& screenRgn)
{
    auto lock = LockUser();
    if (w->dead || (w->style & WS_CLIPCHILDREN))
        return;
    for (auto& c : w->children)
        RedrawImpl(c.get(), screenRgn, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FillDesktop(const Region& screenRgn)
{
    if (screenRgn.Empty())
        return;
    auto s = gdi::DesktopSurface();
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    if (auto ro = gdi::RegionFromHandle(r))
        ro->rgn = screenRgn;
    FillRgn(dc, r, GetSysColorBrush(COLOR_BACKGROUND));
    DeleteObject(r);
    ReleaseDC(nullptr, dc);
}

namespace {

bool NeedsPaint(const Window& w) { return !w.update.Empty() || w.internalPaint; }

Window* FindPaintIn(Window* w, DWORD thread, const Window* filter, bool inFilter)
{
    if (!(w->style & WS_VISIBLE) && !w->isDesktop)
        return nullptr;
    const bool here = inFilter || w == filter;
    if (!w->isDesktop && w->thread == thread && here && NeedsPaint(w[0]) && !w->dead)
        return w;
    for (auto& c : w->children)
        if (Window* f = FindPaintIn(c.get(), thread, filter, here))
            return f;
    return nullptr;
}

// Sends WM_PAINT now to a window and, as the flags say, its descendants.
void UpdateNow(HWND hwnd, UINT flags)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    bool paint;
    std::vector<HWND> kids;
    {
        auto lock = LockUser();
        if (!IsReallyVisible(w.get()))
            return;
        paint = !w->isDesktop && w->thread == GetCurrentThreadId() && NeedsPaint(*w);
        if (ChildrenIncluded(*w, flags))
            for (auto& c : w->children)
                kids.push_back(c->hwnd);
    }
    if (paint) {
        {
            auto lock = LockUser();
            w->internalPaint = false;
        }
        SendMsg(hwnd, WM_PAINT, 0, 0);
        if (!w->dead) {
            bool owed;
            {
                auto lock = LockUser();
                owed = w->ncPaintNeeded || w->eraseNeeded;
            }
            if (owed)
                SendNcPaintAndErase(hwnd, true);
        }
    } else if (!w->isDesktop && w->thread == GetCurrentThreadId()) {
        SendNcPaintAndErase(hwnd, true);
    }
    for (HWND k : kids)
        UpdateNow(k, flags & ~RDW_NOCHILDREN);
}

void EraseNow(HWND hwnd, UINT flags)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    std::vector<HWND> kids;
    {
        auto lock = LockUser();
        if (!IsReallyVisible(w.get()))
            return;
        if (ChildrenIncluded(*w, flags))
            for (auto& c : w->children)
                kids.push_back(c->hwnd);
    }
    if (!w->isDesktop && w->thread == GetCurrentThreadId())
        SendNcPaintAndErase(hwnd, true);
    for (HWND k : kids)
        EraseNow(k, flags & ~RDW_NOCHILDREN);
}

HRGN MakeRgn(const Region& r)
{
    HRGN h = CreateRectRgn(0, 0, 0, 0);
    if (auto o = gdi::RegionFromHandle(h))
        o->rgn = r;
    return h;
}

} // namespace

namespace {

// Whether a window's rectangle shares a pixel with `box` (half-open rectangles).
bool Overlaps(const RECT& r, const RECT& box)
{
    return r.left < r.right && r.top < r.bottom && r.left < box.right && box.left < r.right && r.top < box.bottom &&
        box.top < r.bottom;
}

// Cuts away from `rgn` each visible window of `windows[0, end)` that reaches into it. A
// window clear of the region's bounding box leaves it as it is, so most siblings cost a
// comparison of rectangles and no region work.
void SubtractVisible(Region& rgn, const std::vector<std::shared_ptr<Window>>& windows, size_t end,
    const RECT* within = nullptr)
{
    for (size_t i = 0; i < end && !rgn.Empty(); ++i) {
        const Window& s = *windows[i];
        if (!(s.style & WS_VISIBLE) || !Overlaps(s.rcWindow, rgn.Box()))
            continue;
        RECT shown = s.rcWindow;
        if (within) {
            shown = RECT{std::max(shown.left, within->left), std::max(shown.top, within->top),
                std::min(shown.right, within->right), std::min(shown.bottom, within->bottom)};
            if (!Overlaps(shown, rgn.Box()))
                continue;
        }
        rgn = rgn.Subtract(Region(shown));
    }
}

} // namespace

Region VisibleRegion(const Window* w, bool client, bool clipChildren, bool clipSiblings, const RECT* bound)
{
    if (!IsReallyVisible(w))
        return Region();
    Region rgn(client ? w->rcClient : w->rcWindow);
    if (bound)
        ClipTo(rgn, *bound);
    if (w->isDesktop)
        return ClippedTo(rgn, ScreenRect());
    const Window* cur = w;
    while (cur->parent) {
        const Window* p = cur->parent;
        ClipTo(rgn, p->isDesktop ? ScreenRect() : p->rcClient);
        const bool clipSib = p->isDesktop || (cur->style & WS_CLIPSIBLINGS) || (cur == w && clipSiblings);
        if (clipSib)
            SubtractVisible(rgn, p->children, IndexInParent(cur));
        if (rgn.Empty())
            return rgn;
        cur = p;
    }
    // A child shows only inside this window's client area: where its frame reaches past it
    // (a maximised MDI child's does), this window's own frame is still its own to paint.
    if (clipChildren)
        SubtractVisible(rgn, w->children, w->children.size(), &w->rcClient);
    return rgn;
}

void InvalidateScreenRegion(Window* w, const Region& screenRgn, UINT flags)
{
    auto lock = LockUser();
    RedrawImpl(w, screenRgn, flags);
}

namespace {

// InvalidateExposed's walk: a window and its descendants, parents first, in z-order. A
// window clear of the exposed region's bounding box owes nothing, and neither do its
// descendants when its client area is clear of it (they are clipped to it), so the walk
// costs what the exposed area covers, not what exists.
void InvalidateExposedIn(Window* w, const Region& exposed, const Window* except)
{
    if (w == except || !(w->style & WS_VISIBLE))
        return;
    const RECT box = exposed.Box();
    if (Overlaps(w->rcWindow, box)) {
        const Region part = exposed.Intersect(VisibleRegion(w, false, true, true, &box));
        if (!part.Empty()) {
            w->update = w->update.Union(ToWindowCoords(*w, part));
            OweErase(*w);
            if (FrameTouched(*w, part))
                OweNcPaint(*w);
            WakeOwner(*w);
        }
    }
    if (Overlaps(w->rcClient, box))
        for (auto& c : w->children)
            InvalidateExposedIn(c.get(), exposed, except);
}

} // namespace

void InvalidateExposed(const Region& exposed, Window* except)
{
    auto lock = LockUser();
    auto desk = DesktopWnd();
    Region desktopPart = exposed.Intersect(ScreenRect());
    for (auto& c : desk->children) {
        if (c.get() != except && (c->style & WS_VISIBLE) && Overlaps(c->rcWindow, desktopPart.Box()))
            desktopPart = desktopPart.Subtract(Region(c->rcWindow));
        InvalidateExposedIn(c.get(), exposed, except);
    }
    FillDesktop(desktopPart);
}

void ReleaseWindowDcs(Window& w)
{
    std::vector<Window::DcOut> dcs;
    HDC own;
    {
        auto lock = LockUser();
        dcs.swap(w.dcs);
        own = w.ownDc;
        w.ownDc = nullptr;
    }
    for (auto& d : dcs) {
        gdi::RemoveDc(d.dc);
        if (d.rgn)
            DeleteObject(d.rgn);
    }
    if (own)
        gdi::RemoveDc(own);
}

HWND FindPaintWindow(DWORD thread, HWND filter)
{
    auto lock = LockUser();
    std::shared_ptr<Window> f;
    if (filter) {
        f = PeekWnd(filter);
        if (!f)
            return nullptr;
    }
    auto desk = DesktopWnd();
    Window* found = FindPaintIn(desk.get(), thread, f.get(), f == nullptr);
    return found ? found->hwnd : nullptr;
}

void SendNcPaintAndErase(HWND hwnd, bool erase)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    bool nc, er;
    Region updScreen;
    {
        auto lock = LockUser();
        nc = w->ncPaintNeeded;
        w->ncPaintNeeded = false;
        updScreen = ToScreen(*w, w->update);
        er = erase && w->eraseNeeded;
        if (nc && !InsideRect(updScreen, w->rcClient)) {
            // The frame is painted now: only the client part stays owed.
            w->update = w->update.Intersect(ToWindowCoords(*w, Region(w->rcClient)));
        }
    }
    if (nc) {
        HRGN r = MakeRgn(ClippedTo(updScreen, w->rcWindow));
        SendMsg(hwnd, WM_NCPAINT, reinterpret_cast<WPARAM>(r), 0);
        DeleteObject(r);
        if (w->dead)
            return;
    }
    if (er) {
        Region clientUpd;
        {
            auto lock = LockUser();
            clientUpd = ClippedTo(ToScreen(*w, w->update), w->rcClient);
        }
        if (clientUpd.Empty()) {
            auto lock = LockUser();
            w->eraseNeeded = false;
            return;
        }
        DWORD flags = DCX_CACHE | DCX_INTERSECTRGN;
        {
            auto lock = LockUser();
            if (w->style & WS_CLIPCHILDREN)
                flags |= DCX_CLIPCHILDREN;
            if (w->style & WS_CLIPSIBLINGS)
                flags |= DCX_CLIPSIBLINGS;
        }
        HDC dc = GetDCEx(hwnd, MakeRgn(clientUpd), flags);
        const LRESULT done = dc ? SendMsg(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) : 0;
        if (dc)
            ReleaseDC(hwnd, dc);
        if (done && !w->dead) {
            BackgroundErased(w.get(), clientUpd);
            auto lock = LockUser();
            w->eraseNeeded = false;
        }
    }
}

namespace {

// Where a window stands in the desktop's tree, as the indices from its top-level window
// down: sorting by it gives the tree's order, parents first.
std::vector<size_t> TreePath(const Window* w)
{
    std::vector<size_t> path;
    for (; w->parent; w = w->parent)
        path.push_back(IndexInParent(w));
    std::reverse(path.begin(), path.end());
    return path;
}

// Where OweErase and OweNcPaint list the windows they mark (see RecordOwed).
thread_local std::vector<HWND>* t_owedInto = nullptr;

} // namespace

void RecordOwed(std::vector<HWND>* into) { t_owedInto = into; }

void OweErase(Window& w)
{
    w.eraseNeeded = true;
    if (t_owedInto)
        t_owedInto->push_back(w.hwnd);
}

void OweNcPaint(Window& w)
{
    w.ncPaintNeeded = true;
    if (t_owedInto)
        t_owedInto->push_back(w.hwnd);
}

void ErasePendingNow(const std::vector<HWND>& affected)
{
    const DWORD me = GetCurrentThreadId();
    std::vector<HWND> owed;
    {
        auto lock = LockUser();
        // The desktop comes into being here when nothing made it yet, as it always has.
        DesktopWnd();
        std::vector<std::pair<std::vector<size_t>, HWND>> ordered;
        for (HWND h : affected) {
            const Window* w = PeekLockedWnd(h);
            if (w && w->thread == me && (w->ncPaintNeeded || w->eraseNeeded) && w->parent && IsReallyVisible(w))
                ordered.emplace_back(TreePath(w), h);
        }
        // In the tree's order, parents before children, each window once.
        std::sort(ordered.begin(), ordered.end());
        ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
        for (auto& [path, h] : ordered)
            owed.push_back(h);
    }
    for (HWND h : owed)
        SendNcPaintAndErase(h, true);
}

void PaintIntoDc(HWND hwnd, HDC hdc)
{
    if (!hdc)
        return;
    const Redirect saved = t_redirect;
    t_redirect = Redirect{hwnd, hdc};
    SendMsg(hwnd, WM_PAINT, 0, 0);
    t_redirect = saved;
}

void PaintPendingWindows()
{
    for (int guard = 0; guard < 10000; ++guard) {
        HWND h = FindPaintWindow(GetCurrentThreadId(), nullptr);
        if (!h)
            break;
        UpdateNow(h, RDW_NOCHILDREN);
        auto w = PeekWnd(h);
        if (w) {
            // A window that will not validate is not asked again here.
            auto lock = LockUser();
            if (NeedsPaint(*w)) {
                w->update.SetEmpty();
                w->internalPaint = false;
            }
        }
    }
}

// The window system's side of gdi's GetDC(hwnd) / ReleaseDC(hwnd, hdc).
HDC GetDcForGdi(HWND hwnd)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return nullptr;
    DWORD flags = DCX_CACHE;
    {
        auto lock = LockUser();
        if (w->style & WS_CLIPCHILDREN)
            flags |= DCX_CLIPCHILDREN;
        if (w->style & WS_CLIPSIBLINGS)
            flags |= DCX_CLIPSIBLINGS;
        if (w->cls->style & CS_PARENTDC)
            flags |= DCX_PARENTCLIP;
        if (w->cls->style & (CS_OWNDC | CS_CLASSDC))
            flags &= ~DCX_CACHE;
    }
    return GetDCEx(hwnd, nullptr, flags);
}

int ReleaseDcForGdi(HWND hwnd, HDC hdc)
{
    auto w = PeekWnd(hwnd);
    HRGN owned = nullptr;
    bool found = false;
    if (w) {
        auto lock = LockUser();
        if (hdc == w->ownDc)
            return 1; // a window's own DC lives with it
        for (auto it = w->dcs.begin(); it != w->dcs.end(); ++it) {
            if (it->dc == hdc) {
                owned = it->rgn;
                w->dcs.erase(it);
                found = true;
                break;
            }
        }
    }
    if (!found) {
        auto dc = gdi::DcFromHandle(hdc);
        if (!dc)
            return 0;
        // A window DC whose window is gone (or a screen DC) is freed all the same.
        if ((dc->kind == gdi::DcKind::Window && !PeekWnd(dc->hwnd)) || dc->kind == gdi::DcKind::Screen) {
            gdi::RemoveDc(hdc);
            return 1;
        }
        return 0;
    }
    gdi::RemoveDc(hdc);
    if (owned)
        DeleteObject(owned);
    return 1;
}

} // namespace zyn::user

using namespace zyn::user;
using zyn::user::Window;

// ---- DCs ---------------------------------------------------------------------------------------------------

HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags)
{
    if (!hWnd) {
        if (hrgnClip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
            DeleteObject(hrgnClip);
        return GetDC(nullptr);
    }
    auto w = GetWnd(hWnd);
    if (!w) {
        if (hrgnClip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
            DeleteObject(hrgnClip);
        return nullptr;
    }
    const bool takesRegion = hrgnClip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN));
    Region clip;
    if (takesRegion) {
        auto ro = zyn::gdi::RegionFromHandle(hrgnClip);
        if (!ro) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        clip = ro->rgn;
    }
    auto lock = LockUser();
    ++w->dcsHandedOut;
    const bool window = (flags & DCX_WINDOW) != 0;
    Region vis;
    // Only what the intersected region covers can show: the windows clipped away elsewhere
    // are not looked at.
    const RECT clipBox = clip.Box();
    const RECT* bound = (flags & DCX_INTERSECTRGN) ? &clipBox : nullptr;
    if ((flags & DCX_PARENTCLIP) && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot)
        vis = VisibleRegion(w->parent, true, false, (w->parent->style & WS_CLIPSIBLINGS) != 0, bound);
    else
        vis = VisibleRegion(w.get(), !window, (flags & DCX_CLIPCHILDREN) != 0, (flags & DCX_CLIPSIBLINGS) != 0, bound);
    if (flags & DCX_INTERSECTRGN)
        vis = vis.Intersect(clip);
    if (flags & DCX_EXCLUDERGN)
        vis = vis.Subtract(clip);
    if (g_locked && !(flags & DCX_LOCKWINDOWUPDATE)) {
        auto locked = PeekWnd(g_locked);
        if (locked && IsAncestorOf(locked.get(), w.get()))
            vis.SetEmpty();
    }
    const POINT origin = window ? POINT{w->rcWindow.left, w->rcWindow.top} : POINT{w->rcClient.left, w->rcClient.top};
    vis.Offset(-origin.x, -origin.y);
    const bool own = !(flags & DCX_CACHE) && (w->cls->style & (CS_OWNDC | CS_CLASSDC)) && !window;
    if (own && w->ownDc && zyn::gdi::DcFromHandle(w->ownDc)) {
        auto dc = zyn::gdi::DcFromHandle(w->ownDc);
        dc->origin = origin;
        zyn::gdi::SetSystemRegion(w->ownDc, &vis);
        if (takesRegion)
            DeleteObject(hrgnClip);
        return w->ownDc;
    }
    HDC dc = zyn::gdi::CreateWindowDc(hWnd, origin, &vis);
    if (!dc) {
        if (takesRegion)
            DeleteObject(hrgnClip);
        return nullptr;
    }
    if (own) {
        w->ownDc = dc;
        if (takesRegion)
            DeleteObject(hrgnClip);
    } else {
        w->dcs.push_back(Window::DcOut{dc, takesRegion ? hrgnClip : nullptr});
    }
    return dc;
}

HDC GetWindowDC(HWND hWnd)
{
    if (!hWnd)
        return GetDC(nullptr);
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    DWORD flags = DCX_WINDOW | DCX_CACHE;
    {
        auto lock = LockUser();
        if (w->style & WS_CLIPSIBLINGS)
            flags |= DCX_CLIPSIBLINGS;
    }
    return GetDCEx(hWnd, nullptr, flags);
}

HWND WindowFromDC(HDC hDC)
{
    auto dc = zyn::gdi::DcFromHandle(hDC);
    if (!dc)
        return nullptr;
    return dc->kind == zyn::gdi::DcKind::Window ? dc->hwnd : nullptr;
}

BOOL LockWindowUpdate(HWND hWndLock)
{
    HWND unlocked = nullptr;
    {
        auto lock = LockUser();
        if (hWndLock) {
            if (!GetWnd(hWndLock))
                return FALSE;
            if (zyn::user::g_locked && PeekWnd(zyn::user::g_locked)) {
                SetLastError(ERROR_SCREEN_ALREADY_LOCKED);
                return FALSE;
            }
            zyn::user::g_locked = hWndLock;
            return TRUE;
        }
        unlocked = zyn::user::g_locked;
        zyn::user::g_locked = nullptr;
    }
    // What was drawn while locked never reached the screen: paint it again.
    if (unlocked && IsWindow(unlocked))
        RedrawWindow(unlocked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

// ---- update regions ------------------------------------------------------------------------------------------

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags)
{
    std::shared_ptr<Window> w = hWnd ? GetWnd(hWnd) : DesktopWnd();
    if (!w)
        return FALSE;
    Region rgn;
    {
        auto lock = LockUser();
        const POINT org{w->rcClient.left, w->rcClient.top};
        if (hrgnUpdate) {
            auto ro = zyn::gdi::RegionFromHandle(hrgnUpdate);
            if (!ro)
                return FALSE;
            rgn = ro->rgn;
            rgn.Offset(org.x, org.y);
        } else if (lprcUpdate) {
            RECT r = *lprcUpdate;
            OffsetRect(&r, org.x, org.y);
            rgn = Region(r);
        } else {
            rgn = Region((flags & RDW_FRAME) ? w->rcWindow : w->rcClient);
        }
        if (w->isDesktop) {
            // The desktop itself: every top-level window under the region.
            if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) {
                if ((flags & RDW_INVALIDATE) && (flags & RDW_ERASE)) {
                    Region desktopPart = rgn.Intersect(zyn::user::ScreenRect());
                    for (auto& c : w->children)
                        if (c->style & WS_VISIBLE)
                            desktopPart = desktopPart.Subtract(Region(c->rcWindow));
                    zyn::user::FillDesktop(desktopPart);
                }
                if (flags & RDW_ALLCHILDREN)
                    for (auto& c : w->children)
                        zyn::user::RedrawImpl(c.get(), rgn, flags | RDW_FRAME);
            }
        } else {
            zyn::user::RedrawImpl(w.get(), rgn, flags);
        }
    }
    if (flags & RDW_UPDATENOW)
        zyn::user::UpdateNow(w->hwnd, flags);
    else if (flags & RDW_ERASENOW)
        zyn::user::EraseNow(w->hwnd, flags);
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    if (!hWnd)
        return RedrawWindow(nullptr, lpRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN |
                                                          RDW_ERASENOW);
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0u));
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    if (!hWnd)
        return InvalidateRect(nullptr, nullptr, bErase);
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0u));
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect)
{
    if (!hWnd)
        return RedrawWindow(nullptr, lpRect, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn) { return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE); }

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (bErase)
        SendNcPaintAndErase(hWnd, true);
    auto lock = LockUser();
    Region r = zyn::user::ClippedTo(zyn::user::ToScreen(*w, w->update), w->rcClient);
    r.Offset(-w->rcClient.left, -w->rcClient.top);
    if (lpRect)
        *lpRect = r.Box();
    return r.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return ERROR_REGION;
    auto ro = zyn::gdi::RegionFromHandle(hRgn);
    if (!ro)
        return ERROR_REGION;
    if (bErase)
        SendNcPaintAndErase(hWnd, true);
    auto lock = LockUser();
    Region r = zyn::user::ClippedTo(zyn::user::ToScreen(*w, w->update), w->rcClient);
    r.Offset(-w->rcClient.left, -w->rcClient.top);
    ro->rgn = r;
    return r.Complexity();
}

int ExcludeUpdateRgn(HDC hDC, HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return ERROR_REGION;
    Region r;
    {
        auto lock = LockUser();
        r = zyn::user::ClippedTo(zyn::user::ToScreen(*w, w->update), w->rcClient);
        r.Offset(-w->rcClient.left, -w->rcClient.top);
    }
    HRGN h = zyn::user::MakeRgn(r);
    const int res = ExtSelectClipRgn(hDC, h, RGN_DIFF);
    DeleteObject(h);
    return res;
}

BOOL UpdateWindow(HWND hWnd)
{
    if (!GetWnd(hWnd))
        return FALSE;
    return RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    if (!lpPaint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    *lpPaint = PAINTSTRUCT{};
    if (zyn::user::t_redirect.hwnd == hWnd && zyn::user::t_redirect.hdc) {
        // Painting into a DC for WM_PRINTCLIENT: the update region is left alone.
        lpPaint->hdc = zyn::user::t_redirect.hdc;
        lpPaint->fErase = FALSE;
        GetClientRect(hWnd, &lpPaint->rcPaint);
        return lpPaint->hdc;
    }
    zyn::user::CaretBeginPaint(hWnd);
    bool nc;
    {
        auto lock = LockUser();
        nc = w->ncPaintNeeded;
    }
    if (nc) {
        SendNcPaintAndErase(hWnd, false);
        if (w->dead)
            return nullptr;
    }
    Region upd;
    bool erase;
    DWORD flags = DCX_INTERSECTRGN;
    {
        auto lock = LockUser();
        upd = zyn::user::ClippedTo(zyn::user::ToScreen(*w, w->update), w->rcClient);
        erase = w->eraseNeeded;
        w->update.SetEmpty();
        w->eraseNeeded = false;
        w->ncPaintNeeded = false;
        w->internalPaint = false;
        w->inPaint = true;
        if (w->style & WS_CLIPCHILDREN)
            flags |= DCX_CLIPCHILDREN;
        if (w->style & WS_CLIPSIBLINGS)
            flags |= DCX_CLIPSIBLINGS;
        if (w->cls->style & CS_PARENTDC)
            flags |= DCX_PARENTCLIP;
        // A class with its own DC paints with it.
        if (!(w->cls->style & (CS_OWNDC | CS_CLASSDC)))
            flags |= DCX_CACHE;
    }
    HDC dc = GetDCEx(hWnd, zyn::user::MakeRgn(upd), flags);
    if (!dc)
        return nullptr;
    lpPaint->hdc = dc;
    if (erase) {
        const LRESULT done = SendMsg(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        lpPaint->fErase = done ? FALSE : TRUE;
        if (done && !w->dead)
            zyn::user::BackgroundErased(w.get(), upd);
    }
    {
        auto lock = LockUser();
        Region r = upd;
        r.Offset(-w->rcClient.left, -w->rcClient.top);
        lpPaint->rcPaint = r.Box();
    }
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    auto w = GetWnd(hWnd);
    if (!w || !lpPaint)
        return FALSE;
    if (zyn::user::t_redirect.hwnd == hWnd && lpPaint->hdc == zyn::user::t_redirect.hdc)
        return TRUE;
    {
        auto lock = LockUser();
        w->inPaint = false;
    }
    ReleaseDC(hWnd, lpPaint->hdc);
    zyn::user::CaretEndPaint(hWnd);
    return TRUE;
}

// ---- scrolling -----------------------------------------------------------------------------------------------------

namespace {

// Copies the pixels of `moved` (client coordinates, already offset by (dx, dy)) from where
// they were, in an order that reads every source pixel before it is overwritten.
void BlitMovedIn(HDC dc, const Region& moved, int dx, int dy)
{
    std::vector<RECT> rects = moved.Rects();
    std::sort(rects.begin(), rects.end(), [dx, dy](const RECT& a, const RECT& b) {
        if (dy != 0)
            return dy > 0 ? a.top > b.top : a.top < b.top;
        return dx > 0 ? a.left > b.left : a.left < b.left;
    });
    for (const RECT& r : rects)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, dc, r.left - dx, r.top - dy, SRCCOPY);
}

// The same through a DC of the window's client area.
void BlitMoved(HWND hWnd, const Region& moved, int dx, int dy)
{
    if (moved.Empty() || (!dx && !dy))
        return;
    HDC dc = GetDCEx(hWnd, nullptr, DCX_CACHE);
    if (!dc)
        return;
    BlitMovedIn(dc, moved, dx, dy);
    ReleaseDC(hWnd, dc);
}

// The window's visible client area, client coordinates.
Region VisibleClient(const Window& w)
{
    Region vis = VisibleRegion(&w, true, (w.style & WS_CLIPCHILDREN) != 0,
        (w.style & WS_CLIPSIBLINGS) != 0);
    vis.Offset(-w.rcClient.left, -w.rcClient.top);
    return vis;
}

} // namespace

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
    LPRECT prcUpdate, UINT flags)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return ERROR_REGION;
    RECT client, scroll, clipRc;
    Region visClient; // client coordinates
    {
        auto lock = LockUser();
        client = RECT{0, 0, w->rcClient.right - w->rcClient.left, w->rcClient.bottom - w->rcClient.top};
        visClient = VisibleClient(*w);
    }
    scroll = client;
    if (prcScroll && !IntersectRect(&scroll, prcScroll, &client))
        scroll = RECT{0, 0, 0, 0};
    clipRc = client;
    if (prcClip && !IntersectRect(&clipRc, prcClip, &client))
        clipRc = RECT{0, 0, 0, 0};
    const Region area = Region(scroll).Intersect(Region(clipRc));
    // Pixels that can move: visible now, landing visible and inside the clip.
    Region src = visClient.Intersect(Region(scroll));
    Region dst = src;
    dst.Offset(dx, dy);
    dst = dst.Intersect(visClient).Intersect(Region(clipRc));
    BlitMoved(hWnd, dst, dx, dy);
    Region update = area.Subtract(dst);
    {
        // Invalid parts inside the scrolled rectangle move with the contents.
        auto lock = LockUser();
        Region cur = zyn::user::ToScreen(*w, w->update);
        cur.Offset(-w->rcClient.left, -w->rcClient.top);
        Region inScroll = cur.Intersect(Region(scroll));
        if (!inScroll.Empty()) {
            Region moved = inScroll;
            moved.Offset(dx, dy);
            Region rest = cur.Subtract(inScroll).Union(moved.Intersect(Region(clipRc)));
            rest.Offset(w->rcClient.left, w->rcClient.top);
            w->update = zyn::user::ToWindowCoords(*w, rest).Union(
                zyn::user::ToWindowCoords(*w, zyn::user::ToScreen(*w, w->update).Subtract(Region(w->rcClient))));
        }
    }
    if (flags & SW_SCROLLCHILDREN) {
        std::vector<std::pair<HWND, RECT>> kids;
        {
            auto lock = LockUser();
            for (auto& c : w->children) {
                RECT cr = c->rcWindow;
                OffsetRect(&cr, -w->rcClient.left, -w->rcClient.top);
                RECT tmp;
                if (!prcScroll || IntersectRect(&tmp, &cr, &scroll))
                    kids.emplace_back(c->hwnd, cr);
            }
        }
        for (auto& [k, cr] : kids)
            SetWindowPosImpl(k, nullptr, cr.left + dx, cr.top + dy, 0, 0,
                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (flags & SW_INVALIDATE) {
        HRGN h = zyn::user::MakeRgn(update);
        RedrawWindow(hWnd, nullptr, h, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0u) |
                (flags & SW_SCROLLCHILDREN ? RDW_ALLCHILDREN : 0u));
        DeleteObject(h);
    }
    if (hrgnUpdate)
        if (auto ro = zyn::gdi::RegionFromHandle(hrgnUpdate))
            ro->rgn = update;
    if (prcUpdate)
        *prcUpdate = update.Box();
    return update.Complexity();
}

BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect)
{
    return ScrollWindowEx(hWnd, XAmount, YAmount, lpRect, lpClipRect, nullptr, nullptr,
               SW_INVALIDATE | SW_ERASE | (lpRect ? 0u : SW_SCROLLCHILDREN)) != ERROR_REGION
        ? TRUE
        : FALSE;
}

BOOL ScrollDC(HDC hDC, int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip, HRGN hrgnUpdate,
    LPRECT lprcUpdate)
{
    if (!zyn::gdi::DcFromHandle(hDC))
        return FALSE;
    RECT box{};
    GetClipBox(hDC, &box);
    RECT scroll = lprcScroll ? *lprcScroll : box;
    RECT clipRc = lprcClip ? *lprcClip : box;
    IntersectRect(&clipRc, &clipRc, &box);
    Region dst(scroll);
    dst.Offset(dx, dy);
    dst = dst.Intersect(Region(scroll)).Intersect(Region(clipRc));
    BlitMovedIn(hDC, dst, dx, dy);
    const Region update = Region(scroll).Intersect(Region(clipRc)).Subtract(dst);
    if (hrgnUpdate)
        if (auto ro = zyn::gdi::RegionFromHandle(hrgnUpdate))
            ro->rgn = update;
    if (lprcUpdate)
        *lprcUpdate = update.Box();
    return TRUE;
}

namespace zyn::user {

DcUse DcUseOf(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return DcUse{};
    auto lock = LockUser();
    return DcUse{w->dcsHandedOut, w->dcs.size()};
}

bool MoveClientPixels(HWND hwnd, const RECT& from, int dx, int dy, HRGN moved)
{
    auto w = PeekWnd(hwnd);
    auto out = zyn::gdi::RegionFromHandle(moved);
    if (!w || !out)
        return false;
    Region dst;
    {
        auto lock = LockUser();
        const RECT client{0, 0, w->rcClient.right - w->rcClient.left, w->rcClient.bottom - w->rcClient.top};
        const Region vis = VisibleClient(*w);
        // Only pixels that show what the window last painted move: visible, and not
        // waiting for a paint.
        Region pending = zyn::user::ToScreen(*w, w->update);
        pending.Offset(-w->rcClient.left, -w->rcClient.top);
        dst = vis.Intersect(Region(from)).Intersect(Region(client)).Subtract(pending);
        dst.Offset(dx, dy);
        dst = dst.Intersect(vis).Intersect(Region(client));
    }
    BlitMoved(hwnd, dst, dx, dy);
    out->rgn = dst;
    return true;
}

} // namespace zyn::user

BOOL PrintWindow(HWND hwnd, HDC hdcBlt, UINT nFlags)
{
    if (!GetWnd(hwnd))
        return FALSE;
    LPARAM flags = PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN;
    if (nFlags & PW_CLIENTONLY) {
        // The DC's origin is the client area: shift it so WM_PRINT's window origin lands right.
        RECT wr, cr;
        GetWindowRect(hwnd, &wr);
        GetClientRect(hwnd, &cr);
        POINT o{0, 0};
        ClientToScreen(hwnd, &o);
        const int saved = SaveDC(hdcBlt);
        OffsetViewportOrgEx(hdcBlt, wr.left - o.x, wr.top - o.y, nullptr);
        SendMsg(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(hdcBlt), flags);
        RestoreDC(hdcBlt, saved);
        return TRUE;
    }
    SendMsg(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(hdcBlt), flags | PRF_NONCLIENT);
    return TRUE;
}

int GetWindowRgn(HWND hWnd, HRGN)
{
    // Windows here are rectangles: no window has a region of its own.
    if (!GetWnd(hWnd))
        return ERROR_REGION;
    return ERROR_REGION;
}
