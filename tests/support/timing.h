#pragma once
// Wall-clock timing for the tests that compare the cost of work at two sizes (linear
// against quadratic growth) or hold work under a bound. A loaded machine only ever adds
// time to a run, never takes it away, so the shortest of a few runs is the one closest to
// the work's own cost: such tests compare best-of-three figures, not single runs.
#include <algorithm>
#include <chrono>

namespace zyn::test {

inline constexpr int kTimingRuns = 3;

// The shortest of `runs` calls of `work`, in seconds. `work` does the whole job each time
// (set-up it needs inside the timing included).
template <class Work>
double BestSeconds(Work&& work, int runs = kTimingRuns)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

// The smallest of `runs` answers of `measure`, a function that times its own work and
// answers seconds (for work whose set-up must stay outside the timing).
template <class Measure>
double BestOf(Measure&& measure, int runs = kTimingRuns)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        const double seconds = measure();
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

} // namespace zyn::test
