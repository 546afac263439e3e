#pragma once
// Fixture of the tab-strip tests: a fresh desktop in scripted mode on the virtual clock,
// an application object, a main frame whose four sides are size dock bars (made as the
// size-dock frames make them), size bars docked on a side, and the checks that a case
// leaves no window, window object, hook, capture, GDI object or DC behind.
//
// The dock bar's answers the tab strip relies on (how many size bars it holds, the first
// of them, the strip's height and place) come from HostStandIn, worked from the dock
// bar's array by the rules the dock bar follows, so the strip is tested on its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_tab_ctrl.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

namespace docktest {

// The tab strip's height while it holds a tab, and where the strip lies: the bottom of
// the dock bar's client area.
class HostStandIn : public COXDockTabHost {
public:
    int GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude) override;
    COXSizeControlBar* GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude) override;
    int GetTabHeight(COXSizeDockBar* pDockBar) override;
    void PositionTabCtrl(COXSizeDockBar* pDockBar) override;

    int positioned = 0;   // PositionTabCtrl calls
};

// The main window: answers the snapping query as told.
class TestFrame : public CFrameWnd {
public:
    LRESULT snapping = 1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class DockTabTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes every queued message (sent, posted, paint) without waiting.
    static void Pump();

    // The frame at (100, 100), 600 x 400, shown, active and the main window, with a size
    // dock bar on each side and a plain view.
    TestFrame* MakeFrame();
    COXSizeDockBar* Side(UINT nID) const;
    // The side's tab strip, created when the dock bar made none, answering through the
    // stand-in host.
    COXDockTabCtrl& Strip(UINT nID);
    // A size bar titled `title`, docked at the end of a new row of the side.
    COXSizeControlBar* AddBar(UINT nSide, const std::wstring& title, CSize size = CSize(150, 200));
    // Runs the frame's delayed layout (the idle pass's part of it).
    void Layout();

    // Screen point of a window's client point.
    static CPoint ScreenOf(const CWnd& wnd, CPoint client);
    // The screen's pixels, row by row.
    static std::vector<COLORREF> ScreenPixels(const RECT& r);
    // The centre of a tab, screen coordinates.
    static CPoint TabCentre(COXDockTabCtrl& strip, int nTab);
    // Mouse helpers (screen coordinates).
    static void MoveTo(CPoint pt);
    static void Press(CPoint pt);
    static void Release();

    CWinApp app{L"DockTabTest"};
    TestFrame* frame = nullptr;
    HostStandIn host;
    std::vector<std::unique_ptr<COXSizeControlBar>> bars;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

} // namespace docktest
