#pragma once
// Threads as kernel objects, thread-local storage slots and the thread identity of the
// Windows-style API, on POSIX threads.
//
// Every thread that uses the API has a thread object, also threads that this API did
// not start (the main thread, std::thread): GetCurrentThreadId gives it an identifier
// on first use, and DuplicateHandle(GetCurrentThread()) gives a real handle to it.
// Identifiers are never reused within the process. The object is signalled when the
// thread ends, and mutexes the thread still owns become abandoned.
//
// Threads from CreateThread are detached: nobody needs to join them. The running thread
// keeps its object alive, so closing every handle at once is fine.
//
// Limits of POSIX threads, reported rather than pretended:
// - SuspendThread works only on a thread created with CREATE_SUSPENDED that has not
//   started yet (the counts behave as on Windows); a running thread cannot be stopped
//   from outside, so SuspendThread on it returns (DWORD)-1 with ERROR_NOT_SUPPORTED.
// - TerminateThread cannot end a thread safely (it would leave its locks held and its
//   memory behind) and always fails with ERROR_NOT_SUPPORTED. Callers ask the thread to
//   stop (an event, a flag) and wait for its handle instead.
// - Priorities are stored and reported but do not change scheduling.
// - The stack is at least the system default size; a larger nStackSize is honoured.

#include <functional>
#include <memory>

#include "platform/base/kernel_object.h"
#include "platform/base/wintypes.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID lpThreadParameter);
using PTHREAD_START_ROUTINE = LPTHREAD_START_ROUTINE;

inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD CREATE_SUSPENDED = 0x00000004;
inline constexpr DWORD STACK_SIZE_PARAM_IS_A_RESERVATION = 0x00010000;

inline constexpr int THREAD_PRIORITY_IDLE = -15;
inline constexpr int THREAD_PRIORITY_LOWEST = -2;
inline constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
inline constexpr int THREAD_PRIORITY_NORMAL = 0;
inline constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
inline constexpr int THREAD_PRIORITY_HIGHEST = 2;
inline constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
inline constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

inline constexpr DWORD TLS_OUT_OF_INDEXES = 0xFFFFFFFFu;
inline constexpr DWORD TLS_MINIMUM_AVAILABLE = 64;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);
// Ends the calling thread with the exit code (unwinding its stack, so destructors run).
[[noreturn]] void ExitThread(DWORD dwExitCode);
// Always FALSE with ERROR_NOT_SUPPORTED (see the header comment).
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);
DWORD ResumeThread(HANDLE hThread);
DWORD SuspendThread(HANDLE hThread);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD GetThreadId(HANDLE Thread);
DWORD GetCurrentThreadId();
// The pseudo handle (HANDLE)-2: the calling thread wherever a thread handle is taken.
HANDLE GetCurrentThread();
BOOL SetThreadPriority(HANDLE hThread, int nPriority);
int GetThreadPriority(HANDLE hThread);
BOOL SwitchToThread();

// Thread-local storage slots. TlsFree clears the slot's value in every thread, so a
// slot allocated again reads null everywhere. TlsGetValue sets the last error to
// ERROR_SUCCESS when it succeeds, so a stored null can be told from a failure.
DWORD TlsAlloc();
BOOL TlsFree(DWORD dwTlsIndex);
LPVOID TlsGetValue(DWORD dwTlsIndex);
BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue);

namespace zyn::base {

class ThreadObject;

// The calling thread's object (created on first use).
std::shared_ptr<ThreadObject> CurrentThreadObject();

// CreateThread for a function object: the function (and what it captures) is destroyed
// on the new thread when it returns, or with the thread object if the thread never
// starts. Null with the last error set on failure.
HANDLE CreateThreadFunction(std::function<DWORD()> fn, DWORD dwCreationFlags, SIZE_T dwStackSize,
    LPDWORD lpThreadId);

class ThreadObject : public KernelObject {
public:
    // `started`: the thread runs already (a thread this API did not start).
    ThreadObject(DWORD id, std::function<DWORD()> fn, SIZE_T stackSize, bool started = false);
    ~ThreadObject() override;

    // A thread object that stands for a thread outside this API's control (the main
    // thread of a child process): running until EndExternal.
    static std::shared_ptr<ThreadObject> MakeExternal(DWORD id);
    void EndExternal(DWORD exitCode);

    DWORD Id() const { return m_id; }
    // STILL_ACTIVE while the thread runs (or has not started).
    DWORD ExitCode() const;
    bool HasEnded() const;

private:
    friend struct ThreadAccess;
    const DWORD m_id;
    // Guarded by KernelLock:
    DWORD m_exitCode = STILL_ACTIVE;
    DWORD m_pendingExitCode = 0;
    bool m_ended = false;
    bool m_started = false;
    DWORD m_suspendCount = 0;
    int m_priority = THREAD_PRIORITY_NORMAL;
    // What the thread runs; empty once it has started, and for threads this API did
    // not start.
    std::function<DWORD()> m_fn;
    SIZE_T m_stackSize = 0;
};

} // namespace zyn::base
