#include "tests/docking/tab_test_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/user/modal.h"
#include "toolkit/skins/skin_lookup.h"

namespace docktest {

namespace {
constexpr const wchar_t* kPlainClass = L"DockTabTestPlain";
}

int HostStandIn::GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    int n = 0;
    for (int i = 0; i < pDockBar->GetBarCount(); ++i) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        n += pBar && pBar != pExclude && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar));
    }
    return n;
}

COXSizeControlBar* HostStandIn::GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    for (int i = 0; i < pDockBar->GetBarCount(); ++i) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        if (pBar && pBar != pExclude && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)))
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

void DockTabTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    CDC::GetHalftoneBrush();   // made once per process
    OXSetSkinSource(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = kPlainClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_NE(RegisterClassW(&wc), 0);
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

HWND DockTabTest::MakePlainWindow(DWORD style, const RECT& r, HWND parent)
{
    return ::CreateWindowExW(0, kPlainClass, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        nullptr, nullptr, nullptr);
}

CFrameWnd* DockTabTest::MakeFrame()
{
    frame = new CFrameWnd;
    if (!frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)))
        return frame = nullptr;   // deleted with its failed window
    app.m_pMainWnd = frame;
    for (const AFX_DOCKBAR_SIDE& side : afxDockBarSides) {
        auto* dock = new COXSizeDockBar;
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID))
            return nullptr;
        ::SetWindowPos(dock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ::SetWindowLongPtrW(MakePlainWindow(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame->m_hWnd), GWLP_ID,
        AFX_IDW_PANE_FIRST);
    frame->SetActiveWindow();
    Layout();
    return frame;
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
            CRect(CPoint(0, 0), size)))
        return nullptr;
    bar->m_sizeHorzDock = CSize(size.cy, size.cx);
    bar->m_sizeVertDock = bar->m_sizeFloat = size;
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
