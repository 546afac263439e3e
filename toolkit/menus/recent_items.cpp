// Recently used menu items: the two exclusion sets, which items a popup shows while only
// the recently used ones are shown, the expansion item that brings back the others, and
// the commands that make items recently used.
//
// How a popup expands: while such a popup is open, the organizer that showed it holds two
// thread hooks. A click on the expansion item (or Enter while it is highlighted) is
// swallowed by them and becomes WM_COMMAND 0xFF56 posted to the frame; the frame's
// procedure restores the popup (its items come back), closes it with a posted Escape and
// has its parent open it again with a posted Enter. Converted anew with the
// expansion-clicked flag set, the popup shows all its items until the loop ends. Keys
// reach the menu loop through the thread's queue, so every key is posted, never sent,
// while the frame has a window menu (a frame showing its menu through a menu bar gets
// them sent, for its bar to handle).
#include <algorithm>

#include "platform/afx/frame.h"
#include "platform/base/threads.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/popup_menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/menus/organizer_menu_items.h"

namespace {

// One pair of thread hooks per process, and the organizer whose popups they serve.
HHOOK g_mouseHook = nullptr;
HHOOK g_keyboardHook = nullptr;
COXBitmapMenuOrganizer* g_hookOwner = nullptr;

constexpr LPARAM kEscapeKeyData = 0x10001;
constexpr LPARAM kReturnKeyData = 0x1C0001;

bool IsButtonMessage(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return true;
    default: return false;
    }
}

bool HoldsCommand(HMENU hMenu, UINT nID)
{
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_SUBMENU;
        if (::GetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &mii) && !mii.hSubMenu && mii.wID == nID)
            return true;
    }
    return false;
}

} // namespace

// ---- the sets ------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::ShowOnlyRecentlyUsedItems(BOOL bShowOnly)
{
    const BOOL on = bShowOnly ? TRUE : FALSE;
    if (on == m_bShowOnlyRecentlyUsed)
        return;
    m_bShowOnlyRecentlyUsed = on;
    COXCustomizePopupAccess* access = OXGetCustomizePopupAccess();
    if (!access)
        return;
    for (const ConvertedMenu& entry : m_converted)
        if (COXBitmapMenuPopupWnd* popup = entry.menu->GetPopupWnd())
            if (const HWND window = access->GetPopupWindow(popup); window && ::IsWindow(window))
                access->OnMenuChanged(popup);
}

BOOL COXBitmapMenuOrganizer::ExcludeFromRecentlyUsed(int nID)
{
    return nID != 0 && m_excludedCommands.insert(nID).second ? TRUE : FALSE;
}

BOOL COXBitmapMenuOrganizer::ExcludeSubmenuFromRecentlyUsed(HMENU hMenu)
{
    return hMenu && m_excludedSubmenus.insert(hMenu).second ? TRUE : FALSE;
}

BOOL COXBitmapMenuOrganizer::AddToRecentlyUsed(int nID) { return m_excludedCommands.erase(nID) ? TRUE : FALSE; }

BOOL COXBitmapMenuOrganizer::AddSubmenuToRecentlyUsed(HMENU hMenu)
{
    return m_excludedSubmenus.erase(hMenu) ? TRUE : FALSE;
}

BOOL COXBitmapMenuOrganizer::IsRecentlyUsed(CMenu* pMenu, int nPos)
{
    if (nPos == -1)
        return TRUE;
    if (!pMenu || !pMenu->m_hMenu)
        return TRUE;
    if (const HMENU sub = ::GetSubMenu(pMenu->m_hMenu, nPos))
        return IsSubmenuRecentlyUsed(sub);
    return IsRecentlyUsed(static_cast<int>(::GetMenuItemID(pMenu->m_hMenu, nPos)));
}

BOOL COXBitmapMenuOrganizer::ExcludeFromRecentlyUsed(CMenu* pMenu, int nPos)
{
    if (!pMenu || !pMenu->m_hMenu || nPos < 0 || nPos >= ::GetMenuItemCount(pMenu->m_hMenu))
        return FALSE;
    if (const HMENU sub = ::GetSubMenu(pMenu->m_hMenu, nPos))
        return ExcludeSubmenuFromRecentlyUsed(sub);
    return ExcludeFromRecentlyUsed(static_cast<int>(::GetMenuItemID(pMenu->m_hMenu, nPos)));
}

BOOL COXBitmapMenuOrganizer::AddToRecentlyUsed(CMenu* pMenu, int nPos)
{
    if (!pMenu || !pMenu->m_hMenu || nPos < 0 || nPos >= ::GetMenuItemCount(pMenu->m_hMenu))
        return FALSE;
    if (const HMENU sub = ::GetSubMenu(pMenu->m_hMenu, nPos))
        return AddSubmenuToRecentlyUsed(sub);
    return AddToRecentlyUsed(static_cast<int>(::GetMenuItemID(pMenu->m_hMenu, nPos)));
}

// ---- which items a popup shows --------------------------------------------------------------------------------------

bool COXBitmapMenuOrganizer::ItemStays(HMENU hMenu, int nPos, const MENUITEMINFOW& mii, BOOL& bSeparatorFlag) const
{
    // The separator flag is set at the start (leading separators go) and after an item
    // taken out of a group that a separator opened (the separator closing that group goes
    // too, unless an item of the group stays).
    const bool separator = (mii.fType & MFT_SEPARATOR) != 0;
    const bool stays = IsRecentlyUsed(static_cast<int>(mii.wID)) &&
        (!mii.hSubMenu || IsSubmenuRecentlyUsed(mii.hSubMenu)) && (!separator || !bSeparatorFlag);
    if (stays)
        bSeparatorFlag = FALSE;
    else if (!separator && !bSeparatorFlag && nPos > 0 && ::GetMenuItemID(hMenu, nPos - 1) == 0)
        bSeparatorFlag = TRUE;
    return stays;
}

// ---- commands --------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::OnMenuCommand(UINT nID)
{
    if (nID == 0)
        return;
    if (nID == ID_OX_SHOWALLITEMS) {
        OnExpansionCommand();
        return;
    }
    if (!m_bShowOnlyRecentlyUsed || m_popupTrace.empty())
        return;
    // The command counts when one of the popups just shown holds it; the submenus on the
    // way to it (not the top-level popup) become recently used with it.
    int holder = -1;
    for (int i = static_cast<int>(m_popupTrace.size()) - 1; i >= 0 && holder < 0; --i)
        if (::IsMenu(m_popupTrace[static_cast<size_t>(i)].hPopup) &&
            HoldsCommand(m_popupTrace[static_cast<size_t>(i)].hPopup, nID))
            holder = i;
    if (holder < 0)
        return;
    BOOL changed = AddToRecentlyUsed(static_cast<int>(nID));
    for (int i = 1; i <= holder; ++i)
        changed = AddSubmenuToRecentlyUsed(m_popupTrace[static_cast<size_t>(i)].hPopup) || changed;
    if (changed && m_hWnd && ::IsWindow(m_hWnd))
        ::SendMessageW(m_hWnd, WM_OX_RECENTLYUSEDCHANGED, 0, 0);
}

void COXBitmapMenuOrganizer::OnExpansionCommand()
{
    UpdateActivePopupMenuCount();
    const int active = m_nActivePopupMenuCount;
    // No popup of a loop is open (the command came after its end): nothing to expand, and
    // the next loop must not show everything.
    if (active <= 0 || static_cast<size_t>(active) > m_popupTrace.size())
        return;
    m_bExpansionClicked = TRUE;
    const HMENU current = m_popupTrace[static_cast<size_t>(active) - 1].hPopup;
    const bool noMenu = !m_hWnd || !::GetMenu(m_hWnd);
    const bool top = noMenu && active == 1;
    auto deliver = [noMenu](HWND window, WPARAM key, LPARAM data) {
        if (!window || !::IsWindow(window))
            return;
        if (noMenu)
            ::SendMessageW(window, WM_KEYDOWN, key, data);
        else
            ::PostMessageW(window, WM_KEYDOWN, key, data);
    };
    if (top)
        ::LockWindowUpdate(m_hWnd);
    HWND parent = nullptr;
    if (!top)
        parent = active < 2 ? m_hWnd : GetPopupWindow(m_popupTrace[static_cast<size_t>(active) - 2].hPopup);
    deliver(GetPopupWindow(current), VK_ESCAPE, kEscapeKeyData);
    if (top)
        ::LockWindowUpdate(nullptr);
    std::vector<COXBitmapMenu*> restore;
    for (const ConvertedMenu& entry : m_converted) {
        const HMENU hMenu = entry.menu->m_hMenu;
        const HWND window = GetPopupWindow(hMenu);
        if (!::IsMenu(hMenu) || !window || !::IsWindow(window) || hMenu == current)
            restore.push_back(entry.menu.get());
    }
    for (COXBitmapMenu* menu : restore)
        RestoreBitmapMenu(menu, TRUE);
    if (!top)
        deliver(parent, VK_RETURN, kReturnKeyData);
}

// ---- the hooks ---------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::InstallHooks()
{
    if (g_mouseHook || g_keyboardHook)
        return;
    g_hookOwner = this;
    const DWORD thread = ::GetCurrentThreadId();
    g_mouseHook = ::SetWindowsHookExW(WH_MOUSE, &COXBitmapMenuOrganizer::MouseHookProc, nullptr, thread);
    g_keyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, &COXBitmapMenuOrganizer::KeyboardHookProc, nullptr, thread);
}

void COXBitmapMenuOrganizer::RemoveHooks()
{
    if (g_hookOwner != this)
        return;
    if (g_mouseHook)
        ::UnhookWindowsHookEx(g_mouseHook);
    if (g_keyboardHook)
        ::UnhookWindowsHookEx(g_keyboardHook);
    g_mouseHook = nullptr;
    g_keyboardHook = nullptr;
    g_hookOwner = nullptr;
}

LRESULT COXBitmapMenuOrganizer::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode < 0 || !g_hookOwner)
        return ::CallNextHookEx(g_mouseHook, nCode, wParam, lParam);
    return g_hookOwner->OnMouseHook(nCode, wParam, lParam);
}

LRESULT COXBitmapMenuOrganizer::KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode < 0 || !g_hookOwner)
        return ::CallNextHookEx(g_keyboardHook, nCode, wParam, lParam);
    return g_hookOwner->OnKeyboardHook(nCode, wParam, lParam);
}

LRESULT COXBitmapMenuOrganizer::OnMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (!IsButtonMessage(wParam) || !info)
        return ::CallNextHookEx(g_mouseHook, nCode, wParam, lParam);
    const POINT pt = info->pt;
    const HWND under = ::WindowFromPoint(pt);
    const std::map<HMENU, HWND> windows = m_popupWindows; // what follows may change the map
    for (const auto& [popup, window] : windows) {
        if (!under || window != under || !::IsMenu(popup))
            continue;
        const int item = ::MenuItemFromPoint(window, popup, pt);
        if (item < 0 || ::GetMenuItemID(popup, item) != ID_OX_SHOWALLITEMS)
            continue;
        // The expansion item of a popup with submenus open below it: those close first
        // (the loop closes one level per Escape it takes from the queue).
        const auto at = std::find_if(m_popupTrace.begin(), m_popupTrace.end(),
            [p = popup](const OXPOPUPTRACEENTRY& e) { return e.hPopup == p; });
        const int k = at == m_popupTrace.end() ? -1 : static_cast<int>(at - m_popupTrace.begin());
        if (k >= 0 && k + 1 < m_nActivePopupMenuCount) {
            bool closed = false;
            for (size_t j = static_cast<size_t>(k) + 1; j < m_popupTrace.size(); ++j) {
                const HWND later = GetPopupWindow(m_popupTrace[j].hPopup);
                if (later && ::IsWindow(later)) {
                    ::PostMessageW(later, WM_KEYDOWN, VK_ESCAPE, kEscapeKeyData);
                    closed = true;
                }
            }
            if (closed)
                m_nActivePopupMenuCount = k + 1;
        }
        const bool release = wParam == WM_LBUTTONUP || wParam == WM_RBUTTONUP || wParam == WM_LBUTTONDBLCLK ||
            wParam == WM_RBUTTONDBLCLK;
        if (release && m_hWnd)
            ::PostMessageW(m_hWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
        return 1; // the loop never sees a button on the expansion item
    }
    return ::CallNextHookEx(g_mouseHook, nCode, wParam, lParam);
}

bool COXBitmapMenuOrganizer::IsExpansionHighlighted(HMENU hPopup) const
{
    const int count = ::GetMenuItemCount(hPopup);
    if (count <= 0 || ::GetMenuItemID(hPopup, count - 1) != ID_OX_SHOWALLITEMS)
        return false;
    const UINT state = ::GetMenuState(hPopup, static_cast<UINT>(count - 1), MF_BYPOSITION);
    if (state != static_cast<UINT>(-1) && (state & MF_HILITE))
        return true;
    return m_hSelectedMenu == hPopup && m_nSelectedID == ID_OX_SHOWALLITEMS;
}

LRESULT COXBitmapMenuOrganizer::OnKeyboardHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (wParam != VK_RETURN)
        return ::CallNextHookEx(g_keyboardHook, nCode, wParam, lParam);
    const HWND top = ::GetTopWindow(nullptr);
    for (const auto& [popup, window] : m_popupWindows) {
        if (!top || window != top || !::IsMenu(popup) || !IsExpansionHighlighted(popup))
            continue;
        // A fresh key-down (no repeat, no release, no Alt) expands; the rest is swallowed.
        if ((static_cast<uint32_t>(lParam) & 0xE0000000u) == 0 && m_hWnd)
            ::PostMessageW(m_hWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
        return 1;
    }
    return ::CallNextHookEx(g_keyboardHook, nCode, wParam, lParam);
}

// ---- menus, paths and copies ---------------------------------------------------------------------------------------------

namespace {

bool FindPath(HMENU hMenu, HMENU hRoot, CArray<int, int>& path, int depth)
{
    if (!hRoot || depth > 64)
        return false;
    const int count = ::GetMenuItemCount(hRoot);
    for (int pos = 0; pos < count; ++pos) {
        const HMENU sub = ::GetSubMenu(hRoot, pos);
        if (!sub)
            continue;
        if (sub == hMenu || FindPath(hMenu, sub, path, depth + 1)) {
            path.InsertAt(0, pos);
            return true;
        }
    }
    return false;
}

} // namespace

BOOL COXBitmapMenuOrganizer::FindPopupMenuPath(HMENU hMenu, HMENU hRoot, CArray<int, int>& path)
{
    return hMenu && FindPath(hMenu, hRoot, path, 0) ? TRUE : FALSE;
}

BOOL COXBitmapMenuOrganizer::IsTopLevelPopupMenu(HMENU hMenu) const
{
    const HMENU bar = m_hWnd ? ::GetMenu(m_hWnd) : nullptr;
    if (!bar || !hMenu)
        return FALSE;
    const int count = ::GetMenuItemCount(bar);
    for (int pos = 0; pos < count; ++pos)
        if (::GetSubMenu(bar, pos) == hMenu)
            return TRUE;
    return FALSE;
}

namespace {

// Copies the items of one popup into another, submenus too; an excluded submenu hands its
// exclusion to its copy. False when an item could not be copied.
bool CopyItems(HMENU from, HMENU to, std::set<HMENU>& excluded, int depth)
{
    if (depth > 64)
        return false;
    const int count = ::GetMenuItemCount(from);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW mii{};
        CString text;
        if (!zyn::menus::ReadMenuItem(from, pos, mii, text))
            return false;
        if (mii.hSubMenu) {
            const HMENU sub = ::CreatePopupMenu();
            if (!sub || !CopyItems(mii.hSubMenu, sub, excluded, depth + 1)) {
                if (sub)
                    ::DestroyMenu(sub);
                return false;
            }
            if (excluded.erase(mii.hSubMenu))
                excluded.insert(sub);
            mii.hSubMenu = sub;
        }
        if (!zyn::menus::InsertMenuItemCopy(to, pos, mii, text)) {
            if (mii.hSubMenu)
                ::DestroyMenu(mii.hSubMenu);
            return false;
        }
    }
    return true;
}

} // namespace

HMENU COXBitmapMenuOrganizer::CopyPopupMenu(HMENU hMenu)
{
    if (!hMenu || !::IsMenu(hMenu))
        return nullptr;
    const HMENU copy = ::CreatePopupMenu();
    if (!copy)
        return nullptr;
    std::set<HMENU> excluded = m_excludedSubmenus;
    if (!CopyItems(hMenu, copy, excluded, 0)) {
        ::DestroyMenu(copy);
        return nullptr;
    }
    if (excluded.erase(hMenu))
        excluded.insert(copy);
    m_excludedSubmenus = std::move(excluded);
    AddCreatedMenu(copy);
    return copy;
}
