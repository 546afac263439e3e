// Fuzz target: dropped menu-item records. Any bytes are either refused (nothing handed
// out) or read as a run that stays inside the data and the limits; what was read writes
// back to records of the same length that read as the same items, and goes into a menu
// whole, item by item and submenu by submenu.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/user/menu.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_drop_data.h"

namespace {

[[noreturn]] void Fail() { std::abort(); }

int Depth(const OXDroppedMenuItems& items)
{
    int deepest = 0;
    for (const OXDROPPEDMENUITEM& item : items)
        deepest = std::max(deepest, Depth(item.children));
    return items.empty() ? 0 : deepest + 1;
}

bool Same(const OXDroppedMenuItems& a, const OXDroppedMenuItems& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].nID != b[i].nID || a[i].sText != b[i].sText || a[i].nValueA != b[i].nValueA ||
            a[i].nValueB != b[i].nValueB || !Same(a[i].children, b[i].children))
            return false;
    }
    return true;
}

// The menu holds the items in order: commands with their IDs and texts (a command
// without text may have been given its string resource), separators, submenus.
void CheckMenu(HMENU menu, const OXDroppedMenuItems& items)
{
    if (::GetMenuItemCount(menu) != static_cast<int>(items.size()))
        Fail();
    for (size_t i = 0; i < items.size(); ++i) {
        const OXDROPPEDMENUITEM& item = items[i];
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii))
            Fail();
        if (item.IsPopup()) {
            if (!mii.hSubMenu)
                Fail();
            CheckMenu(mii.hSubMenu, item.children);
        } else if (item.IsSeparator()) {
            if (!(mii.fType & MFT_SEPARATOR))
                Fail();
        } else if (mii.hSubMenu || mii.wID != item.nID) {
            Fail();
        }
        if (!item.IsSeparator() && !item.sText.empty()) {
            std::wstring text(item.sText.size() + 2, L'\0');
            const int n = ::GetMenuStringW(menu, static_cast<UINT>(i), text.data(), static_cast<int>(text.size()),
                MF_BYPOSITION);
            if (n < 0 || text.substr(0, static_cast<size_t>(n)) != item.sText)
                Fail();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OXDroppedMenuItems items;
    const OXDropDataResult read = OXParseDroppedMenuItems(std::span<const uint8_t>(data, size), items);
    if (!read.ok()) {
        if (!items.empty() || read.offset > size)
            Fail();
        return 0;
    }
    if (read.consumed == 0 || read.consumed > size || items.empty() || Depth(items) > OX_DROPDATA_MAX_DEPTH ||
        OXCountDroppedMenuItems(items) > OX_DROPDATA_MAX_ITEMS)
        Fail();

    // Written again: the same length (only a command's end mark 2 becomes 0) and the same items.
    std::vector<uint8_t> again;
    if (!OXWriteDroppedMenuItems(items, again).ok() || again.size() != read.consumed)
        Fail();
    OXDroppedMenuItems reread;
    const OXDropDataResult second = OXParseDroppedMenuItems(again, reread);
    if (!second.ok() || second.consumed != again.size() || !Same(items, reread))
        Fail();

    const HMENU menu = ::CreatePopupMenu();
    if (!menu)
        Fail();
    if (!COXBitmapMenu::InsertDroppedItems(items, menu, 0))
        Fail();
    CheckMenu(menu, items);
    ::DestroyMenu(menu);
    return 0;
}
