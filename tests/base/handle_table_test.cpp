#include <gtest/gtest.h>

#include "platform/base/handle_table.h"

using zyn::base::HandleKind;
using zyn::base::HandleTable;

TEST(HandleTable, ValuesAreAboveResourceRangeAndKindTagged)
{
    HandleTable<int> t(HandleKind::Window);
    const uint32_t h = t.Add(std::make_shared<int>(7));
    EXPECT_GE(h, 0x10000u);
    EXPECT_EQ(h & 0x80000000u, 0u) << "must survive a signed 32-bit round trip";
    EXPECT_EQ(zyn::base::KindOfHandle(zyn::base::MakeHandle<void*>(h)), HandleKind::Window);
    ASSERT_TRUE(t.Get(h));
    EXPECT_EQ(*t.Get(h), 7);
}

TEST(HandleTable, StaleAndForeignHandlesFailCleanly)
{
    HandleTable<int> windows(HandleKind::Window);
    HandleTable<int> menus(HandleKind::Menu);
    const uint32_t w = windows.Add(std::make_shared<int>(1));
    const uint32_t m = menus.Add(std::make_shared<int>(2));
    EXPECT_FALSE(windows.Get(m)) << "a menu handle must not resolve as a window";
    EXPECT_FALSE(menus.Get(w));
    ASSERT_TRUE(windows.Remove(w));
    EXPECT_FALSE(windows.Get(w));
    EXPECT_FALSE(windows.Remove(w)) << "double free is refused";
    // The slot is reused only after every other free slot, and with a new generation.
    const uint32_t w2 = windows.Add(std::make_shared<int>(3));
    EXPECT_NE(w, w2);
    EXPECT_FALSE(windows.Get(w));
    EXPECT_EQ(*windows.Get(w2), 3);
    EXPECT_FALSE(windows.Get(0u));
    EXPECT_FALSE(windows.Get(0x1234u));
}

TEST(HandleTable, SignExtendedValuesStillResolve)
{
    HandleTable<int> t(HandleKind::Gdi);
    const uint32_t h = t.Add(std::make_shared<int>(5));
    const auto viaLong = static_cast<intptr_t>(static_cast<int32_t>(h));
    void* p = reinterpret_cast<void*>(viaLong);
    EXPECT_EQ(*t.Get(p), 5);
    void* bogus = reinterpret_cast<void*>(static_cast<uintptr_t>(0x1234567800000000ull | h));
    EXPECT_FALSE(t.Get(bogus));
}
