// Fuzz target: a main frame's saved state as the application profile holds it (the input is
// the profile's INI file, every value arbitrary: "WindowPlacement" Left/Top/Right/Bottom/
// Maximize, the "ControlBarState" dock state and the size bars' "BarSize_<id>" records).
// Restoring the placement and the bar layout on a frame with a toolbar and two size bars
// must not crash or overflow; afterwards the frame lies on a monitor, the bars' sizes are
// in range, and destroying the frame leaves no window.
#include <cstddef>
#include <cstdint>

#include "frames/main_frame_state.h"
#include "fuzz/fuzz_profile.h"
#include "fuzz/fuzz_size_bars.h"
#include "fuzz/fuzz_windows.h"
#include "platform/afx/bartool.h"
#include "platform/user/monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zyn::fuzz::ProfileInput in(L"MainFrameFuzz", data, size);
    CFrameWnd* frame = zyn::fuzz::NewFrame(CRect(100, 100, 900, 700));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    in.app.m_pMainWnd = frame;
    CToolBar toolbar;
    zyn::fuzz::Check(toolbar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar bars[2];
    zyn::fuzz::MakeSizeBars(*frame, bars, {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_BOTTOM}, CSize(150, 120));
    frame->RecalcLayout();

    zyn::frames::RestoreWindowPlacement(*frame);
    zyn::frames::LoadBarState(*frame, zyn::frames::kBarStateName);

    CRect rect;
    frame->GetWindowRect(&rect);
    zyn::fuzz::Check(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr);
    for (const COXSizeControlBar& bar : bars)
        zyn::fuzz::CheckDockedSizes(bar);
    in.app.m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    return 0;
}
