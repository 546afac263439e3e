#include "tests/ole/ole_test_support.h"

#include "platform/afx/afxstate.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/user/modal.h"

namespace zyn::test {

LRESULT CRecWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    seen.push_back(message);
    LRESULT r = 0;
    if (answer && answer(message, wParam, lParam, r))
        return r;
    return CWnd::WindowProc(message, wParam, lParam);
}

std::vector<std::string>& Trace::Lines()
{
    static std::vector<std::string> lines;
    return lines;
}

void OleTest::SetUp()
{
    user::ResetWindowSystemForTests();
    base::Clock::UseVirtual(100000);
    user::SetScriptedMode(true);
    Trace::Clear();
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    m_com = com::LiveObjectCount();
    m_gdi = gdi::LiveObjectCount();
    m_hooks = user::LiveHookCount();
}

void OleTest::TearDown()
{
    DestroyWindows();
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows left";
    EXPECT_EQ(user::LiveHookCount(), m_hooks) << "hooks left";
    EXPECT_EQ(ole::RegisteredDropTargetCount(), 0u) << "drop targets left registered";
    EXPECT_EQ(com::LiveObjectCount(), m_com) << "COM objects left";
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    AfxUnlockTempMaps();
    user::ResetWindowSystemForTests();
    EXPECT_EQ(gdi::LiveObjectCount(), m_gdi) << "GDI objects left";
    OleUninitialize();
    Trace::Clear();
}

void OleTest::MakeWindows()
{
    const wchar_t* cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(m_frame.CreateEx(0, cls, L"frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
    ASSERT_TRUE(m_source.CreateEx(0, cls, L"source", WS_CHILD | WS_VISIBLE, 20, 20, 200, 200, m_frame.m_hWnd, nullptr));
    ASSERT_TRUE(m_target.CreateEx(0, cls, L"target", WS_CHILD | WS_VISIBLE, 400, 20, 300, 300, m_frame.m_hWnd, nullptr));
    ASSERT_TRUE(m_inner.CreateEx(0, cls, L"inner", WS_CHILD | WS_VISIBLE, 50, 50, 100, 100, m_target.m_hWnd, nullptr));
    SetForegroundWindow(m_frame.m_hWnd);
    SetFocus(m_frame.m_hWnd);
    Pump();
}

void OleTest::DestroyWindows()
{
    if (m_frame.m_hWnd)
        m_frame.DestroyWindow();
}

void OleTest::PressAt(int x, int y, user::MouseButton button)
{
    user::InjectMouseMove(x, y);
    user::InjectMouseButton(button, true);
    Pump();
}

void OleTest::Move(int x, int y) { user::QueueIdleAction([x, y] { user::InjectMouseMove(x, y); }); }
void OleTest::Key(int vk, bool down) { user::QueueIdleAction([vk, down] { user::InjectKey(vk, down); }); }
void OleTest::Button(user::MouseButton b, bool down)
{
    user::QueueIdleAction([b, down] { user::InjectMouseButton(b, down); });
}
void OleTest::Wait(uint32_t ms) { user::QueueIdleAction([ms] { base::Clock::Advance(ms); }); }
void OleTest::Do(std::function<void()> f) { user::QueueIdleAction(std::move(f)); }

} // namespace zyn::test
