// The cost of a popup menu: TrackPopupMenu opening a 40-item popup, laying it out,
// creating and showing its "#32768" window, painting every item through the system
// procedure, and closing it again (the loop ends from its first idle turn). The owner-drawn
// comparison will sit beside it.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winuser.h"

namespace {

LRESULT OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

void PlainPopup(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    zyn::user::SetScriptedMode(true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = L"MenuBenchOwner";
    RegisterClassW(&wc);
    const HWND owner = CreateWindowExW(0, L"MenuBenchOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 800, nullptr,
        nullptr, nullptr, nullptr);
    const HMENU menu = CreatePopupMenu();
    for (int i = 0; i < 40; ++i) {
        const std::wstring text = L"&Item number " + std::to_wstring(i) + (i % 4 == 0 ? L"\tCtrl+" + std::to_wstring(i) : L"");
        AppendMenuW(menu, MF_STRING | (i % 7 == 0 ? MF_CHECKED : 0) | (i % 9 == 0 ? MF_GRAYED : 0),
            static_cast<UINT_PTR>(100 + i), text.c_str());
    }
    for (auto _ : state) {
        // Shown and painted before the loop first runs dry; EndMenu then closes it.
        zyn::user::QueueIdleAction([] { EndMenu(); });
        benchmark::DoNotOptimize(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, owner, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * 40);
    DestroyMenu(menu);
    DestroyWindow(owner);
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(PlainPopup)->Name("plain popup")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
