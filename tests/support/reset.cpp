// Puts the process-wide state that tests may change back to its defaults after every
// test case, so no case sees another's clock, zone, locale or wall clock.
#include <gtest/gtest.h>

#include "platform/afx/ole/ole2.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/base/clock.h"
#include "platform/base/testhooks_time.h"
#include "platform/com/objbase.h"
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
    // After the windows: registered drop targets and class objects are released, and
    // this thread's COM and OLE initialisation undone.
    zyn::ole::ResetOleForTests();
    zyn::com::ResetComForTests();
}

namespace {
// Besides the reset, every case must leave no COM object alive that it made (class
// objects it registered and drop targets it left registered count too: they hold
// references). End events reach this listener before the result printer, so a leak shows
// as the case's failure.
class ResetListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { m_comObjects = zyn::com::LiveObjectCount(); }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        const size_t live = zyn::com::LiveObjectCount();
        if (live > m_comObjects)
            ADD_FAILURE() << (live - m_comObjects) << " COM object(s) left alive by this test";
        ResetProcessState();
    }
    size_t m_comObjects = 0;
};
} // namespace

void InstallResetListener()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetListener); // owned by gtest
}

} // namespace zyn::test
