// The menu tracking loop: starting and finishing, opening and closing popups, the
// highlight and the notifications the owner hears (input is menu_tracker_input.cpp).
#include "platform/user/menu_tracker.h"

#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/monitor.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/popup_menu.h"
#include "platform/user/queue_internal.h"
#include "platform/user/thread_state.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user::detail {
namespace {

thread_local std::vector<MenuTracker*> t_trackers;

constexpr DWORD kPopupExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

UINT MaxHeightOf(HMENU menu)
{
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MAXHEIGHT | MIM_STYLE;
    return GetMenuInfo(menu, &mi) ? mi.cyMax : 0;
}

DWORD StyleOf(HMENU menu)
{
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE;
    return GetMenuInfo(menu, &mi) ? mi.dwStyle : 0;
}

RECT WindowRectOf(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

} // namespace

MenuTracker::MenuTracker(const TrackRequest& req)
    : m_owner(req.owner), m_flags(req.flags), m_mode(req.mode), m_req(req)
{
}

MenuTracker::~MenuTracker()
{
    // Normally Finish has closed everything; an exception out of a window procedure
    // leaves windows, the capture and the thread state to put right without messages.
    for (auto it = m_levels.rbegin(); it != m_levels.rend(); ++it)
        DropPopupWindow(it->view);
    if (!m_levels.empty() && m_levels.front().bar)
        SetBarHilite(m_levels.front().selected, false);
    if (m_started) {
        if (m_capture && GetCapture() == m_capture)
            ReleaseCapture();
        ThreadQueue& q = MyQueue();
        q.trackedMenu = m_prevTracked;
        q.trackedWindow = m_prevTrackedWnd;
        q.menuMode = m_prevMode;
    }
}

bool MenuTracker::Notify() const { return !(m_flags & TPM_NONOTIFY); }

LRESULT MenuTracker::Send(UINT msg, WPARAM wp, LPARAM lp)
{
    return IsWindow(m_owner) ? SendMessageW(m_owner, msg, wp, lp) : 0;
}

// ---- the session ----------------------------------------------------------------------------------------

TrackResult MenuTracker::Run()
{
    HMENU first = m_req.menu;
    bool sysSession = false;
    if (m_mode == TrackMode::Bar) {
        if (!PrepareBar())
            return {};
        sysSession = !m_barMenu || m_startEntry == kSysEntry;
        // A session that starts on the system menu initialises that menu.
        first = sysSession ? m_sysMenu : m_barMenu;
    } else {
        sysSession = m_req.menu == GetSystemMenuSlot(m_owner);
    }
    ThreadQueue& q = MyQueue();
    m_prevTracked = q.trackedMenu;
    m_prevTrackedWnd = q.trackedWindow;
    m_prevMode = q.menuMode;
    m_started = true;
    SetTrackedMenu(first, m_owner);
    q.menuMode = GUI_INMENUMODE | (m_mode == TrackMode::Popup ? GUI_POPUPMENUMODE : 0) |
        (sysSession ? GUI_SYSTEMMENUMODE : 0);

    // A tracked popup's window exists (hidden) before the owner hears of the menu loop.
    std::shared_ptr<PopupView> made;
    if (m_mode == TrackMode::Popup)
        made = MakePopupWindow(m_req.menu, sysSession);
    if (Notify())
        Send(WM_ENTERMENULOOP, m_mode == TrackMode::Popup ? TRUE : FALSE, 0);
    if (Notify() && !m_ended)
        Send(WM_INITMENU, reinterpret_cast<WPARAM>(first), 0);
    bool shown = false;
    if (!m_ended && IsWindow(m_owner))
        shown = m_mode == TrackMode::Popup ? StartPopup(made) : StartBar();
    else
        DropPopupWindow(made);
    if (shown && !m_ended && !m_levels.empty()) {
        m_capture = m_mode == TrackMode::Popup ? m_levels.front().view->hwnd : m_owner;
        SetCapture(m_capture);
        LoopUntilEnded();
    }
    TrackResult r = Finish();
    r.shown = shown;
    return r;
}

bool MenuTracker::StartPopup(std::shared_ptr<PopupView> made)
{
    const HMENU menu = m_req.menu;
    const bool sys = menu == GetSystemMenuSlot(m_owner);
    if (sys)
        UpdateSystemMenuItems(m_owner, menu);
    if (Notify())
        Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, sys ? 1 : 0));
    if (m_ended || !IsWindow(m_owner) || !IsMenu(menu)) {
        DropPopupWindow(made);
        return false;
    }
    // (Without a window made beforehand the popup makes its own, or tells its close.)
    return ShowLevel(menu, sys, kNoParent, 0, false, std::move(made));
}

void MenuTracker::LoopUntilEnded()
{
    ModalLoopParams p;
    p.owner = m_owner;
    p.msgFilterCode = MSGF_MENU;
    p.done = [this] { return m_ended || (!m_suspended && m_capture && GetCapture() != m_capture); };
    p.endBeforeTaking = [this](const MSG& m) { return EndsBefore(m); };
    p.preTranslate = [this](MSG& m) { return OnMessage(m); };
    p.onIdle = [this](int idleCount) {
        // The owner hears once per idle spell that the menu waits for the user.
        if (idleCount == 0 && m_processed && Notify() && !m_ended) {
            m_processed = false;
            Send(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(IdleWindow()));
        }
        return false;
    };
    RunModalLoop(p); // however the loop ends, what was chosen is in m_choice
}

TrackResult MenuTracker::Finish()
{
    for (size_t i = 0; i < m_levels.size(); ++i)
        KillTimers(i);
    if (m_capture && GetCapture() == m_capture)
        ReleaseCapture();
    m_capture = nullptr;
    if (Notify())
        Send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    CloseFrom(FirstPopupLevel());
    if (!m_levels.empty() && m_levels.front().bar) {
        SetBarHilite(m_levels.front().selected, false);
        RedrawBar();
    }
    m_levels.clear();
    if (Notify())
        Send(WM_EXITMENULOOP, m_mode == TrackMode::Popup ? TRUE : FALSE, 0);
    ThreadQueue& q = MyQueue();
    q.trackedMenu = m_prevTracked;
    q.trackedWindow = m_prevTrackedWnd;
    q.menuMode = m_prevMode;
    m_started = false;

    TrackResult r;
    if (!m_choice)
        return r;
    r.chosen = true;
    r.id = m_choice->id;
    if ((m_flags & TPM_RETURNCMD) || !Notify() || !IsWindow(m_owner))
        return r;
    const HMENU top = m_mode == TrackMode::Bar ? (m_choice->sys ? m_sysMenu : m_barMenu) : m_req.menu;
    if (StyleOf(top) & MNS_NOTIFYBYPOS) {
        PostMessageW(m_owner, WM_MENUCOMMAND, static_cast<WPARAM>(m_choice->pos),
            reinterpret_cast<LPARAM>(m_choice->menu));
    } else if (m_choice->sys) {
        POINT pt{};
        GetCursorPos(&pt);
        PostMessageW(m_owner, WM_SYSCOMMAND, m_choice->id, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    } else {
        PostMessageW(m_owner, WM_COMMAND, MAKEWPARAM(LOWORD(m_choice->id), 0), 0);
    }
    return r;
}

void MenuTracker::Resume()
{
    m_suspended = false;
    if (!m_ended && m_capture && IsWindow(m_capture) && GetCapture() != m_capture)
        SetCapture(m_capture);
}

std::vector<HWND> MenuTracker::Windows() const
{
    std::vector<HWND> out;
    for (const Level& l : m_levels)
        if (l.view && l.view->hwnd)
            out.push_back(l.view->hwnd);
    return out;
}

std::shared_ptr<PopupView> MenuTracker::ViewOf(HMENU menu) const
{
    for (const Level& l : m_levels)
        if (l.view && l.menu == menu)
            return l.view;
    return nullptr;
}

// ---- levels -------------------------------------------------------------------------------------------------

bool MenuTracker::OpenFrom(size_t parent, int item, bool selectFirst)
{
    if (parent >= m_levels.size())
        return false;
    HMENU sub = nullptr;
    bool sys = m_levels[parent].sys;
    int index = item;
    if (m_levels[parent].bar && item == kSysEntry) {
        sub = m_sysMenu;
        sys = true;
        index = 0;
    } else {
        const auto it = Item(parent, item);
        if (!it || !it->sub || (it->state & MFS_GRAYED))
            return false; // a disabled submenu does not open
        sub = it->sub;
    }
    if (!sub || !IsMenu(sub))
        return false;
    if (m_levels.size() > parent + 1 && m_levels[parent + 1].menu == sub)
        return true; // open already
    CloseFrom(parent + 1);
    if (sys)
        UpdateSystemMenuItems(m_owner, sub);
    if (Notify())
        Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(static_cast<WORD>(index), sys ? 1 : 0));
    if (m_ended || !IsWindow(m_owner) || !IsMenu(sub) || m_levels.size() != parent + 1)
        return false;
    return ShowLevel(sub, sys, parent, item, selectFirst);
}

std::shared_ptr<PopupView> MenuTracker::MakePopupWindow(HMENU menu, bool sys)
{
    auto view = std::make_shared<PopupView>();
    view->menu = menu;
    view->owner = m_owner;
    view->sys = sys;
    PopupView* raw = view.get();
    view->onTimer = [this, raw](UINT_PTR id) { OnTimer(raw->hwnd, id); };
    SetPendingPopupView(view);
    const auto module = ModuleWithOwnClass(kPopupMenuClassName,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_owner, GWLP_HINSTANCE)));
    // Owned by the window the menu serves: the popup goes with it.
    const HWND hwnd = CreateWindowExW(kPopupExStyle, MAKEINTATOM(kPopupMenuClassAtom), L"", WS_POPUP, 0, 0, 0, 0,
        m_owner, nullptr, module, nullptr);
    SetPendingPopupView(nullptr);
    if (!hwnd)
        return nullptr;
    view->hwnd = hwnd;
    return view;
}

void MenuTracker::DropPopupWindow(const std::shared_ptr<PopupView>& view)
{
    if (!view)
        return;
    view->onTimer = nullptr;
    if (view->hwnd && IsWindow(view->hwnd)) {
        const HWND h = view->hwnd;
        DestroyWindow(h);
        ForgetPopupView(h);
    }
}

HWND MenuTracker::IdleWindow() const
{
    for (auto it = m_levels.rbegin(); it != m_levels.rend(); ++it)
        if (it->view && it->view->hwnd && IsWindow(it->view->hwnd))
            return it->view->hwnd;
    return m_owner;
}

bool MenuTracker::ShowLevel(HMENU menu, bool sys, size_t parent, int item, bool selectFirst,
    std::shared_ptr<PopupView> made)
{
    // Where the popup goes decides the monitor whose work area it keeps to.
    POINT anchor = m_req.pt;
    RECT from{};
    if (parent != kNoParent) {
        const Level& p = m_levels[parent];
        if (p.bar) {
            from = EntryScreenRect(item);
            anchor = POINT{from.left, from.bottom};
        } else {
            from = p.view->ItemRect(item);
            MapWindowPoints(p.view->hwnd, nullptr, reinterpret_cast<POINT*>(&from), 2);
            anchor = POINT{from.left, from.top};
        }
    }
    const RECT work = MonitorNearest(anchor).work;
    int maxClient = work.bottom - work.top;
    if (const UINT cyMax = MaxHeightOf(menu))
        maxClient = std::min<int>(maxClient, static_cast<int>(std::min<UINT>(cyMax, 0x7FFF)));
    maxClient -= 2 * kPopupMenuFrame;
    PopupLayout layout = LayoutPopupMenu(menu, m_owner, maxClient);
    if (m_ended || layout.items.empty()) {
        // Nothing to show: the popup closes as soon as it opened.
        DropPopupWindow(made);
        if (Notify())
            Send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, sys ? MF_SYSMENU : 0));
        return false;
    }
    const SIZE size{layout.client.cx + 2 * kPopupMenuFrame, layout.client.cy + 2 * kPopupMenuFrame};
    POINT at{};
    bool openedLeft = false;
    if (parent == kNoParent) {
        at = PlacePopupMenu(m_req.pt, size, m_flags, m_req.exclude ? &*m_req.exclude : nullptr, work);
    } else if (m_levels[parent].bar) {
        // Below the bar item, kept clear of it.
        at = PlacePopupMenu(anchor, size, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, &from, work);
    } else {
        at = PlaceSubmenu(WindowRectOf(m_levels[parent].view->hwnd), from, size, work, m_levels[parent].openedLeft,
            openedLeft);
    }

    std::shared_ptr<PopupView> view = made && IsWindow(made->hwnd) ? std::move(made) : MakePopupWindow(menu, sys);
    if (!view) {
        if (Notify())
            Send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, sys ? MF_SYSMENU : 0));
        return false;
    }
    view->layout = std::move(layout);
    const HWND hwnd = view->hwnd;
    Level level;
    level.menu = menu;
    level.sys = sys;
    level.view = view;
    level.openedLeft = openedLeft;
    m_levels.push_back(std::move(level));
    const size_t index = m_levels.size() - 1;
    // The window system paints nothing of it before its WM_NCPAINT: a subclass can still
    // read what lies under it (and may grow it in WM_WINDOWPOSCHANGING).
    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy,
        SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (!IsWindow(hwnd))
        return false;
    UpdateWindow(hwnd);
    if (selectFirst && !m_ended && index < m_levels.size())
        Select(index, NextSelectable(index, -1, 1), false);
    return true;
}

void MenuTracker::CloseFrom(size_t level)
{
    level = std::max(level, FirstPopupLevel());
    while (m_levels.size() > level) {
        KillTimers(m_levels.size() - 1);
        Level l = std::move(m_levels.back());
        m_levels.pop_back();
        DropPopupWindow(l.view);
        if (Notify())
            Send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(l.menu), MAKELPARAM(0, l.sys ? MF_SYSMENU : 0));
    }
    if (m_hoverItem >= 0 && m_hoverLevel >= m_levels.size())
        m_hoverItem = -1;
    if (m_scrollDir && m_scrollLevel >= m_levels.size())
        m_scrollDir = 0;
}

void MenuTracker::Select(size_t level, int item, bool mouse)
{
    if (level >= m_levels.size())
        return;
    Level& l = m_levels[level];
    if (l.selected == item)
        return;
    const int old = l.selected;
    l.selected = item;
    if (l.bar) {
        SetBarHilite(old, false);
        SetBarHilite(item, true);
        RedrawBar();
    } else if (l.view) {
        l.view->selected = item;
        RedrawItem(level, old);
        if (item >= 0) {
            EnsureVisible(level, item);
            RedrawItem(level, item);
        }
    }
    if (item != -1)
        Announce(level, mouse);
}

void MenuTracker::Announce(size_t level, bool mouse)
{
    if (!Notify() || level >= m_levels.size())
        return;
    const Level& l = m_levels[level];
    const UINT mouseBit = mouse ? MF_MOUSESELECT : 0;
    if (l.bar && l.selected == kSysEntry) {
        Send(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE | MF_SYSMENU | mouseBit),
            reinterpret_cast<LPARAM>(m_sysMenu));
        return;
    }
    const auto it = Item(level, l.selected);
    if (!it)
        return;
    const UINT flags = MF_HILITE | mouseBit | (it->state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) |
        (it->type & (MF_BITMAP | MF_OWNERDRAW)) | (it->sub ? MF_POPUP : 0) | (l.sys ? MF_SYSMENU : 0);
    const UINT id = it->sub ? static_cast<UINT>(l.selected) : it->id;
    Send(WM_MENUSELECT, MAKEWPARAM(LOWORD(id), LOWORD(flags)), reinterpret_cast<LPARAM>(l.menu));
}

void MenuTracker::Execute(size_t level, int item)
{
    if (level >= m_levels.size() || item < 0)
        return;
    const Level& l = m_levels[level];
    MenuItemData it;
    {
        // The item as it is now: a handler may have disabled it since it was laid out.
        auto lock = LockMenus();
        const auto f = FindItemLocked(l.menu, static_cast<UINT>(item), true);
        if (!f)
            return;
        it = f->Item();
    }
    if (it.sub || (it.type & MFT_SEPARATOR) || (it.state & MFS_GRAYED))
        return;
    m_choice = Choice{l.menu, item, it.id, l.sys};
    m_ended = true;
}

// ---- painting ----------------------------------------------------------------------------------------------

void MenuTracker::RedrawItem(size_t level, int item)
{
    if (level >= m_levels.size() || item < 0)
        return;
    const auto& view = m_levels[level].view;
    if (!view || !view->hwnd || !IsWindow(view->hwnd))
        return;
    if (HDC dc = GetDC(view->hwnd)) {
        PaintPopup(dc, *view, item, ODA_SELECT);
        ReleaseDC(view->hwnd, dc);
    }
}

void MenuTracker::RedrawBar()
{
    if (m_barMenu && IsWindow(m_owner) && GetMenu(m_owner) == m_barMenu)
        RepaintMenuBar(m_owner);
}

void MenuTracker::SetBarHilite(int item, bool on)
{
    if (!m_barMenu || item < 0)
        return;
    auto lock = LockMenus();
    if (const auto f = FindItemLocked(m_barMenu, static_cast<UINT>(item), true)) {
        if (on)
            f->Item().state |= MFS_HILITE;
        else
            f->Item().state &= ~MFS_HILITE;
    }
}

void MenuTracker::EnsureVisible(size_t level, int item)
{
    const auto& view = m_levels[level].view;
    if (!view || !view->layout.scrolls || item < 0 || static_cast<size_t>(item) >= view->layout.rects.size())
        return;
    const RECT& r = view->layout.rects[static_cast<size_t>(item)];
    const int area = view->layout.client.cy - 2 * view->layout.band;
    int scroll = view->scroll;
    if (r.top < scroll)
        scroll = r.top;
    else if (r.bottom > scroll + area)
        scroll = r.bottom - area;
    scroll = std::clamp(scroll, 0, view->MaxScroll());
    if (scroll != view->scroll) {
        view->scroll = scroll;
        InvalidateRect(view->hwnd, nullptr, TRUE);
        UpdateWindow(view->hwnd);
    }
}

void MenuTracker::ScrollBy(size_t level, int steps)
{
    if (level >= m_levels.size())
        return;
    const auto& view = m_levels[level].view;
    if (!view || !view->layout.scrolls)
        return;
    const int step = PopupMetrics::Current().itemHeight;
    const int scroll = std::clamp(view->scroll + steps * step, 0, view->MaxScroll());
    if (scroll == view->scroll)
        return;
    view->scroll = scroll;
    InvalidateRect(view->hwnd, nullptr, TRUE);
    UpdateWindow(view->hwnd);
}

void MenuTracker::KillTimers(size_t level)
{
    if (level >= m_levels.size() || !m_levels[level].view)
        return;
    const HWND h = m_levels[level].view->hwnd;
    if (m_hoverItem >= 0 && m_hoverLevel == level) {
        KillTimer(h, kOpenSubmenuTimer);
        m_hoverItem = -1;
    }
    if (m_scrollDir && m_scrollLevel == level) {
        KillTimer(h, kScrollTimer);
        m_scrollDir = 0;
    }
}

// ---- items ---------------------------------------------------------------------------------------------------

std::optional<MenuItemData> MenuTracker::Item(size_t level, int item) const
{
    if (level >= m_levels.size() || item < 0)
        return std::nullopt;
    const Level& l = m_levels[level];
    if (l.view) {
        if (static_cast<size_t>(item) >= l.view->layout.items.size())
            return std::nullopt;
        return l.view->layout.items[static_cast<size_t>(item)];
    }
    auto items = SnapshotItems(l.menu);
    if (!items || static_cast<size_t>(item) >= items->size())
        return std::nullopt;
    return (*items)[static_cast<size_t>(item)];
}

int MenuTracker::ItemCount(size_t level) const
{
    if (level >= m_levels.size())
        return 0;
    const Level& l = m_levels[level];
    if (l.view)
        return static_cast<int>(l.view->layout.items.size());
    auto items = SnapshotItems(l.menu);
    return items ? static_cast<int>(items->size()) : 0;
}

bool MenuTracker::Selectable(size_t level, int item) const
{
    const auto it = Item(level, item);
    return it && !(it->type & MFT_SEPARATOR);
}

int MenuTracker::NextSelectable(size_t level, int from, int dir) const
{
    const int n = ItemCount(level);
    if (n <= 0)
        return -1;
    int i = from;
    for (int k = 0; k < n; ++k) {
        if (i < 0 || i >= n)
            i = dir > 0 ? 0 : n - 1;
        else
            i = (i + dir + n) % n;
        if (Selectable(level, i))
            return i;
    }
    return -1;
}

bool MenuTracker::OpensPopup(size_t level, int item) const
{
    if (level < m_levels.size() && m_levels[level].bar && item == kSysEntry)
        return m_sysMenu != nullptr;
    const auto it = Item(level, item);
    return it && it->sub;
}

// ---- the menu bar ---------------------------------------------------------------------------------------------

bool MenuTracker::PrepareBar()
{
    const DWORD style = static_cast<DWORD>(GetWindowLongW(m_owner, GWL_STYLE));
    if (!(style & WS_CHILD)) {
        const HMENU bar = GetMenu(m_owner);
        if (bar && IsMenu(bar) && GetMenuItemCount(bar) > 0)
            m_barMenu = bar;
    }
    if (style & WS_SYSMENU)
        m_sysMenu = GetSystemMenu(m_owner, FALSE);
    if (!m_barMenu && !m_sysMenu)
        return false;
    const WPARAM cmd = m_req.barCommand & 0xFFF0;
    if (cmd == SC_MOUSEMENU) {
        if ((m_req.barCommand & 0x000F) == static_cast<WPARAM>(HTSYSMENU)) {
            m_startEntry = kSysEntry;
        } else {
            m_startEntry = m_barMenu ? MenuItemFromPoint(m_owner, m_barMenu, m_req.pt) : -1;
            if (m_startEntry < 0)
                return false;
        }
        return m_startEntry != kSysEntry || m_sysMenu;
    }
    const wchar_t ch = m_req.barChar;
    if (ch == 0) {
        m_startEntry = m_barMenu ? 0 : kSysEntry;
    } else if (ch == L' ') {
        if (!m_sysMenu) {
            MessageBeep(0);
            return false;
        }
        m_startEntry = kSysEntry;
    } else if (!m_barMenu) {
        MessageBeep(0); // no bar to find the character on
        return false;
    } else {
        m_startEntry = -1; // found (or asked for) once the loop has begun
    }
    return true;
}

bool MenuTracker::StartBar()
{
    Level bar;
    bar.menu = m_barMenu;
    bar.bar = true;
    m_levels.push_back(bar);
    const WPARAM cmd = m_req.barCommand & 0xFFF0;
    if (cmd == SC_MOUSEMENU) {
        // The press that started the session is still down.
        m_buttonDown = true;
        Select(0, m_startEntry, true);
        if (!m_ended && OpensPopup(0, m_startEntry))
            OpenFrom(0, m_startEntry, false);
    } else if (m_req.barChar == 0) {
        Select(0, m_startEntry, false);
    } else if (m_req.barChar == L' ') {
        Select(0, kSysEntry, false);
        if (!m_ended)
            OpenFrom(0, kSysEntry, true);
    } else {
        OnChar(m_req.barChar);
        // A character nothing answered for ends the session before it began.
        if (!m_levels.empty() && m_levels.size() == 1 && m_levels.front().selected == -1)
            m_ended = true;
    }
    return !m_levels.empty();
}

std::vector<int> MenuTracker::BarEntries() const
{
    std::vector<int> out;
    if (m_sysMenu)
        out.push_back(kSysEntry);
    const int n = m_barMenu ? GetMenuItemCount(m_barMenu) : 0;
    for (int i = 0; i < n; ++i)
        out.push_back(i);
    return out;
}

RECT MenuTracker::EntryScreenRect(int entry) const
{
    const RECT wnd = WindowRectOf(m_owner);
    if (entry == kSysEntry) {
        RECT r = ComputeNcLayout(m_owner).sysButton;
        if (IsRectEmpty(&r))
            return RECT{wnd.left, wnd.top, wnd.left, wnd.top};
        OffsetRect(&r, wnd.left, wnd.top);
        return r;
    }
    RECT r{};
    if (m_barMenu && GetMenuItemRect(m_owner, m_barMenu, static_cast<UINT>(entry), &r))
        return r;
    return RECT{wnd.left, wnd.top, wnd.left, wnd.top};
}

// ---- the thread's trackings -------------------------------------------------------------------------------------

TrackResult RunMenuTracking(const TrackRequest& req)
{
    MenuTracker* outer = CurrentMenuTracker();
    MenuTracker tracker(req);
    if (outer)
        outer->Suspend();
    t_trackers.push_back(&tracker);
    struct Pop {
        MenuTracker* outer;
        ~Pop()
        {
            t_trackers.pop_back();
            if (outer)
                outer->Resume();
        }
    } pop{outer};
    return tracker.Run();
}

MenuTracker* CurrentMenuTracker() { return t_trackers.empty() ? nullptr : t_trackers.back(); }

std::shared_ptr<PopupView> FindOpenPopupView(HWND hwnd, HMENU menu)
{
    for (auto it = t_trackers.rbegin(); it != t_trackers.rend(); ++it) {
        auto view = (*it)->ViewOf(menu);
        if (view && (!hwnd || hwnd == (*it)->Owner() || hwnd == view->hwnd))
            return view;
    }
    return nullptr;
}

void TrackMenuBar(HWND hwnd, WPARAM command, LPARAM lParam)
{
    // One menu at a time: a second SC_KEYMENU while one is tracked changes nothing.
    if (CurrentMenuTracker() || !IsWindow(hwnd))
        return;
    TrackRequest req;
    req.mode = TrackMode::Bar;
    req.owner = hwnd;
    req.barCommand = command;
    if ((command & 0xFFF0) == SC_MOUSEMENU)
        req.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    else
        req.barChar = static_cast<wchar_t>(lParam);
    RunMenuTracking(req);
}

} // namespace zyn::user::detail
