// Input inside the menu loop: where the mouse is and what a click or a key does.
//
// Mouse: moving over an item highlights it and, for a submenu, opens it after the menu
// show delay (SPI_GETMENUSHOWDELAY); pressing a button on an item highlights it (opening
// a submenu at once); releasing an accepted button (the left one, the right one too
// under TPM_RIGHTBUTTON) over an enabled command chooses it, once the mouse has picked
// an item in this session. On the menu bar, pressing another item switches popups;
// pressing the open item again closes the menu. A press outside every popup and the bar
// ends the menu before the message is taken (EndsBefore), so it reaches the window under
// it afterwards.
//
// Keys: Up/Down move the highlight (wrapping, skipping separators), Home/End go to the
// first/last item, Right and Enter open a submenu (Right on a command moves to the next
// menu-bar popup), Left and Escape close one level (Left on the first popup of the bar
// moves to the previous bar popup), Alt and F10 close everything, Enter chooses a
// command. Other keys are translated; their characters are mnemonics: one item with the
// character is chosen (a submenu opens), several are cycled through, none asks the owner
// with WM_MENUCHAR.
#include <algorithm>

#include "platform/base/charcase.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/menu_tracker.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/popup_menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user::detail {
namespace {

enum class MouseKind { None, Move, Down, Up, Wheel };

struct MouseMsg {
    MouseKind kind = MouseKind::None;
    int button = 0; // 0 left, 1 right, 2 middle, 3 X
};

MouseMsg Classify(UINT msg)
{
    UINT m = msg;
    if (m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK)
        m += WM_MOUSEMOVE - WM_NCMOUSEMOVE; // the client counterpart
    switch (m) {
    case WM_MOUSEMOVE: return {MouseKind::Move, 0};
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return {MouseKind::Down, 0};
    case WM_LBUTTONUP: return {MouseKind::Up, 0};
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return {MouseKind::Down, 1};
    case WM_RBUTTONUP: return {MouseKind::Up, 1};
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return {MouseKind::Down, 2};
    case WM_MBUTTONUP: return {MouseKind::Up, 2};
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK: return {MouseKind::Down, 3};
    case WM_XBUTTONUP: return {MouseKind::Up, 3};
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return {MouseKind::Wheel, 0};
    default: return {};
    }
}

// The screen point a mouse message names: its client point through its window, the
// point itself for non-client and wheel messages, else where the cursor was.
POINT ScreenPointOf(const MSG& m)
{
    const POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    const bool screenForm = (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCXBUTTONDBLCLK) ||
        m.message == WM_MOUSEWHEEL || m.message == WM_MOUSEHWHEEL;
    if (screenForm)
        return p;
    if (m.hwnd && IsWindow(m.hwnd)) {
        POINT s = p;
        ClientToScreen(m.hwnd, &s);
        return s;
    }
    return m.pt;
}

// The character after the first single '&' of an item's text (0: none).
wchar_t MnemonicOf(const MenuItemData& it)
{
    if (!it.text || (it.type & (MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR)))
        return 0;
    const std::wstring& t = *it.text;
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != L'&')
            continue;
        if (t[i + 1] == L'&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return t[i + 1] == L'\t' ? 0 : t[i + 1];
    }
    return 0;
}

} // namespace

bool MenuTracker::EndsBefore(const MSG& m)
{
    if (m_ended || Classify(m.message).kind != MouseKind::Down)
        return false;
    if (HitTest(ScreenPointOf(m)).inside)
        return false;
    m_ended = true; // a cancel; the click stays for the window under it
    return true;
}

bool MenuTracker::OnMessage(MSG& m)
{
    m_processed = true;
    const MouseMsg mm = Classify(m.message);
    if (mm.kind != MouseKind::None) {
        const POINT pt = ScreenPointOf(m);
        const bool accepted = mm.button == 0 || (mm.button == 1 && (m_flags & TPM_RIGHTBUTTON));
        switch (mm.kind) {
        case MouseKind::Move: OnMouseMove(pt); break;
        case MouseKind::Down: OnButtonDown(pt, accepted); break;
        case MouseKind::Up: OnButtonUp(pt, accepted); break;
        case MouseKind::Wheel: OnWheel(pt, GET_WHEEL_DELTA_WPARAM(m.wParam)); break;
        case MouseKind::None: break;
        }
        return true;
    }
    switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKeyDown(m);
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        return true;
    case WM_CHAR:
    case WM_SYSCHAR:
        OnChar(static_cast<wchar_t>(m.wParam));
        return true;
    default:
        return false;
    }
}

MenuTracker::Hit MenuTracker::HitTest(POINT screen) const
{
    Hit h;
    // Deepest first: a cascade lies over its parent's edge.
    for (size_t i = m_levels.size(); i-- > FirstPopupLevel();) {
        const auto& view = m_levels[i].view;
        if (!view || !view->hwnd || !IsWindow(view->hwnd))
            continue;
        RECT r;
        GetWindowRect(view->hwnd, &r);
        if (!PtInRect(&r, screen))
            continue;
        POINT client = screen;
        ScreenToClient(view->hwnd, &client);
        h.inside = true;
        h.level = i;
        h.band = view->BandAt(client);
        h.item = view->ItemFromPoint(client);
        return h;
    }
    if (m_mode != TrackMode::Bar || !IsWindow(m_owner))
        return h;
    if (m_sysMenu) {
        const RECT sys = EntryScreenRect(kSysEntry);
        if (PtInRect(&sys, screen)) {
            h.inside = h.bar = true;
            h.item = kSysEntry;
            return h;
        }
    }
    if (m_barMenu) {
        RECT bar = MenuBarRect(m_owner);
        RECT wnd;
        GetWindowRect(m_owner, &wnd);
        OffsetRect(&bar, wnd.left, wnd.top);
        if (PtInRect(&bar, screen)) {
            h.inside = h.bar = true;
            h.item = MenuItemFromPoint(m_owner, m_barMenu, screen);
        }
    }
    return h;
}

// ---- the mouse -----------------------------------------------------------------------------------------------

void MenuTracker::OnMouseMove(POINT pt)
{
    const Hit h = HitTest(pt);
    if (m_scrollDir && (!h.inside || h.bar || h.level != m_scrollLevel || h.band != m_scrollDir)) {
        KillTimer(m_levels[m_scrollLevel].view->hwnd, kScrollTimer);
        m_scrollDir = 0;
    }
    if (!h.inside)
        return;
    if (h.bar) {
        // Over the bar the highlight follows the mouse while a popup is open or the button
        // that started the session is held.
        const bool following = m_levels.size() > 1 || m_buttonDown;
        if (h.item == -1 || !following || h.item == m_levels[0].selected)
            return;
        CloseFrom(1);
        Select(0, h.item, true);
        if (!m_ended && OpensPopup(0, h.item))
            OpenFrom(0, h.item, false);
        return;
    }
    if (h.band) {
        if (!m_scrollDir) {
            m_scrollDir = h.band;
            m_scrollLevel = h.level;
            SetTimer(m_levels[h.level].view->hwnd, kScrollTimer, kScrollInterval, nullptr);
        }
        return;
    }
    if (h.item < 0 || !Selectable(h.level, h.item))
        return;
    m_mouseEngaged = true;
    if (m_levels[h.level].selected == h.item)
        return;
    CloseFrom(h.level + 1);
    Select(h.level, h.item, true);
    const auto it = Item(h.level, h.item);
    if (m_ended || !it || !it->sub || (it->state & MFS_GRAYED))
        return;
    UINT delay = 400;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    if (delay == 0) {
        OpenFrom(h.level, h.item, false);
        return;
    }
    // The submenu opens when the mouse has rested on its item for the delay.
    if (m_hoverItem >= 0 && m_hoverLevel < m_levels.size())
        KillTimer(m_levels[m_hoverLevel].view->hwnd, kOpenSubmenuTimer);
    m_hoverLevel = h.level;
    m_hoverItem = h.item;
    SetTimer(m_levels[h.level].view->hwnd, kOpenSubmenuTimer, delay, nullptr);
}

void MenuTracker::OnButtonDown(POINT pt, bool accepted)
{
    const Hit h = HitTest(pt);
    if (!h.inside) {
        m_ended = true; // (EndsBefore sees every press first; this is for safety)
        return;
    }
    if (accepted)
        m_buttonDown = true;
    if (h.bar) {
        if (h.item == -1)
            return;
        if (h.item == m_levels[0].selected && m_levels.size() > 1) {
            m_ended = true; // the open item pressed again closes the menu
            return;
        }
        CloseFrom(1);
        Select(0, h.item, true);
        if (!m_ended && OpensPopup(0, h.item))
            OpenFrom(0, h.item, false);
        return;
    }
    if (!accepted)
        return;
    m_mouseEngaged = true;
    if (h.band) {
        ScrollBy(h.level, h.band);
        return;
    }
    if (h.item < 0 || !Selectable(h.level, h.item))
        return;
    if (m_levels[h.level].selected != h.item) {
        CloseFrom(h.level + 1);
        Select(h.level, h.item, true);
    }
    if (!m_ended && OpensPopup(h.level, h.item)) {
        if (m_hoverItem >= 0 && m_hoverLevel == h.level) {
            KillTimer(m_levels[h.level].view->hwnd, kOpenSubmenuTimer);
            m_hoverItem = -1;
        }
        OpenFrom(h.level, h.item, false);
    }
}

void MenuTracker::OnButtonUp(POINT pt, bool accepted)
{
    if (!accepted)
        return;
    const bool wasDown = m_buttonDown;
    m_buttonDown = false;
    const Hit h = HitTest(pt);
    if (!h.inside || h.item < 0 || h.band)
        return;
    if (h.bar) {
        // A command on the bar itself is chosen by releasing the press that highlighted it.
        if (wasDown && h.item == m_levels[0].selected && !OpensPopup(0, h.item))
            Execute(0, h.item);
        return;
    }
    if (!m_mouseEngaged || OpensPopup(h.level, h.item))
        return;
    Execute(h.level, h.item);
}

void MenuTracker::OnWheel(POINT pt, int delta)
{
    const Hit h = HitTest(pt);
    if (!h.inside || h.bar || delta == 0)
        return;
    // One item per notch, against the wheel's direction of travel.
    ScrollBy(h.level, delta > 0 ? -std::max(1, delta / WHEEL_DELTA) : std::max(1, -delta / WHEEL_DELTA));
}

void MenuTracker::OnTimer(HWND hwnd, UINT_PTR id)
{
    size_t level = m_levels.size();
    for (size_t i = 0; i < m_levels.size(); ++i)
        if (m_levels[i].view && m_levels[i].view->hwnd == hwnd)
            level = i;
    if (level == m_levels.size()) {
        KillTimer(hwnd, id);
        return;
    }
    if (id == kOpenSubmenuTimer) {
        KillTimer(hwnd, id);
        const int item = m_hoverItem;
        const bool due = m_hoverItem >= 0 && m_hoverLevel == level && m_levels[level].selected == item;
        m_hoverItem = -1;
        if (due && !m_ended)
            OpenFrom(level, item, false);
    } else if (id == kScrollTimer) {
        if (!m_scrollDir || m_scrollLevel != level) {
            KillTimer(hwnd, id);
            return;
        }
        const int before = m_levels[level].view->scroll;
        ScrollBy(level, m_scrollDir);
        if (m_levels[level].view->scroll == before) {
            KillTimer(hwnd, id); // at the end: nothing left to scroll
            m_scrollDir = 0;
        }
    }
}

// ---- the keyboard ----------------------------------------------------------------------------------------------

void MenuTracker::OnKeyDown(MSG& m)
{
    const int vk = static_cast<int>(m.wParam);
    const size_t deep = Deepest();
    const bool barOnly = m_levels[deep].bar;
    switch (vk) {
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_F10:
        m_ended = true;
        return;
    case VK_ESCAPE:
        if (barOnly || (m_mode == TrackMode::Popup && deep == 0)) {
            m_ended = true;
        } else {
            // One level closes; on the bar the item stays highlighted.
            CloseFrom(deep);
            Announce(deep - 1, false);
        }
        return;
    case VK_UP:
    case VK_DOWN: {
        const int dir = vk == VK_DOWN ? 1 : -1;
        if (barOnly) {
            const int entry = m_levels[0].selected;
            if (OpenFrom(0, entry, dir > 0) && dir < 0)
                Select(Deepest(), NextSelectable(Deepest(), -1, -1), false);
            return;
        }
        Select(deep, NextSelectable(deep, m_levels[deep].selected, dir), false);
        return;
    }
    case VK_HOME:
    case VK_END: {
        const int dir = vk == VK_HOME ? 1 : -1;
        if (barOnly) {
            const std::vector<int> entries = BarEntries();
            if (!entries.empty())
                Select(0, dir > 0 ? entries.front() : entries.back(), false);
            return;
        }
        Select(deep, NextSelectable(deep, -1, dir), false);
        return;
    }
    case VK_RIGHT: {
        if (barOnly) {
            MoveOnBar(1, false);
            return;
        }
        const int sel = m_levels[deep].selected;
        if (sel >= 0 && OpensPopup(deep, sel) && OpenFrom(deep, sel, true))
            return;
        if (m_mode == TrackMode::Bar)
            MoveOnBar(1, true);
        return;
    }
    case VK_LEFT:
        if (barOnly) {
            MoveOnBar(-1, false);
        } else if (m_mode == TrackMode::Bar && deep == 1) {
            MoveOnBar(-1, true);
        } else if (deep > 0) {
            CloseFrom(deep);
            Announce(deep - 1, false);
        }
        return;
    case VK_RETURN: {
        const int sel = m_levels[deep].selected;
        if (sel == -1)
            return;
        if (OpensPopup(deep, sel))
            OpenFrom(deep, sel, true);
        else
            Execute(deep, sel);
        return;
    }
    default:
        // Everything else may make a character: a mnemonic.
        TranslateMessage(&m);
        return;
    }
}

void MenuTracker::OnChar(wchar_t ch)
{
    if (ch < L' ')
        return; // control characters are no mnemonics
    const size_t deep = Deepest();
    const wchar_t wanted = base::ToUpperChar(ch);
    std::vector<int> matches;
    const int n = ItemCount(deep);
    for (int i = 0; i < n; ++i) {
        const auto it = Item(deep, i);
        if (it && base::ToUpperChar(MnemonicOf(*it)) == wanted && MnemonicOf(*it) != 0)
            matches.push_back(i);
    }
    if (matches.empty()) {
        MenuChar(ch, deep);
        return;
    }
    if (matches.size() == 1) {
        Choose(deep, matches.front(), true);
        return;
    }
    // Several items share the character: each press moves to the next of them.
    const int cur = m_levels[deep].selected;
    auto next = std::find_if(matches.begin(), matches.end(), [cur](int i) { return i > cur; });
    Select(deep, next == matches.end() ? matches.front() : *next, false);
}

void MenuTracker::Choose(size_t level, int item, bool selectFirst)
{
    if (m_levels[level].bar)
        CloseFrom(1);
    Select(level, item, false);
    if (m_ended)
        return;
    if (OpensPopup(level, item))
        OpenFrom(level, item, selectFirst);
    else
        Execute(level, item);
}

void MenuTracker::MenuChar(wchar_t ch, size_t level)
{
    const HMENU menu = m_levels[level].menu;
    const bool bar = m_levels[level].bar;
    const UINT flags = bar ? 0 : (MF_POPUP | (m_levels[level].sys ? MF_SYSMENU : 0));
    // Asked even under TPM_NONOTIFY: the answer is part of the menu's behaviour.
    const LRESULT r = IsWindow(m_owner)
        ? SendMessageW(m_owner, WM_MENUCHAR, MAKEWPARAM(ch, flags), reinterpret_cast<LPARAM>(menu))
        : 0;
    if (m_ended || level >= m_levels.size() || m_levels[level].menu != menu)
        return;
    const int pos = LOWORD(static_cast<uintptr_t>(r));
    const bool valid = pos < ItemCount(level) && Selectable(level, pos);
    switch (HIWORD(static_cast<uintptr_t>(r))) {
    case MNC_CLOSE:
        m_ended = true;
        return;
    case MNC_EXECUTE:
        if (valid)
            Choose(level, pos, true);
        return;
    case MNC_SELECT:
        if (valid)
            Select(level, pos, false);
        return;
    default:
        MessageBeep(0);
        return;
    }
}

void MenuTracker::MoveOnBar(int dir, bool open)
{
    const std::vector<int> entries = BarEntries();
    if (entries.empty())
        return;
    const int n = static_cast<int>(entries.size());
    const auto at = std::find(entries.begin(), entries.end(), m_levels[0].selected);
    int i;
    if (at == entries.end())
        i = dir > 0 ? 0 : n - 1;
    else
        i = (static_cast<int>(at - entries.begin()) + dir + n) % n;
    CloseFrom(1);
    Select(0, entries[static_cast<size_t>(i)], false);
    if (open && !m_ended && OpensPopup(0, entries[static_cast<size_t>(i)]))
        OpenFrom(0, entries[static_cast<size_t>(i)], true);
}

} // namespace zyn::user::detail
