#include "platform/base/threads.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/synch.h"

namespace zyn::base {

struct ThreadAccess {
    static DWORD& ExitCode(ThreadObject& t) { return t.m_exitCode; }
    static DWORD& PendingExitCode(ThreadObject& t) { return t.m_pendingExitCode; }
    static bool& Ended(ThreadObject& t) { return t.m_ended; }
    static bool& Started(ThreadObject& t) { return t.m_started; }
    static DWORD& SuspendCount(ThreadObject& t) { return t.m_suspendCount; }
    static int& Priority(ThreadObject& t) { return t.m_priority; }
    static std::function<DWORD()> TakeFunction(ThreadObject& t) { return std::move(t.m_fn); }
    static SIZE_T StackSize(const ThreadObject& t) { return t.m_stackSize; }
    static void SetSignaledLocked(ThreadObject& t) { t.SetSignaledLocked(true); }
};

namespace {

std::atomic<DWORD> g_nextThreadId{1};

DWORD NewThreadId()
{
    DWORD id;
    do {
        id = g_nextThreadId.fetch_add(1, std::memory_order_relaxed);
    } while (id == 0);
    return id;
}

thread_local DWORD t_threadId = 0;

void OnThreadExit(void* p);

// The key whose value is a heap `std::shared_ptr<ThreadObject>` for the thread. Its
// destructor runs after the thread's C++ thread_local destructors, so code that uses
// the API from those destructors still finds its thread.
pthread_key_t ThreadKey()
{
    static const pthread_key_t key = [] {
        pthread_key_t k;
        if (pthread_key_create(&k, &OnThreadExit) != 0)
            std::abort(); // cannot run without it; only fails when keys run out at start-up
        return k;
    }();
    return key;
}

void BindCurrentThread(std::shared_ptr<ThreadObject>* holder)
{
    t_threadId = (*holder)->Id();
    pthread_setspecific(ThreadKey(), holder);
}

void OnThreadExit(void* p)
{
    std::unique_ptr<std::shared_ptr<ThreadObject>> holder(static_cast<std::shared_ptr<ThreadObject>*>(p));
    std::shared_ptr<ThreadObject> self = std::move(*holder);
    std::vector<std::shared_ptr<KernelObject>> released; // dropped after the lock
    {
        auto lock = KernelLock();
        detail::AbandonMutexesOwnedByLocked(self->Id(), released);
        ThreadAccess::ExitCode(*self) = ThreadAccess::PendingExitCode(*self);
        ThreadAccess::Ended(*self) = true;
        ThreadAccess::SetSignaledLocked(*self);
    }
}

extern "C" void* ThreadTrampoline(void* arg)
{
    auto* holder = static_cast<std::shared_ptr<ThreadObject>*>(arg);
    BindCurrentThread(holder); // the key owns the holder from here on
    ThreadObject& self = **holder;
    DWORD code;
    {
        std::function<DWORD()> fn;
        {
            auto lock = KernelLock();
            fn = ThreadAccess::TakeFunction(self);
        }
        code = fn();
    }
    {
        auto lock = KernelLock();
        ThreadAccess::PendingExitCode(self) = code;
    }
    return nullptr;
}

// Starts the POSIX thread of a thread object; false (errno-style code in `err`) when
// the system refuses.
bool StartThread(const std::shared_ptr<ThreadObject>& obj, int& err)
{
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    size_t defaultSize = 0;
    pthread_attr_getstacksize(&attr, &defaultSize);
    const SIZE_T wanted = ThreadAccess::StackSize(*obj);
    if (wanted > defaultSize) {
        const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        const size_t rounded = (wanted + page - 1) / page * page;
        pthread_attr_setstacksize(&attr, rounded);
    }
    auto* holder = new std::shared_ptr<ThreadObject>(obj);
    pthread_t tid;
    err = pthread_create(&tid, &attr, &ThreadTrampoline, holder);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        delete holder;
        return false;
    }
    return true;
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE h) { return GetKernelObjectAs<ThreadObject>(h); }

bool IsValidPriority(int p)
{
    return (p >= THREAD_PRIORITY_LOWEST && p <= THREAD_PRIORITY_HIGHEST) || p == THREAD_PRIORITY_IDLE
        || p == THREAD_PRIORITY_TIME_CRITICAL;
}

// ---- thread-local storage ----------------------------------------------------------
constexpr DWORD kTlsSlots = 1088;

struct TlsState {
    std::mutex lock;
    // 0: free; otherwise the allocation's generation, never reused.
    std::array<std::atomic<uint64_t>, kTlsSlots> slotGen{};
    uint64_t nextGen = 1;
};

TlsState& Tls()
{
    static TlsState* s = new TlsState; // never destroyed: threads may outlive statics
    return *s;
}

struct TlsValue {
    uint64_t gen = 0;
    void* value = nullptr;
};
thread_local std::vector<TlsValue> t_tls;

} // namespace

ThreadObject::ThreadObject(DWORD id, std::function<DWORD()> fn, SIZE_T stackSize, bool started)
    : KernelObject(KernelObjectType::Thread), m_id(id), m_started(started), m_fn(std::move(fn)), m_stackSize(stackSize)
{
}

ThreadObject::~ThreadObject() = default;

std::shared_ptr<ThreadObject> ThreadObject::MakeExternal(DWORD id)
{
    return std::make_shared<ThreadObject>(id, nullptr, 0, true);
}

void ThreadObject::EndExternal(DWORD exitCode)
{
    auto lock = KernelLock();
    if (m_ended)
        return;
    m_exitCode = exitCode;
    m_ended = true;
    SetSignaledLocked(true);
}

DWORD ThreadObject::ExitCode() const
{
    auto lock = KernelLock();
    return m_exitCode;
}

bool ThreadObject::HasEnded() const
{
    auto lock = KernelLock();
    return m_ended;
}

std::shared_ptr<ThreadObject> CurrentThreadObject()
{
    if (auto* holder = static_cast<std::shared_ptr<ThreadObject>*>(pthread_getspecific(ThreadKey())))
        return *holder;
    // A thread this API did not start: give it an object now.
    auto obj = std::make_shared<ThreadObject>(t_threadId != 0 ? t_threadId : NewThreadId(), nullptr, 0, true);
    BindCurrentThread(new std::shared_ptr<ThreadObject>(obj));
    return obj;
}

} // namespace zyn::base

using namespace zyn::base;

HANDLE zyn::base::CreateThreadFunction(std::function<DWORD()> fn, DWORD dwCreationFlags, SIZE_T dwStackSize,
    LPDWORD lpThreadId)
{
    if (!fn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto obj = std::make_shared<ThreadObject>(NewThreadId(), std::move(fn), dwStackSize);
    const bool suspended = (dwCreationFlags & CREATE_SUSPENDED) != 0;
    {
        auto lock = KernelLock();
        ThreadAccess::SuspendCount(*obj) = suspended ? 1 : 0;
        ThreadAccess::Started(*obj) = !suspended;
    }
    HANDLE h = AddKernelObject(obj);
    if (!h)
        return nullptr;
    if (!suspended) {
        int err = 0;
        if (!StartThread(obj, err)) {
            CloseHandle(h);
            SetLastError(err == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    if (lpThreadId)
        *lpThreadId = obj->Id();
    return h;
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    if (!lpStartAddress) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateThreadFunction([lpStartAddress, lpParameter] { return lpStartAddress(lpParameter); },
        dwCreationFlags, dwStackSize, lpThreadId);
}

void ExitThread(DWORD dwExitCode)
{
    auto self = CurrentThreadObject();
    {
        auto lock = KernelLock();
        ThreadAccess::PendingExitCode(*self) = dwExitCode;
    }
    self.reset();
    pthread_exit(nullptr);
}

BOOL TerminateThread(HANDLE hThread, DWORD)
{
    if (!ThreadOf(hThread))
        return FALSE;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

DWORD ResumeThread(HANDLE hThread)
{
    auto obj = ThreadOf(hThread);
    if (!obj)
        return static_cast<DWORD>(-1);
    DWORD previous;
    bool start = false;
    {
        auto lock = KernelLock();
        DWORD& count = ThreadAccess::SuspendCount(*obj);
        previous = count;
        if (count > 0 && --count == 0 && !ThreadAccess::Started(*obj)) {
            ThreadAccess::Started(*obj) = true;
            start = true;
        }
    }
    if (start) {
        int err = 0;
        if (!StartThread(obj, err)) {
            auto lock = KernelLock();
            ThreadAccess::Started(*obj) = false;
            ThreadAccess::SuspendCount(*obj) = 1;
            SetLastError(err == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
            return static_cast<DWORD>(-1);
        }
    }
    return previous;
}

DWORD SuspendThread(HANDLE hThread)
{
    auto obj = ThreadOf(hThread);
    if (!obj)
        return static_cast<DWORD>(-1);
    auto lock = KernelLock();
    if (ThreadAccess::Started(*obj)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return static_cast<DWORD>(-1);
    }
    DWORD& count = ThreadAccess::SuspendCount(*obj);
    if (count >= 127) { // the Windows limit (MAXIMUM_SUSPEND_COUNT)
        SetLastError(ERROR_SIGNAL_REFUSED);
        return static_cast<DWORD>(-1);
    }
    return count++;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    auto obj = ThreadOf(hThread);
    if (!obj)
        return FALSE;
    if (!lpExitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpExitCode = obj->ExitCode();
    return TRUE;
}

DWORD GetThreadId(HANDLE Thread)
{
    auto obj = ThreadOf(Thread);
    return obj ? obj->Id() : 0;
}

DWORD GetCurrentThreadId()
{
    if (t_threadId == 0)
        CurrentThreadObject();
    return t_threadId;
}

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2)); }

BOOL SetThreadPriority(HANDLE hThread, int nPriority)
{
    auto obj = ThreadOf(hThread);
    if (!obj)
        return FALSE;
    if (!IsValidPriority(nPriority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = KernelLock();
    ThreadAccess::Priority(*obj) = nPriority;
    return TRUE;
}

int GetThreadPriority(HANDLE hThread)
{
    auto obj = ThreadOf(hThread);
    if (!obj)
        return THREAD_PRIORITY_ERROR_RETURN;
    auto lock = KernelLock();
    return ThreadAccess::Priority(*obj);
}

BOOL SwitchToThread() { return sched_yield() == 0 ? TRUE : FALSE; }

DWORD TlsAlloc()
{
    TlsState& s = Tls();
    std::lock_guard lock(s.lock);
    for (DWORD i = 0; i < kTlsSlots; ++i) {
        if (s.slotGen[i].load(std::memory_order_relaxed) == 0) {
            s.slotGen[i].store(s.nextGen++, std::memory_order_release);
            return i;
        }
    }
    SetLastError(ERROR_NO_MORE_ITEMS);
    return TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD dwTlsIndex)
{
    TlsState& s = Tls();
    std::lock_guard lock(s.lock);
    if (dwTlsIndex >= kTlsSlots || s.slotGen[dwTlsIndex].load(std::memory_order_relaxed) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    s.slotGen[dwTlsIndex].store(0, std::memory_order_release);
    return TRUE;
}

LPVOID TlsGetValue(DWORD dwTlsIndex)
{
    const uint64_t gen = dwTlsIndex < kTlsSlots ? Tls().slotGen[dwTlsIndex].load(std::memory_order_acquire) : 0;
    if (gen == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    if (dwTlsIndex >= t_tls.size() || t_tls[dwTlsIndex].gen != gen)
        return nullptr;
    return t_tls[dwTlsIndex].value;
}

BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue)
{
    const uint64_t gen = dwTlsIndex < kTlsSlots ? Tls().slotGen[dwTlsIndex].load(std::memory_order_acquire) : 0;
    if (gen == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwTlsIndex >= t_tls.size())
        t_tls.resize(dwTlsIndex + 1);
    t_tls[dwTlsIndex] = TlsValue{gen, lpTlsValue};
    return TRUE;
}
