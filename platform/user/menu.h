#pragma once
// Menus: HMENU objects and their items (the MENUITEMINFO fields), menu information, the
// window's system menu, loading from MENU and MENUEX templates, and the non-client menu
// bar's layout and drawing. Popup menus are tracked by the popup-menu layer
// (platform/user/popup_menu.h), which reads these objects.
//
// Items are found by position (MF_BYPOSITION) or by command (MF_BYCOMMAND): a command is
// searched depth first, a submenu's items before the popup item that opens it. A stale or
// foreign HMENU fails cleanly with ERROR_INVALID_MENU_HANDLE; an item that is not there
// with ERROR_MENU_ITEM_NOT_FOUND. A menu can never become its own submenu, directly or
// through others (ERROR_INVALID_PARAMETER).
//
// Thread safety: menus may be used from any thread; SetMenu, GetMenu and DrawMenuBar are
// the window system's (platform/user/window.h), which calls into this layer through its
// menu-bar hooks.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/wintypes.h"

// ---- flags of AppendMenu, InsertMenu, ModifyMenu, GetMenuState... ----------------------------------
inline constexpr UINT MF_INSERT = 0x00000000, MF_CHANGE = 0x00000080, MF_APPEND = 0x00000100,
                      MF_DELETE = 0x00000200, MF_REMOVE = 0x00001000, MF_BYCOMMAND = 0x00000000,
                      MF_BYPOSITION = 0x00000400, MF_SEPARATOR = 0x00000800, MF_ENABLED = 0x00000000,
                      MF_GRAYED = 0x00000001, MF_DISABLED = 0x00000002, MF_UNCHECKED = 0x00000000,
                      MF_CHECKED = 0x00000008, MF_USECHECKBITMAPS = 0x00000200, MF_STRING = 0x00000000,
                      MF_BITMAP = 0x00000004, MF_OWNERDRAW = 0x00000100, MF_POPUP = 0x00000010,
                      MF_MENUBARBREAK = 0x00000020, MF_MENUBREAK = 0x00000040, MF_UNHILITE = 0x00000000,
                      MF_HILITE = 0x00000080, MF_DEFAULT = 0x00001000, MF_SYSMENU = 0x00002000,
                      MF_HELP = 0x00004000, MF_RIGHTJUSTIFY = 0x00004000, MF_MOUSESELECT = 0x00008000,
                      MF_END = 0x00000080;

inline constexpr UINT MFT_STRING = MF_STRING, MFT_BITMAP = MF_BITMAP, MFT_MENUBARBREAK = MF_MENUBARBREAK,
                      MFT_MENUBREAK = MF_MENUBREAK, MFT_OWNERDRAW = MF_OWNERDRAW, MFT_RADIOCHECK = 0x00000200,
                      MFT_SEPARATOR = MF_SEPARATOR, MFT_RIGHTORDER = 0x00002000, MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

inline constexpr UINT MFS_GRAYED = 0x00000003, MFS_DISABLED = MFS_GRAYED, MFS_CHECKED = MF_CHECKED,
                      MFS_HILITE = MF_HILITE, MFS_ENABLED = MF_ENABLED, MFS_UNCHECKED = MF_UNCHECKED,
                      MFS_UNHILITE = MF_UNHILITE, MFS_DEFAULT = MF_DEFAULT;

inline constexpr UINT MIIM_STATE = 0x00000001, MIIM_ID = 0x00000002, MIIM_SUBMENU = 0x00000004,
                      MIIM_CHECKMARKS = 0x00000008, MIIM_TYPE = 0x00000010, MIIM_DATA = 0x00000020,
                      MIIM_STRING = 0x00000040, MIIM_BITMAP = 0x00000080, MIIM_FTYPE = 0x00000100;

inline constexpr DWORD MIM_MAXHEIGHT = 0x00000001, MIM_BACKGROUND = 0x00000002, MIM_HELPID = 0x00000004,
                       MIM_MENUDATA = 0x00000008, MIM_STYLE = 0x00000010, MIM_APPLYTOSUBMENUS = 0x80000000;

inline constexpr DWORD MNS_NOCHECK = 0x80000000, MNS_MODELESS = 0x40000000, MNS_DRAGDROP = 0x20000000,
                       MNS_AUTODISMISS = 0x10000000, MNS_NOTIFYBYPOS = 0x08000000, MNS_CHECKORBMP = 0x04000000;

inline constexpr UINT GMDI_USEDISABLED = 0x0001, GMDI_GOINTOPOPUPS = 0x0002;

// Bitmaps the system draws for an item (hbmpItem, or the bitmap of an MF_BITMAP item).
inline const HBITMAP HBMMENU_CALLBACK = reinterpret_cast<HBITMAP>(static_cast<intptr_t>(-1));
inline const HBITMAP HBMMENU_SYSTEM = reinterpret_cast<HBITMAP>(1);
inline const HBITMAP HBMMENU_MBAR_RESTORE = reinterpret_cast<HBITMAP>(2);
inline const HBITMAP HBMMENU_MBAR_MINIMIZE = reinterpret_cast<HBITMAP>(3);
inline const HBITMAP HBMMENU_MBAR_CLOSE = reinterpret_cast<HBITMAP>(5);
inline const HBITMAP HBMMENU_MBAR_CLOSE_D = reinterpret_cast<HBITMAP>(6);
inline const HBITMAP HBMMENU_MBAR_MINIMIZE_D = reinterpret_cast<HBITMAP>(7);
inline const HBITMAP HBMMENU_POPUP_CLOSE = reinterpret_cast<HBITMAP>(8);
inline const HBITMAP HBMMENU_POPUP_RESTORE = reinterpret_cast<HBITMAP>(9);
inline const HBITMAP HBMMENU_POPUP_MAXIMIZE = reinterpret_cast<HBITMAP>(10);
inline const HBITMAP HBMMENU_POPUP_MINIMIZE = reinterpret_cast<HBITMAP>(11);

struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPMENUITEMINFO = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;
using LPCMENUITEMINFO = const MENUITEMINFOW*;

struct MENUINFO {
    DWORD cbSize;
    DWORD fMask;
    DWORD dwStyle;
    UINT cyMax;
    HBRUSH hbrBack;
    DWORD dwContextHelpID;
    ULONG_PTR dwMenuData;
};
using LPMENUINFO = MENUINFO*;
using LPCMENUINFO = const MENUINFO*;

// Menu templates as LoadMenuIndirect takes them.
struct MENUITEMTEMPLATEHEADER {
    WORD versionNumber;
    WORD offset;
};
using MENUTEMPLATEW = void;
using MENUTEMPLATE = void;
using LPCMENUTEMPLATEW = const void*;

// ---- menus and items -----------------------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, recursively, the submenus its items open.
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);

// uFlags: the item's type (MF_STRING, MF_BITMAP, MF_OWNERDRAW, MF_SEPARATOR, MF_POPUP with
// uIDNewItem the submenu), state (MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE,
// MF_DEFAULT) and breaks (MF_MENUBREAK, MF_MENUBARBREAK, MF_RIGHTJUSTIFY). lpNewItem is the
// text of a string item (null makes a separator), the HBITMAP of a bitmap item, or the
// value of an owner-drawn item (its item data).
BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
inline BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    return AppendMenuW(hMenu, uFlags, uIDNewItem, lpNewItem);
}
// Inserts before the item at uPosition (MF_BYPOSITION; (UINT)-1 or beyond the end appends)
// or before the item with that command (MF_BYCOMMAND, in whichever submenu it is).
BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
inline BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    return InsertMenuW(hMenu, uPosition, uFlags, uIDNewItem, lpNewItem);
}
BOOL InsertMenuItemW(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi);
inline BOOL InsertMenuItem(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi)
{
    return InsertMenuItemW(hMenu, item, fByPosition, lpmi);
}
// Replaces an item; a submenu it opened and no longer opens is destroyed.
BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
inline BOOL ModifyMenu(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    return ModifyMenuW(hMnu, uPosition, uFlags, uIDNewItem, lpNewItem);
}
// DeleteMenu destroys the submenu of the item; RemoveMenu keeps it for the caller.
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);

// cbSize: sizeof(MENUITEMINFOW), or the older size without hbmpItem. Text (MIIM_STRING, or
// MIIM_TYPE of a string item): with dwTypeData null or cch 0, cch receives the length;
// otherwise at most cch - 1 characters are copied and terminated, and cch receives the
// number copied. MIIM_TYPE cannot be combined with MIIM_STRING, MIIM_FTYPE or MIIM_BITMAP.
BOOL GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii);
inline BOOL GetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii)
{
    return GetMenuItemInfoW(hmenu, item, fByPosition, lpmii);
}
BOOL SetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii);
inline BOOL SetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii)
{
    return SetMenuItemInfoW(hmenu, item, fByPositon, lpmii);
}

// -1 for a menu that is not valid.
int GetMenuItemCount(HMENU hMenu);
// (UINT)-1 for an item that opens a submenu, or is not there.
UINT GetMenuItemID(HMENU hMenu, int nPos);
// The MF_ flags of an item; for an item opening a submenu, MF_POPUP and the flags in the
// low byte with the submenu's item count in the high byte. (UINT)-1 when not there.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// lpString null or cchMax 0: the text's length. Otherwise at most cchMax - 1 characters
// copied and terminated; the number copied. 0 for items without text or not there.
int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags);
inline int GetMenuString(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags)
{
    return GetMenuStringW(hMenu, uIDItem, lpString, cchMax, flags);
}
// The previous MF_CHECKED state, or (DWORD)-1 when the item is not there.
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Checks one item of a range as a radio item (MFT_RADIOCHECK) and unchecks the others;
// the range and the item are positions or commands of one menu.
BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags);
// The previous MF_GRAYED/MF_DISABLED state, or -1 when the item is not there.
BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
BOOL HiliteMenuItem(HWND hWnd, HMENU hMenu, UINT uIDHiliteItem, UINT uHilite);
HMENU GetSubMenu(HMENU hMenu, int nPos);
BOOL SetMenuItemBitmaps(HMENU hMenu, UINT uPosition, UINT uFlags, HBITMAP hBitmapUnchecked, HBITMAP hBitmapChecked);
LONG GetMenuCheckMarkDimensions();

// cbSize must be sizeof(MENUINFO).
BOOL GetMenuInfo(HMENU hMenu, LPMENUINFO lpcmi);
BOOL SetMenuInfo(HMENU hMenu, LPCMENUINFO lpcmi);
BOOL SetMenuContextHelpId(HMENU hMenu, DWORD dwContextHelpId);
DWORD GetMenuContextHelpId(HMENU hMenu);
// The command (or position) of the item with MFS_DEFAULT; (UINT)-1 when none (or when it
// is disabled and GMDI_USEDISABLED is not given).
UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags);
// uItem (UINT)-1 clears the default item.
BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos);

// The window's own copy of the system menu (restore, move, size, minimise, maximise,
// close; MNS_CHECKORBMP with the HBMMENU_POPUP_* bitmaps), made on first use and freed
// with the window. bRevert destroys the copy and returns null.
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert);

// An item (by position) of the window's menu bar or of a popup showing hMenu now (hWnd
// its owner, its "#32768" window or null), in screen coordinates.
BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem);
// The position of the item of the bar or shown popup under a screen point, -1 when none.
int MenuItemFromPoint(HWND hWnd, HMENU hMenu, POINT ptScreen);

// ---- loading ------------------------------------------------------------------------------------------
// From the module's RT_MENU resource, in the MENU or MENUEX form; malformed data fails with
// ERROR_INVALID_DATA and builds nothing.
HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName);
inline HMENU LoadMenu(HINSTANCE hInstance, LPCWSTR lpMenuName) { return LoadMenuW(hInstance, lpMenuName); }
// From a template in memory. Its size is not known, so it must be well formed (as for the
// Windows function); LoadMenuW checks resources against their size.
HMENU LoadMenuIndirectW(const MENUTEMPLATEW* lpMenuTemplate);
inline HMENU LoadMenuIndirect(const MENUTEMPLATEW* lpMenuTemplate) { return LoadMenuIndirectW(lpMenuTemplate); }

namespace zyn::user {

// A menu built from template bytes (MENU or MENUEX form); null with ERROR_INVALID_DATA
// when the bytes are malformed or end early.
HMENU LoadMenuFromTemplate(std::span<const uint8_t> bytes);

// ---- the menu bar (the window system's non-client painting calls these) --------------------------
// Height of the bar laid out across `width` pixels: rows of SM_CYMENU (taller items make a
// row taller); items wrap to a new row when they do not fit and at MFT_MENUBREAK. Owner-
// drawn items are measured with WM_MEASUREITEM sent to `owner` (on the owner's thread).
int MenuBarHeight(HMENU menu, int width, HWND owner = nullptr);
// Paints the bar into `bar` of a DC: COLOR_MENU (or the menu's background brush), item texts
// with their mnemonics, grayed items in COLOR_GRAYTEXT, MFT_RIGHTJUSTIFY items at the right
// end of their row, highlighted items pushed in, system bitmaps and owner-drawn items
// (WM_DRAWITEM to `owner`).
void DrawMenuBarInto(HDC hdc, const RECT& bar, HMENU menu, HWND owner);
// The position of the item under `pt` (same coordinates as `bar`), -1 when none.
int MenuBarItemFromPoint(HMENU menu, const RECT& bar, POINT pt, HWND owner = nullptr);
// The rectangle of item `pos` in a bar at `bar`; false when there is no such item.
bool MenuBarItemRect(HMENU menu, const RECT& bar, int pos, RECT& out, HWND owner = nullptr);
// Paints the window's menu bar now (a highlight changed): no frame is recalculated and no
// message is sent but WM_DRAWITEM for owner-drawn items.
void RepaintMenuBar(HWND hwnd);

// Grays and enables the system-menu items for the window's styles and state (restore only
// when minimised or maximised, maximise and minimise by their boxes and state, size with a
// sizing frame). Called when the copy is made; the popup-menu layer calls it before showing
// the menu.
void UpdateSystemMenuItems(HWND hwnd, HMENU sysMenu);

// Live menus, for leak checks in tests.
size_t LiveMenuCount();

} // namespace zyn::user
