#include "tests/docking/docking_test_support.h"

#include "platform/afx/afxres.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/skin_lookup.h"

namespace zyn::test {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

// ---- the frame ------------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSizeDockTestFrame, CFrameWnd)
    ON_MESSAGE(WM_OX_QUERYSNAPPING, &CSizeDockTestFrame::OnQuerySnapping)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CSizeDockTestFrame::OnSetMessageString)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CSizeDockTestFrame::EnableSizeDocking(DWORD dwDockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
    struct SideStyle {
        UINT nID;
        DWORD dwStyle;
    };
    const SideStyle sides[] = {{AFX_IDW_DOCKBAR_TOP, 0x2800}, {AFX_IDW_DOCKBAR_BOTTOM, 0x8200},
        {AFX_IDW_DOCKBAR_LEFT, 0x1400}, {AFX_IDW_DOCKBAR_RIGHT, 0x4100}};
    for (const SideStyle& side : sides) {
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID))
            continue;
        auto* pDock = new COXSizeDockBar;
        pDock->m_bAutoDelete = TRUE;   // its window owns it from here
        if (!pDock->Create(this, side.dwStyle | 0x56000000, side.nID))
            AfxThrowResourceException();
        ::SetWindowPos(pDock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

CDockBar* CSizeDockTestFrame::Side(UINT nID) const
{
    CControlBar* p = GetControlBar(nID);
    return p && p->IsDockBar() ? static_cast<CDockBar*>(p) : nullptr;
}

LRESULT CSizeDockTestFrame::OnQuerySnapping(WPARAM, LPARAM) { return snapping; }

LRESULT CSizeDockTestFrame::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    prompts.push_back(wParam);
    return CFrameWnd::OnSetMessageString(wParam, lParam);
}

void CSizeDockTestFrame::OnDestroy()
{
    COXSizeControlBar::TidyUp(this);
    CFrameWnd::OnDestroy();
}

// ---- the bar and the skin ---------------------------------------------------------------------------------------

BOOL CCountingSizeBar::Make(CWnd* pParent, UINT nID, const CRect& rect, LPCTSTR text)
{
    if (!Create(pParent, text, nID, WS_CHILD | WS_VISIBLE | CBRS_TOP, rect))
        return FALSE;
    EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
}

void CTestDockbarSkin::RecalcLayout(COXSizeControlBar* bar)
{
    bar->m_bNcLayoutPending = FALSE;
    bar->m_rectGripper.SetRectEmpty();
    bar->m_rectCloseBtn.SetRectEmpty();
    bar->m_rectResizeBtn.SetRectEmpty();
    if (!bar->m_hWnd || (bar->GetBarStyle() & CBRS_FLOATING) || !bar->IsGripper())
        return;
    CRect client;
    bar->GetClientRect(&client);
    if (bar->GetBarStyle() & CBRS_ORIENT_HORZ) {
        // A strip along the left, buttons from its top.
        bar->m_rectGripper = CRect(0, 0, kBand, client.bottom);
        bar->m_rectCloseBtn = CRect(2, 2, 2 + kButton, 2 + kButton);
        bar->m_rectResizeBtn = CRect(2, 2 + kButton + 2, 2 + kButton, 2 + 2 * kButton + 2);
    } else {
        // A strip along the top, buttons from its right end.
        bar->m_rectGripper = CRect(0, 0, client.right, kBand);
        bar->m_rectCloseBtn = CRect(client.right - 2 - kButton, 2, client.right - 2, 2 + kButton);
        bar->m_rectResizeBtn =
            CRect(client.right - 4 - 2 * kButton, 2, client.right - 4 - kButton, 2 + kButton);
    }
}

namespace {
COXSkin* g_skin = nullptr;
COXSkin* CurrentSkin() { return g_skin; }
} // namespace

ScopedSkin::ScopedSkin(std::unique_ptr<COXSkin> skin) : m_skin(std::move(skin))
{
    g_skin = m_skin.get();
    OXSetSkinSource(m_skin ? &CurrentSkin : nullptr);
}

ScopedSkin::~ScopedSkin()
{
    OXSetSkinSource(nullptr);
    g_skin = nullptr;
}

// ---- the fixture ----------------------------------------------------------------------------------------------

void SizeDockTest::TearDown()
{
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();   // deletes itself
    frame = nullptr;
    app.m_pMainWnd = nullptr;
    Pump();
    m_bars.clear();
    DockTest::TearDown();
    EXPECT_FALSE(COXSizeControlBar::m_mouseHook.IsInstalled()) << "the size bars' hook is left";
    EXPECT_FALSE(COXSizableMiniDockFrameWnd::m_mouseHook.IsInstalled()) << "the floating frames' hook is left";
    EXPECT_EQ(COXSizeControlBar::m_mouseHook.GetUserCount(), 0);
    EXPECT_EQ(COXSizableMiniDockFrameWnd::m_mouseHook.GetUserCount(), 0);
}

CSizeDockTestFrame* SizeDockTest::MakeSizeFrame()
{
    auto* pFrame = new CSizeDockTestFrame;
    if (!pFrame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)))
        return nullptr;   // deleted itself
    frame = pFrame;
    view = MakePlain(WS_CHILD | WS_VISIBLE, frame->m_hWnd, AFX_IDW_PANE_FIRST);
    app.m_pMainWnd = frame;
    frame->SetActiveWindow();
    frame->SetFocus();
    pFrame->EnableSizeDocking(CBRS_ALIGN_ANY);
    frame->RecalcLayout();
    Pump();
    return pFrame;
}

COXSizableMiniDockFrameWnd* SizeDockTest::FloatingFrame(const CControlBar& bar)
{
    if (!bar.IsFloating())
        return nullptr;
    CFrameWnd* pFrame = bar.GetParentFrame();
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd))
               ? static_cast<COXSizableMiniDockFrameWnd*>(pFrame)
               : nullptr;
}

UINT SizeDockTest::SideOf(const CControlBar& bar)
{
    return bar.m_pDockBar && !bar.IsFloating() ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0;
}

CPoint SizeDockTest::FindHit(const CWnd& wnd, LRESULT hit, CPoint from, CSize step)
{
    CPoint p = from;
    for (int i = 0; i < 40; ++i, p += step)
        if (wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == hit)
            return p;
    ADD_FAILURE() << "no point answers hit " << hit;
    return from;
}

void SizeDockTest::DragPath(CPoint from, std::initializer_list<CPoint> path, bool release)
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
