#pragma once
// The menu objects behind HMENU, shared by the menu files (and the popup-menu layer).
//
// Locking: one recursive mutex guards every menu's contents. It is a leaf with respect to
// the window system: code holding it never calls into windows (no SendMessage, no window
// lock), so the window system may call the menu-bar hooks while it holds its own lock.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/user/menu.h"

namespace zyn::user::detail {

struct MenuItemData {
    UINT type = MFT_STRING; // MFT_ bits only (never MF_POPUP)
    UINT state = 0;         // MFS_ bits
    UINT id = 0;
    HMENU sub = nullptr;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
    ULONG_PTR data = 0;
    std::optional<std::wstring> text; // string items; none: no text
    ULONG_PTR typeData = 0;           // MFT_BITMAP: the bitmap; MFT_OWNERDRAW: the caller's value
    HBITMAP bmpItem = nullptr;
    RECT rect{}; // the last menu-bar layout, relative to the bar's top-left corner
};

struct MenuData {
    bool popup = false;
    std::vector<MenuItemData> items;
    DWORD style = 0;
    UINT cyMax = 0;
    HBRUSH back = nullptr;
    DWORD helpId = 0;
    ULONG_PTR menuData = 0;
};

std::recursive_mutex& MenuMutex();
inline std::unique_lock<std::recursive_mutex> LockMenus() { return std::unique_lock(MenuMutex()); }

// The object of a live menu; null with ERROR_INVALID_MENU_HANDLE otherwise.
std::shared_ptr<MenuData> GetMenuData(HMENU menu);

// An item found by position in `menu`, or by command anywhere below it (depth first).
struct FoundItem {
    HMENU menu = nullptr;
    std::shared_ptr<MenuData> data;
    size_t index = 0;
    MenuItemData& Item() const { return data->items[index]; }
};
// Call with the menu lock held. Sets ERROR_INVALID_MENU_HANDLE or ERROR_MENU_ITEM_NOT_FOUND.
std::optional<FoundItem> FindItemLocked(HMENU menu, UINT item, bool byPosition);

// A snapshot of a menu's items (for layout without the lock); nullopt for a stale menu.
std::optional<std::vector<MenuItemData>> SnapshotItems(HMENU menu, DWORD* style = nullptr, HBRUSH* back = nullptr);

} // namespace zyn::user::detail
