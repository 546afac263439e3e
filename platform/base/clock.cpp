#include "platform/base/clock.h"

#include "platform/base/lasterror.h"

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace zyn::base {
namespace {

using SteadyClock = std::chrono::steady_clock;

// How often a virtual-mode wait inside its grace period looks whether another thread
// moved the clock past its deadline.
constexpr auto kVirtualPollSlice = std::chrono::milliseconds(5);

struct ClockState {
    std::atomic<bool> isVirtual{false};
    std::atomic<uint64_t> virtualNow{0};
    std::atomic<uint32_t> graceMs{0};
    std::atomic<uint64_t> epoch{0};

    std::mutex listMutex;
    std::map<Clock::ListenerId, std::shared_ptr<Clock::Listener>> listeners;
    Clock::ListenerId nextId = 1;
    // Held while listeners run, so RemoveListener can wait for a call in progress.
    std::recursive_mutex callMutex;
};

// Never destroyed: threads may read the clock while the process exits.
ClockState& State()
{
    static ClockState* s = new ClockState;
    return *s;
}

uint64_t RealNowMs()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch()).count());
}

void NotifyListeners(uint64_t now)
{
    ClockState& s = State();
    std::lock_guard call(s.callMutex);
    std::vector<std::pair<Clock::ListenerId, std::shared_ptr<Clock::Listener>>> snapshot;
    {
        std::lock_guard lock(s.listMutex);
        snapshot.assign(s.listeners.begin(), s.listeners.end());
    }
    for (auto& [id, fn] : snapshot) {
        {
            // A listener may have removed another one during this round.
            std::lock_guard lock(s.listMutex);
            if (!s.listeners.contains(id))
                continue;
        }
        (*fn)(now);
    }
}

} // namespace

uint64_t Clock::NowMs()
{
    ClockState& s = State();
    return s.isVirtual.load(std::memory_order_acquire) ? s.virtualNow.load(std::memory_order_acquire)
                                                       : RealNowMs();
}

uint64_t Clock::NowTicks100ns()
{
    ClockState& s = State();
    if (s.isVirtual.load(std::memory_order_acquire))
        return s.virtualNow.load(std::memory_order_acquire) * 10000u;
    return static_cast<uint64_t>(
               std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch()).count())
        / 100u;
}

void Clock::UseVirtual(uint64_t startMs)
{
    ClockState& s = State();
    s.virtualNow.store(startMs, std::memory_order_release);
    s.graceMs.store(0, std::memory_order_release);
    s.isVirtual.store(true, std::memory_order_release);
    s.epoch.fetch_add(1, std::memory_order_acq_rel);
    NotifyListeners(startMs);
}

void Clock::UseReal()
{
    ClockState& s = State();
    s.isVirtual.store(false, std::memory_order_release);
    s.epoch.fetch_add(1, std::memory_order_acq_rel);
    NotifyListeners(RealNowMs());
}

bool Clock::IsVirtual() { return State().isVirtual.load(std::memory_order_acquire); }

bool Clock::Advance(uint64_t ms)
{
    ClockState& s = State();
    if (!s.isVirtual.load(std::memory_order_acquire))
        return false;
    uint64_t cur = s.virtualNow.load(std::memory_order_acquire);
    uint64_t next;
    do {
        next = ms > UINT64_MAX - 1 - cur ? UINT64_MAX - 1 : cur + ms; // kNever is never reached
    } while (!s.virtualNow.compare_exchange_weak(cur, next, std::memory_order_acq_rel));
    NotifyListeners(next);
    return true;
}

bool Clock::AdvanceTo(uint64_t deadlineMs)
{
    ClockState& s = State();
    if (!s.isVirtual.load(std::memory_order_acquire) || deadlineMs == kNever)
        return false;
    uint64_t cur = s.virtualNow.load(std::memory_order_acquire);
    do {
        if (cur >= deadlineMs)
            return false;
    } while (!s.virtualNow.compare_exchange_weak(cur, deadlineMs, std::memory_order_acq_rel));
    NotifyListeners(deadlineMs);
    return true;
}

void Clock::SetVirtualWaitGrace(uint32_t realMs) { State().graceMs.store(realMs, std::memory_order_release); }

uint64_t Clock::DeadlineAfter(DWORD timeoutMs)
{
    if (timeoutMs == INFINITE)
        return kNever;
    const uint64_t now = NowMs();
    return now > kNever - 1 - timeoutMs ? kNever - 1 : now + timeoutMs;
}

void Clock::SleepMs(DWORD ms)
{
    if (ms == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    if (IsVirtual()) {
        Advance(ms);
        std::this_thread::yield();
        return;
    }
    if (ms == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Clock::ListenerId Clock::AddListener(Listener listener)
{
    ClockState& s = State();
    std::lock_guard lock(s.listMutex);
    const ListenerId id = s.nextId++;
    s.listeners.emplace(id, std::make_shared<Listener>(std::move(listener)));
    return id;
}

void Clock::RemoveListener(ListenerId id)
{
    ClockState& s = State();
    std::lock_guard call(s.callMutex);
    std::lock_guard lock(s.listMutex);
    s.listeners.erase(id);
}

Clock::WaitStart Clock::BeginWait()
{
    return WaitStart{SteadyClock::now(), State().epoch.load(std::memory_order_acquire)};
}

Clock::WaitStep Clock::NextWaitStep(uint64_t deadlineMs, const WaitStart& start)
{
    WaitStep step;
    ClockState& s = State();
    if (deadlineMs == kNever) {
        step.until = SteadyClock::time_point::max();
        return step;
    }
    if (s.epoch.load(std::memory_order_acquire) != start.epoch) {
        // The deadline was set on the other clock.
        step.timedOut = true;
        return step;
    }
    const SteadyClock::time_point waitStarted = start.real;
    if (s.isVirtual.load(std::memory_order_acquire)) {
        if (s.virtualNow.load(std::memory_order_acquire) >= deadlineMs) {
            step.timedOut = true;
            return step;
        }
        const auto grace = std::chrono::milliseconds(s.graceMs.load(std::memory_order_acquire));
        const auto realNow = SteadyClock::now();
        if (realNow - waitStarted >= grace) {
            step.timedOut = true;
            step.advance = true;
            return step;
        }
        step.until = std::min(waitStarted + grace, realNow + kVirtualPollSlice);
        return step;
    }
    const uint64_t now = RealNowMs();
    if (now >= deadlineMs) {
        step.timedOut = true;
        return step;
    }
    step.until = SteadyClock::now() + std::chrono::milliseconds(deadlineMs - now);
    return step;
}

} // namespace zyn::base

using zyn::base::Clock;

DWORD GetTickCount() { return static_cast<DWORD>(Clock::NowMs()); }
ULONGLONG GetTickCount64() { return Clock::NowMs(); }
DWORD timeGetTime() { return static_cast<DWORD>(Clock::NowMs()); }
void Sleep(DWORD dwMilliseconds) { Clock::SleepMs(dwMilliseconds); }

DWORD SleepEx(DWORD dwMilliseconds, BOOL)
{
    Clock::SleepMs(dwMilliseconds);
    return 0;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount)
{
    if (!lpPerformanceCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpPerformanceCount->QuadPart = static_cast<LONGLONG>(Clock::NowTicks100ns());
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency)
{
    if (!lpFrequency) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpFrequency->QuadPart = 10'000'000;
    return TRUE;
}
