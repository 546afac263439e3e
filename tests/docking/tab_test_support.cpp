#include "tests/docking/tab_test_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/skin_lookup.h"

namespace docktest {

namespace {
bool IsSizeBar(const CControlBar* pBar) { return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)); }
} // namespace

// ---- the stand-in for the dock bar ----------------------------------------------------------------------------

int HostStandIn::GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    int n = 0;
    for (int i = 0; i < pDockBar->GetBarCount(); ++i) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        if (pBar != pExclude && IsSizeBar(pBar))
            ++n;
    }
    return n;
}

COXSizeControlBar* HostStandIn::GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    for (int i = 0; i < pDockBar->GetBarCount(); ++i) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        if (pBar != pExclude && IsSizeBar(pBar))
            return static_cast<COXSizeControlBar*>(pBar);
    }
    return nullptr;
}

int HostStandIn::GetTabHeight(COXSizeDockBar* pDockBar)
{
    const COXDockTabCtrl& strip = pDockBar->m_wndDockTabCtrl;
    return strip.m_hWnd && strip.GetItemCount() > 0 ? COXSizeDockBar::kTabHeight : 0;
}

void HostStandIn::PositionTabCtrl(COXSizeDockBar* pDockBar)
{
    ++positioned;
    CRect client;
    pDockBar->GetClientRect(&client);
    const int height = GetTabHeight(pDockBar);
    pDockBar->m_wndDockTabCtrl.SetWindowPos(&CWnd::wndTop, 0, client.bottom - height, client.Width(), height,
        SWP_NOACTIVATE | (height ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

// ---- the frame ---------------------------------------------------------------------------------------------------

LRESULT TestFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_OX_QUERYSNAPPING)
        return snapping;
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

// ---- the fixture --------------------------------------------------------------------------------------------------

void DockTabTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    CDC::GetHalftoneBrush();   // made once per process
    OXSetSkinSource(nullptr);
    m_objects = zyn::gdi::LiveObjectCount();
    m_dcs = zyn::gdi::LiveDcCount();
    m_hooks = zyn::user::LiveHookCount();
}

void DockTabTest::TearDown()
{
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();   // deletes itself and its dock bars
    frame = nullptr;
    app.m_pMainWnd = nullptr;
    bars.clear();
    OXSetSkinSource(nullptr);
    Pump();
    EXPECT_EQ(::GetCapture(), nullptr) << "capture left set";
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks leaked";
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    AfxUnlockTempMaps();
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    zyn::user::ResetWindowSystemForTests();
}

void DockTabTest::Pump()
{
    MSG m;
    for (int guard = 0; guard < 100000 && ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT)
            break;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

TestFrame* DockTabTest::MakeFrame()
{
    frame = new TestFrame;
    if (!frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500))) {
        frame = nullptr;   // deleted with its failed window
        return nullptr;
    }
    app.m_pMainWnd = frame;
    // The size-dock frames' sides: a size dock bar for each, laid out after the frame's
    // other bars in the order top, bottom, left, right.
    for (const AFX_DOCKBAR_SIDE& side : afxDockBarSides) {
        auto* dock = new COXSizeDockBar;
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID))
            return nullptr;
        ::SetWindowPos(dock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame->m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr, nullptr);
    frame->SetActiveWindow();
    frame->RecalcLayout();
    Pump();
    return frame;
}

COXSizeDockBar* DockTabTest::Side(UINT nID) const
{
    return static_cast<COXSizeDockBar*>(frame->GetControlBar(nID));
}

COXDockTabCtrl& DockTabTest::Strip(UINT nID)
{
    COXSizeDockBar* dock = Side(nID);
    COXDockTabCtrl& strip = dock->m_wndDockTabCtrl;
    if (!strip.m_hWnd) {
        EXPECT_TRUE(strip.Create(WS_CHILD | WS_CLIPSIBLINGS | TCS_BOTTOM | TCS_FOCUSNEVER, CRect(0, 0, 0, 0), dock,
            COXSizeDockBar::kTabCtrlID));
    }
    strip.SetHost(&host);
    return strip;
}

COXSizeControlBar* DockTabTest::AddBar(UINT nSide, const std::wstring& title, CSize size)
{
    auto bar = std::make_unique<COXSizeControlBar>();
    if (!bar->Create(frame, title.c_str(), static_cast<UINT>(0x100 + bars.size()), WS_CHILD | WS_VISIBLE | CBRS_TOP,
            CRect(0, 0, size.cx, size.cy)))
        return nullptr;
    bar->m_sizeHorzDock = CSize(size.cy, size.cx);
    bar->m_sizeVertDock = size;
    bar->m_sizeFloat = size;
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar.get(), Side(nSide));
    bars.push_back(std::move(bar));
    return bars.back().get();
}

void DockTabTest::Layout()
{
    frame->RecalcLayout();
    Pump();
}

CPoint DockTabTest::ScreenOf(const CWnd& wnd, CPoint client)
{
    wnd.ClientToScreen(&client);
    return client;
}

std::vector<COLORREF> DockTabTest::ScreenPixels(const RECT& r)
{
    std::vector<COLORREF> out;
    HDC screen = ::GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            out.push_back(::GetPixel(screen, x, y));
    }
    ::ReleaseDC(nullptr, screen);
    return out;
}

CPoint DockTabTest::TabCentre(COXDockTabCtrl& strip, int nTab)
{
    CRect r;
    strip.GetItemRect(nTab, &r);
    return ScreenOf(strip, r.CenterPoint());
}

void DockTabTest::MoveTo(CPoint pt)
{
    zyn::user::InjectMouseMove(pt.x, pt.y);
    Pump();
}

void DockTabTest::Press(CPoint pt)
{
    MoveTo(pt);
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, true);
    Pump();
}

void DockTabTest::Release()
{
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
    Pump();
}

} // namespace docktest
