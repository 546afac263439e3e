#include "tests/docking/size_dock_test_support.h"

#include "platform/base/exception.h"
#include "platform/user/driver.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"

namespace zyn::test {

BEGIN_MESSAGE_MAP(CSizeDockFrame, CFrameWnd)
    ON_MESSAGE(WM_OX_QUERYSNAPPING, &CSizeDockFrame::OnQuerySnapping)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestSizeBar, COXSizeControlBar)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

namespace standin {
IMPLEMENT_DYNAMIC(COXMenuBar, COXCoolToolBar)

bool Active()
{
    return CRuntimeClass::FromName("COXMenuBar") == RUNTIME_CLASS(COXMenuBar);
}
} // namespace standin

void CSizeDockFrame::EnableSizeDocking(DWORD dwDockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
    struct Side {
        UINT nID;
        DWORD dwStyle;
    };
    static constexpr Side kSides[] = {{kTop, 0x2800}, {kBottom, 0x8200}, {kLeft, 0x1400}, {kRight, 0x4100}};
    for (const Side& side : kSides) {
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID))
            continue;
        auto* pDock = new COXSizeDockBar;
        pDock->m_bAutoDelete = TRUE;   // deleted with its window
        if (!pDock->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID))
            AfxThrowResourceException();
        // Laid out after the frame's other bars, in the table's order.
        ::SetWindowPos(pDock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void SizeDockBarTest::TearDown()
{
    DestroyFrame();
    m_bars.clear();
    DockTest::TearDown();
}

CSizeDockFrame* SizeDockBarTest::MakeSizeFrame(CSize client, DWORD sides)
{
    CRect window(0, 0, client.cx, client.cy);
    AdjustWindowRectEx(&window, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window.OffsetRect(100 - window.left, 100 - window.top);
    auto* pFrame = new CSizeDockFrame;
    if (!pFrame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, window))
        return nullptr;
    frame = sizeFrame = pFrame;
    view = MakePlain(WS_CHILD | WS_VISIBLE, pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
    pFrame->EnableSizeDocking(sides);
    app.m_pMainWnd = pFrame;
    pFrame->SetActiveWindow();
    pFrame->SetFocus();
    pFrame->RecalcLayout();
    Pump();
    return pFrame;
}

void SizeDockBarTest::DestroyFrame()
{
    app.m_pMainWnd = nullptr;
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();
    frame = sizeFrame = nullptr;
    Pump();
}

COXSizeDockBar* SizeDockBarTest::Dock(UINT nID) const
{
    return sizeFrame ? DYNAMIC_DOWNCAST(COXSizeDockBar, sizeFrame->GetControlBar(nID)) : nullptr;
}

void SizeDockBarTest::InitSizeBar(COXSizeControlBar* bar, CSize size, LPCTSTR title, UINT nID)
{
    ASSERT_NE(sizeFrame, nullptr);
    ASSERT_TRUE(bar->Create(sizeFrame, title, nID ? nID : m_nextID++, WS_CHILD | WS_VISIBLE | CBRS_TOP,
        CRect(0, 0, size.cx, size.cy)));
    bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar->m_sizeFloat = bar->m_sizeHorzDock = bar->m_sizeVertDock = size;
    bar->EnableDocking(CBRS_ALIGN_ANY);
}

void SizeDockBarTest::InitPlainBar(CTestBar* bar, CSize size, UINT nID)
{
    ASSERT_NE(sizeFrame, nullptr);
    ASSERT_TRUE(bar->Make(sizeFrame, nID ? nID : m_nextID++, CBRS_TOP));
    bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar->EnableDocking(CBRS_ALIGN_ANY);
}

void SizeDockBarTest::InitCoolBar(CFixedCoolBar* bar, CSize size, UINT nID)
{
    ASSERT_NE(sizeFrame, nullptr);
    ASSERT_TRUE(bar->Create(sizeFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, nID ? nID : m_nextID++));
    bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar->EnableDocking(CBRS_ALIGN_ANY);
}

void SizeDockBarTest::Arrange(COXSizeDockBar* dock, std::initializer_list<std::initializer_list<CControlBar*>> rows)
{
    ASSERT_NE(dock, nullptr);
    for (const auto& row : rows)
        for (CControlBar* bar : row)
            dock->DockControlBar(bar);
    // The rows as given.
    dock->m_arrBars.RemoveAll();
    dock->m_arrBars.Add(nullptr);
    for (const auto& row : rows) {
        for (CControlBar* bar : row)
            dock->m_arrBars.Add(bar);
        dock->m_arrBars.Add(nullptr);
    }
    Layout();
}

void SizeDockBarTest::Layout()
{
    sizeFrame->RecalcLayout();
    Pump();
}

CRect SizeDockBarTest::InDock(const CControlBar* bar)
{
    CRect r;
    bar->GetWindowRect(&r);
    if (bar->m_pDockBar)
        bar->m_pDockBar->ScreenToClient(&r);
    return r;
}

std::vector<std::vector<CControlBar*>> SizeDockBarTest::Rows(const CDockBar* dock)
{
    std::vector<std::vector<CControlBar*>> rows;
    std::vector<CControlBar*> row;
    for (int i = 1; i < dock->m_arrBars.GetSize(); ++i) {
        if (!dock->m_arrBars[i]) {
            if (!row.empty())
                rows.push_back(row);
            row.clear();
        } else if (CControlBar* bar = dock->GetDockedControlBar(i)) {
            row.push_back(bar);
        }
    }
    if (!row.empty())
        rows.push_back(row);
    return rows;
}

void SizeDockBarTest::DragBy(CWnd* wnd, CPoint clientPoint, int dx, int dy)
{
    CPoint from = clientPoint;
    wnd->ClientToScreen(&from);
    // Several steps, so the tracking sees a real drag.
    Drag(from, {CPoint(from.x + dx / 3, from.y + dy / 3), CPoint(from.x + dx, from.y + dy),
                   CPoint(from.x + dx, from.y + dy)});
}

} // namespace zyn::test
