// The presenter's cost of showing the screen in a real window (a private Xvfb): one
// damaged 64x64 rectangle beside a full-frame upload, in the same run. Each case draws
// (DSTINVERT, so every frame changes) and presents; the drawing alone is measured too,
// so the presenter's share is the difference. Without Xvfb or display support the
// program says why and runs nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/display/presenter.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "tests/display/xvfb_server.h"

namespace {

constexpr int kW = 1280, kH = 1024;

struct Screen {
    HDC dc = GetDC(nullptr);
    ~Screen() { ReleaseDC(nullptr, dc); }
};

void Draw64(HDC dc, int i)
{
    // Walks across the screen so the copied rows are not always the same cache lines.
    const int x = (i * 97) % (kW - 64), y = (i * 61) % (kH - 64);
    PatBlt(dc, x, y, 64, 64, DSTINVERT);
}

void BM_Draw64Only(benchmark::State& state)
{
    Screen s;
    int i = 0;
    for (auto _ : state)
        Draw64(s.dc, i++);
    zyn::display::PresentNow();
}

void BM_Present64(benchmark::State& state)
{
    Screen s;
    int i = 0;
    const auto before = zyn::display::GetPresenterStats();
    for (auto _ : state) {
        Draw64(s.dc, i++);
        zyn::display::PresentNow();
    }
    const auto after = zyn::display::GetPresenterStats();
    state.counters["px/frame"] = double(after.pixels - before.pixels) / double(after.frames - before.frames);
}

void BM_DrawFullOnly(benchmark::State& state)
{
    Screen s;
    for (auto _ : state)
        PatBlt(s.dc, 0, 0, kW, kH, DSTINVERT);
    zyn::display::PresentNow();
}

void BM_PresentFull(benchmark::State& state)
{
    Screen s;
    const auto before = zyn::display::GetPresenterStats();
    for (auto _ : state) {
        PatBlt(s.dc, 0, 0, kW, kH, DSTINVERT);
        zyn::display::PresentNow();
    }
    const auto after = zyn::display::GetPresenterStats();
    state.counters["px/frame"] = double(after.pixels - before.pixels) / double(after.frames - before.frames);
}

BENCHMARK(BM_Draw64Only);
BENCHMARK(BM_Present64);
BENCHMARK(BM_DrawFullOnly);
BENCHMARK(BM_PresentFull);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    zyn::test::XvfbServer x;
    std::string why;
    if (!x.Start(kW, kH, why)) {
        std::printf("present_bench: no X server (%s); nothing measured\n", why.c_str());
        return 0;
    }
    zyn::user::ResetWindowSystemForTests(kW, kH);
    zyn::display::PresenterOptions opt;
    opt.x = 0;
    opt.y = 0;
    if (!zyn::display::StartPresenter(opt, &why)) {
        std::printf("present_bench: no presenter (%s); nothing measured\n", why.c_str());
        return 0;
    }
    zyn::display::PresentNow();
    benchmark::RunSpecifiedBenchmarks();
    zyn::display::StopPresenter();
    benchmark::Shutdown();
    return 0;
}
