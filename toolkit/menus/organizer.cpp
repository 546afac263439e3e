// The organizer's life, its place in front of the frame's and the MDI client's window
// procedures, and what it does with the frame's menu messages.
//
// Each subclassed window has its own record: the organizer that serves it and the
// procedure it had before. A record can outlive the organizer's interest: when an
// organizer lets go of a window that somebody subclassed after it, its procedure cannot
// be taken out of the chain (the later procedure calls it as its "previous" one), so the
// record stays as a pass-through to the window's old procedure until the window is gone.
// Every message, for every window and in every state, reaches the procedure the window
// had before; WM_NCDESTROY drops the record after it.
#include "toolkit/menus/organizer.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "platform/afx/afxpriv.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/mdiclient.h"
#include "platform/user/messages.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(COXBitmapMenuOrganizer, CObject)

namespace {

struct Subclassed {
    COXBitmapMenuOrganizer* owner = nullptr; // null: passing messages through
    WNDPROC previous = nullptr;
    bool frame = true;                       // the frame window, else its MDI client
};

// The UI thread's windows: used from that thread only, as the windows themselves. Never
// freed, so a window that goes while the process ends still finds its record.
std::unordered_map<HWND, Subclassed>& Records()
{
    static auto* const records = new std::unordered_map<HWND, Subclassed>;
    return *records;
}

WNDPROC ProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)); }

// Whether the organizer still serves the window (it may have let go, or gone, while the
// window's own procedure ran).
bool Serves(HWND hWnd, const COXBitmapMenuOrganizer* organizer)
{
    const auto it = Records().find(hWnd);
    return it != Records().end() && it->second.owner == organizer;
}

// The organizer of the application's main window, for the bitmap menus' painting.
COXMenuOrganizerAccess* FindMainOrganizer()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? COXBitmapMenuOrganizer::FindOrganizer(pMain->GetSafeHwnd()) : nullptr;
}

// Installs the finder unless somebody installed another one.
void InstallOrganizerFinder()
{
    const OXMenuOrganizerFinder previous = OXSetMenuOrganizerFinder(&FindMainOrganizer);
    if (previous && previous != &FindMainOrganizer)
        OXSetMenuOrganizerFinder(previous);
}

[[maybe_unused]] const bool g_finderInstalled = (InstallOrganizerFinder(), true);

// The window showing a popup menu: the topmost window when it is that popup's, else the
// popup-menu window that says it shows it.
HWND PopupMenuWindow(HMENU hPopup)
{
    auto shows = [hPopup](HWND h) {
        wchar_t cls[16] = {};
        return h && ::GetClassNameW(h, cls, 16) > 0 && std::wstring_view(cls) == kPopupMenuClassName &&
            reinterpret_cast<HMENU>(::SendMessageW(h, MN_GETHMENU, 0, 0)) == hPopup;
    };
    const HWND top = ::GetTopWindow(nullptr);
    if (shows(top))
        return top;
    for (HWND h = top; h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (shows(h))
            return h;
    return nullptr;
}

} // namespace

// ---- life ---------------------------------------------------------------------------------------------------

COXBitmapMenuOrganizer::COXBitmapMenuOrganizer()
{
    InstallOrganizerFinder();
    Init(0, 0, 0, 0);
}

COXBitmapMenuOrganizer::~COXBitmapMenuOrganizer()
{
    RemoveHooks();
    Empty(FALSE);
    DetachFrameWnd();
    for (auto it = m_createdMenus.rbegin(); it != m_createdMenus.rend(); ++it)
        if (::IsMenu(*it))
            ::DestroyMenu(*it);
}

void COXBitmapMenuOrganizer::AddCreatedMenu(HMENU hMenu)
{
    if (hMenu && std::find(m_createdMenus.begin(), m_createdMenus.end(), hMenu) == m_createdMenus.end())
        m_createdMenus.push_back(hMenu);
}

// ---- the frame ------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::AttachFrameWnd(CFrameWnd* pFrameWnd)
{
    if (!pFrameWnd || m_pFrameWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SubclassFrameWindow(pFrameWnd))
        return FALSE;
    m_pFrameWnd = pFrameWnd;
    InstallOrganizerFinder();
    return TRUE;
}

CFrameWnd* COXBitmapMenuOrganizer::DetachFrameWnd()
{
    CFrameWnd* pFrame = m_pFrameWnd;
    RemoveHooks();
    UnsubclassFrameWindow();
    m_pFrameWnd = nullptr;
    Empty(TRUE);
    return pFrame;
}

COXBitmapMenuOrganizer* COXBitmapMenuOrganizer::FindOrganizer(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    const auto it = Records().find(hWnd);
    return it != Records().end() && it->second.frame ? it->second.owner : nullptr;
}

void COXBitmapMenuOrganizer::Empty(BOOL bRestoreItems)
{
    // The menus first: their item records point at the image records freed below.
    RestoreAll(bRestoreItems);
    ClearImages();
}

void COXBitmapMenuOrganizer::SetCutomizationMode(BOOL bOn, HWND hWnd)
{
    const BOOL on = bOn ? TRUE : FALSE;
    if (on != m_bCustomizationMode) {
        m_bCustomizationMode = on;
        if (on && m_bShowOnlyRecentlyUsed && !m_bExpansionClicked)
            RestoreAll(TRUE);
    }
    m_hCustomizeWnd = hWnd;
}

// ---- subclassing --------------------------------------------------------------------------------------------------

namespace {

// Puts the organizer in front of a window's procedure, or takes over the pass-through
// record an earlier organizer left in the chain. False when another organizer serves it.
bool SubclassOne(HWND hWnd, COXBitmapMenuOrganizer* owner, bool frame, WNDPROC global)
{
    auto& records = Records();
    if (const auto it = records.find(hWnd); it != records.end()) {
        if (it->second.owner)
            return false;
        it->second.owner = owner;
        it->second.frame = frame;
        return true;
    }
    const WNDPROC previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(global)));
    if (!previous)
        return false;
    records[hWnd] = Subclassed{owner, previous, frame};
    return true;
}

void UnsubclassOne(HWND hWnd, const COXBitmapMenuOrganizer* owner, WNDPROC global)
{
    auto& records = Records();
    const auto it = records.find(hWnd);
    if (!hWnd || it == records.end() || it->second.owner != owner)
        return;
    if (!::IsWindow(hWnd)) {
        records.erase(it);
    } else if (ProcOf(hWnd) == global) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
        records.erase(it);
    } else {
        it->second.owner = nullptr; // somebody subclassed after us: stay as a pass-through
    }
}

} // namespace

BOOL COXBitmapMenuOrganizer::SubclassFrameWindow(CFrameWnd* pFrameWnd)
{
    const WNDPROC global = &COXBitmapMenuOrganizer::GlobalMenuOrganizerProc;
    const HWND hWnd = pFrameWnd ? pFrameWnd->GetSafeHwnd() : nullptr;
    if (m_hWnd)
        return m_hWnd == hWnd && Serves(hWnd, this) ? TRUE : FALSE;
    if (!hWnd || !::IsWindow(hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!SubclassOne(hWnd, this, true, global)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    m_hWnd = hWnd;
    // The MDI client hears about children going before their system menus go with them.
    if (auto* pMdi = DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrameWnd);
        pMdi && pMdi->m_hWndMDIClient && ::IsWindow(pMdi->m_hWndMDIClient) &&
        SubclassOne(pMdi->m_hWndMDIClient, this, false, global))
        m_hMdiClient = pMdi->m_hWndMDIClient;
    return TRUE;
}

void COXBitmapMenuOrganizer::UnsubclassFrameWindow()
{
    const WNDPROC global = &COXBitmapMenuOrganizer::GlobalMenuOrganizerProc;
    UnsubclassOne(m_hMdiClient, this, global);
    UnsubclassOne(m_hWnd, this, global);
    m_hMdiClient = nullptr;
    m_hWnd = nullptr;
}

LRESULT COXBitmapMenuOrganizer::GlobalMenuOrganizerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    AFX_MAINTAIN_STATE2 state(AfxGetAppModuleState());
    auto& records = Records();
    const auto it = records.find(hWnd);
    if (it == records.end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam); // never in a chain we did not record
    const Subclassed entry = it->second;
    if (message == WM_NCDESTROY) {
        // The window goes: the organizer lets go of it first (a frame deletes itself in
        // its own procedure), then the window's own procedure sees the message.
        if (entry.owner) {
            if (entry.frame)
                entry.owner->OnFrameGone();
            else
                entry.owner->OnMdiClientGone();
        }
        records.erase(hWnd);
        if (ProcOf(hWnd) == &COXBitmapMenuOrganizer::GlobalMenuOrganizerProc)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.previous));
        return ::CallWindowProcW(entry.previous, hWnd, message, wParam, lParam);
    }
    if (!entry.owner)
        return ::CallWindowProcW(entry.previous, hWnd, message, wParam, lParam);
    return entry.frame ? entry.owner->MenuOrganizerProc(entry.previous, hWnd, message, wParam, lParam)
                       : entry.owner->MdiClientProc(entry.previous, hWnd, message, wParam, lParam);
}

void COXBitmapMenuOrganizer::OnFrameGone()
{
    RemoveHooks();
    RestoreAll(TRUE);
    if (m_hMdiClient) {
        if (const auto it = Records().find(m_hMdiClient); it != Records().end() && it->second.owner == this)
            it->second.owner = nullptr;
    }
    m_hMdiClient = nullptr;
    m_hWnd = nullptr;
    m_pFrameWnd = nullptr;
    m_popupTrace.clear();
    m_popupWindows.clear();
    m_nActivePopupMenuCount = 0;
}

void COXBitmapMenuOrganizer::OnMdiClientGone()
{
    RestoreMdiSystemMenus(nullptr);
    m_hMdiClient = nullptr;
}

// ---- the frame's messages -------------------------------------------------------------------------------------------

LRESULT COXBitmapMenuOrganizer::MenuOrganizerProc(WNDPROC previous, HWND hWnd, UINT message, WPARAM wParam,
    LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        // The one message the organizer answers before the frame: the frame's own
        // handling sees only what the organizer does not measure.
        if (OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)))
            return TRUE;
        return ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    if (!::IsWindow(hWnd) || !Serves(hWnd, this))
        return result;
    switch (message) {
    case WM_MENUCHAR: {
        const LRESULT mine = OnMenuChar(towlower(static_cast<wchar_t>(LOWORD(wParam))), HIWORD(wParam),
            CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        return mine ? mine : result;
    }
    case WM_INITMENUPOPUP:
        HandleInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_UNINITMENUPOPUP:
        // An MDI child's system menu is converted only while it is shown from the bar.
        for (const ConvertedMenu& entry : m_converted)
            if (entry.hMdiChild && entry.menu->m_hMenu == reinterpret_cast<HMENU>(wParam)) {
                RestoreBitmapMenu(entry.menu.get(), TRUE);
                break;
            }
        break;
    case WM_MENUSELECT:
        HandleMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_COMMAND:
        // From a menu: notification 0 and no control (a button's click is notification 0 too).
        if (HIWORD(wParam) == 0 && lParam == 0) {
            HandleMdiCommand(LOWORD(wParam));
            OnMenuCommand(LOWORD(wParam));
        }
        break;
    case WM_ENTERMENULOOP:
        if (!wParam)
            m_bInMenuLoop = TRUE;
        break;
    case WM_EXITMENULOOP:
        HandleExitMenuLoop(static_cast<BOOL>(wParam));
        break;
    case WM_OX_SAVERUSUBMENUS:
    case WM_OX_LOADRUSUBMENUS:
        return OnSubmenuStateMessage(message, wParam, lParam);
    default:
        break;
    }
    return result;
}

LRESULT COXBitmapMenuOrganizer::MdiClientProc(WNDPROC previous, HWND hWnd, UINT message, WPARAM wParam,
    LPARAM lParam)
{
    // A child going takes its system menu with it: give the menu back first.
    if (message == WM_MDIDESTROY)
        RestoreMdiSystemMenus(reinterpret_cast<HWND>(wParam));
    return ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
}

HWND COXBitmapMenuOrganizer::MdiChildOfSystemMenu(HMENU hPopup) const
{
    const auto* pMdi = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrameWnd);
    if (!pMdi || !pMdi->m_hWndMDIClient || !::IsWindow(pMdi->m_hWndMDIClient))
        return nullptr;
    // Only a maximised child's system menu is in the frame's menu bar (and it exists
    // already, so asking for it makes no copy).
    BOOL maximised = FALSE;
    const HWND active = reinterpret_cast<HWND>(
        ::SendMessageW(pMdi->m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    if (!active || !maximised)
        return nullptr;
    return ::GetSystemMenu(active, FALSE) == hPopup ? active : nullptr;
}

void COXBitmapMenuOrganizer::HandleInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu)
{
    if (!hPopup || !::IsMenu(hPopup) || bSysMenu)
        return; // the frame's own system menu is never converted
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE;
    const bool systemStyle = ::GetMenuInfo(hPopup, &mi) && mi.dwStyle == MNS_CHECKORBMP;
    const HWND hChild = systemStyle ? MdiChildOfSystemMenu(hPopup) : nullptr;
    if (systemStyle && !hChild)
        return; // a system menu, neither converted nor traced
    // Popups their owners destroyed meanwhile (a context menu is made for one showing)
    // leave nothing behind.
    std::vector<COXBitmapMenu*> gone;
    for (const ConvertedMenu& entry : m_converted)
        if (!::IsMenu(entry.menu->m_hMenu))
            gone.push_back(entry.menu.get());
    for (COXBitmapMenu* menu : gone)
        RestoreBitmapMenu(menu, TRUE);

    UpdateActivePopupMenuCount();
    const size_t active = static_cast<size_t>(std::max(m_nActivePopupMenuCount, 0));
    while (m_popupTrace.size() > active) {
        const HMENU dropped = m_popupTrace.back().hPopup;
        const bool handsOver = m_popupTrace.size() - 1 == active;
        HWND window = nullptr;
        if (const auto w = m_popupWindows.find(dropped); w != m_popupWindows.end())
            window = w->second;
        m_popupWindows.erase(dropped);
        if (handsOver && window)
            m_popupWindows[hPopup] = window;
        m_popupTrace.pop_back();
    }
    m_nActivePopupMenuCount = static_cast<int>(m_popupTrace.size()) + 1;
    // An MDI child's system menu is a system menu to the command update: the window
    // system enables its items.
    OnInitMenuPopup(CMenu::FromHandle(hPopup), nIndex, hChild ? TRUE : FALSE);
    m_popupTrace.push_back(OXPOPUPTRACEENTRY{hPopup, 0, 0});
}

void COXBitmapMenuOrganizer::HandleMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    if (nFlags == 0xFFFF && !hMenu) { // the menu closed
        m_hSelectedMenu = nullptr;
        m_nSelectedID = 0;
        return;
    }
    m_hSelectedMenu = hMenu;
    m_nSelectedID = (nFlags & MF_POPUP) ? static_cast<UINT>(-1) : nItemID;
    if (m_popupTrace.empty() || m_popupTrace.back().hPopup != hMenu)
        return;
    if (const HWND window = PopupMenuWindow(hMenu)) {
        RECT r{};
        ::GetWindowRect(window, &r);
        m_popupTrace.back().x = r.left;
        m_popupTrace.back().y = r.top;
        m_popupWindows[hMenu] = window;
    }
    if (m_bShowOnlyRecentlyUsed)
        InstallHooks();
}

void COXBitmapMenuOrganizer::HandleExitMenuLoop(BOOL /*bTrackPopup*/)
{
    // Whatever kind of loop ended, nothing of it is open any more, and the expansion
    // lasts one loop.
    if (m_bExpansionClicked) {
        m_bExpansionClicked = FALSE;
        if (m_bShowOnlyRecentlyUsed)
            RestoreAll(TRUE);
    }
    m_bInMenuLoop = FALSE;
    m_nActivePopupMenuCount = 0;
    m_hSelectedMenu = nullptr;
    m_nSelectedID = 0;
    RemoveHooks();
    RestoreMdiSystemMenus(nullptr);
}

void COXBitmapMenuOrganizer::HandleMdiCommand(UINT nID)
{
    if (nID < ID_OXMDI_RESTORE || nID > ID_OXMDI_CLOSE || !m_pFrameWnd)
        return;
    // A frame whose command routing answers these commands (a menu-bar host) has carried
    // it out already; for any other frame the organizer does, as it made the commands.
    CCmdUI probe;
    probe.m_nID = nID;
    if (m_pFrameWnd->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr))
        return;
    COXBitmapMenu::HandleMDICommandMessage(nID, CN_COMMAND, nullptr, nullptr);
}

void COXBitmapMenuOrganizer::UpdateActivePopupMenuCount()
{
    if (m_popupTrace.empty()) {
        m_nActivePopupMenuCount = 0;
        return;
    }
    int open = 0;
    for (const OXPOPUPTRACEENTRY& entry : m_popupTrace) {
        const auto w = m_popupWindows.find(entry.hPopup);
        if (w == m_popupWindows.end() || !::IsWindow(w->second) || !::IsWindowVisible(w->second))
            break;
        ++open;
    }
    if (open < m_nActivePopupMenuCount)
        m_nActivePopupMenuCount = open;
}

HWND COXBitmapMenuOrganizer::GetPopupWindow(HMENU hPopup) const
{
    const auto it = m_popupWindows.find(hPopup);
    return it == m_popupWindows.end() ? nullptr : it->second;
}

// ---- restoring ------------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::RestoreAll(BOOL bRestoreItems)
{
    while (!m_converted.empty())
        RestoreBitmapMenu(m_converted.back().menu.get(), bRestoreItems);
}

void COXBitmapMenuOrganizer::RestoreMdiSystemMenus(HWND hChild)
{
    std::vector<COXBitmapMenu*> menus;
    for (const ConvertedMenu& entry : m_converted)
        if (entry.hMdiChild && (!hChild || entry.hMdiChild == hChild))
            menus.push_back(entry.menu.get());
    for (COXBitmapMenu* menu : menus)
        RestoreBitmapMenu(menu, TRUE);
}

COXBitmapMenuOrganizer::ConvertedMenu* COXBitmapMenuOrganizer::FindEntry(const COXBitmapMenu* pBitmapMenu)
{
    for (ConvertedMenu& entry : m_converted)
        if (entry.menu.get() == pBitmapMenu)
            return &entry;
    return nullptr;
}

void COXBitmapMenuOrganizer::ReconvertMenu(COXBitmapMenu* menu)
{
    if (menu)
        ConvertBitmapMenu(menu, FALSE);
}

COXBitmapMenu* COXBitmapMenuOrganizer::WrapMenu(HMENU hMenu)
{
    if (!hMenu || !::IsMenu(hMenu))
        return nullptr;
    if (COXBitmapMenu* wrapped = FindConvertedMenu(hMenu))
        return wrapped;
    // The same wrapping and conversion a popup gets when it is about to be shown.
    OnInitMenuPopup(CMenu::FromHandle(hMenu), 0, FALSE);
    return FindConvertedMenu(hMenu);
}

void COXBitmapMenuOrganizer::KeepCreatedMenu(HMENU hMenu)
{
    AddCreatedMenu(hMenu);
}

BOOL COXBitmapMenuOrganizer::SetRecentlyUsed(CMenu* menu, int nPos, BOOL bRecentlyUsed)
{
    if (!menu)
        return FALSE;
    if ((IsRecentlyUsed(menu, nPos) != FALSE) == (bRecentlyUsed != FALSE))
        return TRUE;
    return bRecentlyUsed ? AddToRecentlyUsed(menu, nPos) : ExcludeFromRecentlyUsed(menu, nPos);
}

COXBitmapMenu* COXBitmapMenuOrganizer::FindConvertedMenu(HMENU hMenu) const
{
    if (!hMenu)
        return nullptr;
    for (const ConvertedMenu& entry : m_converted)
        if (entry.menu->m_hMenu == hMenu)
            return entry.menu.get();
    return nullptr;
}

BOOL COXBitmapMenuOrganizer::AddConvertedMenu(COXBitmapMenu* pBitmapMenu)
{
    if (!pBitmapMenu || !pBitmapMenu->m_hMenu || !::IsMenu(pBitmapMenu->m_hMenu) || FindEntry(pBitmapMenu) ||
        FindConvertedMenu(pBitmapMenu->m_hMenu)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ConvertedMenu entry;
    entry.menu.reset(pBitmapMenu);
    m_converted.push_back(std::move(entry));
    return TRUE;
}

const COXArrSavedMenuItem& COXBitmapMenuOrganizer::GetSavedItems(const COXBitmapMenu* pBitmapMenu) const
{
    static const COXArrSavedMenuItem none;
    const auto it = m_savedItems.find(pBitmapMenu);
    return it == m_savedItems.end() ? none : it->second;
}
