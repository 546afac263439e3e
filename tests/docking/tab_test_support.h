#pragma once
// Fixture of the tab-strip tests: a fresh desktop in scripted mode on the virtual clock,
// an application object, a main frame whose four sides are size dock bars (made as the
// size-dock frames make them) with size bars docked on them, and the checks that a case
// leaves no window, window object, hook, capture, GDI object or DC behind.
//
// What the strip asks of its dock bar (how many size bars it holds, the first of them,
// the strip's height and place) HostStandIn answers from the dock bar's array by the
// dock bar's rules, so the strip is tested on its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/comctl/tabctrl.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_tab_ctrl.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "tests/support/pump.h"

namespace docktest {

// The strip is 28 pixels high while it holds a tab, at the bottom of the client area.
class HostStandIn : public COXDockTabHost {
public:
    int GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude) override;
    COXSizeControlBar* GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude) override;
    int GetTabHeight(COXSizeDockBar* pDockBar) override;
    void PositionTabCtrl(COXSizeDockBar* pDockBar) override;
    int positioned = 0;
};

class DockTabTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Pump() { zyn::test::PumpMessages(); }
    // A window of a plain class (white, DefWindowProc).
    static HWND MakePlainWindow(DWORD style, const RECT& r, HWND parent = nullptr);
    // The frame at (100, 100), 600 x 400, the main window, a size dock bar on each side.
    CFrameWnd* MakeFrame();
    COXSizeDockBar* Side(UINT nID) const { return static_cast<COXSizeDockBar*>(frame->GetControlBar(nID)); }
    // The side's tab strip (made when the dock bar made none), answering through `host`.
    COXDockTabCtrl& Strip(UINT nID);
    // A size bar docked at the end of a new row of the side.
    COXSizeControlBar* AddBar(UINT nSide, const std::wstring& title, CSize size = CSize(150, 200));
    // The frame's delayed layout, as the idle pass runs it.
    void Layout();

    static CPoint ScreenOf(const CWnd& wnd, CPoint client);
    static std::vector<COLORREF> ScreenPixels(const RECT& r);
    static CPoint TabCentre(COXDockTabCtrl& strip, int nTab);
    static void MoveTo(CPoint pt);
    static void Press(CPoint pt);
    static void Release();

    CWinApp app{L"DockTabTest"};
    CFrameWnd* frame = nullptr;
    HostStandIn host;
    std::vector<std::unique_ptr<COXSizeControlBar>> bars;

private:
    size_t m_objects = 0, m_dcs = 0, m_hooks = 0;
};

} // namespace docktest
