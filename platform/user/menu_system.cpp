// The window's system menu: a per-window copy of the standard one.
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"

namespace zyn::user {
namespace {

// Serialises the making and reverting of copies, so two threads asking for the same
// window's menu get one copy. Taken before the window system's lock, never inside it.
std::mutex& SystemMenuMutex()
{
    static auto* const mutex = new std::mutex();
    return *mutex;
}

struct StandardItem {
    UINT id;
    const wchar_t* text; // null: a separator
    HBITMAP bitmap;
};

HMENU BuildStandardSystemMenu()
{
    const StandardItem items[] = {
        {static_cast<UINT>(SC_RESTORE), L"&Restore", HBMMENU_POPUP_RESTORE},
        {static_cast<UINT>(SC_MOVE), L"&Move", nullptr},
        {static_cast<UINT>(SC_SIZE), L"&Size", nullptr},
        {static_cast<UINT>(SC_MINIMIZE), L"Mi&nimize", HBMMENU_POPUP_MINIMIZE},
        {static_cast<UINT>(SC_MAXIMIZE), L"Ma&ximize", HBMMENU_POPUP_MAXIMIZE},
        {0, nullptr, nullptr},
        {static_cast<UINT>(SC_CLOSE), L"&Close\tAlt+F4", HBMMENU_POPUP_CLOSE},
    };
    const HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const StandardItem& s : items) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        if (!s.text) {
            mii.fMask = MIIM_FTYPE;
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_STATE;
            mii.wID = s.id;
            mii.dwTypeData = const_cast<LPWSTR>(s.text);
            mii.hbmpItem = s.bitmap;
            mii.fState = s.id == SC_CLOSE ? MFS_DEFAULT : 0;
        }
        if (!InsertMenuItemW(menu, static_cast<UINT>(-1), TRUE, &mii)) {
            DestroyMenu(menu);
            return nullptr;
        }
    }
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE;
    mi.dwStyle = MNS_CHECKORBMP;
    SetMenuInfo(menu, &mi);
    return menu;
}

void Enable(HMENU menu, WPARAM command, bool enabled)
{
    EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace

void UpdateSystemMenuItems(HWND hwnd, HMENU sysMenu)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const bool zoomed = (style & WS_MAXIMIZE) != 0, iconic = (style & WS_MINIMIZE) != 0;
    Enable(sysMenu, SC_RESTORE, zoomed || iconic);
    Enable(sysMenu, SC_MOVE, !zoomed);
    Enable(sysMenu, SC_SIZE, (style & WS_THICKFRAME) && !zoomed && !iconic);
    Enable(sysMenu, SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    Enable(sysMenu, SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
    Enable(sysMenu, SC_CLOSE, !(GetClassLongW(hwnd, GCL_STYLE) & CS_NOCLOSE));
}

} // namespace zyn::user

HMENU GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::lock_guard lock(zyn::user::SystemMenuMutex());
    const HMENU current = zyn::user::GetSystemMenuSlot(hWnd);
    if (bRevert) {
        if (current) {
            zyn::user::SetSystemMenuSlot(hWnd, nullptr);
            DestroyMenu(current);
        }
        return nullptr;
    }
    if (current && IsMenu(current))
        return current;
    const HMENU menu = zyn::user::BuildStandardSystemMenu();
    if (!menu)
        return nullptr;
    if (!zyn::user::SetSystemMenuSlot(hWnd, menu)) {
        DestroyMenu(menu);
        return nullptr;
    }
    zyn::user::UpdateSystemMenuItems(hWnd, menu);
    return menu;
}
