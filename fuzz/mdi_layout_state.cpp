// Fuzz target: the saved layout of a tabbed MDI size-dock frame as the application profile
// holds it (the input is the profile's INI file, every value arbitrary): the size bars'
// section ("Version", the dock state, "BarSize_<id>" records, flag 1 floating a bar as an
// MDI child) and the tab client's section ("IsAttached", "Offset", "Style"). Both loaders
// run on one frame with a docked and a floating size bar, a document window and the tab
// workspace attached. Neither may crash or hang; sizes stay in range or unchanged; a
// refused dock state leaves no extra floating frame; the tab client keeps a workspace that
// is a child window with a 16-bit margin and a tab for the document window, or is detached
// because the profile asked for it; and destroying the frame leaves no window behind.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_profile.h"
#include "fuzz/fuzz_size_bars.h"
#include "fuzz/fuzz_windows.h"
#include "platform/afx/afxres.h"
#include "toolkit/docking/mdi_size_dock.h"
#include "toolkit/docking/tab_client.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zyn::fuzz::ProfileInput in(L"MdiLayoutFuzz", data, size);
    auto* frame = zyn::fuzz::NewFrame<COXMDIFrameWndSizeDock>(CRect(0, 0, 800, 600));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    in.app.m_pMainWnd = frame;
    auto* child = new CMDIChildWnd;   // deletes itself with its window
    zyn::fuzz::Check(child->Create(nullptr, L"Doors", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200), frame));
    COXSizeControlBar bars[2];
    zyn::fuzz::MakeSizeBars(*frame, bars, {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_TOP}, CSize(100, 50));
    frame->FloatControlBar(&bars[1], CPoint(300, 300));
    CSize before[2];
    for (int i = 0; i < 2; ++i)
        before[i] = bars[i].m_sizeFloat = bars[i].m_sizeHorzDock = bars[i].m_sizeVertDock = CSize(100, 50);
    COXTabClientWnd client;
    zyn::fuzz::Check(client.Attach(frame, TCS_MULTILINE | TCS_HOTTRACK));
    zyn::fuzz::Pump();
    const int floatingBefore = zyn::fuzz::FloatingDockBars(*frame);

    const BOOL applied = frame->LoadSizeBarState(L"Layout");
    zyn::fuzz::Pump();
    for (int i = 0; i < 2; ++i) {
        zyn::fuzz::Check(zyn::fuzz::SaneSize(bars[i].m_sizeFloat, before[i]));
        zyn::fuzz::CheckDockedSizes(bars[i]);
    }
    if (!applied)
        zyn::fuzz::Check(zyn::fuzz::FloatingDockBars(*frame) <= floatingBefore);

    const BOOL wantAttached = in.app.GetProfileInt(L"Tabs", L"IsAttached", 1) != 0;
    const BOOL loaded = client.LoadState(L"Tabs");
    zyn::fuzz::Pump();
    zyn::fuzz::Check(loaded);   // attached before, so any profile is either applied or stood in for
    zyn::fuzz::Check(client.IsAttached() == wantAttached);
    zyn::fuzz::Check(::IsWindow(frame->m_hWndMDIClient));
    if (client.IsAttached()) {
        COXTabWorkspace* tabs = client.GetTabCtrl();
        zyn::fuzz::Check(tabs && ::IsWindow(tabs->m_hWnd));
        zyn::fuzz::Check(!(tabs->GetStyle() & WS_POPUP) && (tabs->GetStyle() & WS_CHILD));
        zyn::fuzz::Check(tabs->GetOffset() <= 0xFFFF);
        zyn::fuzz::Check(tabs->FindTabItem(child) >= 0);
        // A layout with whatever margin and style came in leaves the MDI client a sane rect.
        frame->RecalcLayout();
        CRect mdi;
        ::GetWindowRect(frame->m_hWndMDIClient, &mdi);
        zyn::fuzz::Check(mdi.right >= mdi.left && mdi.bottom >= mdi.top);
    }

    client.Detach();
    in.app.m_pMainWnd = nullptr;
    zyn::fuzz::EndWindows(frame);
    return 0;
}
