// Hooks at process exit: an object with static storage that owns a hook may remove it
// from its destructor, and static destructors run in the reverse order of construction,
// so the hook tables (made on the first hook) go first. Removing the hook must still work
// then, for a process that ends with exit() while its windows live (a display that went
// away, a fatal error), not only for one that tore everything down first.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/threads.h"
#include "platform/user/input.h"

namespace zyn::test {
namespace {

LRESULT PassOn(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(nullptr, code, wp, lp); }

// Made before the first hook of the process, so destroyed after the hook tables.
struct StaticHookOwner {
    HHOOK hook = nullptr;
    ~StaticHookOwner()
    {
        // Reported through the exit status: the test's process is ending.
        if (hook && !UnhookWindowsHookEx(hook))
            std::_Exit(3);
        if (UnhookWindowsHookEx(hook))
            std::_Exit(4); // removed twice
    }
};

TEST(HookExit, AHookOwnedByAStaticObjectIsRemovedAfterTheTablesWouldHaveGone)
{
    // A child process of its own, started afresh, so no earlier test made the tables first.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static StaticHookOwner owner;
            owner.hook = SetWindowsHookExW(WH_MOUSE, &PassOn, nullptr, GetCurrentThreadId());
            if (!owner.hook)
                std::_Exit(2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace zyn::test
