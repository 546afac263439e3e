#include "tests/menubar/menubar_test_support.h"

#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"

namespace zyn::test {

HMENU MakeSampleMenu()
{
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_NEW, L"&New");
    AppendMenuW(file, MF_STRING, ID_OPEN, L"&Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    const HMENU recent = CreatePopupMenu();
    AppendMenuW(recent, MF_STRING, ID_ONE, L"&One");
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
    const HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, ID_UNDO, L"&Undo");
    AppendMenuW(edit, MF_STRING, ID_CUT, L"Cu&t");
    const HMENU view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING, ID_STATUS, L"&Status");
    const HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, ID_TILE, L"&Tile");
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_STRING, ID_HELPCMD, L"&Help");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    return bar;
}

namespace {

bool IsLoopMessage(UINT msg)
{
    return msg == WM_ENTERMENULOOP || msg == WM_INITMENU || msg == WM_MENUSELECT || msg == WM_INITMENUPOPUP ||
        msg == WM_EXITMENULOOP;
}

void Record(FrameLog& log, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLoopMessage(message) || message == WM_COMMAND || message == WM_SYSCOMMAND || message == 0x8073 ||
        message == 0x8074)
        log.msgs.push_back({message, wParam, lParam,
            (message == 0x8073 || message == 0x8074) && lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""});
}

} // namespace

std::vector<UINT> FrameLog::Loop() const
{
    std::vector<UINT> out;
    for (const FrameMsg& m : msgs)
        if (IsLoopMessage(m.msg))
            out.push_back(m.msg);
    return out;
}

int FrameLog::Count(UINT msg) const
{
    int n = 0;
    for (const FrameMsg& m : msgs)
        n += m.msg == msg ? 1 : 0;
    return n;
}

int FrameLog::BarLoops(UINT msg) const
{
    int n = 0;
    for (const FrameMsg& m : msgs)
        n += m.msg == msg && m.wParam == 0 ? 1 : 0;
    return n;
}

std::vector<WPARAM> FrameLog::Commands() const
{
    std::vector<WPARAM> out;
    for (const FrameMsg& m : msgs)
        if (m.msg == WM_COMMAND)
            out.push_back(LOWORD(m.wParam));
    return out;
}

std::vector<LPARAM> FrameLog::InitPopupParams() const
{
    std::vector<LPARAM> out;
    for (const FrameMsg& m : msgs)
        if (m.msg == WM_INITMENUPOPUP)
            out.push_back(m.lParam);
    return out;
}

BOOL CTestSDIFrame::Make(HMENU hMenu, const CRect& rect)
{
    return CreateFrame(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, hMenu, 0, nullptr);
}

BOOL CTestSDIFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    Record(log, message, wParam, lParam);
    return COXMenuBarFrame<CFrameWnd>::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CTestMDIFrame::Make(HMENU hMenu, const CRect& rect)
{
    return CreateFrame(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, hMenu, 0, nullptr);
}

BOOL CTestMDIFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    Record(log, message, wParam, lParam);
    if (message == WM_ENTERIDLE && onEnterIdle) {
        const std::function<void()> once = std::move(onEnterIdle);
        onEnterIdle = nullptr;
        once();
    }
    return COXMenuBarFrame<CMDIFrameWnd>::OnWndMsg(message, wParam, lParam, pResult);
}

void MenuBarTest::SetUp()
{
    DockTest::SetUp();
    app.SetRegistryKey(L"ZynMenuBarTests");
    // Menus saved by an earlier case would load into this one's frames.
    app.WriteProfileString(L"Menu_Default~!@#$#$%^", nullptr, nullptr);
    hooksBefore = user::LiveHookCount();
}

void MenuBarTest::TearDown()
{
    if (mdi && ::IsWindow(mdi->m_hWnd) && mdi != frame)
        mdi->DestroyWindow();
    mdi = nullptr;
    child = nullptr;
    DockTest::TearDown();
    EXPECT_EQ(user::LiveHookCount(), hooksBefore) << "hooks left";
}

CTestSDIFrame& MenuBarTest::MakeSDI(DWORD dwDockStyle)
{
    auto* f = new CTestSDIFrame(dwDockStyle);
    EXPECT_TRUE(f->Make(MakeSampleMenu()));
    frame = f;
    view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
    app.m_pMainWnd = frame;
    ::SetForegroundWindow(frame->m_hWnd);
    frame->SetActiveWindow();
    ::SetFocus(view);
    frame->RecalcLayout();
    Pump();
    return *f;
}

CTestMDIFrame& MenuBarTest::MakeMDI(bool maximise, DWORD childStyle, const CRect& rect)
{
    auto* f = new CTestMDIFrame;
    EXPECT_TRUE(f->Make(MakeSampleMenu(), rect));
    frame = f;
    mdi = f;
    app.m_pMainWnd = frame;
    ::SetForegroundWindow(frame->m_hWnd);
    frame->SetActiveWindow();
    child = new CMDIChildWnd;
    EXPECT_TRUE(child->Create(nullptr, L"Doc", childStyle, CRect(0, 0, 200, 150), f));
    if (maximise)
        f->MDIMaximize(child);
    frame->RecalcLayout();
    Pump();
    f->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    f->GetMenuBar().SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    frame->RecalcLayout();
    Pump();
    ::UpdateWindow(frame->m_hWnd);
    f->GetMenuBar().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    return *f;
}

void MenuBarTest::DropFrame()
{
    app.m_pMainWnd = nullptr;
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();
    frame = nullptr;
    mdi = nullptr;
    child = nullptr;
    Pump();
}

CPoint MenuBarTest::ButtonCentre(COXMenuBar& bar, int index)
{
    CRect r;
    bar.GetItemRect(index, &r);
    bar.ClientToScreen(&r);
    return r.CenterPoint();
}

void MenuBarTest::ClickButton(COXMenuBar& bar, int index)
{
    const CPoint p = ButtonCentre(bar, index);
    user::InjectClick(p.x, p.y);
}

CPoint MenuBarTest::WindowPoint(COXMenuBar& bar, CPoint pt)
{
    CRect w;
    bar.GetWindowRect(&w);
    return CPoint(w.left + pt.x, w.top + pt.y);
}

} // namespace zyn::test
