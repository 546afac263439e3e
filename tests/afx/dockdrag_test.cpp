// Dragging bars with scripted input on the virtual clock: docking on each side, floating,
// Ctrl forcing a float, cancelling by Escape and the right button (the outline erased and
// the screen as it was), toggling by double click, and floating frames moved by their
// caption, resized by their border and hidden by their close command.
//
// The press is always at the bar's centre, so the outlines stand in known places around
// the cursor: the horizontal 100 x 30 outline from -50 to +50 and -15 to +15, the vertical
// 30 x 100 one (shifted to hold the press) from -29 to +1 across and -15 to +85 down for a
// horizontal bar, and the other way round for a vertical one. An empty side is one pixel
// thick at its edge of the client area.
#include "platform/user/modal.h"
#include "tests/afx/dock_test_support.h"
#include "tests/support/golden.h"

namespace zyn::test {
namespace {

using user::InjectKey;
using user::InjectKeyPress;
using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT ID_BAR = 0xE850;

class DragTest : public DockTest {
protected:
    void SetUp() override
    {
        DockTest::SetUp();
        ASSERT_TRUE(MakeFrame());
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(bar.Make(frame, ID_BAR, CBRS_TOP, L"Tools"));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar);
        frame->RecalcLayout();
        Pump();
    }
    UINT Side() const
    {
        return bar.m_pDockBar && !bar.IsFloating() ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0;
    }
    CPoint Grip() const { return ScreenRect(bar).CenterPoint(); }
    CMiniDockFrameWnd* Floating() const
    {
        return bar.IsFloating() ? static_cast<CMiniDockFrameWnd*>(bar.GetParentFrame()) : nullptr;
    }
    // The window rectangle of a floating frame whose client area is `client`.
    static CRect FrameAround(CRect client, DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU)
    {
        AdjustWindowRectEx(&client, dwStyle, FALSE, WS_EX_TOOLWINDOW);
        return client;
    }
    // A point of a window answering `hit` to WM_NCHITTEST, searched along a line.
    static CPoint FindHit(const CWnd& wnd, LRESULT hit, CPoint from, CSize step)
    {
        CPoint p = from;
        for (int i = 0; i < 40; ++i, p += step)
            if (wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == hit)
                return p;
        std::string seen;
        p = from;
        for (int i = 0; i < 40; ++i, p += step)
            seen += std::to_string(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y))) + " ";
        ADD_FAILURE() << "no point answers hit " << hit << ": " << seen << " style " << std::hex << wnd.GetStyle();
        return from;
    }

    CTestBar bar{CSize(100, 30)};
};

TEST_F(DragTest, DropsDockOnEachSideAndFloatMidClient)
{
    const CRect c = Client();
    struct Row {
        const char* name;
        CPoint target;
        UINT side;
        DWORD align;
    };
    // Each drag starts where the previous one left the bar.
    const Row rows[] = {
        // Horizontal outline off both horizontal sides; the vertical one reaches x = 0.
        {"to the left edge", CPoint(c.left, c.top + c.Height() / 2), AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
        // Vertical now: its own outline spans -15..+15 around the right side at x = W.
        {"to the right edge", CPoint(c.right - 1, c.top + c.Height() / 2), AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
        // No vertical side near; the horizontal outline (-29..+1 down) meets y = H.
        {"to the bottom edge", CPoint(c.left + c.Width() / 2, c.bottom), AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
        {"to the top edge", CPoint(c.left + c.Width() / 2, c.top), AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    };
    for (const Row& row : rows) {
        const CPoint from = Grip();
        Drag(from, {CPoint(from.x + 3, from.y + 3), row.target});
        EXPECT_EQ(Side(), row.side) << row.name;
        EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, row.align) << row.name;
        EXPECT_EQ(bar.GetParent()->m_hWnd, bar.m_pDockBar->m_hWnd) << row.name;
        EXPECT_EQ(GetCapture(), nullptr) << row.name;
    }
    CDockBar* top = frame->GetControlBar(AFX_IDW_DOCKBAR_TOP) ? static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)) : nullptr;
    ASSERT_NE(top, nullptr);
    const CRect docked = RectIn(*top, bar);

    // Into the middle: nothing to dock to, so the bar floats. The frame's client area is
    // the bar less its hidden 2-pixel borders (96 x 26), starting at the bar's visible
    // corner, then moved with the cursor.
    const CRect before = ScreenRect(bar);
    const CPoint from = Grip();
    const CPoint to(c.left + c.Width() / 2, c.top + c.Height() / 2);
    Drag(from, {to});
    ASSERT_NE(Floating(), nullptr);
    const CRect expected = FrameAround(CRect(CPoint(before.left + 2, before.top + 2), CSize(96, 26)));
    const CPoint expectTL(expected.left + to.x - from.x, expected.top + to.y - from.y);
    EXPECT_EQ(ScreenRect(*Floating()).TopLeft(), expectTL);
    CRect client;
    Floating()->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(96, 26));
    CString caption;
    Floating()->GetWindowText(caption);
    EXPECT_STREQ(caption.GetString(), L"Tools") << "the caption shows the bar's text";
    EXPECT_EQ(bar.m_pDockContext->m_ptMRUFloatPos, expectTL);
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(top->FindBar(reinterpret_cast<CControlBar*>(static_cast<UINT_PTR>(ID_BAR))), 1)
        << "the top side keeps the bar's place";

    // Toggling docks it back where it was.
    const HWND hFloat = Floating()->m_hWnd;
    bar.m_pDockContext->ToggleDocking();
    Pump();
    EXPECT_EQ(Side(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(RectIn(*top, bar), docked);
    EXPECT_FALSE(IsWindow(hFloat)) << "the emptied floating frame is gone";

    // A double click on the docked bar floats it at its last floating place.
    const CPoint grip = Grip();
    InjectMouseMove(grip.x, grip.y);
    for (int i = 0; i < 2; ++i) {
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseButton(MouseButton::Left, false);
    }
    Pump();
    ASSERT_NE(Floating(), nullptr) << "the double click toggled";
    EXPECT_EQ(ScreenRect(*Floating()).TopLeft(), expectTL);
}

TEST_F(DragTest, ClickWithoutMovingChangesNothing)
{
    const CRect before = ScreenRect(bar);
    const CPoint grip = Grip();
    Drag(grip, {});
    EXPECT_EQ(Side(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(ScreenRect(bar), before);
}

TEST_F(DragTest, CtrlForcesAFloatWhereTheBarWouldDock)
{
    const CRect c = Client();
    const CPoint from = Grip();
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(from.x + 5, from.y + 5);
    InjectKey(VK_CONTROL, true);
    InjectMouseMove(c.left, c.top + c.Height() / 2);   // docks left without Ctrl
    InjectMouseButton(MouseButton::Left, false);
    InjectKey(VK_CONTROL, false);
    Pump();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(Side(), 0u);
}

TEST_F(DragTest, EscapeAndRightButtonCancelAndRestoreTheScreen)
{
    struct Row {
        const char* name;
        void (*cancel)();
    };
    const Row rows[] = {
        {"escape", [] { InjectKeyPress(VK_ESCAPE); }},
        {"right button", [] { InjectMouseButton(MouseButton::Right, true); }},
    };
    for (const Row& row : rows) {
        base::Clock::Advance(1000);   // two presses in a row would make a double click
        Pump();
        CRect area = ScreenRect(*frame);
        area.InflateRect(20, 20);
        const std::vector<COLORREF> before = ScreenPixels(area);
        const CRect barBefore = ScreenRect(bar);
        const CRect c = Client();
        const CPoint from = Grip();
        std::vector<COLORREF> during;
        InjectMouseMove(from.x, from.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(c.left + c.Width() / 2, c.top + c.Height() / 2);
        user::QueueIdleAction([&] {
            during = ScreenPixels(area);
            row.cancel();
        });
        Pump();
        InjectMouseButton(MouseButton::Left, false);
        if (row.cancel != rows[0].cancel)
            InjectMouseButton(MouseButton::Right, false);
        Pump();
        EXPECT_NE(during, before) << row.name << ": the outline was drawn";
        EXPECT_EQ(Side(), AFX_IDW_DOCKBAR_TOP) << row.name;
        EXPECT_EQ(ScreenRect(bar), barBefore) << row.name;
        EXPECT_EQ(GetCapture(), nullptr) << row.name;
        EXPECT_TRUE(ScreenPixels(area) == before) << row.name << ": the screen is as it was";
    }
}

TEST_F(DragTest, FloatingFrameCaptionDragMovesAndDocks)
{
    frame->FloatControlBar(&bar, CPoint(760, 560));
    Pump();
    CMiniDockFrameWnd* mini = Floating();
    ASSERT_NE(mini, nullptr);
    const CRect r = ScreenRect(*mini);
    EXPECT_EQ(r.TopLeft(), CPoint(760, 560));
    const CPoint caption = FindHit(*mini, HTCAPTION, CPoint(r.left + 20, r.top + 1), CSize(0, 1));
    Drag(caption, {CPoint(caption.x + 40, caption.y + 30)});
    ASSERT_EQ(Floating(), mini) << "moved alone: the same frame";
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), CPoint(800, 590));

    // Onto the main frame's top edge: docked, and the floating frame goes.
    const HWND hMini = mini->m_hWnd;
    const CRect c = Client();
    const CPoint caption2(caption.x + 40, caption.y + 30);
    // Pressed on the caption, above the bar: the horizontal outline is shifted to start
    // at the cursor, so 10 pixels above the client area it reaches the top side.
    Drag(caption2, {CPoint(c.left + 200, c.top - 10)});
    EXPECT_EQ(Side(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(IsWindow(hMini));
}

TEST_F(DragTest, FloatingFrameBorderResizesADynamicBar)
{
    CWrapBar wrap;
    ASSERT_TRUE(wrap.Make(frame, ID_BAR + 1, CBRS_TOP | CBRS_SIZE_DYNAMIC, L"Wrap"));
    wrap.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&wrap, CPoint(760, 500));
    Pump();
    auto* mini = static_cast<CMiniDockFrameWnd*>(wrap.GetParentFrame());
    ASSERT_TRUE(wrap.IsFloating());
    CRect client;
    mini->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(116, 16)) << "six cells in a row (120 x 20) less the hidden borders";
    const CRect r = ScreenRect(*mini);
    const CPoint border = FindHit(*mini, HTRIGHT, CPoint(r.right - 1, r.top + r.Height() / 2), CSize(-1, 0));
    // 60 pixels narrower: three columns of two rows, 60 x 40.
    Drag(border, {CPoint(border.x - 30, border.y), CPoint(border.x - 60, border.y)});
    mini->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(56, 36));
    EXPECT_EQ(wrap.m_nMRUWidth, 60) << "the new width is committed";
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), r.TopLeft()) << "the left side stays";
    EXPECT_EQ(ScreenRect(wrap).Size(), CSize(60, 40));

    // Closing hides the bar and the frame, and showing the bar brings both back.
    mini->SendMessage(WM_CLOSE);
    EXPECT_TRUE(IsWindow(mini->m_hWnd));
    EXPECT_FALSE(wrap.IsWindowVisible());
    EXPECT_FALSE(mini->IsWindowVisible());
    frame->ShowControlBar(&wrap, TRUE, FALSE);
    EXPECT_TRUE(wrap.IsWindowVisible());
    EXPECT_TRUE(mini->IsWindowVisible());
}

TEST_F(DragTest, FloatingFramesFollowTheFramesActivation)
{
    frame->SetActiveWindow();
    frame->FloatControlBar(&bar, CPoint(760, 560));
    CMiniDockFrameWnd* mini = Floating();
    ASSERT_NE(mini, nullptr);
    EXPECT_TRUE(mini->GetStyle() & MFS_SYNCACTIVE);
    // Floated while its frame is active: its caption is drawn active at once.
    EXPECT_TRUE(mini->m_bActive);
    Pump();
    const CRect caption = ScreenRect(*mini);
    const CPoint inCaption(caption.left + 4, caption.top + 5);
    // The caption's text left out (glyphs are compared elsewhere).
    EXPECT_TRUE(MatchesGoldenScreen("afx", "floated_bar_active", caption, {CRect(4, 3, 50, 17)}));
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetPixel(screen, inCaption.x, inCaption.y), ::GetSysColor(COLOR_ACTIVECAPTION));
    ::ReleaseDC(nullptr, screen);
    frame->NotifyFloatingWindows(FS_DEACTIVATE);
    EXPECT_FALSE(mini->m_bActive);
    frame->NotifyFloatingWindows(FS_ACTIVATE);
    EXPECT_TRUE(mini->m_bActive);
    EXPECT_TRUE(mini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
    // A mini frame's system box and moving border answer as caption.
    const CRect r = ScreenRect(*mini);
    EXPECT_EQ(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top + r.Height() / 2)), HTCAPTION)
        << "the thin border of a fixed bar's frame moves it";
}

} // namespace
} // namespace zyn::test
