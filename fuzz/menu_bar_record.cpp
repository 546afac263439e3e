// Fuzz target: the menu bar's saved menu record. Any bytes are refused whole (nothing
// handed out) or read as a tree inside the limits that writes back to a record reading as
// the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "toolkit/menus/menu_bar_record.h"

namespace {

[[noreturn]] void Fail() { std::abort(); }

size_t Count(const OXMenuRecord& menu, int depth, int& deepest)
{
    deepest = std::max(deepest, depth);
    size_t n = menu.size();
    for (const OXMENURECORDITEM& item : menu) {
        if (!item.bHasSubmenu && !item.children.empty())
            Fail();
        n += Count(item.children, depth + 1, deepest);
    }
    return n;
}

bool Same(const OXMenuRecord& a, const OXMenuRecord& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].nType != b[i].nType || a[i].bHasSubmenu != b[i].bHasSubmenu || a[i].sText != b[i].sText ||
            (!a[i].bHasSubmenu && a[i].nID != b[i].nID) || !Same(a[i].children, b[i].children))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OXMenuRecord menu;
    const OXMenuRecordResult read = OXParseMenuRecord(std::span<const uint8_t>(data, size), menu);
    if (!read.ok()) {
        if (!menu.empty() || read.offset > size)
            Fail();
        return 0;
    }
    int deepest = 0;
    if (Count(menu, 1, deepest) > OX_MENURECORD_MAX_ITEMS || deepest > OX_MENURECORD_MAX_DEPTH + 1)
        Fail();
    std::vector<uint8_t> again;
    OXWriteMenuRecord(menu, again);
    if (again.size() > size)
        Fail();   // the shortest forms never take more room than what was read
    OXMenuRecord reread;
    if (!OXParseMenuRecord(again, reread).ok() || !Same(menu, reread))
        Fail();
    return 0;
}
