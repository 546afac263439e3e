#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/afxmt.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/afx/winthread.h"
#include "tests/kernel/kernel_test_util.h"

using zyn::test::Eventually;
using zyn::test::ScopedHandle;
using namespace std::chrono_literals;

namespace {

class AfxSyncTest : public zyn::test::KernelTest {};

bool OtherThreadCanTake(HANDLE h)
{
    DWORD r = 0;
    std::thread([&] {
        r = WaitForSingleObject(h, 0);
        if (r == WAIT_OBJECT_0)
            ReleaseMutex(h);
    }).join();
    return r == WAIT_OBJECT_0;
}

TEST_F(AfxSyncTest, SingleLockReleasesOnDestruction)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OtherThreadCanTake(mutex));
        EXPECT_TRUE(lock.Lock()) << "locking again is a no-op";
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadCanTake(mutex)) << "one Unlock balanced both Locks";
        EXPECT_TRUE(lock.Lock(1000));
    }
    EXPECT_TRUE(OtherThreadCanTake(mutex));
}

TEST_F(AfxSyncTest, SingleLockTimesOut)
{
    CEvent event(FALSE, TRUE);
    CSingleLock lock(&event);
    EXPECT_FALSE(lock.Lock(0));
    EXPECT_FALSE(lock.IsLocked());
    event.SetEvent();
    EXPECT_TRUE(lock.Lock(0));
    EXPECT_TRUE(lock.Unlock()) << "an event unlocks trivially";
    event.ResetEvent();
    EXPECT_FALSE(lock.Lock(0));
}

TEST_F(AfxSyncTest, CriticalSectionLocks)
{
    CCriticalSection cs;
    {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        BOOL other = TRUE;
        std::thread([&] {
            other = cs.Lock(20);
            if (other)
                cs.Unlock();
        }).join();
        EXPECT_FALSE(other) << "held by this thread; the time-out is honoured";
        EXPECT_TRUE(cs.Lock(0)) << "recursive for the owner";
        cs.Unlock();
    }
    BOOL other = FALSE;
    std::thread([&] {
        other = cs.Lock(0);
        if (other)
            cs.Unlock();
    }).join();
    EXPECT_TRUE(other);
    EXPECT_EQ(cs.m_hObject, nullptr);
    EXPECT_TRUE(cs.IsKindOf(RUNTIME_CLASS(CSyncObject)));
}

TEST_F(AfxSyncTest, AbandonedMutexStillLocks)
{
    CMutex mutex;
    std::thread([&] { WaitForSingleObject(mutex, 0); }).join();
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(1000)) << "the caller owns an abandoned mutex";
    EXPECT_TRUE(lock.Unlock());
    EXPECT_TRUE(OtherThreadCanTake(mutex));
}

TEST_F(AfxSyncTest, SemaphoreAndMultiLock)
{
    CSemaphore sem(2, 2);
    CEvent ev(FALSE, TRUE);
    CSyncObject* objects[2] = {&sem, &ev};
    {
        CMultiLock lock(objects, 2);
        EXPECT_EQ(lock.Lock(0, TRUE), WAIT_TIMEOUT) << "the event is not set";
        EXPECT_FALSE(lock.IsLocked(0));
        EXPECT_EQ(lock.Lock(0, FALSE), WAIT_OBJECT_0);
        EXPECT_TRUE(lock.IsLocked(0));
        EXPECT_FALSE(lock.IsLocked(1));
        EXPECT_FALSE(lock.IsLocked(5));
        ev.SetEvent();
        EXPECT_EQ(lock.Lock(0, TRUE), WAIT_OBJECT_0);
        EXPECT_TRUE(lock.IsLocked(0));
        EXPECT_TRUE(lock.IsLocked(1));
        EXPECT_EQ(WaitForSingleObject(sem, 0), WAIT_TIMEOUT) << "both units taken";
        // The window system waits on the message queue as well; with every object wanted
        // and the semaphore empty, the wait times out.
        EXPECT_EQ(lock.Lock(0, TRUE, 0x00FF), WAIT_TIMEOUT);
    }
    // The destructor gave back the semaphore unit it held (the other one is lost: the
    // first Lock's unit was not released before the second Lock took another).
    EXPECT_EQ(WaitForSingleObject(sem, 0), WAIT_OBJECT_0);
    LONG prev = -1;
    EXPECT_TRUE(sem.Unlock(1, &prev));
    EXPECT_EQ(prev, 0);
    EXPECT_TRUE(sem.Unlock());
    EXPECT_FALSE(sem.Unlock()) << "over the maximum";
}

TEST_F(AfxSyncTest, MultiLockUnlockWithCountReleasesSemaphoresOnly)
{
    CSemaphore sem(1, 5);
    CMutex mutex;
    CSyncObject* objects[2] = {&sem, &mutex};
    CMultiLock lock(objects, 2);
    EXPECT_EQ(lock.Lock(INFINITE, TRUE), WAIT_OBJECT_0);
    LONG prev = -1;
    EXPECT_TRUE(lock.Unlock(3, &prev));
    EXPECT_EQ(prev, 0);
    EXPECT_FALSE(lock.IsLocked(0));
    EXPECT_TRUE(lock.IsLocked(1)) << "the mutex is still held";
    EXPECT_FALSE(OtherThreadCanTake(mutex));
    lock.Unlock();
    EXPECT_TRUE(OtherThreadCanTake(mutex));
}

TEST_F(AfxSyncTest, BadArgumentsThrow)
{
    try {
        CSemaphore bad(3, 1);
        ADD_FAILURE() << "no exception";
    } catch (CResourceException* e) {
        e->Delete();
    }
    try {
        CMultiLock none(nullptr, 0);
        ADD_FAILURE() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST_F(AfxSyncTest, NamedSyncObjects)
{
    CEvent a(FALSE, TRUE, L"zyn-afx-event");
    CEvent b(FALSE, FALSE, L"zyn-afx-event");
    a.SetEvent();
    CSingleLock lock(&b);
    EXPECT_TRUE(lock.Lock(0));
}

// ---- CWinThread --------------------------------------------------------------------------

UINT Worker(LPVOID p)
{
    auto* seen = static_cast<std::atomic<CWinThread*>*>(p);
    *seen = AfxGetThread();
    return 5;
}

TEST_F(AfxSyncTest, WorkerThreadWithoutAutoDelete)
{
    std::atomic<CWinThread*> seen{nullptr};
    CWinThread* t = AfxBeginThread(&Worker, &seen, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    t->m_bAutoDelete = FALSE;
    EXPECT_EQ(t->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_NE(t->m_nThreadID, 0u);
    EXPECT_EQ(GetThreadId(*t), t->m_nThreadID);
    EXPECT_EQ(t->ResumeThread(), 1u);
    ASSERT_EQ(WaitForSingleObject(t->m_hThread, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ(code, 5u);
    EXPECT_EQ(seen.load(), t) << "AfxGetThread on the worker is its CWinThread";
    EXPECT_EQ(AfxGetThread(), nullptr) << "this thread has none";
    delete t; // closes m_hThread
}

TEST_F(AfxSyncTest, AutoDeleteWorkerFreesItself)
{
    std::atomic<CWinThread*> seen{nullptr};
    CWinThread* t = AfxBeginThread(&Worker, &seen, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    HANDLE dup = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &dup, 0, FALSE,
        DUPLICATE_SAME_ACCESS));
    ScopedHandle h(dup);
    t->ResumeThread();
    // The object is gone after this (the sanitizer reports it if it leaked).
    ASSERT_EQ(WaitForSingleObject(h, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(h, &code);
    EXPECT_EQ(code, 5u);
}

UINT EndsEarly(LPVOID)
{
    AfxEndThread(77);
}

TEST_F(AfxSyncTest, AfxEndThreadEndsAndDeletes)
{
    CWinThread* t = AfxBeginThread(&EndsEarly, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    HANDLE dup = nullptr;
    DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    ScopedHandle h(dup);
    t->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(h, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(h, &code);
    EXPECT_EQ(code, 77u);
}

std::atomic<int> g_destroyed{0};
std::atomic<bool> g_sawSelf{false};

class CTestThread : public CWinThread {
    DECLARE_DYNCREATE(CTestThread)
public:
    ~CTestThread() override { ++g_destroyed; }
    BOOL InitInstance() override
    {
        g_sawSelf = AfxGetThread() == this;
        return TRUE;
    }
    int Run() override { return 42; }
};
IMPLEMENT_DYNCREATE(CTestThread, CWinThread)

class CFailingThread : public CWinThread {
    DECLARE_DYNCREATE(CFailingThread)
public:
    ~CFailingThread() override { ++g_destroyed; }
    int ExitInstance() override { return 3; }
};
IMPLEMENT_DYNCREATE(CFailingThread, CWinThread)

DWORD RunThreadClass(CRuntimeClass* cls)
{
    CWinThread* t = AfxBeginThread(cls, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    EXPECT_NE(t, nullptr);
    if (!t)
        return 0;
    HANDLE dup = nullptr;
    DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    ScopedHandle h(dup);
    t->ResumeThread();
    EXPECT_EQ(WaitForSingleObject(h, 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(h, &code);
    return code;
}

TEST_F(AfxSyncTest, ThreadClassRunsItsHooksAndDeletesItself)
{
    g_destroyed = 0;
    EXPECT_EQ(RunThreadClass(RUNTIME_CLASS(CTestThread)), 42u);
    EXPECT_TRUE(g_sawSelf.load());
    EXPECT_EQ(g_destroyed.load(), 1);
    EXPECT_EQ(RunThreadClass(RUNTIME_CLASS(CFailingThread)), 3u) << "InitInstance failed: ExitInstance's code";
    EXPECT_EQ(g_destroyed.load(), 2);
    try {
        AfxBeginThread(RUNTIME_CLASS(CSyncObject));
        ADD_FAILURE() << "not a thread class";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

} // namespace
