#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/base/interlocked.h"
#include "platform/base/lasterror.h"
#include "platform/base/synch.h"
#include "platform/base/threads.h"
#include "tests/kernel/kernel_test_util.h"

using zyn::test::Eventually;
using zyn::test::ScopedHandle;
using namespace std::chrono_literals;

namespace {

class SyncTest : public zyn::test::KernelTest {};

// Starts `n` threads that each wait INFINITE on `h` and count their wake-ups.
struct Waiters {
    std::atomic<int> woken{0};
    std::vector<std::thread> threads;
    Waiters(HANDLE h, int n)
    {
        for (int i = 0; i < n; ++i)
            threads.emplace_back([this, h] {
                if (WaitForSingleObject(h, INFINITE) == WAIT_OBJECT_0)
                    ++woken;
            });
    }
    ~Waiters()
    {
        for (auto& t : threads)
            t.join();
    }
};

// ---- events ----------------------------------------------------------------------------

TEST_F(SyncTest, ManualResetEventReleasesEveryWaiterAndStaysSet)
{
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(ev);
    {
        Waiters w(ev, 4);
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(w.woken.load(), 0);
        ASSERT_TRUE(SetEvent(ev));
        EXPECT_TRUE(Eventually([&] { return w.woken.load() == 4; }));
    }
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0) << "still set";
    ResetEvent(ev);
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_TIMEOUT);
}

TEST_F(SyncTest, AutoResetEventReleasesOneWaiterPerSignal)
{
    ScopedHandle ev(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    Waiters w(ev, 3);
    std::this_thread::sleep_for(20ms);
    SetEvent(ev);
    EXPECT_TRUE(Eventually([&] { return w.woken.load() == 1; }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(w.woken.load(), 1) << "one signal wakes exactly one waiter";
    SetEvent(ev);
    SetEvent(ev);
    EXPECT_TRUE(Eventually([&] { return w.woken.load() == 3; }));
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_TIMEOUT) << "each signal was consumed";
}

TEST_F(SyncTest, AutoResetEventWithoutWaitersStaysSetForTheNextWait)
{
    ScopedHandle ev(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_TIMEOUT) << "the first wait reset it";
}

TEST_F(SyncTest, PulseReleasesCurrentWaitersAndLeavesTheEventReset)
{
    ScopedHandle manual(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ScopedHandle autoEv(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    EXPECT_TRUE(PulseEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT) << "a pulse with nobody waiting is lost";
    {
        Waiters wm(manual, 3);
        Waiters wa(autoEv, 2);
        // Nothing tells when a thread has begun to wait, and a pulse before that is lost by
        // design; so pulse again until the waiters are out: a manual-reset pulse releases
        // every thread waiting at that moment, an auto-reset pulse at most one.
        std::this_thread::sleep_for(30ms);
        for (int i = 0; i < 100 && wm.woken.load() < 3; ++i) {
            PulseEvent(manual);
            std::this_thread::sleep_for(10ms);
        }
        for (int i = 0; i < 100 && wa.woken.load() < 1; ++i) {
            PulseEvent(autoEv);
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_TRUE(Eventually([&] { return wm.woken.load() == 3 && wa.woken.load() == 1; }));
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(wa.woken.load(), 1) << "an auto-reset pulse releases one waiter only";
        EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
        EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_TIMEOUT);
        SetEvent(autoEv); // release the other waiter
        SetEvent(manual);
    }
}

TEST_F(SyncTest, NamedEventsAreSharedAndReportThatTheyExist)
{
    ScopedHandle a(CreateEventW(nullptr, TRUE, FALSE, L"zyn-test-event"));
    ASSERT_TRUE(a);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    ScopedHandle b(CreateEventW(nullptr, FALSE, TRUE, L"zyn-test-event"));
    ASSERT_TRUE(b);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_NE(a.get(), b.get()) << "a new handle to the same object";
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT) << "the initial state of a second create is ignored";
    SetEvent(b);
    EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_OBJECT_0) << "still the manual-reset event of the first create";

    ScopedHandle c(OpenEventW(EVENT_ALL_ACCESS, FALSE, L"zyn-test-event"));
    ASSERT_TRUE(c);
    ResetEvent(c);
    EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_TIMEOUT);

    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, L"ZYN-TEST-EVENT"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateMutexW(nullptr, FALSE, L"zyn-test-event"), nullptr) << "the name belongs to an event";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    a.reset();
    b.reset();
    c.reset();
    // A name used again after its object is gone makes a new object.
    ScopedHandle d(CreateEventW(nullptr, TRUE, TRUE, L"zyn-test-event"));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(d, 0), WAIT_OBJECT_0);
    d.reset();
    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, L"zyn-test-event"), nullptr) << "gone with its last handle";
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

// ---- mutexes ---------------------------------------------------------------------------

TEST_F(SyncTest, MutexIsRecursiveForItsOwnerAndExclusiveForOthers)
{
    ScopedHandle m(CreateMutexW(nullptr, TRUE, nullptr));
    ASSERT_TRUE(m);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0); // count 3 now
    auto otherCanTake = [&] {
        DWORD r = 0;
        std::thread([&] {
            r = WaitForSingleObject(m, 0);
            if (r == WAIT_OBJECT_0)
                ReleaseMutex(m);
        }).join();
        return r == WAIT_OBJECT_0;
    };
    EXPECT_FALSE(otherCanTake());
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(otherCanTake()) << "still owned once";
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(otherCanTake());
    EXPECT_FALSE(ReleaseMutex(m)) << "released more often than taken";
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
}

TEST_F(SyncTest, ReleaseByNonOwnerFailsAndChangesNothing)
{
    ScopedHandle m(CreateMutexW(nullptr, FALSE, nullptr));
    ASSERT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    BOOL released = TRUE;
    DWORD err = 0;
    std::thread([&] {
        released = ReleaseMutex(m);
        err = GetLastError();
    }).join();
    EXPECT_FALSE(released);
    EXPECT_EQ(err, ERROR_NOT_OWNER);
    EXPECT_TRUE(ReleaseMutex(m)) << "the owner still owns it";
}

TEST_F(SyncTest, MutexOfAnEndedThreadIsAbandonedOnce)
{
    ScopedHandle m(CreateMutexW(nullptr, FALSE, nullptr));
    // A thread this API did not start (std::thread) abandons it too.
    std::thread([&] { ASSERT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0); }).join();
    EXPECT_EQ(WaitForSingleObject(m, 1000), WAIT_ABANDONED) << "and the caller owns it now";
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0) << "abandonment is reported once";
    EXPECT_TRUE(ReleaseMutex(m));
}

TEST_F(SyncTest, WaiterBlockedOnAMutexGetsItAbandonedWhenTheOwnerExits)
{
    ScopedHandle m(CreateMutexW(nullptr, FALSE, nullptr));
    ScopedHandle taken(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ScopedHandle quit(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread owner([&] {
        WaitForSingleObject(m, INFINITE);
        SetEvent(taken);
        WaitForSingleObject(quit, INFINITE);
    });
    WaitForSingleObject(taken, INFINITE);
    std::atomic<DWORD> r{0xFFFF};
    std::thread waiter([&] {
        r = WaitForSingleObject(m, INFINITE);
        if (r == WAIT_ABANDONED)
            ReleaseMutex(m);
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(r.load(), 0xFFFFu);
    SetEvent(quit);
    owner.join();
    waiter.join();
    EXPECT_EQ(r.load(), WAIT_ABANDONED);
}

TEST_F(SyncTest, NamedMutexInProcess)
{
    ScopedHandle a(CreateMutexW(nullptr, TRUE, L"zyn-test-mutex"));
    ASSERT_TRUE(a);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    ScopedHandle b(CreateMutexW(nullptr, TRUE, L"zyn-test-mutex"));
    ASSERT_TRUE(b);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    // Ownership was given by the first create only: one release ends it.
    EXPECT_TRUE(ReleaseMutex(b));
    EXPECT_FALSE(ReleaseMutex(a));
    ScopedHandle c(OpenMutexW(SYNCHRONIZE, FALSE, L"zyn-test-mutex"));
    EXPECT_TRUE(c);
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, L"zyn-test-no-such-mutex"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenSemaphoreW(SYNCHRONIZE, FALSE, L"zyn-test-mutex"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(SyncTest, UnnamedAndEmptyNamedObjectsAreDistinct)
{
    ScopedHandle a(CreateMutexW(nullptr, FALSE, L""));
    ScopedHandle b(CreateMutexW(nullptr, FALSE, L""));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    ASSERT_EQ(WaitForSingleObject(a, 0), WAIT_OBJECT_0);
    DWORD r = 0;
    std::thread([&] {
        r = WaitForSingleObject(b, 0);
        ReleaseMutex(b);
    }).join();
    EXPECT_EQ(r, WAIT_OBJECT_0);
    ReleaseMutex(a);
}

// ---- semaphores ------------------------------------------------------------------------

TEST_F(SyncTest, SemaphoreCountsAndRefusesToPassItsMaximum)
{
    ScopedHandle s(CreateSemaphoreW(nullptr, 1, 3, nullptr));
    ASSERT_TRUE(s);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
    LONG prev = -1;
    EXPECT_TRUE(ReleaseSemaphore(s, 2, &prev));
    EXPECT_EQ(prev, 0);
    prev = -1;
    EXPECT_FALSE(ReleaseSemaphore(s, 2, &prev)) << "2 + 2 > 3";
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
    EXPECT_EQ(prev, -1) << "nothing reported on failure";
    EXPECT_TRUE(ReleaseSemaphore(s, 1, &prev));
    EXPECT_EQ(prev, 2);
    EXPECT_FALSE(ReleaseSemaphore(s, 0, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);

    EXPECT_EQ(CreateSemaphoreW(nullptr, 2, 1, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateSemaphoreW(nullptr, 0, 0, nullptr), nullptr);
    EXPECT_EQ(CreateSemaphoreW(nullptr, -1, 5, nullptr), nullptr);
    ScopedHandle big(CreateSemaphoreW(nullptr, 0x7FFFFFFF, 0x7FFFFFFF, nullptr));
    EXPECT_FALSE(ReleaseSemaphore(big, 0x7FFFFFFF, nullptr)) << "no overflow";
}

TEST_F(SyncTest, SemaphoreUnitsGoToWaitingThreads)
{
    ScopedHandle s(CreateSemaphoreW(nullptr, 0, 10, nullptr));
    Waiters w(s, 3);
    std::this_thread::sleep_for(20ms);
    ReleaseSemaphore(s, 2, nullptr);
    EXPECT_TRUE(Eventually([&] { return w.woken.load() == 2; }));
    ReleaseSemaphore(s, 1, nullptr);
    EXPECT_TRUE(Eventually([&] { return w.woken.load() == 3; }));
}

// ---- waiting on several objects --------------------------------------------------------

TEST_F(SyncTest, WaitAnyReportsTheLowestSignalledIndex)
{
    ScopedHandle e0(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ScopedHandle e1(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    ScopedHandle e2(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    HANDLE hs[3] = {e0, e1, e2};
    EXPECT_EQ(WaitForMultipleObjects(3, hs, FALSE, 0), WAIT_OBJECT_0 + 1);
    ResetEvent(e1);
    EXPECT_EQ(WaitForMultipleObjects(3, hs, FALSE, 0), WAIT_OBJECT_0 + 2);
    ResetEvent(e2);
    EXPECT_EQ(WaitForMultipleObjects(3, hs, FALSE, 0), WAIT_TIMEOUT);
    std::thread t([&] {
        std::this_thread::sleep_for(10ms);
        SetEvent(e2);
    });
    EXPECT_EQ(WaitForMultipleObjects(3, hs, FALSE, 10'000), WAIT_OBJECT_0 + 2);
    t.join();
}

TEST_F(SyncTest, WaitAllTakesEverythingAtOnceOrNothing)
{
    ScopedHandle a(CreateEventW(nullptr, FALSE, TRUE, nullptr)); // auto-reset, set
    ScopedHandle b(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    ScopedHandle s(CreateSemaphoreW(nullptr, 1, 1, nullptr));
    HANDLE hs[3] = {a, b, s};
    EXPECT_EQ(WaitForMultipleObjects(3, hs, TRUE, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_OBJECT_0) << "a failed wait-all consumed nothing";
    SetEvent(a);

    std::atomic<DWORD> r{0xFFFF};
    std::thread t([&] { r = WaitForMultipleObjects(3, hs, TRUE, INFINITE); });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(r.load(), 0xFFFFu);
    SetEvent(b);
    t.join();
    EXPECT_EQ(r.load(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_TIMEOUT) << "all were taken";
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
}

TEST_F(SyncTest, WaitAllReportsAnAbandonedMutex)
{
    ScopedHandle e(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    ScopedHandle m(CreateMutexW(nullptr, FALSE, nullptr));
    std::thread([&] { WaitForSingleObject(m, 0); }).join();
    HANDLE hs[2] = {e, m};
    EXPECT_EQ(WaitForMultipleObjects(2, hs, TRUE, 1000), WAIT_ABANDONED_0 + 1);
    ReleaseMutex(m);
}

TEST_F(SyncTest, BadWaitsFailCleanly)
{
    ScopedHandle e(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    HANDLE twice[2] = {e, e};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0) << "duplicates are fine for wait-any";
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(0, twice, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, e.get());
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, many.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0), WAIT_OBJECT_0);
    HANDLE withBad[2] = {e, reinterpret_cast<HANDLE>(0x12345678)};
    EXPECT_EQ(WaitForMultipleObjects(2, withBad, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// ---- handles ---------------------------------------------------------------------------

TEST_F(SyncTest, StaleHandlesFailCleanly)
{
    HANDLE h = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(h);
    EXPECT_TRUE(CloseHandle(h));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    // A new object in the same slot does not answer to the old value.
    ScopedHandle fresh(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    EXPECT_NE(fresh.get(), h);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CloseHandle(GetCurrentProcess())) << "pseudo handles close as a no-op";
    EXPECT_TRUE(CloseHandle(GetCurrentThread()));
    ScopedHandle sem(CreateSemaphoreW(nullptr, 0, 1, nullptr));
    EXPECT_FALSE(SetEvent(sem)) << "a semaphore is not an event";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ReleaseMutex(sem));
}

TEST_F(SyncTest, DuplicatedHandlesNameTheSameObject)
{
    ScopedHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), a, GetCurrentProcess(), &raw, 0, FALSE, DUPLICATE_SAME_ACCESS));
    ScopedHandle b(raw);
    EXPECT_NE(a.get(), b.get());
    SetEvent(a);
    a.reset();
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0) << "the object outlives the first handle";

    HANDLE moved = nullptr;
    HANDLE source = b.release();
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), &moved, 0, FALSE,
        DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS));
    ScopedHandle c(moved);
    EXPECT_FALSE(CloseHandle(source)) << "the source was closed";
    EXPECT_EQ(WaitForSingleObject(c, 0), WAIT_OBJECT_0);

    HANDLE none = nullptr;
    EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), &none, 0, FALSE, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(SyncTest, SignalObjectAndWait)
{
    ScopedHandle m(CreateMutexW(nullptr, TRUE, nullptr));
    ScopedHandle ev(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    EXPECT_EQ(SignalObjectAndWait(m, ev, 0, FALSE), WAIT_OBJECT_0);
    EXPECT_FALSE(ReleaseMutex(m)) << "the mutex was released";
    EXPECT_EQ(SignalObjectAndWait(m, ev, 0, FALSE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
}

// ---- critical sections and interlocked operations --------------------------------------

TEST_F(SyncTest, CriticalSectionIsRecursiveAndExclusive)
{
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    EXPECT_EQ(cs.RecursionCount, 2);
    auto otherCanEnter = [&] {
        BOOL ok = FALSE;
        std::thread([&] {
            ok = TryEnterCriticalSection(&cs);
            if (ok)
                LeaveCriticalSection(&cs);
        }).join();
        return ok != FALSE;
    };
    EXPECT_FALSE(otherCanEnter());
    std::thread([&] { LeaveCriticalSection(&cs); }).join(); // not the owner: ignored
    EXPECT_FALSE(otherCanEnter());
    LeaveCriticalSection(&cs);
    EXPECT_FALSE(otherCanEnter());
    LeaveCriticalSection(&cs);
    EXPECT_TRUE(otherCanEnter());
    EXPECT_EQ(SetCriticalSectionSpinCount(&cs, 4000), 0u);
    DeleteCriticalSection(&cs);
}

TEST_F(SyncTest, CriticalSectionSerialisesThreads)
{
    CRITICAL_SECTION cs;
    ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&cs, 100));
    int counter = 0; // plain int: only the section protects it
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&] {
            for (int i = 0; i < 10'000; ++i) {
                EnterCriticalSection(&cs);
                ++counter;
                LeaveCriticalSection(&cs);
            }
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(counter, 40'000);
    DeleteCriticalSection(&cs);
}

TEST_F(SyncTest, InterlockedOperations)
{
    LONG v = 5;
    EXPECT_EQ(InterlockedIncrement(&v), 6);
    EXPECT_EQ(InterlockedDecrement(&v), 5);
    EXPECT_EQ(InterlockedExchange(&v, 9), 5);
    EXPECT_EQ(InterlockedExchangeAdd(&v, 3), 9);
    EXPECT_EQ(v, 12);
    EXPECT_EQ(InterlockedCompareExchange(&v, 1, 7), 12) << "no exchange when the comparand differs";
    EXPECT_EQ(v, 12);
    EXPECT_EQ(InterlockedCompareExchange(&v, 1, 12), 12);
    EXPECT_EQ(v, 1);
    LONG top = 0x7FFFFFFF;
    EXPECT_EQ(InterlockedIncrement(&top), static_cast<LONG>(0x80000000u)) << "wraps";
    int x = 0, y = 0;
    PVOID p = &x;
    EXPECT_EQ(InterlockedCompareExchangePointer(&p, &y, &x), &x);
    EXPECT_EQ(p, &y);
    EXPECT_EQ(InterlockedExchangePointer(&p, nullptr), &y);

    LONG shared = 0;
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&] {
            for (int i = 0; i < 10'000; ++i)
                InterlockedIncrement(&shared);
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(shared, 40'000);
}

} // namespace
