#pragma once
// Events, mutexes, semaphores and critical sections.
//
// Events, mutexes and semaphores are kernel objects (kernel_object.h). Named ones share
// one case-sensitive name space within the process: creating an existing name returns
// a new handle to the same object with ERROR_ALREADY_EXISTS (and ignores the initial
// state or owner), and a name held by an object of another type fails with
// ERROR_INVALID_HANDLE. A "Global\" or "Local\" prefix is part of the name as written.
//
// Named mutexes are also seen by other processes of the same user, so that an
// application can check for a single instance: while any process has the mutex open it
// holds a shared lock on a lock file in the runtime folder ($XDG_RUNTIME_DIR, else a
// private 0700 folder /tmp/zyn-<uid>), and a process that creates or opens the same
// name while another process holds it gets ERROR_ALREADY_EXISTS (or a successful
// OpenMutexW). Only the name is shared: ownership (waits and ReleaseMutex) stays
// within each process. The lock files are left in place (removing a locked file would
// race), one small file per name used.
//
// CRITICAL_SECTION is a recursive lock owned by a thread; LockCount is not maintained.

#include <memory>
#include <vector>

#include "platform/base/kernel_object.h"
#include "platform/base/wintypes.h"

inline constexpr DWORD EVENT_MODIFY_STATE = 0x0002;
inline constexpr DWORD EVENT_ALL_ACCESS = 0x001F0003;
inline constexpr DWORD MUTEX_MODIFY_STATE = 0x0001;
inline constexpr DWORD MUTEX_ALL_ACCESS = 0x001F0001;
inline constexpr DWORD SEMAPHORE_MODIFY_STATE = 0x0002;
inline constexpr DWORD SEMAPHORE_ALL_ACCESS = 0x001F0003;
inline constexpr DWORD CREATE_EVENT_MANUAL_RESET = 0x1;
inline constexpr DWORD CREATE_EVENT_INITIAL_SET = 0x2;
inline constexpr DWORD CREATE_MUTEX_INITIAL_OWNER = 0x1;

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);
HANDLE CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);
HANDLE CreateEventExW(LPSECURITY_ATTRIBUTES lpEventAttributes, LPCWSTR lpName, DWORD dwFlags, DWORD dwDesiredAccess);
// Opening a name that does not exist fails with ERROR_FILE_NOT_FOUND.
HANDLE OpenEventW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
HANDLE OpenEvent(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
// Releases the threads waiting now (all for a manual-reset event, one for an
// auto-reset event) and leaves the event reset.
BOOL PulseEvent(HANDLE hEvent);

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
HANDLE CreateMutex(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
HANDLE CreateMutexExW(LPSECURITY_ATTRIBUTES lpMutexAttributes, LPCWSTR lpName, DWORD dwFlags, DWORD dwDesiredAccess);
HANDLE OpenMutexW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
HANDLE OpenMutex(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
// Fails with ERROR_NOT_OWNER unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE hMutex);

HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount, LONG lMaximumCount,
    LPCWSTR lpName);
HANDLE CreateSemaphore(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount, LONG lMaximumCount,
    LPCWSTR lpName);
HANDLE OpenSemaphoreW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
HANDLE OpenSemaphore(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
// Fails with ERROR_TOO_MANY_POSTS (count unchanged) when the maximum would be passed.
BOOL ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount);

// Signals one object (sets an event, releases a mutex or one semaphore unit), then
// waits on the other. The two steps are not one atomic step here.
DWORD SignalObjectAndWait(HANDLE hObjectToSignal, HANDLE hObjectToWaitOn, DWORD dwMilliseconds, BOOL bAlertable);

struct CRITICAL_SECTION {
    alignas(8) unsigned char Lock[48]; // the system lock behind it
    LONG LockCount;
    LONG RecursionCount;
    HANDLE OwningThread; // the owner's thread identifier, as on Windows
    ULONG_PTR SpinCount;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
using PCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount);
BOOL InitializeCriticalSectionEx(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount, DWORD Flags);
DWORD SetCriticalSectionSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// Leaving a section the calling thread does not own does nothing.
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

namespace zyn::base {

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool initialState);
    bool IsManualReset() const { return m_manualReset; }
    void Set();
    void Reset();
    void Pulse();

    bool AcquireLocked(DWORD threadId) override;

private:
    const bool m_manualReset;
};

class CrossProcessName;

class MutexObject : public KernelObject {
public:
    MutexObject();
    ~MutexObject() override;
    // False (ERROR_NOT_OWNER) when the calling thread does not own the mutex.
    bool Release();
    DWORD OwnerThreadId() const;

    bool CanAcquireLocked(DWORD threadId) const override;
    bool AcquireLocked(DWORD threadId) override;

private:
    friend struct MutexAccess;
    DWORD m_owner = 0;
    DWORD m_count = 0;
    bool m_abandoned = false;
    std::unique_ptr<CrossProcessName> m_crossProcess;
};

class SemaphoreObject : public KernelObject {
public:
    SemaphoreObject(LONG initialCount, LONG maximumCount);
    // False (ERROR_INVALID_PARAMETER or ERROR_TOO_MANY_POSTS) when it cannot release.
    bool Release(LONG count, LONG* previous);

    bool CanAcquireLocked(DWORD threadId) const override;
    bool AcquireLocked(DWORD threadId) override;

private:
    LONG m_count;
    const LONG m_maximum;
};

namespace detail {
// With KernelLock held: the mutexes that `threadId` still owns become abandoned (free,
// and their next wait returns WAIT_ABANDONED). References dropped go to `released`,
// to be destroyed after the lock is released.
void AbandonMutexesOwnedByLocked(DWORD threadId, std::vector<std::shared_ptr<KernelObject>>& released);
} // namespace detail

} // namespace zyn::base
