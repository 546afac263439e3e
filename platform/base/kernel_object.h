#pragma once
// Waitable kernel objects and the one handle table of kind Kernel.
//
// Every kernel handle (thread, process, event, mutex, semaphore, and the objects of
// other units such as files or change notifications) names a KernelObject in one
// process-wide table. Several handles may name one object (DuplicateHandle, opening a
// named object again); the object lives while a handle, a waiter or its own running
// work (a thread, a child process) holds it.
//
// One process-wide lock (KernelLock) guards every object's signal state. A wait
// registers itself with the objects it waits on; whoever signals an object completes
// the waits that can now be satisfied, in the order they started, so an auto-reset
// event or a semaphore unit goes to the longest waiter and a wait for all objects
// takes them all at once or none.
//
// Deriving: a unit whose object is simply signalled or not (a process, a change
// notification) calls SetSignaled. An object that gives something to the waiter that
// wins it (an auto-reset event, a mutex, a semaphore) overrides CanAcquireLocked and
// AcquireLocked. Destructors of derived objects must not take KernelLock: the last
// reference may be dropped while it is held.
//
// Waiting together with a thread's message queue: the window system keeps an
// auto-reset event object per queue (CreateEventObject), signals it from any thread
// when a message arrives, and passes it with the caller's objects to WaitForObjects.
// That is all MsgWaitForMultipleObjects needs.

#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_ABANDONED = 0x80;
inline constexpr DWORD WAIT_ABANDONED_0 = 0x80;
inline constexpr DWORD WAIT_IO_COMPLETION = 0xC0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

inline constexpr DWORD DUPLICATE_CLOSE_SOURCE = 0x1;
inline constexpr DWORD DUPLICATE_SAME_ACCESS = 0x2;

inline constexpr DWORD SYNCHRONIZE = 0x00100000;
inline constexpr DWORD STANDARD_RIGHTS_REQUIRED = 0x000F0000;

// Closes any kernel handle. Pseudo handles (GetCurrentThread, GetCurrentProcess)
// close successfully and do nothing; a null, stale or foreign value fails with
// ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE hObject);
// The pseudo handle (HANDLE)-1 (the same value as INVALID_HANDLE_VALUE): the current
// process wherever a process handle is taken.
HANDLE GetCurrentProcess();
DWORD GetCurrentProcessId();

// Within this process only: both process handles must name the current process.
// A pseudo handle as source gives a real handle to the current thread or process.
BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
    HANDLE* lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
DWORD WaitForSingleObjectEx(HANDLE hHandle, DWORD dwMilliseconds, BOOL bAlertable);
// 1..MAXIMUM_WAIT_OBJECTS handles; with bWaitAll one object may not appear twice.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
DWORD WaitForMultipleObjectsEx(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds,
    BOOL bAlertable);

namespace zyn::base {

enum class KernelObjectType {
    Event,
    Mutex,
    Semaphore,
    Thread,
    Process,
    File,
    ChangeNotification,
    Other,
};

namespace detail {
struct Waiter;
}

class KernelObject : public std::enable_shared_from_this<KernelObject> {
public:
    // `initiallySignaled` sets the plain state without taking the lock (nobody can be
    // waiting yet), so objects may be built while KernelLock is held.
    explicit KernelObject(KernelObjectType type, bool initiallySignaled = false)
        : m_type(type), m_signaled(initiallySignaled)
    {
    }
    virtual ~KernelObject();
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    KernelObjectType Type() const { return m_type; }
    // The object's name when it was created named (events, mutexes, semaphores).
    const std::wstring& Name() const { return m_name; }

    // Sets the plain signal state and completes the waits that it satisfies.
    void SetSignaled(bool signaled);
    bool IsSignaled() const;

    // An open file descriptor behind the object (files, pipes), or -1. CreateProcess
    // gives it to a child as a standard handle.
    virtual int NativeFd() const { return -1; }

    // Called with KernelLock held. Whether a wait by `threadId` could be satisfied by
    // this object now (default: the plain signal state).
    virtual bool CanAcquireLocked(DWORD threadId) const;
    // Called with KernelLock held when a wait by `threadId` is satisfied: takes what
    // the wait takes (resets an auto-reset event, owns a mutex...). Returns true when
    // the object was a mutex abandoned by its previous owner.
    virtual bool AcquireLocked(DWORD threadId);

protected:
    // With KernelLock held: sets the plain state and completes waits it satisfies.
    void SetSignaledLocked(bool signaled);
    bool IsSignaledLocked() const { return m_signaled; }
    // With KernelLock held: completes, oldest first, the waits on this object that can
    // be satisfied now (call after a change that may let a wait through).
    void WakeWaitersLocked();

private:
    friend struct detail::Waiter;
    friend void RegisterNamedObjectLocked(const std::wstring& name, const std::shared_ptr<KernelObject>& obj);

    const KernelObjectType m_type;
    bool m_signaled;
    std::vector<detail::Waiter*> m_waiters;
    std::wstring m_name;
};

// The lock over every kernel object's state.
std::unique_lock<std::mutex> KernelLock();

// Enters an object in the handle table. Null with ERROR_NO_SYSTEM_RESOURCES when the
// table is full, ERROR_INVALID_PARAMETER for a null object.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> obj);

// The object of a kernel handle (pseudo handles give the current thread or process).
// Null, with ERROR_INVALID_HANDLE, for a null, stale or foreign value.
std::shared_ptr<KernelObject> GetKernelObject(HANDLE h);

// The object of a kernel handle when it is a T; null with ERROR_INVALID_HANDLE
// otherwise.
template <class T>
std::shared_ptr<T> GetKernelObjectAs(HANDLE h);

// Number of live kernel handles (for leak checks in tests).
size_t KernelHandleCount();

// Waits on objects directly, with the rules of WaitForMultipleObjects (index results
// follow the span's order). For callers that hold objects rather than handles, such
// as the window system with its queue wake-up event.
DWORD WaitForObjects(std::span<const std::shared_ptr<KernelObject>> objects, bool waitAll, DWORD timeoutMs);

// A plain event object outside the handle table (see the header comment).
std::shared_ptr<KernelObject> CreateEventObject(bool manualReset, bool initialState);

// Named objects share one name space (events, mutexes, semaphores), as on Windows;
// names are case-sensitive. With KernelLock held:
std::shared_ptr<KernelObject> FindNamedObjectLocked(const std::wstring& name);
void RegisterNamedObjectLocked(const std::wstring& name, const std::shared_ptr<KernelObject>& obj);

namespace detail {
void SetLastErrorInvalidHandle();
}

template <class T>
std::shared_ptr<T> GetKernelObjectAs(HANDLE h)
{
    auto obj = std::dynamic_pointer_cast<T>(GetKernelObject(h));
    if (!obj)
        detail::SetLastErrorInvalidHandle();
    return obj;
}

} // namespace zyn::base
