// Fuzz target: a main frame's saved state as the application profile holds it (the input is
// the profile's INI file, every value arbitrary: "WindowPlacement" Left/Top/Right/Bottom/
// Maximize, the "ControlBarState" dock state and the size bars' "BarSize_<id>" records).
// Restoring the placement and the bar layout on a frame with a toolbar and two size bars
// must not crash or overflow; afterwards the frame lies on a monitor, the bars' sizes are
// in range, and destroying the frame leaves no window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "frames/main_frame_state.h"
#include "fuzz/fuzz_profile.h"
#include "fuzz/fuzz_windows.h"
#include "platform/afx/bartool.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/user/driver.h"
#include "platform/user/monitor.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/size_control_bar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CWinApp* const app = new CWinApp(L"MainFrameFuzz");   // one per process, kept
    const auto path = zyn::fuzz::UseInputAsProfile(*app, L"MainFrameFuzz", data, size);
    zyn::user::ResetWindowSystemForTests();

    auto* frame = new CFrameWnd;   // deletes itself with its window
    zyn::fuzz::Check(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 900, 700)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    app->m_pMainWnd = frame;
    CToolBar toolbar;
    zyn::fuzz::Check(toolbar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar bars[2];
    const UINT ids[2] = {0x3101, 0x3102};
    const UINT sides[2] = {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_BOTTOM};
    for (int i = 0; i < 2; ++i) {
        zyn::fuzz::Check(bars[i].Create(frame, L"Bar", ids[i], WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 150, 120)));
        bars[i].EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bars[i], sides[i]);
    }
    frame->RecalcLayout();

    zyn::frames::RestoreWindowPlacement(*frame);
    zyn::frames::LoadBarState(*frame, zyn::frames::kBarStateName);

    CRect rect;
    frame->GetWindowRect(&rect);
    zyn::fuzz::Check(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr);
    // Sizes read back stay within what a record may hold, or were narrowed from it.
    for (const COXSizeControlBar& bar : bars) {
        zyn::fuzz::Check(bar.m_sizeVertDock.cx >= 0 && bar.m_sizeVertDock.cx <= 0x7FFF);
        zyn::fuzz::Check(bar.m_sizeHorzDock.cy >= 0 && bar.m_sizeHorzDock.cy <= 0x7FFF);
    }

    app->m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return 0;
}
