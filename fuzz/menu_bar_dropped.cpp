// Fuzz target: menu items dropped on the menu bar. Any bytes either insert nothing (the
// menu stays empty, the read position unmoved) or insert the whole run at once, submenus
// included, moving the read position past it and never past the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/user/menu.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/menu_drop_data.h"

namespace {

[[noreturn]] void Fail() { std::abort(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static COXMenuBar* bar = new COXMenuBar;   // no window: only its created popups are kept
    const HMENU menu = ::CreatePopupMenu();
    if (!menu)
        Fail();
    const BYTE* p = data;
    const BOOL taken = bar->RetrieveDragDropMenuItem(p, data + size, menu, 0);
    OXDroppedMenuItems items;
    const OXDropDataResult parsed = OXParseDroppedMenuItems(std::span<const uint8_t>(data, size), items);
    if (!taken) {
        if (p != data || ::GetMenuItemCount(menu) != 0 || parsed.ok())
            Fail();
    } else {
        if (!parsed.ok() || p != data + parsed.consumed || p > data + size ||
            ::GetMenuItemCount(menu) != static_cast<int>(items.size()))
            Fail();
    }
    ::DestroyMenu(menu);
    return 0;
}
