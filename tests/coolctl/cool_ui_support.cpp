#include "tests/coolctl/cool_ui_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/clock.h"
#include "platform/comctl/comctl_init.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"

namespace cooltest {

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CParentWnd::CreateParent(const RECT& screenRect)
{
    const LPCTSTR cls = AfxRegisterWndClass(0);
    return CreateEx(0, cls, L"parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, screenRect.left, screenRect.top,
        screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, nullptr, nullptr);
}

BOOL CParentWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notification codes of controls (menu commands and command-UI queries are not).
    if (!pExtra && !pHandlerInfo && nCode > 0 && nCode < 0x10000)
        commands[nID].push_back(static_cast<WORD>(nCode));
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CParentWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, kTeal);
    return TRUE;
}

void CoolUiTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    m_objects = zyn::gdi::LiveObjectCount();
    m_dcs = zyn::gdi::LiveDcCount();
    m_hooks = zyn::user::LiveHookCount();
    // The mouse rests on the bare desktop, away from every control.
    MouseToScreen(5, 5);
    ASSERT_TRUE(parent.CreateParent(CRect(kOriginX, kOriginY, kOriginX + 400, kOriginY + 300)));
    parent.SetActiveWindow();
    PaintAll();
}

void CoolUiTest::TearDown()
{
    if (parent.GetSafeHwnd())
        parent.DestroyWindow();
    Pump();
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks leaked";
    AfxUnlockTempMaps();
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    zyn::user::ResetWindowSystemForTests();
}

void CoolUiTest::Pump()
{
    zyn::test::PumpMessages([this](MSG& m) {
        if (m.message == WM_TIMER && m.wParam == 210)
            ++m_polls[m.hwnd];
        return false;
    });
}

void CoolUiTest::MouseTo(int clientX, int clientY) { MouseToScreen(kOriginX + clientX, kOriginY + clientY); }

void CoolUiTest::MouseToScreen(int x, int y)
{
    zyn::user::InjectMouseMove(x, y);
    Pump();
}

void CoolUiTest::Wait(UINT ms)
{
    zyn::base::Clock::Advance(ms);
    Pump();
}

void CoolUiTest::PaintAll() { zyn::user::PaintPendingWindows(); }

COLORREF CoolUiTest::Pixel(int clientX, int clientY)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, kOriginX + clientX, kOriginY + clientY);
    ::ReleaseDC(nullptr, screen);
    return c;
}

CRect CoolUiTest::ScreenRect(int left, int top, int right, int bottom)
{
    return CRect(kOriginX + left, kOriginY + top, kOriginX + right, kOriginY + bottom);
}

int CoolUiTest::PollCount(HWND hWnd) const
{
    const auto it = m_polls.find(hWnd);
    return it == m_polls.end() ? 0 : it->second;
}

} // namespace cooltest
