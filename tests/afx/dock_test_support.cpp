#include "tests/afx/dock_test_support.h"

namespace zyn::test {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

CRect RectIn(const CWnd& parent, const CWnd& child)
{
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

CRect ScreenRect(const CWnd& wnd)
{
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

std::vector<COLORREF> ScreenPixels(const RECT& r)
{
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return out;
}

void DockTest::SetUp()
{
    AfxTest::SetUp();
    base::Clock::UseVirtual(100000);
    user::SetScriptedMode(true);
    CDC::GetHalftoneBrush();   // made once per process: not a leak of a case
    m_objects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();
}

void DockTest::TearDown()
{
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();   // deletes itself
    frame = nullptr;
    app.m_pMainWnd = nullptr;
    Pump();
    EXPECT_EQ(GetCapture(), nullptr) << "capture left";
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow())) << "the desktop is still locked";
    LockWindowUpdate(nullptr);
    AfxUnlockTempMaps();
    EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    AfxTest::TearDown();
}

CFrameWnd* DockTest::MakeFrame()
{
    frame = new CFrameWnd;
    if (!frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500))) {
        frame = nullptr;
        return nullptr;
    }
    view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
    app.m_pMainWnd = frame;
    frame->SetActiveWindow();
    frame->SetFocus();
    frame->RecalcLayout();
    Pump();
    return frame;
}

CRect DockTest::Client() const
{
    CRect r;
    frame->GetClientRect(&r);
    frame->ClientToScreen(&r);
    return r;
}

CDockBar* DockTest::Side(UINT nID) const
{
    CControlBar* p = frame->GetControlBar(nID);
    return p && p->IsDockBar() ? static_cast<CDockBar*>(p) : nullptr;
}

void DockTest::Drag(CPoint from, std::initializer_list<CPoint> path, bool release)
{
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(MouseButton::Left, true);
    for (const CPoint& p : path)
        InjectMouseMove(p.x, p.y);
    if (release)
        InjectMouseButton(MouseButton::Left, false);
    Pump();
}

} // namespace zyn::test
