#include "platform/base/kernel_object.h"

#include <algorithm>
#include <condition_variable>
#include <unordered_map>

#include "platform/base/clock.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/process.h"
#include "platform/base/threads.h"

namespace zyn::base {

namespace detail {

inline constexpr DWORD kPending = 0xFFFFFFFEu;

// One wait in progress, on the waiting thread's stack. Registered with each of its
// objects while it blocks; a signaller that can satisfy it completes it (takes the
// objects for it and stores the result) and wakes it.
struct Waiter {
    std::condition_variable cv;
    DWORD threadId = 0;
    bool waitAll = false;
    std::span<const std::shared_ptr<KernelObject>> objects;
    DWORD result = kPending;

    // With KernelLock held.
    bool TryCompleteLocked()
    {
        if (result != kPending)
            return false;
        if (!waitAll) {
            for (size_t i = 0; i < objects.size(); ++i) {
                if (objects[i]->CanAcquireLocked(threadId)) {
                    const bool abandoned = objects[i]->AcquireLocked(threadId);
                    result = static_cast<DWORD>((abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i);
                    return true;
                }
            }
            return false;
        }
        for (const auto& o : objects)
            if (!o->CanAcquireLocked(threadId))
                return false;
        DWORD r = WAIT_OBJECT_0;
        for (size_t i = 0; i < objects.size(); ++i)
            if (objects[i]->AcquireLocked(threadId) && r == WAIT_OBJECT_0)
                r = static_cast<DWORD>(WAIT_ABANDONED_0 + i);
        result = r;
        return true;
    }

    void RegisterLocked()
    {
        for (const auto& o : objects)
            o->m_waiters.push_back(this);
    }

    void UnregisterLocked()
    {
        for (const auto& o : objects) {
            auto& v = o->m_waiters;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
        }
    }

    static std::vector<Waiter*> WaitersOf(const KernelObject& o) { return o.m_waiters; }
};

void SetLastErrorInvalidHandle() { SetLastError(ERROR_INVALID_HANDLE); }

} // namespace detail

namespace {

struct KernelState {
    std::mutex lock;
    HandleTable<KernelObject> handles{HandleKind::Kernel};
    std::unordered_map<std::wstring, std::weak_ptr<KernelObject>> names;
    size_t namesAtLastSweep = 0;
};

// Never destroyed: detached threads may still use kernel objects while the process
// exits.
KernelState& State()
{
    static KernelState* s = new KernelState;
    return *s;
}

const HANDLE kCurrentProcessPseudo = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
const HANDLE kCurrentThreadPseudo = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

} // namespace

KernelObject::~KernelObject() = default;

std::unique_lock<std::mutex> KernelLock() { return std::unique_lock(State().lock); }

void KernelObject::SetSignaled(bool signaled)
{
    auto lock = KernelLock();
    SetSignaledLocked(signaled);
}

bool KernelObject::IsSignaled() const
{
    auto lock = KernelLock();
    return m_signaled;
}

bool KernelObject::CanAcquireLocked(DWORD) const { return m_signaled; }

bool KernelObject::AcquireLocked(DWORD) { return false; }

void KernelObject::SetSignaledLocked(bool signaled)
{
    m_signaled = signaled;
    if (signaled)
        WakeWaitersLocked();
}

void KernelObject::WakeWaitersLocked()
{
    if (m_waiters.empty())
        return;
    // Completing a wait changes no waiter list, but a copy keeps the walk simple.
    for (detail::Waiter* w : detail::Waiter::WaitersOf(*this)) {
        if (w->TryCompleteLocked())
            w->cv.notify_one();
    }
}

HANDLE AddKernelObject(std::shared_ptr<KernelObject> obj)
{
    if (!obj) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const uint32_t v = State().handles.Add(std::move(obj));
    if (v == 0) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    return MakeHandle<HANDLE>(v);
}

std::shared_ptr<KernelObject> GetKernelObject(HANDLE h)
{
    if (h == kCurrentThreadPseudo)
        return CurrentThreadObject();
    if (h == kCurrentProcessPseudo)
        return CurrentProcessObject();
    auto obj = State().handles.Get(h);
    if (!obj)
        SetLastError(ERROR_INVALID_HANDLE);
    return obj;
}

size_t KernelHandleCount() { return State().handles.Count(); }

std::shared_ptr<KernelObject> FindNamedObjectLocked(const std::wstring& name)
{
    KernelState& s = State();
    auto it = s.names.find(name);
    if (it == s.names.end())
        return nullptr;
    auto obj = it->second.lock();
    if (!obj)
        s.names.erase(it);
    return obj;
}

void RegisterNamedObjectLocked(const std::wstring& name, const std::shared_ptr<KernelObject>& obj)
{
    KernelState& s = State();
    obj->m_name = name;
    s.names[name] = obj;
    // Objects do not unregister their names (their destructors may run under the
    // lock), so expired entries are swept whenever the map has doubled.
    if (s.names.size() > 2 * s.namesAtLastSweep + 16) {
        std::erase_if(s.names, [](const auto& e) { return e.second.expired(); });
        s.namesAtLastSweep = s.names.size();
    }
}

DWORD WaitForObjects(std::span<const std::shared_ptr<KernelObject>> objects, bool waitAll, DWORD timeoutMs)
{
    if (objects.empty() || objects.size() > MAXIMUM_WAIT_OBJECTS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
        if (!objects[i]) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        if (waitAll)
            for (size_t j = 0; j < i; ++j)
                if (objects[j] == objects[i]) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return WAIT_FAILED;
                }
    }

    detail::Waiter w;
    w.threadId = GetCurrentThreadId();
    w.waitAll = waitAll;
    w.objects = objects;
    const uint64_t deadline = Clock::DeadlineAfter(timeoutMs);

    auto lock = KernelLock();
    if (w.TryCompleteLocked())
        return w.result;
    if (timeoutMs == 0)
        return WAIT_TIMEOUT;
    w.RegisterLocked();
    Clock::WaitUntil(lock, w.cv, deadline, [&] { return w.result != detail::kPending; });
    w.UnregisterLocked();
    return w.result == detail::kPending ? WAIT_TIMEOUT : w.result;
}

} // namespace zyn::base

using namespace zyn::base;

BOOL CloseHandle(HANDLE hObject)
{
    if (hObject == kCurrentProcessPseudo || hObject == kCurrentThreadPseudo)
        return TRUE;
    std::shared_ptr<KernelObject> doomed = State().handles.Remove(hObject);
    if (!doomed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

namespace {
bool IsCurrentProcessHandle(HANDLE h)
{
    if (h == kCurrentProcessPseudo)
        return true;
    auto obj = State().handles.Get(h);
    return obj && obj == CurrentProcessObject();
}
} // namespace

BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
    HANDLE* lpTargetHandle, DWORD, BOOL, DWORD dwOptions)
{
    if (!IsCurrentProcessHandle(hSourceProcessHandle) || !IsCurrentProcessHandle(hTargetProcessHandle)) {
        // Handles cannot cross into another process here.
        SetLastError(State().handles.Get(hSourceProcessHandle) || hSourceProcessHandle == kCurrentProcessPseudo
                ? ERROR_NOT_SUPPORTED
                : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::shared_ptr<KernelObject> obj = GetKernelObject(hSourceHandle);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    BOOL ok = TRUE;
    if (lpTargetHandle) {
        HANDLE h = AddKernelObject(obj);
        *lpTargetHandle = h;
        ok = h != nullptr;
    }
    if (dwOptions & DUPLICATE_CLOSE_SOURCE) {
        const DWORD err = GetLastError();
        CloseHandle(hSourceHandle);
        SetLastError(err);
    }
    return ok;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForSingleObjectEx(HANDLE hHandle, DWORD dwMilliseconds, BOOL)
{
    return WaitForSingleObject(hHandle, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<KernelObject>> objects;
    objects.reserve(nCount);
    for (DWORD i = 0; i < nCount; ++i) {
        auto obj = GetKernelObject(lpHandles[i]);
        if (!obj) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(obj));
    }
    return WaitForObjects(objects, bWaitAll != FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjectsEx(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds, BOOL)
{
    return WaitForMultipleObjects(nCount, lpHandles, bWaitAll, dwMilliseconds);
}
