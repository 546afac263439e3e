// How the window system's costs grow with the windows on the desktop. Each work is
// measured at a small and at a large count, and the large one is set beside the small one
// (per unit of work): a cost that grows with the windows that exist rather than with the
// windows the work affects shows as a ratio well above 1. The baseline of each case is the
// same work at the small count, in the same run:
//   - SetWindowPos of one child of a visible parent holding n children (moved and sized
//     by one pixel, alternately): 200 children against 10;
//   - creating n visible children of a visible parent, per child: 8,000 against 60;
//   - creating and destroying one visible top-level window while n other windows are
//     alive (children of one visible parent beside it, on the same desktop): 10,000
//     against 10.
// Goal: each ratio at most 2. The program ends with the three ratios.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "figure_reporter.h"
#include "platform/base/clock.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"

namespace {

using Clock = std::chrono::steady_clock;

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

// A fresh window system with the plain class registered, and a visible parent.
class Desk {
public:
    explicit Desk(int width = 1200, int height = 1000)
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::base::Clock::UseVirtual(10000);
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = L"ScaleBench";
        // Erased with a brush, as the children of a form are: a window left unerased would
        // owe its erase, and be erased again, after every positioning on the thread.
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, L"ScaleBench", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
            nullptr, nullptr, nullptr, nullptr);
    }
    ~Desk() { zyn::user::ResetWindowSystemForTests(); }
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    // Child i of a grid of 40 columns, 28 × 20 pixels each (overlapping beyond 1,000).
    HWND AddChild(int i) const
    {
        return CreateWindowExW(0, L"ScaleBench", L"", WS_CHILD | WS_VISIBLE, (i % 40) * 30, ((i / 40) % 45) * 22, 28,
            20, parent, nullptr, nullptr, nullptr);
    }

    HWND parent = nullptr;
};

void BM_SetWindowPosOneChild(benchmark::State& state)
{
    Desk desk;
    const int n = static_cast<int>(state.range(0));
    std::vector<HWND> kids;
    for (int i = 0; i < n; ++i)
        kids.push_back(desk.AddChild(i));
    // Painted once, as a message loop would have done: what each move exposes is then all
    // that is owed.
    RedrawWindow(desk.parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HWND moved = kids[static_cast<size_t>(n / 2)];
    RECT r;
    GetWindowRect(moved, &r);
    int step = 0;
    for (auto _ : state) {
        const int d = (++step) & 1;
        SetWindowPos(moved, nullptr, r.left + d, r.top + d, 28 + d, 20 + d, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
BENCHMARK(BM_SetWindowPosOneChild)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

// Timed by hand: each iteration creates the n children, and destroying them is left out.
void BM_CreateChildren(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Clock::duration total{};
    for (auto _ : state) {
        Desk desk;
        const auto start = Clock::now();
        for (int i = 0; i < n; ++i)
            desk.AddChild(i);
        total += Clock::now() - start;
    }
    const double perChild =
        std::chrono::duration<double>(total).count() / static_cast<double>(state.iterations()) / n;
    state.counters["per_child_us"] = perChild * 1e6;
}
BENCHMARK(BM_CreateChildren)->Arg(60)->Arg(960)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CreateDestroyTopLevel(benchmark::State& state)
{
    Desk desk(600, 500);
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i)
        desk.AddChild(i);
    for (auto _ : state) {
        const HWND top = CreateWindowExW(0, L"ScaleBench", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 100, 300, 200,
            nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(top);
    }
}
BENCHMARK(BM_CreateDestroyTopLevel)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Ends with the large count set beside the small one, per unit of work: the per-child
// counter where there is one, else the real time of one call.
class RatioReporter : public benchfig::FigureReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        Ratio("SetWindowPos of one child, 200 siblings against 10", "BM_SetWindowPosOneChild/200",
            "BM_SetWindowPosOneChild/10");
        Ratio("creating children, per child, 8000 against 60", "BM_CreateChildren/8000",
            "BM_CreateChildren/60");
        Ratio("create + destroy a top-level window, 10000 alive against 10", "BM_CreateDestroyTopLevel/10000",
            "BM_CreateDestroyTopLevel/10");
    }

protected:
    double FigureOf(const Run& run) const override
    {
        const auto perChild = run.counters.find("per_child_us");
        if (perChild != run.counters.end())
            return static_cast<double>(perChild->second);
        return run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e6;
    }

private:
    void Ratio(const char* what, const std::string& large, const std::string& small) const
    {
        const double* l = Figure(large);
        const double* s = Figure(small);
        if (!l || !s || *s <= 0)
            return;
        std::printf("%-62s %5.2f (goal: at most 2)\n", what, *l / *s);
    }
};

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    return benchfig::RunWith(reporter, argc, argv);
}
