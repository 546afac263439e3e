#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/synch.h"
#include "platform/base/threads.h"
#include "tests/kernel/kernel_test_util.h"

using zyn::base::Clock;
using zyn::test::Eventually;
using zyn::test::ScopedHandle;
using namespace std::chrono_literals;

namespace {

class ClockTest : public zyn::test::KernelTest {};

auto RealNow() { return std::chrono::steady_clock::now(); }

TEST_F(ClockTest, VirtualTimeMovesOnlyWhenTold)
{
    Clock::UseVirtual(5000);
    EXPECT_TRUE(Clock::IsVirtual());
    EXPECT_EQ(GetTickCount64(), 5000u);
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(GetTickCount(), 5000u) << "real time must not leak into virtual time";
    EXPECT_TRUE(Clock::Advance(250));
    EXPECT_EQ(GetTickCount64(), 5250u);
    EXPECT_EQ(timeGetTime(), 5250u);
    EXPECT_TRUE(Clock::AdvanceTo(6000));
    EXPECT_FALSE(Clock::AdvanceTo(5999)) << "the clock never goes back";
    EXPECT_EQ(Clock::NowMs(), 6000u);

    LARGE_INTEGER f{}, c{};
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    ASSERT_TRUE(QueryPerformanceCounter(&c));
    EXPECT_EQ(f.QuadPart, 10'000'000);
    EXPECT_EQ(c.QuadPart, 6000 * 10'000LL);

    Clock::UseReal();
    EXPECT_FALSE(Clock::IsVirtual());
    EXPECT_FALSE(Clock::Advance(10)) << "real time cannot be advanced";
}

TEST_F(ClockTest, TickCountWrapsAt32BitsWhileTheWideCountGoesOn)
{
    Clock::UseVirtual(0xFFFFFF00ull);
    const DWORD before = GetTickCount();
    Clock::Advance(0x200);
    const DWORD after = GetTickCount();
    EXPECT_EQ(before, 0xFFFFFF00u);
    EXPECT_EQ(after, 0x100u);
    EXPECT_EQ(static_cast<DWORD>(after - before), 0x200u) << "unsigned differences survive the wrap";
    EXPECT_EQ(GetTickCount64(), 0x100000100ull);
}

TEST_F(ClockTest, SleepAdvancesVirtualTimeAtOnce)
{
    Clock::UseVirtual(1000);
    const auto start = RealNow();
    Sleep(60'000);
    EXPECT_EQ(SleepEx(1'000, TRUE), 0u);
    Sleep(0);
    EXPECT_LT(RealNow() - start, 2s);
    EXPECT_EQ(GetTickCount64(), 62'000u);
}

TEST_F(ClockTest, RealSleepWaitsInRealTime)
{
    const ULONGLONG t0 = GetTickCount64();
    const auto start = RealNow();
    Sleep(30);
    EXPECT_GE(RealNow() - start, 30ms);
    EXPECT_GE(GetTickCount64() - t0, 29u);
    LARGE_INTEGER a{}, b{};
    QueryPerformanceCounter(&a);
    Sleep(2);
    QueryPerformanceCounter(&b);
    EXPECT_GT(b.QuadPart, a.QuadPart);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST_F(ClockTest, TimedOutWaitAdvancesVirtualTimeByItsTimeout)
{
    Clock::UseVirtual(100);
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const auto start = RealNow();
    EXPECT_EQ(WaitForSingleObject(ev, 1500), WAIT_TIMEOUT);
    EXPECT_EQ(GetTickCount64(), 1600u);
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_TIMEOUT);
    EXPECT_EQ(GetTickCount64(), 1600u) << "a zero time-out takes no time";
    SetEvent(ev);
    EXPECT_EQ(WaitForSingleObject(ev, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(GetTickCount64(), 1600u) << "a satisfied wait takes no time";
    EXPECT_LT(RealNow() - start, 2s);
}

TEST_F(ClockTest, WaiterInGraceTimesOutWhenAnotherThreadPassesItsDeadline)
{
    Clock::UseVirtual(0);
    Clock::SetVirtualWaitGrace(60'000); // would wait a minute of real time on its own
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<DWORD> result{0xFFFF};
    std::atomic<bool> started{false};
    std::thread waiter([&] {
        started = true;
        result = WaitForSingleObject(ev, 500);
    });
    // The wait must have begun before the clock moves, or its deadline would count from
    // the advanced time: give a loaded machine ample real time to get there.
    while (!started.load())
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(result.load(), 0xFFFFu) << "still inside its grace period";
    Clock::Advance(499);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(result.load(), 0xFFFFu) << "deadline not reached yet";
    Clock::Advance(1);
    EXPECT_TRUE(Eventually([&] { return result.load() == WAIT_TIMEOUT; }));
    waiter.join();
    EXPECT_EQ(GetTickCount64(), 500u) << "a wait that timed out on another's advance adds nothing";
}

TEST_F(ClockTest, WaiterInGraceIsReleasedBySignal)
{
    Clock::UseVirtual(0);
    Clock::SetVirtualWaitGrace(60'000);
    ScopedHandle ev(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    std::atomic<DWORD> result{0xFFFF};
    std::thread waiter([&] { result = WaitForSingleObject(ev, 10'000); });
    std::this_thread::sleep_for(10ms);
    SetEvent(ev);
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
    EXPECT_EQ(GetTickCount64(), 0u);
}

TEST_F(ClockTest, WaitStartedOnTheRealClockDoesNotMoveTheVirtualOne)
{
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<DWORD> result{0xFFFF};
    std::thread waiter([&] { result = WaitForSingleObject(ev, 100); });
    std::this_thread::sleep_for(20ms);
    Clock::UseVirtual(777);
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_TIMEOUT);
    EXPECT_EQ(Clock::NowMs(), 777u) << "its deadline was on the real clock";
}

TEST_F(ClockTest, ListenersHearEveryMoveAndCanBeRemoved)
{
    std::mutex m;
    std::vector<uint64_t> heard;
    const auto id = Clock::AddListener([&](uint64_t now) {
        std::lock_guard lock(m);
        heard.push_back(now);
    });
    Clock::UseVirtual(10);
    Clock::Advance(5);
    Sleep(100);
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    WaitForSingleObject(ev, 1000);
    Clock::RemoveListener(id);
    Clock::Advance(1);
    std::lock_guard lock(m);
    EXPECT_EQ(heard, (std::vector<uint64_t>{10, 15, 115, 1115}));
}

TEST_F(ClockTest, ListenerMayTakeTheWaitersLock)
{
    // The window system's listener takes its queue lock; a waiter on that lock that
    // times out must release it before the listeners run.
    std::mutex queueLock;
    std::condition_variable cv;
    std::atomic<int> calls{0};
    const auto id = Clock::AddListener([&](uint64_t) {
        std::lock_guard lock(queueLock);
        ++calls;
        cv.notify_all();
    });
    Clock::UseVirtual(0);
    {
        std::unique_lock lock(queueLock);
        const bool ok = Clock::WaitUntil(lock, cv, 250, [] { return false; });
        EXPECT_FALSE(ok);
        EXPECT_TRUE(lock.owns_lock());
    }
    Clock::RemoveListener(id);
    EXPECT_EQ(calls.load(), 2); // UseVirtual and the time-out
    EXPECT_EQ(Clock::NowMs(), 250u);
}

TEST_F(ClockTest, WaitUntilInRealModeSeesAnotherThreadsChange)
{
    std::mutex m;
    std::condition_variable cv;
    bool flag = false;
    std::thread t([&] {
        std::this_thread::sleep_for(10ms);
        std::lock_guard lock(m);
        flag = true;
        cv.notify_all();
    });
    std::unique_lock lock(m);
    EXPECT_TRUE(Clock::WaitUntil(lock, cv, Clock::DeadlineAfter(10'000), [&] { return flag; }));
    lock.unlock();
    t.join();

    std::unique_lock lock2(m);
    const auto start = RealNow();
    EXPECT_FALSE(Clock::WaitUntil(lock2, cv, Clock::DeadlineAfter(20), [] { return false; }));
    EXPECT_GE(RealNow() - start, 19ms);
}

} // namespace
