#pragma once
// The one clock of the process. GetTickCount, Sleep, kernel-object waits, timers and
// window time-outs all read it.
//
// Real mode (the default) is the monotonic system clock, counted in milliseconds since
// boot, as GetTickCount counts on Windows.
//
// Virtual mode is for tests: time stands still until it is told to move, by
// Clock::Advance or by one of two things that would otherwise make a test wait:
//   - Sleep(n) advances the clock by n at once and returns without waiting;
//   - a timed wait whose condition is not met advances the clock to its deadline at
//     once and reports a time-out (if another thread already moved the clock past the
//     deadline, it times out without moving it further).
// So code that sleeps or polls cannot hang a test, and a test sees exactly the time it
// asked for. A wait in virtual mode does not wait for other threads: a test that needs
// another thread to signal something waits INFINITE (or sets a grace period with
// SetVirtualWaitGrace, during which a virtual wait waits in real time for the
// condition before it gives up and advances the clock).
//
// Switch modes before starting threads that wait: a timed wait that is in progress when
// the mode changes times out at its next wake-up (without moving the clock), since its
// deadline belongs to the other clock.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/base/wintypes.h"

namespace zyn::base {

class Clock {
public:
    // A deadline that never comes (an INFINITE wait).
    static constexpr uint64_t kNever = UINT64_MAX;

    // Milliseconds on the process clock (real: since boot; virtual: as set).
    static uint64_t NowMs();
    // The process clock in 100-nanosecond ticks (QueryPerformanceCounter's unit).
    static uint64_t NowTicks100ns();

    // Switches to virtual time starting at `startMs` (also resets the grace period).
    static void UseVirtual(uint64_t startMs);
    static void UseReal();
    static bool IsVirtual();

    // Moves virtual time forward by `ms` and tells the listeners. False (nothing moves)
    // in real mode.
    static bool Advance(uint64_t ms);
    // Moves virtual time forward to `deadlineMs` if it is not there yet. False in real
    // mode or when the clock is already at or past the deadline.
    static bool AdvanceTo(uint64_t deadlineMs);

    // How long (real milliseconds) a virtual-mode wait waits for its condition before
    // it advances the clock and times out. 0 (the default): it times out at once.
    static void SetVirtualWaitGrace(uint32_t realMs);

    // The deadline `timeoutMs` from now; INFINITE gives kNever.
    static uint64_t DeadlineAfter(DWORD timeoutMs);

    // Sleeps `ms` on the process clock (see the header comment for virtual mode).
    // INFINITE sleeps for ever in either mode.
    static void SleepMs(DWORD ms);

    // Listeners are told (from the thread that moved it) whenever virtual time moves
    // and whenever the mode changes, with the new time. They run outside the clock's
    // lock and must not block for long; the window system uses one to wake its queues
    // so that due timers fire. RemoveListener returns only after any call of that
    // listener in progress on another thread has finished (a listener may remove
    // itself), so do not remove a listener while holding a lock that it takes.
    using Listener = std::function<void(uint64_t nowMs)>;
    using ListenerId = uint64_t;
    static ListenerId AddListener(Listener listener);
    static void RemoveListener(ListenerId id);

    // Waits on `cv` (with `lock` held, as std::condition_variable waits) until `pred()`
    // holds or the clock reaches `deadlineMs` (kNever: no deadline). Returns the last
    // value of `pred()`: false means the wait timed out. In virtual mode a time-out
    // advances the clock to the deadline; `lock` is released while the listeners run,
    // so a listener may take it. `pred` is called with `lock` held, and may have
    // effects (a wait that takes ownership when it succeeds).
    template <class Pred>
    static bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
        Pred pred);

    // One step of a timed wait, for waits written by hand (WaitUntil is built on it):
    // take a WaitStart when the wait begins; each step says either that the wait is
    // over (`timedOut`; `advance`: the caller must call AdvanceTo(deadline) after
    // releasing its locks) or that the caller waits on its condition variable until
    // `until` (real time) and then asks again.
    struct WaitStart {
        std::chrono::steady_clock::time_point real;
        uint64_t epoch = 0; // changes with every mode switch
    };
    struct WaitStep {
        bool timedOut = false;
        bool advance = false;
        std::chrono::steady_clock::time_point until{};
    };
    static WaitStart BeginWait();
    static WaitStep NextWaitStep(uint64_t deadlineMs, const WaitStart& start);
};

template <class Pred>
bool Clock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t deadlineMs,
    Pred pred)
{
    const WaitStart started = BeginWait();
    for (;;) {
        if (pred())
            return true;
        if (deadlineMs == kNever) {
            cv.wait(lock);
            continue;
        }
        const WaitStep step = NextWaitStep(deadlineMs, started);
        if (step.timedOut) {
            if (step.advance) {
                lock.unlock();
                AdvanceTo(deadlineMs);
                lock.lock();
            }
            return pred();
        }
        cv.wait_until(lock, step.until);
    }
}

} // namespace zyn::base

// ---- the Windows-style API -------------------------------------------------------
DWORD GetTickCount();      // wraps after 49.7 days, as on Windows
ULONGLONG GetTickCount64();
DWORD timeGetTime();
void Sleep(DWORD dwMilliseconds);
// No asynchronous procedure calls exist here, so an alertable sleep is a plain sleep
// and returns 0.
DWORD SleepEx(DWORD dwMilliseconds, BOOL bAlertable);
// The counter runs at 10 MHz (100-nanosecond ticks) in both modes.
BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);
