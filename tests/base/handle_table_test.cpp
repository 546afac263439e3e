#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

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

// Threads adding, reading and freeing handles in one table at once: every thread always
// reads back its own objects, never loses or doubles a slot, and the count ends where it
// began. A lock that let two holders in would hand out one slot twice or corrupt the free
// list (and the sanitizers see the race).
TEST(HandleTable, ConcurrentAddGetRemoveKeepEveryEntry)
{
    HandleTable<int> t(HandleKind::Misc);
    const uint32_t kept = t.Add(std::make_shared<int>(-1));
    constexpr int kThreads = 4, kRounds = 2000;
    constexpr size_t kHeld = 8;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int id = 0; id < kThreads; ++id)
        threads.emplace_back([&, id] {
            std::vector<std::pair<uint32_t, int>> mine;
            for (int round = 0; round < kRounds; ++round) {
                const int value = id * kRounds + round;
                const uint32_t h = t.Add(std::make_shared<int>(value));
                if (h == 0)
                    ++wrong;
                mine.emplace_back(h, value);
                for (const auto& [held, v] : mine) {
                    const auto got = t.Get(held);
                    if (!got || *got != v)
                        ++wrong;
                }
                if (mine.size() == kHeld) {
                    const auto gone = t.Remove(mine.front().first);
                    if (!gone || *gone != mine.front().second || t.Get(mine.front().first))
                        ++wrong;
                    mine.erase(mine.begin());
                }
            }
            for (const auto& [held, v] : mine)
                if (!t.Remove(held))
                    ++wrong;
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(t.Count(), 1u);
    ASSERT_TRUE(t.Get(kept));
    EXPECT_EQ(*t.Get(kept), -1);
}
