// Fuzz target: a size-dock frame's saved layout as the application profile holds it (the
// input is the profile's INI file, every value arbitrary: "Version", the dock state, the
// "BarSize_<id>" records). LoadSizeBarState on a frame with one docked and one floating
// size bar must not crash or hang; a bar's sizes afterwards are the ones it had or come
// from a well-formed record (0..0x7FFF); a refused dock state leaves no floating frame
// behind; and destroying the frame leaves no window.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_profile.h"
#include "fuzz/fuzz_size_bars.h"
#include "fuzz/fuzz_windows.h"
#include "toolkit/docking/frame_size_dock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zyn::fuzz::ProfileInput in(L"SizeBarFuzz", data, size);
    auto* frame = zyn::fuzz::NewFrame<COXFrameWndSizeDock>();
    frame->EnableDocking(CBRS_ALIGN_ANY);
    in.app.m_pMainWnd = frame;
    COXSizeControlBar bars[2];
    zyn::fuzz::MakeSizeBars(*frame, bars, {0xE81B, 0xE81B}, CSize(100, 50));
    frame->FloatControlBar(&bars[1], CPoint(300, 300));
    CSize before[2];
    for (int i = 0; i < 2; ++i)
        before[i] = bars[i].m_sizeFloat = bars[i].m_sizeHorzDock = bars[i].m_sizeVertDock = CSize(100, 50);
    const int floatingBefore = zyn::fuzz::FloatingDockBars(*frame);

    const BOOL applied = frame->LoadSizeBarState(L"Layout");
    for (int i = 0; i < 2; ++i) {
        zyn::fuzz::Check(zyn::fuzz::SaneSize(bars[i].m_sizeFloat, before[i]));
        zyn::fuzz::CheckDockedSizes(bars[i]);
    }
    if (!applied)
        zyn::fuzz::Check(zyn::fuzz::FloatingDockBars(*frame) <= floatingBefore);
    in.app.m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    return 0;
}
