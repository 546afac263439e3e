#pragma once
// COXMenuBarHost<T>: turns a frame window class T (CFrameWnd or CMDIFrameWnd) into a frame
// whose menu is shown by a COXMenuBar instead of the window system's menu bar.
//
// At WM_CREATE the host takes the window's own menu away and gives it to the bar it holds
// by value; SetMenu, GetMenu and DrawMenuBar then speak to the bar. Input reaches the bar
// through two thread hooks (WH_KEYBOARD, WH_MOUSE), one pair per instantiation, installed
// by the first host whose bar was made and removed when the last host of the
// instantiation goes: Alt pressed and released alone, F10 (through WM_SYSCOMMAND
// SC_KEYMENU, which the host answers itself while its bar exists) and Alt with a mnemonic
// reach COXMenuBar::HandleMenuKey; while a popup of the bar is open, Left, Right and Esc
// go to the bar at the first popup level, and the mouse moving onto another button
// switches popups. The hosts of an instantiation are found by window handle in a map
// (entries whose windows went without their WM_DESTROY are pruned).
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include <algorithm>
#include <cwctype>
#include <map>
#include <vector>

#include "platform/afx/afxpriv.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/menu.h"
#include "platform/afx/winapp.h"
#include "platform/afx/winthread.h"
#include "platform/base/exception.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/organizer.h"

// The style and ID the host creates its bar with.
inline constexpr DWORD OX_MENUBAR_HOST_STYLE = 0x50402804;

template <class T>
class COXMenuBarHost : public T {
public:
    COXMenuBarHost()
    {
        if (!this->IsKindOf(RUNTIME_CLASS(CWnd)))
            AfxThrowNotSupportedException();
        m_bIsFrameWnd = this->IsKindOf(RUNTIME_CLASS(CFrameWnd));
        m_bIsMDIFrameWnd = this->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
    }
    ~COXMenuBarHost() override
    {
        if (this->m_hWnd)
            this->DestroyWindow();
        RemoveFromGlobalList();
    }
    COXMenuBarHost(const COXMenuBarHost&) = delete;
    COXMenuBarHost& operator=(const COXMenuBarHost&) = delete;

    // Creates the bar (without a menu it starts hidden) and shows hMenu on it.
    virtual BOOL OnCreateMenuBar(HMENU hMenu, CWnd* pParent, DWORD dwStyle, UINT nID)
    {
        if (!hMenu)
            dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
        if (!m_menuBar.Create(pParent, dwStyle, nID) || !m_menuBar.SetMenu(hMenu))
            return FALSE;
        if (m_bIsFrameWnd)
            this->m_hMenuDefault = hMenu;
        return TRUE;
    }
    virtual COXMenuBar& GetMenuBar() { return m_menuBar; }
    virtual void DrawMenuBar()
    {
        if (m_menuBar.m_hWnd)
            m_menuBar.RecreateMenuBar(TRUE);
        else
            ::DrawMenuBar(this->m_hWnd);
    }
    virtual CMenu* GetMenu()
    {
        if (m_menuBar.m_hWnd)
            return m_menuBar.GetHMenu() ? CMenu::FromHandle(m_menuBar.GetHMenu()) : nullptr;
        return CWnd::GetMenu();
    }
    BOOL SetMenu(CMenu* pMenu)
    {
        if (m_menuBar.m_hWnd)
            return m_menuBar.SetMenu(pMenu ? pMenu->GetSafeHmenu() : nullptr);
        return CWnd::SetMenu(pMenu);
    }
    BOOL HiliteMenuItem(int nItem, BOOL bHilite)
    {
        if (!m_menuBar.m_hWnd || m_menuBar.IsInDisplayingMode())
            return FALSE;
        return m_menuBar.SetSurfingMode(bHilite, nItem);
    }
    void MarkMenuAsChanged() { m_menuBar.MarkAsChanged(); }
    HMENU GetOriginalMenu() const { return m_hOriginalMenu; }
    const std::vector<HMENU>& GetOpenPopups() const { return m_arrOpenPopups; }

    void AddToGlobalList()
    {
        if (this->m_hWnd)
            Hosts()[this->m_hWnd] = this;
    }
    void RemoveFromGlobalList()
    {
        auto& hosts = Hosts();
        for (auto it = hosts.begin(); it != hosts.end();)
            it = it->second == this ? hosts.erase(it) : std::next(it);
    }

    // Live hosts of this instantiation and its hooks (0 when not installed).
    static std::map<HWND, COXMenuBarHost*>& Hosts()
    {
        static std::map<HWND, COXMenuBarHost*> hosts;
        return hosts;
    }
    static HHOOK& MouseHook()
    {
        static HHOOK hook = nullptr;
        return hook;
    }
    static HHOOK& KeyboardHook()
    {
        static HHOOK hook = nullptr;
        return hook;
    }

    // The keyboard hook's question; TRUE when the bar took the key.
    virtual BOOL HandleKeyboardMsg(int nCode, WPARAM wParam, LPARAM lParam)
    {
        static BOOL s_bAltPressed = FALSE;
        if (nCode != HC_ACTION || !m_menuBar.m_hWnd || !this->IsWindowEnabled() || ::GetActiveWindow() != this->m_hWnd)
            return FALSE;
        const bool bUp = (lParam & (1u << 31)) != 0;
        const bool bRepeat = (lParam & (1 << 30)) != 0;
        if (!m_menuBar.IsInDisplayingMode()) {
            if (wParam == VK_MENU) {
                if (!bUp && !bRepeat) {
                    s_bAltPressed = TRUE;
                    return TRUE;
                }
                if (bUp && s_bAltPressed) {
                    s_bAltPressed = FALSE;
                    m_menuBar.HandleMenuKey(0);
                    return TRUE;
                }
                return FALSE;
            }
            // Alt as the keyboard had it when this key was struck (the context bit).
            const bool bAltHeld = (lParam & (1 << 29)) != 0;
            if (!bAltHeld && !m_menuBar.IsInSurfingMode())
                return FALSE;
            s_bAltPressed = FALSE;
            if (bUp || wParam == VK_F4 || (::GetKeyState(VK_F4) & 0x8000))
                return FALSE;
            return m_menuBar.HandleMenuKey(static_cast<UINT>(wParam));
        }
        if (bUp)
            return FALSE;
        const size_t nLevels = m_arrOpenPopups.size();
        if ((wParam == VK_LEFT && nLevels < 2) || (wParam == VK_RIGHT && !m_bPopupItemSelected) ||
            (wParam == VK_ESCAPE && nLevels == 1))
            return m_menuBar.HandleMenuKey(static_cast<UINT>(wParam));
        return FALSE;
    }

    // The mouse hook's question while a popup of the bar is open: a move onto another
    // button switches popups; TRUE when it did.
    virtual BOOL HandleMouseMsg(int nCode, WPARAM wParam, LPARAM lParam)
    {
        static CPoint s_ptLastMouse(-1, -1);
        const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (nCode != HC_ACTION || !info || !this->m_hWnd || !m_menuBar.m_hWnd ||
            m_menuBar.IsInAdvancedCustomizationMode() || !m_menuBar.IsInDisplayingMode())
            return FALSE;
        if (info->hwnd == m_menuBar.m_hWnd || (wParam != WM_MOUSEMOVE && wParam != WM_LBUTTONDOWN))
            return FALSE;
        CRect rectBar;
        m_menuBar.GetWindowRect(&rectBar);
        if (!rectBar.PtInRect(info->pt) || ::WindowFromPoint(info->pt) != m_menuBar.m_hWnd)
            return FALSE;
        CPoint point = info->pt;
        m_menuBar.ScreenToClient(&point);
        int nHit = m_menuBar.HitTest(point, OX_HTO_CLIENT);
        const int nCount = m_menuBar.GetMenuItemCount();
        if (nHit == OXMB_HIT_ICON)
            nHit = nCount;
        if (wParam == WM_MOUSEMOVE && point != s_ptLastMouse && nHit >= 0 && nHit != m_menuBar.GetDisplayedIndex()) {
            m_menuBar.SetNextIndex(nHit);
            // The click is in the bar's client coordinates, so it goes to the bar: the press
            // lies outside every popup and ends the open one's loop.
            const HWND hTarget = m_menuBar.m_hWnd;
            ::PostMessageW(hTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            ::PostMessageW(hTarget, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            return TRUE;
        }
        // Only a press on the open popup's own button closes it "by a click on it".
        if (wParam == WM_LBUTTONDOWN && nHit >= 0 && nHit == m_menuBar.GetDisplayedIndex())
            m_menuBar.SetClosedByClickIndex(nHit);
        s_ptLastMouse = point;
        return FALSE;
    }

    static LRESULT MenuKeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode < 0)
            return ::CallNextHookEx(KeyboardHook(), nCode, wParam, lParam);
        auto& hosts = Hosts();
        HWND hTarget = nullptr;
        if (const HWND hFocus = ::GetFocus())
            hTarget = TopLevelOf(hFocus);
        else if (hosts.size() == 1)
            hTarget = hosts.begin()->second ? hosts.begin()->first : ::GetDesktopWindow();
        const std::vector<std::pair<HWND, COXMenuBarHost*>> snapshot(hosts.begin(), hosts.end());
        for (const auto& [hWnd, pHost] : snapshot) {
            if (pHost && ::IsWindow(hWnd) && hWnd == hTarget && Hosts().count(hWnd) &&
                pHost->HandleKeyboardMsg(nCode, wParam, lParam))
                return 1;
        }
        return ::CallNextHookEx(KeyboardHook(), nCode, wParam, lParam);
    }

    static LRESULT MenuMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (!MouseHook())
            return 0;
        if (nCode < 0)
            return ::CallNextHookEx(MouseHook(), nCode, wParam, lParam);
        auto& hosts = Hosts();
        const DWORD pos = ::GetMessagePos();
        const POINT pt{static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
        const HWND hUnder = ::WindowFromPoint(pt);
        const HWND hTop = hUnder ? TopLevelOf(hUnder) : nullptr;
        if (!hTop || hosts.empty())
            return 0;
        const std::vector<std::pair<HWND, COXMenuBarHost*>> snapshot(hosts.begin(), hosts.end());
        for (const auto& [hWnd, pHost] : snapshot) {
            // The host does not eat the move: the message goes on, the next hook is not asked.
            if (pHost && ::IsWindow(hWnd) && hWnd == hTop && Hosts().count(hWnd) &&
                pHost->HandleMouseMsg(nCode, wParam, lParam))
                return 0;
        }
        return ::CallNextHookEx(MouseHook(), nCode, wParam, lParam);
    }

protected:
    static HWND TopLevelOf(HWND hWnd)
    {
        HWND hTop = hWnd;
        while (hTop && (::GetWindowLongW(hTop, GWL_STYLE) & WS_CHILD)) {
            const HWND hParent = ::GetParent(hTop);
            if (!hParent)
                break;
            hTop = hParent;
        }
        return hTop;
    }

    // Forgets hosts whose windows went without their WM_DESTROY; when none is left the
    // hooks (stale, or left by such hosts) go too.
    static void PruneHosts()
    {
        auto& hosts = Hosts();
        for (auto it = hosts.begin(); it != hosts.end();)
            it = ::IsWindow(it->first) ? std::next(it) : hosts.erase(it);
    }
    static void RemoveHooks()
    {
        if (MouseHook())
            ::UnhookWindowsHookEx(MouseHook());
        if (KeyboardHook())
            ::UnhookWindowsHookEx(KeyboardHook());
        MouseHook() = nullptr;
        KeyboardHook() = nullptr;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CREATE: {
            const LRESULT result = T::WindowProc(message, wParam, lParam);
            if (result == -1)
                return result;
            PruneHosts();
            if (Hosts().empty())
                RemoveHooks();
            AddToGlobalList();
            if (m_menuBar.m_hWnd)
                m_menuBar.DestroyWindow();
            const HMENU hMenu = ::GetMenu(this->m_hWnd);
            if (hMenu && ::IsMenu(hMenu)) {
                m_hOriginalMenu = hMenu;
                CWnd::SetMenu(nullptr);
            } else {
                m_hOriginalMenu = nullptr;
            }
            CWinThread* pThread = AfxGetThread();
            if (pThread && !pThread->m_pMainWnd && m_bIsFrameWnd && !m_bIsMDIFrameWnd &&
                !(this->GetStyle() & WS_CHILD))
                pThread->m_pMainWnd = this;
            if (OnCreateMenuBar(m_hOriginalMenu, this, OX_MENUBAR_HOST_STYLE, ID_OXMENUBAR)) {
                if (!MouseHook())
                    MouseHook() = ::SetWindowsHookEx(WH_MOUSE, &MenuMouseHookProc, nullptr, ::GetCurrentThreadId());
                if (!KeyboardHook())
                    KeyboardHook() =
                        ::SetWindowsHookEx(WH_KEYBOARD, &MenuKeyboardHookProc, nullptr, ::GetCurrentThreadId());
            }
            return result;
        }
        case WM_DESTROY:
            RemoveFromGlobalList();
            if (m_menuBar.m_hWnd) {
                m_menuBar.SetAdvancedCustomizationMode(FALSE, nullptr);
                m_menuBar.DestroyWindow();
            }
            PruneHosts();
            if (Hosts().empty())
                RemoveHooks();
            break;
        case WM_INITMENUPOPUP:
            m_bPopupItemSelected = FALSE;
            m_arrOpenPopups.push_back(reinterpret_cast<HMENU>(wParam));
            if (const int nShown = m_menuBar.m_hWnd ? m_menuBar.GetDisplayedIndex() : -1; nShown >= 0) {
                const bool bSystem = HIWORD(lParam) != 0;
                const bool bBarPopup = bSystem
                    ? nShown == m_menuBar.GetMenuItemCount()
                    : ::GetSubMenu(m_menuBar.GetHMenu(), nShown) == reinterpret_cast<HMENU>(wParam);
                if (bBarPopup && !bSystem)
                    lParam = MAKELPARAM(nShown, HIWORD(lParam));
                // A popup of the bar that a key opened starts with its first item selected:
                // the key is taken by the popup's loop, which runs by the time it arrives.
                if (bBarPopup && m_menuBar.TakeKeyboardOpen())
                    ::PostMessageW(this->m_hWnd, WM_KEYDOWN, VK_DOWN, 1);
            }
            break;
        case WM_MENUSELECT: {
            const UINT nFlags = HIWORD(wParam);
            m_bPopupItemSelected = (nFlags & MF_POPUP) && !(nFlags == 0xFFFF && lParam == 0);
            if (nFlags != 0xFFFF && (nFlags & MF_HILITE)) {
                const HMENU hMenu = reinterpret_cast<HMENU>(lParam);
                while (!m_arrOpenPopups.empty() && m_arrOpenPopups.back() != hMenu)
                    m_arrOpenPopups.pop_back();
            }
            break;
        }
        case WM_EXITMENULOOP:
            if (!wParam)
                m_arrOpenPopups.clear();
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && LOWORD(wParam) == 0xFF56 && m_menuBar.m_hWnd)
                m_menuBar.SetNextIndex(m_menuBar.GetDisplayedIndex());
            break;
        case WM_OX_RECENTLYUSEDCHANGED:
            MarkMenuAsChanged();
            break;
        case WM_SYSCOMMAND:
            // F10 and Alt with a character drive the bar while it exists; a space still
            // opens the system menu.
            if ((wParam & 0xFFF0) == SC_KEYMENU && m_menuBar.m_hWnd && m_menuBar.GetHMenu() && lParam != L' ') {
                if (lParam == 0)
                    m_menuBar.HandleMenuKey(0);
                else
                    m_menuBar.HandleMenuKey(static_cast<UINT>(std::towupper(static_cast<wint_t>(lParam))));
                return 0;
            }
            break;
        default:
            break;
        }
        return T::WindowProc(message, wParam, lParam);
    }

    BOOL m_bIsFrameWnd = FALSE;
    BOOL m_bIsMDIFrameWnd = FALSE;
    COXMenuBar m_menuBar;
    HMENU m_hOriginalMenu = nullptr;
    BOOL m_bPopupItemSelected = FALSE;
    std::vector<HMENU> m_arrOpenPopups;
};
