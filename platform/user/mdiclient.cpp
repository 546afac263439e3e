// The "MDICLIENT" window class and the MDI default procedures.
#include "platform/user/mdiclient.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/user_hooks.h"
#include "platform/user/winuser.h"
#include "platform/user/wndclass_internal.h"
#include "platform/user/wnd_internal.h"
#include "platform/gdi/gdi_types.h"

namespace {

constexpr const wchar_t* kClientClass = L"MDICLIENT";
constexpr int kCascadeStep = 24;

struct ClientState {
    HMENU windowMenu = nullptr;
    UINT idFirst = 0;
    std::vector<HWND> children;   // creation order
    HWND active = nullptr;
    HWND maximized = nullptr;     // the child whose buttons are in the frame's menu bar
    HMENU buttonsMenu = nullptr;  // the menu that holds them
    bool listed = false;          // the window menu shows the list (after a separator we added)
    int cascade = 0;
    uint64_t prunedAt = UINT64_MAX; // zyn::user::WindowsFreed() when the list was last pruned
    bool switching = false;       // an activation is moving the maximised state between children
};

std::mutex g_lock;
std::map<HWND, ClientState>& States()
{
    static std::map<HWND, ClientState> states;
    return states;
}

// The state of a client; the windows of one client are used from its own thread only, so
// the reference stays valid while the client lives.
ClientState* StateOf(HWND hClient)
{
    std::lock_guard lock(g_lock);
    auto it = States().find(hClient);
    return it == States().end() ? nullptr : &it->second;
}

bool IsMenuButton(HBITMAP b)
{
    return b == HBMMENU_SYSTEM || b == HBMMENU_MBAR_MINIMIZE || b == HBMMENU_MBAR_RESTORE ||
           b == HBMMENU_MBAR_CLOSE || b == HBMMENU_MBAR_CLOSE_D || b == HBMMENU_MBAR_MINIMIZE_D;
}

// Drops children that are gone (destroyed without passing through the client).
void Prune(ClientState& s)
{
    // Nothing can have gone stale while no window was freed (most messages: the active
    // child, activation, every refresh asks).
    const uint64_t freed = zyn::user::WindowsFreed();
    if (freed == s.prunedAt)
        return;
    std::erase_if(s.children, [](HWND h) { return !IsWindow(h); });
    if (s.active && !IsWindow(s.active))
        s.active = nullptr;
    s.prunedAt = freed;
}

void RemoveButtons(HWND hClient, ClientState& s)
{
    if (!s.buttonsMenu)
        return;
    const HMENU menu = s.buttonsMenu;
    s.buttonsMenu = nullptr;
    s.maximized = nullptr;
    if (!IsMenu(menu))
        return;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_BITMAP;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) && IsMenuButton(mii.hbmpItem))
            RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);   // the system popup is the child's
    }
    DrawMenuBar(GetParent(hClient));
}

void AddButtons(HWND hClient, ClientState& s, HWND hChild)
{
    const HWND frame = GetParent(hClient);
    const HMENU menu = GetMenu(frame);
    if (s.buttonsMenu == menu && s.maximized == hChild)
        return;
    RemoveButtons(hClient, s);
    if (!menu)
        return;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_BITMAP | MIIM_SUBMENU | MIIM_DATA | MIIM_ID;
    mii.hbmpItem = HBMMENU_SYSTEM;
    mii.hSubMenu = GetSystemMenu(hChild, FALSE);
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(hChild);
    mii.wID = 0;
    InsertMenuItemW(menu, 0, TRUE, &mii);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hChild, GWL_STYLE));
    struct Button {
        HBITMAP bmp;
        UINT id;
    };
    const Button buttons[] = {
        {(style & WS_MINIMIZEBOX) ? HBMMENU_MBAR_MINIMIZE : HBMMENU_MBAR_MINIMIZE_D, static_cast<UINT>(SC_MINIMIZE)},
        {HBMMENU_MBAR_RESTORE, static_cast<UINT>(SC_RESTORE)},
        {HBMMENU_MBAR_CLOSE, static_cast<UINT>(SC_CLOSE)},
    };
    bool first = true;
    for (const Button& b : buttons) {
        MENUITEMINFOW bi{};
        bi.cbSize = sizeof bi;
        bi.fMask = MIIM_BITMAP | MIIM_ID | MIIM_FTYPE;
        bi.fType = first ? MFT_RIGHTJUSTIFY : 0;
        bi.hbmpItem = b.bmp;
        bi.wID = b.id;
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &bi);
        first = false;
    }
    s.buttonsMenu = menu;
    s.maximized = hChild;
    DrawMenuBar(frame);
}

// Takes the list of children out of the window menu (the items in the children's ID
// range and the separator the list added).
void RemoveList(ClientState& s)
{
    const HMENU menu = s.windowMenu;
    if (!menu || !IsMenu(menu)) {
        s.listed = false;
        return;
    }
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id >= s.idFirst && id < s.idFirst + 0x100 && !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_POPUP))
            DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    const int n = GetMenuItemCount(menu);
    if (s.listed && n > 0 && (GetMenuState(menu, static_cast<UINT>(n - 1), MF_BYPOSITION) & MF_SEPARATOR))
        DeleteMenu(menu, static_cast<UINT>(n - 1), MF_BYPOSITION);
    s.listed = false;
}

// The window menu's list of children: a separator then one item per visible child; the
// children's IDs follow their order.
void RefreshWindowMenu(ClientState& s)
{
    Prune(s);
    RemoveList(s);
    UINT k = 0;
    for (HWND h : s.children)
        SetWindowLongPtrW(h, GWLP_ID, static_cast<LONG_PTR>(s.idFirst + k++));
    const HMENU menu = s.windowMenu;
    if (!menu || !IsMenu(menu))
        return;
    k = 0;
    for (HWND h : s.children) {
        const UINT id = s.idFirst + k++;
        if (!IsWindowVisible(h))
            continue;
        if (!s.listed && GetMenuItemCount(menu) > 0)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        s.listed = true;
        wchar_t title[256] = {};
        GetWindowTextW(h, title, 256);
        const std::wstring text = (k <= 9 ? L"&" : L"") + std::to_wstring(k) + L" " + title;
        AppendMenuW(menu, MF_STRING | (h == s.active ? MF_CHECKED : 0), id, text.c_str());
    }
}

// Takes the activation off the active child (none is active afterwards).
void Deactivate(HWND hClient, ClientState& s)
{
    const HWND old = s.active;
    if (!old)
        return;
    s.active = nullptr;
    SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), 0);
    if (s.maximized)
        RemoveButtons(hClient, s);
    RefreshWindowMenu(s);
}

// A child heard WM_CHILDACTIVATE (DefMDIChildProc): it becomes the active child. The one
// active before hears it lost the activation (WM_NCACTIVATE, WM_MDIACTIVATE); a maximised
// state passes from it to the new one; the new one is raised, takes the focus when the
// frame is active and hears WM_MDIACTIVATE. The windows' own WM_CHILDACTIVATE on the way
// (restoring, maximising) is no new activation.
void ChildActivated(HWND hClient, ClientState& s, HWND hChild)
{
    Prune(s);
    if (s.switching || s.active == hChild ||
        std::find(s.children.begin(), s.children.end(), hChild) == s.children.end())
        return;
    s.switching = true;
    const HWND old = s.active;
    const bool wasMax = old && IsZoomed(old);
    if (old) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(hChild));
    }
    s.active = hChild;
    if (wasMax && IsWindow(old)) {
        if (IsZoomed(old))
            ShowWindow(old, SW_RESTORE);
        if (IsWindow(hChild) && !IsZoomed(hChild))
            ShowWindow(hChild, SW_SHOWMAXIMIZED);
        if (StateOf(hClient) != &s)
            return; // the client went away meanwhile
    }
    s.switching = false;
    if (!IsWindow(hChild) || s.active != hChild)
        return;
    SetWindowPos(hChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RefreshWindowMenu(s);
    const HWND frame = GetParent(hClient);
    if (frame && GetActiveWindow() == frame) {
        SendMessageW(hChild, WM_NCACTIVATE, TRUE, 0);
        SetFocus(hChild);
    }
    SendMessageW(hChild, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(hChild));
    if (IsZoomed(hChild))
        AddButtons(hClient, s, hChild);
    else if (s.maximized)
        RemoveButtons(hClient, s);
}

// Activates a child as Win32 does: raised without SWP_NOACTIVATE, it hears WM_CHILDACTIVATE,
// on which DefMDIChildProc makes it the active child. A hidden child is not activated (one
// inside a frame not shown yet is). A procedure that keeps WM_CHILDACTIVATE to itself
// still gets its child activated. A null child leaves no child active.
void Activate(HWND hClient, ClientState& s, HWND hChild)
{
    Prune(s);
    if (!hChild) {
        Deactivate(hClient, s);
        return;
    }
    if (std::find(s.children.begin(), s.children.end(), hChild) == s.children.end())
        return;
    SetWindowPos(hChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (StateOf(hClient) && s.active != hChild && (GetWindowLongPtrW(hChild, GWL_STYLE) & WS_VISIBLE))
        ChildActivated(hClient, s, hChild);
}

// The child to activate after hChild (next in z-order among visible, enabled children).
HWND NextChild(HWND hClient, HWND hFrom, bool prev)
{
    std::vector<HWND> z;
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h) && IsWindowEnabled(h))
            z.push_back(h);
    if (z.empty())
        return nullptr;
    auto it = std::find(z.begin(), z.end(), hFrom);
    if (it == z.end())
        return z.front();
    if (prev)
        return z.back() == hFrom ? (z.size() > 1 ? z[z.size() - 2] : nullptr) : z.back();
    return std::next(it) == z.end() ? z.front() : *std::next(it);
}

void DestroyChild(HWND hClient, ClientState& s, HWND hChild)
{
    if (std::find(s.children.begin(), s.children.end(), hChild) == s.children.end())
        return;
    if (s.maximized == hChild)
        RemoveButtons(hClient, s);
    if (s.active == hChild) {
        // The next child in z-order takes over (and the maximised state with it).
        HWND next = nullptr;
        for (HWND h = GetWindow(hChild, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
            if (IsWindowVisible(h) && IsWindowEnabled(h)) {
                next = h;
                break;
            }
        Activate(hClient, s, next);
        if (s.active == hChild)
            s.active = nullptr;
    }
    std::erase(s.children, hChild);
    DestroyWindow(hChild);
    if (StateOf(hClient))
        RefreshWindowMenu(s);
}

// Cascades or tiles the visible children that are not minimised; true when there was one.
bool Arrange(HWND hClient, ClientState& s, UINT msg, WPARAM how)
{
    Prune(s);
    RECT rc{};
    GetClientRect(hClient, &rc);
    std::vector<HWND> list;
    for (HWND h : s.children)
        if (IsWindowVisible(h) && !IsIconic(h))
            list.push_back(h);
    if (list.empty() || msg == WM_MDIICONARRANGE)
        return !list.empty();
    if (s.maximized)
        ShowWindow(s.maximized, SW_RESTORE);
    const int n = static_cast<int>(list.size());
    for (int i = 0; i < n; ++i) {
        RECT r{};
        if (msg == WM_MDICASCADE) {
            const int w = std::max<LONG>(rc.right * 3 / 4, 100), hgt = std::max<LONG>(rc.bottom * 3 / 4, 80);
            r = {i * kCascadeStep, i * kCascadeStep, i * kCascadeStep + w, i * kCascadeStep + hgt};
        } else if (how & MDITILE_HORIZONTAL) {
            const int hgt = rc.bottom / n;
            r = {0, i * hgt, rc.right, (i + 1) * hgt};
        } else {
            const int w = rc.right / n;
            r = {i * w, 0, (i + 1) * w, rc.bottom};
        }
        SetWindowPos(list[static_cast<size_t>(i)], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

// WM_MDICREATE. Unless the client has MDIS_ALLCHILDSTYLES, the style given counts only for
// WS_MINIMIZE, WS_MAXIMIZE and the scroll bars: the child is an overlapped-looking visible
// window. A visible child is shown (maximised when the active child is), activated
// (WM_CHILDACTIVATE, WM_MDIACTIVATE, the focus) and listed (WM_MDIREFRESHMENU).
HWND CreateChild(HWND hClient, ClientState& s, const MDICREATESTRUCTW* mcs)
{
    if (!mcs || !mcs->szClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Prune(s);
    const bool maxActive = s.active && IsZoomed(s.active);
    DWORD style = mcs->style;
    if (!(GetWindowLongPtrW(hClient, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
        style = (style & (WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL)) | WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const bool visible = (style & WS_VISIBLE) != 0;
    const bool wantMax = (style & WS_MAXIMIZE) != 0 || maxActive;
    const bool wantMin = (style & WS_MINIMIZE) != 0;
    style &= ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    RECT rc{};
    GetClientRect(hClient, &rc);
    int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
    if (x == CW_USEDEFAULT) {
        const int step = (s.cascade++ % 8) * kCascadeStep;
        x = step;
        y = step;
    }
    if (cx == CW_USEDEFAULT || cy == CW_USEDEFAULT) {
        cx = std::max<LONG>(rc.right * 3 / 4, 100);
        cy = std::max<LONG>(rc.bottom * 3 / 4, 80);
    }
    const UINT id = s.idFirst + static_cast<UINT>(s.children.size());
    const HWND h = CreateWindowExW(WS_EX_MDICHILD | WS_EX_WINDOWEDGE, mcs->szClass, mcs->szTitle, style, x, y, cx, cy,
        hClient, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), static_cast<HINSTANCE>(mcs->hOwner),
        const_cast<MDICREATESTRUCTW*>(mcs));
    if (!h)
        return nullptr;
    ClientState* st = StateOf(hClient);
    if (!st) { // the client went away while the child was created
        DestroyWindow(h);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    st->children.push_back(h);
    if (visible) {
        if (wantMin)
            ShowWindow(h, SW_SHOWMINNOACTIVE);
        else if (wantMax)
            ShowWindow(h, SW_SHOWMAXIMIZED);
        else
            ShowWindow(h, SW_SHOW);
        if (IsWindow(h) && StateOf(hClient))
            Activate(hClient, *st, h);
    }
    if (IsWindow(h))
        SendMessageW(hClient, WM_MDIREFRESHMENU, 0, 0);
    return IsWindow(h) ? h : nullptr;
}

LRESULT ClientProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        std::lock_guard lock(g_lock);
        ClientState st;
        if (auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam); cs && cs->lpCreateParams) {
            auto* ccs = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams);
            st.windowMenu = static_cast<HMENU>(ccs->hWindowMenu);
            st.idFirst = ccs->idFirstChild;
        }
        States()[hWnd] = st;
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        {
            std::lock_guard lock(g_lock);
            States().erase(hWnd);
        }
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    ClientState* s = StateOf(hWnd);
    if (!s)
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    switch (msg) {
    case WM_MDICREATE:
        return reinterpret_cast<LRESULT>(CreateChild(hWnd, *s, reinterpret_cast<const MDICREATESTRUCTW*>(lParam)));
    case WM_MDIDESTROY:
        DestroyChild(hWnd, *s, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIACTIVATE:
        Activate(hWnd, *s, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIGETACTIVE:
        // Asked all the time (the class library's MDIGetActive, every tab refresh): only
        // the answer is checked here; the list is pruned where it is walked.
        if (s->active && !IsWindow(s->active))
            s->active = nullptr;
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = s->active && IsZoomed(s->active);
        return reinterpret_cast<LRESULT>(s->active);
    case WM_MDIMAXIMIZE:
        if (HWND h = reinterpret_cast<HWND>(wParam); h && IsChild(hWnd, h))
            ShowWindow(h, SW_SHOWMAXIMIZED);
        return 0;
    case WM_MDIRESTORE:
        if (HWND h = reinterpret_cast<HWND>(wParam); h && IsChild(hWnd, h))
            ShowWindow(h, SW_RESTORE);
        return 0;
    case WM_MDINEXT: {
        const HWND from = wParam ? reinterpret_cast<HWND>(wParam) : s->active;
        const HWND next = NextChild(hWnd, from, lParam != 0);
        if (next && next != from) {
            Activate(hWnd, *s, next);
            if (!lParam && from && IsWindow(from))   // the one left goes to the bottom
                SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    }
    case WM_MDISETMENU: {
        const HWND frame = GetParent(hWnd);
        const HMENU old = GetMenu(frame);
        const HMENU newFrame = reinterpret_cast<HMENU>(wParam);
        const HMENU newWindow = reinterpret_cast<HMENU>(lParam);
        const HWND max = s->maximized;
        if (newWindow && newWindow != s->windowMenu)
            RemoveList(*s);   // the list moves to the new window menu
        if (newFrame && newFrame != old) {
            RemoveButtons(hWnd, *s);
            SetMenu(frame, newFrame);
        }
        if (newWindow)
            s->windowMenu = newWindow;
        RefreshWindowMenu(*s);
        if (max && IsWindow(max) && IsZoomed(max))
            AddButtons(hWnd, *s, max);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_MDIREFRESHMENU:
        RefreshWindowMenu(*s);
        DrawMenuBar(GetParent(hWnd));
        return reinterpret_cast<LRESULT>(GetMenu(GetParent(hWnd)));
    case WM_MDITILE:
    case WM_MDICASCADE:
        // TRUE when the children were arranged, FALSE when there was none to arrange.
        return Arrange(hWnd, *s, msg, wParam) ? TRUE : FALSE;
    case WM_MDIICONARRANGE:
        Arrange(hWnd, *s, msg, wParam);
        return 0;
    case WM_SIZE: {
        // The maximised child fills the client again. It is the one whose buttons are in
        // the frame's menu, or, for a frame without a menu of the window system's (its
        // menu shown by a bar of its own), the active child when it is maximised.
        HWND max = s->maximized;
        if (!max && s->active && IsWindow(s->active) && IsZoomed(s->active))
            max = s->active;
        if (max && IsWindow(max) && IsZoomed(max))
            ShowWindow(max, SW_SHOWMAXIMIZED);
        break;
    }
    case WM_SETFOCUS:
        if (s->active && IsWindow(s->active) && !IsIconic(s->active))
            SetFocus(s->active);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

HWND ClientOf(HWND hChild)
{
    const HWND parent = GetParent(hChild);
    return parent && StateOf(parent) ? parent : nullptr;
}

} // namespace

BOOL zyn::user::EnsureMdiClientClass()
{
    if (zyn::user::FindSystemClass(kClientClass))
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ClientProc;
    wc.lpszClassName = kClientClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_APPWORKSPACE + 1));
    return zyn::user::RegisterSystemClass(wc) != 0;
}

size_t zyn::user::MdiChildCount(HWND hWndClient)
{
    ClientState* s = StateOf(hWndClient);
    if (!s)
        return 0;
    Prune(*s);
    return s->children.size();
}

LRESULT DefFrameProcW(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ClientState* s = hWndMDIClient ? StateOf(hWndMDIClient) : nullptr;
    if (s) {
        switch (uMsg) {
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            Prune(*s);
            if (id >= s->idFirst && id < s->idFirst + s->children.size()) {
                Activate(hWndMDIClient, *s, s->children[id - s->idFirst]);
                return 0;
            }
            if (id >= 0xF000 && s->active && IsZoomed(s->active))
                return SendMessageW(s->active, WM_SYSCOMMAND, wParam, lParam);
            break;
        }
        case WM_SIZE: {
            // The client fills the frame unless the frame lays it out itself.
            RECT rc{};
            GetClientRect(hWnd, &rc);
            MoveWindow(hWndMDIClient, 0, 0, rc.right, rc.bottom, TRUE);
            break;
        }
        case WM_SETFOCUS:
            SetFocus(hWndMDIClient);
            return 0;
        case WM_NEXTMENU:
            break;
        default:
            break;
        }
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT DefFrameProc(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcW(hWnd, hWndMDIClient, uMsg, wParam, lParam);
}

LRESULT DefMDIChildProcW(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Only the messages below involve the client; every other one (most of what a child
    // is sent: its text, its icon, the application's own questions) is the default
    // procedure's, without looking the client up.
    switch (uMsg) {
    case WM_CHILDACTIVATE:
    case WM_SETFOCUS:
    case WM_CLOSE:
    case WM_SYSCOMMAND:
    case WM_GETMINMAXINFO:
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_DESTROY:
        break;
    default:
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    const HWND client = ClientOf(hWnd);
    ClientState* s = client ? StateOf(client) : nullptr;
    if (!s)
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_CHILDACTIVATE:
        ChildActivated(client, *s, hWnd);
        return 0;
    case WM_SETFOCUS:
        if (s->active != hWnd)
            Activate(client, *s, hWnd);
        break;
    case WM_CLOSE:
        SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hWnd), 0);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
            SendMessageW(client, WM_MDINEXT, reinterpret_cast<WPARAM>(hWnd), (wParam & 0xFFF0) == SC_PREVWINDOW);
            return 0;
        default:
            break;
        }
        break;
    case WM_GETMINMAXINFO: {
        // Maximised, the child's client area covers the MDI client.
        const LRESULT r = DefWindowProcW(hWnd, uMsg, wParam, lParam);
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT rc{};
        GetClientRect(client, &rc);
        AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE)), FALSE,
            static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_EXSTYLE)));
        mmi->ptMaxPosition = POINT{rc.left, rc.top};
        mmi->ptMaxSize = POINT{rc.right - rc.left, rc.bottom - rc.top};
        mmi->ptMaxTrackSize.x = std::max(mmi->ptMaxTrackSize.x, mmi->ptMaxSize.x);
        mmi->ptMaxTrackSize.y = std::max(mmi->ptMaxTrackSize.y, mmi->ptMaxSize.y);
        return r;
    }
    case WM_SIZE: {
        const LRESULT r = DefWindowProcW(hWnd, uMsg, wParam, lParam);
        if (wParam == SIZE_MAXIMIZED && s->active == hWnd) {
            AddButtons(client, *s, hWnd);
        } else if (wParam != SIZE_MAXIMIZED && s->maximized == hWnd) {
            RemoveButtons(client, *s);
        }
        return r;
    }
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hWnd, uMsg, wParam, lParam);
        RefreshWindowMenu(*s);
        return r;
    }
    case WM_DESTROY:
        if (s->maximized == hWnd)
            RemoveButtons(client, *s);
        if (s->active == hWnd)
            s->active = nullptr;
        std::erase(s->children, hWnd);
        break;
    default:
        break;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT DefMDIChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcW(hWnd, uMsg, wParam, lParam);
}

HWND CreateMDIWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y, int nWidth,
    int nHeight, HWND hWndParent, HINSTANCE hInstance, LPARAM lParam)
{
    MDICREATESTRUCTW mcs{lpClassName, lpWindowName, hInstance, X, Y, nWidth, nHeight, dwStyle, lParam};
    return reinterpret_cast<HWND>(SendMessageW(hWndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

BOOL TranslateMDISysAccel(HWND hWndClient, MSG* lpMsg)
{
    if (!lpMsg || !hWndClient || !IsWindow(hWndClient) ||
        (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    if (!(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000))
        return FALSE;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    UINT cmd = 0;
    switch (lpMsg->wParam) {
    case VK_F4: cmd = shift ? 0 : SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: cmd = shift ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: break;
    }
    if (!cmd)
        return FALSE;
    const HWND active = reinterpret_cast<HWND>(SendMessageW(hWndClient, WM_MDIGETACTIVE, 0, 0));
    if (!active || !IsWindowEnabled(active))
        return FALSE;
    SendMessageW(active, WM_SYSCOMMAND, cmd, static_cast<LPARAM>(lpMsg->wParam));
    return TRUE;
}
