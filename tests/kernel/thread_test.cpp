#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/synch.h"
#include "platform/base/threads.h"
#include "tests/kernel/kernel_test_util.h"

using zyn::test::Eventually;
using zyn::test::ScopedHandle;
using namespace std::chrono_literals;

namespace {

class ThreadTest : public zyn::test::KernelTest {};

DWORD ReturnParam(LPVOID p) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(p)); }

TEST_F(ThreadTest, ExitCodeAndSignalledHandle)
{
    DWORD id = 0;
    ScopedHandle t(CreateThread(nullptr, 0, &ReturnParam, reinterpret_cast<LPVOID>(uintptr_t{42}), 0, &id));
    ASSERT_TRUE(t);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(GetThreadId(t), id);
    ASSERT_EQ(WaitForSingleObject(t, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_OBJECT_0) << "stays signalled";
}

struct Gate {
    ScopedHandle go{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> ran{false};
};

DWORD WaitForGate(LPVOID p)
{
    auto* g = static_cast<Gate*>(p);
    g->ran = true;
    WaitForSingleObject(g->go, INFINITE);
    return 7;
}

TEST_F(ThreadTest, StillActiveWhileRunning)
{
    Gate g;
    ScopedHandle t(CreateThread(nullptr, 0, &WaitForGate, &g, 0, nullptr));
    ASSERT_TRUE(Eventually([&] { return g.ran.load(); }));
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_TIMEOUT);
    EXPECT_EQ(SuspendThread(t), static_cast<DWORD>(-1)) << "a running thread cannot be suspended";
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(TerminateThread(t, 1));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    SetEvent(g.go);
    WaitForSingleObject(t, INFINITE);
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 7u);
}

TEST_F(ThreadTest, CreateSuspendedRunsOnlyWhenTheCountReachesZero)
{
    Gate g;
    SetEvent(g.go);
    ScopedHandle t(CreateThread(nullptr, 0, &WaitForGate, &g, CREATE_SUSPENDED, nullptr));
    ASSERT_TRUE(t);
    EXPECT_EQ(SuspendThread(t), 1u) << "previous count";
    EXPECT_EQ(SuspendThread(t), 2u);
    EXPECT_EQ(ResumeThread(t), 3u);
    EXPECT_EQ(ResumeThread(t), 2u);
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(g.ran.load());
    EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_TIMEOUT);
    EXPECT_EQ(ResumeThread(t), 1u);
    ASSERT_EQ(WaitForSingleObject(t, 10'000), WAIT_OBJECT_0);
    EXPECT_TRUE(g.ran.load());
    EXPECT_EQ(ResumeThread(t), 0u) << "nothing left to resume";
}

TEST_F(ThreadTest, SuspendedThreadThatNeverStartsCanBeClosed)
{
    Gate g;
    HANDLE t = CreateThread(nullptr, 0, &WaitForGate, &g, CREATE_SUSPENDED, nullptr);
    ASSERT_TRUE(t);
    EXPECT_TRUE(CloseHandle(t));
    EXPECT_FALSE(g.ran.load());
}

struct DestructorFlag {
    std::atomic<bool>* flag;
    ~DestructorFlag() { *flag = true; }
};

std::atomic<bool> g_unwound{false};

DWORD CallsExitThread(LPVOID)
{
    DestructorFlag d{&g_unwound};
    ExitThread(99);
}

TEST_F(ThreadTest, ExitThreadEndsWithItsCodeAndUnwinds)
{
    g_unwound = false;
    ScopedHandle t(CreateThread(nullptr, 0, &CallsExitThread, nullptr, 0, nullptr));
    ASSERT_EQ(WaitForSingleObject(t, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 99u);
    EXPECT_TRUE(g_unwound.load());
}

TEST_F(ThreadTest, ClosingTheOnlyHandleLetsTheThreadFinish)
{
    std::atomic<int> done{0};
    for (int i = 0; i < 8; ++i) {
        HANDLE t = CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                std::this_thread::sleep_for(5ms);
                ++*static_cast<std::atomic<int>*>(p);
                return 0;
            },
            &done, 0, nullptr);
        ASSERT_TRUE(t);
        CloseHandle(t);
    }
    EXPECT_TRUE(Eventually([&] { return done.load() == 8; }));
}

TEST_F(ThreadTest, IdentityAndPseudoHandle)
{
    std::atomic<DWORD> seenId{0};
    DWORD dupId = 0;
    DWORD id = 0;
    ScopedHandle t(CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            *static_cast<std::atomic<DWORD>*>(p) = GetCurrentThreadId();
            return 0;
        },
        &seenId, 0, &id));
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(seenId.load(), id);
    EXPECT_NE(id, GetCurrentThreadId());

    // The pseudo handle names the calling thread; duplicating it gives a real handle.
    EXPECT_EQ(GetThreadId(GetCurrentThread()), GetCurrentThreadId());
    HANDLE real = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &real, 0, FALSE,
        DUPLICATE_SAME_ACCESS));
    ScopedHandle self(real);
    dupId = GetThreadId(self);
    EXPECT_EQ(dupId, GetCurrentThreadId());
    DWORD code = 0;
    GetExitCodeThread(self, &code);
    EXPECT_EQ(code, STILL_ACTIVE);

    // Identifiers are unique, also for threads this API did not start.
    std::set<DWORD> ids{GetCurrentThreadId(), id};
    std::vector<std::thread> ts;
    std::mutex m;
    for (int i = 0; i < 8; ++i)
        ts.emplace_back([&] {
            const DWORD mine = GetCurrentThreadId();
            EXPECT_EQ(GetCurrentThreadId(), mine) << "stable";
            std::lock_guard lock(m);
            ids.insert(mine);
        });
    for (auto& th : ts)
        th.join();
    EXPECT_EQ(ids.size(), 10u);
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(::getpid()));
}

TEST_F(ThreadTest, ForeignThreadHandleIsSignalledWhenItEnds)
{
    HANDLE real = nullptr;
    std::thread th([&] {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &real, 0, FALSE,
            DUPLICATE_SAME_ACCESS);
    });
    th.join();
    ScopedHandle h(real);
    ASSERT_TRUE(h);
    EXPECT_EQ(WaitForSingleObject(h, 10'000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(h, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(ThreadTest, PrioritiesAreStoredAndChecked)
{
    Gate g;
    SetEvent(g.go);
    ScopedHandle t(CreateThread(nullptr, 0, &WaitForGate, &g, CREATE_SUSPENDED, nullptr));
    EXPECT_EQ(GetThreadPriority(t), THREAD_PRIORITY_NORMAL);
    EXPECT_TRUE(SetThreadPriority(t, THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(GetThreadPriority(t), THREAD_PRIORITY_HIGHEST);
    EXPECT_TRUE(SetThreadPriority(t, THREAD_PRIORITY_IDLE));
    EXPECT_FALSE(SetThreadPriority(t, 5));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetThreadPriority(t), THREAD_PRIORITY_IDLE);
    EXPECT_EQ(GetThreadPriority(reinterpret_cast<HANDLE>(0x12345678)), THREAD_PRIORITY_ERROR_RETURN);
    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(GetThreadPriority(ev), THREAD_PRIORITY_ERROR_RETURN) << "an event is not a thread";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    ResumeThread(t);
    WaitForSingleObject(t, INFINITE);
}

TEST_F(ThreadTest, BadArgumentsFail)
{
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(nullptr, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ResumeThread(nullptr), static_cast<DWORD>(-1));
    EXPECT_EQ(GetThreadId(nullptr), 0u);
}

TEST_F(ThreadTest, LargeStackIsHonoured)
{
    ScopedHandle t(CreateThread(
        nullptr, 16u << 20,
        [](LPVOID) -> DWORD {
            volatile char big[12u << 20]; // would overflow the default stack
            big[0] = 1;
            big[sizeof big - 1] = 2;
            return static_cast<DWORD>(big[0] + big[sizeof big - 1]);
        },
        nullptr, 0, nullptr));
    ASSERT_TRUE(t);
    WaitForSingleObject(t, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 3u);
}

TEST_F(ThreadTest, TlsSlotsArePerThreadAndClearedWhenFreed)
{
    const DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    int mine = 1, theirs = 2;
    EXPECT_TRUE(TlsSetValue(slot, &mine));
    SetLastError(77);
    EXPECT_EQ(TlsGetValue(slot), &mine);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    std::thread([&] {
        EXPECT_EQ(TlsGetValue(slot), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "a stored null is not a failure";
        TlsSetValue(slot, &theirs);
        EXPECT_EQ(TlsGetValue(slot), &theirs);
    }).join();
    EXPECT_EQ(TlsGetValue(slot), &mine);
    EXPECT_TRUE(TlsFree(slot));
    EXPECT_FALSE(TlsFree(slot));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    const DWORD again = TlsAlloc();
    EXPECT_EQ(TlsGetValue(again), nullptr) << "a reallocated slot starts empty";
    TlsFree(again);
    EXPECT_FALSE(TlsSetValue(TLS_OUT_OF_INDEXES, nullptr));
}

} // namespace
