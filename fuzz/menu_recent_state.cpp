// Fuzz target: the saved state of the recently used menu items, as the profile hands it
// back. The same bytes go to both blob readers and to the organizer's loaders. A blob
// that decodes must be the one and only encoding of what it decoded to; a blob a loader
// refuses must leave the organizer's sets exactly as they were; a blob it takes must give
// exactly the commands it lists (0 left out) and only submenus that lie under the root.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <vector>

#include "platform/base/archive.h"
#include "platform/base/memfile.h"
#include "platform/user/menu.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/menus/recent_state.h"

namespace {

class Loader : public COXBitmapMenuOrganizer {
public:
    using COXBitmapMenuOrganizer::LoadRUCommandsContents;
    using COXBitmapMenuOrganizer::LoadRUSubmenusContents;
};

// root -> 0 "a" (-> 0 "b" -> 0 "c"), 1 an item, 2 "d" (empty); made once.
struct Tree {
    HMENU root, a, b, c, d;
    Tree()
    {
        root = ::CreatePopupMenu();
        a = ::CreatePopupMenu();
        b = ::CreatePopupMenu();
        c = ::CreatePopupMenu();
        d = ::CreatePopupMenu();
        ::AppendMenuW(b, MF_POPUP, reinterpret_cast<UINT_PTR>(c), L"c");
        ::AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(b), L"b");
        ::AppendMenuW(root, MF_POPUP, reinterpret_cast<UINT_PTR>(a), L"a");
        ::AppendMenuW(root, MF_STRING, 5, L"item");
        ::AppendMenuW(root, MF_POPUP, reinterpret_cast<UINT_PTR>(d), L"d");
    }
};

template <class F>
BOOL LoadFrom(const uint8_t* data, size_t size, F load)
{
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.empty() ? nullptr : copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    return load(ar);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    if (const auto ids = zyn::menus::DecodeRecentCommands(bytes)) {
        const auto again = zyn::menus::EncodeRecentCommands(*ids);
        if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()))
            std::abort();
    }
    if (const auto paths = zyn::menus::DecodeRecentSubmenus(bytes)) {
        const auto again = zyn::menus::EncodeRecentSubmenus(*paths);
        if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()))
            std::abort();
    }

    static const Tree* const tree = new Tree; // immortal: the menus outlive every input
    Loader organizer;
    organizer.ExcludeFromRecentlyUsed(4242);
    organizer.ExcludeSubmenuFromRecentlyUsed(tree->d);
    const std::set<int> commandsBefore = organizer.GetExcludedCommands();
    const std::set<HMENU> submenusBefore = organizer.GetExcludedSubmenus();

    const auto ids = zyn::menus::DecodeRecentCommands(bytes);
    if (LoadFrom(data, size, [&](CArchive& ar) { return organizer.LoadRUCommandsContents(ar); })) {
        std::set<int> expected;
        for (const int32_t id : ids.value())
            if (id != 0)
                expected.insert(id);
        if (organizer.GetExcludedCommands() != expected)
            std::abort();
    } else if (ids || organizer.GetExcludedCommands() != commandsBefore) {
        std::abort();
    }

    const auto paths = zyn::menus::DecodeRecentSubmenus(bytes);
    if (LoadFrom(data, size, [&](CArchive& ar) { return organizer.LoadRUSubmenusContents(tree->root, ar); })) {
        if (!paths)
            std::abort();
        for (const HMENU sub : organizer.GetExcludedSubmenus()) {
            CArray<int, int> path;
            if (!COXBitmapMenuOrganizer::FindPopupMenuPath(sub, tree->root, path))
                std::abort();
        }
    } else if (paths || organizer.GetExcludedSubmenus() != submenusBefore) {
        std::abort();
    }
    return 0;
}
