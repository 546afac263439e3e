// The window record and tree: creation, destruction, tree queries, window data.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/namefold.h"
#include "platform/base/process.h"
#include "platform/base/threads.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/atoms.h"
#include "platform/user/caret_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {

std::recursive_mutex& UserMutex()
{
    static std::recursive_mutex m;
    return m;
}

base::HandleTable<Window>& WindowTable()
{
    static base::HandleTable<Window> t(base::HandleKind::Window);
    return t;
}

namespace {

std::atomic<bool> g_touched{false};
std::atomic<uint64_t> g_windowsFreed{0};

struct Roots {
    std::shared_ptr<Window> desktop;
    std::shared_ptr<Window> message;
};

Roots& TheRoots()
{
    static Roots r;
    return r;
}

std::shared_ptr<Window> MakeRoot(const wchar_t* className, bool message)
{
    auto w = std::make_shared<Window>();
    w->cls = InternalClass(className);
    w->proc = DefWindowProcW;
    w->thread = 0;
    w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (message) {
        w->isMessageRoot = true;
        w->style = WS_POPUP | WS_CLIPCHILDREN;
    } else {
        w->isDesktop = true;
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        w->rcWindow = RECT{0, 0, cx, cy};
        w->rcClient = w->rcWindow;
    }
    const uint32_t v = WindowTable().Add(w);
    w->hwnd = base::MakeHandle<HWND>(v);
    if (w->cls)
        ++w->cls->windows;
    return w;
}

} // namespace

bool WindowSystemTouched() { return g_touched.load(); }
void TouchWindowSystem() { g_touched.store(true); }

std::shared_ptr<Window> PeekWnd(HWND h)
{
    if (base::KindOfHandle(h) != base::HandleKind::Window)
        return nullptr;
    auto w = WindowTable().Get(h);
    if (!w || w->dead)
        return nullptr;
    return w;
}

uint64_t WindowsFreed() { return g_windowsFreed.load(std::memory_order_relaxed); }

Window* PeekLockedWnd(HWND h)
{
    // Every change to the window table is made under LockUser, which the caller holds: the
    // table is read without its own lock, and a window found in it stays there (and alive)
    // until the caller lets go.
    Window* w = WindowTable().PeekExcluded(base::HandleValue(h));
    return w && !w->dead ? w : nullptr;
}

Window* GetLockedWnd(HWND h)
{
    Window* w = PeekLockedWnd(h);
    if (!w)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

std::shared_ptr<Window> GetWnd(HWND h)
{
    auto w = PeekWnd(h);
    if (!w)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

std::shared_ptr<Window> DesktopWnd()
{
    auto lock = LockUser();
    Roots& r = TheRoots();
    if (!r.desktop || r.desktop->dead) {
        r.desktop = MakeRoot(L"#32769", false);
        // The desktop paints its background when it appears, as exposed parts do later.
        FillDesktop(Region(r.desktop->rcWindow));
    }
    return r.desktop;
}

std::shared_ptr<Window> MessageRoot()
{
    auto lock = LockUser();
    Roots& r = TheRoots();
    if (!r.message || r.message->dead)
        r.message = MakeRoot(L"Message", true);
    return r.message;
}

bool IsAncestorOf(const Window* a, const Window* b)
{
    for (const Window* p = b; p; p = p->parent)
        if (p == a)
            return true;
    return false;
}

Window* TopLevelOf(Window* w)
{
    while (w && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot)
        w = w->parent;
    return w;
}

size_t IndexInParent(const Window* w)
{
    if (!w->parent)
        return 0;
    const auto& c = w->parent->children;
    // One window moved to the top or bottom shifts the others by one: look there too.
    const size_t hint = w->indexHint.load(std::memory_order_relaxed);
    for (const size_t i : {hint, hint + 1, hint - 1})
        if (i < c.size() && c[i].get() == w) {
            w->indexHint.store(static_cast<uint32_t>(i), std::memory_order_relaxed);
            return i;
        }
    for (size_t i = 0; i < c.size(); ++i)
        if (c[i].get() == w) {
            w->indexHint.store(static_cast<uint32_t>(i), std::memory_order_relaxed);
            return i;
        }
    return c.size();
}

std::shared_ptr<Window> SharedOf(const Window* w)
{
    if (!w)
        return nullptr;
    return WindowTable().Get(w->hwnd);
}

void Unlink(Window* w)
{
    if (!w->parent)
        return;
    auto& c = w->parent->children;
    c.erase(std::remove_if(c.begin(), c.end(), [w](const std::shared_ptr<Window>& p) { return p.get() == w; }),
        c.end());
    w->parent = nullptr;
}

void LinkWindow(const std::shared_ptr<Window>& w, Window* parent, HWND after)
{
    Unlink(w.get());
    w->parent = parent;
    auto& c = parent->children;
    const bool topLevel = parent->isDesktop;
    const bool topmost = topLevel && (w->exStyle & WS_EX_TOPMOST);
    // The topmost band is the run of WS_EX_TOPMOST windows at the front of a top-level list.
    size_t bandEnd = 0;
    if (topLevel)
        while (bandEnd < c.size() && (c[bandEnd]->exStyle & WS_EX_TOPMOST))
            ++bandEnd;
    size_t pos;
    if (after == HWND_TOP || after == HWND_TOPMOST) {
        pos = topLevel && !topmost ? bandEnd : 0;
    } else if (after == HWND_BOTTOM || after == HWND_NOTOPMOST) {
        pos = topLevel && topmost ? bandEnd : c.size();
        if (after == HWND_NOTOPMOST)
            pos = bandEnd;
    } else {
        pos = c.size();
        for (size_t i = 0; i < c.size(); ++i) {
            if (c[i]->hwnd == after) {
                pos = i + 1;
                break;
            }
        }
        if (topLevel) {
            if (topmost && pos > bandEnd)
                pos = bandEnd;
            if (!topmost && pos < bandEnd)
                pos = bandEnd;
        }
    }
    pos = std::min(pos, c.size());
    c.insert(c.begin() + static_cast<ptrdiff_t>(pos), w);
    // Found there at once (a new child at the bottom is looked up with no scan).
    w->indexHint.store(static_cast<uint32_t>(pos), std::memory_order_relaxed);
}

void SetOwner(Window& w, HWND owner)
{
    if (w.owner == owner)
        return;
    if (Window* old = PeekLockedWnd(w.owner))
        std::erase(old->owned, w.hwnd);
    w.owner = owner;
    if (Window* now = PeekLockedWnd(owner))
        now->owned.push_back(w.hwnd);
}

bool IsReallyVisible(const Window* w)
{
    for (const Window* p = w; p; p = p->parent) {
        if (p->isDesktop)
            return true;
        if (!(p->style & WS_VISIBLE) || p->isMessageRoot)
            return false;
    }
    return false;
}

void CollectDescendants(Window* w, std::vector<std::shared_ptr<Window>>& out)
{
    for (auto& c : w->children) {
        out.push_back(c);
        CollectDescendants(c.get(), out);
    }
}

void OffsetTree(Window* w, int dx, int dy)
{
    if (!dx && !dy)
        return;
    OffsetRect(&w->rcWindow, dx, dy);
    OffsetRect(&w->rcClient, dx, dy);
    for (auto& c : w->children)
        OffsetTree(c.get(), dx, dy);
}

POINT ClientOrigin(const Window* parent)
{
    if (!parent || parent->isDesktop || parent->isMessageRoot)
        return POINT{0, 0};
    return POINT{parent->rcClient.left, parent->rcClient.top};
}

namespace {

// ---- creation ------------------------------------------------------------------------------------------------

void SendParentNotify(Window* w, UINT event)
{
    // Up the chain of child windows until one does not want to hear about it. A document
    // window of an MDI client tells the client only: the frame learns of its documents
    // from the client.
    HWND hwnd = w->hwnd;
    LONG_PTR id = w->id;
    std::vector<HWND> targets;
    {
        auto lock = LockUser();
        Window* cur = w;
        while (cur->IsChild() && !(cur->exStyle & WS_EX_NOPARENTNOTIFY) && cur->parent && !cur->parent->isDesktop &&
            !cur->parent->isMessageRoot) {
            targets.push_back(cur->parent->hwnd);
            if (cur->exStyle & WS_EX_MDICHILD)
                break;
            cur = cur->parent;
        }
    }
    for (HWND t : targets)
        SendMsg(t, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(id)),
            reinterpret_cast<LPARAM>(hwnd));
}

void FreeWindowAndChildren(const std::shared_ptr<Window>& w);

// Frees a window whose messages have been sent (or that never got any): unlinks it,
// releases what it holds and makes its handle stale.
void FreeWindow(const std::shared_ptr<Window>& w)
{
    HMENU menu = nullptr, sysMenu = nullptr;
    std::vector<std::shared_ptr<Window>> leftovers;
    std::shared_ptr<ControlState> state; // released outside the lock: it may free GDI objects
    {
        auto lock = LockUser();
        if (w->dead)
            return;
        w->dead = true;
        g_windowsFreed.fetch_add(1, std::memory_order_relaxed);
        SetOwner(*w, nullptr);
        state = std::move(w->controlState);
        if (!w->IsChild())
            menu = w->menu;
        sysMenu = w->sysMenu;
        w->menu = nullptr;
        w->sysMenu = nullptr;
        // Children made while the window was being destroyed go with it.
        leftovers = w->children;
        for (auto& c : w->children)
            c->parent = nullptr;
        w->children.clear();
        Unlink(w.get());
        if (w->cls)
            --w->cls->windows;
        w->props.clear();
    }
    for (auto& c : leftovers)
        FreeWindowAndChildren(c);
    KillWindowTimers(w->hwnd);
    ReleaseWindowDcs(*w);
    const auto& hooks = GetMenuBarHooks();
    if (hooks.destroyMenu) {
        if (menu)
            hooks.destroyMenu(menu);
        if (sysMenu)
            hooks.destroyMenu(sysMenu);
    }
    // Under LockUser, as every change to the table: PeekLockedWnd relies on it.
    auto lock = LockUser();
    WindowTable().Remove(w->hwnd);
}

// WM_DESTROY to a window and then to every descendant, top down in z-order (each
// window's children are read after its own WM_DESTROY, so children it makes there go too).
void SendDestroyMessages(const std::shared_ptr<Window>& w)
{
    {
        auto lock = LockUser();
        if (w->dead || w->destroying)
            return;
        w->destroying = true;
    }
    WindowGoingAway(w->hwnd, true);
    ClipboardOwnerGoingAway(w->hwnd);
    CaretWindowGoingAway(w->hwnd);
    SendMsg(w->hwnd, WM_DESTROY, 0, 0);
    std::vector<std::shared_ptr<Window>> kids;
    {
        auto lock = LockUser();
        kids = w->children;
    }
    for (auto& k : kids)
        SendDestroyMessages(k);
}

// WM_NCDESTROY once every WM_DESTROY is out: the children first (siblings in z-order, each
// after its own children), the window last; each is freed after its WM_NCDESTROY.
void SendNcDestroyAndFree(const std::shared_ptr<Window>& w)
{
    std::vector<std::shared_ptr<Window>> kids;
    {
        auto lock = LockUser();
        if (w->dead)
            return;
        kids = w->children;
    }
    for (auto& k : kids) {
        // A child made after its parent's children were read never heard WM_DESTROY.
        SendDestroyMessages(k);
        SendNcDestroyAndFree(k);
    }
    if (w->dead)
        return;
    SendMsg(w->hwnd, WM_NCDESTROY, 0, 0);
    FreeWindow(w);
}

void DestroyTree(const std::shared_ptr<Window>& w)
{
    SendDestroyMessages(w);
    SendNcDestroyAndFree(w);
}

// A window whose WM_CREATE answered -1: the children it made go the usual way, the window
// itself hears WM_NCDESTROY only.
void DiscardRefusedWindow(const std::shared_ptr<Window>& w)
{
    std::vector<std::shared_ptr<Window>> kids;
    {
        auto lock = LockUser();
        w->destroying = true;
        kids = w->children;
    }
    for (auto& k : kids)
        DestroyTree(k);
    WindowGoingAway(w->hwnd, true);
    if (w->dead)
        return;
    SendMsg(w->hwnd, WM_NCDESTROY, 0, 0);
    FreeWindow(w);
}

// Frees a window and its descendants without messages (children of a window being
// destroyed, thread end, test reset).
void FreeWindowAndChildren(const std::shared_ptr<Window>& w)
{
    std::vector<std::shared_ptr<Window>> kids;
    {
        auto lock = LockUser();
        kids = w->children;
    }
    for (auto& k : kids)
        FreeWindowAndChildren(k);
    FreeWindow(w);
}

POINT DefaultCascadePosition()
{
    static std::atomic<int> n{0};
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int k = n.fetch_add(1) % 8;
    return POINT{step * k, step * k};
}

} // namespace

void DestroyThreadWindows(DWORD threadId)
{
    std::vector<std::shared_ptr<Window>> mine;
    {
        auto lock = LockUser();
        for (auto& [v, w] : WindowTable().Snapshot())
            if (w->thread == threadId && !w->dead && w->parent && (w->parent->isDesktop || w->parent->isMessageRoot))
                mine.push_back(w);
    }
    for (auto& w : mine)
        FreeWindowAndChildren(w);
}

void DestroyAllWindowsSilently()
{
    std::vector<std::shared_ptr<Window>> all;
    {
        auto lock = LockUser();
        for (auto& [v, w] : WindowTable().Snapshot())
            if (!w->isDesktop && !w->isMessageRoot && w->parent && (w->parent->isDesktop || w->parent->isMessageRoot))
                all.push_back(w);
    }
    for (auto& w : all)
        FreeWindowAndChildren(w);
    // Orphans (a window whose parent went away during a failed creation) go too.
    for (auto& [v, w] : WindowTable().Snapshot())
        if (!w->isDesktop && !w->isMessageRoot)
            FreeWindow(w);
    auto lock = LockUser();
    Roots& r = TheRoots();
    for (auto* root : {&r.desktop, &r.message}) {
        if (*root) {
            (*root)->children.clear();
            WindowTable().Remove((*root)->hwnd);
            (*root)->dead = true;
            root->reset();
        }
    }
    g_touched.store(false);
}

} // namespace zyn::user

using namespace zyn::user;
using zyn::user::Window;

// ---- creation ----------------------------------------------------------------------------------------------

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    TouchWindowSystem();
    auto cls = FindClass(lpClassName, hInstance);
    if (!cls)
        return nullptr;

    std::shared_ptr<Window> parent;
    HWND owner = nullptr;
    if (hWndParent == HWND_MESSAGE) {
        parent = MessageRoot();
    } else if (dwStyle & WS_CHILD) {
        if (!hWndParent) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        parent = GetWnd(hWndParent);
        if (!parent)
            return nullptr;
    } else {
        parent = DesktopWnd();
        if (hWndParent) {
            auto o = GetWnd(hWndParent);
            if (!o)
                return nullptr;
            auto lock = LockUser();
            Window* top = TopLevelOf(o.get());
            owner = (top && !top->isDesktop) ? top->hwnd : nullptr;
        }
    }

    // The styles the system adds: every top-level window clips its siblings, an overlapped
    // window has a caption, and the window edge follows the frame. The CREATESTRUCT carries
    // the caller's style and the extended style the window will have.
    const bool overlapped = !(dwStyle & (WS_CHILD | WS_POPUP));
    DWORD style = dwStyle;
    DWORD exStyle = dwExStyle;
    if (!(dwStyle & WS_CHILD))
        style |= WS_CLIPSIBLINGS;
    if (overlapped)
        style |= WS_CAPTION;
    if ((dwExStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME)))
        exStyle |= WS_EX_WINDOWEDGE;
    else
        exStyle &= ~WS_EX_WINDOWEDGE;

    if (!(dwStyle & WS_CHILD) && !hMenu && GetMenuBarHooks().loadMenu) {
        // A window created without a menu gets its class's menu.
        std::wstring name;
        uintptr_t id = 0;
        HINSTANCE module = nullptr;
        {
            auto lock = LockUser();
            name = cls->menuName;
            id = cls->menuId;
            module = cls->module;
        }
        if (id || !name.empty())
            hMenu = GetMenuBarHooks().loadMenu(module, id ? MAKEINTRESOURCE(id) : name.c_str());
    }
    if (!(dwStyle & WS_CHILD) && hMenu) {
        const auto& hooks = GetMenuBarHooks();
        const bool ok = hooks.isMenu ? hooks.isMenu(hMenu) : zyn::base::KindOfHandle(hMenu) == zyn::base::HandleKind::Menu;
        if (!ok) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return nullptr;
        }
    }

    // Default position and size.
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int showCmd = -1;
    if (overlapped) {
        if (X == CW_USEDEFAULT) {
            const POINT p = DefaultCascadePosition();
            X = work.left + p.x;
            if (Y != CW_USEDEFAULT && Y != 0)
                showCmd = Y; // the show command rides in Y, as on Windows
            Y = work.top + p.y;
        }
        if (nWidth == CW_USEDEFAULT) {
            nWidth = (work.right - work.left) * 3 / 4;
            nHeight = (work.bottom - work.top) * 3 / 4;
        }
    } else {
        if (X == CW_USEDEFAULT) {
            X = 0;
            Y = 0;
        }
        if (nWidth == CW_USEDEFAULT) {
            nWidth = 0;
            nHeight = 0;
        }
    }
    if (nWidth < 0)
        nWidth = 0;
    if (nHeight < 0)
        nHeight = 0;

    CREATESTRUCTW cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.x = X;
    cs.y = Y;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = exStyle;

    auto w = std::make_shared<Window>();
    {
        auto lock = LockUser();
        w->thread = GetCurrentThreadId();
        w->cls = cls;
        w->proc = cls->proc;
        w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        w->exStyle = exStyle;
        if (dwStyle & WS_CHILD)
            w->id = reinterpret_cast<LONG_PTR>(hMenu);
        else
            w->menu = hMenu;
        w->instance = hInstance;
        if (lpWindowName)
            w->text = lpWindowName;
        w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
        const POINT org = ClientOrigin(parent.get());
        w->rcWindow = RECT{org.x + X, org.y + Y, org.x + X + nWidth, org.y + Y + nHeight};
        w->rcClient = w->rcWindow;
        w->rcNormal = RECT{X, Y, X + nWidth, Y + nHeight};
        const uint32_t v = WindowTable().Add(w);
        if (!v) {
            SetLastError(ERROR_NO_SYSTEM_RESOURCES);
            return nullptr;
        }
        w->hwnd = zyn::base::MakeHandle<HWND>(v);
        SetOwner(*w, owner);
        ++cls->windows;
        // A child goes below its siblings (creation order is tab order); a window of the
        // desktop is top-level whatever its style, and goes on top.
        LinkWindow(w, parent.get(), (dwStyle & WS_CHILD) && !parent->isDesktop ? HWND_BOTTOM : HWND_TOP);
    }
    const HWND hwnd = w->hwnd;
    ThreadQueue& q = MyQueue();

    if (HasHooks(WH_CBT)) {
        // Reported as HWND_TOP for every window, though a child goes below its siblings.
        CBT_CREATEWNDW cbt{&cs, HWND_TOP};
        const HWND savedCreating = q.creating;
        q.creating = hwnd;
        const LRESULT refused = CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd),
            reinterpret_cast<LPARAM>(&cbt));
        q.creating = savedCreating;
        if (refused || w->dead) {
            FreeWindow(w);
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        // The hook may have changed the position and size.
        auto lock = LockUser();
        const POINT org = ClientOrigin(w->parent);
        w->rcWindow = RECT{org.x + cs.x, org.y + cs.y, org.x + cs.x + std::max(cs.cx, 0), org.y + cs.y + std::max(cs.cy, 0)};
        w->rcClient = w->rcWindow;
    }

    // Size limits.
    if ((dwStyle & WS_THICKFRAME) || overlapped) {
        MINMAXINFO mmi = DefaultMinMaxInfo(hwnd);
        SendMsg(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (w->dead)
            return nullptr;
        auto lock = LockUser();
        const int cx = std::clamp<int>(w->Width(), std::min(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
        const int cy = std::clamp<int>(w->Height(), std::min(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
        w->rcWindow.right = w->rcWindow.left + cx;
        w->rcWindow.bottom = w->rcWindow.top + cy;
        w->rcClient = w->rcWindow;
        cs.cx = cx;
        cs.cy = cy;
    }

    {
        const HWND savedCreating = q.creating;
        q.creating = hwnd;
        const LRESULT ok = SendMsg(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
        q.creating = savedCreating;
        if (w->dead)
            return nullptr;
        if (!ok) {
            SendMsg(hwnd, WM_NCDESTROY, 0, 0);
            FreeWindow(w);
            return nullptr;
        }
    }

    // The client area from the frame. At creation the rectangle is in screen coordinates,
    // for a child too (later WM_NCCALCSIZE calls use the parent's client coordinates).
    {
        RECT rc;
        {
            auto lock = LockUser();
            rc = w->rcWindow;
        }
        SendMsg(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
        if (w->dead)
            return nullptr;
        auto lock = LockUser();
        // A client rectangle outside the window is cut to it.
        RECT clipped;
        if (!IntersectRect(&clipped, &rc, &w->rcWindow))
            clipped = RECT{w->rcWindow.left, w->rcWindow.top, w->rcWindow.left, w->rcWindow.top};
        w->rcClient = clipped;
    }

    if (SendMsg(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // Refused: the window is taken down with WM_NCDESTROY alone (what it made in
        // WM_CREATE is destroyed as usual).
        if (!w->dead)
            DiscardRefusedWindow(w);
        return nullptr;
    }
    if (w->dead)
        return nullptr;
    w->created = true;
    {
        auto lock = LockUser();
        w->sendSizeMove = true;
    }
    // An overlapped window hears WM_SIZE and WM_MOVE with its first showing; a popup or a
    // child hears them now, with its restored client rectangle.
    if (!overlapped) {
        SendOwedSizeMove(hwnd);
        if (w->dead)
            return nullptr;
    }

    if (dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)) {
        // Minimised or maximised from the start: the state is taken while the window is
        // still hidden (HCBT_MINMAX, the state's rectangle, SWP_STATECHANGED); showing it
        // is the next step.
        ApplyCreationMinMax(hwnd, (dwStyle & WS_MINIMIZE) ? SW_MINIMIZE : SW_MAXIMIZE);
        if (w->dead)
            return nullptr;
    }

    if (dwStyle & WS_CHILD)
        SendParentNotify(w.get(), WM_CREATE);
    if (w->dead)
        return nullptr;

    if (dwStyle & WS_VISIBLE) {
        int cmd = SW_SHOW;
        if (showCmd >= 0)
            cmd = showCmd;
        else if (dwStyle & WS_MINIMIZE)
            cmd = SW_SHOWMINIMIZED;
        ShowWindow(hwnd, cmd);
    }
    return w->dead ? nullptr : hwnd;
}

HWND CreateWindowEx(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowExW(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu,
        hInstance, lpParam);
}

HWND CreateWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
    HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowExW(0, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu, hInstance,
        lpParam);
}

HWND CreateWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
    HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowExW(0, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu, hInstance,
        lpParam);
}

BOOL DestroyWindow(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->isDesktop || w->isMessageRoot) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->thread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->destroying)
        return TRUE;
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hWnd), 0))
        return FALSE;
    if (w->dead)
        return TRUE;

    if (w->IsChild())
        SendParentNotify(w.get(), WM_DESTROY);
    if (w->dead)
        return TRUE;

    if (w->Visible()) {
        // Hidden first; the hide activates nothing, losing the activation does that.
        SetWindowPosImpl(hWnd, nullptr, 0, 0, 0, 0,
            SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (w->dead)
            return TRUE;
    }

    // Owned windows go first.
    if (!w->IsChild()) {
        std::vector<HWND> owned;
        {
            auto lock = LockUser();
            for (HWND h : w->owned) {
                const Window* o = PeekLockedWnd(h);
                if (o && o->owner == hWnd && !o->destroying)
                    owned.push_back(h);
            }
        }
        // In the order of their handles' slots, oldest slot first.
        std::sort(owned.begin(), owned.end(), [](HWND a, HWND b) {
            constexpr uint32_t kSlot = zyn::base::handle_bits::kMaxSlots - 1;
            return (zyn::base::HandleValue(a) & kSlot) < (zyn::base::HandleValue(b) & kSlot);
        });
        for (HWND o : owned) {
            auto ow = PeekWnd(o);
            if (!ow)
                continue;
            if (ow->thread == GetCurrentThreadId()) {
                DestroyWindow(o);
            } else {
                // Another thread's popup: it is destroyed on its own thread.
                PostMessageW(o, kMsgDestroyFromOtherThread, 0, 0);
                auto lock = LockUser();
                SetOwner(*ow, nullptr);
            }
        }
    }
    if (w->dead)
        return TRUE;
    DestroyTree(w);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    // `dead` is atomic: the table's lock alone settles it.
    return WindowTable().Visit(zyn::base::HandleValue(hWnd), [](const Window* w) { return w && !w->dead; }) ? TRUE
                                                                                                      : FALSE;
}

// ---- the tree ----------------------------------------------------------------------------------------------

HWND GetDesktopWindow() { return DesktopWnd()->hwnd; }

HWND GetParent(HWND hWnd)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return nullptr;
    if (w->IsChild())
        return w->parent ? w->parent->hwnd : nullptr;
    if (w->style & WS_POPUP)
        return w->owner;
    return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT gaFlags)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    switch (gaFlags) {
    case GA_PARENT:
        return w->parent ? w->parent->hwnd : nullptr;
    case GA_ROOT: {
        if (w->isDesktop || w->isMessageRoot)
            return w->hwnd;
        return TopLevelOf(w.get())->hwnd;
    }
    case GA_ROOTOWNER: {
        if (w->isDesktop || w->isMessageRoot)
            return w->hwnd;
        Window* top = TopLevelOf(w.get());
        for (int guard = 0; top->owner && guard < 1000; ++guard) {
            auto o = PeekWnd(top->owner);
            if (!o)
                break;
            top = TopLevelOf(o.get());
        }
        return top->hwnd;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    auto w = GetWnd(hWndChild);
    if (!w)
        return nullptr;
    std::shared_ptr<Window> np;
    if (!hWndNewParent)
        np = DesktopWnd();
    else if (hWndNewParent == HWND_MESSAGE)
        np = MessageRoot();
    else if (!(np = GetWnd(hWndNewParent)))
        return nullptr;
    HWND oldParent;
    RECT oldScreen;
    bool wasVisible;
    {
        auto lock = LockUser();
        if (w->isDesktop || w->isMessageRoot || IsAncestorOf(w.get(), np.get())) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        oldParent = w->parent ? w->parent->hwnd : nullptr;
        wasVisible = IsReallyVisible(w.get());
        oldScreen = w->rcWindow;
        const POINT oldOrg = ClientOrigin(w->parent);
        const POINT newOrg = ClientOrigin(np.get());
        // Last of its new siblings until SetWindowPos below puts it on top.
        LinkWindow(w, np.get(), HWND_BOTTOM);
        OffsetTree(w.get(), newOrg.x - oldOrg.x, newOrg.y - oldOrg.y);
    }
    if (wasVisible)
        InvalidateExposed(Region(oldScreen), nullptr);
    bool child;
    {
        auto lock = LockUser();
        if (IsReallyVisible(w.get()))
            InvalidateScreenRegion(w.get(), Region(w->rcWindow), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        child = w->IsChild() && !np->isDesktop && !np->isMessageRoot;
    }
    // On top of its new siblings through SetWindowPos: the window hears WM_WINDOWPOSCHANGING
    // and, as a child positioned without SWP_NOACTIVATE, WM_CHILDACTIVATE.
    SetWindowPosImpl(hWndChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (child ? 0u : SWP_NOACTIVATE));
    return oldParent;
}

namespace {

HWND SiblingAt(const Window* w, ptrdiff_t offset)
{
    if (!w->parent)
        return nullptr;
    const auto& c = w->parent->children;
    const ptrdiff_t i = static_cast<ptrdiff_t>(IndexInParent(w)) + offset;
    if (i < 0 || i >= static_cast<ptrdiff_t>(c.size()))
        return nullptr;
    return c[static_cast<size_t>(i)]->hwnd;
}

} // namespace

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return nullptr;
    switch (uCmd) {
    case GW_HWNDFIRST:
        return w->parent && !w->parent->children.empty() ? w->parent->children.front()->hwnd : nullptr;
    case GW_HWNDLAST:
        return w->parent && !w->parent->children.empty() ? w->parent->children.back()->hwnd : nullptr;
    case GW_HWNDNEXT: return SiblingAt(w, 1);
    case GW_HWNDPREV: return SiblingAt(w, -1);
    case GW_OWNER: return w->IsChild() ? nullptr : w->owner;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front()->hwnd;
    case GW_ENABLEDPOPUP: {
        // The first enabled visible window owned by this one.
        auto desk = DesktopWnd();
        for (auto& c : desk->children)
            if (c->owner == hWnd && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED))
                return c->hwnd;
        return nullptr;
    }
    default:
        SetLastError(ERROR_INVALID_GW_COMMAND);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hWnd)
{
    std::shared_ptr<Window> desktop = hWnd ? nullptr : DesktopWnd();
    auto lock = LockUser();
    const Window* w = hWnd ? GetLockedWnd(hWnd) : desktop.get();
    if (!w)
        return nullptr;
    return w->children.empty() ? nullptr : w->children.front()->hwnd;
}

HWND GetNextWindow(HWND hWnd, UINT wCmd)
{
    if (wCmd != GW_HWNDNEXT && wCmd != GW_HWNDPREV) {
        SetLastError(ERROR_INVALID_GW_COMMAND);
        return nullptr;
    }
    return GetWindow(hWnd, wCmd);
}

HWND GetLastActivePopup(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    // The active window when it is owned by hWnd; otherwise hWnd itself.
    ThreadQueue& q = MyQueue();
    if (auto a = PeekWnd(q.active)) {
        for (HWND o = a->owner; o;) {
            if (o == hWnd)
                return a->hwnd;
            auto ow = PeekWnd(o);
            o = ow ? ow->owner : nullptr;
        }
    }
    return hWnd;
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    auto p = PeekWnd(hWndParent);
    auto w = PeekWnd(hWnd);
    if (!p || !w)
        return FALSE;
    auto lock = LockUser();
    for (Window* c = w.get(); c && c->IsChild(); c = c->parent)
        if (c->parent == p.get())
            return TRUE;
    return FALSE;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    if (lpdwProcessId)
        *lpdwProcessId = GetCurrentProcessId();
    return w->isDesktop || w->isMessageRoot ? 0 : w->thread;
}

namespace {

std::vector<HWND> HandlesOf(const std::vector<std::shared_ptr<Window>>& v)
{
    std::vector<HWND> out;
    out.reserve(v.size());
    for (auto& w : v)
        out.push_back(w->hwnd);
    return out;
}

} // namespace

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (!lpEnumFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> list;
    {
        auto desk = DesktopWnd();
        auto lock = LockUser();
        list = HandlesOf(desk->children);
    }
    for (HWND h : list)
        if (IsWindow(h) && !lpEnumFunc(h, lParam))
            return FALSE;
    return TRUE;
}

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (!lpEnumFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!hWndParent)
        return EnumWindows(lpEnumFunc, lParam);
    auto p = GetWnd(hWndParent);
    if (!p)
        return FALSE;
    std::vector<HWND> list;
    {
        auto lock = LockUser();
        std::vector<std::shared_ptr<Window>> all;
        CollectDescendants(p.get(), all);
        list = HandlesOf(all);
    }
    for (HWND h : list)
        if (IsWindow(h) && !lpEnumFunc(h, lParam))
            return FALSE;
    return TRUE;
}

BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam)
{
    if (!lpfn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> list;
    {
        auto desk = DesktopWnd();
        auto lock = LockUser();
        for (auto& c : desk->children)
            if (c->thread == dwThreadId)
                list.push_back(c->hwnd);
    }
    for (HWND h : list)
        if (IsWindow(h) && !lpfn(h, lParam))
            return FALSE;
    return TRUE;
}

namespace {

bool ClassMatches(const Window& w, LPCWSTR cls)
{
    if (!cls)
        return true;
    if (IS_INTRESOURCE(cls))
        return w.cls->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(cls));
    return zyn::base::NamesEqual(w.cls->name, cls);
}

} // namespace

HWND FindWindowExW(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass, LPCWSTR lpszWindow)
{
    std::shared_ptr<Window> p;
    if (!hWndParent)
        p = DesktopWnd();
    else if (hWndParent == HWND_MESSAGE)
        p = MessageRoot();
    else if (!(p = GetWnd(hWndParent)))
        return nullptr;
    auto lock = LockUser();
    bool started = hWndChildAfter == nullptr;
    for (auto& c : p->children) {
        if (!started) {
            if (c->hwnd == hWndChildAfter)
                started = true;
            continue;
        }
        if (!ClassMatches(*c, lpszClass))
            continue;
        if (lpszWindow && !zyn::base::NamesEqual(c->text, lpszWindow))
            continue;
        return c->hwnd;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

HWND FindWindowEx(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass, LPCWSTR lpszWindow)
{
    return FindWindowExW(hWndParent, hWndChildAfter, lpszClass, lpszWindow);
}

HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName)
{
    return FindWindowExW(nullptr, nullptr, lpClassName, lpWindowName);
}

HWND FindWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName) { return FindWindowW(lpClassName, lpWindowName); }

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    auto p = GetWnd(hDlg);
    if (!p)
        return nullptr;
    auto lock = LockUser();
    for (auto& c : p->children)
        if (static_cast<int>(c->id) == nIDDlgItem)
            return c->hwnd;
    SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return 0;
    return w->IsChild() ? static_cast<int>(w->id) : 0;
}

// ---- window data ----------------------------------------------------------------------------------------------

namespace {

bool ExtraOk(const Window& w, int index, size_t size)
{
    if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    return true;
}

LONG_PTR ChangeStyle(const std::shared_ptr<Window>& w, int index, DWORD value)
{
    DWORD old;
    {
        auto lock = LockUser();
        old = index == GWL_STYLE ? w->style : w->exStyle;
    }
    STYLESTRUCT ss{old, value};
    SendMsg(w->hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    if (w->dead)
        return static_cast<LONG_PTR>(old);
    {
        auto lock = LockUser();
        if (index == GWL_STYLE) {
            w->style = ss.styleNew;
        } else {
            // Topmost changes only through SetWindowPos.
            w->exStyle = (ss.styleNew & ~WS_EX_TOPMOST) | (w->exStyle & WS_EX_TOPMOST);
        }
        ss.styleNew = index == GWL_STYLE ? w->style : w->exStyle;
    }
    STYLESTRUCT changed{old, ss.styleNew};
    SendMsg(w->hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&changed));
    return static_cast<LONG_PTR>(static_cast<LONG>(old));
}

} // namespace

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return 0;
    switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc.load());
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        if (w->IsChild())
            return w->parent ? reinterpret_cast<LONG_PTR>(w->parent->hwnd) : 0;
        return reinterpret_cast<LONG_PTR>(w->owner);
    case GWLP_ID: return w->IsChild() ? w->id : reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    default: break;
    }
    if (!ExtraOk(*w, nIndex, sizeof(LONG_PTR)))
        return 0;
    LONG_PTR v = 0;
    std::memcpy(&v, w->extra.data() + nIndex, sizeof v);
    return v;
}

LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex) { return GetWindowLongPtrW(hWnd, nIndex); }

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    if (w->isDesktop || w->isMessageRoot) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE)
        return ChangeStyle(w, nIndex, static_cast<DWORD>(dwNewLong));
    auto lock = LockUser();
    LONG_PTR old = 0;
    switch (nIndex) {
    case GWLP_WNDPROC:
        if (!dwNewLong) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<LONG_PTR>(w->proc.load());
        w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return old;
    case GWLP_HWNDPARENT: {
        if (w->IsChild()) {
            // Changing a child's parent is SetParent's work.
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<LONG_PTR>(w->owner);
        HWND o = reinterpret_cast<HWND>(dwNewLong);
        if (o) {
            auto ow = GetWnd(o);
            if (!ow)
                return 0;
            Window* top = TopLevelOf(ow.get());
            if (top == w.get()) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return 0;
            }
            o = top->hwnd;
        }
        SetOwner(*w, o);
        return old;
    }
    case GWLP_ID:
        if (w->IsChild()) {
            old = w->id;
            w->id = dwNewLong;
        } else {
            old = reinterpret_cast<LONG_PTR>(w->menu);
            w->menu = reinterpret_cast<HMENU>(dwNewLong);
        }
        return old;
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = dwNewLong;
        return old;
    default: break;
    }
    if (!ExtraOk(*w, nIndex, sizeof(LONG_PTR)))
        return 0;
    std::memcpy(&old, w->extra.data() + nIndex, sizeof old);
    std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
    return old;
}

LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return SetWindowLongPtrW(hWnd, nIndex, dwNewLong); }

LONG GetWindowLongW(HWND hWnd, int nIndex)
{
    if (nIndex >= 0) {
        auto lock = LockUser();
        const Window* w = GetLockedWnd(hWnd);
        if (!w)
            return 0;
        if (!ExtraOk(*w, nIndex, sizeof(LONG)))
            return 0;
        LONG v = 0;
        std::memcpy(&v, w->extra.data() + nIndex, sizeof v);
        return v;
    }
    return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex));
}

LONG GetWindowLong(HWND hWnd, int nIndex) { return GetWindowLongW(hWnd, nIndex); }

LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong)
{
    if (nIndex >= 0) {
        auto w = GetWnd(hWnd);
        if (!w)
            return 0;
        auto lock = LockUser();
        if (!ExtraOk(*w, nIndex, sizeof(LONG)))
            return 0;
        LONG old = 0;
        std::memcpy(&old, w->extra.data() + nIndex, sizeof old);
        std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
        return old;
    }
    if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE)
        return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))));
    return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, dwNewLong));
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong) { return SetWindowLongW(hWnd, nIndex, dwNewLong); }

WORD GetWindowWord(HWND hWnd, int nIndex)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    auto lock = LockUser();
    if (!ExtraOk(*w, nIndex, sizeof(WORD)))
        return 0;
    WORD v = 0;
    std::memcpy(&v, w->extra.data() + nIndex, sizeof v);
    return v;
}

WORD SetWindowWord(HWND hWnd, int nIndex, WORD wNewWord)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    auto lock = LockUser();
    if (!ExtraOk(*w, nIndex, sizeof(WORD)))
        return 0;
    WORD old = 0;
    std::memcpy(&old, w->extra.data() + nIndex, sizeof old);
    std::memcpy(w->extra.data() + nIndex, &wNewWord, sizeof wNewWord);
    return old;
}

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!lpPrevWndFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}

// ---- properties ---------------------------------------------------------------------------------------------------

namespace {

// A property key: an atom for integer names, a name otherwise (string atoms are names).
struct PropKey {
    std::wstring name;
    ATOM atom = 0;
};

bool KeyOf(LPCWSTR s, PropKey& k)
{
    if (!s) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (IS_INTRESOURCE(s)) {
        const auto a = static_cast<ATOM>(reinterpret_cast<uintptr_t>(s));
        if (a == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        if (a >= kFirstStringAtom) {
            k.name = AtomName(a);
            if (k.name.empty()) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return false;
            }
        } else {
            k.atom = a;
        }
        return true;
    }
    k.name = s;
    return true;
}

WndProp* FindProp(Window& w, const PropKey& k)
{
    for (auto& p : w.props)
        if (k.atom ? p.atom == k.atom : (p.atom == 0 && zyn::base::NamesEqual(p.name, k.name)))
            return &p;
    return nullptr;
}

} // namespace

BOOL SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData)
{
    auto w = GetWnd(hWnd);
    PropKey k;
    if (!w || !KeyOf(lpString, k))
        return FALSE;
    auto lock = LockUser();
    if (WndProp* p = FindProp(*w, k)) {
        p->data = hData;
        return TRUE;
    }
    w->props.push_back(WndProp{k.name, k.atom, hData});
    return TRUE;
}

BOOL SetProp(HWND hWnd, LPCWSTR lpString, HANDLE hData) { return SetPropW(hWnd, lpString, hData); }

HANDLE GetPropW(HWND hWnd, LPCWSTR lpString)
{
    auto w = GetWnd(hWnd);
    PropKey k;
    if (!w || !KeyOf(lpString, k))
        return nullptr;
    auto lock = LockUser();
    WndProp* p = FindProp(*w, k);
    return p ? p->data : nullptr;
}

HANDLE GetProp(HWND hWnd, LPCWSTR lpString) { return GetPropW(hWnd, lpString); }

HANDLE RemovePropW(HWND hWnd, LPCWSTR lpString)
{
    auto w = GetWnd(hWnd);
    PropKey k;
    if (!w || !KeyOf(lpString, k))
        return nullptr;
    auto lock = LockUser();
    WndProp* p = FindProp(*w, k);
    if (!p)
        return nullptr;
    HANDLE d = p->data;
    w->props.erase(w->props.begin() + (p - w->props.data()));
    return d;
}

HANDLE RemoveProp(HWND hWnd, LPCWSTR lpString) { return RemovePropW(hWnd, lpString); }

int EnumPropsExW(HWND hWnd, PROPENUMPROCEXW lpEnumFunc, LPARAM lParam)
{
    auto w = GetWnd(hWnd);
    if (!w || !lpEnumFunc)
        return -1;
    std::vector<WndProp> props;
    {
        auto lock = LockUser();
        props = w->props;
    }
    if (props.empty())
        return -1;
    int last = -1;
    for (auto& p : props) {
        LPWSTR name = p.atom ? MAKEINTATOM(p.atom) : p.name.data();
        last = lpEnumFunc(hWnd, name, p.data, static_cast<ULONG_PTR>(lParam));
        if (!last)
            break;
    }
    return last;
}

// ---- text -------------------------------------------------------------------------------------------------------------

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    if (!GetWnd(hWnd))
        return FALSE;
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

BOOL SetWindowText(HWND hWnd, LPCWSTR lpString) { return SetWindowTextW(hWnd, lpString); }

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (!lpString || nMaxCount <= 0)
        return 0;
    lpString[0] = L'\0';
    // The send fails with ERROR_INVALID_WINDOW_HANDLE for a handle that is no window.
    return static_cast<int>(
        SendMsg(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount) { return GetWindowTextW(hWnd, lpString, nMaxCount); }

int GetWindowTextLengthW(HWND hWnd) { return static_cast<int>(SendMsg(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

int GetWindowTextLength(HWND hWnd) { return GetWindowTextLengthW(hWnd); }

int InternalGetWindowText(HWND hWnd, LPWSTR pString, int cchMaxCount)
{
    auto w = GetWnd(hWnd);
    if (!w || !pString || cchMaxCount <= 0)
        return 0;
    auto lock = LockUser();
    const size_t n = std::min(w->text.size(), static_cast<size_t>(cchMaxCount - 1));
    std::wmemcpy(pString, w->text.data(), n);
    pString[n] = L'\0';
    return static_cast<int>(n);
}

// ---- state -------------------------------------------------------------------------------------------------------------

BOOL IsWindowVisible(HWND hWnd)
{
    auto lock = LockUser();
    const Window* w = PeekLockedWnd(hWnd);
    return w && IsReallyVisible(w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    auto lock = LockUser();
    const Window* w = PeekLockedWnd(hWnd);
    if (!w)
        return FALSE;
    return (w->style & WS_DISABLED) ? FALSE : TRUE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    bool wasDisabled;
    {
        auto lock = LockUser();
        wasDisabled = (w->style & WS_DISABLED) != 0;
    }
    if (bEnable && wasDisabled) {
        {
            auto lock = LockUser();
            w->style &= ~WS_DISABLED;
        }
        SendMsg(hWnd, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && wasDisabled) {
        // Disabled already: the window is told to cancel its modes all the same.
        SendMsg(hWnd, WM_CANCELMODE, 0, 0);
    } else if (!bEnable) {
        SendMsg(hWnd, WM_CANCELMODE, 0, 0);
        // The window itself loses the focus (while still enabled); a child of it that has
        // the focus keeps it.
        if (GetFocus() == hWnd)
            SetFocus(nullptr);
        {
            auto lock = LockUser();
            if (w->dead)
                return FALSE;
            w->style |= WS_DISABLED;
        }
        SendMsg(hWnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd)
{
    auto w = PeekWnd(hWnd);
    if (!w)
        return FALSE;
    auto lock = LockUser();
    return (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hWnd)
{
    auto w = PeekWnd(hWnd);
    if (!w)
        return FALSE;
    auto lock = LockUser();
    return (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowUnicode(HWND hWnd) { return PeekWnd(hWnd) ? TRUE : FALSE; }

BOOL GetWindowInfo(HWND hwnd, PWINDOWINFO pwi)
{
    auto w = GetWnd(hwnd);
    if (!w || !pwi) {
        if (w)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockUser();
    pwi->rcWindow = w->rcWindow;
    pwi->rcClient = w->rcClient;
    pwi->dwStyle = w->style;
    pwi->dwExStyle = w->exStyle;
    pwi->dwWindowStatus = w->ncActive ? WS_ACTIVECAPTION : 0;
    const SIZE b = FrameSize(w->style, w->exStyle);
    pwi->cxWindowBorders = static_cast<UINT>(b.cx);
    pwi->cyWindowBorders = static_cast<UINT>(b.cy);
    pwi->atomWindowType = w->cls->atom;
    pwi->wCreatorVersion = 0x0500;
    return TRUE;
}

// ---- the menu slot ------------------------------------------------------------------------------------------------------

namespace zyn::user {
namespace {
MenuBarHooks& HooksStore()
{
    static MenuBarHooks h;
    return h;
}
} // namespace

void SetMenuBarHooks(MenuBarHooks hooks)
{
    auto lock = LockUser();
    HooksStore() = std::move(hooks);
}

const MenuBarHooks& GetMenuBarHooks() { return HooksStore(); }

HMENU GetSystemMenuSlot(HWND hwnd)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    return w->sysMenu;
}

BOOL SetSystemMenuSlot(HWND hwnd, HMENU menu)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return FALSE;
    auto lock = LockUser();
    w->sysMenu = menu;
    return TRUE;
}

} // namespace zyn::user

HMENU GetMenu(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    return w->IsChild() ? nullptr : w->menu;
}

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->IsChild()) {
        SetLastError(ERROR_CHILD_WINDOW_MENU);
        return FALSE;
    }
    if (hMenu) {
        const auto& hooks = GetMenuBarHooks();
        const bool ok = hooks.isMenu ? hooks.isMenu(hMenu) : zyn::base::KindOfHandle(hMenu) == zyn::base::HandleKind::Menu;
        if (!ok) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return FALSE;
        }
    }
    {
        auto lock = LockUser();
        w->menu = hMenu;
    }
    SetWindowPosImpl(hWnd, nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL DrawMenuBar(HWND hWnd)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->IsChild() || !w->menu) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return SetWindowPosImpl(hWnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED)
        ? TRUE
        : FALSE;
}
