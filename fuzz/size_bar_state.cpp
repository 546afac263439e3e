// Fuzz target: a size-dock frame's saved layout as the application profile holds it (the
// input is the profile's INI file, every value arbitrary: "Version", the dock state, the
// "BarSize_<id>" records). LoadSizeBarState on a frame with one docked and one floating
// size bar must not crash or hang; a bar's sizes afterwards are the ones it had or come
// from a well-formed record (0..0x7FFF); a refused dock state leaves no floating frame
// behind; and destroying the frame leaves no window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/fuzz_profile.h"
#include "fuzz/fuzz_windows.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/winapp.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/frame_size_dock.h"
#include "toolkit/docking/size_control_bar.h"

namespace {

bool SaneSize(CSize s, CSize before)
{
    return s == before || (s.cx >= 0 && s.cy >= 0 && s.cx <= 0x7FFF && s.cy <= 0x7FFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CWinApp* const app = new CWinApp(L"SizeBarFuzz");   // one per process, kept
    const auto path = zyn::fuzz::UseInputAsProfile(*app, L"SizeBarFuzz", data, size);
    zyn::user::ResetWindowSystemForTests();

    auto* frame = new COXFrameWndSizeDock;   // deletes itself with its window
    zyn::fuzz::Check(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    app->m_pMainWnd = frame;
    COXSizeControlBar bars[2];
    const UINT ids[2] = {0x3101, 0x3102};
    for (int i = 0; i < 2; ++i) {
        zyn::fuzz::Check(bars[i].Create(frame, L"Bar", ids[i], WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 50)));
        bars[i].EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bars[i], 0xE81B);
    }
    frame->FloatControlBar(&bars[1], CPoint(300, 300));
    CSize before[2][3];
    for (int i = 0; i < 2; ++i) {
        bars[i].m_sizeFloat = bars[i].m_sizeHorzDock = bars[i].m_sizeVertDock = CSize(100, 50);
        before[i][0] = bars[i].m_sizeFloat, before[i][1] = bars[i].m_sizeHorzDock, before[i][2] = bars[i].m_sizeVertDock;
    }
    int floatingBefore = 0;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* p = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        floatingBefore += p->IsDockBar() && static_cast<CDockBar*>(p)->m_bFloating;
    }

    const BOOL applied = frame->LoadSizeBarState(L"Layout");

    for (int i = 0; i < 2; ++i) {
        zyn::fuzz::Check(SaneSize(bars[i].m_sizeFloat, before[i][0]));
        // Docked sizes are fitted to the side by the layout; they stay within the screen.
        zyn::fuzz::Check(bars[i].m_sizeHorzDock.cx >= 0 && bars[i].m_sizeHorzDock.cx <= 0x7FFF);
        zyn::fuzz::Check(bars[i].m_sizeVertDock.cy >= 0 && bars[i].m_sizeVertDock.cy <= 0x7FFF);
    }
    if (!applied) {
        int floatingAfter = 0;
        for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
            auto* p = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
            floatingAfter += p->IsDockBar() && static_cast<CDockBar*>(p)->m_bFloating;
        }
        zyn::fuzz::Check(floatingAfter <= floatingBefore);
    }
    app->m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return 0;
}
