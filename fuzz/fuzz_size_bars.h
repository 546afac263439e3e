#pragma once
// Size bars around a fuzz target that loads a saved layout: two bars made and docked, and
// the properties every load must keep (sizes a record may hold, no floating frame left by
// a refused state).
#include "fuzz/fuzz_env.h"
#include "platform/afx/dockbar.h"
#include "toolkit/docking/size_control_bar.h"

namespace zyn::fuzz {

// Two size bars of `size` on `frame`, docked on the sides given.
inline void MakeSizeBars(CFrameWnd& frame, COXSizeControlBar (&bars)[2], const UINT (&sides)[2], CSize size)
{
    const UINT ids[2] = {0x3101, 0x3102};
    for (int i = 0; i < 2; ++i) {
        Check(bars[i].Create(&frame, L"Bar", ids[i], WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(CPoint(0, 0), size)));
        bars[i].EnableDocking(CBRS_ALIGN_ANY);
        frame.DockControlBar(&bars[i], sides[i]);
    }
}

// A size the bar had before, or one a record may hold.
inline bool SaneSize(CSize s, CSize before)
{
    return s == before || (s.cx >= 0 && s.cy >= 0 && s.cx <= 0x7FFF && s.cy <= 0x7FFF);
}

// Docked sizes are fitted to the side by the layout, or narrowed from a record: they stay
// within what a record may hold.
inline void CheckDockedSizes(const COXSizeControlBar& bar)
{
    for (const CSize s : {bar.m_sizeHorzDock, bar.m_sizeVertDock})
        Check(s.cx >= 0 && s.cx <= 0x7FFF && s.cy >= 0 && s.cy <= 0x7FFF);
}

inline int FloatingDockBars(CFrameWnd& frame)
{
    int n = 0;
    for (POSITION pos = frame.m_listControlBars.GetHeadPosition(); pos;) {
        auto* p = static_cast<CControlBar*>(frame.m_listControlBars.GetNext(pos));
        n += p->IsDockBar() && static_cast<CDockBar*>(p)->m_bFloating;
    }
    return n;
}

} // namespace zyn::fuzz
