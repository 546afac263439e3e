// Puts the process-wide state that tests may change back to its defaults after every
// test case, so no case sees another's clock, zone, locale or wall clock.
#include <gtest/gtest.h>

#include "platform/afx/tooltip_thread.h"
#include "platform/base/clock.h"
#include "platform/base/testhooks_time.h"
#include "platform/user/driver.h"
#include "tests/support/testenv.h"

namespace zyn::test {

void ResetProcessState()
{
    zyn::base::Clock::UseReal();
    zyn::base::SetSystemTimeForTests(std::nullopt);
    zyn::base::SetTimeZoneForTests(L"");
    zyn::base::SetUserLocaleForTests(0);
    // The thread's tooltip goes with its window before the window system forgets windows.
    zyn::afx::DestroyThreadToolTip();
    zyn::user::ResetWindowSystemForTests();
}

namespace {
class ResetListener : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { ResetProcessState(); }
};
} // namespace

void InstallResetListener()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetListener); // owned by gtest
}

} // namespace zyn::test
