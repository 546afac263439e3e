// The recently used sets in the profile: the bytes written, byte for byte, as the layout
// gives them (worked by hand below); loading them back; blobs that are not well formed
// refused with the sets left as they were; the menu bar's save-and-load message.
#include "platform/base/lasterror.h"
#include "tests/menus/organizer_test_support.h"
#include "toolkit/menus/recent_state.h"

namespace zyn::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Little-endian 32-bit values, written out by hand in each case.
Bytes Le(std::initializer_list<int32_t> values)
{
    Bytes out;
    for (const int32_t v : values) {
        const auto u = static_cast<uint32_t>(v);
        out.insert(out.end(), {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                                  static_cast<uint8_t>(u >> 24)});
    }
    return out;
}

class RecentStateTest : public OrganizerTest {
protected:
    Bytes Saved(const wchar_t* section, int* size = nullptr)
    {
        LPBYTE data = nullptr;
        UINT n = 0;
        if (!m_app->GetProfileBinary(section, L"RUContents", &data, &n))
            return {};
        Bytes out(data, data + n);
        delete[] data;
        if (size)
            *size = static_cast<int>(m_app->GetProfileInt(section, L"RUItemsDataSize", -2));
        return out;
    }
    void Store(const wchar_t* section, const Bytes& bytes, int size)
    {
        m_app->WriteProfileBinary(section, L"RUContents", const_cast<uint8_t*>(bytes.data()), static_cast<UINT>(bytes.size()));
        m_app->WriteProfileInt(section, L"RUItemsDataSize", size);
    }
};

TEST_F(RecentStateTest, TheSetsRoundTripThroughTheProfileByteForByte)
{
    COXBitmapMenuOrganizer organizer;
    for (const int id : {0x8101, 7, 300})
        organizer.ExcludeFromRecentlyUsed(id);
    ASSERT_TRUE(organizer.SaveRUCommandsState(nullptr));
    int size = 0;
    // N = 3, then the commands in ascending order: 7, 300 (0x12C), 0x8101.
    const Bytes commands{3, 0, 0, 0, 7, 0, 0, 0, 0x2C, 1, 0, 0, 0x01, 0x81, 0, 0};
    EXPECT_EQ(Saved(L"RecentlyUsedMenuItems", &size), commands);
    EXPECT_EQ(size, 16);

    // Paths from the bar: Edit is [1], More's Deeper [1, 2, 0], Recent Files [0, 4]; a
    // submenu that is gone is the terminator alone. Ascending: [], [0 4], [1], [1 2 0].
    const HMENU gone = ::CreatePopupMenu();
    ::DestroyMenu(gone);
    for (const HMENU sub : {m_frame->deeper, m_frame->edit, gone, m_frame->recent})
        organizer.ExcludeSubmenuFromRecentlyUsed(sub);
    ASSERT_TRUE(organizer.SaveRUSubmenusState(m_frame->bar, L"Paths"));
    const Bytes submenus{4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
        0, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
        1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
        1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Saved(L"Paths", &size), submenus);
    EXPECT_EQ(size, 44);

    COXBitmapMenuOrganizer loaded;
    loaded.ExcludeFromRecentlyUsed(99); // replaced by what was saved
    EXPECT_TRUE(loaded.LoadRUCommandsState(L""));
    EXPECT_EQ(loaded.GetExcludedCommands(), (std::set<int>{7, 300, 0x8101}));
    EXPECT_TRUE(loaded.LoadRUSubmenusState(m_frame->bar, L"Paths"));
    EXPECT_EQ(loaded.GetExcludedSubmenus(), (std::set<HMENU>{m_frame->deeper, m_frame->edit, m_frame->recent}));
}

TEST_F(RecentStateTest, WhatCannotBeUsedIsRefusedAndChangesNothing)
{
    COXBitmapMenuOrganizer organizer;
    organizer.ExcludeFromRecentlyUsed(5);
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->edit);
    const std::set<int> commandsBefore = organizer.GetExcludedCommands();
    const std::set<HMENU> submenusBefore = organizer.GetExcludedSubmenus();
    struct Row {
        const char* what;
        bool submenus;
        Bytes bytes;
        int size; // -1: the blob's own size
    };
    const Row rows[] = {
        {"a count above the IDs", false, Le({2, 7}), -1},
        {"a negative count", false, Le({-1}), -1},
        {"a count cut short", false, {2, 0, 0}, -1},
        {"nothing at all", false, {}, -1},
        {"a byte after the IDs", false, [] { Bytes b = Le({1, 7}); b.push_back(0); return b; }(), -1},
        {"a size that is not the blob's", false, Le({1, 7}), 12},
        {"a path without its terminator", true, Le({1, 0}), -1},
        {"a position below -1", true, Le({1, -5, -1}), -1},
        {"more entries than the bytes hold", true, Le({2, -1}), -1},
        {"bytes after the last entry", true, Le({1, -1, 0}), -1},
        {"a position cut short", true, [] { Bytes b = Le({1}); b.insert(b.end(), {1, 0}); return b; }(), -1},
    };
    for (const Row& row : rows) {
        Store(L"Bad", row.bytes, row.size < 0 ? static_cast<int>(row.bytes.size()) : row.size);
        ::SetLastError(0);
        const BOOL loaded = row.submenus ? organizer.LoadRUSubmenusState(m_frame->bar, L"Bad")
                                         : organizer.LoadRUCommandsState(L"Bad");
        EXPECT_FALSE(loaded) << row.what;
        EXPECT_EQ(::GetLastError(), ERROR_INVALID_DATA) << row.what;
        EXPECT_EQ(organizer.GetExcludedCommands(), commandsBefore) << row.what;
        EXPECT_EQ(organizer.GetExcludedSubmenus(), submenusBefore) << row.what;
    }
    // No saved state: nothing to do, and that is no failure.
    EXPECT_TRUE(organizer.LoadRUCommandsState(L"NeverSaved"));
    EXPECT_EQ(organizer.GetExcludedCommands(), commandsBefore);
    // A blob naming command 0 excludes nothing for it; a path that leads nowhere neither.
    Store(L"Zero", Le({2, 0, 9}), 12);
    EXPECT_TRUE(organizer.LoadRUCommandsState(L"Zero"));
    EXPECT_EQ(organizer.GetExcludedCommands(), std::set<int>{9});
    Store(L"Nowhere", Le({2, 7, 7, -1, 1, -1}), 24);
    EXPECT_TRUE(organizer.LoadRUSubmenusState(m_frame->bar, L"Nowhere"));
    EXPECT_EQ(organizer.GetExcludedSubmenus(), std::set<HMENU>{m_frame->edit});
}

TEST_F(RecentStateTest, TheMenuBarsMessagesSaveAndLoadUnderTheirName)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->edit);
    const HWND frame = m_frame->GetSafeHwnd();
    EXPECT_TRUE(::SendMessageW(frame, WM_OX_SAVERUSUBMENUS, reinterpret_cast<WPARAM>(m_frame->bar),
        reinterpret_cast<LPARAM>(L"Bar")));
    EXPECT_EQ(Saved(L"Bar_RecentlyUsedSubmenuItems"), Le({1, 1, -1}));
    EXPECT_EQ(organizer.GetExcludedSubmenus(), std::set<HMENU>{m_frame->edit}) << "saved, then loaded back";
    Store(L"Bar_RecentlyUsedSubmenuItems", Le({1, 0, 4, -1}), 16);
    EXPECT_TRUE(::SendMessageW(frame, WM_OX_LOADRUSUBMENUS, reinterpret_cast<WPARAM>(m_frame->bar),
        reinterpret_cast<LPARAM>(L"Bar")));
    EXPECT_EQ(organizer.GetExcludedSubmenus(), std::set<HMENU>{m_frame->recent});
}

TEST(RecentStateCodec, EncodedSetsDecodeToThemselves)
{
    const std::vector<int32_t> ids{-7, 0, 65366};
    EXPECT_EQ(menus::DecodeRecentCommands(menus::EncodeRecentCommands(ids)), ids);
    const std::vector<std::vector<int32_t>> paths{{}, {0, 0x7FFFFFFF}, {3}};
    EXPECT_EQ(menus::DecodeRecentSubmenus(menus::EncodeRecentSubmenus(paths)), paths);
    std::string why;
    EXPECT_FALSE(menus::DecodeRecentSubmenus(Le({1, 2}), &why));
    EXPECT_EQ(why, "a path without its -1");
}

} // namespace
} // namespace zyn::test
