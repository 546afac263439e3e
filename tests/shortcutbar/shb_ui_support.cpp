#include "tests/shortcutbar/shb_ui_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/ole/afxole.h"
#include "platform/base/clock.h"
#include "platform/com/unknown.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

namespace shbtest {

LRESULT CTraceWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = 0;
    if (answer && answer(message, wParam, lParam, r))
        return r;
    return CWnd::WindowProc(message, wParam, lParam);
}

std::vector<std::string>& Trace()
{
    static std::vector<std::string> lines;
    return lines;
}

void ShbUiTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    Trace().clear();
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    m_gdi = zyn::gdi::LiveObjectCount();
    m_lists = zyn::gdi::LiveImageListCount();
    m_com = zyn::com::LiveObjectCount();
    m_hooks = zyn::user::LiveHookCount();
    parent.name = "parent";
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
        nullptr));
    SetForegroundWindow(parent.m_hWnd);
    SetFocus(parent.m_hWnd);
    Pump();
}

void ShbUiTest::TearDown()
{
    parent.answer = nullptr;
    if (parent.m_hWnd)
        parent.DestroyWindow();
    Pump();
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows left";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks left";
    EXPECT_EQ(GetCapture(), nullptr) << "capture left set";
    EXPECT_EQ(zyn::com::LiveObjectCount(), m_com) << "COM objects left";
    AfxUnlockTempMaps();
    EXPECT_EQ(zyn::gdi::LiveImageListCount(), m_lists) << "image lists left";
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_gdi) << "GDI objects left";
    zyn::user::ResetWindowSystemForTests();
    OleUninitialize();
    Trace().clear();
}

} // namespace shbtest
